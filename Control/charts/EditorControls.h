#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

class QComboBox;
class QLabel;

namespace platform::chart {
class Font;
}

// How the editor's controls show a chart setting: list positions, colour swatches and font
// samples.
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

// Selects `position` (-1: no entry); a position below -1 or past the last entry leaves the list
// as it was.
void showPosition(QComboBox *list, int position);

// A font sample: the font's name, drawn in that font (frmGrf2D::copiaFont).
void showFontSample(QLabel *sample, const platform::chart::Font &font);

} // namespace pelmora::charteditor
