#pragma once

#include "Control/charts/ColourMaps.h"
#include "Control/charts/ControlArray.h"
#include "Control/core/ErrorTrap.h"

#include <QDialog>
#include <QString>

#include <functional>

class QCheckBox;
class QComboBox;
class QFont;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace platform::chart {
class Axis;
class Border;
class Chart2D;
class Font;
class Interior;
class TextBox;
} // namespace platform::chart
namespace platform::widgets {
class CommonDialog;
class ElasticPanel;
class TabStrip;
} // namespace platform::widgets

// The chart format editor: a preview chart and ten tabs of option controls that edit it. The
// caller sets vArchivo (a chart format file) and vLanguageId, shows the dialog modally and reads
// vOK and chkSave back; the dialog loads vArchivo into the preview when it loads and writes the
// preview back into it on OK.
//
// Options that several chart elements have are control arrays; the index names the element
// (1 header, 2 footer, 3 legend; 0 the whole chart on the Chart tab).
class frmGrf2D : public QDialog
{
    Q_OBJECT

public:
    explicit frmGrf2D(QWidget *parent = nullptr);
    ~frmGrf2D() override;

    int vLanguageId = 0;
    QString vArchivo;
    bool vOK = false;

    // Captions, colour tables, the preview's gestures, the file and the controls. Runs once,
    // when the dialog is first shown, or earlier by a caller that needs the loaded controls.
    // A window built on the editor may replace the load and the OK and Cancel commands.
    virtual void Form_Load();
    bool loaded() const { return m_loaded; }

    virtual void cmdOK_Click();
    virtual void cmdCancel_Click();
    void cmdAbrir_Click();
    void cmdGuardar_Click();
    void cmdExportar_Click();
    void cmdCopiar_Click();
    void cmdImprimir_Click();
    void cmdMapa_Click(int Index);
    void cmbGraficaTipo_Click(int Index);

    // Language 0 English captions; any other Spanish lists (positions are the same).
    void setLanguage(int languageId);
    void initMaps();
    void cargaMapaDef();
    void cargaMapaBN();
    void cargaMapa(const QString &archivo);
    static qint32 elColor(QString &linea) { return pelmora::elColor(linea); }

    // Option check boxes and lists, and the colour, font and picture buttons: each writes its
    // control's value into the preview chart at once. A list with nothing selected writes
    // nothing; a value the chart refuses is reported in a message box headed by the handler's
    // name. The check boxes and lists run on the user's click or choice, not when code sets them.
    void chkColor_Click(int Index);
    void chkEjeY_Click(int Index);
    void chkGraficaIsStacked_Click();
    void chkHorizontal_Click(int Index);
    void chkIsShowing_Click(int Index);
    void chkMarco_Click(int Index);
    // Opens or closes the strip beside the preview, widening or narrowing the dialog with it.
    void chkUpdate_Click();
    void cmb3D_Click(int Index);
    void cmbAlineacion_Click(int Index);
    void cmbArchivo_Click(int Index);
    void cmbBorde_Click(int Index);
    void cmbFormato_Click(int Index);
    void cmbLinea_Click(int Index);
    void cmbPatron_Click(int Index);
    void cmbPosicion_Click(int Index);
    void cmbRotacion_Click(int Index);
    // The buttons start their dialog from their label's colour or font and change the label and
    // the chart element together; a cancelled dialog changes neither.
    void cmdColorFondo_Click(int Index);
    void cmdColorFrente_Click(int Index);
    void cmdFuente_Click(int Index);
    void cmdArchivo_Click(int Index);
    // The font a font sample label shows, from a chart font; the font chosen in the common
    // dialog into a chart font or a label's font (weight and character set untouched).
    static void copiaFont(const platform::chart::Font &source, QFont &target);
    static void copiaFontDlg(platform::chart::Font &font,
                             const platform::widgets::CommonDialog &dialog);
    static void copiaFontDlg(QFont &font, const platform::widgets::CommonDialog &dialog);
    // The colour (0x00BBGGRR) a colour swatch label shows.
    static qint32 swatchColor(const QLabel *label);
    static void setSwatchColor(QLabel *label, qint32 color);
    // The series selected in lstSeries(0), counted from 1; 0 when none is.
    int selectedSeries() const;
    // The width of the strip that chkUpdate opens, in twips.
    static constexpr int updateStripWidth = 3240;

