// The four font properties and their attributes. Font is the control's own font and is read
// as a copy; the data and subtotal fonts are read as the member objects themselves. Writing a
// font copies its attributes one by one, each announced under its own name.
#include "Control/core/PelmoraC02.h"
#include "platform/forms/FontObject.h"
#include "platform/grid/FlexGrid.h"

#include <QApplication>

#include <type_traits>

using platform::forms::FontObject;

// A font write copies the attributes, read before any of them is applied: the source may be
// the very font being written.
using platform::forms::FontAttributes;

namespace {

// The setters of a grid font's five attributes (bold, italic, name, size, underline), each
// announced under its own property name.
struct GridFontSetters
{
    void (PelmoraC02::*bold)(bool);
    void (PelmoraC02::*italic)(bool);
    void (PelmoraC02::*name)(const QString &);
    void (PelmoraC02::*size)(double);
    void (PelmoraC02::*underline)(bool);
};

// Writes a grid font property: a font object's attributes through `set`, then the repaint
// and the property's own notification. Anything but a font object is ignored.
void writeGridFont(PelmoraC02 &control, QObject *value, const GridFontSetters &set,
                   const QString &property)
{
    const auto *source = qobject_cast<const FontObject *>(value);
    if (!source)
        return;
    const FontAttributes a = source->attributes();
    (control.*set.bold)(a.bold);
    (control.*set.italic)(a.italic);
    (control.*set.name)(a.name);
    (control.*set.size)(a.size);
    (control.*set.underline)(a.underline);
    control.update();
    emit control.PropertyChanged(property);
}

} // namespace

namespace pelmora {
// Texts are passed by reference, the other attributes by value.
template <typename T>
using ArgumentOf = std::conditional_t<std::is_same_v<T, QString>, const QString &, T>;
} // namespace pelmora

std::unique_ptr<FontObject> PelmoraC02::ambientFont() const
{
    auto font = std::make_unique<FontObject>();
    font->setFromQFont(parentWidget() ? parentWidget()->font() : QApplication::font());
    return font;
}

// --- The public font properties -------------------------------------------------------------

QObject *PelmoraC02::fontProperty()
{
    if (!fontCopy)
        fontCopy = new FontObject(this);
    fontCopy->copyFrom(*controlFont);
    return fontCopy;
}

void PelmoraC02::setFontProperty(QObject *value)
{
    const auto *source = qobject_cast<const FontObject *>(value);
    if (!source)
        return;
    const FontAttributes a = source->attributes();
    setFontBold(a.bold);
    setFontCharset(a.charset);
    setFontItalic(a.italic);
    setFontName(a.name);
    setFontSize(a.size);
    setFontStrikethrough(a.strikethrough);
    setFontUnderLine(a.underline);
    setFontWeight(a.weight);
    update();
    // The eight attribute notifications stand for the font: there is none named "Font".
}

QObject *PelmoraC02::fontData()
{
    return &pelmora::fontOf(gridFormat.FontData);
}

void PelmoraC02::setFontData(QObject *value)
{
    writeGridFont(*this, value,
                  {&PelmoraC02::setFontDataBold, &PelmoraC02::setFontDataItalic,
                   &PelmoraC02::setFontDataName, &PelmoraC02::setFontDataSize,
                   &PelmoraC02::setFontDataUnderLine},
                  QStringLiteral("FontData"));
}

QObject *PelmoraC02::fontSubtotal()
{
    return &pelmora::fontOf(gridFormat.FontSubtotal);
}

void PelmoraC02::setFontSubtotal(QObject *value)
{
    writeGridFont(*this, value,
                  {&PelmoraC02::setFontSubtotalBold, &PelmoraC02::setFontSubtotalItalic,
                   &PelmoraC02::setFontSubtotalName, &PelmoraC02::setFontSubtotalSize,
                   &PelmoraC02::setFontSubtotalUnderLine},
                  QStringLiteral("FontSubtotal"));
}

QObject *PelmoraC02::fontDataSubtotal()
{
    return &pelmora::fontOf(gridFormat.FontDataSubtotal);
}

void PelmoraC02::setFontDataSubtotal(QObject *value)
{
    writeGridFont(*this, value,
                  {&PelmoraC02::setFontDataSubtotalBold, &PelmoraC02::setFontDataSubtotalItalic,
                   &PelmoraC02::setFontDataSubtotalName, &PelmoraC02::setFontDataSubtotalSize,
                   &PelmoraC02::setFontDataSubtotalUnderLine},
                  QStringLiteral("FontDataSubtotal"));
}

// --- The control's own font: restyles the caption, the grids and the chart titles ----------

// clang-format off
#define PELMORA_OWN_FONT_ATTRIBUTE(Type, getter, setter, fontGetter, fontSetter, name)         \
    Type PelmoraC02::getter() const { return controlFont->fontGetter(); }                     \
    void PelmoraC02::setter(Type value)                                                        \
    {                                                                                          \
        controlFont->fontSetter(value);                                                        \
        setFonts();                                                                            \
        emit PropertyChanged(QStringLiteral(name));                                            \
    }
// clang-format on

PELMORA_OWN_FONT_ATTRIBUTE(bool, fontBold, setFontBold, bold, setBold, "FontBold")
PELMORA_OWN_FONT_ATTRIBUTE(int, fontCharset, setFontCharset, charset, setCharset, "FontCharset")
PELMORA_OWN_FONT_ATTRIBUTE(bool, fontItalic, setFontItalic, italic, setItalic, "FontItalic")
PELMORA_OWN_FONT_ATTRIBUTE(double, fontSize, setFontSize, size, setSize, "FontSize")
PELMORA_OWN_FONT_ATTRIBUTE(bool, fontStrikethrough, setFontStrikethrough, strikethrough,
                           setStrikethrough, "FontStrikethrough")
