#include "platform/registry/Key.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>

#include <functional>

using namespace platform::registry;

namespace {

class KeyTest : public testing::Test
{
protected:
    QTemporaryDir dir;
    Store store{dir.path()};
    Key hklm{Root::LocalMachine, store};
};

// Deletes `name` below `parent` with everything under it, the way an uninstaller walks a key:
// values by enumeration, then subkeys while there is one at index 0.
Status deleteTree(const Key &parent, const QString &name)
{
    Key key;
    if (const Status status = openKey(parent, name, Access::ReadWrite, key); status != Success)
        return status;
    QString valueName;
    QString value;
    while (enumValue(key, 0, valueName, value) == Success) {
        if (const Status status = deleteValue(key, valueName); status != Success)
            return status;
    }
    QString child;
    while (enumKey(key, 0, child) == Success) {
        if (const Status status = deleteTree(key, child); status != Success)
            return status;
    }
    closeKey(key);
    return deleteKey(parent, name);
}

} // namespace

TEST_F(KeyTest, OpensCreatesReadsWritesAndCloses)
{
    const QString base = "SOFTWARE\\Keswire\\PelmoraApp";
    Key key;
    EXPECT_EQ(openKey(hklm, base, Access::Read, key), NotFound);
    EXPECT_FALSE(key.isOpen());

    ASSERT_EQ(createKey(hklm, base, key), Success);
    EXPECT_TRUE(key.isOpen());
    EXPECT_EQ(key.access(), Access::ReadWrite);
    EXPECT_EQ(key.fullPath(), "HKEY_LOCAL_MACHINE\\SOFTWARE\\Keswire\\PelmoraApp");
    EXPECT_EQ(setValue(key, "Appearance", "1"), Success);
    EXPECT_EQ(closeKey(key), Success);
    EXPECT_EQ(closeKey(key), InvalidHandle);
    EXPECT_EQ(setValue(key, "Appearance", "2"), InvalidHandle);

    ASSERT_EQ(openKey(hklm, "software\\keswire\\pelmoraapp", Access::Read, key), Success);
    QString value = "unchanged";
    EXPECT_EQ(queryValue(key, "APPEARANCE", value), Success);
    EXPECT_EQ(value, "1");
    value = "unchanged";
    EXPECT_EQ(queryValue(key, "Missing", value), NotFound);
    EXPECT_EQ(value, "unchanged");
    EXPECT_EQ(setValue(key, "Appearance", "2"), AccessDenied); // opened for reading

    // A key opened below an opened key; a root opened with the empty path is the root.
    Key parent;
    Key child;
    ASSERT_EQ(openKey(hklm, "SOFTWARE", Access::Read | Access::Write, parent), Success);
    ASSERT_EQ(createKey(parent, "Keswire\\PelmoraApp\\Preview", child), Success);
    EXPECT_EQ(child.path(), "SOFTWARE\\Keswire\\PelmoraApp\\Preview");
    EXPECT_EQ(setValue(child, "Comment", "c"), Success);
    EXPECT_EQ(store.queryValue(Root::LocalMachine, base + "\\Preview", "Comment"), "c");
    ASSERT_EQ(openKey(hklm, "", Access::Read, key), Success);
    EXPECT_EQ(key.fullPath(), "HKEY_LOCAL_MACHINE");
    EXPECT_EQ(enumKey(key, 0, value), Success);
    EXPECT_EQ(value, "SOFTWARE");
}

