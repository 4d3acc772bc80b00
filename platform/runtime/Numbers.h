#pragma once

#include <QString>
#include <QStringView>
#include <QtGlobal>

#include <optional>

// Number rules of the original forms runtime: the numeric test, the conversions to Double and to
// 16- and 32-bit integers, the leading-number rule (Val) and the text of a number (CStr).
//
// "Locale" below is QLocale(), the default locale: it follows the process locale unless
// QLocale::setDefault was called (tests pin it that way).
//
// Conversion failures throw platform::Error with the runtime's own descriptions: "Type mismatch"
// for a text that is not a number, "Overflow" for a number out of the target's range.
namespace platform::runtime {

// The locale-aware numeric test (IsNumeric). Accepted, with blanks (spaces, tabs, line breaks,
// no-break spaces) around the whole and between the sign or currency sign and the digits:
//   - one sign, leading or trailing ("-12", "12-"), or parentheses for a negative ("(12)");
//   - the locale's currency sign, once, before or after the number ("$12", "-$12", "12 €");
//   - digits with the locale's thousands separator anywhere after the first digit of the whole
//     part (laxly, as the runtime did: in en_US "1,2" is 12) and one locale decimal separator;
//   - an exponent: E, e, D or d, an optional sign and at least one digit;
//   - or a hexadecimal "&H1F" / octal "&O17" whole number of at most 32 bits.
// An empty or blank text is not numeric, nor is a number beyond the Double range.
bool isNumeric(const QString &text);

// CDbl: the text as a Double by the rules of isNumeric. A hexadecimal or octal text is read as a
// 32-bit value ("&HFFFFFFFF" is -1, "&HFFFF" is 65535).
double toDouble(const QString &text);

// CInt / CLng: rounded to the nearest whole number, a half to the even neighbour (2.5 -> 2,
// 3.5 -> 4, -2.5 -> -2), then range-checked ("Overflow"; NaN and infinities are "Overflow" too).
qint16 toInteger(double value);
qint32 toLong(double value);

// The same from a text converted as toDouble does; a hexadecimal or octal text fills the target's
// bits, so "&HFFFF" is -1 as an Integer but 65535 as a Long, and "&H80000000" is -2147483648 as a
// Long (how the stored colours of the registry come back negative).
qint16 toInteger(const QString &text);
qint32 toLong(const QString &text);

// Val, the leading-number rule, independent of the locale: spaces, tabs and line feeds are
// ignored wherever they stand; then an optional sign, digits with "." as the only decimal point,
// an optional exponent (E, e, D or d, optional sign, digits); reading stops at the first other
// character, and a text that does not begin with a number gives 0 ("12%" -> 12, "1,234.5" -> 1,
// "$12" and "(5)" -> 0). "&H" and "&O" read a hexadecimal or octal whole number, as an Integer
// when it fits 16 bits ("&HFFFF" -> -1), else as a Long ("&H10000" -> 65536, "&HFFFFFFFF" -> -1).
// Throws "Overflow" only for a number beyond the Double range or a hex/octal number beyond 32 bits.
double val(const QString &text);

// The leading-number rule with `decimalPoint` as the decimal point: val is
// leadingNumber(text, u".").value_or(0). Nothing when the text does not begin with a number
// ("", "-", "abc", "&H"), so that a caller can tell "no number" from 0.
std::optional<double> leadingNumber(const QString &text, QStringView decimalPoint);

// CStr of a Double: up to 15 significant digits, no grouping, the locale's decimal separator,
// "-" for negatives, no leading blank; the exponent form ("1E+15", "1E-05") for an exponent
// below -4 or above 14, as the runtime wrote it. Also the named format "General Number".
QString numberText(double value);

// CStr of a Single: the same with 7 significant digits (the value is first rounded to float).
QString singleText(double value);

} // namespace platform::runtime
