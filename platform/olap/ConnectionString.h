#pragma once

#include <QString>

namespace platform::olap {

// The parts of "Data source=<source>;Provider=MSOLAP" a connection uses. Keys are matched
// without regard to case and blanks; a value may be quoted with " or ' (the quote doubled
// inside) so that it can hold ";". Other keys are ignored.
struct ConnectionString
{
    QString dataSource;
    QString provider;

    // Throws platform::Error when the data source or the provider is missing or the provider is
    // not MSOLAP (optionally with a version, "MSOLAP.3").
    static ConnectionString parse(const QString &text);
};

} // namespace platform::olap
