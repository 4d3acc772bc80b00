// The titles grid and the data grid painted from results of the sales cube: the layout of
// the fixed cells for every shape of result, the subtotal rows, the server's cell formatting
// and the value colouring.
#include "Control/core/PelmoraC02.h"
#include "platform/runtime/ShownNumber.h"
#include "tests/Control/core/GridRows.h"
#include "tests/platform/olap/CubeFixtures.h"
#include "tests/support/ScriptedMsgBox.h"

#include <gtest/gtest.h>

#include <QLocale>
#include <QTemporaryDir>

#include <memory>

using controltest::gridRows;
using platform::grid::CellSetting;
using platform::grid::FlexGrid;
using testing_support::ScriptedMsgBox;

namespace {

class PaintGrids : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_dir = std::make_unique<QTemporaryDir>();
        s_cube = testing_support::buildFixtureCube(s_dir->path(), "sales");
    }

    static void TearDownTestSuite() { s_dir.reset(); }

    void SetUp() override
    {
        control.openParams.OpenFile = s_cube;
        ASSERT_TRUE(control.cubeConnectNI(false));
        ASSERT_EQ(boxes.count(), 0) << boxes.texts().join("; ").toStdString();
    }

    // Moves record i to a place and order on it.
    void place(int i, int lugar, int orden)
    {
        pelmora::orderDimAt(control.layoutState, i).lugar = lugar;
        pelmora::orderDimAt(control.layoutState, i).orden = orden;
    }

    // Runs a statement and answers the data grid's rows.
    QStringList run(const QString &statement)
    {
        EXPECT_TRUE(control.MDXExecute(statement));
        return gridRows(*control.grdResults);
    }

    static std::unique_ptr<QTemporaryDir> s_dir;
    static QString s_cube;

    ScriptedMsgBox boxes;
    PelmoraC02 control;
};

std::unique_ptr<QTemporaryDir> PaintGrids::s_dir;
QString PaintGrids::s_cube;

} // namespace

// The records of the sales cube's first layout: 0 Measures on the columns, 1 Time on the rows,
// 2 Product and 3 Store on the slicer.
TEST_F(PaintGrids, TheFirstViewFillsBothGrids)
{
    ASSERT_TRUE(control.genSelect());
    EXPECT_EQ(boxes.count(), 0) << boxes.texts().join("; ").toStdString();
    EXPECT_EQ(gridRows(*control.grdTitulos),
              QStringList({"Product|All Products", "Store|All Stores"}));

    const FlexGrid &grid = *control.grdResults;
    EXPECT_EQ(gridRows(grid),
              QStringList({" |Measures", "Time|Sales", "1997|33.50", "Q1|21.50", "Q2|12.00"}));
    EXPECT_EQ(grid.fixedRows(), 2);
    EXPECT_EQ(grid.fixedCols(), 1);
    EXPECT_TRUE(grid.mergeRow(0));
    EXPECT_TRUE(grid.mergeRow(1));
    EXPECT_FALSE(grid.mergeRow(2));
    EXPECT_TRUE(grid.mergeCol(0));
    EXPECT_FALSE(grid.mergeCol(1));
    EXPECT_EQ(grid.colSetting119(0), 1);
    EXPECT_EQ(grid.colSetting119(1), 0);
    EXPECT_EQ(grid.colSetting138(0), 1);
    EXPECT_EQ(grid.colSetting138(1), 1);
    EXPECT_EQ(grid.colFormat(0), "");
    EXPECT_EQ(grid.colFormat(1), "#,##0");
    EXPECT_EQ(grid.cell(CellSetting::TextDisplay, 2, 1).toString(), "34");
    EXPECT_EQ(grid.appearance(), 1);
    EXPECT_TRUE(grid.redraw());

    // The year is the subtotal of its quarters; every row carries its depth.
    EXPECT_TRUE(grid.isSubtotal(2));
    EXPECT_FALSE(grid.isSubtotal(3));
    EXPECT_EQ(grid.rowOutlineLevel(2), 0);
    EXPECT_EQ(grid.rowOutlineLevel(3), 1);
    // Without FormatSubtotal the subtotal row keeps the grid's look.
    EXPECT_EQ(grid.cell(CellSetting::BackColor, 2, 0).toInt(), 0);

    // The title cells and the value cells carry their settings.
    FlexGrid &g = *control.grdResults;
    for (const auto &[row, col, setting28, setting47] :
         {std::tuple{0, 1, -1, 0}, {1, 0, -1, 0}, {1, 1, 0, 0}, {2, 1, 0, 6}, {4, 1, 0, 6}}) {
        SCOPED_TRACE(testing::Message() << row << "," << col);
        g.setRow(row);
        g.setCol(col);
        EXPECT_EQ(g.cellSetting28(), setting28);
        EXPECT_EQ(g.cellSetting47(), setting47);
    }
}

