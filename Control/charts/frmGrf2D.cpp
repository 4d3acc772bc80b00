#include "Control/charts/frmGrf2D.h"

#include "Control/charts/ChartEditorTexts.h"
#include "Control/core/FormParts.h"
#include "platform/chart/Chart2D.h"
#include "platform/forms/MsgBox.h"
#include "platform/runtime/Error.h"
#include "platform/widgets/CommonDialog.h"
#include "platform/widgets/ElasticPanel.h"
#include "platform/widgets/TabStrip.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPrinterInfo>
#include <QPushButton>
#include <QShowEvent>

using platform::widgets::ElasticPanel;
namespace texts = pelmora::charteditor;

namespace {

// The action calls that prepare the preview chart's gestures, in their order.
constexpr qint32 previewActions[] = {62, 82, 83, 401, 402, 14};

constexpr int tabsHeight = 6300; // twips

const QString formatFilter = QStringLiteral("Archivo OC2 (*.oc2)|*.oc2");

QString designCaption(const char *name)
{
    for (const texts::Caption &caption : texts::captions()) {
        if (qstrcmp(caption.control, name) == 0)
            return QString::fromUtf16(caption.spanish);
    }
    return QString();
}

QString arrayName(const char *name, int index)
{
    return QStringLiteral("%1(%2)").arg(QLatin1String(name)).arg(index);
}

// The English items a list is designed with.
QStringList designItems(const QString &name)
{
    for (const texts::ListItems &list : texts::lists()) {
        if (list.control == name)
            return list.english;
    }
    return {};
}

// Lays out one tab's page: sections in two columns, each a heading and rows of a caption, a
// field and an optional button.
class PageBuilder
{
public:
    explicit PageBuilder(QWidget *page) : m_grid(new QGridLayout(page))
    {
        m_grid->setColumnStretch(1, 1);
        m_grid->setColumnStretch(4, 1);
    }
    ~PageBuilder() { m_grid->setRowStretch(qMax(m_rows[0], m_rows[1]), 1); }
    PageBuilder &column(int c)
    {
        m_column = c;
        return *this;
    }
    // A section heading: the design label of that name, in bold.
    PageBuilder &heading(const char *labelName)
    {
        auto *l = label(labelName);
        QFont f = l->font();
        f.setBold(true);
        l->setFont(f);
        m_grid->addWidget(l, m_rows[m_column]++, 3 * m_column, 1, 3);
        return *this;
    }
    PageBuilder &row(QWidget *caption, QWidget *field, QWidget *button = nullptr)
    {
        const int r = m_rows[m_column]++;
        if (caption)
            m_grid->addWidget(caption, r, 3 * m_column);
        if (field)
            m_grid->addWidget(field, r, 3 * m_column + 1, 1, button ? 1 : 2);
        if (button)
            m_grid->addWidget(button, r, 3 * m_column + 2);
        return *this;
    }
    PageBuilder &row(const char *labelName, QWidget *field, QWidget *button = nullptr)
    {
        return row(label(labelName), field, button);
    }
    PageBuilder &wide(QWidget *widget)
    {
        m_grid->addWidget(widget, m_rows[m_column]++, 3 * m_column, 1, 3);
        return *this;
    }
    QLabel *label(const char *name)
    {
        auto *l = new QLabel(designCaption(name));
        l->setObjectName(QLatin1String(name));
        return l;
    }

private:
    QGridLayout *m_grid;
    int m_column = 0;
    int m_rows[2] = {0, 0};
};

template <typename Widget>
Widget *element(ControlArray<Widget> &array, const char *name, int index, Widget *widget)
{
    widget->setObjectName(arrayName(name, index));
    array.add(index, widget);
    return widget;
}

} // namespace

frmGrf2D::frmGrf2D(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmGrf2D"));
    setWindowTitle(texts::dialogCaptionSpanish);
    buildControls();
    connectHandlers();
    resize(800, 880);
}

