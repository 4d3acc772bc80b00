#include "uninstaller/InfoWriter.h"

#include <cstdio>
#include <string>

namespace uninstaller {

namespace {

void appendBigEndian32(ByteString &out, std::uint32_t value)
{
    for (int shift = 24; shift >= 0; shift -= 8)
        out.append(char((value >> shift) & 0xFF));
}

void appendName(ByteString &out, const ByteString &name)
{
    out.append(name);
    out.append('\0');
}

void appendKeyBody(ByteString &out, const RegistryKeyRecord &key)
{
    appendBigEndian32(out, std::uint32_t(key.values.size()));
    for (const RegistryValueRecord &value : key.values) {
        appendName(out, value.name);
        appendBigEndian32(out, value.remove ? 1 : 0);
    }
    appendBigEndian32(out, std::uint32_t(key.keys.size()));
    for (const RegistryKeyRecord &subkey : key.keys) {
        appendBigEndian32(out, subkey.remove ? 1 : 0);
        appendName(out, subkey.name);
        appendKeyBody(out, subkey);
    }
}

void appendLines(ByteString &out, const char *marker, const std::vector<ByteString> &lines)
{
    out.append(marker, 0);
    for (const ByteString &line : lines) {
        out.append(line);
        out.append("\r\n", 0);
    }
}

void appendDecimal(ByteString &out, std::uint32_t value)
{
    out.append(std::to_string(value).c_str(), 0);
}

} // namespace

ByteString encodeUninstallLayer(const ByteString &body, unsigned char k1, unsigned char k2)
{
    ByteString layer;
    unsigned char key = static_cast<unsigned char>(k1 + k2);
    for (std::uint32_t i = 0; i < body.length(); ++i) {
        layer.append(char(static_cast<unsigned char>(body.at(int(i)) + key)));
        key = static_cast<unsigned char>(key + k1);
    }
    layer.append(char(k1));
    layer.append(char(k2));
    unsigned char sums[8] = {};
    for (std::uint32_t i = 0; i < layer.length(); ++i)
        sums[i % 8] = static_cast<unsigned char>(sums[i % 8] + layer.at(int(i)));
    for (unsigned char sum : sums)
        layer.append(char(sum));
    return layer;
}

ByteString composeRegistry(const std::vector<RegistryKeyRecord> &roots)
{
    ByteString out;
    for (const RegistryKeyRecord &root : roots)
        appendKeyBody(out, root);
    return out;
}

ByteString composeContent(const UninstallContent &content)
{
    ByteString out;
    out.append(content.productName);
    out.append('\0');
    out.append(content.commandCode);
    out.append('\0');
    out.append(content.commandLine);
    out.append('\0');
    for (std::size_t i = 0; i < content.roots.size(); ++i) {
        if (i)
            out.append('\t');
        out.append(content.roots[i]);
    }
    out.append("\r\n", 0);
    appendLines(out, "Shared:\r\n", content.shared);
    out.append("Backups:\r\n", 0);
    for (const BackupRecord &backup : content.backups) {
        out.append(backup.backupPath);
        out.append('\t');
        out.append(backup.installedPath);
        for (std::uint32_t number :
             {backup.versionMS, backup.versionLS, backup.writeTimeHigh, backup.writeTimeLow}) {
            out.append('\t');
            appendDecimal(out, number);
        }
        out.append("\r\n", 0);
    }
    appendLines(out, "Files:\r\n", content.files);
    appendLines(out, "Directories:\r\n", content.directories);
    out.append("Registry:\r\n", 0);
    if (!content.registryRoots.empty())
        out.append(composeRegistry(content.registryRoots));
    return out;
}

ByteString protectContent(const ByteString &content)
{
    // Any key bytes will do; these vary with the content so that equal bodies differ.
    const unsigned char k1 = static_cast<unsigned char>(0x5B + content.length());
    const unsigned char k2 = static_cast<unsigned char>(0xC7 ^ content.at(0));
    return encodeUninstallLayer(encodeUninstallLayer(content, k1, k2), k2, k1);
}

bool appendUninstallInformation(const char *path, const ByteString &content)
{
    ByteString program;
    if (program.loadFile(path, 0, 0) != 1)
        return false;
    // A copy that carries information already: keep only the program before it.
    UninstallInformation existing;
    if (readUninstallInformation(program.data(), program.length(), existing) == InfoStatus::Ok) {
        const std::uint32_t length = program.length();
        const std::uint32_t offset = std::uint32_t(program.at(int(length) - 4))
                                     | std::uint32_t(program.at(int(length) - 3)) << 8
                                     | std::uint32_t(program.at(int(length) - 2)) << 16
                                     | std::uint32_t(program.at(int(length) - 1)) << 24;
        program = program.substring(0, int(offset));
    }
    const std::uint32_t offset = program.length();
    program.append(protectContent(content));
    for (int shift = 0; shift < 32; shift += 8)
        program.append(char((offset >> shift) & 0xFF));
    return program.saveFile(path) == 1;
}

} // namespace uninstaller
