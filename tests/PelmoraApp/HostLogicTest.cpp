// The host's rules that need no window: the command line, the caption tables, what each
// command does, the arrangements' geometry, the stored geometry, the save's safety net, the
// registration of the control library and the guard of the event loop.
#include "PelmoraApp/Arrange.h"
#include "PelmoraApp/CommandLine.h"
#include "PelmoraApp/Commands.h"
#include "PelmoraApp/ControlHost.h"
#include "PelmoraApp/HostApplication.h"
#include "PelmoraApp/HostTables.h"
#include "PelmoraApp/SaveAside.h"
#include "PelmoraApp/Settings.h"
#include "PelmoraApp/en.h"
#include "platform/automation/ClassRegistry.h"
#include "platform/registry/Store.h"
#include "platform/runtime/Error.h"
#include "tests/PelmoraApp/HostTestSupport.h"
#include "tests/support/ScriptedMsgBox.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QWidget>

#include <functional>
#include <new>
#include <stdexcept>

using namespace pelmoraapp;

namespace {

struct ParseCase
{
    const char *cmd;
    CommandTokens expected;
};

} // namespace

TEST(HostCommandLine, ParseCmdSplitsAtRunsOfBlanksIntoThreeTokens)
{
    const ParseCase cases[] = {
        {"file.cub", {"file.cub", "", "", ""}},
        {"file.cub /L English", {"file.cub", "/L", "English", ""}},
        {"two  words", {"two", "words", "", ""}},
        {" lead", {"", "lead", "", ""}},
        {"c.cub /L English more words", {"c.cub", "/L", "English", ""}},
        {"a b c", {"a", "b", "c", ""}},
        {"", {"", "", "", ""}},
        {"trailing ", {"trailing", "", "", ""}},
    };
    for (const ParseCase &c : cases) {
        CommandTokens tokens;
        parseCmd(QString::fromUtf8(c.cmd), tokens);
        EXPECT_EQ(tokens, c.expected) << c.cmd;
    }
}

TEST(HostCommandLine, ParseCmdIgnoresWhatFollowsTheThirdTokenAndKeepsUnreachedOnes)
{
    // The third token is taken at a blank; the rest is dropped.
    CommandTokens tokens;
    parseCmd(QStringLiteral("a b c d e"), tokens);
    EXPECT_EQ(tokens, (CommandTokens{"a", "b", "c", ""}));
    // Tokens the text does not reach keep their values.
    tokens = {"x", "y", "z", ""};
    parseCmd(QStringLiteral("only"), tokens);
    EXPECT_EQ(tokens, (CommandTokens{"only", "y", "z", ""}));
}

TEST(HostCommandLine, ArgumentsAreTokensAndTheSwitchMayComeFirst)
{
    struct Case
    {
        QStringList arguments;
        CommandTokens tokens;
        int language;
    };
    const Case cases[] = {
        {{}, {"", "", "", ""}, 0},
        {{"/L", "Spanish", "sales.cub"}, {"sales.cub", "/L", "Spanish", ""}, 1},
        {{"/l", "Spanish"}, {"", "/L", "Spanish", ""}, 1},
        {{"sales.cub", "/l", "Spanish"}, {"sales.cub", "/l", "Spanish", ""}, 1},
        {{"sales.cub", "/L", "spanish"}, {"sales.cub", "/L", "spanish", ""}, 0},
        {{"/home/a b/c.cub", "/L", "English", "x", "y"},
         {"/home/a b/c.cub", "/L", "English", ""},
         0},
        {{"c.cub", "/L", "French"}, {"c.cub", "/L", "French", ""}, 0},
        {{"c.cub", "/X", "Spanish"}, {"c.cub", "/X", "Spanish", ""}, 0},
    };
    for (const Case &c : cases) {
        const CommandTokens tokens = startTokens(c.arguments);
        EXPECT_EQ(tokens, c.tokens) << c.arguments.join(' ').toStdString();
        EXPECT_EQ(languageFromTokens(tokens, 0), c.language) << c.arguments.join(' ').toStdString();
    }
    // An unknown language keeps the build's, whatever it is.
    EXPECT_EQ(languageFromTokens(startTokens({"/L", "Klingon"}), 1), 1);
    EXPECT_EQ(en::languageId(), 0);
}

