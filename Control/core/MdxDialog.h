#pragma once

#include <QDialog>

class QPushButton;

namespace platform::widgets {
class MdxEdit;
}

// The statement last sent, to read, change and (on a control that is not interactive) run.
// The caller sets the language, shows or hides the Execute button, fills txtMDX, shows the
// dialog modally and reads vEjecutar and the text back.
class frmMDX : public QDialog
{
    Q_OBJECT

public:
    explicit frmMDX(QWidget *parent = nullptr);

    int vLanguageId = 0;
    bool vEjecutar = false; // Execute was pressed

    // Load (captions of the language, centred on the screen), then the modal show.
    int showModalForm();

    platform::widgets::MdxEdit *txtMDX;
    QPushButton *cmdAceptar;
    QPushButton *cmdEjecutar;

private:
    void Form_Load();
    void cmdAceptar_Click();
    void cmdEjecutar_Click();
};
