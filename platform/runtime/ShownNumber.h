#pragma once

#include <QLocale>
#include <QString>
#include <QStringView>

namespace platform::runtime {

// The number a formatted text shows, for code that reads values back from what a grid displays
// (the charts, the value colouring). Reads with QLocale()'s grouping and decimal separators:
//   - blanks (spaces, tabs, no-break spaces) around the whole and between its pieces;
//   - a sign before or after the number ("-12", "12-", "+12"), or parentheses: "(12)" is -12;
//   - a currency sign before or after, once: the locale's and "$" ("$1,234.50", "12 €");
//   - a percent sign before or after: the number as shown, so "12.5%" is 12.5, not 0.125;
//   - grouping separators between groups of three digits ("1,234,567"; "1,5" is not grouped);
//   - an exponent: E or e, an optional sign and digits ("1.5E+03").
// Reading stops at the first character that cannot continue the number, so a unit after it is
// ignored ("12 kg" is 12). A text that shows no number ("", "#ERR", "abc", "-", "n/a 12") gives
// 0, and so does a number beyond the Double range.
double shownNumber(const QString &text);

// The same reading for many texts: the locale's separators and signs are read once.
class ShownNumberReader
{
public:
    explicit ShownNumberReader(const QLocale &locale = QLocale());

    double operator()(QStringView text) const;

    struct Symbols
    {
        QString decimal, group, currency, minus, plus, percent;
    };

private:
    Symbols m_symbols;
};

} // namespace platform::runtime
