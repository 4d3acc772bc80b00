// Filling the chart format editor from its chart: every control shows the chart's value, and the
// chart stays byte for byte as it was loaded, in both decimal-separator locales.
#include "Control/charts/EditorControls.h"
#include "Control/charts/frmGrf2D.h"
#include "platform/chart/Chart2D.h"
#include "platform/chart/ChartTypes.h"
#include "tests/Control/charts/ChartTestSupport.h"
#include "tests/support/LocaleGuard.h"
#include "tests/support/ScriptedModalRunner.h"
#include "tests/support/ScriptedMsgBox.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QTemporaryDir>

#include <memory>

using platform::chart::AutomaticColor;
using platform::chart::Chart2D;
namespace charteditor = pelmora::charteditor;
namespace pc = platform::chart;

namespace {

QByteArray bytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A chart with every setting the editor shows away from its default.
void restyle(Chart2D &chart)
{
    auto &group = chart.chartGroups().item(1);
    group.data().setSize(3, 4);
    for (const char *label : {"2001", "2002", "2003"})
        group.seriesLabels().add(QString::fromLatin1(label));
    group.setChartType(pc::ChartType::Bar);
    group.setIsStacked(true);

    chart.border().setBorderType(pc::BorderType::ThreeDOut);
    chart.border().setBorderWidth(6);
    chart.interior().setBackground(0xABCDEF);
    chart.interior().setForeground(0x010203);
    chart.interior().image().setFileName(QStringLiteral("back.png"));
    chart.interior().image().setFileImageLayout(pc::ImageLayout::Stretched);

    auto &header = chart.header();
    header.setIsShowing(false);
    header.setText(QStringLiteral("Sales"));
    header.setAlignment(pc::Alignment::Left);
    header.font().setName(QStringLiteral("DejaVu Serif"));
    header.font().setSize(14);
    header.font().setBold(true);
    header.border().setBorderType(pc::BorderType::Shadow);
    header.border().setBorderWidth(2);
    header.interior().setBackground(0x112233);
    header.interior().setForeground(0x445566);
    header.interior().image().setFileName(QStringLiteral("head.png"));
    header.interior().image().setFileImageLayout(pc::ImageLayout::Centered);

    auto &footer = chart.footer(); // its colours stay automatic
    footer.setText(QStringLiteral("Foot"));
    footer.setAlignment(pc::Alignment::Right);
    footer.font().setItalic(true);
    footer.border().setBorderType(pc::BorderType::Plain);
    footer.border().setBorderWidth(5);
    footer.interior().image().setFileName(QStringLiteral("foot.png"));
    footer.interior().image().setFileImageLayout(pc::ImageLayout::Fitted);

    auto &legend = chart.legend();
    legend.setIsShowing(false);
    legend.setOrientation(pc::Orientation::Horizontal);
    legend.setAnchor(pc::Anchor::NorthEast);
    legend.setText(QStringLiteral("Years"));
    legend.font().setSize(7.5);
    legend.border().setBorderType(pc::BorderType::Bevel);
    legend.border().setBorderWidth(4);
    legend.interior().setBackground(0x0000FF);
    legend.interior().setForeground(0x00FF00);
    legend.interior().image().setFileImageLayout(pc::ImageLayout::CropFitted);

    auto &area = chart.chartArea();
    area.setIsHorizontal(true);
    area.border().setBorderType(pc::BorderType::EtchedIn);
    area.border().setBorderWidth(3);
    area.areaBox().setIsBoxed(true);
    area.effect3D().setShading(pc::Shading::Shadow);
    area.effect3D().setDepth(10);
    area.effect3D().setElevation(-20);
    area.effect3D().setRotation(30);

    auto &x = area.axes().x();
    x.setIsShowing(false);
    x.setIsReversed(true);
    x.setTitleText(QStringLiteral("Month"));
    x.font().setUnderline(true);
    x.titleFont().setName(QStringLiteral("DejaVu Sans Mono"));
    x.setLineStyle(pc::LinePattern::LongDash);
    x.setLineWidth(2);
    x.setLineColor(0x00AA00);
    x.setGridStyle(pc::LinePattern::Dotted);
    x.setGridWidth(3);
    x.setGridColor(0x0000AA);
    x.setSpacing(0.5);
    x.setRotation(12.5);

    auto &y = area.axes().y();
    y.setIsLogarithmic(true);
    y.setIs100Percente(true);
    y.setIsReversed(true);
    y.setTitleText(QStringLiteral("Value"));
    y.font().setStrikethrough(true);
    y.titleFont().setSize(16);
    y.setTitleRotation(pc::TitleRotation::Rotate90);
    y.setLineStyle(pc::LinePattern::ShortDash);
    y.setLineWidth(4);
    y.setLineColor(0x123456);
    y.setGridStyle(pc::LinePattern::LongShortLongDash);
    y.setGridWidth(5);
    y.setGridColor(AutomaticColor); // a line swatch shows the colour as read
    y.setSpacing(2.25);
    y.setRotation(-7.5);
    y.setMin(-2.5); // a fixed minimum; the maximum stays automatic
    y.setLabelCategory(pc::LabelCategory::Currency);
    y.setLabelFormat(QStringLiteral("0.00"));
}

class ChartEditorFill : public ::testing::Test
{
protected:
    QString path(const QString &name) const { return dir.filePath(name); }
    std::unique_ptr<frmGrf2D> loaded(const QString &file, int language = 0)
    {
        return charts_test::loadedEditor(file, language);
    }

