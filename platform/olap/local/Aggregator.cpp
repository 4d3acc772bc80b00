// One pass over the fact columns answers a whole batch of cells.
//
// For each hierarchy the batch constrains, the leaf ranges of its coordinates cut the leaves into
// atoms (the intervals between the ranges' ends); a fact's leaf numbers give its atom on each
// such hierarchy through a table, and the atoms' product is a dense grid of accumulators. A
// requested cell is then the box of atoms its members cover, so that a year and its quarters,
// or the All member and the families, come from one grid at the finest level requested.
// Distinct counts do not add up over atoms: they are aggregated per requested member instead.

#include "platform/olap/local/Aggregator.h"

#include "platform/runtime/Error.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <thread>
#include <unordered_map>

namespace platform::olap::local::engine {

namespace {

// Added to a fact's grid index for each hierarchy where the fact falls outside every atom, so
// that the sum exceeds any grid index.
constexpr std::uint32_t outside = 0xFFFFFFFFu;
constexpr std::size_t blockRows = 1024;

bool isFull(const std::vector<LeafRange> &ranges, std::uint32_t leafCount)
{
    return ranges.size() == 1 && ranges[0].first == 0 && ranges[0].second == leafCount;
}

} // namespace

// GroupRegistry

GroupRegistry::GroupRegistry(const CubeStore &cube)
    : m_cube(cube), m_hierarchies(cube.hierarchies.size())
{}

std::int32_t GroupRegistry::intern(int hierarchy, std::vector<std::int32_t> members)
{
    std::sort(members.begin(), members.end());
    members.erase(std::unique(members.begin(), members.end()), members.end());
    PerHierarchy &per = m_hierarchies[std::size_t(hierarchy)];
    const auto base = std::int32_t(m_cube.hierarchies[std::size_t(hierarchy)].members.size());
    if (const auto it = per.ids.find(members); it != per.ids.end())
        return it->second;
    const HierarchyStore &h = m_cube.hierarchies[std::size_t(hierarchy)];
    std::vector<LeafRange> ranges;
    for (std::int32_t m : members)
        ranges.emplace_back(h.members[std::size_t(m)].leafLo, h.members[std::size_t(m)].leafHi);
    std::sort(ranges.begin(), ranges.end());
    std::vector<LeafRange> merged;
    for (const LeafRange &r : ranges) {
        if (!merged.empty() && r.first <= merged.back().second)
            merged.back().second = std::max(merged.back().second, r.second);
        else
            merged.push_back(r);
    }
    const auto id = base + std::int32_t(per.groups.size());
    per.groups.push_back(Group{std::move(merged)});
    per.ids.emplace(std::move(members), id);
    return id;
}

std::vector<LeafRange> GroupRegistry::ranges(int hierarchy, std::int32_t id) const
{
    const HierarchyStore &h = m_cube.hierarchies[std::size_t(hierarchy)];
    if (std::size_t(id) < h.members.size()) {
        const MemberNode &node = h.members[std::size_t(id)];
        return {{node.leafLo, node.leafHi}};
    }
    return m_hierarchies[std::size_t(hierarchy)].groups[std::size_t(id) - h.members.size()].ranges;
}

bool GroupRegistry::isGroup(int hierarchy, std::int32_t id) const
{
    return std::size_t(id) >= m_cube.hierarchies[std::size_t(hierarchy)].members.size();
}

std::size_t GroupRegistry::size() const
{
    std::size_t n = 0;
    for (const PerHierarchy &per : m_hierarchies)
        n += per.groups.size();
    return n;
}

void GroupRegistry::clear()
{
    for (PerHierarchy &per : m_hierarchies) {
        per.ids.clear();
        per.groups.clear();
    }
}

namespace {

using Key = const std::int32_t *;

struct Plan
{
    struct Dim
    {
        int hierarchy = 0;
        int factColumn = 0;
        std::uint32_t slotCount = 0;
        std::uint64_t stride = 1;
        bool range = false; // one atom: a range test instead of the table
        std::uint32_t lo = 0;
        std::uint32_t width = 0;
        std::vector<std::uint32_t> table; // leaf -> slot * stride, or `outside`
        std::unordered_map<std::int32_t, std::vector<LeafRange>> slotRanges; // id -> slot ranges
    };

