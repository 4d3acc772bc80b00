#include "Control/core/LayoutRecords.h"
#include "Control/core/PelmoraC02.h"
#include "platform/runtime/Error.h"
#include "tests/support/ScriptedMsgBox.h"

#include <gtest/gtest.h>

using namespace pelmora;
using testing_support::ScriptedMsgBox;

namespace {

// Opens a cube of `dims` dimensions named D0, D1, ... as the connection does.
LayoutState openedCube(int dims)
{
    LayoutState layout;
    layout.NumDims = dims;
    for (int d = 0; d < dims; ++d) {
        newOrderDim(layout, d, QString("[D%1].[All]").arg(d), QString("All %1").arg(d),
                    QString("D%1").arg(d), d == dims - 1 ? 2 : 1);
    }
    return layout;
}

struct Placement
{
    int lugar;
    int orden;
    int jerarquia;
};

} // namespace

TEST(LayoutRecords, NewCubePlacesRecordsByIndex)
{
    const struct
    {
        int dims;
        QList<Placement> expected;
    } cases[] = {
        {1, {{Columns, 0, 0}}},
        {2, {{Columns, 0, 0}, {Rows, 0, 0}}},
        {5, {{Columns, 0, 0}, {Rows, 0, 0}, {Slicer, 0, 7}, {Slicer, 1, 7}, {Slicer, 2, 7}}},
    };
    for (const auto &c : cases) {
        const LayoutState layout = openedCube(c.dims);
        for (int i = 0; i < c.dims; ++i) {
            const OrderDim &r = layout.orderDim[size_t(i)];
            SCOPED_TRACE(testing::Message() << c.dims << " dimensions, record " << i);
            EXPECT_EQ(r.lugar, c.expected[i].lugar);
            EXPECT_EQ(r.orden, c.expected[i].orden);
            EXPECT_EQ(r.jerarquia, c.expected[i].jerarquia);
            EXPECT_EQ(r.padreLlave, QStringList{QString("[D%1].[All]").arg(i)});
            EXPECT_EQ(r.padreTexto, QStringList{QString("All %1").arg(i)});
            EXPECT_EQ(r.nombre, QString("D%1").arg(i));
            EXPECT_TRUE(r.vacio);
            EXPECT_EQ(r.jerarquiaSalto, 1);
        }
        EXPECT_EQ(countOrderDims(layout, Columns), 1);
        EXPECT_EQ(countOrderDims(layout, Rows), c.dims >= 2 ? 1 : 0);
        EXPECT_EQ(countOrderDims(layout, Slicer), std::max(0, c.dims - 2));
    }
}

TEST(LayoutRecords, ReopeningResetsTheChoicesButKeepsRankingDetails)
{
    LayoutState layout = openedCube(3);
    OrderDim &r = layout.orderDim[2];
    r.padreLlave = QStringList{"[D2].[A]", "[D2].[B]"};
    r.padreTexto = QStringList{"A", "B"};
    r.opcionTipo = 2;
    r.opcionCampo = "[Measures].[Cost]";
    r.opcionValor = 5;
    r.opcionTipoReg = 1;
    r.ordenTipo = 3;
    r.ordenCampos = QStringList{"[Measures].[Cost]"};
    r.jerarquiaSalto = 4;
    r.profundidad = 2;
    r.vacio = false;

    newOrderDim(layout, 2, "[New].[All]", "All new", "New", 0);
    EXPECT_EQ(r.padreLlave, QStringList{"[New].[All]"});
    EXPECT_EQ(r.padreTexto, QStringList{"All new"});
    EXPECT_EQ(r.opcionTipo, 0);
    EXPECT_EQ(r.ordenTipo, 0);
    EXPECT_EQ(r.jerarquiaSalto, 1);
    EXPECT_EQ(r.profundidad, 0);
    EXPECT_TRUE(r.vacio);
    EXPECT_EQ(r.tipo, 0);
    EXPECT_EQ(r.opcionCampo, "[Measures].[Cost]");
    EXPECT_EQ(r.opcionValor, 5);
    EXPECT_EQ(r.opcionTipoReg, 1);
    EXPECT_EQ(r.ordenCampos, QStringList{"[Measures].[Cost]"});
}

