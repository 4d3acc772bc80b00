#include "platform/olap/mdx/Unparser.h"

#include <QLocale>

#include <vector>

namespace platform::olap::mdx {

namespace {

// Binding levels as the parser reads them; an operand that binds more loosely than its place
// needs is put in parentheses.
constexpr int primaryLevel = 10;

int binaryLevel(Operator op)
{
    switch (op) {
    case Operator::Or:
    case Operator::Xor:
        return 1;
    case Operator::And:
        return 2;
    case Operator::Equal:
    case Operator::NotEqual:
    case Operator::Less:
    case Operator::LessEqual:
    case Operator::Greater:
    case Operator::GreaterEqual:
    case Operator::Is:
        return 4;
    case Operator::Add:
    case Operator::Subtract:
    case Operator::Concat:
        return 5;
    case Operator::Multiply:
    case Operator::Divide:
        return 6;
    case Operator::Power:
        return 7;
    case Operator::Range:
        return 9;
    default:
        return primaryLevel;
    }
}

int level(const Node &node)
{
    if (node.kind() == NodeKind::Binary)
        return binaryLevel(node.op());
    if (node.kind() == NodeKind::Unary) {
        switch (node.op()) {
        case Operator::Not:
            return 3;
        case Operator::IsEmpty:
            return 4;
        default:
            return 8;
        }
    }
    return primaryLevel;
}

QString operatorText(Operator op)
{
    switch (op) {
    case Operator::Or:
        return QStringLiteral("OR");
    case Operator::Xor:
        return QStringLiteral("XOR");
    case Operator::And:
        return QStringLiteral("AND");
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
        return QStringLiteral("IS");
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
    default:
        return QString();
    }
}

class Writer
{
public:
    QString out;

    void write(const Node &node, int minLevel = 0)
    {
        if (node.isNull())
            return;
        const bool wrap = level(node) < minLevel;
        if (wrap)
            out += u'(';
        writeBare(node);
        if (wrap)
            out += u')';
    }

    void writeList(const Node &node, int from)
    {
        for (int i = from; i < node.childCount(); ++i) {
            if (i > from)
                out += QStringLiteral(", ");
            write(node.child(i));
        }
    }

    void writeName(const Node &node)
    {
        bool first = true;
        for (const NamePart &part : node.parts()) {
            if (!first)
                out += u'.';
            first = false;
            if (part.key)
                out += u'&';
            if (part.bracketed || part.key)
                out += u'[' + QString(part.text).replace(u']', QStringLiteral("]]")) + u']';
            else
                out += part.text;
        }
    }

    void writeBare(const Node &node)
    {
        switch (node.kind()) {
        case NodeKind::Name:
            writeName(node);
            break;
        case NodeKind::Number:
            out += QString::number(node.number(), 'g', QLocale::FloatingPointShortest);
            break;
        case NodeKind::String:
            out += u'"' + QString(node.text()).replace(u'"', QStringLiteral("\"\"")) + u'"';
            break;
        case NodeKind::Null:
            out += QStringLiteral("NULL");
            break;
        case NodeKind::Flag:
            out += node.text();
            break;
        case NodeKind::Missing:
            break;
        case NodeKind::Set:
            out += u'{';
            writeList(node, 0);
            out += u'}';
            break;
        case NodeKind::Tuple:
            out += u'(';
            writeList(node, 0);
            out += u')';
            break;
        case NodeKind::Property:
            write(node.child(0), primaryLevel);
            out += u'.' + node.text();
            break;
        case NodeKind::Method:
            write(node.child(0), primaryLevel);
            out += u'.' + node.text() + u'(';
            writeList(node, 1);
            out += u')';
            break;
        case NodeKind::Call:
            out += node.text() + u'(';
            writeList(node, 0);
            out += u')';
            break;
        case NodeKind::Unary:
            writeUnary(node);
            break;
        case NodeKind::Binary:
            writeChain(node);
            break;
        case NodeKind::Case:
            writeCase(node);
            break;
        }
    }

