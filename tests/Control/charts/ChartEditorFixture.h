#pragma once

// Shared by the chart format editor's tests: a scripted file dialog, and an editor loaded on a
// chart of a few series, with its message boxes scripted.
#include "Control/charts/frmGrf2D.h"
#include "platform/chart/Chart2D.h"
#include "tests/Control/charts/ChartTestSupport.h"
#include "tests/support/ScriptedModalRunner.h"
#include "tests/support/ScriptedMsgBox.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QFileDialog>
#include <QListWidget>
#include <QTemporaryDir>

#include <memory>

namespace charts_test {

// A scripted file dialog step: checks the title, picks the filter and the file, or cancels
// (an empty file).
inline testing_support::ScriptedModalRunner::Step pick(QString *title, QStringList *filters,
                                                       const QString &file, int filter = 1)
{
    return [=](QDialog &dialog) {
        auto *files = qobject_cast<QFileDialog *>(&dialog);
        if (!files)
            return int(QDialog::Rejected);
        if (title)
            *title = files->windowTitle();
        if (filters)
            *filters = files->nameFilters();
        if (file.isEmpty())
            return int(QDialog::Rejected);
        files->selectNameFilter(files->nameFilters().value(filter - 1));
        files->selectFile(file);
        return int(QDialog::Accepted);
    };
}

// A series' look as the chart draws it, read without creating a style.
inline platform::chart::SeriesStyle style(const platform::chart::Chart2D &chart, int series)
{
    return chart.chartGroups().item(1).styles().at(series);
}

class EditorOnChart : public ::testing::Test
{
protected:
    // A chart of `series` series of four points, saved and loaded into a new editor.
    std::unique_ptr<frmGrf2D> editor(int series = 3, int language = 0)
    {
        platform::chart::Chart2D chart;
        chart.chartGroups().item(1).data().setSize(series, 4);
        for (int s = 1; s <= series; ++s)
            chart.chartGroups().item(1).seriesLabels().add(QStringLiteral("S%1").arg(s));
        const QString file = dir.filePath(QStringLiteral("chart.oc2"));
        EXPECT_TRUE(chart.saveFormat(file));
        return loadedEditor(file, language);
    }
    // What a user's choice in a list does: the list moves there and reports the choice.
    static void choose(QComboBox *list, int position)
    {
        list->setCurrentIndex(position);
        emit list->activated(position);
    }
    static void selectSeries(frmGrf2D &form, int series)
    {
        form.lstSeries(0)->setCurrentRow(series - 1);
    }

    QTemporaryDir dir;
    testing_support::ScriptedMsgBox boxes;
};

} // namespace charts_test
