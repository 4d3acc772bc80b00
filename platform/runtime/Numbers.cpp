#include "platform/runtime/Numbers.h"

#include "platform/runtime/Error.h"
#include "platform/runtime/NumberText.h"

#include <QLocale>

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace platform::runtime {

namespace detail {

std::string generalText(double value, int precision)
{
    if (value == 0.0)
        return "0"; // also -0
    char buffer[64];
    const auto result =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, precision);
    std::string text(buffer, result.ptr);
    for (char &c : text) {
        if (c == 'e')
            c = 'E';
    }
    return text; // inf and nan come out as "inf", "-inf", "nan": the runtime had no such values
}

QString generalText(double value, int precision, const QString &decimal)
{
    QString text = QString::fromLatin1(generalText(value, precision));
    if (decimal != QLatin1String("."))
        text.replace(QLatin1Char('.'), decimal);
    return text;
}

Decimal15 decimal15(double value)
{
    Decimal15 result;
    value = std::fabs(value);
    if (value == 0.0 || !std::isfinite(value))
        return result;
    char buffer[64];
    // d.dddddddddddddde+XX: 15 significant digits, rounded by the library (exactly, half even on
    // the binary value), which is how the runtime turned a Double into decimal digits.
    const auto end =
        std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific, 14).ptr;
    std::string text(buffer, end);
    const auto e = text.find('e');
    int exponent = 0;
    std::from_chars(text.data() + e + 1 + (text[e + 1] == '+' ? 1 : 0), text.data() + text.size(),
                    exponent);
    std::string digits;
    for (std::size_t i = 0; i < e; ++i) {
        if (text[i] >= '0' && text[i] <= '9')
            digits += text[i];
    }
    while (!digits.empty() && digits.back() == '0')
        digits.pop_back();
    result.digits = digits;
    result.exponent10 = exponent + 1;
    return result;
}

} // namespace detail

