#include "platform/olap/xmla/Rowset.h"

#include "platform/runtime/Error.h"

#include <algorithm>
#include <limits>
#include <numeric>

namespace platform::olap::xmla {

Rowset::Rowset(const QStringList &columns, const QList<QStringList> &rows) : m_columns(columns)
{
    const qsizetype width = columns.size();
    m_spans.resize(size_t(rows.size() * width));
    for (qsizetype row = 0; row < rows.size(); ++row) {
        const QStringList &values = rows.at(row);
        for (qsizetype column = 0; column < width && column < values.size(); ++column) {
            const QString &value = values.at(column);
            if (value.isNull())
                continue;
            if (m_text.size() + value.size() > std::numeric_limits<qint32>::max())
                throw platform::Error(QStringLiteral("The rowset is too large."));
            Span &span = m_spans[size_t(row * width + column)];
            span.offset = qint32(m_text.size());
            span.length = qint32(value.size());
            m_text.append(value);
        }
    }
}

int Rowset::columnIndex(QStringView name) const
{
    for (int i = 0; i < m_columns.size(); ++i) {
        if (QStringView(m_columns.at(i)).compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

qsizetype Rowset::rowCount() const
{
    return m_columns.isEmpty() ? 0 : qsizetype(m_spans.size()) / m_columns.size();
}

QStringView Rowset::view(qsizetype row, int column) const
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return {};
    const Span &span = m_spans[size_t(row * m_columns.size() + column)];
    if (span.length < 0)
        return {};
    return QStringView(m_text).mid(span.offset, span.length);
}

QString Rowset::value(qsizetype row, QStringView column) const
{
    return value(row, columnIndex(column));
}

bool Rowset::isNull(qsizetype row, int column) const
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return true;
    return m_spans[size_t(row * m_columns.size() + column)].length < 0;
}

void Rowset::sortByNumber(int column)
{
    const qsizetype rows = rowCount();
    if (column < 0 || column >= columnCount() || rows < 2)
        return;
    std::vector<double> keys(size_t(rows), 0.0);
    std::vector<bool> numeric(size_t(rows), false);
    for (qsizetype row = 0; row < rows; ++row) {
        bool ok = false;
        keys[size_t(row)] = view(row, column).trimmed().toDouble(&ok);
        numeric[size_t(row)] = ok;
    }
    std::vector<qsizetype> order(static_cast<size_t>(rows));
    std::iota(order.begin(), order.end(), qsizetype(0));
    std::stable_sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        if (numeric[size_t(a)] != numeric[size_t(b)])
            return bool(numeric[size_t(a)]);
        return numeric[size_t(a)] && keys[size_t(a)] < keys[size_t(b)];
    });
    const size_t width = size_t(m_columns.size());
    std::vector<Span> sorted;
    sorted.reserve(m_spans.size());
    for (qsizetype row : order) {
        const auto first = m_spans.begin() + std::ptrdiff_t(size_t(row) * width);
        sorted.insert(sorted.end(), first, first + std::ptrdiff_t(width));
    }
    m_spans = std::move(sorted);
}

QString chooseCatalog(const Rowset &catalogs, const QString &wanted)
{
    const int column = catalogs.columnIndex(u"CATALOG_NAME");
    if (column < 0 || catalogs.rowCount() == 0)
        return {};
    if (!wanted.isEmpty()) {
        for (qsizetype row = 0; row < catalogs.rowCount(); ++row) {
            if (catalogs.view(row, column).compare(wanted, Qt::CaseInsensitive) == 0)
                return catalogs.value(row, column);
        }
    }
    return catalogs.value(0, column);
}

} // namespace platform::olap::xmla
