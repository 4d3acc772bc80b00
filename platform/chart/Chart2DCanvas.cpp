#include "platform/chart/Chart2DCanvas.h"

#include "platform/chart/ChartPaint.h"

#include <QAreaSeries>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QCandlestickSeries>
#include <QCandlestickSet>
#include <QCategoryAxis>
#include <QChart>
#include <QChartView>
#include <QGraphicsSimpleTextItem>
#include <QGridLayout>
#include <QHorizontalBarSeries>
#include <QHorizontalPercentBarSeries>
#include <QHorizontalStackedBarSeries>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLogValueAxis>
#include <QMouseEvent>
#include <QPainter>
#include <QPercentBarSeries>
#include <QPieSeries>
#include <QPieSlice>
#include <QPolarChart>
#include <QRubberBand>
#include <QStackedBarSeries>

#include <QHash>

#include <algorithm>
#include <cmath>
#include <memory>

namespace platform::chart {

namespace {

constexpr int Padding = 3;

// Labels of a Qt category axis must differ: a text met again gets invisible zero-width spaces.
class UniqueLabels
{
public:
    QString operator()(const QString &text)
    {
        const int seen = m_seen[text]++;
        return seen ? text + QString(seen, QChar(0x200B)) : text;
    }

private:
    QHash<QString, int> m_seen;
};

QColor textColor(const Interior &interior)
{
    return toColor(interior.foreground(), Qt::black);
}

bool isLineType(qint32 type)
{
    return type == ChartType::Plot || type == ChartType::Polar || type == ChartType::Radar;
}

bool isPolarType(qint32 type)
{
    return type == ChartType::Polar || type == ChartType::Radar || type == ChartType::FilledRadar;
}

// Series drawn together as one set: hi-lo in pairs, hi-lo-open-close and candle in fours,
// bubble in pairs (value, size).
int seriesPerSet(qint32 type)
{
    switch (type) {
    case ChartType::HiLo:
    case ChartType::Bubble:
        return 2;
    case ChartType::HiLoOpenClose:
    case ChartType::Candle:
        return 4;
    default:
        return 1;
    }
}

} // namespace

// A header or footer: its text in its font and foreground colour over its interior, inside its
// border.
class TitleBox : public QWidget
{
public:
    explicit TitleBox(QWidget *parent) : QWidget(parent) {}

    void set(const TextBox &box, int alignment)
    {
        m_text = box.text();
        m_font = toQFont(box.font());
        m_border = box.border();
        m_interior = box.interior();
        m_alignment = alignment;
        setFont(m_font);
        updateGeometry();
        update();
    }

    QSize sizeHint() const override
    {
        const QSize text = QFontMetrics(m_font).size(0, m_text);
        const int edge = 2 * (borderExtent(m_border) + Padding);
        return QSize(text.width() + edge, text.height() + edge);
    }
    QSize minimumSizeHint() const override { return QSize(0, sizeHint().height()); }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        paintInterior(painter, rect(), m_interior, Qt::transparent);
        const int edge = borderExtent(m_border) + Padding;
        painter.setFont(m_font);
        painter.setPen(textColor(m_interior));
        const int align = m_alignment == Alignment::Left    ? Qt::AlignLeft
                          : m_alignment == Alignment::Right ? Qt::AlignRight
                                                            : Qt::AlignHCenter;
        painter.drawText(rect().adjusted(edge, edge, -edge, -edge), align | Qt::AlignVCenter,
                         m_text);
        paintBorder(painter, rect(), m_border);
    }

private:
    QString m_text;
    QFont m_font;
    Border m_border;
    Interior m_interior;
    int m_alignment = Alignment::Center;
};

// The legend: its text as a heading, then one entry per series (or set of series), stacked
// (vertical) or in rows that wrap (horizontal).
class LegendBox : public QWidget
{
public:
    struct Entry
    {
        QString label;
        SeriesStyle style;
        bool line = false; // a line sample with its symbol, else a filled swatch
    };

    explicit LegendBox(QWidget *parent) : QWidget(parent)
    {
        QSizePolicy policy(QSizePolicy::Preferred, QSizePolicy::Preferred);
        policy.setHeightForWidth(true);
        setSizePolicy(policy);
    }

    void set(const Legend &legend, std::vector<Entry> entries)
    {
        m_text = legend.text();
        m_font = toQFont(legend.font());
        m_border = legend.border();
        m_interior = legend.interior();
        m_horizontal = legend.orientation() == Orientation::Horizontal;
        m_entries = std::move(entries);
        updateGeometry();
        update();
    }

    QSize sizeHint() const override
    {
        if (!m_horizontal) {
            const QSize inner = layoutEntries(QWIDGETSIZE_MAX, nullptr);
            return inner + QSize(2 * edge(), 2 * edge());
        }
        const int width = std::min(entriesWidth() + 2 * edge(), 800);
        return QSize(width, heightForWidth(width));
    }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override
    {
        return layoutEntries(std::max(1, width - 2 * edge()), nullptr).height() + 2 * edge();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        paintInterior(painter, rect(), m_interior, Qt::transparent);
        layoutEntries(width() - 2 * edge(), &painter);
        paintBorder(painter, rect(), m_border);
    }

private:
    int edge() const { return borderExtent(m_border) + Padding; }
    int swatch() const { return QFontMetrics(m_font).height(); }
    int entryWidth(const Entry &entry) const
    {
        return 2 * swatch() + Padding + QFontMetrics(m_font).horizontalAdvance(entry.label);
    }
    int entriesWidth() const
    {
        int width = 0;
        for (const Entry &entry : m_entries)
            width += entryWidth(entry) + 3 * Padding;
        return width;
    }

    void paintEntry(QPainter &painter, const Entry &entry, const QRect &box) const
    {
        const int s = swatch();
        const QRect sample(box.left(), box.top(), 2 * s, s);
        if (entry.line) {
            painter.setPen(linePen(entry.style.line().pattern(),
                                   toColor(entry.style.line().color(), Qt::black),
                                   std::min(entry.style.line().width(), 4)));
            painter.drawLine(sample.left(), sample.center().y(), sample.right(),
                             sample.center().y());
            SymbolStyle symbol = entry.style.symbol();
            symbol.setSize(std::min(symbol.size(), s));
            paintSymbol(painter, QRectF(sample).center(), symbol,
                        loadPicture(entry.style.image().fileName()));
        } else {
            const QRect fill = sample.adjusted(s / 2, 1, -s / 2, -1);
            painter.fillRect(fill, fillBrush(entry.style.fill(), Qt::gray));
            painter.setPen(linePen(entry.style.line().pattern(),
                                   toColor(entry.style.line().color(), Qt::black), 1));
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(fill);
        }
        painter.setPen(textColor(m_interior));
        painter.drawText(QRect(sample.right() + Padding, box.top(), box.width(), s),
                         Qt::AlignLeft | Qt::AlignVCenter, entry.label);
    }

