// The XMLA client against a real server: Mondrian serving a small cube file on loopback.
#include "MondrianServer.h"

#include "platform/olap/xmla/XmlaClient.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <sqlite3.h>

#include <memory>

using namespace platform::olap::xmla;
using namespace xmlatest;

namespace {

const char *const cubeSql = R"(
CREATE TABLE product(id INTEGER PRIMARY KEY, family TEXT, name TEXT);
INSERT INTO product VALUES (1, 'Drink', 'Beer'), (2, 'Drink', 'Wine'), (3, 'Food', 'Bread');
CREATE TABLE sales(product_id INTEGER, units REAL);
INSERT INTO sales VALUES (1, 10), (2, 5), (3, 7), (1, 2);
CREATE TABLE pelmora_meta(key TEXT PRIMARY KEY, value TEXT);
INSERT INTO pelmora_meta VALUES ('format_version', '1');
CREATE TABLE pelmora_schema(xml TEXT);
INSERT INTO pelmora_schema VALUES ('<Schema name="T"><Cube name="Sales"><Table name="sales"/>
<Dimension name="Product" foreignKey="product_id"><Hierarchy hasAll="true" primaryKey="id">
<Table name="product"/><Level name="Family" column="family" uniqueMembers="true"/>
<Level name="Product" column="name" uniqueMembers="false"/></Hierarchy></Dimension>
<Measure name="Units" column="units" aggregator="sum" formatString="#,##0"/></Cube></Schema>');
)";

bool writeCube(const QString &path, QString *error)
{
    sqlite3 *db = nullptr;
    if (sqlite3_open(path.toUtf8().constData(), &db) != SQLITE_OK) {
        *error = QString::fromUtf8(sqlite3_errmsg(db));
        sqlite3_close(db);
        return false;
    }
    char *message = nullptr;
    const bool ok = sqlite3_exec(db, cubeSql, nullptr, nullptr, &message) == SQLITE_OK;
    if (!ok)
        *error = QString::fromUtf8(message);
    sqlite3_free(message);
    sqlite3_close(db);
    return ok;
}

QStringList column(const Rowset &rows, QStringView name)
{
    QStringList values;
    for (qsizetype row = 0; row < rows.rowCount(); ++row)
        values << rows.value(row, name);
    return values;
}

class MondrianXmla : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_dir = std::make_unique<QTemporaryDir>();
        s_server = std::make_unique<MondrianServer>();
        const QString cube = s_dir->filePath(QStringLiteral("sample.cub"));
        QString error;
        if (!writeCube(cube, &error))
            s_error = QStringLiteral("cannot write the cube file: ") + error;
        else if (!s_server->start(cube, &error))
            s_error = QStringLiteral("the Mondrian XMLA server did not start: ") + error;
    }

    static void TearDownTestSuite()
    {
        s_server.reset();
        s_dir.reset();
    }

    void SetUp() override
    {
        if (!s_error.isEmpty())
            FAIL() << s_error.toStdString();
        client = std::make_unique<XmlaClient>(s_server->url());
    }

    Restrictions inCube(Restrictions restrictions = {}) const
    {
        restrictions.insert(QStringLiteral("CATALOG_NAME"), QStringLiteral("T"));
        restrictions.insert(QStringLiteral("CUBE_NAME"), QStringLiteral("Sales"));
        return restrictions;
    }

    static inline std::unique_ptr<QTemporaryDir> s_dir;
    static inline std::unique_ptr<MondrianServer> s_server;
    static inline QString s_error;
    std::unique_ptr<XmlaClient> client;
};

TEST_F(MondrianXmla, BrowsesTheCatalog)
{
    const Rowset catalogs = client->discover(DbSchemaCatalogs);
    EXPECT_TRUE(client->dataSourceInfo().startsWith(u"Provider=mondrian"))
        << client->dataSourceInfo().toStdString();
    EXPECT_EQ(column(catalogs, u"CATALOG_NAME"), QStringList({"T"}));
    EXPECT_EQ(chooseCatalog(catalogs, QStringLiteral("t")), u"T");
    EXPECT_EQ(chooseCatalog(catalogs, QStringLiteral("Elsewhere")), u"T");

    const Properties catalog{{QStringLiteral("Catalog"), QStringLiteral("T")}};
    const Rowset cubes =
        client->discover(MdSchemaCubes, {{QStringLiteral("CATALOG_NAME"), "T"}}, catalog);
    EXPECT_EQ(column(cubes, u"CUBE_NAME"), QStringList({"Sales"}));

    const Rowset dimensions = client->discover(MdSchemaDimensions, inCube(), catalog);
    EXPECT_EQ(column(dimensions, u"DIMENSION_UNIQUE_NAME"),
              QStringList({"[Measures]", "[Product]"}));
    EXPECT_EQ(column(dimensions, u"DIMENSION_TYPE"), QStringList({"2", "3"}));

    const Rowset hierarchies = client->discover(
        MdSchemaHierarchies, inCube({{"DIMENSION_UNIQUE_NAME", "[Product]"}}), catalog);
    EXPECT_EQ(column(hierarchies, u"HIERARCHY_UNIQUE_NAME"), QStringList({"[Product]"}));

    const Rowset levels = client->discover(
        MdSchemaLevels, inCube({{"HIERARCHY_UNIQUE_NAME", "[Product]"}}), catalog);
    EXPECT_EQ(column(levels, u"LEVEL_UNIQUE_NAME"),
              QStringList({"[Product].[(All)]", "[Product].[Family]", "[Product].[Product]"}));
    EXPECT_EQ(column(levels, u"LEVEL_NUMBER"), QStringList({"0", "1", "2"}));

    const Rowset measures = client->discover(MdSchemaMeasures, inCube(), catalog);
    EXPECT_EQ(column(measures, u"MEASURE_UNIQUE_NAME"), QStringList({"[Measures].[Units]"}));
}

