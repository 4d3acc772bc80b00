// The view as one printer document: page set-up, header and footer, title, comment, the titles
// grid and the data grid as tables, then the chart's picture; shown in the preview or written
// to an export file.
#include "Control/core/ErrorTrap.h"
#include "Control/core/PelmoraC02.h"
#include "platform/grid/OleColor.h"
#include "platform/printer/Printer.h"
#include "platform/runtime/Error.h"
#include "platform/widgets/CommonDialog.h"

#include <QDate>
#include <QLabel>
#include <QLocale>
#include <QScopeGuard>

#include <cmath>

using platform::grid::CellSetting;
using platform::grid::FlexGrid;
using platform::grid::oleToColor;
using platform::printer::Printer;

namespace {

QFont cellFont(const FlexGrid *grid, int row, int col)
{
    return grid->cell(CellSetting::Font, row, col).value<QFont>();
}

// The RTF header or footer group of `text` ("left|centre|right", "%d" the page number) opened
// by `prologue`. The parts are escaped for RTF before the page field goes in.
QString rtfHeaderGroup(const QString &group, const QString &prologue, const QString &text)
{
    const QStringList parts = text.split(u'|');
    QString t = QStringLiteral("{") + group + QStringLiteral("{") + prologue
                + QStringLiteral(" {{left}} \\tab {{center}} \\tab {{right}}\\par }}");
    const auto part = [&](int i) {
        return platform::printer::rtfEscape(parts[i]).replace(
            QStringLiteral("%d"), QStringLiteral("{\\field{\\*\\fldinst PAGE}}"));
    };
    t.replace(QStringLiteral("{{left}}"), part(0));
    t.replace(QStringLiteral("{{center}}"), parts.size() > 1 ? part(1) : QString());
    t.replace(QStringLiteral("{{right}}"), parts.size() > 2 ? part(2) : QString());
    return t;
}

} // namespace

bool PelmoraC02::loadPreview(const QString &mode, Printer *printer)
{
    const QString word = mode.toUpper();
    return pelmora::trapped(QStringLiteral("loadPreview: "), [&] {
        if (!printer)
            throw platform::Error(QStringLiteral("No printer control"));
        if (!askPreviewParams())
            return false;
        if (word == u"PREVIEW") {
            printer->setPreview(true);
        } else if (word == u"EXPORT") {
            dlg->setDialogTitle(message(18));
            dlg->setCancelError(true);
            dlg->setFileName(QString());
            dlg->setFilter(message(19));
            try {
                dlg->showSave();
            } catch (const platform::Error &error) {
                // A cancelled file dialog is the user's choice not to export: nothing to say.
                if (error.description() == platform::widgets::CommonDialog::cancelDescription())
                    return false;
                throw;
            }
            if (!dlg->fileName().isEmpty()) {
                const int index = dlg->filterIndex();
                if (index == 1)
                    printer->setExportFormat(Printer::Html);
                else if (index == 2 || index == 3)
                    printer->setExportFormat(Printer::Rtf);
                printer->setExportFile(dlg->fileName());
            } else {
                printer->setPreview(true);
            }
        }
        // The export file name is for this document only, whether it is written or fails.
        const auto forgetExportFile = qScopeGuard([&] {
            if (word == u"EXPORT")
                printer->setExportFile(QString());
        });
        printer->setSetting9(1);
        previewHeaderFooter(printer);
        printer->setMarginLeft(QStringLiteral("0.5in"));
        printer->setMarginRight(QStringLiteral("0.5in"));
        printer->setMarginTop(QStringLiteral("1in"));
        printer->setMarginBottom(QStringLiteral("1in"));
        printer->setSetting91(3);
        printer->setHeaderFontName(QStringLiteral("Tahoma"));
        printer->setHeaderFontSize(9);
        printer->setHeaderFontBold(true);
        printer->startDoc();
        exportRtfHeader(printer, dlg->filterIndex());
        previewTitle(printer);
        previewComment(printer);
        previewTitlesGrid(printer);
        previewDataGrid(printer);
        previewChart(printer);
        printer->endDoc();
        return true;
    });
}

void PelmoraC02::previewHeaderFooter(Printer *printer)
{
    if (!previewOptions.PreviewHeaderAndFooter)
        return;
    printer->setHeader(lblCubo->text() + QStringLiteral("||")
                       + QLocale().toString(QDate::currentDate(), QStringLiteral("MMM-dd-yyyy")));
    printer->setFooter(QStringLiteral("|Page %d|"));
}

void PelmoraC02::previewTitle(Printer *printer)
{
    if (!previewOptions.PreviewTitle)
        return;
    printer->setSetting108(1);
    printer->setFontSize(10);
    printer->setText(lblCubo->text());
}

void PelmoraC02::previewComment(Printer *printer)
{
    if (!previewOptions.PreviewComments)
        return;
    printer->setSetting108(1);
    printer->setFontSize(8);
    printer->setText(previewOptions.PreviewComment);
}

