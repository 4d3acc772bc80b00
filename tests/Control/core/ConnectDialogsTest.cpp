// The dialogs that ask what to open, driven as a user would: through the scripted runner, and
// shown for real on the display.
#include "Control/core/ConnectDialogs.h"
#include "platform/olap/Catalog.h"
#include "tests/platform/olap/CubeFixtures.h"
#include "tests/support/ScriptedModalRunner.h"
#include "tests/support/ScriptedMsgBox.h"
#include "tests/support/ShownDialogs.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>

using testing_support::ScriptedModalRunner;
using testing_support::ScriptedMsgBox;

namespace {

QStringList texts(const QDialog &dialog, const QStringList &names)
{
    QStringList result{dialog.windowTitle()};
    for (const QString &name : names) {
        if (const auto *button = dialog.findChild<QPushButton *>(name))
            result << button->text();
        else if (const auto *label = dialog.findChild<QLabel *>(name))
            result << label->text();
        else
            result << "(missing " + name + ")";
    }
    return result;
}

// Answers the file dialog with `file` (cancels when empty), noting its title and filters.
ScriptedModalRunner::Step chooseFile(const QString &file, QStringList &seen)
{
    return [file, &seen](QDialog &dialog) {
        auto *files = qobject_cast<QFileDialog *>(&dialog);
        if (!files)
            return int(QDialog::Rejected);
        seen << files->windowTitle() << files->nameFilters();
        if (file.isEmpty())
            return int(QDialog::Rejected);
        files->selectFile(file);
        return int(QDialog::Accepted);
    };
}

ScriptedModalRunner::Step typeAddress(const QString &address, QStringList &seen)
{
    return [address, &seen](QDialog &dialog) {
        auto *input = qobject_cast<QInputDialog *>(&dialog);
        if (!input)
            return int(QDialog::Rejected);
        seen << input->windowTitle() << input->labelText();
        if (address.isEmpty())
            return int(QDialog::Rejected);
        input->setTextValue(address);
        return int(QDialog::Accepted);
    };
}

ScriptedModalRunner::Step press(const QString &button)
{
    return [button](QDialog &dialog) {
        EXPECT_TRUE(ScriptedModalRunner::click(dialog, button)) << button.toStdString();
        return -1;
    };
}

class OpenCubeFile : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        file = testing_support::buildFixtureCube(dir.path(), "sales");
        connection.open(testing_support::connectionStringFor(file));
        catalog.setActiveConnection(connection);
    }

    QTemporaryDir dir;
    QString file;
    platform::olap::Connection connection;
    platform::olap::Catalog catalog;
};

} // namespace

TEST(FrmOpen, SpeaksTheLanguageItIsGiven)
{
    const QStringList names{"cmdConexion", "cmdCubo", "cmdVista", "cmdWWW", "cmdCancelar"};
    const QStringList english{"Choose conection", "&Remote cube", "&Local cube", "&View",
                              "&Web address",     "&Cancel"};
    const QStringList spanish{"Escoger conexión", "Cubo &Remoto",   "Cubo &Local",
                              "&Vista",           "&Direccion WEB", "&Cancelar"};
    const struct
    {
        QString language;
        QStringList expected;
    } cases[] = {{"0", english}, {"1", spanish}, {"2", spanish}, {"", spanish}};
    for (const auto &c : cases) {
        SCOPED_TRACE(c.language.toStdString());
        ScriptedModalRunner runner;
        QStringList seen;
        runner.then([&](QDialog &dialog) {
            seen = texts(dialog, names);
            return int(QDialog::Rejected);
        });
        frmOpen form;
        form.vLanguageId = c.language;
        form.showModalForm();
        EXPECT_EQ(seen, c.expected);
        EXPECT_EQ(runner.shown(), QStringList({"frmOpen"}));
    }
}

