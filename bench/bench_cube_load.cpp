// Loading the sample cube at 1 and 10 million facts, from its column image and from the fact
// rows (a copy without the image): facts per second and resident bytes per fact, medians of
// five repetitions. The cubes are made once into $PELMORA_BENCH_DIR (default:
// <temp>/pelmora-bench).
//
//   bench_cube_load [--benchmark_filter=...]

#include "bench/BenchCubes.h"
#include "platform/olap/local/CubeBuilder.h"
#include "platform/olap/local/CubeLoader.h"

#include <benchmark/benchmark.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <cstdio>
#include <map>

using namespace platform::olap::local;

namespace {

long residentKilobytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    // /proc files have no size: read to the end rather than testing atEnd().
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').front().toLong();
    }
    return 0;
}

QString sampleCube(std::int64_t facts, bool image)
{
    static std::map<std::pair<std::int64_t, bool>, QString> made;
    if (const auto it = made.find({facts, image}); it != made.end())
        return it->second;
    return made[{facts, image}] = image ? benchSampleCube(facts) : benchRowsCube(facts);
}

// Args: facts, threads (0: one per core), image (1: the file has its column image).
void loadSample(benchmark::State &state)
{
    const std::int64_t facts = state.range(0);
    const bool image = state.range(2) != 0;
    const QString path = sampleCube(facts, image);
    LoadOptions options;
    options.threads = int(state.range(1));
    double bytesPerFact = 0;
    for (auto _ : state) {
        const long before = residentKilobytes();
        std::shared_ptr<const CubeFile> file = loadCubeFile(path, QString(), options);
        const long after = residentKilobytes();
        benchmark::DoNotOptimize(file->cubes.front().facts.rowCount);
        if (file->cubes.front().facts.fromImage != image)
            state.SkipWithError("the cube was not loaded as intended");
        bytesPerFact = double(after - before) * 1024.0 / double(facts);
        state.PauseTiming();
        file.reset();
        state.ResumeTiming();
    }
    state.counters["facts_per_s"] =
        benchmark::Counter(double(facts), benchmark::Counter::kIsIterationInvariantRate);
    state.counters["bytes_per_fact"] = bytesPerFact;
}

BENCHMARK(loadSample)
    ->ArgNames({"facts", "threads", "image"})
    ->ArgsProduct({{1000000, 10000000}, {0, 1}, {1, 0}})
    ->Iterations(3)
    ->Repetitions(5) // medians: the first load of a process also waits for huge pages
    ->ReportAggregatesOnly(true)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

} // namespace

BENCHMARK_MAIN();
