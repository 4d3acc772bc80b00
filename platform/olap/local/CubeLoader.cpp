#include "platform/olap/local/CubeLoader.h"

#include "platform/olap/UniqueName.h"
#include "platform/olap/local/ColumnImage.h"
#include "platform/olap/local/Sqlite.h"
#include "platform/runtime/Error.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <sqlite3.h>
#include <sys/stat.h>

#include <cerrno>

#include <algorithm>
#include <atomic>
#include <bit>
#include <exception>
#include <new>
#include <thread>
#include <cmath>
#include <cstring>
#include <deque>
#include <limits>
#include <numeric>
#include <string>
#include <string_view>
#include <unordered_map>

namespace platform::olap::local {

namespace {

constexpr std::uint32_t missingLeaf = std::numeric_limits<std::uint32_t>::max();

// A value read from SQLite, compared as SQLite orders values: NULL, then numbers by value,
// then text byte by byte (blobs with text). Integral reals count as integers, as SQLite's
// comparisons do; wasReal keeps how the value was stored, for its name.
struct Value
{
    enum Class : std::uint8_t { Null, Number, Text };
    Class cls = Null;
    bool isInt = false;
    bool wasReal = false;
    std::int64_t i = 0;
    double d = 0;
    QByteArray text;

    static Value read(sqlite3_stmt *stmt, int column)
    {
        Value v;
        switch (sqlite3_column_type(stmt, column)) {
        case SQLITE_NULL:
            break;
        case SQLITE_INTEGER:
            v.cls = Number;
            v.isInt = true;
            v.i = sqlite3_column_int64(stmt, column);
            v.d = double(v.i);
            break;
        case SQLITE_FLOAT:
            v.cls = Number;
            v.wasReal = true;
            v.d = sqlite3_column_double(stmt, column);
            if (std::trunc(v.d) == v.d && std::fabs(v.d) < 9.2e18) {
                v.isInt = true;
                v.i = std::int64_t(v.d);
            }
            break;
        default: {
            v.cls = Text;
            const auto *data = static_cast<const char *>(sqlite3_column_blob(stmt, column));
            v.text = QByteArray(data ? data : "", sqlite3_column_bytes(stmt, column));
            break;
        }
        }
        return v;
    }

    bool operator==(const Value &o) const
    {
        if (cls != o.cls)
            return false;
        if (cls == Number)
            return isInt == o.isInt && (isInt ? i == o.i : d == o.d);
        return cls == Null || text == o.text;
    }
};

int compare(const Value &a, const Value &b)
{
    if (a.cls != b.cls)
        return a.cls < b.cls ? -1 : 1;
    if (a.cls == Value::Number) {
        if (a.isInt && b.isInt)
            return a.i < b.i ? -1 : (a.i > b.i ? 1 : 0);
        const long double x = a.isInt ? (long double)a.i : (long double)a.d;
        const long double y = b.isInt ? (long double)b.i : (long double)b.d;
        return x < y ? -1 : (x > y ? 1 : 0);
    }
    if (a.cls == Value::Text) {
        const int c = std::memcmp(a.text.constData(), b.text.constData(),
                                  std::size_t(std::min(a.text.size(), b.text.size())));
        if (c != 0)
            return c < 0 ? -1 : 1;
        return a.text.size() < b.text.size() ? -1 : (a.text.size() > b.text.size() ? 1 : 0);
    }
    return 0;
}

// How Mondrian names a member from its key over the JDBC driver: integers in decimal, reals
// as Java prints doubles ("2.5", "3.0", "1.0E10"), text as it is.
QString keyName(const Value &v)
{
    if (v.cls == Value::Text)
        return QString::fromUtf8(v.text);
    if (!v.wasReal)
        return QString::number(v.i);
    const double a = std::fabs(v.d);
    if (a == 0 || (a >= 1e-3 && a < 1e7)) {
        QString s = QString::number(v.d, 'f', QLocale::FloatingPointShortest);
        if (!s.contains(QLatin1Char('.')))
            s += QStringLiteral(".0");
        return s;
    }
    const QString s = QString::number(v.d, 'e', QLocale::FloatingPointShortest);
    const qsizetype e = s.indexOf(QLatin1Char('e'));
    QString mantissa = s.left(e);
    if (!mantissa.contains(QLatin1Char('.')))
        mantissa += QStringLiteral(".0");
    return mantissa + QLatin1Char('E') + QString::number(s.mid(e + 1).toInt());
}

QString valueText(const Value &v)
{
    if (v.cls == Value::Null)
        return QStringLiteral("NULL");
    if (v.cls == Value::Text)
        return QLatin1Char('"') + QString::fromUtf8(v.text) + QLatin1Char('"');
    return keyName(v);
}

struct StringHash
{
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>()(s); }
};

// From a dimension table's primary key to the leaf of its row.
class KeyMap
{
public:
    bool insert(const Value &key, std::uint32_t leaf)
    {
        if (key.cls == Value::Text)
            return m_text.emplace(std::string(key.text.constData(), key.text.size()), leaf).second;
        if (key.isInt)
            return m_ints.emplace(key.i, leaf).second;
        return m_reals.emplace(key.d, leaf).second;
    }

    // Integer keys over a range not much wider than their number go into a dense array.
    void finish()
    {
        if (m_ints.empty())
            return;
        std::int64_t lo = std::numeric_limits<std::int64_t>::max();
        std::int64_t hi = std::numeric_limits<std::int64_t>::min();
        for (const auto &[key, leaf] : m_ints) {
            lo = std::min(lo, key);
            hi = std::max(hi, key);
        }
        const auto span = static_cast<std::uint64_t>(hi) - static_cast<std::uint64_t>(lo);
        if (span >= 4 * m_ints.size() + 4096)
            return;
        m_denseBase = lo;
        m_dense.assign(std::size_t(span + 1), missingLeaf);
        for (const auto &[key, leaf] : m_ints)
            m_dense[std::size_t(key - lo)] = leaf;
        m_ints.clear();
        m_isDense = true;
    }

