// The dimension options dialog over the sales fixture cube (record 0 Measures on the columns,
// 1 Time on the rows, 2 Product and 3 Store on the slicer), driven through the scripted modal
// runner as a user would: the choices, the statement that follows, validation, list moves and
// the lazily filled trees.
#include "Control/dimension-options/frmPareto.h"
#include "platform/runtime/Error.h"
#include "platform/widgets/TabStrip.h"
#include "platform/widgets/TreeView.h"
#include "tests/Control/core/GestureTestSupport.h"
#include "tests/support/ScriptedModalRunner.h"

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>

#include <functional>

using platform::widgets::TreeNode;
using platform::widgets::TreeView;
using testing_support::ScriptedModalRunner;

namespace {

const QString sales = QStringLiteral("[Measures].[Sales]");
const QString cost = QStringLiteral("[Measures].[Cost]");

// Expands each node of the path in turn (which fills it) and selects the last one.
void pick(TreeView *tree, const QStringList &path)
{
    for (const QString &key : path) {
        TreeNode *node = tree->node(key);
        ASSERT_NE(node, nullptr) << key.toStdString();
        if (&key != &path.back())
            node->setExpanded(true);
    }
    tree->setSelectedNode(tree->node(path.back()));
}

QStringList rows(const QListWidget *list)
{
    QStringList texts;
    for (int r = 0; r < list->count(); ++r)
        texts << list->item(r)->text();
    return texts;
}

QStringList childKeys(const TreeNode *node)
{
    QStringList keys;
    for (int k = 0; k < node->childCount(); ++k)
        keys << (node->childNode(k)->isPlaceholder() ? QStringLiteral("(placeholder)")
                                                     : node->childNode(k)->key());
    return keys;
}

void press(frmPareto &f, const char *button)
{
    ASSERT_TRUE(ScriptedModalRunner::click(f, QLatin1String(button))) << button;
}

// Each field of a record, to compare records as a whole.
QString recordText(const pelmora::OrderDim &r)
{
    return QStringLiteral("%1/%2/%3/%4/%5/%6/%7/%8/%9")
        .arg(r.lugar)
        .arg(r.orden)
        .arg(r.padreTexto.join(u',') + u'|' + r.padreLlave.join(u','), r.nombre)
        .arg(r.vacio)
        .arg(r.jerarquia)
        .arg(r.jerarquiaSalto)
        .arg(r.tipo)
        .arg(QStringLiteral("%1/%2/%3/%4/%5/%6/%7")
                 .arg(r.opcionTipo)
                 .arg(r.opcionCampo)
                 .arg(r.opcionValor)
                 .arg(r.opcionTipoReg)
                 .arg(r.ordenTipo)
                 .arg(r.ordenCampos.join(u','))
                 .arg(r.profundidad));
}

class DimensionOptions : public gesturetest::SalesControl
{
protected:
    using Script = std::function<void(frmPareto &)>;

    // Opens the options of the dimension named `dimension` (the query runs after it); the
    // script works the dialog and presses OK or Cancel itself, or OK is pressed after it.
    void options(const QString &dimension, const Script &script, bool pressOk = true)
    {
        runner.then([&script, pressOk](QDialog &dialog) {
            auto &f = static_cast<frmPareto &>(dialog);
            script(f);
            if (pressOk)
                ScriptedModalRunner::click(f, QStringLiteral("cmdPareto"));
            return -1;
        });
        control.doAnalysis2(dimension);
        EXPECT_TRUE(runner.done());
        EXPECT_EQ(runner.unexpected(), 0);
    }

    const pelmora::OrderDim &rec(int i) const
    {
        return pelmora::orderDimAt(control.layoutState, i);
    }

    ScriptedModalRunner runner;
};

} // namespace