frmGrf2D::~frmGrf2D() = default;

void frmGrf2D::buildControls()
{
    auto combo = [this](ControlArray<QComboBox> &array, const char *name, int index) {
        auto *c = element(array, name, index, new QComboBox);
        c->addItems(designItems(arrayName(name, index)));
        c->setCurrentIndex(-1);
        return c;
    };
    auto text = [](ControlArray<QLineEdit> &array, const char *name, int index) {
        return element(array, name, index, new QLineEdit);
    };
    auto check = [](ControlArray<QCheckBox> &array, const char *name, int index,
                    const char16_t *caption) {
        return element(array, name, index, new QCheckBox(QString::fromUtf16(caption)));
    };
    auto browse = [](ControlArray<QPushButton> &array, const char *name, int index) {
        auto *b = element(array, name, index, new QPushButton(QStringLiteral("...")));
        b->setAutoDefault(false);
        b->setMaximumWidth(32);
        return b;
    };
    // The label that shows a colour, a font or a file beside its button.
    auto shows = [](ControlArray<QLabel> &array, const char *name, int index) {
        auto *l = element(array, name, index, new QLabel);
        l->setFrameShape(QFrame::Panel);
        l->setFrameShadow(QFrame::Sunken);
        l->setMinimumWidth(60);
        l->setAutoFillBackground(true);
        return l;
    };
    auto colourFront = [&](int i) { return shows(lblColorFrente, "lblColorFrente", i); };
    auto colourBack = [&](int i) { return shows(lblColorFondo, "lblColorFondo", i); };
    auto front = [&](int i) { return browse(cmdColorFrente, "cmdColorFrente", i); };
    auto back = [&](int i) { return browse(cmdColorFondo, "cmdColorFondo", i); };
    auto font = [&](int i) { return browse(cmdFuente, "cmdFuente", i); };
    auto fontShown = [&](int i) { return shows(lblFuente, "lblFuente", i); };

    ElasticOne1 = new ElasticPanel(this);
    ElasticOne1->setObjectName(QStringLiteral("ElasticOne1"));
    auto *outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(ElasticOne1);

    ElasticOne9 = new ElasticPanel;
    ElasticOne9->setObjectName(QStringLiteral("ElasticOne9"));
    grf2d = new platform::chart::Chart2D;
    grf2d->setObjectName(QStringLiteral("grf2d"));
    grf2d->setMinimumHeight(200);
    ElasticOne9->addPane(grf2d);
    ElasticOne1->addPane(ElasticOne9);

    tabs = new platform::widgets::TabStrip;
    tabs->setObjectName(QStringLiteral("tabs"));
    const char *panelNames[] = {"ElasticOne2",  "ElasticOne3", "ElasticOne4",  "ElasticOne5",
                                "ElasticOne6",  "ElasticOne7", "ElasticOne12", "ElasticOne8",
                                "ElasticOne10", "ElasticOne11"};
    QList<QWidget *> contents;
    for (const char *panelName : panelNames) {
        auto *panel = new ElasticPanel;
        panel->setObjectName(QLatin1String(panelName));
        auto *content = new QWidget;
        panel->addPane(content);
        auto *holder = new QVBoxLayout(tabs->addTab(QString()));
        holder->setContentsMargins(0, 0, 0, 0);
        holder->addWidget(panel);
        pages << panel;
        contents << content;
    }
    tabs->setCaptions(texts::tabsSpanish);
    // The pages keep a fixed height (the tallest page's rows); the preview takes the rest.
    ElasticOne1->addPane(tabs, tabsHeight);

    dlg = new platform::widgets::CommonDialog(this);
    dlg->setObjectName(QStringLiteral("dlg"));

    // Chart.
    {
        PageBuilder p(contents[0]);
        p.heading("Label15").row("Label1", combo(cmbGraficaTipo, "cmbGraficaTipo", 0));
        chkGraficaIsStacked = new QCheckBox(QStringLiteral("Apilada"));
        chkGraficaIsStacked->setObjectName(QStringLiteral("chkGraficaIsStacked"));
        p.wide(chkGraficaIsStacked);
        p.wide(check(chkHorizontal, "chkHorizontal", 0, u"Es horizontal"));
        p.heading("Label14");
        cmdAbrir = pelmora::formButton(nullptr, "cmdAbrir", QStringLiteral("A&brir"));
        cmdGuardar = pelmora::formButton(nullptr, "cmdGuardar", QStringLiteral("&Salvar"));
        p.row(cmdAbrir, cmdGuardar);
        p.column(1).heading("Label2").row("Label4", combo(cmbBorde, "cmbBorde", 0));
        p.row("Label5", text(txtBorde, "txtBorde", 0));
        p.heading("Label12").row("Label8", colourFront(0), front(0));
        p.row("Label7", colourBack(0), back(0));
        p.heading("Label13").row("Label10", shows(lblArchivo, "lblArchivo", 0),
                                 browse(cmdArchivo, "cmdArchivo", 0));
        p.row("Label11", combo(cmbArchivo, "cmbArchivo", 0));
    }
    // Header, Footer and Legend: the same set with the element's index.
    struct TitleLabels
    {
        const char *title, *alignFrame, *align, *font, *border, *type, *width, *colour, *front,
            *back, *picture, *file, *layout;
    };
    const TitleLabels titleLabels[] = {
        {"Label6", "Label9", "Label3", "Label21", "Label18", "Label26", "Label25", "Label17",
         "Label23", "Label24", "Label16", "Label20", "Label19"},
        {"Label44", "Label43", "Label33", "Label32", "Label40", "Label34", "Label35", "Label41",
         "Label37", "Label36", "Label42", "Label38", "Label39"},
        {"Label45", "Label46", "Label56", "Label57", "Label49", "Label55", "Label54", "Label48",
         "Label52", "Label53", "Label47", "Label51", "Label50"},
    };
    for (int i = 1; i <= 3; ++i) {
        const TitleLabels &l = titleLabels[i - 1];
        PageBuilder p(contents[i]);
        p.wide(check(chkIsShowing, "chkIsShowing", i, u"Se muestra"));
        p.heading(l.title).wide(text(txtTexto, "txtTexto", i));
        p.heading(l.alignFrame).row(l.align, combo(cmbAlineacion, "cmbAlineacion", i));
        p.row(l.font, fontShown(i), font(i));
        if (i == 3)
            p.heading("Label58").wide(combo(cmbPosicion, "cmbPosicion", 0));
        p.column(1).heading(l.border).row(l.type, combo(cmbBorde, "cmbBorde", i));
        p.row(l.width, text(txtBorde, "txtBorde", i));
        p.heading(l.colour).row(l.front, colourFront(i), front(i));
        p.row(l.back, colourBack(i), back(i));
        p.heading(l.picture).row(l.file, shows(lblArchivo, "lblArchivo", i),
                                 browse(cmdArchivo, "cmdArchivo", i));
        p.row(l.layout, combo(cmbArchivo, "cmbArchivo", i));
    }
    // An axis's line and grid (right column): its lines are cmbLinea, txtLinea and
    // cmdColorFrente 2 axis, 2 axis + 1 (from 4 for the colours), its grid spacing txtCuadricula.
    struct AxisLabels
    {
        const char *line, *lineStyle, *lineWidth, *lineColour, *grid, *gridStyle, *gridWidth,
            *gridColour, *spacing;
    };
    auto axisLines = [&](PageBuilder &p, const AxisLabels &l, int axis) {
        const int first = 2 * axis;
        p.column(1).heading(l.line).row(l.lineStyle, combo(cmbLinea, "cmbLinea", first));
        p.row(l.lineWidth, text(txtLinea, "txtLinea", first));
        p.row(l.lineColour, colourFront(first + 4), front(first + 4));
        p.heading(l.grid).row(l.gridStyle, combo(cmbLinea, "cmbLinea", first + 1));
        p.row(l.gridWidth, text(txtLinea, "txtLinea", first + 1));
        p.row(l.gridColour, colourFront(first + 5), front(first + 5));
        p.row(l.spacing, text(txtCuadricula, "txtCuadricula", axis));
    };
    // X Axis.
    {
        PageBuilder p(contents[4]);
        p.wide(check(chkIsShowing, "chkIsShowing", 4, u"Se muestra"));
        p.heading("Label61").wide(text(txtTexto, "txtTexto", 4));
        p.row("Label63", fontShown(4), font(4)).row("Label62", fontShown(5), font(5));
        p.row("Label92", text(txtRotacion, "txtRotacion", 0));
        p.wide(check(chkEjeY, "chkEjeY", 3, u"Al reves"));
        axisLines(p,
                  {"Label64", "Label66", "Label67", "Label68", "Label69", "Label70", "Label71",
                   "Label72", "Label65"},
                  0);
    }
    // Y Axis.
    {
        PageBuilder p(contents[5]);
        p.wide(check(chkIsShowing, "chkIsShowing", 5, u"Se muestra"));
        p.heading("Label86").wide(text(txtTexto, "txtTexto", 5));
        p.row("Label85", fontShown(6), font(6)).row("Label82", fontShown(7), font(7));
        p.row("Label91", text(txtRotacion, "txtRotacion", 1));
        p.row("Label89", combo(cmbRotacion, "cmbRotacion", 0));
        p.wide(check(chkEjeY, "chkEjeY", 0, u"Logarítmica"));
        p.wide(check(chkEjeY, "chkEjeY", 1, u"100 porciento"));
        p.wide(check(chkEjeY, "chkEjeY", 2, u"Al reves"));
        p.heading("Label74").row("Label109", text(txtFormato, "txtFormato", 0),
                                 combo(cmbFormato, "cmbFormato", 0));
        p.row("Label87", text(txtValor, "txtValor", 0));
        p.row("Label88", text(txtValor, "txtValor", 1));
        axisLines(p,
                  {"Label84", "Label77", "Label76", "Label75", "Label78", "Label81", "Label80",
                   "Label79", "Label83"},
                  1);
    }
    // Style.
    {
        PageBuilder p(contents[6]);
        p.wide(check(chkColor, "chkColor", 0, u"Color"));
        p.wide(check(chkColor, "chkColor", 1, u"Blanco y negro"));
        p.wide(check(chkColor, "chkColor", 2, u"Mostrar patrones"));
        p.wide(check(chkColor, "chkColor", 3, u"Mostrar patrones"));
        p.wide(check(chkColor, "chkColor", 4, u"Mostrar símbolos"));
        p.wide(check(chkColor, "chkColor", 5, u"Color de fondo"));
        p.wide(check(chkColor, "chkColor", 6, u"Color de frente"));
        p.heading("Label133")
            .row("Label134", shows(lblMapa, "lblMapa", 0), browse(cmdMapa, "cmdMapa", 0));
        p.column(1).heading("Label135").row("Label136", colourBack(5), back(5));
        p.row("Label137", colourFront(11), front(11));
        p.heading("Label138").row("Label139", colourFront(12), front(12));
        p.row("Label140", text(txtLinea, "txtLinea", 6));
        p.heading("Label141").row("Label144", colourFront(13), front(13));
        p.row("Label142", text(txtLinea, "txtLinea", 7));
    }
    // Series.
    {
        PageBuilder p(contents[7]);
        p.heading("Label94").wide(element(lstSeries, "lstSeries", 0, new QListWidget));
        lstSeries(0)->setMinimumHeight(300);
        p.column(1).heading("Label96").row("Label95", combo(cmbPatron, "cmbPatron", 0));
        p.row("Label97", colourFront(8), front(8)).row("Label108", colourBack(4), back(4));
        p.row("Label107", shows(lblArchivo, "lblArchivo", 4), browse(cmdArchivo, "cmdArchivo", 4));
        p.heading("Label98").row("Label99", combo(cmbPatron, "cmbPatron", 1));
        p.row("Label101", text(txtLinea, "txtLinea", 4)).row("Label100", colourFront(9), front(9));
        p.heading("Label102").row("Label103", combo(cmbPatron, "cmbPatron", 2));
        p.row("Label105", text(txtLinea, "txtLinea", 5));
        p.row("Label104", colourFront(10), front(10));
    }
    // Data.
    {
        PageBuilder p(contents[8]);
        p.heading("Label131").wide(check(chkMarco, "chkMarco", 0, u"Marco alrededor de los datos"));
        p.heading("Label115").row("Label130", combo(cmbBorde, "cmbBorde", 4));
        p.row("Label129", text(txtBorde, "txtBorde", 4));
        auto *effect = element(cmb3D, "cmb3D", 0, new QComboBox);
        effect->addItems(texts::effect3DSpanish);
        p.column(1).heading("Label110").row("Label114", effect);
        // Depth ("Fondo:"), elevation and rotation of the 3-D view.
        p.row("Label111", text(txt3D, "txt3D", 0)).row("Label112", text(txt3D, "txt3D", 1));
        p.row("Label113", text(txt3D, "txt3D", 2));
    }
    // Movements: the preview chart's gestures.
    {
        PageBuilder p(contents[9]);
        const char *pairs[][2] = {{"Label116", "Label117"}, {"Label118", "Label119"},
                                  {"Label120", "Label121"}, {"Label122", "Label123"},
                                  {"Label124", "Label125"}, {"Label126", "Label127"}};
        for (const auto &pair : pairs) {
            p.heading(pair[0]);
            QLabel *explanation = p.label(pair[1]);
            explanation->setWordWrap(true);
            p.wide(explanation);
        }
    }

    auto *bottom = new QWidget;
    bottom->setObjectName(QStringLiteral("commands"));
    auto *row = new QHBoxLayout(bottom);
    chkSave = new QCheckBox(QStringLiteral("Guardar como default"));
    chkSave->setObjectName(QStringLiteral("chkSave"));
    chkUpdate = new QCheckBox(QStringLiteral("Modificar gráfica"));
    chkUpdate->setObjectName(QStringLiteral("chkUpdate"));
    cmdCopiar = pelmora::formButton(bottom, "cmdCopiar", QStringLiteral("Co&piar"));
    cmdImprimir = pelmora::formButton(bottom, "cmdImprimir", QStringLiteral("&Imprimir"));
    cmdExportar = pelmora::formButton(bottom, "cmdExportar", QStringLiteral("&Exportar"));
    cmdOK = pelmora::formButton(bottom, "cmdOK", QStringLiteral("&Aceptar"));
    cmdCancel = pelmora::formButton(bottom, "cmdCancel", QStringLiteral("&Cancelar"));
    row->addWidget(chkSave);
    row->addWidget(cmdCopiar);
    row->addWidget(cmdImprimir);
    row->addWidget(cmdExportar);
    row->addStretch(1);
    row->addWidget(chkUpdate);
    row->addWidget(cmdOK);
    row->addWidget(cmdCancel);
    ElasticOne1->addPane(bottom, ElasticPanel::NaturalSize);
}

