#include "PelmoraApp/Arrange.h"

#include <algorithm>

namespace pelmoraapp {

namespace {

// Splits `length` into `count` parts; the first `length % count` parts get one pixel more.
QList<QPair<int, int>> shares(int start, int length, int count)
{
    QList<QPair<int, int>> parts;
    if (count <= 0)
        return parts;
    const int base = std::max(length, 0) / count;
    const int extra = std::max(length, 0) % count;
    int at = start;
    for (int i = 0; i < count; ++i) {
        const int size = base + (i < extra ? 1 : 0);
        parts.append({at, size});
        at += size;
    }
    return parts;
}

} // namespace

QList<QRect> tileHorizontal(const QRect &area, int count)
{
    QList<QRect> result;
    for (const auto &[top, height] : shares(area.top(), area.height(), count))
        result.append(QRect(area.left(), top, area.width(), height));
    return result;
}

QList<QRect> tileVertical(const QRect &area, int count)
{
    QList<QRect> result;
    for (const auto &[left, width] : shares(area.left(), area.width(), count))
        result.append(QRect(left, area.top(), width, area.height()));
    return result;
}

QList<QRect> arrangeIcons(const QRect &area, const QList<QSize> &sizes)
{
    QList<QRect> result;
    int x = area.left();
    int rowBottom = area.bottom() + 1; // one past the row's last pixel
    int rowHeight = 0;
    for (const QSize &size : sizes) {
        // A full row moves the next icons up by the height of the row they leave.
        if (x > area.left() && x + size.width() > area.right() + 1) {
            rowBottom -= rowHeight;
            x = area.left();
            rowHeight = 0;
        }
        result.append(QRect(QPoint(x, rowBottom - size.height()), size));
        x += size.width();
        rowHeight = std::max(rowHeight, size.height());
    }
    return result;
}

QRect areaAboveIcons(const QRect &area, const QList<QSize> &sizes)
{
    if (sizes.isEmpty())
        return area;
    int top = area.bottom() + 1;
    for (const QRect &icon : arrangeIcons(area, sizes))
        top = std::min(top, icon.top());
    QRect above = area;
    above.setBottom(std::max(top - 1, area.top()));
    return above;
}

} // namespace pelmoraapp
