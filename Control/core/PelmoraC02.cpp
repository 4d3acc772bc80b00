#include "Control/core/PelmoraC02.h"

#include "Control/core/ClickRelay.h"
#include "Control/core/ErrorTrap.h"
#include "Control/core/ToolbarButtons.h"
#include "platform/forms/FontObject.h"
#include "platform/forms/MsgBox.h"
#include "platform/grid/FlexGrid.h"
#include "platform/printer/Printer.h"
#include "platform/widgets/CommonDialog.h"
#include "platform/widgets/ElasticPanel.h"
#include "platform/widgets/ImageList.h"
#include "platform/widgets/Toolbar.h"

#include <QLabel>
#include <QMouseEvent>
#include <QShowEvent>
#include <QVBoxLayout>

using platform::widgets::ButtonStyle;
using platform::widgets::ElasticPanel;

namespace {

// The fixed height of the titles grid's pane, in twips (about five rows of text).
constexpr int headingsPaneTwips = 1440;

} // namespace

PelmoraC02::PelmoraC02(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("PelmoraC02"));
    buildChildren();
    bindActions();
    UserControl_Initialize();
}

PelmoraC02::~PelmoraC02() = default;

void PelmoraC02::buildChildren()
{
    ImageList1 = new platform::widgets::ImageList(this);
    ImageList1->setObjectName(QStringLiteral("ImageList1"));
    for (int image = 1; image <= pelmora::toolbarImageCount; ++image)
        ImageList1->add(pelmora::toolbarImage(image));

    tbToolBar = new platform::widgets::Toolbar(this);
    tbToolBar->setObjectName(QStringLiteral("tbToolBar"));
    tbToolBar->setImageList(ImageList1);
    for (const pelmora::ToolbarItem &item : pelmora::toolbarItems()) {
        if (item.key.isEmpty())
            tbToolBar->addButton(QString(), ButtonStyle::Separator);
        else
            tbToolBar->addButton(item.key, ButtonStyle::Default, item.image, item.toolTipText);
    }
    connect(tbToolBar, &platform::widgets::Toolbar::buttonClick, this,
            &PelmoraC02::tbToolBar_ButtonClick);

    controlFont = new platform::forms::FontObject(this);
    controlFont->setObjectName(QStringLiteral("Font"));

    dlg = new platform::widgets::CommonDialog(this);
    dlg->setObjectName(QStringLiteral("dlg"));
    vpLocal = new platform::printer::Printer(this);
    vpLocal->setObjectName(QStringLiteral("vpLocal"));
    vpLocal->hide();

    el1 = new ElasticPanel(this);
    el1->setObjectName(QStringLiteral("el1"));
    lblCubo = new QLabel(QStringLiteral("Cubo"));
    lblCubo->setObjectName(QStringLiteral("lblCubo"));
    grdTitulos = new platform::grid::FlexGrid;
    grdTitulos->setCols(2);
    grdTitulos->setFixedCols(1);
    grdTitulos->setObjectName(QStringLiteral("grdTitulos"));
    grdResults = new platform::grid::FlexGrid;
    grdResults->setObjectName(QStringLiteral("grdResults"));
    chartArea = new QWidget;
    chartArea->setObjectName(QStringLiteral("chartArea"));
    el1->addPane(lblCubo, ElasticPanel::NaturalSize);
    el1->addPane(grdTitulos, headingsPaneTwips);
    el1->addPane(grdResults, ElasticPanel::ElasticSize);
    el1->addPane(chartArea, ElasticPanel::ElasticSize);
    // The user drags the boundary between the grids and the charts.
    el1->setPaneSplit(3, true);
    buildCharts();

    using platform::grid::FlexGrid;
    pelmora::relayClicks(
        lblCubo, [this] { lblCubo_Click(); }, [this] { lblCubo_DblClick(); });
    connect(grdResults, &FlexGrid::clicked, this, &PelmoraC02::grdResults_Click);
    connect(grdResults, &FlexGrid::doubleClicked, this, &PelmoraC02::grdResults_DblClick);
    connect(grdResults, &FlexGrid::keyDown, this, &PelmoraC02::grdResults_KeyDown);
    connect(grdResults, &FlexGrid::keyUp, this, &PelmoraC02::grdResults_KeyUp);
    connect(grdTitulos, &FlexGrid::clicked, this, &PelmoraC02::grdTitulos_Click);
    connect(grdTitulos, &FlexGrid::doubleClicked, this, &PelmoraC02::grdTitulos_DblClick);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(tbToolBar);
    layout->addWidget(el1, 1);
}

