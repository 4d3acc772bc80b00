#include "Control/presentation/FormatDialog.h"

#include "Control/core/ControlState.h"
#include "Control/core/ErrorTrap.h"
#include "Control/core/FormParts.h"
#include "platform/forms/FontObject.h"
#include "platform/forms/MsgBox.h"
#include "platform/grid/FlexGrid.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/Numbers.h"
#include "platform/widgets/CommonDialog.h"
#include "platform/widgets/TabStrip.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <functional>

using platform::forms::FontObject;
using platform::grid::CellSetting;
namespace runtime = platform::runtime;

namespace {

template <typename T>
T *named(QWidget *parent, const QString &name, T *widget)
{
    widget->setParent(parent);
    widget->setObjectName(name);
    return widget;
}

QLabel *label(QWidget *parent, const char *name, const QString &text, QWidget *buddy = nullptr)
{
    auto *l = named(parent, QLatin1String(name), new QLabel(text));
    l->setBuddy(buddy);
    return l;
}

QHBoxLayout *row(std::initializer_list<QWidget *> widgets, bool stretch = true)
{
    auto *layout = new QHBoxLayout;
    for (QWidget *w : widgets)
        layout->addWidget(w);
    if (stretch)
        layout->addStretch(1);
    return layout;
}

// Whole numbers of the boxes; a text that is not one (or lies beyond the 32-bit range) gives
// the fallback, so that no typed text can stop the dialog.
qint32 wholeOr(const QString &text, qint32 fallback)
{
    return pelmora::valueOr([&text] { return runtime::toLong(text); }, fallback);
}

struct ListTexts
{
    QStringList english;
    QStringList spanish;
};

const ListTexts colorTexts{
    {"Data back color", "Title back color", "Subtotal back color", "Subtotal title back color",
     "Data fore color", "Title fore color", "Subtotal fore color", "Subtotal title fore color",
     "Data grid color", "Title grid color"},
    {"Fondo de los datos", "Fondo de los titulos", "Fondo de los subtotales",
     "Fondo de los titulos en subtotal", "Color de los datos", "Color de los titulos",
     "Color de los subtotales", "Color de los titulos en subtotal", "Cuadricula de los datos",
     "Cuadricula de los titulos"}};

const ListTexts fontTexts{{"Data font", "Title font", "Subtotal font", "Subtotal title font"},
                          {"Fuente de los datos", "Fuente de los titulos",
                           "Fuente de los subtotales", "Fuente de los titulos en subtotal"}};

const ListTexts appearanceTexts{{"Flat", "3D", "3D Light"}, {"Aplanado", "3D", "3D Ligero"}};

const ListTexts gridLineTexts{
    {"None", "Flat", "Inset", "Raised", "Flat horizontal", "Inset horizontal", "Raised horizontal",
     "Skipped horizontal", "Flat vertical", "Inset vertical", "Raised vertical", "Skipped vertical",
     "Explorer", "Excel"},
    {"Ninguna", "Plana", "Hacia adentro", "Levantada", "Plano horizontal",
     "Hacia adentro horizontal", "Levantado horizontal", "Saltando horizontal", "Plana vertical",
     "Hacia adentro vertical", "Levantada vertical", "Saltando vertical", "Explorer", "Excel"}};

// clang-format off
const QStringList formatTexts{"0",         "0.00",       "#,##0",     "(#,##0)",
                              "#,##0.00",  "(#,##0.00)", "$#,##0",    "($#,##0)",
                              "$#,##0.00", "($#,##0.00)", "0%",       "00%",
                              "0.00%",     "00.00%",     "#,##0,.",   "(#,##0,.)",
                              "#,##0,.00", "(#,##0,.00)"};
// clang-format on

// The sample cell whose font preloads the font dialog, by lstFont position.
constexpr std::array<std::pair<int, int>, 4> fontCells{{{2, 2}, {2, 0}, {1, 1}, {1, 0}}};

// A list's click: a change of its selection (by the user or by code) and a click on the entry
// already selected, so that the same colour or font can be chosen again.
class ListClick : public QObject
{
public:
    ListClick(QListWidget *list, std::function<void()> handler)
        : QObject(list), m_list(list), m_handler(std::move(handler))
    {
        list->viewport()->installEventFilter(this);
        // The selection, not the current row: a list that takes the focus by a key gets a
        // current row without a choice.
        QObject::connect(list, &QListWidget::itemSelectionChanged, this, [this] {
            if (selectedRow() >= 0)
                m_handler();
        });
        QObject::connect(list, &QListWidget::itemClicked, this, [this](QListWidgetItem *item) {
            if (m_list->row(item) == m_rowAtPress)
                m_handler();
        });
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::MouseButtonPress)
            m_rowAtPress = selectedRow();
        return QObject::eventFilter(watched, event);
    }

private:
    int selectedRow() const
    {
        const QList<QListWidgetItem *> items = m_list->selectedItems();
        return items.isEmpty() ? -1 : m_list->row(items.first());
    }

