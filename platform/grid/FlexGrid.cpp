#include "platform/grid/FlexGrid.h"

#include "platform/forms/ScreenTwips.h"
#include "platform/grid/GridLines.h"
#include "platform/grid/KeyCodes.h"
#include "platform/grid/OleColor.h"
#include "platform/runtime/Error.h"

#include <QFontMetrics>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include <algorithm>
#include <cmath>
#include <limits>

namespace platform::grid {

namespace {

constexpr int TextMargin = 3;    // pixels left and right of a cell's text
constexpr int RowTextMargin = 2; // pixels above and below a line of text
constexpr int DefaultColChars = 10;
constexpr int MaxGridLineWidth = 10;

int toInt(qint64 value)
{
    return int(std::clamp<qint64>(value, std::numeric_limits<int>::min() / 2,
                                  std::numeric_limits<int>::max() / 2));
}

[[noreturn]] void invalid(const char *what)
{
    throw Error(QStringLiteral("Invalid %1").arg(QLatin1String(what)));
}

int colorOf(const QVariant &value)
{
    bool ok = false;
    const qint64 number = value.toLongLong(&ok);
    if (!ok)
        throw Error(QStringLiteral("Type mismatch"));
    return static_cast<int>(static_cast<quint32>(number));
}

double pointsOf(double points)
{
    if (!(points > 0) || !std::isfinite(points))
        invalid("font size");
    return points;
}

} // namespace

// A part of the viewport and the rows and columns it shows: the fixed corner, the fixed rows
// (scrolling sideways), the fixed columns (scrolling up and down) and the scrolling cells.
struct FlexGrid::Region
{
    QRect rect;
    int rowBegin;
    int rowEnd;
    int colBegin;
    int colEnd;
    bool rowsScroll;
    bool colsScroll;
    bool fixed() const { return !(rowsScroll && colsScroll); }
};

FlexGrid::FlexGrid(QWidget *parent) : QAbstractScrollArea(parent), m_model(new GridModel(this))
{
    setFocusPolicy(Qt::StrongFocus);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    applyAppearance(m_appearance);
    m_model->setGridFont(font());
    connect(m_model, &GridModel::dataChanged, this, &FlexGrid::contentChanged);
    connect(m_model, &GridModel::sizesChanged, this, &FlexGrid::sizesChanged);
    connect(m_model, &GridModel::modelReset, this, &FlexGrid::modelWasReset);
}

FlexGrid::~FlexGrid() = default;

// --- Size ---------------------------------------------------------------------------------

int FlexGrid::rows() const
{
    return m_model->rows();
}

void FlexGrid::setRows(int rows)
{
    m_model->setRows(rows);
}

int FlexGrid::cols() const
{
    return m_model->cols();
}

void FlexGrid::setCols(int cols)
{
    m_model->setCols(cols);
}

int FlexGrid::fixedRows() const
{
    return m_model->fixedRows();
}

void FlexGrid::setFixedRows(int fixedRows)
{
    m_model->setFixedRows(fixedRows);
}

int FlexGrid::fixedCols() const
{
    return m_model->fixedCols();
}

void FlexGrid::setFixedCols(int fixedCols)
{
    m_model->setFixedCols(fixedCols);
}

// --- Texts --------------------------------------------------------------------------------

QString FlexGrid::textMatrix(int row, int col) const
{
    return m_model->textChecked(row, col);
}

void FlexGrid::setTextMatrix(int row, int col, const QString &text)
{
    m_model->setText(row, col, text);
}

void FlexGrid::clear()
{
    m_model->clear();
}

QString FlexGrid::rangeText(int row1, int col1, int row2, int col2, bool displayed) const
{
    if (displayed)
        m_model->refreshNumberSymbols();
    return m_model->rangeText(row1, col1, row2, col2, displayed);
}

// --- Cell ranges --------------------------------------------------------------------------

QVariant FlexGrid::cell(CellSetting setting, int row, int col) const
{
    m_model->check(row, col);
    const CellStyle &style = m_model->style(row, col);
    const QFont &font = m_model->cellFont(row, col);
    switch (setting) {
    case CellSetting::Text:
        return m_model->text(row, col);
    case CellSetting::BackColor:
        return style.backColor;
    case CellSetting::ForeColor:
        return style.foreColor;
    case CellSetting::Font:
        return font;
    case CellSetting::FontName:
        return font.family();
    case CellSetting::FontSize:
        return font.pointSizeF();
    case CellSetting::FontBold:
        return font.bold();
    case CellSetting::FontItalic:
        return font.italic();
    case CellSetting::FontUnderline:
        return font.underline();
    case CellSetting::FontStrikethrough:
        return font.strikeOut();
    case CellSetting::TextDisplay:
        m_model->refreshNumberSymbols();
        return m_model->displayText(row, col);
    }
    invalid("cell setting");
}

QVariant FlexGrid::cell(CellSetting setting, int row1, int col1, int row2, int col2) const
{
    if (setting == CellSetting::Text || setting == CellSetting::TextDisplay)
        return rangeText(row1, col1, row2, col2, setting == CellSetting::TextDisplay);
    row1 = std::max(row1, 0);
    col1 = std::max(col1, 0);
    if (row1 > std::min(row2, rows() - 1) || col1 > std::min(col2, cols() - 1))
        return {};
    return cell(setting, row1, col1);
}

void FlexGrid::setCell(CellSetting setting, int row, int col, const QVariant &value)
{
    m_model->check(row, col);
    setCell(setting, row, col, row, col, value);
}

void FlexGrid::setCell(CellSetting setting, int row1, int col1, int row2, int col2,
                       const QVariant &value)
{
    auto flag = [&value](qint8 CellStyle::*member) {
        const qint8 on = value.toBool() ? 1 : 0;
        return [member, on](CellStyle &style) { style.*member = on; };
    };
    switch (setting) {
    case CellSetting::Text:
        m_model->setTexts(row1, col1, row2, col2, value.toString());
        return;
    case CellSetting::BackColor: {
        const int color = colorOf(value);
        m_model->setStyles(row1, col1, row2, col2,
                           [color](CellStyle &style) { style.backColor = color; });
        return;
    }
    case CellSetting::ForeColor: {
        const int color = colorOf(value);
        m_model->setStyles(row1, col1, row2, col2,
                           [color](CellStyle &style) { style.foreColor = color; });
        return;
    }
    case CellSetting::Font: {
        if (!value.canConvert<QFont>())
            throw Error(QStringLiteral("Type mismatch"));
        const QFont font = qvariant_cast<QFont>(value);
        m_model->setStyles(row1, col1, row2, col2, [&font](CellStyle &style) {
            style.fontName = font.family();
            style.fontSize = font.pointSizeF() > 0 ? font.pointSizeF() : 0;
            style.bold = font.bold() ? 1 : 0;
            style.italic = font.italic() ? 1 : 0;
            style.underline = font.underline() ? 1 : 0;
            style.strikethrough = font.strikeOut() ? 1 : 0;
        });
        return;
    }
    case CellSetting::FontName: {
        const QString name = value.toString();
        m_model->setStyles(row1, col1, row2, col2,
                           [&name](CellStyle &style) { style.fontName = name; });
        return;
    }
    case CellSetting::FontSize: {
        bool ok = false;
        const double points = value.toDouble(&ok);
        if (!ok)
            throw Error(QStringLiteral("Type mismatch"));
        pointsOf(points);
        m_model->setStyles(row1, col1, row2, col2,
                           [points](CellStyle &style) { style.fontSize = points; });
        return;
    }
    case CellSetting::FontBold:
        m_model->setStyles(row1, col1, row2, col2, flag(&CellStyle::bold));
        return;
    case CellSetting::FontItalic:
        m_model->setStyles(row1, col1, row2, col2, flag(&CellStyle::italic));
        return;
    case CellSetting::FontUnderline:
        m_model->setStyles(row1, col1, row2, col2, flag(&CellStyle::underline));
        return;
    case CellSetting::FontStrikethrough:
        m_model->setStyles(row1, col1, row2, col2, flag(&CellStyle::strikethrough));
        return;
    case CellSetting::TextDisplay:
        throw Error(QStringLiteral("The displayed text is read only"));
    }
    invalid("cell setting");
}

// --- Current cell -------------------------------------------------------------------------

void FlexGrid::setRow(int row)
{
    m_model->checkRow(row);
    m_row = m_rowSel = row;
    repaintIfDrawing();
}

void FlexGrid::setCol(int col)
{
    m_model->checkCol(col);
    m_col = m_colSel = col;
    repaintIfDrawing();
}

void FlexGrid::setRowSel(int row)
{
    m_model->checkRow(row);
    m_rowSel = row;
    repaintIfDrawing();
}

void FlexGrid::setColSel(int col)
{
    m_model->checkCol(col);
    m_colSel = col;
    repaintIfDrawing();
}

void FlexGrid::checkCurrent() const
{
    m_model->check(m_row, m_col);
}

const CellStyle &FlexGrid::currentStyle() const
{
    checkCurrent();
    return m_model->style(m_row, m_col);
}

template <typename Change>
void FlexGrid::changeCurrent(Change &&change)
{
    checkCurrent();
    m_model->setStyles(m_row, m_col, m_row, m_col, std::forward<Change>(change));
}

QString FlexGrid::text() const
{
    checkCurrent();
    return m_model->text(m_row, m_col);
}

void FlexGrid::setText(const QString &text)
{
    checkCurrent();
    m_model->setText(m_row, m_col, text);
}

int FlexGrid::cellBackColor() const
{
    return currentStyle().backColor;
}

void FlexGrid::setCellBackColor(int color)
{
    changeCurrent([color](CellStyle &style) { style.backColor = color; });
}

int FlexGrid::cellForeColor() const
{
    return currentStyle().foreColor;
}

void FlexGrid::setCellForeColor(int color)
{
    changeCurrent([color](CellStyle &style) { style.foreColor = color; });
}

QString FlexGrid::cellFontName() const
{
    checkCurrent();
    return m_model->cellFont(m_row, m_col).family();
}

void FlexGrid::setCellFontName(const QString &name)
{
    changeCurrent([&name](CellStyle &style) { style.fontName = name; });
}

double FlexGrid::cellFontSize() const
{
    checkCurrent();
    return m_model->cellFont(m_row, m_col).pointSizeF();
}

void FlexGrid::setCellFontSize(double points)
{
    pointsOf(points);
    changeCurrent([points](CellStyle &style) { style.fontSize = points; });
}

bool FlexGrid::cellFontBold() const
{
    checkCurrent();
    return m_model->cellFont(m_row, m_col).bold();
}

void FlexGrid::setCellFontBold(bool bold)
{
    changeCurrent([bold](CellStyle &style) { style.bold = bold ? 1 : 0; });
}

bool FlexGrid::cellFontItalic() const
{
    checkCurrent();
    return m_model->cellFont(m_row, m_col).italic();
}

void FlexGrid::setCellFontItalic(bool italic)
{
    changeCurrent([italic](CellStyle &style) { style.italic = italic ? 1 : 0; });
}

bool FlexGrid::cellFontUnderline() const
{
    checkCurrent();
    return m_model->cellFont(m_row, m_col).underline();
}

void FlexGrid::setCellFontUnderline(bool underline)
{
    changeCurrent([underline](CellStyle &style) { style.underline = underline ? 1 : 0; });
}

bool FlexGrid::cellFontStrikeThrough() const
{
    checkCurrent();
    return m_model->cellFont(m_row, m_col).strikeOut();
}

void FlexGrid::setCellFontStrikeThrough(bool strikeThrough)
{
    changeCurrent(
        [strikeThrough](CellStyle &style) { style.strikethrough = strikeThrough ? 1 : 0; });
}

int FlexGrid::cellSetting28() const
{
    return currentStyle().setting28;
}

void FlexGrid::setCellSetting28(int value)
{
    changeCurrent([value](CellStyle &style) { style.setting28 = value; });
}

int FlexGrid::cellSetting47() const
{
    return currentStyle().setting47;
}

void FlexGrid::setCellSetting47(int value)
{
    changeCurrent([value](CellStyle &style) { style.setting47 = value; });
}

// --- Rows and columns ---------------------------------------------------------------------

int FlexGrid::colWidth(int col) const
{
    m_model->checkCol(col);
    const int width = m_model->colInfo(col).width;
    return int(std::lround(forms::pixelsToTwipsX(width < 0 ? defaultColWidth() : width)));
}

void FlexGrid::setColWidth(int col, int twips)
{
    m_model->checkCol(col);
    if (twips < -1)
        invalid("column width");
    m_model->setColWidth(col, twips < 0 ? -1 : forms::twipsToPixelsX(twips));
}

int FlexGrid::rowHeight(int row) const
{
    m_model->checkRow(row);
    const int height = m_model->rowInfo(row).height;
    return int(std::lround(forms::pixelsToTwipsY(height < 0 ? defaultRowHeight() : height)));
}

void FlexGrid::setRowHeight(int row, int twips)
{
    m_model->checkRow(row);
    if (twips < -1)
        invalid("row height");
    m_model->setRowHeight(row, twips < 0 ? -1 : forms::twipsToPixelsY(twips));
}

bool FlexGrid::mergeRow(int row) const
{
    m_model->checkRow(row);
    return m_model->rowInfo(row).merge;
}

void FlexGrid::setMergeRow(int row, bool merge)
{
    m_model->setMergeRow(row, merge);
}

bool FlexGrid::mergeCol(int col) const
{
    m_model->checkCol(col);
    return m_model->colInfo(col).merge;
}

void FlexGrid::setMergeCol(int col, bool merge)
{
    m_model->setMergeCol(col, merge);
}

bool FlexGrid::isSubtotal(int row) const
{
    m_model->checkRow(row);
    return m_model->rowInfo(row).subtotal;
}

void FlexGrid::setIsSubtotal(int row, bool subtotal)
{
    m_model->setSubtotal(row, subtotal);
}

int FlexGrid::rowOutlineLevel(int row) const
{
    m_model->checkRow(row);
    return m_model->rowInfo(row).outlineLevel;
}

void FlexGrid::setRowOutlineLevel(int row, int level)
{
    m_model->setOutlineLevel(row, level);
}

QString FlexGrid::colFormat(int col) const
{
    m_model->checkCol(col);
    return m_model->colInfo(col).format.pattern();
}

void FlexGrid::setColFormat(int col, const QString &pattern)
{
    m_model->setColFormat(col, pattern);
}

int FlexGrid::colSetting119(int col) const
{
    m_model->checkCol(col);
    return m_model->colInfo(col).setting119;
}

void FlexGrid::setColSetting119(int col, int value)
{
    m_model->setColSetting119(col, value);
}

int FlexGrid::colSetting138(int col) const
{
    m_model->checkCol(col);
    return m_model->colInfo(col).setting138;
}

void FlexGrid::setColSetting138(int col, int value)
{
    m_model->setColSetting138(col, value);
}

void FlexGrid::autoSize(int col1, int col2)
{
    if (col2 < 0)
        col2 = col1;
    if (col2 < col1)
        std::swap(col1, col2);
    m_model->checkCol(col1);
    m_model->checkCol(col2);
    m_model->refreshNumberSymbols();
    // The font of each look is looked up once per call.
    std::vector<int> fontOfStyle(std::size_t(m_model->styleCount()), -1);
    const int rowCount = m_model->rows();
    for (int c = col1; c <= col2; ++c) {
        int widest = -1;
        for (int r = 0; r < rowCount; ++r) {
            if (m_model->rowInfo(r).height == 0 || m_model->text(r, c).isEmpty())
                continue;
            const StyleId id = m_model->styleId(r, c);
            int &font = fontOfStyle[id];
            if (font < 0)
                font = m_widths.fontIndex(m_model->cellFont(id));
            const QString shown = m_model->displayText(r, c);
            widest = std::max(widest, m_widths.width(font, shown));
        }
        if (widest >= 0)
            m_model->setColWidth(c, widest + 2 * TextMargin + m_gridLineWidth);
    }
}

// --- The grid's look ----------------------------------------------------------------------

QString FlexGrid::fontName() const
{
    return font().family();
}

void FlexGrid::setFontName(const QString &name)
{
    QFont changed = font();
    changed.setFamily(name);
    setFont(changed);
}

double FlexGrid::fontSize() const
{
    return font().pointSizeF();
}

void FlexGrid::setFontSize(double points)
{
    QFont changed = font();
    changed.setPointSizeF(pointsOf(points));
    setFont(changed);
}

int FlexGrid::backColor() const
{
    return m_model->backColor();
}

void FlexGrid::setBackColor(int color)
{
    m_model->setBackColor(color);
}

int FlexGrid::foreColor() const
{
    return m_model->foreColor();
}

void FlexGrid::setForeColor(int color)
{
    m_model->setForeColor(color);
}

int FlexGrid::backColorFixed() const
{
    return m_model->backColorFixed();
}

void FlexGrid::setBackColorFixed(int color)
{
    m_model->setBackColorFixed(color);
}

int FlexGrid::foreColorFixed() const
{
    return m_model->foreColorFixed();
}

void FlexGrid::setForeColorFixed(int color)
{
    m_model->setForeColorFixed(color);
}

void FlexGrid::setWordWrap(bool wrap)
{
    m_wordWrap = wrap;
    repaintIfDrawing();
}

void FlexGrid::setRedraw(bool redraw)
{
    if (redraw == m_redraw)
        return;
    m_redraw = redraw;
    m_model->setDeferred(!redraw);
    if (redraw) {
        ensureLayout();
        viewport()->update();
    }
}

void FlexGrid::setGridLines(int style)
{
    if (!isGridLineStyle(style))
        invalid("grid line style");
    m_gridLines = style;
    repaintIfDrawing();
}

void FlexGrid::setGridLinesFixed(int style)
{
    if (!isGridLineStyle(style))
        invalid("grid line style");
    m_gridLinesFixed = style;
    repaintIfDrawing();
}

void FlexGrid::setGridColor(int color)
{
    m_gridColor = color;
    repaintIfDrawing();
}

void FlexGrid::setGridColorFixed(int color)
{
    m_gridColorFixed = color;
    repaintIfDrawing();
}

void FlexGrid::setGridLineWidth(int pixels)
{
    m_gridLineWidth = std::clamp(pixels, 1, MaxGridLineWidth);
    repaintIfDrawing();
}

void FlexGrid::setAppearance(int appearance)
{
    // Callers set it again and again (once per title cell): an unchanged value does nothing.
    if (appearance == m_appearance)
        return;
    applyAppearance(appearance);
}

void FlexGrid::applyAppearance(int appearance)
{
    switch (appearance) {
    case 0:
        setFrameStyle(QFrame::Box | QFrame::Plain);
        setLineWidth(1);
        break;
    case 1:
        setFrameStyle(QFrame::Panel | QFrame::Sunken);
        setLineWidth(2);
        break;
    case 2:
        setFrameStyle(QFrame::Panel | QFrame::Sunken);
        setLineWidth(1);
        break;
    default:
        invalid("appearance");
    }
    m_appearance = appearance;
}

void FlexGrid::refresh()
{
    if (!m_redraw)
        return;
    ensureLayout();
    viewport()->repaint();
}

// --- Reactions to the model ---------------------------------------------------------------

void FlexGrid::repaintIfDrawing()
{
    if (m_redraw)
        viewport()->update();
}

void FlexGrid::contentChanged()
{
    repaintIfDrawing();
}

void FlexGrid::sizesChanged()
{
    m_layoutDirty = true;
    if (m_redraw) {
        ensureLayout();
        viewport()->update();
    }
}

void FlexGrid::modelWasReset()
{
    normalizeCurrent();
    sizesChanged();
}

void FlexGrid::normalizeCurrent()
{
    auto fix = [](int &current, int &selected, int count, int first) {
        if (count == 0) {
            current = selected = -1;
            return;
        }
        if (current < 0 || current >= count)
            current = std::min(first, count - 1);
        if (selected < 0 || selected >= count)
            selected = current;
    };
    fix(m_row, m_rowSel, m_model->rows(), m_model->fixedRows());
    fix(m_col, m_colSel, m_model->cols(), m_model->fixedCols());
}

void FlexGrid::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::FontChange) {
        m_model->setGridFont(font());
        m_widths.clear();
        m_layoutDirty = true;
        repaintIfDrawing();
    }
    QAbstractScrollArea::changeEvent(event);
}

