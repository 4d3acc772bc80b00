// The commands that act on the whole view: save, print, copy, the screen elements, the layout
// of all dimensions, the statement by hand, the about box and splash screen, the view's title.
#include "Control/core/ElementsDialog.h"
#include "Control/core/ErrorTrap.h"
#include "Control/core/LayoutDialog.h"
#include "Control/core/LayoutLists.h"
#include "Control/core/MdxDialog.h"
#include "Control/core/PelmoraC02.h"
#include "Control/core/SplashDialog.h"
#include "Control/core/TitleDialog.h"
#include "platform/chart/Chart2D.h"
#include "platform/chart/Chart3D.h"
#include "platform/forms/Modal.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/Screen.h"
#include "platform/widgets/MdxEdit.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

using pelmora::trapped;

namespace {

const QString crlf = QStringLiteral("\r\n");

bool shown(const QWidget *widget)
{
    return widget && !widget->isHidden();
}

QStringList items(const QListWidget *list)
{
    QStringList texts;
    for (int i = 0; i < list->count(); ++i)
        texts.append(list->item(i)->text());
    return texts;
}

} // namespace

bool PelmoraC02::saveView()
{
    return trapped(QStringLiteral("saveView:"), [this] {
        // A cancelled file dialog names no file: the user chose not to save, nothing to say.
        queryState.viewFile = saveDialog(message(1), message(2), false);
        if (queryState.viewFile.isEmpty())
            return false;
        if (writeView(queryState.viewFile))
            return true;
        platform::forms::msgBox(message(3) + queryState.viewFile + message(4),
                                platform::forms::OkOnly);
        return false;
    });
}

bool PelmoraC02::printView()
{
    return trapped(QStringLiteral("printView:"), [this] {
        platform::printer::Printer *vp = nullptr;
        const std::unique_ptr<QDialog> preview = newPreviewForm(vp);
        // A preview that could not be made is no print.
        if (!loadPreview(QStringLiteral("PREVIEW"), vp))
            return false;
        platform::forms::showModal(*preview);
        return true;
    });
}

bool PelmoraC02::copyView()
{
    return trapped(QStringLiteral("copyView:"), [this] {
        QString text;
        if (shown(lblCubo))
            text = lblCubo->text();
        for (const platform::grid::FlexGrid *grid : {grdTitulos, grdResults}) {
            if (!shown(grid))
                continue;
            // The whole grid, fixed cells included; an empty grid adds an empty text.
            text += crlf
                    + grid->cell(platform::grid::CellSetting::Text, 0, 0, grid->rows() - 1,
                                 grid->cols() - 1)
                          .toString();
        }
        platform::forms::clipboardClear();
        platform::forms::clipboardSetText(text);
        return true;
    });
}

bool PelmoraC02::showElements()
{
    return trapped(QStringLiteral("showElements:"), [this] {
        frmElementos form(this);
        form.vLanguageId = language.LanguageID;
        form.vTitulo = shown(lblCubo) ? 1 : 0;
        form.vEncabezados = shown(grdTitulos) ? 1 : 0;
        form.vDatos = shown(grdResults) ? 1 : 0;
        form.vGrafica = chartVisible(grf2d) || chartVisible(grf3d) ? 1 : 0;
        form.showModalForm();
        if (form.vOK) {
            lblCubo->setVisible(form.vTitulo == 1);
            grdTitulos->setVisible(form.vEncabezados == 1);
            grdResults->setVisible(form.vDatos == 1);
            if (form.vGrafica == 1) {
                grf2d->setVisible(true); // the 3-D chart keeps its state
            } else {
                grf2d->setVisible(false);
                grf3d->setVisible(false);
            }
        }
        return true;
    });
}

bool PelmoraC02::showLayout()
{
    return trapped(QStringLiteral("showLayout:"), [this] {
        {
            frmLayout form(this);
            form.vFrm = this;
            form.vLanguageId = language.LanguageID;
            if (!connState.catalog)
                connState.catalog.emplace();
            const platform::olap::Dimensions dimensions =
                connState.catalog->cubeDefs().item(connState.numCube).dimensions();
            QStringList names;
            for (int i = 0; i < layoutState.NumDims; ++i)
                names.append(dimensions.item(i).name());
            const pelmora::AxisLists lists = pelmora::axisListsOf(layoutState, names);
            form.lstE->addItems(lists[pelmora::Slicer]);
            form.lstH->addItems(lists[pelmora::Columns]);
            form.lstV->addItems(lists[pelmora::Rows]);
            form.showModalForm();
            if (form.vOK)
                pelmora::applyAxisLists(layoutState,
                                        {items(form.lstE), items(form.lstH), items(form.lstV)});
        }
        // After OK and Cancel alike: what the options dialogs changed shows too.
        return genSelect();
    });
}

bool PelmoraC02::directMDX()
{
    trapped(QStringLiteral("directMDX:"), [this] {
        frmMDX form(this);
        form.vLanguageId = language.LanguageID;
        // An interactive control only shows the statement.
        form.cmdEjecutar->setVisible(!controlFlags.Interactive);
        form.txtMDX->setText(queryState.currentMDX);
        form.showModalForm();
        // The layout records stay as they are: the next gesture builds from them again.
        if (form.vEjecutar)
            MDXExecute(form.txtMDX->text());
    });
    return true;
}

bool PelmoraC02::ShowAboutBox()
{
    return trapped(QStringLiteral("ShowAboutBox:"), [this] {
        frmSplash form(this);
        form.vLanguageId = language.LanguageID;
        form.vCerrar = true;
        form.showModalForm();
        return true;
    });
}

bool PelmoraC02::ShowSplash()
{
    return trapped(QStringLiteral("ShowSplash:"), [this] {
        frmSplash form(this);
        form.vLanguageId = language.LanguageID;
        form.vTime = 1500;
        form.vCerrar = false;
        form.showModalForm();
        return true;
    });
}

bool PelmoraC02::changeTitle()
{
    return trapped(QStringLiteral("changeTitle:"), [this] {
        QString title;
        {
            frmTitulo form(this);
            form.vLanguageId = language.LanguageID;
            form.vTitulo = lblCubo->text();
            form.showModalForm();
            title = form.vTitulo;
        }
        lblCubo->setText(title);
        // Both charts head with the title, shown or not.
        grf2d->header().setText(title);
        grf3d->header().setText(title);
        return true;
    });
}
