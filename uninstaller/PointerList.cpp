#include "uninstaller/PointerList.h"

#include <algorithm>

namespace uninstaller {

int PointerList::add(const void *pointer, int position)
{
    if (indexOf(pointer) >= 0)
        return -1;
    m_items.push_back(pointer);
    if (position >= 0 && position < count())
        move(count() - 1, position);
    return 1;
}

int PointerList::indexOf(const void *pointer) const
{
    const auto found = std::find(m_items.begin(), m_items.end(), pointer);
    return found == m_items.end() ? -1 : int(found - m_items.begin());
}

const void *PointerList::get(int index) const
{
    return index >= 0 && index < count() ? m_items[std::size_t(index)] : nullptr;
}

int PointerList::move(int from, int to)
{
    if (from == to || from < 0 || to < 0 || from >= count() || to >= count())
        return -1;
    const void *item = m_items[std::size_t(from)];
    m_items.erase(m_items.begin() + from);
    m_items.insert(m_items.begin() + to, item);
    return 1;
}

int PointerList::remove(const void *pointer)
{
    const int index = indexOf(pointer);
    if (index < 0)
        return -1;
    m_items.erase(m_items.begin() + index);
    m_items.shrink_to_fit();
    return 1;
}

void PointerList::release()
{
    m_items.clear();
    m_items.shrink_to_fit();
}

} // namespace uninstaller
