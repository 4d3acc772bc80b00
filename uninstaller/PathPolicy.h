#pragma once

#include "uninstaller/ByteString.h"

#include <QByteArray>

#include <vector>

namespace uninstaller {

// Where the uninstaller may remove or restore: inside the product's install roots and the
// folders of its shared files, never "/", a system top-level folder (or one of /usr's and
// /usr/local's), a relative path or one with "." or ".." in it.
class PathPolicy
{
public:
    PathPolicy() = default;
    explicit PathPolicy(const std::vector<ByteString> &roots);

    // Adds the folder that holds `path` as a root.
    void addFolderOf(const ByteString &path);
    bool allows(const ByteString &path) const;

    // An absolute path without empty, "." or ".." names (one trailing "/" is dropped); empty
    // when it is not one.
    static QByteArray normalized(const ByteString &path);
    static bool isSystemFolder(const QByteArray &normalizedPath);

private:
    void addRoot(const QByteArray &root);

    std::vector<QByteArray> m_roots;
};

} // namespace uninstaller
