#include "Control/core/MdxGen.h"

#include "platform/olap/Catalog.h"
#include "platform/olap/UniqueName.h"
#include "platform/runtime/Error.h"

namespace pelmora {

namespace {

using platform::olap::Hierarchy;
using platform::olap::Levels;
using platform::olap::Member;

const QString crlf = QStringLiteral("\r\n");

// Item 1 of the record's member list: the member its sets start from.
const QString &startMember(const OrderDim &record)
{
    if (record.padreLlave.isEmpty())
        throw platform::Error(QStringLiteral("Subscript out of range"));
    return record.padreLlave.first();
}

// The first level of the hierarchy, from the top, that holds a member whose unique name is
// exactly `uniqueName` (letter case included); 0 when none does. The hierarchy's index answers
// without reading every level's members; it ignores letter case, so a member it finds under
// another spelling sends the search through the levels one member at a time.
int levelHolding(const Hierarchy &hierarchy, const QString &uniqueName)
{
    const Levels levels = hierarchy.levels();
    const Member found = hierarchy.findMember(uniqueName);
    if (found.isNull())
        return 0;
    if (found.uniqueName() == uniqueName) {
        const int depth = found.levelDepth();
        for (int l = 0; l < levels.count(); ++l) {
            if (levels.item(l).depth() == depth)
                return l;
        }
    }
    for (int l = 0; l < levels.count(); ++l) {
        const platform::olap::Members members = levels.item(l).members();
        for (int m = 0; m < members.count(); ++m) {
            if (members.item(m).uniqueName() == uniqueName)
                return l;
        }
    }
    return 0;
}

// The set that the record's element type stands for.
QString elementSet(const LayoutState &layout, const CubeAccess &cube, int d)
{
    const OrderDim &record = orderDimAt(layout, d);
    const auto descendants = [&](int levels, const QString &flag) {
        QString text = QStringLiteral("Descendants(") + startMember(record) + QStringLiteral(", ")
                       + bringLevelName(layout, cube, d, levels);
        if (!flag.isEmpty())
            text += QStringLiteral(", ") + flag;
        return text + QLatin1Char(')');
    };
    switch (record.jerarquia) {
    case 0:
        return descendants(record.jerarquiaSalto, QStringLiteral("SELF_AND_BEFORE"));
    case 1:
        return QLatin1Char('{') + record.padreLlave.join(QStringLiteral(", ")) + QLatin1Char('}');
    case 2:
        return descendants(9999, QString());
    case 3:
        return descendants(9999, QStringLiteral("SELF_AND_BEFORE"));
    case 4:
        return QLatin1Char('{') + startMember(record) + QLatin1Char('}');
    case 5:
        return descendants(1, QStringLiteral("SELF"));
    case 6: {
        // The level of the records' own dimension, taken by its place in the cube.
        const platform::olap::Level top =
            cube().dimensions().item(d).hierarchies().item(0).levels().item(0);
        if (record.tipo == platform::olap::MeasuresDimension)
            return top.uniqueName() + QStringLiteral(".MEMBERS");
        return QStringLiteral("Descendants(") + top.members().item(0).uniqueName()
               + QStringLiteral(", ") + startMember(record) + QLatin1Char(')');
    }
    default:
        return QString();
    }
}

} // namespace

QString selectStatement(int columnCount, const QString &columnAxis, int rowCount,
                        const QString &rowAxis, const QString &cubeName, const QString &whereClause)
{
    QString s = QStringLiteral("SELECT ") + crlf;
    int nextAxis = 0;
    if (columnCount > 0) {
        s += columnAxis + QStringLiteral(" ON AXIS(0)");
        nextAxis = 1;
    }
    if (columnCount > 0 && rowCount > 0)
        s += QStringLiteral(", ") + crlf;
    if (rowCount > 0)
        s += rowAxis + QStringLiteral(" ON AXIS(") + QString::number(nextAxis) + QLatin1Char(')')
             + crlf;
    return s + QStringLiteral(" FROM ") + platform::olap::quoteName(cubeName) + crlf + whereClause;
}

QString genWhere(const LayoutState &layout)
{
    QString s;
    for (int i = 0; i < layout.NumDims; ++i) {
        const OrderDim &record = orderDimAt(layout, i);
        if (record.lugar != Slicer)
            continue;
        s +=
            (s.isEmpty() ? QStringLiteral(" WHERE (") : QStringLiteral(", ")) + startMember(record);
    }
    if (!s.isEmpty())
        s += QLatin1Char(')') + crlf;
    return s + crlf;
}

QString drillDown(const LayoutState &layout, int axis, const DimensionSet &dimensionSet)
{
    const int n = countOrderDims(layout, axis);
    QString s;
    if (!orderDimAt(layout, findOrderDim(layout, axis, 0)).vacio)
        s = QStringLiteral("NON EMPTY ");
    for (int k = 0; k < n; ++k) {
        const bool opener = k <= n - 2;
        if (opener)
            s += k == 0 ? QStringLiteral(" CROSSJOIN (") : QStringLiteral(", CROSSJOIN (");
        else if (k > 0)
            s += QStringLiteral(", ");
        s += dimensionSet(k);
    }
    if (n > 1)
        s += QString(n - 1, QLatin1Char(')'));
    return s;
}

QString drillDownDimension(const LayoutState &layout, const CubeAccess &cube, int axis,
                           int position)
{
    const int d = findOrderDim(layout, axis, position);
    const OrderDim &record = orderDimAt(layout, d);
    // An order without order fields would read "Order(set, ASC)", which no server accepts:
    // the set then keeps its own order.
    const bool ordered = record.ordenTipo != 0 && !record.ordenCampos.isEmpty();
    QString s;
    if (ordered)
        s += QStringLiteral("Order(");
    if (record.opcionTipo != 0) {
        s += record.opcionTipoReg != 0 ? QStringLiteral("Bottom") : QStringLiteral("Top");
        switch (record.opcionTipo) {
        case 1:
            s += QStringLiteral("Count(");
            break;
        case 2:
            s += QStringLiteral("Sum(");
            break;
        case 3:
            s += QStringLiteral("Percent(");
            break;
        default:
            break;
        }
    }
    s += elementSet(layout, cube, d);
    if (record.opcionTipo != 0) {
        s += QStringLiteral(", ") + QString::number(record.opcionValor) + QStringLiteral(", ")
             + record.opcionCampo + QLatin1Char(')');
    }
    if (ordered) {
        s += QStringLiteral(", (") + record.ordenCampos.join(QStringLiteral(", "))
             + QLatin1Char(')');
        switch (record.ordenTipo) {
        case 1:
            s += QStringLiteral(", ASC)");
            break;
        case 2:
            s += QStringLiteral(", DESC)");
            break;
        case 3:
            s += QStringLiteral(", BASC)");
            break;
        case 4:
            s += QStringLiteral(", BDESC)");
            break;
        default:
            break;
        }
    }
    return s;
}

QString bringLevelName(const LayoutState &layout, const CubeAccess &cube, int d, int n)
{
    const OrderDim &record = orderDimAt(layout, d);
    const platform::olap::Dimensions dimensions = cube().dimensions();
    for (int i = 0; i < dimensions.count(); ++i) {
        const platform::olap::Dimension dimension = dimensions.item(i);
        if (dimension.name() != record.nombre)
            continue;
        const Hierarchy hierarchy = dimension.hierarchies().item(0);
        const Levels levels = hierarchy.levels();
        const int last = levels.count() - 1;
        const int t = std::min(levelHolding(hierarchy, startMember(record)) + n, last);
        return levels.item(t).uniqueName();
    }
    return record.nombre;
}

} // namespace pelmora
