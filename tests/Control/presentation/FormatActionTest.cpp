// The format action through the scripted modal runner: what the dialog receives, what comes
// back after OK, and that Cancel changes nothing.
#include "Control/core/PelmoraC02.h"
#include "Control/presentation/FormatDialog.h"
#include "Control/settings/StoredDefaults.h"
#include "platform/forms/FontObject.h"
#include "platform/grid/FlexGrid.h"
#include "platform/widgets/TabStrip.h"
#include "tests/Control/core/GestureTestSupport.h"
#include "tests/support/ScriptedModalRunner.h"
#include "tests/support/ScriptedMsgBox.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFontDatabase>
#include <QFontDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QPushButton>

#include <functional>

using platform::grid::CellSetting;
using testing_support::ScriptedModalRunner;
using testing_support::ScriptedMsgBox;

namespace {

// A family the font dialog can show in bold.
QString familyWithBold()
{
    for (const QString &family : QFontDatabase::families()) {
        if (QFontDatabase::styles(family).contains(QStringLiteral("Bold")))
            return family;
    }
    return QString();
}

class FormatAction : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        // The first command reads the stored defaults; done here, so that they are not read
        // over the members a test sets.
        control.doAction(QStringLiteral("READREGISTRY"));
        boxes.clear();
    }
    void TearDown() override { QLocale::setDefault(QLocale::c()); }

    // Runs the format action with `drive` on the dialog; drive answers the dialog's result
    // (its OK or Cancel button is clicked by then).
    bool format(std::function<void(frmFormato &)> drive)
    {
        runner.then([drive](QDialog &dialog) {
            auto *form = qobject_cast<frmFormato *>(&dialog);
            EXPECT_NE(form, nullptr);
            if (form)
                drive(*form);
            return dialog.result();
        });
        return control.doAction(QStringLiteral("DOFORMAT"));
    }

    // The next colour dialog picks `color` (0x00BBGGRR), or is cancelled when it is -1.
    void nextColor(int color)
    {
        runner.then([color](QDialog &dialog) {
            if (color < 0)
                return int(QDialog::Rejected);
            static_cast<QColorDialog &>(dialog).setCurrentColor(
                QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF));
            return int(QDialog::Accepted);
        });
    }

    // The next font dialog: the font it shows made bold and underlined, or cancelled.
    void nextFontBold(bool accept = true, QString *title = nullptr)
    {
        runner.then([accept, title](QDialog &dialog) {
            auto &fonts = static_cast<QFontDialog &>(dialog);
            if (title)
                *title = fonts.windowTitle();
            if (!accept)
                return int(QDialog::Rejected);
            QFont font(familyWithBold());
            font.setBold(true);
            font.setUnderline(true);
            fonts.setCurrentFont(font);
            fonts.accept();
            return -1;
        });
    }

    ScriptedMsgBox boxes;
    ScriptedModalRunner runner;
    PelmoraC02 control;
};

