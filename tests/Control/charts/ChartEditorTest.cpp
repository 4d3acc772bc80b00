// The chart format editor: its texts in both languages, its file commands through scripted file
// dialogs, OK and Cancel, and the colour map button.
#include "Control/charts/ChartEditorTexts.h"
#include "Control/charts/frmGrf2D.h"
#include "platform/chart/Chart2D.h"
#include "platform/chart/ChartFormat.h"
#include "platform/chart/ChartTypes.h"
#include "platform/runtime/Error.h"
#include "platform/widgets/CommonDialog.h"
#include "platform/widgets/TabStrip.h"
#include "tests/Control/charts/ChartEditorFixture.h"
#include "tests/Control/charts/ChartTestSupport.h"
#include "tests/support/ScriptedModalRunner.h"
#include "tests/support/ScriptedMsgBox.h"

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>

using charts_test::pick;
using testing_support::ScriptedModalRunner;
namespace texts = pelmora::charteditor;
namespace ChartType = platform::chart::ChartType;

namespace {

QString captionOf(frmGrf2D &form, const char *name)
{
    QWidget *control = form.findChild<QWidget *>(QLatin1String(name));
    if (auto *l = qobject_cast<QLabel *>(control))
        return l->text();
    if (auto *b = qobject_cast<QAbstractButton *>(control))
        return b->text();
    return QStringLiteral("<no control %1>").arg(QLatin1String(name));
}

QStringList itemsOf(const QComboBox *combo)
{
    QStringList items;
    for (int i = 0; i < combo->count(); ++i)
        items << combo->itemText(i);
    return items;
}

QStringList tabCaptions(const platform::widgets::TabStrip &tabs)
{
    QStringList captions;
    for (int t = 0; t < tabs.tabCount(); ++t)
        captions << tabs.tabCaption(t);
    return captions;
}

QByteArray head(const QString &path, int bytes)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(bytes) : QByteArray();
}

class ChartEditor : public ::testing::Test
{
protected:
    void SetUp() override
    {
        archivo = path(QStringLiteral("edit.oc2"));
        platform::chart::Chart2D chart;
        chart.chartGroups().item(1).data().setSize(3, 4);
        chart.chartGroups().item(1).setChartType(ChartType::Area);
        chart.header().setText(QStringLiteral("Sales"));
        ASSERT_TRUE(chart.saveFormat(archivo));
    }
    QString path(const QString &name) const { return dir.filePath(name); }
    // A dialog loaded on the test's file.
    std::unique_ptr<frmGrf2D> loaded(int language)
    {
        return charts_test::loadedEditor(archivo, language);
    }

    QTemporaryDir dir;
    QString archivo;
    testing_support::ScriptedMsgBox boxes;
};

} // namespace

TEST_F(ChartEditor, LoadsTheFileIntoThePreview)
{
    auto form = loaded(0);
    EXPECT_EQ(form->grf2d->actionCalls(), QList<qint32>({62, 82, 83, 401, 402, 14}));
    EXPECT_EQ(form->grf2d->header().text(), "Sales");
    EXPECT_EQ(form->cmbGraficaTipo(0)->currentIndex(), 4); // Area
    EXPECT_EQ(form->lstSeries(0)->count(), 3);
    EXPECT_EQ(form->tabs->tabCount(), 10);
    EXPECT_EQ(form->mapaDef[0].blue, 255);
    EXPECT_EQ(form->mapaBN[1].red, 15);
}