TEST_F(DimensionOptions, EachElementTypeShapesTheRowSet)
{
    const struct
    {
        const char *name;
        int type;
        QList<QStringList> picks; // tree paths passed in turn
        QString level;
        QString set;
        QString depth;
    } cases[] = {
        // clang-format off
        {"N levels from a year", 0, {{"[Time].[1997]"}}, "2",
         "Descendants([Time].[1997], [Time].[Month], SELF_AND_BEFORE)", "0"},
        {"a list of members after the start member", 1,
         {{"[Time].[1998]"}, {"[Time].[1997]", "[Time].[1997].[Q2]"}}, "1",
         "{[Time].[1997], [Time].[1998], [Time].[1997].[Q2]}", "0"},
        {"final nodes", 2, {{"[Time].[1997]"}}, "1",
         "Descendants([Time].[1997], [Time].[Month])", "0"},
        {"the complete hierarchy", 3, {{"[Time].[1998]"}}, "1",
         "Descendants([Time].[1998], [Time].[Month], SELF_AND_BEFORE)", "0"},
        {"only me: the last member passed", 4,
         {{"[Time].[1998]"}, {"[Time].[1997]", "[Time].[1997].[Q1]"}}, "1",
         "{[Time].[1997].[Q1]}", "1"},
        {"only my sons", 5, {{"[Time].[1997]"}}, "1",
         "Descendants([Time].[1997], [Time].[Quarter], SELF)", "0"},
        {"a level's nodes", 6, {{"[Time].[Quarter]"}}, "1",
         "Descendants([Time].[1997], [Time].[Quarter])", "0"},
        // clang-format on
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        options("Time", [&c](frmPareto &f) {
            f.cmbElementosTipo->setCurrentIndex(c.type);
            if (c.type != 0)
                press(f, "cmdElementosRegresa"); // nothing selected: nothing removed
            for (const QStringList &path : c.picks) {
                pick(f.trvElementosCampos, path);
                press(f, "cmdElementosPasa");
            }
            f.txtElementosNivel->setText(c.level);
        });
        EXPECT_EQ(boxes.count(), 0) << boxes.texts().join(u';').toStdString();
        EXPECT_EQ(rec(1).jerarquia, c.type);
        EXPECT_EQ(control.queryState.currentMDX.toStdString(),
                  gesturetest::statement(gesturetest::measuresSet, c.set,
                                         {"[Product].[All Products]", "[Store].[All Stores]"})
                      .toStdString());
        EXPECT_EQ(QString::number(rec(1).profundidad), c.depth);
        boxes.clear();
    }
}

TEST_F(DimensionOptions, RankingByCountSumAndPercentTopAndBottom)
{
    const struct
    {
        int kind;
        const char *value;
        int direction;
        QString set;
    } cases[] = {
        {1, "2", 0, "TopCount(" + gesturetest::yearSet + ", 2, [Measures].[Sales])"},
        {1, "1", 1, "BottomCount(" + gesturetest::yearSet + ", 1, [Measures].[Sales])"},
        {2, "20", 0, "TopSum(" + gesturetest::yearSet + ", 20, [Measures].[Sales])"},
        {2, "150", 1, "BottomSum(" + gesturetest::yearSet + ", 150, [Measures].[Sales])"},
        {3, "80", 0, "TopPercent(" + gesturetest::yearSet + ", 80, [Measures].[Sales])"},
        {3, "2.5", 1, "BottomPercent(" + gesturetest::yearSet + ", 2, [Measures].[Sales])"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.set.toStdString());
        options("Time", [&c](frmPareto &f) {
            f.cmbOpcionTipo->setCurrentIndex(c.kind);
            EXPECT_TRUE(f.txtOpcionValor->isEnabled());
            f.txtOpcionValor->setText(c.value);
            f.cmbOpcionTipoReg->setCurrentIndex(c.direction);
            pick(f.trvOpcionCampo, {"[Measures]", sales});
        });
        EXPECT_EQ(boxes.count(), 0) << boxes.texts().join(u';').toStdString();
        EXPECT_EQ(control.drillDown(2), c.set);
        EXPECT_EQ(rec(1).opcionCampo, sales);
    }
    // Back to all elements: the statement loses the ranking, the record keeps its details.
    options("Time", [](frmPareto &f) {
        EXPECT_EQ(f.cmbOpcionTipo->currentIndex(), 3);
        EXPECT_EQ(f.txtOpcionValor->text(), "2");
        EXPECT_EQ(f.cmbOpcionTipoReg->currentIndex(), 1);
        f.cmbOpcionTipo->setCurrentIndex(0);
        EXPECT_FALSE(f.txtOpcionValor->isEnabled());
        EXPECT_FALSE(f.trvOpcionCampo->isEnabled());
    });
    EXPECT_EQ(control.drillDown(2), gesturetest::yearSet);
    EXPECT_EQ(rec(1).opcionTipo, 0);
    EXPECT_EQ(rec(1).opcionValor, 2);
    EXPECT_EQ(rec(1).opcionTipoReg, 1);
    EXPECT_EQ(rec(1).opcionCampo, sales);
}

