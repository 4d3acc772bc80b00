// Views written by a control and opened again in another: over a cube file, over a web
// address, and the files that must not open.
#include "Control/core/FileNames.h"
#include "Control/core/PelmoraC02.h"
#include "Control/settings/ViewFileFormat.h"
#include "platform/chart/Chart2D.h"
#include "platform/chart/Chart3D.h"
#include "platform/forms/FontObject.h"
#include "platform/olap/Cellset.h"
#include "platform/widgets/ElasticPanel.h"
#include "platform/widgets/ImageList.h"
#include "platform/widgets/Toolbar.h"
#include "tests/Control/core/RouteTestSupport.h"
#include "tests/platform/olap/CubeFixtures.h"
#include "tests/support/FileSizeLimit.h"
#include "tests/support/ScriptedMsgBox.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QTemporaryDir>

#include <memory>
#include <sys/stat.h>

using controltest::WebServer;
using pelmora::changeExtension;
using pelmora::viewFileText;
using platform::widgets::ElasticPanel;
using testing_support::ScriptedMsgBox;

namespace {

void addCharts(PelmoraC02 &c)
{
    if (!c.grf2d)
        c.grf2d = new platform::chart::Chart2D(&c);
    if (!c.grf3d)
        c.grf3d = new platform::chart::Chart3D(&c);
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// Every entry of a folder, hidden ones included.
QStringList entries(const QString &dir)
{
    return QDir(dir).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name);
}

// What a control shows, as the lines a view of it would have.
QByteArray stateOf(PelmoraC02 &c)
{
    return viewFileText(c.viewFileOf()) + c.connState.connectionString.toUtf8();
}

class ViewFiles : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_cubes = std::make_unique<QTemporaryDir>();
        s_cube = testing_support::buildFixtureCube(s_cubes->path(), "sales");
    }
    static void TearDownTestSuite() { s_cubes.reset(); }

    void SetUp() override
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        ASSERT_TRUE(dir.isValid());
    }
    void TearDown() override { QLocale::setDefault(m_saved); }

    QString path(const QString &name) const { return dir.filePath(name); }

    // The sales cube opened from its file, with charts.
    void openSales(PelmoraC02 &c)
    {
        addCharts(c);
        c.openParams.OpenFile = s_cube;
        ASSERT_TRUE(c.cubeConnect(false));
        ASSERT_EQ(boxes.texts(), QStringList());
    }

    // Every part of the view changed from what a new control has.
    void changeEverything(PelmoraC02 &c)
    {
        pelmora::LayoutState &l = c.layoutState;
        ASSERT_EQ(l.NumDims, 4);
        // Measures on the columns; Time and Product nested on the rows; Store on the slicer.
        pelmora::OrderDim &time = l.orderDim[1];
        time.jerarquiaSalto = 2;
        time.opcionTipo = 1;
        time.opcionCampo = "[Measures].[Sales]";
        time.opcionValor = 2;
        time.opcionTipoReg = 1;
        time.ordenTipo = 2;
        time.ordenCampos = {"[Measures].[Sales]"};
        time.profundidad = 1;
        time.vacio = false;
        pelmora::OrderDim &product = l.orderDim[2];
        product.lugar = pelmora::Rows;
        product.orden = 1;
        product.jerarquia = 0;
        product.padreLlave = {"[Product].[All Products]", "[Product].[Food]"};
        product.padreTexto = {"All Products", "Food"};
        pelmora::OrderDim &store = l.orderDim[3];
        store.orden = 0;
        store.padreLlave = {"[Store].[USA]"};
        store.padreTexto = {"USA"};

        c.QWidget::setEnabled(false);
        c.language.LanguageID = 1;
        c.openParams.OpenDB = "SalesDB";
        c.lblCubo->setText("My \"view\", 2024");
        c.displayFlags = {true, false, true, false, true};
        c.el1->setPaneValue(ElasticPanel::PaneSizeValue, 1, 2000);
        c.el1->setPaneValue(ElasticPanel::PaneSizeValue, 3, 1500);
        c.grf2d->setVisible(false);
        c.grf3d->setVisible(true);
        c.controlFont->setName("DejaVu Serif");
        c.controlFont->setSize(11.25);
        c.controlFont->setItalic(true);
        pelmora::fontOf(c.gridFormat.FontData).setBold(true);
        pelmora::fontOf(c.gridFormat.FontSubtotal).setUnderline(true);
        pelmora::fontOf(c.gridFormat.FontDataSubtotal).setStrikethrough(true);
        pelmora::fontOf(c.gridFormat.FontDataSubtotal).setWeight(600);
        c.controlFlags.Interactive = false;
        pelmora::GridFormat &g = c.gridFormat;
        g.DataFormat = "0.00\" €\"";
        int colour = 0x102030;
        for (int *member :
             {&g.BackColor, &g.BackColorSubtotal, &g.BackColorData, &g.BackColorDataSubtotal,
              &g.ForeColor, &g.ForeColorSubtotal, &g.ForeColorData, &g.ForeColorDataSubtotal,
              &g.GridColor, &g.GridColorData})
            *member = colour += 0x010101;
        g.Appearance = pelmora::pelmoraFlat;
        g.GridLinesData = 3;
        g.GridLines = 4;
        g.GridLinesWidth = 2;
        g.FormatSubtotal = true;
        g.FormatSubtotalLevel = 2;
        pelmora::ValueFormat &v = c.valueFormat;
        v.ValueType = pelmora::pelmoraVTSemaphore;
        v.SemaphoreMinValue = 12.5;
        v.SemaphoreMaxValue = 99.25;
        for (int *member :
             {&v.ThresholdMinBackColor, &v.ThresholdMedBackColor, &v.ThresholdMaxBackColor,
              &v.ThresholdMinForeColor, &v.ThresholdMedForeColor, &v.ThresholdMaxForeColor})
            *member = colour += 0x020202;
        v.ActThresholdMinBackColor = v.ActThresholdMaxBackColor = v.ActThresholdMedForeColor = true;
        c.grf2d->header().setText("Sales \"2024\"");
        c.grf3d->header().setText("Sales in 3-D");
    }

    static std::unique_ptr<QTemporaryDir> s_cubes;
    static QString s_cube;

    QTemporaryDir dir;
    ScriptedMsgBox boxes;