TEST_F(PaintGrids, EachShapeOfResultHasItsLayout)
{
    const QString sales = "{[Measures].[Sales]}";
    const QString products =
        "Descendants([Product].[All Products], [Product].[Family], SELF_AND_BEFORE)";
    struct Case
    {
        const char *name;
        QString statement;
        bool twoColumnDimensions;
        QStringList rows;
        int fixedRows, fixedCols, appearance;
    };
    const Case cases[] = {
        {"no axis", "SELECT FROM [Sales]", false, {"33.50"}, 0, 0, 0},
        // clang-format off
        {"one axis", "SELECT {[Measures].[Sales], [Measures].[Cost]} ON AXIS(0) FROM [Sales]",
         false, {"Measures| ", "Sales|Cost", "33.50|22.00"}, 2, 0, 1},
        // clang-format on
        // The hidden extra row keeps the fixed rows from taking the whole grid; the captions
        // are not overwritten by the row titles, which have no column to go to.
        {"rows without positions",
         // clang-format off
         "SELECT " + sales + " ON AXIS(0), Filter({[Time].[1997]}, 1 = 0) ON AXIS(1) "
         "FROM [Sales]",
         false, {"Measures", "Sales", ""}, 2, 0, 1},
        // clang-format on
        {"columns without positions",
         // clang-format off
         "SELECT Filter(" + sales + ", 1 = 0) ON AXIS(0), {[Time].[1997]} ON AXIS(1) "
         "FROM [Sales]",
         false, {"1997|"}, 0, 1, 0},
        // clang-format on
        // Last: it moves the records.
        {"two column dimensions",
         "SELECT CrossJoin({[Time].[1997]}, {[Measures].[Sales], [Measures].[Cost]}) ON "
         "AXIS(0), "
             + products + " ON AXIS(1) FROM [Sales]",
         true,
         {" |Time|Measures", " |1997|1997", "Product|Sales|Cost", "All Products|33.50|22.00",
          "Drink|7.50|5.00", "Food|26.00|17.00"},
         3,
         1,
         1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        if (c.twoColumnDimensions) {
            place(1, pelmora::Columns, 0);
            place(0, pelmora::Columns, 1);
            place(2, pelmora::Rows, 0);
            place(3, pelmora::Slicer, 0);
        }
        control.grdResults->setAppearance(0);
        EXPECT_EQ(run(c.statement), c.rows);
        EXPECT_EQ(boxes.count(), 0) << boxes.texts().join("; ").toStdString();
        const FlexGrid &grid = *control.grdResults;
        EXPECT_EQ(grid.fixedRows(), c.fixedRows);
        EXPECT_EQ(grid.fixedCols(), c.fixedCols);
        EXPECT_EQ(grid.appearance(), c.appearance);
        EXPECT_TRUE(grid.redraw());
        boxes.clear();
    }
    // The extra row of the empty rows axis and the extra column of the empty columns axis.
    run("SELECT {[Measures].[Sales]} ON AXIS(0), Filter({[Time].[1997]}, 1 = 0) ON AXIS(1) "
        "FROM [Sales]");
    EXPECT_EQ(control.grdResults->rowHeight(2), 0);
    run("SELECT Filter({[Measures].[Sales]}, 1 = 0) ON AXIS(0), {[Time].[1997]} ON AXIS(1) "
        "FROM [Sales]");
    EXPECT_EQ(control.grdResults->colWidth(1), 0);
}

TEST_F(PaintGrids, ThreeAxesAreReportedAndLeaveTheDataGrid)
{
    ASSERT_TRUE(control.genSelect());
    const QStringList before = gridRows(*control.grdResults);
    const QString statement = "SELECT {[Measures].[Sales]} ON AXIS(0), {[Time].[1997]} ON "
                              "AXIS(1), {[Store].[All Stores]} ON AXIS(2) FROM [Sales]";
    for (const auto &[language, text] :
         {std::pair{0, "selectPaint: Only two dimensiones are supported."},
          {1, "selectPaint: Solo se soportan dos dimensiones."}}) {
        control.language.LanguageID = language;
        control.grdTitulos->setTextMatrix(0, 1, "changed");
        EXPECT_EQ(run(statement), before);
        EXPECT_EQ(boxes.texts(), QStringList({text}));
        EXPECT_EQ(control.grdTitulos->textMatrix(0, 1), "All Products"); // repainted
        EXPECT_TRUE(control.grdResults->redraw());
        boxes.clear();
    }
}

TEST_F(PaintGrids, WithoutSlicerTheTitlesGridIsEmpty)
{
    place(2, pelmora::Rows, 1);
    place(3, pelmora::Columns, 1);
    control.headerPaint();
    EXPECT_EQ(control.grdTitulos->rows(), 0);
    EXPECT_EQ(boxes.count(), 0);
}

// Products on the rows: All Products at depth 0, the families Drink and Food at 1, their
// categories at 2.
TEST_F(PaintGrids, SubtotalRowsByLevelRankingAndOrder)
{
    const QString statement =
        "SELECT {[Measures].[Sales]} ON AXIS(0), "
        "Descendants([Product].[All Products], [Product].[Category], SELF_AND_BEFORE) "
        "ON AXIS(1) FROM [Sales]";
    place(1, pelmora::Slicer, 0);
    place(2, pelmora::Rows, 0);
    place(3, pelmora::Slicer, 1);
    pelmora::OrderDim &product = pelmora::orderDimAt(control.layoutState, 2);
    product.jerarquia = 0;
    control.gridFormat.FormatSubtotal = true;
    control.gridFormat.BackColorSubtotal = 0x00AA00;
    control.gridFormat.BackColorDataSubtotal = 0x0000AA;
    control.gridFormat.ForeColorDataSubtotal = 0xAA0000;

    struct Case
    {
        const char *name;
        int level, ordenTipo, opcionTipo;
        const char *flags, *looks; // one letter per row: T or F
        bool outline;
    };
    const Case cases[] = {
        {"level 1", 1, 0, 0, "TTFTFF", "TTFTFF", true},
        {"level 0", 0, 0, 0, "TTFTFF", "TFFFFF", true},
        {"BASC", 1, 3, 0, "FFFFFF", "FFFFFF", false},
        {"top count", 1, 0, 1, "FFFFFF", "FFFFFF", false},
    };
    const int depths[] = {0, 1, 2, 1, 2, 2};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        control.gridFormat.FormatSubtotalLevel = c.level;
        product.ordenTipo = c.ordenTipo;
        product.opcionTipo = c.opcionTipo;
        EXPECT_EQ(run(statement).mid(2),
                  QStringList({"All Products|33.50", "Drink|7.50", "Juice|7.50", "Food|26.00",
                               "Bread|4.00", "Fruit|22.00"}));
        const FlexGrid &grid = *control.grdResults;
        for (int i = 0; i < 6; ++i) {
            SCOPED_TRACE(i);
            const int row = 2 + i;
            const bool look = c.looks[i] == 'T';
            EXPECT_EQ(grid.isSubtotal(row), c.flags[i] == 'T');
            EXPECT_EQ(grid.cell(CellSetting::BackColor, row, 0).toInt(), look ? 0x00AA00 : 0);
            EXPECT_EQ(grid.cell(CellSetting::BackColor, row, 1).toInt(), look ? 0x0000AA : 0);
            EXPECT_EQ(grid.cell(CellSetting::ForeColor, row, 1).toInt(), look ? 0xAA0000 : 0);
            EXPECT_EQ(grid.rowOutlineLevel(row), c.outline ? depths[i] : 0);
        }
    }
}

