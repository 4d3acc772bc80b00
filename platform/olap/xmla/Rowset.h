#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <vector>

namespace platform::olap::xmla {

// The rows of one Discover reply. Columns are the row elements the reply's schema declares, then
// any further element names met in the rows. All values share one text buffer; a row costs two
// integers per column, so member rowsets of many thousand rows stay small.
class Rowset
{
public:
    Rowset() = default;
    // For tests and doubles: rows of values in column order; a null QString is a null value.
    Rowset(const QStringList &columns, const QList<QStringList> &rows);

    const QStringList &columns() const { return m_columns; }
    int columnCount() const { return int(m_columns.size()); }
    // Case-insensitive; -1 when the rowset has no such column.
    int columnIndex(QStringView name) const;

    qsizetype rowCount() const;
    // The value as sent; empty for a null value, a column of -1 or out of range.
    QStringView view(qsizetype row, int column) const;
    QString value(qsizetype row, int column) const { return view(row, column).toString(); }
    QString value(qsizetype row, QStringView column) const;
    // True when the row did not hold the column's element or held it with xsi:nil.
    bool isNull(qsizetype row, int column) const;

    // Stable sort by the numeric value of a column; rows whose value is not a number go last.
    void sortByNumber(int column);

private:
    friend class ReplyParser;

    struct Span
    {
        qint32 offset = 0;
        qint32 length = -1; // -1: null
    };

    QStringList m_columns;
    QString m_text;
    std::vector<Span> m_spans; // row-major, rowCount() * columnCount()
};

// The catalog a connection binds to: the catalog named `wanted` when the DBSCHEMA_CATALOGS
// rowset holds it (case-insensitive, returned in the server's spelling), else the first one;
// empty when the rowset has no catalog.
QString chooseCatalog(const Rowset &catalogs, const QString &wanted);

} // namespace platform::olap::xmla
