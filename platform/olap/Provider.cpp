#include "platform/olap/Provider.h"

#include "platform/olap/local/LocalProvider.h"
#include "platform/olap/xmla/XmlaProvider.h"
#include "platform/runtime/Error.h"

#include <QFileInfo>

namespace platform::olap {

SourceKind sourceKind(const QString &source)
{
    if (source.startsWith(QLatin1String("http://"), Qt::CaseInsensitive)
        || source.startsWith(QLatin1String("https://"), Qt::CaseInsensitive)) {
        return SourceKind::Server;
    }
    if (source.contains(QLatin1Char('/'))
        || source.endsWith(QLatin1String(".cub"), Qt::CaseInsensitive)
        || QFileInfo::exists(source)) {
        return SourceKind::CubeFile;
    }
    return SourceKind::Server;
}

std::shared_ptr<Provider> openProvider(const QString &source, const QString &user,
                                       const QString &password)
{
    // Servers are reached without credentials; one that asks for them (HTTP 401) gets those of
    // the user's netrc entry for its host.
    Q_UNUSED(user);
    Q_UNUSED(password);
    if (sourceKind(source) == SourceKind::CubeFile)
        return std::make_shared<local::LocalProvider>(source);
    return std::make_shared<xmla::XmlaProvider>(source);
}

} // namespace platform::olap
