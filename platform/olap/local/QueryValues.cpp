// Members, tuples and values: navigation, the cell a context names, and the numeric, logical
// and string functions.

#include "platform/olap/UniqueName.h"
#include "platform/olap/local/Query.h"
#include "platform/runtime/Error.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace platform::olap::local::engine {

DepthGuard::DepthGuard(EvaluationDepth &depth, const QString &what) : m_depth(depth)
{
    const char here = 0;
    const std::size_t used = depth.stackBase == nullptr ? 0
                             : &here < depth.stackBase  ? std::size_t(depth.stackBase - &here)
                                                        : std::size_t(&here - depth.stackBase);
    if (++m_depth.count > maxEvaluationDepth || used > maxEvaluationStack) {
        --m_depth.count;
        throw Error(QStringLiteral("The statement is nested too deeply to evaluate (more than "
                                   "%1 levels%2); a calculated member may refer to itself")
                        .arg(maxEvaluationDepth)
                        .arg(what.isEmpty() ? QString() : QStringLiteral(", in %1").arg(what)));
    }
}

// Members

Mem Query::defaultMember(int h) const
{
    if (hier(h).members.empty())
        return {};
    return {h, 0};
}

int Query::levelOf(Mem m) const
{
    if (m.isNull())
        return -1;
    if (m.isCalculated())
        return m_calcs[std::size_t(m.calcIndex())].depth;
    return hier(m.hierarchy).members[std::size_t(m.id)].level;
}

Mem Query::parentOf(Mem m) const
{
    if (m.isNull())
        return {};
    if (m.isCalculated())
        return m_calcs[std::size_t(m.calcIndex())].parent;
    const std::int32_t p = hier(m.hierarchy).members[std::size_t(m.id)].parent;
    return p < 0 ? Mem() : Mem{m.hierarchy, p};
}

Mem Query::ancestorAt(Mem m, int level) const
{
    while (!m.isNull() && levelOf(m) > level)
        m = parentOf(m);
    if (m.isNull() || levelOf(m) != level)
        return {};
    return m;
}

Mem Query::levelNeighbour(Mem m, int offset) const
{
    if (!m.isStored())
        return {};
    const HierarchyStore &h = hier(m.hierarchy);
    const LevelStore &level = h.levels[std::size_t(h.members[std::size_t(m.id)].level)];
    const std::int64_t at = std::int64_t(m.id) + offset;
    if (at < level.firstMember || at >= std::int64_t(level.firstMember) + level.memberCount)
        return {};
    return {m.hierarchy, std::int32_t(at)};
}

QString Query::nameOf(Mem m) const
{
    if (m.isNull())
        return QString();
    if (m.isCalculated())
        return m_calcs[std::size_t(m.calcIndex())].name;
    return hier(m.hierarchy).names[std::size_t(m.id)];
}

QString Query::uniqueNameOf(Mem m) const
{
    if (m.isNull())
        return QString();
    if (m.isCalculated())
        return m_calcs[std::size_t(m.calcIndex())].uniqueName;
    return hier(m.hierarchy).uniqueNames[std::size_t(m.id)];
}

QString Query::captionOf(Mem m) const
{
    if (m.isNull())
        return QString();
    if (m.isCalculated())
        return m_calcs[std::size_t(m.calcIndex())].name;
    return hier(m.hierarchy).captions[std::size_t(m.id)];
}

QString Query::levelUniqueName(int h, int level) const
{
    const HierarchyStore &hs = hier(h);
    return hs.levels[std::size_t(std::clamp(level, 0, int(hs.levels.size()) - 1))].uniqueName;
}

bool Query::isAncestorOrSelf(Mem ancestor, Mem m) const
{
    if (ancestor.isNull() || m.isNull() || ancestor.hierarchy != m.hierarchy)
        return false;
    while (m.isCalculated()) {
        if (m == ancestor)
            return true;
        m = parentOf(m);
        if (m.isNull())
            return false;
    }
    if (ancestor.isCalculated())
        return false;
    const HierarchyStore &h = hier(m.hierarchy);
    const MemberNode &a = h.members[std::size_t(ancestor.id)];
    const MemberNode &b = h.members[std::size_t(m.id)];
    return a.level <= b.level && a.leafLo <= b.leafLo && b.leafHi <= a.leafHi
           && (h.isMeasures ? ancestor.id == m.id : true);
}

