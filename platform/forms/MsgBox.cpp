#include "platform/forms/MsgBox.h"

#include "platform/forms/AppInfo.h"

#include <QApplication>
#include <QMessageBox>

namespace platform::forms {

namespace {

MsgBoxHandler &handlerSlot()
{
    static MsgBoxHandler handler;
    return handler;
}

int showReal(const MsgBoxRequest &request)
{
    QMessageBox box(QApplication::activeWindow());
    box.setText(request.text);
    box.setWindowTitle(request.title);
    switch (request.icon) {
    case Critical:
        box.setIcon(QMessageBox::Critical);
        break;
    case Question:
        box.setIcon(QMessageBox::Question);
        break;
    case Exclamation:
        box.setIcon(QMessageBox::Warning);
        break;
    case Information:
        box.setIcon(QMessageBox::Information);
        break;
    default:
        box.setIcon(QMessageBox::NoIcon);
        break;
    }
    switch (request.buttons) {
    case OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    case YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    case YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    default:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    }
    switch (box.exec()) {
    case QMessageBox::Cancel:
        return Cancel;
    case QMessageBox::Yes:
        return Yes;
    case QMessageBox::No:
        return No;
    default:
        return Ok;
    }
}

} // namespace

int msgBoxButtons(int style)
{
    return style & 7;
}

int msgBoxIcon(int style)
{
    return style & 0x70;
}

int msgBox(const QString &text, int style, const QString &title)
{
    MsgBoxRequest request{text, msgBoxButtons(style), msgBoxIcon(style),
                          title.isEmpty() ? appTitle() : title};
    const MsgBoxHandler &handler = handlerSlot();
    return handler ? handler(request) : showReal(request);
}

MsgBoxHandler setMsgBoxHandler(MsgBoxHandler handler)
{
    MsgBoxHandler previous = std::move(handlerSlot());
    handlerSlot() = std::move(handler);
    return previous;
}

} // namespace platform::forms
