// The flex grid as its callers drive it: sizes and fixed cells, texts, cell-range looks, the
// current cell, settings read back, column formats, twips, redraw, mouse and key events, frozen
// fixed cells while scrolling, automatic widths, painting, and a 100 000 x 20 load.
#include "platform/forms/ScreenTwips.h"
#include "platform/grid/FlexGrid.h"
#include "platform/grid/OleColor.h"
#include "platform/runtime/Error.h"

#include "tests/platform/runtime/RuntimeTestSupport.h"
#include "tests/support/Timing.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPixmap>
#include <QScrollBar>

#include <functional>
#include <vector>

using namespace platform::grid;
using runtime_test::errorOf;
using runtime_test::LocaleGuard;

namespace {

const QString OutOfRange = QStringLiteral("Subscript out of range");

// A shown grid of a fixed size, filled from rows of texts ("|" between cells).
class GridTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        grid.resize(480, 320);
        grid.show();
        QApplication::processEvents();
    }

    void fill(const std::vector<const char *> &rows, int fixedRows, int fixedCols)
    {
        grid.setRows(0);
        grid.setCols(0);
        grid.setRows(int(rows.size()));
        grid.setCols(int(QString::fromUtf8(rows.front()).count(QLatin1Char('|'))) + 1);
        grid.setFixedRows(fixedRows);
        grid.setFixedCols(fixedCols);
        for (int r = 0; r < int(rows.size()); ++r) {
            const QStringList cells = QString::fromUtf8(rows[std::size_t(r)]).split('|');
            for (int c = 0; c < cells.size(); ++c)
                grid.setTextMatrix(r, c, cells[c]);
        }
    }

    void mouse(QEvent::Type type, const QPoint &at, Qt::KeyboardModifiers modifiers = {})
    {
        const Qt::MouseButtons buttons =
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, QPointF(at), QPointF(grid.viewport()->mapToGlobal(at)),
                          Qt::LeftButton, buttons, modifiers);
        QApplication::sendEvent(grid.viewport(), &event);
    }

    void click(const QPoint &at, Qt::KeyboardModifiers modifiers = {})
    {
        mouse(QEvent::MouseButtonPress, at, modifiers);
        mouse(QEvent::MouseButtonRelease, at, modifiers);
    }

    QPoint centreOf(int row, int col) const { return grid.cellRect(row, col).center(); }

    FlexGrid grid;
};

} // namespace

TEST_F(GridTest, SizesAndFixedCounts)
{
    grid.setRows(5);
    grid.setCols(4);
    grid.setFixedRows(2);
    grid.setFixedCols(1);
    EXPECT_EQ(grid.model()->rowCount(), 5);
    EXPECT_EQ(grid.model()->columnCount(), 4);
    grid.setTextMatrix(4, 3, QStringLiteral("kept"));
    grid.setCols(6);
    EXPECT_EQ(grid.textMatrix(4, 3), QStringLiteral("kept")) << "more columns keep the texts";
    grid.setRows(1);
    EXPECT_EQ(grid.fixedRows(), 1) << "fewer rows than fixed ones lower the fixed count";

    const std::vector<std::pair<const char *, std::function<void()>>> errors = {
        {"Invalid number of fixed rows", [this] { grid.setFixedRows(2); }},
        {"Invalid number of fixed columns", [this] { grid.setFixedCols(-1); }},
        {"Invalid number of rows", [this] { grid.setRows(-1); }},
        {"Subscript out of range", [this] { grid.setTextMatrix(1, 0, QStringLiteral("x")); }},
        {"Subscript out of range", [this] { grid.textMatrix(0, 6); }},
        {"Subscript out of range", [this] { grid.setRow(1); }},
        {"Subscript out of range", [this] { grid.setColWidth(-1, 100); }},
        {"Subscript out of range", [this] { grid.mergeRow(3); }},
        {"Subscript out of range", [this] { grid.cell(CellSetting::BackColor, 0, 9); }},
        {"Invalid grid line style", [this] { grid.setGridLines(14); }},
        {"Invalid grid line style", [this] { grid.setGridLinesFixed(-1); }},
        {"Invalid appearance", [this] { grid.setAppearance(3); }},
        {"Invalid font size", [this] { grid.setFontSize(0); }},
        {"Invalid column width", [this] { grid.setColWidth(0, -2); }},
        {"Invalid cell setting", [this] { grid.cell(static_cast<CellSetting>(3), 0, 0); }},
        {"The displayed text is read only",
         [this] { grid.setCell(CellSetting::TextDisplay, 0, 0, QStringLiteral("x")); }},
    };
    for (const auto &[message, call] : errors)
        EXPECT_EQ(errorOf(call), QString::fromUtf8(message)) << message;

    grid.setRows(0);
    EXPECT_EQ(grid.row(), -1) << "no current cell without rows";
    EXPECT_EQ(errorOf([this] { grid.text(); }), OutOfRange);
    EXPECT_EQ(errorOf([this] { grid.setCellBackColor(1); }), OutOfRange);
}

