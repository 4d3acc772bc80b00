#pragma once

#include "platform/registry/Root.h"

#include <QString>
#include <QStringList>

#include <optional>

namespace platform::registry {

// A hierarchical store of keys holding string values, kept in one file per root in a
// directory. Key paths are backslash separated ("SOFTWARE\Keswire\PelmoraApp"); leading and
// trailing backslashes are ignored and the empty path is the root itself. Key and value names
// are compared without regard to case and keep the spelling they were created with; the empty
// value name is the key's default value. Subkeys and values are listed in the order created.
//
// Every read goes to the file, so a change made by another program is seen at once. Every
// change locks the root, re-reads its file, and replaces the file whole, so programs writing at
// the same time lose nothing and a reader never sees half a file. A corrupt or unreadable file
// reads as empty; before anything is written in its place it is renamed aside with a message on
// standard error. A store that cannot be written answers false to every change.
class Store
{
public:
    explicit Store(const QString &directory = defaultDirectory());

    // $PELMORA_REGISTRY, else $XDG_CONFIG_HOME/pelmora/registry, else ~/.config/pelmora/registry.
    static QString defaultDirectory();

    // The absolute directory of the store files; created by the first change.
    QString directory() const;

    // The file that holds `root`: "<directory>/HKEY_CURRENT_USER.reg" and so on.
    QString filePath(Root root) const;

    bool keyExists(Root root, const QString &path) const;
    std::optional<QString> queryValue(Root root, const QString &path, const QString &name) const;

    // Creates every missing key on the path; true when the key exists afterwards.
    bool createKey(Root root, const QString &path);
    // Sets a value of an existing key, adding it when missing.
    bool setValue(Root root, const QString &path, const QString &name, const QString &value);

    // Names of the subkeys and values of a key, in the order created; empty for a missing key.
    QStringList subKeys(Root root, const QString &path) const;
    QStringList valueNames(Root root, const QString &path) const;

    bool deleteValue(Root root, const QString &path, const QString &name);
    // Deletes a key with its values; fails when it has subkeys, does not exist or is the root.
    bool deleteKey(Root root, const QString &path);

    // Whether changes to `root` can be written: its file, if any, and the directory are writable.
    bool canWrite(Root root) const;

private:
    QString m_directory;
};

} // namespace platform::registry
