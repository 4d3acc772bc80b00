#include "Control/core/GestureRules.h"

#include "platform/runtime/Error.h"

namespace pelmora {

GridAxes gridAxes(const LayoutState &layout)
{
    const int c = countOrderDims(layout, Columns);
    const int r = countOrderDims(layout, Rows);
    // Rows without columns are the statement's first axis, which the grid paints across the
    // top as it would paint columns.
    if (c == 0 && r > 0)
        return GridAxes{Rows, r, 0};
    return GridAxes{Columns, c, r};
}

GridHit gridHit(const LayoutState &layout, int row, int col)
{
    const GridAxes axes = gridAxes(layout);
    const int h1 = axes.h1;
    const int h2 = axes.h2;
    GridHit hit;
    // The regions are tested in this order; the first that holds decides.
    if (row < h1 && col < h2) {
        hit.region = GridRegion::Corner;
    } else if (row == h1 && col < h2) {
        hit.region = GridRegion::SideTitle;
        hit.place = Rows;
        hit.position = col;
    } else if (row == 0 && col < h1 + h2) {
        hit.region = GridRegion::TopTitle;
        hit.place = axes.topPlace;
        hit.position = col - h2;
    } else if (row >= 1 && row <= h1) {
        hit.region = GridRegion::TopHeader;
        hit.place = axes.topPlace;
        hit.position = row - 1;
        hit.cellsetAxis = 0;
        hit.cellsetPosition = col - h2;
        hit.member = row - 1;
        hit.firstPosition = col == h2;
    } else if (row > h1 && col < h2) {
        hit.region = GridRegion::SideHeader;
        hit.place = Rows;
        hit.position = col;
        hit.cellsetAxis = 1;
        hit.cellsetPosition = row - h1 - 1;
        hit.member = col;
        hit.firstPosition = row == h1 + 1;
    }
    return hit;
}

platform::olap::CellsetMember headerMember(const std::optional<platform::olap::Cellset> &cellset,
                                           const GridHit &hit)
{
    if (!cellset)
        throw platform::Error(QStringLiteral("The cell set is not open"));
    return cellset->axes()
        .item(hit.cellsetAxis)
        .positions()
        .item(hit.cellsetPosition)
        .members()
        .item(hit.member);
}

Gesture gestureFor(bool movingDim, bool ctrlDown)
{
    if (movingDim)
        return ctrlDown ? Gesture::Nest : Gesture::Move;
    return ctrlDown ? Gesture::Unnest : Gesture::Drill;
}

std::optional<int> slicerRecordAt(const LayoutState &layout, int position)
{
    for (int i = 0; i < layout.NumDims; ++i) {
        const OrderDim &record = orderDimAt(layout, i);
        if (record.lugar == Slicer && record.orden == position)
            return i;
    }
    return std::nullopt;
}

void startFrom(LayoutState &layout, int d, const QString &text, const QString &uniqueName)
{
    clearPadreTexto(layout, d);
    clearPadreLlave(layout, d);
    OrderDim &record = orderDimAt(layout, d);
    record.padreTexto.append(text);
    record.padreLlave.append(uniqueName);
}

void pivotAxes(LayoutState &layout)
{
    for (int i = 0; i < layout.NumDims; ++i) {
        OrderDim &record = orderDimAt(layout, i);
        if (record.lugar == Columns)
            record.lugar = Rows;
        else if (record.lugar == Rows)
            record.lugar = Columns;
    }
}

void exchangePlaces(LayoutState &layout, int s, int t)
{
    OrderDim &slicer = orderDimAt(layout, s);
    OrderDim &axis = orderDimAt(layout, t);
    const int place = axis.lugar;
    const int position = axis.orden;
    axis.lugar = slicer.lugar;
    axis.orden = slicer.orden;
    axis.jerarquia = slicer.jerarquia;
    slicer.lugar = place;
    slicer.orden = position;
    slicer.jerarquia = 0;
}

void nestOn(LayoutState &layout, int s, int place)
{
    const int last = countOrderDims(layout, place);
    OrderDim &record = orderDimAt(layout, s);
    const int old = record.orden;
    record.jerarquia = 0;
    record.lugar = place;
    record.orden = last;
    for (int i = 0; i < layout.NumDims; ++i) {
        OrderDim &other = orderDimAt(layout, i);
        if (other.lugar == Slicer && other.orden > old)
            --other.orden;
    }
}

void unnest(LayoutState &layout, int d)
{
    const int last = countOrderDims(layout, Slicer);
    OrderDim &record = orderDimAt(layout, d);
    const int place = record.lugar;
    const int old = record.orden;
    record.lugar = Slicer;
    record.orden = last;
    record.jerarquia = 7;
    for (int i = 0; i < layout.NumDims; ++i) {
        OrderDim &other = orderDimAt(layout, i);
        if (other.lugar == place && other.orden > old)
            --other.orden;
    }
}

} // namespace pelmora
