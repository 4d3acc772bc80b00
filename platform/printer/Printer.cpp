#include "platform/printer/Printer.h"

#include "platform/forms/Modal.h"
#include "platform/forms/MsgBox.h"
#include "platform/runtime/Error.h"

#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QRegularExpression>
#include <QSaveFile>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace platform::printer {

namespace {

const QColor gridLine(0xC0, 0xC0, 0xC0);

// "left|centre|right" of a header or footer with the page number in place of "%d".
QStringList headerParts(const QString &text, int page)
{
    QStringList parts =
        QString(text).replace(QStringLiteral("%d"), QString::number(page)).split(u'|');
    while (parts.size() < 3)
        parts.append(QString());
    return parts.mid(0, 3);
}

void paintHeaderLine(QPainter &p, const QRect &area, const QString &text, int page)
{
    const QStringList parts = headerParts(text, page);
    const int flags[] = {Qt::AlignLeft, Qt::AlignHCenter, Qt::AlignRight};
    for (int i = 0; i < 3; ++i)
        p.drawText(area, flags[i] | Qt::AlignVCenter | Qt::TextSingleLine, parts[i]);
}

// Fonts are sized in points; the painter works in twips, so a font is drawn at 20 twips to
// the point whatever the device's resolution.
QFont twipsFont(const QFont &font)
{
    QFont f = font;
    f.setPixelSize(std::max(1, int(std::lround(font.pointSizeF() * 20))));
    return f;
}

} // namespace

Printer::Printer(QWidget *parent) : QWidget(parent)
{
    m_headerFont = paragraphFont(10);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
}

Printer::~Printer() = default;

int Printer::twipsOf(const QString &length)
{
    static const QRegularExpression pattern(
        QStringLiteral("^\\s*([0-9]*\\.?[0-9]+)\\s*(in|cm|mm|pt|tw)?\\s*$"));
    const QRegularExpressionMatch m = pattern.match(length.toLower());
    if (!m.hasMatch())
        throw Error(QStringLiteral("Invalid length: ") + length);
    const double value = m.captured(1).toDouble();
    const QString unit = m.captured(2);
    double factor = 1;
    if (unit == u"in")
        factor = 1440;
    else if (unit == u"cm")
        factor = 1440 / 2.54;
    else if (unit == u"mm")
        factor = 144 / 2.54;
    else if (unit == u"pt")
        factor = 20;
    return int(std::lround(value * factor));
}

void Printer::setPageSize(int widthTwips, int heightTwips)
{
    if (widthTwips <= 0 || heightTwips <= 0)
        throw Error(QStringLiteral("Invalid page size"));
    m_pageWidth = widthTwips;
    m_pageHeight = heightTwips;
}

void Printer::startDoc()
{
    m_doc = PrintDocument();
    m_pages.clear();
    m_table.reset();
    m_open = true;
    startPage();
}

void Printer::startPage()
{
    m_pages.append(Page());
    m_y = m_margins.top;
}

void Printer::newPage()
{
    Block block;
    block.kind = Block::PageBreak;
    add(std::move(block));
}

void Printer::setText(const QString &text)
{
    Block block;
    block.kind = Block::Paragraph;
    block.text = text;
    block.fontSize = m_fontSize;
    add(std::move(block));
}

void Printer::insertRawText(const QString &text)
{
    Block block;
    block.kind = Block::RawText;
    block.text = text;
    add(std::move(block));
}

void Printer::drawPicture(const QImage &picture, int x, int y, int widthTwips, int heightTwips)
{
    if (picture.isNull())
        throw Error(QStringLiteral("Invalid picture"));
    Block block;
    block.kind = Block::Picture;
    block.picture = picture;
    block.place = QRect(x, y, std::max(widthTwips, 1), std::max(heightTwips, 1));
    add(std::move(block));
}

void Printer::add(Block block)
{
    if (!m_open)
        throw Error(QStringLiteral("No document is open"));
    block.setting108 = m_setting108;
    m_doc.blocks.append(std::move(block));
    layOut(m_doc.blocks.last(), int(m_doc.blocks.size()) - 1);
}

