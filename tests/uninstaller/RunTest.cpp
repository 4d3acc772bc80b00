// Whole runs over a fake product: silent and interactive, files in use, directories that
// refuse, links and paths outside the product, and information that is corrupt or cut short.
#include "tests/uninstaller/UninstallFixture.h"

#include "platform/registry/Store.h"
#include "tests/support/ScriptedModalRunner.h"
#include "tests/support/ScriptedMsgBox.h"
#include "tests/support/UserInput.h"
#include "uninstaller/BootRemoval.h"
#include "uninstaller/Dialogs.h"
#include "uninstaller/InstanceLock.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTimer>

#include <cerrno>
#include <cstdio>
#include <cstdlib>

using namespace uninstaller;
using testing_support::ScriptedModalRunner;
using testing_support::ScriptedMsgBox;
using uninstall_test::FakeProduct;
using uninstall_test::Outcome;
using uninstall_test::runAndClose;
using uninstall_test::sharedLib;
namespace reg = platform::registry;
namespace forms = platform::forms;

namespace {

const QString corruptText = QStringLiteral("Uninstallation information corrupt. Aborting.");

// A command line that names one program, its path in quotes (it holds a blank).
QByteArray quoted(const QString &path)
{
    return "\"" + QFile::encodeName(path) + "\"";
}

} // namespace

TEST(UninstallRun, SilentRunRemovesTheProduct)
{
    FakeProduct product;
    UninstallContent content = product.standardContent();
    product.setSharedCount(sharedLib, QStringLiteral("1"));
    product.install(content);
    ScriptedMsgBox boxes;

    EXPECT_EQ(runUninstaller({QStringLiteral("/silent")}, product.settings()), 1);
    EXPECT_EQ(boxes.count(), 0);
    EXPECT_FALSE(product.exists(sharedLib));
    EXPECT_EQ(product.sharedCount(sharedLib), QStringLiteral("none"));
    EXPECT_FALSE(product.exists(QStringLiteral("opt/fake/bin/fake")));
    EXPECT_FALSE(product.exists(QStringLiteral("opt/fake/readme")));
    EXPECT_FALSE(product.exists(QStringLiteral("opt/fake/bin")));
    // Silent: the backup is deleted without being restored.
    EXPECT_FALSE(product.exists(QStringLiteral("opt/fake/backup")));
    QFile installed(product.path(QStringLiteral("opt/fake/lib/libsystem.so")));
    ASSERT_TRUE(installed.open(QIODevice::ReadOnly));
    EXPECT_EQ(installed.readAll(), "replaced");

    const reg::Store store = product.store();
    EXPECT_FALSE(
        store.keyExists(reg::Root::CurrentUser, QStringLiteral("Software\\Fake\\Settings")));
    // "Software\Fake" still holds a value nobody listed: it goes with the key, as a key
    // deletion takes its values; "Software", not flagged, stays with "Other".
    EXPECT_FALSE(store.keyExists(reg::Root::CurrentUser, QStringLiteral("Software\\Fake")));
    EXPECT_TRUE(store.keyExists(reg::Root::CurrentUser, QStringLiteral("Software\\Other")));
    EXPECT_FALSE(product.exists(QStringLiteral("uninstaller"))); // its own file goes too
    EXPECT_TRUE(product.bootEntryText().isEmpty());
}

