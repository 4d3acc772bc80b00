#pragma once

#include "platform/olap/Recordset.h"

#include <QString>

#include <memory>

namespace platform::olap {

class Provider;

// A connection to a cube source. A Connection is a handle: copies refer to the same connection,
// as the control's catalog and cell set share the one it opened.
class Connection
{
public:
    enum { StateClosed = 0, StateOpen = 1 };
    enum { SchemaCatalogs = 1 };

    Connection();

    // "Data source=<source>;Provider=MSOLAP". user, password and options (-1: unspecified) are
    // accepted for the servers' sake; cube files need none. Throws platform::Error, also when
    // the connection is already open.
    void open(const QString &connectionString, const QString &user = QString(),
              const QString &password = QString(), int options = -1);
    int state() const;
    void close(); // does nothing when closed
    // Schema 1, the catalogs: one row per catalog with the field "CATALOG_NAME".
    Recordset openSchema(int schema) const;

    QString connectionString() const;
    // The open provider; throws platform::Error when the connection is closed.
    std::shared_ptr<Provider> provider() const;

    bool operator==(const Connection &other) const { return d == other.d; }

private:
    struct Data;
    std::shared_ptr<Data> d;
};

} // namespace platform::olap
