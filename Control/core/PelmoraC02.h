#pragma once

#include "Control/core/ActionKeywords.h"
#include "Control/core/ControlState.h"
#include "Control/core/LayoutRecords.h"
#include "Control/core/Messages.h"
#include "platform/grid/FlexGrid.h"

#include <QString>
#include <QVariant>
#include <QWidget>

#include <memory>

class QDialog;
class QLabel;
class frmPareto;

namespace platform::olap {
class Cell;
class CellsetAxis;
} // namespace platform::olap

namespace pelmora {
struct ViewFile;
} // namespace pelmora

namespace platform::automation {
class PropertyBag;
} // namespace platform::automation

namespace platform::chart {
class Chart2D;
class Chart3D;
} // namespace platform::chart

namespace platform::printer {
class Printer;
} // namespace platform::printer

namespace platform::runtime {
class ShownNumberReader;
} // namespace platform::runtime

namespace platform::widgets {
class CommonDialog;
class ElasticPanel;
class ImageList;
class Toolbar;
class ToolbarButton;
} // namespace platform::widgets

// The cube browser control. Containers create it by its class name "PelmoraApp.PelmoraC02"
// and drive it through its properties, its invokable methods and its events; everything else
// public here is the control's own, shared by the control's subsystems.
class PelmoraC02 : public QWidget
{
    Q_OBJECT

