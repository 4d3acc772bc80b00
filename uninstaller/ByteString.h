#pragma once

#include <cstdint>
#include <string>

class QString;

namespace uninstaller {

// A run of raw bytes (NULs included) with the exact edge behaviour the uninstaller relies on:
// a failed search answers -1, an out-of-range read answers 0xFF or 0xFFFFFFFF, and a change
// whose range runs past the end changes nothing. Positions are 0-based byte offsets; counts
// and positions are compared as unsigned 32-bit numbers, so a count of -1 taken from a failed
// search runs past the end.
class ByteString
{
public:
    ByteString() = default;
    ByteString(const char *text);
    static ByteString fromBytes(const char *bytes, std::uint32_t count);

    void assign(const char *text);
    void assign(const ByteString &other) { m_bytes = other.m_bytes; }

    std::uint32_t length() const { return std::uint32_t(m_bytes.size()); }
    const char *data() const { return m_bytes.data(); }

    // The byte at `pos`; 0xFF when `pos` is not below the length.
    unsigned char at(int pos) const;

    void append(char byte);
    // `count` 0 takes the text up to its NUL.
    void append(const char *text, int count);
    void append(const ByteString &other);

    // Inserts before `pos`; a position beyond the length changes nothing.
    void insert(const char *text, int pos, int count);
    // Removes `count` bytes from `pos`; nothing when the range runs past the end.
    void erase(int pos, int count);
    // `count` bytes from `start`; the whole string when the range runs past the end.
    ByteString substring(int start, int count) const;

    // -1 when there is none or `start` is not below the length.
    int findChar(char byte, int start) const;
    // -1 for an empty text, a start not below the length or a text longer than what is left.
    int find(const char *text, int start, bool caseSensitive) const;
    bool equals(const ByteString &other, bool caseSensitive) const;
    bool equals(const char *text, bool caseSensitive) const;

    bool isValidPos(int pos) const { return pos >= 0 && std::uint32_t(pos) < length(); }
    // Big-endian; 0xFFFFFFFF when fewer than four bytes are left at `offset`.
    std::uint32_t readBigEndian32(int offset) const;

    // Reads the line at `*pos` (lines end with CR LF) into `out` and moves `*pos` past it.
    // Not raw, the line also ends at its first NUL. A null `pos` gives "Invalid param", a
    // position out of range "Out of bounds" (position unchanged).
    void readLine(int *pos, ByteString &out, bool raw) const;

    // The bytes followed by a NUL that the length does not count.
    const char *cStr() const { return m_bytes.c_str(); }

    // "a" to "z" and the Latin-1 a-ring, a-diaeresis, o-diaeresis to their capitals.
    void toUpper();

    // 1 read whole; -1 read short; -2 nothing after `offset`; -3 the file cannot be opened.
    // `maximum` 0 reads to the end.
    int loadFile(const char *path, std::uint32_t offset, std::uint32_t maximum);
    // 1 written whole; -2 written short; -3 the file cannot be created.
    int saveFile(const char *path) const;

    bool operator==(const ByteString &other) const { return m_bytes == other.m_bytes; }

    // The bytes as text for messages and the registry store (UTF-8, as file names are), and
    // back.
    QString toText() const;
    static ByteString fromText(const QString &text);

private:
    // std::string always keeps a NUL after its bytes, which is what cStr hands out.
    std::string m_bytes;
};

} // namespace uninstaller
