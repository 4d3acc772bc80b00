#include "Control/settings/StoredDefaults.h"

#include "Control/settings/Registry.h"
#include "platform/chart/Chart2D.h"
#include "platform/forms/FontObject.h"
#include "platform/runtime/BoolWords.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/Numbers.h"

#include <algorithm>
#include <limits>
#include <set>

namespace pelmora::defaults {

using platform::runtime::toDouble;
using platform::runtime::toInteger;
using platform::runtime::toLong;

QString baseKey()
{
    return QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Keswire\\PelmoraApp");
}

// --- Encodings -------------------------------------------------------------------------------

namespace {

[[noreturn]] void overflow()
{
    throw platform::Error(QStringLiteral("Overflow"));
}

} // namespace

QString colourText(qint32 colour)
{
    return QString::number(quint32(colour), 16).toUpper();
}

qint32 colourFromText(const QString &text)
{
    return toLong(QStringLiteral("&H") + text);
}

QString flagText(bool on)
{
    return on ? QStringLiteral("FFFF") : QStringLiteral("0");
}

bool flagFromText(const QString &text)
{
    return toLong(QStringLiteral("&H") + text) != 0;
}

QString booleanText(bool value)
{
    return platform::runtime::boolWord(value);
}

bool booleanFromText(const QString &text)
{
    return text.left(1).toUpper() != QLatin1String("F");
}

QString longText(qint64 value)
{
    if (value < std::numeric_limits<qint32>::min() || value > std::numeric_limits<qint32>::max())
        overflow();
    return QString::number(value);
}

QString integerText(qint64 value)
{
    if (value < std::numeric_limits<qint16>::min() || value > std::numeric_limits<qint16>::max())
        overflow();
    return QString::number(value);
}

QString realText(double value)
{
    return platform::runtime::numberText(value);
}

// --- Building the value lists ----------------------------------------------------------------

namespace {

// Adds the values of one key; each helper names an encoding.
class Values
{
public:
    Values(std::vector<StoredValue> &out, QString key) : m_out(out), m_key(std::move(key)) {}

    void text(const QString &name, std::function<QString()> get,
              std::function<void(const QString &)> set)
    {
        add(name, name, std::move(get), std::move(set));
    }

    template <typename Get, typename Set>
    void whole(const QString &name, Get get, Set set) // 32-bit
    {
        add(
            name, name, [get] { return longText(get()); },
            [set](const QString &t) { set(toLong(t)); });
    }

    template <typename Get, typename Set>
    void integer(const QString &name, Get get, Set set) // 16-bit
    {
        add(
            name, name, [get] { return integerText(get()); },
            [set](const QString &t) { set(toInteger(t)); });
    }

    template <typename Get, typename Set>
    void colour(const QString &name, Get get, Set set)
    {
        add(
            name, name, [get] { return colourText(get()); },
            [set](const QString &t) { set(colourFromText(t)); });
    }

    template <typename Get, typename Set>
    void flag(const QString &name, Get get, Set set)
    {
        add(
            name, name, [get] { return flagText(get()); },
            [set](const QString &t) { set(flagFromText(t)); });
    }

    template <typename Get, typename Set>
    void boolean(const QString &name, Get get, Set set)
    {
        add(
            name, name, [get] { return booleanText(get()); },
            [set](const QString &t) { set(booleanFromText(t)); });
    }

    template <typename Get, typename Set>
    void real(const QString &name, Get get, Set set)
    {
        add(
            name, name, [get] { return realText(get()); },
            [set](const QString &t) { set(toDouble(t)); });
    }

