// The format dialog shown for real on the display and worked with the mouse and the keys: a
// bracketed number format, threshold bands and subtotal colours for the sales view. Pictures
// of the dialog and of the view are kept with the test pictures (formats/).
#include "Control/presentation/FormatDialog.h"
#include "platform/grid/FlexGrid.h"
#include "platform/widgets/TabStrip.h"
#include "tests/Control/core/GestureTestSupport.h"
#include "tests/support/ShownDialogs.h"
#include "tests/support/UserInput.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>
#include <QTabBar>
#include <QTest>

using platform::grid::CellSetting;
using testing_support::keyClick;
using testing_support::keyClicks;
using testing_support::mouseClick;
using testing_support::whenShown;
using testing_support::windowClick;

namespace {

void clickTab(platform::widgets::TabStrip *strip, int tab)
{
    auto *bar = strip->findChild<QTabBar *>();
    ASSERT_NE(bar, nullptr);
    mouseClick(bar, bar->tabRect(tab).center());
    EXPECT_EQ(strip->currentTab(), tab);
}

void clickEntry(QListWidget *list, int row)
{
    QListWidgetItem *item = list->item(row);
    ASSERT_NE(item, nullptr);
    list->scrollToItem(item);
    mouseClick(list->viewport(), list->visualItemRect(item).center());
}

// The colour dialog picks `color` and is closed with the Enter key.
void chooseColor(const QColor &color)
{
    whenShown([color](QWidget &window) {
        auto *dialog = qobject_cast<QColorDialog *>(&window);
        ASSERT_NE(dialog, nullptr);
        dialog->setCurrentColor(color);
        testing_support::pressKey(window, Qt::Key_Return);
    });
}

// Replaces a box's text by typing, as a user does: select all, then the keys.
void typeOver(QLineEdit *box, const QString &text)
{
    mouseClick(box);
    keyClick(box, Qt::Key_A, QString(), Qt::ControlModifier);
    keyClicks(box, text);
}

QString picturePath(const QString &name)
{
    QDir dir(QStringLiteral(PELMORA_TEST_PICTURES));
    dir.mkpath(QStringLiteral("formats"));
    return dir.filePath(QStringLiteral("formats/") + name);
}

} // namespace

using FormatDialogOnScreen = gesturetest::SalesControl;

TEST_F(FormatDialogOnScreen, TheUserFormatsTheViewWithMouseAndKeys)
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    // Bands from the view's own values: a third and two thirds of the way up.
    double low = 1e300;
    double high = -1e300;
    platform::grid::FlexGrid &grid = *control.grdResults;
    for (int r = grid.fixedRows(); r < grid.rows(); ++r) {
        for (int c = grid.fixedCols(); c < grid.cols(); ++c) {
            const double v = grid.textMatrix(r, c).toDouble();
            low = std::min(low, v);
            high = std::max(high, v);
        }
    }
    const int min = int(low + (high - low) / 3);
    const int max = int(low + 2 * (high - low) / 3);

    bool driven = false;
    whenShown([&](QWidget &window) {
        auto *f = qobject_cast<frmFormato *>(&window);
        ASSERT_NE(f, nullptr);
        // Format page: "(#,##0.00)".
        clickTab(f->TabOne2, 2);
        clickEntry(f->lstFormat, 5);
        EXPECT_EQ(f->fg->colFormat(1), "(#,##0.00)");
        // Colour page: subtotal formatting on, its back and fore colours.
        clickTab(f->TabOne2, 0);
        mouseClick(f->chkSubtotal1, QPoint(6, f->chkSubtotal1->height() / 2));
        EXPECT_TRUE(f->chkSubtotal->isChecked());
        chooseColor(QColor(255, 230, 160));
        clickEntry(f->lstColor, 2); // "Subtotal back color"
        chooseColor(QColor(120, 40, 0));
        clickEntry(f->lstColor, 6); // "Subtotal fore color"
        EXPECT_EQ(f->fg->cell(CellSetting::BackColor, 1, 2).toInt(), 0xA0E6FF);
        // Style page: the data grid lines by the keys.
        clickTab(f->TabOne2, 3);
        f->cmbGridLinesData->setFocus();
        keyClick(f->cmbGridLinesData, Qt::Key_Down);
        EXPECT_EQ(f->fg->gridLines(), 2);
        // Values: the threshold bands.
        clickTab(f->TabOne1, 1);
        mouseClick(f->chkVN, QPoint(6, f->chkVN->height() / 2));
        clickTab(f->TabOne3, 1);
        EXPECT_EQ(f->vValueType, 2);
        // The minimum goes to 0 first, so that no order of the boxes matters.
        typeOver(f->txtVal[0], "0");
        typeOver(f->txtVal[1], QString::number(max));
        typeOver(f->txtVal[0], QString::number(min));
        EXPECT_EQ(f->txtVal[1]->text(), QString::number(max));
        chooseColor(QColor(255, 200, 200));
        mouseClick(f->cmdSemaforo[0]);
        chooseColor(QColor(255, 255, 190));
        mouseClick(f->cmdSemaforo[1]);
        chooseColor(QColor(190, 240, 190));
        mouseClick(f->cmdSemaforo[2]);
        EXPECT_TRUE(f->cmdSemaforo[2]->isChecked());
        QTest::qWait(100);
        f->grab().save(picturePath("dialog.png"));
        mouseClick(f->chkSave, QPoint(6, f->chkSave->height() / 2)); // not the default
        EXPECT_FALSE(f->chkSave->isChecked());
        // OK by its key, from the Format tab ("F&ore" of the semaphore page takes Alt+O too).
        clickTab(f->TabOne1, 0);
        // Without a window manager the keyboard does not come back by itself after the
        // colour dialogs.
        window.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        testing_support::pressKey(window, Qt::Key_O, Qt::AltModifier);
        driven = true;
    });
    EXPECT_TRUE(control.doAction(QStringLiteral("DOFORMAT")));
    EXPECT_TRUE(driven);
    EXPECT_EQ(boxes.count(), 0) << boxes.texts().join(u';').toStdString();
    EXPECT_EQ(control.gridFormat.DataFormat, "(#,##0.00)");
    EXPECT_TRUE(control.gridFormat.FormatSubtotal);
    EXPECT_EQ(control.gridFormat.BackColorDataSubtotal, 0xA0E6FF);
    EXPECT_EQ(control.valueFormat.ValueType, 2);
    EXPECT_EQ(control.valueFormat.SemaphoreMinValue, min);
    EXPECT_EQ(control.valueFormat.SemaphoreMaxValue, max);
    EXPECT_TRUE(control.valueFormat.ActThresholdMaxBackColor);
    EXPECT_EQ(control.grdResults->gridLines(), 2);
    // The view shows the bracketed format on its values.
    const QString shown =
        grid.cell(CellSetting::TextDisplay, grid.rows() - 1, grid.cols() - 1).toString();
    EXPECT_TRUE(shown.contains('.')) << shown.toStdString();
    QTest::qWait(100);
    control.grab().save(picturePath("view.png"));
    QLocale::setDefault(QLocale::c());
}

