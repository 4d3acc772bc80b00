// The chart format editor's series list and text fields: each field sets one chart property as
// its text changes; choosing a series shows that series' look in the Series tab.
#include "Control/charts/EditorControls.h"
#include "Control/charts/frmGrf2D.h"
#include "Control/core/ErrorTrap.h"
#include "platform/chart/Chart2D.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/Numbers.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalBlocker>

#include <optional>

using platform::chart::Axis;
namespace charteditor = pelmora::charteditor;
using charteditor::blackIfAutomatic;
using charteditor::quietPosition;
using charteditor::quietText;

namespace {

// The whole-number conversion: rounded, a half to the even neighbour; "Overflow" beyond 32 bits.
qint32 whole(double value)
{
    return platform::runtime::toLong(value);
}

} // namespace

void frmGrf2D::connectFieldHandlers()
{
    struct Family
    {
        ControlArray<QLineEdit> *fields;
        void (frmGrf2D::*change)(int);
        bool numeric;
    };
    const Family families[] = {
        {&txt3D, &frmGrf2D::txt3D_Change, true},
        {&txtBorde, &frmGrf2D::txtBorde_Change, true},
        {&txtCuadricula, &frmGrf2D::txtCuadricula_Change, true},
        {&txtFormato, &frmGrf2D::txtFormato_Change, false},
        {&txtLinea, &frmGrf2D::txtLinea_Change, true},
        {&txtRotacion, &frmGrf2D::txtRotacion_Change, true},
        {&txtTexto, &frmGrf2D::txtTexto_Change, false},
        {&txtValor, &frmGrf2D::txtValor_Change, true},
    };
    for (const Family &family : families) {
        for (const int i : family.fields->indexes()) {
            QLineEdit *field = (*family.fields)(i);
            const auto change = family.change;
            connect(field, &QLineEdit::textChanged, this,
                    [this, change, i] { (this->*change)(i); });
            if (family.numeric)
                connect(field, &QLineEdit::editingFinished, this,
                        [this, field, change, i] { leaveField(field, change, i); });
        }
    }
    connect(lstSeries(0), &QListWidget::currentRowChanged, this, [this] { lstSeries_Click(0); });
}

void frmGrf2D::applyNumber(const char *handler, QLineEdit *field,
                           const std::function<void(double)> &apply)
{
    try {
        if (const std::optional<double> number = charteditor::fieldNumber(field->text())) {
            apply(*number);
            charteditor::holdText(field);
        }
    } catch (...) {
        // While typing, a refused number may still become an accepted one ("300" on the way
        // to "30.5" is refused, the whole is not): it is said once the field is left.
        if (m_leaving) {
            m_refused = true;
            pelmora::reportError(QLatin1String(handler) + QStringLiteral(": "));
        }
    }
}

void frmGrf2D::leaveField(QLineEdit *field, void (frmGrf2D::*change)(int), int index)
{
    // Only typed text is checked (a field left as it was filled applies nothing, so an automatic
    // axis bound stays automatic); the message box of a refusal takes the focus, which leaves
    // the field once more.
    if (m_leaving || !field->isModified())
        return;
    m_leaving = true;
    m_refused = false;
    (this->*change)(index);
    if (m_refused) {
        field->setText(charteditor::heldText(field)); // the value the chart holds, applied again
    } else {
        normaliseField(field);
        charteditor::holdText(field);
    }
    field->setModified(false);
    m_leaving = false;
}

void frmGrf2D::normaliseField(QLineEdit *field)
{
    std::optional<double> number;
    try {
        number = charteditor::fieldNumber(field->text());
    } catch (const platform::Error &) {
        return; // a number beyond the range stays as typed: its handler has reported it
    }
    const QString normal = platform::runtime::numberText(number.value_or(0));
    if (normal == field->text())
        return;
    // The number the text began with is applied already; a text without one becomes 0, which
    // its handler applies now.
    std::optional<QSignalBlocker> applied;
    if (number)
        applied.emplace(field);
    field->setText(normal);
}

void frmGrf2D::txt3D_Change(int Index)
{
    auto &effect = grf2d->chartArea().effect3D();
    applyNumber("txt3D_Change", txt3D(Index), [&](double value) {
        switch (Index) {
        case 0:
            effect.setDepth(whole(value));
            break;
        case 1:
            effect.setElevation(whole(value));
            break;
        case 2:
            effect.setRotation(whole(value));
            break;
        default:
            break;
        }
    });
}

