#include "tests/platform/olap/CubeFixtures.h"

#include "platform/olap/local/CubeBuilder.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>

namespace testing_support {

QString fixturePath(const QString &name)
{
    return QDir(QStringLiteral(PELMORA_FIXTURES)).filePath(name);
}

QString buildFixtureCube(const QString &dir, const QString &name)
{
    const QString out = QDir(dir).filePath(name + QStringLiteral(".cub"));
    platform::olap::local::buildCubeFromSql(fixturePath(name + QStringLiteral(".xml")),
                                            fixturePath(name + QStringLiteral(".sql")), out);
    return out;
}

void execSql(const QString &path, const QString &sql)
{
    sqlite3 *db = nullptr;
    ASSERT_EQ(sqlite3_open_v2(QFile::encodeName(path).constData(), &db,
                              SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr),
              SQLITE_OK);
    char *error = nullptr;
    const int rc = sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &error);
    EXPECT_EQ(rc, SQLITE_OK) << (error ? error : "") << " in: " << sql.toStdString();
    sqlite3_free(error);
    sqlite3_close(db);
}

FileState fileState(const QString &path)
{
    QFile file(path);
    FileState state;
    if (file.open(QIODevice::ReadOnly))
        state.bytes = file.readAll();
    state.modified = QFileInfo(path).lastModified().toMSecsSinceEpoch();
    return state;
}

QString connectionStringFor(const QString &path)
{
    return QStringLiteral("Data source=") + path + QStringLiteral(";Provider=MSOLAP");
}

} // namespace testing_support
