#include "PelmoraApp/ControlHost.h"

#include "Control/core/PelmoraC02.h"
#include "platform/automation/ClassRegistry.h"
#include "platform/automation/PropertyBag.h"
#include "platform/forms/AppInfo.h"
#include "platform/runtime/Error.h"

#include <QFileInfo>
#include <QMetaObject>
#include <QMetaProperty>
#include <QWidget>

// The control library's self-registration; this program links that library.
extern "C" int DllRegisterServer();

namespace pelmoraapp {

QString controlLibrary()
{
    return platform::forms::moduleFile(reinterpret_cast<const void *>(&DllRegisterServer));
}

void ensureControlRegistered()
{
    const QString registered = platform::automation::registeredLibrary(controlClass);
    const QString own = QFileInfo(controlLibrary()).canonicalFilePath();
    const QString named =
        registered.isEmpty() ? QString() : QFileInfo(registered).canonicalFilePath();
    // Another build's library, or a moved one, would give the host a second copy of the
    // control's classes, or none.
    const bool current =
        !named.isEmpty() && QFileInfo(named).isFile() && (own.isEmpty() || named == own);
    if (current)
        return;
    if (DllRegisterServer() != platform::automation::serverOk)
        throw platform::Error(
            QStringLiteral("The class %1 cannot be registered").arg(controlClass));
}

namespace {

// The stored data of the host's control: the four font names and the chart page option.
void fillStoredInstance(platform::automation::PropertyBag &bag)
{
    const QString arial = QStringLiteral("Arial");
    for (const char *key : {"FontName", "FontDataName", "FontSubtotalName", "FontDataSubtotalName"})
        bag.writeProperty(QString::fromLatin1(key), arial, QString());
    // The key's reading default is True, so False is what gets stored.
    bag.writeProperty(QStringLiteral("PreviewChartInNewPage"), false, true);
}

} // namespace

QWidget *createPelmoraControl(QWidget *parent)
{
    ensureControlRegistered();
    QObject *object = platform::automation::createObject(controlClass, parent);
    auto *widget = qobject_cast<QWidget *>(object);
    if (!widget) {
        delete object;
        throw platform::Error(QStringLiteral("The class %1 is not a control").arg(controlClass));
    }
    if (auto *control = qobject_cast<PelmoraC02 *>(widget)) {
        platform::automation::MemoryPropertyBag bag;
        fillStoredInstance(bag);
        control->UserControl_ReadProperties(bag);
    }
    return widget;
}

bool setControlProperty(QObject *control, const char *name, const QVariant &value)
{
    if (!control)
        return false;
    const QMetaObject *meta = control->metaObject();
    const int index = meta->indexOfProperty(name);
    if (index < 0 || !meta->property(index).isWritable())
        return false;
    return meta->property(index).write(control, value);
}

QVariant controlProperty(const QObject *control, const char *name)
{
    if (!control)
        return QVariant();
    const QMetaObject *meta = control->metaObject();
    const int index = meta->indexOfProperty(name);
    if (index < 0)
        return QVariant();
    return meta->property(index).read(control);
}

namespace {

bool callBool(QObject *control, const char *method, const QString &argument)
{
    bool result = false;
    if (!control)
        return false;
    if (!QMetaObject::invokeMethod(control, method, Qt::DirectConnection,
                                   Q_RETURN_ARG(bool, result), Q_ARG(QString, argument)))
        return false;
    return result;
}

} // namespace

bool runAction(QObject *control, const QString &keyword)
{
    return callBool(control, "doAction", keyword);
}

bool writeView(QObject *control, const QString &file)
{
    return callBool(control, "writeView", file);
}

void prepareControl(QObject *control, int languageId)
{
    // A property the control refuses leaves the control as it is.
    setControlProperty(control, "LanguageID", languageId);
    setControlProperty(control, "VisibleToolBar", false);
}

QString controlCaption(const QObject *control)
{
    return controlProperty(control, "Caption").toString();
}

} // namespace pelmoraapp