    // Lays the heading and entries out in `width` and paints them when `painter` is given;
    // answers the size used.
    QSize layoutEntries(int width, QPainter *painter) const
    {
        const QFontMetrics metrics(m_font);
        const int line = std::max(swatch(), metrics.height()) + Padding;
        int y = 0;
        int used = 0;
        if (painter)
            painter->setFont(m_font);
        if (!m_text.isEmpty()) {
            const QSize heading = metrics.size(0, m_text);
            if (painter) {
                painter->setPen(textColor(m_interior));
                painter->drawText(QRect(edge(), edge(), width, heading.height()),
                                  Qt::AlignHCenter | Qt::AlignTop, m_text);
            }
            y += heading.height() + Padding;
            used = heading.width();
        }
        int x = 0;
        for (const Entry &entry : m_entries) {
            const int w = entryWidth(entry);
            if (m_horizontal && x > 0 && x + w > width) {
                x = 0;
                y += line;
            }
            if (painter)
                paintEntry(*painter, entry, QRect(edge() + x, edge() + y, w, line));
            if (m_horizontal) {
                x += w + 3 * Padding;
                used = std::max(used, x - 3 * Padding);
            } else {
                used = std::max(used, w);
                y += line;
            }
        }
        if (m_horizontal && !m_entries.empty())
            y += line;
        return QSize(used, y);
    }

    QString m_text;
    QFont m_font;
    Border m_border;
    Interior m_interior;
    bool m_horizontal = false;
    std::vector<Entry> m_entries;
};

// What the plot view draws itself around and over Qt's series.
struct Decor
{
    qint32 chartType = ChartType::Plot;
    bool horizontal = false;
    QAbstractSeries *anchor = nullptr; // maps values to positions for the own drawings
    int series = 0;
    int points = 0;
    std::vector<double> values; // series-major, as drawn
    std::vector<SeriesStyle> styles;
    double yMin = 0;
    double yMax = 1;

    qint32 depth = 0;
    qint16 shading = Shading::None;
    double dx = 0;
    double dy = 0;

    Border areaBorder;

    struct AxisTitle
    {
        QGraphicsSimpleTextItem *item = nullptr;
        qint32 rotation = TitleRotation::None;
        bool vertical = false; // beside a vertical axis (left), else under a horizontal one
    };
    AxisTitle titles[2];
    int titleRoom[2] = {0, 0}; // room kept for the vertical and the horizontal axis title

    QStringList pieCaptions;
    int pieColumns = 1;
    QFont captionFont;

    double value(int s, int p) const { return values[std::size_t(s) * points + p]; }
};

// The Qt Charts view with the layer's own drawings and the mouse gestures.
class PlotView : public QChartView
{
public:
    explicit PlotView(QWidget *parent) : QChartView(parent)
    {
        setFrameShape(QFrame::NoFrame);
        setBackgroundBrush(Qt::NoBrush);
        setStyleSheet(QStringLiteral("background: transparent"));
        viewport()->setAutoFillBackground(false);
        setRenderHint(QPainter::Antialiasing);
    }

    void setDecor(std::unique_ptr<Decor> decor)
    {
        m_decor = std::move(decor);
        if (m_decor && chart()) {
            connect(chart(), &QChart::plotAreaChanged, this, [this] { placeTitles(); });
            placeTitles();
        }
        viewport()->update();
    }

    QSet<int> gestures;
    std::function<void(int, int)> onRotate;
    std::function<void(QMouseEvent *)> onMouse; // mouse events that the plot's items took
    int elevation = 45;
    int rotation = 45;

protected:
    void drawBackground(QPainter *painter, const QRectF &rect) override
    {
        QChartView::drawBackground(painter, rect);
        if (m_decor && chart())
            drawWalls(*painter);
    }

    void drawForeground(QPainter *painter, const QRectF &rect) override
    {
        QChartView::drawForeground(painter, rect);
        if (!m_decor || !chart())
            return;
        painter->save();
        painter->setClipRect(chart()->mapToScene(chart()->plotArea()).boundingRect());
        switch (m_decor->chartType) {
        case ChartType::HiLo:
        case ChartType::HiLoOpenClose:
            drawHiLo(*painter);
            break;
        case ChartType::Bubble:
            drawBubbles(*painter);
            break;
        default:
            break;
        }
        painter->restore();
        if (m_decor->chartType == ChartType::Pie)
            drawPieCaptions(*painter);
        painter->save();
        painter->resetTransform();
        paintBorder(*painter, viewport()->rect(), m_decor->areaBorder);
        painter->restore();
    }

    void mousePressEvent(QMouseEvent *event) override
    {
        m_last = event->position().toPoint();
        m_origin = m_last;
        const Qt::MouseButtons both = Qt::LeftButton | Qt::RightButton;
        const bool ctrl = event->modifiers() & Qt::ControlModifier;
        const bool shift = event->modifiers() & Qt::ShiftModifier;
        m_drag = None;
        if ((event->buttons() & both) == both) {
            if (ctrl && gestures.contains(Chart2DCanvas::Zoom))
                m_drag = ZoomDrag;
            else if (shift && gestures.contains(Chart2DCanvas::Move))
                m_drag = MoveDrag;
            else if (!ctrl && !shift && gestures.contains(Chart2DCanvas::Rotate))
                m_drag = RotateDrag;
        } else if (event->button() == Qt::LeftButton) {
            if (ctrl && gestures.contains(Chart2DCanvas::ChartZoom))
                m_drag = BoxDrag;
            else if (shift && gestures.contains(Chart2DCanvas::AxisZoom))
                m_drag = AxisDrag;
        }
        if (m_drag == BoxDrag || m_drag == AxisDrag) {
            if (!m_band)
                m_band = new QRubberBand(QRubberBand::Rectangle, viewport());
            m_band->setGeometry(QRect(m_origin, QSize()));
            m_band->show();
        }
        QChartView::mousePressEvent(event);
        if (event->isAccepted() && onMouse)
            onMouse(event);
    }

    void mouseDoubleClickEvent(QMouseEvent *event) override
    {
        QChartView::mouseDoubleClickEvent(event);
        if (event->isAccepted() && onMouse)
            onMouse(event);
    }