void Printer::layOut(const Block &block, int index)
{
    const int left = textLeft() + m_indentLeft;
    const int width = std::max(textRight() - left, 1);
    switch (block.kind) {
    case Block::Paragraph: {
        const QFont font = paragraphFont(block.fontSize);
        const int lines = std::max(1, (textWidth(font, block.text) + width - 1) / width);
        const int height = lines * lineHeight(font);
        if (m_y + height > bottomLimit() && !m_pages.last().items.isEmpty())
            startPage();
        m_pages.last().items.append({index, -1, QRect(left, m_y, width, height)});
        m_y += height;
        break;
    }
    case Block::Table:
        layOutTable(block.table, index, left, width);
        break;
    case Block::Picture:
        m_pages.last().items.append({index, -1, block.place});
        m_y = std::max(m_y, block.place.bottom() + 1);
        break;
    case Block::PageBreak:
        startPage();
        break;
    case Block::RawText:
        break;
    }
}

// A table wider than the text goes on in bands of columns, each band from a new page, each
// with the header columns in front. A table longer than a page goes on on the next page under
// its header rows again; the header rows are kept with the first row under them.
void Printer::layOutTable(const TableBlock &table, int index, int left, int width)
{
    const QList<int> widths = columnWidths(table);
    const ColumnBands cut = columnBands(widths, table.headerCols, width);
    QList<int> heights(table.rows);
    for (int r = 0; r < table.rows; ++r)
        heights[r] = rowHeight(table, r);
    const int headerRows = std::min(table.headerRows, table.rows);
    int headerHeight = 0;
    for (int r = 0; r < headerRows; ++r)
        headerHeight += heights[r];
    const int body = bottomLimit() - m_margins.top;
    int tallest = 0;
    for (int r = headerRows; r < table.rows; ++r)
        tallest = std::max(tallest, heights[r]);
    // Header rows that would leave no room on a page are not repeated.
    const bool repeatHeaders = headerRows > 0 && headerHeight + tallest <= body;
    for (qsizetype b = 0; b < cut.bands.size(); ++b) {
        const ColumnBand band = cut.bands[b];
        int bandWidth = 0;
        for (int c : bandColumns(cut, band))
            bandWidth += widths[c];
        if (b > 0 && !m_pages.last().items.isEmpty())
            startPage();
        const auto place = [&](int r) {
            m_pages.last().items.append({index, r, QRect(left, m_y, bandWidth, heights[r]),
                                         cut.repeated, band.from, band.to});
            m_y += heights[r];
        };
        for (int r = 0; r < table.rows; ++r) {
            // The headers and the first row under them start together.
            int needed = heights[r];
            if (r == 0 && repeatHeaders && table.rows > headerRows)
                needed = headerHeight + heights[headerRows];
            if (m_y + needed > bottomLimit() && !m_pages.last().items.isEmpty()) {
                startPage();
                if (repeatHeaders && r >= headerRows) {
                    for (int h = 0; h < headerRows; ++h)
                        place(h);
                }
            }
            place(r);
        }
    }
}

// --- Tables ----------------------------------------------------------------------------------

void Printer::startTable()
{
    if (!m_open)
        throw Error(QStringLiteral("No document is open"));
    m_table = TableBlock();
}

void Printer::requireTable() const
{
    if (!m_table)
        throw Error(QStringLiteral("No table is open"));
}

TableBlock &Printer::table()
{
    requireTable();
    return *m_table;
}

void Printer::endTable()
{
    requireTable();
    Block block;
    block.kind = Block::Table;
    block.table = std::move(*m_table);
    m_table.reset();
    // Natural widths are measured once here, not again for each row laid out or painted.
    block.table.widths = columnWidths(block.table);
    block.table.findHeaders();
    add(std::move(block));
}

void Printer::setTableRows(int rows)
{
    TableBlock &t = table();
    t.resize(rows, t.cols);
}

void Printer::setTableCols(int cols)
{
    TableBlock &t = table();
    t.resize(t.rows, cols);
}

