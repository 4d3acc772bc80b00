// The chart format editor's colour, font and picture buttons, through the common dialog as
// the user answers it: OK puts the choice into the label and the chart element, Cancel leaves
// both as they were.
#include "platform/chart/Chart2D.h"
#include "platform/chart/ChartTypes.h"
#include "platform/widgets/CommonDialog.h"
#include "tests/Control/charts/ChartEditorFixture.h"
#include "tests/support/ScriptedModalRunner.h"

#include <QColorDialog>
#include <QFileDialog>
#include <QFontDatabase>
#include <QFontDialog>
#include <QLabel>
#include <QPushButton>

#include <functional>
#include <vector>

using charts_test::style;
using platform::chart::Chart2D;
using testing_support::ScriptedModalRunner;
using Buttons = charts_test::EditorOnChart;

namespace {

constexpr qint32 chosenColour = 10 | 20 << 8 | 30 << 16;

int cancel(QDialog &)
{
    return int(QDialog::Rejected);
}

// The colour dialog answered with (10, 20, 30); its title and the colour it showed are kept.
ScriptedModalRunner::Step pickColour(QString *title = nullptr, QColor *shown = nullptr)
{
    return [=](QDialog &dialog) {
        auto *colours = qobject_cast<QColorDialog *>(&dialog);
        if (!colours)
            return int(QDialog::Rejected);
        if (title)
            *title = colours->windowTitle();
        if (shown)
            *shown = colours->currentColor();
        colours->setCurrentColor(QColor(10, 20, 30));
        return int(QDialog::Accepted);
    };
}

// A family with a bold style, so that the font dialog can hand a bold choice back.
QString boldFamily()
{
    for (const QString &family : QFontDatabase::families()) {
        for (const QString &style : QFontDatabase::styles(family)) {
            if (style.contains(QLatin1String("Bold")))
                return family;
        }
    }
    return QFontDatabase::families().value(0);
}

ScriptedModalRunner::Step pickFont(const QFont &font, QString *title = nullptr)
{
    return [=](QDialog &dialog) {
        auto *fonts = qobject_cast<QFontDialog *>(&dialog);
        if (!fonts)
            return int(QDialog::Rejected);
        if (title)
            *title = fonts->windowTitle();
        fonts->setCurrentFont(font);
        fonts->accept(); // the dialog's own OK keeps the choice
        return -1;
    };
}

struct ColourCase
{
    bool background; // cmdColorFondo, else cmdColorFrente
    int index;
    std::function<qint32(const Chart2D &)> read;
};

const platform::chart::Axis &axis(const Chart2D &c, int item)
{
    return c.chartArea().axes().item(item);
}

} // namespace