TEST_F(DimensionOptions, EachOrderKindWithAndWithoutFields)
{
    const char *kinds[] = {"", "ASC", "DESC", "BASC", "BDESC"};
    for (int kind = 1; kind <= 4; ++kind) {
        for (const bool withFields : {true, false}) {
            SCOPED_TRACE(kinds[kind] + std::string(withFields ? " with fields" : " without"));
            options("Time", [kind, withFields](frmPareto &f) {
                f.cmbOrdenTipo->setCurrentIndex(kind);
                f.lstOrdenCampos->clear();
                if (withFields) {
                    pick(f.trvOrdenCampos, {"[Measures]", cost});
                    press(f, "cmdOrdenPasa");
                    pick(f.trvOrdenCampos, {"[Time]", "[Time].[1998]"});
                    press(f, "cmdOrdenPasa");
                }
            });
            EXPECT_EQ(boxes.count(), 0) << boxes.texts().join(u';').toStdString();
            const QString expected = withFields ? "Order(" + gesturetest::yearSet
                                                      + ", ([Measures].[Cost], "
                                                        "[Time].[1998]), "
                                                      + kinds[kind] + ")"
                                                : gesturetest::yearSet;
            EXPECT_EQ(control.drillDown(2), expected);
            EXPECT_EQ(rec(1).ordenTipo, kind);
        }
    }
    // Ranked and ordered, reopened: the kind and both fields come back in order.
    options("Time", [](frmPareto &f) {
        f.cmbOrdenTipo->setCurrentIndex(4);
        pick(f.trvOrdenCampos, {"[Measures]", cost});
        press(f, "cmdOrdenPasa");
        press(f, "cmdOrdenPasa");
        f.cmbOpcionTipo->setCurrentIndex(1);
        f.txtOpcionValor->setText("1");
        pick(f.trvOpcionCampo, {"[Measures]", sales});
    });
    EXPECT_EQ(control.drillDown(2), "Order(TopCount(" + gesturetest::yearSet
                                        + ", 1, [Measures].[Sales]), ([Measures].[Cost], "
                                          "[Measures].[Cost]), BDESC)");
    options(
        "Time",
        [](frmPareto &f) {
            EXPECT_EQ(f.cmbOrdenTipo->currentIndex(), 4);
            EXPECT_EQ(rows(f.lstOrdenCampos), QStringList({cost, cost}));
            EXPECT_TRUE(f.trvOrdenCampos->isEnabled());
            f.cmbOrdenTipo->setCurrentIndex(0);
        },
        true);
    EXPECT_EQ(rec(1).ordenTipo, 0);
    EXPECT_EQ(rec(1).ordenCampos, QStringList({cost, cost})) << "kept for a later order";
}

TEST_F(DimensionOptions, EmptyCellsOffPutsNonEmptyBeforeTheAxis)
{
    options("Time", [](frmPareto &f) {
        EXPECT_TRUE(f.opcVacio[0]->isChecked());
        f.opcVacio[1]->click();
        EXPECT_FALSE(f.opcVacio[0]->isChecked());
    });
    EXPECT_FALSE(rec(1).vacio);
    EXPECT_EQ(control.drillDown(2), "NON EMPTY " + gesturetest::yearSet);
    options("Time", [](frmPareto &f) {
        EXPECT_TRUE(f.opcVacio[1]->isChecked());
        f.opcVacio[0]->click();
        EXPECT_FALSE(f.opcVacio[1]->isChecked());
    });
    EXPECT_TRUE(rec(1).vacio);
    EXPECT_EQ(control.drillDown(2), gesturetest::yearSet);
}

