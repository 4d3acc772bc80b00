// Moving a dimension between the slicer and the axes: a picked-up slicer title dropped on a
// header of the data grid changes places with that header's dimension or, with Ctrl, nests
// under its side; Ctrl and a click on a header takes its dimension to the slicer.
#include "Control/core/ErrorTrap.h"
#include "Control/core/GestureRules.h"
#include "Control/core/PelmoraC02.h"
#include "platform/forms/Screen.h"

void PelmoraC02::changeDim(int row, int col)
{
    pelmora::trapped(QStringLiteral("changeDim: "), [&] {
        gestureState.movingDim = false;
        platform::forms::setMousePointer(platform::forms::DefaultPointer);
        const pelmora::GridHit hit = pelmora::gridHit(layoutState, row, col);
        if (!hit.isHeader())
            return;
        // A picked-up row that names no slicer dimension moves nothing.
        const std::optional<int> s =
            pelmora::slicerRecordAt(layoutState, gestureState.movingDimRow);
        if (!s)
            return;
        const int t = findOrderDim(hit.place, hit.position);
        const platform::olap::CellsetMember m = pelmora::headerMember(queryState.cellset, hit);
        // On the slicer the dimension stands on the clicked member; the slicer dimension
        // keeps the member it stood on.
        pelmora::startFrom(layoutState, t, m.caption(), m.uniqueName());
        pelmora::exchangePlaces(layoutState, *s, t);
        genSelect();
    });
}

void PelmoraC02::anidateDim(int row, int col)
{
    pelmora::trapped(QStringLiteral("anidateDim: "), [&] {
        gestureState.movingDim = false;
        platform::forms::setMousePointer(platform::forms::DefaultPointer);
        const pelmora::GridHit hit = pelmora::gridHit(layoutState, row, col);
        if (!hit.isHeader())
            return;
        const std::optional<int> s =
            pelmora::slicerRecordAt(layoutState, gestureState.movingDimRow);
        if (!s)
            return;
        // The cell only names the side; its member is not used.
        pelmora::nestOn(layoutState, *s, hit.place);
        genSelect();
    });
}

void PelmoraC02::deAnidateDim(int row, int col)
{
    pelmora::trapped(QStringLiteral("deAnidateDim: "), [&] {
        const pelmora::GridHit hit = pelmora::gridHit(layoutState, row, col);
        if (!hit.isHeader())
            return;
        // An axis keeps its last dimension.
        if (countOrderDims(hit.place) <= 1)
            return;
        const int d = findOrderDim(hit.place, hit.position);
        const platform::olap::CellsetMember m = pelmora::headerMember(queryState.cellset, hit);
        pelmora::startFrom(layoutState, d, m.caption(), m.uniqueName());
        pelmora::unnest(layoutState, d);
        genSelect();
    });
}
