// What a click on the data grid hits for each shape of layout, and which gesture a click makes.
#include "Control/core/GestureRules.h"

#include <gtest/gtest.h>

using namespace pelmora;

namespace {

// A layout of records placed as given, in record order.
LayoutState layoutOf(std::initializer_list<std::pair<int, int>> places)
{
    LayoutState layout;
    for (const auto &[lugar, orden] : places) {
        OrderDim &record = layout.orderDim[size_t(layout.NumDims++)];
        record.lugar = lugar;
        record.orden = orden;
    }
    return layout;
}

struct HitCase
{
    int row, col;
    GridRegion region;
    int place = Slicer, position = 0;
    int axis = 0, cellsetPosition = 0, member = 0;
    bool first = false;
};

void expectHits(const LayoutState &layout, std::initializer_list<HitCase> cases)
{
    for (const HitCase &c : cases) {
        SCOPED_TRACE(testing::Message() << c.row << "," << c.col);
        const GridHit hit = gridHit(layout, c.row, c.col);
        EXPECT_EQ(int(hit.region), int(c.region));
        if (hit.region == GridRegion::Corner || hit.region == GridRegion::Nothing)
            continue;
        EXPECT_EQ(hit.place, c.place);
        EXPECT_EQ(hit.position, c.position);
        if (!hit.isHeader())
            continue;
        EXPECT_EQ(hit.cellsetAxis, c.axis);
        EXPECT_EQ(hit.cellsetPosition, c.cellsetPosition);
        EXPECT_EQ(hit.member, c.member);
        EXPECT_EQ(hit.firstPosition, c.first);
    }
}

} // namespace

// Two column and two row dimensions: rows 0 to 2 and columns 0 and 1 are fixed; row 0 holds the
// column titles from column 2, row 2 the row titles in columns 0 and 1.
TEST(GridHits, TwoDimensionsOnEachAxis)
{
    const LayoutState layout =
        layoutOf({{Columns, 0}, {Rows, 0}, {Columns, 1}, {Rows, 1}, {Slicer, 0}});
    using R = GridRegion;
    expectHits(layout, {
                           {0, 0, R::Corner},
                           {1, 1, R::Corner},
                           {2, 0, R::SideTitle, Rows, 0},
                           {2, 1, R::SideTitle, Rows, 1},
                           {0, 2, R::TopTitle, Columns, 0},
                           {0, 3, R::TopTitle, Columns, 1},
                           {0, 4, R::Nothing},
                           {1, 2, R::TopHeader, Columns, 0, 0, 0, 0, true},
                           {1, 5, R::TopHeader, Columns, 0, 0, 3, 0, false},
                           {2, 2, R::TopHeader, Columns, 1, 0, 0, 1, true},
                           {2, 4, R::TopHeader, Columns, 1, 0, 2, 1, false},
                           {3, 0, R::SideHeader, Rows, 0, 1, 0, 0, true},
                           {6, 1, R::SideHeader, Rows, 1, 1, 3, 1, false},
                           {3, 2, R::Nothing},
                           {7, 9, R::Nothing},
                       });
}

// Rows without columns are painted across the top, as columns: there is no corner and no side.
TEST(GridHits, RowsOnlyStandAcrossTheTop)
{
    const LayoutState layout = layoutOf({{Slicer, 0}, {Rows, 0}, {Rows, 1}});
    const GridAxes axes = gridAxes(layout);
    EXPECT_EQ(axes.topPlace, Rows);
    EXPECT_EQ(axes.h1, 2);
    EXPECT_EQ(axes.h2, 0);
    using R = GridRegion;
    expectHits(layout, {
                           {0, 0, R::TopTitle, Rows, 0},
                           {0, 1, R::TopTitle, Rows, 1},
                           {0, 2, R::Nothing},
                           {1, 0, R::TopHeader, Rows, 0, 0, 0, 0, true},
                           {1, 3, R::TopHeader, Rows, 0, 0, 3, 0, false},
                           {2, 1, R::TopHeader, Rows, 1, 0, 1, 1, false},
                           {3, 0, R::Nothing},
                       });
}

TEST(GridHits, ColumnsOnlyAndNoAxisAtAll)
{
    using R = GridRegion;
    expectHits(layoutOf({{Columns, 0}, {Slicer, 0}}),
               {
                   {0, 0, R::TopTitle, Columns, 0},
                   {1, 0, R::TopHeader, Columns, 0, 0, 0, 0, true},
                   {1, 2, R::TopHeader, Columns, 0, 0, 2, 0, false},
                   {2, 0, R::Nothing},
               });
    expectHits(layoutOf({{Slicer, 0}, {Slicer, 1}}), {{0, 0, R::Nothing}, {1, 1, R::Nothing}});
}

TEST(GridHits, TheGestureOfAClick)
{
    EXPECT_EQ(gestureFor(false, false), Gesture::Drill);
    EXPECT_EQ(gestureFor(false, true), Gesture::Unnest);
    EXPECT_EQ(gestureFor(true, false), Gesture::Move);
    EXPECT_EQ(gestureFor(true, true), Gesture::Nest);
}
