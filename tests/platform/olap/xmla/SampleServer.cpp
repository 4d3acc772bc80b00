#include "SampleServer.h"

#include <QFile>

namespace xmlatest {

QString sampleCubePath()
{
    return QStringLiteral(PELMORA_SAMPLE_CUBE);
}

QString sampleServerUrl(QString *error)
{
    QFile file(QStringLiteral(PELMORA_XMLA_URL_FILE));
    if (!file.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("%1 is missing: the XmlaServer fixture is not running (run the "
                                "test through ctest)")
                     .arg(file.fileName());
        return {};
    }
    return QString::fromUtf8(file.readAll()).trimmed();
}

QString connectionStringFor(const QString &source)
{
    return QStringLiteral("Data source=%1;Provider=MSOLAP").arg(source);
}

} // namespace xmlatest
