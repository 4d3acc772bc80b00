// Names and shapes on the shop fixture cube (members that share a name, a name with brackets,
// names differing only in case, captions, a hierarchy without an All level, a second cube),
// results of three axes, and statements mangled at random, which must fail cleanly.

#include "platform/olap/local/CubeLoader.h"
#include "platform/olap/local/MdxEngine.h"
#include "platform/runtime/Error.h"
#include "tests/platform/olap/CubeFixtures.h"
#include "tests/platform/olap/local/MdxTestSupport.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <QRandomGenerator>
#include <QTemporaryDir>

using namespace platform::olap;
using namespace platform::olap::local;
using mdx_test::positions;
using mdx_test::values;

namespace {

class ShopTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_locale = QLocale();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        engine = std::make_unique<MdxEngine>(
            loadCubeFile(testing_support::buildFixtureCube(dir.path(), QStringLiteral("shop"))));
    }
    void TearDown() override { QLocale::setDefault(m_locale); }

    CellsetData run(const char *statement) { return engine->execute(QString::fromUtf8(statement)); }

    QTemporaryDir dir;
    std::unique_ptr<MdxEngine> engine;

private:
    QLocale m_locale;
};

TEST_F(ShopTest, NamesAndCaptions)
{
    struct Case
    {
        const char *statement;
        const char *columns; // unique names
        const char *cells;
    };
    const Case cases[] = {
        // "]]" for a bracket in a name, both in the statement and in the unique name.
        {"SELECT {[Store.Type].[Small [Corner]]]} ON 0 FROM [Sales] WHERE [Time].[2023]",
         "[Store.Type].[Small [Corner]]]", "1"},
        // The second hierarchy of a dimension also as [Dimension].[Hierarchy].
        {"SELECT {[Store].[Type].[Deluxe]} ON 0 FROM [Sales] WHERE [Time].[2023]",
         "[Store.Type].[Deluxe]", "3"},
        // Two members named Apple under different parents.
        {"SELECT {[Product].[Food].[Fruit].[Apple], [Product].[Drink].[Juice].[Apple]} ON 0 "
         "FROM [Sales] WHERE [Time].[2024]",
         "[Product].[Food].[Fruit].[Apple], [Product].[Drink].[Juice].[Apple]", "- 4"},
        // Names that differ only in case: the spelling that matches exactly wins.
        {"SELECT {[Item].[b], [Item].[B]} ON 0 FROM [Sales] WHERE [Time].[2023]",
         "[Item].[b], [Item].[B]", "2 -"},
        // Without an All level the first year is the default member, and members come in
        // pre-order from every top member.
        {"SELECT [Time].Members ON 0 FROM [Sales]",
         "[Time].[2022], [Time].[2022].[Q4], [Time].[2022].[Q4].[December], [Time].[2023], "
         "[Time].[2023].[Q1], [Time].[2023].[Q1].[January], [Time].[2023].[Q1].[February], "
         "[Time].[2023].[Q2], [Time].[2023].[Q2].[April], [Time].[2024], [Time].[2024].[Q1], "
         "[Time].[2024].[Q1].[January]",
         "7 7 7 12 11 8 3 1 1 4 4 4"},
        // A count of a column that is NULL is 0; the schema's calculated member and its format.
        {"SELECT {[Measures].[Lines], [Measures].[Amount], [Measures].[Average Price]} ON 0 "
         "FROM [Sales] WHERE [Time].[2024]",
         "[Measures].[Lines], [Measures].[Amount], [Measures].[Average Price]", "0 - -"},
        {"SELECT {[Measures].[Biggest], [Measures].[Average Price]} ON 0 FROM [Sales] WHERE "
         "[Time].[2023]",
         "[Measures].[Biggest], [Measures].[Average Price]", "10 2"},
        // The second cube of the file; its facts without a product or store are left out.
        {"SELECT {[Measures].[Returned]} ON 0 FROM [Returns]", "[Measures].[Returned]", "5"},
        // Dimension properties are accepted.
        {"SELECT {[Product].[Drink]} DIMENSION PROPERTIES MEMBER_CAPTION, PARENT_UNIQUE_NAME "
         "ON 0 FROM [Sales] WHERE [Time].[2023]",
         "[Product].[Drink]", "1"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.statement);
        const CellsetData data = run(c.statement);
        EXPECT_EQ(positions(data, 0, true), c.columns);
        EXPECT_EQ(values(data), c.cells);
    }

    const CellsetData captions = run("SELECT [Product].[Food].Children ON 0 FROM [Sales]");
    ASSERT_EQ(captions.axes[0].positionCount, 2);
    EXPECT_EQ(captions.axes[0].member(1, 0).name, QStringLiteral("Fruit"));
    EXPECT_EQ(captions.axes[0].member(1, 0).caption, QStringLiteral("Fresh fruit"));
    EXPECT_EQ(captions.axes[0].member(0, 0).caption, QStringLiteral("Bread")); // no caption
    const CellsetData formatted =
        run("SELECT {[Measures].[Average Price]} ON 0 FROM [Sales] WHERE [Time].[2023]");
    EXPECT_EQ(formatted.formattedValue(0), QStringLiteral("2.00"));
}

