#pragma once

#include "platform/olap/Provider.h"
#include "platform/olap/local/CubeStore.h"
#include "platform/olap/local/MdxEngine.h"

#include <memory>

namespace platform::olap::local {

// The provider of a cube file: the whole file is loaded when the connection opens, or the copy
// that other connections to the same file hold is shared (sharedCubeFile). The engine, its
// cache and its results are the connection's own.
class LocalProvider final : public Provider
{
public:
    explicit LocalProvider(const QString &path); // throws platform::Error

    QStringList catalogNames() const override;
    std::shared_ptr<const CatalogMeta> catalog() const override;
    std::shared_ptr<const CellsetData> execute(const QString &statement) override;

    // The loaded store, for the MDX engine; shared with the other connections to the file.
    const std::shared_ptr<const CubeFile> &cubeFile() const { return m_file; }
    // The engine that answers execute(), with its options (cell limit, threads) and cache.
    MdxEngine &engine() { return *m_engine; }

private:
    std::shared_ptr<const CubeFile> m_file;
    std::shared_ptr<const CatalogMeta> m_catalog;
    std::unique_ptr<MdxEngine> m_engine;
};

// The catalog metadata over a loaded cube file; its member sources keep the file alive.
std::shared_ptr<const CatalogMeta> catalogMeta(const std::shared_ptr<const CubeFile> &file);

} // namespace platform::olap::local