namespace {

// The 0-based cells of a 1-based inclusive range, or an error when it leaves the table.
template <typename Apply>
void forRange(TableBlock &t, int row1, int col1, int row2, int col2, Apply apply)
{
    if (row1 < 1 || col1 < 1 || row2 > t.rows || col2 > t.cols || row1 > row2 || col1 > col2)
        throw Error(QStringLiteral("Invalid table range"));
    for (int r = row1 - 1; r < row2; ++r) {
        for (int c = col1 - 1; c < col2; ++c)
            apply(t.cell(r, c));
    }
}

} // namespace

void Printer::setColumnWidth(int col, int twips)
{
    TableBlock &t = table();
    if (col < 1 || col > t.cols)
        throw Error(QStringLiteral("Invalid table column"));
    t.widths[col - 1] = std::max(twips, 0);
}

void Printer::setColumnSetting31(int col, int value)
{
    TableBlock &t = table();
    if (col < 1 || col > t.cols)
        throw Error(QStringLiteral("Invalid table column"));
    t.setting31[col - 1] = value;
}

void Printer::setCellText(int row, int col, const QString &text)
{
    forRange(table(), row, col, row, col, [&](TableCell &cell) { cell.text = text; });
}

void Printer::setDataArea(int row1, int col1, int row2, int col2, int value)
{
    forRange(table(), row1, col1, row2, col2, [&](TableCell &cell) { cell.data = value != 0; });
}

void Printer::setCellBack(int row1, int col1, int row2, int col2, const QColor &c)
{
    forRange(table(), row1, col1, row2, col2, [&](TableCell &cell) { cell.back = c; });
}

void Printer::setCellFore(int row1, int col1, int row2, int col2, const QColor &c)
{
    forRange(table(), row1, col1, row2, col2, [&](TableCell &cell) { cell.fore = c; });
}

void Printer::setCellFont(int row1, int col1, int row2, int col2, const QFont &f)
{
    forRange(table(), row1, col1, row2, col2, [&](TableCell &cell) { cell.font = f; });
}

// --- Output ----------------------------------------------------------------------------------

void Printer::endDoc()
{
    if (!m_open)
        throw Error(QStringLiteral("No document is open"));
    if (m_table)
        endTable();
    m_open = false;
    if (!m_exportFile.isEmpty()) {
        const QByteArray bytes = m_exportFormat == Rtf
                                     ? rtfText(m_doc, m_pageWidth, m_pageHeight, m_margins.left,
                                               m_margins.right, m_margins.top, m_margins.bottom)
                                     : htmlText(m_doc, QFileInfo(m_exportFile).completeBaseName());
        QSaveFile file(m_exportFile);
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
            throw Error(QStringLiteral("Cannot write the file ") + m_exportFile
                        + QStringLiteral(": ") + file.errorString());
        return;
    }
    if (m_preview)
        showPreview();
}

void Printer::render(QPagedPaintDevice &device) const
{
    renderPages(device, printOrder(pageCount(), {}, 1, true, false));
}

void Printer::renderPages(QPagedPaintDevice &device, const QList<int> &pages) const
{
    if (auto *printer = dynamic_cast<QPrinter *>(&device))
        printer->setFullPage(true);
    device.setPageSize(
        QPageSize(QSizeF(m_pageWidth / 1440.0, m_pageHeight / 1440.0), QPageSize::Inch));
    device.setPageMargins(QMarginsF(0, 0, 0, 0));
    QPainter painter;
    if (!painter.begin(&device)) {
        const auto *printer = dynamic_cast<QPrinter *>(&device);
        const QString target = !printer ? QString()
                               : printer->outputFormat() == QPrinter::PdfFormat
                                   ? printer->outputFileName()
                                   : printer->printerName();
        throw Error(QStringLiteral("Cannot print to ") + target);
    }
    const double scale = device.logicalDpiX() / 1440.0;
    for (qsizetype i = 0; i < pages.size(); ++i) {
        if (i > 0)
            device.newPage();
        painter.save();
        painter.scale(scale, device.logicalDpiY() / 1440.0);
        paintPage(painter, pages[i] - 1);
        painter.restore();
    }
}