    std::uint32_t findInt(std::int64_t key) const
    {
        if (m_isDense) {
            const auto offset =
                static_cast<std::uint64_t>(key) - static_cast<std::uint64_t>(m_denseBase);
            return offset < m_dense.size() ? m_dense[std::size_t(offset)] : missingLeaf;
        }
        const auto it = m_ints.find(key);
        return it == m_ints.end() ? missingLeaf : it->second;
    }

    std::uint32_t findReal(double key) const
    {
        if (std::trunc(key) == key && std::fabs(key) < 9.2e18)
            return findInt(std::int64_t(key));
        const auto it = m_reals.find(key);
        return it == m_reals.end() ? missingLeaf : it->second;
    }

    std::uint32_t findText(std::string_view key) const
    {
        const auto it = m_text.find(key);
        return it == m_text.end() ? missingLeaf : it->second;
    }

private:
    bool m_isDense = false;
    std::int64_t m_denseBase = 0;
    std::vector<std::uint32_t> m_dense;
    std::unordered_map<std::int64_t, std::uint32_t> m_ints;
    std::unordered_map<double, std::uint32_t> m_reals;
    std::unordered_map<std::string, std::uint32_t, StringHash, std::equal_to<>> m_text;
};

class Loader
{
public:
    Loader(const QString &file, const QString &path, SqliteDb &db, const LoadOptions &options)
        : m_file(file), m_path(path), m_db(db), m_options(options)
    {}

    CubeStore cube(const XmlCube &xml)
    {
        CubeStore cube;
        cube.name = xml.name;
        m_keyMaps.clear();
        m_keyHash = Hash64();
        columns(xml.table, xml.tableLine);
        measuresDimension(cube, xml);
        for (const XmlDimension &dimension : xml.dimensions)
            this->dimension(cube, dimension);
        calculatedMembers(cube, xml);
        facts(cube, xml);
        return cube;
    }

private:
    [[noreturn]] void fail(int line, const QString &message) const
    {
        throw Error(QStringLiteral("%1: schema line %2: %3").arg(m_path).arg(line).arg(message));
    }

    // The table's columns, as SQLite spells them; fails when the table does not exist.
    const QStringList &columns(const QString &table, int line)
    {
        const QString key = table.toCaseFolded();
        auto it = m_columns.find(key);
        if (it == m_columns.end()) {
            SqliteStmt stmt(m_db, QStringLiteral("SELECT name FROM pragma_table_info(?1)"));
            const QByteArray name = table.toUtf8();
            sqlite3_bind_text(stmt.handle(), 1, name.constData(), int(name.size()),
                              SQLITE_TRANSIENT);
            QStringList names;
            while (stmt.step())
                names << stmt.text(0);
            if (names.isEmpty())
                fail(line, QStringLiteral("table \"%1\" does not exist in the file").arg(table));
            it = m_columns.insert(key, names);
        }
        return *it;
    }

    void checkColumn(const QString &table, const QString &column, int line)
    {
        const QStringList &names = columns(table, line);
        if (!names.contains(column, Qt::CaseInsensitive)) {
            fail(line, QStringLiteral("table \"%1\" has no column \"%2\" (its columns: %3)")
                           .arg(table, column, names.join(QStringLiteral(", "))));
        }
    }

    void measuresDimension(CubeStore &cube, const XmlCube &xml)
    {
        DimensionStore dimension;
        dimension.name = QStringLiteral("Measures");
        dimension.uniqueName = QStringLiteral("[Measures]");
        dimension.dimensionType = 2;
        dimension.firstHierarchy = 0;
        dimension.hierarchyCount = 1;
        cube.dimensions.push_back(dimension);

        HierarchyStore h;
        h.name = dimension.name;
        h.uniqueName = dimension.uniqueName;
        h.isMeasures = true;
        LevelStore level;
        level.name = QStringLiteral("MeasuresLevel");
        level.uniqueName = QStringLiteral("[Measures].[MeasuresLevel]");
        level.memberCount = std::int32_t(xml.measures.size());
        h.levels.push_back(level);
        for (const XmlMeasure &m : xml.measures) {
            checkColumn(xml.table, m.column, m.line);
            MeasureStore measure;
            measure.name = m.name;
            measure.uniqueName = QStringLiteral("[Measures].") + quoteName(m.name);
            measure.formatString = m.formatString;
            measure.aggregator = m.aggregator;
            measure.valueColumn = valueColumn(cube, m.column, m.aggregator != Aggregator::Count);
            cube.measures.push_back(measure);

            MemberNode node;
            node.leafLo = std::uint32_t(h.members.size());
            node.leafHi = node.leafLo + 1;
            h.members.push_back(node);
            h.names.push_back(m.name);
            h.captions.push_back(m.name);
            h.uniqueNames.push_back(measure.uniqueName);
        }
        h.index.build(h.uniqueNames);
        cube.hierarchies.push_back(std::move(h));
    }

    int valueColumn(CubeStore &cube, const QString &column, bool needsValues)
    {
        std::vector<ValueColumn> &values = cube.facts.values;
        for (std::size_t i = 0; i < values.size(); ++i) {
            if (values[i].column.compare(column, Qt::CaseInsensitive) == 0) {
                values[i].hasValues = values[i].hasValues || needsValues;
                return int(i);
            }
        }
        ValueColumn value;
        value.column = column;
        value.hasValues = needsValues;
        values.push_back(std::move(value));
        return int(values.size() - 1);
    }

    void dimension(CubeStore &cube, const XmlDimension &xml)
    {
        DimensionStore dimension;
        dimension.name = xml.name;
        dimension.uniqueName = quoteName(xml.name);
        dimension.dimensionType = xml.isTime ? 1 : 3;
        dimension.firstHierarchy = int(cube.hierarchies.size());
        dimension.hierarchyCount = int(xml.hierarchies.size());
        const int index = int(cube.dimensions.size());
        cube.dimensions.push_back(dimension);
        for (const XmlHierarchy &h : xml.hierarchies) {
            HierarchyStore store = hierarchy(xml, h);
            store.dimension = index;
            store.factColumn = int(cube.facts.leaves.size());
            cube.facts.leaves.emplace_back();
            cube.facts.leaves.back().setWide(store.leafCount() > 0x10000);
            cube.hierarchies.push_back(std::move(store));
        }
    }

