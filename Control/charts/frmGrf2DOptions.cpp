// The chart format editor's option check boxes and lists: each writes its value into the
// preview chart when the user ticks, clears or chooses.
#include "Control/charts/EditorControls.h"
#include "Control/charts/frmGrf2D.h"

#include "platform/chart/Chart2D.h"
#include "platform/forms/ScreenTwips.h"
#include "platform/widgets/ElasticPanel.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

#include <algorithm>
#include <cmath>

using platform::chart::Axis;
using platform::chart::Chart2D;
using platform::chart::Interior;
namespace charteditor = pelmora::charteditor;

namespace {

// The kind of the main panel's indexed value that holds the strip's width.
constexpr int stripValue = platform::widgets::ElasticPanel::PaneStripValue;

bool ticked(const QCheckBox *box)
{
    return box->checkState() != Qt::Unchecked;
}

// The chart's batch update flag, set for the life of the guard: the series change together and
// the chart draws once, even when a change fails half way.
class Batch
{
public:
    explicit Batch(Chart2D &chart) : m_chart(chart) { m_chart.setIsBatched(true); }
    ~Batch() { m_chart.setIsBatched(false); }
    Batch(const Batch &) = delete;
    Batch &operator=(const Batch &) = delete;

private:
    Chart2D &m_chart;
};

// Runs `apply(position)` for the list's selected position; a list with nothing selected (the
// chart has no value for it) writes nothing.
template <typename Apply>
void withPosition(const QComboBox *list, Apply &&apply)
{
    const int position = list->currentIndex();
    if (position >= 0)
        apply(position);
}

} // namespace

platform::chart::TextBox *frmGrf2D::elementTextBox(int index)
{
    switch (index) {
    case 1:
        return &grf2d->header();
    case 2:
        return &grf2d->footer();
    case 3:
        return &grf2d->legend();
    default:
        return nullptr;
    }
}

Axis *frmGrf2D::titledAxis(int index)
{
    auto &axes = grf2d->chartArea().axes();
    return index == 4 ? &axes.x() : index == 5 ? &axes.y() : nullptr;
}

Interior *frmGrf2D::elementInterior(int index)
{
    if (index == 0)
        return &grf2d->interior();
    platform::chart::TextBox *box = elementTextBox(index);
    return box ? &box->interior() : nullptr;
}

platform::chart::Border *frmGrf2D::elementBorder(int index)
{
    if (index == 0)
        return &grf2d->border();
    if (index == 4)
        return &grf2d->chartArea().border();
    platform::chart::TextBox *box = elementTextBox(index);
    return box ? &box->border() : nullptr;
}

platform::chart::Font *frmGrf2D::elementFont(int index)
{
    auto &axes = grf2d->chartArea().axes();
    switch (index) {
    case 4:
        return &axes.x().font();
    case 5:
        return &axes.x().titleFont();
    case 6:
        return &axes.y().font();
    case 7:
        return &axes.y().titleFont();
    default:
        break;
    }
    platform::chart::TextBox *box = elementTextBox(index);
    return box ? &box->font() : nullptr;
}

int frmGrf2D::selectedSeries() const
{
    return std::max(0, lstSeries(0)->currentRow() + 1);
}

void frmGrf2D::connectOptionsAndButtons()
{
    auto onClick = [this](QAbstractButton *button, auto handler) {
        connect(button, &QAbstractButton::clicked, this, handler);
    };
    // Check boxes and push buttons alike.
    auto clicks = [&](auto &array, void (frmGrf2D::*handler)(int)) {
        for (const int i : array.indexes())
            onClick(array(i), [this, handler, i] {
                (this->*handler)(i);
                showAutomaticBounds();
            });
    };
    auto lists = [this](ControlArray<QComboBox> &array, void (frmGrf2D::*handler)(int)) {
        for (const int i : array.indexes())
            connect(array(i), &QComboBox::activated, this, [this, handler, i] {
                (this->*handler)(i);
                showAutomaticBounds();
            });
    };
    clicks(chkColor, &frmGrf2D::chkColor_Click);
    clicks(chkEjeY, &frmGrf2D::chkEjeY_Click);
    clicks(chkHorizontal, &frmGrf2D::chkHorizontal_Click);
    clicks(chkIsShowing, &frmGrf2D::chkIsShowing_Click);
    clicks(chkMarco, &frmGrf2D::chkMarco_Click);
    onClick(chkGraficaIsStacked, [this] {
        chkGraficaIsStacked_Click();
        showAutomaticBounds();
    });
    onClick(chkUpdate, [this] { chkUpdate_Click(); });
    lists(cmb3D, &frmGrf2D::cmb3D_Click);
    lists(cmbAlineacion, &frmGrf2D::cmbAlineacion_Click);
    lists(cmbArchivo, &frmGrf2D::cmbArchivo_Click);
    lists(cmbBorde, &frmGrf2D::cmbBorde_Click);
    lists(cmbFormato, &frmGrf2D::cmbFormato_Click);
    lists(cmbLinea, &frmGrf2D::cmbLinea_Click);
    lists(cmbPatron, &frmGrf2D::cmbPatron_Click);
    lists(cmbPosicion, &frmGrf2D::cmbPosicion_Click);
    lists(cmbRotacion, &frmGrf2D::cmbRotacion_Click);
    clicks(cmdColorFondo, &frmGrf2D::cmdColorFondo_Click);
    clicks(cmdColorFrente, &frmGrf2D::cmdColorFrente_Click);
    clicks(cmdFuente, &frmGrf2D::cmdFuente_Click);
    clicks(cmdArchivo, &frmGrf2D::cmdArchivo_Click);
}

