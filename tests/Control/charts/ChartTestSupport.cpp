#include "tests/Control/charts/ChartTestSupport.h"

#include "tests/platform/olap/CubeFixtures.h"

#include <QHash>

#include <cstdlib>

namespace charts_test {

namespace {

// Without an X display the program starts offscreen; ctest gives it the display and
// QT_QPA_PLATFORM=xcb when there is one.
const bool platformChosen = [] {
    if (!std::getenv("DISPLAY"))
        setenv("QT_QPA_PLATFORM", "offscreen", 1);
    return true;
}();

} // namespace

bool haveDisplay()
{
    return platformChosen && std::getenv("DISPLAY");
}

std::unique_ptr<frmGrf2D> loadedEditor(const QString &file, int language)
{
    auto form = std::make_unique<frmGrf2D>();
    form->vLanguageId = language;
    form->vArchivo = file;
    form->Form_Load();
    return form;
}

std::vector<std::vector<double>> values2d(const platform::chart::Chart2D &chart)
{
    const platform::chart::ChartData &data = chart.chartGroups().item(1).data();
    std::vector<std::vector<double>> values;
    for (int s = 1; s <= data.numSeries(); ++s) {
        values.emplace_back();
        for (int p = 1; p <= data.numPoints(); ++p)
            values.back().push_back(data.value(s, p));
    }
    return values;
}

std::vector<std::vector<double>> values3d(const platform::chart::Chart3D &chart)
{
    const platform::chart::ElevationData &data = chart.chartGroups().item(1).elevation();
    std::vector<std::vector<double>> values;
    for (int r = 1; r <= data.rowCount(); ++r) {
        values.emplace_back();
        for (int c = 1; c <= data.columnCount(); ++c)
            values.back().push_back(data.value(r, c));
    }
    return values;
}

int pixelsUnlikeBackground(const QImage &picture)
{
    const QImage image = picture.convertToFormat(QImage::Format_RGB32);
    QHash<QRgb, int> counts;
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x)
            ++counts[line[x]];
    }
    QRgb background = 0;
    int most = -1;
    for (auto it = counts.cbegin(); it != counts.cend(); ++it) {
        if (it.value() > most) {
            most = it.value();
            background = it.key();
        }
    }
    int unlike = 0;
    for (int y = 0; y < image.height(); ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            const QRgb p = line[x];
            if (std::abs(qRed(p) - qRed(background)) + std::abs(qGreen(p) - qGreen(background))
                    + std::abs(qBlue(p) - qBlue(background))
                > 60)
                ++unlike;
        }
    }
    return unlike;
}

std::unique_ptr<QTemporaryDir> SalesControl::s_dir;
QString SalesControl::s_cube;

void SalesControl::SetUpTestSuite()
{
    s_dir = std::make_unique<QTemporaryDir>();
    s_cube = testing_support::buildFixtureCube(s_dir->path(), "sales");
}

void SalesControl::TearDownTestSuite()
{
    s_dir.reset();
}

void SalesControl::SetUp()
{
    control.openParams.OpenFile = s_cube;
    ASSERT_TRUE(control.cubeConnectNI(false));
    ASSERT_EQ(boxes.count(), 0) << boxes.texts().join("; ").toStdString();
}

void SalesControl::place(int i, int lugar, int orden)
{
    pelmora::orderDimAt(control.layoutState, i).lugar = lugar;
    pelmora::orderDimAt(control.layoutState, i).orden = orden;
}

void SalesControl::run(const QString &statement)
{
    EXPECT_TRUE(control.MDXExecute(statement));
}

} // namespace charts_test
