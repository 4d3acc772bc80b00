#pragma once

#include "platform/olap/local/CubeStore.h"

#include <QString>

#include <cstdint>
#include <memory>

namespace platform::olap::local {

// Each builder writes a new cube file next to outPath, checks it by opening it, and only then
// puts it in place of outPath; on any failure it removes what it wrote and outPath is left as
// it was. They return the opened file. Throws platform::Error.

// Runs the SQL script (which creates and fills the tables) and embeds the schema.
std::shared_ptr<const CubeFile> buildCubeFromSql(const QString &schemaPath, const QString &sqlPath,
                                                 const QString &outPath);

// Copies an existing SQLite database (never writing to it) and embeds the schema.
std::shared_ptr<const CubeFile> buildCubeFromDatabase(const QString &schemaPath,
                                                      const QString &databasePath,
                                                      const QString &outPath);

// The sample cube "Sales" of schema "Pelmora Sample"; the same facts for the same seed.
std::shared_ptr<const CubeFile> writeSampleCube(const QString &outPath, std::int64_t facts,
                                                std::uint64_t seed);

inline constexpr std::int64_t defaultSampleFacts = 100000;

// The schema the sample cube embeds.
QString sampleSchemaXml();

} // namespace platform::olap::local
