// The grid's pure rules, without a window: merged header blocks, the range text, column formats
// on numeric and other texts, interned looks, grid-line styles, key codes, colours and axis
// positions.
#include "platform/grid/AxisLayout.h"
#include "platform/grid/CellStyle.h"
#include "platform/grid/CellText.h"
#include "platform/grid/GridLines.h"
#include "platform/grid/KeyCodes.h"
#include "platform/grid/MergeBands.h"
#include "platform/grid/OleColor.h"
#include "platform/grid/TextWidths.h"
#include "platform/runtime/Numbers.h"

#include "tests/platform/runtime/RuntimeTestSupport.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <string>
#include <vector>

using namespace platform::grid;
using runtime_test::LocaleGuard;

namespace {

// A grid given as rows of texts ("|" between cells), with its fixed counts; the merge flags are
// set on every fixed row and column, as the result grid has them.
struct MergeCase
{
    const char *name;
    std::vector<const char *> rows;
    int fixedRows;
    int fixedCols;
    const char *expected; // the blocks as "top,left-bottom,right", in order, ";" between
    bool flags = true;
};

std::string blocksOf(const MergeCase &test)
{
    std::vector<QStringList> cells;
    for (const char *row : test.rows)
        cells.push_back(QString::fromUtf8(row).split(QLatin1Char('|')));
    MergeBands::Layout layout;
    layout.rows = int(cells.size());
    layout.cols = int(cells.front().size());
    layout.fixedRows = test.fixedRows;
    layout.fixedCols = test.fixedCols;
    for (int r = 0; r < layout.rows; ++r)
        layout.mergeRow.push_back(test.flags && r < test.fixedRows);
    for (int c = 0; c < layout.cols; ++c)
        layout.mergeCol.push_back(test.flags && c < test.fixedCols);
    MergeBands bands;
    bands.compute(layout,
                  [&cells](int r, int c) -> const QString & { return cells[std::size_t(r)][c]; });
    std::vector<CellSpan> seen;
    std::string out;
    for (int r = 0; r < layout.rows; ++r) {
        for (int c = 0; c < layout.cols; ++c) {
            const CellSpan *span = bands.spanAt(r, c);
            if (!span || std::find(seen.begin(), seen.end(), *span) != seen.end())
                continue;
            seen.push_back(*span);
            if (!out.empty())
                out += ";";
            out += std::to_string(span->top) + "," + std::to_string(span->left) + "-"
                   + std::to_string(span->bottom) + "," + std::to_string(span->right);
        }
    }
    return out;
}

} // namespace

TEST(MergeBands, FixedCellsMergeWithinTheirOuterBand)
{
    const std::vector<MergeCase> cases = {
        {"titles in row 0 do not split the captions below; blanks after them merge",
         {" |Year|Product| | ", "Store|2023|2023|2023|2024", "a|1|2|3|4"},
         2,
         1,
         "0,3-0,4;1,1-1,3"},
        {"an inner All under two outer members stays two cells, under one it merges",
         {" | | | | ", " |2023|2024|2025|2025", "Store|All|All|All|All", "a|1|2|3|4"},
         3,
         1,
         "0,0-1,0;0,1-0,4;1,3-1,4;2,3-2,4"},
        {"the corner blanks merge into one block",
         {" | | |Year", " | | |2023", "Store|City|Shop|All", "x|y|z|1"},
         3,
         3,
         "0,0-1,2"},
        {"nested row captions: the inner column merges only beside one outer member",
         {"Country|Product|m", "USA|All|1", "USA|All|2", "Canada|All|3", "Canada|Bikes|4"},
         1,
         2,
         "1,0-2,0;1,1-2,1;3,0-4,0"},
        {"no merge across the edge between fixed and scrolling cells",
         {" |Product", "Product|Product", "a|1"},
         2,
         1,
         ""},
        {"value cells never merge", {"Year|Year", "1|1", "1|1"}, 1, 0, "0,0-0,1"},
        {"blocks stay rectangles: different widths do not stack",
         {" | |T", "A|A|x", "A|B|y", "r|s|1"},
         3,
         2,
         "0,0-0,1;1,0-1,1"},
        {"without merge flags nothing merges", {" | |T", " | |x", "a|b|1"}, 2, 2, "", false},
        {"an empty grid", {""}, 0, 0, ""},
    };
    for (const MergeCase &test : cases)
        EXPECT_EQ(blocksOf(test), test.expected) << test.name;
}

TEST(RangeText, TabsBetweenCellsLineBreaksBetweenRows)
{
    const std::vector<QStringList> cells = {{"a", "b", "c"}, {"d", "", "f"}};
    auto at = [&cells](int r, int c) { return cells[std::size_t(r)][c]; };
    EXPECT_EQ(rangeText(0, 0, 1, 2, at), QStringLiteral("a\tb\tc\r\nd\t\tf"));
    EXPECT_EQ(rangeText(1, 1, 1, 2, at), QStringLiteral("\tf"));
    EXPECT_EQ(rangeText(0, 2, 0, 2, at), QStringLiteral("c"));
    EXPECT_EQ(rangeText(0, 0, -1, 2, at), QString()) << "a range ending before its start";
}

