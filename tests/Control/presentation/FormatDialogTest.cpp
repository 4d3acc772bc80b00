// The format dialog's handlers and its sample grid, read back from the grid layer.
#include "Control/core/ControlState.h"
#include "Control/presentation/FormatDialog.h"
#include "platform/forms/FontObject.h"
#include "platform/grid/FlexGrid.h"
#include "platform/grid/GridLines.h"
#include "platform/widgets/TabStrip.h"
#include "tests/support/ScriptedModalRunner.h"
#include "tests/support/ScriptedMsgBox.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>

using platform::grid::CellSetting;
using testing_support::ScriptedModalRunner;
using testing_support::ScriptedMsgBox;

namespace {

class FormatDialog : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        f.vLanguageId = 0;
        f.Form_Load();
        f.creaDatos();
        f.ponElementos();
        f.vBackColorData = 0xFFFFFF;
        f.vForeColorData = 0x000001;
        f.txtVal[0]->setText("500");
        f.txtVal[1]->setText("1000");
        f.actualizaFormato();
    }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }

    int back(int row, int col) const
    {
        return f.fg->cell(CellSetting::BackColor, row, col).toInt();
    }
    int fore(int row, int col) const
    {
        return f.fg->cell(CellSetting::ForeColor, row, col).toInt();
    }

    // Slot colours 0x10 + k, all off.
    void slotColors()
    {
        for (int k = 0; k < 6; ++k) {
            f.thresholdColor(k) = 0x10 + k;
            f.thresholdOn(k) = false;
        }
    }

    ScriptedMsgBox boxes;
    ScriptedModalRunner runner;
    frmFormato f;
};

TEST_F(FormatDialog, SignColouringPaintsOnlyTheCellsOfTheSlot)
{
    slotColors();
    f.vValueType = 1;
    f.thresholdOn(0) = true;
    f.actualizaFormato();
    EXPECT_EQ(f.TabOne3->currentTab(), 0);
    EXPECT_TRUE(f.cmdPN[0]->isChecked());
    EXPECT_FALSE(f.cmdPN[1]->isChecked());
    for (int r = 1; r < 15; ++r) {
        for (int c = 1; c < 4; ++c) {
            const bool negative = r == 3 && c == 2;
            EXPECT_EQ(back(r, c), negative ? 0x10 : 0xFFFFFF) << r << "," << c;
        }
    }
    f.thresholdOn(0) = false;
    f.thresholdOn(1) = true;
    f.thresholdOn(5) = true;
    f.actualizaFormato();
    EXPECT_EQ(back(4, 1), 0x11);
    EXPECT_EQ(back(3, 2), 0xFFFFFF); // the earlier colouring is gone
    EXPECT_EQ(fore(4, 1), 1);
    EXPECT_EQ(fore(5, 3), 0x15);
}

TEST_F(FormatDialog, ThresholdBandsPaintByTheBoxes)
{
    slotColors();
    f.fg->setTextMatrix(5, 1, "500");
    f.fg->setTextMatrix(5, 2, "750");
    f.fg->setTextMatrix(5, 3, "1000");
    for (int k = 0; k < 6; ++k)
        f.thresholdOn(k) = true;
    f.vValueType = 2;
    f.actualizaFormato();
    EXPECT_EQ(f.TabOne3->currentTab(), 1);
    EXPECT_FALSE(f.chkVN->isChecked());
    EXPECT_EQ(f.vValueType, 2);
    EXPECT_TRUE(f.cmdSemaforo[4]->isChecked());
    EXPECT_EQ(back(5, 1), 0x10);
    EXPECT_EQ(fore(5, 1), 0x13);
    EXPECT_EQ(back(5, 2), 0x11);
    EXPECT_EQ(fore(5, 2), 0x14);
    EXPECT_EQ(back(5, 3), 0x12);
    EXPECT_EQ(fore(5, 3), 0x15);
    EXPECT_EQ(back(3, 2), 0x10); // the negative sample
    // Equal bounds: the later slot wins.
    f.txtVal[1]->setText("500");
    EXPECT_EQ(back(5, 1), 0x12);
    EXPECT_EQ(fore(5, 1), 0x15);
}