std::array<std::int64_t, 3> Query::orderKey(Mem m, bool post) const
{
    if (m.isNull())
        return {-1, -1, -1};
    const HierarchyStore &h = hier(m.hierarchy);
    if (m.isCalculated()) {
        const CalcMember &calc = m_calcs[std::size_t(m.calcIndex())];
        if (calc.parent.isStored() && !h.isMeasures) {
            const MemberNode &p = h.members[std::size_t(calc.parent.id)];
            if (post)
                return {std::int64_t(p.leafHi), -std::int64_t(p.level + 1), calc.order + 1};
            return {std::int64_t(p.leafHi) - 1, std::int64_t(1) << 20, calc.order + 1};
        }
        const std::int64_t end =
            h.isMeasures ? std::int64_t(h.members.size()) : std::int64_t(h.leafCount());
        return {end, 0, calc.order + 1};
    }
    const MemberNode &node = h.members[std::size_t(m.id)];
    if (h.isMeasures)
        return {m.id, 0, 0};
    if (post)
        return {std::int64_t(node.leafHi), -std::int64_t(node.level), 0};
    return {std::int64_t(node.leafLo), std::int64_t(node.level), 0};
}

int Query::compareMembers(Mem a, Mem b, bool post) const
{
    const auto ka = orderKey(a, post);
    const auto kb = orderKey(b, post);
    return ka < kb ? -1 : (kb < ka ? 1 : 0);
}

// Values

Value Query::valueAt(std::span<const Mem> tuple)
{
    for (const Mem &m : tuple) {
        if (m.isNull())
            return {};
    }
    Scope scope(*this);
    scope.set(tuple);
    return cellValue();
}

Value Query::cellValue()
{
    int best = -1;
    int bestSolve = std::numeric_limits<int>::min();
    for (int h = 0; h < m_hierarchyCount; ++h) {
        const Mem m = m_members[std::size_t(h)];
        if (m.isNull())
            return {};
        if (m.isCalculated() && !m_consumed[std::size_t(h)]) {
            const int solve = m_calcs[std::size_t(m.calcIndex())].solveOrder;
            if (solve > bestSolve) {
                best = h;
                bestSolve = solve;
            }
        }
    }
    if (best >= 0) {
        const CalcMember &calc = m_calcs[std::size_t(m_members[std::size_t(best)].calcIndex())];
        if (!calc.error.isEmpty())
            throw Error(calc.error);
        DepthGuard guard(m_depth, calc.uniqueName);
        Scope scope(*this);
        scope.consume(best);
        return evalValue(calc.formula);
    }
    QVarLengthArray<std::int32_t, 16> key(m_hierarchyCount);
    for (int h = 0; h < m_hierarchyCount; ++h) {
        const Mem m = m_members[std::size_t(h)];
        key[h] = m.isStored() ? m.id : defaultMember(h).id;
    }
    if (hier(0).members.empty())
        return {};
    return baseValue(key.data());
}

Value Query::baseValue(const std::int32_t *key)
{
    const std::int64_t found = m_state.cache.find(key);
    if (found >= 0) {
        const CellValue &cell = m_state.cache.value(std::size_t(found));
        return cell.empty ? Value() : Value::makeNumber(cell.value);
    }
    m_pending.insert(key);
    ++m_misses;
    return {};
}

