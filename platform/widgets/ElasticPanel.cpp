#include "platform/widgets/ElasticPanel.h"

#include "platform/forms/ScreenTwips.h"
#include "platform/runtime/Error.h"

#include <QLayout>
#include <QList>
#include <QMouseEvent>
#include <QPainter>
#include <QWidgetItem>

#include <algorithm>
#include <cmath>

namespace platform::widgets {

// The layout behind the panel: one item per pane with its size setting.
class ElasticLayout : public QLayout
{
public:
    static constexpr int handleHeight = 6; // pixels
    explicit ElasticLayout(QWidget *parent) : QLayout(parent)
    {
        setContentsMargins(0, 0, 0, 0);
        setSpacing(0);
    }

    ~ElasticLayout() override
    {
        for (const Pane &pane : std::as_const(m_panes))
            delete pane.item;
    }

    void addItem(QLayoutItem *item) override
    {
        m_panes.append(Pane{item, ElasticPanel::ElasticSize, false, 0});
    }
    int count() const override { return int(m_panes.size()); }
    QLayoutItem *itemAt(int index) const override
    {
        return index >= 0 && index < count() ? m_panes[index].item : nullptr;
    }
    QLayoutItem *takeAt(int index) override
    {
        if (index < 0 || index >= count())
            return nullptr;
        return m_panes.takeAt(index).item;
    }

    int size(int pane) const { return m_panes[pane].size; }
    void setSize(int pane, int size)
    {
        m_panes[pane].size = std::max(size, int(ElasticPanel::NaturalSize));
        invalidate();
    }

    int strip(int pane) const { return m_panes[pane].strip; }
    void setStrip(int pane, int width)
    {
        m_panes[pane].strip = std::max(width, 0);
        invalidate();
    }

    bool split(int pane) const { return m_panes[pane].split; }
    void setSplit(int pane, bool on)
    {
        m_panes[pane].split = on;
        invalidate();
    }

    // The handle above a pane, where it has one now; empty otherwise.
    QRect handle(int pane) const
    {
        for (const auto &[index, place] : m_handles) {
            if (index == pane)
                return place;
        }
        return {};
    }
    int handleAt(QPoint point) const
    {
        for (const auto &[index, place] : m_handles) {
            if (place.contains(point))
                return index;
        }
        return -1;
    }
    const QList<QPair<int, QRect>> &handles() const { return m_handles; }

    // The most a pane may take when it is given a height: what the other fixed and natural
    // panes and the handles leave.
    int roomFor(int pane) const
    {
        int taken = 0;
        for (int i = 0; i < count(); ++i) {
            const Pane &other = m_panes[i];
            if (i != pane && !other.item->isEmpty() && other.size != ElasticPanel::ElasticSize)
                taken += wanted(other);
        }
        for (const auto &entry : m_handles)
            taken += entry.second.height();
        return std::max(0, geometry().height() - taken);
    }

    QWidget *widget(int pane) const { return m_panes[pane].item->widget(); }
    QWidget *replaceWidget(int pane, QWidget *widget)
    {
        QLayoutItem *old = m_panes[pane].item;
        QWidget *oldWidget = old->widget();
        addChildWidget(widget);
        m_panes[pane].item = new QWidgetItem(widget);
        delete old;
        invalidate();
        return oldWidget;
    }

    QSize sizeHint() const override
    {
        int width = 0;
        int height = 0;
        for (const Pane &pane : m_panes) {
            if (pane.item->isEmpty())
                continue;
            const QSize hint = pane.item->sizeHint();
            width = std::max(width, hint.width());
            height += pane.size > 0 ? forms::twipsToPixelsY(pane.size) : hint.height();
        }
        return {width, height};
    }

    QSize minimumSize() const override { return {0, 0}; }

    void setGeometry(const QRect &rect) override
    {
        QLayout::setGeometry(rect);
        m_handles.clear();
        int elastic = 0;
        int claimed = 0;
        bool above = false;
        for (const Pane &pane : std::as_const(m_panes)) {
            if (pane.item->isEmpty())
                continue;
            if (pane.split && above)
                claimed += handleHeight;
            above = true;
            if (pane.size == ElasticPanel::ElasticSize)
                ++elastic;
            else
                claimed += wanted(pane);
        }
        const int share = elastic > 0 ? std::max(0, rect.height() - claimed) / elastic : 0;
        int extra = elastic > 0 ? std::max(0, rect.height() - claimed) % elastic : 0;
        int top = rect.top();
        int remaining = rect.height();
        above = false;
        for (int i = 0; i < count(); ++i) {
            const Pane &pane = m_panes[i];
            if (pane.item->isEmpty())
                continue;
            if (pane.split && above) {
                const int handle = std::clamp(handleHeight, 0, std::max(0, remaining));
                m_handles.append({i, QRect(rect.left(), top, rect.width(), handle)});
                top += handle;
                remaining -= handle;
            }
            above = true;
            int height = share;
            if (pane.size != ElasticPanel::ElasticSize) {
                height = wanted(pane);
            } else if (extra > 0) {
                ++height;
                --extra;
            }
            height = std::clamp(height, 0, std::max(0, remaining));
            const int strip = std::min(forms::twipsToPixelsX(pane.strip), rect.width());
            pane.item->setGeometry(QRect(rect.left(), top, rect.width() - strip, height));
            top += height;
            remaining -= height;
        }
    }

private:
    struct Pane
    {
        QLayoutItem *item;
        int size;
        bool split; // a handle above it, between it and the visible pane above
        int strip;  // twips kept empty at its right
    };

