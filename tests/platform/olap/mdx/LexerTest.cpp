#include "platform/olap/mdx/Lexer.h"
#include "tests/platform/olap/mdx/MdxDump.h"

#include <gtest/gtest.h>

#include <QStringList>

using namespace platform::olap::mdx;

namespace {

QString kindName(TokenKind kind)
{
    static const char *const names[] = {
        // clang-format off
        "end", "id",  "name", "num", "str", "+",  "-", "*", "/", "^", "=",  "<>", "<",
        "<=",  ">",   ">=",   ":",   ",",   ".",  "(", ")", "{", "}", "||", "&",
        // clang-format on
    };
    return QString::fromLatin1(names[int(kind)]);
}

// "id:SELECT num:1.5 str:it's name:a]b ( end", with @line:column after each when asked.
QString render(const QString &text, bool positions = false)
{
    QStringList out;
    for (const Token &token : tokenize(text)) {
        QString shown = kindName(token.kind);
        if (token.kind == TokenKind::Number)
            shown += u':' + QString::number(token.number);
        else if (!token.text.isEmpty())
            shown += u':' + token.text;
        if (positions)
            shown += QStringLiteral("@%1:%2").arg(token.pos.line).arg(token.pos.column);
        out << shown;
    }
    return out.join(u' ');
}

TEST(MdxLexer, SplitsTokens)
{
    const struct
    {
        const char *text;
        const char *tokens;
    } cases[] = {
        {"a+b-c*d/e^f=g<>h<i<=j>k>=l:m,n.o(p)q{r}s||t&[u]",
         "id:a + id:b - id:c * id:d / id:e ^ id:f = id:g <> id:h < id:i <= id:j > id:k >= id:l "
         ": id:m , id:n . id:o ( id:p ) id:q { id:r } id:s || id:t & name:u end"},
        {"12 1.5 2.5e3 1E-2 7e+1 1e 3.x 4.",
         "num:12 num:1.5 num:2500 num:0.01 num:70 num:1 id:e num:3 . id:x num:4 . end"},
        {"'it''s' \"a\"\"b\" \"'\" '\"' [x]]y] [multi\nline] []",
         "str:it's str:a\"b str:' str:\" name:x]y name:multi\nline name end"},
        {"Año _x9 SELF_AND_BEFORE x1.y", "id:Año id:_x9 id:SELF_AND_BEFORE id:x1 . id:y end"},
        // "--" starts a comment, as in every MDX dialect; "- -" is two minus signs.
        {"a--b\n- -c a< >b", "id:a - - id:c id:a < > id:b end"},
        {"", "end"},
        {" \t\r\n -- only a comment", "end"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(render(QString::fromUtf8(c.text)), QString::fromUtf8(c.tokens));
    }
}

TEST(MdxLexer, TracksLinesAndColumnsAcrossLineEndsAndComments)
{
    // CR LF, a lone CR and a lone LF each end a line; tabs and no-break spaces are blanks
    // one column wide; a block comment may span lines.
    const QString text =
        QStringLiteral("a -- c\r\nb // d\rc /* e\n f */ d\t\u00a0e\r\n\r\n  [x\r\ny] z");
    EXPECT_EQ(render(text, true),
              QStringLiteral("id:a@1:1 id:b@2:1 id:c@3:1 id:d@4:7 id:e@4:10 name:x\r\ny@6:3 "
                             "id:z@7:4 end@7:5"));
}

TEST(MdxLexer, ReportsBadTokensWhereTheyStart)
{
    const struct
    {
        const char *text;
        const char *error;
    } cases[] = {
        {"a\r\n  'abc", "Syntax error at line 2, column 3: unterminated string: missing the "
                        "closing '"},
        {"\"a\"\"",
         "Syntax error at line 1, column 1: unterminated string: missing the closing \""},
        {"x [a]]", "Syntax error at line 1, column 3: unterminated name: missing ']'"},
        {"x /* a */ /* b", "Syntax error at line 1, column 11: unterminated comment: missing "
                           "'*/'"},
        {"x 1e400", "Syntax error at line 1, column 3: number out of range"},
        {"x ; y", "Syntax error at line 1, column 3: unexpected character ';'"},
        {"x\n\x7f", "Syntax error at line 2, column 1: unexpected character U+007F"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        try {
            tokenize(QString::fromUtf8(c.text));
            ADD_FAILURE() << "tokenized";
        } catch (const platform::Error &error) {
            EXPECT_EQ(error.description(), QString::fromUtf8(c.error));
        }
    }
}

} // namespace