TEST(FrmOpen, EachButtonGivesItsChoice)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString cube = QDir(dir.path()).filePath("sales.cub");
    const QString view = QDir(dir.path()).filePath("sales.vcg");
    for (const QString &name : {cube, view}) {
        QFile f(name);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }

    enum Answer { File, Address, Nothing };
    const struct
    {
        const char *name;
        QString language;
        QString button;
        Answer answer;
        QString given; // the file or address the nested dialog answers; empty cancels it
        QStringList seen;
        bool interactive;
        QString archivo, wwwDir, vista;
    } cases[] = {
        {"remote server", "0", "cmdConexion", Nothing, "", {}, true, "", "", ""},
        {"cube file",
         "0",
         "cmdCubo",
         File,
         cube,
         {"Choose a cube", "All cubes (*.cub)"},
         false,
         cube,
         "",
         ""},
        {"cube file in Spanish",
         "1",
         "cmdCubo",
         File,
         cube,
         {"Elija un Cubo", "Todos los cubos (*.cub)"},
         false,
         cube,
         "",
         ""},
        {"cube file dialog cancelled",
         "0",
         "cmdCubo",
         File,
         "",
         {"Choose a cube", "All cubes (*.cub)"},
         false,
         "",
         "",
         ""},
        {"view file",
         "0",
         "cmdVista",
         File,
         view,
         {"Choose an Pelmora view", "All views (*.vcg)"},
         false,
         "",
         "",
         view},
        {"view file in Spanish",
         "1",
         "cmdVista",
         File,
         view,
         {"Escoja una vista", "Todas las vistas (*.vcg)"},
         false,
         "",
         "",
         view},
        {"web address",
         "0",
         "cmdWWW",
         Address,
         "http://host/sales.cub",
         {"WWW address", "Cube WEB's address?"},
         false,
         "",
         "http://host/sales.cub",
         ""},
        {"web address in Spanish",
         "1",
         "cmdWWW",
         Address,
         "http://host/ventas.cub",
         {"Dirección WWW", "Dirección WEB del cubo?"},
         false,
         "",
         "http://host/ventas.cub",
         ""},
        {"address box cancelled",
         "0",
         "cmdWWW",
         Address,
         "",
         {"WWW address", "Cube WEB's address?"},
         false,
         "",
         "",
         ""},
        {"another language asks for no file", "2", "cmdCubo", Nothing, "", {}, false, "", "", ""},
        // clang-format off
        {"another language asks for no view", "2", "cmdVista", Nothing, "", {}, false, "", "",
         // clang-format on
         ""},
        // clang-format off
        {"another language asks for no address", "2", "cmdWWW", Nothing, "", {}, false, "", "",
         // clang-format on
         ""},
        {"cancel", "0", "cmdCancelar", Nothing, "", {}, false, "", "", ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedMsgBox boxes;
        ScriptedModalRunner runner;
        QStringList seen;
        runner.then(press(c.button));
        if (c.answer == File)
            runner.then(chooseFile(c.given, seen));
        else if (c.answer == Address)
            runner.then(typeAddress(c.given, seen));
        frmOpen form;
        form.vLanguageId = c.language;
        form.vArchivo = "earlier.cub"; // loading the form forgets earlier choices
        form.vWWWDir = "http://earlier";
        form.vVista = "earlier.vcg";
        form.showModalForm();
        EXPECT_EQ(seen, c.seen);
        EXPECT_EQ(form.vConnInteractiva, c.interactive);
        EXPECT_EQ(form.vArchivo, c.archivo);
        EXPECT_EQ(form.vWWWDir, c.wwwDir);
        EXPECT_EQ(form.vVista, c.vista);
        EXPECT_TRUE(runner.done());
        EXPECT_EQ(runner.unexpected(), 0);
        EXPECT_EQ(boxes.count(), 0);
    }
}

TEST(FrmConexion, AsksForTheServerStartingFromTheOneGivenOrThisComputer)
{
    const struct
    {
        const char *name;
        int language;
        QString server;
        QString typed; // empty: leave the text as it is
        QString button;
        QStringList texts;
        QString shown;
        QString answer;
    } cases[] = {
        // clang-format off
        {"English, OK", 0, "olap1", "", "cmdConexion",
         {"Connection", "Server", "&OK", "&Cancel"}, "olap1", "olap1"},
        {"Spanish, another server typed", 1, "olap1", "olap2", "cmdConexion",
         {"Conexión", "&Servidor", "&Aceptar", "&Cancelar"}, "olap1", "olap2"},
        {"no server: this computer", 0, "", "", "cmdConexion",
         {"Connection", "Server", "&OK", "&Cancel"}, QSysInfo::machineHostName(),
         // clang-format on
         QSysInfo::machineHostName()},
        // clang-format off
        {"Cancel after typing", 0, "olap1", "olap2", "cmdCancelar",
         {"Connection", "Server", "&OK", "&Cancel"}, "olap1", ""},
        // clang-format on
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        ScriptedModalRunner runner;
        QStringList seen;
        QString shown;
        runner.then([&](QDialog &dialog) {
            seen = texts(dialog, {"Label1", "cmdConexion", "cmdCancelar"});
            auto *text = dialog.findChild<QLineEdit *>("txtServer");
            shown = text->text();
            if (!c.typed.isEmpty())
                text->setText(c.typed);
            ScriptedModalRunner::click(dialog, c.button);
            return -1;
        });
        frmConexion form;
        form.vConexion = "earlier";
        form.traeConexion(c.language, c.server);
        EXPECT_EQ(seen, c.texts);
        EXPECT_EQ(shown, c.shown);
        EXPECT_EQ(form.vConexion, c.answer);
    }
}