TEST_F(FormatAction, TheDialogReceivesTheLookAndShowsItInTheSample)
{
    pelmora::GridFormat &look = control.gridFormat;
    look.BackColor = 0x112233;
    look.BackColorData = 0x445566;
    look.GridLines = 7;
    look.GridLinesData = 9;
    look.GridLinesWidth = 3;
    look.DataFormat = "0.00";
    look.FormatSubtotal = true;
    look.FormatSubtotalLevel = 2;
    control.valueFormat.SemaphoreMinValue = 250.5;
    control.valueFormat.SemaphoreMaxValue = 900;
    control.valueFormat.ValueType = 2;
    control.language.LanguageID = 0;
    bool driven = false;
    EXPECT_TRUE(format([&](frmFormato &f) {
        driven = true;
        EXPECT_EQ(f.windowTitle(), "View format");
        EXPECT_EQ(f.TabOne1->tabCaption(1), "&Values");
        EXPECT_EQ(f.lstColor->count(), 10);
        EXPECT_EQ(f.lstColor->item(3)->text(), "Subtotal title back color");
        EXPECT_EQ(f.lstFormat->count(), 18);
        EXPECT_EQ(f.cmbGridLines->currentIndex(), 7);
        EXPECT_EQ(f.cmbGridLinesData->currentIndex(), 9);
        EXPECT_EQ(f.txtVal[0]->text(), "250.5");
        EXPECT_EQ(f.txtVal[1]->text(), "900");
        EXPECT_EQ(f.txtSubtotalNivel->text(), "2");
        EXPECT_EQ(f.txtSubtotalNivel1->text(), "2");
        EXPECT_TRUE(f.chkSubtotal->isChecked());
        EXPECT_TRUE(f.chkSubtotal1->isChecked());
        EXPECT_TRUE(f.chkSave->isChecked());
        // The width box keeps its "1"; the width in force is the control's.
        EXPECT_EQ(f.txtGridLinesWidth->text(), "1");
        EXPECT_EQ(f.vGridLinesWidth, 3);
        EXPECT_FALSE(f.chkVN->isChecked());
        EXPECT_EQ(f.TabOne3->currentTab(), 1);
        EXPECT_EQ(f.vValueType, 2);
        // The sample.
        EXPECT_EQ(f.fg->backColorFixed(), 0x112233);
        EXPECT_EQ(f.fg->cell(CellSetting::BackColor, 5, 2).toInt(), 0x445566);
        EXPECT_EQ(f.fg->gridLinesFixed(), 7);
        EXPECT_EQ(f.fg->gridLines(), 9);
        EXPECT_EQ(f.fg->gridLineWidth(), 3);
        EXPECT_EQ(f.fg->colFormat(3), "0.00");
        EXPECT_EQ(f.fg->textMatrix(0, 2), "X2");
        EXPECT_EQ(f.fg->textMatrix(14, 0), "Y14");
        EXPECT_EQ(f.fg->textMatrix(4, 1), "0");
        EXPECT_LT(f.fg->textMatrix(3, 2).toDouble(), 0);
        ScriptedModalRunner::click(f, "cmdCancelar");
    }));
    EXPECT_TRUE(driven);
    EXPECT_EQ(runner.shown(), QStringList{"frmFormato"});
}

TEST_F(FormatAction, SpanishTextsAndTheFontDialogTitles)
{
    for (int language : {0, 1}) {
        control.language.LanguageID = language;
        QString title;
        format([&](frmFormato &f) {
            EXPECT_EQ(f.windowTitle(), language ? "Formato de cubo" : "View format");
            EXPECT_EQ(f.lstFont->item(3)->text(),
                      language ? "Fuente de los titulos en subtotal" : "Subtotal title font");
            EXPECT_EQ(f.cmbGridLines->itemText(11),
                      language ? "Saltando vertical" : "Skipped vertical");
            EXPECT_EQ(f.lstAppearance->item(2)->text(), language ? "3D Ligero" : "3D Light");
            EXPECT_EQ(f.cmdAceptar->text(), language ? "&Aceptar" : "&OK");
            nextFontBold(false, &title);
            f.lstFont->setCurrentRow(0);
            ScriptedModalRunner::click(f, "cmdCancelar");
        });
        EXPECT_EQ(title, language ? "Fuente" : "Font");
    }
}