    struct TempNode
    {
        std::int32_t parent;
        Value key;
        Value ordinal;
        QString name;
        QString caption;
        std::int32_t final = -1; // index in the hierarchy's member array
    };

    struct NodeKey
    {
        std::int32_t parent;
        const Value *value;
        bool operator==(const NodeKey &o) const { return parent == o.parent && *value == *o.value; }
    };

    struct NodeKeyHash
    {
        std::size_t operator()(const NodeKey &k) const
        {
            const Value &v = *k.value;
            std::size_t h = std::hash<std::int32_t>()(k.parent) * 0x9E3779B97F4A7C15ull;
            if (v.cls == Value::Text)
                h ^= std::hash<std::string_view>()(
                    std::string_view(v.text.constData(), std::size_t(v.text.size())));
            else if (v.cls == Value::Number)
                h ^= v.isInt ? std::hash<std::int64_t>()(v.i) : std::hash<double>()(v.d);
            return h;
        }
    };

    // The columns a level reads, as indices into the hierarchy's SELECT; -1: none.
    struct LevelColumns
    {
        int key, name = -1, caption = -1, ordinal = -1;
    };

    // The hierarchy table's rows as a tree of distinct keys per level.
    struct HierarchyRows
    {
        std::vector<std::deque<TempNode>> nodes; // per level; stable addresses
        std::vector<Value> primaryKeys;          // per row
        std::vector<std::int32_t> rowLeaf;       // per row: its node in the last level
    };

    HierarchyStore hierarchy(const XmlDimension &dim, const XmlHierarchy &xml)
    {
        HierarchyStore h;
        const bool named = !xml.name.isEmpty() && xml.name != dim.name;
        h.name = named ? dim.name + QLatin1Char('.') + xml.name : dim.name;
        h.uniqueName = quoteName(h.name);
        h.hasAll = xml.hasAll;

        HierarchyRows rows = hierarchyRows(dim, xml);
        // Members level by level, each in hierarchical order.
        if (xml.hasAll)
            addAllLevel(h, xml);
        for (std::size_t l = 0; l < xml.levels.size(); ++l)
            addLevel(h, xml, rows.nodes, l);
        linkMembers(h);
        h.index.build(h.uniqueNames);
        m_keyMaps.push_back(leafKeys(xml, rows, h.levels.back()));
        return h;
    }

    // One SELECT of the primary key and every level's columns.
    HierarchyRows hierarchyRows(const XmlDimension &dim, const XmlHierarchy &xml)
    {
        columns(xml.table, xml.tableLine);
        checkColumn(xml.table, xml.primaryKey, xml.line);
        QStringList select{sqlIdentifier(xml.primaryKey)};
        std::vector<LevelColumns> cols;
        auto add = [&](const QString &column, int line) {
            if (column.isEmpty())
                return -1;
            checkColumn(xml.table, column, line);
            select << sqlIdentifier(column);
            return int(select.size() - 1);
        };
        for (const XmlLevel &level : xml.levels) {
            LevelColumns c;
            c.key = add(level.column, level.line);
            c.name = add(level.nameColumn, level.line);
            c.caption = add(level.captionColumn, level.line);
            c.ordinal = add(level.ordinalColumn, level.line);
            cols.push_back(c);
        }
        SqliteStmt stmt(m_db,
                        QStringLiteral("SELECT %1 FROM %2")
                            .arg(select.join(QStringLiteral(", ")), sqlIdentifier(xml.table)));

        const std::size_t levelCount = xml.levels.size();
        HierarchyRows rows;
        rows.nodes.resize(levelCount);
        std::vector<std::unordered_map<NodeKey, std::int32_t, NodeKeyHash>> lookup(levelCount);
        while (stmt.step()) {
            sqlite3_stmt *s = stmt.handle();
            rows.primaryKeys.push_back(Value::read(s, 0));
            std::int32_t parent = -1;
            for (std::size_t l = 0; l < levelCount; ++l) {
                const XmlLevel &level = xml.levels[l];
                Value key = Value::read(s, cols[l].key);
                if (key.cls == Value::Null) {
                    fail(level.line, QStringLiteral("level \"%1\": column \"%2\" of table \"%3\" "
                                                    "is NULL in the row with %4 = %5; a level's "
                                                    "key must have a value")
                                         .arg(level.name, level.column, xml.table, xml.primaryKey,
                                              valueText(rows.primaryKeys.back())));
                }
                auto &map = lookup[l];
                const auto found = map.find(NodeKey{parent, &key});
                if (found != map.end()) {
                    parent = found->second;
                    continue;
                }
                std::deque<TempNode> &nodes = rows.nodes[l];
                nodes.push_back(tempNode(xml, level, cols[l], s, parent, std::move(key),
                                         rows.primaryKeys.back()));
                const auto id = std::int32_t(nodes.size() - 1);
                map.emplace(NodeKey{parent, &nodes.back().key}, id);
                parent = id;
            }
            rows.rowLeaf.push_back(parent);
        }
        if (rows.primaryKeys.empty()) {
            fail(xml.line, QStringLiteral("table \"%1\" of dimension \"%2\" has no rows")
                               .arg(xml.table, dim.name));
        }
        return rows;
    }