TEST_F(PaintGrids, ASubtotalRowWithTwoRowDimensions)
{
    place(1, pelmora::Slicer, 0);
    place(2, pelmora::Rows, 0);
    place(3, pelmora::Rows, 1);
    pelmora::orderDimAt(control.layoutState, 2).jerarquia = 0;
    control.gridFormat.FormatSubtotal = true;
    control.gridFormat.BackColorSubtotal = 0x00AA00;
    control.gridFormat.BackColorDataSubtotal = 0x0000AA;
    pelmora::fontOf(control.gridFormat.FontSubtotal).setItalic(true);
    pelmora::fontOf(control.gridFormat.FontDataSubtotal).setStrikethrough(true);
    pelmora::fontOf(control.gridFormat.FontDataSubtotal).setName("DejaVu Serif");
    const QStringList rows =
        run("SELECT {[Measures].[Sales]} ON AXIS(0), CrossJoin(Descendants([Product].[All "
            "Products], [Product].[Family], SELF_AND_BEFORE), {[Store].[All Stores]}) ON "
            "AXIS(1) FROM [Sales]");
    EXPECT_EQ(rows.mid(0, 3), QStringList({" | |Measures", "Product|Store|Sales",
                                           "All Products|All Stores|33.50"}));
    const FlexGrid &grid = *control.grdResults;
    EXPECT_EQ(grid.fixedCols(), 2);
    EXPECT_EQ(grid.cell(CellSetting::BackColor, 2, 0).toInt(), 0x00AA00);
    EXPECT_EQ(grid.cell(CellSetting::BackColor, 2, 1).toInt(), 0);
    EXPECT_EQ(grid.cell(CellSetting::BackColor, 2, 2).toInt(), 0x0000AA);
    EXPECT_EQ(grid.cell(CellSetting::BackColor, 3, 0).toInt(), 0);
    // The subtotal fonts: the row header's cell in column 0, the data subtotal font on the
    // values; the inner header cell and the rows below keep the grid's.
    for (const auto &[row, col, italic, strike] : {std::tuple{2, 0, true, false},
                                                   {2, 1, false, false},
                                                   {2, 2, false, true},
                                                   {3, 0, false, false},
                                                   {3, 2, false, false}}) {
        SCOPED_TRACE(testing::Message() << row << "," << col);
        EXPECT_EQ(grid.cell(CellSetting::FontItalic, row, col).toBool(), italic);
        EXPECT_EQ(grid.cell(CellSetting::FontStrikethrough, row, col).toBool(), strike);
        EXPECT_EQ(grid.cell(CellSetting::FontName, row, col).toString() == "DejaVu Serif", strike);
    }
}

