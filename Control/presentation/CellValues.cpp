// The values of the data grid's cells, the server's cell formatting and the value colouring.
#include "Control/core/ErrorTrap.h"
#include "Control/core/PelmoraC02.h"
#include "Control/presentation/PaintRules.h"
#include "platform/grid/FlexGrid.h"
#include "platform/runtime/ShownNumber.h"

using platform::grid::CellSetting;
using platform::grid::FlexGrid;
using platform::olap::Cell;
using platform::olap::Cellset;

bool PelmoraC02::cellFormatProperties(const Cellset &cellset)
{
    // A result without cells (an axis without positions) has nothing to format.
    if (cellset.cellCount() == 0)
        return false;
    const Cell cell = cellset.item(qint64(0));
    for (const char *name : {"FORE_COLOR", "BACK_COLOR", "FONT_NAME", "FONT_SIZE", "FONT_FLAGS"}) {
        if (cellHasProperty(cell, QLatin1String(name)))
            return true;
    }
    return false;
}

bool PelmoraC02::cellHasProperty(const Cell &cell, const QString &name)
{
    return pelmora::valueOr([&] { return cell.properties().contains(name); }, false);
}

QVariant PelmoraC02::cellPropertyValue(const Cell &cell, const QString &name,
                                       const QVariant &defaultValue)
{
    return pelmora::valueOr(
        [&] {
            const QVariant value = cell.properties().item(name).value();
            if (!value.isValid() || value.isNull())
                return defaultValue;
            return value;
        },
        defaultValue);
}

QString PelmoraC02::cellFormattedText(const Cell &cell)
{
    return pelmora::valueOr([&] { return cell.formattedValue(); }, QStringLiteral("#ERR"));
}

namespace {

// One setting of a cell's server formatting: the server's value where it differs from the
// cell's, the grid's default where the grid refuses it. A setting that cannot be read or taken
// is passed over without a report, so that the cell keeps it and the paint goes on.
template <typename Value, typename Wanted, typename Current, typename Set>
void settle(Wanted &&wanted, Current &&current, Set &&set, const Value &fallback)
{
    pelmora::passOver([&] {
        const Value value = wanted();
        if (current() != value)
            pelmora::applyOr(set, value, fallback);
    });
}

} // namespace

void PelmoraC02::FormatCell(int row, int col, const Cell &cell, int defaultFore, int defaultBack,
                            const QString &defaultFontName, double defaultFontSize)
{
    FlexGrid &grid = *grdResults;
    const bool placed = pelmora::trapped(QStringLiteral("FormatCell: "), [&] {
        grid.setRow(row);
        grid.setCol(col);
        return true;
    });
    if (!placed)
        return;
    // From here on a failing step is passed over.
    const auto property = [&](const QString &name, const QVariant &fallback) {
        return cellPropertyValue(cell, name, fallback);
    };
    const auto colour = [&](const QString &name, int fallback, auto current, auto set) {
        const auto wanted = [&] {
            return pelmora::serverCellColor(property(name, fallback).toInt(), fallback);
        };
        settle(wanted, current, set, fallback);
    };
    colour(
        QStringLiteral("FORE_COLOR"), defaultFore, [&] { return grid.cellForeColor(); },
        [&](int c) { grid.setCellForeColor(c); });
    colour(
        QStringLiteral("BACK_COLOR"), defaultBack, [&] { return grid.cellBackColor(); },
        [&](int c) { grid.setCellBackColor(c); });
    settle([&] { return property(QStringLiteral("FONT_NAME"), defaultFontName).toString(); },
           [&] { return grid.cellFontName(); },
           [&](const QString &name) { grid.setCellFontName(name); }, defaultFontName);
    settle([&] { return property(QStringLiteral("FONT_SIZE"), defaultFontSize).toFloat(); },
           [&] { return grid.cellFontSize(); }, [&](double size) { grid.setCellFontSize(size); },
           defaultFontSize);
    const int flags = property(QStringLiteral("FONT_FLAGS"), 0).toInt();
    const auto flag = [&](bool current, int bit, void (FlexGrid::*set)(bool)) {
        const bool wanted = (flags & bit) != 0;
        if (current != wanted)
            pelmora::applyOr([&](bool on) { (grid.*set)(on); }, wanted, false);
    };
    pelmora::passOver([&] {
        flag(grid.cellFontBold(), pelmora::FontBold, &FlexGrid::setCellFontBold);
        flag(grid.cellFontItalic(), pelmora::FontItalic, &FlexGrid::setCellFontItalic);
        flag(grid.cellFontUnderline(), pelmora::FontUnderline, &FlexGrid::setCellFontUnderline);
        flag(grid.cellFontStrikeThrough(), pelmora::FontStrikeThrough,
             &FlexGrid::setCellFontStrikeThrough);
    });
}

