// The XMLA client against a loopback server answering canned replies: what goes on the wire,
// how replies are read, and every way a call can fail.
#include "FakeXmlaServer.h"
#include "QtPrinters.h"

#include "platform/olap/xmla/XmlaClient.h"
#include "tests/support/EnvironmentGuard.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimer>

#include <cmath>
#include <optional>

using namespace platform::olap::xmla;
using namespace xmlatest;
using testing_support::EnvironmentGuard;

namespace {

FakeReply ok(const QByteArray &body)
{
    FakeReply reply;
    reply.body = body;
    return reply;
}

QString errorOf(const std::function<void()> &call, bool *serverError = nullptr)
{
    try {
        call();
    } catch (const ServerError &error) {
        if (serverError)
            *serverError = true;
        return error.description();
    } catch (const platform::Error &error) {
        if (serverError)
            *serverError = false;
        return error.description();
    }
    return QStringLiteral("(no error)");
}

// Two axes (a cross join on rows), a slicer, the colour and font properties, a property the
// CellInfo does not declare, two missing cells and an error inside a cell.
const QByteArray executeBody = R"(
<cxmla:ExecuteResponse xmlns:cxmla="urn:schemas-microsoft-com:xml-analysis"><cxmla:return>
<root xmlns="urn:schemas-microsoft-com:xml-analysis:mddataset"
      xmlns:xsi="http://www.w3.org/2001/XMLSchema-instance"
      xmlns:xsd="http://www.w3.org/2001/XMLSchema">
 <OlapInfo>
  <CubeInfo><Cube><CubeName>Sales</CubeName></Cube></CubeInfo>
  <AxesInfo>
   <AxisInfo name="Axis0"><HierarchyInfo name="Measures"/></AxisInfo>
   <AxisInfo name="Axis1"><HierarchyInfo name="Product"/><HierarchyInfo name="Time"/></AxisInfo>
   <AxisInfo name="SlicerAxis"><HierarchyInfo name="Store"/></AxisInfo>
  </AxesInfo>
  <CellInfo>
   <Value name="VALUE"/><FmtValue name="FORMATTED_VALUE"/><FormatString name="FORMAT_STRING"/>
   <ForeColor name="FORE_COLOR"/><BackColor name="BACK_COLOR"/><FontName name="FONT_NAME"/>
   <FontSize name="FONT_SIZE"/><FontFlags name="FONT_FLAGS"/>
  </CellInfo>
 </OlapInfo>
 <Axes>
  <Axis name="Axis0"><Tuples>
   <Tuple><Member Hierarchy="Measures"><UName>[Measures].[Units]</UName><Caption>Units</Caption>
    <LName>[Measures].[MeasuresLevel]</LName><LNum>0</LNum><DisplayInfo>0</DisplayInfo></Member>
   </Tuple>
   <Tuple><Member Hierarchy="Measures"><UName>[Measures].[Price]</UName><Caption>Price</Caption>
    <LName>[Measures].[MeasuresLevel]</LName><LNum>0</LNum></Member></Tuple>
  </Tuples></Axis>
  <Axis name="Axis1"><Tuples>
   <Tuple>
    <Member Hierarchy="Product"><UName>[Product].[Drink]</UName><Caption>Drink</Caption>
     <LName>[Product].[Family]</LName><LNum>1</LNum></Member>
    <Member Hierarchy="Time"><UName>[Time].[2023]</UName><Caption>2023</Caption>
     <LName>[Time].[Year]</LName><LNum>1</LNum></Member>
   </Tuple>
   <Tuple>
    <Member Hierarchy="Product"><UName>[Product].[Drink]</UName><Caption>Drink</Caption>
     <LName>[Product].[Family]</LName><LNum>1</LNum></Member>
    <Member Hierarchy="Time"><UName>[Time].[2024]</UName><Caption>2024 &amp; after</Caption>
     <LName>[Time].[Year]</LName><LNum>1</LNum></Member>
   </Tuple>
   <Tuple>
    <Member Hierarchy="Product"><UName>[Product].[Food]</UName><Caption>Food</Caption>
     <LName>[Product].[Family]</LName><LNum>1</LNum></Member>
    <Member Hierarchy="Time"><UName>[Time].[2023]</UName><Caption>2023</Caption>
     <LName>[Time].[Year]</LName><LNum>1</LNum></Member>
   </Tuple>
  </Tuples></Axis>
  <Axis name="SlicerAxis"><Tuples><Tuple>
   <Member Hierarchy="Store"><UName>[Store].[North]</UName><Caption>North</Caption>
    <LName>[Store].[Region]</LName><LNum>1</LNum></Member>
  </Tuple></Tuples></Axis>
 </Axes>
 <CellData>
  <Cell CellOrdinal="0"><Value xsi:type="xsd:double">1234.5</Value><FmtValue>1,234.5</FmtValue>
   <FormatString>#,##0.0</FormatString><ForeColor>255</ForeColor><BackColor>16777215</BackColor>
   <FontName>Arial</FontName><FontSize>10</FontSize><FontFlags>1</FontFlags>
   <Language>1033</Language></Cell>
  <Cell CellOrdinal="1"><Value xsi:type="xsd:int">5</Value><FmtValue>5.0</FmtValue>
   <FormatString>#,##0.0</FormatString></Cell>
  <Cell CellOrdinal="3"><Value xsi:type="xsd:string">n/a</Value><FmtValue>n/a</FmtValue></Cell>
  <Cell CellOrdinal="4"><Value><Error ErrorCode="3238658121" Description="Division by zero."/>
   </Value></Cell>
 </CellData>
</root></cxmla:return></cxmla:ExecuteResponse>)";