    void mouseMoveEvent(QMouseEvent *event) override
    {
        const QPoint at = event->position().toPoint();
        const QPoint delta = at - m_last;
        m_last = at;
        if (chart()) {
            switch (m_drag) {
            case ZoomDrag:
                chart()->zoom(std::pow(1.01, -delta.y()));
                break;
            case MoveDrag:
                chart()->scroll(-delta.x(), delta.y());
                break;
            case RotateDrag:
                elevation = std::clamp(elevation - delta.y(), -90, 90);
                rotation = std::clamp(rotation + delta.x(), -360, 360);
                if (onRotate)
                    onRotate(elevation, rotation);
                break;
            case BoxDrag:
                m_band->setGeometry(QRect(m_origin, at).normalized());
                break;
            case AxisDrag: {
                // The band spans the plot across the value axis: only the point axis zooms.
                const QRectF plot = chart()->plotArea();
                QRect band = QRect(m_origin, at).normalized();
                if (m_decor && m_decor->horizontal)
                    band.setLeft(int(plot.left())), band.setRight(int(plot.right()));
                else
                    band.setTop(int(plot.top())), band.setBottom(int(plot.bottom()));
                m_band->setGeometry(band);
                break;
            }
            default:
                break;
            }
        }
        QChartView::mouseMoveEvent(event);
    }

    void mouseReleaseEvent(QMouseEvent *event) override
    {
        if ((m_drag == BoxDrag || m_drag == AxisDrag) && m_band && chart()) {
            const QRect band = m_band->geometry();
            m_band->hide();
            if (band.width() > 2 && band.height() > 2)
                chart()->zoomIn(chart()->mapFromScene(mapToScene(band)).boundingRect());
        }
        if (event->buttons() == Qt::NoButton)
            m_drag = None;
        QChartView::mouseReleaseEvent(event);
        if (event->isAccepted() && onMouse)
            onMouse(event);
    }

    void keyPressEvent(QKeyEvent *event) override
    {
        if (event->key() == Qt::Key_R && gestures.contains(Chart2DCanvas::Reset) && chart()) {
            chart()->zoomReset();
            return;
        }
        QChartView::keyPressEvent(event);
    }

private:
    enum Drag { None, ZoomDrag, MoveDrag, RotateDrag, BoxDrag, AxisDrag };

    QPointF map(double x, double y) const
    {
        const QPointF value = m_decor->horizontal ? QPointF(y, x) : QPointF(x, y);
        return chart()->mapToScene(chart()->mapToPosition(value, m_decor->anchor));
    }

    // The x of point p of set k among `sets` sets: the sets side by side within the point's slot.
    double slotX(int p, int k, int sets) const
    {
        return p + (sets > 1 ? (k + 0.5) / sets - 0.5 : 0) * 0.6;
    }

    void drawHiLo(QPainter &painter) const
    {
        const Decor &d = *m_decor;
        const int per = seriesPerSet(d.chartType);
        const int sets = std::max(1, (d.series + per - 1) / per);
        const double tick = std::max(3.0, slotPixels() * 0.3 / sets);
        painter.setRenderHint(QPainter::Antialiasing);
        for (int k = 0; k < sets; ++k) {
            const int first = k * per;
            auto v = [&](int i, int p) { return d.value(std::min(first + i, d.series - 1), p); };
            const SeriesStyle &style = d.styles[std::size_t(first)];
            QPen pen = linePen(style.line().pattern(), toColor(style.line().color(), Qt::black),
                               std::max(2, style.line().width()));
            if (pen.style() == Qt::NoPen)
                pen = QPen(toColor(style.line().color(), Qt::black), 2);
            painter.setPen(pen);
            for (int p = 0; p < d.points; ++p) {
                const double high = v(0, p);
                const double low = v(1, p);
                if (!std::isfinite(high) || !std::isfinite(low))
                    continue;
                const double x = slotX(p, k, sets);
                painter.drawLine(map(x, low), map(x, high));
                if (per == 4) {
                    const QPointF open = map(x, v(2, p));
                    const QPointF close = map(x, v(3, p));
                    const QPointF along = d.horizontal ? QPointF(0, tick) : QPointF(tick, 0);
                    if (std::isfinite(v(2, p)))
                        painter.drawLine(open - along, open);
                    if (std::isfinite(v(3, p)))
                        painter.drawLine(close, close + along);
                }
            }
        }
    }

    double slotPixels() const
    {
        const QPointF a = map(0, m_decor->yMin);
        const QPointF b = map(1, m_decor->yMin);
        return std::hypot(b.x() - a.x(), b.y() - a.y());
    }

    void drawBubbles(QPainter &painter) const
    {
        const Decor &d = *m_decor;
        const int sets = std::max(1, (d.series + 1) / 2);
        double largest = 0;
        for (int k = 0; k < sets; ++k) {
            if (2 * k + 1 >= d.series)
                continue;
            for (int p = 0; p < d.points; ++p) {
                const double size = d.value(2 * k + 1, p);
                if (std::isfinite(size))
                    largest = std::max(largest, std::fabs(size));
            }
        }
        const double maxRadius = std::clamp(slotPixels() * 0.45, 4.0, 60.0);
        painter.setRenderHint(QPainter::Antialiasing);
        for (int k = 0; k < sets; ++k) {
            const SeriesStyle &style = d.styles[std::size_t(2 * k)];
            QBrush brush = fillBrush(style.fill(), Qt::gray);
            painter.setBrush(brush);
            painter.setPen(
                linePen(style.line().pattern(), toColor(style.line().color(), Qt::black), 1));
            for (int p = 0; p < d.points; ++p) {
                const double y = d.value(2 * k, p);
                if (!std::isfinite(y))
                    continue;
                double radius = maxRadius * 0.5;
                if (2 * k + 1 < d.series && largest > 0) {
                    const double size = d.value(2 * k + 1, p);
                    radius =
                        std::isfinite(size) ? maxRadius * std::sqrt(std::fabs(size) / largest) : 0;
                }
                if (radius > 0)
                    painter.drawEllipse(map(p, y), radius, radius);
            }
        }
    }

    void drawPieCaptions(QPainter &painter) const
    {
        const Decor &d = *m_decor;
        if (d.pieCaptions.size() < 2)
            return;
        const QRectF plot = chart()->mapToScene(chart()->plotArea()).boundingRect();
        const int columns = std::max(1, d.pieColumns);
        const int rows = int((d.pieCaptions.size() + columns - 1) / columns);
        painter.setFont(d.captionFont);
        painter.setPen(Qt::black);
        for (qsizetype i = 0; i < d.pieCaptions.size(); ++i) {
            const int row = int(i / columns);
            const int column = int(i % columns);
            const QRectF cell(plot.left() + plot.width() * column / columns,
                              plot.top() + plot.height() * row / rows, plot.width() / columns,
                              plot.height() / rows);
            painter.drawText(cell, Qt::AlignHCenter | Qt::AlignBottom, d.pieCaptions[i]);
        }
    }

