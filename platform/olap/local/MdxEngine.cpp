#include "platform/olap/local/MdxEngine.h"

#include "platform/olap/local/Query.h"
#include "platform/olap/mdx/Parser.h"
#include "platform/runtime/Error.h"

#include <algorithm>
#include <atomic>
#include <new>
#include <thread>

namespace platform::olap::local {

namespace {

std::atomic<std::int64_t> cachedCellsInProcess{0};
std::atomic<std::size_t> cacheBudget{4'000'000};

} // namespace

std::int64_t MdxEngine::processCachedCells()
{
    return cachedCellsInProcess.load();
}

std::size_t MdxEngine::processCacheBudget()
{
    return cacheBudget.load();
}

void MdxEngine::setProcessCacheBudget(std::size_t cells)
{
    cacheBudget.store(cells);
}

void MdxEngine::countCachedCells()
{
    std::int64_t cells = 0;
    for (const auto &cube : m_cubes)
        cells += std::int64_t(cube->cache.size());
    cachedCellsInProcess += cells - m_countedCells;
    m_countedCells = cells;
}

// Clears every cube's cache and gives its memory back.
void MdxEngine::dropCache()
{
    for (const auto &cube : m_cubes) {
        cube->cache.release();
        cube->groups.clear();
    }
    countCachedCells();
}

MdxEngine::MdxEngine(std::shared_ptr<const CubeFile> file, const EngineOptions &options)
    : m_file(std::move(file)), m_options(options)
{
    for (const CubeStore &cube : m_file->cubes) {
        m_cubes.push_back(
            std::make_unique<engine::CubeState>(std::shared_ptr<const CubeStore>(m_file, &cube)));
    }
}

MdxEngine::~MdxEngine()
{
    cachedCellsInProcess -= m_countedCells;
}

EngineOptions MdxEngine::options() const
{
    std::lock_guard lock(m_mutex);
    return m_options;
}

void MdxEngine::setOptions(const EngineOptions &options)
{
    std::lock_guard lock(m_mutex);
    m_options = options;
}

void MdxEngine::clearCache()
{
    std::lock_guard lock(m_mutex);
    dropCache();
    m_results.clear();
}

EngineStatistics MdxEngine::statistics() const
{
    std::lock_guard lock(m_mutex);
    EngineStatistics s;
    for (const auto &cube : m_cubes) {
        s.passes += cube->stats.passes;
        s.factsRead += cube->stats.factsRead;
        s.cellsLoaded += cube->stats.cellsLoaded;
        s.cachedCells += std::int64_t(cube->cache.size());
    }
    return s;
}

CellsetData MdxEngine::execute(const QString &statement)
{
    return *result(statement);
}

std::shared_ptr<const CellsetData> MdxEngine::result(const QString &statement)
{
    {
        std::lock_guard lock(m_mutex);
        for (std::size_t i = 0; i < m_results.size(); ++i) {
            if (m_results[i].cellLimit == m_options.cellLimit
                && m_results[i].statement == statement) {
                std::rotate(m_results.begin(), m_results.begin() + std::ptrdiff_t(i),
                            m_results.begin() + std::ptrdiff_t(i) + 1);
                // A result object of its own (callers tell runs apart by it), made from the
                // kept one's flat arrays: no record per member or cell is made again.
                return std::make_shared<const CellsetData>(*m_results.front().data);
            }
        }
    }
    auto data = std::make_shared<const CellsetData>(execute(mdx::parseStatement(statement)));
    std::lock_guard lock(m_mutex);
    // A few results, and none so large that keeping it costs more than the cache's cells.
    constexpr std::size_t keptResults = 8;
    if (std::size_t(data->cellCount()) <= m_options.cacheCells) {
        m_results.insert(m_results.begin(), {statement, m_options.cellLimit, data});
        if (m_results.size() > keptResults)
            m_results.pop_back();
    }
    return data;
}

CellsetData MdxEngine::execute(const mdx::Statement &statement)
{
    std::lock_guard lock(m_mutex);
    const std::span<const mdx::NamePart> parts = statement.cube().parts();
    const QString name = parts.size() == 1 ? parts[0].text : statement.cube().uniqueName();
    engine::CubeState *state = nullptr;
    QStringList names;
    for (std::size_t c = 0; c < m_file->cubes.size(); ++c) {
        names.append(m_file->cubes[c].name);
        if (!state && m_file->cubes[c].name.compare(name, Qt::CaseInsensitive) == 0)
            state = m_cubes[c].get();
    }
    if (!state) {
        throw Error(QStringLiteral("Cube '%1' not found in catalog '%2' (its cubes: %3)")
                        .arg(name, m_file->schemaName, names.join(QStringLiteral(", "))));
    }
    if (state->cache.size() > m_options.cacheCells) {
        state->cache.release();
        state->groups.clear();
        countCachedCells();
    }
    if (cachedCellsInProcess.load() > std::int64_t(cacheBudget.load()) && m_countedCells > 0)
        dropCache();
    engine::QueryLimits limits;
    limits.cellLimit = m_options.cellLimit;
    limits.rowsPerThread = std::max<std::size_t>(1, m_options.rowsPerThread);
    limits.threads = m_options.threads > 0
                         ? m_options.threads
                         : int(std::clamp(std::thread::hardware_concurrency(), 1u, 8u));
    // The cache may have grown, whether the statement succeeds or fails.
    struct Recount
    {
        MdxEngine &engine;
        ~Recount() { engine.countCachedCells(); }
    } recount{*this};
    try {
        engine::Query query(*state, limits);
        return query.run(statement);
    } catch (const Error &) {
        throw;
    } catch (const std::bad_alloc &) {
        throw Error(QStringLiteral("There is not enough memory to evaluate the statement"));
    } catch (const std::exception &e) {
        throw Error(QStringLiteral("The statement could not be evaluated: %1")
                        .arg(QString::fromLocal8Bit(e.what())));
    }
}

} // namespace platform::olap::local
