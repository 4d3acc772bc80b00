// The store's files: corrupt files set aside, the directory chosen from the environment,
// stores that cannot be written, and two programs writing one root at once.
#include "platform/registry/Key.h"
#include "platform/registry/Store.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <optional>

#include <csignal>
#include <cstring>

#include <sys/resource.h>
#include <unistd.h>

using namespace platform::registry;

namespace {

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QStringList setAsideFiles(const QString &directory)
{
    return QDir(directory).entryList({"*.corrupt-*"}, QDir::Files, QDir::Name);
}

// Sets environment variables for one test and puts the old values back afterwards.
class Environment
{
public:
    ~Environment()
    {
        for (const auto &[name, value] : m_saved) {
            if (value)
                qputenv(name.constData(), *value);
            else
                qunsetenv(name.constData());
        }
    }
    void set(const QByteArray &name, const std::optional<QByteArray> &value)
    {
        m_saved.push_back({name, qEnvironmentVariableIsSet(name.constData())
                                     ? std::optional(qgetenv(name.constData()))
                                     : std::nullopt});
        if (value)
            qputenv(name.constData(), *value);
        else
            qunsetenv(name.constData());
    }

private:
    std::vector<std::pair<QByteArray, std::optional<QByteArray>>> m_saved;
};

// A well-formed store file of HKEY_CURRENT_USER with the value "a" and the key "K"; each
// corrupt case below breaks it in one place.
const QByteArray validFile = R"({"format": "pelmora-registry", "version": 1,
    "root": "HKEY_CURRENT_USER", "values": [["a", "1"]],
    "keys": [{"name": "K", "values": [], "keys": []}]})";

QByteArray broken(const QByteArray &from, const QByteArray &to)
{
    QByteArray bytes = validFile;
    return bytes.replace(from, to);
}

} // namespace

TEST(StoreFile, ReadsAWellFormedFile)
{
    QTemporaryDir dir;
    Store store(dir.path());
    writeBytes(store.filePath(Root::CurrentUser), validFile);
    EXPECT_EQ(store.queryValue(Root::CurrentUser, "", "A"), "1");
    EXPECT_TRUE(store.keyExists(Root::CurrentUser, "k"));
    ASSERT_TRUE(store.setValue(Root::CurrentUser, "K", "b", "2"));
    EXPECT_TRUE(setAsideFiles(dir.path()).isEmpty());
}

TEST(StoreFile, CorruptFileReadsEmptyAndIsSetAsideBeforeTheFirstWrite)
{
    const std::pair<const char *, QByteArray> cases[] = {
        {"garbage", "not a store \x01\x02\xff"},
        {"empty", ""},
        {"truncated", validFile.left(validFile.size() / 2)},
        {"not an object", "[1, 2, 3]"},
        {"other format", broken("pelmora-registry", "something-else")},
        {"other version", broken("\"version\": 1", "\"version\": 2")},
        {"other root", broken("HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE")},
        {"value not text", broken("[\"a\", \"1\"]", "[\"a\", 1]")},
        {"names differing in case", broken("[\"a\", \"1\"]", "[\"a\", \"1\"], [\"A\", \"2\"]")},
        {"empty key name", broken("\"K\"", "\"\"")},
        {"backslash in key name", broken("\"K\"", "\"K\\\\L\"")},
    };
    for (const auto &[label, bytes] : cases) {
        SCOPED_TRACE(label);
        QTemporaryDir dir;
        Store store(dir.path());
        const QString file = store.filePath(Root::CurrentUser);
        writeBytes(file, bytes);

        EXPECT_TRUE(store.subKeys(Root::CurrentUser, "").isEmpty());
        EXPECT_TRUE(store.valueNames(Root::CurrentUser, "").isEmpty());
        EXPECT_FALSE(store.keyExists(Root::CurrentUser, "K"));
        // A change that writes nothing leaves the file where it is.
        EXPECT_FALSE(store.setValue(Root::CurrentUser, "Missing", "v", "1"));
        EXPECT_TRUE(setAsideFiles(dir.path()).isEmpty());
        EXPECT_EQ(readBytes(file), bytes);

        testing::internal::CaptureStderr();
        const bool created = store.createKey(Root::CurrentUser, "New");
        const QString message = QString::fromStdString(testing::internal::GetCapturedStderr());
        ASSERT_TRUE(created);

        const QStringList aside = setAsideFiles(dir.path());
        ASSERT_EQ(aside.size(), 1);
        EXPECT_TRUE(aside[0].startsWith("HKEY_CURRENT_USER.reg.corrupt-"))
            << aside[0].toStdString();
        EXPECT_EQ(readBytes(dir.filePath(aside[0])), bytes); // the original bytes survive
        EXPECT_TRUE(message.contains(file)) << message.toStdString();
        EXPECT_TRUE(message.contains(dir.filePath(aside[0]))) << message.toStdString();
        EXPECT_EQ(store.subKeys(Root::CurrentUser, ""), QStringList{"New"});
    }
}

