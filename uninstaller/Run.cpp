#include "uninstaller/Run.h"

#include "uninstaller/BootRemoval.h"
#include "uninstaller/Dialogs.h"
#include "uninstaller/InfoReader.h"
#include "uninstaller/InstanceLock.h"
#include "uninstaller/PathPolicy.h"
#include "uninstaller/PointerList.h"

#include "platform/automation/ClassRegistry.h"
#include "platform/forms/Modal.h"
#include "platform/forms/MsgBox.h"
#include "platform/registry/Key.h"
#include "platform/runtime/Error.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QFile>
#include <QProcess>

#include <algorithm>
#include <cerrno>
#include <dirent.h>
#include <memory>
#include <unistd.h>

namespace uninstaller {

namespace reg = platform::registry;
namespace forms = platform::forms;

namespace {

const char *const sharedCountsKey = "Software\\Microsoft\\Windows\\CurrentVersion\\SharedDLLs";
const reg::Root registryRoots[registryRootCount] = {reg::Root::ClassesRoot, reg::Root::CurrentUser,
                                                    reg::Root::LocalMachine, reg::Root::Users};

QString textOf(const ByteString &bytes)
{
    return bytes.toText();
}

QByteArray pathOf(const ByteString &bytes)
{
    return QByteArray(bytes.data(), qsizetype(bytes.length()));
}

void appendLine(QByteArray &list, const QByteArray &entry)
{
    list.append(entry).append("\r\n");
}

// Whether `folder` holds nothing but the file `path`.
bool holdsOnly(const QByteArray &folder, const QByteArray &path)
{
    const QByteArray name = path.mid(path.lastIndexOf('/') + 1);
    DIR *listing = ::opendir(folder.constData());
    if (!listing)
        return false;
    bool only = true;
    while (const dirent *entry = ::readdir(listing)) {
        const QByteArray each(entry->d_name);
        if (each != "." && each != ".." && each != name)
            only = false;
    }
    ::closedir(listing);
    return only;
}

// No version resources on Linux: no version information, which counts as version 0.0.
int getFileVersion(const QByteArray &, std::uint32_t &ms, std::uint32_t &ls)
{
    ms = 0;
    ls = 0;
    return -1;
}

class Run
{
public:
    Run(const QStringList &arguments, const RunSettings &settings)
        : m_settings(settings), m_silent(hasSwitch(arguments, QStringLiteral("/SILENT"))),
          m_noRemove(hasSwitch(arguments, QStringLiteral("/NOREMOVE"))),
          m_fs(settings.fileSystem ? *settings.fileSystem : m_realFs), m_yesToAll(m_silent)
    {}

    int exec();

private:
    void message(const QString &text, int style) const
    {
        if (!m_silent)
            forms::msgBox(text, style, caption);
    }
    void beginStep(int step)
    {
        if (m_window) {
            m_window->showMarker(step);
            QCoreApplication::processEvents();
        }
    }
    bool readInformation();
    bool rightsCheck();
    void sharedFilesStep();
    bool removeSharedFile(const ByteString &path);
    void backupsStep();
    void filesStep();
    void directoriesStep();
    void registryStep();
    bool walkRegistryTree(const reg::Key *key, const RegistryKeyRecord &body, bool checkOnly,
                          PointerList *path);
    void recordFailedKey(const PointerList &path);
    bool deleteAtReboot(const QByteArray &path);
    void promptReboot();
    int finish();
    void removeOwnFolder(bool ownFileAtBoot);
    // A path the policy refuses is listed as failed and left alone.
    static bool allowed(const PathPolicy &policy, const ByteString &path, QByteArray &failedList)
    {
        if (policy.allows(path))
            return true;
        appendLine(failedList, pathOf(path));
        return false;
    }
    bool allowed(const ByteString &path, QByteArray &failedList) const
    {
        return allowed(m_policy, path, failedList);
    }

