#pragma once

#include <QLocale>
#include <QString>

namespace testing_support {

// Sets the default locale (QLocale::setDefault) for its lifetime, then restores the previous one.
class LocaleGuard
{
public:
    explicit LocaleGuard(const QLocale &locale) : m_saved(QLocale())
    {
        QLocale::setDefault(locale);
    }
    explicit LocaleGuard(const char *name) : LocaleGuard(QLocale(QString::fromLatin1(name))) {}
    ~LocaleGuard() { QLocale::setDefault(m_saved); }
    LocaleGuard(const LocaleGuard &) = delete;
    LocaleGuard &operator=(const LocaleGuard &) = delete;

private:
    QLocale m_saved;
};

} // namespace testing_support
