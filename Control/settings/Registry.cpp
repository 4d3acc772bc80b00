#include "Control/settings/Registry.h"

#include "platform/forms/MsgBox.h"
#include "platform/registry/Key.h"

#include <array>
#include <utility>

namespace pelmora::registry {

using platform::registry::Access;
using platform::registry::Key;
using platform::registry::Root;
using platform::registry::Success;

std::optional<Root> rootKeyFromName(const QString &name)
{
    static const std::array<std::pair<const char *, Root>, 7> roots{{
        {"HKEY_CLASSES_ROOT", Root::ClassesRoot},
        {"HKEY_CURRENT_USER", Root::CurrentUser},
        {"HKEY_LOCAL_MACHINE", Root::LocalMachine},
        {"HKEY_USERS", Root::Users},
        {"HKEY_PERFORMANCE_DATA", Root::PerformanceData},
        {"HKEY_CURRENT_CONFIG", Root::CurrentConfig},
        {"HKEY_DYN_DATA", Root::DynData},
    }};
    for (const auto &[candidate, root] : roots) {
        if (name == QLatin1String(candidate))
            return root;
    }
    return std::nullopt;
}

void splitRegPath(QString &path, std::optional<Root> &rootKey)
{
    rootKey.reset();
    if (!path.startsWith(QLatin1String("HKEY_"), Qt::CaseSensitive) || path.endsWith(u'\\')) {
        platform::forms::msgBox(QStringLiteral("Incorrect Format:") + u'\n' + u'\n' + path,
                                platform::forms::OkOnly);
        return;
    }
    const qsizetype slash = path.indexOf(u'\\');
    rootKey = rootKeyFromName(slash < 0 ? path : path.left(slash));
    if (rootKey)
        path = slash < 0 ? QString() : path.mid(slash + 1);
}

QVariant getRegValue(const QString &keyPath, const QString &valueName)
{
    QString subKey = keyPath;
    std::optional<Root> root;
    splitRegPath(subKey, root);
    if (!root)
        return QVariant();
    const QString failed = QStringLiteral("Error");
    Key key;
    if (openKey(Key(*root), subKey, Access::Read, key) != Success)
        return failed;
    QString stored;
    const bool read = queryValue(key, valueName, stored) == Success;
    closeKey(key);
    if (!read)
        return failed;
    // The text ends at its first NUL; leading blanks are dropped, later ones kept.
    const qsizetype nul = stored.indexOf(QChar(0));
    if (nul >= 0)
        stored.truncate(nul);
    qsizetype first = 0;
    while (first < stored.size() && stored.at(first) == u' ')
        ++first;
    return stored.mid(first);
}

bool createRegKey(const QString &keyPath)
{
    QString subKey = keyPath;
    std::optional<Root> root;
    splitRegPath(subKey, root);
    if (!root)
        return false;
    Key key;
    if (createKey(Key(*root), subKey, key) != Success)
        return false;
    closeKey(key);
    return true;
}

bool setRegValue(const QString &keyPath, const QString &valueName, const QString &value)
{
    QString subKey = keyPath;
    std::optional<Root> root;
    splitRegPath(subKey, root);
    if (!root)
        return false;
    Key key;
    if (openKey(Key(*root), subKey, Access::Write, key) != Success)
        return false;
    const bool written = setValue(key, valueName, value) == Success;
    closeKey(key);
    return written;
}

} // namespace pelmora::registry
