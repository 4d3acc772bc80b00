#pragma once

#include <QPoint>
#include <QString>

#include <functional>

class QWidget;

// Dialogs shown for real: the dialog's own modal loop runs on the display, and the test drives
// the shown window with the mouse and the keyboard as a user would (no scripted runner).
namespace testing_support {

// Once a modal window other than the one active now is shown, exposed and active, runs `drive`
// on it inside its modal loop. `drive` must close it: a window still open two seconds later
// fails the test and is closed, and so does a window that never appears within `timeoutMs`.
// A drive may itself call whenShown before the action that opens a nested dialog.
void whenShown(std::function<void(QWidget &window)> drive, int timeoutMs = 10000);

// A left click at the centre of `widget`.
void clickOn(QWidget *widget);
// A double click at a point of `widget`, with the events a real one brings: press, release,
// double click, release.
void doubleClickAt(QWidget *widget, QPoint point);

// Keys typed into the window's focus widget ("" types nothing); key is then pressed there.
void typeInto(QWidget &window, const QString &text);
void pressKey(QWidget &window, int key, int modifiers = 0);

} // namespace testing_support
