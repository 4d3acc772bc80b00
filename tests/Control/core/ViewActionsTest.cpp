// The commands on the whole view, through the scripted modal runner on the sales cube: save,
// print, copy, screen elements, layout, direct MDX, about box, splash and title.
#include "Control/core/ElementsDialog.h"
#include "Control/core/LayoutDialog.h"
#include "Control/core/MdxDialog.h"
#include "Control/core/SplashDialog.h"
#include "Control/core/TitleDialog.h"
#include "platform/chart/Chart2D.h"
#include "platform/chart/Chart3D.h"
#include "platform/forms/Screen.h"
#include "platform/runtime/Error.h"
#include "platform/widgets/MdxEdit.h"
#include "tests/Control/core/GestureTestSupport.h"
#include "tests/Control/core/RouteTestSupport.h"
#include "tests/support/ScriptedModalRunner.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>

using namespace gesturetest;
using pelmora::Columns;
using pelmora::Rows;
using pelmora::Slicer;
using testing_support::ScriptedModalRunner;

namespace {

const QString crlf = QStringLiteral("\r\n");

// The grid's rows as the clipboard has them: tabs between cells, CR LF between rows.
QString clipText(const QStringList &rows)
{
    QStringList lines;
    for (const QString &row : rows)
        lines << QString(row).replace(u'|', u'\t');
    return lines.join(crlf);
}

QStringList listItems(const QListWidget *list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts << list->item(i)->text();
    return texts;
}

void select(QListWidget *list, const QString &text)
{
    const QList<QListWidgetItem *> found = list->findItems(text, Qt::MatchExactly);
    ASSERT_EQ(found.size(), 1) << text.toStdString();
    list->setCurrentItem(found.first());
}

} // namespace

class ViewActions : public SalesControl
{
protected:
    ScriptedModalRunner dialogs;
};

// --- saveView ---

TEST_F(ViewActions, SaveViewWritesANewFileAndSaysNothingWhenCancelled)
{
    QTemporaryDir dir;
    const QString chosen = QDir(dir.path()).filePath("view.vcg");
    dialogs.then([&](QDialog &d) {
        auto *files = qobject_cast<QFileDialog *>(&d);
        EXPECT_TRUE(files);
        if (!files)
            return int(QDialog::Rejected);
        EXPECT_EQ(files->windowTitle(), "Choose a view file Name");
        files->selectFile(chosen);
        return int(QDialog::Accepted);
    });
    EXPECT_TRUE(control.doAction("SAVEVIEW"));
    EXPECT_TRUE(QFile::exists(chosen));
    EXPECT_EQ(control.queryState.viewFile, chosen);

    // Cancelled: no "saveDialog: " report and no write failure, the command answers False.
    dialogs.then([](QDialog &) { return int(QDialog::Rejected); });
    EXPECT_FALSE(control.doAction("SAVEVIEW"));
    EXPECT_EQ(control.queryState.viewFile, "");
    EXPECT_EQ(boxes.count(), 0) << boxes.texts().join(u';').toStdString();
    EXPECT_EQ(dialogs.shown(), QStringList({"saveFileDialog", "saveFileDialog"}));
}

TEST_F(ViewActions, SaveViewOntoAnExistingFileWritesNothingAndSaysSo)
{
    QTemporaryDir dir;
    const QString existing = QDir(dir.path()).filePath("old.vcg");
    {
        QFile file(existing);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("kept");
    }
    const struct
    {
        int language;
        QString title;
        QString text;
    } cases[] = {
        {0, "Choose a view file Name",
         "Error while writing view in file: " + existing + ". Probably it already exists."},
        {1, "Elija el nombre del archivo que contendra la vista",
         "Error al escribir la vista en archivo: " + existing + ". Probablemente ya existe."},
    };
    for (const auto &c : cases) {
        boxes.clear();
        control.language.LanguageID = c.language;
        dialogs.then([&](QDialog &d) {
            EXPECT_EQ(d.windowTitle(), c.title);
            static_cast<QFileDialog &>(d).selectFile(existing);
            return int(QDialog::Accepted);
        });
        EXPECT_FALSE(control.saveView());
        EXPECT_EQ(boxes.texts(), QStringList({c.text}));
        EXPECT_EQ(boxes.shown().value(0).buttons, platform::forms::OkOnly);
    }
    QFile file(existing);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), "kept");

    // A failure while saying so reaches the trap.
    controltest::FailingMsgBox failing(1);
    dialogs.then([&](QDialog &d) {
        static_cast<QFileDialog &>(d).selectFile(existing);
        return int(QDialog::Accepted);
    });
    EXPECT_FALSE(control.saveView());
    EXPECT_EQ(failing.texts().value(1), "saveView:Out of memory");
}

