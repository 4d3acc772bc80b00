// Moving dimensions with the mouse on the sales cube: a slicer title picked up and dropped on a
// header (a move), dropped with Ctrl (a nest), and Ctrl with a click on a header (an un-nest);
// every time the records, the gaps they leave, the statement and both grids.
#include "platform/forms/Screen.h"
#include "tests/Control/core/GestureTestSupport.h"

#include <gtest/gtest.h>

using namespace gesturetest;
using pelmora::Columns;
using pelmora::Rows;
using pelmora::Slicer;
using platform::forms::mousePointer;

namespace {

class Movements : public SalesControl
{
protected:
    // Picks the title of the slicer row up.
    void pickUp(int row)
    {
        ASSERT_TRUE(clickCell(*control.grdTitulos, row, 0));
        ASSERT_TRUE(control.gestureState.movingDim);
        ASSERT_EQ(control.gestureState.movingDimRow, row);
        ASSERT_EQ(mousePointer(), platform::forms::SizeNeswPointer);
    }

    // After a gesture: no message, the pick-up over, Ctrl let go.
    void expectSettled()
    {
        EXPECT_EQ(boxes.texts(), QStringList());
        EXPECT_FALSE(control.gestureState.movingDim);
        EXPECT_FALSE(control.gestureState.ctrlDown);
        EXPECT_EQ(mousePointer(), platform::forms::DefaultPointer);
    }
};

const QString crossjoin(const QString &a, const QString &b)
{
    return " CROSSJOIN (" + a + ", " + b + ")";
}

struct Case
{
    const char *name;
    int title;    // the picked-up row of the titles grid
    int row, col; // the cell it is dropped on
    QStringList layout;
    QString columns, rows;
    QStringList slicer;
    QStringList titles;
};

} // namespace

