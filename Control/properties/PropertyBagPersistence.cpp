// The control in its container's property bag: a new instance's defaults, and the 88 keys a
// stored instance is written to and read back from.
#include "Control/core/PelmoraC02.h"
#include "Control/properties/BagValues.h"
#include "platform/automation/PropertyBag.h"
#include "platform/forms/FontObject.h"
#include "platform/runtime/Error.h"

#include <QtGlobal>

#include <functional>
#include <optional>
#include <vector>

using platform::automation::PropertyBag;
using platform::forms::FontObject;

namespace {

// How a key's value is taken when it is read.
enum class Kind { Bool, Int, Int16, Double, String };

std::optional<QVariant> taken(Kind kind, const QVariant &value)
{
    const auto wrap = [](const auto &v) -> std::optional<QVariant> {
        if (!v)
            return std::nullopt;
        return QVariant::fromValue(*v);
    };
    switch (kind) {
    case Kind::Bool:
        return wrap(pelmora::bagBool(value));
    case Kind::Int:
        return wrap(pelmora::bagInt(value));
    case Kind::Int16:
        return wrap(pelmora::bagInt(value, -32768, 32767));
    case Kind::Double:
        return wrap(pelmora::bagDouble(value));
    case Kind::String:
        return wrap(pelmora::bagString(value));
    }
    return std::nullopt;
}

// One key: its value's kind, its default (for a font attribute, the attribute of the
// container's font), where the value comes from and where it goes.
struct Key
{
    const char *name;
    Kind kind;
    QVariant defaultValue;
    std::function<QVariant(PelmoraC02 &)> get;
    std::function<void(PelmoraC02 &, const QVariant &)> set;
    std::function<QVariant(const FontObject &)> fontDefault;
};

// Numbered as in the order of writing.
enum : int {
    LanguageIdKey = 19,
    EnabledKey = 37,
    FirstOwnFontKey = 39,
    LastOwnFontKey = 46,
    KeyCount = 88,
};

#define GETTER(accessor) [](PelmoraC02 &c) { return QVariant::fromValue(c.accessor()); }
#define SETTER(setter, Type) [](PelmoraC02 &c, const QVariant &v) { c.setter(v.value<Type>()); }
// clang-format off
#define PROPERTY(name, kind, def, accessor, setter, Type)                                       \
    Key { name, kind, QVariant::fromValue(def), GETTER(accessor), SETTER(setter, Type), {} }
// clang-format on
// clang-format off
#define BOOL_PROPERTY(name, def, accessor, setter)                                              \
    PROPERTY(name, Kind::Bool, def, accessor, setter, bool)
// clang-format on
// clang-format off
#define INT_PROPERTY(name, def, accessor, setter)                                               \
    PROPERTY(name, Kind::Int, int(def), accessor, setter, int)
// clang-format on
// clang-format off
#define INT16_PROPERTY(name, def, accessor, setter)                                             \
    PROPERTY(name, Kind::Int16, int(def), accessor, setter, int)
// clang-format on
// clang-format off
#define DOUBLE_PROPERTY(name, def, accessor, setter)                                            \
    PROPERTY(name, Kind::Double, double(def), accessor, setter, double)
// clang-format on
// clang-format off
#define STRING_PROPERTY(name, accessor, setter)                                                 \
    PROPERTY(name, Kind::String, QString(), accessor, setter, QString)
// clang-format on

// A font attribute: `font` reaches the font written from, `setter` takes the value read.
// clang-format off
#define FONT_KEY(name, kind, Type, font, attribute, setter)                                     \
    Key{name,                                                                                   \
        kind,                                                                                   \
        QVariant(),                                                                             \
        [](PelmoraC02 &c) { return QVariant::fromValue(font.attribute()); },                    \
        [](PelmoraC02 &c, const QVariant &v) { setter(v.value<Type>()); },                      \
        [](const FontObject &f) { return QVariant::fromValue(f.attribute()); }}
// clang-format on
// clang-format off
#define OWN_FONT_KEY(name, kind, Type, attribute, fontSetter)                                   \
    FONT_KEY(name, kind, Type, (*c.controlFont), attribute, c.controlFont->fontSetter)
// clang-format on
// clang-format off
#define MEMBER_FONT_KEY(name, kind, Type, slot, attribute, setter)                              \
    FONT_KEY(name, kind, Type, pelmora::fontOf(c.gridFormat.slot), attribute, c.setter)
// clang-format on

const std::vector<Key> &keys()
{
    static const std::vector<Key> table{
        BOOL_PROPERTY("VisibleTitle", true, visibleTitle, setVisibleTitle),
        BOOL_PROPERTY("VisibleHeading", true, visibleHeading, setVisibleHeading),
        BOOL_PROPERTY("VisibleMatrix", true, visibleMatrix, setVisibleMatrix),
        BOOL_PROPERTY("VisibleChart", true, visibleChart, setVisibleChart),
        BOOL_PROPERTY("VisibleToolBar", false, visibleToolBar, setVisibleToolBar),
        BOOL_PROPERTY("VisibleButtonOpen", true, visibleButtonOpen, setVisibleButtonOpen),
        BOOL_PROPERTY("VisibleButtonSave", false, visibleButtonSave, setVisibleButtonSave),
        BOOL_PROPERTY("VisibleButtonPrint", false, visibleButtonPrint, setVisibleButtonPrint),
        BOOL_PROPERTY("VisibleButtonCopy", false, visibleButtonCopy, setVisibleButtonCopy),
        BOOL_PROPERTY("VisibleButtonDirectMDX", false, visibleButtonDirectMDX,
                      setVisibleButtonDirectMDX),
        BOOL_PROPERTY("VisibleButtonShowElements", false, visibleButtonShowElements,
                      setVisibleButtonShowElements),
        BOOL_PROPERTY("VisibleButtonChart2d", false, visibleButtonChart2d, setVisibleButtonChart2d),
        BOOL_PROPERTY("VisibleButtonChart3d", false, visibleButtonChart3d, setVisibleButtonChart3d),
        BOOL_PROPERTY("VisibleButtonSwapXY", false, visibleButtonSwapXY, setVisibleButtonSwapXY),
        BOOL_PROPERTY("VisibleButtonLayout", false, visibleButtonLayout, setVisibleButtonLayout),
        BOOL_PROPERTY("VisibleButtonDimension", false, visibleButtonDimension,
                      setVisibleButtonDimension),
        BOOL_PROPERTY("VisibleButtonFormat", false, visibleButtonFormat, setVisibleButtonFormat),
        BOOL_PROPERTY("VisibleButtonAbout", true, visibleButtonAbout, setVisibleButtonAbout),
        INT_PROPERTY("LanguageID", 0, languageId, setLanguageId),
        STRING_PROPERTY("OpenServer", openServer, setOpenServer),
        STRING_PROPERTY("OpenDB", openDb, setOpenDb),
        STRING_PROPERTY("OpenCube", openCube, setOpenCube),
        STRING_PROPERTY("OpenFile", openFile, setOpenFile),
        STRING_PROPERTY("OpenWWWDir", openWwwDir, setOpenWwwDir),
        STRING_PROPERTY("OpenView", openView, setOpenView),
        STRING_PROPERTY("MDX", mdx, setMdx),
        INT_PROPERTY("ValueType", 0, valueType, setValueType),
        // The bounds keep their fractions and the colours all 32 bits.
        DOUBLE_PROPERTY("SemaphoreMinValue", 100, semaphoreMinValue, setSemaphoreMinValue),
        DOUBLE_PROPERTY("SemaphoreMaxValue", 1000, semaphoreMaxValue, setSemaphoreMaxValue),
        INT_PROPERTY("ThresholdMinBackColor", 0, thresholdMinBackColor, setThresholdMinBackColor),
        INT_PROPERTY("ThresholdMedBackColor", 0, thresholdMedBackColor, setThresholdMedBackColor),
        INT_PROPERTY("ThresholdMaxBackColor", 0, thresholdMaxBackColor, setThresholdMaxBackColor),
        INT_PROPERTY("ThresholdMinForeColor", 0xFFFFFF, thresholdMinForeColor,
                     setThresholdMinForeColor),
        INT_PROPERTY("ThresholdMedForeColor", 0xFFFFFF, thresholdMedForeColor,
                     setThresholdMedForeColor),
        INT_PROPERTY("ThresholdMaxForeColor", 0xFFFFFF, thresholdMaxForeColor,
                     setThresholdMaxForeColor),
        BOOL_PROPERTY("Interactive", true, interactive, setInteractive),
        BOOL_PROPERTY("Enabled", true, getEnabledProperty, setEnabledProperty),
        STRING_PROPERTY("Caption", caption, setCaption),
        OWN_FONT_KEY("FontBold", Kind::Bool, bool, bold, setBold),
        // Written as "FontCharSet", read back under any spelling.
        OWN_FONT_KEY("FontCharSet", Kind::Int16, int, charset, setCharset),
        OWN_FONT_KEY("FontItalic", Kind::Bool, bool, italic, setItalic),
        OWN_FONT_KEY("FontName", Kind::String, QString, name, setName),
        OWN_FONT_KEY("FontSize", Kind::Double, double, size, setSize),
        OWN_FONT_KEY("FontStrikeThrough", Kind::Bool, bool, strikethrough, setStrikethrough),
        OWN_FONT_KEY("FontUnderline", Kind::Bool, bool, underline, setUnderline),
        OWN_FONT_KEY("FontWeight", Kind::Int16, int, weight, setWeight),
        MEMBER_FONT_KEY("FontDataBold", Kind::Bool, bool, FontData, bold, setFontDataBold),
        MEMBER_FONT_KEY("FontDataItalic", Kind::Bool, bool, FontData, italic, setFontDataItalic),
        MEMBER_FONT_KEY("FontDataName", Kind::String, QString, FontData, name, setFontDataName),
        MEMBER_FONT_KEY("FontDataSize", Kind::Double, double, FontData, size, setFontDataSize),
        MEMBER_FONT_KEY("FontDataUnderline", Kind::Bool, bool, FontData, underline,
                        setFontDataUnderLine),
        MEMBER_FONT_KEY("FontSubtotalBold", Kind::Bool, bool, FontSubtotal, bold,
                        setFontSubtotalBold),
        MEMBER_FONT_KEY("FontSubtotalItalic", Kind::Bool, bool, FontSubtotal, italic,
                        setFontSubtotalItalic),
        MEMBER_FONT_KEY("FontSubtotalName", Kind::String, QString, FontSubtotal, name,
                        setFontSubtotalName),
        MEMBER_FONT_KEY("FontSubtotalSize", Kind::Double, double, FontSubtotal, size,
                        setFontSubtotalSize),
        MEMBER_FONT_KEY("FontSubtotalUnderline", Kind::Bool, bool, FontSubtotal, underline,
                        setFontSubtotalUnderLine),
        MEMBER_FONT_KEY("FontDataSubtotalBold", Kind::Bool, bool, FontDataSubtotal, bold,
                        setFontDataSubtotalBold),
        MEMBER_FONT_KEY("FontDataSubtotalItalic", Kind::Bool, bool, FontDataSubtotal, italic,
                        setFontDataSubtotalItalic),
        MEMBER_FONT_KEY("FontDataSubtotalName", Kind::String, QString, FontDataSubtotal, name,
                        setFontDataSubtotalName),
        MEMBER_FONT_KEY("FontDataSubtotalSize", Kind::Double, double, FontDataSubtotal, size,
                        setFontDataSubtotalSize),
        MEMBER_FONT_KEY("FontDataSubtotalUnderline", Kind::Bool, bool, FontDataSubtotal, underline,
                        setFontDataSubtotalUnderLine),
        INT_PROPERTY("BackColorData", 0xFFFFFF, backColorData, setBackColorData),
        INT_PROPERTY("BackColor", 0xE6E6E6, backColor, setBackColor),
        INT_PROPERTY("BackColorDataSubtotal", 0xFFFFFF, backColorDataSubtotal,
                     setBackColorDataSubtotal),
        INT_PROPERTY("BackColorSubtotal", 0xE6E6E6, backColorSubtotal, setBackColorSubtotal),
        INT_PROPERTY("ForeColorData", 0, foreColorData, setForeColorData),
        INT_PROPERTY("ForeColor", 0, foreColor, setForeColor),
        INT_PROPERTY("ForeColorDataSubtotal", 0, foreColorDataSubtotal, setForeColorDataSubtotal),
        INT_PROPERTY("ForeColorSubtotal", 0, foreColorSubtotal, setForeColorSubtotal),
        INT_PROPERTY("GridColorData", 0xE6E6E6, gridColorData, setGridColorData),
        INT_PROPERTY("GridColor", 0xE6E6E6, gridColor, setGridColor),
        BOOL_PROPERTY("WordWrap", false, wordWrap, setWordWrap),
        // The member, not the data grid, which every paint of a title turns 3-D.
        INT_PROPERTY("Appearance", pelmora::pelmora3DLight, appearance, setAppearance),
        Key{"DataFormat",
            Kind::String,
            QStringLiteral("#,##0"),
            GETTER(dataFormat),
            SETTER(setDataFormat, QString),
            {}},
        INT_PROPERTY("GridLinesData", 1, gridLinesData, setGridLinesData),
        INT_PROPERTY("GridLines", 2, gridLines, setGridLines),
        INT16_PROPERTY("GridLinesWidth", 1, gridLinesWidth, setGridLinesWidth),
        BOOL_PROPERTY("FormatSubtotal", false, formatSubtotal, setFormatSubtotal),
        INT16_PROPERTY("FormatSubtotalLevel", 1, formatSubtotalLevel, setFormatSubtotalLevel),
        STRING_PROPERTY("PreviewComment", previewComment, setPreviewComment),
        BOOL_PROPERTY("PreviewHeaderAndFooter", true, previewHeaderAndFooter,
                      setPreviewHeaderAndFooter),
        BOOL_PROPERTY("PreviewComments", false, previewComments, setPreviewComments),
        BOOL_PROPERTY("PreviewTitle", true, previewTitle, setPreviewTitle),
        BOOL_PROPERTY("PreviewHeadings", true, previewHeadings, setPreviewHeadings),
        BOOL_PROPERTY("PreviewData", true, previewData, setPreviewData),
        BOOL_PROPERTY("PreviewChart", true, previewChart, setPreviewChart),
        // The key's default differs from a new instance's (False), so a new instance stores it.
        BOOL_PROPERTY("PreviewChartInNewPage", true, previewChartInNewPage,
                      setPreviewChartInNewPage),
        BOOL_PROPERTY("PreviewBW", false, previewBW, setPreviewBW),
    };
    Q_ASSERT(table.size() == KeyCount);
    return table;
}

#undef GETTER
#undef SETTER
#undef PROPERTY
#undef BOOL_PROPERTY
#undef INT_PROPERTY
#undef INT16_PROPERTY
#undef DOUBLE_PROPERTY
#undef STRING_PROPERTY
#undef FONT_KEY
#undef OWN_FONT_KEY
#undef MEMBER_FONT_KEY

const Key &key(int number)
{
    return keys()[size_t(number - 1)];
}

// Reads one key into the control. A font attribute that is not stored is the ambient font's,
// as when it was written. A value of another type than the key's reads as the default, and so
// does one the property refuses (a font size of 0, an unknown appearance): one bad value costs
// that property only, never the keys after it.
void readKey(PelmoraC02 &control, const PropertyBag &bag, const Key &k, const FontObject &ambient)
{
    const QVariant defaultValue = k.fontDefault ? k.fontDefault(ambient) : k.defaultValue;
    const QVariant value =
        taken(k.kind, bag.readProperty(QString::fromLatin1(k.name), defaultValue))
            .value_or(defaultValue);
    try {
        k.set(control, value);
    } catch (const platform::Error &) {
        k.set(control, defaultValue);
    }
}

} // namespace

