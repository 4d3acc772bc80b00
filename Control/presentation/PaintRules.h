#pragma once

#include "Control/core/ControlState.h"
#include "Control/core/LayoutRecords.h"

#include <QStringList>

#include <optional>

// The rules of painting a result that need no window: the shape of the data grid, the
// dimension titles, which rows are subtotals and how values are coloured.
namespace pelmora {

// The four counts of the data grid, from the axes of a cell set. Axes that the cell set does
// not have are given as -1 positions.
struct GridCounts
{
    int dataCols = 1;
    int headerRows = 0;
    int dataRows = 1;
    int headerCols = 0;
};
GridCounts gridCounts(int axisCount, int positions0, int dimensions0, int positions1,
                      int dimensions1);

// The names of the dimensions on a place (Columns or Rows) in their order on it.
QStringList dimensionTitles(const LayoutState &layout, int axis);

// The dimension of a level's unique name: its first part ("[Store].[Store Country]" is
// "Store"); the text itself when it is no unique name.
QString dimensionOfLevel(const QString &levelUniqueName);

// The titles of a result's axis. `layoutNames` are the layout's dimensions on the place,
// `levels` the level unique names of the members of one of the axis's positions. When the
// layout names the axis's dimensions in order (by name, or a hierarchy "Name.Other" of the
// dimension Name; an empty level names nothing and contradicts nothing) the layout's names
// stay; otherwise, as after a statement typed by hand, the titles are the axis's own
// dimensions.
QStringList axisTitles(const QStringList &layoutNames, const QStringList &levels);

// Whether the rows of an outermost row dimension take part in the subtotal rule: every
// element of a level range (element types 0 and 3), no ranking, no order that breaks the
// hierarchy (BASC, BDESC).
bool subtotalRowsTakePart(const OrderDim &outer);

// What the subtotal rule makes of one row that takes part.
struct SubtotalRow
{
    bool subtotal = false; // its subtotal flag
    bool look = false;     // painted with the subtotal colours and fonts
};
SubtotalRow subtotalRow(int depth, int deepest, int firstDepth, bool formatSubtotal,
                        int formatSubtotalLevel);

// The colours of the three value bands (low, middle, high) and whether each applies.
struct BandColors
{
    int color[3] = {0, 0, 0};
    bool active[3] = {false, false, false};
};
BandColors backBands(const ValueFormat &format);
BandColors foreBands(const ValueFormat &format);

// The colour a value gets by its sign (negative, zero, positive), if any.
std::optional<int> signColor(double value, const BandColors &bands);
// The colour a value gets by the two thresholds, if any: low up to and with the lower one,
// high from the upper one on, the middle between. The first band whose test holds and whose
// colour applies wins.
std::optional<int> thresholdColor(double value, double lower, double upper,
                                  const BandColors &bands);

// A server colour as a grid cell colour: the grid's own colour is written as 0 (none of the
// cell's own), black (0) as 1.
int serverCellColor(int color, int gridColor);

// The bits of the server's font flags.
enum FontFlag : int { FontBold = 1, FontItalic = 2, FontUnderline = 4, FontStrikeThrough = 8 };

} // namespace pelmora