TEST_F(ChartEditor, ThePreviewKeepsItsLookWhenTheFileCannotBeRead)
{
    archivo = path(QStringLiteral("missing.oc2"));
    auto form = loaded(0);
    EXPECT_EQ(form->grf2d->model(), platform::chart::Chart2D().model());
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(ChartEditor, EnglishPutsEnglishCaptionsOverTheSpanishOnes)
{
    auto form = loaded(0);
    EXPECT_EQ(form->windowTitle(), "Format 2D Chart");
    for (const texts::Caption &caption : texts::captions())
        EXPECT_EQ(captionOf(*form, caption.control), QString::fromUtf16(caption.english))
            << caption.control;
    EXPECT_EQ(captionOf(*form, "Label43"), "Ailgnment and font");
    EXPECT_EQ(captionOf(*form, "Label46"), "Alignment and font");
    EXPECT_EQ(captionOf(*form, "chkEjeY(3)"), "Reversed");
    EXPECT_EQ(captionOf(*form, "chkColor(0)"), "Color");
    EXPECT_EQ(tabCaptions(*form->tabs).join(u'|'), texts::tabsEnglish);
    EXPECT_EQ(itemsOf(form->cmb3D(0)), QStringList({"Color", "Shadow", "None"}));
    for (const texts::ListItems &list : texts::lists()) {
        auto *combo = form->findChild<QComboBox *>(list.control);
        ASSERT_NE(combo, nullptr) << list.control.toStdString();
        EXPECT_EQ(itemsOf(combo), list.english) << list.control.toStdString();
    }
}

TEST_F(ChartEditor, AnyOtherLanguageKeepsSpanishCaptionsAndRefillsTheLists)
{
    for (const int language : {1, 7, -1}) {
        frmGrf2D form;
        form.setLanguage(language);
        EXPECT_EQ(form.windowTitle(), "Formato gráfica 2D");
        for (const texts::Caption &caption : texts::captions())
            EXPECT_EQ(captionOf(form, caption.control), QString::fromUtf16(caption.spanish))
                << caption.control;
        EXPECT_EQ(tabCaptions(*form.tabs).join(u'|'), texts::tabsSpanish);
        EXPECT_EQ(itemsOf(form.cmb3D(0)), QStringList({"Color", "Sombra", "Ninguno"}));
        for (const texts::ListItems &list : texts::lists()) {
            auto *combo = form.findChild<QComboBox *>(list.control);
            ASSERT_NE(combo, nullptr) << list.control.toStdString();
            EXPECT_EQ(itemsOf(combo), list.spanish) << list.control.toStdString();
            EXPECT_EQ(combo->currentIndex(), -1) << list.control.toStdString();
            EXPECT_EQ(combo->count(), list.english.size()) << list.control.toStdString();
        }
        EXPECT_EQ(form.cmbFormato(0)->itemText(0), "Estandard");
        EXPECT_EQ(form.cmbPatron(2)->itemText(5), "Esttella");
        EXPECT_EQ(form.cmbPatron(2)->itemText(12), "Tache");
        EXPECT_EQ(form.cmbLinea(0)->itemText(6), "Raya y puntos");
        EXPECT_EQ(form.cmbPatron(1)->itemText(6), "Rayas y puntos");
    }
}

TEST_F(ChartEditor, EveryTabHoldsTheControlsOfItsElements)
{
    frmGrf2D form;
    // Element index by tab, for the arrays the tabs share.
    EXPECT_EQ(form.chkIsShowing.indexes(), QList<int>({1, 2, 3, 4, 5}));
    EXPECT_EQ(form.cmbBorde.indexes(), QList<int>({0, 1, 2, 3, 4}));
    EXPECT_EQ(form.cmdColorFrente.indexes(),
              QList<int>({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13}));
    EXPECT_EQ(form.cmdColorFondo.indexes(), QList<int>({0, 1, 2, 3, 4, 5}));
    EXPECT_EQ(form.txtLinea.indexes(), QList<int>({0, 1, 2, 3, 4, 5, 6, 7}));
    EXPECT_EQ(form.chkColor.indexes(), QList<int>({0, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(form.cmdArchivo.indexes(), QList<int>({0, 1, 2, 3, 4}));
    EXPECT_EQ(form.txt3D.indexes(), QList<int>({0, 1, 2}));
    const struct
    {
        QWidget *control;
        int tab;
    } places[] = {
        {form.cmbGraficaTipo(0), 0}, {form.cmbBorde(0), 0},      {form.cmdAbrir, 0},
        {form.txtTexto(1), 1},       {form.cmbAlineacion(2), 2}, {form.cmbPosicion(0), 3},
        {form.txtRotacion(0), 4},    {form.chkEjeY(3), 4},       {form.cmbRotacion(0), 5},
        {form.txtValor(1), 5},       {form.cmdMapa(0), 6},       {form.cmdColorFrente(13), 6},
        {form.lstSeries(0), 7},      {form.cmbPatron(2), 7},     {form.chkMarco(0), 8},
        {form.cmbBorde(4), 8},       {form.txt3D(2), 8},
    };
    for (const auto &place : places)
        EXPECT_TRUE(form.tabs->page(place.tab)->isAncestorOf(place.control))
            << place.control->objectName().toStdString();
    EXPECT_THROW(form.cmbBorde(5), platform::Error);
}

TEST_F(ChartEditor, SaveThenOpenRoundTripsTheChart)
{
    auto form = loaded(0);
    form->grf2d->header().setText(QStringLiteral("Saved"));
    const platform::chart::Chart2DModel saved = form->grf2d->model();
    const QString file = path(QStringLiteral("copy.oc2"));
    QString saveTitle, openTitle;
    QStringList saveFilters;
    ScriptedModalRunner dialogs;
    dialogs.then(pick(&saveTitle, &saveFilters, file));
    form->cmdGuardar_Click();
    ASSERT_TRUE(QFile::exists(file));

    form->grf2d->header().setText(QStringLiteral("Changed"));
    form->grf2d->chartGroups().item(1).setChartType(ChartType::Pie);
    dialogs.then(pick(&openTitle, nullptr, file));
    form->cmdAbrir_Click();
    EXPECT_EQ(form->grf2d->model(), saved);
    EXPECT_EQ(form->cmbGraficaTipo(0)->currentIndex(), 4); // the controls read it again
    EXPECT_EQ(saveTitle, "Guardar formato");
    EXPECT_EQ(openTitle, "Abrir formato");
    EXPECT_EQ(saveFilters, QStringList({"Archivo OC2 (*.oc2)"}));
    EXPECT_EQ(form->vArchivo, archivo); // OK still writes the caller's file
    EXPECT_EQ(dialogs.unexpected(), 0);
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(ChartEditor, CancelInTheFileDialogsChangesNothing)
{
    auto form = loaded(1);
    form->cmbGraficaTipo(0)->setCurrentIndex(1);
    form->cmbGraficaTipo_Click(0);
    const platform::chart::Chart2DModel before = form->grf2d->model();
    ScriptedModalRunner dialogs;
    dialogs.then(pick(nullptr, nullptr, QString()));
    form->cmdAbrir_Click();
    EXPECT_EQ(form->grf2d->model(), before);
    EXPECT_EQ(form->cmbGraficaTipo(0)->currentIndex(), 1);

    for (auto command : {&frmGrf2D::cmdGuardar_Click, &frmGrf2D::cmdExportar_Click}) {
        dialogs.then(pick(nullptr, nullptr, QString()));
        (form.get()->*command)();
    }
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList({"edit.oc2"}));
    EXPECT_EQ(form->grf2d->model(), before);
    EXPECT_TRUE(dialogs.done());
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(ChartEditor, EachExportFilterWritesItsFormatUnderTheNameGiven)
{
    struct Case
    {
        int language;
        int filter;
        const char *file;
        QByteArray magic;
    };
    const Case cases[] = {
        {0, 1, "picture-jpg", QByteArray("\xFF\xD8", 2)},
        {0, 2, "picture", QByteArray("\x89PNG", 4)},
        {1, 3, "picture.bmp", QByteArray("BM")},
        {1, 4, "picture.wmf", QByteArray("\xD7\xCD\xC6\x9A", 4)},
    };
    for (const Case &c : cases) {
        auto form = loaded(c.language);
        QString title;
        QStringList filters;
        ScriptedModalRunner dialogs;
        const QString file = path(QLatin1String(c.file));
        dialogs.then(pick(&title, &filters, file, c.filter));
        form->cmdExportar_Click();
        EXPECT_EQ(head(file, int(c.magic.size())), c.magic) << c.file;
        ASSERT_EQ(filters.size(), 4);
        if (c.language == 1) {
            EXPECT_EQ(title, "Exporta imagen");
            EXPECT_EQ(filters[3], "Archivo windows metafile (*.wmf)");
        } else {
            EXPECT_EQ(title, "Image Export");
            EXPECT_EQ(filters[3], "Windows metafile file (*.wmf)"); // no stray quote
        }
    }
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(ChartEditor, ExportFollowsTheLanguageWhileTheOtherDialogsStaySpanish)
{
    for (const int language : {0, 1, 2}) {
        auto form = loaded(language);
        QString exportTitle, openTitle, mapTitle;
        ScriptedModalRunner dialogs;
        dialogs.then(pick(&exportTitle, nullptr, QString()));
        dialogs.then(pick(&openTitle, nullptr, QString()));
        dialogs.then(pick(&mapTitle, nullptr, QString()));
        form->cmdExportar_Click();
        form->cmdAbrir_Click();
        form->cmdMapa_Click(0);
        EXPECT_EQ(exportTitle, language == 1 ? "Exporta imagen" : "Image Export") << language;
        EXPECT_EQ(openTitle, "Abrir formato");
        EXPECT_EQ(mapTitle, "Mapa de colores");
    }
}

TEST_F(ChartEditor, TheMapButtonColoursTheSeriesFromTheChosenFile)
{
    const QString map = path(QStringLiteral("two.map"));
    QFile file(map);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("255 0 0\n0 0 255\n");
    file.close();
    auto form = loaded(0);
    QStringList filters;
    ScriptedModalRunner dialogs;
    dialogs.then(pick(nullptr, &filters, map));
    form->cmdMapa_Click(0);
    EXPECT_EQ(form->lblMapa(0)->text(), map);
    auto back = [&form](int s) {
        return form->grf2d->chartGroups().item(1).styles().at(s).fill().interior().background();
    };
    EXPECT_EQ(back(1), 255);
    EXPECT_EQ(back(2), 255 * 65536);
    EXPECT_EQ(back(3), 255);
    EXPECT_EQ(filters, QStringList({"Mapa de colores (*.map)", "Todos los archivos (*.*)"}));
    EXPECT_EQ(platform::widgets::CommonDialog::nameFilters(form->dlg->filter()).last(),
              "Todos los archivos (*.*)");
    EXPECT_TRUE(form->dlg->filter().endsWith("|*.*"));

    // Cancel keeps the name and applies the same map again.
    form->grf2d->chartGroups().item(1).styles().item(1).fill().interior().setBackground(7);
    dialogs.then(pick(nullptr, nullptr, QString()));
    form->cmdMapa_Click(0);
    EXPECT_EQ(form->lblMapa(0)->text(), map);
    EXPECT_EQ(back(1), 255);
}

TEST_F(ChartEditor, OkWritesThePreviewAndCancelLeavesTheFile)
{
    const QByteArray original = head(archivo, 1 << 20);
    auto cancelled = loaded(0);
    cancelled->grf2d->header().setText(QStringLiteral("Not kept"));
    cancelled->cmdCancel_Click();
    EXPECT_FALSE(cancelled->vOK);
    EXPECT_EQ(head(archivo, 1 << 20), original);

    auto accepted = loaded(0);
    accepted->grf2d->header().setText(QStringLiteral("Kept"));
    accepted->cmdOK_Click();
    EXPECT_TRUE(accepted->vOK);
    platform::chart::Chart2D reread;
    ASSERT_TRUE(reread.loadFormat(archivo));
    EXPECT_EQ(reread.header().text(), "Kept");
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(ChartEditor, CopyPutsThePreviewOnTheClipboard)
{
    auto form = loaded(0);
    QGuiApplication::clipboard()->clear();
    form->cmdCopiar_Click();
    const QImage copied = QGuiApplication::clipboard()->image();
    EXPECT_FALSE(copied.isNull());
    EXPECT_EQ(copied.size(), form->grf2d->picture().size());
}

TEST_F(ChartEditor, OkSaysWhenTheFileCannotBeWrittenAndStaysOpen)
{
    auto form = loaded(0);
    form->vArchivo = path(QStringLiteral("no-such-folder/edit.oc2"));
    form->cmdOK_Click();
    EXPECT_FALSE(form->vOK);
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_TRUE(boxes.texts().first().contains("no-such-folder/edit.oc2"));
}