// Aggregate(set): a stored measure over a set of stored members is one cell whose coordinate
// is the group of those members, so that every aggregator (distinct count, average) is exact.
// Otherwise the values of the tuples are rolled up by the measure's aggregator.
Value Query::aggregate(const TupleList &set, int expression)
{
    if (set.empty())
        return {};
    const Mem measure = m_members[0];
    bool groupable = expression < 0 && measure.isStored();
    std::vector<bool> inSet(std::size_t(m_hierarchyCount), false);
    for (int h : set.hierarchies())
        inSet[std::size_t(h)] = true;
    for (int h = 0; groupable && h < m_hierarchyCount; ++h) {
        const Mem m = m_members[std::size_t(h)];
        if (!inSet[std::size_t(h)] && m.isCalculated() && !m_consumed[std::size_t(h)])
            groupable = false;
    }
    if (groupable && inSet[0])
        groupable = false;
    const int arity = set.arity();
    std::vector<std::vector<std::int32_t>> distinct;
    distinct.resize(std::size_t(arity));
    if (groupable) {
        for (const Mem &m : set.members()) {
            if (!m.isStored()) {
                groupable = false;
                break;
            }
        }
    }
    if (groupable) {
        std::uint64_t product = 1;
        for (int p = 0; p < arity; ++p) {
            std::vector<std::int32_t> &ids = distinct[std::size_t(p)];
            for (std::size_t i = 0; i < set.size(); ++i)
                ids.push_back(set.member(i, p).id);
            std::sort(ids.begin(), ids.end());
            ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
            product *= ids.size();
        }
        // A crossjoin of members is a group per hierarchy; any other set of tuples is not.
        if (product != set.size()) {
            KeyTable<char> seen(arity);
            for (std::size_t i = 0; i < set.size(); ++i) {
                QVarLengthArray<std::int32_t, 8> k;
                for (const Mem &m : set.tuple(i))
                    k.append(m.id);
                seen.insert(k.data());
            }
            groupable = product == seen.size();
        }
    }
    if (groupable) {
        QVarLengthArray<std::int32_t, 16> key(m_hierarchyCount);
        for (int h = 0; h < m_hierarchyCount; ++h) {
            const Mem m = m_members[std::size_t(h)];
            key[h] = m.isStored() ? m.id : defaultMember(h).id;
        }
        for (int p = 0; p < arity; ++p) {
            const int h = set.hierarchies()[std::size_t(p)];
            const std::vector<std::int32_t> &ids = distinct[std::size_t(p)];
            key[h] = ids.size() == 1 ? ids[0] : m_state.groups.intern(h, ids);
        }
        return baseValue(key.data());
    }

    // Rolled up tuple by tuple.
    local::Aggregator rollup = local::Aggregator::Sum;
    if (measure.isStored())
        rollup = m_cube.measures[std::size_t(measure.id)].aggregator;
    if (rollup == local::Aggregator::Avg || rollup == local::Aggregator::DistinctCount) {
        throw Error(QStringLiteral("Aggregate cannot combine %1 (%2) over a set that is not a "
                                   "crossjoin of stored members")
                        .arg(uniqueNameOf(measure), rollup == local::Aggregator::Avg
                                                        ? QStringLiteral("an average")
                                                        : QStringLiteral("a distinct "
                                                                         "count")));
    }
    Value result;
    for (std::size_t i = 0; i < set.size(); ++i) {
        Value v;
        {
            Scope scope(*this);
            scope.set(set.tuple(i));
            v = expression >= 0 ? evalValue(expression) : cellValue();
        }
        if (v.isEmpty())
            continue;
        if (!v.isNumeric())
            throw Error(QStringLiteral("Aggregate needs numbers, not the text \"%1\"").arg(v.text));
        if (result.isEmpty()) {
            result = Value::makeNumber(v.number);
            continue;
        }
        if (rollup == local::Aggregator::Min)
            result.number = std::min(result.number, v.number);
        else if (rollup == local::Aggregator::Max)
            result.number = std::max(result.number, v.number);
        else
            result.number += v.number;
    }
    return result;
}

Value Query::arithmetic(Op op, const Value &a, const Value &b, const Expr &at)
{
    if (op == Op::Add && a.kind == Value::Kind::String && b.kind == Value::Kind::String)
        return Value::makeString(a.text + b.text);
    for (const Value *v : {&a, &b}) {
        if (v->kind == Value::Kind::String) {
            fail(at, QStringLiteral("Arithmetic needs numbers, not the text \"%1\"").arg(v->text));
        }
    }
    // Empty cells as the reference server treats them: ignored by + and -, empty through * and
    // ^, an empty numerator empty, an empty denominator zero.
    switch (op) {
    case Op::Add:
        if (a.isEmpty())
            return b.isEmpty() ? Value() : Value::makeNumber(b.number);
        return Value::makeNumber(a.number + (b.isEmpty() ? 0.0 : b.number));
    case Op::Subtract:
        if (a.isEmpty())
            return b.isEmpty() ? Value() : Value::makeNumber(-b.number);
        return Value::makeNumber(a.number - (b.isEmpty() ? 0.0 : b.number));
    case Op::Multiply:
        if (a.isEmpty() || b.isEmpty())
            return {};
        return Value::makeNumber(a.number * b.number);
    case Op::Divide:
        if (a.isEmpty())
            return {};
        return Value::makeNumber(a.number / (b.isEmpty() ? 0.0 : b.number));
    case Op::Power:
        if (a.isEmpty() || b.isEmpty())
            return {};
        return Value::makeNumber(std::pow(a.number, b.number));
    default:
        return {};
    }
}

// For sorting: empty before everything, then numbers, then texts.
int Query::compareValues(const Value &a, const Value &b) const
{
    const auto rankOf = [](const Value &v) { return v.isEmpty() ? 0 : (v.isNumeric() ? 1 : 2); };
    const int ra = rankOf(a);
    const int rb = rankOf(b);
    if (ra != rb)
        return ra < rb ? -1 : 1;
    if (ra == 1) {
        if (std::isnan(a.number) || std::isnan(b.number))
            return std::isnan(a.number) == std::isnan(b.number) ? 0
                                                                : (std::isnan(a.number) ? 1 : -1);
        return a.number < b.number ? -1 : (b.number < a.number ? 1 : 0);
    }
    if (ra == 2)
        return a.text.compare(b.text);
    return 0;
}