    // The node a row's key opens in its level, with the row's name, caption and ordinal.
    TempNode tempNode(const XmlHierarchy &xml, const XmlLevel &level, const LevelColumns &cols,
                      sqlite3_stmt *s, std::int32_t parent, Value key, const Value &primaryKey)
    {
        TempNode node{parent, std::move(key), Value(), QString(), QString()};
        if (cols.name >= 0) {
            const Value name = Value::read(s, cols.name);
            if (name.cls == Value::Null) {
                fail(level.line, QStringLiteral("level \"%1\": name column \"%2\" of table \"%3\" "
                                                "is NULL in the row with %4 = %5")
                                     .arg(level.name, level.nameColumn, xml.table, xml.primaryKey,
                                          valueText(primaryKey)));
            }
            node.name = keyName(name);
        } else {
            node.name = keyName(node.key);
        }
        node.caption = node.name;
        if (cols.caption >= 0) {
            const Value caption = Value::read(s, cols.caption);
            if (caption.cls != Value::Null)
                node.caption = keyName(caption);
        }
        if (cols.ordinal >= 0)
            node.ordinal = Value::read(s, cols.ordinal);
        return node;
    }

    static void addAllLevel(HierarchyStore &h, const XmlHierarchy &xml)
    {
        LevelStore all;
        all.name = xml.allLevelName.isEmpty() ? QStringLiteral("(All)") : xml.allLevelName;
        all.uniqueName = h.uniqueName + QLatin1Char('.') + quoteName(all.name);
        all.isAll = true;
        all.memberCount = 1;
        h.levels.push_back(all);
        const QString allName = xml.allMemberName.isEmpty()
                                    ? QStringLiteral("All ") + h.name + QLatin1Char('s')
                                    : xml.allMemberName;
        h.members.push_back(MemberNode());
        h.names.push_back(allName);
        h.captions.push_back(allName);
        h.uniqueNames.push_back(h.uniqueName + QLatin1Char('.') + quoteName(allName));
    }

    // The members of level `l` in hierarchical order: by parent, then ordinal, then key.
    static void addLevel(HierarchyStore &h, const XmlHierarchy &xml,
                         std::vector<std::deque<TempNode>> &nodes, std::size_t l)
    {
        const XmlLevel &xl = xml.levels[l];
        std::deque<TempNode> &level = nodes[l];
        std::vector<std::int32_t> order(level.size());
        std::iota(order.begin(), order.end(), 0);
        const bool byOrdinal = !xl.ordinalColumn.isEmpty();
        auto parentFinal = [&](const TempNode &n) {
            return n.parent < 0 ? -1 : nodes[l - 1][std::size_t(n.parent)].final;
        };
        std::sort(order.begin(), order.end(), [&](std::int32_t a, std::int32_t b) {
            const TempNode &x = level[std::size_t(a)];
            const TempNode &y = level[std::size_t(b)];
            const std::int32_t px = parentFinal(x);
            const std::int32_t py = parentFinal(y);
            if (px != py)
                return px < py;
            if (byOrdinal) {
                const int c = compare(x.ordinal, y.ordinal);
                if (c != 0)
                    return c < 0;
            }
            return compare(x.key, y.key) < 0;
        });

        LevelStore store;
        store.name = xl.name;
        store.uniqueName = h.uniqueName + QLatin1Char('.') + quoteName(xl.name);
        store.depth = int(h.levels.size());
        store.levelType = xl.levelType;
        store.keyType = xl.type;
        store.firstMember = std::int32_t(h.members.size());
        store.memberCount = std::int32_t(level.size());
        const std::int32_t levelIndex = std::int32_t(h.levels.size());
        h.levels.push_back(store);
        for (std::int32_t id : order) {
            TempNode &n = level[std::size_t(id)];
            n.final = std::int32_t(h.members.size());
            MemberNode node;
            node.level = levelIndex;
            node.parent = n.parent >= 0 ? parentFinal(n) : (xml.hasAll ? 0 : -1);
            const QString prefix =
                (n.parent >= 0) ? h.uniqueNames[std::size_t(node.parent)] : h.uniqueName;
            h.uniqueNames.push_back(prefix + QLatin1Char('.') + quoteName(n.name));
            h.names.push_back(std::move(n.name));
            h.captions.push_back(std::move(n.caption));
            h.members.push_back(node);
        }
    }

    // Children ranges (children of one parent are contiguous), then leaf ranges upwards.
    static void linkMembers(HierarchyStore &h)
    {
        for (std::size_t m = 0; m < h.members.size(); ++m) {
            const std::int32_t p = h.members[m].parent;
            if (p < 0)
                continue;
            MemberNode &parent = h.members[std::size_t(p)];
            if (parent.childCount == 0)
                parent.firstChild = std::int32_t(m);
            ++parent.childCount;
        }
        const LevelStore &leaves = h.levels.back();
        for (std::int32_t m = leaves.firstMember; m < leaves.firstMember + leaves.memberCount;
             ++m) {
            h.members[std::size_t(m)].leafLo = std::uint32_t(m - leaves.firstMember);
            h.members[std::size_t(m)].leafHi = std::uint32_t(m - leaves.firstMember + 1);
        }
        for (std::size_t m = std::size_t(leaves.firstMember); m-- > 0;) {
            MemberNode &node = h.members[m];
            node.leafLo = h.members[std::size_t(node.firstChild)].leafLo;
            node.leafHi = h.members[std::size_t(node.firstChild + node.childCount - 1)].leafHi;
        }
    }

    // Primary key to leaf, for the facts.
    KeyMap leafKeys(const XmlHierarchy &xml, const HierarchyRows &rows, const LevelStore &leaves)
    {
        KeyMap keys;
        const std::deque<TempNode> &last = rows.nodes.back();
        const std::vector<Value> &primaryKeys = rows.primaryKeys;
        for (std::size_t r = 0; r < primaryKeys.size(); ++r) {
            if (primaryKeys[r].cls == Value::Null)
                continue; // no fact can join it; its members still exist
            const auto leaf =
                std::uint32_t(last[std::size_t(rows.rowLeaf[r])].final - leaves.firstMember);
            const Value &key = primaryKeys[r];
            m_keyHash.add(std::uint64_t(key.cls) << 1 | std::uint64_t(key.isInt));
            m_keyHash.add(key.isInt ? std::uint64_t(key.i) : std::bit_cast<std::uint64_t>(key.d));
            m_keyHash.add(key.text.constData(), std::size_t(key.text.size()));
            m_keyHash.add(leaf);
            if (!keys.insert(primaryKeys[r], leaf)) {
                fail(xml.line, QStringLiteral("the primary key \"%1\" of table \"%2\" has the "
                                              "value %3 in more than one row")
                                   .arg(xml.primaryKey, xml.table, valueText(primaryKeys[r])));
            }
        }
        keys.finish();
        return keys;
    }

