// The connection string, the choice of provider by source, the connection's states and the
// catalogs rowset.

#include "platform/olap/Connection.h"
#include "platform/olap/ConnectionString.h"
#include "platform/olap/Provider.h"
#include "platform/runtime/Error.h"
#include "tests/platform/olap/CubeFixtures.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

using namespace platform::olap;
using ::testing::HasSubstr;
using testing_support::buildFixtureCube;
using testing_support::connectionStringFor;

namespace {

TEST(ConnectionString, KeysWithoutRegardToCaseAndBlanks)
{
    const struct
    {
        const char *text;
        const char *dataSource; // nullptr: an error containing `error`
        const char *error;
    } cases[] = {
        {"Data source=/cubes/a.cub;Provider=MSOLAP", "/cubes/a.cub", nullptr},
        {"  data SOURCE = /cubes/a.cub ; provider = msolap ", "/cubes/a.cub", nullptr},
        {"DataSource=/cubes/a.cub;Provider=MSOLAP.3;", "/cubes/a.cub", nullptr},
        {"Provider=MSOLAP;Data Source=\"/cubes/a;b.cub\"", "/cubes/a;b.cub", nullptr},
        {"Data Source='it''s.cub';Provider=MSOLAP", "it's.cub", nullptr},
        {"Data source=olap-host:8080;Location=x;Provider=MSOLAP", "olap-host:8080", nullptr},
        {"Data source=/cubes/a.cub", nullptr, "names no provider"},
        {"Provider=MSOLAP", nullptr, "names no data source"},
        {"Data source=;Provider=MSOLAP", nullptr, "names no data source"},
        {"Data source=/cubes/a.cub;Provider=SQLOLEDB", nullptr, "Unknown provider \"SQLOLEDB\""},
        {"Data source=\"/cubes/a.cub;Provider=MSOLAP", nullptr, "unclosed quote"},
        {"Data source=/cubes/a.cub;junk;Provider=MSOLAP", nullptr, "without \"=\": \"junk\""},
        {"", nullptr, "names no data source"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        if (c.dataSource) {
            EXPECT_EQ(ConnectionString::parse(c.text).dataSource, c.dataSource);
        } else {
            EXPECT_THAT([&] { ConnectionString::parse(c.text); },
                        ::testing::ThrowsMessage<platform::Error>(HasSubstr(c.error)));
        }
    }
}

TEST(SourceKind, ChosenByTheSourceText)
{
    QTemporaryDir dir;
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    QFile plain(QStringLiteral("cubefile"));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    const struct
    {
        const char *source;
        SourceKind kind;
    } cases[] = {
        {"http://olap/xmla", SourceKind::Server},
        {"HTTPS://olap/xmla", SourceKind::Server},
        {"/cubes/sales.cub", SourceKind::CubeFile},
        {"sales.CUB", SourceKind::CubeFile},
        {"cubes/sales", SourceKind::CubeFile},
        {"cubefile", SourceKind::CubeFile}, // an existing file
        {"olap-host", SourceKind::Server},
        {"olap-host:8080", SourceKind::Server},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.source);
        EXPECT_EQ(sourceKind(c.source), c.kind);
    }
    QDir::setCurrent(previous);
}

TEST(Connection, OpenErrorsNameTheirCause)
{
    QTemporaryDir dir;
    const QString missing = dir.filePath("missing.cub");
    const struct
    {
        QString source;
        const char *error;
    } cases[] = {
        {missing, "File not found: "},
        {dir.filePath("sub/missing"), "File not found: "},
        {"http://localhost:1/xmla", "Could not reach the XMLA server"},
        {"olap-host", "Could not reach the XMLA server"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.source.toStdString());
        Connection connection;
        EXPECT_THAT([&] { connection.open(connectionStringFor(c.source)); },
                    ::testing::ThrowsMessage<platform::Error>(HasSubstr(c.error)));
        EXPECT_EQ(connection.state(), Connection::StateClosed);
    }
    EXPECT_FALSE(QFileInfo::exists(missing)); // never created
}

TEST(Connection, StatesAndTheCatalogsRowset)
{
    QTemporaryDir dir;
    const QString path = buildFixtureCube(dir.path());
    Connection connection;
    EXPECT_EQ(connection.state(), 0);
    EXPECT_THAT([&] { connection.openSchema(Connection::SchemaCatalogs); },
                ::testing::ThrowsMessage<platform::Error>(HasSubstr("not open")));

    connection.open(connectionStringFor(path), "", "", -1);
    EXPECT_EQ(connection.state(), 1);
    EXPECT_EQ(connection.connectionString(), connectionStringFor(path));
    EXPECT_THAT([&] { connection.open(connectionStringFor(path)); },
                ::testing::ThrowsMessage<platform::Error>(HasSubstr("already open")));

    Recordset catalogs = connection.openSchema(1);
    ASSERT_FALSE(catalogs.eof());
    EXPECT_EQ(catalogs.fields("CATALOG_NAME").value().toString(), "Shop");
    EXPECT_EQ(catalogs.fields("catalog_name").value().toString(), "Shop");
    EXPECT_THAT([&] { catalogs.fields("CUBE_NAME"); },
                ::testing::ThrowsMessage<platform::Error>(HasSubstr("no field \"CUBE_NAME\"")));
    catalogs.moveNext();
    EXPECT_TRUE(catalogs.eof());
    EXPECT_THROW(catalogs.fields("CATALOG_NAME"), platform::Error);
    EXPECT_THROW(catalogs.moveNext(), platform::Error);
    EXPECT_THAT([&] { connection.openSchema(2); },
                ::testing::ThrowsMessage<platform::Error>(HasSubstr("not supported")));

    // Copies are the same connection.
    Connection copy = connection;
    copy.close();
    EXPECT_EQ(connection.state(), 0);
    connection.close(); // closing a closed connection does nothing
    connection.open(connectionStringFor(path));
    EXPECT_EQ(copy.state(), 1);
}

} // namespace
