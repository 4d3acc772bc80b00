#include "platform/chart/Chart3D.h"

#include "platform/chart/AxisLabelFormatter.h"
#include "platform/chart/ChartFormat.h"
#include "platform/chart/ChartPaint.h"
#include "platform/chart/Picture.h"
#include "platform/forms/Screen.h"

#include <Q3DBars>
#include <Q3DCamera>
#include <Q3DScene>
#include <Q3DTheme>
#include <Q3DInputHandler>
#include <Q3DSurface>
#include <QBar3DSeries>
#include <QBarDataProxy>
#include <QCategory3DAxis>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QOpenGLContext>
#include <QPainter>
#include <QPolygonF>
#include <QStackedWidget>
#include <QSurface3DSeries>
#include <QSurfaceDataProxy>
#include <QValue3DAxis>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>
#include <limits>

namespace platform::chart {

namespace {

// The most rows and columns drawn; larger data is sampled evenly.
constexpr int MaxDrawn = 512;
constexpr int MaxDrawnFlat = 80;

double finiteOr(double value, double otherwise)
{
    return std::isfinite(value) ? value : otherwise;
}

// Indexes 0 .. count - 1 taken evenly, at most `most` of them, first and last included.
std::vector<int> sampled(int count, int most)
{
    std::vector<int> indexes;
    if (count <= most) {
        for (int i = 0; i < count; ++i)
            indexes.push_back(i);
        return indexes;
    }
    for (int k = 0; k < most; ++k)
        indexes.push_back(int(std::lround(double(k) * (count - 1) / (most - 1))));
    return indexes;
}

// The texts under an axis of `count` rows or columns.
QStringList axisLabels(const Axis3D &axis, const Labels &labels, int count)
{
    QStringList texts;
    for (int i = 0; i < count; ++i) {
        if (axis.annotationMethod() == AnnotationMethod::Values)
            texts.append(QString::number(i + 1));
        else
            texts.append(i < labels.count() ? labels.item(i + 1) : QString());
    }
    return texts;
}

// A segment count for an axis of `count` positions that puts ticks on whole positions.
int segmentsFor(int count)
{
    const int span = std::max(count - 1, 1);
    for (int segments = std::min(span, 12); segments > 1; --segments) {
        if (span % segments == 0)
            return segments;
    }
    return 1;
}

QLinearGradient heightGradient()
{
    QLinearGradient gradient;
    gradient.setColorAt(0.0, QColor(30, 60, 200));
    gradient.setColorAt(0.35, QColor(30, 170, 90));
    gradient.setColorAt(0.7, QColor(240, 210, 40));
    gradient.setColorAt(1.0, QColor(220, 40, 30));
    return gradient;
}

QColor gradientAt(double t)
{
    const QGradientStops stops = heightGradient().stops();
    t = std::clamp(t, 0.0, 1.0);
    for (qsizetype i = 1; i < stops.size(); ++i) {
        if (t <= stops[i].first) {
            const double f = (t - stops[i - 1].first) / (stops[i].first - stops[i - 1].first);
            const QColor a = stops[i - 1].second;
            const QColor b = stops[i].second;
            return QColor(int(a.red() + f * (b.red() - a.red())),
                          int(a.green() + f * (b.green() - a.green())),
                          int(a.blue() + f * (b.blue() - a.blue())));
        }
    }
    return stops.back().second;
}

Q3DTheme::ColorStyle colorStyleOf(qint32 style)
{
    switch (style) {
    case 0:
        return Q3DTheme::ColorStyleUniform;
    case 1:
        return Q3DTheme::ColorStyleObjectGradient;
    default:
        return Q3DTheme::ColorStyleRangeGradient;
    }
}

// The flat drawing: an oblique projection of the surface or bars, the columns running right,
// the rows running back, the values up.
void paintFlat(QPainter &painter, const QRect &rect, const Chart3DModel &model)
{
    const ElevationData &data = model.group().elevation();
    const bool bars = drawnAsBars(model);
    const std::vector<int> rows = sampled(data.rowCount(), MaxDrawnFlat);
    const std::vector<int> columns = sampled(data.columnCount(), MaxDrawnFlat);
    const int r = int(rows.size());
    const int c = int(columns.size());
    // Colours run over the data's range; bars stand on zero.
    double low = std::numeric_limits<double>::infinity();
    double high = -low;
    for (int i : rows) {
        for (int j : columns) {
            const double v = finiteOr(data.value(i + 1, j + 1), 0);
            low = std::min(low, v);
            high = std::max(high, v);
        }
    }
    if (!(low <= high))
        low = high = 0;
    if (bars) {
        low = std::min(low, 0.0);
        high = std::max(high, 0.0);
    }
    const double span = high > low ? high - low : 1;

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const QRectF area = QRectF(rect).adjusted(40, 20, -40, -40);
    const double width = area.width() * 0.62;
    const QPointF back(area.width() * 0.3, -area.height() * 0.3); // the whole depth
    const double height = area.height() * 0.55;
    const QPointF origin(area.left(), area.bottom());
    const double zeroAt = bars ? (0 - low) / span : 0;
    // Column position x in 0..c, row position y in 0..r (cells for bars, points for a surface).
    auto at = [&](double x, double y, double t) {
        const double fx = bars ? x / std::max(c, 1) : (c > 1 ? x / (c - 1) : 0.5);
        const double fy = bars ? y / std::max(r, 1) : (r > 1 ? y / (r - 1) : 0.5);
        return origin + QPointF(fx * width, -t * height) + fy * back;
    };
    // The floor and the back walls.
    painter.setPen(QPen(QColor(150, 150, 150), 1));
    painter.setBrush(QColor(235, 235, 240));
    const double maxX = bars ? c : std::max(c - 1, 1);
    const double maxY = bars ? r : std::max(r - 1, 1);
    painter.drawPolygon(QPolygonF(
        {at(0, 0, zeroAt), at(maxX, 0, zeroAt), at(maxX, maxY, zeroAt), at(0, maxY, zeroAt)}));
    painter.setBrush(QColor(245, 245, 248));
    painter.drawPolygon(
        QPolygonF({at(0, maxY, 0), at(maxX, maxY, 0), at(maxX, maxY, 1), at(0, maxY, 1)}));
    const bool uniform = model.view.colorStyle() == 0;
    auto colour = [&](double v) {
        return uniform ? QColor(70, 120, 190) : gradientAt((v - low) / span);
    };
    const Style3D &style = model.group().styles().item(bars ? 2 : 1);
    const QPen edge = style.isMeshed() || bars ? QPen(QColor(40, 40, 40, 160), 1) : Qt::NoPen;
    if (bars) {
        for (int y = r - 1; y >= 0; --y) {
            for (int x = 0; x < c; ++x) {
                const double v = finiteOr(data.value(rows[y] + 1, columns[x] + 1), 0);
                const double t = (v - low) / span;
                const QColor face = colour(v);
                const double x0 = x + 0.2, x1 = x + 0.8, y0 = y + 0.2, y1 = y + 0.8;
                painter.setPen(edge);
                painter.setBrush(style.isFilled() ? face.darker(120) : Qt::NoBrush);
                painter.drawPolygon(QPolygonF(
                    {at(x1, y0, zeroAt), at(x1, y1, zeroAt), at(x1, y1, t), at(x1, y0, t)}));
                painter.setBrush(style.isFilled() ? face : Qt::NoBrush);
                painter.drawPolygon(QPolygonF(
                    {at(x0, y0, zeroAt), at(x1, y0, zeroAt), at(x1, y0, t), at(x0, y0, t)}));
                painter.setBrush(style.isFilled() ? face.lighter(120) : Qt::NoBrush);
                painter.drawPolygon(
                    QPolygonF({at(x0, y0, t), at(x1, y0, t), at(x1, y1, t), at(x0, y1, t)}));
            }
        }
    } else {
        for (int y = r - 2; y >= 0; --y) {
            for (int x = 0; x + 1 < c; ++x) {
                auto v = [&](int dx, int dy) {
                    return finiteOr(data.value(rows[y + dy] + 1, columns[x + dx] + 1), 0);
                };
                const double mean = (v(0, 0) + v(1, 0) + v(0, 1) + v(1, 1)) / 4;
                painter.setPen(edge);
                painter.setBrush(style.isFilled() || !style.isMeshed() ? QBrush(colour(mean))
                                                                       : QBrush(Qt::NoBrush));
                painter.drawPolygon(QPolygonF({at(x, y, (v(0, 0) - low) / span),
                                               at(x + 1, y, (v(1, 0) - low) / span),
                                               at(x + 1, y + 1, (v(1, 1) - low) / span),
                                               at(x, y + 1, (v(0, 1) - low) / span)}));
            }
        }
    }
    painter.setPen(Qt::black);
    const QString xTitle = model.chartArea.axes().x().titleText();
    const QString yTitle = model.chartArea.axes().y().titleText();
    const QPointF front = (at(0, 0, zeroAt) + at(maxX, 0, zeroAt)) / 2;
    painter.drawText(QRectF(front.x() - 150, front.y() + 8, 300, 20), Qt::AlignCenter, xTitle);
    const QPointF side = (at(maxX, 0, zeroAt) + at(maxX, maxY, zeroAt)) / 2;
    painter.drawText(QRectF(side.x() + 8, side.y(), 200, 20), Qt::AlignLeft | Qt::AlignVCenter,
                     yTitle);
    painter.restore();
}

// What the flat drawing needs of a model: everything but the elevation data, which is sampled
// down to the rows and columns drawn.
Chart3DModel flatCopy(const Chart3DModel &model)
{
    Chart3DModel copy;
    copy.header = model.header;
    copy.view = model.view;
    copy.chartArea = model.chartArea;
    ChartGroup3D &group = copy.group();
    group.setChartType(model.group().chartType());
    group.styles() = model.group().styles();
    const ElevationData &from = model.group().elevation();
    const std::vector<int> rows = sampled(from.rowCount(), MaxDrawnFlat);
    const std::vector<int> columns = sampled(from.columnCount(), MaxDrawnFlat);
    ElevationData &to = group.elevation();
    to.setColumnCount(int(columns.size()));
    to.setRowCount(int(rows.size()));
    for (std::size_t r = 0; r < rows.size(); ++r) {
        for (std::size_t c = 0; c < columns.size(); ++c)
            to.setValue(int(r) + 1, int(c) + 1, from.value(rows[r] + 1, columns[c] + 1));
    }
    return copy;
}

} // namespace

// The chart as painted without OpenGL, from the model as it was at the last refresh.
class Flat3DView : public QWidget
{
public:
    explicit Flat3DView(QWidget *parent) : QWidget(parent) {}

