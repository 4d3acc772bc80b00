#pragma once

#include "Control/core/LayoutRecords.h"

#include <QStringList>

#include <array>

// The layout dialog's three lists of dimension names (the header, the columns, the rows) made
// from the layout records, and written back into them.
namespace pelmora {

// Indexed by place: Slicer, Columns, Rows.
using AxisLists = std::array<QStringList, 3>;

// Each record's name (`names[i]` for record i) in the list of its place, in the order of the
// records' positions there (records that share a position in record order).
AxisLists axisListsOf(const LayoutState &layout, const QStringList &names);

// For item k of each list, the first record of that name takes the list's place and position
// k. A record that changes place to the header gets element type 7 and one that leaves the
// header 0 (its start member alone); any other record keeps its element type, so confirming
// the lists unchanged changes nothing. Items that name no record are skipped.
void applyAxisLists(LayoutState &layout, const AxisLists &lists);

} // namespace pelmora
