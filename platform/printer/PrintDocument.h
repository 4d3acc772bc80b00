#pragma once

#include <QByteArray>
#include <QColor>
#include <QFont>
#include <QImage>
#include <QList>
#include <QRect>
#include <QString>

#include <optional>

// The document of the printer control, its pages, and the writers of its export files.
namespace platform::printer {

struct TableCell
{
    QString text;
    QColor back; // invalid: none
    QColor fore; // invalid: black
    std::optional<QFont> font;
    bool data = false; // in the data area: numbers align right
};

struct TableBlock
{
    int rows = 0;
    int cols = 0;
    QList<int> widths; // twips per column; 0: the natural width
    QList<int> setting31;
    QList<TableCell> cells; // row by row
    // The header rows and columns: those above and left of the data area (none without one).
    // A table wider than the page repeats them with each band of columns, and its header rows
    // head each page it runs on.
    int headerRows = 0;
    int headerCols = 0;

    TableCell &cell(int row, int col) { return cells[row * cols + col]; }
    const TableCell &cell(int row, int col) const { return cells[row * cols + col]; }
    void resize(int newRows, int newCols);
    // headerRows and headerCols from the cells marked as data.
    void findHeaders();
};

struct Block
{
    enum Kind { Paragraph, Table, Picture, PageBreak, RawText };
    Kind kind = Paragraph;
    QString text; // paragraph text, raw export text
    double fontSize = 10;
    int setting108 = 0;
    TableBlock table;
    QImage picture;
    QRect place; // a picture's position and size in twips
};

struct PrintDocument
{
    QList<Block> blocks;
};

// What a page shows: pieces of blocks at places in twips from the page's top left corner.
// A table's row shows its first `repeated` columns, then the columns from `from` to before
// `to` (its band).
struct PageItem
{
    int block = 0;
    int row = -1; // a table's row; -1 for other blocks
    QRect place;
    int repeated = 0;
    int from = 0;
    int to = 0;
};

// A table's columns cut into bands that each fit `available` twips. When the header columns
// and the widest other column fit together, each band repeats the header columns (`repeated`
// is the header column count) and the bands share out the other columns; otherwise the bands
// share out all columns and none is repeated. Every column is in exactly one band, in order;
// a column wider than `available` makes a band of its own. A table that fits is one band.
struct ColumnBand
{
    int from = 0;
    int to = 0; // one past the band's last column
};
struct ColumnBands
{
    int repeated = 0;
    QList<ColumnBand> bands;
};
ColumnBands columnBands(const QList<int> &widths, int headerCols, int available);
// The columns one band of `cut` shows, in order: the repeated columns, then its own.
QList<int> bandColumns(const ColumnBands &cut, const ColumnBand &band);

struct Page
{
    QList<PageItem> items;
};

// The text of a paragraph in twips: the font and the line height the layout uses.
QFont paragraphFont(double points);
int lineHeight(const QFont &font);
int textWidth(const QFont &font, const QString &text);
// A table's column widths, each at least as wide as its widest cell when given as 0.
QList<int> columnWidths(const TableBlock &table);
int rowHeight(const TableBlock &table, int row);

// The writers. Raw texts are copied as they stand; pictures drawn on pages are page matter and
// reach an export only through raw texts. Both end lines with CR LF.
QByteArray htmlText(const PrintDocument &doc, const QString &title);
QByteArray rtfText(const PrintDocument &doc, int pageWidth, int pageHeight, int marginLeft,
                   int marginRight, int marginTop, int marginBottom);

// RTF text escaped for a document: "\", "{" and "}" with a backslash, characters beyond ASCII
// as "\uN?" (N the signed 16-bit code unit), CR and LF dropped.
QString rtfEscape(const QString &text);
// A JPEG picture as an RTF picture group: its size in twips and the file's bytes in hex.
QString rtfPicture(const QByteArray &jpeg, const QSize &pixels, int widthTwips, int heightTwips);

} // namespace platform::printer