TEST(XmlaClient, DiscoverSendsRestrictionsAndEchoesTheDataSourceInfo)
{
    FakeXmlaServer server([](const FakeRequest &request) {
        if (request.requestType() == u"DISCOVER_DATASOURCES")
            return ok(dataSourcesReply(QStringLiteral("Fake"),
                                       QStringLiteral("Provider=Fake;Data Source=a&b")));
        return ok(rowsetReply(
            {QStringLiteral("CATALOG_NAME"), QStringLiteral("CUBE_NAME"),
             QStringLiteral("DESCRIPTION")},
            {{QStringLiteral("T"), QStringLiteral("Sales"), QString()},
             {QStringLiteral("T"), QStringLiteral("Stock <old>"), QStringLiteral("")}}));
    });
    XmlaClient client(server.url());
    const Rowset cubes =
        client.discover(MdSchemaCubes, {{QStringLiteral("CATALOG_NAME"), QStringLiteral("T")}});

    ASSERT_EQ(server.requests().size(), 2);
    const FakeRequest &first = server.requests()[0];
    EXPECT_EQ(first.requestType(), u"DISCOVER_DATASOURCES");
    EXPECT_TRUE(first.element(QStringLiteral("DataSourceInfo")).isNull());
    const FakeRequest &second = server.requests()[1];
    EXPECT_EQ(second.method, "POST");
    EXPECT_EQ(second.path, "/xmla");
    EXPECT_EQ(second.headers.value("soapaction"),
              "\"urn:schemas-microsoft-com:xml-analysis:Discover\"");
    EXPECT_TRUE(second.headers.value("content-type").startsWith("text/xml"));
    EXPECT_FALSE(second.headers.contains("authorization"));
    EXPECT_EQ(second.requestType(), u"MDSCHEMA_CUBES");
    EXPECT_EQ(second.element(QStringLiteral("CATALOG_NAME")), u"T");
    EXPECT_EQ(second.element(QStringLiteral("DataSourceInfo")), u"Provider=Fake;Data Source=a&b");
    EXPECT_EQ(second.element(QStringLiteral("Format")), u"Tabular");
    EXPECT_EQ(client.dataSourceInfo(), u"Provider=Fake;Data Source=a&b");

    EXPECT_EQ(cubes.columns(),
              QStringList({QStringLiteral("CATALOG_NAME"), QStringLiteral("CUBE_NAME"),
                           QStringLiteral("DESCRIPTION")}));
    ASSERT_EQ(cubes.rowCount(), 2);
    EXPECT_EQ(cubes.value(1, u"cube_name"), u"Stock <old>");
    EXPECT_TRUE(cubes.isNull(0, 2));
    EXPECT_FALSE(cubes.isNull(1, 2));
    EXPECT_EQ(cubes.value(1, 2), u"");

    // The data source is asked once per client.
    client.discover(DbSchemaCatalogs);
    EXPECT_EQ(server.requests().size(), 3);
}

