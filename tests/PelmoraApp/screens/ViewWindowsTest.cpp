// The host's view windows on a real display: the size the first view opens at, window
// arrangements on a browsed view, and a click routed by the window system into an inactive
// view. Pictures of the main window are kept in screens/ of the build tree.
#include "Control/core/PelmoraC02.h"
#include "Control/settings/ViewFileFormat.h"
#include "PelmoraApp/Settings.h"
#include "PelmoraApp/frmMain.h"
#include "PelmoraApp/frmPelmoraXpalOmrf.h"
#include "platform/olap/local/CubeBuilder.h"
#include "platform/forms/ScreenTwips.h"
#include "tests/Control/core/GestureTestSupport.h"
#include "tests/PelmoraApp/HostTestSupport.h"
#include "tests/support/ScriptedModalRunner.h"
#include "tests/support/ScriptedMsgBox.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>

#include <functional>
#include <memory>

using gesturetest::clickCell;
using gesturetest::ctrlClickCell;
using gesturetest::gridRows;
using testing_support::ScriptedModalRunner;
using testing_support::ScriptedMsgBox;

namespace {

// What a user sees of a view, and the result it shows (held, so that any later query's result
// differs from it).
struct ViewState
{
    QString statement;
    QStringList layout;
    QStringList results;
    QStringList titles;
    std::shared_ptr<const platform::olap::CellsetData> cellset;
    bool operator==(const ViewState &) const = default;
};

void PrintTo(const ViewState &state, std::ostream *out)
{
    *out << state.statement.toStdString() << "\n  " << state.layout.join(", ").toStdString()
         << "\n  " << state.results.size() << " result rows, cell set " << state.cellset.get();
}

ViewState stateOf(const PelmoraC02 &control)
{
    return {control.queryState.currentMDX, gesturetest::layoutOf(control),
            gridRows(*control.grdResults), gridRows(*control.grdTitulos),
            gesturetest::lastResult(control)};
}

class ViewWindows : public hosttest::HostTest
{
protected:
    void SetUp() override
    {
        HostTest::SetUp();
        m_cube = dirPath("sample.cub");
        platform::olap::local::writeSampleCube(m_cube, 2000, 7);
        // The main window comes back at 1200 x 900.
        using platform::forms::pixelsToTwipsX;
        using platform::forms::pixelsToTwipsY;
        pelmoraapp::writeStoredGeometry(
            {0, 0, float(pixelsToTwipsX(1200)), float(pixelsToTwipsY(900))});
    }

    // The host started on the sample cube and shown, as the program starts.
    std::unique_ptr<frmMain> start()
    {
        auto main = makeMain(nullptr);
        main->MDIForm_Load({m_cube});
        main->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(main.get()));
        // Without a window manager the main window is made active by hand, as a user's click
        // on it would make it.
        main->activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(main.get()));
        settle();
        EXPECT_EQ(main->childWindows().size(), 1) << m_boxes.texts().join('\n').toStdString();
        return main;
    }

    // A second view of the cube, chosen in the open dialog.
    void openAnother(frmMain &main)
    {
        const QString cube = m_cube;
        m_runner.then([](QDialog &dialog) {
            ScriptedModalRunner::click(dialog, "cmdCubo");
            return dialog.result();
        });
        m_runner.then([cube](QDialog &dialog) {
            auto *files = qobject_cast<QFileDialog *>(&dialog);
            if (!files)
                return int(QDialog::Rejected);
            files->selectFile(cube);
            return int(QDialog::Accepted);
        });
        trigger(main, "mnuFileOpen");
        settle();
        ASSERT_EQ(main.childWindows().size(), 2) << m_boxes.texts().join('\n').toStdString();
    }

    static void trigger(frmMain &main, const char *item)
    {
        QAction *action = main.menuAction(QString::fromLatin1(item));
        ASSERT_NE(action, nullptr) << item;
        action->trigger();
    }

    static void settle()
    {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }

    static QMdiSubWindow *subOf(frmPelmoraXpalOmrf *child)
    {
        return qobject_cast<QMdiSubWindow *>(child->parentWidget());
    }

    static void shoot(frmMain &main, const QString &name)
    {
        settle();
        const QString dir = QStringLiteral(PELMORA_SCREENS_DIR);
        QDir().mkpath(dir);
        const QString file = QDir(dir).filePath(name + QStringLiteral(".png"));
        EXPECT_TRUE(main.grab().save(file)) << file.toStdString();
    }

    QString m_cube;
    ScriptedMsgBox m_boxes;
    ScriptedModalRunner m_runner;
};

TEST_F(ViewWindows, TheFirstViewOpensAtThreeQuartersOfTheWorkspaceAndCascadeKeepsIt)
{
    auto main = start();
    ASSERT_EQ(main->size(), QSize(1200, 900));
    frmPelmoraXpalOmrf *first = main->childWindows().value(0);
    ASSERT_NE(first, nullptr);
    PelmoraC02 *control = first->control();
    ASSERT_NE(control, nullptr);
    const QSize room = main->mdiArea->viewport()->size();
    const QSize opened = subOf(first)->size();
    EXPECT_GE(opened.width(), room.width() * 3 / 4);
    EXPECT_GE(opened.height(), room.height() * 3 / 4);
    EXPECT_LE(opened.width(), room.width());
    EXPECT_LE(opened.height(), room.height());
    EXPECT_EQ(control->geometry(), QRect(QPoint(0, 0), first->size()));
    EXPECT_TRUE(control->grdResults->isVisible());
    EXPECT_GT(control->grdResults->height(), 100);
    shoot(*main, "first-view");

    // A saved view records the control's size.
    const QString view = dirPath("first.vcg");
    ASSERT_TRUE(control->writeView(view)) << m_boxes.texts().join('\n').toStdString();
    QFile file(view);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const pelmora::ViewFile saved = pelmora::parseViewFile(file.readAll());
    ASSERT_TRUE(saved.Height && saved.Width);
    EXPECT_EQ(*saved.Height, platform::forms::pixelsToTwipsY(first->height()));
    EXPECT_EQ(*saved.Width, platform::forms::pixelsToTwipsX(first->width()));

    // A second view opens at the same size; Cascade keeps both at it.
    openAnother(*main);
    frmPelmoraXpalOmrf *second = main->childWindows().value(1);
    EXPECT_EQ(subOf(second)->size(), opened);
    trigger(*main, "mnuWindowTileVertical");
    trigger(*main, "mnuWindowCascade");
    settle();
    EXPECT_EQ(subOf(first)->size(), opened);
    EXPECT_EQ(subOf(second)->size(), opened);
    EXPECT_LT(subOf(first)->y(), subOf(second)->y());
    shoot(*main, "cascaded");
}

