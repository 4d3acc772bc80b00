#pragma once

// A fake product installed into a temporary root, with its information appended to a copy of
// the uninstaller, and the settings that point a run at it.
#include "uninstaller/InfoWriter.h"
#include "uninstaller/Run.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <map>
#include <set>

namespace uninstall_test {

// A file system whose removals fail for chosen paths.
class FailingFileSystem : public uninstaller::FileSystem
{
public:
    std::map<QByteArray, int> fileErrors;
    std::map<QByteArray, int> directoryErrors;

    int removeFile(const QByteArray &path) override
    {
        const auto found = fileErrors.find(path);
        return found != fileErrors.end() ? found->second : FileSystem::removeFile(path);
    }
    int removeDirectory(const QByteArray &path) override
    {
        const auto found = directoryErrors.find(path);
        return found != directoryErrors.end() ? found->second
                                              : FileSystem::removeDirectory(path);
    }
};

class FakeProduct
{
public:
    FakeProduct();

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
    QString programCopy() const { return path(QStringLiteral("uninstaller")); }

    FailingFileSystem fileSystem;
    int restarts = 0;

private:
    QTemporaryDir m_dir;
    QString m_registry;
};

} // namespace uninstall_test