// The value colouring reads the number each cell shows: grouped thousands, negatives in
// parentheses, currency and percentages.
TEST_F(PaintGrids, ValuesAreColouredByTheNumberTheyShow)
{
    const QString statement =
        "WITH MEMBER [Measures].[Big] AS '1500', FORMAT_STRING = '#,##0' "
        "MEMBER [Measures].[Neg] AS '-5', FORMAT_STRING = '#,##0;(#,##0)' "
        "MEMBER [Measures].[Cur] AS '10', FORMAT_STRING = '$#,##0' "
        "MEMBER [Measures].[Pct] AS '0.12', FORMAT_STRING = '0%' "
        "SELECT {[Measures].[Big], [Measures].[Neg], [Measures].[Cur], [Measures].[Pct], "
        "[Measures].[Sales]} ON AXIS(0) FROM [Sales]";
    pelmora::ValueFormat &format = control.valueFormat;
    format.ThresholdMinBackColor = 0x0000FF;
    format.ThresholdMedBackColor = 0x00FFFF;
    format.ThresholdMaxBackColor = 0x00FF00;
    format.ActThresholdMinBackColor = true;
    format.ActThresholdMedBackColor = true;
    format.ActThresholdMaxBackColor = true;
    format.SemaphoreMinValue = 10;
    format.SemaphoreMaxValue = 100;
    const int low = 0x0000FF, middle = 0x00FFFF, high = 0x00FF00;
    struct Case
    {
        int valueType;
        int back[5];
    };
    const Case cases[] = {
        {pelmora::pelmoraVTNormal, {0, 0, 0, 0, 0}},
        {pelmora::pelmoraVTPositiveNegative, {high, low, high, high, high}},
        {pelmora::pelmoraVTSemaphore, {high, low, low, middle, middle}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.valueType);
        format.ValueType = c.valueType;
        const QStringList rows = run(statement);
        ASSERT_EQ(rows.size(), 3);
        EXPECT_EQ(rows[2], "1,500|(5)|$10|12%|33.50");
        EXPECT_EQ(boxes.count(), 0);
        for (int col = 0; col < 5; ++col) {
            SCOPED_TRACE(col);
            EXPECT_EQ(control.grdResults->cell(CellSetting::BackColor, 2, col).toInt(),
                      c.back[col]);
            EXPECT_EQ(control.grdResults->cell(CellSetting::ForeColor, 2, col).toInt(), 0);
        }
    }
}