    // The automation properties, in the order of their dispatch ids (0x6803005C down to
    // 0x68030000). Every write ends with PropertyChanged carrying the property's name.
    Q_PROPERTY(bool VisibleTitle READ visibleTitle WRITE setVisibleTitle)
    Q_PROPERTY(bool VisibleHeading READ visibleHeading WRITE setVisibleHeading)
    Q_PROPERTY(bool VisibleMatrix READ visibleMatrix WRITE setVisibleMatrix)
    Q_PROPERTY(bool VisibleChart READ visibleChart WRITE setVisibleChart)
    Q_PROPERTY(bool VisibleToolBar READ visibleToolBar WRITE setVisibleToolBar)
    Q_PROPERTY(bool VisibleButtonOpen READ visibleButtonOpen WRITE setVisibleButtonOpen)
    Q_PROPERTY(bool VisibleButtonSave READ visibleButtonSave WRITE setVisibleButtonSave)
    Q_PROPERTY(bool VisibleButtonPrint READ visibleButtonPrint WRITE setVisibleButtonPrint)
    Q_PROPERTY(bool VisibleButtonExport READ visibleButtonExport WRITE setVisibleButtonExport)
    Q_PROPERTY(bool VisibleButtonCopy READ visibleButtonCopy WRITE setVisibleButtonCopy)
    Q_PROPERTY(
        bool VisibleButtonDirectMDX READ visibleButtonDirectMDX WRITE setVisibleButtonDirectMDX)
    Q_PROPERTY(bool VisibleButtonShowElements READ visibleButtonShowElements WRITE
                   setVisibleButtonShowElements)
    Q_PROPERTY(bool VisibleButtonChart2d READ visibleButtonChart2d WRITE setVisibleButtonChart2d)
    Q_PROPERTY(bool VisibleButtonChart3d READ visibleButtonChart3d WRITE setVisibleButtonChart3d)
    Q_PROPERTY(bool VisibleButtonSwapXY READ visibleButtonSwapXY WRITE setVisibleButtonSwapXY)
    Q_PROPERTY(bool VisibleButtonLayout READ visibleButtonLayout WRITE setVisibleButtonLayout)
    Q_PROPERTY(
        bool VisibleButtonDimension READ visibleButtonDimension WRITE setVisibleButtonDimension)
    Q_PROPERTY(bool VisibleButtonFormat READ visibleButtonFormat WRITE setVisibleButtonFormat)
    Q_PROPERTY(bool VisibleButtonAbout READ visibleButtonAbout WRITE setVisibleButtonAbout)
    Q_PROPERTY(int LanguageID READ languageId WRITE setLanguageId) // pelmoraLanguageIds
    Q_PROPERTY(QString OpenServer READ openServer WRITE setOpenServer)
    Q_PROPERTY(QString OpenDB READ openDb WRITE setOpenDb)
    Q_PROPERTY(QString openCube READ openCube WRITE setOpenCube)
    Q_PROPERTY(QString OpenFile READ openFile WRITE setOpenFile)
    Q_PROPERTY(QString OpenWWWDir READ openWwwDir WRITE setOpenWwwDir)
    Q_PROPERTY(QString OpenView READ openView WRITE setOpenView)
    Q_PROPERTY(QString MDX READ mdx WRITE setMdx)
    Q_PROPERTY(int ValueType READ valueType WRITE setValueType) // pelmoraValueTypes
    Q_PROPERTY(double SemaphoreMinValue READ semaphoreMinValue WRITE setSemaphoreMinValue)
    Q_PROPERTY(double SemaphoreMaxValue READ semaphoreMaxValue WRITE setSemaphoreMaxValue)
    Q_PROPERTY(int ThresholdMinBackColor READ thresholdMinBackColor WRITE setThresholdMinBackColor)
    Q_PROPERTY(int ThresholdMedBackColor READ thresholdMedBackColor WRITE setThresholdMedBackColor)
    Q_PROPERTY(int ThresholdMaxBackColor READ thresholdMaxBackColor WRITE setThresholdMaxBackColor)
    Q_PROPERTY(int ThresholdMinForeColor READ thresholdMinForeColor WRITE setThresholdMinForeColor)
    Q_PROPERTY(int ThresholdMedForeColor READ thresholdMedForeColor WRITE setThresholdMedForeColor)
    Q_PROPERTY(int ThresholdMaxForeColor READ thresholdMaxForeColor WRITE setThresholdMaxForeColor)
    Q_PROPERTY(bool Interactive READ interactive WRITE setInteractive)
    Q_PROPERTY(bool Enabled READ getEnabledProperty WRITE setEnabledProperty)
    Q_PROPERTY(QString Caption READ caption WRITE setCaption)
    // The fonts are platform::forms::FontObject.
    Q_PROPERTY(QObject *Font READ fontProperty WRITE setFontProperty)
    Q_PROPERTY(QObject *FontData READ fontData WRITE setFontData)
    Q_PROPERTY(QObject *FontSubtotal READ fontSubtotal WRITE setFontSubtotal)
    Q_PROPERTY(QObject *FontDataSubtotal READ fontDataSubtotal WRITE setFontDataSubtotal)
    Q_PROPERTY(int BackColorData READ backColorData WRITE setBackColorData)
    Q_PROPERTY(int BackColorSubtotal READ backColorSubtotal WRITE setBackColorSubtotal)
    Q_PROPERTY(int BackColorDataSubtotal READ backColorDataSubtotal WRITE setBackColorDataSubtotal)
    Q_PROPERTY(int BackColor READ backColor WRITE setBackColor)
    Q_PROPERTY(int ForeColorData READ foreColorData WRITE setForeColorData)
    Q_PROPERTY(int ForeColorSubtotal READ foreColorSubtotal WRITE setForeColorSubtotal)
    Q_PROPERTY(int ForeColorDataSubtotal READ foreColorDataSubtotal WRITE setForeColorDataSubtotal)
    Q_PROPERTY(int ForeColor READ foreColor WRITE setForeColor)
    Q_PROPERTY(int GridColorData READ gridColorData WRITE setGridColorData)
    Q_PROPERTY(int GridColor READ gridColor WRITE setGridColor)
    Q_PROPERTY(bool WordWrap READ wordWrap WRITE setWordWrap)
    Q_PROPERTY(int Appearance READ appearance WRITE setAppearance) // pelmoraAppearanceSettings
    Q_PROPERTY(QString DataFormat READ dataFormat WRITE setDataFormat)
    Q_PROPERTY(int GridLinesData READ gridLinesData WRITE setGridLinesData)
    Q_PROPERTY(int GridLines READ gridLines WRITE setGridLines)
    Q_PROPERTY(int GridLinesWidth READ gridLinesWidth WRITE setGridLinesWidth)
    Q_PROPERTY(bool FormatSubtotal READ formatSubtotal WRITE setFormatSubtotal)
    Q_PROPERTY(int FormatSubtotalLevel READ formatSubtotalLevel WRITE setFormatSubtotalLevel)
    Q_PROPERTY(QString PreviewComment READ previewComment WRITE setPreviewComment)
    Q_PROPERTY(
        bool PreviewHeaderAndFooter READ previewHeaderAndFooter WRITE setPreviewHeaderAndFooter)
    Q_PROPERTY(bool PreviewComments READ previewComments WRITE setPreviewComments)
    Q_PROPERTY(bool PreviewTitle READ previewTitle WRITE setPreviewTitle)
    Q_PROPERTY(bool PreviewHeadings READ previewHeadings WRITE setPreviewHeadings)
    Q_PROPERTY(bool PreviewData READ previewData WRITE setPreviewData)
    Q_PROPERTY(bool PreviewChart READ previewChart WRITE setPreviewChart)
    Q_PROPERTY(bool PreviewChartInNewPage READ previewChartInNewPage WRITE setPreviewChartInNewPage)
    Q_PROPERTY(bool PreviewBW READ previewBW WRITE setPreviewBW)

public:
    // The panes of the elastic panel el1, top to bottom.
    enum Pane : int { TitlePane = 0, HeadingsPane = 1, MatrixPane = 2, ChartPane = 3 };