TEST(LayoutRecords, SetOrderDimStoresTheScalarsAndClearsEmptyOneListEach)
{
    LayoutState layout = openedCube(2);
    layout.orderDim[1].ordenCampos = QStringList{"f"};
    setOrderDim(layout, 1, 6, 3, Slicer, "Store", "[Measures].[Sales]", 1, 1, 10, 4, 2, 7, 3,
                false);
    const OrderDim &r = layout.orderDim[1];
    EXPECT_EQ(r.jerarquia, 6);
    EXPECT_EQ(r.jerarquiaSalto, 3);
    EXPECT_EQ(r.lugar, Slicer);
    EXPECT_EQ(r.nombre, "Store");
    EXPECT_EQ(r.opcionCampo, "[Measures].[Sales]");
    EXPECT_EQ(r.opcionTipo, 1);
    EXPECT_EQ(r.opcionTipoReg, 1);
    EXPECT_EQ(r.opcionValor, 10);
    EXPECT_EQ(r.orden, 4);
    EXPECT_EQ(r.ordenTipo, 2);
    EXPECT_EQ(r.profundidad, 7);
    EXPECT_EQ(r.tipo, 3);
    EXPECT_FALSE(r.vacio);
    EXPECT_EQ(r.padreLlave, QStringList{"[D1].[All]"}); // lists untouched
    EXPECT_EQ(r.ordenCampos, QStringList{"f"});

    clearPadreLlave(layout, 1);
    EXPECT_TRUE(r.padreLlave.isEmpty());
    EXPECT_EQ(r.padreTexto.size(), 1);
    clearPadreTexto(layout, 1);
    EXPECT_TRUE(r.padreTexto.isEmpty());
    EXPECT_EQ(r.ordenCampos.size(), 1);
    clearOrdenCampos(layout, 1);
    EXPECT_TRUE(r.ordenCampos.isEmpty());
    clearOrdenCampos(layout, 1); // an empty list stays empty
    EXPECT_TRUE(r.ordenCampos.isEmpty());
}

TEST(LayoutRecords, SearchesAnswerTheFirstMatchOrZero)
{
    LayoutState layout = openedCube(5);
    layout.orderDim[4].nombre = "D2"; // a second record of the same name
    const struct
    {
        int axis;
        int position;
        int expected;
    } places[] = {
        {Columns, 0, 0}, {Rows, 0, 1},    {Slicer, 0, 2}, {Slicer, 2, 4},
        {Slicer, 3, 0},  {Columns, 1, 0}, {7, 0, 0},
    };
    for (const auto &c : places)
        EXPECT_EQ(findOrderDim(layout, c.axis, c.position), c.expected)
            << c.axis << "," << c.position;

    EXPECT_EQ(findOrderDimByName(layout, "D1"), 1);
    EXPECT_EQ(findOrderDimByName(layout, "D2"), 2); // the lowest index
    EXPECT_EQ(findOrderDimByName(layout, "d1"), 0); // letter case counts
    EXPECT_EQ(findOrderDimByName(layout, "D1 "), 0);
    EXPECT_EQ(findOrderDimByName(layout, "nothing"), 0);

    // Records past NumDims are not searched.
    layout.NumDims = 2;
    EXPECT_EQ(findOrderDim(layout, Slicer, 0), 0);
    EXPECT_EQ(countOrderDims(layout, Slicer), 0);
    EXPECT_EQ(findOrderDimByName(layout, "D3"), 0);
    layout.NumDims = 0;
    EXPECT_EQ(findOrderDim(layout, Rows, 0), 0);
    EXPECT_EQ(countOrderDims(layout, Columns), 0);
}

TEST(LayoutRecords, IndexOutsideTheRecordsIsAnErrorNotACrash)
{
    LayoutState layout;
    for (int bad : {-1, orderDimCapacity, 1000}) {
        EXPECT_THROW(newOrderDim(layout, bad, "u", "c", "n", 0), platform::Error) << bad;
        EXPECT_THROW(clearPadreLlave(layout, bad), platform::Error) << bad;
    }
    EXPECT_NO_THROW(newOrderDim(layout, orderDimCapacity - 1, "u", "c", "n", 0));
    EXPECT_EQ(layout.orderDim[128].orden, 126);

    // More dimensions than records: a search that gets past record 128 fails.
    layout.NumDims = orderDimCapacity + 1;
    layout.orderDim[0].lugar = Columns;
    EXPECT_EQ(findOrderDim(layout, Columns, 0), 0);
    EXPECT_THROW(findOrderDim(layout, Columns, 5), platform::Error);
    EXPECT_THROW(countOrderDims(layout, Slicer), platform::Error);
}

TEST(LayoutRecords, ControlReportsABadIndexAndKeepsItsRecords)
{
    ScriptedMsgBox boxes;
    PelmoraC02 control;
    control.newOrderDim(0, "[Time].[1997]", "1997", "Time", 1);
    control.newOrderDim(129, "[X].[All]", "All", "X", 1);
    control.setOrderDim(-1, 0, 1, 0, "Y", "", 0, 0, 0, 0, 0, 0, 0, true);
    control.setOrderDim(0, 7, 1, Slicer, "Time", "", 0, 0, 0, 3, 0, 0, 1, true);
    EXPECT_EQ(boxes.texts(), QStringList({"newOrderDim: Subscript out of range",
                                          "setOrderDim: Subscript out of range"}));
    EXPECT_EQ(boxes.shown()[0].buttons, platform::forms::OkOnly);
    const OrderDim &r = control.layoutState.orderDim[0];
    EXPECT_EQ(r.nombre, "Time");
    EXPECT_EQ(r.lugar, Slicer);
    EXPECT_EQ(r.orden, 3);
    control.layoutState.NumDims = 1;
    EXPECT_EQ(control.findOrderDim(Slicer, 3), 0);
    EXPECT_EQ(control.countOrderDims(Slicer), 1);
    EXPECT_EQ(control.findOrderDimByName("Time"), 0);
    // The untrapped procedures pass the error on to their caller.
    EXPECT_THROW(control.clearOrdenCampos(200), platform::Error);
}
