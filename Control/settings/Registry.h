#pragma once

#include "platform/registry/Root.h"

#include <QString>
#include <QVariant>

#include <optional>

// Text values of the registry store addressed by full key paths: the root key's name, a
// backslash and the subkey path ("HKEY_LOCAL_MACHINE\SOFTWARE\Keswire\PelmoraApp"). Nothing
// here throws: a read reports failure with the text "Error"; a path of the wrong form is shown
// in a message box and then does nothing.
namespace pelmora::registry {

// The root key of one of the seven predefined names, compared exactly (case-sensitive);
// nothing for any other name.
std::optional<platform::registry::Root> rootKeyFromName(const QString &name);

// Splits a full key path into its root key and the subkey path, which replaces `path` (empty
// for the root itself). A path that does not begin with "HKEY_" or that ends with a backslash
// is shown as "Incorrect Format:" and the path, and gives no root key; so does an unknown root
// name, without a message. `path` is left as it was whenever there is no root key.
void splitRegPath(QString &path, std::optional<platform::registry::Root> &rootKey);

// The text of a value, of any length, up to its first NUL and without leading blanks; the text
// "Error" when the key or the value cannot be read; an empty variant when the path has no root
// key.
QVariant getRegValue(const QString &keyPath, const QString &valueName);

// Creates the key and every missing key on its path. Answers whether the key exists now.
bool createRegKey(const QString &keyPath);

// Sets a text value of an existing key, adding it when missing; the key is not created here.
// Answers whether the value was written.
bool setRegValue(const QString &keyPath, const QString &valueName, const QString &value);

} // namespace pelmora::registry
