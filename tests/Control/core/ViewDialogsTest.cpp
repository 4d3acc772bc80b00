// The view dialogs on their own: their texts in each language, and what their buttons do.
#include "Control/core/ElementsDialog.h"
#include "Control/core/LayoutDialog.h"
#include "Control/core/MdxDialog.h"
#include "Control/core/SplashDialog.h"
#include "Control/core/TitleDialog.h"
#include "platform/widgets/MdxEdit.h"
#include "tests/support/ScriptedModalRunner.h"
#include "tests/support/ScriptedMsgBox.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMouseEvent>
#include <QPushButton>
#include <QSysInfo>
#include <QTextBlock>
#include <QTextLayout>

using testing_support::ScriptedModalRunner;
using testing_support::ScriptedMsgBox;

namespace {

// The texts of a form's window and of the named children, as "name=text".
template <typename Form>
QStringList textsOf(Form &form, const QStringList &names)
{
    QStringList texts{QStringLiteral("form=") + form.windowTitle()};
    for (const QString &name : names) {
        QWidget *w = form.template findChild<QWidget *>(name);
        QString text;
        if (auto *b = qobject_cast<QAbstractButton *>(w))
            text = b->text();
        else if (auto *l = qobject_cast<QLabel *>(w))
            text = l->text();
        texts << name + u'=' + text;
    }
    return texts;
}

// Shows the form through the scripted runner and answers its texts then.
template <typename Form>
QStringList loadedTexts(Form &form, const QStringList &names)
{
    ScriptedModalRunner runner;
    QStringList texts;
    runner.then([&](QDialog &) {
        texts = textsOf(form, names);
        return int(QDialog::Rejected);
    });
    form.showModalForm();
    return texts;
}

struct LanguageCase
{
    int language;
    QStringList texts;
};

// The form's texts after its load in each language of the table.
template <typename Form>
void expectLanguageTexts(const QStringList &names, std::initializer_list<LanguageCase> cases)
{
    for (const LanguageCase &c : cases) {
        Form form;
        form.vLanguageId = c.language;
        EXPECT_EQ(loadedTexts(form, names), c.texts) << c.language;
    }
}

// An object standing for the control: records the dimension options asked for.
class OptionsRecorder : public QObject
{
    Q_OBJECT

public:
    Q_INVOKABLE void doAnalysis2(const QString &nomDim) { asked << nomDim; }
    QStringList asked;
};

} // namespace

TEST(ViewDialogs, FrmElementosSpeaksItsLanguage)
{
    const QStringList names{"chkTitulo",  "chkEncabezados", "chkDatos",
                            "chkGrafica", "cmdAceptar",     "cmdCancelar"};
    const QStringList spanish{"form=Elementos de forma",     "chkTitulo=&Titulo",
                              "chkEncabezados=&Encabezados", "chkDatos=&Datos",
                              "chkGrafica=&Gráfica",         "cmdAceptar=&Aceptar",
                              "cmdCancelar=&Cancelar"};
    expectLanguageTexts<frmElementos>(
        names,
        {
            {0,
             {"form=Form elements", "chkTitulo=&Title", "chkEncabezados=&Heading",
              "chkDatos=&Matrix", "chkGrafica=Ch&art", "cmdAceptar=&OK", "cmdCancelar=&Cancel"}},
            {1, spanish},
            {2, spanish},
        });
}

TEST(ViewDialogs, FrmLayoutSpeaksItsLanguage)
{
    const QStringList names{"lblE",        "lblH",      "lblV",        "cmdEncab",  "cmdHorizontal",
                            "cmdVertical", "cmdLayout", "cmdCancelar", "cmdArriba", "cmdAbajo"};
    const QStringList spanish{
        "form=Layout del cubo",  "lblE=E&ncabezado",   "lblH=Eje h&orizontal",
        "lblV=Eje Ve&rtical",    "cmdEncab=&Encab.",   "cmdHorizontal=&Horizontal",
        "cmdVertical=&Vertical", "cmdLayout=&Aceptar", "cmdCancelar=&Cancelar",
        "cmdArriba=A&rriba",     "cmdAbajo=A&bajo"};
    expectLanguageTexts<frmLayout>(
        names, {
                   {0,
                    {"form=Cube layout", "lblE=H&eader", "lblH=X &Axis", "lblV=Y Ax&is",
                     "cmdEncab=&Header", "cmdHorizontal=&X Axis", "cmdVertical=&Y Axis",
                     "cmdLayout=&OK", "cmdCancelar=&Cancel", "cmdArriba=&Up", "cmdAbajo=&Down"}},
                   {1, spanish},
                   {2, spanish},
               });
}

TEST(ViewDialogs, FrmLayoutDoubleClickAsksTheControlForTheDimensionsOptions)
{
    OptionsRecorder control;
    frmLayout form;
    form.vFrm = &control;
    form.lstE->addItems({"Product", "Store"});
    form.lstV->addItem("Time");
    for (QListWidget *list : {form.lstE, form.lstV}) {
        QListWidgetItem *item = list->item(list->count() - 1);
        list->setCurrentItem(item);
        emit list->itemDoubleClicked(item);
    }
    EXPECT_EQ(control.asked, QStringList({"Store", "Time"}));

    // The Up and Down buttons do nothing (and are not shown).
    form.cmdArriba->click();
    form.cmdAbajo->click();
    EXPECT_EQ(form.lstE->count(), 2);
    EXPECT_TRUE(form.cmdArriba->isHidden());
    EXPECT_FALSE(form.vOK);
}

