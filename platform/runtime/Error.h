#pragma once

#include <QString>

#include <stdexcept>

namespace platform {

// The error every platform layer throws: a description a user can read and act on. Procedures
// that trap errors catch it and show description() after their own label.
class Error : public std::runtime_error
{
public:
    explicit Error(const QString &description)
        : std::runtime_error(description.toStdString()), m_description(description)
    {}

    const QString &description() const noexcept { return m_description; }

private:
    QString m_description;
};

} // namespace platform
