// The view files' separate items: writing them, and reading them back.
#include "platform/runtime/Items.h"

#include "tests/platform/runtime/RuntimeTestSupport.h"

#include <gtest/gtest.h>

#include <QMetaType>

#include <vector>

using namespace platform::runtime;
using runtime_test::errorOf;
using runtime_test::LocaleGuard;

namespace {

struct WriteCase
{
    QVariant value;
    const char *expected;
};

} // namespace

TEST(Items, WriteEachType)
{
    const std::vector<WriteCase> cases = {
        {true, "#TRUE#"},
        {false, "#FALSE#"},
        {0, "0"},
        {-12, "-12"},
        {QVariant::fromValue<qint16>(-32768), "-32768"},
        {QVariant::fromValue<qint64>(3000000000LL), "3000000000"},
        {16777215u, "16777215"},
        {1.5, "1.5"},
        {-0.25, "-0.25"},
        {8.25, "8.25"}, // a font size: "." and no trailing zeros
        {10.0, "10"},   // no decimal point for a whole number
        {9.75, "9.75"},
        {1e20, "1E+20"},
        {1.0 / 3, "0.333333333333333"},
        {QVariant::fromValue(0.1f), "0.1"},
        {QStringLiteral("Time"), "\"Time\""},
        {QString(), "\"\""},
        {QStringLiteral("a,b"), "\"a,b\""},
        {QStringLiteral("  blanks  "), "\"  blanks  \""},
        {QStringLiteral("SELECT\r\nFROM [c]"), "\"SELECT\r\nFROM [c]\""},
        {QStringLiteral("NumDims=3"), "\"NumDims=3\""},
        {QByteArray("bytes"), "\"bytes\""},
        {QVariant(), ""},
        {QVariant::fromValue(nullptr), ""},
    };
    for (const WriteCase &c : cases)
        EXPECT_EQ(writeItem(c.value), QString::fromUtf8(c.expected)) << c.value.typeName();
}

TEST(Items, NumbersIgnoreTheLocale)
{
    LocaleGuard locale("es_ES");
    EXPECT_EQ(writeItem(1234.5), QStringLiteral("1234.5"));
    EXPECT_EQ(writeItem(QVariant::fromValue(8.25f)), QStringLiteral("8.25"));
    EXPECT_EQ(writeItem(true), QStringLiteral("#TRUE#"));
}

TEST(Items, WriteLinesOfTheViewFile)
{
    EXPECT_EQ(writeItems({QStringLiteral("FormPosition=0"), 0, 9600, 7200}),
              QStringLiteral("\"FormPosition=0\",0,9600,7200"));
    EXPECT_EQ(writeItems({QStringLiteral("orderDim(0)=0"), 1, 1, QStringLiteral("Time"),
                          QStringLiteral(""), 0, 0, 0, 0, 0, 0, 1, false}),
              QStringLiteral("\"orderDim(0)=0\",1,1,\"Time\",\"\",0,0,0,0,0,0,1,#FALSE#"));
    EXPECT_EQ(writeItems({QStringLiteral("Font=True"), 0, false, QStringLiteral("Arial"), 8.25,
                          false, true, 400}),
              QStringLiteral("\"Font=True\",0,#FALSE#,\"Arial\",8.25,#FALSE#,#TRUE#,400"));
    // An empty value writes nothing between its commas.
    EXPECT_EQ(writeItems({QStringLiteral("a"), QVariant(), 3}), QStringLiteral("\"a\",,3"));
    EXPECT_EQ(writeItems({}), QString());
}

TEST(Items, TextsWithAQuoteCannotBeWritten)
{
    EXPECT_TRUE(canWriteAsItem(QStringLiteral("a, b\r\nc")));
    EXPECT_FALSE(canWriteAsItem(QStringLiteral("say \"x\"")));
}

