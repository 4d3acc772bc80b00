// A view of the sample cube wider than a page, made with the mouse (Product nested under Time,
// the axes swapped, Store moved onto the rows), printed from the preview through the print
// dialog into a PDF file and exported to HTML and RTF. Every dialog is shown for real and
// driven with the mouse and the keys. The PDF is read back page by page: no column may be
// missing, each page shows the row titles and the column headers, and the preview, the
// dialog's copies and the file agree on the pages.
#include "Control/core/PelmoraC02.h"
#include "Control/presentation/PreviewDialogs.h"
#include "platform/printer/Printer.h"
#include "tests/Control/core/GestureTestSupport.h"
#include "tests/support/PdfText.h"
#include "tests/support/ShownDialogs.h"
#include "tests/support/UserInput.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>

using gesturetest::clickCell;
using gesturetest::ctrlClickCell;
using platform::grid::CellSetting;
using platform::grid::FlexGrid;
using testing_support::clickOn;
using testing_support::pressKey;
using testing_support::whenShown;

namespace {

int rowWith(const FlexGrid &grid, const QString &text)
{
    for (int r = 0; r < grid.rows(); ++r) {
        if (grid.textMatrix(r, 0) == text)
            return r;
    }
    ADD_FAILURE() << "no row " << text.toStdString();
    return 0;
}

QPushButton *buttonWithText(QWidget &window, const QString &text)
{
    for (QPushButton *button : window.findChildren<QPushButton *>()) {
        if (button->text() == text && button->isVisible())
            return button;
    }
    ADD_FAILURE() << "no button " << text.toStdString();
    return nullptr;
}

void keepPicture(QWidget &window, const QString &name)
{
    QDir().mkpath(PELMORA_SCREENS_DIR);
    window.grab().save(QDir(PELMORA_SCREENS_DIR).filePath(name + ".png"));
}

// How often `text` stands in `haystack`.
qsizetype occurrences(const QString &haystack, const QString &text)
{
    return haystack.count(text);
}

class PrintWideView : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(registry.isValid() && dir.isValid());
        qputenv("PELMORA_REGISTRY", registry.path().toLocal8Bit());
        control.resize(1200, 900);
        control.openParams.OpenFile = PELMORA_SAMPLE_CUBE;
        control.show();
        ASSERT_TRUE(control.connState.connected);
        makeTheWideView();
    }

    void TearDown() override { qunsetenv("PELMORA_REGISTRY"); }

    void makeTheWideView()
    {
        FlexGrid &results = *control.grdResults;
        FlexGrid &titulos = *control.grdTitulos;
        // Product picked up from the titles and nested under Time with Ctrl.
        ASSERT_TRUE(clickCell(titulos, rowWith(titulos, "Product"), 0));
        ASSERT_TRUE(ctrlClickCell(results, results.fixedRows(), 0));
        // The corner swaps the axes: Time and Product on the columns.
        ASSERT_TRUE(clickCell(results, 0, 0));
        // Store picked up and dropped on the Measures row header.
        ASSERT_TRUE(clickCell(titulos, rowWith(titulos, "Store"), 0));
        ASSERT_TRUE(clickCell(results, results.fixedRows(), 0));
        ASSERT_EQ(boxes.texts(), QStringList());
        ASSERT_EQ(results.fixedCols(), 1);
        ASSERT_EQ(results.textMatrix(results.fixedRows() - 1, 0), "Store");
        ASSERT_EQ(results.textMatrix(0, 1), "Time");
        ASSERT_EQ(results.textMatrix(0, 2), "Product");
        ASSERT_GE(results.cols() - results.fixedCols(), 16);
    }

    // Each text of the data grid as it is printed, with the number of cells that show it.
    QHash<QString, int> gridTexts() const
    {
        QHash<QString, int> texts;
        const FlexGrid &grid = *control.grdResults;
        for (int r = 1; r < grid.rows(); ++r) {
            for (int c = 0; c < grid.cols(); ++c) {
                const QString text = grid.cell(CellSetting::TextDisplay, r, c).toString();
                if (!text.trimmed().isEmpty())
                    ++texts[text];
            }
        }
        return texts;
    }

    // Every text of the data grid is in `document` at least as often as in the grid.
    void expectEveryCellIn(const QString &document, const char *what) const
    {
        SCOPED_TRACE(what);
        const QHash<QString, int> texts = gridTexts();
        for (auto it = texts.cbegin(); it != texts.cend(); ++it)
            EXPECT_GE(occurrences(document, it.key()), it.value()) << it.key().toStdString();
    }

    QTemporaryDir registry;
    QTemporaryDir dir;
    testing_support::ScriptedMsgBox boxes;
    PelmoraC02 control;
};

// The print dialog set to a PDF file with the keys: the PDF entry of the printer list, the
// file name typed in, two copies; then Print.
void printToPdf(QWidget &dialog, const QString &pdf)
{
    auto *printers = dialog.findChild<QComboBox *>("printers");
    ASSERT_TRUE(printers);
    const int pdfEntry = printers->findText("PDF", Qt::MatchContains);
    ASSERT_GE(pdfEntry, 0);
    printers->setFocus();
    QTest::keyClick(printers, Qt::Key_Home);
    for (int i = 0; i < pdfEntry; ++i)
        QTest::keyClick(printers, Qt::Key_Down);
    ASSERT_EQ(printers->currentIndex(), pdfEntry);

    auto *file = dialog.findChild<QLineEdit *>("filename");
    ASSERT_TRUE(file);
    clickOn(file);
    QTest::keySequence(file, QKeySequence::SelectAll);
    QTest::keyClicks(file, pdf);
    ASSERT_EQ(file->text(), pdf);

    clickOn(buttonWithText(dialog, "&Options >>"));
    auto *copies = dialog.findChild<QSpinBox *>("copies");
    ASSERT_TRUE(copies && copies->isVisible());
    clickOn(copies);
    QTest::keySequence(copies, QKeySequence::SelectAll);
    QTest::keyClicks(copies, "2");
    ASSERT_EQ(copies->value(), 2);
    keepPicture(dialog, "print-dialog-to-pdf");
    clickOn(buttonWithText(dialog, "&Print"));
}

} // namespace

