#include "Control/core/PelmoraC02.h"
#include "Control/core/ToolbarButtons.h"
#include "platform/automation/Download.h"
#include "platform/runtime/Error.h"
#include "platform/widgets/CommonDialog.h"
#include "platform/widgets/ElasticPanel.h"
#include "platform/widgets/ImageList.h"
#include "platform/widgets/Toolbar.h"
#include "tests/support/ScriptedModalRunner.h"
#include "tests/support/ScriptedMsgBox.h"
#include "tests/support/ShownDialogs.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QLabel>
#include <QLayout>
#include <QMouseEvent>
#include <QTemporaryDir>

#include <functional>
#include <new>
#include <stdexcept>

using pelmora::ActionKeyword;
using platform::widgets::ButtonStyle;
using testing_support::ScriptedModalRunner;
using testing_support::ScriptedMsgBox;

namespace {

// Binds a command of the control to a recorder that notes its keyword and answers `answer`.
void record(PelmoraC02 &control, QStringList &ran, ActionKeyword keyword, bool answer)
{
    control.actionTable.bind(keyword, [&ran, keyword, answer] {
        ran << pelmora::actionKeywordText(keyword);
        return answer;
    });
}

QList<int> visibleItems(const PelmoraC02 &control)
{
    QList<int> visible;
    for (int i = 1; i <= control.tbToolBar->buttonCount(); ++i) {
        if (control.tbToolBar->button(i)->isVisible())
            visible << i;
    }
    return visible;
}

void sendMouse(QWidget &widget, QEvent::Type type, QPoint at,
               Qt::MouseButton button = Qt::LeftButton)
{
    QMouseEvent event(type, QPointF(at), QPointF(widget.mapToGlobal(at)), button,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : button, Qt::NoModifier);
    QApplication::sendEvent(&widget, &event);
}

} // namespace

TEST(ControlCreation, FillsTheTablesAndBuildsItsChildren)
{
    ScriptedMsgBox boxes;
    PelmoraC02 control;
    EXPECT_EQ(control.objectName(), "PelmoraC02");
    EXPECT_EQ(control.controlFlags.logging, 0);
    EXPECT_FALSE(control.connState.interactiveRequested);
    EXPECT_EQ(control.messageTables.msgEnglish[0], "Parameter error: Can't open chosen cube.");
    EXPECT_EQ(control.messageTables.msgSpanish[18], "Exportar vista");
    EXPECT_EQ(control.lblCubo->text(), "Cubo");

    // The panel stacks title, titles grid, data grid and chart area, in that order.
    platform::widgets::ElasticPanel &el1 = *control.el1;
    ASSERT_EQ(el1.paneCount(), 4);
    EXPECT_EQ(el1.paneWidget(PelmoraC02::TitlePane), control.lblCubo);
    EXPECT_EQ(el1.paneWidget(PelmoraC02::HeadingsPane), control.grdTitulos);
    EXPECT_EQ(el1.paneWidget(PelmoraC02::MatrixPane), control.grdResults);
    EXPECT_EQ(el1.paneWidget(PelmoraC02::ChartPane), control.chartArea);
    const int size = platform::widgets::ElasticPanel::PaneSizeValue;
    EXPECT_EQ(el1.paneValue(size, 0), platform::widgets::ElasticPanel::NaturalSize);
    EXPECT_GT(el1.paneValue(size, 1), 0);
    EXPECT_EQ(el1.paneValue(size, 2), platform::widgets::ElasticPanel::ElasticSize);
    EXPECT_EQ(el1.paneValue(size, 3), platform::widgets::ElasticPanel::ElasticSize);

    // The panel follows the control's size.
    control.resize(500, 400);
    control.show();
    const int before = control.grdResults->height();
    control.resize(500, 600);
    control.layout()->activate();
    EXPECT_GT(control.grdResults->height(), before);
    EXPECT_EQ(control.el1->width(), 500);
    EXPECT_EQ(boxes.count(), 0);
}

