// The real main window, offscreen: start-up from the command line, the child windows, every
// command reaching the active view's control, save, interactive, help, arrangements and the
// window geometry.
#include "Control/core/PelmoraC02.h"
#include "Control/settings/ViewFileFormat.h"
#include "PelmoraApp/Arrange.h"
#include "PelmoraApp/HostTables.h"
#include "PelmoraApp/Settings.h"
#include "PelmoraApp/frmMain.h"
#include "PelmoraApp/frmPelmoraXpalOmrf.h"
#include "platform/automation/ClassRegistry.h"
#include "platform/automation/Extender.h"
#include "platform/forms/ScreenTwips.h"
#include "platform/runtime/Error.h"
#include "platform/widgets/ImageList.h"
#include "platform/widgets/Toolbar.h"
#include "tests/PelmoraApp/HostTestSupport.h"
#include "tests/platform/olap/CubeFixtures.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/ScriptedModalRunner.h"
#include "tests/support/ScriptedMsgBox.h"
#include "tests/support/ShownDialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLocale>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QStatusBar>
#include <QTime>

#include <unistd.h>

using hosttest::Recorder;
using hosttest::RecordingControl;
using testing_support::ScriptedModalRunner;
using testing_support::ScriptedMsgBox;

namespace {

class HostWindow : public hosttest::HostTest
{
protected:
    // Deferred deletes (closed child windows) run.
    static void settle()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }

    static RecordingControl *controlOf(frmPelmoraXpalOmrf *child)
    {
        return child ? qobject_cast<RecordingControl *>(child->PelmoraC021) : nullptr;
    }

    static QMdiSubWindow *subOf(frmPelmoraXpalOmrf *child)
    {
        return qobject_cast<QMdiSubWindow *>(child->parentWidget());
    }

    static QByteArray read(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
    }

    static void write(const QString &path, const QByteArray &bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    // Where each dimension stands: "<name> <place> <position>", in record order.
    static QStringList layoutOf(const PelmoraC02 &control)
    {
        QStringList places;
        for (const pelmora::OrderDim &d : control.layoutState.orderDim)
            places << QStringLiteral("%1 %2 %3").arg(d.nombre).arg(d.lugar).arg(d.orden);
        return places;
    }

    static QStringList filesIn(const QString &dir)
    {
        return QDir(dir).entryList(QDir::Files | QDir::Hidden, QDir::Name);
    }

    // A main window whose first view is the real control on `cube`, its axes swapped.
    std::unique_ptr<frmMain> openSwapped(const QString &cube, const QStringList &options = {})
    {
        auto main = makeMain(nullptr);
        main->MDIForm_Load(options + QStringList{cube});
        main->show();
        if (main->activeChild() && main->activeChild()->control())
            trigger(*main, "mnuActionsSwapXY");
        return main;
    }
};

} // namespace

TEST_F(HostWindow, TheCommandLineGivesTheLanguageAndTheFirstWindowsFile)
{
    struct Case
    {
        QStringList arguments;
        int language;
        const char *openFile;
        const char *openView;
        const char *action;
    };
    const Case cases[] = {
        {{}, 0, "", "", "openOlap"},
        {{"/L", "Spanish", "/tmp/my cubes/sales.cub"},
         1,
         "/tmp/my cubes/sales.cub",
         "",
         "openParam"},
        {{"/tmp/my cubes/sales.cub", "/l", "Spanish"},
         1,
         "/tmp/my cubes/sales.cub",
         "",
         "openParam"},
        {{"/tmp/sales.vcg", "/L", "English", "more", "words"},
         0,
         "",
         "/tmp/sales.vcg",
         "openParam"},
        {{"/tmp/sales.cub", "/L", "spanish"}, 0, "/tmp/sales.cub", "", "openParam"},
        {{"/L", "Klingon", "/tmp/sales.cub"}, 0, "/tmp/sales.cub", "", "openParam"},
        {{"/tmp/views.v2/sales.vcg"}, 0, "", "/tmp/views.v2/sales.vcg", "openParam"},
        {{"/tmp/a.b.cub"}, 0, "/tmp/a.b.cub", "", "openParam"},
        {{"/tmp/SALES.CUB"}, 0, "", "", "openOlap"},
        {{"/tmp/sales"}, 0, "", "", "openOlap"},
        {{"/X", "/tmp/sales.cub"}, 0, "", "", "openOlap"},
    };
    for (const Case &c : cases) {
        const std::string label = c.arguments.join(' ').toStdString();
        Recorder recorder;
        auto main = makeMain(&recorder);
        main->MDIForm_Load(c.arguments);
        EXPECT_EQ(main->vLanguageId, c.language) << label;
        ASSERT_EQ(recorder.made.size(), 1) << label;
        RecordingControl *control = recorder.last();
        ASSERT_NE(control, nullptr) << label;
        EXPECT_EQ(control->languageId, c.language) << label;
        EXPECT_FALSE(control->visibleToolBar) << label;
        EXPECT_EQ(control->openFile, QString::fromUtf8(c.openFile)) << label;
        EXPECT_EQ(control->openView, QString::fromUtf8(c.openView)) << label;
        EXPECT_EQ(control->actions, QStringList({QString::fromLatin1(c.action)})) << label;
        EXPECT_EQ(main->windowCounter(), 1) << label;
        // The opened view gets a shown child window with the view's caption.
        const QList<frmPelmoraXpalOmrf *> children = main->childWindows();
        ASSERT_EQ(children.size(), 1) << label;
        EXPECT_EQ(children[0]->windowTitle(), "Sales view") << label;
        EXPECT_FALSE(subOf(children[0])->isHidden()) << label;
        EXPECT_FALSE(children[0]->isHidden()) << label;
        EXPECT_FALSE(control->isHidden()) << label;
        EXPECT_EQ(main->activeChild(), children[0]) << label;
    }
}

