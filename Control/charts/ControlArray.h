#pragma once

#include "platform/runtime/Error.h"

#include <QList>
#include <QString>

#include <map>

// The elements of a control array by index, as a form's control arrays are: the indexes need
// not be consecutive, and an index without an element is an error.
template <typename Widget>
class ControlArray
{
public:
    Widget *operator()(int index) const
    {
        const auto found = m_items.find(index);
        if (found == m_items.end())
            throw platform::Error(
                QStringLiteral("Control array element '%1' doesn't exist").arg(index));
        return found->second;
    }
    bool exists(int index) const { return m_items.count(index) != 0; }
    int count() const { return int(m_items.size()); }
    QList<int> indexes() const
    {
        QList<int> all;
        for (const auto &item : m_items)
            all << item.first;
        return all;
    }
    void add(int index, Widget *widget) { m_items[index] = widget; }

private:
    std::map<int, Widget *> m_items;
};
