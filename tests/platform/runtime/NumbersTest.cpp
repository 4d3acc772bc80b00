// The number rules: banker's rounding into 16- and 32-bit integers, the locale-aware numeric
// test and conversion, the leading-number rule, and the text of a number.
#include "platform/runtime/Numbers.h"

#include "tests/platform/runtime/RuntimeTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

using namespace platform::runtime;
using runtime_test::errorOf;
using runtime_test::LocaleGuard;

namespace {

const QString Overflow = QStringLiteral("Overflow");
const QString TypeMismatch = QStringLiteral("Type mismatch");

struct RoundCase
{
    double value;
    qint32 expected;
};

} // namespace

TEST(Rounding, IntegerRoundsHalfToEven)
{
    const std::vector<RoundCase> cases = {
        // clang-format off
        {0, 0},           {0.4, 0},         {0.5, 0},         {0.6, 1},
        {1.5, 2},         {2.5, 2},         {3.5, 4},         {4.5, 4},
        {-0.5, 0},        {-1.5, -2},       {-2.5, -2},       {-3.5, -4},
        {2.4999, 2},      {2.5001, 3},      {-2.5001, -3},    {-2.4999, -2},
        {32767, 32767},   {32767.4, 32767}, {32766.5, 32766}, {-32768, -32768},
        {-32768.5, -32768}, {-32767.5, -32768}, {1e-300, 0},   {-7.5, -8},
        // clang-format on
    };
    for (const RoundCase &c : cases)
        EXPECT_EQ(toInteger(c.value), c.expected) << "toInteger(" << c.value << ")";
}

TEST(Rounding, IntegerOverflows)
{
    // clang-format off
    const std::vector<double> cases = {32767.5, 32768, 40000, -32768.6, -32769, 1e10, -1e10,
                                       // clang-format on
                                       std::numeric_limits<double>::infinity(),
                                       std::numeric_limits<double>::quiet_NaN()};
    for (double value : cases)
        EXPECT_EQ(errorOf([&] { toInteger(value); }), Overflow) << "toInteger(" << value << ")";
}

TEST(Rounding, LongRoundsHalfToEven)
{
    const std::vector<RoundCase> cases = {
        {0.5, 0},
        {1.5, 2},
        {2.5, 2},
        {-2.5, -2},
        {-3.5, -4},
        {1234567.5, 1234568},
        {1234566.5, 1234566},
        {-1234566.5, -1234566},
        {40000.5, 40000},
        {2147483647, std::numeric_limits<qint32>::max()},
        {2147483646.5, 2147483646},
        {2147483647.4, std::numeric_limits<qint32>::max()},
        {-2147483648.0, std::numeric_limits<qint32>::min()},
        {-2147483648.5, std::numeric_limits<qint32>::min()},
    };
    for (const RoundCase &c : cases)
        EXPECT_EQ(toLong(c.value), c.expected) << "toLong(" << c.value << ")";
}

TEST(Rounding, LongOverflows)
{
    // clang-format off
    const std::vector<double> cases = {2147483647.5, 2147483648.0, 3e9, -2147483648.6,
                                       -2147483649.0, 1e300,
        // clang-format on
        -std::numeric_limits<double>::infinity(), std::numeric_limits<double>::quiet_NaN()};
    for (double value : cases)
        EXPECT_EQ(errorOf([&] { toLong(value); }), Overflow) << "toLong(" << value << ")";
}

namespace {

struct TextIntCase
{
    const char *locale;
    const char *text;
    qint32 expected; // ignored when error is set
    const char *error;
};

} // namespace

