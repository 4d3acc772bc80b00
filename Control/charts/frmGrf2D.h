#pragma once

#include "Control/charts/ColourMaps.h"
#include "Control/charts/ControlArray.h"

#include <QDialog>
#include <QString>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace platform::chart {
class Chart2D;
}
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
    void Form_Load();
    bool loaded() const { return m_loaded; }

    void cmdOK_Click();
    void cmdCancel_Click();
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
    ControlArray<QLineEdit> txtBorde, txtTexto, txtRotacion, txtLinea, txtCuadricula,
        txtFormato, txtValor, txt3D;
    ControlArray<QCheckBox> chkHorizontal, chkIsShowing, chkEjeY, chkColor, chkMarco;
    ControlArray<QPushButton> cmdColorFrente, cmdColorFondo, cmdArchivo, cmdFuente, cmdMapa;
    ControlArray<QLabel> lblColorFrente, lblColorFondo, lblArchivo, lblFuente, lblMapa;
    ControlArray<QListWidget> lstSeries;

    // The colour tables (initMaps).
    pelmora::MapTable mapaDef{};
    pelmora::MapTable mapaBN{};

protected:
    void showEvent(QShowEvent *event) override;

private:
    void buildControls();
    void connectHandlers();

    bool m_loaded = false;

    // The series list, the text fields and the filling of every control from the chart.
public:
    // Sets every control that shows a chart setting from the preview chart, without writing
    // into the chart: the controls' handlers are held back while they are filled.
    void loadFromChart();
    // A row of the series list chosen: the Series tab's controls show that series' look.
    void lstSeries_Click(int Index);
    // A text field's text changed: the property it edits takes the value. A numeric field
    // applies its leading number (read with the locale's decimal separator) and keeps a partial
    // input as typed; a value the chart refuses is reported in a message box.
    void txt3D_Change(int Index);
    void txtBorde_Change(int Index);
    void txtCuadricula_Change(int Index);
    void txtFormato_Change(int Index);
    void txtLinea_Change(int Index);
    void txtRotacion_Change(int Index);
    void txtTexto_Change(int Index);
    void txtValor_Change(int Index);
    // Series ListIndex + 1 of the series list; 0 when no row is chosen.
    int selectedSeries() const;

private:
    void connectFieldHandlers();
    // When a numeric field is left, its text becomes the number it holds in its general form
    // (empty or no number: 0), which its handler then applies.
    void normaliseField(QLineEdit *field);
};