    QListWidget *m_list;
    std::function<void()> m_handler;
    int m_rowAtPress = -1;
};

} // namespace

frmFormato::frmFormato(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmFormato"));
    buildControls();
    connectHandlers();
}

frmFormato::~frmFormato() = default;

// --- the controls, with their Spanish design texts ---

void frmFormato::buildControls()
{
    setWindowTitle(QStringLiteral("Formato de cubo"));
    dlg = new platform::widgets::CommonDialog(this);
    TabOne1 = named(this, "TabOne1", new platform::widgets::TabStrip);
    TabOne1->setCaptions(QStringLiteral("&Formato|&Valores"));
    QWidget *formatPage = TabOne1->page(0);
    TabOne2 = named(formatPage, "TabOne2", new platform::widgets::TabStrip);
    TabOne2->setCaptions(QStringLiteral("&Color|&Fuente|F&ormato|&Estilo"));
    (new QVBoxLayout(formatPage))->addWidget(TabOne2);

    // Colour page.
    QWidget *page = TabOne2->page(0);
    lstColor = named(page, "lstColor", new QListWidget);
    chkSubtotal1 = named(page, "chkSubtotal1", new QCheckBox("Aplicar formato a sub&totales"));
    txtSubtotalNivel = named(page, "txtSubtotalNivel", new QLineEdit);
    Label13 = label(page, "Label13", QStringLiteral("Nivel:"), txtSubtotalNivel);
    {
        auto *layout = new QVBoxLayout(page);
        layout->addWidget(lstColor, 1);
        layout->addLayout(row({chkSubtotal1, Label13, txtSubtotalNivel}));
    }

    // Font page.
    page = TabOne2->page(1);
    lstFont = named(page, "lstFont", new QListWidget);
    chkSubtotal = named(page, "chkSubtotal", new QCheckBox("Aplicar formato a sub&totales"));
    txtSubtotalNivel1 = named(page, "txtSubtotalNivel1", new QLineEdit);
    Label14 = label(page, "Label14", QStringLiteral("Nivel:"), txtSubtotalNivel1);
    {
        auto *layout = new QVBoxLayout(page);
        layout->addWidget(lstFont, 1);
        layout->addLayout(row({chkSubtotal, Label14, txtSubtotalNivel1}));
    }
    for (QLineEdit *box : {txtSubtotalNivel, txtSubtotalNivel1})
        box->setMaximumWidth(60);

    // Number format page.
    page = TabOne2->page(2);
    lstFormat = named(page, "lstFormat", new QListWidget);
    txtCustom = named(page, "txtCustom", new QLineEdit);
    lblCustom = label(page, "lblCustom", QStringLiteral("Custom:"), txtCustom);
    {
        auto *layout = new QVBoxLayout(page);
        layout->addWidget(lstFormat, 1);
        auto *custom = new QHBoxLayout;
        custom->addWidget(lblCustom);
        custom->addWidget(txtCustom, 1);
        layout->addLayout(custom);
    }

    // Style page.
    page = TabOne2->page(3);
    lstAppearance = named(page, "lstAppearance", new QListWidget);
    Label9 = label(page, "Label9", QStringLiteral("E&stilo:"), lstAppearance);
    cmbGridLinesData = named(page, "cmbGridLinesData", new QComboBox);
    Label10 = label(page, "Label10", QStringLiteral("Cuadrícula de los &datos"), cmbGridLinesData);
    cmbGridLines = named(page, "cmbGridLines", new QComboBox);
    Label12 = label(page, "Label12", QStringLiteral("Cuadrícula de los &títulos:"), cmbGridLines);
    txtGridLinesWidth = named(page, "txtGridLinesWidth", new QLineEdit("1"));
    txtGridLinesWidth->setMaximumWidth(60);
    Label11 =
        label(page, "Label11", QStringLiteral("&Ancho de la cuadricula: "), txtGridLinesWidth);
    {
        auto *layout = new QGridLayout(page);
        layout->addWidget(Label9, 0, 0, Qt::AlignTop);
        layout->addWidget(lstAppearance, 0, 1);
        layout->addWidget(Label10, 1, 0);
        layout->addWidget(cmbGridLinesData, 1, 1);
        layout->addWidget(Label12, 2, 0);
        layout->addWidget(cmbGridLines, 2, 1);
        layout->addWidget(Label11, 3, 0);
        layout->addWidget(txtGridLinesWidth, 3, 1, Qt::AlignLeft);
        lstAppearance->setMaximumHeight(70);
    }

    // Values tab: normal values, or the sign and the threshold pages.
    QWidget *values = TabOne1->page(1);
    chkVN = named(values, "chkVN", new QCheckBox("&Valores normales"));
    TabOne3 = named(values, "TabOne3", new platform::widgets::TabStrip);
    TabOne3->setCaptions(QStringLiteral("&Positivo / Negativo|&Semaforo"));
    {
        auto *layout = new QVBoxLayout(values);
        layout->addWidget(chkVN);
        layout->addWidget(TabOne3, 1);
    }
    const QStringList pnTexts{"&Back", "B&ack", "Ba&ck", "&Front", "F&ront", "Fr&ont"};
    const QStringList semaforoTexts{"&Back", "B&ack", "Ba&ck", "&Fore", "F&ore", "Fo&re"};
    page = TabOne3->page(0);
    auto *pnGrid = new QGridLayout(page);
    const QStringList signs{"# < 0", "# = 0", "# > 0"};
    for (int k = 0; k < 6; ++k) {
        cmdPN[k] = pelmora::formButton(page, "", pnTexts[k]);
        cmdPN[k]->setObjectName(QStringLiteral("cmdPN%1").arg(k));
        cmdPN[k]->setCheckable(true);
        pnGrid->addWidget(cmdPN[k], k % 3, 1 + k / 3);
    }
    for (int r = 0; r < 3; ++r) {
        lblPN[r] = label(page, "", signs[r]);
        lblPN[r]->setObjectName(QStringLiteral("Label%1").arg(r + 1));
        pnGrid->addWidget(lblPN[r], r, 0);
    }
    pnGrid->setColumnStretch(3, 1);

    page = TabOne3->page(1);
    auto *semGrid = new QGridLayout(page);
    const QStringList valTexts{"Valor mínimo", "Valor máximo"};
    for (int i = 0; i < 2; ++i) {
        txtVal[i] = named(page, QStringLiteral("txtVal%1").arg(i), new QLineEdit);
        lblVal[i] = label(page, "", valTexts[i], txtVal[i]);
        lblVal[i]->setObjectName(QStringLiteral("Label%1").arg(i + 4));
        semGrid->addWidget(lblVal[i], 0, 2 * i);
        semGrid->addWidget(txtVal[i], 0, 2 * i + 1);
    }
    const QStringList bands{"<= mínimo", "enmedio", ">= máximo"};
    for (int r = 0; r < 3; ++r) {
        lblSemaforo[r] = label(page, "", bands[r]);
        lblSemaforo[r]->setObjectName(QStringLiteral("Label%1").arg(r + 6));
        semGrid->addWidget(lblSemaforo[r], r + 1, 0);
    }
    for (int k = 0; k < 6; ++k) {
        cmdSemaforo[k] = pelmora::formButton(page, "", semaforoTexts[k]);
        cmdSemaforo[k]->setObjectName(QStringLiteral("cmdSemaforo%1").arg(k));
        cmdSemaforo[k]->setCheckable(true);
        semGrid->addWidget(cmdSemaforo[k], 1 + k % 3, 1 + k / 3);
    }

    // The sample grid: 15 rows, 4 columns, one fixed row and one fixed column.
    fg = named(this, "fg", new platform::grid::FlexGrid);
    fg->setRows(15);
    fg->setCols(4);
    fg->setFixedRows(1);
    fg->setFixedCols(1);
    fg->setMinimumSize(380, 330);

    chkSave = named(this, "chkSave", new QCheckBox("&Guardar como predeterminado"));
    chkSave->setChecked(true);
    cmdAceptar = pelmora::formButton(this, "cmdAceptar", QStringLiteral("&Aceptar"));
    cmdCancelar = pelmora::formButton(this, "cmdCancelar", QStringLiteral("&Cancelar"));

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(TabOne1);
    layout->addWidget(fg, 1);
    QHBoxLayout *buttons = pelmora::buttonRow({cmdAceptar, cmdCancelar});
    buttons->insertWidget(0, chkSave);
    layout->addLayout(buttons);
}