// --- Geometry -----------------------------------------------------------------------------

int FlexGrid::defaultRowHeight() const
{
    return QFontMetrics(font()).height() + 2 * RowTextMargin;
}

int FlexGrid::defaultColWidth() const
{
    return QFontMetrics(font()).averageCharWidth() * DefaultColChars + 2 * TextMargin;
}

void FlexGrid::ensureLayout() const
{
    if (!m_layoutDirty)
        return;
    m_layoutDirty = false;
    m_rowLayout.rebuild(m_model->rows(), defaultRowHeight(),
                        [this](int r) { return m_model->rowInfo(r).height; });
    m_colLayout.rebuild(m_model->cols(), defaultColWidth(),
                        [this](int c) { return m_model->colInfo(c).width; });
    updateScrollBars();
}

void FlexGrid::updateScrollBars() const
{
    const QSize area = viewport()->size();
    const qint64 fixedHeight = m_rowLayout.start(m_model->fixedRows());
    const qint64 fixedWidth = m_colLayout.start(m_model->fixedCols());
    QScrollBar *vertical = verticalScrollBar();
    vertical->setRange(0, toInt(std::max<qint64>(0, m_rowLayout.total() - area.height())));
    vertical->setPageStep(std::max(1, toInt(area.height() - fixedHeight)));
    vertical->setSingleStep(std::max(1, defaultRowHeight()));
    QScrollBar *horizontal = horizontalScrollBar();
    horizontal->setRange(0, toInt(std::max<qint64>(0, m_colLayout.total() - area.width())));
    horizontal->setPageStep(std::max(1, toInt(area.width() - fixedWidth)));
    horizontal->setSingleStep(std::max(1, defaultColWidth() / 4));
}

