#pragma once

#include "platform/olap/local/SchemaXml.h"

#include <QString>
#include <QStringView>

#include <cstdint>
#include <span>
#include <utility>
#include <vector>

namespace platform::olap::local {

// The in-memory form of a cube file, built once when it is opened and then only read.
//
// Per hierarchy, members sit in one flat array, level by level (the top level first), each
// level in hierarchical order: a member's children are contiguous in the next level, and the
// members of the deepest level are the leaves in pre-order. A member covers the leaves
// [leafLo, leafHi), never empty, so "fact under member" is a range test on the fact's leaf
// number, and (leafLo, level) orders members in pre-order (parents before children).
//
// Facts are columns: one leaf number per fact for each hierarchy that has facts, one double
// per fact for each value column, NULL kept in a bitmap. Nothing else is stored per fact.

// The allocator of fact columns. Large blocks are mapped on their own with transparent huge
// pages, since loading touches every page once and small-page faults cost a third of the load;
// growing a column does not zero what the loader overwrites anyway.
void *allocateColumn(std::size_t bytes);
void freeColumn(void *p, std::size_t bytes) noexcept;

template <typename T>
struct ColumnAllocator
{
    using value_type = T;
    ColumnAllocator() = default;
    template <typename U>
    ColumnAllocator(const ColumnAllocator<U> &) noexcept
    {}
    T *allocate(std::size_t n) { return static_cast<T *>(allocateColumn(n * sizeof(T))); }
    void deallocate(T *p, std::size_t n) noexcept { freeColumn(p, n * sizeof(T)); }
    template <typename U>
    void construct(U *p) noexcept
    {
        ::new (static_cast<void *>(p)) U; // default-initialised: no zeroing
    }
    template <typename U, typename... Args>
    void construct(U *p, Args &&...args)
    {
        ::new (static_cast<void *>(p)) U(std::forward<Args>(args)...);
    }
    template <typename U>
    bool operator==(const ColumnAllocator<U> &) const noexcept
    {
        return true;
    }
};

template <typename T>
using Column = std::vector<T, ColumnAllocator<T>>;

struct MemberNode
{
    std::int32_t parent = -1;    // member index in the same hierarchy, -1 for a top member
    std::int32_t level = 0;      // index into HierarchyStore::levels
    std::int32_t firstChild = 0; // children: [firstChild, firstChild + childCount)
    std::int32_t childCount = 0;
    std::uint32_t leafLo = 0; // leaves: [leafLo, leafHi)
    std::uint32_t leafHi = 0;
};

struct LevelStore
{
    QString name;
    QString uniqueName;
    int depth = 0; // the level's number from the top, as Member::levelDepth reports it
    bool isAll = false;
    LevelType levelType = LevelType::Regular;
    KeyType keyType = KeyType::String;
    std::int32_t firstMember = 0; // members: [firstMember, firstMember + memberCount)
    std::int32_t memberCount = 0;
};

// An open-addressing index from case-folded unique name to member index.
class NameIndex
{
public:
    void build(const std::vector<QString> &uniqueNames);
    // name must be canonical (see joinUniqueName); compared without regard to case, except
    // that a member spelled exactly so wins ([Item].[b] beside [Item].[B]); among equal names
    // the first member.
    std::int32_t find(const QString &name, const std::vector<QString> &uniqueNames) const;

private:
    std::vector<std::int32_t> m_slots; // member index + 1, 0 for an empty slot
    std::vector<std::uint32_t> m_hashes;
};

struct HierarchyStore
{
    QString name;       // "Time", or "Time.Fiscal" for a named second hierarchy
    QString uniqueName; // "[Time]", "[Time.Fiscal]"
    int dimension = 0;  // index into CubeStore::dimensions
    bool hasAll = false;
    bool isMeasures = false; // member i is CubeStore::measures[i]; no leaf column
    int factColumn = -1;     // index into FactStore::leaves, -1 for the measures
    std::vector<LevelStore> levels;
    std::vector<MemberNode> members;
    std::vector<QString> names;
    std::vector<QString> captions;
    std::vector<QString> uniqueNames;
    NameIndex index;

