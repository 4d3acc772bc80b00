#include "platform/registry/Root.h"

#include <array>
#include <utility>

namespace platform::registry {

namespace {

constexpr std::array<std::pair<Root, const char *>, 7> rootNames{{
    {Root::ClassesRoot, "HKEY_CLASSES_ROOT"},
    {Root::CurrentUser, "HKEY_CURRENT_USER"},
    {Root::LocalMachine, "HKEY_LOCAL_MACHINE"},
    {Root::Users, "HKEY_USERS"},
    {Root::PerformanceData, "HKEY_PERFORMANCE_DATA"},
    {Root::CurrentConfig, "HKEY_CURRENT_CONFIG"},
    {Root::DynData, "HKEY_DYN_DATA"},
}};

} // namespace

QString rootName(Root root)
{
    for (const auto &[candidate, name] : rootNames) {
        if (candidate == root)
            return QString::fromLatin1(name);
    }
    return QString();
}

std::optional<Root> rootFromName(const QString &name)
{
    for (const auto &[root, candidate] : rootNames) {
        if (name.compare(QLatin1String(candidate), Qt::CaseInsensitive) == 0)
            return root;
    }
    return std::nullopt;
}

} // namespace platform::registry