    // The dialog's frame.
    platform::widgets::ElasticPanel *ElasticOne1;
    platform::widgets::ElasticPanel *ElasticOne9;
    platform::chart::Chart2D *grf2d;
    platform::widgets::TabStrip *tabs;
    platform::widgets::CommonDialog *dlg;
    // The page of each tab, in tab order: ElasticOne2 to 8 and 10 to 12 as the tabs show them.
    QList<platform::widgets::ElasticPanel *> pages;
    QCheckBox *chkSave;
    QCheckBox *chkUpdate;
    QPushButton *cmdCopiar;
    QPushButton *cmdImprimir;
    QPushButton *cmdExportar;
    QPushButton *cmdOK;
    QPushButton *cmdCancel;
    QPushButton *cmdAbrir;
    QPushButton *cmdGuardar;
    QCheckBox *chkGraficaIsStacked;

    ControlArray<QComboBox> cmbGraficaTipo, cmbBorde, cmbArchivo, cmbAlineacion, cmbPosicion,
        cmbLinea, cmbRotacion, cmbFormato, cmbPatron, cmb3D;
    ControlArray<QLineEdit> txtBorde, txtTexto, txtRotacion, txtLinea, txtCuadricula, txtFormato,
        txtValor, txt3D;
    ControlArray<QCheckBox> chkHorizontal, chkIsShowing, chkEjeY, chkColor, chkMarco;
    ControlArray<QPushButton> cmdColorFrente, cmdColorFondo, cmdArchivo, cmdFuente, cmdMapa;
    ControlArray<QLabel> lblColorFrente, lblColorFondo, lblArchivo, lblFuente, lblMapa;
    ControlArray<QListWidget> lstSeries;

    // The colour tables (initMaps).
    pelmora::MapTable mapaDef{};
    pelmora::MapTable mapaBN{};

protected:
    void showEvent(QShowEvent *event) override;

    // Set by the first Form_Load.
    bool m_loaded = false;

private:
    void buildControls();
    void connectHandlers();

    // The chart's elements by the index of the controls that edit them, null for an index
    // without one: the text box 1 (header), 2 (footer) or 3 (legend); the axis whose title
    // 4 (X) or 5 (Y) edits; the interior of 0 (chart) or a text box; the border of 0 (chart), a
    // text box or 4 (data area); the font of a text box, 4 (X labels), 5 (X title), 6 (Y labels)
    // or 7 (Y title).
    platform::chart::TextBox *elementTextBox(int index);
    platform::chart::Axis *titledAxis(int index);
    platform::chart::Interior *elementInterior(int index);
    platform::chart::Border *elementBorder(int index);
    platform::chart::Font *elementFont(int index);
    // Runs an event's work under the handler's error trap.
    template <typename Procedure>
    static void underTrap(const char *handler, Procedure &&procedure)
    {
        pelmora::trapped(QLatin1String(handler) + QStringLiteral(": "), procedure);
    }
    void connectOptionsAndButtons();

    // The series list, the text fields and the filling of every control from the chart.
public:
    // Sets every control that shows a chart setting from the preview chart, without writing
    // into the chart: the controls' handlers are held back while they are filled.
    void loadFromChart();
    // The Y bound fields of automatic bounds show the bounds the axis is drawn with (which the
    // data, the chart type, the axis's scale and its grid spacing decide); such a bound stays
    // automatic until its field is typed in.
    void showAutomaticBounds();
    // A row of the series list chosen: the Series tab's controls show that series' look.
    void lstSeries_Click(int Index);
    // A text field's text changed: the property it edits takes the value. A numeric field
    // applies its leading number (read with the locale's decimal separator) and keeps a partial
    // input as typed; a value the chart refuses is passed over while it is typed, and said in a
    // message box when the field is left, which then shows the value the chart holds again.
    void txt3D_Change(int Index);
    void txtBorde_Change(int Index);
    void txtCuadricula_Change(int Index);
    void txtFormato_Change(int Index);
    void txtLinea_Change(int Index);
    void txtRotacion_Change(int Index);
    void txtTexto_Change(int Index);
    void txtValor_Change(int Index);

private:
    void connectFieldHandlers();
    // A numeric field left after typing: its handler applies the text once more, now saying a
    // refusal, after which the field shows the text the chart took last (and the chart has that
    // value again); an accepted number is then normalised.
    void leaveField(QLineEdit *field, void (frmGrf2D::*change)(int), int index);
    // When a numeric field is left, its text becomes the number it holds in its general form
    // (empty or no number: 0), which its handler then applies.
    void normaliseField(QLineEdit *field);
    // The field's leading number, when it has one, given to `apply`; a refusal (a value the
    // chart refuses, a number out of range) is said only while the field is being left.
    void applyNumber(const char *handler, QLineEdit *field,
                     const std::function<void(double)> &apply);

    bool m_leaving = false; // a field is being left: refusals are said
    bool m_refused = false; // a value was refused while the field was left
};
