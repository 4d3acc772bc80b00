// The control's look pushed onto the grids.
#include "Control/core/PelmoraC02.h"
#include "tests/support/ScriptedMsgBox.h"

#include <gtest/gtest.h>

using platform::grid::CellSetting;

TEST(PaintLook, TheLookReachesBothGrids)
{
    testing_support::ScriptedMsgBox boxes;
    PelmoraC02 control;
    pelmora::GridFormat &format = control.gridFormat;
    format.BackColorData = 0x0000FF;
    format.ForeColorData = 0x010203;
    format.BackColor = 0x00FF00;
    format.GridLines = 5;
    format.GridLinesData = 3;
    format.GridLinesWidth = 2;
    format.Appearance = pelmora::pelmoraFlat;
    control.grdTitulos->setRows(2);
    control.grdTitulos->setTextMatrix(1, 1, "All Stores");
    control.updFormat(); // the data grid has no rows: its ranges cover no cell
    EXPECT_EQ(boxes.count(), 0);
    for (platform::grid::FlexGrid *grid : {control.grdTitulos, control.grdResults}) {
        EXPECT_EQ(grid->backColor(), 0x0000FF);
        EXPECT_EQ(grid->foreColor(), 0x010203);
        EXPECT_EQ(grid->backColorFixed(), 0x00FF00);
        EXPECT_EQ(grid->gridLinesFixed(), 5);
        EXPECT_EQ(grid->gridLines(), 3);
        EXPECT_EQ(grid->gridLineWidth(), 2);
        EXPECT_EQ(grid->appearance(), 0);
    }
    // The member captions of the titles grid's column 1 on the data colours.
    for (int row : {0, 1}) {
        EXPECT_EQ(control.grdTitulos->cell(CellSetting::BackColor, row, 1).toInt(), 0x0000FF);
        EXPECT_EQ(control.grdTitulos->cell(CellSetting::ForeColor, row, 1).toInt(), 0x010203);
        EXPECT_EQ(control.grdTitulos->cell(CellSetting::BackColor, row, 0).toInt(), 0);
    }
}
