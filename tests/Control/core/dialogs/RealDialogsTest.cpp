// Each view dialog shown for real, through the real modal runner, and driven as a user does:
// mouse clicks on its controls, keys typed into it. A watchdog closes a dialog left open so
// that a failure cannot hang the run.
#include "Control/core/ElementsDialog.h"
#include "Control/core/LayoutDialog.h"
#include "Control/core/MdxDialog.h"
#include "Control/core/SplashDialog.h"
#include "Control/core/TitleDialog.h"
#include "platform/chart/Chart2D.h"
#include "platform/widgets/MdxEdit.h"
#include "tests/Control/core/GestureTestSupport.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <QThread>
#include <QTimer>

#include <functional>

using namespace gesturetest;

namespace {

// Runs `drive` on the modal dialog once it is on the screen (and, unless told otherwise,
// active), then waits for it to close; a dialog still open after `limitMs` is rejected and
// counted as a failure.
class WhenShown
{
public:
    enum Activation { Activate, LeaveInactive };

    template <typename Form>
    explicit WhenShown(std::function<void(Form &)> drive, int limitMs = 10000,
                       Activation activation = Activate)
    {
        m_poll.setInterval(20);
        QObject::connect(&m_poll, &QTimer::timeout, [this, drive, activation] {
            auto *form = qobject_cast<Form *>(QApplication::activeModalWidget());
            if (!form || !form->isVisible())
                return;
            m_poll.stop();
            if (activation == Activate) {
                ASSERT_TRUE(QTest::qWaitForWindowExposed(form));
                // The keys go to the active window.
                form->activateWindow();
                EXPECT_TRUE(QTest::qWaitForWindowActive(form));
                QTest::qWait(50);
            }
            ++m_driven;
            drive(*form);
        });
        m_poll.start();
        m_watchdog.setSingleShot(true);
        QObject::connect(&m_watchdog, &QTimer::timeout, [] {
            if (auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
                ADD_FAILURE() << "the dialog stayed open";
                dialog->reject();
            }
        });
        m_watchdog.start(limitMs);
    }

    int driven() const { return m_driven; }

private:
    QTimer m_poll;
    QTimer m_watchdog;
    int m_driven = 0;
};

void clickOn(QWidget *widget)
{
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
}

void clickItem(QListWidget *list, const QString &text)
{
    const QList<QListWidgetItem *> found = list->findItems(text, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << text.toStdString();
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                      list->visualItemRect(found.first()).center());
}

// A picture of the dialog for the build tree.
void keepPicture(QWidget &form, const QString &name)
{
    QDir().mkpath(QStringLiteral(PELMORA_SCREENS_DIR));
    form.grab().save(QDir(QStringLiteral(PELMORA_SCREENS_DIR)).filePath(name + ".png"));
}

} // namespace

class RealDialogs : public SalesControl
{
};

TEST_F(RealDialogs, ElementsDialogWithMouseAndKeys)
{
    WhenShown shown(std::function<void(frmElementos &)>([](frmElementos &form) {
        EXPECT_TRUE(form.chkTitulo->isChecked());
        // On the box itself, not on the free width the layout gives the check box.
        QTest::mouseClick(form.chkTitulo, Qt::LeftButton, Qt::NoModifier,
                          QPoint(8, form.chkTitulo->height() / 2)); // off
        EXPECT_FALSE(form.chkTitulo->isChecked());
        // The click left the focus on the title box: two tabs on, the matrix box; space: off.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        EXPECT_EQ(QApplication::focusWidget(), form.chkDatos);
        QTest::keyClick(form.chkDatos, Qt::Key_Space);
        EXPECT_FALSE(form.chkDatos->isChecked());
        QTest::keyClick(&form, Qt::Key_Return); // OK is the default button
    }));
    EXPECT_TRUE(control.showElements());
    EXPECT_EQ(shown.driven(), 1);
    EXPECT_TRUE(control.lblCubo->isHidden());
    EXPECT_TRUE(control.grdResults->isHidden());
    EXPECT_FALSE(control.grdTitulos->isHidden());
}