TEST(UninstallRun, SharedFilesFollowTheirCounts)
{
    struct Case
    {
        QString count; // "" for no registered count
        bool silent;
        int answer; // shared-file question's button, 0 when not asked
        QString countAfter;
        bool fileStays;
    };
    const std::vector<Case> cases = {
        {QStringLiteral("5"), true, 0, QStringLiteral("3"), true}, // one less for each line
        {QStringLiteral("1"), false, SharedFileDialog::No, QStringLiteral("0"), true},
        {QStringLiteral("0"), false, SharedFileDialog::Yes, QStringLiteral("none"), false},
        {QStringLiteral("1"), false, SharedFileDialog::NoToAll, QStringLiteral("0"), true},
        {QString(), true, 0, QStringLiteral("none"), true}, // no count: kept, even silently
        {QStringLiteral("many"), true, 0, QStringLiteral("many"), true},
    };
    for (const Case &c : cases) {
        FakeProduct product;
        UninstallContent content = product.standardContent();
        // A second line for the same path reuses the first answer without asking again.
        content.shared.push_back(content.shared.front());
        product.setSharedCount(QStringLiteral("opt/fake/lib/other"), QStringLiteral("3"));
        if (!c.count.isEmpty())
            product.setSharedCount(sharedLib, c.count);
        product.install(content);
        ScriptedMsgBox boxes(forms::Yes);
        ScriptedModalRunner dialogs;
        if (c.answer)
            dialogs.then([&](QDialog &dialog) {
                auto *question = dialog.findChild<QLabel *>(QStringLiteral("question"));
                EXPECT_EQ(question->text(),
                          QStringLiteral("Shared file ") + product.path(sharedLib)
                              + QStringLiteral(" doesn't seem to be used by any programs. Do "
                                               "you want to remove this file?"));
                return c.answer;
            });
        const QStringList arguments =
            c.silent ? QStringList{QStringLiteral("/SILENT")} : QStringList{};
        EXPECT_EQ(runAndClose(product, arguments, dialogs).exitCode, 1);
        EXPECT_TRUE(dialogs.done());
        EXPECT_EQ(dialogs.unexpected(), 0) << c.count.toStdString();
        EXPECT_EQ(product.sharedCount(sharedLib), c.countAfter) << c.count.toStdString();
        EXPECT_EQ(product.exists(sharedLib), c.fileStays) << c.count.toStdString();
    }
}

TEST(UninstallRun, InteractiveRunAsksRestoresAndReports)
{
    FakeProduct product;
    UninstallContent content = product.standardContent();
    product.install(content);
    ScriptedMsgBox boxes;
    boxes.answer({forms::Yes, forms::Yes}); // continue; restore the backups
    ScriptedModalRunner dialogs;
    const Outcome closer = runAndClose(product, {}, dialogs);
    EXPECT_EQ(closer.exitCode, 1);
    ASSERT_EQ(boxes.count(), 2);
    EXPECT_EQ(boxes.shown()[0].text, QStringLiteral("This will remove Fake Product from your "
                                                    "system, do you want to continue?"));
    EXPECT_EQ(boxes.shown()[0].title, QStringLiteral("Halvesk Uninstaller"));
    EXPECT_TRUE(boxes.shown()[1].text.startsWith(QStringLiteral("Halvesk Installer has taken")));
    EXPECT_EQ(closer.result, QStringLiteral("Uninstallation complete."));
    EXPECT_FALSE(closer.detailsShown);
    // The installed file was as the installer left it: the backup went back in its place.
    QFile installed(product.path(QStringLiteral("opt/fake/lib/libsystem.so")));
    ASSERT_TRUE(installed.open(QIODevice::ReadOnly));
    EXPECT_EQ(installed.readAll(), "original");
    EXPECT_FALSE(product.exists(QStringLiteral("opt/fake/backup/libsystem.so")));
    EXPECT_EQ(product.restarts, 0);
}

TEST(UninstallRun, AnsweringNoRemovesNothing)
{
    FakeProduct product;
    product.install(product.standardContent());
    ScriptedMsgBox boxes(forms::No);
    EXPECT_EQ(runUninstaller({QStringLiteral("C:/SILENT/not-a-switch")}, product.settings()), 0);
    EXPECT_EQ(boxes.count(), 1);
    EXPECT_TRUE(product.exists(QStringLiteral("opt/fake/bin/fake")));
    EXPECT_TRUE(product.exists(QStringLiteral("uninstaller")));
}

