// The server routes against a loopback XMLA server with two databases, each with a cube of its
// own: the database chosen is the one whose cubes open.
#include "Control/core/PelmoraC02.h"
#include "platform/grid/FlexGrid.h"
#include "tests/platform/olap/xmla/FakeXmlaServer.h"
#include "tests/support/ScriptedModalRunner.h"
#include "tests/support/EnvironmentGuard.h"
#include "tests/support/ScriptedMsgBox.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

using testing_support::EnvironmentGuard;
using testing_support::ScriptedModalRunner;
using testing_support::ScriptedMsgBox;
using namespace xmlatest;

namespace {

// North holds the cube Sales, South the cube Stock; both have the measures and a Store
// dimension with an All member.
FakeReply answer(const FakeRequest &request)
{
    const QString type = request.requestType();
    const QString catalog = request.element(QStringLiteral("CATALOG_NAME"));
    const bool south = catalog.compare(u"South", Qt::CaseInsensitive) == 0;
    const QString db = south ? QStringLiteral("South") : QStringLiteral("North");
    const QString cube = south ? QStringLiteral("Stock") : QStringLiteral("Sales");
    const QString measure = south ? QStringLiteral("On Hand") : QStringLiteral("Units");
    FakeReply reply;
    const QStringList scope{"CATALOG_NAME", "CUBE_NAME"};
    if (type == u"DISCOVER_DATASOURCES") {
        reply.body = dataSourcesReply(QStringLiteral("Fake"), QStringLiteral("Provider=Fake"));
    } else if (type == u"DBSCHEMA_CATALOGS") {
        reply.body = rowsetReply({"CATALOG_NAME"}, {{"North"}, {"South"}});
    } else if (type == u"MDSCHEMA_CUBES") {
        reply.body = rowsetReply(scope, {{db, cube}});
    } else if (type == u"MDSCHEMA_DIMENSIONS") {
        reply.body = rowsetReply(scope
                                     + QStringList{"DIMENSION_NAME", "DIMENSION_UNIQUE_NAME",
                                                   "DIMENSION_ORDINAL", "DIMENSION_TYPE",
                                                   "DEFAULT_HIERARCHY"},
                                 {{db, cube, "Measures", "[Measures]", "0", "2", "[Measures]"},
                                  {db, cube, "Store", "[Store]", "1", "3", "[Store]"}});
    } else if (type == u"MDSCHEMA_HIERARCHIES") {
        reply.body = rowsetReply(scope
                                     + QStringList{"DIMENSION_UNIQUE_NAME", "HIERARCHY_NAME",
                                                   "HIERARCHY_UNIQUE_NAME", "HIERARCHY_ORDINAL"},
                                 {{db, cube, "[Measures]", "Measures", "[Measures]", "0"},
                                  {db, cube, "[Store]", "Store", "[Store]", "1"}});
    } else if (type == u"MDSCHEMA_LEVELS") {
        reply.body = rowsetReply(
            scope
                + QStringList{"HIERARCHY_UNIQUE_NAME", "LEVEL_NAME", "LEVEL_UNIQUE_NAME",
                              "LEVEL_NUMBER"},
            {{db, cube, "[Measures]", "MeasuresLevel", "[Measures].[MeasuresLevel]", "0"},
             {db, cube, "[Store]", "(All)", "[Store].[(All)]", "0"}});
    } else if (type == u"MDSCHEMA_MEMBERS") {
        const QString level = request.element(QStringLiteral("LEVEL_UNIQUE_NAME"));
        QList<QStringList> rows;
        if (level == u"[Measures].[MeasuresLevel]") {
            rows.append({db, cube, "[Measures].[" + measure + "]", measure, measure, "[Measures]",
                         level, "0", QString(), "0"});
        } else if (level == u"[Store].[(All)]") {
            rows.append({db, cube, "[Store].[All Stores]", "All Stores", "All Stores", "[Store]",
                         level, "0", QString(), "0"});
        }
        reply.body = rowsetReply(scope
                                     + QStringList{"MEMBER_UNIQUE_NAME", "MEMBER_NAME",
                                                   "MEMBER_CAPTION", "HIERARCHY_UNIQUE_NAME",
                                                   "LEVEL_UNIQUE_NAME", "LEVEL_NUMBER",
                                                   "PARENT_UNIQUE_NAME", "CHILDREN_CARDINALITY"},
                                 rows);
    } else {
        reply.status = 500;
        reply.reason = "Internal Server Error";
        reply.body = soapEnvelope("<SOAP-ENV:Fault><faultcode>SOAP-ENV:Server</faultcode>"
                                  "<faultstring>not served here</faultstring></SOAP-ENV:Fault>");
    }
    return reply;
}

class TwoDatabases : public ::testing::Test
{
protected:
    QString url() const { return server.url().toString(); }

