#pragma once

#include "platform/forms/Modal.h"

#include <QDialog>
#include <QStringList>

#include <deque>
#include <functional>

namespace testing_support {

// Replaces the modal runner while it lives: each dialog shown is handed to the next scripted
// step, which fills fields and presses a button (or calls accept/reject). The step's answer is
// the dialog's result; a dialog with no step left is rejected and counted as unexpected.
class ScriptedModalRunner
{
public:
    using Step = std::function<int(QDialog &)>;

    ScriptedModalRunner();
    ~ScriptedModalRunner();
    ScriptedModalRunner(const ScriptedModalRunner &) = delete;
    ScriptedModalRunner &operator=(const ScriptedModalRunner &) = delete;

    void then(Step step) { m_steps.push_back(std::move(step)); }

    // Object names (or class names when unnamed) of the dialogs shown, in order.
    const QStringList &shown() const { return m_shown; }
    int unexpected() const { return m_unexpected; }
    bool done() const { return m_steps.empty(); }

    // Finds a child of the dialog by object name, or fails the test.
    template <typename T>
    static T *child(QDialog &dialog, const QString &name)
    {
        return dialog.findChild<T *>(name);
    }

    // Clicks the push button with this object name or text; answers whether one was found.
    static bool click(QDialog &dialog, const QString &nameOrText);

private:
    std::deque<Step> m_steps;
    QStringList m_shown;
    int m_unexpected = 0;
    platform::forms::ModalRunner m_previous;
};

} // namespace testing_support
