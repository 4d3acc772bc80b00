// Every way a cube file can be unusable gives an error a user can act on, and opening the file
// never changes it (nor creates anything beside it).

#include "platform/olap/Cellset.h"
#include "platform/olap/Connection.h"
#include "platform/runtime/Error.h"
#include "tests/platform/olap/CubeFixtures.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <future>

#include <functional>

using namespace platform::olap;
using namespace testing_support;
using ::testing::HasSubstr;

namespace {

QString fixtureXml()
{
    QFile file(fixturePath("shop.xml"));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

void setSchema(const QString &path, const QString &xml)
{
    QString quoted = xml;
    quoted.replace('\'', "''");
    execSql(path, "UPDATE pelmora_schema SET xml = '" + quoted + "'");
}

// A good cube file whose schema text has one replacement made.
std::function<QString(const QString &)> schemaWith(const QString &from, const QString &to)
{
    return [from, to](const QString &dir) {
        const QString path = buildFixtureCube(dir);
        const QString xml = fixtureXml();
        EXPECT_TRUE(xml.contains(from)) << from.toStdString();
        setSchema(path, QString(xml).replace(from, to));
        return path;
    };
}

std::function<QString(const QString &)> dataWith(const QString &sql)
{
    return [sql](const QString &dir) {
        const QString path = buildFixtureCube(dir);
        execSql(path, sql);
        return path;
    };
}

QString writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (file.open(QIODevice::WriteOnly))
        file.write(bytes);
    return path;
}

struct Case
{
    const char *name;
    std::function<QString(const QString &dir)> make; // returns the path to open
    const char *error;
};

const Case cases[] = {
    {"missing", [](const QString &dir) { return QDir(dir).filePath("none.cub"); },
     "File not found: "},
    {"directory",
     [](const QString &dir) {
         QDir(dir).mkdir("folder.cub");
         return QDir(dir).filePath("folder.cub");
     },
     "is a directory, not a cube file"},
    {"text file",
     [](const QString &dir) {
         return writeBytes(
             QDir(dir).filePath("notes.cub"),
             QByteArray("these are not the tables you are looking for\n").repeated(200));
     },
     "is not a cube file: it is not an SQLite database"},
    {"empty file",
     [](const QString &dir) { return writeBytes(QDir(dir).filePath("empty.cub"), {}); },
     "is not a cube file: it has no pelmora_schema table"},
    {"plain database", dataWith("DROP TABLE pelmora_schema; DROP TABLE pelmora_meta"),
     "is not a cube file: it has no pelmora_schema table"},
    {"no meta table", dataWith("DROP TABLE pelmora_meta"), "has no pelmora_meta table"},
    {"no format version", dataWith("DELETE FROM pelmora_meta"), "has no format_version"},
    {"newer format", dataWith("UPDATE pelmora_meta SET value = '2'"),
     "unsupported cube file format_version \"2\" (this program reads version 1)"},
    {"no schema row", dataWith("DELETE FROM pelmora_schema"),
     "the pelmora_schema table has no row"},
    {"two schema rows", dataWith("INSERT INTO pelmora_schema SELECT xml FROM pelmora_schema"),
     "has 2 rows; a cube file holds one schema"},
    {"empty schema", dataWith("UPDATE pelmora_schema SET xml = '  '"),
     "schema in pelmora_schema is empty"},
    {"malformed XML",
     schemaWith("<Level name=\"Code\" column=\"code\"/>", "<Level name=\"Code\" column=\"code\">"),
     "schema XML line 40, column 18: Opening and ending tag mismatch"},
    {"XML cut short", schemaWith("</Schema>", ""),
     "schema XML line 72, column 0: Premature end of document"},
    {"not a schema", schemaWith("<Schema name=\"Shop\">", "<Catalog name=\"Shop\">"),
     "the root element is <Catalog>"},
    {"unknown table", schemaWith("<Table name=\"items\"/>", "<Table name=\"things\"/>"),
     "schema line 38: table \"things\" does not exist in the file"},
    {"unknown level column", schemaWith("column=\"store_type\"", "column=\"kind\""),
     "schema line 33: table \"stores\" has no column \"kind\""},
    {"unknown measure column",
     schemaWith("column=\"qty\" aggregator=\"sum\" formatString",
                "column=\"quantity\" aggregator=\"sum\" formatString"),
     "table \"sales\" has no column \"quantity\""},
    {"unknown foreign key", schemaWith("foreignKey=\"item_id\"", "foreignKey=\"item\""),
     "table \"sales\" has no column \"item\""},
    {"NULL level key", dataWith("UPDATE days SET qtr = NULL WHERE day_id = 3"),
     "level \"Quarter\": column \"qtr\" of table \"days\" is NULL in the row with day_id = 3"},
    {"duplicate primary key",
     [](const QString &dir) {
         const QString path = buildFixtureCube(dir);
         execSql(path, "CREATE TABLE items2 (item_id, code);"
                       "INSERT INTO items2 SELECT * FROM items;"
                       "INSERT INTO items2 VALUES (4, 'Z')");
         setSchema(path,
                   fixtureXml().replace("<Table name=\"items\"/>", "<Table name=\"items2\"/>"));
         return path;
     },
     "the primary key \"item_id\" of table \"items2\" has the value 4 in more than one row"},
    {"empty dimension table", dataWith("DELETE FROM items"),
     "table \"items\" of dimension \"Item\" has no rows"},
    {"text in a measure", dataWith("UPDATE sales SET qty = 'many' WHERE rowid = 2"),
     "column \"qty\" of the fact table \"sales\" holds \"many\"; measures need numbers"},
    {"hierarchy without levels", schemaWith("        <Level name=\"Code\" column=\"code\"/>\n", ""),
     "a hierarchy of dimension \"Item\" has no levels"},
    {"dimension without hierarchy",
     schemaWith("<Dimension name=\"Item\" foreignKey=\"item_id\">",
                "<Dimension name=\"Item\" foreignKey=\"item_id\"/><Unused>"),
     "dimension \"Item\" has no hierarchy and so no levels"},
    // clang-format off
    {"cube without measures", schemaWith("    <Measure name=\"Returned\" column=\"qty\" "
                                         "aggregator=\"sum\"/>\n    <Measure name=\"Return "
                                         "Lines\" column=\"store_id\" aggregator=\"count\"/>\n",
                                         ""),
     // clang-format on
     "cube \"Returns\" has no measure"},
    {"time level without time type",
     schemaWith(" uniqueMembers=\"true\" levelType=\"TimeYears\"", ""),
     "level \"Year\" of the time dimension \"Time\" needs a time levelType"},
    {"time type outside a time dimension",
     schemaWith("<Level name=\"Code\" column=\"code\"/>",
                "<Level name=\"Code\" column=\"code\" levelType=\"TimeDays\"/>"),
     "has a time levelType but dimension \"Item\" is not a TimeDimension"},
    {"unknown aggregator", schemaWith("aggregator=\"max\"", "aggregator=\"median\""),
     "aggregator=\"median\" of <Measure> must be one of sum, count"},
    {"unknown dimension type", schemaWith("type=\"TimeDimension\"", "type=\"Calendar\""),
     "type=\"Calendar\" of <Dimension> must be one of"},
    {"shared dimension",
     schemaWith("<Dimension name=\"Item\" foreignKey=\"item_id\">",
                "<DimensionUsage name=\"Other\" source=\"Other\"/>"
                "<Dimension name=\"Item\" foreignKey=\"item_id\">"),
     "<DimensionUsage> is not supported in cube files"},
    {"two dimensions of one name",
     schemaWith("<Dimension name=\"Item\"", "<Dimension name=\"time\""),
     "cube \"Sales\" has two dimensions named \"time\""},
    {"calculated member on no dimension",
     schemaWith("dimension=\"Measures\"", "dimension=\"Money\""),
     "names the dimension \"Money\", which cube \"Sales\" does not have"},
    {"damaged pages",
     [](const QString &dir) {
         const QString path = buildFixtureCube(dir);
         QFile file(path);
         file.open(QIODevice::ReadWrite);
         const QByteArray bytes = file.readAll();
         file.seek(4096); // everything after the first page
         file.write(QByteArray(bytes.size() - 4096, char(0xA5)));
         return path;
     },
     "the file is damaged"},
    {"truncated",
     [](const QString &dir) {
         const QString path = buildFixtureCube(dir);
         QFile(path).resize(4096 * 3);
         return path;
     },
     "the file is damaged"},
};

TEST(BadCubeFile, GivesItsErrorAndLeavesTheFileUnchanged)
{
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString path = c.make(dir.path());
        const QStringList before = QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden);
        const FileState state = fileState(path);
        Connection connection;
        EXPECT_THAT([&] { connection.open(connectionStringFor(path)); },
                    ::testing::ThrowsMessage<platform::Error>(HasSubstr(c.error)));
        EXPECT_EQ(connection.state(), 0);
        EXPECT_TRUE(fileState(path) == state);
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::Hidden), before);
    }
}

