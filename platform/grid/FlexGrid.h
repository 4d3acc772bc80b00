#pragma once

#include "platform/grid/AxisLayout.h"
#include "platform/grid/CellStyle.h"
#include "platform/grid/GridModel.h"
#include "platform/grid/TextWidths.h"

#include <QAbstractScrollArea>
#include <QFont>
#include <QString>
#include <QVariant>

class QPainter;

namespace platform::grid {

// The flex grid: rows and columns of text cells, the first fixedRows() rows and fixedCols()
// columns frozen in place while the rest scrolls under them, with merged fixed cells, column
// formats, per-cell looks and grid lines. The content lives in a GridModel (flat arrays); the
// grid paints only the cells in view, straight from the model.
//
// Members are those the callers reach by dispatch id; each carries its id. Rows and columns are
// 0-based and count the fixed ones. Lengths are twips. Colours are OLE colours (0x00BBGGRR); in
// a cell's own colours 0 means "none of its own", so black is written as 1.
//
// Errors: a row or column outside the grid throws platform::Error("Subscript out of range") from
// every member that names a single row, column or cell, and from the current-cell members when
// there is no current cell (a grid without rows or columns). A cell range (cell(), setCell())
// covers its part inside the grid and nothing when its end lies before its start, so ranges that
// end at row -1 of an empty grid do nothing. An invalid value (a style outside 0-13, an
// appearance outside 0-2, a negative count) throws platform::Error("Invalid ...").
//
// Merging: equal neighbouring fixed cells merge where the row's (id 122) or the column's
// (id 123) merge flag is set, never across the edge of the fixed part, and only within the band
// of the outer header: a caption merges with its right neighbour only when the captions above
// both are merged too (from row 1 down: row 0 holds the dimension titles, which do not split the
// captions below them), and with the one below only when the captions left of both are merged
// too (MergeBands.h). Value cells never merge.
//
// Column formats (id 156) apply to the value cells (outside the fixed rows and columns) whose
// text is numeric; textMatrix() keeps the text as set, TextDisplay gives it as shown.
//
// Visible (0x80010007) and Enabled (0x8001000D) are QWidget's own.
//
// Redraw (id 31): while off, changes (and scrolling) paint nothing and the model emits no
// dataChanged; turning it on paints once. Qt may still paint the grid while it is off (when it
// is uncovered); it then shows the content as it is.
//
// Mouse: a press on a cell makes it current (Shift or a drag extends the selection to RowSel,
// ColSel); a press, release or double click anywhere on the grid sets mouseRow() and mouseCol()
// to the cell under the pointer, each -1 when the pointer lies beyond the last row or column (a
// click below the last row gives mouseRow() -1 and the column under the pointer). clicked() is
// emitted when the left button is released over the grid after a press on it, also outside the
// cells; doubleClicked() on a double click. Keys: keyDown() for every press (auto-repeat too),
// keyUp() for the release that ends it, both with the runtime's key codes (KeyCodes.h); the
// arrows, Page Up, Page Down, Home and End then move the current cell over the scrolling cells.
class FlexGrid : public QAbstractScrollArea
{
    Q_OBJECT

public:
    explicit FlexGrid(QWidget *parent = nullptr);
    ~FlexGrid() override;

    GridModel *model() const { return m_model; }

    // --- Size -----------------------------------------------------------------------------
    int rows() const;                 // id 7
    void setRows(int rows);           // id 7
    int cols() const;                 // id 8
    void setCols(int cols);           // id 8
    int fixedRows() const;            // id 11
    void setFixedRows(int fixedRows); // id 11
    int fixedCols() const;            // id 12
    void setFixedCols(int fixedCols); // id 12

    // --- Texts ----------------------------------------------------------------------------
    QString textMatrix(int row, int col) const;                // id 130
    void setTextMatrix(int row, int col, const QString &text); // id 130
    void clear();                                              // id 131: texts and looks
    // The text of a range for the clipboard: tabs between cells, CR LF between rows (also
    // cell(CellSetting::Text, range)). displayed: the texts as shown.
    QString rangeText(int row1, int col1, int row2, int col2, bool displayed = false) const;