TEST_F(HostWindow, OnlyTheFirstWindowTakesTheFileAndACancelledOpenLeavesNoWindow)
{
    Recorder recorder;
    auto main = makeMain(&recorder);
    main->MDIForm_Load({"/tmp/sales.cub"});
    ASSERT_EQ(main->childWindows().size(), 1);

    // A later window asks, and the user cancels: nothing stays, the counter still grew.
    recorder.answers[QStringLiteral("OPENOLAP")] = false;
    trigger(*main, "mnuFileOpen");
    ASSERT_EQ(recorder.made.size(), 2);
    EXPECT_EQ(recorder.made[1], nullptr); // the window and its control are gone
    EXPECT_EQ(main->childWindows().size(), 1);
    EXPECT_EQ(main->windowCounter(), 2);

    // The toolbar's open button does the same; this time the user picks something.
    recorder.answers[QStringLiteral("OPENOLAP")] = true;
    main->tbToolBar->button(1)->action()->trigger();
    ASSERT_EQ(recorder.made.size(), 3);
    EXPECT_EQ(recorder.last()->actions, QStringList({"openOlap"}));
    EXPECT_TRUE(recorder.last()->openFile.isEmpty());
    EXPECT_EQ(main->childWindows().size(), 2);
    EXPECT_EQ(main->windowCounter(), 3);

    // A first open that fails leaves the main window empty.
    Recorder failing;
    failing.answers.clear();
    auto other = makeMain(&failing);
    other->MDIForm_Load({"/tmp/missing.cub"});
    EXPECT_TRUE(other->childWindows().isEmpty());
    EXPECT_EQ(failing.made.value(0), nullptr);
}

TEST_F(HostWindow, EveryMenuItemAndToolbarKeyReachesTheActiveControl)
{
    Recorder recorder;
    auto main = makeMain(&recorder);
    main->MDIForm_Load({});
    trigger(*main, "mnuFileOpen");
    ASSERT_EQ(main->childWindows().size(), 2);
    frmPelmoraXpalOmrf *first = main->childWindows()[0];
    frmPelmoraXpalOmrf *second = main->childWindows()[1];
    ASSERT_EQ(main->activeChild(), second);
    main->mdiArea->setActiveSubWindow(subOf(first));
    ASSERT_EQ(main->activeChild(), first);
    controlOf(first)->actions.clear();

    const struct
    {
        const char *item;
        const char *keyword;
    } menus[] = {
        // clang-format off
        {"mnuFilePrint", "printView"},         {"mnuFileExport", "ExportView"},
        {"mnuEditCopy", "copyView"},           {"mnuEditFormat", "doFormat"},
        {"mnuActionsMDXDirect", "directMDX"},  {"mnuActionsShowElements", "showElements"},
        {"mnuActionsChart2d", "showChart2d"},  {"mnuActionsChart3d", "showChart3d"},
        {"mnuActionsSwapXY", "doSwapXY"},      {"mnuActionsLayout", "showLayout"},
        {"mnuActionsDimension", "dimensionOptions"}, {"mnuHelpAbout", "AboutBox"},
        // clang-format on
    };
    for (const auto &m : menus) {
        trigger(*main, m.item);
        EXPECT_EQ(controlOf(first)->actions.value(0), QString::fromLatin1(m.keyword)) << m.item;
        EXPECT_EQ(controlOf(first)->actions.size(), 1) << m.item;
        controlOf(first)->actions.clear();
    }
    // Each toolbar key but "openOlap" goes over unchanged.
    for (int index = 2; index <= pelmoraapp::toolbarEntryCount; ++index) {
        platform::widgets::ToolbarButton *button = main->tbToolBar->button(index);
        if (button->key().isEmpty())
            continue;
        button->action()->trigger();
        EXPECT_EQ(controlOf(first)->actions, QStringList({button->key()})) << index;
        controlOf(first)->actions.clear();
    }
    EXPECT_TRUE(controlOf(second)->actions == QStringList({"openOlap"}));
    EXPECT_EQ(recorder.made.size(), 2); // no hidden control for About with a window open
}

TEST_F(HostWindow, WithoutAWindowOnlyAboutActsThroughAHiddenControl)
{
    ScriptedMsgBox boxes;
    Recorder recorder;
    recorder.answers[QStringLiteral("OPENOLAP")] = false;
    auto main = makeMain(&recorder);
    main->MDIForm_Load({"/L", "Spanish"});
    ASSERT_TRUE(main->childWindows().isEmpty());
    ASSERT_EQ(main->windowCounter(), 1);

    for (const char *item : {"mnuFilePrint", "mnuEditCopy", "mnuActionsSwapXY",
                             "mnuActionsInteractive", "mnuFileSave", "mnuFileClose"})
        trigger(*main, item);
    main->tbToolBar->button(4)->action()->trigger();
    EXPECT_EQ(recorder.made.size(), 1); // nothing was created for them
    EXPECT_EQ(boxes.count(), 0);

    trigger(*main, "mnuHelpAbout");
    ASSERT_EQ(recorder.made.size(), 2);
    main->tbToolBar->button(19)->action()->trigger();
    ASSERT_EQ(recorder.made.size(), 3);
    // Each about box had a control of its own, in the window's language, gone afterwards.
    EXPECT_EQ(recorder.made[1], nullptr);
    EXPECT_EQ(recorder.made[2], nullptr);
    EXPECT_EQ(main->windowCounter(), 1);
    EXPECT_TRUE(main->childWindows().isEmpty());
}

