#include "Control/core/LayoutLists.h"

#include <algorithm>
#include <vector>

namespace pelmora {

AxisLists axisListsOf(const LayoutState &layout, const QStringList &names)
{
    AxisLists lists;
    for (int lugar = Slicer; lugar <= Rows; ++lugar) {
        std::vector<int> records;
        for (int i = 0; i < layout.NumDims && i < names.size(); ++i) {
            if (orderDimAt(layout, i).lugar == lugar)
                records.push_back(i);
        }
        std::stable_sort(records.begin(), records.end(), [&layout](int a, int b) {
            return orderDimAt(layout, a).orden < orderDimAt(layout, b).orden;
        });
        for (int i : records)
            lists[size_t(lugar)].append(names[i]);
    }
    return lists;
}

void applyAxisLists(LayoutState &layout, const AxisLists &lists)
{
    for (int lugar = Slicer; lugar <= Rows; ++lugar) {
        const QStringList &list = lists[size_t(lugar)];
        for (int k = 0; k < list.size(); ++k) {
            for (int i = 0; i < layout.NumDims; ++i) {
                OrderDim &d = orderDimAt(layout, i);
                if (d.nombre != list[k])
                    continue;
                if (d.lugar != lugar && lugar == Slicer)
                    d.jerarquia = 7;
                else if (d.lugar == Slicer && lugar != Slicer)
                    d.jerarquia = 0;
                d.lugar = lugar;
                d.orden = k;
                break;
            }
        }
    }
}

} // namespace pelmora
