#pragma once

// Shared by the runtime tests: pinning the default locale, and printing QString in messages.

#include "platform/runtime/Error.h"

#include <QLocale>
#include <QString>

#include <ostream>

inline void PrintTo(const QString &text, std::ostream *out)
{
    *out << '"' << text.toStdString() << '"';
}

namespace runtime_test {

// Sets the default locale (QLocale::setDefault) for its lifetime, then restores the previous one.
class LocaleGuard
{
public:
    explicit LocaleGuard(const char *name) : m_saved(QLocale())
    {
        QLocale::setDefault(QLocale(QString::fromLatin1(name)));
    }
    ~LocaleGuard() { QLocale::setDefault(m_saved); }
    LocaleGuard(const LocaleGuard &) = delete;
    LocaleGuard &operator=(const LocaleGuard &) = delete;

private:
    QLocale m_saved;
};

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