    void drawWalls(QPainter &painter) const
    {
        const Decor &d = *m_decor;
        if (d.depth <= 0 || d.shading == Shading::None || d.chartType == ChartType::Pie
            || isPolarType(d.chartType))
            return;
        const QRectF plot = chart()->mapToScene(chart()->plotArea()).boundingRect();
        const QPointF shift(d.dx, d.dy);
        const QColor back =
            d.shading == Shading::Color ? QColor(220, 228, 240) : QColor(225, 225, 225);
        const QColor side = back.darker(112);
        const QColor floor = back.darker(125);
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setPen(QPen(QColor(128, 128, 128), 1));
        painter.setBrush(back);
        painter.drawRect(plot.translated(shift));
        painter.setBrush(side);
        const QPointF sideCorner = d.dx >= 0 ? plot.bottomLeft() : plot.bottomRight();
        const QPointF sideTop = d.dx >= 0 ? plot.topLeft() : plot.topRight();
        painter.drawPolygon(QPolygonF({sideTop, sideTop + shift, sideCorner + shift, sideCorner}));
        painter.setBrush(floor);
        const QPointF floorA = d.dy <= 0 ? plot.bottomLeft() : plot.topLeft();
        const QPointF floorB = d.dy <= 0 ? plot.bottomRight() : plot.topRight();
        painter.drawPolygon(QPolygonF({floorA, floorB, floorB + shift, floorA + shift}));
        painter.restore();
    }

    // Axis titles stand in the room kept for them at the chart's left and bottom edges.
    void placeTitles()
    {
        if (!m_decor || !chart())
            return;
        const QRectF plot = chart()->plotArea();
        const QRectF whole = chart()->rect();
        for (Decor::AxisTitle &title : m_decor->titles) {
            if (!title.item)
                continue;
            QGraphicsSimpleTextItem *item = title.item;
            const QRectF text = item->boundingRect();
            double angle = 0;
            switch (title.rotation) {
            case TitleRotation::Rotate90:
                angle = -90;
                break;
            case TitleRotation::Rotate270:
                angle = 90;
                break;
            case TitleRotation::Rotate45:
                angle = -45;
                break;
            case TitleRotation::Rotate315:
                angle = 45;
                break;
            default:
                break;
            }
            item->setTransformOriginPoint(text.center());
            item->setRotation(angle);
            const QRectF turned = item->mapRectToParent(text).translated(-item->pos());
            QPointF centre;
            if (title.vertical)
                centre = QPointF(whole.left() + Padding + turned.width() / 2, plot.center().y());
            else
                centre = QPointF(plot.center().x(), whole.bottom() - Padding - turned.height() / 2);
            item->setPos(centre - text.center());
        }
    }

    std::unique_ptr<Decor> m_decor;
    QRubberBand *m_band = nullptr;
    Drag m_drag = None;
    QPoint m_last;
    QPoint m_origin;
};

namespace {

struct Range
{
    double min = 0;
    double max = 1;
};

double niceStep(double span)
{
    if (!(span > 0) || !std::isfinite(span))
        return 1;
    const double raw = span / 5;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    const double fraction = raw / magnitude;
    const double nice = fraction <= 1 ? 1 : fraction <= 2 ? 2 : fraction <= 5 ? 5 : 10;
    return nice * magnitude;
}

// The value axis's bounds and step from the data's range and the axis's settings.
void valueBounds(const Axis &axis, double dataMin, double dataMax, double &min, double &max,
                 double &step)
{
    if (!(dataMin <= dataMax)) {
        dataMin = 0;
        dataMax = 1;
    }
    // Bounds within +-1e300, so that the span between them is a finite number.
    constexpr double Far = 1e300;
    min = std::clamp(axis.isMinAuto() ? std::min(0.0, dataMin) : axis.min(), -Far, Far);
    max = std::clamp(axis.isMaxAuto() ? std::max(0.0, dataMax) : axis.max(), -Far, Far);
    if (axis.isMinAuto() && !axis.isMaxAuto())
        min = std::min(min, max - 1);
    if (!(max > min)) {
        if (axis.isMaxAuto())
            max = min + 1;
        else
            min = max - 1;
    }
    step = axis.spacing() > 0 && (max - min) / axis.spacing() <= 200 ? axis.spacing()
                                                                     : niceStep(max - min);
    if (axis.isMinAuto())
        min = std::floor(min / step + 1e-9) * step;
    if (axis.isMaxAuto())
        max = std::ceil(max / step - 1e-9) * step;
    if (!(max > min))
        max = min + step;
}

void styleAxis(QAbstractAxis *qtAxis, const Axis &axis, bool valueAxis)
{
    qtAxis->setVisible(axis.isShowing());
    qtAxis->setReverse(axis.isReversed());
    qtAxis->setLabelsFont(toQFont(axis.font()));
    qtAxis->setLabelsColor(Qt::black);
    qtAxis->setLabelsAngle(-int(std::lround(axis.rotation())));
    qtAxis->setTitleVisible(false);
    qtAxis->setLinePen(
        linePen(axis.lineStyle(), toColor(axis.lineColor(), Qt::black), axis.lineWidth()));
    qtAxis->setLineVisible(axis.lineStyle() != LinePattern::None);
    qtAxis->setGridLinePen(
        linePen(axis.gridStyle(), toColor(axis.gridColor(), Qt::lightGray), axis.gridWidth()));
    qtAxis->setGridLineVisible(axis.gridStyle() != LinePattern::None);
    qtAxis->setMinorGridLineVisible(false);
    if (auto *category = qobject_cast<QCategoryAxis *>(qtAxis)) {
        category->setLabelsPosition(valueAxis ? QCategoryAxis::AxisLabelsPositionOnValue
                                              : QCategoryAxis::AxisLabelsPositionCenter);
    }
}

// The axis of the points: labelled slots centred on 0, 1, ... points - 1.
QAbstractAxis *pointAxis(const Axis &axis, const QStringList &labels, int points)
{
    auto *qtAxis = new QCategoryAxis;
    const int count = std::max(points, 1);
    qtAxis->setRange(-0.5, count - 0.5);
    qtAxis->setStartValue(-0.5);
    const bool named = axis.annotationMethod() != AnnotationMethod::Values;
    UniqueLabels unique;
    for (int p = 0; p < count; ++p) {
        const QString text = named && p < labels.size() ? labels[p] : QString::number(p + 1);
        qtAxis->append(unique(text), p + 0.5);
    }
    styleAxis(qtAxis, axis, false);
    return qtAxis;
}

// The axis of the values, labelled through valueLabel at every step.
QAbstractAxis *valueAxis(const Axis &axis, double dataMin, double dataMax, bool percent,
                         double &min, double &max)
{
    if (axis.isLogarithmic() && !percent) {
        auto *log = new QLogValueAxis;
        log->setBase(10);
        const double low = dataMin > 0 ? dataMin : 1;
        min = axis.isMinAuto() || axis.min() <= 0 ? std::pow(10, std::floor(std::log10(low)))
                                                  : axis.min();
        max = axis.isMaxAuto() || axis.max() <= min
                  ? std::pow(10, std::ceil(std::log10(std::max(dataMax, min * 10))))
                  : axis.max();
        if (!(max > min))
            max = min * 10;
        log->setRange(min, max);
        log->setLabelFormat(QStringLiteral("%g"));
        styleAxis(log, axis, true);
        return log;
    }
    double step = 1;
    if (percent) {
        min = 0;
        max = 100;
        step = axis.spacing() > 0 && 100 / axis.spacing() <= 200 ? axis.spacing() : 20;
    } else {
        valueBounds(axis, dataMin, dataMax, min, max, step);
    }
    auto *qtAxis = new QCategoryAxis;
    qtAxis->setRange(min, max);
    qtAxis->setStartValue(min);
    const double steps = std::floor((max - min) / step + 1e-9);
    const int ticks = std::isfinite(steps) ? int(std::clamp(steps, 0.0, 1000.0)) : 0;
    UniqueLabels unique;
    for (int i = 0; i <= ticks; ++i) {
        const double value = min + i * step;
        QString text = valueLabel(value, axis);
        if (percent && axis.labelCategory() == LabelCategory::Standard)
            text += QLatin1Char('%');
        qtAxis->append(unique(text), value);
    }
    styleAxis(qtAxis, axis, true);
    return qtAxis;
}

struct Drawn
{
    int series = 0;
    int points = 0;
    std::vector<double> values; // series-major
    std::vector<SeriesStyle> styles;
    std::vector<QString> labels;

