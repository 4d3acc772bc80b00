// Painting a result of 100 000 rows by 10 columns into the data grid: selectPaint of the cell set
// (every step: headers, subtotal rule, values, column formats, fitting the widths), and drawing
// a window's worth of the grid scrolled to its middle (only the cells in view are drawn).
// The sample cube is made once into $PELMORA_BENCH_DIR (default: <temp>/pelmora-bench). Runs on
// Qt's offscreen platform unless QT_QPA_PLATFORM says otherwise.
//
//   bench_paint [--benchmark_filter=...]

#include "Control/core/PelmoraC02.h"
#include "bench/BenchCubes.h"
#include "platform/forms/MsgBox.h"
#include "platform/grid/FlexGrid.h"
#include "platform/olap/local/CubeBuilder.h"

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QScrollBar>

#include <cstdio>
#include <memory>

namespace {

// 2 measures x 5 periods on the columns, 10 000 customers x 10 media types on the rows.
const char *const statement =
    "SELECT CrossJoin({[Measures].[Unit Sales], [Measures].[Store Sales]}, "
    "Descendants([Time].[2021], [Time].[Quarter], SELF_AND_BEFORE)) ON AXIS(0), "
    "CrossJoin(Descendants([Customer].[All Customers], [Customer].[Customer]), "
    "Descendants([Promotion].[All Promotions], [Promotion].[Media Type])) ON AXIS(1) "
    "FROM [Sales]";

// The control with the large result open; made once.
PelmoraC02 &control()
{
    static std::unique_ptr<PelmoraC02> made;
    if (!made) {
        made = std::make_unique<PelmoraC02>();
        made->resize(1280, 900);
        made->openParams.OpenFile = benchSampleCube(platform::olap::local::defaultSampleFacts);
        if (!made->cubeConnectNI(false) || !made->MDXExecute(QString::fromUtf8(statement)))
            std::fprintf(stderr, "the sample cube did not open\n");
    }
    return *made;
}

void selectPaint(benchmark::State &state)
{
    PelmoraC02 &c = control();
    for (auto _ : state)
        c.selectPaint();
    const platform::grid::FlexGrid &grid = *c.grdResults;
    state.SetLabel(std::to_string(grid.rows() - grid.fixedRows()) + " x "
                   + std::to_string(grid.cols() - grid.fixedCols()) + " values");
}

// One frame of the data grid in a 1280 x 800 window, scrolled to the middle of the rows.
void scrolledFrame(benchmark::State &state)
{
    platform::grid::FlexGrid &grid = *control().grdResults;
    grid.resize(1280, 800);
    QImage frame(grid.size(), QImage::Format_ARGB32_Premultiplied);
    int step = 0;
    for (auto _ : state) {
        // Each frame a little further down, as while dragging the scroll bar.
        QScrollBar *bar = grid.verticalScrollBar();
        bar->setValue(bar->maximum() / 2 + (step++ % 64) * 20);
        QPainter painter(&frame);
        grid.render(&painter);
    }
}

BENCHMARK(selectPaint)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->UseRealTime();
BENCHMARK(scrolledFrame)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->UseRealTime();

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    // A failure shows its message on standard error instead of waiting for a click.
    platform::forms::setMsgBoxHandler([](const platform::forms::MsgBoxRequest &request) {
        std::fprintf(stderr, "message: %s\n", qPrintable(request.text));
        return platform::forms::Ok;
    });
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
