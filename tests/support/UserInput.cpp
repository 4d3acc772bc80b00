#include "tests/support/UserInput.h"

#include <QPointer>
#include <QTest>
#include <QWidget>
#include <QWindow>

namespace testing_support {

namespace {

QPoint pointIn(QWidget *widget, QPoint at)
{
    return at == QPoint(-1, -1) ? widget->rect().center() : at;
}

} // namespace

void mouseClick(QWidget *widget, QPoint at)
{
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, pointIn(widget, at));
}

void windowClick(QWidget *widget, QPoint at)
{
    QWidget *window = widget->window();
    const QPoint point = widget->mapTo(window, pointIn(widget, at));
    QTest::mouseClick(window->windowHandle(), Qt::LeftButton, Qt::NoModifier, point);
}

void mouseDoubleClick(QWidget *widget, QPoint at)
{
    at = pointIn(widget, at);
    // The first click may close the widget (a dialog that a click accepts).
    const QPointer<QWidget> alive = widget;
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, at);
    if (alive)
        QTest::mouseDClick(widget, Qt::LeftButton, Qt::NoModifier, at);
    if (alive)
        QTest::mouseRelease(widget, Qt::LeftButton, Qt::NoModifier, at);
}

void keyClick(QWidget *widget, int key, const QString &text, Qt::KeyboardModifiers modifiers)
{
    if (text.isEmpty())
        QTest::keyClick(widget, Qt::Key(key), modifiers);
    else
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key(key), text, modifiers);
}

void keyClicks(QWidget *widget, const QString &text)
{
    QTest::keyClicks(widget, text);
}

} // namespace testing_support