    void calculatedMembers(CubeStore &cube, const XmlCube &xml)
    {
        for (const XmlCalculatedMember &m : xml.calculatedMembers) {
            const auto dimension = std::find_if(
                cube.dimensions.begin(), cube.dimensions.end(), [&](const DimensionStore &d) {
                    return d.name.compare(m.dimension, Qt::CaseInsensitive) == 0;
                });
            if (dimension == cube.dimensions.end()) {
                fail(m.line, QStringLiteral("calculated member \"%1\" names the dimension \"%2\", "
                                            "which cube \"%3\" does not have")
                                 .arg(m.name, m.dimension, cube.name));
            }
            CalculatedMemberStore store;
            store.name = m.name;
            store.dimension = dimension->name;
            store.uniqueName = dimension->uniqueName + QLatin1Char('.') + quoteName(m.name);
            store.formula = m.formula;
            store.properties = m.properties;
            cube.calculatedMembers.push_back(std::move(store));
        }
    }

    struct DimensionPlan
    {
        int firstMap;
        int mapCount;
    };

    // What every scanning thread reads.
    struct FactPlan
    {
        QString select; // the columns and the table, without a WHERE
        QString table;
        QString rowid; // the table's rowid by a name no column hides; empty when none
        std::vector<DimensionPlan> dimensions;
        std::vector<bool> hasValues;
        std::vector<int> valueSelect; // per value column: its column in the SELECT, -1: none
        const std::vector<KeyMap> *maps;
    };

    // A range of the fact table's rows and where the rows it keeps are written.
    struct Chunk
    {
        bool ranged = false; // else the whole table, the columns growing as needed
        std::int64_t lo = 0;
        std::int64_t hi = 0;
        std::size_t offset = 0;
        std::size_t count = 0;
        std::int64_t leftOut = 0;
        std::vector<std::vector<std::uint64_t>> nulls; // per value column, bit = row - offset
        std::exception_ptr error;
    };

    void facts(CubeStore &cube, const XmlCube &xml)
    {
        FactStore &facts = cube.facts;
        FactPlan plan;
        plan.table = xml.table;
        plan.maps = &m_keyMaps;
        QStringList select;
        int map = 0;
        for (const XmlDimension &d : xml.dimensions) {
            checkColumn(xml.table, d.foreignKey, d.line);
            select << sqlIdentifier(d.foreignKey);
            plan.dimensions.push_back({map, int(d.hierarchies.size())});
            map += int(d.hierarchies.size());
        }
        for (const ValueColumn &v : facts.values) {
            plan.hasValues.push_back(v.hasValues);
            // A column only counted that is also a foreign key needs no reading: a kept row's
            // foreign keys are never NULL.
            const auto key = std::find_if(
                xml.dimensions.begin(), xml.dimensions.end(), [&](const XmlDimension &d) {
                    return d.foreignKey.compare(v.column, Qt::CaseInsensitive) == 0;
                });
            if (!v.hasValues && key != xml.dimensions.end()) {
                plan.valueSelect.push_back(-1);
                continue;
            }
            plan.valueSelect.push_back(int(select.size()));
            select << sqlIdentifier(v.column);
        }
        plan.select = QStringLiteral("SELECT %1 FROM %2")
                          .arg(select.join(QStringLiteral(", ")), sqlIdentifier(xml.table));

        // The column image, when it was made from these maps, this plan and these facts.
        facts.table = xml.table;
        Hash64 signature;
        signature.add(m_keyHash.value());
        signature.add(plan.select);
        for (std::size_t v = 0; v < plan.hasValues.size(); ++v)
            signature.add(std::uint64_t(plan.hasValues[v]) << 32
                          ^ std::uint32_t(plan.valueSelect[v]));
        for (const LeafColumn &column : facts.leaves)
            signature.add(std::uint64_t(column.isWide()));
        std::uint64_t checksum = 0;
        QString passedOver;
        if (readColumnImage(m_db, cube.name, xml.table, signature.value(), facts, checksum,
                            passedOver))
            return;
        facts.imagePassedOver = passedOver;
        if (checksum == 0)
            checksum = tablePageChecksum(m_db, xml.table).value_or(0);
        facts.imageKey = {signature.value(), checksum};

        // Split by rowid when the table has one and its range is not absurdly sparse.
        std::vector<Chunk> chunks(1);
        plan.rowid = rowidName(xml.table, xml.tableLine);
        std::int64_t lo = 0;
        std::int64_t hi = -1;
        const bool haveRange = !plan.rowid.isEmpty() && rowidRange(xml.table, plan.rowid, lo, hi);
        const std::uint64_t span = haveRange && hi >= lo ? static_cast<std::uint64_t>(hi)
                                                               - static_cast<std::uint64_t>(lo) + 1
                                                         : 0;
        constexpr std::uint64_t maxRangedRows = std::uint64_t(1) << 28;
        std::size_t capacity = std::size_t(std::min<std::uint64_t>(span, 1 << 20));
        if (haveRange && span <= maxRangedRows) {
            const int cores = std::clamp(int(std::thread::hardware_concurrency()), 1, 8);
            const int threads = m_options.threads > 0 ? m_options.threads : cores;
            const std::uint64_t perThread = std::max<std::uint64_t>(1, m_options.rowsPerThread);
            const auto count =
                std::size_t(std::clamp<std::uint64_t>(span / perThread, 1, std::uint64_t(threads)));
            capacity = std::size_t(span);
            if (count > 1) {
                chunks.assign(count, Chunk());
                for (std::size_t c = 0; c < count; ++c) {
                    Chunk &chunk = chunks[c];
                    chunk.ranged = true;
                    chunk.offset = std::size_t(span * c / count);
                    const std::size_t end = std::size_t(span * (c + 1) / count);
                    chunk.lo = std::int64_t(static_cast<std::uint64_t>(lo) + chunk.offset);
                    chunk.hi = std::int64_t(static_cast<std::uint64_t>(lo) + end - 1);
                }
            }
        }
        for (LeafColumn &leaves : facts.leaves)
            leaves.resize(capacity);
        for (ValueColumn &v : facts.values) {
            if (v.hasValues)
                v.values.resize(capacity);
        }

        if (chunks.size() == 1) {
            scan(m_db, plan, facts, chunks.front());
        } else {
            std::atomic<bool> stop{false};
            std::vector<std::thread> threads;
            for (Chunk &chunk : chunks) {
                threads.emplace_back([&, chunkPtr = &chunk] {
                    try {
                        SqliteDb db(m_file, SqliteDb::Mode::ReadOnly);
                        db.setName(m_path);
                        scan(db, plan, facts, *chunkPtr, &stop);
                    } catch (...) {
                        chunkPtr->error = std::current_exception();
                        stop = true;
                    }
                });
            }
            for (std::thread &thread : threads)
                thread.join();
            for (const Chunk &chunk : chunks) {
                if (chunk.error)
                    std::rethrow_exception(chunk.error);
            }
        }
        compact(facts, chunks);
    }

