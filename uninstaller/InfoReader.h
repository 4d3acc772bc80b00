#pragma once

// Reading the uninstall information: a pure function over bytes, so that it can be fed any
// input (a fuzz target calls readUninstallInformation directly).

#include "uninstaller/ByteString.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace uninstaller {

enum class InfoStatus {
    Ok,
    Unreadable,  // the program file cannot be opened or read
    OutOfMemory, // the block cannot be held
    Corrupt,     // a checksum is wrong, or the block or its content breaks the format
};

struct RegistryValueRecord
{
    ByteString name;
    bool remove = false; // flag 1: delete the value
};

// One key body of the registry part: a root, or a subkey with its name and flag.
struct RegistryKeyRecord
{
    ByteString name;
    bool remove = false; // flag non-zero: delete the key once its contents are dealt with
    std::vector<RegistryValueRecord> values;
    std::vector<RegistryKeyRecord> keys;
};

struct BackupRecord
{
    ByteString backupPath;    // the copy
    ByteString installedPath; // where the copy goes back to
    std::uint32_t versionMS = 0, versionLS = 0;
    std::uint32_t writeTimeHigh = 0, writeTimeLow = 0;
};

inline constexpr int registryRootCount = 4; // classes root, current user, local machine, users

struct UninstallInformation
{
    ByteString productName;
    ByteString commandCode;
    ByteString commandLine;
    // The folders (or single files) the product was installed into, a fourth header field,
    // TAB separated: nothing is removed outside them, but for the shared files in their own
    // folders.
    std::vector<ByteString> roots;

    // The sections as stored, and their lines by the line rules.
    ByteString shared, backups, files, directories, registry;
    std::vector<ByteString> sharedLines;
    std::vector<ByteString> backupLines;
    std::vector<BackupRecord> backupRecords;
    std::vector<ByteString> fileLines;
    std::vector<ByteString> directoryLines;
    // The four roots' bodies, in the stored order; empty when the registry part is.
    std::vector<RegistryKeyRecord> registryRoots;
};

// Checks and unscrambles one layer in place and cuts its 10 trailing bytes; true when the
// checksum matched. A layer shorter than 10 bytes is left alone and answers false.
bool decodeUninstallLayer(ByteString &layer);

// Where the stored block lies in a program file of `fileSize` bytes whose last four bytes hold
// `trailer` (little-endian offset): Corrupt unless it fits between the offset and the trailer.
InfoStatus locateInformation(std::uint64_t fileSize, std::uint32_t trailer, std::uint64_t &offset,
                             std::uint64_t &count);

// Unscrambles the stored block (two layers) and splits the content.
InfoStatus decodeInformation(ByteString block, UninstallInformation &info);

// Splits the content into its header, sections and registry records: Corrupt when a marker is
// missing or out of order, or the registry part runs past its end.
InfoStatus splitUninstallContent(const ByteString &content, UninstallInformation &info);

// The whole reading of a program file image: locate, unscramble, split.
InfoStatus readUninstallInformation(const char *bytes, std::size_t size,
                                    UninstallInformation &info);

// The same over the program file at `path`, reading only its end.
InfoStatus loadUninstallInformation(const char *path, UninstallInformation &info);

} // namespace uninstaller