void frmGrf2D::chkColor_Click(int Index)
{
    underTrap("chkColor_Click", [&] {
        const QCheckBox *box = chkColor(Index);
        if ((Index == 0 || Index == 1) && ticked(box)) {
            if (Index == 0)
                cargaMapaDef();
            else
                cargaMapaBN();
            return;
        }
        Batch batch(*grf2d);
        auto &group = grf2d->chartGroups().item(1);
        const int n = group.data().numSeries();
        const bool on = ticked(box);
        // Series i takes the entry after i's of the list, wrapping to the first ("None").
        auto cycled = [](int i, const QComboBox *list) {
            return list->count() > 0 ? i % list->count() + 1 : 1;
        };
        for (int i = 1; i <= n; ++i) {
            auto &style = group.styles().item(i);
            switch (Index) {
            case 2:
                style.fill().setPattern(on ? cycled(i, cmbPatron(0)) : 1);
                if (on) {
                    style.fill().interior().setBackground(0xFFFFFF);
                    style.fill().interior().setForeground(0);
                }
                break;
            case 3:
                style.line().setPattern(on ? cycled(i, cmbPatron(1)) : 2);
                break;
            case 4:
                style.symbol().setShape(on ? cycled(i, cmbPatron(2)) : 1);
                break;
            case 5:
                if (on)
                    style.symbol().setColor(style.fill().interior().background());
                break;
            case 6:
                if (on)
                    style.symbol().setColor(style.fill().interior().foreground());
                break;
            default:
                break;
            }
        }
    });
}

void frmGrf2D::chkEjeY_Click(int Index)
{
    underTrap("chkEjeY_Click", [&] {
        const bool on = ticked(chkEjeY(Index));
        auto &axes = grf2d->chartArea().axes();
        switch (Index) {
        case 0:
            axes.y().setIsLogarithmic(on);
            break;
        case 1:
            axes.y().setIs100Percente(on);
            break;
        case 2:
            axes.y().setIsReversed(on);
            break;
        case 3:
            axes.x().setIsReversed(on);
            break;
        default:
            break;
        }
    });
}

void frmGrf2D::chkGraficaIsStacked_Click()
{
    underTrap("chkGraficaIsStacked_Click",
              [&] { grf2d->chartGroups().item(1).setIsStacked(ticked(chkGraficaIsStacked)); });
}

void frmGrf2D::chkHorizontal_Click(int Index)
{
    underTrap("chkHorizontal_Click", [&] {
        const bool on = ticked(chkHorizontal(Index));
        if (Index == 0)
            grf2d->chartArea().setIsHorizontal(on);
    });
}

void frmGrf2D::chkIsShowing_Click(int Index)
{
    underTrap("chkIsShowing_Click", [&] {
        const bool on = ticked(chkIsShowing(Index));
        if (platform::chart::TextBox *box = elementTextBox(Index))
            box->setIsShowing(on);
        else if (Axis *axis = titledAxis(Index))
            axis->setIsShowing(on);
    });
}

void frmGrf2D::chkMarco_Click(int Index)
{
    underTrap("chkMarco_Click", [&] {
        const bool on = ticked(chkMarco(Index));
        if (Index == 0)
            grf2d->chartArea().areaBox().setIsBoxed(on);
    });
}

void frmGrf2D::chkUpdate_Click()
{
    underTrap("chkUpdate_Click", [&] {
        const Qt::CheckState state = chkUpdate->checkState();
        if (state == Qt::PartiallyChecked)
            return;
        const bool open = state == Qt::Checked;
        ElasticOne1->setPaneValue(stripValue, 0, open ? updateStripWidth : 0);
        // The width travels in twips, as the form keeps it, and back to whole pixels.
        const float twips = float(platform::forms::pixelsToTwipsX(width()))
                            + (open ? float(updateStripWidth) : -float(updateStripWidth));
        resize(platform::forms::twipsToPixelsX(twips), height());
    });
}