void PelmoraC02::UserControl_InitProperties()
{
    setVisibleTitle(true);
    setVisibleHeading(true);
    setVisibleMatrix(true);
    setVisibleChart(true);
    setVisibleToolBar(false);
    setVisibleButtonOpen(true);
    setVisibleButtonSave(false);
    setVisibleButtonPrint(false);
    setVisibleButtonCopy(false);
    setVisibleButtonDirectMDX(false);
    setVisibleButtonShowElements(false);
    setVisibleButtonChart2d(false);
    setVisibleButtonChart3d(false);
    setVisibleButtonSwapXY(false);
    setVisibleButtonLayout(false);
    setVisibleButtonDimension(false);
    setVisibleButtonFormat(false);
    setVisibleButtonAbout(true);
    setLanguageId(pelmora::English);
    setOpenCube(QString());
    setOpenServer(QString());
    setOpenDb(QString());
    setOpenFile(QString());
    setOpenWwwDir(QString());
    setOpenView(QString());
    setMdx(QString());
    setValueType(pelmora::pelmoraVTNormal);
    setSemaphoreMinValue(100.0);
    setSemaphoreMaxValue(1000.0);
    setThresholdMinBackColor(0);
    setThresholdMedBackColor(0);
    setThresholdMaxBackColor(0);
    setThresholdMinForeColor(0xFFFFFF);
    setThresholdMedForeColor(0xFFFFFF);
    setThresholdMaxForeColor(0xFFFFFF);
    setInteractive(true);
    setCaption(QString());
    setEnabledProperty(true);
    const std::unique_ptr<FontObject> ambient = ambientFont();
    setFontProperty(ambient.get());
    setFontData(ambient.get());
    setFontSubtotal(ambient.get());
    setFontDataSubtotal(ambient.get());
    setBackColorData(0xFFFFFF);
    setBackColor(0xE6E6E6);
    setBackColorDataSubtotal(0xFFFFFF);
    setBackColorSubtotal(0xE6E6E6);
    setForeColorData(0);
    setForeColor(0);
    setForeColorDataSubtotal(0);
    setForeColorSubtotal(0);
    setGridColorData(0xE6E6E6);
    setGridColor(0xE6E6E6);
    setWordWrap(false);
    setAppearance(pelmora::pelmora3DLight);
    setDataFormat(QStringLiteral("#,##0"));
    setGridLinesData(1);
    setGridLines(2);
    setGridLinesWidth(1);
    setFormatSubtotal(false);
    setFormatSubtotalLevel(1);
    setPreviewComment(QString());
    setPreviewHeaderAndFooter(true);
    setPreviewComments(false);
    setPreviewTitle(true);
    setPreviewHeadings(true);
    setPreviewData(true);
    setPreviewChart(true);
    setPreviewChartInNewPage(false);
    setPreviewBW(false);
}

void PelmoraC02::UserControl_ReadProperties(PropertyBag &PropBag)
{
    const std::unique_ptr<FontObject> ambient = ambientFont();
    const auto read = [&](int number) { readKey(*this, PropBag, key(number), *ambient); };
    // The language and the enabled state first.
    read(LanguageIdKey);
    read(EnabledKey);
    for (int number = 1; number < FirstOwnFontKey; ++number) {
        if (number != EnabledKey)
            read(number);
    }
    // The control's own font is set directly, attribute by attribute, and restyles once.
    for (int number = FirstOwnFontKey; number <= LastOwnFontKey; ++number)
        read(number);
    setFonts();
    for (int number = LastOwnFontKey + 1; number <= KeyCount; ++number)
        read(number);
}

void PelmoraC02::UserControl_WriteProperties(PropertyBag &PropBag)
{
    // Font attributes equal to the container's font are not stored; reading gives them back.
    const std::unique_ptr<FontObject> ambient = ambientFont();
    for (const Key &k : keys()) {
        const QVariant defaultValue = k.fontDefault ? k.fontDefault(*ambient) : k.defaultValue;
        PropBag.writeProperty(QString::fromLatin1(k.name), k.get(*this), defaultValue);
    }
}