    QTemporaryDir dir;
    testing_support::ScriptedMsgBox boxes;
};

int colour(const QLabel *swatch)
{
    return frmGrf2D::swatchColor(swatch);
}

} // namespace

TEST_F(ChartEditorFill, EveryControlShowsTheChartAndTheChartStaysAsItWas)
{
    for (const QLocale::Language language : {QLocale::C, QLocale::German}) {
        SCOPED_TRACE(QLocale::languageToString(language).toStdString());
        const testing_support::LocaleGuard pin{QLocale(language)};
        const bool comma = language == QLocale::German;
        auto decimal = [comma](const char *text) {
            QString shown = QString::fromLatin1(text);
            return comma ? shown.replace(u'.', u',') : shown;
        };
        Chart2D chart;
        restyle(chart);
        const QString before = path(QStringLiteral("before.oc2"));
        ASSERT_TRUE(chart.saveFormat(before));
        auto form = loaded(before);
        frmGrf2D &f = *form;

        // Chart tab.
        EXPECT_EQ(f.cmbGraficaTipo(0)->currentText(), "Bar");
        EXPECT_TRUE(f.chkGraficaIsStacked->isChecked());
        EXPECT_TRUE(f.chkHorizontal(0)->isChecked());
        EXPECT_EQ(f.cmbBorde(0)->currentText(), "3d Out");
        EXPECT_EQ(f.txtBorde(0)->text(), "6");
        EXPECT_EQ(colour(f.lblColorFondo(0)), 0xABCDEF);
        EXPECT_EQ(colour(f.lblColorFrente(0)), 0x010203);
        EXPECT_EQ(f.cmbArchivo(0)->currentText(), "Stretched");
        EXPECT_EQ(f.lblArchivo(0)->text(), "back.png");
        // Header and footer.
        EXPECT_FALSE(f.chkIsShowing(1)->isChecked());
        EXPECT_TRUE(f.chkIsShowing(2)->isChecked());
        EXPECT_EQ(f.cmbAlineacion(1)->currentText(), "Left");
        EXPECT_EQ(f.cmbAlineacion(2)->currentText(), "Right");
        EXPECT_EQ(f.txtTexto(1)->text(), "Sales");
        EXPECT_EQ(f.txtTexto(2)->text(), "Foot");
        EXPECT_EQ(f.cmbBorde(1)->currentText(), "Shadow");
        EXPECT_EQ(f.cmbBorde(2)->currentText(), "Plain");
        EXPECT_EQ(f.txtBorde(1)->text(), "2");
        EXPECT_EQ(f.txtBorde(2)->text(), "5");
        EXPECT_EQ(colour(f.lblColorFondo(1)), 0x112233);
        EXPECT_EQ(colour(f.lblColorFrente(1)), 0x445566);
        EXPECT_EQ(colour(f.lblColorFondo(2)), 0xFFFFFF); // automatic background: white
        EXPECT_EQ(colour(f.lblColorFrente(2)), 0);       // automatic foreground: black
        EXPECT_EQ(f.cmbArchivo(1)->currentText(), "Centered");
        EXPECT_EQ(f.cmbArchivo(2)->currentText(), "Fitted");
        EXPECT_EQ(f.lblArchivo(1)->text(), "head.png");
        EXPECT_EQ(f.lblArchivo(2)->text(), "foot.png");
        // Legend.
        EXPECT_FALSE(f.chkIsShowing(3)->isChecked());
        EXPECT_EQ(f.cmbAlineacion(3)->currentText(), "Horizontal");
        EXPECT_EQ(f.cmbPosicion(0)->currentText(), "NorthEast");
        EXPECT_EQ(f.txtTexto(3)->text(), "Years");
        EXPECT_EQ(f.cmbBorde(3)->currentText(), "Bevel");
        EXPECT_EQ(f.txtBorde(3)->text(), "4");
        EXPECT_EQ(colour(f.lblColorFondo(3)), 0x0000FF);
        EXPECT_EQ(colour(f.lblColorFrente(3)), 0x00FF00);
        EXPECT_EQ(f.cmbArchivo(3)->currentText(), "CropFitted");
        EXPECT_EQ(f.lblArchivo(3)->text(), "");
        // Font samples: the name, drawn in the element's font.
        const pc::Font *fonts[] = {nullptr,
                                   &chart.header().font(),
                                   &chart.footer().font(),
                                   &chart.legend().font(),
                                   &chart.chartArea().axes().x().font(),
                                   &chart.chartArea().axes().x().titleFont(),
                                   &chart.chartArea().axes().y().font(),
                                   &chart.chartArea().axes().y().titleFont()};
        for (int i = 1; i <= 7; ++i) {
            SCOPED_TRACE(i);
            const QFont shown = f.lblFuente(i)->font();
            EXPECT_EQ(f.lblFuente(i)->text(), fonts[i]->name());
            EXPECT_EQ(shown.family(), fonts[i]->name());
            EXPECT_DOUBLE_EQ(shown.pointSizeF(), fonts[i]->size());
            EXPECT_EQ(shown.bold(), fonts[i]->bold());
            EXPECT_EQ(shown.italic(), fonts[i]->italic());
            EXPECT_EQ(shown.underline(), fonts[i]->underline());
            EXPECT_EQ(shown.strikeOut(), fonts[i]->strikethrough());
        }
        // X axis.
        EXPECT_FALSE(f.chkIsShowing(4)->isChecked());
        EXPECT_TRUE(f.chkEjeY(3)->isChecked());
        EXPECT_EQ(f.txtTexto(4)->text(), "Month");
        EXPECT_EQ(f.cmbLinea(0)->currentText(), "LongDash");
        EXPECT_EQ(f.txtLinea(0)->text(), "2");
        EXPECT_EQ(colour(f.lblColorFrente(4)), 0x00AA00);
        EXPECT_EQ(f.cmbLinea(1)->currentText(), "Dotted");
        EXPECT_EQ(f.txtLinea(1)->text(), "3");
        EXPECT_EQ(colour(f.lblColorFrente(5)), 0x0000AA);
        EXPECT_EQ(f.txtCuadricula(0)->text(), decimal("0.5"));
        EXPECT_EQ(f.txtRotacion(0)->text(), decimal("12.5"));
        // Y axis.
        EXPECT_TRUE(f.chkIsShowing(5)->isChecked());
        EXPECT_TRUE(f.chkEjeY(0)->isChecked());
        EXPECT_TRUE(f.chkEjeY(1)->isChecked());
        EXPECT_TRUE(f.chkEjeY(2)->isChecked());
        EXPECT_EQ(f.txtTexto(5)->text(), "Value");
        EXPECT_EQ(f.cmbLinea(2)->currentText(), "ShortDash");
        EXPECT_EQ(f.txtLinea(2)->text(), "4");
        EXPECT_EQ(colour(f.lblColorFrente(6)), 0x123456);
        EXPECT_EQ(f.cmbLinea(3)->currentText(), "LslDash");
        EXPECT_EQ(f.txtLinea(3)->text(), "5");
        EXPECT_EQ(colour(f.lblColorFrente(7)), AutomaticColor);
        EXPECT_EQ(f.txtCuadricula(1)->text(), decimal("2.25"));
        EXPECT_EQ(f.txtRotacion(1)->text(), decimal("-7.5"));
        EXPECT_EQ(f.cmbRotacion(0)->currentText(), "90");
        EXPECT_EQ(f.txtValor(0)->text(), decimal("-2.5"));
        // The automatic maximum shows the end of the value axis as the preview draws it: 100
        // for the percentages.
        EXPECT_EQ(f.txtValor(1)->text(), "100");
        EXPECT_EQ(f.txtFormato(0)->text(), "0.00");
        EXPECT_EQ(f.cmbFormato(0)->currentText(), "Currency");
        // Data area.
        EXPECT_TRUE(f.chkMarco(0)->isChecked());
        EXPECT_EQ(f.cmbBorde(4)->currentText(), "Etched In");
        EXPECT_EQ(f.txtBorde(4)->text(), "3");
        EXPECT_EQ(f.cmb3D(0)->currentText(), "Shadow");
        EXPECT_EQ(f.txt3D(0)->text(), "10");
        EXPECT_EQ(f.txt3D(1)->text(), "-20");
        EXPECT_EQ(f.txt3D(2)->text(), "30");
        // Series: listed, none chosen.
        ASSERT_EQ(f.lstSeries(0)->count(), 3);
        EXPECT_EQ(f.lstSeries(0)->item(0)->text(), "2001");
        EXPECT_EQ(f.lstSeries(0)->item(2)->text(), "2003");
        EXPECT_EQ(f.lstSeries(0)->currentRow(), -1);

        // The chart is exactly as it was loaded.
        EXPECT_EQ(form->grf2d->model(), chart.model());
        const QString after = path(QStringLiteral("after.oc2"));
        ASSERT_TRUE(form->grf2d->saveFormat(after));
        EXPECT_EQ(bytes(after), bytes(before));
        EXPECT_TRUE(form->grf2d->chartArea().axes().y().isMaxAuto());
        EXPECT_EQ(boxes.count(), 0);
    }
}

