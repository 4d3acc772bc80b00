#pragma once

#include <QColor>
#include <QPalette>

// Colours at the grid's boundary are OLE colours in an int: red in the low byte, then green and
// blue (0x00BBGGRR). A value with the high bit set (0x800000nn) names a system colour, which is
// taken from the application's palette.
namespace platform::grid {

QColor oleToColor(int ole, const QPalette &palette = QPalette());
int colorToOle(const QColor &color);

} // namespace platform::grid
