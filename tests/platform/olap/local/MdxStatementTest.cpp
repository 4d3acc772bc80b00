// MDX statements on the retail fixture cube, whose figures tests/fixtures/retail.sql adds up
// by hand: the statements the browser generates, each set and value function, the
// aggregators, empty cells and NON EMPTY, formats and cell properties, and the errors.

#include "platform/olap/local/CubeLoader.h"
#include "platform/olap/local/MdxEngine.h"
#include "platform/runtime/Error.h"
#include "tests/platform/olap/CubeFixtures.h"
#include "tests/platform/olap/local/MdxTestSupport.h"
#include "tests/platform/olap/mdx/MdxChains.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QLocale>
#include <QTemporaryDir>

using namespace platform::olap;
using namespace platform::olap::local;
using mdx_test::positions;
using mdx_test::values;
using ::testing::HasSubstr;

namespace {

class RetailTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_dir = new QTemporaryDir;
        s_file = loadCubeFile(
            testing_support::buildFixtureCube(s_dir->path(), QStringLiteral("retail")));
    }
    static void TearDownTestSuite()
    {
        s_file.reset();
        delete s_dir;
        s_dir = nullptr;
    }
    void SetUp() override
    {
        m_locale = QLocale();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        engine = std::make_unique<MdxEngine>(s_file);
    }
    void TearDown() override { QLocale::setDefault(m_locale); }

    CellsetData run(const char *statement) { return engine->execute(QString::fromUtf8(statement)); }
    std::string errorOf(const char *statement)
    {
        try {
            run(statement);
        } catch (const platform::Error &error) {
            return error.description().toStdString();
        }
        return "(no error)";
    }

    static QTemporaryDir *s_dir;
    static std::shared_ptr<const CubeFile> s_file;
    std::unique_ptr<MdxEngine> engine;

private:
    QLocale m_locale;
};

QTemporaryDir *RetailTest::s_dir = nullptr;
std::shared_ptr<const CubeFile> RetailTest::s_file;

struct StatementCase
{
    const char *statement;
    const char *columns; // axis 0 by unique name
    const char *rows;    // axis 1 by unique name; null for fewer axes
    const char *cells;
};

// The four statements the browser builds for a fresh view, a drill with a nested dimension,
// ranking with order, and measures on columns; the last one sorts without a key and is
// refused (see Errors).
const StatementCase generated[] = {
    {"SELECT \r\nDescendants([Time].[1997], [Time].[Quarter], SELF_AND_BEFORE) ON AXIS(0), "
     "\r\nDescendants([Product].[All Products], [Product].[Family], SELF_AND_BEFORE) ON "
     "AXIS(1)\r\n FROM [Sales]\r\n WHERE ([Store].[All Stores], [Measures].[Sales])\r\n\r\n",
     "[Time].[1997], [Time].[1997].[Q1], [Time].[1997].[Q2], [Time].[1997].[Q3], "
     "[Time].[1997].[Q4]",
     "[Product].[All Products], [Product].[Drink], [Product].[Food], "
     "[Product].[Non-Consumable]",
     "911 370 130 205 206 / 355 140 80 45 90 / 480 230 50 120 80 / 76 - - 40 36"},
    {"SELECT \r\nDescendants([Time].[1997], [Time].[Quarter], SELF_AND_BEFORE) ON AXIS(0), "
     "\r\n CROSSJOIN (Descendants([Product].[Food], [Product].[Category], SELF_AND_BEFORE), "
     "Descendants([Store].[All Stores], [Store].[Country], SELF_AND_BEFORE)) ON AXIS(1)\r\n "
     "FROM [Sales]\r\n WHERE ([Measures].[Sales])\r\n\r\n",
     "[Time].[1997], [Time].[1997].[Q1], [Time].[1997].[Q2], [Time].[1997].[Q3], "
     "[Time].[1997].[Q4]",
     "[Product].[Food]*[Store].[All Stores], [Product].[Food]*[Store].[Canada], "
     "[Product].[Food]*[Store].[Mexico], [Product].[Food]*[Store].[USA], "
     "[Product].[Food].[Bread]*[Store].[All Stores], [Product].[Food].[Bread]*[Store].[Canada], "
     "[Product].[Food].[Bread]*[Store].[Mexico], [Product].[Food].[Bread]*[Store].[USA], "
     "[Product].[Food].[Fruit]*[Store].[All Stores], [Product].[Food].[Fruit]*[Store].[Canada], "
     "[Product].[Food].[Fruit]*[Store].[Mexico], [Product].[Food].[Fruit]*[Store].[USA], "
     "[Product].[Food].[Meat]*[Store].[All Stores], [Product].[Food].[Meat]*[Store].[Canada], "
     "[Product].[Food].[Meat]*[Store].[Mexico], [Product].[Food].[Meat]*[Store].[USA]",
     "480 230 50 120 80 / 150 30 50 - 70 / - - - - - / 330 200 - 120 10 / "
     "40 30 - - 10 / 30 30 - - - / - - - - - / 10 - - - 10 / "
     "120 - 50 - 70 / 120 - 50 - 70 / - - - - - / - - - - - / "
     "320 200 - 120 - / - - - - - / - - - - - / 320 200 - 120 -"},
    {"SELECT \r\nDescendants([Time].[1997], [Time].[Month]) ON AXIS(0), \r\nNON EMPTY  "
     "CROSSJOIN (Order(TopCount(Descendants([Product].[All Products], [Product].[Category]), 5, "
     "[Measures].[Cost]), ([Measures].[Cost]), BDESC), Descendants([Store].[USA], "
     "[Store].[City], SELF)) ON AXIS(1)\r\n FROM [Sales]\r\n WHERE ([Measures].[Sales])\r\n\r\n",
     "[Time].[1997].[Q1].[January], [Time].[1997].[Q1].[February], [Time].[1997].[Q1].[March], "
     "[Time].[1997].[Q2].[April], [Time].[1997].[Q2].[May], [Time].[1997].[Q2].[June], "
     "[Time].[1997].[Q3].[July], [Time].[1997].[Q3].[August], [Time].[1997].[Q3].[September], "
     "[Time].[1997].[Q4].[October], [Time].[1997].[Q4].[November], "
     "[Time].[1997].[Q4].[December]",
     "[Product].[Food].[Meat]*[Store].[USA].[Boston], "
     "[Product].[Food].[Meat]*[Store].[USA].[Seattle], "
     "[Product].[Drink].[Beer]*[Store].[USA].[Boston], "
     "[Product].[Drink].[Beer]*[Store].[USA].[Seattle], "
     "[Product].[Drink].[Juice]*[Store].[USA].[Boston], "
     "[Product].[Drink].[Juice]*[Store].[USA].[Seattle], "
     "[Product].[Non-Consumable].[Paper]*[Store].[USA].[Boston], "
     "[Product].[Non-Consumable].[Paper]*[Store].[USA].[Seattle]",
     "- - - - - - - 120 - - - - / - - 200 - - - - - - - - - / "
     "- - - - - 60 - - - - - - / 100 - - - - - - - - - - - / "
     "- 40 - - - - - - - - - - / - - - - - - - - 45 - - - / "
     "- - - - - - - - - - 36 - / - - - - - - 25 - - - - -"},
    // The last statement without its Order: the ranking inside it.
    {"SELECT \r\n[Measures].[MeasuresLevel].MEMBERS ON AXIS(0), \r\nBottomSum({[Store].[USA], "
     "[Store].[Canada]}, 1000, [Measures].[Sales]) ON AXIS(1)\r\n FROM [Sales]\r\n WHERE "
     "([Time].[1998], [Product].[All Products])\r\n\r\n",
     "[Measures].[Sales], [Measures].[Cost], [Measures].[Units], [Measures].[Orders], "
     "[Measures].[Smallest], [Measures].[Largest], [Measures].[Mean], [Measures].[Customers]",
     "[Store].[Canada], [Store].[USA]",
     "55 30 4 2 25 30 27.5 2 / 242 165 3 3 12 150 80.6666666667 3"},
    // Rows without columns become axis 0; no slicer.
    {"SELECT \r\nDescendants([Store].[All Stores], [Store].[Country], SELF_AND_BEFORE) ON "
     "AXIS(0)\r\n FROM [Sales]\r\n\r\n",
     "[Store].[All Stores], [Store].[Canada], [Store].[Mexico], [Store].[USA]", nullptr,
     "911 255 - 656"},
    // No axes at all: one cell.
    {"SELECT \r\n FROM [Sales]\r\n WHERE ([Time].[1998], [Measures].[Cost])\r\n\r\n", nullptr,
     nullptr, "195"},
};

