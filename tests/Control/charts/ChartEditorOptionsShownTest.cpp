// The chart format editor shown for real: the user restyles a chart with the mouse and the
// keyboard (tabs, check boxes, lists, the colour and font dialogs) and closes with OK; a
// picture of the dialog before and after.
#include "Control/charts/frmGrf2D.h"
#include "platform/chart/Chart2D.h"
#include "platform/chart/ChartTypes.h"
#include "platform/forms/Modal.h"
#include "platform/forms/ScreenTwips.h"
#include "platform/widgets/TabStrip.h"
#include "tests/support/ScriptedMsgBox.h"
#include "tests/support/ShownDialogs.h"
#include "tests/support/UserInput.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFontDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTemporaryDir>
#include <QTest>

using testing_support::keyClick;
using testing_support::mouseClick;
using testing_support::whenShown;
namespace ChartType = platform::chart::ChartType;

namespace {

void showTab(frmGrf2D &editor, int tab)
{
    auto *bar = editor.tabs->findChild<QTabBar *>();
    mouseClick(bar, bar->tabRect(tab).center());
    QApplication::processEvents();
}

// Opens a list with the mouse and chooses an entry with the keys: Home, then Down `steps`
// times, then Return.
void chooseByKeys(QComboBox *list, int steps)
{
    mouseClick(list);
    QAbstractItemView *popup = list->view();
    EXPECT_TRUE(popup->isVisible());
    keyClick(popup, Qt::Key_Home);
    for (int i = 0; i < steps; ++i)
        keyClick(popup, Qt::Key_Down);
    keyClick(popup, Qt::Key_Return);
}

// Where a user clicks a check box: on its box, at its left (the box may stretch far beyond
// its caption).
QPoint indicator(const QCheckBox *box)
{
    return QPoint(8, box->height() / 2);
}

void picture(frmGrf2D &editor, const char *name)
{
    QDir().mkpath(QStringLiteral(PELMORA_TEST_PICTURES));
    editor.grab().save(QStringLiteral(PELMORA_TEST_PICTURES "/%1.png").arg(QLatin1String(name)));
}

} // namespace

