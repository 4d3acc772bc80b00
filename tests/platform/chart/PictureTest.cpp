// Pictures of the chart: files in the four formats under exactly the path given, a metafile
// that other programs can read, a printout and the clipboard copy.
#include "platform/chart/Chart2D.h"
#include "platform/chart/Picture.h"
#include "platform/forms/Screen.h"

#include "tests/platform/chart/ChartTestSupport.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QPrinter>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <functional>
#include <vector>

using namespace platform::chart;

namespace {

quint16 word(const QByteArray &bytes, qsizetype at)
{
    return qFromLittleEndian<quint16>(bytes.constData() + at);
}

quint32 dword(const QByteArray &bytes, qsizetype at)
{
    return qFromLittleEndian<quint32>(bytes.constData() + at);
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void makeChart(Chart2D &chart)
{
    chart.resize(400, 300);
    chart_test::fillData(chart.chartGroups().item(1), 3, 4);
    chart.chartGroups().item(1).setChartType(ChartType::Bar);
    chart.header().setText("Pictures");
}

struct Format
{
    const char *name;
    const char *file; // deliberately without the usual extension
    const char *reader;
    std::function<bool(Chart2D &, const QString &)> save;
};

} // namespace

TEST(ChartPicture, FilesInEveryFormatUnderExactlyThePathGiven)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    Chart2D chart;
    makeChart(chart);
    const std::vector<Format> formats = {
        {"JPEG", "chart.picture", "jpeg",
         [](Chart2D &c, const QString &p) { return c.saveJpeg(p, 80); }},
        {"PNG", "chart", "png", [](Chart2D &c, const QString &p) { return c.savePng(p); }},
        {"BMP", "chart.jpg", "bmp",
         [](Chart2D &c, const QString &p) { return c.savePicture(p, PictureKind::Bitmap); }},
    };
    for (const Format &format : formats) {
        const QString path = dir.filePath(format.file);
        ASSERT_TRUE(format.save(chart, path)) << format.name;
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{format.file}) << format.name;
        QImageReader reader(path);
        EXPECT_EQ(reader.format(), QByteArray(format.reader)) << format.name;
        const QImage image = reader.read();
        EXPECT_EQ(image.size(), QSize(400, 300)) << format.name;
        EXPECT_GT(chart_test::pixelsUnlike(image, Qt::white), 1000) << format.name;
        QFile::remove(path);
    }

    // The metafile: placeable header, metafile header, a StretchDIB record holding the whole
    // picture, the end record.
    const QString wmf = dir.filePath("chart.emf");
    ASSERT_TRUE(chart.savePicture(wmf, PictureKind::Metafile));
    const QByteArray bytes = readAll(wmf);
    ASSERT_GT(bytes.size(), 22 + 18 + 400 * 300 * 3);
    EXPECT_EQ(dword(bytes, 0), 0x9AC6CDD7u);
    EXPECT_EQ(word(bytes, 10), 400); // right
    EXPECT_EQ(word(bytes, 12), 300); // bottom
    quint16 checksum = 0;
    for (int i = 0; i < 10; ++i)
        checksum ^= word(bytes, 2 * i);
    EXPECT_EQ(word(bytes, 20), checksum);
    EXPECT_EQ(word(bytes, 22), 1);      // memory metafile
    EXPECT_EQ(word(bytes, 24), 9);      // header words
    EXPECT_EQ(word(bytes, 26), 0x0300); // version
    EXPECT_EQ(qsizetype(dword(bytes, 28)) * 2, bytes.size() - 22);
    qsizetype at = 22 + 18;
    quint32 largest = 0;
    QList<quint16> functions;
    while (at + 6 <= bytes.size()) {
        const quint32 words = dword(bytes, at);
        ASSERT_GE(words, 3u);
        functions.append(word(bytes, at + 4));
        largest = std::max(largest, words);
        if (functions.back() == 0x0F43) {
            EXPECT_EQ(dword(bytes, at + 6), 0x00CC0020u); // SRCCOPY
            EXPECT_EQ(word(bytes, at + 12), 300);         // source height, width
            EXPECT_EQ(word(bytes, at + 14), 400);
            EXPECT_EQ(dword(bytes, at + 28), 40u);    // BITMAPINFOHEADER
            EXPECT_EQ(word(bytes, at + 28 + 14), 24); // bits per pixel
        }
        at += qsizetype(words) * 2;
    }
    EXPECT_EQ(at, bytes.size());
    EXPECT_EQ(functions, (QList<quint16>{0x020B, 0x020C, 0x0F43, 0x0000}));
    EXPECT_EQ(dword(bytes, 22 + 12), largest); // the header's largest record

    // Its bitmap reads back as the picture.
    const QImage back = readMetafile(wmf);
    const QImage shown = chart.picture().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(back.size(), shown.size());
    EXPECT_EQ(back.convertToFormat(QImage::Format_RGB32), shown);
}

TEST(ChartPicture, WritesThatCannotBeDoneAnswerFalse)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    Chart2D chart;
    makeChart(chart);
    const QString nowhere = dir.filePath("missing/folder/chart.png");
    EXPECT_FALSE(chart.savePng(nowhere));
    EXPECT_FALSE(chart.saveJpeg(nowhere));
    EXPECT_FALSE(chart.savePicture(nowhere, PictureKind::Metafile));
    EXPECT_FALSE(chart.savePicture(dir.filePath("chart.x"), 3)); // no such kind
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("chart.x")));
    EXPECT_TRUE(metafileBytes(QImage()).isEmpty());
    EXPECT_TRUE(metafileBitmap(QByteArray("not a metafile")).isNull());
    EXPECT_TRUE(metafileBitmap(metafileBytes(QImage(4, 4, QImage::Format_RGB32)).left(60))
                    .isNull()); // cut short
}

TEST(ChartPicture, PrintsOnePage)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    Chart2D chart;
    makeChart(chart);
    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath("chart.pdf"));
    ASSERT_TRUE(chart.printChart(printer));
    const QByteArray pdf = readAll(dir.filePath("chart.pdf"));
    EXPECT_TRUE(pdf.startsWith("%PDF"));
    EXPECT_GT(pdf.size(), 2000);
}

TEST(ChartPicture, CopiesThePictureToTheClipboard)
{
    Chart2D chart;
    makeChart(chart);
    platform::forms::clipboardClear();
    ASSERT_TRUE(chart.copyToClipboard());
    const QImage copied = platform::forms::clipboardPicture();
    EXPECT_EQ(copied.size(), QSize(400, 300));
}

TEST(ChartPicture, ANeverShownChartHasAPictureOfItsOwn)
{
    Chart2D chart; // neither shown nor resized
    EXPECT_EQ(chart.picture().size(), QSize(640, 480));
}
