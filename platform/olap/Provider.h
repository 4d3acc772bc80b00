#pragma once

#include "platform/olap/CellsetData.h"
#include "platform/olap/Metadata.h"
#include "platform/runtime/Error.h"

#include <QString>
#include <QStringList>

#include <memory>

namespace platform::olap {

// One open data source behind a Connection: local cube files now, an XMLA server later.
class Provider
{
public:
    virtual ~Provider() = default;

    virtual QStringList catalogNames() const = 0;
    // The catalog the connection works in (the first when the source has several).
    virtual std::shared_ptr<const CatalogMeta> catalog() const = 0;
    // Makes the catalog of this name the one the connection works in, or the first catalog
    // when the source has none of that name, and returns it. A cube file has one catalog.
    virtual std::shared_ptr<const CatalogMeta> bindCatalog(const QString &name)
    {
        Q_UNUSED(name);
        return catalog();
    }
    // Runs an MDX statement in the catalog and returns its result, a new object each run, never
    // changed afterwards. Throws platform::Error.
    virtual std::shared_ptr<const CellsetData> execute(const QString &statement)
    {
        Q_UNUSED(statement);
        throw Error(QStringLiteral("This data source does not run MDX statements"));
    }
};

enum class SourceKind { CubeFile, Server };

// How a "Data source" value is read: an http(s) address is a server, a name that is an existing
// file, contains "/" or ends in ".cub" is a cube file, any other text is a server host name.
SourceKind sourceKind(const QString &source);

// Opens the provider for a source. Throws platform::Error.
std::shared_ptr<Provider> openProvider(const QString &source, const QString &user,
                                       const QString &password);

} // namespace platform::olap
