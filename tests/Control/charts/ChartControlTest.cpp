// The control's charts: prepared at creation, which of them a query refeeds, the chart
// commands, the click events, and the failure reports of the fills.
#include "tests/Control/charts/ChartTestSupport.h"
#include "tests/support/ScriptedModalRunner.h"

#include <QAbstract3DGraph>
#include <QApplication>
#include <QChartView>
#include <QMouseEvent>

using charts_test::values2d;
using charts_test::values3d;

namespace {

class ChartControl : public charts_test::SalesControl
{
protected:
    bool fed2d() const { return control.grf2d->chartGroups().item(1).data().numSeries() > 0; }
    bool fed3d() const { return control.grf3d->chartGroups().item(1).elevation().rowCount() > 0; }
};

TEST(ChartCreation, BothChartsArePreparedInTheChartArea)
{
    PelmoraC02 control;
    ASSERT_NE(control.grf2d, nullptr);
    ASSERT_NE(control.grf3d, nullptr);
    EXPECT_EQ(control.grf2d->parentWidget(), control.chartArea);
    EXPECT_EQ(control.grf3d->parentWidget(), control.chartArea);
    EXPECT_EQ(control.grf2d->actionCalls(), QList<qint32>({62, 82, 83, 401, 402, 14}));
    EXPECT_EQ(control.grf3d->actionCalls(), QList<qint32>({61, 65, 82, 104, 105, 142, 9}));
    // Visible as the container sees it, while the control itself is not shown yet.
    EXPECT_FALSE(control.isVisible());
    EXPECT_TRUE(PelmoraC02::chartVisible(control.grf2d));
    EXPECT_FALSE(PelmoraC02::chartVisible(control.grf3d));
    control.show();
    EXPECT_TRUE(control.grf2d->isVisible());
    EXPECT_FALSE(control.grf3d->isVisible());
}

// After each query the visible chart is refed; with none shown, the chart area being on gives
// the 2-D chart.
TEST_F(ChartControl, AQueryRefeedsTheVisibleChart)
{
    struct Case
    {
        const char *name;
        bool shown2d, shown3d, visibleChart;
        bool fed2d, fed3d, after2d, after3d;
    };
    const Case cases[] = {
        {"2-D shown", true, false, true, true, false, true, false},
        {"3-D shown", false, true, true, false, true, false, true},
        {"both shown: the 2-D fill hides the 3-D chart", true, true, true, true, false, true,
         false},
        {"none shown, chart area on", false, false, true, true, false, true, false},
        {"none shown, chart area off", false, false, false, false, false, false, false},
        {"3-D shown, chart area off", false, true, false, false, true, false, true},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        PelmoraC02 fresh;
        fresh.openParams.OpenFile = s_cube;
        ASSERT_TRUE(fresh.cubeConnectNI(false));
        fresh.grf2d->setVisible(c.shown2d);
        fresh.grf3d->setVisible(c.shown3d);
        fresh.displayFlags.VisibleChart = c.visibleChart;
        ASSERT_TRUE(fresh.genSelect());
        EXPECT_EQ(fresh.grf2d->chartGroups().item(1).data().numSeries() > 0, c.fed2d);
        EXPECT_EQ(fresh.grf3d->chartGroups().item(1).elevation().rowCount() > 0, c.fed3d);
        EXPECT_EQ(PelmoraC02::chartVisible(fresh.grf2d), c.after2d);
        EXPECT_EQ(PelmoraC02::chartVisible(fresh.grf3d), c.after3d);
        EXPECT_TRUE(fresh.refreshChart());
    }
    EXPECT_EQ(boxes.count(), 0) << boxes.texts().join("; ").toStdString();
}

// The chart commands switch charts and fill the one they show; a chart already shown is left
// as it is.
TEST_F(ChartControl, TheChartCommandsShowAndFillTheirChart)
{
    ASSERT_TRUE(control.genSelect());
    ASSERT_TRUE(fed2d());
    ASSERT_FALSE(fed3d());
    EXPECT_TRUE(control.doAction("showChart3d"));
    EXPECT_TRUE(fed3d());
    EXPECT_TRUE(PelmoraC02::chartVisible(control.grf3d));
    EXPECT_FALSE(PelmoraC02::chartVisible(control.grf2d));

    // Already shown: no refill.
    control.grdResults->setTextMatrix(2, 1, "99");
    EXPECT_TRUE(control.doAction("SHOWCHART3D"));
    EXPECT_EQ(values3d(*control.grf3d)[0][0], 33.5);
    EXPECT_TRUE(control.doAction("ShowChart2d"));
    EXPECT_EQ(values2d(*control.grf2d)[0][0], 99);
    EXPECT_TRUE(PelmoraC02::chartVisible(control.grf2d));
    EXPECT_FALSE(PelmoraC02::chartVisible(control.grf3d));
    control.grdResults->setTextMatrix(2, 1, "7");
    EXPECT_TRUE(control.doAction("showchart2d"));
    EXPECT_EQ(values2d(*control.grf2d)[0][0], 99);
    EXPECT_EQ(boxes.count(), 0) << boxes.texts().join("; ").toStdString();
}

// A fill that fails is reported under its own name, leaves its chart the visible one with the
// batch ended, and answers False; the command and the refeed pass the False on.
TEST_F(ChartControl, AFailedFillIsReportedUnderItsName)
{
    ASSERT_TRUE(control.genSelect());
    // The first command reads the stored defaults, whose look needs the grid: read them now.
    ASSERT_TRUE(control.doAction("SHOWCHART2D"));
    platform::grid::FlexGrid *grid = control.grdResults;
    control.grdResults = nullptr; // a grid that cannot be read
    const QString description = "Object variable or With block variable not set";
    EXPECT_FALSE(control.show3dChart());
    EXPECT_TRUE(PelmoraC02::chartVisible(control.grf3d));
    EXPECT_FALSE(PelmoraC02::chartVisible(control.grf2d));
    EXPECT_FALSE(control.grf3d->isBatched());
    EXPECT_FALSE(control.refreshChart());
    EXPECT_FALSE(control.show2dChart());
    EXPECT_TRUE(PelmoraC02::chartVisible(control.grf2d));
    EXPECT_FALSE(PelmoraC02::chartVisible(control.grf3d));
    EXPECT_FALSE(control.grf2d->isBatched());
    EXPECT_FALSE(control.doAction("SHOWCHART3D"));
    control.grdResults = grid;
    EXPECT_EQ(boxes.texts(),
              QStringList({"show3dChart: " + description, "show3dChart: " + description,
                           "show2dChart: " + description, "show3dChart: " + description}));
    for (const auto &shown : boxes.shown())
        EXPECT_EQ(shown.buttons, platform::forms::OkOnly);
    // The data read before stays.
    EXPECT_TRUE(fed2d());
}

// A click on either chart raises Click; a double click on either raises DblClick, once.
TEST_F(ChartControl, ChartClicksRaiseTheControlsEvents)
{
    control.resize(640, 800);
    control.show();
    ASSERT_TRUE(control.genSelect());
    int clicks = 0;
    int doubleClicks = 0;
    QObject::connect(&control, &PelmoraC02::Click, [&] { ++clicks; });
    QObject::connect(&control, &PelmoraC02::DblClick, [&] { ++doubleClicks; });
    // The 2-D chart's double click opens the chart format editor, left with Cancel.
    testing_support::ScriptedModalRunner dialogs;
    dialogs.then([](QDialog &) { return 0; });
    auto send = [](QObject *target, QSize size, QEvent::Type type) {
        const QPointF at(size.width() / 2.0, size.height() / 2.0);
        QMouseEvent event(type, at, at, Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                          Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    };
    auto clickAndDoubleClick = [&](QObject *target, QSize size) {
        send(target, size, QEvent::MouseButtonPress);
        send(target, size, QEvent::MouseButtonRelease);
        EXPECT_EQ(clicks, 1);
        EXPECT_EQ(doubleClicks, 0);
        send(target, size, QEvent::MouseButtonDblClick);
        send(target, size, QEvent::MouseButtonRelease);
        EXPECT_EQ(clicks, 1);
        EXPECT_EQ(doubleClicks, 1);
        clicks = doubleClicks = 0;
    };
    {
        SCOPED_TRACE("2-D chart");
        QWidget *plot = control.grf2d->chartView()->viewport();
        clickAndDoubleClick(plot, plot->size());
    }
    {
        SCOPED_TRACE("3-D chart");
        ASSERT_TRUE(control.showChart3d());
        control.grf3d->refresh();
        QObject *target = control.grf3d->graph();
        QSize size = control.grf3d->size();
        if (!target) { // drawn flat, without OpenGL
            QWidget *flat =
                control.grf3d->childAt(control.grf3d->width() / 2, control.grf3d->height() / 2);
            ASSERT_NE(flat, nullptr);
            target = flat;
            size = flat->size();
        } else {
            size = control.grf3d->graph()->size();
        }
        clickAndDoubleClick(target, size);
    }
    EXPECT_EQ(boxes.count(), 0) << boxes.texts().join("; ").toStdString();
}

} // namespace
