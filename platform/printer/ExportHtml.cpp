// The HTML writer: paragraphs as <p>, tables as <table> with inline styles for widths,
// colours and fonts, page breaks as a break-before rule, raw texts as they stand.
#include "platform/printer/PrintDocument.h"

namespace platform::printer {

namespace {

const QString crlf = QStringLiteral("\r\n");

QString cssColor(const QColor &color)
{
    return color.name(QColor::HexRgb);
}

QString cssFont(const QFont &font)
{
    QString css = QStringLiteral("font-family:'%1';font-size:%2pt;")
                      .arg(QString(font.family()).remove(u'\'').toHtmlEscaped())
                      .arg(font.pointSizeF());
    if (font.bold())
        css += QStringLiteral("font-weight:bold;");
    if (font.italic())
        css += QStringLiteral("font-style:italic;");
    if (font.underline())
        css += QStringLiteral("text-decoration:underline;");
    return css;
}

// Twips as CSS points (20 twips to the point).
QString points(int twips)
{
    return QString::number(twips / 20.0) + QStringLiteral("pt");
}

void writeTable(QString &out, const TableBlock &table)
{
    const QList<int> widths = columnWidths(table);
    out += QStringLiteral("<table style='border-collapse:collapse;' cellpadding='2'>") + crlf;
    for (int r = 0; r < table.rows; ++r) {
        out += QStringLiteral("<tr>");
        for (int c = 0; c < table.cols; ++c) {
            const TableCell &cell = table.cell(r, c);
            QString style = QStringLiteral("width:") + points(widths[c]) + u';';
            if (cell.back.isValid())
                style += QStringLiteral("background-color:") + cssColor(cell.back) + u';';
            if (cell.fore.isValid())
                style += QStringLiteral("color:") + cssColor(cell.fore) + u';';
            if (cell.font)
                style += cssFont(*cell.font);
            if (cell.data)
                style += QStringLiteral("text-align:right;");
            out += QStringLiteral("<td style=\"") + style + QStringLiteral("\">")
                   + cell.text.toHtmlEscaped() + QStringLiteral("</td>");
        }
        out += QStringLiteral("</tr>") + crlf;
    }
    out += QStringLiteral("</table>") + crlf;
}

} // namespace

QByteArray htmlText(const PrintDocument &doc, const QString &title)
{
    QString out = QStringLiteral("<!DOCTYPE html>") + crlf + QStringLiteral("<html>") + crlf
                  + QStringLiteral("<head>") + crlf + QStringLiteral("<meta charset='utf-8'>")
                  + crlf + QStringLiteral("<title>") + title.toHtmlEscaped()
                  + QStringLiteral("</title>") + crlf + QStringLiteral("</head>") + crlf
                  + QStringLiteral("<body>") + crlf;
    for (const Block &block : doc.blocks) {
        switch (block.kind) {
        case Block::Paragraph:
            out += QStringLiteral("<p style='font-size:%1pt;'>").arg(block.fontSize)
                   + block.text.toHtmlEscaped() + QStringLiteral("</p>") + crlf;
            break;
        case Block::Table:
            writeTable(out, block.table);
            break;
        case Block::PageBreak:
            out += QStringLiteral("<div style='page-break-before:always;'></div>") + crlf;
            break;
        case Block::RawText:
            out += block.text;
            break;
        case Block::Picture:
            break; // page matter: an export takes its pictures from raw texts
        }
    }
    out += QStringLiteral("</body>") + crlf + QStringLiteral("</html>") + crlf;
    return out.toUtf8();
}

} // namespace platform::printer
