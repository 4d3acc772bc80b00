// The printer control's pages: a table wider than the text goes on in bands of columns with
// its header columns in front, a table longer than a page heads each page with its header
// rows, and a print takes the pages, copies and page order that its printer asks for. Pages
// are read back from PDF files.
#include "platform/printer/Printer.h"
#include "platform/runtime/Error.h"
#include "tests/support/PdfText.h"
#include "tests/support/ScriptedModalRunner.h"
#include "tests/support/ScriptedMsgBox.h"

#include <gtest/gtest.h>

#include <QPageRanges>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTemporaryDir>

using platform::printer::ColumnBands;
using platform::printer::columnBands;
using platform::printer::Printer;
using testing_support::pdfPageCount;
using testing_support::pdfPageTexts;

namespace {

using Bands = QList<std::pair<int, int>>;

Bands bandsOf(const ColumnBands &cut)
{
    Bands bands;
    for (const auto &band : cut.bands)
        bands.append({band.from, band.to});
    return bands;
}

// A table of `rows` x `cols` cells: header row 0 "Col07", header column 0 "Row12", data
// cells "r12c07".
void addTable(Printer &printer, int rows, int cols)
{
    printer.startTable();
    printer.setTableCols(cols);
    printer.setTableRows(rows);
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            QString text =
                QStringLiteral("r%1c%2").arg(r, 2, 10, QChar(u'0')).arg(c, 2, 10, QChar(u'0'));
            if (r == 0)
                text = QStringLiteral("Col%1").arg(c, 2, 10, QChar(u'0'));
            else if (c == 0)
                text = QStringLiteral("Row%1").arg(r, 2, 10, QChar(u'0'));
            printer.setCellText(r + 1, c + 1, text);
        }
    }
    printer.setDataArea(2, 2, rows, cols, 8);
    printer.endTable();
}

void startLikeTheView(Printer &printer)
{
    printer.setMarginLeft("0.5in");
    printer.setMarginRight("0.5in");
    printer.setMarginTop("1in");
    printer.setMarginBottom("1in");
    printer.startDoc();
    printer.setText("A wide view");
}

} // namespace