    explicit PelmoraC02(QWidget *parent = nullptr);
    ~PelmoraC02() override;

    // Runs the command a keyword names (without regard to case) and answers its result; False
    // for a keyword it does not know. The first call of an instance reads the stored defaults
    // before anything else.
    Q_INVOKABLE bool doAction(const QString &action);

    // State.
    pelmora::ControlFlags controlFlags;
    pelmora::Language language;
    pelmora::OpenParams openParams;
    pelmora::ConnState connState;
    pelmora::QueryState queryState;
    pelmora::LayoutState layoutState;
    pelmora::GestureState gestureState;
    pelmora::GridFormat gridFormat;
    pelmora::ValueFormat valueFormat;
    pelmora::DisplayFlags displayFlags;
    pelmora::PreviewOptions previewOptions;
    pelmora::MessageTables messageTables;
    // The procedure behind each command keyword.
    pelmora::ActionTable actionTable;

    // Child controls. The chart area holds the two charts in the chart pane.
    QLabel *lblCubo = nullptr;
    platform::widgets::Toolbar *tbToolBar = nullptr;
    platform::widgets::ImageList *ImageList1 = nullptr;
    platform::widgets::CommonDialog *dlg = nullptr;
    platform::widgets::ElasticPanel *el1 = nullptr;
    platform::grid::FlexGrid *grdTitulos = nullptr;
    platform::grid::FlexGrid *grdResults = nullptr;
    QWidget *chartArea = nullptr;
    // The 2-D and 3-D charts of the data grid, in the chart area.
    platform::chart::Chart2D *grf2d = nullptr;
    platform::chart::Chart3D *grf3d = nullptr;
    // The control's own font (the property Font): the caption label, the grids and the chart
    // titles take it over. Owned by the control.
    platform::forms::FontObject *controlFont = nullptr;
    platform::printer::Printer *vpLocal = nullptr; // the export target, never shown

    // Layout records (the trapped ones report "newOrderDim: " or "setOrderDim: ").
    void newOrderDim(int i, const QString &uniqueName, const QString &caption,
                     const QString &dimName, int dimType);
    void setOrderDim(int i, int jerarquia, int jerarquiaSalto, int lugar, const QString &nombre,
                     const QString &opcionCampo, int opcionTipo, int opcionTipoReg, int opcionValor,
                     int orden, int ordenTipo, int profundidad, int tipo, bool vacio);
    void clearOrdenCampos(int i) { pelmora::clearOrdenCampos(layoutState, i); }
    void clearPadreLlave(int i) { pelmora::clearPadreLlave(layoutState, i); }
    void clearPadreTexto(int i) { pelmora::clearPadreTexto(layoutState, i); }
    int findOrderDim(int axis, int position) const
    {
        return pelmora::findOrderDim(layoutState, axis, position);
    }
    int countOrderDims(int axis) const { return pelmora::countOrderDims(layoutState, axis); }
    int findOrderDimByName(const QString &name) const
    {
        return pelmora::findOrderDimByName(layoutState, name);
    }

    // Asks for a file name to save under; empty when the user cancels (reported as
    // "saveDialog: " and the description, unless `reportCancel` is false).
    QString saveDialog(const QString &title, const QString &filter, bool reportCancel = true);

    // Text i of the control's language (see pelmora::messageText); an entry that does not
    // exist is reported as "message: " and the description, and gives "E: " and i.
    QString message(int i);

