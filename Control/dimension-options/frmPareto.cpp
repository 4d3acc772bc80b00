#include "Control/dimension-options/frmPareto.h"

#include "Control/core/ErrorTrap.h"
#include "Control/dimension-options/ParetoTexts.h"
#include "platform/forms/MsgBox.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/Numbers.h"
#include "platform/widgets/TabStrip.h"
#include "platform/widgets/TreeView.h"

#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QVBoxLayout>

using platform::widgets::TreeNode;
using platform::widgets::TreeView;
namespace runtime = platform::runtime;

namespace {

const QString cuboTag = QStringLiteral("<Cubo>");
const QString dimensionTag = QStringLiteral("<Dimension>");

[[noreturn]] void outOfRange()
{
    throw platform::Error(QStringLiteral("Subscript out of range"));
}

template <typename T>
T *named(QWidget *parent, const char *name, T *widget)
{
    widget->setParent(parent);
    widget->setObjectName(QLatin1String(name));
    return widget;
}

QPushButton *button(QWidget *parent, const char *name, const QString &text)
{
    auto *b = named(parent, name, new QPushButton(text));
    b->setAutoDefault(false);
    return b;
}

QLabel *label(QWidget *parent, const char *name, const QString &text, QWidget *buddy)
{
    auto *l = named(parent, name, new QLabel(text));
    l->setBuddy(buddy);
    return l;
}

// Refills a list without running its selection handler; nothing is selected afterwards, so
// the next selection by code runs the handler.
void fillCombo(QComboBox *combo, const QStringList &items)
{
    const QSignalBlocker quiet(combo);
    combo->clear();
    combo->addItems(items);
    combo->setCurrentIndex(-1);
}

// The item of a collection counted from 1.
QString itemOf(const std::optional<QStringList> &list, int k)
{
    if (!list || k < 1 || k > list->size())
        outOfRange();
    return list->at(k - 1);
}

int countOf(const std::optional<QStringList> &list)
{
    if (!list)
        throw platform::Error(QStringLiteral("Object variable or With block variable not set"));
    return int(list->size());
}

QStringList rows(const QListWidget *list)
{
    QStringList texts;
    for (int r = 0; r < list->count(); ++r)
        texts << list->item(r)->text();
    return texts;
}

// Takes row `row` out of the list and puts it back at the place `move` names, selected. Up from
// the first row and down from the last have no place to go: the list stays as it is.
void moveRow(QListWidget *list, int row, frmPareto::Move move)
{
    if (row < 0 || row >= list->count())
        return;
    const int last = list->count() - 1; // the end, once the row is taken out
    int target = 0;
    switch (move) {
    case frmPareto::Move::First:
        target = 0;
        break;
    case frmPareto::Move::Up:
        target = row - 1;
        break;
    case frmPareto::Move::Down:
        target = row + 1;
        break;
    case frmPareto::Move::Last:
        target = last;
        break;
    }
    if (target < 0 || target > last)
        return;
    QListWidgetItem *item = list->takeItem(row);
    list->insertItem(target, item);
    list->setCurrentRow(target);
}

QVBoxLayout *column(std::initializer_list<QWidget *> widgets)
{
    auto *layout = new QVBoxLayout;
    layout->addStretch(1);
    for (QWidget *w : widgets)
        layout->addWidget(w);
    layout->addStretch(1);
    return layout;
}

} // namespace

frmPareto::frmPareto(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmPareto"));
    buildControls();
    connectHandlers();
}

frmPareto::~frmPareto() = default;

// --- the controls, with their Spanish design texts ---

