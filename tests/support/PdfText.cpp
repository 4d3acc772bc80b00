#include "tests/support/PdfText.h"

#include <QProcess>
#include <QRegularExpression>

namespace testing_support {

namespace {

QString output(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(60000) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0)
        return QString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

int pdfPageCount(const QString &path)
{
    static const QRegularExpression pages(QStringLiteral("^Pages:\\s+(\\d+)"),
                                          QRegularExpression::MultilineOption);
    const QRegularExpressionMatch m = pages.match(output(QStringLiteral("pdfinfo"), {path}));
    return m.hasMatch() ? m.captured(1).toInt() : -1;
}

QStringList pdfPageTexts(const QString &path)
{
    // pdftotext ends each page with a form feed.
    QStringList texts =
        output(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")})
            .split(u'\f');
    if (!texts.isEmpty() && texts.last().trimmed().isEmpty())
        texts.removeLast();
    return texts;
}

} // namespace testing_support
