#pragma once

// A fake product installed into a temporary root, with its information appended to a copy of
// the uninstaller, and the settings that point a run at it.
#include "uninstaller/InfoWriter.h"
#include "uninstaller/Run.h"

#include "tests/support/ScriptedModalRunner.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <map>
#include <set>

namespace uninstall_test {

// The shared file of the usual product, relative to the temporary root.
inline const QString sharedLib = QStringLiteral("opt/fake/lib/libshared.so");

// A file system whose removals fail for chosen paths.
class FailingFileSystem : public uninstaller::FileSystem
{
public:
    std::map<QByteArray, int> fileErrors;
    std::map<QByteArray, int> directoryErrors;
    std::map<QByteArray, int> copyErrors; // by target

    int copyFile(const QByteArray &from, const QByteArray &to) override
    {
        const auto found = copyErrors.find(to);
        return found != copyErrors.end() ? found->second : FileSystem::copyFile(from, to);
    }

    int removeFile(const QByteArray &path) override
    {
        const auto found = fileErrors.find(path);
        return found != fileErrors.end() ? found->second : FileSystem::removeFile(path);
    }
    int removeDirectory(const QByteArray &path) override
    {
        const auto found = directoryErrors.find(path);
        return found != directoryErrors.end() ? found->second : FileSystem::removeDirectory(path);
    }
};

class FakeProduct
{
public:
    // The uninstaller's copy is put at `program`, relative to the root.
    explicit FakeProduct(const QString &program = QStringLiteral("uninstaller"));

    QString path(const QString &relative) const { return m_dir.filePath(relative); }
    uninstaller::ByteString bytes(const QString &relative) const
    {
        return uninstaller::ByteString(QFile::encodeName(path(relative)).constData());
    }
    void makeFile(const QString &relative, const QByteArray &content = "x") const;
    bool exists(const QString &relative) const
    {
        return QFileInfo(path(relative)).exists() || QFileInfo(path(relative)).isSymLink();
    }

    // The usual product: two files, a shared file of count `sharedCount` (none: not
    // registered), a backup, two directories and registry keys.
    uninstaller::UninstallContent standardContent();
    // Appends `content` to the uninstaller copy.
    void install(const uninstaller::UninstallContent &content);
    void installRaw(const QByteArray &programFile) const;

    uninstaller::RunSettings settings();
    platform::registry::Store store() const { return platform::registry::Store(m_registry); }
    QString sharedCount(const QString &relative) const;
    void setSharedCount(const QString &relative, const QString &count);

    QString bootEntryText() const;
    // Runs systemd-tmpfiles on the boot entry file as the boot does; its exit code.
    int runBootRemoval() const;
    QString programCopy() const { return path(m_program); }

    FailingFileSystem fileSystem;
    int restarts = 0;

private:
    QTemporaryDir m_dir;
    QString m_registry;
    QString m_program;
};

// What an interactive run showed at its end.
struct Outcome
{
    int exitCode = -1;
    QString result;            // the progress window's result text
    bool detailsShown = false; // the Details button
    QString details;           // the Details window's text, when it was shown
};

// Runs; once the progress window is complete, reads it, opens Details when it is shown (the
// text is read through `dialogs`) and presses Close.
Outcome runAndClose(FakeProduct &product, const QStringList &arguments,
                    testing_support::ScriptedModalRunner &dialogs);

} // namespace uninstall_test
