#include "tests/uninstaller/UninstallFixture.h"

#include "platform/registry/Key.h"
#include "uninstaller/BootRemoval.h"
#include "uninstaller/Dialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProcess>
#include <QPushButton>
#include <QTimer>

using namespace uninstaller;
namespace reg = platform::registry;

namespace uninstall_test {

namespace {
const QString sharedKey =
    QStringLiteral("Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs");
}

FakeProduct::FakeProduct(const QString &program)
    : m_registry(m_dir.filePath(QStringLiteral("registry"))), m_program(program)
{
    QDir(m_dir.path()).mkpath(QFileInfo(program).path());
    QDir(m_dir.path()).mkpath(QStringLiteral("opt/fake/bin"));
    QDir(m_dir.path()).mkpath(QStringLiteral("opt/fake/lib"));
    QDir(m_dir.path()).mkpath(QStringLiteral("opt/fake/backup"));
    QDir(m_dir.path()).mkpath(QStringLiteral("run"));
    QFile::copy(QStringLiteral(UNINSTALLER_PROGRAM), programCopy());
}

void FakeProduct::makeFile(const QString &relative, const QByteArray &content) const
{
    QDir().mkpath(QFileInfo(path(relative)).path());
    QFile file(path(relative));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

UninstallContent FakeProduct::standardContent()
{
    makeFile(QStringLiteral("opt/fake/bin/fake"));
    makeFile(QStringLiteral("opt/fake/readme"));
    makeFile(QStringLiteral("opt/fake/lib/libshared.so"));
    makeFile(QStringLiteral("opt/fake/backup/libsystem.so"), "original");
    makeFile(QStringLiteral("opt/fake/lib/libsystem.so"), "replaced");

    UninstallContent content;
    content.productName = "Fake Product";
    content.roots = {bytes(QStringLiteral("opt/fake"))};
    content.shared = {bytes(QStringLiteral("opt/fake/lib/libshared.so"))};
    const auto written = FileSystem().lastWriteTime(
        QFile::encodeName(path(QStringLiteral("opt/fake/lib/libsystem.so"))));
    content.backups = {{bytes(QStringLiteral("opt/fake/backup/libsystem.so")),
                        bytes(QStringLiteral("opt/fake/lib/libsystem.so")), 0, 0,
                        std::uint32_t(written.value_or(0) >> 32),
                        std::uint32_t(written.value_or(0))}};
    content.files = {bytes(QStringLiteral("opt/fake/bin/fake")),
                     bytes(QStringLiteral("opt/fake/readme"))};
    content.directories = {bytes(QStringLiteral("opt/fake/bin")),
                           bytes(QStringLiteral("opt/fake/backup"))};

    reg::Store registry = store();
    registry.createKey(reg::Root::CurrentUser, QStringLiteral("Software\\Fake\\Settings"));
    registry.setValue(reg::Root::CurrentUser, QStringLiteral("Software\\Fake\\Settings"),
                      QStringLiteral("Window"), QStringLiteral("1 2 3 4"));
    registry.setValue(reg::Root::CurrentUser, QStringLiteral("Software\\Fake"),
                      QStringLiteral("Kept"), QStringLiteral("k"));
    registry.createKey(reg::Root::CurrentUser, QStringLiteral("Software\\Other"));
    RegistryKeyRecord settingsKey{"Settings", true, {{"Window", true}}, {}};
    RegistryKeyRecord fake{"Fake", true, {}, {settingsKey}};
    RegistryKeyRecord software{"Software", false, {}, {fake}};
    content.registryRoots.resize(4);
    content.registryRoots[1].keys = {software};
    return content;
}

void FakeProduct::install(const UninstallContent &content)
{
    ASSERT_TRUE(appendUninstallInformation(QFile::encodeName(programCopy()).constData(),
                                           composeContent(content)));
}

void FakeProduct::installRaw(const QByteArray &programFile) const
{
    QFile file(programCopy());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(programFile);
}

RunSettings FakeProduct::settings()
{
    RunSettings settings;
    settings.programPath = QFile::encodeName(programCopy());
    settings.fileSystem = &fileSystem;
    settings.store = store();
    settings.bootDirectory = path(QStringLiteral("tmpfiles.d"));
    settings.lockDirectory = path(QStringLiteral("run"));
    settings.restartSystem = [this] { ++restarts; };
    return settings;
}

QString FakeProduct::sharedCount(const QString &relative) const
{
    return store()
        .queryValue(reg::Root::LocalMachine, sharedKey, path(relative))
        .value_or(QStringLiteral("none"));
}

void FakeProduct::setSharedCount(const QString &relative, const QString &count)
{
    reg::Store registry = store();
    registry.createKey(reg::Root::LocalMachine, sharedKey);
    registry.setValue(reg::Root::LocalMachine, sharedKey, path(relative), count);
}

QString FakeProduct::bootEntryText() const
{
    QFile file(BootRemoval(path(QStringLiteral("tmpfiles.d")), "Fake Product").entryFile());
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

int FakeProduct::runBootRemoval() const
{
    const QString file =
        BootRemoval(path(QStringLiteral("tmpfiles.d")), "Fake Product").entryFile();
    return QProcess::execute(QStringLiteral("systemd-tmpfiles"),
                             {QStringLiteral("--boot"), QStringLiteral("--remove"), file});
}

Outcome runAndClose(FakeProduct &product, const QStringList &arguments,
                    testing_support::ScriptedModalRunner &dialogs)
{
    Outcome outcome;
    QTimer driver;
    driver.setInterval(10);
    QObject::connect(&driver, &QTimer::timeout, [&] {
        for (QWidget *widget : QApplication::topLevelWidgets()) {
            auto *window = qobject_cast<ProgressWindow *>(widget);
            if (!window || !window->closeButton()->isEnabled())
                continue;
            driver.stop();
            outcome.result = window->resultText()->text();
            outcome.detailsShown = window->detailsButton()->isVisible();
            if (outcome.detailsShown) {
                dialogs.then([&](QDialog &dialog) {
                    outcome.details = dialog.findChild<QPlainTextEdit *>()->toPlainText();
                    return int(QDialog::Accepted);
                });
                window->detailsButton()->click();
            }
            window->closeButton()->click();
        }
    });
    driver.start();
    outcome.exitCode = runUninstaller(arguments, product.settings());
    return outcome;
}

} // namespace uninstall_test
