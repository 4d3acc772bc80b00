#include "platform/grid/GridModel.h"

#include "platform/grid/OleColor.h"
#include "platform/runtime/Error.h"
#include "platform/runtime/Numbers.h"

#include <new>

namespace platform::grid {

namespace {

[[noreturn]] void invalidValue(const char *what)
{
    throw Error(QStringLiteral("Invalid %1").arg(QLatin1String(what)));
}

// Reserves room for a new size first, so that running out of memory leaves the grid as it was
// and is reported as an error instead of ending the program.
template <typename Vector>
void reserveOrThrow(Vector &vector, qsizetype size)
{
    try {
        vector.reserve(std::size_t(size));
    } catch (const std::bad_alloc &) {
        throw Error(QStringLiteral("Out of memory"));
    } catch (const std::length_error &) {
        throw Error(QStringLiteral("Out of memory"));
    }
}

// A numeric text is aligned to the right, any other text to the left.
bool looksNumeric(const QString &text, const NumberSymbols &symbols)
{
    if (text.isEmpty())
        return false;
    if (plainNumber(text, symbols))
        return true;
    return mayBeNumeric(text) && runtime::isNumeric(text);
}

} // namespace

GridModel::GridModel(QObject *parent) : QAbstractTableModel(parent)
{
    m_symbols = NumberSymbols::current();
}

int GridModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_rows;
}

int GridModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : m_cols;
}

QVariant GridModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || !contains(index.row(), index.column()))
        return {};
    const int row = index.row();
    const int col = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return displayText(row, col);
    case Qt::EditRole:
        return text(row, col);
    case Qt::FontRole:
        return cellFont(row, col);
    case Qt::BackgroundRole:
        return oleToColor(effectiveBackColor(row, col));
    case Qt::ForegroundRole:
        return oleToColor(effectiveForeColor(row, col));
    case Qt::TextAlignmentRole:
        return int(alignment(row, col));
    default:
        return {};
    }
}

Qt::ItemFlags GridModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable;
}

void GridModel::outOfRange()
{
    throw Error(QStringLiteral("Subscript out of range"));
}

bool GridModel::contains(int row, int col) const
{
    return row >= 0 && row < m_rows && col >= 0 && col < m_cols;
}

void GridModel::check(int row, int col) const
{
    if (!contains(row, col))
        outOfRange();
}

void GridModel::checkRow(int row) const
{
    if (row < 0 || row >= m_rows)
        outOfRange();
}

void GridModel::checkCol(int col) const
{
    if (col < 0 || col >= m_cols)
        outOfRange();
}

bool GridModel::clip(int &row1, int &col1, int &row2, int &col2) const
{
    row1 = std::max(row1, 0);
    col1 = std::max(col1, 0);
    row2 = std::min(row2, m_rows - 1);
    col2 = std::min(col2, m_cols - 1);
    return row1 <= row2 && col1 <= col2;
}

void GridModel::setRows(int rows)
{
    if (rows < 0)
        invalidValue("number of rows");
    if (rows == m_rows)
        return;
    const qsizetype cells = qsizetype(rows) * m_cols;
    reserveOrThrow(m_texts, cells);
    reserveOrThrow(m_styles, cells);
    reserveOrThrow(m_rowInfo, rows);
    beginResetModel();
    m_texts.resize(std::size_t(cells));
    m_styles.resize(std::size_t(cells), 0);
    m_rowInfo.resize(std::size_t(rows));
    m_rows = rows;
    m_fixedRows = std::min(m_fixedRows, rows);
    m_mergesDirty = true;
    endResetModel();
}

void GridModel::setCols(int cols)
{
    if (cols < 0)
        invalidValue("number of columns");
    if (cols == m_cols)
        return;
    const qsizetype cells = qsizetype(m_rows) * cols;
    std::vector<QString> texts;
    std::vector<StyleId> styles;
    reserveOrThrow(texts, cells);
    reserveOrThrow(styles, cells);
    reserveOrThrow(m_colInfo, cols);
    beginResetModel();
    texts.resize(std::size_t(cells));
    styles.resize(std::size_t(cells), 0);
    const int kept = std::min(cols, m_cols);
    for (int r = 0; r < m_rows; ++r) {
        for (int c = 0; c < kept; ++c) {
            const auto to = std::size_t(qsizetype(r) * cols + c);
            texts[to] = std::move(m_texts[std::size_t(slot(r, c))]);
            styles[to] = m_styles[std::size_t(slot(r, c))];
        }
    }
    m_texts = std::move(texts);
    m_styles = std::move(styles);
    m_colInfo.resize(std::size_t(cols));
    m_cols = cols;
    m_fixedCols = std::min(m_fixedCols, cols);
    m_mergesDirty = true;
    endResetModel();
}

