// Results the painting code meets without failing: axes without positions, a result without
// cells, and a paint that fails half-way, which must not leave the data grid frozen.
#include "platform/olap/Cellset.h"
#include "tests/Control/core/GestureTestSupport.h"

#include <gtest/gtest.h>

namespace {

// The sales cube in a shown control, its first statement run.
class PaintGraceful : public gesturetest::SalesControl
{
};

// Results with an axis that has no positions, hence no cells.
const struct
{
    const char *name;
    QString statement;
} emptyAxes[] = {
    {"rows without positions", "SELECT {[Measures].[Sales]} ON AXIS(0), "
                               "Filter({[Time].[1997]}, 1 = 0) ON AXIS(1) FROM [Sales]"},
    {"columns without positions", "SELECT Filter({[Measures].[Sales]}, 1 = 0) ON AXIS(0), "
                                  "{[Time].[1997]} ON AXIS(1) FROM [Sales]"},
    {"both without positions", "SELECT Filter({[Measures].[Sales]}, 1 = 0) ON AXIS(0), "
                               "Filter({[Time].[1997]}, 1 = 0) ON AXIS(1) FROM [Sales]"},
    {"one axis without positions",
     "SELECT Filter({[Measures].[Sales]}, 1 = 0) ON AXIS(0) FROM [Sales]"},
};

} // namespace

TEST_F(PaintGraceful, AnAxisWithoutPositionsPaintsWithoutAReport)
{
    for (const auto &c : emptyAxes) {
        SCOPED_TRACE(c.name);
        EXPECT_TRUE(control.MDXExecute(c.statement));
        EXPECT_EQ(boxes.texts(), QStringList());
        EXPECT_TRUE(control.grdResults->redraw());
        // Painting the same result again reports nothing either.
        EXPECT_TRUE(control.selectPaint());
        EXPECT_EQ(boxes.texts(), QStringList());
        boxes.clear();
    }
}

TEST_F(PaintGraceful, AResultWithoutCellsHasNoServerFormatting)
{
    for (const auto &c : emptyAxes) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(control.MDXExecute(c.statement));
        ASSERT_TRUE(control.queryState.cellset);
        ASSERT_EQ(control.queryState.cellset->cellCount(), 0);
        EXPECT_FALSE(control.cellFormatProperties(*control.queryState.cellset));
        EXPECT_EQ(boxes.texts(), QStringList());
    }
}

TEST_F(PaintGraceful, AFailedPaintSwitchesDrawingBackOn)
{
    ASSERT_TRUE(control.grdResults->redraw());
    // A record count beyond the records, with no record first on the rows, makes the search
    // of the row headers fail once drawing is off.
    pelmora::orderDimAt(control.layoutState, 1).orden = 5;
    control.layoutState.NumDims = pelmora::orderDimCapacity + 1;
    EXPECT_TRUE(control.selectPaint());
    control.layoutState.NumDims = 4;
    ASSERT_FALSE(boxes.texts().isEmpty());
    EXPECT_EQ(boxes.texts().last(), "selectPaint: Subscript out of range");
    EXPECT_TRUE(control.grdResults->redraw());
}