TEST_F(OpenCubeFile, FrmDbListsTheCatalogsAndWantsOneChosen)
{
    for (int language : {0, 1, 2}) {
        SCOPED_TRACE(language);
        ScriptedMsgBox boxes;
        ScriptedModalRunner runner;
        QStringList seen;
        QStringList items;
        runner.then([&](QDialog &dialog) {
            seen = texts(dialog, {"Label1", "cmdDb", "cmdCancelar"});
            auto *list = dialog.findChild<QListWidget *>("lstDb");
            for (int i = 0; i < list->count(); ++i)
                items << list->item(i)->text();
            ScriptedModalRunner::click(dialog, "cmdDb"); // nothing chosen: the form stays
            EXPECT_EQ(dialog.result(), 0);
            list->setCurrentRow(0);
            emit list->itemDoubleClicked(list->item(0));
            return -1;
        });
        frmDb form;
        form.traeDb(language, connection);
        EXPECT_EQ(items, QStringList({"SalesDB"}));
        EXPECT_EQ(form.vDb, "SalesDB");
        const QStringList message =
            language == 0   ? QStringList{"Choose a database before leaving."}
            : language == 1 ? QStringList{"Seleccione una base de datos antes de salir."}
                            : QStringList{};
        EXPECT_EQ(boxes.texts(), message);
        EXPECT_EQ(
            seen,
            language == 0
                ? QStringList({"Database", "C&hoose a database before leaving.", "&OK", "&Cancel"})
                : QStringList({"Bases de datos", "&Escoja la Base de datos deseada:", "&Aceptar",
                               "&Cancelar"}));
    }
}

TEST_F(OpenCubeFile, FrmDbCancelKeepsItsAnswerAndAClosedConnectionIsReported)
{
    {
        ScriptedModalRunner runner;
        runner.then([](QDialog &dialog) {
            dialog.findChild<QListWidget *>("lstDb")->setCurrentRow(0);
            ScriptedModalRunner::click(dialog, "cmdCancelar");
            return -1;
        });
        frmDb form;
        form.traeDb(0, connection);
        EXPECT_EQ(form.vDb, "");
    }
    connection.close();
    const struct
    {
        int language;
        QStringList message;
    } cases[] = {
        {0, {"The database connection can't be openned."}},
        {1, {"No se puede abrir la conexión a la base de datos."}},
    };
    for (const auto &c : cases) {
        ScriptedMsgBox boxes;
        ScriptedModalRunner runner;
        frmDb form;
        form.traeDb(c.language, connection);
        EXPECT_EQ(boxes.texts(), c.message);
        EXPECT_EQ(boxes.shown()[0].buttons, platform::forms::OkOnly);
        EXPECT_TRUE(runner.shown().isEmpty()); // the form is not shown
        EXPECT_EQ(form.vDb, "");
    }
}

