#pragma once

#include "platform/printer/PrintDocument.h"

#include <QPointer>
#include <QWidget>

class QPagedPaintDevice;
class QPainter;
class QPrinter;
class QPrintPreviewWidget;
class QLabel;
class QPushButton;

namespace platform::printer {

// The printer control: builds one document at a time (startDoc ... endDoc) from paragraphs,
// tables, pictures and page breaks, lays it out on pages as it grows (so the current vertical
// position can be read at any time), and when the document ends either writes it to the export
// file as HTML or RTF, or (in preview mode) shows it in the preview with page navigation and
// zoom. Lengths are twips; the numbers after the members are the dispatch ids they serve.
class Printer : public QWidget
{
    Q_OBJECT

public:
    enum ExportFormat { Html = 0, Rtf = 4 };

    explicit Printer(QWidget *parent = nullptr);
    ~Printer() override;

    // --- Text -------------------------------------------------------------------------------
    void setText(const QString &text); // 0: the next paragraph
    double fontSize() const { return m_fontSize; }
    void setFontSize(double points) { m_fontSize = points; } // 3
    // 9 and 91 are kept as given; their values change nothing in the document.
    void setSetting9(int value) { m_setting9 = value; }
    void setSetting91(int value) { m_setting91 = value; }
    // 108: 1 keeps the paragraphs and tables that follow at their natural width, 0 lets tables
    // take their columns' widths as given; both print the same here and are recorded per block.
    void setSetting108(int value) { m_setting108 = value; }

    // --- Page --------------------------------------------------------------------------------
    int pageWidth() const { return m_pageWidth; }   // 31
    int pageHeight() const { return m_pageHeight; } // 32
    void setPageSize(int widthTwips, int heightTwips);
    // Margins are set as a length text ("0.5in", "2cm", "720" twips) and read as twips. A text
    // that is no length is an error.
    int marginLeft() const { return m_margins.left; }     // 49
    int marginTop() const { return m_margins.top; }       // 50
    int marginRight() const { return m_margins.right; }   // 51
    int marginBottom() const { return m_margins.bottom; } // 52
    void setMarginLeft(const QString &length) { m_margins.left = twipsOf(length); }
    void setMarginTop(const QString &length) { m_margins.top = twipsOf(length); }
    void setMarginRight(const QString &length) { m_margins.right = twipsOf(length); }
    void setMarginBottom(const QString &length) { m_margins.bottom = twipsOf(length); }
    int indentLeft() const { return m_indentLeft; } // 53
    void setIndentLeft(int twips) { m_indentLeft = twips; }
    // 61 and 62: the space kept free above and below a drawn picture; 0 unless set.
    int spaceBefore() const { return m_spaceBefore; } // 61
    int spaceAfter() const { return m_spaceAfter; }   // 62
    void setSpaceBefore(int twips) { m_spaceBefore = twips; }
    void setSpaceAfter(int twips) { m_spaceAfter = twips; }
    // The text area's left and right edges from the page's left edge.
    int textLeft() const { return m_margins.left; }                 // 77
    int textRight() const { return m_pageWidth - m_margins.right; } // 79
    // The current vertical position from the page's top edge.
    int currentY() const { return m_y; } // 107
    int pageCount() const { return int(m_pages.size()); }

    // --- Header and footer: "left|centre|right", "%d" for the page number -------------------
    QString header() const { return m_header; } // 94
    QString footer() const { return m_footer; } // 95
    void setHeader(const QString &text) { m_header = text; }
    void setFooter(const QString &text) { m_footer = text; }
    QString headerFontName() const { return m_headerFont.family(); }      // 97
    double headerFontSize() const { return m_headerFont.pointSizeF(); }   // 98
    bool headerFontBold() const { return m_headerFont.bold(); }           // 99
    bool headerFontItalic() const { return m_headerFont.italic(); }       // 100
    bool headerFontUnderline() const { return m_headerFont.underline(); } // 102
    void setHeaderFontName(const QString &name) { m_headerFont.setFamily(name); }
    void setHeaderFontSize(double points) { m_headerFont.setPointSizeF(points); }
    void setHeaderFontBold(bool on) { m_headerFont.setBold(on); }
    void setHeaderFontItalic(bool on) { m_headerFont.setItalic(on); }
    void setHeaderFontUnderline(bool on) { m_headerFont.setUnderline(on); }