TEST(StoreFile, ASecondSetAsideKeepsTheFirst)
{
    QTemporaryDir dir;
    Store store(dir.path());
    const QString file = store.filePath(Root::LocalMachine);
    testing::internal::CaptureStderr();
    writeBytes(file, "first");
    ASSERT_TRUE(store.createKey(Root::LocalMachine, "A"));
    writeBytes(file, "second");
    ASSERT_TRUE(store.createKey(Root::LocalMachine, "B"));
    testing::internal::GetCapturedStderr();

    QList<QByteArray> kept;
    for (const QString &name : setAsideFiles(dir.path()))
        kept.append(readBytes(dir.filePath(name)));
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(kept, QList<QByteArray>({"first", "second"}));
    EXPECT_EQ(store.subKeys(Root::LocalMachine, ""), QStringList{"B"});
}

TEST(StoreFile, DirectoryComesFromTheEnvironment)
{
    struct Case
    {
        std::optional<QByteArray> registry, configHome;
        QString expected;
    };
    const Case cases[] = {
        {"/x/registry", "/x/config", "/x/registry"},
        {std::nullopt, "/x/config", "/x/config/pelmora/registry"},
        {"", "/x/config", "/x/config/pelmora/registry"},
        {std::nullopt, std::nullopt, "/x/home/.config/pelmora/registry"},
        {std::nullopt, "", "/x/home/.config/pelmora/registry"},
        {std::nullopt, "relative/config", "/x/home/.config/pelmora/registry"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.expected.toStdString());
        Environment environment;
        environment.set("PELMORA_REGISTRY", c.registry);
        environment.set("XDG_CONFIG_HOME", c.configHome);
        environment.set("HOME", "/x/home");
        EXPECT_EQ(Store::defaultDirectory(), c.expected);
        EXPECT_EQ(Store().directory(), c.expected);
    }

    // The default store writes where $PELMORA_REGISTRY says, creating the directories.
    QTemporaryDir dir;
    Environment environment;
    environment.set("PELMORA_REGISTRY", dir.filePath("a/b").toUtf8());
    Store store;
    ASSERT_TRUE(store.createKey(Root::LocalMachine, "SOFTWARE"));
    EXPECT_TRUE(QFile::exists(dir.filePath("a/b/HKEY_LOCAL_MACHINE.reg")));
    EXPECT_TRUE(Key(Root::LocalMachine).store().keyExists(Root::LocalMachine, "software"));
}

TEST(StoreFile, DirectoryThatCannotBeMadeFailsEveryChange)
{
    QTemporaryDir dir;
    writeBytes(dir.filePath("plain-file"), "x");
    Store store(dir.filePath("plain-file/registry")); // a file where a directory must go
    EXPECT_FALSE(store.canWrite(Root::CurrentUser));
    EXPECT_FALSE(store.createKey(Root::CurrentUser, "A"));
    EXPECT_FALSE(store.setValue(Root::CurrentUser, "", "v", "1"));
    EXPECT_FALSE(store.keyExists(Root::CurrentUser, "A"));
    EXPECT_TRUE(store.subKeys(Root::CurrentUser, "").isEmpty());

    Key key;
    EXPECT_EQ(createKey(Key(Root::CurrentUser, store), "A", key), AccessDenied);
    EXPECT_FALSE(key.isOpen());
    EXPECT_EQ(setValue(Key(Root::CurrentUser, store), "v", "1"), AccessDenied);
}