namespace {

// Writes the lines with CR LF, reads every item back as a value.
void checkRoundTrip(const std::vector<QVariantList> &lines)
{
    QString file;
    for (const QVariantList &line : lines)
        file += writeItems(line) + QStringLiteral("\r\n");
    ItemReader reader(file);
    for (const QVariantList &line : lines) {
        for (const QVariant &written : line) {
            ASSERT_FALSE(reader.atEnd()) << file.toStdString();
            const QVariant read = reader.readValue();
            if (!written.isValid()) {
                EXPECT_FALSE(read.isValid());
            } else if (written.typeId() == QMetaType::Bool) {
                EXPECT_EQ(read.typeId(), QMetaType::Bool);
                EXPECT_EQ(read.toBool(), written.toBool());
            } else if (written.typeId() == QMetaType::QString) {
                EXPECT_EQ(read.typeId(), QMetaType::QString);
                EXPECT_EQ(read.toString(), written.toString());
            } else {
                EXPECT_EQ(read.typeId(), QMetaType::Double) << written.typeName();
                EXPECT_EQ(read.toDouble(), written.toDouble());
            }
        }
    }
    EXPECT_TRUE(reader.atEnd());
}

} // namespace

TEST(Items, RoundTrips)
{
    checkRoundTrip({
        {QStringLiteral("FormEnabled=True")},
        {QStringLiteral("FormPosition=0"), 0, 9600, 7200},
        {QStringLiteral("MDX=SELECT {[Measures].[Sales]} ON AXIS(0)\r\nFROM [Sales]\r\n")},
        {QStringLiteral("Title=Sales, by region")},
        {QStringLiteral("orderDim(0)=0"), 1, 1, QStringLiteral("Time"), QString(), 0, 0, 0, 0, 0, 0,
         1, false},
        {QStringLiteral("Font=True"), 0, false, QStringLiteral("MS Sans Serif"), 8.25, false, true,
         400},
        {QStringLiteral("VisibleTitle=True"), -1},
        {QStringLiteral("  leading and trailing blanks  "), QStringLiteral("line\nfeed"),
         QStringLiteral("cr\ronly")},
        {QStringLiteral("a"), QVariant(), 3},
        {-0.25, 1e20, 0.1, 123456789012345.0, -2147483648.0},
        {true, false, QStringLiteral("#TRUE#"), QStringLiteral("12"), QString()},
    });
}

TEST(Items, DoublesKeepFifteenDigits)
{
    // As "Write #" did: a Double is written with 15 significant digits, so 1/3 comes back as
    // 0.333333333333333, not as the same Double.
    ItemReader reader(writeItem(1.0 / 3));
    EXPECT_EQ(reader.readValue().toDouble(), 0.333333333333333);
}

TEST(Items, RoundTripUnderASpanishLocale)
{
    LocaleGuard locale("es_ES");
    checkRoundTrip({{QStringLiteral("SemaphoreMinValue=1,5"), 1.5, 8.25, true}});
}

TEST(Items, ReaderSkipsBlanksAndSplitsAtCommasAndLineEnds)
{
    ItemReader reader(QStringLiteral("  12 , abc  ,\t\"q\"  ,#TRUE#\r\n1\n2\r3"));
    EXPECT_EQ(reader.readItem(), QStringLiteral("12"));
    EXPECT_EQ(reader.readItem(), QStringLiteral("abc"));
    EXPECT_EQ(reader.readItem(), QStringLiteral("q"));
    EXPECT_EQ(reader.readItem(), QStringLiteral("#TRUE#"));
    EXPECT_EQ(reader.readItem(), QStringLiteral("1")); // LF alone ends a line
    EXPECT_EQ(reader.readItem(), QStringLiteral("2")); // so does a lone CR
    EXPECT_EQ(reader.readItem(), QStringLiteral("3"));
    EXPECT_TRUE(reader.atEnd());
}

TEST(Items, ReaderValues)
{
    ItemReader reader(
        QStringLiteral("12,-0.25,1E+20,1D2,\"7\",#TRUE#,#false#,#NULL#,,abc,12abc,\"\",+5\r\n"));
    auto expectDouble = [&](double expected) {
        const QVariant v = reader.readValue();
        EXPECT_EQ(v.typeId(), QMetaType::Double);
        EXPECT_EQ(v.toDouble(), expected);
    };
    expectDouble(12);
    expectDouble(-0.25);
    expectDouble(1e20);
    expectDouble(100);
    QVariant v = reader.readValue();
    EXPECT_EQ(v.typeId(), QMetaType::QString); // quoted: a text, even if it looks like a number
    EXPECT_EQ(v.toString(), QStringLiteral("7"));
    v = reader.readValue();
    EXPECT_EQ(v.typeId(), QMetaType::Bool);
    EXPECT_TRUE(v.toBool());
    v = reader.readValue();
    EXPECT_EQ(v.typeId(), QMetaType::Bool);
    EXPECT_FALSE(v.toBool());
    EXPECT_FALSE(reader.readValue().isValid()); // #NULL#
    EXPECT_FALSE(reader.readValue().isValid()); // nothing between the commas
    EXPECT_EQ(reader.readValue(), QVariant(QStringLiteral("abc")));
    EXPECT_EQ(reader.readValue(), QVariant(QStringLiteral("12abc")));
    v = reader.readValue();
    EXPECT_EQ(v.typeId(), QMetaType::QString);
    EXPECT_TRUE(v.toString().isEmpty());
    expectDouble(5);
    EXPECT_TRUE(reader.atEnd());
}