    FakeXmlaServer server{answer};
    ScriptedMsgBox boxes;
    ScriptedModalRunner runner;
};

} // namespace

TEST_F(TwoDatabases, TheDatabaseNamedIsTheOneWhoseCubesOpen)
{
    const struct
    {
        const char *name;
        QString database;
        QString cube;
        bool opens;
        QString firstMeasure;
    } cases[] = {
        {"the second database's cube", "South", "Stock", true, "[Measures].[On Hand]"},
        {"the name in another letter case", "south", "Stock", true, "[Measures].[On Hand]"},
        {"the first database's cube", "North", "Sales", true, "[Measures].[Units]"},
        {"a cube of another database", "North", "Stock", false, ""},
        {"a database the server lacks: its first", "West", "Sales", true, "[Measures].[Units]"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        PelmoraC02 control;
        control.openParams = {url(), c.database, c.cube, "", "", "", ""};
        EXPECT_EQ(control.cubeConnectNI(false), c.opens);
        // The database is not part of the connection string.
        EXPECT_EQ(control.connState.connectionString, "Data source=" + url() + ";Provider=MSOLAP");
        if (c.opens) {
            EXPECT_EQ(control.lblCubo->text(), c.cube);
            EXPECT_EQ(control.layoutState.NumDims, 2);
            EXPECT_EQ(control.layoutState.orderDim[0].padreLlave, QStringList{c.firstMeasure});
            EXPECT_EQ(control.layoutState.orderDim[1].padreLlave,
                      QStringList{"[Store].[All Stores]"});
        }
    }
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(TwoDatabases, TheDialogsListTheCubesOfTheDatabaseChosen)
{
    QStringList databases;
    QStringList cubes;
    runner.then([&](QDialog &dialog) {
        dialog.findChild<QLineEdit *>("txtServer")->setText(url());
        ScriptedModalRunner::click(dialog, "cmdConexion");
        return -1;
    });
    runner.then([&](QDialog &dialog) {
        auto *list = dialog.findChild<QListWidget *>("lstDb");
        for (int i = 0; i < list->count(); ++i)
            databases << list->item(i)->text();
        list->setCurrentRow(1);
        ScriptedModalRunner::click(dialog, "cmdDb");
        return -1;
    });
    runner.then([&](QDialog &dialog) {
        auto *list = dialog.findChild<QListWidget *>("lstCubo");
        for (int i = 0; i < list->count(); ++i)
            cubes << list->item(i)->text();
        list->setCurrentRow(0);
        ScriptedModalRunner::click(dialog, "cmdCubo");
        return -1;
    });
    PelmoraC02 control;
    control.connState.interactiveRequested = true;
    EXPECT_TRUE(control.connect(false));
    EXPECT_EQ(databases, QStringList({"North", "South"}));
    EXPECT_EQ(cubes, QStringList({"Stock"}));
    EXPECT_EQ(control.openParams.OpenDB, "South");
    EXPECT_EQ(control.openParams.openCube, "Stock");
    EXPECT_EQ(control.layoutState.orderDim[0].padreLlave, QStringList{"[Measures].[On Hand]"});
    EXPECT_EQ(boxes.count(), 0);
}

// A server without databases: the database list is empty, OK asks for a choice and Cancel
// ends the route without a cube; a database named for it opens nothing.
TEST(NoDatabases, TheListIsEmptyAndNoRouteOpensACube)
{
    FakeXmlaServer server{[](const FakeRequest &request) {
        if (request.requestType() != u"DBSCHEMA_CATALOGS")
            return answer(request);
        FakeReply reply;
        reply.body = rowsetReply({"CATALOG_NAME"}, {});
        return reply;
    }};
    const QString url = server.url().toString();
    {
        ScriptedMsgBox boxes;
        ScriptedModalRunner runner;
        int listed = -1;
        runner.then([&](QDialog &dialog) {
            dialog.findChild<QLineEdit *>("txtServer")->setText(url);
            ScriptedModalRunner::click(dialog, "cmdConexion");
            return -1;
        });
        runner.then([&](QDialog &dialog) {
            listed = dialog.findChild<QListWidget *>("lstDb")->count();
            ScriptedModalRunner::click(dialog, "cmdDb");
            EXPECT_EQ(dialog.result(), 0); // still open
            ScriptedModalRunner::click(dialog, "cmdCancelar");
            return -1;
        });
        PelmoraC02 control;
        control.connState.interactiveRequested = true;
        EXPECT_FALSE(control.connect(false));
        EXPECT_EQ(listed, 0);
        EXPECT_EQ(runner.shown(), QStringList({"frmConexion", "frmDb"}));
        EXPECT_EQ(boxes.texts(), QStringList({"Choose a database before leaving."}));
        EXPECT_FALSE(control.connState.connected);
        EXPECT_EQ(control.openParams.OpenDB, "");
    }
    {
        ScriptedMsgBox boxes;
        PelmoraC02 control;
        control.openParams = {url, "North", "Sales", "", "", "", ""};
        EXPECT_FALSE(control.cubeConnectNI(false));
        EXPECT_FALSE(control.connState.connected);
        EXPECT_EQ(boxes.texts(), QStringList()) << boxes.texts().join("; ").toStdString();
    }
}

namespace {

// The cell set of the default statement over North's Sales: one cell.
const QByteArray salesCellSet = R"(
<cxmla:ExecuteResponse xmlns:cxmla="urn:schemas-microsoft-com:xml-analysis"><cxmla:return>
<root xmlns="urn:schemas-microsoft-com:xml-analysis:mddataset"
      xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance">
 <OlapInfo><CubeInfo><Cube><CubeName>Sales</CubeName></Cube></CubeInfo>
  <AxesInfo>
   <AxisInfo name="Axis0"><HierarchyInfo name="Measures"/></AxisInfo>
   <AxisInfo name="Axis1"><HierarchyInfo name="Store"/></AxisInfo>
  </AxesInfo>
  <CellInfo><Value name="VALUE"/><FmtValue name="FORMATTED_VALUE"/></CellInfo>
 </OlapInfo>
 <Axes>
  <Axis name="Axis0"><Tuples><Tuple><Member Hierarchy="Measures">
   <UName>[Measures].[Units]</UName><Caption>Units</Caption>
   <LName>[Measures].[MeasuresLevel]</LName><LNum>0</LNum></Member></Tuple></Tuples></Axis>
  <Axis name="Axis1"><Tuples><Tuple><Member Hierarchy="Store">
   <UName>[Store].[All Stores]</UName><Caption>All Stores</Caption>
   <LName>[Store].[(All)]</LName><LNum>0</LNum></Member></Tuple></Tuples></Axis>
 </Axes>
 <CellData><Cell CellOrdinal="0"><Value xsi:type="xsd:double">77</Value><FmtValue>77</FmtValue>
 </Cell></CellData>
</root></cxmla:return></cxmla:ExecuteResponse>)";

// The one value cell of the result: the grid's last.
QString valueOf(const PelmoraC02 &control)
{
    const platform::grid::FlexGrid &grid = *control.grdResults;
    return grid.textMatrix(grid.rows() - 1, grid.cols() - 1);
}

} // namespace

// A server that answers one view's statement without end: that statement fails with the
// server and the limit named, and both views go on with the next statement.
TEST(HostileServer, AnEndlessReplyIsTheErrorOfOneStatement)
{
    const EnvironmentGuard limit("PELMORA_XMLA_MAX_REPLY_MB", "1");
    bool endless = false;
    FakeXmlaServer server{[&](const FakeRequest &request) {
        if (request.requestType() != u"Execute")
            return answer(request);
        FakeReply reply;
        reply.body = soapEnvelope(salesCellSet);
        if (endless) {
            reply.endless = true;
            reply.contentLength = -2;
        }
        return reply;
    }};
    const QString url = server.url().toString();
    ScriptedMsgBox boxes;
    PelmoraC02 first;
    PelmoraC02 second;
    for (PelmoraC02 *control : {&first, &second}) {
        control->openParams = {url, "North", "Sales", "", "", "", ""};
        ASSERT_TRUE(control->cubeConnect(false));
        EXPECT_EQ(valueOf(*control), "77");
    }
    ASSERT_EQ(boxes.count(), 0) << boxes.texts().join("; ").toStdString();

    endless = true;
    EXPECT_TRUE(first.genSelect());
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_TRUE(boxes.texts()[0].startsWith("MDXExe: The XMLA server at " + url
                                            + " sent a reply larger than the limit of 1 MB"))
        << boxes.texts()[0].toStdString();
    EXPECT_LT(server.bytesSent(), 32 * 1024 * 1024);

    endless = false;
    for (PelmoraC02 *control : {&second, &first}) {
        EXPECT_TRUE(control->genSelect());
        EXPECT_EQ(valueOf(*control), "77");
    }
    EXPECT_EQ(boxes.count(), 1);
}