void PelmoraC02::previewTitlesGrid(Printer *printer)
{
    printer->setSetting108(1);
    if (!previewOptions.PreviewHeadings)
        return;
    const FlexGrid *grid = grdTitulos;
    const int rows = grid->rows();
    const int cols = grid->cols();
    printer->setText(QString());
    printer->startTable();
    printer->setTableCols(cols);
    printer->setTableRows(rows);
    if (rows > 0 && cols >= 2) {
        if (!previewOptions.PreviewBW) {
            printer->setCellBack(1, 1, rows, 1, oleToColor(grid->backColorFixed()));
            printer->setCellFore(1, 1, rows, 1, oleToColor(grid->foreColorFixed()));
            printer->setCellBack(1, 2, rows, 2, oleToColor(grid->backColor()));
            printer->setCellFore(1, 2, rows, 2, oleToColor(grid->foreColor()));
        }
        printer->setCellFont(1, 1, rows, 1, cellFont(grid, 0, 0));
        printer->setCellFont(1, 2, rows, 2, cellFont(grid, 0, 1));
    }
    for (int c = 0; c < cols; ++c) {
        printer->setColumnWidth(c + 1, grid->colWidth(c));
        printer->setColumnSetting31(c + 1, grid->colSetting119(c));
        for (int r = 0; r < rows; ++r)
            printer->setCellText(r + 1, c + 1, grid->textMatrix(r, c));
    }
    printer->endTable();
}

void PelmoraC02::previewDataGrid(Printer *printer)
{
    printer->setSetting108(0);
    if (!previewOptions.PreviewData)
        return;
    const FlexGrid *grid = grdResults;
    const int R = grid->rows();
    const int C = grid->cols();
    const int FR = std::min(grid->fixedRows(), R);
    const int FC = std::min(grid->fixedCols(), C);
    printer->setText(QString());
    printer->startTable();
    printer->setTableCols(C);
    printer->setTableRows(R);
    // A range with no rows or no columns (no header rows, a grid of one row) is left out.
    const auto range = [&](int r1, int c1, int r2, int c2, auto set, const auto &value) {
        if (r1 <= r2 && c1 <= c2 && r1 >= 1 && c1 >= 1)
            (printer->*set)(r1, c1, r2, c2, value);
    };
    if (!previewOptions.PreviewBW) {
        const QColor headerBack = oleToColor(grid->backColorFixed());
        const QColor headerFore = oleToColor(grid->foreColorFixed());
        range(1, 1, FR, C, &Printer::setCellBack, headerBack);
        range(1, 1, R, FC, &Printer::setCellBack, headerBack);
        range(1, 1, FR, C, &Printer::setCellFore, headerFore);
        range(1, 1, R, FC, &Printer::setCellFore, headerFore);
        range(FR + 1, FC + 1, R, C, &Printer::setCellBack, oleToColor(grid->backColor()));
        range(FR + 1, FC + 1, R, C, &Printer::setCellFore, oleToColor(grid->foreColor()));
    }
    if (R > 0 && C > 0) {
        // The header font is that of cell (1, 0); a grid of one row takes its only row's.
        const QFont headerFont = cellFont(grid, std::min(1, R - 1), 0);
        range(1, 1, FR, C, &Printer::setCellFont, headerFont);
        range(1, 1, R, FC, &Printer::setCellFont, headerFont);
        if (FR < R && FC < C)
            range(FR + 1, FC + 1, R, C, &Printer::setCellFont, cellFont(grid, FR, FC));
    }
    range(FR + 1, FC + 1, R, C, &Printer::setDataArea, 8);
    for (int c = 0; c < C; ++c) {
        printer->setColumnWidth(c + 1, grid->colWidth(c));
        for (int r = 0; r < R; ++r) {
            printer->setCellText(r + 1, c + 1,
                                 grid->cell(CellSetting::TextDisplay, r, c).toString());
            if (previewOptions.PreviewBW)
                continue;
            const int ownBack = grid->cell(CellSetting::BackColor, r, c).toInt();
            if (ownBack != 0)
                printer->setCellBack(r + 1, c + 1, r + 1, c + 1, oleToColor(ownBack));
            const int ownFore = grid->cell(CellSetting::ForeColor, r, c).toInt();
            if (ownFore != 0)
                printer->setCellFore(r + 1, c + 1, r + 1, c + 1, oleToColor(ownFore));
        }
    }
    printer->endTable();
}

void PelmoraC02::exportRtfHeader(Printer *printer, int filterIndex)
{
    if (printer->exportFile().isEmpty() || filterIndex == 1)
        return;
    QString s =
        QStringLiteral("\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033 ")
        + QStringLiteral("{\\fonttbl{\\f999 {{fname}};}}\\li0\\tqc\\tx{{center}}\\tqr\\tx{{right}}"
                         "\\f999\\fs{{fsize}}");
    printer->beginRawText();
    // Tab stops in whole twips: RTF knows no fractions and no locale's decimal comma.
    const int left = printer->textLeft();
    const int right = printer->textRight();
    s.replace(QStringLiteral("{{center}}"),
              QString::number(std::lround((right + left) / 2.0 - left)));
    s.replace(QStringLiteral("{{right}}"), QString::number(right - left));
    s.replace(QStringLiteral("{{fname}}"), platform::printer::rtfEscape(printer->headerFontName()));
    s.replace(QStringLiteral("{{fsize}}"),
              QString::number(std::lrint(printer->headerFontSize() * 2)));
    if (printer->headerFontBold())
        s += QStringLiteral("\\b");
    if (printer->headerFontItalic())
        s += QStringLiteral("\\i");
    if (printer->headerFontUnderline())
        s += QStringLiteral("\\ul");
    if (!printer->header().isEmpty())
        printer->insertRawText(rtfHeaderGroup(QStringLiteral("\\header"), s, printer->header()));
    if (!printer->footer().isEmpty())
        printer->insertRawText(rtfHeaderGroup(QStringLiteral("\\footer"), s, printer->footer()));
}
