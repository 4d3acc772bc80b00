#include "platform/forms/FontObject.h"
#include "platform/runtime/Error.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

using platform::forms::FontObject;

namespace {

// Counts the changes a font announces.
struct ChangeCount
{
    explicit ChangeCount(FontObject &font)
    {
        QObject::connect(&font, &FontObject::changed, [this] { ++value; });
    }
    int count() const { return value; }
    int value = 0;
};

} // namespace

TEST(FontObject, BoldAndWeightMoveTogether)
{
    FontObject font(QStringLiteral("Arial"), 10, false);
    font.setBold(true);
    EXPECT_EQ(font.weight(), 700);
    font.setWeight(500);
    EXPECT_FALSE(font.bold());
    font.setWeight(600);
    EXPECT_TRUE(font.bold());
    font.setBold(false);
    EXPECT_EQ(font.weight(), 400);
}

TEST(FontObject, InvalidValuesThrowAndChangeNothing)
{
    const struct
    {
        const char *what;
        std::function<void(FontObject &)> set;
    } cases[] = {
        {"empty name", [](FontObject &f) { f.setName(QStringLiteral("  ")); }},
        {"zero size", [](FontObject &f) { f.setSize(0); }},
        {"size that rounds to zero", [](FontObject &f) { f.setSize(0.00004); }},
        {"huge size", [](FontObject &f) { f.setSize(5000); }},
        {"NaN size", [](FontObject &f) { f.setSize(std::nan("")); }},
        {"weight over 1000", [](FontObject &f) { f.setWeight(1001); }},
        {"charset over 255", [](FontObject &f) { f.setCharset(256); }},
    };
    for (const auto &c : cases) {
        FontObject font(QStringLiteral("Arial"), 10, true);
        FontObject before(QStringLiteral("Arial"), 10, true);
        ChangeCount changes(font);
        EXPECT_THROW(c.set(font), platform::Error) << c.what;
        EXPECT_TRUE(font.sameAs(before)) << c.what;
        EXPECT_EQ(changes.count(), 0) << c.what;
    }
}

TEST(FontObject, CopiesAllEightAttributesWithOneChange)
{
    FontObject source(QStringLiteral("Courier New"), 12.33335, false);
    source.setItalic(true);
    source.setUnderline(true);
    source.setStrikethrough(true);
    source.setWeight(800);
    source.setCharset(161);
    EXPECT_DOUBLE_EQ(source.size(), 12.3334); // four decimals

    FontObject target;
    ChangeCount changes(target);
    target.copyFrom(source);
    EXPECT_TRUE(target.sameAs(source));
    EXPECT_EQ(changes.count(), 1);
    target.copyFrom(source);
    EXPECT_EQ(changes.count(), 1); // nothing new

    const QFont drawn = target.toQFont();
    EXPECT_EQ(drawn.family(), QStringLiteral("Courier New"));
    EXPECT_TRUE(drawn.italic() && drawn.underline() && drawn.strikeOut());
    EXPECT_EQ(drawn.weight(), QFont::ExtraBold);

    FontObject back;
    back.setCharset(161);
    back.setFromQFont(drawn);
    EXPECT_TRUE(back.sameAs(target));
}
