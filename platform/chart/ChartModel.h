#pragma once

#include "platform/chart/ChartTypes.h"
#include "platform/forms/FontAttributes.h"

#include <QString>
#include <QStringList>
#include <QtGlobal>

#include <vector>

// The 2-D chart's object model: plain objects whose properties read back the value last set or
// loaded. Every setter tells the chart that owns the object (its ChangeSink), which redraws; a
// model that belongs to no chart (a copy being loaded) tells nobody. Setters refuse values
// outside a property's range with platform::Error(invalidValueDescription()) and leave the
// property as it was.
//
// Indexes are 1-based, as the charts count series, points, labels, axes and groups.
namespace platform::chart {

QString invalidValueDescription(); // "Invalid property value"
QString invalidIndexDescription(); // "Subscript out of range"

// Equal values, NaN equal to NaN.
bool sameValues(const std::vector<double> &a, const std::vector<double> &b);

class ChangeSink
{
public:
    virtual void modelChanged() = 0;

protected:
    ~ChangeSink() = default;
};

class ChartNode
{
public:
    void attach(ChangeSink *sink) { m_sink = sink; }
    // Nodes compare by their values only, never by the chart they belong to.
    bool operator==(const ChartNode &) const { return true; }

protected:
    void changed() const
    {
        if (m_sink)
            m_sink->modelChanged();
    }
    template <typename T>
    void assign(T &member, const T &value)
    {
        if (member == value)
            return;
        member = value;
        changed();
    }
    static void require(bool valid);
    ChangeSink *sink() const { return m_sink; }

private:
    ChangeSink *m_sink = nullptr;
};

// The standard font object's attributes. Bold and Weight go together: setting Bold makes the
// weight 700 or 400, setting a weight of 600 or more makes the font bold.
class Font : public ChartNode
{
public:
    Font() = default;
    Font(const QString &name, double size, bool bold);

    QString name() const { return m_font.name; }
    void setName(const QString &name);
    double size() const { return m_font.size; } // points, four decimals at most
    void setSize(double size);                  // (0, 2048]
    bool bold() const { return m_font.bold; }
    void setBold(bool on);
    bool italic() const { return m_font.italic; }
    void setItalic(bool on) { assign(m_font.italic, on); }
    bool underline() const { return m_font.underline; }
    void setUnderline(bool on) { assign(m_font.underline, on); }
    bool strikethrough() const { return m_font.strikethrough; }
    void setStrikethrough(bool on) { assign(m_font.strikethrough, on); }
    qint16 weight() const { return qint16(m_font.weight); }
    void setWeight(qint16 weight);                            // 0..1000
    qint16 charset() const { return qint16(m_font.charset); } // kept, not used in drawing
    void setCharset(qint16 charset) { assign(m_font.charset, int(charset)); }

    // All eight attributes at once, copied as they stand (another font's); one change at most.
    const forms::FontAttributes &attributes() const { return m_font; }
    void setAttributes(const forms::FontAttributes &attributes);
    // Copies every attribute of `other` (copiaFont).
    void copyFrom(const Font &other) { setAttributes(other.m_font); }

    bool operator==(const Font &) const = default;

private:
    forms::FontAttributes m_font{false, 0,     false, QStringLiteral("Sans Serif"),
                                 10,    false, false, 400};
};

class Border : public ChartNode
{
public:
    qint32 borderType() const { return m_type; }
    void setBorderType(qint32 type); // BorderType
    qint32 borderWidth() const { return m_width; }
    void setBorderWidth(qint32 width); // pixels, 0..100

    bool operator==(const Border &) const = default;

private:
    qint32 m_type = BorderType::None;
    qint32 m_width = 1;
};

class Image : public ChartNode
{
public:
    QString fileName() const { return m_fileName; }
    void setFileName(const QString &name) { assign(m_fileName, name); }
    qint32 fileImageLayout() const { return m_layout; }
    void setFileImageLayout(qint32 layout); // ImageLayout

