#pragma once

#include <QString>

#include <functional>

class QWidget;

namespace platform::forms {

// Button sets, icons and answers, with the forms runtime's numeric values so that settings and
// callers that pass numbers keep working.
enum MsgBoxStyle : int {
    OkOnly = 0,
    OkCancel = 1,
    YesNoCancel = 3,
    YesNo = 4,
    Critical = 16,
    Question = 32,
    Exclamation = 48,
    Information = 64,
};

enum MsgBoxResult : int { Ok = 1, Cancel = 2, Yes = 6, No = 7 };

struct MsgBoxRequest
{
    QString text;
    int buttons = OkOnly; // OkOnly, OkCancel, YesNoCancel or YesNo
    int icon = 0;         // 0, Critical, Question, Exclamation or Information
    QString title;        // the application title when empty
};

// Shows a message box and answers the button pressed. `style` is buttons + icon.
int msgBox(const QString &text, int style = OkOnly, const QString &title = QString());

// Replaces the way message boxes are shown (tests answer from a script). An empty handler
// restores the real dialog. Answers the previous handler.
using MsgBoxHandler = std::function<int(const MsgBoxRequest &)>;
MsgBoxHandler setMsgBoxHandler(MsgBoxHandler handler);

// The button sets of a style as separate parts.
int msgBoxButtons(int style);
int msgBoxIcon(int style);

} // namespace platform::forms
