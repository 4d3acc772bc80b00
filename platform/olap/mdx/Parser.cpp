#include "platform/olap/mdx/Parser.h"

#include "platform/olap/mdx/Lexer.h"

#include <QVarLengthArray>

#include <algorithm>
#include <deque>

namespace platform::olap::mdx {

namespace detail {

// Appends nodes to a tree and keeps the nesting height of each, so that a tree nested deeper
// than maxNesting is refused where it grows too deep, also when it grows by a loop rather
// than by recursion (a chain of properties). The left operand of a binary operator does not
// count: a chain a + b + c ... is a left-deep tree that every walker follows in a loop, so
// its length is not nesting.
class TreeBuilder
{
public:
    TreeBuilder() : m_tree(std::make_shared<SyntaxTree>()) {}

    std::uint32_t add(NodeKind kind, SourcePos pos, std::span<const std::uint32_t> children = {},
                      std::uint8_t sub = 0, std::uint32_t text = NodeData::noText)
    {
        int height = 1;
        if (kind == NodeKind::Binary) {
            height = std::max(m_heights[children[0]], m_heights[children[1]] + 1);
        } else {
            for (std::uint32_t child : children)
                height = std::max(height, m_heights[child] + 1);
        }
        if (height > maxNesting)
            throw syntaxError(pos, tooDeep());
        NodeData data;
        data.kind = kind;
        data.sub = sub;
        data.line = pos.line;
        data.column = pos.column;
        data.text = text;
        data.first = std::uint32_t(m_tree->m_children.size());
        data.count = std::uint32_t(children.size());
        m_tree->m_children.insert(m_tree->m_children.end(), children.begin(), children.end());
        return push(data, height);
    }

    std::uint32_t addNumber(SourcePos pos, double value)
    {
        const std::uint32_t id = add(NodeKind::Number, pos);
        m_tree->m_nodes[id].number = value;
        return id;
    }

    std::uint32_t addString(NodeKind kind, SourcePos pos, const QString &text,
                            std::span<const std::uint32_t> children = {}, std::uint8_t sub = 0)
    {
        m_tree->m_strings.push_back(text);
        return add(kind, pos, children, sub, std::uint32_t(m_tree->m_strings.size() - 1));
    }

    // Name parts are appended first, then the Name node that covers those since `firstPart`.
    std::uint32_t partCount() const { return std::uint32_t(m_tree->m_parts.size()); }
    void addPart(const QString &text, bool bracketed, bool key)
    {
        m_tree->m_parts.push_back(NamePart{text, bracketed, key});
    }
    std::uint32_t addName(SourcePos pos, std::uint32_t firstPart)
    {
        NodeData data;
        data.kind = NodeKind::Name;
        data.line = pos.line;
        data.column = pos.column;
        data.first = firstPart;
        data.count = partCount() - firstPart;
        return push(data, 1);
    }

    Node node(std::uint32_t id) const { return Node(m_tree.get(), id); }
    std::shared_ptr<const SyntaxTree> tree() const { return m_tree; }

    static QString tooDeep()
    {
        return QStringLiteral("the statement is nested more than %1 levels deep").arg(maxNesting);
    }

private:
    std::uint32_t push(const NodeData &data, int height)
    {
        m_tree->m_nodes.push_back(data);
        m_heights.push_back(height);
        return std::uint32_t(m_tree->m_nodes.size() - 1);
    }