TEST_F(HostWindow, TheAboutControlGetsTheLanguageAndTheAboutKeyword)
{
    Recorder recorder;
    recorder.answers[QStringLiteral("OPENOLAP")] = false;
    auto main = makeMain(&recorder);
    main->MDIForm_Load({"/L", "Spanish"});
    trigger(*main, "mnuHelpAbout");
    EXPECT_EQ(recorder.log, QStringList({"1 openOlap", "1 AboutBox"}));
}

TEST_F(HostWindow, TheInteractiveMarkBelongsToEachWindow)
{
    ScriptedMsgBox boxes;
    Recorder recorder;
    auto main = makeMain(&recorder);
    main->MDIForm_Load({});
    trigger(*main, "mnuFileOpen");
    frmPelmoraXpalOmrf *first = main->childWindows()[0];
    frmPelmoraXpalOmrf *second = main->childWindows()[1];
    QAction *mark = main->menuAction("mnuActionsInteractive");
    EXPECT_TRUE(mark->isChecked());

    main->mdiArea->setActiveSubWindow(subOf(first));
    trigger(*main, "mnuActionsInteractive");
    EXPECT_FALSE(controlOf(first)->interactive);
    EXPECT_FALSE(mark->isChecked());
    EXPECT_EQ(boxes.count(), 0);

    // The other view is still interactive and can be made non-interactive too.
    main->mdiArea->setActiveSubWindow(subOf(second));
    EXPECT_TRUE(mark->isChecked());
    trigger(*main, "mnuActionsInteractive");
    EXPECT_FALSE(controlOf(second)->interactive);
    EXPECT_EQ(boxes.count(), 0);

    // A view that is no longer interactive stays so, and says why.
    main->mdiArea->setActiveSubWindow(subOf(first));
    EXPECT_FALSE(mark->isChecked());
    trigger(*main, "mnuActionsInteractive");
    EXPECT_EQ(boxes.texts(), QStringList({"A non interactive session cannot become "
                                          "interactive. Please open another window."}));
    EXPECT_FALSE(mark->isChecked());
    EXPECT_FALSE(controlOf(first)->interactive);
}

TEST_F(HostWindow, SaveWritesANewViewAndAsksBeforeReplacingOne)
{
    ScriptedMsgBox boxes;
    ScriptedModalRunner runner;
    Recorder recorder;
    auto main = makeMain(&recorder);
    main->MDIForm_Load({});
    const QString view = dirPath("sales.vcg");
    const QString chart2d = dirPath("sales.oc2");
    const QString chart3d = dirPath("sales.oc3");

    // A new file: written without a question.
    runner.then([&](QDialog &dialog) {
        auto *files = qobject_cast<QFileDialog *>(&dialog);
        EXPECT_NE(files, nullptr);
        if (files) {
            EXPECT_EQ(files->windowTitle(), "Choose the file name of the view");
            EXPECT_EQ(files->nameFilters(), QStringList({"View (*.vcg)"}));
            EXPECT_EQ(files->acceptMode(), QFileDialog::AcceptSave);
        }
        return chooseFile(view)(dialog);
    });
    trigger(*main, "mnuFileSave");
    EXPECT_EQ(recorder.written, QStringList({view}));
    EXPECT_EQ(read(view), "view 1");
    EXPECT_EQ(boxes.count(), 0);

    // Cancelled: nothing.
    runner.then(chooseFile(QString()));
    trigger(*main, "mnuFileSave");
    EXPECT_EQ(recorder.written.size(), 1);

    // Existing, answered No: untouched.
    write(chart2d, "old 2d");
    write(chart3d, "old 3d");
    runner.then(chooseFile(view));
    boxes.answer({platform::forms::No});
    trigger(*main, "mnuFileSave");
    EXPECT_EQ(boxes.texts(),
              QStringList({"File: " + view + " already existes. Would you like to overwrite?"}));
    EXPECT_EQ(boxes.shown().value(0).buttons, platform::forms::YesNo);
    EXPECT_EQ(recorder.written.size(), 1);
    EXPECT_EQ(read(view), "view 1");

    // Answered Yes: replaced; the old chart files go with the old view.
    boxes.clear();
    runner.then(chooseFile(view));
    boxes.answer({platform::forms::Yes});
    trigger(*main, "mnuFileSave");
    EXPECT_EQ(boxes.count(), 1);
    EXPECT_EQ(read(view), "view 2");
    EXPECT_FALSE(QFile::exists(chart2d));
    EXPECT_FALSE(QFile::exists(chart3d));
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList({"sales.vcg"}));
}

// The save dialog and the question before replacing a view, shown for real and answered with
// the keys and the mouse.
class SaveOnScreen : public HostWindow
{
};

TEST_F(SaveOnScreen, TheDialogAndTheQuestionAreAnsweredAsAUserWould)
{
    using testing_support::clickOn;
    using testing_support::pressKey;
    using testing_support::typeInto;
    using testing_support::whenShown;
    Recorder recorder;
    auto main = makeMain(&recorder);
    main->MDIForm_Load({});
    const QString view = dirPath("sales.vcg");

    QString title;
    whenShown([&](QWidget &files) {
        title = files.windowTitle();
        typeInto(files, view);
        pressKey(files, Qt::Key_Return);
    });
    trigger(*main, "mnuFileSave");
    EXPECT_EQ(title, "Choose the file name of the view");
    EXPECT_EQ(recorder.written, QStringList({view}));

    // The same name again: the question, answered No with the mouse, keeps the view; then Yes
    // with the keys replaces it.
    for (const bool yes : {false, true}) {
        SCOPED_TRACE(yes);
        QString question;
        whenShown([&](QWidget &files) {
            whenShown([&](QWidget &box) {
                auto *message = qobject_cast<QMessageBox *>(&box);
                ASSERT_TRUE(message);
                question = message->text();
                if (yes)
                    pressKey(box, Qt::Key_Y); // the underlined letter of "&Yes"
                else
                    clickOn(message->button(QMessageBox::No));
            });
            typeInto(files, view);
            pressKey(files, Qt::Key_Return);
        });
        trigger(*main, "mnuFileSave");
        EXPECT_EQ(question, "File: " + view + " already existes. Would you like to overwrite?");
        EXPECT_EQ(recorder.written.size(), yes ? 2 : 1);
    }
    EXPECT_EQ(read(view), "view 2");

    // Escape in the dialog saves nothing.
    whenShown([](QWidget &files) { pressKey(files, Qt::Key_Escape); });
    trigger(*main, "mnuFileSave");
    EXPECT_EQ(recorder.written.size(), 2);
}

