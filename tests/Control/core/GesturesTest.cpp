// The events of the caption and the grids: the control's Click and DblClick, the Ctrl key on
// the data grid, the pick-up pointer, a non-interactive control, and the failure labels.
#include "platform/forms/Screen.h"
#include "tests/Control/core/GestureTestSupport.h"
#include "tests/support/ScriptedModalRunner.h"
#include "tests/Control/core/RouteTestSupport.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>

#include <functional>

using namespace gesturetest;
using pelmora::Columns;
using pelmora::Rows;
using pelmora::Slicer;
using platform::forms::mousePointer;

namespace {

class Gestures : public SalesControl
{
protected:
    void SetUp() override
    {
        SalesControl::SetUp();
        QObject::connect(&control, &PelmoraC02::Click, [this] { ++clicks; });
        QObject::connect(&control, &PelmoraC02::DblClick, [this] { ++doubleClicks; });
        control.actionTable.bind(pelmora::ActionKeyword::CambiaTitulo, [this] {
            ++titleDialogs;
            return true;
        });
    }

    // A point of the data grid's viewport below its last row, or right of its last column.
    QPoint belowTheRows() const
    {
        const platform::grid::FlexGrid &grid = *control.grdResults;
        return QPoint(grid.cellRect(0, 1).center().x(),
                      grid.cellRect(grid.rows() - 1, 1).bottom() + 20);
    }
    QPoint rightOfTheColumns() const
    {
        const platform::grid::FlexGrid &grid = *control.grdResults;
        return QPoint(grid.cellRect(0, grid.cols() - 1).right() + 20,
                      grid.cellRect(2, 0).center().y());
    }

