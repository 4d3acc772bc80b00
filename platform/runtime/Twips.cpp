#include "platform/runtime/Twips.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>
#include <limits>

namespace platform::runtime {

namespace {

constexpr double DefaultDpi = 96.0;

QScreen *primaryScreen()
{
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return nullptr;
    return QGuiApplication::primaryScreen();
}

int toPixels(double twips, double twipsPerPixel)
{
    const double pixels = std::round(twips / twipsPerPixel);
    if (std::isnan(pixels))
        return 0;
    if (pixels <= static_cast<double>(std::numeric_limits<int>::min()))
        return std::numeric_limits<int>::min();
    if (pixels >= static_cast<double>(std::numeric_limits<int>::max()))
        return std::numeric_limits<int>::max();
    return static_cast<int>(pixels);
}

} // namespace

double twipsPerPixelForDpi(double dpi)
{
    if (!(dpi > 0))
        dpi = DefaultDpi;
    return TwipsPerInch / dpi;
}

double twipsPerPixelX()
{
    const QScreen *screen = primaryScreen();
    return twipsPerPixelForDpi(screen ? screen->logicalDotsPerInchX() : DefaultDpi);
}

double twipsPerPixelY()
{
    const QScreen *screen = primaryScreen();
    return twipsPerPixelForDpi(screen ? screen->logicalDotsPerInchY() : DefaultDpi);
}

int twipsToPixelsX(double twips)
{
    return toPixels(twips, twipsPerPixelX());
}

int twipsToPixelsY(double twips)
{
    return toPixels(twips, twipsPerPixelY());
}

double pixelsToTwipsX(int pixels)
{
    return pixels * twipsPerPixelX();
}

double pixelsToTwipsY(int pixels)
{
    return pixels * twipsPerPixelY();
}

} // namespace platform::runtime
