#include "platform/registry/Store.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

using namespace platform::registry;

namespace {

class StoreTest : public testing::Test
{
protected:
    QTemporaryDir dir;
    Store store{dir.path()};
    const Root hkcu = Root::CurrentUser;
};

} // namespace

TEST(Root, NamesMapBothWaysWithoutRegardToCase)
{
    const std::pair<Root, QString> table[] = {
        {Root::ClassesRoot, "HKEY_CLASSES_ROOT"},
        {Root::CurrentUser, "HKEY_CURRENT_USER"},
        {Root::LocalMachine, "HKEY_LOCAL_MACHINE"},
        {Root::Users, "HKEY_USERS"},
        {Root::PerformanceData, "HKEY_PERFORMANCE_DATA"},
        {Root::CurrentConfig, "HKEY_CURRENT_CONFIG"},
        {Root::DynData, "HKEY_DYN_DATA"},
    };
    for (const auto &[root, name] : table) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_EQ(rootName(root), name);
        EXPECT_EQ(rootFromName(name), root);
        EXPECT_EQ(rootFromName(name.toLower()), root);
    }
    for (const char *other : {"", "HKEY_", "HKEY_FOO", "HKLM", "HKEY_LOCAL_MACHINE\\"})
        EXPECT_EQ(rootFromName(other), std::nullopt) << other;
}

TEST_F(StoreTest, CreatesReadsAndWritesKeysAndValues)
{
    const QString base = "SOFTWARE\\Keswire\\PelmoraApp";
    EXPECT_FALSE(store.keyExists(hkcu, base));
    EXPECT_FALSE(store.setValue(hkcu, base, "Appearance", "1")); // the key must exist
    EXPECT_FALSE(store.keyExists(hkcu, base));

    ASSERT_TRUE(store.createKey(hkcu, base));
    EXPECT_TRUE(store.keyExists(hkcu, "SOFTWARE")); // every key on the path
    EXPECT_TRUE(store.keyExists(hkcu, "SOFTWARE\\Keswire"));
    EXPECT_TRUE(store.createKey(hkcu, base)); // again: nothing missing, still true
    EXPECT_EQ(store.subKeys(hkcu, "SOFTWARE"), QStringList{"Keswire"});

    EXPECT_EQ(store.queryValue(hkcu, base, "Appearance"), std::nullopt);
    ASSERT_TRUE(store.setValue(hkcu, base, "Appearance", "1"));
    ASSERT_TRUE(store.setValue(hkcu, base, "Appearance", "0")); // replaced
    ASSERT_TRUE(store.setValue(hkcu, base, "DataFormat", ""));
    EXPECT_EQ(store.queryValue(hkcu, base, "Appearance"), "0");
    EXPECT_EQ(store.queryValue(hkcu, base, "DataFormat"), ""); // empty, not missing
    EXPECT_EQ(store.queryValue(hkcu, base, "Missing"), std::nullopt);
    EXPECT_EQ(store.queryValue(hkcu, "SOFTWARE\\Missing", "Appearance"), std::nullopt);

    // The empty name is the default value; the empty path is the root itself.
    EXPECT_EQ(store.queryValue(hkcu, base, ""), std::nullopt);
    ASSERT_TRUE(store.setValue(hkcu, base, "", "default"));
    ASSERT_TRUE(store.setValue(hkcu, "", "AtRoot", "top"));
    EXPECT_EQ(store.queryValue(hkcu, base, ""), "default");
    EXPECT_EQ(store.queryValue(hkcu, "", "AtRoot"), "top");
    EXPECT_TRUE(store.keyExists(hkcu, ""));

    // Each root is a tree of its own, and everything is on disk for the next program.
    EXPECT_FALSE(store.keyExists(Root::LocalMachine, base));
    const Store again(dir.path());
    EXPECT_EQ(again.queryValue(hkcu, base, "Appearance"), "0");
    EXPECT_EQ(again.valueNames(hkcu, base), QStringList({"Appearance", "DataFormat", ""}));
}

TEST_F(StoreTest, PathFormsAddressTheSameKey)
{
    ASSERT_TRUE(store.createKey(hkcu, "A\\B"));
    ASSERT_TRUE(store.setValue(hkcu, "A\\B", "v", "1"));
    for (const char *path : {"A\\B", "\\A\\B", "A\\B\\", "\\\\A\\B\\\\", "a\\b"}) {
        EXPECT_TRUE(store.keyExists(hkcu, path)) << path;
        EXPECT_EQ(store.queryValue(hkcu, path, "v"), "1") << path;
    }
    for (const char *path : {"A\\\\B", "X\\\\Y", "\\A\\\\\\B"}) {
        EXPECT_FALSE(store.keyExists(hkcu, path)) << path;
        EXPECT_FALSE(store.createKey(hkcu, path)) << path;
        EXPECT_FALSE(store.setValue(hkcu, path, "v", "2")) << path;
        EXPECT_FALSE(store.deleteKey(hkcu, path)) << path;
    }
    EXPECT_EQ(store.subKeys(hkcu, ""), QStringList{"A"}); // nothing made of the bad paths
    EXPECT_EQ(store.queryValue(hkcu, "A\\B", "v"), "1");
}

