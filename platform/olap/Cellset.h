#pragma once

#include "platform/olap/Catalog.h"
#include "platform/olap/CellsetData.h"
#include "platform/olap/Connection.h"

#include <QString>
#include <QVariant>

#include <memory>
#include <optional>
#include <span>

namespace platform::olap {

// The result of an MDX statement as the control reads it: axes of positions of members, the
// slicer (filter) axis, and cells. The objects are light handles over the provider's result;
// each keeps it alive. Collections have count() and 0-based item(i); a bad index throws
// platform::Error.

class CellsetMember
{
public:
    QString caption() const;
    QString name() const;
    QString uniqueName() const;
    QString levelUniqueName() const;
    int levelDepth() const;

private:
    friend class PositionMembers;
    explicit CellsetMember(CellsetData::Member member) : m_member(std::move(member)) {}

    CellsetData::Member m_member; // its texts are shared with the result's member table
};

class PositionMembers
{
public:
    int count() const;
    CellsetMember item(int index) const;

private:
    friend class Position;
    PositionMembers(std::shared_ptr<const CellsetData> data, const CellsetData::Axis *axis,
                    int position)
        : m_data(std::move(data)), m_axis(axis), m_position(position)
    {}

    std::shared_ptr<const CellsetData> m_data;
    const CellsetData::Axis *m_axis;
    int m_position;
};

class Position
{
public:
    int ordinal() const { return m_position; }
    PositionMembers members() const { return PositionMembers(m_data, m_axis, m_position); }

private:
    friend class Positions;
    Position(std::shared_ptr<const CellsetData> data, const CellsetData::Axis *axis, int position)
        : m_data(std::move(data)), m_axis(axis), m_position(position)
    {}

    std::shared_ptr<const CellsetData> m_data;
    const CellsetData::Axis *m_axis;
    int m_position;
};

class Positions
{
public:
    int count() const;
    Position item(int index) const;

private:
    friend class CellsetAxis;
    Positions(std::shared_ptr<const CellsetData> data, const CellsetData::Axis *axis)
        : m_data(std::move(data)), m_axis(axis)
    {}

    std::shared_ptr<const CellsetData> m_data;
    const CellsetData::Axis *m_axis;
};

class CellsetAxis
{
public:
    QString name() const;
    // The number of hierarchies of each position.
    int dimensionCount() const;
    Positions positions() const { return Positions(m_data, m_axis); }

private:
    friend class CellsetAxes;
    friend class Cellset;
    CellsetAxis(std::shared_ptr<const CellsetData> data, const CellsetData::Axis *axis)
        : m_data(std::move(data)), m_axis(axis)
    {}

    std::shared_ptr<const CellsetData> m_data;
    const CellsetData::Axis *m_axis;
};

class CellsetAxes
{
public:
    int count() const;
    CellsetAxis item(int index) const;

private:
    friend class Cellset;
    explicit CellsetAxes(std::shared_ptr<const CellsetData> data) : m_data(std::move(data)) {}

    std::shared_ptr<const CellsetData> m_data;
};

// The properties the statement asked for (VALUE, FORMATTED_VALUE and FORMAT_STRING when it
// named none); item(name) throws platform::Error for any other, as a missing item does.
class CellProperties
{
public:
    int count() const;
    Property item(int index) const;
    Property item(const QString &name) const; // without regard to case
    bool contains(const QString &name) const;

private:
    friend class Cell;
    CellProperties(std::shared_ptr<const CellsetData> data, qint64 ordinal)
        : m_data(std::move(data)), m_ordinal(ordinal)
    {}

    std::shared_ptr<const CellsetData> m_data;
    qint64 m_ordinal;
};

class Cell
{
public:
    // Empty (invalid) for an empty cell; else a double, a bool or a text.
    QVariant value() const;
    // Through the format string of the measure or calculated member; empty for an empty cell.
    QString formattedValue() const;
    qint64 ordinal() const { return m_ordinal; }
    CellProperties properties() const { return CellProperties(m_data, m_ordinal); }

private:
    friend class Cellset;
    Cell(std::shared_ptr<const CellsetData> data, qint64 ordinal)
        : m_data(std::move(data)), m_ordinal(ordinal)
    {}

    std::shared_ptr<const CellsetData> m_data;
    qint64 m_ordinal;
};

class Cellset
{
public:
    enum { StateClosed = 0, StateOpen = 1 };

    void setActiveConnection(const Connection &connection);
    Connection activeConnection() const; // throws platform::Error when none was set

    // Runs the statement on the active connection (or on `connection`, which becomes the
    // active one). Throws platform::Error: the statement's fault, a closed connection, or a
    // cell set already open. A failed statement leaves the cell set closed.
    void open(const QString &source);
    void open(const QString &source, const Connection &connection);
    int state() const { return m_data ? StateOpen : StateClosed; }
    void close(); // does nothing when closed
    QString source() const { return m_source; }

    // Each throws platform::Error when the cell set is closed.
    CellsetAxes axes() const;
    CellsetAxis filterAxis() const; // the slicer
    qint64 cellCount() const;
    Cell item(qint64 ordinal) const;
    Cell item(int column, int row) const;
    Cell item(std::span<const int> indexes) const; // one position per axis
    // The result as the provider returned it.
    std::shared_ptr<const CellsetData> data() const;

private:
    const CellsetData &opened() const;

    std::optional<Connection> m_connection;
    std::shared_ptr<const CellsetData> m_data;
    QString m_source;
};

} // namespace platform::olap