TEST(HostCommandLine, TheFileKindComesFromTheExtensionOfTheFileNameComparedExactly)
{
    const struct
    {
        const char *token;
        OpenRoute route;
    } cases[] = {
        {"/data/sales.cub", OpenRoute::CubeFile},
        {"/data/sales.vcg", OpenRoute::ViewFile},
        {"/data.v2/sales.cub", OpenRoute::CubeFile}, // dots in a folder do not count
        {"/data.v2/sales.vcg", OpenRoute::ViewFile},
        {"a.b.cub", OpenRoute::CubeFile},
        {"sales.CUB", OpenRoute::Ask},
        {"sales.cube", OpenRoute::Ask},
        {"/data.cub/sales", OpenRoute::Ask},
        {"sales", OpenRoute::Ask},
        {"/X", OpenRoute::Ask},
        {"", OpenRoute::Ask},
    };
    for (const auto &c : cases)
        EXPECT_EQ(openRouteFor(QString::fromUtf8(c.token)), c.route) << c.token;
    EXPECT_EQ(fileExtension(QStringLiteral("/a.b/c")), QString());
    EXPECT_EQ(fileExtension(QStringLiteral("/a/c.tar.gz")), QStringLiteral(".gz"));
}

TEST(HostTables, MenusHaveThirtySpanishCaptionsAndSeparatorsKeepTheirDash)
{
    const QList<QPair<QString, QString>> spanish = menuCaptions(spanishId);
    ASSERT_EQ(spanish.size(), 30);
    EXPECT_EQ(spanish.first(), qMakePair(QStringLiteral("mnuFile"), QStringLiteral("&Archivo")));
    EXPECT_EQ(spanish.last(),
              qMakePair(QStringLiteral("mnuHelpAbout"), QStringLiteral("&Acerca de")));
    EXPECT_EQ(menuCaptions(englishId).size(), 30);
    int separators = 0;
    for (const MenuEntry &e : menuEntries()) {
        if (e.separator) {
            ++separators;
            EXPECT_EQ(e.english, "-") << e.name.toStdString();
        }
    }
    EXPECT_EQ(separators, 8); // seven shown and the hidden one before Exit
}

TEST(HostTables, ToolbarHasNineteenItemsWithSeparatorsAtTheirPlaces)
{
    const QList<ToolbarEntry> &entries = toolbarEntries();
    ASSERT_EQ(entries.size(), toolbarEntryCount);
    QList<int> separators;
    for (int i = 0; i < entries.size(); ++i) {
        EXPECT_EQ(entries[i].index, i + 1);
        if (entries[i].key.isEmpty())
            separators.append(entries[i].index);
    }
    EXPECT_EQ(separators, (QList<int>{3, 7, 12, 16, 18}));
    // The built tooltips of the chart buttons are alike; only the English ones differ.
    EXPECT_EQ(entries[9].builtTip, entries[10].builtTip);
    EXPECT_NE(entries[9].englishTip, entries[10].englishTip);
}