    void set(const Chart3DModel &model)
    {
        m_model = flatCopy(model);
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), Qt::white);
        paintFlat(painter, rect(), m_model);
    }

private:
    Chart3DModel m_model;
};

bool drawnAsBars(const Chart3DModel &model)
{
    const ElevationData &data = model.group().elevation();
    return model.group().chartType() == 2 || data.rowCount() < 2 || data.columnCount() < 2;
}

bool Chart3D::openGLAvailable()
{
    static const bool available = [] {
        const QString platform = QGuiApplication::platformName();
        if (platform == QLatin1String("offscreen") || platform == QLatin1String("minimal"))
            return false;
        QOpenGLContext context;
        return context.create();
    }();
    return available;
}

Chart3D::Chart3D(QWidget *parent) : QWidget(parent), DeferredRedraw(this, true)
{
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_header = new QLabel(this);
    m_header->setAlignment(Qt::AlignCenter);
    m_header->setWordWrap(true);
    m_header->setFont(toQFont(m_model.header.font()));
    m_header->setContentsMargins(4, 4, 4, 4);
    m_header->setAutoFillBackground(true);
    QPalette palette = m_header->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, Qt::black);
    m_header->setPalette(palette);
    m_stack = new QStackedWidget(this);
    m_flat = new Flat3DView(m_stack);
    m_flat->installEventFilter(this);
    m_stack->addWidget(m_flat);
    layout->addWidget(m_header);
    layout->addWidget(m_stack, 1);
    m_model.attach(this);
    // The graph is made when the chart is first shown, drawn or pictured.
}