private:
    QLocale m_saved;
};

std::unique_ptr<QTemporaryDir> ViewFiles::s_cubes;
QString ViewFiles::s_cube;

} // namespace

TEST_F(ViewFiles, AViewOpensAgainAsItWasWritten)
{
    PelmoraC02 a;
    openSales(a);
    changeEverything(a);
    ASSERT_TRUE(a.genSelect());
    ASSERT_EQ(boxes.texts(), QStringList());
    const QString statement = a.queryState.currentMDX;
    ASSERT_TRUE(statement.contains("[Product]"));

    const QString view = path("sales.vcg");
    ASSERT_TRUE(a.writeView(view));
    EXPECT_EQ(boxes.texts(), QStringList());
    // The view and its two chart files, and nothing else.
    EXPECT_EQ(entries(dir.path()), QStringList({"sales.oc2", "sales.oc3", "sales.vcg"}));

    PelmoraC02 b;
    addCharts(b);
    platform::forms::FontObject *const font = b.controlFont;
    b.openParams.OpenView = view;
    ASSERT_TRUE(b.cubeConnect(false));
    EXPECT_EQ(boxes.texts(), QStringList());
    EXPECT_EQ(b.connState.connectionString, testing_support::connectionStringFor(s_cube));
    EXPECT_EQ(b.openParams.openCube, "Sales");
    EXPECT_EQ(b.lblCubo->text(), "My \"view\", 2024");
    EXPECT_EQ(b.queryState.currentMDX, statement);
    ASSERT_TRUE(b.queryState.cellset);
    EXPECT_EQ(b.queryState.cellset->state(), platform::olap::Cellset::StateOpen);
    // Every record, flag, font, pane, button and colour: the two views' lines are the same.
    EXPECT_EQ(QString::fromUtf8(viewFileText(b.viewFileOf())).toStdString(),
              QString::fromUtf8(viewFileText(a.viewFileOf())).toStdString());
    EXPECT_EQ(b.layoutState.orderDim[2].padreTexto, QStringList({"All Products", "Food"}));
    EXPECT_FALSE(b.isEnabled());
    EXPECT_EQ(b.controlFont, font); // changed, not replaced
    EXPECT_EQ(b.controlFont->name(), "DejaVu Serif");
    EXPECT_EQ(b.el1->paneValue(ElasticPanel::PaneSizeValue, 1), 2000);
    EXPECT_EQ(b.grf2d->model(), a.grf2d->model());
    EXPECT_EQ(b.grf3d->model(), a.grf3d->model());
    EXPECT_EQ(b.grf2d->header().text(), "Sales \"2024\"");
    // updFormat ran: the data area has the view's colours.
    EXPECT_EQ(b.grdResults->backColor(), a.gridFormat.BackColorData);

    // The reader shows and hides the parts and buttons as the view says (opening the cube
    // then shows the cube's buttons again).
    a.tbToolBar->button(5)->setVisible(false);
    a.tbToolBar->button(17)->setVisible(false);
    const QString second = path("second.vcg");
    ASSERT_TRUE(a.writeView(second));
    PelmoraC02 c;
    c.openParams.OpenView = second;
    ASSERT_TRUE(c.readView());
    EXPECT_FALSE(c.grdTitulos->isVisibleTo(&c));
    EXPECT_TRUE(c.grdResults->isVisibleTo(&c));
    EXPECT_FALSE(c.tbToolBar->button(5)->isVisible());
    EXPECT_FALSE(c.tbToolBar->button(17)->isVisible());
    EXPECT_TRUE(c.tbToolBar->button(19)->isVisible());
    EXPECT_TRUE(c.tbToolBar->isVisibleTo(&c));
    EXPECT_EQ(c.language.LanguageID, 1);
    EXPECT_EQ(c.connState.connectionString, testing_support::connectionStringFor(s_cube));
}

