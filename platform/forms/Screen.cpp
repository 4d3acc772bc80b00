#include "platform/forms/Screen.h"

#include <QApplication>
#include <QClipboard>
#include <QCursor>

namespace platform::forms {

namespace {

int currentPointer = DefaultPointer;

} // namespace

void setMousePointer(int pointer)
{
    // One override at a time: a new pointer replaces the previous one, 0 removes it.
    if (currentPointer != DefaultPointer)
        QApplication::restoreOverrideCursor();
    currentPointer = DefaultPointer;
    switch (pointer) {
    case Hourglass:
        QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
        currentPointer = Hourglass;
        break;
    case SizeNeswPointer:
        QApplication::setOverrideCursor(QCursor(Qt::SizeBDiagCursor));
        currentPointer = SizeNeswPointer;
        break;
    default:
        break;
    }
}

int mousePointer()
{
    return currentPointer;
}

void doEvents()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
}

void clipboardClear()
{
    QGuiApplication::clipboard()->clear();
}

void clipboardSetText(const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
}

QString clipboardText()
{
    return QGuiApplication::clipboard()->text();
}

void clipboardSetPicture(const QImage &picture)
{
    QGuiApplication::clipboard()->setImage(picture);
}

QImage clipboardPicture()
{
    return QGuiApplication::clipboard()->image();
}

} // namespace platform::forms