TEST_F(OpenCubeFile, FrmCuboListsTheCubesAndWantsOneChosen)
{
    const struct
    {
        int language;
        QStringList texts;
        QStringList message;
    } cases[] = {
        {0,
         {"Cubes", "C&hoose the cube desired.", "&OK", "&Cancel"},
         {"Choose a cube before leaving."}},
        {1,
         {"Cubos", "&Escoja el cubo deseado:", "&Aceptar", "&Cancelar"},
         {"Seleccione un cubo antes de salir."}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.language);
        ScriptedMsgBox boxes;
        ScriptedModalRunner runner;
        QStringList seen;
        QStringList items;
        runner.then([&](QDialog &dialog) {
            seen = texts(dialog, {"Label1", "cmdCubo", "cmdCancelar"});
            auto *list = dialog.findChild<QListWidget *>("lstCubo");
            for (int i = 0; i < list->count(); ++i)
                items << list->item(i)->text();
            ScriptedModalRunner::click(dialog, "cmdCubo");
            EXPECT_EQ(dialog.result(), 0);
            list->setCurrentRow(1);
            ScriptedModalRunner::click(dialog, "cmdCubo");
            return -1;
        });
        frmCubo form;
        form.traeCubo(c.language, catalog);
        EXPECT_EQ(seen, c.texts);
        EXPECT_EQ(items, QStringList({"Sales", "Budget"}));
        EXPECT_EQ(boxes.texts(), c.message);
        EXPECT_EQ(form.vCubo, "Budget");
    }

    ScriptedModalRunner runner;
    runner.then([](QDialog &dialog) {
        dialog.findChild<QListWidget *>("lstCubo")->setCurrentRow(0);
        ScriptedModalRunner::click(dialog, "cmdCancelar");
        return -1;
    });
    frmCubo form;
    form.vCubo = "Sales";
    form.traeCubo(0, catalog);
    EXPECT_EQ(form.vCubo, "");
}

// The same dialogs shown for real on the display and driven with the mouse and the keys.

namespace {

using testing_support::clickOn;
using testing_support::pressKey;
using testing_support::typeInto;
using testing_support::whenShown;

template <typename T>
T *child(QWidget &window, const char *name)
{
    T *found = window.findChild<T *>(QLatin1String(name));
    EXPECT_TRUE(found) << name;
    return found;
}

// Notes the text of the next message box, shown for real, and closes it with Enter.
void noteMessageBox(QStringList &seen)
{
    whenShown([&seen](QWidget &box) {
        if (auto *message = qobject_cast<QMessageBox *>(&box))
            seen << message->text();
        pressKey(box, Qt::Key_Return);
    });
}

// A click on the list's item in the given row.
void clickRow(QListWidget *list, int row)
{
    ASSERT_TRUE(list && list->item(row));
    const QRect place = list->visualItemRect(list->item(row));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, place.center());
}

// The cube file's catalog, for the list dialogs on the display.
class ListsOnScreen : public OpenCubeFile
{
};

} // namespace

TEST(FrmOpenOnScreen, TheKeysAndTheMouseChooseTheSource)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString cube = QDir(dir.path()).filePath("sales.cub");
    {
        QFile f(cube);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }

    // Space on the focused first button: the remote server.
    {
        frmOpen form;
        form.vLanguageId = "0";
        whenShown([](QWidget &window) {
            EXPECT_EQ(window.focusWidget(), child<QPushButton>(window, "cmdConexion"));
            pressKey(window, Qt::Key_Space);
        });
        EXPECT_EQ(form.showModalForm(), QDialog::Accepted);
        EXPECT_TRUE(form.vConnInteractiva);
    }
    // A click on the cube button, then the file typed into the file dialog and Enter.
    {
        frmOpen form;
        form.vLanguageId = "0";
        QString title;
        whenShown([&](QWidget &window) {
            whenShown([&](QWidget &files) {
                title = files.windowTitle();
                typeInto(files, cube);
                pressKey(files, Qt::Key_Return);
            });
            clickOn(child<QPushButton>(window, "cmdCubo"));
        });
        form.showModalForm();
        EXPECT_EQ(title, "Choose a cube");
        EXPECT_EQ(form.vArchivo, cube);
        EXPECT_FALSE(form.vConnInteractiva);
    }
    // The web address typed into the input box; then Escape in the file dialog gives no file.
    {
        frmOpen form;
        form.vLanguageId = "1";
        whenShown([&](QWidget &window) {
            whenShown([&](QWidget &box) {
                typeInto(box, "http://host/ventas.cub");
                pressKey(box, Qt::Key_Return);
            });
            clickOn(child<QPushButton>(window, "cmdWWW"));
        });
        form.showModalForm();
        EXPECT_EQ(form.vWWWDir, "http://host/ventas.cub");

        whenShown([&](QWidget &window) {
            whenShown([&](QWidget &files) { pressKey(files, Qt::Key_Escape); });
            clickOn(child<QPushButton>(window, "cmdVista"));
        });
        form.showModalForm();
        EXPECT_EQ(form.vVista, "");
    }
    // Escape and the Cancel button each leave without a choice.
    for (const bool mouse : {false, true}) {
        frmOpen form;
        form.vLanguageId = "0";
        whenShown([mouse](QWidget &window) {
            if (mouse)
                clickOn(child<QPushButton>(window, "cmdCancelar"));
            else
                pressKey(window, Qt::Key_Escape);
        });
        EXPECT_EQ(form.showModalForm(), QDialog::Rejected);
        EXPECT_FALSE(form.vConnInteractiva);
        EXPECT_EQ(form.vArchivo, "");
    }
}