TEST_F(DimensionOptions, EveryValidationMessageKeepsTheDialogOpenOnItsTab)
{
    const auto ranking = [](int kind, const char *value) {
        return [kind, value](frmPareto &f) {
            f.cmbOpcionTipo->setCurrentIndex(kind);
            f.txtOpcionValor->setText(value);
        };
    };
    const auto rankingOn = [](const QStringList &path) {
        return [path](frmPareto &f) {
            f.cmbOpcionTipo->setCurrentIndex(1);
            f.txtOpcionValor->setText("2");
            pick(f.trvOpcionCampo, path);
        };
    };
    const struct
    {
        const char *name;
        int language;
        Script setup;
        QString message;
        int tab;
    } cases[] = {
        {"an empty element list", 0,
         [](frmPareto &f) {
             f.lstElementosCampos[0]->setCurrentRow(0);
             press(f, "cmdElementosRegresa");
         },
         "Can't be empty the list of fields to show", 0},
        {"no element list, another language", 2,
         [](frmPareto &f) {
             f.lstElementosCampos[0]->setCurrentRow(0);
             press(f, "cmdElementosRegresa");
         },
         "M: 5", 0},
        {"level 0", 0, [](frmPareto &f) { f.txtElementosNivel->setText("0"); },
         "The hierarchy level must be a value grater than one", 0},
        {"no level, in Spanish", 1, [](frmPareto &f) { f.txtElementosNivel->setText(""); },
         "El nivel de jerarquias debe ser un valor mayor a 1", 0},
        {"a level that is no number", 0, [](frmPareto &f) { f.txtElementosNivel->setText("x"); },
         "The hierarchy level must be a value grater than one", 0},
        {"ranking value 0", 0, ranking(1, "0"), "The option's value must be greater than zero", 1},
        {"ranking value that is no number", 0, ranking(2, "abc"),
         "The option's value must be greater than zero", 1},
        {"ranking value that rounds to 0", 0, ranking(1, "0.5"),
         "The option's value must be greater than zero", 1},
        {"a percentage above 100", 0, ranking(3, "150"),
         "The percentage's value must be between 1 and 100", 1},
        {"no ranking field", 0, ranking(1, "2"), "An order field must be chosen", 1},
        {"the cube as ranking field, in Spanish", 1, rankingOn({"<Cubo>"}),
         "Debe escoger un campo de alguna dimension", 1},
        {"a dimension as ranking field", 0, rankingOn({"[Measures]"}),
         "A dimension's filed must be chosen", 1},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        control.language.LanguageID = c.language;
        const QString before = recordText(rec(1));
        options(
            "Time",
            [&c](frmPareto &f) {
                c.setup(f);
                f.TabOne1->setCurrentTab(2);
                press(f, "cmdPareto");
                EXPECT_EQ(f.TabOne1->currentTab(), c.tab);
                EXPECT_NE(f.result(), int(QDialog::Accepted));
                press(f, "cmdCancelar");
            },
            false);
        EXPECT_EQ(boxes.texts(), QStringList({c.message}));
        EXPECT_EQ(recordText(rec(1)), before);
        boxes.clear();
    }
    control.language.LanguageID = 0;

    // The order field button refuses the cube and a dimension; "150" as a sum passes.
    options("Time", [](frmPareto &f) {
        f.cmbOrdenTipo->setCurrentIndex(1);
        pick(f.trvOrdenCampos, {"<Cubo>"});
        press(f, "cmdOrdenPasa");
        pick(f.trvOrdenCampos, {"[Time]"});
        press(f, "cmdOrdenPasa");
        EXPECT_EQ(f.lstOrdenCampos->count(), 0);
        f.cmbOpcionTipo->setCurrentIndex(2);
        f.txtOpcionValor->setText("150");
        pick(f.trvOpcionCampo, {"[Measures]", cost});
    });
    EXPECT_EQ(boxes.texts(),
              QStringList({"A cube element must be chosen", "A cube element must be chosen"}));
    EXPECT_EQ(rec(1).opcionValor, 150);
}