// The fast reading of plain numbers must agree with the runtime's numeric test and value.
TEST(ColumnFormat, PlainNumbersAgreeWithTheRuntime)
{
    // clang-format off
    const char *texts[] = {"0",   "12",   "-12",  "1,234.5", "1,,2",  ".5",    "5.",   "-0",
                           "-.5", "0012", "1.2.3", "12-",    "(5)",   "$10",   "1e3",  " 12",
                           "12 ", "abc",  "-",    ".",       ",5",    "1,234,567.25", "1.5,2",
                           "12%", "#ERR", "99999999999999999999999999"};
    // clang-format on
    for (const char *locale : {"en_US", "de_DE"}) {
        LocaleGuard guard(locale);
        const NumberSymbols symbols = NumberSymbols::current();
        for (const char *raw : texts) {
            const QString text = QString::fromUtf8(raw);
            const std::optional<double> fast = plainNumber(text, symbols);
            if (!fast)
                continue; // left to the runtime
            ASSERT_TRUE(platform::runtime::isNumeric(text)) << locale << " " << raw;
            EXPECT_EQ(*fast, platform::runtime::toDouble(text)) << locale << " " << raw;
            EXPECT_FALSE(*fast == 0 && std::signbit(*fast)) << locale << " " << raw;
        }
    }
}

TEST(ColumnFormat, PlainNumbersAreReadWithoutTheRuntime)
{
    LocaleGuard guard("en_US");
    const NumberSymbols symbols = NumberSymbols::current();
    EXPECT_EQ(plainNumber(QStringLiteral("1,234.5"), symbols), 1234.5);
    EXPECT_EQ(plainNumber(QStringLiteral("-12"), symbols), -12.0);
    EXPECT_EQ(plainNumber(QStringLiteral("$12"), symbols), std::nullopt);
}

TEST(ColumnFormat, FormatsNumericTextsOnly)
{
    LocaleGuard guard("en_US");
    struct Row
    {
        const char *pattern;
        const char *text;
        const char *shown;
    };
    const Row rows[] = {
        {"#,##0", "1500.5", "1,501"}, {"#,##0", "1,500", "1,500"}, {"#,##0.00", "-3", "-3.00"},
        {"(#,##0)", "(5)", "-(5)"}, // "(5)" is the number -5
        {"$#,##0", "$10", "$10"},   // the currency sign is read as part of the number
        {"0%", "0.25", "25%"},        {"#,##0", "#ERR", "#ERR"},   {"#,##0", "&H10", "16"},
        {"#,##0", "Bikes", "Bikes"},  {"#,##0", "", ""},           {"#,##0", " 7 ", "7"},
        {"", "1500.5", "1500.5"},
    };
    for (const Row &row : rows) {
        const ColumnFormat format(QString::fromUtf8(row.pattern));
        EXPECT_EQ(format.apply(QString::fromUtf8(row.text)), QString::fromUtf8(row.shown))
            << row.pattern << " on " << row.text;
    }
}

TEST(TextWidths, NumbersOfOneShapeAreMeasuredOnce)
{
    QFont font(QStringLiteral("Sans"));
    font.setPixelSize(13);
    TextWidths widths;
    const int index = widths.fontIndex(font);
    EXPECT_EQ(widths.fontIndex(QFont(font)), index);
    const QFontMetricsF metrics(font);
    int widest = 0;
    for (int i = 1000; i < 11000; ++i)
        widest = std::max(widest, widths.width(index, QStringLiteral("%1.25").arg(i)));
    EXPECT_LE(widths.measuredCount(), 2) << "four and five digits";
    EXPECT_GE(widest, int(metrics.horizontalAdvance(QStringLiteral("10999.25"))));
    const QString caption = QStringLiteral("Bikes and more");
    EXPECT_EQ(widths.width(index, caption), int(std::ceil(metrics.horizontalAdvance(caption))));
    EXPECT_EQ(widths.width(index, QStringLiteral("ab\nabcdef")),
              widths.width(index, QStringLiteral("abcdef")))
        << "the longest line";
    EXPECT_EQ(widths.width(index, QString()), 0);
}

TEST(StyleTable, InternsEachLookOnceAndCompactsUnusedOnes)
{
    StyleTable table;
    CellStyle red;
    red.backColor = 0x0000FF;
    CellStyle bold;
    bold.bold = 1;
    EXPECT_EQ(table.intern(CellStyle()), StyleId(0));
    const StyleId redId = *table.intern(red);
    const StyleId boldId = *table.intern(bold);
    EXPECT_NE(redId, boldId);
    EXPECT_EQ(*table.intern(red), redId);
    EXPECT_EQ(table.size(), 3);

    const std::vector<StyleId> map = table.compact({true, false, true});
    EXPECT_EQ(table.size(), 2);
    EXPECT_EQ(map[boldId], StyleId(1));
    EXPECT_EQ(table.style(1), bold);
    EXPECT_EQ(*table.intern(bold), StyleId(1));

    for (int i = table.size(); i < StyleTable::Capacity; ++i) {
        CellStyle style;
        style.foreColor = i;
        ASSERT_TRUE(table.intern(style).has_value());
    }
    CellStyle oneMore;
    oneMore.foreColor = -1;
    EXPECT_FALSE(table.intern(oneMore).has_value());
    EXPECT_TRUE(table.intern(bold).has_value()) << "a look already there is still found";
}

