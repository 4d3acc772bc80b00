#include "Control/core/LayoutLists.h"

#include <gtest/gtest.h>

using namespace pelmora;

namespace {

// Measures and Product on the columns (Product first), Time on the rows with element type 3,
// Store on the slicer.
LayoutState fourDimensions()
{
    LayoutState layout;
    layout.NumDims = 4;
    const struct
    {
        const char *name;
        int lugar, orden, jerarquia;
    } records[] = {
        {"Measures", Columns, 1, 0},
        {"Time", Rows, 0, 3},
        {"Product", Columns, 0, 0},
        {"Store", Slicer, 0, 7},
    };
    for (int i = 0; i < 4; ++i) {
        OrderDim &d = orderDimAt(layout, i);
        d.nombre = QString::fromLatin1(records[i].name);
        d.lugar = records[i].lugar;
        d.orden = records[i].orden;
        d.jerarquia = records[i].jerarquia;
        d.padreLlave = QStringList{QStringLiteral("[%1].[m]").arg(d.nombre)};
    }
    return layout;
}

// Each record as "lugar/orden/jerarquia".
QStringList places(const LayoutState &layout)
{
    QStringList out;
    for (int i = 0; i < layout.NumDims; ++i) {
        const OrderDim &d = orderDimAt(layout, i);
        out << QStringLiteral("%1/%2/%3").arg(d.lugar).arg(d.orden).arg(d.jerarquia);
    }
    return out;
}

const QStringList names{"Measures", "Time", "Product", "Store"};

} // namespace

TEST(LayoutLists, ListEachPlaceInPositionOrder)
{
    const AxisLists lists = axisListsOf(fourDimensions(), names);
    EXPECT_EQ(lists[Slicer], QStringList({"Store"}));
    EXPECT_EQ(lists[Columns], QStringList({"Product", "Measures"}));
    EXPECT_EQ(lists[Rows], QStringList({"Time"}));

    // The names are the cube's, by record index.
    const AxisLists cube = axisListsOf(fourDimensions(), {"M", "T", "P", "S"});
    EXPECT_EQ(cube[Columns], QStringList({"P", "M"}));
}

TEST(LayoutLists, WritingTheListsBack)
{
    const struct
    {
        const char *name;
        AxisLists lists;
        QStringList expected;
    } cases[] = {
        // Confirmed unchanged: nothing changes, element types and positions included.
        {"unchanged",
         {{{"Store"}, {"Product", "Measures"}, {"Time"}}},
         {"1/1/0", "2/0/3", "1/0/0", "0/0/7"}},
        // To the header: type 7; the axis it left closes up.
        {"columns to header",
         {{{"Store", "Product"}, {"Measures"}, {"Time"}}},
         {"1/0/0", "2/0/3", "0/1/7", "0/0/7"}},
        // Off the header: type 0.
        {"header to rows",
         {{{}, {"Product", "Measures"}, {"Time", "Store"}}},
         {"1/1/0", "2/0/3", "1/0/0", "2/1/0"}},
        // From one axis to the other: the element type stays.
        {"rows to columns",
         {{{"Store"}, {"Product", "Measures", "Time"}, {}}},
         {"1/1/0", "1/2/3", "1/0/0", "0/0/7"}},
        // A name of no record is skipped; the others take their list positions.
        {"unknown name",
         {{{"Store"}, {"Nothing", "Measures", "Product"}, {"Time"}}},
         {"1/1/0", "2/0/3", "1/2/0", "0/0/7"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        LayoutState layout = fourDimensions();
        applyAxisLists(layout, c.lists);
        EXPECT_EQ(places(layout), c.expected);
        // Member lists stay.
        EXPECT_EQ(orderDimAt(layout, 2).padreLlave, QStringList({"[Product].[m]"}));
    }
}
