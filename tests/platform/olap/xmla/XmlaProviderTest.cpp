// The object model over a loopback server answering a small canned catalog: how the schema
// rowsets become catalogs, cubes, dimensions, hierarchies and levels, which requests members
// cost and when they are cached, catalog binding, and the cache's life with the connection.
#include "FakeXmlaServer.h"
#include "QtPrinters.h"

#include "platform/olap/Catalog.h"
#include "platform/olap/Cellset.h"
#include "platform/olap/Connection.h"
#include "platform/olap/xmla/XmlaProvider.h"
#include "platform/runtime/Error.h"

#include <gtest/gtest.h>

#include <QTcpServer>

using namespace platform::olap;
using namespace xmlatest;

namespace {

QString description(const std::function<void()> &call)
{
    try {
        call();
    } catch (const platform::Error &error) {
        return error.description();
    }
    return QStringLiteral("(no error)");
}

struct FakeMember
{
    QString uniqueName;
    QString name;
    QString hierarchy;
    QString level;
    int levelNumber;
    QString parent; // null for a top member
    int cardinality;
};

// Product has an All level, families and products; Food's count is reported as 0 and Drink's
// as an estimate of 5 (it has two children). The measures are only in MDSCHEMA_MEASURES.
const QList<FakeMember> members = {
    {"[Product].[All Products]", "All Products", "[Product]", "[Product].[(All)]", 0, {}, 2},
    {"[Product].[Drink]", "Drink", "[Product]", "[Product].[Family]", 1, "[Product].[All Products]",
     5},
    {"[Product].[Food]", "Food", "[Product]", "[Product].[Family]", 1, "[Product].[All Products]",
     0},
    {"[Product].[Drink].[Beer]", "Beer", "[Product]", "[Product].[Name]", 2, "[Product].[Drink]",
     0},
    {"[Product].[Drink].[Wine]", "Wine", "[Product]", "[Product].[Name]", 2, "[Product].[Drink]",
     0},
    {"[Store].[All Stores]", "All Stores", "[Store]", "[Store].[(All)]", 0, {}, 0},
};

FakeReply reply(const QByteArray &body)
{
    FakeReply r;
    r.body = body;
    return r;
}

// Rows of the schema rowsets for one catalog; a Beta catalog holds only a Budget cube.
FakeReply answer(const FakeRequest &request)
{
    const QString type = request.requestType();
    const bool beta = request.element(QStringLiteral("CATALOG_NAME")) == u"Beta";
    if (type == u"DISCOVER_DATASOURCES")
        return reply(dataSourcesReply(QStringLiteral("Fake"), QStringLiteral("Provider=Fake")));
    if (type == u"DBSCHEMA_CATALOGS")
        return reply(rowsetReply({"CATALOG_NAME"}, {{"Alpha"}, {"Beta"}}));
    if (type == u"MDSCHEMA_CUBES") {
        return reply(beta ? rowsetReply({"CATALOG_NAME", "CUBE_NAME"}, {{"Beta", "Budget"}})
                          : rowsetReply({"CATALOG_NAME", "CUBE_NAME"}, {{"Alpha", "Sales"}}));
    }
    const QStringList scope{"CATALOG_NAME", "CUBE_NAME"};
    if (type == u"MDSCHEMA_DIMENSIONS") {
        if (beta) {
            return reply(rowsetReply(scope + QStringList{"DIMENSION_NAME", "DIMENSION_UNIQUE_NAME"},
                                     {{"Beta", "Budget", "Measures", "[Measures]"}}));
        }
        // Sent out of order; DIMENSION_TYPE 8 (products), 17 (geography) and 0 (unknown)
        // are all "other" in the object model. A dimension of another catalog is left out.
        return reply(rowsetReply(
            scope
                + QStringList{"DIMENSION_NAME", "DIMENSION_UNIQUE_NAME", "DIMENSION_ORDINAL",
                              "DIMENSION_TYPE", "DEFAULT_HIERARCHY"},
            {{"Alpha", "Sales", "Store", "[Store]", "3", "17", "[Store]"},
             {"Alpha", "Sales", "Time", "[Time]", "1", "1", "[Time]"},
             {"Gamma", "Sales", "Stray", "[Stray]", "6", "3", "[Stray]"},
             {"Alpha", "Sales", "Measures", "[Measures]", "0", "2", "[Measures]"},
             {"Alpha", "Sales", "Scenario", "[Scenario]", "4", "0", "[Scenario]"},
             {"Alpha", "Sales", "Product", "[Product]", "2", "8", "[Product]"}}));
    }
    if (type == u"MDSCHEMA_HIERARCHIES") {
        // Time's default hierarchy is its second by ordinal.
        return reply(
            rowsetReply(scope
                            + QStringList{"DIMENSION_UNIQUE_NAME", "HIERARCHY_NAME",
                                          "HIERARCHY_UNIQUE_NAME", "HIERARCHY_ORDINAL"},
                        {{"Alpha", "Sales", "[Time]", "Time", "[Time]", "2"},
                         {"Alpha", "Sales", "[Time]", "Weekly", "[Time.Weekly]", "1"},
                         {"Alpha", "Sales", "[Measures]", "Measures", "[Measures]", "0"},
                         {"Alpha", "Sales", "[Product]", "Product", "[Product]", "3"},
                         {"Alpha", "Sales", "[Store]", "Store", "[Store]", "4"},
                         {"Alpha", "Sales", "[Scenario]", "Scenario", "[Scenario]", "5"}}));
    }
    if (type == u"MDSCHEMA_LEVELS") {
        return reply(rowsetReply(
            scope
                + QStringList{"HIERARCHY_UNIQUE_NAME", "LEVEL_NAME", "LEVEL_UNIQUE_NAME",
                              "LEVEL_NUMBER"},
            {{"Alpha", "Sales", "[Product]", "Name", "[Product].[Name]", "2"},
             {"Alpha", "Sales", "[Product]", "(All)", "[Product].[(All)]", "0"},
             {"Alpha", "Sales", "[Product]", "Family", "[Product].[Family]", "1"},
             {"Alpha", "Sales", "[Measures]", "MeasuresLevel", "[Measures].[MeasuresLevel]", "0"},
             {"Alpha", "Sales", "[Store]", "(All)", "[Store].[(All)]", "0"},
             {"Alpha", "Sales", "[Time]", "Year", "[Time].[Year]", "0"},
             {"Alpha", "Sales", "[Time.Weekly]", "Week", "[Time.Weekly].[Week]", "0"}}));
    }
    if (type == u"MDSCHEMA_MEASURES") {
        return reply(
            rowsetReply(scope
                            + QStringList{"MEASURE_NAME", "MEASURE_UNIQUE_NAME", "MEASURE_CAPTION",
                                          "MEASURE_IS_VISIBLE"},
                        {{"Alpha", "Sales", "Units", "[Measures].[Units]", "Units sold", "true"},
                         {"Alpha", "Sales", "Hidden", "[Measures].[Hidden]", "Hidden", "false"},
                         {"Alpha", "Sales", "Price", "[Measures].[Price]", QString(), QString()}}));
    }
    if (type == u"MDSCHEMA_MEMBERS") {
        const QString level = request.element(QStringLiteral("LEVEL_UNIQUE_NAME"));
        const QString unique = request.element(QStringLiteral("MEMBER_UNIQUE_NAME"));
        const bool children = request.element(QStringLiteral("TREE_OP")) == u"1";
        QList<QStringList> rows;
        for (const FakeMember &m : members) {
            // Names are compared without case, as servers do.
            const bool match = !level.isNull() ? m.level == level
                               : children      ? m.parent.compare(unique, Qt::CaseInsensitive) == 0
                                          : m.uniqueName.compare(unique, Qt::CaseInsensitive) == 0;
            if (match) {
                rows.append({"Alpha", "Sales", m.uniqueName, m.name, m.name.toUpper(), m.hierarchy,
                             m.level, QString::number(m.levelNumber), m.parent,
                             QString::number(m.cardinality)});
            }
        }
        return reply(rowsetReply(scope
                                     + QStringList{"MEMBER_UNIQUE_NAME", "MEMBER_NAME",
                                                   "MEMBER_CAPTION", "HIERARCHY_UNIQUE_NAME",
                                                   "LEVEL_UNIQUE_NAME", "LEVEL_NUMBER",
                                                   "PARENT_UNIQUE_NAME", "CHILDREN_CARDINALITY"},
                                 rows));
    }
    if (type == u"Execute") {
        return reply(soapEnvelope(
            "<ExecuteResponse xmlns=\"urn:schemas-microsoft-com:xml-analysis\"><return>"
            "<root xmlns=\"urn:schemas-microsoft-com:xml-analysis:mddataset\" "
            "xmlns:xsi=\"http://www.w3.org/2001/XMLSchema-instance\" "
            "xmlns:xsd=\"http://www.w3.org/2001/XMLSchema\"><OlapInfo><AxesInfo>"
            "<AxisInfo name=\"Axis0\"><HierarchyInfo name=\"Product\"/></AxisInfo></AxesInfo>"
            "<CellInfo><Value name=\"VALUE\"/><FmtValue name=\"FORMATTED_VALUE\"/></CellInfo>"
            "</OlapInfo><Axes><Axis name=\"Axis0\"><Tuples><Tuple><Member Hierarchy=\"Product\">"
            "<UName>[Product].[Drink]</UName><Caption>Drink</Caption>"
            "<LName>[Product].[Family]</LName><LNum>1</LNum></Member></Tuple></Tuples></Axis>"
            "</Axes><CellData><Cell CellOrdinal=\"0\"><Value xsi:type=\"xsd:double\">12.5"
            "</Value><FmtValue>12.50</FmtValue></Cell></CellData></root></return>"
            "</ExecuteResponse>"));
    }
    FakeReply fault;
    fault.status = 500;
    fault.body = soapEnvelope("<SOAP-ENV:Fault><faultcode>x</faultcode><faultstring>x"
                              "</faultstring><detail><Error Description=\"unexpected request\"/>"
                              "</detail></SOAP-ENV:Fault>");
    return fault;
}

class XmlaProviderTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        connection.open(connectionString());
        catalog.setActiveConnection(connection);
    }

    QString connectionString() const
    {
        return QStringLiteral("Data source=%1;Provider=MSOLAP").arg(server.url().toString());
    }

    // The MDSCHEMA_MEMBERS requests so far, each as "LEVEL", "NAME" or "CHILDREN" and its name.
    QStringList memberRequests() const
    {
        QStringList out;
        for (const FakeRequest &request : server.requests()) {
            if (request.requestType() != u"MDSCHEMA_MEMBERS")
                continue;
            const QString level = request.element(QStringLiteral("LEVEL_UNIQUE_NAME"));
            const QString name = request.element(QStringLiteral("MEMBER_UNIQUE_NAME"));
            if (!level.isNull())
                out << QStringLiteral("LEVEL ") + level;
            else if (!request.element(QStringLiteral("TREE_OP")).isNull())
                out << QStringLiteral("CHILDREN ") + name;
            else
                out << QStringLiteral("NAME ") + name;
        }
        return out;
    }

    Hierarchy hierarchy(int dimension, int index = 0) const
    {
        return catalog.cubeDefs().item(0).dimensions().item(dimension).hierarchies().item(index);
    }

    FakeXmlaServer server{answer};
    Connection connection;
    Catalog catalog;
};

