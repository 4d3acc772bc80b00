#include "platform/olap/xmla/XmlaProvider.h"

#include "platform/olap/UniqueName.h"
#include "platform/olap/xmla/CellsetMapping.h"
#include "platform/runtime/Error.h"

#include <QSet>

#include <algorithm>
#include <initializer_list>
#include <optional>
#include <utility>
#include <vector>

namespace platform::olap::xmla {

namespace {

// "[A].B" and "[a].[b]" are the same name: every part bracketed, compared without case.
QString canonicalName(QStringView text)
{
    QStringList names;
    if (splitUniqueName(text, names))
        return joinUniqueName(names);
    return text.trimmed().toString();
}

QString nameKey(QStringView text)
{
    return canonicalName(text).toCaseFolded();
}

// The columns of one rowset a reader needs, looked up once.
struct Columns
{
    Columns(const Rowset &rows, std::initializer_list<QStringView> names)
    {
        for (QStringView name : names)
            index.push_back(rows.columnIndex(name));
    }
    int operator[](std::size_t i) const { return index[i]; }

    std::vector<int> index;
};

// The members of one hierarchy of a server cube, fetched with MDSCHEMA_MEMBERS as they are
// asked for. Ids index the records in the order members arrived; a member that arrives again
// (as a child, then with its level) keeps its id. No reference into the records is held across
// a request: the request's event loop may run code that fetches more members.
class ServerMembers final : public MemberSource
{
public:
    struct LevelInfo
    {
        QString uniqueName;
        int depth = 0;
    };

    ServerMembers(std::weak_ptr<XmlaClient> client, QString catalog, QString cube,
                  QString hierarchy, std::vector<LevelInfo> levels, bool measures)
        : m_client(std::move(client)), m_catalog(std::move(catalog)), m_cube(std::move(cube)),
          m_hierarchy(std::move(hierarchy)), m_hierarchyKey(nameKey(m_hierarchy)),
          m_levelInfo(std::move(levels)), m_measures(measures), m_levels(m_levelInfo.size())
    {
        for (const LevelInfo &level : m_levelInfo)
            m_levelKeys.push_back(nameKey(level.uniqueName));
    }

    int levelMemberCount(int level) const override { return int(levelMembers(level).size()); }
    int levelMember(int level, int index) const override
    {
        return levelMembers(level)[std::size_t(index)];
    }
    QString memberName(int id) const override { return record(id).name; }
    QString memberCaption(int id) const override { return record(id).caption; }
    QString memberUniqueName(int id) const override { return record(id).uniqueName; }
    int memberLevel(int id) const override { return record(id).level; }
    int memberParent(int id) const override;
    int memberChildCount(int id) const override;
    int memberChild(int id, int index) const override
    {
        loadChildren(id);
        return record(id).children[std::size_t(index)];
    }
    int findMember(QStringView uniqueName) const override;

private:
    static constexpr int Unresolved = -2;

    struct Record
    {
        QString name;
        QString caption;
        QString uniqueName;
        QString parentName;
        int level = 0;
        int parent = Unresolved; // -1: none
        int cardinality = -1;    // CHILDREN_CARDINALITY; -1 when not sent
        bool childrenKnown = false;
        std::vector<int> children;
    };

    const Record &record(int id) const { return m_records[std::size_t(id)]; }

    const std::vector<int> &levelMembers(int level) const;
    void loadChildren(int id) const;
    Rowset fetch(QStringView requestType, Restrictions restrictions) const;
    std::vector<int> addMembers(const Rowset &rows) const;
    std::vector<int> addMeasures(const Rowset &rows) const;
    int add(Record record) const;
    int levelOf(QStringView levelUniqueName, QStringView levelNumber) const;

    std::weak_ptr<XmlaClient> m_client;
    QString m_catalog;
    QString m_cube;
    QString m_hierarchy;
    QString m_hierarchyKey;
    std::vector<LevelInfo> m_levelInfo;
    std::vector<QString> m_levelKeys;
    bool m_measures;