TEST_F(ChartEditorFill, ValuesWithoutAnEntryLeaveTheirListAsItWas)
{
    Chart2D chart;
    chart.chartArea().axes().y().setLabelCategory(pc::LabelCategory::Scientific);
    const QString file = path(QStringLiteral("plain.oc2"));
    ASSERT_TRUE(chart.saveFormat(file));
    auto form = loaded(file);
    auto &y = form->grf2d->chartArea().axes().y();
    EXPECT_EQ(form->cmbFormato(0)->currentText(), "Scientific");
    y.setLabelCategory(5); // accepted by the chart, not in the list
    form->loadFromChart();
    EXPECT_EQ(form->cmbFormato(0)->currentText(), "Scientific");
    y.setLabelCategory(pc::LabelCategory::Custom);
    form->loadFromChart();
    EXPECT_EQ(form->cmbFormato(0)->currentText(), "Custom");

    // The title rotation shows its angle, or the first entry for none or one not listed.
    const struct
    {
        qint32 rotation;
        const char *english, *spanish;
    } rotations[] = {{1, "None", "Ninguno"},
                     {2, "90", "90"},
                     {3, "270", "270"},
                     {4, "None", "Ninguno"},
                     {5, "None", "Ninguno"}};
    auto spanish = loaded(file, 1);
    for (const auto &r : rotations) {
        for (frmGrf2D *f : {form.get(), spanish.get()}) {
            f->grf2d->chartArea().axes().y().setTitleRotation(r.rotation);
            f->loadFromChart();
            EXPECT_EQ(f->cmbRotacion(0)->currentText(), f == form.get() ? r.english : r.spanish)
                << r.rotation;
            EXPECT_EQ(f->grf2d->chartArea().axes().y().titleRotation(), r.rotation);
        }
    }
    EXPECT_EQ(spanish->cmbGraficaTipo(0)->currentText(), "Linea");
}