    static int wanted(const Pane &pane)
    {
        if (pane.size > 0)
            return forms::twipsToPixelsY(pane.size);
        return std::max(0, pane.item->sizeHint().height());
    }

    QList<Pane> m_panes;
    QList<QPair<int, QRect>> m_handles;
};

ElasticPanel::ElasticPanel(QWidget *parent) : QWidget(parent), m_layout(new ElasticLayout(this))
{
    setMouseTracking(true);
}

ElasticPanel::~ElasticPanel() = default;

int ElasticPanel::addPane(QWidget *widget, int size)
{
    if (!widget)
        widget = new QWidget;
    m_layout->addWidget(widget);
    const int pane = m_layout->count() - 1;
    m_layout->setSize(pane, size);
    return pane;
}

int ElasticPanel::paneCount() const
{
    return m_layout->count();
}

QWidget *ElasticPanel::paneWidget(int pane) const
{
    checkPane(PaneSizeValue, pane);
    return m_layout->widget(pane);
}

QWidget *ElasticPanel::setPaneWidget(int pane, QWidget *widget)
{
    checkPane(PaneSizeValue, pane);
    if (!widget)
        widget = new QWidget;
    QWidget *old = m_layout->widget(pane);
    if (old == widget)
        return nullptr;
    const bool hiddenOnPurpose =
        widget->isHidden() && widget->testAttribute(Qt::WA_WState_ExplicitShowHide);
    m_layout->replaceWidget(pane, widget);
    if (isVisible() && !hiddenOnPurpose)
        widget->show();
    if (old) {
        old->hide();
        old->setParent(nullptr);
    }
    return old;
}

void ElasticPanel::setPaneSplit(int pane, bool on)
{
    checkPane(PaneSizeValue, pane);
    m_layout->setSplit(pane, on);
}

bool ElasticPanel::paneSplit(int pane) const
{
    checkPane(PaneSizeValue, pane);
    return m_layout->split(pane);
}

QRect ElasticPanel::splitHandle(int pane) const
{
    checkPane(PaneSizeValue, pane);
    return m_layout->handle(pane);
}

void ElasticPanel::mousePressEvent(QMouseEvent *event)
{
    const QPoint point = event->position().toPoint();
    const int pane = event->button() == Qt::LeftButton ? m_layout->handleAt(point) : -1;
    if (pane < 0) {
        QWidget::mousePressEvent(event);
        return;
    }
    m_dragPane = pane;
    m_dragOffset = point.y() - m_layout->handle(pane).top();
    event->accept();
}

void ElasticPanel::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint point = event->position().toPoint();
    if (m_dragPane < 0 || !(event->buttons() & Qt::LeftButton)) {
        m_dragPane = -1;
        if (m_layout->handleAt(point) >= 0)
            setCursor(Qt::SplitVCursor);
        else
            unsetCursor();
        QWidget::mouseMoveEvent(event);
        return;
    }
    const QWidget *widget = m_layout->widget(m_dragPane);
    const int bottom = widget->geometry().bottom() + 1;
    const int handleBottom = point.y() - m_dragOffset + ElasticLayout::handleHeight;
    // At least one pixel: a size of 0 would make the pane elastic again.
    const int height =
        std::clamp(bottom - handleBottom, 1, std::max(1, m_layout->roomFor(m_dragPane)));
    setPaneValue(PaneSizeValue, m_dragPane, int(std::lround(forms::pixelsToTwipsY(height))));
    event->accept();
}

void ElasticPanel::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_dragPane >= 0 && event->button() == Qt::LeftButton) {
        m_dragPane = -1;
        event->accept();
        return;
    }
    QWidget::mouseReleaseEvent(event);
}

void ElasticPanel::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    for (const auto &entry : m_layout->handles()) {
        const QRect place = entry.second;
        painter.fillRect(place, palette().button());
        painter.setPen(palette().mid().color());
        painter.drawLine(place.left(), place.center().y(), place.right(), place.center().y());
    }
}

void ElasticPanel::checkPane(int kind, int pane) const
{
    if ((kind != PaneSizeValue && kind != PaneStripValue) || pane < 0 || pane >= paneCount())
        throw platform::Error(QStringLiteral("Invalid property array index"));
}

int ElasticPanel::paneValue(int kind, int pane) const
{
    checkPane(kind, pane);
    return kind == PaneStripValue ? m_layout->strip(pane) : m_layout->size(pane);
}

void ElasticPanel::setPaneValue(int kind, int pane, int value)
{
    checkPane(kind, pane);
    if (kind == PaneStripValue)
        m_layout->setStrip(pane, value);
    else
        m_layout->setSize(pane, value);
}

} // namespace platform::widgets
