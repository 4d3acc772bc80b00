// Running statements on the open cube: the statement of the layout, statements given, and the
// way failures are reported.
#include "Control/core/PelmoraC02.h"
#include "platform/forms/Screen.h"
#include "platform/olap/local/CubeBuilder.h"
#include "platform/widgets/ImageList.h"
#include "platform/widgets/Toolbar.h"
#include "tests/Control/core/RouteTestSupport.h"
#include "tests/platform/olap/CubeFixtures.h"
#include "tests/support/ScriptedModalRunner.h"
#include "tests/support/ScriptedMsgBox.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QAction>
#include <QFileDialog>
#include <QLabel>
#include <QTemporaryDir>

#include <memory>

using controltest::FailingMsgBox;
using platform::olap::Cellset;
using testing_support::ScriptedModalRunner;
using testing_support::ScriptedMsgBox;

namespace {

const QString goodStatement =
    "SELECT {[Measures].[Sales]} ON AXIS(0), {[Time].[1997], [Time].[1998]} ON AXIS(1) "
    "FROM [Sales]";
const QString badStatement = "SELECT {[Measures].[Sales] ON AXIS(0) FROM [Sales]";

// The statement of the sales cube's first layout: the measures on the columns, the first year
// and its quarters on the rows.
const QString firstStatement =
    "SELECT \r\nDescendants([Measures].[Sales], [Measures].[MeasuresLevel], SELF_AND_BEFORE) "
    "ON AXIS(0), \r\nDescendants([Time].[1997], [Time].[Quarter], SELF_AND_BEFORE) ON "
    "AXIS(1)\r\n FROM [Sales]\r\n WHERE ([Product].[All Products], [Store].[All Stores])"
    "\r\n\r\n";

class Execution : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_dir = std::make_unique<QTemporaryDir>();
        s_cube = testing_support::buildFixtureCube(s_dir->path(), "sales");
    }

    static void TearDownTestSuite() { s_dir.reset(); }

    void openCube()
    {
        control.openParams.OpenFile = s_cube;
        ASSERT_TRUE(control.cubeConnectNI(false));
        ASSERT_EQ(boxes.count(), 0);
    }

    bool cellsetOpen() const
    {
        return control.queryState.cellset
               && control.queryState.cellset->state() == Cellset::StateOpen;
    }

    static std::unique_ptr<QTemporaryDir> s_dir;
    static QString s_cube;

    ScriptedMsgBox boxes;
    ScriptedModalRunner runner;
    PelmoraC02 control;
};

std::unique_ptr<QTemporaryDir> Execution::s_dir;
QString Execution::s_cube;

} // namespace

TEST_F(Execution, NothingRunsBeforeACubeIsOpen)
{
    EXPECT_FALSE(control.MDXExecute(goodStatement));
    EXPECT_FALSE(control.genSelect());
    EXPECT_EQ(boxes.count(), 0);
    EXPECT_FALSE(control.queryState.cellset.has_value());
    EXPECT_EQ(control.queryState.currentMDX, "");
    EXPECT_EQ(platform::forms::mousePointer(), platform::forms::DefaultPointer);
}

TEST_F(Execution, AStatementThatRunsBecomesTheCurrentOne)
{
    openCube();
    EXPECT_TRUE(control.MDXExecute(goodStatement));
    EXPECT_TRUE(cellsetOpen());
    EXPECT_EQ(control.queryState.currentMDX, goodStatement);
    EXPECT_EQ(control.queryState.cellset->axes().item(1).positions().count(), 2);

    // The same statement again: a new result in place of the first.
    EXPECT_TRUE(control.MDXExecute(goodStatement));
    EXPECT_TRUE(cellsetOpen());
    EXPECT_EQ(control.queryState.cellset->source(), goodStatement);
    EXPECT_EQ(control.queryState.currentMDX, goodStatement);
    EXPECT_EQ(boxes.count(), 0);
    EXPECT_EQ(platform::forms::mousePointer(), platform::forms::DefaultPointer);
}

