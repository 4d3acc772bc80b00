#pragma once

#include <QString>

class QObject;
class QWidget;

namespace platform::automation {

// Classes that can be created by name. A class is registered in the registry store as
//
//     HKEY_CLASSES_ROOT\<class name>\InprocServer32   (default value) = absolute library path
//
// so an uninstaller finds the classes of a library by listing the subkeys of HKEY_CLASSES_ROOT
// and reading their InprocServer32 default values. Class names are compared without regard to
// case, as the store compares key names.
//
// A library that provides classes exports, with C linkage:
//     QObject *PelmoraCreateObject(const char *className, QWidget *parent)
//         creates the named class, or answers nullptr for a class it does not know;
//     int DllRegisterServer(), int DllUnregisterServer()
//         register and unregister its classes with its own path, answering serverOk or an
//         error code (serverRegistrationFailed when the store cannot be written).

inline constexpr int serverOk = 0;
inline constexpr int serverRegistrationFailed = int(0x80040201u);

// Writes the registration; throws platform::Error when the name is not a valid key name or
// the store cannot be written. A relative library path is made absolute.
void registerClass(const QString &className, const QString &libraryPath);

// Removes the registration (nothing to do when there is none); throws platform::Error when
// the store cannot be written.
void unregisterClass(const QString &className);

// The registered library of a class; empty when the class is not registered.
QString registeredLibrary(const QString &className);

// Creates an object of a registered class: loads its library (once per process; it stays
// loaded) and calls the library's factory. Throws platform::Error naming the class when the
// class is not registered, the library is missing or cannot be loaded, it has no factory, or
// the factory does not create the class.
QObject *createObject(const QString &className, QWidget *parent = nullptr);

// Loads a library and calls its DllRegisterServer or DllUnregisterServer; answers that
// function's result (serverOk on success). Throws platform::Error when the library cannot be
// loaded or does not export the function.
int registerServer(const QString &libraryPath);
int unregisterServer(const QString &libraryPath);

} // namespace platform::automation
