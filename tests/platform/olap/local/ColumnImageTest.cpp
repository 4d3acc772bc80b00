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
                    : column.hasValues   ? QString::number(column.values[r], 'g', 17).toStdString()
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
    execSql(copy, QStringLiteral("DROP TABLE pelmora_column_image"));
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

struct ChangeCase
{
    const char *name;
    const char *sql;
    bool keepsImage;
};

TEST(ColumnImage, AChangedFileLoadsFromTheRowsUnlessTheFactsAreUnchanged)
{
    const ChangeCase cases[] = {
        {"a fact changed", "UPDATE sales SET qty = qty + 1 WHERE rowid = 2", false},
        {"a fact added", "INSERT INTO sales SELECT * FROM sales LIMIT 1", false},
        {"a fact deleted", "DELETE FROM sales WHERE rowid = 3", false},
        {"facts replaced by the same",
         "CREATE TABLE s2 AS SELECT * FROM sales; DROP TABLE sales; "
         "ALTER TABLE s2 RENAME TO sales",
         false},
        {"a dimension key moved to another member", "UPDATE items SET code = 'ZZ' WHERE "
                                                    "item_id = 1",
         false},
        {"the image damaged", "UPDATE pelmora_column_image SET data = x'0102' WHERE position = 1",
         false},
        {"a column of the image missing", "DELETE FROM pelmora_column_image WHERE position = 0",
         false},
        {"another table written", "CREATE TABLE notes (t TEXT); INSERT INTO notes VALUES ('x')",
         true},
    };
    for (const ChangeCase &c : cases) {
        SCOPED_TRACE(c.name);
        QTemporaryDir dir;
        const QString path = buildFixtureCube(dir.path());
        execSql(path, QString::fromUtf8(c.sql));
        const auto file = loadCubeFile(path);
        EXPECT_EQ(file->cubes.front().facts.fromImage, c.keepsImage);
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