void PelmoraC02::bindActions()
{
    using K = pelmora::ActionKeyword;
    pelmora::ActionTable &t = actionTable;
    t.bind(K::ConectaCuboNI, [this] { return cubeConnectNI(false); });
    t.bind(K::OpenParam, [this] { return openOlap(); });
    t.bind(K::OpenOlap, [this] {
        // The user picks a new source; the database and cube stay as the first suggestion.
        openParams.OpenView.clear();
        openParams.OpenFile.clear();
        openParams.OpenWWWDir.clear();
        openParams.OpenServer.clear();
        return openOlap();
    });
    t.bind(K::SaveView, [this] { return saveView(); });
    t.bind(K::PrintView, [this] { return printView(); });
    t.bind(K::ExportView, [this] { return loadPreview(QStringLiteral("EXPORT"), vpLocal); });
    t.bind(K::CopyView, [this] { return copyView(); });
    t.bind(K::DirectMDX, [this] { return directMDX(); });
    t.bind(K::ShowElements, [this] { return showElements(); });
    t.bind(K::ShowChart2d, [this] { return showChart2d(); });
    t.bind(K::ShowChart3d, [this] { return showChart3d(); });
    t.bind(K::DoSwapXY, [this] { return doSwapXY(); });
    t.bind(K::ShowLayout, [this] { return showLayout(); });
    t.bind(K::DimensionOptions, [this] { return dimensionOptions(); });
    t.bind(K::DoFormat, [this] { return doFormat(); });
    // These three answer True whatever happened: their failures have been reported.
    t.bind(K::AboutBox, [this] {
        ShowAboutBox();
        return true;
    });
    t.bind(K::Splash, [this] {
        ShowSplash();
        return true;
    });
    t.bind(K::CambiaTitulo, [this] {
        changeTitle();
        return true;
    });
    t.bind(K::WriteRegistry, [this] { return writeRegistry(); });
    t.bind(K::WriteChartRegistry, [this] { return writeChartRegistry(); });
    t.bind(K::WritePreviewRegistry, [this] { return writePreviewRegistry(); });
    t.bind(K::ReadRegistry, [this] { return readRegistry(); });
    t.bind(K::StartLog, [this] {
        controlFlags.logging = 1;
        return true;
    });
    t.bind(K::EndLog, [this] {
        controlFlags.logging = 0;
        return true;
    });
}

bool PelmoraC02::doAction(const QString &action)
{
    // A command that arrives while a web address downloads is ignored.
    if (connState.waitingForDownload)
        return false;
    return pelmora::trapped(QStringLiteral("doAction: "), [&] {
        if (!settingsRead) {
            settingsRead = true;
            doAction(QStringLiteral("READREGISTRY"));
        }
        if (const std::optional<pelmora::ActionKeyword> keyword =
                pelmora::findActionKeyword(action))
            return actionTable.run(*keyword);
        return false;
    });
}

void PelmoraC02::newOrderDim(int i, const QString &uniqueName, const QString &caption,
                             const QString &dimName, int dimType)
{
    pelmora::trapped(QStringLiteral("newOrderDim: "), [&] {
        pelmora::newOrderDim(layoutState, i, uniqueName, caption, dimName, dimType);
    });
}

void PelmoraC02::setOrderDim(int i, int jerarquia, int jerarquiaSalto, int lugar,
                             const QString &nombre, const QString &opcionCampo, int opcionTipo,
                             int opcionTipoReg, int opcionValor, int orden, int ordenTipo,
                             int profundidad, int tipo, bool vacio)
{
    pelmora::trapped(QStringLiteral("setOrderDim: "), [&] {
        pelmora::setOrderDim(layoutState, i, jerarquia, jerarquiaSalto, lugar, nombre, opcionCampo,
                             opcionTipo, opcionTipoReg, opcionValor, orden, ordenTipo, profundidad,
                             tipo, vacio);
    });
}