TEST(XmlaClient, DimensionsComeInOrdinalOrder)
{
    FakeXmlaServer server([](const FakeRequest &) {
        const QStringList columns{QStringLiteral("DIMENSION_NAME"),
                                  QStringLiteral("DIMENSION_ORDINAL"),
                                  QStringLiteral("DIMENSION_TYPE")};
        return ok(rowsetReply(columns, {{"Time", "2", "1"},
                                        {"Measures", "0", "2"},
                                        {"Store", "10", "3"},
                                        {"Product", "1", "3"}}));
    });
    XmlaClient client(server.url());
    client.setDataSourceInfo(QStringLiteral("Fake"));
    const Rowset dimensions = client.discover(MdSchemaDimensions);
    QStringList names;
    for (qsizetype row = 0; row < dimensions.rowCount(); ++row)
        names << dimensions.value(row, 0);
    EXPECT_EQ(names, QStringList({"Measures", "Product", "Time", "Store"}));
    EXPECT_EQ(dimensions.value(0, u"DIMENSION_TYPE"), u"2");
}

TEST(XmlaClient, ExecuteSendsTheStatementAsTextAndReadsTheCellSet)
{
    FakeXmlaServer server([](const FakeRequest &) { return ok(soapEnvelope(executeBody)); });
    XmlaClient client(server.url());
    client.setDataSourceInfo(QStringLiteral("Fake"));
    const QString statement = QStringLiteral(
        "WITH MEMBER [Measures].[X]]]]>Y] AS '\"<a & b>\"' SELECT {} ON 0 FROM [Sales]");
    const CellSetData cells = client.execute(statement, QStringLiteral("T"));

    ASSERT_EQ(server.requests().size(), 1);
    const FakeRequest &request = server.requests()[0];
    EXPECT_EQ(request.headers.value("soapaction"),
              "\"urn:schemas-microsoft-com:xml-analysis:Execute\"");
    EXPECT_EQ(request.element(QStringLiteral("Statement")), statement);
    EXPECT_FALSE(request.body.contains("CDATA"));
    EXPECT_FALSE(request.body.contains("]]>"));
    EXPECT_EQ(request.element(QStringLiteral("Catalog")), u"T");
    EXPECT_EQ(request.element(QStringLiteral("DataSourceInfo")), u"Fake");
    EXPECT_EQ(request.element(QStringLiteral("Format")), u"Multidimensional");
    EXPECT_EQ(request.element(QStringLiteral("AxisFormat")), u"TupleFormat");

    ASSERT_EQ(cells.axes().size(), 2u);
    const Axis &columns = cells.axes()[0];
    EXPECT_EQ(columns.hierarchies, QStringList({"Measures"}));
    ASSERT_EQ(columns.tupleCount, 2);
    EXPECT_EQ(columns.member(1, 0).uniqueName, u"[Measures].[Price]");
    const Axis &rows = cells.axes()[1];
    EXPECT_EQ(rows.hierarchies, QStringList({"Product", "Time"}));
    ASSERT_EQ(rows.tupleCount, 3);
    const AxisMember &year = rows.member(1, 1);
    EXPECT_EQ(year.uniqueName, u"[Time].[2024]");
    EXPECT_EQ(year.caption, u"2024 & after");
    EXPECT_EQ(year.levelUniqueName, u"[Time].[Year]");
    EXPECT_EQ(year.levelNumber, 1);
    EXPECT_EQ(rows.member(2, 0).caption, u"Food");
    EXPECT_EQ(rows.member(2, 1).uniqueName, u"[Time].[2023]");
    EXPECT_EQ(cells.slicer().hierarchies, QStringList({"Store"}));
    ASSERT_EQ(cells.slicer().tupleCount, 1);
    EXPECT_EQ(cells.slicer().member(0, 0).caption, u"North");

    EXPECT_EQ(cells.cellProperties(),
              QStringList({"VALUE", "FORMATTED_VALUE", "FORMAT_STRING", "FORE_COLOR", "BACK_COLOR",
                           "FONT_NAME", "FONT_SIZE", "FONT_FLAGS"}));
    EXPECT_EQ(cells.cellPropertyIndex(u"LANGUAGE"), -1);
    EXPECT_EQ(cells.cellCount(), 6);
    // Row 1, column 0 is ordinal 2: axis 0 varies fastest.
    EXPECT_EQ(cells.ordinal({0, 1}), 2);
    EXPECT_EQ(cells.ordinal({0, 3}), -1);

    EXPECT_EQ(cells.valueKind(0), CellValueKind::Double);
    EXPECT_EQ(cells.value(0).toDouble(), 1234.5);
    EXPECT_EQ(cells.valueType(0), u"xsd:double");
    EXPECT_EQ(cells.formattedValue(0), u"1,234.5");
    auto property = [&](qint64 ordinal, const char16_t *name) {
        return cells.property(ordinal, cells.cellPropertyIndex(name));
    };
    EXPECT_EQ(property(0, u"FORMAT_STRING").toString(), u"#,##0.0");
    EXPECT_EQ(property(0, u"FORE_COLOR"), QVariant(qlonglong(255)));
    EXPECT_EQ(property(0, u"BACK_COLOR"), QVariant(qlonglong(16777215)));
    EXPECT_EQ(property(0, u"FONT_NAME").toString(), u"Arial");
    EXPECT_EQ(property(0, u"FONT_SIZE"), QVariant(qlonglong(10)));
    EXPECT_EQ(property(0, u"FONT_FLAGS"), QVariant(qlonglong(1)));

    EXPECT_EQ(cells.value(1), QVariant(qlonglong(5)));
    EXPECT_EQ(property(1, u"FormatString").toString(), u"#,##0.0");
    EXPECT_FALSE(property(1, u"FORE_COLOR").isValid());

    for (qint64 missing : {2, 5}) {
        EXPECT_FALSE(cells.hasCell(missing));
        EXPECT_EQ(cells.valueKind(missing), CellValueKind::Empty);
        EXPECT_FALSE(cells.value(missing).isValid());
        EXPECT_EQ(cells.formattedValue(missing), u"");
    }
    EXPECT_EQ(cells.value(3).toString(), u"n/a");
    EXPECT_EQ(cells.valueKind(3), CellValueKind::String);
    EXPECT_EQ(cells.error(3), u"");

    EXPECT_EQ(cells.valueKind(4), CellValueKind::Error);
    EXPECT_EQ(cells.error(4), u"Division by zero.");
    EXPECT_EQ(cells.formattedValue(4), u"Division by zero.");
}