void frmPareto::buildControls()
{
    setWindowTitle(QStringLiteral("Opciones de dimensión"));
    cmbDimension = named(this, "cmbDimension", new QComboBox);
    lblDimension = label(this, "lblDimension", QStringLiteral("&Dimensión"), cmbDimension);
    TabOne1 = named(this, "TabOne1", new platform::widgets::TabStrip);
    TabOne1->setCaptions(QStringLiteral("&Elementos|&Opciones|&Orden|&Vacio"));

    // Elements.
    QWidget *elements = TabOne1->page(0);
    cmbElementosTipo = named(elements, "cmbElementosTipo", new QComboBox);
    lblElementosTipo =
        label(elements, "lblElementosTipo", QStringLiteral("&Tipo"), cmbElementosTipo);
    txtElementosNivel = named(elements, "txtElementosNivel", new QLineEdit("1"));
    lblElementosNivel =
        label(elements, "lblElementosNivel", QStringLiteral("&Nivel"), txtElementosNivel);
    trvElementosCampos = named(elements, "trvElementosCampos", new TreeView);
    const char *listNames[] = {"lstElementosCampos0", "lstElementosCampos1", "lstElementosCampos2"};
    for (int k = 0; k < 3; ++k) {
        lstElementosCampos[k] = named(elements, listNames[k], new QListWidget);
        lstElementosCampos[k]->setSelectionMode(QAbstractItemView::SingleSelection);
    }
    // Only the captions are shown; the unique names and depths run parallel to them.
    lstElementosCampos[1]->hide();
    lstElementosCampos[2]->hide();
    cmdElementosPasa = button(elements, "cmdElementosPasa", QStringLiteral("&>"));
    cmdElementosRegresa = button(elements, "cmdElementosRegresa", QStringLiteral("&<"));
    cmdElementosPrimero = button(elements, "cmdElementosPrimero", QStringLiteral("&Primero"));
    cmdElementosArriba = button(elements, "cmdElementosArriba", QStringLiteral("&Arriba"));
    cmdElementosAbajo = button(elements, "cmdElementosAbajo", QStringLiteral("A&bajo"));
    cmdElementosUltimo = button(elements, "cmdElementosUltimo", QStringLiteral("&Ultimo"));
    {
        auto *top = new QHBoxLayout;
        top->addWidget(lblElementosTipo);
        top->addWidget(cmbElementosTipo, 1);
        top->addWidget(lblElementosNivel);
        top->addWidget(txtElementosNivel);
        txtElementosNivel->setMaximumWidth(60);
        auto *lists = new QHBoxLayout;
        lists->addWidget(trvElementosCampos, 3);
        lists->addLayout(column({cmdElementosPasa, cmdElementosRegresa}));
        lists->addWidget(lstElementosCampos[0], 2);
        lists->addWidget(lstElementosCampos[1]);
        lists->addWidget(lstElementosCampos[2]);
        lists->addLayout(column(
            {cmdElementosPrimero, cmdElementosArriba, cmdElementosAbajo, cmdElementosUltimo}));
        auto *layout = new QVBoxLayout(elements);
        layout->addLayout(top);
        layout->addLayout(lists, 1);
    }

    // Options (the ranking).
    QWidget *options = TabOne1->page(1);
    // The ranking kind heads its page without a caption of its own (the tab names it), as the
    // order kind does on the Order page.
    cmbOpcionTipo = named(options, "cmbOpcionTipo", new QComboBox);
    txtOpcionValor = named(options, "txtOpcionValor", new QLineEdit);
    lblOpcionValor = label(options, "lblOpcionValor", QStringLiteral("&Valor"), txtOpcionValor);
    cmbOpcionTipoReg = named(options, "cmbOpcionTipoReg", new QComboBox);
    lblOpcionTipoReg =
        label(options, "lblOpcionTipoReg", QStringLiteral("&Tipo"), cmbOpcionTipoReg);
    trvOpcionCampo = named(options, "trvOpcionCampo", new TreeView);
    lblOpcionCampo =
        label(options, "lblOpcionCampo", QStringLiteral("&Campo de orden"), trvOpcionCampo);
    {
        auto *top = new QHBoxLayout;
        top->addWidget(cmbOpcionTipo, 1);
        top->addWidget(lblOpcionValor);
        top->addWidget(txtOpcionValor);
        top->addWidget(lblOpcionTipoReg);
        top->addWidget(cmbOpcionTipoReg, 1);
        auto *layout = new QVBoxLayout(options);
        layout->addLayout(top);
        layout->addWidget(lblOpcionCampo);
        layout->addWidget(trvOpcionCampo, 1);
    }

    // Order.
    QWidget *order = TabOne1->page(2);
    cmbOrdenTipo = named(order, "cmbOrdenTipo", new QComboBox);
    trvOrdenCampos = named(order, "trvOrdenCampos", new TreeView);
    lblOrdenCampos =
        label(order, "lblOrdenCampos", QStringLiteral("&Campos de orden"), trvOrdenCampos);
    lstOrdenCampos = named(order, "lstOrdenCampos", new QListWidget);
    lstOrdenCampos->setSelectionMode(QAbstractItemView::SingleSelection);
    cmdOrdenPasa = button(order, "cmdOrdenPasa", QStringLiteral("&>"));
    cmdOrdenRegresa = button(order, "cmdOrdenRegresa", QStringLiteral("&<"));
    cmdOrdenPrimero = button(order, "cmdOrdenPrimero", QStringLiteral("&Primero"));
    cmdOrdenArriba = button(order, "cmdOrdenArriba", QStringLiteral("A&rriba"));
    cmdOrdenAbajo = button(order, "cmdOrdenAbajo", QStringLiteral("A&bajo"));
    cmdOrdenUltimo = button(order, "cmdOrdenUltimo", QStringLiteral("&Ultimo"));
    {
        auto *lists = new QHBoxLayout;
        lists->addWidget(trvOrdenCampos, 3);
        lists->addLayout(column({cmdOrdenPasa, cmdOrdenRegresa}));
        lists->addWidget(lstOrdenCampos, 2);
        lists->addLayout(column({cmdOrdenPrimero, cmdOrdenArriba, cmdOrdenAbajo, cmdOrdenUltimo}));
        auto *layout = new QVBoxLayout(order);
        layout->addWidget(cmbOrdenTipo);
        layout->addWidget(lblOrdenCampos);
        layout->addLayout(lists, 1);
    }

    // Empty cells: the two options sit in containers of their own and exclude each other by
    // code (opcVacio_Click).
    QWidget *empty = TabOne1->page(3);
    lblVacio = named(empty, "lblVacio",
                     new QLabel(QStringLiteral("Se muestran las celdas vacias de la consulta?")));
    {
        auto *layout = new QVBoxLayout(empty);
        layout->addWidget(lblVacio);
        const char *names[] = {"opcVacio0", "opcVacio1"};
        const QString captions[] = {QStringLiteral("Si"), QStringLiteral("No")};
        for (int k = 0; k < 2; ++k) {
            auto *box = new QWidget(empty);
            opcVacio[k] = named(box, names[k], new QRadioButton(captions[k]));
            auto *inner = new QHBoxLayout(box);
            inner->setContentsMargins(0, 0, 0, 0);
            inner->addWidget(opcVacio[k]);
            layout->addWidget(box);
        }
        layout->addStretch(1);
    }

    cmdPareto = button(this, "cmdPareto", QStringLiteral("&Aceptar"));
    cmdPareto->setDefault(true);
    cmdCancelar = button(this, "cmdCancelar", QStringLiteral("&Cancelar"));

    auto *top = new QHBoxLayout;
    top->addWidget(lblDimension);
    top->addWidget(cmbDimension, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdPareto);
    buttons->addWidget(cmdCancelar);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(TabOne1, 1);
    layout->addLayout(buttons);
    resize(640, 420);
}

