#include "platform/olap/local/SchemaXml.h"

#include "platform/runtime/Error.h"

#include <QSet>
#include <QXmlStreamReader>

namespace platform::olap::local {

namespace {

[[noreturn]] void fail(int line, const QString &message)
{
    throw Error(QStringLiteral("schema line %1: %2").arg(line).arg(message));
}

class Parser
{
public:
    explicit Parser(const QString &xml) : m_xml(xml) {}

    XmlSchema parse()
    {
        XmlSchema schema;
        if (!nextStart())
            failXml(QStringLiteral("the schema XML has no root element"));
        if (m_xml.name() != QLatin1String("Schema")) {
            fail(line(), QStringLiteral("the root element is <%1>; a cube schema starts with "
                                        "<Schema>")
                             .arg(m_xml.name()));
        }
        schema.name = required(QStringLiteral("name"));
        while (nextChild()) {
            if (m_xml.name() == QLatin1String("Cube"))
                schema.cubes.push_back(cube());
            else
                other();
        }
        // Anything after the root element must still be well formed.
        while (!m_xml.atEnd())
            m_xml.readNext();
        checkXml();
        if (schema.cubes.empty())
            fail(1, QStringLiteral("the schema \"%1\" defines no cube").arg(schema.name));
        return schema;
    }

private:
    int line() const { return int(m_xml.lineNumber()); }

    [[noreturn]] void failXml(const QString &fallback)
    {
        throw Error(QStringLiteral("schema XML line %1, column %2: %3")
                        .arg(m_xml.lineNumber())
                        .arg(m_xml.columnNumber())
                        .arg(m_xml.hasError() ? m_xml.errorString() : fallback));
    }

    void checkXml()
    {
        if (m_xml.hasError())
            failXml(QString());
    }

    // Moves to the next start element of the document; false at its end.
    bool nextStart()
    {
        while (!m_xml.atEnd()) {
            if (m_xml.readNext() == QXmlStreamReader::StartElement)
                return true;
        }
        checkXml();
        return false;
    }

    // Moves to the next child element of the current element; false at its end tag.
    bool nextChild()
    {
        const bool found = m_xml.readNextStartElement();
        checkXml();
        return found;
    }

    // Skips an element the engine ignores, refuses one that would change the cube.
    void other()
    {
        const QString name = m_xml.name().toString();
        if (name == QLatin1String("Annotations") || name == QLatin1String("Property")) {
            m_xml.skipCurrentElement();
            checkXml();
            return;
        }
        fail(line(), QStringLiteral("<%1> is not supported in cube files").arg(name));
    }

    QString attribute(const QString &name) const
    {
        return m_xml.attributes().value(name).toString();
    }

    QString required(const QString &name)
    {
        const QString value = attribute(name).trimmed();
        if (value.isEmpty()) {
            fail(line(),
                 QStringLiteral("<%1> needs the attribute %2").arg(m_xml.name().toString(), name));
        }
        return value;
    }

    void refuseAttribute(const QString &name, const QString &allowed = QString())
    {
        const QString value = attribute(name);
        if (!value.isEmpty() && value != allowed) {
            fail(line(), QStringLiteral("the attribute %1 of <%2> is not supported in cube "
                                        "files")
                             .arg(name, m_xml.name().toString()));
        }
    }

