#include "platform/olap/mdx/Parser.h"
#include "platform/olap/mdx/Unparser.h"
#include "platform/runtime/Error.h"
#include "tests/platform/olap/mdx/MdxChains.h"
#include "tests/platform/olap/mdx/MdxDump.h"

#include <gtest/gtest.h>

#include <QStringList>

#include <optional>
#include <random>

using namespace platform::olap::mdx;
using mdx_test::dump;

namespace {

QString repeated(const char *text, int count)
{
    return QString::fromLatin1(text).repeated(count);
}

QString errorOf(const QString &text, bool statement)
{
    try {
        if (statement)
            parseStatement(text);
        else
            parseExpression(text);
    } catch (const platform::Error &error) {
        return error.description();
    }
    return QStringLiteral("(parsed)");
}

QString tooDeepAt(int column)
{
    return QStringLiteral("Syntax error at line 1, column %1: the statement is nested more than "
                          "256 levels deep")
        .arg(column);
}

TEST(MdxRobustness, RefusesNestingTooDeepBeforeTheStackRunsOut)
{
    const int n = 100000;
    const struct
    {
        QString text;
        bool statement;
        int column; // of the opener or operator one level too deep
    } cases[] = {
        {repeated("(", n) + u'1' + repeated(")", n), false, 256},
        {"SELECT " + repeated("{", n) + repeated("}", n) + " ON 0 FROM x", true, 263},
        {repeated("({", n / 2) + u'1' + repeated("})", n / 2), false, 256},
        {repeated("f(", n) + repeated(")", n), false, 512},
        {repeated("[a].Lag(", n) + repeated(")", n), false, 256 * 8},
        {repeated("NOT ", n) + u'1', false, 4 * 255 + 1},
        {repeated("- ", n) + u'1', false, 2 * 255 + 1},
        {"CASE WHEN 1 THEN " + repeated("CASE WHEN 1 THEN ", n) + u'1', false, 17 * 255 + 1},
        // A chain of properties, built by a loop rather than by recursion: the tree is what
        // grows too deep. (A chain of binary operators is no nesting: see the chain cases.)
        {"[a]" + repeated(".Parent", n), false, 7 * 256 - 2},
        // Nesting within a chain's right operands still counts.
        {repeated("1 + (", n) + u'1' + repeated(")", n), false, 5 * 256},
        // A quoted definition counts from where it stands in the statement.
        {"WITH MEMBER [M].[X] AS '" + repeated("(", 300) + u'1' + repeated(")", 300)
             + "' SELECT FROM x",
         true, 24 + 256},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text.left(40).toStdString());
        EXPECT_EQ(errorOf(c.text, c.statement), tooDeepAt(c.column));
    }
}

TEST(MdxRobustness, AcceptsNestingUpToTheLimitAndAnyWidth)
{
    const QString deepest = repeated("(", 255) + u'1' + repeated(")", 255);
    const Expression e = parseExpression(deepest);
    EXPECT_EQ(toMdx(e.root()), deepest);
    EXPECT_EQ(errorOf(u'(' + deepest + u')', false), tooDeepAt(256));

    const QString chain = u'1' + repeated("+1", 255);
    EXPECT_EQ(errorOf(chain, false), QStringLiteral("(parsed)"));

    const Expression wide = parseExpression(u'{' + repeated("1, ", 100000) + QStringLiteral("1}"));
    EXPECT_EQ(wide.root().childCount(), 100001);
    EXPECT_EQ(wide.root().child(100000).pos(), (SourcePos{1, 300002}));
}

// Each chain parses, on a small stack, into a tree that writes back as the same text and
// parses again into as many nodes; nesting past the limit is the usual syntax error.
TEST(MdxRobustness, ChainsOfAnyLengthParseAndWriteBack)
{
    mdx_test::forEachChain([&](const mdx_test::ChainCase &c, int size) {
        const QString text = c.text(size);
        QString written;
        QString error;
        int nodes = 0;
        int nodesAgain = 0;
        mdx_test::onSmallStack([&] {
            try {
                const Expression expression = parseExpression(text);
                nodes = expression.tree()->nodeCount();
                written = toMdx(expression.root());
                nodesAgain = parseExpression(written).tree()->nodeCount();
            } catch (const platform::Error &e) {
                error = e.description();
            }
        });
        const QString expected = c.result(size);
        if (expected == mdx_test::tooDeep()) {
            EXPECT_TRUE(error.endsWith(expected.mid(7))) << error.toStdString();
            return;
        }
        EXPECT_EQ(error, QString());
        EXPECT_TRUE(written == text) << written.left(200).toStdString();
        EXPECT_EQ(nodesAgain, nodes);
    });
}

