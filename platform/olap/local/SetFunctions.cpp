// The set functions. Orders follow the reference server: Descendants and Hierarchize in
// pre-order (parents first); Order ASC and DESC keep the hierarchy (siblings sorted by value,
// parents before their children), BASC and BDESC sort whole tuples; the Top and Bottom
// functions sort by value, breaking the hierarchy, then take from the top. Sorts are stable.

#include "platform/olap/local/Query.h"
#include "platform/runtime/Error.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace platform::olap::local::engine {

namespace {

mdx::Flag flagOf(const Expr &e, mdx::Flag fallback)
{
    return e.op == Op::Flag ? mdx::Flag(e.flag) : fallback;
}

// Tuples seen so far, to drop repeats.
class TupleSet
{
public:
    explicit TupleSet(int arity) : m_table(std::max(1, arity)), m_arity(arity) {}
    // True when the tuple was not there yet.
    bool insert(std::span<const Mem> tuple)
    {
        if (m_arity == 0) {
            const bool first = !m_empty;
            m_empty = true;
            return first;
        }
        QVarLengthArray<std::int32_t, 8> key;
        for (const Mem &m : tuple)
            key.append(m.id);
        bool inserted = false;
        m_table.insert(key.data(), &inserted);
        return inserted;
    }
    bool contains(std::span<const Mem> tuple) const
    {
        if (m_arity == 0)
            return m_empty;
        QVarLengthArray<std::int32_t, 8> key;
        for (const Mem &m : tuple)
            key.append(m.id);
        return m_table.find(key.data()) >= 0;
    }

private:
    KeyTable<char> m_table;
    int m_arity;
    bool m_empty = false; // the empty tuple, for a set of no hierarchies
};

} // namespace

void Query::checkSize(std::uint64_t tuples, const Expr &at) const
{
    if (tuples > std::uint64_t(m_limits.cellLimit)) {
        fail(at, QStringLiteral("The set would hold %1 tuples, more than the limit of %2")
                     .arg(tuples)
                     .arg(m_limits.cellLimit));
    }
}

void Query::checkSameHierarchies(const TupleList &a, const TupleList &b, const Expr &at) const
{
    if (a.arity() == 0 || b.arity() == 0 || a.hierarchies() == b.hierarchies())
        return;
    const auto names = [&](const TupleList &s) {
        QStringList list;
        for (int h : s.hierarchies())
            list.append(hier(h).uniqueName);
        return list.join(QStringLiteral(", "));
    };
    fail(at, QStringLiteral("%1: the sets have different hierarchies (%2 and %3)")
                 .arg(at.text.isEmpty() ? QStringLiteral("Set") : at.text, names(a), names(b)));
}

TupleList Query::single(Mem m) const
{
    if (m.isNull())
        return {};
    TupleList set({m.hierarchy});
    set.appendMember(m);
    return set;
}

TupleList Query::members(int h, bool all, int level)
{
    const HierarchyStore &hs = hier(h);
    TupleList set({h});
    std::vector<Mem> list;
    if (level >= 0) {
        const LevelStore &ls = hs.levels[std::size_t(level)];
        for (std::int32_t m = ls.firstMember; m < ls.firstMember + ls.memberCount; ++m)
            list.push_back({h, m});
        if (all) {
            for (std::size_t c = 0; c < m_calcs.size(); ++c) {
                const CalcMember &calc = m_calcs[c];
                if (calc.hierarchy == h && calc.depth == level && !calc.hidden)
                    list.push_back(Mem::calculated(h, int(c)));
            }
        }
    } else {
        for (std::int32_t m = 0; m < std::int32_t(hs.members.size()); ++m)
            list.push_back({h, m});
        if (all) {
            for (std::size_t c = 0; c < m_calcs.size(); ++c) {
                if (m_calcs[c].hierarchy == h && !m_calcs[c].hidden)
                    list.push_back(Mem::calculated(h, int(c)));
            }
        }
        std::stable_sort(list.begin(), list.end(),
                         [&](Mem a, Mem b) { return compareMembers(a, b) < 0; });
    }
    set.members() = std::move(list);
    return set;
}

TupleList Query::namedSet(int index, const Expr &at)
{
    NamedSet &set = m_sets[std::size_t(index)];
    if (set.ready)
        return set.value;
    if (set.evaluating)
        fail(at, QStringLiteral("The named set %1 refers to itself").arg(set.name));
    // Named sets are evaluated once, in the context of the slicer.
    set.evaluating = true;
    const std::vector<Mem> members = m_members;
    const std::vector<std::uint8_t> consumed = m_consumed;
    m_members = m_slicerMembers;
    std::fill(m_consumed.begin(), m_consumed.end(), 0);
    const std::int64_t misses = m_misses;
    TupleList value;
    try {
        value = evalSet(set.expression);
    } catch (...) {
        m_members = members;
        m_consumed = consumed;
        set.evaluating = false;
        throw;
    }
    m_members = members;
    m_consumed = consumed;
    set.evaluating = false;
    // A set made while cells were missing is made again once they are loaded.
    if (m_misses == misses) {
        set.value = value;
        set.ready = true;
    }
    return value;
}

