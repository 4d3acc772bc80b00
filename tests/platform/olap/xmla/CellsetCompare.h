#pragma once

// Comparing a cell set of the Mondrian server with the local engine's for the same statement:
// the same axes, members, cells and formatting.
#include "platform/olap/Cellset.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <algorithm>
#include <cmath>

namespace xmlatest {

using namespace platform::olap;

inline QStringList describe(const CellsetAxis &axis)
{
    QStringList out{QString::number(axis.dimensionCount())};
    const Positions positions = axis.positions();
    for (int p = 0; p < positions.count(); ++p) {
        const PositionMembers members = positions.item(p).members();
        for (int m = 0; m < members.count(); ++m) {
            const CellsetMember member = members.item(m);
            out << QStringLiteral("%1|%2|%3|%4|%5")
                       .arg(member.uniqueName(), member.name(), member.caption(),
                            member.levelUniqueName())
                       .arg(member.levelDepth());
        }
    }
    return out;
}

// Sorted: the engines may declare them in different orders.
inline QStringList propertyNames(const Cell &cell)
{
    QStringList names;
    const CellProperties properties = cell.properties();
    for (int i = 0; i < properties.count(); ++i)
        names << properties.item(i).name().toUpper();
    names.sort();
    return names;
}

// Values agree to a relative 1e-9: the engines sum in different orders.
inline bool sameValue(const QVariant &a, const QVariant &b)
{
    if (a.typeId() == QMetaType::Double && b.typeId() == QMetaType::Double) {
        const double x = a.toDouble();
        const double y = b.toDouble();
        return x == y || std::fabs(x - y) <= 1e-9 * std::max(std::fabs(x), std::fabs(y));
    }
    return a.isValid() == b.isValid() && a.typeId() == b.typeId() && a == b;
}

inline void expectSame(const Cellset &server, const Cellset &local, bool compareFormatting = true)
{
    const CellsetAxes serverAxes = server.axes();
    const CellsetAxes localAxes = local.axes();
    ASSERT_EQ(serverAxes.count(), localAxes.count());
    for (int a = 0; a < localAxes.count(); ++a) {
        EXPECT_EQ(serverAxes.item(a).name(), localAxes.item(a).name());
        EXPECT_EQ(describe(serverAxes.item(a)), describe(localAxes.item(a))) << "axis " << a;
    }
    EXPECT_EQ(describe(server.filterAxis()), describe(local.filterAxis()));
    ASSERT_EQ(server.cellCount(), local.cellCount());
    for (qint64 ordinal = 0; ordinal < local.cellCount(); ++ordinal) {
        const Cell s = server.item(ordinal);
        const Cell l = local.item(ordinal);
        EXPECT_TRUE(sameValue(s.value(), l.value()))
            << ordinal << ": " << s.value().toString().toStdString() << " vs "
            << l.value().toString().toStdString();
        EXPECT_EQ(propertyNames(s), propertyNames(l)) << ordinal;
        if (!compareFormatting)
            continue;
        EXPECT_EQ(s.formattedValue(), l.formattedValue()) << ordinal;
        // Mondrian leaves empty cells out of its reply, so they carry no format string.
        if (l.properties().contains(QStringLiteral("FORMAT_STRING")) && l.value().isValid()) {
            EXPECT_EQ(s.properties().item(QStringLiteral("FORMAT_STRING")).value(),
                      l.properties().item(QStringLiteral("FORMAT_STRING")).value())
                << ordinal;
        }
    }
}

} // namespace xmlatest