    int clicks = 0;
    int doubleClicks = 0;
    int titleDialogs = 0;
    // The dimension options a title opens, each cancelled.
    testing_support::ScriptedModalRunner dialogs;
};

void sendKey(QWidget &widget, QEvent::Type type, Qt::Key key)
{
    QKeyEvent event(type, key, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

} // namespace

// Every click raises Click, every double click a Click (its first press) and then DblClick,
// after the control's own work; in a non-interactive control as well.
TEST_F(Gestures, ClicksAndDoubleClicksRaiseTheEventsAfterTheirWork)
{
    struct Case
    {
        const char *name;
        std::function<void()> act;
        int clicks, doubleClicks, titleDialogs;
    };
    platform::grid::FlexGrid &results = *control.grdResults;
    platform::grid::FlexGrid &titulos = *control.grdTitulos;
    const Case cases[] = {
        {"a value cell", [&] { clickCell(results, 3, 1); }, 1, 0, 0},
        {"below the last row", [&] { clickAt(results, belowTheRows()); }, 1, 0, 0},
        {"right of the last column", [&] { clickAt(results, rightOfTheColumns()); }, 1, 0, 0},
        {"a double click on a value", [&] { doubleClickCell(results, 3, 1); }, 1, 1, 0},
        {"a title, twice",
         [&] {
             clickCell(titulos, 1, 0);
             clickCell(titulos, 1, 0);
         },
         2, 0, 0},
        {"a double click on a title", [&] { doubleClickCell(titulos, 0, 0); }, 1, 1, 0},
        {"the caption", [&] { clickWidget(*control.lblCubo); }, 1, 0, 0},
        {"a double click on the caption", [&] { doubleClickWidget(*control.lblCubo); }, 1, 1, 1},
    };
    for (const bool interactive : {true, false}) {
        control.controlFlags.Interactive = interactive;
        for (const Case &c : cases) {
            SCOPED_TRACE(testing::Message() << c.name << (interactive ? "" : ", not interactive"));
            clicks = doubleClicks = titleDialogs = 0;
            const QStringList layout = layoutOf(control);
            const auto before = lastResult(control);
            const qsizetype shown = dialogs.shown().size();
            c.act();
            EXPECT_EQ(clicks, c.clicks);
            EXPECT_EQ(doubleClicks, c.doubleClicks);
            EXPECT_EQ(titleDialogs, c.titleDialogs);
            EXPECT_EQ(layoutOf(control), layout);
            EXPECT_FALSE(control.gestureState.movingDim);
            EXPECT_EQ(mousePointer(), platform::forms::DefaultPointer);
            EXPECT_EQ(boxes.texts(), QStringList());
            // Only a double click on a title runs the statement again, and only when the
            // control is interactive.
            const bool runs = interactive && QString(c.name) == "a double click on a title";
            EXPECT_EQ(lastResult(control) != before, runs);
            EXPECT_EQ(dialogs.shown().mid(shown), runs ? QStringList{"frmPareto"} : QStringList());
        }
    }
}

// The caption's double click opens the title dialog, which takes the release that ends the
// double click: the caption never sees it, and the next click on it is still a click.
TEST_F(Gestures, ACaptionClickAfterTheTitleDialogIsAClick)
{
    QLabel &caption = *control.lblCubo;
    const QPoint centre = caption.rect().center();
    const auto send = [&](QEvent::Type type) {
        QMouseEvent event(
            type, QPointF(centre), QPointF(caption.mapToGlobal(centre)), Qt::LeftButton,
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(&caption, &event);
    };
    send(QEvent::MouseButtonPress);
    send(QEvent::MouseButtonRelease);
    send(QEvent::MouseButtonDblClick);
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(doubleClicks, 1);
    EXPECT_EQ(titleDialogs, 1);
    clickWidget(caption);
    EXPECT_EQ(clicks, 2);
    EXPECT_EQ(doubleClicks, 1);
}

// A non-interactive control (one that runs a fixed statement) ignores every gesture.
TEST_F(Gestures, ANonInteractiveControlIgnoresEveryGesture)
{
    lay({{Columns, 0}, {Rows, 0}, {Rows, 1}, {Slicer, 0}});
    control.controlFlags.Interactive = false;
    const QStringList layout = layoutOf(control);
    const auto before = lastResult(control);
    platform::grid::FlexGrid &results = *control.grdResults;
    const std::function<void()> gestures[] = {
        [&] { clickCell(results, 0, 0); },     // the corner
        [&] { clickCell(results, 3, 0); },     // drill down
        [&] { clickCell(results, 2, 0); },     // drill up
        [&] { clickCell(results, 1, 0); },     // a title
        [&] { ctrlClickCell(results, 5, 0); }, // un-nest
        [&] {                                  // pick up and drop
            clickCell(*control.grdTitulos, 0, 0);
            clickCell(results, 3, 0);
        },
        [&] { // pick up and nest
            clickCell(*control.grdTitulos, 0, 0);
            ctrlClickCell(results, 3, 0);
        },
        [&] { doubleClickCell(*control.grdTitulos, 0, 0); },
        [&] { EXPECT_FALSE(control.doAction("DOSWAPXY")); },
    };
    int n = 0;
    for (const auto &gesture : gestures) {
        SCOPED_TRACE(n++);
        gesture();
        EXPECT_EQ(layoutOf(control), layout);
        EXPECT_EQ(lastResult(control), before);
        EXPECT_FALSE(control.gestureState.movingDim);
        EXPECT_EQ(mousePointer(), platform::forms::DefaultPointer);
    }
    EXPECT_EQ(boxes.texts(), QStringList());
}

TEST_F(Gestures, CtrlFollowsTheKeysOnTheDataGridOnly)
{
    platform::grid::FlexGrid &results = *control.grdResults;
    ctrlKey(results, true);
    EXPECT_TRUE(control.gestureState.ctrlDown);
    sendKey(results, QEvent::KeyPress, Qt::Key_Shift);
    sendKey(results, QEvent::KeyRelease, Qt::Key_Shift);
    EXPECT_TRUE(control.gestureState.ctrlDown);
    ctrlKey(results, false);
    EXPECT_FALSE(control.gestureState.ctrlDown);

    // Keys on the titles grid do not count.
    ctrlKey(*control.grdTitulos, true);
    EXPECT_FALSE(control.gestureState.ctrlDown);
    ctrlKey(results, true);
    ctrlKey(*control.grdTitulos, false);
    EXPECT_TRUE(control.gestureState.ctrlDown);

    // A pick-up lets go of Ctrl: a drop without the key is a move, not a nest.
    clickCell(*control.grdTitulos, 0, 0);
    EXPECT_FALSE(control.gestureState.ctrlDown);
    ASSERT_TRUE(clickCell(results, 3, 0));
    EXPECT_EQ(layoutOf(control),
              QStringList({"1/0/0/[Measures].[Sales]", "0/0/7/[Time].[1997].[Q1]",
                           "2/0/0/[Product].[All Products]", "0/1/7/[Store].[All Stores]"}));
    ctrlKey(results, false);
    EXPECT_EQ(boxes.texts(), QStringList());
}

// Ctrl held during the click nests, whichever grid had the keys: after a click on a slicer
// title the key goes to the titles grid.
TEST_F(Gestures, CtrlHeldDuringTheClickCountsWhereverTheKeyWent)
{
    platform::grid::FlexGrid &titulos = *control.grdTitulos;
    ctrlKey(titulos, true);
    ASSERT_TRUE(clickCell(titulos, 0, 0, Qt::ControlModifier)); // picks Product up
    EXPECT_FALSE(control.gestureState.ctrlDown);
    ASSERT_TRUE(clickCell(*control.grdResults, 3, 0, Qt::ControlModifier));
    EXPECT_FALSE(control.gestureState.ctrlDown); // for one click only
    EXPECT_EQ(layoutOf(control),
              QStringList({"1/0/0/[Measures].[Sales]", "2/0/0/[Time].[1997]",
                           "2/1/0/[Product].[All Products]", "0/0/7/[Store].[All Stores]"}));
    ctrlKey(titulos, false);
    EXPECT_EQ(boxes.texts(), QStringList());
}

// A press of Ctrl on the data grid counts for one click: the first click un-nests; the second,
// without the key held and before its release reached the grid, drills.
TEST_F(Gestures, CtrlCountsForOneClick)
{
    lay({{Columns, 0}, {Rows, 0}, {Rows, 1}, {Slicer, 0}});
    platform::grid::FlexGrid &results = *control.grdResults;
    ctrlKey(results, true);
    ASSERT_TRUE(clickCell(results, 5, 0)); // Q1
    EXPECT_FALSE(control.gestureState.ctrlDown);
    EXPECT_EQ(placed(control, 1), (Placed{Slicer, 1, 7, "[Time].[1997].[Q1]", "Q1"}));
    ASSERT_EQ(data().value(3), "Drink|7.50");
    ASSERT_TRUE(clickCell(results, 3, 0));
    EXPECT_EQ(placed(control, 2), (Placed{Rows, 0, 0, "[Product].[Drink]", "Drink"}));
    EXPECT_EQ(control.queryState.currentMDX,
              statement(measuresSet, descendants("[Product].[Drink]", "[Product].[Category]"),
                        {"[Time].[1997].[Q1]", "[Store].[All Stores]"}));
    ctrlKey(results, false);
    EXPECT_EQ(boxes.texts(), QStringList());
}

TEST_F(Gestures, APickedUpTitleShowsTheSizingPointerUntilItIsDropped)
{
    clickCell(*control.grdTitulos, 1, 0);
    EXPECT_EQ(mousePointer(), platform::forms::SizeNeswPointer);
    EXPECT_TRUE(control.gestureState.movingDim);
    EXPECT_EQ(control.gestureState.movingDimRow, 1);
    // Any statement drops it.
    EXPECT_TRUE(control.doAction("DOSWAPXY"));
    EXPECT_FALSE(control.gestureState.movingDim);
    EXPECT_EQ(mousePointer(), platform::forms::DefaultPointer);

    // A double click picks up with its first click and drops with its second, then opens the
    // options of the title's dimension and runs the statement again.
    const QStringList layout = layoutOf(control);
    const auto before = lastResult(control);
    doubleClickCell(*control.grdTitulos, 1, 1);
    EXPECT_FALSE(control.gestureState.movingDim);
    EXPECT_EQ(mousePointer(), platform::forms::DefaultPointer);
    EXPECT_NE(lastResult(control), before);
    EXPECT_EQ(layoutOf(control), layout);
    EXPECT_EQ(control.grdTitulos->col(), 0);
    EXPECT_EQ(dialogs.shown(), QStringList{"frmPareto"});

    // Without slicer dimensions there is no title: the statement runs again, no message.
    lay({{Columns, 0}, {Rows, 0}, {Rows, 1}, {Columns, 1}});
    const auto last = lastResult(control);
    doubleClickAt(*control.grdTitulos, QPoint(10, 10));
    EXPECT_NE(lastResult(control), last);
    EXPECT_FALSE(control.gestureState.movingDim);
    EXPECT_EQ(boxes.texts(), QStringList());
}

// Each procedure reports its own failure under its label; a failure whose report cannot be
// shown reaches the procedure around it. Nothing moves, and Ctrl is let go.
TEST_F(Gestures, FailuresAreReportedUnderTheProceduresLabels)
{
    platform::grid::FlexGrid &results = *control.grdResults;
    const int tooMany = pelmora::orderDimCapacity + 1;
    struct Case
    {
        const char *name;
        int title; // the title picked up first, or -1
        bool ctrl;
        bool closeResult; // the result is closed instead of the records overflowing
        int row, col;
        int failingBoxes;
        QStringList texts;
    } cases[] = {
        {"drill", -1, false, false, 3, 0, 0, {"doDrill: Subscript out of range"}},
        {"un-nest", -1, true, false, 3, 0, 0, {"deAnidateDim: Subscript out of range"}},
        {"move", 0, false, false, 3, 0, 0, {"changeDim: Subscript out of range"}},
        {"nest", 0, true, false, 3, 0, 0, {"anidateDim: Subscript out of range"}},
        // clang-format off
        {"move without a result", 0, false, true, 3, 0, 0,
         {"changeDim: The cell set is not open"}},
        {"routing", -1, false, false, 3, 0, 1,
         // clang-format on
         {"doDrill: Subscript out of range", "doMovements:Out of memory"}},
        // clang-format off
        {"the click", -1, true, false, 3, 0, 2,
         // clang-format on
         {"deAnidateDim: Subscript out of range", "doMovements:Out of memory",
          "grdResults_Click:Out of memory"}},
        // clang-format off
        {"past every trap", -1, false, false, 3, 0, 3,
         // clang-format on
         {"doDrill: Subscript out of range", "doMovements:Out of memory",
          "grdResults_Click:Out of memory"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QStringList layout = layoutOf(control);
        if (c.title >= 0)
            clickCell(*control.grdTitulos, c.title, 0);
        if (c.closeResult)
            control.queryState.cellset->close();
        else
            control.layoutState.NumDims = tooMany;
        const auto before = lastResult(control);
        clicks = 0;
        QStringList texts;
        {
            controltest::FailingMsgBox failing(c.failingBoxes);
            if (c.ctrl)
                ctrlKey(results, true);
            clickCell(results, c.row, c.col);
            texts = failing.texts();
        }
        ctrlKey(results, false);
        control.layoutState.NumDims = 4;
        EXPECT_EQ(texts, c.texts);
        EXPECT_EQ(clicks, 1);
        EXPECT_FALSE(control.gestureState.ctrlDown);
        EXPECT_FALSE(control.gestureState.movingDim);
        EXPECT_EQ(mousePointer(), platform::forms::DefaultPointer);
        EXPECT_EQ(layoutOf(control), layout);
        EXPECT_EQ(lastResult(control), before);
        if (c.closeResult) {
            ASSERT_TRUE(control.genSelect());
        }
    }

    // The double click on a title: the statement's failure reaches its trap, and past it the
    // event still raises DblClick.
    // The options dialog cannot read the records: its report fails, and so the statement
    // does not run.
    for (const int failing : {1, 2}) {
        SCOPED_TRACE(failing);
        control.layoutState.NumDims = tooMany;
        doubleClicks = 0;
        QStringList texts;
        {
            controltest::FailingMsgBox failingBoxes(failing);
            doubleClickCell(*control.grdTitulos, 0, 0);
            texts = failingBoxes.texts();
        }
        control.layoutState.NumDims = 4;
        EXPECT_EQ(texts, QStringList({"doAnalysis: Subscript out of range",
                                      "titleDblClick:Out of memory"}));
        EXPECT_EQ(doubleClicks, 1);
    }
    EXPECT_EQ(dialogs.shown(), QStringList());
}
