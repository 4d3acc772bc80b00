// The uninstall information: its two protective layers, its place at the end of the program
// file, and the header, sections and registry records it splits into.
#include "uninstaller/InfoReader.h"
#include "uninstaller/InfoWriter.h"

#include <gtest/gtest.h>

#include <string>

using namespace uninstaller;

namespace {

std::string bytesOf(const ByteString &s)
{
    return std::string(s.data(), s.length());
}

ByteString raw(const std::string &bytes)
{
    return ByteString::fromBytes(bytes.data(), std::uint32_t(bytes.size()));
}

// A program image followed by the stored block and its offset.
std::string programWith(const ByteString &content, const std::string &program = "\x7F"
                                                                                "ELF..")
{
    std::string image = program + bytesOf(protectContent(content));
    const std::uint32_t offset = std::uint32_t(program.size());
    for (int shift = 0; shift < 32; shift += 8)
        image.push_back(char((offset >> shift) & 0xFF));
    return image;
}

const char *const emptySections = "Shared:\r\nBackups:\r\nFiles:\r\nDirectories:\r\nRegistry:\r\n";

} // namespace

TEST(UninstallLayer, UnscramblesWithTheRunningKey)
{
    // k1 = 1, k2 = 2 subtract 3, 4, 5; k1 = k2 = 0x80 subtract 0, 0x80, 0, 0x80.
    struct Case
    {
        unsigned char k1, k2;
        std::string scrambled, plain;
    };
    const std::vector<Case> cases = {
        {1, 2, "\x03\x04\x05", std::string("\0\0\0", 3)},
        {0x80, 0x80, "\x10\x90\x10\x90", std::string("\x10\x10\x10\x10", 4)},
    };
    for (const Case &c : cases) {
        const std::string keyed = c.scrambled + char(c.k1) + char(c.k2);
        std::string sums(8, '\0');
        for (size_t j = 0; j < keyed.size(); ++j)
            sums[j % 8] = char(sums[j % 8] + keyed[j]);
        ByteString layer = raw(keyed + sums);
        EXPECT_EQ(bytesOf(encodeUninstallLayer(raw(c.plain), c.k1, c.k2)), keyed + sums);
        EXPECT_TRUE(decodeUninstallLayer(layer));
        EXPECT_EQ(bytesOf(layer), c.plain);
    }
}

TEST(UninstallLayer, ChecksTheSumAndTheLength)
{
    ByteString empty = encodeUninstallLayer(ByteString(), 7, 9);
    ASSERT_EQ(empty.length(), 10u);
    EXPECT_EQ(empty.at(2), 7); // the counters over the two key bytes alone
    EXPECT_EQ(empty.at(3), 9);
    EXPECT_TRUE(decodeUninstallLayer(empty));
    EXPECT_EQ(empty.length(), 0u);

    ByteString shortLayer("123456789");
    EXPECT_FALSE(decodeUninstallLayer(shortLayer));
    EXPECT_EQ(bytesOf(shortLayer), "123456789");

    ByteString changed = encodeUninstallLayer(ByteString("Pelmora"), 3, 4);
    changed = raw(bytesOf(changed).replace(1, 1, "!"));
    EXPECT_FALSE(decodeUninstallLayer(changed));
    EXPECT_EQ(changed.length(), 7u); // unscrambled all the same, for the caller to discard
}

TEST(UninstallInformation, RoundTripsEverySection)
{
    UninstallContent content;
    content.productName = "Fake Product";
    content.commandCode = "102";
    content.commandLine = "/opt/fake/bin/stop --now";
    content.roots = {"/opt/fake", "/srv/fake data"};
    content.shared = {"/opt/fake/lib/libshared.so", "x"};
    content.backups = {
        {"/opt/fake/backup/a.so", "/opt/fake/lib/a.so", 0x00020001, 7, 0xFFFFFFFFu, 0x80000000u}};
    content.files = {"/opt/fake/bin/fake", "/opt/fake/readme"};
    content.directories = {"/opt/fake/bin", "/opt/fake"};
    RegistryKeyRecord software;
    software.name = "Software\\Fake";
    software.remove = true;
    software.values = {{"Window", true}, {"Kept", false}};
    content.registryRoots.resize(4);
    content.registryRoots[1].keys = {software};
    content.registryRoots[2].values = {{"Top", true}};

    UninstallInformation info;
    const std::string image = programWith(composeContent(content));
    ASSERT_EQ(readUninstallInformation(image.data(), image.size(), info), InfoStatus::Ok);
    EXPECT_EQ(bytesOf(info.productName), "Fake Product");
    EXPECT_EQ(bytesOf(info.commandCode), "102");
    EXPECT_EQ(bytesOf(info.commandLine), "/opt/fake/bin/stop --now");
    ASSERT_EQ(info.roots.size(), 2u);
    EXPECT_EQ(bytesOf(info.roots[1]), "/srv/fake data");
    EXPECT_EQ(info.sharedLines.size(), 2u); // a one-byte shared line is still taken
    ASSERT_EQ(info.backupRecords.size(), 1u);
    const BackupRecord &backup = info.backupRecords[0];
    EXPECT_EQ(bytesOf(backup.installedPath), "/opt/fake/lib/a.so");
    EXPECT_EQ(backup.versionMS, 0x00020001u);
    EXPECT_EQ(backup.versionLS, 7u);
    EXPECT_EQ(backup.writeTimeHigh, 0xFFFFFFFFu); // written in full, above the signed range
    EXPECT_EQ(backup.writeTimeLow, 0x80000000u);
    EXPECT_EQ(info.fileLines.size(), 2u);
    EXPECT_EQ(bytesOf(info.directoryLines[1]), "/opt/fake");
    ASSERT_EQ(info.registryRoots.size(), 4u);
    ASSERT_EQ(info.registryRoots[1].keys.size(), 1u);
    const RegistryKeyRecord &key = info.registryRoots[1].keys[0];
    EXPECT_EQ(bytesOf(key.name), "Software\\Fake");
    EXPECT_TRUE(key.remove);
    ASSERT_EQ(key.values.size(), 2u);
    EXPECT_TRUE(key.values[0].remove);
    EXPECT_FALSE(key.values[1].remove);
    EXPECT_TRUE(info.registryRoots[2].values[0].remove);
}

