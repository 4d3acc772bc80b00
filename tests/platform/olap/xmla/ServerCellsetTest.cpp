// Statements through Cellset on the Mondrian server of the XmlaServer fixture, compared with the
// local engine on the same sample cube file: the same axes, members, cells and formatting.
#include "CellsetCompare.h"
#include "QtPrinters.h"
#include "SampleServer.h"

#include "platform/olap/Cellset.h"
#include "platform/olap/Connection.h"
#include "platform/runtime/Error.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace platform::olap;
using namespace xmlatest;

namespace {

class ServerCellsetTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QString error;
        const QString url = sampleServerUrl(&error);
        if (url.isEmpty())
            FAIL() << error.toStdString();
        server.open(connectionStringFor(url));
        local.open(connectionStringFor(sampleCubePath()));
    }

    void run(const QString &statement, Cellset &onServer, Cellset &onFile)
    {
        onServer.open(statement, server);
        onFile.open(statement, local);
    }

    Connection server;
    Connection local;
};

// Statements of the shapes the control builds, and typed ones.
TEST_F(ServerCellsetTest, AnswersLikeTheCubeFile)
{
    const char *const statements[] = {
        "SELECT {[Measures].[Unit Sales], [Measures].[Store Sales]} ON AXIS(0),\r\n"
        "[Product].[Family].Members ON AXIS(1)\r\nFROM [Sales]\r\nWHERE ([Time].[2022])",
        "SELECT NON EMPTY CROSSJOIN({[Store].[Country].Members}, {[Time].[Year].Members}) "
        "ON AXIS(0), {[Measures].[Profit]} ON AXIS(1) FROM [Sales]",
        "SELECT {[Measures].[Store Cost]} ON COLUMNS, Descendants([Product].[Drink], "
        "[Product].[Category], SELF_AND_BEFORE) ON ROWS FROM [Sales]",
        "SELECT {[Measures].[Unit Sales]} ON COLUMNS, TopCount([Store].[City].Members, 5, "
        "[Measures].[Unit Sales]) ON ROWS FROM [Sales]",
        "SELECT {[Measures].[Unit Sales]} ON COLUMNS, Order([Product].[Department].Members, "
        "[Measures].[Store Sales], BDESC) ON ROWS FROM [Sales]",
        "SELECT FROM [Sales] WHERE ([Measures].[Store Sales], [Time].[2021])",
        "SELECT FROM [Sales]",
        "SELECT [Time].[2021].Children ON COLUMNS FROM [Sales]",
        "WITH MEMBER [Measures].[Margin] AS '[Measures].[Profit] / [Measures].[Store Sales]', "
        "FORMAT_STRING = '0.00%' SELECT {[Measures].[Margin], [Measures].[Sales Count]} ON 0, "
        "[Promotion].[Media Type].Members ON 1 FROM [Sales]",
        "SELECT {[Measures].[Unit Sales]} ON 0, NON EMPTY [Customer].[City].Members ON 1 "
        "FROM [Sales] WHERE ([Product].[Drink].[Dairy])",
        "SELECT {[Measures].[Unit Sales]} ON 0, {[Time].[2021].[Q1].[January].[1], "
        "[Time].[2021].[Q1].[January].[2]} ON 1 FROM [Sales]",
        "SELECT {[Measures].[Unit Sales]} ON COLUMNS, {[Store].[Canada]} ON ROWS, "
        "[Time].[Year].Members ON PAGES FROM [Sales]",
        // An axis that NON EMPTY leaves without positions.
        "SELECT NON EMPTY {[Measures].[Unit Sales]} ON 0, NON EMPTY Filter("
        "[Product].[Product].Members, [Measures].[Unit Sales] > 1000000) ON 1 FROM [Sales]",
        "SELECT CROSSJOIN({[Measures].[Unit Sales], [Measures].[Profit]}, "
        "[Promotion].[Media Type].Members) ON 0, CROSSJOIN([Store].[Country].Members, "
        "[Product].[Family].Members) ON 1 FROM [Sales] WHERE ([Time].[2023].[Q4])",
        "SELECT {[Measures].[Unit Sales]} ON 0, [Product].[Drink].[Beverages].Children ON 1 "
        "FROM [Sales] CELL PROPERTIES VALUE, FORMATTED_VALUE",
    };
    for (const char *statement : statements) {
        SCOPED_TRACE(statement);
        Cellset onServer;
        Cellset onFile;
        run(QString::fromUtf8(statement), onServer, onFile);
        expectSame(onServer, onFile);
    }
}

TEST_F(ServerCellsetTest, CellsHaveThePropertiesTheStatementAsksFor)
{
    Cellset onServer;
    Cellset onFile;
    // Without FORMATTED_VALUE or FORMAT_STRING the server sends nothing to format by.
    run(QStringLiteral("SELECT {[Measures].[Unit Sales]} ON 0, [Store].[Country].Members ON 1 "
                       "FROM [Sales] CELL PROPERTIES VALUE"),
        onServer, onFile);
    expectSame(onServer, onFile, false);
    EXPECT_EQ(propertyNames(onServer.item(0)), QStringList({"VALUE"}));
    EXPECT_FALSE(onServer.item(0).properties().contains(QStringLiteral("FORMATTED_VALUE")));

    onServer.close();
    onFile.close();
    run(QStringLiteral("SELECT {[Measures].[Store Sales]} ON 0 FROM [Sales] "
                       "CELL PROPERTIES FORMAT_STRING, VALUE"),
        onServer, onFile);
    expectSame(onServer, onFile);
    EXPECT_EQ(propertyNames(onServer.item(0)), QStringList({"FORMAT_STRING", "VALUE"}));
    EXPECT_EQ(onServer.item(0).properties().item(QStringLiteral("format_string")).value(),
              QStringLiteral("#,##0.00"));
}

TEST_F(ServerCellsetTest, ReportsTheServersFaultAndStaysClosed)
{
    Cellset cellset;
    try {
        cellset.open(QStringLiteral("SELECT {[Product].[Nope]} ON 0 FROM [Sales]"), server);
        FAIL() << "an unknown member was accepted";
    } catch (const platform::Error &error) {
        EXPECT_TRUE(error.description().contains(u"[Product].[Nope]"))
            << error.description().toStdString();
    }
    EXPECT_EQ(cellset.state(), Cellset::StateClosed);
    cellset.open(QStringLiteral("SELECT FROM [Sales]"), server);
    EXPECT_EQ(cellset.state(), Cellset::StateOpen);
    EXPECT_EQ(cellset.item(0).formattedValue(), u"22,078");
}

} // namespace
