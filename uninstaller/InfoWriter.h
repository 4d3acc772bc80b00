#pragma once

// Writing the uninstall information, the inverse of InfoReader.h: what an installer appends to
// a copy of the uninstaller.

#include "uninstaller/ByteString.h"
#include "uninstaller/InfoReader.h"

#include <vector>

namespace uninstaller {

struct UninstallContent
{
    ByteString productName;
    ByteString commandCode;
    ByteString commandLine;
    std::vector<ByteString> roots;
    std::vector<ByteString> shared;
    std::vector<BackupRecord> backups;
    std::vector<ByteString> files;
    std::vector<ByteString> directories;
    // None, or the four roots' bodies (classes root, current user, local machine, users).
    std::vector<RegistryKeyRecord> registryRoots;
};

// Scrambles `body` with the key bytes and appends them and the checksum.
ByteString encodeUninstallLayer(const ByteString &body, unsigned char k1, unsigned char k2);

// The content: header line, the five markers and their sections.
ByteString composeContent(const UninstallContent &content);
// The registry part: the key bodies of the roots, one after the other.
ByteString composeRegistry(const std::vector<RegistryKeyRecord> &roots);

// The content in its two layers, as stored.
ByteString protectContent(const ByteString &content);

// Appends the protected content and the offset trailer to the program file at `path`. A file
// that carries information already has it replaced. False when the file cannot be rewritten.
bool appendUninstallInformation(const char *path, const ByteString &content);

} // namespace uninstaller