    std::vector<Dim> dims;
    std::uint64_t grid = 1;
    // Copies of each accumulator that consecutive facts take in turn, so that facts falling
    // in the same cell do not wait for each other's addition; folded after the pass.
    std::uint32_t lanes = 1;

    // Strides, in the order of the dimensions; the tables then hold slot * stride. With up to
    // three dimensions the pass reads tables only.
    void finish(const CubeStore &cube)
    {
        grid = 1;
        for (Dim &d : dims) {
            if (d.range && dims.size() <= 3) {
                d.table.assign(cube.hierarchies[std::size_t(d.hierarchy)].leafCount(), outside);
                std::fill(d.table.begin() + d.lo, d.table.begin() + d.lo + d.width, 0u);
                d.range = false;
            }
            d.stride = grid;
            grid *= d.slotCount;
            if (d.stride == 1)
                continue;
            for (std::uint32_t &t : d.table) {
                if (t != outside)
                    t = std::uint32_t(t * d.stride);
            }
        }
    }
};

struct Column
{
    int column = 0;
    bool sum = false;
    bool countValues = false; // the column has NULLs: count the facts with a value
    bool minMax = false;
    bool distinct = false;
    std::vector<double> sums;
    std::vector<double> mins;
    std::vector<double> maxs;
    std::vector<std::uint64_t> values;
    KeyTable<char> seen{3}; // distinct: (slot, value bits)
};

struct Accumulators
{
    std::vector<std::uint64_t> rows;
    std::vector<Column> columns;

    void allocate(std::size_t cells)
    {
        rows.assign(cells, 0);
        for (Column &c : columns) {
            if (c.sum)
                c.sums.assign(cells, 0.0);
            if (c.countValues)
                c.values.assign(cells, 0);
            if (c.minMax) {
                c.mins.assign(cells, std::numeric_limits<double>::infinity());
                c.maxs.assign(cells, -std::numeric_limits<double>::infinity());
            }
        }
    }

    // Adds up the lanes of each cell: cell c's lanes are [c * lanes, (c + 1) * lanes).
    void fold(std::size_t cells, std::uint32_t lanes)
    {
        if (lanes == 1)
            return;
        const auto sum = [&](auto &v) {
            if (v.empty())
                return;
            for (std::size_t c = 0; c < cells; ++c) {
                auto total = v[c * lanes];
                for (std::uint32_t l = 1; l < lanes; ++l)
                    total += v[c * lanes + l];
                v[c] = total;
            }
            v.resize(cells);
        };
        sum(rows);
        for (Column &c : columns) {
            sum(c.sums);
            sum(c.values);
            for (std::size_t cell = 0; cell < cells && !c.mins.empty(); ++cell) {
                double lo = c.mins[cell * lanes];
                double hi = c.maxs[cell * lanes];
                for (std::uint32_t l = 1; l < lanes; ++l) {
                    lo = std::min(lo, c.mins[cell * lanes + l]);
                    hi = std::max(hi, c.maxs[cell * lanes + l]);
                }
                c.mins[cell] = lo;
                c.maxs[cell] = hi;
            }
            if (!c.mins.empty()) {
                c.mins.resize(cells);
                c.maxs.resize(cells);
            }
        }
    }

