#include "platform/olap/xmla/CellSetData.h"

#include <algorithm>
#include <bit>

namespace platform::olap::xmla {

int CellSetData::cellPropertyIndex(QStringView name) const
{
    for (int i = 0; i < m_propertyNames.size(); ++i) {
        if (QStringView(m_propertyNames.at(i)).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    for (int i = 0; i < m_propertyTags.size(); ++i) {
        if (QStringView(m_propertyTags.at(i)).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

qint64 CellSetData::ordinal(const std::vector<int> &tupleIndexes) const
{
    if (tupleIndexes.size() != m_axes.size())
        return -1;
    qint64 result = 0;
    qint64 stride = 1;
    for (size_t axis = 0; axis < m_axes.size(); ++axis) {
        const int index = tupleIndexes[axis];
        if (index < 0 || index >= m_axes[axis].tupleCount)
            return -1;
        result += stride * index;
        stride *= m_axes[axis].tupleCount;
    }
    return result;
}

const CellSetData::Slot *CellSetData::slotsOf(qint64 ordinal) const
{
    if (ordinal < 0 || ordinal >= m_cellCount || m_ordinals.empty())
        return nullptr;
    const size_t width = size_t(m_propertyNames.size());
    if (m_dense)
        return ordinal < qint64(m_ordinals.size()) ? m_slots.data() + size_t(ordinal) * width
                                                   : nullptr;
    const auto found = std::lower_bound(m_ordinals.begin(), m_ordinals.end(), ordinal);
    if (found == m_ordinals.end() || *found != ordinal)
        return nullptr;
    return m_slots.data() + size_t(found - m_ordinals.begin()) * width;
}

const CellSetData::Slot *CellSetData::slot(qint64 ordinal, int property) const
{
    if (property < 0 || property >= m_propertyNames.size())
        return nullptr;
    const Slot *cellSlots = slotsOf(ordinal);
    return cellSlots ? cellSlots + property : nullptr;
}

QString CellSetData::textOf(const Slot &slot) const
{
    return m_text.mid(qsizetype(slot.bits), slot.length);
}

QVariant CellSetData::property(qint64 ordinal, int property) const
{
    const Slot *s = slot(ordinal, property);
    if (!s)
        return {};
    switch (s->kind) {
    case CellValueKind::Empty:
        return {};
    case CellValueKind::Double:
        return std::bit_cast<double>(s->bits);
    case CellValueKind::Integer:
        return qlonglong(s->bits);
    case CellValueKind::Boolean:
        return s->bits != 0;
    case CellValueKind::String:
    case CellValueKind::Error:
        return textOf(*s);
    }
    return {};
}

CellValueKind CellSetData::propertyKind(qint64 ordinal, int property) const
{
    const Slot *s = slot(ordinal, property);
    return s ? s->kind : CellValueKind::Empty;
}

QString CellSetData::propertyType(qint64 ordinal, int property) const
{
    const Slot *s = slot(ordinal, property);
    return s ? m_typeNames.at(s->type) : QString();
}

QString CellSetData::formattedValue(qint64 ordinal) const
{
    if (const Slot *s = slot(ordinal, m_formattedIndex)) {
        if (s->kind == CellValueKind::String || s->kind == CellValueKind::Error)
            return textOf(*s);
        if (s->kind != CellValueKind::Empty)
            return property(ordinal, m_formattedIndex).toString();
    }
    return error(ordinal);
}

QString CellSetData::error(qint64 ordinal) const
{
    const Slot *cellSlots = slotsOf(ordinal);
    if (!cellSlots)
        return {};
    if (m_valueIndex >= 0 && cellSlots[m_valueIndex].kind == CellValueKind::Error)
        return textOf(cellSlots[m_valueIndex]);
    for (qsizetype i = 0; i < m_propertyNames.size(); ++i) {
        if (cellSlots[i].kind == CellValueKind::Error)
            return textOf(cellSlots[i]);
    }
    return {};
}

} // namespace platform::olap::xmla
