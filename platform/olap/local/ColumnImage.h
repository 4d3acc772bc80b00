#pragma once

#include "platform/olap/local/CubeStore.h"
#include "platform/olap/local/Sqlite.h"

#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

namespace platform::olap::local {

// The column image: the fact columns of a cube as the store holds them, kept in the cube file
// beside the star schema (which stays as it is), so that opening the file reads a few large
// blobs instead of decoding every fact row.
//
// Table pelmora_column_image, one row per column of each cube:
//   cube TEXT, position INTEGER   the cube's name; 0.. leaf columns in hierarchy order, then
//                                 the value columns in the store's order
//   name TEXT                     the hierarchy's unique name or the fact column's name
//   row_count, left_out INTEGER   the facts kept and the facts no dimension row matched
//   signature TEXT                what the columns were derived from besides the fact rows:
//                                 the schema's plan of the facts and every key-to-leaf map
//   fact_checksum TEXT            the checksum of the fact table's stored pages
//   change_counter INTEGER        SQLite's file change counter once the image was written
//   data BLOB                     the column, encoded (see ColumnImage.cpp)
// An image is used only when every row is there and agrees with the file as loaded: the same
// signature, and either the same change counter (no write since) or the same fact checksum.
// ImageKey (CubeStore.h) holds the signature and checksum of a load.
// A 64-bit hash that callers feed piece by piece.
class Hash64
{
public:
    void add(const void *data, std::size_t bytes);
    void add(std::uint64_t value) { add(&value, sizeof value); }
    void add(const QString &text)
    {
        add(std::uint64_t(text.size()));
        add(text.constData(), std::size_t(text.size()) * sizeof(QChar));
    }
    std::uint64_t value() const { return m_state; }

private:
    std::uint64_t m_state = 0x243F6A8885A308D3ull;
};

// The checksum of the pages of a table's b-tree as they are stored, or nothing when they cannot
// be read plainly (a write-ahead log in use, no such rowid table, a row spilling onto overflow
// pages, pages that do not parse). The caller holds a read transaction on db.
std::optional<std::uint64_t> tablePageChecksum(const SqliteDb &db, const QString &table);

// Reads the image of the cube, whose facts are in table, into facts (whose leaf columns have
// their width set and whose value columns name their columns) when it was made with this
// signature and the fact table is unchanged; false, with facts unchanged and passedOver
// saying why in a phrase ("the file has no column image"), otherwise. checksum is the fact
// table's page checksum when the caller has it, else 0; it is set when computed.
// The caller holds a read transaction on db.
bool readColumnImage(const SqliteDb &db, const QString &cube, const QString &table,
                     std::uint64_t signature, FactStore &facts, std::uint64_t &checksum,
                     QString &passedOver);

// Writes the image of every cube of file that was loaded with a fact checksum, into the file
// db has open for writing (the file that file was loaded from). Throws platform::Error.
void writeColumnImages(SqliteDb &db, const CubeFile &file);

} // namespace platform::olap::local
