#include "platform/printer/PrintDocument.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

namespace platform::printer {

namespace {

// Font metrics in twips: a paint device of 1440 dots per inch.
const QImage &twipsDevice()
{
    static const QImage device = [] {
        QImage image(1, 1, QImage::Format_RGB32);
        image.setDotsPerMeterX(int(std::lround(1440 / 0.0254)));
        image.setDotsPerMeterY(int(std::lround(1440 / 0.0254)));
        return image;
    }();
    return device;
}

const int cellPadding = 60; // twips on each side of a cell's text

} // namespace

void TableBlock::resize(int newRows, int newCols)
{
    QList<TableCell> kept(qsizetype(std::max(newRows, 0)) * std::max(newCols, 0));
    for (int r = 0; r < std::min(rows, newRows); ++r) {
        for (int c = 0; c < std::min(cols, newCols); ++c)
            kept[r * newCols + c] = cell(r, c);
    }
    cells = kept;
    rows = std::max(newRows, 0);
    cols = std::max(newCols, 0);
    widths.resize(cols);
    setting31.resize(cols);
}

void TableBlock::findHeaders()
{
    headerRows = rows;
    headerCols = cols;
    bool any = false;
    for (int r = 0; r < rows; ++r) {
        for (int c = 0; c < cols; ++c) {
            if (!cell(r, c).data)
                continue;
            any = true;
            headerRows = std::min(headerRows, r);
            headerCols = std::min(headerCols, c);
        }
    }
    if (!any)
        headerRows = headerCols = 0;
}

ColumnBands columnBands(const QList<int> &widths, int headerCols, int available)
{
    const int n = int(widths.size());
    headerCols = std::clamp(headerCols, 0, n);
    ColumnBands result;
    qint64 total = 0;
    for (int w : widths)
        total += w;
    if (total <= available || n <= 1) {
        result.bands.append({0, n});
        return result;
    }
    qint64 headerWidth = 0;
    for (int c = 0; c < headerCols; ++c)
        headerWidth += widths[c];
    int widest = 0;
    for (int c = headerCols; c < n; ++c)
        widest = std::max(widest, widths[c]);
    if (headerCols < n && headerWidth + widest <= available)
        result.repeated = headerCols;
    else
        headerWidth = 0;
    for (int from = result.repeated; from < n;) {
        qint64 used = headerWidth + widths[from];
        int to = from + 1;
        while (to < n && used + widths[to] <= available)
            used += widths[to++];
        result.bands.append({from, to});
        from = to;
    }
    return result;
}

QList<int> bandColumns(const ColumnBands &cut, const ColumnBand &band)
{
    QList<int> columns;
    columns.reserve(cut.repeated + band.to - band.from);
    for (int c = 0; c < cut.repeated; ++c)
        columns.append(c);
    for (int c = band.from; c < band.to; ++c)
        columns.append(c);
    return columns;
}

QFont paragraphFont(double points)
{
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(points > 0 ? points : 10);
    return font;
}

int lineHeight(const QFont &font)
{
    return int(std::ceil(QFontMetricsF(font, &twipsDevice()).height()));
}

int textWidth(const QFont &font, const QString &text)
{
    return int(std::ceil(QFontMetricsF(font, &twipsDevice()).horizontalAdvance(text)));
}

QList<int> columnWidths(const TableBlock &table)
{
    QList<int> widths(table.cols, 0);
    const QFont plain = paragraphFont(10);
    for (int c = 0; c < table.cols; ++c) {
        if (table.widths.value(c) > 0) {
            widths[c] = table.widths[c];
            continue;
        }
        for (int r = 0; r < table.rows; ++r) {
            const TableCell &cell = table.cell(r, c);
            widths[c] = std::max(widths[c],
                                 textWidth(cell.font.value_or(plain), cell.text) + 2 * cellPadding);
        }
    }
    return widths;
}

int rowHeight(const TableBlock &table, int row)
{
    int height = lineHeight(paragraphFont(10));
    for (int c = 0; c < table.cols; ++c) {
        if (const std::optional<QFont> &font = table.cell(row, c).font)
            height = std::max(height, lineHeight(*font));
    }
    return height + cellPadding;
}

} // namespace platform::printer
