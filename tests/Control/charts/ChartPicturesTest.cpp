// The sample cube's first view drawn by the control's charts on the X display (Xvfb under
// ctest): a 2-D bar chart and a 3-D surface kept as PNG artefacts with the test pictures, and
// picture files of both charts in every format.
#include "tests/Control/charts/ChartTestSupport.h"

#include "platform/chart/Picture.h"

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <Q3DSurface>

namespace PictureKind = platform::chart::PictureKind;

namespace {

class ChartPictures : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!charts_test::haveDisplay())
            GTEST_SKIP() << "no X display (DISPLAY is not set): run under xvfb-run, as "
                            "scripts/test does";
        ASSERT_TRUE(platform::chart::Chart3D::openGLAvailable());
        ASSERT_TRUE(QFileInfo::exists(PELMORA_SAMPLE_CUBE)) << PELMORA_SAMPLE_CUBE;
        control.resize(900, 1000);
        // Shown, the control opens its cube and runs the first view.
        control.openParams.OpenFile = PELMORA_SAMPLE_CUBE;
        control.show();
        ASSERT_TRUE(control.connState.connected);
        ASSERT_GT(dataRows(), 1);
        ASSERT_EQ(boxes.count(), 0) << boxes.texts().join("; ").toStdString();
        QDir().mkpath(QStringLiteral(PELMORA_TEST_PICTURES));
    }

    // The data cells of the first view.
    int dataRows() const { return control.grdResults->rows() - control.grdResults->fixedRows(); }
    int dataCols() const { return control.grdResults->cols() - control.grdResults->fixedCols(); }

    testing_support::ScriptedMsgBox boxes;
    PelmoraC02 control;
};

TEST_F(ChartPictures, TheFirstViewAsA2dBarChart)
{
    control.grf2d->chartGroups().item(1).setChartType(platform::chart::ChartType::Bar);
    ASSERT_TRUE(control.showChart2d());
    control.grf2d->refresh();
    const QImage picture = control.grf2d->picture();
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), control.grf2d->size());
    picture.save(QStringLiteral(PELMORA_TEST_PICTURES "/control-chart2d-bars.png"));
    const auto &data = control.grf2d->chartGroups().item(1).data();
    EXPECT_EQ(data.numSeries(), dataRows());
    EXPECT_EQ(data.numPoints(), dataCols());
    EXPECT_GT(charts_test::pixelsUnlikeBackground(picture),
              picture.width() * picture.height() / 50);
}

// The first view has one column (a measure), which the 3-D chart draws as bars; with the stores
// nested under the measure on the columns it becomes a surface of rows by columns.
TEST_F(ChartPictures, TheFirstViewAsA3dSurface)
{
    ASSERT_TRUE(control.showChart3d());
    control.grf3d->refresh();
    const auto &elevation = control.grf3d->chartGroups().item(1).elevation();
    EXPECT_EQ(elevation.rowCount(), dataRows());
    EXPECT_EQ(elevation.columnCount(), dataCols());
    if (dataCols() == 1) {
        EXPECT_TRUE(control.grf3d->drawsBars());
    }
    QImage picture = control.grf3d->picture();
    picture.save(QStringLiteral(PELMORA_TEST_PICTURES "/control-chart3d-first-view.png"));
    EXPECT_GT(charts_test::pixelsUnlikeBackground(picture),
              picture.width() * picture.height() / 50);

    // The stores under the measure: leave the slicer, close its gap.
    const int store = control.findOrderDimByName("Store");
    ASSERT_GE(store, 0);
    pelmora::OrderDim &record = pelmora::orderDimAt(control.layoutState, store);
    ASSERT_EQ(record.lugar, pelmora::Slicer);
    for (int i = 0; i < control.layoutState.NumDims; ++i) {
        pelmora::OrderDim &other = pelmora::orderDimAt(control.layoutState, i);
        if (other.lugar == pelmora::Slicer && other.orden > record.orden)
            --other.orden;
    }
    record.orden = control.countOrderDims(pelmora::Columns);
    record.lugar = pelmora::Columns;
    // Its elements as the rows show theirs: the member and one level below it.
    const pelmora::OrderDim &time =
        pelmora::orderDimAt(control.layoutState, control.findOrderDimByName("Time"));
    record.jerarquia = time.jerarquia;
    record.jerarquiaSalto = time.jerarquiaSalto;
    ASSERT_TRUE(control.genSelect());
    ASSERT_EQ(boxes.count(), 0) << boxes.texts().join("; ").toStdString();
    ASSERT_GE(dataCols(), 2);
    control.grf3d->refresh();
    EXPECT_EQ(elevation.columnCount(), dataCols());
    EXPECT_EQ(elevation.columnLabels().item(1),
              control.grdResults->textMatrix(1, control.grdResults->fixedCols()) + " / "
                  + control.grdResults->textMatrix(2, control.grdResults->fixedCols()));
    EXPECT_NE(qobject_cast<Q3DSurface *>(control.grf3d->graph()), nullptr);
    picture = control.grf3d->picture();
    ASSERT_FALSE(picture.isNull());
    picture.save(QStringLiteral(PELMORA_TEST_PICTURES "/control-chart3d-surface.png"));
    EXPECT_GT(charts_test::pixelsUnlikeBackground(picture),
              picture.width() * picture.height() / 50);
}

// Each chart's pictures under exactly the paths given, read back as images of the chart.
TEST_F(ChartPictures, PictureFilesInEveryFormat)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    struct Format
    {
        const char *name;
        const char *readAs; // Qt's reader format; empty for the metafile
    };
    const Format formats[] = {{"jpg", "jpeg"}, {"png", "png"}, {"bmp", "bmp"}, {"wmf", ""}};
    for (const bool threeD : {false, true}) {
        SCOPED_TRACE(threeD ? "3-D" : "2-D");
        if (threeD) {
            ASSERT_TRUE(control.showChart3d());
        }
        for (const Format &f : formats) {
            SCOPED_TRACE(f.name);
            // Names without their usual extension: the path is used as given.
            const QString path = dir.filePath(
                QStringLiteral("%1-%2.pic").arg(threeD ? "chart3d" : "chart2d", f.name));
            bool written = false;
            const QString name = QString::fromLatin1(f.name);
            if (threeD) {
                platform::chart::Chart3D &chart = *control.grf3d;
                written = name == "jpg"   ? chart.saveJpeg(path, 80)
                          : name == "png" ? chart.savePng(path)
                          : name == "bmp" ? chart.savePicture(path, PictureKind::Bitmap)
                                          : chart.savePicture(path, PictureKind::Metafile);
            } else {
                platform::chart::Chart2D &chart = *control.grf2d;
                written = name == "jpg"   ? chart.saveJpeg(path, 80)
                          : name == "png" ? chart.savePng(path)
                          : name == "bmp" ? chart.savePicture(path, PictureKind::Bitmap)
                                          : chart.savePicture(path, PictureKind::Metafile);
            }
            ASSERT_TRUE(written);
            QImage image;
            if (*f.readAs) {
                QImageReader reader(path, f.readAs);
                image = reader.read();
                EXPECT_EQ(reader.format(), QByteArray(f.readAs));
            } else {
                image = platform::chart::readMetafile(path);
            }
            ASSERT_FALSE(image.isNull()) << path.toStdString();
            const QSize size = threeD ? control.grf3d->size() : control.grf2d->size();
            EXPECT_EQ(image.size(), size);
            EXPECT_GT(charts_test::pixelsUnlikeBackground(image),
                      image.width() * image.height() / 50);
        }
    }
}

} // namespace