    bool boolean(const QString &name, bool fallback)
    {
        const QString value = attribute(name).trimmed();
        if (value.isEmpty())
            return fallback;
        if (value.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
            return true;
        if (value.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
            return false;
        fail(line(), QStringLiteral("%1=\"%2\" must be true or false").arg(name, value));
    }

    template <typename T>
    T choice(const QString &name, T fallback,
             std::initializer_list<std::pair<const char *, T>> choices)
    {
        const QString value = attribute(name).trimmed();
        if (value.isEmpty())
            return fallback;
        QStringList names;
        for (const auto &[text, result] : choices) {
            if (value == QLatin1String(text))
                return result;
            names << QLatin1String(text);
        }
        fail(line(),
             QStringLiteral("%1=\"%2\" of <%3> must be one of %4")
                 .arg(name, value, m_xml.name().toString(), names.join(QStringLiteral(", "))));
    }

    QString table()
    {
        refuseAttribute(QStringLiteral("schema"), QStringLiteral("main"));
        const QString name = required(QStringLiteral("name"));
        while (nextChild())
            other();
        return name;
    }

    XmlCube cube()
    {
        XmlCube cube;
        cube.line = line();
        cube.name = required(QStringLiteral("name"));
        while (nextChild()) {
            const auto name = m_xml.name();
            if (name == QLatin1String("Table")) {
                if (!cube.table.isEmpty())
                    fail(line(), QStringLiteral("cube \"%1\" has two tables").arg(cube.name));
                cube.tableLine = line();
                cube.table = table();
            } else if (name == QLatin1String("Dimension")) {
                cube.dimensions.push_back(dimension());
            } else if (name == QLatin1String("Measure")) {
                cube.measures.push_back(measure());
            } else if (name == QLatin1String("CalculatedMember")) {
                cube.calculatedMembers.push_back(calculatedMember());
            } else {
                other();
            }
        }
        if (cube.table.isEmpty())
            fail(cube.line, QStringLiteral("cube \"%1\" has no <Table>").arg(cube.name));
        if (cube.measures.empty())
            fail(cube.line, QStringLiteral("cube \"%1\" has no measure").arg(cube.name));
        QSet<QString> names;
        for (const XmlDimension &dimension : cube.dimensions) {
            if (dimension.name.compare(QLatin1String("Measures"), Qt::CaseInsensitive) == 0) {
                fail(dimension.line,
                     QStringLiteral("\"Measures\" is the name of the measures dimension"));
            }
            if (!insertName(names, dimension.name)) {
                fail(dimension.line, QStringLiteral("cube \"%1\" has two dimensions named "
                                                    "\"%2\"")
                                         .arg(cube.name, dimension.name));
            }
        }
        names.clear();
        for (const XmlMeasure &measure : cube.measures) {
            if (!insertName(names, measure.name)) {
                fail(measure.line, QStringLiteral("cube \"%1\" has two measures named \"%2\"")
                                       .arg(cube.name, measure.name));
            }
        }
        return cube;
    }

    static bool insertName(QSet<QString> &names, const QString &name)
    {
        const QString folded = name.toCaseFolded();
        if (names.contains(folded))
            return false;
        names.insert(folded);
        return true;
    }

    XmlDimension dimension()
    {
        XmlDimension dimension;
        dimension.line = line();
        dimension.name = required(QStringLiteral("name"));
        dimension.isTime = choice(QStringLiteral("type"), false,
                                  {{"StandardDimension", false}, {"TimeDimension", true}});
        dimension.foreignKey = attribute(QStringLiteral("foreignKey")).trimmed();
        if (dimension.foreignKey.isEmpty()) {
            fail(line(), QStringLiteral("dimension \"%1\" needs the attribute foreignKey")
                             .arg(dimension.name));
        }
        while (nextChild()) {
            if (m_xml.name() == QLatin1String("Hierarchy"))
                dimension.hierarchies.push_back(hierarchy(dimension));
            else
                other();
        }
        if (dimension.hierarchies.empty()) {
            fail(dimension.line, QStringLiteral("dimension \"%1\" has no hierarchy and so no "
                                                "levels")
                                     .arg(dimension.name));
        }
        QSet<QString> names;
        for (const XmlHierarchy &hierarchy : dimension.hierarchies) {
            const QString name = hierarchy.name.isEmpty() ? dimension.name : hierarchy.name;
            if (!insertName(names, name)) {
                fail(hierarchy.line, QStringLiteral("dimension \"%1\" has two hierarchies named "
                                                    "\"%2\"")
                                         .arg(dimension.name, name));
            }
        }
        return dimension;
    }

    XmlHierarchy hierarchy(const XmlDimension &dimension)
    {
        XmlHierarchy hierarchy;
        hierarchy.line = line();
        hierarchy.name = attribute(QStringLiteral("name")).trimmed();
        hierarchy.hasAll = boolean(QStringLiteral("hasAll"), true);
        hierarchy.allMemberName = attribute(QStringLiteral("allMemberName")).trimmed();
        hierarchy.allLevelName = attribute(QStringLiteral("allLevelName")).trimmed();
        hierarchy.primaryKey = attribute(QStringLiteral("primaryKey")).trimmed();
        refuseAttribute(QStringLiteral("primaryKeyTable"));
        refuseAttribute(QStringLiteral("defaultMember"));
        if (hierarchy.primaryKey.isEmpty()) {
            fail(line(), QStringLiteral("a hierarchy of dimension \"%1\" needs the attribute "
                                        "primaryKey")
                             .arg(dimension.name));
        }
        while (nextChild()) {
            const auto name = m_xml.name();
            if (name == QLatin1String("Table")) {
                if (!hierarchy.table.isEmpty()) {
                    fail(line(), QStringLiteral("a hierarchy of dimension \"%1\" has two tables")
                                     .arg(dimension.name));
                }
                hierarchy.tableLine = line();
                hierarchy.table = table();
            } else if (name == QLatin1String("Level")) {
                hierarchy.levels.push_back(level(dimension));
            } else {
                other();
            }
        }
        if (hierarchy.table.isEmpty()) {
            fail(hierarchy.line, QStringLiteral("a hierarchy of dimension \"%1\" has no <Table> "
                                                "(cube files need a table per dimension)")
                                     .arg(dimension.name));
        }
        if (hierarchy.levels.empty()) {
            fail(hierarchy.line, QStringLiteral("a hierarchy of dimension \"%1\" has no levels")
                                     .arg(dimension.name));
        }
        QSet<QString> names;
        if (hierarchy.hasAll) {
            names.insert((hierarchy.allLevelName.isEmpty() ? QStringLiteral("(All)")
                                                           : hierarchy.allLevelName)
                             .toCaseFolded());
        }
        for (const XmlLevel &level : hierarchy.levels) {
            if (!insertName(names, level.name)) {
                fail(level.line, QStringLiteral("dimension \"%1\" has two levels named \"%2\"")
                                     .arg(dimension.name, level.name));
            }
        }
        return hierarchy;
    }

    XmlLevel level(const XmlDimension &dimension)
    {
        XmlLevel level;
        level.line = line();
        level.name = required(QStringLiteral("name"));
        refuseAttribute(QStringLiteral("table"));
        refuseAttribute(QStringLiteral("hideMemberIf"), QStringLiteral("Never"));
        level.column = attribute(QStringLiteral("column")).trimmed();
        if (level.column.isEmpty())
            fail(line(), QStringLiteral("level \"%1\" needs the attribute column").arg(level.name));
        level.nameColumn = attribute(QStringLiteral("nameColumn")).trimmed();
        level.captionColumn = attribute(QStringLiteral("captionColumn")).trimmed();
        level.ordinalColumn = attribute(QStringLiteral("ordinalColumn")).trimmed();
        level.type = choice(QStringLiteral("type"), KeyType::String,
                            {{"String", KeyType::String},
                             {"Numeric", KeyType::Numeric},
                             {"Integer", KeyType::Integer}});
        level.uniqueMembers = boolean(QStringLiteral("uniqueMembers"), false);
        level.levelType = choice(QStringLiteral("levelType"), LevelType::Regular,
                                 {{"Regular", LevelType::Regular},
                                  {"TimeYears", LevelType::TimeYears},
                                  {"TimeQuarters", LevelType::TimeQuarters},
                                  {"TimeMonths", LevelType::TimeMonths},
                                  {"TimeWeeks", LevelType::TimeWeeks},
                                  {"TimeDays", LevelType::TimeDays}});
        if (dimension.isTime && level.levelType == LevelType::Regular) {
            fail(line(), QStringLiteral("level \"%1\" of the time dimension \"%2\" needs a time "
                                        "levelType (TimeYears, TimeQuarters, TimeMonths, "
                                        "TimeWeeks or TimeDays)")
                             .arg(level.name, dimension.name));
        }
        if (!dimension.isTime && level.levelType != LevelType::Regular) {
            fail(line(), QStringLiteral("level \"%1\" has a time levelType but dimension \"%2\" "
                                        "is not a TimeDimension")
                             .arg(level.name, dimension.name));
        }
        while (nextChild())
            other();
        return level;
    }

    XmlMeasure measure()
    {
        XmlMeasure measure;
        measure.line = line();
        measure.name = required(QStringLiteral("name"));
        measure.column = attribute(QStringLiteral("column")).trimmed();
        if (measure.column.isEmpty()) {
            fail(line(),
                 QStringLiteral("measure \"%1\" needs the attribute column").arg(measure.name));
        }
        if (attribute(QStringLiteral("aggregator")).trimmed().isEmpty()) {
            fail(line(),
                 QStringLiteral("measure \"%1\" needs the attribute aggregator").arg(measure.name));
        }
        measure.aggregator = choice(QStringLiteral("aggregator"), Aggregator::Sum,
                                    {{"sum", Aggregator::Sum},
                                     {"count", Aggregator::Count},
                                     {"min", Aggregator::Min},
                                     {"max", Aggregator::Max},
                                     {"avg", Aggregator::Avg},
                                     {"distinct-count", Aggregator::DistinctCount}});
        measure.formatString = attribute(QStringLiteral("formatString"));
        while (nextChild())
            other();
        return measure;
    }

    XmlCalculatedMember calculatedMember()
    {
        XmlCalculatedMember member;
        member.line = line();
        member.name = required(QStringLiteral("name"));
        member.dimension = required(QStringLiteral("dimension"));
        member.formula = attribute(QStringLiteral("formula")).trimmed();
        while (nextChild()) {
            const auto name = m_xml.name();
            if (name == QLatin1String("Formula")) {
                member.formula = m_xml.readElementText().trimmed();
                checkXml();
            } else if (name == QLatin1String("CalculatedMemberProperty")) {
                const QString property = required(QStringLiteral("name"));
                const QString value = required(QStringLiteral("value"));
                member.properties.emplace_back(property, value);
                while (nextChild())
                    other();
            } else {
                other();
            }
        }
        if (member.formula.isEmpty()) {
            fail(member.line,
                 QStringLiteral("calculated member \"%1\" has no formula").arg(member.name));
        }
        return member;
    }

    QXmlStreamReader m_xml;
};

} // namespace

XmlSchema parseSchemaXml(const QString &xml)
{
    return Parser(xml).parse();
}

QString aggregatorName(Aggregator aggregator)
{
    switch (aggregator) {
    case Aggregator::Sum:
        return QStringLiteral("sum");
    case Aggregator::Count:
        return QStringLiteral("count");
    case Aggregator::Min:
        return QStringLiteral("min");
    case Aggregator::Max:
        return QStringLiteral("max");
    case Aggregator::Avg:
        return QStringLiteral("avg");
    case Aggregator::DistinctCount:
        return QStringLiteral("distinct-count");
    }
    return QString();
}

} // namespace platform::olap::local
