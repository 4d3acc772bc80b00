#include "platform/chart/Chart2D.h"

#include "platform/chart/Chart2DCanvas.h"
#include "platform/chart/ChartFormat.h"
#include "platform/chart/Picture.h"
#include "platform/forms/Screen.h"

#include <QChartView>
#include <QCoreApplication>
#include <QPrinter>
#include <QVBoxLayout>

namespace platform::chart {

QImage chart2DPicture(const Chart2DModel &model, const QSize &size)
{
    Chart2DCanvas canvas;
    canvas.setAttribute(Qt::WA_DontShowOnScreen);
    canvas.resize(size);
    canvas.build(model);
    canvas.show();
    // The chart lays itself out through posted layout requests: run them before the grab.
    for (int i = 0; i < 3; ++i)
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    return canvas.grab().toImage();
}

Chart2D::Chart2D(QWidget *parent) : QWidget(parent), DeferredRedraw(this, false)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_canvas = new Chart2DCanvas(this);
    layout->addWidget(m_canvas);
    m_model.attach(this);
    connect(m_canvas, &Chart2DCanvas::clicked, this, &Chart2D::clicked);
    connect(m_canvas, &Chart2DCanvas::doubleClicked, this, &Chart2D::doubleClicked);
    connect(m_canvas, &Chart2DCanvas::rotated, this, [this](int elevation, int rotation) {
        m_model.chartArea.effect3D().setElevation(elevation);
        m_model.chartArea.effect3D().setRotation(rotation);
    });
    m_canvas->build(m_model);
}

Chart2D::~Chart2D()
{
    m_model.attach(nullptr);
}

void Chart2D::redraw()
{
    m_canvas->build(m_model);
}

QChartView *Chart2D::chartView() const
{
    return m_canvas->chartView();
}

bool Chart2D::loadFormat(const QString &path)
{
    QByteArray text;
    if (!readChartFormatFile(path, text))
        return false;
    // Read into a detached copy, so that a bad file leaves the chart as it was.
    Chart2DModel loaded = m_model;
    loaded.attach(nullptr);
    if (!parseChart2DFormat(text, loaded))
        return false;
    m_model = std::move(loaded);
    m_model.attach(this);
    modelChanged();
    return true;
}

bool Chart2D::saveFormat(const QString &path) const
{
    return writeChartFormat(chart2DFormatText(m_model), path);
}

QSize Chart2D::pictureSize() const
{
    if ((isVisible() || testAttribute(Qt::WA_Resized)) && width() > 0 && height() > 0)
        return size();
    return QSize(640, 480);
}

QImage Chart2D::picture() const
{
    return chart2DPicture(m_model, pictureSize());
}

bool Chart2D::printChart(QPrinter &printer)
{
    return printPicture(picture(), printer);
}

bool Chart2D::printChart()
{
    QPrinter printer(QPrinter::HighResolution);
    return printChart(printer);
}

bool Chart2D::copyToClipboard()
{
    const QImage image = picture();
    if (image.isNull())
        return false;
    forms::clipboardSetPicture(image);
    return true;
}

bool Chart2D::savePicture(const QString &path, qint32 kind)
{
    if (kind == PictureKind::Bitmap)
        return writeBmp(picture(), path);
    if (kind == PictureKind::Metafile)
        return writeMetafile(picture(), path);
    return false;
}

bool Chart2D::saveJpeg(const QString &path, int quality)
{
    return writeJpeg(picture(), path, quality);
}

bool Chart2D::savePng(const QString &path)
{
    return writePng(picture(), path);
}

void Chart2D::callAction(qint32 code, bool)
{
    m_actions.append(code);
    switch (code) {
    case 62:
        m_canvas->enableGesture(Chart2DCanvas::Zoom);
        break;
    case 82:
        m_canvas->enableGesture(Chart2DCanvas::Move);
        break;
    case 83:
        m_canvas->enableGesture(Chart2DCanvas::ChartZoom);
        break;
    case 401:
        m_canvas->enableGesture(Chart2DCanvas::AxisZoom);
        break;
    case 402:
        m_canvas->enableGesture(Chart2DCanvas::Rotate);
        break;
    case 14:
        m_canvas->enableGesture(Chart2DCanvas::Reset);
        break;
    default:
        break;
    }
}

} // namespace platform::chart
