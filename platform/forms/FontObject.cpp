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
    m_font.name = general.family().isEmpty() ? QStringLiteral("Sans Serif") : general.family();
    if (general.pointSizeF() > 0)
        m_font.size = std::round(general.pointSizeF() * 10000) / 10000;
}

FontObject::FontObject(const QString &name, double size, bool bold, QObject *parent)
    : FontObject(parent)
{
    setName(name);
    setSize(size);
    setBold(bold);
}

template <typename T>
void FontObject::assign(T &member, const T &value)
{
    if (member == value)
        return;
    member = value;
    emit changed();
}

void FontObject::setName(const QString &name)
{
    require(!name.trimmed().isEmpty());
    assign(m_font.name, name);
}

void FontObject::setSize(double size)
{
    require(std::isfinite(size) && size <= 2048);
    // Sizes are fixed-point values with four decimals; one that rounds to 0 is refused too.
    const double rounded = std::round(size * 10000) / 10000;
    require(rounded > 0);
    assign(m_font.size, rounded);
}

void FontObject::setBold(bool on)
{
    if (m_font.bold == on)
        return;
    m_font.bold = on;
    m_font.weight = on ? 700 : 400;
    emit changed();
}

void FontObject::setItalic(bool on)
{
    assign(m_font.italic, on);
}

void FontObject::setUnderline(bool on)
{
    assign(m_font.underline, on);
}

void FontObject::setStrikethrough(bool on)
{
    assign(m_font.strikethrough, on);
}

void FontObject::setWeight(int weight)
{
    require(weight >= 0 && weight <= 1000);
    if (m_font.weight == weight)
        return;
    m_font.weight = weight;
    m_font.bold = weight >= 600;
    emit changed();
}

void FontObject::setCharset(int charset)
{
    require(charset >= 0 && charset <= 255);
    assign(m_font.charset, charset);
}

void FontObject::setAttributes(const FontAttributes &attributes)
{
    if (m_font == attributes)
        return;
    m_font = attributes;
    emit changed();
}

QFont FontObject::toQFont() const
{
    QFont font(m_font.name);
    font.setPointSizeF(m_font.size);
    // QFont weights run 1..1000 on the same scale as the font object's.
    font.setWeight(static_cast<QFont::Weight>(std::clamp(m_font.weight, 1, 1000)));
    font.setItalic(m_font.italic);
    font.setUnderline(m_font.underline);
    font.setStrikeOut(m_font.strikethrough);
    return font;
}

void FontObject::setFromQFont(const QFont &font)
{
    const bool differs = m_font.name != font.family() || m_font.italic != font.italic()
                         || m_font.underline != font.underline()
                         || m_font.strikethrough != font.strikeOut()
                         || m_font.weight != static_cast<int>(font.weight())
                         || (font.pointSizeF() > 0 && m_font.size != font.pointSizeF());
    if (!differs)
        return;
    if (!font.family().isEmpty())
        m_font.name = font.family();
    if (font.pointSizeF() > 0)
        m_font.size = std::round(font.pointSizeF() * 10000) / 10000;
    m_font.weight = static_cast<int>(font.weight());
    m_font.bold = m_font.weight >= 600;
    m_font.italic = font.italic();
    m_font.underline = font.underline();
    m_font.strikethrough = font.strikeOut();
    emit changed();
}

} // namespace platform::forms
