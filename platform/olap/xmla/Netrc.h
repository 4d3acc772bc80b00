#pragma once

#include <QString>
#include <QStringView>

#include <optional>

namespace platform::olap::xmla {

struct NetrcCredentials
{
    QString login;
    QString password;
};

// The file the credentials come from: $NETRC when that is set and not empty, else ~/.netrc.
QString netrcPath();

// The entry for a host in netrc text: the first "machine" entry naming the host
// (case-insensitive), else the "default" entry; "macdef" bodies are skipped and tokens may be
// double-quoted. None when neither exists.
std::optional<NetrcCredentials> parseNetrc(QStringView text, QStringView host);

// The same, read from a file; none when the file cannot be read.
std::optional<NetrcCredentials> netrcCredentials(QStringView host,
                                                 const QString &path = netrcPath());

} // namespace platform::olap::xmla