// Over a minimum of 100 the maximum is typed key by key: every key stays as typed (its first
// digit, 3, lies below the minimum), and a maximum below the minimum takes the minimum's text
// once its box is left, by a click on the other box or on OK.
TEST_F(FormatDialogOnScreen, TheMaximumIsCheckedWhenItsBoxIsLeft)
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    bool driven = false;
    whenShown([&](QWidget &window) {
        auto *f = qobject_cast<frmFormato *>(&window);
        ASSERT_NE(f, nullptr);
        clickTab(f->TabOne1, 1);
        mouseClick(f->chkVN, QPoint(6, f->chkVN->height() / 2));
        clickTab(f->TabOne3, 1);
        typeOver(f->txtVal[0], "100");
        mouseClick(f->chkSave, QPoint(6, f->chkSave->height() / 2)); // not the default

        auto typeKeys = [](QLineEdit *box, const QString &keys) {
            windowClick(box);
            keyClick(box, Qt::Key_A, QString(), Qt::ControlModifier);
            QStringList shown;
            for (const QChar key : keys) {
                keyClicks(box, QString(key));
                shown << box->text();
            }
            return shown;
        };
        EXPECT_EQ(typeKeys(f->txtVal[1], "30000"),
                  QStringList({"3", "30", "300", "3000", "30000"}));
        windowClick(f->txtVal[0]);
        EXPECT_EQ(f->txtVal[1]->text(), "30000");

        EXPECT_EQ(typeKeys(f->txtVal[1], "50"), QStringList({"5", "50"}));
        windowClick(f->txtVal[0]); // leaves the maximum below the minimum
        EXPECT_EQ(f->txtVal[1]->text(), "100");
        QTest::qWait(50);
        f->grab().save(picturePath("maximum-left.png"));

        EXPECT_EQ(typeKeys(f->txtVal[1], "20"), QStringList({"2", "20"}));
        windowClick(f->cmdAceptar);
        driven = true;
    });
    EXPECT_TRUE(control.doAction(QStringLiteral("DOFORMAT")));
    EXPECT_TRUE(driven);
    EXPECT_EQ(boxes.count(), 0) << boxes.texts().join(u';').toStdString();
    EXPECT_EQ(control.valueFormat.SemaphoreMinValue, 100);
    EXPECT_EQ(control.valueFormat.SemaphoreMaxValue, 100);
    QLocale::setDefault(QLocale::c());
}