int FlexGrid::rowY(int row) const
{
    const qint64 start = m_rowLayout.start(row);
    return toInt(row < m_model->fixedRows() ? start : start - verticalScrollBar()->value());
}

int FlexGrid::colX(int col) const
{
    const qint64 start = m_colLayout.start(col);
    return toInt(col < m_model->fixedCols() ? start : start - horizontalScrollBar()->value());
}

int FlexGrid::rowAt(int y) const
{
    ensureLayout();
    if (y < 0)
        return -1;
    if (y < m_rowLayout.start(m_model->fixedRows()))
        return m_rowLayout.indexAt(y);
    return m_rowLayout.indexAt(qint64(y) + verticalScrollBar()->value());
}

int FlexGrid::colAt(int x) const
{
    ensureLayout();
    if (x < 0)
        return -1;
    if (x < m_colLayout.start(m_model->fixedCols()))
        return m_colLayout.indexAt(x);
    return m_colLayout.indexAt(qint64(x) + horizontalScrollBar()->value());
}

QRect FlexGrid::cellRect(int row, int col) const
{
    if (!m_model->contains(row, col))
        return {};
    ensureLayout();
    int top = row, left = col, bottom = row, right = col;
    if (m_model->isFixed(row, col)) {
        if (const CellSpan *span = m_model->merges().spanAt(row, col)) {
            top = span->top;
            left = span->left;
            bottom = span->bottom;
            right = span->right;
        }
    }
    const int height =
        toInt(m_rowLayout.start(bottom) + m_rowLayout.size(bottom) - m_rowLayout.start(top));
    const int width =
        toInt(m_colLayout.start(right) + m_colLayout.size(right) - m_colLayout.start(left));
    return QRect(colX(left), rowY(top), width, height);
}