    void merge(const Accumulators &other)
    {
        for (std::size_t i = 0; i < rows.size(); ++i)
            rows[i] += other.rows[i];
        for (std::size_t c = 0; c < columns.size(); ++c) {
            Column &to = columns[c];
            const Column &from = other.columns[c];
            for (std::size_t i = 0; i < to.sums.size(); ++i)
                to.sums[i] += from.sums[i];
            for (std::size_t i = 0; i < to.values.size(); ++i)
                to.values[i] += from.values[i];
            for (std::size_t i = 0; i < to.mins.size(); ++i) {
                to.mins[i] = std::min(to.mins[i], from.mins[i]);
                to.maxs[i] = std::max(to.maxs[i], from.maxs[i]);
            }
        }
    }
};

bool isNullRow(const ValueColumn &column, std::size_t row)
{
    return (column.nullBits[row >> 6] >> (row & 63)) & 1;
}

// The number of NULL rows in [begin, end).
std::size_t nullsIn(const ValueColumn &column, std::size_t begin, std::size_t end)
{
    if (column.nullBits.empty() || begin >= end)
        return 0;
    std::size_t count = 0;
    std::size_t row = begin;
    while (row < end && (row & 63) != 0)
        count += isNullRow(column, row++);
    for (; row + 64 <= end; row += 64)
        count += std::size_t(std::popcount(column.nullBits[row >> 6]));
    while (row < end)
        count += isNullRow(column, row++);
    return count;
}

// Every fact in one cell: no lookups at all.
void accumulateAll(const FactStore &facts, Accumulators &acc, std::size_t begin, std::size_t end)
{
    acc.rows[0] += end - begin;
    for (Column &c : acc.columns) {
        const ValueColumn &vc = facts.values[std::size_t(c.column)];
        if (c.countValues)
            c.values[0] += (end - begin) - nullsIn(vc, begin, end);
        if (c.sum) {
            const double *v = vc.values.data();
            double s0 = 0, s1 = 0, s2 = 0, s3 = 0;
            std::size_t row = begin;
            for (; row + 4 <= end; row += 4) {
                s0 += v[row];
                s1 += v[row + 1];
                s2 += v[row + 2];
                s3 += v[row + 3];
            }
            for (; row < end; ++row)
                s0 += v[row];
            c.sums[0] += (s0 + s1) + (s2 + s3);
        }
        if (c.minMax) {
            const double *v = vc.values.data();
            double lo = c.mins[0];
            double hi = c.maxs[0];
            const bool nulls = !vc.nullBits.empty();
            for (std::size_t row = begin; row < end; ++row) {
                if (nulls && isNullRow(vc, row))
                    continue;
                lo = std::min(lo, v[row]);
                hi = std::max(hi, v[row]);
            }
            c.mins[0] = lo;
            c.maxs[0] = hi;
        }
    }
}

// The facts of a block that fall in the grid: their grid slots and their rows in the block,
// in row order, and how many there are. The facts outside are dropped here, since no cell
// reads them and adding them all into one slot makes each addition wait for the one before.
// Up to three hierarchies, the usual case, in one loop.
template <typename A, typename B, typename C>
std::size_t slotsOfThree(const A *a, const std::uint32_t *ta, const B *b, const std::uint32_t *tb,
                         const C *c, const std::uint32_t *tc, std::size_t n, std::uint64_t grid,
                         std::uint32_t lanes, std::uint32_t *slot, std::uint32_t *pick)
{
    std::size_t kept = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const std::uint64_t index =
            std::uint64_t(ta[a[i]]) + (tb ? tb[b[i]] : 0u) + (tc ? tc[c[i]] : 0u);
        slot[kept] = std::uint32_t(index) * lanes + (std::uint32_t(i) & (lanes - 1));
        pick[kept] = std::uint32_t(i);
        kept += index < grid;
    }
    return kept;
}

std::size_t inGrid(const FactStore &facts, const Plan &plan, std::size_t row0, std::size_t n,
                   std::uint64_t *index, std::uint32_t *slot, std::uint32_t *pick)
{
    const std::uint64_t grid = plan.grid;
    const std::uint32_t lanes = plan.lanes;
    std::size_t kept = 0;
    if (plan.dims.size() <= 3) {
        const Plan::Dim &first = plan.dims[0];
        const Plan::Dim *second = plan.dims.size() > 1 ? &plan.dims[1] : nullptr;
        const Plan::Dim *third = plan.dims.size() > 2 ? &plan.dims[2] : nullptr;
        const LeafColumn &none = facts.leaves[std::size_t(first.factColumn)];
        const LeafColumn &bColumn = second ? facts.leaves[std::size_t(second->factColumn)] : none;
        const LeafColumn &cColumn = third ? facts.leaves[std::size_t(third->factColumn)] : none;
        facts.leaves[std::size_t(first.factColumn)].visit([&](auto a) {
            bColumn.visit([&](auto b) {
                cColumn.visit([&](auto c) {
                    kept = slotsOfThree(a.data() + row0, first.table.data(), b.data() + row0,
                                        second ? second->table.data() : nullptr, c.data() + row0,
                                        third ? third->table.data() : nullptr, n, grid, lanes, slot,
                                        pick);
                });
            });
        });
        return kept;
    }
    std::fill_n(index, n, std::uint64_t(0));
    for (const Plan::Dim &d : plan.dims) {
        facts.leaves[std::size_t(d.factColumn)].visit([&](auto column) {
            const auto *leaf = column.data() + row0;
            if (d.range) {
                const std::uint32_t lo = d.lo;
                const std::uint32_t width = d.width;
                for (std::size_t i = 0; i < n; ++i)
                    index[i] += (std::uint32_t(leaf[i]) - lo < width) ? 0u : outside;
            } else {
                const std::uint32_t *table = d.table.data();
                for (std::size_t i = 0; i < n; ++i)
                    index[i] += table[leaf[i]];
            }
        });
    }
    for (std::size_t i = 0; i < n; ++i) {
        slot[kept] = std::uint32_t(index[i]) * lanes + (std::uint32_t(i) & (lanes - 1));
        pick[kept] = std::uint32_t(i);
        kept += index[i] < grid;
    }
    return kept;
}

std::size_t slotsOf(const FactStore &facts, const Plan &plan, std::size_t row0, std::size_t n,
                    std::uint64_t *index, std::uint32_t *slot, std::uint32_t *pick,
                    std::uint64_t *rows)
{
    const std::size_t kept = inGrid(facts, plan, row0, n, index, slot, pick);
    for (std::size_t j = 0; j < kept; ++j)
        ++rows[slot[j]];
    return kept;
}

void accumulate(const FactStore &facts, const Plan &plan, Accumulators &acc, std::size_t begin,
                std::size_t end)
{
    if (plan.dims.empty()) {
        accumulateAll(facts, acc, begin, end);
        return;
    }
    std::uint64_t index[blockRows];
    std::uint32_t slot[blockRows];
    std::uint32_t pick[blockRows];
    std::uint64_t *rows = acc.rows.data();
    for (std::size_t row0 = begin; row0 < end; row0 += blockRows) {
        const std::size_t n = std::min(blockRows, end - row0);
        const std::size_t kept = slotsOf(facts, plan, row0, n, index, slot, pick, rows);
        for (Column &c : acc.columns) {
            const ValueColumn &vc = facts.values[std::size_t(c.column)];
            if (c.sum) {
                const double *v = vc.values.data() + row0;
                double *sums = c.sums.data();
                for (std::size_t j = 0; j < kept; ++j)
                    sums[slot[j]] += v[pick[j]];
            }
            if (c.countValues) {
                std::uint64_t *values = c.values.data();
                const std::uint64_t *bits = vc.nullBits.data();
                for (std::size_t j = 0; j < kept; ++j) {
                    const std::size_t row = row0 + pick[j];
                    values[slot[j]] += 1 - ((bits[row >> 6] >> (row & 63)) & 1);
                }
            }
            if (c.minMax) {
                const double *v = vc.values.data() + row0;
                const bool nulls = !vc.nullBits.empty();
                for (std::size_t j = 0; j < kept; ++j) {
                    if (nulls && isNullRow(vc, row0 + pick[j]))
                        continue;
                    const std::uint32_t s = slot[j];
                    c.mins[s] = std::min(c.mins[s], v[pick[j]]);
                    c.maxs[s] = std::max(c.maxs[s], v[pick[j]]);
                }
            }
            if (c.distinct) {
                const double *v = vc.values.data() + row0;
                const bool nulls = !vc.nullBits.empty();
                for (std::size_t j = 0; j < kept; ++j) {
                    if (nulls && isNullRow(vc, row0 + pick[j]))
                        continue;
                    const double value = v[pick[j]] == 0 ? 0.0 : v[pick[j]]; // -0 is 0
                    std::uint64_t bits = 0;
                    std::memcpy(&bits, &value, sizeof bits);
                    const std::int32_t key[3] = {std::int32_t(slot[j]),
                                                 std::int32_t(std::uint32_t(bits)),
                                                 std::int32_t(std::uint32_t(bits >> 32))};
                    c.seen.insert(key);
                }
            }
        }
    }
}

// The hierarchy's coordinates in the keys, each once.
std::vector<std::int32_t> distinctIds(const std::vector<Key> &keys, int h)
{
    std::vector<std::int32_t> ids;
    ids.reserve(keys.size());
    for (Key key : keys)
        ids.push_back(key[h]);
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    return ids;
}

} // namespace

