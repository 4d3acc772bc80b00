#include "Control/core/PelmoraC02.h"

#include "platform/automation/Download.h"

#include <QUrl>

using platform::automation::Download;

void PelmoraC02::AsyncRead(const QString &target, const QString &propertyName)
{
    auto *download = new Download(this);
    connect(
        download, &Download::finished, this,
        [this, download, propertyName](const QString &localFile) {
            download->deleteLater();
            UserControl_AsyncReadComplete(AsyncProperty{propertyName, localFile, false, QString()});
        });
    connect(download, &Download::failed, this,
            [this, download, propertyName](const QString &description) {
                download->deleteLater();
                UserControl_AsyncReadComplete(
                    AsyncProperty{propertyName, QString(), true, description});
            });
    // A cancelled download is a failed one.
    connect(download, &Download::cancelled, this, [this, download, propertyName] {
        download->deleteLater();
        UserControl_AsyncReadComplete(
            AsyncProperty{propertyName, QString(), true, QStringLiteral("cancelled")});
    });
    try {
        download->start(QUrl::fromUserInput(target));
    } catch (...) {
        delete download;
        throw;
    }
}