void GridModel::setFixedRows(int fixedRows)
{
    if (fixedRows < 0 || fixedRows > m_rows)
        invalidValue("number of fixed rows");
    if (fixedRows == m_fixedRows)
        return;
    m_fixedRows = fixedRows;
    mergesTouched();
    cellsChanged(0, 0, m_rows - 1, m_cols - 1);
    sizesTouched();
}

void GridModel::setFixedCols(int fixedCols)
{
    if (fixedCols < 0 || fixedCols > m_cols)
        invalidValue("number of fixed columns");
    if (fixedCols == m_fixedCols)
        return;
    m_fixedCols = fixedCols;
    mergesTouched();
    cellsChanged(0, 0, m_rows - 1, m_cols - 1);
    sizesTouched();
}

QString GridModel::textChecked(int row, int col) const
{
    check(row, col);
    return text(row, col);
}

void GridModel::setText(int row, int col, const QString &text)
{
    check(row, col);
    QString &cell = m_texts[std::size_t(slot(row, col))];
    if (cell == text)
        return;
    cell = text;
    textsTouched(row, col, row, col);
}

void GridModel::setTexts(int row1, int col1, int row2, int col2, const QString &text)
{
    if (!clip(row1, col1, row2, col2))
        return;
    for (int r = row1; r <= row2; ++r)
        for (int c = col1; c <= col2; ++c)
            m_texts[std::size_t(slot(r, c))] = text;
    textsTouched(row1, col1, row2, col2);
}

void GridModel::textsTouched(int row1, int col1, int row2, int col2)
{
    if (row1 < m_fixedRows || col1 < m_fixedCols)
        mergesTouched();
    cellsChanged(row1, col1, row2, col2);
}

QString GridModel::displayText(int row, int col) const
{
    const QString &own = text(row, col);
    if (isFixed(row, col))
        return own;
    const ColumnFormat &format = m_colInfo[std::size_t(col)].format;
    if (format.isEmpty())
        return own;
    return format.apply(own, m_symbols);
}

QString GridModel::rangeText(int row1, int col1, int row2, int col2, bool displayed) const
{
    if (!clip(row1, col1, row2, col2))
        return {};
    if (displayed)
        return grid::rangeText(row1, col1, row2, col2,
                               [this](int r, int c) { return displayText(r, c); });
    return grid::rangeText(row1, col1, row2, col2,
                           [this](int r, int c) -> const QString & { return text(r, c); });
}

