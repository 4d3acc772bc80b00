#pragma once

#include <QPoint>
#include <QString>

class QWidget;

// Mouse and key events sent to a widget as the window system would send them.
namespace testing_support {

// Press and release of the left button at a point of the widget (its centre by default).
void mouseClick(QWidget *widget, QPoint at = QPoint(-1, -1));
// Press, release, double click and release.
void mouseDoubleClick(QWidget *widget, QPoint at = QPoint(-1, -1));
// Press and release of the left button sent to the widget's window at the widget's point (its
// centre by default), as the window system sends a click: the widget under the point gets it,
// which is another one when something lies over this widget. The window must be shown.
void windowClick(QWidget *widget, QPoint at = QPoint(-1, -1));
// Press and release of a key, with the text it types.
void keyClick(QWidget *widget, int key, const QString &text = QString(),
              Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// Types each character of the text.
void keyClicks(QWidget *widget, const QString &text);

} // namespace testing_support