// --- printView ---

TEST_F(ViewActions, PrintViewShowsNoPreviewAndAnswersFalseWhenTheOptionsAreCancelled)
{
    dialogs.then([](QDialog &d) { return int(ScriptedModalRunner::click(d, "cmdCancelar")); });
    EXPECT_FALSE(control.doAction("PRINTVIEW"));
    EXPECT_EQ(dialogs.shown(), QStringList({"frmPreviewParams"}));
    EXPECT_EQ(boxes.count(), 0);
}

// --- copyView ---

TEST_F(ViewActions, CopyViewPutsTheShownPartsOfANestedViewOnTheClipboard)
{
    // Time and Product nested on the rows, Store alone on the slicer.
    lay({{Columns, 0}, {Rows, 0}, {Rows, 1}, {Slicer, 0}});
    control.lblCubo->setText("Sales by year and product");
    const QString titles = "Store\tAll Stores";
    const QStringList data = gridRows(*control.grdResults);
    // The fixed cells are included: the row dimensions' titles and both row headers.
    ASSERT_GE(data.size(), 4);
    EXPECT_EQ(data.value(1), "Time|Product|Sales");
    EXPECT_EQ(data.value(2).section(u'|', 0, 1), "1997|All Products");

    const struct
    {
        const char *name;
        bool title, headings, matrix;
        QString expected;
    } cases[] = {
        {"all shown", true, true, true,
         "Sales by year and product" + crlf + titles + crlf + clipText(data)},
        {"title hidden", false, true, true, crlf + titles + crlf + clipText(data)},
        {"only the data", false, false, true, crlf + clipText(data)},
        {"nothing", false, false, false, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        control.lblCubo->setVisible(c.title);
        control.grdTitulos->setVisible(c.headings);
        control.grdResults->setVisible(c.matrix);
        platform::forms::clipboardSetText("before");
        EXPECT_TRUE(control.doAction("copyView"));
        EXPECT_EQ(platform::forms::clipboardText(), c.expected);
    }
    EXPECT_EQ(boxes.count(), 0);
}

// --- showElements ---

TEST_F(ViewActions, ShowElementsGivesTheDialogWhatIsShownAndShowsWhatItChose)
{
    struct Visible
    {
        bool title, headings, matrix, chart2d, chart3d;
        bool operator==(const Visible &) const = default;
    };
    const auto visible = [this] {
        return Visible{!control.lblCubo->isHidden(), !control.grdTitulos->isHidden(),
                       !control.grdResults->isHidden(), !control.grf2d->isHidden(),
                       !control.grf3d->isHidden()};
    };
    const struct
    {
        const char *name;
        Visible before;
        int given[4]; // vTitulo, vEncabezados, vDatos, vGrafica as the dialog gets them
        bool checks[4];
        bool ok;
        Visible after;
    } cases[] = {
        // clang-format off
        {"hide the title and the chart", {true, true, true, true, false}, {1, 1, 1, 1},
         {false, true, true, false}, true, {false, true, true, false, false}},
        // clang-format on
        {"the 3-D chart showing: the chart box checked, the 2-D chart shown too",
         {true, true, true, false, true},
         {1, 1, 1, 1},
         {true, true, true, true},
         true,
         {true, true, true, true, true}},
        // clang-format off
        {"clearing the chart hides both", {true, false, true, true, true}, {1, 0, 1, 1},
         {true, false, true, false}, true, {true, false, true, false, false}},
        {"only the headings, charts hidden before", {true, true, true, false, false},
         {1, 1, 1, 0}, {false, true, false, true}, true, {false, true, false, true, false}},
        {"cancelled: nothing changes", {true, true, false, false, true}, {1, 1, 0, 1},
         {false, false, true, false}, false, {true, true, false, false, true}},
        // clang-format on
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        control.lblCubo->setVisible(c.before.title);
        control.grdTitulos->setVisible(c.before.headings);
        control.grdResults->setVisible(c.before.matrix);
        control.grf2d->setVisible(c.before.chart2d);
        control.grf3d->setVisible(c.before.chart3d);
        dialogs.then([&](QDialog &d) {
            auto &form = static_cast<frmElementos &>(d);
            EXPECT_EQ(form.vLanguageId, 0);
            EXPECT_EQ((std::array{form.vTitulo, form.vEncabezados, form.vDatos, form.vGrafica}),
                      (std::array{c.given[0], c.given[1], c.given[2], c.given[3]}));
            EXPECT_EQ(form.chkTitulo->isChecked(), c.given[0] == 1);
            EXPECT_EQ(form.chkGrafica->isChecked(), c.given[3] == 1);
            form.chkTitulo->setChecked(c.checks[0]);
            form.chkEncabezados->setChecked(c.checks[1]);
            form.chkDatos->setChecked(c.checks[2]);
            form.chkGrafica->setChecked(c.checks[3]);
            ScriptedModalRunner::click(d, c.ok ? "cmdAceptar" : "cmdCancelar");
            return -1;
        });
        EXPECT_TRUE(control.doAction("ShowElements"));
        EXPECT_EQ(visible(), c.after);
    }
    // The control's display properties are not the elements' visibility.
    EXPECT_TRUE(control.displayFlags.VisibleTitle);
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(ViewActions, ShowElementsWantsOneElementChosen)
{
    const struct
    {
        int language;
        QStringList texts;
    } cases[] = {
        {0, {"At least one element must be chosen."}},
        {1, {"Debe escoger al menos un elemento."}},
        {2, {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.language);
        boxes.clear();
        control.language.LanguageID = c.language;
        dialogs.then([](QDialog &d) {
            auto &form = static_cast<frmElementos &>(d);
            for (QCheckBox *box :
                 {form.chkTitulo, form.chkEncabezados, form.chkDatos, form.chkGrafica})
                box->setChecked(false);
            ScriptedModalRunner::click(d, "cmdAceptar");
            EXPECT_FALSE(form.vOK); // still open
            EXPECT_EQ(form.result(), 0);
            ScriptedModalRunner::click(d, "cmdCancelar");
            return -1;
        });
        EXPECT_TRUE(control.showElements());
        EXPECT_EQ(boxes.texts(), c.texts);
        EXPECT_FALSE(control.lblCubo->isHidden());
    }
}

// --- showLayout ---

TEST_F(ViewActions, ShowLayoutListsEachPlaceAndConfirmingUnchangedChangesNothing)
{
    // Product before Time on the rows, Time with element type 3.
    lay({{Columns, 0}, {Rows, 1}, {Rows, 0}, {Slicer, 0}});
    pelmora::orderDimAt(control.layoutState, 1).jerarquia = 3;
    ASSERT_TRUE(control.genSelect());
    const QStringList before = layoutOf(control);
    const QString statementBefore = control.queryState.currentMDX;

    for (bool ok : {true, false}) {
        SCOPED_TRACE(ok ? "OK" : "Cancel");
        const auto result = lastResult(control);
        dialogs.then([&](QDialog &d) {
            auto &form = static_cast<frmLayout &>(d);
            EXPECT_EQ(form.vFrm, &control);
            EXPECT_EQ(listItems(form.lstE), QStringList({"Store"}));
            EXPECT_EQ(listItems(form.lstH), QStringList({"Measures"}));
            EXPECT_EQ(listItems(form.lstV), QStringList({"Product", "Time"}));
            ScriptedModalRunner::click(d, ok ? "cmdLayout" : "cmdCancelar");
            return -1;
        });
        EXPECT_TRUE(control.doAction("SHOWLAYOUT"));
        EXPECT_EQ(layoutOf(control), before);
        // The query ran again, after OK and Cancel alike.
        EXPECT_NE(lastResult(control), result);
        EXPECT_EQ(control.queryState.currentMDX, statementBefore);
    }
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(ViewActions, ShowLayoutMovesTheSelectedDimensions)
{
    // Time selected on the rows and Measures on the columns, to the header: Measures first.
    dialogs.then([](QDialog &d) {
        auto &form = static_cast<frmLayout &>(d);
        select(form.lstH, "Measures");
        select(form.lstV, "Time");
        ScriptedModalRunner::click(d, "cmdEncab");
        EXPECT_EQ(listItems(form.lstE), QStringList({"Product", "Store", "Measures", "Time"}));
        EXPECT_TRUE(form.lstH->selectedItems().isEmpty());
        // Nothing selected anywhere: the buttons move nothing.
        ScriptedModalRunner::click(d, "cmdVertical");
        EXPECT_EQ(form.lstV->count(), 0);
        // Store back to the columns, Product to the rows.
        select(form.lstE, "Store");
        ScriptedModalRunner::click(d, "cmdHorizontal");
        select(form.lstE, "Product");
        ScriptedModalRunner::click(d, "cmdVertical");
        EXPECT_EQ(listItems(form.lstE), QStringList({"Measures", "Time"}));
        EXPECT_EQ(listItems(form.lstH), QStringList({"Store"}));
        EXPECT_EQ(listItems(form.lstV), QStringList({"Product"}));
        ScriptedModalRunner::click(d, "cmdLayout");
        return -1;
    });
    EXPECT_TRUE(control.showLayout());
    EXPECT_EQ(layoutOf(control),
              QStringList({"0/0/7/[Measures].[Sales]", "0/1/7/[Time].[1997]",
                           "2/0/0/[Product].[All Products]", "1/0/0/[Store].[All Stores]"}));
    EXPECT_EQ(control.queryState.currentMDX,
              statement(storeSet, productSet, {"[Measures].[Sales]", "[Time].[1997]"}));

    // Every dimension off the rows: the statement has only columns.
    dialogs.then([](QDialog &d) {
        auto &form = static_cast<frmLayout &>(d);
        select(form.lstV, "Product");
        ScriptedModalRunner::click(d, "cmdHorizontal");
        ScriptedModalRunner::click(d, "cmdLayout");
        return -1;
    });
    EXPECT_TRUE(control.showLayout());
    EXPECT_EQ(control.countOrderDims(Rows), 0);
    EXPECT_EQ(control.queryState.currentMDX,
              statement(" CROSSJOIN (" + storeSet + ", " + productSet + ")", QString(),
                        {"[Measures].[Sales]", "[Time].[1997]"}));
    EXPECT_EQ(boxes.count(), 0) << boxes.texts().join(u';').toStdString();
}

TEST(ShowLayoutWithoutCube, IsReportedAndAnswersFalse)
{
    testing_support::ScriptedMsgBox boxes;
    ScriptedModalRunner dialogs;
    PelmoraC02 control;
    EXPECT_FALSE(control.doAction("ShowLayout"));
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_TRUE(boxes.texts()[0].startsWith("showLayout:")) << boxes.texts()[0].toStdString();
    EXPECT_GT(boxes.texts()[0].size(), QString("showLayout:").size());
    EXPECT_TRUE(dialogs.shown().isEmpty());
}

// --- directMDX ---

TEST_F(ViewActions, DirectMdxOnAnInteractiveControlOnlyShowsTheStatement)
{
    const QString shownStatement = control.queryState.currentMDX;
    const auto result = lastResult(control);
    dialogs.then([&](QDialog &d) {
        auto &form = static_cast<frmMDX &>(d);
        EXPECT_TRUE(form.cmdEjecutar->isHidden());
        EXPECT_EQ(form.txtMDX->text(), shownStatement);
        form.txtMDX->setText("SELECT FROM [Sales]");
        ScriptedModalRunner::click(d, "cmdEjecutar"); // hidden: offers nothing
        EXPECT_FALSE(form.vEjecutar);
        ScriptedModalRunner::click(d, "cmdAceptar");
        return -1;
    });
    EXPECT_TRUE(control.doAction("DIRECTMDX"));
    EXPECT_EQ(control.queryState.currentMDX, shownStatement);
    EXPECT_EQ(lastResult(control), result);
}

TEST_F(ViewActions, DirectMdxRunsATypedStatementOnANonInteractiveControl)
{
    control.controlFlags.Interactive = false;
    const QStringList layout = layoutOf(control);
    const QString typed = "SELECT {[Store].[All Stores].Children} ON COLUMNS FROM [Sales]";
    dialogs.then([&](QDialog &d) {
        auto &form = static_cast<frmMDX &>(d);
        EXPECT_FALSE(form.cmdEjecutar->isHidden());
        form.txtMDX->setText(typed);
        ScriptedModalRunner::click(d, "cmdEjecutar");
        return -1;
    });
    EXPECT_TRUE(control.directMDX());
    EXPECT_EQ(control.queryState.currentMDX, typed);
    EXPECT_EQ(data().value(1), "Canada|USA");
    EXPECT_EQ(layoutOf(control), layout); // the records are not touched

    // OK throws the edited statement away.
    dialogs.then([&](QDialog &d) {
        auto &form = static_cast<frmMDX &>(d);
        EXPECT_EQ(form.txtMDX->text(), typed);
        form.txtMDX->setText("SELECT FROM [Sales]");
        ScriptedModalRunner::click(d, "cmdAceptar");
        return -1;
    });
    EXPECT_TRUE(control.directMDX());
    EXPECT_EQ(control.queryState.currentMDX, typed);
    EXPECT_EQ(boxes.count(), 0) << boxes.texts().join(u';').toStdString();
}

// --- the view's title ---

TEST_F(ViewActions, ChangeTitleSetsTheCaptionAndBothChartHeaders)
{
    control.grf3d->setVisible(false);
    control.lblCubo->setText("Cube");
    const struct
    {
        const char *name;
        QString typed;
        bool closeButton;
        QString expected;
    } cases[] = {
        {"closed by the window: the title given back", "ignored", false, "Cube"},
        {"a new title", "Sales 1997", true, "Sales 1997"},
        {"emptied", "", true, ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        const QString old = control.lblCubo->text();
        dialogs.then([&](QDialog &d) {
            auto &form = static_cast<frmTitulo &>(d);
            EXPECT_EQ(form.txtTitulo->text(), old);
            form.txtTitulo->setText(c.typed);
            if (c.closeButton)
                ScriptedModalRunner::click(d, "cmdCerrar");
            else
                form.reject();
            return -1;
        });
        EXPECT_TRUE(control.doAction("CambiaTitulo"));
        EXPECT_EQ(control.lblCubo->text(), c.expected);
        EXPECT_EQ(control.grf2d->header().text(), c.expected);
        EXPECT_EQ(control.grf3d->header().text(), c.expected);
    }
}

// --- the about box and the splash screen ---

TEST_F(ViewActions, AboutBoxAndSplashShowTheFormInTheirModes)
{
    for (int language : {0, 1}) {
        control.language.LanguageID = language;
        dialogs.then([&](QDialog &d) {
            auto &form = static_cast<frmSplash &>(d);
            EXPECT_TRUE(form.vCerrar);
            EXPECT_EQ(form.vLanguageId, language);
            EXPECT_FALSE(form.cmdClose->isHidden());
            ScriptedModalRunner::click(d, "cmdClose");
            return -1;
        });
        EXPECT_TRUE(control.doAction("ABOUTBOX"));
        dialogs.then([&](QDialog &d) {
            auto &form = static_cast<frmSplash &>(d);
            EXPECT_FALSE(form.vCerrar);
            EXPECT_EQ(form.vTime, 1500);
            EXPECT_TRUE(form.cmdClose->isHidden());
            return int(QDialog::Rejected);
        });
        EXPECT_TRUE(control.doAction("SPLASH"));
    }
    EXPECT_TRUE(dialogs.done());
    EXPECT_EQ(dialogs.shown(), QStringList({"frmSplash", "frmSplash", "frmSplash", "frmSplash"}));
}

// --- failures ---

TEST_F(ViewActions, AFailingDialogIsReportedUnderItsProcedure)
{
    const struct
    {
        const char *keyword;
        QString label;
        bool answer; // what the command answers
    } cases[] = {
        {"SHOWELEMENTS", "showElements:", false}, {"SHOWLAYOUT", "showLayout:", false},
        {"DIRECTMDX", "directMDX:", true},        {"ABOUTBOX", "ShowAboutBox:", true},
        {"SPLASH", "ShowSplash:", true},          {"CAMBIATITULO", "changeTitle:", true},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.keyword);
        boxes.clear();
        dialogs.then([](QDialog &) -> int { throw platform::Error("Out of memory"); });
        EXPECT_EQ(control.doAction(c.keyword), c.answer);
        EXPECT_EQ(boxes.texts(), QStringList({c.label + "Out of memory"}));
        EXPECT_EQ(boxes.shown().value(0).buttons, platform::forms::OkOnly);
    }
    // The procedures themselves answer False after their report.
    dialogs.then([](QDialog &) -> int { throw platform::Error("Out of memory"); });
    EXPECT_FALSE(control.ShowAboutBox());
}
