#pragma once

#include "platform/olap/Catalog.h"

#include <QDialog>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <vector>

class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;

namespace platform::widgets {
class TabStrip;
class TreeNode;
class TreeView;
} // namespace platform::widgets

// The dialog's copy of one dimension's layout record. The member and order lists exist only
// once something stored them (a read of a list that was never made is an error).
struct ParetoRecord
{
    int lugar = 0;
    int orden = 0;
    std::optional<QStringList> padreTexto;
    std::optional<QStringList> padreLlave;
    QString nombre;
    bool vacio = false;
    int jerarquia = 0;
    int jerarquiaSalto = 0;
    int tipo = 0;
    int opcionTipo = 0;
    QString opcionCampo;
    int opcionValor = 0;
    int opcionTipoReg = 0;
    int ordenTipo = 0;
    std::optional<QStringList> ordenCampos;
    int profundidad = 0;
};

// The dimension options: per dimension of the open cube, which elements it shows, an optional
// ranking, an optional order and whether empty cells are shown. It edits copies of all records
// (vPareto), one dimension at a time; the caller copies them back after OK.
//
// Designed with Spanish texts; Form_Load switches to the English ones for language 0.
class frmPareto : public QDialog
{
    Q_OBJECT

public:
    explicit frmPareto(QWidget *parent = nullptr);
    ~frmPareto() override;

    int vLanguageId = 0;
    int vDim = -1; // the record the controls show; -1 while none is bound
    platform::olap::Catalog m_ctActiveCatalog;
    int numCubo = 0;
    bool vOK = false;

    // Where a list move puts the selected row.
    enum class Move { First, Up, Down, Last };

    // Texts, position and the ranking and order lists, in the language of vLanguageId. Runs
    // once, before the first use of a control (the callers' first access loads the form).
    void Form_Load();
    bool loaded() const { return m_loaded; }

    // The record array: 0 to n, empty; then one dimension's values into record pDim.
    void redimVPareto(int n);
    void traePareto(int pDim, int lugar, int opcionTipo, int opcionValor,
                    const QString &opcionCampo, int opcionTipoReg, int ordenTipo,
                    const QStringList &ordenCampos, bool vacio, const QStringList &padreTexto,
                    const QStringList &padreLlave, int jerarquia, int jerarquiaSalto,
                    int profundidad, const QString &nombre);

    // One field of record pDim; items k from 1. An index outside the array or the list, or a
    // list that was never made, throws platform::Error.
    int lugar(int pDim) const;
    int orden(int pDim) const;
    QString nombre(int pDim) const;
    bool vacio(int pDim) const;
    int jerarquia(int pDim) const;
    int jerarquiaSalto(int pDim) const;
    int tipo(int pDim) const;
    int opcionTipo(int pDim) const;
    QString opcionCampo(int pDim) const;
    int opcionValor(int pDim) const;
    int opcionTipoReg(int pDim) const;
    int ordenTipo(int pDim) const;
    int profundidad(int pDim) const;
    int ordenCamposCount(int pDim) const;
    QString ordenCampos(int pDim, int k) const;
    int padreTextoCount(int pDim) const;
    QString padreTexto(int pDim, int k) const;
    int padreLlaveCount(int pDim) const;
    QString padreLlave(int pDim, int k) const;

    // The record that controls show and store.
    void traeValoresPareto(int pDim);
    void ponValoresPareto(int pDim);

    // Enabled state of the level, ranking and order controls, and of tabs 1 to 3.
    void habilitaNivel(bool flag);
    void habilitaOpcion(bool flag);
    void habilitaOrden(bool flag);
    void habilitaTabs(bool flag);

    // The index of the record whose dimension name is `name` (exact), among the cube's
    // dimensions; -1 when none.
    int findDimension(const QString &name);

    // The validation text of a code in the dialog's language ("M: " and the code for a
    // language other than 0 and 1); the checks of OK, each showing its text on failure.
    QString textoValidacion(int code) const;
    bool validaElementos();
    bool validaOpciones();

