// Compiling a statement: calculated members and named sets, names resolved against the cube,
// functions and properties checked for their arguments.

#include "platform/olap/UniqueName.h"
#include "platform/olap/local/Query.h"
#include "platform/olap/mdx/Parser.h"
#include "platform/olap/mdx/Unparser.h"
#include "platform/runtime/Error.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace platform::olap::local::engine {

namespace {

struct Function
{
    const char16_t *name;
    Op op;
    int minArgs;
    int maxArgs;
};

// The maximum of the functions that take a list of any length.
constexpr int anyCount = std::numeric_limits<int>::max();

constexpr Function functions[] = {
    {u"CrossJoin", Op::CrossJoin, 1, anyCount},
    {u"NonEmptyCrossJoin", Op::NonEmptyCrossJoin, 1, anyCount},
    {u"Descendants", Op::Descendants, 1, 3},
    {u"Hierarchize", Op::Hierarchize, 1, 2},
    {u"Filter", Op::Filter, 2, 2},
    {u"Head", Op::Head, 1, 2},
    {u"Tail", Op::Tail, 1, 2},
    {u"Subset", Op::Subset, 2, 3},
    {u"Union", Op::Union, 2, 3},
    {u"Intersect", Op::Intersect, 2, 3},
    {u"Except", Op::Except, 2, 3},
    {u"Distinct", Op::Distinct, 1, 1},
    {u"Generate", Op::Generate, 2, 3},
    {u"NonEmpty", Op::NonEmpty, 1, 2},
    {u"DrilldownLevel", Op::DrilldownLevel, 1, 2},
    {u"DrilldownMember", Op::DrilldownMember, 2, 3},
    {u"Ancestors", Op::Ancestors, 2, 2},
    {u"Ancestor", Op::Ancestor, 2, 2},
    {u"PeriodsToDate", Op::PeriodsToDate, 0, 2},
    {u"YTD", Op::Ytd, 0, 1},
    {u"QTD", Op::Qtd, 0, 1},
    {u"MTD", Op::Mtd, 0, 1},
    {u"WTD", Op::Wtd, 0, 1},
    {u"LastPeriods", Op::LastPeriods, 1, 2},
    {u"TopCount", Op::TopCount, 2, 3},
    {u"BottomCount", Op::BottomCount, 2, 3},
    {u"TopSum", Op::TopSum, 3, 3},
    {u"BottomSum", Op::BottomSum, 3, 3},
    {u"TopPercent", Op::TopPercent, 3, 3},
    {u"BottomPercent", Op::BottomPercent, 3, 3},
    {u"Order", Op::Order, 2, 3},
    {u"IIf", Op::IIf, 3, 3},
    {u"CoalesceEmpty", Op::CoalesceEmpty, 2, anyCount},
    {u"IsEmpty", Op::IsEmpty, 1, 1},
    {u"Sum", Op::Sum, 1, 2},
    {u"Count", Op::Count, 1, 2},
    {u"Avg", Op::Avg, 1, 2},
    {u"Min", Op::Min, 1, 2},
    {u"Max", Op::Max, 1, 2},
    {u"Aggregate", Op::Aggregate, 1, 2},
    {u"Rank", Op::Rank, 2, 3},
    {u"Abs", Op::Abs, 1, 1},
    {u"Round", Op::Round, 1, 2},
};

const char16_t *const styleNames[styleProperties] = {
    u"FORMAT_STRING", u"FORE_COLOR", u"BACK_COLOR", u"FONT_NAME", u"FONT_SIZE", u"FONT_FLAGS",
};

bool toSet(Type t)
{
    return t == Type::Set || t == Type::Member || t == Type::Tuple || t == Type::Hierarchy
           || t == Type::Level || t == Type::Null;
}

bool toMember(Type t)
{
    return t == Type::Member || t == Type::Tuple || t == Type::Hierarchy || t == Type::Null;
}

bool toValue(Type t)
{
    return t == Type::Value || t == Type::Member || t == Type::Tuple || t == Type::Hierarchy
           || t == Type::Null;
}

QString typeName(Type t)
{
    switch (t) {
    case Type::Value:
        return QStringLiteral("a value");
    case Type::Member:
        return QStringLiteral("a member");
    case Type::Tuple:
        return QStringLiteral("a tuple");
    case Type::Set:
        return QStringLiteral("a set");
    case Type::Level:
        return QStringLiteral("a level");
    case Type::Hierarchy:
        return QStringLiteral("a dimension or hierarchy");
    case Type::Flag:
        return QStringLiteral("a flag");
    case Type::Missing:
        return QStringLiteral("nothing");
    case Type::Null:
        return QStringLiteral("NULL");
    }
    return QString();
}

QString joinParts(QStringView hierarchyName, std::span<const mdx::NamePart> rest)
{
    QStringList names{hierarchyName.toString()};
    for (const mdx::NamePart &p : rest)
        names.append(p.text);
    return joinUniqueName(names);
}

} // namespace