    // A chain of binary operators, left-associative, written along its left spine in a loop:
    // each operator, then its right operand; the left operand of one binds more loosely than
    // the operator takes (never so in a parsed tree) is put in parentheses.
    void writeChain(const Node &node)
    {
        const std::vector<Node> chain = binaryChain(node);
        const auto wrapsLeft = [&](std::size_t link) {
            return link + 1 < chain.size()
                   && binaryLevel(chain[link].op()) < binaryLevel(chain[link + 1].op());
        };
        for (std::size_t link = 0; link < chain.size(); ++link) {
            if (wrapsLeft(link))
                out += u'(';
        }
        write(chain.front().child(0), binaryLevel(chain.front().op()));
        for (std::size_t link = 0; link < chain.size(); ++link) {
            const Operator op = chain[link].op();
            if (op == Operator::Range)
                out += u':';
            else
                out += u' ' + operatorText(op) + u' ';
            write(chain[link].child(1), binaryLevel(op) + 1);
            if (wrapsLeft(link))
                out += u')';
        }
    }

    void writeUnary(const Node &node)
    {
        const Node operand = node.child(0);
        switch (node.op()) {
        case Operator::Not:
            out += QStringLiteral("NOT ");
            write(operand, 3);
            break;
        case Operator::IsEmpty:
            write(operand, 4);
            out += QStringLiteral(" IS EMPTY");
            break;
        default:
            out += node.op() == Operator::Negate ? u'-' : u'+';
            // "--" would start a comment
            if (operand.kind() == NodeKind::Unary && operand.op() == Operator::Negate)
                out += u' ';
            write(operand, 8);
            break;
        }
    }

    void writeCase(const Node &node)
    {
        const int count = node.childCount();
        out += QStringLiteral("CASE ");
        if (node.child(0).kind() != NodeKind::Missing) {
            write(node.child(0));
            out += u' ';
        }
        for (int i = 1; i + 1 < count - 1; i += 2) {
            out += QStringLiteral("WHEN ");
            write(node.child(i));
            out += QStringLiteral(" THEN ");
            write(node.child(i + 1));
            out += u' ';
        }
        if (node.child(count - 1).kind() != NodeKind::Missing) {
            out += QStringLiteral("ELSE ");
            write(node.child(count - 1));
            out += u' ';
        }
        out += QStringLiteral("END");
    }
};

QString axisName(int number)
{
    static const char *const names[] = {"COLUMNS", "ROWS", "PAGES", "SECTIONS", "CHAPTERS"};
    if (number >= 0 && number < int(std::size(names)))
        return QString::fromLatin1(names[number]);
    return QStringLiteral("AXIS(%1)").arg(number);
}

} // namespace

QString toMdx(const Node &node)
{
    Writer writer;
    writer.write(node);
    return writer.out;
}

QString toMdx(const Statement &statement)
{
    Writer w;
    if (!statement.definitions().isEmpty()) {
        w.out += QStringLiteral("WITH ");
        for (const Definition &definition : statement.definitions()) {
            const bool member = definition.kind == Definition::Kind::Member;
            w.out += member ? QStringLiteral("MEMBER ") : QStringLiteral("SET ");
            w.write(definition.name);
            w.out += QStringLiteral(" AS ");
            w.write(definition.expression);
            for (const MemberProperty &property : definition.properties) {
                w.out += QStringLiteral(", ") + property.name + QStringLiteral(" = ");
                w.write(property.value);
            }
            w.out += u' ';
        }
    }
    w.out += QStringLiteral("SELECT ");
    for (qsizetype i = 0; i < statement.axes().size(); ++i) {
        const Axis &axis = statement.axes()[i];
        if (i > 0)
            w.out += QStringLiteral(", ");
        if (axis.nonEmpty)
            w.out += QStringLiteral("NON EMPTY ");
        w.write(axis.set);
        for (qsizetype p = 0; p < axis.dimensionProperties.size(); ++p) {
            w.out += p == 0 ? QStringLiteral(" DIMENSION PROPERTIES ") : QStringLiteral(", ");
            w.write(axis.dimensionProperties[p]);
        }
        w.out += QStringLiteral(" ON ") + axisName(axis.number);
    }
    w.out += statement.axes().isEmpty() ? QStringLiteral("FROM ") : QStringLiteral(" FROM ");
    w.write(statement.cube());
    if (!statement.slicer().isNull()) {
        w.out += QStringLiteral(" WHERE ");
        w.write(statement.slicer());
    }
    for (qsizetype p = 0; p < statement.cellProperties().size(); ++p) {
        w.out += p == 0 ? QStringLiteral(" CELL PROPERTIES ") : QStringLiteral(", ");
        w.write(statement.cellProperties()[p]);
    }
    return w.out;
}

} // namespace platform::olap::mdx