TEST_F(PaintGrids, ValueColouringReadsTheLocalesSeparators)
{
    control.valueFormat.ValueType = pelmora::pelmoraVTSemaphore;
    control.valueFormat.SemaphoreMinValue = 10;
    control.valueFormat.SemaphoreMaxValue = 100;
    control.valueFormat.ThresholdMinForeColor = 0x000011;
    control.valueFormat.ThresholdMedForeColor = 0x000022;
    control.valueFormat.ThresholdMaxForeColor = 0x000033;
    control.valueFormat.ActThresholdMinForeColor = true;
    control.valueFormat.ActThresholdMedForeColor = true;
    control.valueFormat.ActThresholdMaxForeColor = true;
    const QLocale previous;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    FlexGrid &grid = *control.grdResults;
    grid.setRows(1);
    grid.setCols(1);
    const struct
    {
        const char *text;
        int fore;
    } cases[] = {
        {"1.500,5", 0x000033}, {"12,5", 0x000022}, {"(1.500)", 0x000011}, {"100 €", 0x000033},
        {"10,5%", 0x000022},   {"#ERR", 0x000011}, {"", 0x000011},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        grid.clear();
        grid.setTextMatrix(0, 0, QString::fromUtf8(c.text));
        control.paintValueColour(0, 0, platform::runtime::ShownNumberReader());
        EXPECT_EQ(grid.cell(CellSetting::ForeColor, 0, 0).toInt(), c.fore);
    }
    QLocale::setDefault(previous);
    EXPECT_EQ(boxes.count(), 0);
}

// The server's formatting, looked for only when the first cell carries some. The grid's fore
// colour is not black here, so that black and the grid's own colour differ.
TEST_F(PaintGrids, ServerFormattingOfCells)
{
    const QString members = "WITH MEMBER [Measures].[Red] AS '1', FORE_COLOR = 255, FONT_FLAGS = 5 "
                            "MEMBER [Measures].[Own] AS '2', FORE_COLOR = 1193046 "
                            "MEMBER [Measures].[Black] AS '3', FORE_COLOR = 0, BACK_COLOR = 65280 ";
    const QString properties =
        " FROM [Sales] CELL PROPERTIES VALUE, FORMATTED_VALUE, FORE_COLOR, BACK_COLOR, "
        "FONT_FLAGS";
    FlexGrid &grid = *control.grdResults;
    grid.setForeColor(0x123456);

    run(members
        + "SELECT {[Measures].[Red], [Measures].[Own], [Measures].[Black], "
          "[Measures].[Sales]} ON AXIS(0)"
        + properties);
    EXPECT_EQ(boxes.count(), 0) << boxes.texts().join("; ").toStdString();
    const struct
    {
        int fore, back;
        bool bold, underline;
    } expected[] = {
        {255, 0, true, true}, {0, 0, false, false}, {1, 65280, false, false}, {0, 0, false, false}};
    for (int col = 0; col < 4; ++col) {
        SCOPED_TRACE(col);
        EXPECT_EQ(grid.cell(CellSetting::ForeColor, 2, col).toInt(), expected[col].fore);
        EXPECT_EQ(grid.cell(CellSetting::BackColor, 2, col).toInt(), expected[col].back);
        EXPECT_EQ(grid.cell(CellSetting::FontBold, 2, col).toBool(), expected[col].bold);
        EXPECT_EQ(grid.cell(CellSetting::FontUnderline, 2, col).toBool(), expected[col].underline);
    }

    // Cells that carry no formatting properties (the statement asks for none): no cell gets
    // any, whatever the members define.
    run(members + "SELECT {[Measures].[Sales], [Measures].[Red]} ON AXIS(0) FROM [Sales]");
    EXPECT_EQ(grid.cell(CellSetting::ForeColor, 2, 1).toInt(), 0);
    EXPECT_FALSE(grid.cell(CellSetting::FontBold, 2, 1).toBool());
}

