// The cell set object model over a local cube file: opening on a connection, axes, positions,
// members, cells by ordinal and by position, cell properties, and the state rules; and the
// pelmora-mdx tool that prints a cell set.

#include "platform/olap/Cellset.h"
#include "platform/olap/Connection.h"
#include "platform/runtime/Error.h"
#include "tests/platform/olap/CubeFixtures.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QFileInfo>
#include <QLocale>
#include <QProcess>
#include <QTemporaryDir>

using namespace platform::olap;
using ::testing::HasSubstr;
using testing_support::buildFixtureCube;
using testing_support::connectionStringFor;

namespace {

const char *const firstView =
    "SELECT \r\nDescendants([Time].[1997], [Time].[Quarter], SELF_AND_BEFORE) ON AXIS(0), \r\n"
    "Descendants([Product].[All Products], [Product].[Family], SELF_AND_BEFORE) ON AXIS(1)\r\n"
    " FROM [Sales]\r\n WHERE ([Store].[All Stores], [Measures].[Sales])\r\n\r\n";

std::string errorOf(const std::function<void()> &f)
{
    try {
        f();
    } catch (const platform::Error &error) {
        return error.description().toStdString();
    }
    return "(no error)";
}

class CellsetTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_locale = QLocale();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        path = buildFixtureCube(dir.path(), QStringLiteral("retail"));
        connection.open(connectionStringFor(path));
    }
    void TearDown() override { QLocale::setDefault(m_locale); }

    QTemporaryDir dir;
    QString path;
    Connection connection;

private:
    QLocale m_locale;
};

TEST_F(CellsetTest, OpenReadAndClose)
{
    Cellset cellset;
    EXPECT_EQ(cellset.state(), Cellset::StateClosed);
    cellset.close(); // closing a closed cell set does nothing
    cellset.setActiveConnection(connection);
    EXPECT_EQ(cellset.activeConnection(), connection);
    cellset.open(QString::fromUtf8(firstView));
    EXPECT_EQ(cellset.state(), Cellset::StateOpen);
    EXPECT_EQ(cellset.source(), QString::fromUtf8(firstView));

    const CellsetAxes axes = cellset.axes();
    ASSERT_EQ(axes.count(), 2);
    const CellsetAxis columns = axes.item(0);
    EXPECT_EQ(columns.name(), QStringLiteral("Axis0"));
    EXPECT_EQ(columns.dimensionCount(), 1);
    ASSERT_EQ(columns.positions().count(), 5);
    const Position q2 = columns.positions().item(2);
    EXPECT_EQ(q2.ordinal(), 2);
    ASSERT_EQ(q2.members().count(), 1);
    const CellsetMember member = q2.members().item(0);
    EXPECT_EQ(member.caption(), QStringLiteral("Q2"));
    EXPECT_EQ(member.name(), QStringLiteral("Q2"));
    EXPECT_EQ(member.uniqueName(), QStringLiteral("[Time].[1997].[Q2]"));
    EXPECT_EQ(member.levelDepth(), 1);
    EXPECT_EQ(member.levelUniqueName(), QStringLiteral("[Time].[Quarter]"));
    EXPECT_EQ(axes.item(1).positions().item(3).members().item(0).caption(),
              QStringLiteral("Non-Consumable"));

    const PositionMembers slicer = cellset.filterAxis().positions().item(0).members();
    ASSERT_EQ(slicer.count(), 2);
    EXPECT_EQ(slicer.item(1).uniqueName(), QStringLiteral("[Measures].[Sales]"));

    // Cells by ordinal (axis 0 fastest) and by (column, row).
    EXPECT_EQ(cellset.cellCount(), 20);
    const Cell food = cellset.item(1, 2);
    EXPECT_EQ(food.ordinal(), 11);
    EXPECT_EQ(food.value().toDouble(), 230.0);
    EXPECT_EQ(food.formattedValue(), QStringLiteral("230.00"));
    EXPECT_EQ(cellset.item(11).value(), food.value());
    const Cell empty = cellset.item(1, 3); // Non-Consumable had no sale in Q1
    EXPECT_FALSE(empty.value().isValid());
    EXPECT_EQ(empty.formattedValue(), QString());

    // A statement without CELL PROPERTIES: VALUE, FORMATTED_VALUE and FORMAT_STRING only, so
    // no colour or font: generated statements carry no server formatting.
    const CellProperties properties = food.properties();
    ASSERT_EQ(properties.count(), 3);
    EXPECT_EQ(properties.item(0).name(), QStringLiteral("VALUE"));
    EXPECT_EQ(properties.item(QStringLiteral("formatted_value")).value().toString(),
              QStringLiteral("230.00"));
    EXPECT_EQ(properties.item(QStringLiteral("FORMAT_STRING")).value().toString(),
              QStringLiteral("#,##0.00"));
    for (const char *name : {"FORE_COLOR", "BACK_COLOR", "FONT_NAME", "FONT_SIZE", "FONT_FLAGS"}) {
        EXPECT_FALSE(properties.contains(QString::fromLatin1(name))) << name;
        EXPECT_THAT(errorOf([&] { properties.item(QString::fromLatin1(name)); }),
                    HasSubstr("The cell has no property"));
    }

    // Handles keep the result alive after the cell set closes.
    cellset.close();
    EXPECT_EQ(cellset.state(), Cellset::StateClosed);
    EXPECT_EQ(food.formattedValue(), QStringLiteral("230.00"));
    EXPECT_EQ(member.uniqueName(), QStringLiteral("[Time].[1997].[Q2]"));
    EXPECT_EQ(errorOf([&] { cellset.axes(); }), "The cell set is not open");
    cellset.close();
}