    std::uint32_t leafCount() const
    {
        return levels.empty() ? 0 : std::uint32_t(levels.back().memberCount);
    }
    std::int32_t leafMember(std::uint32_t leaf) const
    {
        return levels.back().firstMember + std::int32_t(leaf);
    }
    // The member with this unique name (case-insensitive, quoting as splitUniqueName), or -1.
    std::int32_t findMember(QStringView uniqueName) const;
    // The child of a member (-1: a top member) with this name, case-insensitive, or -1.
    std::int32_t findChild(std::int32_t parent, QStringView name) const;
};

struct DimensionStore
{
    QString name;
    QString uniqueName;
    int dimensionType = 3; // DIMENSION_TYPE: 1 time, 2 measures, 3 other
    int firstHierarchy = 0;
    int hierarchyCount = 0;
};

// The leaf numbers of one hierarchy, 16-bit when it has at most 65 536 leaves.
class LeafColumn
{
public:
    bool isWide() const { return m_wide; }
    std::size_t size() const { return m_wide ? m_wide32.size() : m_narrow16.size(); }
    std::span<const std::uint16_t> narrow() const { return m_narrow16; }
    std::span<const std::uint32_t> wide() const { return m_wide32; }
    std::uint32_t at(std::size_t row) const { return m_wide ? m_wide32[row] : m_narrow16[row]; }
    // Calls f with the column as a span of its own integer type.
    template <typename F>
    decltype(auto) visit(F &&f) const
    {
        return m_wide ? f(std::span<const std::uint32_t>(m_wide32))
                      : f(std::span<const std::uint16_t>(m_narrow16));
    }

    // For the loader.
    void setWide(bool wide) { m_wide = wide; }
    void resize(std::size_t n) { m_wide ? m_wide32.resize(n) : m_narrow16.resize(n); }
    void shrinkToFit() { m_wide ? m_wide32.shrink_to_fit() : m_narrow16.shrink_to_fit(); }
    std::uint16_t *narrowData() { return m_narrow16.data(); }
    std::uint32_t *wideData() { return m_wide32.data(); }

private:
    bool m_wide = false;
    Column<std::uint16_t> m_narrow16;
    Column<std::uint32_t> m_wide32;
};

// One fact-table column that measures read.
struct ValueColumn
{
    QString column;
    bool hasValues = true;               // false when only counted: then values is empty
    Column<double> values;               // 0 where NULL, so that sums need no test
    std::vector<std::uint64_t> nullBits; // bit set = NULL; empty when the column has no NULL
    std::size_t nullCount = 0;

    bool isNull(std::size_t row) const
    {
        return !nullBits.empty() && (nullBits[row >> 6] >> (row & 63) & 1);
    }
};

// What a cube's fact columns were loaded from, for their column image (ColumnImage.h).
struct ImageKey
{
    std::uint64_t signature = 0;    // the schema's plan of the facts and the key-to-leaf maps
    std::uint64_t factChecksum = 0; // the fact table's stored pages; 0 when they cannot be read
};

struct FactStore
{
    QString table; // the fact table
    std::size_t rowCount = 0;
    std::int64_t leftOut = 0; // rows whose foreign key matched no dimension row (or was NULL)
    std::vector<LeafColumn> leaves;
    std::vector<ValueColumn> values;
    ImageKey imageKey;
    bool fromImage = false;  // read from the column image rather than from the rows
    QString imagePassedOver; // when read from the rows: why the column image was not used
};

struct MeasureStore
{
    QString name;
    QString uniqueName; // "[Measures].[Unit Sales]"
    QString formatString;
    Aggregator aggregator = Aggregator::Sum;
    int valueColumn = 0; // index into FactStore::values
};

// Defined by the schema and evaluated by the MDX engine; not members of the store.
struct CalculatedMemberStore
{
    QString name;
    QString dimension;
    QString uniqueName; // "[Measures].[Profit]"
    QString formula;
    std::vector<std::pair<QString, QString>> properties; // e.g. FORMAT_STRING
};

struct MemberRef
{
    int hierarchy = -1;
    std::int32_t member = -1;
    bool isValid() const { return hierarchy >= 0; }
};

struct CubeStore
{
    QString name;
    std::vector<DimensionStore> dimensions;  // the measures first, then the schema's order
    std::vector<HierarchyStore> hierarchies; // in dimension order; hierarchies[0] = measures
    std::vector<MeasureStore> measures;
    std::vector<CalculatedMemberStore> calculatedMembers;
    FactStore facts;

    // The hierarchy with this unique name ("[Time]", "[Time.Fiscal]", case-insensitive), or -1.
    int findHierarchy(QStringView uniqueName) const;
    // The member of any hierarchy with this unique name; invalid when none.
    MemberRef findMember(QStringView uniqueName) const;
};

// Everything a cube file holds, loaded.
struct CubeFile
{
    QString path;
    QString schemaName; // the catalog's name
    QString schemaXml;
    std::vector<CubeStore> cubes;
};

} // namespace platform::olap::local
