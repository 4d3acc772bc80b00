#pragma once

#include "platform/grid/CellStyle.h"
#include "platform/grid/CellText.h"
#include "platform/grid/MergeBands.h"

#include <QAbstractTableModel>
#include <QBrush>
#include <QFont>
#include <QString>

#include <array>
#include <vector>

namespace platform::grid {

// The content of a flex grid in flat arrays: one QString and one StyleId per cell, row by row,
// and one record per row and per column. No object per cell, so 100 000 x 20 cells stay light.
//
// Rows and columns are 0-based and include the fixed ones. The checked accessors throw
// platform::Error("Subscript out of range") for a row or column outside the grid; a range
// (setStyles, rangeText) covers only its part inside the grid, and a range whose end lies before
// its start covers no cell.
//
// While deferred (the grid's redraw is off) changes of texts, looks and sizes emit nothing; the
// first call of setDeferred(false) after them emits one dataChanged over the whole grid and one
// sizesChanged. Changes of the number of rows or columns always emit a model reset.
class GridModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    struct RowInfo
    {
        int height = -1; // pixels; -1: the grid's default height
        int outlineLevel = 0;
        bool merge = false;
        bool subtotal = false;
    };

    struct ColInfo
    {
        int width = -1; // pixels; -1: the grid's default width
        bool merge = false;
        int setting119 = 0;
        int setting138 = 0;
        ColumnFormat format;
    };

    explicit GridModel(QObject *parent = nullptr);

    // QAbstractItemModel. DisplayRole is the text as shown, EditRole the cell's own text;
    // FontRole, BackgroundRole, ForegroundRole and TextAlignmentRole give the cell's look.
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;

    // Size. Fewer rows or columns than fixed ones lower the fixed count; a negative count, or
    // more fixed rows or columns than there are, is an error.
    int rows() const { return m_rows; }
    int cols() const { return m_cols; }
    void setRows(int rows);
    void setCols(int cols);
    int fixedRows() const { return m_fixedRows; }
    int fixedCols() const { return m_fixedCols; }
    void setFixedRows(int fixedRows);
    void setFixedCols(int fixedCols);
    bool isFixed(int row, int col) const { return row < m_fixedRows || col < m_fixedCols; }

    // Whether (row, col) lies in the grid; check() throws when it does not.
    bool contains(int row, int col) const;
    void check(int row, int col) const;
    void checkRow(int row) const;
    void checkCol(int col) const;

    // Texts. text() and style() are unchecked and allocate nothing: for painting and loops.
    const QString &text(int row, int col) const { return m_texts[slot(row, col)]; }
    QString textChecked(int row, int col) const;
    void setText(int row, int col, const QString &text);
    void setTexts(int row1, int col1, int row2, int col2, const QString &text);
    // The text as shown: the column format applied to a numeric text outside the fixed cells.
    QString displayText(int row, int col) const;
    QString rangeText(int row1, int col1, int row2, int col2, bool displayed = false) const;
    // Numeric texts outside the fixed cells to the right, every other text to the left.
    Qt::Alignment alignment(int row, int col) const;

    // Looks.
    StyleId styleId(int row, int col) const { return m_styles[slot(row, col)]; }
    const CellStyle &style(int row, int col) const { return m_table.style(styleId(row, col)); }
    int styleCount() const { return m_table.size(); }
    // Applies change (a callable taking CellStyle &) to every cell of the range.
    template <typename Change>
    void setStyles(int row1, int col1, int row2, int col2, Change &&change);

    // The cell's effective font and colours (its own, else the grid's).
    const QFont &cellFont(StyleId id) const;
    const QFont &cellFont(int row, int col) const { return cellFont(styleId(row, col)); }
    int effectiveBackColor(int row, int col) const;
    int effectiveForeColor(int row, int col) const;

    // Empties every cell's text and look; sizes, flags and formats stay.
    void clear();

    // Rows and columns (unchecked: callers check first).
    const RowInfo &rowInfo(int row) const { return m_rowInfo[std::size_t(row)]; }
    const ColInfo &colInfo(int col) const { return m_colInfo[std::size_t(col)]; }
    void setRowHeight(int row, int pixels);
    void setColWidth(int col, int pixels);
    void setMergeRow(int row, bool merge);
    void setMergeCol(int col, bool merge);
    void setSubtotal(int row, bool subtotal);
    void setOutlineLevel(int row, int level);
    void setColSetting119(int col, int value);
    void setColSetting138(int col, int value);
    void setColFormat(int col, const QString &pattern);