    // Reads the chunk's rows into the columns from chunk.offset on. Runs in its own thread when
    // there are several chunks: then it reads only what all threads share (plan, key maps) and
    // writes only its own rows.
    void scan(SqliteDb &db, const FactPlan &plan, FactStore &facts, Chunk &chunk,
              const std::atomic<bool> *stop = nullptr) const
    {
        QString sql = plan.select;
        if (chunk.ranged) {
            sql += QStringLiteral(" WHERE %1 BETWEEN %2 AND %3")
                       .arg(plan.rowid)
                       .arg(chunk.lo)
                       .arg(chunk.hi);
        }
        SqliteStmt stmt(db, sql);
        sqlite3_stmt *s = stmt.handle();
        const std::vector<KeyMap> &maps = *plan.maps;
        const int dimensionCount = int(plan.dimensions.size());
        const int valueCount = int(plan.hasValues.size());
        chunk.nulls.assign(std::size_t(valueCount), {});

        // Where the rows go; re-read when a growing column moves.
        struct LeafOut
        {
            std::uint16_t *narrow;
            std::uint32_t *wide;
        };
        std::vector<LeafOut> leafOut(facts.leaves.size());
        std::vector<double *> valueOut(static_cast<std::size_t>(valueCount));
        // With no column to fill (only counted measures, no dimension) nothing grows.
        bool stored = !facts.leaves.empty();
        for (const ValueColumn &column : facts.values)
            stored = stored || column.hasValues;
        std::size_t capacity = std::numeric_limits<std::size_t>::max();
        auto bind = [&] {
            for (std::size_t k = 0; k < facts.leaves.size(); ++k) {
                LeafColumn &column = facts.leaves[k];
                leafOut[k] = {column.isWide() ? nullptr : column.narrowData(),
                              column.isWide() ? column.wideData() : nullptr};
                capacity = column.size();
            }
            for (int v = 0; v < valueCount; ++v) {
                ValueColumn &column = facts.values[std::size_t(v)];
                valueOut[std::size_t(v)] = column.hasValues ? column.values.data() : nullptr;
                if (column.hasValues)
                    capacity = column.values.size();
            }
        };
        if (stored)
            bind();

        std::vector<std::uint32_t> leaf(maps.size());
        std::size_t row = chunk.offset;
        while (true) {
            const int rc = sqlite3_step(s);
            if (rc == SQLITE_DONE)
                break;
            if (rc != SQLITE_ROW) {
                throw Error(QStringLiteral("%1: reading table \"%2\": %3")
                                .arg(m_path, plan.table, db.lastError()));
            }
            bool keep = true;
            for (int d = 0; d < dimensionCount && keep; ++d) {
                const DimensionPlan &dim = plan.dimensions[std::size_t(d)];
                // One column access per value, type and value from it. The connection is
                // opened without a mutex and used by one thread, so the value need not be
                // "protected" (SQLite makes no difference then).
                sqlite3_value *value = sqlite3_column_value(s, d);
                switch (sqlite3_value_type(value)) {
                case SQLITE_INTEGER: {
                    const std::int64_t key = sqlite3_value_int64(value);
                    for (int k = dim.firstMap; k < dim.firstMap + dim.mapCount; ++k)
                        leaf[std::size_t(k)] = maps[std::size_t(k)].findInt(key);
                    break;
                }
                case SQLITE_FLOAT: {
                    const double key = sqlite3_value_double(value);
                    for (int k = dim.firstMap; k < dim.firstMap + dim.mapCount; ++k)
                        leaf[std::size_t(k)] = maps[std::size_t(k)].findReal(key);
                    break;
                }
                case SQLITE_NULL:
                    keep = false;
                    break;
                default: {
                    const auto *data = static_cast<const char *>(sqlite3_value_blob(value));
                    const std::string_view key(data ? data : "",
                                               std::size_t(sqlite3_value_bytes(value)));
                    for (int k = dim.firstMap; k < dim.firstMap + dim.mapCount; ++k)
                        leaf[std::size_t(k)] = maps[std::size_t(k)].findText(key);
                    break;
                }
                }
                for (int k = dim.firstMap; keep && k < dim.firstMap + dim.mapCount; ++k)
                    keep = leaf[std::size_t(k)] != missingLeaf;
            }
            if (!keep) {
                ++chunk.leftOut;
                continue;
            }
            if (row >= capacity) {
                // Only the single whole-table chunk grows; ranged chunks fit by construction.
                const std::size_t grown = std::max<std::size_t>(capacity * 2, 1 << 16);
                for (LeafColumn &column : facts.leaves)
                    column.resize(grown);
                for (ValueColumn &column : facts.values) {
                    if (column.hasValues)
                        column.values.resize(grown);
                }
                bind();
            }
            for (std::size_t k = 0; k < leaf.size(); ++k) {
                if (leafOut[k].narrow)
                    leafOut[k].narrow[row] = std::uint16_t(leaf[k]);
                else
                    leafOut[k].wide[row] = leaf[k];
            }
            for (int v = 0; v < valueCount; ++v) {
                const int c = plan.valueSelect[std::size_t(v)];
                if (c < 0)
                    continue;
                sqlite3_value *value = sqlite3_column_value(s, c);
                const int type = sqlite3_value_type(value);
                double *out = valueOut[std::size_t(v)];
                if (type == SQLITE_NULL) {
                    std::vector<std::uint64_t> &bits = chunk.nulls[std::size_t(v)];
                    const std::size_t bit = row - chunk.offset;
                    if (bits.size() <= bit >> 6)
                        bits.resize((bit >> 6) + 1);
                    bits[bit >> 6] |= std::uint64_t(1) << (bit & 63);
                    if (out)
                        out[row] = 0;
                } else if (out) {
                    if (type != SQLITE_INTEGER && type != SQLITE_FLOAT)
                        notANumber(plan.table, facts.values[std::size_t(v)].column, s, c);
                    out[row] = sqlite3_value_double(value);
                }
            }
            ++row;
            if (stop && (row & 0xFFFF) == 0 && stop->load(std::memory_order_relaxed))
                return;
        }
        chunk.count = row - chunk.offset;
    }

