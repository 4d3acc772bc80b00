// What a run may touch: exactly the listed paths, at once or at the next boot, and only inside
// the product's install roots; the folders of its shared files widen the shared files step
// alone, and information naming a system folder as the product's own is refused whole.
#include "tests/uninstaller/UninstallFixture.h"

#include "tests/support/ScriptedModalRunner.h"
#include "tests/support/ScriptedMsgBox.h"
#include "uninstaller/BootRemoval.h"
#include "uninstaller/Dialogs.h"
#include "uninstaller/PathPolicy.h"

#include <gtest/gtest.h>

#include <QDir>

#include <cerrno>

using namespace uninstaller;
using testing_support::ScriptedModalRunner;
using testing_support::ScriptedMsgBox;
using uninstall_test::FakeProduct;
namespace forms = platform::forms;

namespace {

const QString corruptText = QStringLiteral("Uninstallation information corrupt. Aborting.");

// A file of the product that cannot go now (as if in use), with the unlisted neighbours that
// a pattern reading of its path would also match.
struct LockedFile
{
    QString path;
    QStringList neighbours;
};

} // namespace

TEST(UninstallConfinement, BootRemovalTakesExactlyTheListedPaths)
{
    // The program itself sits in a folder whose name reads as a pattern matching another
    // product's folder.
    FakeProduct product(QStringLiteral("opt/prod[1]/bin/uninstaller"));
    UninstallContent content = product.standardContent();
    product.makeFile(QStringLiteral("opt/prod1/bin/uninstaller"));
    const std::vector<LockedFile> locked = {
        {QStringLiteral("opt/fake/a*"),
         {QStringLiteral("opt/fake/ab"), QStringLiteral("opt/fake/a")}},
        {QStringLiteral("opt/fake/q?"), {QStringLiteral("opt/fake/qz")}},
        {QStringLiteral("opt/fake/x[1]"), {QStringLiteral("opt/fake/x1")}},
        {QStringLiteral("opt/fake/c[1]*?"), {QStringLiteral("opt/fake/c1zz")}},
        {QStringLiteral("opt/fake/{b,c}"),
         {QStringLiteral("opt/fake/b"), QStringLiteral("opt/fake/c")}},
        {QStringLiteral("opt/fake/back\\slash"), {QStringLiteral("opt/fake/backslash")}},
        {QStringLiteral("opt/fake/p%c \"q\"\tt"), {}},
    };
    content.files.clear();
    for (const LockedFile &file : locked) {
        product.makeFile(file.path);
        for (const QString &neighbour : file.neighbours)
            product.makeFile(neighbour);
        content.files.push_back(product.bytes(file.path));
        product.fileSystem.fileErrors[QFile::encodeName(product.path(file.path))] = EBUSY;
    }
    // A line break (tmpfiles also ends a line at CR) cannot be written in an entry: such a
    // file is left and reported, never scheduled as the paths its pieces would name.
    const QStringList broken = {QStringLiteral("opt/fake/nl\nopt"),
                                QStringLiteral("opt/fake/cr\ropt")};
    for (const QString &file : broken) {
        product.makeFile(file);
        product.makeFile(file.left(file.size() - 4));
        content.files.push_back(product.bytes(file));
        product.fileSystem.fileErrors[QFile::encodeName(product.path(file))] = EBUSY;
    }
    content.roots.push_back(product.bytes(QStringLiteral("opt/prod[1]")));
    content.directories.push_back(product.bytes(QStringLiteral("opt/prod[1]/bin")));
    product.fileSystem.fileErrors[QFile::encodeName(product.programCopy())] = EBUSY;
    product.install(content);

    ScriptedMsgBox boxes;
    boxes.answer({forms::Yes, forms::No, forms::No}); // continue; no restore; no restart
    ScriptedModalRunner dialogs;
    const uninstall_test::Outcome outcome = uninstall_test::runAndClose(product, {}, dialogs);
    EXPECT_EQ(outcome.exitCode, 1);
    for (QString file : broken) // the Details window shows a CR as a line break
        EXPECT_TRUE(outcome.details.contains(
            product.path(file.replace(QLatin1Char('\r'), QLatin1Char('\n')))))
            << outcome.details.toStdString();
    // The folder waits for the program's file at boot: not reported.
    EXPECT_FALSE(outcome.details.contains(QStringLiteral("prod[1]/bin\n")));
    ASSERT_TRUE(product.exists(QStringLiteral("opt/prod[1]/bin/uninstaller")));

    ASSERT_EQ(product.runBootRemoval(), 0) << product.bootEntryText().toStdString();
    for (const LockedFile &file : locked) {
        EXPECT_FALSE(product.exists(file.path)) << file.path.toStdString();
        for (const QString &neighbour : file.neighbours)
            EXPECT_TRUE(product.exists(neighbour)) << neighbour.toStdString();
    }
    for (const QString &file : broken) {
        EXPECT_TRUE(product.exists(file)) << file.toStdString();
        EXPECT_TRUE(product.exists(file.left(file.size() - 4))) << file.toStdString();
    }
    EXPECT_FALSE(product.exists(QStringLiteral("opt/prod[1]/bin/uninstaller")));
    EXPECT_FALSE(product.exists(QStringLiteral("opt/prod[1]/bin")));
    EXPECT_TRUE(product.exists(QStringLiteral("opt/prod[1]"))); // not listed
    EXPECT_TRUE(product.exists(QStringLiteral("opt/prod1/bin/uninstaller")));
}

