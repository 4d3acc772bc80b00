// Print, preview and export of a small fixed view: the options dialog, the export file dialog,
// the HTML and RTF written (against golden files), the chart's room rule and its picture.
#include "Control/core/PelmoraC02.h"
#include "Control/presentation/PreviewDialogs.h"
#include "Control/settings/StoredDefaults.h"
#include "platform/chart/Chart2D.h"
#include "platform/chart/Chart3D.h"
#include "platform/printer/Printer.h"
#include "tests/support/ScriptedModalRunner.h"
#include "tests/support/ScriptedMsgBox.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTextDocument>

using platform::printer::Printer;
using testing_support::ScriptedModalRunner;
using testing_support::ScriptedMsgBox;

namespace {

// The parts an RTF reader sees: whether the groups balance, and the tables and pictures met.
struct RtfRead
{
    bool balanced = true;
    int rows = 0;
    int pictures = 0;
    int headers = 0;
};

RtfRead readRtf(const QByteArray &rtf)
{
    RtfRead read;
    int depth = 0;
    for (qsizetype i = 0; i < rtf.size(); ++i) {
        const char ch = rtf[i];
        if (ch == '\\') {
            qsizetype j = i + 1;
            while (j < rtf.size() && std::isalpha(uchar(rtf[j])))
                ++j;
            const QByteArray word = rtf.mid(i + 1, j - i - 1);
            if (word == "trowd")
                ++read.rows;
            else if (word == "pict")
                ++read.pictures;
            else if (word == "header" || word == "footer")
                ++read.headers;
            i = word.isEmpty() ? i + 1 : j - 1; // "\{" and "\\" are text
        } else if (ch == '{') {
            ++depth;
        } else if (ch == '}') {
            if (--depth < 0)
                read.balanced = false;
        }
    }
    read.balanced = read.balanced && depth == 0;
    return read;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The file's text with the day's date and the temporary folder put as fixed words.
QByteArray comparable(QByteArray bytes, const QString &dir)
{
    bytes.replace(dir.toUtf8(), "DIR");
    bytes.replace(QUrl::fromLocalFile(dir).toString(QUrl::FullyEncoded).toUtf8(), "DIRURL");
    static const QRegularExpression date(QStringLiteral("[A-Z][a-z]{2}-\\d\\d-\\d{4}"));
    return QString::fromLatin1(bytes).replace(date, QStringLiteral("DATE")).toLatin1();
}

int acceptOptions(QDialog &d)
{
    EXPECT_EQ(d.objectName(), "frmPreviewParams");
    return ScriptedModalRunner::click(d, "cmdAceptar") ? QDialog::Accepted : QDialog::Rejected;
}

class PrintExport : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale::c());
        control.lblCubo->setText(QStringLiteral("Sales {north} \\ Año"));
        platform::grid::FlexGrid *t = control.grdTitulos;
        t->setRows(2);
        t->setTextMatrix(0, 0, "Store");
        t->setTextMatrix(0, 1, "All Stores");
        t->setTextMatrix(1, 0, "Product");
        t->setTextMatrix(1, 1, "Drink");
        platform::grid::FlexGrid *g = control.grdResults;
        g->setRows(3);
        g->setCols(3);
        g->setFixedRows(1);
        g->setFixedCols(1);
        const char *cells[3][3] = {
            {"", "Sales", "Cost"}, {"1997", "120", "80"}, {"1998", "<135>", "90"}};
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c)
                g->setTextMatrix(r, c, QString::fromLatin1(cells[r][c]));
        g->setCell(platform::grid::CellSetting::BackColor, 2, 1, 0x0000FF);
        control.grf2d->resize(400, 300);
        control.grf3d->setVisible(false);
        control.previewOptions.PreviewComments = true;
        control.previewOptions.PreviewComment = QStringLiteral("Figures & <notes>");
    }

    // Exports through the options dialog and the file dialog (filter `index`) into the
    // temporary folder; answers the file written.
    QString exportAs(const QString &name, int index)
    {
        const QString path = QDir(dir.path()).filePath(name);
        dialogs.then(acceptOptions);
        dialogs.then([&, path, index](QDialog &d) {
            auto *files = qobject_cast<QFileDialog *>(&d);
            EXPECT_TRUE(files);
            if (!files)
                return int(QDialog::Rejected);
            files->selectNameFilter(files->nameFilters().value(index - 1));
            files->selectFile(path);
            d.accept();
            return int(QDialog::Accepted);
        });
        EXPECT_TRUE(control.doAction("EXPORTVIEW"));
        EXPECT_EQ(control.vpLocal->exportFile(), QString());
        return path;
    }

    void expectGolden(const QString &file, const QString &golden)
    {
        const QByteArray got = comparable(readAll(file), dir.path());
        const QString goldenPath = QStringLiteral(PELMORA_FIXTURES "/print/") + golden;
        if (qEnvironmentVariableIsSet("PELMORA_WRITE_GOLDEN")) {
            QFile out(goldenPath);
            ASSERT_TRUE(out.open(QIODevice::WriteOnly));
            out.write(got);
        }
        EXPECT_EQ(got, readAll(goldenPath)) << golden.toStdString();
    }

    QTemporaryDir dir;
    ScriptedMsgBox boxes;
    ScriptedModalRunner dialogs;
    PelmoraC02 control;
};

} // namespace

