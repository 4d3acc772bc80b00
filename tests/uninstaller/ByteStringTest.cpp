// The byte string's and pointer list's edge behaviour, which the information reader and the
// run build on.
#include "uninstaller/ByteString.h"
#include "uninstaller/PointerList.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QTemporaryDir>

#include <string>

using uninstaller::ByteString;
using uninstaller::PointerList;

namespace {

std::string bytesOf(const ByteString &s)
{
    return std::string(s.data(), s.length());
}

ByteString raw(const std::string &bytes)
{
    return ByteString::fromBytes(bytes.data(), std::uint32_t(bytes.size()));
}

} // namespace

TEST(ByteString, EditsThatRunPastTheEndChangeNothing)
{
    ByteString s("abcde");
    s.erase(0, 9);
    EXPECT_EQ(bytesOf(s), "abcde");
    s.insert("XY", 6, 0);
    EXPECT_EQ(bytesOf(s), "abcde");
    s.insert("XY", 5, 0); // at the end: appends
    EXPECT_EQ(bytesOf(s), "abcdeXY");
    s.insert("123", 1, 2);
    EXPECT_EQ(bytesOf(s), "a12bcdeXY");
    s.erase(1, 2);
    EXPECT_EQ(bytesOf(s), "abcdeXY");

    const ByteString f("abcdef");
    EXPECT_EQ(bytesOf(f.substring(2, 3)), "cde");
    EXPECT_EQ(bytesOf(f.substring(0, -1)), "abcdef"); // a count from a failed search
    EXPECT_EQ(bytesOf(f.substring(4, 3)), "abcdef");
    EXPECT_EQ(f.at(5), 'f');
    EXPECT_EQ(f.at(6), 0xFF);
    EXPECT_EQ(f.at(-1), 0xFF);
}

TEST(ByteString, KeepsNulsAndAddsAHiddenTerminator)
{
    ByteString s;
    s.append("a\0b", 3);
    s.append('\0');
    ByteString copy(s);
    copy.append(s);
    EXPECT_EQ(copy.length(), 8u);
    EXPECT_EQ(bytesOf(copy), std::string("a\0b\0a\0b\0", 8));
    EXPECT_EQ(s.cStr()[4], '\0');
    EXPECT_EQ(s.length(), 4u);
    s.assign(nullptr);
    EXPECT_EQ(s.length(), 0u);
}

TEST(ByteString, Searches)
{
    const ByteString abcb("abcb");
    EXPECT_EQ(abcb.find("", 0, true), -1);
    EXPECT_EQ(ByteString().find("", 0, true), -1);
    EXPECT_EQ(abcb.find("B", 2, false), 3);
    EXPECT_EQ(abcb.find("B", 2, true), -1);
    EXPECT_EQ(abcb.find("cb", 2, true), 2);
    EXPECT_EQ(abcb.find("cbx", 2, true), -1); // longer than what is left
    EXPECT_EQ(abcb.find("a", 4, true), -1);
    EXPECT_EQ(abcb.findChar('b', 2), 3);
    EXPECT_EQ(abcb.findChar('b', 4), -1);
    EXPECT_EQ(abcb.findChar('z', 0), -1);
}

TEST(ByteString, CaseFoldingCoversAsciiAndThreeLatin1Letters)
{
    EXPECT_TRUE(ByteString("Files").equals("FILES", false));
    EXPECT_FALSE(ByteString("Files").equals("FILES", true));
    EXPECT_TRUE(ByteString().equals(ByteString(), true));
    EXPECT_FALSE(ByteString("ab").equals("abc", false));
    ByteString latin = raw("\xE4\xE5\xF6\xFC");
    latin.toUpper();
    EXPECT_EQ(bytesOf(latin), "\xC4\xC5\xD6\xFC");
}

TEST(ByteString, BigEndianNumbers)
{
    const ByteString s = raw(std::string("\x00\x00\x01\x02\x03", 5));
    EXPECT_EQ(s.readBigEndian32(0), 258u);
    EXPECT_EQ(s.readBigEndian32(1), 0x00010203u);
    EXPECT_EQ(s.readBigEndian32(2), 0xFFFFFFFFu);
    EXPECT_EQ(s.readBigEndian32(-1), 0xFFFFFFFFu);
    EXPECT_TRUE(s.isValidPos(4));
    EXPECT_FALSE(s.isValidPos(5));
    EXPECT_FALSE(s.isValidPos(-1));
}