    // --- Cell ranges (id 158) -------------------------------------------------------------
    // Reading a single cell or a range: Text and TextDisplay of a range give its range text,
    // any other setting the value of its first cell inside the grid (an invalid QVariant when
    // the range covers no cell). Setting a range sets every cell of it; TextDisplay is read
    // only. Colours are int, FontName QString, FontSize double (points), the flags bool, Font
    // a QFont (name, size, bold, italic, underline and strikethrough at once).
    QVariant cell(CellSetting setting, int row, int col) const; // id 158
    QVariant cell(CellSetting setting, int row1, int col1, int row2, int col2) const;
    void setCell(CellSetting setting, int row, int col, const QVariant &value); // id 158
    void setCell(CellSetting setting, int row1, int col1, int row2, int col2,
                 const QVariant &value);

    // --- Current cell and selection -------------------------------------------------------
    // Setting Row or Col also moves RowSel or ColSel there; both are -1 in a grid without
    // rows or columns.
    int row() const { return m_row; } // id 17
    void setRow(int row);             // id 17
    int col() const { return m_col; } // id 18
    void setCol(int col);             // id 18
    int rowSel() const { return m_rowSel; }
    void setRowSel(int row);
    int colSel() const { return m_colSel; }
    void setColSel(int col);
    QString text() const;              // id 0: text of the current cell
    void setText(const QString &text); // id 0

    // The current cell's look (the cell only, not the selection). Colours read 0 when the cell
    // has none of its own; font members read the font the cell is drawn with.
    int cellBackColor() const;                 // id 45
    void setCellBackColor(int color);          // id 45
    int cellForeColor() const;                 // id 46
    void setCellForeColor(int color);          // id 46
    QString cellFontName() const;              // id 51
    void setCellFontName(const QString &name); // id 51
    double cellFontSize() const;               // id 52
    void setCellFontSize(double points);       // id 52
    bool cellFontBold() const;                 // id 53
    void setCellFontBold(bool bold);           // id 53
    bool cellFontItalic() const;               // id 54
    void setCellFontItalic(bool italic);       // id 54
    bool cellFontUnderline() const;            // id 56
    void setCellFontUnderline(bool underline); // id 56
    bool cellFontStrikeThrough() const;        // by name "CellFontStrikeThrough"
    void setCellFontStrikeThrough(bool strikeThrough);
    // Settings of the current cell whose meaning the callers do not give: kept per cell and
    // read back as set (True is -1). They change nothing in how the cell is drawn.
    int cellSetting28() const;        // id 28 (True on a dimension-title cell)
    void setCellSetting28(int value); // id 28
    int cellSetting47() const;        // id 47 (6 on each value cell)
    void setCellSetting47(int value); // id 47

    // --- Mouse ----------------------------------------------------------------------------
    int mouseRow() const { return m_mouseRow; } // id 33
    int mouseCol() const { return m_mouseCol; } // id 34
    // The keyboard modifiers held at the last press, release or double click on the grid,
    // whichever widget had the keys then.
    Qt::KeyboardModifiers mouseModifiers() const { return m_mouseModifiers; }

    // --- Rows and columns -----------------------------------------------------------------
    int colWidth(int col) const;                        // id 120 (twips)
    void setColWidth(int col, int twips);               // id 120; -1: the default width
    int rowHeight(int row) const;                       // id 121 (twips)
    void setRowHeight(int row, int twips);              // id 121; -1: the default height; 0 hides
    bool mergeRow(int row) const;                       // id 122
    void setMergeRow(int row, bool merge);              // id 122
    bool mergeCol(int col) const;                       // id 123
    void setMergeCol(int col, bool merge);              // id 123
    bool isSubtotal(int row) const;                     // id 134
    void setIsSubtotal(int row, bool subtotal);         // id 134
    int rowOutlineLevel(int row) const;                 // id 166
    void setRowOutlineLevel(int row, int level);        // id 166
    QString colFormat(int col) const;                   // id 156
    void setColFormat(int col, const QString &pattern); // id 156: runtime Format() pattern
    // Per-column settings whose meaning the callers do not give (119 is 1 on header columns and
    // printing copies it; 138 is 1 on every column): kept and read back as set.
    int colSetting119(int col) const;          // id 119
    void setColSetting119(int col, int value); // id 119
    int colSetting138(int col) const;          // id 138
    void setColSetting138(int col, int value); // id 138
    // Fits the columns col1 to col2 (col1 alone when col2 is -1) to the widest text they show,
    // over every row that is not hidden, each in its own font. A column without any text keeps
    // its width.
    void autoSize(int col1, int col2 = -1); // id 147

