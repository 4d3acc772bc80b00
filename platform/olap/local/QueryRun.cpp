// Running a statement: the slicer, the axes, the cells with their styles, NON EMPTY, and the
// result in the provider-neutral form.

#include "platform/olap/local/Query.h"
#include "platform/olap/mdx/Unparser.h"
#include "platform/runtime/Error.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace platform::olap::local::engine {

namespace {

// Rounds of "evaluate, then load the cells that were missing" one step may take: each round
// resolves one more level of sets that depend on values of sets that depend on values.
constexpr int maxRounds = 32;

// The members of a result's axes, read from the cube's member tables when asked for; the
// statement's calculated members are kept with it.
class ResultMembers final : public CellsetData::MemberTable
{
public:
    struct Calculated
    {
        QString name;
        QString uniqueName;
        int depth = 0;
    };
    static constexpr std::int32_t nullId = std::numeric_limits<std::int32_t>::min();

    ResultMembers(std::shared_ptr<const CubeStore> cube, std::vector<Calculated> calculated)
        : m_cube(std::move(cube)), m_calculated(std::move(calculated))
    {}

    CellsetData::Member member(int hierarchy, std::int32_t id) const override
    {
        CellsetData::Member d;
        if (id == nullId)
            return d;
        const HierarchyStore &hs = m_cube->hierarchies[std::size_t(hierarchy)];
        if (id < 0) {
            const Calculated &calc = m_calculated[std::size_t(-id - 1)];
            d.uniqueName = calc.uniqueName;
            d.name = calc.name;
            d.caption = calc.name;
            d.levelDepth = calc.depth;
        } else {
            d.uniqueName = hs.uniqueNames[std::size_t(id)];
            d.name = hs.names[std::size_t(id)];
            d.caption = hs.captions[std::size_t(id)];
            d.levelDepth = hs.members[std::size_t(id)].level;
        }
        const int last = int(hs.levels.size()) - 1;
        d.levelUniqueName = hs.levels[std::size_t(std::clamp(d.levelDepth, 0, last))].uniqueName;
        return d;
    }

private:
    std::shared_ptr<const CubeStore> m_cube;
    std::vector<Calculated> m_calculated;
};

QVariant styleValue(const Value &v)
{
    switch (v.kind) {
    case Value::Kind::Empty:
        return QVariant();
    case Value::Kind::String:
        return QVariant(v.text);
    case Value::Kind::Boolean:
        return QVariant(v.number != 0);
    case Value::Kind::Number:
        if (std::isfinite(v.number) && v.number == std::floor(v.number)
            && std::fabs(v.number) < 9.0e15)
            return QVariant(qlonglong(v.number));
        return QVariant(v.number);
    }
    return QVariant();
}

} // namespace

void Query::loadPending()
{
    if (m_pending.size() == 0)
        return;
    AggregationOptions options;
    options.threads = m_limits.threads;
    options.rowsPerThread = m_limits.rowsPerThread;
    CellAggregator aggregator(m_cube, m_state.groups, options, m_state.stats);
    aggregator.load(m_pending, m_state.cache);
    m_pending.clear();
}