TEST(XmlaClient, StatementWithACharacterXmlCannotCarryIsNotSent)
{
    FakeXmlaServer server([](const FakeRequest &) { return ok(soapEnvelope(executeBody)); });
    XmlaClient client(server.url());
    client.setDataSourceInfo(QStringLiteral("Fake"));
    const QString message =
        errorOf([&] { client.execute(QStringLiteral("SELECT \x01 FROM [Sales]"), QString()); });
    EXPECT_TRUE(message.contains(u"cannot carry")) << message.toStdString();
    EXPECT_TRUE(server.requests().isEmpty());
}

struct FailureCase
{
    const char *name;
    int status;
    QByteArray reason;
    QByteArray body;
    QStringList expected;
    bool serverError;
};

const QByteArray mondrianFault = soapEnvelope(R"(<SOAP-ENV:Fault>
  <faultcode>SOAP-ENV:Client.00HSBD01</faultcode>
  <faultstring>XMLA MDX parse failed</faultstring>
  <faultactor>Mondrian</faultactor>
  <detail><XA:error xmlns:XA="http://mondrian.sourceforge.net"><code>00HSBD01</code>
   <desc>Mondrian Error:MDX object &#39;[Product].[Nope]&#39; not found in cube &#39;Sales&#39;
   </desc>
  </XA:error></detail></SOAP-ENV:Fault>)");

