#include "platform/olap/mdx/Syntax.h"

#include <algorithm>

namespace platform::olap::mdx {

QString uniqueName(std::span<const NamePart> parts)
{
    QString out;
    for (const NamePart &part : parts) {
        if (!out.isEmpty())
            out += u'.';
        if (part.key)
            out += u'&';
        out += u'[';
        out += QString(part.text).replace(u']', QStringLiteral("]]"));
        out += u']';
    }
    return out;
}

QString nameKey(std::span<const NamePart> parts)
{
    return uniqueName(parts).toCaseFolded();
}

Operator Node::op() const
{
    const detail::NodeData &d = data();
    if (d.kind == NodeKind::Unary || d.kind == NodeKind::Binary)
        return Operator(d.sub);
    return Operator::None;
}

Flag Node::flag() const
{
    return Flag(data().sub);
}

const QString &Node::text() const
{
    static const QString empty;
    const detail::NodeData &d = data();
    if (d.text == detail::NodeData::noText)
        return empty;
    return m_tree->m_strings[d.text];
}

bool Node::textIs(QStringView word) const
{
    return text().compare(word, Qt::CaseInsensitive) == 0;
}

std::span<const NamePart> Node::parts() const
{
    const detail::NodeData &d = data();
    if (d.kind != NodeKind::Name)
        return {};
    return std::span<const NamePart>(m_tree->m_parts.data() + d.first, d.count);
}

std::vector<Node> binaryChain(const Node &node)
{
    std::vector<Node> chain;
    for (Node link = node; link.is(NodeKind::Binary); link = link.child(0))
        chain.push_back(link);
    std::reverse(chain.begin(), chain.end());
    return chain;
}

} // namespace platform::olap::mdx