CellAggregator::CellAggregator(const CubeStore &cube, const GroupRegistry &groups,
                               const AggregationOptions &options, AggregationStats &stats)
    : m_cube(cube), m_groups(groups), m_options(options), m_stats(stats)
{}

namespace {

class Loader
{
public:
    Loader(const CubeStore &cube, const GroupRegistry &groups, const AggregationOptions &options,
           AggregationStats &stats, KeyTable<CellValue> &cache)
        : m_cube(cube), m_groups(groups), m_options(options), m_stats(stats), m_cache(cache),
          m_width(int(cube.hierarchies.size()))
    {}

    void loadRollup(const std::vector<Key> &keys)
    {
        Plan plan;
        if (planRollup(keys, plan))
            run(keys, plan, false);
        else
            loadExact(keys, false);
    }

    // Keys grouped by their levels (or groups), each group from a grid of its own members.
    void loadExact(const std::vector<Key> &keys, bool distinct)
    {
        std::map<std::vector<std::int64_t>, std::vector<Key>> bySignature;
        std::vector<std::int64_t> signature(std::size_t(m_width), 0);
        for (Key key : keys) {
            for (int h = 1; h < m_width; ++h) {
                const HierarchyStore &hs = m_cube.hierarchies[std::size_t(h)];
                const std::int32_t id = key[h];
                if (m_groups.isGroup(h, id)) {
                    signature[std::size_t(h)] = std::int64_t(id) + 1000000;
                } else {
                    const MemberNode &node = hs.members[std::size_t(id)];
                    signature[std::size_t(h)] =
                        (node.leafLo == 0 && node.leafHi == hs.leafCount()) ? -1 : node.level;
                }
            }
            bySignature[signature].push_back(key);
        }
        for (const auto &[sig, group] : bySignature)
            loadChunked(group, distinct);
    }

private:
    std::uint64_t sparseLimit(std::size_t keys) const
    {
        return std::min<std::uint64_t>(m_options.gridLimit, 16 * std::uint64_t(keys) + 65536);
    }

