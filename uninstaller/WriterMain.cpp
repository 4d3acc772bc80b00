// Appends the uninstall information for an installed product to a copy of the uninstaller:
//   uninstall-info-writer UNINSTALLER --product NAME [--root PATH]... [--file PATH]...
//       [--directory PATH]... [--shared PATH]... [--registry-key ROOT\PATH]...
// A registry key is removed with its values once it has no subkeys left; so are the keys on
// its path, deepest first, as far as they are empty.
#include "uninstaller/InfoWriter.h"

#include <cstdio>
#include <cstring>
#include <string>

using namespace uninstaller;

namespace {

const char *const rootNames[] = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE",
                                 "HKEY_USERS"};

// Adds ROOT\A\B\C as nested keys, each flagged for removal.
bool addRegistryKey(std::vector<RegistryKeyRecord> &roots, const std::string &key)
{
    const std::size_t slash = key.find('\\');
    const std::string rootName = key.substr(0, slash);
    RegistryKeyRecord *node = nullptr;
    for (int i = 0; i < 4; ++i)
        if (rootName == rootNames[i])
            node = &roots[std::size_t(i)];
    if (!node || slash == std::string::npos)
        return false;
    std::size_t start = slash + 1;
    while (start < key.size()) {
        std::size_t end = key.find('\\', start);
        if (end == std::string::npos)
            end = key.size();
        const ByteString name(key.substr(start, end - start).c_str());
        RegistryKeyRecord *found = nullptr;
        for (RegistryKeyRecord &child : node->keys)
            if (child.name == name)
                found = &child;
        if (!found) {
            node->keys.push_back(RegistryKeyRecord{name, true, {}, {}});
            found = &node->keys.back();
        }
        node = found;
        start = end + 1;
    }
    return true;
}

} // namespace

int main(int argc, char **argv)
{
    if (argc < 2 || argc % 2 != 0) {
        std::fprintf(stderr,
                     "usage: %s UNINSTALLER --product NAME [--root PATH]... "
                     "[--file PATH]... [--directory PATH]... [--shared PATH]... "
                     "[--registry-key ROOT\\PATH]...\n",
                     argv[0]);
        return 2;
    }
    UninstallContent content;
    std::vector<RegistryKeyRecord> registry(4);
    bool anyKey = false;
    for (int i = 2; i + 1 < argc; i += 2) {
        const std::string option = argv[i];
        const ByteString value(argv[i + 1]);
        if (option == "--product")
            content.productName = value;
        else if (option == "--root")
            content.roots.push_back(value);
        else if (option == "--file")
            content.files.push_back(value);
        else if (option == "--directory")
            content.directories.push_back(value);
        else if (option == "--shared")
            content.shared.push_back(value);
        else if (option == "--registry-key" && addRegistryKey(registry, argv[i + 1]))
            anyKey = true;
        else {
            std::fprintf(stderr, "%s: unknown option or key: %s %s\n", argv[0], argv[i],
                         argv[i + 1]);
            return 2;
        }
    }
    if (anyKey)
        content.registryRoots = registry;
    if (!appendUninstallInformation(argv[1], composeContent(content))) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[1]);
        return 1;
    }
    return 0;
}
