#pragma once

#include <QString>

#include <functional>
#include <vector>

namespace platform::grid {

// A merged block of cells, rows top..bottom and columns left..right (inclusive).
struct CellSpan
{
    int top = 0;
    int left = 0;
    int bottom = 0;
    int right = 0;

    bool operator==(const CellSpan &) const = default;
};

// Which fixed cells merge. Only fixed cells (in the fixed rows or the fixed columns) merge, and a
// merge never crosses the edge between the fixed and the scrolling part of the grid.
//
// - Horizontally: two neighbours in a row whose merge flag is set, with equal texts. In the fixed
//   rows a cell merges with its right neighbour only when the two cells above them (from row
//   outerFirstRow down) are merged too: the band of the outer header holds the inner one, so an
//   inner "All" under two different outer members stays two cells.
// - Vertically: two neighbours in a column whose merge flag is set, with equal texts, and with
//   the same horizontal extent (so every block is a rectangle). In the fixed columns a cell
//   merges with the one below only when the two cells left of them are merged too.
//
// outerFirstRow is 1 for the result grid, whose row 0 holds the dimension titles and not the
// members of an outer dimension; the titles do not restrict the captions below them.
class MergeBands
{
public:
    using TextAt = std::function<const QString &(int row, int col)>;

    struct Layout
    {
        int rows = 0;
        int cols = 0;
        int fixedRows = 0;
        int fixedCols = 0;
        std::vector<bool> mergeRow; // per row; missing entries are false
        std::vector<bool> mergeCol; // per column
        int outerFirstRow = 1;
    };

    void compute(const Layout &layout, const TextAt &textAt);
    void clear();

    // The block holding (row, col), or nullptr when the cell stands alone.
    const CellSpan *spanAt(int row, int col) const;
    int spanCount() const { return int(m_spans.size()); }

private:
    int slot(int row, int col) const;

    int m_rows = 0;
    int m_cols = 0;
    int m_fixedRows = 0;
    int m_fixedCols = 0;
    std::vector<int> m_spanOf; // per fixed cell: index into m_spans, -1 alone
    std::vector<CellSpan> m_spans;
};

} // namespace platform::grid