TEST(ColumnBands, EveryColumnInOneBandInOrder)
{
    struct Case
    {
        const char *what;
        QList<int> widths;
        int headerCols;
        int available;
        int repeated;
        Bands bands;
    };
    const Case cases[] = {
        {"fits", {100, 200, 300}, 1, 600, 0, {{0, 3}}},
        {"the header column leads each band", {100, 200, 200, 200}, 1, 500, 1, {{1, 3}, {3, 4}}},
        {"two header columns", {100, 100, 300, 300}, 2, 500, 2, {{2, 3}, {3, 4}}},
        {"headers too wide to repeat", {400, 200, 200}, 1, 500, 0, {{0, 1}, {1, 3}}},
        {"a column wider than the text stands alone",
         {100, 900, 200},
         1,
         500,
         0,
         {{0, 1}, {1, 2}, {2, 3}}},
        {"no header columns", {300, 300, 300}, 0, 500, 0, {{0, 1}, {1, 2}, {2, 3}}},
        {"only header columns", {300, 300}, 2, 500, 0, {{0, 1}, {1, 2}}},
        {"one column", {900}, 0, 500, 0, {{0, 1}}},
        {"no columns", {}, 0, 500, 0, {{0, 0}}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const ColumnBands cut = columnBands(c.widths, c.headerCols, c.available);
        EXPECT_EQ(cut.repeated, c.repeated);
        EXPECT_EQ(bandsOf(cut), c.bands);
    }
}

TEST(PrintOrder, PagesCopiesCollationAndPageOrder)
{
    struct Case
    {
        const char *what;
        int pages;
        QList<std::pair<int, int>> ranges;
        int copies;
        bool collate;
        bool lastFirst;
        QList<int> order;
    };
    const Case cases[] = {
        {"all pages", 3, {}, 1, true, false, {1, 2, 3}},
        {"ranges, cut at the last page", 5, {{2, 3}, {5, 9}}, 1, true, false, {2, 3, 5}},
        {"collated copies", 2, {}, 2, true, false, {1, 2, 1, 2}},
        {"copies not collated", 2, {}, 2, false, false, {1, 1, 2, 2}},
        {"last page first", 3, {{1, 2}}, 2, true, true, {2, 1, 2, 1}},
        {"no copies counts as one", 2, {}, 0, true, false, {1, 2}},
        {"a range past the end", 2, {{4, 5}}, 1, true, false, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(Printer::printOrder(c.pages, c.ranges, c.copies, c.collate, c.lastFirst),
                  c.order);
    }
}

// 40 columns do not fit across a letter page, 60 rows do not fit down it: every cell is printed
// once, on a page that also shows its row's title and its column's header.
TEST(PrinterPages, AWideLongTableKeepsEveryCellWithItsTitles)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    Printer printer;
    startLikeTheView(printer);
    const int rows = 60;
    const int cols = 40;
    addTable(printer, rows, cols);
    printer.endDoc();
    ASSERT_GE(printer.pageCount(), 4);

    const QString pdf = dir.filePath("wide.pdf");
    ASSERT_TRUE(printer.writePdf(pdf));
    EXPECT_EQ(pdfPageCount(pdf), printer.pageCount());
    const QStringList pages = pdfPageTexts(pdf);
    ASSERT_EQ(pages.size(), printer.pageCount());

    static const QRegularExpression cell(QStringLiteral("r(\\d\\d)c(\\d\\d)"));
    QMultiHash<QString, int> seen; // a cell's text and the pages it is on
    for (int p = 0; p < pages.size(); ++p) {
        SCOPED_TRACE(p + 1);
        const QString &text = pages[p];
        EXPECT_TRUE(text.contains("Row") && text.contains("Col")) << "the titles head every page";
        for (auto it = cell.globalMatch(text); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            seen.insert(m.captured(0), p);
            EXPECT_TRUE(text.contains("Row" + m.captured(1))) << m.captured(0).toStdString();
            EXPECT_TRUE(text.contains("Col" + m.captured(2))) << m.captured(0).toStdString();
        }
    }
    for (int r = 1; r < rows; ++r) {
        for (int c = 1; c < cols; ++c) {
            const QString text =
                QStringLiteral("r%1c%2").arg(r, 2, 10, QChar(u'0')).arg(c, 2, 10, QChar(u'0'));
            EXPECT_EQ(seen.count(text), 1) << text.toStdString();
        }
    }
    // The title paragraph is printed once, before the table.
    EXPECT_TRUE(pages.first().contains("A wide view"));
    EXPECT_EQ(pages.join(QString()).count("A wide view"), 1);
}

// A table that fits keeps its single page, and the text after it follows on that page.
TEST(PrinterPages, ATableThatFitsStaysOnePage)
{
    Printer printer;
    startLikeTheView(printer);
    addTable(printer, 5, 4);
    const int below = printer.currentY();
    printer.setText("after");
    printer.endDoc();
    EXPECT_EQ(printer.pageCount(), 1);
    EXPECT_GT(printer.currentY(), below);
}

TEST(PrinterPages, APrintTakesThePrintersRangeCopiesAndOrder)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    Printer printer;
    startLikeTheView(printer);
    addTable(printer, 60, 40);
    printer.endDoc();
    const int pages = printer.pageCount();
    ASSERT_GE(pages, 3);

    QPrinter out(QPrinter::HighResolution);
    out.setOutputFormat(QPrinter::PdfFormat);
    out.setOutputFileName(dir.filePath("range.pdf"));
    out.setPrintRange(QPrinter::PageRange);
    QPageRanges ranges;
    ranges.addRange(2, 3);
    out.setPageRanges(ranges);
    out.setCopyCount(2);
    out.setCollateCopies(false);
    out.setPageOrder(QPrinter::LastPageFirst);
    printer.print(out);
    const QStringList texts = pdfPageTexts(out.outputFileName());
    ASSERT_EQ(texts.size(), 4);
    // Pages 3, 3, 2, 2 of the document: the same text twice, then the other page's twice.
    EXPECT_EQ(texts[0], texts[1]);
    EXPECT_EQ(texts[2], texts[3]);
    EXPECT_NE(texts[1], texts[2]);
    EXPECT_FALSE(texts[0].contains("A wide view"));

    // A file that cannot be written is an error, not a silent nothing.
    QPrinter nowhere(QPrinter::HighResolution);
    nowhere.setOutputFormat(QPrinter::PdfFormat);
    nowhere.setOutputFileName(dir.filePath("missing/dir/out.pdf"));
    try {
        printer.print(nowhere);
        ADD_FAILURE() << "printed to a folder that is not there";
    } catch (const platform::Error &error) {
        EXPECT_TRUE(error.description().startsWith("Cannot print to "))
            << error.description().toStdString();
    }
}

// The preview's Print button: the print dialog goes through the modal runner; a cancelled
// dialog prints nothing and says nothing, a file that cannot be written is said in a message,
// and an accepted dialog prints the pages it chose.
TEST(PrinterPages, ThePreviewsPrintButtonReportsWhatItCouldNotPrint)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    testing_support::ScriptedMsgBox boxes;
    testing_support::ScriptedModalRunner dialogs;
    Printer printer;
    printer.setPreview(true);
    startLikeTheView(printer);
    addTable(printer, 60, 40);
    printer.endDoc();
    auto *print = printer.findChild<QPushButton *>("printPages");
    ASSERT_TRUE(print);

    // The dialog's choice as it leaves it on the printer: a PDF file, pages 2 to 3.
    const auto toFile = [](const QString &path, bool range) {
        return [path, range](QDialog &d) {
            auto *dialog = qobject_cast<QPrintDialog *>(&d);
            EXPECT_TRUE(dialog);
            if (!dialog)
                return int(QDialog::Rejected);
            QPrinter *out = dialog->printer();
            out->setOutputFormat(QPrinter::PdfFormat);
            out->setOutputFileName(path);
            if (range) {
                out->setPrintRange(QPrinter::PageRange);
                out->setFromTo(2, 3);
            }
            return int(QDialog::Accepted);
        };
    };
    const QString good = dir.filePath("good.pdf");
    dialogs.then([](QDialog &) { return int(QDialog::Rejected); });
    dialogs.then(toFile(dir.filePath("missing/out.pdf"), false));
    dialogs.then(toFile(good, true));
    for (int i = 0; i < 3; ++i)
        print->click();
    EXPECT_TRUE(dialogs.done());
    EXPECT_EQ(dialogs.shown(), QStringList({"printDialog", "printDialog", "printDialog"}));
    ASSERT_EQ(boxes.count(), 1);
    EXPECT_EQ(boxes.texts().first(), "Cannot print to " + dir.filePath("missing/out.pdf"));
    EXPECT_EQ(pdfPageCount(good), 2);
}
