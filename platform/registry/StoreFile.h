#pragma once

// Internal to the registry layer: the key tree of one root, the file that holds it, and the
// changes made to it under the root's lock. Store and the key handles are built on this.

#include "platform/registry/Root.h"
#include "platform/registry/Status.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace platform::registry::detail {

struct Node
{
    QString name;                              // spelled as when first created; empty for a root
    QList<std::pair<QString, QString>> values; // name and text, in the order created
    std::vector<Node> keys;                    // subkeys, in the order created
};

// The key names of a backslash-separated path, leading and trailing backslashes ignored;
// empty for the root itself. Nothing when a name between two backslashes is empty.
std::optional<QStringList> splitPath(const QString &path);

// The key reached from `top` through `names` (compared without regard to case), or null.
const Node *findKey(const Node &top, const QStringList &names);
Node *findKey(Node &top, const QStringList &names);

// Index of the value of that name (without regard to case) in `key`, or -1.
qsizetype findValue(const Node &key, const QString &name);

QString storeFilePath(const QString &directory, Root root);
QString lockFilePath(const QString &directory, Root root);

// Whether the store file of `root` could be written: the file, if it exists, and the directory
// (or, while it is missing, the nearest existing parent) are writable by this process.
bool canWriteRoot(const QString &directory, Root root);

// The tree stored for `root`, read without the lock (a file is only ever replaced whole).
// A missing, unreadable or corrupt file gives an empty tree.
Node readRoot(const QString &directory, Root root);

// A change to a root's tree: returns its status and sets `changed` when the tree must be
// written back.
using Edit = std::function<Status(Node &top, bool &changed)>;

// Applies `edit` under the root's lock to the tree read afresh, then writes the whole tree to a
// temporary file that replaces the store file. A corrupt or unreadable store file is renamed
// aside first, with a message on standard error. Nothing is written unless the edit succeeds
// and changes something.
Status editRoot(const QString &directory, Root root, const Edit &edit);

// The changes of the store, in status form.
Status createKey(const QString &directory, Root root, const QString &path);
Status setValue(const QString &directory, Root root, const QString &path, const QString &name,
                const QString &value);
Status deleteValue(const QString &directory, Root root, const QString &path, const QString &name);
Status deleteKey(const QString &directory, Root root, const QString &path);

} // namespace platform::registry::detail
