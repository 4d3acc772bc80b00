#pragma once

#include <QHash>
#include <QString>
#include <QTreeWidget>

namespace platform::widgets {

class TreeView;

// One node of a tree view: a key (unique within the tree, empty for a node reached only by
// position), the text shown and a tag the caller keeps on it.
//
// A placeholder is a child without key or text that stands for children not read yet: it
// makes its parent expandable, and the tree's expand handler replaces it by the real children
// the first time the parent is expanded.
class TreeNode : public QTreeWidgetItem
{
public:
    QString key() const { return m_key; }
    QString text() const { return QTreeWidgetItem::text(0); }
    void setText(const QString &text) { QTreeWidgetItem::setText(0, text); }
    QString tag() const { return m_tag; }
    void setTag(const QString &tag) { m_tag = tag; }
    bool isPlaceholder() const { return m_placeholder; }

    TreeNode *parentNode() const { return static_cast<TreeNode *>(parent()); }
    TreeNode *childNode(int index) const { return static_cast<TreeNode *>(child(index)); }
    // The first child, or nullptr.
    TreeNode *firstChild() const { return childNode(0); }
    // Whether the node's only child is its placeholder (its children are not read yet).
    bool holdsPlaceholderOnly() const;

private:
    friend class TreeView;
    TreeNode(const QString &key, const QString &text, bool placeholder);

    QString m_key;
    QString m_tag;
    bool m_placeholder = false;
};

// A tree of keyed nodes. Nodes are added under a relative node named by its key (or at the top
// with an empty relative), found by key, selected one at a time. Expanding a node, by the user
// or by code, is reported by `expand` before its children are drawn.
class TreeView : public QTreeWidget
{
    Q_OBJECT

public:
    explicit TreeView(QWidget *parent = nullptr);

    // Removes every node.
    void clearNodes();
    // Adds a node as the last child of the node keyed `relativeKey` (at the top for an empty
    // one) and answers it. Throws platform::Error when no node has the relative key, or when
    // a non-empty key is taken already.
    TreeNode *addNode(const QString &relativeKey, const QString &key, const QString &text);
    // Adds a placeholder as the last child of the node keyed `relativeKey`.
    TreeNode *addPlaceholder(const QString &relativeKey);
    // Removes a node with its children (the caller's pointer is invalid afterwards).
    void removeNode(TreeNode *node);

    // The node with this key (exact), or nullptr.
    TreeNode *node(const QString &key) const;
    // Every node, placeholders included.
    int nodeCount() const { return m_count; }
    // The first top-level node, or nullptr.
    TreeNode *firstNode() const;

    // The selected node, or nullptr.
    TreeNode *selectedNode() const;
    // Selects the node (nullptr clears the selection) and scrolls to it.
    void setSelectedNode(TreeNode *node);

signals:
    void expand(platform::widgets::TreeNode *node);
    void dblClick();

private:
    void forget(TreeNode *node);

    QHash<QString, TreeNode *> m_keys;
    int m_count = 0;
};

} // namespace platform::widgets