    // Start-up and events.
    void UserControl_Initialize();
    void UserControl_Show();
    // Hiding the control itself (not a window around it) makes the next show run the start-up.
    void setVisible(bool visible) override;
    void UserControl_Click();
    void UserControl_DblClick();

    // The end of a download started by AsyncRead: the name it was started under, and the
    // local file that holds it, or the reason it failed.
    struct AsyncProperty
    {
        QString PropertyName;
        QString Value;
        bool failed = false;
        QString failure;
    };
    void UserControl_AsyncReadComplete(const AsyncProperty &AsyncProp);
    // Downloads `target` (a web address) to a local file; UserControl_AsyncReadComplete
    // reports the end under `propertyName`.
    void AsyncRead(const QString &target, const QString &propertyName);

    // Toolbar.
    void tbToolBar_ButtonClick(platform::widgets::ToolbarButton *Button);
    void showCubeButtons(bool flag);
    void showLayoutButtons(bool flag);

    // Connecting: each route sets the connection string, (re)opens the connection, binds the
    // catalog, finds the cube and makes the layout records (cubeConnect also runs the first
    // statement). `ask` lets the route ask the user when the open parameters name nothing.
    using QObject::connect;
    bool cubeConnect(bool ask);
    bool cubeConnectNI(bool ask);
    bool connect(bool ask);
    bool askConection();
    bool fileConnect();
    bool olapConnect();
    bool viewConnect();
    bool WwwDirConnect();
    bool bringWwwDir();
    bool interactiveConnect();
    bool openConection();
    // `serverRoute`: bind the database OpenDB names (the provider's first catalog when the
    // server has none of that name); cube files have one catalog and ignore OpenDB.
    bool OpenCatalog(bool serverRoute = false);
    int bringNumCube();
    bool doOpenCube();
    // Reads the view file OpenView into the open parameters, the layout and the look.
    bool readView();

    // Procedures behind the commands.
    bool openOlap();
    bool saveView();
    bool printView();
    // The print preview form, and its printer control in `vp`.
    std::unique_ptr<QDialog> newPreviewForm(platform::printer::Printer *&vp);
    // The view as one document on `printer`: "PREVIEW" for the preview, "EXPORT" for a file.
    bool loadPreview(const QString &mode, platform::printer::Printer *printer);
    void previewHeaderFooter(platform::printer::Printer *printer);
    void previewTitle(platform::printer::Printer *printer);
    void previewComment(platform::printer::Printer *printer);
    void previewTitlesGrid(platform::printer::Printer *printer);
    void previewDataGrid(platform::printer::Printer *printer);
    void exportRtfHeader(platform::printer::Printer *printer, int filterIndex);
    // The picture of the shown chart at the end of the document.
    void previewChart(platform::printer::Printer *printer);
    void previewChart2d(platform::printer::Printer *printer);
    void previewChart3d(platform::printer::Printer *printer);
    void exportPicture(platform::printer::Printer *printer, const QString &pictureFile,
                       int filterIndex);
    // The preview options dialog; True when the user accepted it.
    bool askPreviewParams();
    bool copyView();
    bool directMDX();
    bool showElements();
    bool showChart2d();
    bool showChart3d();
    bool doSwapXY();
    bool showLayout();
    bool dimensionOptions();
    bool doFormat();
    // These three answer whether they ran; their commands then answer True.
    Q_INVOKABLE bool ShowAboutBox();
    Q_INVOKABLE bool ShowSplash();
    bool changeTitle();
    bool writeRegistry();
    bool writeChartRegistry();
    bool writePreviewRegistry();
    bool readRegistry();

    // The query of the layout, and a given statement. MDXExecute answers False only when no
    // cube is open (or a web address is downloading), or when it could not start the
    // statement; a statement that fails is reported and answers True.
    bool genSelect();
    Q_INVOKABLE bool MDXExecute(const QString &strSource);
    QString genWhere();
    QString drillDown(int axis);
    QString drillDownDimension(int axis, int position);
    QString bringLevelName(int d, int n);
    void MDXExe(const QString &s);

