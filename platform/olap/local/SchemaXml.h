#pragma once

#include <QString>

#include <utility>
#include <vector>

namespace platform::olap::local {

// A cube schema as read from the XML in a cube file: the element and attribute names of the
// Mondrian 3 schema, only the subset the local engine serves. Each element keeps its line for
// the errors found later, when the tables are read.

enum class LevelType { Regular, TimeYears, TimeQuarters, TimeMonths, TimeWeeks, TimeDays };
enum class KeyType { String, Numeric, Integer };
enum class Aggregator { Sum, Count, Min, Max, Avg, DistinctCount };

struct XmlLevel
{
    int line = 0;
    QString name;
    QString column;
    QString nameColumn;    // empty: the key column's value
    QString captionColumn; // empty: the name
    QString ordinalColumn; // empty: ordered by the key
    KeyType type = KeyType::String;
    bool uniqueMembers = false;
    LevelType levelType = LevelType::Regular;
};

struct XmlHierarchy
{
    int line = 0;
    QString name; // empty: the dimension's own hierarchy
    bool hasAll = true;
    QString allMemberName;
    QString allLevelName;
    QString primaryKey;
    QString table;
    int tableLine = 0;
    std::vector<XmlLevel> levels;
};

struct XmlDimension
{
    int line = 0;
    QString name;
    bool isTime = false;
    QString foreignKey;
    std::vector<XmlHierarchy> hierarchies;
};

struct XmlMeasure
{
    int line = 0;
    QString name;
    QString column;
    Aggregator aggregator = Aggregator::Sum;
    QString formatString;
};

struct XmlCalculatedMember
{
    int line = 0;
    QString name;
    QString dimension;
    QString formula;
    std::vector<std::pair<QString, QString>> properties; // CalculatedMemberProperty name, value
};

struct XmlCube
{
    int line = 0;
    QString name;
    QString table;
    int tableLine = 0;
    std::vector<XmlDimension> dimensions;
    std::vector<XmlMeasure> measures;
    std::vector<XmlCalculatedMember> calculatedMembers;
};

struct XmlSchema
{
    QString name;
    std::vector<XmlCube> cubes;
};

// Parses and checks the schema (names present and unique, values of enumerated attributes,
// every hierarchy with levels, time levels only in time dimensions). Throws platform::Error
// whose description starts "schema line L, column C: " or "schema line L: ".
XmlSchema parseSchemaXml(const QString &xml);

QString aggregatorName(Aggregator aggregator);

} // namespace platform::olap::local