Qt::Alignment GridModel::alignment(int row, int col) const
{
    const bool right = !isFixed(row, col) && looksNumeric(text(row, col), m_symbols);
    return (right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
}

StyleId GridModel::internOrCompact(const CellStyle &style)
{
    if (const auto id = m_table.intern(style))
        return *id;
    compactStyles();
    if (const auto id = m_table.intern(style))
        return *id;
    throw Error(QStringLiteral("Too many different cell formats"));
}

void GridModel::compactStyles()
{
    std::vector<bool> used(std::size_t(m_table.size()), false);
    for (const StyleId id : m_styles)
        used[id] = true;
    const std::vector<StyleId> map = m_table.compact(used);
    for (StyleId &id : m_styles)
        id = map[id];
    ++m_compactions;
    invalidateLooks();
}

void GridModel::invalidateLooks()
{
    m_fontCache.clear();
    m_fontCached.clear();
}

const QFont &GridModel::cellFont(StyleId id) const
{
    if (id == 0)
        return m_gridFont;
    if (m_fontCached.size() <= id) {
        m_fontCached.resize(std::size_t(m_table.size()), false);
        m_fontCache.resize(std::size_t(m_table.size()));
    }
    if (!m_fontCached[id]) {
        m_fontCache[id] = m_table.style(id).resolveFont(m_gridFont);
        m_fontCached[id] = true;
    }
    return m_fontCache[id];
}

int GridModel::effectiveBackColor(int row, int col) const
{
    const int own = style(row, col).backColor;
    if (own != 0)
        return own;
    return isFixed(row, col) ? m_backColorFixed : m_backColor;
}

int GridModel::effectiveForeColor(int row, int col) const
{
    const int own = style(row, col).foreColor;
    if (own != 0)
        return own;
    return isFixed(row, col) ? m_foreColorFixed : m_foreColor;
}

void GridModel::clear()
{
    std::fill(m_texts.begin(), m_texts.end(), QString());
    std::fill(m_styles.begin(), m_styles.end(), StyleId(0));
    m_table.reset();
    ++m_compactions;
    invalidateLooks();
    mergesTouched();
    cellsChanged(0, 0, m_rows - 1, m_cols - 1);
}

void GridModel::setRowHeight(int row, int pixels)
{
    checkRow(row);
    if (pixels < -1)
        invalidValue("row height");
    if (m_rowInfo[std::size_t(row)].height == pixels)
        return;
    m_rowInfo[std::size_t(row)].height = pixels;
    sizesTouched();
}

void GridModel::setColWidth(int col, int pixels)
{
    checkCol(col);
    if (pixels < -1)
        invalidValue("column width");
    if (m_colInfo[std::size_t(col)].width == pixels)
        return;
    m_colInfo[std::size_t(col)].width = pixels;
    sizesTouched();
}

void GridModel::setMergeRow(int row, bool merge)
{
    checkRow(row);
    if (m_rowInfo[std::size_t(row)].merge == merge)
        return;
    m_rowInfo[std::size_t(row)].merge = merge;
    mergesTouched();
    sizesTouched();
}

void GridModel::setMergeCol(int col, bool merge)
{
    checkCol(col);
    if (m_colInfo[std::size_t(col)].merge == merge)
        return;
    m_colInfo[std::size_t(col)].merge = merge;
    mergesTouched();
    sizesTouched();
}

void GridModel::setSubtotal(int row, bool subtotal)
{
    checkRow(row);
    m_rowInfo[std::size_t(row)].subtotal = subtotal;
}

void GridModel::setOutlineLevel(int row, int level)
{
    checkRow(row);
    m_rowInfo[std::size_t(row)].outlineLevel = level;
}

void GridModel::setColSetting119(int col, int value)
{
    checkCol(col);
    m_colInfo[std::size_t(col)].setting119 = value;
}

void GridModel::setColSetting138(int col, int value)
{
    checkCol(col);
    m_colInfo[std::size_t(col)].setting138 = value;
}

void GridModel::setColFormat(int col, const QString &pattern)
{
    checkCol(col);
    ColInfo &info = m_colInfo[std::size_t(col)];
    if (info.format.pattern() == pattern)
        return;
    info.format = ColumnFormat(pattern);
    refreshNumberSymbols();
    cellsChanged(0, col, m_rows - 1, col);
}

const MergeBands &GridModel::merges() const
{
    if (m_mergesDirty) {
        MergeBands::Layout layout;
        layout.rows = m_rows;
        layout.cols = m_cols;
        layout.fixedRows = m_fixedRows;
        layout.fixedCols = m_fixedCols;
        layout.mergeRow.resize(std::size_t(m_rows));
        for (int r = 0; r < m_rows; ++r)
            layout.mergeRow[std::size_t(r)] = m_rowInfo[std::size_t(r)].merge;
        layout.mergeCol.resize(std::size_t(m_cols));
        for (int c = 0; c < m_cols; ++c)
            layout.mergeCol[std::size_t(c)] = m_colInfo[std::size_t(c)].merge;
        m_merges.compute(layout, [this](int r, int c) -> const QString & { return text(r, c); });
        m_mergesDirty = false;
    }
    return m_merges;
}

void GridModel::setGridFont(const QFont &font)
{
    if (font == m_gridFont && font.resolveMask() == m_gridFont.resolveMask())
        return;
    m_gridFont = font;
    invalidateLooks();
    cellsChanged(0, 0, m_rows - 1, m_cols - 1);
    sizesTouched();
}

void GridModel::setBackColor(int color)
{
    m_backColor = color;
    cellsChanged(0, 0, m_rows - 1, m_cols - 1);
}

void GridModel::setForeColor(int color)
{
    m_foreColor = color;
    cellsChanged(0, 0, m_rows - 1, m_cols - 1);
}

void GridModel::setBackColorFixed(int color)
{
    m_backColorFixed = color;
    cellsChanged(0, 0, m_rows - 1, m_cols - 1);
}

void GridModel::setForeColorFixed(int color)
{
    m_foreColorFixed = color;
    cellsChanged(0, 0, m_rows - 1, m_cols - 1);
}

void GridModel::refreshNumberSymbols()
{
    m_symbols = NumberSymbols::current();
}

void GridModel::cellsChanged(int row1, int col1, int row2, int col2)
{
    if (!clip(row1, col1, row2, col2))
        return;
    if (m_deferred) {
        m_pendingData = true;
        return;
    }
    emit dataChanged(index(row1, col1), index(row2, col2));
}

void GridModel::sizesTouched()
{
    if (m_deferred) {
        m_pendingSizes = true;
        return;
    }
    emit sizesChanged();
}

void GridModel::setDeferred(bool deferred)
{
    m_deferred = deferred;
    if (deferred)
        return;
    if (m_pendingData) {
        m_pendingData = false;
        if (m_rows > 0 && m_cols > 0)
            emit dataChanged(index(0, 0), index(m_rows - 1, m_cols - 1));
    }
    if (m_pendingSizes) {
        m_pendingSizes = false;
        emit sizesChanged();
    }
}

} // namespace platform::grid