void frmGrf2D::cmb3D_Click(int Index)
{
    underTrap("cmb3D_Click", [&] {
        withPosition(cmb3D(Index), [&](int position) {
            if (Index == 0)
                grf2d->chartArea().effect3D().setShading(qint16(position + 1));
        });
    });
}

void frmGrf2D::cmbAlineacion_Click(int Index)
{
    underTrap("cmbAlineacion_Click", [&] {
        withPosition(cmbAlineacion(Index), [&](int position) {
            if (Index == 1)
                grf2d->header().setAlignment(position + 1);
            else if (Index == 2)
                grf2d->footer().setAlignment(position + 1);
            else if (Index == 3)
                grf2d->legend().setOrientation(position + 1);
        });
    });
}

void frmGrf2D::cmbArchivo_Click(int Index)
{
    underTrap("cmbArchivo_Click", [&] {
        withPosition(cmbArchivo(Index), [&](int position) {
            if (Interior *interior = elementInterior(Index))
                interior->image().setFileImageLayout(position + 1);
        });
    });
}

void frmGrf2D::cmbBorde_Click(int Index)
{
    underTrap("cmbBorde_Click", [&] {
        withPosition(cmbBorde(Index), [&](int position) {
            // The border list starts at "None", the border type 0: the position is the type.
            if (platform::chart::Border *border = elementBorder(Index))
                border->setBorderType(position);
        });
    });
}

void frmGrf2D::cmbFormato_Click(int Index)
{
    underTrap("cmbFormato_Click", [&] {
        withPosition(cmbFormato(Index), [&](int position) {
            constexpr qint16 custom = platform::chart::LabelCategory::Custom;
            const auto &categories = charteditor::labelCategories;
            const qint16 category =
                position < int(categories.size()) ? categories[std::size_t(position)] : custom;
            if (Index != 0)
                return;
            auto &y = grf2d->chartArea().axes().y();
            y.setLabelCategory(category);
            if (category == custom)
                y.setLabelFormat(txtFormato(0)->text());
        });
    });
}

void frmGrf2D::cmbLinea_Click(int Index)
{
    underTrap("cmbLinea_Click", [&] {
        withPosition(cmbLinea(Index), [&](int position) {
            auto &axes = grf2d->chartArea().axes();
            switch (Index) {
            case 0:
                axes.x().setLineStyle(position + 1);
                break;
            case 1:
                axes.x().setGridStyle(position + 1);
                break;
            case 2:
                axes.y().setLineStyle(position + 1);
                break;
            case 3:
                axes.y().setGridStyle(position + 1);
                break;
            default:
                break;
            }
        });
    });
}

void frmGrf2D::cmbPatron_Click(int Index)
{
    underTrap("cmbPatron_Click", [&] {
        const int series = selectedSeries();
        if (series < 1)
            return;
        withPosition(cmbPatron(Index), [&](int position) {
            auto &style = grf2d->chartGroups().item(1).styles().item(series);
            if (Index == 0)
                style.fill().setPattern(position + 1);
            else if (Index == 1)
                style.line().setPattern(position + 1);
            else if (Index == 2)
                style.symbol().setShape(position + 1);
        });
    });
}

void frmGrf2D::cmbPosicion_Click(int Index)
{
    underTrap("cmbPosicion_Click", [&] {
        withPosition(cmbPosicion(Index), [&](int position) {
            // A position past the compass points gives 0, which the legend refuses.
            const auto &anchors = charteditor::legendAnchors;
            const qint32 anchor =
                position < int(anchors.size()) ? anchors[std::size_t(position)] : 0;
            if (Index == 0)
                grf2d->legend().setAnchor(anchor);
        });
    });
}

void frmGrf2D::cmbRotacion_Click(int Index)
{
    underTrap("cmbRotacion_Click", [&] {
        withPosition(cmbRotacion(Index), [&](int) {
            // By the angle shown; "None" in either language, or any other text, is no rotation.
            const QString shown = cmbRotacion(Index)->currentText();
            const auto &angles = charteditor::titleAngles;
            const auto angle = std::find_if(angles.begin(), angles.end(), [&](const auto &a) {
                return shown == QStringView(a.shown);
            });
            const qint32 rotation =
                angle != angles.end() ? angle->rotation : platform::chart::TitleRotation::None;
            if (Index == 0)
                grf2d->chartArea().axes().y().setTitleRotation(rotation);
        });
    });
}