TEST_F(HostWindow, AFailedReplaceKeepsTheOldViewAndSaysSo)
{
    ScriptedMsgBox boxes;
    ScriptedModalRunner runner;
    Recorder recorder;
    recorder.writeSucceeds = false;
    auto main = makeMain(&recorder);
    main->MDIForm_Load({"/L", "Spanish"});
    const QString view = dirPath("sales.vcg");
    write(view, "old view");
    write(dirPath("sales.oc2"), "old 2d");
    write(dirPath("sales.oc3"), "old 3d");

    runner.then(chooseFile(view));
    boxes.answer({platform::forms::Yes});
    trigger(*main, "mnuFileSave");
    EXPECT_EQ(recorder.written, QStringList({view}));
    EXPECT_EQ(read(view), "old view");
    EXPECT_EQ(read(dirPath("sales.oc2")), "old 2d");
    EXPECT_EQ(read(dirPath("sales.oc3")), "old 3d");
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files).size(), 3);
    EXPECT_EQ(boxes.texts(), QStringList({"El archivo: " + view + " ya existe. Desea rescribirlo?",
                                          "No se pudo escribir la vista en: " + view
                                              + ". Se conserva la vista anterior."}));
}

// When the old view cannot be put back, the note says where it is instead of that it was kept.
TEST_F(HostWindow, AnOldViewThatCannotGoBackIsNamedWhereItIs)
{
    ScriptedMsgBox boxes;
    ScriptedModalRunner runner;
    Recorder recorder;
    recorder.writeSucceeds = false;
    recorder.failureLeavesFolder = true;
    auto main = makeMain(&recorder);
    main->MDIForm_Load({});
    const QString view = dirPath("sales.vcg");
    write(view, "old view");

    runner.then(chooseFile(view));
    boxes.answer({platform::forms::Yes});
    trigger(*main, "mnuFileSave");
    const QStringList kept = QDir(m_dir.path()).entryList(QDir::Files);
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(read(dirPath(kept[0])), "old view");
    ASSERT_EQ(boxes.count(), 2);
    EXPECT_EQ(boxes.texts()[1], "The view could not be written to: " + view
                                    + ". The previous view could not be put back; it is kept as: "
                                    + dirPath(kept[0]));
}

TEST_F(HostWindow, HelpOpensThePagesInTheBrowserOrSaysWhyNot)
{
    ScriptedMsgBox boxes;
    Recorder recorder;
    auto main = makeMain(&recorder);
    main->MDIForm_Load({});
    const QString page = dirPath("index.html");
    write(page, "<html></html>");
    main->setHelpFile(page);
    trigger(*main, "mnuHelpContents");
    EXPECT_EQ(m_helpOpened, QStringList({QUrl::fromLocalFile(page).toString()}));
    EXPECT_EQ(boxes.count(), 0);

    // The browser does not come up.
    m_helpOpens = false;
    trigger(*main, "mnuHelpContents");
    EXPECT_EQ(boxes.texts(), QStringList({"The help contents can't be shown. This file could "
                                          "not be opened: "
                                          + page}));

    // No help at all: the information box titled with the main window's caption.
    boxes.clear();
    main->setHelpFile(dirPath("missing/index.html"));
    trigger(*main, "mnuHelpContents");
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.shown()[0].text, "The help contents can't be shown. There is no help for "
                                     "this project.");
    EXPECT_EQ(boxes.shown()[0].title, "Pelmora Application");
    EXPECT_EQ(boxes.shown()[0].icon, platform::forms::Information);
    EXPECT_EQ(m_helpOpened.size(), 2);
}

TEST_F(HostWindow, TheHelpPagesBesideTheProgramDescribeEveryCommand)
{
    QString pages;
    for (const QString &name : QDir(QStringLiteral(PELMORA_HOST_HELP)).entryList(QDir::Files))
        pages += read(QDir(QStringLiteral(PELMORA_HOST_HELP)).filePath(name));
    ASSERT_TRUE(pages.contains("<html")) << PELMORA_HOST_HELP;
    for (const auto &[name, caption] : pelmoraapp::menuCaptions(pelmoraapp::englishId)) {
        QString shown = caption;
        shown.remove('&').remove("...");
        EXPECT_TRUE(pages.contains(shown)) << caption.toStdString();
    }
}

