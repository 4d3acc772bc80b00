// The chart format editor's option check boxes and lists: each control, set as the user sets
// it, writes its value into the preview chart; no selection writes nothing, a refused value is
// said; the colour scheme boxes and the chart modification strip.
#include "platform/chart/Chart2D.h"
#include "platform/chart/ChartTypes.h"
#include "platform/forms/ScreenTwips.h"
#include "platform/widgets/ElasticPanel.h"
#include "tests/Control/charts/ChartEditorFixture.h"

#include <QCheckBox>
#include <QLineEdit>

#include <functional>

using charts_test::style;
using platform::chart::Chart2D;
using platform::widgets::ElasticPanel;
using Editor = charts_test::EditorOnChart;

namespace {

const platform::chart::Axis &xAxis(const Chart2D &c)
{
    return c.chartArea().axes().x();
}
const platform::chart::Axis &yAxis(const Chart2D &c)
{
    return c.chartArea().axes().y();
}

struct CheckCase
{
    const char *name;
    std::function<QCheckBox *(frmGrf2D &)> box;
    std::function<bool(const Chart2D &)> read;
};

struct ListCase
{
    const char *name;
    std::function<QComboBox *(frmGrf2D &)> list;
    int position;
    std::function<qint32(const Chart2D &)> read;
    qint32 expected;
};

} // namespace

TEST_F(Editor, EachCheckBoxSetsItsElementsFlag)
{
    const CheckCase cases[] = {
        {"chkEjeY(0)", [](frmGrf2D &f) { return f.chkEjeY(0); },
         [](const Chart2D &c) { return yAxis(c).isLogarithmic(); }},
        {"chkEjeY(1)", [](frmGrf2D &f) { return f.chkEjeY(1); },
         [](const Chart2D &c) { return yAxis(c).is100Percente(); }},
        {"chkEjeY(2)", [](frmGrf2D &f) { return f.chkEjeY(2); },
         [](const Chart2D &c) { return yAxis(c).isReversed(); }},
        {"chkEjeY(3)", [](frmGrf2D &f) { return f.chkEjeY(3); },
         [](const Chart2D &c) { return xAxis(c).isReversed(); }},
        {"chkGraficaIsStacked", [](frmGrf2D &f) { return f.chkGraficaIsStacked; },
         [](const Chart2D &c) { return c.chartGroups().item(1).isStacked(); }},
        {"chkHorizontal(0)", [](frmGrf2D &f) { return f.chkHorizontal(0); },
         [](const Chart2D &c) { return c.chartArea().isHorizontal(); }},
        {"chkIsShowing(1)", [](frmGrf2D &f) { return f.chkIsShowing(1); },
         [](const Chart2D &c) { return c.header().isShowing(); }},
        {"chkIsShowing(2)", [](frmGrf2D &f) { return f.chkIsShowing(2); },
         [](const Chart2D &c) { return c.footer().isShowing(); }},
        {"chkIsShowing(3)", [](frmGrf2D &f) { return f.chkIsShowing(3); },
         [](const Chart2D &c) { return c.legend().isShowing(); }},
        {"chkIsShowing(4)", [](frmGrf2D &f) { return f.chkIsShowing(4); },
         [](const Chart2D &c) { return xAxis(c).isShowing(); }},
        {"chkIsShowing(5)", [](frmGrf2D &f) { return f.chkIsShowing(5); },
         [](const Chart2D &c) { return yAxis(c).isShowing(); }},
        {"chkMarco(0)", [](frmGrf2D &f) { return f.chkMarco(0); },
         [](const Chart2D &c) { return c.chartArea().areaBox().isBoxed(); }},
    };
    auto form = editor();
    for (const CheckCase &c : cases) {
        QCheckBox *box = c.box(*form);
        box->setChecked(false);
        box->click();
        EXPECT_TRUE(c.read(*form->grf2d)) << c.name;
        // Only this element changed.
        const platform::chart::Chart2DModel ticked = form->grf2d->model();
        box->click();
        EXPECT_FALSE(c.read(*form->grf2d)) << c.name;
        box->click();
        EXPECT_EQ(form->grf2d->model(), ticked) << c.name;
    }
    EXPECT_EQ(boxes.count(), 0) << boxes.texts().join("; ").toStdString();
}

TEST_F(Editor, SettingABoxFromCodeWritesNothing)
{
    auto form = editor();
    const platform::chart::Chart2DModel before = form->grf2d->model();
    form->chkEjeY(0)->setChecked(true);
    form->chkIsShowing(3)->setChecked(!form->grf2d->legend().isShowing());
    form->chkColor(3)->setChecked(true);
    EXPECT_EQ(form->grf2d->model(), before);
}