void frmFormato::connectHandlers()
{
    // A handler run by a user's action reports its own error and leaves the dialog usable.
    auto on = [this](const char *name, auto handler) {
        return [this, name, handler] {
            pelmora::trapped(QLatin1String(name) + QStringLiteral(": "), [&] { handler(); });
        };
    };
    new ListClick(lstColor, on("lstColor_Click", [this] { lstColor_Click(); }));
    new ListClick(lstFont, on("lstFont_Click", [this] { lstFont_Click(); }));
    new ListClick(lstFormat, on("lstFormat_Click", [this] { lstFormat_Click(); }));
    new ListClick(lstAppearance, on("lstAppearance_Click", [this] { lstAppearance_Click(); }));
    connect(cmbGridLines, &QComboBox::currentIndexChanged, this,
            on("cmbGridLines_Click", [this] { cmbGridLines_Click(); }));
    connect(cmbGridLinesData, &QComboBox::currentIndexChanged, this,
            on("cmbGridLinesData_Click", [this] { cmbGridLinesData_Click(); }));
    connect(txtCustom, &QLineEdit::textChanged, this,
            on("txtCustom_Change", [this] { txtCustom_Change(); }));
    connect(txtGridLinesWidth, &QLineEdit::textChanged, this,
            on("txtGridLinesWidth_Change", [this] { txtGridLinesWidth_Change(); }));
    connect(txtSubtotalNivel, &QLineEdit::textChanged, this,
            on("txtSubtotalNivel_Change", [this] { txtSubtotalNivel_Change(); }));
    connect(txtSubtotalNivel1, &QLineEdit::textChanged, this,
            on("txtSubtotalNivel1_Change", [this] { txtSubtotalNivel1_Change(); }));
    connect(chkSubtotal, &QCheckBox::toggled, this,
            on("chkSubtotal_Click", [this] { chkSubtotal_Click(); }));
    connect(chkSubtotal1, &QCheckBox::toggled, this,
            on("chkSubtotal1_Click", [this] { chkSubtotal1_Click(); }));
    connect(chkVN, &QCheckBox::toggled, this, on("chkVN_Click", [this] { chkVN_Click(); }));
    connect(TabOne3, &platform::widgets::TabStrip::tabSwitch, this,
            on("TabOne3_TabSwitch", [this] { TabOne3_TabSwitch(); }));
    for (int i = 0; i < 2; ++i) {
        connect(txtVal[i], &QLineEdit::textChanged, this,
                on("txtVal_Change", [this, i] { txtVal_Change(i); }));
    }
    connect(txtVal[1], &QLineEdit::editingFinished, this,
            on("txtVal_Change", [this] { keepMaximumAboveMinimum(); }));
    for (int k = 0; k < 6; ++k) {
        connect(cmdPN[k], &QPushButton::clicked, this,
                on("cmdPN_Click", [this, k] { cmdPN_Click(k); }));
        connect(cmdSemaforo[k], &QPushButton::clicked, this,
                on("cmdSemaforo_Click", [this, k] { cmdSemaforo_Click(k); }));
    }
    connect(cmdAceptar, &QPushButton::clicked, this, [this] { cmdAceptar_Click(); });
    connect(cmdCancelar, &QPushButton::clicked, this, [this] { cmdCancelar_Click(); });
}