double Query::evalNumber(int e, const char *what)
{
    const Value v = evalValue(e);
    if (v.isNumeric())
        return v.number;
    if (v.isEmpty())
        return 0;
    fail(m_exprs[std::size_t(e)], QStringLiteral("%1 must be a number, not the text \"%2\"")
                                      .arg(QLatin1String(what), v.text));
}

bool Query::evalBool(int e)
{
    return truth(evalValue(e), e);
}

// The value of expression `e` as a condition.
bool Query::truth(const Value &v, int e) const
{
    if (v.isNumeric())
        return v.number != 0;
    if (v.isEmpty())
        return false;
    if (v.text.compare(u"true", Qt::CaseInsensitive) == 0)
        return true;
    if (v.text.compare(u"false", Qt::CaseInsensitive) == 0)
        return false;
    fail(m_exprs[std::size_t(e)],
         QStringLiteral("A condition must be true or false, not the text \"%1\"").arg(v.text));
}

Value Query::rank(int e)
{
    const Expr &x = m_exprs[std::size_t(e)];
    const int tupleExpr = int(m_children[x.first]);
    const int setExpr = int(m_children[x.first + 1]);
    const Tuple tuple = evalTuple(tupleExpr);
    const TupleList set = evalSet(setExpr);
    std::size_t position = set.size();
    for (std::size_t i = 0; i < set.size(); ++i) {
        const std::span<const Mem> t = set.tuple(i);
        if (t.size() == std::size_t(tuple.size())
            && std::equal(t.begin(), t.end(), tuple.begin())) {
            position = i;
            break;
        }
    }
    if (position == set.size())
        return Value::makeNumber(0);
    if (x.count < 3)
        return Value::makeNumber(double(position + 1));
    // By value: one more than the tuples with a greater value; ties share a rank.
    const std::vector<Value> values = valuesOf(set, int(m_children[x.first + 2]), setExpr);
    const Value &own = values[position];
    std::size_t greater = 0;
    for (const Value &v : values) {
        if (compareValues(v, own) > 0)
            ++greater;
    }
    return Value::makeNumber(double(greater + 1));
}

// A chain of value operators ending at `e`: the first one is evaluated as any expression,
// then each later one on the value of the one before it, in a loop.
Value Query::valueChain(int e)
{
    int first = e;
    while (m_exprs[std::size_t(first)].chained)
        --first;
    Value value = evalValue(first);
    for (int link = first + 1; link <= e; ++link)
        value = applyOperator(link, value, link - 1);
    return value;
}

// Operator `e` on its left operand's value (that of expression `leftExpr`), evaluating its
// right operand where it needs it: AND and OR do not when the left operand decides.
Value Query::applyOperator(int e, const Value &left, int leftExpr)
{
    const Expr &x = m_exprs[std::size_t(e)];
    const int right = x.count > 1 ? int(m_children[x.first + 1]) : -1;
    switch (x.op) {
    case Op::Add:
    case Op::Subtract:
    case Op::Multiply:
    case Op::Divide:
    case Op::Power:
        return arithmetic(x.op, left, evalValue(right), x);
    case Op::Concat: {
        const Value b = evalValue(right);
        const auto text = [](const Value &v) {
            if (v.kind == Value::Kind::String)
                return v.text;
            if (v.isEmpty())
                return QString();
            return QString::number(v.number, 'g', 15);
        };
        return Value::makeString(text(left) + text(b));
    }
    case Op::Equal:
    case Op::NotEqual:
    case Op::Less:
    case Op::LessEqual:
    case Op::Greater:
    case Op::GreaterEqual: {
        const Value &a = left;
        const Value b = evalValue(right);
        if (a.isEmpty() || b.isEmpty())
            return Value::makeBoolean(false);
        int c = 0;
        if (a.isNumeric() && b.isNumeric()) {
            if (std::isnan(a.number) || std::isnan(b.number))
                return Value::makeBoolean(false);
            c = a.number < b.number ? -1 : (b.number < a.number ? 1 : 0);
        } else if (!a.isNumeric() && !b.isNumeric()) {
            c = a.text.compare(b.text);
        } else {
            fail(x, QStringLiteral("Cannot compare a number with a text"));
        }
        switch (x.op) {
        case Op::Equal:
            return Value::makeBoolean(c == 0);
        case Op::NotEqual:
            return Value::makeBoolean(c != 0);
        case Op::Less:
            return Value::makeBoolean(c < 0);
        case Op::LessEqual:
            return Value::makeBoolean(c <= 0);
        case Op::Greater:
            return Value::makeBoolean(c > 0);
        default:
            return Value::makeBoolean(c >= 0);
        }
    }
    case Op::And:
        return Value::makeBoolean(truth(left, leftExpr) && evalBool(right));
    case Op::Or:
        return Value::makeBoolean(truth(left, leftExpr) || evalBool(right));
    case Op::Xor: {
        const bool a = truth(left, leftExpr);
        return Value::makeBoolean(a != evalBool(right));
    }
    case Op::IsNull:
        return Value::makeBoolean(left.isEmpty());
    default:
        fail(x, QStringLiteral("A value was expected here"));
    }
}