void frmPareto::handle(const char *label, void (frmPareto::*handler)())
{
    pelmora::trapped(QLatin1String(label), [this, handler] { (this->*handler)(); });
}

void frmPareto::connectHandlers()
{
    const auto onIndex = [this](QComboBox *combo, const char *label, void (frmPareto::*handler)()) {
        QObject::connect(combo, &QComboBox::currentIndexChanged, this,
                         [this, label, handler](int index) {
                             if (index >= 0)
                                 handle(label, handler);
                         });
    };
    onIndex(cmbDimension, "cmbDimension_Click: ", &frmPareto::cmbDimension_Click);
    onIndex(cmbElementosTipo, "cmbElementosTipo_Click: ", &frmPareto::cmbElementosTipo_Click);
    onIndex(cmbOpcionTipo, "cmbOpcionTipo_Click: ", &frmPareto::cmbOpcionTipo_Click);
    onIndex(cmbOrdenTipo, "cmbOrdenTipo_Click: ", &frmPareto::cmbOrdenTipo_Click);

    const auto onClick = [this](QPushButton *b, const char *label, void (frmPareto::*handler)()) {
        QObject::connect(b, &QPushButton::clicked, this,
                         [this, label, handler] { handle(label, handler); });
    };
    onClick(cmdPareto, "cmdPareto_Click: ", &frmPareto::cmdPareto_Click);
    onClick(cmdCancelar, "cmdCancelar_Click: ", &frmPareto::cmdCancelar_Click);
    onClick(cmdElementosPasa, "cmdElementosPasa_Click: ", &frmPareto::cmdElementosPasa_Click);
    onClick(cmdElementosRegresa,
            "cmdElementosRegresa_Click: ", &frmPareto::cmdElementosRegresa_Click);
    onClick(cmdElementosPrimero,
            "cmdElementosPrimero_Click: ", &frmPareto::cmdElementosPrimero_Click);
    onClick(cmdElementosArriba, "cmdElementosArriba_Click: ", &frmPareto::cmdElementosArriba_Click);
    onClick(cmdElementosAbajo, "cmdElementosAbajo_Click: ", &frmPareto::cmdElementosAbajo_Click);
    onClick(cmdElementosUltimo, "cmdElementosUltimo_Click: ", &frmPareto::cmdElementosUltimo_Click);
    onClick(cmdOrdenPasa, "cmdOrdenPasa_Click: ", &frmPareto::cmdOrdenPasa_Click);
    onClick(cmdOrdenRegresa, "cmdOrdenRegresa_Click: ", &frmPareto::cmdOrdenRegresa_Click);
    onClick(cmdOrdenPrimero, "cmdOrdenPrimero_Click: ", &frmPareto::cmdOrdenPrimero_Click);
    onClick(cmdOrdenArriba, "cmdOrdenArriba_Click: ", &frmPareto::cmdOrdenArriba_Click);
    onClick(cmdOrdenAbajo, "cmdOrdenAbajo_Click: ", &frmPareto::cmdOrdenAbajo_Click);
    onClick(cmdOrdenUltimo, "cmdOrdenUltimo_Click: ", &frmPareto::cmdOrdenUltimo_Click);

    for (int k = 0; k < 2; ++k)
        QObject::connect(opcVacio[k], &QRadioButton::clicked, this,
                         [this, k] { opcVacio_Click(k); });

    QObject::connect(trvElementosCampos, &TreeView::expand, this, [this](TreeNode *node) {
        pelmora::trapped(QStringLiteral("trvElementosCampos_Expand: "),
                         [this, node] { trvElementosCampos_Expand(node); });
    });
    QObject::connect(trvOpcionCampo, &TreeView::expand, this, [this](TreeNode *node) {
        pelmora::trapped(QStringLiteral("trvOpcionCampo_Expand: "),
                         [this, node] { trvOpcionCampo_Expand(node); });
    });
    QObject::connect(trvOrdenCampos, &TreeView::expand, this, [this](TreeNode *node) {
        pelmora::trapped(QStringLiteral("trvOrdenCampos_Expand: "),
                         [this, node] { trvOrdenCampos_Expand(node); });
    });
    QObject::connect(trvElementosCampos, &TreeView::dblClick, this, [this] {
        handle("cmdElementosPasa_Click: ", &frmPareto::cmdElementosPasa_Click);
    });
    QObject::connect(trvOrdenCampos, &TreeView::dblClick, this,
                     [this] { handle("cmdOrdenPasa_Click: ", &frmPareto::cmdOrdenPasa_Click); });
}

