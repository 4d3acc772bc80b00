#include "platform/olap/CellsetData.h"

#include <cmath>

namespace platform::olap {

namespace {

const QString valueName = QStringLiteral("VALUE");
const QString formattedName = QStringLiteral("FORMATTED_VALUE");
const QString ordinalName = QStringLiteral("CELL_ORDINAL");
const QString formatName = QStringLiteral("FORMAT_STRING");
const QString foreName = QStringLiteral("FORE_COLOR");
const QString backName = QStringLiteral("BACK_COLOR");
const QString fontNameName = QStringLiteral("FONT_NAME");
const QString fontSizeName = QStringLiteral("FONT_SIZE");
const QString fontFlagsName = QStringLiteral("FONT_FLAGS");

QString styleKey(const CellsetData::Style &style)
{
    QString key;
    for (const QVariant *v : {&style.formatString, &style.foreColor, &style.backColor,
                              &style.fontName, &style.fontSize, &style.fontFlags}) {
        key += QString::number(v->typeId());
        key += QLatin1Char(':');
        key += v->toString();
        key += QChar(0x1f);
    }
    return key;
}

} // namespace

const QStringList &CellsetData::knownCellProperties()
{
    // clang-format off
    static const QStringList names{valueName,   formattedName, ordinalName,
                                   formatName,  foreName,      backName,
                                   fontNameName, fontSizeName, fontFlagsName};
    // clang-format on
    return names;
}

QStringList CellsetData::defaultCellProperties()
{
    return {valueName, formattedName, formatName};
}

QString formatCellNumber(double value, const runtime::NumberFormat &format)
{
    if (std::isnan(value))
        return QStringLiteral("NaN");
    if (std::isinf(value))
        return value > 0 ? QStringLiteral("Infinity") : QStringLiteral("-Infinity");
    return format.format(value);
}

void CellsetData::resizeCells(qint64 count)
{
    m_numbers.assign(std::size_t(count), 0.0);
    m_kinds.assign(std::size_t(count), Kind::Empty);
    m_styles.clear();
    m_formatted.clear();
    m_texts.clear();
}

qint64 CellsetData::ordinal(std::span<const int> indexes) const
{
    if (indexes.size() != axes.size())
        return -1;
    qint64 result = 0;
    qint64 stride = 1;
    for (std::size_t a = 0; a < axes.size(); ++a) {
        const int count = axes[a].positionCount;
        if (indexes[a] < 0 || indexes[a] >= count)
            return -1;
        result += indexes[a] * stride;
        stride *= count;
    }
    return result;
}

QVariant CellsetData::value(qint64 ordinal) const
{
    const std::size_t i = std::size_t(ordinal);
    switch (m_kinds[i]) {
    case Kind::Empty:
        return QVariant();
    case Kind::Number:
        return QVariant(m_numbers[i]);
    case Kind::Boolean:
        return QVariant(m_numbers[i] != 0);
    case Kind::String:
    case Kind::Error:
        return QVariant(m_texts[std::size_t(m_numbers[i])]);
    }
    return QVariant();
}

QString CellsetData::formattedValue(qint64 ordinal) const
{
    const std::size_t i = std::size_t(ordinal);
    if (!m_formatted.empty() && m_formatted[i] != 0)
        return m_texts[m_formatted[i] - 1];
    switch (m_kinds[i]) {
    case Kind::Empty:
        return QString();
    case Kind::Number:
        return formatCellNumber(m_numbers[i], m_formats[m_styles.empty() ? 0 : m_styles[i]]);
    case Kind::Boolean:
        return m_numbers[i] != 0 ? QStringLiteral("true") : QStringLiteral("false");
    case Kind::String:
    case Kind::Error:
        return m_texts[std::size_t(m_numbers[i])];
    }
    return QString();
}

int CellsetData::propertyIndex(QStringView name) const
{
    for (int i = 0; i < cellProperties.size(); ++i) {
        if (cellProperties[i].compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

QVariant CellsetData::property(qint64 ordinal, QStringView name) const
{
    const int index = propertyIndex(name);
    if (index < 0)
        return QVariant();
    const QString &p = cellProperties[index];
    const Style &s = style(ordinal);
    if (p.compare(valueName, Qt::CaseInsensitive) == 0)
        return value(ordinal);
    if (p.compare(formattedName, Qt::CaseInsensitive) == 0)
        return formattedValue(ordinal);
    if (p.compare(ordinalName, Qt::CaseInsensitive) == 0)
        return QVariant(ordinal);
    if (p.compare(formatName, Qt::CaseInsensitive) == 0)
        return s.formatString;
    if (p.compare(foreName, Qt::CaseInsensitive) == 0)
        return s.foreColor;
    if (p.compare(backName, Qt::CaseInsensitive) == 0)
        return s.backColor;
    if (p.compare(fontNameName, Qt::CaseInsensitive) == 0)
        return s.fontName;
    if (p.compare(fontSizeName, Qt::CaseInsensitive) == 0)
        return s.fontSize;
    if (p.compare(fontFlagsName, Qt::CaseInsensitive) == 0)
        return s.fontFlags;
    return QVariant();
}

std::uint32_t CellsetData::addText(const QString &text)
{
    m_texts.push_back(text);
    return std::uint32_t(m_texts.size() - 1);
}

void CellsetData::setEmpty(qint64 ordinal)
{
    m_kinds[std::size_t(ordinal)] = Kind::Empty;
    m_numbers[std::size_t(ordinal)] = 0;
}

void CellsetData::setNumber(qint64 ordinal, double value)
{
    m_kinds[std::size_t(ordinal)] = Kind::Number;
    m_numbers[std::size_t(ordinal)] = value;
}

void CellsetData::setBoolean(qint64 ordinal, bool value)
{
    m_kinds[std::size_t(ordinal)] = Kind::Boolean;
    m_numbers[std::size_t(ordinal)] = value ? 1 : 0;
}

void CellsetData::setString(qint64 ordinal, const QString &value)
{
    m_kinds[std::size_t(ordinal)] = Kind::String;
    m_numbers[std::size_t(ordinal)] = double(addText(value));
}

void CellsetData::setError(qint64 ordinal, const QString &text)
{
    m_kinds[std::size_t(ordinal)] = Kind::Error;
    m_numbers[std::size_t(ordinal)] = double(addText(text));
}

void CellsetData::setFormattedValue(qint64 ordinal, const QString &text)
{
    if (m_formatted.empty())
        m_formatted.assign(m_kinds.size(), 0);
    m_formatted[std::size_t(ordinal)] = addText(text) + 1;
}

std::uint32_t CellsetData::addStyle(const Style &style)
{
    if (m_styleIndex.isEmpty())
        m_styleIndex.insert(styleKey(Style()), 0);
    const QString key = styleKey(style);
    if (const auto it = m_styleIndex.constFind(key); it != m_styleIndex.constEnd())
        return it.value();
    const auto index = std::uint32_t(m_styleTable.size());
    m_styleTable.push_back(style);
    m_formats.emplace_back(style.formatString.toString());
    m_styleIndex.insert(key, index);
    return index;
}

void CellsetData::setStyle(qint64 ordinal, std::uint32_t style)
{
    if (m_styles.empty()) {
        if (style == 0)
            return;
        m_styles.assign(m_kinds.size(), 0);
    }
    m_styles[std::size_t(ordinal)] = style;
}

void CellsetData::selectCells(std::span<const qint64> keep)
{
    std::vector<double> numbers(keep.size());
    std::vector<Kind> kinds(keep.size());
    std::vector<std::uint32_t> styles(m_styles.empty() ? 0 : keep.size());
    std::vector<std::uint32_t> formatted(m_formatted.empty() ? 0 : keep.size());
    for (std::size_t i = 0; i < keep.size(); ++i) {
        const auto from = std::size_t(keep[i]);
        numbers[i] = m_numbers[from];
        kinds[i] = m_kinds[from];
        if (!styles.empty())
            styles[i] = m_styles[from];
        if (!formatted.empty())
            formatted[i] = m_formatted[from];
    }
    m_numbers = std::move(numbers);
    m_kinds = std::move(kinds);
    m_styles = std::move(styles);
    m_formatted = std::move(formatted);
}

} // namespace platform::olap
