#include "Control/core/FileNames.h"

namespace pelmora {

QString changeExtension(const QString &fileName, const QString &extension)
{
    const qsizetype nameStart = fileName.lastIndexOf(QLatin1Char('/')) + 1;
    const qsizetype dot = fileName.lastIndexOf(QLatin1Char('.'));
    if (dot > nameStart)
        return fileName.left(dot) + extension;
    return fileName + extension;
}

} // namespace pelmora