Value Query::evalValue(int e)
{
    const Expr &x = m_exprs[std::size_t(e)];
    switch (x.type) {
    case Type::Member: {
        const Mem m = evalMember(e);
        if (m.isNull())
            return {};
        Scope scope(*this);
        scope.set(m);
        return cellValue();
    }
    case Type::Tuple:
    case Type::Hierarchy: {
        const Tuple t = evalTuple(e);
        return valueAt(t);
    }
    case Type::Null:
        return {};
    case Type::Value:
        break;
    default:
        fail(x, QStringLiteral("A value was expected here"));
    }
    DepthGuard guard(m_depth, QString());
    const auto child = [&](int i) { return int(m_children[x.first + std::uint32_t(i)]); };
    switch (x.op) {
    case Op::Number:
        return Value::makeNumber(x.number);
    case Op::String:
        return Value::makeString(x.text);
    case Op::Add:
    case Op::Subtract:
    case Op::Multiply:
    case Op::Divide:
    case Op::Power:
    case Op::Concat:
    case Op::Equal:
    case Op::NotEqual:
    case Op::Less:
    case Op::LessEqual:
    case Op::Greater:
    case Op::GreaterEqual:
    case Op::And:
    case Op::Or:
    case Op::Xor:
        return x.chained ? valueChain(e) : applyOperator(e, evalValue(child(0)), child(0));
    case Op::Negate:
    case Op::Plus: {
        const Value a = evalValue(child(0));
        if (a.isEmpty())
            return {};
        if (!a.isNumeric())
            fail(x, QStringLiteral("A sign needs a number, not the text \"%1\"").arg(a.text));
        return Value::makeNumber(x.op == Op::Negate ? -a.number : a.number);
    }
    case Op::Not:
        return Value::makeBoolean(!evalBool(child(0)));
    case Op::IsEmpty:
        return Value::makeBoolean(evalValue(child(0)).isEmpty());
    case Op::IsNull: {
        const Type t = m_exprs[std::size_t(child(0))].type;
        if (t == Type::Member)
            return Value::makeBoolean(evalMember(child(0)).isNull());
        if (x.chained)
            return valueChain(e);
        return Value::makeBoolean(evalValue(child(0)).isEmpty());
    }
    case Op::Is:
        return Value::makeBoolean(evalMember(child(0)) == evalMember(child(1)));
    case Op::IIf:
        return evalBool(child(0)) ? evalValue(child(1)) : evalValue(child(2));
    case Op::CoalesceEmpty:
        for (std::uint32_t i = 0; i < x.count; ++i) {
            Value v = evalValue(child(int(i)));
            if (!v.isEmpty())
                return v;
        }
        return {};
    case Op::Sum:
    case Op::Avg:
    case Op::Min:
    case Op::Max: {
        const TupleList set = evalSet(child(0));
        const std::vector<Value> values = valuesOf(set, x.count > 1 ? child(1) : -1, child(0));
        Value result;
        std::size_t n = 0;
        for (const Value &v : values) {
            if (v.isEmpty())
                continue;
            if (!v.isNumeric())
                fail(x,
                     QStringLiteral("%1 needs numbers, not the text \"%2\"").arg(x.text, v.text));
            ++n;
            if (result.isEmpty()) {
                result = Value::makeNumber(v.number);
            } else if (x.op == Op::Min) {
                result.number = std::min(result.number, v.number);
            } else if (x.op == Op::Max) {
                result.number = std::max(result.number, v.number);
            } else {
                result.number += v.number;
            }
        }
        if (x.op == Op::Avg && n > 0)
            result.number /= double(n);
        return result;
    }
    case Op::Count: {
        const TupleList set = evalSet(child(0));
        const bool excludeEmpty =
            x.count > 1
            && mdx::Flag(m_exprs[std::size_t(child(1))].flag) == mdx::Flag::ExcludeEmpty;
        if (!excludeEmpty)
            return Value::makeNumber(double(set.size()));
        std::size_t n = 0;
        for (const Value &v : valuesOf(set, -1, child(0)))
            n += v.isEmpty() ? 0 : 1;
        return Value::makeNumber(double(n));
    }
    case Op::SetCount:
        return Value::makeNumber(double(evalSet(child(0)).size()));
    case Op::Aggregate: {
        const TupleList set = evalSet(child(0));
        return aggregate(set, x.count > 1 ? child(1) : -1);
    }
    case Op::Rank:
        return rank(e);
    case Op::Abs: {
        const Value a = evalValue(child(0));
        if (a.isEmpty())
            return {};
        if (!a.isNumeric())
            fail(x, QStringLiteral("Abs needs a number, not the text \"%1\"").arg(a.text));
        return Value::makeNumber(std::fabs(a.number));
    }
    case Op::Round: {
        const Value a = evalValue(child(0));
        if (a.isEmpty())
            return {};
        if (!a.isNumeric())
            fail(x, QStringLiteral("Round needs a number, not the text \"%1\"").arg(a.text));
        const double wanted = x.count > 1 ? evalNumber(child(1), "The number of digits") : 0;
        if (!(wanted >= -15 && wanted <= 15))
            fail(x, QStringLiteral("Round takes -15 to 15 digits, not %1").arg(wanted));
        const int digits = int(wanted);
        // Half to even, as Visual Basic's Round.
        const double scale = std::pow(10.0, digits);
        const double scaled = a.number * scale;
        double r = std::nearbyint(scaled);
        if (!std::isfinite(r))
            r = scaled;
        return Value::makeNumber(r / scale);
    }
    case Op::ValueOf: {
        const Type t = m_exprs[std::size_t(child(0))].type;
        if (t == Type::Value)
            return evalValue(child(0));
        return valueAt(evalTuple(child(0)));
    }
    case Op::NameOf:
    case Op::UniqueNameOf:
    case Op::CaptionOf: {
        const Expr &object = m_exprs[std::size_t(child(0))];
        if (object.type == Type::Level) {
            const LevelRef level = evalLevel(child(0));
            const LevelStore &ls = hier(level.hierarchy).levels[std::size_t(level.level)];
            return Value::makeString(x.op == Op::UniqueNameOf ? ls.uniqueName : ls.name);
        }
        if (object.type == Type::Hierarchy) {
            const int h = evalHierarchy(child(0));
            const bool dimension =
                object.op == Op::DimensionOf || (object.op == Op::HierarchyRef && object.dimension);
            if (dimension) {
                const DimensionStore &d = m_cube.dimensions[std::size_t(hier(h).dimension)];
                return Value::makeString(x.op == Op::UniqueNameOf ? d.uniqueName : d.name);
            }
            return Value::makeString(x.op == Op::UniqueNameOf ? hier(h).uniqueName : hier(h).name);
        }
        const Mem m = evalMember(child(0));
        return Value::makeString(x.op == Op::NameOf         ? nameOf(m)
                                 : x.op == Op::UniqueNameOf ? uniqueNameOf(m)
                                                            : captionOf(m));
    }
    case Op::OrdinalOf:
        return Value::makeNumber(double(evalLevel(child(0)).level));
    case Op::Case: {
        const int last = int(x.count) - 1;
        const bool simple = m_exprs[std::size_t(child(0))].op != Op::Missing;
        const Value input = simple ? evalValue(child(0)) : Value();
        for (int i = 1; i < last; i += 2) {
            bool match = false;
            if (simple) {
                const Value when = evalValue(child(i));
                match = !input.isEmpty() && !when.isEmpty() && input.isNumeric() == when.isNumeric()
                        && compareValues(input, when) == 0;
            } else {
                match = evalBool(child(i));
            }
            if (match)
                return evalValue(child(i + 1));
        }
        if (m_exprs[std::size_t(child(last))].op == Op::Missing)
            return {};
        return evalValue(child(last));
    }
    case Op::GenerateString: {
        const TupleList set = evalSet(child(0));
        const QString delimiter = x.count > 2 ? evalValue(child(2)).text : QString();
        struct TextDepth
        {
            int &depth;
            explicit TextDepth(int &d) : depth(d) { ++depth; }
            ~TextDepth() { --depth; }
        };
        if (m_textDepth == 0)
            m_textWork = 0;
        const TextDepth depth(m_textDepth);
        const auto limit = std::uint64_t(m_limits.cellLimit);
        m_textWork += set.size();
        if (m_textWork > limit) {
            fail(x, QStringLiteral("Generate would build its text from more than %1 iterations, "
                                   "the limit")
                        .arg(m_limits.cellLimit));
        }
        QString out;
        for (std::size_t i = 0; i < set.size(); ++i) {
            Scope scope(*this);
            scope.set(set.tuple(i));
            m_iterations.push_back({child(0), Tuple(set.tuple(i).begin(), set.tuple(i).end())});
            const Value v = evalValue(child(1));
            m_iterations.pop_back();
            const QString piece = v.kind == Value::Kind::String ? v.text
                                  : v.isEmpty()                 ? QString()
                                                : QString::number(v.number, 'g', 15);
            if (std::uint64_t(out.size()) + std::uint64_t(delimiter.size())
                    + std::uint64_t(piece.size())
                > limit) {
                fail(x, QStringLiteral("Generate would build a text longer than %1 characters, "
                                       "the limit")
                            .arg(m_limits.cellLimit));
            }
            if (i > 0)
                out += delimiter;
            out += piece;
        }
        return Value::makeString(out);
    }
    default:
        fail(x, QStringLiteral("A value was expected here"));
    }
}