const QByteArray descriptionFault = soapEnvelope(R"(<soap:Fault
  xmlns:soap="http://schemas.xmlsoap.org/soap/envelope/">
  <faultcode>XMLAnalysisError.0xc10a0004</faultcode><faultstring/>
  <detail><Error ErrorCode="3238658052" Description="The 'Nope' cube does not exist."
   Source="Analysis Server" HelpFile=""/></detail></soap:Fault>)");

const QByteArray messagesError = soapEnvelope(R"(
  <ExecuteResponse xmlns="urn:schemas-microsoft-com:xml-analysis"><return>
  <root xmlns="urn:schemas-microsoft-com:xml-analysis:mddataset"><Exception/>
  <Messages><Warning Description="only a warning"/>
  <Error ErrorCode="3238658052" Description="Query (1, 8) Parser: syntax error near 'FROM'."/>
  </Messages></root></return></ExecuteResponse>)");

TEST(XmlaClient, FailuresSayWhatTheServerSaid)
{
    const QList<FailureCase> cases = {
        {"Mondrian's fault form",
         200,
         "OK",
         mondrianFault,
         {"XMLA MDX parse failed", "MDX object '[Product].[Nope]' not found in cube 'Sales'"},
         true},
        // clang-format off
        {"a fault sent with status 500", 500, "Internal Server Error", mondrianFault,
         {"MDX object '[Product].[Nope]' not found"}, true},
        {"the Description form", 500, "Internal Server Error", descriptionFault,
         {"The 'Nope' cube does not exist."}, true},
        {"a Messages/Error block", 200, "OK", messagesError,
         {"Query (1, 8) Parser: syntax error near 'FROM'."}, true},
        {"garbage", 200, "OK", "Service temporarily overloaded, try later",
         {"not XML", "Service temporarily overloaded"}, false},
        {"a truncated reply", 200, "OK", soapEnvelope(executeBody).left(900),
         {"not well-formed"}, false},
        // clang-format on
        {"an empty reply", 200, "OK", "", {"empty reply"}, false},
        {"XML without a result", 200, "OK", soapEnvelope("<Nothing/>"), {"neither a"}, false},
        // clang-format off
        {"HTTP 500", 500, "Internal Server Error", "", {"HTTP 500 Internal Server Error"},
         // clang-format on
         false},
        {"HTTP 404 with a page",
         404,
         "Not Found",
         "<html><body>Gone</body></html>",
         {"HTTP 404 Not Found", "127.0.0.1"},
         false},
    };
    for (const FailureCase &failure : cases) {
        SCOPED_TRACE(failure.name);
        FakeXmlaServer server([&](const FakeRequest &) {
            FakeReply reply;
            reply.status = failure.status;
            reply.reason = failure.reason;
            reply.body = failure.body;
            return reply;
        });
        XmlaClient client(server.url());
        client.setDataSourceInfo(QStringLiteral("Fake"));
        for (bool execute : {true, false}) {
            bool serverError = false;
            const QString message = errorOf(
                [&] {
                    if (execute)
                        client.execute(QStringLiteral("SELECT FROM [Sales]"), QString());
                    else
                        client.discover(MdSchemaCubes);
                },
                &serverError);
            for (const QString &expected : failure.expected)
                EXPECT_TRUE(message.contains(expected)) << message.toStdString();
            EXPECT_EQ(serverError, failure.serverError) << message.toStdString();
        }
    }
}

TEST(XmlaClient, ServerThatNeverAnswersTimesOut)
{
    FakeXmlaServer server([](const FakeRequest &) {
        FakeReply reply;
        reply.silent = true;
        return reply;
    });
    XmlaClient client(server.url());
    EXPECT_EQ(client.timeout(), 60000);
    client.setTimeout(300);
    QElapsedTimer clock;
    clock.start();
    // The first call is the automatic DISCOVER_DATASOURCES: the timeout applies to it too.
    const QString message = errorOf([&] { client.discover(DbSchemaCatalogs); });
    EXPECT_GE(clock.elapsed(), 280);
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_TRUE(message.contains(u"did not answer within 0.3 seconds")) << message.toStdString();
    EXPECT_EQ(server.requests().size(), 1);
}