TEST(HostCommands, EachMenuItemAndToolbarKeyHasItsCommand)
{
    const struct
    {
        const char *item;
        HostCommand command;
        const char *keyword;
    } menus[] = {
        {"mnuFileOpen", HostCommand::OpenWindow, ""},
        {"mnuFileClose", HostCommand::CloseChild, ""},
        {"mnuFileSave", HostCommand::Save, ""},
        {"mnuFilePrint", HostCommand::Forward, "printView"},
        {"mnuFileExport", HostCommand::Forward, "ExportView"},
        {"mnuFileExit", HostCommand::Exit, ""},
        {"mnuEditCopy", HostCommand::Forward, "copyView"},
        {"mnuEditFormat", HostCommand::Forward, "doFormat"},
        {"mnuViewToolbar", HostCommand::ToggleToolbar, ""},
        {"mnuViewStatusBar", HostCommand::ToggleStatusBar, ""},
        {"mnuActionsMDXDirect", HostCommand::Forward, "directMDX"},
        {"mnuActionsShowElements", HostCommand::Forward, "showElements"},
        {"mnuActionsChart2d", HostCommand::Forward, "showChart2d"},
        {"mnuActionsChart3d", HostCommand::Forward, "showChart3d"},
        {"mnuActionsSwapXY", HostCommand::Forward, "doSwapXY"},
        {"mnuActionsLayout", HostCommand::Forward, "showLayout"},
        {"mnuActionsDimension", HostCommand::Forward, "dimensionOptions"},
        {"mnuActionsInteractive", HostCommand::Interactive, ""},
        {"mnuWindowCascade", HostCommand::Arrange, ""},
        {"mnuHelpContents", HostCommand::HelpContents, ""},
        {"mnuHelpAbout", HostCommand::About, "AboutBox"},
        {"mnuFile", HostCommand::None, ""},
        {"mnuFileBar0", HostCommand::None, ""},
    };
    for (const auto &m : menus) {
        const CommandTarget target = menuCommand(QString::fromLatin1(m.item));
        EXPECT_EQ(target.command, m.command) << m.item;
        EXPECT_EQ(target.keyword, QString::fromLatin1(m.keyword)) << m.item;
    }
    EXPECT_EQ(menuCommand("mnuWindowArrangeIcons").arrangement, Arrangement::ArrangeIcons);
    EXPECT_EQ(menuCommand("mnuWindowTileVertical").arrangement, Arrangement::TileVertical);

    EXPECT_EQ(toolbarCommand("openOlap").command, HostCommand::OpenWindow);
    // Only the exact key opens a window; any other spelling is forwarded unchanged.
    EXPECT_EQ(toolbarCommand("OpenOlap").command, HostCommand::Forward);
    EXPECT_EQ(toolbarCommand("OpenOlap").keyword, "OpenOlap");
    EXPECT_EQ(toolbarCommand("exportView").keyword, "exportView");

    EXPECT_EQ(dispatchTarget("printView", true), DispatchTarget::ActiveControl);
    EXPECT_EQ(dispatchTarget("printView", false), DispatchTarget::Nothing);
    EXPECT_EQ(dispatchTarget("aboutBox", false), DispatchTarget::AboutWithoutWindow);
    EXPECT_EQ(dispatchTarget("ABOUTBOX", false), DispatchTarget::AboutWithoutWindow);
}

TEST(HostArrange, TilesShareTheAreaAndIconsLineTheBottom)
{
    const QRect area(0, 0, 301, 200);
    EXPECT_EQ(tileHorizontal(area, 3),
              (QList<QRect>{QRect(0, 0, 301, 67), QRect(0, 67, 301, 67), QRect(0, 134, 301, 66)}));
    EXPECT_EQ(tileVertical(area, 2),
              (QList<QRect>{QRect(0, 0, 151, 200), QRect(151, 0, 150, 200)}));
    EXPECT_TRUE(tileHorizontal(area, 0).isEmpty());
    // A tiny area still gives every window a place.
    EXPECT_EQ(tileVertical(QRect(0, 0, 1, 10), 3).size(), 3);

    // Three icons of 120 x 30 fit two to a row of 301 pixels; the third starts a row above.
    const QList<QSize> icons(3, QSize(120, 30));
    EXPECT_EQ(
        arrangeIcons(area, icons),
        (QList<QRect>{QRect(0, 170, 120, 30), QRect(120, 170, 120, 30), QRect(0, 140, 120, 30)}));
    EXPECT_EQ(areaAboveIcons(area, icons), QRect(0, 0, 301, 140));
    EXPECT_EQ(areaAboveIcons(area, {}), area);
    // An icon wider than the area still gets a place of its own.
    EXPECT_EQ(arrangeIcons(QRect(0, 0, 50, 100), {QSize(80, 20)}),
              (QList<QRect>{QRect(0, 80, 80, 20)}));
}

TEST(HostSettings, GeometryOffEveryScreenIsBroughtBack)
{
    const QList<QRect> screens = {QRect(0, 0, 1280, 1024), QRect(1280, 0, 1024, 768)};
    const QPoint offset(67, 67);
    // On a screen, or mostly off it with its title bar still showing: left alone.
    for (const QRect &window : {QRect(100, 100, 400, 300), QRect(1300, 10, 400, 300),
                                QRect(-350, 500, 400, 300), QRect(1200, 100, 400, 300)})
        EXPECT_EQ(fitOntoScreens(window, screens, offset), window);
    // Where a removed monitor was, above every screen, or far away: onto the first screen.
    EXPECT_EQ(fitOntoScreens(QRect(2400, 100, 400, 300), screens, offset), QRect(67, 67, 400, 300));
    EXPECT_EQ(fitOntoScreens(QRect(100, -290, 400, 300), screens, offset), QRect(67, 67, 400, 300));
    EXPECT_EQ(fitOntoScreens(QRect(600000, 600000, 4000, 3000), screens, offset),
              QRect(0, 0, 1280, 1024));
    EXPECT_EQ(fitOntoScreens(QRect(10, 10, 90000, 90000), screens, offset),
              QRect(10, 10, 2304, 1024));
    EXPECT_EQ(fitOntoScreens(QRect(5000, 5000, 10, 10), {}, offset), QRect(5000, 5000, 10, 10));
}