    std::shared_ptr<SyntaxTree> m_tree;
    std::vector<int> m_heights;
};

} // namespace detail

namespace {

using detail::TreeBuilder;
using Children = QVarLengthArray<std::uint32_t, 8>;

constexpr int maxAxisNumber = 127;

// Binding levels of the operators, loosest first; prefix NOT and sign sit between the binary
// levels.
constexpr int orLevel = 1;
constexpr int andLevel = 2;
constexpr int notLevel = 3;
constexpr int comparisonLevel = 4;
constexpr int additiveLevel = 5;
constexpr int multiplicativeLevel = 6;
constexpr int powerLevel = 7;
constexpr int signLevel = 8;
constexpr int rangeLevel = 9;

// Words that end or join expressions and so never start a name.
constexpr const char16_t *reservedWords[] = {
    // clang-format off
    u"SELECT", u"FROM", u"WHERE", u"WITH", u"ON",   u"AS",   u"AND",  u"OR",   u"XOR",
    u"NOT",    u"IS",   u"CASE",  u"WHEN", u"THEN", u"ELSE", u"END",  u"NULL",
    // clang-format on
};

struct FlagWord
{
    const char16_t *word;
    Flag flag;
};

constexpr FlagWord flagWords[] = {
    {u"SELF", Flag::Self},
    {u"AFTER", Flag::After},
    {u"BEFORE", Flag::Before},
    {u"BEFORE_AND_AFTER", Flag::BeforeAndAfter},
    {u"SELF_AND_AFTER", Flag::SelfAndAfter},
    {u"SELF_AND_BEFORE", Flag::SelfAndBefore},
    {u"SELF_BEFORE_AFTER", Flag::SelfBeforeAfter},
    {u"LEAVES", Flag::Leaves},
    {u"ASC", Flag::Asc},
    {u"DESC", Flag::Desc},
    {u"BASC", Flag::BAsc},
    {u"BDESC", Flag::BDesc},
    {u"POST", Flag::Post},
    {u"ALL", Flag::All},
    {u"RECURSIVE", Flag::Recursive},
    {u"EXCLUDEEMPTY", Flag::ExcludeEmpty},
    {u"INCLUDEEMPTY", Flag::IncludeEmpty},
};

// After a plain name, these words are properties ([Time].[1997].Children); any other word
// continues the name ([Time].Year).
constexpr const char16_t *propertyWords[] = {
    // clang-format off
    u"Members",       u"AllMembers",    u"Children",    u"Parent",     u"FirstChild",
    u"LastChild",     u"PrevMember",    u"NextMember",  u"CurrentMember",
    u"DefaultMember", u"Value",         u"Name",        u"UniqueName", u"Caption",
    u"Ordinal",       u"Level",         u"Hierarchy",   u"Dimension",  u"Siblings",
    u"Count",         u"Current",
    // clang-format on
};

constexpr const char16_t *axisWords[] = {
    u"COLUMNS", u"ROWS", u"PAGES", u"SECTIONS", u"CHAPTERS",
};

bool isWord(const Token &token, QStringView word)
{
    return token.kind == TokenKind::Identifier
           && token.text.compare(word, Qt::CaseInsensitive) == 0;
}

template <typename Words>
bool isOneOf(const Token &token, const Words &words)
{
    return std::any_of(std::begin(words), std::end(words),
                       [&](const char16_t *word) { return isWord(token, QStringView(word)); });
}

const FlagWord *flagWord(const Token &token)
{
    for (const FlagWord &flag : flagWords) {
        if (isWord(token, QStringView(flag.word)))
            return &flag;
    }
    return nullptr;
}

// The binding level of the binary operator `token` stands for, 0 when it is none.
int binaryLevel(const Token &token, Operator &op)
{
    switch (token.kind) {
    case TokenKind::Plus:
        op = Operator::Add;
        return additiveLevel;
    case TokenKind::Minus:
        op = Operator::Subtract;
        return additiveLevel;
    case TokenKind::Concat:
        op = Operator::Concat;
        return additiveLevel;
    case TokenKind::Star:
        op = Operator::Multiply;
        return multiplicativeLevel;
    case TokenKind::Slash:
        op = Operator::Divide;
        return multiplicativeLevel;
    case TokenKind::Caret:
        op = Operator::Power;
        return powerLevel;
    case TokenKind::Colon:
        op = Operator::Range;
        return rangeLevel;
    case TokenKind::Equal:
        op = Operator::Equal;
        return comparisonLevel;
    case TokenKind::NotEqual:
        op = Operator::NotEqual;
        return comparisonLevel;
    case TokenKind::Less:
        op = Operator::Less;
        return comparisonLevel;
    case TokenKind::LessEqual:
        op = Operator::LessEqual;
        return comparisonLevel;
    case TokenKind::Greater:
        op = Operator::Greater;
        return comparisonLevel;
    case TokenKind::GreaterEqual:
        op = Operator::GreaterEqual;
        return comparisonLevel;
    case TokenKind::Identifier:
        if (isWord(token, u"OR")) {
            op = Operator::Or;
            return orLevel;
        }
        if (isWord(token, u"XOR")) {
            op = Operator::Xor;
            return orLevel;
        }
        if (isWord(token, u"AND")) {
            op = Operator::And;
            return andLevel;
        }
        if (isWord(token, u"IS")) {
            op = Operator::Is;
            return comparisonLevel;
        }
        return 0;
    default:
        return 0;
    }
}

class Parser
{
public:
    // `depth` is shared with the parser of an enclosing text, so that a quoted expression
    // counts its nesting from where it stands.
    Parser(const SourceText &source, QStringView text, const std::vector<int> *offsets,
           TreeBuilder &builder, int &depth, bool quoted)
        : m_source(source), m_text(text), m_offsets(offsets), m_lexer(source, text, offsets),
          m_builder(builder), m_depth(depth), m_quoted(quoted)
    {}