void frmGrf2D::connectHandlers()
{
    connect(cmdOK, &QPushButton::clicked, this, &frmGrf2D::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmGrf2D::cmdCancel_Click);
    connect(cmdAbrir, &QPushButton::clicked, this, &frmGrf2D::cmdAbrir_Click);
    connect(cmdGuardar, &QPushButton::clicked, this, &frmGrf2D::cmdGuardar_Click);
    connect(cmdExportar, &QPushButton::clicked, this, &frmGrf2D::cmdExportar_Click);
    connect(cmdCopiar, &QPushButton::clicked, this, &frmGrf2D::cmdCopiar_Click);
    connect(cmdImprimir, &QPushButton::clicked, this, &frmGrf2D::cmdImprimir_Click);
    for (const int i : cmdMapa.indexes())
        connect(cmdMapa(i), &QPushButton::clicked, this, [this, i] { cmdMapa_Click(i); });
    // Option controls and the colour, font and picture buttons.
    connect(cmbGraficaTipo(0), &QComboBox::activated, this, [this] {
        underTrap("cmbGraficaTipo_Click", [this] { cmbGraficaTipo_Click(0); });
        showAutomaticBounds();
    });
    connectOptionsAndButtons();
    // The series list and the text fields.
    connectFieldHandlers();
}