CellsetData Query::run(const mdx::Statement &statement)
{
    const char stackBase = 0;
    m_depth.stackBase = &stackBase;
    // About one expression per node: a long statement compiles without moving its table again
    // and again.
    if (statement.tree()) {
        m_exprs.reserve(m_exprs.size() + std::size_t(statement.tree()->nodeCount()));
        m_children.reserve(m_children.size() + std::size_t(statement.tree()->nodeCount()));
    }
    defineMembers(statement);

    // The axes in number order, each number once, from 0 without a gap.
    std::vector<const mdx::Axis *> axes;
    for (const mdx::Axis &axis : statement.axes())
        axes.push_back(&axis);
    std::stable_sort(axes.begin(), axes.end(),
                     [](const mdx::Axis *a, const mdx::Axis *b) { return a->number < b->number; });
    for (std::size_t i = 0; i < axes.size(); ++i) {
        if (axes[i]->number == int(i))
            continue;
        const mdx::Axis &axis = *axes[i];
        if (i > 0 && axes[i - 1]->number == axis.number) {
            throw Error(QStringLiteral("Axis %1 is given twice (line %2, column %3)")
                            .arg(axis.number)
                            .arg(axis.pos.line)
                            .arg(axis.pos.column));
        }
        throw Error(QStringLiteral("Axis %1 is given without axis %2: axes are numbered from 0 "
                                   "without gaps (line %3, column %4)")
                        .arg(axis.number)
                        .arg(i)
                        .arg(axis.pos.line)
                        .arg(axis.pos.column));
    }
    std::vector<int> axisExprs;
    for (const mdx::Axis *axis : axes) {
        const int e = compile(axis->set);
        const Type t = m_exprs[std::size_t(e)].type;
        if (t != Type::Set && t != Type::Member && t != Type::Tuple && t != Type::Level
            && t != Type::Hierarchy) {
            throw Error(QStringLiteral("Axis %1 needs a set: %2 is not one (line %3, column %4)")
                            .arg(axis->number)
                            .arg(mdx::toMdx(axis->set))
                            .arg(axis->set.line())
                            .arg(axis->set.column()));
        }
        axisExprs.push_back(e);
        m_nonEmpty.push_back(axis->nonEmpty);
    }
    int slicer = -1;
    if (!statement.slicer().isNull()) {
        slicer = compile(statement.slicer());
        const Type t = m_exprs[std::size_t(slicer)].type;
        if (t == Type::Value || t == Type::Flag || t == Type::Missing) {
            fail(statement.slicer(), QStringLiteral("The WHERE clause needs a member, tuple or "
                                                    "set"));
        }
    }
    m_cellProperties.clear();
    if (statement.cellProperties().isEmpty()) {
        m_cellProperties = CellsetData::defaultCellProperties();
    } else {
        for (const mdx::Node &name : statement.cellProperties()) {
            const std::span<const mdx::NamePart> parts = name.parts();
            const QString word = parts.empty() ? QString() : parts.back().text.toUpper();
            if (parts.size() != 1 || !CellsetData::knownCellProperties().contains(word)) {
                fail(name, QStringLiteral("Unknown cell property %1 (the cell properties are "
                                          "%2)")
                               .arg(parts.size() == 1 ? parts[0].text : name.uniqueName(),
                                    CellsetData::knownCellProperties().join(QStringLiteral(", "))));
            }
            if (!m_cellProperties.contains(word))
                m_cellProperties.append(word);
        }
    }

    // The slicer, then the axes in its context.
    for (int round = 0;; ++round) {
        const std::int64_t misses = m_misses;
        for (int h = 0; h < m_hierarchyCount; ++h) {
            m_members[std::size_t(h)] = defaultMember(h);
            m_consumed[std::size_t(h)] = 0;
        }
        m_slicer = TupleList();
        if (slicer >= 0) {
            const Type t = m_exprs[std::size_t(slicer)].type;
            if (t == Type::Member || t == Type::Tuple || t == Type::Hierarchy) {
                const Tuple tuple = evalTuple(slicer);
                std::vector<int> hierarchies;
                for (const Mem &m : tuple) {
                    if (m.isNull())
                        fail(statement.slicer(), QStringLiteral("The slicer names a null "
                                                                "member"));
                    hierarchies.push_back(m.hierarchy);
                }
                m_slicer.setHierarchies(hierarchies);
                m_slicer.append(std::span<const Mem>(tuple.data(), std::size_t(tuple.size())));
            } else {
                m_slicer = evalSet(slicer);
            }
        }
        m_slicerMembers = m_members;
        m_emptySlicer = slicer >= 0 && m_slicer.empty();
        if (m_misses == misses)
            break;
        if (round >= maxRounds)
            throw Error(QStringLiteral("The slicer depends on too many rounds of values"));
        loadPending();
    }
    if (m_slicer.size() == 1) {
        for (const Mem &m : m_slicer.tuple(0))
            m_slicerMembers[std::size_t(m.hierarchy)] = m;
    } else if (m_slicer.size() > 1) {
        // A set in the slicer: its hierarchies stand at the aggregate of the set.
        NamedSet set;
        set.name = QStringLiteral("*slicer*");
        set.value = m_slicer;
        set.ready = true;
        m_sets.push_back(set);
        Expr ref;
        ref.op = Op::NamedSetRef;
        ref.type = Type::Set;
        ref.index = int(m_sets.size() - 1);
        Expr agg;
        agg.op = Op::Aggregate;
        agg.type = Type::Value;
        agg.text = QStringLiteral("Aggregate");
        CalcMember calc;
        calc.hierarchy = m_slicer.hierarchies()[0];
        calc.name = QStringLiteral("*slicer*");
        calc.uniqueName = hier(calc.hierarchy).uniqueName + QStringLiteral(".[*slicer*]");
        calc.formula = add(agg, {add(ref)});
        calc.solveOrder = std::numeric_limits<int>::min() / 2;
        calc.hidden = true;
        calc.order = int(m_calcs.size());
        m_calcs.push_back(calc);
        m_slicerMembers[std::size_t(calc.hierarchy)] =
            Mem::calculated(calc.hierarchy, int(m_calcs.size() - 1));
    }

    for (int round = 0;; ++round) {
        const std::int64_t misses = m_misses;
        m_axes.clear();
        for (int e : axisExprs) {
            m_members = m_slicerMembers;
            std::fill(m_consumed.begin(), m_consumed.end(), 0);
            m_axes.push_back(evalSet(e));
        }
        if (m_misses == misses)
            break;
        if (round >= maxRounds)
            throw Error(QStringLiteral("The axes depend on too many rounds of values"));
        loadPending();
    }

    // A hierarchy on one axis only, and not in the slicer.
    std::vector<int> owner(std::size_t(m_hierarchyCount), -1);
    for (std::size_t a = 0; a <= m_axes.size(); ++a) {
        const TupleList &set = a < m_axes.size() ? m_axes[a] : m_slicer;
        for (int h : set.hierarchies()) {
            if (owner[std::size_t(h)] >= 0 && owner[std::size_t(h)] != int(a)) {
                throw Error(QStringLiteral("The hierarchy %1 appears on more than one axis%2")
                                .arg(hier(h).uniqueName, a == m_axes.size()
                                                             ? QStringLiteral(" (an axis and the "
                                                                              "slicer)")
                                                             : QString()));
            }
            owner[std::size_t(h)] = int(a);
        }
    }

    std::uint64_t cells = 1;
    for (const TupleList &axis : m_axes) {
        cells *= axis.size();
        if (cells > std::uint64_t(m_limits.cellLimit)) {
            double total = 1;
            for (const TupleList &a : m_axes)
                total *= double(a.size());
            throw Error(QStringLiteral("The result would have %1 cells, more than the limit of "
                                       "%2 cells")
                            .arg(total, 0, 'f', 0)
                            .arg(m_limits.cellLimit));
        }
    }

    CellsetData data;
    data.cellProperties = m_cellProperties;
    evaluateCells(data);
    dropEmpty(data);
    fillAxes(data);
    return data;
}

