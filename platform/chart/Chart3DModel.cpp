#include "platform/chart/Chart3DModel.h"

#include "platform/runtime/Error.h"

#include <cmath>

namespace platform::chart {

namespace {

void requireValue(bool valid)
{
    if (!valid)
        throw platform::Error(invalidValueDescription());
}

void requireIndex(bool valid)
{
    if (!valid)
        throw platform::Error(invalidIndexDescription());
}

} // namespace

void View3D::setSelectionMode(qint32 mode)
{
    requireValue(mode >= 0 && mode <= 3);
    assign(m_selection, mode);
}

void View3D::setColorStyle(qint32 style)
{
    requireValue(style >= 0 && style <= 2);
    assign(m_colorStyle, style);
}

void Axis3D::setAnnotationMethod(qint32 method)
{
    requireValue(method >= AnnotationMethod::Values && method <= AnnotationMethod::DataLabels);
    assign(m_annotation, method);
}

void Axes3D::attach(ChangeSink *sink)
{
    ChartNode::attach(sink);
    m_x.attach(sink);
    m_y.attach(sink);
}

Axis3D &Axes3D::item(int index)
{
    requireIndex(index == 1 || index == 2);
    return index == 1 ? m_x : m_y;
}

const Axis3D &Axes3D::item(int index) const
{
    requireIndex(index == 1 || index == 2);
    return index == 1 ? m_x : m_y;
}

void Style3D::setShading(qint32 shading)
{
    requireValue(shading == 1 || shading == 2);
    assign(m_shading, shading);
}

void Styles3D::attach(ChangeSink *sink)
{
    ChartNode::attach(sink);
    m_surface.attach(sink);
    m_bars.attach(sink);
}

Style3D &Styles3D::item(int index)
{
    requireIndex(index == 1 || index == 2);
    return index == 1 ? m_surface : m_bars;
}

const Style3D &Styles3D::item(int index) const
{
    requireIndex(index == 1 || index == 2);
    return index == 1 ? m_surface : m_bars;
}

void ElevationData::attach(ChangeSink *sink)
{
    ChartNode::attach(sink);
    m_rowLabels.attach(sink);
    m_columnLabels.attach(sink);
}

void ElevationData::resize(int rows, int columns)
{
    requireValue(rows >= 0 && columns >= 0 && qint64(rows) * columns <= MaxValues);
    if (rows == m_rows && columns == m_columns)
        return;
    std::vector<double> values(std::size_t(rows) * std::size_t(columns), 0.0);
    for (int r = 0; r < std::min(rows, m_rows); ++r) {
        for (int c = 0; c < std::min(columns, m_columns); ++c)
            values[std::size_t(r) * columns + c] = m_values[std::size_t(r) * m_columns + c];
    }
    m_values.swap(values);
    m_rows = rows;
    m_columns = columns;
    changed();
}

bool ElevationData::operator==(const ElevationData &other) const
{
    return m_rows == other.m_rows && m_columns == other.m_columns
           && sameValues(m_values, other.m_values) && m_rowLabels == other.m_rowLabels
           && m_columnLabels == other.m_columnLabels;
}

void ElevationData::setRowCount(int count)
{
    resize(count, m_columns);
}

void ElevationData::setColumnCount(int count)
{
    resize(m_rows, count);
}

std::size_t ElevationData::index(int row, int column) const
{
    requireIndex(row >= 1 && row <= m_rows && column >= 1 && column <= m_columns);
    return std::size_t(row - 1) * std::size_t(m_columns) + std::size_t(column - 1);
}

double ElevationData::value(int row, int column) const
{
    return m_values[index(row, column)];
}

void ElevationData::setValue(int row, int column, double value)
{
    double &slot = m_values[index(row, column)];
    if (slot == value || (std::isnan(slot) && std::isnan(value)))
        return;
    slot = value;
    changed();
}

void ChartGroup3D::attach(ChangeSink *sink)
{
    ChartNode::attach(sink);
    m_styles.attach(sink);
    m_elevation.attach(sink);
}

void ChartGroup3D::setChartType(qint32 type)
{
    requireValue(type == 1 || type == 2);
    assign(m_type, type);
}

ChartGroup3D &ChartGroups3D::item(int index)
{
    requireIndex(index == 1);
    return m_group;
}

const ChartGroup3D &ChartGroups3D::item(int index) const
{
    requireIndex(index == 1);
    return m_group;
}

void Title3D::attach(ChangeSink *sink)
{
    ChartNode::attach(sink);
    m_font.attach(sink);
}

void Chart3DModel::attach(ChangeSink *sink)
{
    header.attach(sink);
    view.attach(sink);
    chartArea.attach(sink);
    chartGroups.attach(sink);
}

} // namespace platform::chart