TEST_F(MondrianXmla, FetchesMembersByLevelNameAndParent)
{
    const Properties catalog{{QStringLiteral("Catalog"), QStringLiteral("T")}};
    const Rowset families = client->discover(
        MdSchemaMembers, inCube({{"LEVEL_UNIQUE_NAME", "[Product].[Family]"}}), catalog);
    EXPECT_EQ(column(families, u"MEMBER_UNIQUE_NAME"),
              QStringList({"[Product].[Drink]", "[Product].[Food]"}));

    const Rowset wine = client->discover(
        MdSchemaMembers, inCube({{"MEMBER_UNIQUE_NAME", "[Product].[Drink].[Wine]"}}), catalog);
    EXPECT_EQ(column(wine, u"MEMBER_CAPTION"), QStringList({"Wine"}));
    EXPECT_EQ(column(wine, u"PARENT_UNIQUE_NAME"), QStringList({"[Product].[Drink]"}));
    EXPECT_EQ(column(wine, u"LEVEL_NUMBER"), QStringList({"2"}));

    const Rowset children = client->discover(
        MdSchemaMembers,
        inCube({{"MEMBER_UNIQUE_NAME", "[Product].[Drink]"},
                {"TREE_OP", QString::number(TreeOpChildren)}}),
        catalog);
    EXPECT_EQ(column(children, u"MEMBER_NAME"), QStringList({"Beer", "Wine"}));
}

TEST_F(MondrianXmla, ExecutesStatements)
{
    CellSetData cells = client->execute(
        QStringLiteral("SELECT {[Measures].[Units]} ON COLUMNS, [Product].[Product].Members ON "
                       "ROWS FROM [Sales]"),
        QStringLiteral("T"));
    ASSERT_EQ(cells.axes().size(), 2u);
    const Axis &rows = cells.axes()[1];
    EXPECT_EQ(rows.hierarchies, QStringList({"Product"}));
    ASSERT_EQ(rows.tupleCount, 3);
    EXPECT_EQ(rows.member(1, 0).uniqueName, u"[Product].[Drink].[Wine]");
    EXPECT_EQ(rows.member(1, 0).levelUniqueName, u"[Product].[Product]");
    EXPECT_EQ(rows.member(1, 0).levelNumber, 2);
    EXPECT_EQ(cells.slicer().tupleCount, 1);
    EXPECT_EQ(cells.cellCount(), 3);
    const double expected[] = {12, 5, 7};
    for (int row = 0; row < 3; ++row) {
        const qint64 ordinal = cells.ordinal({0, row});
        EXPECT_EQ(cells.valueKind(ordinal), CellValueKind::Double);
        EXPECT_EQ(cells.value(ordinal).toDouble(), expected[row]);
        EXPECT_EQ(cells.formattedValue(ordinal), QString::number(expected[row]));
        EXPECT_EQ(cells.property(ordinal, cells.cellPropertyIndex(u"FORMAT_STRING")).toString(),
                  u"#,##0");
    }

    // Formatting by the server, a string holding "]]>" carried through the request as text,
    // a cell the server leaves out, and exactly the properties the statement asks for.
    cells = client->execute(
        QStringLiteral("WITH MEMBER [Measures].[Big] AS '[Measures].[Units] * 1000', "
                       "FORMAT_STRING = '#,##0' "
                       "MEMBER [Measures].[Text] AS '\"a]]>b <&>\"' "
                       "MEMBER [Measures].[Gap] AS 'IIf([Product].CurrentMember.Name = "
                       "\"Wine\", NULL, 1)' "
                       "SELECT {[Measures].[Big], [Measures].[Text], [Measures].[Gap]} ON 0, "
                       "[Product].[Product].Members ON 1 FROM [Sales] "
                       "CELL PROPERTIES VALUE, FORMATTED_VALUE"),
        QStringLiteral("T"));
    EXPECT_EQ(cells.cellProperties(), QStringList({"VALUE", "FORMATTED_VALUE"}));
    ASSERT_EQ(cells.cellCount(), 9);
    EXPECT_EQ(cells.value(cells.ordinal({0, 0})).toDouble(), 12000);
    EXPECT_EQ(cells.formattedValue(cells.ordinal({0, 0})), u"12,000");
    EXPECT_EQ(cells.value(cells.ordinal({1, 2})).toString(), u"a]]>b <&>");
    EXPECT_EQ(cells.valueType(cells.ordinal({1, 2})), u"xsd:string");
    EXPECT_FALSE(cells.value(cells.ordinal({2, 1})).isValid());
    EXPECT_EQ(cells.formattedValue(cells.ordinal({2, 1})), u"");
    EXPECT_EQ(cells.value(cells.ordinal({2, 2})).toDouble(), 1);
}

TEST_F(MondrianXmla, ReportsFaults)
{
    try {
        client->execute(QStringLiteral("SELECT {[Product].[Nope]} ON 0 FROM [Sales]"),
                        QStringLiteral("T"));
        FAIL() << "an unknown member was accepted";
    } catch (const ServerError &error) {
        EXPECT_TRUE(error.description().contains(u"[Product].[Nope]"))
            << error.description().toStdString();
        EXPECT_TRUE(error.description().contains(u"not found"))
            << error.description().toStdString();
    }
    try {
        client->discover(MdSchemaCubes, {}, {{QStringLiteral("DataSourceInfo"), "Nowhere"}});
        FAIL() << "an unknown data source was accepted";
    } catch (const ServerError &error) {
        EXPECT_TRUE(error.description().contains(u"Nowhere"))
            << error.description().toStdString();
    }
}

} // namespace