TEST(StyleTable, ResolvesOnlyWhatTheLookSets)
{
    QFont grid(QStringLiteral("Sans"), 10);
    CellStyle style;
    style.bold = 1;
    QFont font = style.resolveFont(grid);
    EXPECT_TRUE(font.bold());
    EXPECT_EQ(font.family(), grid.family());
    EXPECT_EQ(font.pointSizeF(), 10.0);
    style.fontSize = 14;
    style.italic = 0;
    grid.setItalic(true);
    font = style.resolveFont(grid);
    EXPECT_EQ(font.pointSizeF(), 14.0);
    EXPECT_FALSE(font.italic());
}

TEST(GridLines, EveryStyleHasItsPlan)
{
    using L = LineLook;
    struct Row
    {
        int style;
        GridLinePlan plan;
    };
    const Row rows[] = {
        {0, {L::None, false, false, false, false, false}},
        {1, {L::Flat, true, true, false, false, false}},
        {2, {L::Inset, true, true, false, false, false}},
        {3, {L::Raised, true, true, false, false, false}},
        {4, {L::Flat, true, false, false, false, false}},
        {5, {L::Inset, true, false, false, false, false}},
        {6, {L::Raised, true, false, false, false, false}},
        {7, {L::Flat, true, false, true, false, false}},
        {8, {L::Flat, false, true, false, false, false}},
        {9, {L::Inset, false, true, false, false, false}},
        {10, {L::Raised, false, true, false, false, false}},
        {11, {L::Flat, false, true, true, false, false}},
        {12, {L::Raised, true, true, false, true, false}},
        {13, {L::Flat, true, true, false, false, true}},
    };
    for (const Row &row : rows)
        EXPECT_EQ(gridLinePlan(row.style), row.plan) << "style " << row.style;
    EXPECT_FALSE(isGridLineStyle(-1));
    EXPECT_FALSE(isGridLineStyle(14));
}

TEST(KeyCodes, QtKeysGiveTheRuntimeCodes)
{
    const std::pair<int, int> keys[] = {
        // clang-format off
        {Qt::Key_Control, 17}, {Qt::Key_Shift, 16}, {Qt::Key_Alt, 18},   {Qt::Key_A, 65},
        {Qt::Key_Z, 90},       {Qt::Key_0, 48},     {Qt::Key_F1, 112},   {Qt::Key_F12, 123},
        {Qt::Key_Left, 37},    {Qt::Key_Down, 40},  {Qt::Key_Return, 13}, {Qt::Key_Enter, 13},
        {Qt::Key_Escape, 27},  {Qt::Key_Delete, 46}, {Qt::Key_Space, 32}, {Qt::Key_Eacute, 0},
        // clang-format on
    };
    for (const auto &[qt, code] : keys)
        EXPECT_EQ(keyCodeOf(qt), code) << "Qt key " << qt;
    EXPECT_EQ(shiftStateOf(Qt::ShiftModifier | Qt::AltModifier), 5);
    EXPECT_EQ(shiftStateOf(Qt::ControlModifier), 2);
    EXPECT_EQ(shiftStateOf(Qt::NoModifier), 0);
}

TEST(OleColor, RedInTheLowByteAndSystemColoursFromThePalette)
{
    EXPECT_EQ(oleToColor(0x0000FF), QColor(255, 0, 0));
    EXPECT_EQ(oleToColor(0xFF8000), QColor(0, 128, 255));
    EXPECT_EQ(colorToOle(QColor(0, 128, 255)), 0xFF8000);
    QPalette palette;
    palette.setColor(QPalette::Highlight, QColor(1, 2, 3));
    EXPECT_EQ(oleToColor(int(0x8000000Du), palette), QColor(1, 2, 3));
}

TEST(AxisLayout, PositionsSkipHiddenItems)
{
    AxisLayout layout;
    const std::vector<int> sizes = {10, -1, 0, 5};
    layout.rebuild(4, 20, [&sizes](int i) { return sizes[std::size_t(i)]; });
    EXPECT_EQ(layout.total(), 35);
    EXPECT_EQ(layout.start(3), 30);
    EXPECT_EQ(layout.size(2), 0);
    const std::pair<qint64, int> hits[] = {{-1, -1}, {0, 0},  {9, 0},  {10, 1},
                                           {29, 1},  {30, 3}, {34, 3}, {35, -1}};
    for (const auto &[position, index] : hits)
        EXPECT_EQ(layout.indexAt(position), index) << "at " << position;
    layout.rebuild(0, 20, [](int) { return -1; });
    EXPECT_EQ(layout.indexAt(0), -1);
}