void frmFormato::Form_Load()
{
    if (vLanguageId != 0)
        return;
    setWindowTitle(QStringLiteral("View format"));
    TabOne1->setCaptions(QStringLiteral("&Format|&Values"));
    TabOne2->setCaptions(QStringLiteral("&Color|&Font|&Format|&Style"));
    for (QCheckBox *box : {chkSubtotal1, chkSubtotal})
        box->setText(QStringLiteral("&Apply subtotal format"));
    for (QLabel *level : {Label13, Label14})
        level->setText(QStringLiteral("&Level:"));
    Label9->setText(QStringLiteral("S&tyle"));
    Label10->setText(QStringLiteral("&Data Grid Lines"));
    Label12->setText(QStringLiteral("&Grid Lines"));
    Label11->setText(QStringLiteral("Grid &Width: "));
    chkVN->setText(QStringLiteral("&Normal values"));
    TabOne3->setCaptions(QStringLiteral("&Positive / Negative|&Semaphore"));
    lblVal[0]->setText(QStringLiteral("Minimum value"));
    lblVal[1]->setText(QStringLiteral("Maximum value"));
    lblSemaforo[0]->setText(QStringLiteral("<= minimum"));
    lblSemaforo[1]->setText(QStringLiteral("in between"));
    lblSemaforo[2]->setText(QStringLiteral(">= maximum"));
    chkSave->setText(QStringLiteral("&Save as default"));
    cmdAceptar->setText(QStringLiteral("&OK"));
    cmdCancelar->setText(QStringLiteral("&Cancel"));
}