    Statement statement();
    std::uint32_t wholeExpression();

private:
    // Counts one level of nesting for as long as it lives; refuses one too many.
    class Nesting
    {
    public:
        explicit Nesting(Parser &parser) : m_depth(parser.m_depth)
        {
            if (m_depth >= maxNesting)
                throw syntaxError(parser.cur().pos, TreeBuilder::tooDeep());
            ++m_depth;
        }
        ~Nesting() { --m_depth; }
        Nesting(const Nesting &) = delete;
        Nesting &operator=(const Nesting &) = delete;

    private:
        int &m_depth;
    };

    const Token &peek(size_t ahead = 0)
    {
        while (m_tokens.size() <= ahead
               && (m_tokens.empty() || m_tokens.back().kind != TokenKind::End))
            m_tokens.push_back(m_lexer.next());
        return m_tokens[std::min(ahead, m_tokens.size() - 1)];
    }
    const Token &cur() { return peek(0); }
    // Drops the current token: only the tokens looked ahead at are kept, so that a long text
    // is not held as tokens too.
    void advance()
    {
        if (cur().kind != TokenKind::End)
            m_tokens.pop_front();
    }
    bool at(TokenKind kind) { return cur().kind == kind; }
    bool atWord(QStringView word) { return isWord(cur(), word); }
    bool accept(TokenKind kind)
    {
        if (!at(kind))
            return false;
        advance();
        return true;
    }
    bool acceptWord(QStringView word)
    {
        if (!atWord(word))
            return false;
        advance();
        return true;
    }
    void expect(TokenKind kind, const QString &shown)
    {
        if (!accept(kind))
            fail(shown);
    }
    void expectWord(QStringView word, const QString &shown)
    {
        if (!acceptWord(word))
            fail(shown);
    }

    [[noreturn]] void fail(const QString &expected)
    {
        const Token &token = cur();
        const QString found = token.kind == TokenKind::End && m_quoted
                                  ? QStringLiteral("the end of the quoted expression")
                                  : describeToken(token, m_text);
        throw syntaxError(token.pos,
                          QStringLiteral("expected %1 but found %2").arg(expected, found));
    }

    Node node(std::uint32_t id) const { return m_builder.node(id); }

    Definition definition();
    std::uint32_t definitionExpression();
    std::uint32_t quotedExpression(const Token &string);
    Axis axis();
    int axisNumber();
    int axisNumberLiteral();
    std::uint32_t name(const QString &what);

    std::uint32_t expression() { return binary(orLevel); }
    std::uint32_t binary(int minLevel);
    std::uint32_t postfix();
    bool startsName();
    std::uint32_t nameInExpression();
    std::uint32_t primary();
    void arguments(Children &children);
    std::uint32_t tuple();
    std::uint32_t set();
    std::uint32_t caseExpression();

