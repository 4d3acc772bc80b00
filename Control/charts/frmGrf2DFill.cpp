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

namespace {

void check(QCheckBox *box, bool on)
{
    const QSignalBlocker held(box);
    box->setChecked(on);
}

void position(QComboBox *list, int value)
{
    const QSignalBlocker held(list);
    charteditor::showPosition(list, value);
}

void text(QLineEdit *field, const QString &value)
{
    const QSignalBlocker held(field);
    field->setText(value);
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

qint32 foreground(qint32 colour)
{
    return colour == AutomaticColor ? 0 : colour;
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
    position(cmb3D(0), area.effect3D().shading() - 1);
    position(cmbAlineacion(1), chart.header().alignment() - 1);
    position(cmbAlineacion(2), chart.footer().alignment() - 1);
    position(cmbAlineacion(3), chart.legend().orientation() - 1);
    for (int i = 0; i <= 3; ++i)
        position(cmbArchivo(i), elementInterior(i)->image().fileImageLayout() - 1);
    for (int i = 0; i <= 4; ++i)
        position(cmbBorde(i), elementBorder(i)->borderType());
    position(cmbPosicion(0), positionIn(charteditor::legendAnchors, chart.legend().anchor()));
    text(txtFormato(0), y.labelFormat());
    position(cmbFormato(0), positionIn(charteditor::labelCategories, y.labelCategory()));
    position(cmbGraficaTipo(0), group.chartType() - 1);
    position(cmbLinea(0), x.lineStyle() - 1);
    position(cmbLinea(1), x.gridStyle() - 1);
    position(cmbLinea(2), y.lineStyle() - 1);
    position(cmbLinea(3), y.gridStyle() - 1);
    {
        // The entry that shows the title's angle; the first ("None") for no angle or one the
        // list does not have.
        const qint32 rotation = y.titleRotation();
        const auto &angles = charteditor::titleAngles;
        const auto shown = std::find_if(angles.begin(), angles.end(),
                                        [&](const auto &a) { return a.rotation == rotation; });
        const QString angle = shown != angles.end() ? QString::fromUtf16(shown->shown) : QString();
        const int entry = angle.isEmpty() ? -1 : cmbRotacion(0)->findText(angle);
        position(cmbRotacion(0), entry >= 0 ? entry : 0);
    }

    // Labels: file names, colour swatches, font samples.
    for (int i = 0; i <= 3; ++i)
        lblArchivo(i)->setText(elementInterior(i)->image().fileName());
    for (int i = 0; i <= 3; ++i)
        setSwatchColor(lblColorFondo(i), background(elementInterior(i)->background()));
    for (int i = 0; i <= 3; ++i)
        setSwatchColor(lblColorFrente(i), foreground(elementInterior(i)->foreground()));
    setSwatchColor(lblColorFrente(4), x.lineColor());
    setSwatchColor(lblColorFrente(5), x.gridColor());
    setSwatchColor(lblColorFrente(6), y.lineColor());
    setSwatchColor(lblColorFrente(7), y.gridColor());
    for (int i = 1; i <= 7; ++i)
        charteditor::showFontSample(lblFuente(i), *elementFont(i));

    // Text boxes.
    text(txt3D(0), whole(area.effect3D().depth()));
    text(txt3D(1), whole(area.effect3D().elevation()));
    text(txt3D(2), whole(area.effect3D().rotation()));
    for (int i = 0; i <= 4; ++i)
        text(txtBorde(i), whole(elementBorder(i)->borderWidth()));
    text(txtCuadricula(0), real(x.spacing()));
    text(txtCuadricula(1), real(y.spacing()));
    text(txtLinea(0), whole(x.lineWidth()));
    text(txtLinea(1), whole(x.gridWidth()));
    text(txtLinea(2), whole(y.lineWidth()));
    text(txtLinea(3), whole(y.gridWidth()));
    text(txtRotacion(0), real(x.rotation()));
    text(txtRotacion(1), real(y.rotation()));
    for (int i = 1; i <= 3; ++i)
        text(txtTexto(i), elementTextBox(i)->text());
    text(txtTexto(4), x.titleText());
    text(txtTexto(5), y.titleText());
    text(txtValor(0), real(y.min()));
    text(txtValor(1), real(y.max()));

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