    // Moves the chunks' rows together, in rowid order, and gathers the NULL bitmaps.
    static void compact(FactStore &facts, const std::vector<Chunk> &chunks)
    {
        std::size_t rows = 0;
        std::vector<std::size_t> destination;
        for (const Chunk &chunk : chunks) {
            destination.push_back(rows);
            if (chunk.offset != rows) {
                for (LeafColumn &column : facts.leaves) {
                    if (column.isWide()) {
                        std::memmove(column.wideData() + rows, column.wideData() + chunk.offset,
                                     chunk.count * sizeof(std::uint32_t));
                    } else {
                        std::memmove(column.narrowData() + rows, column.narrowData() + chunk.offset,
                                     chunk.count * sizeof(std::uint16_t));
                    }
                }
                for (ValueColumn &column : facts.values) {
                    if (column.hasValues) {
                        std::memmove(column.values.data() + rows,
                                     column.values.data() + chunk.offset,
                                     chunk.count * sizeof(double));
                    }
                }
            }
            rows += chunk.count;
            facts.leftOut += chunk.leftOut;
        }
        facts.rowCount = rows;
        auto fit = [rows](auto &column) {
            const std::size_t capacity = column.capacity();
            column.resize(rows);
            if (capacity > rows + rows / 4 + 4096)
                column.shrink_to_fit();
        };
        for (LeafColumn &column : facts.leaves) {
            const std::size_t size = column.size();
            column.resize(rows);
            if (size > rows + rows / 4 + 4096)
                column.shrinkToFit();
        }
        for (std::size_t v = 0; v < facts.values.size(); ++v) {
            ValueColumn &column = facts.values[v];
            if (column.hasValues)
                fit(column.values);
            for (std::size_t c = 0; c < chunks.size(); ++c) {
                const std::vector<std::uint64_t> &bits = chunks[c].nulls[v];
                for (std::size_t w = 0; w < bits.size(); ++w) {
                    for (std::uint64_t word = bits[w]; word != 0; word &= word - 1) {
                        const std::size_t row =
                            destination[c] + w * 64 + std::size_t(std::countr_zero(word));
                        if (column.nullBits.empty())
                            column.nullBits.assign((rows + 63) / 64, 0);
                        column.nullBits[row >> 6] |= std::uint64_t(1) << (row & 63);
                        ++column.nullCount;
                    }
                }
            }
        }
    }

    [[noreturn]] void notANumber(const QString &table, const QString &column, sqlite3_stmt *s,
                                 int c) const
    {
        const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(s, c));
        throw Error(QStringLiteral("%1: column \"%2\" of the fact table \"%3\" holds \"%4\"; "
                                   "measures need numbers")
                        .arg(m_path, column, table, QString::fromUtf8(text ? text : "").left(40)));
    }

    // A name of the table's rowid that no column of the table hides, or empty.
    QString rowidName(const QString &table, int line)
    {
        const QStringList &names = columns(table, line);
        for (const char *name : {"rowid", "_rowid_", "oid"}) {
            if (!names.contains(QLatin1String(name), Qt::CaseInsensitive))
                return QLatin1String(name);
        }
        return QString();
    }

    // The table's smallest and largest rowid; false when it has none (a view, WITHOUT ROWID).
    // Two statements, because SQLite answers a lone min() or max() from the b-tree's ends but
    // scans the table for both together.
    bool rowidRange(const QString &table, const QString &rowid, std::int64_t &lo,
                    std::int64_t &hi) const
    {
        auto end = [&](const char *function, std::int64_t &value, bool &empty) {
            sqlite3_stmt *s = nullptr;
            const QByteArray sql = QStringLiteral("SELECT %1(%2) FROM %3")
                                       .arg(QLatin1String(function), rowid, sqlIdentifier(table))
                                       .toUtf8();
            bool ok = false;
            if (sqlite3_prepare_v2(m_db.handle(), sql.constData(), -1, &s, nullptr) == SQLITE_OK
                && sqlite3_step(s) == SQLITE_ROW) {
                const int type = sqlite3_column_type(s, 0);
                ok = type == SQLITE_INTEGER || type == SQLITE_NULL;
                empty = type == SQLITE_NULL;
                value = sqlite3_column_int64(s, 0);
            }
            sqlite3_finalize(s);
            return ok;
        };
        bool emptyLo = false;
        bool emptyHi = false;
        if (!end("min", lo, emptyLo) || !end("max", hi, emptyHi))
            return false;
        if (emptyLo || emptyHi) {
            lo = 0; // an empty table
            hi = -1;
        }
        return true;
    }

