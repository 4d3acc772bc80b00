#include "platform/registry/StoreFile.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>
#include <QSet>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace platform::registry::detail {

namespace {

// Every store file names its format and version; a file of another format or version is
// treated as corrupt.
const QString formatTag = QStringLiteral("pelmora-registry");
constexpr int formatVersion = 1;

void report(const QString &text)
{
    std::fprintf(stderr, "%s\n", qUtf8Printable(text));
}

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

qsizetype findChild(const Node &key, const QString &name)
{
    for (std::size_t i = 0; i < key.keys.size(); ++i) {
        if (sameName(key.keys[i].name, name))
            return qsizetype(i);
    }
    return -1;
}

// --- The file format: one JSON document per root ---------------------------------------------
//
//   {"format": "pelmora-registry", "version": 1, "root": "HKEY_CURRENT_USER",
//    "values": [["name", "text"], ...],
//    "keys": [{"name": "SOFTWARE", "values": [...], "keys": [...]}, ...]}
//
// JSON carries any text (line breaks, backslashes, NULs, every Unicode character) and arrays keep
// the order in which keys and values were created.

QJsonObject encodeBody(const Node &node, QJsonObject object)
{
    QJsonArray values;
    for (const auto &[name, text] : node.values)
        values.append(QJsonArray{name, text});
    QJsonArray keys;
    for (const Node &child : node.keys)
        keys.append(encodeBody(child, QJsonObject{{QStringLiteral("name"), child.name}}));
    object.insert(QStringLiteral("values"), values);
    object.insert(QStringLiteral("keys"), keys);
    return object;
}

QByteArray encode(const Node &top, Root root)
{
    const QJsonObject header{{QStringLiteral("format"), formatTag},
                             {QStringLiteral("version"), formatVersion},
                             {QStringLiteral("root"), rootName(root)}};
    return QJsonDocument(encodeBody(top, header)).toJson(QJsonDocument::Indented);
}

// Reads the values and subkeys of `object` into `node`; false when anything is out of shape,
// including two values or two subkeys whose names differ only in case.
bool decodeBody(const QJsonObject &object, Node &node)
{
    const QJsonValue values = object.value(QStringLiteral("values"));
    const QJsonValue keys = object.value(QStringLiteral("keys"));
    if (!values.isArray() || !keys.isArray())
        return false;

    QSet<QString> seen;
    for (const QJsonValue &item : values.toArray()) {
        const QJsonArray pair = item.toArray();
        if (!item.isArray() || pair.size() != 2 || !pair[0].isString() || !pair[1].isString())
            return false;
        const QString name = pair[0].toString();
        const QString folded = name.toCaseFolded();
        if (seen.contains(folded))
            return false;
        seen.insert(folded);
        node.values.append({name, pair[1].toString()});
    }

    seen.clear();
    for (const QJsonValue &item : keys.toArray()) {
        const QJsonObject child = item.toObject();
        const QJsonValue name = child.value(QStringLiteral("name"));
        if (!item.isObject() || !name.isString())
            return false;
        const QString text = name.toString();
        const QString folded = text.toCaseFolded();
        if (text.isEmpty() || text.contains(u'\\') || seen.contains(folded))
            return false;
        seen.insert(folded);
        node.keys.push_back(Node{text, {}, {}});
        if (!decodeBody(child, node.keys.back()))
            return false;
    }
    return true;
}

std::optional<Node> decode(const QByteArray &bytes, Root root)
{
    QJsonParseError error{};
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject())
        return std::nullopt;
    const QJsonObject object = document.object();
    const QJsonValue version = object.value(QStringLiteral("version"));
    if (object.value(QStringLiteral("format")).toString() != formatTag || !version.isDouble()
        || version.toDouble() != formatVersion
        || object.value(QStringLiteral("root")).toString() != rootName(root))
        return std::nullopt;
    Node top;
    if (!decodeBody(object, top))
        return std::nullopt;
    return top;
}

// --- Reading, locking, writing ----------------------------------------------------------------

enum class FileState {
    Missing,
    Valid,
    Corrupt, // unreadable, or not a store file of this root: read as empty, set aside on write
    Failed,  // could not be opened for a passing reason (no file handles left)
};

struct Loaded
{
    FileState state = FileState::Missing;
    Node top;
};

