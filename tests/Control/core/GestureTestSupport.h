#pragma once

#include "Control/core/PelmoraC02.h"
#include "platform/grid/FlexGrid.h"
#include "tests/Control/core/GridRows.h"
#include "tests/support/ScriptedMsgBox.h"

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>

#include <memory>

class QTemporaryDir;

// Driving the control's grids as a user does: mouse events on a cell of a grid's viewport
// (which sets the grid's mouse row and column), the Ctrl key on the data grid.
namespace gesturetest {

// Press and release of the left button on the centre of a cell; false (and a test failure)
// when the cell is not in view.
bool clickCell(platform::grid::FlexGrid &grid, int row, int col,
               Qt::KeyboardModifiers modifiers = Qt::NoModifier);
// Press, release, double click and release on the centre of a cell.
bool doubleClickCell(platform::grid::FlexGrid &grid, int row, int col);
// Press and release at a point of the grid's viewport.
void clickAt(platform::grid::FlexGrid &grid, QPoint point,
             Qt::KeyboardModifiers modifiers = Qt::NoModifier);
void doubleClickAt(platform::grid::FlexGrid &grid, QPoint point);
// The same on a widget itself (the caption label).
void clickWidget(QWidget &widget);
void doubleClickWidget(QWidget &widget);

// The Ctrl key pressed or released on a grid.
void ctrlKey(platform::grid::FlexGrid &grid, bool down);

// Ctrl pressed on the data grid, a click on the cell with Ctrl held, Ctrl released.
bool ctrlClickCell(platform::grid::FlexGrid &grid, int row, int col);

using controltest::gridRows;

// Where a record stands: its place, position, element type and first member.
struct Placed
{
    int lugar = 0;
    int orden = 0;
    int jerarquia = 0;
    QString llave;
    QString texto;
    bool operator==(const Placed &) const = default;
};
Placed placed(const PelmoraC02 &control, int record);
// Each record of the layout as "lugar/orden/jerarquia/first unique name".
QStringList layoutOf(const PelmoraC02 &control);

// The statement of a layout of the sales cube: the column and row sets (either may be empty)
// and the slicer's members.
QString statement(const QString &columns, const QString &rows, const QStringList &slicer);

// The element-type-0 sets of the sales cube's dimensions starting from a member.
QString descendants(const QString &member, const QString &level);

// The last result, to tell whether a statement ran: held, it stays distinct from every later
// one.
std::shared_ptr<const platform::olap::CellsetData> lastResult(const PelmoraC02 &control);

// The sales cube opened in a shown control, its first statement run: record 0 Measures on the
// columns, 1 Time on the rows, 2 Product and 3 Store on the slicer.
class SalesControl : public ::testing::Test
{
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override;

    // Lays the records out (place and position of each, in record order; element type 7 on
    // the slicer, 0 on an axis) and runs the layout's statement.
    void lay(std::initializer_list<std::pair<int, int>> places);

    QStringList titles() const { return gridRows(*control.grdTitulos); }
    QStringList data() const { return gridRows(*control.grdResults); }

    static QString s_cube;

    testing_support::ScriptedMsgBox boxes;
    PelmoraC02 control;

private:
    static std::unique_ptr<QTemporaryDir> s_dir;
};

// The sets of the sales cube's first layout.
extern const QString measuresSet; // [Measures].[Sales] and the measures level
extern const QString yearSet;     // 1997 and its quarters
extern const QString productSet;  // all products and the families
extern const QString storeSet;    // all stores and the countries

} // namespace gesturetest
