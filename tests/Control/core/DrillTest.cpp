// Plain clicks on the data grid of the sales cube: drilling down and up on the rows and the
// columns, the corner swap, the dimension titles, and the failures of a drill.
#include "tests/Control/core/GestureTestSupport.h"
#include "tests/Control/core/RouteTestSupport.h"
#include "tests/support/ScriptedModalRunner.h"

#include <gtest/gtest.h>

#include <QComboBox>

using namespace gesturetest;
using pelmora::Columns;
using pelmora::Rows;
using pelmora::Slicer;

namespace {

class Drill : public SalesControl
{
protected:
    // The dimension options a title opens, each cancelled.
    testing_support::ScriptedModalRunner dialogs;
};

const QStringList allSlicer = {"[Product].[All Products]", "[Store].[All Stores]"};

// The first column (or row) of a grid's rows.
QStringList column(const QStringList &rows, int col)
{
    QStringList cells;
    for (const QString &row : rows)
        cells << row.split(u'|').value(col);
    return cells;
}

struct DrillStep
{
    int row;
    int col;
    QString llave; // Time's member afterwards
    QString texto;
    QString timeSet;
    QStringList headers; // the Time headers afterwards, with their title
};

} // namespace

TEST_F(Drill, DownAndUpOnTheRows)
{
    const QString q1 = descendants("[Time].[1997].[Q1]", "[Time].[Month]");
    const QString january = descendants("[Time].[1997].[Q1].[January]", "[Time].[Month]");
    const DrillStep steps[] = {
        {3, 0, "[Time].[1997].[Q1]", "Q1", q1, {" ", "Time", "Q1", "January", "February"}},
        // The deepest level drills into the member alone.
        {3, 0, "[Time].[1997].[Q1].[January]", "January", january, {" ", "Time", "January"}},
        // The first row is the member the set starts from: a click there goes up.
        {2, 0, "[Time].[1997].[Q1]", "Q1", q1, {" ", "Time", "Q1", "January", "February"}},
        {2, 0, "[Time].[1997]", "1997", yearSet, {" ", "Time", "1997", "Q1", "Q2"}},
        // A top member stays, and the statement runs again.
        {2, 0, "[Time].[1997]", "1997", yearSet, {" ", "Time", "1997", "Q1", "Q2"}},
    };
    for (const DrillStep &step : steps) {
        SCOPED_TRACE(testing::Message()
                     << step.row << "," << step.col << " " << step.llave.toStdString());
        const auto before = lastResult(control);
        ASSERT_TRUE(clickCell(*control.grdResults, step.row, step.col));
        EXPECT_EQ(boxes.texts(), QStringList());
        EXPECT_NE(lastResult(control), before);
        EXPECT_EQ(placed(control, 1), (Placed{Rows, 0, 0, step.llave, step.texto}));
        EXPECT_EQ(control.queryState.currentMDX, statement(measuresSet, step.timeSet, allSlicer));
        EXPECT_EQ(column(data(), 0), step.headers);
    }
    // Nothing else moved.
    EXPECT_EQ(layoutOf(control),
              QStringList({"1/0/0/[Measures].[Sales]", "2/0/0/[Time].[1997]",
                           "0/0/7/[Product].[All Products]", "0/1/7/[Store].[All Stores]"}));
}

