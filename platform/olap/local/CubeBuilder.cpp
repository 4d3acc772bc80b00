#include "platform/olap/local/CubeBuilder.h"

#include "platform/olap/local/ColumnImage.h"
#include "platform/olap/local/CubeLoader.h"
#include "platform/olap/local/CubeOutput.h"
#include "platform/runtime/Error.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

#include <sqlite3.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace platform::olap::local {

QString readTextFile(const QString &path, const QString &what)
{
    QFile file(path);
    if (!file.exists())
        throw Error(QStringLiteral("File not found: %1 (the %2)").arg(path, what));
    if (QFileInfo(path).isDir())
        throw Error(QStringLiteral("%1 is a directory, not the %2").arg(path, what));
    checkRegularFile(path, path, QStringLiteral("the ") + what);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(
            QStringLiteral("Cannot read the %1 %2: %3").arg(what, path, file.errorString()));
    return QString::fromUtf8(file.readAll());
}

CubeOutput::CubeOutput(const QString &outPath) : m_out(outPath)
{
    const QFileInfo out(outPath);
    if (out.isDir())
        throw Error(QStringLiteral("Cannot write %1: it is a directory").arg(outPath));
    if (!out.absoluteDir().exists()) {
        throw Error(QStringLiteral("Cannot write %1: the folder %2 does not exist")
                        .arg(outPath, out.absolutePath()));
    }
    do {
        m_temp = out.absoluteDir().filePath(
            QStringLiteral(".%1.%2-%3.tmp")
                .arg(out.fileName())
                .arg(QCoreApplication::applicationPid())
                .arg(QRandomGenerator::global()->generate(), 8, 16, QLatin1Char('0')));
    } while (QFileInfo::exists(m_temp));
    m_db = SqliteDb(m_temp, SqliteDb::Mode::Create);
    m_db.setName(outPath);
}

CubeOutput::~CubeOutput()
{
    m_db.close();
    if (!m_committed) {
        QFile::remove(m_temp);
        QFile::remove(m_temp + QStringLiteral("-journal"));
    }
}