TEST_F(DimensionOptions, ElementListMovesKeepTheDepthRowAndStopAtTheEnds)
{
    const QStringList keys = {"[Time].[1997]", "[Time].[1998]", "[Time].[1997].[Q1]"};
    const struct
    {
        const char *button;
        int row;
        QList<int> order; // of the keys above
        int selected;
    } cases[] = {
        // clang-format off
        {"cmdElementosPrimero", 2, {2, 0, 1}, 0}, {"cmdElementosPrimero", 0, {0, 1, 2}, 0},
        {"cmdElementosArriba", 1, {1, 0, 2}, 0},  {"cmdElementosArriba", 0, {0, 1, 2}, 0},
        {"cmdElementosAbajo", 1, {0, 2, 1}, 2},   {"cmdElementosAbajo", 2, {0, 1, 2}, 2},
        {"cmdElementosUltimo", 0, {1, 2, 0}, 2},  {"cmdElementosUltimo", 2, {0, 1, 2}, 2},
        // clang-format on
        {"cmdElementosUltimo", -1, {0, 1, 2}, -1},
        {"cmdElementosRegresa", 1, {0, 2}, -2},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.button) + " on row " + std::to_string(c.row));
        options("Time", [&](frmPareto &f) {
            f.cmbElementosTipo->setCurrentIndex(1);
            while (f.lstElementosCampos[0]->count() > 0) {
                f.lstElementosCampos[0]->setCurrentRow(0);
                press(f, "cmdElementosRegresa");
            }
            pick(f.trvElementosCampos, {"[Time].[1997]"});
            press(f, "cmdElementosPasa");
            pick(f.trvElementosCampos, {"[Time].[1998]"});
            press(f, "cmdElementosPasa");
            pick(f.trvElementosCampos, {"[Time].[1997]", "[Time].[1997].[Q1]"});
            press(f, "cmdElementosPasa");
            const QStringList depths = rows(f.lstElementosCampos[2]);
            f.lstElementosCampos[0]->setCurrentRow(c.row);
            if (c.row < 0)
                f.lstElementosCampos[0]->setCurrentRow(-1);
            press(f, c.button);
            QStringList expected;
            for (int k : c.order)
                expected << keys[k];
            EXPECT_EQ(rows(f.lstElementosCampos[1]), expected);
            if (c.selected >= -1) {
                EXPECT_EQ(f.lstElementosCampos[0]->currentRow(), c.selected);
                EXPECT_EQ(f.lstElementosCampos[1]->currentRow(), c.selected);
                EXPECT_EQ(rows(f.lstElementosCampos[2]), depths);
            } else {
                EXPECT_EQ(rows(f.lstElementosCampos[2]), QStringList({"0", "1"}));
            }
        });
        QStringList expected;
        for (int k : c.order)
            expected << keys[k];
        EXPECT_EQ(rec(1).padreLlave, expected);
        EXPECT_EQ(rec(1).padreTexto.size(), expected.size());
    }
}

TEST_F(DimensionOptions, OrderListMovesStopAtTheEnds)
{
    const QStringList keys = {sales, cost, "[Time].[1998]"};
    const struct
    {
        const char *button;
        int row;
        QList<int> order;
        int selected;
    } cases[] = {
        {"cmdOrdenPrimero", 1, {1, 0, 2}, 0}, {"cmdOrdenPrimero", 0, {0, 1, 2}, 0},
        {"cmdOrdenArriba", 2, {0, 2, 1}, 1},  {"cmdOrdenArriba", 0, {0, 1, 2}, 0},
        {"cmdOrdenAbajo", 0, {1, 0, 2}, 1},   {"cmdOrdenAbajo", 2, {0, 1, 2}, 2},
        {"cmdOrdenUltimo", 0, {1, 2, 0}, 2},  {"cmdOrdenUltimo", 2, {0, 1, 2}, 2},
        {"cmdOrdenAbajo", -1, {0, 1, 2}, -1}, {"cmdOrdenRegresa", 0, {1, 2}, -2},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(std::string(c.button) + " on row " + std::to_string(c.row));
        QStringList expected;
        for (int k : c.order)
            expected << keys[k];
        options("Time", [&](frmPareto &f) {
            f.cmbOrdenTipo->setCurrentIndex(2);
            f.lstOrdenCampos->clear();
            for (const QStringList &path :
                 {QStringList{"[Measures]", sales}, {cost}, {"[Time]", "[Time].[1998]"}}) {
                pick(f.trvOrdenCampos, path);
                press(f, "cmdOrdenPasa");
            }
            f.lstOrdenCampos->setCurrentRow(c.row);
            press(f, c.button);
            EXPECT_EQ(rows(f.lstOrdenCampos), expected);
            if (c.selected >= -1) {
                EXPECT_EQ(f.lstOrdenCampos->currentRow(), c.selected);
            }
        });
        EXPECT_EQ(rec(1).ordenCampos, expected);
    }
}

