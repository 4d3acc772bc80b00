// One host with many views of a large cube, browsed by script as a user would for two spans of
// time (a minute each by default): drilling down and up on headers, nesting and un-nesting a
// dimension, swapping the axes, a format chosen in the format dialog, the view saved. No
// message may appear, and the resident memory may grow by less than 5% over the second span.
// Not part of the suite: scripts/load builds the cube and runs it under Xvfb.
//   PELMORA_LOAD_CUBE     the cube file (required)
//   PELMORA_LOAD_VIEWS    views opened (default 20)
//   PELMORA_LOAD_SECONDS  length of each span (default 60)
#include "Control/core/GestureRules.h"
#include "Control/core/PelmoraC02.h"
#include "Control/presentation/FormatDialog.h"
#include "PelmoraApp/frmMain.h"
#include "PelmoraApp/frmPelmoraXpalOmrf.h"
#include "platform/grid/FlexGrid.h"
#include "platform/olap/local/LocalProvider.h"
#include "tests/PelmoraApp/HostTestSupport.h"
#include "tests/support/ScriptedModalRunner.h"
#include "tests/support/ScriptedMsgBox.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTest>

#include <cstdio>
#include <malloc.h>
#include <functional>
#include <optional>
#include <set>

using testing_support::ScriptedModalRunner;
using testing_support::ScriptedMsgBox;

namespace {

int environmentNumber(const char *name, int fallback)
{
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok && value > 0 ? value : fallback;
}

// The resident set of this process, in kB.
long residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    }
    return -1;
}

// A header cell of the data grid that is in view and satisfies `wanted`.
struct HeaderCell
{
    int row = 0;
    int col = 0;
    pelmora::GridHit hit;
};

std::optional<HeaderCell> findHeader(const PelmoraC02 &control,
                                     const std::function<bool(const pelmora::GridHit &)> &wanted)
{
    const platform::grid::FlexGrid &grid = *control.grdResults;
    const QRect view = grid.viewport()->rect();
    for (int row = 0; row < std::min(grid.rows(), 40); ++row) {
        for (int col = 0; col < std::min(grid.cols(), 12); ++col) {
            const pelmora::GridHit hit = pelmora::gridHit(control.layoutState, row, col);
            const QRect cell = grid.cellRect(row, col);
            if (hit.isHeader() && !cell.isEmpty() && view.contains(cell.center()) && wanted(hit))
                return HeaderCell{row, col, hit};
        }
    }
    return std::nullopt;
}

void click(platform::grid::FlexGrid &grid, int row, int col,
           Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, modifiers, grid.cellRect(row, col).center());
}

class HostLoad : public hosttest::HostTest
{
protected:
    // The cells the views' engines keep, and how many copies of the cube file they read.
    std::pair<std::int64_t, std::size_t> engineCells()
    {
        std::int64_t cells = 0;
        std::set<const void *> files;
        for (frmPelmoraXpalOmrf *child : main->childWindows()) {
            const auto &connection = child->control()->connState.connection;
            if (!connection)
                continue;
            auto *local =
                dynamic_cast<platform::olap::local::LocalProvider *>(connection->provider().get());
            if (local) {
                cells += local->engine().statistics().cachedCells;
                files.insert(local->cubeFile().get());
            }
        }
        return {cells, files.size()};
    }

    // The view of window `index`, brought to the front and filling the main window.
    PelmoraC02 &activate(int index)
    {
        frmPelmoraXpalOmrf *child = main->childWindows().at(index);
        auto *sub = qobject_cast<QMdiSubWindow *>(child->parentWidget());
        main->mdiArea->setActiveSubWindow(sub);
        sub->showMaximized();
        QCoreApplication::processEvents();
        return *child->control();
    }

    // One gesture of the browse on the active view; answers what it was.
    const char *browse(PelmoraC02 &control, int index, int step)
    {
        const int axes =
            control.countOrderDims(pelmora::Rows) + control.countOrderDims(pelmora::Columns);
        switch (step % 7) {
        case 0:
            if (const auto cell =
                    findHeader(control, [](const auto &h) { return !h.firstPosition; })) {
                click(*control.grdResults, cell->row, cell->col);
                return "drill down";
            }
            [[fallthrough]];
        case 1:
            if (const auto cell =
                    findHeader(control, [](const auto &h) { return h.firstPosition; })) {
                click(*control.grdResults, cell->row, cell->col);
                return "drill up";
            }
            return "nothing to drill";
        case 2:
            // A slicer title picked up and dropped with Ctrl on a header: nested there.
            if (axes < 4 && control.grdTitulos->rows() > 0) {
                if (const auto cell = findHeader(control, [](const auto &) { return true; })) {
                    click(*control.grdTitulos, 0, 0);
                    click(*control.grdResults, cell->row, cell->col, Qt::ControlModifier);
                    return "nest";
                }
            }
            [[fallthrough]];
        case 3:
            // Ctrl on a header of an axis with more than one dimension: back to the slicer.
            if (const auto cell = findHeader(control, [&control](const pelmora::GridHit &h) {
                    return control.countOrderDims(h.place) > 1;
                })) {
                click(*control.grdResults, cell->row, cell->col, Qt::ControlModifier);
                return "un-nest";
            }
            return "nothing to nest";
        case 4:
            trigger(*main, "mnuActionsSwapXY");
            return "swap";
        case 5:
            runner.then([step](QDialog &dialog) {
                auto *form = qobject_cast<frmFormato *>(&dialog);
                if (!form)
                    return int(QDialog::Rejected);
                form->lstFormat->setCurrentRow(step % form->lstFormat->count());
                ScriptedModalRunner::click(dialog, QStringLiteral("cmdAceptar"));
                return dialog.result();
            });
            trigger(*main, "mnuEditFormat");
            return "format";
        default: {
            const QString view = dirPath(QStringLiteral("view %1.vcg").arg(index));
            for (const char *suffix : {".vcg", ".oc2", ".oc3"})
                QFile::remove(QString(view).replace(QStringLiteral(".vcg"), suffix));
            runner.then(chooseFile(view));
            trigger(*main, "mnuFileSave");
            EXPECT_TRUE(QFile::exists(view));
            return "save";
        }
        }
    }

