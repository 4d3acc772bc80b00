#pragma once

// Shared by the control's chart tests: a control on the sales fixture cube, and looks at the
// charts it feeds.
#include "Control/charts/frmGrf2D.h"
#include "Control/core/PelmoraC02.h"
#include "platform/chart/Chart2D.h"
#include "platform/chart/Chart3D.h"
#include "tests/support/ScriptedMsgBox.h"

#include <gtest/gtest.h>

#include <QImage>
#include <QLabel>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <ostream>
#include <vector>

inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace charts_test {

// Whether the program has an X display (ctest gives it Xvfb); without one it runs offscreen.
bool haveDisplay();

// Every value of the 2-D chart's group 1, series by series; of the 3-D elevation data, row by
// row.
std::vector<std::vector<double>> values2d(const platform::chart::Chart2D &chart);
std::vector<std::vector<double>> values3d(const platform::chart::Chart3D &chart);

// The chart format editor loaded (its Form_Load run) on a chart format file, in a language.
std::unique_ptr<frmGrf2D> loadedEditor(const QString &file, int language = 0);

// How many pixels differ clearly from the most common colour of the image.
int pixelsUnlikeBackground(const QImage &image);

// A control connected to the sales cube, its message boxes scripted.
class SalesControl : public ::testing::Test
{
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;

    // Moves record i to a place and order on it.
    void place(int i, int lugar, int orden);
    // Runs a statement (MDXExecute, which feeds the visible chart).
    void run(const QString &statement);

    static std::unique_ptr<QTemporaryDir> s_dir;
    static QString s_cube;

    testing_support::ScriptedMsgBox boxes;
    PelmoraC02 control;
};

} // namespace charts_test
