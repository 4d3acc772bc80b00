#pragma once

#include "platform/olap/local/CubeStore.h"

#include <QString>

#include <memory>

namespace platform::olap::local {

// The loaded copy of a cube file that every view of that file shares: loaded on the first
// open, handed out again while anyone holds it, and gone when the last holder lets it go. A
// file is known by its device and inode, whatever path names it; a file whose size,
// modification or change time differ from the copy's (written, touched, replaced) is loaded
// anew, and holders of the old copy keep it. The copy is only read after the load, so views
// on several threads may use it at once. Throws platform::Error as loadCubeFile does.
std::shared_ptr<const CubeFile> sharedCubeFile(const QString &path);

} // namespace platform::olap::local
