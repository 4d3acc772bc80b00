#pragma once

#include <QString>

#include <optional>

namespace platform::registry {

// The predefined root keys; each one is kept in a file of its own.
enum class Root {
    ClassesRoot,
    CurrentUser,
    LocalMachine,
    Users,
    PerformanceData,
    CurrentConfig,
    DynData,
};

// "HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_USERS",
// "HKEY_PERFORMANCE_DATA", "HKEY_CURRENT_CONFIG", "HKEY_DYN_DATA".
QString rootName(Root root);

// The root of one of those names, compared without regard to case; nothing for any other name.
std::optional<Root> rootFromName(const QString &name);

} // namespace platform::registry
