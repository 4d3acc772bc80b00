#include "platform/grid/MergeBands.h"

#include <algorithm>

namespace platform::grid {

namespace {

bool flagOf(const std::vector<bool> &flags, int index)
{
    return index >= 0 && index < int(flags.size()) && flags[std::size_t(index)];
}

} // namespace

// Fixed cells are numbered: first the fixed rows across every column, then the fixed columns of
// the other rows.
int MergeBands::slot(int row, int col) const
{
    if (row < m_fixedRows)
        return row * m_cols + col;
    return m_fixedRows * m_cols + (row - m_fixedRows) * m_fixedCols + col;
}

void MergeBands::clear()
{
    m_rows = m_cols = m_fixedRows = m_fixedCols = 0;
    m_spanOf.clear();
    m_spans.clear();
}

void MergeBands::compute(const Layout &layout, const TextAt &textAt)
{
    clear();
    m_rows = std::max(0, layout.rows);
    m_cols = std::max(0, layout.cols);
    m_fixedRows = std::clamp(layout.fixedRows, 0, m_rows);
    m_fixedCols = std::clamp(layout.fixedCols, 0, m_cols);
    const int cells = m_fixedRows * m_cols + (m_rows - m_fixedRows) * m_fixedCols;
    if (cells == 0)
        return;

    // 1. Horizontal runs: the first column of the run each fixed cell belongs to, and its last.
    std::vector<int> runStart(static_cast<std::size_t>(cells));
    std::vector<int> runEnd(static_cast<std::size_t>(cells));
    for (int r = 0; r < m_rows; ++r) {
        const bool inFixedRows = r < m_fixedRows;
        const bool restricted = inFixedRows && r - 1 >= layout.outerFirstRow;
        const bool merging = flagOf(layout.mergeRow, r);
        const int segments[2][2] = {{0, m_fixedCols}, {m_fixedCols, inFixedRows ? m_cols : 0}};
        for (const auto &segment : segments) {
            int start = segment[0];
            for (int c = segment[0]; c < segment[1]; ++c) {
                const bool joins = merging && c > segment[0] && textAt(r, c) == textAt(r, c - 1)
                                   && (!restricted
                                       || runStart[std::size_t(slot(r - 1, c))]
                                              == runStart[std::size_t(slot(r - 1, c - 1))]);
                if (!joins) {
                    for (int k = start; k < c; ++k)
                        runEnd[std::size_t(slot(r, k))] = c - 1;
                    start = c;
                }
                runStart[std::size_t(slot(r, c))] = start;
            }
            for (int k = start; k < segment[1]; ++k)
                runEnd[std::size_t(slot(r, k))] = segment[1] - 1;
        }
    }

    // 2. Runs of the same extent and text stack into blocks, column by column from the left, so
    //    that the blocks of the column on the left are known when a fixed column is restricted.
    std::vector<int> spanOf(static_cast<std::size_t>(cells), -1);
    for (int c = 0; c < m_cols; ++c) {
        const int lastRow = c < m_fixedCols ? m_rows : m_fixedRows;
        for (int r = 0; r < lastRow; ++r) {
            const int s = slot(r, c);
            if (spanOf[std::size_t(s)] >= 0 || runStart[std::size_t(s)] != c)
                continue;
            CellSpan span{r, c, r, runEnd[std::size_t(s)]};
            bool stackable = true;
            for (int k = span.left; k <= span.right; ++k)
                stackable = stackable && flagOf(layout.mergeCol, k);
            const int segmentEnd = r < m_fixedRows ? m_fixedRows : m_rows;
            while (stackable && span.bottom + 1 < segmentEnd && span.bottom + 1 < lastRow) {
                const int next = span.bottom + 1;
                const int n = slot(next, c);
                if (runStart[std::size_t(n)] != c || runEnd[std::size_t(n)] != span.right
                    || textAt(next, c) != textAt(r, c))
                    break;
                if (c < m_fixedCols && c > 0
                    && spanOf[std::size_t(slot(next, c - 1))]
                           != spanOf[std::size_t(slot(span.bottom, c - 1))])
                    break;
                span.bottom = next;
            }
            const int id = int(m_spans.size());
            m_spans.push_back(span);
            for (int rr = span.top; rr <= span.bottom; ++rr)
                for (int cc = span.left; cc <= span.right; ++cc)
                    spanOf[std::size_t(slot(rr, cc))] = id;
        }
    }

    // 3. Only blocks of more than one cell are kept.
    std::vector<int> renumber(m_spans.size(), -1);
    std::vector<CellSpan> kept;
    for (std::size_t i = 0; i < m_spans.size(); ++i) {
        const CellSpan &span = m_spans[i];
        if (span.top != span.bottom || span.left != span.right) {
            renumber[i] = int(kept.size());
            kept.push_back(span);
        }
    }
    for (int &id : spanOf)
        id = id < 0 ? -1 : renumber[std::size_t(id)];
    m_spans = std::move(kept);
    m_spanOf = std::move(spanOf);
}

const CellSpan *MergeBands::spanAt(int row, int col) const
{
    if (row < 0 || col < 0 || row >= m_rows || col >= m_cols)
        return nullptr;
    if (row >= m_fixedRows && col >= m_fixedCols)
        return nullptr;
    const int id = m_spanOf[std::size_t(slot(row, col))];
    return id < 0 ? nullptr : &m_spans[std::size_t(id)];
}

} // namespace platform::grid