TEST_F(RetailTest, GeneratedStatements)
{
    for (const StatementCase &c : generated) {
        SCOPED_TRACE(c.statement);
        const CellsetData data = run(c.statement);
        const std::size_t axes = c.rows ? 2 : (c.columns ? 1 : 0);
        ASSERT_EQ(data.axes.size(), axes);
        if (c.columns) {
            EXPECT_EQ(positions(data, 0, true), c.columns);
        }
        if (c.rows) {
            EXPECT_EQ(positions(data, 1, true), c.rows);
        }
        EXPECT_EQ(values(data), c.cells);
    }
}

TEST_F(RetailTest, GeneratedStatementsCarryMemberDetailsAndSlicer)
{
    const CellsetData data = run(generated[0].statement);
    const CellsetData::Member &q1 = data.axes[0].member(1, 0);
    EXPECT_EQ(q1.name, QStringLiteral("Q1"));
    EXPECT_EQ(q1.caption, QStringLiteral("Q1"));
    EXPECT_EQ(q1.levelUniqueName, QStringLiteral("[Time].[Quarter]"));
    EXPECT_EQ(q1.levelDepth, 1);
    const CellsetData::Member &all = data.axes[1].member(0, 0);
    EXPECT_EQ(all.levelDepth, 0);
    EXPECT_EQ(data.axes[1].member(1, 0).levelDepth, 1);
    EXPECT_EQ(data.axes[0].hierarchies, QStringList{QStringLiteral("[Time]")});
    EXPECT_EQ(positions(data, -1, true), "[Store].[All Stores]*[Measures].[Sales]");

    // Without a WHERE the slicer is one empty tuple.
    const CellsetData bare = run(generated[4].statement);
    EXPECT_EQ(bare.slicer.positionCount, 1);
    EXPECT_EQ(bare.slicer.dimensionCount(), 0);
}

struct SetCase
{
    const char *set;
    const char *expected; // member names
};

