#pragma once

#include <QByteArray>
#include <QString>

namespace uninstaller {

// One run per product at a time: an exclusive lock on "hvun_<product>_mutex.lock" in
// `directory` ($XDG_RUNTIME_DIR, else the temporary folder), held while the object lives; the
// name is made by productFileName, so that any product name gives a name that can be made.
class InstanceLock
{
public:
    InstanceLock(const QString &directory, const QByteArray &productName);
    ~InstanceLock();
    InstanceLock(const InstanceLock &) = delete;
    InstanceLock &operator=(const InstanceLock &) = delete;

    static QString defaultDirectory();

    // False when another run holds the lock. A lock file that cannot be made stops nothing.
    bool acquired() const { return !m_busy; }

private:
    int m_fd = -1;
    bool m_busy = false;
};

} // namespace uninstaller