TEST_F(HostWindow, TitlesFollowTheLanguage)
{
    Recorder recorder;
    auto english = makeMain(&recorder);
    english->MDIForm_Load({});
    EXPECT_EQ(english->windowTitle(), "Pelmora Application");
    EXPECT_EQ(english->menuAction("mnuFileOpen")->text(), "&Open...");
    EXPECT_EQ(english->menuAction("mnuFileOpen")->shortcut(), QKeySequence("Ctrl+O"));
    EXPECT_EQ(english->menuAction("mnuFileSave")->shortcut(), QKeySequence("Ctrl+G"));
    EXPECT_EQ(english->tbToolBar->button(1)->toolTipText(), "Open cube");
    EXPECT_EQ(english->tbToolBar->button(11)->toolTipText(), "Show 3D chart");
    EXPECT_EQ(english->tbToolBar->buttonCount(), 19);

    auto spanish = makeMain(&recorder);
    spanish->MDIForm_Load({"/L", "Spanish"});
    for (const auto &[name, caption] : pelmoraapp::menuCaptions(pelmoraapp::spanishId))
        EXPECT_EQ(spanish->menuAction(name)->text(), caption) << name.toStdString();
    EXPECT_EQ(spanish->menu("mnuWindow")->title(), "&Ventana");
    // The table keeps "-" for a separator; on screen it is a plain line without text.
    for (const pelmoraapp::MenuEntry &e : pelmoraapp::menuEntries()) {
        if (!e.separator)
            continue;
        EXPECT_EQ(e.english, "-") << e.name.toStdString();
        for (frmMain *main : {english.get(), spanish.get()}) {
            QAction *bar = main->menuAction(e.name);
            EXPECT_TRUE(bar->isSeparator()) << e.name.toStdString();
            EXPECT_EQ(bar->text(), "") << e.name.toStdString();
        }
    }
    EXPECT_EQ(spanish->tbToolBar->button(1)->toolTipText(), "Abrir conexión a un cubo cubo");
    EXPECT_EQ(spanish->tbToolBar->button(11)->toolTipText(), "Muestra gráfica 2d");
    EXPECT_FALSE(spanish->menuAction("mnuFileMRU1")->isVisible());
}

TEST_F(HostWindow, ToolbarAndStatusBarToggleAndTheStatusBarShowsDateAndTime)
{
    Recorder recorder;
    auto main = makeMain(&recorder);
    main->MDIForm_Load({});
    main->show();
    trigger(*main, "mnuViewToolbar");
    EXPECT_FALSE(main->tbToolBar->isVisible());
    EXPECT_FALSE(main->menuAction("mnuViewToolbar")->isChecked());
    trigger(*main, "mnuViewToolbar");
    EXPECT_TRUE(main->tbToolBar->isVisible());
    trigger(*main, "mnuViewStatusBar");
    EXPECT_FALSE(main->sbStatusBar->isVisible());
    trigger(*main, "mnuViewStatusBar");
    EXPECT_TRUE(main->sbStatusBar->isVisible());

    main->updateClock();
    const QLocale locale;
    EXPECT_EQ(main->sbPanels[0]->text(), QString());
    EXPECT_EQ(main->sbPanels[1]->text(),
              locale.toString(QDate::currentDate(), QLocale::ShortFormat));
    const QString time = main->sbPanels[2]->text();
    EXPECT_TRUE(time == locale.toString(QTime::currentTime(), QLocale::ShortFormat)
                || time == locale.toString(QTime::currentTime().addSecs(-60), QLocale::ShortFormat))
        << time.toStdString();
}

TEST_F(HostWindow, TheChildWindowKeepsItsControlFillingIt)
{
    Recorder recorder;
    auto main = makeMain(&recorder);
    main->resize(900, 700);
    main->MDIForm_Load({});
    main->show();
    frmPelmoraXpalOmrf *child = main->childWindows().value(0);
    ASSERT_NE(child, nullptr);
    subOf(child)->resize(500, 300);
    EXPECT_EQ(child->PelmoraC021->geometry(), QRect(QPoint(0, 0), child->size()));
    subOf(child)->showMinimized();
    subOf(child)->showNormal();
    EXPECT_EQ(child->PelmoraC021->geometry(), QRect(QPoint(0, 0), child->size()));

    // File > Close unloads the active window with its control.
    QPointer<RecordingControl> control = controlOf(child);
    trigger(*main, "mnuFileClose");
    settle();
    EXPECT_EQ(control, nullptr);
    EXPECT_TRUE(main->childWindows().isEmpty());
}

TEST_F(HostWindow, WindowsAreTiledArrangedAndListed)
{
    Recorder recorder;
    auto main = makeMain(&recorder);
    main->resize(900, 700);
    main->MDIForm_Load({});
    main->show();
    trigger(*main, "mnuFileOpen");
    trigger(*main, "mnuFileOpen");
    QList<frmPelmoraXpalOmrf *> children = main->childWindows();
    ASSERT_EQ(children.size(), 3);
    const QRect area = main->mdiArea->viewport()->rect();

    trigger(*main, "mnuWindowTileHorizontal");
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(subOf(children[i])->geometry(), pelmoraapp::tileHorizontal(area, 3)[i]) << i;
    trigger(*main, "mnuWindowTileVertical");
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(subOf(children[i])->geometry(), pelmoraapp::tileVertical(area, 3)[i]) << i;
    trigger(*main, "mnuWindowCascade");
    EXPECT_LT(subOf(children[0])->y(), subOf(children[1])->y());

    // A minimised window's icon goes to the bottom; the others tile above it.
    QMdiSubWindow *icon = subOf(children[2]);
    icon->showMinimized();
    icon->move(area.center());
    trigger(*main, "mnuWindowArrangeIcons");
    EXPECT_EQ(icon->geometry(), pelmoraapp::arrangeIcons(area, {icon->size()})[0]);
    trigger(*main, "mnuWindowTileVertical");
    const QRect above = pelmoraapp::areaAboveIcons(area, {icon->size()});
    EXPECT_EQ(subOf(children[0])->geometry(), pelmoraapp::tileVertical(above, 2)[0]);
    EXPECT_EQ(subOf(children[1])->geometry(), pelmoraapp::tileVertical(above, 2)[1]);

    // The Window menu lists the children and activates the one chosen.
    recorder.last()->caption.clear();
    children[1]->setWindowTitle("Second view");
    main->mdiArea->setActiveSubWindow(subOf(children[0]));
    QMenu *windowMenu = main->menu("mnuWindow");
    emit windowMenu->aboutToShow();
    QStringList listed;
    QAction *second = nullptr;
    for (QAction *a : windowMenu->actions()) {
        if (!a->objectName().startsWith("mnuWindowList"))
            continue;
        listed << a->text() + (a->isChecked() ? " *" : "");
        if (a->text().startsWith("&2"))
            second = a;
    }
    EXPECT_EQ(listed, QStringList({"&1 Sales view *", "&2 Second view", "&3 Sales view"}));
    ASSERT_NE(second, nullptr);
    second->trigger();
    EXPECT_EQ(main->activeChild(), children[1]);
}

