// The dimension options dialog shown for real on the display and worked with the mouse and
// the keyboard: the top quarter of the sales by a ranking chosen on the Options tab.
#include "Control/dimension-options/frmPareto.h"
#include "platform/widgets/TabStrip.h"
#include "platform/widgets/TreeView.h"
#include "tests/Control/core/GestureTestSupport.h"
#include "tests/support/UserInput.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTimer>

using platform::widgets::TreeView;
using testing_support::keyClick;
using testing_support::keyClicks;
using testing_support::mouseClick;

namespace {

void clickNode(TreeView *tree, const QString &key)
{
    QTreeWidgetItem *item = tree->node(key);
    ASSERT_NE(item, nullptr) << key.toStdString();
    tree->scrollToItem(item);
    mouseClick(tree->viewport(), tree->visualItemRect(item).center());
}

} // namespace

using ShownDimensionOptions = gesturetest::SalesControl;

TEST_F(ShownDimensionOptions, TheUserRanksTheQuartersWithMouseAndKeys)
{
    bool driven = false;
    QTimer::singleShot(0, [&driven] {
        auto *f = qobject_cast<frmPareto *>(QApplication::activeModalWidget());
        ASSERT_NE(f, nullptr);
        EXPECT_TRUE(f->isVisible());
        EXPECT_EQ(f->cmbDimension->currentText(), "Time");

        auto *tabs = f->TabOne1->findChild<QTabBar *>();
        mouseClick(tabs, tabs->tabRect(1).center());
        EXPECT_EQ(f->TabOne1->currentTab(), 1);
        EXPECT_FALSE(f->txtOpcionValor->isEnabled());

        f->cmbOpcionTipo->setFocus();
        keyClick(f->cmbOpcionTipo, Qt::Key_Down); // "Number of elements"
        EXPECT_EQ(f->cmbOpcionTipo->currentIndex(), 1);
        ASSERT_TRUE(f->txtOpcionValor->isEnabled());
        mouseClick(f->txtOpcionValor);
        keyClicks(f->txtOpcionValor, "2");

        clickNode(f->trvOpcionCampo, "[Measures]");
        keyClick(f->trvOpcionCampo, Qt::Key_Right); // expands: the measures are read
        clickNode(f->trvOpcionCampo, "[Measures].[Sales]");

        // The Empty tab, then "No".
        mouseClick(tabs, tabs->tabRect(3).center());
        EXPECT_EQ(f->TabOne1->currentTab(), 3);
        mouseClick(f->opcVacio[1], QPoint(6, f->opcVacio[1]->height() / 2));
        EXPECT_FALSE(f->opcVacio[0]->isChecked());

        mouseClick(f->cmdPareto);
        driven = true;
    });
    // Never left open by a failed step.
    QTimer::singleShot(30000, [] {
        if (QWidget *modal = QApplication::activeModalWidget())
            modal->close();
    });
    control.doAnalysis2("Time");
    EXPECT_TRUE(driven);
    EXPECT_EQ(boxes.count(), 0) << boxes.texts().join(u';').toStdString();
    EXPECT_EQ(control.drillDown(2),
              "NON EMPTY TopCount(" + gesturetest::yearSet + ", 2, [Measures].[Sales])");
    // Two header rows, then the ranking's two rows: the year 1997 and its best quarter.
    EXPECT_EQ(control.grdResults->rows(), 4);
}
