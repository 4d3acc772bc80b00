#include "platform/runtime/Error.h"
#include "platform/widgets/TreeView.h"
#include "tests/support/UserInput.h"

#include <gtest/gtest.h>

#include <QList>

using platform::widgets::TreeNode;
using platform::widgets::TreeView;

TEST(TreeView, NodesHangUnderTheirRelativeAndAreFoundByKey)
{
    TreeView tree;
    TreeNode *root = tree.addNode("", "<Cubo>", "Sales");
    root->setTag("<Cubo>");
    TreeNode *time = tree.addNode("<Cubo>", "[Time]", "Time");
    TreeNode *year = tree.addNode("[Time]", "[Time].[2023]", "2023");
    tree.addNode("<Cubo>", "[Store]", "Store");

    EXPECT_EQ(tree.nodeCount(), 4);
    EXPECT_EQ(tree.firstNode(), root);
    EXPECT_EQ(tree.node("[Time].[2023]"), year);
    EXPECT_EQ(year->parentNode(), time);
    EXPECT_EQ(root->childCount(), 2);
    EXPECT_EQ(root->firstChild(), time);
    EXPECT_EQ(root->tag(), "<Cubo>");
    EXPECT_EQ(year->text(), "2023");
    EXPECT_EQ(tree.node("[time]"), nullptr) << "keys are exact";

    EXPECT_THROW(tree.addNode("[Nowhere]", "x", "x"), platform::Error);
    EXPECT_THROW(tree.addNode("", "[Time]", "again"), platform::Error);
    EXPECT_THROW(tree.addPlaceholder("[Nowhere]"), platform::Error);
    EXPECT_EQ(tree.nodeCount(), 4);
}

TEST(TreeView, RemovingANodeForgetsItsSubtreeAndClearingForgetsAll)
{
    TreeView tree;
    tree.addNode("", "a", "A");
    tree.addNode("a", "b", "B");
    tree.addPlaceholder("b");
    tree.addNode("", "c", "C");
    tree.removeNode(tree.node("a"));
    EXPECT_EQ(tree.nodeCount(), 1);
    EXPECT_EQ(tree.node("b"), nullptr);
    // A removed key can be used again.
    EXPECT_NO_THROW(tree.addNode("c", "b", "B"));
    tree.clearNodes();
    EXPECT_EQ(tree.nodeCount(), 0);
    EXPECT_EQ(tree.firstNode(), nullptr);
    EXPECT_EQ(tree.node("c"), nullptr);
}

TEST(TreeView, APlaceholderMakesANodeExpandableUntilReplaced)
{
    TreeView tree;
    TreeNode *member = tree.addNode("", "m", "Member");
    EXPECT_FALSE(member->holdsPlaceholderOnly());
    TreeNode *placeholder = tree.addPlaceholder("m");
    EXPECT_TRUE(placeholder->isPlaceholder());
    EXPECT_TRUE(placeholder->key().isEmpty());
    EXPECT_TRUE(member->holdsPlaceholderOnly());

    // The expand handler swaps the placeholder for the real children.
    QObject::connect(&tree, &TreeView::expand, [&tree](TreeNode *node) {
        if (!node->holdsPlaceholderOnly())
            return;
        tree.removeNode(node->firstChild());
        tree.addNode(node->key(), node->key() + ".1", "child");
    });
    member->setExpanded(true);
    ASSERT_EQ(member->childCount(), 1);
    EXPECT_EQ(member->firstChild()->key(), "m.1");
    EXPECT_FALSE(member->holdsPlaceholderOnly());
    member->setExpanded(false);
    member->setExpanded(true);
    EXPECT_EQ(member->childCount(), 1);
    EXPECT_EQ(tree.nodeCount(), 2);
}

TEST(TreeView, TheUserSelectsExpandsAndDoubleClicks)
{
    TreeView tree;
    TreeNode *a = tree.addNode("", "a", "Alpha");
    tree.addPlaceholder("a");
    TreeNode *b = tree.addNode("", "b", "Beta");
    tree.resize(200, 200);
    tree.show();
    QList<TreeNode *> expands;
    QObject::connect(&tree, &TreeView::expand, [&expands](TreeNode *n) { expands << n; });
    int doubles = 0;
    QObject::connect(&tree, &TreeView::dblClick, [&doubles] { ++doubles; });

    EXPECT_EQ(tree.selectedNode(), nullptr);
    QWidget *port = tree.viewport();
    testing_support::mouseClick(port, tree.visualItemRect(b).center());
    EXPECT_EQ(tree.selectedNode(), b);

    tree.setSelectedNode(a);
    EXPECT_EQ(tree.selectedNode(), a);
    tree.setFocus();
    testing_support::keyClick(&tree, Qt::Key_Right);
    EXPECT_EQ(expands, QList<TreeNode *>({a}));
    EXPECT_TRUE(a->isExpanded());

    testing_support::mouseDoubleClick(port, tree.visualItemRect(b).center());
    EXPECT_EQ(doubles, 1);
    tree.setSelectedNode(nullptr);
    EXPECT_EQ(tree.selectedNode(), nullptr);
}