TEST_F(DimensionOptions, TreesAreFilledOneLevelAtATime)
{
    // clang-format off
    options("Time", [](frmPareto &f) {
        TreeView *elements = f.trvElementosCampos;
        TreeNode *root = elements->firstNode();
        ASSERT_NE(root, nullptr);
        EXPECT_EQ(root->key(), "Time");
        EXPECT_EQ(root->tag(), "<Dimension>");
        EXPECT_TRUE(root->isExpanded());
        EXPECT_EQ(childKeys(root), QStringList({"[Time].[1997]", "[Time].[1998]"}));
        TreeNode *year = elements->node("[Time].[1997]");
        EXPECT_EQ(year->tag(), "0");
        EXPECT_EQ(childKeys(year), QStringList({"(placeholder)"}));
        year->setExpanded(true);
        EXPECT_EQ(childKeys(year), QStringList({"[Time].[1997].[Q1]", "[Time].[1997].[Q2]"}));
        EXPECT_EQ(elements->node("[Time].[1997].[Q1]")->tag(), "1");
        const int count = elements->nodeCount();
        year->setExpanded(false);
        year->setExpanded(true);
        f.trvElementosCampos_Expand(year);
        EXPECT_EQ(elements->nodeCount(), count) << "re-expanding adds nothing";
        TreeNode *quarter = elements->node("[Time].[1997].[Q1]");
        quarter->setExpanded(true);
        TreeNode *month = quarter->firstChild();
        ASSERT_NE(month, nullptr);
        EXPECT_EQ(month->tag(), "2");
        EXPECT_EQ(month->childCount(), 0) << "a member without children has no placeholder";

        // Level form for type 6: the levels at the top, expanding does nothing.
        f.cmbElementosTipo->setCurrentIndex(6);
        EXPECT_EQ(f.lstElementosCampos[0]->count(), 0);
        EXPECT_EQ(elements->topLevelItemCount(), 3);
        EXPECT_EQ(elements->firstNode()->key(), "[Time].[Year]");
        EXPECT_EQ(elements->firstNode()->childCount(), 0);
        f.cmbElementosTipo->setCurrentIndex(0);
        EXPECT_EQ(elements->firstNode()->key(), "Time");

        // The cube tree: its dimensions, each with a placeholder; members tagged by their
        // dimension's name at every depth.
        TreeView *ranking = f.trvOpcionCampo;
        TreeNode *cube = ranking->firstNode();
        EXPECT_EQ(cube->key(), "<Cubo>");
        EXPECT_EQ(cube->text(), "Sales");
        EXPECT_EQ(cube->tag(), "<Cubo>");
        EXPECT_EQ(childKeys(cube), QStringList({"[Measures]", "[Time]", "[Product]", "[Store]"}));
        TreeNode *product = ranking->node("[Product]");
        EXPECT_EQ(product->tag(), "<Dimension>");
        EXPECT_EQ(childKeys(product), QStringList({"(placeholder)"}));
        product->setExpanded(true);
        EXPECT_EQ(childKeys(product), QStringList({"[Product].[All Products]"}));
        TreeNode *all = ranking->node("[Product].[All Products]");
        EXPECT_EQ(all->tag(), "Product");
        all->setExpanded(true);
        EXPECT_EQ(childKeys(all), QStringList({"[Product].[Drink]", "[Product].[Food]"}));
        EXPECT_EQ(ranking->node("[Product].[Food]")->tag(), "Product");
        const int before = ranking->nodeCount();
        product->setExpanded(false);
        product->setExpanded(true);
        f.trvOpcionCampo_Expand(product);
        EXPECT_EQ(ranking->nodeCount(), before);
        // The order tree is its own copy.
        EXPECT_EQ(f.trvOrdenCampos->node("[Product].[All Products]"), nullptr);

        // A member's key in another letter case names no member: no children, no error.
        TreeNode *odd = elements->addNode("Time", "[time].[1998]", "1998");
        elements->addPlaceholder("[time].[1998]");
        odd->setExpanded(true);
        EXPECT_EQ(odd->childCount(), 0);
        press(f, "cmdCancelar");
    }, false);
    // clang-format on
    EXPECT_EQ(boxes.count(), 0) << boxes.texts().join(u';').toStdString();
}

