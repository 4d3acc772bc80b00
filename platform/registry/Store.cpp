#include "platform/registry/Store.h"

#include "platform/registry/StoreFile.h"

#include <QDir>
#include <QFileInfo>

namespace platform::registry {

namespace {

// The key at `path` in the tree of `root` as read now, or null. `tree` keeps the tree alive.
const detail::Node *keyAt(const QString &directory, Root root, const QString &path,
                          detail::Node &tree)
{
    const std::optional<QStringList> names = detail::splitPath(path);
    if (!names)
        return nullptr;
    tree = detail::readRoot(directory, root);
    return detail::findKey(tree, *names);
}

} // namespace

Store::Store(const QString &directory)
    : m_directory(QDir::cleanPath(QFileInfo(directory).absoluteFilePath()))
{}

QString Store::defaultDirectory()
{
    const QString own = qEnvironmentVariable("PELMORA_REGISTRY");
    if (!own.isEmpty())
        return own;
    // A relative XDG_CONFIG_HOME is to be ignored, as the XDG base directory rules say.
    QString config = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (config.isEmpty() || QDir::isRelativePath(config))
        config = QDir::homePath() + QStringLiteral("/.config");
    return config + QStringLiteral("/pelmora/registry");
}

QString Store::directory() const
{
    return m_directory;
}

QString Store::filePath(Root root) const
{
    return detail::storeFilePath(m_directory, root);
}

bool Store::keyExists(Root root, const QString &path) const
{
    detail::Node tree;
    return keyAt(m_directory, root, path, tree) != nullptr;
}

std::optional<QString> Store::queryValue(Root root, const QString &path, const QString &name) const
{
    detail::Node tree;
    const detail::Node *key = keyAt(m_directory, root, path, tree);
    const qsizetype index = key ? detail::findValue(*key, name) : -1;
    if (index < 0)
        return std::nullopt;
    return key->values[index].second;
}

bool Store::createKey(Root root, const QString &path)
{
    return detail::createKey(m_directory, root, path) == Success;
}

bool Store::setValue(Root root, const QString &path, const QString &name, const QString &value)
{
    return detail::setValue(m_directory, root, path, name, value) == Success;
}

QStringList Store::subKeys(Root root, const QString &path) const
{
    detail::Node tree;
    QStringList names;
    if (const detail::Node *key = keyAt(m_directory, root, path, tree)) {
        for (const detail::Node &child : key->keys)
            names.append(child.name);
    }
    return names;
}

QStringList Store::valueNames(Root root, const QString &path) const
{
    detail::Node tree;
    QStringList names;
    if (const detail::Node *key = keyAt(m_directory, root, path, tree)) {
        for (const auto &value : key->values)
            names.append(value.first);
    }
    return names;
}

bool Store::deleteValue(Root root, const QString &path, const QString &name)
{
    return detail::deleteValue(m_directory, root, path, name) == Success;
}

bool Store::deleteKey(Root root, const QString &path)
{
    return detail::deleteKey(m_directory, root, path) == Success;
}

bool Store::canWrite(Root root) const
{
    return detail::canWriteRoot(m_directory, root);
}

} // namespace platform::registry