Query::Query(CubeState &state, const QueryLimits &limits)
    : m_state(state), m_cube(state.cube), m_limits(limits),
      m_hierarchyCount(int(state.cube.hierarchies.size())),
      m_pending(int(state.cube.hierarchies.size())), m_styleMemo(int(state.cube.hierarchies.size()))
{
    m_members.resize(std::size_t(m_hierarchyCount));
    m_consumed.assign(std::size_t(m_hierarchyCount), 0);
    for (int h = 0; h < m_hierarchyCount; ++h)
        m_members[std::size_t(h)] = defaultMember(h);
}

void Query::fail(const mdx::Node &at, const QString &message) const
{
    throw Error(
        QStringLiteral("%1 (line %2, column %3)").arg(message).arg(at.line()).arg(at.column()));
}

void Query::fail(const Expr &at, const QString &message) const
{
    if (at.line <= 0)
        throw Error(message);
    throw Error(QStringLiteral("%1 (line %2, column %3)").arg(message).arg(at.line).arg(at.column));
}

Expr Query::make(Op op, Type type, const mdx::Node &at) const
{
    Expr e;
    e.op = op;
    e.type = type;
    e.line = at.line();
    e.column = at.column();
    return e;
}

int Query::add(Expr expr, std::initializer_list<int> children)
{
    return add(std::move(expr), std::span<const int>(children.begin(), children.size()));
}

int Query::add(Expr expr, std::span<const int> children)
{
    expr.first = std::uint32_t(m_children.size());
    expr.count = std::uint32_t(children.size());
    for (int c : children)
        m_children.push_back(std::uint32_t(c));
    m_exprs.push_back(std::move(expr));
    return int(m_exprs.size() - 1);
}

int Query::hierarchyByName(const QString &name) const
{
    for (int h = 0; h < m_hierarchyCount; ++h) {
        if (hier(h).name.compare(name, Qt::CaseInsensitive) == 0)
            return h;
    }
    return -1;
}

int Query::dimensionByName(const QString &name) const
{
    for (std::size_t d = 0; d < m_cube.dimensions.size(); ++d) {
        if (m_cube.dimensions[d].name.compare(name, Qt::CaseInsensitive) == 0)
            return int(d);
    }
    return -1;
}

int Query::calcByName(const QString &uniqueName) const
{
    return m_calcIndex.value(uniqueName.toCaseFolded(), -1);
}

int Query::styleIndex(const QString &property) const
{
    for (int i = 0; i < styleProperties; ++i) {
        if (property.compare(QStringView(styleNames[i]), Qt::CaseInsensitive) == 0)
            return i;
    }
    if (property.compare(u"FORMAT", Qt::CaseInsensitive) == 0)
        return FormatString;
    return -1;
}

// The stored member a name path names under a hierarchy: its unique name, or the path of names
// from the top (the All member may be left out), or from a member found by name at any level.
Mem Query::findMember(int h, std::span<const mdx::NamePart> rest) const
{
    const HierarchyStore &hs = hier(h);
    if (rest.empty())
        return {};
    const std::int32_t byName = hs.index.find(joinParts(hs.name, rest), hs.uniqueNames);
    if (byName >= 0)
        return {h, byName};
    std::int32_t m = hs.findChild(-1, rest[0].text);
    if (m < 0 && hs.hasAll)
        m = hs.findChild(0, rest[0].text);
    // Then, as the original provider did, the first member of that name at any level.
    for (std::size_t i = 0; m < 0 && i < hs.names.size(); ++i) {
        if (hs.names[i].compare(rest[0].text, Qt::CaseInsensitive) == 0)
            m = std::int32_t(i);
    }
    for (std::size_t i = 1; m >= 0 && i < rest.size(); ++i)
        m = hs.findChild(m, rest[i].text);
    if (m < 0)
        return {};
    return {h, m};
}