TEST(XmlaClient, ClosedPortIsConnectionRefused)
{
    quint16 port = 0;
    {
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
        port = probe.serverPort();
    }
    XmlaClient client(QUrl(QStringLiteral("http://127.0.0.1:%1/xmla").arg(port)));
    const QString message = errorOf([&] { client.discover(DbSchemaCatalogs); });
    EXPECT_TRUE(message.contains(u"Could not reach the XMLA server at http://127.0.0.1:"))
        << message.toStdString();
    EXPECT_TRUE(message.contains(u"refused", Qt::CaseInsensitive)) << message.toStdString();
}

// The server dies after part of its reply: the call ends in a message, and the client serves
// the next call as before.
TEST(XmlaClient, ServerKilledMidReplyIsReportedAndTheClientGoesOn)
{
    int calls = 0;
    FakeXmlaServer server([&](const FakeRequest &) {
        FakeReply reply = ok(soapEnvelope(executeBody));
        if (++calls == 1)
            reply.killAfter = 600;
        return reply;
    });
    XmlaClient client(server.url());
    client.setDataSourceInfo(QStringLiteral("Fake"));
    const QString message =
        errorOf([&] { client.execute(QStringLiteral("SELECT FROM [Sales]"), QString()); });
    EXPECT_TRUE(message.contains(u"The connection to the XMLA server at http://127.0.0.1:"))
        << message.toStdString();
    EXPECT_TRUE(message.contains(u"broke off before the end of its reply"))
        << message.toStdString();
    EXPECT_EQ(errorOf([&] { client.execute(QStringLiteral("SELECT FROM [Sales]"), QString()); }),
              QStringLiteral("(no error)"));
}

