#include "Control/charts/ChartFeed.h"

#include "platform/chart/Chart2D.h"
#include "platform/chart/Chart3D.h"
#include "platform/grid/FlexGrid.h"
#include "platform/runtime/ShownNumber.h"

#include <algorithm>

using platform::grid::FlexGrid;

namespace pelmora {

namespace {

const QString labelSeparator = QStringLiteral(" / ");

} // namespace

QString chartColumnLabel(const FlexGrid &grid, int col)
{
    QString label;
    for (int r = 1; r < grid.fixedRows(); ++r) {
        if (r > 1)
            label += labelSeparator;
        label += grid.textMatrix(r, col);
    }
    return label;
}

QString chartRowLabel(const FlexGrid &grid, int row)
{
    QString label;
    for (int c = 0; c < grid.fixedCols(); ++c) {
        if (c > 0)
            label += labelSeparator;
        label += grid.textMatrix(row, c);
    }
    return label;
}

QString chartTitleCell(const FlexGrid &grid, int row, int col)
{
    if (row >= grid.rows() || col >= grid.cols())
        return QString();
    return grid.textMatrix(row, col);
}

bool yMaximumFits(double maximum, double dataMax)
{
    return !(maximum < dataMax || maximum > 2 * dataMax);
}

void fill2dChart(const FlexGrid &grid, platform::chart::Chart2D &chart, const QString &viewTitle)
{
    using namespace platform::chart;
    if (chart.header().text().isEmpty())
        chart.header().setText(viewTitle);
    Axis &x = chart.chartArea().axes().item(1);
    Axis &y = chart.chartArea().axes().item(2);
    x.setTitleText(chartTitleCell(grid, 1, 0));
    // The points are named by their labels; the value axis's title stands turned.
    x.setAnnotationMethod(AnnotationMethod::PointLabels);
    y.setTitleRotation(TitleRotation::Rotate90);

    const int firstCol = grid.fixedCols();
    const int lastCol = grid.cols() - 1;
    const int firstRow = grid.fixedRows();
    const int lastRow = grid.rows() - 1;
    chart.legend().setIsShowing(true);

    ChartGroup &group = chart.chartGroups().item(1);
    ChartData &data = group.data();
    data.setSize(std::max(0, lastRow - firstRow + 1), std::max(0, lastCol - firstCol + 1));
    group.pointLabels().removeAll();
    for (int c = firstCol; c <= lastCol; ++c)
        group.pointLabels().add(chartColumnLabel(grid, c));
    group.seriesLabels().removeAll();
    for (int r = firstRow; r <= lastRow; ++r)
        group.seriesLabels().add(chartRowLabel(grid, r));

    // The numbers the cells show, in the user's locale.
    const platform::runtime::ShownNumberReader shown;
    double dataMax = 0;
    int s = 1;
    for (int r = firstRow; r <= lastRow; ++r, ++s) {
        int p = 1;
        for (int c = firstCol; c <= lastCol; ++c, ++p) {
            data.setValue(s, p, shown(grid.textMatrix(r, c)));
            const double stored = data.value(s, p);
            if (stored > dataMax)
                dataMax = stored;
        }
    }
    // A fixed maximum that cuts the data off, or leaves most of the plot empty, gives way to
    // the chart's own.
    if (!yMaximumFits(y.max(), dataMax))
        y.setMaxAuto(true);
}

void fill3dChart(const FlexGrid &grid, platform::chart::Chart3D &chart, const QString &viewTitle)
{
    using namespace platform::chart;
    chart.header().setText(viewTitle);
    Axis3D &x = chart.chartArea().axes().item(1);
    Axis3D &y = chart.chartArea().axes().item(2);
    x.setTitleText(chartTitleCell(grid, 1, 0));
    x.setAnnotationMethod(AnnotationMethod::DataLabels);
    y.setTitleText(chartTitleCell(grid, 0, 1));
    y.setAnnotationMethod(AnnotationMethod::DataLabels);
    ChartGroup3D &group = chart.chartGroups().item(1);
    group.setChartType(1); // a surface of rows by columns

    const int firstCol = grid.fixedCols();
    const int lastCol = grid.cols() - 1;
    const int firstRow = grid.fixedRows();
    const int lastRow = grid.rows() - 1;

    // Turned and zoomed by the mouse, a click selects a point, coloured by height.
    chart.view().setIsInteractive(true);
    chart.view().setSelectionMode(1);
    chart.view().setColorStyle(2);
    Style3D &surface = group.styles().item(1);
    Style3D &bars = group.styles().item(2);
    surface.setIsFilled(true);
    surface.setIsMeshed(true);
    bars.setIsFilled(true);
    bars.setIsMeshed(true);
    surface.setShading(1);

    ElevationData &elevation = group.elevation();
    // Columns first, unless they grow: then the rows, so that the size in between never
    // exceeds the larger of the old and the new (a tall result followed by a wide one would
    // otherwise pass through rows x columns of both and overflow the chart).
    const int columns = std::max(0, lastCol - firstCol + 1);
    const int rows = std::max(0, lastRow - firstRow + 1);
    if (columns > elevation.columnCount()) {
        elevation.setRowCount(rows);
        elevation.setColumnCount(columns);
    } else {
        elevation.setColumnCount(columns);
        elevation.setRowCount(rows);
    }
    elevation.columnLabels().removeAll();
    for (int c = firstCol; c <= lastCol; ++c)
        elevation.columnLabels().add(chartColumnLabel(grid, c));
    elevation.rowLabels().removeAll();
    for (int r = firstRow; r <= lastRow; ++r)
        elevation.rowLabels().add(chartRowLabel(grid, r));

    const platform::runtime::ShownNumberReader shown;
    int i = 1;
    for (int r = firstRow; r <= lastRow; ++r, ++i) {
        int j = 1;
        for (int c = firstCol; c <= lastCol; ++c, ++j)
            elevation.setValue(i, j, shown(grid.textMatrix(r, c)));
    }
}

void empty2dChart(platform::chart::Chart2D &chart)
{
    const bool batched = chart.isBatched();
    chart.setIsBatched(true);
    platform::chart::ChartGroup &group = chart.chartGroups().item(1);
    group.data().setSize(0, 0);
    group.pointLabels().removeAll();
    group.seriesLabels().removeAll();
    chart.chartArea().axes().item(1).setTitleText(QString());
    chart.setIsBatched(batched);
}

void empty3dChart(platform::chart::Chart3D &chart)
{
    const bool batched = chart.isBatched();
    chart.setIsBatched(true);
    platform::chart::ElevationData &elevation = chart.chartGroups().item(1).elevation();
    elevation.setRowCount(0);
    elevation.setColumnCount(0);
    elevation.rowLabels().removeAll();
    elevation.columnLabels().removeAll();
    chart.chartArea().axes().item(1).setTitleText(QString());
    chart.chartArea().axes().item(2).setTitleText(QString());
    chart.setIsBatched(batched);
}

} // namespace pelmora