bool Query::resolve(std::span<const mdx::NamePart> parts, Expr &out) const
{
    if (parts.empty())
        return false;
    if (parts.size() == 1) {
        for (std::size_t s = 0; s < m_sets.size(); ++s) {
            if (m_sets[s].name.compare(parts[0].text, Qt::CaseInsensitive) == 0) {
                out.op = Op::NamedSetRef;
                out.type = Type::Set;
                out.index = int(s);
                return true;
            }
        }
    }
    int h = hierarchyByName(parts[0].text);
    std::size_t used = 1;
    bool dimension = false;
    if (h < 0) {
        const int d = dimensionByName(parts[0].text);
        if (d >= 0) {
            h = m_cube.dimensions[std::size_t(d)].firstHierarchy;
            dimension = true;
        }
    }
    if (h >= 0 && parts.size() >= 2) {
        // [Store].[Type] for the hierarchy "Store.Type".
        const int named = hierarchyByName(parts[0].text + QLatin1Char('.') + parts[1].text);
        if (named >= 0) {
            h = named;
            used = 2;
            dimension = false;
        }
    }
    if (h < 0) {
        if (parts.size() == 1) {
            // An unqualified measure.
            const std::int32_t m = hier(0).findChild(-1, parts[0].text);
            if (m >= 0) {
                out.op = Op::MemberRef;
                out.type = Type::Member;
                out.member = {0, m};
                return true;
            }
            const int c = calcByName(QStringLiteral("[Measures].") + quoteName(parts[0].text));
            if (c >= 0) {
                out.op = Op::MemberRef;
                out.type = Type::Member;
                out.member = Mem::calculated(0, c);
                return true;
            }
        }
        return false;
    }
    const std::span<const mdx::NamePart> rest = parts.subspan(used);
    if (rest.empty()) {
        out.op = Op::HierarchyRef;
        out.type = Type::Hierarchy;
        out.hierarchy = h;
        out.dimension = dimension;
        return true;
    }
    const HierarchyStore &hs = hier(h);
    if (rest.size() == 1 && !rest[0].key) {
        for (std::size_t l = 0; l < hs.levels.size(); ++l) {
            if (hs.levels[l].name.compare(rest[0].text, Qt::CaseInsensitive) == 0) {
                out.op = Op::LevelRef;
                out.type = Type::Level;
                out.hierarchy = h;
                out.level = int(l);
                return true;
            }
        }
    }
    const int c = calcByName(joinParts(hs.name, rest));
    if (c >= 0) {
        out.op = Op::MemberRef;
        out.type = Type::Member;
        out.member = Mem::calculated(h, c);
        return true;
    }
    Mem m = findMember(h, rest);
    if (m.isNull() && rest.size() >= 2) {
        // [Time].[Year].[1997]: a level, then a member of it.
        for (std::size_t l = 0; l < hs.levels.size() && m.isNull(); ++l) {
            const LevelStore &level = hs.levels[l];
            if (level.name.compare(rest[0].text, Qt::CaseInsensitive) != 0)
                continue;
            for (std::int32_t i = level.firstMember; i < level.firstMember + level.memberCount;
                 ++i) {
                if (hs.names[std::size_t(i)].compare(rest[1].text, Qt::CaseInsensitive) == 0) {
                    std::int32_t found = i;
                    for (std::size_t p = 2; found >= 0 && p < rest.size(); ++p)
                        found = hs.findChild(found, rest[p].text);
                    if (found >= 0)
                        m = {h, found};
                    break;
                }
            }
        }
    }
    if (m.isNull())
        return false;
    out.op = Op::MemberRef;
    out.type = Type::Member;
    out.member = m;
    return true;
}

void Query::defineSchemaMembers()
{
    if (!m_state.schemaParsed) {
        for (const CalculatedMemberStore &c : m_cube.calculatedMembers) {
            try {
                m_state.schemaFormulas.push_back(mdx::parseExpression(c.formula));
                m_state.schemaErrors.push_back(QString());
            } catch (const Error &error) {
                m_state.schemaFormulas.emplace_back();
                m_state.schemaErrors.push_back(error.description());
            }
        }
        m_state.schemaParsed = true;
    }
    for (std::size_t i = 0; i < m_cube.calculatedMembers.size(); ++i) {
        const CalculatedMemberStore &store = m_cube.calculatedMembers[i];
        CalcMember calc;
        const int d = dimensionByName(store.dimension);
        calc.hierarchy = d >= 0 ? m_cube.dimensions[std::size_t(d)].firstHierarchy : 0;
        calc.name = store.name;
        calc.uniqueName =
            hier(calc.hierarchy).uniqueName + QLatin1Char('.') + quoteName(store.name);
        calc.fromSchema = true;
        calc.order = int(m_calcs.size());
        calc.error = m_state.schemaErrors[i];
        m_calcIndex.insert(calc.uniqueName.toCaseFolded(), int(m_calcs.size()));
        m_calcs.push_back(calc);
    }
}