TEST(ControlToolbar, IsBuiltWithItsKeysTooltipsAndPictures)
{
    const struct
    {
        int index;
        QString key;
        QString toolTip;
    } buttons[] = {
        {1, "openOlap", "Abrir conexión a un cubo cubo"},
        {2, "saveView", "Guarda la vista actual"},
        {4, "printView", "Imprimir"},
        {5, "exportView", "Exportar"},
        {6, "copyView", "Copiar"},
        {8, "directMDX", "Pantalla de SQL directo"},
        {9, "showElements", "Muestra o esconde elementos de la forma"},
        {10, "showChart2d", "Muestra gráfica 2d"},
        {11, "showChart3d", "Muestra gráfica 2d"},
        {13, "doSwapXY", "Rota el cubo en su eje"},
        {14, "showLayout", "Cambia el layout del cubo"},
        {15, "dimensionOptions", "Cambia opciones de dimensiones"},
        {17, "doFormat", "Formato del cubo"},
        {19, "aboutBox", "Muestra la ventana Acerca de.."},
    };
    PelmoraC02 control;
    ASSERT_EQ(control.tbToolBar->buttonCount(), 19);
    EXPECT_EQ(control.tbToolBar->imageList(), control.ImageList1);
    ASSERT_EQ(control.ImageList1->count(), 14);
    QList<int> separators;
    for (int i = 1; i <= 19; ++i) {
        if (control.tbToolBar->button(i)->style() == ButtonStyle::Separator)
            separators << i;
    }
    EXPECT_EQ(separators, QList<int>({3, 7, 12, 16, 18}));
    int image = 0;
    for (const auto &b : buttons) {
        const platform::widgets::ToolbarButton *button = control.tbToolBar->button(b.index);
        SCOPED_TRACE(b.key.toStdString());
        EXPECT_EQ(button->key(), b.key);
        EXPECT_EQ(button->toolTipText(), b.toolTip);
        EXPECT_EQ(button->image(), ++image);
        // Every button shows a picture: the theme's, or the drawn one.
        EXPECT_FALSE(button->action()->icon().pixmap(16, 16).isNull());
    }
    EXPECT_EQ(visibleItems(control).size(), 19);
}

TEST(ControlToolbar, DrawsItsOwnPicturesWhereTheThemeHasNone)
{
    QList<QImage> pictures;
    for (int image = 1; image <= pelmora::toolbarImageCount; ++image) {
        const QImage picture = pelmora::drawnToolbarImage(image).pixmap(32, 32).toImage();
        ASSERT_FALSE(picture.isNull()) << image;
        int opaque = 0;
        for (int y = 0; y < picture.height(); ++y) {
            for (int x = 0; x < picture.width(); ++x)
                opaque += qAlpha(picture.pixel(x, y)) > 0 ? 1 : 0;
        }
        EXPECT_GT(opaque, 50) << image; // a picture, not a blank
        EXPECT_FALSE(pictures.contains(picture)) << image << " looks like another one";
        pictures << picture;
    }
    EXPECT_TRUE(pelmora::drawnToolbarImage(0).isNull());
    EXPECT_TRUE(pelmora::drawnToolbarImage(pelmora::toolbarImageCount + 1).isNull());
}

TEST(ControlToolbar, ShowsAndHidesTheCubeAndLayoutGroups)
{
    PelmoraC02 control;
    control.showCubeButtons(false);
    EXPECT_EQ(visibleItems(control), QList<int>({1, 19}));
    control.showCubeButtons(true);
    EXPECT_EQ(visibleItems(control).size(), 19);

    control.showLayoutButtons(false);
    EXPECT_EQ(visibleItems(control),
              QList<int>({1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 16, 18, 19}));
    control.showCubeButtons(false);
    control.showLayoutButtons(true); // the layout group alone, separators stay hidden
    EXPECT_EQ(visibleItems(control), QList<int>({1, 13, 14, 15, 17, 19}));
}

TEST(ControlToolbar, AButtonRunsItsCommandThenRaisesClick)
{
    ScriptedMsgBox boxes;
    PelmoraC02 control;
    QStringList ran;
    record(control, ran, ActionKeyword::ReadRegistry, true);
    record(control, ran, ActionKeyword::ShowLayout, true);
    record(control, ran, ActionKeyword::AboutBox, false);
    QObject::connect(&control, &PelmoraC02::Click, [&] { ran << "Click"; });
    QObject::connect(&control, &PelmoraC02::DblClick, [&] { ran << "DblClick"; });

    control.tbToolBar->button(14)->action()->trigger();
    EXPECT_EQ(ran, QStringList({"READREGISTRY", "SHOWLAYOUT", "Click"}));
    ran.clear();
    control.tbToolBar->button(19)->action()->trigger(); // the result is not looked at
    EXPECT_EQ(ran, QStringList({"ABOUTBOX", "Click"}));

    // A failing command is reported by doAction; the click is still raised.
    ran.clear();
    control.actionTable.bind(ActionKeyword::DoFormat,
                             []() -> bool { throw platform::Error("Overflow"); });
    control.tbToolBar->button(17)->action()->trigger();
    EXPECT_EQ(ran, QStringList({"Click"}));
    EXPECT_EQ(boxes.texts(), QStringList({"doAction: Overflow"}));
}