void FlexGrid::resizeEvent(QResizeEvent *event)
{
    QAbstractScrollArea::resizeEvent(event);
    ensureLayout();
    updateScrollBars();
}

void FlexGrid::scrollContentsBy(int, int)
{
    repaintIfDrawing();
}

// --- Painting -----------------------------------------------------------------------------

bool FlexGrid::isSelected(int row, int col) const
{
    if (m_row < 0 || m_col < 0 || (m_row == m_rowSel && m_col == m_colSel))
        return false;
    return row >= std::min(m_row, m_rowSel) && row <= std::max(m_row, m_rowSel)
           && col >= std::min(m_col, m_colSel) && col <= std::max(m_col, m_colSel);
}

void FlexGrid::paintEvent(QPaintEvent *event)
{
    ensureLayout();
    m_model->refreshNumberSymbols();
    QPainter painter(viewport());
    const QRect exposed = event->rect();
    painter.fillRect(exposed, palette().color(QPalette::Window));

    const int rowCount = m_model->rows();
    const int colCount = m_model->cols();
    const int fixedRows = m_model->fixedRows();
    const int fixedCols = m_model->fixedCols();
    const QRect area = viewport()->rect();
    const int fixedHeight = toInt(m_rowLayout.start(fixedRows));
    const int fixedWidth = toInt(m_colLayout.start(fixedCols));
    const int right = area.right();
    const int bottom = area.bottom();
    const Region regions[] = {
        {QRect(QPoint(fixedWidth, fixedHeight), QPoint(right, bottom)), fixedRows, rowCount,
         fixedCols, colCount, true, true},
        {QRect(QPoint(fixedWidth, 0), QPoint(right, fixedHeight - 1)), 0, fixedRows, fixedCols,
         colCount, false, true},
        {QRect(QPoint(0, fixedHeight), QPoint(fixedWidth - 1, bottom)), fixedRows, rowCount, 0,
         fixedCols, true, false},
        {QRect(QPoint(0, 0), QPoint(fixedWidth - 1, fixedHeight - 1)), 0, fixedRows, 0, fixedCols,
         false, false},
    };
    for (const Region &region : regions)
        paintRegion(painter, region, exposed);

    if (hasFocus() && m_model->contains(m_row, m_col)) {
        const Region &home = regions[(m_row < fixedRows ? 1 : 0) + (m_col < fixedCols ? 2 : 0)];
        const QRect focus = cellRect(m_row, m_col).adjusted(1, 1, -2, -2) & home.rect;
        if (!focus.isEmpty()) {
            painter.setClipRect(home.rect & exposed);
            QPen pen(palette().color(QPalette::Text), 1, Qt::DotLine);
            painter.setPen(pen);
            painter.setBrush(Qt::NoBrush);
            painter.drawRect(focus);
        }
    }
}

