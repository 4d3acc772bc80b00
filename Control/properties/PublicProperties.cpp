// The control's automation properties: each write stores its member, pushes the setting onto
// the child controls, then tells the container under the property's name.
#include "Control/core/ErrorTrap.h"
#include "Control/core/PelmoraC02.h"
#include "Control/properties/ButtonProperties.h"
#include "platform/chart/Chart2D.h"
#include "platform/chart/Chart3D.h"
#include "platform/grid/FlexGrid.h"
#include "platform/grid/OleColor.h"
#include "platform/widgets/ElasticPanel.h"
#include "platform/widgets/ImageList.h"
#include "platform/widgets/Toolbar.h"

#include <QLabel>
#include <QPalette>

#include <array>

using platform::grid::FlexGrid;

namespace {

// The grids in the order every setting reaches them: titles grid first.
std::array<FlexGrid *, 2> bothGrids(FlexGrid *titles, FlexGrid *results)
{
    return {titles, results};
}

void setLabelColour(QLabel *label, QPalette::ColorRole role, int oleColour)
{
    QPalette palette = label->palette();
    palette.setColor(role, platform::grid::oleToColor(oleColour, palette));
    label->setAutoFillBackground(true);
    label->setPalette(palette);
}

} // namespace

// --- Display and toolbar --------------------------------------------------------------------

void PelmoraC02::setVisibleTitle(bool value)
{
    displayFlags.VisibleTitle = value;
    lblCubo->setVisible(value);
    emit PropertyChanged(QStringLiteral("VisibleTitle"));
}

void PelmoraC02::setVisibleHeading(bool value)
{
    displayFlags.VisibleHeading = value;
    grdTitulos->setVisible(value);
    emit PropertyChanged(QStringLiteral("VisibleHeading"));
}

void PelmoraC02::setVisibleMatrix(bool value)
{
    displayFlags.VisibleMatrix = value;
    grdResults->setVisible(value);
    emit PropertyChanged(QStringLiteral("VisibleMatrix"));
}

void PelmoraC02::setVisibleChart(bool value)
{
    displayFlags.VisibleChart = value;
    // Both charts at once; a chart that refuses (or does not exist yet) is passed over.
    pelmora::passOver([&] {
        if (grf2d)
            grf2d->setVisible(value);
    });
    pelmora::passOver([&] {
        if (grf3d)
            grf3d->setVisible(value);
    });
    emit PropertyChanged(QStringLiteral("VisibleChart"));
}

void PelmoraC02::setVisibleToolBar(bool value)
{
    displayFlags.VisibleToolBar = value;
    tbToolBar->setVisible(value);
    emit PropertyChanged(QStringLiteral("VisibleToolBar"));
}

bool PelmoraC02::buttonVisible(int index) const
{
    return tbToolBar->button(index)->isVisible();
}

void PelmoraC02::setButtonVisible(int index, bool value, const QString &name)
{
    tbToolBar->button(index)->setVisible(value);
    emit PropertyChanged(name);
}