TEST_F(FormatDialog, SubtotalFormatPaintsRowOneAndGoesAway)
{
    f.vBackColorDataSubtotal = 0x00FF00;
    f.vForeColorDataSubtotal = 0x0000FF;
    f.vBackColorSubtotal = 0x808080;
    platform::forms::FontObject &subtotal = pelmora::fontOf(f.vFontDataSubtotal);
    subtotal.setBold(true);
    f.chkSubtotal1->setChecked(true);
    EXPECT_TRUE(f.chkSubtotal->isChecked());
    EXPECT_TRUE(f.vFormatSubtotal);
    EXPECT_EQ(back(1, 2), 0x00FF00);
    EXPECT_EQ(fore(1, 3), 0x0000FF);
    EXPECT_EQ(back(1, 0), 0x808080);
    EXPECT_TRUE(f.fg->cell(CellSetting::FontBold, 1, 1).toBool());
    EXPECT_EQ(back(2, 2), 0xFFFFFF);
    f.chkSubtotal->setChecked(false);
    EXPECT_FALSE(f.chkSubtotal1->isChecked());
    EXPECT_FALSE(f.vFormatSubtotal);
    EXPECT_EQ(back(1, 2), 0xFFFFFF);
    EXPECT_FALSE(f.fg->cell(CellSetting::FontBold, 1, 1).toBool());
}

TEST_F(FormatDialog, EveryGridLineStyleReachesTheSample)
{
    ASSERT_EQ(f.cmbGridLinesData->count(), platform::grid::MaxGridLineStyle + 1);
    for (int style = 0; style <= platform::grid::MaxGridLineStyle; ++style) {
        f.cmbGridLinesData->setCurrentIndex(style);
        f.cmbGridLines->setCurrentIndex(platform::grid::MaxGridLineStyle - style);
        EXPECT_EQ(f.fg->gridLines(), style);
        EXPECT_EQ(f.fg->gridLinesFixed(), platform::grid::MaxGridLineStyle - style);
        EXPECT_EQ(f.vGridLinesData, style);
    }
    EXPECT_EQ(f.cmbGridLines->itemText(10), "Raised vertical");
    EXPECT_EQ(f.cmbGridLines->itemText(13), "Excel");
}

TEST_F(FormatDialog, TheDataFormatShowsInTheDataColumnsOnly)
{
    f.fg->setTextMatrix(6, 2, "-1234.5");
    f.lstFormat->setCurrentRow(5); // "(#,##0.00)"
    EXPECT_EQ(f.vDataFormat, "(#,##0.00)");
    EXPECT_EQ(f.fg->cell(CellSetting::TextDisplay, 6, 2).toString(), "-(1,234.50)");
    EXPECT_EQ(f.fg->cell(CellSetting::TextDisplay, 6, 0).toString(), "Y6");
    f.txtCustom->setText("0.0");
    EXPECT_EQ(f.fg->cell(CellSetting::TextDisplay, 6, 2).toString(), "-1234.5");
}

