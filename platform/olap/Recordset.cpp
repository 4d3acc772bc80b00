#include "platform/olap/Recordset.h"

#include "platform/runtime/Error.h"

namespace platform::olap {

Recordset::Recordset(QStringList fieldNames, std::vector<QVariantList> rows)
    : m_fieldNames(std::move(fieldNames)), m_rows(std::move(rows))
{}

void Recordset::moveNext()
{
    if (eof())
        throw Error(QStringLiteral("The rowset has no current record (it is at its end)"));
    ++m_row;
}

Field Recordset::fields(const QString &name) const
{
    qsizetype column = -1;
    for (qsizetype i = 0; i < m_fieldNames.size() && column < 0; ++i) {
        if (m_fieldNames[i].compare(name, Qt::CaseInsensitive) == 0)
            column = i;
    }
    if (column < 0) {
        throw Error(QStringLiteral("The rowset has no field \"%1\" (its fields: %2)")
                        .arg(name, m_fieldNames.join(QStringLiteral(", "))));
    }
    if (eof())
        throw Error(QStringLiteral("The rowset has no current record (it is at its end)"));
    return Field(m_fieldNames[column], m_rows[m_row].value(column));
}

} // namespace platform::olap
