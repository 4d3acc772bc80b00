#include "platform/chart/ChartModel.h"

#include "platform/runtime/Error.h"

#include <cmath>

namespace platform::chart {

QString invalidValueDescription()
{
    return QStringLiteral("Invalid property value");
}

QString invalidIndexDescription()
{
    return QStringLiteral("Subscript out of range");
}

bool sameValues(const std::vector<double> &a, const std::vector<double> &b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i] != b[i] && !(std::isnan(a[i]) && std::isnan(b[i])))
            return false;
    }
    return true;
}

void ChartNode::require(bool valid)
{
    if (!valid)
        throw platform::Error(invalidValueDescription());
}

namespace {

void requireIndex(bool valid)
{
    if (!valid)
        throw platform::Error(invalidIndexDescription());
}

bool inList(qint32 value, std::initializer_list<qint32> codes)
{
    for (qint32 code : codes) {
        if (value == code)
            return true;
    }
    return false;
}

} // namespace

// Font

Font::Font(const QString &name, double size, bool bold)
    : m_font{bold, 0, false, name, size, false, false, bold ? 700 : 400}
{}

void Font::setName(const QString &name)
{
    require(!name.trimmed().isEmpty());
    assign(m_font.name, name);
}

void Font::setSize(double size)
{
    require(std::isfinite(size) && size > 0 && size <= 2048);
    // The font object keeps sizes as a fixed-point value with four decimals.
    assign(m_font.size, std::round(size * 10000) / 10000);
}

void Font::setBold(bool on)
{
    if (m_font.bold == on)
        return;
    m_font.bold = on;
    m_font.weight = on ? 700 : 400;
    changed();
}

void Font::setWeight(qint16 weight)
{
    require(weight >= 0 && weight <= 1000);
    if (m_font.weight == weight)
        return;
    m_font.weight = weight;
    m_font.bold = weight >= 600;
    changed();
}

void Font::setAttributes(const forms::FontAttributes &attributes)
{
    if (m_font == attributes)
        return;
    m_font = attributes;
    changed();
}

// Border, image, interior, text boxes

void Border::setBorderType(qint32 type)
{
    require(type >= BorderType::None && type <= BorderType::Bevel);
    assign(m_type, type);
}

void Border::setBorderWidth(qint32 width)
{
    require(width >= 0 && width <= 100);
    assign(m_width, width);
}

void Image::setFileImageLayout(qint32 layout)
{
    require(layout >= ImageLayout::Centered && layout <= ImageLayout::CropFitted);
    assign(m_layout, layout);
}

void Interior::attach(ChangeSink *sink)
{
    ChartNode::attach(sink);
    m_image.attach(sink);
}

void TextBox::attach(ChangeSink *sink)
{
    ChartNode::attach(sink);
    m_font.attach(sink);
    m_border.attach(sink);
    m_interior.attach(sink);
}

Title::Title(double fontSize, bool bold)
{
    m_font = Font(QStringLiteral("Sans Serif"), fontSize, bold);
}

void Title::setAlignment(qint32 alignment)
{
    require(alignment >= Alignment::Left && alignment <= Alignment::Center);
    assign(m_alignment, alignment);
}

Legend::Legend()
{
    m_showing = false;
    m_font = Font(QStringLiteral("Sans Serif"), 9, false);
}

void Legend::setOrientation(qint32 orientation)
{
    require(orientation == Orientation::Vertical || orientation == Orientation::Horizontal);
    assign(m_orientation, orientation);
}

void Legend::setAnchor(qint32 anchor)
{
    require(
        inList(anchor, {Anchor::East, Anchor::West, Anchor::North, Anchor::NorthEast,
                        Anchor::NorthWest, Anchor::South, Anchor::SouthEast, Anchor::SouthWest}));
    assign(m_anchor, anchor);
}

// The chart area

void Effect3D::setShading(qint16 shading)
{
    require(shading >= Shading::Color && shading <= Shading::None);
    assign(m_shading, shading);
}

void Effect3D::setDepth(qint32 depth)
{
    require(depth >= 0 && depth <= 500);
    assign(m_depth, depth);
}

void Effect3D::setElevation(qint32 degrees)
{
    require(degrees >= -90 && degrees <= 90);
    assign(m_elevation, degrees);
}

void Effect3D::setRotation(qint32 degrees)
{
    require(degrees >= -360 && degrees <= 360);
    assign(m_rotation, degrees);
}

Axis::Axis()
    : m_titleFont(QStringLiteral("Sans Serif"), 9, true),
      m_font(QStringLiteral("Sans Serif"), 8, false)
{}

void Axis::attach(ChangeSink *sink)
{
    ChartNode::attach(sink);
    m_titleFont.attach(sink);
    m_font.attach(sink);
}