void frmGrf2D::showEvent(QShowEvent *event)
{
    if (!m_loaded)
        Form_Load();
    QDialog::showEvent(event);
}

void frmGrf2D::Form_Load()
{
    if (m_loaded)
        return;
    m_loaded = true;
    setLanguage(vLanguageId);
    initMaps();
    for (const qint32 code : previewActions)
        grf2d->callAction(code, false);
    // A file that cannot be read leaves the preview as it was made.
    grf2d->loadFormat(vArchivo);
    loadFromChart();
}

void frmGrf2D::cmdOK_Click()
{
    // The caller reads the edited chart from this file: a failed write is said, and the dialog
    // stays open so that the edits can still be saved elsewhere.
    if (!grf2d->saveFormat(vArchivo)) {
        platform::forms::msgBox((vLanguageId == 0
                                     ? QStringLiteral("The chart format could not be written to ")
                                     : QStringLiteral("No se pudo escribir el formato en "))
                                + vArchivo);
        return;
    }
    vOK = true;
    hide();
}

void frmGrf2D::cmdCancel_Click()
{
    vOK = false;
    hide();
}

void frmGrf2D::cmdAbrir_Click()
{
    dlg->setDialogTitle(QStringLiteral("Abrir formato"));
    dlg->setCancelError(false);
    dlg->setFilter(formatFilter);
    dlg->setFileName(QString());
    dlg->showOpen();
    // A cancelled dialog leaves the name empty: nothing is loaded and the controls stay.
    if (!dlg->fileName().isEmpty() && grf2d->loadFormat(dlg->fileName()))
        loadFromChart();
}

