// The control's look pushed onto the caption label and the two grids.
#include "Control/core/ErrorTrap.h"
#include "Control/core/PelmoraC02.h"
#include "platform/grid/FlexGrid.h"

#include <QLabel>
#include <QPalette>

using platform::grid::CellSetting;
using platform::grid::FlexGrid;

namespace {

QColor oleColor(int color)
{
    return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

} // namespace

void PelmoraC02::updFormat()
{
    try {
        QPalette palette = lblCubo->palette();
        palette.setColor(QPalette::Window, oleColor(gridFormat.BackColor));
        palette.setColor(QPalette::WindowText, oleColor(gridFormat.ForeColor));
        lblCubo->setAutoFillBackground(true);
        lblCubo->setPalette(palette);
        // The title font: the control's own font, until the control carries font objects.
        lblCubo->setFont(font());
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
            grid->setFont(font());
            grid->setGridLines(gridFormat.GridLinesData);
            grid->setGridLinesFixed(gridFormat.GridLines);
            grid->setGridLineWidth(gridFormat.GridLinesWidth);
        }
    } catch (...) {
        pelmora::reportError(QStringLiteral("updFormat: "));
    }
}
