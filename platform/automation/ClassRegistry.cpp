#include "platform/automation/ClassRegistry.h"

#include "platform/registry/Store.h"
#include "platform/runtime/Error.h"

#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <dlfcn.h>

#include <mutex>

namespace platform::automation {

using platform::registry::Root;
using platform::registry::Store;

namespace {

const QString serverKey = QStringLiteral("InprocServer32");

using Factory = QObject *(*)(const char *className, QWidget *parent);
using ServerEntry = int (*)();

bool isValidClassName(const QString &className)
{
    return !className.trimmed().isEmpty() && !className.contains(QLatin1Char('\\'));
}

QString serverPath(const QString &className)
{
    return className + QLatin1Char('\\') + serverKey;
}

[[noreturn]] void cannotWrite(const QString &what, const QString &className, const Store &store)
{
    throw Error(QStringLiteral("Cannot %1 the class %2: the registry store %3 cannot be written")
                    .arg(what, className, store.directory()));
}

// Libraries stay loaded for the life of the process: objects they created may live anywhere,
// and their code must outlive them.
void *loadLibrary(const QString &path, const QString &purpose)
{
    static std::mutex mutex;
    static QHash<QString, void *> loaded;

    const std::lock_guard lock(mutex);
    if (void *handle = loaded.value(path))
        return handle;
    if (!QFileInfo(path).isFile())
        throw Error(QStringLiteral("%1: the library %2 does not exist").arg(purpose, path));
    dlerror();
    void *handle = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char *reason = dlerror();
        throw Error(
            QStringLiteral("%1: the library %2 cannot be loaded: %3")
                .arg(purpose, path, reason ? QString::fromLocal8Bit(reason) : QStringLiteral("?")));
    }
    loaded.insert(path, handle);
    return handle;
}

void *findSymbol(void *handle, const char *name)
{
    dlerror();
    return dlsym(handle, name);
}

int callServer(const QString &libraryPath, const char *entry)
{
    const QString path = QFileInfo(libraryPath).absoluteFilePath();
    const QString purpose =
        QStringLiteral("Cannot call %1 of %2").arg(QString::fromLatin1(entry), libraryPath);
    void *handle = loadLibrary(path, purpose);
    auto function = reinterpret_cast<ServerEntry>(findSymbol(handle, entry));
    if (!function)
        throw Error(QStringLiteral("%1: the library does not export it").arg(purpose));
    return function();
}

} // namespace

void registerClass(const QString &className, const QString &libraryPath)
{
    if (!isValidClassName(className))
        throw Error(QStringLiteral("Cannot register the class \"%1\": not a valid class name")
                        .arg(className));
    if (libraryPath.isEmpty())
        throw Error(
            QStringLiteral("Cannot register the class %1: no library given").arg(className));
    Store store;
    if (!store.createKey(Root::ClassesRoot, serverPath(className))
        || !store.setValue(Root::ClassesRoot, serverPath(className), QString(),
                           QFileInfo(libraryPath).absoluteFilePath()))
        cannotWrite(QStringLiteral("register"), className, store);
}

void unregisterClass(const QString &className)
{
    if (!isValidClassName(className))
        return;
    Store store;
    const QString server = serverPath(className);
    if (store.keyExists(Root::ClassesRoot, server)) {
        // A key that holds keys of others cannot go; dropping the path unregisters the class.
        const bool removed = store.subKeys(Root::ClassesRoot, server).isEmpty()
                                 ? store.deleteKey(Root::ClassesRoot, server)
                                 : store.deleteValue(Root::ClassesRoot, server, QString());
        if (!removed)
            cannotWrite(QStringLiteral("unregister"), className, store);
    }
    // The class key goes too, unless something else keeps keys below it.
    if (store.keyExists(Root::ClassesRoot, className)
        && store.subKeys(Root::ClassesRoot, className).isEmpty()
        && !store.deleteKey(Root::ClassesRoot, className))
        cannotWrite(QStringLiteral("unregister"), className, store);
}

QString registeredLibrary(const QString &className)
{
    if (!isValidClassName(className))
        return QString();
    return Store()
        .queryValue(Root::ClassesRoot, serverPath(className), QString())
        .value_or(QString());
}

QObject *createObject(const QString &className, QWidget *parent)
{
    const QString purpose =
        QStringLiteral("Cannot create an object of the class %1").arg(className);
    const QString library = registeredLibrary(className);
    if (library.isEmpty())
        throw Error(QStringLiteral("%1: the class is not registered").arg(purpose));

    void *handle = loadLibrary(library, purpose);
    auto factory = reinterpret_cast<Factory>(findSymbol(handle, "PelmoraCreateObject"));
    if (!factory) {
        throw Error(QStringLiteral("%1: the library %2 has no PelmoraCreateObject factory")
                        .arg(purpose, library));
    }
    QObject *object = factory(className.toUtf8().constData(), parent);
    if (!object) {
        throw Error(
            QStringLiteral("%1: the library %2 does not provide this class").arg(purpose, library));
    }
    return object;
}

int registerServer(const QString &libraryPath)
{
    return callServer(libraryPath, "DllRegisterServer");
}

int unregisterServer(const QString &libraryPath)
{
    return callServer(libraryPath, "DllUnregisterServer");
}

} // namespace platform::automation
