#include "uninstaller/PathPolicy.h"

#include <QDir>
#include <QFile>
#include <QList>
#include <QStandardPaths>

#include <climits>
#include <cstdlib>
#include <utility>
#include <pwd.h>
#include <unistd.h>

namespace uninstaller {

namespace {

// The folders that are never a product's own: the system's shared and top-level folders, each
// parent with the names under it (the parent is refused too), and the user's home, temporary
// and standard folders (refusedFolders). Every user's home, a direct child of /home, is
// refused by its place (isRefused).
const std::pair<const char *, const char *> systemFolders[] = {
    {"/", "bin boot dev etc home lib lib32 lib64 libx32 lost+found media mnt opt proc root run "
          "sbin snap srv sys tmp usr var"},
    {"/usr", "bin games include lib lib32 lib64 libexec libx32 local sbin share src"},
    {"/usr/local", "bin etc games include lib libexec man sbin share src"},
    {"/usr/share", "applications doc icons man"},
    {"/etc", "opt systemd tmpfiles.d xdg"},
    {"/var", "backups cache lib local lock log mail opt run spool tmp"},
};

const QStandardPaths::StandardLocation userLocations[] = {
    QStandardPaths::HomeLocation,         QStandardPaths::DesktopLocation,
    QStandardPaths::DocumentsLocation,    QStandardPaths::DownloadLocation,
    QStandardPaths::MusicLocation,        QStandardPaths::MoviesLocation,
    QStandardPaths::PicturesLocation,     QStandardPaths::TempLocation,
    QStandardPaths::GenericDataLocation,  QStandardPaths::GenericConfigLocation,
    QStandardPaths::GenericCacheLocation, QStandardPaths::ApplicationsLocation,
    QStandardPaths::FontsLocation,
};

// A path as written (normalized) and, when it exists, with its links resolved.
QList<QByteArray> formsOf(const QByteArray &path)
{
    QList<QByteArray> forms;
    if (path.isEmpty())
        return forms;
    forms.append(path);
    char resolved[PATH_MAX];
    if (::realpath(path.constData(), resolved) && path != resolved)
        forms.append(QByteArray(resolved));
    return forms;
}

void addFolder(QList<QByteArray> &folders, const QByteArray &path)
{
    for (const QByteArray &form : formsOf(PathPolicy::normalized(ByteString(path.constData()))))
        if (!folders.contains(form))
            folders.append(form);
}

void addFolder(QList<QByteArray> &folders, const QString &path)
{
    if (!path.isEmpty())
        addFolder(folders, QFile::encodeName(QDir::cleanPath(path)));
}

// Every refused folder, in each of its forms; made once per run (the environment does not
// change while it runs).
const QList<QByteArray> &refusedFolders()
{
    static const QList<QByteArray> folders = [] {
        QList<QByteArray> all;
        for (const auto &[parent, names] : systemFolders) {
            const QByteArray folder(parent);
            addFolder(all, folder);
            for (const QByteArray &name : QByteArray(names).split(' '))
                addFolder(all, (folder == "/" ? folder : folder + '/') + name);
        }
        const QString home = QDir::homePath();
        for (const QString &homeFolder :
             {home, home + QStringLiteral("/.local"), home + QStringLiteral("/.local/bin"),
              home + QStringLiteral("/.local/lib"), home + QStringLiteral("/.local/state")})
            addFolder(all, homeFolder);
        if (const passwd *user = ::getpwuid(::geteuid()); user && user->pw_dir)
            addFolder(all, QByteArray(user->pw_dir));
        addFolder(all, QDir::tempPath());
        addFolder(all, qEnvironmentVariable("XDG_RUNTIME_DIR"));
        for (QStandardPaths::StandardLocation location : userLocations)
            for (const QString &path : QStandardPaths::standardLocations(location))
                addFolder(all, path);
        return all;
    }();
    return folders;
}

bool isInside(const QByteArray &path, const QByteArray &folder)
{
    return path == folder || (path.startsWith(folder) && path.at(folder.size()) == '/');
}

// A folder of the list, or any user's home ("/home/NAME").
bool isRefused(const QByteArray &path)
{
    if (path.startsWith("/home/") && path.indexOf('/', 6) < 0)
        return true;
    return refusedFolders().contains(path);
}

} // namespace

PathPolicy::PathPolicy(const std::vector<ByteString> &roots)
{
    for (const ByteString &root : roots)
        addRoot(normalized(root));
}

PathPolicy PathPolicy::withFoldersOf(const std::vector<ByteString> &files) const
{
    PathPolicy wider = *this;
    for (const ByteString &path : files) {
        const QByteArray file = normalized(path);
        wider.addRoot(file.left(file.lastIndexOf('/')));
    }
    return wider;
}

void PathPolicy::addRoot(const QByteArray &root)
{
    if (!root.isEmpty() && root != "/")
        m_roots.push_back(root);
}

bool PathPolicy::acceptsRoot(const ByteString &root)
{
    const QByteArray text = normalized(root);
    if (text.isEmpty())
        return false;
    for (const QByteArray &form : formsOf(text)) {
        if (isRefused(form))
            return false;
        for (const QByteArray &folder : refusedFolders())
            if (isInside(folder, form))
                return false;
    }
    return true;
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

bool PathPolicy::allows(const ByteString &path) const
{
    const QByteArray text = normalized(path);
    if (text.isEmpty() || isRefused(text))
        return false;
    for (const QByteArray &root : m_roots)
        if (isInside(text, root))
            return true;
    return false;
}

} // namespace uninstaller
