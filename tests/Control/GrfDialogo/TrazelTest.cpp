// Trazel's window: the editor on def.oc2 in the program folder, its start without a file, OK and
// Cancel, and OK into a folder where the file cannot be written.
#include "Control/GrfDialogo/frmTrazel.h"
#include "platform/chart/Chart2D.h"
#include "platform/chart/ChartTypes.h"
#include "tests/support/ScriptedModalRunner.h"
#include "tests/support/ScriptedMsgBox.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QListWidget>
#include <QSignalSpy>
#include <QTemporaryDir>

using testing_support::ScriptedModalRunner;

namespace {

QByteArray bytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class Trazel : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Started from elsewhere: nothing may be read or written in the working folder.
        m_previous = QDir::currentPath();
        QDir::setCurrent(elsewhere.path());
        def = QDir(program.path()).filePath(QStringLiteral("def.oc2"));
    }
    void TearDown() override { QDir::setCurrent(m_previous); }
    void writeDef()
    {
        platform::chart::Chart2D chart;
        chart.chartGroups().item(1).data().setSize(2, 3);
        chart.chartGroups().item(1).setChartType(platform::chart::ChartType::Bar);
        chart.header().setText(QStringLiteral("Sales"));
        ASSERT_TRUE(chart.saveFormat(def));
    }
    // A file dialog step that answers Cancel, noting its title.
    ScriptedModalRunner::Step cancelled(QString *title)
    {
        return [title](QDialog &dialog) {
            if (qobject_cast<QFileDialog *>(&dialog))
                *title = dialog.windowTitle();
            return int(QDialog::Rejected);
        };
    }

    QTemporaryDir program;
    QTemporaryDir elsewhere;
    QString def;
    testing_support::ScriptedMsgBox boxes;

private:
    QString m_previous;
};

} // namespace

TEST_F(Trazel, EditsDefInItsFolderInEnglishWithoutActionCalls)
{
    writeDef();
    frmTrazel form(program.path());
    form.Form_Load();
    EXPECT_EQ(form.vArchivo, "def.oc2");
    EXPECT_EQ(form.vLanguageId, 0);
    EXPECT_EQ(form.path(), def);
    EXPECT_EQ(form.windowTitle(), "Format 2D Chart");
    EXPECT_TRUE(form.chkSave->isHidden());
    EXPECT_TRUE(form.grf2d->actionCalls().isEmpty());
    EXPECT_EQ(form.grf2d->header().text(), "Sales");
    EXPECT_EQ(form.cmbGraficaTipo(0)->currentText(), "Bar");
    EXPECT_EQ(form.lstSeries(0)->count(), 2);

    QSignalSpy closed(&form, &QDialog::finished);
    form.grf2d->header().setText(QStringLiteral("Edited"));
    form.cmdOK_Click();
    EXPECT_TRUE(form.vOK);
    EXPECT_EQ(closed.count(), 1);
    platform::chart::Chart2D written;
    ASSERT_TRUE(written.loadFormat(def));
    EXPECT_EQ(written.header().text(), "Edited");
    EXPECT_TRUE(QDir(elsewhere.path()).isEmpty());
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(Trazel, CancelLeavesDefByteForByte)
{
    writeDef();
    const QByteArray before = bytes(def);
    frmTrazel form(program.path());
    form.Form_Load();
    form.grf2d->header().setText(QStringLiteral("Edited"));
    QSignalSpy closed(&form, &QDialog::finished);
    form.cmdCancel_Click();
    EXPECT_FALSE(form.vOK);
    EXPECT_EQ(closed.count(), 1);
    EXPECT_EQ(bytes(def), before);
}

TEST_F(Trazel, WithoutDefTheOpenDialogComesAndOkCreatesTheFile)
{
    ScriptedModalRunner dialogs;
    QString title;
    dialogs.then(cancelled(&title));
    frmTrazel form(program.path());
    form.Form_Load();
    EXPECT_EQ(title, "Abrir formato");
    EXPECT_TRUE(dialogs.done());
    // The controls show the preview's own look, not blanks.
    EXPECT_EQ(form.cmbGraficaTipo(0)->currentText(), "Plot");
    form.cmdOK_Click();
    ASSERT_TRUE(QFile::exists(def));
    platform::chart::Chart2D written;
    ASSERT_TRUE(written.loadFormat(def));
    EXPECT_EQ(written.model(), form.grf2d->model());
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(Trazel, OkSaysWhenDefCannotBeWrittenAndStaysOpen)
{
    // A folder in the file's place: neither readable as a chart nor writable, even for root.
    ASSERT_TRUE(QDir(program.path()).mkdir(QStringLiteral("def.oc2")));
    ScriptedModalRunner dialogs;
    QString title;
    dialogs.then(cancelled(&title));
    frmTrazel form(program.path());
    form.Form_Load();
    QSignalSpy closed(&form, &QDialog::finished);
    form.cmdOK_Click();
    EXPECT_FALSE(form.vOK);
    EXPECT_EQ(closed.count(), 0);
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.texts().first(), "The chart format could not be written to " + def);
}
