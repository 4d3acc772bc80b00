#pragma once

#include "platform/chart/ChartModel.h"

#include <QMetaObject>
#include <QObject>

namespace platform::chart {

// When a chart widget redraws its model: each change marks the drawing stale and asks for one
// redraw once control returns to the event loop; while batched, changes wait, and ending the
// batch draws them all at once. refresh() brings a stale drawing up to date at once.
class DeferredRedraw : public ChangeSink
{
public:
    bool isBatched() const { return m_batched; }
    void setIsBatched(bool on)
    {
        m_batched = on;
        if (!on)
            refresh();
    }

    // Draws pending changes now, batched or not.
    void refresh()
    {
        if (!m_stale)
            return;
        m_stale = false;
        redraw();
    }

protected:
    // `context` is the widget: a redraw asked for is dropped when it is destroyed first.
    DeferredRedraw(QObject *context, bool stale) : m_context(context), m_stale(stale) {}
    ~DeferredRedraw() = default;

    // Draws the model as it is.
    virtual void redraw() = 0;

    void modelChanged() override
    {
        m_stale = true;
        if (m_batched || m_scheduled)
            return;
        m_scheduled = true;
        QMetaObject::invokeMethod(
            m_context,
            [this] {
                m_scheduled = false;
                if (!m_batched)
                    refresh();
            },
            Qt::QueuedConnection);
    }

private:
    QObject *m_context;
    bool m_batched = false;
    bool m_stale;
    bool m_scheduled = false;
};

} // namespace platform::chart