// --- load ---

void frmPareto::Form_Load()
{
    if (m_loaded)
        return;
    m_loaded = true;
    m_textosIngles = pelmora::pareto::validationTexts(0);
    m_textosEspanol = pelmora::pareto::validationTexts(1);
    if (vLanguageId == 0) {
        setWindowTitle(QStringLiteral("Dimension options"));
        lblDimension->setText(QStringLiteral("&Dimension"));
        TabOne1->setTabCaption(0, QStringLiteral("&Elements"));
        TabOne1->setTabCaption(1, QStringLiteral("&Options"));
        TabOne1->setTabCaption(2, QStringLiteral("O&rder"));
        TabOne1->setTabCaption(3, QStringLiteral("E&mpty"));
        lblElementosTipo->setText(QStringLiteral("&Type"));
        lblElementosNivel->setText(QStringLiteral("&Level"));
        cmdElementosPrimero->setText(QStringLiteral("&First"));
        cmdElementosArriba->setText(QStringLiteral("&Up"));
        cmdElementosAbajo->setText(QStringLiteral("&Down"));
        cmdElementosUltimo->setText(QStringLiteral("&Last"));
        lblOpcionValor->setText(QStringLiteral("&Value"));
        lblOpcionTipoReg->setText(QStringLiteral("&Type"));
        lblOpcionCampo->setText(QStringLiteral("&Order field"));
        lblOrdenCampos->setText(QStringLiteral("&Order field"));
        cmdOrdenPrimero->setText(QStringLiteral("&First"));
        cmdOrdenArriba->setText(QStringLiteral("&Up"));
        cmdOrdenAbajo->setText(QStringLiteral("&Down"));
        cmdOrdenUltimo->setText(QStringLiteral("&Last"));
        lblVacio->setText(QStringLiteral("Does empty cells should appear?"));
        opcVacio[0]->setText(QStringLiteral("Yes"));
        opcVacio[1]->setText(QStringLiteral("No"));
        cmdPareto->setText(QStringLiteral("&OK"));
        cmdCancelar->setText(QStringLiteral("&Cancel"));
    }
    if (const QScreen *screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        move(area.left() + area.width() / 2 - width() / 2,
             area.top() + area.height() / 2 - height() / 2);
    }
    cargaOpcion();
    cargaOrden();
    TabOne1->setCurrentTab(0);
}