// Hostile servers: each call ends within its bound with a message naming the server and the
// bound, the reply is never held past the size limit, and the client serves the next call.
TEST(XmlaClient, HostileRepliesEndWithinTheirBounds)
{
    struct Case
    {
        const char *name;
        std::function<void(FakeReply &)> hostile;
        const char *expected;
    };
    const QByteArray body = soapEnvelope(executeBody);
    const Case cases[] = {
        {"endless reply",
         [](FakeReply &r) {
             r.endless = true;
             r.contentLength = -2;
             r.endlessLimit = 64 * 1024 * 1024; // far past the client's bound of 1 MB
         },
         "sent a reply larger than the limit of 1 MB"},
        {"announced as too large", [](FakeReply &r) { r.contentLength = 10'000'000'000; },
         "sent a reply larger than the limit of 1 MB"},
        {"drip", [](FakeReply &r) { r.dripMs = 20; }, "stalled in its reply: only "},
        {"endless drip",
         [](FakeReply &r) {
             r.dripMs = 20;
             r.endless = true;
         },
         "stalled in its reply: only "},
        {"stall", [](FakeReply &r) { r.stallAfter = 300; }, "stalled in its reply: only 300 bytes"},
        {"longer than the body, then closed",
         [&](FakeReply &r) { r.contentLength = body.size() + 1000; },
         "broke off before the end of its reply"},
        {"longer than the body, held open",
         [&](FakeReply &r) {
             r.contentLength = body.size() + 1000;
             r.stallAfter = body.size();
         },
         "stalled in its reply"},
        {"shorter than the body", [&](FakeReply &r) { r.contentLength = body.size() / 2; },
         "not well-formed XML"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        bool hostile = true;
        FakeXmlaServer server([&](const FakeRequest &) {
            FakeReply reply = ok(body);
            if (hostile)
                c.hostile(reply);
            return reply;
        });
        XmlaClient client(server.url());
        client.setDataSourceInfo(QStringLiteral("Fake"));
        client.setMaximumReply(1024 * 1024);
        client.setStallTimeout(400);
        QElapsedTimer clock;
        clock.start();
        const QString message =
            errorOf([&] { client.execute(QStringLiteral("SELECT FROM [Sales]"), QString()); });
        EXPECT_LT(clock.elapsed(), 5000);
        EXPECT_TRUE(message.contains(c.expected)) << message.toStdString();
        if (!QByteArray(c.expected).contains("XML")) {
            EXPECT_TRUE(message.contains(server.url().toString())) << message.toStdString();
        }
        // The client stopped taking the reply at the bound.
        EXPECT_LT(server.bytesSent(), 16 * 1024 * 1024);
        hostile = false;
        EXPECT_EQ(
            errorOf([&] { client.execute(QStringLiteral("SELECT FROM [Sales]"), QString()); }),
            QStringLiteral("(no error)"));
    }
}

#ifdef PELMORA_MDX_TOOL
// The tool against a server that answers its statement without end: it ends with the message,
// in the form its output has, instead of running out of memory.
TEST(XmlaClient, PelmoraMdxEndsAnEndlessReplyWithTheMessage)
{
    FakeXmlaServer server([](const FakeRequest &request) {
        const QString type = request.requestType();
        if (type == u"DISCOVER_DATASOURCES")
            return ok(dataSourcesReply(QStringLiteral("Fake"), QStringLiteral("Provider=Fake")));
        if (type == u"DBSCHEMA_CATALOGS")
            return ok(rowsetReply({QStringLiteral("CATALOG_NAME")}, {{"FoodMart"}}));
        FakeReply reply;
        reply.endless = true;
        reply.contentLength = -2;
        return reply;
    });
    const QString limit = QStringLiteral("sent a reply larger than the limit of 1 MB");
    for (const bool json : {false, true}) {
        SCOPED_TRACE(json ? "json" : "table");
        QProcess tool;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(QStringLiteral("PELMORA_XMLA_MAX_REPLY_MB"), QStringLiteral("1"));
        tool.setProcessEnvironment(environment);
        QStringList arguments{server.url().toString(), QStringLiteral("SELECT FROM [Sales]")};
        if (json)
            arguments.prepend(QStringLiteral("--json"));
        // The server runs on this thread: the wait lets it serve.
        QEventLoop loop;
        QObject::connect(&tool, &QProcess::finished, &loop, &QEventLoop::quit);
        QTimer::singleShot(30000, &loop, &QEventLoop::quit);
        tool.start(QStringLiteral(PELMORA_MDX_TOOL), arguments);
        ASSERT_TRUE(tool.waitForStarted());
        loop.exec();
        ASSERT_EQ(tool.state(), QProcess::NotRunning);
        EXPECT_EQ(tool.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(tool.exitCode(), 1);
        const QString out = QString::fromUtf8(tool.readAllStandardOutput());
        const QString err = QString::fromUtf8(tool.readAllStandardError());
        const QString text = json ? out : err;
        EXPECT_TRUE(text.startsWith(json ? "{\"error\": \"The XMLA server at "
                                         : "pelmora-mdx: The XMLA server at "))
            << text.toStdString();
        EXPECT_TRUE(text.contains(limit)) << text.toStdString();
    }
}
#endif

TEST(XmlaClient, BoundsHaveDefaultsAndTheReplyLimitComesFromTheEnvironment)
{
    XmlaClient client(QUrl(QStringLiteral("http://127.0.0.1:1/xmla")));
    EXPECT_EQ(client.maximumReply(), 512LL * 1024 * 1024);
    EXPECT_EQ(client.stallTimeout(), 30000);
    EXPECT_EQ(client.stallMinimum(), 1024);
    const struct
    {
        const char *value;
        qint64 bytes;
    } cases[] = {{"2048", 2048LL * 1024 * 1024},
                 {"1", 1024 * 1024},
                 {"0", 512LL * 1024 * 1024},
                 {"lots", 512LL * 1024 * 1024}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.value);
        EnvironmentGuard limit("PELMORA_XMLA_MAX_REPLY_MB", c.value);
        EXPECT_EQ(XmlaClient(QUrl(QStringLiteral("http://127.0.0.1:1/xmla"))).maximumReply(),
                  c.bytes);
    }
}

TEST(XmlaClient, CallKeepsTheEventLoopRunning)
{
    FakeXmlaServer server([](const FakeRequest &) {
        FakeReply reply = ok(rowsetReply({QStringLiteral("CATALOG_NAME")}, {{"T"}}));
        reply.delayMs = 300;
        return reply;
    });
    XmlaClient client(server.url());
    client.setDataSourceInfo(QStringLiteral("Fake"));
    bool timerRan = false;
    QTimer::singleShot(50, [&] { timerRan = true; });
    EXPECT_EQ(client.discover(DbSchemaCatalogs).rowCount(), 1);
    EXPECT_TRUE(timerRan);
}

class XmlaAuthentication : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_netrc = m_dir.filePath(QStringLiteral("netrc"));
        QFile file(m_netrc);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("machine olap.example.com login bob password other\n"
                   "machine 127.0.0.1\n  login alice\n  password \"s3cr3t Pw\"\n");
        file.close();
        m_guard.emplace("NETRC", m_netrc.toLocal8Bit());
    }

    static FakeReply unauthorized()
    {
        FakeReply reply;
        reply.status = 401;
        reply.reason = "Unauthorized";
        reply.headers = {{"WWW-Authenticate", "Basic realm=\"olap\""}};
        reply.body = "<html>401</html>";
        return reply;
    }

    static QByteArray expectedAuthorization()
    {
        return "Basic " + QByteArray("alice:s3cr3t Pw").toBase64();
    }

    QTemporaryDir m_dir;
    QString m_netrc;
    std::optional<EnvironmentGuard> m_guard;
};