    double &at(int s, int p) { return values[std::size_t(s) * points + p]; }
    double at(int s, int p) const { return values[std::size_t(s) * points + p]; }
};

Drawn drawnData(const ChartGroup &group)
{
    Drawn d;
    const ChartData &data = group.data();
    d.series = std::min(data.numSeries(), Chart2DCanvas::MaxDrawnSeries);
    d.points = std::min(data.numPoints(), Chart2DCanvas::MaxDrawnPoints);
    d.values.resize(std::size_t(d.series) * d.points);
    for (int s = 0; s < d.series; ++s) {
        for (int p = 0; p < d.points; ++p)
            d.at(s, p) = data.value(s + 1, p + 1);
        d.styles.push_back(group.styles().at(s + 1));
        d.labels.push_back(s < group.seriesLabels().count() ? group.seriesLabels().item(s + 1)
                                                            : QString());
    }
    return d;
}

double finiteOr(double value, double otherwise)
{
    return std::isfinite(value) ? value : otherwise;
}

QLineSeries *lineOf(const SeriesStyle &style, const QString &name)
{
    auto *line = new QLineSeries;
    line->setName(name);
    line->setPen(linePen(style.line().pattern(), toColor(style.line().color(), Qt::black),
                         style.line().width()));
    if (style.symbol().shape() != SymbolShape::None && style.symbol().size() > 0) {
        line->setMarkerSize(style.symbol().size());
        line->setLightMarker(symbolImage(style.symbol(), loadPicture(style.image().fileName())));
    }
    return line;
}

// An empty chart in the view's frame: no background, legend or shadow, boxed on request.
QChart *newChart(const Chart2DModel &model, bool polar)
{
    QChart *chart = polar ? new QPolarChart : new QChart;
    chart->setBackgroundVisible(false);
    chart->setDropShadowEnabled(false);
    chart->legend()->hide();
    chart->setBackgroundRoundness(0);
    chart->setMargins(QMargins(Padding, Padding, Padding, Padding));
    if (model.chartArea.areaBox().isBoxed()) {
        chart->setPlotAreaBackgroundVisible(true);
        chart->setPlotAreaBackgroundBrush(Qt::NoBrush);
        chart->setPlotAreaBackgroundPen(QPen(Qt::black, 1));
    }
    return chart;
}

// One pie per point, a slice per series, laid out in a grid.
void buildPies(QChart *chart, const Drawn &d, const QStringList &pointLabels, const Axis &xAxis,
               Decor &decor)
{
    const int pies = std::min(std::max(d.points, 0), 36);
    const int columns = std::max(1, int(std::ceil(std::sqrt(double(pies)))));
    const int rows = std::max(1, (pies + columns - 1) / columns);
    for (int p = 0; p < pies; ++p) {
        auto *pie = new QPieSeries;
        for (int s = 0; s < d.series; ++s) {
            const double v = finiteOr(d.at(s, p), 0);
            auto *slice = pie->append(d.labels[std::size_t(s)], v > 0 ? v : 0);
            slice->setBrush(fillBrush(d.styles[std::size_t(s)].fill(), Qt::gray));
            slice->setPen(linePen(d.styles[std::size_t(s)].line().pattern(),
                                  toColor(d.styles[std::size_t(s)].line().color(), Qt::black), 1));
        }
        pie->setHorizontalPosition((p % columns + 0.5) / columns);
        pie->setVerticalPosition((p / columns + 0.45) / rows);
        pie->setPieSize(0.85 / std::max(columns, rows));
        chart->addSeries(pie);
        decor.pieCaptions.append(p < pointLabels.size() ? pointLabels[p] : QString::number(p + 1));
    }
    decor.pieColumns = columns;
    decor.captionFont = toQFont(xAxis.font());
}

// How the values of a non-pie chart are drawn.
struct Drawing
{
    qint32 type{};
    bool polar{};
    bool horizontal{};
    bool percent{};
    bool barType{};
    bool stacked{};
    bool log{};
};

// Each point's values as percentages of the point's sum.
void toPercentages(Drawn &d)
{
    for (int p = 0; p < d.points; ++p) {
        double sum = 0;
        for (int s = 0; s < d.series; ++s)
            sum += std::fabs(finiteOr(d.at(s, p), 0));
        for (int s = 0; s < d.series; ++s)
            d.at(s, p) = sum > 0 ? finiteOr(d.at(s, p), 0) / sum * 100 : 0;
    }
}

// Each point's values as running sums over the series.
void toRunningSums(Drawn &d)
{
    for (int p = 0; p < d.points; ++p) {
        double sum = 0;
        for (int s = 0; s < d.series; ++s) {
            sum += finiteOr(d.at(s, p), 0);
            d.at(s, p) = sum;
        }
    }
}

struct DataRange
{
    double min = std::numeric_limits<double>::infinity();
    double max = -std::numeric_limits<double>::infinity();
    double lowestPositive = std::numeric_limits<double>::infinity();
};

// The range of the drawn values; stacked bars reach the sums of their positive and negative parts.
DataRange dataRange(const Drawn &d, bool stackedBars)
{
    DataRange range;
    for (int p = 0; p < d.points; ++p) {
        double positive = 0;
        double negative = 0;
        for (int s = 0; s < d.series; ++s) {
            const double v = d.at(s, p);
            if (!std::isfinite(v))
                continue;
            if (stackedBars) {
                (v >= 0 ? positive : negative) += v;
                range.min = std::min(range.min, negative);
                range.max = std::max(range.max, positive);
            } else {
                range.min = std::min(range.min, v);
                range.max = std::max(range.max, v);
            }
            if (v > 0)
                range.lowestPositive = std::min(range.lowestPositive, v);
        }
    }
    return range;
}

// On a logarithmic scale non-positive values are drawn at the lowest decade.
void toLogarithmicScale(Drawn &d, DataRange &range)
{
    const double floorValue = std::isfinite(range.lowestPositive)
                                  ? std::pow(10, std::floor(std::log10(range.lowestPositive)))
                                  : 1;
    for (double &v : d.values) {
        if (std::isfinite(v) && v <= 0)
            v = floorValue;
    }
    range.min = std::isfinite(range.lowestPositive) ? range.lowestPositive : 1;
}

// Values as drawn: percentages of each point's sum, running sums when stacked (bars stack
// themselves), the lowest decade for non-positive values on a log scale.
DataRange drawnValues(Drawn &d, const Drawing &how)
{
    if (how.percent && !how.barType)
        toPercentages(d);
    const bool runningSums =
        how.stacked && (how.type == ChartType::Plot || how.type == ChartType::Area || how.polar);
    if (runningSums)
        toRunningSums(d);
    DataRange range = dataRange(d, how.barType && how.stacked);
    if (how.log)
        toLogarithmicScale(d, range);
    return range;
}

// The chart with its point and value axes, where the series are attached.
struct Plot
{
    QChart *chart = nullptr;
    bool horizontal = false;
    QAbstractAxis *points = nullptr;
    QAbstractAxis *values = nullptr;
    double yMin = 0;
    double yMax = 1;

