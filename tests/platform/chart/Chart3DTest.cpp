// The 3-D chart without OpenGL: its format files, its batch, and its flat drawing, which stands
// in for the OpenGL graph in pictures on platforms that have none.
#include "platform/chart/Chart3D.h"
#include "platform/chart/ChartFormat.h"

#include "tests/platform/chart/ChartTestSupport.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace platform::chart;

namespace {

void fillGrid(Chart3D &chart, int rows, int columns)
{
    ElevationData &data = chart.chartGroups().item(1).elevation();
    data.setRowCount(rows);
    data.setColumnCount(columns);
    data.rowLabels().removeAll();
    data.columnLabels().removeAll();
    for (int r = 1; r <= rows; ++r) {
        data.rowLabels().add(QStringLiteral("R%1").arg(r));
        for (int c = 1; c <= columns; ++c)
            data.setValue(r, c, (r * 3 + c * 5) % 11);
    }
    for (int c = 1; c <= columns; ++c)
        data.columnLabels().add(QStringLiteral("C%1").arg(c));
}

} // namespace

TEST(Chart3D, FormatFilesRoundTripAndBadOnesChangeNothing)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    Chart3DModel filled;
    chart_test::fillEverything(filled);
    const QString original = dir.filePath("original.oc3");
    ASSERT_TRUE(writeChartFormat(chart3DFormatText(filled), original));

    Chart3D chart;
    ASSERT_TRUE(chart.loadFormat(original));
    EXPECT_TRUE(chart.model() == filled);
    const QString saved = dir.filePath("saved.oc3");
    ASSERT_TRUE(chart.saveFormat(saved));
    Chart3D fresh;
    ASSERT_TRUE(fresh.loadFormat(saved));
    EXPECT_TRUE(fresh.model() == filled);

    // A 2-D file, another version, a cut file, a refused value: false, nothing changed.
    QFile file(original);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray good = file.readAll();
    const QByteArray bad[] = {
        chart2DFormatText(Chart2DModel()),
        QByteArray(good).replace("CHART3D 1", "CHART3D 0"),
        good.left(good.size() - 10),
        QByteArray(good).replace("View.SelectionMode=3", "View.SelectionMode=4"),
        QByteArray(good).replace("Group.Elevation.RowCount=3", "Group.Elevation.RowCount=4"),
    };
    Chart3D other;
    fillGrid(other, 2, 2);
    const Chart3DModel before = other.model();
    for (const QByteArray &text : bad) {
        ASSERT_TRUE(writeChartFormat(text, dir.filePath("bad.oc3")));
        EXPECT_FALSE(other.loadFormat(dir.filePath("bad.oc3"))) << text.left(40).toStdString();
        EXPECT_TRUE(other.model() == before);
    }
    EXPECT_FALSE(other.loadFormat(dir.filePath("missing.oc3")));
    EXPECT_TRUE(other.model() == before);
}

TEST(Chart3D, DrawsFlatWithoutOpenGL)
{
    ASSERT_FALSE(Chart3D::openGLAvailable()) << "this program runs offscreen";
    struct Shape
    {
        int rows;
        int columns;
        bool bars;
    };
    for (const Shape shape :
         {Shape{4, 5, false}, Shape{1, 5, true}, Shape{5, 1, true}, Shape{1, 1, true}}) {
        Chart3D chart;
        chart.resize(400, 300);
        fillGrid(chart, shape.rows, shape.columns);
        chart.header().setText("Elevation");
        chart.refresh();
        EXPECT_EQ(chart.graph(), nullptr);
        EXPECT_EQ(chart.drawsBars(), shape.bars) << shape.rows << "x" << shape.columns;
        const QImage picture = chart.picture();
        EXPECT_EQ(picture.size(), QSize(400, 300));
        // Besides the floor and walls, the data's colours.
        EXPECT_TRUE(chart_test::hasColor(picture, QColor(220, 40, 30), 60)
                    || chart_test::hasColor(picture, QColor(240, 210, 40), 60))
            << shape.rows << "x" << shape.columns;
    }
}

TEST(Chart3D, RedrawsOnlyOutsideABatch)
{
    Chart3D chart;
    chart.resize(300, 200);
    chart.refresh();
    const QImage before = chart.grab().toImage();
    chart.setIsBatched(true);
    fillGrid(chart, 3, 3);
    chart.header().setText("Waiting");
    QCoreApplication::processEvents();
    EXPECT_EQ(chart.grab().toImage(), before) << "drawn while batched";
    chart.setIsBatched(false);
    EXPECT_NE(chart.grab().toImage(), before) << "not drawn when the batch ended";
}

TEST(Chart3D, KeepsActionCallsInOrder)
{
    Chart3D chart;
    for (qint32 code : {61, 65, 82, 104, 105, 142, 9})
        chart.callAction(code, false);
    EXPECT_EQ(chart.actionCalls(), (QList<qint32>{61, 65, 82, 104, 105, 142, 9}));
}
