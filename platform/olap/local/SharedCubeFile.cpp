#include "platform/olap/local/SharedCubeFile.h"

#include "platform/olap/local/CubeLoader.h"

#include <QFile>

#include <algorithm>
#include <mutex>
#include <optional>
#include <vector>

#include <sys/stat.h>

namespace platform::olap::local {

namespace {

// What tells one state of one file from another.
struct FileKey
{
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    timespec modified{};
    timespec changed{};

    bool operator==(const FileKey &o) const
    {
        return device == o.device && inode == o.inode && size == o.size
               && modified.tv_sec == o.modified.tv_sec && modified.tv_nsec == o.modified.tv_nsec
               && changed.tv_sec == o.changed.tv_sec && changed.tv_nsec == o.changed.tv_nsec;
    }
};

std::optional<FileKey> fileKey(const QString &path)
{
    struct stat st;
    if (::stat(QFile::encodeName(path).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return std::nullopt;
    return FileKey{st.st_dev, st.st_ino, st.st_size, st.st_mtim, st.st_ctim};
}

struct Entry
{
    FileKey key;
    std::weak_ptr<const CubeFile> file;
};

class Registry
{
public:
    // The live copy of the file in this state, or null; forgets the copies that are gone.
    std::shared_ptr<const CubeFile> find(const FileKey &key)
    {
        std::erase_if(m_entries, [](const Entry &e) { return e.file.expired(); });
        for (const Entry &e : m_entries) {
            if (e.key == key)
                return e.file.lock();
        }
        return nullptr;
    }
    void add(const FileKey &key, const std::shared_ptr<const CubeFile> &file)
    {
        m_entries.push_back({key, file});
    }
    std::mutex mutex;

private:
    std::vector<Entry> m_entries;
};

Registry &registry()
{
    static Registry instance;
    return instance;
}

} // namespace

std::shared_ptr<const CubeFile> sharedCubeFile(const QString &path)
{
    const std::optional<FileKey> before = fileKey(path);
    if (!before)
        return loadCubeFile(path); // which says what is wrong with the path
    Registry &shared = registry();
    {
        std::lock_guard lock(shared.mutex);
        if (auto file = shared.find(*before))
            return file;
    }
    // Loaded without the lock, so that opening one large file does not hold up the others.
    std::shared_ptr<const CubeFile> file = loadCubeFile(path);
    if (fileKey(path) != before)
        return file; // changed while it was read: this copy is of no known state
    std::lock_guard lock(shared.mutex);
    if (auto other = shared.find(*before))
        return other; // loaded meanwhile by another caller
    shared.add(*before, file);
    return file;
}

} // namespace platform::olap::local
