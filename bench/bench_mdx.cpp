// MDX on the sample cube at 1 and 10 million facts: the statements the browser builds while
// browsing (the first view, a drill down, a nest of two dimensions, TopCount with Order, a
// NON EMPTY crossjoin of the product leaves with the stores), each with the aggregate cache
// emptied before every run (cold: a pass over the facts) and kept (warm: a repeated
// statement), and a sum over every fact. Medians of the repetitions; facts_per_s counts the
// facts of the cube per second of one statement. The cubes are made once into
// $PELMORA_BENCH_DIR (default: <temp>/pelmora-bench).
//
//   [PELMORA_BENCH_LARGE=1] bench_mdx [--benchmark_filter=...]

#include "bench/BenchCubes.h"
#include "platform/olap/local/CubeBuilder.h"
#include "platform/olap/local/CubeLoader.h"
#include "platform/olap/local/MdxEngine.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

#include <cstdio>
#include <map>
#include <vector>

using namespace platform::olap::local;

namespace {

std::shared_ptr<const CubeFile> sampleCube(std::int64_t facts)
{
    static std::map<std::int64_t, std::shared_ptr<const CubeFile>> loaded;
    if (const auto it = loaded.find(facts); it != loaded.end())
        return it->second;
    return loaded[facts] = loadCubeFile(benchSampleCube(facts));
}

const char *const statements[] = {
    // 0: the first view: years by quarter, product families, every other dimension at All.
    "SELECT \r\nDescendants([Time].[2021], [Time].[Quarter], SELF_AND_BEFORE) ON AXIS(0), \r\n"
    "Descendants([Product].[All Products], [Product].[Family], SELF_AND_BEFORE) ON AXIS(1)\r\n"
    " FROM [Sales]\r\n WHERE ([Store].[All Stores], [Customer].[All Customers], "
    "[Promotion].[All Promotions], [Measures].[Unit Sales])\r\n\r\n",
    // 1: a drill down on Food.
    "SELECT \r\nDescendants([Time].[2021], [Time].[Quarter], SELF_AND_BEFORE) ON AXIS(0), \r\n"
    "Descendants([Product].[Food], [Product].[Department], SELF_AND_BEFORE) ON AXIS(1)\r\n"
    " FROM [Sales]\r\n WHERE ([Store].[All Stores], [Customer].[All Customers], "
    "[Promotion].[All Promotions], [Measures].[Unit Sales])\r\n\r\n",
    // 2: the stores nested under it.
    "SELECT \r\nDescendants([Time].[2021], [Time].[Quarter], SELF_AND_BEFORE) ON AXIS(0), \r\n"
    " CROSSJOIN (Descendants([Product].[Food], [Product].[Department], SELF_AND_BEFORE), "
    "Descendants([Store].[All Stores], [Store].[Country], SELF_AND_BEFORE)) ON AXIS(1)\r\n"
    " FROM [Sales]\r\n WHERE ([Customer].[All Customers], [Promotion].[All Promotions], "
    "[Measures].[Unit Sales])\r\n\r\n",
    // 3: the five categories of the highest cost, by month and city.
    "SELECT \r\nDescendants([Time].[2021], [Time].[Month]) ON AXIS(0), \r\nNON EMPTY  "
    "CROSSJOIN (Order(TopCount(Descendants([Product].[All Products], [Product].[Category]), 5, "
    "[Measures].[Store Cost]), ([Measures].[Store Cost]), BDESC), Descendants([Store].[USA], "
    "[Store].[City], SELF)) ON AXIS(1)\r\n FROM [Sales]\r\n WHERE ([Measures].[Store Sales])"
    "\r\n\r\n",
    // 4: every product by every store.
    "SELECT \r\n{[Measures].[Unit Sales]} ON AXIS(0), \r\nNON EMPTY  CROSSJOIN "
    "(Descendants([Product].[All Products], [Product].[Product]), Descendants([Store].[All "
    "Stores], [Store].[Store])) ON AXIS(1)\r\n FROM [Sales]\r\n WHERE ([Time].[2022])\r\n\r\n",
    // 5: the sum of every fact.
    "WITH MEMBER [Time].[Every Year] AS 'Aggregate([Time].[Year].Members)' SELECT FROM [Sales] "
    "WHERE ([Time].[Every Year], [Measures].[Store Sales])",
};

const char *const names[] = {"first_view",     "drill_down",      "nest",
                             "topcount_order", "nonempty_leaves", "full_scan_sum"};

// Args: facts, statement, threads (0: one per core), warm (keep the cache).
void runStatement(benchmark::State &state)
{
    const std::int64_t facts = state.range(0);
    const auto statement = QString::fromUtf8(statements[state.range(1)]);
    EngineOptions options;
    options.threads = int(state.range(2));
    const bool warm = state.range(3) != 0;
    MdxEngine engine(sampleCube(facts), options);
    qint64 cells = engine.result(statement)->cellCount(); // parse and warm the caches once
    const std::int64_t passesBefore = engine.statistics().passes;
    for (auto _ : state) {
        if (!warm) {
            state.PauseTiming();
            engine.clearCache();
            state.ResumeTiming();
        }
        const std::shared_ptr<const platform::olap::CellsetData> data = engine.result(statement);
        cells = data->cellCount();
        benchmark::DoNotOptimize(cells);
    }
    state.SetLabel(std::string(names[state.range(1)]) + (warm ? " warm" : " cold") + ", "
                   + std::to_string(cells) + " cells");
    state.counters["facts_per_s"] =
        benchmark::Counter(double(facts), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["passes"] = benchmark::Counter(double(engine.statistics().passes - passesBefore),
                                                  benchmark::Counter::kAvgIterations);
}

// With PELMORA_BENCH_LARGE set, also the 100-million-fact cube (it takes minutes to make).
void arguments(benchmark::internal::Benchmark *b)
{
    std::vector<std::int64_t> sizes{1'000'000, 10'000'000};
    if (qEnvironmentVariableIsSet("PELMORA_BENCH_LARGE"))
        sizes.push_back(100'000'000);
    for (std::int64_t facts : sizes) {
        for (int statement = 0; statement < int(std::size(statements)); ++statement) {
            for (int threads : {1, 0}) {
                for (int warm : {0, 1}) {
                    if (statement == 5 && warm)
                        continue; // a warm sum is a cache lookup
                    b->Args({facts, statement, threads, warm});
                }
            }
        }
    }
}

BENCHMARK(runStatement)
    ->Apply(arguments)
    ->ArgNames({"facts", "statement", "threads", "warm"})
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true)
    ->UseRealTime();

} // namespace

BENCHMARK_MAIN();