class HostSettingsStore : public hosttest::HostTest
{
};

TEST_F(HostSettingsStore, GeometryLivesInTheUsersProgramSettings)
{
    EXPECT_EQ(readStoredGeometry(), StoredGeometry{}); // 1000, 1000, 6500, 6500
    writeStoredGeometry({1200.5f, 900, 9000, 7000});
    const platform::registry::Store store;
    const QString path = QStringLiteral("Software\\Program Settings\\PelmoraApp.en\\Settings");
    EXPECT_EQ(settingsKeyPath(applicationName, settingsSection), path);
    using platform::registry::Root;
    EXPECT_EQ(store.valueNames(Root::CurrentUser, path),
              QStringList({"MainLeft", "MainTop", "MainWidth", "MainHeight"}));
    EXPECT_EQ(store.queryValue(Root::CurrentUser, path, "MainLeft"), QStringLiteral("1200.5"));
    EXPECT_EQ(readStoredGeometry(), (StoredGeometry{1200.5f, 900, 9000, 7000}));

    // Written and read in the user's locale.
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::Spanish, QLocale::Spain));
    writeStoredGeometry({1200.5f, 900, 9000, 7000});
    EXPECT_EQ(store.queryValue(Root::CurrentUser, path, "MainLeft"), QStringLiteral("1200,5"));
    EXPECT_EQ(readStoredGeometry().left, 1200.5f);
    QLocale::setDefault(previous);

    // A value that is not a number takes its default; the others stay.
    saveSetting(applicationName, settingsSection, "MainTop", "tall");
    saveSetting(applicationName, settingsSection, "MainLeft", "1200.5");
    EXPECT_EQ(readStoredGeometry(), (StoredGeometry{1200.5f, 1000, 9000, 7000}));
}