// Each set on axis 0 of "SELECT <set> ON 0 FROM [Sales]". Category Sales in 1997 (the default
// year): Beer 250, Juice 85, Soda 20, Bread 40, Fruit 120, Meat 320, Paper 61, Soap 15; cost:
// Meat 240, Beer 150, Fruit 70, Juice 45, Paper 24, Bread 16, Soda 11, Soap 5.
const SetCase sets[] = {
    {"[Product].[Family].Members", "Drink, Food, Non-Consumable"},
    {"[Product].Members",
     "All Products, Drink, Beer, Juice, Soda, Food, Bread, Fruit, Meat, Non-Consumable, Paper, "
     "Soap"},
    {"[Measures].Members", "Sales, Cost, Units, Orders, Smallest, Largest, Mean, Customers"},
    {"[Measures].AllMembers",
     "Sales, Cost, Units, Orders, Smallest, Largest, Mean, Customers, Profit"},
    {"[Store].[USA].Children", "Boston, Portland, Seattle"},
    {"[Store].[City].Members", "Toronto, Vancouver, Acapulco, Boston, Portland, Seattle"},
    {"[Product].[Juice].Siblings", "Beer, Juice, Soda"},
    {"[Time].[1998].Siblings", "1997, 1998"},
    // Descendants in pre-order, with each flag.
    {"Descendants([Time].[1997].[Q1], [Time].[Month], SELF_AND_BEFORE)",
     "Q1, January, February, March"},
    {"Descendants([Time].[1997], [Time].[Month], SELF_AND_BEFORE)",
     "1997, Q1, January, February, March, Q2, April, May, June, Q3, July, August, September, "
     "Q4, October, November, December"},
    {"Descendants([Product].[All Products], [Product].[Category])",
     "Beer, Juice, Soda, Bread, Fruit, Meat, Paper, Soap"},
    {"Descendants([Product].[Food], [Product].[Food].Level, SELF_AND_BEFORE)", "Food"},
    {"Descendants([Product].[Drink], [Product].[Category], BEFORE)", "Drink"},
    {"Descendants([Product].[Food], [Product].[Family], AFTER)", "Bread, Fruit, Meat"},
    {"Descendants([Product].[All Products], [Product].[Family], BEFORE_AND_AFTER)",
     "All Products, Beer, Juice, Soda, Bread, Fruit, Meat, Paper, Soap"},
    {"Descendants([Product].[Drink], [Product].[Family], SELF_AND_AFTER)",
     "Drink, Beer, Juice, Soda"},
    {"Descendants([Product].[Non-Consumable], [Product].[Family], SELF_BEFORE_AFTER)",
     "Non-Consumable, Paper, Soap"},
    {"Descendants([Store].[All Stores], , LEAVES)",
     "Toronto, Vancouver, Acapulco, Boston, Portland, Seattle"},
    {"Descendants([Store].[All Stores], [Store].[Country], LEAVES)", ""},
    {"Descendants([Time].[1998].[Q2], 1)", "April, May, June"},
    {"Descendants([Time].[1998].[Q2])", "Q2, April, May, June"},
    {"Descendants({[Product].[Drink], [Product].[Non-Consumable]}, [Product].[Category])",
     "Beer, Juice, Soda, Paper, Soap"},
    // Crossjoins, outer slowest.
    {"CrossJoin({[Store].[USA], [Store].[Canada]}, {[Product].[Drink], [Product].[Food]})",
     "USA*Drink, USA*Food, Canada*Drink, Canada*Food"},
    {"{[Store].[USA], [Store].[Canada]} * {[Product].[Drink]}", "USA*Drink, Canada*Drink"},
    {"CrossJoin({[Store].[USA]}, {[Product].[Soap]}, {[Time].[1998]})", "USA*Soap*1998"},
    {"NonEmptyCrossJoin({[Store].[Mexico], [Store].[USA]}, {[Product].[Soap], "
     "[Product].[Meat]})",
     "USA*Meat"},
    {"Hierarchize({[Product].[Soap], [Product].[Drink], [Product].[All Products], "
     "[Product].[Beer]})",
     "All Products, Drink, Beer, Soap"},
    {"Hierarchize({[Product].[Soap], [Product].[Drink], [Product].[All Products], "
     "[Product].[Beer]}, POST)",
     "Beer, Drink, Soap, All Products"},
    {"Filter([Product].[Category].Members, [Measures].[Sales] > 100)", "Beer, Fruit, Meat"},
    {"Filter([Store].[City].Members, [Store].CurrentMember.Parent.Name = \"Canada\")",
     "Toronto, Vancouver"},
    {"Head([Product].[Category].Members, 2)", "Beer, Juice"},
    {"Head([Product].[Category].Members)", "Beer"},
    {"Tail([Product].[Category].Members, 2)", "Paper, Soap"},
    {"Subset([Product].[Category].Members, 2, 3)", "Soda, Bread, Fruit"},
    {"Subset([Product].[Category].Members, 6)", "Paper, Soap"},
    {"Union({[Product].[Beer], [Product].[Juice]}, {[Product].[Juice], [Product].[Soda]})",
     "Beer, Juice, Soda"},
    {"Union({[Product].[Beer], [Product].[Juice]}, {[Product].[Juice]}, ALL)",
     "Beer, Juice, Juice"},
    {"{[Product].[Beer], [Product].[Juice]} + {[Product].[Juice], [Product].[Soda]}",
     "Beer, Juice, Soda"},
    {"Intersect({[Product].[Beer], [Product].[Juice], [Product].[Soda]}, {[Product].[Soda], "
     "[Product].[Beer]})",
     "Beer, Soda"},
    {"Except([Product].[Category].Members, {[Product].[Beer], [Product].[Meat]})",
     "Juice, Soda, Bread, Fruit, Paper, Soap"},
    {"{[Product].[Beer], [Product].[Juice]} - {[Product].[Beer]}", "Juice"},
    {"Except({[Product].[Beer], [Product].[Beer], [Product].[Juice]}, {[Product].[Juice]})",
     "Beer, Beer"},
    {"Distinct({[Product].[Beer], [Product].[Juice], [Product].[Beer]})", "Beer, Juice"},
    {"Generate({[Store].[USA], [Store].[Canada]}, [Store].CurrentMember.Children)",
     "Boston, Portland, Seattle, Toronto, Vancouver"},
    {"Generate({[Store].[USA], [Store].[USA]}, {[Store].CurrentMember})", "USA"},
    {"Generate({[Store].[USA], [Store].[USA]}, {[Store].CurrentMember}, ALL)", "USA, USA"},
    {"NonEmpty([Store].[City].Members)", "Toronto, Vancouver, Boston, Portland, Seattle"},
    {"NonEmpty([Store].[City].Members, {[Time].[1998]})", "Toronto, Vancouver, Boston, Seattle"},
    {"DrilldownLevel({[Product].[All Products], [Product].[Drink]})",
     "All Products, Drink, Beer, Juice, Soda"},
    {"DrilldownLevel({[Product].[All Products]})", "All Products, Drink, Food, Non-Consumable"},
    {"DrilldownLevel({[Product].[All Products], [Product].[Drink]}, [Product].[(All)])",
     "All Products, Drink"},
    {"DrilldownMember({[Product].[Drink], [Product].[Food]}, {[Product].[Food]})",
     "Drink, Food, Bread, Fruit, Meat"},
    {"DrilldownMember({[Product].[All Products]}, {[Product].[All Products], "
     "[Product].[Food]})",
     "All Products, Drink, Food, Non-Consumable"},
    {"DrilldownMember({[Product].[All Products]}, {[Product].[All Products], "
     "[Product].[Food]}, RECURSIVE)",
     "All Products, Drink, Food, Bread, Fruit, Meat, Non-Consumable"},
    {"Ancestors([Time].[1997].[Q3].[August], [Time].[Year])", "Q3, 1997"},
    {"Ancestors([Time].[1997].[Q3].[August], 1)", "Q3"},
    {"[Time].[1997].[Q1].[February] : [Time].[1997].[Q2].[April]", "February, March, April"},
    {"[Time].[1997].[Q2].[April] : [Time].[1997].[Q1].[February]", "February, March, April"},
    {"PeriodsToDate([Time].[Quarter], [Time].[1997].[Q2].[May])", "April, May"},
    {"PeriodsToDate([Time].[Year], [Time].[1997].[Q3])", "Q1, Q2, Q3"},
    {"YTD([Time].[1997].[Q1].[March])", "January, February, March"},
    {"QTD([Time].[1997].[Q3].[August])", "July, August"},
    {"MTD([Time].[1997].[Q3].[August])", "August"},
    {"LastPeriods(3, [Time].[1998].[Q1].[February])", "December, January, February"},
    {"LastPeriods(-2, [Time].[1997].[Q4])", "Q4, Q1"},
    // Rankings break the hierarchy and sort by value.
    {"TopCount([Product].[Category].Members, 3, [Measures].[Cost])", "Meat, Beer, Fruit"},
    {"BottomCount([Product].[Category].Members, 2, [Measures].[Cost])", "Soap, Soda"},
    {"TopCount([Product].[Category].Members, 2)", "Beer, Juice"},
    {"BottomCount([Product].[Category].Members, 2)", "Beer, Juice"},
    {"TopCount([Product].[Category].Members, 0, [Measures].[Cost])", ""},
    {"TopSum([Product].[Category].Members, 400, [Measures].[Cost])", "Meat, Beer, Fruit"},
    {"BottomSum([Product].[Category].Members, 20, [Measures].[Cost])", "Soap, Soda, Bread"},
    {"TopPercent([Product].[Category].Members, 50, [Measures].[Cost])", "Meat, Beer"},
    {"BottomPercent([Product].[Category].Members, 10, [Measures].[Cost])",
     "Soap, Soda, Bread, Paper, Juice"},
    // Order: ASC and DESC keep parents before children and siblings together.
    {"Order([Product].[Family].Members, [Measures].[Sales], DESC)", "Food, Drink, Non-Consumable"},
    {"Order(Descendants([Product].[All Products], [Product].[Category], SELF_AND_BEFORE), "
     "[Measures].[Sales], DESC)",
     "All Products, Food, Meat, Fruit, Bread, Drink, Beer, Juice, Soda, Non-Consumable, Paper, "
     "Soap"},
    {"Order(Descendants([Product].[All Products], [Product].[Category], SELF_AND_BEFORE), "
     "[Measures].[Sales], ASC)",
     "All Products, Non-Consumable, Soap, Paper, Drink, Soda, Juice, Beer, Food, Bread, Fruit, "
     "Meat"},
    {"Order([Product].[Category].Members, [Measures].[Sales], DESC)",
     "Meat, Fruit, Bread, Beer, Juice, Soda, Paper, Soap"},
    {"Order(Descendants([Product].[All Products], [Product].[Category], SELF_AND_BEFORE), "
     "[Measures].[Sales], BDESC)",
     "All Products, Food, Drink, Meat, Beer, Fruit, Juice, Non-Consumable, Paper, Bread, Soda, "
     "Soap"},
    {"Order([Product].[Category].Members, ([Measures].[Cost]), BASC)",
     "Soap, Soda, Bread, Paper, Juice, Fruit, Beer, Meat"},
    {"Order(CrossJoin({[Store].[USA], [Store].[Canada]}, [Product].[Family].Members), "
     "[Measures].[Sales], DESC)",
     "USA*Food, USA*Drink, USA*Non-Consumable, Canada*Food, Canada*Drink, "
     "Canada*Non-Consumable"},
    {"Order(CrossJoin({[Store].[USA], [Store].[Canada]}, [Product].[Family].Members), "
     "[Measures].[Sales], BASC)",
     "Canada*Non-Consumable, USA*Non-Consumable, Canada*Drink, Canada*Food, USA*Drink, "
     "USA*Food"},
    {"Order({[Store].[Mexico], [Store].[USA], [Store].[Canada]}, [Measures].[Sales], BASC)",
     "Mexico, Canada, USA"},
    {"IIf(1 > 0, {[Product].[Beer]}, {[Product].[Soda]})", "Beer"},
    {"{IIf(1 > 2, [Product].[Beer], [Product].[Soda])}", "Soda"},
    // Member functions, in set braces; a null member drops out.
    {"{[Product].[Beer].Parent, [Time].[1997].Parent}", "Drink"},
    {"{[Product].[Drink].FirstChild, [Product].[Drink].LastChild, [Product].[Soda].FirstChild}",
     "Beer, Soda"},
    {"{[Product].[Juice].PrevMember, [Product].[Soda].NextMember}", "Beer, Bread"},
    {"{[Time].[1997].[Q4].[December].Lead(1), [Time].[1998].[Q1].[January].Lag(2)}",
     "January, November"},
    {"{(Ancestor([Time].[1997].[Q3].[August], [Time].[Year]), Ancestor([Product].[Beer], 2))}",
     "1997*All Products"},
    {"{[Product].[Family].Members.Item(1), ([Store].[USA], [Product].[Soap]).Item(1)}",
     "Food, Soap"},
    {"{([Product].DefaultMember, [Time].DefaultMember, [Store].CurrentMember)}",
     "All Products*1997*All Stores"},
    {"{[Product].[Beer].Level.Members.Item(7)}", "Soap"},
    {"{}", ""},
    // Names are found without regard to case, by path from the top, with ]] in brackets.
    {"{[product].[DRINK].[beer], [Product].[All Products].[Food], Product.Food.Meat}",
     "Beer, Food, Meat"},
    {"{([Time].[Year].[1998], [Store].[Canada].[Toronto])}", "1998*Toronto"},
};

