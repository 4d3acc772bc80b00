#pragma once

#include "platform/olap/Provider.h"
#include "platform/olap/xmla/XmlaClient.h"

#include <QHash>
#include <QString>
#include <QStringList>

#include <memory>

namespace platform::olap::xmla {

// The provider of an OLAP server reached over XML for Analysis. Opening asks the server for its
// catalogs; a catalog's cubes, dimensions, hierarchies and levels are read the first time the
// catalog is used, and the members of a level, a member's children and members looked up by
// unique name as they are asked for. Everything fetched is cached for the life of this provider,
// that is of one open connection.
class XmlaProvider final : public Provider
{
public:
    // The source as endpointForSource() reads it. Throws platform::Error when the server cannot
    // be reached or answers with a fault.
    explicit XmlaProvider(const QString &source);
    ~XmlaProvider() override;

    QStringList catalogNames() const override;
    // The bound catalog: the first catalog of the server until bindCatalog() chose another.
    // A server without catalogs gives an empty catalog without cubes.
    std::shared_ptr<const CatalogMeta> catalog() const override;
    // Binds the catalog of this name (without regard to case), or the first catalog when the
    // server has none of that name; statements run in the bound catalog.
    std::shared_ptr<const CatalogMeta> bindCatalog(const QString &name) override;
    // Sends the statement as it is, in the bound catalog. Throws platform::Error: the server's
    // fault, a failed call, or a result of more cells than cellLimit().
    std::shared_ptr<const CellsetData> execute(const QString &statement) override;

    // The most cells a result may have; 10 000 000 unless set, as for cube files.
    qint64 cellLimit() const { return m_cellLimit; }
    void setCellLimit(qint64 cells) { m_cellLimit = cells; }

    // The bound catalog's name as the server spells it; empty when the server has none.
    const QString &catalogName() const { return m_catalogName; }
    // For settings such as the timeout.
    XmlaClient &client() { return *m_client; }

private:
    std::shared_ptr<const CatalogMeta> load(const QString &name) const;

    std::shared_ptr<XmlaClient> m_client;
    Rowset m_catalogs;
    QString m_catalogName;
    qint64 m_cellLimit = 10'000'000;
    // Catalogs read so far, by case-folded name; their member sources hold the member cache.
    mutable QHash<QString, std::shared_ptr<const CatalogMeta>> m_loaded;
};

// The object model's dimension type for an XMLA DIMENSION_TYPE value: MD_DIMTYPE_TIME (1) and
// MD_DIMTYPE_MEASURE (2) keep their values, every other type is OtherDimension.
int dimensionTypeFromXmla(QStringView dimensionType);

} // namespace platform::olap::xmla