class HostSaveAside : public hosttest::HostTest
{
protected:
    void write(const QString &path, const QByteArray &bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    QByteArray read(const QString &path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(missing)");
    }
};

TEST_F(HostSaveAside, OldFilesReturnWhenTheWriteFailsAndGoWhenItSucceeds)
{
    QDir().mkpath(dirPath("views.2024"));
    const QString view = dirPath("views.2024/sales.vcg");
    EXPECT_EQ(viewFileSet(view), QStringList({view, dirPath("views.2024/sales.oc2"),
                                              dirPath("views.2024/sales.oc3")}));
    write(view, "old view");
    write(dirPath("views.2024/sales.oc2"), "old 2d");
    {
        SaveAside aside;
        ASSERT_TRUE(aside.moveAside(viewFileSet(view)));
        EXPECT_EQ(aside.aside().size(), 2); // there was no .oc3
        EXPECT_FALSE(QFileInfo::exists(view));
        write(view, "half a view"); // what a failed write might leave
        EXPECT_TRUE(aside.restore());
    }
    EXPECT_EQ(read(view), "old view");
    EXPECT_EQ(read(dirPath("views.2024/sales.oc2")), "old 2d");
    EXPECT_EQ(QDir(dirPath("views.2024")).entryList(QDir::Files).size(), 2);

    {
        SaveAside aside;
        ASSERT_TRUE(aside.moveAside(viewFileSet(view)));
        write(view, "new view");
        aside.discard();
    }
    EXPECT_EQ(read(view), "new view");
    EXPECT_EQ(QDir(dirPath("views.2024")).entryList(QDir::Files), QStringList({"sales.vcg"}));

    // Dropped without a verdict, the old files come back.
    {
        SaveAside aside;
        ASSERT_TRUE(aside.moveAside(viewFileSet(view)));
    }
    EXPECT_EQ(read(view), "new view");
}

// The host registers the library it has loaded whenever the registration would give it another
// one, or none.
class HostRegistration : public hosttest::HostTest
{
protected:
    static QString canonical(const QString &path) { return QFileInfo(path).canonicalFilePath(); }
};

TEST_F(HostRegistration, AMissingOrStaleRegistrationIsRenewedAndACurrentOneKept)
{
    const QString own = canonical(PELMORA_APP_LIBRARY);
    ASSERT_FALSE(own.isEmpty());
    EXPECT_EQ(canonical(controlLibrary()), own);
    // Another build's library: a copy of this one elsewhere, and some other file.
    QDir().mkpath(dirPath("other-build"));
    const QString copy = dirPath("other-build/libPelmoraApp.so");
    ASSERT_TRUE(QFile::copy(own, copy));
    const QString text = dirPath("other-build/notes.txt");
    QFile file(text);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a library");
    file.close();
    // The same library by another path stays as it is.
    const QString link = dirPath("libPelmoraApp-link.so");
    ASSERT_TRUE(QFile::link(own, link));

    const struct
    {
        const char *name;
        QString registered; // empty: no registration
        QString afterwards;
    } cases[] = {
        {"none", QString(), own},
        {"a moved library", dirPath("gone/libPelmoraApp.so"), own},
        {"another build's library", copy, own},
        {"a file that is no library", text, own},
        {"a folder", dirPath("other-build"), own},
        {"this library", own, own},
        {"this library by a link", link, link},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        platform::automation::unregisterClass(controlClass);
        if (!c.registered.isEmpty())
            platform::automation::registerClass(controlClass, c.registered);
        ensureControlRegistered();
        EXPECT_EQ(platform::automation::registeredLibrary(controlClass), c.afterwards);
    }
}

namespace {

// A widget whose event handler throws what it is given, as a handler whose allocation fails.
class ThrowingWidget : public QWidget
{
public:
    std::function<void()> raise;

protected:
    bool event(QEvent *e) override
    {
        if (e->type() == QEvent::User && raise)
            raise();
        return QWidget::event(e);
    }
};

} // namespace

TEST(HostEventGuard, AnExceptionOutOfAnEventHandlerIsOneBoxAndTheProgramGoesOn)
{
    const struct
    {
        const char *name;
        std::function<void()> raise;
        int language;
        const char *box; // empty: none
    } cases[] = {
        {"nothing thrown", [] {}, englishId, ""},
        {"allocation", [] { throw std::bad_alloc(); }, englishId,
         "The action could not be completed: Out of memory"},
        {"platform error", [] { throw platform::Error(QStringLiteral("Lost")); }, spanishId,
         "No se pudo terminar la acción: Lost"},
        {"standard exception", [] { throw std::runtime_error("bad state"); }, englishId,
         "The action could not be completed: bad state"},
        {"anything else", [] { throw 7; }, englishId,
         "The action could not be completed: Unknown error"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        testing_support::ScriptedMsgBox boxes;
        ThrowingWidget widget;
        widget.raise = c.raise;
        // Through Qt's own delivery, as the host's notify runs it.
        QEvent event(QEvent::User);
        const bool delivered = deliverGuarded(
            [&] { return QCoreApplication::sendEvent(&widget, &event); }, c.language);
        EXPECT_EQ(delivered, *c.box == '\0');
        EXPECT_EQ(boxes.texts(), *c.box ? QStringList({c.box}) : QStringList());
        if (*c.box) {
            EXPECT_EQ(boxes.shown()[0].icon, platform::forms::Critical);
        }
    }

    // An error raised again while its box is up (a paint event that fails each time) is only
    // logged: one box, not one inside the other without end.
    int boxesShown = 0;
    const platform::forms::MsgBoxHandler previous =
        platform::forms::setMsgBoxHandler([&](const platform::forms::MsgBoxRequest &) {
            ++boxesShown;
            deliverGuarded([]() -> bool { throw std::bad_alloc(); }, englishId);
            return int(platform::forms::Ok);
        });
    EXPECT_FALSE(deliverGuarded([]() -> bool { throw std::bad_alloc(); }, englishId));
    EXPECT_EQ(boxesShown, 1);
    EXPECT_FALSE(deliverGuarded([]() -> bool { throw std::bad_alloc(); }, englishId));
    EXPECT_EQ(boxesShown, 2); // the next error has its box again
    platform::forms::setMsgBoxHandler(previous);
}
