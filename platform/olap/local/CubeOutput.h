#pragma once

#include "platform/olap/local/CubeStore.h"
#include "platform/olap/local/Sqlite.h"

#include <QString>

#include <memory>

namespace platform::olap::local {

// A cube file being written: a new file next to the output, removed unless commit() puts it
// in place. Shared by the builders and the sample generator.
class CubeOutput
{
public:
    explicit CubeOutput(const QString &outPath); // throws platform::Error
    ~CubeOutput();
    CubeOutput(const CubeOutput &) = delete;
    CubeOutput &operator=(const CubeOutput &) = delete;

    SqliteDb &db() { return m_db; }
    // Replaces the pelmora tables with the schema and the format version.
    void embedSchema(const QString &xml);
    // Syncs the file, checks it by opening it, then renames it to the output path.
    std::shared_ptr<const CubeFile> commit();

private:
    QString m_out;
    QString m_temp;
    SqliteDb m_db;
    bool m_committed = false;
};

// A text file's content as UTF-8; what names the file in errors ("schema", "SQL script").
QString readTextFile(const QString &path, const QString &what);

} // namespace platform::olap::local