TEST(UninstallRun, FilesInUseAreListedAndRemovedAtBoot)
{
    FakeProduct product;
    UninstallContent content = product.standardContent();
    const QByteArray busy = QFile::encodeName(product.path(QStringLiteral("opt/fake/readme")));
    const QByteArray refusing = QFile::encodeName(product.path(QStringLiteral("opt/fake/bin")));
    const QByteArray backup =
        QFile::encodeName(product.path(QStringLiteral("opt/fake/backup/libsystem.so")));
    product.fileSystem.fileErrors[busy] = EBUSY;
    product.fileSystem.directoryErrors[refusing] = EBUSY;
    product.makeFile(QStringLiteral("opt/fake/lib/libsystem.so"), "changed after install");
    product.install(content);
    ScriptedMsgBox boxes;
    boxes.answer({forms::Yes, forms::Yes, forms::Yes}); // continue; restore; restart
    ScriptedModalRunner dialogs;
    const Outcome closer = runAndClose(product, {QStringLiteral("/NOREMOVE")}, dialogs);
    EXPECT_EQ(closer.exitCode, 1);
    EXPECT_EQ(closer.result, QStringLiteral("Uninstallation complete.\nSome elements couldn't "
                                            "be removed."));
    EXPECT_TRUE(closer.detailsShown);
    EXPECT_EQ(closer.details, QStringLiteral("Couldn't delete following files:\n") + busy
                                  + QStringLiteral("\n\nCouldn't remove following directories:\n")
                                  + refusing + QStringLiteral("\n"));
    // The installed file changed since: it stays, and the backup is deleted all the same.
    EXPECT_FALSE(QFileInfo::exists(QString::fromUtf8(backup)));
    ASSERT_EQ(boxes.count(), 3);
    EXPECT_EQ(boxes.shown()[2].text, QStringLiteral("To finalize the uninstallation your "
                                                    "system needs to be restarted. Do you want "
                                                    "to reboot now?"));
    EXPECT_EQ(product.restarts, 1);
    EXPECT_TRUE(product.exists(QStringLiteral("uninstaller")));
    const QString entry = product.bootEntryText();
    EXPECT_TRUE(
        entry.contains(QStringLiteral("\nr! ") + BootRemoval::escaped(busy) + QStringLiteral("\n")))
        << entry.toStdString();
    EXPECT_FALSE(entry.contains(refusing + QStringLiteral("\n"))) << entry.toStdString();
    EXPECT_TRUE(entry.trimmed().endsWith(QStringLiteral(".conf\""))) << entry.toStdString();

    // The entry does what it says when systemd-tmpfiles runs it at boot.
    ASSERT_TRUE(product.exists(QStringLiteral("opt/fake/readme")));
    const QString file = product.path(QStringLiteral("tmpfiles.d/hvun_Fake%20Product.conf"));
    ASSERT_TRUE(QFileInfo::exists(file));
    EXPECT_EQ(product.runBootRemoval(), 0);
    EXPECT_FALSE(product.exists(QStringLiteral("opt/fake/readme")));
    EXPECT_FALSE(QFileInfo::exists(file));
}

TEST(UninstallRun, NeverLeavesTheProduct)
{
    FakeProduct product;
    UninstallContent content = product.standardContent();
    product.makeFile(QStringLiteral("outside/victim"));
    product.makeFile(QStringLiteral("outside/target"));
    QFile::link(product.path(QStringLiteral("outside")),
                product.path(QStringLiteral("opt/fake/link")));
    QFile::link(product.path(QStringLiteral("outside/target")),
                product.path(QStringLiteral("opt/fake/file-link")));
    content.files = {
        product.bytes(QStringLiteral("opt/fake/link/victim")), // through a link
        product.bytes(QStringLiteral("opt/fake/file-link")),   // the link itself goes
        product.bytes(QStringLiteral("outside/victim")),       // outside the roots
        product.bytes(QStringLiteral("opt/fake/../outside/victim")),
        "relative/path",
        "/etc",
    };
    content.directories = {product.bytes(QStringLiteral("opt/fake/link")), "/usr/lib", "/"};
    product.install(content);
    ScriptedMsgBox boxes;
    EXPECT_EQ(runUninstaller({QStringLiteral("/SILENT"), QStringLiteral("/NOREMOVE")},
                             product.settings()),
              1);
    EXPECT_TRUE(product.exists(QStringLiteral("outside/victim")));
    EXPECT_TRUE(product.exists(QStringLiteral("outside/target")));
    EXPECT_FALSE(product.exists(QStringLiteral("opt/fake/file-link")));
    EXPECT_TRUE(product.exists(QStringLiteral("opt/fake/link")));
    EXPECT_TRUE(QFileInfo::exists(QStringLiteral("/etc")));
    EXPECT_TRUE(product.bootEntryText().isEmpty()); // refusals are never scheduled
}

