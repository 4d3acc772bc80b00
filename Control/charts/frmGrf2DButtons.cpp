// The chart format editor's colour, font and picture buttons: each asks through the common
// dialog and puts the choice into the preview chart and into the label beside the button.
#include "Control/charts/frmGrf2D.h"

#include "platform/chart/Chart2D.h"
#include "platform/chart/ChartPaint.h"
#include "platform/runtime/Error.h"
#include "platform/widgets/CommonDialog.h"

#include <QFont>
#include <QLabel>
#include <QListWidget>
#include <QPalette>
#include <QVariant>

#include <algorithm>

using platform::chart::Interior;
using platform::widgets::CommonDialog;

namespace {

// The label's dynamic property that holds the colour value its swatch shows.
constexpr char swatchProperty[] = "swatchColor";

const QString pictureFilter = QStringLiteral(
    "Bitmap (*.bmp)|*.bmp|Windows metafile (*.wmf)|*.wmf|Todos los archivos (*.*)|*.*");

// Shows one of the common dialog's choices and answers whether the user chose: a cancelled
// dialog hands back what it was given, and the caller then changes nothing.
template <typename Show>
bool chosen(CommonDialog &dialog, Show &&show)
{
    dialog.setCancelError(true);
    try {
        show();
    } catch (const platform::Error &error) {
        if (error.description() != CommonDialog::cancelDescription())
            throw;
        return false;
    }
    return true;
}

// The colour dialog, started from the swatch's colour; the swatch takes the colour chosen.
bool chosenColour(CommonDialog &dialog, QLabel *swatch)
{
    dialog.setColor(frmGrf2D::swatchColor(swatch));
    dialog.setFlags(3);
    dialog.setDialogTitle(QStringLiteral("Color"));
    if (!chosen(dialog, [&dialog] { dialog.showColor(); }))
        return false;
    frmGrf2D::setSwatchColor(swatch, dialog.color());
    return true;
}

} // namespace

qint32 frmGrf2D::swatchColor(const QLabel *label)
{
    const QVariant held = label->property(swatchProperty);
    if (held.isValid())
        return held.toInt();
    return platform::chart::colorValue(label->palette().color(QPalette::Window));
}

void frmGrf2D::setSwatchColor(QLabel *label, qint32 color)
{
    label->setProperty(swatchProperty, color);
    QPalette palette = label->palette();
    // An automatic colour is shown as the label's own background.
    palette.setColor(QPalette::Window,
                     platform::chart::toColor(color, QPalette().color(QPalette::Window)));
    label->setPalette(palette);
    label->setAutoFillBackground(true);
}

void frmGrf2D::copiaFont(const platform::chart::Font &source, QFont &target)
{
    // The character set has no counterpart in a label's font.
    target.setBold(source.bold());
    target.setItalic(source.italic());
    target.setFamily(source.name());
    target.setPointSizeF(source.size());
    target.setStrikeOut(source.strikethrough());
    target.setUnderline(source.underline());
    target.setWeight(QFont::Weight(std::clamp(int(source.weight()), 1, 1000)));
}

void frmGrf2D::copiaFontDlg(platform::chart::Font &font, const CommonDialog &dialog)
{
    font.setBold(dialog.fontBold());
    font.setItalic(dialog.fontItalic());
    font.setName(dialog.fontName());
    font.setSize(double(dialog.fontSize()));
    font.setStrikethrough(dialog.fontStrikethrough());
    font.setUnderline(dialog.fontUnderline());
}

void frmGrf2D::copiaFontDlg(QFont &font, const CommonDialog &dialog)
{
    font.setBold(dialog.fontBold());
    font.setItalic(dialog.fontItalic());
    font.setFamily(dialog.fontName());
    if (dialog.fontSize() > 0)
        font.setPointSizeF(double(dialog.fontSize()));
    font.setStrikeOut(dialog.fontStrikethrough());
    font.setUnderline(dialog.fontUnderline());
}