TupleList Query::setLiteral(int e)
{
    const Expr &x = m_exprs[std::size_t(e)];
    TupleList result;
    bool typed = false;
    for (std::uint32_t i = 0; i < x.count; ++i) {
        const int c = int(m_children[x.first + i]);
        const Type t = m_exprs[std::size_t(c)].type;
        if (t == Type::Member || t == Type::Tuple || t == Type::Null) {
            const Tuple tuple = evalTuple(c);
            if (std::any_of(tuple.begin(), tuple.end(), [](Mem m) { return m.isNull(); }))
                continue; // a null member drops out of a set
            std::vector<int> hierarchies;
            for (const Mem &m : tuple)
                hierarchies.push_back(m.hierarchy);
            if (!typed) {
                result.setHierarchies(hierarchies);
                typed = true;
            } else if (hierarchies != result.hierarchies()) {
                checkSameHierarchies(result, TupleList(hierarchies), x);
            }
            result.append(std::span<const Mem>(tuple.data(), std::size_t(tuple.size())));
            continue;
        }
        const TupleList part = evalSet(c);
        if (part.arity() == 0)
            continue;
        if (!typed) {
            result.setHierarchies(part.hierarchies());
            typed = true;
        }
        checkSameHierarchies(result, part, x);
        checkSize(result.size() + part.size(), x);
        result.members().insert(result.members().end(), part.members().begin(),
                                part.members().end());
    }
    return result;
}

TupleList Query::crossJoin(const TupleList &a, const TupleList &b, const Expr &at)
{
    for (int h : a.hierarchies()) {
        if (std::find(b.hierarchies().begin(), b.hierarchies().end(), h) != b.hierarchies().end()) {
            fail(at, QStringLiteral("CrossJoin: both sets have the hierarchy %1")
                         .arg(hier(h).uniqueName));
        }
    }
    std::vector<int> hierarchies = a.hierarchies();
    hierarchies.insert(hierarchies.end(), b.hierarchies().begin(), b.hierarchies().end());
    TupleList result(hierarchies);
    if (a.empty() || b.empty())
        return result;
    checkSize(std::uint64_t(a.size()) * std::uint64_t(b.size()), at);
    result.reserve(a.size() * b.size());
    for (std::size_t i = 0; i < a.size(); ++i) {
        for (std::size_t j = 0; j < b.size(); ++j) {
            for (const Mem &m : a.tuple(i))
                result.appendMember(m);
            for (const Mem &m : b.tuple(j))
                result.appendMember(m);
        }
    }
    return result;
}

TupleList Query::descendants(int e)
{
    const Expr &x = m_exprs[std::size_t(e)];
    const auto child = [&](int i) { return int(m_children[x.first + std::uint32_t(i)]); };
    const int levelArg = x.count > 1 ? child(1) : -1;
    const bool noLevel = levelArg < 0 || m_exprs[std::size_t(levelArg)].op == Op::Missing;
    const bool noFlag = x.count < 3;
    mdx::Flag flag = noFlag ? mdx::Flag::Self : mdx::Flag(m_exprs[std::size_t(child(2))].flag);
    if (noLevel && noFlag)
        flag = mdx::Flag::SelfBeforeAfter;

    TupleList roots = evalSet(child(0));
    if (roots.arity() > 1)
        fail(x, QStringLiteral("Descendants needs a member or a set of members, not tuples"));
    TupleList result(roots.hierarchies());
    if (roots.arity() == 0)
        return result;
    const int h = roots.hierarchies()[0];
    const HierarchyStore &hs = hier(h);
    const int deepest = int(hs.levels.size()) - 1;

    int fixedTarget = -1;
    double distance = -1;
    if (!noLevel) {
        if (m_exprs[std::size_t(levelArg)].type == Type::Level) {
            const LevelRef level = evalLevel(levelArg);
            if (level.hierarchy != h) {
                fail(x, QStringLiteral("Descendants: the level %1 is not of the hierarchy %2")
                            .arg(levelUniqueName(level.hierarchy, level.level), hs.uniqueName));
            }
            fixedTarget = level.level;
        } else {
            distance = evalNumber(levelArg, "The distance of Descendants");
            if (!(distance >= 0))
                fail(x, QStringLiteral("Descendants: the distance cannot be negative"));
        }
    }
    for (std::size_t r = 0; r < roots.size(); ++r) {
        const Mem root = roots.member(r, 0);
        const int from = levelOf(root);
        int target = fixedTarget;
        if (noLevel)
            target = flag == mdx::Flag::Leaves ? deepest : from;
        else if (fixedTarget < 0)
            target = int(std::min<double>(from + distance, 1 << 20));
        const auto include = [&](int l, bool leaf) {
            switch (flag) {
            case mdx::Flag::Self:
                return l == target;
            case mdx::Flag::After:
                return l > target;
            case mdx::Flag::Before:
                return l >= from && l < target;
            case mdx::Flag::BeforeAndAfter:
                return (l >= from && l < target) || l > target;
            case mdx::Flag::SelfAndAfter:
                return l >= target;
            case mdx::Flag::SelfAndBefore:
                return l >= from && l <= target;
            case mdx::Flag::SelfBeforeAfter:
                return l >= from;
            case mdx::Flag::Leaves:
                return leaf && l <= target;
            default:
                return false;
            }
        };
        const bool bounded = flag == mdx::Flag::Self || flag == mdx::Flag::Before
                             || flag == mdx::Flag::SelfAndBefore || flag == mdx::Flag::Leaves;
        if (!root.isStored() || hs.isMeasures) {
            if (include(from, true))
                result.appendMember(root);
            continue;
        }
        const MemberNode &node = hs.members[std::size_t(root.id)];
        if (flag == mdx::Flag::Self) {
            // The members of one level under a member are contiguous in the level.
            if (target < from || target > deepest)
                continue;
            const LevelStore &ls = hs.levels[std::size_t(target)];
            const auto begin = hs.members.begin() + ls.firstMember;
            const auto end = begin + ls.memberCount;
            const auto before = [](const MemberNode &n, std::uint32_t leaf) {
                return n.leafLo < leaf;
            };
            const auto first = std::lower_bound(begin, end, node.leafLo, before);
            const auto last = std::lower_bound(first, end, node.leafHi, before);
            checkSize(result.size() + std::size_t(last - first), x);
            for (auto it = first; it != last; ++it)
                result.appendMember({h, std::int32_t(it - hs.members.begin())});
            continue;
        }
        // Depth first, parents before children.
        std::vector<std::int32_t> stack{root.id};
        while (!stack.empty()) {
            const std::int32_t m = stack.back();
            stack.pop_back();
            const MemberNode &n = hs.members[std::size_t(m)];
            if (include(n.level, n.childCount == 0)) {
                result.appendMember({h, m});
                checkSize(result.size(), x);
            }
            if (bounded && n.level >= target)
                continue;
            for (std::int32_t c = n.firstChild + n.childCount; c-- > n.firstChild;)
                stack.push_back(c);
        }
    }
    return result;
}

