#pragma once

// Twips and pixels of the primary screen. The screen's logical DPI gives the twips per pixel
// (15 at 96 DPI); without a screen (no QGuiApplication yet, or none at all) 96 DPI is assumed.
namespace platform::forms {

double twipsPerPixelX();
double twipsPerPixelY();

// Rounded to the nearest pixel, a half away from zero (and clamped to the int range).
int twipsToPixelsX(double twips);
int twipsToPixelsY(double twips);

double pixelsToTwipsX(int pixels);
double pixelsToTwipsY(int pixels);

} // namespace platform::forms
