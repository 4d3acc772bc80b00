// The dimension options dialog shown for real on the display and worked with the mouse and
// the keyboard: the top quarter of the sales by a ranking chosen on the Options tab.
#include "Control/dimension-options/frmPareto.h"
#include "platform/widgets/TabStrip.h"
#include "platform/widgets/TreeView.h"
#include "tests/Control/core/GestureTestSupport.h"
#include "tests/support/UserInput.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QListWidget>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTest>
#include <QTimer>

using platform::widgets::TreeView;
using testing_support::keyClick;
using testing_support::keyClicks;
using testing_support::mouseClick;
using testing_support::windowClick;

namespace {

void clickNode(TreeView *tree, const QString &key)
{
    QTreeWidgetItem *item = tree->node(key);
    ASSERT_NE(item, nullptr) << key.toStdString();
    tree->scrollToItem(item);
    mouseClick(tree->viewport(), tree->visualItemRect(item).center());
}

// Opens a list with a click through the window and picks an entry with a click in its popup;
// the list then has the focus.
void chooseByMouse(QComboBox *list, int entry)
{
    windowClick(list);
    QAbstractItemView *popup = list->view();
    ASSERT_TRUE(QTest::qWaitFor([popup] { return popup->isVisible(); }, 2000))
        << list->objectName().toStdString() << ": the click did not open the list";
    ASSERT_TRUE(QTest::qWaitForWindowExposed(popup->window()));
    const QRect item = popup->visualRect(list->model()->index(entry, 0));
    windowClick(popup->viewport(), item.center());
    EXPECT_TRUE(QTest::qWaitFor([popup] { return !popup->isVisible(); }, 2000));
    EXPECT_EQ(list->currentIndex(), entry) << list->objectName().toStdString();
    EXPECT_EQ(QApplication::focusWidget(), list);
}

void keepPicture(QWidget &form, const QString &name)
{
    QDir dir(QStringLiteral(PELMORA_TEST_PICTURES));
    dir.mkpath(QStringLiteral("dimension-options"));
    form.grab().save(dir.filePath(QStringLiteral("dimension-options/") + name + ".png"));
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

// The ranking kind and the order kind are chosen with the mouse: each list opens on a click,
// takes the focus and keeps the keys, and the dimension being edited stays the same.
TEST_F(ShownDimensionOptions, TheKindListsOpenOnAClickAndKeepTheKeys)
{
    bool driven = false;
    QTimer::singleShot(0, [&driven] {
        auto *f = qobject_cast<frmPareto *>(QApplication::activeModalWidget());
        ASSERT_NE(f, nullptr);
        ASSERT_TRUE(QTest::qWaitForWindowExposed(f));
        f->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(f));
        EXPECT_EQ(f->cmbDimension->currentText(), "Time");
        auto *tabs = f->TabOne1->findChild<QTabBar *>();

        struct KindList
        {
            int tab;
            QComboBox *list;
            int entry;        // chosen with the mouse
            QWidget *enabled; // one of the controls the choice enables
            int key;          // pressed afterwards
            const char *shown;
            const char *picture;
        };
        const KindList kinds[] = {
            {1, f->cmbOpcionTipo, 1, f->txtOpcionValor, Qt::Key_Down, "Sum of values",
             "options-tab"},
            {2, f->cmbOrdenTipo, 4, f->lstOrdenCampos, Qt::Key_Up, "Ascending by value",
             "order-tab"},
        };
        for (const KindList &k : kinds) {
            SCOPED_TRACE(k.list->objectName().toStdString());
            windowClick(tabs, tabs->tabRect(k.tab).center());
            ASSERT_EQ(f->TabOne1->currentTab(), k.tab);
            chooseByMouse(k.list, k.entry);
            EXPECT_TRUE(k.enabled->isEnabled());
            // The next key goes to the kind list, not to the dimension list.
            keyClick(QApplication::focusWidget(), k.key);
            EXPECT_EQ(k.list->currentText(), k.shown);
            EXPECT_EQ(f->cmbDimension->currentText(), "Time");
            keepPicture(*f, k.picture);
        }

        windowClick(f->cmdCancelar);
        driven = true;
    });
    QTimer::singleShot(30000, [] {
        if (QWidget *modal = QApplication::activeModalWidget())
            modal->close();
    });
    const QStringList before = gesturetest::layoutOf(control);
    control.doAnalysis2("Time");
    EXPECT_TRUE(driven);
    EXPECT_EQ(gesturetest::layoutOf(control), before); // cancelled
    EXPECT_EQ(boxes.count(), 0) << boxes.texts().join(u';').toStdString();
}