std::vector<Value> Query::valuesOf(const TupleList &set, int expression, int iteratedSet)
{
    std::vector<Value> values;
    values.reserve(set.size());
    for (std::size_t i = 0; i < set.size(); ++i) {
        Scope scope(*this);
        const std::span<const Mem> tuple = set.tuple(i);
        scope.set(tuple);
        if (std::any_of(tuple.begin(), tuple.end(), [](Mem m) { return m.isNull(); })) {
            values.emplace_back();
            continue;
        }
        if (expression < 0) {
            values.push_back(cellValue());
            continue;
        }
        m_iterations.push_back({iteratedSet, Tuple(tuple.begin(), tuple.end())});
        try {
            values.push_back(evalValue(expression));
        } catch (...) {
            m_iterations.pop_back();
            throw;
        }
        m_iterations.pop_back();
    }
    return values;
}

TupleList Query::filterNonEmpty(TupleList set, const TupleList *over)
{
    TupleList result(set.hierarchies());
    for (std::size_t i = 0; i < set.size(); ++i) {
        Scope scope(*this);
        scope.set(set.tuple(i));
        bool nonEmpty = false;
        if (!over || over->arity() == 0) {
            nonEmpty = !cellValue().isEmpty();
        } else {
            for (std::size_t j = 0; j < over->size() && !nonEmpty; ++j)
                nonEmpty = !valueAt(over->tuple(j)).isEmpty();
        }
        if (nonEmpty)
            result.append(set.tuple(i));
    }
    return result;
}

TupleList Query::ranked(int e)
{
    const Expr &x = m_exprs[std::size_t(e)];
    const auto child = [&](int i) { return int(m_children[x.first + std::uint32_t(i)]); };
    TupleList set = evalSet(child(0));
    const double n = evalNumber(
        child(1), x.op == Op::TopCount || x.op == Op::BottomCount ? "The count" : "The target");
    const bool top = x.op == Op::TopCount || x.op == Op::TopSum || x.op == Op::TopPercent;
    const bool count = x.op == Op::TopCount || x.op == Op::BottomCount;
    TupleList result(set.hierarchies());
    if (count && x.count < 3) {
        // Without a value, the first tuples as they are (for Bottom too, as the reference
        // server answers).
        const std::size_t take = clampCount(n, set.size());
        for (std::size_t i = 0; i < take; ++i)
            result.append(set.tuple(i));
        return result;
    }
    const std::vector<Value> values = valuesOf(set, child(2), child(0));
    std::vector<std::size_t> order(set.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const int c = compareValues(values[a], values[b]);
        return top ? c > 0 : c < 0;
    });
    if (count) {
        const std::size_t take = clampCount(n, set.size());
        for (std::size_t i = 0; i < take; ++i)
            result.append(set.tuple(order[i]));
        return result;
    }
    double target = n;
    if (x.op == Op::TopPercent || x.op == Op::BottomPercent) {
        double total = 0;
        for (const Value &v : values)
            total += v.isNumeric() ? v.number : 0;
        target = total * n / 100.0;
    }
    double running = 0;
    for (std::size_t i = 0; i < order.size(); ++i) {
        if (running >= target)
            break;
        result.append(set.tuple(order[i]));
        const Value &v = values[order[i]];
        running += v.isNumeric() ? v.number : 0;
    }
    return result;
}

