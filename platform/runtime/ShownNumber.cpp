#include "platform/runtime/ShownNumber.h"

#include <QLocale>
#include <QStringView>

#include <charconv>
#include <cmath>
#include <string>

namespace platform::runtime {

namespace {

bool isBlank(QChar c)
{
    const char16_t u = c.unicode();
    return u == ' ' || u == '\t' || u == '\n' || u == '\r' || u == 0x00A0 || u == 0x202F;
}

bool isDigit(QStringView s, qsizetype i)
{
    return i < s.size() && s[i].unicode() >= '0' && s[i].unicode() <= '9';
}

class Reader
{
public:
    Reader(QStringView text, const ShownNumberReader::Symbols &symbols)
        : m_text(text), m_decimal(symbols.decimal), m_group(symbols.group),
          m_currency(symbols.currency), m_minus(symbols.minus), m_plus(symbols.plus),
          m_percent(symbols.percent)
    {}

    double read()
    {
        affixes();
        std::string digits;
        if (!number(digits))
            return 0;
        affixes();
        double value = 0;
        const auto result = std::from_chars(digits.data(), digits.data() + digits.size(), value);
        if (result.ec != std::errc() || !std::isfinite(value))
            return 0;
        return m_negative && value != 0 ? -value : value;
    }

private:
    bool at(const QString &what) const
    {
        return !what.isEmpty() && m_text.mid(m_pos).startsWith(what);
    }

    bool take(const QString &what)
    {
        if (!at(what))
            return false;
        m_pos += what.size();
        return true;
    }

    // Blanks, one sign, one pair of parentheses, one currency sign and one percent sign, in any
    // order, before or after the number.
    void affixes()
    {
        while (m_pos < m_text.size()) {
            const QChar c = m_text[m_pos];
            if (isBlank(c)) {
                ++m_pos;
            } else if (c == QLatin1Char('(') && !m_paren && !m_number) {
                m_paren = true;
                m_negative = true;
                ++m_pos;
            } else if (c == QLatin1Char(')') && m_paren && m_number) {
                m_paren = false;
                ++m_pos;
            } else if (!m_signed
                       && (c == QLatin1Char('-') || c == QChar(0x2212) || take(m_minus))) {
                if (c == QLatin1Char('-') || c == QChar(0x2212))
                    ++m_pos;
                m_signed = true;
                m_negative = true;
            } else if (!m_signed && (c == QLatin1Char('+') || take(m_plus))) {
                if (c == QLatin1Char('+'))
                    ++m_pos;
                m_signed = true;
            } else if (!m_currency.isEmpty() && !m_currencySeen && take(m_currency)) {
                m_currencySeen = true;
            } else if (!m_currencySeen && c == QLatin1Char('$')) {
                m_currencySeen = true;
                ++m_pos;
            } else if (!m_percentSeen && (c == QLatin1Char('%') || take(m_percent))) {
                if (c == QLatin1Char('%'))
                    ++m_pos;
                m_percentSeen = true;
            } else {
                return;
            }
        }
    }

    // A group separator here followed by exactly three digits.
    bool groupAhead() const
    {
        qsizetype after = -1;
        if (at(m_group))
            after = m_pos + m_group.size();
        else if (m_group.size() == 1 && isBlank(m_group[0]) && m_pos < m_text.size()
                 && isBlank(m_text[m_pos]))
            after = m_pos + 1; // a locale grouping with a blank accepts any blank
        return after >= 0 && isDigit(m_text, after) && isDigit(m_text, after + 1)
               && isDigit(m_text, after + 2) && !isDigit(m_text, after + 3);
    }

    // The digits of the number as "123.45e6" into `digits`; false when there is no number.
    bool number(std::string &digits)
    {
        const qsizetype start = m_pos;
        while (true) {
            while (isDigit(m_text, m_pos))
                digits += char(m_text[m_pos++].unicode());
            if (digits.empty() || !groupAhead())
                break;
            m_pos += at(m_group) ? m_group.size() : 1;
        }
        bool fraction = false;
        if (at(m_decimal) && (!digits.empty() || isDigit(m_text, m_pos + m_decimal.size()))) {
            m_pos += m_decimal.size();
            digits += '.';
            while (isDigit(m_text, m_pos)) {
                digits += char(m_text[m_pos++].unicode());
                fraction = true;
            }
        }
        if (digits.empty() || (digits == "." && !fraction)) {
            m_pos = start;
            return false;
        }
        if (m_pos < m_text.size()
            && (m_text[m_pos] == QLatin1Char('E') || m_text[m_pos] == QLatin1Char('e'))) {
            qsizetype i = m_pos + 1;
            std::string exponent = "e";
            const bool sign = i < m_text.size()
                              && (m_text[i] == QLatin1Char('+') || m_text[i] == QLatin1Char('-'));
            if (sign)
                exponent += char(m_text[i++].unicode());
            if (isDigit(m_text, i)) {
                while (isDigit(m_text, i))
                    exponent += char(m_text[i++].unicode());
                digits += exponent;
                m_pos = i;
            }
        }
        m_number = true;
        return true;
    }

    QStringView m_text;
    qsizetype m_pos = 0;
    const QString &m_decimal;
    const QString &m_group;
    const QString &m_currency;
    const QString &m_minus;
    const QString &m_plus;
    const QString &m_percent;
    bool m_negative = false;
    bool m_paren = false;
    bool m_signed = false;
    bool m_currencySeen = false;
    bool m_percentSeen = false;
    bool m_number = false;
};

} // namespace

ShownNumberReader::ShownNumberReader(const QLocale &locale)
    : m_symbols{locale.decimalPoint(),
                locale.groupSeparator(),
                locale.currencySymbol(QLocale::CurrencySymbol),
                locale.negativeSign(),
                locale.positiveSign(),
                locale.percent()}
{}

double ShownNumberReader::operator()(QStringView text) const
{
    return Reader(text, m_symbols).read();
}

double shownNumber(const QString &text)
{
    return ShownNumberReader()(text);
}

} // namespace platform::runtime
