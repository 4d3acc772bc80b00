// The control's two charts: made in the chart area, fed from the data grid after each query and
// by the chart commands, and their clicks passed on as the control's events.
#include "Control/charts/ChartExchange.h"
#include "Control/charts/ChartFeed.h"
#include "Control/core/ErrorTrap.h"
#include "Control/core/PelmoraC02.h"
#include "platform/chart/Chart2D.h"
#include "platform/chart/Chart3D.h"
#include "platform/grid/FlexGrid.h"
#include "platform/runtime/Error.h"

#include <QEvent>
#include <QLabel>
#include <QVBoxLayout>

using platform::chart::Chart2D;
using platform::chart::Chart3D;

namespace {

// The action calls that prepare each chart at creation, in their order.
constexpr qint32 chart2dActions[] = {62, 82, 83, 401, 402, 14};
constexpr qint32 chart3dActions[] = {61, 65, 82, 104, 105, 142, 9};

// Ends a chart's batch after a failed fill, so that it draws what the fill did; a failure of
// the drawing itself must not hide the fill's own.
template <typename Chart>
void endBatch(Chart *chart)
{
    pelmora::passOver([chart] {
        if (chart)
            chart->setIsBatched(false);
    });
}

// Shows `shown` in place of `hidden` and fills it in one batch. A failed fill ends the batch
// before the error is shown, so that the chart draws what the fill did.
template <typename Shown, typename Hidden, typename Fill>
bool showFilled(const QString &label, Shown *shown, Hidden *hidden, Fill &&fill)
{
    try {
        shown->setVisible(true);
        hidden->setVisible(false);
        shown->setIsBatched(true);
        fill(*shown);
        shown->setIsBatched(false);
        return true;
    } catch (...) {
        endBatch(shown);
        pelmora::reportError(label);
    }
    return false;
}

// The data grid the charts read; a control without one reports it as the runtime does.
const platform::grid::FlexGrid &dataGrid(const platform::grid::FlexGrid *grid)
{
    if (!grid)
        throw platform::Error(QStringLiteral("Object variable or With block variable not set"));
    return *grid;
}

// Keeps the mouse events that a chart's parts leave unhandled (a chart drawn flat, without
// OpenGL) from reaching the control's own surface, which would raise a second Click or
// DblClick for them: the charts report their own clicks.
class ChartAreaMouse : public QObject
{
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
            event->accept();
            return true;
        default:
            return QObject::eventFilter(watched, event);
        }
    }
};

} // namespace

bool PelmoraC02::chartVisible(const QWidget *chart)
{
    return chart && !chart->isHidden();
}

void PelmoraC02::buildCharts()
{
    grf2d = new Chart2D;
    grf2d->setObjectName(QStringLiteral("grf2d"));
    grf3d = new Chart3D;
    grf3d->setObjectName(QStringLiteral("grf3d"));
    // Both can be shown at once (the elements dialog shows the 2-D chart beside the 3-D one).
    auto *layout = new QVBoxLayout(chartArea);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(grf2d);
    layout->addWidget(grf3d);
    chartArea->installEventFilter(new ChartAreaMouse(chartArea));
    QObject::connect(grf2d, &Chart2D::clicked, this, &PelmoraC02::grf2d_Click);
    QObject::connect(grf2d, &Chart2D::doubleClicked, this, &PelmoraC02::grf2d_DblClick);
    QObject::connect(grf3d, &Chart3D::clicked, this, &PelmoraC02::grf3d_Click);
    QObject::connect(grf3d, &Chart3D::doubleClicked, this, &PelmoraC02::grf3d_DblClick);
}

void PelmoraC02::prepareCharts()
{
    for (const qint32 code : chart2dActions)
        grf2d->callAction(code, false);
    grf2d->setVisible(true);
    for (const qint32 code : chart3dActions)
        grf3d->callAction(code, false);
    grf3d->setVisible(false);
}

bool PelmoraC02::refreshChart()
{
    bool result = true;
    if (chartVisible(grf2d))
        result = show2dChart();
    if (chartVisible(grf3d))
        result = show3dChart();
    // A chart area that is on but shows no chart yet gets the 2-D chart.
    if (displayFlags.VisibleChart && !chartVisible(grf3d) && !chartVisible(grf2d))
        result = show2dChart();
    return result;
}

bool PelmoraC02::show2dChart()
{
    return showFilled(QStringLiteral("show2dChart: "), grf2d, grf3d, [this](auto &chart) {
        pelmora::fill2dChart(dataGrid(grdResults), chart, lblCubo->text());
    });
}

bool PelmoraC02::show3dChart()
{
    return showFilled(QStringLiteral("show3dChart: "), grf3d, grf2d, [this](auto &chart) {
        pelmora::fill3dChart(dataGrid(grdResults), chart, lblCubo->text());
    });
}

bool PelmoraC02::showChart2d()
{
    return pelmora::trapped(QStringLiteral("showChart2d:"), [&] {
        if (chartVisible(grf2d))
            return true;
        grf3d->setVisible(false);
        grf2d->setVisible(true);
        return show2dChart();
    });
}

bool PelmoraC02::showChart3d()
{
    return pelmora::trapped(QStringLiteral("showChart3d:"), [&] {
        if (chartVisible(grf3d))
            return true;
        grf2d->setVisible(false);
        grf3d->setVisible(true);
        return show3dChart();
    });
}

void PelmoraC02::emptyCharts()
{
    if (grf2d)
        pelmora::empty2dChart(*grf2d);
    if (grf3d)
        pelmora::empty3dChart(*grf3d);
}

void PelmoraC02::grf2d_Click()
{
    emit Click();
}

void PelmoraC02::grf2d_DblClick()
{
    const pelmora::ChartEdit edit = pelmora::editChartFormat(*grf2d, languageId(), this);
    if (edit.accepted && edit.saveAsDefault) {
        doAction(QStringLiteral("WRITECHARTREGISTRY"));
        refreshChart();
    }
    emit DblClick();
}

void PelmoraC02::grf3d_Click()
{
    emit Click();
}

void PelmoraC02::grf3d_DblClick()
{
    emit DblClick();
}
