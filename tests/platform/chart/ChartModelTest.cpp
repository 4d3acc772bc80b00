// The 2-D and 3-D object models: values read back, refused values change nothing, the data keeps
// what still fits, styles exist for every series, and the chart redraws only outside a batch.
#include "platform/chart/Chart2D.h"
#include "platform/chart/Chart3DModel.h"
#include "platform/chart/ChartModel.h"
#include "platform/runtime/Error.h"

#include "tests/platform/chart/ChartTestSupport.h"

#include <QChart>
#include <QChartView>
#include <QCoreApplication>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using namespace platform::chart;

namespace {

QString errorOf(const std::function<void()> &f)
{
    try {
        f();
    } catch (const platform::Error &error) {
        return error.description();
    }
    return QStringLiteral("(no error)");
}

struct Refusal
{
    const char *what;
    std::function<void(Chart2DModel &)> set;
};

} // namespace

TEST(ChartModel, PropertiesReadBackWhatWasSet)
{
    Chart2DModel model;
    chart_test::fillEverything(model);
    EXPECT_EQ(model.header.alignment(), Alignment::Left);
    EXPECT_FALSE(model.header.isShowing());
    EXPECT_TRUE(model.legend.isShowing());
    EXPECT_EQ(model.legend.anchor(), Anchor::SouthWest);
    EXPECT_EQ(model.legend.font().weight(), 803);
    EXPECT_EQ(model.header.font().weight(), 301); // the header's default font is bold
    EXPECT_DOUBLE_EQ(model.legend.font().size(), 10.25);
    EXPECT_EQ(model.interior.foreground(), qint32(0x80000005));
    EXPECT_EQ(model.chartArea.effect3D().rotation(), -200);
    const Axis &y = model.chartArea.axes().item(2);
    EXPECT_EQ(y.titleText(), "Axis 1 = \"title\"");
    EXPECT_EQ(y.titleRotation(), TitleRotation::Rotate45);
    EXPECT_DOUBLE_EQ(y.min(), -1e-300);
    EXPECT_FALSE(y.isMinAuto());
    EXPECT_FALSE(y.isMaxAuto());
    EXPECT_DOUBLE_EQ(y.max(), 1.0 / 3.0 + 1);
    // Back to automatic, the last maximum set still reads back.
    model.chartArea.axes().y().setMaxAuto(true);
    EXPECT_DOUBLE_EQ(y.max(), 1.0 / 3.0 + 1);
    const ChartGroup &group = model.chartGroups.item(1);
    EXPECT_EQ(group.chartType(), ChartType::Bubble);
    EXPECT_EQ(group.data().numSeries(), 3);
    EXPECT_EQ(group.data().numPoints(2), 4);
    EXPECT_DOUBLE_EQ(group.data().value(2, 1), -1.0 / 7.0);
    EXPECT_EQ(group.seriesLabels().item(3), "with = and \"quotes\"");
    EXPECT_EQ(group.styles().count(), 5);
    EXPECT_EQ(group.styles().at(4).symbol().size(), 15);
    EXPECT_EQ(group.styles().at(2).image().fileName(), "series2.bmp");
}

TEST(ChartModel, RefusedValuesChangeNothing)
{
    const std::vector<Refusal> refusals = {
        {"chart type 0", [](Chart2DModel &m) { m.group().setChartType(0); }},
        {"chart type 13", [](Chart2DModel &m) { m.group().setChartType(13); }},
        {"border type -1", [](Chart2DModel &m) { m.border.setBorderType(-1); }},
        {"border type 10", [](Chart2DModel &m) { m.header.border().setBorderType(10); }},
        {"border width -1", [](Chart2DModel &m) { m.border.setBorderWidth(-1); }},
        {"alignment 0", [](Chart2DModel &m) { m.footer.setAlignment(0); }},
        {"anchor 0", [](Chart2DModel &m) { m.legend.setAnchor(0); }},
        {"anchor 3", [](Chart2DModel &m) { m.legend.setAnchor(3); }},
        {"orientation 3", [](Chart2DModel &m) { m.legend.setOrientation(3); }},
        {"image layout 8", [](Chart2DModel &m) { m.interior.image().setFileImageLayout(8); }},
        {"shading 0", [](Chart2DModel &m) { m.chartArea.effect3D().setShading(0); }},
        {"depth -1", [](Chart2DModel &m) { m.chartArea.effect3D().setDepth(-1); }},
        {"elevation 91", [](Chart2DModel &m) { m.chartArea.effect3D().setElevation(91); }},
        {"title rotation 6", [](Chart2DModel &m) { m.chartArea.axes().y().setTitleRotation(6); }},
        {"label category 13", [](Chart2DModel &m) { m.chartArea.axes().y().setLabelCategory(13); }},
        {"line style 8", [](Chart2DModel &m) { m.chartArea.axes().x().setLineStyle(8); }},
        {"grid style 0", [](Chart2DModel &m) { m.chartArea.axes().x().setGridStyle(0); }},
        {"spacing -1", [](Chart2DModel &m) { m.chartArea.axes().y().setSpacing(-1); }},
        {"max NaN", [](Chart2DModel &m) { m.chartArea.axes().y().setMax(std::nan("")); }},
        {"font size 0", [](Chart2DModel &m) { m.header.font().setSize(0); }},
        {"font name blank", [](Chart2DModel &m) { m.header.font().setName(" "); }},
        {"fill pattern 18",
         [](Chart2DModel &m) { m.group().styles().item(1).fill().setPattern(18); }},
        {"symbol 18", [](Chart2DModel &m) { m.group().styles().item(1).symbol().setShape(18); }},
        {"symbol size -2",
         [](Chart2DModel &m) { m.group().styles().item(1).symbol().setSize(-2); }},
        {"line width 101",
         [](Chart2DModel &m) { m.group().styles().item(1).line().setWidth(101); }},
        {"negative series", [](Chart2DModel &m) { m.group().data().setNumSeries(-1); }},
        {"too many values",
         [](Chart2DModel &m) { m.group().data().setNumPoints(1, ChartData::MaxValues); }},
    };
    for (const Refusal &refusal : refusals) {
        Chart2DModel model;
        chart_test::fillData(model, 2, 3);
        model.group().styles().item(1);
        const Chart2DModel before = model;
        EXPECT_EQ(errorOf([&] { refusal.set(model); }), invalidValueDescription()) << refusal.what;
        EXPECT_TRUE(model == before) << refusal.what;
    }
}