TEST(StoreFile, ReadOnlyFilesAndDirectoriesRefuseChanges)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "permissions do not apply to root";
    QTemporaryDir dir;
    Store store(dir.path());
    ASSERT_TRUE(store.createKey(Root::CurrentUser, "A"));
    ASSERT_TRUE(store.setValue(Root::CurrentUser, "A", "v", "1"));
    ASSERT_TRUE(store.createKey(Root::LocalMachine, "A"));
    const QString file = store.filePath(Root::CurrentUser);

    // A read-only file makes its root read-only; the other roots stay writable.
    ASSERT_TRUE(QFile::setPermissions(file, QFile::ReadOwner));
    EXPECT_FALSE(store.canWrite(Root::CurrentUser));
    EXPECT_TRUE(store.canWrite(Root::LocalMachine));
    EXPECT_FALSE(store.setValue(Root::CurrentUser, "A", "v", "2"));
    EXPECT_EQ(store.queryValue(Root::CurrentUser, "A", "v"), "1");
    EXPECT_TRUE(store.setValue(Root::LocalMachine, "A", "v", "2"));
    ASSERT_TRUE(QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner));

    // A read-only directory: reads work, every change fails and nothing changes.
    const auto full = QFile::permissions(dir.path());
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));
    EXPECT_FALSE(store.canWrite(Root::CurrentUser));
    EXPECT_FALSE(store.canWrite(Root::Users)); // no file yet: the directory decides
    EXPECT_FALSE(store.createKey(Root::CurrentUser, "B"));
    EXPECT_FALSE(store.setValue(Root::CurrentUser, "A", "v", "3"));
    EXPECT_FALSE(store.deleteValue(Root::CurrentUser, "A", "v"));
    EXPECT_FALSE(store.deleteKey(Root::CurrentUser, "A"));
    EXPECT_TRUE(store.createKey(Root::CurrentUser, "A")); // exists: nothing to write
    EXPECT_EQ(store.queryValue(Root::CurrentUser, "A", "v"), "1");

    const Key hkcu(Root::CurrentUser, store);
    Key key;
    EXPECT_EQ(openKey(hkcu, "A", Access::Write, key), AccessDenied);
    EXPECT_EQ(createKey(hkcu, "A", key), AccessDenied);
    EXPECT_EQ(openKey(hkcu, "A", Access::Read, key), Success);
    ASSERT_TRUE(QFile::setPermissions(dir.path(), full));

    // A file that can be written but not read reads as empty and is set aside, bytes intact,
    // before a write.
    const QByteArray before = readBytes(file);
    ASSERT_TRUE(QFile::setPermissions(file, QFile::WriteOwner));
    EXPECT_FALSE(store.keyExists(Root::CurrentUser, "A"));
    testing::internal::CaptureStderr();
    EXPECT_TRUE(store.createKey(Root::CurrentUser, "C"));
    EXPECT_FALSE(testing::internal::GetCapturedStderr().empty());
    const QStringList aside = setAsideFiles(dir.path());
    ASSERT_EQ(aside.size(), 1);
    ASSERT_TRUE(QFile::setPermissions(dir.filePath(aside[0]), QFile::ReadOwner));
    EXPECT_EQ(readBytes(dir.filePath(aside[0])), before);
}

TEST(StoreFile, AFailedWriteSaysTheSystemsReasonAndKeepsTheFile)
{
    QTemporaryDir dir;
    Store store(dir.path());
    ASSERT_TRUE(store.createKey(Root::CurrentUser, "A"));
    ASSERT_TRUE(store.setValue(Root::CurrentUser, "A", "v", "1"));
    const QByteArray before = readBytes(store.filePath(Root::CurrentUser));

    // A file size limit makes the system refuse the write, as a full disk does.
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    rlimit small = saved;
    small.rlim_cur = 4096;
    const auto handler = std::signal(SIGXFSZ, SIG_IGN);
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    testing::internal::CaptureStderr();
    const bool written = store.setValue(Root::CurrentUser, "A", "v", QString(20000, 'x'));
    const std::string said = testing::internal::GetCapturedStderr();
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, handler);

    EXPECT_FALSE(written);
    EXPECT_NE(said.find(std::strerror(EFBIG)), std::string::npos) << said;
    EXPECT_EQ(said.find("Unknown error"), std::string::npos) << said;
    EXPECT_EQ(readBytes(store.filePath(Root::CurrentUser)), before);
    EXPECT_EQ(store.queryValue(Root::CurrentUser, "A", "v"), "1");
}

TEST(StoreFile, TwoProgramsWritingOneRootLoseNothing)
{
    QTemporaryDir dir;
    Store store(dir.path());
    ASSERT_TRUE(store.createKey(Root::CurrentUser, "Shared"));
    const QString writer = QString::fromUtf8(REGISTRY_WRITER);
    constexpr int count = 200;

    QProcess first;
    QProcess second;
    first.start(writer, {dir.path(), "first-", QString::number(count)});
    second.start(writer, {dir.path(), "second-", QString::number(count)});
    ASSERT_TRUE(first.waitForStarted());
    ASSERT_TRUE(second.waitForStarted());

    // Meanwhile every read sees a whole file: the number of values never goes down.
    qsizetype most = 0;
    bool shrank = false;
    bool firstDone = false;
    bool secondDone = false;
    QElapsedTimer timer;
    timer.start();
    while (!(firstDone && secondDone) && timer.elapsed() < 120000) {
        const qsizetype now = store.valueNames(Root::CurrentUser, "Shared").size();
        shrank = shrank || now < most;
        most = std::max(most, now);
        firstDone = firstDone || first.waitForFinished(1);
        secondDone = secondDone || second.waitForFinished(1);
    }
    ASSERT_TRUE(firstDone && secondDone) << "the writers did not finish";
    EXPECT_FALSE(shrank);
    for (QProcess *process : {&first, &second}) {
        EXPECT_EQ(process->exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(process->exitCode(), 0) << process->readAllStandardError().toStdString();
    }

    const QStringList names = store.valueNames(Root::CurrentUser, "Shared");
    EXPECT_EQ(names.size(), 2 * count);
    for (const char *prefix : {"first-", "second-"}) {
        for (int i = 0; i < count; ++i) {
            const QString name = QString(prefix) + QString::number(i);
            ASSERT_EQ(store.queryValue(Root::CurrentUser, "Shared", name), name + '\n') << i;
        }
    }
    // No temporary file is left behind.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files, QDir::Name),
              QStringList({"HKEY_CURRENT_USER.lock", "HKEY_CURRENT_USER.reg"}));
}