// Each arrangement on a view browsed with the mouse (drilled, Product on the rows with Store
// nested under it, axes swapped): the statement, the grids and the shown result stay.
TEST_F(ViewWindows, ArrangingMaximisingAndRestoringKeepTheBrowsedView)
{
    auto main = start();
    openAnother(*main);
    frmPelmoraXpalOmrf *first = main->childWindows().value(0);
    frmPelmoraXpalOmrf *second = main->childWindows().value(1);
    QMdiSubWindow *sub = subOf(first);
    main->mdiArea->setActiveSubWindow(sub);
    PelmoraC02 *control = first->control();
    ASSERT_NE(control, nullptr);
    platform::grid::FlexGrid &results = *control->grdResults;
    platform::grid::FlexGrid &titulos = *control->grdTitulos;

    const QString opening = control->queryState.currentMDX;
    const QString quarter = results.textMatrix(3, 0);
    ASSERT_TRUE(clickCell(results, 3, 0));
    ASSERT_EQ(pelmora::orderDimAt(control->layoutState, 1).padreTexto, QStringList({quarter}));
    ASSERT_TRUE(clickCell(titulos, 0, 0));
    ASSERT_TRUE(clickCell(results, 2, 0));
    ASSERT_EQ(titulos.textMatrix(1, 0), "Store");
    ASSERT_TRUE(clickCell(titulos, 1, 0));
    ASSERT_TRUE(ctrlClickCell(results, 2, 0));
    trigger(*main, "mnuActionsSwapXY");
    ASSERT_EQ(m_boxes.count(), 0) << m_boxes.texts().join('\n').toStdString();
    const ViewState browsed = stateOf(*control);
    ASSERT_NE(browsed.statement, opening);
    ASSERT_TRUE(browsed.statement.contains("Store")) << browsed.statement.toStdString();

    const struct Case
    {
        const char *name;
        std::function<void()> arrange;
    } cases[] = {
        {"tile horizontal", [&] { trigger(*main, "mnuWindowTileHorizontal"); }},
        {"tile vertical", [&] { trigger(*main, "mnuWindowTileVertical"); }},
        {"cascade", [&] { trigger(*main, "mnuWindowCascade"); }},
        {"maximise", [&] { sub->showMaximized(); }},
        {"tile while maximised", [&] { trigger(*main, "mnuWindowTileVertical"); }},
        {"maximise again", [&] { sub->showMaximized(); }},
        {"restore", [&] { sub->showNormal(); }},
        {"minimise", [&] { sub->showMinimized(); }},
        {"arrange icons", [&] { trigger(*main, "mnuWindowArrangeIcons"); }},
        {"restore from minimised", [&] { sub->showNormal(); }},
        {"another view activated", [&] { main->mdiArea->setActiveSubWindow(subOf(second)); }},
        {"activated again", [&] { main->mdiArea->setActiveSubWindow(sub); }},
    };
    for (const Case &c : cases) {
        c.arrange();
        settle();
        EXPECT_EQ(stateOf(*control), browsed) << c.name;
    }
    EXPECT_EQ(m_boxes.count(), 0) << m_boxes.texts().join('\n').toStdString();
    sub->showMaximized();
    shoot(*main, "browsed-view-maximised");
}

// The view the user clicks into becomes active and the click does what it does in an active
// view: here it drills into a quarter.
TEST_F(ViewWindows, TheClickThatActivatesAViewReachesItsControl)
{
    auto main = start();
    openAnother(*main);
    trigger(*main, "mnuWindowTileVertical");
    settle();
    frmPelmoraXpalOmrf *first = main->childWindows().value(0);
    frmPelmoraXpalOmrf *second = main->childWindows().value(1);
    ASSERT_EQ(main->activeChild(), second);
    PelmoraC02 *control = first->control();
    ASSERT_NE(control, nullptr);
    platform::grid::FlexGrid &results = *control->grdResults;
    const QString quarter = results.textMatrix(3, 0);
    const QRect cell = results.cellRect(3, 0);
    ASSERT_TRUE(results.viewport()->rect().contains(cell.center()));

    const QPoint at = results.viewport()->mapTo(main.get(), cell.center());
    QTest::mouseClick(main->windowHandle(), Qt::LeftButton, Qt::NoModifier, at);
    settle();
    EXPECT_EQ(main->activeChild(), first);
    EXPECT_EQ(pelmora::orderDimAt(control->layoutState, 1).padreTexto, QStringList({quarter}));
    EXPECT_EQ(results.textMatrix(2, 0), quarter);
    EXPECT_EQ(m_boxes.count(), 0) << m_boxes.texts().join('\n').toStdString();
    shoot(*main, "drilled-by-the-activating-click");
}

} // namespace