TEST_F(Movements, ASlicerDimensionMovesOntoEitherAxis)
{
    const Case cases[] = {
        // clang-format off
        {"onto the rows, on Q1", 0, 3, 0,
         {"1/0/0/[Measures].[Sales]", "0/0/7/[Time].[1997].[Q1]",
          "2/0/0/[Product].[All Products]", "0/1/7/[Store].[All Stores]"},
         measuresSet, productSet, {"[Time].[1997].[Q1]", "[Store].[All Stores]"},
         // clang-format on
         {"Time|Q1", "Store|All Stores"}},
        {"onto the columns, on Sales",
         1,
         1,
         1,
         {"0/1/7/[Measures].[Sales]", "2/0/0/[Time].[1997]", "0/0/7/[Product].[All Products]",
          "1/0/0/[Store].[All Stores]"},
         storeSet,
         yearSet,
         {"[Measures].[Sales]", "[Product].[All Products]"},
         {"Product|All Products", "Measures|Sales"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(control.cubeConnect(false));
        pickUp(c.title);
        ASSERT_TRUE(clickCell(*control.grdResults, c.row, c.col));
        expectSettled();
        EXPECT_EQ(layoutOf(control), c.layout);
        EXPECT_EQ(control.queryState.currentMDX, statement(c.columns, c.rows, c.slicer));
        EXPECT_EQ(titles(), c.titles);
    }
    // The dimension that went to the slicer shows the member it was clicked on.
    EXPECT_EQ(placed(control, 0).texto, "Sales");
    EXPECT_EQ(data().value(1), "Time|All Stores|Canada|USA");
}

TEST_F(Movements, CtrlNestsASlicerDimensionLastOnTheClickedAxis)
{
    const Case cases[] = {
        {"on the rows",
         0,
         3,
         0,
         {"1/0/0/[Measures].[Sales]", "2/0/0/[Time].[1997]", "2/1/0/[Product].[All Products]",
          "0/0/7/[Store].[All Stores]"},
         measuresSet,
         crossjoin(yearSet, productSet),
         {"[Store].[All Stores]"},
         {"Store|All Stores"}},
        {"on the columns",
         1,
         1,
         1,
         {"1/0/0/[Measures].[Sales]", "2/0/0/[Time].[1997]", "0/0/7/[Product].[All Products]",
          "1/1/0/[Store].[All Stores]"},
         crossjoin(measuresSet, storeSet),
         yearSet,
         {"[Product].[All Products]"},
         {"Product|All Products"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(control.cubeConnect(false));
        pickUp(c.title);
        ASSERT_TRUE(ctrlClickCell(*control.grdResults, c.row, c.col));
        expectSettled();
        EXPECT_EQ(layoutOf(control), c.layout);
        EXPECT_EQ(control.queryState.currentMDX, statement(c.columns, c.rows, c.slicer));
        EXPECT_EQ(titles(), c.titles);
    }
    EXPECT_EQ(control.grdResults->fixedRows(), 3);
    EXPECT_EQ(data().value(2), "Time|All Stores|Canada|USA");
}

// The first of three slicer dimensions nested: the other two close up to positions 0 and 1.
TEST_F(Movements, NestingTheFirstOfThreeSlicerDimensionsClosesTheSlicer)
{
    lay({{Columns, 0}, {Slicer, 0}, {Slicer, 1}, {Slicer, 2}});
    ASSERT_EQ(titles(), QStringList({"Time|1997", "Product|All Products", "Store|All Stores"}));
    pickUp(0);
    ASSERT_TRUE(ctrlClickCell(*control.grdResults, 1, 0));
    expectSettled();
    EXPECT_EQ(layoutOf(control),
              QStringList({"1/0/0/[Measures].[Sales]", "1/1/0/[Time].[1997]",
                           "0/0/7/[Product].[All Products]", "0/1/7/[Store].[All Stores]"}));
    EXPECT_EQ(titles(), QStringList({"Product|All Products", "Store|All Stores"}));
    EXPECT_EQ(control.queryState.currentMDX,
              statement(crossjoin(measuresSet, yearSet), QString(),
                        {"[Product].[All Products]", "[Store].[All Stores]"}));
}

TEST_F(Movements, CtrlTakesADimensionOffItsAxisToTheEndOfTheSlicer)
{
    struct Unnest
    {
        const char *name;
        std::initializer_list<std::pair<int, int>> places;
        int row, col;
        QStringList layout;
        QString columns, rows;
        QStringList slicer;
        QStringList titles;
    };
    const Unnest cases[] = {
        {"the outer of two row dimensions, on Q1",
         // clang-format off
         {{Columns, 0}, {Rows, 0}, {Rows, 1}, {Slicer, 0}}, 5, 0,
         {"1/0/0/[Measures].[Sales]", "0/1/7/[Time].[1997].[Q1]",
          "2/0/0/[Product].[All Products]", "0/0/7/[Store].[All Stores]"},
         measuresSet, productSet, {"[Time].[1997].[Q1]", "[Store].[All Stores]"},
         // clang-format on
         {"Store|All Stores", "Time|Q1"}},
        {"the inner of two row dimensions, on Drink",
         {{Columns, 0}, {Rows, 0}, {Rows, 1}, {Slicer, 0}},
         3,
         1,
         {"1/0/0/[Measures].[Sales]", "2/0/0/[Time].[1997]", "0/1/7/[Product].[Drink]",
          "0/0/7/[Store].[All Stores]"},
         measuresSet,
         yearSet,
         {"[Product].[Drink]", "[Store].[All Stores]"},
         {"Store|All Stores", "Product|Drink"}},
        {"the first of three row dimensions",
         {{Columns, 0}, {Rows, 0}, {Rows, 1}, {Rows, 2}},
         2,
         0,
         {"1/0/0/[Measures].[Sales]", "0/0/7/[Time].[1997]", "2/0/0/[Product].[All Products]",
          "2/1/0/[Store].[All Stores]"},
         measuresSet,
         crossjoin(productSet, storeSet),
         {"[Time].[1997]"},
         {"Time|1997"}},
        {"the outer of two column dimensions, on Sales",
         {{Columns, 0}, {Rows, 0}, {Columns, 1}, {Slicer, 0}},
         1,
         1,
         {"0/1/7/[Measures].[Sales]", "2/0/0/[Time].[1997]", "1/0/0/[Product].[All Products]",
          "0/0/7/[Store].[All Stores]"},
         productSet,
         yearSet,
         {"[Measures].[Sales]", "[Store].[All Stores]"},
         {"Store|All Stores", "Measures|Sales"}},
    };
    for (const Unnest &c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(control.cubeConnect(false));
        lay(c.places);
        ASSERT_TRUE(ctrlClickCell(*control.grdResults, c.row, c.col));
        expectSettled();
        EXPECT_EQ(layoutOf(control), c.layout);
        EXPECT_EQ(control.queryState.currentMDX, statement(c.columns, c.rows, c.slicer));
        EXPECT_EQ(titles(), c.titles);
    }
}

// The one dimension of an axis stays, and so do clicks off the headers; with a title picked
// up, such a drop still ends the pick-up.
TEST_F(Movements, NothingMovesOffTheHeadersOrOffAnAxisOfOne)
{
    const QStringList layout = layoutOf(control);
    struct Click
    {
        const char *name;
        int title; // -1: none picked up
        bool ctrl;
        int row, col;
    } clicks[] = {
        {"un-nest the only row dimension", -1, true, 3, 0},
        {"un-nest the only column dimension", -1, true, 1, 1},
        {"un-nest from a value", -1, true, 3, 1},
        {"un-nest from the corner", -1, true, 0, 0},
        {"un-nest from the row title", -1, true, 1, 0},
        {"drop on a value", 0, false, 3, 1},
        {"drop on the corner", 1, false, 0, 0},
        {"drop on the row title", 0, false, 1, 0},
        {"nest on a value", 1, true, 2, 1},
        {"nest on the column title", 0, true, 0, 1},
    };
    for (const Click &c : clicks) {
        SCOPED_TRACE(c.name);
        if (c.title >= 0)
            pickUp(c.title);
        const auto before = lastResult(control);
        ASSERT_TRUE(c.ctrl ? ctrlClickCell(*control.grdResults, c.row, c.col)
                           : clickCell(*control.grdResults, c.row, c.col));
        expectSettled();
        EXPECT_EQ(lastResult(control), before);
        EXPECT_EQ(layoutOf(control), layout);
    }
}

TEST_F(Movements, ATitleDroppedOnTheTitlesOrOnNoSlicerPositionMovesNothing)
{
    const QStringList layout = layoutOf(control);
    const auto before = lastResult(control);
    // A second click on the titles drops the title.
    pickUp(1);
    ASSERT_TRUE(clickCell(*control.grdTitulos, 0, 1));
    expectSettled();

    // A picked-up row that names no slicer dimension, for a move and for a nest.
    for (const bool ctrl : {false, true}) {
        SCOPED_TRACE(ctrl);
        pickUp(1);
        control.gestureState.movingDimRow = 2;
        ASSERT_TRUE(ctrl ? ctrlClickCell(*control.grdResults, 3, 0)
                         : clickCell(*control.grdResults, 3, 0));
        expectSettled();
    }
    EXPECT_EQ(lastResult(control), before);
    EXPECT_EQ(layoutOf(control), layout);

    // Without slicer dimensions the titles grid is empty: what a click on it picks up names
    // no slicer position either.
    lay({{Columns, 0}, {Rows, 0}, {Rows, 1}, {Columns, 1}});
    const QStringList full = layoutOf(control);
    ASSERT_EQ(control.grdTitulos->rows(), 0);
    clickAt(*control.grdTitulos, QPoint(10, 10));
    ASSERT_TRUE(control.gestureState.movingDim);
    const auto last = lastResult(control);
    ASSERT_TRUE(clickCell(*control.grdResults, 3, 0));
    expectSettled();
    EXPECT_EQ(lastResult(control), last);
    EXPECT_EQ(layoutOf(control), full);
}

// With one axis only its dimensions stand across the top of the grid, the rows as the columns
// would: a move, a nest and an un-nest there act on that axis.
TEST_F(Movements, ALayoutOfOneAxisMovesNestsAndUnnestsAcrossTheTop)
{
    for (const int place : {Rows, Columns}) {
        SCOPED_TRACE(place);
        ASSERT_TRUE(control.cubeConnect(false));
        lay({{Slicer, 0}, {place, 0}, {Slicer, 1}, {Slicer, 2}});
        const auto query = [&](const QString &set, const QStringList &slicer) {
            return place == Rows ? statement(QString(), set, slicer)
                                 : statement(set, QString(), slicer);
        };
        const QString p = QString::number(place);
        ASSERT_EQ(titles(),
                  QStringList({"Measures|Sales", "Product|All Products", "Store|All Stores"}));
        ASSERT_EQ(data().value(1), "1997|Q1|Q2");

        // Product dropped on Q1 takes Time's place; Time stands on Q1 on the slicer.
        pickUp(1);
        ASSERT_TRUE(clickCell(*control.grdResults, 1, 1));
        expectSettled();
        EXPECT_EQ(layoutOf(control),
                  QStringList({"0/0/7/[Measures].[Sales]", "0/1/7/[Time].[1997].[Q1]",
                               p + "/0/0/[Product].[All Products]", "0/2/7/[Store].[All Stores]"}));
        EXPECT_EQ(control.queryState.currentMDX,
                  query(productSet,
                        {"[Measures].[Sales]", "[Time].[1997].[Q1]", "[Store].[All Stores]"}));
        EXPECT_EQ(titles(), QStringList({"Measures|Sales", "Time|Q1", "Store|All Stores"}));
        EXPECT_EQ(data().value(1), "All Products|Drink|Food");

        // Store nested under Product.
        pickUp(2);
        ASSERT_TRUE(ctrlClickCell(*control.grdResults, 1, 0));
        expectSettled();
        EXPECT_EQ(
            layoutOf(control),
            QStringList({"0/0/7/[Measures].[Sales]", "0/1/7/[Time].[1997].[Q1]",
                         p + "/0/0/[Product].[All Products]", p + "/1/0/[Store].[All Stores]"}));
        EXPECT_EQ(
            control.queryState.currentMDX,
            query(crossjoin(productSet, storeSet), {"[Measures].[Sales]", "[Time].[1997].[Q1]"}));
        EXPECT_EQ(titles(), QStringList({"Measures|Sales", "Time|Q1"}));
        EXPECT_EQ(control.grdResults->fixedRows(), 3);
        EXPECT_EQ(data().value(2).section(u'|', 0, 2), "All Stores|Canada|USA");

        // Store un-nested on Canada goes last on the slicer.
        ASSERT_TRUE(ctrlClickCell(*control.grdResults, 2, 1));
        expectSettled();
        EXPECT_EQ(layoutOf(control),
                  QStringList({"0/0/7/[Measures].[Sales]", "0/1/7/[Time].[1997].[Q1]",
                               p + "/0/0/[Product].[All Products]", "0/2/7/[Store].[Canada]"}));
        EXPECT_EQ(
            control.queryState.currentMDX,
            query(productSet, {"[Measures].[Sales]", "[Time].[1997].[Q1]", "[Store].[Canada]"}));
        EXPECT_EQ(titles(), QStringList({"Measures|Sales", "Time|Q1", "Store|Canada"}));

        // Product is alone on its axis: it stays.
        const auto before = lastResult(control);
        ASSERT_TRUE(ctrlClickCell(*control.grdResults, 1, 1));
        expectSettled();
        EXPECT_EQ(lastResult(control), before);
        EXPECT_EQ(placed(control, 2).lugar, place);
    }
}
