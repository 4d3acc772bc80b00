#include "platform/chart/Picture.h"

#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QPainter>
#include <QPrinter>
#include <QSaveFile>
#include <QtEndian>

namespace platform::chart {

namespace {

bool writeWithQt(const QImage &image, const QString &path, const char *format, int quality)
{
    if (image.isNull() || path.isEmpty())
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    QImageWriter writer(&file, format);
    if (quality >= 0)
        writer.setQuality(quality);
    // JPEG and BMP have no alpha channel: transparent parts become white, not black.
    QImage opaque = image;
    if (image.hasAlphaChannel() && qstrcmp(format, "png") != 0) {
        opaque = QImage(image.size(), QImage::Format_RGB32);
        opaque.fill(Qt::white);
        QPainter painter(&opaque);
        painter.drawImage(0, 0, image);
    }
    if (!writer.write(opaque)) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

void put16(QByteArray &out, quint16 value)
{
    char bytes[2];
    qToLittleEndian(value, bytes);
    out.append(bytes, 2);
}

void put32(QByteArray &out, quint32 value)
{
    char bytes[4];
    qToLittleEndian(value, bytes);
    out.append(bytes, 4);
}

quint16 get16(const QByteArray &in, qsizetype at)
{
    return qFromLittleEndian<quint16>(in.constData() + at);
}

quint32 get32(const QByteArray &in, qsizetype at)
{
    return qFromLittleEndian<quint32>(in.constData() + at);
}

constexpr quint32 PlaceableKey = 0x9AC6CDD7;
constexpr quint16 StretchDibFunction = 0x0F43;
constexpr quint16 DibStretchBltFunction = 0x0B41;
constexpr quint32 SourceCopy = 0x00CC0020;

// A 24-bit bottom-up DIB: BITMAPINFOHEADER and the rows, each padded to four bytes.
QByteArray dibOf(const QImage &source)
{
    const QImage image = source.convertToFormat(QImage::Format_RGB888);
    const int width = image.width();
    const int height = image.height();
    const int stride = (width * 3 + 3) & ~3;
    QByteArray dib;
    dib.reserve(40 + qsizetype(stride) * height);
    put32(dib, 40); // header size
    put32(dib, quint32(width));
    put32(dib, quint32(height)); // positive: bottom-up
    put16(dib, 1);               // planes
    put16(dib, 24);              // bits per pixel
    put32(dib, 0);               // BI_RGB
    put32(dib, quint32(stride * height));
    put32(dib, 3780); // 96 dpi in pixels per metre
    put32(dib, 3780);
    put32(dib, 0);
    put32(dib, 0);
    QByteArray row(stride, '\0');
    for (int y = height - 1; y >= 0; --y) {
        const uchar *line = image.constScanLine(y);
        for (int x = 0; x < width; ++x) {
            row[3 * x] = char(line[3 * x + 2]); // blue, green, red
            row[3 * x + 1] = char(line[3 * x + 1]);
            row[3 * x + 2] = char(line[3 * x]);
        }
        dib.append(row);
    }
    return dib;
}

} // namespace

bool writeJpeg(const QImage &image, const QString &path, int quality)
{
    return writeWithQt(image, path, "jpeg", qBound(0, quality, 100));
}

bool writePng(const QImage &image, const QString &path)
{
    return writeWithQt(image, path, "png", -1);
}

bool writeBmp(const QImage &image, const QString &path)
{
    return writeWithQt(image, path, "bmp", -1);
}

QByteArray metafileBytes(const QImage &image)
{
    if (image.isNull() || image.width() > 32767 || image.height() > 32767)
        return {};
    const quint16 width = quint16(image.width());
    const quint16 height = quint16(image.height());
    const QByteArray dib = dibOf(image);

    // Records: sizes in 16-bit words, including the 3-word size and function fields.
    QByteArray records;
    put32(records, 5); // META_SETWINDOWORG (y, x)
    put16(records, 0x020B);
    put16(records, 0);
    put16(records, 0);
    put32(records, 5); // META_SETWINDOWEXT (height, width)
    put16(records, 0x020C);
    put16(records, height);
    put16(records, width);
    const quint32 stretchWords = quint32((28 + dib.size()) / 2);
    put32(records, stretchWords);
    put16(records, StretchDibFunction);
    put32(records, SourceCopy);
    put16(records, 0);      // DIB_RGB_COLORS
    put16(records, height); // source height, width, y, x
    put16(records, width);
    put16(records, 0);
    put16(records, 0);
    put16(records, height); // destination height, width, y, x
    put16(records, width);
    put16(records, 0);
    put16(records, 0);
    records.append(dib);
    put32(records, 3); // META_EOF
    put16(records, 0);

    QByteArray out;
    // Placeable header: key, handle, bounds, units per inch, reserved, checksum.
    put32(out, PlaceableKey);
    put16(out, 0);
    put16(out, 0);
    put16(out, 0);
    put16(out, width);
    put16(out, height);
    put16(out, 96);
    put32(out, 0);
    quint16 checksum = 0;
    for (int i = 0; i < 10; ++i)
        checksum ^= get16(out, 2 * i);
    put16(out, checksum);
    // Metafile header: memory metafile, 9-word header, version 3.0, size in words, no objects,
    // the largest record, no parameters.
    put16(out, 1);
    put16(out, 9);
    put16(out, 0x0300);
    put32(out, quint32((18 + records.size()) / 2));
    put16(out, 0);
    put32(out, stretchWords);
    put16(out, 0);
    out.append(records);
    return out;
}

bool writeMetafile(const QImage &image, const QString &path)
{
    const QByteArray bytes = metafileBytes(image);
    if (bytes.isEmpty() || path.isEmpty())
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

QImage metafileBitmap(const QByteArray &bytes)
{
    qsizetype at = 0;
    if (bytes.size() >= 22 && get32(bytes, 0) == PlaceableKey)
        at = 22;
    if (bytes.size() < at + 18)
        return {};
    const quint16 type = get16(bytes, at);
    const quint16 headerWords = get16(bytes, at + 2);
    if ((type != 1 && type != 2) || headerWords != 9)
        return {};
    at += 18;
    while (at + 6 <= bytes.size()) {
        const quint32 words = get32(bytes, at);
        const quint16 function = get16(bytes, at + 4);
        if (function == 0 || words < 3 || qsizetype(words) * 2 > bytes.size() - at)
            break;
        const qsizetype end = at + qsizetype(words) * 2;
        // StretchDIB has 11 parameter words before its DIB, DIBStretchBlt 10.
        qsizetype dibAt = -1;
        if (function == StretchDibFunction)
            dibAt = at + 6 + 22;
        else if (function == DibStretchBltFunction)
            dibAt = at + 6 + 20;
        if (dibAt >= 0 && dibAt + 40 <= end) {
            const QByteArray dib = bytes.mid(dibAt, end - dibAt);
            const quint32 headerSize = get32(dib, 0);
            const quint16 bits = get16(dib, 14);
            const quint32 colors = get32(dib, 32);
            quint32 palette = colors ? colors : (bits <= 8 ? (1u << bits) : 0);
            if (headerSize < 40 || headerSize > quint32(dib.size()) || palette > 256)
                return {};
            // Make it a BMP file: "BM", size, reserved, offset of the pixels.
            QByteArray file("BM");
            put32(file, quint32(14 + dib.size()));
            put32(file, 0);
            put32(file, 14 + headerSize + palette * 4);
            file.append(dib);
            return QImage::fromData(file, "BMP");
        }
        at = end;
    }
    return {};
}

QImage readMetafile(const QString &path)
{
    QFile file(path);
    // Metafiles of pictures are small; refuse anything absurd.
    if (!file.open(QIODevice::ReadOnly) || file.size() > 256 * 1024 * 1024)
        return {};
    return metafileBitmap(file.readAll());
}

bool printPicture(const QImage &image, QPrinter &printer)
{
    if (image.isNull() || !printer.isValid())
        return false;
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    const QRect page = painter.viewport();
    QSize size = image.size();
    size.scale(page.size(), Qt::KeepAspectRatio);
    const QRect target(page.x() + (page.width() - size.width()) / 2, page.y(), size.width(),
                       size.height());
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawImage(target, image);
    return painter.end();
}

} // namespace platform::chart