TEST_F(XmlaProviderTest, BuildsTheCatalogFromTheSchemaRowsets)
{
    Recordset catalogs = connection.openSchema(Connection::SchemaCatalogs);
    QStringList names;
    for (; !catalogs.eof(); catalogs.moveNext())
        names << catalogs.fields(QStringLiteral("CATALOG_NAME")).value().toString();
    EXPECT_EQ(names, QStringList({"Alpha", "Beta"}));

    EXPECT_EQ(catalog.name(), u"Alpha");
    ASSERT_EQ(catalog.cubeDefs().count(), 1);
    const CubeDef cube = catalog.cubeDefs().item(0);
    EXPECT_EQ(cube.name(), u"Sales");

    // DIMENSION_ORDINAL order; DIMENSION_TYPE 1 and 2 kept, every other type 3.
    const std::vector<std::tuple<QString, QString, int>> dimensions = {
        {"Measures", "[Measures]", 2}, {"Time", "[Time]", 1},         {"Product", "[Product]", 3},
        {"Store", "[Store]", 3},       {"Scenario", "[Scenario]", 3},
    };
    ASSERT_EQ(cube.dimensions().count(), int(dimensions.size()));
    for (int i = 0; i < cube.dimensions().count(); ++i) {
        const Dimension dimension = cube.dimensions().item(i);
        const auto &[name, uniqueName, type] = dimensions[std::size_t(i)];
        EXPECT_EQ(dimension.name(), name);
        EXPECT_EQ(dimension.uniqueName(), uniqueName);
        EXPECT_EQ(dimension.properties(QStringLiteral("dimension_type")).value(), type) << i;
    }

    // The default hierarchy first.
    const Hierarchies time = cube.dimensions().item(1).hierarchies();
    ASSERT_EQ(time.count(), 2);
    EXPECT_EQ(time.item(0).uniqueName(), u"[Time]");
    EXPECT_EQ(time.item(1).uniqueName(), u"[Time.Weekly]");
    EXPECT_EQ(time.item(1).name(), u"Weekly");
    EXPECT_EQ(time.item(1).levels().item(0).uniqueName(), u"[Time.Weekly].[Week]");

    // Levels by LEVEL_NUMBER, which is the depth.
    const Levels levels = hierarchy(2).levels();
    ASSERT_EQ(levels.count(), 3);
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(levels.item(i).depth(), i);
        EXPECT_EQ(levels.item(i).name(), QStringList({"(All)", "Family", "Name"})[i]);
    }
    EXPECT_EQ(levels.item(2).uniqueName(), u"[Product].[Name]");

    // Nothing about members yet; every schema request names the catalog.
    EXPECT_TRUE(memberRequests().isEmpty());
    for (const FakeRequest &request : server.requests()) {
        const QString type = request.requestType();
        if (type.startsWith(u"MDSCHEMA")) {
            EXPECT_EQ(request.element(QStringLiteral("Catalog")), u"Alpha") << type.toStdString();
            EXPECT_EQ(request.element(QStringLiteral("CATALOG_NAME")), u"Alpha");
        }
    }
}