QString PelmoraC02::saveDialog(const QString &title, const QString &filter, bool reportCancel)
{
    return pelmora::trapped(QStringLiteral("saveDialog: "), [&] {
        dlg->setDialogTitle(title);
        // Without the cancel error a cancelled dialog leaves the empty name set below.
        dlg->setCancelError(reportCancel);
        dlg->setFileName(QString());
        dlg->setFilter(filter);
        dlg->showSave();
        return dlg->fileName();
    });
}

QString PelmoraC02::message(int i)
{
    return pelmora::trapped(
        QStringLiteral("message: "),
        [&] { return pelmora::messageText(messageTables, language.LanguageID, i); },
        QStringLiteral("E: ") + QString::number(i));
}

void PelmoraC02::UserControl_Initialize()
{
    pelmora::trapped(QStringLiteral("UserControl_Initialize:"), [&] {
        controlFlags.logging = 0;
        pelmora::fillMessageTables(messageTables);
        connState.interactiveRequested = false;
        prepareCharts();
    });
}

void PelmoraC02::UserControl_Show()
{
    pelmora::trapped(QStringLiteral("UserControl_Show:"), [&] {
        if (!controlFlags.Enabled || connState.waitingForDownload)
            return;
        if (!pelmora::connectionWanted(openParams))
            return;
        if (!doAction(QStringLiteral("CONECTACUBONI"))) {
            platform::forms::msgBox(message(0), platform::forms::OkOnly);
            return;
        }
        if (openParams.MDX.isEmpty()) {
            genSelect();
        } else if (MDXExecute(openParams.MDX)) {
            // A fixed statement makes the view a report: no gestures, no layout commands.
            controlFlags.Interactive = false;
            showLayoutButtons(false);
            grdTitulos->setVisible(false);
        }
    });
}

void PelmoraC02::UserControl_Click()
{
    emit Click();
}

void PelmoraC02::UserControl_DblClick()
{
    emit DblClick();
}

void PelmoraC02::UserControl_AsyncReadComplete(const AsyncProperty &AsyncProp)
{
    pelmora::trapped(QStringLiteral("UserControl_AsyncReadComplete:"), [&] {
        if (AsyncProp.PropertyName != QLatin1String("OpenWWWDir"))
            return;
        if (AsyncProp.failed) {
            connState.downloadState = pelmora::DownloadFailed;
            return;
        }
        openParams.OpenFile = AsyncProp.Value;
        connState.downloadState = pelmora::DownloadDone;
    });
}

void PelmoraC02::tbToolBar_ButtonClick(platform::widgets::ToolbarButton *Button)
{
    pelmora::trapped(QStringLiteral("tbToolBar_ButtonClick:"), [&] {
        if (!Button)
            return;
        doAction(Button->key());
        emit Click();
    });
}

void PelmoraC02::showCubeButtons(bool flag)
{
    for (int index : pelmora::cubeButtonItems())
        tbToolBar->button(index)->setVisible(flag);
}

void PelmoraC02::showLayoutButtons(bool flag)
{
    for (int index : pelmora::layoutButtonItems())
        tbToolBar->button(index)->setVisible(flag);
}

void PelmoraC02::setVisible(bool visible)
{
    if (!visible && !isHidden())
        m_startUpDue = true;
    QWidget::setVisible(visible);
}

void PelmoraC02::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    // The container shows the control: the first time, or after it had hidden the control.
    // A window arranged, activated, maximised or restored shows it again with itself; the
    // view the user browsed stays, and the window system's own re-shows count neither.
    if (event->spontaneous() || !m_startUpDue)
        return;
    m_startUpDue = false;
    UserControl_Show();
}

void PelmoraC02::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mousePressEvent(event);
        return;
    }
    // A press always follows the release that ends a double click; when that release went
    // elsewhere (the container opened a dialog on DblClick), it is no longer awaited.
    m_afterDoubleClick = false;
    m_pressed = true;
    event->accept();
}

void PelmoraC02::mouseReleaseEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseReleaseEvent(event);
        return;
    }
    event->accept();
    const bool pressed = m_pressed;
    m_pressed = false;
    // The release that ends a double click raises no second Click.
    if (m_afterDoubleClick) {
        m_afterDoubleClick = false;
        return;
    }
    if (pressed && rect().contains(event->position().toPoint()))
        UserControl_Click();
}

void PelmoraC02::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton) {
        QWidget::mouseDoubleClickEvent(event);
        return;
    }
    event->accept();
    m_pressed = true;
    m_afterDoubleClick = true;
    UserControl_DblClick();
}
