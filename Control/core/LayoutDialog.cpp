#include "Control/core/LayoutDialog.h"

#include "Control/core/FormParts.h"
#include "platform/forms/Modal.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <tuple>

namespace {

QListWidget *dimensionList(QWidget *parent, const char *name)
{
    auto *list = new QListWidget(parent);
    list->setObjectName(QLatin1String(name));
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setMinimumSize(170, 200);
    return list;
}

QLabel *listLabel(QWidget *parent, const char *name, const QString &text, QWidget *list)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QLatin1String(name));
    label->setBuddy(list);
    return label;
}

} // namespace

frmLayout::frmLayout(QWidget *parent) : QDialog(parent)
{
    using pelmora::formButton;
    setObjectName(QStringLiteral("frmLayout"));
    setWindowTitle(QStringLiteral("Layout del cubo"));
    lstE = dimensionList(this, "lstE");
    lstH = dimensionList(this, "lstH");
    lstV = dimensionList(this, "lstV");
    lblE = listLabel(this, "lblE", QStringLiteral("E&ncabezado"), lstE);
    lblH = listLabel(this, "lblH", QStringLiteral("Eje h&orizontal"), lstH);
    lblV = listLabel(this, "lblV", QStringLiteral("Eje Ve&rtical"), lstV);
    cmdEncab = formButton(this, "cmdEncab", QStringLiteral("&Encab."));
    cmdHorizontal = formButton(this, "cmdHorizontal", QStringLiteral("&Horizontal"));
    cmdVertical = formButton(this, "cmdVertical", QStringLiteral("&Vertical"));
    cmdLayout = formButton(this, "cmdLayout", QStringLiteral("&Aceptar"));
    cmdLayout->setDefault(true);
    cmdCancelar = formButton(this, "cmdCancelar", QStringLiteral("&Cancelar"));
    cmdArriba = formButton(this, "cmdArriba", QStringLiteral("A&rriba"));
    cmdAbajo = formButton(this, "cmdAbajo", QStringLiteral("A&bajo"));
    cmdArriba->hide();
    cmdAbajo->hide();

    // Each list with its label above and, below, the button that moves dimensions to it.
    auto *lists = new QGridLayout;
    int column = 0;
    for (auto [label, list, move] :
         {std::tuple{lblE, lstE, cmdEncab}, std::tuple{lblH, lstH, cmdHorizontal},
          std::tuple{lblV, lstV, cmdVertical}}) {
        lists->addWidget(label, 0, column);
        lists->addWidget(list, 1, column);
        lists->addWidget(move, 2, column);
        ++column;
    }
    QHBoxLayout *buttons = pelmora::buttonRow({cmdLayout, cmdCancelar});
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(lists, 1);
    layout->addLayout(buttons);

    connect(cmdEncab, &QPushButton::clicked, this, &frmLayout::cmdEncab_Click);
    connect(cmdHorizontal, &QPushButton::clicked, this, &frmLayout::cmdHorizontal_Click);
    connect(cmdVertical, &QPushButton::clicked, this, &frmLayout::cmdVertical_Click);
    connect(cmdLayout, &QPushButton::clicked, this, &frmLayout::cmdLayout_Click);
    connect(cmdCancelar, &QPushButton::clicked, this, &frmLayout::cmdCancelar_Click);
    for (QListWidget *list : {lstE, lstH, lstV})
        connect(list, &QListWidget::itemDoubleClicked, this, [this, list] { list_DblClick(list); });
}

int frmLayout::showModalForm()
{
    Form_Load();
    return platform::forms::showModal(*this);
}

void frmLayout::Form_Load()
{
    if (vLanguageId == 0) {
        setWindowTitle(QStringLiteral("Cube layout"));
        lblE->setText(QStringLiteral("H&eader"));
        lblH->setText(QStringLiteral("X &Axis"));
        lblV->setText(QStringLiteral("Y Ax&is"));
        cmdEncab->setText(QStringLiteral("&Header"));
        cmdHorizontal->setText(QStringLiteral("&X Axis"));
        cmdVertical->setText(QStringLiteral("&Y Axis"));
        cmdLayout->setText(QStringLiteral("&OK"));
        cmdCancelar->setText(QStringLiteral("&Cancel"));
        cmdArriba->setText(QStringLiteral("&Up"));
        cmdAbajo->setText(QStringLiteral("&Down"));
    }
    pelmora::centreOnScreen(*this);
}

void frmLayout::moveSelected(QListWidget *first, QListWidget *second, QListWidget *target)
{
    for (QListWidget *source : {first, second}) {
        const QList<QListWidgetItem *> selected = source->selectedItems();
        if (selected.isEmpty())
            continue;
        const QString text = selected.first()->text();
        delete source->takeItem(source->row(selected.first()));
        // As after removing a list box's selected item: nothing is selected there.
        source->clearSelection();
        source->setCurrentRow(-1);
        target->addItem(text);
    }
}

void frmLayout::cmdEncab_Click()
{
    moveSelected(lstH, lstV, lstE);
}

void frmLayout::cmdHorizontal_Click()
{
    moveSelected(lstE, lstV, lstH);
}

void frmLayout::cmdVertical_Click()
{
    moveSelected(lstE, lstH, lstV);
}

void frmLayout::cmdLayout_Click()
{
    vOK = true;
    accept();
}

void frmLayout::cmdCancelar_Click()
{
    vOK = false;
    reject();
}

void frmLayout::list_DblClick(QListWidget *list)
{
    const QListWidgetItem *item = list->currentItem();
    if (!item || !vFrm)
        return;
    QMetaObject::invokeMethod(vFrm, "doAnalysis2", Qt::DirectConnection,
                              Q_ARG(QString, item->text()));
}
