#include "uninstaller/ByteString.h"

#include <QString>

#include <cstdio>
#include <cstring>

namespace uninstaller {

namespace {

unsigned char upper(unsigned char byte)
{
    if (byte >= 'a' && byte <= 'z')
        return byte - ('a' - 'A');
    switch (byte) {
    case 0xE5:
        return 0xC5;
    case 0xE4:
        return 0xC4;
    case 0xF6:
        return 0xD6;
    default:
        return byte;
    }
}

// Positions and counts as the unsigned 32-bit numbers they were, so -1 is past every end.
std::uint64_t u(int value)
{
    return std::uint32_t(value);
}

} // namespace

ByteString::ByteString(const char *text)
{
    assign(text);
}

ByteString ByteString::fromBytes(const char *bytes, std::uint32_t count)
{
    ByteString result;
    if (count)
        result.m_bytes.assign(bytes, count);
    return result;
}

void ByteString::assign(const char *text)
{
    if (text)
        m_bytes.assign(text);
    else
        m_bytes.clear();
}

unsigned char ByteString::at(int pos) const
{
    return u(pos) < length() ? static_cast<unsigned char>(m_bytes[std::size_t(pos)]) : 0xFF;
}

void ByteString::append(char byte)
{
    m_bytes.push_back(byte);
}

void ByteString::append(const char *text, int count)
{
    if (!text)
        return;
    m_bytes.append(text, count == 0 ? std::strlen(text) : std::size_t(std::uint32_t(count)));
}

void ByteString::append(const ByteString &other)
{
    m_bytes.append(other.m_bytes);
}

void ByteString::insert(const char *text, int pos, int count)
{
    if (!text || u(pos) > length())
        return;
    m_bytes.insert(std::size_t(pos), text,
                   count == 0 ? std::strlen(text) : std::size_t(std::uint32_t(count)));
}

void ByteString::erase(int pos, int count)
{
    if (u(pos) + u(count) > length())
        return;
    m_bytes.erase(std::size_t(pos), std::size_t(u(count)));
}

ByteString ByteString::substring(int start, int count) const
{
    if (u(start) + u(count) > length())
        return *this;
    ByteString result;
    result.m_bytes = m_bytes.substr(std::size_t(start), std::size_t(u(count)));
    return result;
}

int ByteString::findChar(char byte, int start) const
{
    if (u(start) >= length())
        return -1;
    const std::size_t found = m_bytes.find(byte, std::size_t(start));
    return found == std::string::npos ? -1 : int(found);
}

int ByteString::find(const char *text, int start, bool caseSensitive) const
{
    const std::uint64_t n = text ? std::strlen(text) : 0;
    if (n == 0 || u(start) >= length() || n > length() - u(start))
        return -1;
    ByteString haystack(*this);
    ByteString needle(text);
    if (!caseSensitive) {
        haystack.toUpper();
        needle.toUpper();
    }
    const std::size_t found = haystack.m_bytes.find(needle.m_bytes, std::size_t(start));
    return found == std::string::npos ? -1 : int(found);
}

bool ByteString::equals(const ByteString &other, bool caseSensitive) const
{
    if (caseSensitive)
        return m_bytes == other.m_bytes;
    ByteString a(*this);
    ByteString b(other);
    a.toUpper();
    b.toUpper();
    return a.m_bytes == b.m_bytes;
}

bool ByteString::equals(const char *text, bool caseSensitive) const
{
    return equals(ByteString(text), caseSensitive);
}

std::uint32_t ByteString::readBigEndian32(int offset) const
{
    if (u(offset) + 3 >= length())
        return 0xFFFFFFFFu;
    std::uint32_t value = 0;
    for (int i = 0; i < 4; ++i)
        value = (value << 8) | at(offset + i);
    return value;
}

void ByteString::readLine(int *pos, ByteString &out, bool raw) const
{
    if (!pos) {
        out.assign("Invalid param");
        return;
    }
    if (!isValidPos(*pos)) {
        out.assign("Out of bounds");
        return;
    }
    const std::size_t start = std::size_t(*pos);
    std::size_t end = m_bytes.find("\r\n", start);
    if (end == std::string::npos) {
        out.m_bytes = m_bytes.substr(start);
        *pos = int(length());
        return;
    }
    if (start + 2 == length()) {
        out.m_bytes.clear();
        *pos = int(length());
        return;
    }
    std::size_t lineEnd = end;
    if (!raw) {
        const std::size_t nul = m_bytes.find('\0', start);
        if (nul != std::string::npos && nul < lineEnd)
            lineEnd = nul;
    }
    out.m_bytes = m_bytes.substr(start, lineEnd - start);
    *pos = int(end + 2);
}

void ByteString::toUpper()
{
    for (char &byte : m_bytes)
        byte = char(upper(static_cast<unsigned char>(byte)));
}

int ByteString::loadFile(const char *path, std::uint32_t offset, std::uint32_t maximum)
{
    std::FILE *file = std::fopen(path, "rb");
    if (!file)
        return -3;
    long size = -1;
    if (std::fseek(file, 0, SEEK_END) == 0)
        size = std::ftell(file);
    if (size < 0 || std::uint64_t(size) <= offset) {
        std::fclose(file);
        m_bytes.clear();
        return -2;
    }
    std::uint64_t count = std::uint64_t(size) - offset;
    if (maximum != 0 && maximum < count)
        count = maximum;
    m_bytes.assign(std::size_t(count), '\0');
    std::size_t read = 0;
    if (std::fseek(file, long(offset), SEEK_SET) == 0)
        read = std::fread(m_bytes.data(), 1, m_bytes.size(), file);
    std::fclose(file);
    return read == m_bytes.size() ? 1 : -1;
}

int ByteString::saveFile(const char *path) const
{
    std::FILE *file = std::fopen(path, "wb");
    if (!file)
        return -3;
    const std::size_t written = std::fwrite(m_bytes.data(), 1, m_bytes.size(), file);
    const bool closed = std::fclose(file) == 0;
    return written == m_bytes.size() && closed ? 1 : -2;
}

QString ByteString::toText() const
{
    return QString::fromUtf8(m_bytes.data(), qsizetype(m_bytes.size()));
}

ByteString ByteString::fromText(const QString &text)
{
    const QByteArray bytes = text.toUtf8();
    return fromBytes(bytes.constData(), std::uint32_t(bytes.size()));
}

} // namespace uninstaller