    void attach(QAbstractSeries *series) const
    {
        chart->addSeries(series);
        series->attachAxis(points);
        series->attachAxis(values);
    }
    QPointF at(double x, double y) const { return horizontal ? QPointF(y, x) : QPointF(x, y); }
};

QString pointText(const Axis &xAxis, const QStringList &pointLabels, int p)
{
    const bool named = xAxis.annotationMethod() != AnnotationMethod::Values;
    return named && p < pointLabels.size() ? pointLabels[p] : QString::number(p + 1);
}

void addPolarAxes(Plot &plot, const Chart2DModel &model, const Drawn &d,
                  const QStringList &pointLabels, const DataRange &range, const Drawing &how)
{
    const Axis &xAxis = model.chartArea.axes().x();
    auto *angular = new QCategoryAxis;
    const int count = std::max(d.points, 1);
    angular->setRange(0, count);
    angular->setStartValue(0);
    UniqueLabels unique;
    for (int p = 0; p < count; ++p)
        angular->append(unique(pointText(xAxis, pointLabels, p)), p);
    styleAxis(angular, xAxis, true);
    plot.points = angular;
    plot.values = valueAxis(model.chartArea.axes().y(), range.min, range.max,
                            how.percent && how.stacked, plot.yMin, plot.yMax);
    auto *polarChart = static_cast<QPolarChart *>(plot.chart);
    polarChart->addAxis(plot.points, QPolarChart::PolarOrientationAngular);
    polarChart->addAxis(plot.values, QPolarChart::PolarOrientationRadial);
}

void addCartesianAxes(Plot &plot, const Chart2DModel &model, const Drawn &d,
                      const QStringList &pointLabels, const DataRange &range, const Drawing &how)
{
    const Axis &xAxis = model.chartArea.axes().x();
    const Axis &yAxis = model.chartArea.axes().y();
    if (how.type == ChartType::Candle) {
        // Candlesticks stand on a bar category axis only.
        auto *categories = new QBarCategoryAxis;
        UniqueLabels unique;
        for (int p = 0; p < std::max(d.points, 1); ++p)
            categories->append(unique(pointText(xAxis, pointLabels, p)));
        styleAxis(categories, xAxis, false);
        plot.points = categories;
        plot.values = valueAxis(yAxis, range.min, range.max, false, plot.yMin, plot.yMax);
    } else {
        plot.points = pointAxis(xAxis, pointLabels, d.points);
        plot.values = valueAxis(yAxis, range.min, range.max,
                                how.percent && (how.barType || how.stacked), plot.yMin, plot.yMax);
    }
    plot.chart->addAxis(plot.points, how.horizontal ? Qt::AlignLeft : Qt::AlignBottom);
    plot.chart->addAxis(plot.values, how.horizontal ? Qt::AlignBottom : Qt::AlignLeft);
}

void addBars(const Plot &plot, const Drawn &d, const Drawing &how)
{
    QAbstractBarSeries *bars = nullptr;
    if (how.percent)
        bars = how.horizontal ? static_cast<QAbstractBarSeries *>(new QHorizontalPercentBarSeries)
                              : new QPercentBarSeries;
    else if (how.stacked)
        bars = how.horizontal ? static_cast<QAbstractBarSeries *>(new QHorizontalStackedBarSeries)
                              : new QStackedBarSeries;
    else
        bars = how.horizontal ? static_cast<QAbstractBarSeries *>(new QHorizontalBarSeries)
                              : new QBarSeries;
    for (int s = 0; s < d.series; ++s) {
        auto *set = new QBarSet(d.labels[std::size_t(s)]);
        for (int p = 0; p < d.points; ++p)
            set->append(finiteOr(d.at(s, p), 0));
        const SeriesStyle &style = d.styles[std::size_t(s)];
        set->setBrush(fillBrush(style.fill(), Qt::gray));
        set->setPen(linePen(style.line().pattern(), toColor(style.line().color(), Qt::black),
                            std::min(style.line().width(), 1)));
        bars->append(set);
    }
    bars->setBarWidth(0.8);
    plot.attach(bars);
}

void addAreas(const Plot &plot, const Drawn &d, const Drawing &how)
{
    const double base = plot.yMin <= 0 && plot.yMax >= 0 ? 0 : plot.yMin;
    const int closing = how.type == ChartType::FilledRadar && d.points > 0 ? 1 : 0;
    for (int s = d.series - 1; s >= 0; --s) {
        auto *upper = new QLineSeries;
        auto *lower = new QLineSeries;
        for (int p = 0; p < d.points + closing; ++p) {
            const int q = p % std::max(d.points, 1);
            const double top = finiteOr(d.at(s, q), base);
            const double bottom = how.stacked && s > 0 && how.type == ChartType::Area
                                      ? finiteOr(d.at(s - 1, q), base)
                                      : base;
            upper->append(plot.at(p, top));
            lower->append(plot.at(p, bottom));
        }
        auto *area = new QAreaSeries(upper, lower);
        upper->setParent(area);
        lower->setParent(area);
        const SeriesStyle &style = d.styles[std::size_t(s)];
        area->setName(d.labels[std::size_t(s)]);
        area->setBrush(fillBrush(style.fill(), Qt::gray));
        area->setPen(linePen(style.line().pattern(), toColor(style.line().color(), Qt::black),
                             style.line().width()));
        plot.attach(area);
    }
}

void addCandles(const Plot &plot, const Drawn &d)
{
    const int sets = (d.series + 3) / 4;
    for (int k = 0; k < sets; ++k) {
        auto *candles = new QCandlestickSeries;
        auto v = [&](int i, int p) { return d.at(std::min(4 * k + i, d.series - 1), p); };
        for (int p = 0; p < d.points; ++p) {
            const double high = finiteOr(v(0, p), 0);
            const double low = finiteOr(v(1, p), 0);
            const double open = d.series > 4 * k + 2 ? finiteOr(v(2, p), low) : low;
            const double close = d.series > 4 * k + 3 ? finiteOr(v(3, p), high) : high;
            candles->append(new QCandlestickSet(open, high, low, close, p));
        }
        const SeriesStyle &style = d.styles[std::size_t(4 * k)];
        const QColor color = toColor(style.fill().interior().background(), Qt::gray);
        candles->setIncreasingColor(color.lighter(130));
        candles->setDecreasingColor(color.darker(130));
        candles->setPen(QPen(toColor(style.line().color(), Qt::black), 1));
        candles->setBodyWidth(0.6 / sets);
        candles->setName(d.labels[std::size_t(4 * k)]);
        plot.attach(candles);
    }
}

// The drawing is the view's; an invisible series gives the axes their range.
void addRangeAnchor(const Plot &plot, const Drawn &d, Decor &decor)
{
    auto *anchor = new QLineSeries;
    anchor->setPen(Qt::NoPen);
    anchor->append(plot.at(-0.5, plot.yMin));
    anchor->append(plot.at(std::max(d.points, 1) - 0.5, plot.yMax));
    plot.attach(anchor);
    decor.anchor = anchor;
    decor.values = d.values;
}

// Plot, polar and radar lines; a radar's line closes on its first point.
void addLines(const Plot &plot, const Drawn &d, bool closed)
{
    for (int s = 0; s < d.series; ++s) {
        QLineSeries *line = lineOf(d.styles[std::size_t(s)], d.labels[std::size_t(s)]);
        for (int p = 0; p < d.points; ++p) {
            if (std::isfinite(d.at(s, p)))
                line->append(plot.at(p, d.at(s, p)));
        }
        if (closed && d.points > 0 && std::isfinite(d.at(s, 0)))
            line->append(plot.at(d.points, d.at(s, 0)));
        plot.attach(line);
    }
}

void addSeries(const Plot &plot, const Drawn &d, const Drawing &how, Decor &decor)
{
    switch (how.type) {
    case ChartType::Bar:
    case ChartType::StackingBar:
        addBars(plot, d, how);
        break;
    case ChartType::Area:
    case ChartType::FilledRadar:
        addAreas(plot, d, how);
        break;
    case ChartType::Candle:
        addCandles(plot, d);
        break;
    case ChartType::HiLo:
    case ChartType::HiLoOpenClose:
    case ChartType::Bubble:
        addRangeAnchor(plot, d, decor);
        break;
    default:
        addLines(plot, d, how.type == ChartType::Radar);
        break;
    }
}

// The 3-D effect's offset, and the room its walls need above and beside the plot.
QMargins with3DOffset(const Effect3D &effect, const Drawing &how, QMargins margins, Decor &decor)
{
    decor.depth = effect.depth();
    decor.shading = effect.shading();
    if (decor.depth > 0 && decor.shading != Shading::None && !how.polar) {
        const double elevation = effect.elevation() * M_PI / 180;
        const double rotation = effect.rotation() * M_PI / 180;
        decor.dx = decor.depth * std::cos(elevation) * std::sin(rotation);
        decor.dy = -decor.depth * std::sin(elevation);
    }
    if (how.horizontal)
        margins.setRight(margins.right() + 12); // the last value label is centred on the end
    margins.setRight(margins.right() + int(std::ceil(std::max(0.0, decor.dx))));
    margins.setLeft(margins.left() + int(std::ceil(std::max(0.0, -decor.dx))));
    margins.setTop(margins.top() + int(std::ceil(std::max(0.0, -decor.dy))));
    margins.setBottom(margins.bottom() + int(std::ceil(std::max(0.0, decor.dy))));
    return margins;
}

// The room a title takes across its axis, as it is turned.
double titleRoom(const Decor::AxisTitle &title, const QRectF &text)
{
    switch (title.rotation) {
    case TitleRotation::Rotate90:
    case TitleRotation::Rotate270:
        return title.vertical ? text.height() : text.width();
    case TitleRotation::Rotate45:
    case TitleRotation::Rotate315:
        return (text.width() + text.height()) * M_SQRT1_2;
    default:
        return title.vertical ? text.width() : text.height();
    }
}

// Axis titles: own items, so that they can turn, in room kept at the left and bottom.
QMargins withAxisTitles(QChart *chart, const Chart2DModel &model, bool horizontal, QMargins margins,
                        Decor &decor)
{
    const Axis *axes[2] = {&model.chartArea.axes().x(), &model.chartArea.axes().y()};
    for (int i = 0; i < 2; ++i) {
        const Axis &axis = *axes[i];
        if (axis.titleText().isEmpty() || !axis.isShowing())
            continue;
        auto *item = new QGraphicsSimpleTextItem(axis.titleText(), chart);
        item->setFont(toQFont(axis.titleFont()));
        item->setBrush(Qt::black);
        Decor::AxisTitle &title = decor.titles[i];
        title.item = item;
        title.rotation = axis.titleRotation();
        title.vertical = (i == 1) != horizontal;
        const int kept = int(std::ceil(titleRoom(title, item->boundingRect()))) + 2 * Padding;
        if (title.vertical)
            margins.setLeft(margins.left() + kept);
        else
            margins.setBottom(margins.bottom() + kept);
    }
    return margins;
}

} // namespace