void frmGrf2D::cmdColorFondo_Click(int Index)
{
    underTrap("cmdColorFondo_Click", [&] {
        if (!chosenColour(*dlg, lblColorFondo(Index)))
            return;
        const qint32 color = dlg->color();
        auto &group = grf2d->chartGroups().item(1);
        if (Interior *interior = elementInterior(Index)) {
            interior->setBackground(color);
        } else if (Index == 4) {
            if (const int series = selectedSeries(); series >= 1)
                group.styles().item(series).fill().interior().setBackground(color);
        } else if (Index == 5) {
            const int n = group.data().numSeries();
            for (int s = 1; s <= n; ++s)
                group.styles().item(s).fill().interior().setBackground(color);
        }
    });
}

void frmGrf2D::cmdColorFrente_Click(int Index)
{
    underTrap("cmdColorFrente_Click", [&] {
        if (!chosenColour(*dlg, lblColorFrente(Index)))
            return;
        const qint32 color = dlg->color();
        auto &axes = grf2d->chartArea().axes();
        auto &group = grf2d->chartGroups().item(1);
        // 8 to 10 colour the selected series, 11 to 13 every series: fill, line, symbol.
        auto paint = [color](platform::chart::SeriesStyle &style, int part) {
            if (part == 0)
                style.fill().interior().setForeground(color);
            else if (part == 1)
                style.line().setColor(color);
            else
                style.symbol().setColor(color);
        };
        if (Interior *interior = elementInterior(Index)) {
            interior->setForeground(color);
        } else if (Index == 4) {
            axes.x().setLineColor(color);
        } else if (Index == 5) {
            axes.x().setGridColor(color);
        } else if (Index == 6) {
            axes.y().setLineColor(color);
        } else if (Index == 7) {
            axes.y().setGridColor(color);
        } else if (Index >= 8 && Index <= 10) {
            if (const int series = selectedSeries(); series >= 1)
                paint(group.styles().item(series), Index - 8);
        } else if (Index >= 11 && Index <= 13) {
            const int n = group.data().numSeries();
            for (int s = 1; s <= n; ++s)
                paint(group.styles().item(s), Index - 11);
        }
    });
}

void frmGrf2D::cmdFuente_Click(int Index)
{
    underTrap("cmdFuente_Click", [&] {
        QLabel *sample = lblFuente(Index);
        const QFont shown = sample->font();
        dlg->setFontBold(shown.bold());
        dlg->setFontItalic(shown.italic());
        dlg->setFontName(shown.family());
        dlg->setFontSize(float(shown.pointSizeF()));
        dlg->setFontStrikethrough(shown.strikeOut());
        dlg->setFontUnderline(shown.underline());
        dlg->setDialogTitle(QStringLiteral("Fuente"));
        dlg->setFlags(3);
        if (!chosen(*dlg, [this] { dlg->showFont(); }))
            return;
        sample->setText(dlg->fontName());
        QFont font = sample->font();
        copiaFontDlg(font, *dlg);
        sample->setFont(font);
        platform::chart::Font *target = elementFont(Index);
        if (target)
            copiaFontDlg(*target, *dlg);
    });
}

void frmGrf2D::cmdArchivo_Click(int Index)
{
    underTrap("cmdArchivo_Click", [&] {
        dlg->setDialogTitle(QStringLiteral("Imagen grafica"));
        dlg->setFilter(pictureFilter);
        dlg->setFileName(QString());
        if (!chosen(*dlg, [this] { dlg->showOpen(); }))
            return; // the element keeps its picture
        const QString file = dlg->fileName();
        lblArchivo(Index)->setText(file);
        if (Interior *interior = elementInterior(Index)) {
            interior->image().setFileName(file);
        } else if (Index == 4) {
            const int series = selectedSeries();
            if (series < 1)
                return;
            auto &image = grf2d->chartGroups().item(1).styles().item(series).image();
            image.setFileName(file);
            image.setFileImageLayout(platform::chart::ImageLayout::Tiled);
        }
    });
}
