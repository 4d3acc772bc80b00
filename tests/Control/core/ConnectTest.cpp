// The routes by which the control reaches a cube, over fixture cube files: a cube file, a cube
// file named as the server (the provider takes any source that names a file), a web address
// served on loopback, and the dialogs of the asking routes.
#include "Control/core/PelmoraC02.h"
#include "platform/automation/Download.h"
#include "platform/runtime/Error.h"
#include "platform/widgets/ImageList.h"
#include "platform/widgets/Toolbar.h"
#include "tests/Control/core/RouteTestSupport.h"
#include "tests/platform/olap/CubeFixtures.h"
#include "tests/support/ScriptedModalRunner.h"
#include "tests/support/ScriptedMsgBox.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTimer>
#include <QTemporaryDir>

#include <memory>

using controltest::FailingMsgBox;
using controltest::WebServer;
using platform::automation::Download;
using testing_support::ScriptedModalRunner;
using testing_support::ScriptedMsgBox;

namespace {

ScriptedModalRunner::Step press(const QString &button)
{
    return [button](QDialog &dialog) {
        EXPECT_TRUE(ScriptedModalRunner::click(dialog, button)) << button.toStdString();
        return -1;
    };
}

ScriptedModalRunner::Step typeServer(const QString &server, QString *shown = nullptr)
{
    return [server, shown](QDialog &dialog) {
        auto *text = dialog.findChild<QLineEdit *>("txtServer");
        if (shown)
            *shown = text->text();
        text->setText(server);
        ScriptedModalRunner::click(dialog, "cmdConexion");
        return -1;
    };
}

// Chooses the list item with this text and presses OK.
ScriptedModalRunner::Step choose(const QString &list, const QString &item, const QString &ok)
{
    return [list, item, ok](QDialog &dialog) {
        auto *items = dialog.findChild<QListWidget *>(list);
        const QList<QListWidgetItem *> found = items->findItems(item, Qt::MatchExactly);
        EXPECT_EQ(found.size(), 1) << item.toStdString();
        if (!found.isEmpty())
            items->setCurrentItem(found.first());
        ScriptedModalRunner::click(dialog, ok);
        return -1;
    };
}

QString connectionStringFor(const QString &source)
{
    return testing_support::connectionStringFor(source);
}

class Routes : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_dir = std::make_unique<QTemporaryDir>();
        s_cube = testing_support::buildFixtureCube(s_dir->path(), "sales");
    }

    static void TearDownTestSuite() { s_dir.reset(); }

    // The sales cube opened from its file, as start-up does.
    void openFile()
    {
        control.openParams.OpenFile = s_cube;
        ASSERT_TRUE(control.cubeConnectNI(false));
        ASSERT_EQ(boxes.count(), 0);
    }

    QString caption() const { return control.lblCubo->text(); }

    QList<int> visibleItems() const
    {
        QList<int> visible;
        for (int i = 1; i <= control.tbToolBar->buttonCount(); ++i) {
            if (control.tbToolBar->button(i)->isVisible())
                visible << i;
        }
        return visible;
    }

    static std::unique_ptr<QTemporaryDir> s_dir;
    static QString s_cube;

    ScriptedMsgBox boxes;
    ScriptedModalRunner runner;
    PelmoraC02 control;
};

std::unique_ptr<QTemporaryDir> Routes::s_dir;
QString Routes::s_cube;

} // namespace

TEST_F(Routes, ACubeFileOpensItsFirstCubeAndLaysItsDimensionsOut)
{
    control.showCubeButtons(false);
    control.openParams.OpenFile = s_cube;
    control.openParams.openCube = "Budget"; // a cube file opens its first cube all the same
    ASSERT_TRUE(control.cubeConnectNI(false));
    EXPECT_EQ(boxes.count(), 0);
    EXPECT_TRUE(control.connState.connected);
    EXPECT_EQ(control.connState.connectionString, connectionStringFor(s_cube));
    EXPECT_EQ(control.connState.numCube, 0);
    EXPECT_EQ(control.openParams.openCube, "Sales");
    EXPECT_EQ(caption(), s_cube);
    EXPECT_EQ(visibleItems().size(), 19);

    // One record per dimension from its first member: the first two on the axes, the others
    // on the slicer in cube order.
    const struct
    {
        QString nombre;
        int lugar, orden, jerarquia, tipo;
        QString llave, texto;
    } expected[] = {
        {"Measures", 1, 0, 0, 2, "[Measures].[Sales]", "Sales"},
        {"Time", 2, 0, 0, 1, "[Time].[1997]", "1997"},
        {"Product", 0, 0, 7, 3, "[Product].[All Products]", "All Products"},
        {"Store", 0, 1, 7, 3, "[Store].[All Stores]", "All Stores"},
    };
    ASSERT_EQ(control.layoutState.NumDims, 4);
    for (int d = 0; d < 4; ++d) {
        const pelmora::OrderDim &r = control.layoutState.orderDim[size_t(d)];
        SCOPED_TRACE(r.nombre.toStdString());
        EXPECT_EQ(r.nombre, expected[d].nombre);
        EXPECT_EQ(r.lugar, expected[d].lugar);
        EXPECT_EQ(r.orden, expected[d].orden);
        EXPECT_EQ(r.jerarquia, expected[d].jerarquia);
        EXPECT_EQ(r.jerarquiaSalto, 1);
        EXPECT_EQ(r.tipo, expected[d].tipo);
        EXPECT_TRUE(r.vacio);
        EXPECT_EQ(r.padreLlave, QStringList{expected[d].llave});
        EXPECT_EQ(r.padreTexto, QStringList{expected[d].texto});
    }
}

