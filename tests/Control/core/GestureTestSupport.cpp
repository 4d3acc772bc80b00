#include "tests/Control/core/GestureTestSupport.h"

#include "tests/platform/olap/CubeFixtures.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTemporaryDir>

using platform::grid::FlexGrid;

namespace gesturetest {

namespace {

void sendMouse(QWidget &widget, QEvent::Type type, QPoint at, Qt::KeyboardModifiers modifiers)
{
    QMouseEvent event(type, QPointF(at), QPointF(widget.mapToGlobal(at)), Qt::LeftButton,
                      type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton,
                      modifiers);
    QApplication::sendEvent(&widget, &event);
}

bool cellCentre(FlexGrid &grid, int row, int col, QPoint &centre)
{
    const QRect rect = grid.cellRect(row, col);
    centre = rect.center();
    if (rect.isEmpty() || !grid.viewport()->rect().contains(centre)) {
        ADD_FAILURE() << "cell " << row << "," << col << " of " << grid.objectName().toStdString()
                      << " is not in view";
        return false;
    }
    return true;
}

} // namespace

bool clickCell(FlexGrid &grid, int row, int col, Qt::KeyboardModifiers modifiers)
{
    QPoint centre;
    if (!cellCentre(grid, row, col, centre))
        return false;
    clickAt(grid, centre, modifiers);
    return true;
}

bool doubleClickCell(FlexGrid &grid, int row, int col)
{
    QPoint centre;
    if (!cellCentre(grid, row, col, centre))
        return false;
    doubleClickAt(grid, centre);
    return true;
}

void doubleClickAt(FlexGrid &grid, QPoint point)
{
    QWidget &viewport = *grid.viewport();
    sendMouse(viewport, QEvent::MouseButtonPress, point, Qt::NoModifier);
    sendMouse(viewport, QEvent::MouseButtonRelease, point, Qt::NoModifier);
    sendMouse(viewport, QEvent::MouseButtonDblClick, point, Qt::NoModifier);
    sendMouse(viewport, QEvent::MouseButtonRelease, point, Qt::NoModifier);
}

void clickAt(FlexGrid &grid, QPoint point, Qt::KeyboardModifiers modifiers)
{
    QWidget &viewport = *grid.viewport();
    sendMouse(viewport, QEvent::MouseButtonPress, point, modifiers);
    sendMouse(viewport, QEvent::MouseButtonRelease, point, modifiers);
}

void clickWidget(QWidget &widget)
{
    const QPoint centre = widget.rect().center();
    sendMouse(widget, QEvent::MouseButtonPress, centre, Qt::NoModifier);
    sendMouse(widget, QEvent::MouseButtonRelease, centre, Qt::NoModifier);
}

void doubleClickWidget(QWidget &widget)
{
    const QPoint centre = widget.rect().center();
    sendMouse(widget, QEvent::MouseButtonPress, centre, Qt::NoModifier);
    sendMouse(widget, QEvent::MouseButtonRelease, centre, Qt::NoModifier);
    sendMouse(widget, QEvent::MouseButtonDblClick, centre, Qt::NoModifier);
    sendMouse(widget, QEvent::MouseButtonRelease, centre, Qt::NoModifier);
}

void ctrlKey(FlexGrid &grid, bool down)
{
    QKeyEvent event(down ? QEvent::KeyPress : QEvent::KeyRelease, Qt::Key_Control,
                    down ? Qt::ControlModifier : Qt::NoModifier);
    QApplication::sendEvent(&grid, &event);
}

bool ctrlClickCell(FlexGrid &grid, int row, int col)
{
    ctrlKey(grid, true);
    const bool clicked = clickCell(grid, row, col, Qt::ControlModifier);
    ctrlKey(grid, false);
    return clicked;
}

Placed placed(const PelmoraC02 &control, int record)
{
    const pelmora::OrderDim &d = pelmora::orderDimAt(control.layoutState, record);
    return Placed{d.lugar, d.orden, d.jerarquia, d.padreLlave.join(u','), d.padreTexto.join(u',')};
}

QStringList layoutOf(const PelmoraC02 &control)
{
    QStringList records;
    for (int i = 0; i < control.layoutState.NumDims; ++i) {
        const Placed p = placed(control, i);
        records << QStringLiteral("%1/%2/%3/%4")
                       .arg(p.lugar)
                       .arg(p.orden)
                       .arg(p.jerarquia)
                       .arg(p.llave);
    }
    return records;
}

QString statement(const QString &columns, const QString &rows, const QStringList &slicer)
{
    QString s = QStringLiteral("SELECT \r\n");
    if (!columns.isEmpty())
        s += columns + QStringLiteral(" ON AXIS(0)");
    if (!columns.isEmpty() && !rows.isEmpty())
        s += QStringLiteral(", \r\n");
    if (!rows.isEmpty())
        s += rows + QStringLiteral(" ON AXIS(") + (columns.isEmpty() ? u'0' : u'1')
             + QStringLiteral(")\r\n");
    s += QStringLiteral(" FROM [Sales]\r\n");
    if (!slicer.isEmpty())
        s += QStringLiteral(" WHERE (") + slicer.join(QStringLiteral(", "))
             + QStringLiteral(")\r\n");
    return s + QStringLiteral("\r\n");
}

QString descendants(const QString &member, const QString &level)
{
    return QStringLiteral("Descendants(%1, %2, SELF_AND_BEFORE)").arg(member, level);
}

std::shared_ptr<const platform::olap::CellsetData> lastResult(const PelmoraC02 &control)
{
    const std::optional<platform::olap::Cellset> &cellset = control.queryState.cellset;
    if (!cellset || cellset->state() != platform::olap::Cellset::StateOpen)
        return nullptr;
    return cellset->data();
}

const QString measuresSet =
    descendants(QStringLiteral("[Measures].[Sales]"), QStringLiteral("[Measures].[MeasuresLevel]"));
const QString yearSet =
    descendants(QStringLiteral("[Time].[1997]"), QStringLiteral("[Time].[Quarter]"));
const QString productSet =
    descendants(QStringLiteral("[Product].[All Products]"), QStringLiteral("[Product].[Family]"));
const QString storeSet =
    descendants(QStringLiteral("[Store].[All Stores]"), QStringLiteral("[Store].[Country]"));

QString SalesControl::s_cube;
std::unique_ptr<QTemporaryDir> SalesControl::s_dir;

void SalesControl::SetUpTestSuite()
{
    s_dir = std::make_unique<QTemporaryDir>();
    s_cube = testing_support::buildFixtureCube(s_dir->path(), QStringLiteral("sales"));
}

void SalesControl::TearDownTestSuite()
{
    s_dir.reset();
}

void SalesControl::SetUp()
{
    // Tall enough for every cell of the grids to be in view.
    control.resize(900, 1400);
    control.openParams.OpenFile = s_cube;
    control.show(); // connects and runs the first statement
    ASSERT_TRUE(control.connState.connected);
    ASSERT_EQ(boxes.count(), 0) << boxes.texts().join(u';').toStdString();
}

void SalesControl::lay(std::initializer_list<std::pair<int, int>> places)
{
    int i = 0;
    for (const auto &[lugar, orden] : places) {
        pelmora::OrderDim &record = pelmora::orderDimAt(control.layoutState, i++);
        record.lugar = lugar;
        record.orden = orden;
        record.jerarquia = lugar == pelmora::Slicer ? 7 : 0;
    }
    ASSERT_TRUE(control.genSelect());
    ASSERT_EQ(boxes.count(), 0) << boxes.texts().join(u';').toStdString();
}

} // namespace gesturetest
