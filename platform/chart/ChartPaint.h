#pragma once

#include "platform/chart/ChartModel.h"

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QPen>
#include <QRect>

class QPainter;

// Turning the model's codes into Qt's colours, fonts, pens, brushes and pictures, and painting
// borders, interiors and images. Shared by the 2-D and 3-D charts.
namespace platform::chart {

// A 32-bit colour value as a QColor: 0x00BBGGRR, a system colour 0x800000nn from the
// application's palette, and `automatic` for -1 and anything else.
QColor toColor(qint32 value, const QColor &automatic);
// The colour value of a QColor (alpha dropped).
qint32 colorValue(const QColor &color);

QFont toQFont(const Font &font);

// A line of LinePattern `pattern`; Qt::NoPen for LinePattern::None.
QPen linePen(qint32 pattern, const QColor &color, qint32 width);

// A series' fill: a tile of the pattern in the foreground over the background, or the image of
// its interior (tiled) when that names a readable file; Qt::NoBrush for FillPattern::None. An
// automatic background is `automatic`.
QBrush fillBrush(const FillStyle &fill, const QColor &automatic);

// The picture of a file: any format Qt reads, and metafiles holding a bitmap record (as
// savePicture writes them). A null image when the file cannot be read. Pictures are cached by
// name, size and modification time.
QImage loadPicture(const QString &fileName);

// Draws `image` into `rect` by ImageLayout `layout`, clipped to the rectangle.
void paintImage(QPainter &painter, const QRect &rect, const QImage &image, qint32 layout);

// Fills `rect` with the interior's background (automatic: `automatic`, which may be
// transparent) and draws its image over it.
void paintInterior(QPainter &painter, const QRect &rect, const Interior &interior,
                   const QColor &automatic);

// The width a border takes on each side, and its drawing just inside `rect`.
int borderExtent(const Border &border);
void paintBorder(QPainter &painter, const QRect &rect, const Border &border);

// A symbol of SymbolStyle `symbol`, `size` pixels square (the style's size when 0), for markers
// and legend entries; `picture` is the series' image for SymbolShape::Image. A null image for
// SymbolShape::None.
QImage symbolImage(const SymbolStyle &symbol, const QImage &picture, int size = 0);
void paintSymbol(QPainter &painter, const QPointF &centre, const SymbolStyle &symbol,
                 const QImage &picture);

// The text of a value label under the axis's LabelCategory and LabelFormat.
QString valueLabel(double value, const Axis &axis);

} // namespace platform::chart
