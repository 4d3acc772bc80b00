#include "tests/support/ScriptedMsgBox.h"

namespace testing_support {

ScriptedMsgBox::ScriptedMsgBox(int fallback) : m_fallback(fallback)
{
    m_previous =
        platform::forms::setMsgBoxHandler([this](const platform::forms::MsgBoxRequest &request) {
            m_shown.append(request);
            if (m_script.empty())
                return m_fallback;
            const int button = m_script.front();
            m_script.pop_front();
            return button;
        });
}

ScriptedMsgBox::~ScriptedMsgBox()
{
    platform::forms::setMsgBoxHandler(std::move(m_previous));
}

void ScriptedMsgBox::answer(std::initializer_list<int> buttons)
{
    m_script.insert(m_script.end(), buttons.begin(), buttons.end());
}

QStringList ScriptedMsgBox::texts() const
{
    QStringList texts;
    for (const auto &request : m_shown)
        texts.append(request.text);
    return texts;
}

} // namespace testing_support
