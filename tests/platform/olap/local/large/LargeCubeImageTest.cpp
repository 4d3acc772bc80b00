// A cube of more than ten million facts opens from its column image, with the same facts as
// its rows hold. Slow (the sample takes tens of seconds to write), so labelled "slow".

#include "platform/olap/local/ColumnImage.h"
#include "platform/olap/local/CubeBuilder.h"
#include "platform/olap/local/CubeLoader.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <sqlite3.h>

using namespace platform::olap::local;

namespace {

// A hash of every fact of the store, column by column.
std::uint64_t factsHash(const CubeFile &file)
{
    Hash64 hash;
    for (const CubeStore &cube : file.cubes) {
        hash.add(cube.facts.rowCount);
        for (const LeafColumn &column : cube.facts.leaves)
            column.visit([&](auto values) { hash.add(values.data(), values.size_bytes()); });
        for (const ValueColumn &column : cube.facts.values) {
            hash.add(column.values.data(), column.values.size() * sizeof(double));
            hash.add(column.nullBits.data(), column.nullBits.size() * sizeof(std::uint64_t));
        }
    }
    return hash.value();
}

TEST(LargeCubeImage, ACubeOfElevenMillionFactsOpensFromItsImage)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("large.cub");
    writeSampleCube(path, 11'000'000, 1);
    std::uint64_t fromImage = 0;
    {
        const auto file = loadCubeFile(path);
        ASSERT_EQ(file->cubes.front().facts.rowCount, 11'000'000u);
        EXPECT_TRUE(file->cubes.front().facts.fromImage)
            << file->cubes.front().facts.imagePassedOver.toStdString();
        fromImage = factsHash(*file);
    }
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open(QFile::encodeName(path).constData(), &db), SQLITE_OK);
    EXPECT_EQ(sqlite3_exec(db, "DROP TABLE pelmora_column_image", nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);
    const auto rows = loadCubeFile(path);
    EXPECT_FALSE(rows->cubes.front().facts.fromImage);
    EXPECT_EQ(factsHash(*rows), fromImage);
}

} // namespace