Chart3D::~Chart3D()
{
    m_model.attach(nullptr);
}

QAbstract3DGraph *Chart3D::graph() const
{
    if (m_surfaceBox && m_stack->currentWidget() == m_surfaceBox)
        return m_surface;
    if (m_barsBox && m_stack->currentWidget() == m_barsBox)
        return m_bars;
    return nullptr;
}

bool Chart3D::drawsBars() const
{
    return drawnAsBars(m_model);
}

QWidget *Chart3D::container(QAbstract3DGraph *graph)
{
    QWidget *box = QWidget::createWindowContainer(graph, m_stack);
    box->setMinimumSize(64, 64);
    graph->installEventFilter(this);
    auto *handler = new Q3DInputHandler(graph);
    graph->addInputHandler(handler);
    graph->setActiveInputHandler(handler);
    graph->setShadowQuality(QAbstract3DGraph::ShadowQualityNone);
    graph->activeTheme()->setType(Q3DTheme::ThemeQt);
    graph->activeTheme()->setBackgroundColor(Qt::white);
    graph->activeTheme()->setWindowColor(Qt::white);
    // The labels must read at the control's default size, where the chart has a few hundred
    // pixels: large bold black text on an opaque white ground, over bars and grid alike.
    graph->activeTheme()->setLabelTextColor(Qt::black);
    graph->activeTheme()->setLabelBackgroundColor(Qt::white);
    graph->activeTheme()->setLabelBackgroundEnabled(true);
    graph->activeTheme()->setLabelBorderEnabled(false);
    QFont labels(QStringLiteral("Sans Serif"), 72);
    labels.setBold(true);
    graph->activeTheme()->setFont(labels);
    graph->scene()->activeCamera()->setCameraPreset(Q3DCamera::CameraPresetIsometricRight);
    graph->scene()->activeCamera()->setZoomLevel(100);
    m_stack->addWidget(box);
    return box;
}