TupleList Query::order(int e)
{
    const Expr &x = m_exprs[std::size_t(e)];
    const auto child = [&](int i) { return int(m_children[x.first + std::uint32_t(i)]); };
    TupleList set = evalSet(child(0));
    const int key = child(1);
    const mdx::Flag flag =
        x.count > 2 ? flagOf(m_exprs[std::size_t(child(2))], mdx::Flag::Asc) : mdx::Flag::Asc;
    const bool descending = flag == mdx::Flag::Desc || flag == mdx::Flag::BDesc;
    std::vector<std::size_t> order(set.size());
    std::iota(order.begin(), order.end(), 0);
    TupleList result(set.hierarchies());

    if (flag == mdx::Flag::BAsc || flag == mdx::Flag::BDesc) {
        const std::vector<Value> values = valuesOf(set, key, child(0));
        std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
            const int c = compareValues(values[a], values[b]);
            return descending ? c > 0 : c < 0;
        });
        for (std::size_t i : order)
            result.append(set.tuple(i));
        return result;
    }

    // Hierarchical: position by position, a member's ancestors come first; two members under
    // different parents compare by the values of their ancestors that are siblings, taken with
    // the tuple's earlier members; equal values fall back to the hierarchy's order.
    const int arity = set.arity();
    KeyTable<std::int32_t> memo(2 * std::max(1, arity) + 1);
    std::vector<Value> memoValues;
    const auto valueOf = [&](std::span<const Mem> prefix, Mem m) -> Value {
        QVarLengthArray<std::int32_t, 17> k(2 * std::max(1, arity) + 1);
        std::fill(k.begin(), k.end(), -1);
        k[0] = int(prefix.size());
        for (std::size_t p = 0; p < prefix.size(); ++p) {
            k[1 + 2 * qsizetype(p)] = prefix[p].hierarchy;
            k[2 + 2 * qsizetype(p)] = prefix[p].id;
        }
        k[1 + 2 * qsizetype(prefix.size())] = m.hierarchy;
        k[2 + 2 * qsizetype(prefix.size())] = m.id;
        bool inserted = false;
        const std::size_t at = memo.insert(k.data(), &inserted);
        if (inserted) {
            Scope scope(*this);
            scope.set(prefix);
            scope.set(m);
            Tuple t(prefix.begin(), prefix.end());
            t.append(m);
            m_iterations.push_back({child(0), t});
            Value v;
            try {
                v = evalValue(key);
            } catch (...) {
                m_iterations.pop_back();
                throw;
            }
            m_iterations.pop_back();
            memo.value(at) = std::int32_t(memoValues.size());
            memoValues.push_back(v);
        }
        return memoValues[std::size_t(memo.value(at))];
    };
    const auto compareAt = [&](std::span<const Mem> a, std::span<const Mem> b, int p) {
        Mem m1 = a[std::size_t(p)];
        Mem m2 = b[std::size_t(p)];
        if (m1 == m2)
            return 0;
        int d1 = levelOf(m1);
        int d2 = levelOf(m2);
        while (d1 > d2) {
            m1 = parentOf(m1);
            --d1;
            if (m1 == m2)
                return 1; // the ancestor first
        }
        while (d2 > d1) {
            m2 = parentOf(m2);
            --d2;
            if (m1 == m2)
                return -1;
        }
        while (!(parentOf(m1) == parentOf(m2))) {
            m1 = parentOf(m1);
            m2 = parentOf(m2);
        }
        const std::span<const Mem> prefix = a.first(std::size_t(p));
        int c = compareValues(valueOf(prefix, m1), valueOf(prefix, m2));
        if (descending)
            c = -c;
        if (c == 0)
            c = compareMembers(m1, m2);
        return c;
    };
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        const std::span<const Mem> ta = set.tuple(a);
        const std::span<const Mem> tb = set.tuple(b);
        for (int p = 0; p < arity; ++p) {
            const int c = compareAt(ta, tb, p);
            if (c != 0)
                return c < 0;
        }
        return false;
    });
    for (std::size_t i : order)
        result.append(set.tuple(i));
    return result;
}

TupleList Query::drilldownLevel(int e)
{
    const Expr &x = m_exprs[std::size_t(e)];
    const auto child = [&](int i) { return int(m_children[x.first + std::uint32_t(i)]); };
    const TupleList set = evalSet(child(0));
    TupleList result(set.hierarchies());
    if (set.empty())
        return result;
    int position = 0;
    int target = -1;
    if (x.count > 1 && m_exprs[std::size_t(child(1))].op != Op::Missing) {
        const LevelRef level = evalLevel(child(1));
        const auto it =
            std::find(set.hierarchies().begin(), set.hierarchies().end(), level.hierarchy);
        if (it == set.hierarchies().end()) {
            fail(x, QStringLiteral("DrilldownLevel: the set has no member of the level %1")
                        .arg(levelUniqueName(level.hierarchy, level.level)));
        }
        position = int(it - set.hierarchies().begin());
        target = level.level;
    } else {
        for (std::size_t i = 0; i < set.size(); ++i)
            target = std::max(target, levelOf(set.member(i, 0)));
    }
    for (std::size_t i = 0; i < set.size(); ++i) {
        const std::span<const Mem> t = set.tuple(i);
        result.append(t);
        const Mem m = t[std::size_t(position)];
        if (levelOf(m) != target || !m.isStored() || hier(m.hierarchy).isMeasures)
            continue;
        // A member already followed by one of its descendants is drilled already.
        if (i + 1 < set.size() && !(set.member(i + 1, position) == m)
            && isAncestorOrSelf(m, set.member(i + 1, position)))
            continue;
        const MemberNode &node = hier(m.hierarchy).members[std::size_t(m.id)];
        Tuple copy(t.begin(), t.end());
        for (std::int32_t c = node.firstChild; c < node.firstChild + node.childCount; ++c) {
            copy[position] = {m.hierarchy, c};
            result.append(std::span<const Mem>(copy.data(), std::size_t(copy.size())));
        }
        checkSize(result.size(), x);
    }
    return result;
}