TEST(UninstallConfinement, SharedFoldersConfineOnlyTheSharedStep)
{
    FakeProduct product;
    UninstallContent content = product.standardContent();
    // A library that others still use and one that goes, each in a folder of its own that is
    // not the product's, with files beside them that the information lists all the same.
    const QString used = QStringLiteral("outside2/libused.so");
    const QString unused = QStringLiteral("outside3/libunused.so");
    for (const QString &file :
         {used, unused, QStringLiteral("outside2/other"), QStringLiteral("outside3/beside"),
          QStringLiteral("outside2/copy"), QStringLiteral("outside3/installed")})
        product.makeFile(file);
    product.setSharedCount(used, QStringLiteral("3"));
    product.setSharedCount(unused, QStringLiteral("1"));
    content.shared = {product.bytes(used), product.bytes(unused)};
    content.files.push_back(product.bytes(QStringLiteral("outside2/other")));
    content.files.push_back(product.bytes(QStringLiteral("outside3/beside")));
    content.directories.push_back(product.bytes(QStringLiteral("outside3")));
    content.backups.push_back({product.bytes(QStringLiteral("outside2/copy")),
                               product.bytes(QStringLiteral("outside3/installed")), 0, 0, 0, 0});
    product.install(content);

    ScriptedMsgBox boxes;
    boxes.answer({forms::Yes, forms::No, forms::No}); // continue; no restore; no restart
    ScriptedModalRunner dialogs;
    dialogs.then([](QDialog &) { return int(SharedFileDialog::Yes); });
    const uninstall_test::Outcome outcome = uninstall_test::runAndClose(product, {}, dialogs);
    EXPECT_EQ(outcome.exitCode, 1);

    EXPECT_TRUE(product.exists(used));
    EXPECT_EQ(product.sharedCount(used), QStringLiteral("2"));
    EXPECT_FALSE(product.exists(unused)); // the shared files step may act there
    const QStringList outside = {QStringLiteral("outside2/other"),
                                 QStringLiteral("outside3/beside"), QStringLiteral("outside2/copy"),
                                 QStringLiteral("outside3")};
    for (const QString &kept : outside) {
        EXPECT_TRUE(product.exists(kept)) << kept.toStdString();
        EXPECT_TRUE(outcome.details.contains(product.path(kept) + QLatin1Char('\n')))
            << kept.toStdString() << outcome.details.toStdString();
    }
    EXPECT_FALSE(product.exists(QStringLiteral("opt/fake/readme"))); // the product still goes
}

TEST(UninstallConfinement, ARestoreLeavesTheFilesBesideItAlone)
{
    FakeProduct product;
    UninstallContent content = product.standardContent();
    // Named as a restore's temporary file might be named.
    const QStringList bystanders = {QStringLiteral("opt/fake/lib/.libsystem.so.restoring"),
                                    QStringLiteral("opt/fake/lib/.hvun_restoring_0")};
    for (const QString &file : bystanders)
        product.makeFile(file, "someone's");
    product.install(content);
    ScriptedMsgBox boxes;
    boxes.answer({forms::Yes, forms::Yes}); // continue; restore
    ScriptedModalRunner dialogs;
    const QStringList arguments = {QStringLiteral("/NOREMOVE")};
    EXPECT_EQ(uninstall_test::runAndClose(product, arguments, dialogs).exitCode, 1);
    QFile installed(product.path(QStringLiteral("opt/fake/lib/libsystem.so")));
    ASSERT_TRUE(installed.open(QIODevice::ReadOnly));
    EXPECT_EQ(installed.readAll(), "original");
    for (const QString &file : bystanders) {
        QFile kept(product.path(file));
        ASSERT_TRUE(kept.open(QIODevice::ReadOnly)) << file.toStdString();
        EXPECT_EQ(kept.readAll(), "someone's");
    }
}