TEST_F(CellsetTest, AskedForPropertiesOnly)
{
    Cellset cellset;
    cellset.open(
        QStringLiteral("WITH MEMBER [Measures].[Flag] AS '[Measures].[Sales]', FORE_COLOR = 255, "
                       "FONT_FLAGS = 3 SELECT {[Measures].[Flag], [Measures].[Cost]} ON 0 FROM "
                       "[Sales] CELL PROPERTIES VALUE, FORE_COLOR, FONT_FLAGS, FONT_NAME"),
        connection);
    EXPECT_EQ(cellset.activeConnection(), connection);
    const CellProperties flag = cellset.item(0).properties();
    ASSERT_EQ(flag.count(), 4);
    EXPECT_EQ(flag.item(QStringLiteral("FORE_COLOR")).value().toInt(), 255);
    EXPECT_EQ(flag.item(QStringLiteral("FONT_FLAGS")).value().toInt(), 3);
    EXPECT_FALSE(flag.item(QStringLiteral("FONT_NAME")).value().isValid());
    EXPECT_FALSE(flag.contains(QStringLiteral("FORMATTED_VALUE")));
    const CellProperties cost = cellset.item(1).properties();
    EXPECT_TRUE(cost.contains(QStringLiteral("FORE_COLOR")));
    EXPECT_FALSE(cost.item(QStringLiteral("FORE_COLOR")).value().isValid());
    EXPECT_EQ(cost.item(QStringLiteral("VALUE")).value().toDouble(), 561.0);
}

TEST_F(CellsetTest, StateErrors)
{
    Cellset cellset;
    EXPECT_EQ(errorOf([&] { cellset.activeConnection(); }),
              "The cell set has no active connection");
    EXPECT_EQ(errorOf([&] { cellset.open(QString::fromUtf8(firstView)); }),
              "The cell set has no active connection");

    // A failed statement leaves the cell set closed, ready for the next.
    EXPECT_THAT(errorOf([&] {
                    cellset.open(QStringLiteral("SELECT {[Product].[Candy]} ON 0 FROM [Sales]"),
                                 connection);
                }),
                HasSubstr("MDX object '[Product].[Candy]' not found"));
    EXPECT_EQ(cellset.state(), Cellset::StateClosed);
    cellset.open(QString::fromUtf8(firstView));
    EXPECT_EQ(errorOf([&] { cellset.open(QString::fromUtf8(firstView)); }),
              "The cell set is already open; close it first");

    EXPECT_THAT(errorOf([&] { cellset.item(20); }), HasSubstr("Cell 20 does not exist"));
    EXPECT_EQ(errorOf([&] { cellset.item(5, 0); }),
              "Cell (5, 0) does not exist: the axes have 5 x 4 position(s)");
    const int three[] = {0, 0, 0};
    EXPECT_THAT(errorOf([&] { cellset.item(std::span<const int>(three)); }),
                HasSubstr("a cell needs as many indexes, not 3"));
    EXPECT_THAT(errorOf([&] { cellset.axes().item(2); }), HasSubstr("Axis 2 does not exist"));
    EXPECT_THAT(errorOf([&] { cellset.axes().item(0).positions().item(0).members().item(1); }),
                HasSubstr("Member 1 does not exist"));

    cellset.close();
    connection.close();
    EXPECT_EQ(errorOf([&] { cellset.open(QString::fromUtf8(firstView)); }),
              "The connection is not open");
}

