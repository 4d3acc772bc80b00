#pragma once

// Twips (1/1440 inch), the unit of lengths at the layers' boundaries, and pixels of the primary
// screen. The screen's logical DPI gives the twips per pixel (15 at 96 DPI); without a screen
// (no QGuiApplication yet, or none at all) 96 DPI is assumed.
namespace platform::runtime {

inline constexpr double TwipsPerInch = 1440.0;

// 1440 / dpi; a DPI that is not positive counts as 96.
double twipsPerPixelForDpi(double dpi);

double twipsPerPixelX();
double twipsPerPixelY();

// Rounded to the nearest pixel, a half away from zero (and clamped to the int range).
int twipsToPixelsX(double twips);
int twipsToPixelsY(double twips);

double pixelsToTwipsX(int pixels);
double pixelsToTwipsY(int pixels);

} // namespace platform::runtime
