#pragma once

#include <QList>
#include <QRect>
#include <QSize>

// Geometry of the window arrangements the MDI area does not offer itself.
namespace pelmoraapp {

// `count` windows one above the other, each the area's full width; the area's height is
// shared out, the first windows taking the pixels left over.
QList<QRect> tileHorizontal(const QRect &area, int count);

// `count` windows side by side, each the area's full height.
QList<QRect> tileVertical(const QRect &area, int count);

// Minimised windows of these sizes in rows along the bottom of the area, left to right, a new
// row above the last one when a row is full.
QList<QRect> arrangeIcons(const QRect &area, const QList<QSize> &sizes);

// The area left for tiling above the rows of icons that arrangeIcons gives those sizes.
QRect areaAboveIcons(const QRect &area, const QList<QSize> &sizes);

} // namespace pelmoraapp
