#pragma once

#include "platform/chart/ChartModel.h"

#include <QWidget>

class QChartView;
class QGridLayout;

namespace platform::chart {

class LegendBox;
class PlotView;
class TitleBox;

// The drawing of a 2-D chart model: the chart's interior and border painted by this widget, the
// header and footer above and below, the legend beside the plot where its anchor puts it, and
// the plot (axes, series) as a Qt Charts view. build() redraws it all from a model.
//
// What Qt Charts draws and what this layer draws itself:
//   - Qt series: plot (lines), bar, stacking bar (also 100 percent), area, pie (one pie per
//     point, a slice per series), polar, radar (a closed line), filled radar (a closed area),
//     candle (a candlestick series per four series: high, low, open, close).
//   - Own drawing in the plot's foreground, over invisible series that give the axes their
//     range: hi-lo (a line from low to high per point, series in pairs high, low), hi-lo-open-
//     close (the same with ticks for open on the left and close on the right, series in fours),
//     bubble (series in pairs: the value, then the bubble's size; the size scales the area).
//   - Own items: titles, the legend, axis titles (with their rotation), borders, interiors and
//     their images in every image layout, the area box and the area border.
//   - The 3-D effect is drawn as the plot's back wall, floor and side wall at the effect's depth,
//     elevation and rotation, shaded by Shading (Color: tinted, Shadow: greys, None: flat); the
//     series themselves stay flat.
//   - Nearest plain looks: the radar's grid is circular; an axis's labels show every tick; a
//     logarithmic axis writes its labels in the general number form and draws values of zero or
//     less at its lowest decade; series images fill tiled in every layout; holes (NaN and
//     infinite values) are left out of lines and drawn as 0 in bars and pies.
//   - At most MaxDrawnSeries series and MaxDrawnPoints points are drawn (the model keeps all):
//     a chart of a huge result stays responsive.
class Chart2DCanvas : public QWidget
{
    Q_OBJECT

public:
    static constexpr int MaxDrawnSeries = 256;
    static constexpr int MaxDrawnPoints = 4096;

    explicit Chart2DCanvas(QWidget *parent = nullptr);
    ~Chart2DCanvas() override;

    void build(const Chart2DModel &model);
    QChartView *chartView() const;

    // Mouse gestures on the plot, each on once its action code has been called (see Chart2D).
    enum Gesture { Zoom, Move, ChartZoom, AxisZoom, Rotate, Reset };
    void enableGesture(Gesture gesture);

signals:
    void clicked();
    void doubleClicked();
    // A gesture that turned the 3-D effect: the new elevation and rotation in degrees.
    void rotated(int elevation, int rotation);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void placeLegend(qint32 anchor);
    // Clicks on the plot that Qt's items took, and everything else that reaches the canvas.
    void mouse(QMouseEvent *event);

    Border m_border;
    Interior m_interior;
    QGridLayout *m_layout = nullptr;
    TitleBox *m_header = nullptr;
    TitleBox *m_footer = nullptr;
    LegendBox *m_legend = nullptr;
    PlotView *m_plot = nullptr;
    bool m_pressed = false;
};

} // namespace platform::chart