Mem Query::evalMember(int e)
{
    const Expr &x = m_exprs[std::size_t(e)];
    switch (x.type) {
    case Type::Tuple: {
        const Tuple t = evalTuple(e);
        if (t.size() != 1)
            fail(x, QStringLiteral("A member was expected, not a tuple of %1").arg(t.size()));
        return t[0];
    }
    case Type::Hierarchy:
        return m_members[std::size_t(evalHierarchy(e))];
    case Type::Null:
        return {};
    case Type::Member:
        break;
    default:
        fail(x, QStringLiteral("A member was expected here"));
    }
    const auto child = [&](int i) { return int(m_children[x.first + std::uint32_t(i)]); };
    switch (x.op) {
    case Op::MemberRef:
        return x.member;
    case Op::Parent:
        return parentOf(evalMember(child(0)));
    case Op::FirstChild:
    case Op::LastChild: {
        const Mem m = evalMember(child(0));
        if (!m.isStored())
            return {};
        const MemberNode &node = hier(m.hierarchy).members[std::size_t(m.id)];
        if (hier(m.hierarchy).isMeasures || node.childCount == 0)
            return {};
        return {m.hierarchy,
                x.op == Op::FirstChild ? node.firstChild : node.firstChild + node.childCount - 1};
    }
    case Op::PrevMember:
        return levelNeighbour(evalMember(child(0)), -1);
    case Op::NextMember:
        return levelNeighbour(evalMember(child(0)), 1);
    case Op::Lag:
    case Op::Lead: {
        const Mem m = evalMember(child(0));
        const double n = evalNumber(child(1), "The offset");
        if (!(std::fabs(n) <= 1e9))
            return {};
        const int offset = int(n);
        return levelNeighbour(m, x.op == Op::Lag ? -offset : offset);
    }
    case Op::CurrentMember:
        return m_members[std::size_t(evalHierarchy(child(0)))];
    case Op::DefaultMember:
        return defaultMember(evalHierarchy(child(0)));
    case Op::Ancestor: {
        const Mem m = evalMember(child(0));
        if (m.isNull())
            return {};
        if (m_exprs[std::size_t(child(1))].type == Type::Level) {
            const LevelRef level = evalLevel(child(1));
            if (level.hierarchy != m.hierarchy) {
                fail(x, QStringLiteral("Ancestor: the level %1 is not of the hierarchy of %2")
                            .arg(levelUniqueName(level.hierarchy, level.level), uniqueNameOf(m)));
            }
            return ancestorAt(m, level.level);
        }
        const double n = evalNumber(child(1), "The distance");
        Mem a = m;
        for (std::size_t i = 0; i < clampCount(n, 1000) && !a.isNull(); ++i)
            a = parentOf(a);
        return a;
    }
    case Op::IIf:
        return evalMember(evalBool(child(0)) ? child(1) : child(2));
    case Op::TupleItem: {
        const Tuple t = evalTuple(child(0));
        const double n = evalNumber(child(1), "The index");
        if (!(n >= 0) || n >= double(t.size()))
            return {};
        return t[qsizetype(n)];
    }
    default:
        fail(x, QStringLiteral("A member was expected here"));
    }
}

