#pragma once

#include "Control/core/LayoutRecords.h"

#include <QString>

#include <functional>

namespace platform::olap {
class CubeDef;
}

// The MDX statement of a layout: every piece, blank and line break of the text the control
// sends. The functions throw platform::Error where the control's procedures report an error
// (a record index beyond the capacity, a record without a start member, a catalog object that
// is missing); the control's members of the same names trap and show them.
namespace pelmora {

// The open cube, fetched only when a piece of the statement needs it (level names, the first
// member of a level); throws platform::Error when there is no open cube.
using CubeAccess = std::function<platform::olap::CubeDef()>;

// The set of one dimension's element type, or of its ranking and order.
using DimensionSet = std::function<QString(int position)>;

// "SELECT " CRLF, the column axis as AXIS(0), the row axis as the next axis, " FROM [cube]"
// CRLF and the slicer clause. `columnAxis` and `rowAxis` are used only when the axis has
// records (columnCount, rowCount > 0). "]" in the cube name is written "]]".
QString selectStatement(int columnCount, const QString &columnAxis, int rowCount,
                        const QString &rowAxis, const QString &cubeName,
                        const QString &whereClause);

// " WHERE (" and the start member of every slicer record, in record order, then ")" CRLF;
// then CRLF. Without slicer records CRLF alone.
QString genWhere(const LayoutState &layout);

// The set of an axis (1 columns, 2 rows): its dimensions' sets, in position order, nested to
// the right in CROSSJOINs, "NON EMPTY " first when the axis's first record hides empty cells.
QString drillDown(const LayoutState &layout, int axis, const DimensionSet &dimensionSet);

// The set of the dimension at `position` of `axis`: its element type's set, wrapped in its
// ranking and its order.
QString drillDownDimension(const LayoutState &layout, const CubeAccess &cube, int axis,
                           int position);

// The unique name of the level `n` levels below the one that holds record d's start member
// (the deepest level when there are fewer), in the first hierarchy of the cube's dimension
// named like the record. A start member that no level holds counts as the top level; without
// such a dimension the answer is the record's dimension name.
QString bringLevelName(const LayoutState &layout, const CubeAccess &cube, int d, int n);

} // namespace pelmora