void FlexGrid::paintRegion(QPainter &painter, const Region &region, const QRect &exposed) const
{
    const QRect clip = region.rect & exposed;
    if (clip.isEmpty() || region.rowBegin >= region.rowEnd || region.colBegin >= region.colEnd)
        return;
    const qint64 rowPosition = clip.top() + (region.rowsScroll ? verticalScrollBar()->value() : 0);
    const qint64 colPosition =
        clip.left() + (region.colsScroll ? horizontalScrollBar()->value() : 0);
    int firstRow = m_rowLayout.indexAt(rowPosition);
    int firstCol = m_colLayout.indexAt(colPosition);
    if (firstRow < 0 || firstCol < 0)
        return;
    firstRow = std::max(firstRow, region.rowBegin);
    firstCol = std::max(firstCol, region.colBegin);

    painter.save();
    painter.setClipRect(clip);
    std::vector<const CellSpan *> drawn;
    const MergeBands *merges = region.fixed() ? &m_model->merges() : nullptr;
    for (int r = firstRow; r < region.rowEnd; ++r) {
        const int y = rowY(r);
        if (y > clip.bottom())
            break;
        const int height = m_rowLayout.size(r);
        if (height == 0)
            continue;
        for (int c = firstCol; c < region.colEnd; ++c) {
            const int x = colX(c);
            if (x > clip.right())
                break;
            const int width = m_colLayout.size(c);
            if (width == 0)
                continue;
            const CellSpan *span = merges ? merges->spanAt(r, c) : nullptr;
            if (span) {
                if (std::find(drawn.begin(), drawn.end(), span) != drawn.end())
                    continue;
                drawn.push_back(span);
                const QRect rect = cellRect(span->top, span->left);
                paintCell(painter, span->top, span->left, rect, rect & region.rect);
                paintLines(
                    painter, rect, span->bottom, span->right, true,
                    oleToColor(m_model->effectiveBackColor(span->top, span->left), palette()));
            } else {
                const QRect rect(x, y, width, height);
                paintCell(painter, r, c, rect, rect & region.rect);
                paintLines(painter, rect, r, c, region.fixed(),
                           oleToColor(m_model->effectiveBackColor(r, c), palette()));
            }
        }
    }
    painter.restore();
}