TEST(UninstallInformation, SplitsHeaderAndSectionsByTheLineRules)
{
    struct Case
    {
        std::string content;
        std::string product, code, command;
        size_t shared, backups, files, directories;
        bool registry;
    };
    const std::string sections = emptySections;
    const std::vector<Case> cases = {
        {std::string("P\0\0", 3) + "\r\n" + sections, "P", "", "", 0, 0, 0, 0, false},
        {"OnlyName\r\n" + sections, "OnlyName", "", "", 0, 0, 0, 0, false},
        {std::string("P\0"
                     "100\0run me\r\nignored text\r\n",
                     25)
             + sections,
         "P", "100", "run me", 0, 0, 0, 0, false},
        {"P\r\nShared:\r\na\r\n\r\nBackups:\r\nab\r\nabc\tx\r\nFiles:\r\n12\r\n123\r\n"
         "Directories:\r\n1\r\n/dir\r\nRegistry:\r\n",
         "P", "", "", 1, 1, 1, 1, false},
        {"P\r\nShared:\r\nBackups:\r\nFiles:\r\n" + std::string("/a\0junk\r\n/abc\0", 15)
             + "\r\nDirectories:\r\nRegistry:\r\n" + std::string(32, '\0'),
         "P", "", "", 0, 0, 1, 0, true},
    };
    for (const Case &c : cases) {
        UninstallInformation info;
        ASSERT_EQ(splitUninstallContent(raw(c.content), info), InfoStatus::Ok) << c.content;
        EXPECT_EQ(bytesOf(info.productName), c.product);
        EXPECT_EQ(bytesOf(info.commandCode), c.code);
        EXPECT_EQ(bytesOf(info.commandLine), c.command);
        EXPECT_EQ(info.sharedLines.size(), c.shared) << c.content;
        EXPECT_EQ(info.backupLines.size(), c.backups) << c.content;
        EXPECT_EQ(info.fileLines.size(), c.files) << c.content;
        EXPECT_EQ(info.directoryLines.size(), c.directories) << c.content;
        EXPECT_EQ(!info.registryRoots.empty(), c.registry) << c.content;
    }
}

TEST(UninstallInformation, RefusesWhatBreaksTheFormat)
{
    const std::string sections = emptySections;
    std::string root(8, '\0');
    const std::string keyName = std::string("\0\0\0\1"
                                            "Key\0",
                                            8);
    const std::vector<std::string> contents = {
        "P\r\nShared:\r\nFiles:\r\nDirectories:\r\nRegistry:\r\n",             // a marker missing
        "P\r\nBackups:\r\nShared:\r\nFiles:\r\nDirectories:\r\nRegistry:\r\n", // out of order
        "P\r\n" + sections + std::string(31, '\0'),                            // a root cut short
        "P\r\n" + sections
            + std::string("\0\0\0\1"
                          "Value",
                          9),                                    // a name without NUL
        "P\r\n" + sections + std::string("\xFF\xFF\xFF\xFF", 4), // a count past the end
        "P\r\n" + sections + std::string(4, '\0') + std::string("\0\0\0\1", 4) + keyName,
    };
    for (const std::string &content : contents) {
        UninstallInformation info;
        EXPECT_EQ(splitUninstallContent(raw(content), info), InfoStatus::Corrupt) << content;
    }
    // Nesting deeper than any product's keys.
    std::string deep = "P\r\n" + sections + std::string(4, '\0');
    for (int i = 0; i < 300; ++i)
        deep += std::string("\0\0\0\1", 4) + keyName + std::string(4, '\0');
    UninstallInformation info;
    EXPECT_EQ(splitUninstallContent(raw(deep), info), InfoStatus::Corrupt);
}

TEST(UninstallInformation, RefusesAProgramFileWithoutFittingInformation)
{
    const std::string good =
        programWith(ByteString(("P\r\n" + std::string(emptySections)).c_str()));
    std::string badOffset = good;
    badOffset[badOffset.size() - 1] = '\x7F'; // an offset far beyond the file
    std::string changed = good;
    changed[8] = char(changed[8] + 1);
    const std::vector<std::string> images = {
        "",
        "abc",
        "\x7F"
        "ELF plain program without information",
        badOffset,
        changed,
        good.substr(0, 6) + good.substr(good.size() - 4), // the block cut away
        good.substr(3),                                   // the start cut away
    };
    for (const std::string &image : images) {
        UninstallInformation info;
        EXPECT_EQ(readUninstallInformation(image.data(), image.size(), info), InfoStatus::Corrupt)
            << image.size();
    }
    UninstallInformation info;
    EXPECT_EQ(readUninstallInformation(good.data(), good.size(), info), InfoStatus::Ok);
    EXPECT_EQ(loadUninstallInformation("/nonexistent/uninstaller", info), InfoStatus::Unreadable);
}
