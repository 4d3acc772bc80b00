// The statement text built from the layout records, over the sales fixture cube (dimensions in
// cube order: Measures, Time without an All member, Product, Store).
#include "Control/core/MdxGen.h"
#include "Control/core/PelmoraC02.h"
#include "platform/olap/Catalog.h"
#include "tests/platform/olap/CubeFixtures.h"
#include "tests/support/ScriptedMsgBox.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <memory>
#include <vector>

using namespace pelmora;
using testing_support::ScriptedMsgBox;

namespace {

// One layout record; the fields a statement reads.
struct Rec
{
    QString nombre{};
    int lugar = Slicer;
    int orden = 0;
    QStringList llave{};
    int jerarquia = 7;
    int salto = 1;
    int tipo = 3;
    bool vacio = true;
    int opcionTipo = 0;
    QString opcionCampo{};
    int opcionValor = 0;
    int opcionTipoReg = 0;
    int ordenTipo = 0;
    QStringList ordenCampos{};
};

LayoutState layoutOf(const std::vector<Rec> &records)
{
    LayoutState layout;
    layout.NumDims = int(records.size());
    for (std::size_t i = 0; i < records.size(); ++i) {
        const Rec &r = records[i];
        OrderDim &d = layout.orderDim[i];
        d.nombre = r.nombre;
        d.lugar = r.lugar;
        d.orden = r.orden;
        d.padreLlave = r.llave;
        d.padreTexto = r.llave;
        d.jerarquia = r.jerarquia;
        d.jerarquiaSalto = r.salto;
        d.tipo = r.tipo;
        d.vacio = r.vacio;
        d.opcionTipo = r.opcionTipo;
        d.opcionCampo = r.opcionCampo;
        d.opcionValor = r.opcionValor;
        d.opcionTipoReg = r.opcionTipoReg;
        d.ordenTipo = r.ordenTipo;
        d.ordenCampos = r.ordenCampos;
    }
    return layout;
}

// The four dimensions of the cube, each on the slicer at its start member.
Rec measures(int lugar = Slicer, int orden = 0)
{
    return {.nombre = "Measures",
            .lugar = lugar,
            .orden = orden,
            .llave = {"[Measures].[Sales]"},
            .tipo = 2};
}
Rec time(int lugar = Slicer, int orden = 0, const QString &start = "[Time].[1997]")
{
    return {.nombre = "Time", .lugar = lugar, .orden = orden, .llave = {start}, .tipo = 1};
}
Rec product(int lugar = Slicer, int orden = 0, const QString &start = "[Product].[All Products]")
{
    return {.nombre = "Product", .lugar = lugar, .orden = orden, .llave = {start}};
}
Rec store(int lugar = Slicer, int orden = 0, const QString &start = "[Store].[All Stores]")
{
    return {.nombre = "Store", .lugar = lugar, .orden = orden, .llave = {start}};
}

Rec withType(Rec r, int jerarquia, int salto = 1)
{
    r.jerarquia = jerarquia;
    r.salto = salto;
    return r;
}

class MdxText : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        s_dir = std::make_unique<QTemporaryDir>();
        const QString file = testing_support::buildFixtureCube(s_dir->path(), "sales");
        s_connection = std::make_unique<platform::olap::Connection>();
        s_connection->open(testing_support::connectionStringFor(file));
        s_catalog = std::make_unique<platform::olap::Catalog>();
        s_catalog->setActiveConnection(*s_connection);
    }

    static void TearDownTestSuite()
    {
        s_catalog.reset();
        s_connection.reset();
        s_dir.reset();
    }

    static CubeAccess cube()
    {
        return [] { return s_catalog->cubeDefs().item(0); };
    }

    // The statement as the control builds it.
    static QString statement(const LayoutState &layout, const QString &cubeName = "Sales")
    {
        const auto axis = [&](int a) {
            return drillDown(layout, a,
                             [&](int k) { return drillDownDimension(layout, cube(), a, k); });
        };
        const int c = countOrderDims(layout, Columns);
        const int r = countOrderDims(layout, Rows);
        return selectStatement(c, c > 0 ? axis(Columns) : QString(), r,
                               r > 0 ? axis(Rows) : QString(), cubeName, genWhere(layout));
    }

    static std::unique_ptr<QTemporaryDir> s_dir;
    static std::unique_ptr<platform::olap::Connection> s_connection;
    static std::unique_ptr<platform::olap::Catalog> s_catalog;
};