TEST(ViewDialogs, FrmMdxSpeaksItsLanguageAndColoursTheStatement)
{
    const QStringList names{"cmdAceptar", "cmdEjecutar"};
    expectLanguageTexts<frmMDX>(
        names, {
                   {0, {"form=Direct MDX", "cmdAceptar=&OK", "cmdEjecutar=&Execute"}},
                   {1, {"form=MDX Directo", "cmdAceptar=&Aceptar", "cmdEjecutar=&Ejecutar"}},
                   {5, {"form=MDX Directo", "cmdAceptar=&Aceptar", "cmdEjecutar=&Ejecutar"}},
               });

    frmMDX form;
    form.txtMDX->setText("SELECT [Time].Members ON COLUMNS FROM [Sales]");
    QTextBlock block = form.txtMDX->document()->firstBlock();
    QStringList coloured;
    for (const QTextLayout::FormatRange &range : block.layout()->formats())
        coloured << block.text().mid(range.start, range.length) + u'='
                        + range.format.foreground().color().name();
    using platform::widgets::MdxEdit;
    using platform::widgets::MdxTextKind;
    const QString keyword = MdxEdit::colour(MdxTextKind::Keyword).name();
    const QString name = MdxEdit::colour(MdxTextKind::Name).name();
    EXPECT_TRUE(coloured.contains("SELECT=" + keyword)) << coloured.join(u' ').toStdString();
    EXPECT_TRUE(coloured.contains("[Sales]=" + name)) << coloured.join(u' ').toStdString();
    EXPECT_TRUE(coloured.contains("Members=" + MdxEdit::colour(MdxTextKind::Function).name()));
}

TEST(ViewDialogs, FrmTituloSpeaksItsLanguageAndTakesTheText)
{
    const QStringList names{"lblTitulo", "cmdCerrar"};
    const QStringList spanish{
        "form=Cambia el título de la vista",
        "lblTitulo=Escriba el título nuevo de la vista:", "cmdCerrar=&Cerrar"};
    const struct
    {
        int language;
        QStringList texts;
    } cases[] = {
        {0, {"form=Choose a new title", "lblTitulo=Write down the title view", "cmdCerrar=&Close"}},
        {1, spanish},
        {3, spanish},
    };
    for (const auto &c : cases) {
        frmTitulo form;
        form.vLanguageId = c.language;
        form.vTitulo = "Old";
        EXPECT_EQ(loadedTexts(form, names), c.texts) << c.language;
        EXPECT_EQ(form.txtTitulo->text(), "Old");
    }
}

TEST(ViewDialogs, FrmSplashShowsNameVersionSystemAndNoVendor)
{
    const QString english =
        "Pelmora is a sophisticated tool for working with multidimensional databases. Using "
        "multidimensional databases and cubes, let's the user do interactive analisys, "
        "reporting and presentation.";
    const QString spanish =
        "Pelmora es una sofisticada herramienta para trabajar con bases de datos "
        "multidimensionales. Permite el análisis interactivo, el reporteo y la presentación de "
        "cubos y bases de datos multidimensionales.";
    const QString spanishInfo = "lblInfo=Para información de nuestros productos consulte:";
    const struct
    {
        int language;
        bool about;
        QStringList texts;
    } cases[] = {
        {0,
         true,
         {"lblProductDescription=" + english,
          "lblInfo=For more info please go to:", "cmdClose=&Close"}},
        {1, true, {"lblProductDescription=" + spanish, spanishInfo, "cmdClose=&Cerrar"}},
        {2, false, {"lblProductDescription=Pelmora", spanishInfo, "cmdClose=&Cerrar"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.language);
        frmSplash form;
        form.vLanguageId = c.language;
        form.vCerrar = c.about;
        const QStringList texts =
            loadedTexts(form, {"lblProductDescription", "lblInfo", "cmdClose", "lblVersion",
                               "lblPlatform", "lblWeb", "lblCompany", "lblCopyright"});
        EXPECT_EQ(texts.mid(1, 3), c.texts);
        EXPECT_EQ(texts.value(4), "lblVersion=Version 2.1.10");
        EXPECT_EQ(texts.value(5), "lblPlatform=" + QSysInfo::prettyProductName());
        EXPECT_EQ(texts.value(6), "lblWeb=https://pelmora.example.org");
        EXPECT_EQ(form.cmdClose->isHidden(), !c.about);
        for (const QString &text : texts) {
            for (const char *vendor : {"Microsoft", "Windows", "MS "})
                EXPECT_FALSE(text.contains(QLatin1String(vendor))) << text.toStdString();
        }
        EXPECT_FALSE(form.picLogo->pixmap().isNull());
    }
}

TEST(ViewDialogs, FrmSplashOpensItsWebAddressOrSaysItCouldNot)
{
    ScriptedMsgBox boxes;
    QStringList opened;
    bool answer = true;
    const frmSplash::WebOpener previous = frmSplash::setWebOpener([&](const QString &address) {
        opened << address;
        return answer;
    });
    frmSplash form;
    form.vLanguageId = 0;
    const auto click = [&form] {
        const QPointF at(2, 2);
        QMouseEvent press(QEvent::MouseButtonPress, at, form.lblWeb->mapToGlobal(at),
                          Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
        QMouseEvent release(QEvent::MouseButtonRelease, at, form.lblWeb->mapToGlobal(at),
                            Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(form.lblWeb, &press);
        QApplication::sendEvent(form.lblWeb, &release);
    };
    click();
    EXPECT_EQ(opened, QStringList({"https://pelmora.example.org"}));
    EXPECT_EQ(boxes.count(), 0);
    // No browser: said in Spanish whatever the language.
    answer = false;
    click();
    EXPECT_EQ(boxes.texts(), QStringList({"Error al ejecutar: https://pelmora.example.org"}));
    frmSplash::setWebOpener(previous);
}

#include "ViewDialogsTest.moc"
