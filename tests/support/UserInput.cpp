#include "tests/support/UserInput.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWidget>

namespace testing_support {

namespace {

void sendMouse(QWidget *widget, QEvent::Type type, QPoint at)
{
    QMouseEvent event(type, QPointF(at), QPointF(widget->mapToGlobal(at)), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(widget, &event);
}

QPoint pointIn(QWidget *widget, QPoint at)
{
    return at == QPoint(-1, -1) ? widget->rect().center() : at;
}

} // namespace

void mouseClick(QWidget *widget, QPoint at)
{
    at = pointIn(widget, at);
    sendMouse(widget, QEvent::MouseButtonPress, at);
    sendMouse(widget, QEvent::MouseButtonRelease, at);
}

void mouseDoubleClick(QWidget *widget, QPoint at)
{
    at = pointIn(widget, at);
    mouseClick(widget, at);
    sendMouse(widget, QEvent::MouseButtonDblClick, at);
    sendMouse(widget, QEvent::MouseButtonRelease, at);
}

void keyClick(QWidget *widget, int key, const QString &text, Qt::KeyboardModifiers modifiers)
{
    QKeyEvent press(QEvent::KeyPress, key, modifiers, text);
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, modifiers, text);
    QApplication::sendEvent(widget, &release);
}

void keyClicks(QWidget *widget, const QString &text)
{
    for (const QChar c : text)
        keyClick(widget, c.toUpper().unicode(), QString(c));
}

} // namespace testing_support