void frmGrf2D::txtBorde_Change(int Index)
{
    platform::chart::Border *border = elementBorder(Index);
    if (!border)
        return;
    applyNumber("txtBorde_Change", txtBorde(Index),
                [&](double value) { border->setBorderWidth(whole(value)); });
}

void frmGrf2D::txtCuadricula_Change(int Index)
{
    if (Index != 0 && Index != 1)
        return;
    Axis &axis = grf2d->chartArea().axes().item(Index + 1);
    applyNumber("txtCuadricula_Change", txtCuadricula(Index),
                [&](double value) { axis.setSpacing(value); });
    showAutomaticBounds(); // the spacing rounds the automatic bounds
}

void frmGrf2D::txtFormato_Change(int Index)
{
    if (Index != 0)
        return;
    Axis &y = grf2d->chartArea().axes().y();
    // Each step is tried on its own and a refused one is passed over without a message, as the
    // format box has always done: a format text is tried as it is being typed.
    pelmora::passOver([&] { y.setLabelCategory(platform::chart::LabelCategory::Custom); });
    pelmora::passOver([&] { y.setLabelFormat(txtFormato(Index)->text()); });
}

void frmGrf2D::txtLinea_Change(int Index)
{
    auto &group = grf2d->chartGroups().item(1);
    Axis &x = grf2d->chartArea().axes().x();
    Axis &y = grf2d->chartArea().axes().y();
    applyNumber("txtLinea_Change", txtLinea(Index), [&](double value) {
        switch (Index) {
        case 0:
            x.setLineWidth(whole(value));
            break;
        case 1:
            x.setGridWidth(whole(value));
            break;
        case 2:
            y.setLineWidth(whole(value));
            break;
        case 3:
            y.setGridWidth(whole(value));
            break;
        case 4:
        case 5: {
            const int s = selectedSeries();
            if (s < 1)
                break; // no series chosen
            auto &style = group.styles().item(s);
            if (Index == 4)
                style.line().setWidth(whole(value));
            else
                style.symbol().setSize(whole(value));
            break;
        }
        case 6:
        case 7:
            for (int s = 1; s <= group.data().numSeries(); ++s) {
                auto &style = group.styles().item(s);
                if (Index == 6)
                    style.line().setWidth(whole(value));
                else
                    style.symbol().setSize(whole(value));
            }
            break;
        default:
            break;
        }
    });
}

void frmGrf2D::txtRotacion_Change(int Index)
{
    if (Index != 0 && Index != 1)
        return;
    Axis &axis = grf2d->chartArea().axes().item(Index + 1);
    applyNumber("txtRotacion_Change", txtRotacion(Index),
                [&](double value) { axis.setRotation(value); });
}

void frmGrf2D::txtTexto_Change(int Index)
{
    const QString text = txtTexto(Index)->text();
    if (platform::chart::TextBox *box = elementTextBox(Index))
        box->setText(text);
    else if (Axis *axis = titledAxis(Index))
        axis->setTitleText(text);
}

void frmGrf2D::txtValor_Change(int Index)
{
    if (Index != 0 && Index != 1)
        return;
    Axis &y = grf2d->chartArea().axes().y();
    applyNumber("txtValor_Change", txtValor(Index), [&](double value) {
        if (Index == 0)
            y.setMin(value);
        else
            y.setMax(value);
    });
    showAutomaticBounds(); // a fixed bound moves the other, automatic one
}

void frmGrf2D::lstSeries_Click(int Index)
{
    const int s = lstSeries(Index)->currentRow() + 1;
    if (s < 1)
        return; // no row chosen (the list was emptied): nothing to show
    // Read as drawn, so that reading creates no style; the controls are set without their
    // handlers, so the values shown are not written back.
    const platform::chart::SeriesStyle style = grf2d->chartGroups().item(1).styles().at(s);
    auto text = [](QLineEdit *field, qint32 value) { quietText(field, QString::number(value)); };
    quietPosition(cmbPatron(0), style.fill().pattern() - 1);
    setSwatchColor(lblColorFondo(4), blackIfAutomatic(style.fill().interior().background()));
    setSwatchColor(lblColorFrente(8), blackIfAutomatic(style.fill().interior().foreground()));
    quietPosition(cmbPatron(1), style.line().pattern() - 1);
    text(txtLinea(4), style.line().width());
    setSwatchColor(lblColorFrente(9), blackIfAutomatic(style.line().color()));
    quietPosition(cmbPatron(2), style.symbol().shape() - 1);
    text(txtLinea(5), style.symbol().size());
    setSwatchColor(lblColorFrente(10), blackIfAutomatic(style.symbol().color()));
    lblArchivo(4)->setText(style.image().fileName());
}
