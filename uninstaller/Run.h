#pragma once

#include "uninstaller/ByteString.h"
#include "uninstaller/FileSystem.h"

#include "platform/registry/Store.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>

namespace uninstaller {

// What a run reaches outside itself; tests replace every part.
struct RunSettings
{
    QByteArray programPath = "/proc/self/exe"; // the file that carries the information
    FileSystem *fileSystem = nullptr;          // null: the real file system
    platform::registry::Store store;
    QString bootDirectory;               // empty: BootRemoval::defaultDirectory()
    QString lockDirectory;               // empty: InstanceLock::defaultDirectory()
    std::function<void()> restartSystem; // asked only after the user agrees
};

// The whole run; `arguments` are those after the program's own path. Answers the exit code:
// 0 when it ends before removing anything, 1 after the steps.
int runUninstaller(const QStringList &arguments, const RunSettings &settings);

// Whether one of the arguments is `name`, compared without regard to case.
bool hasSwitch(const QStringList &arguments, const QString &name);

// -1, 0 or 1 for version b below, equal to or above version a (16-bit parts, high to low).
int compareVersions(std::uint32_t aMS, std::uint32_t aLS, std::uint32_t bMS, std::uint32_t bLS);

// 1 keep, 2 remove from an earlier answer for this path; -1 none.
int lookupSharedDecision(const ByteString &answers, const ByteString &path);

// Runs the product's command: 1 go on, 0 stop, -1 it could not be started.
int runPreUninstallCommand(const QByteArray &commandLine);

// The system restart through systemd, for the real program.
void restartThroughSystemd();

} // namespace uninstaller