    const SourceText &m_source;
    QStringView m_text;
    const std::vector<int> *m_offsets;
    Lexer m_lexer;
    // The current token and those looked ahead at: a deque, so that a reference to one
    // survives lexing more (but not advancing past it).
    std::deque<Token> m_tokens;
    TreeBuilder &m_builder;
    int &m_depth;
    bool m_quoted;
};

Statement Parser::statement()
{
    Statement::Parts statement;
    if (acceptWord(u"WITH")) {
        if (!atWord(u"MEMBER") && !atWord(u"SET"))
            fail(QStringLiteral("MEMBER or SET"));
        while (atWord(u"MEMBER") || atWord(u"SET"))
            statement.definitions.append(definition());
        const bool member = statement.definitions.constLast().kind == Definition::Kind::Member;
        expectWord(u"SELECT", member ? QStringLiteral("',', MEMBER, SET or SELECT")
                                     : QStringLiteral("MEMBER, SET or SELECT"));
    } else {
        expectWord(u"SELECT", QStringLiteral("SELECT"));
    }

    if (!atWord(u"FROM")) {
        for (;;) {
            statement.axes.append(axis());
            if (accept(TokenKind::Comma))
                continue;
            if (atWord(u"FROM"))
                break;
            fail(QStringLiteral("',' or FROM"));
        }
    }
    advance();
    statement.cube = node(name(QStringLiteral("a cube name")));

    QString expected = QStringLiteral("WHERE, CELL PROPERTIES or the end of the statement");
    if (acceptWord(u"WHERE")) {
        statement.slicer = node(expression());
        expected = QStringLiteral("CELL PROPERTIES or the end of the statement");
    }
    if (acceptWord(u"CELL")) {
        expectWord(u"PROPERTIES", QStringLiteral("PROPERTIES"));
        do
            statement.cellProperties.append(node(name(QStringLiteral("a cell property name"))));
        while (accept(TokenKind::Comma));
        expected = QStringLiteral("',' or the end of the statement");
    }
    if (!at(TokenKind::End))
        fail(expected);
    return Statement(m_builder.tree(), std::move(statement));
}

std::uint32_t Parser::wholeExpression()
{
    const std::uint32_t id = expression();
    if (!at(TokenKind::End)) {
        fail(m_quoted ? QStringLiteral("an operator or the end of the quoted expression")
                      : QStringLiteral("an operator or the end of the expression"));
    }
    return id;
}

Definition Parser::definition()
{
    Definition definition;
    definition.pos = cur().pos;
    definition.kind = atWord(u"MEMBER") ? Definition::Kind::Member : Definition::Kind::Set;
    advance();
    const bool member = definition.kind == Definition::Kind::Member;
    definition.name =
        node(name(member ? QStringLiteral("a member name") : QStringLiteral("a set name")));
    expectWord(u"AS", QStringLiteral("AS"));
    definition.expression = node(definitionExpression());
    if (!member)
        return definition;
    while (accept(TokenKind::Comma)) {
        if (!at(TokenKind::Identifier))
            fail(QStringLiteral("a property name such as SOLVE_ORDER or FORMAT_STRING"));
        MemberProperty property;
        property.name = cur().text;
        property.pos = cur().pos;
        advance();
        expect(TokenKind::Equal, QStringLiteral("'='"));
        property.value = node(expression());
        definition.properties.append(property);
    }
    return definition;
}

// AS 'text' in single quotes, the whole of the definition, is the expression the text holds;
// any other string stays a string literal.
std::uint32_t Parser::definitionExpression()
{
    const Token &token = cur();
    if (token.kind == TokenKind::String && token.quote == u'\'') {
        const Token &after = peek(1);
        if (after.kind == TokenKind::Comma || after.kind == TokenKind::End
            || isWord(after, u"MEMBER") || isWord(after, u"SET") || isWord(after, u"SELECT")) {
            const std::uint32_t id = quotedExpression(token);
            advance();
            return id;
        }
    }
    return expression();
}

std::uint32_t Parser::quotedExpression(const Token &string)
{
    // Undouble the quotes and remember where each character came from, so that the positions
    // of the inner tokens (and of its errors) are those in the statement.
    QString inner;
    std::vector<int> offsets;
    const auto sourceOffset = [&](int index) {
        return m_offsets ? (*m_offsets)[size_t(index)] : index;
    };
    const int close = string.end - 1;
    for (int i = string.begin + 1; i < close; ++i) {
        inner += m_text[i];
        offsets.push_back(sourceOffset(i));
        if (m_text[i] == string.quote)
            ++i;
    }
    offsets.push_back(sourceOffset(close));
    Parser parser(m_source, inner, &offsets, m_builder, m_depth, true);
    return parser.wholeExpression();
}

Axis Parser::axis()
{
    Axis axis;
    axis.pos = cur().pos;
    if (acceptWord(u"NON")) {
        expectWord(u"EMPTY", QStringLiteral("EMPTY"));
        axis.nonEmpty = true;
    }
    axis.set = node(expression());
    const bool dimension = acceptWord(u"DIMENSION");
    if (dimension)
        expectWord(u"PROPERTIES", QStringLiteral("PROPERTIES"));
    if (dimension || acceptWord(u"PROPERTIES")) {
        do
            axis.dimensionProperties.append(node(name(QStringLiteral("a property name"))));
        while (accept(TokenKind::Comma));
    }
    expectWord(u"ON", axis.dimensionProperties.isEmpty() ? QStringLiteral("ON")
                                                         : QStringLiteral("',' or ON"));
    axis.number = axisNumber();
    return axis;
}

int Parser::axisNumber()
{
    for (int i = 0; i < int(std::size(axisWords)); ++i) {
        if (acceptWord(QStringView(axisWords[i])))
            return i;
    }
    if (acceptWord(u"AXIS")) {
        expect(TokenKind::LeftParen, QStringLiteral("'('"));
        const int number = axisNumberLiteral();
        expect(TokenKind::RightParen, QStringLiteral("')'"));
        return number;
    }
    if (at(TokenKind::Number))
        return axisNumberLiteral();
    fail(QStringLiteral("COLUMNS, ROWS, PAGES, SECTIONS, CHAPTERS, AXIS(n) or an axis number"));
}

int Parser::axisNumberLiteral()
{
    if (!at(TokenKind::Number))
        fail(QStringLiteral("an axis number"));
    const double value = cur().number;
    if (value > maxAxisNumber || value != int(value)) {
        throw syntaxError(cur().pos, QStringLiteral("the axis number %1 is not a whole number "
                                                    "from 0 to %2")
                                         .arg(describeToken(cur(), m_text))
                                         .arg(maxAxisNumber));
    }
    advance();
    return int(value);
}

// A name on its own, where no expression may stand: the cube, a definition, a property.
std::uint32_t Parser::name(const QString &what)
{
    const SourcePos pos = cur().pos;
    const std::uint32_t first = m_builder.partCount();
    if (at(TokenKind::BracketName))
        m_builder.addPart(cur().text, true, false);
    else if (at(TokenKind::Identifier) && !isOneOf(cur(), reservedWords))
        m_builder.addPart(cur().text, false, false);
    else
        fail(what);
    advance();
    while (accept(TokenKind::Dot)) {
        const bool key = accept(TokenKind::Ampersand);
        if (at(TokenKind::BracketName))
            m_builder.addPart(cur().text, true, key);
        else if (key)
            fail(QStringLiteral("a bracketed key after '&'"));
        else if (at(TokenKind::Identifier))
            m_builder.addPart(cur().text, false, false);
        else
            fail(QStringLiteral("a name after '.'"));
        advance();
    }
    return m_builder.addName(pos, first);
}

std::uint32_t Parser::binary(int minLevel)
{
    std::uint32_t left = 0;
    const Token &token = cur();
    if (minLevel <= notLevel && isWord(token, u"NOT")) {
        Nesting nesting(*this);
        const SourcePos pos = token.pos;
        advance();
        const std::uint32_t operand[] = {binary(notLevel)};
        left = m_builder.add(NodeKind::Unary, pos, operand, std::uint8_t(Operator::Not));
    } else if (minLevel <= signLevel
               && (token.kind == TokenKind::Minus || token.kind == TokenKind::Plus)) {
        Nesting nesting(*this);
        const SourcePos pos = token.pos;
        const Operator op = token.kind == TokenKind::Minus ? Operator::Negate : Operator::UnaryPlus;
        advance();
        const std::uint32_t operand[] = {binary(signLevel)};
        left = m_builder.add(NodeKind::Unary, pos, operand, std::uint8_t(op));
    } else {
        left = postfix();
    }

    for (;;) {
        Operator op = Operator::None;
        const int level = binaryLevel(cur(), op);
        if (level == 0 || level < minLevel)
            return left;
        const SourcePos pos = cur().pos;
        advance();
        if (op == Operator::Is && acceptWord(u"EMPTY")) {
            const std::uint32_t operand[] = {left};
            left = m_builder.add(NodeKind::Unary, pos, operand, std::uint8_t(Operator::IsEmpty));
            continue;
        }
        const std::uint32_t operands[] = {left, binary(level + 1)}; // left-associative
        left = m_builder.add(NodeKind::Binary, pos, operands, std::uint8_t(op));
    }
}

std::uint32_t Parser::postfix()
{
    std::uint32_t id = startsName() ? nameInExpression() : primary();
    while (accept(TokenKind::Dot)) {
        if (!at(TokenKind::Identifier))
            fail(QStringLiteral("a property or function name after '.'"));
        const SourcePos pos = cur().pos;
        const QString word = cur().text;
        advance();
        if (at(TokenKind::LeftParen)) {
            Children children{id};
            arguments(children);
            id = m_builder.addString(NodeKind::Method, pos, word, children);
        } else {
            const std::uint32_t object[] = {id};
            id = m_builder.addString(NodeKind::Property, pos, word, object);
        }
    }
    return id;
}

// A bracketed name, or a word that is neither reserved, nor a function called, nor a flag
// standing alone.
bool Parser::startsName()
{
    const Token &token = cur();
    if (token.kind == TokenKind::BracketName)
        return true;
    if (token.kind != TokenKind::Identifier || isOneOf(token, reservedWords))
        return false;
    const Token &after = peek(1);
    if (after.kind == TokenKind::LeftParen)
        return false;
    return after.kind == TokenKind::Dot || !flagWord(token);
}

std::uint32_t Parser::nameInExpression()
{
    const SourcePos pos = cur().pos;
    const std::uint32_t first = m_builder.partCount();
    m_builder.addPart(cur().text, cur().kind == TokenKind::BracketName, false);
    advance();
    while (at(TokenKind::Dot)) {
        const Token &next = peek(1);
        if (next.kind == TokenKind::BracketName) {
            advance();
            m_builder.addPart(cur().text, true, false);
        } else if (next.kind == TokenKind::Ampersand) {
            advance();
            advance();
            if (!at(TokenKind::BracketName))
                fail(QStringLiteral("a bracketed key after '&'"));
            m_builder.addPart(cur().text, true, true);
        } else if (next.kind == TokenKind::Identifier && peek(2).kind != TokenKind::LeftParen
                   && !isOneOf(next, propertyWords)) {
            advance();
            m_builder.addPart(cur().text, false, false);
        } else {
            break; // a property or method follows, or an error
        }
        advance();
    }
    return m_builder.addName(pos, first);
}

std::uint32_t Parser::primary()
{
    const Token &token = cur();
    switch (token.kind) {
    case TokenKind::Number: {
        const std::uint32_t id = m_builder.addNumber(token.pos, token.number);
        advance();
        return id;
    }
    case TokenKind::String: {
        const std::uint32_t id = m_builder.addString(NodeKind::String, token.pos, token.text);
        advance();
        return id;
    }
    case TokenKind::LeftParen:
        return tuple();
    case TokenKind::LeftBrace:
        return set();
    case TokenKind::Identifier:
        if (isWord(token, u"NULL")) {
            const std::uint32_t id = m_builder.add(NodeKind::Null, token.pos);
            advance();
            return id;
        }
        if (isWord(token, u"CASE"))
            return caseExpression();
        if (isOneOf(token, reservedWords))
            break;
        if (peek(1).kind == TokenKind::LeftParen) {
            const SourcePos pos = token.pos;
            const QString function = token.text;
            advance();
            Children children;
            arguments(children);
            return m_builder.addString(NodeKind::Call, pos, function, children);
        }
        if (const FlagWord *flag = flagWord(token)) {
            const std::uint32_t id = m_builder.addString(NodeKind::Flag, token.pos, token.text, {},
                                                         std::uint8_t(flag->flag));
            advance();
            return id;
        }
        break;
    default:
        break;
    }
    fail(QStringLiteral("an expression"));
}

// ( [argument {, argument}] ), where an argument may be left out: f(a, , b).
void Parser::arguments(Children &children)
{
    Nesting nesting(*this);
    advance();
    if (accept(TokenKind::RightParen))
        return;
    for (;;) {
        if (at(TokenKind::Comma) || at(TokenKind::RightParen))
            children.append(m_builder.add(NodeKind::Missing, cur().pos));
        else
            children.append(expression());
        if (accept(TokenKind::Comma))
            continue;
        if (accept(TokenKind::RightParen))
            return;
        fail(QStringLiteral("',' or ')'"));
    }
}

std::uint32_t Parser::tuple()
{
    Nesting nesting(*this);
    const SourcePos pos = cur().pos;
    advance();
    Children children;
    for (;;) {
        children.append(expression());
        if (accept(TokenKind::Comma))
            continue;
        if (accept(TokenKind::RightParen))
            return m_builder.add(NodeKind::Tuple, pos, children);
        fail(QStringLiteral("',' or ')'"));
    }
}

std::uint32_t Parser::set()
{
    Nesting nesting(*this);
    const SourcePos pos = cur().pos;
    advance();
    Children children;
    if (!accept(TokenKind::RightBrace)) {
        for (;;) {
            children.append(expression());
            if (accept(TokenKind::Comma))
                continue;
            if (accept(TokenKind::RightBrace))
                break;
            fail(QStringLiteral("',' or '}'"));
        }
    }
    return m_builder.add(NodeKind::Set, pos, children);
}

std::uint32_t Parser::caseExpression()
{
    Nesting nesting(*this);
    const SourcePos pos = cur().pos;
    advance();
    Children children;
    children.append(atWord(u"WHEN") ? m_builder.add(NodeKind::Missing, cur().pos) : expression());
    if (!atWord(u"WHEN"))
        fail(QStringLiteral("WHEN"));
    while (acceptWord(u"WHEN")) {
        children.append(expression());
        expectWord(u"THEN", QStringLiteral("THEN"));
        children.append(expression());
    }
    if (acceptWord(u"ELSE")) {
        children.append(expression());
        expectWord(u"END", QStringLiteral("END"));
    } else {
        children.append(m_builder.add(NodeKind::Missing, cur().pos));
        expectWord(u"END", QStringLiteral("WHEN, ELSE or END"));
    }
    return m_builder.add(NodeKind::Case, pos, children);
}

} // namespace

Statement parseStatement(const QString &text)
{
    const SourceText source(text);
    TreeBuilder builder;
    int depth = 1;
    Parser parser(source, source.text(), nullptr, builder, depth, false);
    return parser.statement();
}

Expression parseExpression(const QString &text)
{
    const SourceText source(text);
    TreeBuilder builder;
    int depth = 1;
    Parser parser(source, source.text(), nullptr, builder, depth, false);
    const std::uint32_t root = parser.wholeExpression();
    return Expression(builder.tree(), builder.node(root));
}

} // namespace platform::olap::mdx