TEST_F(KeyTest, FailuresAnswerTheirStatus)
{
    ASSERT_TRUE(store.createKey(Root::LocalMachine, "A\\B"));
    ASSERT_TRUE(store.createKey(Root::LocalMachine, "Gone"));
    ASSERT_TRUE(store.setValue(Root::LocalMachine, "A\\B", "v", "1"));
    Key readA;
    Key writeA;
    Key readB;
    Key gone;
    ASSERT_EQ(openKey(hklm, "A", Access::Read, readA), Success);
    ASSERT_EQ(openKey(hklm, "A", Access::Write, writeA), Success);
    ASSERT_EQ(openKey(hklm, "A\\B", Access::Read, readB), Success);
    ASSERT_EQ(openKey(hklm, "Gone", Access::ReadWrite, gone), Success);
    ASSERT_TRUE(store.deleteKey(Root::LocalMachine, "Gone"));

    QString text;
    QString other;
    Key result;
    const Key closed;
    const std::pair<const char *, std::function<Status()>> cases[] = {
        {"open a missing key", [&] { return openKey(hklm, "Missing", Access::Read, result); }},
        {"open a malformed path", [&] { return openKey(hklm, "A\\\\B", Access::Read, result); }},
        {"open below a closed key", [&] { return openKey(closed, "A", Access::Read, result); }},
        {"create a malformed path", [&] { return createKey(hklm, "A\\\\C", result); }},
        {"query a missing value", [&] { return queryValue(readB, "w", text); }},
        {"query through a write handle", [&] { return queryValue(writeA, "v", text); }},
        {"query a deleted key", [&] { return queryValue(gone, "v", text); }},
        {"set through a read handle", [&] { return setValue(readA, "v", "2"); }},
        {"set in a deleted key", [&] { return setValue(gone, "v", "2"); }},
        {"delete a missing value", [&] { return deleteValue(writeA, "v"); }},
        {"delete a value through a read handle", [&] { return deleteValue(readB, "v"); }},
        {"delete a key with a subkey", [&] { return deleteKey(hklm, "A"); }},
        {"delete a missing key", [&] { return deleteKey(hklm, "A\\Missing"); }},
        {"delete the root", [&] { return deleteKey(hklm, ""); }},
        {"enumerate keys past the end", [&] { return enumKey(readA, 1, text); }},
        {"enumerate keys before the start", [&] { return enumKey(readA, -1, text); }},
        {"enumerate values past the end", [&] { return enumValue(readB, 1, text, other); }},
        {"enumerate a key without values", [&] { return enumValue(readA, 0, text, other); }},
        {"enumerate a closed key", [&] { return enumKey(closed, 0, text); }},
    };
    const Status expected[] = {
        NotFound,     InvalidParameter, InvalidHandle, InvalidParameter, NotFound,
        AccessDenied, NotFound,         AccessDenied,  NotFound,         NotFound,
        AccessDenied, AccessDenied,     NotFound,      AccessDenied,     NoMoreItems,
        NoMoreItems,  NoMoreItems,      NoMoreItems,   InvalidHandle,
    };
    static_assert(std::size(cases) == std::size(expected));
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(cases[i].second(), expected[i]) << cases[i].first;

    // None of it changed the store.
    EXPECT_EQ(store.subKeys(Root::LocalMachine, ""), QStringList{"A"});
    EXPECT_EQ(store.subKeys(Root::LocalMachine, "A"), QStringList{"B"});
    EXPECT_EQ(store.queryValue(Root::LocalMachine, "A\\B", "v"), "1");
}

TEST_F(KeyTest, EnumeratesInOrderAndDeletesATree)
{
    for (const char *path : {"Vendor\\App\\Settings", "Vendor\\App\\Fonts", "Vendor\\Other"})
        ASSERT_TRUE(store.createKey(Root::LocalMachine, path));
    ASSERT_TRUE(store.createKey(Root::LocalMachine, "Keep"));
    ASSERT_TRUE(store.setValue(Root::LocalMachine, "Vendor\\App", "Path", "/opt/app"));
    ASSERT_TRUE(store.setValue(Root::LocalMachine, "Vendor\\App", "", "default"));
    ASSERT_TRUE(store.setValue(Root::LocalMachine, "Vendor\\App\\Fonts", "Name", "Arial"));

    Key app;
    ASSERT_EQ(openKey(hklm, "Vendor\\App", Access::Read, app), Success);
    QStringList keys;
    QString name;
    for (int i = 0; enumKey(app, i, name) == Success; ++i)
        keys.append(name);
    EXPECT_EQ(keys, QStringList({"Settings", "Fonts"}));
    QStringList values;
    QString value;
    for (int i = 0; enumValue(app, i, name, value) == Success; ++i)
        values.append(name + "=" + value);
    EXPECT_EQ(values, QStringList({"Path=/opt/app", "=default"}));

    EXPECT_EQ(deleteTree(hklm, "vendor"), Success);
    EXPECT_EQ(store.subKeys(Root::LocalMachine, ""), QStringList{"Keep"});
    EXPECT_EQ(enumKey(app, 0, name), NotFound); // the handle's key is gone
}
