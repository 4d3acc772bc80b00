#pragma once

// Values the MDX engine passes around while it evaluates a statement. Internal to the engine.

#include <QString>

#include <cstdint>
#include <span>
#include <vector>

namespace platform::olap::local::engine {

// A member as the engine sees it: a stored member of a hierarchy (id >= 0, an index into
// HierarchyStore::members, for the measures an index into CubeStore::measures), a calculated
// member of the statement or schema (id < 0: calculated member -id - 1), or the null member
// (hierarchy < 0), which functions such as Parent return past the top.
struct Mem
{
    std::int32_t hierarchy = -1;
    std::int32_t id = 0;

    bool isNull() const { return hierarchy < 0; }
    bool isCalculated() const { return hierarchy >= 0 && id < 0; }
    bool isStored() const { return hierarchy >= 0 && id >= 0; }
    int calcIndex() const { return -id - 1; }
    static Mem calculated(int hierarchy, int index) { return {hierarchy, -index - 1}; }

    friend bool operator==(const Mem &, const Mem &) = default;
};

// A set: tuples of the same hierarchies, flat.
class TupleList
{
public:
    TupleList() = default;
    explicit TupleList(std::vector<int> hierarchies) : m_hierarchies(std::move(hierarchies)) {}

    const std::vector<int> &hierarchies() const { return m_hierarchies; }
    void setHierarchies(std::vector<int> hierarchies) { m_hierarchies = std::move(hierarchies); }
    int arity() const { return int(m_hierarchies.size()); }
    std::size_t size() const
    {
        return m_hierarchies.empty() ? m_emptyCount : m_members.size() / m_hierarchies.size();
    }
    bool empty() const { return size() == 0; }
    std::span<const Mem> tuple(std::size_t i) const
    {
        const std::size_t n = m_hierarchies.size();
        return {m_members.data() + i * n, n};
    }
    Mem member(std::size_t i, int position) const
    {
        return m_members[i * m_hierarchies.size() + std::size_t(position)];
    }
    void append(std::span<const Mem> tuple)
    {
        if (m_hierarchies.empty())
            ++m_emptyCount;
        else
            m_members.insert(m_members.end(), tuple.begin(), tuple.end());
    }
    void appendMember(Mem m) { m_members.push_back(m); }
    void reserve(std::size_t tuples) { m_members.reserve(tuples * m_hierarchies.size()); }
    const std::vector<Mem> &members() const { return m_members; }
    std::vector<Mem> &members() { return m_members; }

private:
    std::vector<int> m_hierarchies;
    std::vector<Mem> m_members;
    std::size_t m_emptyCount = 0; // tuples of a set of no hierarchies (the empty tuple)
};

// A scalar value.
struct Value
{
    enum class Kind : std::uint8_t { Empty, Number, String, Boolean };

    Kind kind = Kind::Empty;
    double number = 0;
    QString text;

    static Value makeNumber(double v) { return {Kind::Number, v, {}}; }
    static Value makeString(QString s) { return {Kind::String, 0, std::move(s)}; }
    static Value makeBoolean(bool b) { return {Kind::Boolean, b ? 1.0 : 0.0, {}}; }

    bool isEmpty() const { return kind == Kind::Empty; }
    bool isNumeric() const { return kind == Kind::Number || kind == Kind::Boolean; }
};

// An aggregate of one cell: a value, or empty when no fact has one.
struct CellValue
{
    double value = 0;
    bool empty = true;
};

// An open-addressing table from fixed-width integer keys (a cell's coordinates) to values.
template <typename V>
class KeyTable
{
public:
    explicit KeyTable(int width = 1) : m_width(width) {}

    int width() const { return m_width; }
    std::size_t size() const { return m_values.size(); }
    void clear()
    {
        m_keys.clear();
        m_values.clear();
        m_slots.clear();
    }
    // clear(), and the storage given back: for a table that may not fill up again soon.
    void release()
    {
        std::vector<std::int32_t>().swap(m_keys);
        std::vector<V>().swap(m_values);
        std::vector<std::uint32_t>().swap(m_slots);
    }
    const std::int32_t *key(std::size_t i) const
    {
        return m_keys.data() + i * std::size_t(m_width);
    }
    V &value(std::size_t i) { return m_values[i]; }
    const V &value(std::size_t i) const { return m_values[i]; }

    // The entry's index, or -1.
    std::int64_t find(const std::int32_t *key) const
    {
        if (m_slots.empty())
            return -1;
        const std::size_t mask = m_slots.size() - 1;
        for (std::size_t s = hash(key) & mask;; s = (s + 1) & mask) {
            const std::uint32_t entry = m_slots[s];
            if (entry == 0)
                return -1;
            if (equal(this->key(entry - 1), key))
                return std::int64_t(entry - 1);
        }
    }
    // The entry's index; a new entry holds V().
    std::size_t insert(const std::int32_t *key, bool *inserted = nullptr)
    {
        if ((m_values.size() + 1) * 2 > m_slots.size())
            grow();
        const std::size_t mask = m_slots.size() - 1;
        std::size_t s = hash(key) & mask;
        for (;; s = (s + 1) & mask) {
            const std::uint32_t entry = m_slots[s];
            if (entry == 0)
                break;
            if (equal(this->key(entry - 1), key)) {
                if (inserted)
                    *inserted = false;
                return entry - 1;
            }
        }
        m_keys.insert(m_keys.end(), key, key + m_width);
        m_values.emplace_back();
        m_slots[s] = std::uint32_t(m_values.size());
        if (inserted)
            *inserted = true;
        return m_values.size() - 1;
    }

private:
    std::size_t hash(const std::int32_t *key) const
    {
        std::uint64_t h = 0x9E3779B97F4A7C15ull;
        for (int i = 0; i < m_width; ++i) {
            h ^= std::uint32_t(key[i]);
            h *= 0xBF58476D1CE4E5B9ull;
            h ^= h >> 29;
        }
        return std::size_t(h);
    }
    bool equal(const std::int32_t *a, const std::int32_t *b) const
    {
        for (int i = 0; i < m_width; ++i) {
            if (a[i] != b[i])
                return false;
        }
        return true;
    }
    void grow()
    {
        const std::size_t capacity = m_slots.empty() ? 64 : m_slots.size() * 2;
        m_slots.assign(capacity, 0);
        const std::size_t mask = capacity - 1;
        for (std::size_t i = 0; i < m_values.size(); ++i) {
            std::size_t s = hash(key(i)) & mask;
            while (m_slots[s] != 0)
                s = (s + 1) & mask;
            m_slots[s] = std::uint32_t(i + 1);
        }
    }

    int m_width;
    std::vector<std::int32_t> m_keys;
    std::vector<V> m_values;
    std::vector<std::uint32_t> m_slots; // entry index + 1, 0 for free
};

} // namespace platform::olap::local::engine