TEST_F(XmlaProviderTest, FetchesMembersWhenAskedAndOnce)
{
    const Hierarchy product = hierarchy(2);
    const Members families = product.levels().item(1).members();
    ASSERT_EQ(families.count(), 2);
    EXPECT_EQ(families.count(), 2);
    const Member drink = families.item(0);
    EXPECT_EQ(drink.uniqueName(), u"[Product].[Drink]");
    EXPECT_EQ(drink.name(), u"Drink");
    EXPECT_EQ(drink.caption(), u"DRINK");
    EXPECT_EQ(drink.levelDepth(), 1);
    EXPECT_EQ(memberRequests(), QStringList({"LEVEL [Product].[Family]"}));

    // The estimate of 5 is not taken for the count; a reported 0 is.
    EXPECT_EQ(drink.childCount(), 2);
    const Members children = drink.children();
    ASSERT_EQ(children.count(), 2);
    EXPECT_EQ(children.item(1).uniqueName(), u"[Product].[Drink].[Wine]");
    EXPECT_EQ(children.item(1).parent(), drink);
    EXPECT_EQ(families.item(1).childCount(), 0);
    EXPECT_EQ(children.item(0).childCount(), 0);
    EXPECT_EQ(memberRequests(),
              QStringList({"LEVEL [Product].[Family]", "CHILDREN [Product].[Drink]"}));

    // A parent not fetched yet is looked up by its unique name, once.
    const Member all = drink.parent();
    EXPECT_EQ(all.uniqueName(), u"[Product].[All Products]");
    EXPECT_TRUE(all.parent().isNull());
    EXPECT_EQ(families.item(1).parent(), all);
    EXPECT_EQ(memberRequests().size(), 3);
    EXPECT_EQ(memberRequests().last(), u"NAME [Product].[All Products]");

    // A member arriving again keeps its identity.
    const Members top = product.levels().item(0).members();
    ASSERT_EQ(top.count(), 1);
    EXPECT_EQ(top.item(0), all);
    ASSERT_EQ(all.children().count(), 2);
    EXPECT_EQ(all.children().item(0), drink);
}

