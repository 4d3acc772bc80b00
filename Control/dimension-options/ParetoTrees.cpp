// The dimension options' trees: the members (or levels) of the dimension shown, and the whole
// cube for the ranking and order fields. Only one level is read at a time: the first level of
// members (or the dimensions) when a tree is built, the children of one member when it is
// first expanded; a node with unread children holds a placeholder.
#include "Control/dimension-options/ParetoTexts.h"
#include "Control/dimension-options/frmPareto.h"

#include "platform/widgets/TabStrip.h"
#include "platform/widgets/TreeView.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>

using platform::olap::Member;
using platform::widgets::TreeNode;
using platform::widgets::TreeView;

namespace {

const QString cuboTag = QStringLiteral("<Cubo>");
const QString dimensionTag = QStringLiteral("<Dimension>");

// A node for a member under the node keyed `relative`, with its placeholder when the member
// has children.
TreeNode *addMember(TreeView &tree, const QString &relative, const Member &member,
                    const QString &tag)
{
    TreeNode *node = tree.addNode(relative, member.uniqueName(), member.name());
    node->setTag(tag.isEmpty() ? QString::number(member.levelDepth()) : tag);
    if (member.childCount() >= 1)
        tree.addPlaceholder(member.uniqueName());
    return node;
}

} // namespace

platform::olap::CubeDef frmPareto::cube()
{
    return m_ctActiveCatalog.cubeDefs().item(numCubo);
}

void frmPareto::cargaElementosTipo(int i)
{
    ParetoRecord &r = record(i);
    {
        const QSignalBlocker quiet(cmbElementosTipo);
        cmbElementosTipo->clear();
        if (r.lugar != 0) {
            habilitaTabs(true);
            cmbElementosTipo->addItems(pelmora::pareto::elementTypes(vLanguageId));
        } else {
            habilitaTabs(false);
            cmbElementosTipo->addItem(pelmora::pareto::headingFieldType(vLanguageId));
        }
        cmbElementosTipo->setCurrentIndex(-1);
    }
    // The selection runs cmbElementosTipo_Click; the steps below set the final state.
    cmbElementosTipo->setCurrentIndex(r.lugar != 0 ? r.jerarquia : 0);
    clearElementLists();
    if (!r.padreTexto)
        r.padreTexto = QStringList();
    lstElementosCampos[0]->addItems(*r.padreTexto);
    if (!r.padreLlave)
        r.padreLlave = QStringList();
    lstElementosCampos[1]->addItems(*r.padreLlave);
    lstElementosCampos[2]->addItem(QString::number(r.profundidad));
    txtElementosNivel->setText(QString::number(r.jerarquiaSalto));
    tipoAnterior = r.jerarquia;
    if (r.jerarquia == 6)
        cargaArbolNiveles(i);
    else
        cargaArbolElementos(i);
}

void frmPareto::cargaArbolElementos(int i)
{
    trvElementosCampos->clearNodes();
    const platform::olap::Members members =
        cube().dimensions().item(i).hierarchies().item(0).levels().item(0).members();
    const QString nombre = record(i).nombre;
    TreeNode *root = trvElementosCampos->addNode(QString(), nombre, nombre);
    root->setTag(dimensionTag);
    for (int m = 0; m < members.count(); ++m)
        addMember(*trvElementosCampos, nombre, members.item(m), QString());
    root->setExpanded(true);
}

void frmPareto::cargaArbolNiveles(int i)
{
    trvElementosCampos->clearNodes();
    const platform::olap::Levels levels =
        cube().dimensions().item(i).hierarchies().item(0).levels();
    for (int l = 0; l < levels.count(); ++l) {
        const platform::olap::Level level = levels.item(l);
        trvElementosCampos->addNode(QString(), level.uniqueName(), level.name());
    }
}