TEST_F(ChartEditorFill, OpeningAnotherChartListsOnlyItsSeries)
{
    Chart2D first;
    first.chartGroups().item(1).data().setSize(3, 2);
    for (const char *label : {"a", "b", "c"})
        first.chartGroups().item(1).seriesLabels().add(QString::fromLatin1(label));
    Chart2D second;
    second.chartGroups().item(1).data().setSize(2, 2);
    for (const char *label : {"North", "South"})
        second.chartGroups().item(1).seriesLabels().add(QString::fromLatin1(label));
    const QString firstFile = path(QStringLiteral("first.oc2"));
    const QString secondFile = path(QStringLiteral("second.oc2"));
    ASSERT_TRUE(first.saveFormat(firstFile));
    ASSERT_TRUE(second.saveFormat(secondFile));
    auto form = loaded(firstFile);
    ASSERT_EQ(form->lstSeries(0)->count(), 3);
    form->lstSeries(0)->setCurrentRow(2);

    testing_support::ScriptedModalRunner dialogs;
    dialogs.then([&](QDialog &dialog) {
        auto *files = qobject_cast<QFileDialog *>(&dialog);
        if (files)
            files->selectFile(secondFile);
        return int(files ? QDialog::Accepted : QDialog::Rejected);
    });
    form->cmdAbrir_Click();
    ASSERT_EQ(form->lstSeries(0)->count(), 2);
    EXPECT_EQ(form->lstSeries(0)->item(0)->text(), "North");
    EXPECT_EQ(form->lstSeries(0)->item(1)->text(), "South");
    EXPECT_EQ(form->grf2d->model(), second.model());
    EXPECT_EQ(boxes.count(), 0);
}