TEST_F(Routes, TheFirstRuleThatAppliesChoosesTheRoute)
{
    const QString web = QUrl::fromLocalFile(s_dir->filePath("missing.cub")).toString();
    const struct
    {
        const char *name;
        pelmora::OpenParams params;
        bool interactive;
        bool ask;
        bool result;
        QString connectionString;
        QString caption;
        QStringList dialogs;
    } cases[] = {
        // The view route is taken: it reads the view file, which does not exist.
        // clang-format off
        {"a view file before a cube file", {"", "", "", s_cube, "", "/views/a.vcg", ""}, false,
         false, false, "", "Cubo", {}},
        // clang-format on
        {"a cube file before an address and a server",
         // clang-format off
         {s_cube, "SalesDB", "Budget", s_cube, web, "", ""}, false, false, true,
         connectionStringFor(s_cube), web, {}},
        // clang-format on
        // The download fails: no connection is attempted.
        // clang-format off
        {"an address before a server", {s_cube, "SalesDB", "Budget", "", web, "", ""}, false,
         false, false, "", "Cubo", {}},
        {"a server with database and cube", {s_cube, "SalesDB", "Budget", "", "", "", ""}, false,
         false, true, connectionStringFor(s_cube), "Budget", {}},
        {"a server and cube without database", {s_cube, "", "Budget", "", "", "", ""}, false,
         false, false, "", "Cubo", {}},
        // clang-format on
        {"a server and cube without database, dialogs asked for",
         // clang-format off
         {s_cube, "", "Budget", "", "", "", ""}, true, false, false, "", "Cubo",
         // clang-format on
         {"frmConexion"}},
        {"nothing, asking allowed", {}, false, true, false, "", "Cubo", {"frmOpen"}},
        {"nothing", {}, false, false, false, "", "Cubo", {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedModalRunner dialogs; // every dialog is cancelled
        PelmoraC02 fresh;
        fresh.openParams = c.params;
        fresh.connState.interactiveRequested = c.interactive;
        EXPECT_EQ(fresh.connect(c.ask), c.result);
        EXPECT_EQ(fresh.connState.connectionString, c.connectionString);
        EXPECT_EQ(fresh.lblCubo->text(), c.caption);
        EXPECT_EQ(dialogs.shown(), c.dialogs);
    }
}

TEST_F(Routes, AServerCubeIsFoundByItsExactName)
{
    control.openParams = {s_cube, "SalesDB", "Budget", "", "", "", ""};
    ASSERT_TRUE(control.cubeConnectNI(false));
    EXPECT_EQ(control.connState.numCube, 1);
    EXPECT_EQ(control.layoutState.NumDims, 2);
    EXPECT_EQ(control.layoutState.orderDim[1].nombre, "Store");

    PelmoraC02 other;
    other.openParams = {s_cube, "SalesDB", "budget", "", "", "", ""};
    EXPECT_FALSE(other.cubeConnectNI(false));
    EXPECT_EQ(other.connState.numCube, -1);
    EXPECT_EQ(boxes.count(), 0); // a missing cube has no message of its own...
    other.UserControl_Show();    // ...start-up shows message 0
    EXPECT_EQ(boxes.texts(), QStringList({"Parameter error: Can't open chosen cube."}));
}

TEST_F(Routes, AConnectionThatDoesNotOpenIsReportedWithItsConnectionString)
{
    const QString missing = s_dir->filePath("nowhere/missing.cub");
    for (int language : {0, 1}) {
        boxes.clear();
        control.language.LanguageID = language;
        control.openParams.OpenFile = missing;
        EXPECT_FALSE(control.cubeConnectNI(false));
        ASSERT_EQ(boxes.count(), 1);
        const QString text = boxes.texts()[0];
        EXPECT_TRUE(text.startsWith("openConection: ")) << text.toStdString();
        EXPECT_TRUE(text.endsWith(QString("\r\n")
                                  + (language == 0 ? "Connection error: " : "Error en conexión: ")
                                  + connectionStringFor(missing)))
            << text.toStdString();
        EXPECT_EQ(boxes.shown()[0].buttons, platform::forms::OkOnly);
    }

    // Without a connection string nothing is tried and nothing is said.
    boxes.clear();
    PelmoraC02 fresh;
    EXPECT_FALSE(fresh.openConection());
    EXPECT_FALSE(fresh.connState.connection.has_value());
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(Routes, TheOpeningStepsReportTheirOwnErrors)
{
    // No connection yet.
    EXPECT_FALSE(control.OpenCatalog());
    EXPECT_EQ(control.bringNumCube(), -1);
    EXPECT_FALSE(control.doOpenCube());
    EXPECT_EQ(boxes.texts(), QStringList({"OpenCatalog: The connection is not open",
                                          "bringNumCube:The catalog has no active connection",
                                          "doOpenCube: The catalog has no active connection"}));

    boxes.clear();
    openFile();
    control.connState.numCube = 2;
    EXPECT_FALSE(control.doOpenCube());
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_TRUE(boxes.texts()[0].startsWith("doOpenCube: Cube 2 does not exist"));
}

// An error inside a route's step, reported by nothing in between, reaches the route's own trap.
TEST_F(Routes, EveryRouteTrapsTheErrorsOfItsSteps)
{
    const QString missing = s_dir->filePath("missing.cub");
    const struct
    {
        const char *name;
        pelmora::OpenParams params;
        int failing; // message boxes that fail before one shows
        std::function<bool(PelmoraC02 &)> run;
        QString shown;
    } cases[] = {
        // clang-format off
        {"fileConnect", {"", "", "", missing, "", "", ""}, 1,
         [](PelmoraC02 &c) { return c.cubeConnectNI(false); }, "fileConnect:Out of memory"},
        {"connect", {"", "", "", missing, "", "", ""}, 2,
         [](PelmoraC02 &c) { return c.cubeConnectNI(false); }, "connect:Out of memory"},
        {"cubeConnectNI", {"", "", "", missing, "", "", ""}, 3,
         [](PelmoraC02 &c) { return c.cubeConnectNI(false); }, "cubeConnectNI:Out of memory"},
        {"cubeConnect", {"", "", "", missing, "", "", ""}, 3,
         [](PelmoraC02 &c) { return c.cubeConnect(false); }, "cubeConnect:Out of memory"},
        {"openOlap", {"", "", "", missing, "", "", ""}, 4,
         [](PelmoraC02 &c) { return c.doAction("OPENPARAM"); }, "openOlap:Out of memory"},
        {"olapConnect", {missing, "SalesDB", "Sales", "", "", "", ""}, 1,
         [](PelmoraC02 &c) { return c.cubeConnectNI(false); }, "olapConnect:Out of memory"},
        // clang-format on
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        FailingMsgBox failing(c.failing);
        PelmoraC02 fresh;
        fresh.openParams = c.params;
        EXPECT_FALSE(c.run(fresh));
        ASSERT_EQ(failing.texts().size(), c.failing + 1);
        EXPECT_TRUE(failing.texts()[0].startsWith("openConection: "));
        EXPECT_EQ(failing.texts().last(), c.shown);
    }

    // The dialogs have no trap of their own: their errors reach the procedure that asked.
    for (const QString &route : QStringList{"askConection", "interactiveConnect"}) {
        SCOPED_TRACE(route.toStdString());
        ScriptedMsgBox shown;
        ScriptedModalRunner dialogs;
        dialogs.then([](QDialog &) -> int { throw platform::Error("Invalid picture"); });
        PelmoraC02 fresh;
        fresh.connState.interactiveRequested = route == "interactiveConnect";
        EXPECT_FALSE(fresh.connect(true));
        EXPECT_EQ(shown.texts(), QStringList{route + ":Invalid picture"});
    }
}

TEST_F(Routes, TheDialogsChooseServerDatabaseAndCube)
{
    const struct
    {
        const char *name;
        int language;
    } languages[] = {{"English", 0}, {"Spanish", 1}};
    for (const auto &l : languages) {
        SCOPED_TRACE(l.name);
        ScriptedModalRunner dialogs;
        QString shownServer;
        dialogs.then(press("cmdConexion")); // frmOpen: a remote cube
        dialogs.then(typeServer(s_cube, &shownServer));
        dialogs.then(choose("lstDb", "SalesDB", "cmdDb"));
        dialogs.then(choose("lstCubo", "Budget", "cmdCubo"));
        PelmoraC02 fresh;
        fresh.language.LanguageID = l.language;
        fresh.openParams.OpenServer = "olap1";
        EXPECT_TRUE(fresh.cubeConnectNI(true));
        EXPECT_EQ(dialogs.shown(), QStringList({"frmOpen", "frmConexion", "frmDb", "frmCubo"}));
        EXPECT_EQ(shownServer, "olap1");
        EXPECT_EQ(fresh.openParams.OpenServer, s_cube);
        EXPECT_EQ(fresh.openParams.OpenDB, "SalesDB");
        EXPECT_EQ(fresh.openParams.openCube, "Budget");
        EXPECT_EQ(fresh.connState.connectionString, connectionStringFor(s_cube));
        EXPECT_EQ(fresh.connState.numCube, 1);
        EXPECT_EQ(fresh.lblCubo->text(), "Budget");
        EXPECT_TRUE(fresh.connState.connected);
    }
    EXPECT_EQ(boxes.count(), 0);
}

// A cancelled dialog before the connection is reopened leaves the open cube as it was; once the
// old connection is closed, a route that fails leaves the control without a cube.
TEST_F(Routes, CancelAtEachStep)
{
    const struct
    {
        const char *name;
        int steps; // dialogs answered before the cancelled one
        bool stillConnected;
    } cases[] = {
        {"frmOpen", 0, true},
        {"frmConexion", 1, true},
        {"frmDb", 2, false},
        {"frmCubo", 3, false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        PelmoraC02 fresh;
        fresh.openParams.OpenFile = s_cube;
        ASSERT_TRUE(fresh.cubeConnectNI(false));
        const QString before = fresh.lblCubo->text();

        ScriptedModalRunner dialogs;
        const QList<ScriptedModalRunner::Step> answers{press("cmdConexion"), typeServer(s_cube),
                                                       choose("lstDb", "SalesDB", "cmdDb"),
                                                       choose("lstCubo", "Budget", "cmdCubo")};
        for (int i = 0; i < c.steps; ++i)
            dialogs.then(answers[i]);
        dialogs.then(press("cmdCancelar"));
        EXPECT_FALSE(fresh.doAction("OPENOLAP"));
        EXPECT_EQ(dialogs.shown().size(), c.steps + 1);
        EXPECT_EQ(dialogs.shown().last(), c.name);
        EXPECT_EQ(dialogs.unexpected(), 0);
        EXPECT_EQ(fresh.connState.connected, c.stillConnected);
        EXPECT_EQ(fresh.lblCubo->text(), before);
        EXPECT_EQ(fresh.layoutState.NumDims, 4);
        if (c.steps == 0) {
            // The asking dialog cancelled: its choices are empty.
            EXPECT_EQ(fresh.openParams.OpenFile, "");
            EXPECT_EQ(fresh.openParams.OpenWWWDir, "");
            EXPECT_EQ(fresh.openParams.OpenView, "");
        }
    }
    EXPECT_EQ(boxes.count(), 0);
}

// The cube file's dialog closed without a file: the whole asking route answers False, asks
// nothing more and leaves the open cube.
TEST_F(Routes, ACancelledCubeFileDialogEndsTheAskingRoute)
{
    PelmoraC02 fresh;
    fresh.openParams.OpenFile = s_cube;
    ASSERT_TRUE(fresh.cubeConnectNI(false));
    const QString before = fresh.lblCubo->text();

    ScriptedModalRunner dialogs;
    dialogs.then(press("cmdCubo"));
    dialogs.then([](QDialog &) { return int(QDialog::Rejected); });
    EXPECT_FALSE(fresh.doAction("openOlap"));
    EXPECT_EQ(dialogs.shown(), QStringList({"frmOpen", "openFileDialog"}));
    EXPECT_EQ(dialogs.unexpected(), 0);
    EXPECT_TRUE(fresh.connState.connected);
    EXPECT_EQ(fresh.openParams.OpenFile, "");
    EXPECT_EQ(fresh.lblCubo->text(), before);
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(Routes, AFailedReconnectionLeavesNoCubeToQuery)
{
    openFile();
    control.openParams.OpenFile = s_dir->filePath("missing.cub");
    EXPECT_FALSE(control.cubeConnectNI(false));
    EXPECT_FALSE(control.connState.connected);
    EXPECT_EQ(boxes.count(), 1); // the connection's own message
    boxes.clear();
    EXPECT_FALSE(control.MDXExecute("SELECT FROM [Sales]"));
    EXPECT_EQ(boxes.count(), 0);

    // A new cube brings the queries back.
    control.openParams.OpenFile = s_cube;
    EXPECT_TRUE(control.cubeConnectNI(false));
    EXPECT_TRUE(control.connState.connected);
}

// Web addresses.

class WebRoute : public Routes
{
protected:
    static QByteArray cubeBytes()
    {
        QFile file(s_cube);
        EXPECT_TRUE(file.open(QIODevice::ReadOnly));
        return file.readAll();
    }
};

TEST_F(WebRoute, ADownloadedCubeOpensUnderItsAddress)
{
    QString address;
    QString local;
    {
        WebServer server(cubeBytes());
        address = server.url("cubes/sales.cub");
        control.openParams.OpenWWWDir = address;
        ASSERT_TRUE(control.cubeConnectNI(false));
        EXPECT_EQ(server.requested(), QStringList({"/cubes/sales.cub"}));
        local = control.openParams.OpenFile;
    }
    EXPECT_EQ(boxes.count(), 0);
    EXPECT_TRUE(local.startsWith(Download::cacheDirectory() + "/")) << local.toStdString();
    EXPECT_EQ(control.connState.downloadState, pelmora::DownloadDone);
    EXPECT_EQ(control.connState.connectionString, connectionStringFor(local));
    EXPECT_EQ(caption(), address);
    EXPECT_EQ(control.openParams.openCube, "Sales");

    // The copy stays in the download cache: a control that kept the file name opens it with
    // the server gone.
    PelmoraC02 later;
    later.openParams.OpenWWWDir = address;
    later.openParams.OpenFile = local;
    EXPECT_TRUE(later.cubeConnectNI(false));
    EXPECT_EQ(later.lblCubo->text(), address);
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(WebRoute, AFailedDownloadEndsTheRouteSilentlyAndKeepsTheOpenCube)
{
    openFile();
    WebServer server("", WebServer::NotFound);
    control.openParams.OpenFile.clear();
    control.openParams.OpenWWWDir = server.url("sales.cub");
    EXPECT_FALSE(control.cubeConnectNI(false));
    EXPECT_EQ(control.connState.downloadState, pelmora::DownloadFailed);
    EXPECT_EQ(boxes.count(), 0);
    EXPECT_TRUE(control.connState.connected);
    EXPECT_EQ(caption(), s_cube);
    EXPECT_EQ(control.openParams.OpenFile, "");
}

TEST_F(WebRoute, ADownloadThatIsNoCubeFailsOnOpening)
{
    WebServer server("this is not a cube file");
    FailingMsgBox failing(2);
    control.openParams.OpenWWWDir = server.url("junk.cub");
    EXPECT_FALSE(control.cubeConnectNI(false));
    ASSERT_EQ(failing.texts().size(), 3);
    EXPECT_TRUE(failing.texts()[0].startsWith("openConection: "));
    EXPECT_EQ(failing.texts()[1], "fileConnect:Out of memory");
    EXPECT_EQ(failing.texts()[2], "WwwDirConnect:Out of memory");
}

TEST_F(WebRoute, ADownloadThatStallsTimesOutAndCommandsMeanwhileAreIgnored)
{
    WebServer server("", WebServer::Silent);
    control.doAction("ENDLOG"); // the first command's settings read out of the way
    control.openParams.OpenWWWDir = server.url("sales.cub");
    QList<bool> answers;
    QTimer::singleShot(0, &control, [&] {
        for (Download *download : control.findChildren<Download *>())
            download->setStallTimeout(300);
    });
    QTimer::singleShot(100, &control, [&] {
        answers << control.doAction("STARTLOG") << control.doAction("OPENOLAP")
                << control.MDXExecute("SELECT FROM [Sales]");
        control.UserControl_Show();
    });
    EXPECT_FALSE(control.cubeConnectNI(false));
    EXPECT_EQ(control.connState.downloadState, pelmora::DownloadFailed);
    EXPECT_EQ(answers, QList<bool>({false, false, false}));
    EXPECT_EQ(control.controlFlags.logging, 0);
    EXPECT_EQ(control.openParams.OpenWWWDir, server.url("sales.cub")); // OPENOLAP did not run
    EXPECT_TRUE(runner.shown().isEmpty());
    EXPECT_EQ(boxes.count(), 0);
    EXPECT_FALSE(control.connState.waitingForDownload);
    EXPECT_TRUE(control.doAction("STARTLOG")); // commands run again
}