TEST(Rounding, IntegerFromText)
{
    const std::vector<TextIntCase> cases = {
        // clang-format off
        {"en_US", "2.5", 2, nullptr},        {"en_US", "3.5", 4, nullptr},
        {"en_US", "  -2.5 ", -2, nullptr},   {"en_US", "1,000", 1000, nullptr},
        {"es_ES", "3,5", 4, nullptr},        {"es_ES", "2,5", 2, nullptr},
        {"en_US", "&HFFFF", -1, nullptr},    {"en_US", "&H7FFF", 32767, nullptr},
        {"en_US", "&H8000", -32768, nullptr}, {"en_US", "&O17", 15, nullptr},
        {"en_US", "32767.5", 0, "Overflow"}, {"en_US", "&H10000", 0, "Overflow"},
        {"en_US", "-32769", 0, "Overflow"},  {"en_US", "abc", 0, "Type mismatch"},
        {"en_US", "", 0, "Type mismatch"},   {"en_US", "  ", 0, "Type mismatch"},
        // clang-format on
        {"en_US", "1.2.3", 0, "Type mismatch"},
    };
    for (const TextIntCase &c : cases) {
        LocaleGuard locale(c.locale);
        const QString text = QString::fromLatin1(c.text);
        if (c.error)
            EXPECT_EQ(errorOf([&] { toInteger(text); }), QLatin1String(c.error)) << c.text;
        else
            EXPECT_EQ(toInteger(text), c.expected) << c.locale << " " << c.text;
    }
}

TEST(Rounding, LongFromText)
{
    const std::vector<TextIntCase> cases = {
        {"en_US", "1234.5", 1234, nullptr},
        {"en_US", "1,234.5", 1234, nullptr},
        {"en_US", "1235.5", 1236, nullptr},
        {"en_US", "1e3", 1000, nullptr},
        {"en_US", "-2147483648", std::numeric_limits<qint32>::min(), nullptr},
        {"es_ES", "1.234,5", 1234, nullptr},
        {"es_ES", "-1.235,5", -1236, nullptr},
        {"en_US", "&HFFFF", 65535, nullptr},
        {"en_US", "&HFFFFFF", 16777215, nullptr},
        {"en_US", "&H80000000", std::numeric_limits<qint32>::min(), nullptr},
        {"en_US", "&H8000000F", -2147483633, nullptr}, // a system colour read back
        {"en_US", "&HFFFFFFFF", -1, nullptr},
        {"en_US", "&H100000000", 0, "Overflow"},
        {"en_US", "2147483648", 0, "Overflow"},
        {"en_US", "1e10", 0, "Overflow"},
        {"en_US", "&HError", 0, "Type mismatch"},
        {"en_US", "&H", 0, "Type mismatch"},
        {"en_US", "Error", 0, "Type mismatch"},
    };
    for (const TextIntCase &c : cases) {
        LocaleGuard locale(c.locale);
        const QString text = QString::fromLatin1(c.text);
        if (c.error)
            EXPECT_EQ(errorOf([&] { toLong(text); }), QLatin1String(c.error)) << c.text;
        else
            EXPECT_EQ(toLong(text), c.expected) << c.locale << " " << c.text;
    }
}

namespace {

struct NumericCase
{
    const char *text; // UTF-8
    bool numeric;
    double value; // when numeric
};

void checkNumeric(const char *locale, const std::vector<NumericCase> &cases)
{
    LocaleGuard guard(locale);
    for (const NumericCase &c : cases) {
        const QString text = QString::fromUtf8(c.text);
        EXPECT_EQ(isNumeric(text), c.numeric) << locale << " isNumeric(\"" << c.text << "\")";
        if (c.numeric)
            EXPECT_DOUBLE_EQ(toDouble(text), c.value)
                << locale << " toDouble(\"" << c.text << "\")";
        else
            EXPECT_NE(errorOf([&] { toDouble(text); }), QStringLiteral("(no error)")) << c.text;
    }
}

} // namespace