void frmPareto::cargaOpcion()
{
    fillCombo(cmbOpcionTipo, pelmora::pareto::rankingKinds(vLanguageId));
    cmbOpcionTipo->setCurrentIndex(0);
    fillCombo(cmbOpcionTipoReg, pelmora::pareto::rankingDirections(vLanguageId));
    cmbOpcionTipoReg->setCurrentIndex(0);
}

void frmPareto::cargaOrden()
{
    fillCombo(cmbOrdenTipo, pelmora::pareto::orderKinds(vLanguageId));
    cmbOrdenTipo->setCurrentIndex(0);
}

// --- the record array ---

ParetoRecord &frmPareto::record(int pDim)
{
    if (pDim < 0 || pDim >= int(vPareto.size()))
        outOfRange();
    return vPareto[std::size_t(pDim)];
}

const ParetoRecord &frmPareto::record(int pDim) const
{
    if (pDim < 0 || pDim >= int(vPareto.size()))
        outOfRange();
    return vPareto[std::size_t(pDim)];
}

void frmPareto::redimVPareto(int n)
{
    vPareto.assign(std::size_t(std::max(n + 1, 0)), ParetoRecord());
}

void frmPareto::traePareto(int pDim, int lugar, int opcionTipo, int opcionValor,
                           const QString &opcionCampo, int opcionTipoReg, int ordenTipo,
                           const QStringList &ordenCampos, bool vacio,
                           const QStringList &padreTexto, const QStringList &padreLlave,
                           int jerarquia, int jerarquiaSalto, int profundidad,
                           const QString &nombre)
{
    ParetoRecord &r = record(pDim);
    r.lugar = lugar;
    r.opcionTipo = opcionTipo;
    if (opcionTipo != 0) {
        r.opcionValor = opcionValor;
        r.opcionCampo = opcionCampo;
        r.opcionTipoReg = opcionTipoReg;
    }
    r.ordenTipo = ordenTipo;
    if (ordenTipo != 0)
        r.ordenCampos = ordenCampos;
    r.vacio = vacio;
    r.padreTexto = padreTexto;
    r.padreLlave = padreLlave;
    r.jerarquia = jerarquia;
    r.jerarquiaSalto = jerarquiaSalto;
    r.profundidad = profundidad;
    r.nombre = nombre;
}

int frmPareto::lugar(int pDim) const
{
    return record(pDim).lugar;
}
int frmPareto::orden(int pDim) const
{
    return record(pDim).orden;
}
QString frmPareto::nombre(int pDim) const
{
    return record(pDim).nombre;
}
bool frmPareto::vacio(int pDim) const
{
    return record(pDim).vacio;
}
int frmPareto::jerarquia(int pDim) const
{
    return record(pDim).jerarquia;
}
int frmPareto::jerarquiaSalto(int pDim) const
{
    return record(pDim).jerarquiaSalto;
}
int frmPareto::tipo(int pDim) const
{
    return record(pDim).tipo;
}
int frmPareto::opcionTipo(int pDim) const
{
    return record(pDim).opcionTipo;
}
QString frmPareto::opcionCampo(int pDim) const
{
    return record(pDim).opcionCampo;
}
int frmPareto::opcionValor(int pDim) const
{
    return record(pDim).opcionValor;
}
int frmPareto::opcionTipoReg(int pDim) const
{
    return record(pDim).opcionTipoReg;
}
int frmPareto::ordenTipo(int pDim) const
{
    return record(pDim).ordenTipo;
}
int frmPareto::profundidad(int pDim) const
{
    return record(pDim).profundidad;
}
int frmPareto::ordenCamposCount(int pDim) const
{
    return countOf(record(pDim).ordenCampos);
}
QString frmPareto::ordenCampos(int pDim, int k) const
{
    return itemOf(record(pDim).ordenCampos, k);
}
int frmPareto::padreTextoCount(int pDim) const
{
    return countOf(record(pDim).padreTexto);
}
QString frmPareto::padreTexto(int pDim, int k) const
{
    return itemOf(record(pDim).padreTexto, k);
}
int frmPareto::padreLlaveCount(int pDim) const
{
    return countOf(record(pDim).padreLlave);
}
QString frmPareto::padreLlave(int pDim, int k) const
{
    return itemOf(record(pDim).padreLlave, k);
}