// Builds the Qt chart of a model and fills `decor` with what the view draws itself.
static QChart *buildChart(const Chart2DModel &model, Decor &decor)
{
    const ChartGroup &group = model.group();
    const Axis &yAxis = model.chartArea.axes().y();
    Drawing how;
    how.type = group.chartType();
    how.polar = isPolarType(how.type);
    how.horizontal = model.chartArea.isHorizontal() && !how.polar && how.type != ChartType::Pie;
    Drawn d = drawnData(group);
    const QStringList pointLabels = group.pointLabels().all();

    QChart *chart = newChart(model, how.polar);
    decor.chartType = how.type;
    decor.horizontal = how.horizontal;
    decor.areaBorder = model.chartArea.border();
    decor.series = d.series;
    decor.points = d.points;
    decor.styles = d.styles;

    if (how.type == ChartType::Pie) {
        buildPies(chart, d, pointLabels, model.chartArea.axes().x(), decor);
        return chart;
    }

    how.percent = yAxis.is100Percente();
    how.barType = how.type == ChartType::Bar || how.type == ChartType::StackingBar;
    how.stacked = group.isStacked() || how.type == ChartType::StackingBar;
    how.log = yAxis.isLogarithmic() && !how.percent;
    const DataRange range = drawnValues(d, how);

    Plot plot;
    plot.chart = chart;
    plot.horizontal = how.horizontal;
    if (how.polar)
        addPolarAxes(plot, model, d, pointLabels, range, how);
    else
        addCartesianAxes(plot, model, d, pointLabels, range, how);
    decor.yMin = plot.yMin;
    decor.yMax = plot.yMax;
    addSeries(plot, d, how, decor);

    QMargins margins = with3DOffset(model.chartArea.effect3D(), how, chart->margins(), decor);
    if (!how.polar)
        margins = withAxisTitles(chart, model, how.horizontal, margins, decor);
    chart->setMargins(margins);
    return chart;
}