    bool operator==(const Image &) const = default;

private:
    QString m_fileName;
    qint32 m_layout = ImageLayout::Tiled;
};

// Colours of an element's area: Background fills it; Foreground draws its text, or the lines of
// a fill pattern. The image is drawn over the background.
class Interior : public ChartNode
{
public:
    void attach(ChangeSink *sink);

    qint32 background() const { return m_background; }
    void setBackground(qint32 color) { assign(m_background, color); }
    qint32 foreground() const { return m_foreground; }
    void setForeground(qint32 color) { assign(m_foreground, color); }
    Image &image() { return m_image; }
    const Image &image() const { return m_image; }

    bool operator==(const Interior &) const = default;

private:
    qint32 m_background = AutomaticColor;
    qint32 m_foreground = AutomaticColor;
    Image m_image;
};

// What titles and the legend have in common: showing flag, text, font, border and interior.
class TextBox : public ChartNode
{
public:
    void attach(ChangeSink *sink);

    bool isShowing() const { return m_showing; }
    void setIsShowing(bool on) { assign(m_showing, on); }
    QString text() const { return m_text; } // lines separated by "\n"
    void setText(const QString &text) { assign(m_text, text); }
    Font &font() { return m_font; }
    const Font &font() const { return m_font; }
    Border &border() { return m_border; }
    const Border &border() const { return m_border; }
    Interior &interior() { return m_interior; }
    const Interior &interior() const { return m_interior; }

    bool operator==(const TextBox &) const = default;

protected:
    bool m_showing = true;
    QString m_text;
    Font m_font;
    Border m_border;
    Interior m_interior;
};

// Header and Footer. A title is drawn only while it is showing and has a text.
class Title : public TextBox
{
public:
    explicit Title(double fontSize = 10, bool bold = false);

    qint32 alignment() const { return m_alignment; }
    void setAlignment(qint32 alignment); // Alignment

    bool operator==(const Title &) const = default;

private:
    qint32 m_alignment = Alignment::Center;
};

// The legend lists one entry per series (per set of series for the hi-lo and candle charts)
// under its Text.
class Legend : public TextBox
{
public:
    Legend();

    qint32 orientation() const { return m_orientation; }
    void setOrientation(qint32 orientation); // Orientation
    qint32 anchor() const { return m_anchor; }
    void setAnchor(qint32 anchor); // Anchor

    bool operator==(const Legend &) const = default;

private:
    qint32 m_orientation = Orientation::Vertical;
    qint32 m_anchor = Anchor::East;
};

class AreaBox : public ChartNode
{
public:
    bool isBoxed() const { return m_boxed; }
    void setIsBoxed(bool on) { assign(m_boxed, on); }

    bool operator==(const AreaBox &) const = default;

private:
    bool m_boxed = false;
};

// The 2-D chart's 3-D effect: depth in pixels (0 is flat), elevation and rotation in degrees.
class Effect3D : public ChartNode
{
public:
    qint16 shading() const { return m_shading; }
    void setShading(qint16 shading); // Shading
    qint32 depth() const { return m_depth; }
    void setDepth(qint32 depth); // 0..500
    qint32 elevation() const { return m_elevation; }
    void setElevation(qint32 degrees); // -90..90
    qint32 rotation() const { return m_rotation; }
    void setRotation(qint32 degrees); // -360..360

    bool operator==(const Effect3D &) const = default;

private:
    qint16 m_shading = Shading::Color;
    qint32 m_depth = 0;
    qint32 m_elevation = 45;
    qint32 m_rotation = 45;
};

class Axis : public ChartNode
{
public:
    Axis();
    void attach(ChangeSink *sink);