// --- record and controls ---

void frmPareto::traeValoresPareto(int pDim)
{
    if (pDim == -1)
        return;
    ParetoRecord &r = record(pDim);
    cargaElementosTipo(pDim);

    cmbOpcionTipo->setCurrentIndex(r.opcionTipo);
    if (r.opcionTipo != 0) {
        txtOpcionValor->setText(QString::number(r.opcionValor));
        cmbOpcionTipoReg->setCurrentIndex(r.opcionTipoReg);
        habilitaOpcion(true);
    } else {
        txtOpcionValor->setText(QString());
        habilitaOpcion(false);
    }
    cargaArbolOpcion();
    if (r.opcionTipo != 0)
        seleccionaCampoOpcion(r.opcionCampo);

    cmbOrdenTipo->setCurrentIndex(r.ordenTipo);
    lstOrdenCampos->clear();
    if (r.ordenTipo != 0) {
        if (r.ordenCampos)
            lstOrdenCampos->addItems(*r.ordenCampos);
        habilitaOrden(true);
    } else {
        habilitaOrden(false);
    }
    cargaArbolOrden();

    opcVacio[0]->setChecked(r.vacio);
    opcVacio[1]->setChecked(!r.vacio);
}

void frmPareto::ponValoresPareto(int pDim)
{
    if (pDim == -1)
        return;
    ParetoRecord &r = record(pDim);
    // A list without a selection (a stored value the list has no entry for) keeps the value.
    const auto indexOr = [](const QComboBox *combo, int previous) {
        return combo->currentIndex() >= 0 ? combo->currentIndex() : previous;
    };
    // Texts that are not whole numbers keep the previous value: only OK validates them.
    const auto longOr = [](const QString &text, int previous) {
        return pelmora::valueOr([&text] { return int(runtime::toLong(text)); }, previous);
    };
    r.jerarquia = r.lugar != 0 ? indexOr(cmbElementosTipo, r.jerarquia) : 7;
    r.jerarquiaSalto = longOr(txtElementosNivel->text(), r.jerarquiaSalto);
    r.padreTexto = rows(lstElementosCampos[0]);
    r.padreLlave = rows(lstElementosCampos[1]);
    for (int k = 0; k < 2; ++k) {
        if (lstElementosCampos[k]->count() > 0)
            lstElementosCampos[k]->setCurrentRow(lstElementosCampos[k]->count() - 1);
    }
    r.profundidad = 0;
    if (lstElementosCampos[2]->count() > 0) {
        lstElementosCampos[2]->setCurrentRow(0);
        r.profundidad = longOr(lstElementosCampos[2]->item(0)->text(), 0);
    }
    r.opcionTipo = indexOr(cmbOpcionTipo, r.opcionTipo);
    if (r.opcionTipo != 0) {
        r.opcionValor = longOr(txtOpcionValor->text(), r.opcionValor);
        r.opcionTipoReg = indexOr(cmbOpcionTipoReg, r.opcionTipoReg);
        if (const TreeNode *node = trvOpcionCampo->selectedNode())
            r.opcionCampo = node->key();
    }
    r.ordenTipo = indexOr(cmbOrdenTipo, r.ordenTipo);
    if (r.ordenTipo != 0)
        r.ordenCampos = rows(lstOrdenCampos);
    r.vacio = opcVacio[0]->isChecked();
}

// --- handlers ---

void frmPareto::cmbDimension_Click()
{
    ponValoresPareto(vDim);
    vDim = cmbDimension->currentIndex();
    traeValoresPareto(cmbDimension->currentIndex());
}

