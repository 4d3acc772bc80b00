#pragma once

#include <QString>
#include <QStringList>

#include <array>

// The per-dimension layout records of a control and the procedures that create, fill, clear
// and find them. Every procedure that takes a record index throws platform::Error("Subscript
// out of range") for an index outside 0 to orderDimCapacity - 1.
namespace pelmora {

// Where a dimension stands.
enum Lugar : int {
    Slicer = 0,  // the header (the WHERE clause)
    Columns = 1, // AXIS(0)
    Rows = 2,    // AXIS(1)
};

// One dimension of the open cube.
struct OrderDim
{
    int lugar = Slicer;
    int orden = 0;           // position on its place, from 0
    QStringList padreTexto;  // captions of the chosen members, parallel to padreLlave
    QStringList padreLlave;  // unique names of the chosen members; the first is the start
    QString nombre;          // dimension name
    bool vacio = false;      // show empty cells
    int jerarquia = 0;       // element type 0 to 7
    int jerarquiaSalto = 0;  // number of levels for element type 0
    int tipo = 0;            // the cube's dimension type (2 = measures)
    int opcionTipo = 0;      // ranking: 0 all, 1 count, 2 sum, 3 percent
    QString opcionCampo;     // ranking field: unique name of the member whose values rank
    int opcionValor = 0;     // ranking value
    int opcionTipoReg = 0;   // 0 greatest (Top), 1 least (Bottom)
    int ordenTipo = 0;       // order: 0 hierarchy, 1 ASC, 2 DESC, 3 BASC, 4 BDESC
    QStringList ordenCampos; // order fields
    int profundidad = 0;     // depth; stored in view files only
};

// Records 0 to 128.
inline constexpr int orderDimCapacity = 129;

struct LayoutState
{
    int NumDims = 0; // dimensions of the open cube = records in use
    std::array<OrderDim, orderDimCapacity> orderDim;
};

OrderDim &orderDimAt(LayoutState &layout, int i);
const OrderDim &orderDimAt(const LayoutState &layout, int i);

// Initialises record i for a freshly opened cube: one start member, all elements shown, no
// ranking or order. Record 0 goes to the columns, record 1 to the rows, the others to the
// slicer in index order. The ranking details and order fields keep what they held.
void newOrderDim(LayoutState &layout, int i, const QString &uniqueName, const QString &caption,
                 const QString &dimName, int dimType);

// Stores the thirteen scalar fields of record i; its lists are left alone.
void setOrderDim(LayoutState &layout, int i, int jerarquia, int jerarquiaSalto, int lugar,
                 const QString &nombre, const QString &opcionCampo, int opcionTipo,
                 int opcionTipoReg, int opcionValor, int orden, int ordenTipo, int profundidad,
                 int tipo, bool vacio);

void clearOrdenCampos(LayoutState &layout, int i);
void clearPadreLlave(LayoutState &layout, int i);
void clearPadreTexto(LayoutState &layout, int i);

// The searches look at records 0 to NumDims - 1 in index order and answer the first match,
// or 0 when there is none (so a miss and record 0 give the same answer).
int findOrderDim(const LayoutState &layout, int axis, int position);
int countOrderDims(const LayoutState &layout, int axis);
int findOrderDimByName(const LayoutState &layout, const QString &name); // case-sensitive

} // namespace pelmora