    // Keys of one signature: a grid of their members, split while it is too large or sparse.
    void loadChunked(const std::vector<Key> &keys, bool distinct)
    {
        std::uint64_t grid = 1;
        int widest = -1;
        std::size_t widestCount = 1;
        for (int h = 1; h < m_width; ++h) {
            const std::size_t count = distinctIds(keys, h).size();
            grid *= count;
            if (count > widestCount) {
                widestCount = count;
                widest = h;
            }
        }
        if (grid <= sparseLimit(keys.size()) || widest < 0) {
            Plan plan;
            planExact(keys, plan);
            run(keys, plan, distinct);
            return;
        }
        const std::vector<std::int32_t> ids = distinctIds(keys, widest);
        const std::int32_t middle = ids[ids.size() / 2];
        std::vector<Key> low;
        std::vector<Key> high;
        for (Key key : keys)
            (key[widest] < middle ? low : high).push_back(key);
        loadChunked(low, distinct);
        loadChunked(high, distinct);
    }

    bool planRollup(const std::vector<Key> &keys, Plan &plan) const
    {
        for (int h = 1; h < m_width; ++h) {
            const HierarchyStore &hs = m_cube.hierarchies[std::size_t(h)];
            const std::uint32_t leafCount = hs.leafCount();
            const std::vector<std::int32_t> ids = distinctIds(keys, h);
            std::vector<std::vector<LeafRange>> idRanges;
            bool allFull = true;
            std::vector<std::uint32_t> bounds;
            for (std::int32_t id : ids) {
                idRanges.push_back(m_groups.ranges(h, id));
                allFull = allFull && isFull(idRanges.back(), leafCount);
                for (const LeafRange &r : idRanges.back()) {
                    bounds.push_back(r.first);
                    bounds.push_back(r.second);
                }
            }
            if (allFull)
                continue;
            std::sort(bounds.begin(), bounds.end());
            bounds.erase(std::unique(bounds.begin(), bounds.end()), bounds.end());
            const auto boundIndex = [&](std::uint32_t leaf) {
                return std::size_t(std::lower_bound(bounds.begin(), bounds.end(), leaf)
                                   - bounds.begin());
            };
            // Coverage of each interval between bounds, then the atoms: covered intervals.
            std::vector<int> cover(bounds.size(), 0);
            for (const auto &ranges : idRanges) {
                for (const LeafRange &r : ranges) {
                    ++cover[boundIndex(r.first)];
                    --cover[boundIndex(r.second)];
                }
            }
            std::vector<std::uint32_t> atomsBefore(bounds.size(), 0);
            std::uint32_t atoms = 0;
            int running = 0;
            for (std::size_t b = 0; b < bounds.size(); ++b) {
                atomsBefore[b] = atoms;
                running += cover[b];
                if (running > 0 && b + 1 < bounds.size())
                    ++atoms;
            }
            Plan::Dim dim;
            dim.hierarchy = h;
            dim.factColumn = hs.factColumn;
            dim.slotCount = atoms;
            if (atoms == 1) {
                dim.range = true;
                running = 0;
                for (std::size_t b = 0; b + 1 < bounds.size(); ++b) {
                    running += cover[b];
                    if (running > 0) {
                        dim.lo = bounds[b];
                        dim.width = bounds[b + 1] - bounds[b];
                        break;
                    }
                }
            } else {
                dim.table.assign(leafCount, outside);
                running = 0;
                for (std::size_t b = 0; b + 1 < bounds.size(); ++b) {
                    running += cover[b];
                    if (running <= 0)
                        continue;
                    std::fill(dim.table.begin() + bounds[b], dim.table.begin() + bounds[b + 1],
                              atomsBefore[b]);
                }
            }
            for (std::size_t i = 0; i < ids.size(); ++i) {
                std::vector<LeafRange> atomRanges;
                for (const LeafRange &r : idRanges[i])
                    atomRanges.emplace_back(atomsBefore[boundIndex(r.first)],
                                            atomsBefore[boundIndex(r.second)]);
                dim.slotRanges.emplace(ids[i], std::move(atomRanges));
            }
            plan.dims.push_back(std::move(dim));
        }
        std::uint64_t grid = 1;
        for (const Plan::Dim &d : plan.dims) {
            grid *= d.slotCount;
            if (grid > m_options.gridLimit)
                return false;
        }
        if (grid > sparseLimit(keys.size()))
            return false;
        // The work of adding up the boxes.
        std::uint64_t work = 0;
        for (Key key : keys) {
            std::uint64_t box = 1;
            for (const Plan::Dim &d : plan.dims) {
                std::uint64_t n = 0;
                for (const LeafRange &r : d.slotRanges.at(key[d.hierarchy]))
                    n += r.second - r.first;
                box *= n;
            }
            work += box;
            if (work > (std::uint64_t(1) << 26))
                return false;
        }
        plan.finish(m_cube);
        return true;
    }