    const RunSettings &m_settings;
    const bool m_silent;
    const bool m_noRemove;
    FileSystem m_realFs;
    FileSystem &m_fs;
    UninstallInformation m_info;
    PathPolicy m_policy;       // the install roots: every step
    PathPolicy m_sharedPolicy; // and the shared files' folders: the shared files step only
    QByteArray m_ownFolder;    // the listed folder of this program: tried again at the end
    std::unique_ptr<ProgressWindow> m_window;
    FailureLists m_failures;
    QList<QByteArray> m_locked; // whole paths: a path may hold a line break
    ByteString m_sharedAnswers;
    bool m_yesToAll;
    bool m_noToAll = false;
    bool m_rebootNeeded = false;
    bool m_stepsDone = false;
    bool m_closeRequested = false;
};

bool Run::readInformation()
{
    InfoStatus status = loadUninstallInformation(m_settings.programPath.constData(), m_info);
    // Information that names a system or top-level folder as the product's own is not what an
    // installer writes.
    if (status == InfoStatus::Ok
        && !std::all_of(m_info.roots.begin(), m_info.roots.end(), PathPolicy::acceptsRoot))
        status = InfoStatus::Corrupt;
    switch (status) {
    case InfoStatus::Ok:
        m_policy = PathPolicy(m_info.roots);
        m_sharedPolicy = m_policy.withFoldersOf(m_info.sharedLines);
        return true;
    case InfoStatus::Unreadable:
        message(QStringLiteral("Couldn't read uninstallation information. Aborting."),
                forms::Critical);
        return false;
    case InfoStatus::OutOfMemory:
        message(QStringLiteral("Out of memory. Aborting."), forms::Critical);
        return false;
    case InfoStatus::Corrupt:
        break;
    }
    message(QStringLiteral("Uninstallation information corrupt. Aborting."), forms::Critical);
    return false;
}

int Run::exec()
{
    if (!readInformation())
        return 0;
    const QByteArray product = pathOf(m_info.productName);
    InstanceLock lock(m_settings.lockDirectory.isEmpty() ? InstanceLock::defaultDirectory()
                                                         : m_settings.lockDirectory,
                      product);
    if (!lock.acquired())
        return 0;
    if (!m_silent
        && forms::msgBox(QStringLiteral("This will remove ") + textOf(m_info.productName)
                             + QStringLiteral(" from your system, do you want to continue?"),
                         forms::YesNo | forms::Question, caption)
               != forms::Yes)
        return 0;
    const ByteString &code = m_info.commandCode;
    if (code.length() && !code.equals("101", true) && !code.equals("100", true)
        && m_info.commandLine.length() && runPreUninstallCommand(pathOf(m_info.commandLine)) == 0)
        return 0;
    if (!m_silent) {
        m_window = std::make_unique<ProgressWindow>(m_failures);
        m_window->setTitleLine(QStringLiteral("Removing ") + textOf(m_info.productName)
                               + QStringLiteral(" from your system..."));
        QObject::connect(m_window.get(), &ProgressWindow::closeRequested,
                         [this] { m_closeRequested = true; });
        m_window->show();
        QCoreApplication::processEvents();
    }
    if (!rightsCheck()) {
        if (m_window)
            forms::msgBox(
                QStringLiteral("You don't have required privileges to uninstall this software. "
                               "Please have your system administrator (or other user with "
                               "higher privileges) uninstall this software."),
                forms::OkOnly, caption);
        return 0;
    }
    beginStep(0);
    sharedFilesStep();
    beginStep(1);
    backupsStep();
    beginStep(2);
    filesStep();
    beginStep(3);
    directoriesStep();
    beginStep(4);
    registryStep();
    return finish();
}

int Run::finish()
{
    // The running program's file can go at once; it may have been listed among the files.
    const int ownFile = m_noRemove ? 0 : m_fs.removeFile(m_settings.programPath);
    bool ownFileAtBoot = false;
    if (ownFile != 0 && ownFile != ENOENT) {
        ownFileAtBoot = deleteAtReboot(m_settings.programPath);
        if (!ownFileAtBoot)
            appendLine(m_failures.files, m_settings.programPath);
    }
    removeOwnFolder(ownFileAtBoot);
    // Each locked file is listed as failed already; one that cannot be scheduled stays so.
    for (const QByteArray &path : std::as_const(m_locked))
        if (path.size() > 3)
            deleteAtReboot(path);
    m_rebootNeeded = !m_locked.isEmpty();
    m_stepsDone = true;
    if (m_silent)
        return 1;
    QString result = QStringLiteral("Uninstallation complete.");
    if (m_failures.any())
        result += QStringLiteral("\nSome elements couldn't be removed.");
    m_window->complete(result, m_failures.any());
    QEventLoop loop;
    const auto close = [this, &loop] {
        promptReboot();
        m_window->hide();
        loop.exit(1);
    };
    QObject::connect(m_window.get(), &ProgressWindow::closeRequested, &loop, close);
    if (m_closeRequested) { // closed during the steps: end now that they are done
        promptReboot();
        m_window->hide();
        return 1;
    }
    return loop.exec();
}

void Run::removeOwnFolder(bool ownFileAtBoot)
{
    if (m_ownFolder.isEmpty())
        return;
    const int error = m_fs.removeDirectory(m_ownFolder);
    if (error == 0 || error == ENOENT)
        return;
    // Still there with this program's file, which goes at the next boot: the folder follows
    // it then ("r" removes a folder only when it is empty), unless it holds anything else.
    if (ownFileAtBoot && holdsOnly(m_ownFolder, m_settings.programPath)
        && deleteAtReboot(m_ownFolder))
        return;
    appendLine(m_failures.directories, m_ownFolder);
}

bool Run::rightsCheck()
{
    if (m_info.registryRoots.empty())
        return true;
    for (int i = 0; i < registryRootCount; ++i) {
        const reg::Key root(registryRoots[i], m_settings.store);
        if (!walkRegistryTree(&root, m_info.registryRoots[std::size_t(i)], true, nullptr))
            return false;
    }
    return true;
}

void Run::sharedFilesStep()
{
    if (m_info.sharedLines.empty())
        return;
    reg::Key counts;
    if (reg::openKey(reg::Key(reg::Root::LocalMachine, m_settings.store),
                     QString::fromLatin1(sharedCountsKey), reg::Access::ReadWrite, counts)
        != reg::Success)
        return;
    for (const ByteString &path : m_info.sharedLines) {
        const QString name = textOf(path);
        QString stored;
        bool known = false;
        uint count = 0;
        if (reg::queryValue(counts, name, stored) == reg::Success)
            count = stored.trimmed().toUInt(&known, 10);
        if (!known)
            continue; // no registered count: the file may be another program's, so it stays
        if (count >= 2) {
            reg::setValue(counts, name, QString::number(count - 1));
            continue;
        }
        bool remove = false;
        const int earlier = lookupSharedDecision(m_sharedAnswers, path);
        if (earlier > 0) {
            remove = earlier == 2;
        } else if (m_noToAll) {
            remove = false;
        } else if (m_yesToAll) {
            remove = true;
        } else {
            SharedFileDialog question(name, m_window.get());
            const int answer = forms::showModal(question);
            remove = answer == SharedFileDialog::Yes || answer == SharedFileDialog::YesToAll;
            m_yesToAll = answer == SharedFileDialog::YesToAll;
            m_noToAll = answer == SharedFileDialog::NoToAll;
            if (answer == SharedFileDialog::Yes || answer == SharedFileDialog::No) {
                if (m_sharedAnswers.length())
                    m_sharedAnswers.append("\r\n", 0);
                m_sharedAnswers.append(path);
                m_sharedAnswers.append(answer == SharedFileDialog::Yes ? '2' : '1');
            }
        }
        // The count goes only with the file; a file that stays keeps count 0.
        if (remove && removeSharedFile(path))
            reg::deleteValue(counts, name);
        else
            reg::setValue(counts, name, QStringLiteral("0"));
    }
    reg::closeKey(counts);
}

bool Run::removeSharedFile(const ByteString &path)
{
    if (!allowed(m_sharedPolicy, path, m_failures.files))
        return false;
    try {
        platform::automation::unregisterServer(QFile::decodeName(pathOf(path)));
    } catch (const platform::Error &) {
        // Not a library, or one without the entry: there is no registration to undo.
    }
    const int error = m_fs.removeFile(pathOf(path));
    if (error == 0 || error == ENOENT || error == ENOTDIR)
        return true;
    appendLine(m_failures.files, pathOf(path));
    if (error == EBUSY || error == ETXTBSY)
        m_locked.append(pathOf(path));
    return false;
}

void Run::backupsStep()
{
    if (m_info.backups.length() <= 2)
        return;
    const bool restore =
        !m_silent
        && forms::msgBox(
               QStringLiteral("Halvesk Installer has taken backup copies of DLL, VxD, drv and "
                              "other system files during installation. Do you want to restore "
                              "these backups? (This is recommended if the program has caused "
                              "malicious functionality.)"),
               forms::YesNo, caption)
               == forms::Yes;
    for (const BackupRecord &backup : m_info.backupRecords) {
        if (!allowed(backup.backupPath, m_failures.files))
            continue;
        const QByteArray copy = pathOf(backup.backupPath);
        if (restore) {
            const QByteArray installed = pathOf(backup.installedPath);
            bool put = !m_fs.canRead(installed);
            if (!put) {
                const std::uint64_t recorded =
                    std::uint64_t(backup.writeTimeHigh) << 32 | backup.writeTimeLow;
                std::uint32_t ms = 0, ls = 0;
                getFileVersion(installed, ms, ls);
                put = m_fs.lastWriteTime(installed) == recorded
                      && compareVersions(ms, ls, backup.versionMS, backup.versionLS) == 0;
            }
            // A backup whose restore fails is the only copy of the original: it stays.
            if (put
                && (!m_policy.allows(backup.installedPath)
                    || m_fs.copyFile(copy, installed) != 0)) {
                appendLine(m_failures.files, copy);
                continue;
            }
        }
        m_fs.removeFile(copy);
    }
}

void Run::filesStep()
{
    for (const ByteString &path : m_info.fileLines) {
        if (!allowed(path, m_failures.files))
            continue;
        const int error = m_fs.removeFile(pathOf(path));
        if (error == 0 || error == ENOENT || error == ENOTDIR)
            continue;
        appendLine(m_failures.files, pathOf(path));
        if (error == EBUSY || error == ETXTBSY)
            m_locked.append(pathOf(path));
    }
}

void Run::directoriesStep()
{
    if (::chdir("/") != 0) {
        // Only the current directory is affected; every path used is absolute.
    }
    const QByteArray program = PathPolicy::normalized(ByteString::fromBytes(
        m_settings.programPath.constData(), std::uint32_t(m_settings.programPath.size())));
    const QByteArray ownFolder = program.left(program.lastIndexOf('/'));
    for (const ByteString &path : m_info.directoryLines) {
        if (!allowed(path, m_failures.directories))
            continue;
        const int error = m_fs.removeDirectory(pathOf(path));
        if ((error == ENOTEMPTY || error == EEXIST) && !m_noRemove && !ownFolder.isEmpty()
            && PathPolicy::normalized(path) == ownFolder) {
            m_ownFolder = pathOf(path); // it holds this program until the end
            continue;
        }
        if (error != 0 && error != ENOENT && error != ENOTDIR)
            appendLine(m_failures.directories, pathOf(path));
    }
}

void Run::registryStep()
{
    if (m_info.registryRoots.empty())
        return;
    for (int i = 0; i < registryRootCount; ++i) {
        const ByteString rootName = ByteString::fromText(reg::rootName(registryRoots[i]));
        PointerList path;
        path.add(&rootName, -1);
        const reg::Key root(registryRoots[i], m_settings.store);
        walkRegistryTree(&root, m_info.registryRoots[std::size_t(i)], false, &path);
        path.release();
    }
}

bool Run::walkRegistryTree(const reg::Key *key, const RegistryKeyRecord &body, bool checkOnly,
                           PointerList *path)
{
    for (const RegistryValueRecord &value : body.values)
        if (value.remove && !checkOnly && key)
            reg::deleteValue(*key, textOf(value.name));
    for (const RegistryKeyRecord &subkey : body.keys) {
        if (!key)
            continue; // the records are parsed already: skipping reads nothing
        if (path)
            path->add(&subkey, -1);
        const auto pop = [&] {
            if (path)
                path->remove(&subkey);
        };
        const QString name = textOf(subkey.name);
        reg::Key opened;
        reg::Status status = reg::openKey(*key, name, reg::Access::ReadWrite, opened);
        if (status == reg::AccessDenied) {
            status = subkey.values.empty() ? reg::openKey(*key, name, reg::Access::Read, opened)
                                           : reg::AccessDenied;
            if (status == reg::AccessDenied) {
                pop();
                if (checkOnly)
                    return false;
                continue; // a refused key's records are skipped whole
            }
        } else if (status != reg::Success) {
            pop();
            continue;
        }
        const bool walked =
            walkRegistryTree(opened.isOpen() ? &opened : nullptr, subkey, checkOnly, path);
        if (checkOnly || !subkey.remove || !opened.isOpen()) {
            reg::closeKey(opened);
            pop();
            if (checkOnly && !walked)
                return false;
            continue;
        }
        QString child;
        const bool hasChild = reg::enumKey(opened, 0, child) == reg::Success;
        reg::closeKey(opened);
        if (hasChild || reg::deleteKey(*key, name) != reg::Success)
            recordFailedKey(*path);
        pop();
    }
    return true;
}

void Run::recordFailedKey(const PointerList &path)
{
    ByteString full;
    for (int i = 0; i < path.count(); ++i) {
        if (i) {
            full.append('\\');
            full.append(static_cast<const RegistryKeyRecord *>(path.get(i))->name);
        } else {
            full.append(*static_cast<const ByteString *>(path.get(0)));
        }
    }
    const QByteArray entry = pathOf(full);
    for (const QByteArray &line : m_failures.registryKeys.split('\n'))
        if (ByteString(line.trimmed().constData()).equals(full, false))
            return;
    appendLine(m_failures.registryKeys, entry);
}

bool Run::deleteAtReboot(const QByteArray &path)
{
    BootRemoval removal(m_settings.bootDirectory.isEmpty() ? BootRemoval::defaultDirectory()
                                                           : m_settings.bootDirectory,
                        pathOf(m_info.productName));
    return removal.schedule(path);
}

void Run::promptReboot()
{
    if (!m_rebootNeeded)
        return;
    m_rebootNeeded = false;
    if (forms::msgBox(QStringLiteral("To finalize the uninstallation your system needs to be "
                                     "restarted. Do you want to reboot now?"),
                      forms::YesNo, caption)
            == forms::Yes
        && m_settings.restartSystem)
        m_settings.restartSystem();
}

} // namespace

bool hasSwitch(const QStringList &arguments, const QString &name)
{
    for (const QString &argument : arguments)
        if (argument.compare(name, Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

int compareVersions(std::uint32_t aMS, std::uint32_t aLS, std::uint32_t bMS, std::uint32_t bLS)
{
    const std::uint64_t a = std::uint64_t(aMS) << 32 | aLS;
    const std::uint64_t b = std::uint64_t(bMS) << 32 | bLS;
    return b < a ? -1 : (b > a ? 1 : 0);
}

int lookupSharedDecision(const ByteString &answers, const ByteString &path)
{
    int pos = 0;
    ByteString line;
    while (answers.isValidPos(pos)) {
        answers.readLine(&pos, line, false);
        if (line.length() && line.substring(0, int(line.length()) - 1).equals(path, true)
            && line.length() == path.length() + 1) {
            const unsigned char last = line.at(int(line.length()) - 1);
            return last == '2' ? 2 : 1;
        }
    }
    return -1;
}

int runPreUninstallCommand(const QByteArray &commandLine)
{
    const QString command = QString::fromUtf8(commandLine);
    QStringList parts = QProcess::splitCommand(command);
    if (parts.isEmpty())
        return -1;
    QProcess process;
    QProcessEnvironment environment;
    environment.insert(QStringLiteral("PATH"), QStringLiteral("/usr/bin:/bin"));
    process.setProcessEnvironment(environment);
    process.setInputChannelMode(QProcess::ForwardedInputChannel);
    process.setProcessChannelMode(QProcess::ForwardedChannels);
    process.setProgram(parts.takeFirst());
    process.setArguments(parts);
    process.start();
    if (!process.waitForStarted())
        return -1;
    // The window stays live while the command runs. waitForFinished answers false once the
    // process has been reaped by the events pumped here, so the state is what ends the wait.
    while (process.state() != QProcess::NotRunning && !process.waitForFinished(50))
        QCoreApplication::processEvents();
    const int exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : 1;
    if (commandLine.contains(".BAT") || commandLine.contains(".CMD"))
        return exitCode == 0 ? 1 : 0;
    return exitCode != 0 ? 1 : 0;
}

void restartThroughSystemd()
{
    QProcess::startDetached(QStringLiteral("systemctl"), {QStringLiteral("reboot")});
}

int runUninstaller(const QStringList &arguments, const RunSettings &settings)
{
    Run run(arguments, settings);
    return run.exec();
}

} // namespace uninstaller
