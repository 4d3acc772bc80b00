#include "platform/widgets/TreeView.h"

#include "platform/runtime/Error.h"

#include <QHeaderView>

namespace platform::widgets {

TreeNode::TreeNode(const QString &key, const QString &text, bool placeholder)
    : m_key(key), m_placeholder(placeholder)
{
    QTreeWidgetItem::setText(0, text);
}

bool TreeNode::holdsPlaceholderOnly() const
{
    return childCount() == 1 && firstChild()->isPlaceholder();
}

TreeView::TreeView(QWidget *parent) : QTreeWidget(parent)
{
    setColumnCount(1);
    header()->hide();
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setExpandsOnDoubleClick(true);
    QObject::connect(this, &QTreeWidget::itemExpanded, this,
                     [this](QTreeWidgetItem *item) { emit expand(static_cast<TreeNode *>(item)); });
    QObject::connect(this, &QTreeWidget::itemDoubleClicked, this,
                     [this](QTreeWidgetItem *, int) { emit dblClick(); });
}

void TreeView::clearNodes()
{
    m_keys.clear();
    m_count = 0;
    clear();
}

TreeNode *TreeView::addNode(const QString &relativeKey, const QString &key, const QString &text)
{
    TreeNode *parentNode = nullptr;
    if (!relativeKey.isEmpty()) {
        parentNode = node(relativeKey);
        if (!parentNode)
            throw Error(QStringLiteral("Element not found: %1").arg(relativeKey));
    }
    if (!key.isEmpty() && m_keys.contains(key))
        throw Error(QStringLiteral("Key is not unique in collection: %1").arg(key));
    auto *item = new TreeNode(key, text, false);
    if (parentNode)
        parentNode->addChild(item);
    else
        addTopLevelItem(item);
    if (!key.isEmpty())
        m_keys.insert(key, item);
    ++m_count;
    return item;
}

TreeNode *TreeView::addPlaceholder(const QString &relativeKey)
{
    TreeNode *parentNode = node(relativeKey);
    if (!parentNode)
        throw Error(QStringLiteral("Element not found: %1").arg(relativeKey));
    auto *item = new TreeNode(QString(), QString(), true);
    parentNode->addChild(item);
    ++m_count;
    return item;
}

void TreeView::forget(TreeNode *node)
{
    for (int i = 0; i < node->childCount(); ++i)
        forget(node->childNode(i));
    if (!node->key().isEmpty())
        m_keys.remove(node->key());
    --m_count;
}

void TreeView::removeNode(TreeNode *node)
{
    if (!node)
        return;
    forget(node);
    delete node; // QTreeWidgetItem's destructor takes it out of its parent or the tree
}

TreeNode *TreeView::node(const QString &key) const
{
    return m_keys.value(key, nullptr);
}

TreeNode *TreeView::firstNode() const
{
    return static_cast<TreeNode *>(topLevelItem(0));
}

TreeNode *TreeView::selectedNode() const
{
    const QList<QTreeWidgetItem *> items = selectedItems();
    return items.isEmpty() ? nullptr : static_cast<TreeNode *>(items.front());
}

void TreeView::setSelectedNode(TreeNode *node)
{
    if (!node) {
        clearSelection();
        return;
    }
    setCurrentItem(node);
    node->setSelected(true);
    scrollToItem(node);
}

} // namespace platform::widgets