void frmPareto::cmbElementosTipo_Click()
{
    const ParetoRecord &r = record(vDim);
    if (r.lugar == 0) {
        habilitaNivel(false);
        return;
    }
    const int t = cmbElementosTipo->currentIndex();
    if (t == tipoAnterior)
        return;
    if (tipoAnterior == 6) {
        clearElementLists();
        cargaArbolElementos(vDim);
    } else if (t == 6) {
        clearElementLists();
        cargaArbolNiveles(vDim);
    }
    habilitaNivel(t == 0);
    tipoAnterior = t;
}

void frmPareto::cmbOpcionTipo_Click()
{
    habilitaOpcion(cmbOpcionTipo->currentIndex() >= 1);
}

void frmPareto::cmbOrdenTipo_Click()
{
    habilitaOrden(cmbOrdenTipo->currentIndex() >= 1);
}

void frmPareto::opcVacio_Click(int Index)
{
    opcVacio[Index == 1 ? 0 : 1]->setChecked(false);
    opcVacio[Index == 1 ? 1 : 0]->setChecked(true);
}

void frmPareto::cmdPareto_Click()
{
    if (!validaElementos()) {
        TabOne1->setCurrentTab(0);
        return;
    }
    if (!validaOpciones()) {
        TabOne1->setCurrentTab(1);
        return;
    }
    ponValoresPareto(cmbDimension->currentIndex());
    vOK = true;
    accept();
}

void frmPareto::cmdCancelar_Click()
{
    vOK = false;
    reject();
}

void frmPareto::habilitaNivel(bool flag)
{
    lblElementosNivel->setEnabled(flag);
    txtElementosNivel->setEnabled(flag);
}

void frmPareto::habilitaOpcion(bool flag)
{
    for (QWidget *w :
         std::initializer_list<QWidget *>{cmbOpcionTipoReg, lblOpcionCampo, lblOpcionTipoReg,
                                          lblOpcionValor, txtOpcionValor, trvOpcionCampo})
        w->setEnabled(flag);
}

void frmPareto::habilitaOrden(bool flag)
{
    for (QWidget *w : std::initializer_list<QWidget *>{
             cmdOrdenAbajo, cmdOrdenArriba, cmdOrdenPasa, cmdOrdenPrimero, cmdOrdenRegresa,
             cmdOrdenUltimo, lblOrdenCampos, lstOrdenCampos, trvOrdenCampos})
        w->setEnabled(flag);
}

void frmPareto::habilitaTabs(bool flag)
{
    for (int tab = 1; tab <= 3; ++tab)
        TabOne1->setTabEnabled(tab, flag);
}

int frmPareto::findDimension(const QString &name)
{
    const int n = cube().dimensions().count();
    for (int k = 0; k < n && k < int(vPareto.size()); ++k) {
        if (vPareto[std::size_t(k)].nombre == name)
            return k;
    }
    return -1;
}

// --- validation ---

QString frmPareto::textoValidacion(int code) const
{
    const QStringList *texts = vLanguageId == 0   ? &m_textosIngles
                               : vLanguageId == 1 ? &m_textosEspanol
                                                  : nullptr;
    if (!texts)
        return QStringLiteral("M: ") + QString::number(code);
    if (code < 0 || code >= texts->size())
        outOfRange();
    return texts->at(code);
}

bool frmPareto::validaElementos()
{
    const ParetoRecord &r = record(vDim);
    if (r.lugar == 0)
        return true;
    int code = -1;
    const QString s = txtElementosNivel->text();
    if (lstElementosCampos[0]->count() == 0)
        code = pelmora::pareto::EmptyFieldList;
    else if (s.isEmpty() || !runtime::isNumeric(s) || runtime::toDouble(s) < 1)
        code = pelmora::pareto::LevelNotAboveOne;
    if (code < 0)
        return true;
    platform::forms::msgBox(textoValidacion(code), platform::forms::OkOnly);
    return false;
}