TEST_F(HostWindow, GeometryIsStoredOnUnloadAndReadAtStart)
{
    using platform::forms::pixelsToTwipsX;
    using platform::forms::pixelsToTwipsY;
    using platform::forms::twipsToPixelsX;
    using platform::forms::twipsToPixelsY;
    Recorder recorder;
    {
        auto main = makeMain(&recorder);
        main->MDIForm_Load({});
        // The first run opens at 1000, 1000, 6500, 6500 twips.
        EXPECT_EQ(main->pos(), QPoint(twipsToPixelsX(1000), twipsToPixelsY(1000)));
        EXPECT_EQ(main->size(), QSize(twipsToPixelsX(6500), twipsToPixelsY(6500)));
        main->show();
        main->move(120, 90);
        main->resize(700, 500);
        trigger(*main, "mnuFileExit");
        EXPECT_FALSE(main->isVisible());
    }
    const pelmoraapp::StoredGeometry stored = pelmoraapp::readStoredGeometry();
    EXPECT_EQ(stored,
              (pelmoraapp::StoredGeometry{float(pixelsToTwipsX(120)), float(pixelsToTwipsY(90)),
                                          float(pixelsToTwipsX(700)), float(pixelsToTwipsY(500))}));
    {
        auto main = makeMain(&recorder);
        main->MDIForm_Load({});
        EXPECT_EQ(QRect(main->pos(), main->size()), QRect(120, 90, 700, 500));
        // Closed while minimised: the stored values stay.
        main->show();
        main->move(300, 300);
        main->showMinimized();
        main->close();
    }
    EXPECT_EQ(pelmoraapp::readStoredGeometry(), stored);

    // Stored where no screen is: brought back onto the screen.
    pelmoraapp::writeStoredGeometry({9.0e6f, 9.0e6f, 9000, 7000});
    auto main = makeMain(&recorder);
    main->MDIForm_Load({});
    const QRect screen = QApplication::primaryScreen()->availableGeometry();
    EXPECT_TRUE(screen.intersects(QRect(main->pos(), main->size())));
    EXPECT_EQ(main->pos(), screen.topLeft() + QPoint(twipsToPixelsX(1000), twipsToPixelsY(1000)));
}

TEST_F(HostWindow, TheRealControlOpensTheCommandLinesCubeInAChildWindow)
{
    ScriptedMsgBox boxes;
    ScriptedModalRunner runner;
    QDir().mkpath(dirPath("cubes.2024"));
    const QString cube = testing_support::buildFixtureCube(dirPath("cubes.2024"));
    auto main = makeMain(nullptr);
    main->MDIForm_Load({"/L", "Spanish", cube});
    main->show();
    ASSERT_EQ(main->childWindows().size(), 1) << boxes.texts().join('\n').toStdString();
    frmPelmoraXpalOmrf *child = main->childWindows()[0];
    // The host registered its own library, and the control is the class it was built with.
    EXPECT_FALSE(platform::automation::registeredLibrary("PelmoraApp.PelmoraC02").isEmpty());
    PelmoraC02 *control = child->control();
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(child->windowTitle(), cube);
    EXPECT_EQ(control->languageId(), 1);
    EXPECT_EQ(control->openFile(), cube);
    EXPECT_TRUE(control->tbToolBar->isHidden());
    EXPECT_TRUE(control->isVisible());
    EXPECT_GT(control->grdResults->rows(), 1);
    EXPECT_EQ(control->geometry(), QRect(QPoint(0, 0), child->size()));
    EXPECT_EQ(main->menuAction("mnuFile")->text(), "&Archivo");

    // A later window asks through the control's open dialog; cancelling it leaves nothing.
    runner.then([](QDialog &dialog) {
        EXPECT_EQ(dialog.objectName(), "frmOpen");
        return ScriptedModalRunner::click(dialog, "cmdCancelar") ? int(QDialog::Rejected)
                                                                 : int(QDialog::Rejected);
    });
    trigger(*main, "mnuFileOpen");
    EXPECT_EQ(runner.shown(), QStringList({"frmOpen"}));
    EXPECT_EQ(main->childWindows().size(), 1);
    EXPECT_EQ(main->windowCounter(), 2);

    // Choosing a cube file there opens a second view.
    runner.then([](QDialog &dialog) {
        ScriptedModalRunner::click(dialog, "cmdCubo");
        return dialog.result();
    });
    runner.then(chooseFile(cube));
    trigger(*main, "mnuFileOpen");
    ASSERT_EQ(main->childWindows().size(), 2) << boxes.texts().join('\n').toStdString();
    EXPECT_EQ(main->activeChild(), main->childWindows()[1]);
    EXPECT_EQ(main->activeChild()->windowTitle(), cube);

    // Forwarded commands reach the active view only.
    PelmoraC02 *firstControl = main->childWindows()[0]->control();
    PelmoraC02 *secondControl = main->childWindows()[1]->control();
    const QStringList layout = layoutOf(*secondControl);
    trigger(*main, "mnuActionsSwapXY");
    EXPECT_NE(layoutOf(*secondControl), layout);
    EXPECT_EQ(layoutOf(*firstControl), layout);
    // The about box is not built yet: it answers False and changes nothing.
    trigger(*main, "mnuHelpAbout");
    EXPECT_EQ(main->childWindows().size(), 2);
    main->close();
}

