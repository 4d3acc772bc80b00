#include "platform/olap/mdx/Lexer.h"

#include <algorithm>
#include <cmath>

namespace platform::olap::mdx {

namespace {

constexpr int quotedTokenLimit = 40; // longest token text an error message quotes in full

bool isIdentifierStart(QChar c)
{
    return c.isLetter() || c == u'_';
}

bool isIdentifierPart(QChar c)
{
    return c.isLetterOrNumber() || c == u'_';
}

bool isDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

QString shortened(QStringView text)
{
    if (text.size() <= quotedTokenLimit)
        return text.toString();
    return text.left(quotedTokenLimit).toString() + QStringLiteral("...");
}

} // namespace

Lexer::Lexer(const SourceText &source, QStringView text, const std::vector<int> *offsets)
    : m_source(source), m_text(text), m_offsets(offsets)
{}

Token Lexer::next()
{
    skipBlanksAndComments();
    Token token;
    token.begin = int(m_at);
    token.pos = posAt(m_at);
    if (m_at < m_text.size())
        scan(token);
    token.end = int(m_at);
    return token;
}

SourcePos Lexer::posAt(qsizetype index) const
{
    return m_source.position(m_offsets ? (*m_offsets)[size_t(index)] : int(index));
}

QChar Lexer::at(qsizetype index) const
{
    return index < m_text.size() ? m_text[index] : QChar();
}

void Lexer::fail(qsizetype index, const QString &what) const
{
    throw syntaxError(posAt(index), what);
}

void Lexer::skipBlanksAndComments()
{
    while (m_at < m_text.size()) {
        const QChar c = m_text[m_at];
        const QChar next = at(m_at + 1);
        if (c.isSpace()) {
            ++m_at;
        } else if ((c == u'-' && next == u'-') || (c == u'/' && next == u'/')) {
            while (m_at < m_text.size() && m_text[m_at] != u'\n' && m_text[m_at] != u'\r')
                ++m_at;
        } else if (c == u'/' && next == u'*') {
            const qsizetype close = m_text.indexOf(u"*/", m_at + 2);
            if (close < 0)
                fail(m_at, QStringLiteral("unterminated comment: missing '*/'"));
            m_at = close + 2;
        } else {
            return;
        }
    }
}

void Lexer::scan(Token &token)
{
    const QChar c = m_text[m_at];
    if (isIdentifierStart(c)) {
        const qsizetype start = m_at;
        while (m_at < m_text.size() && isIdentifierPart(m_text[m_at]))
            ++m_at;
        token.kind = TokenKind::Identifier;
        token.text = m_text.mid(start, m_at - start).toString();
    } else if (isDigit(c)) {
        scanNumber(token);
    } else if (c == u'[') {
        token.kind = TokenKind::BracketName;
        token.text = scanQuoted(u']', QStringLiteral("unterminated name: missing ']'"));
    } else if (c == u'\'' || c == u'"') {
        token.kind = TokenKind::String;
        token.quote = c;
        const QString unterminated =
            QStringLiteral("unterminated string: missing the closing %1").arg(c);
        token.text = scanQuoted(c, unterminated);
    } else {
        scanOperator(token);
    }
}

void Lexer::scanNumber(Token &token)
{
    const qsizetype start = m_at;
    while (isDigit(at(m_at)))
        ++m_at;
    if (at(m_at) == u'.' && isDigit(at(m_at + 1))) {
        ++m_at;
        while (isDigit(at(m_at)))
            ++m_at;
    }
    if (at(m_at) == u'e' || at(m_at) == u'E') {
        qsizetype digits = m_at + 1;
        if (at(digits) == u'+' || at(digits) == u'-')
            ++digits;
        if (isDigit(at(digits))) {
            m_at = digits;
            while (isDigit(at(m_at)))
                ++m_at;
        }
    }
    bool ok = false;
    token.kind = TokenKind::Number;
    token.number = m_text.mid(start, m_at - start).toDouble(&ok);
    if (!ok || !std::isfinite(token.number))
        fail(start, QStringLiteral("number out of range"));
}

// A bracketed name or a string: the text up to the closing character, which is doubled to stand
// for itself. It may span lines.
QString Lexer::scanQuoted(QChar close, const QString &unterminated)
{
    const qsizetype start = m_at;
    QString value;
    ++m_at;
    for (;;) {
        const qsizetype end = m_text.indexOf(close, m_at);
        if (end < 0)
            fail(start, unterminated);
        value += m_text.mid(m_at, end - m_at);
        m_at = end + 1;
        if (at(m_at) != close)
            return value;
        value += close;
        ++m_at;
    }
}

void Lexer::scanOperator(Token &token)
{
    const QChar c = m_text[m_at];
    const QChar next = at(m_at + 1);
    TokenKind kind = TokenKind::End;
    int length = 1;
    switch (c.unicode()) {
    case u'+':
        kind = TokenKind::Plus;
        break;
    case u'-':
        kind = TokenKind::Minus;
        break;
    case u'*':
        kind = TokenKind::Star;
        break;
    case u'/':
        kind = TokenKind::Slash;
        break;
    case u'^':
        kind = TokenKind::Caret;
        break;
    case u'=':
        kind = TokenKind::Equal;
        break;
    case u':':
        kind = TokenKind::Colon;
        break;
    case u',':
        kind = TokenKind::Comma;
        break;
    case u'.':
        kind = TokenKind::Dot;
        break;
    case u'(':
        kind = TokenKind::LeftParen;
        break;
    case u')':
        kind = TokenKind::RightParen;
        break;
    case u'{':
        kind = TokenKind::LeftBrace;
        break;
    case u'}':
        kind = TokenKind::RightBrace;
        break;
    case u'&':
        kind = TokenKind::Ampersand;
        break;
    case u'<':
        if (next == u'=') {
            kind = TokenKind::LessEqual;
            length = 2;
        } else if (next == u'>') {
            kind = TokenKind::NotEqual;
            length = 2;
        } else {
            kind = TokenKind::Less;
        }
        break;
    case u'>':
        if (next == u'=') {
            kind = TokenKind::GreaterEqual;
            length = 2;
        } else {
            kind = TokenKind::Greater;
        }
        break;
    case u'|':
        if (next == u'|') {
            kind = TokenKind::Concat;
            length = 2;
        }
        break;
    default:
        break;
    }
    if (kind == TokenKind::End) {
        const QString code = QString::number(int(c.unicode()), 16).toUpper();
        const QString shown = c.isPrint() ? QStringLiteral("'%1'").arg(c)
                                          : QStringLiteral("U+%1").arg(code, 4, QLatin1Char('0'));
        fail(m_at, QStringLiteral("unexpected character %1").arg(shown));
    }
    token.kind = kind;
    m_at += length;
}

SourceText::SourceText(const QString &text) : m_text(text)
{
    m_lineStarts.push_back(0);
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c == u'\n' || (c == u'\r' && (i + 1 == text.size() || text[i + 1] != u'\n')))
            m_lineStarts.push_back(int(i + 1));
    }
}

SourcePos SourceText::position(int offset) const
{
    const auto next = std::upper_bound(m_lineStarts.begin(), m_lineStarts.end(), offset);
    const auto line = next - 1;
    return {int(line - m_lineStarts.begin()) + 1, offset - *line + 1};
}

platform::Error syntaxError(SourcePos pos, const QString &what)
{
    return platform::Error(QStringLiteral("Syntax error at line %1, column %2: %3")
                               .arg(pos.line)
                               .arg(pos.column)
                               .arg(what));
}

std::vector<Token> tokenize(const QString &text)
{
    const SourceText source(text);
    Lexer lexer(source, source.text());
    std::vector<Token> tokens;
    do
        tokens.push_back(lexer.next());
    while (tokens.back().kind != TokenKind::End);
    return tokens;
}

QString describeToken(const Token &token, QStringView text)
{
    switch (token.kind) {
    case TokenKind::End:
        return QStringLiteral("the end of the statement");
    case TokenKind::String:
        return QStringLiteral("string \"%1\"").arg(shortened(token.text));
    default:
        return u'\'' + shortened(text.mid(token.begin, token.end - token.begin)) + u'\'';
    }
}

} // namespace platform::olap::mdx
