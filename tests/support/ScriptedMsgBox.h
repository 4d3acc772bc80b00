#pragma once

#include "platform/forms/MsgBox.h"

#include <QList>
#include <QString>

#include <deque>

namespace testing_support {

// Replaces message boxes while it lives: records every request and answers from a script of
// buttons (then `fallback` once the script runs out).
class ScriptedMsgBox
{
public:
    explicit ScriptedMsgBox(int fallback = platform::forms::Ok);
    ~ScriptedMsgBox();
    ScriptedMsgBox(const ScriptedMsgBox &) = delete;
    ScriptedMsgBox &operator=(const ScriptedMsgBox &) = delete;

    // Queues the answers of the next message boxes, in order.
    void answer(std::initializer_list<int> buttons);

    const QList<platform::forms::MsgBoxRequest> &shown() const { return m_shown; }
    QStringList texts() const;
    int count() const { return int(m_shown.size()); }
    void clear() { m_shown.clear(); }

private:
    QList<platform::forms::MsgBoxRequest> m_shown;
    std::deque<int> m_script;
    int m_fallback;
    platform::forms::MsgBoxHandler m_previous;
};

} // namespace testing_support