TEST_F(DimensionOptions, TheStoredRankingFieldIsSelectedAgain)
{
    for (const QString &field : {cost, QStringLiteral("[Product].[Food]")}) {
        SCOPED_TRACE(field.toStdString());
        pelmora::OrderDim &time = pelmora::orderDimAt(control.layoutState, 1);
        time.opcionTipo = 1;
        time.opcionValor = 1;
        time.opcionCampo = field;
        // Switching to another dimension and back keeps it, and OK passes.
        options("Time", [&field](frmPareto &f) {
            ASSERT_NE(f.trvOpcionCampo->selectedNode(), nullptr);
            EXPECT_EQ(f.trvOpcionCampo->selectedNode()->key(), field);
            f.cmbDimension->setCurrentIndex(0);
            f.cmbDimension->setCurrentIndex(1);
            ASSERT_NE(f.trvOpcionCampo->selectedNode(), nullptr);
            EXPECT_EQ(f.trvOpcionCampo->selectedNode()->key(), field);
        });
        EXPECT_EQ(boxes.count(), 0) << boxes.texts().join(u';').toStdString();
        EXPECT_EQ(rec(1).opcionCampo, field);
        EXPECT_EQ(control.drillDown(2), "TopCount(" + gesturetest::yearSet + ", 1, " + field + ")");
    }
}

TEST_F(DimensionOptions, CancelLeavesEveryRecordAndStillRunsTheQuery)
{
    QStringList before;
    for (int i = 0; i < 4; ++i)
        before << recordText(rec(i));
    const auto result = gesturetest::lastResult(control);
    runner.then([](QDialog &dialog) {
        auto &f = static_cast<frmPareto &>(dialog);
        EXPECT_EQ(f.cmbDimension->currentIndex(), 0);
        EXPECT_EQ(f.cmbDimension->count(), 4);
        f.cmbDimension->setCurrentIndex(1);
        f.cmbElementosTipo->setCurrentIndex(4);
        f.opcVacio[1]->click();
        f.cmbDimension->setCurrentIndex(2);
        press(f, "cmdCancelar");
        return -1;
    });
    EXPECT_TRUE(control.doAction("DIMENSIONOPTIONS"));
    QStringList after;
    for (int i = 0; i < 4; ++i)
        after << recordText(rec(i));
    EXPECT_EQ(after, before);
    EXPECT_NE(gesturetest::lastResult(control), result) << "the query ran again";
    EXPECT_EQ(boxes.count(), 0);
}

TEST_F(DimensionOptions, OkRewritesAllRecordsAndKeepsTheUnvisitedOnes)
{
    QStringList before;
    for (int i = 0; i < 4; ++i)
        before << recordText(rec(i));
    options("Nowhere", [](frmPareto &f) {
        EXPECT_EQ(f.cmbDimension->currentIndex(), 0) << "an unknown name opens dimension 0";
        f.cmbDimension->setCurrentIndex(1);
        f.opcVacio[1]->click();
    });
    EXPECT_EQ(recordText(rec(0)), before[0]);
    EXPECT_FALSE(rec(1).vacio);
    EXPECT_EQ(recordText(rec(2)), before[2]);
    EXPECT_EQ(recordText(rec(3)), before[3]);
}

