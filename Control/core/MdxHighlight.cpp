#include "Control/core/MdxHighlight.h"

#include "platform/olap/mdx/Lexer.h"
#include "platform/runtime/Error.h"

#include <QSet>

using platform::olap::mdx::Lexer;
using platform::olap::mdx::SourceText;
using platform::olap::mdx::Token;
using platform::olap::mdx::TokenKind;
using platform::widgets::MdxTextKind;
using platform::widgets::MdxTextSpan;

namespace pelmora {

namespace {

// The words of the statement itself and the flags functions take, compared without regard to
// case.
const QSet<QString> &keywords()
{
    static const QSet<QString> words = [] {
        QSet<QString> set;
        // clang-format off
        for (const char *w :
             {"SELECT", "FROM", "WHERE", "WITH", "MEMBER", "SET", "AS", "ON", "NON", "EMPTY",
              "AXIS", "COLUMNS", "ROWS", "PAGES", "SECTIONS", "CHAPTERS", "DIMENSION",
              "PROPERTIES", "CELL", "AND", "OR", "XOR", "NOT", "IS", "CASE", "WHEN", "THEN",
              "ELSE", "END", "NULL", "SELF", "AFTER", "BEFORE", "BEFORE_AND_AFTER",
              "SELF_AND_AFTER", "SELF_AND_BEFORE", "SELF_BEFORE_AFTER", "LEAVES", "ASC", "DESC",
              "BASC", "BDESC", "POST", "ALL", "RECURSIVE", "EXCLUDEEMPTY", "INCLUDEEMPTY",
              "SOLVE_ORDER", "FORMAT_STRING"})
            // clang-format on
            set.insert(QString::fromLatin1(w));
        return set;
    }();
    return words;
}

// The words that follow a dot as properties of a member, level, set or dimension.
const QSet<QString> &propertyWords()
{
    static const QSet<QString> words = [] {
        QSet<QString> set;
        for (const char *w :
             {"MEMBERS",   "ALLMEMBERS", "CHILDREN",   "PARENT",        "FIRSTCHILD",
              "LASTCHILD", "PREVMEMBER", "NEXTMEMBER", "CURRENTMEMBER", "DEFAULTMEMBER",
              "VALUE",     "NAME",       "UNIQUENAME", "CAPTION",       "ORDINAL",
              "LEVEL",     "LEVELS",     "HIERARCHY",  "DIMENSION",     "SIBLINGS",
              "COUNT",     "CURRENT",    "ITEM",       "LAG",           "LEAD"})
            set.insert(QString::fromLatin1(w));
        return set;
    }();
    return words;
}

// A token and its extent in the whole text; `refused` marks a character the lexer refused.
struct Scanned
{
    TokenKind kind = TokenKind::End;
    QString text;
    int begin = 0;
    int end = 0;
    bool refused = false;
};

void addSpan(std::vector<MdxTextSpan> &spans, int start, int end, MdxTextKind kind)
{
    if (end > start)
        spans.push_back({start, end - start, kind});
}

// Walks over blanks and comments from `at` up to `to`, adding a span for each complete
// comment, and answers where something else starts: a token, or a comment left open.
int skipComments(const QString &text, int at, int to, std::vector<MdxTextSpan> *comments)
{
    while (at < to) {
        const QStringView rest = QStringView(text).mid(at, to - at);
        const int start = at;
        if (text[at].isSpace()) {
            ++at;
            continue;
        }
        if (rest.startsWith(u"--") || rest.startsWith(u"//")) {
            while (at < to && text[at] != u'\n' && text[at] != u'\r')
                ++at;
        } else if (rest.startsWith(u"/*")) {
            const qsizetype close = rest.indexOf(u"*/", 2);
            if (close < 0)
                return at;
            at += int(close) + 2;
        } else {
            return at;
        }
        if (comments)
            addSpan(*comments, start, at, MdxTextKind::Comment);
    }
    return at;
}

// Every token the lexer reads, restarting after a character it refuses; a string, name or
// comment left open runs to the end of the text (`open`), and the tokens end at `lexedTo`.
std::vector<Scanned> scan(const QString &text, std::vector<MdxTextSpan> &open, int &lexedTo)
{
    std::vector<Scanned> tokens;
    const SourceText source(text);
    const int size = int(text.size());
    lexedTo = size;
    int offset = 0;
    for (;;) {
        Lexer lexer(source, QStringView(text).mid(offset));
        int at = offset; // the end of the last token read
        try {
            for (;;) {
                const Token token = lexer.next();
                if (token.kind == TokenKind::End)
                    return tokens;
                at = offset + token.end;
                tokens.push_back({token.kind, token.text, offset + token.begin, at, false});
            }
        } catch (const platform::Error &) {
            // Where the lexer stopped: after the blanks and complete comments that follow the
            // last token.
            const int refused = skipComments(text, at, size, nullptr);
            const QStringView rest = QStringView(text).mid(refused);
            MdxTextKind kind = MdxTextKind::Comment;
            if (rest.startsWith(u'"') || rest.startsWith(u'\''))
                kind = MdxTextKind::String;
            else if (rest.startsWith(u'['))
                kind = MdxTextKind::Name;
            else if (!rest.startsWith(u"/*")) {
                // A character that starts no token, or a number out of range: passed over.
                tokens.push_back({TokenKind::End, QString(), refused, refused + 1, true});
                offset = refused + 1;
                continue;
            }
            addSpan(open, refused, size, kind);
            lexedTo = refused;
            return tokens;
        }
    }
}

} // namespace

std::vector<MdxTextSpan> mdxHighlightSpans(const QString &text)
{
    std::vector<MdxTextSpan> spans;
    std::vector<MdxTextSpan> open;
    int lexedTo = 0;
    const std::vector<Scanned> tokens = scan(text, open, lexedTo);

    int gapFrom = 0;
    for (size_t i = 0; i < tokens.size(); ++i) {
        const Scanned &t = tokens[i];
        skipComments(text, gapFrom, t.begin, &spans);
        gapFrom = t.end;
        if (t.refused)
            continue;
        switch (t.kind) {
        case TokenKind::Identifier: {
            const QString word = t.text.toUpper();
            const bool called = i + 1 < tokens.size() && !tokens[i + 1].refused
                                && tokens[i + 1].kind == TokenKind::LeftParen;
            const bool afterDot =
                i > 0 && !tokens[i - 1].refused && tokens[i - 1].kind == TokenKind::Dot;
            // A keyword stays one before a parenthesis (WHERE (...)), not after a dot.
            if (!afterDot && keywords().contains(word))
                addSpan(spans, t.begin, t.end, MdxTextKind::Keyword);
            else if (called || (afterDot && propertyWords().contains(word)))
                addSpan(spans, t.begin, t.end, MdxTextKind::Function);
            break;
        }
        case TokenKind::BracketName:
            addSpan(spans, t.begin, t.end, MdxTextKind::Name);
            break;
        case TokenKind::String:
            addSpan(spans, t.begin, t.end, MdxTextKind::String);
            break;
        case TokenKind::Number:
            addSpan(spans, t.begin, t.end, MdxTextKind::Number);
            break;
        default:
            break;
        }
    }
    skipComments(text, gapFrom, lexedTo, &spans);
    spans.insert(spans.end(), open.begin(), open.end());
    return spans;
}

} // namespace pelmora
