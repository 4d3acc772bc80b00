#pragma once

#include "platform/olap/CellsetData.h"
#include "platform/olap/local/CubeStore.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

namespace platform::olap::mdx {
class Statement;
}

namespace platform::olap::local {

namespace engine {
struct CubeState;
}

struct EngineOptions
{
    // The most cells a result may have, and the most tuples one set may hold while a statement
    // is evaluated; a statement that needs more is refused before it takes the memory.
    std::int64_t cellLimit = 10'000'000;
    // Threads of a pass over the facts: 0 one per core (at most 8), 1 the calling thread only.
    int threads = 0;
    // Fewer facts than this per thread are not worth another thread.
    std::size_t rowsPerThread = std::size_t(1) << 20;
    // Aggregated cells kept for later statements; the cache starts again when it holds more.
    // All engines of the process together keep about processCacheBudget() cells as well.
    std::size_t cacheCells = 4'000'000;
};

struct EngineStatistics
{
    std::int64_t passes = 0;      // passes over the facts
    std::int64_t factsRead = 0;   // facts those passes read
    std::int64_t cellsLoaded = 0; // cells aggregated
    std::int64_t cachedCells = 0; // cells in the cache now
};

// Answers MDX statements over the cubes of a loaded cube file. Keeps, per cube, a cache of
// the cells aggregated, so that a drill or a repeated statement reads the facts only for what
// it has not seen. Statements run one at a time (callers on several threads wait).
class MdxEngine
{
public:
    explicit MdxEngine(std::shared_ptr<const CubeFile> file,
                       const EngineOptions &options = EngineOptions());
    ~MdxEngine();
    MdxEngine(const MdxEngine &) = delete;
    MdxEngine &operator=(const MdxEngine &) = delete;

    // Throws platform::Error: a syntax error with its line and column, an unknown cube,
    // member, level or function by name, a result beyond the cell limit...
    // A statement repeated with the same cell limit gets a copy of the kept result, which
    // shares its member table.
    std::shared_ptr<const CellsetData> result(const QString &statement);
    // A copy of result(statement).
    CellsetData execute(const QString &statement);
    CellsetData execute(const mdx::Statement &statement);

    EngineOptions options() const;
    void setOptions(const EngineOptions &options);
    void clearCache();
    EngineStatistics statistics() const;

    // The cells the caches of all engines of this process hold together, and the budget they
    // share (default 4 million cells, what one engine may keep). An engine that is about to run
    // a statement while the total is past the budget clears its own cache first, so many
    // engines stay within the budget and the cells of one statement, each with a cache of
    // its own.
    static std::int64_t processCachedCells();
    static std::size_t processCacheBudget();
    static void setProcessCacheBudget(std::size_t cells);

private:
    // Brings this engine's share of processCachedCells() up to date; under m_mutex.
    void countCachedCells();
    void dropCache();

    std::shared_ptr<const CubeFile> m_file;
    EngineOptions m_options;
    std::vector<std::unique_ptr<engine::CubeState>> m_cubes;
    // The latest results by statement text and cell limit, most recent first: a repeated
    // statement is answered from here without evaluating it again.
    struct Result
    {
        QString statement;
        std::int64_t cellLimit;
        std::shared_ptr<const CellsetData> data;
    };
    std::vector<Result> m_results;
    std::int64_t m_countedCells = 0; // this engine's share of processCachedCells()
    mutable std::mutex m_mutex;
};

} // namespace platform::olap::local
