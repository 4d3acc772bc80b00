#include "platform/grid/CellText.h"

#include "platform/runtime/Numbers.h"

#include <QLocale>

#include <charconv>

namespace platform::grid {

NumberSymbols NumberSymbols::current()
{
    const QLocale locale;
    const QString decimal = locale.decimalPoint();
    const QString group = locale.groupSeparator();
    NumberSymbols symbols;
    symbols.simple = decimal.size() == 1 && group.size() == 1 && decimal != group;
    if (symbols.simple) {
        symbols.decimal = decimal.at(0);
        symbols.group = group.at(0);
    }
    return symbols;
}

std::optional<double> plainNumber(const QString &text, const NumberSymbols &symbols)
{
    constexpr qsizetype Room = 64;
    if (!symbols.simple || text.isEmpty() || text.size() >= Room)
        return std::nullopt;
    char buffer[Room + 1];
    qsizetype n = 0;
    qsizetype i = 0;
    const qsizetype size = text.size();
    if (text.at(0) == QLatin1Char('-')) {
        buffer[n++] = '-';
        ++i;
    }
    buffer[n++] = '0'; // so that ".5" reads as 0.5
    bool digits = false;
    bool decimal = false;
    for (; i < size; ++i) {
        const char16_t u = text.at(i).unicode();
        if (u >= '0' && u <= '9') {
            buffer[n++] = char(u);
            digits = true;
        } else if (text.at(i) == symbols.decimal && !decimal) {
            decimal = true;
            buffer[n++] = '.';
        } else if (text.at(i) == symbols.group && digits && !decimal) {
            continue;
        } else {
            return std::nullopt;
        }
    }
    if (!digits)
        return std::nullopt;
    if (buffer[n - 1] == '.')
        --n;
    double value = 0;
    const auto result = std::from_chars(buffer, buffer + n, value);
    if (result.ec != std::errc() || result.ptr != buffer + n)
        return std::nullopt;
    return value == 0 ? 0.0 : value; // never -0, as the runtime reads it
}

bool mayBeNumeric(const QString &text)
{
    for (const QChar c : text) {
        if ((c.unicode() >= '0' && c.unicode() <= '9') || c == QLatin1Char('&'))
            return true;
    }
    return false;
}

ColumnFormat::ColumnFormat(const QString &pattern) : m_pattern(pattern)
{
    if (!pattern.isEmpty())
        m_format.emplace(pattern);
}

QString ColumnFormat::apply(const QString &text, const NumberSymbols &symbols) const
{
    if (!m_format || text.isEmpty())
        return text;
    if (const std::optional<double> value = plainNumber(text, symbols))
        return m_format->format(*value);
    if (!mayBeNumeric(text) || !runtime::isNumeric(text))
        return text;
    return m_format->format(runtime::toDouble(text));
}

} // namespace platform::grid