void FlexGrid::paintCell(QPainter &painter, int row, int col, const QRect &rect,
                         const QRect &visible) const
{
    const bool selected = isSelected(row, col);
    const QPalette &colors = palette();
    const QColor back = selected ? colors.color(QPalette::Highlight)
                                 : oleToColor(m_model->effectiveBackColor(row, col), colors);
    painter.fillRect(rect, back);
    const QString shown = m_model->displayText(row, col);
    if (shown.isEmpty())
        return;
    const QColor fore = selected ? colors.color(QPalette::HighlightedText)
                                 : oleToColor(m_model->effectiveForeColor(row, col), colors);
    painter.setFont(m_model->cellFont(row, col));
    painter.setPen(fore);
    // A merged cell's text stays in the part of it that is in view.
    const QRect textRect =
        visible.adjusted(TextMargin, 0, -TextMargin - m_gridLineWidth, -m_gridLineWidth);
    const int flags =
        int(m_model->alignment(row, col)) | (m_wordWrap ? Qt::TextWordWrap : Qt::TextSingleLine);
    painter.drawText(textRect, flags, shown);
}

void FlexGrid::paintLines(QPainter &painter, const QRect &rect, int lastRow, int lastCol,
                          bool fixed, const QColor &back) const
{
    const GridLinePlan plan = gridLinePlan(fixed ? m_gridLinesFixed : m_gridLines);
    if (plan.look == LineLook::None)
        return;
    const int w = std::min({m_gridLineWidth, rect.width(), rect.height()});
    const bool rowLine = plan.betweenRows && (!plan.everyOther || lastRow % 2 == 1);
    const bool colLine = plan.betweenCols && (!plan.everyOther || lastCol % 2 == 1);
    const QColor flat = oleToColor(fixed ? m_gridColorFixed : m_gridColor, palette());
    const QColor light = back.lighter(150) == back ? QColor(Qt::white) : back.lighter(150);
    const QColor dark = back.darker(160);
    const QRect top(rect.left(), rect.top(), rect.width(), w);
    const QRect bottom(rect.left(), rect.bottom() - w + 1, rect.width(), w);
    const QRect left(rect.left(), rect.top(), w, rect.height());
    const QRect right(rect.right() - w + 1, rect.top(), w, rect.height());
    switch (plan.look) {
    case LineLook::None:
        return;
    case LineLook::Flat:
        if (plan.lightInside) {
            if (rowLine)
                painter.fillRect(top, light);
            if (colLine)
                painter.fillRect(left, light);
        }
        if (rowLine)
            painter.fillRect(bottom, flat);
        if (colLine)
            painter.fillRect(right, flat);
        return;
    case LineLook::Inset:
    case LineLook::Raised: {
        const bool raised = plan.look == LineLook::Raised;
        const QColor before = raised ? light : dark; // top and left
        const QColor after = plan.outline ? flat : (raised ? dark : light);
        if (rowLine) {
            painter.fillRect(top, before);
            painter.fillRect(bottom, after);
        }
        if (colLine) {
            painter.fillRect(left, before);
            painter.fillRect(right, after);
        }
        return;
    }
    }
}