void Axis::setTitleRotation(qint32 rotation)
{
    require(rotation >= TitleRotation::None && rotation <= TitleRotation::Rotate315);
    assign(m_titleRotation, rotation);
}

void Axis::setRotation(double degrees)
{
    require(std::isfinite(degrees) && degrees >= -360 && degrees <= 360);
    assign(m_rotation, degrees);
}

void Axis::setLabelCategory(qint16 category)
{
    require(category >= LabelCategory::Standard && category <= LabelCategory::Custom);
    assign(m_labelCategory, category);
}

void Axis::setAnnotationMethod(qint32 method)
{
    require(method >= AnnotationMethod::Values && method <= AnnotationMethod::DataLabels);
    assign(m_annotation, method);
}

void Axis::setLineStyle(qint32 pattern)
{
    require(pattern >= LinePattern::None && pattern <= LinePattern::DashDot);
    assign(m_lineStyle, pattern);
}

void Axis::setLineWidth(qint32 width)
{
    require(width >= 0 && width <= 100);
    assign(m_lineWidth, width);
}

void Axis::setGridStyle(qint32 pattern)
{
    require(pattern >= LinePattern::None && pattern <= LinePattern::DashDot);
    assign(m_gridStyle, pattern);
}

void Axis::setGridWidth(qint32 width)
{
    require(width >= 0 && width <= 100);
    assign(m_gridWidth, width);
}

void Axis::setSpacing(double spacing)
{
    require(std::isfinite(spacing) && spacing >= 0);
    assign(m_spacing, spacing);
}

void Axis::setMin(double value)
{
    require(std::isfinite(value));
    if (m_min == value && !m_minAuto)
        return;
    m_min = value;
    m_minAuto = false;
    changed();
}

void Axis::setMax(double value)
{
    require(std::isfinite(value));
    if (m_max == value && !m_maxAuto)
        return;
    m_max = value;
    m_maxAuto = false;
    changed();
}

void Axes::attach(ChangeSink *sink)
{
    ChartNode::attach(sink);
    m_x.attach(sink);
    m_y.attach(sink);
}

Axis &Axes::item(int index)
{
    requireIndex(index == 1 || index == 2);
    return index == 1 ? m_x : m_y;
}

const Axis &Axes::item(int index) const
{
    requireIndex(index == 1 || index == 2);
    return index == 1 ? m_x : m_y;
}

void ChartArea::attach(ChangeSink *sink)
{
    ChartNode::attach(sink);
    m_border.attach(sink);
    m_box.attach(sink);
    m_effect.attach(sink);
    m_axes.attach(sink);
}

// Labels and data

QString Labels::item(int index) const
{
    requireIndex(index >= 1 && index <= count());
    return m_items[index - 1];
}

void Labels::setItem(int index, const QString &text)
{
    requireIndex(index >= 1 && index <= count());
    if (m_items[index - 1] == text)
        return;
    m_items[index - 1] = text;
    changed();
}

void Labels::add(const QString &text)
{
    m_items.append(text);
    changed();
}

void Labels::removeAll()
{
    if (m_items.isEmpty())
        return;
    m_items.clear();
    changed();
}

void ChartData::setSize(int series, int points)
{
    if (series < 0 || points < 0 || qint64(series) * points > MaxValues)
        throw platform::Error(invalidValueDescription());
    if (series == m_series && points == m_points)
        return;
    std::vector<double> values(std::size_t(series) * std::size_t(points), 0.0);
    for (int s = 0; s < std::min(series, m_series); ++s) {
        for (int p = 0; p < std::min(points, m_points); ++p)
            values[std::size_t(s) * points + p] = m_values[std::size_t(s) * m_points + p];
    }
    m_values.swap(values);
    m_series = series;
    m_points = points;
    changed();
}

bool ChartData::operator==(const ChartData &other) const
{
    return m_series == other.m_series && m_points == other.m_points
           && sameValues(m_values, other.m_values);
}

void ChartData::setNumSeries(int count)
{
    setSize(count, m_points);
}

int ChartData::numPoints(int series) const
{
    requireIndex(series >= 1 && series <= m_series);
    return m_points;
}

void ChartData::setNumPoints(int series, int count)
{
    requireIndex(series >= 1 && series <= m_series);
    setSize(m_series, count);
}

qsizetype ChartData::index(int series, int point) const
{
    requireIndex(series >= 1 && series <= m_series && point >= 1 && point <= m_points);
    return qsizetype(series - 1) * m_points + (point - 1);
}

double ChartData::value(int series, int point) const
{
    return m_values[std::size_t(index(series, point))];
}

void ChartData::setValue(int series, int point, double value)
{
    double &slot = m_values[std::size_t(index(series, point))];
    // NaN never equals itself: compare bits so that storing the same hole twice is no change.
    if (slot == value || (std::isnan(slot) && std::isnan(value)))
        return;
    slot = value;
    changed();
}