TEST_F(Buttons, EachColourButtonColoursItsElementAndItsSwatch)
{
    const ColourCase cases[] = {
        {true, 0, [](const Chart2D &c) { return c.interior().background(); }},
        {true, 1, [](const Chart2D &c) { return c.header().interior().background(); }},
        {true, 2, [](const Chart2D &c) { return c.footer().interior().background(); }},
        {true, 3, [](const Chart2D &c) { return c.legend().interior().background(); }},
        {true, 4, [](const Chart2D &c) { return style(c, 2).fill().interior().background(); }},
        {true, 5, [](const Chart2D &c) { return style(c, 3).fill().interior().background(); }},
        {false, 0, [](const Chart2D &c) { return c.interior().foreground(); }},
        {false, 1, [](const Chart2D &c) { return c.header().interior().foreground(); }},
        {false, 2, [](const Chart2D &c) { return c.footer().interior().foreground(); }},
        {false, 3, [](const Chart2D &c) { return c.legend().interior().foreground(); }},
        {false, 4, [](const Chart2D &c) { return axis(c, 1).lineColor(); }},
        {false, 5, [](const Chart2D &c) { return axis(c, 1).gridColor(); }},
        {false, 6, [](const Chart2D &c) { return axis(c, 2).lineColor(); }},
        {false, 7, [](const Chart2D &c) { return axis(c, 2).gridColor(); }},
        {false, 8, [](const Chart2D &c) { return style(c, 2).fill().interior().foreground(); }},
        {false, 9, [](const Chart2D &c) { return style(c, 2).line().color(); }},
        {false, 10, [](const Chart2D &c) { return style(c, 2).symbol().color(); }},
        {false, 11, [](const Chart2D &c) { return style(c, 3).fill().interior().foreground(); }},
        {false, 12, [](const Chart2D &c) { return style(c, 3).line().color(); }},
        {false, 13, [](const Chart2D &c) { return style(c, 3).symbol().color(); }},
    };
    auto form = editor();
    selectSeries(*form, 2);
    ScriptedModalRunner dialogs;
    for (const ColourCase &c : cases) {
        QLabel *swatch =
            c.background ? form->lblColorFondo(c.index) : form->lblColorFrente(c.index);
        frmGrf2D::setSwatchColor(swatch, 0x0000FF);
        QString title;
        QColor shown;
        dialogs.then(pickColour(&title, &shown));
        (c.background ? form->cmdColorFondo(c.index) : form->cmdColorFrente(c.index))->click();
        const std::string name =
            (c.background ? "cmdColorFondo(" : "cmdColorFrente(") + std::to_string(c.index) + ")";
        EXPECT_EQ(c.read(*form->grf2d), chosenColour) << name;
        EXPECT_EQ(frmGrf2D::swatchColor(swatch), chosenColour) << name;
        EXPECT_EQ(swatch->palette().color(QPalette::Window), QColor(10, 20, 30)) << name;
        EXPECT_EQ(shown, QColor(255, 0, 0)) << name; // the dialog started from the swatch
        EXPECT_EQ(title, "Color") << name;
        EXPECT_EQ(form->dlg->flags(), 3) << name;
    }
    // The buttons for every series reached them all.
    for (int s = 1; s <= 3; ++s) {
        EXPECT_EQ(style(*form->grf2d, s).symbol().color(), chosenColour) << s;
        EXPECT_EQ(style(*form->grf2d, s).fill().interior().background(), chosenColour) << s;
    }
    EXPECT_EQ(dialogs.unexpected(), 0);
    EXPECT_EQ(boxes.count(), 0) << boxes.texts().join("; ").toStdString();
}

TEST_F(Buttons, ASeriesButtonWithNoSeriesSelectedChangesOnlyItsSwatch)
{
    auto form = editor();
    const platform::chart::Chart2DModel before = form->grf2d->model();
    ScriptedModalRunner dialogs;
    for (const int i : {8, 9, 10}) {
        dialogs.then(pickColour());
        form->cmdColorFrente(i)->click();
        EXPECT_EQ(frmGrf2D::swatchColor(form->lblColorFrente(i)), chosenColour) << i;
    }
    dialogs.then(pickColour());
    form->cmdColorFondo(4)->click();
    EXPECT_EQ(frmGrf2D::swatchColor(form->lblColorFondo(4)), chosenColour);
    EXPECT_EQ(form->grf2d->model(), before);

    auto empty = editor(0); // no series at all
    dialogs.then(pickColour());
    empty->cmdColorFondo(5)->click();
    EXPECT_EQ(empty->grf2d->model().group().styles().count(), 0);
    EXPECT_EQ(dialogs.unexpected(), 0);
}

