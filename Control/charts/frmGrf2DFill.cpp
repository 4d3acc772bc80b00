// Filling the chart format editor's controls from its preview chart. Filling writes only the
// controls: each one is set with its handler held back, so nothing is written back into the
// chart and the chart stays exactly as it was loaded (automatic axis bounds stay automatic,
// fractions stay whole, the label category stays the chart's own).
#include "Control/charts/EditorControls.h"
#include "Control/charts/frmGrf2D.h"
#include "platform/chart/Chart2D.h"
#include "platform/runtime/Numbers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>

#include <algorithm>

using platform::chart::AutomaticColor;
using platform::chart::Axis;
namespace charteditor = pelmora::charteditor;
using charteditor::blackIfAutomatic;
using charteditor::quietPosition;
using charteditor::quietText;

namespace {

void check(QCheckBox *box, bool on)
{
    const QSignalBlocker held(box);
    box->setChecked(on);
}

QString whole(qint32 value)
{
    return QString::number(value);
}

QString real(double value)
{
    return platform::runtime::numberText(value);
}

// The list position of a chart value in a table of the list's values; -2 (not set) for a value
// the table does not have.
template <typename Table, typename Value>
int positionIn(const Table &table, Value value)
{
    const auto found = std::find(table.begin(), table.end(), value);
    return found == table.end() ? -2 : int(found - table.begin());
}

qint32 background(qint32 colour)
{
    return colour == AutomaticColor ? 0xFFFFFF : colour;
}

} // namespace

void frmGrf2D::loadFromChart()
{
    const platform::chart::Chart2D &chart = *grf2d;
    const auto &group = chart.chartGroups().item(1);
    const auto &area = chart.chartArea();
    const Axis &x = area.axes().x();
    const Axis &y = area.axes().y();

    // Check boxes.
    check(chkEjeY(0), y.isLogarithmic());
    check(chkEjeY(1), y.is100Percente());
    check(chkEjeY(2), y.isReversed());
    check(chkEjeY(3), x.isReversed());
    check(chkGraficaIsStacked, group.isStacked());
    check(chkHorizontal(0), area.isHorizontal());
    for (int i = 1; i <= 3; ++i)
        check(chkIsShowing(i), elementTextBox(i)->isShowing());
    check(chkIsShowing(4), x.isShowing());
    check(chkIsShowing(5), y.isShowing());
    check(chkMarco(0), area.areaBox().isBoxed());

    // Lists.
    quietPosition(cmb3D(0), area.effect3D().shading() - 1);
    quietPosition(cmbAlineacion(1), chart.header().alignment() - 1);
    quietPosition(cmbAlineacion(2), chart.footer().alignment() - 1);
    quietPosition(cmbAlineacion(3), chart.legend().orientation() - 1);
    for (int i = 0; i <= 3; ++i)
        quietPosition(cmbArchivo(i), elementInterior(i)->image().fileImageLayout() - 1);
    for (int i = 0; i <= 4; ++i)
        quietPosition(cmbBorde(i), elementBorder(i)->borderType());
    quietPosition(cmbPosicion(0), positionIn(charteditor::legendAnchors, chart.legend().anchor()));
    quietText(txtFormato(0), y.labelFormat());
    quietPosition(cmbFormato(0), positionIn(charteditor::labelCategories, y.labelCategory()));
    quietPosition(cmbGraficaTipo(0), group.chartType() - 1);
    quietPosition(cmbLinea(0), x.lineStyle() - 1);
    quietPosition(cmbLinea(1), x.gridStyle() - 1);
    quietPosition(cmbLinea(2), y.lineStyle() - 1);
    quietPosition(cmbLinea(3), y.gridStyle() - 1);
    {
        // The entry that shows the title's angle; the first ("None") for no angle or one the
        // list does not have.
        const qint32 rotation = y.titleRotation();
        const auto &angles = charteditor::titleAngles;
        const auto shown = std::find_if(angles.begin(), angles.end(),
                                        [&](const auto &a) { return a.rotation == rotation; });
        const QString angle = shown != angles.end() ? QString::fromUtf16(shown->shown) : QString();
        const int entry = angle.isEmpty() ? -1 : cmbRotacion(0)->findText(angle);
        quietPosition(cmbRotacion(0), entry >= 0 ? entry : 0);
    }

    // Labels: file names, colour swatches, font samples.
    for (int i = 0; i <= 3; ++i)
        lblArchivo(i)->setText(elementInterior(i)->image().fileName());
    for (int i = 0; i <= 3; ++i)
        setSwatchColor(lblColorFondo(i), background(elementInterior(i)->background()));
    for (int i = 0; i <= 3; ++i)
        setSwatchColor(lblColorFrente(i), blackIfAutomatic(elementInterior(i)->foreground()));
    setSwatchColor(lblColorFrente(4), x.lineColor());
    setSwatchColor(lblColorFrente(5), x.gridColor());
    setSwatchColor(lblColorFrente(6), y.lineColor());
    setSwatchColor(lblColorFrente(7), y.gridColor());
    for (int i = 1; i <= 7; ++i)
        charteditor::showFontSample(lblFuente(i), *elementFont(i));

    // Text boxes.
    quietText(txt3D(0), whole(area.effect3D().depth()));
    quietText(txt3D(1), whole(area.effect3D().elevation()));
    quietText(txt3D(2), whole(area.effect3D().rotation()));
    for (int i = 0; i <= 4; ++i)
        quietText(txtBorde(i), whole(elementBorder(i)->borderWidth()));
    quietText(txtCuadricula(0), real(x.spacing()));
    quietText(txtCuadricula(1), real(y.spacing()));
    quietText(txtLinea(0), whole(x.lineWidth()));
    quietText(txtLinea(1), whole(x.gridWidth()));
    quietText(txtLinea(2), whole(y.lineWidth()));
    quietText(txtLinea(3), whole(y.gridWidth()));
    quietText(txtRotacion(0), real(x.rotation()));
    quietText(txtRotacion(1), real(y.rotation()));
    for (int i = 1; i <= 3; ++i)
        quietText(txtTexto(i), elementTextBox(i)->text());
    quietText(txtTexto(4), x.titleText());
    quietText(txtTexto(5), y.titleText());
    quietText(txtValor(0), real(y.min()));
    quietText(txtValor(1), real(y.max()));
    showAutomaticBounds();

    // The series list, emptied first so that a chart opened after another one lists only its
    // own series, each at the row of its number. A series without a label gets an empty row.
    {
        QListWidget *list = lstSeries(0);
        const QSignalBlocker held(list);
        list->clear();
        const auto &labels = group.seriesLabels();
        for (int s = 1; s <= group.data().numSeries(); ++s)
            list->addItem(s <= labels.count() ? labels.item(s) : QString());
    }
}

void frmGrf2D::showAutomaticBounds()
{
    const Axis &y = grf2d->chartArea().axes().y();
    if (!y.isMinAuto() && !y.isMaxAuto())
        return;
    const auto drawn = charteditor::drawnValueBounds(*grf2d);
    if (!drawn)
        return;
    // A field being typed in keeps its text.
    const auto show = [](QLineEdit *field, bool automatic, double value) {
        if (automatic && !field->isModified())
            quietText(field, real(value));
    };
    show(txtValor(0), y.isMinAuto(), drawn->first);
    show(txtValor(1), y.isMaxAuto(), drawn->second);
}