void Query::defineMembers(const mdx::Statement &statement)
{
    defineSchemaMembers();
    const std::size_t schemaCount = m_calcs.size();

    // Names first: formulas may name members and sets defined after them.
    std::vector<std::pair<const mdx::Definition *, int>> members;
    std::vector<std::pair<const mdx::Definition *, int>> sets;
    for (const mdx::Definition &def : statement.definitions()) {
        const std::span<const mdx::NamePart> parts = def.name.parts();
        if (def.kind == mdx::Definition::Kind::Set) {
            NamedSet set;
            set.name = parts.empty() ? QString() : parts.back().text;
            if (parts.size() != 1)
                set.name = def.name.uniqueName();
            sets.emplace_back(&def, int(m_sets.size()));
            m_sets.push_back(set);
            continue;
        }
        if (parts.size() < 2) {
            fail(def.name,
                 QStringLiteral("The calculated member %1 needs a dimension before "
                                "its name, as in [Measures].[%2]")
                     .arg(def.name.uniqueName(), parts.empty() ? QString() : parts[0].text));
        }
        CalcMember calc;
        Expr parent;
        const std::span<const mdx::NamePart> prefix = parts.first(parts.size() - 1);
        if (!resolve(prefix, parent)
            || (parent.op != Op::HierarchyRef
                && !(parent.op == Op::MemberRef && parent.member.isStored()))) {
            fail(def.name, QStringLiteral("The calculated member %1 is not under a dimension "
                                          "or stored member: %2 not found in cube '%3'")
                               .arg(def.name.uniqueName(), mdx::uniqueName(prefix), m_cube.name));
        }
        // Under a hierarchy with an All member, a member named after the hierarchy is a child
        // of the All member, named without it as the All member's children are.
        if (parent.op == Op::HierarchyRef && hier(parent.hierarchy).hasAll) {
            parent.op = Op::MemberRef;
            parent.member = defaultMember(parent.hierarchy);
        }
        if (parent.op == Op::HierarchyRef) {
            calc.hierarchy = parent.hierarchy;
            calc.uniqueName = hier(calc.hierarchy).uniqueName;
        } else {
            calc.hierarchy = parent.member.hierarchy;
            calc.parent = parent.member;
            calc.depth = levelOf(parent.member) + 1;
            const HierarchyStore &hs = hier(calc.hierarchy);
            calc.uniqueName =
                hs.hasAll && parent.member.id == 0 ? hs.uniqueName : uniqueNameOf(parent.member);
        }
        calc.name = parts.back().text;
        calc.uniqueName += QLatin1Char('.') + quoteName(calc.name);
        calc.order = int(m_calcs.size());
        members.emplace_back(&def, int(m_calcs.size()));
        m_calcIndex.insert(calc.uniqueName.toCaseFolded(), int(m_calcs.size()));
        if (calc.parent.isStored() && calc.parent.id == 0 && hier(calc.hierarchy).hasAll) {
            m_calcIndex.insert((uniqueNameOf(calc.parent) + QLatin1Char('.') + quoteName(calc.name))
                                   .toCaseFolded(),
                               int(m_calcs.size()));
        }
        m_calcs.push_back(calc);
    }

    // Then the formulas.
    for (std::size_t i = 0; i < schemaCount; ++i) {
        CalcMember &calc = m_calcs[i];
        if (!calc.error.isEmpty())
            continue;
        const CalculatedMemberStore &store = m_cube.calculatedMembers[i];
        const mdx::Expression &formula = m_state.schemaFormulas[i];
        try {
            const int e = compile(formula.root());
            m_calcs[i].formula = e;
        } catch (const Error &error) {
            m_calcs[i].error = error.description();
        }
        for (const auto &[name, value] : store.properties) {
            if (name.compare(u"SOLVE_ORDER", Qt::CaseInsensitive) == 0) {
                m_calcs[i].solveOrder = value.trimmed().toInt();
                continue;
            }
            const int s = styleIndex(name);
            if (s < 0)
                continue;
            Expr text;
            text.op = Op::String;
            text.text = value;
            m_calcs[i].style[std::size_t(s)] = add(text);
        }
        if (!m_calcs[i].error.isEmpty()) {
            m_calcs[i].error = QStringLiteral("The calculated member %1 of the cube cannot be "
                                              "evaluated: %2")
                                   .arg(m_calcs[i].uniqueName, m_calcs[i].error);
        }
    }
    for (const auto &[def, index] : members) {
        const int formula = compile(def->expression);
        if (!toValue(m_exprs[std::size_t(formula)].type)) {
            fail(def->expression, QStringLiteral("The formula of %1 is %2, not a value")
                                      .arg(m_calcs[std::size_t(index)].uniqueName,
                                           typeName(m_exprs[std::size_t(formula)].type)));
        }
        m_calcs[std::size_t(index)].formula = formula;
        for (const mdx::MemberProperty &property : def->properties) {
            const int value = compile(property.value);
            if (property.name.compare(u"SOLVE_ORDER", Qt::CaseInsensitive) == 0) {
                const Expr &e = m_exprs[std::size_t(value)];
                double number = 0;
                if (e.op == Op::Number) {
                    number = e.number;
                } else if (e.op == Op::Negate && m_exprs[m_children[e.first]].op == Op::Number) {
                    number = -m_exprs[m_children[e.first]].number;
                } else {
                    fail(property.value, QStringLiteral("SOLVE_ORDER must be a number"));
                }
                m_calcs[std::size_t(index)].solveOrder =
                    std::isfinite(number) ? int(std::clamp(number, -1e9, 1e9)) : 0;
                continue;
            }
            const int s = styleIndex(property.name);
            if (s >= 0)
                m_calcs[std::size_t(index)].style[std::size_t(s)] = value;
        }
    }
    for (const auto &[def, index] : sets) {
        const int e = compile(def->expression);
        if (!toSet(m_exprs[std::size_t(e)].type)) {
            fail(def->expression,
                 QStringLiteral("The named set %1 is %2, not a set")
                     .arg(m_sets[std::size_t(index)].name, typeName(m_exprs[std::size_t(e)].type)));
        }
        m_sets[std::size_t(index)].expression = e;
    }
}

