// The Boolean words of the locale, in English and Spanish locales.
#include "platform/runtime/BoolWords.h"

#include "tests/platform/runtime/RuntimeTestSupport.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

using namespace platform::runtime;
using runtime_test::errorOf;
using runtime_test::LocaleGuard;

TEST(BoolWords, WordsOfTheLocale)
{
    struct Case
    {
        const char *locale;
        const char *trueWord;
        const char *falseWord;
    };
    const std::vector<Case> cases = {
        {"en_US", "True", "False"},      {"en_GB", "True", "False"},
        {"es_ES", "Verdadero", "Falso"}, {"es_MX", "Verdadero", "Falso"},
        {"C", "True", "False"},
    };
    for (const Case &c : cases) {
        LocaleGuard locale(c.locale);
        EXPECT_EQ(boolWord(true), QLatin1String(c.trueWord)) << c.locale;
        EXPECT_EQ(boolWord(false), QLatin1String(c.falseWord)) << c.locale;
    }
}

namespace {

struct ParseCase
{
    const char *text;
    std::optional<bool> expected;
};

const std::vector<ParseCase> &lenientCases()
{
    static const std::vector<ParseCase> cases = {
        // clang-format off
        {"True", true},       {"true", true},         {"TRUE", true},      {" False ", false},
        {"false", false},     {"Verdadero", true},    {"verdadero", true}, {"FALSO", false},
        {"Falso", false},     {"0", false},           {"-1", true},        {"1", true},
        {"2", true},          {"", std::nullopt},     {" ", std::nullopt}, {"yes", std::nullopt},
        {"#TRUE#", std::nullopt}, {"Truth", std::nullopt}, {"Error", std::nullopt},
        // clang-format on
    };
    return cases;
}

} // namespace

TEST(BoolWords, ParseAcceptsBothLanguagesInEveryLocale)
{
    for (const char *name : {"en_US", "es_ES"}) {
        LocaleGuard locale(name);
        for (const ParseCase &c : lenientCases())
            EXPECT_EQ(parseBoolWord(QString::fromLatin1(c.text)), c.expected)
                << name << " \"" << c.text << "\"";
    }
}

TEST(BoolWords, ParseReadsNumbersByTheLocale)
{
    {
        LocaleGuard locale("en_US");
        EXPECT_EQ(parseBoolWord(QStringLiteral("0.0")), false);
        EXPECT_EQ(parseBoolWord(QStringLiteral("0.5")), true);
    }
    {
        LocaleGuard locale("es_ES");
        EXPECT_EQ(parseBoolWord(QStringLiteral("0,0")), false);
        EXPECT_EQ(parseBoolWord(QStringLiteral("0,5")), true);
    }
}

TEST(BoolWords, RoundTripInBothLocales)
{
    for (const char *name : {"en_US", "es_ES"}) {
        LocaleGuard locale(name);
        EXPECT_EQ(parseBoolWord(boolWord(true)), true) << name;
        EXPECT_EQ(parseBoolWord(boolWord(false)), false) << name;
        EXPECT_EQ(toBoolean(boolWord(true)), true) << name;
        EXPECT_EQ(toBoolean(boolWord(false)), false) << name;
    }
}

TEST(BoolWords, StrictConversionKnowsEnglishAndTheLocaleOnly)
{
    struct Case
    {
        const char *locale;
        const char *text;
        int expected; // 1 true, 0 false, -1 Type mismatch
    };
    const std::vector<Case> cases = {
        // clang-format off
        {"en_US", "True", 1},       {"en_US", "false", 0},     {"en_US", " TRUE ", 1},
        {"en_US", "-1", 1},         {"en_US", "0", 0},         {"en_US", "Verdadero", -1},
        {"en_US", "Falso", -1},     {"en_US", "", -1},         {"en_US", "yes", -1},
        {"es_ES", "Verdadero", 1},  {"es_ES", "falso", 0},     {"es_ES", "True", 1},
        {"es_ES", "False", 0},      {"es_ES", "0,0", 0},       {"es_ES", "Cierto", -1},
        // clang-format on
    };
    for (const Case &c : cases) {
        LocaleGuard locale(c.locale);
        const QString text = QString::fromLatin1(c.text);
        if (c.expected < 0)
            EXPECT_EQ(errorOf([&] { toBoolean(text); }), QStringLiteral("Type mismatch"))
                << c.locale << " " << c.text;
        else
            EXPECT_EQ(toBoolean(text), c.expected == 1) << c.locale << " " << c.text;
    }
}
