// The charts fed from painted data grids of the sales cube: labels, counts, values, the Y
// maximum, the 3-D elevation data, and the number each cell shows in two locales.
#include "Control/charts/ChartFeed.h"
#include "tests/Control/charts/ChartTestSupport.h"
#include "tests/support/LocaleGuard.h"

#include <QLocale>

using charts_test::values2d;
using charts_test::values3d;
namespace AnnotationMethod = platform::chart::AnnotationMethod;
using platform::chart::Chart2D;
using platform::chart::Chart3D;
namespace TitleRotation = platform::chart::TitleRotation;
using Values = std::vector<std::vector<double>>;

namespace {

class ChartFeed : public charts_test::SalesControl
{
};

// The sales cube's first view: Sales on the columns, Time (1997, Q1, Q2) on the rows.
TEST_F(ChartFeed, TheFirstViewFeedsThe2dChart)
{
    control.lblCubo->setText("Sales view");
    ASSERT_TRUE(control.genSelect());
    EXPECT_EQ(boxes.count(), 0) << boxes.texts().join("; ").toStdString();
    const Chart2D &chart = *control.grf2d;
    EXPECT_TRUE(PelmoraC02::chartVisible(control.grf2d));
    EXPECT_FALSE(PelmoraC02::chartVisible(control.grf3d));
    EXPECT_FALSE(chart.isBatched());
    EXPECT_EQ(chart.header().text(), "Sales view");
    EXPECT_TRUE(chart.legend().isShowing());
    const auto &x = chart.chartArea().axes().item(1);
    EXPECT_EQ(x.titleText(), "Time");
    EXPECT_EQ(x.annotationMethod(), AnnotationMethod::PointLabels);
    EXPECT_EQ(chart.chartArea().axes().item(2).titleRotation(), TitleRotation::Rotate90);
    const auto &group = chart.chartGroups().item(1);
    EXPECT_EQ(group.pointLabels().all(), QStringList({"Sales"}));
    EXPECT_EQ(group.seriesLabels().all(), QStringList({"1997", "Q1", "Q2"}));
    EXPECT_EQ(values2d(chart), Values({{33.5}, {21.5}, {12}}));
}

// Labels join the header cells with " / "; counts and values follow the data cells, for both
// charts.
TEST_F(ChartFeed, LabelsCountsAndValuesOfEachShapeOfGrid)
{
    struct Case
    {
        const char *name;
        // Records 0 Measures, 1 Time, 2 Product, 3 Store: place and order of each.
        int places[4][2];
        QString statement;
        QStringList columnLabels;
        QStringList rowLabels;
        Values values;
        QString xTitle;
        QString yTitle3d;
    };
    const QString families =
        "Descendants([Product].[All Products], [Product].[Family], SELF_AND_BEFORE)";
    const Case cases[] = {
        {"two column dimensions",
         {{pelmora::Columns, 1}, {pelmora::Columns, 0}, {pelmora::Rows, 0}, {pelmora::Slicer, 0}},
         "SELECT CrossJoin({[Time].[1997]}, {[Measures].[Sales], [Measures].[Cost]}) ON "
         "AXIS(0), "
             + families + " ON AXIS(1) FROM [Sales]",
         {"1997 / Sales", "1997 / Cost"},
         {"All Products", "Drink", "Food"},
         {{33.5, 22}, {7.5, 5}, {26, 17}},
         " ",
         "Time"},
        {"two row dimensions",
         {{pelmora::Columns, 0}, {pelmora::Slicer, 0}, {pelmora::Rows, 0}, {pelmora::Rows, 1}},
         "SELECT {[Measures].[Sales]} ON AXIS(0), CrossJoin(" + families
             + ", {[Store].[All Stores]}) ON AXIS(1) FROM [Sales]",
         {"Sales"},
         {"All Products / All Stores", "Drink / All Stores", "Food / All Stores"},
         {{33.5}, {7.5}, {26}},
         "Product",
         " "},
        // No header columns: one series with an empty label.
        {"one axis",
         {{pelmora::Columns, 0}, {pelmora::Rows, 0}, {pelmora::Slicer, 0}, {pelmora::Slicer, 1}},
         "SELECT {[Measures].[Sales], [Measures].[Cost]} ON AXIS(0) FROM [Sales]",
         {"Sales", "Cost"},
         {""},
         {{33.5, 22}},
         "Sales",
         " "},
        // No header cells at all: the single value, without axis titles.
        {"no axis",
         {{pelmora::Columns, 0}, {pelmora::Rows, 0}, {pelmora::Slicer, 0}, {pelmora::Slicer, 1}},
         "SELECT FROM [Sales]",
         {""},
         {""},
         {{33.5}},
         "",
         ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        for (int i = 0; i < 4; ++i)
            place(i, c.places[i][0], c.places[i][1]);
        control.grf2d->setVisible(true);
        control.grf3d->setVisible(false);
        run(c.statement);
        const auto &group = control.grf2d->chartGroups().item(1);
        EXPECT_EQ(group.pointLabels().all(), c.columnLabels);
        EXPECT_EQ(group.seriesLabels().all(), c.rowLabels);
        EXPECT_EQ(values2d(*control.grf2d), c.values);
        EXPECT_EQ(control.grf2d->chartArea().axes().item(1).titleText(), c.xTitle);

        ASSERT_TRUE(control.show3dChart());
        const auto &elevation = control.grf3d->chartGroups().item(1).elevation();
        EXPECT_EQ(elevation.columnLabels().all(), c.columnLabels);
        EXPECT_EQ(elevation.rowLabels().all(), c.rowLabels);
        EXPECT_EQ(values3d(*control.grf3d), c.values);
        EXPECT_EQ(control.grf3d->chartArea().axes().item(1).titleText(), c.xTitle);
        EXPECT_EQ(control.grf3d->chartArea().axes().item(2).titleText(), c.yTitle3d);
        EXPECT_EQ(boxes.count(), 0) << boxes.texts().join("; ").toStdString();
        boxes.clear();
    }
}

TEST_F(ChartFeed, TheYMaximumStaysOnlyFromTheDataMaximumToTwiceIt)
{
    struct Case
    {
        double maximum;
        const char *values; // the members' values
        bool automatic;
    };
    const Case cases[] = {
        // clang-format off
        {150, "100", false}, {150, "70", true},   {150, "160", true}, {150, "75", false},
        {200, "100", false}, {100, "100", false}, {150, "-5", true},  {150, "0", true},
        {-5, "-10", true},
        // clang-format on
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(testing::Message() << c.maximum << " / " << c.values);
        auto &y = control.grf2d->chartArea().axes().item(2);
        y.setMax(c.maximum);
        ASSERT_FALSE(y.isMaxAuto());
        run(QStringLiteral("WITH MEMBER [Measures].[V] AS '%1' MEMBER [Measures].[W] AS '-1' "
                           "SELECT {[Measures].[W], [Measures].[V]} ON AXIS(0) FROM [Sales]")
                .arg(c.values));
        EXPECT_EQ(y.isMaxAuto(), c.automatic);
        EXPECT_EQ(y.max(), c.maximum);
    }
    EXPECT_EQ(boxes.count(), 0) << boxes.texts().join("; ").toStdString();
}

// The number a cell shows, whatever the locale's separators, a currency sign, a negative in
// parentheses or a percent sign; "#ERR" charts as 0.
TEST_F(ChartFeed, ValuesAreTheNumbersTheCellsShowInTheLocale)
{
    const QString statement =
        "WITH MEMBER [Measures].[Big] AS '1234567.5', FORMAT_STRING = '#,##0.00' "
        "MEMBER [Measures].[Neg] AS '-5', FORMAT_STRING = '#,##0;(#,##0)' "
        "MEMBER [Measures].[Cur] AS '1234', FORMAT_STRING = '$#,##0' "
        "MEMBER [Measures].[Pct] AS '0.125', FORMAT_STRING = '0.0%' "
        "SELECT {[Measures].[Big], [Measures].[Neg], [Measures].[Cur], [Measures].[Pct], "
        "[Measures].[Sales]} ON AXIS(0) FROM [Sales]";
    struct Case
    {
        QLocale locale;
        QString shown; // the painted value row
    };
    const Case cases[] = {
        {QLocale(QLocale::English, QLocale::UnitedStates), "1,234,567.50|(5)|$1,234|12.5%|33.50"},
        {QLocale(QLocale::German, QLocale::Germany), "1.234.567,50|(5)|$1.234|12,5%|33,50"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.locale.name().toStdString());
        const testing_support::LocaleGuard pin(c.locale);
        run(statement);
        QStringList shown;
        for (int col = 0; col < control.grdResults->cols(); ++col)
            shown.append(control.grdResults->textMatrix(2, col));
        EXPECT_EQ(shown.join(u'|'), c.shown);
        const Values expected = {{1234567.5, -5, 1234, 12.5, 33.5}};
        EXPECT_EQ(values2d(*control.grf2d), expected);
        ASSERT_TRUE(control.show3dChart());
        EXPECT_EQ(values3d(*control.grf3d), expected);

        // A cell the server could not compute.
        control.grdResults->setTextMatrix(2, 1, "#ERR");
        ASSERT_TRUE(control.show2dChart());
        EXPECT_EQ(control.grf2d->chartGroups().item(1).data().value(1, 2), 0);
    }
    EXPECT_EQ(boxes.count(), 0) << boxes.texts().join("; ").toStdString();
}

TEST_F(ChartFeed, The3dChartTakesTheViewTitleAndItsDisplayMode)
{
    control.lblCubo->setText("Sales view");
    control.grf2d->header().setText("Kept");
    control.grf3d->header().setText("Replaced");
    control.grf3d->chartGroups().item(1).setChartType(2);
    control.grf3d->view().setIsInteractive(false);
    control.grf3d->view().setSelectionMode(0);
    control.grf3d->view().setColorStyle(0);
    for (int style : {1, 2}) {
        control.grf3d->chartGroups().item(1).styles().item(style).setIsFilled(false);
        control.grf3d->chartGroups().item(1).styles().item(style).setIsMeshed(false);
    }
    control.grf3d->chartGroups().item(1).styles().item(1).setShading(2);
    ASSERT_TRUE(control.genSelect());
    EXPECT_EQ(control.grf2d->header().text(), "Kept");

    ASSERT_TRUE(control.show3dChart());
    const Chart3D &chart = *control.grf3d;
    EXPECT_TRUE(PelmoraC02::chartVisible(control.grf3d));
    EXPECT_FALSE(PelmoraC02::chartVisible(control.grf2d));
    EXPECT_FALSE(chart.isBatched());
    EXPECT_EQ(chart.header().text(), "Sales view");
    EXPECT_EQ(chart.chartArea().axes().item(1).titleText(), "Time");
    EXPECT_EQ(chart.chartArea().axes().item(2).titleText(), "Measures");
    EXPECT_EQ(chart.chartArea().axes().item(1).annotationMethod(), AnnotationMethod::DataLabels);
    EXPECT_EQ(chart.chartArea().axes().item(2).annotationMethod(), AnnotationMethod::DataLabels);
    const auto &group = chart.chartGroups().item(1);
    EXPECT_EQ(group.chartType(), 1);
    EXPECT_TRUE(chart.view().isInteractive());
    EXPECT_EQ(chart.view().selectionMode(), 1);
    EXPECT_EQ(chart.view().colorStyle(), 2);
    for (int style : {1, 2}) {
        EXPECT_TRUE(group.styles().item(style).isFilled());
        EXPECT_TRUE(group.styles().item(style).isMeshed());
    }
    EXPECT_EQ(group.styles().item(1).shading(), 1);
    EXPECT_EQ(group.elevation().rowLabels().all(), QStringList({"1997", "Q1", "Q2"}));
    EXPECT_EQ(group.elevation().columnLabels().all(), QStringList({"Sales"}));
    EXPECT_EQ(values3d(chart), Values({{33.5}, {21.5}, {12}}));
    // An empty 2-D header takes the view title.
    control.grf2d->header().setText(QString());
    ASSERT_TRUE(control.show2dChart());
    EXPECT_EQ(control.grf2d->header().text(), "Sales view");
}

// A tall result followed by a wide one (the axes swapped) fits the 3-D chart, though the old
// rows times the new columns would not.
TEST_F(ChartFeed, ATallResultThenAWideOneFitsThe3dChart)
{
    auto &elevation = control.grf3d->chartGroups().item(1).elevation();
    elevation.setColumnCount(1);
    elevation.setRowCount(5'000'000);
    control.grdResults->setRows(2);
    control.grdResults->setCols(6);
    control.grdResults->setFixedRows(1);
    control.grdResults->setFixedCols(1);
    control.grdResults->setTextMatrix(1, 5, "7");
    ASSERT_TRUE(control.show3dChart());
    EXPECT_EQ(boxes.count(), 0) << boxes.texts().join("; ").toStdString();
    EXPECT_EQ(values3d(*control.grf3d), Values({{0, 0, 0, 0, 7}}));
}

// A statement that fails leaves both charts without data; their headers stay.
TEST_F(ChartFeed, AFailedStatementEmptiesTheCharts)
{
    control.lblCubo->setText("Sales view");
    ASSERT_TRUE(control.genSelect());
    ASSERT_TRUE(control.show3dChart());
    ASSERT_TRUE(control.show2dChart());
    EXPECT_TRUE(control.MDXExecute("SELECT {[Measures].[Sales] ON AXIS(0) FROM [Sales]"));
    EXPECT_EQ(boxes.count(), 1); // the statement's own report only
    EXPECT_EQ(control.grf2d->chartGroups().item(1).data().numSeries(), 0);
    EXPECT_EQ(control.grf2d->chartGroups().item(1).pointLabels().count(), 0);
    EXPECT_EQ(control.grf2d->chartGroups().item(1).seriesLabels().count(), 0);
    EXPECT_EQ(control.grf2d->chartArea().axes().item(1).titleText(), "");
    EXPECT_EQ(control.grf2d->header().text(), "Sales view");
    EXPECT_FALSE(control.grf2d->isBatched());
    const auto &elevation = control.grf3d->chartGroups().item(1).elevation();
    EXPECT_EQ(elevation.rowCount(), 0);
    EXPECT_EQ(elevation.columnCount(), 0);
    EXPECT_EQ(elevation.rowLabels().count() + elevation.columnLabels().count(), 0);
    EXPECT_EQ(control.grf3d->header().text(), "Sales view");
    EXPECT_FALSE(control.grf3d->isBatched());
    // The chart shown stays the one shown.
    EXPECT_TRUE(PelmoraC02::chartVisible(control.grf2d));
    EXPECT_FALSE(PelmoraC02::chartVisible(control.grf3d));
}

} // namespace
