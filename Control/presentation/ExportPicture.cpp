// The chart's picture at the end of a printed or exported document: which chart, its size on
// the page, whether it starts a new page, and how an export file refers to it or embeds it.
#include "Control/core/FileNames.h"
#include "Control/core/PelmoraC02.h"
#include "platform/chart/Chart2D.h"
#include "platform/chart/Chart3D.h"
#include "platform/forms/MsgBox.h"
#include "platform/forms/ScreenTwips.h"
#include "platform/printer/Printer.h"
#include "platform/runtime/Error.h"
#include "platform/widgets/CommonDialog.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QUrl>

#include <cmath>
#include <memory>

using platform::printer::Printer;

namespace {

const QString crlf = QStringLiteral("\r\n");

// The path for an RTF field instruction: each backslash four times (the field's own escaping
// on top of RTF's), braces and characters beyond ASCII escaped so the groups stay balanced.
QString rtfFieldPath(const QString &path)
{
    QString out;
    for (const QChar ch : path) {
        if (ch == u'\\')
            out += QStringLiteral("\\\\\\\\");
        else
            out += platform::printer::rtfEscape(QString(ch));
    }
    return out;
}

// Gives the chart the size in twips while its picture is saved, then its own size back: the
// chart on the screen keeps the size the user sees.
template <typename Chart>
void saveSized(Chart *chart, const QString &file, double widthTwips, double heightTwips)
{
    const QSize shown = chart->size();
    const bool wasResized = chart->testAttribute(Qt::WA_Resized);
    chart->resize(std::max(1, platform::forms::twipsToPixelsX(widthTwips)),
                  std::max(1, platform::forms::twipsToPixelsY(heightTwips)));
    const bool saved = chart->saveJpeg(file, 100);
    chart->resize(shown);
    chart->setAttribute(Qt::WA_Resized, wasResized);
    if (!saved)
        throw platform::Error(QStringLiteral("Cannot save the chart picture ") + file);
}

} // namespace

void PelmoraC02::previewChart(Printer *printer)
{
    if (!previewOptions.PreviewChart)
        return;
    if (chartVisible(grf2d))
        previewChart2d(printer);
    else if (chartVisible(grf3d))
        previewChart3d(printer);
}

// One procedure for both charts: the chart saves its picture sized for the page, the picture
// is drawn, and an export refers to it or embeds it.
template <typename Chart>
static void previewChartOf(PelmoraC02 &control, Chart *chart, Printer *printer)
{
    printer->setText(QString());
    const bool exporting = !printer->exportFile().isEmpty();
    const int filterIndex = control.dlg->filterIndex();
    // A preview's picture lives in a private folder of its own for as long as it is drawn; an
    // export's lies beside the export file.
    std::unique_ptr<QTemporaryDir> privateDir;
    QString file;
    if (exporting) {
        file = pelmora::changeExtension(printer->exportFile(), QStringLiteral(".jpg"));
    } else {
        privateDir = std::make_unique<QTemporaryDir>();
        if (!privateDir->isValid())
            throw platform::Error(QStringLiteral("Cannot make a folder for the chart picture"));
        file = privateDir->filePath(QStringLiteral("chart.jpg"));
    }

    bool newPage = control.previewOptions.PreviewChartInNewPage;
    const int topMargin = printer->marginTop();
    const double room = std::rint(printer->pageHeight()
                                  - (printer->currentY() + printer->marginBottom() + topMargin
                                     + printer->spaceBefore() + printer->spaceAfter() + 200));
    if (!newPage && room <= 2000)
        newPage = platform::forms::msgBox(control.message(20), platform::forms::YesNo)
                  == platform::forms::Yes;

    const double textWidth = printer->pageWidth() - printer->marginLeft() - printer->marginRight()
                             - printer->indentLeft();
    double width = 0;
    double height = 0;
    if (newPage) {
        if (!(exporting && filterIndex == 1))
            printer->newPage();
        width = printer->pageWidth() - (printer->marginLeft() + 2000 + printer->marginRight());
        height = width * 0.618;
    } else {
        // The room counts the top margin although the position already starts below it: the
        // picture takes the space really left down to the bottom margin (less the reserve),
        // no more, and not more than the text's width either.
        height = std::max(room + topMargin, 720.0);
        width = height * 1.618;
        if (width > textWidth) {
            width = textWidth;
            height = width / 1.618;
        }
    }
    saveSized(chart, file, width, height);
    const QImage picture(file);
    if (picture.isNull())
        throw platform::Error(QStringLiteral("Cannot read the chart picture ") + file);
    printer->drawPicture(picture, printer->marginLeft() + printer->indentLeft(),
                         printer->currentY(), int(std::lround(width)), int(std::lround(height)));
    if (exporting) {
        control.exportPicture(printer, file, filterIndex);
        if (filterIndex == 3)
            QFile::remove(file);
    }
    // The private folder and its picture go with privateDir.
}

void PelmoraC02::previewChart2d(Printer *printer)
{
    previewChartOf(*this, grf2d, printer);
}

void PelmoraC02::previewChart3d(Printer *printer)
{
    previewChartOf(*this, grf3d, printer);
}

void PelmoraC02::exportPicture(Printer *printer, const QString &pictureFile, int filterIndex)
{
    if (printer->exportFile().isEmpty())
        return;
    switch (filterIndex) {
    case 1: {
        const long margin = std::lrint(printer->indentLeft() / 1440.0);
        // The full path as a file URL, escaped for the attribute.
        const QString url = QUrl::fromLocalFile(QDir::cleanPath(QDir(pictureFile).absolutePath()))
                                .toString(QUrl::FullyEncoded)
                                .toHtmlEscaped()
                                .replace(u'\'', QStringLiteral("&#39;"));
        printer->insertRawText(crlf + QStringLiteral("<img style='margin-left:")
                               + QString::number(margin) + QStringLiteral("in;' src='") + url
                               + QStringLiteral("'>") + crlf);
        break;
    }
    case 2:
        printer->insertRawText(crlf + QStringLiteral("{\\field{\\*\\fldinst { INCLUDEPICTURE ")
                               + rtfFieldPath(pictureFile)
                               + QStringLiteral(" \\\\* MERGEFORMAT \\\\d }}}") + crlf);
        break;
    case 3: {
        // The picture goes into the RTF text directly; the user's clipboard is not touched.
        QFile file(pictureFile);
        if (!file.open(QIODevice::ReadOnly))
            throw platform::Error(QStringLiteral("Cannot read the chart picture ") + pictureFile);
        const QByteArray jpeg = file.readAll();
        const QImage image = QImage::fromData(jpeg, "JPEG");
        if (image.isNull())
            throw platform::Error(QStringLiteral("Invalid chart picture ") + pictureFile);
        const auto twips = [](double pixels) { return int(std::lround(pixels)); };
        const QString picture = platform::printer::rtfPicture(
            jpeg, image.size(), twips(platform::forms::pixelsToTwipsX(image.width())),
            twips(platform::forms::pixelsToTwipsY(image.height())));
        printer->insertRawText(crlf + QStringLiteral("{\\pard\\li%1 ").arg(printer->indentLeft())
                               + picture + QStringLiteral("\\par}") + crlf);
        break;
    }
    default:
        break;
    }
}
