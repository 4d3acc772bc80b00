#pragma once

#include "platform/olap/mdx/Syntax.h"
#include "platform/runtime/Error.h"

#include <QString>
#include <QStringView>

#include <cstdint>
#include <vector>

namespace platform::olap::mdx {

enum class TokenKind : std::uint8_t {
    End,
    Identifier,  // word: keywords, function, property and flag names, unquoted name parts
    BracketName, // [name]
    Number,
    String, // "text" or 'text'
    Plus,
    Minus,
    Star,
    Slash,
    Caret,
    Equal,
    NotEqual, // <>
    Less,
    LessEqual,
    Greater,
    GreaterEqual,
    Colon,
    Comma,
    Dot,
    LeftParen,
    RightParen,
    LeftBrace,
    RightBrace,
    Concat,    // ||
    Ampersand, // &, before a bracketed member key
};

struct Token
{
    TokenKind kind = TokenKind::End;
    int begin = 0; // the token's extent in the lexed text
    int end = 0;
    SourcePos pos;
    QString text; // Identifier as written; BracketName and String without quotes, unescaped
    double number = 0;
    QChar quote; // String: the quote character used
};

// A statement text and where its lines start, to turn offsets into lines and columns. A line
// ends at LF, CR LF or a lone CR.
class SourceText
{
public:
    explicit SourceText(const QString &text);

    const QString &text() const { return m_text; }
    SourcePos position(int offset) const;

private:
    QString m_text;
    std::vector<int> m_lineStarts;
};

// The error of a statement that cannot be parsed:
// "Syntax error at line 2, column 14: expected ')' but found 'ON'".
platform::Error syntaxError(SourcePos pos, const QString &what);

// Reads the tokens of `text` one by one; comments and blanks are skipped. `offsets`, when
// given, holds for each index of `text` (and one past its end) the offset in `source` it was
// taken from, for text unquoted out of a string literal; otherwise `text` is the source text.
class Lexer
{
public:
    Lexer(const SourceText &source, QStringView text, const std::vector<int> *offsets = nullptr);

    // The next token; End at the end of the text, and again on every later call. Throws
    // platform::Error on an unterminated string, name or comment, a number out of range or a
    // character that starts no token.
    Token next();

private:
    SourcePos posAt(qsizetype index) const;
    QChar at(qsizetype index) const;
    [[noreturn]] void fail(qsizetype index, const QString &what) const;
    void skipBlanksAndComments();
    void scan(Token &token);
    void scanNumber(Token &token);
    QString scanQuoted(QChar close, const QString &unterminated);
    void scanOperator(Token &token);

    const SourceText &m_source;
    QStringView m_text;
    const std::vector<int> *m_offsets;
    qsizetype m_at = 0;
};

// Every token of a statement text, the last one End.
std::vector<Token> tokenize(const QString &text);

// A token as an error message quotes it: 'ON', '[Time]', string "abc", the end of the statement.
QString describeToken(const Token &token, QStringView text);

} // namespace platform::olap::mdx