TEST(ChartModel, IndexesOutsideTheirRangeAreErrors)
{
    Chart2DModel model;
    chart_test::fillData(model, 2, 3);
    const QString outOfRange = invalidIndexDescription();
    EXPECT_EQ(errorOf([&] { model.chartArea.axes().item(3); }), outOfRange);
    EXPECT_EQ(errorOf([&] { model.chartGroups.item(2); }), outOfRange);
    EXPECT_EQ(errorOf([&] { model.group().data().value(3, 1); }), outOfRange);
    EXPECT_EQ(errorOf([&] { model.group().data().setValue(1, 4, 1); }), outOfRange);
    EXPECT_EQ(errorOf([&] { model.group().data().value(0, 1); }), outOfRange);
    EXPECT_EQ(errorOf([&] { model.group().pointLabels().item(4); }), outOfRange);
    EXPECT_EQ(errorOf([&] { model.group().styles().item(0); }), outOfRange);
    Chart3DModel model3;
    EXPECT_EQ(errorOf([&] { model3.group().elevation().value(1, 1); }), outOfRange);
    EXPECT_EQ(errorOf([&] { model3.group().styles().item(3); }), outOfRange);
}

TEST(ChartModel, ResizingDataKeepsTheValuesThatStillFit)
{
    Chart2DModel model;
    ChartData &data = model.group().data();
    data.setNumSeries(2);
    data.setNumPoints(1, 3);
    data.setValue(1, 3, 13);
    data.setValue(2, 1, 21);
    data.setNumPoints(2, 5); // the count given on any series applies to all
    EXPECT_EQ(data.numPoints(1), 5);
    EXPECT_DOUBLE_EQ(data.value(1, 3), 13);
    EXPECT_DOUBLE_EQ(data.value(2, 1), 21);
    EXPECT_DOUBLE_EQ(data.value(2, 5), 0);
    data.setNumSeries(1);
    data.setNumSeries(2);
    EXPECT_DOUBLE_EQ(data.value(1, 3), 13);
    EXPECT_DOUBLE_EQ(data.value(2, 1), 0); // dropped with its series

    Chart3DModel model3;
    ElevationData &grid = model3.group().elevation();
    grid.setRowCount(2);
    grid.setColumnCount(2);
    grid.setValue(2, 2, 7);
    grid.setColumnCount(3);
    EXPECT_DOUBLE_EQ(grid.value(2, 2), 7);
}

TEST(ChartModel, StylesExistForEverySeriesWithDistinctDefaults)
{
    Chart2DModel model;
    SeriesStyles &styles = model.group().styles();
    EXPECT_EQ(styles.count(), 0);
    EXPECT_TRUE(styles.at(3) == SeriesStyle::defaultFor(3));
    styles.item(3).line().setWidth(7);
    EXPECT_EQ(styles.count(), 3);
    EXPECT_TRUE(styles.at(1) == SeriesStyle::defaultFor(1));
    EXPECT_EQ(styles.at(3).line().width(), 7);
    EXPECT_NE(SeriesStyle::defaultFor(1).line().color(), SeriesStyle::defaultFor(2).line().color());
}

TEST(ChartModel, BoldAndWeightGoTogether)
{
    Font font;
    font.setBold(true);
    EXPECT_EQ(font.weight(), 700);
    font.setWeight(400);
    EXPECT_FALSE(font.bold());
    font.setWeight(650);
    EXPECT_TRUE(font.bold());
    font.setSize(10.123456);
    EXPECT_DOUBLE_EQ(font.size(), 10.1235);
}

TEST(Chart2D, RedrawsOnlyOutsideABatch)
{
    Chart2D chart;
    const QChart *first = chart.chartView()->chart();
    chart.setIsBatched(true);
    chart_test::fillData(chart.chartGroups().item(1), 2, 3);
    chart.header().setText("Batched");
    QCoreApplication::processEvents();
    EXPECT_EQ(chart.chartView()->chart(), first) << "drawn while batched";
    chart.setIsBatched(false);
    const QChart *second = chart.chartView()->chart();
    EXPECT_NE(second, first) << "not drawn when the batch ended";

    // Outside a batch, changes are drawn together once control returns to the event loop.
    chart.legend().setIsShowing(true);
    chart.chartGroups().item(1).setChartType(ChartType::Bar);
    EXPECT_EQ(chart.chartView()->chart(), second);
    QCoreApplication::processEvents();
    EXPECT_NE(chart.chartView()->chart(), second);

    // Setting a value it already has is no change.
    const QChart *third = chart.chartView()->chart();
    chart.chartGroups().item(1).setChartType(ChartType::Bar);
    QCoreApplication::processEvents();
    EXPECT_EQ(chart.chartView()->chart(), third);
}

TEST(Chart2D, KeepsActionCallsInOrder)
{
    Chart2D chart;
    for (qint32 code : {62, 82, 83, 401, 402, 14, 999})
        chart.callAction(code, false);
    EXPECT_EQ(chart.actionCalls(), (QList<qint32>{62, 82, 83, 401, 402, 14, 999}));
}