TEST_F(GridTest, CellRangesSetEveryCellInsideTheGrid)
{
    fill({"a|b|c", "d|e|f", "g|h|i"}, 1, 1);
    grid.setCell(CellSetting::BackColor, 1, 1, 2, 2, 0x0000FF);
    grid.setCell(CellSetting::FontBold, 0, 1, 2, 9, true);       // clipped at the last column
    grid.setCell(CellSetting::ForeColor, 0, 1, -1, 2, 0x00FF00); // ends before it starts
    grid.setCell(CellSetting::FontSize, 2, 0, 14.5);
    grid.setCell(CellSetting::FontName, 2, 0, 2, 0, QStringLiteral("Serif"));
    grid.setCell(CellSetting::Text, 0, 0, 0, 1, QStringLiteral("t"));

    EXPECT_EQ(grid.cell(CellSetting::BackColor, 1, 1).toInt(), 0x0000FF);
    EXPECT_EQ(grid.cell(CellSetting::BackColor, 2, 2).toInt(), 0x0000FF);
    EXPECT_EQ(grid.cell(CellSetting::BackColor, 0, 0).toInt(), 0) << "no colour of its own";
    EXPECT_EQ(grid.cell(CellSetting::BackColor, 1, 0).toInt(), 0);
    for (int r = 0; r < 3; ++r) {
        EXPECT_FALSE(grid.cell(CellSetting::FontBold, r, 0).toBool());
        EXPECT_TRUE(grid.cell(CellSetting::FontBold, r, 2).toBool());
        EXPECT_EQ(grid.cell(CellSetting::ForeColor, r, 1).toInt(), 0);
    }
    EXPECT_EQ(grid.cell(CellSetting::FontSize, 2, 0).toDouble(), 14.5);
    EXPECT_EQ(grid.cell(CellSetting::FontSize, 1, 0).toDouble(), grid.fontSize());
    const QFont font = qvariant_cast<QFont>(grid.cell(CellSetting::Font, 2, 0));
    EXPECT_EQ(font.pointSizeF(), 14.5);
    EXPECT_EQ(font.family(), grid.cell(CellSetting::FontName, 2, 0).toString());
    EXPECT_EQ(grid.textMatrix(0, 0), QStringLiteral("t"));
    EXPECT_EQ(grid.textMatrix(0, 1), QStringLiteral("t"));

    // A font object sets all six attributes at once.
    QFont object = grid.font();
    object.setItalic(true);
    object.setStrikeOut(true);
    grid.setCell(CellSetting::Font, 1, 1, 1, 2, object);
    EXPECT_TRUE(grid.cell(CellSetting::FontItalic, 1, 2).toBool());
    EXPECT_TRUE(grid.cell(CellSetting::FontStrikethrough, 1, 1).toBool());
    EXPECT_FALSE(grid.cell(CellSetting::FontBold, 1, 2).toBool()) << "the object's bold";

    // A range read gives its first cell; one outside the grid nothing, and does not fail.
    EXPECT_EQ(grid.cell(CellSetting::BackColor, 1, 1, 2, 2).toInt(), 0x0000FF);
    EXPECT_FALSE(grid.cell(CellSetting::BackColor, 0, 1, -1, 2).isValid());
    EXPECT_EQ(grid.cell(CellSetting::Text, 0, 0, -1, 2).toString(), QString());
}