PELMORA_OWN_FONT_ATTRIBUTE(bool, fontUnderLine, setFontUnderLine, underline, setUnderline,
                           "FontUnderLine")
PELMORA_OWN_FONT_ATTRIBUTE(int, fontWeight, setFontWeight, weight, setWeight, "FontWeight")

#undef PELMORA_OWN_FONT_ATTRIBUTE

QString PelmoraC02::fontName() const
{
    return controlFont->name();
}

void PelmoraC02::setFontName(const QString &value)
{
    controlFont->setName(value);
    setFonts();
    emit PropertyChanged(QStringLiteral("FontName"));
}

// --- The member fonts -----------------------------------------------------------------------

// The data font restyles the value cells: those below and right of the data grid's own fixed
// rows and columns, so that no header cell takes it.
// clang-format off
#define PELMORA_DATA_FONT_ATTRIBUTE(Type, getter, setter, fontGetter, fontSetter, name)        \
    Type PelmoraC02::getter() { return pelmora::fontOf(gridFormat.FontData).fontGetter(); }   \
    void PelmoraC02::setter(pelmora::ArgumentOf<Type> value)                                  \
    {                                                                                          \
        pelmora::fontOf(gridFormat.FontData).fontSetter(value);                                \
        applyDataFont(grdResults->fixedRows(), grdResults->fixedCols());                       \
        emit PropertyChanged(QStringLiteral(name));                                            \
    }
// clang-format on

PELMORA_DATA_FONT_ATTRIBUTE(bool, fontDataBold, setFontDataBold, bold, setBold, "FontDataBold")
PELMORA_DATA_FONT_ATTRIBUTE(bool, fontDataItalic, setFontDataItalic, italic, setItalic,
                            "FontDataItalic")
PELMORA_DATA_FONT_ATTRIBUTE(QString, fontDataName, setFontDataName, name, setName, "FontDataName")
PELMORA_DATA_FONT_ATTRIBUTE(double, fontDataSize, setFontDataSize, size, setSize, "FontDataSize")
PELMORA_DATA_FONT_ATTRIBUTE(bool, fontDataUnderLine, setFontDataUnderLine, underline, setUnderline,
                            "FontDataUnderLine")

#undef PELMORA_DATA_FONT_ATTRIBUTE

// The subtotal fonts are read by the next paint; writing them redraws nothing.
// clang-format off
#define PELMORA_SUBTOTAL_FONT_ATTRIBUTE(slot, Type, getter, setter, fontGetter, fontSetter,     \
                                        name)                                                  \
    Type PelmoraC02::getter() { return pelmora::fontOf(gridFormat.slot).fontGetter(); }       \
    void PelmoraC02::setter(pelmora::ArgumentOf<Type> value)                                  \
    {                                                                                          \
        pelmora::fontOf(gridFormat.slot).fontSetter(value);                                    \
        emit PropertyChanged(QStringLiteral(name));                                            \
    }
// clang-format on

PELMORA_SUBTOTAL_FONT_ATTRIBUTE(FontSubtotal, bool, fontSubtotalBold, setFontSubtotalBold, bold,
                                setBold, "FontSubtotalBold")
PELMORA_SUBTOTAL_FONT_ATTRIBUTE(FontSubtotal, bool, fontSubtotalItalic, setFontSubtotalItalic,
                                italic, setItalic, "FontSubtotalItalic")
PELMORA_SUBTOTAL_FONT_ATTRIBUTE(FontSubtotal, QString, fontSubtotalName, setFontSubtotalName, name,
                                setName, "FontSubtotalName")
PELMORA_SUBTOTAL_FONT_ATTRIBUTE(FontSubtotal, double, fontSubtotalSize, setFontSubtotalSize, size,
                                setSize, "FontSubtotalSize")
PELMORA_SUBTOTAL_FONT_ATTRIBUTE(FontSubtotal, bool, fontSubtotalUnderLine, setFontSubtotalUnderLine,
                                underline, setUnderline, "FontSubtotalUnderLine")
PELMORA_SUBTOTAL_FONT_ATTRIBUTE(FontDataSubtotal, bool, fontDataSubtotalBold,
                                setFontDataSubtotalBold, bold, setBold, "FontDataSubtotalBold")
PELMORA_SUBTOTAL_FONT_ATTRIBUTE(FontDataSubtotal, bool, fontDataSubtotalItalic,
                                setFontDataSubtotalItalic, italic, setItalic,
                                "FontDataSubtotalItalic")
PELMORA_SUBTOTAL_FONT_ATTRIBUTE(FontDataSubtotal, QString, fontDataSubtotalName,
                                setFontDataSubtotalName, name, setName, "FontDataSubtotalName")
PELMORA_SUBTOTAL_FONT_ATTRIBUTE(FontDataSubtotal, double, fontDataSubtotalSize,
                                setFontDataSubtotalSize, size, setSize, "FontDataSubtotalSize")
PELMORA_SUBTOTAL_FONT_ATTRIBUTE(FontDataSubtotal, bool, fontDataSubtotalUnderLine,
                                setFontDataSubtotalUnderLine, underline, setUnderline,
                                "FontDataSubtotalUnderLine")

#undef PELMORA_SUBTOTAL_FONT_ATTRIBUTE
