#include "platform/olap/local/ColumnImage.h"

#include "platform/runtime/Error.h"

#include <sqlite3.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <limits>
#include <map>
#include <vector>

// Column encodings, little-endian. Every blob ends with 8 bytes of padding, so that a packed
// value is read with one unaligned 64-bit load.
//
// Leaf column:  u8 format (1), u8 bits, u16 0, u32 base, then each leaf number minus base in
//               `bits` bits, packed from the lowest bit of the first byte on.
// The writer rounds `bits` up to 8, 16 or 32 (up to 32 for values), which the reader copies
// without unpacking; any other width, as earlier files have, is unpacked.
// Value column: u8 format (1), u8 encoding, u8 bits, u8 decimals, u32 0, i64 base, u64 NULL
//               count; then, when there are NULLs, the NULL bitmap as 64-bit words; then the
//               values. Encoding 0: none (a column only counted); 1: the doubles as they are;
//               2: every value is k / 10^decimals exactly, and k - base is packed in `bits` bits.

static_assert(std::endian::native == std::endian::little, "the image is read in place");

namespace platform::olap::local {

namespace {

constexpr std::uint8_t imageFormat = 1;
constexpr std::size_t padding = 8;

constexpr std::uint64_t prime1 = 0x9E3779B185EBCA87ull;
constexpr std::uint64_t prime2 = 0xC2B2AE3D27D4EB4Full;

std::uint64_t load64(const std::uint8_t *p)
{
    std::uint64_t v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

std::uint64_t round64(std::uint64_t acc, std::uint64_t input)
{
    return std::rotl(acc + input * prime2, 31) * prime1;
}

std::uint32_t bigEndian16(const std::uint8_t *p)
{
    return std::uint32_t(p[0]) << 8 | p[1];
}
std::uint32_t bigEndian32(const std::uint8_t *p)
{
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 | p[3];
}

const char *const createTable =
    "CREATE TABLE pelmora_column_image (cube TEXT NOT NULL, position INTEGER NOT NULL, "
    "name TEXT NOT NULL, row_count INTEGER NOT NULL, left_out INTEGER NOT NULL, "
    "signature TEXT NOT NULL, fact_checksum TEXT NOT NULL, change_counter INTEGER, "
    "data BLOB NOT NULL, PRIMARY KEY (cube, position))";

QString hex(std::uint64_t v)
{
    return QString::number(v, 16);
}

// The database file under db, read through SQLite's own handle (a second descriptor of ours
// would drop SQLite's locks when closed).
class RawFile
{
public:
    explicit RawFile(const SqliteDb &db)
    {
        if (sqlite3_file_control(db.handle(), "main", SQLITE_FCNTL_FILE_POINTER, &m_file)
                != SQLITE_OK
            || !m_file || !m_file->pMethods) {
            m_file = nullptr;
            return;
        }
        std::uint8_t header[100];
        sqlite3_int64 size = 0;
        if (!read(header, sizeof header, 0) || m_file->pMethods->xFileSize(m_file, &size)
            || std::memcmp(header, "SQLite format 3", 16) != 0) {
            m_file = nullptr;
            return;
        }
        const std::uint32_t pageSize = bigEndian16(header + 16);
        m_pageSize = pageSize == 1 ? 65536 : pageSize;
        m_usable = m_pageSize - header[20];
        m_pageCount = m_pageSize ? std::uint32_t(size / m_pageSize) : 0;
        m_changeCounter = bigEndian32(header + 24);
        // A write-ahead log may hold newer pages than the file.
        m_wal = header[18] == 2 || header[19] == 2;
    }

    bool isReadable() const { return m_file && m_pageSize >= 512 && !m_wal; }
    std::uint32_t pageSize() const { return m_pageSize; }
    std::uint32_t usableSize() const { return m_usable; }
    std::uint32_t pageCount() const { return m_pageCount; }
    std::uint32_t changeCounter() const { return m_changeCounter; }

    bool read(void *out, std::size_t bytes, std::int64_t offset) const
    {
        return m_file->pMethods->xRead(m_file, out, int(bytes), offset) == SQLITE_OK;
    }
    bool readPages(std::uint8_t *out, std::uint32_t first, std::uint32_t count) const
    {
        return first >= 1 && first + count - 1 <= m_pageCount
               && read(out, std::size_t(count) * m_pageSize, std::int64_t(first - 1) * m_pageSize);
    }

private:
    sqlite3_file *m_file = nullptr;
    std::uint32_t m_pageSize = 0;
    std::uint32_t m_usable = 0;
    std::uint32_t m_pageCount = 0;
    std::uint32_t m_changeCounter = 0;
    bool m_wal = false;
};

std::uint64_t pageHash(std::uint32_t pageNumber, const std::uint8_t *page, std::size_t bytes)
{
    Hash64 h;
    h.add(pageNumber);
    h.add(page, bytes);
    return h.value();
}

std::optional<std::uint32_t> rootPage(const SqliteDb &db, const QString &table)
{
    SqliteStmt stmt(db, QStringLiteral("SELECT rootpage FROM sqlite_master WHERE type = 'table' "
                                       "AND name = ?1 COLLATE NOCASE"));
    const QByteArray name = table.toUtf8();
    sqlite3_bind_text(stmt.handle(), 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
    if (!stmt.step() || stmt.isNull(0) || stmt.int64(0) <= 0)
        return std::nullopt;
    return std::uint32_t(stmt.int64(0));
}

// The number of bits that hold every value up to range.
std::uint8_t bitsFor(std::uint64_t range)
{
    return std::uint8_t(std::bit_width(range));
}

// The width the writer stores: a whole number of bytes up to 32 bits.
std::uint8_t storedBits(std::uint8_t bits)
{
    return bits == 0 ? 0 : bits <= 8 ? 8 : bits <= 16 ? 16 : bits <= 32 ? 32 : bits;
}

// An SQLite varint at p, within end; false when it runs past end.
bool readVarint(const std::uint8_t *&p, const std::uint8_t *end, std::uint64_t &value)
{
    value = 0;
    for (int n = 0; n < 9; ++n) {
        if (p >= end)
            return false;
        const std::uint8_t byte = *p++;
        if (n == 8) {
            value = value << 8 | byte;
            return true;
        }
        value = value << 7 | (byte & 0x7F);
        if (!(byte & 0x80))
            return true;
    }
    return true;
}

// The payload of one row of a table b-tree: the part on its leaf page, then a chain of
// overflow pages, each a 4-byte next page number and then content. Reads go forwards: one
// may not start on a page before the one the previous read ended on. The pages come in blocks
// of adjacent pages, since a blob written at once sits on consecutive pages.
class PayloadReader
{
public:
    PayloadReader(const RawFile &file, std::vector<std::uint8_t> local, std::uint32_t overflow,
                  std::uint64_t size)
        : m_file(file), m_local(std::move(local)), m_page(overflow), m_pageStart(m_local.size()),
          m_size(size)
    {}

    std::uint64_t size() const { return m_size; }

    bool read(std::uint8_t *out, std::size_t bytes, std::uint64_t offset)
    {
        if (offset + bytes > m_size)
            return false;
        const std::uint32_t content = m_file.usableSize() - 4;
        while (bytes > 0) {
            std::size_t n = 0;
            if (offset < m_local.size()) {
                n = std::min<std::size_t>(bytes, std::size_t(m_local.size() - offset));
                std::memcpy(out, m_local.data() + offset, n);
            } else {
                if (offset < m_pageStart)
                    return false; // offsets go forwards only
                const std::uint8_t *page = nullptr;
                while ((page = pageData(m_page)) && offset >= m_pageStart + content) {
                    m_page = bigEndian32(page);
                    m_pageStart += content;
                    if (++m_visited > m_file.pageCount())
                        return false;
                }
                if (!page)
                    return false;
                const auto within = std::size_t(offset - m_pageStart);
                n = std::min<std::size_t>(bytes, content - within);
                std::memcpy(out, page + 4 + within, n);
            }
            out += n;
            bytes -= n;
            offset += n;
        }
        return true;
    }

private:
    const std::uint8_t *pageData(std::uint32_t number)
    {
        if (number == 0 || number > m_file.pageCount())
            return nullptr;
        const std::uint32_t size = m_file.pageSize();
        if (number < m_blockFirst || number >= m_blockFirst + m_blockCount) {
            // A chain that went up or down by one page goes on so: a block in that direction.
            constexpr std::uint32_t blockPages = 256;
            std::uint32_t first = number;
            std::uint32_t count = 1;
            if (number == m_previous + 1) {
                count = std::min(blockPages, m_file.pageCount() - number + 1);
            } else if (number + 1 == m_previous) {
                first = number > blockPages ? number - blockPages + 1 : 1;
                count = number - first + 1;
            }
            m_block.resize(std::size_t(count) * size);
            m_blockCount = 0;
            if (!m_file.readPages(m_block.data(), first, count))
                return nullptr;
            m_blockFirst = first;
            m_blockCount = count;
        }
        m_previous = number;
        return m_block.data() + std::size_t(number - m_blockFirst) * size;
    }

    const RawFile &m_file;
    std::vector<std::uint8_t> m_local;
    std::uint32_t m_page;      // the overflow page holding m_pageStart on
    std::uint64_t m_pageStart; // the payload offset of that page's content
    std::uint64_t m_size;
    std::uint32_t m_visited = 0;
    std::vector<std::uint8_t> m_block;
    std::uint32_t m_blockFirst = 0;
    std::uint32_t m_blockCount = 0;
    std::uint32_t m_previous = 0; // the page read last
};

// Where each row of a rowid table starts: its payload's size, the part on the leaf page and
// its first overflow page (0: none). Empty when the b-tree does not parse.
struct RowStart
{
    std::uint64_t size = 0;
    std::vector<std::uint8_t> local;
    std::uint32_t overflow = 0;
};

std::map<std::int64_t, RowStart> rowStarts(const RawFile &file, std::uint32_t root)
{
    std::map<std::int64_t, RowStart> rows;
    const std::uint32_t pageSize = file.pageSize();
    const std::uint32_t usable = file.usableSize();
    const std::uint64_t maxLocal = usable - 35;
    const std::uint64_t minLocal = (std::uint64_t(usable) - 12) * 32 / 255 - 23;
    std::vector<std::uint8_t> page(pageSize);
    std::vector<std::uint32_t> pending{root};
    std::size_t visited = 0;
    while (!pending.empty()) {
        const std::uint32_t number = pending.back();
        pending.pop_back();
        if (++visited > file.pageCount() || !file.readPages(page.data(), number, 1))
            return {};
        const std::uint8_t *begin = page.data();
        const std::uint8_t *end = begin + pageSize;
        const std::uint8_t *head = begin + (number == 1 ? 100 : 0);
        const bool leaf = head[0] == 0x0D;
        if (!leaf && head[0] != 0x05)
            return {};
        const std::size_t headerSize = leaf ? 8 : 12;
        const std::uint32_t cells = bigEndian16(head + 3);
        if (headerSize + 2 * std::size_t(cells) > std::size_t(end - head))
            return {};
        if (!leaf)
            pending.push_back(bigEndian32(head + 8));
        for (std::uint32_t c = 0; c < cells; ++c) {
            const std::uint32_t offset = bigEndian16(head + headerSize + 2 * c);
            if (offset + 4 > pageSize)
                return {};
            const std::uint8_t *p = begin + offset;
            if (!leaf) {
                pending.push_back(bigEndian32(p));
                continue;
            }
            std::uint64_t size = 0;
            std::uint64_t rowid = 0;
            if (!readVarint(p, end, size) || !readVarint(p, end, rowid))
                return {};
            std::uint64_t local = size;
            if (size > maxLocal) {
                const std::uint64_t k = minLocal + (size - minLocal) % (usable - 4);
                local = k <= maxLocal ? k : minLocal;
            }
            if (std::uint64_t(end - p) < local + (local < size ? 4 : 0))
                return {};
            RowStart &row = rows[std::int64_t(rowid)];
            row.size = size;
            row.local.assign(p, p + local);
            row.overflow = local < size ? bigEndian32(p + local) : 0;
        }
    }
    return rows;
}

// The reader of one column of a record: where the record's header puts it, and its length.
bool recordColumn(PayloadReader &record, int column, std::uint64_t &offset, std::uint64_t &length)
{
    std::uint8_t header[128];
    const std::size_t bytes = std::size_t(std::min<std::uint64_t>(sizeof header, record.size()));
    if (!record.read(header, bytes, 0))
        return false;
    const std::uint8_t *p = header;
    const std::uint8_t *end = header + bytes;
    std::uint64_t headerSize = 0;
    if (!readVarint(p, end, headerSize) || headerSize > bytes)
        return false;
    end = header + headerSize;
    offset = headerSize;
    for (int c = 0; c <= column; ++c) {
        std::uint64_t type = 0;
        if (!readVarint(p, end, type) || type == 10 || type == 11)
            return false;
        static constexpr std::uint8_t sizes[] = {0, 1, 2, 3, 4, 6, 8, 8, 0, 0};
        length = type < 10 ? sizes[type] : (type - 12 - (type & 1 ? 1 : 0)) / 2;
        if (length > record.size())
            return false; // and the sum of the lengths stays in range
        if (c < column)
            offset += length;
    }
    return offset + length <= record.size();
}

// One blob column of a row, read in pieces.
class BlobReader
{
public:
    BlobReader(PayloadReader &record, std::uint64_t offset, std::uint64_t length)
        : m_record(record), m_offset(offset), m_length(length)
    {}
    std::size_t size() const { return std::size_t(m_length); }
    bool read(void *out, std::size_t bytes, std::size_t offset) const
    {
        return offset + bytes <= m_length
               && m_record.read(static_cast<std::uint8_t *>(out), bytes, m_offset + offset);
    }

private:
    PayloadReader &m_record;
    std::uint64_t m_offset;
    std::uint64_t m_length;
};

void pack(std::vector<std::uint8_t> &out, std::size_t at, std::uint8_t bits, std::size_t count,
          auto value)
{
    out.resize(at + (count * bits + 7) / 8 + padding, 0);
    std::uint8_t *base = out.data() + at;
    for (std::size_t i = 0; bits != 0 && i < count; ++i) {
        const std::size_t bit = i * bits;
        std::uint64_t word = load64(base + bit / 8);
        word |= std::uint64_t(value(i)) << (bit % 8);
        std::memcpy(base + bit / 8, &word, sizeof word);
    }
}

template <typename Out>
void unpack(const std::uint8_t *in, std::uint8_t bits, std::size_t count, Out out)
{
    const std::uint64_t mask = bits == 0 ? 0 : (~std::uint64_t(0) >> (64 - bits));
    std::size_t bit = 0;
    for (std::size_t i = 0; i < count; ++i, bit += bits)
        out(i, (load64(in + bit / 8) >> (bit % 8)) & mask);
}

// Rows decoded per piece: a multiple of 8, so that a piece starts on a byte.
constexpr std::size_t pieceRows = std::size_t(1) << 16;

// Values stored as whole integers of type T, to out(i, value).
template <typename T, typename Out>
void unpackWhole(const std::uint8_t *in, std::size_t count, Out out)
{
    for (std::size_t i = 0; i < count; ++i) {
        T v;
        std::memcpy(&v, in + sizeof(T) * i, sizeof v);
        out(i, v);
    }
}

// The values of a piece of a packed column, as numbers, to out(i, value).
template <typename Out>
void unpackPiece(const std::uint8_t *in, std::uint8_t bits, std::size_t count, Out out)
{
    switch (bits) {
    case 8:
        return unpackWhole<std::uint8_t>(in, count, out);
    case 16:
        return unpackWhole<std::uint16_t>(in, count, out);
    case 32:
        return unpackWhole<std::uint32_t>(in, count, out);
    default:
        return unpack(in, bits, count, out);
    }
}

// Reads count packed values from offset of in, piece by piece, to out(row, value).
template <typename Out>
bool unpackColumn(const BlobReader &in, std::size_t offset, std::uint8_t bits, std::size_t count,
                  std::vector<std::uint8_t> &piece, Out out)
{
    for (std::size_t row = 0; row < count; row += pieceRows) {
        const std::size_t n = std::min(pieceRows, count - row);
        // Only the piece's own bytes: the reader goes forwards only, and a piece that read on
        // into the next one's first bytes would have the next read start behind it whenever
        // an overflow page begins among those bytes. The padding a 64-bit load may touch is
        // zeroed instead.
        const std::size_t bytes = (n * bits + 7) / 8;
        piece.resize(bytes + padding);
        std::fill(piece.begin() + std::ptrdiff_t(bytes), piece.end(), std::uint8_t(0));
        if (!in.read(piece.data(), bytes, offset + row / 8 * bits))
            return false;
        unpackPiece(piece.data(), bits, n,
                    [&](std::size_t i, std::uint64_t v) { out(row + i, v); });
    }
    return true;
}

template <typename T>
void append(std::vector<std::uint8_t> &out, T value)
{
    const std::size_t at = out.size();
    out.resize(at + sizeof value);
    std::memcpy(out.data() + at, &value, sizeof value);
}

std::vector<std::uint8_t> encodeLeaves(const LeafColumn &column)
{
    std::uint32_t lo = std::numeric_limits<std::uint32_t>::max();
    std::uint32_t hi = 0;
    for (std::size_t r = 0; r < column.size(); ++r) {
        lo = std::min(lo, column.at(r));
        hi = std::max(hi, column.at(r));
    }
    if (column.size() == 0)
        lo = hi = 0;
    std::vector<std::uint8_t> out;
    const std::uint8_t bits = storedBits(bitsFor(hi - lo));
    // A narrow column's base plus the widest value stays within what the reader accepts.
    const std::uint32_t top = (std::uint32_t(1) << bits) - 1;
    if (!column.isWide() && bits > 0 && lo + top > 0x10000)
        lo = 0x10000 - top;
    append(out, imageFormat);
    append(out, bits);
    append(out, std::uint16_t(0));
    append(out, lo);
    column.visit([&](auto values) {
        pack(out, out.size(), bits, values.size(), [&](std::size_t i) { return values[i] - lo; });
    });
    return out;
}

// The decimals d for which every value is exactly an integer over 10^d, or -1.
int decimalsOf(const Column<double> &values, std::int64_t &lo, std::int64_t &hi)
{
    for (int d = 0; d <= 4; ++d) {
        const double scale = std::pow(10.0, d);
        lo = std::numeric_limits<std::int64_t>::max();
        hi = std::numeric_limits<std::int64_t>::min();
        bool exact = true;
        for (std::size_t r = 0; r < values.size() && exact; ++r) {
            const double v = values[r];
            const double k = std::nearbyint(v * scale);
            exact = std::fabs(k) < 9.0e15
                    && std::bit_cast<std::uint64_t>(k / scale) == std::bit_cast<std::uint64_t>(v);
            lo = std::min(lo, std::int64_t(k));
            hi = std::max(hi, std::int64_t(k));
        }
        if (exact && (values.empty() || bitsFor(std::uint64_t(hi - lo)) <= 56))
            return d;
    }
    return -1;
}

std::vector<std::uint8_t> encodeValues(const ValueColumn &column, std::size_t rows)
{
    std::vector<std::uint8_t> out;
    std::int64_t lo = 0;
    std::int64_t hi = 0;
    const int decimals = column.hasValues ? decimalsOf(column.values, lo, hi) : -1;
    if (column.values.empty())
        lo = hi = 0;
    const std::uint8_t encoding = !column.hasValues ? 0 : decimals < 0 ? 1 : 2;
    const std::uint8_t bits = encoding == 2 ? storedBits(bitsFor(std::uint64_t(hi - lo))) : 0;
    append(out, imageFormat);
    append(out, encoding);
    append(out, bits);
    append(out, std::uint8_t(std::max(decimals, 0)));
    append(out, std::uint32_t(0));
    append(out, lo);
    append(out, std::uint64_t(column.nullCount));
    if (column.nullCount > 0) {
        for (std::size_t w = 0; w < (rows + 63) / 64; ++w)
            append(out, w < column.nullBits.size() ? column.nullBits[w] : std::uint64_t(0));
    }
    if (encoding == 1) {
        const std::size_t at = out.size();
        out.resize(at + rows * sizeof(double));
        std::memcpy(out.data() + at, column.values.data(), rows * sizeof(double));
    } else if (encoding == 2) {
        const double scale = std::pow(10.0, decimals);
        pack(out, out.size(), bits, rows, [&](std::size_t i) {
            return std::uint64_t(std::int64_t(std::nearbyint(column.values[i] * scale)) - lo);
        });
    }
    out.resize(out.size() + padding, 0);
    return out;
}

// Each decoder checks the blob's size against what its header says before reading it.
bool decodeLeaves(const BlobReader &in, std::size_t rows, LeafColumn &column,
                  std::vector<std::uint8_t> &piece)
{
    std::uint8_t head[8];
    if (in.size() < sizeof head || !in.read(head, sizeof head, 0) || head[0] != imageFormat
        || head[1] > 32)
        return false;
    const std::uint8_t bits = head[1];
    std::uint32_t lo;
    std::memcpy(&lo, head + 4, sizeof lo);
    if (in.size() < 8 + (rows * bits + 7) / 8 + padding)
        return false;
    if (!column.isWide() && (std::uint64_t(lo) + (std::uint64_t(1) << bits) - 1 > 0xFFFF + 1))
        return false;
    column.resize(rows);
    if (column.isWide()) {
        std::uint32_t *out = column.wideData();
        return unpackColumn(in, 8, bits, rows, piece, [&](std::size_t i, std::uint64_t v) {
            out[i] = lo + std::uint32_t(v);
        });
    }
    std::uint16_t *out = column.narrowData();
    return unpackColumn(in, 8, bits, rows, piece,
                        [&](std::size_t i, std::uint64_t v) { out[i] = std::uint16_t(lo + v); });
}

bool decodeValues(const BlobReader &in, std::size_t rows, ValueColumn &column,
                  std::vector<std::uint8_t> &piece)
{
    constexpr std::size_t header = 24;
    std::uint8_t head[header];
    if (in.size() < header || !in.read(head, header, 0) || head[0] != imageFormat || head[1] > 2
        || head[2] > 56 || head[3] > 4)
        return false;
    const std::uint8_t encoding = head[1];
    const std::uint8_t bits = head[2];
    std::int64_t lo;
    std::uint64_t nulls;
    std::memcpy(&lo, head + 8, sizeof lo);
    std::memcpy(&nulls, head + 16, sizeof nulls);
    if ((encoding != 0) != column.hasValues || nulls > rows)
        return false;
    const std::size_t words = nulls > 0 ? (rows + 63) / 64 : 0;
    const std::size_t data = header + words * 8;
    const std::size_t needed = encoding == 1   ? rows * sizeof(double)
                               : encoding == 2 ? (rows * bits + 7) / 8
                                               : 0;
    if (in.size() < data + needed + padding)
        return false;
    column.nullCount = std::size_t(nulls);
    column.nullBits.assign(words, 0);
    if (words > 0 && !in.read(column.nullBits.data(), words * 8, header))
        return false;
    if (encoding == 0) {
        column.values.clear();
        return true;
    }
    column.values.resize(rows);
    double *out = column.values.data();
    if (encoding == 1)
        return in.read(out, rows * sizeof(double), data);
    // Each value is (base + k) / 10^decimals, computed so for every k (a table of them when
    // there are few), which gives the same doubles whichever way it is read.
    const double scale = std::pow(10.0, head[3]);
    const bool whole = head[3] == 0;
    auto value = [&](std::uint64_t k) {
        const double v = double(lo + std::int64_t(k));
        return whole ? v : v / scale;
    };
    if (bits <= 16) {
        std::vector<double> table(std::size_t(1) << bits);
        for (std::size_t k = 0; k < table.size(); ++k)
            table[k] = value(k);
        return unpackColumn(in, data, bits, rows, piece,
                            [&](std::size_t i, std::uint64_t k) { out[i] = table[k]; });
    }
    return unpackColumn(in, data, bits, rows, piece,
                        [&](std::size_t i, std::uint64_t k) { out[i] = value(k); });
}

bool tableExists(const SqliteDb &db)
{
    SqliteStmt stmt(db, QStringLiteral("SELECT 1 FROM sqlite_master WHERE type = 'table' AND "
                                       "name = 'pelmora_column_image'"));
    return stmt.step();
}

} // namespace

void Hash64::add(const void *data, std::size_t bytes)
{
    const auto *p = static_cast<const std::uint8_t *>(data);
    std::uint64_t lanes[4] = {m_state + prime1 + prime2, m_state + prime2, m_state,
                              m_state - prime1};
    std::size_t i = 0;
    for (; i + 32 <= bytes; i += 32) {
        lanes[0] = round64(lanes[0], load64(p + i));
        lanes[1] = round64(lanes[1], load64(p + i + 8));
        lanes[2] = round64(lanes[2], load64(p + i + 16));
        lanes[3] = round64(lanes[3], load64(p + i + 24));
    }
    std::uint64_t h = std::rotl(lanes[0], 1) + std::rotl(lanes[1], 7) + std::rotl(lanes[2], 12)
                      + std::rotl(lanes[3], 18);
    for (; i + 8 <= bytes; i += 8)
        h = std::rotl(h ^ round64(0, load64(p + i)), 27) * prime1 + prime2;
    for (; i < bytes; ++i)
        h = std::rotl(h ^ (p[i] * prime1), 11) * prime2;
    h ^= bytes;
    h ^= h >> 33;
    h *= prime2;
    h ^= h >> 29;
    m_state = h;
}

std::optional<std::uint64_t> tablePageChecksum(const SqliteDb &db, const QString &table)
{
    const std::optional<std::uint32_t> root = rootPage(db, table);
    const RawFile file(db);
    if (!root || !file.isReadable())
        return std::nullopt;
    const std::uint32_t pageSize = file.pageSize();
    const std::uint32_t maxLocal = file.usableSize() - 35;
    std::vector<std::uint8_t> page(pageSize);
    std::vector<std::uint32_t> pending{*root};
    std::vector<std::uint32_t> leaves;
    std::uint64_t sum = 0;
    std::size_t visited = 0;
    // Interior pages one by one (there are few), collecting the leaves.
    while (!pending.empty()) {
        const std::uint32_t number = pending.back();
        pending.pop_back();
        if (++visited > file.pageCount() || !file.readPages(page.data(), number, 1))
            return std::nullopt;
        const std::uint8_t *head = page.data() + (number == 1 ? 100 : 0);
        if (head[0] == 0x0D) {
            leaves.push_back(number);
            continue;
        }
        if (head[0] != 0x05)
            return std::nullopt; // not a rowid table's b-tree
        const std::uint32_t cells = bigEndian16(head + 3);
        if (12 + 2 * std::size_t(cells) > pageSize - std::size_t(head - page.data()))
            return std::nullopt;
        for (std::uint32_t c = 0; c < cells; ++c) {
            const std::uint32_t offset = bigEndian16(head + 12 + 2 * c);
            if (offset + 4 > pageSize)
                return std::nullopt;
            pending.push_back(bigEndian32(page.data() + offset));
        }
        pending.push_back(bigEndian32(head + 8));
        sum += pageHash(number, page.data(), pageSize);
    }
    // Leaves in runs of adjacent pages, read in large blocks.
    std::sort(leaves.begin(), leaves.end());
    constexpr std::uint32_t blockPages = 1024;
    std::vector<std::uint8_t> block;
    for (std::size_t i = 0; i < leaves.size();) {
        std::size_t j = i + 1;
        while (j < leaves.size() && j - i < blockPages && leaves[j] == leaves[j - 1] + 1)
            ++j;
        const auto count = std::uint32_t(j - i);
        block.resize(std::size_t(count) * pageSize);
        if (!file.readPages(block.data(), leaves[i], count))
            return std::nullopt;
        for (std::uint32_t k = 0; k < count; ++k) {
            const std::uint8_t *p = block.data() + std::size_t(k) * pageSize;
            const std::uint8_t *head = p + (leaves[i] + k == 1 ? 100 : 0);
            if (head[0] != 0x0D)
                return std::nullopt;
            const std::uint32_t cells = bigEndian16(head + 3);
            if (8 + 2 * std::size_t(cells) > pageSize - std::size_t(head - p))
                return std::nullopt;
            // A row that spills onto overflow pages has content this hash does not see.
            for (std::uint32_t c = 0; c < cells; ++c) {
                const std::uint32_t offset = bigEndian16(head + 8 + 2 * c);
                std::uint64_t payload = 0;
                std::uint32_t at = offset;
                for (int n = 0; n < 9 && at < pageSize; ++n, ++at) {
                    payload = payload << 7 | (p[at] & 0x7F);
                    if (!(p[at] & 0x80))
                        break;
                }
                if (at >= pageSize || payload > maxLocal)
                    return std::nullopt;
            }
            sum += pageHash(leaves[i] + k, p, pageSize);
        }
        i = j;
    }
    // Never 0, which stands for "no checksum".
    return sum == 0 ? 1 : sum;
}

bool readColumnImage(const SqliteDb &db, const QString &cube, const QString &table,
                     std::uint64_t signature, FactStore &facts, std::uint64_t &checksum,
                     QString &passedOver)
{
    auto refuse = [&passedOver](const QString &why) {
        passedOver = why;
        return false;
    };
    if (!tableExists(db))
        return refuse(QStringLiteral("the file has no column image"));
    const RawFile file(db);
    if (!file.isReadable()) {
        return refuse(QStringLiteral("the file's pages cannot be read directly (a write-ahead "
                                     "log in use, or an unknown page layout)"));
    }
    SqliteStmt stmt(db, QStringLiteral("SELECT position, name, row_count, left_out, signature, "
                                       "fact_checksum, change_counter, rowid, length(data) FROM "
                                       "pelmora_column_image WHERE cube = ?1 ORDER BY position"));
    const QByteArray name = cube.toUtf8();
    sqlite3_bind_text(stmt.handle(), 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
    const std::size_t columns = facts.leaves.size() + facts.values.size();
    FactStore read;
    read.leaves = facts.leaves;
    read.values = facts.values;
    // Where the image's rows are on the pages, and a buffer of one piece of a column.
    const std::optional<std::uint32_t> root = rootPage(db, QStringLiteral("pelmora_column_image"));
    if (!root)
        return refuse(QStringLiteral("the file has no column image"));
    const std::map<std::int64_t, RowStart> starts = rowStarts(file, *root);
    constexpr int dataColumn = 8;
    std::vector<std::uint8_t> piece;
    std::size_t position = 0;
    while (stmt.step()) {
        const QString column = QStringLiteral("its column %1 (%2)").arg(position).arg(stmt.text(1));
        if (stmt.int64(0) != std::int64_t(position) || position >= columns) {
            return refuse(
                QStringLiteral("its columns do not match the cube's %1 fact columns").arg(columns));
        }
        if (stmt.text(4) != hex(signature)) {
            return refuse(QStringLiteral("it was made from another schema or other dimension "
                                         "rows"));
        }
        // The bound keeps the size arithmetic in range.
        if (stmt.int64(2) < 0 || stmt.int64(2) > (std::int64_t(1) << 40))
            return refuse(column + QStringLiteral(" has no valid number of facts"));
        if (position == 0) {
            // Unwritten since the image was made, or else the same fact pages.
            const bool unwritten =
                !stmt.isNull(6) && stmt.int64(6) == std::int64_t(file.changeCounter());
            if (!unwritten && checksum == 0)
                checksum = tablePageChecksum(db, table).value_or(0);
            if (!unwritten && checksum == 0) {
                return refuse(QStringLiteral("the file was written since the image was made, "
                                             "and the pages of fact table %1 cannot be checked")
                                  .arg(table));
            }
            if (!unwritten && stmt.text(5) != hex(checksum)) {
                return refuse(
                    QStringLiteral("fact table %1 changed since the image was made").arg(table));
            }
            read.imageKey = {signature, stmt.text(5).toULongLong(nullptr, 16)};
        } else if (stmt.text(5) != hex(read.imageKey.factChecksum)) {
            return refuse(column + QStringLiteral(" was made from other facts than column 0"));
        }
        const auto rows = std::size_t(stmt.int64(2));
        if (position == 0) {
            read.rowCount = rows;
            read.leftOut = stmt.int64(3);
        } else if (rows != read.rowCount || stmt.int64(3) != read.leftOut) {
            return refuse(column + QStringLiteral(" holds another number of facts than column 0"));
        }
        // Straight from the file's pages, in large blocks.
        const QString notOnPages = column + QStringLiteral(" was not found on the file's pages");
        const auto row = starts.find(stmt.int64(7));
        if (row == starts.end())
            return refuse(notOnPages);
        PayloadReader record(file, row->second.local, row->second.overflow, row->second.size);
        std::uint64_t offset = 0;
        std::uint64_t length = 0;
        if (!recordColumn(record, dataColumn, offset, length)
            || std::int64_t(length) != stmt.int64(8))
            return refuse(notOnPages);
        const BlobReader blob(record, offset, length);
        const bool ok =
            position < read.leaves.size()
                ? decodeLeaves(blob, rows, read.leaves[position], piece)
                : decodeValues(blob, rows, read.values[position - read.leaves.size()], piece);
        if (!ok)
            return refuse(column + QStringLiteral(" does not decode"));
        ++position;
    }
    if (position != columns || columns == 0) {
        return refuse(
            QStringLiteral("it holds %1 of the cube's %2 fact columns").arg(position).arg(columns));
    }
    read.fromImage = true;
    facts = std::move(read);
    passedOver.clear();
    return true;
}

void writeColumnImages(SqliteDb &db, const CubeFile &file)
{
    db.exec(QStringLiteral("BEGIN; DROP TABLE IF EXISTS pelmora_column_image; ")
            + QLatin1String(createTable));
    SqliteStmt insert(db, QStringLiteral("INSERT INTO pelmora_column_image VALUES "
                                         "(?1, ?2, ?3, ?4, ?5, ?6, ?7, NULL, ?8)"));
    for (const CubeStore &cube : file.cubes) {
        const FactStore &facts = cube.facts;
        if (facts.imageKey.factChecksum == 0)
            continue;
        std::size_t position = 0;
        auto row = [&](const QString &name, const std::vector<std::uint8_t> &data) {
            sqlite3_stmt *s = insert.handle();
            const QByteArray cubeName = cube.name.toUtf8();
            const QByteArray columnName = name.toUtf8();
            const QByteArray signature = hex(facts.imageKey.signature).toUtf8();
            const QByteArray checksum = hex(facts.imageKey.factChecksum).toUtf8();
            sqlite3_bind_text(s, 1, cubeName.constData(), int(cubeName.size()), SQLITE_TRANSIENT);
            sqlite3_bind_int64(s, 2, sqlite3_int64(position++));
            sqlite3_bind_text(s, 3, columnName.constData(), int(columnName.size()),
                              SQLITE_TRANSIENT);
            sqlite3_bind_int64(s, 4, sqlite3_int64(facts.rowCount));
            sqlite3_bind_int64(s, 5, facts.leftOut);
            sqlite3_bind_text(s, 6, signature.constData(), int(signature.size()), SQLITE_TRANSIENT);
            sqlite3_bind_text(s, 7, checksum.constData(), int(checksum.size()), SQLITE_TRANSIENT);
            sqlite3_bind_blob64(s, 8, data.data(), data.size(), SQLITE_TRANSIENT);
            insert.step();
            insert.reset();
        };
        for (std::size_t l = 0; l < facts.leaves.size(); ++l) {
            QString hierarchy;
            for (const HierarchyStore &h : cube.hierarchies) {
                if (h.factColumn == int(l))
                    hierarchy = h.uniqueName;
            }
            row(hierarchy, encodeLeaves(facts.leaves[l]));
        }
        for (const ValueColumn &value : facts.values)
            row(value.column, encodeValues(value, facts.rowCount));
    }
    db.exec(QStringLiteral("COMMIT"));

    // Making the table may have moved pages of a fact table (an auto-vacuum file keeps root
    // pages first): an image whose table no longer has its checksum is of no use.
    db.exec(QStringLiteral("BEGIN"));
    std::vector<QString> stale;
    for (std::size_t c = 0; c < file.cubes.size(); ++c) {
        const FactStore &facts = file.cubes[c].facts;
        if (facts.imageKey.factChecksum != 0
            && tablePageChecksum(db, facts.table).value_or(0) != facts.imageKey.factChecksum)
            stale.push_back(file.cubes[c].name);
    }
    const RawFile raw(db);
    const std::int64_t counter = raw.isReadable() ? std::int64_t(raw.changeCounter()) : -1;
    db.exec(QStringLiteral("COMMIT"));
    // The next commit, this one, counts the change counter up by one; a later open that finds
    // it there knows that nothing was written since.
    db.exec(QStringLiteral("BEGIN"));
    for (const QString &cube : stale) {
        SqliteStmt remove(db, QStringLiteral("DELETE FROM pelmora_column_image WHERE cube = ?1"));
        const QByteArray name = cube.toUtf8();
        sqlite3_bind_text(remove.handle(), 1, name.constData(), int(name.size()), SQLITE_TRANSIENT);
        remove.step();
    }
    if (counter >= 0) {
        db.exec(QStringLiteral("UPDATE pelmora_column_image SET change_counter = %1")
                    .arg((counter + 1) & 0xFFFFFFFF));
    }
    db.exec(QStringLiteral("COMMIT"));
}

} // namespace platform::olap::local
