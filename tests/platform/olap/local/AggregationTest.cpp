// The aggregation of the MDX engine checked against the facts themselves: every cell of
// statements on a sample cube is added up again, fact by fact, from the star schema's tables
// (the names of its members, not the store's leaf ranges). The same holds with several
// threads, and whichever plan the pass over the facts takes.

#include "platform/olap/UniqueName.h"
#include "platform/olap/local/Aggregator.h"
#include "platform/olap/local/CubeBuilder.h"
#include "platform/olap/local/MdxEngine.h"
#include "tests/platform/olap/local/MdxTestSupport.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <sqlite3.h>

#include <cmath>
#include <set>

using namespace platform::olap;
using namespace platform::olap::local;

namespace {

// One fact with the names of its members, level by level.
struct Fact
{
    std::map<QString, QStringList> path; // hierarchy -> names from the top level down
    double unitSales = 0;
    double storeSales = 0;
};

std::vector<Fact> readFacts(const QString &path)
{
    sqlite3 *db = nullptr;
    EXPECT_EQ(sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr),
              SQLITE_OK);
    const char *sql =
        "SELECT p.product_family, p.product_department, p.product_category, p.product_name, "
        "s.store_country, s.store_state, s.store_city, s.store_name, t.the_year, t.quarter, "
        "t.the_month, f.unit_sales, f.store_sales FROM sales_fact f "
        "JOIN product p ON p.product_id = f.product_id JOIN store s ON s.store_id = f.store_id "
        "JOIN time_by_day t ON t.time_id = f.time_id";
    sqlite3_stmt *stmt = nullptr;
    EXPECT_EQ(sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr), SQLITE_OK);
    std::vector<Fact> facts;
    const auto text = [&](int c) {
        return QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, c)));
    };
    while (sqlite3_step(stmt) == SQLITE_ROW) {
        Fact f;
        f.path[QStringLiteral("Product")] = {text(0), text(1), text(2), text(3)};
        f.path[QStringLiteral("Store")] = {text(4), text(5), text(6), text(7)};
        f.path[QStringLiteral("Time")] = {text(8), text(9), text(10)};
        f.unitSales = sqlite3_column_double(stmt, 11);
        f.storeSales = sqlite3_column_double(stmt, 12);
        facts.push_back(std::move(f));
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return facts;
}

// Whether a fact falls under a member, by the names of its unique name; the All member and
// the measures constrain nothing.
bool under(const Fact &fact, const QString &uniqueName)
{
    QStringList parts;
    if (!splitUniqueName(uniqueName, parts) || parts.size() < 2)
        return false;
    const auto path = fact.path.find(parts[0]);
    if (path == fact.path.end())
        return true;
    if (parts[1].startsWith(QLatin1String("All ")))
        parts.removeAt(1);
    for (qsizetype i = 1; i < parts.size(); ++i) {
        if (path->second.value(i - 1) != parts[i])
            return false;
    }
    return true;
}

class AggregationTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_dir = new QTemporaryDir;
        const QString path = s_dir->filePath(QStringLiteral("sample.cub"));
        s_file = writeSampleCube(path, 20000, 3);
        s_facts = new std::vector<Fact>(readFacts(path));
    }
    static void TearDownTestSuite()
    {
        delete s_facts;
        s_file.reset();
        delete s_dir;
    }

    // Checks every cell of a statement whose slicer is `slicer` (members or'ed when several):
    // each fact is added to the cells of the positions it falls under.
    static void expectMatchesFacts(const CellsetData &data, const QStringList &slicer)
    {
        std::vector<double> sums(std::size_t(data.cellCount()), 0);
        std::vector<std::int64_t> counts(std::size_t(data.cellCount()), 0);
        for (const Fact &fact : *s_facts) {
            if (!slicer.isEmpty()
                && std::none_of(slicer.begin(), slicer.end(),
                                [&](const QString &m) { return under(fact, m); }))
                continue;
            // The cells the fact counts in: one matching position per axis.
            std::vector<std::pair<qint64, int>> cells{{0, 0}}; // ordinal, measure (0 units)
            qint64 stride = 1;
            for (const CellsetData::Axis &axis : data.axes) {
                std::vector<std::pair<qint64, int>> next;
                for (int p = 0; p < axis.positionCount; ++p) {
                    int measure = -1;
                    bool in = true;
                    for (int m = 0; m < axis.dimensionCount() && in; ++m) {
                        const QString &name = axis.member(p, m).uniqueName;
                        if (name.startsWith(QLatin1String("[Measures]")))
                            measure = name.contains(QLatin1String("Store Sales"))   ? 1
                                      : name.contains(QLatin1String("Sales Count")) ? 2
                                                                                    : 0;
                        else
                            in = under(fact, name);
                    }
                    if (!in)
                        continue;
                    for (const auto &[ordinal, before] : cells)
                        next.emplace_back(ordinal + p * stride, measure >= 0 ? measure : before);
                }
                cells = std::move(next);
                stride *= axis.positionCount;
            }
            for (const auto &[ordinal, measure] : cells) {
                ++counts[std::size_t(ordinal)];
                sums[std::size_t(ordinal)] += measure == 0   ? fact.unitSales
                                              : measure == 1 ? fact.storeSales
                                                             : 1.0;
            }
        }
        for (qint64 c = 0; c < data.cellCount(); ++c) {
            SCOPED_TRACE(c);
            if (counts[std::size_t(c)] == 0) {
                EXPECT_TRUE(data.isEmpty(c));
                continue;
            }
            ASSERT_FALSE(data.isEmpty(c));
            const double expected = sums[std::size_t(c)];
            EXPECT_NEAR(data.number(c), expected, 1e-9 * std::fabs(expected));
        }
    }

    static QTemporaryDir *s_dir;
    static std::shared_ptr<const CubeFile> s_file;
    static std::vector<Fact> *s_facts;
};

QTemporaryDir *AggregationTest::s_dir = nullptr;
std::shared_ptr<const CubeFile> AggregationTest::s_file;
std::vector<Fact> *AggregationTest::s_facts = nullptr;

const char *const mixedLevels =
    "SELECT CrossJoin(Descendants([Product].[All Products], [Product].[Department], "
    "SELF_AND_BEFORE), {[Measures].[Store Sales], [Measures].[Sales Count]}) ON 0, "
    "Descendants([Store].[All Stores], [Store].[State], SELF_AND_BEFORE) ON 1 FROM [Sales] "
    "WHERE [Time].[2022]";

TEST_F(AggregationTest, CellsAddUpTheFacts)
{
    MdxEngine engine(s_file);
    expectMatchesFacts(engine.execute(QString::fromUtf8(mixedLevels)),
                       {QStringLiteral("[Time].[2022]")});

    // Leaves by leaves, most combinations empty.
    const CellsetData leaves = engine.execute(
        QStringLiteral("SELECT {[Measures].[Unit Sales]} ON 0, NON EMPTY CrossJoin(Descendants("
                       "[Product].[Drink], [Product].[Product]), Descendants([Store].[Canada], "
                       "[Store].[Store])) ON 1 FROM [Sales] "
                       "WHERE [Time].[2023].[Q4]"));
    expectMatchesFacts(leaves, {QStringLiteral("[Time].[2023].[Q4]")});
    std::set<std::pair<QString, QString>> pairs;
    for (const Fact &fact : *s_facts) {
        if (under(fact, QStringLiteral("[Time].[2023].[Q4]"))
            && under(fact, QStringLiteral("[Product].[Drink]"))
            && under(fact, QStringLiteral("[Store].[Canada]")))
            pairs.emplace(fact.path.at(QStringLiteral("Product")).join(u'/'),
                          fact.path.at(QStringLiteral("Store")).join(u'/'));
    }
    EXPECT_EQ(std::size_t(leaves.axes[1].positionCount), pairs.size());

    // A set in the slicer, quarters of two years, and the months of one on columns.
    expectMatchesFacts(
        engine.execute(QStringLiteral(
            "SELECT {[Measures].[Store Sales]} ON 0, [Store].[Country].Members ON 1 FROM [Sales] "
            "WHERE {[Time].[2021].[Q1], [Time].[2023].[Q4]}")),
        {QStringLiteral("[Time].[2021].[Q1]"), QStringLiteral("[Time].[2023].[Q4]")});
    expectMatchesFacts(engine.execute(QStringLiteral(
                           "SELECT Descendants([Time].[2021], [Time].[Month], SELF_AND_BEFORE) "
                           "ON 0, [Product].[Family].Members ON 1 FROM [Sales]")),
                       {});
}