    bool isShowing() const { return m_showing; }
    void setIsShowing(bool on) { assign(m_showing, on); }
    bool isReversed() const { return m_reversed; }
    void setIsReversed(bool on) { assign(m_reversed, on); }
    // Value axes only (Y): logarithmic scale; each point's values as percentages of their sum.
    bool isLogarithmic() const { return m_logarithmic; }
    void setIsLogarithmic(bool on) { assign(m_logarithmic, on); }
    bool is100Percente() const { return m_percent; }
    void setIs100Percente(bool on) { assign(m_percent, on); }

    QString titleText() const { return m_titleText; }
    void setTitleText(const QString &text) { assign(m_titleText, text); }
    qint32 titleRotation() const { return m_titleRotation; }
    void setTitleRotation(qint32 rotation); // TitleRotation
    Font &titleFont() { return m_titleFont; }
    const Font &titleFont() const { return m_titleFont; }

    // The labels: their angle in degrees (counter-clockwise), font and format.
    double rotation() const { return m_rotation; }
    void setRotation(double degrees); // -360..360
    Font &font() { return m_font; }
    const Font &font() const { return m_font; }
    qint16 labelCategory() const { return m_labelCategory; }
    void setLabelCategory(qint16 category); // LabelCategory, 1..12
    QString labelFormat() const { return m_labelFormat; }
    void setLabelFormat(const QString &pattern) { assign(m_labelFormat, pattern); }
    // The X axis only: AnnotationMethod (point numbers or point labels).
    qint32 annotationMethod() const { return m_annotation; }
    void setAnnotationMethod(qint32 method);

    // The axis line and the grid lines: LinePattern, colour, width in pixels (0..100).
    qint32 lineStyle() const { return m_lineStyle; }
    void setLineStyle(qint32 pattern);
    qint32 lineColor() const { return m_lineColor; }
    void setLineColor(qint32 color) { assign(m_lineColor, color); }
    qint32 lineWidth() const { return m_lineWidth; }
    void setLineWidth(qint32 width);
    qint32 gridStyle() const { return m_gridStyle; }
    void setGridStyle(qint32 pattern);
    qint32 gridColor() const { return m_gridColor; }
    void setGridColor(qint32 color) { assign(m_gridColor, color); }
    qint32 gridWidth() const { return m_gridWidth; }
    void setGridWidth(qint32 width);
    // Distance between grid lines (and labelled ticks) in axis units; 0 chooses it.
    double spacing() const { return m_spacing; }
    void setSpacing(double spacing); // >= 0

    // Value axes: the bounds. Setting a bound fixes it; setMaxAuto(true) lets the chart choose it
    // again from the data, keeping the last bound set for reading back.
    double min() const { return m_min; }
    void setMin(double value);
    bool isMinAuto() const { return m_minAuto; }
    void setMinAuto(bool on) { assign(m_minAuto, on); }
    double max() const { return m_max; }
    void setMax(double value);
    bool isMaxAuto() const { return m_maxAuto; }
    void setMaxAuto(bool on) { assign(m_maxAuto, on); }

    bool operator==(const Axis &) const = default;

private:
    bool m_showing = true;
    bool m_reversed = false;
    bool m_logarithmic = false;
    bool m_percent = false;
    QString m_titleText;
    qint32 m_titleRotation = TitleRotation::None;
    Font m_titleFont;
    double m_rotation = 0;
    Font m_font;
    qint16 m_labelCategory = LabelCategory::Standard;
    QString m_labelFormat;
    qint32 m_annotation = AnnotationMethod::Values;
    qint32 m_lineStyle = LinePattern::Solid;
    qint32 m_lineColor = 0;
    qint32 m_lineWidth = 1;
    qint32 m_gridStyle = LinePattern::None;
    qint32 m_gridColor = 0xC0C0C0;
    qint32 m_gridWidth = 1;
    double m_spacing = 0;
    double m_min = 0;
    bool m_minAuto = true;
    double m_max = 0;
    bool m_maxAuto = true;
};

// The chart area's axes: item 1 is X (the points), item 2 is Y (the values).
class Axes : public ChartNode
{
public:
    void attach(ChangeSink *sink);
    int count() const { return 2; }
    Axis &item(int index);
    const Axis &item(int index) const;
    Axis &x() { return m_x; }
    const Axis &x() const { return m_x; }
    Axis &y() { return m_y; }
    const Axis &y() const { return m_y; }

