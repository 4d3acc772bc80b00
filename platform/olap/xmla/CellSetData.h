#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>
#include <QVariant>

#include <vector>

namespace platform::olap::xmla {

// One member of a tuple as an Execute reply sends it.
struct AxisMember
{
    QString uniqueName;      // UName
    QString caption;         // Caption
    QString levelUniqueName; // LName
    int levelNumber = 0;     // LNum
};

// One axis of a cell set: its tuples, each holding one member per hierarchy.
struct Axis
{
    QString name;            // "Axis0", "Axis1"... or "SlicerAxis"
    QStringList hierarchies; // from OlapInfo, in tuple order
    int tupleCount = 0;
    std::vector<AxisMember> members; // tuple-major: tupleCount * hierarchies.size()

    const AxisMember &member(int tuple, int position) const
    {
        return members[size_t(tuple) * size_t(hierarchies.size()) + size_t(position)];
    }
};

enum class CellValueKind : quint8 { Empty, Double, Integer, Boolean, String, Error };

// The result of one Execute: axes, slicer and cells. A cell has exactly the properties the
// reply's CellInfo declares, in that order; cells the reply leaves out are empty. Cells are held
// compactly: 16 bytes per property, numbers as numbers, text in one shared buffer in which a
// text equal to the previous cell's (a format string, say) is stored once.
class CellSetData
{
public:
    const std::vector<Axis> &axes() const { return m_axes; }
    // A reply without a slicer axis has a slicer of one empty tuple.
    const Axis &slicer() const { return m_slicer; }

    // Property names as CellInfo declares them ("VALUE", "FORMATTED_VALUE", "FORE_COLOR"...).
    const QStringList &cellProperties() const { return m_propertyNames; }
    // By name or by the reply's element name ("FmtValue"), case-insensitive; -1 when absent.
    int cellPropertyIndex(QStringView name) const;

    // The product of the axes' tuple counts (1 for a cell set without axes).
    qint64 cellCount() const { return m_cellCount; }
    // The ordinal of the cell at one tuple index per axis, axis 0 varying fastest; -1 when the
    // indexes do not address a cell.
    qint64 ordinal(const std::vector<int> &tupleIndexes) const;
    // Whether the reply held the cell (a missing cell is empty).
    bool hasCell(qint64 ordinal) const { return slotsOf(ordinal) != nullptr; }
    // The ordinals of the cells the reply held, ascending.
    const std::vector<qint64> &heldCells() const { return m_ordinals; }

    // A property of a cell: double, qlonglong, bool or QString (an error's text); invalid when
    // empty, not sent, or not declared.
    QVariant property(qint64 ordinal, int property) const;
    CellValueKind propertyKind(qint64 ordinal, int property) const;
    // The xsi:type the reply gave the property ("xsd:double"), empty when none.
    QString propertyType(qint64 ordinal, int property) const;

    // Shorthands for the VALUE and FORMATTED_VALUE properties.
    QVariant value(qint64 ordinal) const { return property(ordinal, m_valueIndex); }
    CellValueKind valueKind(qint64 ordinal) const { return propertyKind(ordinal, m_valueIndex); }
    QString valueType(qint64 ordinal) const { return propertyType(ordinal, m_valueIndex); }
    // FORMATTED_VALUE as sent; for a cell holding an error and no formatted value, the error.
    QString formattedValue(qint64 ordinal) const;
    // The text of an error the server put inside the cell; empty when there is none.
    QString error(qint64 ordinal) const;

private:
    friend class ReplyParser;

    struct Slot
    {
        qint64 bits = 0;   // a double's bits, an integer, a boolean, or a text's offset
        qint32 length = 0; // a text's length
        quint16 type = 0;  // index into m_typeNames
        CellValueKind kind = CellValueKind::Empty;
    };

    const Slot *slotsOf(qint64 ordinal) const;
    const Slot *slot(qint64 ordinal, int property) const;
    QString textOf(const Slot &slot) const;

    std::vector<Axis> m_axes;
    Axis m_slicer{QStringLiteral("SlicerAxis"), {}, 1, {}};
    QStringList m_propertyNames;
    QStringList m_propertyTags;
    int m_valueIndex = -1;
    int m_formattedIndex = -1;
    qint64 m_cellCount = 1;
    bool m_dense = false;           // m_ordinals[i] == i for every cell
    std::vector<qint64> m_ordinals; // the cells the reply held, ascending
    std::vector<Slot> m_slots;      // m_ordinals.size() * m_propertyNames.size()
    QString m_text;
    QStringList m_typeNames{QString()};
};

} // namespace platform::olap::xmla