// The tool is built next to pelmora-cube.
QString mdxTool()
{
    QString path = QStringLiteral(PELMORA_CUBE_TOOL);
    path.replace(QStringLiteral("pelmora-cube"), QStringLiteral("pelmora-mdx"));
    return path;
}

struct ToolRun
{
    int exitCode = -1;
    QString out;
    QString err;
};

ToolRun runTool(const QStringList &args, const QByteArray &input = QByteArray())
{
    QProcess process;
    process.start(mdxTool(), args);
    if (process.waitForStarted()) {
        process.write(input);
        process.closeWriteChannel();
    }
    ToolRun run;
    if (!process.waitForFinished(60000))
        return run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    run.out = QString::fromUtf8(process.readAllStandardOutput());
    run.err = QString::fromUtf8(process.readAllStandardError());
    return run;
}

TEST_F(CellsetTest, ToolPrintsTablesAndJson)
{
    if (!QFileInfo::exists(mdxTool()))
        GTEST_SKIP() << "pelmora-mdx is not built: " << mdxTool().toStdString();
    const QString statement =
        QStringLiteral("SELECT {[Measures].[Sales], [Measures].[Units]} ON 0, {[Product].[Food], "
                       "[Product].[Non-Consumable]} ON 1 FROM [Sales] WHERE [Time].[1997].[Q1]");
    const ToolRun json = runTool({QStringLiteral("--json"), path, statement});
    ASSERT_EQ(json.exitCode, 0) << json.err.toStdString();
    EXPECT_EQ(json.out.toStdString(),
              "{\"axes\": [[[\"[Measures].[Sales]\"], [\"[Measures].[Units]\"]], "
              "[[\"[Product].[Food]\"], [\"[Product].[Non-Consumable]\"]]], \"cells\": ["
              "{\"ordinal\": 0, \"value\": 230, \"formatted\": \"230.00\"}, "
              "{\"ordinal\": 1, \"value\": 4, \"formatted\": \"4\"}, "
              "{\"ordinal\": 2, \"value\": null, \"formatted\": \"\"}, "
              "{\"ordinal\": 3, \"value\": null, \"formatted\": \"\"}]}\n");

    const ToolRun table = runTool({QStringLiteral("--time"), path, statement});
    ASSERT_EQ(table.exitCode, 0) << table.err.toStdString();
    // clang-format off
    EXPECT_THAT(table.out.toStdString(),
                HasSubstr("slicer: Q1\n"
                          "                 Sales  Units\n"
                          "Food            230.00      4\n"
                          "Non-Consumable\n"));
    // clang-format on
    EXPECT_THAT(table.out.toStdString(), HasSubstr("elapsed: "));

    const ToolRun failed = runTool({QStringLiteral("--json"), path,
                                    QStringLiteral("SELECT {[Nope]} ON 0 FROM "
                                                   "[Sales]")});
    EXPECT_EQ(failed.exitCode, 1);
    EXPECT_EQ(failed.out.toStdString(),
              "{\"error\": \"MDX object '[Nope]' not found in cube 'Sales' (line 1, column "
              "9)\"}\n");
    const ToolRun plain = runTool({path, QStringLiteral("SELECT FROM [Sales] WHERE")});
    EXPECT_EQ(plain.exitCode, 1);
    EXPECT_THAT(plain.err.toStdString(), HasSubstr("pelmora-mdx: "));
    EXPECT_THAT(plain.err.toStdString(), HasSubstr("line 1, column 26"));
    EXPECT_EQ(plain.out.toStdString(), "");
}

TEST_F(CellsetTest, ToolReadsTheStatementFromStandardInputForADash)
{
    if (!QFileInfo::exists(mdxTool()))
        GTEST_SKIP() << "pelmora-mdx is not built: " << mdxTool().toStdString();
    // Longer than the system's 128 KiB limit of one argument.
    const QByteArray statement = "SELECT {[Measures].[Units]} ON 0 FROM [Sales] /*"
                                 + QByteArray(200 * 1024, 'x') + "*/ WHERE [Time].[1997].[Q1]";
    const ToolRun run = runTool({QStringLiteral("--json"), path, QStringLiteral("-")}, statement);
    ASSERT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out.toStdString(), "{\"axes\": [[[\"[Measures].[Units]\"]]], \"cells\": ["
                                     "{\"ordinal\": 0, \"value\": 7, \"formatted\": \"7\"}]}\n");

    const ToolRun empty = runTool({path, QStringLiteral("-")}, " \n");
    EXPECT_EQ(empty.exitCode, 2);
    EXPECT_THAT(empty.err.toStdString(),
                HasSubstr("pelmora-mdx: standard input holds no statement"));
}

} // namespace
