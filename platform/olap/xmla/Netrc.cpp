#include "platform/olap/xmla/Netrc.h"

#include <QDir>
#include <QFile>

namespace platform::olap::xmla {

namespace {

class Tokens
{
public:
    explicit Tokens(QStringView text) : m_text(text) {}

    // The next token, or a null string at the end.
    QString next()
    {
        while (m_pos < m_text.size() && m_text[m_pos].isSpace())
            ++m_pos;
        if (m_pos >= m_text.size())
            return {};
        QString token(QLatin1StringView(""));
        if (m_text[m_pos] == u'"') {
            ++m_pos;
            while (m_pos < m_text.size() && m_text[m_pos] != u'"') {
                if (m_text[m_pos] == u'\\' && m_pos + 1 < m_text.size())
                    ++m_pos;
                token.append(m_text[m_pos++]);
            }
            ++m_pos; // the closing quote
            return token;
        }
        while (m_pos < m_text.size() && !m_text[m_pos].isSpace()) {
            if (m_text[m_pos] == u'\\' && m_pos + 1 < m_text.size())
                ++m_pos;
            token.append(m_text[m_pos++]);
        }
        return token;
    }

    // A macro definition runs to the first empty line.
    void skipMacroBody()
    {
        while (m_pos < m_text.size() && m_text[m_pos] != u'\n')
            ++m_pos;
        const qsizetype end = m_text.indexOf(u"\n\n", m_pos);
        m_pos = end < 0 ? m_text.size() : end + 2;
    }

private:
    QStringView m_text;
    qsizetype m_pos = 0;
};

} // namespace

QString netrcPath()
{
    const QString fromEnvironment = qEnvironmentVariable("NETRC");
    if (!fromEnvironment.isEmpty())
        return fromEnvironment;
    return QDir::homePath() + QStringLiteral("/.netrc");
}

std::optional<NetrcCredentials> parseNetrc(QStringView text, QStringView host)
{
    enum class Entry { None, Match, Other, Default };
    Entry entry = Entry::None;
    std::optional<NetrcCredentials> match;
    std::optional<NetrcCredentials> fallback;
    Tokens tokens(text);
    for (QString token = tokens.next(); !token.isNull(); token = tokens.next()) {
        if (token == u"machine") {
            if (match)
                return match;
            const QString name = tokens.next();
            entry = QStringView(name).compare(host, Qt::CaseInsensitive) == 0 ? Entry::Match
                                                                              : Entry::Other;
            if (entry == Entry::Match)
                match = NetrcCredentials{};
        } else if (token == u"default") {
            if (match)
                return match;
            entry = fallback ? Entry::Other : Entry::Default;
            if (entry == Entry::Default)
                fallback = NetrcCredentials{};
        } else if (token == u"login" || token == u"password" || token == u"account") {
            const QString value = tokens.next();
            NetrcCredentials *target = entry == Entry::Match     ? &*match
                                       : entry == Entry::Default ? &*fallback
                                                                 : nullptr;
            if (target && token == u"login")
                target->login = value;
            else if (target && token == u"password")
                target->password = value;
        } else if (token == u"macdef") {
            tokens.next(); // the macro's name
            tokens.skipMacroBody();
        }
    }
    return match ? match : fallback;
}

std::optional<NetrcCredentials> netrcCredentials(QStringView host, const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return parseNetrc(QString::fromUtf8(file.readAll()), host);
}

} // namespace platform::olap::xmla