TEST_F(RetailTest, SetFunctions)
{
    for (const SetCase &c : sets) {
        SCOPED_TRACE(c.set);
        const std::string statement = std::string("SELECT ") + c.set + " ON COLUMNS FROM [Sales]";
        CellsetData data;
        try {
            data = run(statement.c_str());
        } catch (const platform::Error &error) {
            ADD_FAILURE() << error.description().toStdString();
            continue;
        }
        ASSERT_EQ(data.axes.size(), 1u);
        EXPECT_EQ(positions(data, 0), c.expected);
    }
}

struct ValueCase
{
    const char *expression;
    const char *where; // the slicer, or ""
    const char *expected;
};

// Each expression as a calculated measure, alone on columns. The default context is 1997
// (the first year), all products and stores: Sales 911, Cost 561.
const ValueCase valueCases[] = {
    {"[Measures].[Sales] + [Measures].[Cost]", "", "1472"},
    {"[Measures].[Sales] - [Measures].[Cost]", "", "350"},
    {"[Measures].[Profit]", "", "350"},
    {"[Measures].[Sales] * 2", "", "1822"},
    {"[Measures].[Sales] / 2", "", "455.5"},
    {"2 ^ 10", "", "1024"},
    {"-[Measures].[Sales]", "", "-911"},
    {"([Measures].[Sales], [Product].[Food]) / [Measures].[Sales]", "", "0.5268935236"},
    {"[Measures].[Sales]", "[Time].[1998]", "297"},
    // Empty cells: ignored by + and -, empty through * and /, zero as a denominator.
    {"([Measures].[Sales], [Store].[Mexico]) + 1", "", "1"},
    {"([Measures].[Sales], [Store].[Mexico]) - 5", "", "-5"},
    {"([Measures].[Sales], [Store].[Mexico]) + ([Measures].[Cost], [Store].[Mexico])", "", "-"},
    {"([Measures].[Sales], [Store].[Mexico]) * 2", "", "-"},
    {"([Measures].[Sales], [Store].[Mexico]) / 2", "", "-"},
    {"1 / ([Measures].[Sales], [Store].[Mexico])", "", "inf"},
    {"CoalesceEmpty(([Measures].[Sales], [Store].[Mexico]), -1)", "", "-1"},
    {"IIf(IsEmpty(([Measures].[Sales], [Store].[Mexico])), 1, 0)", "", "1"},
    {"IIf(([Measures].[Sales], [Store].[Mexico]) IS EMPTY, 1, 0)", "", "1"},
    {"IIf(([Measures].[Sales], [Store].[Mexico]) = 0, 1, 0)", "", "0"},
    // Logic, comparisons, strings.
    {"IIf([Measures].[Sales] > 900 AND NOT ([Measures].[Cost] > 600), 1, 0)", "", "1"},
    {"IIf(1 = 1 XOR 2 = 2, 1, 0)", "", "0"},
    {"IIf(1 < 2 OR 1 >= 2, \"yes\", \"no\")", "", "yes"},
    {"IIf(1 <> 1, \"yes\", \"no\")", "", "no"},
    {"\"a\" || \"b\"", "", "ab"},
    {"[Product].[Beer].Name + \"!\"", "", "Beer!"},
    {"CASE WHEN [Measures].[Sales] > 1000 THEN \"big\" WHEN [Measures].[Sales] > 500 THEN "
     "\"medium\" ELSE \"small\" END",
     "", "medium"},
    {"CASE 2 WHEN 1 THEN \"one\" WHEN 2 THEN \"two\" END", "", "two"},
    {"CASE 3 WHEN 1 THEN \"one\" END", "", "-"},
    // Functions over sets.
    {"Sum([Product].[Family].Members)", "", "911"},
    {"Sum({[Product].[Beer], [Product].[Meat]}, [Measures].[Cost])", "", "390"},
    {"Sum(YTD([Time].[1997].[Q2].[May]), [Measures].[Sales])", "", "440"},
    {"Sum(LastPeriods(2, [Time].[1998].[Q1].[January]), [Measures].[Sales])", "", "170"},
    {"Count([Store].[City].Members)", "", "6"},
    {"Count([Store].[City].Members, EXCLUDEEMPTY)", "", "5"},
    {"[Store].[City].Members.Count", "", "6"},
    {"Avg([Product].[Family].Members)", "", "303.666666667"},
    {"Avg({[Store].[Mexico], [Store].[USA]})", "", "656"},
    {"Min([Product].[Category].Members, [Measures].[Cost])", "", "5"},
    {"Max([Product].[Category].Members, [Measures].[Cost])", "", "240"},
    {"Aggregate({[Product].[Beer], [Product].[Meat]})", "", "570"},
    {"Rank([Product].[Fruit], [Product].[Category].Members)", "", "5"},
    {"Rank([Product].[Fruit], [Product].[Category].Members, [Measures].[Cost])", "", "3"},
    {"Rank([Product].[Food], [Product].[Category].Members)", "", "0"},
    {"Abs(-3.5)", "", "3.5"},
    {"Round(2.5)", "", "2"},
    {"Round(3.14159, 2)", "", "3.14"},
    {"Count(Descendants([Time].[1997], [Time].[Month]))", "", "12"},
    // Properties of members, levels and hierarchies.
    {"([Measures].[Cost], [Product].[Food]).Value", "", "326"},
    {"[Product].CurrentMember.Name", "", "All Products"},
    {"[Time].CurrentMember.Name", "[Time].[1998]", "1998"},
    {"[Measures].CurrentMember.Name", "", "X"},
    {"[Time].[1997].[Q1].UniqueName", "", "[Time].[1997].[Q1]"},
    {"[Product].[Beer].Parent.Caption", "", "Drink"},
    {"[Product].[Beer].Level.UniqueName", "", "[Product].[Category]"},
    {"[Product].[Beer].Hierarchy.UniqueName", "", "[Product]"},
    {"[Product].[Beer].Dimension.Name", "", "Product"},
    {"[Time].[Quarter].Ordinal", "", "1"},
    {"[Time].[Month].Name", "", "Month"},
    {"[Time].Levels(2).Name", "", "Month"},
    {"([Measures].[Sales], [Time].CurrentMember.PrevMember)", "[Time].[1998]", "911"},
    {"Generate([Product].[Family].Members, [Product].CurrentMember.Name, \", \")", "",
     "Drink, Food, Non-Consumable"},
    {"IIf([Product].[Beer] IS [Product].[Beer], 1, 0)", "", "1"},
    {"IIf([Product].[All Products].Parent IS NULL, 1, 0)", "", "1"},
};

