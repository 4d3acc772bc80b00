// The format action: the format dialog on copies of the control's look and value colouring;
// after OK the edited values go back into the members (optionally stored as the defaults of new
// views) and onto the grids. The data grid is repainted after OK and Cancel alike.
#include "Control/core/ErrorTrap.h"
#include "Control/core/PelmoraC02.h"
#include "Control/presentation/FormatDialog.h"
#include "platform/forms/FontObject.h"
#include "platform/forms/Modal.h"
#include "platform/grid/FlexGrid.h"
#include "platform/grid/GridLines.h"
#include "platform/runtime/Numbers.h"
#include "platform/widgets/TabStrip.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

#include <algorithm>
#include <memory>

using platform::forms::FontObject;
using platform::grid::CellSetting;

namespace {

// A copy of a font, so that edits the dialog makes before a Cancel reach no font of the
// control.
std::shared_ptr<FontObject> copyOfFont(const FontObject &font)
{
    auto copy = std::make_shared<FontObject>();
    copy->copyFrom(font);
    return copy;
}

std::shared_ptr<FontObject> copyOfFont(std::shared_ptr<FontObject> &slot)
{
    return copyOfFont(pelmora::fontOf(slot));
}

// A stored grid-line style the lists cannot show is taken into the styles 0 to 13.
int gridLineStyle(int style)
{
    return std::clamp(style, 0, platform::grid::MaxGridLineStyle);
}

// The colours the dialog edits, in the order they are handed over.
struct ColorLink
{
    int pelmora::GridFormat::*control;
    int frmFormato::*dialog;
};
constexpr ColorLink colorLinks[] = {
    {&pelmora::GridFormat::BackColor, &frmFormato::vBackColor},
    {&pelmora::GridFormat::ForeColor, &frmFormato::vForeColor},
    {&pelmora::GridFormat::BackColorSubtotal, &frmFormato::vBackColorSubtotal},
    {&pelmora::GridFormat::ForeColorSubtotal, &frmFormato::vForeColorSubtotal},
    {&pelmora::GridFormat::GridColor, &frmFormato::vGridColor},
    {&pelmora::GridFormat::BackColorData, &frmFormato::vBackColorData},
    {&pelmora::GridFormat::ForeColorData, &frmFormato::vForeColorData},
    {&pelmora::GridFormat::BackColorDataSubtotal, &frmFormato::vBackColorDataSubtotal},
    {&pelmora::GridFormat::ForeColorDataSubtotal, &frmFormato::vForeColorDataSubtotal},
    {&pelmora::GridFormat::GridColorData, &frmFormato::vGridColorData},
};

// The six threshold slots of the value format, in the dialog's slot order.
constexpr int pelmora::ValueFormat::*thresholdColors[] = {
    &pelmora::ValueFormat::ThresholdMinBackColor, &pelmora::ValueFormat::ThresholdMedBackColor,
    &pelmora::ValueFormat::ThresholdMaxBackColor, &pelmora::ValueFormat::ThresholdMinForeColor,
    &pelmora::ValueFormat::ThresholdMedForeColor, &pelmora::ValueFormat::ThresholdMaxForeColor};
constexpr bool pelmora::ValueFormat::*thresholdFlags[] = {
    &pelmora::ValueFormat::ActThresholdMinBackColor,
    &pelmora::ValueFormat::ActThresholdMedBackColor,
    &pelmora::ValueFormat::ActThresholdMaxBackColor,
    &pelmora::ValueFormat::ActThresholdMinForeColor,
    &pelmora::ValueFormat::ActThresholdMedForeColor,
    &pelmora::ValueFormat::ActThresholdMaxForeColor};

QFont cellFont(const platform::grid::FlexGrid &grid, int row, int col)
{
    return grid.cell(CellSetting::Font, row, col).value<QFont>();
}

} // namespace

