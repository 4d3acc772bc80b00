#include "tests/support/ScriptedModalRunner.h"

#include <QAbstractButton>

namespace testing_support {

ScriptedModalRunner::ScriptedModalRunner()
{
    m_previous = platform::forms::setModalRunner([this](QDialog &dialog) {
        m_shown.append(dialog.objectName().isEmpty()
                           ? QString::fromLatin1(dialog.metaObject()->className())
                           : dialog.objectName());
        if (m_steps.empty()) {
            ++m_unexpected;
            dialog.reject();
            return int(QDialog::Rejected);
        }
        Step step = std::move(m_steps.front());
        m_steps.pop_front();
        // A step that closes the dialog itself (a button's click handler calling accept or
        // hide) answers -1 to mean "take the dialog's own result".
        const int answer = step(dialog);
        return answer < 0 ? dialog.result() : answer;
    });
}

ScriptedModalRunner::~ScriptedModalRunner()
{
    platform::forms::setModalRunner(std::move(m_previous));
}

bool ScriptedModalRunner::click(QDialog &dialog, const QString &nameOrText)
{
    const auto buttons = dialog.findChildren<QAbstractButton *>();
    for (QAbstractButton *button : buttons) {
        if (button->objectName() == nameOrText || button->text() == nameOrText) {
            button->click();
            return true;
        }
    }
    return false;
}

} // namespace testing_support
