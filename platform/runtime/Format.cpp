#include "platform/runtime/Format.h"

#include "platform/runtime/BoolWords.h"
#include "platform/runtime/NumberText.h"
#include "platform/runtime/Numbers.h"

#include <QLocale>
#include <QMetaType>

#include <cmath>
#include <string>
#include <vector>

namespace platform::runtime {

namespace {

struct Token
{
    static Token of(int kind, const QString &text = {})
    {
        Token t;
        t.kind = static_cast<Kind>(kind);
        t.text = text;
        return t;
    }

    enum Kind { Literal, Digit, Point, Exponent, Comma };
    Kind kind = Literal;
    QString text;          // Literal
    bool zero = false;     // Digit: "0" (true) or "#"
    bool fraction = false; // Digit: after the decimal point
    bool upper = true;     // Exponent: "E" or "e"
    bool plus = true;      // Exponent: "E+" or "E-"
    int expDigits = 0;     // Exponent: minimum digits
};

struct Section
{
    std::vector<Token> tokens;
    bool empty = true;
    bool grouping = false;
    int scaling = 0; // divide by 1000 this many times
    bool percent = false;
    bool exponent = false;
    int wholePlaceholders = 0;
    int fracPlaceholders = 0;
    bool anyDigit = false;
};

enum class Named { Pattern, General, Currency, TrueFalse, YesNo, OnOff };

// Splits at ";" outside quotes and escapes.
QStringList splitSections(const QString &pattern)
{
    QStringList sections;
    QString current;
    bool inQuote = false;
    for (qsizetype i = 0; i < pattern.size(); ++i) {
        const QChar c = pattern[i];
        if (inQuote) {
            current += c;
            if (c == QLatin1Char('"'))
                inQuote = false;
        } else if (c == QLatin1Char('"')) {
            current += c;
            inQuote = true;
        } else if (c == QLatin1Char('\\')) {
            current += c;
            if (i + 1 < pattern.size())
                current += pattern[++i];
        } else if (c == QLatin1Char(';')) {
            sections << current;
            current.clear();
        } else {
            current += c;
        }
    }
    sections << current;
    return sections;
}

void addLiteral(std::vector<Token> &tokens, const QString &text)
{
    if (text.isEmpty())
        return;
    if (!tokens.empty() && tokens.back().kind == Token::Literal)
        tokens.back().text += text;
    else
        tokens.push_back(Token::of(Token::Literal, text));
}

Section parseSection(const QString &s)
{
    Section section;
    section.empty = s.isEmpty();
    std::vector<Token> raw;
    bool seenPoint = false, seenExp = false;
    const qsizetype n = s.size();
    for (qsizetype i = 0; i < n;) {
        const QChar c = s[i];
        if (c == QLatin1Char('"')) {
            const qsizetype close = s.indexOf(QLatin1Char('"'), i + 1);
            addLiteral(raw, close < 0 ? s.mid(i + 1) : s.mid(i + 1, close - i - 1));
            i = close < 0 ? n : close + 1;
        } else if (c == QLatin1Char('\\')) {
            if (i + 1 < n)
                addLiteral(raw, QString(s[i + 1]));
            i += 2;
        } else if ((c == QLatin1Char('0') || c == QLatin1Char('#')) && !seenExp) {
            Token t;
            t.kind = Token::Digit;
            t.zero = c == QLatin1Char('0');
            t.fraction = seenPoint;
            raw.push_back(t);
            section.anyDigit = true;
            ++i;
        } else if (c == QLatin1Char('.') && !seenPoint && !seenExp) {
            raw.push_back(Token::of(Token::Point));
            seenPoint = true;
            ++i;
        } else if (c == QLatin1Char(',') && !seenExp) {
            raw.push_back(Token::of(Token::Comma));
            ++i;
        } else if ((c == QLatin1Char('E') || c == QLatin1Char('e')) && i + 1 < n
                   && (s[i + 1] == QLatin1Char('+') || s[i + 1] == QLatin1Char('-')) && !seenExp
                   && (section.anyDigit || seenPoint)) {
            Token t;
            t.kind = Token::Exponent;
            t.upper = c == QLatin1Char('E');
            t.plus = s[i + 1] == QLatin1Char('+');
            i += 2;
            while (i < n && (s[i] == QLatin1Char('0') || s[i] == QLatin1Char('#'))) {
                if (s[i] == QLatin1Char('0'))
                    ++t.expDigits;
                ++i;
            }
            raw.push_back(t);
            seenExp = true;
            section.exponent = true;
        } else {
            if (c == QLatin1Char('%'))
                section.percent = true;
            addLiteral(raw, QString(c));
            ++i;
        }
    }

    // Commas: grouping, scaling or literal, by their neighbours.
    for (std::size_t k = 0; k < raw.size(); ++k) {
        Token &t = raw[k];
        if (t.kind == Token::Digit) {
            if (t.fraction)
                ++section.fracPlaceholders;
            else
                ++section.wholePlaceholders;
        }
        if (t.kind != Token::Comma)
            continue;
        bool fraction = false, before = false, laterSamePart = false;
        for (std::size_t j = 0; j < k; ++j) {
            if (raw[j].kind == Token::Point)
                fraction = true;
            if (raw[j].kind == Token::Digit)
                before = true;
        }
        for (std::size_t j = k + 1; j < raw.size(); ++j) {
            if (raw[j].kind == Token::Point || raw[j].kind == Token::Exponent)
                break;
            if (raw[j].kind == Token::Digit)
                laterSamePart = true;
        }
        if (!before) {
            t = Token::of(Token::Literal, QStringLiteral(","));
        } else if (laterSamePart) {
            if (!fraction)
                section.grouping = true; // a comma between fraction digits is ignored
        } else {
            ++section.scaling;
        }
    }
    for (Token &t : raw) {
        if (t.kind == Token::Comma)
            continue;
        if (t.kind == Token::Literal)
            addLiteral(section.tokens, t.text);
        else
            section.tokens.push_back(t);
    }
    if (section.exponent)
        section.grouping = false;
    return section;
}

// Adds one to a string of decimal digits; false when it carries out of the first digit.
bool increment(std::string &digits)
{
    for (auto i = digits.size(); i-- > 0;) {
        if (digits[i] != '9') {
            ++digits[i];
            return true;
        }
        digits[i] = '0';
    }
    return false;
}

struct Rendered
{
    QString text;
    bool allZero = true;
};

struct LocaleSymbols
{
    QString decimal;
    QString group;
};

Rendered render(const Section &section, double magnitude, const LocaleSymbols &symbols)
{
    Rendered out;
    const int fracCount = section.fracPlaceholders;
    std::string whole; // shown whole digits, no leading zeros ("" for none)
    std::string frac(fracCount, '0');
    int exponent = 0; // exponent form: the shown exponent

    detail::Decimal15 d = detail::decimal15(magnitude);
    std::string digits = d.digits; // |value| = 0.digits x 10^e
    int e = d.exponent10;
    if (!digits.empty()) {
        if (section.percent)
            e += 2;
        e -= 3 * section.scaling;
    }

    if (section.exponent) {
        int m = section.wholePlaceholders;
        int significant = m + fracCount;
        if (significant == 0) {
            m = 1;
            significant = 1;
        }
        if (!digits.empty()) {
            if (static_cast<int>(digits.size()) > significant) {
                const bool up = digits[significant] >= '5';
                digits.resize(significant);
                if (up && !increment(digits)) {
                    digits = "1" + std::string(significant - 1, '0');
                    ++e;
                }
            }
            digits.resize(significant, '0');
            exponent = e - m;
            whole = digits.substr(0, m);
            frac = digits.substr(m, fracCount);
        }
    } else if (!digits.empty()) {
        const int keep = e + fracCount; // digits that stay
        if (keep < 0) {
            digits.clear();
        } else if (keep < static_cast<int>(digits.size())) {
            const bool up = digits[keep] >= '5';
            digits.resize(keep);
            if (up && !increment(digits)) {
                digits.insert(digits.begin(), '1');
                ++e;
                digits.resize(std::max(0, e + fracCount));
            }
        }
        if (!digits.empty()) {
            const int len = static_cast<int>(digits.size());
            if (e > 0)
                whole = digits.substr(0, std::min(e, len)) + std::string(std::max(0, e - len), '0');
            for (int p = 0; p < fracCount; ++p) {
                const int index = e + p;
                if (index >= 0 && index < len)
                    frac[p] = digits[index];
            }
        }
    }
    out.allZero = whole.find_first_not_of('0') == std::string::npos
                  && frac.find_first_not_of('0') == std::string::npos;

    if (!section.anyDigit) {
        // No placeholder: the number is not shown, only the section's text.
        for (const Token &t : section.tokens) {
            if (t.kind == Token::Literal)
                out.text += t.text;
            else if (t.kind == Token::Point)
                out.text += symbols.decimal;
        }
        return out;
    }

    // The whole part, right to left: the digits padded with zeros up to the leftmost "0".
    std::size_t wholeEnd = 0;
    while (wholeEnd < section.tokens.size()) {
        const Token &t = section.tokens[wholeEnd];
        if (t.kind == Token::Point || t.kind == Token::Exponent
            || (t.kind == Token::Digit && t.fraction))
            break;
        ++wholeEnd;
    }
    int zeroPositions = 0;
    {
        int fromRight = 0;
        for (std::size_t k = wholeEnd; k-- > 0;) {
            const Token &t = section.tokens[k];
            if (t.kind != Token::Digit)
                continue;
            ++fromRight;
            if (t.zero)
                zeroPositions = fromRight;
        }
    }
    std::string shown = whole;
    if (static_cast<int>(shown.size()) < zeroPositions)
        shown.insert(0, zeroPositions - shown.size(), '0');

    QString wholeText;
    int remaining = static_cast<int>(shown.size());
    int position = 0; // of the next digit, counted from the right
    auto emitDigit = [&] {
        const char digit = shown[--remaining];
        if (section.grouping && position > 0 && position % 3 == 0)
            wholeText.prepend(symbols.group);
        wholeText.prepend(QLatin1Char(digit));
        ++position;
    };
    std::size_t firstWhole = wholeEnd;
    for (std::size_t k = 0; k < wholeEnd; ++k) {
        if (section.tokens[k].kind == Token::Digit) {
            firstWhole = k;
            break;
        }
    }
    for (std::size_t k = wholeEnd; k-- > 0;) {
        const Token &t = section.tokens[k];
        if (t.kind == Token::Literal) {
            wholeText.prepend(t.text);
        } else if (t.kind == Token::Digit) {
            if (k == firstWhole) {
                while (remaining > 0)
                    emitDigit();
            } else if (remaining > 0) {
                emitDigit();
            }
        }
    }
    if (firstWhole == wholeEnd) { // no whole-part placeholder: the digits stand before the point
        QString digitsText;
        std::swap(digitsText, wholeText);
        while (remaining > 0)
            emitDigit();
        std::swap(digitsText, wholeText);
        wholeText += digitsText;
    }
    out.text = wholeText;

    // Trailing "#" fraction places holding 0 are left out.
    std::vector<bool> dropped(fracCount, false);
    {
        std::vector<bool> zeroPlace;
        for (const Token &t : section.tokens) {
            if (t.kind == Token::Digit && t.fraction)
                zeroPlace.push_back(t.zero);
        }
        for (int p = fracCount; p-- > 0;) {
            if (zeroPlace[p] || frac[p] != '0')
                break;
            dropped[p] = true;
        }
    }
    int fracIndex = 0;
    for (std::size_t k = wholeEnd; k < section.tokens.size(); ++k) {
        const Token &t = section.tokens[k];
        switch (t.kind) {
        case Token::Literal:
            out.text += t.text;
            break;
        case Token::Point:
            out.text += symbols.decimal;
            break;
        case Token::Digit:
            if (!dropped[fracIndex])
                out.text += QLatin1Char(frac[fracIndex]);
            ++fracIndex;
            break;
        case Token::Exponent: {
            out.text += t.upper ? QLatin1Char('E') : QLatin1Char('e');
            if (exponent < 0)
                out.text += QLatin1Char('-');
            else if (t.plus)
                out.text += QLatin1Char('+');
            out.text += QStringLiteral("%1").arg(std::abs(exponent), std::max(1, t.expDigits), 10,
                                                 QLatin1Char('0'));
            break;
        }
        case Token::Comma:
            break;
        }
    }
    return out;
}

Named namedKind(const QString &pattern, QString *equivalent)
{
    struct Entry
    {
        const char *name;
        Named kind;
        const char *pattern;
    };
    static const Entry entries[] = {
        {"General Number", Named::General, ""}, {"Currency", Named::Currency, ""},
        {"Fixed", Named::Pattern, "0.00"},      {"Standard", Named::Pattern, "#,##0.00"},
        {"Percent", Named::Pattern, "0.00%"},   {"Scientific", Named::Pattern, "0.00E+00"},
        {"True/False", Named::TrueFalse, ""},   {"Yes/No", Named::YesNo, ""},
        {"On/Off", Named::OnOff, ""},
    };
    for (const Entry &entry : entries) {
        if (pattern.compare(QLatin1String(entry.name), Qt::CaseInsensitive) == 0) {
            *equivalent = QLatin1String(entry.pattern);
            return entry.kind;
        }
    }
    *equivalent = pattern;
    return pattern.isEmpty() ? Named::General : Named::Pattern;
}

} // namespace

struct NumberFormat::Compiled
{
    Named kind = Named::General;
    std::vector<Section> sections;
};

namespace {

std::shared_ptr<const NumberFormat::Compiled> compile(const QString &pattern)
{
    auto compiled = std::make_shared<NumberFormat::Compiled>();
    QString equivalent;
    compiled->kind = namedKind(pattern, &equivalent);
    if (compiled->kind == Named::Pattern) {
        const QStringList parts = splitSections(equivalent);
        for (qsizetype i = 0; i < parts.size() && i < 3; ++i)
            compiled->sections.push_back(parseSection(parts[i]));
        if (compiled->sections.front().empty)
            compiled->kind = Named::General; // ";(0)" and the like: the general number
    }
    return compiled;
}

QString currencyText(double value)
{
    const QLocale locale;
    static const Section standard = parseSection(QStringLiteral("#,##0.00"));
    const Rendered number =
        render(standard, std::fabs(value), {locale.decimalPoint(), locale.groupSeparator()});
    const bool negative = value < 0 && !number.allZero;
    const QString symbol = locale.currencySymbol(QLocale::CurrencySymbol);
    // The locale's placement of the sign, the symbol and the brackets, around a "1".
    QString shape = locale.toCurrencyString(negative ? -1.0 : 1.0, symbol, 0);
    const qsizetype one = shape.indexOf(QLatin1Char('1'));
    if (one < 0)
        return (negative ? QStringLiteral("-") : QString()) + symbol + number.text;
    shape.replace(one, 1, number.text);
    return shape;
}

QString boolPair(bool value, Named kind)
{
    const bool spanish = QLocale().language() == QLocale::Spanish;
    switch (kind) {
    case Named::YesNo:
        if (spanish)
            return value ? QStringLiteral("S\u00ed") : QStringLiteral("No");
        return value ? QStringLiteral("Yes") : QStringLiteral("No");
    case Named::OnOff:
        if (spanish)
            return value ? QStringLiteral("Activado") : QStringLiteral("Desactivado");
        return value ? QStringLiteral("On") : QStringLiteral("Off");
    default:
        return boolWord(value);
    }
}

} // namespace

NumberFormat::NumberFormat(const QString &pattern)
    : m_pattern(pattern), m_compiled(compile(pattern))
{}

NumberFormat::~NumberFormat() = default;
NumberFormat::NumberFormat(const NumberFormat &) = default;
NumberFormat &NumberFormat::operator=(const NumberFormat &) = default;

QString NumberFormat::format(double value) const
{
    if (!std::isfinite(value))
        return numberText(value);
    switch (m_compiled->kind) {
    case Named::General:
        return numberText(value);
    case Named::Currency:
        return currencyText(value);
    case Named::TrueFalse:
    case Named::YesNo:
    case Named::OnOff:
        return boolPair(value != 0.0, m_compiled->kind);
    case Named::Pattern:
        break;
    }
    const QLocale locale;
    const LocaleSymbols symbols{locale.decimalPoint(), locale.groupSeparator()};
    const auto &sections = m_compiled->sections;
    if (value < 0 && sections.size() > 1 && !sections[1].empty)
        return render(sections[1], -value, symbols).text;
    if (value == 0 && sections.size() > 2 && !sections[2].empty)
        return render(sections[2], 0.0, symbols).text;
    const Rendered rendered = render(sections[0], std::fabs(value), symbols);
    if (value < 0 && !rendered.allZero)
        return QLatin1Char('-') + rendered.text;
    return rendered.text;
}

QString format(double value, const QString &pattern)
{
    // The last pattern is kept: a grid formats a whole column with one pattern.
    thread_local NumberFormat last;
    if (last.pattern() != pattern)
        last = NumberFormat(pattern);
    return last.format(value);
}

QString format(const QVariant &value, const QString &pattern)
{
    if (!value.isValid())
        return {};
    switch (value.typeId()) {
    case QMetaType::Nullptr:
        return {};
    case QMetaType::Bool:
        return format(value.toBool() ? -1.0 : 0.0, pattern);
    case QMetaType::QString:
    case QMetaType::QChar: {
        const QString text = value.toString();
        if (isNumeric(text))
            return format(toDouble(text), pattern);
        return text;
    }
    default:
        break;
    }
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (ok)
        return format(number, pattern);
    return value.toString();
}

} // namespace platform::runtime