void frmGrf2D::cmdGuardar_Click()
{
    dlg->setDialogTitle(QStringLiteral("Guardar formato"));
    dlg->setCancelError(true);
    dlg->setFileName(QString());
    dlg->setFilter(formatFilter);
    try {
        dlg->showSave();
    } catch (const platform::Error &) {
        return; // cancelled: nothing is saved
    }
    grf2d->saveFormat(dlg->fileName());
}

void frmGrf2D::cmdExportar_Click()
{
    if (vLanguageId != 1) {
        dlg->setDialogTitle(QStringLiteral("Image Export"));
        dlg->setFilter(QStringLiteral("JPG File (*.jpg)|*.jpg|PNG File (*.png)|*.png|"
                                      "Windows bitmap file (*.bmp)|*.bmp|"
                                      "Windows metafile file (*.wmf)|*.wmf"));
    } else {
        dlg->setDialogTitle(QStringLiteral("Exporta imagen"));
        dlg->setFilter(QStringLiteral("Archivo JPG (*.jpg)|*.jpg|Archivo PNG (*.png)|*.png|"
                                      "Bitmap de windows (*.bmp)|*.bmp|"
                                      "Archivo windows metafile (*.wmf)|*.wmf"));
    }
    dlg->setCancelError(true);
    dlg->setFileName(QString());
    try {
        dlg->showSave();
    } catch (const platform::Error &) {
        return; // cancelled: nothing is written
    }
    const QString file = dlg->fileName();
    switch (dlg->filterIndex()) {
    case 1:
        grf2d->saveJpeg(file, 80);
        break;
    case 2:
        grf2d->savePng(file);
        break;
    case 3:
        grf2d->savePicture(file, 1);
        break;
    case 4:
        grf2d->savePicture(file, 2);
        break;
    default:
        break;
    }
}

