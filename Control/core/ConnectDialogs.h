#pragma once

#include <QDialog>
#include <QString>

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace platform::olap {
class Catalog;
class Connection;
} // namespace platform::olap

namespace platform::widgets {
class CommonDialog;
}

// The dialogs that ask what the control opens: the kind of source, then, for a server, the
// server, the database and the cube in turn. Each is designed with Spanish texts and switches
// to English ones when its language is 0 as it loads; the caller fills the public members,
// shows the dialog modally, reads the members back and destroys it.

// The kind of source: a remote server, a cube file, a view file or a web address.
class frmOpen : public QDialog
{
    Q_OBJECT

public:
    explicit frmOpen(QWidget *parent = nullptr);

    QString vLanguageId;           // "0" English, "1" Spanish
    bool vConnInteractiva = false; // the remote server was chosen
    QString vArchivo;              // the cube file chosen
    QString vWWWDir;               // the web address typed
    QString vVista;                // the view file chosen

    // Load (captions of the language, empty results, centred on the screen), then the modal
    // show; the choices are empty when the user cancelled.
    int showModalForm();

    QPushButton *cmdConexion;
    QPushButton *cmdCubo;
    QPushButton *cmdVista;
    QPushButton *cmdWWW;
    QPushButton *cmdCancelar;
    platform::widgets::CommonDialog *dlg;

private:
    void Form_Load();
    void cmdConexion_Click();
    void cmdCubo_Click();
    void cmdVista_Click();
    void cmdWWW_Click();
    void cmdCancelar_Click();
    // The open-file dialog; the file chosen, empty when cancelled.
    QString showOpenDialog(const QString &title, const QString &filter);
};

// The server's name.
class frmConexion : public QDialog
{
    Q_OBJECT

public:
    explicit frmConexion(QWidget *parent = nullptr);

    int vLanguageId = 0;
    QString vConexion; // the server entered; empty after Cancel

    // Asks for the server, starting from vServer or, when that is empty, this computer's name.
    void traeConexion(int lang, const QString &vServer);

    QLabel *Label1;
    QLineEdit *txtServer;
    QPushButton *cmdConexion;
    QPushButton *cmdCancelar;

private:
    void Form_Load();
    void cmdConexion_Click();
    void cmdCancelar_Click();
    static QString computerName();
    static QString trimAtNull(const QString &text);
};

// The database, among the catalogs of the connection.
class frmDb : public QDialog
{
    Q_OBJECT

public:
    explicit frmDb(QWidget *parent = nullptr);

    int vLanguageId = 0;
    QString vDb; // the database chosen

    // Lists the connection's catalogs and asks for one. A connection whose catalogs cannot be
    // read is reported and the dialog is not shown.
    void traeDb(int lang, const platform::olap::Connection &m_cn);

    QWidget *ElasticOne1;
    QLabel *Label1;
    QListWidget *lstDb;
    QPushButton *cmdDb;
    QPushButton *cmdCancelar;

private:
    void Form_Load();
    void cmdDb_Click();
    void cmdCancelar_Click();
};

// The cube, among the catalog's cube definitions.
class frmCubo : public QDialog
{
    Q_OBJECT

public:
    explicit frmCubo(QWidget *parent = nullptr);

    int vLanguageId = 0;
    QString vCubo; // the cube chosen; empty after Cancel

    void traeCubo(int lang, const platform::olap::Catalog &m_ctActiveCatalog);

    QWidget *ElasticOne1;
    QLabel *Label1;
    QListWidget *lstCubo;
    QPushButton *cmdCubo;
    QPushButton *cmdCancelar;

private:
    void Form_Load();
    void cmdCubo_Click();
    void cmdCancelar_Click();
};