    bool operator==(const Axes &) const = default;

private:
    Axis m_x;
    Axis m_y;
};

class ChartArea : public ChartNode
{
public:
    void attach(ChangeSink *sink);

    // Bars, areas and lines run from left to right instead of upwards: X stands vertically.
    bool isHorizontal() const { return m_horizontal; }
    void setIsHorizontal(bool on) { assign(m_horizontal, on); }
    Border &border() { return m_border; }
    const Border &border() const { return m_border; }
    AreaBox &areaBox() { return m_box; }
    const AreaBox &areaBox() const { return m_box; }
    Effect3D &effect3D() { return m_effect; }
    const Effect3D &effect3D() const { return m_effect; }
    Axes &axes() { return m_axes; }
    const Axes &axes() const { return m_axes; }

    bool operator==(const ChartArea &) const = default;

private:
    bool m_horizontal = false;
    Border m_border;
    AreaBox m_box;
    Effect3D m_effect;
    Axes m_axes;
};

// A list of labels (point labels, series labels, row and column labels).
class Labels : public ChartNode
{
public:
    int count() const { return int(m_items.size()); }
    QString item(int index) const; // 1..count
    void setItem(int index, const QString &text);
    void add(const QString &text);
    void removeAll();
    const QStringList &all() const { return m_items; }

    bool operator==(const Labels &) const = default;

private:
    QStringList m_items;
};

// The values of a chart group: every series has the same number of points.
class ChartData : public ChartNode
{
public:
    // The most values a chart holds (series x points).
    static constexpr qint64 MaxValues = 20'000'000;

    int numSeries() const { return m_series; }
    void setNumSeries(int count); // 0.., keeps the values that still fit
    // The number of points; the count given for any series applies to every series.
    int numPoints(int series) const;
    void setNumPoints(int series, int count);
    int numPoints() const { return m_points; }
    double value(int series, int point) const;
    void setValue(int series, int point, double value);
    // Both counts at once, whatever they were.
    void setSize(int series, int points);

    // Holes (NaN) equal each other: equal data draws the same.
    bool operator==(const ChartData &other) const;

private:
    qsizetype index(int series, int point) const;

    int m_series = 0;
    int m_points = 0;
    std::vector<double> m_values; // series-major
};

class LineStyle : public ChartNode
{
public:
    qint32 pattern() const { return m_pattern; }
    void setPattern(qint32 pattern); // LinePattern
    qint32 color() const { return m_color; }
    void setColor(qint32 color) { assign(m_color, color); }
    qint32 width() const { return m_width; }
    void setWidth(qint32 width); // 0..100

    bool operator==(const LineStyle &) const = default;

private:
    qint32 m_pattern = LinePattern::Solid;
    qint32 m_color = 0;
    qint32 m_width = 1;
};

// A series' fill: the pattern's lines in the interior's Foreground over its Background; a solid
// fill is the Background. The interior's image, when it names a readable file, fills instead.
class FillStyle : public ChartNode
{
public:
    void attach(ChangeSink *sink);
    qint32 pattern() const { return m_pattern; }
    void setPattern(qint32 pattern); // FillPattern
    Interior &interior() { return m_interior; }
    const Interior &interior() const { return m_interior; }

    bool operator==(const FillStyle &) const = default;

private:
    qint32 m_pattern = FillPattern::Solid;
    Interior m_interior;
};

class SymbolStyle : public ChartNode
{
public:
    qint32 shape() const { return m_shape; }
    void setShape(qint32 shape); // SymbolShape
    qint32 color() const { return m_color; }
    void setColor(qint32 color) { assign(m_color, color); }
    qint32 size() const { return m_size; }
    void setSize(qint32 size); // pixels, 0..100

