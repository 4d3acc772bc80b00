#pragma once

// The aggregation of stored measures over the fact columns of a cube store. Internal to the
// MDX engine.

#include "platform/olap/local/CubeStore.h"
#include "platform/olap/local/EngineTypes.h"

#include <cstdint>
#include <map>
#include <utility>
#include <vector>

namespace platform::olap::local::engine {

using LeafRange = std::pair<std::uint32_t, std::uint32_t>; // [first, end) of leaf numbers

// Sets of stored members of one hierarchy that are aggregated as one coordinate (Aggregate over
// a set, a slicer holding a set). Group g of hierarchy h has the coordinate id
// hierarchies[h].members.size() + g, after the ids of the members.
class GroupRegistry
{
public:
    explicit GroupRegistry(const CubeStore &cube);

    // The id of the group of these members (any order, repeats allowed).
    std::int32_t intern(int hierarchy, std::vector<std::int32_t> members);
    // The leaves of a coordinate (a member or a group), as ascending disjoint ranges.
    std::vector<LeafRange> ranges(int hierarchy, std::int32_t id) const;
    bool isGroup(int hierarchy, std::int32_t id) const;
    std::size_t size() const;
    void clear();

private:
    struct Group
    {
        std::vector<LeafRange> ranges;
    };
    struct PerHierarchy
    {
        std::map<std::vector<std::int32_t>, std::int32_t> ids;
        std::vector<Group> groups;
    };

    const CubeStore &m_cube;
    std::vector<PerHierarchy> m_hierarchies;
};

struct AggregationStats
{
    std::int64_t passes = 0;      // passes over the facts
    std::int64_t factsRead = 0;   // facts read by those passes
    std::int64_t cellsLoaded = 0; // cells aggregated into the cache
};

struct AggregationOptions
{
    int threads = 1;                                  // 1: the calling thread only
    std::size_t rowsPerThread = std::size_t(1) << 20; // fewer rows are not worth a thread
    std::size_t gridLimit = std::size_t(1) << 22;     // accumulator cells of one pass
};

// Aggregates cells. A key is the measure's index, then one coordinate per hierarchy of the
// cube from hierarchy 1 on (a member or a group id).
class CellAggregator
{
public:
    CellAggregator(const CubeStore &cube, const GroupRegistry &groups,
                   const AggregationOptions &options, AggregationStats &stats);

    // Aggregates every key of `keys` and stores the values in `cache`.
    void load(const KeyTable<char> &keys, KeyTable<CellValue> &cache);

private:
    const CubeStore &m_cube;
    const GroupRegistry &m_groups;
    AggregationOptions m_options;
    AggregationStats &m_stats;
};

} // namespace platform::olap::local::engine
