// The number a formatted text shows, in a decimal-point and a decimal-comma locale.
#include "platform/runtime/ShownNumber.h"

#include "tests/platform/runtime/RuntimeTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using platform::runtime::shownNumber;
using runtime_test::LocaleGuard;

namespace {

struct ShownCase
{
    const char *locale;
    QString text;
    double expected;
};

} // namespace

TEST(ShownNumber, ReadsWhatTheTextShows)
{
    const std::vector<ShownCase> cases = {
        // plain numbers, grouping and decimals
        {"en_US", "12", 12},
        {"en_US", "1,234.50", 1234.5},
        {"en_US", "1,234,567", 1234567},
        {"en_US", "  42  ", 42},
        {"en_US", ".5", 0.5},
        {"en_US", "12.", 12},
        {"en_US", "1.5E+03", 1500},
        {"en_US", "2e-2", 0.02},
        // a separator that does not group three digits ends the number
        {"en_US", "1,5", 1},
        {"en_US", "1,2345", 1},
        // negatives: a sign before or after, parentheses
        {"en_US", "-12.5", -12.5},
        {"en_US", "12-", -12},
        {"en_US", "+7", 7},
        {"en_US", "(5)", -5},
        {"en_US", "(1,234)", -1234},
        {"en_US", "( 1,234.5 )", -1234.5},
        // currency and percent
        {"en_US", "$12", 12},
        {"en_US", "$1,234,567", 1234567},
        {"en_US", "-$1,234.57", -1234.57},
        {"en_US", "($1,234.57)", -1234.57},
        {"en_US", "$ 5", 5},
        {"en_US", "12%", 12},
        {"en_US", "12.5%", 12.5},
        {"en_US", "-0.5 %", -0.5},
        // a unit after the number is ignored
        {"en_US", "12 kg", 12},
        {"en_US", "1E", 1},
        // no number
        {"en_US", "", 0},
        {"en_US", "   ", 0},
        {"en_US", "#ERR", 0},
        {"en_US", "abc", 0},
        {"en_US", "-", 0},
        {"en_US", "()", 0},
        {"en_US", "$", 0},
        {"en_US", "n/a 12", 0},
        {"en_US", "1e999", 0},
        // the decimal-comma locale
        {"es_ES", "1.234,50", 1234.5},
        {"es_ES", "1.234.567", 1234567},
        {"es_ES", "12,5", 12.5},
        {"es_ES", "-1.234,57 €", -1234.57},
        {"es_ES", "(1.234,5)", -1234.5},
        {"es_ES", "12,5%", 12.5},
        {"es_ES", "12,5 %", 12.5},
        {"es_ES", "$12", 12},
        {"es_ES", "€ 3", 3},
        {"es_ES", "1,234.50", 1.234},
        {"es_ES", "#ERR", 0},
    };
    for (const ShownCase &c : cases) {
        {
            LocaleGuard locale(c.locale);
            EXPECT_DOUBLE_EQ(shownNumber(c.text), c.expected)
                << c.locale << " \"" << c.text.toStdString() << '"';
        }
        // A reader made for a locale reads the same whatever the locale in force.
        const platform::runtime::ShownNumberReader reader{QLocale(QString::fromLatin1(c.locale))};
        EXPECT_DOUBLE_EQ(reader(c.text), c.expected)
            << "reader " << c.locale << " \"" << c.text.toStdString() << '"';
    }
}

TEST(ShownNumber, ZeroIsNeverNegative)
{
    LocaleGuard locale("en_US");
    EXPECT_FALSE(std::signbit(shownNumber("(0)")));
    EXPECT_FALSE(std::signbit(shownNumber("-0.00")));
}