TEST_F(RetailTest, ValueFunctions)
{
    for (const ValueCase &c : valueCases) {
        SCOPED_TRACE(c.expression);
        std::string statement = std::string("WITH MEMBER [Measures].[X] AS '") + c.expression
                                + "' SELECT {[Measures].[X]} ON 0 FROM [Sales]";
        if (*c.where)
            statement += std::string(" WHERE ") + c.where;
        CellsetData data;
        try {
            data = run(statement.c_str());
        } catch (const platform::Error &error) {
            ADD_FAILURE() << error.description().toStdString();
            continue;
        }
        EXPECT_EQ(values(data), c.expected);
    }
}

TEST_F(RetailTest, Aggregators)
{
    // Sum, count (of values: a NULL amount is not counted), min, max, average and distinct
    // count; a cell whose only fact has a NULL amount is empty for the amount's sum, minimum
    // and average, 0 for its count; a cell with no fact is empty throughout.
    const CellsetData data =
        run("SELECT [Measures].Members ON 0, {[Product].[All Products], [Product].[Drink], "
            "[Product].[Soda]} * {[Store].[All Stores]} + {([Product].[Soda], "
            "[Store].[USA].[Seattle]), ([Product].[Soda], [Store].[Canada].[Toronto])} ON 1 "
            "FROM [Sales]");
    EXPECT_EQ(values(data), "911 561 35 15 10 200 60.7333333333 5 / "
                            "355 206 15 6 20 100 59.1666666667 4 / "
                            "20 11 5 1 20 20 20 2 / "
                            "- 3 1 0 - - - 1 / "
                            "- - - - - - - -");
}

TEST_F(RetailTest, AggregateIsExactForEveryAggregator)
{
    // Beer and Meat in 1997: amounts 100, 60, 90, 200, 120 from customers 1, 1, 2, 3, 3. The
    // average and the distinct count of the two together are not those of each added up.
    const CellsetData data =
        run("WITH MEMBER [Product].[Beer and Meat] AS 'Aggregate({[Product].[Beer], "
            "[Product].[Meat]})' SELECT {[Measures].[Sales], [Measures].[Mean], "
            "[Measures].[Customers], [Measures].[Smallest]} ON 0, {[Product].[Beer and Meat]} ON 1 "
            "FROM [Sales]");
    EXPECT_EQ(values(data), "570 114 3 60");

    // A set in the slicer is aggregated the same way: Boston and Toronto in 1997.
    const CellsetData slicer =
        run("SELECT {[Measures].[Sales], [Measures].[Customers]} ON 0 FROM [Sales] WHERE "
            "{[Store].[USA].[Boston], [Store].[Canada].[Toronto]}");
    EXPECT_EQ(values(slicer), "371 5");
    EXPECT_EQ(positions(slicer, -1), "Boston, Toronto");
    const CellsetData none =
        run("SELECT {[Measures].[Sales]} ON 0 FROM [Sales] WHERE {[Store].[Mexico]} - "
            "{[Store].[Mexico]}");
    EXPECT_EQ(values(none), "-");
}

TEST_F(RetailTest, NonEmptyDropsPositionsWithoutValues)
{
    struct Case
    {
        const char *statement;
        const char *columns;
        const char *rows;
        const char *cells;
    };
    const Case cases[] = {
        {"SELECT NON EMPTY [Store].[City].Members ON 0 FROM [Sales]",
         "Toronto, Vancouver, Boston, Portland, Seattle", nullptr, "115 140 256 30 370"},
        {"SELECT {[Measures].[Sales]} ON 0, NON EMPTY [Store].[Country].Members ON 1 FROM "
         "[Sales] WHERE [Time].[1998]",
         "Sales", "Canada, USA", "55 / 242"},
        {"SELECT NON EMPTY [Product].[Category].Members ON 0, NON EMPTY [Store].[City].Members "
         "ON 1 FROM [Sales] WHERE ([Time].[1998], [Measures].[Sales])",
         "Beer, Juice, Bread, Fruit, Meat", "Toronto, Vancouver, Boston, Seattle",
         "- - - 30 - / - 25 - - - / - - - - 150 / 80 - 12 - -"},
        // A count of no value is 0, not empty; a sum of a NULL amount is empty.
        {"SELECT NON EMPTY {[Measures].[Sales], [Measures].[Orders]} ON 0 FROM [Sales] WHERE "
         "([Product].[Soda], [Store].[USA].[Seattle])",
         "Orders", nullptr, "0"},
        // A calculated measure is empty where what it adds up is.
        {"SELECT {[Measures].[Profit]} ON 0, NON EMPTY [Store].[Country].Members ON 1 FROM "
         "[Sales]",
         "Profit", "Canada, USA", "113 / 237"},
        // Everything empty: the axis has no position left, and there is no cell.
        {"SELECT NON EMPTY {[Store].[Mexico]} ON 0 FROM [Sales]", "", nullptr, ""},
        // An empty set on an axis: no cell either.
        {"SELECT {} ON 0, [Product].[Family].Members ON 1 FROM [Sales]", "",
         "Drink, Food, Non-Consumable", ""},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.statement);
        const CellsetData data = run(c.statement);
        EXPECT_EQ(positions(data, 0), c.columns);
        if (c.rows) {
            EXPECT_EQ(positions(data, 1), c.rows);
        }
        EXPECT_EQ(values(data), c.cells);
    }
}

