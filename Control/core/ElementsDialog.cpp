#include "Control/core/ElementsDialog.h"

#include "Control/core/FormParts.h"
#include "platform/forms/Modal.h"
#include "platform/forms/MsgBox.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

QCheckBox *checkBox(QWidget *parent, const char *name, const QString &text)
{
    auto *box = new QCheckBox(text, parent);
    box->setObjectName(QLatin1String(name));
    return box;
}

int checked(const QCheckBox *box)
{
    return box->isChecked() ? 1 : 0;
}

} // namespace

frmElementos::frmElementos(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmElementos"));
    setWindowTitle(QStringLiteral("Elementos de forma"));
    chkTitulo = checkBox(this, "chkTitulo", QStringLiteral("&Titulo"));
    chkEncabezados = checkBox(this, "chkEncabezados", QStringLiteral("&Encabezados"));
    chkDatos = checkBox(this, "chkDatos", QStringLiteral("&Datos"));
    chkGrafica = checkBox(this, "chkGrafica", QStringLiteral("&Gráfica"));
    cmdAceptar = pelmora::formButton(this, "cmdAceptar", QStringLiteral("&Aceptar"));
    cmdAceptar->setDefault(true);
    cmdCancelar = pelmora::formButton(this, "cmdCancelar", QStringLiteral("&Cancelar"));

    QHBoxLayout *buttons = pelmora::buttonRow({cmdAceptar, cmdCancelar});
    auto *layout = new QVBoxLayout(this);
    for (QCheckBox *box : {chkTitulo, chkEncabezados, chkDatos, chkGrafica})
        layout->addWidget(box);
    layout->addLayout(buttons);

    connect(cmdAceptar, &QPushButton::clicked, this, &frmElementos::cmdAceptar_Click);
    connect(cmdCancelar, &QPushButton::clicked, this, &frmElementos::cmdCancelar_Click);
}

int frmElementos::showModalForm()
{
    Form_Load();
    return platform::forms::showModal(*this);
}

void frmElementos::Form_Load()
{
    if (vLanguageId == 0) {
        setWindowTitle(QStringLiteral("Form elements"));
        chkDatos->setText(QStringLiteral("&Matrix"));
        chkEncabezados->setText(QStringLiteral("&Heading"));
        chkGrafica->setText(QStringLiteral("Ch&art"));
        chkTitulo->setText(QStringLiteral("&Title"));
        cmdAceptar->setText(QStringLiteral("&OK"));
        cmdCancelar->setText(QStringLiteral("&Cancel"));
    }
    chkTitulo->setChecked(vTitulo == 1);
    chkEncabezados->setChecked(vEncabezados == 1);
    chkDatos->setChecked(vDatos == 1);
    chkGrafica->setChecked(vGrafica == 1);
    pelmora::centreOnScreen(*this);
}

void frmElementos::cmdAceptar_Click()
{
    if (!chkTitulo->isChecked() && !chkEncabezados->isChecked() && !chkDatos->isChecked()
        && !chkGrafica->isChecked()) {
        if (vLanguageId == 0)
            platform::forms::msgBox(QStringLiteral("At least one element must be chosen."));
        else if (vLanguageId == 1)
            platform::forms::msgBox(QStringLiteral("Debe escoger al menos un elemento."));
        return;
    }
    vTitulo = checked(chkTitulo);
    vEncabezados = checked(chkEncabezados);
    vDatos = checked(chkDatos);
    vGrafica = checked(chkGrafica);
    vOK = true;
    accept();
}

void frmElementos::cmdCancelar_Click()
{
    vOK = false;
    reject();
}
