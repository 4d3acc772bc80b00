#include "Control/core/LayoutRecords.h"

#include "platform/runtime/Error.h"

namespace pelmora {

namespace {

void checkIndex(int i)
{
    if (i < 0 || i >= orderDimCapacity)
        throw platform::Error(QStringLiteral("Subscript out of range"));
}

} // namespace

OrderDim &orderDimAt(LayoutState &layout, int i)
{
    checkIndex(i);
    return layout.orderDim[size_t(i)];
}

const OrderDim &orderDimAt(const LayoutState &layout, int i)
{
    checkIndex(i);
    return layout.orderDim[size_t(i)];
}

void newOrderDim(LayoutState &layout, int i, const QString &uniqueName, const QString &caption,
                 const QString &dimName, int dimType)
{
    OrderDim &record = orderDimAt(layout, i);
    record.vacio = true;
    record.padreLlave = QStringList{uniqueName};
    record.padreTexto = QStringList{caption};
    record.nombre = dimName;
    record.tipo = dimType;
    record.opcionTipo = 0;
    record.ordenTipo = 0;
    record.jerarquiaSalto = 1;
    record.profundidad = 0;
    if (i == 0) {
        record.lugar = Columns;
        record.orden = 0;
        record.jerarquia = 0;
    } else if (i == 1) {
        record.lugar = Rows;
        record.orden = 0;
        record.jerarquia = 0;
    } else {
        record.lugar = Slicer;
        record.orden = i - 2;
        record.jerarquia = 7;
    }
}

void setOrderDim(LayoutState &layout, int i, int jerarquia, int jerarquiaSalto, int lugar,
                 const QString &nombre, const QString &opcionCampo, int opcionTipo,
                 int opcionTipoReg, int opcionValor, int orden, int ordenTipo, int profundidad,
                 int tipo, bool vacio)
{
    OrderDim &record = orderDimAt(layout, i);
    record.jerarquia = jerarquia;
    record.jerarquiaSalto = jerarquiaSalto;
    record.lugar = lugar;
    record.nombre = nombre;
    record.opcionCampo = opcionCampo;
    record.opcionTipo = opcionTipo;
    record.opcionTipoReg = opcionTipoReg;
    record.opcionValor = opcionValor;
    record.orden = orden;
    record.ordenTipo = ordenTipo;
    record.profundidad = profundidad;
    record.tipo = tipo;
    record.vacio = vacio;
}

void clearOrdenCampos(LayoutState &layout, int i)
{
    orderDimAt(layout, i).ordenCampos.clear();
}

void clearPadreLlave(LayoutState &layout, int i)
{
    orderDimAt(layout, i).padreLlave.clear();
}

void clearPadreTexto(LayoutState &layout, int i)
{
    orderDimAt(layout, i).padreTexto.clear();
}

// Records beyond the capacity raise the index error, as every loop over NumDims does.
int findOrderDim(const LayoutState &layout, int axis, int position)
{
    for (int i = 0; i < layout.NumDims; ++i) {
        const OrderDim &record = orderDimAt(layout, i);
        if (record.lugar == axis && record.orden == position)
            return i;
    }
    return 0;
}

int countOrderDims(const LayoutState &layout, int axis)
{
    int count = 0;
    for (int i = 0; i < layout.NumDims; ++i) {
        if (orderDimAt(layout, i).lugar == axis)
            ++count;
    }
    return count;
}

int findOrderDimByName(const LayoutState &layout, const QString &name)
{
    for (int i = 0; i < layout.NumDims; ++i) {
        if (orderDimAt(layout, i).nombre == name)
            return i;
    }
    return 0;
}

} // namespace pelmora