void CubeOutput::embedSchema(const QString &xml)
{
    m_db.exec(QStringLiteral("DROP TABLE IF EXISTS pelmora_schema;"
                             "DROP TABLE IF EXISTS pelmora_meta;"
                             "CREATE TABLE pelmora_schema (xml TEXT NOT NULL);"
                             "CREATE TABLE pelmora_meta (key TEXT PRIMARY KEY, value TEXT);"
                             "INSERT INTO pelmora_meta VALUES ('format_version', '%1');")
                  .arg(cubeFormatVersion));
    SqliteStmt insert(m_db, QStringLiteral("INSERT INTO pelmora_schema (xml) VALUES (?1)"));
    const QByteArray utf8 = xml.toUtf8();
    sqlite3_bind_text(insert.handle(), 1, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
    insert.step();
}

std::shared_ptr<const CubeFile> CubeOutput::commit()
{
    // A cube file is read read-only, so it must not need a write-ahead log.
    m_db.exec(QStringLiteral("PRAGMA journal_mode = DELETE"));
    // The facts as loaded from their rows go into the column image, for fast opening.
    writeColumnImages(m_db, *loadCubeFile(m_temp, m_out));
    m_db.close();
    const QByteArray temp = QFile::encodeName(m_temp);
    const int fd = ::open(temp.constData(), O_RDONLY);
    if (fd < 0 || ::fsync(fd) != 0) {
        const QString reason = QString::fromLocal8Bit(std::strerror(errno));
        if (fd >= 0)
            ::close(fd);
        throw Error(QStringLiteral("Cannot write %1: %2").arg(m_out, reason));
    }
    ::close(fd);
    std::shared_ptr<const CubeFile> file = loadCubeFile(m_temp, m_out);
    if (std::rename(temp.constData(), QFile::encodeName(m_out).constData()) != 0) {
        throw Error(QStringLiteral("Cannot replace %1: %2")
                        .arg(m_out, QString::fromLocal8Bit(std::strerror(errno))));
    }
    m_committed = true;
    return file;
}

namespace {

// Runs a script statement by statement, so that an error names the line it starts on.
void runScript(SqliteDb &db, const QString &sql, const QString &sqlPath)
{
    const QByteArray utf8 = sql.toUtf8();
    const char *begin = utf8.constData();
    const char *end = begin + utf8.size();
    const char *next = begin;
    int line = 1;
    while (next < end) {
        sqlite3_stmt *stmt = nullptr;
        const char *tail = nullptr;
        const char *start = next;
        const int rc = sqlite3_prepare_v2(db.handle(), start, int(end - start), &stmt, &tail);
        // The statement's first line: skip blanks before it.
        const char *first = start;
        while (first < tail
               && (*first == ' ' || *first == '\t' || *first == '\n' || *first == '\r')) {
            ++first;
        }
        const int statementLine = line + int(std::count(start, first, '\n'));
        auto failHere = [&] {
            const QString message = QString::fromUtf8(sqlite3_errmsg(db.handle()));
            sqlite3_finalize(stmt);
            throw Error(
                QStringLiteral("%1 line %2: %3").arg(sqlPath).arg(statementLine).arg(message));
        };
        if (rc != SQLITE_OK)
            failHere();
        if (stmt) {
            int step;
            while ((step = sqlite3_step(stmt)) == SQLITE_ROW) {
            }
            if (step != SQLITE_DONE)
                failHere();
            sqlite3_finalize(stmt);
        }
        line += int(std::count(start, tail, '\n'));
        if (tail == start)
            break;
        next = tail;
    }
}

} // namespace

std::shared_ptr<const CubeFile> buildCubeFromSql(const QString &schemaPath, const QString &sqlPath,
                                                 const QString &outPath)
{
    const QString xml = readTextFile(schemaPath, QStringLiteral("schema"));
    const QString sql = readTextFile(sqlPath, QStringLiteral("SQL script"));
    CubeOutput out(outPath);
    // The new file is thrown away on failure, so it needs no journal on disk while filling.
    out.db().exec(QStringLiteral("PRAGMA journal_mode = MEMORY; PRAGMA synchronous = OFF"));
    runScript(out.db(), sql, sqlPath);
    if (!sqlite3_get_autocommit(out.db().handle())) {
        throw Error(QStringLiteral("%1: the script leaves a transaction open (BEGIN without "
                                   "COMMIT)")
                        .arg(sqlPath));
    }
    out.embedSchema(xml);
    return out.commit();
}

std::shared_ptr<const CubeFile> buildCubeFromDatabase(const QString &schemaPath,
                                                      const QString &databasePath,
                                                      const QString &outPath)
{
    const QString xml = readTextFile(schemaPath, QStringLiteral("schema"));
    const QFileInfo info(databasePath);
    if (!info.exists())
        throw Error(QStringLiteral("File not found: %1").arg(databasePath));
    if (info.isDir())
        throw Error(QStringLiteral("%1 is a directory, not an SQLite database").arg(databasePath));
    checkRegularFile(databasePath, databasePath, QStringLiteral("an SQLite database"));
    SqliteDb source(databasePath, SqliteDb::Mode::ReadOnly);
    CubeOutput out(outPath);
    sqlite3_backup *backup =
        sqlite3_backup_init(out.db().handle(), "main", source.handle(), "main");
    if (!backup)
        throw Error(QStringLiteral("Cannot copy %1: %2").arg(databasePath, out.db().lastError()));
    const int rc = sqlite3_backup_step(backup, -1);
    sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE) {
        if ((rc & 0xFF) == SQLITE_NOTADB) {
            throw Error(
                QStringLiteral("Cannot copy %1: it is not an SQLite database").arg(databasePath));
        }
        throw Error(QStringLiteral("Cannot copy %1: %2")
                        .arg(databasePath, QString::fromUtf8(sqlite3_errstr(rc))));
    }
    source.close();
    out.embedSchema(xml);
    return out.commit();
}

} // namespace platform::olap::local