TEST_F(StoreTest, NamesIgnoreCaseAndKeepTheirFirstSpelling)
{
    ASSERT_TRUE(store.createKey(hkcu, "Software\\Keswire"));
    ASSERT_TRUE(store.createKey(hkcu, "SOFTWARE\\keswire\\Chart2d"));
    ASSERT_TRUE(store.createKey(hkcu, "software\\ÉTÉ"));
    EXPECT_TRUE(store.keyExists(hkcu, "SOFTWARE\\été"));
    EXPECT_EQ(store.subKeys(hkcu, ""), QStringList{"Software"});
    EXPECT_EQ(store.subKeys(hkcu, "software"), QStringList({"Keswire", "ÉTÉ"}));
    EXPECT_EQ(store.subKeys(hkcu, "software\\KESWIRE"), QStringList{"Chart2d"});

    ASSERT_TRUE(store.setValue(hkcu, "Software\\Keswire", "UnderLine", "True"));
    ASSERT_TRUE(store.setValue(hkcu, "software\\keswire", "UNDERLINE", "False"));
    EXPECT_EQ(store.valueNames(hkcu, "Software\\Keswire"), QStringList{"UnderLine"});
    EXPECT_EQ(store.queryValue(hkcu, "Software\\Keswire", "Underline"), "False");
    EXPECT_TRUE(store.deleteValue(hkcu, "SOFTWARE\\KESWIRE", "underline"));
    EXPECT_TRUE(store.valueNames(hkcu, "Software\\Keswire").isEmpty());
}

TEST_F(StoreTest, ValuesAndNamesRoundTripAnyText)
{
    const QString texts[] = {
        "",
        "  leading and trailing blanks  ",
        "two\nlines\r\nand a third\r",
        "back\\slash\\",
        "a=b=c",
        "\"double\" and 'single' quotes",
        "tab\tand {\"json\": [1, 2]}",
        "€ 日本語 😀 ü",
        QString("nul") + QChar(0) + "inside",
        QString(100000, u'x'),
    };
    ASSERT_TRUE(store.createKey(hkcu, "Texts"));
    for (int i = 0; i < int(std::size(texts)); ++i) {
        ASSERT_TRUE(store.setValue(hkcu, "Texts", "value " + QString::number(i), texts[i]));
        ASSERT_TRUE(store.setValue(hkcu, "Texts", texts[i], QString::number(i))); // as a name
    }
    const Store again(dir.path());
    for (int i = 0; i < int(std::size(texts)); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(again.queryValue(hkcu, "Texts", "value " + QString::number(i)), texts[i]);
        EXPECT_EQ(again.queryValue(hkcu, "Texts", texts[i]), QString::number(i));
    }
    EXPECT_EQ(again.valueNames(hkcu, "Texts").size(), 2 * qsizetype(std::size(texts)));
}

TEST_F(StoreTest, ListsAndDeletesInTheOrderCreated)
{
    for (const char *name : {"Zeta", "alpha", "Mid"})
        ASSERT_TRUE(store.createKey(hkcu, QString("K\\") + name));
    for (const char *name : {"z", "a", "m"})
        ASSERT_TRUE(store.setValue(hkcu, "K", name, name));
    EXPECT_EQ(store.subKeys(hkcu, "K"), QStringList({"Zeta", "alpha", "Mid"}));
    EXPECT_EQ(store.valueNames(hkcu, "K"), QStringList({"z", "a", "m"}));

    EXPECT_TRUE(store.deleteValue(hkcu, "K", "A"));
    EXPECT_FALSE(store.deleteValue(hkcu, "K", "A")); // gone already
    EXPECT_FALSE(store.deleteValue(hkcu, "Missing", "z"));
    EXPECT_EQ(store.valueNames(hkcu, "K"), QStringList({"z", "m"}));
    ASSERT_TRUE(store.setValue(hkcu, "K", "a", "again"));
    EXPECT_EQ(store.valueNames(hkcu, "K"), QStringList({"z", "m", "a"}));

    EXPECT_TRUE(store.subKeys(hkcu, "Missing").isEmpty());
    EXPECT_TRUE(store.valueNames(hkcu, "Missing").isEmpty());
}

TEST_F(StoreTest, DeletesOnlyExistingKeysWithoutSubkeys)
{
    ASSERT_TRUE(store.createKey(hkcu, "K\\Leaf"));
    ASSERT_TRUE(store.setValue(hkcu, "K\\Leaf", "v", "1"));

    EXPECT_FALSE(store.deleteKey(hkcu, "K")); // has a subkey
    EXPECT_TRUE(store.keyExists(hkcu, "K\\Leaf"));
    EXPECT_FALSE(store.deleteKey(hkcu, "K\\Missing"));
    EXPECT_FALSE(store.deleteKey(hkcu, "Missing\\Leaf"));
    EXPECT_FALSE(store.deleteKey(hkcu, "")); // the root stays
    EXPECT_FALSE(store.deleteKey(hkcu, "\\"));

    EXPECT_TRUE(store.deleteKey(hkcu, "k\\LEAF"));
    EXPECT_FALSE(store.keyExists(hkcu, "K\\Leaf"));
    ASSERT_TRUE(store.createKey(hkcu, "K\\Leaf"));
    EXPECT_TRUE(store.valueNames(hkcu, "K\\Leaf").isEmpty()); // its values went with it
    EXPECT_TRUE(store.deleteKey(hkcu, "K\\Leaf"));
    EXPECT_TRUE(store.deleteKey(hkcu, "K"));
    EXPECT_TRUE(store.subKeys(hkcu, "").isEmpty());
}
