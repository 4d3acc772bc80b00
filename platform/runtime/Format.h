#pragma once

#include <QString>
#include <QVariant>

#include <memory>

// Format(number, pattern) of the forms runtime, for the number formats the program uses (the list
// of the format dialog: "0", "0.00", "#,##0", "(#,##0)", "$#,##0.00", "0%", "#,##0,." ...) and the
// pattern language behind them. Output uses QLocale()'s decimal and thousands separators.
//
// Pattern language (one to three sections separated by ";": positive; negative; zero; a fourth
// is ignored; ";" inside quotes or after a backslash is literal):
//   0        a digit, or 0 when the number has none there
//   #        a digit, or nothing
//   .        the decimal separator (the first "." only; it is written even with no digit after
//            it: "0." gives "5.")
//   ,        between digit placeholders of the whole part: grouping by thousands; right of the
//            last whole-part placeholder (before the decimal point, or at the end): divide by
//            1000, once per comma ("#,##0,." shows thousands); before any placeholder: literal
//   %        multiplies by 100 (once, however many) and is written where it stands
//   E+ E- e+ e-  exponent form: the whole-part placeholders fix the mantissa's whole digits,
//            the 0s after it the exponent's minimum digits; E+ always writes the sign
//   "text"   literal text; \c the literal character c; any other character is itself
//            ($ ( ) - + space, letters, other digits ...)
// Digits beyond the whole-part placeholders all go to the leftmost placeholder. The number is
// rounded half away from zero on its decimal digits (the Double first taken to 15 significant
// digits, as the runtime did, so 0.045 with "0.00" gives 0.05 and 999999.995 gives 1000000.00).
//
// Sections: a negative number uses the second section when there is one and it is not empty,
// and is then written without its sign (the section supplies any brackets or minus); zero uses
// the third in the same way; otherwise the first section is used, and a negative number gets a
// "-" in front of the whole text ("-$1,234.57", "-(1,235)") - except when every digit shown is
// 0: a negative that rounds to zero shows as zero, never "-0" (a deliberate choice; the old
// runtime wrote "-0"). An empty first section, or an empty pattern, is the general number.
//
// Named formats (compared without regard to case): "General Number" (numberText: no grouping,
// up to 15 significant digits), "Standard" (#,##0.00), "Fixed" (0.00), "Percent" (0.00%),
// "Scientific" (0.00E+00), "Currency" (the locale's currency sign and placement, grouping, two
// decimals, negatives as the locale writes them: "($1,234.57)" in en_US, "-1.234,57 €" in es_ES),
// "True/False" (the locale's Boolean words), "Yes/No" and "On/Off" (English, Spanish in a Spanish
// locale); for these three any non-zero number is the first word.
namespace platform::runtime {

// A pattern parsed once, for formatting many values (a grid column).
class NumberFormat
{
public:
    explicit NumberFormat(const QString &pattern = {});
    ~NumberFormat();
    NumberFormat(const NumberFormat &);
    NumberFormat &operator=(const NumberFormat &);

    const QString &pattern() const { return m_pattern; }
    QString format(double value) const;

    struct Compiled;

private:
    QString m_pattern;
    std::shared_ptr<const Compiled> m_compiled;
};

QString format(double value, const QString &pattern);

// Format of any value: an invalid (empty) or null variant gives ""; a Boolean formats as -1 (True)
// or 0; a number as itself; a text that isNumeric formats as its number, any other text is returned
// unchanged; other types go through their Double when they have one, else their text.
QString format(const QVariant &value, const QString &pattern);

} // namespace platform::runtime