    bool operator==(const SymbolStyle &) const = default;

private:
    qint32 m_shape = SymbolShape::Dot;
    qint32 m_color = 0;
    qint32 m_size = 6;
};

// One series' look. image() is the fill's interior image: it fills bars, areas and slices and
// is the symbol of SymbolShape::Image.
class SeriesStyle : public ChartNode
{
public:
    // The look a chart gives series `series` before anything is set.
    static SeriesStyle defaultFor(int series);

    void attach(ChangeSink *sink);
    LineStyle &line() { return m_line; }
    const LineStyle &line() const { return m_line; }
    FillStyle &fill() { return m_fill; }
    const FillStyle &fill() const { return m_fill; }
    SymbolStyle &symbol() { return m_symbol; }
    const SymbolStyle &symbol() const { return m_symbol; }
    Image &image() { return m_fill.interior().image(); }
    const Image &image() const { return m_fill.interior().image(); }

    bool operator==(const SeriesStyle &) const = default;

private:
    LineStyle m_line;
    FillStyle m_fill;
    SymbolStyle m_symbol;
};

// One style per series. item(s) reaches series s's style, creating the styles up to s with their
// defaults, so styles can be set before or after the data; count() is the number created.
class SeriesStyles : public ChartNode
{
public:
    static constexpr int MaxStyles = 100'000;

    void attach(ChangeSink *sink);
    int count() const { return int(m_items.size()); }
    SeriesStyle &item(int series); // 1..MaxStyles
    // Series s's style as drawn: the one created, or the default.
    SeriesStyle at(int series) const;
    void resize(int count); // for loading: exactly `count` styles

    bool operator==(const SeriesStyles &) const = default;

private:
    std::vector<SeriesStyle> m_items;
};

class ChartGroup : public ChartNode
{
public:
    void attach(ChangeSink *sink);

    qint32 chartType() const { return m_type; }
    void setChartType(qint32 type); // ChartType
    bool isStacked() const { return m_stacked; }
    void setIsStacked(bool on) { assign(m_stacked, on); }
    ChartData &data() { return m_data; }
    const ChartData &data() const { return m_data; }
    Labels &pointLabels() { return m_pointLabels; }
    const Labels &pointLabels() const { return m_pointLabels; }
    Labels &seriesLabels() { return m_seriesLabels; }
    const Labels &seriesLabels() const { return m_seriesLabels; }
    SeriesStyles &styles() { return m_styles; }
    const SeriesStyles &styles() const { return m_styles; }

    bool operator==(const ChartGroup &) const = default;

private:
    qint32 m_type = ChartType::Plot;
    bool m_stacked = false;
    ChartData m_data;
    Labels m_pointLabels;
    Labels m_seriesLabels;
    SeriesStyles m_styles;
};

// The chart groups; the chart has one, item 1.
class ChartGroups : public ChartNode
{
public:
    void attach(ChangeSink *sink)
    {
        ChartNode::attach(sink);
        m_group.attach(sink);
    }
    int count() const { return 1; }
    ChartGroup &item(int index);
    const ChartGroup &item(int index) const;

    bool operator==(const ChartGroups &) const = default;

private:
    ChartGroup m_group;
};

// Everything a 2-D chart shows.
class Chart2DModel
{
public:
    Chart2DModel();
    void attach(ChangeSink *sink);

    Title header;
    Title footer;
    Legend legend;
    Border border;
    Interior interior;
    ChartArea chartArea;
    ChartGroups chartGroups;

    ChartGroup &group() { return chartGroups.item(1); }
    const ChartGroup &group() const { return chartGroups.item(1); }

    bool operator==(const Chart2DModel &) const = default;
};

} // namespace platform::chart
