#include "platform/olap/Connection.h"

#include "platform/olap/ConnectionString.h"
#include "platform/olap/Provider.h"
#include "platform/runtime/Error.h"

namespace platform::olap {

struct Connection::Data
{
    QString connectionString;
    std::shared_ptr<Provider> provider;
};

Connection::Connection() : d(std::make_shared<Data>()) {}

void Connection::open(const QString &connectionString, const QString &user, const QString &password,
                      int options)
{
    Q_UNUSED(options);
    if (d->provider)
        throw Error(QStringLiteral("The connection is already open; close it first"));
    const ConnectionString parsed = ConnectionString::parse(connectionString);
    d->provider = openProvider(parsed.dataSource, user, password);
    d->connectionString = connectionString;
}

int Connection::state() const
{
    return d->provider ? StateOpen : StateClosed;
}

void Connection::close()
{
    d->provider.reset();
}

Recordset Connection::openSchema(int schema) const
{
    const std::shared_ptr<Provider> p = provider();
    if (schema != SchemaCatalogs) {
        throw Error(
            QStringLiteral("Schema rowset %1 is not supported (only 1, the catalogs)").arg(schema));
    }
    std::vector<QVariantList> rows;
    for (const QString &name : p->catalogNames())
        rows.push_back({name});
    return Recordset({QStringLiteral("CATALOG_NAME")}, std::move(rows));
}

QString Connection::connectionString() const
{
    return d->connectionString;
}

std::shared_ptr<Provider> Connection::provider() const
{
    if (!d->provider)
        throw Error(QStringLiteral("The connection is not open"));
    return d->provider;
}

} // namespace platform::olap
