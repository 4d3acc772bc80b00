#pragma once

namespace platform::grid {

// How the lines between cells look, for the grid-line styles 0 to 13 (ids 41 and 42):
//  0 none; 1 flat; 2 inset; 3 raised; 4-7 the same between rows only (7 "skipped": flat, after
//  every second row); 8-11 the same between columns only (11: after every second column);
//  12 "explorer": raised cells with a flat line in the grid colour on their bottom and right;
//  13 "spreadsheet": flat lines with a light line inside the top and left edge.
// Flat lines take the grid colour; inset and raised edges a light and a dark shade of the cell's
// back colour. Each line is the grid's line width (id 84) thick.
enum class LineLook { None, Flat, Inset, Raised };

struct GridLinePlan
{
    LineLook look = LineLook::None;
    bool betweenRows = false;
    bool betweenCols = false;
    bool everyOther = false;  // only after every second row or column
    bool outline = false;     // also a flat line on the bottom and right
    bool lightInside = false; // also a light line inside the top and left

    bool operator==(const GridLinePlan &) const = default;
};

constexpr int MaxGridLineStyle = 13;

inline bool isGridLineStyle(int style)
{
    return style >= 0 && style <= MaxGridLineStyle;
}

// The plan of a valid style; an invalid one draws no lines.
GridLinePlan gridLinePlan(int style);

} // namespace platform::grid
