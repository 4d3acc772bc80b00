// What the run keeps or reports where a plain reading would lose data or hide a failure: a
// backup whose restore fails, a shared file that cannot be deleted, registry keys that stay,
// and the shared library that is asked to undo its registration before it goes.
#include "tests/uninstaller/UninstallFixture.h"

#include "tests/support/ScriptedModalRunner.h"
#include "tests/support/ScriptedMsgBox.h"
#include "uninstaller/BootRemoval.h"
#include "uninstaller/Dialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTimer>

#include <cerrno>
#include <cstdlib>

using namespace uninstaller;
using testing_support::ScriptedModalRunner;
using testing_support::ScriptedMsgBox;
using uninstall_test::FakeProduct;
using uninstall_test::sharedLib;
namespace forms = platform::forms;
namespace reg = platform::registry;

namespace {

// The Details text of an interactive run.
QString detailsOfRun(FakeProduct &product, const QStringList &arguments)
{
    ScriptedModalRunner dialogs;
    const uninstall_test::Outcome outcome =
        uninstall_test::runAndClose(product, arguments, dialogs);
    EXPECT_EQ(outcome.exitCode, 1);
    return outcome.details;
}

} // namespace

TEST(UninstallMends, ABackupWhoseRestoreFailsIsKeptAndListed)
{
    FakeProduct product;
    UninstallContent content = product.standardContent();
    const QByteArray installed =
        QFile::encodeName(product.path(QStringLiteral("opt/fake/lib/libsystem.so")));
    const QByteArray backup =
        QFile::encodeName(product.path(QStringLiteral("opt/fake/backup/libsystem.so")));
    product.fileSystem.copyErrors[installed] = ENOSPC;
    product.install(content);
    ScriptedMsgBox boxes(forms::Yes); // continue; restore
    const QString details = detailsOfRun(product, {QStringLiteral("/NOREMOVE")});
    EXPECT_TRUE(QFileInfo::exists(QString::fromUtf8(backup)));
    EXPECT_EQ(details, QStringLiteral("Couldn't delete following files:\n") + backup
                           + QStringLiteral("\n\nCouldn't remove following directories:\n")
                           + product.path(QStringLiteral("opt/fake/backup"))
                           + QStringLiteral("\n"));
}

TEST(UninstallMends, ASharedFileThatCannotGoIsListedKeepsItsCountAndGoesAtBoot)
{
    FakeProduct product;
    UninstallContent content = product.standardContent();
    const QByteArray shared = QFile::encodeName(product.path(sharedLib));
    product.fileSystem.fileErrors[shared] = EBUSY;
    product.setSharedCount(sharedLib, QStringLiteral("1"));
    product.install(content);
    ScriptedMsgBox boxes;
    EXPECT_EQ(runUninstaller({QStringLiteral("/SILENT"), QStringLiteral("/NOREMOVE")},
                             product.settings()),
              1);
    EXPECT_TRUE(product.exists(sharedLib));
    EXPECT_EQ(product.sharedCount(sharedLib), QStringLiteral("0"));
    EXPECT_TRUE(product.bootEntryText().contains(BootRemoval::escaped(shared)));
}

TEST(UninstallMends, ASharedLibraryUndoesItsRegistrationBeforeItGoes)
{
    FakeProduct product;
    UninstallContent content = product.standardContent();
    QFile::remove(product.path(sharedLib));
    ASSERT_TRUE(QFile::copy(QStringLiteral(UNINSTALL_TEST_SERVER), product.path(sharedLib)));
    product.setSharedCount(sharedLib, QStringLiteral("1"));
    product.install(content);
    const QString mark = product.path(QStringLiteral("unregistered"));
    setenv("UNINSTALL_TEST_MARK", QFile::encodeName(mark).constData(), 1);
    ScriptedMsgBox boxes;
    EXPECT_EQ(runUninstaller({QStringLiteral("/SILENT")}, product.settings()), 1);
    unsetenv("UNINSTALL_TEST_MARK");
    QFile marked(mark);
    ASSERT_TRUE(marked.open(QIODevice::ReadOnly));
    EXPECT_EQ(marked.readAll(), "unregistered\n");
    EXPECT_FALSE(product.exists(sharedLib));
}

TEST(UninstallMends, RegistryKeysThatStayAreListedOnce)
{
    FakeProduct product;
    UninstallContent content = product.standardContent();
    reg::Store store = product.store();
    store.createKey(reg::Root::CurrentUser, QStringLiteral("Software\\Fake\\Settings\\Later"));
    // The same key twice, spelled differently: one line in the list.
    RegistryKeyRecord again{"FAKE", true, {}, {RegistryKeyRecord{"Settings", true, {}, {}}}};
    content.registryRoots[1].keys[0].keys.push_back(again);
    // A key that does not exist is passed over without a word.
    content.registryRoots[2].keys = {RegistryKeyRecord{"Software\\Missing", true, {}, {}}};
    product.install(content);
    ScriptedMsgBox boxes(forms::Yes);
    const QString details = detailsOfRun(product, {QStringLiteral("/NOREMOVE")});
    EXPECT_EQ(details, QStringLiteral("Couldn't delete following registry keys:\n"
                                      "HKEY_CURRENT_USER\\Software\\Fake\\Settings\n"
                                      "HKEY_CURRENT_USER\\Software\\Fake\n"));
    // Its listed value went; the key stays for the subkey nobody listed.
    EXPECT_FALSE(store.queryValue(reg::Root::CurrentUser,
                                  QStringLiteral("Software\\Fake\\Settings"),
                                  QStringLiteral("Window")));
    EXPECT_TRUE(
        store.keyExists(reg::Root::CurrentUser, QStringLiteral("Software\\Fake\\Settings\\Later")));
}

TEST(UninstallMends, MangledContentNeverCrashesTheReader)
{
    FakeProduct product;
    UninstallContent content = product.standardContent();
    const ByteString good = composeContent(content);
    std::srand(26);
    int refused = 0;
    for (int round = 0; round < 20000; ++round) {
        std::string bytes(good.data(), good.length());
        const int changes = 1 + std::rand() % 4;
        for (int i = 0; i < changes; ++i) {
            const std::size_t at = std::size_t(std::rand()) % bytes.size();
            switch (std::rand() % 3) {
            case 0:
                bytes[at] = char(std::rand());
                break;
            case 1:
                bytes.erase(at, std::size_t(std::rand() % 8));
                break;
            default:
                bytes.resize(at);
                break;
            }
            if (bytes.empty())
                break;
        }
        UninstallInformation info;
        const ByteString mangled = ByteString::fromBytes(bytes.data(), std::uint32_t(bytes.size()));
        refused += splitUninstallContent(mangled, info) != InfoStatus::Ok;
        const ByteString stored = protectContent(mangled);
        readUninstallInformation(stored.data(), stored.length(), info);
    }
    EXPECT_GT(refused, 0);
}