TEST_F(XmlaAuthentication, UnauthorizedIsRetriedOnceWithTheNetrcEntry)
{
    FakeXmlaServer server([](const FakeRequest &request) {
        if (request.headers.value("authorization") != expectedAuthorization())
            return unauthorized();
        return ok(rowsetReply({QStringLiteral("CATALOG_NAME")}, {{"T"}}));
    });
    XmlaClient client(server.url());
    client.setDataSourceInfo(QStringLiteral("Fake"));
    EXPECT_EQ(client.discover(DbSchemaCatalogs).value(0, 0), u"T");
    ASSERT_EQ(server.requests().size(), 2);
    EXPECT_FALSE(server.requests()[0].headers.contains("authorization"));
    EXPECT_EQ(server.requests()[1].headers.value("authorization"), expectedAuthorization());

    // Accepted credentials are kept: the next call does not start with a 401.
    client.discover(DbSchemaCatalogs);
    ASSERT_EQ(server.requests().size(), 3);
    EXPECT_EQ(server.requests()[2].headers.value("authorization"), expectedAuthorization());
}

TEST_F(XmlaAuthentication, RefusedCredentialsAreNeverShown)
{
    FakeXmlaServer server([](const FakeRequest &) { return unauthorized(); });
    XmlaClient client(server.url());
    client.setDataSourceInfo(QStringLiteral("Fake"));
    const QString message = errorOf([&] { client.discover(DbSchemaCatalogs); });
    EXPECT_TRUE(message.contains(u"did not accept")) << message.toStdString();
    EXPECT_TRUE(message.contains(m_netrc)) << message.toStdString();
    EXPECT_FALSE(message.contains(u"s3cr3t")) << message.toStdString();
    EXPECT_FALSE(message.contains(QString::fromLatin1(QByteArray("alice:s3cr3t Pw").toBase64())));
    EXPECT_EQ(server.requests().size(), 2);
}

TEST_F(XmlaAuthentication, HostWithoutAnEntryIsReported)
{
    QFile file(m_netrc);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write("machine olap.example.com login bob password other\n");
    file.close();
    FakeXmlaServer server([](const FakeRequest &) { return unauthorized(); });
    XmlaClient client(server.url());
    client.setDataSourceInfo(QStringLiteral("Fake"));
    const QString message = errorOf([&] { client.discover(DbSchemaCatalogs); });
    EXPECT_TRUE(message.contains(u"holds none for the host 127.0.0.1")) << message.toStdString();
    EXPECT_TRUE(message.contains(m_netrc)) << message.toStdString();
    EXPECT_EQ(server.requests().size(), 1);
}

} // namespace
