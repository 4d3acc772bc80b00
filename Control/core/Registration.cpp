// The library's self-registration and its factory, found by platform::automation by name.
#include "Control/core/PelmoraC02.h"
#include "platform/automation/ClassRegistry.h"
#include "platform/forms/AppInfo.h"
#include "platform/runtime/Error.h"

#include <QtGlobal>

#include <exception>

namespace {

const QString controlClass = QStringLiteral("PelmoraApp.PelmoraC02");

// Any address inside this library finds the library's file.
const char libraryMarker = 0;

QString libraryFile()
{
    return platform::forms::moduleFile(&libraryMarker);
}

template <typename Change>
int changeRegistration(const char *what, Change change)
{
    try {
        change();
        return platform::automation::serverOk;
    } catch (const platform::Error &error) {
        qWarning("%s: %s", what, qPrintable(error.description()));
    } catch (const std::exception &error) {
        qWarning("%s: %s", what, error.what());
    }
    return platform::automation::serverRegistrationFailed;
}

} // namespace

extern "C" __attribute__((visibility("default"))) int DllRegisterServer()
{
    return changeRegistration("DllRegisterServer", [] {
        const QString file = libraryFile();
        if (file.isEmpty())
            throw platform::Error(QStringLiteral("the library cannot find its own file"));
        platform::automation::registerClass(controlClass, file);
    });
}

extern "C" __attribute__((visibility("default"))) int DllUnregisterServer()
{
    return changeRegistration("DllUnregisterServer",
                              [] { platform::automation::unregisterClass(controlClass); });
}

extern "C" __attribute__((visibility("default"))) QObject *PelmoraCreateObject(
    const char *className, QWidget *parent)
{
    if (!className || controlClass.compare(QString::fromUtf8(className), Qt::CaseInsensitive) != 0)
        return nullptr;
    return new PelmoraC02(parent);
}