TEST_F(XmlaProviderTest, LooksMembersUpByUniqueName)
{
    const Hierarchy product = hierarchy(2);
    struct Case
    {
        const char *name;
        const char *found; // nullptr: Nothing
        bool asks;         // whether the server is asked
    };
    const Case cases[] = {
        {"[Product].[Drink].[Beer]", "[Product].[Drink].[Beer]", true},
        {"[product].[DRINK].[beer]", "[Product].[Drink].[Beer]", false}, // now known
        {"Product.Drink", "[Product].[Drink]", true},
        {" [Product] . [Drink] ", "[Product].[Drink]", false},
        {"[Product].[Milk]", nullptr, true},
        {"[PRODUCT].[milk]", nullptr, false},     // known to be missing
        {"[Store].[All Stores]", nullptr, false}, // another hierarchy
        {"[Product]", nullptr, false},
        {"[Product].[Drink", nullptr, false},
        {"", nullptr, false},
    };
    for (const Case &c : cases) {
        const qsizetype before = memberRequests().size();
        const Member member = product.findMember(QString::fromUtf8(c.name));
        if (c.found) {
            EXPECT_EQ(member.uniqueName(), QString::fromUtf8(c.found)) << c.name;
        } else {
            EXPECT_TRUE(member.isNull()) << c.name;
        }
        EXPECT_EQ(memberRequests().size() - before, c.asks ? 1 : 0) << c.name;
    }

    // The cube looks in the hierarchy the name starts with.
    const CubeDef cube = catalog.cubeDefs().item(0);
    EXPECT_EQ(cube.findMember(QStringLiteral("[Store].[All Stores]")).caption(), u"ALL STORES");
    EXPECT_EQ(cube.findMember(QStringLiteral("[Product].[Drink]")),
              product.findMember(QStringLiteral("[Product].[Drink]")));
}

