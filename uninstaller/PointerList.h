#pragma once

#include <vector>

namespace uninstaller {

// A growable list of pointers it does not own; a pointer is held at most once (identity is
// the pointer value).
class PointerList
{
public:
    // -1 when the pointer is present already; else appends it, moves it to `position` when
    // 0 <= position < count (-1 keeps it last), and answers 1.
    int add(const void *pointer, int position);
    int indexOf(const void *pointer) const;
    // Null outside 0 to count - 1.
    const void *get(int index) const;
    // -1 when equal or either is out of range; else moves the item, the ones between shifting.
    int move(int from, int to);
    // -1 when absent; else removes it and answers 1.
    int remove(const void *pointer);
    void release();
    int count() const { return int(m_items.size()); }

private:
    std::vector<const void *> m_items;
};

} // namespace uninstaller