// clang-format off
#define PELMORA_BUTTON_PROPERTY(Name, index)                                                   \
    bool PelmoraC02::visible##Name() const { return buttonVisible(index); }                  \
    void PelmoraC02::setVisible##Name(bool value)                                              \
    {                                                                                          \
        setButtonVisible(index, value, QStringLiteral("Visible" #Name));                       \
    }
// clang-format on

PELMORA_BUTTON_PROPERTY(ButtonOpen, 1)
PELMORA_BUTTON_PROPERTY(ButtonSave, 2)
PELMORA_BUTTON_PROPERTY(ButtonPrint, 4)
PELMORA_BUTTON_PROPERTY(ButtonExport, 5)
PELMORA_BUTTON_PROPERTY(ButtonCopy, 6)
PELMORA_BUTTON_PROPERTY(ButtonDirectMDX, 8)
PELMORA_BUTTON_PROPERTY(ButtonShowElements, 9)
PELMORA_BUTTON_PROPERTY(ButtonChart2d, 10)
PELMORA_BUTTON_PROPERTY(ButtonChart3d, 11)
PELMORA_BUTTON_PROPERTY(ButtonSwapXY, 13)
PELMORA_BUTTON_PROPERTY(ButtonLayout, 14)
PELMORA_BUTTON_PROPERTY(ButtonDimension, 15)
PELMORA_BUTTON_PROPERTY(ButtonFormat, 17)
PELMORA_BUTTON_PROPERTY(ButtonAbout, 19)

#undef PELMORA_BUTTON_PROPERTY

void PelmoraC02::setLanguageId(int id)
{
    language.LanguageID = id == pelmora::Spanish ? pelmora::Spanish : pelmora::English;
    // Spanish keeps the tooltips the buttons have: the built-in ones, or English ones an
    // earlier write gave them.
    if (language.LanguageID == pelmora::English) {
        for (const pelmora::ButtonProperty &button : pelmora::buttonProperties)
            tbToolBar->button(button.index)
                ->setToolTipText(QString::fromLatin1(button.englishToolTip));
    }
    emit PropertyChanged(QStringLiteral("LanguageID"));
}

// --- Open parameters and value display: stored only -------------------------------------

// clang-format off
#define PELMORA_STORED_PROPERTY(Type, setter, member, name)                                   \
    void PelmoraC02::setter(Type value)                                                        \
    {                                                                                          \
        member = value;                                                                        \
        emit PropertyChanged(QStringLiteral(name));                                            \
    }
// clang-format on

PELMORA_STORED_PROPERTY(const QString &, setOpenServer, openParams.OpenServer, "OpenServer")
PELMORA_STORED_PROPERTY(const QString &, setOpenDb, openParams.OpenDB, "OpenDB")
PELMORA_STORED_PROPERTY(const QString &, setOpenCube, openParams.openCube, "OpenCube")
PELMORA_STORED_PROPERTY(const QString &, setOpenFile, openParams.OpenFile, "OpenFile")
PELMORA_STORED_PROPERTY(const QString &, setOpenWwwDir, openParams.OpenWWWDir, "OpenWWWDir")
PELMORA_STORED_PROPERTY(const QString &, setOpenView, openParams.OpenView, "OpenView")
PELMORA_STORED_PROPERTY(const QString &, setMdx, openParams.MDX, "MDX")
PELMORA_STORED_PROPERTY(int, setValueType, valueFormat.ValueType, "ValueType")
PELMORA_STORED_PROPERTY(double, setSemaphoreMinValue, valueFormat.SemaphoreMinValue,
                        "SemaphoreMinValue")
PELMORA_STORED_PROPERTY(double, setSemaphoreMaxValue, valueFormat.SemaphoreMaxValue,
                        "SemaphoreMaxValue")
PELMORA_STORED_PROPERTY(int, setThresholdMinBackColor, valueFormat.ThresholdMinBackColor,
                        "ThresholdMinBackColor")
PELMORA_STORED_PROPERTY(int, setThresholdMedBackColor, valueFormat.ThresholdMedBackColor,
                        "ThresholdMedBackColor")
PELMORA_STORED_PROPERTY(int, setThresholdMaxBackColor, valueFormat.ThresholdMaxBackColor,
                        "ThresholdMaxBackColor")
PELMORA_STORED_PROPERTY(int, setThresholdMinForeColor, valueFormat.ThresholdMinForeColor,
                        "ThresholdMinForeColor")
PELMORA_STORED_PROPERTY(int, setThresholdMedForeColor, valueFormat.ThresholdMedForeColor,
                        "ThresholdMedForeColor")
PELMORA_STORED_PROPERTY(int, setThresholdMaxForeColor, valueFormat.ThresholdMaxForeColor,
                        "ThresholdMaxForeColor")
PELMORA_STORED_PROPERTY(bool, setInteractive, controlFlags.Interactive, "Interactive")
PELMORA_STORED_PROPERTY(int, setBackColorSubtotal, gridFormat.BackColorSubtotal,
                        "BackColorSubtotal")
PELMORA_STORED_PROPERTY(int, setBackColorDataSubtotal, gridFormat.BackColorDataSubtotal,
                        "BackColorDataSubtotal")
PELMORA_STORED_PROPERTY(int, setForeColorSubtotal, gridFormat.ForeColorSubtotal,
                        "ForeColorSubtotal")
PELMORA_STORED_PROPERTY(int, setForeColorDataSubtotal, gridFormat.ForeColorDataSubtotal,
                        "ForeColorDataSubtotal")
PELMORA_STORED_PROPERTY(const QString &, setDataFormat, gridFormat.DataFormat, "DataFormat")
PELMORA_STORED_PROPERTY(bool, setFormatSubtotal, gridFormat.FormatSubtotal, "FormatSubtotal")
PELMORA_STORED_PROPERTY(int, setFormatSubtotalLevel, gridFormat.FormatSubtotalLevel,
                        "FormatSubtotalLevel")
PELMORA_STORED_PROPERTY(const QString &, setPreviewComment, previewOptions.PreviewComment,
                        "PreviewComment")
PELMORA_STORED_PROPERTY(bool, setPreviewHeaderAndFooter, previewOptions.PreviewHeaderAndFooter,
                        "PreviewHeaderAndFooter")
PELMORA_STORED_PROPERTY(bool, setPreviewComments, previewOptions.PreviewComments, "PreviewComments")
PELMORA_STORED_PROPERTY(bool, setPreviewTitle, previewOptions.PreviewTitle, "PreviewTitle")
PELMORA_STORED_PROPERTY(bool, setPreviewHeadings, previewOptions.PreviewHeadings, "PreviewHeadings")
PELMORA_STORED_PROPERTY(bool, setPreviewData, previewOptions.PreviewData, "PreviewData")
PELMORA_STORED_PROPERTY(bool, setPreviewChart, previewOptions.PreviewChart, "PreviewChart")
PELMORA_STORED_PROPERTY(bool, setPreviewChartInNewPage, previewOptions.PreviewChartInNewPage,
                        "PreviewChartInNewPage")
PELMORA_STORED_PROPERTY(bool, setPreviewBW, previewOptions.PreviewBW, "PreviewBW")

#undef PELMORA_STORED_PROPERTY

// --- Behaviour and caption ------------------------------------------------------------------

void PelmoraC02::setEnabledProperty(bool value)
{
    controlFlags.Enabled = value;
    setEnabled(value);
    lblCubo->setEnabled(value);
    el1->setEnabled(value);
    grdTitulos->setEnabled(value);
    grdResults->setEnabled(value);
    tbToolBar->setEnabled(value);
    emit PropertyChanged(QStringLiteral("Enabled"));
}

QString PelmoraC02::caption() const
{
    return lblCubo->text();
}

void PelmoraC02::setCaption(const QString &value)
{
    lblCubo->setText(value);
    emit PropertyChanged(QStringLiteral("Caption"));
}

// --- Grid look ------------------------------------------------------------------------------

void PelmoraC02::setBackColorData(int value)
{
    gridFormat.BackColorData = value;
    for (FlexGrid *grid : bothGrids(grdTitulos, grdResults))
        grid->setBackColor(value);
    emit PropertyChanged(QStringLiteral("BackColorData"));
}

void PelmoraC02::setBackColor(int value)
{
    gridFormat.BackColor = value;
    setLabelColour(lblCubo, QPalette::Window, value);
    for (FlexGrid *grid : bothGrids(grdTitulos, grdResults))
        grid->setBackColorFixed(value);
    emit PropertyChanged(QStringLiteral("BackColor"));
}

void PelmoraC02::setForeColorData(int value)
{
    gridFormat.ForeColorData = value;
    for (FlexGrid *grid : bothGrids(grdTitulos, grdResults))
        grid->setForeColor(value);
    emit PropertyChanged(QStringLiteral("ForeColorData"));
}

void PelmoraC02::setForeColor(int value)
{
    gridFormat.ForeColor = value;
    setLabelColour(lblCubo, QPalette::WindowText, value);
    for (FlexGrid *grid : bothGrids(grdTitulos, grdResults))
        grid->setForeColorFixed(value);
    emit PropertyChanged(QStringLiteral("ForeColor"));
}

void PelmoraC02::setGridColorData(int value)
{
    gridFormat.GridColorData = value;
    for (FlexGrid *grid : bothGrids(grdTitulos, grdResults))
        grid->setGridColor(value);
    emit PropertyChanged(QStringLiteral("GridColorData"));
}

void PelmoraC02::setGridColor(int value)
{
    gridFormat.GridColor = value;
    for (FlexGrid *grid : bothGrids(grdTitulos, grdResults))
        grid->setGridColorFixed(value);
    emit PropertyChanged(QStringLiteral("GridColor"));
}

bool PelmoraC02::wordWrap() const
{
    return grdResults->wordWrap();
}

void PelmoraC02::setWordWrap(bool value)
{
    for (FlexGrid *grid : bothGrids(grdTitulos, grdResults))
        grid->setWordWrap(value);
    emit PropertyChanged(QStringLiteral("WordWrap"));
}

void PelmoraC02::setAppearance(int value)
{
    gridFormat.Appearance = value;
    for (FlexGrid *grid : bothGrids(grdTitulos, grdResults))
        grid->setAppearance(value);
    emit PropertyChanged(QStringLiteral("Appearance"));
}

void PelmoraC02::setGridLinesData(int value)
{
    gridFormat.GridLinesData = value;
    for (FlexGrid *grid : bothGrids(grdTitulos, grdResults))
        grid->setGridLines(value);
    emit PropertyChanged(QStringLiteral("GridLinesData"));
}

void PelmoraC02::setGridLines(int value)
{
    gridFormat.GridLines = value;
    for (FlexGrid *grid : bothGrids(grdTitulos, grdResults))
        grid->setGridLinesFixed(value);
    emit PropertyChanged(QStringLiteral("GridLines"));
}

void PelmoraC02::setGridLinesWidth(int value)
{
    gridFormat.GridLinesWidth = value;
    for (FlexGrid *grid : bothGrids(grdTitulos, grdResults))
        grid->setGridLineWidth(value);
    emit PropertyChanged(QStringLiteral("GridLinesWidth"));
}
