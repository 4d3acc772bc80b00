// The chart format editor shown for real: a double-click on the control's 2-D chart opens it,
// the user changes the chart type with the keyboard, walks the tabs with the mouse and closes
// with OK; and a picture of each tab in both languages.
#include "Control/charts/frmGrf2D.h"
#include "platform/chart/ChartTypes.h"
#include "platform/widgets/TabStrip.h"
#include "tests/Control/charts/ChartTestSupport.h"
#include "tests/support/ShownDialogs.h"
#include "tests/support/UserInput.h"

#include <QApplication>
#include <QChartView>
#include <QTest>
#include <QAbstractItemView>
#include <QComboBox>
#include <QDir>
#include <QPushButton>
#include <QSignalSpy>
#include <QTabBar>

using testing_support::keyClick;
using testing_support::mouseClick;
namespace ChartType = platform::chart::ChartType;

using ChartEditorOnScreen = charts_test::SalesControl;

TEST_F(ChartEditorOnScreen, TheUserChangesTheChartTypeWithMouseAndKeys)
{
    ASSERT_TRUE(control.genSelect());
    control.resize(900, 700);
    control.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&control));
    ASSERT_TRUE(control.grf2d->isVisible());
    QString file;
    bool driven = false;
    testing_support::whenShown([&](QWidget &window) {
        auto *editor = qobject_cast<frmGrf2D *>(&window);
        ASSERT_NE(editor, nullptr);
        file = editor->vArchivo;
        EXPECT_EQ(editor->windowTitle(), "Format 2D Chart");
        auto *bar = editor->tabs->findChild<QTabBar *>();
        for (const int tab : {5, 9, 0}) {
            mouseClick(bar, bar->tabRect(tab).center());
            EXPECT_EQ(editor->tabs->currentTab(), tab);
        }
        QComboBox *type = editor->cmbGraficaTipo(0);
        mouseClick(type); // opens its list; the keys choose in it
        EXPECT_TRUE(type->view()->isVisible());
        keyClick(type->view(), Qt::Key_Down); // from the plot to the bars
        keyClick(type->view(), Qt::Key_Return);
        EXPECT_EQ(editor->grf2d->chartGroups().item(1).chartType(), ChartType::Bar);
        mouseClick(editor->cmdOK);
        driven = true;
    });
    QSignalSpy doubleClicks(&control, &PelmoraC02::DblClick);
    testing_support::mouseDoubleClick(control.grf2d->chartView()->viewport());
    EXPECT_TRUE(driven);
    EXPECT_EQ(doubleClicks.count(), 1);
    EXPECT_EQ(control.grf2d->chartGroups().item(1).chartType(), ChartType::Bar);
    EXPECT_FALSE(file.isEmpty());
    EXPECT_FALSE(QFile::exists(file));
    EXPECT_EQ(boxes.count(), 0) << boxes.texts().join("; ").toStdString();
}

TEST_F(ChartEditorOnScreen, EveryTabInBothLanguages)
{
    ASSERT_TRUE(control.genSelect());
    QTemporaryDir dir;
    const QString file = dir.filePath(QStringLiteral("chart.oc2"));
    ASSERT_TRUE(control.grf2d->saveFormat(file));
    QDir().mkpath(QStringLiteral(PELMORA_TEST_PICTURES));
    for (const int language : {0, 1}) {
        frmGrf2D editor;
        editor.vLanguageId = language;
        editor.vArchivo = file;
        editor.show();
        for (int tab = 0; tab < editor.tabs->tabCount(); ++tab) {
            editor.tabs->setCurrentTab(tab);
            QApplication::processEvents();
            const QImage picture = editor.grab().toImage();
            EXPECT_GT(charts_test::pixelsUnlikeBackground(picture), 1000) << tab;
            picture.save(QStringLiteral(PELMORA_TEST_PICTURES "/chart-editor-%1-tab%2.png")
                             .arg(language == 0 ? "en" : "es")
                             .arg(tab));
        }
        editor.hide();
    }
}