TEST(UninstallRun, RefusesBrokenInformationBeforeAnythingIsRemoved)
{
    QFile program(QStringLiteral(UNINSTALLER_PROGRAM));
    ASSERT_TRUE(program.open(QIODevice::ReadOnly));
    const QByteArray plain = program.readAll();
    struct Case
    {
        std::function<QByteArray(const QByteArray &)> damage;
        QString message;
    };
    const std::vector<Case> cases = {
        {[](const QByteArray &image) { return image.left(image.size() - 9); }, corruptText},
        {[](const QByteArray &image) {
             QByteArray changed = image;
             changed[changed.size() - 30] = char(changed[changed.size() - 30] ^ 1);
             return changed;
         },
         corruptText},
        {[&](const QByteArray &) { return plain; }, corruptText}, // no information at all
        {[](const QByteArray &) { return QByteArray(); },
         QStringLiteral("Couldn't read uninstallation information. Aborting.")},
    };
    for (const Case &c : cases) {
        FakeProduct product;
        product.install(product.standardContent());
        QFile copy(product.programCopy());
        ASSERT_TRUE(copy.open(QIODevice::ReadOnly));
        const QByteArray damaged = c.damage(copy.readAll());
        copy.close();
        if (damaged.isEmpty())
            QFile::remove(product.programCopy());
        else
            product.installRaw(damaged);
        ScriptedMsgBox boxes(forms::Yes);
        EXPECT_EQ(runUninstaller({}, product.settings()), 0);
        ASSERT_EQ(boxes.count(), 1);
        EXPECT_EQ(boxes.shown()[0].text, c.message);
        EXPECT_EQ(boxes.shown()[0].icon, forms::Critical);
        EXPECT_TRUE(product.exists(QStringLiteral("opt/fake/bin/fake")));
        EXPECT_TRUE(product.exists(sharedLib));
        // Silent: the same end without a message.
        ScriptedMsgBox silentBoxes;
        EXPECT_EQ(runUninstaller({QStringLiteral("/SILENT")}, product.settings()), 0);
        EXPECT_EQ(silentBoxes.count(), 0);
    }
}

TEST(UninstallRun, OneRunPerProductAndThePreUninstallCommand)
{
    FakeProduct product;
    UninstallContent content = product.standardContent();
    product.install(content);
    {
        InstanceLock other(product.path(QStringLiteral("run")), "Fake Product");
        ASSERT_TRUE(other.acquired());
        ScriptedMsgBox boxes;
        EXPECT_EQ(runUninstaller({}, product.settings()), 0);
        EXPECT_EQ(boxes.count(), 0);
    }
    product.makeFile(QStringLiteral("opt/fake/stop.BAT"), "#!/bin/sh\nexit 0\n");
    product.makeFile(QStringLiteral("opt/fake/stop.bat"), "#!/bin/sh\nexit 0\n");
    for (const char *script : {"opt/fake/stop.BAT", "opt/fake/stop.bat"})
        QFile::setPermissions(product.path(QString::fromLatin1(script)),
                              QFileDevice::ReadOwner | QFileDevice::ExeOwner);
    struct Case
    {
        QByteArray code, command;
        int result; // of runPreUninstallCommand, -2 when none runs
        bool stops;
    };
    const std::vector<Case> cases = {
        {"100", "/bin/true", -2, false},
        {"101", "/bin/true", -2, false},
        {"", "/bin/true", -2, false},
        {"5", "/bin/true", 0, true},
        {"5", "/bin/false", 1, false},
        {"5", quoted(product.path(QStringLiteral("opt/fake/stop.BAT"))), 1, false},
        {"5", quoted(product.path(QStringLiteral("opt/fake/stop.bat"))), 0, true},
        {"5", "/nonexistent/program", -1, false},
    };
    for (const Case &c : cases) {
        if (c.result != -2) {
            EXPECT_EQ(runPreUninstallCommand(c.command), c.result) << c.command.constData();
        }
        FakeProduct run;
        UninstallContent each = run.standardContent();
        each.commandCode = c.code.constData();
        each.commandLine = c.command.constData();
        run.install(each);
        ScriptedMsgBox boxes;
        EXPECT_EQ(runUninstaller({QStringLiteral("/SILENT")}, run.settings()), c.stops ? 0 : 1);
        EXPECT_EQ(run.exists(QStringLiteral("opt/fake/readme")), c.stops) << c.command.constData();
    }
}

// A command that outlasts one slice of the wait is reaped by the events pumped in it; the wait
// must still end. A watchdog ends the process if the wait spins on.
TEST(UninstallRun, APreUninstallCommandThatEndsDuringThePumpedEventsEndsTheWait)
{
    QTimer watchdog;
    watchdog.setSingleShot(true);
    QObject::connect(&watchdog, &QTimer::timeout, [] {
        std::fprintf(stderr, "the wait for the pre-uninstall command did not end\n");
        std::_Exit(1);
    });
    watchdog.start(30000);
    for (const char *pause : {"0.01", "0.04", "0.06", "0.09", "0.12"})
        for (int i = 0; i < 4; ++i)
            EXPECT_EQ(runPreUninstallCommand(QByteArray("/bin/sleep ") + pause), 0) << pause;
}