TEST_F(FormatDialog, NumericBoxesRefuseText)
{
    // Thresholds: the message, then the last accepted whole number.
    f.txtVal[0]->setText("12.6");
    f.txtVal[0]->setText("abc");
    EXPECT_EQ(boxes.texts(), QStringList{"The value must be numeric"});
    EXPECT_EQ(f.txtVal[0]->text(), "13");
    f.vLanguageId = 1;
    f.txtVal[1]->setText("x");
    EXPECT_EQ(boxes.texts().last(), "El valor debe ser númerico");
    EXPECT_EQ(f.txtVal[1]->text(), "1000");
    // Beyond 32 bits: accepted as typed, nothing fails.
    f.txtVal[1]->setText("99999999999");
    EXPECT_EQ(f.txtVal[1]->text(), "99999999999");
    // Width and level boxes: "1" without a message.
    boxes.clear();
    f.txtGridLinesWidth->setText("wide");
    EXPECT_EQ(f.txtGridLinesWidth->text(), "1");
    EXPECT_EQ(f.vGridLinesWidth, 1);
    f.txtGridLinesWidth->setText("3");
    EXPECT_EQ(f.fg->gridLineWidth(), 3);
    f.txtSubtotalNivel->setText("70000");
    EXPECT_EQ(f.txtSubtotalNivel->text(), "1");
    f.txtSubtotalNivel->setText("2");
    EXPECT_EQ(f.txtSubtotalNivel1->text(), "2");
    EXPECT_EQ(f.vFormatSubtotalLevel, 2);
    f.txtSubtotalNivel1->setText("");
    EXPECT_EQ(f.txtSubtotalNivel->text(), "1");
    EXPECT_EQ(f.vFormatSubtotalLevel, 1);
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(FormatDialog, TheMaximumNeverStaysBelowTheMinimum)
{
    f.txtVal[1]->setText("400");
    EXPECT_EQ(f.txtVal[1]->text(), "500");
    f.txtVal[0]->setText("2000"); // a minimum above the maximum is left as typed
    EXPECT_EQ(f.txtVal[0]->text(), "2000");
    EXPECT_EQ(f.txtVal[1]->text(), "500");
}

TEST_F(FormatDialog, ValueTypeFollowsTheBoxAndTheTab)
{
    f.chkVN->setChecked(true);
    EXPECT_EQ(f.vValueType, 0);
    f.TabOne3->setCurrentTab(1);
    EXPECT_EQ(f.vValueType, 0);
    f.chkVN->setChecked(false);
    EXPECT_EQ(f.vValueType, 2);
    f.TabOne3->setCurrentTab(0);
    EXPECT_EQ(f.vValueType, 1);
}

TEST_F(FormatDialog, ASlotButtonTogglesAndACancelledColourLeavesItOff)
{
    slotColors();
    f.vValueType = 1;
    // Cancelled colour dialog: the slot stays off.
    runner.then([](QDialog &) { return int(QDialog::Rejected); });
    f.cmdPN[0]->click();
    EXPECT_FALSE(f.thresholdOn(0));
    EXPECT_FALSE(f.cmdPN[0]->isChecked());
    EXPECT_EQ(back(3, 2), 0xFFFFFF);
    // A colour chosen: on, painted, shown on both pages.
    runner.then([](QDialog &dialog) {
        static_cast<QColorDialog &>(dialog).setCurrentColor(QColor(0x40, 0, 0));
        return int(QDialog::Accepted);
    });
    f.cmdPN[0]->click();
    EXPECT_TRUE(f.thresholdOn(0));
    EXPECT_EQ(f.thresholdColor(0), 0x40);
    EXPECT_TRUE(f.cmdSemaforo[0]->isChecked());
    EXPECT_EQ(back(3, 2), 0x40);
    // Clicking again turns it off without a dialog.
    f.cmdSemaforo[0]->click();
    EXPECT_FALSE(f.thresholdOn(0));
    EXPECT_FALSE(f.cmdPN[0]->isChecked());
    EXPECT_EQ(back(3, 2), 0xFFFFFF);
    EXPECT_TRUE(runner.done());
    EXPECT_EQ(runner.unexpected(), 0);
}

TEST_F(FormatDialog, ACancelledColourListChoiceKeepsTheColour)
{
    f.vGridColor = 0x123456;
    runner.then([](QDialog &) { return int(QDialog::Rejected); });
    f.lstColor->setCurrentRow(9);
    EXPECT_EQ(f.vGridColor, 0x123456);
    EXPECT_EQ(runner.shown(), QStringList{"colorDialog"});
}

TEST_F(FormatDialog, AppearanceComesFromTheList)
{
    for (int a : {2, 0, 1}) {
        f.lstAppearance->setCurrentRow(a);
        EXPECT_EQ(f.fg->appearance(), a);
    }
}

} // namespace
