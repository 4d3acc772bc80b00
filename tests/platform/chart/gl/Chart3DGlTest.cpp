// The 3-D chart drawn with OpenGL on the X display (Xvfb with Mesa under scripts/test): a
// surface of rows by columns, and bars for data of one row or one column. The pictures are kept
// as test artefacts with the test pictures.
#include "platform/chart/AxisLabelFormatter.h"
#include "platform/chart/Chart3D.h"

#include "tests/platform/chart/ChartTestSupport.h"

#include <Q3DBars>
#include <Q3DSurface>
#include <Q3DTheme>
#include <QCategory3DAxis>
#include <QDir>
#include <QSurface3DSeries>
#include <QSurfaceDataProxy>
#include <QValue3DAxis>

#include <gtest/gtest.h>

#include <cstdlib>

using namespace platform::chart;

namespace {

// Without an X display the program starts offscreen and every test skips; ctest gives it the
// display, and QT_QPA_PLATFORM=xcb, when one is there.
const bool platformChosen = [] {
    if (!std::getenv("DISPLAY"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    return true;
}();

class Chart3DGl : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(platformChosen);
        if (!std::getenv("DISPLAY"))
            GTEST_SKIP() << "no X display (DISPLAY is not set): run under xvfb-run, as "
                            "scripts/test does";
        ASSERT_TRUE(Chart3D::openGLAvailable())
            << "no OpenGL on display " << std::getenv("DISPLAY");
    }

    static void fillGrid(Chart3D &chart, int rows, int columns)
    {
        chart.setIsBatched(true);
        chart.header().setText(QStringLiteral("%1 x %2").arg(rows).arg(columns));
        chart.chartArea().axes().item(1).setTitleText("Columns");
        chart.chartArea().axes().item(1).setAnnotationMethod(AnnotationMethod::DataLabels);
        chart.chartArea().axes().item(2).setTitleText("Rows");
        chart.chartArea().axes().item(2).setAnnotationMethod(AnnotationMethod::DataLabels);
        ElevationData &data = chart.chartGroups().item(1).elevation();
        data.setColumnCount(columns);
        data.setRowCount(rows);
        for (int r = 1; r <= rows; ++r) {
            data.rowLabels().add(QStringLiteral("Row %1").arg(r));
            for (int c = 1; c <= columns; ++c)
                data.setValue(r, c, 10 + (r * 7 + c * 3) % 13);
        }
        for (int c = 1; c <= columns; ++c)
            data.columnLabels().add(QStringLiteral("Col %1").arg(c));
        chart.setIsBatched(false);
    }

    static void keep(const QImage &image, const QString &name)
    {
        QDir().mkpath(QStringLiteral(PELMORA_TEST_PICTURES));
        image.save(QDir(QStringLiteral(PELMORA_TEST_PICTURES)).filePath(name + ".png"));
    }
};

} // namespace

TEST_F(Chart3DGl, DrawsASurfaceOfRowsByColumns)
{
    Chart3D chart;
    chart.resize(640, 480);
    fillGrid(chart, 4, 6);
    auto *surface = qobject_cast<Q3DSurface *>(chart.graph());
    ASSERT_NE(surface, nullptr);
    ASSERT_EQ(surface->seriesList().size(), 1);
    const QSurfaceDataProxy *proxy = surface->seriesList().constFirst()->dataProxy();
    EXPECT_EQ(proxy->rowCount(), 4);
    EXPECT_EQ(proxy->columnCount(), 6);
    EXPECT_FLOAT_EQ(proxy->itemAt(2, 3)->y(), float(10 + (3 * 7 + 4 * 3) % 13));
    EXPECT_EQ(surface->axisX()->title(), "Columns");
    EXPECT_EQ(surface->axisZ()->title(), "Rows");
    auto *columns = qobject_cast<AxisLabelFormatter *>(surface->axisX()->formatter());
    ASSERT_NE(columns, nullptr);
    EXPECT_EQ(columns->labelAt(0), "Col 1");
    EXPECT_EQ(columns->labelAt(5), "Col 6");
    EXPECT_EQ(columns->labelAt(2.5), "");

    const QImage picture = chart.picture();
    keep(picture, QStringLiteral("chart3d-surface"));
    EXPECT_EQ(picture.size(), QSize(640, 480));
    EXPECT_GT(chart_test::pixelsUnlike(picture, Qt::white), 640 * 480 / 20);
}