TEST_F(FormatAction, OkCarriesEveryEditBackAndRepaints)
{
    control.language.LanguageID = 0;
    EXPECT_TRUE(format([&](frmFormato &f) {
        f.lstFormat->setCurrentRow(5); // "(#,##0.00)"
        f.lstAppearance->setCurrentRow(0);
        f.cmbGridLines->setCurrentIndex(f.cmbGridLines->findText("Skipped vertical"));
        f.cmbGridLinesData->setCurrentIndex(f.cmbGridLinesData->findText("Raised vertical"));
        f.txtGridLinesWidth->setText("2");
        nextColor(0x0000FF);
        f.lstColor->setCurrentRow(0); // data back colour
        nextColor(0x00FF00);
        f.lstColor->setCurrentRow(2); // subtotal back colour
        nextFontBold();
        f.lstFont->setCurrentRow(0); // data font
        f.chkSubtotal->setChecked(true);
        f.txtSubtotalNivel1->setText("3");
        f.chkVN->setChecked(false);
        f.TabOne3->setCurrentTab(1);
        f.txtVal[0]->setText("500");
        f.txtVal[1]->setText("1000");
        nextColor(0x0000AA);
        f.cmdSemaforo[0]->click();
        nextColor(0x00AA00);
        f.cmdSemaforo[2]->click();
        f.chkSave->setChecked(false);
        ScriptedModalRunner::click(f, "cmdAceptar");
    }));
    EXPECT_TRUE(runner.done());
    const pelmora::GridFormat &look = control.gridFormat;
    const pelmora::ValueFormat &values = control.valueFormat;
    EXPECT_EQ(look.DataFormat, "(#,##0.00)");
    EXPECT_EQ(look.Appearance, 0);
    EXPECT_EQ(look.GridLines, 11);
    EXPECT_EQ(look.GridLinesData, 10);
    EXPECT_EQ(look.GridLinesWidth, 2);
    EXPECT_EQ(look.BackColorData, 0x0000FF);
    EXPECT_EQ(look.BackColorDataSubtotal, 0x00FF00);
    EXPECT_TRUE(look.FontData && look.FontData->bold() && look.FontData->underline());
    EXPECT_TRUE(look.FormatSubtotal);
    EXPECT_EQ(look.FormatSubtotalLevel, 3);
    EXPECT_EQ(values.ValueType, 2);
    EXPECT_EQ(values.SemaphoreMinValue, 500);
    EXPECT_EQ(values.SemaphoreMaxValue, 1000);
    EXPECT_TRUE(values.ActThresholdMinBackColor);
    EXPECT_EQ(values.ThresholdMinBackColor, 0x0000AA);
    EXPECT_TRUE(values.ActThresholdMaxBackColor);
    EXPECT_EQ(values.ThresholdMaxBackColor, 0x00AA00);
    EXPECT_FALSE(values.ActThresholdMedBackColor);
    // updFormat pushed the look onto the grids.
    EXPECT_EQ(control.grdResults->gridLines(), 10);
    EXPECT_EQ(control.grdResults->gridLinesFixed(), 11);
    EXPECT_EQ(control.grdResults->appearance(), 0);
    // The save box was cleared: nothing stored.
    pelmora::GridFormat stored;
    pelmora::ValueFormat storedValues;
    platform::forms::FontObject storedFont;
    EXPECT_EQ(pelmora::defaults::readSection(
                  pelmora::defaults::formatSection(stored, storedValues, storedFont)),
              pelmora::defaults::SectionRead::Absent);
}

TEST_F(FormatAction, SaveStoresTheNewLookAsTheDefault)
{
    EXPECT_TRUE(format([&](frmFormato &f) {
        f.lstFormat->setCurrentRow(5);
        f.cmbGridLinesData->setCurrentIndex(4);
        ScriptedModalRunner::click(f, "cmdAceptar");
    }));
    pelmora::GridFormat stored;
    pelmora::ValueFormat storedValues;
    platform::forms::FontObject storedFont;
    EXPECT_EQ(pelmora::defaults::readSection(
                  pelmora::defaults::formatSection(stored, storedValues, storedFont)),
              pelmora::defaults::SectionRead::Read);
    EXPECT_EQ(stored.DataFormat, "(#,##0.00)");
    EXPECT_EQ(stored.GridLinesData, 4);
}

TEST_F(FormatAction, CancelChangesNothingFontsIncluded)
{
    control.controlFont->setName("DejaVu Sans");
    control.controlFont->setSize(9);
    platform::forms::FontObject &data = pelmora::fontOf(control.gridFormat.FontData);
    const pelmora::GridFormat lookBefore = control.gridFormat;
    const double minBefore = control.valueFormat.SemaphoreMinValue;
    EXPECT_TRUE(format([&](frmFormato &f) {
        nextFontBold();
        f.lstFont->setCurrentRow(1); // the title font
        nextFontBold();
        f.lstFont->setCurrentRow(0);      // the data font
        EXPECT_TRUE(f.fg->font().bold()); // the sample shows the edits
        EXPECT_TRUE(f.fg->cell(CellSetting::FontBold, 2, 1).toBool());
        nextColor(0x0000FF);
        f.lstColor->setCurrentRow(1);
        f.lstFormat->setCurrentRow(0);
        f.txtVal[0]->setText("5");
        ScriptedModalRunner::click(f, "cmdCancelar");
    }));
    EXPECT_TRUE(runner.done());
    EXPECT_FALSE(control.controlFont->bold());
    EXPECT_FALSE(control.controlFont->underline());
    EXPECT_FALSE(data.bold());
    EXPECT_EQ(control.gridFormat.FontData.get(), &data);
    EXPECT_EQ(control.gridFormat.BackColor, lookBefore.BackColor);
    EXPECT_EQ(control.gridFormat.DataFormat, lookBefore.DataFormat);
    EXPECT_EQ(control.valueFormat.SemaphoreMinValue, minBefore);
}

TEST_F(FormatAction, TheTitleFontComesBackOnOk)
{
    EXPECT_TRUE(format([&](frmFormato &f) {
        nextFontBold();
        f.lstFont->setCurrentRow(1);
        ScriptedModalRunner::click(f, "cmdAceptar");
    }));
    EXPECT_TRUE(control.controlFont->bold());
    EXPECT_TRUE(control.grdResults->font().bold());
}