TEST(UninstallRun, SwitchesAndAnswers)
{
    EXPECT_TRUE(
        hasSwitch({QStringLiteral("x"), QStringLiteral("/silent")}, QStringLiteral("/SILENT")));
    EXPECT_FALSE(hasSwitch({QStringLiteral("/opt/SILENT/x"), QStringLiteral("/SILENTLY")},
                           QStringLiteral("/SILENT")));
    EXPECT_EQ(compareVersions(1, 2, 1, 2), 0);
    EXPECT_EQ(compareVersions(0x00010002, 0, 0x00010001, 0xFFFFFFFF), -1);
    EXPECT_EQ(compareVersions(0x00010002, 0, 0x00010002, 1), 1);
    const ByteString answers = ByteString::fromBytes("/a/b1\r\n/a/c2", 12);
    EXPECT_EQ(lookupSharedDecision(answers, "/a/b"), 1);
    EXPECT_EQ(lookupSharedDecision(answers, "/a/c"), 2);
    EXPECT_EQ(lookupSharedDecision(answers, "/a/C"), -1);
    EXPECT_EQ(lookupSharedDecision(answers, "/a"), -1);
}

TEST(UninstallRun, ClosedDuringTheStepsItEndsAfterThem)
{
    FakeProduct product;
    UninstallContent content = product.standardContent();
    product.setSharedCount(sharedLib, QStringLiteral("1"));
    product.install(content);
    ScriptedMsgBox boxes(forms::Yes);
    ScriptedModalRunner dialogs;
    dialogs.then([](QDialog &dialog) {
        // The user closes the progress window while the question is up, then answers.
        dialog.parentWidget()->close();
        return int(SharedFileDialog::Yes);
    });
    EXPECT_EQ(runUninstaller({}, product.settings()), 1); // no Close press needed
    EXPECT_FALSE(product.exists(QStringLiteral("opt/fake/readme")));
}

TEST(UninstallRun, TheProgramRunsSilentlyOnItsOwnCopy)
{
    FakeProduct product;
    product.install(product.standardContent());
    QProcess run;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("PELMORA_REGISTRY"),
                       product.path(QStringLiteral("registry")));
    environment.insert(QStringLiteral("PELMORA_BOOT_REMOVAL_DIR"),
                       product.path(QStringLiteral("tmpfiles.d")));
    environment.insert(QStringLiteral("XDG_RUNTIME_DIR"), product.path(QStringLiteral("run")));
    environment.remove(QStringLiteral("DISPLAY"));
    run.setProcessEnvironment(environment);
    run.start(product.programCopy(), {QStringLiteral("/SILENT")});
    ASSERT_TRUE(run.waitForFinished(30000));
    EXPECT_EQ(run.exitCode(), 1);
    EXPECT_FALSE(product.exists(QStringLiteral("opt/fake/bin")));
    EXPECT_FALSE(product.exists(QStringLiteral("uninstaller")));
    EXPECT_FALSE(
        product.store().keyExists(reg::Root::CurrentUser, QStringLiteral("Software\\Fake")));
}

TEST(UninstallRun, AnyProductNameGetsItsLockAndBootEntry)
{
    const QByteArray longName(300, 'n');
    const QByteArray longSibling = longName + "2"; // the same long start, another product
    const QByteArray wideName(120, '\xE9');        // each byte takes three in a file name
    struct Case
    {
        QByteArray name;
        QString lockFile; // as it is made in the lock folder; empty: a digest stands in
    };
    const std::vector<Case> cases = {
        {"Fake Product", QStringLiteral("hvun_Fake%20Product_mutex.lock")},
        {longName, QString()},
        {longSibling, QString()},
        {wideName, QString()},
    };
    FakeProduct product;
    const QString folder = product.path(QStringLiteral("run"));
    for (const Case &c : cases) {
        InstanceLock first(folder, c.name);
        EXPECT_TRUE(first.acquired()) << c.name.size();
        EXPECT_FALSE(InstanceLock(folder, c.name).acquired()) << c.name.size();
        // Only the same name is held: a name with the same long start is free.
        EXPECT_TRUE(InstanceLock(folder, c.name == longName ? longSibling : longName).acquired())
            << c.name.size();
        if (!c.lockFile.isEmpty()) {
            EXPECT_TRUE(QFileInfo::exists(folder + QLatin1Char('/') + c.lockFile));
        }
        BootRemoval removal(product.path(QStringLiteral("tmpfiles.d")), c.name);
        EXPECT_TRUE(removal.schedule(QFile::encodeName(product.path(QStringLiteral("x")))));
        EXPECT_LE(QFileInfo(removal.entryFile()).fileName().size(), 255);
        EXPECT_TRUE(QFileInfo::exists(removal.entryFile())) << c.name.size();
    }
    // A whole run of a long-named product ends at once while another run holds its lock.
    UninstallContent content = product.standardContent();
    content.productName = longName.constData();
    product.install(content);
    InstanceLock other(folder, longName);
    ScriptedMsgBox boxes;
    EXPECT_EQ(runUninstaller({}, product.settings()), 0);
    EXPECT_EQ(boxes.count(), 0);
    EXPECT_TRUE(product.exists(QStringLiteral("opt/fake/readme")));
}