TEST_F(RetailTest, FormattedValuesAndCellProperties)
{
    const CellsetData data = run(
        "WITH MEMBER [Measures].[Share] AS '[Measures].[Sales] / ([Measures].[Sales], "
        "[Product].[All Products])', FORMAT_STRING = '0.0%' "
        "SELECT {[Measures].[Sales], [Measures].[Units], [Measures].[Orders], [Measures].[Mean], "
        "[Measures].[Profit], [Measures].[Share]} ON 0, {([Product].[Drink], "
        "[Store].[All Stores]), ([Product].[Drink], [Store].[Mexico])} ON 1 FROM [Sales]");
    EXPECT_EQ(values(data, true), "\"355.00\" \"15\" \"6\" \"59.2\" \"149.00\" \"39.0%\" / "
                                  "\"\" \"\" \"\" \"\" \"\" \"\"");
    EXPECT_EQ(data.cellProperties, CellsetData::defaultCellProperties());
    EXPECT_EQ(data.property(0, u"FORMAT_STRING").toString(), QStringLiteral("#,##0.00"));
    EXPECT_FALSE(data.property(2, u"FORMAT_STRING").isValid()); // Orders defines none
    EXPECT_EQ(data.property(5, u"format_string").toString(), QStringLiteral("0.0%"));
    EXPECT_EQ(data.property(0, u"VALUE").toDouble(), 355.0);
    EXPECT_EQ(data.property(0, u"FORMATTED_VALUE").toString(), QStringLiteral("355.00"));
    EXPECT_FALSE(data.hasProperty(u"FORE_COLOR"));
    EXPECT_FALSE(data.value(6).isValid());
    EXPECT_EQ(data.formattedValue(6), QString());

    // Colours and fonts come only when asked for, from the member that defines them; a
    // property no member defines is empty.
    const CellsetData styled =
        run("WITH MEMBER [Measures].[Hot] AS '[Measures].[Sales]', FORE_COLOR = 255, "
            "BACK_COLOR = IIf([Measures].[Sales] > 300, 65280, 16777215), FONT_NAME = 'Arial', "
            "FONT_SIZE = 12, FONT_FLAGS = 1, FORMAT_STRING = '#,##0' "
            "SELECT {[Measures].[Hot], [Measures].[Sales]} ON 0, {[Product].[Food], "
            "[Product].[Non-Consumable]} ON 1 FROM [Sales] "
            "CELL PROPERTIES VALUE, FORE_COLOR, BACK_COLOR, FONT_NAME, FONT_SIZE, FONT_FLAGS");
    EXPECT_EQ(styled.cellProperties, (QStringList{"VALUE", "FORE_COLOR", "BACK_COLOR", "FONT_NAME",
                                                  "FONT_SIZE", "FONT_FLAGS"}));
    EXPECT_EQ(styled.property(0, u"FORE_COLOR").toInt(), 255);
    EXPECT_EQ(styled.property(0, u"BACK_COLOR").toInt(), 65280);
    EXPECT_EQ(styled.property(2, u"BACK_COLOR").toInt(), 16777215);
    EXPECT_EQ(styled.property(0, u"FONT_NAME").toString(), QStringLiteral("Arial"));
    EXPECT_EQ(styled.property(0, u"FONT_SIZE").toInt(), 12);
    EXPECT_EQ(styled.property(0, u"FONT_FLAGS").toInt(), 1);
    EXPECT_FALSE(styled.property(1, u"FORE_COLOR").isValid());
    EXPECT_FALSE(styled.hasProperty(u"FORMAT_STRING"));
    EXPECT_FALSE(styled.property(0, u"FORMATTED_VALUE").isValid());
    EXPECT_EQ(styled.formattedValue(0), QStringLiteral("480"));
}

TEST_F(RetailTest, SolveOrderDecidesWhichFormulaAppliesFirst)
{
    // Drink and Food together: the ratio of the sums when the ratio is solved last, the sum of
    // the ratios when the sum is. The format comes from the member that defines one.
    const char *statement =
        "WITH MEMBER [Measures].[Ratio] AS '[Measures].[Sales] / [Measures].[Cost]', "
        "FORMAT_STRING = '0.00', SOLVE_ORDER = %1 "
        "MEMBER [Product].[Drink and Food] AS '[Product].[Drink] + [Product].[Food]', "
        "SOLVE_ORDER = %2 "
        "SELECT {[Measures].[Ratio]} ON 0, {[Product].[Drink and Food]} ON 1 FROM [Sales]";
    const CellsetData ratioLast = engine->execute(QString::fromUtf8(statement).arg(10).arg(0));
    EXPECT_EQ(ratioLast.formattedValue(0), QStringLiteral("1.57")); // 835 / 532
    const CellsetData sumLast = engine->execute(QString::fromUtf8(statement).arg(0).arg(10));
    EXPECT_EQ(sumLast.formattedValue(0), QStringLiteral("3.20")); // 355/206 + 480/326
    EXPECT_EQ(positions(sumLast, 1, true), "[Product].[Drink and Food]");
    EXPECT_EQ(sumLast.axes[1].member(0, 0).levelDepth, 1); // under the All member
}

TEST_F(RetailTest, NamedSetsAndCalculatedMembersUnderAParent)
{
    const CellsetData data =
        run("WITH SET [Top Two] AS 'TopCount([Product].[Category].Members, 2, [Measures].[Sales])' "
            "MEMBER [Time].[1997].[First Half] AS 'Aggregate({[Time].[1997].[Q1], "
            "[Time].[1997].[Q2]})' "
            "SELECT {[Time].[1997].[Q1], [Time].[1997].[Q2], [Time].[1997].[First Half]} ON 0, "
            "[Top Two] ON 1 FROM [Sales]");
    EXPECT_EQ(positions(data, 0, true),
              "[Time].[1997].[Q1], [Time].[1997].[Q2], [Time].[1997].[First Half]");
    EXPECT_EQ(data.axes[0].member(2, 0).levelDepth, 1);
    EXPECT_EQ(positions(data, 1), "Meat, Beer");
    EXPECT_EQ(values(data), "200 - 200 / 100 60 160");

    // A calculated member takes its place after its parent's own children.
    const CellsetData all =
        run("WITH MEMBER [Product].[Drink].[Other] AS '1' SELECT "
            "Hierarchize({[Product].[Food], [Product].[Drink].[Other], [Product].[Drink], "
            "[Product].[Drink].[Beer]}) ON 0 FROM [Sales]");
    EXPECT_EQ(positions(all, 0), "Drink, Beer, Other, Food");
}