TEST(Numeric, EnglishLocale)
{
    checkNumeric("en_US",
                 {
                     {"0", true, 0},
                     {"12", true, 12},
                     {"-12", true, -12},
                     {"+12", true, 12},
                     {"12-", true, -12},
                     {"12+", true, 12},
                     {" 12 ", true, 12},
                     {"\t12\r\n", true, 12},
                     {"1,234", true, 1234},
                     {"1,234.5", true, 1234.5},
                     {"1,234,567.25", true, 1234567.25},
                     {"1,2", true, 12}, // thousands separators are taken laxly, as the runtime did
                     {"1.5", true, 1.5},
                     {".5", true, 0.5},
                     {"5.", true, 5},
                     {"-.5", true, -0.5},
                     {"1e5", true, 1e5},
                     {"1E+5", true, 1e5},
                     {"1.5e-3", true, 0.0015},
                     {"2D2", true, 200},
                     {"$12", true, 12},
                     {"-$12", true, -12},
                     {"$-12", true, -12},
                     {"12$", true, 12},
                     {"$ 12", true, 12},
                     {"- 12", true, -12},
                     {"(12)", true, -12},
                     {"($1,234.50)", true, -1234.5},
                     {"( 12 )", true, -12},
                     {"&HFF", true, 255},
                     {"&hff", true, 255},
                     {"&O17", true, 15},
                     {"&HFFFFFFFF", true, -1},
                     {"", false, 0},
                     {" ", false, 0},
                     {"abc", false, 0},
                     {"12abc", false, 0},
                     {"1.2.3", false, 0},
                     {",5", false, 0},
                     {"e5", false, 0},
                     {"1e", false, 0},
                     {"1e+", false, 0},
                     {".", false, 0},
                     {"-", false, 0},
                     {"$", false, 0},
                     {"()", false, 0},
                     {"(12", false, 0},
                     {"12)", false, 0},
                     {"-(12)", false, 0},
                     {"--12", false, 0},
                     {"-12-", false, 0},
                     {"1 2", false, 0},
                     {"12%", false, 0},
                     {"\u20ac12", false, 0}, // not this locale's currency sign
                     {"$$12", false, 0},
                     {"&H", false, 0},
                     {"&HG", false, 0},
                     {"&H100000000", false, 0},
                     {"1e999", false, 0},
                     {"#12", false, 0},
                 });
}

TEST(Numeric, SpanishLocaleSwapsTheSeparators)
{
    checkNumeric("es_ES", {
                              {"1,5", true, 1.5},
                              {"1.234,5", true, 1234.5},
                              {"-1.234,56", true, -1234.56},
                              {"1.234.567", true, 1234567},
                              {"1.5", true, 15}, // "." groups thousands here
                              {",5", true, 0.5},
                              {"12 \u20ac", true, 12},
                              {"\u20ac12", true, 12},
                              {"-12\u20ac", true, -12},
                              {"(1,5)", true, -1.5},
                              {"1e3", true, 1000},
                              {"1,5E-1", true, 0.15},
                              {"1,2,3", false, 0},
                              {"1,5.3", false, 0},
                              {"$12", false, 0},
                              {".5", false, 0},
                              {"", false, 0},
                          });
}

TEST(Numeric, ConversionErrors)
{
    LocaleGuard locale("en_US");
    EXPECT_EQ(errorOf([] { toDouble(QStringLiteral("abc")); }), TypeMismatch);
    EXPECT_EQ(errorOf([] { toDouble(QString()); }), TypeMismatch);
    EXPECT_EQ(errorOf([] { toDouble(QStringLiteral("1e999")); }), Overflow);
    EXPECT_EQ(errorOf([] { toDouble(QStringLiteral("&H1FFFFFFFF")); }), Overflow);
    EXPECT_EQ(toDouble(QStringLiteral("1e-999")), 0.0);
}

namespace {

struct ValCase
{
    const char *text;
    double expected;
};

} // namespace

