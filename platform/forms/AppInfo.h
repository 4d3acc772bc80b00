#pragma once

#include <QString>

namespace platform::forms {

// The application information the forms runtime gave: version 2.1.10, a title and a path.
inline constexpr int appMajor = 2;
inline constexpr int appMinor = 1;
inline constexpr int appRevision = 10;

QString appVersion(); // "2.1.10"

// The title of message boxes and dialogs; the program's name unless set.
QString appTitle();
void setAppTitle(const QString &title);

// Directory of the running program, without a trailing separator.
QString appPath();

// Directory of the shared library or program that holds `address` (a function of it), so that
// a library finds its own files wherever it was loaded from.
QString modulePath(const void *address);

// Full file name of that module.
QString moduleFile(const void *address);

} // namespace platform::forms
