#include "platform/olap/Provider.h"

#include "platform/olap/local/LocalProvider.h"
#include "platform/runtime/Error.h"

#include <QFileInfo>

namespace platform::olap {

SourceKind sourceKind(const QString &source)
{
    if (source.startsWith(QLatin1String("http://"), Qt::CaseInsensitive)
        || source.startsWith(QLatin1String("https://"), Qt::CaseInsensitive)) {
        return SourceKind::Server;
    }
    if (source.contains(QLatin1Char('/')) || source.endsWith(QLatin1String(".cub"),
                                                             Qt::CaseInsensitive)
        || QFileInfo::exists(source)) {
        return SourceKind::CubeFile;
    }
    return SourceKind::Server;
}

std::shared_ptr<Provider> openProvider(const QString &source, const QString &user,
                                       const QString &password)
{
    Q_UNUSED(user);
    Q_UNUSED(password);
    if (sourceKind(source) == SourceKind::CubeFile)
        return std::make_shared<local::LocalProvider>(source);
    throw Error(QStringLiteral("Cannot connect to \"%1\": connections to OLAP servers are not "
                               "available yet (a cube file name contains \"/\" or ends in "
                               "\".cub\")")
                    .arg(source));
}

} // namespace platform::olap