TEST_F(AggregationTest, ThreadsGiveTheSameCells)
{
    EngineOptions one;
    one.threads = 1;
    EngineOptions four;
    four.threads = 4;
    four.rowsPerThread = 1000;
    MdxEngine single(s_file, one);
    MdxEngine parallel(s_file, four);
    const CellsetData a = single.execute(QString::fromUtf8(mixedLevels));
    const CellsetData b = parallel.execute(QString::fromUtf8(mixedLevels));
    ASSERT_EQ(a.cellCount(), b.cellCount());
    for (qint64 c = 0; c < a.cellCount(); ++c) {
        ASSERT_EQ(a.isEmpty(c), b.isEmpty(c)) << c;
        EXPECT_NEAR(a.number(c), b.number(c), 1e-9 * std::fabs(a.number(c))) << c;
    }
}

TEST_F(AggregationTest, EveryPlanGivesTheSameCells)
{
    // The same cells through one grid at the finest level requested, and through grids so
    // small that the keys are split by level and then into chunks.
    const CubeStore &cube = s_file->cubes[0];
    const int width = int(cube.hierarchies.size());
    const HierarchyStore &time = cube.hierarchies[1];
    const HierarchyStore &product = cube.hierarchies[2];
    const HierarchyStore &store = cube.hierarchies[3];
    ASSERT_EQ(product.name, QStringLiteral("Product"));
    ASSERT_EQ(store.name, QStringLiteral("Store"));
    const std::int32_t year = time.findMember(u"[Time].[2022]");
    engine::KeyTable<char> keys(width);
    std::vector<std::int32_t> key(std::size_t(width), 0);
    key[1] = year;
    for (int measure : {0, 1, 3}) { // unit sales, store sales, sales count
        for (std::int32_t p = 0; p < product.levels[3].firstMember; ++p) {
            for (std::int32_t s = 0; s < store.levels[3].firstMember; ++s) {
                key[0] = measure;
                key[2] = p;
                key[3] = s;
                keys.insert(key.data());
            }
        }
    }
    engine::GroupRegistry groups(cube);
    std::vector<engine::KeyTable<engine::CellValue>> results;
    for (std::size_t gridLimit : {std::size_t(1) << 22, std::size_t(16)}) {
        engine::AggregationOptions options;
        options.gridLimit = gridLimit;
        engine::AggregationStats stats;
        results.emplace_back(width);
        engine::CellAggregator(cube, groups, options, stats).load(keys, results.back());
        EXPECT_EQ(std::size_t(stats.cellsLoaded), keys.size());
        if (gridLimit == 16)
            EXPECT_GT(stats.passes, 1);
        else
            EXPECT_EQ(stats.passes, 1);
    }
    for (std::size_t i = 0; i < keys.size(); ++i) {
        const std::int64_t a = results[0].find(keys.key(i));
        const std::int64_t b = results[1].find(keys.key(i));
        ASSERT_GE(a, 0);
        ASSERT_GE(b, 0);
        const engine::CellValue &x = results[0].value(std::size_t(a));
        const engine::CellValue &y = results[1].value(std::size_t(b));
        EXPECT_EQ(x.empty, y.empty) << i;
        EXPECT_NEAR(x.value, y.value, 1e-9 * std::fabs(x.value)) << i;
    }
}

} // namespace