// The length of each line of `text`, lines ending at CR LF, CR or LF. (Not split by a regular
// expression, which matches nothing in text with lone surrogates.)
QList<qsizetype> lineLengths(const QString &text)
{
    QList<qsizetype> lengths{0};
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            continue;
        if (text[i] == u'\r' || text[i] == u'\n')
            lengths.append(0);
        else
            ++lengths.last();
    }
    return lengths;
}

// Parses `text` as a statement and as an expression: each gives a tree that reads back the
// same from its MDX text, or a syntax error at a position inside the text.
void expectTreeOrError(const QString &text)
{
    // Matched by hand: the description may quote lone surrogates, which a regular expression
    // does not match.
    const auto checkError = [&](const platform::Error &error) {
        const QString description = error.description();
        const QString lead = QStringLiteral("Syntax error at line ");
        const qsizetype comma = description.indexOf(QStringLiteral(", column "));
        const qsizetype colon = description.indexOf(QStringLiteral(": "));
        ASSERT_TRUE(description.startsWith(lead) && comma > 0 && colon > comma
                    && colon + 2 < description.size())
            << description.toStdString();
        bool lineOk = false;
        bool columnOk = false;
        const int line = description.mid(lead.size(), comma - lead.size()).toInt(&lineOk);
        const int column = description.mid(comma + 9, colon - comma - 9).toInt(&columnOk);
        ASSERT_TRUE(lineOk && columnOk) << description.toStdString();
        const QList<qsizetype> lines = lineLengths(text);
        ASSERT_GE(line, 1);
        ASSERT_LE(line, lines.size()) << description.toStdString();
        ASSERT_GE(column, 1);
        ASSERT_LE(column, lines[line - 1] + 1) << description.toStdString();
    };
    const auto readsBack = [](const QString &again, const QString &expected, bool statement) {
        try {
            if (statement) {
                const Statement reread = parseStatement(again);
                ASSERT_EQ(dump(reread), expected) << again.toStdString();
            } else {
                const Expression reread = parseExpression(again);
                ASSERT_EQ(dump(reread.root()), expected) << again.toStdString();
            }
        } catch (const platform::Error &error) {
            FAIL() << "does not read back: " << again.toStdString() << ": "
                   << error.description().toStdString();
        }
    };
    std::optional<Statement> statement;
    try {
        statement = parseStatement(text);
    } catch (const platform::Error &error) {
        checkError(error);
    }
    if (statement)
        readsBack(toMdx(*statement), dump(*statement), true);
    std::optional<Expression> expression;
    try {
        expression = parseExpression(text);
    } catch (const platform::Error &error) {
        checkError(error);
    }
    if (expression)
        readsBack(toMdx(expression->root()), dump(expression->root()), false);
}

const char *const validStatements[] = {
    "SELECT \r\nDescendants([Time].[1997], [Time].[Month]) ON AXIS(0), \r\n"
    "NON EMPTY  CROSSJOIN (Order(TopCount(Descendants([Product].[All Products], "
    "[Product].[Category]), 5, [Measures].[Cost]), ([Measures].[Cost]), BDESC), "
    "Descendants([Store].[USA], [Store].[City], SELF)) ON AXIS(1)\r\n"
    " FROM [Sales]\r\n WHERE ([Measures].[Sales])\r\n\r\n",
    "WITH MEMBER [Measures].[Margin] AS '[Measures].[Sales] - [Measures].[Cost]', "
    "FORMAT_STRING = '#,##0.00', SOLVE_ORDER = 2 SET [Top] AS 'TopCount([Store].Members, 3, "
    "[Measures].[Sales])' SELECT {[Measures].[Margin]} DIMENSION PROPERTIES [Store].[Key] ON 0, "
    "[Top] ON ROWS FROM [Sales] WHERE [Time].&[1997] CELL PROPERTIES VALUE, FORE_COLOR",
    "SELECT Filter([Store].[Bob]]s].Children, NOT [Measures].[Sales] IS EMPTY AND "
    "[Measures].[Sales] > -1.5e3 OR x XOR 'a''b' || \"c\" <> y) ON 0 FROM x",
    "select {a:b} * {c} on 0, case when a then 1 when b then 2 else NULL end on 1 from x "
    "-- comment\n/* block */ where Descendants(m, , LEAVES).Item(0).Lag(2)",
};