std::uint32_t Query::cellStyle(CellsetData &data)
{
    // The members a style comes from: the calculated members in the context and the measure.
    QVarLengthArray<std::int32_t, 16> key(m_hierarchyCount);
    bool constant = true;
    for (int h = 0; h < m_hierarchyCount; ++h) {
        const Mem m = m_members[std::size_t(h)];
        key[h] = (h == 0 || m.isCalculated()) ? m.id : std::numeric_limits<std::int32_t>::min();
        if (m.isCalculated()) {
            for (int e : m_calcs[std::size_t(m.calcIndex())].style) {
                if (e >= 0 && m_exprs[std::size_t(e)].op != Op::String
                    && m_exprs[std::size_t(e)].op != Op::Number)
                    constant = false;
            }
        }
    }
    if (constant) {
        if (const std::int64_t found = m_styleMemo.find(key.data()); found >= 0)
            return m_styleMemo.value(std::size_t(found));
    }
    CellsetData::Style style;
    // clang-format off
    QVariant *fields[styleProperties] = {&style.formatString, &style.foreColor,
                                         &style.backColor,    &style.fontName,
                                         &style.fontSize,     &style.fontFlags};
    // clang-format on
    for (int p = 0; p < styleProperties; ++p) {
        int best = -1;
        int bestSolve = std::numeric_limits<int>::min();
        for (int h = 0; h < m_hierarchyCount; ++h) {
            const Mem m = m_members[std::size_t(h)];
            if (!m.isCalculated())
                continue;
            const CalcMember &calc = m_calcs[std::size_t(m.calcIndex())];
            if (calc.style[std::size_t(p)] >= 0 && (best < 0 || calc.solveOrder > bestSolve)) {
                best = calc.style[std::size_t(p)];
                bestSolve = calc.solveOrder;
            }
        }
        if (best >= 0) {
            *fields[p] = styleValue(evalValue(best));
        } else if (p == FormatString && m_members[0].isStored()) {
            const QString &format = m_cube.measures[std::size_t(m_members[0].id)].formatString;
            if (!format.isEmpty())
                style.formatString = format;
        }
    }
    const std::uint32_t index = data.addStyle(style);
    if (constant)
        m_styleMemo.value(m_styleMemo.insert(key.data())) = index;
    return index;
}