TEST_F(RetailTest, Errors)
{
    struct Case
    {
        const char *statement;
        const char *message;
    };
    const Case cases[] = {
        // The statement the browser emits when a sort has no field.
        {"SELECT \r\n[Measures].[MeasuresLevel].MEMBERS ON AXIS(0), \r\nOrder(BottomSum("
         "{[Store].[USA], [Store].[Canada]}, 1000, [Measures].[Sales]), ASC) ON AXIS(1)\r\n "
         "FROM [Sales]\r\n WHERE ([Time].[1998], [Product].[All Products])\r\n\r\n",
         "Order needs an expression to sort by, as in Order(set, expression, ASC | DESC | BASC "
         "| BDESC); Order(BottomSum({[Store].[USA], [Store].[Canada]}, 1000, "
         "[Measures].[Sales]), ASC) has none (line 3, column 1)"},
        {"SELECT {[Product].[Candy]} ON 0 FROM [Sales]",
         "MDX object '[Product].[Candy]' not found in cube 'Sales' (line 1, column 9)"},
        {"SELECT Descendants([Product].[All Products], [Product].[Brand]) ON 0 FROM [Sales]",
         "MDX object '[Product].[Brand]' not found in cube 'Sales'"},
        {"SELECT {[Measures].[Sales]} ON 0 FROM [Sales] WHERE [Warehouse].[All]",
         "MDX object '[Warehouse].[All]' not found"},
        {"SELECT Foo([Product].Members) ON 0 FROM [Sales]", "Unknown function Foo"},
        {"SELECT [Product].Members.Bar ON 0 FROM [Sales]", "Unknown property or function .Bar"},
        {"SELECT [Product].[Food].Lag() ON 0 FROM [Sales]", ".Lag takes one argument"},
        {"SELECT TopCount([Product].Members) ON 0 FROM [Sales]",
         "TopCount takes 2 to 3 argument(s), not 1"},
        {"WITH MEMBER [Measures].[X] AS 'CoalesceEmpty(1)' SELECT FROM [Sales]",
         "CoalesceEmpty takes at least 2 argument(s), not 1"},
        {"SELECT FROM [Nope]", "Cube 'Nope' not found in catalog 'Retail' (its cubes: Sales)"},
        {"SELECT {[Product].Members ON 0 FROM [Sales]", "line 1, column 27"},
        // A dimension where a level belongs.
        {"SELECT Descendants([Product].[All Products], [Product]) ON 0 FROM [Sales]",
         "Argument 2 of Descendants must be a level or a distance, not a dimension or "
         "hierarchy"},
        {"SELECT Descendants([Product].[All Products], [Store].[Country]) ON 0 FROM [Sales]",
         "the level [Store].[Country] is not of the hierarchy [Product]"},
        {"SELECT [Product].Members ON 0, {[Product].[Food]} ON 1 FROM [Sales]",
         "The hierarchy [Product] appears on more than one axis"},
        {"SELECT {[Measures].[Sales]} ON 0 FROM [Sales] WHERE [Measures].[Cost]",
         "The hierarchy [Measures] appears on more than one axis (an axis and the slicer)"},
        {"SELECT CrossJoin([Product].Members, {[Product].[Food]}) ON 0 FROM [Sales]",
         "CrossJoin: both sets have the hierarchy [Product]"},
        {"SELECT {[Product].[Food], [Store].[USA]} ON 0 FROM [Sales]",
         "the sets have different hierarchies ([Product] and [Store])"},
        {"SELECT {([Product].[Food], [Product].[Drink])} ON 0 FROM [Sales]",
         "more than one member of the hierarchy [Product]"},
        {"SELECT {[Measures].[Sales]} ON 1 FROM [Sales]", "Axis 1 is given without axis 0"},
        {"SELECT {[Measures].[Sales]} ON 0, {[Product].[Food]} ON COLUMNS FROM [Sales]",
         "Axis 0 is given twice"},
        {"SELECT {[Measures].[Sales] + 1} ON 0 FROM [Sales]",
         "A set holds members, tuples or sets, not a value"},
        {"SELECT [Measures].[Sales] + 1 ON 0 FROM [Sales]", "Axis 0 needs a set"},
        {"WITH MEMBER [X] AS '1' SELECT FROM [Sales]", "needs a dimension before its name"},
        {"WITH MEMBER [Measures].[A] AS '[Measures].[A] + 1' SELECT {[Measures].[A]} ON 0 "
         "FROM [Sales]",
         "nested too deeply to evaluate"},
        {"SELECT FROM [Sales] CELL PROPERTIES VALUE, FOO",
         "Unknown cell property FOO (the cell properties are VALUE, FORMATTED_VALUE"},
        {"WITH MEMBER [Measures].[X] AS '\"a\" * 2' SELECT {[Measures].[X]} ON 0 FROM [Sales]",
         "Arithmetic needs numbers, not the text \"a\""},
        {"SELECT YTD([Store].[USA]) ON 0 FROM [Sales]",
         "YTD: the hierarchy [Store] has no level of that time type"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.statement);
        EXPECT_THAT(errorOf(c.statement), HasSubstr(c.message));
    }
}

// Each chain evaluates on a small stack, as a calculated member's formula or as an axis.
TEST_F(RetailTest, ChainsOfAnyLengthEvaluate)
{
    mdx_test::forEachChain([&](const mdx_test::ChainCase &c, int size) {
        const QString text = c.text(size);
        const QString statement = c.set
                                      ? QStringLiteral("SELECT %1 ON 0 FROM [Sales]").arg(text)
                                      : QStringLiteral("WITH MEMBER [Measures].[X] AS '%1' SELECT "
                                                       "{[Measures].[X]} ON 0 FROM [Sales]")
                                            .arg(text);
        QString result;
        mdx_test::onSmallStack([&] {
            try {
                const CellsetData data = engine->execute(statement);
                result = c.set ? QString::fromStdString(positions(data, 0))
                               : mdx_test::valueText(data, 0);
            } catch (const platform::Error &error) {
                result = QStringLiteral("error: ") + error.description();
            }
        });
        const QString expected = c.result(size);
        if (expected.startsWith(QStringLiteral("error: ")))
            EXPECT_TRUE(result.startsWith(QStringLiteral("error: "))
                        && result.contains(expected.mid(7)))
                << result.left(200).toStdString();
        else
            EXPECT_TRUE(result == expected) << result.left(200).toStdString();
    });
}

