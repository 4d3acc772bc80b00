#include "Control/core/TitleDialog.h"

#include "Control/core/FormParts.h"
#include "platform/forms/Modal.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

frmTitulo::frmTitulo(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmTitulo"));
    setWindowTitle(QStringLiteral("Cambia el título de la vista"));
    txtTitulo = new QLineEdit(this);
    txtTitulo->setObjectName(QStringLiteral("txtTitulo"));
    txtTitulo->setMinimumWidth(360);
    lblTitulo = new QLabel(QStringLiteral("Escriba el título nuevo de la vista:"), this);
    lblTitulo->setObjectName(QStringLiteral("lblTitulo"));
    lblTitulo->setBuddy(txtTitulo);
    cmdCerrar = pelmora::formButton(this, "cmdCerrar", QStringLiteral("&Cerrar"));
    cmdCerrar->setDefault(true);

    // The text box takes the form's whole width.
    QHBoxLayout *buttons = pelmora::buttonRow({cmdCerrar});
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(lblTitulo);
    layout->addWidget(txtTitulo);
    layout->addLayout(buttons);

    connect(cmdCerrar, &QPushButton::clicked, this, &frmTitulo::cmdCerrar_Click);
}

int frmTitulo::showModalForm()
{
    Form_Load();
    return platform::forms::showModal(*this);
}

void frmTitulo::Form_Load()
{
    if (vLanguageId == 0) {
        setWindowTitle(QStringLiteral("Choose a new title"));
        lblTitulo->setText(QStringLiteral("Write down the title view"));
        cmdCerrar->setText(QStringLiteral("&Close"));
    }
    txtTitulo->setText(vTitulo);
    pelmora::centreOnScreen(*this);
}

void frmTitulo::cmdCerrar_Click()
{
    vTitulo = txtTitulo->text();
    accept();
}