// --- Mouse and keys -----------------------------------------------------------------------

void FlexGrid::trackMouse(const QPoint &position)
{
    m_mouseRow = rowAt(position.y());
    m_mouseCol = colAt(position.x());
}

void FlexGrid::moveCurrent(int row, int col, bool extend)
{
    if (extend && m_row >= 0 && m_col >= 0) {
        m_rowSel = row;
        m_colSel = col;
    } else {
        m_row = m_rowSel = row;
        m_col = m_colSel = col;
    }
    viewport()->update();
}

void FlexGrid::mousePressEvent(QMouseEvent *event)
{
    trackMouse(event->position().toPoint());
    m_mouseModifiers = event->modifiers();
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mousePressEvent(event);
        return;
    }
    setFocus(Qt::MouseFocusReason);
    m_pressed = true;
    if (m_mouseRow >= 0 && m_mouseCol >= 0) {
        moveCurrent(m_mouseRow, m_mouseCol, event->modifiers() & Qt::ShiftModifier);
        m_dragging = true;
    }
    event->accept();
}

void FlexGrid::mouseMoveEvent(QMouseEvent *event)
{
    if (!m_dragging || !(event->buttons() & Qt::LeftButton)) {
        QAbstractScrollArea::mouseMoveEvent(event);
        return;
    }
    const QPoint position = event->position().toPoint();
    const int row = rowAt(position.y());
    const int col = colAt(position.x());
    if (row >= 0 && col >= 0 && (row != m_rowSel || col != m_colSel))
        moveCurrent(row, col, true);
    event->accept();
}

