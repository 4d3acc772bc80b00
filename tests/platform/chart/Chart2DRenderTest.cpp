// Drawing the 2-D chart: every chart type draws its series, the looks that the layer draws
// itself show, and the legend stands where its anchor puts it.
#include "platform/chart/Chart2D.h"
#include "platform/chart/ChartPaint.h"

#include "tests/platform/chart/ChartTestSupport.h"

#include <QChart>
#include <QChartView>
#include <QKeyEvent>
#include <QApplication>
#include <QDir>
#include <QLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

using namespace platform::chart;
using chart_test::hasColor;
using chart_test::pixelsUnlike;

namespace {

// Distinct, saturated colours for the series, so that their pixels can be found.
const QColor SeriesColors[] = {QColor(220, 20, 20), QColor(20, 160, 20), QColor(20, 20, 220),
                               QColor(200, 160, 0)};

void colourSeries(ChartGroup &group, int series)
{
    for (int s = 1; s <= series; ++s) {
        SeriesStyle &style = group.styles().item(s);
        const qint32 color = colorValue(SeriesColors[(s - 1) % 4]);
        style.line().setColor(color);
        style.line().setWidth(3);
        style.fill().interior().setBackground(color);
        style.symbol().setColor(color);
    }
}

QImage plotImage(Chart2D &chart)
{
    chart.resize(480, 360);
    chart.refresh();
    chart.show();
    return chart.chartView()->grab().toImage();
}

struct TypeCase
{
    const char *name;
    qint32 type;
    int series;
    bool stacked = false;
    bool horizontal = false;
    bool percent = false;
    bool firstColourShows = true; // the candles draw tints of the colour
};

} // namespace

TEST(Chart2DRender, EveryChartTypeDrawsItsSeries)
{
    const std::vector<TypeCase> cases = {
        {"plot", ChartType::Plot, 3},
        {"stacked plot", ChartType::Plot, 3, true},
        {"bar", ChartType::Bar, 3},
        {"horizontal bar", ChartType::Bar, 3, false, true},
        {"stacked bar", ChartType::Bar, 3, true},
        {"100 percent bar", ChartType::Bar, 3, false, false, true},
        {"pie", ChartType::Pie, 3},
        {"stacking bar", ChartType::StackingBar, 3},
        {"area", ChartType::Area, 3},
        {"stacked area", ChartType::Area, 3, true},
        {"hi-lo", ChartType::HiLo, 2},
        {"hi-lo-open-close", ChartType::HiLoOpenClose, 4},
        {"candle", ChartType::Candle, 4, false, false, false, false},
        {"polar", ChartType::Polar, 3},
        {"radar", ChartType::Radar, 3},
        {"filled radar", ChartType::FilledRadar, 3},
        {"bubble", ChartType::Bubble, 2},
    };
    for (const TypeCase &c : cases) {
        Chart2D chart;
        ChartGroup &group = chart.chartGroups().item(1);
        chart_test::fillData(group, c.series, 5);
        if (c.type == ChartType::HiLo || c.type == ChartType::HiLoOpenClose
            || c.type == ChartType::Candle) {
            // high, low, open, close per point
            for (int p = 1; p <= 5; ++p) {
                const double values[] = {40.0 + p, 10.0 + p, 20.0 + 2 * p, 30.0 - p};
                for (int s = 1; s <= c.series; ++s)
                    group.data().setValue(s, p, values[s - 1]);
            }
        }
        colourSeries(group, c.series);
        group.setChartType(c.type);
        group.setIsStacked(c.stacked);
        chart.chartArea().setIsHorizontal(c.horizontal);
        chart.chartArea().axes().y().setIs100Percente(c.percent);
        const QImage image = plotImage(chart);
        EXPECT_GT(pixelsUnlike(image, Qt::white), image.width() * image.height() / 50) << c.name;
        if (c.firstColourShows)
            EXPECT_TRUE(hasColor(image, SeriesColors[0])) << c.name << ": first series missing";
        else
            EXPECT_TRUE(hasColor(image, SeriesColors[0].lighter(130), 40)
                        || hasColor(image, SeriesColors[0].darker(130), 40))
                << c.name;
    }
}

TEST(Chart2DRender, AnEmptyChartDrawsItsAxesOnly)
{
    Chart2D chart;
    const QImage image = plotImage(chart);
    EXPECT_GT(pixelsUnlike(image, Qt::white), 0);
    for (const QColor &color : SeriesColors)
        EXPECT_FALSE(hasColor(image, color));
}

