// The chart format editor's text fields and series list: typed as a user types them, read back
// from the preview chart; partial input while typing, both decimal separators, refused values.
#include "Control/charts/EditorControls.h"
#include "Control/charts/frmGrf2D.h"
#include "platform/chart/Chart2D.h"
#include "platform/chart/ChartTypes.h"
#include "tests/Control/charts/ChartTestSupport.h"
#include "tests/support/LocaleGuard.h"
#include "tests/support/ScriptedMsgBox.h"
#include "tests/support/UserInput.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QLocale>
#include <QTemporaryDir>

#include <memory>

using platform::chart::Chart2D;
using testing_support::keyClick;
using testing_support::keyClicks;
namespace charteditor = pelmora::charteditor;

namespace {

class ChartEditorFields : public ::testing::Test
{
protected:
    // A dialog loaded on a chart of `series` series labelled 2001, 2002, ...
    std::unique_ptr<frmGrf2D> loaded(int series = 5)
    {
        Chart2D chart;
        chart.chartGroups().item(1).data().setSize(series, 4);
        for (int s = 1; s <= series; ++s)
            chart.chartGroups().item(1).seriesLabels().add(QString::number(2000 + s));
        const QString file = dir.filePath(QStringLiteral("fields.oc2"));
        EXPECT_TRUE(chart.saveFormat(file));
        return charts_test::loadedEditor(file);
    }
    // Types into a field as a user does: a click's focus, then the keys.
    static void type(QLineEdit *field, const QString &keys)
    {
        field->setFocus();
        keyClicks(field, keys);
    }