TEST_F(ShopTest, ThreeAxes)
{
    const CellsetData data = run("SELECT {[Measures].[Quantity]} ON COLUMNS, "
                                 "[Store].[Country].Members ON ROWS, [Time].[Year].Members ON "
                                 "PAGES FROM [Sales]");
    ASSERT_EQ(data.axes.size(), 3u);
    EXPECT_EQ(positions(data, 2), "2022, 2023, 2024");
    EXPECT_EQ(data.cellCount(), 6);
    const int at[] = {0, 1, 1}; // USA in 2023
    EXPECT_EQ(data.ordinal(at), 3);
    EXPECT_EQ(values(data), "- / 7 / 2 / 10 / - / 4");
}

// Statements the browser builds, mangled: every result is a cell set or a platform::Error.
TEST_F(ShopTest, MangledStatementsFailCleanly)
{
    const QString statements[] = {
        QStringLiteral("SELECT \r\nDescendants([Time].[2023], [Time].[Quarter], "
                       "SELF_AND_BEFORE) ON AXIS(0), \r\n CROSSJOIN (Descendants([Product]."
                       "[All Products], [Product].[Family], SELF_AND_BEFORE), Descendants("
                       "[Store].[All Stores], [Store].[Country], SELF_AND_BEFORE)) ON AXIS(1)"
                       "\r\n FROM [Sales]\r\n WHERE ([Measures].[Quantity])\r\n\r\n"),
        QStringLiteral("SELECT \r\nDescendants([Time].[2023], [Time].[Month]) ON AXIS(0), \r\n"
                       "NON EMPTY  CROSSJOIN (Order(TopCount(Descendants([Product].[All "
                       "Products], [Product].[Category]), 5, [Measures].[Amount]), "
                       "([Measures].[Amount]), BDESC), Descendants([Store].[USA], "
                       "[Store].[City], SELF)) ON AXIS(1)\r\n FROM [Sales]\r\n WHERE "
                       "([Measures].[Quantity])\r\n\r\n"),
        QStringLiteral("WITH MEMBER [Measures].[R] AS '[Measures].[Amount] / "
                       "[Measures].[Quantity]', FORMAT_STRING = '0.00' SELECT "
                       "Hierarchize({[Measures].[R], [Measures].[Lines]}) ON 0, Generate("
                       "[Store].[Country].Members, Head([Store].CurrentMember.Children, 1)) ON "
                       "1 FROM [Sales] WHERE Filter([Time].[Year].Members, [Measures]."
                       "[Quantity] > 1)"),
    };
    const QString pieces[] = {
        // clang-format off
        QStringLiteral("("),          QStringLiteral(")"),
        QStringLiteral("{"),          QStringLiteral("}"),
        QStringLiteral(","),          QStringLiteral("[Product]"),
        QStringLiteral("Order("),     QStringLiteral("CrossJoin("),
        QStringLiteral("1e308"),      QStringLiteral("-"),
        QStringLiteral("*"),          QStringLiteral(".Children"),
        QStringLiteral("NULL"),       QStringLiteral("\"x\""),
        // clang-format on
        QStringLiteral(" ON AXIS(2)"),
        QStringLiteral("NON EMPTY "),
        QStringLiteral(".Lag(-1e9)"),
        QStringLiteral("TopCount("),
        QStringLiteral("/ 0"),
        QStringLiteral("[Time].[2023]"),
        QStringLiteral(".Item(1e99)"),
        QStringLiteral("Descendants("),
    };
    QRandomGenerator random(20240601);
    int answered = 0;
    int refused = 0;
    for (int i = 0; i < 3000; ++i) {
        QString text = statements[random.bounded(int(std::size(statements)))];
        const int edits = random.bounded(4) == 0 ? 2 : 1;
        for (int e = 0; e < edits; ++e) {
            const int at = random.bounded(int(text.size()));
            switch (random.bounded(3)) {
            case 0:
                text.remove(at, 1 + random.bounded(8));
                break;
            case 1:
                text.insert(at, pieces[random.bounded(int(std::size(pieces)))]);
                break;
            default:
                text.insert(at, text.mid(random.bounded(int(text.size())), random.bounded(30)));
                break;
            }
        }
        try {
            engine->execute(text);
            ++answered;
        } catch (const platform::Error &) {
            ++refused;
        }
    }
    // Both outcomes occur often enough for the mangling to reach the evaluator.
    EXPECT_GT(answered, 40);
    EXPECT_GT(refused, 500);
}

TEST_F(ShopTest, LongChainsOfCalculatedMembers)
{
    // A hundred members, each one more than the one before.
    QString statement = QStringLiteral("WITH MEMBER [Measures].[M0] AS '0' ");
    for (int i = 1; i <= 100; ++i) {
        statement +=
            QStringLiteral("MEMBER [Measures].[M%1] AS '[Measures].[M%2] + 1' ").arg(i).arg(i - 1);
    }
    statement += QStringLiteral("SELECT {[Measures].[M100]} ON 0 FROM [Sales]");
    EXPECT_EQ(values(engine->execute(statement)), "100");
}

} // namespace
