#pragma once

#include "platform/grid/FlexGrid.h"

#include <QStringList>

namespace controltest {

// Every row of a grid, its cells joined by "|".
inline QStringList gridRows(const platform::grid::FlexGrid &grid)
{
    QStringList rows;
    for (int r = 0; r < grid.rows(); ++r) {
        QStringList cells;
        for (int c = 0; c < grid.cols(); ++c)
            cells.append(grid.textMatrix(r, c));
        rows.append(cells.join(u'|'));
    }
    return rows;
}

} // namespace controltest
