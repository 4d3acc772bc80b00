#include "Control/settings/Registry.h"
#include "RegistryTestSupport.h"

#include <gtest/gtest.h>

using platform::registry::Root;
using namespace pelmora::registry;

namespace {

const QString base = QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Keswire\\PelmoraApp");

class RegistryTest : public testing_support::TemporaryRegistry
{
};

TEST_F(RegistryTest, RootNamesAreExactAndCaseSensitive)
{
    const struct
    {
        const char *name;
        std::optional<Root> root;
    } cases[] = {
        {"HKEY_CLASSES_ROOT", Root::ClassesRoot},
        {"HKEY_CURRENT_USER", Root::CurrentUser},
        {"HKEY_LOCAL_MACHINE", Root::LocalMachine},
        {"HKEY_USERS", Root::Users},
        {"HKEY_PERFORMANCE_DATA", Root::PerformanceData},
        {"HKEY_CURRENT_CONFIG", Root::CurrentConfig},
        {"HKEY_DYN_DATA", Root::DynData},
        {"hkey_local_machine", std::nullopt},
        {"HKEY_LOCAL_MACHINE ", std::nullopt},
        {"HKEY_NOWHERE", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto &c : cases)
        EXPECT_EQ(rootKeyFromName(QString::fromLatin1(c.name)), c.root) << c.name;
}

TEST_F(RegistryTest, SplitsPathsAndRejectsMalformedOnes)
{
    const struct
    {
        const char *path;
        std::optional<Root> root;
        const char *subKey; // the path afterwards
        bool message;       // "Incorrect Format:" shown
    } cases[] = {
        {"HKEY_LOCAL_MACHINE\\SOFTWARE\\Keswire", Root::LocalMachine, "SOFTWARE\\Keswire", false},
        {"HKEY_LOCAL_MACHINE", Root::LocalMachine, "", false},
        {"HKEY_CURRENT_USER\\A", Root::CurrentUser, "A", false},
        {"HKEY_LOCAL_MACHINE\\SOFTWARE\\", std::nullopt, "HKEY_LOCAL_MACHINE\\SOFTWARE\\", true},
        {"hkey_local_machine\\SOFTWARE", std::nullopt, "hkey_local_machine\\SOFTWARE", true},
        {"SOFTWARE\\Keswire", std::nullopt, "SOFTWARE\\Keswire", true},
        {"", std::nullopt, "", true},
        {"HKEY_NOWHERE\\SOFTWARE", std::nullopt, "HKEY_NOWHERE\\SOFTWARE", false},
    };
    for (const auto &c : cases) {
        messages->clear();
        QString path = QString::fromLatin1(c.path);
        std::optional<Root> root = Root::Users; // always replaced
        splitRegPath(path, root);
        EXPECT_EQ(root, c.root) << c.path;
        EXPECT_EQ(path, QString::fromLatin1(c.subKey)) << c.path;
        const QStringList expected =
            c.message ? QStringList{QStringLiteral("Incorrect Format:\n\n") + c.path}
                      : QStringList();
        EXPECT_EQ(messages->texts(), expected) << c.path;
        if (c.message) {
            EXPECT_EQ(messages->shown().first().buttons, platform::forms::OkOnly);
        }
    }
}

TEST_F(RegistryTest, MalformedOrUnknownPathsTouchNothing)
{
    for (const QString &path : {QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\"),
                                QStringLiteral("hkey_local_machine\\SOFTWARE"),
                                QStringLiteral("HKEY_NOWHERE\\SOFTWARE")}) {
        messages->clear();
        EXPECT_FALSE(createRegKey(path)) << path.toStdString();
        EXPECT_FALSE(setRegValue(path, "Name", "x")) << path.toStdString();
        const QVariant read = getRegValue(path, "Name");
        EXPECT_FALSE(read.isValid()) << path.toStdString(); // empty: neither a text nor "Error"
        EXPECT_EQ(messages->count(), path.startsWith("HKEY_NOWHERE") ? 0 : 3) << path.toStdString();
    }
    for (const Root root : {Root::LocalMachine, Root::CurrentUser})
        EXPECT_TRUE(store().subKeys(root, QString()).isEmpty());
}

TEST_F(RegistryTest, ReadsWhatWasWrittenOrError)
{
    EXPECT_EQ(getRegValue(base, "Appearance"), QVariant(QStringLiteral("Error"))); // no key
    ASSERT_TRUE(createRegKey(base + "\\Font"));
    EXPECT_TRUE(store().keyExists(Root::LocalMachine, "SOFTWARE\\Keswire\\PelmoraApp\\Font"));
    EXPECT_EQ(getRegValue(base, "Appearance"), QVariant(QStringLiteral("Error"))); // no value

    const QString longText = QString(300, u'x') + QString(70000, u'y');
    const struct
    {
        QString written;
        QString read;
    } cases[] = {
        {"2", "2"},
        // clang-format off
        {"", ""},                   // an empty value is present
        {"   lead", "lead"},        // leading blanks dropped
        {"trail   ", "trail   "},   // trailing blanks kept
        // clang-format on
        {"  in  side ", "in  side "},
        {QStringLiteral("before") + QChar(0) + "after", "before"}, // up to the first NUL
        {QString(255, u'a'), QString(255, u'a')},
        {longText, longText}, // any length reads back
        {"Error", "Error"},
    };
    for (const auto &c : cases) {
        ASSERT_TRUE(setRegValue(base, "Value", c.written));
        const QVariant read = getRegValue(base, "value"); // names ignore case
        EXPECT_EQ(read.typeId(), QMetaType::QString);
        EXPECT_EQ(read.toString(), c.read) << c.written.left(20).toStdString();
    }
    EXPECT_EQ(messages->count(), 0);
}

TEST_F(RegistryTest, TheRootKeyItselfHasValues)
{
    EXPECT_TRUE(createRegKey("HKEY_CURRENT_USER"));
    EXPECT_TRUE(setRegValue("HKEY_CURRENT_USER", "Top", "1"));
    EXPECT_EQ(getRegValue("HKEY_CURRENT_USER", "Top").toString(), "1");
    EXPECT_EQ(store().queryValue(Root::CurrentUser, QString(), "Top"), QString("1"));
}

TEST_F(RegistryTest, WritesOnlyIntoKeysThatExist)
{
    EXPECT_FALSE(setRegValue(base, "Appearance", "1"));
    EXPECT_FALSE(store().keyExists(Root::LocalMachine, "SOFTWARE\\Keswire\\PelmoraApp"));
    EXPECT_TRUE(createRegKey(base));
    EXPECT_TRUE(createRegKey(base)); // again: it exists
    EXPECT_TRUE(setRegValue(base, "Appearance", "1"));
    EXPECT_EQ(getRegValue(base, "Appearance").toString(), "1");
}

TEST_F(RegistryTest, AStoreThatCannotBeWrittenAnswersFalse)
{
    QFile blocker(tempPath("blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    useStore(tempPath("blocker/registry"));
    EXPECT_FALSE(createRegKey(base));
    EXPECT_FALSE(setRegValue(base, "Appearance", "1"));
    EXPECT_EQ(getRegValue(base, "Appearance").toString(), "Error");
    EXPECT_EQ(messages->count(), 0);
}

} // namespace