void frmFormato::ponElementos()
{
    if (vLanguageId == 0 || vLanguageId == 1) {
        const bool spanish = vLanguageId == 1;
        auto texts = [spanish](const ListTexts &t) { return spanish ? t.spanish : t.english; };
        lstColor->addItems(texts(colorTexts));
        lstFont->addItems(texts(fontTexts));
        lstAppearance->addItems(texts(appearanceTexts));
        for (QComboBox *combo : {cmbGridLinesData, cmbGridLines}) {
            const QSignalBlocker quiet(combo);
            combo->clear();
            combo->addItems(texts(gridLineTexts));
            combo->setCurrentIndex(-1);
        }
    }
    lstFormat->addItems(formatTexts);
    for (QListWidget *list : {lstColor, lstFont, lstAppearance, lstFormat}) {
        const QSignalBlocker quiet(list);
        list->setCurrentRow(-1);
    }
}

FontObject &frmFormato::titleFont()
{
    return pelmora::fontOf(windowFont);
}

int &frmFormato::thresholdColor(int k)
{
    std::array<int *, 6> members{&vThresholdMinBackColor, &vThresholdMedBackColor,
                                 &vThresholdMaxBackColor, &vThresholdMinForeColor,
                                 &vThresholdMedForeColor, &vThresholdMaxForeColor};
    if (k < 0 || k > 5)
        throw platform::Error(QStringLiteral("Subscript out of range"));
    return *members[size_t(k)];
}