QList<int> Printer::printOrder(int pageCount, const QList<std::pair<int, int>> &ranges, int copies,
                               bool collate, bool lastFirst)
{
    QList<int> chosen;
    for (int page = 1; page <= pageCount; ++page) {
        const bool in = ranges.isEmpty() || std::any_of(ranges.begin(), ranges.end(), [&](auto r) {
                            return page >= r.first && page <= r.second;
                        });
        if (in)
            chosen.append(page);
    }
    if (lastFirst)
        std::reverse(chosen.begin(), chosen.end());
    copies = std::max(copies, 1);
    QList<int> order;
    if (collate) {
        for (int copy = 0; copy < copies; ++copy)
            order += chosen;
    } else {
        for (int page : chosen)
            order += QList<int>(copies, page);
    }
    return order;
}

void Printer::print(QPrinter &printer) const
{
    QList<std::pair<int, int>> ranges;
    if (printer.printRange() == QPrinter::CurrentPage) {
        ranges.append({shownPage(), shownPage()});
    } else if (printer.printRange() == QPrinter::PageRange) {
        for (const QPageRanges::Range &range : printer.pageRanges().toRangeList())
            ranges.append({range.from, range.to});
    }
    // A printer that makes its own copies (and keeps its own page order) gets each page once;
    // a PDF file gets them all.
    const bool toFile = printer.outputFormat() == QPrinter::PdfFormat;
    const int copies = printer.supportsMultipleCopies() ? 1 : printer.copyCount();
    const QList<int> pages = printOrder(pageCount(), ranges, copies, printer.collateCopies(),
                                        toFile && printer.pageOrder() == QPrinter::LastPageFirst);
    if (pages.isEmpty())
        throw Error(QStringLiteral("No page to print"));
    renderPages(printer, pages);
}

bool Printer::printWithDialog()
{
    QPrinter printer(QPrinter::HighResolution);
    printer.setFullPage(true);
    printer.setPageSize(
        QPageSize(QSizeF(m_pageWidth / 1440.0, m_pageHeight / 1440.0), QPageSize::Inch));
    QPrintDialog dialog(&printer, this);
    dialog.setObjectName(QStringLiteral("printDialog"));
    dialog.setOptions(QAbstractPrintDialog::PrintToFile | QAbstractPrintDialog::PrintPageRange
                      | QAbstractPrintDialog::PrintCollateCopies
                      | QAbstractPrintDialog::PrintCurrentPage);
    dialog.setMinMax(1, std::max(pageCount(), 1));
    dialog.setFromTo(1, std::max(pageCount(), 1));
    if (forms::showModal(dialog) != QDialog::Accepted)
        return false;
    print(printer);
    return true;
}

void Printer::printFromPreview()
{
    try {
        printWithDialog();
    } catch (const Error &error) {
        forms::msgBox(error.description(), forms::OkOnly);
    }
}

void Printer::setPrintText(const QString &text)
{
    m_printText = text;
    if (m_printButton)
        m_printButton->setText(text);
}

bool Printer::writePdf(const QString &path) const
{
    QPdfWriter writer(path);
    writer.setResolution(600);
    try {
        render(writer);
    } catch (const Error &) {
        return false;
    }
    return QFileInfo(path).size() > 0;
}

QImage Printer::pageImage(int index, double dpi) const
{
    const double scale = dpi / 1440.0;
    QImage image(std::max(1, int(m_pageWidth * scale)), std::max(1, int(m_pageHeight * scale)),
                 QImage::Format_RGB32);
    image.fill(Qt::white);
    if (index >= 0 && index < m_pages.size()) {
        QPainter painter(&image);
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setRenderHint(QPainter::TextAntialiasing);
        painter.scale(scale, scale);
        paintPage(painter, index);
    }
    return image;
}

