#include "platform/forms/AppInfo.h"
#include "platform/forms/Modal.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/Screen.h"
#include "tests/support/ScriptedModalRunner.h"
#include "tests/support/ScriptedMsgBox.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QInputDialog>

using namespace platform::forms;
using testing_support::ScriptedModalRunner;
using testing_support::ScriptedMsgBox;

TEST(MsgBox, SplitsStyleAndAnswersFromScript)
{
    ScriptedMsgBox boxes;
    boxes.answer({No, Cancel});
    EXPECT_EQ(msgBox("Save changes?", YesNo + Question, "Title"), No);
    EXPECT_EQ(msgBox("Go on?", YesNoCancel + Exclamation), Cancel);
    EXPECT_EQ(msgBox("Done"), Ok); // script ran out: the fallback answers

    ASSERT_EQ(boxes.count(), 3);
    EXPECT_EQ(boxes.shown()[0].buttons, YesNo);
    EXPECT_EQ(boxes.shown()[0].icon, Question);
    EXPECT_EQ(boxes.shown()[0].title, "Title");
    EXPECT_EQ(boxes.shown()[1].buttons, YesNoCancel);
    EXPECT_EQ(boxes.shown()[1].icon, Exclamation);
    EXPECT_EQ(boxes.shown()[1].title, appTitle()); // no title: the application's
    EXPECT_EQ(boxes.texts(), QStringList({"Save changes?", "Go on?", "Done"}));
}

TEST(MsgBox, DoubleRestoresThePreviousHandler)
{
    ScriptedMsgBox outer(Yes);
    {
        ScriptedMsgBox inner(No);
        EXPECT_EQ(msgBox("inner", YesNo), No);
    }
    EXPECT_EQ(msgBox("outer", YesNo), Yes);
    EXPECT_EQ(outer.texts(), QStringList({"outer"}));
}

TEST(Modal, InputBoxGoesThroughTheModalRunner)
{
    ScriptedModalRunner runner;
    runner.then([](QDialog &dialog) {
        auto *input = qobject_cast<QInputDialog *>(&dialog);
        EXPECT_NE(input, nullptr);
        EXPECT_EQ(input->labelText(), "Name?");
        EXPECT_EQ(input->textValue(), "old");
        input->setTextValue("typed");
        return int(QDialog::Accepted);
    });
    runner.then([](QDialog &) { return int(QDialog::Rejected); });

    EXPECT_EQ(inputBox("Name?", "Ask", "old"), "typed");
    EXPECT_EQ(inputBox("Again?"), QString()); // cancelled
    EXPECT_EQ(inputBox("Unscripted"), QString());
    EXPECT_EQ(runner.unexpected(), 1);
    EXPECT_EQ(runner.shown(), QStringList({"inputBox", "inputBox", "inputBox"}));
}

TEST(Screen, MousePointerReplacesAndRestores)
{
    EXPECT_EQ(mousePointer(), DefaultPointer);
    setMousePointer(Hourglass);
    EXPECT_EQ(mousePointer(), Hourglass);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    setMousePointer(SizeNeswPointer);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::SizeBDiagCursor);
    setMousePointer(DefaultPointer);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr); // no stacked overrides left
    setMousePointer(DefaultPointer);
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(Screen, ClipboardTextAndPicture)
{
    clipboardSetText("a\tb\r\n1\t2");
    EXPECT_EQ(clipboardText(), "a\tb\r\n1\t2");
    QImage picture(4, 3, QImage::Format_RGB32);
    picture.fill(Qt::red);
    clipboardSetPicture(picture);
    EXPECT_EQ(clipboardPicture().size(), QSize(4, 3));
}

TEST(AppInfo, VersionAndPaths)
{
    EXPECT_EQ(appVersion(), "2.1.10");
    EXPECT_FALSE(appPath().isEmpty());
    EXPECT_EQ(modulePath(reinterpret_cast<const void *>(&appVersion)), appPath());
}
