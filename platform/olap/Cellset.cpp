#include "platform/olap/Cellset.h"

#include "platform/olap/Provider.h"
#include "platform/runtime/Error.h"

namespace platform::olap {

namespace {

void checkIndex(qint64 index, qint64 count, const char *what)
{
    if (index < 0 || index >= count) {
        throw Error(QStringLiteral("%1 %2 does not exist: the collection has %3 item(s), "
                                   "numbered from 0")
                        .arg(QLatin1String(what))
                        .arg(index)
                        .arg(count));
    }
}

} // namespace

// CellsetMember

QString CellsetMember::caption() const
{
    return m_member.caption;
}

QString CellsetMember::name() const
{
    return m_member.name;
}

QString CellsetMember::uniqueName() const
{
    return m_member.uniqueName;
}

QString CellsetMember::levelUniqueName() const
{
    return m_member.levelUniqueName;
}

int CellsetMember::levelDepth() const
{
    return m_member.levelDepth;
}

// PositionMembers, Positions, axes

int PositionMembers::count() const
{
    return m_axis->dimensionCount();
}

CellsetMember PositionMembers::item(int index) const
{
    checkIndex(index, count(), "Member");
    return CellsetMember(m_axis->member(m_position, index));
}

int Positions::count() const
{
    return m_axis->positionCount;
}

Position Positions::item(int index) const
{
    checkIndex(index, count(), "Position");
    return Position(m_data, m_axis, index);
}

QString CellsetAxis::name() const
{
    return m_axis->name;
}

int CellsetAxis::dimensionCount() const
{
    return m_axis->dimensionCount();
}

int CellsetAxes::count() const
{
    return int(m_data->axes.size());
}

CellsetAxis CellsetAxes::item(int index) const
{
    checkIndex(index, count(), "Axis");
    return CellsetAxis(m_data, &m_data->axes[std::size_t(index)]);
}

// Cells

int CellProperties::count() const
{
    return int(m_data->cellProperties.size());
}

Property CellProperties::item(int index) const
{
    checkIndex(index, count(), "Cell property");
    const QString &name = m_data->cellProperties[index];
    return Property(name, m_data->property(m_ordinal, name));
}

Property CellProperties::item(const QString &name) const
{
    const int index = m_data->propertyIndex(name);
    if (index < 0) {
        throw Error(QStringLiteral("The cell has no property %1 (it has: %2)")
                        .arg(name, m_data->cellProperties.join(QStringLiteral(", "))));
    }
    return item(index);
}

bool CellProperties::contains(const QString &name) const
{
    return m_data->hasProperty(name);
}

QVariant Cell::value() const
{
    return m_data->value(m_ordinal);
}

QString Cell::formattedValue() const
{
    return m_data->formattedValue(m_ordinal);
}

// Cellset

void Cellset::setActiveConnection(const Connection &connection)
{
    m_connection = connection;
}

Connection Cellset::activeConnection() const
{
    if (!m_connection)
        throw Error(QStringLiteral("The cell set has no active connection"));
    return *m_connection;
}

void Cellset::open(const QString &source)
{
    if (m_data)
        throw Error(QStringLiteral("The cell set is already open; close it first"));
    const std::shared_ptr<Provider> provider = activeConnection().provider();
    m_data = provider->execute(source);
    m_source = source;
}

void Cellset::open(const QString &source, const Connection &connection)
{
    if (m_data)
        throw Error(QStringLiteral("The cell set is already open; close it first"));
    m_connection = connection;
    open(source);
}

void Cellset::close()
{
    m_data.reset();
}

const CellsetData &Cellset::opened() const
{
    if (!m_data)
        throw Error(QStringLiteral("The cell set is not open"));
    return *m_data;
}

CellsetAxes Cellset::axes() const
{
    opened();
    return CellsetAxes(m_data);
}

CellsetAxis Cellset::filterAxis() const
{
    return CellsetAxis(m_data, &opened().slicer);
}

qint64 Cellset::cellCount() const
{
    return opened().cellCount();
}

Cell Cellset::item(qint64 ordinal) const
{
    checkIndex(ordinal, opened().cellCount(), "Cell");
    return Cell(m_data, ordinal);
}

Cell Cellset::item(int column, int row) const
{
    const int indexes[] = {column, row};
    return item(std::span<const int>(indexes));
}

Cell Cellset::item(std::span<const int> indexes) const
{
    const CellsetData &data = opened();
    if (indexes.size() != data.axes.size()) {
        throw Error(QStringLiteral("The cell set has %1 axis/axes: a cell needs as many "
                                   "indexes, not %2")
                        .arg(data.axes.size())
                        .arg(indexes.size()));
    }
    const qint64 ordinal = data.ordinal(indexes);
    if (ordinal < 0) {
        QStringList shown;
        QStringList counts;
        for (std::size_t a = 0; a < indexes.size(); ++a) {
            shown.append(QString::number(indexes[a]));
            counts.append(QString::number(data.axes[a].positionCount));
        }
        throw Error(QStringLiteral("Cell (%1) does not exist: the axes have %2 position(s)")
                        .arg(shown.join(QStringLiteral(", ")), counts.join(QStringLiteral(" x "))));
    }
    return Cell(m_data, ordinal);
}

std::shared_ptr<const CellsetData> Cellset::data() const
{
    opened();
    return m_data;
}

} // namespace platform::olap