TEST_F(Editor, EachListWritesTheValueOfItsEntry)
{
    auto list = [](ControlArray<QComboBox> frmGrf2D::*array, int index) {
        return [array, index](frmGrf2D &f) { return (f.*array)(index); };
    };
    using Form = frmGrf2D;
    const ListCase cases[] = {
        {"Plot is 1", list(&Form::cmbGraficaTipo, 0), 0,
         [](const Chart2D &c) { return c.chartGroups().item(1).chartType(); }, 1},
        {"Stacking Bar is 4", list(&Form::cmbGraficaTipo, 0), 3,
         [](const Chart2D &c) { return c.chartGroups().item(1).chartType(); }, 4},
        {"chart border None is 0", list(&Form::cmbBorde, 0), 0,
         [](const Chart2D &c) { return c.border().borderType(); }, 0},
        {"chart border Bevel is 9", list(&Form::cmbBorde, 0), 9,
         [](const Chart2D &c) { return c.border().borderType(); }, 9},
        {"header border", list(&Form::cmbBorde, 1), 3,
         [](const Chart2D &c) { return c.header().border().borderType(); }, 3},
        {"footer border", list(&Form::cmbBorde, 2), 4,
         [](const Chart2D &c) { return c.footer().border().borderType(); }, 4},
        {"legend border", list(&Form::cmbBorde, 3), 5,
         [](const Chart2D &c) { return c.legend().border().borderType(); }, 5},
        {"plot border", list(&Form::cmbBorde, 4), 2,
         [](const Chart2D &c) { return c.chartArea().border().borderType(); }, 2},
        {"chart picture Centered is 1", list(&Form::cmbArchivo, 0), 0,
         [](const Chart2D &c) { return c.interior().image().fileImageLayout(); }, 1},
        {"header picture CropFitted is 7", list(&Form::cmbArchivo, 1), 6,
         [](const Chart2D &c) { return c.header().interior().image().fileImageLayout(); }, 7},
        {"footer picture", list(&Form::cmbArchivo, 2), 2,
         [](const Chart2D &c) { return c.footer().interior().image().fileImageLayout(); }, 3},
        {"legend picture", list(&Form::cmbArchivo, 3), 3,
         [](const Chart2D &c) { return c.legend().interior().image().fileImageLayout(); }, 4},
        {"header Left", list(&Form::cmbAlineacion, 1), 0,
         [](const Chart2D &c) { return c.header().alignment(); }, 1},
        {"footer Right", list(&Form::cmbAlineacion, 2), 1,
         [](const Chart2D &c) { return c.footer().alignment(); }, 2},
        {"legend Horizontal", list(&Form::cmbAlineacion, 3), 1,
         [](const Chart2D &c) { return c.legend().orientation(); }, 2},
        {"legend North", list(&Form::cmbPosicion, 0), 0,
         [](const Chart2D &c) { return c.legend().anchor(); }, 16},
        {"legend West", list(&Form::cmbPosicion, 0), 3,
         [](const Chart2D &c) { return c.legend().anchor(); }, 2},
        {"legend SouthWest", list(&Form::cmbPosicion, 0), 7,
         [](const Chart2D &c) { return c.legend().anchor(); }, 34},
        {"shading None", list(&Form::cmb3D, 0), 2,
         [](const Chart2D &c) { return qint32(c.chartArea().effect3D().shading()); }, 3},
        {"X line None is 1", list(&Form::cmbLinea, 0), 0,
         [](const Chart2D &c) { return xAxis(c).lineStyle(); }, 1},
        {"X grid Dotted", list(&Form::cmbLinea, 1), 3,
         [](const Chart2D &c) { return xAxis(c).gridStyle(); }, 4},
        {"Y line DashDot", list(&Form::cmbLinea, 2), 6,
         [](const Chart2D &c) { return yAxis(c).lineStyle(); }, 7},
        {"Y grid LongDash", list(&Form::cmbLinea, 3), 2,
         [](const Chart2D &c) { return yAxis(c).gridStyle(); }, 3},
        {"Scientific is 9", list(&Form::cmbFormato, 0), 6,
         [](const Chart2D &c) { return qint32(yAxis(c).labelCategory()); }, 9},
        {"Percentage is 7", list(&Form::cmbFormato, 0), 4,
         [](const Chart2D &c) { return qint32(yAxis(c).labelCategory()); }, 7},
        {"rotation None is 1", list(&Form::cmbRotacion, 0), 0,
         [](const Chart2D &c) { return yAxis(c).titleRotation(); }, 1},
        {"rotation 90 is 2", list(&Form::cmbRotacion, 0), 1,
         [](const Chart2D &c) { return yAxis(c).titleRotation(); }, 2},
        {"rotation 270 is 3", list(&Form::cmbRotacion, 0), 2,
         [](const Chart2D &c) { return yAxis(c).titleRotation(); }, 3},
        {"series 2 fill Cross", list(&Form::cmbPatron, 0), 15,
         [](const Chart2D &c) { return style(c, 2).fill().pattern(); }, 16},
        {"series 2 line ShortDash", list(&Form::cmbPatron, 1), 4,
         [](const Chart2D &c) { return style(c, 2).line().pattern(); }, 5},
        {"series 2 symbol Image file", list(&Form::cmbPatron, 2), 16,
         [](const Chart2D &c) { return style(c, 2).symbol().shape(); }, 17},
    };
    for (const int language : {0, 1}) {
        auto form = editor(3, language);
        selectSeries(*form, 2);
        for (const ListCase &c : cases) {
            choose(c.list(*form), c.position);
            EXPECT_EQ(c.read(*form->grf2d), c.expected) << c.name << ", language " << language;
        }
        // The other series keep their look.
        EXPECT_EQ(style(*form->grf2d, 1), platform::chart::SeriesStyle::defaultFor(1));
    }
    EXPECT_EQ(boxes.count(), 0) << boxes.texts().join("; ").toStdString();
}