// Whatever a command throws (an allocation that failed among them) is that command's error:
// one box, False, and the control runs the next command as before.
TEST(ControlCommands, AnyExceptionOfACommandIsItsError)
{
    const struct
    {
        const char *name;
        std::function<bool()> command;
        const char *box;
    } cases[] = {
        {"platform error", []() -> bool { throw platform::Error("Overflow"); },
         "doAction: Overflow"},
        {"allocation", []() -> bool { throw std::bad_alloc(); }, "doAction: Out of memory"},
        {"standard exception", []() -> bool { throw std::length_error("vector too long"); },
         "doAction: vector too long"},
        {"anything else", []() -> bool { throw 42; }, "doAction: Unknown error"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedMsgBox boxes;
        PelmoraC02 control;
        QStringList ran;
        record(control, ran, ActionKeyword::ReadRegistry, true);
        record(control, ran, ActionKeyword::ShowLayout, true);
        control.actionTable.bind(ActionKeyword::DoFormat, c.command);
        EXPECT_FALSE(control.doAction("doFormat"));
        EXPECT_EQ(boxes.texts(), QStringList({c.box}));
        EXPECT_TRUE(control.doAction("showLayout"));
        EXPECT_EQ(ran, QStringList({"READREGISTRY", "SHOWLAYOUT"}));
    }
}

// The show handler with the connection recorded instead of made.
class ControlShowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        record(control, ran, ActionKeyword::ReadRegistry, false);
        record(control, ran, ActionKeyword::ConectaCuboNI, false);
    }

    bool connectionTried() const { return ran.contains("CONECTACUBONI"); }

    ScriptedMsgBox boxes;
    PelmoraC02 control;
    QStringList ran;
};

