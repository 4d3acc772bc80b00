#pragma once

#include "platform/runtime/Format.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QVariant>

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace platform::olap {

// The result of one statement as a provider hands it over: the axes with their tuples, the
// slicer, the cell properties the statement declared and the cells. The local engine fills it
// directly; a server reply maps onto it member by member and cell by cell. The Cellset object
// model reads it.
//
// Cells are held compactly: a double and a kind byte per cell, a style index only once some
// cell has a style, text (string values, explicit formatted values) in one pool. A numeric
// cell's formatted text is made when asked for, from its style's format string.
class CellsetData
{
public:
    struct Member
    {
        QString uniqueName;
        QString name;
        QString caption;
        QString levelUniqueName;
        int levelDepth = 0; // the level's number from the top (an All level is 0)
    };

    // A provider's members by number, for axes that hold member numbers instead of records:
    // a large axis then costs a number per member, and the texts are read when asked for.
    class MemberTable
    {
    public:
        virtual ~MemberTable() = default;
        // The member numbered `id` in the provider's hierarchy numbered `hierarchy`.
        virtual Member member(int hierarchy, std::int32_t id) const = 0;
    };

    // The members of the positions, position-major (positionCount * hierarchies.size()):
    // either records in `members`, or, when `table` is set, numbers in `memberIds`, each in
    // the table's hierarchy `tableHierarchies[index in the tuple]`.
    struct Axis
    {
        QString name;            // "Axis0", "Axis1"... or "SlicerAxis"
        QStringList hierarchies; // unique names, in tuple order
        int positionCount = 0;
        std::vector<Member> members;
        std::shared_ptr<const MemberTable> table;
        std::vector<int> tableHierarchies;
        std::vector<std::int32_t> memberIds;

        int dimensionCount() const { return int(hierarchies.size()); }
        Member member(int position, int index) const
        {
            const std::size_t at =
                std::size_t(position) * std::size_t(hierarchies.size()) + std::size_t(index);
            if (table)
                return table->member(tableHierarchies[std::size_t(index)], memberIds[at]);
            return members[at];
        }
    };

    // The format, colour and font properties of a cell, shared by the cells that have the same.
    // A property the measure or calculated member does not define is an invalid QVariant.
    struct Style
    {
        QVariant formatString;
        QVariant foreColor;
        QVariant backColor;
        QVariant fontName;
        QVariant fontSize;
        QVariant fontFlags;

        bool operator==(const Style &) const = default;
    };

    enum class Kind : std::uint8_t { Empty, Number, String, Boolean, Error };

    // The cell properties a cell set serves; others are refused by the local engine and read
    // as empty when a server declares them.
    static const QStringList &knownCellProperties();
    // VALUE, FORMATTED_VALUE and FORMAT_STRING: what a statement without CELL PROPERTIES gets.
    static QStringList defaultCellProperties();

    std::vector<Axis> axes;
    Axis slicer{QStringLiteral("SlicerAxis"), {}, 1, {}, {}, {}, {}};
    QStringList cellProperties = defaultCellProperties(); // declared, upper case, in order

    // The product of the axes' position counts (1 without axes).
    qint64 cellCount() const { return qint64(m_kinds.size()); }
    // Makes cellCount() empty cells of style 0.
    void resizeCells(qint64 count);
    // The ordinal of the cell at one position per axis, axis 0 varying fastest; -1 when the
    // indexes do not address a cell.
    qint64 ordinal(std::span<const int> indexes) const;

    Kind kind(qint64 ordinal) const { return m_kinds[std::size_t(ordinal)]; }
    bool isEmpty(qint64 ordinal) const { return kind(ordinal) == Kind::Empty; }
    // double, bool or QString (an error's text); invalid when empty.
    QVariant value(qint64 ordinal) const;
    double number(qint64 ordinal) const { return m_numbers[std::size_t(ordinal)]; }
    // The explicit text when one was set, else the value through the style's format string;
    // empty for an empty cell.
    QString formattedValue(qint64 ordinal) const;
    const Style &style(qint64 ordinal) const
    {
        return m_styleTable[m_styles.empty() ? 0 : m_styles[std::size_t(ordinal)]];
    }

    // Whether the cells have the property (declared, compared without regard to case).
    bool hasProperty(QStringView name) const { return propertyIndex(name) >= 0; }
    int propertyIndex(QStringView name) const;
    // A declared property's value for one cell; invalid when the property is empty or not
    // declared. CELL_ORDINAL is the ordinal.
    QVariant property(qint64 ordinal, QStringView name) const;

    void setEmpty(qint64 ordinal);
    void setNumber(qint64 ordinal, double value);
    void setBoolean(qint64 ordinal, bool value);
    void setString(qint64 ordinal, const QString &value);
    void setError(qint64 ordinal, const QString &text);
    // The formatted text as a server sent it, shown instead of the value formatted here.
    void setFormattedValue(qint64 ordinal, const QString &text);
    // Deduplicated; style 0 has no properties.
    std::uint32_t addStyle(const Style &style);
    void setStyle(qint64 ordinal, std::uint32_t style);
    int styleCount() const { return int(m_styleTable.size()); }

    // Keeps only the listed cells, in that order: new cell i is old cell keep[i]. For dropping
    // the empty positions of an axis.
    void selectCells(std::span<const qint64> keep);

private:
    std::uint32_t addText(const QString &text);

    std::vector<double> m_numbers; // Number, Boolean: the value; String, Error: m_texts index
    std::vector<Kind> m_kinds;
    std::vector<std::uint32_t> m_styles;    // empty while every cell has style 0
    std::vector<std::uint32_t> m_formatted; // m_texts index + 1; empty while none was set
    std::vector<QString> m_texts;
    std::vector<Style> m_styleTable{Style()};
    std::vector<runtime::NumberFormat> m_formats{runtime::NumberFormat()};
    QHash<QString, std::uint32_t> m_styleIndex;
};

// The text of a number through a format pattern, with the infinities and NaN (which format
// patterns cannot show) as "Infinity", "-Infinity" and "NaN".
QString formatCellNumber(double value, const runtime::NumberFormat &format);

} // namespace platform::olap
