// The same statements on the Mondrian server and on the local engine over the same sample cube
// file: a table covering the set, member and numeric functions both engines have. Rankings are
// taken over values without ties (store sales, over non-empty members).
#include "CellsetCompare.h"
#include "QtPrinters.h"
#include "SampleServer.h"

#include "platform/olap/Cellset.h"
#include "platform/olap/Connection.h"
#include "platform/runtime/Error.h"

#include <gtest/gtest.h>

using namespace platform::olap;
using namespace xmlatest;

namespace {

// Cities of the USA, all of which have sales in the sample.
const char usCities[] = "Descendants([Store].[USA], [Store].[City])";

struct Case
{
    const char *what;
    QString statement;
    // Mondrian gives a calculated measure without FORMAT_STRING the format of a measure its
    // formula names; the cube browser's provider leaves such a member unformatted, and so do
    // we. Those cases compare values only.
    bool compareFormatting = true;
};

QString rows(const QString &set, const QString &measures = "{[Measures].[Store Sales]}")
{
    return QStringLiteral("SELECT %1 ON COLUMNS, %2 ON ROWS FROM [Sales]").arg(measures, set);
}

Case calc(const char *what, const QString &formula, const QString &set)
{
    return {what,
            QStringLiteral("WITH MEMBER [Measures].[X] AS '%1' SELECT {[Measures].[Unit Sales], "
                           "[Measures].[X]} ON COLUMNS, %2 ON ROWS FROM [Sales]")
                .arg(formula, set),
            false};
}

std::vector<Case> cases()
{
    const QString cities = QString::fromLatin1(usCities);
    return {
        {"Members and Children", rows("[Store].[Country].Members")},
        {"AllMembers", rows("[Promotion].[Media Type].AllMembers")},
        {"Children", rows("[Time].[2022].Children")},
        {"Descendants to a level", rows("Descendants([Product].[Drink], [Product].[Category])")},
        {"Descendants SELF_AND_BEFORE",
         rows("Descendants([Product].[Drink], [Product].[Category], SELF_AND_BEFORE)")},
        {"Descendants SELF_AND_AFTER",
         rows("Descendants([Product].[Drink].[Beverages], [Product].[Category], SELF_AND_AFTER)")},
        {"Descendants BEFORE", rows("Descendants([Time].[2022], [Time].[Month], BEFORE)")},
        {"Descendants AFTER",
         rows("Descendants([Product].[Food].[Deli], [Product].[Category], AFTER)")},
        {"Descendants LEAVES", rows("Descendants([Store].[Canada], , LEAVES)")},
        {"Descendants by distance", rows("Descendants([Time].[2022], 2)")},
        {"CrossJoin and *", rows("[Store].[Country].Members * [Time].[Year].Members")},
        {"NON EMPTY CrossJoin",
         "SELECT {[Measures].[Unit Sales]} ON 0, NON EMPTY CROSSJOIN([Store].[State].Members, "
         "[Promotion].[Media Type].Members) ON 1 FROM [Sales]"},
        {"NonEmptyCrossJoin",
         rows("NonEmptyCrossJoin([Store].[State].Members, [Time].[Year].Members)")},
        {"Hierarchize", rows("Hierarchize({[Product].[Food], [Product].[Drink].[Beverages], "
                             "[Product].[Drink]})")},
        {"Hierarchize POST", rows("Hierarchize({[Product].[Food], [Product].[Drink].[Beverages], "
                                  "[Product].[Drink]}, POST)")},
        {"Filter", rows("Filter(" + cities + ", [Measures].[Store Sales] > 5000)")},
        {"Head, Tail, Subset",
         rows("{Head([Product].[Department].Members, 3), Tail([Product].[Department].Members, 2),"
              " Subset([Product].[Department].Members, 5, 2)}")},
        {"Union", rows("Union({[Time].[2021]}, {[Time].[2023], [Time].[2021]})")},
        {"Intersect", rows("Intersect([Time].[Year].Members, {[Time].[2023], [Time].[2021]})")},
        {"Except", rows("Except([Store].[Country].Members, {[Store].[Mexico]})")},
        {"Distinct", rows("Distinct({[Time].[2022], [Time].[2021], [Time].[2022]})")},
        {"Generate",
         rows("Generate([Store].[Country].Members, {[Store].CurrentMember.FirstChild})")},
        {"DrilldownLevel", rows("DrilldownLevel({[Product].[Drink], [Product].[Food]})")},
        {"DrilldownMember",
         rows("DrilldownMember({[Product].[Drink], [Product].[Food]}, {[Product].[Drink]})")},
        {"Siblings", rows("[Store].[USA].[CA].Siblings")},
        {"Range", rows("{[Time].[2022].[Q1].[January] : [Time].[2022].[Q2].[May]}")},
        {"PeriodsToDate", rows("PeriodsToDate([Time].[Year], [Time].[2022].[Q3].[August])")},
        {"YTD", rows("YTD([Time].[2022].[Q3].[August])")},
        {"LastPeriods", rows("LastPeriods(3, [Time].[2022].[Q2].[May])")},
        {"Member navigation",
         rows("{[Time].[2022].[Q2].Parent, [Time].[2022].FirstChild, [Time].[2022].LastChild, "
              "[Time].[2022].NextMember, [Time].[2022].PrevMember, [Time].[2022].[Q3].Lag(1), "
              "[Time].[2022].[Q1].Lead(2), [Time].[Year].Members.Item(2)}")},
        {"Ancestor", rows("{Ancestor([Store].[USA].[CA].Children.Item(0), [Store].[Country])}")},
        calc("CurrentMember and PrevMember in a calculation",
             "([Measures].[Unit Sales], [Time].CurrentMember.PrevMember)",
             "[Time].[2022].Children"),
        calc("Arithmetic", "([Measures].[Store Sales] - [Measures].[Store Cost]) * 2 / 3 + 1",
             "[Store].[Country].Members"),
        calc("Negation", "-([Measures].[Unit Sales] * [Measures].[Unit Sales])",
             "[Time].[Year].Members"),
        calc("IIf", "IIf([Measures].[Unit Sales] > 2000, 1, 0)", "[Store].[State].Members"),
        calc("CoalesceEmpty", "CoalesceEmpty([Measures].[Unit Sales], 0)",
             "[Store].[State].Members"),
        calc("IsEmpty and logic",
             "IIf(IsEmpty([Measures].[Unit Sales]) OR NOT ([Measures].[Unit Sales] > 2000)"
             " AND [Measures].[Unit Sales] < 5000, 1, 2)",
             "[Store].[State].Members"),
        calc("Sum", "Sum([Store].[Country].Members, [Measures].[Unit Sales])",
             "[Time].[Year].Members"),
        calc("Count", "Count([Store].[State].Members)", "[Time].[Year].Members"),
        {"Avg, Min, Max",
         // clang-format off
         "WITH MEMBER [Measures].[A] AS 'Avg(" + cities + ", [Measures].[Store Sales])' "
         "MEMBER [Measures].[Mi] AS 'Min(" + cities + ", [Measures].[Store Sales])' "
         "MEMBER [Measures].[Ma] AS 'Max(" + cities + ", [Measures].[Store Sales])' "
         "SELECT {[Measures].[A], [Measures].[Mi], [Measures].[Ma]} ON 0, "
         "[Time].[Year].Members ON 1 FROM [Sales]",
         // clang-format on
         false},
        {"Aggregate",
         "WITH MEMBER [Time].[H1] AS 'Aggregate({[Time].[2022].[Q1], [Time].[2022].[Q2]})' "
         "SELECT {[Measures].[Unit Sales], [Measures].[Store Sales]} ON 0, "
         "{[Time].[2022].[Q1], [Time].[2022].[Q2], [Time].[H1]} ON 1 FROM [Sales]"},
        calc("Rank", "Rank([Store].CurrentMember, [Store].[State].Members)",
             "[Store].[State].Members"),
        // Mondrian's Round of an empty value answers its internal null marker (1.2345e-08)
        // instead of empty, so only countries with sales take part.
        calc("Abs and Round", "Abs(Round(-[Measures].[Store Sales] / 7, 2))",
             "{[Store].[Canada], [Store].[USA]}"),
        {"TopCount", rows("TopCount(" + cities + ", 4, [Measures].[Store Sales])")},
        {"BottomCount", rows("BottomCount(" + cities + ", 3, [Measures].[Store Sales])")},
        {"TopSum", rows("TopSum(" + cities + ", 20000, [Measures].[Store Sales])")},
        {"BottomSum", rows("BottomSum(" + cities + ", 8000, [Measures].[Store Sales])")},
        {"TopPercent", rows("TopPercent(" + cities + ", 50, [Measures].[Store Sales])")},
        {"BottomPercent", rows("BottomPercent(" + cities + ", 30, [Measures].[Store Sales])")},
        {"Order ASC keeps the hierarchy",
         rows("Order(Descendants([Store].[USA], [Store].[City], SELF_AND_BEFORE), "
              "[Measures].[Store Sales], ASC)")},
        {"Order DESC keeps the hierarchy",
         rows("Order(Descendants([Store].[USA], [Store].[City], SELF_AND_BEFORE), "
              "[Measures].[Store Sales], DESC)")},
        {"Order BASC", rows("Order(" + cities + ", [Measures].[Store Sales], BASC)")},
        {"Order BDESC", rows("Order(" + cities + ", [Measures].[Store Sales], BDESC)")},
        {"Order by a tuple",
         rows("Order([Store].[Country].Members, ([Measures].[Store Sales], [Time].[2022]), "
              "BDESC)")},
        {"Slicer naming a measure",
         "SELECT [Store].[Country].Members ON 0 FROM [Sales] WHERE ([Measures].[Profit], "
         "[Time].[2023])"},
        {"WITH SET", "WITH SET [Big] AS 'Filter(" + cities
                         + ", [Measures].[Store Sales] > 4000)'"
                           " SELECT {[Measures].[Store Sales]} ON 0, [Big] ON 1 FROM [Sales]"},
        {"Solve order",
         "WITH MEMBER [Measures].[Ratio] AS '[Measures].[Store Cost] / [Measures].[Store Sales]',"
         " SOLVE_ORDER = 2, FORMAT_STRING = '0.00%' MEMBER [Time].[Both] AS "
         "'[Time].[2021] + [Time].[2022]', SOLVE_ORDER = 1 SELECT {[Measures].[Store Sales], "
         "[Measures].[Ratio]} ON 0, {[Time].[2021], [Time].[2022], [Time].[Both]} ON 1 "
         "FROM [Sales]"},
        {"Three axes",
         "SELECT {[Measures].[Unit Sales]} ON COLUMNS, [Store].[Country].Members ON ROWS, "
         "[Time].[Year].Members ON PAGES FROM [Sales]"},
    };
}

// Mondrian adds a measure of its own; positions holding it are not part of the comparison,
// and none of the statements above reach it.
TEST(Differential, StatementsAnswerAsOnMondrian)
{
    QString error;
    const QString url = sampleServerUrl(&error);
    ASSERT_FALSE(url.isEmpty()) << error.toStdString();
    Connection server;
    Connection local;
    server.open(connectionStringFor(url));
    local.open(connectionStringFor(sampleCubePath()));

    for (const Case &c : cases()) {
        SCOPED_TRACE(std::string(c.what) + ": " + c.statement.toStdString());
        Cellset onServer;
        Cellset onFile;
        try {
            onServer.open(c.statement, server);
        } catch (const platform::Error &e) {
            ADD_FAILURE() << "server: " << e.description().toStdString();
            continue;
        }
        try {
            onFile.open(c.statement, local);
        } catch (const platform::Error &e) {
            ADD_FAILURE() << "cube file: " << e.description().toStdString();
            continue;
        }
        expectSame(onServer, onFile, c.compareFormatting);
    }
}

} // namespace