std::unique_ptr<QTemporaryDir> MdxText::s_dir;
std::unique_ptr<platform::olap::Connection> MdxText::s_connection;
std::unique_ptr<platform::olap::Catalog> MdxText::s_catalog;

const QString timeQuarters = "Descendants([Time].[1997], [Time].[Quarter], SELF_AND_BEFORE)";
const QString productFamilies =
    "Descendants([Product].[All Products], [Product].[Family], SELF_AND_BEFORE)";
const QString storeCountries =
    "Descendants([Store].[All Stores], [Store].[Country], SELF_AND_BEFORE)";

} // namespace

TEST_F(MdxText, StatementsOfLayouts)
{
    Rec productTop = withType(product(Rows, 0), 2);
    productTop.opcionTipo = 1;
    productTop.opcionValor = 5;
    productTop.opcionCampo = "[Measures].[Cost]";
    productTop.ordenTipo = 4;
    productTop.ordenCampos = {"[Measures].[Cost]"};
    productTop.vacio = false;

    Rec storeBottom = withType(store(Rows, 0), 1);
    storeBottom.llave = {"[Store].[USA]", "[Store].[Canada]"};
    storeBottom.opcionTipo = 2;
    storeBottom.opcionTipoReg = 1;
    storeBottom.opcionValor = 1000;
    storeBottom.opcionCampo = "[Measures].[Sales]";
    storeBottom.ordenTipo = 1;

    Rec storePercent = withType(store(Rows, 0), 4, 0);
    storePercent.opcionTipo = 3;
    storePercent.opcionValor = 80;
    storePercent.opcionCampo = "[Measures].[Sales]";
    storePercent.ordenTipo = 2;
    storePercent.ordenCampos = {"[Measures].[Sales]", "[Time].[1997]"};

    Rec storeBasc = withType(store(Columns, 0), 4);
    storeBasc.ordenTipo = 3;
    storeBasc.ordenCampos = {"[Measures].[Cost]"};

    Rec timeMonths = withType(time(Columns, 0, "[Time].[Month]"), 6);
    Rec measuresAll = withType(measures(Columns, 0), 6);

    Rec timeNonEmpty = withType(time(Rows, 0), 0);
    timeNonEmpty.vacio = false;
    Rec productNested = withType(product(Rows, 1), 4);
    productNested.vacio = false; // only the axis's first record decides
    Rec storeNested = withType(store(Rows, 2, "[Store].[USA]"), 5);

    const struct
    {
        const char *name;
        std::vector<Rec> records;
        QString expected;
    } cases[] = {
        {"Time on columns, Product on rows, Store and the measure on the slicer",
         {measures(), withType(time(Columns), 0), withType(product(Rows), 0), store(Slicer, 1)},
         "SELECT \r\n" + timeQuarters + " ON AXIS(0), \r\n" + productFamilies
             + " ON AXIS(1)\r\n FROM [Sales]\r\n WHERE ([Measures].[Sales], [Store].[All "
               "Stores])\r\n\r\n"},
        {"a drilled dimension nested with another",
         {measures(), withType(time(Columns), 0), withType(product(Rows, 0, "[Product].[Food]"), 0),
          withType(store(Rows, 1), 0)},
         "SELECT \r\n" + timeQuarters
             + " ON AXIS(0), \r\n CROSSJOIN (Descendants([Product].[Food], [Product].[Category], "
               "SELF_AND_BEFORE), "
             + storeCountries + ") ON AXIS(1)\r\n FROM [Sales]\r\n WHERE ([Measures].[Sales])"
             + "\r\n\r\n"},
        {"levels, a ranked and ordered nest without empty cells, children",
         {measures(), timeMonths, productTop, withType(store(Rows, 1, "[Store].[USA]"), 5)},
         "SELECT \r\nDescendants([Time].[1997], [Time].[Month]) ON AXIS(0), \r\nNON EMPTY  "
         "CROSSJOIN (Order(TopCount(Descendants([Product].[All Products], [Product].[Category]), "
         "5, [Measures].[Cost]), ([Measures].[Cost]), BDESC), Descendants([Store].[USA], "
         "[Store].[City], SELF)) ON AXIS(1)\r\n FROM [Sales]\r\n WHERE ([Measures].[Sales])"
         "\r\n\r\n"},
        {"the measures, a field list ranked; an order without order fields keeps the set's",
         {measuresAll, time(Slicer, 0, "[Time].[1998]"), product(Slicer, 1), storeBottom},
         "SELECT \r\n[Measures].[MeasuresLevel].MEMBERS ON AXIS(0), \r\nBottomSum("
         "{[Store].[USA], [Store].[Canada]}, 1000, [Measures].[Sales]) ON AXIS(1)\r\n "
         "FROM [Sales]\r\n WHERE ([Time].[1998], [Product].[All Products])\r\n\r\n"},
        {"rows without columns become axis 0",
         {measures(), time(), withType(product(Rows), 0), store(Slicer, 1)},
         "SELECT \r\n" + productFamilies
             + " ON AXIS(0)\r\n FROM [Sales]\r\n WHERE ([Measures].[Sales], [Time].[1997], "
               "[Store].[All Stores])\r\n\r\n"},
        {"columns without rows: no line break before FROM",
         {measures(), withType(time(Columns), 0), product(), store(Slicer, 1)},
         "SELECT \r\n" + timeQuarters
             + " ON AXIS(0) FROM [Sales]\r\n WHERE ([Measures].[Sales], [Product].[All "
               "Products], [Store].[All Stores])\r\n\r\n"},
        {"no slicer: the statement ends in two line breaks",
         {withType(measures(Columns, 0), 4), withType(time(Rows), 0)},
         "SELECT \r\n{[Measures].[Sales]} ON AXIS(0), \r\n" + timeQuarters
             + " ON AXIS(1)\r\n FROM [Sales]\r\n\r\n"},
        {"no axes",
         {measures(), time(Slicer, 1)},
         "SELECT \r\n FROM [Sales]\r\n WHERE ([Measures].[Sales], [Time].[1997])\r\n\r\n"},
        {"the slicer in record order, not in its positions' order",
         {measures(Slicer, 2), time(Slicer, 0), withType(product(Columns), 4), store(Slicer, 1)},
         "SELECT \r\n{[Product].[All Products]} ON AXIS(0) FROM [Sales]\r\n WHERE ([Measures]."
         "[Sales], [Time].[1997], [Store].[All Stores])\r\n\r\n"},
        {"three nested dimensions; NON EMPTY from the first record only",
         {measures(), timeNonEmpty, productNested, storeNested},
         "SELECT \r\nNON EMPTY  CROSSJOIN (Descendants([Time].[1997], [Time].[Quarter], "
         "SELF_AND_BEFORE), CROSSJOIN ({[Product].[All Products]}, Descendants([Store].[USA], "
         "[Store].[City], SELF))) ON AXIS(0)\r\n FROM [Sales]\r\n WHERE ([Measures].[Sales])"
         "\r\n\r\n"},
        {"element type 7 on an axis gives an empty set",
         {measures(), time(Columns), withType(product(Rows), 0), store(Slicer, 1)},
         "SELECT \r\n ON AXIS(0), \r\n" + productFamilies
             + " ON AXIS(1)\r\n FROM [Sales]\r\n WHERE ([Measures].[Sales], [Store].[All "
               "Stores])\r\n\r\n"},
        {"more levels asked than there are: the deepest",
         {measures(), withType(time(Columns), 0, 7), withType(product(Rows), 3)},
         "SELECT \r\nDescendants([Time].[1997], [Time].[Month], SELF_AND_BEFORE) ON AXIS(0), "
         "\r\nDescendants([Product].[All Products], [Product].[Category], SELF_AND_BEFORE) ON "
         "AXIS(1)\r\n FROM [Sales]\r\n WHERE ([Measures].[Sales])\r\n\r\n"},
        {"two levels below a member of the second level",
         {measures(), withType(time(Columns, 0, "[Time].[1997].[Q1]"), 0, 2)},
         "SELECT \r\nDescendants([Time].[1997].[Q1], [Time].[Month], SELF_AND_BEFORE) ON "
         "AXIS(0) FROM [Sales]\r\n WHERE ([Measures].[Sales])\r\n\r\n"},
        {"a record naming no dimension of the cube: the name stands for the level",
         {measures(),
          withType(Rec{.nombre = "Shop", .lugar = Columns, .llave = {"[Store].[USA]"}}, 5)},
         "SELECT \r\nDescendants([Store].[USA], Shop, SELF) ON AXIS(0) FROM [Sales]\r\n WHERE "
         "([Measures].[Sales])\r\n\r\n"},
        {"a start member in another letter case is held by no level: the top level counts",
         {measures(), withType(product(Columns, 0, "[product].[food]"), 5)},
         "SELECT \r\nDescendants([product].[food], [Product].[Family], SELF) ON AXIS(0) FROM "
         "[Sales]\r\n WHERE ([Measures].[Sales])\r\n\r\n"},
        {"a start member of no level: the top level counts",
         {measures(), withType(product(Columns, 0, "[Product].[Meat]"), 0)},
         "SELECT \r\nDescendants([Product].[Meat], [Product].[Family], SELF_AND_BEFORE) ON "
         "AXIS(0) FROM [Sales]\r\n WHERE ([Measures].[Sales])\r\n\r\n"},
        {"the nodes of a level of a dimension with an All member",
         {measures(), time(), product(), withType(store(Columns, 0, "[Store].[City]"), 6)},
         "SELECT \r\nDescendants([Store].[All Stores], [Store].[City]) ON AXIS(0) FROM "
         "[Sales]\r\n WHERE ([Measures].[Sales], [Time].[1997], [Product].[All Products])"
         "\r\n\r\n"},
        {"top percent, ordered descending by two fields",
         {measures(), storePercent},
         "SELECT \r\nOrder(TopPercent({[Store].[All Stores]}, 80, [Measures].[Sales]), "
         "([Measures].[Sales], [Time].[1997]), DESC) ON AXIS(0)\r\n FROM [Sales]\r\n WHERE "
         "([Measures].[Sales])\r\n\r\n"},
        {"ordered across the hierarchy without ranking",
         {measures(), storeBasc},
         "SELECT \r\nOrder({[Store].[All Stores]}, ([Measures].[Cost]), BASC) ON AXIS(0) FROM "
         "[Sales]\r\n WHERE ([Measures].[Sales])\r\n\r\n"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(statement(layoutOf(c.records)).toStdString(), c.expected.toStdString());
    }
}

TEST_F(MdxText, TheCubeNameIsBracketedWithItsClosingBracketsDoubled)
{
    const LayoutState layout = layoutOf({measures()});
    EXPECT_EQ(statement(layout, "Sales [2024]"),
              "SELECT \r\n FROM [Sales [2024]]]\r\n WHERE ([Measures].[Sales])\r\n\r\n");
}

TEST_F(MdxText, LevelNamesFollowTheStartMember)
{
    const struct
    {
        Rec record;
        int n;
        QString expected;
    } cases[] = {
        {time(Slicer, 0, "[Time].[1997]"), 0, "[Time].[Year]"},
        {time(Slicer, 0, "[Time].[1997]"), 1, "[Time].[Quarter]"},
        {time(Slicer, 0, "[Time].[1997].[Q2].[April]"), 1, "[Time].[Month]"},
        {time(Slicer, 0, "[Time].[1997]"), 9999, "[Time].[Month]"},
        {product(Slicer, 0, "[Product].[Food].[Bread]"), 0, "[Product].[Category]"},
        {store(Slicer, 0, "[Store].[USA].[Boston]"), 1, "[Store].[City]"},
        {store(Slicer, 0, "[Store].[USA].[boston]"), 1, "[Store].[Country]"},
        {Rec{.nombre = "store", .llave = {"[Store].[USA]"}}, 1, "store"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.record.llave.value(0).toStdString());
        EXPECT_EQ(bringLevelName(layoutOf({c.record}), cube(), 0, c.n), c.expected);
    }
}

// The control's procedures of the same names trap the errors of one piece and go on.
TEST(MdxTextTraps, APieceThatFailsIsReportedAndLeftEmpty)
{
    ScriptedMsgBox boxes;
    PelmoraC02 control;
    control.layoutState = layoutOf(
        {measures(), withType(time(Columns), 0), withType(product(Columns, 1), 4), store()});
    // No cube is open: the level name of Time cannot be read; Product's set needs none.
    EXPECT_EQ(control.drillDown(Columns), " CROSSJOIN (, {[Product].[All Products]})");
    EXPECT_EQ(boxes.texts(),
              QStringList({"drillDownDimension: The catalog has no active connection"}));

    boxes.clear();
    control.layoutState.orderDim[3].padreLlave.clear(); // a slicer record without members
    EXPECT_EQ(control.genWhere(), "");
    EXPECT_EQ(boxes.texts(), QStringList({"genWhere: Subscript out of range"}));

    boxes.clear();
    control.layoutState.NumDims = orderDimCapacity + 1; // more dimensions than records
    EXPECT_EQ(control.drillDown(Columns), "");
    EXPECT_EQ(boxes.texts(), QStringList({"drillDown: Subscript out of range"}));
    EXPECT_EQ(boxes.shown()[0].buttons, platform::forms::OkOnly);
}
