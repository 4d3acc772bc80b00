#include "Control/core/ClickRelay.h"

#include <QEvent>
#include <QMouseEvent>
#include <QWidget>

namespace pelmora {

namespace {

class ClickRelay : public QObject
{
public:
    ClickRelay(QWidget *widget, std::function<void()> click, std::function<void()> doubleClick)
        : QObject(widget), m_widget(widget), m_click(std::move(click)),
          m_doubleClick(std::move(doubleClick))
    {
        widget->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (watched != m_widget)
            return false;
        switch (event->type()) {
        case QEvent::MouseButtonPress:
            if (static_cast<QMouseEvent *>(event)->button() != Qt::LeftButton)
                return false;
            // A press always follows the release that ends a double click; when that release
            // went elsewhere (the double click opened a dialog), it is no longer awaited.
            m_afterDoubleClick = false;
            m_pressed = true;
            return true;
        case QEvent::MouseButtonRelease: {
            const auto *mouse = static_cast<QMouseEvent *>(event);
            if (mouse->button() != Qt::LeftButton)
                return false;
            const bool pressed = m_pressed;
            m_pressed = false;
            if (m_afterDoubleClick) {
                m_afterDoubleClick = false;
                return true;
            }
            if (pressed && m_widget->rect().contains(mouse->position().toPoint()) && m_click)
                m_click();
            return true;
        }
        case QEvent::MouseButtonDblClick:
            if (static_cast<QMouseEvent *>(event)->button() != Qt::LeftButton)
                return false;
            m_pressed = true;
            m_afterDoubleClick = true;
            if (m_doubleClick)
                m_doubleClick();
            return true;
        default:
            return false;
        }
    }

private:
    QWidget *m_widget;
    std::function<void()> m_click;
    std::function<void()> m_doubleClick;
    bool m_pressed = false;
    bool m_afterDoubleClick = false;
};

} // namespace

void relayClicks(QWidget *widget, std::function<void()> click, std::function<void()> doubleClick)
{
    new ClickRelay(widget, std::move(click), std::move(doubleClick));
}

} // namespace pelmora