void frmPareto::cargaArbolCubo(TreeView &tree)
{
    tree.clearNodes();
    const platform::olap::CubeDef cubeDef = cube();
    TreeNode *root = tree.addNode(QString(), cuboTag, cubeDef.name());
    root->setTag(cuboTag);
    const platform::olap::Dimensions dimensions = cubeDef.dimensions();
    for (int d = 0; d < dimensions.count(); ++d) {
        const platform::olap::Dimension dimension = dimensions.item(d);
        TreeNode *node = tree.addNode(cuboTag, dimension.uniqueName(), dimension.name());
        node->setTag(dimensionTag);
        tree.addPlaceholder(dimension.uniqueName());
    }
    root->setExpanded(true);
}

void frmPareto::cargaArbolOpcion()
{
    cargaArbolCubo(*trvOpcionCampo);
}

void frmPareto::cargaArbolOrden()
{
    cargaArbolCubo(*trvOrdenCampos);
}

Member frmPareto::findMemberExact(int d, const QString &key)
{
    // The index is case-insensitive; the node's key names one member exactly.
    const Member member = cube().dimensions().item(d).hierarchies().item(0).findMember(key);
    return !member.isNull() && member.uniqueName() == key ? member : Member();
}

void frmPareto::addMemberChildren(TreeView &tree, TreeNode *Node, const Member &parent,
                                  const QString &tag)
{
    const QString relative = Node->key();
    const int count = parent.childCount();
    const platform::olap::Members children = parent.children();
    for (int k = 0; k < count; ++k) {
        try {
            addMember(tree, relative, children.item(k), tag);
        } catch (...) {
            // A child that cannot be read or added is left out; the others still show.
        }
    }
}

void frmPareto::trvElementosCampos_Expand(TreeNode *Node)
{
    if (tipoAnterior == 6 || Node->tag() == dimensionTag || !Node->holdsPlaceholderOnly())
        return;
    trvElementosCampos->removeNode(Node->firstChild());
    const Member parent = findMemberExact(vDim, Node->key());
    if (!parent.isNull())
        addMemberChildren(*trvElementosCampos, Node, parent, QString());
}

void frmPareto::expandeCampo(TreeView &tree, TreeNode *Node)
{
    // Children read once: a node whose placeholder is gone keeps its nodes.
    if (Node->tag() == cuboTag || !Node->holdsPlaceholderOnly())
        return;
    tree.removeNode(Node->firstChild());
    if (Node->tag() == dimensionTag) {
        const int d = findDimension(Node->text());
        if (d < 0)
            return;
        const platform::olap::Members members =
            cube().dimensions().item(d).hierarchies().item(0).levels().item(0).members();
        const QString name = record(d).nombre;
        for (int m = 0; m < members.count(); ++m)
            addMember(tree, Node->key(), members.item(m), name);
        return;
    }
    const QString name = Node->tag();
    const int d = findDimension(name);
    if (d < 0)
        return;
    const Member parent = findMemberExact(d, Node->key());
    if (!parent.isNull())
        addMemberChildren(tree, Node, parent, name);
}

void frmPareto::trvOpcionCampo_Expand(TreeNode *Node)
{
    expandeCampo(*trvOpcionCampo, Node);
}

void frmPareto::trvOrdenCampos_Expand(TreeNode *Node)
{
    expandeCampo(*trvOrdenCampos, Node);
}

void frmPareto::seleccionaCampoOpcion(const QString &key)
{
    if (key.isEmpty())
        return;
    const platform::olap::Dimensions dimensions = cube().dimensions();
    for (int d = 0; d < dimensions.count(); ++d) {
        const Member member = findMemberExact(d, key);
        if (member.isNull())
            continue;
        // The chain from the dimension node down to the member, each expanded in turn.
        QStringList path{dimensions.item(d).uniqueName()};
        QStringList ancestors;
        for (Member up = member.parent(); !up.isNull(); up = up.parent())
            ancestors.prepend(up.uniqueName());
        path += ancestors;
        for (const QString &step : path) {
            TreeNode *node = trvOpcionCampo->node(step);
            if (!node)
                return;
            trvOpcionCampo_Expand(node);
            node->setExpanded(true);
        }
        if (TreeNode *node = trvOpcionCampo->node(key))
            trvOpcionCampo->setSelectedNode(node);
        return;
    }
}
