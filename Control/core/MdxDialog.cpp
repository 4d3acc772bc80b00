#include "Control/core/MdxDialog.h"

#include "Control/core/FormParts.h"
#include "Control/core/MdxHighlight.h"
#include "platform/forms/Modal.h"
#include "platform/widgets/MdxEdit.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

frmMDX::frmMDX(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmMDX"));
    setWindowTitle(QStringLiteral("MDX Directo"));
    txtMDX = new platform::widgets::MdxEdit(this);
    txtMDX->setObjectName(QStringLiteral("txtMDX"));
    txtMDX->setHighlightRules(pelmora::mdxHighlightSpans);
    txtMDX->setMinimumSize(720, 280);
    cmdAceptar = pelmora::formButton(this, "cmdAceptar", QStringLiteral("&Aceptar"));
    cmdEjecutar = pelmora::formButton(this, "cmdEjecutar", QStringLiteral("&Ejecutar"));

    // The edit box fills the form as it is resized; the buttons stay below it.
    QHBoxLayout *buttons = pelmora::buttonRow({cmdEjecutar, cmdAceptar});
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(txtMDX, 1);
    layout->addLayout(buttons);

    connect(cmdAceptar, &QPushButton::clicked, this, &frmMDX::cmdAceptar_Click);
    connect(cmdEjecutar, &QPushButton::clicked, this, &frmMDX::cmdEjecutar_Click);
}

int frmMDX::showModalForm()
{
    Form_Load();
    return platform::forms::showModal(*this);
}

void frmMDX::Form_Load()
{
    if (vLanguageId == 0) {
        setWindowTitle(QStringLiteral("Direct MDX"));
        cmdAceptar->setText(QStringLiteral("&OK"));
        cmdEjecutar->setText(QStringLiteral("&Execute"));
    }
    pelmora::centreOnScreen(*this);
}

void frmMDX::cmdAceptar_Click()
{
    vEjecutar = false;
    accept();
}

void frmMDX::cmdEjecutar_Click()
{
    // A hidden button offers nothing: the statement of an interactive control never runs here.
    if (cmdEjecutar->isHidden())
        return;
    vEjecutar = true;
    accept();
}