int Query::compile(const mdx::Node &node)
{
    switch (node.kind()) {
    case mdx::NodeKind::Name:
        return compileName(node);
    case mdx::NodeKind::Number: {
        Expr e = make(Op::Number, Type::Value, node);
        e.number = node.number();
        return add(e);
    }
    case mdx::NodeKind::String: {
        Expr e = make(Op::String, Type::Value, node);
        e.text = node.text();
        return add(e);
    }
    case mdx::NodeKind::Null:
        return add(make(Op::Null, Type::Null, node));
    case mdx::NodeKind::Flag: {
        Expr e = make(Op::Flag, Type::Flag, node);
        e.flag = std::uint8_t(node.flag());
        e.text = node.text();
        return add(e);
    }
    case mdx::NodeKind::Missing:
        return add(make(Op::Missing, Type::Missing, node));
    case mdx::NodeKind::Set: {
        std::vector<int> children;
        for (const mdx::Node &child : node.children()) {
            const int c = compile(child);
            if (!toSet(m_exprs[std::size_t(c)].type)) {
                fail(child, QStringLiteral("A set holds members, tuples or sets, not %1")
                                .arg(typeName(m_exprs[std::size_t(c)].type)));
            }
            children.push_back(c);
        }
        return add(make(Op::SetLiteral, Type::Set, node), children);
    }
    case mdx::NodeKind::Tuple: {
        if (node.childCount() == 1)
            return compile(node.child(0));
        std::vector<int> children;
        for (const mdx::Node &child : node.children()) {
            const int c = compile(child);
            const Type t = m_exprs[std::size_t(c)].type;
            if (!toMember(t)) {
                fail(child, QStringLiteral("A tuple holds members, not %1").arg(typeName(t)));
            }
            children.push_back(c);
        }
        return add(make(Op::TupleLiteral, Type::Tuple, node), children);
    }
    case mdx::NodeKind::Property:
        return compileProperty(node);
    case mdx::NodeKind::Method:
        return compileMethod(node);
    case mdx::NodeKind::Call:
        return compileCall(node);
    case mdx::NodeKind::Unary: {
        const int operand = compile(node.child(0));
        const Type t = m_exprs[std::size_t(operand)].type;
        if (!toValue(t))
            fail(node, QStringLiteral("The operand is %1, not a value").arg(typeName(t)));
        Op op = Op::Negate;
        switch (node.op()) {
        case mdx::Operator::Negate:
            op = Op::Negate;
            break;
        case mdx::Operator::UnaryPlus:
            op = Op::Plus;
            break;
        case mdx::Operator::Not:
            op = Op::Not;
            break;
        default:
            op = Op::IsEmpty;
            break;
        }
        return add(make(op, Type::Value, node), {operand});
    }
    case mdx::NodeKind::Binary:
        return compileBinary(node);
    case mdx::NodeKind::Case: {
        std::vector<int> children;
        for (const mdx::Node &child : node.children()) {
            const int c = compile(child);
            const Type t = m_exprs[std::size_t(c)].type;
            if (t != Type::Missing && !toValue(t))
                fail(child, QStringLiteral("CASE works on values, not %1").arg(typeName(t)));
            children.push_back(c);
        }
        return add(make(Op::Case, Type::Value, node), children);
    }
    }
    fail(node, QStringLiteral("Unexpected expression"));
}

int Query::compileName(const mdx::Node &node)
{
    Expr e = make(Op::Null, Type::Null, node);
    if (!resolve(node.parts(), e)) {
        fail(node, QStringLiteral("MDX object '%1' not found in cube '%2'")
                       .arg(node.uniqueName(), m_cube.name));
    }
    return add(e);
}

int Query::compileProperty(const mdx::Node &node)
{
    const int object = compile(node.child(0));
    const Type t = m_exprs[std::size_t(object)].type;
    const QString &word = node.text();
    const auto is = [&](const char16_t *w) {
        return word.compare(QStringView(w), Qt::CaseInsensitive) == 0;
    };
    const auto need = [&](bool ok, const QString &what) {
        if (!ok) {
            fail(node, QStringLiteral(".%1 needs %2, not %3").arg(word, what, typeName(t)));
        }
    };
    Op op;
    Type result;
    if (is(u"Members") || is(u"AllMembers")) {
        need(t == Type::Level || t == Type::Hierarchy, QStringLiteral("a level or hierarchy"));
        op = is(u"Members") ? Op::Members : Op::AllMembers;
        result = Type::Set;
    } else if (is(u"Children") || is(u"Siblings")) {
        need(toMember(t), QStringLiteral("a member"));
        op = is(u"Children") ? Op::Children : Op::Siblings;
        result = Type::Set;
    } else if (is(u"Parent") || is(u"FirstChild") || is(u"LastChild") || is(u"PrevMember")
               || is(u"NextMember")) {
        need(toMember(t), QStringLiteral("a member"));
        op = is(u"Parent") ? Op::Parent
             // clang-format off
            : is(u"FirstChild")  ? Op::FirstChild
            : is(u"LastChild")   ? Op::LastChild
            : is(u"PrevMember")  ? Op::PrevMember
                                 // clang-format on
                                 : Op::NextMember;
        result = Type::Member;
    } else if (is(u"CurrentMember") || is(u"DefaultMember")) {
        need(t == Type::Hierarchy || t == Type::Member || t == Type::Level,
             QStringLiteral("a hierarchy"));
        op = is(u"CurrentMember") ? Op::CurrentMember : Op::DefaultMember;
        result = Type::Member;
    } else if (is(u"Value")) {
        need(toValue(t), QStringLiteral("a member or tuple"));
        op = Op::ValueOf;
        result = Type::Value;
    } else if (is(u"Name") || is(u"UniqueName") || is(u"Caption")) {
        need(toMember(t) || t == Type::Level, QStringLiteral("a member, level or hierarchy"));
        op = is(u"Name") ? Op::NameOf : is(u"UniqueName") ? Op::UniqueNameOf : Op::CaptionOf;
        result = Type::Value;
    } else if (is(u"Ordinal")) {
        need(t == Type::Level, QStringLiteral("a level"));
        op = Op::OrdinalOf;
        result = Type::Value;
    } else if (is(u"Level")) {
        need(toMember(t) && t != Type::Hierarchy, QStringLiteral("a member"));
        op = Op::LevelOf;
        result = Type::Level;
    } else if (is(u"Hierarchy") || is(u"Dimension")) {
        need(toMember(t) || t == Type::Level, QStringLiteral("a member, level or hierarchy"));
        op = is(u"Hierarchy") ? Op::HierarchyOf : Op::DimensionOf;
        result = Type::Hierarchy;
    } else if (is(u"Count")) {
        need(toSet(t), QStringLiteral("a set"));
        op = Op::SetCount;
        result = Type::Value;
    } else if (is(u"Current")) {
        need(toSet(t), QStringLiteral("a set"));
        op = Op::Current;
        result = Type::Tuple;
    } else {
        fail(node, QStringLiteral("Unknown property or function .%1").arg(word));
    }
    Expr e = make(op, result, node);
    e.text = word;
    return add(e, {object});
}

