#pragma once

#include <QtGlobal>

// The codes of the 2-D and 3-D charts' enumerated properties. Properties hold the codes as plain
// integers, so stored settings pass through unchanged; setters refuse a code outside its list
// with platform::Error(invalidValueDescription()).
namespace platform::chart {

namespace ChartType {
enum : qint32 {
    Plot = 1,
    Bar = 2,
    Pie = 3,
    StackingBar = 4,
    Area = 5,
    HiLo = 6,
    HiLoOpenClose = 7,
    Candle = 8,
    Polar = 9,
    Radar = 10,
    FilledRadar = 11,
    Bubble = 12,
};
} // namespace ChartType

namespace BorderType {
enum : qint32 {
    None = 0,
    ThreeDOut = 1,
    ThreeDIn = 2,
    Shadow = 3,
    Plain = 4,
    EtchedIn = 5,
    EtchedOut = 6,
    FrameIn = 7,
    FrameOut = 8,
    Bevel = 9,
};
} // namespace BorderType

// How an image fills the rectangle of the element it belongs to.
namespace ImageLayout {
enum : qint32 {
    Centered = 1,
    Tiled = 2,
    Fitted = 3,            // whole image, scaled to fit, proportions kept
    Stretched = 4,         // scaled to the rectangle
    StretchedToWidth = 5,  // scaled to the width, proportions kept, cut or centred vertically
    StretchedToHeight = 6, // scaled to the height, proportions kept
    CropFitted = 7,        // scaled to cover the rectangle, proportions kept, the rest cut
};
} // namespace ImageLayout

namespace Alignment {
enum : qint32 { Left = 1, Right = 2, Center = 3 };
} // namespace Alignment

namespace Orientation {
enum : qint32 { Vertical = 1, Horizontal = 2 };
} // namespace Orientation

// Where the legend stands around the plot: compass points as bit sums (north 16, south 32,
// east 1, west 2).
namespace Anchor {
enum : qint32 {
    East = 1,
    West = 2,
    North = 16,
    NorthEast = 17,
    NorthWest = 18,
    South = 32,
    SouthEast = 33,
    SouthWest = 34,
};
} // namespace Anchor

// The 2-D chart's 3-D effect colouring.
namespace Shading {
enum : qint16 { Color = 1, Shadow = 2, None = 3 };
} // namespace Shading

namespace LinePattern {
enum : qint32 {
    None = 1,
    Solid = 2,
    LongDash = 3,
    Dotted = 4,
    ShortDash = 5,
    LongShortLongDash = 6,
    DashDot = 7,
};
} // namespace LinePattern

namespace FillPattern {
enum : qint32 {
    None = 1,
    Solid = 2,
    Percent25 = 3,
    Percent50 = 4,
    Percent75 = 5,
    HorizontalStripe = 6,
    VerticalStripe = 7,
    Stripe45 = 8,
    Stripe135 = 9,
    DiagonalHatched = 10,
    CrossHatched = 11,
    DiagonalBackward = 12,
    DiagonalForward = 13,
    Horizontal = 14,
    Vertical = 15,
    Cross = 16,
    DiagonalCross = 17,
};
} // namespace FillPattern

namespace SymbolShape {
enum : qint32 {
    None = 1,
    Dot = 2,
    Box = 3,
    Triangle = 4,
    Diamond = 5,
    Star = 6,
    VerticalLine = 7,
    HorizontalLine = 8,
    Cross = 9,
    Circle = 10,
    Square = 11,
    InvertedTriangle = 12,
    DiagonalCross = 13,
    OpenTriangle = 14,
    OpenDiamond = 15,
    OpenInvertedTriangle = 16,
    Image = 17, // the series' image file
};
} // namespace SymbolShape

// How the value labels of an axis are written. The codes 5, 6, 10 and 11 are accepted and
// written as Standard.
namespace LabelCategory {
enum : qint16 {
    Standard = 1,   // the general number
    Number = 2,     // grouped, two decimals
    Currency = 3,   // the locale's currency format
    Accounting = 4, // the locale's currency sign, negatives in parentheses
    Percentage = 7, // the value as a percentage of 1 ("0.25" is "25%")
    Fraction = 8,   // whole part and a fraction with a denominator up to 16
    Scientific = 9, // "1.23E+04"
    Custom = 12,    // the axis's LabelFormat, a Format() pattern
};
} // namespace LabelCategory

namespace TitleRotation {
enum : qint32 { None = 1, Rotate90 = 2, Rotate270 = 3, Rotate45 = 4, Rotate315 = 5 };
} // namespace TitleRotation

// What an axis writes under its ticks: the numbers of the points (or of the rows and columns of
// 3-D data), or their labels. 1 and 2 both mean the labels.
namespace AnnotationMethod {
enum : qint32 { Values = 0, PointLabels = 1, DataLabels = 2 };
} // namespace AnnotationMethod

// The kinds of savePicture.
namespace PictureKind {
enum : qint32 { Bitmap = 1, Metafile = 2 };
} // namespace PictureKind

// Colours are 32-bit colour values: 0x00BBGGRR, a system colour 0x800000nn, or -1 for the
// element's automatic colour.
constexpr qint32 AutomaticColor = -1;

} // namespace platform::chart
