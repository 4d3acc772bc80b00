#include "uninstaller/InstanceLock.h"

#include "uninstaller/BootRemoval.h"

#include <QDir>
#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace uninstaller {

InstanceLock::InstanceLock(const QString &directory, const QByteArray &productName)
{
    const QByteArray path =
        QFile::encodeName(directory) + '/' + productFileName("hvun_", productName, "_mutex.lock");
    const int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0)
        return;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        m_busy = errno == EWOULDBLOCK;
        ::close(fd);
        return;
    }
    m_fd = fd;
}

InstanceLock::~InstanceLock()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

QString InstanceLock::defaultDirectory()
{
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    return runtime.isEmpty() ? QDir::tempPath() : runtime;
}

} // namespace uninstaller