void Query::evaluateCells(CellsetData &data)
{
    std::uint64_t total = 1;
    for (const TupleList &axis : m_axes)
        total *= axis.size();
    data.resizeCells(qint64(total));
    if (total == 0)
        return;
    if (m_emptySlicer)
        return; // a slicer of no tuple leaves every cell empty
    const std::size_t axisCount = m_axes.size();
    std::vector<std::uint8_t> done(std::size_t(total), 0);
    for (int round = 0;; ++round) {
        const std::int64_t before = m_misses;
        std::vector<std::size_t> index(axisCount, 0);
        for (std::uint64_t ordinal = 0; ordinal < total; ++ordinal) {
            if (ordinal > 0) {
                for (std::size_t a = 0; a < axisCount; ++a) {
                    if (++index[a] < m_axes[a].size())
                        break;
                    index[a] = 0;
                }
            }
            if (done[ordinal])
                continue;
            m_members = m_slicerMembers;
            std::fill(m_consumed.begin(), m_consumed.end(), 0);
            for (std::size_t a = 0; a < axisCount; ++a) {
                for (const Mem &m : m_axes[a].tuple(index[a]))
                    m_members[std::size_t(m.hierarchy)] = m;
            }
            const std::int64_t misses = m_misses;
            const Value v = cellValue();
            if (m_misses != misses)
                continue;
            done[ordinal] = 1;
            const auto o = qint64(ordinal);
            switch (v.kind) {
            case Value::Kind::Empty:
                break;
            case Value::Kind::Number:
                data.setNumber(o, v.number);
                break;
            case Value::Kind::String:
                data.setString(o, v.text);
                break;
            case Value::Kind::Boolean:
                data.setBoolean(o, v.number != 0);
                break;
            }
            data.setStyle(o, cellStyle(data));
        }
        if (m_misses == before)
            break;
        if (round >= maxRounds)
            throw Error(QStringLiteral("The cells depend on too many rounds of values"));
        loadPending();
    }
}

