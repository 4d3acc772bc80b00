// The way into the dimension options: the dialog runs over copies of every layout record and,
// after OK, all of them are copied back.
#include "Control/core/ErrorTrap.h"
#include "Control/core/PelmoraC02.h"
#include "Control/dimension-options/frmPareto.h"
#include "platform/forms/Modal.h"
#include "platform/runtime/Error.h"
#include "platform/widgets/TabStrip.h"

#include <QComboBox>

void PelmoraC02::doAnalysis2(const QString &nomDim)
{
    const int i = findOrderDimByName(nomDim);
    if (doAnalysis(i))
        genSelect();
}

bool PelmoraC02::dimensionOptions()
{
    return pelmora::trapped(QStringLiteral("dimensionOptions:"),
                            [this] { return doAnalysis(0) && genSelect(); });
}

bool PelmoraC02::doAnalysis(int i)
{
    // A fresh dialog each time: nothing of it survives between calls.
    frmPareto form(this);
    return pelmora::trapped(
        QStringLiteral("doAnalysis: "),
        [&] {
            form.vLanguageId = language.LanguageID;
            form.Form_Load();
            form.TabOne1->setCurrentTab(0);
            form.vDim = i;
            form.m_ctActiveCatalog =
                connState.catalog ? *connState.catalog : platform::olap::Catalog();
            form.numCubo = connState.numCube;
            const int n = layoutState.NumDims;
            {
                const QSignalBlocker quiet(form.cmbDimension);
                form.cmbDimension->clear();
                for (int j = 0; j < n; ++j)
                    form.cmbDimension->addItem(pelmora::orderDimAt(layoutState, j).nombre);
                form.cmbDimension->setCurrentIndex(-1);
            }
            form.redimVPareto(n - 1);
            for (int j = 0; j < n; ++j) {
                const pelmora::OrderDim &r = pelmora::orderDimAt(layoutState, j);
                form.traePareto(j, r.lugar, r.opcionTipo, r.opcionValor, r.opcionCampo,
                                r.opcionTipoReg, r.ordenTipo, r.ordenCampos, r.vacio, r.padreTexto,
                                r.padreLlave, r.jerarquia, r.jerarquiaSalto, r.profundidad,
                                r.nombre);
            }
            const int d = form.vDim;
            if (d < 0 || d >= form.cmbDimension->count())
                throw platform::Error(QStringLiteral("Invalid property value"));
            form.vDim = -1;
            // Runs cmbDimension_Click, which binds record d to the controls.
            form.cmbDimension->setCurrentIndex(d);
            form.vDim = d;

            platform::forms::showModal(form);
            if (form.vOK) {
                for (int j = 0; j < n; ++j)
                    bringAnalysis(j, form);
            }
            return true;
        },
        false);
}

void PelmoraC02::bringAnalysis(int i, const frmPareto &form)
{
    pelmora::trapped(QStringLiteral("bringAnalysis: "), [&] {
        pelmora::OrderDim &r = pelmora::orderDimAt(layoutState, i);
        r.opcionTipo = form.opcionTipo(i);
        if (r.opcionTipo != 0) {
            r.opcionValor = form.opcionValor(i);
            r.opcionCampo = form.opcionCampo(i);
            r.opcionTipoReg = form.opcionTipoReg(i);
        }
        r.ordenTipo = form.ordenTipo(i);
        if (r.ordenTipo != 0) {
            clearOrdenCampos(i);
            for (int k = 1; k <= form.ordenCamposCount(i); ++k)
                r.ordenCampos.append(form.ordenCampos(i, k));
        }
        r.vacio = form.vacio(i);
        clearPadreTexto(i);
        for (int k = 1; k <= form.padreTextoCount(i); ++k)
            r.padreTexto.append(form.padreTexto(i, k));
        clearPadreLlave(i);
        for (int k = 1; k <= form.padreLlaveCount(i); ++k)
            r.padreLlave.append(form.padreLlave(i, k));
        r.jerarquia = form.jerarquia(i);
        r.jerarquiaSalto = form.jerarquiaSalto(i);
        r.profundidad = form.profundidad(i);
    });
}
