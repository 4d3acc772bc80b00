// A short browse of the sample cube as a new user makes it, all with the mouse: drill into the
// year's first quarter, put Product on the rows, nest Store under it, swap the axes, take Store
// back to the slicer. After each step the titles grid and the data grid must agree with the
// layout, and a picture of the control is kept in gesture-screenshots/ of the test pictures.
#include "platform/olap/local/CubeBuilder.h"
#include "tests/Control/core/GestureTestSupport.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QPixmap>
#include <QTemporaryDir>

using namespace gesturetest;
using pelmora::Columns;
using pelmora::Rows;
using pelmora::Slicer;

namespace {

// The names of the records on a place, in their order there.
QStringList namesOn(const PelmoraC02 &control, int place)
{
    QStringList names;
    const int n = pelmora::countOrderDims(control.layoutState, place);
    for (int k = 0; k < n; ++k)
        names << pelmora::orderDimAt(control.layoutState,
                                     pelmora::findOrderDim(control.layoutState, place, k))
                     .nombre;
    return names;
}

// The titles grid lists the slicer with each dimension's member; the data grid's fixed part
// holds the titles and one header row or column per dimension of each axis.
void expectConsistent(const PelmoraC02 &control)
{
    QStringList slicer;
    for (const QString &name : namesOn(control, Slicer)) {
        const int d = pelmora::findOrderDimByName(control.layoutState, name);
        slicer << name + u'|' + pelmora::orderDimAt(control.layoutState, d).padreTexto.value(0);
    }
    EXPECT_EQ(gridRows(*control.grdTitulos), slicer);

    const platform::grid::FlexGrid &grid = *control.grdResults;
    const QStringList columns = namesOn(control, Columns);
    const QStringList rows = namesOn(control, Rows);
    const int h1 = int(columns.size());
    const int h2 = int(rows.size());
    ASSERT_EQ(grid.fixedRows(), h1 + 1);
    ASSERT_EQ(grid.fixedCols(), h2);
    for (int k = 0; k < h1; ++k)
        EXPECT_EQ(grid.textMatrix(0, h2 + k), columns[k]);
    for (int k = 0; k < h2; ++k)
        EXPECT_EQ(grid.textMatrix(h1, k), rows[k]);
    // Every position of each axis has its header cells.
    const platform::olap::CellsetAxes axes = control.queryState.cellset->axes();
    EXPECT_EQ(grid.cols() - h2, axes.item(0).positions().count());
    EXPECT_EQ(grid.rows() - h1 - 1, axes.item(1).positions().count());
}

} // namespace

TEST(SampleBrowse, ADrillANestASwapAndAnUnnest)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString sample = QDir(dir.path()).filePath("sample.cub");
    platform::olap::local::writeSampleCube(sample, 2000, 7);
    const QString shots = QDir(PELMORA_TEST_PICTURES).filePath("gesture-screenshots");
    QDir().mkpath(shots);

    testing_support::ScriptedMsgBox boxes;
    PelmoraC02 control;
    control.resize(1200, 1400);
    control.openParams.OpenFile = sample;
    control.show();
    ASSERT_TRUE(control.connState.connected);
    platform::grid::FlexGrid &results = *control.grdResults;
    platform::grid::FlexGrid &titulos = *control.grdTitulos;

    int step = 0;
    const auto shoot = [&](const char *what) {
        SCOPED_TRACE(what);
        EXPECT_EQ(boxes.texts(), QStringList());
        expectConsistent(control);
        const QString file = QDir(shots).filePath(
            QStringLiteral("%1-%2.png").arg(++step).arg(QString::fromLatin1(what)));
        EXPECT_TRUE(control.grab().save(file)) << file.toStdString();
    };
    shoot("first-view");
    ASSERT_EQ(namesOn(control, Rows), QStringList({"Time"}));
    ASSERT_EQ(titulos.textMatrix(0, 0), "Product");

    // Into the first quarter of the year: its months.
    const QString quarter = results.textMatrix(3, 0);
    ASSERT_TRUE(clickCell(results, 3, 0));
    EXPECT_EQ(pelmora::orderDimAt(control.layoutState, 1).padreTexto, QStringList({quarter}));
    EXPECT_EQ(results.textMatrix(2, 0), quarter);
    shoot("drill-into-the-first-quarter");

    // Product dropped on the quarter takes Time's place on the rows.
    ASSERT_TRUE(clickCell(titulos, 0, 0));
    ASSERT_TRUE(clickCell(results, 2, 0));
    EXPECT_EQ(namesOn(control, Rows), QStringList({"Product"}));
    EXPECT_EQ(titulos.textMatrix(0, 0), "Time");
    EXPECT_EQ(titulos.textMatrix(0, 1), quarter);
    shoot("product-on-the-rows");

    // Store, picked up from the titles, nested under Product with Ctrl.
    ASSERT_EQ(titulos.textMatrix(1, 0), "Store");
    ASSERT_TRUE(clickCell(titulos, 1, 0));
    ASSERT_TRUE(ctrlClickCell(results, 2, 0));
    EXPECT_EQ(namesOn(control, Rows), QStringList({"Product", "Store"}));
    shoot("store-nested-under-product");

    // The corner swaps the axes.
    ASSERT_TRUE(clickCell(results, 0, 0));
    EXPECT_EQ(namesOn(control, Columns), QStringList({"Product", "Store"}));
    EXPECT_EQ(namesOn(control, Rows), QStringList({"Measures"}));
    shoot("axes-swapped");

    // Ctrl and a click on a Store header take Store back to the end of the slicer.
    const QString country = results.textMatrix(2, 2);
    ASSERT_TRUE(ctrlClickCell(results, 2, 2));
    EXPECT_EQ(namesOn(control, Columns), QStringList({"Product"}));
    EXPECT_EQ(namesOn(control, Slicer).last(), "Store");
    EXPECT_EQ(titulos.textMatrix(titulos.rows() - 1, 1), country);
    shoot("store-back-on-the-slicer");
}
