#pragma once

#include "platform/runtime/Format.h"

#include <QChar>
#include <QString>

#include <optional>

namespace platform::grid {

// The locale's separators as single characters, taken once for many cells.
struct NumberSymbols
{
    QChar decimal = QLatin1Char('.');
    QChar group = QLatin1Char(',');
    bool simple = true; // both are single, distinct characters

    static NumberSymbols current(); // from QLocale()
};

// The number a plain numeric text stands for: an optional "-", digits with the group separator
// anywhere after the first digit, and one decimal separator ("1,234.5", "-12", ".5"). Any other
// text answers nothing, which means "ask runtime::isNumeric", not "not numeric": the result is
// always the one isNumeric and toDouble give. This is what makes formatting a column of numbers
// cheap.
std::optional<double> plainNumber(const QString &text, const NumberSymbols &symbols);

// False when the text cannot be numeric: it has no decimal digit and no "&" (of "&H1F"). A
// cheap first test before runtime::isNumeric, for texts such as "#ERR" and captions.
bool mayBeNumeric(const QString &text);

// The format string of a column (id 156), parsed once. Applied to a cell whose text is numeric
// (runtime::isNumeric) it shows Format(value, pattern); any other text, and every text under an
// empty pattern, is shown as it is.
class ColumnFormat
{
public:
    ColumnFormat() = default;
    explicit ColumnFormat(const QString &pattern);

    const QString &pattern() const { return m_pattern; }
    bool isEmpty() const { return m_pattern.isEmpty(); }

    QString apply(const QString &text, const NumberSymbols &symbols) const;
    QString apply(const QString &text) const { return apply(text, NumberSymbols::current()); }

private:
    QString m_pattern;
    std::optional<runtime::NumberFormat> m_format;
};

// The text of a range as the clipboard takes it: cells separated by tabs, rows by CR LF, no
// line break after the last row. An empty range (last before first) gives "".
inline const QString RangeCellSeparator = QStringLiteral("\t");
inline const QString RangeRowSeparator = QStringLiteral("\r\n");

template <typename TextAt>
QString rangeText(int row1, int col1, int row2, int col2, TextAt &&textAt)
{
    QString text;
    if (row2 < row1 || col2 < col1)
        return text;
    for (int r = row1; r <= row2; ++r) {
        if (r > row1)
            text += RangeRowSeparator;
        for (int c = col1; c <= col2; ++c) {
            if (c > col1)
                text += RangeCellSeparator;
            text += textAt(r, c);
        }
    }
    return text;
}

} // namespace platform::grid