TEST_F(Execution, AFailingStatementIsReportedOnceAndShowsAnEmptyResult)
{
    openCube();
    ASSERT_TRUE(control.MDXExecute(goodStatement));
    EXPECT_TRUE(control.MDXExecute(badStatement)); // its callers go on as after any statement
    ASSERT_EQ(boxes.count(), 1);
    const QString text = boxes.texts()[0];
    EXPECT_TRUE(text.startsWith("MDXExe: ")) << text.toStdString();
    EXPECT_TRUE(text.endsWith("\r\nMDX: " + badStatement)) << text.toStdString();
    EXPECT_GT(text.size(), QString("MDXExe: \r\nMDX: " + badStatement).size()); // a reason
    EXPECT_EQ(boxes.shown()[0].buttons, platform::forms::OkOnly);
    EXPECT_EQ(control.queryState.currentMDX, goodStatement);
    EXPECT_FALSE(cellsetOpen());
    EXPECT_EQ(platform::forms::mousePointer(), platform::forms::DefaultPointer);

    // The cell set that did not open stands in the way of nothing: reconnecting and running
    // work as before.
    boxes.clear();
    EXPECT_TRUE(control.cubeConnectNI(false));
    EXPECT_TRUE(control.MDXExecute(goodStatement));
    EXPECT_TRUE(cellsetOpen());
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(Execution, AStatementThatCannotStartIsReportedWithMessage8)
{
    openCube();
    for (int language : {0, 1}) {
        SCOPED_TRACE(language);
        control.language.LanguageID = language;
        FailingMsgBox failing(1); // reporting the failed statement fails in turn
        EXPECT_FALSE(control.MDXExecute(badStatement));
        ASSERT_EQ(failing.texts().size(), 2);
        EXPECT_TRUE(failing.texts()[0].startsWith("MDXExe: "));
        EXPECT_EQ(failing.texts()[1],
                  "MDXExecute: Out of memory\r\n"
                      + QString(language == 0 ? "Error while executing: "
                                              : "Error al ejecutar instrucción: ")
                      + badStatement);
    }
}

TEST_F(Execution, ReconnectingClosesTheOpenResultFirst)
{
    openCube();
    ASSERT_TRUE(control.MDXExecute(goodStatement));
    ASSERT_TRUE(cellsetOpen());
    EXPECT_TRUE(control.cubeConnectNI(false));
    EXPECT_FALSE(cellsetOpen());
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(Execution, TheLayoutsStatementRunsAfterConnecting)
{
    control.openParams.OpenFile = s_cube;
    control.gestureState.movingDim = true; // a picked-up title is dropped
    EXPECT_TRUE(control.cubeConnect(false));
    EXPECT_EQ(boxes.count(), 0);
    EXPECT_FALSE(control.gestureState.movingDim);
    EXPECT_EQ(control.queryState.currentMDX.toStdString(), firstStatement.toStdString());
    ASSERT_TRUE(cellsetOpen());
    const platform::olap::CellsetAxes axes = control.queryState.cellset->axes();
    ASSERT_EQ(axes.count(), 2);
    EXPECT_EQ(axes.item(0).positions().count(), 1); // Sales
    EXPECT_EQ(axes.item(1).positions().count(), 3); // 1997 and its quarters, not 1998
}

// Layouts whose statements use the ranking, ordering and element types; the last one orders
// without order fields, which the engine refuses.
TEST_F(Execution, GeneratedStatementsRunOnTheEngine)
{
    openCube();
    pelmora::LayoutState &layout = control.layoutState;
    pelmora::OrderDim &measures = layout.orderDim[0];
    pelmora::OrderDim &time = layout.orderDim[1];
    pelmora::OrderDim &product = layout.orderDim[2];
    pelmora::OrderDim &store = layout.orderDim[3];

    // Time by months on the columns; on the rows the top two categories by cost, ordered,
    // nested with the cities of the USA; the measure on the slicer.
    measures.lugar = pelmora::Slicer;
    time.lugar = pelmora::Columns;
    time.jerarquia = 6;
    time.padreLlave = {"[Time].[Month]"};
    time.padreTexto = {"Month"};
    product.lugar = pelmora::Rows;
    product.jerarquia = 2;
    product.vacio = false;
    product.opcionTipo = 1;
    product.opcionValor = 2;
    product.opcionCampo = "[Measures].[Cost]";
    product.ordenTipo = 4;
    product.ordenCampos = {"[Measures].[Cost]"};
    store.lugar = pelmora::Rows;
    store.orden = 1;
    store.jerarquia = 5;
    store.padreLlave = {"[Store].[USA]"};
    store.padreTexto = {"USA"};
    EXPECT_TRUE(control.genSelect());
    EXPECT_EQ(boxes.texts(), QStringList());
    ASSERT_TRUE(cellsetOpen());
    EXPECT_EQ(control.queryState.cellset->axes().item(0).positions().count(), 3);
    const int rows = control.queryState.cellset->axes().item(1).positions().count();
    EXPECT_GT(rows, 0);
    EXPECT_LE(rows, 4); // two categories by two cities, empty ones left out

    // The measures on the columns; stores by a field list, ranked by sum, and an order
    // without order fields, which leaves the set in its own order.
    measures.lugar = pelmora::Columns;
    measures.jerarquia = 6;
    time.lugar = pelmora::Slicer;
    time.padreLlave = {"[Time].[1998]"};
    product.lugar = pelmora::Slicer;
    store.orden = 0;
    store.jerarquia = 1;
    store.vacio = true;
    store.padreLlave = {"[Store].[USA]", "[Store].[Canada]"};
    store.padreTexto = {"USA", "Canada"};
    store.opcionTipo = 2;
    store.opcionTipoReg = 1;
    store.opcionValor = 1000;
    store.opcionCampo = "[Measures].[Sales]";
    store.ordenTipo = 1;
    EXPECT_TRUE(control.genSelect());
    EXPECT_EQ(boxes.texts(), QStringList());
    ASSERT_TRUE(cellsetOpen());
    EXPECT_TRUE(control.queryState.currentMDX.contains(
        "\r\nBottomSum({[Store].[USA], [Store].[Canada]}, 1000, [Measures].[Sales]) ON AXIS(1)"));
    EXPECT_EQ(control.queryState.cellset->axes().item(1).positions().count(), 2);
}

TEST_F(Execution, AFixedStatementMakesTheShownControlAReport)
{
    control.openParams.OpenFile = s_cube;
    control.openParams.MDX = goodStatement;
    control.UserControl_Show();
    EXPECT_EQ(boxes.count(), 0);
    EXPECT_TRUE(cellsetOpen());
    EXPECT_EQ(control.queryState.currentMDX, goodStatement);
    EXPECT_FALSE(control.controlFlags.Interactive);
    EXPECT_TRUE(control.grdTitulos->isHidden());
    EXPECT_FALSE(control.tbToolBar->button(14)->isVisible());
    EXPECT_TRUE(control.tbToolBar->button(2)->isVisible());

    // Without a fixed statement the layout's statement runs.
    PelmoraC02 other;
    other.openParams.OpenFile = s_cube;
    other.UserControl_Show();
    EXPECT_EQ(other.queryState.currentMDX.toStdString(), firstStatement.toStdString());
    EXPECT_TRUE(other.controlFlags.Interactive);
    EXPECT_EQ(boxes.count(), 0);
}

// A user opens the sample cube from the asking dialog.
TEST(FirstUse, TheSampleCubeOpensFromTheOpenDialogAndItsFirstViewRuns)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString sample = QDir(dir.path()).filePath("sample.cub");
    platform::olap::local::writeSampleCube(sample, 2000, 7);

    ScriptedMsgBox boxes;
    ScriptedModalRunner runner;
    runner.then([](QDialog &dialog) {
        ScriptedModalRunner::click(dialog, "&Local cube");
        return -1;
    });
    runner.then([&](QDialog &dialog) {
        auto *files = qobject_cast<QFileDialog *>(&dialog);
        if (!files)
            return int(QDialog::Rejected);
        files->selectFile(sample);
        return int(QDialog::Accepted);
    });
    PelmoraC02 control;
    control.resize(800, 600);
    control.show();
    control.tbToolBar->button(1)->action()->trigger(); // "openOlap"
    EXPECT_EQ(runner.shown(), QStringList({"frmOpen", "openFileDialog"}));
    EXPECT_EQ(boxes.texts(), QStringList());
    EXPECT_EQ(control.lblCubo->text(), sample);
    EXPECT_EQ(control.openParams.openCube, "Sales");
    EXPECT_TRUE(control.connState.connected);
    ASSERT_TRUE(control.queryState.cellset.has_value());
    EXPECT_EQ(control.queryState.cellset->state(), Cellset::StateOpen);
    EXPECT_TRUE(control.queryState.currentMDX.startsWith("SELECT \r\n"));
}
