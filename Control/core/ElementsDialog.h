#pragma once

#include <QDialog>

class QCheckBox;
class QPushButton;

// Which screen elements the control shows: the title, the titles grid, the data grid and the
// chart. The members are 1 (shown) or 0 (hidden), given in and read back after OK.
class frmElementos : public QDialog
{
    Q_OBJECT

public:
    explicit frmElementos(QWidget *parent = nullptr);

    int vLanguageId = 0;
    int vTitulo = 0;
    int vEncabezados = 0;
    int vDatos = 0;
    int vGrafica = 0;
    bool vOK = false;

    // Load (captions of the language, the boxes from the members, centred), then the modal
    // show.
    int showModalForm();

    QCheckBox *chkTitulo;
    QCheckBox *chkEncabezados;
    QCheckBox *chkDatos;
    QCheckBox *chkGrafica;
    QPushButton *cmdAceptar;
    QPushButton *cmdCancelar;

private:
    void Form_Load();
    void cmdAceptar_Click();
    void cmdCancelar_Click();
};
