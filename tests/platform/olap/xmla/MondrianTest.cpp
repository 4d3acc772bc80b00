// The XMLA client against a real server: the Mondrian server of the XmlaServer fixture, serving
// the sample cube on loopback.
#include "QtPrinters.h"
#include "SampleServer.h"

#include "platform/olap/xmla/XmlaClient.h"

#include <gtest/gtest.h>

#include <memory>

using namespace platform::olap::xmla;
using namespace xmlatest;

namespace {

const QString catalogName = QStringLiteral("Pelmora Sample");

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
    void SetUp() override
    {
        QString error;
        const QString url = sampleServerUrl(&error);
        if (url.isEmpty())
            FAIL() << error.toStdString();
        client = std::make_unique<XmlaClient>(QUrl(url));
    }

    Restrictions inCube(Restrictions restrictions = {}) const
    {
        restrictions.insert(QStringLiteral("CATALOG_NAME"), catalogName);
        restrictions.insert(QStringLiteral("CUBE_NAME"), QStringLiteral("Sales"));
        return restrictions;
    }

    const Properties catalog{{QStringLiteral("Catalog"), catalogName}};
    std::unique_ptr<XmlaClient> client;
};

TEST_F(MondrianXmla, BrowsesTheCatalog)
{
    const Rowset catalogs = client->discover(DbSchemaCatalogs);
    EXPECT_TRUE(client->dataSourceInfo().startsWith(u"Provider=mondrian"))
        << client->dataSourceInfo().toStdString();
    EXPECT_EQ(column(catalogs, u"CATALOG_NAME"), QStringList({catalogName}));
    EXPECT_EQ(chooseCatalog(catalogs, QStringLiteral("pelmora SAMPLE")), catalogName);
    EXPECT_EQ(chooseCatalog(catalogs, QStringLiteral("Elsewhere")), catalogName);

    const Rowset cubes =
        client->discover(MdSchemaCubes, {{QStringLiteral("CATALOG_NAME"), catalogName}}, catalog);
    EXPECT_EQ(column(cubes, u"CUBE_NAME"), QStringList({"Sales"}));

    const Rowset dimensions = client->discover(MdSchemaDimensions, inCube(), catalog);
    EXPECT_EQ(
        column(dimensions, u"DIMENSION_UNIQUE_NAME"),
        QStringList({"[Measures]", "[Time]", "[Product]", "[Store]", "[Customer]", "[Promotion]"}));
    EXPECT_EQ(column(dimensions, u"DIMENSION_TYPE"), QStringList({"2", "1", "3", "3", "3", "3"}));

    const Rowset hierarchies = client->discover(
        MdSchemaHierarchies, inCube({{"DIMENSION_UNIQUE_NAME", "[Product]"}}), catalog);
    EXPECT_EQ(column(hierarchies, u"HIERARCHY_UNIQUE_NAME"), QStringList({"[Product]"}));

    const Rowset levels =
        client->discover(MdSchemaLevels, inCube({{"HIERARCHY_UNIQUE_NAME", "[Product]"}}), catalog);
    EXPECT_EQ(column(levels, u"LEVEL_UNIQUE_NAME"),
              QStringList({"[Product].[(All)]", "[Product].[Family]", "[Product].[Department]",
                           "[Product].[Category]", "[Product].[Product]"}));
    EXPECT_EQ(column(levels, u"LEVEL_NUMBER"), QStringList({"0", "1", "2", "3", "4"}));

    const Rowset measures = client->discover(MdSchemaMeasures, inCube(), catalog);
    QStringList names = column(measures, u"MEASURE_UNIQUE_NAME");
    names.sort();
    EXPECT_EQ(names, QStringList({"[Measures].[Profit]", "[Measures].[Sales Count]",
                                  "[Measures].[Store Cost]", "[Measures].[Store Sales]",
                                  "[Measures].[Unit Sales]"}));
}