bool &frmFormato::thresholdOn(int k)
{
    std::array<bool *, 6> members{&vActThresholdMinBackColor, &vActThresholdMedBackColor,
                                  &vActThresholdMaxBackColor, &vActThresholdMinForeColor,
                                  &vActThresholdMedForeColor, &vActThresholdMaxForeColor};
    if (k < 0 || k > 5)
        throw platform::Error(QStringLiteral("Subscript out of range"));
    return *members[size_t(k)];
}

// --- handlers ---

void frmFormato::lstColor_Click()
{
    // clang-format off
    std::array<int *, 10> members{&vBackColorData,         &vBackColor,
                                  &vBackColorDataSubtotal, &vBackColorSubtotal,
                                  &vForeColorData,         &vForeColor,
                                  &vForeColorDataSubtotal, &vForeColorSubtotal,
                                  &vGridColorData,         &vGridColor};
    // clang-format on
    const int entry = lstColor->currentRow();
    if (entry < 0 || entry >= int(members.size()))
        return;
    int &member = *members[size_t(entry)];
    dlg->setColor(member);
    dlg->setFlags(3);
    dlg->setDialogTitle(QStringLiteral("Color"));
    dlg->showColor();
    if (!dlg->cancelError())
        member = dlg->color();
    actualizaFormato();
}

void frmFormato::cmdPN_Click(int Index)
{
    slotToggle(Index);
}

void frmFormato::cmdSemaforo_Click(int Index)
{
    slotToggle(Index);
}

void frmFormato::slotToggle(int k)
{
    bool &on = thresholdOn(k);
    if (on) {
        on = false;
    } else {
        dlg->setColor(thresholdColor(k));
        dlg->setFlags(3);
        dlg->setDialogTitle(QStringLiteral("Color"));
        // A cancelled colour dialog leaves the slot off: the user chose no colour.
        dlg->setCancelError(true);
        bool chosen = true;
        try {
            dlg->showColor();
        } catch (const platform::Error &) {
            chosen = false; // cancelled: nothing to report
        }
        dlg->setCancelError(false);
        if (chosen) {
            thresholdColor(k) = dlg->color();
            on = true;
        }
    }
    // Both pages edit the same slots; their buttons show the slot's state.
    cmdPN[size_t(k)]->setChecked(on);
    cmdSemaforo[size_t(k)]->setChecked(on);
    actualizaFormato();
}

void frmFormato::ponFontDlg(int row, int col)
{
    dlg->setFontBold(fg->cell(CellSetting::FontBold, row, col).toBool());
    dlg->setFontItalic(fg->cell(CellSetting::FontItalic, row, col).toBool());
    dlg->setFontName(fg->cell(CellSetting::FontName, row, col).toString());
    dlg->setFontSize(float(fg->cell(CellSetting::FontSize, row, col).toDouble()));
    dlg->setFontStrikethrough(fg->cell(CellSetting::FontStrikethrough, row, col).toBool());
    dlg->setFontUnderline(fg->cell(CellSetting::FontUnderline, row, col).toBool());
}

void frmFormato::lstFont_Click()
{
    const int entry = lstFont->currentRow();
    if (entry < 0 || entry >= int(fontCells.size()))
        return;
    ponFontDlg(fontCells[size_t(entry)].first, fontCells[size_t(entry)].second);
    if (vLanguageId == 1)
        dlg->setDialogTitle(QStringLiteral("Fuente"));
    else if (vLanguageId == 0)
        dlg->setDialogTitle(QStringLiteral("Font"));
    dlg->setFlags(3);
    dlg->showFont();
    if (!dlg->cancelError()) {
        std::array<std::shared_ptr<FontObject> *, 4> targets{&vFontData, &windowFont,
                                                             &vFontDataSubtotal, &vFontSubtotal};
        FontObject &font = pelmora::fontOf(*targets[size_t(entry)]);
        font.setBold(dlg->fontBold());
        font.setItalic(dlg->fontItalic());
        font.setName(dlg->fontName());
        font.setSize(dlg->fontSize());
        font.setStrikethrough(dlg->fontStrikethrough());
        font.setUnderline(dlg->fontUnderline());
    }
    actualizaFormato();
}

