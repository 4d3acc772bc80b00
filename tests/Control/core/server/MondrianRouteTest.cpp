// A cube on a real OLAP server: Mondrian serving the sample cube over XMLA on loopback.
#include "Control/core/PelmoraC02.h"
#include "platform/olap/Cellset.h"
#include "tests/support/ScriptedModalRunner.h"
#include "tests/support/ScriptedMsgBox.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

using testing_support::ScriptedModalRunner;
using testing_support::ScriptedMsgBox;

namespace {

// The endpoint of the server the fixture started; empty when it did not run.
QString serverUrl()
{
    QFile file(QStringLiteral(PELMORA_XMLA_URL_FILE));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll()).trimmed();
}

class MondrianRoute : public ::testing::Test
{
protected:
    void SetUp() override
    {
        url = serverUrl();
        if (url.isEmpty())
            GTEST_SKIP() << "the XmlaServer fixture is not running (run the test through ctest)";
    }

    bool cellsetOpen(const PelmoraC02 &control) const
    {
        return control.queryState.cellset
               && control.queryState.cellset->state() == platform::olap::Cellset::StateOpen;
    }

    QString url;
    ScriptedMsgBox boxes;
    ScriptedModalRunner runner;
};

} // namespace

TEST_F(MondrianRoute, AServerCubeOpensAndItsFirstStatementRuns)
{
    PelmoraC02 control;
    control.openParams = {url, "Pelmora Sample", "Sales", "", "", "", ""};
    ASSERT_TRUE(control.cubeConnect(false));
    EXPECT_EQ(boxes.texts(), QStringList());
    EXPECT_EQ(control.connState.connectionString, "Data source=" + url + ";Provider=MSOLAP");
    EXPECT_EQ(control.lblCubo->text(), "Sales");
    EXPECT_TRUE(control.connState.connected);
    ASSERT_GE(control.layoutState.NumDims, 3);
    EXPECT_EQ(control.layoutState.orderDim[0].nombre, "Measures");
    EXPECT_EQ(control.layoutState.orderDim[0].tipo, 2);
    EXPECT_TRUE(control.queryState.currentMDX.startsWith("SELECT \r\n"));
    EXPECT_TRUE(cellsetOpen(control));

    // The cube's name is compared exactly, though the server itself ignores letter case.
    PelmoraC02 other;
    other.openParams = {url, "Pelmora Sample", "sales", "", "", "", ""};
    EXPECT_FALSE(other.cubeConnect(false));
    EXPECT_EQ(boxes.count(), 0);

    // A database the server lacks: its first one.
    PelmoraC02 third;
    third.openParams = {url, "Elsewhere", "Sales", "", "", "", ""};
    EXPECT_TRUE(third.cubeConnect(false));
    EXPECT_TRUE(cellsetOpen(third));
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(MondrianRoute, TheDialogsReachTheServer)
{
    QStringList databases;
    QStringList cubes;
    runner.then([](QDialog &dialog) {
        ScriptedModalRunner::click(dialog, "cmdConexion"); // frmOpen: a remote cube
        return -1;
    });
    runner.then([&](QDialog &dialog) {
        dialog.findChild<QLineEdit *>("txtServer")->setText(url);
        ScriptedModalRunner::click(dialog, "cmdConexion");
        return -1;
    });
    runner.then([&](QDialog &dialog) {
        auto *list = dialog.findChild<QListWidget *>("lstDb");
        for (int i = 0; i < list->count(); ++i)
            databases << list->item(i)->text();
        list->setCurrentRow(0);
        ScriptedModalRunner::click(dialog, "cmdDb");
        return -1;
    });
    runner.then([&](QDialog &dialog) {
        auto *list = dialog.findChild<QListWidget *>("lstCubo");
        for (int i = 0; i < list->count(); ++i)
            cubes << list->item(i)->text();
        list->setCurrentRow(0);
        ScriptedModalRunner::click(dialog, "cmdCubo");
        return -1;
    });
    PelmoraC02 control;
    EXPECT_TRUE(control.doAction("OPENOLAP"));
    EXPECT_EQ(runner.shown(), QStringList({"frmOpen", "frmConexion", "frmDb", "frmCubo"}));
    EXPECT_EQ(databases, QStringList({"Pelmora Sample"}));
    EXPECT_EQ(cubes, QStringList({"Sales"}));
    EXPECT_EQ(control.openParams.OpenServer, url);
    EXPECT_EQ(control.openParams.OpenDB, "Pelmora Sample");
    EXPECT_EQ(control.openParams.openCube, "Sales");
    EXPECT_TRUE(cellsetOpen(control));
    EXPECT_EQ(boxes.texts(), QStringList());
}