TEST(FrmConexionOnScreen, TheServerIsTypedAndConfirmed)
{
    frmConexion form;
    whenShown([](QWidget &window) {
        auto *text = child<QLineEdit>(window, "txtServer");
        EXPECT_EQ(window.focusWidget(), text);
        EXPECT_EQ(text->text(), "olap1");
        pressKey(window, Qt::Key_A, Qt::ControlModifier);
        typeInto(window, "olap2");
        pressKey(window, Qt::Key_Return);
    });
    form.traeConexion(0, "olap1");
    EXPECT_EQ(form.vConexion, "olap2");
    EXPECT_FALSE(form.isVisible());

    whenShown([](QWidget &window) {
        typeInto(window, "x");
        clickOn(child<QPushButton>(window, "cmdCancelar"));
    });
    form.traeConexion(0, "olap1");
    EXPECT_EQ(form.vConexion, "");
}

TEST_F(ListsOnScreen, FrmDbWantsARealSelection)
{
    frmDb form;
    QStringList messages;
    bool stayed = false;
    whenShown([&](QWidget &window) {
        auto *list = child<QListWidget>(window, "lstDb");
        // The list has the focus and so a current row, but nothing is chosen yet.
        EXPECT_EQ(window.focusWidget(), list);
        noteMessageBox(messages);
        pressKey(window, Qt::Key_Return);
        stayed = window.isVisible();
        clickRow(list, 0);
        clickOn(child<QPushButton>(window, "cmdDb"));
    });
    form.traeDb(0, connection);
    EXPECT_EQ(messages, QStringList({"Choose a database before leaving."}));
    EXPECT_TRUE(stayed);
    EXPECT_EQ(form.vDb, "SalesDB");
    EXPECT_EQ(form.result(), QDialog::Accepted);

    // A double click on a database chooses it.
    frmDb again;
    whenShown([](QWidget &window) {
        auto *list = child<QListWidget>(window, "lstDb");
        const QPoint at = list->visualItemRect(list->item(0)).center();
        testing_support::doubleClickAt(list->viewport(), at);
    });
    again.traeDb(1, connection);
    EXPECT_EQ(again.vDb, "SalesDB");
}

TEST_F(ListsOnScreen, FrmCuboWantsARealSelection)
{
    frmCubo form;
    QStringList messages;
    whenShown([&](QWidget &window) {
        noteMessageBox(messages);
        clickOn(child<QPushButton>(window, "cmdCubo"));
        EXPECT_TRUE(window.isVisible());
        // Back to the list, then from its current first row to the second, which is chosen.
        pressKey(window, Qt::Key_Backtab, Qt::ShiftModifier);
        EXPECT_EQ(window.focusWidget(), child<QListWidget>(window, "lstCubo"));
        pressKey(window, Qt::Key_Down);
        pressKey(window, Qt::Key_Return);
    });
    form.traeCubo(1, catalog);
    EXPECT_EQ(messages, QStringList({"Seleccione un cubo antes de salir."}));
    EXPECT_EQ(form.vCubo, "Budget");

    // Escape after choosing leaves without a cube.
    frmCubo cancelled;
    cancelled.vCubo = "Sales";
    whenShown([](QWidget &window) {
        clickRow(child<QListWidget>(window, "lstCubo"), 0);
        clickOn(child<QPushButton>(window, "cmdCancelar"));
    });
    cancelled.traeCubo(0, catalog);
    EXPECT_EQ(cancelled.vCubo, "");
}
