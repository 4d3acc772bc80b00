#pragma once

#include <QString>
#include <QStringList>

// What a PDF file holds, read back with poppler's command-line tools (pdfinfo, pdftotext).
namespace testing_support {

// The number of pages; -1 when the file cannot be read.
int pdfPageCount(const QString &path);
// The text of each page, in page order (empty when the file cannot be read).
QStringList pdfPageTexts(const QString &path);

} // namespace testing_support