TEST_F(HostWindow, TheCommandLinesViewOpensInTheFirstWindowAsItWasSaved)
{
    ScriptedMsgBox boxes;
    ScriptedModalRunner runner;
    const QString cube = testing_support::buildFixtureCube(m_dir.path());
    const QString view = dirPath("views.2024/by store.vcg");
    QDir().mkpath(dirPath("views.2024"));
    QStringList layout;
    QString statement;
    {
        auto main = openSwapped(cube);
        ASSERT_EQ(main->childWindows().size(), 1) << boxes.texts().join('\n').toStdString();
        PelmoraC02 *control = main->activeChild()->control();
        ASSERT_NE(control, nullptr);
        control->setProperty("Caption", QStringLiteral("Sales by store"));
        layout = layoutOf(*control);
        statement = control->queryState.currentMDX;
        // Saved by the host's own command: a new file is written without a question.
        runner.then(chooseFile(view));
        trigger(*main, "mnuFileSave");
        ASSERT_TRUE(QFile::exists(view)) << boxes.texts().join('\n').toStdString();
        EXPECT_EQ(boxes.count(), 0) << boxes.texts().join('\n').toStdString();
        main->close();
    }
    ASSERT_FALSE(statement.isEmpty());

    auto main = makeMain(nullptr);
    main->MDIForm_Load({view});
    main->show();
    ASSERT_EQ(main->childWindows().size(), 1) << boxes.texts().join('\n').toStdString();
    EXPECT_EQ(boxes.count(), 0) << boxes.texts().join('\n').toStdString();
    frmPelmoraXpalOmrf *child = main->childWindows()[0];
    PelmoraC02 *control = child->control();
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(child->windowTitle(), "Sales by store");
    EXPECT_EQ(control->openView(), view);
    EXPECT_EQ(control->openFile(), cube);
    EXPECT_EQ(layoutOf(*control), layout);
    EXPECT_EQ(control->queryState.currentMDX, statement);
    EXPECT_GT(control->grdResults->rows(), 1);
    EXPECT_TRUE(control->tbToolBar->isHidden());
    EXPECT_EQ(control->geometry(), QRect(QPoint(0, 0), child->size()));
    // The main window and the view wear the program's own picture.
    const QImage picture = main->ImageList1->image(frmMain::programImage).pixmap(24).toImage();
    EXPECT_EQ(main->windowIcon().pixmap(24).toImage(), picture);
    EXPECT_EQ(subOf(child)->windowIcon().pixmap(24).toImage(), picture);
}

TEST_F(HostWindow, SavingOverAViewWithTheRealControlKeepsOrReplacesItsFiles)
{
    const QString cube = testing_support::buildFixtureCube(m_dir.path());
    const QString folder = dirPath("views");
    QDir().mkpath(folder);
    const QString view = QDir(folder).filePath("sales.vcg");
    const QString chart2d = QDir(folder).filePath("sales.oc2");
    const QString chart3d = QDir(folder).filePath("sales.oc3");
    const QString replaceNote = "File: " + view + " already existes. Would you like to overwrite?";
    const QString failNote =
        "The view could not be written to: " + view + ". The previous view has been kept.";
    const QStringList oldFiles = {"sales.oc2", "sales.oc3", "sales.vcg"};

    enum class Failure { None, WriteFails, ReadOnlyFolder };
    const struct Case
    {
        const char *name;
        int answer;
        Failure failure;
        bool replaced;
        int boxes; // the question, the control's report, the host's note
    } cases[] = {
        {"answered No", platform::forms::No, Failure::None, false, 1},
        {"answered Yes", platform::forms::Yes, Failure::None, true, 1},
        {"write fails", platform::forms::Yes, Failure::WriteFails, false, 3},
        {"read-only folder", platform::forms::Yes, Failure::ReadOnlyFolder, false, 2},
    };
    for (const Case &c : cases) {
        // Folder rights do not stop the superuser.
        if (c.failure == Failure::ReadOnlyFolder && ::geteuid() == 0)
            continue;
        ScriptedMsgBox boxes;
        ScriptedModalRunner runner;
        auto main = openSwapped(cube);
        ASSERT_EQ(main->childWindows().size(), 1) << c.name;
        PelmoraC02 *control = main->activeChild()->control();
        ASSERT_NE(control, nullptr) << c.name;
        write(view, "old view");
        write(chart2d, "old 2d");
        write(chart3d, "old 3d");
        if (c.failure == Failure::ReadOnlyFolder)
            QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::ExeOwner);

        runner.then(chooseFile(view));
        boxes.answer({c.answer});
        {
            std::unique_ptr<testing_support::FileSizeLimit> limit;
            if (c.failure == Failure::WriteFails)
                limit = std::make_unique<testing_support::FileSizeLimit>(16);
            trigger(*main, "mnuFileSave");
        }
        QFile::setPermissions(folder, QFileDevice::ReadOwner | QFileDevice::WriteOwner
                                          | QFileDevice::ExeOwner);

        const QStringList texts = boxes.texts();
        ASSERT_EQ(texts.size(), c.boxes) << c.name << "\n" << texts.join('\n').toStdString();
        EXPECT_EQ(texts.first(), replaceNote) << c.name;
        if (c.failure == Failure::WriteFails) {
            EXPECT_TRUE(texts[1].startsWith("writeView: ")) << c.name;
        }
        if (c.failure != Failure::None) {
            EXPECT_EQ(texts.last(), failNote) << c.name;
        }
        if (!c.replaced) {
            // The old view and its chart files as they were, and nothing left beside them.
            EXPECT_EQ(read(view), "old view") << c.name;
            EXPECT_EQ(read(chart2d), "old 2d") << c.name;
            EXPECT_EQ(read(chart3d), "old 3d") << c.name;
            EXPECT_EQ(filesIn(folder), oldFiles) << c.name;
        } else {
            // The new view reads back as the control's view; old chart files are gone.
            const pelmora::ViewFile saved = pelmora::parseViewFile(read(view));
            EXPECT_EQ(saved.currentMDX, control->queryState.currentMDX) << c.name;
            EXPECT_NE(read(chart2d), "old 2d") << c.name;
            EXPECT_NE(read(chart3d), "old 3d") << c.name;
            for (const QString &file : filesIn(folder))
                EXPECT_TRUE(oldFiles.contains(file)) << c.name << " " << file.toStdString();
        }
        main->close();
        for (const QString &file : filesIn(folder))
            QFile::remove(QDir(folder).filePath(file));
    }
}