TEST_F(XmlaProviderTest, TakesMeasuresFromTheMeasuresRowsetWhenMembersHasNone)
{
    const Hierarchy measures = hierarchy(0);
    const Members list = measures.levels().item(0).members();
    ASSERT_EQ(list.count(), 2); // the invisible one is left out
    EXPECT_EQ(list.item(0).uniqueName(), u"[Measures].[Units]");
    EXPECT_EQ(list.item(0).caption(), u"Units sold");
    EXPECT_EQ(list.item(1).caption(), u"Price");
    EXPECT_TRUE(list.item(1).parent().isNull());
    EXPECT_EQ(list.item(1).childCount(), 0);
    EXPECT_EQ(measures.findMember(QStringLiteral("[measures].[price]")), list.item(1));
    EXPECT_TRUE(measures.findMember(QStringLiteral("[Measures].[Hidden]")).isNull());
}

TEST_F(XmlaProviderTest, BindsANamedCatalogOrTheFirst)
{
    struct Case
    {
        const char *wanted;
        const char *bound;
        const char *cube;
    };
    const Case cases[] = {
        {"Beta", "Beta", "Budget"},
        {"beta", "Beta", "Budget"},
        {"Elsewhere", "Alpha", "Sales"},
        {"", "Alpha", "Sales"},
    };
    for (const Case &c : cases) {
        Catalog bound;
        bound.setActiveConnection(connection);
        bound.bindCatalog(QString::fromUtf8(c.wanted));
        EXPECT_EQ(bound.name(), QString::fromUtf8(c.bound)) << c.wanted;
        ASSERT_EQ(bound.cubeDefs().count(), 1) << c.wanted;
        EXPECT_EQ(bound.cubeDefs().item(0).name(), QString::fromUtf8(c.cube)) << c.wanted;
        const auto provider = std::dynamic_pointer_cast<xmla::XmlaProvider>(connection.provider());
        ASSERT_TRUE(provider);
        EXPECT_EQ(provider->catalogName(), QString::fromUtf8(c.bound));
    }
    // Each catalog's schema was read once.
    int cubeRequests = 0;
    for (const FakeRequest &request : server.requests())
        cubeRequests += request.requestType() == u"MDSCHEMA_CUBES";
    EXPECT_EQ(cubeRequests, 2);

    Catalog unconnected;
    EXPECT_EQ(description([&] { unconnected.bindCatalog(QStringLiteral("Beta")); }),
              u"The catalog has no active connection");
}

