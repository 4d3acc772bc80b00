#pragma once

// Twips (1/1440 inch), the unit of lengths at the layers' boundaries. The conversions with the
// screen's pixels are in platform/forms/ScreenTwips.h; these are the rules they apply.
namespace platform::runtime {

inline constexpr double TwipsPerInch = 1440.0;

// 1440 / dpi; a DPI that is not positive counts as 96.
double twipsPerPixelForDpi(double dpi);

// Twips in pixels of twipsPerPixel twips each, rounded to the nearest pixel, a half away from
// zero (and clamped to the int range; not a number gives 0).
int twipsToPixels(double twips, double twipsPerPixel);

} // namespace platform::runtime