TEST_F(Chart3DGl, OneRowOrOneColumnIsDrawnAsBars)
{
    struct Shape
    {
        int rows;
        int columns;
    };
    for (const Shape shape : {Shape{1, 5}, Shape{5, 1}, Shape{1, 1}}) {
        Chart3D chart;
        chart.resize(480, 360);
        fillGrid(chart, shape.rows, shape.columns);
        auto *bars = qobject_cast<Q3DBars *>(chart.graph());
        ASSERT_NE(bars, nullptr) << shape.rows << "x" << shape.columns;
        EXPECT_EQ(bars->rowAxis()->labels().size(), shape.rows);
        EXPECT_EQ(bars->columnAxis()->labels().value(0), "Col 1");
        const QImage picture = chart.picture();
        keep(picture, QStringLiteral("chart3d-bars-%1x%2").arg(shape.rows).arg(shape.columns));
        EXPECT_GT(chart_test::pixelsUnlike(picture, Qt::white), 480 * 360 / 50)
            << shape.rows << "x" << shape.columns;
    }
}

// Labels read at the control's size: large bold black text on white, turned to the viewer, on
// either kind of graph.
TEST_F(Chart3DGl, LabelsAreLargeDarkOnLightAndFaceTheViewer)
{
    for (const int rows : {4, 1}) {
        SCOPED_TRACE(rows);
        Chart3D chart;
        chart.resize(420, 160);
        fillGrid(chart, rows, 5);
        QAbstract3DGraph *graph = chart.graph();
        ASSERT_NE(graph, nullptr);
        const Q3DTheme *theme = graph->activeTheme();
        EXPECT_GE(theme->font().pointSizeF(), 60);
        EXPECT_TRUE(theme->font().bold());
        EXPECT_EQ(theme->labelTextColor(), QColor(Qt::black));
        EXPECT_TRUE(theme->isLabelBackgroundEnabled());
        EXPECT_EQ(theme->labelBackgroundColor(), QColor(Qt::white));
        QList<QAbstract3DAxis *> axes;
        if (auto *surface = qobject_cast<Q3DSurface *>(graph))
            axes = {surface->axisX(), surface->axisY(), surface->axisZ()};
        else if (auto *bars = qobject_cast<Q3DBars *>(graph))
            axes = {bars->rowAxis(), bars->columnAxis(), bars->valueAxis()};
        ASSERT_EQ(axes.size(), 3);
        for (const QAbstract3DAxis *axis : axes)
            EXPECT_EQ(axis->labelAutoRotation(), 90);
    }
}

TEST_F(Chart3DGl, SwitchesBetweenSurfaceAndBarsAsTheDataChanges)
{
    Chart3D chart;
    chart.resize(400, 300);
    fillGrid(chart, 3, 3);
    EXPECT_NE(qobject_cast<Q3DSurface *>(chart.graph()), nullptr);
    chart.chartGroups().item(1).elevation().setRowCount(1);
    chart.refresh();
    EXPECT_NE(qobject_cast<Q3DBars *>(chart.graph()), nullptr);
    chart.chartGroups().item(1).elevation().setRowCount(3);
    chart.chartGroups().item(1).setChartType(2);
    chart.refresh();
    EXPECT_NE(qobject_cast<Q3DBars *>(chart.graph()), nullptr);
    chart.chartGroups().item(1).setChartType(1);
    chart.refresh();
    EXPECT_NE(qobject_cast<Q3DSurface *>(chart.graph()), nullptr);
    EXPECT_GT(chart_test::pixelsUnlike(chart.picture(), Qt::white), 400 * 300 / 20);
}