Tuple Query::evalTuple(int e)
{
    const Expr &x = m_exprs[std::size_t(e)];
    switch (x.type) {
    case Type::Member:
    case Type::Null:
        return Tuple{evalMember(e)};
    case Type::Hierarchy:
        return Tuple{m_members[std::size_t(evalHierarchy(e))]};
    case Type::Tuple:
        break;
    default:
        fail(x, QStringLiteral("A tuple was expected here"));
    }
    const auto child = [&](int i) { return int(m_children[x.first + std::uint32_t(i)]); };
    switch (x.op) {
    case Op::TupleLiteral: {
        Tuple t;
        for (std::uint32_t i = 0; i < x.count; ++i) {
            const int c = child(int(i));
            if (m_exprs[std::size_t(c)].type == Type::Tuple) {
                const Tuple inner = evalTuple(c);
                t.append(inner.data(), inner.size());
            } else
                t.append(evalMember(c));
        }
        for (qsizetype i = 0; i < t.size(); ++i) {
            for (qsizetype j = 0; j < i; ++j) {
                if (!t[i].isNull() && t[i].hierarchy == t[j].hierarchy) {
                    fail(x, QStringLiteral("The tuple has more than one member of the "
                                           "hierarchy %1")
                                .arg(hier(t[i].hierarchy).uniqueName));
                }
            }
        }
        return t;
    }
    case Op::SetItem: {
        const TupleList set = evalSet(child(0));
        const Value index = evalValue(child(1));
        Tuple t;
        std::size_t at = set.size();
        if (index.kind == Value::Kind::String) {
            for (std::size_t i = 0; i < set.size() && at == set.size(); ++i) {
                const std::span<const Mem> tuple = set.tuple(i);
                if (tuple.size() == 1
                    && uniqueNameOf(tuple[0]).compare(index.text, Qt::CaseInsensitive) == 0)
                    at = i;
            }
        } else if (index.isNumeric() && index.number >= 0 && index.number < double(set.size())) {
            at = std::size_t(index.number);
        }
        if (at < set.size()) {
            const std::span<const Mem> tuple = set.tuple(at);
            t.append(tuple.data(), qsizetype(tuple.size()));
        } else {
            t.resize(std::max(1, set.arity()));
        }
        return t;
    }
    case Op::Current: {
        const int setExpr = child(0);
        const Expr &object = m_exprs[std::size_t(setExpr)];
        for (std::size_t i = m_iterations.size(); i-- > 0;) {
            const Expr &iterated = m_exprs[std::size_t(m_iterations[i].set)];
            if (m_iterations[i].set == setExpr
                || (object.op == Op::NamedSetRef && iterated.op == Op::NamedSetRef
                    && iterated.index == object.index))
                return m_iterations[i].tuple;
        }
        if (!m_iterations.empty())
            return m_iterations.back().tuple;
        fail(x, QStringLiteral(".Current is only defined while a set is iterated (in Filter, "
                               "Generate, Sum...)"));
    }
    default:
        fail(x, QStringLiteral("A tuple was expected here"));
    }
}