TEST_F(Drill, DownAndUpOnTheColumns)
{
    // The corner swaps the axes: Time across the top.
    ASSERT_TRUE(clickCell(*control.grdResults, 0, 0));
    ASSERT_EQ(control.queryState.currentMDX, statement(yearSet, measuresSet, allSlicer));
    ASSERT_EQ(data().value(1), "Measures|1997|Q1|Q2");

    const QString q1 = descendants("[Time].[1997].[Q1]", "[Time].[Month]");
    const DrillStep steps[] = {
        {1, 2, "[Time].[1997].[Q1]", "Q1", q1, {"Measures", "Q1", "January", "February"}},
        {1, 1, "[Time].[1997]", "1997", yearSet, {"Measures", "1997", "Q1", "Q2"}},
        {1, 1, "[Time].[1997]", "1997", yearSet, {"Measures", "1997", "Q1", "Q2"}},
        // clang-format off
        {1, 3, "[Time].[1997].[Q2]", "Q2",
         descendants("[Time].[1997].[Q2]", "[Time].[Month]"), {"Measures", "Q2", "April"}},
        // clang-format on
    };
    for (const DrillStep &step : steps) {
        SCOPED_TRACE(testing::Message() << step.row << "," << step.col);
        const auto before = lastResult(control);
        ASSERT_TRUE(clickCell(*control.grdResults, step.row, step.col));
        EXPECT_EQ(boxes.texts(), QStringList());
        EXPECT_NE(lastResult(control), before);
        EXPECT_EQ(placed(control, 1), (Placed{Columns, 0, 0, step.llave, step.texto}));
        EXPECT_EQ(control.queryState.currentMDX, statement(step.timeSet, measuresSet, allSlicer));
        EXPECT_EQ(data().value(1).split(u'|'), step.headers);
    }
}

// A dimension across the top showing a chosen list of members: a drill on one of its headers
// replaces the whole list with that member; on the first header, with its parent.
TEST_F(Drill, AColumnHeaderReplacesASelectionOfSeveralMembers)
{
    const QStringList quarters = {"[Time].[1997].[Q1]", "[Time].[1997].[Q2]"};
    const struct
    {
        int col;
        QString llave;
        QString texto;
        QString timeSet;
    } cases[] = {
        {2, "[Time].[1997].[Q2]", "Q2", "{[Time].[1997].[Q2]}"},
        {1, "[Time].[1997]", "1997", "{[Time].[1997]}"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.texto.toStdString());
        lay({{Rows, 0}, {Columns, 0}, {Slicer, 0}, {Slicer, 1}});
        pelmora::OrderDim &time = pelmora::orderDimAt(control.layoutState, 1);
        time.jerarquia = 1; // the members chosen
        time.padreLlave = quarters;
        time.padreTexto = {"Q1", "Q2"};
        ASSERT_TRUE(control.genSelect());
        ASSERT_EQ(data().value(1), "Measures|Q1|Q2");

        ASSERT_TRUE(clickCell(*control.grdResults, 1, c.col));
        EXPECT_EQ(boxes.texts(), QStringList());
        EXPECT_EQ(time.padreLlave, QStringList({c.llave}));
        EXPECT_EQ(time.padreTexto, QStringList({c.texto}));
        EXPECT_EQ(control.queryState.currentMDX, statement(c.timeSet, measuresSet, allSlicer));
        EXPECT_EQ(data().value(1), "Measures|" + c.texto);
    }
}