TEST_F(GridTest, CellsFollowTheGridInWhatTheyDoNotSetThemselves)
{
    fill({"a|b", "c|d"}, 1, 1);
    grid.setCell(CellSetting::FontBold, 1, 1, true);
    grid.setFontName(QStringLiteral("Serif"));
    grid.setFontSize(17);
    EXPECT_EQ(grid.fontSize(), 17.0);
    const QFont font = qvariant_cast<QFont>(grid.cell(CellSetting::Font, 1, 1));
    EXPECT_TRUE(font.bold());
    EXPECT_EQ(font.pointSizeF(), 17.0);
    EXPECT_EQ(font.family(), grid.font().family());

    grid.setBackColor(0x112233);
    grid.setBackColorFixed(0x445566);
    grid.setCell(CellSetting::BackColor, 1, 1, 1);
    const QAbstractItemModel *model = grid.model();
    EXPECT_EQ(model->data(model->index(0, 1), Qt::BackgroundRole).value<QColor>(),
              oleToColor(0x445566));
    EXPECT_EQ(model->data(model->index(1, 1), Qt::BackgroundRole).value<QColor>(), oleToColor(1))
        << "1 is the cell's own (near black)";
    grid.clear();
    EXPECT_EQ(model->data(model->index(1, 1), Qt::BackgroundRole).value<QColor>(),
              oleToColor(0x112233));
    EXPECT_EQ(grid.textMatrix(0, 0), QString());
    EXPECT_EQ(grid.rows(), 2) << "clear keeps the size";
}

TEST_F(GridTest, CurrentCellMembersActOnTheCurrentCellOnly)
{
    fill({"a|b|c", "d|e|f", "g|h|i"}, 1, 1);
    grid.setRow(1);
    grid.setCol(1);
    grid.setRowSel(2);
    grid.setColSel(2);
    grid.setCellBackColor(0x0000FF);
    grid.setCellForeColor(0x00FF00);
    grid.setCellFontName(QStringLiteral("Serif"));
    grid.setCellFontSize(12);
    grid.setCellFontBold(true);
    grid.setCellFontItalic(true);
    grid.setCellFontUnderline(true);
    grid.setCellFontStrikeThrough(true);
    grid.setCellSetting47(6);
    grid.setText(QStringLiteral("E"));

    EXPECT_EQ(grid.cellBackColor(), 0x0000FF);
    EXPECT_EQ(grid.cellForeColor(), 0x00FF00);
    EXPECT_EQ(grid.cellFontSize(), 12.0);
    EXPECT_TRUE(grid.cellFontBold() && grid.cellFontItalic() && grid.cellFontUnderline()
                && grid.cellFontStrikeThrough());
    EXPECT_EQ(grid.cellSetting47(), 6);
    EXPECT_EQ(grid.cellSetting28(), 0);
    EXPECT_EQ(grid.textMatrix(1, 1), QStringLiteral("E"));
    EXPECT_EQ(grid.rowSel(), 2);

    grid.setRow(2); // also moves RowSel
    EXPECT_EQ(grid.rowSel(), 2);
    EXPECT_EQ(grid.cellBackColor(), 0) << "(2, 1) was not touched";
    EXPECT_FALSE(grid.cellFontBold());
    EXPECT_EQ(grid.cellFontName(), grid.fontName()) << "a cell without its own font";
    EXPECT_EQ(grid.cellSetting47(), 0);
    EXPECT_EQ(grid.cell(CellSetting::BackColor, 2, 2).toInt(), 0) << "not the selection";

    // Setting 28 on a title cell, made current first.
    grid.setRow(0);
    grid.setCol(2);
    grid.setCellSetting28(-1);
    EXPECT_EQ(grid.cellSetting28(), -1);
    EXPECT_EQ(grid.text(), QStringLiteral("c"));
}