    // Repainting after a statement: the titles grid, the data grid and the chart shown from
    // the cell set; an empty result (the titles grid from the records, an empty data grid and
    // chart) when the cell set did not open.
    bool headerPaint();
    bool selectPaint();
    bool refreshChart();
    void paintEmptyResult();
    void prepareGrid(int dataRows, int headerRows, int dataCols, int headerCols);
    void dimensionTitle(int axis, int row, int col);
    // The look (colours, appearance, grid lines, title font) onto the caption and both grids.
    void updFormat();
    // The data font onto the value cells from the given header rows and columns on.
    void applyDataFont(int headerRows, int headerCols);
    // The row captions with the subtotal rule, and the values of the cells.
    void paintRowHeaders(const platform::olap::CellsetAxis &axis, int headerRows, int headerCols);
    void paintCellValues(const platform::olap::Cellset &cellset, int axisCount, int headerRows,
                         int headerCols);

    // The values of the cells and their formatting.
    bool cellFormatProperties(const platform::olap::Cellset &cellset);
    bool cellHasProperty(const platform::olap::Cell &cell, const QString &name);
    QVariant cellPropertyValue(const platform::olap::Cell &cell, const QString &name,
                               const QVariant &defaultValue = QVariant());
    QString cellFormattedText(const platform::olap::Cell &cell);
    void FormatCell(int row, int col, const platform::olap::Cell &cell, int defaultFore,
                    int defaultBack, const QString &defaultFontName, double defaultFontSize);
    void PosNegFormatPaint(int row, int col, double value);
    void SemaphoreFormatPaint(int row, int col, double value, double lower, double upper);
    // Colours a value cell by the number its text shows, as ValueType asks.
    void paintValueColour(int row, int col, const platform::runtime::ShownNumberReader &shown);

    // Each subsystem below declares its procedures under its own heading.

    // --- Gestures: clicks on the caption and the grids, drilling, moving and nesting ---
    // The events of the caption and the grids. Each raises the control's Click or DblClick
    // after its own work, also for a click outside the cells; the grids' work waits for
    // Interactive, the caption's double click (the view title) does not.
    void lblCubo_Click();
    void lblCubo_DblClick();
    void grdResults_Click();
    void grdResults_DblClick();
    void grdResults_KeyDown(int KeyCode, int Shift);
    void grdResults_KeyUp(int KeyCode, int Shift);
    void grdTitulos_Click();
    void grdTitulos_DblClick();
    // Routes a click on the data grid (row and column from 0, fixed cells included) by the
    // picked-up title and Ctrl, then lets go of Ctrl.
    void doMovements(int row, int col);
    // Picks the current slicer title up, or drops the one picked up.
    void titleClick();
    // The dimension options of the current title's dimension, then the query.
    void titleDblClick();
    // A plain click: swaps the axes in the corner, opens a dimension's options on its title,
    // drills down on a member header, or up on the first header of its axis.
    void doDrill(int row, int col);
    // The parent of the member `name` of the cube's dimension `dimension`; the empty member
    // when the member is a top member or the dimension has no such member; nothing when the
    // cube could not be read (reported as "drillUp: ").
    std::optional<platform::olap::Member> drillUp(int dimension, const QString &name);
    void cubePivot();
    // The picked-up slicer dimension and the one under the cell change places (changeDim), or
    // it is nested last on the clicked side (anidateDim); the dimension under the cell goes to
    // the end of the slicer (deAnidateDim).
    void changeDim(int row, int col);
    void anidateDim(int row, int col);
    void deAnidateDim(int row, int col);
    // The dimension options dialog on record i; answers whether it ran (after OK and Cancel
    // alike).
    bool doAnalysis(int i);
    // Record i of the dialog's copies back into orderDim(i) (reported as "bringAnalysis: ").
    void bringAnalysis(int i, const frmPareto &form);

    // --- Fonts onto the caption, the grids and the chart titles ---
    // The control's font onto the caption label, both grids and both charts' headers, then
    // a repaint (reported as "setFonts: " and the description).
    void setFonts();
    // updFormat gives the caption and the grids the control's font object itself: each widget
    // that took it draws in it from then on, following every change of its attributes.
    void takeControlFont(QWidget *widget);
    void controlFontChanged();
    QList<QWidget *> controlFontUsers;

    // --- Charts fed from the data grid, and their events ---
    // The visible chart filled from the data grid (the 2-D one when the chart area is on and
    // shows none); each show makes its chart the visible one and hides the other. Failures are
    // reported as "show2dChart: " or "show3dChart: " and the description.
    bool show2dChart();
    bool show3dChart();
    // Whether a chart is shown, or will be with the control (the container-level Visible).
    static bool chartVisible(const QWidget *chart);
    // Makes both charts, in the chart area, and the start-up calls that prepare them (the 2-D
    // chart visible, the 3-D one hidden).
    void buildCharts();
    void prepareCharts();
    // Both charts without data, for a result that could not be read.
    void emptyCharts();
    void grf2d_Click();
    void grf2d_DblClick();
    void grf3d_Click();
    void grf3d_DblClick();