    QTemporaryDir dir;
    testing_support::ScriptedMsgBox boxes;
};

struct TypedCase
{
    const char *what;
    QLocale::Language language;
    QLineEdit *(*field)(frmGrf2D &);
    const char *keys;
    double (*read)(const Chart2D &);
    double expected;
    const char *shownAfterReturn;
};

const TypedCase typedCases[] = {
    {"chart border width", QLocale::C, [](frmGrf2D &f) { return f.txtBorde(0); }, "7",
     [](const Chart2D &c) { return double(c.border().borderWidth()); }, 7, "7"},
    {"header border width, a unit after it", QLocale::C, [](frmGrf2D &f) { return f.txtBorde(1); },
     "15px", [](const Chart2D &c) { return double(c.header().border().borderWidth()); }, 15, "15"},
    {"footer border width", QLocale::C, [](frmGrf2D &f) { return f.txtBorde(2); }, "8",
     [](const Chart2D &c) { return double(c.footer().border().borderWidth()); }, 8, "8"},
    {"legend border width", QLocale::C, [](frmGrf2D &f) { return f.txtBorde(3); }, "9",
     [](const Chart2D &c) { return double(c.legend().border().borderWidth()); }, 9, "9"},
    {"data area border width, hexadecimal", QLocale::C, [](frmGrf2D &f) { return f.txtBorde(4); },
     "&H10", [](const Chart2D &c) { return double(c.chartArea().border().borderWidth()); }, 16,
     "16"},
    {"3-D depth", QLocale::C, [](frmGrf2D &f) { return f.txt3D(0); }, "20",
     [](const Chart2D &c) { return double(c.chartArea().effect3D().depth()); }, 20, "20"},
    {"3-D elevation, negative", QLocale::C, [](frmGrf2D &f) { return f.txt3D(1); }, "-30",
     [](const Chart2D &c) { return double(c.chartArea().effect3D().elevation()); }, -30, "-30"},
    {"3-D rotation, a half to the even neighbour", QLocale::C,
     [](frmGrf2D &f) { return f.txt3D(2); }, "2.5",
     [](const Chart2D &c) { return double(c.chartArea().effect3D().rotation()); }, 2, "2.5"},
    {"X grid spacing, point", QLocale::C, [](frmGrf2D &f) { return f.txtCuadricula(0); }, "1.5",
     [](const Chart2D &c) { return c.chartArea().axes().x().spacing(); }, 1.5, "1.5"},
    {"X grid spacing, comma", QLocale::German, [](frmGrf2D &f) { return f.txtCuadricula(0); },
     "1,5", [](const Chart2D &c) { return c.chartArea().axes().x().spacing(); }, 1.5, "1,5"},
    {"X grid spacing, a point where the comma is the separator", QLocale::German,
     [](frmGrf2D &f) { return f.txtCuadricula(0); }, "1.5",
     [](const Chart2D &c) { return c.chartArea().axes().x().spacing(); }, 1, "1"},
    {"Y grid spacing", QLocale::C, [](frmGrf2D &f) { return f.txtCuadricula(1); }, " 0.25 ",
     [](const Chart2D &c) { return c.chartArea().axes().y().spacing(); }, 0.25, "0.25"},
    {"X axis line width", QLocale::C, [](frmGrf2D &f) { return f.txtLinea(0); }, "3",
     [](const Chart2D &c) { return double(c.chartArea().axes().x().lineWidth()); }, 3, "3"},
    {"X grid width", QLocale::C, [](frmGrf2D &f) { return f.txtLinea(1); }, "4",
     [](const Chart2D &c) { return double(c.chartArea().axes().x().gridWidth()); }, 4, "4"},
    {"Y axis line width", QLocale::C, [](frmGrf2D &f) { return f.txtLinea(2); }, "5",
     [](const Chart2D &c) { return double(c.chartArea().axes().y().lineWidth()); }, 5, "5"},
    {"Y grid width", QLocale::C, [](frmGrf2D &f) { return f.txtLinea(3); }, "6",
     [](const Chart2D &c) { return double(c.chartArea().axes().y().gridWidth()); }, 6, "6"},
    {"X label rotation", QLocale::C, [](frmGrf2D &f) { return f.txtRotacion(0); }, "45",
     [](const Chart2D &c) { return c.chartArea().axes().x().rotation(); }, 45, "45"},
    {"Y label rotation, comma", QLocale::German, [](frmGrf2D &f) { return f.txtRotacion(1); },
     "-12,5", [](const Chart2D &c) { return c.chartArea().axes().y().rotation(); }, -12.5, "-12,5"},
    {"Y minimum", QLocale::C, [](frmGrf2D &f) { return f.txtValor(0); }, "-3",
     [](const Chart2D &c) { return c.chartArea().axes().y().min(); }, -3, "-3"},
    {"Y maximum, comma and exponent", QLocale::German, [](frmGrf2D &f) { return f.txtValor(1); },
     "2,5E3", [](const Chart2D &c) { return c.chartArea().axes().y().max(); }, 2500, "2500"},
};

} // namespace

TEST_F(ChartEditorFields, EachNumericFieldSetsItsPropertyAsTyped)
{
    for (const TypedCase &c : typedCases) {
        SCOPED_TRACE(c.what);
        const testing_support::LocaleGuard pin{QLocale(c.language)};
        auto form = loaded();
        QLineEdit *field = c.field(*form);
        field->clear();
        type(field, QString::fromUtf8(c.keys));
        EXPECT_EQ(field->text(), QString::fromUtf8(c.keys)); // kept as typed
        EXPECT_DOUBLE_EQ(c.read(*form->grf2d), c.expected);
        keyClick(field, Qt::Key_Return); // leaving the field writes its number's general form
        EXPECT_EQ(field->text(), QString::fromUtf8(c.shownAfterReturn));
        EXPECT_DOUBLE_EQ(c.read(*form->grf2d), c.expected);
    }
    EXPECT_EQ(boxes.count(), 0) << boxes.texts().join("; ").toStdString();
}