void frmGrf2D::cmdCopiar_Click()
{
    grf2d->copyToClipboard();
}

void frmGrf2D::cmdImprimir_Click()
{
    if (grf2d->printChart())
        return;
    // Said, so that a missing printer is not taken for a printout on its way.
    const bool noPrinter = QPrinterInfo::availablePrinterNames().isEmpty();
    const bool english = vLanguageId == 0;
    QString text;
    if (noPrinter)
        text = english ? QStringLiteral("No printer is set up: the chart was not printed.")
                       : QStringLiteral("No hay ninguna impresora instalada: la gráfica no se "
                                        "imprimió.");
    else
        text = english ? QStringLiteral("The chart could not be printed.")
                       : QStringLiteral("No se pudo imprimir la gráfica.");
    platform::forms::msgBox(text, platform::forms::Exclamation);
}

void frmGrf2D::cmdMapa_Click(int Index)
{
    dlg->setDialogTitle(QStringLiteral("Mapa de colores"));
    dlg->setCancelError(false);
    dlg->setFilter(QStringLiteral("Mapa de colores (*.map)|*.map|Todos los archivos (*.*)|*.*"));
    dlg->setFileName(lblMapa(Index)->text());
    dlg->showOpen();
    // A cancelled dialog keeps the old name, so the current map is applied again.
    lblMapa(Index)->setText(dlg->fileName());
    if (Index == 0)
        cargaMapa(dlg->fileName());
}

