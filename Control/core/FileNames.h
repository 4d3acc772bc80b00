#pragma once

#include <QString>

namespace pelmora {

// The file name with another extension (given with its dot, ".oc2"): the name's own
// extension, from the last "." of its last path component, is replaced; a name without one
// (no dot, or only a leading dot as in ".hidden") gets the extension appended. Dots in folder
// names are left alone, so the new file stays beside the old one.
QString changeExtension(const QString &fileName, const QString &extension);

} // namespace pelmora
