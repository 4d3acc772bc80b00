#pragma once

#include <QDialog>

#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace platform::printer {
class Printer;
} // namespace platform::printer

// The preview options: which pieces a printed or exported document holds, the comment, and
// whether the choice becomes the stored default. The boxes of chkSeccion, by index: header and
// footer, comments, data, chart, data headings, black and white, chart in new page, title.
class frmPreviewParams : public QDialog
{
    Q_OBJECT

public:
    explicit frmPreviewParams(QWidget *parent = nullptr);

    int vLanguageId = 0;
    bool vOK = false;

    // Load (the captions of the language, centred), then the modal show.
    int showModalForm();

    QLabel *Label1;
    std::array<QCheckBox *, 8> chkSeccion;
    QLabel *Label4;
    QLineEdit *txtComentario;
    QCheckBox *chkSave;
    QPushButton *cmdAceptar;
    QPushButton *cmdCancelar;

private:
    void Form_Load();
    void cmdAceptar_Click();
    void cmdCancelar_Click();
};

// The print preview window: the document on its printer control `vp`, the copy of the shown
// page in Picture1.
class frmPreview : public QDialog
{
    Q_OBJECT

public:
    explicit frmPreview(QWidget *parent = nullptr);

    int vLanguageId = 0;

    // The captions of the language and the place in the middle of the screen.
    void Form_Load();

    platform::printer::Printer *vp;
    QLabel *Picture1;
    QPushButton *cmdCopiar;
    QPushButton *cmdAceptar;

private:
    void cmdCopiar_Click();
    void cmdAceptar_Click();
};