    // One slot per coordinate: the coordinates of a hierarchy are disjoint here.
    void planExact(const std::vector<Key> &keys, Plan &plan) const
    {
        for (int h = 1; h < m_width; ++h) {
            const HierarchyStore &hs = m_cube.hierarchies[std::size_t(h)];
            const std::uint32_t leafCount = hs.leafCount();
            const std::vector<std::int32_t> ids = distinctIds(keys, h);
            if (std::all_of(ids.begin(), ids.end(), [&](std::int32_t id) {
                    return isFull(m_groups.ranges(h, id), leafCount);
                }))
                continue;
            Plan::Dim dim;
            dim.hierarchy = h;
            dim.factColumn = hs.factColumn;
            dim.slotCount = std::uint32_t(ids.size());
            const std::vector<LeafRange> first = m_groups.ranges(h, ids[0]);
            if (ids.size() == 1 && first.size() == 1) {
                dim.range = true;
                dim.lo = first[0].first;
                dim.width = first[0].second - first[0].first;
            } else {
                dim.table.assign(leafCount, outside);
            }
            for (std::size_t i = 0; i < ids.size(); ++i) {
                if (!dim.range) {
                    for (const LeafRange &r : m_groups.ranges(h, ids[i]))
                        std::fill(dim.table.begin() + r.first, dim.table.begin() + r.second,
                                  std::uint32_t(i));
                }
                dim.slotRanges.emplace(
                    ids[i], std::vector<LeafRange>{{std::uint32_t(i), std::uint32_t(i + 1)}});
            }
            plan.dims.push_back(std::move(dim));
        }
        plan.finish(m_cube);
    }

