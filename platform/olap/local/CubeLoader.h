#pragma once

#include "platform/olap/local/CubeStore.h"

#include <QString>

#include <cstddef>
#include <memory>

namespace platform::olap::local {

struct LoadOptions
{
    int threads = 0;                     // threads reading the facts; 0: one per core, up to 8
    std::size_t rowsPerThread = 1 << 18; // fewer rows are not worth another thread
};

// Opens a cube file read-only (a missing file is never created, an existing one never
// written) and loads its cubes into memory. Throws platform::Error with a description that
// names the file (as displayName when given) and, for schema faults, the schema line.
std::shared_ptr<const CubeFile> loadCubeFile(const QString &path,
                                             const QString &displayName = QString(),
                                             const LoadOptions &options = LoadOptions());

// The schema XML of a cube file, after checking that the file is one (tables, format
// version); the schema itself is not checked. Throws platform::Error.
QString readSchemaXml(const QString &path);

// Throws platform::Error unless the path names a regular file (or a link to one): missing
// ("File not found: "), or a directory, FIFO, socket or device, which `what` cannot be.
void checkRegularFile(const QString &file, const QString &path, const QString &what);

// The format version this program reads and writes.
inline constexpr int cubeFormatVersion = 1;

} // namespace platform::olap::local