TupleList Query::drilldownMember(int e)
{
    const Expr &x = m_exprs[std::size_t(e)];
    const auto child = [&](int i) { return int(m_children[x.first + std::uint32_t(i)]); };
    const TupleList set = evalSet(child(0));
    const TupleList targets = evalSet(child(1));
    const bool recursive = x.count > 2;
    TupleList result(set.hierarchies());
    if (set.empty() || targets.empty())
        return set;
    if (targets.arity() != 1)
        fail(x, QStringLiteral("DrilldownMember: the second set must hold members"));
    const int h = targets.hierarchies()[0];
    const auto it = std::find(set.hierarchies().begin(), set.hierarchies().end(), h);
    if (it == set.hierarchies().end())
        return set;
    const int position = int(it - set.hierarchies().begin());
    TupleSet drill(1);
    for (std::size_t i = 0; i < targets.size(); ++i)
        drill.insert(targets.tuple(i));
    const auto visit = [&](const auto &self, const Tuple &t, bool children) -> void {
        result.append(std::span<const Mem>(t.data(), std::size_t(t.size())));
        checkSize(result.size(), x);
        const Mem m = t[position];
        if (!children || !m.isStored() || hier(h).isMeasures || !drill.contains({&m, 1}))
            return;
        const MemberNode &node = hier(h).members[std::size_t(m.id)];
        for (std::int32_t c = node.firstChild; c < node.firstChild + node.childCount; ++c) {
            Tuple copy = t;
            copy[position] = {h, c};
            if (recursive) {
                DepthGuard guard(m_depth, QString());
                self(self, copy, true);
            } else {
                self(self, copy, false);
            }
        }
    };
    for (std::size_t i = 0; i < set.size(); ++i)
        visit(visit, Tuple(set.tuple(i).begin(), set.tuple(i).end()), true);
    return result;
}

int Query::timeHierarchy(const Expr &at) const
{
    for (int h = 0; h < m_hierarchyCount; ++h) {
        if (m_cube.dimensions[std::size_t(hier(h).dimension)].dimensionType == 1)
            return h;
    }
    fail(at, QStringLiteral("%1 needs a member: the cube has no time dimension").arg(at.text));
}

LevelRef Query::levelOfType(int h, LevelType type, const Expr &at) const
{
    const HierarchyStore &hs = hier(h);
    for (std::size_t l = 0; l < hs.levels.size(); ++l) {
        if (hs.levels[l].levelType == type)
            return {h, int(l)};
    }
    fail(at, QStringLiteral("%1: the hierarchy %2 has no level of that time type")
                 .arg(at.text, hs.uniqueName));
}

TupleList Query::periodsToDate(int e)
{
    const Expr &x = m_exprs[std::size_t(e)];
    const auto child = [&](int i) { return int(m_children[x.first + std::uint32_t(i)]); };
    LevelRef level;
    Mem member;
    bool hasLevel = false;
    if (x.op == Op::PeriodsToDate) {
        hasLevel = x.count > 0 && m_exprs[std::size_t(child(0))].op != Op::Missing;
        if (hasLevel)
            level = evalLevel(child(0));
        if (x.count > 1)
            member = evalMember(child(1));
        else
            member = m_members[std::size_t(hasLevel ? level.hierarchy : timeHierarchy(x))];
    } else {
        member = x.count > 0 ? evalMember(child(0)) : m_members[std::size_t(timeHierarchy(x))];
        if (member.isNull())
            return {};
        const LevelType type = x.op == Op::Ytd ? LevelType::TimeYears
                               // clang-format off
            : x.op == Op::Qtd                    ? LevelType::TimeQuarters
            : x.op == Op::Mtd                    ? LevelType::TimeMonths
                                                 // clang-format on
                                                 : LevelType::TimeWeeks;
        level = levelOfType(member.hierarchy, type, x);
        hasLevel = true;
    }
    if (member.isNull())
        return {};
    const int h = member.hierarchy;
    if (hasLevel && level.hierarchy != h) {
        fail(x,
             QStringLiteral("%1: the level %2 is not of the hierarchy of %3")
                 .arg(x.text, levelUniqueName(level.hierarchy, level.level), uniqueNameOf(member)));
    }
    if (!member.isStored())
        return single(member);
    const HierarchyStore &hs = hier(h);
    const MemberNode &node = hs.members[std::size_t(member.id)];
    const LevelStore &own = hs.levels[std::size_t(node.level)];
    std::int32_t first = own.firstMember;
    if (!hasLevel)
        level.level = node.level - 1;
    if (level.level > node.level)
        return TupleList({h});
    if (level.level >= 0) {
        const Mem ancestor = ancestorAt(member, level.level);
        const std::uint32_t lo = hs.members[std::size_t(ancestor.id)].leafLo;
        while (hs.members[std::size_t(first)].leafLo < lo)
            ++first;
    }
    TupleList result({h});
    for (std::int32_t m = first; m <= member.id; ++m)
        result.appendMember({h, m});
    return result;
}

