// The columnar store the MDX engine aggregates over: leaf ranges, fact columns, facts left out,
// the parallel load, and the sample cube.

#include "platform/olap/local/CubeBuilder.h"
#include "platform/olap/local/CubeLoader.h"
#include "platform/runtime/Error.h"
#include "tests/platform/olap/CubeFixtures.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <map>

using namespace platform::olap::local;
using testing_support::buildFixtureCube;
using testing_support::execSql;

namespace {

std::vector<std::uint32_t> leaves(const CubeStore &cube, int hierarchy)
{
    const LeafColumn &column =
        cube.facts.leaves[std::size_t(cube.hierarchies[std::size_t(hierarchy)].factColumn)];
    std::vector<std::uint32_t> values;
    for (std::size_t i = 0; i < column.size(); ++i)
        values.push_back(column.at(i));
    return values;
}

const ValueColumn &values(const CubeStore &cube, const char *measure)
{
    for (const MeasureStore &m : cube.measures) {
        if (m.name == QLatin1String(measure))
            return cube.facts.values[std::size_t(m.valueColumn)];
    }
    throw platform::Error(QStringLiteral("no measure ") + QLatin1String(measure));
}

// Structural rules every hierarchy keeps: levels in order, children contiguous in the next
// level with their parent set, leaf ranges the union of the children's.
void expectWellFormed(const HierarchyStore &h)
{
    SCOPED_TRACE(h.uniqueName.toStdString());
    std::int32_t next = 0;
    for (std::size_t l = 0; l < h.levels.size(); ++l) {
        EXPECT_EQ(h.levels[l].firstMember, next);
        next += h.levels[l].memberCount;
    }
    EXPECT_EQ(std::size_t(next), h.members.size());
    if (h.isMeasures)
        return;
    const LevelStore &last = h.levels.back();
    for (std::size_t m = 0; m < h.members.size(); ++m) {
        const MemberNode &node = h.members[m];
        EXPECT_LT(node.leafLo, node.leafHi);
        EXPECT_EQ(h.findMember(h.uniqueNames[m]), std::int32_t(m));
        if (node.level == std::int32_t(h.levels.size() - 1)) {
            EXPECT_EQ(node.childCount, 0);
            EXPECT_EQ(node.leafLo, std::uint32_t(std::int32_t(m) - last.firstMember));
            continue;
        }
        ASSERT_GT(node.childCount, 0);
        EXPECT_EQ(h.levels[std::size_t(node.level + 1)].firstMember <= node.firstChild, true);
        for (std::int32_t c = node.firstChild; c < node.firstChild + node.childCount; ++c)
            EXPECT_EQ(h.members[std::size_t(c)].parent, std::int32_t(m));
        EXPECT_EQ(node.leafLo, h.members[std::size_t(node.firstChild)].leafLo);
        EXPECT_EQ(node.leafHi,
                  h.members[std::size_t(node.firstChild + node.childCount - 1)].leafHi);
    }
}

class CubeStoreTest : public ::testing::Test
{
protected:
    void SetUp() override { file = loadCubeFile(buildFixtureCube(dir.path())); }

    const CubeStore &sales() const { return file->cubes[0]; }
    std::pair<std::uint32_t, std::uint32_t> range(const char *uniqueName) const
    {
        const MemberRef ref = sales().findMember(QString::fromUtf8(uniqueName));
        if (!ref.isValid())
            throw platform::Error(QStringLiteral("no member ") + QString::fromUtf8(uniqueName));
        const MemberNode &node =
            sales().hierarchies[std::size_t(ref.hierarchy)].members[std::size_t(ref.member)];
        return {node.leafLo, node.leafHi};
    }