TEST_F(FormatAction, ThresholdsComeBackByTheirLeadingNumber)
{
    struct Case
    {
        QString min, max;
        double storedMin, storedMax;
    };
    const Case cases[] = {
        {"300", "200", 300, 300},    // the box replaces the max: both the minimum
        {"$5", "1,200", 0, 1},       // a currency sign gives 0, a separator stops the digits
        {"1e2", "2.5E3", 100, 2500}, // exponents applied
    };
    for (const Case &c : cases) {
        EXPECT_TRUE(format([&](frmFormato &f) {
            f.txtVal[0]->setText(c.min);
            f.txtVal[1]->setText(c.max);
            ScriptedModalRunner::click(f, "cmdAceptar");
        }));
        EXPECT_EQ(control.valueFormat.SemaphoreMinValue, c.storedMin) << c.min.toStdString();
        EXPECT_EQ(control.valueFormat.SemaphoreMaxValue, c.storedMax) << c.max.toStdString();
    }
    EXPECT_EQ(boxes.count(), 0) << boxes.texts().join(';').toStdString();
}

TEST_F(FormatAction, ThresholdsUseTheLocaleDecimalSeparator)
{
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    control.valueFormat.SemaphoreMinValue = 10.5;
    control.valueFormat.SemaphoreMaxValue = 1000.25;
    EXPECT_TRUE(format([&](frmFormato &f) {
        EXPECT_EQ(f.txtVal[0]->text(), "10,5");
        EXPECT_EQ(f.txtVal[1]->text(), "1000,25");
        ScriptedModalRunner::click(f, "cmdAceptar");
    }));
    EXPECT_EQ(control.valueFormat.SemaphoreMinValue, 10.5);
    EXPECT_EQ(control.valueFormat.SemaphoreMaxValue, 1000.25);
    EXPECT_EQ(pelmora::thresholdNumber("1.234,5"), 1);
}

TEST_F(FormatAction, AStoredGridLineStyleOutsideTheListIsClamped)
{
    control.gridFormat.GridLines = 20;
    control.gridFormat.GridLinesData = -3;
    bool shown = false;
    EXPECT_TRUE(format([&](frmFormato &f) {
        shown = true;
        EXPECT_EQ(f.cmbGridLines->currentIndex(), 13);
        EXPECT_EQ(f.cmbGridLinesData->currentIndex(), 0);
        ScriptedModalRunner::click(f, "cmdAceptar");
    }));
    EXPECT_TRUE(shown);
    EXPECT_EQ(boxes.count(), 0) << boxes.texts().join(';').toStdString();
    EXPECT_EQ(control.gridFormat.GridLines, 13);
    EXPECT_EQ(control.gridFormat.GridLinesData, 0);
}

TEST_F(FormatAction, TheDataFormatIsTheSampleColumns)
{
    EXPECT_TRUE(format([&](frmFormato &f) {
        f.txtCustom->setText("0.000");
        EXPECT_EQ(f.fg->colFormat(1), "0.000");
        f.lstFormat->setCurrentRow(10); // a list entry replaces the custom format
        EXPECT_EQ(f.fg->colFormat(2), "0%");
        f.fg->setColFormat(1, "00.0"); // what the sample holds comes back
        ScriptedModalRunner::click(f, "cmdAceptar");
    }));
    EXPECT_EQ(control.gridFormat.DataFormat, "00.0");
}

} // namespace

using FormatActionOnView = gesturetest::SalesControl;

TEST_F(FormatActionOnView, CancelStillRepaintsTheView)
{
    ScriptedModalRunner runner;
    platform::grid::FlexGrid &grid = *control.grdResults;
    const int row = grid.rows() - 1;
    const int col = grid.cols() - 1;
    const QString value = grid.textMatrix(row, col);
    grid.setTextMatrix(row, col, "stale");
    runner.then([](QDialog &dialog) {
        ScriptedModalRunner::click(dialog, "cmdCancelar");
        return dialog.result();
    });
    EXPECT_TRUE(control.doAction(QStringLiteral("DOFORMAT")));
    EXPECT_TRUE(runner.done());
    EXPECT_EQ(grid.textMatrix(row, col), value);
    EXPECT_EQ(boxes.count(), 0) << boxes.texts().join(';').toStdString();
}
