#pragma once

#include "platform/registry/Root.h"
#include "platform/registry/Status.h"
#include "platform/registry/Store.h"

#include <QString>

namespace platform::registry {

// Access asked for when a key is opened.
enum class Access {
    Read = 1,
    Write = 2,
    ReadWrite = Read | Write,
};

constexpr Access operator|(Access a, Access b)
{
    return Access(int(a) | int(b));
}

// Whether `granted` includes everything of `wanted`.
constexpr bool allows(Access granted, Access wanted)
{
    return (int(granted) & int(wanted)) == int(wanted);
}

// A handle to a key of a store, in the shape of the Windows registry calls: a root is always
// open; other keys are opened or created below an open key and closed when done. A handle
// names its key by path, so a key deleted and created again is the same key to it.
class Key
{
public:
    // A closed handle, as a failed open leaves it.
    Key() = default;
    // The root key itself (like HKEY_LOCAL_MACHINE), open for reading and writing.
    // Not explicit: a root stands for its key wherever a key is expected, as the predefined
    // keys do.
    Key(Root root, const Store &store = Store());

    bool isOpen() const { return m_open; }
    Root root() const { return m_root; }
    Access access() const { return m_access; }
    // The path below the root as the caller spelled it, without outer backslashes.
    const QString &path() const { return m_path; }
    // The root's name and the path: "HKEY_LOCAL_MACHINE\SOFTWARE\Keswire".
    QString fullPath() const;
    Store store() const { return Store(m_directory); }

private:
    friend Status openKey(const Key &, const QString &, Access, Key &);
    friend Status createKey(const Key &, const QString &, Key &);

    Key(const QString &directory, Root root, const QString &path, Access access);

    QString m_directory;
    Root m_root = Root::LocalMachine;
    QString m_path;
    Access m_access = Access::Read;
    bool m_open = false;
};

// Opens an existing key below `parent`: NotFound when it does not exist, AccessDenied when
// write access is asked for and the root's file cannot be written. On failure `result` is
// closed.
Status openKey(const Key &parent, const QString &subKey, Access access, Key &result);

// Opens a key below `parent` for reading and writing, creating every missing key on the path;
// AccessDenied when the root's file cannot be written, even when the key already exists.
Status createKey(const Key &parent, const QString &subKey, Key &result);

// Reads a value of an open key (Read access): NotFound when the value or the key is missing.
Status queryValue(const Key &key, const QString &name, QString &value);

// Sets a value of an open key (Write access), adding it when missing.
Status setValue(const Key &key, const QString &name, const QString &value);

// Deletes a value of an open key (Write access).
Status deleteValue(const Key &key, const QString &name);

// Deletes a key below `parent` with its values: NotFound when missing, AccessDenied when it
// still has subkeys or the root's file cannot be written.
Status deleteKey(const Key &parent, const QString &subKey);

// The name of subkey or value number `index` (from 0, in the order created) of an open key
// (Read access); NoMoreItems past the last.
Status enumKey(const Key &key, int index, QString &name);
Status enumValue(const Key &key, int index, QString &name, QString &value);

// Closes a handle; InvalidHandle when it was not open.
Status closeKey(Key &key);

} // namespace platform::registry
