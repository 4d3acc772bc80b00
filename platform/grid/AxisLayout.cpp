#include "platform/grid/AxisLayout.h"

#include <algorithm>

namespace platform::grid {

void AxisLayout::rebuild(int count, int defaultSize, const std::function<int(int)> &sizeOf)
{
    count = std::max(count, 0);
    m_starts.resize(std::size_t(count) + 1);
    qint64 position = 0;
    for (int i = 0; i < count; ++i) {
        m_starts[std::size_t(i)] = position;
        const int size = sizeOf(i);
        position += size < 0 ? defaultSize : size;
    }
    m_starts[std::size_t(count)] = position;
}

int AxisLayout::indexAt(qint64 position) const
{
    if (position < 0 || position >= total())
        return -1;
    // The last start not beyond the position: items of size 0 before it share its start and
    // are passed over.
    const auto it = std::upper_bound(m_starts.begin(), m_starts.end(), position);
    return int(it - m_starts.begin()) - 1;
}

} // namespace platform::grid
