#pragma once

#include <QByteArray>
#include <QString>

namespace testing_support {

// A file of tests/fixtures.
QString fixturePath(const QString &name);

// Builds tests/fixtures/<name>.sql and <name>.xml into dir/<name>.cub through the same builder
// as "pelmora-cube build"; returns the path.
QString buildFixtureCube(const QString &dir, const QString &name = QStringLiteral("shop"));

// Runs SQL on a file read-write, to make bad cube files out of good ones.
void execSql(const QString &path, const QString &sql);

// The file's bytes and modification time, to show that opening it wrote nothing.
struct FileState
{
    QByteArray bytes;
    qint64 modified = 0;
    bool operator==(const FileState &) const = default;
};
FileState fileState(const QString &path);

// "Data source=<path>;Provider=MSOLAP"
QString connectionStringFor(const QString &path);

} // namespace testing_support
