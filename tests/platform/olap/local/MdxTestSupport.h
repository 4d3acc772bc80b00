#pragma once

// Compact texts of a cell set's axes and cells, for tables of expected results.

#include "platform/olap/CellsetData.h"

#include <QStringList>

#include <string>

namespace mdx_test {

// The positions of an axis: the members of a tuple joined by "*", the tuples by ", "; each
// member by name, or by unique name.
inline std::string positions(const platform::olap::CellsetData &data, int axis, bool unique = false)
{
    const platform::olap::CellsetData::Axis &a =
        axis < 0 ? data.slicer : data.axes[std::size_t(axis)];
    QStringList tuples;
    for (int p = 0; p < a.positionCount; ++p) {
        QStringList members;
        for (int m = 0; m < a.dimensionCount(); ++m)
            members.append(unique ? a.member(p, m).uniqueName : a.member(p, m).name);
        tuples.append(members.join(QLatin1Char('*')));
    }
    return tuples.join(QStringLiteral(", ")).toStdString();
}

inline QString valueText(const platform::olap::CellsetData &data, qint64 ordinal)
{
    const QVariant v = data.value(ordinal);
    if (!v.isValid())
        return QStringLiteral("-");
    if (v.typeId() == QMetaType::Double)
        return QString::number(v.toDouble(), 'g', 12);
    return v.toString();
}

// The cells' values ("-" when empty), axis 0 varying fastest: a row's cells joined by " ",
// rows (positions of axis 1) by " / ".
inline std::string values(const platform::olap::CellsetData &data, bool formatted = false)
{
    const qint64 width = data.axes.empty() ? 1 : data.axes[0].positionCount;
    QStringList rows;
    QStringList row;
    for (qint64 c = 0; c < data.cellCount(); ++c) {
        row.append(formatted ? QLatin1Char('"') + data.formattedValue(c) + QLatin1Char('"')
                             : valueText(data, c));
        if ((c + 1) % width == 0) {
            rows.append(row.join(QLatin1Char(' ')));
            row.clear();
        }
    }
    return rows.join(QStringLiteral(" / ")).toStdString();
}

} // namespace mdx_test