    // --- Public properties and the property bag ---
    // The automation properties (the Q_PROPERTYs above). A write stores the member, applies
    // the setting to the child controls, then sends PropertyChanged; a child control that
    // refuses the setting throws platform::Error after the member was stored, and then no
    // notification is sent.
    bool visibleTitle() const { return displayFlags.VisibleTitle; }
    void setVisibleTitle(bool value);
    bool visibleHeading() const { return displayFlags.VisibleHeading; }
    void setVisibleHeading(bool value);
    bool visibleMatrix() const { return displayFlags.VisibleMatrix; }
    void setVisibleMatrix(bool value);
    bool visibleChart() const { return displayFlags.VisibleChart; }
    void setVisibleChart(bool value);
    bool visibleToolBar() const { return displayFlags.VisibleToolBar; }
    void setVisibleToolBar(bool value);
    // The button properties have no member: they are the toolbar buttons' own visibility.
    bool visibleButtonOpen() const;
    void setVisibleButtonOpen(bool value);
    bool visibleButtonSave() const;
    void setVisibleButtonSave(bool value);
    bool visibleButtonPrint() const;
    void setVisibleButtonPrint(bool value);
    bool visibleButtonExport() const;
    void setVisibleButtonExport(bool value);
    bool visibleButtonCopy() const;
    void setVisibleButtonCopy(bool value);
    bool visibleButtonDirectMDX() const;
    void setVisibleButtonDirectMDX(bool value);
    bool visibleButtonShowElements() const;
    void setVisibleButtonShowElements(bool value);
    bool visibleButtonChart2d() const;
    void setVisibleButtonChart2d(bool value);
    bool visibleButtonChart3d() const;
    void setVisibleButtonChart3d(bool value);
    bool visibleButtonSwapXY() const;
    void setVisibleButtonSwapXY(bool value);
    bool visibleButtonLayout() const;
    void setVisibleButtonLayout(bool value);
    bool visibleButtonDimension() const;
    void setVisibleButtonDimension(bool value);
    bool visibleButtonFormat() const;
    void setVisibleButtonFormat(bool value);
    bool visibleButtonAbout() const;
    void setVisibleButtonAbout(bool value);
    // 1 is Spanish, anything else English (which also sets the English tooltips).
    int languageId() const { return language.LanguageID; }
    void setLanguageId(int id);
    QString openServer() const { return openParams.OpenServer; }
    void setOpenServer(const QString &value);
    QString openDb() const { return openParams.OpenDB; }
    void setOpenDb(const QString &value);
    QString openCube() const { return openParams.openCube; }
    void setOpenCube(const QString &value);
    QString openFile() const { return openParams.OpenFile; }
    void setOpenFile(const QString &value);
    QString openWwwDir() const { return openParams.OpenWWWDir; }
    void setOpenWwwDir(const QString &value);
    QString openView() const { return openParams.OpenView; }
    void setOpenView(const QString &value);
    QString mdx() const { return openParams.MDX; }
    void setMdx(const QString &value);
    int valueType() const { return valueFormat.ValueType; }
    void setValueType(int value);
    double semaphoreMinValue() const { return valueFormat.SemaphoreMinValue; }
    void setSemaphoreMinValue(double value);
    double semaphoreMaxValue() const { return valueFormat.SemaphoreMaxValue; }
    void setSemaphoreMaxValue(double value);
    int thresholdMinBackColor() const { return valueFormat.ThresholdMinBackColor; }
    void setThresholdMinBackColor(int value);
    int thresholdMedBackColor() const { return valueFormat.ThresholdMedBackColor; }
    void setThresholdMedBackColor(int value);
    int thresholdMaxBackColor() const { return valueFormat.ThresholdMaxBackColor; }
    void setThresholdMaxBackColor(int value);
    int thresholdMinForeColor() const { return valueFormat.ThresholdMinForeColor; }
    void setThresholdMinForeColor(int value);
    int thresholdMedForeColor() const { return valueFormat.ThresholdMedForeColor; }
    void setThresholdMedForeColor(int value);
    int thresholdMaxForeColor() const { return valueFormat.ThresholdMaxForeColor; }
    void setThresholdMaxForeColor(int value);
    bool interactive() const { return controlFlags.Interactive; }
    void setInteractive(bool value);
    // Enabled is the stored member; writing it enables or disables the control and its
    // children (not QWidget's enabled, which it also sets).
    bool getEnabledProperty() const { return controlFlags.Enabled; }
    void setEnabledProperty(bool value);
    // The caption label's text; no member.
    QString caption() const;
    void setCaption(const QString &value);
    // Font reads a copy of the control's own font (the control's one copy, refreshed at each
    // read); FontData, FontSubtotal and FontDataSubtotal read the member font itself. Writing
    // takes a platform::forms::FontObject and copies its attributes through the attribute
    // properties below; any other object, or none, changes nothing.
    QObject *fontProperty();
    void setFontProperty(QObject *value);
    QObject *fontData();
    void setFontData(QObject *value);
    QObject *fontSubtotal();
    void setFontSubtotal(QObject *value);
    QObject *fontDataSubtotal();
    void setFontDataSubtotal(QObject *value);
    int backColorData() const { return gridFormat.BackColorData; }
    void setBackColorData(int value);
    int backColorSubtotal() const { return gridFormat.BackColorSubtotal; }
    void setBackColorSubtotal(int value);
    int backColorDataSubtotal() const { return gridFormat.BackColorDataSubtotal; }
    void setBackColorDataSubtotal(int value);
    int backColor() const { return gridFormat.BackColor; }
    void setBackColor(int value);
    int foreColorData() const { return gridFormat.ForeColorData; }
    void setForeColorData(int value);
    int foreColorSubtotal() const { return gridFormat.ForeColorSubtotal; }
    void setForeColorSubtotal(int value);
    int foreColorDataSubtotal() const { return gridFormat.ForeColorDataSubtotal; }
    void setForeColorDataSubtotal(int value);
    int foreColor() const { return gridFormat.ForeColor; }
    void setForeColor(int value);
    int gridColorData() const { return gridFormat.GridColorData; }
    void setGridColorData(int value);
    int gridColor() const { return gridFormat.GridColor; }
    void setGridColor(int value);
    // The data grid's own setting; no member.
    bool wordWrap() const;
    void setWordWrap(bool value);
    int appearance() const { return gridFormat.Appearance; }
    void setAppearance(int value);
    QString dataFormat() const { return gridFormat.DataFormat; }
    void setDataFormat(const QString &value);
    int gridLinesData() const { return gridFormat.GridLinesData; }
    void setGridLinesData(int value);
    int gridLines() const { return gridFormat.GridLines; }
    void setGridLines(int value);
    int gridLinesWidth() const { return gridFormat.GridLinesWidth; }
    void setGridLinesWidth(int value);
    bool formatSubtotal() const { return gridFormat.FormatSubtotal; }
    void setFormatSubtotal(bool value);
    int formatSubtotalLevel() const { return gridFormat.FormatSubtotalLevel; }
    void setFormatSubtotalLevel(int value);
    QString previewComment() const { return previewOptions.PreviewComment; }
    void setPreviewComment(const QString &value);
    bool previewHeaderAndFooter() const { return previewOptions.PreviewHeaderAndFooter; }
    void setPreviewHeaderAndFooter(bool value);
    bool previewComments() const { return previewOptions.PreviewComments; }
    void setPreviewComments(bool value);
    bool previewTitle() const { return previewOptions.PreviewTitle; }
    void setPreviewTitle(bool value);
    bool previewHeadings() const { return previewOptions.PreviewHeadings; }
    void setPreviewHeadings(bool value);
    bool previewData() const { return previewOptions.PreviewData; }
    void setPreviewData(bool value);
    bool previewChart() const { return previewOptions.PreviewChart; }
    void setPreviewChart(bool value);
    bool previewChartInNewPage() const { return previewOptions.PreviewChartInNewPage; }
    void setPreviewChartInNewPage(bool value);
    bool previewBW() const { return previewOptions.PreviewBW; }
    void setPreviewBW(bool value);