TEST_F(Editor, CustomFormatTakesTheTypedPatternOtherCategoriesKeepIt)
{
    auto form = editor();
    form->txtFormato(0)->setText(QStringLiteral("#,##0.0"));
    const QString before = yAxis(*form->grf2d).labelFormat();
    choose(form->cmbFormato(0), 6); // Scientific
    EXPECT_EQ(yAxis(*form->grf2d).labelFormat(), before);
    choose(form->cmbFormato(0), 7); // Custom
    EXPECT_EQ(yAxis(*form->grf2d).labelCategory(), 12);
    EXPECT_EQ(yAxis(*form->grf2d).labelFormat(), "#,##0.0");
}

TEST_F(Editor, AListWithNothingSelectedWritesNothing)
{
    auto form = editor();
    selectSeries(*form, 1);
    const platform::chart::Chart2DModel before = form->grf2d->model();
    using Handler = void (frmGrf2D::*)(int);
    const struct
    {
        ControlArray<QComboBox> frmGrf2D::*array;
        Handler handler;
    } lists[] = {
        {&frmGrf2D::cmbGraficaTipo, &frmGrf2D::cmbGraficaTipo_Click},
        {&frmGrf2D::cmbBorde, &frmGrf2D::cmbBorde_Click},
        {&frmGrf2D::cmbArchivo, &frmGrf2D::cmbArchivo_Click},
        {&frmGrf2D::cmbAlineacion, &frmGrf2D::cmbAlineacion_Click},
        {&frmGrf2D::cmbPosicion, &frmGrf2D::cmbPosicion_Click},
        {&frmGrf2D::cmb3D, &frmGrf2D::cmb3D_Click},
        {&frmGrf2D::cmbLinea, &frmGrf2D::cmbLinea_Click},
        {&frmGrf2D::cmbFormato, &frmGrf2D::cmbFormato_Click},
        {&frmGrf2D::cmbRotacion, &frmGrf2D::cmbRotacion_Click},
        {&frmGrf2D::cmbPatron, &frmGrf2D::cmbPatron_Click},
    };
    for (const auto &l : lists) {
        for (const int i : ((*form).*l.array).indexes()) {
            ((*form).*l.array)(i)->setCurrentIndex(-1);
            ((*form).*l.handler)(i);
        }
    }
    EXPECT_EQ(form->grf2d->model(), before);
    EXPECT_EQ(boxes.count(), 0) << boxes.texts().join("; ").toStdString();
}

TEST_F(Editor, SeriesPatternsNeedASelectedSeries)
{
    auto form = editor();
    const platform::chart::Chart2DModel before = form->grf2d->model();
    for (const int i : {0, 1, 2})
        choose(form->cmbPatron(i), 3);
    EXPECT_EQ(form->grf2d->model(), before);
}

TEST_F(Editor, ARefusedValueIsSaidUnderTheHandlersName)
{
    auto form = editor();
    const platform::chart::Chart2DModel before = form->grf2d->model();
    // Entries past the chart's codes: a border type 10, a chart type 13, anchor 0.
    form->cmbBorde(0)->addItem(QStringLiteral("Extra"));
    choose(form->cmbBorde(0), 10);
    form->cmbGraficaTipo(0)->addItem(QStringLiteral("Extra"));
    choose(form->cmbGraficaTipo(0), 12);
    form->cmbPosicion(0)->addItem(QStringLiteral("Centre"));
    choose(form->cmbPosicion(0), 8);
    // An index without a control.
    form->chkEjeY_Click(9);
    EXPECT_EQ(form->grf2d->model(), before);
    EXPECT_EQ(boxes.texts(),
              QStringList({"cmbBorde_Click: Invalid property value",
                           "cmbGraficaTipo_Click: Invalid property value",
                           "cmbPosicion_Click: Invalid property value",
                           "chkEjeY_Click: Control array element '9' doesn't exist"}));
}