    // The eight font values in their stored order. The underline and weight names are written
    // as `underline` and `weight` spell them and always read as "Underline" and "Weight".
    // Charset, size and weight are converted as the font object converts a text given to it.
    template <typename FontOf>
    void font(FontOf fontOf, const QString &underline = QStringLiteral("Underline"),
              const QString &weight = QStringLiteral("Weight"))
    {
        boolean(
            QStringLiteral("Bold"), [fontOf] { return fontOf().bold(); },
            [fontOf](bool on) { fontOf().setBold(on); });
        integer(
            QStringLiteral("Charset"), [fontOf] { return fontOf().charset(); },
            [fontOf](qint16 value) { fontOf().setCharset(value); });
        boolean(
            QStringLiteral("Italic"), [fontOf] { return fontOf().italic(); },
            [fontOf](bool on) { fontOf().setItalic(on); });
        text(
            QStringLiteral("Name"), [fontOf] { return fontOf().name(); },
            [fontOf](const QString &name) { fontOf().setName(name); });
        real(
            QStringLiteral("Size"), [fontOf] { return fontOf().size(); },
            [fontOf](double size) { fontOf().setSize(size); });
        boolean(
            QStringLiteral("Strikethrough"), [fontOf] { return fontOf().strikethrough(); },
            [fontOf](bool on) { fontOf().setStrikethrough(on); });
        add(
            underline, QStringLiteral("Underline"),
            [fontOf] { return booleanText(fontOf().underline()); },
            [fontOf](const QString &t) { fontOf().setUnderline(booleanFromText(t)); });
        add(
            weight, QStringLiteral("Weight"), [fontOf] { return integerText(fontOf().weight()); },
            [fontOf](const QString &t) { fontOf().setWeight(toInteger(t)); });
    }

private:
    void add(const QString &name, const QString &readName, std::function<QString()> get,
             std::function<void(const QString &)> set)
    {
        m_out.push_back({m_key, name, readName, std::move(get), std::move(set)});
    }

