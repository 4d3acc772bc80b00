#pragma once

#include "platform/chart/ChartModel.h"

#include <vector>

// The 3-D chart's object model: header, chart-wide view settings, the two axes of the ground
// plane, and chart group 1 with its two styles and its elevation data. As in the 2-D model,
// properties read back the value last set or loaded, and setters tell the owning chart.
namespace platform::chart {

class Title3D : public ChartNode
{
public:
    bool isShowing() const { return m_showing; }
    void setIsShowing(bool on) { assign(m_showing, on); }
    QString text() const { return m_text; }
    void setText(const QString &text) { assign(m_text, text); }
    Font &font() { return m_font; }
    const Font &font() const { return m_font; }

    void attach(ChangeSink *sink);

    bool operator==(const Title3D &) const = default;

private:
    bool m_showing = true;
    QString m_text;
    Font m_font{QStringLiteral("Sans Serif"), 12, true};
};

// Chart-wide settings.
class View3D : public ChartNode
{
public:
    // The mouse turns (right button), zooms (wheel) and selects; off, the view stays as set.
    bool isInteractive() const { return m_interactive; }
    void setIsInteractive(bool on) { assign(m_interactive, on); }
    // What a click selects: 0 nothing, 1 a point, 2 the point's row, 3 its column.
    qint32 selectionMode() const { return m_selection; }
    void setSelectionMode(qint32 mode);
    // Colouring of the surface or bars: 0 one colour, 1 by height within each series' own
    // range, 2 by height over the value axis (a band of colours from low to high).
    qint32 colorStyle() const { return m_colorStyle; }
    void setColorStyle(qint32 style);

    bool operator==(const View3D &) const = default;

private:
    bool m_interactive = true;
    qint32 m_selection = 1;
    qint32 m_colorStyle = 2;
};

// An axis of the ground plane: X runs along the columns of the elevation data, Y along its rows.
class Axis3D : public ChartNode
{
public:
    QString titleText() const { return m_titleText; }
    void setTitleText(const QString &text) { assign(m_titleText, text); }
    // AnnotationMethod: 0 numbers the rows or columns, 1 and 2 write their labels.
    qint32 annotationMethod() const { return m_annotation; }
    void setAnnotationMethod(qint32 method);

    bool operator==(const Axis3D &) const = default;

private:
    QString m_titleText;
    qint32 m_annotation = AnnotationMethod::Values;
};

class Axes3D : public ChartNode
{
public:
    void attach(ChangeSink *sink);
    int count() const { return 2; }
    Axis3D &item(int index); // 1 X, 2 Y
    const Axis3D &item(int index) const;
    Axis3D &x() { return m_x; }
    const Axis3D &x() const { return m_x; }
    Axis3D &y() { return m_y; }
    const Axis3D &y() const { return m_y; }

    bool operator==(const Axes3D &) const = default;

private:
    Axis3D m_x;
    Axis3D m_y;
};

class ChartArea3D : public ChartNode
{
public:
    void attach(ChangeSink *sink)
    {
        ChartNode::attach(sink);
        m_axes.attach(sink);
    }
    Axes3D &axes() { return m_axes; }
    const Axes3D &axes() const { return m_axes; }

    bool operator==(const ChartArea3D &) const = default;

private:
    Axes3D m_axes;
};

// Style 1 draws the surface, style 2 the bars.
class Style3D : public ChartNode
{
public:
    // The surface's faces, or solid bars.
    bool isFilled() const { return m_filled; }
    void setIsFilled(bool on) { assign(m_filled, on); }
    // The surface's grid lines (bars have none).
    bool isMeshed() const { return m_meshed; }
    void setIsMeshed(bool on) { assign(m_meshed, on); }
    // 1 smooth, 2 flat faces.
    qint32 shading() const { return m_shading; }
    void setShading(qint32 shading);

    bool operator==(const Style3D &) const = default;

private:
    bool m_filled = true;
    bool m_meshed = true;
    qint32 m_shading = 1;
};

class Styles3D : public ChartNode
{
public:
    void attach(ChangeSink *sink);
    int count() const { return 2; }
    Style3D &item(int index); // 1..2
    const Style3D &item(int index) const;

    bool operator==(const Styles3D &) const = default;

private:
    Style3D m_surface;
    Style3D m_bars;
};

// Heights by row and column, with a label per row and per column.
class ElevationData : public ChartNode
{
public:
    static constexpr qint64 MaxValues = 20'000'000;

    void attach(ChangeSink *sink);
    int rowCount() const { return m_rows; }
    void setRowCount(int count); // keeps the values that still fit
    int columnCount() const { return m_columns; }
    void setColumnCount(int count);
    double value(int row, int column) const;
    void setValue(int row, int column, double value);
    Labels &rowLabels() { return m_rowLabels; }
    const Labels &rowLabels() const { return m_rowLabels; }
    Labels &columnLabels() { return m_columnLabels; }
    const Labels &columnLabels() const { return m_columnLabels; }

    // Holes (NaN) equal each other.
    bool operator==(const ElevationData &other) const;

private:
    void resize(int rows, int columns);
    std::size_t index(int row, int column) const;

    int m_rows = 0;
    int m_columns = 0;
    std::vector<double> m_values; // row-major
    Labels m_rowLabels;
    Labels m_columnLabels;
};

class ChartGroup3D : public ChartNode
{
public:
    void attach(ChangeSink *sink);
    // 1 a surface, 2 bars. Data of one row or one column is always drawn as bars: a surface
    // needs two of each.
    qint32 chartType() const { return m_type; }
    void setChartType(qint32 type);
    Styles3D &styles() { return m_styles; }
    const Styles3D &styles() const { return m_styles; }
    ElevationData &elevation() { return m_elevation; }
    const ElevationData &elevation() const { return m_elevation; }

    bool operator==(const ChartGroup3D &) const = default;

private:
    qint32 m_type = 1;
    Styles3D m_styles;
    ElevationData m_elevation;
};

class ChartGroups3D : public ChartNode
{
public:
    void attach(ChangeSink *sink)
    {
        ChartNode::attach(sink);
        m_group.attach(sink);
    }
    int count() const { return 1; }
    ChartGroup3D &item(int index);
    const ChartGroup3D &item(int index) const;

    bool operator==(const ChartGroups3D &) const = default;

private:
    ChartGroup3D m_group;
};

class Chart3DModel
{
public:
    void attach(ChangeSink *sink);

    Title3D header;
    View3D view;
    ChartArea3D chartArea;
    ChartGroups3D chartGroups;

    ChartGroup3D &group() { return chartGroups.item(1); }
    const ChartGroup3D &group() const { return chartGroups.item(1); }

    bool operator==(const Chart3DModel &) const = default;
};

} // namespace platform::chart
