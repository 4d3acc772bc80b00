#pragma once

#include "platform/chart/ChartTypes.h"

#include <QString>
#include <QtGlobal>

#include <array>
#include <optional>
#include <utility>

class QComboBox;
class QLabel;
class QLineEdit;

namespace platform::chart {
class Chart2D;
class Font;
} // namespace platform::chart

// How the editor's controls read and show a chart setting: the numbers typed in its fields, the
// chart values behind its lists, list positions and texts set from the chart, and font samples.
namespace pelmora::charteditor {

// The number a numeric field's text begins with, its decimal point the locale's (QLocale())
// separator (platform::runtime::leadingNumber): blanks (spaces, tabs, line feeds) are skipped
// wherever they stand; then an optional sign, digits, the separator and digits, and an optional
// exponent (E or D, optional sign, digits); "&H" and "&O" begin a hexadecimal or octal whole
// number. Reading stops at the first character that does not fit ("15px" is 15, "1," in German
// 1). Nothing when the text does not begin with a number ("", "-", "abc"), so that a partial
// input applies nothing. A number beyond the Double range, or a hexadecimal or octal one beyond
// 32 bits, throws "Overflow".
std::optional<double> fieldNumber(const QString &text);

// The legend anchors of cmbPosicion's entries, in the list's order.
inline constexpr std::array<qint32, 8> legendAnchors = {
    platform::chart::Anchor::North,     platform::chart::Anchor::South,
    platform::chart::Anchor::East,      platform::chart::Anchor::West,
    platform::chart::Anchor::NorthEast, platform::chart::Anchor::NorthWest,
    platform::chart::Anchor::SouthEast, platform::chart::Anchor::SouthWest};

// The label categories of cmbFormato's entries; the last one, Custom, uses the typed format.
inline constexpr std::array<qint16, 8> labelCategories = {
    platform::chart::LabelCategory::Standard,   platform::chart::LabelCategory::Number,
    platform::chart::LabelCategory::Currency,   platform::chart::LabelCategory::Accounting,
    platform::chart::LabelCategory::Percentage, platform::chart::LabelCategory::Fraction,
    platform::chart::LabelCategory::Scientific, platform::chart::LabelCategory::Custom};

// The title rotations cmbRotacion shows, each by the text of its angle; any other entry ("None"
// in either language) is no rotation.
struct TitleAngle
{
    qint32 rotation;
    const char16_t *shown;
};
inline constexpr std::array<TitleAngle, 4> titleAngles = {{
    {platform::chart::TitleRotation::Rotate90, u"90"},
    {platform::chart::TitleRotation::Rotate270, u"270"},
    {platform::chart::TitleRotation::Rotate45, u"45"},
    {platform::chart::TitleRotation::Rotate315, u"315"},
}};

// Selects `position` (-1: no entry); a position below -1 or past the last entry leaves the list
// as it was.
void showPosition(QComboBox *list, int position);

// showPosition, and a field's text, set with the control's signals blocked: filling a control
// from the chart writes nothing back into it. The text is kept as the one the chart holds.
void quietPosition(QComboBox *list, int position);
void quietText(QLineEdit *field, const QString &text);

// The text a field showed when the chart last took its value (set by quietText or holdText):
// a value the chart refuses brings the field back to it.
QString heldText(const QLineEdit *field);
void holdText(QLineEdit *field);

// The bounds the chart's value axis is drawn with, automatic ones as the data gives them;
// nothing when the chart draws no value axis (a pie).
std::optional<std::pair<double, double>> drawnValueBounds(platform::chart::Chart2D &chart);

// A colour as a foreground swatch shows it: the automatic colour is black.
qint32 blackIfAutomatic(qint32 colour);

// A font sample: the font's name, drawn in that font (frmGrf2D::copiaFont).
void showFontSample(QLabel *sample, const platform::chart::Font &font);

} // namespace pelmora::charteditor