    QTemporaryDir dir;
    std::shared_ptr<const CubeFile> file;
};

TEST_F(CubeStoreTest, MembersCoverTheirLeavesInPreOrder)
{
    for (const CubeStore &cube : file->cubes) {
        for (const HierarchyStore &h : cube.hierarchies)
            expectWellFormed(h);
    }
    const std::map<std::string, std::pair<std::uint32_t, std::uint32_t>> expected = {
        {"[Time].[2022]", {0, 1}},
        {"[Time].[2023]", {1, 4}},
        {"[Time].[2023].[Q1]", {1, 3}},
        {"[Time].[2024].[Q1].[January]", {4, 5}},
        {"[Product].[All Products]", {0, 5}},
        {"[Product].[Drink]", {0, 2}},
        {"[Product].[Food]", {2, 5}},
        {"[Product].[Food].[Fruit]", {3, 5}},
        {"[Product.Pack].[10]", {1, 2}},
        {"[Store].[USA]", {1, 3}},
        {"[Store.Type].[All Types]", {0, 3}},
        {"[Item].[b]", {5, 6}},
    };
    for (const auto &[name, leafRange] : expected) {
        SCOPED_TRACE(name);
        EXPECT_EQ(range(name.c_str()), leafRange);
    }
    EXPECT_EQ(sales().hierarchies[0].isMeasures, true);

    // Children by name, for name paths: under a top member, and the top of a hierarchy without
    // an All level (parent -1).
    const HierarchyStore &time = sales().hierarchies[1];
    const HierarchyStore &product = sales().hierarchies[2];
    const std::int32_t food = product.findMember(u"[Product].[Food]");
    EXPECT_EQ(product.findChild(food, u"fruit"), product.findMember(u"[Product].[Food].[Fruit]"));
    EXPECT_EQ(product.findChild(food, u"Juice"), -1);
    EXPECT_EQ(product.findChild(-1, u"All Products"), 0);
    EXPECT_EQ(time.findChild(-1, u"2024"), time.findMember(u"[Time].[2024]"));
    EXPECT_EQ(sales().findHierarchy(u"[product.pack]"), 3);
    EXPECT_EQ(sales().findHierarchy(u"Product"), 2);
    EXPECT_EQ(sales().findHierarchy(u"[Product].[Pack]"), -1);
}

TEST_F(CubeStoreTest, FactColumnsHoldLeafNumbersAndValues)
{
    const CubeStore &cube = sales();
    ASSERT_EQ(cube.facts.rowCount, 7u);
    EXPECT_EQ(cube.facts.leftOut, 0);
    // Rows in the fact table's order; leaves as numbered in MembersCoverTheirLeaves.
    using Leaves = std::vector<std::uint32_t>;
    EXPECT_EQ(leaves(cube, 1), (Leaves{1, 1, 2, 3, 4, 0, 2})); // Time
    EXPECT_EQ(leaves(cube, 2), (Leaves{4, 3, 2, 1, 0, 4, 3})); // Product
    EXPECT_EQ(leaves(cube, 3), (Leaves{1, 0, 2, 1, 2, 1, 0})); // Product.Pack
    EXPECT_EQ(leaves(cube, 4), (Leaves{2, 1, 0, 2, 2, 1, 2})); // Store
    EXPECT_EQ(leaves(cube, 5), (Leaves{2, 0, 2, 1, 2, 0, 2})); // Store.Type
    EXPECT_EQ(leaves(cube, 6), (Leaves{2, 1, 5, 3, 0, 4, 2})); // Item
    for (const LeafColumn &column : cube.facts.leaves)
        EXPECT_FALSE(column.isWide());

    const ValueColumn &qty = values(cube, "Quantity");
    EXPECT_EQ(std::vector<double>(qty.values.begin(), qty.values.end()),
              (std::vector<double>{5, 3, 2, 1, 4, 7, 1}));
    EXPECT_EQ(qty.nullCount, 0u);
    EXPECT_FALSE(qty.isNull(4));

    // Amount, Lines (count) and Biggest (max) read one column; its NULL is kept apart.
    const ValueColumn &amount = values(cube, "Amount");
    EXPECT_EQ(&amount, &values(cube, "Lines"));
    EXPECT_EQ(&amount, &values(cube, "Biggest"));
    EXPECT_EQ(cube.facts.values.size(), 2u);
    EXPECT_EQ(std::vector<double>(amount.values.begin(), amount.values.end()),
              (std::vector<double>{10, 6, 4.5, 2, 0, 14, 1.5}));
    EXPECT_EQ(amount.nullCount, 1u);
    for (std::size_t row = 0; row < 7; ++row)
        EXPECT_EQ(amount.isNull(row), row == 4) << row;

    ASSERT_EQ(cube.measures.size(), 4u);
    EXPECT_EQ(cube.measures[2].aggregator, Aggregator::Count);
    EXPECT_EQ(cube.measures[1].formatString, "#,##0.00");
    ASSERT_EQ(cube.calculatedMembers.size(), 1u);
    EXPECT_EQ(cube.calculatedMembers[0].uniqueName, "[Measures].[Average Price]");
    EXPECT_EQ(cube.calculatedMembers[0].formula, "[Measures].[Amount] / [Measures].[Quantity]");
    EXPECT_EQ(cube.calculatedMembers[0].properties,
              (std::vector<std::pair<QString, QString>>{{"FORMAT_STRING", "#,##0.00"}}));
}

TEST_F(CubeStoreTest, FactsWithoutADimensionRowAreLeftOutAndCounted)
{
    const CubeStore &returns = file->cubes[1];
    EXPECT_EQ(returns.facts.rowCount, 2u);
    EXPECT_EQ(returns.facts.leftOut, 2); // product 99 and a NULL store
    EXPECT_EQ(leaves(returns, 1), (std::vector<std::uint32_t>{4, 2}));
    EXPECT_EQ(leaves(returns, 2), (std::vector<std::uint32_t>{2, 0}));
    // A column only counted keeps no values.
    const ValueColumn &lines = values(returns, "Return Lines");
    EXPECT_FALSE(lines.hasValues);
    EXPECT_TRUE(lines.values.empty());
    EXPECT_EQ(lines.nullCount, 0u);
}

// Threads split the fact table by rowid; with gaps, left-out rows and NULLs the result must be
// the single-threaded one, in rowid order.
TEST_F(CubeStoreTest, ParallelLoadEqualsSerialLoad)
{
    const QString path = dir.filePath("big.cub");
    platform::olap::local::buildCubeFromSql(testing_support::fixturePath("shop.xml"),
                                            testing_support::fixturePath("shop.sql"), path);
    execSql(path,
            QStringLiteral(
                "DELETE FROM sales;"
                "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 20000) "
                "INSERT INTO sales SELECT 1 + i % 5, CASE WHEN i % 97 = 0 THEN 99 "
                "ELSE (CASE i % 5 WHEN 0 THEN 10 WHEN 1 THEN 11 WHEN 2 THEN 12 WHEN 3 THEN 20 "
                "ELSE 21 END) END, CASE WHEN i % 89 = 0 THEN NULL ELSE 1 + i % 4 END, 1 + i % 6, "
                "i % 13, CASE WHEN i % 31 = 0 THEN NULL ELSE i * 0.25 END FROM n;"
                "DELETE FROM sales WHERE rowid % 7 = 0 OR rowid BETWEEN 5000 AND 9000;"));
    LoadOptions serial;
    serial.threads = 1;
    LoadOptions parallel;
    parallel.threads = 5;
    parallel.rowsPerThread = 100;
    const auto one = loadCubeFile(path, QString(), serial);
    const auto many = loadCubeFile(path, QString(), parallel);
    const FactStore &a = one->cubes[0].facts;
    const FactStore &b = many->cubes[0].facts;
    EXPECT_GT(a.rowCount, 10000u);
    EXPECT_GT(a.leftOut, 100);
    EXPECT_EQ(a.rowCount, b.rowCount);
    EXPECT_EQ(a.leftOut, b.leftOut);
    for (std::size_t k = 0; k < a.leaves.size(); ++k) {
        EXPECT_TRUE(std::equal(a.leaves[k].narrow().begin(), a.leaves[k].narrow().end(),
                               b.leaves[k].narrow().begin(), b.leaves[k].narrow().end()))
            << k;
    }
    for (std::size_t v = 0; v < a.values.size(); ++v) {
        EXPECT_EQ(a.values[v].values, b.values[v].values) << v;
        EXPECT_EQ(a.values[v].nullBits, b.values[v].nullBits) << v;
        EXPECT_EQ(a.values[v].nullCount, b.values[v].nullCount) << v;
    }
    EXPECT_GT(a.values[1].nullCount, 100u);
    // Row order is rowid order: the first kept row is rowid 1 (i = 1).
    EXPECT_EQ(a.values[1].values.front(), 0.25);
}

// A level of 100 000 members: counts, order, the unique-name index and wide leaf numbers.
TEST(CubeStoreLarge, ALevelOfManyMembers)
{
    QTemporaryDir dir;
    const QString sql = dir.filePath("big.sql");
    const QString xml = dir.filePath("big.xml");
    QFile sqlFile(sql);
    ASSERT_TRUE(sqlFile.open(QIODevice::WriteOnly));
    sqlFile.write(
        "CREATE TABLE people (id INTEGER PRIMARY KEY, grp INTEGER, name TEXT);\n"
        "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 100000)\n"
        "INSERT INTO people SELECT i, i % 3, 'Person ' || i FROM n;\n"
        "CREATE TABLE facts (id INTEGER, v REAL);\n"
        "INSERT INTO facts VALUES (100000, 1), (1, 2), (99999, 3);\n");
    sqlFile.close();
    QFile xmlFile(xml);
    ASSERT_TRUE(xmlFile.open(QIODevice::WriteOnly));
    xmlFile.write(R"(<Schema name="Big"><Cube name="Big"><Table name="facts"/>
<Dimension name="People" foreignKey="id"><Hierarchy primaryKey="id"><Table name="people"/>
<Level name="Group" column="grp" type="Integer"/>
<Level name="Person" column="id" nameColumn="name" type="Integer"/></Hierarchy></Dimension>
<Measure name="V" column="v" aggregator="sum"/></Cube></Schema>)");
    xmlFile.close();
    const auto file = buildCubeFromSql(xml, sql, dir.filePath("big.cub"));
    const CubeStore &cube = file->cubes[0];
    const HierarchyStore &people = cube.hierarchies[1];
    ASSERT_EQ(people.levels.size(), 3u);
    EXPECT_EQ(people.levels[2].memberCount, 100000);
    expectWellFormed(people);
    // Group 0 holds 3, 6, ..., 99999; group 1 holds 1, 4, ...
    EXPECT_EQ(people.names[std::size_t(people.levels[2].firstMember)], "Person 3");
    EXPECT_EQ(people.findMember(u"[people].[2].[person 99998]"),
              people.levels[2].firstMember + 99999);
    EXPECT_TRUE(cube.facts.leaves[0].isWide());
    EXPECT_EQ(cube.facts.leaves[0].at(1), 33333u); // Person 1: first of group 1
}

TEST(SampleCube, DeterministicForASeedAndLoadable)
{
    QTemporaryDir dir;
    const auto a = writeSampleCube(dir.filePath("a.cub"), 3000, 7);
    const auto b = writeSampleCube(dir.filePath("b.cub"), 3000, 7);
    const auto c = writeSampleCube(dir.filePath("c.cub"), 3000, 8);
    ASSERT_EQ(a->cubes.size(), 1u);
    const CubeStore &cube = a->cubes[0];
    EXPECT_EQ(a->schemaName, "Pelmora Sample");
    EXPECT_EQ(cube.name, "Sales");
    EXPECT_EQ(cube.facts.rowCount, 3000u);
    EXPECT_EQ(cube.facts.leftOut, 0);
    auto same = [](const CubeStore &x, const CubeStore &y) {
        for (std::size_t k = 0; k < x.facts.leaves.size(); ++k) {
            for (std::size_t i = 0; i < x.facts.rowCount; ++i) {
                if (x.facts.leaves[k].at(i) != y.facts.leaves[k].at(i))
                    return false;
            }
        }
        for (std::size_t v = 0; v < x.facts.values.size(); ++v) {
            if (x.facts.values[v].values != y.facts.values[v].values)
                return false;
        }
        return x.hierarchies.size() == y.hierarchies.size();
    };
    EXPECT_TRUE(same(cube, b->cubes[0]));
    EXPECT_FALSE(same(cube, c->cubes[0]));

    // The sizes the cube promises.
    const std::map<QString, int> leafCounts = {{"[Time]", 1095},
                                               {"[Product]", 1530},
                                               {"[Store]", 61},
                                               {"[Customer]", 10000},
                                               {"[Promotion]", 50}};
    for (const auto &[name, count] : leafCounts) {
        const int h = cube.findHierarchy(name);
        ASSERT_GE(h, 0) << name.toStdString();
        EXPECT_EQ(int(cube.hierarchies[std::size_t(h)].leafCount()), count) << name.toStdString();
    }
    EXPECT_EQ(cube.hierarchies[1].levels[0].memberCount, 3); // years, no All level
    EXPECT_FALSE(cube.hierarchies[1].hasAll);
    EXPECT_EQ(cube.measures.size(), 4u);
    EXPECT_FALSE(cube.facts.values[std::size_t(cube.measures[3].valueColumn)].hasValues);

    // Mexico's stores open in the second year: no facts for them in the first.
    const MemberRef mexico = cube.findMember(u"[Store].[Mexico]");
    const MemberRef year = cube.findMember(u"[Time].[2021]");
    ASSERT_TRUE(mexico.isValid() && year.isValid());
    const MemberNode &m =
        cube.hierarchies[std::size_t(mexico.hierarchy)].members[std::size_t(mexico.member)];
    const MemberNode &y =
        cube.hierarchies[std::size_t(year.hierarchy)].members[std::size_t(year.member)];
    const LeafColumn &stores =
        cube.facts.leaves[std::size_t(cube.hierarchies[std::size_t(mexico.hierarchy)].factColumn)];
    const LeafColumn &days =
        cube.facts.leaves[std::size_t(cube.hierarchies[std::size_t(year.hierarchy)].factColumn)];
    int mexicoFirstYear = 0;
    int mexicoAll = 0;
    for (std::size_t i = 0; i < cube.facts.rowCount; ++i) {
        const bool inMexico = stores.at(i) >= m.leafLo && stores.at(i) < m.leafHi;
        mexicoAll += inMexico;
        mexicoFirstYear += inMexico && days.at(i) >= y.leafLo && days.at(i) < y.leafHi;
    }
    EXPECT_GT(mexicoAll, 0);
    EXPECT_EQ(mexicoFirstYear, 0);
}

} // namespace
