#pragma once

#include "Control/core/LayoutRecords.h"
#include "platform/olap/Cellset.h"

#include <QString>

#include <optional>

// The rules of the mouse gestures on the data grid that need no window: which part of the grid
// a click hits, which gesture a click makes, and how each gesture changes the layout records.
namespace pelmora {

// How the data grid shows the layout: h1 dimensions across the top (the statement's first
// axis: the columns, or the rows when no dimension lies on the columns) and h2 down the left
// side (the rows, when there are columns too).
struct GridAxes
{
    int topPlace = Columns; // the place of the dimensions across the top
    int h1 = 0;
    int h2 = 0;
};
GridAxes gridAxes(const LayoutState &layout);

// The parts of the data grid a click can hit.
enum class GridRegion {
    Nothing,    // a value cell, or a blank title cell
    Corner,     // the fixed cells above the titles of the side dimensions
    SideTitle,  // the title of a dimension down the left side
    TopTitle,   // the title of a dimension across the top
    TopHeader,  // a member of a dimension across the top
    SideHeader, // a member of a dimension down the left side
};

struct GridHit
{
    GridRegion region = GridRegion::Nothing;
    // For titles and headers: the dimension's place and position on it.
    int place = Slicer;
    int position = 0;
    // For headers: where the member lies in the cell set (axis, position, member of the
    // position), and whether it is the axis's first position, the member the dimension's set
    // starts from.
    int cellsetAxis = 0;
    int cellsetPosition = 0;
    int member = 0;
    bool firstPosition = false;

    bool isHeader() const
    {
        return region == GridRegion::TopHeader || region == GridRegion::SideHeader;
    }
};

// What the cell at (row, col) of the data grid (both from 0, fixed cells included, neither
// negative) shows of the layout the grid was painted from.
GridHit gridHit(const LayoutState &layout, int row, int col);

// The member of a result under a header hit; throws platform::Error when there is no result
// or the result has no such member.
platform::olap::CellsetMember headerMember(const std::optional<platform::olap::Cellset> &cellset,
                                           const GridHit &hit);

// The four gestures of a click on the data grid, by whether a slicer title is picked up and
// whether Ctrl is held.
enum class Gesture {
    Drill,  // drill down or up, swap the axes, or a dimension's options
    Unnest, // the dimension under the cell goes to the end of the slicer
    Move,   // the picked-up slicer dimension and the one under the cell change places
    Nest,   // the picked-up slicer dimension becomes the last one of the clicked side
};
Gesture gestureFor(bool movingDim, bool ctrlDown);

// The record of the slicer dimension at a position of the slicer, if there is one.
std::optional<int> slicerRecordAt(const LayoutState &layout, int position);

// The record starts from one member: its two lists hold that member alone.
void startFrom(LayoutState &layout, int d, const QString &text, const QString &uniqueName);

// Columns become rows and rows columns, each at its position; the slicer stays.
void pivotAxes(LayoutState &layout);

// Slicer record s and axis record t change places: t goes to the slicer at s's position with
// s's element type, s to t's place and position with element type 0. No other record moves.
void exchangePlaces(LayoutState &layout, int s, int t);

// Slicer record s becomes the last dimension of `place` (Columns or Rows), with element type
// 0; the slicer closes the gap it leaves.
void nestOn(LayoutState &layout, int s, int place);

// Axis record d becomes the last slicer dimension, with element type 7; its axis closes the
// gap it leaves.
void unnest(LayoutState &layout, int d);

} // namespace pelmora
