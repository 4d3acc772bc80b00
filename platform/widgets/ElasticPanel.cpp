#include "platform/widgets/ElasticPanel.h"

#include "platform/forms/ScreenTwips.h"
#include "platform/runtime/Error.h"

#include <QLayout>
#include <QList>
#include <QWidgetItem>

#include <algorithm>

namespace platform::widgets {

// The layout behind the panel: one item per pane with its size setting.
class ElasticLayout : public QLayout
{
public:
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
        m_panes.append(Pane{item, ElasticPanel::ElasticSize});
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
        int elastic = 0;
        int claimed = 0;
        for (const Pane &pane : std::as_const(m_panes)) {
            if (pane.item->isEmpty())
                continue;
            if (pane.size == ElasticPanel::ElasticSize)
                ++elastic;
            else
                claimed += wanted(pane);
        }
        const int share = elastic > 0 ? std::max(0, rect.height() - claimed) / elastic : 0;
        int extra = elastic > 0 ? std::max(0, rect.height() - claimed) % elastic : 0;
        int top = rect.top();
        int remaining = rect.height();
        for (const Pane &pane : std::as_const(m_panes)) {
            if (pane.item->isEmpty())
                continue;
            int height = share;
            if (pane.size != ElasticPanel::ElasticSize) {
                height = wanted(pane);
            } else if (extra > 0) {
                ++height;
                --extra;
            }
            height = std::clamp(height, 0, std::max(0, remaining));
            pane.item->setGeometry(QRect(rect.left(), top, rect.width(), height));
            top += height;
            remaining -= height;
        }
    }

private:
    struct Pane
    {
        QLayoutItem *item;
        int size;
    };

    static int wanted(const Pane &pane)
    {
        if (pane.size > 0)
            return forms::twipsToPixelsY(pane.size);
        return std::max(0, pane.item->sizeHint().height());
    }

    QList<Pane> m_panes;
};

ElasticPanel::ElasticPanel(QWidget *parent) : QWidget(parent), m_layout(new ElasticLayout(this)) {}

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

void ElasticPanel::checkPane(int kind, int pane) const
{
    if (kind != PaneSizeValue || pane < 0 || pane >= paneCount())
        throw platform::Error(QStringLiteral("Invalid property array index"));
}

int ElasticPanel::paneValue(int kind, int pane) const
{
    checkPane(kind, pane);
    return m_layout->size(pane);
}

void ElasticPanel::setPaneValue(int kind, int pane, int value)
{
    checkPane(kind, pane);
    m_layout->setSize(pane, value);
}

} // namespace platform::widgets
