#pragma once

// Shared by the runtime tests: pinning the default locale, and printing QString in messages.

#include "platform/runtime/Error.h"
#include "tests/support/LocaleGuard.h"

#include <QLocale>
#include <QString>

#include <ostream>

inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace runtime_test {

using testing_support::LocaleGuard;

// The platform::Error description an expression throws, or "(no error)".
template <typename F>
QString errorOf(F &&f)
{
    try {
        f();
    } catch (const platform::Error &error) {
        return error.description();
    }
    return QStringLiteral("(no error)");
}

} // namespace runtime_test