    // The font attributes, one by one (not automation properties). Each write sends
    // PropertyChanged with its own name. The Font group restyles the caption, the grids and
    // the chart titles (setFonts), the FontData group the value cells (applyDataFont); the
    // subtotal groups change nothing on the screen until the next paint.
    bool fontBold() const;
    void setFontBold(bool value);
    int fontCharset() const;
    void setFontCharset(int value);
    bool fontItalic() const;
    void setFontItalic(bool value);
    QString fontName() const;
    void setFontName(const QString &value);
    double fontSize() const;
    void setFontSize(double value);
    bool fontStrikethrough() const;
    void setFontStrikethrough(bool value);
    bool fontUnderLine() const;
    void setFontUnderLine(bool value);
    int fontWeight() const;
    void setFontWeight(int value);
    bool fontDataBold();
    void setFontDataBold(bool value);
    bool fontDataItalic();
    void setFontDataItalic(bool value);
    QString fontDataName();
    void setFontDataName(const QString &value);
    double fontDataSize();
    void setFontDataSize(double value);
    bool fontDataUnderLine();
    void setFontDataUnderLine(bool value);
    bool fontSubtotalBold();
    void setFontSubtotalBold(bool value);
    bool fontSubtotalItalic();
    void setFontSubtotalItalic(bool value);
    QString fontSubtotalName();
    void setFontSubtotalName(const QString &value);
    double fontSubtotalSize();
    void setFontSubtotalSize(double value);
    bool fontSubtotalUnderLine();
    void setFontSubtotalUnderLine(bool value);
    bool fontDataSubtotalBold();
    void setFontDataSubtotalBold(bool value);
    bool fontDataSubtotalItalic();
    void setFontDataSubtotalItalic(bool value);
    QString fontDataSubtotalName();
    void setFontDataSubtotalName(const QString &value);
    double fontDataSubtotalSize();
    void setFontDataSubtotalSize(double value);
    bool fontDataSubtotalUnderLine();
    void setFontDataSubtotalUnderLine(bool value);
    // The container's font: new instances take it, and the property bag stores only the font
    // attributes that differ from it (a missing one reads as its attribute). It is the parent
    // widget's font, or the application's when the control has no parent.
    std::unique_ptr<platform::forms::FontObject> ambientFont() const;

