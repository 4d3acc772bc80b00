#include "platform/automation/PropertyBag.h"
#include "platform/runtime/Error.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QFile>
#include <QTemporaryDir>

#include <cmath>
#include <limits>

using namespace platform::automation;

namespace {

QString writeText(const QTemporaryDir &dir, const QString &name, const QByteArray &content)
{
    QFile file(dir.filePath(name));
    EXPECT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
    return file.fileName();
}

bool sameValue(const QVariant &a, const QVariant &b)
{
    if (a.metaType() != b.metaType())
        return false;
    if (a.metaType().id() == QMetaType::Double && std::isnan(a.toDouble()))
        return std::isnan(b.toDouble());
    return a == b;
}

} // namespace

TEST(PropertyBag, DefaultsAreNotStoredAndNamesIgnoreCase)
{
    MemoryPropertyBag bag;
    bag.writeProperty("Caption", "Sales", "Sales");
    EXPECT_TRUE(bag.names().isEmpty());
    EXPECT_EQ(bag.readProperty("Caption", "Default"), "Default");

    bag.writeProperty("Caption", "Costs", "Sales");
    bag.writeProperty("CAPTION", "Margin", "Sales"); // the same property
    EXPECT_EQ(bag.names(), QStringList({"Caption"}));
    EXPECT_EQ(bag.readProperty("caption", "Sales"), "Margin");

    // Writing the default again removes what was stored.
    bag.writeProperty("caption", "Sales", "Sales");
    EXPECT_TRUE(bag.names().isEmpty());

    // An empty value differs from a non-empty default and is kept.
    bag.writeProperty("Tag", QVariant(), "x");
    EXPECT_EQ(bag.names(), QStringList({"Tag"}));
    EXPECT_FALSE(bag.readProperty("Tag", "x").isValid());

    // Numbers compare by value: 1.0 equals an integer default of 1.
    bag.writeProperty("Count", 1.0, 1);
    EXPECT_EQ(bag.names(), QStringList({"Tag"}));
}

TEST(PropertyBag, FileRoundTripKeepsTypes)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QVariant cases[] = {
        true,
        false,
        0,
        -5,
        std::numeric_limits<int>::max(),
        std::numeric_limits<int>::min(),
        int(0x8000000Fu), // a system colour
        0xFFFFFF,         // white
        qlonglong(1) << 60,
        2.0,
        0.1,
        -1e300,
        std::numeric_limits<double>::infinity(),
        std::numeric_limits<double>::quiet_NaN(),
        QString(),
        QStringLiteral("quotes \" and \\ backslash,\nline two, ñandú"),
        QVariant(),
    };
    FilePropertyBag bag;
    int n = 0;
    for (const QVariant &value : cases)
        bag.writeProperty(QStringLiteral("Value%1").arg(n++), value, QStringLiteral("sentinel"));
    const QString path = dir.filePath("control.properties");
    bag.save(path);

    FilePropertyBag loaded;
    loaded.writeProperty("Stale", 1, 0); // replaced by the file's contents
    loaded.load(path);
    EXPECT_EQ(loaded.names(), bag.names());
    n = 0;
    for (const QVariant &value : cases) {
        const QString name = QStringLiteral("VALUE%1").arg(n++);
        SCOPED_TRACE(name.toStdString());
        const QVariant read = loaded.readProperty(name, QStringLiteral("sentinel"));
        EXPECT_TRUE(sameValue(read, value))
            << read.metaType().name() << " " << read.toString().toStdString();
    }
}

TEST(PropertyBag, FileRefusesValuesItCannotKeep)
{
    FilePropertyBag bag;
    EXPECT_THROW(bag.writeProperty("Day", QDate(2024, 1, 1), QVariant()), platform::Error);
    EXPECT_TRUE(bag.names().isEmpty());
    bag.writeProperty("Day", QDate(2024, 1, 1), QDate(2024, 1, 1)); // the default: nothing kept

    MemoryPropertyBag memory;
    memory.writeProperty("Day", QDate(2024, 1, 1), QVariant());
    EXPECT_EQ(memory.readProperty("day", QVariant()), QDate(2024, 1, 1));
}

TEST(PropertyBag, BadFilesAreErrorsAndLeaveTheBagAsItWas)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QByteArray head = R"({"format": "pelmora-properties", "version": 1, )";
    struct Case
    {
        const char *what;
        QByteArray content;
        const char *fragment;
    };
    const Case cases[] = {
        {"empty", "", "corrupt"},
        {"cut short", head + R"("properties": [{"name": "A")", "corrupt"},
        {"not an object", "[1, 2]", "not a property file"},
        {"other format", R"({"format": "x", "version": 1, "properties": []})",
         "not a property file"},
        {"no version", R"({"format": "pelmora-properties", "properties": []})", "version"},
        {"newer version", R"({"format": "pelmora-properties", "version": 9, "properties": []})",
         "version 9"},
        {"no list", head + R"("properties": {}})", "no list of properties"},
        {"no name", head + R"("properties": [{"type": "int", "value": 1}]})", "no name"},
        {"unknown type", head + R"("properties": [{"name": "A", "type": "date", "value": 1}]})",
         "no valid type"},
        {"wrong value", head + R"("properties": [{"name": "A", "type": "int", "value": "x"}]})",
         "A is not a valid int"},
        {"fraction for int",
         head + R"("properties": [{"name": "A", "type": "int", "value": 1.5}]})",
         "A is not a valid int"},
        {"int out of range",
         head + R"("properties": [{"name": "A", "type": "int", "value": 3000000000}]})",
         "A is not a valid int"},
        {"twice", head + R"("properties": [{"name": "A", "type": "int", "value": 1},
                                           {"name": "a", "type": "int", "value": 2}]})",
         "appears twice"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const QString path = writeText(dir, "bad.properties", c.content);
        FilePropertyBag bag;
        bag.writeProperty("Kept", 5, 0);
        try {
            bag.load(path);
            ADD_FAILURE() << "loaded";
        } catch (const platform::Error &error) {
            EXPECT_TRUE(error.description().contains(path)) << error.what();
            EXPECT_TRUE(error.description().contains(c.fragment)) << error.what();
        }
        EXPECT_EQ(bag.readProperty("Kept", 0), 5);
        EXPECT_EQ(bag.names(), QStringList({"Kept"}));
    }
}

TEST(PropertyBag, MissingFilesAreErrors)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    FilePropertyBag bag;
    EXPECT_THROW(bag.load(dir.filePath("none.properties")), platform::Error);
    EXPECT_THROW(bag.save(dir.filePath("no/such/dir/x.properties")), platform::Error);
}