TEST_F(ViewFiles, AViewIsNeverWrittenOverAndAFailedWriteLeavesNothing)
{
    PelmoraC02 a;
    openSales(a);
    const QString view = path("v.vcg");

    // An existing view and its chart files stay as they are, with no message.
    writeFile(view, "keep");
    EXPECT_FALSE(a.writeView(view));
    EXPECT_EQ(readAll(view), "keep");
    EXPECT_EQ(entries(dir.path()), QStringList({"v.vcg"}));
    EXPECT_EQ(boxes.count(), 0);
    QFile::remove(view);

    // A chart file that cannot be put in place: reported, no new file is left and an earlier
    // chart file is back as it was, so the next save is not blocked.
    ASSERT_TRUE(QDir(dir.path()).mkdir("v.oc3"));
    writeFile(path("v.oc2"), "earlier");
    EXPECT_FALSE(a.writeView(view));
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_TRUE(boxes.texts().first().startsWith("writeView: "));
    EXPECT_EQ(entries(dir.path()), QStringList({"v.oc2", "v.oc3"}));
    EXPECT_EQ(readAll(path("v.oc2")), "earlier");
    ASSERT_TRUE(QDir(dir.path()).rmdir("v.oc3"));
    QFile::remove(path("v.oc2"));
    EXPECT_TRUE(a.writeView(view));
    EXPECT_EQ(entries(dir.path()), QStringList({"v.oc2", "v.oc3", "v.vcg"}));

    // Chart files left by an earlier view of the same name belong to the new one.
    QFile::remove(view);
    writeFile(path("v.oc2"), "stale");
    EXPECT_TRUE(a.writeView(view));
    EXPECT_TRUE(readAll(path("v.oc2")).startsWith("PELMORA CHART2D"));

    // A folder that does not exist.
    boxes.clear();
    EXPECT_FALSE(a.writeView(path("nowhere/v.vcg")));
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_TRUE(boxes.texts().first().startsWith("writeView: "));

    // A dimension count beyond the records is an error of the writer.
    boxes.clear();
    a.layoutState.NumDims = 130;
    EXPECT_FALSE(a.writeView(path("w.vcg")));
    EXPECT_EQ(boxes.texts(), QStringList({"writeView: Subscript out of range"}));
    EXPECT_FALSE(QFileInfo::exists(path("w.vcg")));
}

