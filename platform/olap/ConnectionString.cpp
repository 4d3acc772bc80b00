#include "platform/olap/ConnectionString.h"

#include "platform/runtime/Error.h"

#include <QRegularExpression>

namespace platform::olap {

namespace {

QString normalizedKey(const QString &key)
{
    QString k;
    for (QChar c : key) {
        if (!c.isSpace())
            k += c.toLower();
    }
    return k;
}

} // namespace

ConnectionString ConnectionString::parse(const QString &text)
{
    ConnectionString result;
    bool haveSource = false;
    bool haveProvider = false;
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n) {
        const qsizetype eq = text.indexOf(QLatin1Char('='), i);
        const qsizetype semi = text.indexOf(QLatin1Char(';'), i);
        if (eq < 0 || (semi >= 0 && semi < eq)) {
            // A part without "=": only blanks are allowed there.
            const qsizetype end = semi < 0 ? n : semi;
            if (!text.mid(i, end - i).trimmed().isEmpty()) {
                throw Error(QStringLiteral("The connection string has a part without \"=\": "
                                           "\"%1\"")
                                .arg(text.mid(i, end - i).trimmed()));
            }
            i = end + 1;
            continue;
        }
        const QString key = normalizedKey(text.mid(i, eq - i));
        i = eq + 1;
        while (i < n && text[i].isSpace())
            ++i;
        QString value;
        if (i < n && (text[i] == QLatin1Char('"') || text[i] == QLatin1Char('\''))) {
            const QChar quote = text[i++];
            bool closed = false;
            while (i < n) {
                if (text[i] == quote) {
                    if (i + 1 < n && text[i + 1] == quote) {
                        value += quote;
                        i += 2;
                        continue;
                    }
                    ++i;
                    closed = true;
                    break;
                }
                value += text[i++];
            }
            if (!closed) {
                throw Error(QStringLiteral("The connection string has an unclosed quote: \"%1\"")
                                .arg(text));
            }
            while (i < n && text[i].isSpace())
                ++i;
            if (i < n && text[i] != QLatin1Char(';')) {
                throw Error(QStringLiteral("The connection string has text after a quoted "
                                           "value: \"%1\"")
                                .arg(text));
            }
            ++i;
        } else {
            const qsizetype end = semi < 0 ? n : semi;
            value = text.mid(i, end - i).trimmed();
            i = end + 1;
        }
        if (key == QLatin1String("datasource")) {
            result.dataSource = value;
            haveSource = true;
        } else if (key == QLatin1String("provider")) {
            result.provider = value;
            haveProvider = true;
        }
    }
    if (!haveSource || result.dataSource.isEmpty()) {
        throw Error(QStringLiteral("The connection string names no data source "
                                   "(\"Data source=<cube file or server>\"): \"%1\"")
                        .arg(text));
    }
    if (!haveProvider || result.provider.isEmpty()) {
        throw Error(QStringLiteral("The connection string names no provider "
                                   "(\"Provider=MSOLAP\"): \"%1\"")
                        .arg(text));
    }
    static const QRegularExpression msolap(QStringLiteral("^MSOLAP(\\.\\d+)?$"),
                                           QRegularExpression::CaseInsensitiveOption);
    if (!msolap.match(result.provider).hasMatch()) {
        throw Error(QStringLiteral("Unknown provider \"%1\": the only provider is MSOLAP")
                        .arg(result.provider));
    }
    return result;
}

} // namespace platform::olap