TEST(Chart2DRender, HolesAndExtremeValuesDrawWithoutFailing)
{
    for (qint32 type = ChartType::Plot; type <= ChartType::Bubble; ++type) {
        Chart2D chart;
        ChartGroup &group = chart.chartGroups().item(1);
        chart_test::fillData(group, 4, 3);
        group.data().setValue(1, 1, std::nan(""));
        group.data().setValue(2, 2, std::numeric_limits<double>::infinity());
        group.data().setValue(3, 3, -1e300);
        group.data().setValue(4, 1, 1e300);
        group.setChartType(type);
        chart.chartArea().axes().y().setIsLogarithmic(type % 2 == 0);
        const QImage image = plotImage(chart);
        EXPECT_FALSE(image.isNull()) << "type " << type;
    }
}

TEST(Chart2DRender, TitlesLegendAndBordersShowInThePicture)
{
    Chart2D chart;
    chart.resize(480, 360);
    chart_test::fillData(chart.chartGroups().item(1), 2, 3);
    chart.chartGroups().item(1).setChartType(ChartType::Bar);
    const QImage plain = chart.picture();

    chart.header().setText("Sales by region");
    chart.header().interior().setBackground(colorValue(QColor(250, 240, 10)));
    chart.footer().setText("footer");
    chart.legend().setIsShowing(true);
    chart.legend().interior().setBackground(colorValue(QColor(10, 240, 250)));
    chart.border().setBorderType(BorderType::Plain);
    chart.border().setBorderWidth(4);
    chart.interior().setBackground(colorValue(QColor(230, 230, 255)));
    const QImage dressed = chart.picture();
    EXPECT_EQ(dressed.size(), QSize(480, 360));
    EXPECT_TRUE(hasColor(dressed, QColor(250, 240, 10), 4)) << "header";
    EXPECT_TRUE(hasColor(dressed, QColor(10, 240, 250), 4)) << "legend";
    EXPECT_EQ(QColor(dressed.pixel(1, 1)), QColor(Qt::black)) << "border";
    EXPECT_EQ(QColor(dressed.pixel(6, dressed.height() / 2)), QColor(230, 230, 255)) << "interior";
    EXPECT_FALSE(hasColor(plain, QColor(250, 240, 10), 4));
}

TEST(Chart2DRender, TheLegendStandsWhereItsAnchorPutsIt)
{
    Chart2D chart;
    chart.resize(480, 360);
    chart_test::fillData(chart.chartGroups().item(1), 2, 3);
    chart.legend().setIsShowing(true);
    chart.show();
    struct Place
    {
        qint32 anchor;
        bool plotMovesRight;
        bool plotMovesDown;
    };
    chart.legend().setIsShowing(false);
    chart.refresh();
    const QRect alone = chart.chartView()->geometry();
    chart.legend().setIsShowing(true);
    for (const Place place :
         {Place{Anchor::East, false, false}, Place{Anchor::West, true, false},
          Place{Anchor::North, false, true}, Place{Anchor::SouthWest, true, false}}) {
        chart.legend().setAnchor(place.anchor);
        chart.refresh();
        chart.layout()->activate();
        chart.chartView()->parentWidget()->layout()->activate();
        const QRect plot = chart.chartView()->geometry();
        EXPECT_EQ(plot.left() > alone.left(), place.plotMovesRight) << place.anchor;
        EXPECT_EQ(plot.top() > alone.top(), place.plotMovesDown) << place.anchor;
        EXPECT_LT(plot.width() * plot.height(), alone.width() * alone.height()) << place.anchor;
    }
}

TEST(Chart2DRender, ImagesFillTheirRectangleByLayout)
{
    QImage red(10, 10, QImage::Format_RGB32);
    red.fill(Qt::red);
    struct Layout
    {
        qint32 layout;
        QPoint white; // a point the image leaves white, or (-1, -1)
        QPoint covered;
    };
    const std::vector<Layout> layouts = {
        {ImageLayout::Centered, {10, 25}, {50, 25}},
        {ImageLayout::Tiled, {-1, -1}, {95, 45}},
        {ImageLayout::Fitted, {10, 25}, {30, 2}},
        {ImageLayout::Stretched, {-1, -1}, {1, 1}},
        {ImageLayout::StretchedToWidth, {-1, -1}, {1, 1}},
        {ImageLayout::StretchedToHeight, {10, 25}, {50, 1}},
        {ImageLayout::CropFitted, {-1, -1}, {99, 49}},
    };
    for (const Layout &l : layouts) {
        QImage target(100, 50, QImage::Format_RGB32);
        target.fill(Qt::white);
        QPainter painter(&target);
        paintImage(painter, target.rect(), red, l.layout);
        painter.end();
        if (l.white.x() >= 0) {
            EXPECT_EQ(QColor(target.pixel(l.white)), QColor(Qt::white)) << l.layout;
        }
        EXPECT_EQ(QColor(target.pixel(l.covered)), QColor(Qt::red)) << l.layout;
    }
}

