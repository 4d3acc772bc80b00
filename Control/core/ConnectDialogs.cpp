#include "Control/core/ConnectDialogs.h"

#include "Control/core/FormParts.h"

#include "platform/forms/Modal.h"
#include "platform/forms/MsgBox.h"
#include "platform/olap/Catalog.h"
#include "platform/olap/Connection.h"
#include "platform/widgets/CommonDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSysInfo>
#include <QVBoxLayout>

namespace {

QPushButton *button(QWidget *parent, const char *name, const QString &text)
{
    return pelmora::formButton(parent, name, text);
}

QLabel *label(QWidget *parent, const QString &text, QWidget *buddy)
{
    auto *l = new QLabel(text, parent);
    l->setObjectName(QStringLiteral("Label1"));
    l->setBuddy(buddy);
    return l;
}

void centre(QWidget &form)
{
    pelmora::centreOnScreen(form);
}

// The elastic part of the database and cube forms: the prompt, the list that grows with the
// form, and the two buttons below it.
QWidget *listForm(QDialog &form, QLabel *&prompt, QListWidget *&list, const char *listName,
                  QPushButton *&ok, const char *okName, QPushButton *&cancel,
                  const QString &promptText)
{
    auto *sizer = new QWidget(&form);
    sizer->setObjectName(QStringLiteral("ElasticOne1"));
    list = new QListWidget(sizer);
    list->setObjectName(QLatin1String(listName));
    // Only a selected item is a choice: the list makes its first item current, unselected,
    // when it gets the focus.
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    prompt = label(sizer, promptText, list);
    ok = button(sizer, okName, QStringLiteral("&Aceptar"));
    ok->setDefault(true);
    cancel = button(sizer, "cmdCancelar", QStringLiteral("&Cancelar"));

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto *layout = new QVBoxLayout(sizer);
    layout->addWidget(prompt);
    layout->addWidget(list, 1);
    layout->addLayout(buttons);

    auto *outer = new QVBoxLayout(&form);
    outer->setContentsMargins(0, 0, 0, 0);
    outer->addWidget(sizer);
    return sizer;
}

} // namespace

// frmOpen

frmOpen::frmOpen(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmOpen"));
    setWindowTitle(QStringLiteral("Escoger conexión"));
    cmdConexion = button(this, "cmdConexion", QStringLiteral("Cubo &Remoto"));
    cmdCubo = button(this, "cmdCubo", QStringLiteral("Cubo &Local"));
    cmdVista = button(this, "cmdVista", QStringLiteral("&Vista"));
    cmdWWW = button(this, "cmdWWW", QStringLiteral("&Direccion WEB"));
    cmdCancelar = button(this, "cmdCancelar", QStringLiteral("&Cancelar"));
    dlg = new platform::widgets::CommonDialog(this);
    dlg->setObjectName(QStringLiteral("dlg"));

    auto *layout = new QVBoxLayout(this);
    for (QPushButton *b : {cmdConexion, cmdCubo, cmdVista, cmdWWW, cmdCancelar})
        layout->addWidget(b);

    connect(cmdConexion, &QPushButton::clicked, this, &frmOpen::cmdConexion_Click);
    connect(cmdCubo, &QPushButton::clicked, this, &frmOpen::cmdCubo_Click);
    connect(cmdVista, &QPushButton::clicked, this, &frmOpen::cmdVista_Click);
    connect(cmdWWW, &QPushButton::clicked, this, &frmOpen::cmdWWW_Click);
    connect(cmdCancelar, &QPushButton::clicked, this, &frmOpen::cmdCancelar_Click);
}

int frmOpen::showModalForm()
{
    Form_Load();
    return platform::forms::showModal(*this);
}

void frmOpen::Form_Load()
{
    // The language arrives as text; "reads as the number 0" means any spelling of zero.
    bool isNumber = false;
    const double language = vLanguageId.trimmed().toDouble(&isNumber);
    if (isNumber && language == 0) {
        setWindowTitle(QStringLiteral("Choose conection"));
        cmdConexion->setText(QStringLiteral("&Remote cube"));
        cmdCubo->setText(QStringLiteral("&Local cube"));
        cmdVista->setText(QStringLiteral("&View"));
        cmdWWW->setText(QStringLiteral("&Web address"));
        cmdCancelar->setText(QStringLiteral("&Cancel"));
    }
    vArchivo.clear();
    vWWWDir.clear();
    vVista.clear();
    centre(*this);
}

