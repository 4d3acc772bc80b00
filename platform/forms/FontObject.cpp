#include "platform/forms/FontObject.h"

#include "platform/runtime/Error.h"

#include <QFontDatabase>

#include <algorithm>
#include <cmath>

namespace platform::forms {

namespace {

void require(bool valid)
{
    if (!valid)
        throw platform::Error(QStringLiteral("Invalid property value"));
}

} // namespace

FontObject::FontObject(QObject *parent) : QObject(parent)
{
    const QFont general = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    m_name = general.family().isEmpty() ? QStringLiteral("Sans Serif") : general.family();
    if (general.pointSizeF() > 0)
        m_size = std::round(general.pointSizeF() * 10000) / 10000;
}

FontObject::FontObject(const QString &name, double size, bool bold, QObject *parent)
    : FontObject(parent)
{
    setName(name);
    setSize(size);
    setBold(bold);
}

template <typename T> void FontObject::assign(T &member, const T &value)
{
    if (member == value)
        return;
    member = value;
    emit changed();
}

void FontObject::setName(const QString &name)
{
    require(!name.trimmed().isEmpty());
    assign(m_name, name);
}

void FontObject::setSize(double size)
{
    require(std::isfinite(size) && size <= 2048);
    // Sizes are fixed-point values with four decimals; one that rounds to 0 is refused too.
    const double rounded = std::round(size * 10000) / 10000;
    require(rounded > 0);
    assign(m_size, rounded);
}

void FontObject::setBold(bool on)
{
    if (m_bold == on)
        return;
    m_bold = on;
    m_weight = on ? 700 : 400;
    emit changed();
}

void FontObject::setItalic(bool on)
{
    assign(m_italic, on);
}

void FontObject::setUnderline(bool on)
{
    assign(m_underline, on);
}

void FontObject::setStrikethrough(bool on)
{
    assign(m_strikethrough, on);
}

void FontObject::setWeight(int weight)
{
    require(weight >= 0 && weight <= 1000);
    if (m_weight == weight)
        return;
    m_weight = weight;
    m_bold = weight >= 600;
    emit changed();
}

void FontObject::setCharset(int charset)
{
    require(charset >= 0 && charset <= 255);
    assign(m_charset, charset);
}

bool FontObject::sameAs(const FontObject &other) const
{
    return m_name == other.m_name && m_size == other.m_size && m_bold == other.m_bold
           && m_italic == other.m_italic && m_underline == other.m_underline
           && m_strikethrough == other.m_strikethrough && m_weight == other.m_weight
           && m_charset == other.m_charset;
}

void FontObject::copyFrom(const FontObject &other)
{
    if (&other == this || sameAs(other))
        return;
    m_name = other.m_name;
    m_size = other.m_size;
    m_bold = other.m_bold;
    m_italic = other.m_italic;
    m_underline = other.m_underline;
    m_strikethrough = other.m_strikethrough;
    m_weight = other.m_weight;
    m_charset = other.m_charset;
    emit changed();
}

QFont FontObject::toQFont() const
{
    QFont font(m_name);
    font.setPointSizeF(m_size);
    // QFont weights run 1..1000 on the same scale as the font object's.
    font.setWeight(static_cast<QFont::Weight>(std::clamp(m_weight, 1, 1000)));
    font.setItalic(m_italic);
    font.setUnderline(m_underline);
    font.setStrikeOut(m_strikethrough);
    return font;
}

void FontObject::setFromQFont(const QFont &font)
{
    const bool differs = m_name != font.family() || m_italic != font.italic()
                         || m_underline != font.underline()
                         || m_strikethrough != font.strikeOut()
                         || m_weight != static_cast<int>(font.weight())
                         || (font.pointSizeF() > 0 && m_size != font.pointSizeF());
    if (!differs)
        return;
    if (!font.family().isEmpty())
        m_name = font.family();
    if (font.pointSizeF() > 0)
        m_size = std::round(font.pointSizeF() * 10000) / 10000;
    m_weight = static_cast<int>(font.weight());
    m_bold = m_weight >= 600;
    m_italic = font.italic();
    m_underline = font.underline();
    m_strikethrough = font.strikeOut();
    emit changed();
}

} // namespace platform::forms
