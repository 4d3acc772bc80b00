#include "uninstaller/FileSystem.h"

#include <QList>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace uninstaller {

namespace {

// An open folder, closed when it ends.
class Folder
{
public:
    explicit Folder(int fd = -1) : m_fd(fd) {}
    ~Folder()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Folder(const Folder &) = delete;
    Folder &operator=(const Folder &) = delete;
    int fd() const { return m_fd; }
    void reset(int fd)
    {
        if (m_fd >= 0)
            ::close(m_fd);
        m_fd = fd;
    }

private:
    int m_fd;
};

// Opens the folder that holds `path` without following a link on the way; `leaf` is the last
// name. Answers the fd, or -1 with errno set.
int openParent(const QByteArray &path, QByteArray &leaf)
{
    if (!path.startsWith('/')) {
        errno = EINVAL;
        return -1;
    }
    const QList<QByteArray> names = path.split('/');
    int fd = ::open("/", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    qsizetype last = names.size() - 1;
    while (last > 0 && names[last].isEmpty())
        --last;
    for (qsizetype i = 1; fd >= 0 && i < last; ++i) {
        if (names[i].isEmpty())
            continue;
        const int next =
            ::openat(fd, names[i].constData(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        const int saved = errno;
        ::close(fd);
        errno = saved;
        fd = next;
    }
    leaf = names.value(last);
    if (fd >= 0 && leaf.isEmpty()) {
        ::close(fd);
        errno = EINVAL;
        return -1;
    }
    return fd;
}

// Opens a file for reading without following a link anywhere on its path.
int openFile(const QByteArray &path)
{
    QByteArray leaf;
    Folder parent(openParent(path, leaf));
    if (parent.fd() < 0)
        return -1;
    return ::openat(parent.fd(), leaf.constData(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC);
}

int errorOf(int result)
{
    return result == 0 ? 0 : errno;
}

// Opens the folder of `path` and looks at its last name without following it; 0 or errno.
int lookAt(const QByteArray &path, Folder &parent, QByteArray &leaf, struct stat &info)
{
    parent.reset(openParent(path, leaf));
    if (parent.fd() < 0
        || ::fstatat(parent.fd(), leaf.constData(), &info, AT_SYMLINK_NOFOLLOW) != 0)
        return errno;
    return 0;
}

} // namespace

int FileSystem::removeFile(const QByteArray &path)
{
    Folder parent;
    QByteArray leaf;
    struct stat info;
    if (const int error = lookAt(path, parent, leaf, info))
        return error;
    if (S_ISDIR(info.st_mode))
        return EISDIR;
    return errorOf(::unlinkat(parent.fd(), leaf.constData(), 0));
}

int FileSystem::removeDirectory(const QByteArray &path)
{
    Folder parent;
    QByteArray leaf;
    struct stat info;
    if (const int error = lookAt(path, parent, leaf, info))
        return error;
    if (S_ISLNK(info.st_mode))
        return ELOOP;
    return errorOf(::unlinkat(parent.fd(), leaf.constData(), AT_REMOVEDIR));
}

int FileSystem::copyFile(const QByteArray &from, const QByteArray &to)
{
    Folder source(openFile(from));
    if (source.fd() < 0)
        return errno;
    struct stat info;
    if (::fstat(source.fd(), &info) != 0)
        return errno;
    if (!S_ISREG(info.st_mode))
        return EINVAL;
    QByteArray leaf;
    Folder target(openParent(to, leaf));
    if (target.fd() < 0)
        return errno;
    // A fresh name in the same folder: a file that has the name already is not ours, and stays.
    QByteArray temporary;
    int out = -1;
    for (int attempt = 0; out < 0 && attempt < 100; ++attempt) {
        temporary = ".hvun_restoring_" + QByteArray::number(attempt);
        out = ::openat(target.fd(), temporary.constData(),
                       O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, info.st_mode & 07777);
        if (out < 0 && errno != EEXIST)
            return errno;
    }
    if (out < 0)
        return EEXIST;
    char buffer[65536];
    int failure = 0;
    for (;;) {
        const ssize_t got = ::read(source.fd(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0) {
            failure = got < 0 ? errno : 0;
            break;
        }
        for (ssize_t done = 0; done < got && !failure;) {
            const ssize_t wrote = ::write(out, buffer + done, size_t(got - done));
            if (wrote < 0 && errno != EINTR)
                failure = errno;
            done += wrote > 0 ? wrote : 0;
        }
        if (failure)
            break;
    }
    if (!failure && ::fsync(out) != 0)
        failure = errno;
    if (::close(out) != 0 && !failure)
        failure = errno;
    if (!failure
        && ::renameat(target.fd(), temporary.constData(), target.fd(), leaf.constData()) != 0)
        failure = errno;
    if (failure)
        ::unlinkat(target.fd(), temporary.constData(), 0);
    return failure;
}

bool FileSystem::canRead(const QByteArray &path)
{
    Folder file(openFile(path));
    return file.fd() >= 0;
}

std::optional<std::uint64_t> FileSystem::lastWriteTime(const QByteArray &path)
{
    Folder parent;
    QByteArray leaf;
    struct stat info;
    if (lookAt(path, parent, leaf, info) != 0)
        return std::nullopt;
    constexpr std::uint64_t secondsTo1970 = 11644473600ull;
    return (std::uint64_t(info.st_mtim.tv_sec) + secondsTo1970) * 10000000ull
           + std::uint64_t(info.st_mtim.tv_nsec) / 100;
}

} // namespace uninstaller