    // Handlers, as the controls run them.
    void cmbDimension_Click();
    void cmbElementosTipo_Click();
    void cmbOpcionTipo_Click();
    void cmbOrdenTipo_Click();
    void opcVacio_Click(int Index);
    void cmdPareto_Click();
    void cmdCancelar_Click();
    void cmdElementosPasa_Click();
    void cmdElementosRegresa_Click();
    void cmdElementosPrimero_Click();
    void cmdElementosArriba_Click();
    void cmdElementosAbajo_Click();
    void cmdElementosUltimo_Click();
    void cmdOrdenPasa_Click();
    void cmdOrdenRegresa_Click();
    void cmdOrdenPrimero_Click();
    void cmdOrdenArriba_Click();
    void cmdOrdenAbajo_Click();
    void cmdOrdenUltimo_Click();
    void trvElementosCampos_Expand(platform::widgets::TreeNode *Node);
    void trvOpcionCampo_Expand(platform::widgets::TreeNode *Node);
    void trvOrdenCampos_Expand(platform::widgets::TreeNode *Node);

    // Controls.
    QLabel *lblDimension;
    QComboBox *cmbDimension;
    platform::widgets::TabStrip *TabOne1;
    QLabel *lblElementosTipo;
    QComboBox *cmbElementosTipo;
    QLabel *lblElementosNivel;
    QLineEdit *txtElementosNivel;
    platform::widgets::TreeView *trvElementosCampos;
    std::array<QListWidget *, 3> lstElementosCampos;
    QPushButton *cmdElementosPasa;
    QPushButton *cmdElementosRegresa;
    QPushButton *cmdElementosPrimero;
    QPushButton *cmdElementosArriba;
    QPushButton *cmdElementosAbajo;
    QPushButton *cmdElementosUltimo;
    QComboBox *cmbOpcionTipo;
    QLabel *lblOpcionValor;
    QLineEdit *txtOpcionValor;
    QLabel *lblOpcionTipoReg;
    QComboBox *cmbOpcionTipoReg;
    QLabel *lblOpcionCampo;
    platform::widgets::TreeView *trvOpcionCampo;
    QComboBox *cmbOrdenTipo;
    QLabel *lblOrdenCampos;
    platform::widgets::TreeView *trvOrdenCampos;
    QListWidget *lstOrdenCampos;
    QPushButton *cmdOrdenPasa;
    QPushButton *cmdOrdenRegresa;
    QPushButton *cmdOrdenPrimero;
    QPushButton *cmdOrdenArriba;
    QPushButton *cmdOrdenAbajo;
    QPushButton *cmdOrdenUltimo;
    QLabel *lblVacio;
    std::array<QRadioButton *, 2> opcVacio;
    QPushButton *cmdPareto;
    QPushButton *cmdCancelar;

private:
    ParetoRecord &record(int pDim);
    const ParetoRecord &record(int pDim) const;
    void buildControls();
    void connectHandlers();
    // Runs a handler for a user's action under its own label: an error of the catalog
    // is reported and the dialog stays usable.
    void handle(const char *label, void (frmPareto::*handler)());

    void cargaOpcion();
    void cargaOrden();
    // The element, ranking and order trees (filled lazily from the catalog).
    void cargaElementosTipo(int i);
    void cargaArbolElementos(int i);
    void cargaArbolNiveles(int i);
    void cargaArbolOpcion();
    void cargaArbolOrden();
    void cargaArbolCubo(platform::widgets::TreeView &tree);
    void expandeCampo(platform::widgets::TreeView &tree, platform::widgets::TreeNode *Node);
    // The children of `parent` under Node, each tagged by `tag` (the child's level depth when
    // empty); a child that cannot be read or added is left out.
    void addMemberChildren(platform::widgets::TreeView &tree, platform::widgets::TreeNode *Node,
                           const platform::olap::Member &parent, const QString &tag);
    // The member of dimension d whose unique name is exactly `key`, or the empty member.
    platform::olap::Member findMemberExact(int d, const QString &key);
    platform::olap::CubeDef cube();
    // Selects the ranking tree's node of the stored field, expanding its ancestors.
    void seleccionaCampoOpcion(const QString &key);
    void clearElementLists();
    void moveElementRow(Move move);

    std::vector<ParetoRecord> vPareto;
    int tipoAnterior = 0;
    QStringList m_textosIngles; // the validation texts, by code
    QStringList m_textosEspanol;
    bool m_loaded = false;
};
