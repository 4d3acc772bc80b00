#include "platform/olap/local/LocalProvider.h"

#include "platform/olap/local/SharedCubeFile.h"

namespace platform::olap::local {

namespace {

// The object model's view of one hierarchy of the store. Ids are member indices.
class StoreMembers final : public MemberSource
{
public:
    StoreMembers(std::shared_ptr<const CubeFile> file, const HierarchyStore &hierarchy)
        : m_file(std::move(file)), m_h(hierarchy)
    {}

    int levelMemberCount(int level) const override
    {
        return m_h.levels[std::size_t(level)].memberCount;
    }
    int levelMember(int level, int index) const override
    {
        return m_h.levels[std::size_t(level)].firstMember + index;
    }
    QString memberName(int id) const override { return m_h.names[std::size_t(id)]; }
    QString memberCaption(int id) const override { return m_h.captions[std::size_t(id)]; }
    QString memberUniqueName(int id) const override { return m_h.uniqueNames[std::size_t(id)]; }
    int memberLevel(int id) const override { return m_h.members[std::size_t(id)].level; }
    int memberParent(int id) const override { return m_h.members[std::size_t(id)].parent; }
    int memberChildCount(int id) const override { return m_h.members[std::size_t(id)].childCount; }
    int memberChild(int id, int index) const override
    {
        return m_h.members[std::size_t(id)].firstChild + index;
    }
    int findMember(QStringView uniqueName) const override { return m_h.findMember(uniqueName); }

private:
    std::shared_ptr<const CubeFile> m_file;
    const HierarchyStore &m_h;
};

} // namespace

std::shared_ptr<const CatalogMeta> catalogMeta(const std::shared_ptr<const CubeFile> &file)
{
    auto catalog = std::make_shared<CatalogMeta>();
    catalog->name = file->schemaName;
    for (const CubeStore &cube : file->cubes) {
        CubeMeta cubeMeta;
        cubeMeta.name = cube.name;
        for (const DimensionStore &dimension : cube.dimensions) {
            DimensionMeta dimensionMeta;
            dimensionMeta.name = dimension.name;
            dimensionMeta.uniqueName = dimension.uniqueName;
            dimensionMeta.dimensionType = dimension.dimensionType;
            for (int h = dimension.firstHierarchy;
                 h < dimension.firstHierarchy + dimension.hierarchyCount; ++h) {
                const HierarchyStore &hierarchy = cube.hierarchies[std::size_t(h)];
                HierarchyMeta hierarchyMeta;
                hierarchyMeta.name = hierarchy.name;
                hierarchyMeta.uniqueName = hierarchy.uniqueName;
                for (const LevelStore &level : hierarchy.levels)
                    hierarchyMeta.levels.push_back({level.name, level.uniqueName, level.depth});
                hierarchyMeta.members = std::make_shared<StoreMembers>(file, hierarchy);
                dimensionMeta.hierarchies.push_back(std::move(hierarchyMeta));
            }
            cubeMeta.dimensions.push_back(std::move(dimensionMeta));
        }
        catalog->cubes.push_back(std::move(cubeMeta));
    }
    return catalog;
}

LocalProvider::LocalProvider(const QString &path)
    : m_file(sharedCubeFile(path)), m_catalog(catalogMeta(m_file)),
      m_engine(std::make_unique<MdxEngine>(m_file))
{}

std::shared_ptr<const CellsetData> LocalProvider::execute(const QString &statement)
{
    return m_engine->result(statement);
}

QStringList LocalProvider::catalogNames() const
{
    return {m_catalog->name};
}

std::shared_ptr<const CatalogMeta> LocalProvider::catalog() const
{
    return m_catalog;
}

} // namespace platform::olap::local
