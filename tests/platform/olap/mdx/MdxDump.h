#pragma once

// A compact dump of syntax trees that shows their shape: calls and operators as prefix lists,
// (+ 1 (* 2 3)), so that precedence, flags and the split between names and properties show.

#include "platform/olap/mdx/Syntax.h"
#include "platform/olap/mdx/Unparser.h"

#include <QStringList>

#include <ostream>
#include <vector>

// Readable QStrings in test failure messages.
inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace mdx_test {

using namespace platform::olap::mdx;

inline QString dump(const Node &node);

inline QString dumpList(const QString &head, const Node &node, int from = 0)
{
    QStringList items;
    if (!head.isEmpty())
        items << head;
    for (int i = from; i < node.childCount(); ++i)
        items << dump(node.child(i));
    return u'(' + items.join(u' ') + u')';
}

inline QString operatorName(Operator op)
{
    switch (op) {
    case Operator::Negate:
        return QStringLiteral("neg");
    case Operator::UnaryPlus:
        return QStringLiteral("pos");
    case Operator::Not:
        return QStringLiteral("not");
    case Operator::IsEmpty:
        return QStringLiteral("isempty");
    case Operator::Or:
        return QStringLiteral("or");
    case Operator::Xor:
        return QStringLiteral("xor");
    case Operator::And:
        return QStringLiteral("and");
    case Operator::Equal:
        return QStringLiteral("=");
    case Operator::NotEqual:
        return QStringLiteral("<>");
    case Operator::Less:
        return QStringLiteral("<");
    case Operator::LessEqual:
        return QStringLiteral("<=");
    case Operator::Greater:
        return QStringLiteral(">");
    case Operator::GreaterEqual:
        return QStringLiteral(">=");
    case Operator::Is:
        return QStringLiteral("is");
    case Operator::Add:
        return QStringLiteral("+");
    case Operator::Subtract:
        return QStringLiteral("-");
    case Operator::Concat:
        return QStringLiteral("||");
    case Operator::Multiply:
        return QStringLiteral("*");
    case Operator::Divide:
        return QStringLiteral("/");
    case Operator::Power:
        return QStringLiteral("^");
    case Operator::Range:
        return QStringLiteral(":");
    case Operator::None:
        break;
    }
    return QStringLiteral("?");
}

inline QString dump(const Node &node)
{
    switch (node.kind()) {
    case NodeKind::Name:
    case NodeKind::Number:
        return toMdx(node);
    case NodeKind::String:
        return u'"' + node.text() + u'"';
    case NodeKind::Null:
        return QStringLiteral("NULL");
    case NodeKind::Flag:
        return u'#' + node.text();
    case NodeKind::Missing:
        return QStringLiteral("_");
    case NodeKind::Set: {
        QStringList items;
        for (const Node child : node.children())
            items << dump(child);
        return u'{' + items.join(u' ') + u'}';
    }
    case NodeKind::Tuple:
        return dumpList(QStringLiteral("tuple"), node);
    case NodeKind::Property:
    case NodeKind::Method:
        return dumpList(u'.' + node.text(), node);
    case NodeKind::Call:
        return dumpList(node.text(), node);
    case NodeKind::Unary:
        return dumpList(operatorName(node.op()), node);
    case NodeKind::Binary: {
        // Along the left spine in a loop, as for any walker: (+ (+ a b) c)
        const std::vector<Node> chain = binaryChain(node);
        QString text;
        for (auto link = chain.rbegin(); link != chain.rend(); ++link)
            text += u'(' + operatorName(link->op()) + u' ';
        text += dump(chain.front().child(0));
        for (const Node &link : chain)
            text += u' ' + dump(link.child(1)) + u')';
        return text;
    }
    case NodeKind::Case:
        return dumpList(QStringLiteral("case"), node);
    }
    return QStringLiteral("?");
}

// "member [M].[X] = (+ 1 2), SOLVE_ORDER = 1; axis 0 non empty: {a}; from [Sales]; where b"
inline QString dump(const Statement &statement)
{
    QStringList parts;
    for (const Definition &definition : statement.definitions()) {
        QString text = definition.kind == Definition::Kind::Member ? QStringLiteral("member ")
                                                                   : QStringLiteral("set ");
        text += dump(definition.name) + QStringLiteral(" = ") + dump(definition.expression);
        for (const MemberProperty &property : definition.properties)
            text +=
                QStringLiteral(", ") + property.name + QStringLiteral(" = ") + dump(property.value);
        parts << text;
    }
    for (const Axis &axis : statement.axes()) {
        QString text = QStringLiteral("axis %1").arg(axis.number);
        if (axis.nonEmpty)
            text += QStringLiteral(" non empty");
        text += QStringLiteral(": ") + dump(axis.set);
        QStringList properties;
        for (const Node &property : axis.dimensionProperties)
            properties << dump(property);
        if (!properties.isEmpty())
            text += QStringLiteral(" properties ") + properties.join(QStringLiteral(", "));
        parts << text;
    }
    parts << QStringLiteral("from ") + dump(statement.cube());
    if (!statement.slicer().isNull())
        parts << QStringLiteral("where ") + dump(statement.slicer());
    QStringList cell;
    for (const Node &property : statement.cellProperties())
        cell << dump(property);
    if (!cell.isEmpty())
        parts << QStringLiteral("cell properties ") + cell.join(QStringLiteral(", "));
    return parts.join(QStringLiteral("; "));
}

} // namespace mdx_test