TEST(MdxRobustness, TruncationsAndMutationsOfValidStatements)
{
    std::mt19937 random(20240611);
    const QString noise = QStringLiteral("()[]{}'\",.:&|-/*^=<>\r\n aZ0");
    for (const char *valid : validStatements) {
        const QString text = QString::fromUtf8(valid);
        for (qsizetype length = 0; length <= text.size(); ++length) {
            expectTreeOrError(text.left(length));
            if (testing::Test::HasFatalFailure())
                return;
        }
        for (int round = 0; round < 2000; ++round) {
            QString mutated = text;
            for (int edits = 1 + int(random() % 3); edits > 0; --edits) {
                const qsizetype at = qsizetype(random() % quint32(mutated.size() + 1));
                const QChar c = noise[qsizetype(random() % quint32(noise.size()))];
                switch (random() % 3) {
                case 0:
                    mutated.insert(at, c);
                    break;
                case 1:
                    mutated.remove(at, 1);
                    break;
                default:
                    mutated.replace(at, 1, c);
                    break;
                }
            }
            SCOPED_TRACE(mutated.toStdString());
            expectTreeOrError(mutated);
            if (testing::Test::HasFatalFailure())
                return;
        }
    }
}

TEST(MdxRobustness, RandomTokenSoup)
{
    const QStringList vocabulary = {
        // clang-format off
        "SELECT", "FROM", "WHERE", "WITH", "MEMBER", "SET", "AS", "ON", "AXIS", "COLUMNS",
        "ROWS", "NON", "EMPTY", "DIMENSION", "PROPERTIES", "CELL", "AND", "OR", "XOR", "NOT",
        "IS", "NULL", "CASE", "WHEN", "THEN", "ELSE", "END", "SOLVE_ORDER", "Members",
        "Children", "Parent", "Lag", "Item", "Descendants", "Order", "CrossJoin", "SELF",
        "ASC", "LEAVES", "x", "[A]", "[B]]c]", "&", "&[1]", "'s'", "'''x'''", "\"t\"", "0",
        "1", "2.5e3", "1e999", "+", "-", "*", "/", "^", ":", "=", "<>", "<=", ">", "||", "(",
        ")", "{", "}", ",", ".", "--", "/*", "*/", "//", "[unterminated", "'unterminated",
        "\"", "#", ";", "\r\n", "\r", "\t", "\u00e9", QString(QChar(0)),
        // clang-format on
    };
    const QStringList separators = {"", " ", " ", "\r\n", "\n"};
    std::mt19937 random(611);
    for (int round = 0; round < 30000; ++round) {
        QString text;
        for (int n = 1 + int(random() % 24); n > 0; --n) {
            text += vocabulary[qsizetype(random() % quint32(vocabulary.size()))];
            text += separators[qsizetype(random() % quint32(separators.size()))];
        }
        SCOPED_TRACE(text.toStdString());
        expectTreeOrError(text);
        if (testing::Test::HasFatalFailure())
            return;
    }
}

TEST(MdxRobustness, RandomCharacters)
{
    std::mt19937 random(4);
    for (int round = 0; round < 5000; ++round) {
        QString text;
        for (int n = int(random() % 40); n > 0; --n) {
            // mostly ASCII, sometimes any UTF-16 unit (lone surrogates included)
            const quint32 code = random() % 4 ? random() % 128 : random() % 0x10000;
            text += QChar(char16_t(code));
        }
        SCOPED_TRACE(text.toStdString());
        expectTreeOrError(text);
        if (testing::Test::HasFatalFailure())
            return;
    }
}

} // namespace