TEST_F(Buttons, CancellingTheColourDialogChangesNothing)
{
    auto form = editor();
    auto &group = form->grf2d->chartGroups().item(1);
    for (int s = 1; s <= 3; ++s)
        group.styles().item(s).symbol().setColor(s);
    // The swatches of the colour scheme were never set from the chart: a cancelled dialog must
    // not paint their colour over every series.
    const platform::chart::Chart2DModel before = form->grf2d->model();
    const qint32 shown = frmGrf2D::swatchColor(form->lblColorFrente(13));
    ScriptedModalRunner dialogs;
    for (const int i : {0, 4, 13}) {
        dialogs.then(cancel);
        form->cmdColorFrente(i)->click();
    }
    dialogs.then(cancel);
    form->cmdColorFondo(5)->click();
    EXPECT_EQ(form->grf2d->model(), before);
    EXPECT_EQ(frmGrf2D::swatchColor(form->lblColorFrente(13)), shown);
    EXPECT_TRUE(dialogs.done());
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(Buttons, EachFontButtonSetsItsFontAndItsSample)
{
    using platform::chart::Font;
    const struct
    {
        int index;
        std::function<Font &(Chart2D &)> font;
    } cases[] = {
        {1, [](Chart2D &c) -> Font & { return c.header().font(); }},
        {2, [](Chart2D &c) -> Font & { return c.footer().font(); }},
        {3, [](Chart2D &c) -> Font & { return c.legend().font(); }},
        {4, [](Chart2D &c) -> Font & { return c.chartArea().axes().x().font(); }},
        {5, [](Chart2D &c) -> Font & { return c.chartArea().axes().x().titleFont(); }},
        {6, [](Chart2D &c) -> Font & { return c.chartArea().axes().y().font(); }},
        {7, [](Chart2D &c) -> Font & { return c.chartArea().axes().y().titleFont(); }},
    };
    const QString family = boldFamily();
    QFont choice(family);
    choice.setPointSize(16);
    choice.setBold(true);
    choice.setItalic(true);
    choice.setUnderline(true);
    auto form = editor();
    ScriptedModalRunner dialogs;
    for (const auto &c : cases) {
        Font &target = c.font(*form->grf2d);
        target.setWeight(650); // bold already: the choice keeps this weight
        target.setCharset(2);
        // Every other font of the table stays as it was (5 is the X title, not its labels).
        std::vector<Font> others;
        for (const auto &o : cases)
            others.push_back(o.font(*form->grf2d));
        QString title;
        dialogs.then(pickFont(choice, &title));
        form->cmdFuente(c.index)->click();
        EXPECT_EQ(title, "Fuente");
        EXPECT_EQ(target.name(), family) << c.index;
        EXPECT_DOUBLE_EQ(target.size(), 16) << c.index;
        EXPECT_TRUE(target.bold()) << c.index;
        EXPECT_TRUE(target.italic()) << c.index;
        EXPECT_TRUE(target.underline()) << c.index;
        EXPECT_FALSE(target.strikethrough()) << c.index;
        EXPECT_EQ(target.weight(), 650) << c.index;
        EXPECT_EQ(target.charset(), 2) << c.index;
        QLabel *sample = form->lblFuente(c.index);
        EXPECT_EQ(sample->text(), family) << c.index;
        EXPECT_EQ(sample->font().family(), family) << c.index;
        EXPECT_TRUE(sample->font().italic()) << c.index;
        EXPECT_DOUBLE_EQ(sample->font().pointSizeF(), 16) << c.index;
        for (std::size_t o = 0; o < others.size(); ++o) {
            if (cases[o].index != c.index) {
                EXPECT_EQ(cases[o].font(*form->grf2d), others[o]) << c.index << " " << o;
            }
        }
    }
    EXPECT_EQ(dialogs.unexpected(), 0);
    EXPECT_EQ(boxes.count(), 0) << boxes.texts().join("; ").toStdString();
}

TEST_F(Buttons, TheFontDialogStartsFromTheSampleAndCancelKeepsBoth)
{
    auto form = editor();
    QLabel *sample = form->lblFuente(2);
    QFont shown(boldFamily());
    shown.setPointSizeF(11);
    shown.setStrikeOut(true);
    sample->setFont(shown);
    sample->setText(QStringLiteral("before"));
    const platform::chart::Chart2DModel before = form->grf2d->model();
    QFont given;
    ScriptedModalRunner dialogs;
    dialogs.then([&](QDialog &dialog) {
        given = static_cast<QFontDialog &>(dialog).currentFont();
        return int(QDialog::Rejected);
    });
    form->cmdFuente(2)->click();
    EXPECT_EQ(given.family(), shown.family());
    EXPECT_DOUBLE_EQ(given.pointSizeF(), 11);
    EXPECT_TRUE(given.strikeOut());
    EXPECT_EQ(form->grf2d->model(), before);
    EXPECT_EQ(sample->text(), "before");
    EXPECT_TRUE(sample->font().strikeOut());
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(Buttons, CopiaFontGivesASampleTheChartFont)
{
    platform::chart::Font source(boldFamily(), 12.25, false);
    source.setItalic(true);
    source.setStrikethrough(true);
    source.setWeight(800);
    QFont target;
    frmGrf2D::copiaFont(source, target);
    EXPECT_EQ(target.family(), source.name());
    EXPECT_DOUBLE_EQ(target.pointSizeF(), 12.25);
    EXPECT_TRUE(target.italic());
    EXPECT_TRUE(target.strikeOut());
    EXPECT_FALSE(target.underline());
    EXPECT_EQ(target.weight(), QFont::ExtraBold);
}

TEST_F(Buttons, EachPictureButtonNamesItsElementsImage)
{
    const QString picture = dir.filePath(QStringLiteral("back.bmp"));
    QImage(4, 4, QImage::Format_RGB32).save(picture);
    const struct
    {
        int index;
        std::function<platform::chart::Image(const Chart2D &)> image;
    } cases[] = {
        {0, [](const Chart2D &c) { return c.interior().image(); }},
        {1, [](const Chart2D &c) { return c.header().interior().image(); }},
        {2, [](const Chart2D &c) { return c.footer().interior().image(); }},
        {3, [](const Chart2D &c) { return c.legend().interior().image(); }},
        {4, [](const Chart2D &c) { return style(c, 3).image(); }},
    };
    auto form = editor();
    selectSeries(*form, 3);
    form->grf2d->chartGroups().item(1).styles().item(3).image().setFileImageLayout(
        platform::chart::ImageLayout::Stretched);
    ScriptedModalRunner dialogs;
    for (const auto &c : cases) {
        QString title;
        QStringList filters;
        dialogs.then(charts_test::pick(&title, &filters, picture));
        form->cmdArchivo(c.index)->click();
        EXPECT_EQ(c.image(*form->grf2d).fileName(), picture) << c.index;
        EXPECT_EQ(form->lblArchivo(c.index)->text(), picture) << c.index;
        EXPECT_EQ(title, "Imagen grafica");
        EXPECT_EQ(filters, QStringList({"Bitmap (*.bmp)", "Windows metafile (*.wmf)",
                                        "Todos los archivos (*.*)"}));
    }
    EXPECT_EQ(style(*form->grf2d, 3).image().fileImageLayout(),
              platform::chart::ImageLayout::Tiled);
    EXPECT_TRUE(form->dlg->filter().endsWith("|*.*"));

    // Cancel keeps the picture and its name.
    const platform::chart::Chart2DModel chosen = form->grf2d->model();
    for (const int i : {0, 4}) {
        dialogs.then(cancel);
        form->cmdArchivo(i)->click();
        EXPECT_EQ(form->lblArchivo(i)->text(), picture);
    }
    EXPECT_EQ(form->grf2d->model(), chosen);

    // No series selected: the label only.
    form->lstSeries(0)->setCurrentRow(-1);
    const QString other = dir.filePath(QStringLiteral("other.bmp"));
    QImage(4, 4, QImage::Format_RGB32).save(other);
    dialogs.then(charts_test::pick(nullptr, nullptr, other));
    form->cmdArchivo(4)->click();
    EXPECT_EQ(form->lblArchivo(4)->text(), other);
    EXPECT_EQ(form->grf2d->model(), chosen);
    EXPECT_EQ(dialogs.unexpected(), 0);
    EXPECT_EQ(boxes.count(), 0);
}