TupleList Query::lastPeriods(int e)
{
    const Expr &x = m_exprs[std::size_t(e)];
    const auto child = [&](int i) { return int(m_children[x.first + std::uint32_t(i)]); };
    const double n = evalNumber(child(0), "The number of periods");
    const Mem member =
        x.count > 1 ? evalMember(child(1)) : m_members[std::size_t(timeHierarchy(x))];
    if (member.isNull() || n == 0 || std::isnan(n))
        return {};
    if (!member.isStored())
        return single(member);
    const HierarchyStore &hs = hier(member.hierarchy);
    const LevelStore &level = hs.levels[std::size_t(hs.members[std::size_t(member.id)].level)];
    const std::int64_t lo = level.firstMember;
    const std::int64_t hi = std::int64_t(level.firstMember) + level.memberCount - 1;
    const double span = std::min(std::fabs(n) - 1, double(level.memberCount));
    std::int64_t from = member.id;
    std::int64_t to = member.id;
    if (n > 0)
        from = std::max(lo, member.id - std::int64_t(span));
    else
        to = std::min(hi, member.id + std::int64_t(span));
    TupleList result({member.hierarchy});
    for (std::int64_t m = from; m <= to; ++m)
        result.appendMember({member.hierarchy, std::int32_t(m)});
    return result;
}

TupleList Query::range(int e)
{
    const Expr &x = m_exprs[std::size_t(e)];
    Mem a = evalMember(int(m_children[x.first]));
    Mem b = evalMember(int(m_children[x.first + 1]));
    if (a.isNull() && b.isNull())
        return {};
    const Mem known = a.isNull() ? b : a;
    if (!a.isNull() && !b.isNull() && (a.hierarchy != b.hierarchy || levelOf(a) != levelOf(b))) {
        fail(x, QStringLiteral("A range needs two members of the same level, not %1 and %2")
                    .arg(uniqueNameOf(a), uniqueNameOf(b)));
    }
    if (known.isCalculated() || (!a.isNull() && a.isCalculated())
        || (!b.isNull() && b.isCalculated()))
        fail(x, QStringLiteral("A range cannot start or end at a calculated member"));
    const HierarchyStore &hs = hier(known.hierarchy);
    const LevelStore &level = hs.levels[std::size_t(levelOf(known))];
    std::int32_t from = a.isNull() ? level.firstMember : a.id;
    std::int32_t to = b.isNull() ? level.firstMember + level.memberCount - 1 : b.id;
    if (from > to)
        std::swap(from, to);
    TupleList result({known.hierarchy});
    for (std::int32_t m = from; m <= to; ++m)
        result.appendMember({known.hierarchy, m});
    return result;
}

TupleList Query::setOperation(const Expr &x, const TupleList &a, const TupleList &b)
{
    const bool all = x.count > 2;
    checkSameHierarchies(a, b, x);
    const int arity = std::max(a.arity(), b.arity());
    TupleList result(a.arity() > 0 ? a.hierarchies() : b.hierarchies());
    TupleSet seen(arity);
    const auto add = [&](std::span<const Mem> t) {
        if (all || seen.insert(t))
            result.append(t);
    };
    if (x.op == Op::Union) {
        checkSize(std::uint64_t(a.size()) + b.size(), x);
        for (std::size_t i = 0; i < a.size(); ++i)
            add(a.tuple(i));
        for (std::size_t i = 0; i < b.size(); ++i)
            add(b.tuple(i));
        return result;
    }
    TupleSet other(arity);
    for (std::size_t i = 0; i < b.size(); ++i)
        other.insert(b.tuple(i));
    // Intersect drops repeats unless ALL; Except keeps the first set's tuples as they are,
    // repeats included, as the reference server does.
    const bool intersect = x.op == Op::Intersect;
    for (std::size_t i = 0; i < a.size(); ++i) {
        const bool inB = b.arity() != 0 && other.contains(a.tuple(i));
        if (intersect && inB)
            add(a.tuple(i));
        else if (!intersect && !inB)
            result.append(a.tuple(i));
    }
    return result;
}

