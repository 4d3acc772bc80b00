#pragma once

// The evaluation of one MDX statement over a cube store. Internal to the MDX engine: MdxEngine
// is its interface.
//
// The statement is first compiled into a flat expression table with every name resolved (so
// that an unknown member, level or function fails before anything runs), then evaluated:
// the slicer, the axes' sets, then the cells. A stored cell that is not in the aggregate cache
// is recorded and taken as empty; once a step has run, the recorded cells are aggregated in one
// pass over the facts and the step runs again, until it needs no cell it does not have. Sets
// that depend on values (TopCount, Order, Filter...) thus see every value they need.

#include "platform/olap/CellsetData.h"
#include "platform/olap/local/Aggregator.h"
#include "platform/olap/local/CubeStore.h"
#include "platform/olap/local/EngineTypes.h"
#include "platform/olap/mdx/Syntax.h"

#include <QHash>
#include <QString>
#include <QVarLengthArray>

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace platform::olap::local::engine {

// What a cube keeps between statements: the aggregate cache and the groups its keys name.
struct CubeState
{
    explicit CubeState(std::shared_ptr<const CubeStore> cubeStore)
        : shared(std::move(cubeStore)), cube(*shared), groups(cube),
          cache(int(cube.hierarchies.size()))
    {}

    // The store, owned with the cube file: results read member texts from it later.
    std::shared_ptr<const CubeStore> shared;
    const CubeStore &cube; // *shared
    GroupRegistry groups;
    KeyTable<CellValue> cache;
    AggregationStats stats;
    // Schema calculated members, parsed once.
    std::vector<mdx::Expression> schemaFormulas;
    std::vector<QString> schemaErrors; // parse errors, reported when the member is used
    bool schemaParsed = false;
};

struct QueryLimits
{
    std::int64_t cellLimit = 10'000'000;
    int threads = 1;
    std::size_t rowsPerThread = std::size_t(1) << 20;
};

// What an expression denotes, as far as the statement's text tells.
enum class Type : std::uint8_t {
    // clang-format off
    Value, Member, Tuple, Set, Level, Hierarchy, Flag, Missing, Null,
    // clang-format on
};

enum class Op : std::uint8_t {
    // leaves
    // clang-format off
    Number, String, Null, Flag, Missing, MemberRef, LevelRef, HierarchyRef, NamedSetRef,
    // clang-format on
    // constructors
    SetLiteral,
    TupleLiteral,
    // sets
    // clang-format off
    Members, AllMembers, Children, Siblings, Descendants, CrossJoin, NonEmptyCrossJoin,
    Hierarchize, Filter, Head, Tail, Subset, Union, Intersect, Except, Distinct, Generate,
    NonEmpty, DrilldownLevel, DrilldownMember, Ancestors, Range, PeriodsToDate, Ytd, Qtd, Mtd,
    Wtd, LastPeriods, TopCount, BottomCount, TopSum, BottomSum, TopPercent, BottomPercent,
    Order, SetIIf,
    // clang-format on
    // members and tuples
    // clang-format off
    Parent, FirstChild, LastChild, PrevMember, NextMember, Lag, Lead, CurrentMember,
    DefaultMember, Ancestor, SetItem, TupleItem, Current,
    // clang-format on
    // levels and hierarchies
    LevelOf,
    HierarchyOf,
    DimensionOf,
    Levels,
    // values
    // clang-format off
    Add, Subtract, Multiply, Divide, Power, Negate, Plus, Concat, Equal, NotEqual, Less,
    LessEqual, Greater, GreaterEqual, And, Or, Xor, Not, IsEmpty, Is, IsNull, IIf,
    CoalesceEmpty, Sum, Count, SetCount, Avg, Min, Max, Aggregate, Rank, Abs, Round, ValueOf,
    NameOf, UniqueNameOf, CaptionOf, OrdinalOf, Case, GenerateString,
    // clang-format on
};

// One compiled expression. A chain of binary operators a op b op c ... is compiled with its
// operators at consecutive indexes after all its operands, each operator's first child the
// operator before it: an operator whose left operand is the one just before it, of the same
// type (values or sets), is `chained`, and the evaluators walk such a chain in a loop.
struct Expr
{
    Op op = Op::Null;
    Type type = Type::Value;
    std::uint8_t flag = 0;  // Flag: mdx::Flag
    bool dimension = false; // HierarchyRef: written as a dimension
    bool chained = false;   // its first child is the operator at the index before it
    int line = 0;
    int column = 0;
    std::uint32_t first = 0; // children in Query::m_children
    std::uint32_t count = 0;
    double number = 0;
    QString text;       // String: the value; functions: the name as written
    Mem member;         // MemberRef
    int hierarchy = -1; // LevelRef, HierarchyRef
    int level = -1;     // LevelRef
    int index = -1;     // NamedSetRef: the set
};

// Style properties of calculated members, in CellsetData::Style order.
enum StyleProperty { FormatString, ForeColor, BackColor, FontName, FontSize, FontFlags };
inline constexpr int styleProperties = 6;

struct CalcMember
{
    int hierarchy = 0;
    Mem parent;    // null: at the top
    int depth = 0; // its level's number
    int order = 0; // among the calculated members, for ordering
    QString name;
    QString uniqueName;
    int formula = -1; // expression index
    int solveOrder = 0;
    std::array<int, styleProperties> style{-1, -1, -1, -1, -1, -1}; // expression indexes
    bool fromSchema = false;
    bool hidden = false; // the aggregate of a slicer set: not a member of any set
    QString error;       // a schema member whose formula does not compile
};

struct NamedSet
{
    QString name;
    int expression = -1;
    TupleList value;
    bool ready = false;
    bool evaluating = false;
};

using Tuple = QVarLengthArray<Mem, 8>;

// A count or index argument as a whole number from 0 to `limit`; NaN and negatives are 0.
inline std::size_t clampCount(double n, std::size_t limit)
{
    if (!(n > 0))
        return 0;
    if (n >= double(limit))
        return limit;
    return std::size_t(n);
}

struct LevelRef
{
    int hierarchy = -1;
    int level = -1;
};

// Nested evaluations (calculated members calling each other, functions within functions)
// deeper than this, or taking more stack than this, are refused before they can exhaust the
// stack of the thread.
inline constexpr int maxEvaluationDepth = 1500;
inline constexpr std::size_t maxEvaluationStack = std::size_t(2) << 20;

struct EvaluationDepth
{
    int count = 0;
    const char *stackBase = nullptr; // where the statement's evaluation began
};

class Query
{
public:
    Query(CubeState &state, const QueryLimits &limits);
    CellsetData run(const mdx::Statement &statement);

private:
    friend class Scope;

    // --- compiling (QueryCompile.cpp)
    void defineSchemaMembers();
    void defineMembers(const mdx::Statement &statement);
    int compile(const mdx::Node &node);
    int compileName(const mdx::Node &node);
    int compileProperty(const mdx::Node &node);
    int compileMethod(const mdx::Node &node);
    int compileCall(const mdx::Node &node);
    int compileBinary(const mdx::Node &node);
    int compileOperator(const mdx::Node &node, int left, int right);
    int add(Expr expr, std::initializer_list<int> children = {});
    int add(Expr expr, std::span<const int> children);
    Expr make(Op op, Type type, const mdx::Node &at) const;
    [[noreturn]] void fail(const mdx::Node &at, const QString &message) const;
    [[noreturn]] void fail(const Expr &at, const QString &message) const;
    int hierarchyByName(const QString &name) const;
    int dimensionByName(const QString &name) const;
    int calcByName(const QString &uniqueName) const;
    bool resolve(std::span<const mdx::NamePart> parts, Expr &out) const;
    Mem findMember(int h, std::span<const mdx::NamePart> parts) const;
    int styleIndex(const QString &property) const;

    // --- members (QueryValues.cpp)
    const HierarchyStore &hier(int h) const { return m_cube.hierarchies[std::size_t(h)]; }
    Mem defaultMember(int h) const;
    int levelOf(Mem m) const;
    Mem parentOf(Mem m) const;
    Mem ancestorAt(Mem m, int level) const;
    Mem levelNeighbour(Mem m, int offset) const;
    QString nameOf(Mem m) const;
    QString uniqueNameOf(Mem m) const;
    QString captionOf(Mem m) const;
    QString levelUniqueName(int h, int level) const;
    bool isAncestorOrSelf(Mem ancestor, Mem m) const;
    // Pre-order (parents first) or post-order position, for ordering members.
    std::array<std::int64_t, 3> orderKey(Mem m, bool post = false) const;
    int compareMembers(Mem a, Mem b, bool post = false) const;

    // --- values (QueryValues.cpp)
    Value evalValue(int e);
    Mem evalMember(int e);
    Tuple evalTuple(int e);
    LevelRef evalLevel(int e);
    int evalHierarchy(int e);
    double evalNumber(int e, const char *what);
    bool evalBool(int e);
    bool truth(const Value &v, int e) const;
    Value valueChain(int e);
    Value applyOperator(int e, const Value &left, int leftExpr);
    Value cellValue();
    Value valueAt(std::span<const Mem> tuple);
    Value baseValue(const std::int32_t *key);
    Value aggregate(const TupleList &set, int expression);
    Value arithmetic(Op op, const Value &a, const Value &b, const Expr &at);
    int compareValues(const Value &a, const Value &b) const;
    Value rank(int e);

    // --- sets (SetFunctions.cpp)
    TupleList evalSet(int e);
    TupleList namedSet(int index, const Expr &at);
    TupleList setLiteral(int e);
    TupleList crossJoin(const TupleList &a, const TupleList &b, const Expr &at);
    TupleList descendants(int e);
    TupleList members(int h, bool all, int level = -1);
    TupleList single(Mem m) const;
    TupleList ranked(int e);
    TupleList order(int e);
    TupleList drilldownLevel(int e);
    TupleList drilldownMember(int e);
    TupleList periodsToDate(int e);
    TupleList lastPeriods(int e);
    TupleList range(int e);
    TupleList setOperation(const Expr &x, const TupleList &a, const TupleList &b);
    TupleList setChain(int e);
    TupleList generate(int e);
    TupleList filterNonEmpty(TupleList set, const TupleList *over);
    std::vector<Value> valuesOf(const TupleList &set, int expression, int iteratedSet);
    void checkSameHierarchies(const TupleList &a, const TupleList &b, const Expr &at) const;
    void checkSize(std::uint64_t tuples, const Expr &at) const;
    int timeHierarchy(const Expr &at) const;
    LevelRef levelOfType(int h, LevelType type, const Expr &at) const;

    // --- running (QueryRun.cpp)
    void evaluateCells(CellsetData &data);
    void dropEmpty(CellsetData &data);
    void fillAxes(CellsetData &data) const;
    void loadPending();
    std::uint32_t cellStyle(CellsetData &data);

    CubeState &m_state;
    const CubeStore &m_cube;
    QueryLimits m_limits;
    int m_hierarchyCount = 0;

    std::vector<Expr> m_exprs;
    std::vector<std::uint32_t> m_children;
    std::vector<CalcMember> m_calcs;
    QHash<QString, int> m_calcIndex; // case-folded unique name -> calculated member
    std::vector<NamedSet> m_sets;

    // The evaluation context: one member per hierarchy; a calculated member whose formula is
    // being evaluated is consumed, so that the cell it stands in is not evaluated again.
    std::vector<Mem> m_members;
    std::vector<std::uint8_t> m_consumed;
    std::vector<Mem> m_slicerMembers; // the context the slicer makes
    struct Iteration
    {
        int set; // expression iterated
        Tuple tuple;
    };
    std::vector<Iteration> m_iterations;
    EvaluationDepth m_depth;
    // Text built by Generate: the iterations of the outermost one being evaluated and those
    // nested in it, held to the cell limit as set sizes are, and so is the text's length.
    int m_textDepth = 0;
    std::uint64_t m_textWork = 0;

    KeyTable<char> m_pending;
    std::int64_t m_misses = 0;

    // Results.
    std::vector<TupleList> m_axes;
    std::vector<bool> m_nonEmpty;
    TupleList m_slicer;
    bool m_emptySlicer = false;
    QStringList m_cellProperties;
    KeyTable<std::uint32_t> m_styleMemo; // context members -> style, when styles are constant
};

class DepthGuard
{
public:
    DepthGuard(EvaluationDepth &depth, const QString &what);
    ~DepthGuard() { --m_depth.count; }
    DepthGuard(const DepthGuard &) = delete;
    DepthGuard &operator=(const DepthGuard &) = delete;

private:
    EvaluationDepth &m_depth;
};

// Sets context members for as long as it lives.
class Scope
{
public:
    explicit Scope(Query &query) : m_query(query) {}
    ~Scope()
    {
        for (qsizetype i = m_saved.size(); i-- > 0;) {
            m_query.m_members[std::size_t(m_saved[i].hierarchy)] = m_saved[i].member;
            m_query.m_consumed[std::size_t(m_saved[i].hierarchy)] = m_saved[i].consumed;
        }
    }
    Scope(const Scope &) = delete;
    Scope &operator=(const Scope &) = delete;

    void set(Mem m)
    {
        if (m.isNull())
            return;
        save(m.hierarchy);
        m_query.m_members[std::size_t(m.hierarchy)] = m;
        m_query.m_consumed[std::size_t(m.hierarchy)] = 0;
    }
    void set(std::span<const Mem> tuple)
    {
        for (const Mem &m : tuple)
            set(m);
    }
    void consume(int hierarchy)
    {
        save(hierarchy);
        m_query.m_consumed[std::size_t(hierarchy)] = 1;
    }

private:
    struct Saved
    {
        int hierarchy;
        Mem member;
        std::uint8_t consumed;
    };
    void save(int h)
    {
        m_saved.append({h, m_query.m_members[std::size_t(h)], m_query.m_consumed[std::size_t(h)]});
    }

    Query &m_query;
    QVarLengthArray<Saved, 8> m_saved;
};

} // namespace platform::olap::local::engine
