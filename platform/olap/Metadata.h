#pragma once

#include <QString>
#include <QStringView>

#include <memory>
#include <vector>

namespace platform::olap {

// Values of the dimension property "DIMENSION_TYPE".
enum DimensionType { TimeDimension = 1, MeasuresDimension = 2, OtherDimension = 3 };

// The members of one hierarchy as a provider serves them, addressed by a member id that stays
// valid as long as the source lives. A remote provider may fetch on first use; the local one
// holds everything in memory.
class MemberSource
{
public:
    virtual ~MemberSource() = default;

    virtual int levelMemberCount(int level) const = 0;
    virtual int levelMember(int level, int index) const = 0;
    virtual QString memberName(int id) const = 0;
    virtual QString memberCaption(int id) const = 0;
    virtual QString memberUniqueName(int id) const = 0;
    virtual int memberLevel(int id) const = 0;
    virtual int memberParent(int id) const = 0; // -1 for a member of the top level
    virtual int memberChildCount(int id) const = 0;
    virtual int memberChild(int id, int index) const = 0;
    // Case-insensitive, quoting as in splitUniqueName(); -1 when no member has that name.
    virtual int findMember(QStringView uniqueName) const = 0;
};

struct LevelMeta
{
    QString name;
    QString uniqueName;
    int depth = 0;
};

struct HierarchyMeta
{
    QString name;
    QString uniqueName;
    std::vector<LevelMeta> levels; // 0 is the top level
    std::shared_ptr<const MemberSource> members;
};

struct DimensionMeta
{
    QString name;
    QString uniqueName;
    int dimensionType = OtherDimension;
    std::vector<HierarchyMeta> hierarchies; // 0 is the default hierarchy
};

struct CubeMeta
{
    QString name;
    std::vector<DimensionMeta> dimensions; // the measures dimension first
};

// What a catalog shows: built once by the provider, then only read.
struct CatalogMeta
{
    QString name;
    std::vector<CubeMeta> cubes;
};

} // namespace platform::olap
