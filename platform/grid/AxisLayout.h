#pragma once

#include <QtGlobal>

#include <functional>
#include <vector>

namespace platform::grid {

// Positions of the rows (or columns) of a grid in pixels, from their sizes: where each starts,
// and which one lies at a position. Rebuilt in one pass after a change of sizes.
class AxisLayout
{
public:
    // sizeOf(i) answers the size of item i, or -1 for the default size.
    void rebuild(int count, int defaultSize, const std::function<int(int)> &sizeOf);

    int count() const { return int(m_starts.size()) - 1; }
    qint64 start(int index) const { return m_starts[std::size_t(index)]; }
    int size(int index) const { return int(m_starts[std::size_t(index) + 1] - start(index)); }
    qint64 total() const { return m_starts.back(); }

    // The item whose extent holds the position (items of size 0 hold none); -1 before the first
    // and from the end of the last on.
    int indexAt(qint64 position) const;

private:
    std::vector<qint64> m_starts{0};
};

} // namespace platform::grid
