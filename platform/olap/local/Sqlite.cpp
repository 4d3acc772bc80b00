#include "platform/olap/local/Sqlite.h"

#include "platform/runtime/Error.h"

#include <sqlite3.h>

#include <utility>

namespace platform::olap::local {

QString sqlIdentifier(const QString &name)
{
    QString quoted = name;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

SqliteDb::SqliteDb(const QString &path, Mode mode) : m_name(path)
{
    // Read-only never creates a missing file and never writes to an existing one.
    const int flags =
        mode == Mode::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
    const int rc =
        sqlite3_open_v2(path.toUtf8().constData(), &m_db, flags | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        const QString message =
            m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QString::fromUtf8(sqlite3_errstr(rc));
        close();
        throw Error(QStringLiteral("%1: cannot open the file (%2)").arg(path, message));
    }
    sqlite3_extended_result_codes(m_db, 1);
    // A damaged or hostile file must not run code from its schema (views, triggers).
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_DEFENSIVE, 1, nullptr);
    sqlite3_db_config(m_db, SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0, nullptr);
    if (mode == Mode::ReadOnly)
        sqlite3_exec(m_db, "PRAGMA query_only = 1", nullptr, nullptr, nullptr);
}

SqliteDb::~SqliteDb()
{
    close();
}

SqliteDb::SqliteDb(SqliteDb &&other) noexcept
    : m_db(std::exchange(other.m_db, nullptr)), m_name(std::move(other.m_name))
{}

SqliteDb &SqliteDb::operator=(SqliteDb &&other) noexcept
{
    if (this != &other) {
        close();
        m_db = std::exchange(other.m_db, nullptr);
        m_name = std::move(other.m_name);
    }
    return *this;
}

void SqliteDb::close()
{
    if (m_db) {
        sqlite3_close_v2(m_db);
        m_db = nullptr;
    }
}

int SqliteDb::lastErrorCode() const
{
    return m_db ? sqlite3_extended_errcode(m_db) : SQLITE_MISUSE;
}

QString SqliteDb::lastError() const
{
    if (!m_db)
        return QStringLiteral("no database");
    const int code = sqlite3_errcode(m_db);
    const QString message = QString::fromUtf8(sqlite3_errmsg(m_db));
    if (code == SQLITE_NOTADB)
        return QStringLiteral("it is not an SQLite database (%1)").arg(message);
    if (code == SQLITE_CORRUPT)
        return QStringLiteral("the file is damaged (%1)").arg(message);
    return message;
}

void SqliteDb::exec(const QString &sql)
{
    char *message = nullptr;
    const int rc = sqlite3_exec(m_db, sql.toUtf8().constData(), nullptr, nullptr, &message);
    if (rc != SQLITE_OK) {
        const QString text = message ? QString::fromUtf8(message) : lastError();
        sqlite3_free(message);
        throw Error(QStringLiteral("%1: %2").arg(m_name, text));
    }
}

SqliteStmt::SqliteStmt(const SqliteDb &db, const QString &sql) : m_db(db)
{
    const QByteArray utf8 = sql.toUtf8();
    if (sqlite3_prepare_v2(db.handle(), utf8.constData(), int(utf8.size()), &m_stmt, nullptr)
        != SQLITE_OK) {
        const QString message = db.lastError();
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
        throw Error(QStringLiteral("%1: %2").arg(db.path(), message));
    }
}

SqliteStmt::~SqliteStmt()
{
    sqlite3_finalize(m_stmt);
}

bool SqliteStmt::step()
{
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_ROW)
        return true;
    if (rc == SQLITE_DONE)
        return false;
    throw Error(QStringLiteral("%1: %2").arg(m_db.path(), m_db.lastError()));
}

void SqliteStmt::reset()
{
    sqlite3_reset(m_stmt);
}

int SqliteStmt::columnCount() const
{
    return sqlite3_column_count(m_stmt);
}

bool SqliteStmt::isNull(int column) const
{
    return sqlite3_column_type(m_stmt, column) == SQLITE_NULL;
}

std::int64_t SqliteStmt::int64(int column) const
{
    return sqlite3_column_int64(m_stmt, column);
}

QString SqliteStmt::text(int column) const
{
    const auto *data = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, column));
    return QString::fromUtf8(data, sqlite3_column_bytes(m_stmt, column));
}

} // namespace platform::olap::local
