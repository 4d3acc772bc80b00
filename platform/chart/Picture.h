#pragma once

#include <QImage>
#include <QString>

class QPrinter;

// Picture files of the charts, written under exactly the path given (no extension is added or
// changed) and replaced whole: a failed write leaves any earlier file as it was.
namespace platform::chart {

// JPEG (quality 0..100), PNG and BMP through Qt's image writers. False when the file cannot be
// written or the image is null.
bool writeJpeg(const QImage &image, const QString &path, int quality);
bool writePng(const QImage &image, const QString &path);
bool writeBmp(const QImage &image, const QString &path);

// A Windows metafile holding the picture as one bitmap record: the placeable header (bounds in
// pixels at 96 per inch), the metafile header, the window origin and extent, a StretchDIB record
// with a 24-bit bottom-up DIB, and the end record. At most 32767 pixels each way.
bool writeMetafile(const QImage &image, const QString &path);
QByteArray metafileBytes(const QImage &image);

// The bitmap of a metafile as writeMetafile writes it (the first StretchDIB or DIBStretchBlt
// record of a placeable or plain metafile); a null image for anything else.
QImage readMetafile(const QString &path);
QImage metafileBitmap(const QByteArray &bytes);

// Prints the picture on one page of `printer`, as large as the page allows, proportions kept.
bool printPicture(const QImage &image, QPrinter &printer);

} // namespace platform::chart