// A chain of set operators (*, + and -) ending at `e`, in a loop: the first one is evaluated
// as any expression, then each later one on the set so far. A run of + adds to the set in
// place and a run of - removes the union of its sets in one pass, so that a long chain takes
// time in proportion to its sets rather than to its length times the set so far. The result
// is that of applying the operators one by one.
TupleList Query::setChain(int e)
{
    int first = e;
    while (m_exprs[std::size_t(first)].chained)
        --first;
    TupleList result = evalSet(first);
    std::unique_ptr<TupleSet> seen; // the tuples of `result`, while it holds no repeats
    const auto rightOf = [&](int link) {
        return evalSet(int(m_children[m_exprs[std::size_t(link)].first + 1]));
    };
    for (int link = first + 1; link <= e; ++link) {
        const Expr &x = m_exprs[std::size_t(link)];
        const TupleList b = rightOf(link);
        if (x.op == Op::CrossJoin) {
            result = crossJoin(result, b, x);
            seen.reset();
            continue;
        }
        checkSameHierarchies(result, b, x);
        if (result.arity() == 0 || (x.op == Op::Union && b.arity() == 0)) {
            result = setOperation(x, result, b); // a set of no hierarchies on either side
            seen.reset();
        } else if (x.op == Op::Union) {
            checkSize(std::uint64_t(result.size()) + b.size(), x);
            if (!seen) {
                seen = std::make_unique<TupleSet>(result.arity());
                TupleList unique(result.hierarchies());
                for (std::size_t i = 0; i < result.size(); ++i) {
                    if (seen->insert(result.tuple(i)))
                        unique.append(result.tuple(i));
                }
                result = std::move(unique);
            }
            for (std::size_t i = 0; i < b.size(); ++i) {
                if (seen->insert(b.tuple(i)))
                    result.append(b.tuple(i));
            }
        } else {
            // Except, and the ones straight after it: the first set's tuples in none of theirs.
            TupleSet removed(result.arity());
            const auto remove = [&](const TupleList &other) {
                for (std::size_t i = 0; other.arity() != 0 && i < other.size(); ++i)
                    removed.insert(other.tuple(i));
            };
            remove(b);
            while (link < e && m_exprs[std::size_t(link + 1)].op == Op::Except) {
                ++link;
                const TupleList other = rightOf(link);
                checkSameHierarchies(result, other, m_exprs[std::size_t(link)]);
                remove(other);
            }
            TupleList kept(result.hierarchies());
            for (std::size_t i = 0; i < result.size(); ++i) {
                if (!removed.contains(result.tuple(i)))
                    kept.append(result.tuple(i));
            }
            result = std::move(kept);
            seen.reset();
        }
    }
    return result;
}

TupleList Query::generate(int e)
{
    const Expr &x = m_exprs[std::size_t(e)];
    const int source = int(m_children[x.first]);
    const int body = int(m_children[x.first + 1]);
    const bool all = x.count > 2;
    const TupleList set = evalSet(source);
    TupleList result;
    bool typed = false;
    std::unique_ptr<TupleSet> seen;
    for (std::size_t i = 0; i < set.size(); ++i) {
        TupleList part;
        {
            Scope scope(*this);
            scope.set(set.tuple(i));
            m_iterations.push_back({source, Tuple(set.tuple(i).begin(), set.tuple(i).end())});
            try {
                part = evalSet(body);
            } catch (...) {
                m_iterations.pop_back();
                throw;
            }
            m_iterations.pop_back();
        }
        if (part.arity() == 0)
            continue;
        if (!typed) {
            result.setHierarchies(part.hierarchies());
            seen = std::make_unique<TupleSet>(part.arity());
            typed = true;
        }
        checkSameHierarchies(result, part, x);
        for (std::size_t j = 0; j < part.size(); ++j) {
            if (all || seen->insert(part.tuple(j)))
                result.append(part.tuple(j));
        }
        checkSize(result.size(), x);
    }
    return result;
}

