#pragma once

#include "platform/chart/Chart3DModel.h"
#include "platform/chart/DeferredRedraw.h"

#include <QImage>
#include <QList>
#include <QWidget>

class QAbstract3DGraph;
class QLabel;
class QPrinter;
class QStackedWidget;
class Q3DBars;
class Q3DSurface;

namespace platform::chart {

class Flat3DView;

// The 3-D chart: its object model (Chart3DModel.h) drawn with Qt DataVisualization, the header
// above it. The dispatch ids of the chart stand beside the members that serve them. Visibility
// is the widget's own.
//
// The elevation data is drawn as a Q3DSurface of rows by columns, the columns along X, the rows
// along the depth, the values upwards; axis labels come from the row and column labels through
// an AxisLabelFormatter. A surface needs two rows and two columns, so data of one row or one
// column (and chart type 2) is drawn as Q3DBars instead, never as a blank chart.
//
// Without OpenGL (the offscreen platform, a display without it) the chart draws a flat
// projection of the same surface or bars with QPainter, on screen and in pictures.
//
// Changes are drawn as in the 2-D chart: once control returns to the event loop, at once
// through refresh(), and all together when a batch ends. The action codes are kept in order
// (actionCalls()) and change nothing: the view's mouse handling is the isInteractive setting.
class Chart3D : public QWidget, private DeferredRedraw
{
    Q_OBJECT

public:
    explicit Chart3D(QWidget *parent = nullptr);
    ~Chart3D() override;

    using DeferredRedraw::isBatched; // 1
    using DeferredRedraw::setIsBatched;
    Title3D &header() { return m_model.header; } // 3
    const Title3D &header() const { return m_model.header; }
    View3D &view() { return m_model.view; } // 5
    const View3D &view() const { return m_model.view; }
    ChartArea3D &chartArea() { return m_model.chartArea; } // 8
    const ChartArea3D &chartArea() const { return m_model.chartArea; }
    ChartGroups3D &chartGroups() { return m_model.chartGroups; } // 9
    const ChartGroups3D &chartGroups() const { return m_model.chartGroups; }
    const Chart3DModel &model() const { return m_model; }

    // Chart format files, as in the 2-D chart: false for a missing, other-version or corrupt
    // file, which changes nothing.
    bool loadFormat(const QString &path);            // 15
    bool saveFormat(const QString &path) const;      // 16
    void callAction(qint32 code, bool flag = false); // 22 (the flag is not used)
    const QList<qint32> &actionCalls() const { return m_actions; }

    // Pictures at the widget's size (640 x 480 when never shown nor resized), as the 2-D chart.
    QImage picture();
    bool saveJpeg(const QString &path, int quality = 80);
    bool savePng(const QString &path);
    bool savePicture(const QString &path, qint32 kind);
    bool printChart(QPrinter &printer);
    bool copyToClipboard();

    // Whether this process can draw with OpenGL (decided once).
    static bool openGLAvailable();
    // The graph drawing the data now: a Q3DSurface or Q3DBars, or null when drawn flat.
    QAbstract3DGraph *graph() const;
    bool drawsBars() const;

    using DeferredRedraw::refresh;

signals:
    void clicked();
    void doubleClicked();

protected:
    void showEvent(QShowEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void redraw() override;
    QSize pictureSize() const;
    void drawSurface();
    void drawBars();
    QWidget *container(QAbstract3DGraph *graph);

    Chart3DModel m_model;
    QLabel *m_header = nullptr;
    QStackedWidget *m_stack = nullptr;
    Flat3DView *m_flat = nullptr;
    Q3DSurface *m_surface = nullptr;
    Q3DBars *m_bars = nullptr;
    QWidget *m_surfaceBox = nullptr;
    QWidget *m_barsBox = nullptr;
    QList<qint32> m_actions;
    bool m_pressed = false;
};

// Whether `model` is drawn as bars: chart type 2, or fewer than two rows or columns.
bool drawnAsBars(const Chart3DModel &model);

} // namespace platform::chart