    // A new instance's defaults; a stored instance's properties read from, and written to,
    // the container's property bag.
    void UserControl_InitProperties();
    void UserControl_ReadProperties(platform::automation::PropertyBag &PropBag);
    void UserControl_WriteProperties(platform::automation::PropertyBag &PropBag);

    // --- Stored defaults ---

    // --- View files ---
    // Writes the view (connection, layout, look, charts) to `archivo`; never replaces a file.
    // Everything is written under temporary names and put in place at the end: a failure
    // (reported as "writeView: " and the description) leaves no file behind.
    Q_INVOKABLE bool writeView(const QString &archivo);
    // The view as the control shows it, and a view read from a file put onto the control
    // (the layout records, their lists, the look, the open parameters and the connection
    // string; `localCubeFile` is the downloaded copy of a view's web address).
    pelmora::ViewFile viewFileOf();
    void applyViewFile(const pelmora::ViewFile &view, const QString &localCubeFile);

    // --- Dimension options ---
    // The options dialog on the dimension named nomDim (on dimension 0 when no record has
    // that name), then the query.
    Q_INVOKABLE void doAnalysis2(const QString &nomDim);

signals:
    // After a property was written, with the property's name.
    void PropertyChanged(const QString &PropertyName);
    void Click();
    void DblClick();
    // Declared for containers; never raised.
    void KeyDown(int KeyCode, int Shift);
    void KeyPress(int KeyAscii);
    void KeyUp(int KeyCode, int Shift);
    void MouseDown(int Button, int Shift, float X, float Y);
    void MouseMove(int Button, int Shift, float X, float Y);
    void MouseUp(int Button, int Shift, float X, float Y);

protected:
    void showEvent(QShowEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    void buildChildren();
    void bindActions();

    // Public properties: a toolbar button's visibility by item number, and the copy of the
    // control's font that Font hands out.
    bool buttonVisible(int index) const;
    void setButtonVisible(int index, bool value, const QString &name);
    platform::forms::FontObject *fontCopy = nullptr;

    bool settingsRead = false;
    // The start-up is due on the first show and after the container hid the control itself;
    // a window that only hides the control with itself (minimised, arranged) does not rearm it.
    bool m_startUpDue = true;
    bool m_pressed = false;
    bool m_afterDoubleClick = false;
};