// Series styles

void LineStyle::setPattern(qint32 pattern)
{
    require(pattern >= LinePattern::None && pattern <= LinePattern::DashDot);
    assign(m_pattern, pattern);
}

void LineStyle::setWidth(qint32 width)
{
    require(width >= 0 && width <= 100);
    assign(m_width, width);
}

void FillStyle::attach(ChangeSink *sink)
{
    ChartNode::attach(sink);
    m_interior.attach(sink);
}

void FillStyle::setPattern(qint32 pattern)
{
    require(pattern >= FillPattern::None && pattern <= FillPattern::DiagonalCross);
    assign(m_pattern, pattern);
}

void SymbolStyle::setShape(qint32 shape)
{
    require(shape >= SymbolShape::None && shape <= SymbolShape::Image);
    assign(m_shape, shape);
}

void SymbolStyle::setSize(qint32 size)
{
    require(size >= 0 && size <= 100);
    assign(m_size, size);
}

SeriesStyle SeriesStyle::defaultFor(int series)
{
    // Sixteen distinct colours as 0x00BBGGRR, then again.
    static const qint32 palette[] = {
        0xB47733, 0x0E7FFF, 0x2CA02C, 0x2827D6, 0xBD6794, 0x4B568C, 0xC277E3, 0x7F7F7F,
        0x22BDBC, 0xCFBE17, 0xE8C7AE, 0x78BBFF, 0x8ADF98, 0x9698FF, 0xD5B0C5, 0x949CC4,
    };
    static const qint32 shapes[] = {
        // clang-format off
        SymbolShape::Dot,      SymbolShape::Box,     SymbolShape::Triangle,
        SymbolShape::Diamond,  SymbolShape::Star,    SymbolShape::Cross,
        SymbolShape::Circle,   SymbolShape::Square,  SymbolShape::InvertedTriangle,
        // clang-format on
        SymbolShape::DiagonalCross,
    };
    const int i = std::max(series, 1) - 1;
    const qint32 color = palette[i % 16];
    SeriesStyle style;
    style.m_line.setColor(color);
    style.m_line.setWidth(2);
    style.m_fill.interior().setBackground(color);
    style.m_fill.interior().setForeground(0);
    style.m_symbol.setColor(color);
    style.m_symbol.setShape(shapes[i % 10]);
    return style;
}

void SeriesStyle::attach(ChangeSink *sink)
{
    ChartNode::attach(sink);
    m_line.attach(sink);
    m_fill.attach(sink);
    m_symbol.attach(sink);
}

void SeriesStyles::attach(ChangeSink *sink)
{
    ChartNode::attach(sink);
    for (SeriesStyle &style : m_items)
        style.attach(sink);
}

SeriesStyle &SeriesStyles::item(int series)
{
    requireIndex(series >= 1 && series <= MaxStyles);
    if (series > count()) {
        // New styles are not a change of the look: they take the look the series had.
        const int from = count();
        m_items.reserve(std::size_t(series));
        for (int s = from + 1; s <= series; ++s) {
            m_items.push_back(SeriesStyle::defaultFor(s));
            m_items.back().attach(sink());
        }
    }
    return m_items[std::size_t(series - 1)];
}

SeriesStyle SeriesStyles::at(int series) const
{
    if (series >= 1 && series <= count())
        return m_items[std::size_t(series - 1)];
    return SeriesStyle::defaultFor(series);
}

void SeriesStyles::resize(int count)
{
    requireIndex(count >= 0 && count <= MaxStyles);
    if (count < this->count()) {
        m_items.resize(std::size_t(count));
        changed();
    } else if (count > this->count()) {
        item(count);
    }
}

// Groups and the whole model

void ChartGroup::attach(ChangeSink *sink)
{
    ChartNode::attach(sink);
    m_data.attach(sink);
    m_pointLabels.attach(sink);
    m_seriesLabels.attach(sink);
    m_styles.attach(sink);
}

void ChartGroup::setChartType(qint32 type)
{
    require(type >= ChartType::Plot && type <= ChartType::Bubble);
    assign(m_type, type);
}

ChartGroup &ChartGroups::item(int index)
{
    requireIndex(index == 1);
    return m_group;
}

const ChartGroup &ChartGroups::item(int index) const
{
    requireIndex(index == 1);
    return m_group;
}

Chart2DModel::Chart2DModel() : header(12, true), footer(9, false)
{
    chartArea.axes().y().setGridStyle(LinePattern::Solid);
}

void Chart2DModel::attach(ChangeSink *sink)
{
    header.attach(sink);
    footer.attach(sink);
    legend.attach(sink);
    border.attach(sink);
    interior.attach(sink);
    chartArea.attach(sink);
    chartGroups.attach(sink);
}

} // namespace platform::chart
