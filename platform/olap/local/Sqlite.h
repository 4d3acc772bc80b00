#pragma once

#include <QString>

#include <cstdint>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace platform::olap::local {

// A double-quoted SQL identifier ("a""b").
QString sqlIdentifier(const QString &name);

// An SQLite connection that closes itself. Errors throw platform::Error prefixed by the
// context the caller gives.
class SqliteDb
{
public:
    enum class Mode { ReadOnly, Create };

    SqliteDb() = default;
    SqliteDb(const QString &path, Mode mode); // throws platform::Error
    ~SqliteDb();
    SqliteDb(SqliteDb &&other) noexcept;
    SqliteDb &operator=(SqliteDb &&other) noexcept;
    SqliteDb(const SqliteDb &) = delete;
    SqliteDb &operator=(const SqliteDb &) = delete;

    sqlite3 *handle() const { return m_db; }
    // The name errors give the file: its path unless set otherwise.
    const QString &path() const { return m_name; }
    void setName(const QString &name) { m_name = name; }
    void exec(const QString &sql); // throws platform::Error with SQLite's message
    void close();
    // SQLite's message for the last failure, with a hint for the common file problems.
    QString lastError() const;
    int lastErrorCode() const;

private:
    sqlite3 *m_db = nullptr;
    QString m_name;
};

class SqliteStmt
{
public:
    SqliteStmt(const SqliteDb &db, const QString &sql); // throws platform::Error
    ~SqliteStmt();
    SqliteStmt(const SqliteStmt &) = delete;
    SqliteStmt &operator=(const SqliteStmt &) = delete;

    sqlite3_stmt *handle() const { return m_stmt; }
    bool step(); // true while there is a row; throws platform::Error
    void reset();
    int columnCount() const;
    bool isNull(int column) const;
    std::int64_t int64(int column) const;
    QString text(int column) const;

private:
    const SqliteDb &m_db;
    sqlite3_stmt *m_stmt = nullptr;
};

} // namespace platform::olap::local
