#include "uninstaller/InfoReader.h"

#include <cstdio>
#include <new>

namespace uninstaller {

namespace {

constexpr int layerTail = 10;     // two key bytes and the 8-byte checksum
constexpr int maximumDepth = 256; // deeper key nesting is not a real product's

const char *const markers[] = {"Shared:\r\n", "Backups:\r\n", "Files:\r\n", "Directories:\r\n",
                               "Registry:\r\n"};

// A line ends at its CR LF or its first NUL (readLine keeps the NULs of a last line).
ByteString cutAtNul(const ByteString &line)
{
    const int nul = line.findChar('\0', 0);
    return nul < 0 ? line : line.substring(0, nul);
}

std::vector<ByteString> sectionLines(const ByteString &section, std::uint32_t shortest)
{
    std::vector<ByteString> lines;
    int pos = 0;
    ByteString line;
    while (section.isValidPos(pos)) {
        section.readLine(&pos, line, false);
        line = cutAtNul(line);
        if (line.length() >= shortest)
            lines.push_back(line);
    }
    return lines;
}

// Leading blanks, an optional sign, digits up to the first other byte; modulo 2^32.
std::uint32_t decimal32(const ByteString &field)
{
    int i = 0;
    while (field.at(i) == ' ' || field.at(i) == '\t')
        ++i;
    bool negative = false;
    if (field.at(i) == '-' || field.at(i) == '+')
        negative = field.at(i++) == '-';
    std::uint32_t value = 0;
    while (field.at(i) >= '0' && field.at(i) <= '9')
        value = value * 10u + std::uint32_t(field.at(i++) - '0');
    return negative ? 0u - value : value;
}

std::vector<ByteString> splitFields(const ByteString &line, char separator)
{
    std::vector<ByteString> fields;
    int start = 0;
    for (;;) {
        const int end = line.findChar(separator, start);
        if (end < 0) {
            fields.push_back(line.isValidPos(start)
                                 ? line.substring(start, int(line.length()) - start)
                                 : ByteString());
            return fields;
        }
        fields.push_back(line.substring(start, end - start));
        start = end + 1;
    }
}

BackupRecord backupRecord(const ByteString &line)
{
    std::vector<ByteString> fields = splitFields(line, '\t');
    fields.resize(6);
    BackupRecord record;
    record.backupPath = fields[0];
    record.installedPath = fields[1];
    record.versionMS = decimal32(fields[2]);
    record.versionLS = decimal32(fields[3]);
    record.writeTimeHigh = decimal32(fields[4]);
    record.writeTimeLow = decimal32(fields[5]);
    return record;
}

// Reads the registry part with one running position, never past its end.
class RegistryParser
{
public:
    explicit RegistryParser(const ByteString &data) : m_data(data) {}

    bool keyBody(RegistryKeyRecord &key, int depth)
    {
        if (depth > maximumDepth)
            return false;
        std::uint32_t values = 0;
        if (!number(values))
            return false;
        for (std::uint32_t i = 0; i < values; ++i) {
            RegistryValueRecord value;
            std::uint32_t flag = 0;
            if (!name(value.name) || !number(flag))
                return false;
            value.remove = flag == 1;
            key.values.push_back(std::move(value));
        }
        std::uint32_t keys = 0;
        if (!number(keys))
            return false;
        for (std::uint32_t i = 0; i < keys; ++i) {
            RegistryKeyRecord subkey;
            std::uint32_t flag = 0;
            if (!number(flag) || !name(subkey.name) || !keyBody(subkey, depth + 1))
                return false;
            subkey.remove = flag != 0;
            key.keys.push_back(std::move(subkey));
        }
        return true;
    }

private:
    bool number(std::uint32_t &value)
    {
        if (std::uint64_t(m_pos) + 4 > m_data.length())
            return false;
        value = m_data.readBigEndian32(m_pos);
        m_pos += 4;
        return true;
    }

    bool name(ByteString &text)
    {
        const int nul = m_data.findChar('\0', m_pos);
        if (nul < 0)
            return false;
        text = m_data.substring(m_pos, nul - m_pos);
        m_pos = nul + 1;
        return true;
    }