TEST_F(GridTest, RowAndColumnSettingsReadBack)
{
    fill({"a|b|c", "d|e|f", "g|h|i"}, 1, 1);
    grid.setColSetting119(0, 1);
    grid.setColSetting138(2, 1);
    grid.setIsSubtotal(1, true);
    grid.setRowOutlineLevel(1, 2);
    grid.setRowOutlineLevel(2, 3);
    grid.setMergeRow(0, true);
    grid.setMergeCol(0, true);
    EXPECT_EQ(grid.colSetting119(0), 1);
    EXPECT_EQ(grid.colSetting119(1), 0);
    EXPECT_EQ(grid.colSetting138(2), 1);
    EXPECT_TRUE(grid.isSubtotal(1));
    EXPECT_FALSE(grid.isSubtotal(2));
    EXPECT_EQ(grid.rowOutlineLevel(1), 2);
    EXPECT_EQ(grid.rowOutlineLevel(2), 3);
    EXPECT_TRUE(grid.mergeRow(0));
    EXPECT_FALSE(grid.mergeRow(1));
    EXPECT_TRUE(grid.mergeCol(0));
    grid.setGridLines(13);
    grid.setGridLinesFixed(12);
    grid.setGridColor(0x010203);
    grid.setGridColorFixed(0x040506);
    grid.setGridLineWidth(0);
    grid.setAppearance(0);
    grid.setWordWrap(true);
    EXPECT_EQ(grid.gridLines(), 13);
    EXPECT_EQ(grid.gridLinesFixed(), 12);
    EXPECT_EQ(grid.gridColor(), 0x010203);
    EXPECT_EQ(grid.gridColorFixed(), 0x040506);
    EXPECT_EQ(grid.gridLineWidth(), 1) << "taken into 1 to 10";
    EXPECT_EQ(grid.appearance(), 0);
    EXPECT_TRUE(grid.wordWrap());
    // The whole grid as the clipboard takes it.
    EXPECT_EQ(grid.cell(CellSetting::Text, 0, 0, grid.rows() - 1, grid.cols() - 1).toString(),
              QStringLiteral("a\tb\tc\r\nd\te\tf\r\ng\th\ti"));
}

TEST_F(GridTest, ColumnFormatsShowNumbersOfValueCells)
{
    LocaleGuard guard("en_US");
    fill({" |2023|Sales", "Bikes|1500.5|#ERR", "Cars|-3|7"}, 1, 1);
    grid.setColFormat(1, QStringLiteral("#,##0"));
    grid.setColFormat(2, QStringLiteral("#,##0.00"));
    EXPECT_EQ(grid.colFormat(1), QStringLiteral("#,##0"));
    const struct
    {
        int row, col;
        const char *shown;
    } cells[] = {
        {0, 1, "2023"}, // a caption in a fixed row is never formatted
        {1, 1, "1,501"}, {2, 1, "-3"}, {1, 2, "#ERR"}, {2, 2, "7.00"}, {1, 0, "Bikes"},
    };
    for (const auto &cell : cells)
        EXPECT_EQ(grid.cell(CellSetting::TextDisplay, cell.row, cell.col).toString(),
                  QString::fromUtf8(cell.shown))
            << cell.row << "," << cell.col;
    EXPECT_EQ(grid.textMatrix(1, 1), QStringLiteral("1500.5")) << "the text stays as set";
    EXPECT_EQ(grid.rangeText(1, 1, 2, 2, true), QStringLiteral("1,501\t#ERR\r\n-3\t7.00"));
    const QAbstractItemModel *model = grid.model();
    EXPECT_EQ(model->data(model->index(1, 1)).toString(), QStringLiteral("1,501"));
    EXPECT_EQ(model->data(model->index(1, 1), Qt::EditRole).toString(), QStringLiteral("1500.5"));
    EXPECT_EQ(model->data(model->index(1, 1), Qt::TextAlignmentRole).toInt() & Qt::AlignRight,
              int(Qt::AlignRight));
    EXPECT_EQ(model->data(model->index(1, 2), Qt::TextAlignmentRole).toInt() & Qt::AlignLeft,
              int(Qt::AlignLeft));
}