// A full disk (a file size limit, with its signal ignored, makes the system refuse the writes as
// a full disk does) while the view is written: a message, no new file, and the chart file of an
// earlier view of the name as it was.
TEST_F(ViewFiles, AFullDiskEndsInAMessageAndLosesNothing)
{
    PelmoraC02 a;
    openSales(a);
    ASSERT_TRUE(a.writeView(path("probe.vcg")));
    const qint64 viewSize = QFileInfo(path("probe.vcg")).size();
    for (const QString name : {"probe.vcg", "probe.oc2", "probe.oc3"})
        ASSERT_TRUE(QFile::remove(path(name)));
    writeFile(path("v.oc2"), "earlier");

    for (const qint64 limit : {qint64(0), viewSize / 2}) {
        SCOPED_TRACE(limit);
        boxes.clear();
        bool written = true;
        {
            const testing_support::FileSizeLimit full{rlim_t(limit)};
            ASSERT_TRUE(full.isSet());
            written = a.writeView(path("v.vcg"));
        }
        EXPECT_FALSE(written);
        ASSERT_EQ(boxes.count(), 1);
        EXPECT_TRUE(boxes.texts().first().startsWith("writeView: "))
            << boxes.texts().first().toStdString();
        EXPECT_EQ(entries(dir.path()), QStringList({"v.oc2"}));
        EXPECT_EQ(readAll(path("v.oc2")), "earlier");
    }
    EXPECT_TRUE(a.writeView(path("v.vcg")));
}

TEST_F(ViewFiles, ViewAndChartFilesGetTheModeOfANewFile)
{
    PelmoraC02 a;
    openSales(a);
    addCharts(a);
    for (const mode_t mask : {mode_t(022), mode_t(027), mode_t(002)}) {
        SCOPED_TRACE(mask);
        const mode_t saved = ::umask(mask);
        const QString view = path(QStringLiteral("mode%1.vcg").arg(mask, 0, 8));
        const bool written = a.writeView(view);
        ::umask(saved);
        ASSERT_TRUE(written);
        for (const char *extension : {".vcg", ".oc2", ".oc3"}) {
            SCOPED_TRACE(extension);
            struct stat info
            {
            };
            ASSERT_EQ(
                ::stat(QFile::encodeName(changeExtension(view, extension)).constData(), &info), 0);
            EXPECT_EQ(info.st_mode & 0777, 0666 & ~mask);
        }
    }
}

TEST_F(ViewFiles, AFileThatDoesNotReadChangesNothing)
{
    PelmoraC02 a;
    openSales(a);
    changeEverything(a);
    const QString good = path("good.vcg");
    ASSERT_TRUE(a.writeView(good));
    const QByteArray goodBytes = readAll(good);

    PelmoraC02 b;
    addCharts(b);
    b.openParams.OpenView = good;
    ASSERT_TRUE(b.cubeConnect(false));
    const QByteArray before = stateOf(b);

    QByteArray cut = goodBytes;
    cut.truncate(goodBytes.indexOf("\"FontSubtotal="));
    QByteArray notANumber = goodBytes;
    notANumber.replace("\"GridLines=4\"", "\"GridLines=four\"");
    const struct
    {
        const char *name;
        QByteArray bytes;
        const char *description;
    } cases[] = {
        {"cut before a font", cut, "Input past end of file"},
        {"a word for a number", notANumber, "Type mismatch"},
        {"empty", "", "Input past end of file"},
        // Its first line reads as a Boolean False; the second lacks its items.
        {"binary", QByteArray("\x89PNG\r\n\x1a\n\x00\x00\x00\rIHDR", 16), "Bad record length"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        boxes.clear();
        const QString bad = path("bad.vcg");
        writeFile(bad, c.bytes);
        b.openParams.OpenView = bad;
        EXPECT_FALSE(b.readView());
        // Spanish: the view set the language to 1.
        EXPECT_EQ(boxes.texts(), QStringList({"readView: " + QString(c.description)
                                              + "\r\nImposible abrir la vista: " + bad}));
        EXPECT_EQ(stateOf(b), before);
    }
    boxes.clear();
    b.openParams.OpenView = path("missing.vcg");
    EXPECT_FALSE(b.cubeConnect(false));
    EXPECT_EQ(boxes.texts(), QStringList({"readView: File not found\r\nImposible abrir la vista: "
                                          + path("missing.vcg")}));
    EXPECT_EQ(stateOf(b), before);
}

TEST_F(ViewFiles, AnEmptyListOfTheViewEmptiesTheRecordsList)
{
    PelmoraC02 a;
    openSales(a);
    const QString view = path("plain.vcg");
    ASSERT_TRUE(a.writeView(view)); // no order fields anywhere

    PelmoraC02 b;
    b.layoutState.NumDims = 4;
    for (pelmora::OrderDim &d : b.layoutState.orderDim) {
        d.ordenCampos = {"[Measures].[Stale]"};
        d.padreLlave = d.padreTexto = {"stale", "stale"};
    }
    b.openParams.OpenView = view;
    ASSERT_TRUE(b.cubeConnect(false));
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(b.layoutState.orderDim[i].ordenCampos, QStringList());
        EXPECT_EQ(b.layoutState.orderDim[i].padreLlave, a.layoutState.orderDim[i].padreLlave);
    }
    EXPECT_EQ(b.queryState.currentMDX, a.queryState.currentMDX);
}

