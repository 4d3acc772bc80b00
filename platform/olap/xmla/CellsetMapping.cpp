#include "platform/olap/xmla/CellsetMapping.h"

#include "platform/olap/UniqueName.h"
#include "platform/runtime/Error.h"

#include <QLocale>

namespace platform::olap::xmla {

namespace {

// Servers name the hierarchies of OlapInfo by name ("Product") or by unique name.
QString hierarchyUniqueName(const QString &name)
{
    return name.startsWith(u'[') ? name : quoteName(name);
}

QString memberName(const AxisMember &member)
{
    QStringList names;
    if (splitUniqueName(member.uniqueName, names) && names.size() > 1)
        return names.last();
    return member.caption;
}

CellsetData::Axis mapAxis(const Axis &axis)
{
    CellsetData::Axis out;
    out.name = axis.name;
    for (const QString &hierarchy : axis.hierarchies)
        out.hierarchies << hierarchyUniqueName(hierarchy);
    out.positionCount = axis.tupleCount;
    const std::size_t width = std::size_t(axis.hierarchies.size());
    out.members.reserve(axis.members.size());
    for (std::size_t i = 0; i < axis.members.size(); ++i) {
        const AxisMember &member = axis.members[i];
        // Cross joins repeat the outer members: share what the previous tuple made.
        if (i >= width && axis.members[i - width].uniqueName == member.uniqueName
            && axis.members[i - width].caption == member.caption) {
            CellsetData::Member repeated = out.members[i - width];
            repeated.levelUniqueName = member.levelUniqueName;
            repeated.levelDepth = member.levelNumber;
            out.members.push_back(std::move(repeated));
            continue;
        }
        out.members.push_back({member.uniqueName, memberName(member), member.caption,
                               member.levelUniqueName, member.levelNumber});
    }
    return out;
}

// The reply's value as the object model holds it: numbers as double, errors as text.
void setValue(CellsetData &cells, qint64 ordinal, CellValueKind kind, const QVariant &value)
{
    switch (kind) {
    case CellValueKind::Empty:
        break;
    case CellValueKind::Double:
    case CellValueKind::Integer:
        cells.setNumber(ordinal, value.toDouble());
        break;
    case CellValueKind::Boolean:
        cells.setBoolean(ordinal, value.toBool());
        break;
    case CellValueKind::String:
        cells.setString(ordinal, value.toString());
        break;
    case CellValueKind::Error:
        cells.setError(ordinal, value.toString());
        break;
    }
}

} // namespace

CellsetData cellsetFromReply(const CellSetData &reply, qint64 maxCells)
{
    if (reply.cellCount() > maxCells) {
        throw Error(
            QStringLiteral("The result has %1 cells, more than the %2 a cell set may "
                           "hold; ask for fewer members on the axes")
                .arg(QLocale::c().toString(reply.cellCount()), QLocale::c().toString(maxCells)));
    }
    CellsetData cells;
    for (const Axis &axis : reply.axes())
        cells.axes.push_back(mapAxis(axis));
    cells.slicer = mapAxis(reply.slicer());
    cells.slicer.name = QStringLiteral("SlicerAxis");
    cells.cellProperties.clear();
    for (const QString &name : reply.cellProperties())
        cells.cellProperties << name.toUpper();
    cells.resizeCells(reply.cellCount());

    const int value = reply.cellPropertyIndex(u"VALUE");
    const int formatted = reply.cellPropertyIndex(u"FORMATTED_VALUE");
    const int styleProperties[] = {
        reply.cellPropertyIndex(u"FORMAT_STRING"), reply.cellPropertyIndex(u"FORE_COLOR"),
        reply.cellPropertyIndex(u"BACK_COLOR"),    reply.cellPropertyIndex(u"FONT_NAME"),
        reply.cellPropertyIndex(u"FONT_SIZE"),     reply.cellPropertyIndex(u"FONT_FLAGS"),
    };
    bool styled = false;
    for (int property : styleProperties)
        styled = styled || property >= 0;

    CellsetData::Style previous;
    std::uint32_t previousIndex = 0;
    for (const qint64 ordinal : reply.heldCells()) {
        const QString error = reply.error(ordinal);
        if (!error.isEmpty()) {
            cells.setError(ordinal, error);
        } else {
            setValue(cells, ordinal, reply.propertyKind(ordinal, value),
                     reply.property(ordinal, value));
            if (reply.propertyKind(ordinal, formatted) != CellValueKind::Empty)
                cells.setFormattedValue(ordinal, reply.formattedValue(ordinal));
        }
        if (!styled)
            continue;
        CellsetData::Style style;
        QVariant *fields[] = {&style.formatString, &style.foreColor, &style.backColor,
                              &style.fontName,     &style.fontSize,  &style.fontFlags};
        for (std::size_t i = 0; i < std::size(fields); ++i)
            *fields[i] = reply.property(ordinal, styleProperties[i]);
        if (!(style == previous)) {
            previous = style;
            previousIndex = cells.addStyle(style);
        }
        cells.setStyle(ordinal, previousIndex);
    }
    return cells;
}

} // namespace platform::olap::xmla