bool frmPareto::validaOpciones()
{
    const int kind = cmbOpcionTipo->currentIndex();
    if (kind == 0)
        return true;
    const QString s = txtOpcionValor->text();
    const bool numeric = !s.isEmpty() && runtime::isNumeric(s);
    const double value = numeric ? runtime::toDouble(s) : 0;
    // A value that rounds to 0 would be stored as a ranking of 0 elements.
    const bool roundsToZero =
        numeric && pelmora::valueOr([value] { return runtime::toLong(value); }, 1) == 0;
    const TreeNode *node = trvOpcionCampo->selectedNode();
    int code = -1;
    if (!numeric || value <= 0 || roundsToZero)
        code = pelmora::pareto::ValueNotAboveZero;
    else if (kind == 3 && value > 100)
        code = pelmora::pareto::PercentageOutOfRange;
    else if (!node)
        code = pelmora::pareto::NoOrderField;
    else if (node->tag() == cuboTag || node->tag() == dimensionTag || node->isPlaceholder())
        code = pelmora::pareto::NoDimensionField;
    if (code < 0)
        return true;
    platform::forms::msgBox(textoValidacion(code), platform::forms::OkOnly);
    return false;
}

// --- list moves ---

void frmPareto::clearElementLists()
{
    for (QListWidget *list : lstElementosCampos)
        list->clear();
}

void frmPareto::cmdElementosPasa_Click()
{
    const TreeNode *n = trvElementosCampos->selectedNode();
    if (!n || n->isPlaceholder())
        return;
    QString text = n->text();
    QString key = n->key();
    QString tag = n->tag();
    if (record(vDim).lugar != 0) {
        if (n->tag() == dimensionTag)
            return;
        if (cmbElementosTipo->currentIndex() != 1)
            clearElementLists();
    } else {
        if (n->tag() == dimensionTag) {
            const TreeNode *first = n->firstChild();
            if (!first || first->isPlaceholder())
                return; // a dimension without members has nothing to pass
            text = first->text();
            key = first->key();
            tag = QStringLiteral("0");
        }
        clearElementLists();
    }
    lstElementosCampos[0]->addItem(text);
    lstElementosCampos[1]->addItem(key);
    lstElementosCampos[2]->addItem(tag);
}

void frmPareto::cmdElementosRegresa_Click()
{
    const int s = lstElementosCampos[0]->currentRow();
    if (s < 0 || record(vDim).lugar == 0)
        return;
    for (QListWidget *list : lstElementosCampos) {
        if (s < list->count())
            delete list->takeItem(s);
    }
}

void frmPareto::moveElementRow(Move move)
{
    const int p = lstElementosCampos[0]->currentRow();
    if (p < 0)
        return;
    lstElementosCampos[1]->setCurrentRow(p);
    // Only the captions and unique names move: the depth row stays first.
    moveRow(lstElementosCampos[0], p, move);
    moveRow(lstElementosCampos[1], p, move);
}

void frmPareto::cmdElementosPrimero_Click()
{
    moveElementRow(Move::First);
}
void frmPareto::cmdElementosArriba_Click()
{
    moveElementRow(Move::Up);
}
void frmPareto::cmdElementosAbajo_Click()
{
    moveElementRow(Move::Down);
}
void frmPareto::cmdElementosUltimo_Click()
{
    moveElementRow(Move::Last);
}

void frmPareto::cmdOrdenPasa_Click()
{
    const TreeNode *n = trvOrdenCampos->selectedNode();
    if (!n || n->isPlaceholder())
        return;
    if (n->tag() == cuboTag || n->tag() == dimensionTag) {
        platform::forms::msgBox(textoValidacion(pelmora::pareto::NoCubeElement),
                                platform::forms::OkOnly);
        return;
    }
    lstOrdenCampos->addItem(n->key());
}

void frmPareto::cmdOrdenRegresa_Click()
{
    // Any selected row goes, the first one included.
    const int s = lstOrdenCampos->currentRow();
    if (s >= 0)
        delete lstOrdenCampos->takeItem(s);
}

void frmPareto::cmdOrdenPrimero_Click()
{
    moveRow(lstOrdenCampos, lstOrdenCampos->currentRow(), Move::First);
}

void frmPareto::cmdOrdenArriba_Click()
{
    moveRow(lstOrdenCampos, lstOrdenCampos->currentRow(), Move::Up);
}

void frmPareto::cmdOrdenAbajo_Click()
{
    moveRow(lstOrdenCampos, lstOrdenCampos->currentRow(), Move::Down);
}

void frmPareto::cmdOrdenUltimo_Click()
{
    moveRow(lstOrdenCampos, lstOrdenCampos->currentRow(), Move::Last);
}
