// The RTF writer: a font and a colour table, paragraphs, table rows with \trowd and \cellx,
// page breaks, raw texts as they stand, and the picture group of an embedded JPEG.
#include "platform/printer/PrintDocument.h"

#include <QSize>

#include <cmath>

namespace platform::printer {

namespace {

const QString crlf = QStringLiteral("\r\n");

// The fonts and colours a document uses, numbered in the order met.
struct Tables
{
    QStringList fonts{QStringLiteral("Arial")};
    QList<QColor> colors;

    int font(const QFont &f)
    {
        qsizetype i = fonts.indexOf(f.family());
        if (i < 0) {
            fonts.append(f.family());
            i = fonts.size() - 1;
        }
        return int(i);
    }
    // 1-based: colour 0 is the reader's default.
    int color(const QColor &c)
    {
        const QColor rgb = c.toRgb();
        qsizetype i = colors.indexOf(rgb);
        if (i < 0) {
            colors.append(rgb);
            i = colors.size() - 1;
        }
        return int(i) + 1;
    }
};

int halfPoints(double points)
{
    return int(std::lround(points * 2));
}

QString fontCodes(Tables &tables, const std::optional<QFont> &font)
{
    if (!font)
        return QStringLiteral("\\f0\\fs20");
    QString codes =
        QStringLiteral("\\f%1\\fs%2").arg(tables.font(*font)).arg(halfPoints(font->pointSizeF()));
    if (font->bold())
        codes += QStringLiteral("\\b");
    if (font->italic())
        codes += QStringLiteral("\\i");
    if (font->underline())
        codes += QStringLiteral("\\ul");
    return codes;
}

// A table wider than the text `available` goes on in bands of columns, each from a new page
// with the header columns in front, as the pages print it.
QString tableText(Tables &tables, const TableBlock &table, int available)
{
    const QList<int> widths = columnWidths(table);
    const ColumnBands cut = columnBands(widths, table.headerCols, available);
    QString out;
    for (qsizetype b = 0; b < cut.bands.size(); ++b) {
        const QList<int> columns = bandColumns(cut, cut.bands[b]);
        if (b > 0)
            out += QStringLiteral("\\page") + crlf;
        for (int r = 0; r < table.rows; ++r) {
            out += QStringLiteral("\\trowd\\trgaph60");
            int right = 0;
            for (int c : columns) {
                const TableCell &cell = table.cell(r, c);
                if (cell.back.isValid())
                    out += QStringLiteral("\\clcbpat%1").arg(tables.color(cell.back));
                right += widths[c];
                out += QStringLiteral("\\cellx%1").arg(right);
            }
            out += crlf;
            for (int c : columns) {
                const TableCell &cell = table.cell(r, c);
                out += QStringLiteral("\\pard\\intbl")
                       + (cell.data ? QStringLiteral("\\qr{") : QStringLiteral("\\ql{"))
                       + fontCodes(tables, cell.font);
                if (cell.fore.isValid())
                    out += QStringLiteral("\\cf%1").arg(tables.color(cell.fore));
                out += u' ' + rtfEscape(cell.text) + QStringLiteral("}\\cell") + crlf;
            }
            out += QStringLiteral("\\row") + crlf;
        }
        out += QStringLiteral("\\pard") + crlf;
    }
    return out;
}

} // namespace

QString rtfEscape(const QString &text)
{
    QString out;
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u == u'\\' || u == u'{' || u == u'}')
            out += u'\\' + QString(ch);
        else if (u == u'\r' || u == u'\n')
            continue;
        else if (u < 0x80)
            out += ch;
        else
            out += QStringLiteral("\\u%1?").arg(qint16(u));
    }
    return out;
}

QString rtfPicture(const QByteArray &jpeg, const QSize &pixels, int widthTwips, int heightTwips)
{
    QString out = QStringLiteral("{\\pict\\jpegblip\\picw%1\\pich%2\\picwgoal%3\\pichgoal%4")
                      .arg(pixels.width())
                      .arg(pixels.height())
                      .arg(widthTwips)
                      .arg(heightTwips)
                  + crlf;
    const QByteArray hex = jpeg.toHex();
    for (qsizetype at = 0; at < hex.size(); at += 128)
        out += QString::fromLatin1(hex.mid(at, 128)) + crlf;
    return out + u'}';
}

QByteArray rtfText(const PrintDocument &doc, int pageWidth, int pageHeight, int marginLeft,
                   int marginRight, int marginTop, int marginBottom)
{
    Tables tables;
    QString body;
    for (const Block &block : doc.blocks) {
        switch (block.kind) {
        case Block::Paragraph:
            body += QStringLiteral("{\\pard\\f0\\fs%1 ").arg(halfPoints(block.fontSize))
                    + rtfEscape(block.text) + QStringLiteral("\\par}") + crlf;
            break;
        case Block::Table:
            body += tableText(tables, block.table, pageWidth - marginLeft - marginRight);
            break;
        case Block::PageBreak:
            body += QStringLiteral("\\page") + crlf;
            break;
        case Block::RawText:
            body += block.text;
            break;
        case Block::Picture:
            break; // page matter: an export takes its pictures from raw texts
        }
    }
    QString out = QStringLiteral("{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033") + crlf
                  + QStringLiteral("{\\fonttbl");
    for (int i = 0; i < tables.fonts.size(); ++i)
        out += QStringLiteral("{\\f%1 %2;}").arg(i).arg(rtfEscape(tables.fonts[i]));
    out += u'}' + crlf + QStringLiteral("{\\colortbl;");
    for (const QColor &c : tables.colors)
        out +=
            QStringLiteral("\\red%1\\green%2\\blue%3;").arg(c.red()).arg(c.green()).arg(c.blue());
    out += u'}' + crlf
           + QStringLiteral("\\paperw%1\\paperh%2\\margl%3\\margr%4\\margt%5\\margb%6")
                 .arg(pageWidth)
                 .arg(pageHeight)
                 .arg(marginLeft)
                 .arg(marginRight)
                 .arg(marginTop)
                 .arg(marginBottom)
           + crlf + body + u'}' + crlf;
    return out.toLatin1();
}

} // namespace platform::printer
