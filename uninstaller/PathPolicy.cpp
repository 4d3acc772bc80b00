#include "uninstaller/PathPolicy.h"

#include <QList>

namespace uninstaller {

namespace {

const char *const topLevel[] = {"bin",   "boot",  "dev",    "etc",        "home",  "lib",
                                "lib32", "lib64", "libx32", "lost+found", "media", "mnt",
                                "opt",   "proc",  "root",   "run",        "sbin",  "snap",
                                "srv",   "sys",   "tmp",    "usr",        "var"};
const char *const underUsr[] = {"bin",     "games",  "include", "lib",  "lib32", "lib64",
                                "libexec", "libx32", "local",   "sbin", "share", "src"};

bool isOneOf(const QByteArray &name, const auto &names)
{
    for (const char *candidate : names)
        if (name == candidate)
            return true;
    return false;
}

} // namespace

PathPolicy::PathPolicy(const std::vector<ByteString> &roots)
{
    for (const ByteString &root : roots)
        addRoot(normalized(root));
}

void PathPolicy::addFolderOf(const ByteString &path)
{
    const QByteArray file = normalized(path);
    addRoot(file.left(file.lastIndexOf('/')));
}

void PathPolicy::addRoot(const QByteArray &root)
{
    if (!root.isEmpty() && root != "/")
        m_roots.push_back(root);
}

QByteArray PathPolicy::normalized(const ByteString &path)
{
    QByteArray text(path.data(), qsizetype(path.length()));
    if (text.size() > 1 && text.endsWith('/'))
        text.chop(1);
    if (!text.startsWith('/') || text.contains('\0') || text.contains('\n'))
        return QByteArray();
    if (text == "/")
        return text;
    const QList<QByteArray> names = text.mid(1).split('/');
    for (const QByteArray &name : names)
        if (name.isEmpty() || name == "." || name == "..")
            return QByteArray();
    return text;
}

bool PathPolicy::isSystemFolder(const QByteArray &path)
{
    const QList<QByteArray> names = path.mid(1).split('/');
    if (path == "/" || (names.size() == 1 && isOneOf(names[0], topLevel)))
        return true;
    if (names.size() == 2 && names[0] == "usr")
        return isOneOf(names[1], underUsr);
    return names.size() == 3 && names[0] == "usr" && names[1] == "local"
           && isOneOf(names[2], underUsr);
}

bool PathPolicy::allows(const ByteString &path) const
{
    const QByteArray text = normalized(path);
    if (text.isEmpty() || isSystemFolder(text))
        return false;
    for (const QByteArray &root : m_roots)
        if (text == root || (text.startsWith(root) && text.at(root.size()) == '/'))
            return true;
    return false;
}

} // namespace uninstaller