void Chart3D::redraw()
{
    m_header->setText(m_model.header.text());
    m_header->setFont(toQFont(m_model.header.font()));
    m_header->setVisible(m_model.header.isShowing() && !m_model.header.text().isEmpty());
    if (!openGLAvailable()) {
        m_stack->setCurrentWidget(m_flat);
        m_flat->set(m_model);
        return;
    }
    if (drawnAsBars(m_model)) {
        drawBars();
        m_stack->setCurrentWidget(m_barsBox);
    } else {
        drawSurface();
        m_stack->setCurrentWidget(m_surfaceBox);
    }
}

void Chart3D::drawSurface()
{
    if (!m_surface) {
        m_surface = new Q3DSurface;
        m_surfaceBox = container(m_surface);
        m_surface->addSeries(new QSurface3DSeries);
        // Labels turn towards the viewer instead of lying flat along their axes.
        for (QAbstract3DAxis *axis : std::initializer_list<QAbstract3DAxis *>{
                 m_surface->axisX(), m_surface->axisY(), m_surface->axisZ()})
            axis->setLabelAutoRotation(90);
    }
    QSurface3DSeries *series = m_surface->seriesList().constFirst();
    const ElevationData &data = m_model.group().elevation();
    const std::vector<int> rows = sampled(data.rowCount(), MaxDrawn);
    const std::vector<int> columns = sampled(data.columnCount(), MaxDrawn);
    auto *array = new QSurfaceDataArray;
    array->reserve(qsizetype(rows.size()));
    for (int i : rows) {
        auto *row = new QSurfaceDataRow(qsizetype(columns.size()));
        for (std::size_t k = 0; k < columns.size(); ++k) {
            const int j = columns[k];
            (*row)[qsizetype(k)].setPosition(
                QVector3D(float(j), float(finiteOr(data.value(i + 1, j + 1), 0)), float(i)));
        }
        array->append(row);
    }
    series->dataProxy()->resetArray(array);

    const Axes3D &axes = m_model.chartArea.axes();
    auto placeAxis = [&](QValue3DAxis *axis, const Axis3D &model, const Labels &labels, int count) {
        axis->setRange(0, std::max(count - 1, 1));
        axis->setSegmentCount(segmentsFor(count));
        axis->setSubSegmentCount(1);
        axis->setFormatter(new AxisLabelFormatter(axisLabels(model, labels, count)));
        axis->setTitle(model.titleText());
        axis->setTitleVisible(!model.titleText().isEmpty());
    };
    placeAxis(m_surface->axisX(), axes.x(), data.columnLabels(), data.columnCount());
    placeAxis(m_surface->axisZ(), axes.y(), data.rowLabels(), data.rowCount());
    m_surface->axisY()->setAutoAdjustRange(true);
    m_surface->axisY()->setLabelFormat(QStringLiteral("%g"));

    const Style3D &style = m_model.group().styles().item(1);
    QSurface3DSeries::DrawFlags mode;
    if (style.isFilled() || !style.isMeshed())
        mode |= QSurface3DSeries::DrawSurface;
    if (style.isMeshed())
        mode |= QSurface3DSeries::DrawWireframe;
    series->setDrawMode(mode);
    series->setFlatShadingEnabled(style.shading() == 2);
    series->setColorStyle(colorStyleOf(m_model.view.colorStyle()));
    series->setBaseGradient(heightGradient());
    series->setBaseColor(QColor(70, 120, 190));

    const View3D &view = m_model.view;
    // A surface selects points only: rows and columns need its slice view.
    m_surface->setSelectionMode(view.selectionMode() == 0 ? QAbstract3DGraph::SelectionNone
                                                          : QAbstract3DGraph::SelectionItem);
    const auto handlers = m_surface->inputHandlers();
    m_surface->setActiveInputHandler(
        view.isInteractive() && !handlers.isEmpty() ? handlers.constFirst() : nullptr);
}