namespace {

enum class Status { Ok, NotNumeric, Overflow };

struct Parsed
{
    Status status = Status::NotNumeric;
    bool radix = false;     // a hexadecimal or octal whole number
    quint64 radixValue = 0; // its unsigned value (at most 64 bits)
    double value = 0;       // a decimal number's value
};

bool isBlank(QChar c)
{
    const char16_t u = c.unicode();
    return u == ' ' || u == '\t' || u == '\n' || u == '\r' || u == '\v' || u == '\f' || u == 0x00A0
           || u == 0x202F;
}

bool isAsciiDigit(QChar c)
{
    return c.unicode() >= '0' && c.unicode() <= '9';
}

bool matchAt(const QString &text, qsizetype i, const QString &what)
{
    return !what.isEmpty() && QStringView(text).mid(i).startsWith(what);
}

int digitValue(QChar c, int radix)
{
    const char16_t u = c.unicode();
    int d = -1;
    if (u >= '0' && u <= '9')
        d = u - '0';
    else if (u >= 'a' && u <= 'f')
        d = u - 'a' + 10;
    else if (u >= 'A' && u <= 'F')
        d = u - 'A' + 10;
    return d < radix ? d : -1;
}

// A canonical decimal "[-]digits[.digits]" and a decimal exponent as a Double; Overflow beyond
// the Double range, 0 below it.
Parsed toValue(bool negative, const std::string &intDigits, const std::string &fracDigits,
               long long exponent)
{
    Parsed parsed;
    parsed.status = Status::Ok;
    // Magnitude check first, so that from_chars is never asked for an absurd exponent.
    const auto firstNonZero = intDigits.find_first_not_of('0');
    long long magnitude; // decimal exponent of the leading digit, plus one
    if (firstNonZero != std::string::npos) {
        magnitude = static_cast<long long>(intDigits.size() - firstNonZero) + exponent;
    } else {
        const auto f = fracDigits.find_first_not_of('0');
        if (f == std::string::npos) {
            return parsed; // 0, never -0
        }
        magnitude = -static_cast<long long>(f) + exponent;
    }
    if (magnitude > 400) {
        parsed.status = Status::Overflow;
        return parsed;
    }
    if (magnitude < -400)
        return parsed; // 0
    std::string canonical = negative ? "-" : "";
    canonical += intDigits.empty() ? "0" : intDigits;
    if (!fracDigits.empty())
        canonical += "." + fracDigits;
    canonical += "e" + std::to_string(exponent);
    double value = 0;
    const auto result =
        std::from_chars(canonical.data(), canonical.data() + canonical.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        if (magnitude > 0)
            parsed.status = Status::Overflow;
        else
            parsed.value = 0;
        return parsed;
    }
    if (result.ec != std::errc() || !std::isfinite(value)) {
        parsed.status = Status::Overflow;
        return parsed;
    }
    parsed.value = value;
    return parsed;
}

// "&H..." or "&O..." starting at i (on the "&"); blanks only around the whole.
Parsed parseRadix(const QString &s, qsizetype i)
{
    Parsed parsed;
    const qsizetype n = s.size();
    if (i + 1 >= n)
        return parsed;
    const QChar kind = s[i + 1].toUpper();
    const int radix = kind == QLatin1Char('H') ? 16 : kind == QLatin1Char('O') ? 8 : 0;
    if (radix == 0)
        return parsed;
    i += 2;
    quint64 value = 0;
    bool any = false, overflow = false;
    while (i < n) {
        const int d = digitValue(s[i], radix);
        if (d < 0)
            break;
        any = true;
        if (value > (std::numeric_limits<quint64>::max() - d) / radix)
            overflow = true;
        else
            value = value * radix + d;
        ++i;
    }
    while (i < n && isBlank(s[i]))
        ++i;
    if (!any || i != n)
        return parsed;
    parsed.status = overflow ? Status::Overflow : Status::Ok;
    parsed.radix = true;
    parsed.radixValue = value;
    return parsed;
}

Parsed parseLocale(const QString &s)
{
    const QLocale locale;
    const QString decimal = locale.decimalPoint();
    const QString group = locale.groupSeparator();
    const QString currency = locale.currencySymbol(QLocale::CurrencySymbol);
    const QString minus = locale.negativeSign();
    const QString plus = locale.positiveSign();

    const qsizetype n = s.size();
    qsizetype i = 0;
    auto skipBlanks = [&] {
        while (i < n && isBlank(s[i]))
            ++i;
    };
    // A sign at i: +1 / -1 with its length, 0 for none.
    auto signAt = [&](qsizetype at, qsizetype *length) {
        if (at >= n)
            return 0;
        if (s[at] == QLatin1Char('-')) {
            *length = 1;
            return -1;
        }
        if (s[at] == QLatin1Char('+')) {
            *length = 1;
            return 1;
        }
        if (matchAt(s, at, minus)) {
            *length = minus.size();
            return -1;
        }
        if (matchAt(s, at, plus)) {
            *length = plus.size();
            return 1;
        }
        return 0;
    };

    skipBlanks();
    if (i == n)
        return {};
    if (s[i] == QLatin1Char('&'))
        return parseRadix(s, i);

    bool haveSign = false, negative = false, haveCurrency = false, paren = false, closed = false;
    for (;;) {
        skipBlanks();
        qsizetype length = 0;
        if (const int sign = signAt(i, &length); sign != 0 && !haveSign && !paren) {
            haveSign = true;
            negative = sign < 0;
            i += length;
        } else if (i < n && s[i] == QLatin1Char('(') && !paren && !haveSign) {
            paren = true;
            i += 1;
        } else if (!haveCurrency && matchAt(s, i, currency)) {
            haveCurrency = true;
            i += currency.size();
        } else {
            break;
        }
    }

    std::string intDigits, fracDigits;
    while (i < n) {
        if (isAsciiDigit(s[i])) {
            intDigits += static_cast<char>(s[i].unicode());
            ++i;
        } else if (!intDigits.empty() && matchAt(s, i, group) && !matchAt(s, i, decimal)) {
            i += group.size();
        } else {
            break;
        }
    }
    if (matchAt(s, i, decimal)) {
        i += decimal.size();
        while (i < n && isAsciiDigit(s[i])) {
            fracDigits += static_cast<char>(s[i].unicode());
            ++i;
        }
    }
    if (intDigits.empty() && fracDigits.empty())
        return {};

    long long exponent = 0;
    if (i < n && QStringLiteral("eEdD").contains(s[i])) {
        qsizetype j = i + 1;
        int expSign = 1;
        if (j < n && (s[j] == QLatin1Char('+') || s[j] == QLatin1Char('-'))) {
            expSign = s[j] == QLatin1Char('-') ? -1 : 1;
            ++j;
        }
        if (j < n && isAsciiDigit(s[j])) {
            while (j < n && isAsciiDigit(s[j])) {
                if (exponent < 100000)
                    exponent = exponent * 10 + (s[j].unicode() - '0');
                ++j;
            }
            exponent *= expSign;
            i = j;
        }
        // An "E" without digits is left for the suffix, where it fails (unless it begins the
        // currency sign).
    }

    for (;;) {
        skipBlanks();
        qsizetype length = 0;
        if (const int sign = signAt(i, &length); sign != 0 && !haveSign && !paren) {
            haveSign = true;
            negative = sign < 0;
            i += length;
        } else if (!haveCurrency && matchAt(s, i, currency)) {
            haveCurrency = true;
            i += currency.size();
        } else if (paren && !closed && i < n && s[i] == QLatin1Char(')')) {
            closed = true;
            i += 1;
        } else {
            break;
        }
    }
    if (i != n || paren != closed)
        return {};
    return toValue(negative || paren, intDigits, fracDigits, exponent);
}

[[noreturn]] void typeMismatch()
{
    throw Error(QStringLiteral("Type mismatch"));
}

[[noreturn]] void overflow()
{
    throw Error(QStringLiteral("Overflow"));
}

Parsed parseOrThrow(const QString &text)
{
    Parsed parsed = parseLocale(text);
    if (parsed.status == Status::NotNumeric)
        typeMismatch();
    if (parsed.status == Status::Overflow)
        overflow();
    return parsed;
}

// Round half to even, exactly.
double roundHalfEven(double value)
{
    const double floor = std::floor(value);
    const double diff = value - floor;
    if (diff > 0.5)
        return floor + 1;
    if (diff < 0.5)
        return floor;
    return std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1;
}

template <typename Int>
Int roundTo(double value)
{
    if (!std::isfinite(value))
        overflow();
    const double rounded = roundHalfEven(value);
    if (rounded < static_cast<double>(std::numeric_limits<Int>::min())
        || rounded > static_cast<double>(std::numeric_limits<Int>::max()))
        overflow();
    return static_cast<Int>(rounded);
}

template <typename Int>
Int radixTo(quint64 value)
{
    using Unsigned = std::make_unsigned_t<Int>;
    if (value > std::numeric_limits<Unsigned>::max())
        overflow();
    return static_cast<Int>(static_cast<Unsigned>(value));
}

} // namespace

