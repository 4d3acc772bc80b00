#pragma once

#include <QDialog>
#include <QString>

#include <array>
#include <memory>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace platform::forms {
class FontObject;
}
namespace platform::grid {
class FlexGrid;
}
namespace platform::widgets {
class CommonDialog;
class TabStrip;
} // namespace platform::widgets

// The format dialog: colours, fonts, number format, appearance, grid lines, subtotal look and
// value colouring of the result grids. It works only on its public members and its sample grid
// fg; every edit stores the member and repaints the sample (actualizaFormato), so the sample
// always shows the members. The caller fills the members and controls, shows the dialog and
// reads them (and the sample grid's fonts and format) back after OK.
//
// Designed with Spanish texts; Form_Load switches to the English ones for language 0.
// Setting a list's selection, a check box or a text from code runs its handler as a user's
// change does (a text box's only when the text really changes).
class frmFormato : public QDialog
{
    Q_OBJECT

public:
    explicit frmFormato(QWidget *parent = nullptr);
    ~frmFormato() override;

    int vLanguageId = 0;
    bool vOK = false;
    int vValueType = 0;
    int vAppearance = 0;
    int vBackColor = 0;
    int vForeColor = 0;
    int vGridColor = 0;
    int vBackColorData = 0;
    int vForeColorData = 0;
    int vGridColorData = 0;
    int vBackColorSubtotal = 0;
    int vForeColorSubtotal = 0;
    int vBackColorDataSubtotal = 0;
    int vForeColorDataSubtotal = 0;
    int vGridLines = 0;
    int vGridLinesData = 0;
    qint16 vGridLinesWidth = 1;
    bool vFormatSubtotal = false;
    qint16 vFormatSubtotalLevel = 1;
    // Threshold slots 0 to 5: Min, Med, Max back colours, then Min, Med, Max fore colours.
    int vThresholdMinBackColor = 0;
    int vThresholdMedBackColor = 0;
    int vThresholdMaxBackColor = 0;
    int vThresholdMinForeColor = 0;
    int vThresholdMedForeColor = 0;
    int vThresholdMaxForeColor = 0;
    bool vActThresholdMinBackColor = false;
    bool vActThresholdMedBackColor = false;
    bool vActThresholdMaxBackColor = false;
    bool vActThresholdMinForeColor = false;
    bool vActThresholdMedForeColor = false;
    bool vActThresholdMaxForeColor = false;
    std::shared_ptr<platform::forms::FontObject> vFontData;
    std::shared_ptr<platform::forms::FontObject> vFontSubtotal;
    std::shared_ptr<platform::forms::FontObject> vFontDataSubtotal;
    QString vDataFormat;
    // The dialog window's font, which is the title font (an empty one is made on first use).
    std::shared_ptr<platform::forms::FontObject> windowFont;

    // The English captions for language 0; other languages keep the Spanish design texts.
    void Form_Load();
    // The lists' entries in the dialog's language (none of them selected).
    void ponElementos();
    // The sample grid: its texts once, then its look from the members.
    void creaDatos();
    void actualizaFormato();

    // Threshold slot k's colour and flag (0 to 5, as the members above).
    int &thresholdColor(int k);
    bool &thresholdOn(int k);

    // Handlers, as the controls run them.
    void lstColor_Click();
    void cmdPN_Click(int Index);
    void cmdSemaforo_Click(int Index);
    void lstFont_Click();
    void lstAppearance_Click();
    void cmbGridLines_Click();
    void cmbGridLinesData_Click();
    void lstFormat_Click();
    void txtCustom_Change();
    void txtGridLinesWidth_Change();
    void txtSubtotalNivel_Change();
    void txtSubtotalNivel1_Change();
    void chkSubtotal_Click();
    void chkSubtotal1_Click();
    void chkVN_Click();
    void TabOne3_TabSwitch();
    void txtVal_Change(int Index);
    void cmdAceptar_Click();
    void cmdCancelar_Click();

    // Controls.
    platform::widgets::TabStrip *TabOne1;
    platform::widgets::TabStrip *TabOne2;
    platform::widgets::TabStrip *TabOne3;
    QListWidget *lstColor;
    QCheckBox *chkSubtotal1;
    QLabel *Label13;
    QLineEdit *txtSubtotalNivel;
    QListWidget *lstFont;
    QCheckBox *chkSubtotal;
    QLabel *Label14;
    QLineEdit *txtSubtotalNivel1;
    QListWidget *lstFormat;
    QLabel *lblCustom;
    QLineEdit *txtCustom;
    QLabel *Label9;
    QListWidget *lstAppearance;
    QLabel *Label10;
    QComboBox *cmbGridLinesData;
    QLabel *Label12;
    QComboBox *cmbGridLines;
    QLabel *Label11;
    QLineEdit *txtGridLinesWidth;
    QCheckBox *chkVN;
    std::array<QLabel *, 3> lblPN; // Label1 to Label3
    std::array<QPushButton *, 6> cmdPN;
    std::array<QLabel *, 2> lblVal; // Label4, Label5
    std::array<QLineEdit *, 2> txtVal;
    std::array<QLabel *, 3> lblSemaforo; // Label6 to Label8
    std::array<QPushButton *, 6> cmdSemaforo;
    platform::grid::FlexGrid *fg;
    QCheckBox *chkSave;
    QPushButton *cmdAceptar;
    QPushButton *cmdCancelar;
    platform::widgets::CommonDialog *dlg;

private:
    void buildControls();
    void connectHandlers();
    platform::forms::FontObject &titleFont();
    // The font of a sample cell into the font dialog.
    void ponFontDlg(int row, int col);
    void slotToggle(int k);
    // A maximum below the minimum takes the minimum's text.
    void keepMaximumAboveMinimum();
    // A numeric box's text as a 16-bit whole number: a text that is not one becomes "1".
    qint16 numericBox(QLineEdit *box);
    void paintFont(int row1, int col1, int row2, int col2, platform::forms::FontObject &font);
    void actualizaPN(int &k);
    void actualizaSemaforo(int &k);
    // Slot k's colour over the data cells that pass `test`.
    template <typename Test>
    void paintSlot(int k, Test &&test);

    // Each threshold box's last accepted text as a whole number: a text that is not numeric
    // goes back to it. Kept per box, so that a first wrong text in one box never brings back
    // the other box's value.
    std::array<qint32, 2> m_kept{0, 0};
};

namespace pelmora {

// The leading number of a threshold text: as the leading-number rule reads it, with the
// locale's decimal separator as the decimal point (the boxes show the thresholds in the
// locale's form), so "10,5" under a comma locale is 10.5. Reading stops at any other
// separator.
double thresholdNumber(const QString &text);

} // namespace pelmora
