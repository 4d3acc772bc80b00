#include "platform/automation/ClassRegistry.h"
#include "platform/forms/AppInfo.h"
#include "platform/registry/Store.h"
#include "platform/runtime/Error.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QWidget>

#include <functional>
#include <memory>

using namespace platform::automation;
using platform::registry::Root;
using platform::registry::Store;

namespace {

const QString controlClass = QStringLiteral("PelmoraApp.PelmoraC02");
const QString appLibrary = QStringLiteral(PELMORA_APP_LIBRARY);

// Points the registry store at a fresh directory for the length of a test.
class ClassRegistryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_hadStore = qEnvironmentVariableIsSet("PELMORA_REGISTRY");
        m_previousStore = qgetenv("PELMORA_REGISTRY");
        useStore(m_dir.filePath(QStringLiteral("registry")));
    }

    void TearDown() override
    {
        if (m_hadStore)
            qputenv("PELMORA_REGISTRY", m_previousStore);
        else
            qunsetenv("PELMORA_REGISTRY");
    }

    static void useStore(const QString &directory)
    {
        qputenv("PELMORA_REGISTRY", QFile::encodeName(directory));
    }

    QString writeFile(const QString &name, const QByteArray &content)
    {
        QFile file(m_dir.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        return file.fileName();
    }

    static QString errorOf(const std::function<void()> &action)
    {
        try {
            action();
        } catch (const platform::Error &error) {
            return error.description();
        }
        ADD_FAILURE() << "no platform::Error thrown";
        return QString();
    }

    QTemporaryDir m_dir;

private:
    bool m_hadStore = false;
    QByteArray m_previousStore;
};

QString canonical(const QString &path)
{
    return QFileInfo(path).canonicalFilePath();
}

// The library that holds Qt itself: loadable, and without any of our exports.
QString qtCoreLibrary()
{
    return platform::forms::moduleFile(reinterpret_cast<const void *>(&qVersion));
}

} // namespace

TEST_F(ClassRegistryTest, RegisterCreateUnregister)
{
    registerClass(controlClass, appLibrary);
    EXPECT_EQ(registeredLibrary(controlClass), QFileInfo(appLibrary).absoluteFilePath());
    EXPECT_EQ(registeredLibrary(QStringLiteral("pelmoraapp.PELMORAC02")),
              registeredLibrary(controlClass));
    // The layout an uninstaller reads.
    EXPECT_EQ(Store().queryValue(Root::ClassesRoot, controlClass + "\\InprocServer32", ""),
              QFileInfo(appLibrary).absoluteFilePath());
    EXPECT_TRUE(Store().subKeys(Root::ClassesRoot, QString()).contains(controlClass));

    QWidget parent;
    for (const QString &name : {controlClass, QStringLiteral("PELMORAAPP.pelmorac02")}) {
        SCOPED_TRACE(name.toStdString());
        QObject *object = createObject(name, &parent);
        ASSERT_NE(object, nullptr);
        auto *widget = qobject_cast<QWidget *>(object);
        ASSERT_NE(widget, nullptr);
        EXPECT_STREQ(widget->metaObject()->className(), "PelmoraC02");
        EXPECT_EQ(widget->parentWidget(), &parent);
        delete widget;
    }

    unregisterClass(controlClass);
    EXPECT_EQ(registeredLibrary(controlClass), QString());
    EXPECT_FALSE(Store().keyExists(Root::ClassesRoot, controlClass));
    const QString error = errorOf([] { createObject(controlClass); });
    EXPECT_TRUE(error.contains(controlClass)) << error.toStdString();
    EXPECT_TRUE(error.contains("not registered")) << error.toStdString();

    unregisterClass(controlClass); // nothing left to remove is not an error
}

TEST_F(ClassRegistryTest, LibraryRegistersItself)
{
    ASSERT_EQ(registerServer(appLibrary), serverOk);
    EXPECT_EQ(canonical(registeredLibrary(controlClass)), canonical(appLibrary));
    std::unique_ptr<QObject> object(createObject(controlClass));
    ASSERT_NE(object, nullptr);
    EXPECT_STREQ(object->metaObject()->className(), "PelmoraC02");

    EXPECT_EQ(unregisterServer(appLibrary), serverOk);
    EXPECT_EQ(registeredLibrary(controlClass), QString());
    EXPECT_FALSE(Store().keyExists(Root::ClassesRoot, controlClass));
    EXPECT_EQ(unregisterServer(appLibrary), serverOk);
    EXPECT_THROW(createObject(controlClass), platform::Error);
}

TEST_F(ClassRegistryTest, SelfRegistrationReportsAStoreThatCannotBeWritten)
{
    // A directory below a regular file cannot be created, whoever runs the test.
    useStore(writeFile("plain-file", "x") + "/registry");
    EXPECT_NE(registerServer(appLibrary), serverOk);
    EXPECT_EQ(registeredLibrary(controlClass), QString());
    EXPECT_THROW(registerClass(controlClass, appLibrary), platform::Error);
}

TEST_F(ClassRegistryTest, CreateFailuresNameTheClass)
{
    const QString missing = m_dir.filePath("missing/libGone.so");
    const QString notLibrary = writeFile("libText.so", "just text\n");
    struct Case
    {
        const char *what;
        QString className;
        QString library; // empty: not registered
        const char *fragment;
    };
    const Case cases[] = {
        {"unregistered", "PelmoraApp.Nothing", QString(), "not registered"},
        {"library missing", "PelmoraApp.Gone", missing, "does not exist"},
        {"not a library", "PelmoraApp.Text", notLibrary, "cannot be loaded"},
        {"no factory", "PelmoraApp.QtCore", qtCoreLibrary(), "no PelmoraCreateObject"},
        {"factory declines", "PelmoraApp.Other", appLibrary, "does not provide this class"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        if (!c.library.isEmpty())
            registerClass(c.className, c.library);
        const QString error = errorOf([&] { createObject(c.className); });
        EXPECT_TRUE(error.contains(c.className)) << error.toStdString();
        EXPECT_TRUE(error.contains(c.fragment)) << error.toStdString();
    }
}

TEST_F(ClassRegistryTest, ServerEntryFailuresAreErrors)
{
    const QString missing = m_dir.filePath("libGone.so");
    for (const QString &library : {missing, qtCoreLibrary()}) {
        SCOPED_TRACE(library.toStdString());
        const QString error = errorOf([&] { registerServer(library); });
        EXPECT_TRUE(error.contains("DllRegisterServer")) << error.toStdString();
        EXPECT_TRUE(error.contains(library)) << error.toStdString();
    }
}

TEST_F(ClassRegistryTest, RejectsNamesThatAreNotOneKey)
{
    for (const QString &name : {QString(), QStringLiteral("  "), QStringLiteral("A\\B")}) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_THROW(registerClass(name, appLibrary), platform::Error);
        EXPECT_EQ(registeredLibrary(name), QString());
    }
    EXPECT_FALSE(Store().keyExists(Root::ClassesRoot, "A"));
}

TEST_F(ClassRegistryTest, RelativeLibraryPathIsStoredAbsolute)
{
    registerClass(controlClass, "libSomething.so");
    EXPECT_EQ(registeredLibrary(controlClass), QDir::current().absoluteFilePath("libSomething.so"));
}