// The canvas

Chart2DCanvas::Chart2DCanvas(QWidget *parent) : QWidget(parent)
{
    m_layout = new QGridLayout(this);
    m_layout->setSpacing(Padding);
    m_header = new TitleBox(this);
    m_footer = new TitleBox(this);
    m_legend = new LegendBox(this);
    m_plot = new PlotView(this);
    m_plot->onRotate = [this](int elevation, int rotation) { emit rotated(elevation, rotation); };
    m_layout->addWidget(m_header, 0, 0, 1, 3);
    m_layout->addWidget(m_plot, 2, 1);
    m_layout->addWidget(m_footer, 4, 0, 1, 3);
    m_layout->setRowStretch(2, 1);
    m_layout->setColumnStretch(1, 1);
    m_plot->onMouse = [this](QMouseEvent *event) { mouse(event); };
    build(Chart2DModel());
}

Chart2DCanvas::~Chart2DCanvas() = default;

QChartView *Chart2DCanvas::chartView() const
{
    return m_plot;
}

void Chart2DCanvas::enableGesture(Gesture gesture)
{
    m_plot->gestures.insert(gesture);
    if (gesture == Reset)
        m_plot->setFocusPolicy(Qt::StrongFocus);
}

void Chart2DCanvas::placeLegend(qint32 anchor)
{
    m_layout->removeWidget(m_legend);
    int row = 2;
    int column = 2;
    Qt::Alignment alignment = Qt::AlignVCenter;
    switch (anchor) {
    case Anchor::North:
        row = 1, column = 1, alignment = Qt::AlignHCenter;
        break;
    case Anchor::South:
        row = 3, column = 1, alignment = Qt::AlignHCenter;
        break;
    case Anchor::West:
        column = 0;
        break;
    case Anchor::NorthEast:
        alignment = Qt::AlignTop;
        break;
    case Anchor::SouthEast:
        alignment = Qt::AlignBottom;
        break;
    case Anchor::NorthWest:
        column = 0, alignment = Qt::AlignTop;
        break;
    case Anchor::SouthWest:
        column = 0, alignment = Qt::AlignBottom;
        break;
    default:
        break; // East
    }
    m_layout->addWidget(m_legend, row, column, alignment);
}

void Chart2DCanvas::build(const Chart2DModel &model)
{
    m_border = model.border;
    m_interior = model.interior;
    const int edge = borderExtent(m_border) + Padding;
    m_layout->setContentsMargins(edge, edge, edge, edge);

    auto title = [&](TitleBox *box, const Title &model, int row) {
        const bool shown = model.isShowing() && !model.text().isEmpty();
        box->set(model, model.alignment());
        box->setVisible(shown);
        m_layout->removeWidget(box);
        const Qt::Alignment align = model.alignment() == Alignment::Left    ? Qt::AlignLeft
                                    : model.alignment() == Alignment::Right ? Qt::AlignRight
                                                                            : Qt::AlignHCenter;
        m_layout->addWidget(box, row, 0, 1, 3, align);
    };
    title(m_header, model.header, 0);
    title(m_footer, model.footer, 4);

    // Legend entries: one per series, or per set of series for the charts that draw sets.
    const ChartGroup &group = model.group();
    const qint32 type = group.chartType();
    const int per = seriesPerSet(type);
    const int series = std::min(group.data().numSeries(), MaxDrawnSeries);
    std::vector<LegendBox::Entry> entries;
    for (int s = 1; s <= series; s += per) {
        LegendBox::Entry entry;
        entry.label = s <= group.seriesLabels().count() ? group.seriesLabels().item(s) : QString();
        entry.style = group.styles().at(s);
        entry.line =
            isLineType(type) || type == ChartType::HiLo || type == ChartType::HiLoOpenClose;
        entries.push_back(std::move(entry));
    }
    m_legend->set(model.legend, std::move(entries));
    m_legend->setVisible(model.legend.isShowing());
    placeLegend(model.legend.anchor());

    auto decor = std::make_unique<Decor>();
    QChart *chart = buildChart(model, *decor);
    m_plot->setDecor(nullptr); // it points into the chart about to go
    QChart *old = m_plot->chart();
    m_plot->setChart(chart);
    delete old;
    m_plot->elevation = model.chartArea.effect3D().elevation();
    m_plot->rotation = model.chartArea.effect3D().rotation();
    m_plot->setDecor(std::move(decor));
    update();
}

void Chart2DCanvas::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    paintInterior(painter, rect(), m_interior, Qt::white);
    paintBorder(painter, rect(), m_border);
}

void Chart2DCanvas::mouse(QMouseEvent *event)
{
    switch (event->type()) {
    case QEvent::MouseButtonPress:
        if (event->button() == Qt::LeftButton)
            m_pressed = true;
        break;
    case QEvent::MouseButtonRelease:
        if (m_pressed && event->button() == Qt::LeftButton) {
            m_pressed = false;
            emit clicked();
        }
        break;
    case QEvent::MouseButtonDblClick:
        m_pressed = false;
        if (event->button() == Qt::LeftButton)
            emit doubleClicked();
        break;
    default:
        break;
    }
}

void Chart2DCanvas::mousePressEvent(QMouseEvent *event)
{
    mouse(event);
    event->accept();
}

void Chart2DCanvas::mouseReleaseEvent(QMouseEvent *event)
{
    mouse(event);
    event->accept();
}

void Chart2DCanvas::mouseDoubleClickEvent(QMouseEvent *event)
{
    mouse(event);
    event->accept();
}

} // namespace platform::chart
