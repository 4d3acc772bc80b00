// pelmora-cube as a user runs it: each command's output and exit status, and that a failed
// build leaves neither a new file nor a changed old one.

#include "tests/platform/olap/CubeFixtures.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

using namespace testing_support;
using ::testing::HasSubstr;
using ::testing::Not;

namespace {

struct ToolRun
{
    int exitCode = -1;
    std::string out;
    std::string err;
};

ToolRun runTool(const QStringList &args)
{
    QProcess process;
    process.start(QStringLiteral(PELMORA_CUBE_TOOL), args);
    ToolRun run;
    if (!process.waitForFinished(120000))
        return run;
    run.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    run.out = process.readAllStandardOutput().toStdString();
    run.err = process.readAllStandardError().toStdString();
    return run;
}

QString text(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

TEST(PelmoraCubeTool, BuildCheckAndSchema)
{
    QTemporaryDir dir;
    const QString out = dir.filePath("shop.cub");
    ToolRun build = runTool(
        {"build", "--schema", fixturePath("shop.xml"), "--sql", fixturePath("shop.sql"), out});
    ASSERT_EQ(build.exitCode, 0) << build.err;
    EXPECT_THAT(build.out, HasSubstr("wrote " + out.toStdString()));

    const ToolRun check = runTool({"check", out});
    ASSERT_EQ(check.exitCode, 0) << check.err;
    // clang-format off
    for (const char *line : {"catalog Shop\n", "cube Sales\n", "  dimension [Time] (time)\n",
                             "    hierarchy [Store.Type]\n",
                             "      level [Product].[Product]: 5 member(s)\n",
                             "      level [Time].[Month]: 5 member(s)\n",
                             "  measure [Measures].[Lines]: count of amount\n",
                             "  calculated member [Measures].[Average Price] = ",
                             "  facts: 7\n  facts left out (a foreign key matching no dimension "
                             "row): 0\n",
                             "cube Returns\n", "  facts: 2\n  facts left out (a foreign key "
                                               "matching no dimension row): 2\n",
                             "  facts read from: the column image\n"}) {
        // clang-format on
        EXPECT_THAT(check.out, HasSubstr(line));
    }
    EXPECT_THAT(check.out, Not(HasSubstr("passed over")));

    // An image left aside is named with the reason, once for each cube it concerns.
    execSql(out, QStringLiteral("UPDATE sales SET qty = qty + 1 WHERE rowid = 1"));
    const ToolRun changed = runTool({"check", out});
    ASSERT_EQ(changed.exitCode, 0) << changed.err;
    EXPECT_THAT(changed.out, HasSubstr("cube Sales\n"));
    EXPECT_THAT(changed.out, HasSubstr("  facts read from: the fact table's rows\n"
                                       "  column image passed over: fact table sales changed "
                                       "since the image was made\n"));
    EXPECT_THAT(changed.out, HasSubstr("  facts read from: the column image\n")); // Returns

    const ToolRun schema = runTool({"schema", out});
    ASSERT_EQ(schema.exitCode, 0) << schema.err;
    EXPECT_EQ(QString::fromStdString(schema.out), text(fixturePath("shop.xml")));
}

TEST(PelmoraCubeTool, BuildFromAnExistingDatabaseLeavesItUnchanged)
{
    QTemporaryDir dir;
    const QString source = dir.filePath("data.sqlite");
    execSql(source, text(fixturePath("shop.sql")));
    const FileState before = fileState(source);
    const QString out = dir.filePath("from.cub");
    const ToolRun build =
        runTool({"build", "--schema", fixturePath("shop.xml"), "--from", source, out});
    ASSERT_EQ(build.exitCode, 0) << build.err;
    EXPECT_THAT(build.out, HasSubstr("facts: 7\n"));
    EXPECT_TRUE(fileState(source) == before);
    EXPECT_EQ(runTool({"check", out}).exitCode, 0);
}

TEST(PelmoraCubeTool, FailuresExitNonZeroAndWriteNothing)
{
    QTemporaryDir dir;
    const QString badSql = dir.filePath("bad.sql");
    QFile sql(badSql);
    ASSERT_TRUE(sql.open(QIODevice::WriteOnly));
    sql.write("CREATE TABLE t (a);\n\nINSERT INTO t VALUES (1);\n"
              "INSERT INTO nowhere VALUES (2);\n");
    sql.close();
    const QString badSchema = dir.filePath("bad.xml");
    QFile xml(badSchema);
    ASSERT_TRUE(xml.open(QIODevice::WriteOnly));
    xml.write(text(fixturePath("shop.xml")).replace("column=\"qty\"", "column=\"nope\"").toUtf8());
    xml.close();

    // An existing output stays as it was when a build fails.
    const QString existing = dir.filePath("existing.cub");
    ASSERT_EQ(runTool({"sample", "--facts", "10", existing}).exitCode, 0);
    const FileState existingState = fileState(existing);

    const struct
    {
        QStringList args;
        int exitCode;
        const char *error;
    } cases[] = {
        {{"build", "--schema", fixturePath("shop.xml"), "--sql", badSql, existing},
         1,
         "bad.sql line 4: no such table: nowhere"},
        {{"build", "--schema", badSchema, "--sql", fixturePath("shop.sql"), existing},
         1,
         "has no column \"nope\""},
        {{"build", "--schema", dir.filePath("none.xml"), "--sql", fixturePath("shop.sql"),
          dir.filePath("x.cub")},
         1,
         "File not found: "},
        {{"build", "--schema", fixturePath("shop.xml"), "--from", badSql, dir.filePath("y.cub")},
         1,
         "not an SQLite database"},
        {{"check", dir.filePath("none.cub")}, 1, "File not found: "},
        {{"schema", badSql}, 1, "is not a cube file: it is not an SQLite database"},
        {{"check"}, 2, "check needs one file"},
        {{"build", "--sql", badSql, dir.filePath("z.cub")}, 2, "build needs --schema"},
        {{"sample", "--facts", "many", dir.filePath("z.cub")}, 2, "--facts needs a number"},
        {{"explode"}, 2, "unknown command \"explode\""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.args.join(' ').toStdString());
        const ToolRun run = runTool(c.args);
        EXPECT_EQ(run.exitCode, c.exitCode);
        EXPECT_THAT(run.err, HasSubstr(c.error));
    }
    EXPECT_TRUE(fileState(existing) == existingState);
    // Only the inputs and the one good cube are left: no outputs, no temporary files.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList({"bad.sql", "bad.xml", "existing.cub"}));
}

TEST(PelmoraCubeTool, SampleWritesTheFactsAskedFor)
{
    QTemporaryDir dir;
    const QString out = dir.filePath("sample.cub");
    const ToolRun run = runTool({"sample", "--facts", "2500", "--seed", "42", out});
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_THAT(run.out, HasSubstr("catalog Pelmora Sample\ncube Sales\n"));
    EXPECT_THAT(run.out, HasSubstr("  facts: 2500\n"));
    EXPECT_THAT(run.out, HasSubstr("      level [Customer].[Customer]: 10000 member(s)\n"));
    EXPECT_THAT(run.out, HasSubstr("calculated member [Measures].[Profit] = [Measures].[Store "
                                   "Sales] - [Measures].[Store Cost]"));
}

} // namespace
