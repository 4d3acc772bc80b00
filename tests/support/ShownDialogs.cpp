#include "tests/support/ShownDialogs.h"
#include "tests/support/UserInput.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QWidget>

#include <memory>

namespace testing_support {

namespace {

QWidget *focusOf(QWidget &window)
{
    QWidget *focus = window.focusWidget();
    return focus ? focus : &window;
}

} // namespace

void whenShown(std::function<void(QWidget &window)> drive, int timeoutMs)
{
    const QPointer<QWidget> before = QApplication::activeModalWidget();
    auto *timer = new QTimer;
    auto clock = std::make_shared<QElapsedTimer>();
    clock->start();
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [=, drive = std::move(drive)]() {
        QWidget *modal = QApplication::activeModalWidget();
        if (!modal || modal == before || !modal->isVisible()) {
            if (clock->elapsed() > timeoutMs) {
                timer->stop();
                timer->deleteLater();
                ADD_FAILURE() << "no dialog was shown";
            }
            return;
        }
        timer->stop();
        timer->deleteLater();
        const QPointer<QWidget> window = modal;
        EXPECT_TRUE(QTest::qWaitForWindowExposed(modal));
        // What a window manager does with a new dialog: it gets the keyboard.
        modal->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(modal));
        if (window)
            drive(*window);
        // A button pressed by its key clicks a moment later.
        (void)QTest::qWaitFor([&window] { return !window || !window->isVisible(); }, 2000);
        if (window && window->isVisible()) {
            ADD_FAILURE() << "the dialog " << window->objectName().toStdString()
                          << " is still open";
            if (auto *dialog = qobject_cast<QDialog *>(window.data()))
                dialog->reject();
            else
                window->close();
        }
    });
    timer->start();
}

void clickOn(QWidget *widget)
{
    ASSERT_TRUE(widget);
    mouseClick(widget);
}

void doubleClickAt(QWidget *widget, QPoint point)
{
    ASSERT_TRUE(widget);
    mouseDoubleClick(widget, point);
}

void typeInto(QWidget &window, const QString &text)
{
    QTest::keyClicks(focusOf(window), text);
}

void pressKey(QWidget &window, int key, int modifiers)
{
    QTest::keyClick(focusOf(window), Qt::Key(key), Qt::KeyboardModifiers(modifiers));
}

} // namespace testing_support