TEST_F(XmlaProviderTest, RunsStatementsAsSentInTheBoundCatalog)
{
    const QString statement =
        QStringLiteral("SELECT {[Product].[a]]>b <&>]} ON 0 FROM [Budget]\r\n");
    for (const auto &[wanted, bound] : {std::pair{"beta", "Beta"}, {"Elsewhere", "Alpha"}}) {
        catalog.bindCatalog(QString::fromUtf8(wanted));
        Cellset cellset;
        cellset.open(statement, connection);
        const FakeRequest &sent = server.requests().last();
        EXPECT_EQ(sent.requestType(), u"Execute");
        EXPECT_EQ(sent.element(QStringLiteral("Statement")), statement);
        EXPECT_EQ(sent.element(QStringLiteral("Catalog")), QString::fromUtf8(bound));
        EXPECT_EQ(sent.element(QStringLiteral("Format")), u"Multidimensional");

        ASSERT_EQ(cellset.axes().count(), 1);
        const CellsetMember drink = cellset.axes().item(0).positions().item(0).members().item(0);
        EXPECT_EQ(drink.uniqueName(), u"[Product].[Drink]");
        EXPECT_EQ(drink.name(), u"Drink");
        EXPECT_EQ(cellset.item(0).value(), 12.5);
        EXPECT_EQ(cellset.item(0).formattedValue(), u"12.50");
    }
}

TEST_F(XmlaProviderTest, DropsTheCacheWithTheConnection)
{
    const Members families = hierarchy(2).levels().item(1).members();
    const Member drink = families.item(0);
    ASSERT_EQ(memberRequests().size(), 1);

    connection.close();
    // What was read stays readable; nothing more can be fetched.
    EXPECT_EQ(drink.caption(), u"DRINK");
    EXPECT_EQ(families.count(), 2);
    const QString closed = description([&] { drink.childCount(); });
    EXPECT_TRUE(closed.contains(u"connection to the server is closed")) << closed.toStdString();
    EXPECT_EQ(memberRequests().size(), 1);

    // A reopened connection reads everything again.
    connection.open(connectionString());
    catalog.setActiveConnection(connection);
    EXPECT_EQ(hierarchy(2).levels().item(1).members().count(), 2);
    EXPECT_EQ(memberRequests().size(), 2);
    EXPECT_EQ(hierarchy(2).levels().item(1).members().item(0).childCount(), 2);
    EXPECT_EQ(memberRequests().size(), 3);
}

TEST(XmlaProviderOpen, TakesAHostNameForItsXmlaEndpoint)
{
    FakeXmlaServer server(answer);
    Connection connection;
    connection.open(
        QStringLiteral("Data source=127.0.0.1:%1;Provider=MSOLAP").arg(server.url().port()));
    EXPECT_EQ(connection.provider()->catalogNames(), QStringList({"Alpha", "Beta"}));
    ASSERT_FALSE(server.requests().isEmpty());
    EXPECT_EQ(server.requests().last().path, "/xmla");
}

TEST(XmlaProviderOpen, FailsWithTheReasonAndStaysClosed)
{
    QTcpServer closedPort;
    ASSERT_TRUE(closedPort.listen(QHostAddress::LocalHost, 0));
    const quint16 port = closedPort.serverPort();
    closedPort.close();

    FakeXmlaServer faulting([](const FakeRequest &request) {
        if (request.requestType() == u"DISCOVER_DATASOURCES")
            return reply(dataSourcesReply(QStringLiteral("Fake"), QStringLiteral("Fake")));
        FakeReply fault;
        fault.status = 500;
        fault.body = soapEnvelope(
            "<SOAP-ENV:Fault><faultcode>x</faultcode><faultstring>x</faultstring><detail>"
            "<Error Description=\"no catalogs for you\"/></detail></SOAP-ENV:Fault>");
        return fault;
    });
    struct Case
    {
        QString source;
        QString expected;
    };
    const Case cases[] = {
        {QStringLiteral("http://127.0.0.1:%1/xmla").arg(port), "Could not reach"},
        {faulting.url().toString(), "no catalogs for you"},
        {QStringLiteral("http://"), "neither the name of a server"},
    };
    for (const Case &c : cases) {
        Connection connection;
        const QString error = description([&] {
            connection.open(QStringLiteral("Data source=%1;Provider=MSOLAP").arg(c.source));
        });
        EXPECT_TRUE(error.contains(c.expected)) << error.toStdString();
        EXPECT_EQ(connection.state(), Connection::StateClosed);
    }
}

} // namespace
