#include "platform/forms/ScreenTwips.h"

#include "platform/runtime/Twips.h"

#include <QGuiApplication>
#include <QScreen>

namespace platform::forms {

namespace {

constexpr double DefaultDpi = 96.0;

QScreen *primaryScreen()
{
    if (!qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        return nullptr;
    return QGuiApplication::primaryScreen();
}

} // namespace

double twipsPerPixelX()
{
    const QScreen *screen = primaryScreen();
    return runtime::twipsPerPixelForDpi(screen ? screen->logicalDotsPerInchX() : DefaultDpi);
}

double twipsPerPixelY()
{
    const QScreen *screen = primaryScreen();
    return runtime::twipsPerPixelForDpi(screen ? screen->logicalDotsPerInchY() : DefaultDpi);
}

int twipsToPixelsX(double twips)
{
    return runtime::twipsToPixels(twips, twipsPerPixelX());
}

int twipsToPixelsY(double twips)
{
    return runtime::twipsToPixels(twips, twipsPerPixelY());
}

double pixelsToTwipsX(int pixels)
{
    return pixels * twipsPerPixelX();
}

double pixelsToTwipsY(int pixels)
{
    return pixels * twipsPerPixelY();
}

} // namespace platform::forms
