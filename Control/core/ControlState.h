#pragma once

#include "platform/olap/Catalog.h"
#include "platform/olap/Cellset.h"
#include "platform/olap/Connection.h"
#include "platform/forms/FontObject.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <array>
#include <memory>
#include <optional>

// The member groups of the cube-browser control. Each subsystem of the control reads and
// changes these; the pure procedures over them are free functions beside each group.
// Members start at the values a new instance gets (Booleans True/False, colours as 32-bit
// colour values with red in the low byte).
namespace pelmora {
// The enumerations below are the control's automation enumerations, known to the meta-object
// system by their names.
Q_NAMESPACE

// The user-interface language of a control.
enum pelmoraLanguageIds : int { English = 0, Spanish = 1 };
Q_ENUM_NS(pelmoraLanguageIds)

enum pelmoraValueTypes : int {
    pelmoraVTNormal = 0,
    pelmoraVTPositiveNegative = 1,
    pelmoraVTSemaphore = 2,
};
Q_ENUM_NS(pelmoraValueTypes)

enum pelmoraAppearanceSettings : int { pelmoraFlat = 0, pelmora3D = 1, pelmora3DLight = 2 };
Q_ENUM_NS(pelmoraAppearanceSettings)

struct ControlFlags
{
    int logging = 0; // 0 or 1; set by STARTLOG and ENDLOG, read by nothing
    bool Enabled = true;
    bool Interactive = true;
};

struct Language
{
    int LanguageID = English;
};

// What the control opens when it is shown.
struct OpenParams
{
    QString OpenServer;
    QString OpenDB;
    QString openCube;
    QString OpenFile;
    QString OpenWWWDir;
    QString OpenView;
    QString MDX;
};

// True when the open parameters name something to connect to at start-up: a server with a
// database and a cube, or a cube file, a view file or a web address.
bool connectionWanted(const OpenParams &params);

enum DownloadState : int { DownloadWaiting = 0, DownloadDone = 1, DownloadFailed = -1 };

struct ConnState
{
    QString connectionString;
    int downloadState = DownloadWaiting;
    bool interactiveRequested = false;
    // Set once a cube has been opened; cleared when a reconnection closes the connection, until
    // the new cube is open.
    bool connected = false;
    int numCube = 0; // the open cube among the catalog's cubes; -1 when it is missing
    // Created when first needed; a reconnection reuses the connection and replaces the catalog.
    std::optional<platform::olap::Connection> connection;
    std::optional<platform::olap::Catalog> catalog;
    // A web address is being downloaded: the control ignores commands until it ends.
    bool waitingForDownload = false;
};

struct QueryState
{
    QString currentMDX; // the last statement that opened
    QString viewFile;   // the file name last chosen when saving a view
    // The result of the last statement, created when first used; not open after a statement
    // that failed.
    std::optional<platform::olap::Cellset> cellset;
};

struct GestureState
{
    bool movingDim = false; // a slicer title is picked up
    int movingDimRow = 0;   // its row in the titles grid
    bool ctrlDown = false;  // Ctrl held on the data grid
};

// The look of the grids; a member without "Data" styles the headers, one with it the values.
struct GridFormat
{
    // The data and subtotal fonts; empty until first used (see fontOf).
    std::shared_ptr<platform::forms::FontObject> FontData;
    std::shared_ptr<platform::forms::FontObject> FontSubtotal;
    std::shared_ptr<platform::forms::FontObject> FontDataSubtotal;
    QString DataFormat = QStringLiteral("#,##0");
    int BackColor = 0xE6E6E6;
    int BackColorSubtotal = 0xE6E6E6;
    int BackColorData = 0xFFFFFF;
    int BackColorDataSubtotal = 0xFFFFFF;
    int ForeColor = 0;
    int ForeColorSubtotal = 0;
    int ForeColorData = 0;
    int ForeColorDataSubtotal = 0;
    int GridColor = 0xE6E6E6;
    int GridColorData = 0xE6E6E6;
    int Appearance = pelmora3DLight;
    int GridLinesData = 1;
    int GridLines = 2;
    int GridLinesWidth = 1;
    bool FormatSubtotal = false;
    int FormatSubtotalLevel = 1;
};

// The font a slot holds, created with the default attributes when the slot is empty.
inline platform::forms::FontObject &fontOf(std::shared_ptr<platform::forms::FontObject> &slot)
{
    if (!slot)
        slot = std::make_shared<platform::forms::FontObject>();
    return *slot;
}

// How values are coloured: plainly, by sign, or by three threshold bands.
struct ValueFormat
{
    int ValueType = pelmoraVTNormal;
    double SemaphoreMinValue = 100.0;
    double SemaphoreMaxValue = 1000.0;
    int ThresholdMinBackColor = 0;
    int ThresholdMedBackColor = 0;
    int ThresholdMaxBackColor = 0;
    int ThresholdMinForeColor = 0xFFFFFF;
    int ThresholdMedForeColor = 0xFFFFFF;
    int ThresholdMaxForeColor = 0xFFFFFF;
    // Whether each threshold colour applies.
    bool ActThresholdMinBackColor = false;
    bool ActThresholdMedBackColor = false;
    bool ActThresholdMaxBackColor = false;
    bool ActThresholdMinForeColor = false;
    bool ActThresholdMedForeColor = false;
    bool ActThresholdMaxForeColor = false;
};

struct DisplayFlags
{
    bool VisibleTitle = true;
    bool VisibleHeading = true;
    bool VisibleMatrix = true;
    bool VisibleChart = true;
    bool VisibleToolBar = false;
};

struct PreviewOptions
{
    QString PreviewComment;
    bool PreviewHeaderAndFooter = true;
    bool PreviewComments = false;
    bool PreviewTitle = true;
    bool PreviewHeadings = true;
    bool PreviewData = true;
    bool PreviewChart = true;
    bool PreviewChartInNewPage = false;
    bool PreviewBW = false;
};

} // namespace pelmora
