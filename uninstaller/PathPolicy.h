#pragma once

#include "uninstaller/ByteString.h"

#include <QByteArray>

#include <vector>

namespace uninstaller {

// Where the uninstaller may remove or restore: inside the given roots, never a relative path,
// one with "." or ".." in it, or one of the refused folders itself.
class PathPolicy
{
public:
    PathPolicy() = default;
    // The product's install roots, accepted by acceptsRoot beforehand.
    explicit PathPolicy(const std::vector<ByteString> &roots);

    // These roots and the folders that hold `files`: the shared files step only, since a
    // shared file commonly lives in a system folder that is not the product's own.
    PathPolicy withFoldersOf(const std::vector<ByteString> &files) const;
    bool allows(const ByteString &path) const;

    // Whether `root` can be a product's own folder: an absolute, normalized path that neither
    // is nor holds one of the refused folders, taken as written and with its links resolved.
    static bool acceptsRoot(const ByteString &root);

    // An absolute path without empty, "." or ".." names (one trailing "/" is dropped); empty
    // when it is not one.
    static QByteArray normalized(const ByteString &path);

private:
    void addRoot(const QByteArray &root);

    std::vector<QByteArray> m_roots;
};

} // namespace uninstaller