TEST(ByteString, ReadsLines)
{
    struct Case
    {
        std::string text;
        bool raw;
        std::vector<std::string> lines;
    };
    const std::vector<Case> cases = {
        {"ab\r\ncd", false, {"ab", "cd"}},
        {"ab\r\n", false, {"ab"}},
        {"ab\r\n\r\n", false, {"ab", ""}}, // the empty last line is visited
        {std::string("a\0b\r\nc", 6), false, {"a", "c"}},
        {std::string("a\0b\r\nc", 6), true, {std::string("a\0b", 3), "c"}},
        {"a\rb\r", false, {"a\rb\r"}}, // a CR alone, or in the last byte, ends nothing
    };
    for (const Case &c : cases) {
        const ByteString text = raw(c.text);
        std::vector<std::string> lines;
        int pos = 0;
        ByteString line;
        while (text.isValidPos(pos)) {
            text.readLine(&pos, line, c.raw);
            lines.push_back(bytesOf(line));
        }
        EXPECT_EQ(lines, c.lines) << c.text;
        EXPECT_EQ(pos, int(text.length()));
    }

    const ByteString text("ab\r\ncd");
    int pos = 0;
    ByteString line;
    text.readLine(&pos, line, false);
    EXPECT_EQ(pos, 4);
    text.readLine(nullptr, line, false);
    EXPECT_EQ(bytesOf(line), "Invalid param");
    pos = 6;
    text.readLine(&pos, line, false);
    EXPECT_EQ(bytesOf(line), "Out of bounds");
    EXPECT_EQ(pos, 6);
}

TEST(ByteString, LoadsAndSavesFiles)
{
    QTemporaryDir dir;
    const QByteArray path = QFile::encodeName(dir.filePath(QStringLiteral("f")));
    const QByteArray empty = QFile::encodeName(dir.filePath(QStringLiteral("empty")));
    const QByteArray missing = QFile::encodeName(dir.filePath(QStringLiteral("missing")));
    EXPECT_EQ(raw(std::string("0123\0"
                              "56789",
                              10))
                  .saveFile(path.constData()),
              1);
    EXPECT_EQ(ByteString().saveFile(empty.constData()), 1);
    EXPECT_EQ(ByteString("x").saveFile(dir.filePath(QStringLiteral("no/such")).toUtf8()), -3);

    ByteString s;
    EXPECT_EQ(s.loadFile(path.constData(), 0, 0), 1);
    EXPECT_EQ(bytesOf(s), std::string("0123\0"
                                      "56789",
                                      10));
    EXPECT_EQ(s.loadFile(path.constData(), 3, 4), 1);
    EXPECT_EQ(bytesOf(s), std::string("3\0"
                                      "56",
                                      4));
    EXPECT_EQ(s.loadFile(path.constData(), 10, 0), -2);
    EXPECT_EQ(s.length(), 0u);
    EXPECT_EQ(s.loadFile(empty.constData(), 0, 0), -2);
    EXPECT_EQ(s.loadFile(missing.constData(), 0, 0), -3);
}

TEST(PointerList, KeepsEachPointerOnceInItsPlace)
{
    int a = 0, b = 0, c = 0, d = 0;
    PointerList list;
    EXPECT_EQ(list.add(&a, -1), 1);
    EXPECT_EQ(list.add(&b, -1), 1);
    EXPECT_EQ(list.add(&a, -1), -1);
    EXPECT_EQ(list.add(&c, 0), 1); // first
    EXPECT_EQ(list.add(&d, 7), 1); // a position out of range keeps it last
    ASSERT_EQ(list.count(), 4);
    EXPECT_EQ(list.get(0), &c);
    EXPECT_EQ(list.get(1), &a);
    EXPECT_EQ(list.get(3), &d);
    EXPECT_EQ(list.get(4), nullptr);
    EXPECT_EQ(list.get(-1), nullptr);

    EXPECT_EQ(list.move(0, 2), 1); // a b c d
    EXPECT_EQ(list.indexOf(&c), 2);
    EXPECT_EQ(list.indexOf(&a), 0);
    EXPECT_EQ(list.move(1, 1), -1);
    EXPECT_EQ(list.move(0, 4), -1);
    EXPECT_EQ(list.remove(&b), 1);
    EXPECT_EQ(list.remove(&b), -1);
    EXPECT_EQ(list.indexOf(&b), -1);
    EXPECT_EQ(list.count(), 3);
    list.release();
    EXPECT_EQ(list.count(), 0);
}