    // The merged blocks of the fixed cells, worked out again after a change when next asked.
    const MergeBands &merges() const;

    // The grid's own font and colours, which cells without their own take. Fixed cells take
    // the fixed colours.
    const QFont &gridFont() const { return m_gridFont; }
    void setGridFont(const QFont &font);
    int backColor() const { return m_backColor; }
    int foreColor() const { return m_foreColor; }
    int backColorFixed() const { return m_backColorFixed; }
    int foreColorFixed() const { return m_foreColorFixed; }
    void setBackColor(int color);
    void setForeColor(int color);
    void setBackColorFixed(int color);
    void setForeColorFixed(int color);

    // The locale's separators, taken again here (before painting or measuring a column).
    void refreshNumberSymbols();

    bool isDeferred() const { return m_deferred; }
    void setDeferred(bool deferred);

signals:
    // Row heights, column widths or merges changed (not emitted while deferred).
    void sizesChanged();

private:
    qsizetype slot(int row, int col) const { return qsizetype(row) * m_cols + col; }
    StyleId internOrCompact(const CellStyle &style);
    void compactStyles();
    void invalidateLooks();
    void cellsChanged(int row1, int col1, int row2, int col2);
    void sizesTouched();
    void mergesTouched() { m_mergesDirty = true; }
    void textsTouched(int row1, int col1, int row2, int col2);
    bool clip(int &row1, int &col1, int &row2, int &col2) const;
    [[noreturn]] static void outOfRange();

    int m_rows = 0;
    int m_cols = 0;
    int m_fixedRows = 0;
    int m_fixedCols = 0;
    std::vector<QString> m_texts;
    std::vector<StyleId> m_styles;
    std::vector<RowInfo> m_rowInfo;
    std::vector<ColInfo> m_colInfo;
    StyleTable m_table;
    int m_compactions = 0;

    QFont m_gridFont;
    int m_backColor = 0xFFFFFF;
    int m_foreColor = 0x000000;
    int m_backColorFixed = 0xE6E6E6;
    int m_foreColorFixed = 0x000000;
    NumberSymbols m_symbols;

    mutable std::vector<QFont> m_fontCache; // per style id, filled when first asked
    mutable std::vector<bool> m_fontCached;
    mutable MergeBands m_merges;
    mutable bool m_mergesDirty = true;

    bool m_deferred = false;
    bool m_pendingData = false;
    bool m_pendingSizes = false;
};

template <typename Change>
void GridModel::setStyles(int row1, int col1, int row2, int col2, Change &&change)
{
    if (!clip(row1, col1, row2, col2))
        return;
    // Cells of a range mostly share a few looks: each distinct old look is changed and interned
    // once.
    struct Memo
    {
        StyleId from;
        StyleId to;
    };
    std::array<Memo, 16> memo;
    std::size_t memoSize = 0;
    std::size_t memoNext = 0;
    for (int r = row1; r <= row2; ++r) {
        for (int c = col1; c <= col2; ++c) {
            StyleId &cell = m_styles[std::size_t(slot(r, c))];
            std::size_t k = 0;
            while (k < memoSize && memo[k].from != cell)
                ++k;
            if (k < memoSize) {
                cell = memo[k].to;
                continue;
            }
            CellStyle style = m_table.style(cell);
            change(style);
            const int compactions = m_compactions;
            const StyleId to = internOrCompact(style);
            if (m_compactions != compactions) // the ids in the memo are stale
                memoSize = memoNext = 0;
            StyleId &again = m_styles[std::size_t(slot(r, c))];
            const Memo entry{again, to};
            again = to;
            if (memoSize < memo.size()) {
                memo[memoSize++] = entry;
            } else {
                memo[memoNext] = entry;
                memoNext = (memoNext + 1) % memo.size();
            }
        }
    }
    cellsChanged(row1, col1, row2, col2);
}

} // namespace platform::grid