void FlexGrid::mouseReleaseEvent(QMouseEvent *event)
{
    trackMouse(event->position().toPoint());
    m_mouseModifiers = event->modifiers();
    if (event->button() != Qt::LeftButton || !m_pressed) {
        QAbstractScrollArea::mouseReleaseEvent(event);
        return;
    }
    m_pressed = false;
    m_dragging = false;
    event->accept();
    if (viewport()->rect().contains(event->position().toPoint()))
        emit clicked();
}

void FlexGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    trackMouse(event->position().toPoint());
    m_mouseModifiers = event->modifiers();
    if (event->button() != Qt::LeftButton) {
        QAbstractScrollArea::mouseDoubleClickEvent(event);
        return;
    }
    if (m_mouseRow >= 0 && m_mouseCol >= 0)
        moveCurrent(m_mouseRow, m_mouseCol, false);
    event->accept();
    emit doubleClicked();
}

void FlexGrid::keyPressEvent(QKeyEvent *event)
{
    emit keyDown(keyCodeOf(event->key()), shiftStateOf(event->modifiers()));
    const int rowCount = m_model->rows();
    const int colCount = m_model->cols();
    if (rowCount == 0 || colCount == 0) {
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    // The keys move over the scrolling cells (over all cells when every one is fixed).
    const int firstRow = m_model->fixedRows() < rowCount ? m_model->fixedRows() : 0;
    const int firstCol = m_model->fixedCols() < colCount ? m_model->fixedCols() : 0;
    const bool extend = event->modifiers() & Qt::ShiftModifier;
    int row = extend ? m_rowSel : m_row;
    int col = extend ? m_colSel : m_col;
    row = std::max(row, firstRow);
    col = std::max(col, firstCol);
    ensureLayout();
    const int page = std::max(1, viewport()->height() / std::max(1, defaultRowHeight()) - 1);
    switch (event->key()) {
    case Qt::Key_Up:
        row -= 1;
        break;
    case Qt::Key_Down:
        row += 1;
        break;
    case Qt::Key_Left:
        col -= 1;
        break;
    case Qt::Key_Right:
        col += 1;
        break;
    case Qt::Key_PageUp:
        row -= page;
        break;
    case Qt::Key_PageDown:
        row += page;
        break;
    case Qt::Key_Home:
        col = firstCol;
        break;
    case Qt::Key_End:
        col = colCount - 1;
        break;
    default:
        QAbstractScrollArea::keyPressEvent(event);
        return;
    }
    row = std::clamp(row, firstRow, rowCount - 1);
    col = std::clamp(col, firstCol, colCount - 1);
    moveCurrent(row, col, extend);
    ensureVisible(row, col);
    event->accept();
}

void FlexGrid::keyReleaseEvent(QKeyEvent *event)
{
    if (!event->isAutoRepeat())
        emit keyUp(keyCodeOf(event->key()), shiftStateOf(event->modifiers()));
    QAbstractScrollArea::keyReleaseEvent(event);
}

void FlexGrid::ensureVisible(int row, int col)
{
    ensureLayout();
    const QSize area = viewport()->size();
    if (row >= m_model->fixedRows()) {
        const qint64 fixedHeight = m_rowLayout.start(m_model->fixedRows());
        const qint64 top = m_rowLayout.start(row);
        const qint64 bottom = top + m_rowLayout.size(row);
        QScrollBar *bar = verticalScrollBar();
        if (top - bar->value() < fixedHeight)
            bar->setValue(toInt(top - fixedHeight));
        else if (bottom - bar->value() > area.height())
            bar->setValue(toInt(bottom - area.height()));
    }
    if (col >= m_model->fixedCols()) {
        const qint64 fixedWidth = m_colLayout.start(m_model->fixedCols());
        const qint64 left = m_colLayout.start(col);
        const qint64 right = left + m_colLayout.size(col);
        QScrollBar *bar = horizontalScrollBar();
        if (left - bar->value() < fixedWidth)
            bar->setValue(toInt(left - fixedWidth));
        else if (right - bar->value() > area.width())
            bar->setValue(toInt(right - area.width()));
    }
}

} // namespace platform::grid
