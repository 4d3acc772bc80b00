#pragma once

#include <QString>

#include <initializer_list>

class QHBoxLayout;
class QPushButton;
class QWidget;

// Pieces the control's small dialogs share.
namespace pelmora {

// A push button with an object name that never becomes the default on focus.
QPushButton *formButton(QWidget *parent, const char *name, const QString &text);

// A row of buttons at the right edge of a form, in the order given.
QHBoxLayout *buttonRow(std::initializer_list<QPushButton *> buttons);

// Sizes the form to its contents and puts it in the middle of the screen: left = (screen width
// - form width) / 2, top likewise.
void centreOnScreen(QWidget &form);

} // namespace pelmora