TEST_F(RealDialogs, LayoutDialogWithMouseAndKeys)
{
    WhenShown shown(std::function<void(frmLayout &)>([](frmLayout &form) {
        clickItem(form.lstV, "Time");
        clickItem(form.lstE, "Store");
        keepPicture(form, "frmLayout");
        clickOn(form.cmdHorizontal); // Store to the columns, Time too
        QTest::keyClick(&form, Qt::Key_Return);
    }));
    EXPECT_TRUE(control.showLayout());
    EXPECT_EQ(shown.driven(), 1);
    EXPECT_EQ(layoutOf(control),
              QStringList({"1/0/0/[Measures].[Sales]", "1/2/0/[Time].[1997]",
                           "0/0/7/[Product].[All Products]", "1/1/0/[Store].[All Stores]"}));
    EXPECT_EQ(control.countOrderDims(pelmora::Rows), 0);
}

TEST_F(RealDialogs, DirectMdxDialogTypedAndExecuted)
{
    control.controlFlags.Interactive = false;
    const QString typed = "SELECT {[Store].[All Stores].Children} ON COLUMNS FROM [Sales]";
    WhenShown shown(std::function<void(frmMDX &)>([&typed](frmMDX &form) {
        keepPicture(form, "frmMDX");
        clickOn(form.txtMDX);
        QTest::keySequence(form.txtMDX, QKeySequence::SelectAll);
        QTest::keyClick(form.txtMDX, Qt::Key_Delete);
        QTest::keyClicks(form.txtMDX, typed);
        EXPECT_EQ(form.txtMDX->text(), typed);
        clickOn(form.cmdEjecutar);
    }));
    EXPECT_TRUE(control.directMDX());
    EXPECT_EQ(shown.driven(), 1);
    EXPECT_EQ(control.queryState.currentMDX, typed);
    EXPECT_EQ(data().value(1), "Canada|USA");
}