void Printer::paintPage(QPainter &p, int index) const
{
    const int textWidthTwips = textRight() - textLeft();
    p.setPen(Qt::black);
    p.setFont(twipsFont(m_headerFont));
    const int headerHeight = lineHeight(m_headerFont);
    if (!m_header.isEmpty())
        paintHeaderLine(
            p, QRect(textLeft(), (m_margins.top - headerHeight) / 2, textWidthTwips, headerHeight),
            m_header, index + 1);
    if (!m_footer.isEmpty())
        paintHeaderLine(p,
                        QRect(textLeft(), m_pageHeight - (m_margins.bottom + headerHeight) / 2,
                              textWidthTwips, headerHeight),
                        m_footer, index + 1);
    for (const PageItem &item : m_pages[index].items) {
        const Block &block = m_doc.blocks[item.block];
        switch (block.kind) {
        case Block::Paragraph:
            p.setPen(Qt::black);
            p.setFont(twipsFont(paragraphFont(block.fontSize)));
            p.drawText(item.place, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, block.text);
            break;
        case Block::Table: {
            const QList<int> &widths = block.table.widths;
            int x = item.place.left();
            const auto paintCell = [&](int c) {
                const TableCell &cell = block.table.cell(item.row, c);
                const QRect box(x, item.place.top(), widths[c], item.place.height());
                if (cell.back.isValid())
                    p.fillRect(box, cell.back);
                p.setPen(gridLine);
                p.drawRect(box);
                p.setPen(cell.fore.isValid() ? cell.fore : QColor(Qt::black));
                p.setFont(twipsFont(cell.font.value_or(paragraphFont(10))));
                p.drawText(box.adjusted(60, 0, -60, 0),
                           (cell.data ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter
                               | Qt::TextSingleLine,
                           cell.text);
                x += widths[c];
            };
            for (int c = 0; c < item.repeated; ++c)
                paintCell(c);
            for (int c = item.from; c < item.to; ++c)
                paintCell(c);
            break;
        }
        case Block::Picture:
            p.drawImage(QRectF(item.place), block.picture);
            break;
        case Block::PageBreak:
        case Block::RawText:
            break;
        }
    }
}

// --- Preview ---------------------------------------------------------------------------------

void Printer::showPreview()
{
    if (!m_view) {
        m_view = new QPrintPreviewWidget(this);
        m_view->setObjectName(QStringLiteral("previewPages"));
        connect(m_view, &QPrintPreviewWidget::paintRequested, this,
                [this](QPrinter *printer) { render(*printer); });
        auto *bar = new QHBoxLayout;
        const auto button = [&](const char *name, const QString &text, auto action) {
            auto *b = new QPushButton(text, this);
            b->setObjectName(QLatin1String(name));
            b->setAutoDefault(false);
            connect(b, &QPushButton::clicked, this, action);
            bar->addWidget(b);
            return b;
        };
        button("firstPage", QStringLiteral("|<"), [this] { m_view->setCurrentPage(1); });
        button("previousPage", QStringLiteral("<"),
               [this] { m_view->setCurrentPage(m_view->currentPage() - 1); });
        button("nextPage", QStringLiteral(">"),
               [this] { m_view->setCurrentPage(m_view->currentPage() + 1); });
        button("lastPage", QStringLiteral(">|"),
               [this] { m_view->setCurrentPage(m_view->pageCount()); });
        button("zoomIn", QStringLiteral("+"), [this] { m_view->zoomIn(); });
        button("zoomOut", QStringLiteral("-"), [this] { m_view->zoomOut(); });
        button("fitPage", QStringLiteral("[ ]"), [this] { m_view->fitInView(); });
        m_printButton = button("printPages", m_printText, [this] { printFromPreview(); });
        m_pageLabel = new QLabel(this);
        m_pageLabel->setObjectName(QStringLiteral("pageNumber"));
        bar->addStretch();
        bar->addWidget(m_pageLabel);
        connect(m_view, &QPrintPreviewWidget::previewChanged, this, [this] {
            m_pageLabel->setText(
                QStringLiteral("%1 / %2").arg(m_view->currentPage()).arg(m_view->pageCount()));
        });
        auto *box = static_cast<QVBoxLayout *>(layout());
        box->addLayout(bar);
        box->addWidget(m_view, 1);
    }
    m_view->updatePreview();
}

int Printer::shownPage() const
{
    return m_view ? m_view->currentPage() : 1;
}

void Printer::copyPage()
{
    QApplication::clipboard()->setImage(pageImage(shownPage() - 1, 96));
}

} // namespace platform::printer
