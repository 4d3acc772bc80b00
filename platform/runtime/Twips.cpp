#include "platform/runtime/Twips.h"

#include <cmath>
#include <limits>

namespace platform::runtime {

double twipsPerPixelForDpi(double dpi)
{
    if (!(dpi > 0))
        dpi = 96.0;
    return TwipsPerInch / dpi;
}

int twipsToPixels(double twips, double twipsPerPixel)
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

} // namespace platform::runtime
