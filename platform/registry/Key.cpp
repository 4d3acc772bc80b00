#include "platform/registry/Key.h"

#include "platform/registry/StoreFile.h"

namespace platform::registry {

namespace {

// The path of `subKey` below `parent`, or nothing when either part is malformed.
std::optional<QString> joinPath(const Key &parent, const QString &subKey)
{
    const std::optional<QStringList> head = detail::splitPath(parent.path());
    const std::optional<QStringList> tail = detail::splitPath(subKey);
    if (!head || !tail)
        return std::nullopt;
    return (*head + *tail).join(u'\\');
}

// The current tree of the key's root and the key in it; Status other than Success when the
// handle may not read or the key is gone.
Status readKey(const Key &key, detail::Node &tree, const detail::Node *&node)
{
    if (!key.isOpen())
        return InvalidHandle;
    if (!allows(key.access(), Access::Read))
        return AccessDenied;
    const std::optional<QStringList> names = detail::splitPath(key.path());
    if (!names)
        return InvalidParameter;
    tree = detail::readRoot(key.store().directory(), key.root());
    node = detail::findKey(tree, *names);
    return node ? Success : NotFound;
}

Status checkWrite(const Key &key)
{
    if (!key.isOpen())
        return InvalidHandle;
    return allows(key.access(), Access::Write) ? Success : AccessDenied;
}

} // namespace

Key::Key(Root root, const Store &store) : Key(store.directory(), root, QString(), Access::ReadWrite)
{}

Key::Key(const QString &directory, Root root, const QString &path, Access access)
    : m_directory(directory), m_root(root), m_path(path), m_access(access), m_open(true)
{}

QString Key::fullPath() const
{
    return m_path.isEmpty() ? rootName(m_root) : rootName(m_root) + u'\\' + m_path;
}

Status openKey(const Key &parent, const QString &subKey, Access access, Key &result)
{
    result = Key();
    if (!parent.isOpen())
        return InvalidHandle;
    const std::optional<QString> path = joinPath(parent, subKey);
    if (!path)
        return InvalidParameter;
    const Store store = parent.store();
    if (!store.keyExists(parent.root(), *path))
        return NotFound;
    if (allows(access, Access::Write) && !store.canWrite(parent.root()))
        return AccessDenied;
    result = Key(store.directory(), parent.root(), *path, access);
    return Success;
}

Status createKey(const Key &parent, const QString &subKey, Key &result)
{
    result = Key();
    if (!parent.isOpen())
        return InvalidHandle;
    const std::optional<QString> path = joinPath(parent, subKey);
    if (!path)
        return InvalidParameter;
    const QString directory = parent.store().directory();
    if (!detail::canWriteRoot(directory, parent.root()))
        return AccessDenied;
    const Status status = detail::createKey(directory, parent.root(), *path);
    if (status == Success)
        result = Key(directory, parent.root(), *path, Access::ReadWrite);
    return status;
}

Status queryValue(const Key &key, const QString &name, QString &value)
{
    detail::Node tree;
    const detail::Node *node = nullptr;
    if (const Status status = readKey(key, tree, node); status != Success)
        return status;
    const qsizetype index = detail::findValue(*node, name);
    if (index < 0)
        return NotFound;
    value = node->values[index].second;
    return Success;
}

Status setValue(const Key &key, const QString &name, const QString &value)
{
    if (const Status status = checkWrite(key); status != Success)
        return status;
    return detail::setValue(key.store().directory(), key.root(), key.path(), name, value);
}

Status deleteValue(const Key &key, const QString &name)
{
    if (const Status status = checkWrite(key); status != Success)
        return status;
    return detail::deleteValue(key.store().directory(), key.root(), key.path(), name);
}

Status deleteKey(const Key &parent, const QString &subKey)
{
    if (!parent.isOpen())
        return InvalidHandle;
    const std::optional<QString> path = joinPath(parent, subKey);
    if (!path)
        return InvalidParameter;
    return detail::deleteKey(parent.store().directory(), parent.root(), *path);
}

Status enumKey(const Key &key, int index, QString &name)
{
    detail::Node tree;
    const detail::Node *node = nullptr;
    if (const Status status = readKey(key, tree, node); status != Success)
        return status;
    if (index < 0 || std::size_t(index) >= node->keys.size())
        return NoMoreItems;
    name = node->keys[std::size_t(index)].name;
    return Success;
}

Status enumValue(const Key &key, int index, QString &name, QString &value)
{
    detail::Node tree;
    const detail::Node *node = nullptr;
    if (const Status status = readKey(key, tree, node); status != Success)
        return status;
    if (index < 0 || index >= node->values.size())
        return NoMoreItems;
    name = node->values[index].first;
    value = node->values[index].second;
    return Success;
}

Status closeKey(Key &key)
{
    if (!key.isOpen())
        return InvalidHandle;
    key = Key();
    return Success;
}

} // namespace platform::registry
