#include "platform/forms/Modal.h"

#include "platform/forms/AppInfo.h"

#include <QInputDialog>

namespace platform::forms {

namespace {

ModalRunner &runnerSlot()
{
    static ModalRunner runner;
    return runner;
}

} // namespace

int showModal(QDialog &dialog)
{
    const ModalRunner &runner = runnerSlot();
    if (runner)
        return runner(dialog);
    dialog.setModal(true);
    return dialog.exec();
}

ModalRunner setModalRunner(ModalRunner runner)
{
    ModalRunner previous = std::move(runnerSlot());
    runnerSlot() = std::move(runner);
    return previous;
}

QString inputBox(const QString &prompt, const QString &title, const QString &defaultText)
{
    QInputDialog dialog;
    dialog.setObjectName(QStringLiteral("inputBox"));
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setLabelText(prompt);
    dialog.setWindowTitle(title.isEmpty() ? appTitle() : title);
    dialog.setTextValue(defaultText);
    if (showModal(dialog) != QDialog::Accepted)
        return QString();
    return dialog.textValue();
}

} // namespace platform::forms