    std::unique_ptr<frmMain> main;
    ScriptedMsgBox boxes;
    ScriptedModalRunner runner;
};

} // namespace

TEST_F(HostLoad, ManyViewsOfALargeCubeBrowseWithoutErrorsOrGrowingMemory)
{
    const QString cube = qEnvironmentVariable("PELMORA_LOAD_CUBE");
    ASSERT_TRUE(QFile::exists(cube)) << "PELMORA_LOAD_CUBE names no file: " << cube.toStdString();
    const int views = environmentNumber("PELMORA_LOAD_VIEWS", 20);
    const int span = environmentNumber("PELMORA_LOAD_SECONDS", 60);

    QElapsedTimer clock;
    clock.start();
    main = makeMain(nullptr);
    main->resize(1280, 1000);
    main->MDIForm_Load({cube});
    main->show();
    ASSERT_EQ(main->childWindows().size(), 1) << boxes.texts().join('\n').toStdString();
    while (main->childWindows().size() < views) {
        const qsizetype before = main->childWindows().size();
        runner.then([](QDialog &dialog) {
            ScriptedModalRunner::click(dialog, QStringLiteral("cmdCubo"));
            return dialog.result();
        });
        runner.then(chooseFile(cube));
        trigger(*main, "mnuFileOpen");
        ASSERT_EQ(main->childWindows().size(), before + 1)
            << boxes.texts().join('\n').toStdString();
    }
    const double opening = clock.elapsed() / 1000.0;
    const long opened = residentKb();
    const std::size_t copies = engineCells().second;
    EXPECT_EQ(copies, 1u) << "the views of one cube file share one loaded copy";

    long spanEnd[2] = {0, 0};
    std::int64_t spanCells[2] = {0, 0};
    qint64 spanRows[2] = {0, 0};
    qint64 spanCols[2] = {0, 0};
    std::size_t spanHeap[2] = {0, 0};
    int steps[2] = {0, 0};
    QMap<QString, int> gestures;
    clock.restart();
    int step = 0;
    for (int s = 0; s < 2; ++s) {
        while (clock.elapsed() < qint64(span) * 1000 * (s + 1)) {
            const int index = step % views;
            PelmoraC02 &control = activate(index);
            ++gestures[QString::fromLatin1(browse(control, index, step / views + index))];
            QCoreApplication::processEvents();
            ASSERT_EQ(boxes.count(), 0)
                << "step " << step << ": " << boxes.texts().join('\n').toStdString();
            ASSERT_EQ(runner.unexpected(), 0)
                << "step " << step << ": " << runner.shown().last().toStdString();
            ASSERT_GT(control.grdResults->rows(), 1) << "step " << step;
            ++step;
            ++steps[s];
        }
        spanEnd[s] = residentKb();
        spanCells[s] = engineCells().first;
        const struct mallinfo2 heap = mallinfo2();
        spanHeap[s] = heap.uordblks + heap.hblkhd;
        for (frmPelmoraXpalOmrf *child : main->childWindows()) {
            spanRows[s] += child->control()->grdResults->rows();
            spanCols[s] += child->control()->grdResults->cols();
        }
    }
    EXPECT_TRUE(runner.done());

    std::printf("%d views opened in %.1f s, resident %.0f MB, %zu loaded cop%s of the cube\n",
                views, opening, opened / 1024.0, copies, copies == 1 ? "y" : "ies");
    for (int s = 0; s < 2; ++s)
        std::printf("span %d (%d s): %d gestures; at its end resident %.0f MB, %lld cells in "
                    "the engines' caches, %lld rows and %lld columns in the views' grids, "
                    "%.0f MB allocated\n",
                    s + 1, span, steps[s], spanEnd[s] / 1024.0, qlonglong(spanCells[s]),
                    qlonglong(spanRows[s]), qlonglong(spanCols[s]),
                    double(spanHeap[s]) / (1 << 20));
    for (auto it = gestures.cbegin(); it != gestures.cend(); ++it)
        std::printf("  %-16s %d\n", qPrintable(it.key()), it.value());
    const double growth = 100.0 * double(spanEnd[1] - spanEnd[0]) / double(spanEnd[0]);
    std::printf("growth over the second span: %.2f%%\n", growth);
    EXPECT_LT(growth, 5.0);
    main->close();
}