TEST(Chart2DRender, ABackgroundImageFromAFileShows)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QImage picture(8, 8, QImage::Format_RGB32);
    picture.fill(QColor(255, 0, 255));
    const QString path = dir.filePath("back.png");
    ASSERT_TRUE(picture.save(path));
    Chart2D chart;
    chart.resize(320, 240);
    chart.interior().image().setFileName(path);
    chart.interior().image().setFileImageLayout(ImageLayout::Stretched);
    EXPECT_EQ(QColor(chart.picture().pixel(2, 2)), QColor(255, 0, 255));
    chart.interior().image().setFileName(dir.filePath("missing.png"));
    EXPECT_NE(QColor(chart.picture().pixel(2, 2)), QColor(255, 0, 255));
}

TEST(Chart2DRender, AxisLabelsFollowTheirCategory)
{
    Axis axis;
    struct Label
    {
        qint16 category;
        const char *format;
        double value;
        const char *expected;
    };
    const std::vector<Label> labels = {
        {LabelCategory::Standard, "", 1234.5, "1234.5"},
        {LabelCategory::Number, "", 1234.5, "1,234.50"},
        {LabelCategory::Percentage, "", 0.25, "25%"},
        {LabelCategory::Fraction, "", 2.5, "2 1/2"},
        {LabelCategory::Fraction, "", -0.75, "-3/4"},
        {LabelCategory::Fraction, "", 3, "3"},
        {LabelCategory::Scientific, "", 12345, "1.23E+04"},
        {LabelCategory::Custom, "#,##0.0;(#,##0.0)", -1234.56, "(1,234.6)"},
        {LabelCategory::Custom, "", 0.1 + 0.2, "0.3"},
        {5, "", 7, "7"},
    };
    for (const Label &l : labels) {
        axis.setLabelCategory(l.category);
        axis.setLabelFormat(QString::fromUtf8(l.format));
        EXPECT_EQ(valueLabel(l.value, axis), QString::fromUtf8(l.expected)) << l.expected;
    }
}

TEST(Chart2D, ClicksOnThePlotAndTitlesAreReported)
{
    Chart2D chart;
    chart.resize(400, 300);
    chart.header().setText("Title");
    chart.show();
    chart.refresh();
    int clicks = 0;
    int doubleClicks = 0;
    QObject::connect(&chart, &Chart2D::clicked, [&] { ++clicks; });
    QObject::connect(&chart, &Chart2D::doubleClicked, [&] { ++doubleClicks; });
    auto send = [](QWidget *widget, QEvent::Type type) {
        const QPointF at(widget->width() / 2.0, widget->height() / 2.0);
        QMouseEvent event(type, at, widget->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(widget, &event);
    };
    QWidget *plot = chart.chartView()->viewport();
    send(plot, QEvent::MouseButtonPress);
    send(plot, QEvent::MouseButtonRelease);
    EXPECT_EQ(clicks, 1);
    send(plot, QEvent::MouseButtonDblClick);
    send(plot, QEvent::MouseButtonRelease);
    EXPECT_EQ(doubleClicks, 1);
    EXPECT_EQ(clicks, 1);
}

TEST(Chart2D, MouseGesturesFollowTheirActionCodes)
{
    auto drag = [](QWidget *plot, Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
        const Qt::MouseButton button = buttons & Qt::RightButton ? Qt::RightButton : Qt::LeftButton;
        auto send = [&](QEvent::Type type, QPointF at, Qt::MouseButtons held) {
            QMouseEvent event(type, at, plot->mapToGlobal(at), button, held, modifiers);
            QApplication::sendEvent(plot, &event);
        };
        send(QEvent::MouseButtonPress, QPointF(150, 120), buttons);
        send(QEvent::MouseMove, QPointF(200, 150), buttons);
        send(QEvent::MouseMove, QPointF(250, 180), buttons);
        send(QEvent::MouseButtonRelease, QPointF(250, 180), Qt::NoButton);
    };
    for (const bool coded : {false, true}) {
        Chart2D chart;
        chart.resize(480, 360);
        chart_test::fillData(chart.chartGroups().item(1), 2, 6);
        chart.show();
        chart.refresh();
        if (coded) {
            for (qint32 code : {62, 82, 83, 401, 402, 14})
                chart.callAction(code);
        }
        QWidget *plot = chart.chartView()->viewport();
        drag(plot, Qt::LeftButton, Qt::ControlModifier); // zoom into a rectangle
        EXPECT_EQ(chart.chartView()->chart()->isZoomed(), coded);
        QKeyEvent r(QEvent::KeyPress, Qt::Key_R, Qt::NoModifier, QStringLiteral("r"));
        QApplication::sendEvent(chart.chartView(), &r);
        EXPECT_FALSE(chart.chartView()->chart()->isZoomed());

        drag(plot, Qt::LeftButton | Qt::RightButton, Qt::NoModifier); // turn the 3-D effect
        const Effect3D &effect = chart.chartArea().effect3D();
        EXPECT_EQ(effect.elevation() != 45 || effect.rotation() != 45, coded);
    }
}