// Two dimensions on the rows: the corner is the two cells left of the column titles; a second
// click on the corner (now one column wide, two rows high) brings the axes back.
TEST_F(Drill, TheCornerSwapsTheAxesAndASecondSwapUndoesIt)
{
    lay({{Columns, 0}, {Rows, 0}, {Rows, 1}, {Slicer, 0}});
    const QStringList first = layoutOf(control);
    const QString rows = " CROSSJOIN (" + yearSet + ", " + productSet + ")";
    ASSERT_EQ(control.queryState.currentMDX,
              statement(measuresSet, rows, {"[Store].[All Stores]"}));

    ASSERT_TRUE(clickCell(*control.grdResults, 0, 1));
    EXPECT_EQ(layoutOf(control),
              QStringList({"2/0/0/[Measures].[Sales]", "1/0/0/[Time].[1997]",
                           "1/1/0/[Product].[All Products]", "0/0/7/[Store].[All Stores]"}));
    EXPECT_EQ(control.queryState.currentMDX,
              statement(rows, measuresSet, {"[Store].[All Stores]"}));
    EXPECT_EQ(titles(), QStringList({"Store|All Stores"}));
    EXPECT_EQ(control.grdResults->fixedRows(), 3);
    EXPECT_EQ(control.grdResults->fixedCols(), 1);

    ASSERT_TRUE(clickCell(*control.grdResults, 1, 0));
    EXPECT_EQ(layoutOf(control), first);
    EXPECT_EQ(control.queryState.currentMDX,
              statement(measuresSet, rows, {"[Store].[All Stores]"}));
    EXPECT_EQ(boxes.texts(), QStringList());

    // The command does the same, and answers the statement's result.
    EXPECT_TRUE(control.doAction("doSwapXY"));
    EXPECT_EQ(control.queryState.currentMDX,
              statement(rows, measuresSet, {"[Store].[All Stores]"}));
    control.controlFlags.Interactive = false;
    const auto before = lastResult(control);
    EXPECT_FALSE(control.doAction("DOSWAPXY"));
    EXPECT_EQ(lastResult(control), before);
    EXPECT_EQ(control.queryState.currentMDX,
              statement(rows, measuresSet, {"[Store].[All Stores]"}));
}

// Titles open the options of their dimension and run the statement again; value cells and the
// blank title cells do nothing.
TEST_F(Drill, TitlesRunTheStatementAgainAndValueCellsDoNothing)
{
    lay({{Columns, 0}, {Rows, 0}, {Columns, 1}, {Slicer, 0}});
    const QStringList layout = layoutOf(control);
    // " |Measures|Product| " / " |Sales|Sales|Sales" / "Time|All Products|Drink|Food"
    ASSERT_EQ(data().value(0).split(u'|').mid(0, 3), QStringList({" ", "Measures", "Product"}));
    struct Case
    {
        int row, col;
        bool runs;
        QString dimension; // the one whose options open
    } cases[] = {
        {2, 0, true, "Time"},     // the row title
        {0, 1, true, "Measures"}, // the first column title
        {0, 2, true, "Product"},  // the second
        {0, 3, false, ""},        // right of the titles
        {3, 1, false, ""},        // a value
        {5, 3, false, ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.row << "," << c.col);
        const auto before = lastResult(control);
        QString opened;
        if (c.runs) {
            dialogs.then([&opened](QDialog &dialog) {
                opened = dialog.findChild<QComboBox *>("cmbDimension")->currentText();
                return int(QDialog::Rejected);
            });
        }
        ASSERT_TRUE(clickCell(*control.grdResults, c.row, c.col));
        EXPECT_EQ(opened, c.dimension);
        EXPECT_TRUE(dialogs.done());
        EXPECT_EQ(dialogs.unexpected(), 0);
        EXPECT_EQ(lastResult(control) != before, c.runs);
        EXPECT_EQ(layoutOf(control), layout);
        EXPECT_EQ(boxes.texts(), QStringList());
    }
}