TEST_F(PrintExport, GoldenHtmlAndRtfWithEachOptionOffInTurn)
{
    struct Case
    {
        const char *golden;
        int index;
        bool pelmora::PreviewOptions::*off;
    };
    const Case cases[] = {
        {"view.htm", 1, nullptr},
        {"view.rtf", 2, nullptr},
        {"view-bw.htm", 1, &pelmora::PreviewOptions::PreviewChart},
        {"no-header.rtf", 2, &pelmora::PreviewOptions::PreviewHeaderAndFooter},
        {"no-title.htm", 1, &pelmora::PreviewOptions::PreviewTitle},
        {"no-headings.htm", 1, &pelmora::PreviewOptions::PreviewHeadings},
        {"no-data.rtf", 2, &pelmora::PreviewOptions::PreviewData},
        {"no-comment.htm", 1, &pelmora::PreviewOptions::PreviewComments},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.golden);
        pelmora::PreviewOptions &o = control.previewOptions;
        o = pelmora::PreviewOptions();
        o.PreviewComments = true;
        o.PreviewComment = QStringLiteral("Figures & <notes>");
        if (c.off)
            o.*(c.off) = false;
        o.PreviewBW = QByteArray(c.golden).contains("bw");
        // A fresh printer control: headers of an earlier document do not carry over.
        delete control.vpLocal;
        control.vpLocal = new Printer(&control);
        const QString file = exportAs(QString::fromLatin1(c.golden), c.index);
        expectGolden(file, QString::fromLatin1(c.golden));
        if (c.index == 1 && !c.off) {
            // The page as a browser-like reader draws it, kept for a look.
            QTextDocument html;
            html.setHtml(QString::fromUtf8(readAll(file)));
            html.setTextWidth(800);
            QImage page(800, int(html.size().height()) + 1, QImage::Format_RGB32);
            page.fill(Qt::white);
            QPainter painter(&page);
            html.drawContents(&painter);
            painter.end();
            QDir().mkpath(QStringLiteral(PELMORA_TEST_PICTURES));
            page.save(QStringLiteral(PELMORA_TEST_PICTURES "/export-html.png"));
        }
        if (c.index == 2) {
            const RtfRead read = readRtf(readAll(file));
            EXPECT_TRUE(read.balanced);
            EXPECT_EQ(read.rows, (c.off == &pelmora::PreviewOptions::PreviewData ? 0 : 3) + 2);
            EXPECT_EQ(read.headers,
                      c.off == &pelmora::PreviewOptions::PreviewHeaderAndFooter ? 0 : 2);
        }
        // The picture of an HTML or RTF export stays beside it.
        EXPECT_EQ(QFile::exists(file.left(file.lastIndexOf(u'.')) + ".jpg"),
                  !(c.off == &pelmora::PreviewOptions::PreviewChart));
    }
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(PrintExport, ExtendedRtfEmbedsThePictureAndKeepsTheClipboard)
{
    QApplication::clipboard()->setText(QStringLiteral("the user's text"));
    const QString file = exportAs("view.rtf", 3);
    const QByteArray rtf = readAll(file);
    const RtfRead read = readRtf(rtf);
    EXPECT_TRUE(read.balanced);
    EXPECT_EQ(read.pictures, 1);
    EXPECT_TRUE(rtf.contains("\\jpegblip"));
    EXPECT_FALSE(QFile::exists(QDir(dir.path()).filePath("view.jpg")));
    EXPECT_EQ(QApplication::clipboard()->text(), "the user's text");
    // Title braces, backslash and non-ASCII letters are escaped in the header, tabs whole.
    EXPECT_TRUE(rtf.contains("Sales \\{north\\} \\\\ A\\u241?o"));
    EXPECT_TRUE(rtf.contains("\\tqc\\tx5400\\tqr\\tx10800"));
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(PrintExport, CancelledDialogsSayNothingAndChangeNothing)
{
    // The options dialog: boxes and comment changed, then Cancel.
    dialogs.then([](QDialog &d) {
        auto &form = static_cast<frmPreviewParams &>(d);
        form.chkSeccion[2]->setChecked(false);
        form.txtComentario->setText("changed");
        form.chkSave->setChecked(true);
        return ScriptedModalRunner::click(d, "cmdCancelar") ? QDialog::Rejected : -1;
    });
    EXPECT_FALSE(control.doAction("EXPORTVIEW"));
    EXPECT_TRUE(control.previewOptions.PreviewData);
    EXPECT_EQ(control.previewOptions.PreviewComment, "Figures & <notes>");
    EXPECT_EQ(dialogs.shown(), QStringList({"frmPreviewParams"}));
    pelmora::PreviewOptions stored;
    stored.PreviewComment = "none";
    pelmora::defaults::readSection(pelmora::defaults::previewSection(stored));
    EXPECT_EQ(stored.PreviewComment, "none");
    // The export file dialog cancelled.
    dialogs.then(acceptOptions);
    dialogs.then([](QDialog &) { return int(QDialog::Rejected); });
    EXPECT_FALSE(control.doAction("EXPORTVIEW"));
    EXPECT_EQ(boxes.count(), 0);
    EXPECT_TRUE(dialogs.done());
}

TEST_F(PrintExport, SaveAsDefaultStoresTheOptionsAndOkAloneDoesNot)
{
    for (const bool save : {false, true}) {
        dialogs.then([save](QDialog &d) {
            auto &form = static_cast<frmPreviewParams &>(d);
            form.chkSeccion[3]->setChecked(false); // Chart
            form.txtComentario->setText(save ? "kept" : "once");
            form.chkSave->setChecked(save);
            return acceptOptions(d);
        });
        dialogs.then([](QDialog &d) { return ScriptedModalRunner::click(d, "cmdAceptar"); });
        EXPECT_TRUE(control.doAction("PRINTVIEW"));
        EXPECT_FALSE(control.previewOptions.PreviewChart);
        pelmora::PreviewOptions stored;
        pelmora::defaults::readSection(pelmora::defaults::previewSection(stored));
        EXPECT_EQ(stored.PreviewComment, save ? "kept" : "") << save;
        EXPECT_EQ(stored.PreviewChart, !save) << save;
    }
}

TEST_F(PrintExport, TheRoomRuleAsksAt2000TwipsAndNotAt2001)
{
    struct Case
    {
        int pageHeight;
        int answer; // 0: no question expected
        int pages;
    };
    const Case cases[] = {
        {6521, 0, 1}, {6520, platform::forms::Yes, 2}, {6520, platform::forms::No, 1}};
    const QSize shown = control.grf2d->size();
    for (const Case &c : cases) {
        SCOPED_TRACE(c.pageHeight);
        boxes.clear();
        if (c.answer)
            boxes.answer({c.answer});
        Printer printer;
        // The room is the height less 4520 twips (margins of 1 in, the reserve) and less the
        // position, which the empty paragraph before the picture moves down one line.
        const int line = platform::printer::lineHeight(platform::printer::paragraphFont(10));
        printer.setPageSize(12240, c.pageHeight + line);
        printer.startDoc();
        control.previewOptions.PreviewChartInNewPage = false;
        control.previewChart(&printer);
        printer.endDoc();
        EXPECT_EQ(boxes.count(), c.answer ? 1 : 0);
        if (c.answer) {
            EXPECT_EQ(boxes.shown()[0].text, control.message(20));
        }
        EXPECT_EQ(printer.pageCount(), c.pages);
        const auto &blocks = printer.document().blocks;
        const QRect place = blocks.last().place;
        // Without a new page the picture fits between the position and the bottom margin.
        if (c.pages == 1) {
            EXPECT_LE(place.bottom(), printer.pageHeight() - printer.marginBottom() - 200);
        }
        EXPECT_EQ(control.grf2d->size(), shown); // the chart on the screen keeps its size
    }
}

TEST_F(PrintExport, APrintRendersToPdfPages)
{
    Printer printer;
    control.previewOptions.PreviewChartInNewPage = true;
    dialogs.then(acceptOptions);
    ASSERT_TRUE(control.loadPreview("preview", &printer));
    EXPECT_EQ(printer.pageCount(), 2);
    const QString pdf = QDir(dir.path()).filePath("print.pdf");
    ASSERT_TRUE(printer.writePdf(pdf));
    const QString prefix = QStringLiteral(PELMORA_TEST_PICTURES "/print-page");
    QDir().mkpath(QStringLiteral(PELMORA_TEST_PICTURES));
    ASSERT_EQ(QProcess::execute("pdftoppm", {"-png", "-r", "40", pdf, prefix}), 0);
    for (const char *page : {"-1.png", "-2.png"}) {
        const QImage image(prefix + page);
        ASSERT_FALSE(image.isNull()) << page;
        // Something was drawn on both pages.
        int dark = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                dark += qGray(image.pixel(x, y)) < 200;
        EXPECT_GT(dark, 50) << page;
    }
}

TEST(PreviewWindow, ThePrintButtonSpeaksTheWindowsLanguage)
{
    for (const auto &[language, caption] :
         {std::pair{0, "&Print..."}, std::pair{1, "&Imprimir..."}}) {
        frmPreview form;
        form.vLanguageId = language;
        form.Form_Load();
        form.vp->setPreview(true);
        form.vp->startDoc();
        form.vp->endDoc();
        auto *print = form.vp->findChild<QPushButton *>("printPages");
        ASSERT_TRUE(print) << language;
        EXPECT_EQ(print->text(), caption) << language;
    }
}