TEST_F(PrintWideView, PrintedFromThePreviewToPdfWithEveryColumn)
{
    const QString pdf = dir.filePath("wide view.pdf");
    int previewPages = 0;
    QString pageNumber;
    bool printed = false;
    whenShown([&](QWidget &options) {
        whenShown([&](QWidget &window) {
            auto &preview = static_cast<frmPreview &>(window);
            platform::printer::Printer *vp = preview.vp;
            previewPages = vp->pageCount();
            auto *label = vp->findChild<QLabel *>("pageNumber");
            if (label)
                pageNumber = label->text();
            auto *print = vp->findChild<QPushButton *>("printPages");
            ASSERT_TRUE(print);
            EXPECT_EQ(print->text(), "&Print...");
            keepPicture(preview, "preview-wide-view");
            whenShown([&](QWidget &dialog) { printToPdf(dialog, pdf); });
            clickOn(print); // returns once the dialog is closed and the pages are printed
            printed = QFile::exists(pdf);
            clickOn(preview.cmdAceptar);
        });
        pressKey(options, Qt::Key_Return);
    });
    EXPECT_TRUE(control.doAction("PRINTVIEW"));
    ASSERT_TRUE(printed);
    EXPECT_EQ(boxes.texts(), QStringList());

    // The preview and the file agree: more than one page, printed twice.
    ASSERT_GT(previewPages, 1);
    EXPECT_EQ(pageNumber, QStringLiteral("1 / %1").arg(previewPages));
    EXPECT_EQ(testing_support::pdfPageCount(pdf), 2 * previewPages);
    const QStringList pages = testing_support::pdfPageTexts(pdf);
    ASSERT_EQ(pages.size(), 2 * previewPages);
    for (int p = 0; p < previewPages; ++p)
        EXPECT_EQ(pages[p], pages[p + previewPages]) << "collated copies, page " << p + 1;

    // One copy holds every cell of the grid: every column with its headers.
    const QStringList copy = pages.mid(0, previewPages);
    expectEveryCellIn(copy.join(u'\n'), "the printed pages");
    // Each page shows the row titles and the column headers.
    const FlexGrid &grid = *control.grdResults;
    for (int p = 0; p < previewPages; ++p) {
        SCOPED_TRACE(p + 1);
        EXPECT_TRUE(copy[p].contains("Store")) << copy[p].toStdString();
        EXPECT_TRUE(copy[p].contains(grid.textMatrix(grid.fixedRows(), 0)));
        EXPECT_TRUE(copy[p].contains("Q") || copy[p].contains("1997"));
    }
    for (const char *quarter : {"Q1", "Q2", "Q3", "Q4"})
        EXPECT_TRUE(copy.join(QString()).contains(quarter)) << quarter;

    // The pages of one copy as pictures, beside the screens.
    QDir().mkpath(PELMORA_SCREENS_DIR);
    EXPECT_EQ(
        QProcess::execute("pdftoppm", {"-png", "-r", "60", "-l", QString::number(previewPages), pdf,
                                       PELMORA_SCREENS_DIR "/printed-wide-view"}),
        0);
}

TEST_F(PrintWideView, ExportedToHtmlAndRtfWithEveryColumn)
{
    struct Case
    {
        const char *file;
        const char *filter; // the file dialog's entry
    };
    for (const Case &c : {Case{"wide.htm", "HTML"}, Case{"wide.rtf", "RTF"}}) {
        SCOPED_TRACE(c.file);
        const QString path = dir.filePath(c.file);
        whenShown([&](QWidget &options) {
            whenShown([&](QWidget &window) {
                auto *files = qobject_cast<QFileDialog *>(&window);
                ASSERT_TRUE(files);
                const QStringList filters = files->nameFilters();
                const auto entry = std::find_if(filters.begin(), filters.end(), [&](auto &f) {
                    return f.startsWith(QLatin1String(c.filter));
                });
                ASSERT_NE(entry, filters.end());
                files->selectNameFilter(*entry);
                testing_support::typeInto(window, path);
                pressKey(window, Qt::Key_Return);
            });
            pressKey(options, Qt::Key_Return);
        });
        EXPECT_TRUE(control.doAction("EXPORTVIEW"));
        EXPECT_EQ(boxes.texts(), QStringList());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        const QString text = QString::fromLatin1(file.readAll());
        // HTML escapes "&", "<" and ">", RTF writes the sample's plain texts as they stand.
        expectEveryCellIn(text, c.file);
        if (QLatin1String(c.filter) == u"RTF") {
            // Each band of the RTF table fits between the margins.
            const int width = control.vpLocal->textRight() - control.vpLocal->textLeft();
            static const QRegularExpression cellx(QStringLiteral("\\\\cellx(\\d+)"));
            int widest = 0;
            for (auto it = cellx.globalMatch(text); it.hasNext();)
                widest = std::max(widest, it.next().captured(1).toInt());
            EXPECT_GT(widest, 0);
            EXPECT_LE(widest, width);
            EXPECT_GE(text.count("\\page"), 1);
        }
    }
}