    std::vector<StoredValue> &m_out;
    QString m_key;
};

// Accessors of a member for the helpers above.
// clang-format off
#define MEMBER(object, member)                                                                 \
    [&object] { return object.member; },                                                        \
        [&object](auto value) { object.member = value; }
// clang-format on

} // namespace

Section formatSection(GridFormat &grid, ValueFormat &values,
                      platform::forms::FontObject &controlFont)
{
    Section section{QString(), QStringLiteral("Appearance"), {}, {}};
    std::vector<StoredValue> &out = section.values;
    using platform::forms::FontObject;

    Values base(out, QString());
    base.whole(QStringLiteral("Appearance"), MEMBER(grid, Appearance));
    base.colour(QStringLiteral("BackColor"), MEMBER(grid, BackColor));
    base.colour(QStringLiteral("ForeColor"), MEMBER(grid, ForeColor));
    base.colour(QStringLiteral("BackColorSubtotal"), MEMBER(grid, BackColorSubtotal));
    base.colour(QStringLiteral("ForeColorSubtotal"), MEMBER(grid, ForeColorSubtotal));
    base.colour(QStringLiteral("GridColor"), MEMBER(grid, GridColor));
    base.colour(QStringLiteral("BackColorData"), MEMBER(grid, BackColorData));
    base.colour(QStringLiteral("ForeColorData"), MEMBER(grid, ForeColorData));
    base.colour(QStringLiteral("BackColorDataSubtotal"), MEMBER(grid, BackColorDataSubtotal));
    base.colour(QStringLiteral("ForeColorDataSubtotal"), MEMBER(grid, ForeColorDataSubtotal));
    base.colour(QStringLiteral("GridColorData"), MEMBER(grid, GridColorData));

    const QString underLine = QStringLiteral("UnderLine");
    const QString weight = QStringLiteral("Weight");
    FontObject *own = &controlFont;
    Values(out, QStringLiteral("\\Font"))
        .font([own]() -> FontObject & { return *own; }, underLine, weight);
    Values(out, QStringLiteral("\\FontData"))
        .font([&grid]() -> FontObject & { return fontOf(grid.FontData); }, underLine, weight);
    Values(out, QStringLiteral("\\FontDataSubtotal"))
        .font([&grid]() -> FontObject & { return fontOf(grid.FontDataSubtotal); }, underLine,
              weight);
    Values(out, QStringLiteral("\\FontSubtotal"))
        .font([&grid]() -> FontObject & { return fontOf(grid.FontSubtotal); }, underLine, weight);

    base.text(QStringLiteral("DataFormat"), MEMBER(grid, DataFormat));
    base.whole(QStringLiteral("ValueType"), MEMBER(values, ValueType));
    base.whole(QStringLiteral("GridLinesData"), MEMBER(grid, GridLinesData));
    base.whole(QStringLiteral("GridLines"), MEMBER(grid, GridLines));
    base.integer(QStringLiteral("GridLinesWidth"), MEMBER(grid, GridLinesWidth));
    base.boolean(QStringLiteral("FormatSubtotal"), MEMBER(grid, FormatSubtotal));
    base.integer(QStringLiteral("FormatSubtotalLevel"), MEMBER(grid, FormatSubtotalLevel));
    base.real(QStringLiteral("SemaphoreMinValue"), MEMBER(values, SemaphoreMinValue));
    base.real(QStringLiteral("SemaphoreMaxValue"), MEMBER(values, SemaphoreMaxValue));
    base.colour(QStringLiteral("ThresholdMinBackColor"), MEMBER(values, ThresholdMinBackColor));
    base.colour(QStringLiteral("ThresholdMedBackColor"), MEMBER(values, ThresholdMedBackColor));
    base.colour(QStringLiteral("ThresholdMaxBackColor"), MEMBER(values, ThresholdMaxBackColor));
    base.colour(QStringLiteral("ThresholdMinForeColor"), MEMBER(values, ThresholdMinForeColor));
    base.colour(QStringLiteral("ThresholdMedForeColor"), MEMBER(values, ThresholdMedForeColor));
    base.colour(QStringLiteral("ThresholdMaxForeColor"), MEMBER(values, ThresholdMaxForeColor));
    base.flag(QStringLiteral("ActThresholdMinBackColor"), MEMBER(values, ActThresholdMinBackColor));
    base.flag(QStringLiteral("ActThresholdMedBackColor"), MEMBER(values, ActThresholdMedBackColor));
    base.flag(QStringLiteral("ActThresholdMaxBackColor"), MEMBER(values, ActThresholdMaxBackColor));
    base.flag(QStringLiteral("ActThresholdMinForeColor"), MEMBER(values, ActThresholdMinForeColor));
    base.flag(QStringLiteral("ActThresholdMedForeColor"), MEMBER(values, ActThresholdMedForeColor));
    base.flag(QStringLiteral("ActThresholdMaxForeColor"), MEMBER(values, ActThresholdMaxForeColor));

    // The reader takes the fixed-area grid lines before the data area's.
    section.readOrder = section.values;
    auto find = [&section](const QString &name) {
        return std::find_if(section.readOrder.begin(), section.readOrder.end(),
                            [&name](const StoredValue &v) { return v.name == name; });
    };
    std::iter_swap(find(QStringLiteral("GridLinesData")), find(QStringLiteral("GridLines")));
    return section;
}

#undef MEMBER

// Accessors of an object's property for the helpers above, the object looked up afresh.
#define PROP(object, getter, setter)                                                               \
    [c] { return c.object.getter(); }, [c](auto value) { c.object.setter(value); }

Chart2DParts Chart2DParts::of(platform::chart::Chart2DModel &model)
{
    return {model.header,   model.footer,    model.legend,     model.border,
            model.interior, model.chartArea, model.chartGroups};
}

Chart2DParts Chart2DParts::of(platform::chart::Chart2D &chart)
{
    return {chart.header(),   chart.footer(),    chart.legend(),     chart.border(),
            chart.interior(), chart.chartArea(), chart.chartGroups()};
}

Section chartSection(const Chart2DParts &chart)
{
    using platform::chart::Font;
    Section section{QStringLiteral("\\Chart2D"), QStringLiteral("BorderType"), {}, {}};
    std::vector<StoredValue> &out = section.values;
    const Chart2DParts c = chart;

    Values top(out, QStringLiteral("\\Chart2d"));
    top.whole(QStringLiteral("BorderType"), PROP(border, borderType, setBorderType));
    top.whole(QStringLiteral("BorderWidth"), PROP(border, borderWidth, setBorderWidth));
    top.boolean(QStringLiteral("IsStacked"), PROP(chartGroups.item(1), isStacked, setIsStacked));
    top.boolean(QStringLiteral("IsHorizontal"), PROP(chartArea, isHorizontal, setIsHorizontal));
    top.whole(QStringLiteral("FileImageLayout"),
              PROP(interior.image(), fileImageLayout, setFileImageLayout));
    top.text(QStringLiteral("FileName"), PROP(interior.image(), fileName, setFileName));
    top.whole(QStringLiteral("ChartType"), PROP(chartGroups.item(1), chartType, setChartType));
    top.colour(QStringLiteral("Background"), PROP(interior, background, setBackground));
    top.colour(QStringLiteral("Foreground"), PROP(interior, foreground, setForeground));
    top.integer(QStringLiteral("Shading"), PROP(chartArea.effect3D(), shading, setShading));
    top.whole(QStringLiteral("Depth"), PROP(chartArea.effect3D(), depth, setDepth));
    top.whole(QStringLiteral("Elevation"), PROP(chartArea.effect3D(), elevation, setElevation));
    top.whole(QStringLiteral("Rotation"), PROP(chartArea.effect3D(), rotation, setRotation));

    Values area(out, QStringLiteral("\\Chart2d\\Area"));
    area.boolean(QStringLiteral("IsBoxed"), PROP(chartArea.areaBox(), isBoxed, setIsBoxed));
    area.whole(QStringLiteral("BorderType"), PROP(chartArea.border(), borderType, setBorderType));
    area.whole(QStringLiteral("BorderWidth"),
               PROP(chartArea.border(), borderWidth, setBorderWidth));

    // Titles and the legend write the font's last two names in lower case.
    const QString underline = QStringLiteral("underline");
    const QString weight = QStringLiteral("weight");
    const auto title = [&out, &underline, &weight](const QString &key, platform::chart::Title &t) {
        Values v(out, key);
        platform::chart::Title *p = &t;
        v.whole(
            QStringLiteral("BorderType"), [p] { return p->border().borderType(); },
            [p](qint32 x) { p->border().setBorderType(x); });
        v.whole(
            QStringLiteral("BorderWidth"), [p] { return p->border().borderWidth(); },
            [p](qint32 x) { p->border().setBorderWidth(x); });
        v.whole(
            QStringLiteral("Alignment"), [p] { return p->alignment(); },
            [p](qint32 x) { p->setAlignment(x); });
        v.boolean(
            QStringLiteral("IsShowing"), [p] { return p->isShowing(); },
            [p](bool x) { p->setIsShowing(x); });
        v.whole(
            QStringLiteral("FileImageLayout"),
            [p] { return p->interior().image().fileImageLayout(); },
            [p](qint32 x) { p->interior().image().setFileImageLayout(x); });
        v.text(
            QStringLiteral("FileName"), [p] { return p->interior().image().fileName(); },
            [p](const QString &x) { p->interior().image().setFileName(x); });
        v.colour(
            QStringLiteral("Background"), [p] { return p->interior().background(); },
            [p](qint32 x) { p->interior().setBackground(x); });
        v.colour(
            QStringLiteral("Foreground"), [p] { return p->interior().foreground(); },
            [p](qint32 x) { p->interior().setForeground(x); });
        v.text(
            QStringLiteral("Text"), [p] { return p->text(); },
            [p](const QString &x) { p->setText(x); });
        Values(out, key + QStringLiteral("\\Font"))
            .font([p]() -> Font & { return p->font(); }, underline, weight);
    };
    title(QStringLiteral("\\Chart2d\\Footer"), c.footer);
    title(QStringLiteral("\\Chart2d\\Header"), c.header);

    Values legend(out, QStringLiteral("\\Chart2d\\Legend"));
    legend.whole(QStringLiteral("BorderType"), PROP(legend.border(), borderType, setBorderType));
    legend.whole(QStringLiteral("BorderWidth"), PROP(legend.border(), borderWidth, setBorderWidth));
    legend.boolean(QStringLiteral("IsShowing"), PROP(legend, isShowing, setIsShowing));
    legend.whole(QStringLiteral("Orientation"), PROP(legend, orientation, setOrientation));
    legend.whole(QStringLiteral("FileImageLayout"),
                 PROP(legend.interior().image(), fileImageLayout, setFileImageLayout));
    legend.text(QStringLiteral("FileName"), PROP(legend.interior().image(), fileName, setFileName));
    legend.colour(QStringLiteral("Background"), PROP(legend.interior(), background, setBackground));
    legend.colour(QStringLiteral("Foreground"), PROP(legend.interior(), foreground, setForeground));
    legend.text(QStringLiteral("Text"), PROP(legend, text, setText));
    legend.whole(QStringLiteral("Anchor"), PROP(legend, anchor, setAnchor));
    Values(out, QStringLiteral("\\Chart2d\\Legend\\Font"))
        .font([c]() -> Font & { return c.legend.font(); }, underline, weight);

    // The Y axis stores every row, the X axis the rows that apply to a point axis.
    for (const int item : {1, 2}) {
        const bool y = item == 2;
        const QString key = y ? QStringLiteral("\\Chart2d\\Y") : QStringLiteral("\\Chart2d\\X");
        platform::chart::Axes *axes = &c.chartArea.axes();
        const auto a = [axes, item]() -> platform::chart::Axis & { return axes->item(item); };
        Values v(out, key);
        v.boolean(
            QStringLiteral("IsShowing"), [a] { return a().isShowing(); },
            [a](bool x) { a().setIsShowing(x); });
        if (y) {
            v.boolean(
                QStringLiteral("IsLogarithmic"), [a] { return a().isLogarithmic(); },
                [a](bool x) { a().setIsLogarithmic(x); });
            v.boolean(
                QStringLiteral("Is100Percente"), [a] { return a().is100Percente(); },
                [a](bool x) { a().setIs100Percente(x); });
        }
        v.boolean(
            QStringLiteral("IsReversed"), [a] { return a().isReversed(); },
            [a](bool x) { a().setIsReversed(x); });
        if (y) {
            v.text(
                QStringLiteral("LabelFormat"), [a] { return a().labelFormat(); },
                [a](const QString &x) { a().setLabelFormat(x); });
            v.integer(
                QStringLiteral("LabelCategory"), [a] { return a().labelCategory(); },
                [a](qint16 x) { a().setLabelCategory(x); });
        }
        v.whole(
            QStringLiteral("LineStyle"), [a] { return a().lineStyle(); },
            [a](qint32 x) { a().setLineStyle(x); });
        v.whole(
            QStringLiteral("GridStyle"), [a] { return a().gridStyle(); },
            [a](qint32 x) { a().setGridStyle(x); });
        if (y) {
            v.whole(
                QStringLiteral("TitleRotation"), [a] { return a().titleRotation(); },
                [a](qint32 x) { a().setTitleRotation(x); });
        }
        v.colour(
            QStringLiteral("LineColor"), [a] { return a().lineColor(); },
            [a](qint32 x) { a().setLineColor(x); });
        v.colour(
            QStringLiteral("GridColor"), [a] { return a().gridColor(); },
            [a](qint32 x) { a().setGridColor(x); });
        v.real(
            QStringLiteral("Spacing"), [a] { return a().spacing(); },
            [a](double x) { a().setSpacing(x); });
        v.whole(
            QStringLiteral("LineWidth"), [a] { return a().lineWidth(); },
            [a](qint32 x) { a().setLineWidth(x); });
        v.whole(
            QStringLiteral("GridWidth"), [a] { return a().gridWidth(); },
            [a](qint32 x) { a().setGridWidth(x); });
        v.real(
            QStringLiteral("Rotation"), [a] { return a().rotation(); },
            [a](double x) { a().setRotation(x); });
        Values(out, key + QStringLiteral("\\Font")).font([a]() -> Font & { return a().font(); });
        Values(out, key + QStringLiteral("\\TitleFont")).font([a]() -> Font & {
            return a().titleFont();
        });
    }

    section.readOrder = section.values;
    return section;
}

#undef PROP

Section previewSection(PreviewOptions &preview)
{
    Section section{QStringLiteral("\\Preview"), QStringLiteral("Comment"), {}, {}};
    Values v(section.values, QStringLiteral("\\Preview"));
    PreviewOptions *p = &preview;
    v.text(
        QStringLiteral("Comment"), [p] { return p->PreviewComment; },
        [p](const QString &x) { p->PreviewComment = x; });
    const std::pair<const char *, bool PreviewOptions::*> switches[] = {
        {"ShowHeaderAndFooter", &PreviewOptions::PreviewHeaderAndFooter},
        {"ShowComments", &PreviewOptions::PreviewComments},
        {"ShowTitle", &PreviewOptions::PreviewTitle},
        {"ShowHeadings", &PreviewOptions::PreviewHeadings},
        {"ShowData", &PreviewOptions::PreviewData},
        {"ShowChart", &PreviewOptions::PreviewChart},
        {"ShowChartInNewPage", &PreviewOptions::PreviewChartInNewPage},
        {"ShowBW", &PreviewOptions::PreviewBW},
    };
    for (const auto &[name, member] : switches) {
        v.boolean(
            QString::fromLatin1(name), [p, member = member] { return p->*member; },
            [p, member = member](bool x) { p->*member = x; });
    }
    section.readOrder = section.values;
    return section;
}

// --- Writing and reading ---------------------------------------------------------------------

bool writeSection(const Section &section)
{
    bool all = registry::createRegKey(baseKey());
    std::set<QString> created{QString()};
    for (const StoredValue &value : section.values) {
        if (created.insert(value.key).second)
            all = registry::createRegKey(baseKey() + value.key) && all;
        try {
            all = registry::setRegValue(baseKey() + value.key, value.name, value.get()) && all;
        } catch (...) {
            all = false; // a value that cannot be taken is skipped; the next one is written
        }
    }
    return all;
}

SectionRead readSection(const Section &section)
{
    const QString probe =
        registry::getRegValue(baseKey() + section.probeKey, section.probeName).toString();
    if (probe.toUpper() == QLatin1String("ERROR"))
        return SectionRead::Absent;
    try {
        for (const StoredValue &value : section.readOrder)
            value.set(registry::getRegValue(baseKey() + value.key, value.readName).toString());
    } catch (...) {
        return SectionRead::Failed;
    }
    return SectionRead::Read;
}

} // namespace pelmora::defaults