void PelmoraC02::PosNegFormatPaint(int row, int col, double value)
{
    pelmora::trapped(QStringLiteral("PosNegFormatPaint: "), [&] {
        if (const auto back = pelmora::signColor(value, pelmora::backBands(valueFormat)))
            grdResults->setCell(CellSetting::BackColor, row, col, *back);
        if (const auto fore = pelmora::signColor(value, pelmora::foreBands(valueFormat)))
            grdResults->setCell(CellSetting::ForeColor, row, col, *fore);
    });
}

void PelmoraC02::SemaphoreFormatPaint(int row, int col, double value, double lower, double upper)
{
    pelmora::trapped(QStringLiteral("SemaphoreFormatPaint: "), [&] {
        if (const auto back =
                pelmora::thresholdColor(value, lower, upper, pelmora::backBands(valueFormat)))
            grdResults->setCell(CellSetting::BackColor, row, col, *back);
        if (const auto fore =
                pelmora::thresholdColor(value, lower, upper, pelmora::foreBands(valueFormat)))
            grdResults->setCell(CellSetting::ForeColor, row, col, *fore);
    });
}

void PelmoraC02::paintValueColour(int row, int col,
                                  const platform::runtime::ShownNumberReader &shown)
{
    if (valueFormat.ValueType == pelmora::pelmoraVTNormal)
        return;
    // The number the cell shows, whatever its grouping, sign or currency.
    const double value = shown(grdResults->textMatrix(row, col));
    if (valueFormat.ValueType == pelmora::pelmoraVTPositiveNegative)
        PosNegFormatPaint(row, col, value);
    else if (valueFormat.ValueType == pelmora::pelmoraVTSemaphore)
        SemaphoreFormatPaint(row, col, value, valueFormat.SemaphoreMinValue,
                             valueFormat.SemaphoreMaxValue);
}

void PelmoraC02::paintCellValues(const Cellset &cellset, int axisCount, int headerRows,
                                 int headerCols)
{
    FlexGrid &grid = *grdResults;
    const bool serverFormat = cellFormatProperties(cellset);
    // The grid's own look, the defaults of the server formatting; read once, as no cell
    // changes them.
    const int defaultFore = grid.foreColor();
    const int defaultBack = grid.backColor();
    const QString defaultFontName = grid.fontName();
    const double defaultFontSize = grid.fontSize();

    // The text, the server's formatting, setting 47 and the value's colour of one cell.
    const platform::runtime::ShownNumberReader shown;
    const auto paint = [&](int row, int col, const Cell &cell, const QString &text, bool colour) {
        grid.setTextMatrix(row, col, text);
        if (serverFormat)
            FormatCell(row, col, cell, defaultFore, defaultBack, defaultFontName, defaultFontSize);
        grid.setRow(row);
        grid.setCol(col);
        grid.setCellSetting47(6);
        if (colour)
            paintValueColour(row, col, shown);
    };

    if (axisCount == 0) {
        const Cell cell = cellset.item(qint64(0));
        paint(0, 0, cell, cellFormattedText(cell), false);
        return;
    }
    const int cols = cellset.axes().item(0).positions().count();
    if (axisCount == 1) {
        for (int c = 0; c < cols; ++c) {
            const Cell cell = cellset.item(qint64(c));
            paint(headerRows, headerCols + c, cell, cellFormattedText(cell), true);
        }
        return;
    }
    const int rows = cellset.axes().item(1).positions().count();
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            const Cell cell = cellset.item(c, r);
            paint(headerRows + r, headerCols + c, cell, cell.formattedValue(), true);
        }
    }
}