void Chart3D::drawBars()
{
    if (!m_bars) {
        m_bars = new Q3DBars;
        m_barsBox = container(m_bars);
        m_bars->addSeries(new QBar3DSeries);
        for (QAbstract3DAxis *axis : std::initializer_list<QAbstract3DAxis *>{
                 m_bars->rowAxis(), m_bars->columnAxis(), m_bars->valueAxis()})
            axis->setLabelAutoRotation(90);
    }
    QBar3DSeries *series = m_bars->seriesList().constFirst();
    const ElevationData &data = m_model.group().elevation();
    const std::vector<int> rows = sampled(data.rowCount(), MaxDrawn);
    const std::vector<int> columns = sampled(data.columnCount(), MaxDrawn);
    auto *array = new QBarDataArray;
    array->reserve(qsizetype(rows.size()));
    for (int i : rows) {
        auto *row = new QBarDataRow(qsizetype(columns.size()));
        for (std::size_t k = 0; k < columns.size(); ++k)
            (*row)[qsizetype(k)].setValue(float(finiteOr(data.value(i + 1, columns[k] + 1), 0)));
        array->append(row);
    }
    const Axes3D &axes = m_model.chartArea.axes();
    const QStringList allRows = axisLabels(axes.y(), data.rowLabels(), data.rowCount());
    const QStringList allColumns = axisLabels(axes.x(), data.columnLabels(), data.columnCount());
    QStringList rowLabels;
    for (int i : rows)
        rowLabels.append(allRows[i]);
    QStringList columnLabels;
    for (int j : columns)
        columnLabels.append(allColumns[j]);
    series->dataProxy()->resetArray(array, rowLabels, columnLabels);

    m_bars->columnAxis()->setTitle(axes.x().titleText());
    m_bars->columnAxis()->setTitleVisible(!axes.x().titleText().isEmpty());
    m_bars->rowAxis()->setTitle(axes.y().titleText());
    m_bars->rowAxis()->setTitleVisible(!axes.y().titleText().isEmpty());
    m_bars->valueAxis()->setAutoAdjustRange(true);
    m_bars->valueAxis()->setLabelFormat(QStringLiteral("%g"));

    const Style3D &style = m_model.group().styles().item(2);
    series->setMesh(style.isFilled() ? QAbstract3DSeries::MeshBar
                                     : QAbstract3DSeries::MeshBevelBar);
    series->setMeshSmooth(style.shading() == 1);
    series->setColorStyle(colorStyleOf(m_model.view.colorStyle()));
    series->setBaseGradient(heightGradient());
    series->setBaseColor(QColor(70, 120, 190));

    const View3D &view = m_model.view;
    static const QAbstract3DGraph::SelectionFlags modes[] = {
        QAbstract3DGraph::SelectionNone, QAbstract3DGraph::SelectionItem,
        QAbstract3DGraph::SelectionItemAndRow, QAbstract3DGraph::SelectionItemAndColumn};
    m_bars->setSelectionMode(modes[std::clamp(view.selectionMode(), 0, 3)]);
    const auto handlers = m_bars->inputHandlers();
    m_bars->setActiveInputHandler(
        view.isInteractive() && !handlers.isEmpty() ? handlers.constFirst() : nullptr);
}

