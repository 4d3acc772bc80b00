#include "platform/olap/Catalog.h"

#include "platform/olap/Provider.h"
#include "platform/olap/UniqueName.h"
#include "platform/runtime/Error.h"

namespace platform::olap {

namespace {

void checkIndex(int index, std::size_t count, const char *what)
{
    if (index < 0 || std::size_t(index) >= count) {
        throw Error(QStringLiteral("%1 %2 does not exist: the collection has %3 item(s), "
                                   "numbered from 0")
                        .arg(QLatin1String(what))
                        .arg(index)
                        .arg(count));
    }
}

} // namespace

// Member

const MemberSource &Member::source() const
{
    if (!m_hierarchy)
        throw Error(QStringLiteral("The member is empty (Nothing): there is no such member"));
    return *m_hierarchy->members;
}

QString Member::name() const
{
    return source().memberName(m_id);
}

QString Member::uniqueName() const
{
    return source().memberUniqueName(m_id);
}

QString Member::caption() const
{
    return source().memberCaption(m_id);
}

int Member::levelDepth() const
{
    const int level = source().memberLevel(m_id);
    return m_hierarchy->levels[std::size_t(level)].depth;
}

Member Member::parent() const
{
    const int parent = source().memberParent(m_id);
    if (parent < 0)
        return Member();
    return Member(m_hierarchy, parent);
}

int Member::childCount() const
{
    return source().memberChildCount(m_id);
}

Members Member::children() const
{
    source(); // the empty member has no children collection
    return Members(m_hierarchy, -1, m_id);
}

// Members

int Members::count() const
{
    const MemberSource &source = *m_hierarchy->members;
    return m_level >= 0 ? source.levelMemberCount(m_level) : source.memberChildCount(m_parent);
}

Member Members::item(int index) const
{
    checkIndex(index, std::size_t(count()), "Member");
    const MemberSource &source = *m_hierarchy->members;
    const int id =
        m_level >= 0 ? source.levelMember(m_level, index) : source.memberChild(m_parent, index);
    return Member(m_hierarchy, id);
}

// Level, Levels

QString Level::name() const
{
    return m_hierarchy->levels[std::size_t(m_level)].name;
}

QString Level::uniqueName() const
{
    return m_hierarchy->levels[std::size_t(m_level)].uniqueName;
}

int Level::depth() const
{
    return m_hierarchy->levels[std::size_t(m_level)].depth;
}

Members Level::members() const
{
    return Members(m_hierarchy, m_level, -1);
}

int Levels::count() const
{
    return int(m_hierarchy->levels.size());
}

Level Levels::item(int index) const
{
    checkIndex(index, m_hierarchy->levels.size(), "Level");
    return Level(m_hierarchy, index);
}

// Hierarchy, Hierarchies

QString Hierarchy::name() const
{
    return m_hierarchy->name;
}

QString Hierarchy::uniqueName() const
{
    return m_hierarchy->uniqueName;
}

Levels Hierarchy::levels() const
{
    return Levels(m_hierarchy);
}

Member Hierarchy::findMember(const QString &uniqueName) const
{
    const int id = m_hierarchy->members->findMember(uniqueName);
    return id < 0 ? Member() : Member(m_hierarchy, id);
}

int Hierarchies::count() const
{
    return int(m_dimension->hierarchies.size());
}

Hierarchy Hierarchies::item(int index) const
{
    checkIndex(index, m_dimension->hierarchies.size(), "Hierarchy");
    return Hierarchy(std::shared_ptr<const HierarchyMeta>(
        m_dimension, &m_dimension->hierarchies[std::size_t(index)]));
}

// Dimension, Dimensions

QString Dimension::name() const
{
    return m_dimension->name;
}

QString Dimension::uniqueName() const
{
    return m_dimension->uniqueName;
}

Property Dimension::properties(const QString &name) const
{
    if (name.compare(QLatin1String("DIMENSION_TYPE"), Qt::CaseInsensitive) == 0)
        return Property(QStringLiteral("DIMENSION_TYPE"), m_dimension->dimensionType);
    throw Error(
        QStringLiteral("Dimension %1 has no property \"%2\"").arg(m_dimension->uniqueName, name));
}

Hierarchies Dimension::hierarchies() const
{
    return Hierarchies(m_dimension);
}

int Dimensions::count() const
{
    return int(m_cube->dimensions.size());
}

Dimension Dimensions::item(int index) const
{
    checkIndex(index, m_cube->dimensions.size(), "Dimension");
    return Dimension(
        std::shared_ptr<const DimensionMeta>(m_cube, &m_cube->dimensions[std::size_t(index)]));
}

// CubeDef, CubeDefs

QString CubeDef::name() const
{
    return m_cube->name;
}

Dimensions CubeDef::dimensions() const
{
    return Dimensions(m_cube);
}

Member CubeDef::findMember(const QString &uniqueName) const
{
    QStringList names;
    if (!splitUniqueName(uniqueName, names) || names.size() < 2)
        return Member();
    const QString hierarchyName = quoteName(names.front());
    for (const DimensionMeta &dimension : m_cube->dimensions) {
        for (const HierarchyMeta &hierarchy : dimension.hierarchies) {
            if (hierarchy.uniqueName.compare(hierarchyName, Qt::CaseInsensitive) == 0) {
                return Hierarchy(std::shared_ptr<const HierarchyMeta>(m_cube, &hierarchy))
                    .findMember(uniqueName);
            }
        }
    }
    return Member();
}

int CubeDefs::count() const
{
    return int(m_catalog->cubes.size());
}

CubeDef CubeDefs::item(int index) const
{
    checkIndex(index, m_catalog->cubes.size(), "Cube");
    return CubeDef(
        std::shared_ptr<const CubeMeta>(m_catalog, &m_catalog->cubes[std::size_t(index)]));
}

// Catalog

void Catalog::setActiveConnection(const Connection &connection)
{
    m_catalog = connection.provider()->catalog();
    m_connection = connection;
}

Connection Catalog::activeConnection() const
{
    if (!m_connection)
        throw Error(QStringLiteral("The catalog has no active connection"));
    return *m_connection;
}

void Catalog::bindCatalog(const QString &name)
{
    m_catalog = activeConnection().provider()->bindCatalog(name);
}

const CatalogMeta &Catalog::meta() const
{
    if (!m_catalog)
        throw Error(QStringLiteral("The catalog has no active connection"));
    return *m_catalog;
}

QString Catalog::name() const
{
    return meta().name;
}

CubeDefs Catalog::cubeDefs() const
{
    meta();
    return CubeDefs(m_catalog);
}

} // namespace platform::olap