void frmFormato::lstAppearance_Click()
{
    vAppearance = lstAppearance->currentRow();
    actualizaFormato();
}

void frmFormato::cmbGridLines_Click()
{
    vGridLines = cmbGridLines->currentIndex();
    actualizaFormato();
}

void frmFormato::cmbGridLinesData_Click()
{
    vGridLinesData = cmbGridLinesData->currentIndex();
    actualizaFormato();
}

void frmFormato::lstFormat_Click()
{
    if (QListWidgetItem *item = lstFormat->currentItem())
        vDataFormat = item->text();
    actualizaFormato();
}

void frmFormato::txtCustom_Change()
{
    vDataFormat = txtCustom->text();
    actualizaFormato();
}

qint16 frmFormato::numericBox(QLineEdit *box)
{
    // Setting "1" runs the box's handler again, which stores 1 and repaints.
    if (!runtime::isNumeric(box->text()))
        box->setText(QStringLiteral("1"));
    try {
        return runtime::toInteger(box->text());
    } catch (const platform::Error &) {
        // Beyond the 16-bit range: no usable width or level either, so "1" as for a text.
        box->setText(QStringLiteral("1"));
        return 1;
    }
}

void frmFormato::txtGridLinesWidth_Change()
{
    vGridLinesWidth = numericBox(txtGridLinesWidth);
    actualizaFormato();
}

void frmFormato::txtSubtotalNivel_Change()
{
    const qint16 level = numericBox(txtSubtotalNivel);
    txtSubtotalNivel1->setText(txtSubtotalNivel->text());
    vFormatSubtotalLevel = level;
    actualizaFormato();
}

void frmFormato::txtSubtotalNivel1_Change()
{
    const qint16 level = numericBox(txtSubtotalNivel1);
    txtSubtotalNivel->setText(txtSubtotalNivel1->text());
    vFormatSubtotalLevel = level;
    actualizaFormato();
}

void frmFormato::chkSubtotal_Click()
{
    vFormatSubtotal = chkSubtotal->isChecked();
    chkSubtotal1->setChecked(chkSubtotal->isChecked());
    actualizaFormato();
}

void frmFormato::chkSubtotal1_Click()
{
    vFormatSubtotal = chkSubtotal1->isChecked();
    chkSubtotal->setChecked(chkSubtotal1->isChecked());
    actualizaFormato();
}

void frmFormato::chkVN_Click()
{
    if (chkVN->isChecked())
        vValueType = 0;
    else
        vValueType = TabOne3->currentTab() == 0 ? 1 : 2;
    actualizaFormato();
}

void frmFormato::TabOne3_TabSwitch()
{
    chkVN_Click();
}

void frmFormato::txtVal_Change(int Index)
{
    QLineEdit *box = txtVal[size_t(Index)];
    qint32 &kept = m_kept[size_t(Index)];
    if (!runtime::isNumeric(box->text())) {
        if (vLanguageId == 0)
            platform::forms::msgBox(QStringLiteral("The value must be numeric"));
        else if (vLanguageId == 1)
            platform::forms::msgBox(QStringLiteral("El valor debe ser númerico"));
        box->setText(QString::number(kept));
    }
    kept = wholeOr(box->text(), kept);
    // A maximum being typed is checked against the minimum only once the box is left (or on OK):
    // checked on every key, its first digit would already fall below the minimum and be
    // replaced. A text set by code is complete and is checked at once.
    if (Index == 1 && !box->isModified())
        keepMaximumAboveMinimum();
    actualizaFormato();
}

void frmFormato::keepMaximumAboveMinimum()
{
    if (pelmora::thresholdNumber(txtVal[0]->text()) > pelmora::thresholdNumber(txtVal[1]->text()))
        txtVal[1]->setText(txtVal[0]->text());
}

void frmFormato::cmdAceptar_Click()
{
    keepMaximumAboveMinimum();
    vOK = true;
    accept();
}

void frmFormato::cmdCancelar_Click()
{
    vOK = false;
    reject();
}