TEST(BadCubeFile, AGoodFileIsNotWrittenEither)
{
    QTemporaryDir dir;
    const QString path = buildFixtureCube(dir.path());
    const FileState state = fileState(path);
    Connection connection;
    connection.open(connectionStringFor(path));
    connection.close();
    EXPECT_TRUE(fileState(path) == state);
}

// A FIFO blocks whoever opens it for reading until a writer comes: the open must refuse it
// without opening it, through the connection and through the tool alike.
TEST(BadCubeFile, RefusesAFifoWithoutWaitingForAWriter)
{
    QTemporaryDir dir;
    const QString fifo = dir.filePath("pipe.cub");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    auto opened = std::async(std::launch::async, [&] {
        Connection connection;
        try {
            connection.open(connectionStringFor(fifo));
        } catch (const platform::Error &error) {
            return error.description().toStdString();
        }
        return std::string("(no error)");
    });
    if (opened.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
        // Let the blocked open through so that the test ends, failed.
        const int fd = ::open(QFile::encodeName(fifo).constData(), O_RDWR | O_NONBLOCK);
        ADD_FAILURE() << "opening a FIFO blocked";
        opened.wait();
        ::close(fd);
        return;
    }
    EXPECT_EQ(opened.get(), fifo.toStdString() + " is a FIFO (named pipe), not a cube file");

    QProcess tool;
    tool.start(QStringLiteral(PELMORA_CUBE_TOOL), {QStringLiteral("check"), fifo});
    if (!tool.waitForFinished(20000)) {
        tool.kill();
        tool.waitForFinished();
        FAIL() << "pelmora-cube check blocked on a FIFO";
    }
    EXPECT_EQ(tool.exitCode(), 1);
    EXPECT_THAT(tool.readAllStandardError().toStdString(), HasSubstr("is a FIFO (named pipe)"));
}

} // namespace

// The engine holds what it loaded: a cube file removed while its connection is open goes on
// answering, and opening it again says the file is gone.
TEST(BadCubeFile, RemovedWhileOpenGoesOnAnsweringAndReopeningSaysNotFound)
{
    QTemporaryDir dir;
    const QString path = buildFixtureCube(dir.path());
    Connection connection;
    connection.open(connectionStringFor(path));
    const QString statement = QStringLiteral(
        "SELECT {[Measures].[Quantity]} ON 0, [Store].[Country].Members ON 1 FROM [Sales]");
    Cellset before;
    before.open(statement, connection);
    ASSERT_TRUE(QFile::remove(path));

    Cellset after;
    after.open(statement, connection);
    ASSERT_EQ(after.cellCount(), before.cellCount());
    for (qint64 i = 0; i < after.cellCount(); ++i)
        EXPECT_EQ(after.item(i).formattedValue(), before.item(i).formattedValue());
    connection.close();

    Connection again;
    EXPECT_THAT([&] { again.open(connectionStringFor(path)); },
                ::testing::ThrowsMessage<platform::Error>(
                    HasSubstr("File not found: " + path.toStdString())));
}