TEST_F(RetailTest, LimitsRefuseLargeResultsBeforeMakingThem)
{
    EngineOptions options;
    options.cellLimit = 20;
    engine->setOptions(options);
    EXPECT_EQ(errorOf("SELECT [Time].[Month].Members ON 0 FROM [Sales]"),
              "The result would have 24 cells, more than the limit of 20 cells");
    EXPECT_THAT(errorOf("SELECT CrossJoin([Time].[Month].Members, [Product].Members) ON 0 FROM "
                        "[Sales]"),
                HasSubstr("The set would hold 288 tuples, more than the limit of 20"));
    // Text built by Generate counts its iterations, nested ones included, and its length.
    struct GenerateCase
    {
        const char *formula;
        const char *error; // nullptr: answers "1997,1998"
    };
    const GenerateCase texts[] = {
        {"Generate([Time].[Month].Members, [Time].CurrentMember.Name)",
         "Generate would build its text from more than 20 iterations"},
        // 2 + 2 * 10 iterations, each set within the limit.
        {"Generate([Time].[Year].Members, [Time].CurrentMember.Name + Generate("
         "{[Time].[Quarter].Members, [Time].[Year].Members}, \"\"))",
         "Generate would build its text from more than 20 iterations"},
        {"Generate([Time].[Year].Members, \"a rather long text\")",
         "Generate would build a text longer than 20 characters"},
        {"Generate([Time].[Year].Members, [Time].CurrentMember.Name, \",\")", nullptr},
    };
    for (const GenerateCase &c : texts) {
        SCOPED_TRACE(c.formula);
        const std::string statement =
            QStringLiteral("WITH MEMBER [Measures].[s] AS '%1' SELECT {[Measures].[s]} ON 0 "
                           "FROM [Sales]")
                .arg(QLatin1String(c.formula))
                .toStdString();
        if (c.error)
            EXPECT_THAT(errorOf(statement.c_str()), HasSubstr(c.error));
        else
            EXPECT_EQ(values(run(statement.c_str())), "1997,1998");
    }
    // Within the limit the same engine answers.
    EXPECT_EQ(values(run("SELECT [Time].[Year].Members ON 0 FROM [Sales]")), "911 297");
}

TEST_F(RetailTest, RepeatedStatementsComeFromTheCache)
{
    const CellsetData first = run(generated[0].statement);
    const EngineStatistics afterFirst = engine->statistics();
    EXPECT_GE(afterFirst.passes, 1);
    const CellsetData again = run(generated[0].statement);
    const EngineStatistics afterAgain = engine->statistics();
    EXPECT_EQ(afterAgain.passes, afterFirst.passes);
    EXPECT_EQ(positions(again, 0, true), positions(first, 0, true));
    EXPECT_EQ(positions(again, 1, true), positions(first, 1, true));
    EXPECT_EQ(values(again), values(first));
    EXPECT_EQ(values(again, true), values(first, true));

    // A drill reads the facts once more, only for the cells it has not seen...
    const CellsetData drilled = run(generated[1].statement);
    const EngineStatistics afterDrill = engine->statistics();
    EXPECT_EQ(afterDrill.passes, afterAgain.passes + 1);
    // ...and gives what an engine with an empty cache gives.
    MdxEngine fresh(s_file);
    const CellsetData direct = fresh.execute(QString::fromUtf8(generated[1].statement));
    EXPECT_EQ(values(drilled), values(direct));
    EXPECT_EQ(positions(drilled, 1, true), positions(direct, 1, true));

    engine->clearCache();
    EXPECT_EQ(engine->statistics().cachedCells, 0);
    EXPECT_EQ(values(run(generated[0].statement)), values(first));
}

// The engines of a process count their cached cells against one budget: past it, an engine
// that runs a statement starts its own cache again (an engine with an empty cache keeps
// going), and the answers stay those of an engine of its own.
TEST_F(RetailTest, EnginesShareOneCacheBudget)
{
    struct RestoreBudget
    {
        std::size_t cells = MdxEngine::processCacheBudget();
        ~RestoreBudget() { MdxEngine::setProcessCacheBudget(cells); }
    } restore;
    const std::int64_t elsewhere = MdxEngine::processCachedCells();
    MdxEngine::setProcessCacheBudget(1);
    const QString first = QString::fromUtf8(generated[0].statement);
    const QString drill = QString::fromUtf8(generated[1].statement);

    engine->execute(first);
    const std::int64_t cells = engine->statistics().cachedCells;
    ASSERT_GT(cells, 1);
    EXPECT_EQ(MdxEngine::processCachedCells(), elsewhere + cells);

    auto other = std::make_unique<MdxEngine>(s_file);
    const CellsetData expected = other->execute(drill);
    const EngineStatistics otherStats = other->statistics();
    EXPECT_EQ(MdxEngine::processCachedCells(), elsewhere + cells + otherStats.cachedCells);

    // Over the budget: the drill starts this engine's cache again instead of adding to it.
    const std::int64_t passes = engine->statistics().passes;
    const CellsetData drilled = engine->execute(drill);
    EXPECT_EQ(engine->statistics().cachedCells, otherStats.cachedCells);
    EXPECT_EQ(engine->statistics().passes - passes, otherStats.passes);
    EXPECT_EQ(values(drilled), values(expected));
    EXPECT_EQ(positions(drilled, 1, true), positions(expected, 1, true));
    EXPECT_EQ(MdxEngine::processCachedCells(), elsewhere + 2 * otherStats.cachedCells);

    // Clearing and closing give the cells back to the budget.
    other.reset();
    EXPECT_EQ(MdxEngine::processCachedCells(), elsewhere + otherStats.cachedCells);
    engine->clearCache();
    EXPECT_EQ(MdxEngine::processCachedCells(), elsewhere);

    // Within the budget every engine keeps what it has.
    MdxEngine::setProcessCacheBudget(restore.cells);
    engine->execute(first);
    const std::int64_t kept = engine->statistics().cachedCells;
    engine->execute(drill);
    EXPECT_GT(engine->statistics().cachedCells, kept);
}

// A result's axes read their members' texts from the cube's tables even after the engine and
// the loaded file are gone, a repeated one as well.
TEST_F(RetailTest, ResultsOutliveTheirEngine)
{
    const QString statement =
        QStringLiteral("WITH MEMBER [Measures].[Twice] AS '[Measures].[Sales] * 2' "
                       "SELECT {[Measures].[Sales], [Measures].[Twice]} ON COLUMNS, "
                       "[Product].[Family].Members ON ROWS FROM [Sales]");
    std::shared_ptr<const CellsetData> result;
    std::shared_ptr<const CellsetData> again;
    std::string cells;
    {
        MdxEngine own(loadCubeFile(s_dir->filePath(QStringLiteral("retail.cub"))));
        result = own.result(statement);
        again = own.result(statement);
        cells = values(*result);
    }
    for (const auto &data : {result, again}) {
        EXPECT_EQ(positions(*data, 0, true), "[Measures].[Sales], [Measures].[Twice]");
        EXPECT_EQ(positions(*data, 1, true),
                  "[Product].[Drink], [Product].[Food], [Product].[Non-Consumable]");
        EXPECT_EQ(values(*data), cells);
    }
    const CellsetData::Member twice = result->axes[0].member(1, 0);
    EXPECT_EQ(twice.name, QStringLiteral("Twice"));
    EXPECT_EQ(twice.caption, QStringLiteral("Twice"));
    EXPECT_EQ(twice.levelDepth, 0);
    const CellsetData::Member food = result->axes[1].member(1, 0);
    EXPECT_EQ(food.caption, QStringLiteral("Food"));
    EXPECT_EQ(food.levelUniqueName, QStringLiteral("[Product].[Family]"));
    EXPECT_EQ(food.levelDepth, 1);
}

} // namespace