void frmOpen::cmdConexion_Click()
{
    vConnInteractiva = true;
    accept();
}

void frmOpen::cmdCubo_Click()
{
    if (vLanguageId == QLatin1String("1"))
        vArchivo = showOpenDialog(QStringLiteral("Elija un Cubo"),
                                  QStringLiteral("Todos los cubos (*.cub)|*.cub"));
    else if (vLanguageId == QLatin1String("0"))
        vArchivo = showOpenDialog(QStringLiteral("Choose a cube"),
                                  QStringLiteral("All cubes (*.cub)|*.cub"));
    accept();
}

void frmOpen::cmdVista_Click()
{
    if (vLanguageId == QLatin1String("1"))
        vVista = showOpenDialog(QStringLiteral("Escoja una vista"),
                                QStringLiteral("Todas las vistas (*.vcg)|*.vcg"));
    else if (vLanguageId == QLatin1String("0"))
        vVista = showOpenDialog(QStringLiteral("Choose an Pelmora view"),
                                QStringLiteral("All views (*.vcg)|*.vcg"));
    accept();
}

void frmOpen::cmdWWW_Click()
{
    if (vLanguageId == QLatin1String("1"))
        vWWWDir = platform::forms::inputBox(QStringLiteral("Dirección WEB del cubo?"),
                                            QStringLiteral("Dirección WWW"));
    else if (vLanguageId == QLatin1String("0"))
        vWWWDir = platform::forms::inputBox(QStringLiteral("Cube WEB's address?"),
                                            QStringLiteral("WWW address"));
    accept();
}

void frmOpen::cmdCancelar_Click()
{
    reject();
}

QString frmOpen::showOpenDialog(const QString &title, const QString &filter)
{
    dlg->setDialogTitle(title);
    dlg->setCancelError(false);
    dlg->setFilter(filter);
    dlg->setFileName(QString());
    dlg->showOpen();
    return dlg->fileName();
}

// frmConexion

frmConexion::frmConexion(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmConexion"));
    setWindowTitle(QStringLiteral("Conexión"));
    txtServer = new QLineEdit(this);
    txtServer->setObjectName(QStringLiteral("txtServer"));
    Label1 = label(this, QStringLiteral("&Servidor"), txtServer);
    cmdConexion = button(this, "cmdConexion", QStringLiteral("&Aceptar"));
    cmdConexion->setDefault(true);
    cmdCancelar = button(this, "cmdCancelar", QStringLiteral("&Cancelar"));

    auto *server = new QHBoxLayout;
    server->addWidget(Label1);
    server->addWidget(txtServer, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdConexion);
    buttons->addWidget(cmdCancelar);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(server);
    layout->addLayout(buttons);

    connect(cmdConexion, &QPushButton::clicked, this, &frmConexion::cmdConexion_Click);
    connect(cmdCancelar, &QPushButton::clicked, this, &frmConexion::cmdCancelar_Click);
}

void frmConexion::traeConexion(int lang, const QString &vServer)
{
    vLanguageId = lang;
    txtServer->setText(vServer.isEmpty() ? computerName() : vServer);
    Form_Load();
    platform::forms::showModal(*this);
}

void frmConexion::Form_Load()
{
    if (vLanguageId == 0) {
        setWindowTitle(QStringLiteral("Connection"));
        Label1->setText(QStringLiteral("Server"));
        cmdConexion->setText(QStringLiteral("&OK"));
        cmdCancelar->setText(QStringLiteral("&Cancel"));
    }
    centre(*this);
}

void frmConexion::cmdConexion_Click()
{
    vConexion = txtServer->text();
    accept();
}

void frmConexion::cmdCancelar_Click()
{
    vConexion.clear();
    reject();
}

QString frmConexion::computerName()
{
    return trimAtNull(QSysInfo::machineHostName());
}

QString frmConexion::trimAtNull(const QString &text)
{
    const qsizetype end = text.indexOf(QChar(0));
    return end < 0 ? text : text.left(end);
}

// frmDb