    const ByteString &m_data;
    int m_pos = 0;
};

std::uint32_t littleEndian32(const unsigned char *bytes)
{
    return std::uint32_t(bytes[0]) | std::uint32_t(bytes[1]) << 8 | std::uint32_t(bytes[2]) << 16
           | std::uint32_t(bytes[3]) << 24;
}

} // namespace

bool decodeUninstallLayer(ByteString &layer)
{
    const std::uint32_t length = layer.length();
    if (length < std::uint32_t(layerTail))
        return false;
    unsigned char sums[8] = {};
    for (std::uint32_t i = 0; i + 8 < length; ++i)
        sums[i % 8] = static_cast<unsigned char>(sums[i % 8] + layer.at(int(i)));
    const unsigned char k1 = layer.at(int(length) - 10);
    const unsigned char k2 = layer.at(int(length) - 9);
    bool matches = true;
    for (int i = 0; i < 8; ++i)
        matches = matches && sums[i] == layer.at(int(length) - 8 + i);
    ByteString body;
    unsigned char key = static_cast<unsigned char>(k1 + k2);
    for (std::uint32_t i = 0; i + layerTail < length; ++i) {
        body.append(char(static_cast<unsigned char>(layer.at(int(i)) - key)));
        key = static_cast<unsigned char>(key + k1);
    }
    layer = body;
    return matches;
}

InfoStatus locateInformation(std::uint64_t fileSize, std::uint32_t trailer, std::uint64_t &offset,
                             std::uint64_t &count)
{
    if (fileSize < 4 || std::uint64_t(trailer) > fileSize - 4)
        return InfoStatus::Corrupt;
    offset = trailer;
    count = fileSize - 4 - trailer;
    if (count < std::uint64_t(2 * layerTail))
        return InfoStatus::Corrupt;
    return count > 0xFFFFFFFFu ? InfoStatus::OutOfMemory : InfoStatus::Ok;
}

InfoStatus decodeInformation(ByteString block, UninstallInformation &info)
{
    if (!decodeUninstallLayer(block) || !decodeUninstallLayer(block))
        return InfoStatus::Corrupt;
    return splitUninstallContent(block, info);
}

InfoStatus splitUninstallContent(const ByteString &content, UninstallInformation &info)
{
    info = UninstallInformation();
    ByteString header;
    int pos = 0;
    if (content.isValidPos(0))
        content.readLine(&pos, header, true);
    std::vector<ByteString> fields = splitFields(header, '\0');
    fields.resize(4);
    info.productName = fields[0];
    info.commandCode = fields[1];
    info.commandLine = fields[2];
    for (const ByteString &root : splitFields(fields[3], '\t'))
        if (root.length())
            info.roots.push_back(root);

    ByteString *sections[] = {nullptr, &info.shared, &info.backups, &info.files, &info.directories};
    int start = -1;
    for (int i = 0; i < 5; ++i) {
        const int found = content.find(markers[i], start < 0 ? 0 : start, true);
        if (found < 0)
            return InfoStatus::Corrupt;
        if (sections[i])
            *sections[i] = content.substring(start, found - start);
        start = found + int(ByteString(markers[i]).length());
    }
    info.registry = content.isValidPos(start)
                        ? content.substring(start, int(content.length()) - start)
                        : ByteString();

    for (const ByteString &line : sectionLines(info.shared, 0))
        if (line.length()) // an empty name would be the key's default value
            info.sharedLines.push_back(line);
    info.backupLines = sectionLines(info.backups, 3);
    for (const ByteString &line : info.backupLines)
        info.backupRecords.push_back(backupRecord(line));
    info.fileLines = sectionLines(info.files, 3);
    info.directoryLines = sectionLines(info.directories, 3);

    if (info.registry.length()) {
        RegistryParser parser(info.registry);
        info.registryRoots.resize(registryRootCount);
        for (RegistryKeyRecord &root : info.registryRoots)
            if (!parser.keyBody(root, 0))
                return InfoStatus::Corrupt;
    }
    return InfoStatus::Ok;
}

InfoStatus readUninstallInformation(const char *bytes, std::size_t size, UninstallInformation &info)
{
    if (size < 4)
        return InfoStatus::Corrupt;
    const auto *tail = reinterpret_cast<const unsigned char *>(bytes + size - 4);
    const std::uint32_t trailer = littleEndian32(tail);
    std::uint64_t offset = 0;
    std::uint64_t count = 0;
    const InfoStatus located = locateInformation(size, trailer, offset, count);
    if (located != InfoStatus::Ok)
        return located;
    return decodeInformation(ByteString::fromBytes(bytes + offset, std::uint32_t(count)), info);
}

InfoStatus loadUninstallInformation(const char *path, UninstallInformation &info)
{
    std::FILE *file = std::fopen(path, "rb");
    if (!file)
        return InfoStatus::Unreadable;
    unsigned char tail[4] = {};
    long size = -1;
    if (std::fseek(file, 0, SEEK_END) == 0)
        size = std::ftell(file);
    if (size < 4 || std::fseek(file, size - 4, SEEK_SET) != 0
        || std::fread(tail, 1, 4, file) != 4) {
        std::fclose(file);
        return size < 0 ? InfoStatus::Unreadable : InfoStatus::Corrupt;
    }
    const std::uint32_t trailer = littleEndian32(tail);
    std::uint64_t offset = 0;
    std::uint64_t count = 0;
    const InfoStatus located = locateInformation(std::uint64_t(size), trailer, offset, count);
    if (located != InfoStatus::Ok) {
        std::fclose(file);
        return located;
    }
    std::string block;
    try {
        block.assign(std::size_t(count), '\0');
    } catch (const std::bad_alloc &) {
        std::fclose(file);
        return InfoStatus::OutOfMemory;
    }
    const bool read = std::fseek(file, long(offset), SEEK_SET) == 0
                      && std::fread(block.data(), 1, block.size(), file) == block.size();
    std::fclose(file);
    if (!read)
        return InfoStatus::Corrupt; // a short read, as the checksum would find it
    return decodeInformation(ByteString::fromBytes(block.data(), std::uint32_t(block.size())),
                             info);
}

} // namespace uninstaller
