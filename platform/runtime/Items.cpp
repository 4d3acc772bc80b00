#include "platform/runtime/Items.h"

#include "platform/runtime/Error.h"
#include "platform/runtime/NumberText.h"

#include <QMetaType>

#include <charconv>
#include <cmath>
#include <string>

namespace platform::runtime {

namespace {

QString quoted(const QString &text)
{
    return QLatin1Char('"') + text + QLatin1Char('"');
}

bool isItemBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t');
}

bool isLineBreak(QChar c)
{
    return c == QLatin1Char('\r') || c == QLatin1Char('\n');
}

// The written number form: [+-]digits[.digits][(E|e|D|d)[+-]digits], or [+-].digits...
bool readNumber(const QString &text, double *value)
{
    std::string canonical;
    qsizetype i = 0;
    const qsizetype n = text.size();
    if (i < n && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
        canonical += static_cast<char>(text[i++].unicode());
    int digits = 0;
    while (i < n && text[i].unicode() >= '0' && text[i].unicode() <= '9') {
        canonical += static_cast<char>(text[i++].unicode());
        ++digits;
    }
    if (i < n && text[i] == QLatin1Char('.')) {
        canonical += '.';
        ++i;
        while (i < n && text[i].unicode() >= '0' && text[i].unicode() <= '9') {
            canonical += static_cast<char>(text[i++].unicode());
            ++digits;
        }
    }
    if (digits == 0)
        return false;
    if (i < n && QStringLiteral("eEdD").contains(text[i])) {
        canonical += 'e';
        ++i;
        if (i < n && (text[i] == QLatin1Char('-') || text[i] == QLatin1Char('+')))
            canonical += static_cast<char>(text[i++].unicode());
        int expDigits = 0;
        while (i < n && text[i].unicode() >= '0' && text[i].unicode() <= '9') {
            canonical += static_cast<char>(text[i++].unicode());
            ++expDigits;
        }
        if (expDigits == 0)
            return false;
    }
    if (i != n)
        return false;
    const char *begin = canonical.data() + (canonical[0] == '+' ? 1 : 0);
    const auto result = std::from_chars(begin, canonical.data() + canonical.size(), *value);
    return result.ec == std::errc() && result.ptr == canonical.data() + canonical.size()
           && std::isfinite(*value);
}

} // namespace

QString writeItem(const QVariant &value)
{
    if (!value.isValid())
        return {};
    switch (value.typeId()) {
    case QMetaType::Nullptr:
        return {};
    case QMetaType::Bool:
        return value.toBool() ? QStringLiteral("#TRUE#") : QStringLiteral("#FALSE#");
    case QMetaType::Int:
    case QMetaType::Short:
    case QMetaType::Long:
    case QMetaType::LongLong:
    case QMetaType::SChar:
        return QString::number(value.toLongLong());
    case QMetaType::UInt:
    case QMetaType::UShort:
    case QMetaType::ULong:
    case QMetaType::ULongLong:
    case QMetaType::UChar:
        return QString::number(value.toULongLong());
    case QMetaType::Double:
        return QString::fromLatin1(detail::generalText(value.toDouble(), 15));
    case QMetaType::Float:
        return QString::fromLatin1(detail::generalText(value.toFloat(), 7));
    case QMetaType::QString:
    case QMetaType::QChar:
        return quoted(value.toString());
    case QMetaType::QByteArray:
        return quoted(QString::fromUtf8(value.toByteArray()));
    default:
        break;
    }
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (ok)
        return QString::fromLatin1(detail::generalText(number, 15));
    return quoted(value.toString());
}

QString writeItems(const QVariantList &values)
{
    QString line;
    for (qsizetype i = 0; i < values.size(); ++i) {
        if (i > 0)
            line += QLatin1Char(',');
        line += writeItem(values[i]);
    }
    return line;
}

bool canWriteAsItem(const QString &text)
{
    return !text.contains(QLatin1Char('"'));
}

ItemReader::ItemReader(QString text) : m_text(std::move(text)) {}

bool ItemReader::atLineEnd() const
{
    return m_pos < m_text.size() && isLineBreak(m_text[m_pos]);
}

void ItemReader::skipLineEnd()
{
    if (m_pos < m_text.size() && m_text[m_pos] == QLatin1Char('\r'))
        ++m_pos;
    if (m_pos < m_text.size() && m_text[m_pos] == QLatin1Char('\n'))
        ++m_pos;
}

ItemReader::Item ItemReader::read()
{
    if (atEnd())
        throw Error(QStringLiteral("Input past end of file"));
    const qsizetype n = m_text.size();
    while (m_pos < n && isItemBlank(m_text[m_pos]))
        ++m_pos;

    Item item;
    if (m_pos < n && m_text[m_pos] == QLatin1Char('"')) {
        item.quoted = true;
        const qsizetype close = m_text.indexOf(QLatin1Char('"'), m_pos + 1);
        if (close < 0) { // unterminated: the rest of the input
            item.text = m_text.mid(m_pos + 1);
            m_pos = n;
            return item;
        }
        item.text = m_text.mid(m_pos + 1, close - m_pos - 1);
        m_pos = close + 1;
        // To the separator; whatever stands before it is dropped.
        while (m_pos < n && m_text[m_pos] != QLatin1Char(',') && !isLineBreak(m_text[m_pos]))
            ++m_pos;
    } else {
        const qsizetype start = m_pos;
        while (m_pos < n && m_text[m_pos] != QLatin1Char(',') && !isLineBreak(m_text[m_pos]))
            ++m_pos;
        qsizetype end = m_pos;
        while (end > start && isItemBlank(m_text[end - 1]))
            --end;
        item.text = m_text.mid(start, end - start);
    }
    if (m_pos < n && m_text[m_pos] == QLatin1Char(','))
        ++m_pos;
    else
        skipLineEnd();
    return item;
}

QString ItemReader::readItem()
{
    return read().text;
}

QVariant ItemReader::readValue()
{
    const Item item = read();
    if (item.quoted)
        return item.text;
    if (item.text.isEmpty() || item.text.compare(QLatin1String("#NULL#"), Qt::CaseInsensitive) == 0)
        return {};
    if (item.text.compare(QLatin1String("#TRUE#"), Qt::CaseInsensitive) == 0)
        return true;
    if (item.text.compare(QLatin1String("#FALSE#"), Qt::CaseInsensitive) == 0)
        return false;
    double number = 0;
    if (readNumber(item.text, &number))
        return number;
    return item.text;
}

QString ItemReader::readLine()
{
    if (atEnd())
        throw Error(QStringLiteral("Input past end of file"));
    const qsizetype start = m_pos;
    while (m_pos < m_text.size() && !isLineBreak(m_text[m_pos]))
        ++m_pos;
    const QString line = m_text.mid(start, m_pos - start);
    skipLineEnd();
    return line;
}

} // namespace platform::runtime