TEST(Items, QuotedItemRunsAcrossLines)
{
    ItemReader reader(QStringLiteral("\"MDX=SELECT\r\nFROM [c], x\"\r\n\"Title=t\"\r\n"));
    EXPECT_EQ(reader.readItem(), QStringLiteral("MDX=SELECT\r\nFROM [c], x"));
    EXPECT_EQ(reader.readItem(), QStringLiteral("Title=t"));
    EXPECT_TRUE(reader.atEnd());
}

TEST(Items, MalformedInputHasADefinedResult)
{
    {
        // Characters between a closing quote and the separator are dropped.
        ItemReader reader(QStringLiteral("\"a\"xyz,b\r\n\"c\" \r\nd"));
        EXPECT_EQ(reader.readItem(), QStringLiteral("a"));
        EXPECT_EQ(reader.readItem(), QStringLiteral("b"));
        EXPECT_EQ(reader.readItem(), QStringLiteral("c"));
        EXPECT_EQ(reader.readItem(), QStringLiteral("d"));
        EXPECT_TRUE(reader.atEnd());
    }
    {
        // An unterminated quote takes the rest of the input.
        ItemReader reader(QStringLiteral("1,\"abc\r\ndef,"));
        EXPECT_EQ(reader.readItem(), QStringLiteral("1"));
        EXPECT_EQ(reader.readItem(), QStringLiteral("abc\r\ndef,"));
        EXPECT_TRUE(reader.atEnd());
        EXPECT_EQ(errorOf([&] { reader.readItem(); }), QStringLiteral("Input past end of file"));
    }
    {
        // A quote inside an unquoted item is an ordinary character.
        ItemReader reader(QStringLiteral("ab\"c,d"));
        EXPECT_EQ(reader.readItem(), QStringLiteral("ab\"c"));
        EXPECT_EQ(reader.readItem(), QStringLiteral("d"));
    }
    {
        // A blank line is one empty item; a line of blanks too.
        ItemReader reader(QStringLiteral("\r\n   \r\nx"));
        EXPECT_EQ(reader.readItem(), QString());
        EXPECT_EQ(reader.readItem(), QString());
        EXPECT_EQ(reader.readItem(), QStringLiteral("x"));
    }
    {
        ItemReader reader{QString()};
        EXPECT_TRUE(reader.atEnd());
        EXPECT_EQ(errorOf([&] { reader.readItem(); }), QStringLiteral("Input past end of file"));
        EXPECT_EQ(errorOf([&] { reader.readValue(); }), QStringLiteral("Input past end of file"));
        EXPECT_EQ(errorOf([&] { reader.readLine(); }), QStringLiteral("Input past end of file"));
    }
    {
        // A file that ends inside a line: the last item ends at the end of the input.
        ItemReader reader(QStringLiteral("\"NumDims=2\",4"));
        EXPECT_EQ(reader.readItem(), QStringLiteral("NumDims=2"));
        EXPECT_EQ(reader.readItem(), QStringLiteral("4"));
        EXPECT_TRUE(reader.atEnd());
    }
}

TEST(Items, LineInput)
{
    ItemReader reader(QStringLiteral("\"NumDims=3\",1\r\nline two, with \"quotes\"\nlast"));
    EXPECT_EQ(reader.readItem(), QStringLiteral("NumDims=3"));
    EXPECT_EQ(reader.readLine(), QStringLiteral("1"));
    EXPECT_EQ(reader.readLine(), QStringLiteral("line two, with \"quotes\""));
    EXPECT_EQ(reader.readLine(), QStringLiteral("last"));
    EXPECT_TRUE(reader.atEnd());
    EXPECT_EQ(errorOf([&] { reader.readLine(); }), QStringLiteral("Input past end of file"));
}