int Query::compileMethod(const mdx::Node &node)
{
    const int object = compile(node.child(0));
    const Type t = m_exprs[std::size_t(object)].type;
    const QString &word = node.text();
    std::vector<int> args{object};
    for (int i = 1; i < node.childCount(); ++i)
        args.push_back(compile(node.child(i)));
    const auto is = [&](const char16_t *w) {
        return word.compare(QStringView(w), Qt::CaseInsensitive) == 0;
    };
    if (node.childCount() != 2) {
        if (is(u"Lag") || is(u"Lead") || is(u"Item") || is(u"Levels"))
            fail(node, QStringLiteral(".%1 takes one argument").arg(word));
        fail(node, QStringLiteral("Unknown function .%1").arg(word));
    }
    const Type arg = m_exprs[std::size_t(args[1])].type;
    Op op;
    Type result;
    if (is(u"Lag") || is(u"Lead")) {
        if (!toMember(t))
            fail(node, QStringLiteral(".%1 needs a member, not %2").arg(word, typeName(t)));
        op = is(u"Lag") ? Op::Lag : Op::Lead;
        result = Type::Member;
    } else if (is(u"Item")) {
        if (t == Type::Set) {
            op = Op::SetItem;
            result = Type::Tuple;
        } else if (t == Type::Tuple || t == Type::Member) {
            op = Op::TupleItem;
            result = Type::Member;
        } else {
            fail(node, QStringLiteral(".Item needs a set or tuple, not %1").arg(typeName(t)));
        }
    } else if (is(u"Levels")) {
        if (t != Type::Hierarchy)
            fail(node, QStringLiteral(".Levels needs a hierarchy, not %1").arg(typeName(t)));
        op = Op::Levels;
        result = Type::Level;
    } else {
        fail(node, QStringLiteral("Unknown function .%1").arg(word));
    }
    if (!toValue(arg))
        fail(node.child(1), QStringLiteral(".%1 needs a number, not %2").arg(word, typeName(arg)));
    Expr e = make(op, result, node);
    e.text = word;
    return add(e, args);
}

// A chain of operators, in loops along its left spine: its operands, then its operators at
// consecutive indexes (see Expr), so that neither compiling nor evaluating it takes stack in
// proportion to its length.
int Query::compileBinary(const mdx::Node &node)
{
    const std::vector<mdx::Node> chain = mdx::binaryChain(node);
    int left = compile(chain.front().child(0));
    std::vector<int> rights;
    rights.reserve(chain.size());
    for (const mdx::Node &link : chain)
        rights.push_back(compile(link.child(1)));
    for (std::size_t i = 0; i < chain.size(); ++i) {
        const int e = compileOperator(chain[i], left, rights[i]);
        Expr &x = m_exprs[std::size_t(e)];
        x.chained = i > 0 && x.type == m_exprs[std::size_t(left)].type
                    && (x.type == Type::Value || x.type == Type::Set);
        left = e;
    }
    return left;
}