    void run(const std::vector<Key> &keys, Plan &plan, bool distinct)
    {
        const FactStore &facts = m_cube.facts;
        // The columns the keys' measures read, and what each needs.
        Accumulators proto;
        std::vector<int> columnOf(m_cube.facts.values.size(), -1);
        for (Key key : keys) {
            const MeasureStore &measure = m_cube.measures[std::size_t(key[0])];
            int &c = columnOf[std::size_t(measure.valueColumn)];
            if (c < 0) {
                c = int(proto.columns.size());
                proto.columns.emplace_back();
                proto.columns.back().column = measure.valueColumn;
                proto.columns.back().countValues =
                    !facts.values[std::size_t(measure.valueColumn)].nullBits.empty();
            }
            Column &column = proto.columns[std::size_t(c)];
            switch (measure.aggregator) {
            case Aggregator::Sum:
            case Aggregator::Avg:
                column.sum = true;
                break;
            case Aggregator::Min:
            case Aggregator::Max:
                column.minMax = true;
                break;
            case Aggregator::DistinctCount:
                column.distinct = true;
                break;
            case Aggregator::Count:
                break;
            }
        }
        const std::size_t cells = std::size_t(plan.grid) + 1; // + the slot of facts outside
        const std::size_t rowCount = facts.rowCount;
        int threads = std::max(1, m_options.threads);
        // A sum into one cell runs at the speed of memory: a thread is enough.
        if (distinct || plan.dims.empty())
            threads = 1;
        const std::size_t worth = std::max<std::size_t>(1, rowCount / m_options.rowsPerThread);
        threads = int(std::min<std::size_t>(std::size_t(threads), worth));
        // Each thread's accumulators cost memory: not for large grids.
        if (cells * std::size_t(threads) > m_options.gridLimit)
            threads = 1;
        // Lanes for small grids, where facts meet in the same cell often.
        plan.lanes = !distinct && !plan.dims.empty() && cells <= 4096 ? 8 : 1;
        std::vector<Accumulators> parts(std::size_t(threads), proto);
        for (Accumulators &part : parts)
            part.allocate(cells * plan.lanes);
        if (threads == 1) {
            accumulate(facts, plan, parts[0], 0, rowCount);
            parts[0].fold(cells, plan.lanes);
        } else {
            std::vector<std::thread> workers;
            const std::size_t per = (rowCount + std::size_t(threads) - 1) / std::size_t(threads);
            for (int t = 0; t < threads; ++t) {
                const std::size_t begin = std::min(rowCount, per * std::size_t(t));
                const std::size_t end = std::min(rowCount, begin + per);
                workers.emplace_back([&, t, begin, end] {
                    accumulate(facts, plan, parts[std::size_t(t)], begin, end);
                    parts[std::size_t(t)].fold(cells, plan.lanes);
                });
            }
            for (std::thread &w : workers)
                w.join();
            for (std::size_t t = 1; t < parts.size(); ++t)
                parts[0].merge(parts[t]);
        }
        ++m_stats.passes;
        m_stats.factsRead += std::int64_t(rowCount);
        Accumulators &acc = parts[0];
        std::vector<std::uint64_t> distinctCounts;
        for (const Column &c : acc.columns) {
            if (!c.distinct)
                continue;
            distinctCounts.assign(cells, 0);
            for (std::size_t i = 0; i < c.seen.size(); ++i)
                ++distinctCounts[std::size_t(c.seen.key(i)[0])];
        }

        std::vector<const std::vector<LeafRange> *> ranges(plan.dims.size());
        for (Key key : keys) {
            const MeasureStore &measure = m_cube.measures[std::size_t(key[0])];
            const Column &c = acc.columns[std::size_t(columnOf[std::size_t(measure.valueColumn)])];
            for (std::size_t d = 0; d < plan.dims.size(); ++d)
                ranges[d] = &plan.dims[d].slotRanges.at(key[plan.dims[d].hierarchy]);
            std::uint64_t rows = 0;
            std::uint64_t values = 0;
            double sum = 0;
            double lo = std::numeric_limits<double>::infinity();
            double hi = -lo;
            std::uint64_t distinctCount = 0;
            const auto add = [&](std::uint64_t slot) {
                rows += acc.rows[slot];
                values += c.countValues ? c.values[slot] : acc.rows[slot];
                if (c.sum)
                    sum += c.sums[slot];
                if (c.minMax) {
                    lo = std::min(lo, c.mins[slot]);
                    hi = std::max(hi, c.maxs[slot]);
                }
                if (c.distinct)
                    distinctCount += distinctCounts[slot];
            };
            const auto box = [&](const auto &self, std::size_t d, std::uint64_t offset) -> void {
                if (d == plan.dims.size()) {
                    add(offset);
                    return;
                }
                for (const LeafRange &r : *ranges[d]) {
                    for (std::uint32_t s = r.first; s < r.second; ++s)
                        self(self, d + 1, offset + s * plan.dims[d].stride);
                }
            };
            box(box, 0, 0);

            CellValue cell;
            switch (measure.aggregator) {
            case Aggregator::Sum:
                cell = {sum, values == 0};
                break;
            case Aggregator::Count:
                cell = {double(values), rows == 0};
                break;
            case Aggregator::Min:
                cell = {lo, values == 0};
                break;
            case Aggregator::Max:
                cell = {hi, values == 0};
                break;
            case Aggregator::Avg:
                cell = {values == 0 ? 0.0 : sum / double(values), values == 0};
                break;
            case Aggregator::DistinctCount:
                cell = {double(distinctCount), rows == 0};
                break;
            }
            if (cell.empty)
                cell.value = 0;
            m_cache.value(m_cache.insert(key)) = cell;
            ++m_stats.cellsLoaded;
        }
    }

    const CubeStore &m_cube;
    const GroupRegistry &m_groups;
    const AggregationOptions &m_options;
    AggregationStats &m_stats;
    KeyTable<CellValue> &m_cache;
    int m_width;
};

} // namespace

void CellAggregator::load(const KeyTable<char> &keys, KeyTable<CellValue> &cache)
{
    std::vector<Key> rollup;
    std::vector<Key> distinct;
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const Key key = keys.key(i);
        const MeasureStore &measure = m_cube.measures[std::size_t(key[0])];
        (measure.aggregator == Aggregator::DistinctCount ? distinct : rollup).push_back(key);
    }
    Loader loader(m_cube, m_groups, m_options, m_stats, cache);
    if (!rollup.empty())
        loader.loadRollup(rollup);
    if (!distinct.empty())
        loader.loadExact(distinct, true);
}

} // namespace platform::olap::local::engine
