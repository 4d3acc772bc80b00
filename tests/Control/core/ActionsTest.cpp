#include "Control/core/ActionKeywords.h"
#include "Control/core/PelmoraC02.h"
#include "platform/runtime/Error.h"
#include "tests/support/ScriptedModalRunner.h"
#include "tests/support/ScriptedMsgBox.h"

#include <gtest/gtest.h>

using pelmora::ActionKeyword;
using pelmora::actionKeywordCount;
using pelmora::findActionKeyword;
using testing_support::ScriptedModalRunner;
using testing_support::ScriptedMsgBox;

TEST(ActionKeywords, MatchInAnyLetterCaseWithoutTrimming)
{
    const struct
    {
        QString action;
        std::optional<ActionKeyword> expected;
    } cases[] = {
        {"showlayout", ActionKeyword::ShowLayout},
        {"ShowLayout", ActionKeyword::ShowLayout},
        {"CONECTACUBONI", ActionKeyword::ConectaCuboNI},
        {"CambiaTitulo", ActionKeyword::CambiaTitulo},
        {"openOlap", ActionKeyword::OpenOlap},
        {"openParam", ActionKeyword::OpenParam},
        {" SAVEVIEW", std::nullopt},
        {"SAVEVIEW ", std::nullopt},
        {"PRINT", std::nullopt},
        {"", std::nullopt},
        {"READ REGISTRY", std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(findActionKeyword(c.action), c.expected) << c.action.toStdString();

    // Every keyword of the table names its own entry.
    for (int i = 0; i < actionKeywordCount; ++i) {
        const QString text = pelmora::actionKeywordText(ActionKeyword(i));
        EXPECT_FALSE(text.isEmpty()) << i;
        EXPECT_EQ(findActionKeyword(text.toLower()), ActionKeyword(i)) << text.toStdString();
    }
}

TEST(ActionTable, RunsTheBoundProcedureAndAnswersFalseWithoutOne)
{
    pelmora::ActionTable table;
    EXPECT_FALSE(table.run(ActionKeyword::SaveView));
    table.bind(ActionKeyword::SaveView, [] { return true; });
    EXPECT_TRUE(table.run(ActionKeyword::SaveView));
    EXPECT_FALSE(table.run(ActionKeyword::PrintView));
}

// A control whose command procedures record their keyword and answer `answer`.
class DoActionTest : public ::testing::Test
{
protected:
    void record(ActionKeyword keyword, bool answer = true)
    {
        control.actionTable.bind(keyword, [this, keyword, answer] {
            ran << pelmora::actionKeywordText(keyword);
            return answer;
        });
    }

    ScriptedMsgBox boxes;
    ScriptedModalRunner dialogs; // a dialog that a command shows is cancelled
    PelmoraC02 control;
    QStringList ran;
};

TEST_F(DoActionTest, ReadsTheStoredSettingsBeforeTheFirstCommandOnly)
{
    record(ActionKeyword::ReadRegistry, false); // its result is not looked at
    record(ActionKeyword::ShowLayout);

    EXPECT_TRUE(control.doAction("showlayout"));
    EXPECT_EQ(ran, QStringList({"READREGISTRY", "SHOWLAYOUT"}));
    ran.clear();
    EXPECT_TRUE(control.doAction("ShowLayout"));
    EXPECT_EQ(ran, QStringList({"SHOWLAYOUT"}));
    ran.clear();
    EXPECT_FALSE(control.doAction("READREGISTRY")); // asked for: read again
    EXPECT_EQ(ran, QStringList({"READREGISTRY"}));
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(DoActionTest, UnknownOrEmptyActionsAnswerFalseAfterTheFirstRead)
{
    record(ActionKeyword::ReadRegistry);
    for (int i = 0; i < actionKeywordCount; ++i) {
        if (ActionKeyword(i) != ActionKeyword::ReadRegistry)
            record(ActionKeyword(i));
    }
    EXPECT_FALSE(control.doAction(""));
    EXPECT_FALSE(control.doAction("PRINT"));
    EXPECT_FALSE(control.doAction(" printView"));
    EXPECT_EQ(ran, QStringList({"READREGISTRY"}));
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(DoActionTest, EveryKeywordReachesItsOwnProcedure)
{
    for (int i = 0; i < actionKeywordCount; ++i)
        record(ActionKeyword(i));
    control.doAction("STARTLOG"); // the first read out of the way
    for (int i = 0; i < actionKeywordCount; ++i) {
        ran.clear();
        const QString keyword = pelmora::actionKeywordText(ActionKeyword(i));
        EXPECT_TRUE(control.doAction(keyword.toLower()));
        EXPECT_EQ(ran, QStringList{keyword});
    }
}

TEST_F(DoActionTest, CommandsWhoseProceduresAreMissingAnswerFalseAndDoNothing)
{
    for (int i = 0; i < actionKeywordCount; ++i) {
        const ActionKeyword keyword = ActionKeyword(i);
        // The stored defaults are built (tests/Control/settings).
        if (keyword >= ActionKeyword::WriteRegistry && keyword <= ActionKeyword::ReadRegistry)
            continue;
        if (keyword == ActionKeyword::StartLog || keyword == ActionKeyword::EndLog)
            continue;
        // Built, and tested with the charts.
        if (keyword == ActionKeyword::ShowChart2d || keyword == ActionKeyword::ShowChart3d)
            continue;
        // Built, and tested with the dimension options.
        if (keyword == ActionKeyword::DimensionOptions)
            continue;
        // Built, and tested with the presentation (the format dialog).
        if (keyword == ActionKeyword::DoFormat)
            continue;
        // Built, and tested with the view actions.
        if (keyword == ActionKeyword::CopyView || keyword == ActionKeyword::DirectMDX
            || keyword == ActionKeyword::ShowElements || keyword == ActionKeyword::ShowLayout
            || keyword == ActionKeyword::AboutBox || keyword == ActionKeyword::Splash
            || keyword == ActionKeyword::CambiaTitulo)
            continue;
        EXPECT_FALSE(control.doAction(pelmora::actionKeywordText(keyword)))
            << pelmora::actionKeywordText(keyword).toStdString();
    }
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(DoActionTest, StartAndEndLogSetTheFlag)
{
    EXPECT_EQ(control.controlFlags.logging, 0);
    EXPECT_TRUE(control.doAction("startlog"));
    EXPECT_EQ(control.controlFlags.logging, 1);
    EXPECT_TRUE(control.doAction("StartLog"));
    EXPECT_EQ(control.controlFlags.logging, 1);
    EXPECT_TRUE(control.doAction("ENDLOG"));
    EXPECT_EQ(control.controlFlags.logging, 0);
}

TEST_F(DoActionTest, OpenOlapForgetsTheSourceButKeepsDatabaseAndCube)
{
    control.doAction("ENDLOG"); // the first read out of the way
    pelmora::OpenParams &p = control.openParams;
    p = {"olap1", "FoodMart", "Sales", "/c/sales.cub", "http://h/s.cub", "/v/a.vcg", "SELECT"};

    // The asking dialog is cancelled: the command answers False after clearing.
    EXPECT_FALSE(control.doAction("OpenOlap"));
    EXPECT_EQ(p.OpenServer, "");
    EXPECT_EQ(p.OpenFile, "");
    EXPECT_EQ(p.OpenWWWDir, "");
    EXPECT_EQ(p.OpenView, "");
    EXPECT_EQ(p.OpenDB, "FoodMart");
    EXPECT_EQ(p.openCube, "Sales");
    EXPECT_EQ(p.MDX, "SELECT");

    // OPENPARAM connects with what is set (a file that does not exist), clearing nothing.
    p.OpenFile = "/c/sales.cub";
    EXPECT_FALSE(control.doAction("openParam"));
    EXPECT_EQ(p.OpenFile, "/c/sales.cub");
    EXPECT_EQ(dialogs.shown(), QStringList({"frmOpen"}));
}

TEST_F(DoActionTest, AnErrorInACommandIsReportedAndAnswersFalse)
{
    control.actionTable.bind(ActionKeyword::DoFormat,
                             []() -> bool { throw platform::Error("Type mismatch"); });
    EXPECT_FALSE(control.doAction("doFormat"));
    EXPECT_EQ(boxes.texts(), QStringList({"doAction: Type mismatch"}));
    EXPECT_EQ(boxes.shown()[0].buttons, platform::forms::OkOnly);
}