// The sample cube as a new user sees it: the cube and a saved view of it, side by side. The
// main window's picture is kept with the test pictures, in the build tree.
TEST_F(HostWindow, TheSampleCubeAndASavedViewOfItOpenInTwoTiledViews)
{
    const QString sample = QStringLiteral(PELMORA_SAMPLE_CUBE);
    if (!QFile::exists(sample))
        GTEST_SKIP() << "the sample cube fixture has not been written: " << PELMORA_SAMPLE_CUBE;
    ScriptedMsgBox boxes;
    ScriptedModalRunner runner;
    auto main = makeMain(nullptr);
    main->resize(1200, 860);
    main->MDIForm_Load({sample});
    main->show();
    ASSERT_EQ(main->childWindows().size(), 1) << boxes.texts().join('\n').toStdString();
    PelmoraC02 *first = main->activeChild()->control();
    ASSERT_NE(first, nullptr);
    const QStringList opened = layoutOf(*first);
    const QString openedStatement = first->queryState.currentMDX;

    // The first view's axes swapped, saved, and the saved view opened from the open dialog.
    trigger(*main, "mnuActionsSwapXY");
    ASSERT_NE(layoutOf(*first), opened);
    const QStringList swapped = layoutOf(*first);
    const QString view = dirPath("sample swapped.vcg");
    runner.then(chooseFile(view));
    trigger(*main, "mnuFileSave");
    ASSERT_TRUE(QFile::exists(view)) << boxes.texts().join('\n').toStdString();
    runner.then([](QDialog &dialog) {
        ScriptedModalRunner::click(dialog, "cmdVista");
        return dialog.result();
    });
    runner.then(chooseFile(view));
    main->tbToolBar->button(1)->action()->trigger();
    ASSERT_EQ(main->childWindows().size(), 2) << boxes.texts().join('\n').toStdString();
    EXPECT_EQ(boxes.count(), 0) << boxes.texts().join('\n').toStdString();
    // The first view is put back as it opened, so the two differ.
    main->mdiArea->setActiveSubWindow(subOf(main->childWindows()[0]));
    trigger(*main, "mnuActionsSwapXY");
    EXPECT_EQ(layoutOf(*first), opened);
    EXPECT_EQ(first->queryState.currentMDX, openedStatement);

    main->move(0, 0);
    main->resize(1200, 860);
    trigger(*main, "mnuWindowTileVertical");
    const QList<frmPelmoraXpalOmrf *> children = main->childWindows();
    PelmoraC02 *second = children[1]->control();
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(children[0]->windowTitle(), sample);
    EXPECT_EQ(second->openView(), view);
    EXPECT_EQ(layoutOf(*second), swapped);
    EXPECT_NE(second->queryState.currentMDX, first->queryState.currentMDX);
    for (frmPelmoraXpalOmrf *child : children) {
        PelmoraC02 *control = child->control();
        ASSERT_NE(control, nullptr);
        EXPECT_GT(control->grdResults->rows(), 1);
        EXPECT_GT(control->grdResults->cols(), 1);
        EXPECT_TRUE(control->grdResults->isVisible());
        EXPECT_EQ(control->geometry(), QRect(QPoint(0, 0), child->size()));
        EXPECT_FALSE(subOf(child)->geometry().isEmpty());
    }
    EXPECT_FALSE(subOf(children[0])->geometry().intersects(subOf(children[1])->geometry()));

    QCoreApplication::processEvents();
    QDir().mkpath(PELMORA_TEST_PICTURES);
    const QString shot = QDir(PELMORA_TEST_PICTURES).filePath("PelmoraApp-two-views.png");
    QFile::remove(shot);
    EXPECT_TRUE(main->grab().save(shot)) << shot.toStdString();
}

TEST_F(HostWindow, AStaleRegistrationIsRenewedAndAControlThatCannotBeMadeLeavesNoWindow)
{
    ScriptedMsgBox boxes;
    ScriptedModalRunner runner;
    // A registration whose library is gone, as after moving the program.
    platform::automation::registerClass("PelmoraApp.PelmoraC02", dirPath("gone/libPelmoraApp.so"));
    runner.then([](QDialog &) { return int(QDialog::Rejected); });
    auto main = makeMain(nullptr);
    main->MDIForm_Load({});
    EXPECT_EQ(runner.shown(), QStringList({"frmOpen"})); // the control was made and asked
    const QString library = platform::automation::registeredLibrary("PelmoraApp.PelmoraC02");
    EXPECT_TRUE(QFile::exists(library)) << library.toStdString();
    EXPECT_EQ(boxes.count(), 0);

    main->setControlFactory(
        [](QWidget *) -> QWidget * { throw platform::Error(QStringLiteral("no such class")); });
    trigger(*main, "mnuFileOpen");
    EXPECT_EQ(boxes.texts(), QStringList({"The cube control cannot be created: no such class"}));
    EXPECT_TRUE(main->childWindows().isEmpty());
    EXPECT_EQ(main->windowCounter(), 2);
}
