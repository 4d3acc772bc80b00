#include "Control/presentation/PreviewDialogs.h"

#include "Control/core/FormParts.h"
#include "Control/core/PelmoraC02.h"
#include "platform/forms/Modal.h"
#include "platform/printer/Printer.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

struct BoxText
{
    const char *spanish;
    const char *english;
};

// The captions of chkSeccion by index, Spanish as designed, then English.
const BoxText boxTexts[8] = {
    {"Encabezado y pie de página", "Header and footer page"},
    {"Comentarios", "Comments"},
    {"Datos", "Data"},
    {"Gráfica", "Chart"},
    {"Encabezados", "Data headings"},
    {"Blanco y negro", "Black and white"},
    {"Gráfica en página nueva", "Chart in new page"},
    {"Título del cubo", "Cube Title"},
};

} // namespace

frmPreviewParams::frmPreviewParams(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmPreviewParams"));
    setWindowTitle(QStringLiteral("Parametros de vista previa"));
    Label1 = new QLabel(QStringLiteral("Elementos a mostrar"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    auto *boxes = new QGridLayout;
    for (int i = 0; i < 8; ++i) {
        chkSeccion[i] = new QCheckBox(QString::fromUtf8(boxTexts[i].spanish), this);
        chkSeccion[i]->setObjectName(QStringLiteral("chkSeccion%1").arg(i));
        boxes->addWidget(chkSeccion[i], i % 4, i / 4);
    }
    Label4 = new QLabel(QStringLiteral("Comentarios"), this);
    Label4->setObjectName(QStringLiteral("Label4"));
    txtComentario = new QLineEdit(this);
    txtComentario->setObjectName(QStringLiteral("txtComentario"));
    txtComentario->setMinimumWidth(320);
    chkSave = new QCheckBox(QStringLiteral("&Guardar como predeterminado"), this);
    chkSave->setObjectName(QStringLiteral("chkSave"));
    cmdAceptar = pelmora::formButton(this, "cmdAceptar", QStringLiteral("&Aceptar"));
    cmdAceptar->setDefault(true);
    cmdCancelar = pelmora::formButton(this, "cmdCancelar", QStringLiteral("&Cancelar"));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addLayout(boxes);
    layout->addWidget(Label4);
    layout->addWidget(txtComentario);
    layout->addWidget(chkSave);
    layout->addLayout(pelmora::buttonRow({cmdAceptar, cmdCancelar}));

    connect(cmdAceptar, &QPushButton::clicked, this, &frmPreviewParams::cmdAceptar_Click);
    connect(cmdCancelar, &QPushButton::clicked, this, &frmPreviewParams::cmdCancelar_Click);
}

int frmPreviewParams::showModalForm()
{
    Form_Load();
    return platform::forms::showModal(*this);
}

void frmPreviewParams::Form_Load()
{
    if (vLanguageId == 0) {
        setWindowTitle(QStringLiteral("Preview Parameters"));
        Label1->setText(QStringLiteral("Elements to show"));
        Label4->setText(QStringLiteral("Comments"));
        for (int i = 0; i < 8; ++i)
            chkSeccion[i]->setText(QLatin1String(boxTexts[i].english));
        chkSave->setText(QStringLiteral("&Save as default"));
        cmdAceptar->setText(QStringLiteral("&OK"));
        cmdCancelar->setText(QStringLiteral("&Cancel"));
    }
    pelmora::centreOnScreen(*this);
}

void frmPreviewParams::cmdAceptar_Click()
{
    vOK = true;
    accept();
}

void frmPreviewParams::cmdCancelar_Click()
{
    vOK = false;
    reject();
}

frmPreview::frmPreview(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmPreview"));
    setWindowTitle(QStringLiteral("Vista previa"));
    vp = new platform::printer::Printer(this);
    vp->setObjectName(QStringLiteral("vp"));
    vp->setPrintText(QStringLiteral("&Imprimir..."));
    Picture1 = new QLabel(this);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setFixedSize(80, 100);
    Picture1->setScaledContents(true);
    cmdCopiar = pelmora::formButton(this, "cmdCopiar", QStringLiteral("&Copiar"));
    cmdAceptar = pelmora::formButton(this, "cmdAceptar", QStringLiteral("&Aceptar"));
    cmdAceptar->setDefault(true);

    auto *row = pelmora::buttonRow({cmdCopiar, cmdAceptar});
    row->insertWidget(0, Picture1);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(vp, 1);
    layout->addLayout(row);
    resize(900, 720);

    connect(cmdCopiar, &QPushButton::clicked, this, &frmPreview::cmdCopiar_Click);
    connect(cmdAceptar, &QPushButton::clicked, this, &frmPreview::cmdAceptar_Click);
}

void frmPreview::Form_Load()
{
    if (vLanguageId == 0) {
        setWindowTitle(QStringLiteral("Print preview"));
        cmdCopiar->setText(QStringLiteral("&Copy"));
        cmdAceptar->setText(QStringLiteral("&OK"));
        vp->setPrintText(QStringLiteral("&Print..."));
    }
    // The window keeps its designed size (the pages need the room) and moves to the middle.
    const QSize size = this->size().expandedTo(minimumSizeHint());
    pelmora::centreOnScreen(*this);
    const QPoint middle = geometry().center();
    resize(size);
    move(middle - QPoint(size.width() / 2, size.height() / 2));
}

void frmPreview::cmdCopiar_Click()
{
    Picture1->clear();
    vp->copyPage();
    Picture1->setPixmap(QPixmap::fromImage(QApplication::clipboard()->image()));
}

void frmPreview::cmdAceptar_Click()
{
    accept();
}

// --- The control's side ----------------------------------------------------------------------

std::unique_ptr<QDialog> PelmoraC02::newPreviewForm(platform::printer::Printer *&vp)
{
    auto form = std::make_unique<frmPreview>(this);
    form->vLanguageId = language.LanguageID;
    form->Form_Load();
    vp = form->vp;
    return form;
}

bool PelmoraC02::askPreviewParams()
{
    frmPreviewParams form(this);
    form.vLanguageId = language.LanguageID;
    pelmora::PreviewOptions &o = previewOptions;
    // clang-format off
    bool *options[8] = {&o.PreviewHeaderAndFooter, &o.PreviewComments,  &o.PreviewData,
                        &o.PreviewChart,           &o.PreviewHeadings,  &o.PreviewBW,
                        // clang-format on
                        &o.PreviewChartInNewPage, &o.PreviewTitle};
    for (int i = 0; i < 8; ++i)
        form.chkSeccion[i]->setChecked(*options[i]);
    form.txtComentario->setText(o.PreviewComment);
    form.showModalForm();
    if (!form.vOK)
        return false;
    for (int i = 0; i < 8; ++i)
        *options[i] = form.chkSeccion[i]->isChecked();
    o.PreviewComment = form.txtComentario->text();
    if (form.chkSave->isChecked())
        doAction(QStringLiteral("WRITEPREVIEWREGISTRY"));
    return true;
}