    mutable std::vector<Record> m_records;
    mutable QHash<QString, int> m_index; // nameKey(unique name) -> id
    mutable QSet<QString> m_missing;     // names the server does not know
    mutable std::vector<std::optional<std::vector<int>>> m_levels;
};

Rowset ServerMembers::fetch(QStringView requestType, Restrictions restrictions) const
{
    const std::shared_ptr<XmlaClient> client = m_client.lock();
    if (!client) {
        throw Error(QStringLiteral("The connection to the server is closed: the members of %1 "
                                   "cannot be read any more")
                        .arg(m_hierarchy));
    }
    restrictions.insert(QStringLiteral("CATALOG_NAME"), m_catalog);
    restrictions.insert(QStringLiteral("CUBE_NAME"), m_cube);
    if (requestType == MdSchemaMembers)
        restrictions.insert(QStringLiteral("HIERARCHY_UNIQUE_NAME"), m_hierarchy);
    return client->discover(requestType, restrictions, {{QStringLiteral("Catalog"), m_catalog}});
}

int ServerMembers::levelOf(QStringView levelUniqueName, QStringView levelNumber) const
{
    if (!levelUniqueName.isEmpty()) {
        const auto found =
            std::find(m_levelKeys.begin(), m_levelKeys.end(), nameKey(levelUniqueName));
        if (found != m_levelKeys.end())
            return int(found - m_levelKeys.begin());
    }
    bool ok = false;
    const int number = levelNumber.trimmed().toInt(&ok);
    for (std::size_t i = 0; ok && i < m_levelInfo.size(); ++i) {
        if (m_levelInfo[i].depth == number)
            return int(i);
    }
    return -1;
}

int ServerMembers::add(Record member) const
{
    const QString key = nameKey(member.uniqueName);
    if (const auto it = m_index.constFind(key); it != m_index.constEnd())
        return it.value();
    const int id = int(m_records.size());
    m_records.push_back(std::move(member));
    m_index.insert(key, id);
    m_missing.remove(key);
    return id;
}

// The rows of this hierarchy, as ids in the rowset's order.
std::vector<int> ServerMembers::addMembers(const Rowset &rows) const
{
    const Columns c(rows, {u"MEMBER_UNIQUE_NAME", u"MEMBER_NAME", u"MEMBER_CAPTION",
                           u"HIERARCHY_UNIQUE_NAME", u"LEVEL_UNIQUE_NAME", u"LEVEL_NUMBER",
                           u"PARENT_UNIQUE_NAME", u"CHILDREN_CARDINALITY"});
    std::vector<int> ids;
    ids.reserve(std::size_t(rows.rowCount()));
    for (qsizetype row = 0; row < rows.rowCount(); ++row) {
        const QStringView uniqueName = rows.view(row, c[0]);
        const QStringView hierarchy = rows.view(row, c[3]);
        if (uniqueName.isEmpty() || (!hierarchy.isEmpty() && nameKey(hierarchy) != m_hierarchyKey))
            continue;
        Record member;
        member.level = levelOf(rows.view(row, c[4]), rows.view(row, c[5]));
        if (member.level < 0)
            continue;
        member.uniqueName = uniqueName.toString();
        member.name = rows.value(row, c[1]);
        member.caption = rows.isNull(row, c[2]) ? member.name : rows.value(row, c[2]);
        member.parentName = rows.value(row, c[6]);
        bool ok = false;
        const int cardinality = rows.view(row, c[7]).trimmed().toInt(&ok);
        member.cardinality = ok ? cardinality : -1;
        ids.push_back(add(std::move(member)));
    }
    return ids;
}

std::vector<int> ServerMembers::addMeasures(const Rowset &rows) const
{
    const Columns c(
        rows, {u"MEASURE_UNIQUE_NAME", u"MEASURE_NAME", u"MEASURE_CAPTION", u"MEASURE_IS_VISIBLE"});
    std::vector<int> ids;
    for (qsizetype row = 0; row < rows.rowCount(); ++row) {
        if (rows.view(row, c[0]).isEmpty()
            || rows.view(row, c[3]).trimmed().compare(u"false", Qt::CaseInsensitive) == 0)
            continue;
        Record member;
        member.uniqueName = rows.value(row, c[0]);
        member.name = rows.value(row, c[1]);
        member.caption = rows.isNull(row, c[2]) ? member.name : rows.value(row, c[2]);
        member.parent = -1;
        member.cardinality = 0;
        ids.push_back(add(std::move(member)));
    }
    return ids;
}

const std::vector<int> &ServerMembers::levelMembers(int level) const
{
    auto &slot = m_levels[std::size_t(level)];
    if (slot)
        return *slot;
    const Rowset rows =
        fetch(MdSchemaMembers,
              {{QStringLiteral("LEVEL_UNIQUE_NAME"), m_levelInfo[std::size_t(level)].uniqueName}});
    std::vector<int> ids;
    for (int id : addMembers(rows)) {
        if (record(id).level == level)
            ids.push_back(id);
    }
    // A server that leaves the measures out of MDSCHEMA_MEMBERS lists them in MDSCHEMA_MEASURES.
    if (ids.empty() && m_measures)
        ids = addMeasures(fetch(MdSchemaMeasures, {}));
    auto &filled = m_levels[std::size_t(level)];
    if (!filled)
        filled = std::move(ids);
    return *filled;
}

void ServerMembers::loadChildren(int id) const
{
    if (record(id).childrenKnown)
        return;
    const QString uniqueName = record(id).uniqueName;
    const Rowset rows =
        fetch(MdSchemaMembers, {{QStringLiteral("MEMBER_UNIQUE_NAME"), uniqueName},
                                {QStringLiteral("TREE_OP"), QString::number(TreeOpChildren)}});
    std::vector<int> children = addMembers(rows);
    Record &parent = m_records[std::size_t(id)];
    if (parent.childrenKnown)
        return;
    for (int child : children)
        m_records[std::size_t(child)].parent = id;
    parent.children = std::move(children);
    parent.childrenKnown = true;
}

int ServerMembers::memberParent(int id) const
{
    if (record(id).parent != Unresolved)
        return record(id).parent;
    const QString parentName = record(id).parentName;
    const int parent = parentName.isEmpty() ? -1 : findMember(parentName);
    m_records[std::size_t(id)].parent = parent;
    return parent;
}

int ServerMembers::memberChildCount(int id) const
{
    // A count the server reports as zero is taken as it is; any other may be an estimate
    // (servers are allowed one), so the children are fetched and counted.
    if (!record(id).childrenKnown && (m_measures || record(id).cardinality == 0))
        return 0;
    loadChildren(id);
    return int(record(id).children.size());
}

int ServerMembers::findMember(QStringView uniqueName) const
{
    const QString key = nameKey(uniqueName);
    if (const auto it = m_index.constFind(key); it != m_index.constEnd())
        return it.value();
    QStringList names;
    if (!splitUniqueName(uniqueName, names) || m_missing.contains(key)
        || !key.startsWith(m_hierarchyKey + u'.'))
        return -1;
    if (m_measures) {
        for (std::size_t level = 0; level < m_levels.size(); ++level)
            levelMembers(int(level));
    } else {
        addMembers(fetch(MdSchemaMembers,
                         {{QStringLiteral("MEMBER_UNIQUE_NAME"), canonicalName(uniqueName)}}));
    }
    // Only the member of exactly this name: a server may resolve other spellings to another.
    if (const auto it = m_index.constFind(key); it != m_index.constEnd())
        return it.value();
    m_missing.insert(key);
    return -1;
}

QString groupKey(QStringView cube, QStringView uniqueName)
{
    return cube.toString().toCaseFolded() + QChar(0x1f) + nameKey(uniqueName);
}

bool otherCatalog(const Rowset &rows, qsizetype row, int column, const QString &catalog)
{
    const QStringView name = rows.view(row, column);
    return !name.isEmpty() && name.compare(catalog, Qt::CaseInsensitive) != 0;
}

} // namespace

int dimensionTypeFromXmla(QStringView dimensionType)
{
    bool ok = false;
    const int type = dimensionType.trimmed().toInt(&ok);
    if (ok && (type == TimeDimension || type == MeasuresDimension))
        return type;
    return OtherDimension;
}

XmlaProvider::XmlaProvider(const QString &source)
{
    const QUrl endpoint = endpointForSource(source);
    if (!endpoint.isValid()) {
        throw Error(QStringLiteral("\"%1\" is neither the name of a server nor an http:// or "
                                   "https:// address")
                        .arg(source));
    }
    m_client = std::make_shared<XmlaClient>(endpoint);
    m_catalogs = m_client->discover(DbSchemaCatalogs);
    m_catalogName = chooseCatalog(m_catalogs, QString());
}

XmlaProvider::~XmlaProvider() = default;

QStringList XmlaProvider::catalogNames() const
{
    QStringList names;
    const int column = m_catalogs.columnIndex(u"CATALOG_NAME");
    for (qsizetype row = 0; row < m_catalogs.rowCount(); ++row) {
        if (!m_catalogs.view(row, column).isEmpty())
            names.append(m_catalogs.value(row, column));
    }
    return names;
}

std::shared_ptr<const CatalogMeta> XmlaProvider::catalog() const
{
    const QString key = m_catalogName.toCaseFolded();
    if (const auto it = m_loaded.constFind(key); it != m_loaded.constEnd())
        return it.value();
    std::shared_ptr<const CatalogMeta> meta = load(m_catalogName);
    // A call made while the requests were waiting may have loaded it first: keep that one,
    // so that the connection has one member cache per catalog.
    if (const auto it = m_loaded.constFind(key); it != m_loaded.constEnd())
        return it.value();
    m_loaded.insert(key, meta);
    return meta;
}

std::shared_ptr<const CatalogMeta> XmlaProvider::bindCatalog(const QString &name)
{
    m_catalogName = chooseCatalog(m_catalogs, name);
    return catalog();
}

std::shared_ptr<const CellsetData> XmlaProvider::execute(const QString &statement)
{
    return std::make_shared<const CellsetData>(
        cellsetFromReply(m_client->execute(statement, m_catalogName), m_cellLimit));
}

std::shared_ptr<const CatalogMeta> XmlaProvider::load(const QString &name) const
{
    auto meta = std::make_shared<CatalogMeta>();
    meta->name = name;
    if (name.isEmpty())
        return meta;

    const Restrictions inCatalog{{QStringLiteral("CATALOG_NAME"), name}};
    const Properties properties{{QStringLiteral("Catalog"), name}};
    const Rowset cubes = m_client->discover(MdSchemaCubes, inCatalog, properties);
    const Rowset dimensions = m_client->discover(MdSchemaDimensions, inCatalog, properties);
    Rowset hierarchies = m_client->discover(MdSchemaHierarchies, inCatalog, properties);
    hierarchies.sortByNumber(hierarchies.columnIndex(u"HIERARCHY_ORDINAL"));
    Rowset levels = m_client->discover(MdSchemaLevels, inCatalog, properties);
    levels.sortByNumber(levels.columnIndex(u"LEVEL_NUMBER"));

    QHash<QString, int> cubeIndex;
    {
        const Columns c(cubes, {u"CATALOG_NAME", u"CUBE_NAME"});
        for (qsizetype row = 0; row < cubes.rowCount(); ++row) {
            const QString cube = cubes.value(row, c[1]);
            const QString key = cube.toCaseFolded();
            if (otherCatalog(cubes, row, c[0], name) || cube.isEmpty() || cubeIndex.contains(key))
                continue;
            cubeIndex.insert(key, int(meta->cubes.size()));
            meta->cubes.push_back(CubeMeta{cube, {}});
        }
    }

    // Dimensions in DIMENSION_ORDINAL order (the client sorts them), each with its default
    // hierarchy's unique name.
    struct DimensionRef
    {
        int cube;
        int dimension;
        QString defaultHierarchy;
    };
    QHash<QString, DimensionRef> dimensionIndex;
    {
        const Columns c(dimensions,
                        {u"CATALOG_NAME", u"CUBE_NAME", u"DIMENSION_NAME", u"DIMENSION_UNIQUE_NAME",
                         u"DIMENSION_TYPE", u"DEFAULT_HIERARCHY"});
        for (qsizetype row = 0; row < dimensions.rowCount(); ++row) {
            const QStringView cube = dimensions.view(row, c[1]);
            const QStringView uniqueName = dimensions.view(row, c[3]);
            const int cubeNumber = cubeIndex.value(cube.toString().toCaseFolded(), -1);
            const QString key = groupKey(cube, uniqueName);
            if (otherCatalog(dimensions, row, c[0], name) || cubeNumber < 0 || uniqueName.isEmpty()
                || dimensionIndex.contains(key))
                continue;
            std::vector<DimensionMeta> &list = meta->cubes[std::size_t(cubeNumber)].dimensions;
            DimensionMeta dimension;
            dimension.name = dimensions.value(row, c[2]);
            dimension.uniqueName = uniqueName.toString();
            dimension.dimensionType = dimensionTypeFromXmla(dimensions.view(row, c[4]));
            dimensionIndex.insert(
                key, {cubeNumber, int(list.size()), nameKey(dimensions.view(row, c[5]))});
            list.push_back(std::move(dimension));
        }
    }

    struct HierarchyRef
    {
        int cube;
        int dimension;
        int hierarchy;
        std::vector<ServerMembers::LevelInfo> levels;
    };
    QHash<QString, HierarchyRef> hierarchyIndex;
    std::vector<QString> hierarchyOrder; // keys in creation order
    {
        const Columns c(hierarchies, {u"CATALOG_NAME", u"CUBE_NAME", u"DIMENSION_UNIQUE_NAME",
                                      u"HIERARCHY_NAME", u"HIERARCHY_UNIQUE_NAME"});
        for (qsizetype row = 0; row < hierarchies.rowCount(); ++row) {
            const QStringView cube = hierarchies.view(row, c[1]);
            const QStringView uniqueName = hierarchies.view(row, c[4]);
            const auto dimension =
                dimensionIndex.constFind(groupKey(cube, hierarchies.view(row, c[2])));
            const QString key = groupKey(cube, uniqueName);
            if (otherCatalog(hierarchies, row, c[0], name) || dimension == dimensionIndex.cend()
                || uniqueName.isEmpty() || hierarchyIndex.contains(key))
                continue;
            std::vector<HierarchyMeta> &list = meta->cubes[std::size_t(dimension->cube)]
                                                   .dimensions[std::size_t(dimension->dimension)]
                                                   .hierarchies;
            HierarchyMeta hierarchy;
            hierarchy.name = hierarchies.value(row, c[3]);
            hierarchy.uniqueName = uniqueName.toString();
            hierarchyIndex.insert(key,
                                  {dimension->cube, dimension->dimension, int(list.size()), {}});
            hierarchyOrder.push_back(key);
            list.push_back(std::move(hierarchy));
        }
    }

    {
        const Columns c(levels, {u"CATALOG_NAME", u"CUBE_NAME", u"HIERARCHY_UNIQUE_NAME",
                                 u"LEVEL_NAME", u"LEVEL_UNIQUE_NAME", u"LEVEL_NUMBER"});
        QSet<QString> seen;
        for (qsizetype row = 0; row < levels.rowCount(); ++row) {
            const QStringView cube = levels.view(row, c[1]);
            const QStringView uniqueName = levels.view(row, c[4]);
            const auto hierarchy = hierarchyIndex.find(groupKey(cube, levels.view(row, c[2])));
            const QString key = groupKey(cube, uniqueName);
            if (otherCatalog(levels, row, c[0], name) || hierarchy == hierarchyIndex.end()
                || uniqueName.isEmpty() || seen.contains(key))
                continue;
            seen.insert(key);
            LevelMeta level;
            level.name = levels.value(row, c[3]);
            level.uniqueName = uniqueName.toString();
            level.depth = levels.view(row, c[5]).trimmed().toInt();
            meta->cubes[std::size_t(hierarchy->cube)]
                .dimensions[std::size_t(hierarchy->dimension)]
                .hierarchies[std::size_t(hierarchy->hierarchy)]
                .levels.push_back(level);
            hierarchy->levels.push_back({level.uniqueName, level.depth});
        }
    }

    for (const QString &key : hierarchyOrder) {
        HierarchyRef &ref = hierarchyIndex[key];
        CubeMeta &cube = meta->cubes[std::size_t(ref.cube)];
        DimensionMeta &dimension = cube.dimensions[std::size_t(ref.dimension)];
        HierarchyMeta &hierarchy = dimension.hierarchies[std::size_t(ref.hierarchy)];
        hierarchy.members = std::make_shared<ServerMembers>(
            m_client, name, cube.name, hierarchy.uniqueName, std::move(ref.levels),
            dimension.dimensionType == MeasuresDimension);
    }

    // The default hierarchy of each dimension goes first, the others keep their order.
    for (const DimensionRef &ref : std::as_const(dimensionIndex)) {
        std::vector<HierarchyMeta> &list =
            meta->cubes[std::size_t(ref.cube)].dimensions[std::size_t(ref.dimension)].hierarchies;
        std::stable_partition(list.begin(), list.end(), [&](const HierarchyMeta &hierarchy) {
            return nameKey(hierarchy.uniqueName) == ref.defaultHierarchy;
        });
    }
    return meta;
}

} // namespace platform::olap::xmla