TEST(UninstallRun, EscDuringTheStepsLeavesTheRunToItsEnd)
{
    FakeProduct product;
    UninstallContent content = product.standardContent();
    product.setSharedCount(uninstall_test::sharedLib, QStringLiteral("1"));
    product.install(content);
    ScriptedMsgBox boxes(forms::Yes);
    ScriptedModalRunner dialogs;
    bool stillShown = false;
    dialogs.then([&](QDialog &dialog) {
        QWidget *window = dialog.parentWidget();
        testing_support::keyClick(window, Qt::Key_Escape);
        QCoreApplication::processEvents();
        stillShown = window->isVisible();
        return int(SharedFileDialog::Yes);
    });
    // The run shows its result and waits for Close, as without the key.
    const Outcome outcome = runAndClose(product, {}, dialogs);
    EXPECT_TRUE(stillShown);
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(outcome.result, QStringLiteral("Uninstallation complete."));
    EXPECT_FALSE(product.exists(QStringLiteral("opt/fake/readme")));
}

TEST(UninstallRun, TheProgramsFolderGoesAtTheEndWhenEmpty)
{
    struct Case
    {
        const char *what;
        bool otherFile;    // an unlisted file lies beside the program
        bool noRemove;     // "/NOREMOVE"
        bool programInUse; // the program's own file cannot go now
        bool folderStays;  // right after the run
        bool reported;     // among the directories that could not be removed
        bool scheduled;    // left for the next boot
    };
    const std::vector<Case> cases = {
        {"only the program", false, false, false, false, false, false},
        {"another file", true, false, false, true, true, false},
        {"the program kept", false, true, false, true, true, false},
        {"the program at boot", false, false, true, true, false, true},
        {"another file, the program at boot", true, false, true, true, true, false},
    };
    for (const Case &c : cases) {
        FakeProduct product(QStringLiteral("opt/fake/uninst/uninstaller"));
        UninstallContent content = product.standardContent();
        const QString folder = QStringLiteral("opt/fake/uninst");
        content.directories.push_back(product.bytes(folder));
        if (c.otherFile)
            product.makeFile(QStringLiteral("opt/fake/uninst/other"));
        if (c.programInUse)
            product.fileSystem.fileErrors[QFile::encodeName(product.programCopy())] = EBUSY;
        product.install(content);
        ScriptedMsgBox boxes;
        boxes.answer({forms::Yes, forms::No}); // continue; no restore
        ScriptedModalRunner dialogs;
        const QStringList arguments =
            c.noRemove ? QStringList{QStringLiteral("/NOREMOVE")} : QStringList{};
        const Outcome outcome = runAndClose(product, arguments, dialogs);
        EXPECT_EQ(outcome.exitCode, 1) << c.what;
        EXPECT_EQ(product.exists(folder), c.folderStays) << c.what;
        EXPECT_EQ(outcome.details.contains(product.path(folder) + QLatin1Char('\n')), c.reported)
            << c.what << outcome.details.toStdString();
        const QString entry = product.bootEntryText();
        EXPECT_EQ(entry.contains(BootRemoval::escaped(QFile::encodeName(product.path(folder)))
                                 + QLatin1Char('\n')),
                  c.scheduled)
            << c.what << entry.toStdString();
        EXPECT_EQ(product.exists(QStringLiteral("opt/fake/uninst/other")), c.otherFile) << c.what;
        if (c.scheduled) {
            EXPECT_EQ(product.runBootRemoval(), 0);
            EXPECT_FALSE(product.exists(folder)) << c.what;
        }
    }
}
