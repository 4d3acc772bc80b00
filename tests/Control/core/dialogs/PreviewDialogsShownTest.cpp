// The preview options dialog and the preview window shown for real and driven with the mouse
// and the keyboard.
#include "Control/core/PelmoraC02.h"
#include "Control/presentation/PreviewDialogs.h"
#include "platform/chart/Chart2D.h"
#include "platform/chart/Chart3D.h"
#include "platform/printer/Printer.h"
#include "tests/support/ScriptedMsgBox.h"
#include "tests/support/ShownDialogs.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPrintPreviewWidget>
#include <QPushButton>
#include <QTest>

using testing_support::clickOn;
using testing_support::pressKey;
using testing_support::typeInto;
using testing_support::whenShown;

TEST(PreviewDialogsShown, OptionsTakenWithMouseAndKeysThenThePreviewPagedAndCopied)
{
    testing_support::ScriptedMsgBox boxes;
    PelmoraC02 control;
    control.lblCubo->setText("Shown view");
    control.grdResults->setRows(2);
    control.grdResults->setCols(2);
    control.grdResults->setTextMatrix(1, 1, "42");
    control.grf2d->setVisible(false);
    control.grf3d->setVisible(false);
    control.previewOptions.PreviewChartInNewPage = true;

    bool previewShown = false;
    whenShown([&](QWidget &w) {
        auto &form = static_cast<frmPreviewParams &>(w);
        EXPECT_EQ(form.windowTitle(), "Preview Parameters");
        clickOn(form.chkSeccion[4]); // "Data headings" off
        clickOn(form.chkSeccion[1]); // "Comments" on
        clickOn(form.txtComentario);
        typeInto(w, "typed note");
        // The preview window comes up once the options are taken.
        whenShown([&](QWidget &p) {
            auto &preview = static_cast<frmPreview &>(p);
            previewShown = true;
            EXPECT_EQ(preview.windowTitle(), "Print preview");
            QPrintPreviewWidget *pages = preview.vp->previewWidget();
            EXPECT_TRUE(pages);
            if (pages) {
                clickOn(preview.vp->findChild<QPushButton *>("zoomIn"));
                clickOn(preview.vp->findChild<QPushButton *>("lastPage"));
                EXPECT_EQ(pages->currentPage(), pages->pageCount());
            }
            QDir().mkpath(PELMORA_SCREENS_DIR);
            preview.grab().save(PELMORA_SCREENS_DIR "/preview-window.png");
            clickOn(preview.cmdCopiar);
            EXPECT_FALSE(QApplication::clipboard()->image().isNull());
            EXPECT_FALSE(preview.Picture1->pixmap().isNull());
            clickOn(preview.cmdAceptar);
        });
        pressKey(w, Qt::Key_Return); // OK is the default button
    });
    EXPECT_TRUE(control.doAction("PRINTVIEW"));
    EXPECT_TRUE(previewShown);
    EXPECT_FALSE(control.previewOptions.PreviewHeadings);
    EXPECT_TRUE(control.previewOptions.PreviewComments);
    EXPECT_EQ(control.previewOptions.PreviewComment, "typed note");
    EXPECT_EQ(boxes.count(), 0);
}

TEST(PreviewDialogsShown, EscapeOnTheOptionsDialogCancelsInSpanish)
{
    testing_support::ScriptedMsgBox boxes;
    PelmoraC02 control;
    control.language.LanguageID = 1;
    whenShown([&](QWidget &w) {
        EXPECT_EQ(w.windowTitle(), "Parametros de vista previa");
        clickOn(static_cast<frmPreviewParams &>(w).chkSeccion[2]);
        pressKey(w, Qt::Key_Escape);
    });
    EXPECT_FALSE(control.doAction("PRINTVIEW"));
    EXPECT_TRUE(control.previewOptions.PreviewData);
    EXPECT_EQ(boxes.count(), 0);
}
