#pragma once

#include <QImage>
#include <QString>

namespace platform::forms {

// The screen's mouse pointer as the forms runtime numbered it.
enum MousePointer : int {
    DefaultPointer = 0,
    SizeNeswPointer = 6, // the north-east / south-west sizing arrow
    Hourglass = 11,
};

void setMousePointer(int pointer);
int mousePointer();

// Lets pending events run (repaints, input) during long work.
void doEvents();

// The system clipboard.
void clipboardClear();
void clipboardSetText(const QString &text);
QString clipboardText();
void clipboardSetPicture(const QImage &picture);
QImage clipboardPicture();

} // namespace platform::forms
