#include "platform/forms/AppInfo.h"

#include <QCoreApplication>
#include <QFileInfo>

#include <dlfcn.h>

namespace platform::forms {

namespace {

QString &titleSlot()
{
    static QString title;
    return title;
}

} // namespace

QString appVersion()
{
    return QStringLiteral("%1.%2.%3").arg(appMajor).arg(appMinor).arg(appRevision);
}

QString appTitle()
{
    if (!titleSlot().isEmpty())
        return titleSlot();
    const QString name = QCoreApplication::applicationName();
    return name.isEmpty() ? QStringLiteral("Pelmora") : name;
}

void setAppTitle(const QString &title)
{
    titleSlot() = title;
}

QString appPath()
{
    return QCoreApplication::applicationDirPath();
}

QString moduleFile(const void *address)
{
    Dl_info info{};
    if (dladdr(address, &info) == 0 || info.dli_fname == nullptr)
        return QString();
    return QFileInfo(QString::fromLocal8Bit(info.dli_fname)).absoluteFilePath();
}

QString modulePath(const void *address)
{
    const QString file = moduleFile(address);
    return file.isEmpty() ? appPath() : QFileInfo(file).absolutePath();
}

} // namespace platform::forms