    QString m_file; // what to open
    QString m_path; // how errors name it
    SqliteDb &m_db;
    LoadOptions m_options;
    QHash<QString, QStringList> m_columns;
    std::vector<KeyMap> m_keyMaps; // one per hierarchy with facts, in hierarchy order
    Hash64 m_keyHash;              // of every key-to-leaf map, for the column image
};

bool tableExists(const SqliteDb &db, const char *name)
{
    SqliteStmt stmt(db, QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND "
                                       "name = '%1' COLLATE NOCASE")
                            .arg(QLatin1String(name)));
    return stmt.step();
}

SqliteDb openCubeDb(const QString &file, const QString &path)
{
    checkRegularFile(file, path, QStringLiteral("a cube file"));
    SqliteDb db(file, SqliteDb::Mode::ReadOnly);
    db.setName(path);
    // The first read tells whether this is an SQLite database at all.
    sqlite3_stmt *s = nullptr;
    int rc = sqlite3_prepare_v2(db.handle(), "SELECT count(*) FROM sqlite_master", -1, &s, nullptr);
    if (rc == SQLITE_OK)
        rc = sqlite3_step(s);
    sqlite3_finalize(s);
    if (rc != SQLITE_OK && rc != SQLITE_ROW) {
        const int code = db.lastErrorCode() & 0xFF;
        if (code == SQLITE_NOTADB) {
            throw Error(
                QStringLiteral("%1 is not a cube file: it is not an SQLite database").arg(path));
        }
        throw Error(QStringLiteral("%1: %2").arg(path, db.lastError()));
    }
    return db;
}

QString schemaXml(const SqliteDb &db)
{
    const QString &path = db.path();
    if (!tableExists(db, "pelmora_schema")) {
        throw Error(
            QStringLiteral("%1 is not a cube file: it has no pelmora_schema table").arg(path));
    }
    if (!tableExists(db, "pelmora_meta")) {
        throw Error(QStringLiteral("%1 is not a cube file: it has no pelmora_meta table with "
                                   "the format_version")
                        .arg(path));
    }
    {
        SqliteStmt stmt(db, QStringLiteral("SELECT value FROM pelmora_meta WHERE key = "
                                           "'format_version'"));
        if (!stmt.step() || stmt.isNull(0)) {
            throw Error(QStringLiteral("%1: the cube file has no format_version in pelmora_meta")
                            .arg(path));
        }
        const QString version = stmt.text(0).trimmed();
        if (version != QString::number(cubeFormatVersion)) {
            throw Error(QStringLiteral("%1: unsupported cube file format_version \"%2\" (this "
                                       "program reads version %3)")
                            .arg(path, version)
                            .arg(cubeFormatVersion));
        }
    }
    SqliteStmt stmt(db, QStringLiteral("SELECT xml FROM pelmora_schema"));
    QString xml;
    int rows = 0;
    while (stmt.step()) {
        if (++rows == 1)
            xml = stmt.isNull(0) ? QString() : stmt.text(0);
    }
    if (rows == 0)
        throw Error(QStringLiteral("%1: the pelmora_schema table has no row").arg(path));
    if (rows > 1) {
        throw Error(QStringLiteral("%1: the pelmora_schema table has %2 rows; a cube file holds "
                                   "one schema")
                        .arg(path)
                        .arg(rows));
    }
    if (xml.trimmed().isEmpty())
        throw Error(QStringLiteral("%1: the schema in pelmora_schema is empty").arg(path));
    return xml;
}

} // namespace

void checkRegularFile(const QString &file, const QString &path, const QString &what)
{
    struct stat st;
    if (::stat(QFile::encodeName(file).constData(), &st) != 0) {
        if (errno == ENOENT || errno == ENOTDIR)
            throw Error(QStringLiteral("File not found: %1").arg(path));
        throw Error(QStringLiteral("Cannot open %1: %2")
                        .arg(path, QString::fromLocal8Bit(std::strerror(errno))));
    }
    if (S_ISREG(st.st_mode))
        return;
    // Opening a FIFO or a device would block or read what is no file's content.
    // clang-format off
    const char *kind = S_ISDIR(st.st_mode) ? "a directory"
        : S_ISFIFO(st.st_mode)              ? "a FIFO (named pipe)"
        : S_ISSOCK(st.st_mode)              ? "a socket"
        : S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode) ? "a device"
                                                     : "not a regular file";
    // clang-format on
    throw Error(QStringLiteral("%1 is %2, not %3").arg(path, QLatin1String(kind), what));
}

std::shared_ptr<const CubeFile> loadCubeFile(const QString &filePath, const QString &displayName,
                                             const LoadOptions &options)
{
    const QString path = displayName.isEmpty() ? filePath : displayName;
    SqliteDb db = openCubeDb(filePath, path);
    auto file = std::make_shared<CubeFile>();
    file->path = path;
    file->schemaXml = schemaXml(db);
    XmlSchema schema;
    try {
        schema = parseSchemaXml(file->schemaXml);
    } catch (const Error &e) {
        throw Error(QStringLiteral("%1: %2").arg(path, e.description()));
    }
    file->schemaName = schema.name;
    Loader loader(filePath, path, db, options);
    try {
        // One read transaction keeps writers out, so that the column image's checks and the
        // rows read see the same file.
        db.exec(QStringLiteral("BEGIN"));
        for (const XmlCube &cube : schema.cubes) {
            for (const CubeStore &other : file->cubes) {
                if (other.name.compare(cube.name, Qt::CaseInsensitive) == 0) {
                    throw Error(QStringLiteral("%1: schema line %2: two cubes are named \"%3\"")
                                    .arg(path)
                                    .arg(cube.line)
                                    .arg(cube.name));
                }
            }
            file->cubes.push_back(loader.cube(cube));
        }
        db.exec(QStringLiteral("COMMIT"));
    } catch (const std::bad_alloc &) {
        throw Error(QStringLiteral("%1: not enough memory to load the cube").arg(path));
    }
    return file;
}

QString readSchemaXml(const QString &path)
{
    return schemaXml(openCubeDb(path, path));
}

} // namespace platform::olap::local