void frmGrf2D::cmbGraficaTipo_Click(int Index)
{
    const int position = cmbGraficaTipo(Index)->currentIndex();
    if (position >= 0)
        grf2d->chartGroups().item(1).setChartType(position + 1);
}

void frmGrf2D::setLanguage(int languageId)
{
    if (languageId == 0) {
        setWindowTitle(texts::dialogCaptionEnglish);
        for (const texts::Caption &caption : texts::captions()) {
            auto *control = findChild<QWidget *>(QLatin1String(caption.control));
            const QString english = QString::fromUtf16(caption.english);
            if (auto *l = qobject_cast<QLabel *>(control))
                l->setText(english);
            else if (auto *b = qobject_cast<QAbstractButton *>(control))
                b->setText(english);
        }
        tabs->setCaptions(texts::tabsEnglish);
        cmb3D(0)->clear();
        cmb3D(0)->addItems(texts::effect3DEnglish);
        cmb3D(0)->setCurrentIndex(-1);
        return;
    }
    for (const texts::ListItems &list : texts::lists()) {
        if (auto *combo = findChild<QComboBox *>(list.control)) {
            combo->clear();
            combo->addItems(list.spanish);
            combo->setCurrentIndex(-1);
        }
    }
}

void frmGrf2D::initMaps()
{
    mapaDef = pelmora::defaultColourTable();
    mapaBN = pelmora::greyTable();
}

void frmGrf2D::cargaMapaDef()
{
    grf2d->setIsBatched(true);
    pelmora::applyDefaultMap(grf2d->chartGroups().item(1), mapaDef);
    grf2d->setIsBatched(false);
}

void frmGrf2D::cargaMapaBN()
{
    grf2d->setIsBatched(true);
    pelmora::applyGreyMap(grf2d->chartGroups().item(1), mapaBN);
    grf2d->setIsBatched(false);
}

void frmGrf2D::cargaMapa(const QString &archivo)
{
    grf2d->setIsBatched(true);
    try {
        pelmora::applyMapFile(grf2d->chartGroups().item(1), archivo);
    } catch (...) {
        // A map that cannot be applied stops quietly; the series coloured so far keep theirs.
    }
    grf2d->setIsBatched(false);
}