    // --- Document ----------------------------------------------------------------------------
    void startDoc(); // 65: clears the document; the page set-up stays
    void endDoc();   // 66: writes the export file, or shows the preview
    void newPage();  // 68
    // 87: draws the picture with its top left corner at (x, y) and the given size; the current
    // position moves below it.
    void drawPicture(const QImage &picture, int x, int y, int widthTwips, int heightTwips);
    // 165: marks the place where raw export text follows; nothing else.
    void beginRawText() {}
    // 176: the text goes unchanged into the export file at the current place of the document.
    void insertRawText(const QString &text);

    // --- Tables (159, 160 and the settings of 161) ------------------------------------------
    void startTable();                                       // 159
    void endTable();                                         // 160
    void setTableRows(int rows);                             // 161 setting 1
    void setTableCols(int cols);                             // 161 setting 2
    void setColumnWidth(int col, int twips);                 // 161 setting 13, 1-based
    void setCellText(int row, int col, const QString &text); // 161 setting 18
    // Ranges are 1-based and inclusive; an empty or outside range is an error.
    void setDataArea(int row1, int col1, int row2, int col2, int value);       // setting 19
    void setCellBack(int row1, int col1, int row2, int col2, const QColor &c); // setting 20
    void setCellFore(int row1, int col1, int row2, int col2, const QColor &c); // setting 21
    void setCellFont(int row1, int col1, int row2, int col2, const QFont &f);  // setting 22
    void setColumnSetting31(int col, int value);                               // setting 31

    // --- Output ------------------------------------------------------------------------------
    bool preview() const { return m_preview; }
    void setPreview(bool on) { m_preview = on; }        // 126
    QString exportFile() const { return m_exportFile; } // 174
    void setExportFile(const QString &path) { m_exportFile = path; }
    int exportFormat() const { return m_exportFormat; } // 175
    void setExportFormat(int format) { m_exportFormat = format; }

    const PrintDocument &document() const { return m_doc; }
    // Paints every page on `device` (a QPrinter or QPdfWriter), one device page each.
    void render(QPagedPaintDevice &device) const;
    bool writePdf(const QString &path) const;
    // The platform's print dialog (a printer or a PDF file, the pages, the copies), then the
    // document on the printer chosen there. False when the dialog was cancelled; a printer
    // or file that cannot be written is an error.
    bool printWithDialog();
    // The pages `printer` asks for (all, its page ranges or the shown page), as many copies as
    // it asks for (collated or not) in its page order. Pages keep the document's page size.
    void print(QPrinter &printer) const;
    // The 1-based pages, in print order, of a print of `pageCount` pages: `ranges` empty for
    // all, `copies` times, collated (1 2 1 2) or not (1 1 2 2), last page first or not.
    static QList<int> printOrder(int pageCount, const QList<std::pair<int, int>> &ranges,
                                 int copies, bool collate, bool lastFirst);
    // The caption of the preview's print button.
    void setPrintText(const QString &text);
    // A picture of page `index` (0-based) at `dpi`.
    QImage pageImage(int index, double dpi) const;
    // 72 := 10: the shown page on the clipboard (a picture).
    void copyPage();
    QPrintPreviewWidget *previewWidget() const { return m_view; }
    int shownPage() const;

    // Twips of a length text: "0.5in", "2.54cm", "10mm", "12pt", or plain twips.
    static int twipsOf(const QString &length);

private:
    struct Margins
    {
        int left = 1440, top = 1440, right = 1440, bottom = 1440;
    };
    void add(Block block);
    void layOut(const Block &block, int index);
    void layOutTable(const TableBlock &table, int index, int left, int width);
    void startPage();
    int bottomLimit() const { return m_pageHeight - m_margins.bottom; }
    void showPreview();
    void paintPage(QPainter &painter, int index) const;
    void renderPages(QPagedPaintDevice &device, const QList<int> &pages) const;
    void printFromPreview();
    void requireTable() const;
    TableBlock &table();

    PrintDocument m_doc;
    QList<Page> m_pages;
    std::optional<TableBlock> m_table;
    Margins m_margins;
    QFont m_headerFont;
    QString m_header;
    QString m_footer;
    QString m_exportFile;
    int m_exportFormat = Html;
    int m_pageWidth = 12240; // letter, 8.5 x 11 in
    int m_pageHeight = 15840;
    int m_indentLeft = 0;
    int m_spaceBefore = 0;
    int m_spaceAfter = 0;
    int m_y = 1440;
    double m_fontSize = 10;
    int m_setting9 = 0;
    int m_setting91 = 0;
    int m_setting108 = 0;
    bool m_preview = false;
    bool m_open = false;
    QPrintPreviewWidget *m_view = nullptr;
    QLabel *m_pageLabel = nullptr;
    QPushButton *m_printButton = nullptr;
    QString m_printText = QStringLiteral("&Print...");
};

} // namespace platform::printer
