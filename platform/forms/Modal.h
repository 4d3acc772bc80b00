#pragma once

#include <QString>

#include <functional>

class QDialog;
class QWidget;

namespace platform::forms {

// Shows a dialog modally and answers its result code (QDialog::Accepted or Rejected). Callers
// read the dialog's fields afterwards, as they would after a blocking show.
int showModal(QDialog &dialog);

// Replaces the way dialogs are run (tests hand each dialog to a script that fills its fields and
// presses a button instead of blocking). An empty runner restores the real one. Answers the
// previous runner.
using ModalRunner = std::function<int(QDialog &)>;
ModalRunner setModalRunner(ModalRunner runner);

// Asks for one line of text; answers the text, or an empty text when the user cancels.
QString inputBox(const QString &prompt, const QString &title = QString(),
                 const QString &defaultText = QString());

} // namespace platform::forms