TupleList Query::evalSet(int e)
{
    const Expr &x = m_exprs[std::size_t(e)];
    switch (x.type) {
    case Type::Member:
        return single(evalMember(e));
    case Type::Tuple: {
        const Tuple t = evalTuple(e);
        if (std::any_of(t.begin(), t.end(), [](Mem m) { return m.isNull(); }))
            return {};
        std::vector<int> hierarchies;
        for (const Mem &m : t)
            hierarchies.push_back(m.hierarchy);
        TupleList set(hierarchies);
        set.append(std::span<const Mem>(t.data(), std::size_t(t.size())));
        return set;
    }
    case Type::Hierarchy:
        return single(m_members[std::size_t(evalHierarchy(e))]);
    case Type::Level: {
        const LevelRef level = evalLevel(e);
        return members(level.hierarchy, false, level.level);
    }
    case Type::Null:
        return {};
    case Type::Set:
        break;
    default:
        fail(x, QStringLiteral("A set was expected here"));
    }
    DepthGuard guard(m_depth, QString());
    const auto child = [&](int i) { return int(m_children[x.first + std::uint32_t(i)]); };
    switch (x.op) {
    case Op::NamedSetRef:
        return namedSet(x.index, x);
    case Op::SetLiteral:
        return setLiteral(e);
    case Op::Members:
    case Op::AllMembers: {
        const int object = child(0);
        if (m_exprs[std::size_t(object)].type == Type::Level) {
            const LevelRef level = evalLevel(object);
            return members(level.hierarchy, x.op == Op::AllMembers, level.level);
        }
        return members(evalHierarchy(object), x.op == Op::AllMembers);
    }
    case Op::Children:
    case Op::Siblings: {
        Mem m = evalMember(child(0));
        if (m.isNull())
            return {};
        const HierarchyStore &hs = hier(m.hierarchy);
        TupleList result({m.hierarchy});
        std::int32_t first = 0;
        std::int32_t count = 0;
        if (x.op == Op::Children) {
            if (!m.isStored() || hs.isMeasures)
                return result;
            first = hs.members[std::size_t(m.id)].firstChild;
            count = hs.members[std::size_t(m.id)].childCount;
        } else {
            const Mem parent = parentOf(m);
            if (parent.isNull()) {
                const LevelStore &level = hs.levels[std::size_t(std::max(0, levelOf(m)))];
                first = level.firstMember;
                count = level.memberCount;
            } else if (parent.isStored()) {
                first = hs.members[std::size_t(parent.id)].firstChild;
                count = hs.members[std::size_t(parent.id)].childCount;
            }
        }
        for (std::int32_t c = first; c < first + count; ++c)
            result.appendMember({m.hierarchy, c});
        return result;
    }
    case Op::Descendants:
        return descendants(e);
    case Op::CrossJoin:
    case Op::NonEmptyCrossJoin: {
        if (x.chained)
            return setChain(e);
        TupleList result = evalSet(child(0));
        for (std::uint32_t i = 1; i < x.count; ++i)
            result = crossJoin(result, evalSet(child(int(i))), x);
        if (x.op == Op::NonEmptyCrossJoin)
            return filterNonEmpty(std::move(result), nullptr);
        return result;
    }
    case Op::Hierarchize: {
        const TupleList set = evalSet(child(0));
        const bool post = x.count > 1;
        std::vector<std::size_t> order(set.size());
        std::iota(order.begin(), order.end(), 0);
        std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
            for (int p = 0; p < set.arity(); ++p) {
                const int c = compareMembers(set.member(a, p), set.member(b, p), post);
                if (c != 0)
                    return c < 0;
            }
            return false;
        });
        TupleList result(set.hierarchies());
        for (std::size_t i : order)
            result.append(set.tuple(i));
        return result;
    }
    case Op::Filter: {
        const TupleList set = evalSet(child(0));
        TupleList result(set.hierarchies());
        for (std::size_t i = 0; i < set.size(); ++i) {
            Scope scope(*this);
            scope.set(set.tuple(i));
            m_iterations.push_back({child(0), Tuple(set.tuple(i).begin(), set.tuple(i).end())});
            bool keep = false;
            try {
                keep = evalBool(child(1));
            } catch (...) {
                m_iterations.pop_back();
                throw;
            }
            m_iterations.pop_back();
            if (keep)
                result.append(set.tuple(i));
        }
        return result;
    }
    case Op::Head:
    case Op::Tail:
    case Op::Subset: {
        const TupleList set = evalSet(child(0));
        std::size_t from = 0;
        std::size_t count = 1;
        if (x.op == Op::Subset) {
            from = clampCount(evalNumber(child(1), "The start"), set.size());
            count = set.size() - from;
            if (x.count > 2)
                count = clampCount(evalNumber(child(2), "The count"), count);
        } else {
            if (x.count > 1)
                count = clampCount(evalNumber(child(1), "The count"), set.size());
            count = std::min(count, set.size());
            if (x.op == Op::Tail)
                from = set.size() - count;
        }
        TupleList result(set.hierarchies());
        for (std::size_t i = from; i < from + count; ++i)
            result.append(set.tuple(i));
        return result;
    }
    case Op::Union:
    case Op::Intersect:
    case Op::Except: {
        if (x.chained)
            return setChain(e);
        const TupleList a = evalSet(child(0));
        const TupleList b = evalSet(child(1));
        return setOperation(x, a, b);
    }
    case Op::Distinct: {
        const TupleList set = evalSet(child(0));
        TupleList result(set.hierarchies());
        TupleSet seen(set.arity());
        for (std::size_t i = 0; i < set.size(); ++i) {
            if (seen.insert(set.tuple(i)))
                result.append(set.tuple(i));
        }
        return result;
    }
    case Op::Generate:
        return generate(e);
    case Op::NonEmpty: {
        TupleList set = evalSet(child(0));
        if (x.count > 1) {
            const TupleList over = evalSet(child(1));
            return filterNonEmpty(std::move(set), &over);
        }
        return filterNonEmpty(std::move(set), nullptr);
    }
    case Op::DrilldownLevel:
        return drilldownLevel(e);
    case Op::DrilldownMember:
        return drilldownMember(e);
    case Op::Ancestors: {
        const Mem m = evalMember(child(0));
        if (m.isNull())
            return {};
        // Every ancestor from the parent up to the level (or that many levels up), nearest
        // first, as the reference server answers.
        std::size_t steps = 0;
        if (m_exprs[std::size_t(child(1))].type == Type::Level) {
            const LevelRef level = evalLevel(child(1));
            if (level.hierarchy != m.hierarchy) {
                fail(x, QStringLiteral("Ancestors: the level %1 is not of the hierarchy of %2")
                            .arg(levelUniqueName(level.hierarchy, level.level), uniqueNameOf(m)));
            }
            steps = std::size_t(std::max(0, levelOf(m) - level.level));
        } else {
            steps = clampCount(evalNumber(child(1), "The distance"), 1000);
        }
        TupleList result({m.hierarchy});
        Mem a = parentOf(m);
        for (std::size_t i = 0; i < steps && !a.isNull(); ++i, a = parentOf(a))
            result.appendMember(a);
        return result;
    }
    case Op::Range:
        return range(e);
    case Op::PeriodsToDate:
    case Op::Ytd:
    case Op::Qtd:
    case Op::Mtd:
    case Op::Wtd:
        return periodsToDate(e);
    case Op::LastPeriods:
        return lastPeriods(e);
    case Op::TopCount:
    case Op::BottomCount:
    case Op::TopSum:
    case Op::BottomSum:
    case Op::TopPercent:
    case Op::BottomPercent:
        return ranked(e);
    case Op::Order:
        return order(e);
    case Op::SetIIf:
        return evalBool(child(0)) ? evalSet(child(1)) : evalSet(child(2));
    default:
        fail(x, QStringLiteral("A set was expected here"));
    }
}

} // namespace platform::olap::local::engine
