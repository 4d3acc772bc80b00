#pragma once

#include <QDialog>
#include <QPointer>

class QLabel;
class QListWidget;
class QPushButton;

// All dimensions laid out at once: the header (slicer), X axis (columns) and Y axis (rows)
// lists, buttons that move the selected dimensions of the other two lists to one list, and a
// double click that opens a dimension's options through the control's doAnalysis2. The caller
// fills the lists, shows the dialog modally and reads vOK and the lists back.
class frmLayout : public QDialog
{
    Q_OBJECT

public:
    explicit frmLayout(QWidget *parent = nullptr);

    QPointer<QObject> vFrm; // the control that opened the dialog
    int vLanguageId = 0;
    bool vOK = false; // OK was pressed

    // Load (captions of the language, centred on the screen), then the modal show.
    int showModalForm();

    QListWidget *lstE;
    QListWidget *lstH;
    QListWidget *lstV;
    QLabel *lblE;
    QLabel *lblH;
    QLabel *lblV;
    QPushButton *cmdEncab;
    QPushButton *cmdHorizontal;
    QPushButton *cmdVertical;
    QPushButton *cmdLayout;
    QPushButton *cmdCancelar;
    // Carry no action, and are not shown.
    QPushButton *cmdArriba;
    QPushButton *cmdAbajo;

private:
    void Form_Load();
    void cmdEncab_Click();
    void cmdHorizontal_Click();
    void cmdVertical_Click();
    void cmdLayout_Click();
    void cmdCancelar_Click();
    void list_DblClick(QListWidget *list);
    // The selected item of each source list, in turn, goes to the end of `target`.
    void moveSelected(QListWidget *first, QListWidget *second, QListWidget *target);
};
