#include "platform/olap/UniqueName.h"

namespace platform::olap {

QString quoteName(QStringView name)
{
    QString quoted;
    quoted.reserve(name.size() + 2);
    quoted += QLatin1Char('[');
    for (QChar c : name) {
        quoted += c;
        if (c == QLatin1Char(']'))
            quoted += c;
    }
    quoted += QLatin1Char(']');
    return quoted;
}

bool splitUniqueName(QStringView text, QStringList &names)
{
    names.clear();
    const qsizetype n = text.size();
    qsizetype i = 0;
    auto skipBlanks = [&] {
        while (i < n && text[i].isSpace())
            ++i;
    };
    skipBlanks();
    if (i == n)
        return false;
    while (true) {
        QString part;
        if (text[i] == QLatin1Char('[')) {
            ++i;
            bool closed = false;
            while (i < n) {
                if (text[i] == QLatin1Char(']')) {
                    if (i + 1 < n && text[i + 1] == QLatin1Char(']')) {
                        part += QLatin1Char(']');
                        i += 2;
                        continue;
                    }
                    ++i;
                    closed = true;
                    break;
                }
                part += text[i++];
            }
            if (!closed)
                return false;
        } else {
            while (i < n && (text[i].isLetterOrNumber() || text[i] == QLatin1Char('_')))
                part += text[i++];
            if (part.isEmpty())
                return false;
        }
        names.append(part);
        skipBlanks();
        if (i == n)
            return true;
        if (text[i] != QLatin1Char('.'))
            return false;
        ++i;
        skipBlanks();
        if (i == n)
            return false;
    }
}

QString joinUniqueName(const QStringList &names)
{
    QString joined;
    for (const QString &name : names) {
        if (!joined.isEmpty())
            joined += QLatin1Char('.');
        joined += quoteName(name);
    }
    return joined;
}

} // namespace platform::olap