int Query::compileOperator(const mdx::Node &node, int left, int right)
{
    const Type a = m_exprs[std::size_t(left)].type;
    const Type b = m_exprs[std::size_t(right)].type;
    const bool sets = a == Type::Set || b == Type::Set;
    Op op = Op::Add;
    Type result = Type::Value;
    switch (node.op()) {
    case mdx::Operator::Range:
        if (!toMember(a) || !toMember(b))
            fail(node, QStringLiteral("A range ':' needs two members"));
        return add(make(Op::Range, Type::Set, node), {left, right});
    case mdx::Operator::Multiply:
        op = sets ? Op::CrossJoin : Op::Multiply;
        break;
    case mdx::Operator::Add:
        op = sets ? Op::Union : Op::Add;
        break;
    case mdx::Operator::Subtract:
        op = sets ? Op::Except : Op::Subtract;
        break;
    case mdx::Operator::Divide:
        op = Op::Divide;
        break;
    case mdx::Operator::Power:
        op = Op::Power;
        break;
    case mdx::Operator::Concat:
        op = Op::Concat;
        break;
    case mdx::Operator::Equal:
        op = Op::Equal;
        break;
    case mdx::Operator::NotEqual:
        op = Op::NotEqual;
        break;
    case mdx::Operator::Less:
        op = Op::Less;
        break;
    case mdx::Operator::LessEqual:
        op = Op::LessEqual;
        break;
    case mdx::Operator::Greater:
        op = Op::Greater;
        break;
    case mdx::Operator::GreaterEqual:
        op = Op::GreaterEqual;
        break;
    case mdx::Operator::And:
        op = Op::And;
        break;
    case mdx::Operator::Or:
        op = Op::Or;
        break;
    case mdx::Operator::Xor:
        op = Op::Xor;
        break;
    case mdx::Operator::Is:
        if (b == Type::Null)
            return add(make(Op::IsNull, Type::Value, node), {left});
        if (!toMember(a) || !toMember(b))
            fail(node, QStringLiteral("IS compares two members, or a value with NULL"));
        return add(make(Op::Is, Type::Value, node), {left, right});
    default:
        fail(node, QStringLiteral("Unsupported operator"));
    }
    if (op == Op::CrossJoin || op == Op::Union || op == Op::Except) {
        if (!toSet(a) || !toSet(b))
            fail(node, QStringLiteral("Both operands must be sets"));
        result = Type::Set;
    } else if (!toValue(a) || !toValue(b)) {
        fail(node, QStringLiteral("The operands must be values, not %1 and %2")
                       .arg(typeName(a), typeName(b)));
    }
    return add(make(op, result, node), {left, right});
}

