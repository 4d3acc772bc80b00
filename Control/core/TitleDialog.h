#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QPushButton;

// The view's title, edited. There is no Cancel: closing the dialog with its button always
// takes the text.
class frmTitulo : public QDialog
{
    Q_OBJECT

public:
    explicit frmTitulo(QWidget *parent = nullptr);

    int vLanguageId = 0;
    QString vTitulo; // given in, read back

    // Load (captions of the language, the text from vTitulo, centred), then the modal show.
    int showModalForm();

    QLabel *lblTitulo;
    QLineEdit *txtTitulo;
    QPushButton *cmdCerrar;

private:
    void Form_Load();
    void cmdCerrar_Click();
};
