// The rules of painting a result that need no window: the counts of the data grid, the
// dimension titles, the subtotal rule and the value bands.
#include "Control/presentation/PaintRules.h"

#include <gtest/gtest.h>

using namespace pelmora;

TEST(PaintRules, GridCountsOfEachShape)
{
    struct Case
    {
        const char *name;
        int axes, positions0, dimensions0, positions1, dimensions1;
        GridCounts expected;
    };
    const Case cases[] = {
        {"no axis", 0, -1, 0, -1, 0, {1, 0, 1, 0}},
        {"one axis", 1, 3, 1, -1, 0, {3, 2, 1, 0}},
        {"one axis, two dimensions", 1, 4, 2, -1, 0, {4, 3, 1, 0}},
        {"two axes", 2, 2, 1, 5, 1, {2, 2, 5, 1}},
        {"two row dimensions", 2, 2, 1, 6, 2, {2, 2, 6, 2}},
        {"rows without positions", 2, 2, 1, 0, 1, {2, 2, 0, 0}},
        {"columns without positions", 2, 0, 1, 3, 1, {0, 0, 3, 1}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const GridCounts counts =
            gridCounts(c.axes, c.positions0, c.dimensions0, c.positions1, c.dimensions1);
        EXPECT_EQ(counts.dataCols, c.expected.dataCols);
        EXPECT_EQ(counts.headerRows, c.expected.headerRows);
        EXPECT_EQ(counts.dataRows, c.expected.dataRows);
        EXPECT_EQ(counts.headerCols, c.expected.headerCols);
    }
}

TEST(PaintRules, DimensionTitlesFollowTheOrderOnTheirPlace)
{
    LayoutState layout;
    layout.NumDims = 4;
    const struct
    {
        const char *name;
        int lugar, orden;
    } records[] = {
        {"Measures", Columns, 1}, {"Time", Rows, 0}, {"Store", Columns, 0}, {"Product", Slicer, 0}};
    for (int i = 0; i < 4; ++i) {
        orderDimAt(layout, i).nombre = records[i].name;
        orderDimAt(layout, i).lugar = records[i].lugar;
        orderDimAt(layout, i).orden = records[i].orden;
    }
    EXPECT_EQ(dimensionTitles(layout, Columns), QStringList({"Store", "Measures"}));
    EXPECT_EQ(dimensionTitles(layout, Rows), QStringList({"Time"}));
    EXPECT_EQ(dimensionTitles(layout, Slicer), QStringList({"Product"}));
    layout.NumDims = 0;
    EXPECT_TRUE(dimensionTitles(layout, Columns).isEmpty());
}

TEST(PaintRules, AxisTitlesFromTheLayoutOnlyWhenItMatchesTheResult)
{
    const struct
    {
        const char *name;
        QStringList layout;
        QStringList levels;
        QStringList titles;
    } cases[] = {
        {"the layout's axis",
         {"Time", "Store"},
         {"[Time].[Year]", "[Store].[Country]"},
         {"Time", "Store"}},
        {"names compared without regard to case", {"time"}, {"[Time].[Year]"}, {"time"}},
        {"a second hierarchy of the dimension", {"Time"}, {"[Time.Weekly].[Week]"}, {"Time"}},
        {"fewer dimensions than the layout", {"Time", "Store"}, {"[Store].[Country]"}, {"Store"}},
        {"more dimensions than the layout",
         {"Measures"},
         {"[Measures].[MeasuresLevel]", "[Product].[Family]"},
         {"Measures", "Product"}},
        {"other dimensions", {"Store"}, {"[Measures].[MeasuresLevel]"}, {"Measures"}},
        {"the same dimensions in another order",
         {"Time", "Store"},
         {"[Store].[Country]", "[Time].[Year]"},
         {"Store", "Time"}},
        {"a name with a bracket", {"Time"}, {"[A]]B].[L]"}, {"A]B"}},
        {"no unique name", {"Time"}, {"Level"}, {"Level"}},
        {"a member that names no level",
         {"Time", "Store"},
         {"", "[Store].[Country]"},
         {"Time", "Store"}},
        {"an axis without positions", {"Time"}, {}, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(axisTitles(c.layout, c.levels), c.titles);
    }
}

TEST(PaintRules, WhichOuterDimensionsTakePartInSubtotals)
{
    const struct
    {
        int jerarquia, opcionTipo, ordenTipo;
        bool takesPart;
    } cases[] = {
        // clang-format off
        {0, 0, 0, true}, {3, 0, 0, true},  {1, 0, 0, false}, {2, 0, 0, false},
        {0, 1, 0, false}, {0, 3, 0, false}, {0, 0, 1, true},  {0, 0, 2, true},
        {0, 0, 3, false}, {3, 0, 4, false},
        // clang-format on
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message()
                     << c.jerarquia << " " << c.opcionTipo << " " << c.ordenTipo);
        OrderDim outer;
        outer.jerarquia = c.jerarquia;
        outer.opcionTipo = c.opcionTipo;
        outer.ordenTipo = c.ordenTipo;
        EXPECT_EQ(subtotalRowsTakePart(outer), c.takesPart);
    }
}

TEST(PaintRules, SubtotalFlagAndLookByDepthAndLevel)
{
    // Rows at depths 0, 1 and 2 under a first row of depth 0, the deepest level 2.
    const struct
    {
        int depth, firstDepth;
        bool format;
        int level;
        bool subtotal, look;
    } cases[] = {
        // clang-format off
        {0, 0, true, 1, true, true},   {1, 0, true, 1, true, true},
        {2, 0, true, 1, false, false}, {0, 0, true, 0, true, true},
        {1, 0, true, 0, true, false},  {2, 0, true, 0, false, false},
        {0, 0, false, 1, true, false}, {1, 0, false, 1, true, false},
        // clang-format on
        // A first row below the top: the levels count from its depth.
        {1, 1, true, 0, true, true},
        {0, 1, true, 0, true, true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message() << "depth " << c.depth << " first " << c.firstDepth
                                        << " level " << c.level << " format " << c.format);
        const SubtotalRow row = subtotalRow(c.depth, 2, c.firstDepth, c.format, c.level);
        EXPECT_EQ(row.subtotal, c.subtotal);
        EXPECT_EQ(row.look, c.look);
    }
}

TEST(PaintRules, SignAndThresholdBands)
{
    ValueFormat format;
    format.ThresholdMinBackColor = 0x0000FF;
    format.ThresholdMedBackColor = 0x00FFFF;
    format.ThresholdMaxBackColor = 0x00FF00;
    format.ActThresholdMinBackColor = true;
    format.ActThresholdMedBackColor = true;
    format.ActThresholdMaxBackColor = true;
    const BandColors all = backBands(format);
    const struct
    {
        double value;
        std::optional<int> sign, threshold;
    } cases[] = {
        {-1250, 0x0000FF, 0x0000FF}, {0, 0x00FFFF, 0x0000FF},     {10, 0x00FF00, 0x0000FF},
        {10.5, 0x00FF00, 0x00FFFF},  {99.99, 0x00FF00, 0x00FFFF}, {100, 0x00FF00, 0x00FF00},
        {1500, 0x00FF00, 0x00FF00},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(signColor(c.value, all), c.sign);
        EXPECT_EQ(thresholdColor(c.value, 10, 100, all), c.threshold);
    }

    // Only the low fore colour applies: zero and positive values keep theirs.
    format.ActThresholdMinForeColor = true;
    format.ThresholdMinForeColor = 0x112233;
    const BandColors fore = foreBands(format);
    EXPECT_EQ(signColor(-0.5, fore), 0x112233);
    EXPECT_EQ(signColor(0, fore), std::nullopt);
    EXPECT_EQ(signColor(3, fore), std::nullopt);
    EXPECT_EQ(thresholdColor(50, 10, 100, fore), std::nullopt);

    // Equal thresholds: the low band while it applies, else the high band.
    EXPECT_EQ(thresholdColor(10, 10, 10, all), 0x0000FF);
    BandColors noLow = all;
    noLow.active[0] = false;
    EXPECT_EQ(thresholdColor(10, 10, 10, noLow), 0x00FF00);
    EXPECT_EQ(thresholdColor(5, 10, 100, noLow), std::nullopt);
}

TEST(PaintRules, ServerColoursAsCellColours)
{
    EXPECT_EQ(serverCellColor(0x123456, 0x123456), 0); // the grid's own
    EXPECT_EQ(serverCellColor(0, 0x123456), 1);        // black
    EXPECT_EQ(serverCellColor(0, 0), 0);               // black that is the grid's
    EXPECT_EQ(serverCellColor(255, 0), 255);
}
