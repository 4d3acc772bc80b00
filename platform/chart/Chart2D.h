#pragma once

#include "platform/chart/ChartModel.h"
#include "platform/chart/DeferredRedraw.h"

#include <QImage>
#include <QList>
#include <QWidget>

class QChartView;
class QPrinter;

namespace platform::chart {

class Chart2DCanvas;

// The 2-D chart: its object model (ChartModel.h) and its drawing (Chart2DCanvas.h). The
// dispatch ids of the chart stand beside the members that serve them. Visibility is the
// widget's own.
//
// Changes redraw the chart once control returns to the event loop, or at once through refresh();
// while isBatched() they wait, and setIsBatched(false) draws them all at once. Pictures, prints
// and the clipboard copy always show the model as it is, batched or not, at the widget's size
// (640 x 480 when it was never shown nor resized).
//
// The action call keeps every call in order (actionCalls()). Codes with an effect, each turning
// on one mouse gesture of the plot:
//   62  Control + both buttons, dragging up or down: zoom the plot in or out
//   82  Shift + both buttons: move the plot
//   83  Control + left button: zoom into the rectangle drawn
//   401 Shift + left button: zoom the point axis into the band drawn
//   402 both buttons: turn the 3-D effect (its elevation and rotation follow the mouse)
//   14  the R key: back to the whole plot
// Every other code is kept and does nothing.
class Chart2D : public QWidget, private DeferredRedraw
{
    Q_OBJECT

public:
    explicit Chart2D(QWidget *parent = nullptr);
    ~Chart2D() override;

    Title &header() { return m_model.header; } // 1
    const Title &header() const { return m_model.header; }
    Title &footer() { return m_model.footer; } // 2
    const Title &footer() const { return m_model.footer; }
    Legend &legend() { return m_model.legend; } // 3
    const Legend &legend() const { return m_model.legend; }
    Border &border() { return m_model.border; } // 4
    const Border &border() const { return m_model.border; }
    Interior &interior() { return m_model.interior; } // 5
    const Interior &interior() const { return m_model.interior; }
    using DeferredRedraw::isBatched; // 6
    using DeferredRedraw::setIsBatched;
    ChartArea &chartArea() { return m_model.chartArea; } // 8
    const ChartArea &chartArea() const { return m_model.chartArea; }
    ChartGroups &chartGroups() { return m_model.chartGroups; } // 9
    const ChartGroups &chartGroups() const { return m_model.chartGroups; }
    const Chart2DModel &model() const { return m_model; }

    // Chart format files. Loading answers true when the chart took every setting of the file;
    // a missing, unreadable, other-version or corrupt file answers false and changes nothing.
    bool loadFormat(const QString &path);       // 14
    bool saveFormat(const QString &path) const; // 15

    // A printout on one page (the default printer without an argument), the picture on the
    // clipboard, picture files (PictureKind::Bitmap for BMP, ::Metafile for WMF; JPEG with its
    // quality 0..100). Each answers false when it could not be done.
    bool printChart(QPrinter &printer); // 18
    bool printChart();
    bool copyToClipboard();                               // 19
    bool savePicture(const QString &path, qint32 kind);   // 20
    void callAction(qint32 code, bool flag = false);      // 22 (the flag is not used)
    bool saveJpeg(const QString &path, int quality = 80); // 27
    bool savePng(const QString &path);                    // 28

    QImage picture() const;
    const QList<qint32> &actionCalls() const { return m_actions; }

    using DeferredRedraw::refresh;
    QChartView *chartView() const;

signals:
    void clicked();
    void doubleClicked();

private:
    void redraw() override;
    QSize pictureSize() const;

    Chart2DModel m_model;
    Chart2DCanvas *m_canvas = nullptr;
    QList<qint32> m_actions;
};

// Draws `model` at `size` into an image, without a window.
QImage chart2DPicture(const Chart2DModel &model, const QSize &size);

} // namespace platform::chart