bool PelmoraC02::doFormat()
{
    return pelmora::trapped(
        QStringLiteral("doFormat:"),
        [this] {
            pelmora::GridFormat &look = gridFormat;
            pelmora::ValueFormat &values = valueFormat;
            // No owner: the dialog stands on its own, as a top-level window.
            auto form = std::make_unique<frmFormato>();
            form->vLanguageId = language.LanguageID;
            form->vOK = false;
            form->vValueType = values.ValueType;
            form->Form_Load();
            form->TabOne1->setCurrentTab(0);
            form->TabOne2->setCurrentTab(0);
            form->TabOne3->setCurrentTab(0);
            form->creaDatos();
            form->ponElementos();

            form->vAppearance = look.Appearance;
            for (const ColorLink &link : colorLinks)
                (*form).*link.dialog = look.*link.control;
            form->vFontData = copyOfFont(look.FontData);
            form->vFontDataSubtotal = copyOfFont(look.FontDataSubtotal);
            form->vFontSubtotal = copyOfFont(look.FontSubtotal);
            form->windowFont = copyOfFont(*controlFont);
            form->vDataFormat = look.DataFormat;
            form->txtVal[0]->setText(platform::runtime::numberText(values.SemaphoreMinValue));
            form->txtVal[1]->setText(platform::runtime::numberText(values.SemaphoreMaxValue));
            for (int k = 0; k < 6; ++k) {
                form->thresholdColor(k) = values.*thresholdColors[k];
                form->thresholdOn(k) = values.*thresholdFlags[k];
            }
            form->vGridLines = gridLineStyle(look.GridLines);
            form->vGridLinesData = gridLineStyle(look.GridLinesData);
            form->vGridLinesWidth = qint16(look.GridLinesWidth);
            form->cmbGridLines->setCurrentIndex(form->vGridLines);
            form->cmbGridLinesData->setCurrentIndex(form->vGridLinesData);
            form->vFormatSubtotal = look.FormatSubtotal;
            form->vFormatSubtotalLevel = qint16(look.FormatSubtotalLevel);
            const QString level = QString::number(look.FormatSubtotalLevel);
            form->txtSubtotalNivel->setText(level);
            form->txtSubtotalNivel1->setText(level);
            form->chkSubtotal->setChecked(look.FormatSubtotal);
            form->chkSubtotal1->setChecked(look.FormatSubtotal);
            form->actualizaFormato();

            platform::forms::showModal(*form);
            if (form->vOK) {
                frmFormato &f = *form;
                look.Appearance = f.vAppearance;
                for (const ColorLink &link : colorLinks)
                    look.*link.control = f.*link.dialog;
                // The fonts come back from the sample grid, into the control's own objects
                // (containers may hold them).
                controlFont->setFromQFont(f.fg->font());
                pelmora::fontOf(look.FontData).setFromQFont(cellFont(*f.fg, 2, 1));
                pelmora::fontOf(look.FontDataSubtotal).setFromQFont(cellFont(*f.fg, 1, 1));
                pelmora::fontOf(look.FontSubtotal).setFromQFont(cellFont(*f.fg, 1, 0));
                look.DataFormat = f.fg->colFormat(1);
                values.ValueType = f.vValueType;
                look.GridLinesData = f.vGridLinesData;
                look.GridLines = f.vGridLines;
                look.GridLinesWidth = f.vGridLinesWidth;
                look.FormatSubtotal = f.vFormatSubtotal;
                look.FormatSubtotalLevel = f.vFormatSubtotalLevel;
                values.SemaphoreMinValue = pelmora::thresholdNumber(f.txtVal[0]->text());
                values.SemaphoreMaxValue = pelmora::thresholdNumber(f.txtVal[1]->text());
                if (values.SemaphoreMaxValue < values.SemaphoreMinValue)
                    values.SemaphoreMaxValue = values.SemaphoreMinValue;
                for (int k = 0; k < 6; ++k) {
                    values.*thresholdColors[k] = f.thresholdColor(k);
                    values.*thresholdFlags[k] = f.thresholdOn(k);
                }
                if (f.chkSave->isChecked())
                    doAction(QStringLiteral("WRITEREGISTRY"));
                updFormat();
            }
            form.reset();
            // Without a result there is nothing to repaint (the repaint would only report the
            // missing cell set).
            if (queryState.cellset
                && queryState.cellset->state() == platform::olap::Cellset::StateOpen)
                selectPaint();
            return true;
        },
        false);
}
