#pragma once

#include "Control/core/ActionKeywords.h"
#include "Control/core/ControlState.h"
#include "Control/core/LayoutRecords.h"
#include "Control/core/Messages.h"
#include "platform/grid/FlexGrid.h"

#include <QString>
#include <QVariant>
#include <QWidget>

class QLabel;

namespace platform::olap {
class Cell;
class CellsetAxis;
} // namespace platform::olap

namespace platform::automation {
class PropertyBag;
} // namespace platform::automation

namespace platform::chart {
class Chart2D;
class Chart3D;
} // namespace platform::chart

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

    Q_PROPERTY(int LanguageID READ languageId WRITE setLanguageId)
    Q_PROPERTY(QString OpenServer READ openServer WRITE setOpenServer)
    Q_PROPERTY(QString OpenDB READ openDb WRITE setOpenDb)
    Q_PROPERTY(QString openCube READ openCube WRITE setOpenCube)
    Q_PROPERTY(QString OpenFile READ openFile WRITE setOpenFile)
    Q_PROPERTY(QString OpenWWWDir READ openWwwDir WRITE setOpenWwwDir)
    Q_PROPERTY(QString OpenView READ openView WRITE setOpenView)
    Q_PROPERTY(QString MDX READ mdx WRITE setMdx)
    Q_PROPERTY(bool Interactive READ interactive WRITE setInteractive)
    Q_PROPERTY(bool Enabled READ getEnabledProperty WRITE setEnabledProperty)

public:
    // The panes of the elastic panel el1, top to bottom.
    enum Pane : int { TitlePane = 0, HeadingsPane = 1, MatrixPane = 2, ChartPane = 3 };

    explicit PelmoraC02(QWidget *parent = nullptr);
    ~PelmoraC02() override;

    // Properties.
    int languageId() const { return language.LanguageID; }
    void setLanguageId(int id) { language.LanguageID = id; }
    QString openServer() const { return openParams.OpenServer; }
    void setOpenServer(const QString &value) { openParams.OpenServer = value; }
    QString openDb() const { return openParams.OpenDB; }
    void setOpenDb(const QString &value) { openParams.OpenDB = value; }
    QString openCube() const { return openParams.openCube; }
    void setOpenCube(const QString &value) { openParams.openCube = value; }
    QString openFile() const { return openParams.OpenFile; }
    void setOpenFile(const QString &value) { openParams.OpenFile = value; }
    QString openWwwDir() const { return openParams.OpenWWWDir; }
    void setOpenWwwDir(const QString &value) { openParams.OpenWWWDir = value; }
    QString openView() const { return openParams.OpenView; }
    void setOpenView(const QString &value) { openParams.OpenView = value; }
    QString mdx() const { return openParams.MDX; }
    void setMdx(const QString &value) { openParams.MDX = value; }
    bool interactive() const { return controlFlags.Interactive; }
    void setInteractive(bool value) { controlFlags.Interactive = value; }
    bool getEnabledProperty() const { return controlFlags.Enabled; }
    void setEnabledProperty(bool value) { controlFlags.Enabled = value; }

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

    // Child controls. The placeholder of the chart area holds its pane until the charts take
    // it.
    QLabel *lblCubo = nullptr;
    platform::widgets::Toolbar *tbToolBar = nullptr;
    platform::widgets::ImageList *ImageList1 = nullptr;
    platform::widgets::CommonDialog *dlg = nullptr;
    platform::widgets::ElasticPanel *el1 = nullptr;
    platform::grid::FlexGrid *grdTitulos = nullptr;
    platform::grid::FlexGrid *grdResults = nullptr;
    QWidget *chartArea = nullptr;
    // The 2-D and 3-D charts of the data grid, in the chart area; null until the chart area
    // holds them.
    platform::chart::Chart2D *grf2d = nullptr;
    platform::chart::Chart3D *grf3d = nullptr;
    // The control's own font (the property Font): the caption label, the grids and the chart
    // titles take it over. Owned by the control.
    platform::forms::FontObject *controlFont = nullptr;
    QWidget *vpLocal = nullptr; // the export target

    // Layout records (the trapped ones report "newOrderDim: " or "setOrderDim: ").
    void newOrderDim(int i, const QString &uniqueName, const QString &caption,
                     const QString &dimName, int dimType);
    void setOrderDim(int i, int jerarquia, int jerarquiaSalto, int lugar, const QString &nombre,
                     const QString &opcionCampo, int opcionTipo, int opcionTipoReg,
                     int opcionValor, int orden, int ordenTipo, int profundidad, int tipo,
                     bool vacio);
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
    // "saveDialog: " and the description).
    QString saveDialog(const QString &title, const QString &filter);

    // Text i of the control's language (see pelmora::messageText); an entry that does not
    // exist is reported as "message: " and the description, and gives "E: " and i.
    QString message(int i);

    // Start-up and events.
    void UserControl_Initialize();
    void UserControl_Show();
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
    bool loadPreview(const QString &mode, QWidget *printer);
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
    bool ShowAboutBox();
    bool ShowSplash();
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
    void paintRowHeaders(const platform::olap::CellsetAxis &axis, int headerRows,
                         int headerCols);
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
    void paintValueColour(int row, int col);

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

    // --- Fonts onto the caption, the grids and the chart titles ---

    // --- Charts fed from the data grid, and their events ---

    // --- Public properties and the property bag ---
    // A new instance's defaults; a stored instance's properties read from, and written to,
    // the container's property bag.
    void UserControl_InitProperties();
    void UserControl_ReadProperties(platform::automation::PropertyBag &PropBag);
    void UserControl_WriteProperties(platform::automation::PropertyBag &PropBag);

    // --- Stored defaults ---

    // --- View files ---
    // Writes the view (connection, layout, look, charts) to `archivo`; never replaces a file.
    Q_INVOKABLE bool writeView(const QString &archivo);

signals:
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

    bool settingsRead = false;
    bool m_pressed = false;
    bool m_afterDoubleClick = false;
};
