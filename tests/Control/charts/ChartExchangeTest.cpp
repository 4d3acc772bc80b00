// A double-click on the control's 2-D chart edits it in the chart format editor: the chart goes
// there and back through a temporary chart format file, and the stored chart defaults and the
// refeed follow the save-as-default box.
#include "Control/charts/frmGrf2D.h"
#include "Control/settings/StoredDefaults.h"
#include "platform/chart/ChartTypes.h"
#include "tests/Control/charts/ChartTestSupport.h"
#include "tests/support/ScriptedModalRunner.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileInfo>
#include <QSignalSpy>

using testing_support::ScriptedModalRunner;
namespace ChartType = platform::chart::ChartType;
using namespace pelmora::defaults;

namespace {

class ChartExchange : public charts_test::SalesControl
{
protected:
    void SetUp() override
    {
        // The stored defaults of these tests go to a store of their own.
        m_hadStore = qEnvironmentVariableIsSet("PELMORA_REGISTRY");
        m_previousStore = qgetenv("PELMORA_REGISTRY");
        qputenv("PELMORA_REGISTRY", store.path().toUtf8());
        SalesControl::SetUp();
        ASSERT_TRUE(control.genSelect());
        fed = charts_test::values2d(*control.grf2d);
        ASSERT_FALSE(fed.empty());
    }
    void TearDown() override
    {
        if (m_hadStore)
            qputenv("PELMORA_REGISTRY", m_previousStore);
        else
            qunsetenv("PELMORA_REGISTRY");
    }

    // The chart type stored as the default, read into a chart of its own (0 when none is).
    qint32 storedType()
    {
        platform::chart::Chart2DModel model;
        model.group().setChartType(ChartType::Polar);
        if (readSection(chartSection(Chart2DParts::of(model))) != SectionRead::Read)
            return 0;
        return model.group().chartType();
    }

    // Double-clicks the chart with one editor step, which changes the type to bars, puts a
    // value the grid does not have into the first series, ticks the box when asked and closes
    // with OK or Cancel. Answers the file the editor was given.
    QString exchange(bool ok, bool saveDefault)
    {
        QString file;
        ScriptedModalRunner dialogs;
        dialogs.then([&](QDialog &dialog) {
            auto *editor = qobject_cast<frmGrf2D *>(&dialog);
            if (!editor)
                return int(QDialog::Rejected);
            file = editor->vArchivo;
            EXPECT_TRUE(QFileInfo::exists(file));
            EXPECT_EQ(charts_test::values2d(*editor->grf2d), fed); // the control's chart
            editor->cmbGraficaTipo(0)->setCurrentIndex(1);
            editor->cmbGraficaTipo_Click(0);
            editor->grf2d->chartGroups().item(1).data().setValue(1, 1, 12345);
            editor->chkSave->setChecked(saveDefault);
            ScriptedModalRunner::click(dialog, ok ? "cmdOK" : "cmdCancel");
            return ok ? 1 : 0;
        });
        QSignalSpy doubleClicks(&control, &PelmoraC02::DblClick);
        emit control.grf2d->doubleClicked();
        EXPECT_TRUE(dialogs.done());
        EXPECT_EQ(dialogs.shown(), QStringList({"frmGrf2D"}));
        EXPECT_EQ(doubleClicks.count(), 1);
        EXPECT_FALSE(file.isEmpty());
        EXPECT_FALSE(QFileInfo::exists(file));
        EXPECT_FALSE(QFileInfo::exists(QFileInfo(file).path())); // its folder goes too
        return file;
    }

    QTemporaryDir store;
    std::vector<std::vector<double>> fed;

private:
    bool m_hadStore = false;
    QByteArray m_previousStore;
};

} // namespace

TEST_F(ChartExchange, CancelKeepsTheChartAndRemovesTheFile)
{
    const platform::chart::Chart2DModel before = control.grf2d->model();
    exchange(false, true);
    EXPECT_EQ(control.grf2d->model(), before);
    EXPECT_EQ(storedType(), 0);
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(ChartExchange, OkShowsTheEditedChartAsItIs)
{
    exchange(true, false);
    EXPECT_EQ(control.grf2d->chartGroups().item(1).chartType(), ChartType::Bar);
    EXPECT_EQ(control.grf2d->chartGroups().item(1).data().value(1, 1), 12345); // not refed
    EXPECT_EQ(storedType(), 0); // the defaults are not stored
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(ChartExchange, OkWithTheBoxTickedStoresTheDefaultsAndRefeedsTheChart)
{
    exchange(true, true);
    EXPECT_EQ(storedType(), ChartType::Bar);
    EXPECT_EQ(control.grf2d->chartGroups().item(1).chartType(), ChartType::Bar);
    EXPECT_EQ(charts_test::values2d(*control.grf2d), fed); // refed from the grid
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(ChartExchange, TwoExchangesUseFilesOfTheirOwn)
{
    const QString first = exchange(false, false);
    const QString second = exchange(false, false);
    EXPECT_NE(first, second);
    EXPECT_FALSE(first.startsWith(QCoreApplication::applicationDirPath()));
}

TEST_F(ChartExchange, TheThreeDimensionalChartOpensNoEditor)
{
    ScriptedModalRunner dialogs;
    QSignalSpy doubleClicks(&control, &PelmoraC02::DblClick);
    emit control.grf3d->doubleClicked();
    EXPECT_TRUE(dialogs.shown().isEmpty());
    EXPECT_EQ(doubleClicks.count(), 1);
}

TEST_F(ChartExchange, AFileThatCannotBeWrittenOrReadBackIsReported)
{
    const platform::chart::Chart2DModel before = control.grf2d->model();
    {
        // No temporary folder can be made under a plain file: no editor opens.
        QTemporaryDir scratch;
        const QString notAFolder = scratch.filePath(QStringLiteral("plain"));
        QFile plain(notAFolder);
        ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
        plain.close();
        const QByteArray previous = qgetenv("TMPDIR");
        qputenv("TMPDIR", notAFolder.toUtf8());
        ScriptedModalRunner dialogs;
        QSignalSpy doubleClicks(&control, &PelmoraC02::DblClick);
        emit control.grf2d->doubleClicked();
        qputenv("TMPDIR", previous);
        EXPECT_TRUE(dialogs.shown().isEmpty());
        EXPECT_EQ(doubleClicks.count(), 1);
        ASSERT_EQ(boxes.count(), 1);
        EXPECT_TRUE(boxes.texts().first().startsWith(
            "grf2d_DblClick: the chart format could not be written to "));
    }
    boxes.clear();
    {
        // The editor's file is spoilt after OK: the chart keeps its look, and says so.
        ScriptedModalRunner dialogs;
        QString file;
        dialogs.then([&file](QDialog &dialog) {
            auto *editor = qobject_cast<frmGrf2D *>(&dialog);
            if (!editor)
                return 0;
            file = editor->vArchivo;
            editor->grf2d->header().setText(QStringLiteral("Lost"));
            ScriptedModalRunner::click(dialog, "cmdOK");
            QFile spoilt(file);
            EXPECT_TRUE(spoilt.open(QIODevice::WriteOnly | QIODevice::Truncate));
            spoilt.write("not a chart");
            return 1;
        });
        emit control.grf2d->doubleClicked();
        EXPECT_EQ(control.grf2d->model(), before);
        ASSERT_EQ(boxes.count(), 1);
        EXPECT_EQ(boxes.texts().first(),
                  "grf2d_DblClick: the edited chart format could not be read from " + file);
        EXPECT_FALSE(QFileInfo::exists(file));
    }
}