TEST_F(Editor, ColourSchemeBoxesStyleEverySeries)
{
    auto form = editor(10);
    auto *g = &form->grf2d->chartGroups().item(1);
    auto lines = [&] {
        QList<qint32> patterns;
        for (int s = 1; s <= 10; ++s)
            patterns << style(*form->grf2d, s).line().pattern();
        return patterns;
    };
    form->chkColor(3)->click(); // Show patterns
    EXPECT_EQ(lines(), QList<qint32>({2, 3, 4, 5, 6, 7, 1, 2, 3, 4}));
    form->chkColor(3)->click();
    EXPECT_EQ(lines(), QList<qint32>(10, 2));

    form->chkColor(2)->click(); // Apply patterns: fill patterns over white, drawn in black
    for (int s = 1; s <= 10; ++s) {
        EXPECT_EQ(style(*form->grf2d, s).fill().pattern(), s % 17 + 1);
        EXPECT_EQ(style(*form->grf2d, s).fill().interior().background(), 0xFFFFFF);
        EXPECT_EQ(style(*form->grf2d, s).fill().interior().foreground(), 0);
    }
    form->chkColor(2)->click();
    EXPECT_EQ(style(*form->grf2d, 7).fill().pattern(), 1);

    form->chkColor(4)->click(); // Show symbols
    EXPECT_EQ(style(*form->grf2d, 1).symbol().shape(), 2);
    EXPECT_EQ(style(*form->grf2d, 10).symbol().shape(), 11);
    form->chkColor(4)->click();
    EXPECT_EQ(style(*form->grf2d, 10).symbol().shape(), 1);

    for (int s = 1; s <= 10; ++s) {
        g->styles().item(s).fill().interior().setBackground(s);
        g->styles().item(s).fill().interior().setForeground(100 + s);
    }
    form->chkColor(5)->click(); // symbols take the background
    EXPECT_EQ(style(*form->grf2d, 4).symbol().color(), 4);
    form->chkColor(5)->click(); // clearing changes nothing
    EXPECT_EQ(style(*form->grf2d, 4).symbol().color(), 4);
    form->chkColor(6)->click(); // and the foreground
    EXPECT_EQ(style(*form->grf2d, 4).symbol().color(), 104);

    form->chkColor(0)->click(); // the default colour map
    EXPECT_EQ(style(*form->grf2d, 1).fill().interior().background(), 255 << 16);
    EXPECT_EQ(style(*form->grf2d, 2).line().color(), 255 << 8);
    form->chkColor(1)->click(); // the grey map
    EXPECT_EQ(style(*form->grf2d, 1).fill().interior().foreground(), 0x0F0F0F);
    const platform::chart::Chart2DModel mapped = form->grf2d->model();
    form->chkColor(0)->click(); // clearing either map box changes no series
    form->chkColor(1)->click();
    EXPECT_EQ(form->grf2d->model(), mapped);
    EXPECT_FALSE(form->grf2d->isBatched());
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(Editor, ColourSchemeBoxesOnAChartWithoutSeriesChangeNothing)
{
    auto form = editor(0);
    const platform::chart::Chart2DModel before = form->grf2d->model();
    for (const int i : form->chkColor.indexes()) {
        form->chkColor(i)->click();
        form->chkColor(i)->click();
    }
    EXPECT_EQ(form->grf2d->model(), before);
    EXPECT_FALSE(form->grf2d->isBatched());
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(Editor, ModifyChartOpensAndClosesTheStripBesideThePreview)
{
    auto form = editor();
    form->resize(800, 700);
    const int first = form->width();
    const int strip = platform::forms::twipsToPixelsX(frmGrf2D::updateStripWidth);
    form->chkUpdate->click();
    EXPECT_EQ(form->width(), first + strip);
    EXPECT_EQ(form->ElasticOne1->paneValue(ElasticPanel::PaneStripValue, 0), 3240);
    form->chkUpdate->click();
    EXPECT_EQ(form->width(), first);
    EXPECT_EQ(form->ElasticOne1->paneValue(ElasticPanel::PaneStripValue, 0), 0);
    for (int i = 0; i < 3; ++i) { // no drift
        form->chkUpdate->click();
        form->chkUpdate->click();
    }
    EXPECT_EQ(form->width(), first);
    EXPECT_EQ(boxes.count(), 0);
}