frmDb::frmDb(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmDb"));
    setWindowTitle(QStringLiteral("Bases de datos"));
    ElasticOne1 = listForm(*this, Label1, lstDb, "lstDb", cmdDb, "cmdDb", cmdCancelar,
                           QStringLiteral("&Escoja la Base de datos deseada:"));
    connect(cmdDb, &QPushButton::clicked, this, &frmDb::cmdDb_Click);
    connect(lstDb, &QListWidget::itemDoubleClicked, this, &frmDb::cmdDb_Click);
    connect(cmdCancelar, &QPushButton::clicked, this, &frmDb::cmdCancelar_Click);
}

void frmDb::traeDb(int lang, const platform::olap::Connection &m_cn)
{
    vLanguageId = lang;
    lstDb->clear();
    try {
        platform::olap::Recordset catalogs =
            m_cn.openSchema(platform::olap::Connection::SchemaCatalogs);
        while (!catalogs.eof()) {
            lstDb->addItem(catalogs.fields(QStringLiteral("CATALOG_NAME")).value().toString());
            catalogs.moveNext();
        }
    } catch (...) {
        if (lang == 0)
            platform::forms::msgBox(QStringLiteral("The database connection can't be openned."));
        else if (lang == 1)
            platform::forms::msgBox(
                QStringLiteral("No se puede abrir la conexión a la base de datos."));
        return;
    }
    Form_Load();
    platform::forms::showModal(*this);
}

void frmDb::Form_Load()
{
    if (vLanguageId == 0) {
        setWindowTitle(QStringLiteral("Database"));
        Label1->setText(QStringLiteral("C&hoose a database before leaving."));
        cmdDb->setText(QStringLiteral("&OK"));
        cmdCancelar->setText(QStringLiteral("&Cancel"));
    }
    centre(*this);
}

void frmDb::cmdDb_Click()
{
    const QList<QListWidgetItem *> chosen = lstDb->selectedItems();
    if (chosen.isEmpty()) {
        if (vLanguageId == 0)
            platform::forms::msgBox(QStringLiteral("Choose a database before leaving."));
        else if (vLanguageId == 1)
            platform::forms::msgBox(QStringLiteral("Seleccione una base de datos antes de salir."));
        return;
    }
    vDb = chosen.first()->text();
    accept();
}

void frmDb::cmdCancelar_Click()
{
    reject();
}

// frmCubo

frmCubo::frmCubo(QWidget *parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmCubo"));
    setWindowTitle(QStringLiteral("Cubos"));
    ElasticOne1 = listForm(*this, Label1, lstCubo, "lstCubo", cmdCubo, "cmdCubo", cmdCancelar,
                           QStringLiteral("&Escoja el cubo deseado:"));
    connect(cmdCubo, &QPushButton::clicked, this, &frmCubo::cmdCubo_Click);
    connect(lstCubo, &QListWidget::itemDoubleClicked, this, &frmCubo::cmdCubo_Click);
    connect(cmdCancelar, &QPushButton::clicked, this, &frmCubo::cmdCancelar_Click);
}

void frmCubo::traeCubo(int lang, const platform::olap::Catalog &m_ctActiveCatalog)
{
    vLanguageId = lang;
    lstCubo->clear();
    const platform::olap::CubeDefs cubes = m_ctActiveCatalog.cubeDefs();
    for (int i = 0; i < cubes.count(); ++i)
        lstCubo->addItem(cubes.item(i).name());
    Form_Load();
    platform::forms::showModal(*this);
}

void frmCubo::Form_Load()
{
    if (vLanguageId == 0) {
        setWindowTitle(QStringLiteral("Cubes"));
        Label1->setText(QStringLiteral("C&hoose the cube desired."));
        cmdCubo->setText(QStringLiteral("&OK"));
        cmdCancelar->setText(QStringLiteral("&Cancel"));
    }
    centre(*this);
}

void frmCubo::cmdCubo_Click()
{
    const QList<QListWidgetItem *> chosen = lstCubo->selectedItems();
    if (chosen.isEmpty()) {
        if (vLanguageId == 0)
            platform::forms::msgBox(QStringLiteral("Choose a cube before leaving."));
        else if (vLanguageId == 1)
            platform::forms::msgBox(QStringLiteral("Seleccione un cubo antes de salir."));
        return;
    }
    vCubo = chosen.first()->text();
    accept();
}

void frmCubo::cmdCancelar_Click()
{
    vCubo.clear();
    reject();
}
