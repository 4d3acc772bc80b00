#pragma once

#include <QString>

namespace platform::chart {
class Chart2D;
class Chart3D;
} // namespace platform::chart

namespace platform::grid {
class FlexGrid;
} // namespace platform::grid

// Feeding the charts from the data grid as the result painting leaves it: header rows above
// the value cells, header columns left of them. Every data row is a series of the 2-D chart (a
// row of the 3-D chart's elevation data), every data column a point (a column).
namespace pelmora {

// The label of data column `col`: the texts of header rows 1 to FixedRows - 1 of that column
// joined with " / " (row 0 holds the dimension titles). Empty without such rows.
QString chartColumnLabel(const platform::grid::FlexGrid &grid, int col);
// The label of data row `row`: the texts of its header columns joined with " / ".
QString chartRowLabel(const platform::grid::FlexGrid &grid, int row);
// The text of a header cell used as an axis title; empty for a cell outside the grid (a
// result without axes has no header cells).
QString chartTitleCell(const platform::grid::FlexGrid &grid, int row, int col);

// Whether a fixed Y maximum still suits data up to dataMax: from dataMax to twice dataMax.
bool yMaximumFits(double maximum, double dataMax);

// The fills between the batch flag's set and clear: header, axes, legend, counts, labels,
// values and, for the 2-D chart, the Y maximum. Steps done before an error stay done.
void fill2dChart(const platform::grid::FlexGrid &grid, platform::chart::Chart2D &chart,
                 const QString &viewTitle);
void fill3dChart(const platform::grid::FlexGrid &grid, platform::chart::Chart3D &chart,
                 const QString &viewTitle);

// The charts of a result that could not be read: no data, no labels, no axis titles; the
// header and the look stay.
void empty2dChart(platform::chart::Chart2D &chart);
void empty3dChart(platform::chart::Chart3D &chart);

} // namespace pelmora