TEST_F(PaintGrids, ServerFormattingResetsTheSubtotalLookOfCellsWithoutIt)
{
    place(1, pelmora::Slicer, 0);
    place(2, pelmora::Rows, 0);
    place(3, pelmora::Slicer, 1);
    pelmora::orderDimAt(control.layoutState, 2).jerarquia = 0;
    control.gridFormat.FormatSubtotal = true;
    control.gridFormat.ForeColorDataSubtotal = 0xAA0000;
    run("WITH MEMBER [Measures].[Red] AS '1', FORE_COLOR = 255 SELECT {[Measures].[Red], "
        "[Measures].[Sales]} ON AXIS(0), Descendants([Product].[All Products], "
        "[Product].[Family], SELF_AND_BEFORE) ON AXIS(1) FROM [Sales] CELL PROPERTIES VALUE, "
        "FORMATTED_VALUE, FORE_COLOR");
    const FlexGrid &grid = *control.grdResults;
    ASSERT_TRUE(grid.isSubtotal(2));
    EXPECT_EQ(grid.cell(CellSetting::ForeColor, 2, 1).toInt(), 255);
    EXPECT_EQ(grid.cell(CellSetting::ForeColor, 2, 2).toInt(), 0);
}

TEST_F(PaintGrids, CellReadersAndFailureLabels)
{
    run("WITH MEMBER [Measures].[Red] AS '1', FORE_COLOR = 255 SELECT {[Measures].[Red]} ON "
        "AXIS(0) FROM [Sales] CELL PROPERTIES VALUE, FORMATTED_VALUE, FORE_COLOR");
    const platform::olap::Cell cell = control.queryState.cellset->item(qint64(0));
    EXPECT_TRUE(control.cellHasProperty(cell, "FORE_COLOR"));
    EXPECT_FALSE(control.cellHasProperty(cell, "BACK_COLOR"));
    EXPECT_EQ(control.cellPropertyValue(cell, "FORE_COLOR", 7).toInt(), 255);
    EXPECT_EQ(control.cellPropertyValue(cell, "BACK_COLOR", 7).toInt(), 7);
    EXPECT_FALSE(control.cellPropertyValue(cell, "FONT_NAME").isValid());
    EXPECT_EQ(control.cellFormattedText(cell), "1");
    EXPECT_EQ(boxes.count(), 0);

    control.valueFormat.ActThresholdMinBackColor = true;
    control.FormatCell(99, 0, cell, 0, 0xFFFFFF, "Arial", 10);
    control.PosNegFormatPaint(99, 0, -1);
    control.SemaphoreFormatPaint(99, 0, -1, 10, 100);
    EXPECT_EQ(boxes.texts(), QStringList({"FormatCell: Subscript out of range",
                                          "PosNegFormatPaint: Subscript out of range",
                                          "SemaphoreFormatPaint: Subscript out of range"}));
}

TEST_F(PaintGrids, AFailedStatementEmptiesTheDataGrid)
{
    ASSERT_TRUE(control.genSelect());
    control.grdTitulos->setTextMatrix(0, 1, "changed");
    EXPECT_TRUE(control.MDXExecute("SELECT {[Measures].[Sales] ON AXIS(0) FROM [Sales]"));
    EXPECT_EQ(boxes.count(), 1); // the statement's own report only
    EXPECT_EQ(control.grdResults->rows(), 0);
    EXPECT_EQ(control.grdResults->cols(), 0);
    EXPECT_EQ(gridRows(*control.grdTitulos),
              QStringList({"Product|All Products", "Store|All Stores"}));
}