TEST(UninstallConfinement, SystemFoldersAreNeverInstallRoots)
{
    FakeProduct product;
    const QString home = QDir::homePath();
    const QString temporary = QDir::tempPath();
    QFile::link(QStringLiteral("/usr"), product.path(QStringLiteral("usr-link")));
    QFile::link(home, product.path(QStringLiteral("home-link")));
    struct Case
    {
        QString root;
        bool accepted;
    };
    const std::vector<Case> cases = {
        {QStringLiteral("/"), false},
        {QStringLiteral("/usr"), false},
        {QStringLiteral("/usr/"), false},
        {QStringLiteral("/usr/lib"), false},
        {QStringLiteral("/usr/local"), false},
        {QStringLiteral("/usr/local/lib"), false},
        {QStringLiteral("/usr/share"), false},
        {QStringLiteral("/lib"), false},
        {QStringLiteral("/etc"), false},
        {QStringLiteral("/home"), false},
        {QStringLiteral("/home/someone"), false}, // any user's home
        {QStringLiteral("/var"), false},
        {QStringLiteral("/var/lib"), false},
        {QStringLiteral("/opt"), false},
        {QStringLiteral("/tmp"), false},
        {QStringLiteral("/root"), false},
        {home, false},
        {home + QStringLiteral("/"), false},
        {home + QStringLiteral("/.local"), false},
        {home + QStringLiteral("/.local/share"), false},
        {temporary, false},
        {QFileInfo(home).path(), false},                   // a folder that holds one of them
        {product.path(QStringLiteral("usr-link")), false}, // compared with links resolved
        {product.path(QStringLiteral("home-link")), false},
        {QStringLiteral("relative/folder"), false},
        {QStringLiteral("/opt/fake/../../usr"), false},
        {QStringLiteral("/usr/./lib"), false},
        {QStringLiteral("//usr"), false},
        {product.path(QStringLiteral("opt/fake")), true},
        {QStringLiteral("/opt/fake"), true},
        {QStringLiteral("/usr/local/fake"), true},
        {QStringLiteral("/usr/lib/fake"), true},
        {QStringLiteral("/home/someone/apps/fake"), true},
        {home + QStringLiteral("/.local/share/fake"), true},
        {QStringLiteral("/usr/local/bin/fake"), true}, // a single file as its own root
    };
    UninstallContent content = product.standardContent();
    for (const Case &c : cases) {
        const ByteString root(QFile::encodeName(c.root).constData());
        EXPECT_EQ(PathPolicy::acceptsRoot(root), c.accepted) << c.root.toStdString();
        if (c.accepted)
            continue;
        // Refused before anything is touched, as corrupt information, with its message.
        UninstallContent refused = content;
        refused.roots.push_back(root);
        product.install(refused);
        ScriptedMsgBox boxes(forms::Yes);
        ScriptedModalRunner dialogs; // closes a run that went on, so that the test ends
        EXPECT_EQ(uninstall_test::runAndClose(product, {}, dialogs).exitCode, 0);
        ASSERT_EQ(boxes.count(), 1) << c.root.toStdString();
        EXPECT_EQ(boxes.shown()[0].text, corruptText);
        EXPECT_EQ(boxes.shown()[0].icon, forms::Critical);
        EXPECT_TRUE(product.exists(QStringLiteral("opt/fake/readme"))) << c.root.toStdString();
        EXPECT_TRUE(product.exists(QStringLiteral("uninstaller")));
        EXPECT_TRUE(product.bootEntryText().isEmpty());
    }
    // Silent: the same end without a message.
    UninstallContent refused = content;
    refused.roots.push_back(ByteString(QFile::encodeName(temporary).constData()));
    product.install(refused);
    ScriptedMsgBox boxes;
    EXPECT_EQ(runUninstaller({QStringLiteral("/SILENT")}, product.settings()), 0);
    EXPECT_EQ(boxes.count(), 0);
    EXPECT_TRUE(product.exists(QStringLiteral("opt/fake/readme")));
}