TEST_F(GridTest, LengthsAreTwips)
{
    fill({"a|b", "c|d"}, 0, 0);
    const double perPixelX = platform::forms::twipsPerPixelX();
    const int twips = int(std::lround(perPixelX * 80));
    grid.setColWidth(1, twips);
    EXPECT_EQ(grid.colWidth(1), twips);
    EXPECT_EQ(grid.cellRect(0, 1).width(), 80);
    const int before = grid.colWidth(0);
    grid.setColWidth(0, -1);
    EXPECT_EQ(grid.colWidth(0), before) << "-1 is the default width";
    grid.setRowHeight(0, 0);
    EXPECT_EQ(grid.rowHeight(0), 0);
    EXPECT_EQ(grid.rowAt(1), 1) << "a row of height 0 is hidden";
}

TEST_F(GridTest, RedrawOffEmitsNothingUntilItIsOnAgain)
{
    fill({"a|b", "c|d"}, 1, 1);
    int changes = 0;
    QObject::connect(grid.model(), &GridModel::dataChanged, [&changes] { ++changes; });
    int paints = 0;
    struct Counter : QObject
    {
        int *paints;
        bool eventFilter(QObject *, QEvent *event) override
        {
            if (event->type() == QEvent::Paint)
                ++*paints;
            return false;
        }
    } counter;
    counter.paints = &paints;
    grid.viewport()->installEventFilter(&counter);
    QApplication::processEvents();
    paints = 0;

    grid.setRedraw(false);
    for (int i = 0; i < 50; ++i) {
        grid.setTextMatrix(1, 1, QString::number(i));
        grid.setCell(CellSetting::BackColor, 1, 1, i + 1);
        grid.setColWidth(1, 1000 + i);
    }
    grid.refresh();
    QApplication::processEvents();
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(paints, 0);

    grid.setRedraw(true);
    QApplication::processEvents();
    EXPECT_EQ(changes, 1) << "one change over the whole grid";
    EXPECT_GE(paints, 1);
    EXPECT_EQ(grid.textMatrix(1, 1), QStringLiteral("49"));
}

TEST_F(GridTest, ClicksGiveTheCellUnderThePointer)
{
    fill({" |X1|X2", "Y1|1|2", "Y2|3|4"}, 1, 1);
    int clicks = 0, doubleClicks = 0;
    QObject::connect(&grid, &FlexGrid::clicked, [&clicks] { ++clicks; });
    QObject::connect(&grid, &FlexGrid::doubleClicked, [&doubleClicks] { ++doubleClicks; });
    const QRect last = grid.cellRect(2, 2);
    struct Case
    {
        const char *name;
        QPoint at;
        int mouseRow, mouseCol, row, col;
    };
    const Case cases[] = {
        {"a value cell", centreOf(2, 1), 2, 1, 2, 1},
        {"a fixed row", centreOf(0, 2), 0, 2, 0, 2},
        {"a fixed column", centreOf(1, 0), 1, 0, 1, 0},
        {"below the last row", QPoint(centreOf(2, 1).x(), last.bottom() + 10), -1, 1, 1, 0},
        {"right of the last column", QPoint(last.right() + 10, centreOf(1, 1).y()), 1, -1, 1, 0},
        {"outside both", last.bottomRight() + QPoint(10, 10), -1, -1, 1, 0},
    };
    int expectedClicks = 0;
    for (const Case &test : cases) {
        click(test.at);
        ++expectedClicks;
        EXPECT_EQ(clicks, expectedClicks) << test.name;
        EXPECT_EQ(grid.mouseRow(), test.mouseRow) << test.name;
        EXPECT_EQ(grid.mouseCol(), test.mouseCol) << test.name;
        EXPECT_EQ(grid.row(), test.row) << test.name << ": a click outside keeps the current";
        EXPECT_EQ(grid.col(), test.col) << test.name;
    }

    // Shift extends the selection; a double click is one click and one double click.
    click(centreOf(1, 1));
    click(centreOf(2, 2), Qt::ShiftModifier);
    EXPECT_EQ(grid.row(), 1);
    EXPECT_EQ(grid.rowSel(), 2);
    EXPECT_EQ(grid.colSel(), 2);
    clicks = 0;
    mouse(QEvent::MouseButtonPress, centreOf(2, 1));
    mouse(QEvent::MouseButtonRelease, centreOf(2, 1));
    mouse(QEvent::MouseButtonDblClick, centreOf(2, 1));
    mouse(QEvent::MouseButtonRelease, centreOf(2, 1));
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(doubleClicks, 1);
    EXPECT_EQ(grid.mouseRow(), 2);
}