TEST_F(MondrianXmla, FetchesMembersByLevelNameAndParent)
{
    const Rowset families = client->discover(
        MdSchemaMembers, inCube({{"LEVEL_UNIQUE_NAME", "[Product].[Family]"}}), catalog);
    EXPECT_EQ(column(families, u"MEMBER_UNIQUE_NAME"),
              QStringList({"[Product].[Drink]", "[Product].[Food]", "[Product].[Non-Consumable]"}));

    const Rowset dairy = client->discover(
        MdSchemaMembers, inCube({{"MEMBER_UNIQUE_NAME", "[Product].[Drink].[Dairy]"}}), catalog);
    EXPECT_EQ(column(dairy, u"MEMBER_CAPTION"), QStringList({"Dairy"}));
    EXPECT_EQ(column(dairy, u"PARENT_UNIQUE_NAME"), QStringList({"[Product].[Drink]"}));
    EXPECT_EQ(column(dairy, u"LEVEL_NUMBER"), QStringList({"2"}));

    const Rowset children = client->discover(MdSchemaMembers,
                                             inCube({{"MEMBER_UNIQUE_NAME", "[Product].[Drink]"},
                                                     {"TREE_OP", QString::number(TreeOpChildren)}}),
                                             catalog);
    EXPECT_EQ(column(children, u"MEMBER_NAME"), QStringList({"Beverages", "Dairy", "Spirits"}));
}

// The Time dimension has no All member: its default member, 2021, is the slicer.
TEST_F(MondrianXmla, ExecutesStatements)
{
    CellSetData cells = client->execute(
        QStringLiteral("SELECT {[Measures].[Unit Sales]} ON COLUMNS, [Product].[Family].Members "
                       "ON ROWS FROM [Sales]"),
        catalogName);
    ASSERT_EQ(cells.axes().size(), 2u);
    const Axis &rows = cells.axes()[1];
    EXPECT_EQ(rows.hierarchies, QStringList({"Product"}));
    ASSERT_EQ(rows.tupleCount, 3);
    EXPECT_EQ(rows.member(1, 0).uniqueName, u"[Product].[Food]");
    EXPECT_EQ(rows.member(1, 0).levelUniqueName, u"[Product].[Family]");
    EXPECT_EQ(rows.member(1, 0).levelNumber, 1);
    EXPECT_EQ(cells.slicer().tupleCount, 1);
    EXPECT_EQ(cells.cellCount(), 3);
    const double expected[] = {4043, 15434, 2601};
    const char *const formatted[] = {"4,043", "15,434", "2,601"};
    for (int row = 0; row < 3; ++row) {
        const qint64 ordinal = cells.ordinal({0, row});
        EXPECT_EQ(cells.valueKind(ordinal), CellValueKind::Double);
        EXPECT_EQ(cells.value(ordinal).toDouble(), expected[row]);
        EXPECT_EQ(cells.formattedValue(ordinal), QString::fromUtf8(formatted[row]));
        EXPECT_EQ(cells.property(ordinal, cells.cellPropertyIndex(u"FORMAT_STRING")).toString(),
                  u"#,##0");
    }

    // Formatting by the server, a string holding "]]>" carried through the request as text,
    // a cell the server leaves out, and exactly the properties the statement asks for.
    cells = client->execute(
        QStringLiteral("WITH MEMBER [Measures].[Big] AS '[Measures].[Unit Sales] * 1000', "
                       "FORMAT_STRING = '#,##0' "
                       "MEMBER [Measures].[Text] AS '\"a]]>b <&>\"' "
                       "MEMBER [Measures].[Gap] AS 'IIf([Product].CurrentMember.Name = "
                       "\"Food\", NULL, 1)' "
                       "SELECT {[Measures].[Big], [Measures].[Text], [Measures].[Gap]} ON 0, "
                       "[Product].[Family].Members ON 1 FROM [Sales] "
                       "CELL PROPERTIES VALUE, FORMATTED_VALUE"),
        catalogName);
    EXPECT_EQ(cells.cellProperties(), QStringList({"VALUE", "FORMATTED_VALUE"}));
    ASSERT_EQ(cells.cellCount(), 9);
    EXPECT_EQ(cells.value(cells.ordinal({0, 0})).toDouble(), 4043000);
    EXPECT_EQ(cells.formattedValue(cells.ordinal({0, 0})), u"4,043,000");
    EXPECT_EQ(cells.value(cells.ordinal({1, 2})).toString(), u"a]]>b <&>");
    EXPECT_EQ(cells.valueType(cells.ordinal({1, 2})), u"xsd:string");
    EXPECT_FALSE(cells.value(cells.ordinal({2, 1})).isValid());
    EXPECT_EQ(cells.formattedValue(cells.ordinal({2, 1})), u"");
    EXPECT_EQ(cells.value(cells.ordinal({2, 2})).toDouble(), 1);
}

TEST_F(MondrianXmla, ReportsFaults)
{
    try {
        client->execute(QStringLiteral("SELECT {[Product].[Nope]} ON 0 FROM [Sales]"), catalogName);
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
        EXPECT_TRUE(error.description().contains(u"Nowhere")) << error.description().toStdString();
    }
}

} // namespace