TEST_F(ControlShowTest, ConnectsOnlyWhenTheOpenParametersNameASource)
{
    const struct
    {
        const char *name;
        pelmora::OpenParams params;
        bool connects;
    } cases[] = {
        {"nothing", {}, false},
        {"server and cube without database", {"olap1", "", "Sales", "", "", "", ""}, false},
        {"server and database without cube", {"olap1", "FoodMart", "", "", "", "", ""}, false},
        {"database and cube only", {"", "FoodMart", "Sales", "", "", "", ""}, false},
        {"a statement only", {"", "", "", "", "", "", "SELECT"}, false},
        {"server, database and cube", {"olap1", "FoodMart", "Sales", "", "", "", ""}, true},
        {"cube file", {"", "", "", "/c/sales.cub", "", "", ""}, true},
        {"web address", {"", "", "", "", "http://h/s.cub", "", ""}, true},
        {"view file", {"", "", "", "", "", "/v/a.vcg", ""}, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        ran.clear();
        boxes.clear();
        control.openParams = c.params;
        EXPECT_EQ(pelmora::connectionWanted(c.params), c.connects);
        control.UserControl_Show();
        EXPECT_EQ(connectionTried(), c.connects);
        // The recorded connection fails: message 0, OK only.
        EXPECT_EQ(boxes.texts(), c.connects ? QStringList{"Parameter error: Can't open chosen "
                                                          "cube."}
                                            : QStringList());
    }
}

TEST_F(ControlShowTest, RunsOnEveryShowAndReadsSettingsFirst)
{
    control.openParams.OpenFile = "/c/sales.cub";
    control.language.LanguageID = pelmora::Spanish;
    control.show();
    EXPECT_EQ(ran, QStringList({"READREGISTRY", "CONECTACUBONI"}));
    control.hide();
    control.show();
    EXPECT_EQ(ran, QStringList({"READREGISTRY", "CONECTACUBONI", "CONECTACUBONI"}));
    EXPECT_EQ(boxes.texts(),
              QStringList(2, "Error en parametros: No se puede abrir el cubo deseado."));
    EXPECT_EQ(boxes.shown()[0].buttons, platform::forms::OkOnly);
}

// Inside a window: the window hidden and shown again with the control (as a view window is
// when it is minimised, arranged or maximised) keeps the view; the control itself hidden by
// its container and shown again starts up again, also when its window was hidden meanwhile.
TEST(ControlShowInWindow, OnlyTheFirstShowAndAShowAfterTheContainerHidItStartUp)
{
    ScriptedMsgBox boxes;
    QWidget window;
    auto *control = new PelmoraC02(&window);
    QStringList ran;
    record(*control, ran, ActionKeyword::ReadRegistry, false);
    record(*control, ran, ActionKeyword::ConectaCuboNI, false);
    control->openParams.OpenFile = "/c/sales.cub";
    window.show();
    EXPECT_EQ(ran, QStringList({"READREGISTRY", "CONECTACUBONI"}));
    window.hide();
    window.show();
    window.showMaximized();
    window.showNormal();
    EXPECT_EQ(ran.count("CONECTACUBONI"), 1);

    control->hide();
    control->show();
    EXPECT_EQ(ran.count("CONECTACUBONI"), 2);
    control->hide();
    window.hide();
    control->show();
    window.show();
    EXPECT_EQ(ran.count("CONECTACUBONI"), 3);
    window.hide();
    window.show();
    EXPECT_EQ(ran.count("CONECTACUBONI"), 3);
    EXPECT_EQ(boxes.count(), 3); // each failed connection says so
}

TEST_F(ControlShowTest, ADisabledControlDoesNothing)
{
    control.openParams.OpenFile = "/c/sales.cub";
    control.setEnabledProperty(false);
    control.show();
    EXPECT_TRUE(ran.isEmpty());
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(ControlShowTest, AfterConnectingTheQueryRuns)
{
    record(control, ran, ActionKeyword::ConectaCuboNI, true);
    control.openParams.OpenFile = "/c/sales.cub";
    control.UserControl_Show();
    EXPECT_EQ(boxes.count(), 0);

    // A fixed statement that does not run leaves the control interactive.
    control.openParams.MDX = "SELECT FROM [Sales]";
    control.UserControl_Show();
    EXPECT_EQ(boxes.count(), 0);
    EXPECT_TRUE(control.controlFlags.Interactive);
    EXPECT_TRUE(control.tbToolBar->button(14)->isVisible());
    EXPECT_FALSE(control.grdTitulos->isHidden());
}

TEST(ControlEvents, SurfaceClicksRaiseClickAndDblClick)
{
    PelmoraC02 control;
    control.resize(300, 200);
    QStringList raised;
    QObject::connect(&control, &PelmoraC02::Click, [&] { raised << "Click"; });
    QObject::connect(&control, &PelmoraC02::DblClick, [&] { raised << "DblClick"; });
    const QPoint at(150, 150);

    sendMouse(control, QEvent::MouseButtonPress, at);
    sendMouse(control, QEvent::MouseButtonRelease, at);
    EXPECT_EQ(raised, QStringList({"Click"}));

    // A double click: press, release, double click, release.
    raised.clear();
    sendMouse(control, QEvent::MouseButtonPress, at);
    sendMouse(control, QEvent::MouseButtonRelease, at);
    sendMouse(control, QEvent::MouseButtonDblClick, at);
    sendMouse(control, QEvent::MouseButtonRelease, at);
    EXPECT_EQ(raised, QStringList({"Click", "DblClick"}));

    // A double click whose release went elsewhere (a dialog opened on DblClick): the next
    // click is a click.
    raised.clear();
    sendMouse(control, QEvent::MouseButtonDblClick, at);
    sendMouse(control, QEvent::MouseButtonPress, at);
    sendMouse(control, QEvent::MouseButtonRelease, at);
    EXPECT_EQ(raised, QStringList({"DblClick", "Click"}));

    raised.clear();
    sendMouse(control, QEvent::MouseButtonPress, at, Qt::RightButton);
    sendMouse(control, QEvent::MouseButtonRelease, at, Qt::RightButton);
    sendMouse(control, QEvent::MouseButtonPress, at);
    sendMouse(control, QEvent::MouseButtonRelease, QPoint(400, 150)); // let go outside
    EXPECT_TRUE(raised.isEmpty());
}

TEST(ControlEvents, DownloadCompletionStoresTheLocalFileOfOpenWwwDirOnly)
{
    ScriptedMsgBox boxes;
    PelmoraC02 control;
    using Async = PelmoraC02::AsyncProperty;
    const struct
    {
        const char *name;
        Async completion;
        QString openFile;
        int downloadState;
    } cases[] = {
        {"done", {"OpenWWWDir", "/cache/sales.cub", false, ""}, "/cache/sales.cub", 1},
        {"failed", {"OpenWWWDir", "", true, "HTTP 404"}, "before.cub", -1},
        {"another property", {"Picture", "/cache/p.png", false, ""}, "before.cub", 0},
        {"another property failing", {"Picture", "", true, "lost"}, "before.cub", 0},
        {"name in another case", {"openwwwdir", "/cache/x.cub", false, ""}, "before.cub", 0},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        control.openParams.OpenFile = "before.cub";
        control.connState.downloadState = pelmora::DownloadWaiting;
        control.UserControl_AsyncReadComplete(c.completion);
        EXPECT_EQ(control.openParams.OpenFile, c.openFile);
        EXPECT_EQ(control.connState.downloadState, c.downloadState);
    }
    EXPECT_EQ(boxes.count(), 0);
}

TEST(ControlEvents, AsyncReadDownloadsIntoTheCache)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString source = QDir(dir.path()).filePath("sales.cub");
    QFile file(source);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("cube data");
    file.close();

    ScriptedMsgBox boxes;
    PelmoraC02 control;
    auto waitForDownload = [&] {
        QElapsedTimer timer;
        timer.start();
        while (control.connState.downloadState == pelmora::DownloadWaiting
               && timer.elapsed() < 10000)
            QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    };

    control.AsyncRead(QUrl::fromLocalFile(source).toString(), "OpenWWWDir");
    waitForDownload();
    ASSERT_EQ(control.connState.downloadState, pelmora::DownloadDone);
    EXPECT_TRUE(
        control.openParams.OpenFile.startsWith(platform::automation::Download::cacheDirectory()));
    QFile copy(control.openParams.OpenFile);
    ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
    EXPECT_EQ(copy.readAll(), "cube data");

    control.connState.downloadState = pelmora::DownloadWaiting;
    const QString downloaded = control.openParams.OpenFile;
    control.AsyncRead(QUrl::fromLocalFile(source + ".missing").toString(), "OpenWWWDir");
    waitForDownload();
    EXPECT_EQ(control.connState.downloadState, pelmora::DownloadFailed);
    EXPECT_EQ(control.openParams.OpenFile, downloaded);
    EXPECT_EQ(boxes.count(), 0); // a failed download is silent
}

TEST(ControlDialogs, SaveDialogAnswersTheChosenName)
{
    ScriptedMsgBox boxes;
    ScriptedModalRunner runner;
    PelmoraC02 control;
    control.dlg->setFileName("/old/name.vcg");
    QTemporaryDir dir;
    const QString chosen = QDir(dir.path()).filePath("view.vcg");
    runner.then([&](QDialog &dialog) {
        auto *files = qobject_cast<QFileDialog *>(&dialog);
        if (!files)
            return int(QDialog::Rejected);
        EXPECT_EQ(files->windowTitle(), "Choose a view file Name");
        EXPECT_EQ(files->nameFilters(), QStringList({"Pelmora view (*.vcg)"}));
        EXPECT_EQ(files->acceptMode(), QFileDialog::AcceptSave);
        EXPECT_FALSE(files->selectedFiles().value(0).endsWith("name.vcg")); // name cleared
        files->selectFile(chosen);
        return int(QDialog::Accepted);
    });
    EXPECT_EQ(control.saveDialog(control.message(1), control.message(2)), chosen);
    EXPECT_EQ(boxes.count(), 0);
}

TEST(ControlDialogs, CancellingTheSaveDialogIsReportedAndGivesNoName)
{
    ScriptedMsgBox boxes;
    ScriptedModalRunner runner;
    runner.then([](QDialog &) { return int(QDialog::Rejected); });
    PelmoraC02 control;
    EXPECT_EQ(control.saveDialog("Title", "Pelmora view (*.vcg)|*.vcg"), QString());
    EXPECT_EQ(boxes.texts(), QStringList({"saveDialog: Cancel was selected."}));
    EXPECT_EQ(runner.shown(), QStringList({"saveFileDialog"}));
}

// The same dialog shown for real: a name typed and Enter give it; Escape is the cancel that is
// reported.
TEST(ControlDialogsOnScreen, TheSaveDialogTakesATypedNameOrEscape)
{
    using testing_support::pressKey;
    using testing_support::typeInto;
    using testing_support::whenShown;
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString chosen = QDir(dir.path()).filePath("typed.vcg");
    ScriptedMsgBox boxes;
    PelmoraC02 control;
    QString title;
    whenShown([&](QWidget &files) {
        title = files.windowTitle();
        typeInto(files, chosen);
        pressKey(files, Qt::Key_Return);
    });
    EXPECT_EQ(control.saveDialog(control.message(1), control.message(2)), chosen);
    EXPECT_EQ(title, "Choose a view file Name");
    EXPECT_EQ(boxes.count(), 0);

    whenShown([](QWidget &files) { pressKey(files, Qt::Key_Escape); });
    EXPECT_EQ(control.saveDialog("Title", "Pelmora view (*.vcg)|*.vcg"), QString());
    EXPECT_EQ(boxes.texts(), QStringList({"saveDialog: Cancel was selected."}));
}
