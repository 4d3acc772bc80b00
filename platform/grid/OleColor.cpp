#include "platform/grid/OleColor.h"

namespace platform::grid {

namespace {

// The system colour indexes of the windowing system the colours were first stored on.
QColor systemColor(int index, const QPalette &palette)
{
    switch (index) {
    case 4: // menu
    case 5: // window
        return palette.color(QPalette::Base);
    case 6:  // window frame
    case 16: // button shadow
        return palette.color(QPalette::Dark);
    case 7: // menu text
    case 8: // window text
        return palette.color(QPalette::Text);
    case 13: // highlight
        return palette.color(QPalette::Highlight);
    case 14: // highlight text
        return palette.color(QPalette::HighlightedText);
    case 15: // button face
        return palette.color(QPalette::Button);
    case 17: // grey text
        return palette.color(QPalette::Disabled, QPalette::Text);
    case 18: // button text
        return palette.color(QPalette::ButtonText);
    case 20: // button highlight
        return palette.color(QPalette::Light);
    case 21: // 3-D dark shadow
        return palette.color(QPalette::Shadow);
    case 22: // 3-D light
        return palette.color(QPalette::Midlight);
    case 23: // tooltip text
        return palette.color(QPalette::ToolTipText);
    case 24: // tooltip back
        return palette.color(QPalette::ToolTipBase);
    default:
        return palette.color(QPalette::Window);
    }
}

} // namespace

QColor oleToColor(int ole, const QPalette &palette)
{
    const auto bits = static_cast<quint32>(ole);
    if (bits & 0x80000000u)
        return systemColor(int(bits & 0xFFu), palette);
    return QColor(int(bits & 0xFFu), int((bits >> 8) & 0xFFu), int((bits >> 16) & 0xFFu));
}

int colorToOle(const QColor &color)
{
    const QColor rgb = color.toRgb();
    return rgb.red() | (rgb.green() << 8) | (rgb.blue() << 16);
}

} // namespace platform::grid