    // --- The grid's look ------------------------------------------------------------------
    // The grid's font (id -512) is the widget's: QWidget::font() and setFont().
    QString fontName() const;                               // id 1
    void setFontName(const QString &name);                  // id 1
    double fontSize() const;                                // id 2 (points)
    void setFontSize(double points);                        // id 2
    int backColor() const;                                  // id -501: value cells
    void setBackColor(int color);                           // id -501
    int foreColor() const;                                  // id -513
    void setForeColor(int color);                           // id -513
    int backColorFixed() const;                             // id 20
    void setBackColorFixed(int color);                      // id 20
    int foreColorFixed() const;                             // id 21
    void setForeColorFixed(int color);                      // id 21
    bool wordWrap() const { return m_wordWrap; }            // id 25
    void setWordWrap(bool wrap);                            // id 25
    bool redraw() const { return m_redraw; }                // id 31
    void setRedraw(bool redraw);                            // id 31
    int gridLines() const { return m_gridLines; }           // id 41: value cells, styles 0-13
    void setGridLines(int style);                           // id 41 (GridLines.h)
    int gridLinesFixed() const { return m_gridLinesFixed; } // id 42: fixed cells
    void setGridLinesFixed(int style);                      // id 42
    int gridColor() const { return m_gridColor; }           // id 43: value cells
    void setGridColor(int color);                           // id 43
    int gridColorFixed() const { return m_gridColorFixed; } // id 44
    void setGridColorFixed(int color);                      // id 44
    int gridLineWidth() const { return m_gridLineWidth; }   // id 84 (pixels)
    void setGridLineWidth(int pixels);                      // id 84; taken into 1 to 10
    // 0 flat (a plain line around the grid), 1 3-D (a sunken double frame), 2 light 3-D (a
    // sunken single frame).
    int appearance() const { return m_appearance; } // id -520
    void setAppearance(int appearance);             // id -520
    void refresh();                                 // id -550: paints now (when redraw is on)

    // --- Geometry (viewport pixels), for callers and tests -------------------------------
    // The cell under a point of the viewport, each -1 beyond the last row or column.
    int rowAt(int y) const;
    int colAt(int x) const;
    // Where a cell is drawn in the viewport (its merged block for a merged cell).
    QRect cellRect(int row, int col) const;

signals:
    void clicked();
    void doubleClicked();
    void keyDown(int keyCode, int shift);
    void keyUp(int keyCode, int shift);

protected:
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;

private:
    struct Region;

    void applyAppearance(int appearance);
    void checkCurrent() const;
    template <typename Change>
    void changeCurrent(Change &&change);
    const CellStyle &currentStyle() const;

    void contentChanged();
    void sizesChanged();
    void modelWasReset();
    void normalizeCurrent();
    void repaintIfDrawing();

    void ensureLayout() const;
    void updateScrollBars() const;
    int defaultRowHeight() const;
    int defaultColWidth() const;
    int rowY(int row) const;
    int colX(int col) const;
    void trackMouse(const QPoint &position);
    void moveCurrent(int row, int col, bool extend);
    void ensureVisible(int row, int col);

    void paintRegion(QPainter &painter, const Region &region, const QRect &exposed) const;
    void paintCell(QPainter &painter, int row, int col, const QRect &rect,
                   const QRect &visible) const;
    void paintLines(QPainter &painter, const QRect &rect, int lastRow, int lastCol, bool fixed,
                    const QColor &back) const;
    bool isSelected(int row, int col) const;

    GridModel *m_model;
    mutable AxisLayout m_rowLayout;
    mutable AxisLayout m_colLayout;
    mutable bool m_layoutDirty = true;
    TextWidths m_widths;

    int m_row = -1;
    int m_col = -1;
    int m_rowSel = -1;
    int m_colSel = -1;
    int m_mouseRow = -1;
    int m_mouseCol = -1;
    Qt::KeyboardModifiers m_mouseModifiers;
    bool m_pressed = false;
    bool m_dragging = false;

    bool m_redraw = true;
    bool m_wordWrap = false;
    int m_gridLines = 1;
    int m_gridLinesFixed = 1;
    int m_gridColor = 0xC0C0C0;
    int m_gridColorFixed = 0x808080;
    int m_gridLineWidth = 1;
    int m_appearance = 1;
};

} // namespace platform::grid