TEST_F(GridTest, KeysGiveRuntimeCodesAndMoveTheCurrentCell)
{
    fill({" |X1|X2", "Y1|1|2", "Y2|3|4"}, 1, 1);
    std::vector<std::pair<int, int>> downs, ups;
    QObject::connect(&grid, &FlexGrid::keyDown,
                     [&downs](int code, int shift) { downs.emplace_back(code, shift); });
    QObject::connect(&grid, &FlexGrid::keyUp,
                     [&ups](int code, int shift) { ups.emplace_back(code, shift); });
    auto key = [this](QEvent::Type type, int qtKey, Qt::KeyboardModifiers modifiers,
                      bool repeat = false) {
        QKeyEvent event(type, qtKey, modifiers, QString(), repeat);
        QApplication::sendEvent(&grid, &event);
    };
    // The platform gives the modifiers as they were before the key, as here.
    key(QEvent::KeyPress, Qt::Key_Control, Qt::NoModifier);
    key(QEvent::KeyRelease, Qt::Key_Control, Qt::ControlModifier, true);
    key(QEvent::KeyPress, Qt::Key_Control, Qt::NoModifier, true);
    key(QEvent::KeyRelease, Qt::Key_Control, Qt::ControlModifier);
    ASSERT_EQ(downs.size(), 2u) << "auto-repeat presses are key downs too";
    EXPECT_EQ(downs[0], std::make_pair(17, 2));
    ASSERT_EQ(ups.size(), 1u) << "only the real release is a key up";
    EXPECT_EQ(ups[0], std::make_pair(17, 0));

    grid.setRow(1);
    grid.setCol(1);
    key(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    key(QEvent::KeyPress, Qt::Key_Right, Qt::NoModifier);
    EXPECT_EQ(grid.row(), 2);
    EXPECT_EQ(grid.col(), 2);
    key(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
    key(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
    key(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier);
    key(QEvent::KeyPress, Qt::Key_Left, Qt::NoModifier);
    EXPECT_EQ(grid.row(), 1) << "keys stay off the fixed cells";
    EXPECT_EQ(grid.col(), 1);
}

TEST_F(GridTest, FixedCellsStayInPlaceWhileTheDataScrolls)
{
    grid.setRows(200);
    grid.setCols(30);
    grid.setFixedRows(2);
    grid.setFixedCols(1);
    for (int r = 0; r < 200; ++r)
        for (int c = 0; c < 30; ++c)
            grid.setTextMatrix(r, c, QStringLiteral("%1,%2").arg(r).arg(c));
    const QRect fixedRowBefore = grid.cellRect(1, 5);
    const QRect fixedColBefore = grid.cellRect(100, 0);
    const QRect corner = grid.cellRect(0, 0);
    grid.verticalScrollBar()->setValue(grid.verticalScrollBar()->maximum());
    grid.horizontalScrollBar()->setValue(grid.horizontalScrollBar()->maximum());
    EXPECT_EQ(grid.cellRect(0, 0), corner);
    EXPECT_EQ(grid.cellRect(1, 5).top(), fixedRowBefore.top());
    EXPECT_LT(grid.cellRect(1, 5).left(), fixedRowBefore.left());
    EXPECT_EQ(grid.cellRect(100, 0).left(), fixedColBefore.left());
    EXPECT_LT(grid.cellRect(100, 0).top(), fixedColBefore.top());
    // The corner still answers the fixed cells; the far corner the last cell.
    EXPECT_EQ(grid.rowAt(corner.center().y()), 0);
    EXPECT_EQ(grid.colAt(corner.center().x()), 0);
    const QRect area = grid.viewport()->rect();
    EXPECT_EQ(grid.rowAt(area.bottom() - 1), 199);
    EXPECT_EQ(grid.colAt(area.right() - 1), 29);
    // The first data row has scrolled under the fixed rows.
    EXPECT_EQ(grid.rowAt(grid.cellRect(1, 0).bottom() + 1) > 2, true);
}

TEST_F(GridTest, AutoSizeMeasuresEveryRowInItsOwnFont)
{
    LocaleGuard guard("en_US");
    grid.setRows(1000);
    grid.setCols(4);
    for (int r = 0; r < 1000; ++r) {
        grid.setTextMatrix(r, 0, QStringLiteral("x"));
        grid.setTextMatrix(r, 1, QStringLiteral("x"));
        grid.setTextMatrix(r, 2, QString::number(r));
    }
    // The widest texts stand in the last row, which sampling the first rows would miss.
    grid.setTextMatrix(999, 0, QStringLiteral("a rather long caption"));
    grid.setTextMatrix(999, 1, QStringLiteral("a rather long caption"));
    grid.setCell(CellSetting::FontSize, 999, 1, grid.fontSize() * 2);
    grid.setColFormat(2, QStringLiteral("#,##0.00"));
    grid.setColWidth(3, 0);
    grid.autoSize(0, 3);
    const QFontMetrics metrics(grid.font());
    const int plain = grid.cellRect(0, 0).width();
    EXPECT_GE(plain, metrics.horizontalAdvance(QStringLiteral("a rather long caption")));
    EXPECT_GT(grid.cellRect(0, 1).width(), plain * 3 / 2) << "the cell's own larger font";
    EXPECT_GE(grid.cellRect(0, 2).width(), metrics.horizontalAdvance(QStringLiteral("999.00")))
        << "the texts as shown";
    EXPECT_EQ(grid.colWidth(3), 0) << "a column without text keeps its width";

    // A hidden row does not count.
    grid.setRowHeight(999, 0);
    grid.autoSize(0);
    EXPECT_LT(grid.cellRect(0, 0).width(), plain);
}

TEST_F(GridTest, PaintsLooksMergesAndGridLines)
{
    fill({" |Year|Year", "Store|1|2", "Shop|3|4"}, 1, 1);
    grid.setMergeRow(0, true);
    grid.setBackColor(0xFFFFFF);
    grid.setBackColorFixed(0xE6E6E6);
    grid.setCell(CellSetting::BackColor, 2, 2, 0x0000FF);
    grid.setGridLines(1);
    grid.setGridColor(0x00FF00);
    grid.setGridLinesFixed(0);
    grid.setTextMatrix(1, 1, QString());
    QApplication::processEvents();
    const QImage image = grid.viewport()->grab().toImage();

    const QRect red = grid.cellRect(2, 2);
    EXPECT_EQ(image.pixelColor(red.center() - QPoint(red.width() / 3, 0)), QColor(255, 0, 0));
    const QRect plain = grid.cellRect(1, 1);
    EXPECT_EQ(image.pixelColor(plain.center()), QColor(255, 255, 255));
    EXPECT_EQ(image.pixelColor(plain.left() + 2, plain.bottom()), QColor(0, 255, 0))
        << "a flat line in the grid colour under a value cell";
    const QRect merged = grid.cellRect(0, 1);
    EXPECT_EQ(merged, grid.cellRect(0, 2)) << "equal captions of a merged row are one cell";
    EXPECT_EQ(merged.width(), grid.cellRect(1, 1).width() + grid.cellRect(1, 2).width());
    EXPECT_EQ(image.pixelColor(merged.left() + 1, merged.bottom()), QColor(0xE6, 0xE6, 0xE6))
        << "no lines under fixed cells with style 0";
}

TEST_F(GridTest, TheTextOfATallMergedCellStaysInView)
{
    grid.setRows(300);
    grid.setCols(3);
    grid.setFixedRows(1);
    grid.setFixedCols(1);
    grid.setMergeCol(0, true);
    grid.setBackColorFixed(0xFFFFFF);
    grid.setGridLinesFixed(0);
    for (int r = 1; r < 300; ++r)
        grid.setTextMatrix(r, 0, QStringLiteral("All members"));
    // Far from the middle of the block, where centring its text would put it.
    grid.verticalScrollBar()->setValue(grid.verticalScrollBar()->maximum() / 5);
    EXPECT_EQ(grid.cellRect(150, 0), grid.cellRect(1, 0));
    QApplication::processEvents();
    const QImage image = grid.viewport()->grab().toImage();
    const QRect column = grid.cellRect(150, 0) & grid.viewport()->rect();
    int inked = 0;
    for (int y = column.top() + grid.cellRect(0, 0).height(); y <= column.bottom(); ++y)
        for (int x = column.left(); x <= column.right(); ++x)
            inked += image.pixelColor(x, y) != QColor(255, 255, 255);
    EXPECT_GT(inked, 10) << "the caption is drawn in the visible part of its block";
}

TEST_F(GridTest, LooksBeyondTheTableSizeAreReclaimedOrRefused)
{
    grid.setRows(1);
    grid.setCols(1);
    grid.setRow(0);
    grid.setCol(0);
    for (int i = 1; i <= StyleTable::Capacity + 100; ++i)
        grid.setCellBackColor(i);
    EXPECT_EQ(grid.cellBackColor(), StyleTable::Capacity + 100) << "unused looks reclaimed";
    EXPECT_LE(grid.model()->styleCount(), 200);

    grid.setRows(300);
    grid.setCols(300);
    const QString refused = errorOf([this] {
        for (int r = 0; r < 300; ++r)
            for (int c = 0; c < 300; ++c)
                grid.setCell(CellSetting::ForeColor, r, c, r * 300 + c + 1);
    });
    EXPECT_EQ(refused, QStringLiteral("Too many different cell formats"));
    EXPECT_EQ(grid.cell(CellSetting::ForeColor, 0, 5).toInt(), 6) << "earlier cells keep theirs";
}

TEST(GridLoad, HundredThousandRowsByTwentyColumns)
{
    LocaleGuard guard("en_US");
    FlexGrid grid;
    grid.resize(800, 600);
    grid.show();
    QApplication::processEvents();
    constexpr int Rows = 100000;
    constexpr int Cols = 20;

    QElapsedTimer timer;
    timer.start();
    grid.setRedraw(false);
    grid.setRows(Rows + 2);
    grid.setCols(Cols + 1);
    grid.setFixedRows(2);
    grid.setFixedCols(1);
    for (int c = 0; c <= Cols; ++c) {
        grid.setMergeCol(c, c == 0);
        grid.setTextMatrix(0, c, QStringLiteral("Measures"));
        grid.setTextMatrix(1, c, QStringLiteral("M%1").arg(c));
    }
    grid.setMergeRow(0, true);
    grid.setMergeRow(1, true);
    for (int r = 2; r < Rows + 2; ++r) {
        grid.setTextMatrix(r, 0, QStringLiteral("Member %1").arg(r / 10));
        for (int c = 1; c <= Cols; ++c) {
            grid.setTextMatrix(r, c, QString::number(r * 13.25 + c, 'f', 2));
            grid.setRow(r);
            grid.setCol(c);
            grid.setCellSetting47(6);
        }
        if (r % 7 == 0)
            grid.setCell(CellSetting::BackColor, r, 1, r, Cols, 0xE6E6E6);
    }
    const qint64 fill = timer.elapsed();
    using testing_support::timingScale;
    EXPECT_LT(fill, 3000 * timingScale) << "filling took " << fill << " ms";

    timer.restart();
    for (int c = 1; c <= Cols; ++c)
        grid.setColFormat(c, QStringLiteral("#,##0.00"));
    grid.autoSize(0, Cols);
    const qint64 fit = timer.elapsed();
    EXPECT_LT(fit, 10000 * timingScale) << "fitting the columns took " << fit << " ms";

    timer.restart();
    grid.setRedraw(true);
    const QPixmap first = grid.viewport()->grab();
    grid.verticalScrollBar()->setValue(grid.verticalScrollBar()->maximum() / 2);
    const QPixmap middle = grid.viewport()->grab();
    const qint64 paint = timer.elapsed();
    EXPECT_LT(paint, 1000 * timingScale) << "painting two views took " << paint << " ms";
    EXPECT_FALSE(first.isNull());
    EXPECT_EQ(grid.textMatrix(Rows + 1, Cols), QString::number((Rows + 1) * 13.25 + Cols, 'f', 2));
    EXPECT_EQ(grid.model()->styleCount(), 3) << "the looks are shared, not one per cell";
    std::printf("[ figures  ] fill %lld ms, fit %lld ms, paint %lld ms\n", fill, fit, paint);
}