TEST_F(ChartEditorFields, PartialInputStaysInTheBoxAndAppliesOnceItIsANumber)
{
    const testing_support::LocaleGuard pin{QLocale(QLocale::German)};
    auto form = loaded();
    const auto &x = form->grf2d->chartArea().axes().x();
    QLineEdit *spacing = form->txtCuadricula(0);
    spacing->clear();
    type(spacing, QStringLiteral("1"));
    EXPECT_DOUBLE_EQ(x.spacing(), 1);
    type(spacing, QStringLiteral(","));
    EXPECT_EQ(spacing->text(), "1,"); // the separator is not dropped
    EXPECT_DOUBLE_EQ(x.spacing(), 1);
    type(spacing, QStringLiteral("5"));
    EXPECT_DOUBLE_EQ(x.spacing(), 1.5);

    const auto &y = form->grf2d->chartArea().axes().y();
    QLineEdit *minimum = form->txtValor(0);
    minimum->clear();
    const bool automatic = y.isMinAuto();
    type(minimum, QStringLiteral("-"));
    EXPECT_EQ(minimum->text(), "-"); // not 0
    EXPECT_EQ(y.isMinAuto(), automatic);
    type(minimum, QStringLiteral("2"));
    EXPECT_DOUBLE_EQ(y.min(), -2);
    EXPECT_FALSE(y.isMinAuto());

    // A cleared field applies nothing while it is empty, and 0 when it is left.
    QLineEdit *width = form->txtBorde(1);
    width->clear();
    type(width, QStringLiteral("3"));
    width->selectAll();
    keyClick(width, Qt::Key_Backspace);
    EXPECT_EQ(width->text(), "");
    EXPECT_EQ(form->grf2d->header().border().borderWidth(), 3);
    keyClick(width, Qt::Key_Return);
    EXPECT_EQ(width->text(), "0");
    EXPECT_EQ(form->grf2d->header().border().borderWidth(), 0);
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(ChartEditorFields, TextFieldsSetTheirTextsExactlyAsTyped)
{
    auto form = loaded();
    const QString typed = QStringLiteral("  Sales 2024 ");
    for (const int i : {1, 2, 3, 4, 5}) {
        form->txtTexto(i)->clear();
        type(form->txtTexto(i), typed);
    }
    const auto &axes = form->grf2d->chartArea().axes();
    EXPECT_EQ(form->grf2d->header().text(), typed);
    EXPECT_EQ(form->grf2d->footer().text(), typed);
    EXPECT_EQ(form->grf2d->legend().text(), typed);
    EXPECT_EQ(axes.x().titleText(), typed);
    EXPECT_EQ(axes.y().titleText(), typed);

    // A format text makes the labels follow it (the custom category).
    form->txtFormato(0)->clear();
    type(form->txtFormato(0), QStringLiteral("0.0%"));
    EXPECT_EQ(axes.y().labelCategory(), platform::chart::LabelCategory::Custom);
    EXPECT_EQ(axes.y().labelFormat(), "0.0%");
    EXPECT_EQ(boxes.count(), 0);
}

// A refused value is passed over while it is typed (the keys go on arriving) and said once the
// field is left, which then shows the last value the chart took.
TEST_F(ChartEditorFields, ARefusedValueIsReportedAndTheLastGoodOneStays)
{
    struct Refused
    {
        QLineEdit *(*field)(frmGrf2D &);
        const char *text;
        const char *message;
        double (*read)(const Chart2D &);
        double kept;
    };
    const Refused cases[] = {
        {[](frmGrf2D &f) { return f.txtBorde(1); }, "500",
         "txtBorde_Change: Invalid property value",
         [](const Chart2D &c) { return double(c.header().border().borderWidth()); }, 50},
        {[](frmGrf2D &f) { return f.txt3D(1); }, "95", "txt3D_Change: Invalid property value",
         [](const Chart2D &c) { return double(c.chartArea().effect3D().elevation()); }, 9},
        {[](frmGrf2D &f) { return f.txtCuadricula(0); }, "-1",
         "txtCuadricula_Change: Invalid property value",
         [](const Chart2D &c) { return c.chartArea().axes().x().spacing(); }, 0},
        {[](frmGrf2D &f) { return f.txtRotacion(0); }, "400",
         "txtRotacion_Change: Invalid property value",
         [](const Chart2D &c) { return c.chartArea().axes().x().rotation(); }, 40},
    };
    for (const Refused &c : cases) {
        SCOPED_TRACE(c.message);
        auto form = loaded();
        boxes.clear();
        QLineEdit *field = c.field(*form);
        field->clear();
        type(field, QString::fromUtf8(c.text));
        EXPECT_EQ(field->text(), QString::fromUtf8(c.text));
        EXPECT_EQ(boxes.count(), 0);
        EXPECT_DOUBLE_EQ(c.read(*form->grf2d), c.kept);
        keyClick(field, Qt::Key_Return);
        ASSERT_EQ(boxes.count(), 1);
        EXPECT_EQ(boxes.texts().first(), QString::fromUtf8(c.message));
        EXPECT_DOUBLE_EQ(c.read(*form->grf2d), c.kept);
        EXPECT_DOUBLE_EQ(charteditor::fieldNumber(field->text()).value_or(-1), c.kept);
    }
    // A whole number beyond 32 bits, pasted: the field comes back to the width before it.
    auto form = loaded();
    boxes.clear();
    QLineEdit *width = form->txtLinea(0);
    QApplication::clipboard()->setText(QStringLiteral("3000000000"));
    width->setFocus();
    width->selectAll();
    keyClick(width, Qt::Key_V, QString(), Qt::ControlModifier);
    EXPECT_EQ(width->text(), "3000000000");
    EXPECT_EQ(boxes.count(), 0);
    keyClick(width, Qt::Key_Return);
    EXPECT_EQ(boxes.texts(), QStringList({"txtLinea_Change: Overflow"}));
    EXPECT_EQ(form->grf2d->chartArea().axes().x().lineWidth(), 1);
    EXPECT_EQ(width->text(), "1");
}

TEST_F(ChartEditorFields, SeriesFieldsSetTheChosenSeriesOrEverySeries)
{
    auto form = loaded(5);
    auto &styles = form->grf2d->chartGroups().item(1).styles();
    const auto before = form->grf2d->model();

    // No row chosen: the field is normalised and sets nothing.
    form->txtLinea(4)->clear();
    type(form->txtLinea(4), QStringLiteral("5x"));
    keyClick(form->txtLinea(4), Qt::Key_Return);
    EXPECT_EQ(form->txtLinea(4)->text(), "5");
    EXPECT_EQ(form->grf2d->model(), before);

    form->lstSeries(0)->setCurrentRow(1); // series 2
    form->txtLinea(4)->clear();
    type(form->txtLinea(4), QStringLiteral("7"));
    form->txtLinea(5)->clear();
    type(form->txtLinea(5), QStringLiteral("9"));
    for (int s = 1; s <= 5; ++s) {
        const auto look = platform::chart::SeriesStyle::defaultFor(s);
        EXPECT_EQ(styles.at(s).line().width(), s == 2 ? 7 : look.line().width()) << s;
        EXPECT_EQ(styles.at(s).symbol().size(), s == 2 ? 9 : look.symbol().size()) << s;
    }

    form->txtLinea(6)->clear();
    type(form->txtLinea(6), QStringLiteral("4"));
    form->txtLinea(7)->clear();
    type(form->txtLinea(7), QStringLiteral("8"));
    for (int s = 1; s <= 5; ++s) {
        EXPECT_EQ(styles.at(s).line().width(), 4) << s;
        EXPECT_EQ(styles.at(s).symbol().size(), 8) << s;
    }

    // Without series the fields for every series set nothing.
    auto empty = loaded(0);
    type(empty->txtLinea(6), QStringLiteral("4"));
    EXPECT_EQ(empty->grf2d->chartGroups().item(1).styles().count(), 0);
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(ChartEditorFields, ChoosingASeriesShowsItsLookAndWritesNothing)
{
    auto form = loaded(3);
    auto &style = form->grf2d->chartGroups().item(1).styles().item(3);
    style.fill().setPattern(platform::chart::FillPattern::Percent75);
    style.fill().interior().setBackground(platform::chart::AutomaticColor);
    style.fill().interior().setForeground(0x00FF00);
    style.line().setPattern(platform::chart::LinePattern::Dotted);
    style.line().setWidth(4);
    style.line().setColor(platform::chart::AutomaticColor);
    style.symbol().setShape(platform::chart::SymbolShape::Star);
    style.symbol().setSize(9);
    style.symbol().setColor(0x0000FF);
    style.image().setFileName(QStringLiteral("pic.png"));
    const auto before = form->grf2d->model();

    form->lstSeries(0)->setCurrentRow(2);
    EXPECT_EQ(form->cmbPatron(0)->currentIndex(), 4);
    EXPECT_EQ(frmGrf2D::swatchColor(form->lblColorFondo(4)), 0); // -1 shows black
    EXPECT_EQ(frmGrf2D::swatchColor(form->lblColorFrente(8)), 0x00FF00);
    EXPECT_EQ(form->cmbPatron(1)->currentIndex(), 3);
    EXPECT_EQ(form->txtLinea(4)->text(), "4");
    EXPECT_EQ(frmGrf2D::swatchColor(form->lblColorFrente(9)), 0);
    EXPECT_EQ(form->cmbPatron(2)->currentIndex(), 5);
    EXPECT_EQ(form->txtLinea(5)->text(), "9");
    EXPECT_EQ(frmGrf2D::swatchColor(form->lblColorFrente(10)), 0x0000FF);
    EXPECT_EQ(form->lblArchivo(4)->text(), "pic.png");
    EXPECT_EQ(form->grf2d->model(), before);

    // Emptying the list chooses no row: the controls stay, nothing is reported.
    form->lstSeries(0)->clear();
    EXPECT_EQ(form->txtLinea(4)->text(), "4");
    EXPECT_EQ(boxes.count(), 0);
}

TEST(ChartEditorFieldNumber, ReadsTheLeadingNumberWithTheLocaleSeparator)
{
    struct Case
    {
        QLocale::Language language;
        const char *text;
        std::optional<double> number;
    };
    const Case cases[] = {
        // clang-format off
        {QLocale::C, "", std::nullopt},         {QLocale::C, "-", std::nullopt},
        {QLocale::C, ".", std::nullopt},        {QLocale::C, "abc", std::nullopt},
        {QLocale::C, "1.", 1},                  {QLocale::C, ".5", 0.5},
        {QLocale::C, "1 2\t3", 123},            {QLocale::C, "+4", 4},
        {QLocale::C, "1e", 1},                  {QLocale::C, "1E-", 1},
        {QLocale::C, "1D2", 100},               {QLocale::C, "2.5e-1x", 0.25},
        {QLocale::C, "&HFF", 255},              {QLocale::C, "&O17", 15},
        {QLocale::C, "&H", std::nullopt},       {QLocale::C, "1e-400", 0},
        {QLocale::German, "1,25", 1.25},        {QLocale::German, "1.25", 1},
        {QLocale::German, ",5", 0.5},           {QLocale::German, "-0,5E1", -5},
        // clang-format on
    };
    for (const Case &c : cases) {
        const testing_support::LocaleGuard pin{QLocale(c.language)};
        EXPECT_EQ(charteditor::fieldNumber(QString::fromUtf8(c.text)), c.number) << c.text;
    }
    EXPECT_THROW(charteditor::fieldNumber(QStringLiteral("1e400")), platform::Error);
    // Beyond the range by its digits, whatever the exponent's sign.
    const QString digits = QStringLiteral("1") + QString(400, u'0');
    EXPECT_THROW(charteditor::fieldNumber(digits + QStringLiteral("e-10")), platform::Error);
}