TEST_F(ViewFiles, ChartFilesAreFoundUnderEitherNameAndMayBeMissing)
{
    PelmoraC02 a;
    openSales(a);
    changeEverything(a);

    // Written by the original into a folder with a dot: the chart files are where its first
    // dot cut the path.
    // Settings the feeding of a query never touches tell which chart files were loaded.
    a.grf2d->legend().setAnchor(platform::chart::Anchor::South);
    a.grf3d->header().setIsShowing(false);
    ASSERT_TRUE(QDir(dir.path()).mkdir("views.old"));
    const QString view = path("views.old/v.vcg");
    ASSERT_TRUE(a.writeView(view));
    EXPECT_TRUE(QFileInfo::exists(path("views.old/v.oc2")));
    for (const char *ext : {".oc2", ".oc3"})
        ASSERT_TRUE(
            QFile::rename(changeExtension(view, ext), pelmora::firstDotFileName(view, ext)));
    {
        PelmoraC02 b;
        addCharts(b);
        b.openParams.OpenView = view;
        ASSERT_TRUE(b.cubeConnect(false));
        EXPECT_EQ(b.grf2d->legend().anchor(), platform::chart::Anchor::South);
        EXPECT_FALSE(b.grf3d->header().isShowing());
    }
    for (const char *ext : {".oc2", ".oc3"})
        QFile::remove(pelmora::firstDotFileName(view, ext));

    // Without its chart files, or with a corrupt one, the view opens with the chart as it was.
    writeFile(changeExtension(view, ".oc3"), "PELMORA CHART3D 1\nnonsense\n");
    PelmoraC02 b;
    addCharts(b);
    const qint32 anchor = b.grf2d->legend().anchor();
    b.openParams.OpenView = view;
    ASSERT_TRUE(b.cubeConnect(false));
    EXPECT_EQ(boxes.texts(), QStringList());
    EXPECT_EQ(b.grf2d->legend().anchor(), anchor);
    EXPECT_TRUE(b.grf3d->header().isShowing());
    EXPECT_NE(anchor, platform::chart::Anchor::South);
    EXPECT_EQ(b.lblCubo->text(), a.lblCubo->text());
}

TEST_F(ViewFiles, AViewOverAWebAddressDownloadsItsCubeFirst)
{
    PelmoraC02 a;
    openSales(a);
    a.lblCubo->setText("Web sales");
    WebServer web(readAll(s_cube));
    pelmora::ViewFile v = a.viewFileOf();
    v.openParams.OpenFile.clear();
    v.openParams.OpenWWWDir = web.url("sales.cub");
    const QString view = path("web.vcg");
    writeFile(view, viewFileText(v));

    PelmoraC02 b;
    b.openParams.OpenView = view;
    ASSERT_TRUE(b.cubeConnect(false));
    EXPECT_EQ(boxes.texts(), QStringList());
    EXPECT_EQ(web.requested().size(), 1);
    EXPECT_EQ(b.openParams.OpenWWWDir, web.url("sales.cub"));
    EXPECT_TRUE(QFileInfo(b.openParams.OpenFile).isFile());
    EXPECT_NE(b.openParams.OpenFile, s_cube);
    EXPECT_EQ(b.connState.connectionString,
              testing_support::connectionStringFor(b.openParams.OpenFile));
    EXPECT_EQ(b.lblCubo->text(), "Web sales");
    EXPECT_EQ(b.queryState.currentMDX, a.queryState.currentMDX);

    // A download that fails, after one that worked: False, no message of the reader's, and
    // the control keeps what it had.
    WebServer missing("", WebServer::NotFound);
    v.openParams.OpenWWWDir = missing.url("gone.cub");
    v.Title = "Gone";
    const QString other = path("gone.vcg");
    writeFile(other, viewFileText(v));
    const QByteArray before = stateOf(b);
    b.openParams.OpenView = other;
    EXPECT_FALSE(b.readView());
    EXPECT_EQ(missing.requested().size(), 1);
    EXPECT_EQ(boxes.texts(), QStringList());
    EXPECT_EQ(stateOf(b), before);
}
