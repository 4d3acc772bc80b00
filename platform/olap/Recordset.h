#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

#include <vector>

namespace platform::olap {

class Field
{
public:
    Field(QString name, QVariant value) : m_name(std::move(name)), m_value(std::move(value)) {}

    QString name() const { return m_name; }
    QVariant value() const { return m_value; }

private:
    QString m_name;
    QVariant m_value;
};

// A forward-only rowset, as Connection::openSchema() returns it.
class Recordset
{
public:
    Recordset(QStringList fieldNames, std::vector<QVariantList> rows);

    bool eof() const { return m_row >= m_rows.size(); }
    void moveNext(); // throws platform::Error at the end
    int recordCount() const { return int(m_rows.size()); }
    // The current row's field, the name without regard to case. Throws platform::Error at the
    // end or for an unknown name.
    Field fields(const QString &name) const;

private:
    QStringList m_fieldNames;
    std::vector<QVariantList> m_rows;
    std::size_t m_row = 0;
};

} // namespace platform::olap