// Reads with plain system calls: the outcome of open() tells a missing file from one that
// cannot be read. (QFile::exists() is no help: a stat() that races with the rename of a writer
// can see the replaced file with no links left, which Qt reports as not existing.)
Loaded load(const QString &path, Root root)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT)
            return {};
        const bool passing = errno == EMFILE || errno == ENFILE || errno == ENOMEM;
        return {passing ? FileState::Failed : FileState::Corrupt, {}};
    }
    QByteArray bytes;
    char buffer[65536];
    ssize_t count;
    while ((count = ::read(fd, buffer, sizeof buffer)) != 0) {
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            break;
        bytes.append(buffer, count);
    }
    ::close(fd);
    std::optional<Node> top = count == 0 ? decode(bytes, root) : std::nullopt;
    if (!top)
        return {FileState::Corrupt, {}};
    return {FileState::Valid, std::move(*top)};
}

// An exclusive flock on the root's lock file, held for the lifetime of the object. The lock file
// is never removed: removing it would let two writers lock two different files. The kernel drops
// the lock when the holder exits, so a crashed writer leaves nothing stale behind.
class RootLock
{
public:
    explicit RootLock(const QString &path)
    {
        const QByteArray name = QFile::encodeName(path);
        m_fd = ::open(name.constData(), O_RDWR | O_CREAT | O_CLOEXEC, 0666);
        if (m_fd < 0)
            m_fd = ::open(name.constData(), O_RDONLY | O_CLOEXEC); // flock needs no write access
        if (m_fd < 0)
            return;
        int result;
        do {
            result = ::flock(m_fd, LOCK_EX);
        } while (result != 0 && errno == EINTR);
        m_locked = result == 0;
    }
    ~RootLock()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    RootLock(const RootLock &) = delete;
    RootLock &operator=(const RootLock &) = delete;

    bool locked() const { return m_locked; }

private:
    int m_fd = -1;
    bool m_locked = false;
};

// Renames a corrupt store file to "<file>.corrupt-<date>-<time>" (a number added when that name
// is taken), so that its bytes survive the new file written in its place.
// Puts `bytes` in place of the file at `path` at once, or leaves the file as it was and gives
// the system's reason (the save file's own text may be lost by the time it is read).
bool replaceFile(const QString &path, const QByteArray &bytes, QString &reason)
{
    QSaveFile file(path);
    errno = 0;
    bool done = file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)
                && file.write(bytes) == bytes.size();
    int code = errno;
    if (done) {
        errno = 0;
        done = file.commit();
        code = errno;
    }
    if (!done)
        reason = code != 0 ? QString::fromLocal8Bit(std::strerror(code)) : file.errorString();
    return done;
}

bool setAside(const QString &path)
{
    const QString stem = path + QStringLiteral(".corrupt-")
                         + QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString target = stem;
    for (int n = 2; QFileInfo::exists(target) || QFileInfo(target).isSymLink(); ++n)
        target = stem + u'-' + QString::number(n);
    if (!QFile::rename(path, target)) {
        report(QStringLiteral("Pelmora registry: the store file %1 is unreadable or corrupt and "
                              "could not be renamed to %2; nothing was written.")
                   .arg(path, target));
        return false;
    }
    report(QStringLiteral("Pelmora registry: the store file %1 is unreadable or corrupt; it was "
                          "renamed to %2 and a new store file is written in its place.")
               .arg(path, target));
    return true;
}

bool accessible(const QString &path, int mode) // access(2): F_OK, W_OK, X_OK
{
    return ::access(QFile::encodeName(path).constData(), mode) == 0;
}

} // namespace

std::optional<QStringList> splitPath(const QString &path)
{
    qsizetype begin = 0;
    qsizetype end = path.size();
    while (begin < end && path.at(begin) == u'\\')
        ++begin;
    while (end > begin && path.at(end - 1) == u'\\')
        --end;
    if (begin == end)
        return QStringList();
    const QStringList names = path.mid(begin, end - begin).split(u'\\');
    for (const QString &name : names) {
        if (name.isEmpty())
            return std::nullopt;
    }
    return names;
}

const Node *findKey(const Node &top, const QStringList &names)
{
    const Node *node = &top;
    for (const QString &name : names) {
        const qsizetype index = findChild(*node, name);
        if (index < 0)
            return nullptr;
        node = &node->keys[std::size_t(index)];
    }
    return node;
}

Node *findKey(Node &top, const QStringList &names)
{
    return const_cast<Node *>(findKey(std::as_const(top), names));
}

qsizetype findValue(const Node &key, const QString &name)
{
    for (qsizetype i = 0; i < key.values.size(); ++i) {
        if (sameName(key.values[i].first, name))
            return i;
    }
    return -1;
}

QString storeFilePath(const QString &directory, Root root)
{
    return directory + u'/' + rootName(root) + QStringLiteral(".reg");
}

