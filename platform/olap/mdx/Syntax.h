#pragma once

#include <QList>
#include <QString>
#include <QStringView>

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace platform::olap::mdx {

// The deepest nesting the parser builds: a node path longer than this (parentheses, braces,
// function calls, prefix operators, chains of properties) is refused before it can exhaust
// the stack of the parser or of a recursive walk over the tree. The path does not count the
// steps from a binary operator to its left operand, so that a chain a + b - c ... of any
// length parses: walkers follow such a left spine in a loop (see NodeKind::Binary).
inline constexpr int maxNesting = 256;

// 1-based line and column (in UTF-16 units) in the statement text.
struct SourcePos
{
    int line = 0;
    int column = 0;

    friend bool operator==(const SourcePos &, const SourcePos &) = default;
};

// One part of a compound name such as [Time].[1997] or Measures.Sales.
struct NamePart
{
    QString text;           // as written, without brackets and with "]]" undoubled
    bool bracketed = false; // written [text]
    bool key = false;       // written &[text] (a member key)
};

// Every node of an expression. MDX is dynamically typed: sets, tuples, members, levels and
// values share one grammar, and the evaluator decides what each node denotes. Each node has
// the position of its first word, or of its operator for Unary and Binary nodes, or of its
// property or function word for Property and Method nodes.
enum class NodeKind : std::uint8_t {
    Name,     // compound name, parts(): [Time].[1997], Sales, [Time].&[7]
    Number,   // numeric literal, number()
    String,   // string literal, text() is the value without quotes
    Null,     // NULL
    Flag,     // bare flag word used as an argument (SELF, ASC, POST...), flag(); text() as written
    Missing,  // an omitted argument, as in Descendants(m, , LEAVES); also an absent CASE part
    Set,      // { c0, c1, ... }, zero or more children
    Tuple,    // ( c0, c1, ... ), one or more children; with one child also plain parentheses
    Property, // c0.text(): Members, Children, CurrentMember, Name, Value... After a plain
              // name only these words are properties: Members, AllMembers, Children, Parent,
              // FirstChild, LastChild, PrevMember, NextMember, CurrentMember, DefaultMember,
              // Value, Name, UniqueName, Caption, Ordinal, Level, Hierarchy, Dimension,
              // Siblings, Count, Current; any other word continues the name ([Time].Year)
    Method,   // c0.text()(c1, c2, ...): m.Lag(1), s.Item(0), d.Levels(2)
    Call,     // text()(c0, c1, ...): any function, with any number of arguments
    Unary,    // op() c0: Negate, UnaryPlus, Not, IsEmpty (c0 IS EMPTY)
    Binary,   // c0 op() c1. A chain a op b op c ... is left-deep, ((a op b) op c) ..., as
              // long as the chain: walk the left operands (the left spine) in a loop, and
              // recurse only into the right operands and the operand at the spine's bottom
    Case,     // CASE [c0] WHEN c1 THEN c2 ... [ELSE cN] END: children are the input (or
              // Missing), the WHEN/THEN pairs, then the ELSE result (or Missing)
};

enum class Operator : std::uint8_t {
    None,
    // unary
    Negate,
    UnaryPlus,
    Not,
    IsEmpty,
    // binary, from the loosest binding to the tightest
    Or,
    Xor,
    And,
    Equal,
    NotEqual,
    Less,
    LessEqual,
    Greater,
    GreaterEqual,
    Is, // m IS m2, x IS NULL
    Add,
    Subtract, // also set difference
    Concat,   // ||
    Multiply, // also crossjoin of sets
    Divide,
    Power,
    Range, // m1:m2
};

// Flag words the set and ranking functions take as arguments.
enum class Flag : std::uint8_t {
    Self,
    After,
    Before,
    BeforeAndAfter,
    SelfAndAfter,
    SelfAndBefore,
    SelfBeforeAfter,
    Leaves,
    Asc,
    Desc,
    BAsc,
    BDesc,
    Post,
    All,
    Recursive,
    ExcludeEmpty,
    IncludeEmpty,
};

// The canonical unique name of a compound name: every part bracketed with "]" doubled, key
// parts as &[key]: [Time].[1997], [Time].&[7].
QString uniqueName(std::span<const NamePart> parts);
// The key names are looked up by, without regard to case: uniqueName(parts).toCaseFolded().
// Keys of the names of a cube are built the same way from their unique names.
QString nameKey(std::span<const NamePart> parts);

namespace detail {

struct NodeData
{
    NodeKind kind = NodeKind::Null;
    std::uint8_t sub = 0; // Operator for Unary and Binary, Flag for Flag
    std::int32_t line = 0;
    std::int32_t column = 0;
    std::uint32_t text = noText; // into the strings: String, Flag, Property, Method, Call
    std::uint32_t first = 0;     // first child index, or first name part for Name
    std::uint32_t count = 0;     // number of children, or of name parts for Name
    double number = 0;

    static constexpr std::uint32_t noText = 0xffffffffu;
};

class TreeBuilder;

} // namespace detail

class Node;

// The storage of the nodes of one parsed text: flat vectors indexed by node id, so that a tree
// costs a few allocations and a walk touches contiguous memory. Immutable once parsed.
class SyntaxTree
{
public:
    int nodeCount() const { return int(m_nodes.size()); }
    Node node(std::uint32_t id) const;

private:
    friend class Node;
    friend class detail::TreeBuilder;

    std::vector<detail::NodeData> m_nodes;
    std::vector<std::uint32_t> m_children; // children of each node, contiguous
    std::vector<NamePart> m_parts;
    std::vector<QString> m_strings;
};

// A light handle on one node of a SyntaxTree (valid while the tree lives). Passed by value.
// A null Node (default-constructed) answers isNull() only.
class Node
{
public:
    class Children;

    Node() = default;
    Node(const SyntaxTree *tree, std::uint32_t id) : m_tree(tree), m_id(id) {}

    bool isNull() const { return m_tree == nullptr; }
    const SyntaxTree *tree() const { return m_tree; }
    // Dense index in the tree (0 to nodeCount() - 1), for side tables of the evaluator.
    std::uint32_t id() const { return m_id; }

    NodeKind kind() const { return data().kind; }
    bool is(NodeKind kind) const { return !isNull() && data().kind == kind; }
    SourcePos pos() const { return {data().line, data().column}; }
    int line() const { return data().line; }
    int column() const { return data().column; }

    Operator op() const; // Unary and Binary; None otherwise
    Flag flag() const;   // Flag nodes only
    double number() const { return data().number; }
    // The value of a String; the word as written of a Flag, Property, Method or Call; else empty.
    const QString &text() const;
    // Whether text() is `word`, without regard to case (function, property and flag names).
    bool textIs(QStringView word) const;

    // Name nodes: the parts as written, their unique name and lookup key (see uniqueName()).
    std::span<const NamePart> parts() const;
    QString uniqueName() const { return mdx::uniqueName(parts()); }
    QString nameKey() const { return mdx::nameKey(parts()); }

    int childCount() const { return data().kind == NodeKind::Name ? 0 : int(data().count); }
    Node child(int index) const;
    Children children() const;

    friend bool operator==(const Node &a, const Node &b)
    {
        return a.m_tree == b.m_tree && a.m_id == b.m_id;
    }

private:
    const detail::NodeData &data() const { return m_tree->m_nodes[m_id]; }

    const SyntaxTree *m_tree = nullptr;
    std::uint32_t m_id = 0;
};

// The children of a node, for range-for.
class Node::Children
{
public:
    class Iterator
    {
    public:
        Iterator(const SyntaxTree *tree, const std::uint32_t *at) : m_tree(tree), m_at(at) {}
        Node operator*() const { return Node(m_tree, *m_at); }
        Iterator &operator++()
        {
            ++m_at;
            return *this;
        }
        bool operator==(const Iterator &other) const { return m_at == other.m_at; }

    private:
        const SyntaxTree *m_tree;
        const std::uint32_t *m_at;
    };

    Children(const SyntaxTree *tree, const std::uint32_t *begin, const std::uint32_t *end)
        : m_tree(tree), m_begin(begin), m_end(end)
    {}
    Iterator begin() const { return Iterator(m_tree, m_begin); }
    Iterator end() const { return Iterator(m_tree, m_end); }
    int size() const { return int(m_end - m_begin); }

private:
    const SyntaxTree *m_tree;
    const std::uint32_t *m_begin;
    const std::uint32_t *m_end;
};

inline Node SyntaxTree::node(std::uint32_t id) const
{
    return Node(this, id);
}

inline Node Node::child(int index) const
{
    return Node(m_tree, m_tree->m_children[data().first + std::uint32_t(index)]);
}

inline Node::Children Node::children() const
{
    const std::uint32_t *begin = m_tree->m_children.data() + data().first;
    return Children(m_tree, begin, begin + childCount());
}

// The binary operators of the chain whose last operator is `node` (a Binary node), bottom
// first: the first one's left operand is not a binary operator, each later one's left
// operand is the one before it. Found in a loop, for walkers that follow a chain's left spine.
std::vector<Node> binaryChain(const Node &node);

// A calculated member property: SOLVE_ORDER = 1, FORMAT_STRING = '#,##0', FORE_COLOR = 255...
struct MemberProperty
{
    QString name; // as written
    SourcePos pos;
    Node value;
};

// WITH MEMBER name AS expression [, property = value ...] or WITH SET name AS expression.
struct Definition
{
    enum class Kind : std::uint8_t { Member, Set };

    Kind kind = Kind::Member;
    SourcePos pos; // of the word MEMBER or SET
    Node name;     // a Name node
    Node expression;
    QList<MemberProperty> properties; // members only, in written order
};

// [NON EMPTY] set [DIMENSION PROPERTIES p, ...] ON axis.
struct Axis
{
    int number = 0; // COLUMNS 0, ROWS 1, PAGES 2, SECTIONS 3, CHAPTERS 4, AXIS(n) or n
    bool nonEmpty = false;
    SourcePos pos; // of the first word of the axis
    Node set;
    QList<Node> dimensionProperties; // Name nodes
};

// A parsed SELECT statement. It owns its tree, which copies share; its nodes live as long as
// the statement (or a copy), so nodes are not handed out by a temporary statement.
class Statement
{
public:
    struct Parts
    {
        QList<Definition> definitions;
        QList<Axis> axes;           // in written order; numbers unchecked for gaps or repeats
        Node cube;                  // a Name node
        Node slicer;                // the WHERE expression; null without WHERE
        QList<Node> cellProperties; // Name nodes; empty without CELL PROPERTIES
    };

    Statement() = default;
    Statement(std::shared_ptr<const SyntaxTree> tree, Parts parts)
        : m_tree(std::move(tree)), m_parts(std::move(parts))
    {}

    const std::shared_ptr<const SyntaxTree> &tree() const { return m_tree; }
    const QList<Definition> &definitions() const & { return m_parts.definitions; }
    const QList<Axis> &axes() const & { return m_parts.axes; }
    Node cube() const & { return m_parts.cube; }
    Node slicer() const & { return m_parts.slicer; }
    const QList<Node> &cellProperties() const & { return m_parts.cellProperties; }

    const QList<Definition> &definitions() const && = delete;
    const QList<Axis> &axes() const && = delete;
    Node cube() const && = delete;
    Node slicer() const && = delete;
    const QList<Node> &cellProperties() const && = delete;

private:
    std::shared_ptr<const SyntaxTree> m_tree;
    Parts m_parts;
};

// A parsed expression on its own, owning its tree like a Statement.
class Expression
{
public:
    Expression() = default;
    Expression(std::shared_ptr<const SyntaxTree> tree, Node root)
        : m_tree(std::move(tree)), m_root(root)
    {}

    const std::shared_ptr<const SyntaxTree> &tree() const { return m_tree; }
    Node root() const & { return m_root; }
    Node root() const && = delete;

private:
    std::shared_ptr<const SyntaxTree> m_tree;
    Node m_root;
};

} // namespace platform::olap::mdx
