#pragma once

#include "platform/olap/Connection.h"
#include "platform/olap/Metadata.h"

#include <QString>
#include <QVariant>

#include <memory>
#include <optional>

namespace platform::olap {

// The catalog's objects are light handles over the provider's metadata: each keeps what it
// points into alive, so an object obtained from a catalog stays valid as long as it is held.
// Collections have count() and 0-based item(i); a bad index throws platform::Error.

class Members;

class Member
{
public:
    Member() = default; // the empty member ("Nothing"), e.g. the parent of a top member

    bool isNull() const { return !m_hierarchy; }
    // Each accessor throws platform::Error on the empty member.
    QString name() const;
    QString uniqueName() const;
    QString caption() const;
    int levelDepth() const;
    Member parent() const; // empty for a member of the top level
    int childCount() const;
    Members children() const;

    bool operator==(const Member &other) const
    {
        return m_hierarchy == other.m_hierarchy && m_id == other.m_id;
    }

private:
    friend class Members;
    friend class Hierarchy;
    Member(std::shared_ptr<const HierarchyMeta> hierarchy, int id)
        : m_hierarchy(std::move(hierarchy)), m_id(id)
    {}
    const MemberSource &source() const;

    std::shared_ptr<const HierarchyMeta> m_hierarchy;
    int m_id = -1;
};

// The members of a level, or the children of a member; items are made on demand.
class Members
{
public:
    int count() const;
    Member item(int index) const;

private:
    friend class Member;
    friend class Level;
    Members(std::shared_ptr<const HierarchyMeta> hierarchy, int level, int parent)
        : m_hierarchy(std::move(hierarchy)), m_level(level), m_parent(parent)
    {}

    std::shared_ptr<const HierarchyMeta> m_hierarchy;
    int m_level;  // >= 0: the members of this level
    int m_parent; // else: the children of this member
};

class Level
{
public:
    QString name() const;
    QString uniqueName() const;
    int depth() const;
    Members members() const;

private:
    friend class Levels;
    Level(std::shared_ptr<const HierarchyMeta> hierarchy, int level)
        : m_hierarchy(std::move(hierarchy)), m_level(level)
    {}

    std::shared_ptr<const HierarchyMeta> m_hierarchy;
    int m_level;
};

class Levels
{
public:
    int count() const;
    Level item(int index) const;

private:
    friend class Hierarchy;
    explicit Levels(std::shared_ptr<const HierarchyMeta> hierarchy)
        : m_hierarchy(std::move(hierarchy))
    {}

    std::shared_ptr<const HierarchyMeta> m_hierarchy;
};

class Hierarchy
{
public:
    QString name() const;
    QString uniqueName() const;
    Levels levels() const;
    // The member with this unique name (case-insensitive, "[...]" quoting with "]]"), or the
    // empty member.
    Member findMember(const QString &uniqueName) const;

private:
    friend class Hierarchies;
    friend class CubeDef;
    explicit Hierarchy(std::shared_ptr<const HierarchyMeta> hierarchy)
        : m_hierarchy(std::move(hierarchy))
    {}

    std::shared_ptr<const HierarchyMeta> m_hierarchy;
};

class Hierarchies
{
public:
    int count() const;
    Hierarchy item(int index) const;

private:
    friend class Dimension;
    explicit Hierarchies(std::shared_ptr<const DimensionMeta> dimension)
        : m_dimension(std::move(dimension))
    {}

    std::shared_ptr<const DimensionMeta> m_dimension;
};

class Property
{
public:
    Property(QString name, QVariant value) : m_name(std::move(name)), m_value(std::move(value)) {}

    QString name() const { return m_name; }
    QVariant value() const { return m_value; }

private:
    QString m_name;
    QVariant m_value;
};

class Dimension
{
public:
    QString name() const;
    QString uniqueName() const;
    // "DIMENSION_TYPE" (1 time, 2 measures, 3 other), the name without regard to case. Throws
    // platform::Error for any other name.
    Property properties(const QString &name) const;
    Hierarchies hierarchies() const;

private:
    friend class Dimensions;
    explicit Dimension(std::shared_ptr<const DimensionMeta> dimension)
        : m_dimension(std::move(dimension))
    {}

    std::shared_ptr<const DimensionMeta> m_dimension;
};

class Dimensions
{
public:
    int count() const;
    Dimension item(int index) const;

private:
    friend class CubeDef;
    explicit Dimensions(std::shared_ptr<const CubeMeta> cube) : m_cube(std::move(cube)) {}

    std::shared_ptr<const CubeMeta> m_cube;
};

class CubeDef
{
public:
    QString name() const;
    Dimensions dimensions() const;
    // The member of any of the cube's hierarchies with this unique name, or the empty member.
    Member findMember(const QString &uniqueName) const;

private:
    friend class CubeDefs;
    explicit CubeDef(std::shared_ptr<const CubeMeta> cube) : m_cube(std::move(cube)) {}

    std::shared_ptr<const CubeMeta> m_cube;
};

class CubeDefs
{
public:
    int count() const;
    CubeDef item(int index) const;

private:
    friend class Catalog;
    explicit CubeDefs(std::shared_ptr<const CatalogMeta> catalog) : m_catalog(std::move(catalog)) {}

    std::shared_ptr<const CatalogMeta> m_catalog;
};

class Catalog
{
public:
    // Takes the connection's catalog; throws platform::Error when the connection is closed.
    void setActiveConnection(const Connection &connection);
    Connection activeConnection() const; // throws platform::Error when none was set
    // Binds the active connection to the catalog of this name (without regard to case), or to
    // its first catalog when the source has none of that name, and takes that catalog; the
    // connection's statements then run in it. A cube file's one catalog answers any name.
    // Throws platform::Error when there is no active connection or it is closed.
    void bindCatalog(const QString &name);
    QString name() const;
    CubeDefs cubeDefs() const;

private:
    const CatalogMeta &meta() const;

    std::optional<Connection> m_connection;
    std::shared_ptr<const CatalogMeta> m_catalog;
};

} // namespace platform::olap
