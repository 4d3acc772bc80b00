// A view of a cube on a real OLAP server: Mondrian serving the sample cube over XMLA on
// loopback.
#include "Control/core/PelmoraC02.h"
#include "Control/settings/ViewFileFormat.h"
#include "platform/olap/Cellset.h"
#include "tests/support/ScriptedMsgBox.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>

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

} // namespace

TEST(ServerViews, AViewOfAServerCubeOpensAgainOnTheServer)
{
    const QString url = serverUrl();
    if (url.isEmpty())
        GTEST_SKIP() << "the XmlaServer fixture is not running (run the test through ctest)";
    ScriptedMsgBox boxes;
    QTemporaryDir dir;

    PelmoraC02 a;
    a.openParams = {url, "Pelmora Sample", "Sales", "", "", "", ""};
    ASSERT_TRUE(a.cubeConnect(false));
    ASSERT_GE(a.layoutState.NumDims, 3);
    // The third dimension nested on the rows, and a title of the user's.
    pelmora::OrderDim &nested = a.layoutState.orderDim[2];
    nested.lugar = pelmora::Rows;
    nested.orden = 1;
    nested.jerarquia = 0;
    for (int i = 3; i < a.layoutState.NumDims; ++i)
        a.layoutState.orderDim[size_t(i)].orden = i - 3;
    a.lblCubo->setText("Sales by server");
    ASSERT_TRUE(a.genSelect());
    ASSERT_EQ(boxes.texts(), QStringList());
    const QString view = QDir(dir.path()).filePath("server.vcg");
    ASSERT_TRUE(a.writeView(view));

    PelmoraC02 b;
    b.openParams.OpenView = view;
    ASSERT_TRUE(b.cubeConnect(false));
    EXPECT_EQ(boxes.texts(), QStringList());
    EXPECT_EQ(b.connState.connectionString, "Data source=" + url + ";Provider=MSOLAP");
    EXPECT_EQ(b.openParams.OpenDB, "Pelmora Sample");
    EXPECT_EQ(b.openParams.openCube, "Sales");
    EXPECT_EQ(b.lblCubo->text(), "Sales by server");
    EXPECT_EQ(b.queryState.currentMDX, a.queryState.currentMDX);
    ASSERT_TRUE(b.queryState.cellset);
    EXPECT_EQ(b.queryState.cellset->state(), platform::olap::Cellset::StateOpen);
    EXPECT_EQ(pelmora::viewFileText(b.viewFileOf()), pelmora::viewFileText(a.viewFileOf()));

    // A cube the server lacks: the view does not open, with no message of its own.
    pelmora::ViewFile v = a.viewFileOf();
    v.openParams.openCube = "Budget";
    const QString other = QDir(dir.path()).filePath("budget.vcg");
    QFile file(other);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(pelmora::viewFileText(v));
    file.close();
    PelmoraC02 c;
    c.openParams.OpenView = other;
    EXPECT_FALSE(c.cubeConnect(false));
    EXPECT_EQ(boxes.texts(), QStringList());
}