bool isNumeric(const QString &text)
{
    const Parsed parsed = parseLocale(text);
    if (parsed.status != Status::Ok)
        return false;
    return !parsed.radix || parsed.radixValue <= std::numeric_limits<quint32>::max();
}

double toDouble(const QString &text)
{
    const Parsed parsed = parseOrThrow(text);
    if (parsed.radix)
        return radixTo<qint32>(parsed.radixValue);
    return parsed.value;
}

qint16 toInteger(double value)
{
    return roundTo<qint16>(value);
}

qint32 toLong(double value)
{
    return roundTo<qint32>(value);
}

qint16 toInteger(const QString &text)
{
    const Parsed parsed = parseOrThrow(text);
    if (parsed.radix)
        return radixTo<qint16>(parsed.radixValue);
    return roundTo<qint16>(parsed.value);
}

qint32 toLong(const QString &text)
{
    const Parsed parsed = parseOrThrow(text);
    if (parsed.radix)
        return radixTo<qint32>(parsed.radixValue);
    return roundTo<qint32>(parsed.value);
}

std::optional<double> leadingNumber(const QString &text, QStringView decimalPoint)
{
    // The characters the rule ignores wherever they stand.
    const auto ignored = [](QChar c) {
        return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n');
    };
    const qsizetype n = text.size();
    qsizetype i = 0;
    auto next = [&]() -> QChar {
        while (i < n && ignored(text[i]))
            ++i;
        return i < n ? text[i] : QChar();
    };

    if (next() == QLatin1Char('&')) {
        ++i;
        const QChar kind = next().toUpper();
        const int radix = kind == QLatin1Char('H') ? 16 : kind == QLatin1Char('O') ? 8 : 0;
        if (radix == 0)
            return std::nullopt;
        ++i;
        quint64 value = 0;
        bool any = false;
        for (int d; (d = digitValue(next(), radix)) >= 0; ++i) {
            any = true;
            value = value * radix + d;
            if (value > std::numeric_limits<quint32>::max())
                overflow();
        }
        if (!any)
            return std::nullopt;
        if (value <= std::numeric_limits<quint16>::max())
            return static_cast<qint16>(static_cast<quint16>(value));
        return static_cast<qint32>(static_cast<quint32>(value));
    }

    bool negative = false;
    if (const QChar c = next(); c == QLatin1Char('-') || c == QLatin1Char('+')) {
        negative = c == QLatin1Char('-');
        ++i;
    }
    std::string intDigits, fracDigits;
    while (isAsciiDigit(next())) {
        intDigits += static_cast<char>(text[i].unicode());
        ++i;
    }
    next(); // blanks before the separator
    if (!decimalPoint.isEmpty() && QStringView(text).mid(i).startsWith(decimalPoint)) {
        i += decimalPoint.size();
        while (isAsciiDigit(next())) {
            fracDigits += static_cast<char>(text[i].unicode());
            ++i;
        }
    }
    if (intDigits.empty() && fracDigits.empty())
        return std::nullopt;
    long long exponent = 0;
    if (const QChar c = next(); QStringLiteral("eEdD").contains(c) && !c.isNull()) {
        ++i;
        int sign = 1;
        if (const QChar s = next(); s == QLatin1Char('-') || s == QLatin1Char('+')) {
            sign = s == QLatin1Char('-') ? -1 : 1;
            ++i;
        }
        // "1E" or "1E-" has no exponent yet: the number is the mantissa.
        while (isAsciiDigit(next())) {
            if (exponent < 100000)
                exponent = exponent * 10 + (text[i].unicode() - '0');
            ++i;
        }
        exponent *= sign;
    }
    const Parsed parsed = toValue(negative, intDigits, fracDigits, exponent);
    if (parsed.status == Status::Overflow)
        overflow();
    return parsed.value;
}

double val(const QString &text)
{
    return leadingNumber(text, u".").value_or(0);
}

QString numberText(double value)
{
    return detail::generalText(value, 15, QLocale().decimalPoint());
}

QString singleText(double value)
{
    return detail::generalText(static_cast<float>(value), 7, QLocale().decimalPoint());
}

} // namespace platform::runtime