LevelRef Query::evalLevel(int e)
{
    const Expr &x = m_exprs[std::size_t(e)];
    const auto child = [&](int i) { return int(m_children[x.first + std::uint32_t(i)]); };
    switch (x.op) {
    case Op::LevelRef:
        return {x.hierarchy, x.level};
    case Op::LevelOf: {
        const Mem m = evalMember(child(0));
        if (m.isNull())
            fail(x, QStringLiteral("The member is null: it has no level"));
        return {m.hierarchy, levelOf(m)};
    }
    case Op::Levels: {
        const int h = evalHierarchy(child(0));
        const Value which = evalValue(child(1));
        const HierarchyStore &hs = hier(h);
        if (which.kind == Value::Kind::String) {
            for (std::size_t l = 0; l < hs.levels.size(); ++l) {
                if (hs.levels[l].name.compare(which.text, Qt::CaseInsensitive) == 0)
                    return {h, int(l)};
            }
            fail(x, QStringLiteral("The hierarchy %1 has no level \"%2\"")
                        .arg(hs.uniqueName, which.text));
        }
        const double n = which.isNumeric() ? which.number : -1;
        if (!(n >= 0) || n >= double(hs.levels.size())) {
            fail(x, QStringLiteral("The hierarchy %1 has levels 0 to %2, not %3")
                        .arg(hs.uniqueName)
                        .arg(hs.levels.size() - 1)
                        .arg(n));
        }
        return {h, int(n)};
    }
    default:
        fail(x, QStringLiteral("A level was expected here"));
    }
}

int Query::evalHierarchy(int e)
{
    const Expr &x = m_exprs[std::size_t(e)];
    switch (x.type) {
    case Type::Member:
    case Type::Tuple: {
        const Mem m = evalMember(e);
        if (m.isNull())
            fail(x, QStringLiteral("The member is null: it has no hierarchy"));
        return m.hierarchy;
    }
    case Type::Level:
        return evalLevel(e).hierarchy;
    case Type::Hierarchy:
        break;
    default:
        fail(x, QStringLiteral("A hierarchy was expected here"));
    }
    if (x.op == Op::HierarchyRef)
        return x.hierarchy;
    const int object = int(m_children[x.first]);
    const int h = evalHierarchy(object);
    if (x.op == Op::DimensionOf)
        return m_cube.dimensions[std::size_t(hier(h).dimension)].firstHierarchy;
    return h;
}

} // namespace platform::olap::local::engine