bool Chart3D::loadFormat(const QString &path)
{
    QByteArray text;
    if (!readChartFormatFile(path, text))
        return false;
    Chart3DModel loaded = m_model;
    loaded.attach(nullptr);
    if (!parseChart3DFormat(text, loaded))
        return false;
    m_model = std::move(loaded);
    m_model.attach(this);
    modelChanged();
    return true;
}

bool Chart3D::saveFormat(const QString &path) const
{
    return writeChartFormat(chart3DFormatText(m_model), path);
}

void Chart3D::callAction(qint32 code, bool)
{
    m_actions.append(code);
}

QSize Chart3D::pictureSize() const
{
    if ((isVisible() || testAttribute(Qt::WA_Resized)) && width() > 0 && height() > 0)
        return size();
    return QSize(640, 480);
}

QImage Chart3D::picture()
{
    refresh();
    const QSize size = pictureSize();
    QImage image(size, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    int top = 0;
    if (m_model.header.isShowing() && !m_model.header.text().isEmpty()) {
        painter.setFont(m_header->font());
        painter.setPen(Qt::black);
        const QRect room(4, 4, size.width() - 8, size.height() / 3);
        const QRect used =
            painter.boundingRect(room, Qt::AlignHCenter | Qt::TextWordWrap, m_model.header.text());
        painter.drawText(room, Qt::AlignHCenter | Qt::TextWordWrap, m_model.header.text());
        top = used.bottom() + 4;
    }
    const QRect plot(0, top, size.width(), std::max(1, size.height() - top));
    QAbstract3DGraph *drawing = graph();
    const QImage rendered = drawing ? drawing->renderToImage(0, plot.size()) : QImage();
    if (!rendered.isNull())
        painter.drawImage(plot.topLeft(), rendered);
    else
        paintFlat(painter, plot, m_model);
    painter.end();
    return image;
}

bool Chart3D::saveJpeg(const QString &path, int quality)
{
    return writeJpeg(picture(), path, quality);
}

bool Chart3D::savePng(const QString &path)
{
    return writePng(picture(), path);
}

bool Chart3D::savePicture(const QString &path, qint32 kind)
{
    if (kind == PictureKind::Bitmap)
        return writeBmp(picture(), path);
    if (kind == PictureKind::Metafile)
        return writeMetafile(picture(), path);
    return false;
}

bool Chart3D::printChart(QPrinter &printer)
{
    return printPicture(picture(), printer);
}

bool Chart3D::copyToClipboard()
{
    const QImage image = picture();
    if (image.isNull())
        return false;
    forms::clipboardSetPicture(image);
    return true;
}

void Chart3D::showEvent(QShowEvent *event)
{
    refresh();
    QWidget::showEvent(event);
}

bool Chart3D::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_flat || watched == m_surface || watched == m_bars) {
        switch (event->type()) {
        case QEvent::MouseButtonPress:
            m_pressed = static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton;
            break;
        case QEvent::MouseButtonRelease:
            if (m_pressed && static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
                emit clicked();
            m_pressed = false;
            break;
        case QEvent::MouseButtonDblClick:
            m_pressed = false;
            if (static_cast<QMouseEvent *>(event)->button() == Qt::LeftButton)
                emit doubleClicked();
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace platform::chart