TEST_F(DimensionOptions, ASlicerDimensionPicksOneMemberOnItsElementsTab)
{
    options("Store", [](frmPareto &f) {
        EXPECT_EQ(f.cmbDimension->currentIndex(), 3);
        EXPECT_EQ(f.cmbElementosTipo->count(), 1);
        EXPECT_EQ(f.cmbElementosTipo->currentText(), "Heading field");
        EXPECT_FALSE(f.txtElementosNivel->isEnabled());
        for (int tab = 1; tab <= 3; ++tab)
            EXPECT_FALSE(f.TabOne1->isTabEnabled(tab));
        pick(f.trvElementosCampos, {"[Store].[All Stores]", "[Store].[USA]"});
        press(f, "cmdElementosPasa");
        EXPECT_EQ(rows(f.lstElementosCampos[1]), QStringList({"[Store].[USA]"}));
        // Its dimension node passes the first top member with depth 0.
        pick(f.trvElementosCampos, {"Store"});
        press(f, "cmdElementosPasa");
        EXPECT_EQ(rows(f.lstElementosCampos[0]), QStringList({"All Stores"}));
        EXPECT_EQ(rows(f.lstElementosCampos[2]), QStringList({"0"}));
        pick(f.trvElementosCampos, {"[Store].[All Stores]", "[Store].[USA]"});
        press(f, "cmdElementosPasa");
        f.txtElementosNivel->setText(""); // not checked on the slicer
    });
    EXPECT_EQ(boxes.count(), 0) << boxes.texts().join(u';').toStdString();
    EXPECT_EQ(rec(3).jerarquia, 7);
    EXPECT_EQ(rec(3).padreLlave, QStringList({"[Store].[USA]"}));
    EXPECT_EQ(rec(3).profundidad, 1);
    EXPECT_TRUE(control.queryState.currentMDX.endsWith(
        " WHERE ([Product].[All Products], [Store].[USA])\r\n\r\n"));
}

TEST_F(DimensionOptions, SpanishTextsAndLists)
{
    control.language.LanguageID = 1;
    options(
        "Time",
        [](frmPareto &f) {
            EXPECT_EQ(f.windowTitle(), "Opciones de dimensión");
            EXPECT_EQ(f.TabOne1->tabCaption(3), "&Vacio");
            EXPECT_EQ(f.cmdPareto->text(), "&Aceptar");
            EXPECT_EQ(f.cmbElementosTipo->itemText(6), "Nodos de un nivel");
            EXPECT_EQ(f.cmbOpcionTipo->itemText(1), "Número de elementos");
            EXPECT_EQ(f.cmbOrdenTipo->itemText(4), "Descendente por valores");
            EXPECT_EQ(f.cmbOpcionTipoReg->itemText(1), "Valores inferiores");
            EXPECT_EQ(f.opcVacio[0]->text(), "Si");
            press(f, "cmdCancelar");
        },
        false);
    control.language.LanguageID = 0;
    options(
        "Time",
        [](frmPareto &f) {
            EXPECT_EQ(f.windowTitle(), "Dimension options");
            EXPECT_EQ(f.TabOne1->tabCaption(2), "O&rder");
            EXPECT_EQ(f.lblVacio->text(), "Does empty cells should appear?");
            EXPECT_EQ(f.cmbElementosTipo->itemText(1), "Field's list");
            press(f, "cmdCancelar");
        },
        false);
}

TEST(ParetoRecords, ReadsOfMissingRecordsAndListsAreErrors)
{
    frmPareto f;
    f.redimVPareto(1);
    f.traePareto(1, 2, 0, 9, "[x]", 1, 0, {"a"}, true, {"T"}, {"K"}, 1, 3, 2, "Time");
    EXPECT_EQ(f.nombre(1), "Time");
    EXPECT_EQ(f.opcionValor(1), 0) << "ranking details only with a ranking";
    EXPECT_EQ(f.padreLlave(1, 1), "K");
    EXPECT_THROW(f.ordenCamposCount(1), platform::Error) << "no order: no order list";
    EXPECT_THROW(f.padreTexto(1, 2), platform::Error);
    EXPECT_THROW(f.lugar(2), platform::Error);
    EXPECT_THROW(f.padreTextoCount(0), platform::Error);
    f.redimVPareto(0);
    EXPECT_THROW(f.nombre(1), platform::Error);
}

TEST(DimensionOptionsWithoutCube, AreReportedAndRunNoQuery)
{
    testing_support::ScriptedMsgBox boxes;
    ScriptedModalRunner runner;
    PelmoraC02 control;
    EXPECT_FALSE(control.dimensionOptions());
    EXPECT_EQ(boxes.texts(), QStringList({"doAnalysis: Invalid property value"}));
    EXPECT_TRUE(runner.shown().isEmpty());
}