QString lockFilePath(const QString &directory, Root root)
{
    return directory + u'/' + rootName(root) + QStringLiteral(".lock");
}

bool canWriteRoot(const QString &directory, Root root)
{
    const QString file = storeFilePath(directory, root);
    if (accessible(file, F_OK) && !accessible(file, W_OK))
        return false;
    // The directory is created on the first write, so while it is missing its nearest existing
    // parent decides.
    QString existing = directory;
    while (!QFileInfo::exists(existing)) {
        const QString parent = QFileInfo(existing).path();
        if (parent == existing)
            break;
        existing = parent;
    }
    return QFileInfo(existing).isDir() && accessible(existing, W_OK | X_OK);
}

Node readRoot(const QString &directory, Root root)
{
    return load(storeFilePath(directory, root), root).top;
}

Status editRoot(const QString &directory, Root root, const Edit &edit)
{
    if (!canWriteRoot(directory, root))
        return AccessDenied;
    if (!QDir().mkpath(directory)) {
        report(QStringLiteral("Pelmora registry: cannot create the directory %1.").arg(directory));
        return WriteFault;
    }
    const QString lockPath = lockFilePath(directory, root);
    RootLock lock(lockPath);
    if (!lock.locked()) {
        report(QStringLiteral("Pelmora registry: cannot lock %1.").arg(lockPath));
        return WriteFault;
    }

    const QString path = storeFilePath(directory, root);
    Loaded loaded = load(path, root);
    if (loaded.state == FileState::Failed)
        return WriteFault;
    bool changed = false;
    const Status status = edit(loaded.top, changed);
    if (status != Success || !changed)
        return status;
    if (loaded.state == FileState::Corrupt && !setAside(path))
        return WriteFault;

    const QByteArray bytes = encode(loaded.top, root);
    QString reason;
    if (!replaceFile(path, bytes, reason)) {
        report(QStringLiteral("Pelmora registry: cannot write %1: %2.").arg(path, reason));
        return WriteFault;
    }
    return Success;
}

Status createKey(const QString &directory, Root root, const QString &path)
{
    const std::optional<QStringList> names = splitPath(path);
    if (!names)
        return InvalidParameter;
    // A key that exists needs no write, so it is found even in a store that cannot be written.
    if (findKey(readRoot(directory, root), *names))
        return Success;
    return editRoot(directory, root, [&](Node &top, bool &changed) {
        Node *node = &top;
        for (const QString &name : *names) {
            const qsizetype index = findChild(*node, name);
            if (index >= 0) {
                node = &node->keys[std::size_t(index)];
            } else {
                node->keys.push_back(Node{name, {}, {}});
                node = &node->keys.back();
                changed = true;
            }
        }
        return Success;
    });
}

Status setValue(const QString &directory, Root root, const QString &path, const QString &name,
                const QString &value)
{
    const std::optional<QStringList> names = splitPath(path);
    if (!names)
        return InvalidParameter;
    return editRoot(directory, root, [&](Node &top, bool &changed) {
        Node *key = findKey(top, *names);
        if (!key)
            return NotFound;
        const qsizetype index = findValue(*key, name);
        if (index < 0) {
            key->values.append({name, value});
            changed = true;
        } else if (key->values[index].second != value) {
            key->values[index].second = value; // the name keeps the spelling it was created with
            changed = true;
        }
        return Success;
    });
}

Status deleteValue(const QString &directory, Root root, const QString &path, const QString &name)
{
    const std::optional<QStringList> names = splitPath(path);
    if (!names)
        return InvalidParameter;
    return editRoot(directory, root, [&](Node &top, bool &changed) {
        Node *key = findKey(top, *names);
        const qsizetype index = key ? findValue(*key, name) : -1;
        if (index < 0)
            return NotFound;
        key->values.removeAt(index);
        changed = true;
        return Success;
    });
}

Status deleteKey(const QString &directory, Root root, const QString &path)
{
    const std::optional<QStringList> names = splitPath(path);
    if (!names)
        return InvalidParameter;
    if (names->isEmpty())
        return AccessDenied; // a root cannot be deleted
    return editRoot(directory, root, [&](Node &top, bool &changed) {
        Node *parent = findKey(top, names->first(names->size() - 1));
        const qsizetype index = parent ? findChild(*parent, names->last()) : -1;
        if (index < 0)
            return NotFound;
        if (!parent->keys[std::size_t(index)].keys.empty())
            return AccessDenied;
        parent->keys.erase(parent->keys.begin() + index);
        changed = true;
        return Success;
    });
}

} // namespace platform::registry::detail