// The layout has Time and Store on the rows; the typed statement has one row dimension and one
// measure. Its headers are titled by its own dimensions: no layout name lands on the measure's
// caption, and none is missing.
TEST_F(RealDialogs, DirectMdxWithOtherAxesThanTheLayoutTitlesItsOwnHeaders)
{
    using pelmora::Columns;
    using pelmora::Rows;
    using pelmora::Slicer;
    lay({{Columns, 0}, {Rows, 0}, {Slicer, 0}, {Rows, 1}});
    ASSERT_EQ(control.grdResults->textMatrix(1, 1), "Store");
    control.controlFlags.Interactive = false;
    control.resize(700, 500);
    control.show();
    const struct
    {
        const char *statement;
        QStringList rowTitles;    // the last header row, from column 0 on
        QStringList columnTitles; // row 0 from the first data column on
    } cases[] = {
        {"SELECT {[Measures].[Cost]} ON COLUMNS, {[Product].[All Products].Children} ON ROWS "
         "FROM [Sales]",
         {"Product", "Cost"},
         {"Measures"}},
        {"SELECT CrossJoin({[Store].[All Stores].Children}, {[Measures].[Cost]}) ON COLUMNS, "
         "{[Time].[1997]} ON ROWS FROM [Sales]",
         {"Time", "Cost", "Cost"},
         {"Store", "Measures"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.statement);
        const QString typed = QString::fromLatin1(c.statement);
        WhenShown shown(std::function<void(frmMDX &)>([&typed](frmMDX &form) {
            clickOn(form.txtMDX);
            QTest::keySequence(form.txtMDX, QKeySequence::SelectAll);
            QTest::keyClick(form.txtMDX, Qt::Key_Delete);
            QTest::keyClicks(form.txtMDX, typed);
            clickOn(form.cmdEjecutar);
        }));
        EXPECT_TRUE(control.directMDX());
        EXPECT_EQ(shown.driven(), 1);
        EXPECT_EQ(boxes.texts(), QStringList());
        const platform::grid::FlexGrid &grid = *control.grdResults;
        const int titleRow = grid.fixedRows() - 1;
        QStringList rowTitles;
        for (int col = 0; col < c.rowTitles.size(); ++col)
            rowTitles << grid.textMatrix(titleRow, col);
        EXPECT_EQ(rowTitles.join(u'|'), c.rowTitles.join(u'|'));
        QStringList columnTitles;
        for (int col = 0; col < c.columnTitles.size(); ++col)
            columnTitles << grid.textMatrix(0, grid.fixedCols() + col);
        EXPECT_EQ(columnTitles.join(u'|'), c.columnTitles.join(u'|'));
    }
    // The last statement's grids as they are shown.
    QTest::qWait(50);
    keepPicture(control, "direct-mdx-own-titles");
}

TEST_F(RealDialogs, TitleDialogTypedAndClosed)
{
    WhenShown shown(std::function<void(frmTitulo &)>([](frmTitulo &form) {
        QTest::keySequence(form.txtTitulo, QKeySequence::SelectAll);
        QTest::keyClicks(form.txtTitulo, "Sales by store");
        QTest::keyClick(&form, Qt::Key_Return); // the close button is the default
    }));
    EXPECT_TRUE(control.changeTitle());
    EXPECT_EQ(shown.driven(), 1);
    EXPECT_EQ(control.lblCubo->text(), "Sales by store");
    EXPECT_EQ(control.grf2d->header().text(), "Sales by store");
}

TEST_F(RealDialogs, AboutBoxStaysUntilClosed)
{
    control.language.LanguageID = 0;
    bool stillOpen = false;
    WhenShown shown(std::function<void(frmSplash &)>([&stillOpen](frmSplash &form) {
        keepPicture(form, "frmSplash-about");
        QTest::qWait(400);
        stillOpen = form.isVisible();
        clickOn(form.cmdClose);
    }));
    EXPECT_TRUE(control.ShowAboutBox());
    EXPECT_EQ(shown.driven(), 1);
    EXPECT_TRUE(stillOpen);
}

TEST_F(RealDialogs, SplashClosesByItself)
{
    QList<int> waits;
    const frmSplash::Sleeper previous = frmSplash::setSleeper([&waits](int ms) {
        waits << ms;
        QThread::msleep(50);
    });
    // Nobody touches the form, nor waits for it to become active, since it may end first; the
    // watchdog would fail the test.
    WhenShown shown(std::function<void(frmSplash &)>([](frmSplash &) {}), 5000,
                    WhenShown::LeaveInactive);
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(control.ShowSplash());
    EXPECT_LT(clock.elapsed(), 4000);
    EXPECT_EQ(waits, QList<int>({1500}));
    frmSplash::setSleeper(previous);
}

TEST_F(RealDialogs, SplashDrawnBeforeItsModalLoopStillClosesByItself)
{
    // A splash screen handles pending events while it is being shown, before its modal loop
    // runs; when it is drawn then, its end must still end that loop.
    const frmSplash::Sleeper previous = frmSplash::setSleeper([](int) { QThread::msleep(50); });
    const int levelBefore = QThread::currentThread()->loopLevel();
    int levelSeen = -1;
    QTimer early;
    early.setInterval(0);
    QObject::connect(&early, &QTimer::timeout, [&] {
        auto *form = qobject_cast<frmSplash *>(QApplication::activeModalWidget());
        if (!form || !form->isVisible())
            return;
        early.stop();
        levelSeen = QThread::currentThread()->loopLevel();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(form));
        // The drawing, and the splash's end that follows it, happen in here.
        QTest::qWait(300);
    });
    early.start();
    QElapsedTimer clock;
    clock.start();
    EXPECT_TRUE(control.ShowSplash());
    EXPECT_EQ(levelSeen, levelBefore) << "the form was not met before its modal loop";
    EXPECT_LT(clock.elapsed(), 4000);
    frmSplash::setSleeper(previous);
}