// With rows only, the rows are the statement's first axis and stand across the top of the
// grid, as columns do: their headers drill that row dimension. With columns only, the same.
TEST_F(Drill, ALayoutOfOneAxisDrillsTheDimensionAcrossTheTop)
{
    for (const int place : {Rows, Columns}) {
        SCOPED_TRACE(place);
        lay({{Slicer, 0}, {place, 0}, {Slicer, 1}, {Slicer, 2}});
        const QStringList slicer = {"[Measures].[Sales]", "[Product].[All Products]",
                                    "[Store].[All Stores]"};
        const auto query = [&](const QString &set) {
            return place == Rows ? statement(QString(), set, slicer)
                                 : statement(set, QString(), slicer);
        };
        ASSERT_EQ(control.queryState.currentMDX, query(yearSet));
        ASSERT_EQ(data().value(1), "1997|Q1|Q2");
        ASSERT_EQ(control.grdResults->fixedRows(), 2);
        ASSERT_EQ(control.grdResults->fixedCols(), 0);

        const QString q1 = descendants("[Time].[1997].[Q1]", "[Time].[Month]");
        const DrillStep steps[] = {
            {1, 1, "[Time].[1997].[Q1]", "Q1", q1, {"Q1", "January", "February"}},
            {1, 0, "[Time].[1997]", "1997", yearSet, {"1997", "Q1", "Q2"}},
            {1, 0, "[Time].[1997]", "1997", yearSet, {"1997", "Q1", "Q2"}},
        };
        for (const DrillStep &step : steps) {
            SCOPED_TRACE(testing::Message() << step.row << "," << step.col);
            const auto before = lastResult(control);
            ASSERT_TRUE(clickCell(*control.grdResults, step.row, step.col));
            EXPECT_EQ(boxes.texts(), QStringList());
            EXPECT_NE(lastResult(control), before);
            EXPECT_EQ(placed(control, 1), (Placed{place, 0, 0, step.llave, step.texto}));
            EXPECT_EQ(control.queryState.currentMDX, query(step.timeSet));
            EXPECT_EQ(data().value(1).split(u'|'), step.headers);
        }
        // The values row does nothing.
        const auto before = lastResult(control);
        ASSERT_TRUE(clickCell(*control.grdResults, 2, 1));
        EXPECT_EQ(lastResult(control), before);
    }
}

// A failure while reading the clicked member or its parent is reported and leaves the
// dimension on its members; no statement runs.
TEST_F(Drill, AFailedDrillIsReportedAndChangesNothing)
{
    const QStringList layout = layoutOf(control);

    // The grid still shows a result that is closed.
    control.queryState.cellset->close();
    ASSERT_TRUE(clickCell(*control.grdResults, 3, 0));
    EXPECT_EQ(boxes.texts(), QStringList({"doDrill: The cell set is not open"}));
    EXPECT_EQ(layoutOf(control), layout);
    EXPECT_EQ(placed(control, 1).texto, "1997");
    EXPECT_EQ(control.queryState.cellset->state(), platform::olap::Cellset::StateClosed);

    // The cube cannot be read for the parent.
    boxes.clear();
    ASSERT_TRUE(control.genSelect());
    const auto before = lastResult(control);
    control.connState.numCube = 5;
    ASSERT_TRUE(clickCell(*control.grdResults, 2, 0));
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_TRUE(boxes.texts()[0].startsWith("drillUp: ")) << boxes.texts()[0].toStdString();
    EXPECT_GT(boxes.texts()[0].size(), QString("drillUp: ").size());
    EXPECT_EQ(layoutOf(control), layout);
    EXPECT_EQ(placed(control, 1).texto, "1997");
    EXPECT_EQ(lastResult(control), before);

    // Records beyond the control's room.
    boxes.clear();
    control.connState.numCube = 0;
    control.layoutState.NumDims = pelmora::orderDimCapacity + 1;
    ASSERT_TRUE(clickCell(*control.grdResults, 3, 0));
    EXPECT_EQ(boxes.texts(), QStringList({"doDrill: Subscript out of range"}));
    EXPECT_EQ(lastResult(control), before);
    control.layoutState.NumDims = 4;
    EXPECT_EQ(layoutOf(control), layout);

    // The swap reports its own failure, then the statement's.
    boxes.clear();
    control.layoutState.NumDims = pelmora::orderDimCapacity + 1;
    EXPECT_FALSE(control.doAction("DOSWAPXY"));
    EXPECT_EQ(boxes.texts(), QStringList({"cubePivot: Subscript out of range",
                                          "genSelect: Subscript out of range"}));
    {
        // A failure that its report cannot show reaches the command's trap.
        controltest::FailingMsgBox failing(1);
        EXPECT_FALSE(control.doAction("DOSWAPXY"));
        EXPECT_EQ(failing.texts(),
                  QStringList({"cubePivot: Subscript out of range", "doSwapXY:Out of memory"}));
    }
    control.layoutState.NumDims = 4;
}
