// The column image of a cube file: written by the builders, read on open in place of the
// rows, and left aside whenever the facts, the dimensions or the image itself changed.

#include "platform/olap/local/CubeBuilder.h"
#include "platform/olap/local/CubeLoader.h"
#include "platform/olap/local/MdxEngine.h"
#include "tests/platform/olap/CubeFixtures.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <sqlite3.h>

#include <bit>
#include <cstring>
#include <functional>

using namespace platform::olap::local;
using testing_support::buildFixtureCube;
using testing_support::execSql;

namespace {

// Everything the store holds per fact, as text, for comparing two loads.
std::string factsText(const CubeFile &file)
{
    std::string text;
    for (const CubeStore &cube : file.cubes) {
        const FactStore &facts = cube.facts;
        text += cube.name.toStdString() + ": " + std::to_string(facts.rowCount) + " rows, "
                + std::to_string(facts.leftOut) + " left out\n";
        for (const LeafColumn &column : facts.leaves) {
            text += column.isWide() ? "wide" : "narrow";
            for (std::size_t r = 0; r < column.size(); ++r)
                text += ' ' + std::to_string(column.at(r));
            text += '\n';
        }
        for (const ValueColumn &column : facts.values) {
            text += column.column.toStdString() + (column.hasValues ? "" : " (counted)") + ':';
            for (std::size_t r = 0; r < facts.rowCount; ++r) {
                text += ' ';
                text += column.isNull(r) ? std::string("NULL")
                        : column.hasValues
                            ? QString::number(column.values[r], 'g', 17).toStdString()
                            : std::string("-");
            }
            text += " / " + std::to_string(column.nullCount) + " NULL\n";
        }
    }
    return text;
}

std::vector<bool> fromImage(const CubeFile &file)
{
    std::vector<bool> flags;
    for (const CubeStore &cube : file.cubes)
        flags.push_back(cube.facts.fromImage);
    return flags;
}

// The same file loaded from its rows only.
std::string rowsText(const QString &path, const QString &copyDir)
{
    const QString copy = QDir(copyDir).filePath(QStringLiteral("rows.cub"));
    QFile::remove(copy);
    QFile::copy(path, copy);
    execSql(copy, QStringLiteral("DROP TABLE IF EXISTS pelmora_column_image"));
    const auto file = loadCubeFile(copy);
    EXPECT_EQ(fromImage(*file), std::vector<bool>(file->cubes.size(), false));
    return factsText(*file);
}

TEST(ColumnImage, ABuiltCubeOpensFromItsImageWithTheSameFacts)
{
    // shop has NULL measures, facts left out and a cube of counted columns only; the sample
    // has wide and narrow leaf columns and decimal values.
    QTemporaryDir dir;
    const QString shop = buildFixtureCube(dir.path());
    const QString sample = dir.filePath("sample.cub");
    writeSampleCube(sample, 5000, 7);
    for (const QString &path : {shop, sample}) {
        SCOPED_TRACE(path.toStdString());
        const auto file = loadCubeFile(path);
        EXPECT_EQ(fromImage(*file), std::vector<bool>(file->cubes.size(), true));
        EXPECT_EQ(factsText(*file), rowsText(path, dir.path()));
    }
}

// Packs the values of one image column again in as few bits as they need, as files made
// before the columns were stored in whole bytes have them: header bytes of the blob, then
// the values in the width its byte 1 (leaves) or 2 (values) gives.
std::vector<std::uint8_t> packedTightly(const std::vector<std::uint8_t> &blob, std::size_t header,
                                        int bitsAt, std::size_t rows)
{
    const int bits = blob[std::size_t(bitsAt)];
    auto valueAt = [&](std::size_t i) {
        std::uint64_t v = 0;
        std::memcpy(&v, blob.data() + header + i * std::size_t(bits) / 8, std::size_t(bits) / 8);
        return v;
    };
    std::uint64_t top = 0;
    for (std::size_t i = 0; i < rows; ++i)
        top = std::max(top, valueAt(i));
    const auto tight = std::size_t(std::bit_width(top));
    std::vector<std::uint8_t> out(blob.begin(), blob.begin() + std::ptrdiff_t(header));
    out[std::size_t(bitsAt)] = std::uint8_t(tight);
    out.resize(header + (rows * tight + 7) / 8 + 8, 0);
    for (std::size_t i = 0; i < rows; ++i) {
        for (std::size_t b = 0; b < tight; ++b) {
            if (valueAt(i) >> b & 1)
                out[header + (i * tight + b) / 8] |= std::uint8_t(1 << ((i * tight + b) % 8));
        }
    }
    return out;
}

TEST(ColumnImage, AnImageOfTightlyPackedColumnsReadsTheSame)
{
    // Positions of the sample's image: 0 the days (narrow leaves), 6 store sales (cents).
    QTemporaryDir dir;
    const QString path = dir.filePath("sample.cub");
    writeSampleCube(path, 5000, 5);
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
    for (const auto &[position, header, bitsAt] : {std::tuple{0, 8, 1}, std::tuple{6, 24, 2}}) {
        sqlite3_stmt *read = nullptr;
        sqlite3_prepare_v2(db, "SELECT data FROM pelmora_column_image WHERE position = ?1", -1,
                           &read, nullptr);
        sqlite3_bind_int(read, 1, position);
        ASSERT_EQ(sqlite3_step(read), SQLITE_ROW);
        const auto *data = static_cast<const std::uint8_t *>(sqlite3_column_blob(read, 0));
        const std::vector<std::uint8_t> blob(data, data + sqlite3_column_bytes(read, 0));
        sqlite3_finalize(read);
        const std::vector<std::uint8_t> tight =
            packedTightly(blob, std::size_t(header), bitsAt, 5000);
        ASSERT_LT(tight.size(), blob.size());
        sqlite3_stmt *write = nullptr;
        sqlite3_prepare_v2(db, "UPDATE pelmora_column_image SET data = ?1 WHERE position = ?2", -1,
                           &write, nullptr);
        sqlite3_bind_blob(write, 1, tight.data(), int(tight.size()), SQLITE_TRANSIENT);
        sqlite3_bind_int(write, 2, position);
        EXPECT_EQ(sqlite3_step(write), SQLITE_DONE);
        sqlite3_finalize(write);
    }
    sqlite3_close(db);
    const auto file = loadCubeFile(path);
    EXPECT_TRUE(file->cubes.front().facts.fromImage);
    EXPECT_EQ(factsText(*file), rowsText(path, dir.path()));
}

TEST(ColumnImage, ColumnsWhoseOverflowPagesStartInAPiecesLastBytesOpenFromTheImage)
{
    // A column is read in pieces of 65 536 rows. An image blob fills its overflow pages up to
    // its end, 4 092 bytes a page, so its page starts fall at its length modulo 4 092: with
    // 264 188 facts, one falls among the last 8 bytes of the fourth piece of every 16-bit
    // column (leaves and cents alike). Reading those bytes again with the next piece, behind
    // the page reached, made every cube past about 10 million facts open from its rows.
    QTemporaryDir dir;
    const QString path = dir.filePath("edge.cub");
    writeSampleCube(path, 264188, 1);
    const auto file = loadCubeFile(path);
    EXPECT_TRUE(file->cubes.front().facts.fromImage);
    EXPECT_EQ(file->cubes.front().facts.imagePassedOver, QString());
    EXPECT_EQ(factsText(*file), rowsText(path, dir.path()));
}

struct ChangeCase
{
    const char *name;
    const char *sql;
    bool keepsImage;
    const char *passedOver; // why the image was not used
};

TEST(ColumnImage, AChangedFileLoadsFromTheRowsUnlessTheFactsAreUnchanged)
{
    const char *const changed = "fact table sales changed since the image was made";
    const ChangeCase cases[] = {
        {"a fact changed", "UPDATE sales SET qty = qty + 1 WHERE rowid = 2", false, changed},
        {"a fact added", "INSERT INTO sales SELECT * FROM sales LIMIT 1", false, changed},
        {"a fact deleted", "DELETE FROM sales WHERE rowid = 3", false, changed},
        {"facts replaced by the same",
         "CREATE TABLE s2 AS SELECT * FROM sales; DROP TABLE sales; "
         "ALTER TABLE s2 RENAME TO sales",
         false, changed},
        {"a dimension key moved to another member",
         "UPDATE items SET code = 'ZZ' WHERE "
         "item_id = 1",
         false, "it was made from another schema or other dimension rows"},
        {"the image damaged", "UPDATE pelmora_column_image SET data = x'0102' WHERE position = 1",
         false, "its column 1 ([Product]) does not decode"},
        {"a column of the image missing", "DELETE FROM pelmora_column_image WHERE position = 0",
         false, "its columns do not match the cube's 8 fact columns"},
        {"the image removed", "DROP TABLE pelmora_column_image", false,
         "the file has no column image"},
        {"another table written", "CREATE TABLE notes (t TEXT); INSERT INTO notes VALUES ('x')",
         true, ""},
    };
    for (const ChangeCase &c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString path = buildFixtureCube(dir.path());
        execSql(path, QString::fromUtf8(c.sql));
        const auto file = loadCubeFile(path);
        EXPECT_EQ(file->cubes.front().facts.fromImage, c.keepsImage);
        EXPECT_EQ(file->cubes.front().facts.imagePassedOver.toStdString(), c.passedOver);
        EXPECT_EQ(factsText(*file), rowsText(path, dir.path()));
    }
}

TEST(ColumnImage, AnEngineAnswersTheSameFromTheImageAsFromTheRows)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("sample.cub");
    writeSampleCube(path, 20000, 3);
    const QString copy = dir.filePath("rows.cub");
    QFile::copy(path, copy);
    execSql(copy, QStringLiteral("DROP TABLE pelmora_column_image"));
    MdxEngine image(loadCubeFile(path));
    MdxEngine rows(loadCubeFile(copy));
    const QString statement = QStringLiteral(
        "SELECT {[Measures].[Unit Sales], [Measures].[Store Sales], [Measures].[Sales Count]} ON "
        "0, NON EMPTY Crossjoin([Product].[Category].Members, [Store].[Country].Members) ON 1 "
        "FROM [Sales] WHERE [Time].[2022]");
    const platform::olap::CellsetData a = image.execute(statement);
    const platform::olap::CellsetData b = rows.execute(statement);
    ASSERT_EQ(a.cellCount(), b.cellCount());
    ASSERT_GT(a.cellCount(), 0);
    for (qint64 i = 0; i < a.cellCount(); ++i)
        EXPECT_EQ(a.formattedValue(i), b.formattedValue(i)) << i;
}

} // namespace