void Query::dropEmpty(CellsetData &data)
{
    if (std::find(m_nonEmpty.begin(), m_nonEmpty.end(), true) == m_nonEmpty.end())
        return;
    const std::size_t axisCount = m_axes.size();
    std::vector<std::vector<std::uint8_t>> used(axisCount);
    for (std::size_t a = 0; a < axisCount; ++a)
        used[a].assign(m_axes[a].size(), 0);
    std::vector<std::size_t> index(axisCount, 0);
    const qint64 total = data.cellCount();
    for (qint64 ordinal = 0; ordinal < total; ++ordinal) {
        if (ordinal > 0) {
            for (std::size_t a = 0; a < axisCount; ++a) {
                if (++index[a] < m_axes[a].size())
                    break;
                index[a] = 0;
            }
        }
        if (data.isEmpty(ordinal))
            continue;
        for (std::size_t a = 0; a < axisCount; ++a)
            used[a][index[a]] = 1;
    }
    // The positions kept on each axis, then the old ordinal of every new cell.
    std::vector<std::vector<std::size_t>> kept(axisCount);
    std::vector<qint64> strides(axisCount, 1);
    for (std::size_t a = 0; a < axisCount; ++a) {
        if (a > 0)
            strides[a] = strides[a - 1] * qint64(m_axes[a - 1].size());
        for (std::size_t p = 0; p < m_axes[a].size(); ++p) {
            if (!m_nonEmpty[a] || used[a][p])
                kept[a].push_back(p);
        }
    }
    std::uint64_t count = 1;
    for (const auto &k : kept)
        count *= k.size();
    std::vector<qint64> keep;
    keep.reserve(std::size_t(count));
    std::vector<std::size_t> at(axisCount, 0);
    for (std::uint64_t n = 0; n < count; ++n) {
        if (n > 0) {
            for (std::size_t a = 0; a < axisCount; ++a) {
                if (++at[a] < kept[a].size())
                    break;
                at[a] = 0;
            }
        }
        qint64 ordinal = 0;
        for (std::size_t a = 0; a < axisCount; ++a)
            ordinal += qint64(kept[a][at[a]]) * strides[a];
        keep.push_back(ordinal);
    }
    data.selectCells(keep);
    for (std::size_t a = 0; a < axisCount; ++a) {
        if (kept[a].size() == m_axes[a].size())
            continue;
        TupleList filtered(m_axes[a].hierarchies());
        for (std::size_t p : kept[a])
            filtered.append(m_axes[a].tuple(p));
        m_axes[a] = std::move(filtered);
    }
}

void Query::fillAxes(CellsetData &data) const
{
    std::vector<ResultMembers::Calculated> calculated;
    calculated.reserve(m_calcs.size());
    for (const CalcMember &calc : m_calcs)
        calculated.push_back({calc.name, calc.uniqueName, calc.depth});
    const std::shared_ptr<const ResultMembers> table =
        std::make_shared<const ResultMembers>(m_state.shared, std::move(calculated));
    // Member numbers into the table; records only for a tuple whose member is not of the
    // set's hierarchy at its place.
    const auto fill = [&](const TupleList &set, CellsetData::Axis &axis) {
        axis.hierarchies.clear();
        for (int h : set.hierarchies())
            axis.hierarchies.append(hier(h).uniqueName);
        axis.positionCount = int(set.size());
        axis.members.clear();
        axis.memberIds.clear();
        axis.tableHierarchies = set.hierarchies();
        axis.table = table;
        const std::size_t arity = set.hierarchies().size();
        axis.memberIds.reserve(set.members().size());
        for (std::size_t i = 0; i < set.members().size() && axis.table; ++i) {
            const Mem m = set.members()[i];
            if (m.isNull())
                axis.memberIds.push_back(ResultMembers::nullId);
            else if (m.hierarchy == set.hierarchies()[i % arity])
                axis.memberIds.push_back(m.id);
            else
                axis.table.reset();
        }
        if (axis.table)
            return;
        axis.memberIds.clear();
        axis.members.reserve(set.members().size());
        for (const Mem &m : set.members()) {
            axis.members.push_back(m.isNull() ? CellsetData::Member()
                                              : table->member(m.hierarchy, m.id));
        }
    };
    data.axes.clear();
    for (std::size_t a = 0; a < m_axes.size(); ++a) {
        CellsetData::Axis axis;
        axis.name = QStringLiteral("Axis%1").arg(a);
        fill(m_axes[a], axis);
        data.axes.push_back(std::move(axis));
    }
    data.slicer = CellsetData::Axis();
    data.slicer.name = QStringLiteral("SlicerAxis");
    if (m_slicer.arity() == 0) {
        data.slicer.positionCount = 1;
    } else {
        fill(m_slicer, data.slicer);
    }
}

} // namespace platform::olap::local::engine
