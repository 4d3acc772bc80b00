#pragma once
// An environment variable set for the life of the object; the old value (or its absence) comes
// back after.
#include <QByteArray>
#include <QtGlobal>

#include <optional>

namespace testing_support {

class EnvironmentGuard
{
public:
    EnvironmentGuard(const char *name, const QByteArray &value) : m_name(name)
    {
        if (qEnvironmentVariableIsSet(name))
            m_old = qgetenv(name);
        qputenv(name, value);
    }
    ~EnvironmentGuard()
    {
        if (m_old)
            qputenv(m_name, *m_old);
        else
            qunsetenv(m_name);
    }
    EnvironmentGuard(const EnvironmentGuard &) = delete;
    EnvironmentGuard &operator=(const EnvironmentGuard &) = delete;

private:
    const char *m_name;
    std::optional<QByteArray> m_old;
};

} // namespace testing_support
