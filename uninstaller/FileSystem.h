#pragma once

#include <QByteArray>

#include <cstdint>
#include <optional>

namespace uninstaller {

// What the uninstaller does to files, replaceable so that tests can make an operation fail
// (they run as root, where permissions refuse nothing). Paths are absolute; the real one
// reaches each path through its folders one by one and refuses (ELOOP) any folder on the way,
// or a directory to remove, that is a symbolic link. A file that is a link is removed itself,
// never what it points to. Results are 0 or an errno value.
class FileSystem
{
public:
    virtual ~FileSystem() = default;

    virtual int removeFile(const QByteArray &path);
    virtual int removeDirectory(const QByteArray &path);
    // Replaces `to` with a copy of `from` (through a temporary file beside `to`).
    virtual int copyFile(const QByteArray &from, const QByteArray &to);
    virtual bool canRead(const QByteArray &path);
    // The last-write time in 100-nanosecond units since 1601, as the backups record it.
    virtual std::optional<std::uint64_t> lastWriteTime(const QByteArray &path);
};

} // namespace uninstaller