TEST(ChartEditorOptionsOnScreen, TheUserRestylesAChartWithMouseAndKeys)
{
    testing_support::ScriptedMsgBox boxes;
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("chart.oc2"));
    {
        platform::chart::Chart2D chart;
        auto &group = chart.chartGroups().item(1);
        group.data().setSize(4, 6);
        for (int s = 1; s <= 4; ++s) {
            group.seriesLabels().add(QStringLiteral("Region %1").arg(s));
            for (int p = 1; p <= 6; ++p)
                group.data().setValue(s, p, 10 * s + 7 * ((p * s) % 5));
        }
        chart.header().setText(QStringLiteral("Sales by region"));
        chart.legend().setIsShowing(true);
        ASSERT_TRUE(chart.saveFormat(file));
    }
    frmGrf2D editor;
    editor.vArchivo = file;
    editor.resize(900, 900);
    bool driven = false;
    int widthBefore = 0;
    whenShown([&](QWidget &) {
        picture(editor, "chart-editor-restyle-before");
        const platform::chart::Chart2D &chart = *editor.grf2d;
        // Chart tab: the bars, by the keys in the open list.
        chooseByKeys(editor.cmbGraficaTipo(0), 1);
        EXPECT_EQ(chart.chartGroups().item(1).chartType(), ChartType::Bar);
        // The chart's background colour, typed into the colour dialog.
        whenShown([](QWidget &window) {
            auto *html = window.findChild<QLineEdit *>();
            for (QLineEdit *edit : window.findChildren<QLineEdit *>()) {
                if (edit->text().startsWith(u'#'))
                    html = edit;
            }
            ASSERT_NE(html, nullptr);
            mouseClick(html);
            html->selectAll();
            testing_support::keyClicks(html, QStringLiteral("#f0e8c8"));
            keyClick(html, Qt::Key_Return);
        });
        mouseClick(editor.cmdColorFondo(0));
        EXPECT_EQ(chart.interior().background(), 0xC8E8F0);

        // Header: a bigger font, chosen in the font dialog and taken with its OK button.
        showTab(editor, 1);
        whenShown([](QWidget &window) {
            auto &fonts = static_cast<QFontDialog &>(window);
            QFont big = fonts.currentFont();
            big.setPointSize(20);
            fonts.setCurrentFont(big);
            auto *buttons = window.findChild<QDialogButtonBox *>();
            ASSERT_NE(buttons, nullptr);
            mouseClick(buttons->button(QDialogButtonBox::Ok));
        });
        mouseClick(editor.cmdFuente(1));
        EXPECT_EQ(chart.header().font().size(), 20);

        // Legend: shown at the south west, with a 3d border.
        showTab(editor, 3);
        chooseByKeys(editor.cmbPosicion(0), 7);
        EXPECT_EQ(chart.legend().anchor(), 34);
        chooseByKeys(editor.cmbBorde(3), 1);
        EXPECT_EQ(chart.legend().border().borderType(), 1);
        // Its box clicked twice with the mouse: the legend follows the box each time.
        for (int click = 0; click < 2; ++click) {
            mouseClick(editor.chkIsShowing(3), indicator(editor.chkIsShowing(3)));
            EXPECT_EQ(chart.legend().isShowing(), editor.chkIsShowing(3)->isChecked());
        }
        if (!chart.legend().isShowing())
            mouseClick(editor.chkIsShowing(3), indicator(editor.chkIsShowing(3)));
        EXPECT_TRUE(chart.legend().isShowing());

        // Y axis: a dotted grid, the values reversed by the space bar.
        showTab(editor, 5);
        chooseByKeys(editor.cmbLinea(3), 3);
        EXPECT_EQ(chart.chartArea().axes().y().gridStyle(), 4);
        editor.chkEjeY(2)->setFocus();
        keyClick(editor.chkEjeY(2), Qt::Key_Space, QStringLiteral(" "));
        EXPECT_TRUE(chart.chartArea().axes().y().isReversed());

        // Style: patterns for every series by the space bar; a cancelled symbol colour.
        showTab(editor, 6);
        editor.chkColor(2)->setFocus();
        keyClick(editor.chkColor(2), Qt::Key_Space, QStringLiteral(" "));
        EXPECT_EQ(chart.chartGroups().item(1).styles().at(3).fill().pattern(), 4);
        const platform::chart::Chart2DModel styled = chart.model();
        whenShown([](QWidget &window) { testing_support::pressKey(window, Qt::Key_Escape); });
        mouseClick(editor.cmdColorFrente(13));
        EXPECT_EQ(chart.model(), styled);

        // Modify chart widens the dialog by its strip.
        widthBefore = editor.width();
        mouseClick(editor.chkUpdate, indicator(editor.chkUpdate));
        EXPECT_EQ(editor.width(),
                  widthBefore + platform::forms::twipsToPixelsX(frmGrf2D::updateStripWidth));
        QTest::qWait(100);
        picture(editor, "chart-editor-strip-open");
        mouseClick(editor.chkUpdate, indicator(editor.chkUpdate));
        EXPECT_EQ(editor.width(), widthBefore);

        showTab(editor, 0);
        QTest::qWait(100);
        picture(editor, "chart-editor-restyle-after");
        mouseClick(editor.cmdOK);
        driven = true;
    });
    platform::forms::showModal(editor);
    EXPECT_TRUE(driven);
    EXPECT_TRUE(editor.vOK);
    platform::chart::Chart2D saved;
    ASSERT_TRUE(saved.loadFormat(file));
    EXPECT_EQ(saved.chartGroups().item(1).chartType(), ChartType::Bar);
    EXPECT_EQ(saved.legend().anchor(), 34);
    EXPECT_EQ(boxes.count(), 0) << boxes.texts().join("; ").toStdString();
}