TEST(LeadingNumber, Table)
{
    const std::vector<ValCase> cases = {
        {"", 0},
        {"   ", 0},
        {"12", 12},
        {"  12abc", 12},
        {"-1250", -1250},
        {"+3", 3},
        {"12%", 12},
        {"12.5%", 12.5},
        {"1,234.50", 1},
        {"1234.50", 1234.5},
        {"(5)", 0},
        {"$12", 0},
        {"#ERR", 0},
        {"abc", 0},
        {"1.2.3", 1.2},
        {".5", 0.5},
        {"-.5", -0.5},
        {"5.", 5},
        {"1 2 3", 123},
        {" \t\n- 1 250", -1250},
        {"\r1", 0}, // a carriage return is not a blank to Val
        {"1e3", 1000},
        {"1E+3", 1000},
        {"2.5e-1", 0.25},
        {"1 e 2", 100},
        {"1d2", 100},
        {"1D-2", 0.01},
        {"1e", 1},
        {"1e+", 1},
        {"1ex", 1},
        {"e5", 0},
        {"--1", 0},
        {"-", 0},
        {"1-2", 1},
        {"&HFF", 255},
        {"&hff", 255},
        {"&HFFFF", -1},
        {"&H7FFF", 32767},
        {"&H8000", -32768},
        {"&H10000", 65536},
        {"&HFFFFFFFF", -1},
        {"&H1Fz", 31},
        {"&O17", 15},
        {"&o777", 511},
        {"&H", 0},
        {"&X1", 0},
        {"1e-400", 0},
        {"123456789012345678901234567890", 123456789012345678901234567890.0},
    };
    for (const ValCase &c : cases)
        EXPECT_DOUBLE_EQ(val(QString::fromLatin1(c.text)), c.expected)
            << "val(\"" << c.text << "\")";
}

TEST(LeadingNumber, IgnoresTheLocale)
{
    LocaleGuard locale("es_ES");
    EXPECT_EQ(val(QStringLiteral("1,5")), 1.0);
    EXPECT_EQ(val(QStringLiteral("1.5")), 1.5);
    EXPECT_EQ(val(QStringLiteral("1.234,50")), 1.234);
}

TEST(LeadingNumber, OverflowIsAnError)
{
    EXPECT_EQ(errorOf([] { val(QStringLiteral("1e400")); }), Overflow);
    EXPECT_EQ(errorOf([] { val(QStringLiteral("&H100000000")); }), Overflow);
}

namespace {

struct TextCase
{
    double value;
    const char *expected;
};

} // namespace

TEST(NumberText, GeneralFormWithTheLocaleSeparator)
{
    {
        LocaleGuard locale("en_US");
        const std::vector<TextCase> cases = {
            {0, "0"},
            {-0.0, "0"},
            {1234.567, "1234.567"},
            {-0.5, "-0.5"},
            {1234567, "1234567"},
            {1e15, "1E+15"},
            {123456789012345, "123456789012345"},
            {1e20, "1E+20"},
            {-1.5e-7, "-1.5E-07"},
            {0.0001, "0.0001"},
            {0.00001, "1E-05"},
            {1.0 / 3, "0.333333333333333"},
            {0.1 + 0.2, "0.3"},
            {999999.995, "999999.995"},
        };
        for (const TextCase &c : cases)
            EXPECT_EQ(numberText(c.value), QLatin1String(c.expected)) << c.value;
        EXPECT_EQ(singleText(0.1), QStringLiteral("0.1"));
        EXPECT_EQ(singleText(1.0 / 3), QStringLiteral("0.3333333"));
        EXPECT_EQ(singleText(16777217.0), QStringLiteral("1.677722E+07"));
        EXPECT_EQ(singleText(6500), QStringLiteral("6500"));
    }
    {
        LocaleGuard locale("es_ES");
        EXPECT_EQ(numberText(1234.567), QStringLiteral("1234,567"));
        EXPECT_EQ(numberText(-0.5), QStringLiteral("-0,5"));
        EXPECT_EQ(numberText(1.5e-7), QStringLiteral("1,5E-07"));
        EXPECT_EQ(singleText(0.5), QStringLiteral("0,5"));
        // What numberText writes, toDouble reads back under the same locale.
        EXPECT_EQ(toDouble(numberText(1234.567)), 1234.567);
    }
}
