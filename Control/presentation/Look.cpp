// The control's look pushed onto the caption label and the two grids, and its fonts onto the
// caption, the grids, the value cells and the chart titles.
#include "Control/core/ErrorTrap.h"
#include "Control/core/PelmoraC02.h"
#include "platform/chart/Chart2D.h"
#include "platform/chart/Chart3D.h"
#include "platform/chart/ChartModel.h"
#include "platform/forms/FontObject.h"
#include "platform/grid/FlexGrid.h"
#include "platform/grid/OleColor.h"

#include <QLabel>
#include <QPalette>

using platform::forms::FontObject;
using platform::grid::CellSetting;
using platform::grid::FlexGrid;

namespace {

// Bold, italic, name, size and underline of a font onto the cells from (row, col) to the
// grid's last row and column (none when the grid ends before them).
void styleValueCells(FlexGrid &grid, int row, int col, const FontObject &font)
{
    const int lastRow = grid.rows() - 1;
    const int lastCol = grid.cols() - 1;
    grid.setCell(CellSetting::FontBold, row, col, lastRow, lastCol, font.bold());
    grid.setCell(CellSetting::FontItalic, row, col, lastRow, lastCol, font.italic());
    grid.setCell(CellSetting::FontName, row, col, lastRow, lastCol, font.name());
    grid.setCell(CellSetting::FontSize, row, col, lastRow, lastCol, font.size());
    grid.setCell(CellSetting::FontUnderline, row, col, lastRow, lastCol, font.underline());
}

} // namespace

void PelmoraC02::updFormat()
{
    pelmora::trapped(QStringLiteral("updFormat: "), [&] {
        QPalette palette = lblCubo->palette();
        // A system colour is taken from the palette, as the colour properties take it.
        palette.setColor(QPalette::Window,
                         platform::grid::oleToColor(gridFormat.BackColor, palette));
        palette.setColor(QPalette::WindowText,
                         platform::grid::oleToColor(gridFormat.ForeColor, palette));
        lblCubo->setAutoFillBackground(true);
        lblCubo->setPalette(palette);
        takeControlFont(lblCubo);
        for (FlexGrid *grid : {grdTitulos, grdResults}) {
            const int last = grid->rows() - 1;
            grid->setAppearance(gridFormat.Appearance);
            grid->setBackColorFixed(gridFormat.BackColor);
            grid->setForeColorFixed(gridFormat.ForeColor);
            grid->setGridColorFixed(gridFormat.GridColor);
            grid->setBackColor(gridFormat.BackColorData);
            grid->setCell(CellSetting::BackColor, 0, 1, last, 1, gridFormat.BackColorData);
            grid->setForeColor(gridFormat.ForeColorData);
            grid->setCell(CellSetting::ForeColor, 0, 1, last, 1, gridFormat.ForeColorData);
            grid->setGridColor(gridFormat.GridColorData);
            takeControlFont(grid);
            grid->setGridLines(gridFormat.GridLinesData);
            grid->setGridLinesFixed(gridFormat.GridLines);
            grid->setGridLineWidth(gridFormat.GridLinesWidth);
        }
    });
}

void PelmoraC02::takeControlFont(QWidget *widget)
{
    widget->setFont(controlFont->toQFont());
    if (controlFontUsers.contains(widget))
        return;
    if (controlFontUsers.isEmpty()) {
        QObject::connect(controlFont, &FontObject::changed, this, &PelmoraC02::controlFontChanged);
    }
    controlFontUsers.append(widget);
}

void PelmoraC02::controlFontChanged()
{
    const QFont font = controlFont->toQFont();
    for (QWidget *widget : std::as_const(controlFontUsers))
        widget->setFont(font);
}

void PelmoraC02::setFonts()
{
    pelmora::trapped(QStringLiteral("setFonts: "), [&] {
        // The font object's drawing attributes over each widget's others. The character set
        // has no counterpart in a drawing font: the font object keeps it.
        const QFont font = controlFont->toQFont();
        for (QWidget *widget : std::initializer_list<QWidget *>{lblCubo, grdTitulos, grdResults})
            widget->setFont(font.resolve(widget->font()));
        if (grf2d)
            grf2d->header().font().setAttributes(controlFont->attributes());
        if (grf3d)
            grf3d->header().font().setAttributes(controlFont->attributes());
        update();
    });
}

void PelmoraC02::applyDataFont(int headerRows, int headerCols)
{
    const FontObject &font = pelmora::fontOf(gridFormat.FontData);
    styleValueCells(*grdTitulos, 0, 1, font);
    styleValueCells(*grdResults, headerRows, headerCols, font);
    update();
}