int Query::compileCall(const mdx::Node &node)
{
    const QString &name = node.text();
    const Function *function = nullptr;
    for (const Function &f : functions) {
        if (name.compare(QStringView(f.name), Qt::CaseInsensitive) == 0) {
            function = &f;
            break;
        }
    }
    if (!function)
        fail(node, QStringLiteral("Unknown function %1").arg(name));
    const int n = node.childCount();
    if (n < function->minArgs || n > function->maxArgs) {
        const QString count =
            function->minArgs == function->maxArgs ? QString::number(function->minArgs)
            : function->maxArgs == anyCount
                ? QStringLiteral("at least %1").arg(function->minArgs)
                : QStringLiteral("%1 to %2").arg(function->minArgs).arg(function->maxArgs);
        fail(node, QStringLiteral("%1 takes %2 argument(s), not %3").arg(name, count).arg(n));
    }
    std::vector<int> args;
    for (const mdx::Node &child : node.children())
        args.push_back(compile(child));
    const auto type = [&](int i) { return m_exprs[std::size_t(args[std::size_t(i)])].type; };
    const auto argFail = [&](int i, const QString &what) {
        fail(node.child(i), QStringLiteral("Argument %1 of %2 must be %3, not %4")
                                .arg(i + 1)
                                .arg(name, what, typeName(type(i))));
    };
    const auto needSet = [&](int i) {
        if (!toSet(type(i)))
            argFail(i, QStringLiteral("a set"));
    };
    const auto needValue = [&](int i) {
        if (!toValue(type(i)))
            argFail(i, QStringLiteral("a value"));
    };
    const auto needMember = [&](int i) {
        if (!toMember(type(i)))
            argFail(i, QStringLiteral("a member"));
    };
    const auto needFlag = [&](int i, std::initializer_list<mdx::Flag> allowed) {
        const Expr &e = m_exprs[std::size_t(args[std::size_t(i)])];
        if (e.type == Type::Flag
            && std::find(allowed.begin(), allowed.end(), mdx::Flag(e.flag)) != allowed.end())
            return;
        QStringList words;
        for (mdx::Flag f : allowed) {
            // clang-format off
            static const char *const flagNames[] = {
                "SELF", "AFTER", "BEFORE", "BEFORE_AND_AFTER", "SELF_AND_AFTER",
                "SELF_AND_BEFORE", "SELF_BEFORE_AFTER", "LEAVES", "ASC", "DESC", "BASC", "BDESC",
                "POST", "ALL", "RECURSIVE", "EXCLUDEEMPTY", "INCLUDEEMPTY"};
            // clang-format on
            words.append(QLatin1String(flagNames[int(f)]));
        }
        argFail(i, words.join(QStringLiteral(", ")));
    };
    const auto optional = [&](int i) { return i >= n || type(i) == Type::Missing; };

    Op op = function->op;
    Type result = Type::Set;
    switch (op) {
    case Op::CrossJoin:
    case Op::NonEmptyCrossJoin:
    case Op::Union:
    case Op::Intersect:
    case Op::Except:
    case Op::Distinct:
    case Op::Hierarchize:
        for (int i = 0; i < n; ++i) {
            if ((op == Op::Union || op == Op::Intersect || op == Op::Except) && i == 2) {
                needFlag(i, {mdx::Flag::All});
                continue;
            }
            if (op == Op::Hierarchize && i == 1) {
                needFlag(i, {mdx::Flag::Post});
                continue;
            }
            needSet(i);
        }
        break;
    case Op::Descendants: {
        needSet(0);
        if (n >= 2 && type(1) != Type::Missing && type(1) != Type::Level && type(1) != Type::Value)
            argFail(1, QStringLiteral("a level or a distance"));
        if (n == 3) {
            needFlag(2, {mdx::Flag::Self, mdx::Flag::After, mdx::Flag::Before,
                         mdx::Flag::BeforeAndAfter, mdx::Flag::SelfAndAfter,
                         mdx::Flag::SelfAndBefore, mdx::Flag::SelfBeforeAfter, mdx::Flag::Leaves});
        }
        break;
    }
    case Op::Filter:
        needSet(0);
        needValue(1);
        break;
    case Op::Head:
    case Op::Tail:
        needSet(0);
        if (n > 1)
            needValue(1);
        break;
    case Op::Subset:
        needSet(0);
        needValue(1);
        if (n > 2)
            needValue(2);
        break;
    case Op::Generate:
        needSet(0);
        if (n == 3 && type(2) == Type::Flag) {
            needFlag(2, {mdx::Flag::All});
        } else if (n == 3) {
            needValue(2);
            op = Op::GenerateString;
            result = Type::Value;
        }
        if (op == Op::Generate && type(1) == Type::Value) {
            op = Op::GenerateString;
            result = Type::Value;
        }
        if (op == Op::Generate)
            needSet(1);
        else
            needValue(1);
        break;
    case Op::NonEmpty:
        needSet(0);
        if (n > 1)
            needSet(1);
        break;
    case Op::DrilldownLevel:
        needSet(0);
        if (!optional(1) && type(1) != Type::Level)
            argFail(1, QStringLiteral("a level"));
        break;
    case Op::DrilldownMember:
        needSet(0);
        needSet(1);
        if (n == 3)
            needFlag(2, {mdx::Flag::Recursive});
        break;
    case Op::Ancestors:
    case Op::Ancestor:
        needMember(0);
        if (type(1) != Type::Level && type(1) != Type::Value)
            argFail(1, QStringLiteral("a level or a distance"));
        if (op == Op::Ancestor)
            result = Type::Member;
        break;
    case Op::PeriodsToDate:
        if (n >= 1 && !optional(0) && type(0) != Type::Level)
            argFail(0, QStringLiteral("a level"));
        if (n >= 2)
            needMember(1);
        break;
    case Op::Ytd:
    case Op::Qtd:
    case Op::Mtd:
    case Op::Wtd:
        if (n == 1)
            needMember(0);
        break;
    case Op::LastPeriods:
        needValue(0);
        if (n == 2)
            needMember(1);
        break;
    case Op::TopCount:
    case Op::BottomCount:
    case Op::TopSum:
    case Op::BottomSum:
    case Op::TopPercent:
    case Op::BottomPercent:
        needSet(0);
        needValue(1);
        if (n == 3)
            needValue(2);
        break;
    case Op::Order:
        needSet(0);
        if (type(1) == Type::Flag || type(1) == Type::Missing) {
            fail(node, QStringLiteral("Order needs an expression to sort by, as in "
                                      "Order(set, expression, ASC | DESC | BASC | BDESC); "
                                      "%1 has none")
                           .arg(mdx::toMdx(node)));
        }
        needValue(1);
        if (n == 3)
            needFlag(2, {mdx::Flag::Asc, mdx::Flag::Desc, mdx::Flag::BAsc, mdx::Flag::BDesc});
        break;
    case Op::IIf:
        needValue(0);
        if (type(1) == Type::Set || type(2) == Type::Set) {
            needSet(1);
            needSet(2);
            op = Op::SetIIf;
            result = Type::Set;
        } else if (type(1) == Type::Member && type(2) == Type::Member) {
            result = Type::Member;
        } else {
            needValue(1);
            needValue(2);
            result = Type::Value;
        }
        break;
    case Op::CoalesceEmpty:
        for (int i = 0; i < n; ++i)
            needValue(i);
        result = Type::Value;
        break;
    case Op::IsEmpty:
    case Op::Abs:
        needValue(0);
        result = Type::Value;
        break;
    case Op::Round:
        needValue(0);
        if (n == 2)
            needValue(1);
        result = Type::Value;
        break;
    case Op::Sum:
    case Op::Avg:
    case Op::Min:
    case Op::Max:
    case Op::Aggregate:
        needSet(0);
        if (n == 2)
            needValue(1);
        result = Type::Value;
        break;
    case Op::Count:
        needSet(0);
        if (n == 2)
            needFlag(1, {mdx::Flag::ExcludeEmpty, mdx::Flag::IncludeEmpty});
        result = Type::Value;
        break;
    case Op::Rank:
        needMember(0);
        needSet(1);
        if (n == 3)
            needValue(2);
        result = Type::Value;
        break;
    default:
        break;
    }
    Expr e = make(op, result, node);
    e.text = name;
    return add(e, args);
}

} // namespace platform::olap::local::engine
