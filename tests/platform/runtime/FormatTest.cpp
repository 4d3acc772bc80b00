// Format(number, pattern): every pattern of the format dialog's list on positive, negative, zero
// and fractional values, the pattern language behind them, and the named formats.
#include "platform/runtime/Format.h"

#include "tests/platform/runtime/RuntimeTestSupport.h"

#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <string>
#include <vector>

using namespace platform::runtime;
using runtime_test::LocaleGuard;

namespace {

// The values every list pattern is checked on.
// clang-format off
constexpr std::array<double, 9> Values = {1234.567, -1234.567, 0,      0.5,    0.045,
                                          999999.995, -0.4,   1234567.891, -0.0005};
// clang-format on

struct PatternRow
{
    const char *pattern;
    std::array<const char *, Values.size()> expected;
};

void checkRows(const char *locale, const std::vector<PatternRow> &rows)
{
    LocaleGuard guard(locale);
    for (const PatternRow &row : rows) {
        const QString pattern = QString::fromUtf8(row.pattern);
        for (std::size_t i = 0; i < Values.size(); ++i)
            EXPECT_EQ(format(Values[i], pattern), QString::fromUtf8(row.expected[i]))
                << locale << " Format(" << Values[i] << ", \"" << row.pattern << "\")";
    }
}

} // namespace

// The 18 entries of the format dialog's list, in its order.
TEST(Format, ListPatternsEnglish)
{
    // clang-format off
    checkRows("en_US", {
        //                1234.567      -1234.567       0         0.5        0.045      999999.995         -0.4       1234567.891       -0.0005
        {"0",           {"1235",        "-1235",        "0",      "1",       "0",       "1000000",         "0",       "1234568",        "0"}},
        {"0.00",        {"1234.57",     "-1234.57",     "0.00",   "0.50",    "0.05",    "1000000.00",      "-0.40",   "1234567.89",     "0.00"}},
        {"#,##0",       {"1,235",       "-1,235",       "0",      "1",       "0",       "1,000,000",       "0",       "1,234,568",      "0"}},
        {"(#,##0)",     {"(1,235)",     "-(1,235)",     "(0)",    "(1)",     "(0)",     "(1,000,000)",     "(0)",     "(1,234,568)",    "(0)"}},
        {"#,##0.00",    {"1,234.57",    "-1,234.57",    "0.00",   "0.50",    "0.05",    "1,000,000.00",    "-0.40",   "1,234,567.89",   "0.00"}},
        {"(#,##0.00)",  {"(1,234.57)",  "-(1,234.57)",  "(0.00)", "(0.50)",  "(0.05)",  "(1,000,000.00)",  "-(0.40)", "(1,234,567.89)", "(0.00)"}},
        {"$#,##0",      {"$1,235",      "-$1,235",      "$0",     "$1",      "$0",      "$1,000,000",      "$0",      "$1,234,568",     "$0"}},
        {"($#,##0)",    {"($1,235)",    "-($1,235)",    "($0)",   "($1)",    "($0)",    "($1,000,000)",    "($0)",    "($1,234,568)",   "($0)"}},
        {"$#,##0.00",   {"$1,234.57",   "-$1,234.57",   "$0.00",  "$0.50",   "$0.05",   "$1,000,000.00",   "-$0.40",  "$1,234,567.89",  "$0.00"}},
        {"($#,##0.00)", {"($1,234.57)", "-($1,234.57)", "($0.00)", "($0.50)", "($0.05)", "($1,000,000.00)", "-($0.40)", "($1,234,567.89)", "($0.00)"}},
        {"0%",          {"123457%",     "-123457%",     "0%",     "50%",     "5%",      "100000000%",      "-40%",    "123456789%",     "0%"}},
        {"00%",         {"123457%",     "-123457%",     "00%",    "50%",     "05%",     "100000000%",      "-40%",    "123456789%",     "00%"}},
        {"0.00%",       {"123456.70%",  "-123456.70%",  "0.00%",  "50.00%",  "4.50%",   "99999999.50%",    "-40.00%", "123456789.10%",  "-0.05%"}},
        {"00.00%",      {"123456.70%",  "-123456.70%",  "00.00%", "50.00%",  "04.50%",  "99999999.50%",    "-40.00%", "123456789.10%",  "-00.05%"}},
        {"#,##0,.",     {"1.",          "-1.",          "0.",     "0.",      "0.",      "1,000.",          "0.",      "1,235.",         "0."}},
        {"(#,##0,.)",   {"(1.)",        "-(1.)",        "(0.)",   "(0.)",    "(0.)",    "(1,000.)",        "(0.)",    "(1,235.)",       "(0.)"}},
        {"#,##0,.00",   {"1.23",        "-1.23",        "0.00",   "0.00",    "0.00",    "1,000.00",        "0.00",    "1,234.57",       "0.00"}},
        {"(#,##0,.00)", {"(1.23)",      "-(1.23)",      "(0.00)", "(0.00)",  "(0.00)",  "(1,000.00)",      "(0.00)",  "(1,234.57)",     "(0.00)"}},
    });
    // clang-format on
}

TEST(Format, ListPatternsSpanish)
{
    // clang-format off
    checkRows("es_ES", {
        {"0",           {"1235",        "-1235",        "0",      "1",       "0",       "1000000",         "0",       "1234568",        "0"}},
        {"0.00",        {"1234,57",     "-1234,57",     "0,00",   "0,50",    "0,05",    "1000000,00",      "-0,40",   "1234567,89",     "0,00"}},
        {"#,##0",       {"1.235",       "-1.235",       "0",      "1",       "0",       "1.000.000",       "0",       "1.234.568",      "0"}},
        {"(#,##0)",     {"(1.235)",     "-(1.235)",     "(0)",    "(1)",     "(0)",     "(1.000.000)",     "(0)",     "(1.234.568)",    "(0)"}},
        {"#,##0.00",    {"1.234,57",    "-1.234,57",    "0,00",   "0,50",    "0,05",    "1.000.000,00",    "-0,40",   "1.234.567,89",   "0,00"}},
        {"(#,##0.00)",  {"(1.234,57)",  "-(1.234,57)",  "(0,00)", "(0,50)",  "(0,05)",  "(1.000.000,00)",  "-(0,40)", "(1.234.567,89)", "(0,00)"}},
        {"$#,##0",      {"$1.235",      "-$1.235",      "$0",     "$1",      "$0",      "$1.000.000",      "$0",      "$1.234.568",     "$0"}},
        {"($#,##0)",    {"($1.235)",    "-($1.235)",    "($0)",   "($1)",    "($0)",    "($1.000.000)",    "($0)",    "($1.234.568)",   "($0)"}},
        {"$#,##0.00",   {"$1.234,57",   "-$1.234,57",   "$0,00",  "$0,50",   "$0,05",   "$1.000.000,00",   "-$0,40",  "$1.234.567,89",  "$0,00"}},
        {"($#,##0.00)", {"($1.234,57)", "-($1.234,57)", "($0,00)", "($0,50)", "($0,05)", "($1.000.000,00)", "-($0,40)", "($1.234.567,89)", "($0,00)"}},
        {"0%",          {"123457%",     "-123457%",     "0%",     "50%",     "5%",      "100000000%",      "-40%",    "123456789%",     "0%"}},
        {"00%",         {"123457%",     "-123457%",     "00%",    "50%",     "05%",     "100000000%",      "-40%",    "123456789%",     "00%"}},
        {"0.00%",       {"123456,70%",  "-123456,70%",  "0,00%",  "50,00%",  "4,50%",   "99999999,50%",    "-40,00%", "123456789,10%",  "-0,05%"}},
        {"00.00%",      {"123456,70%",  "-123456,70%",  "00,00%", "50,00%",  "04,50%",  "99999999,50%",    "-40,00%", "123456789,10%",  "-00,05%"}},
        {"#,##0,.",     {"1,",          "-1,",          "0,",     "0,",      "0,",      "1.000,",          "0,",      "1.235,",         "0,"}},
        {"(#,##0,.)",   {"(1,)",        "-(1,)",        "(0,)",   "(0,)",    "(0,)",    "(1.000,)",        "(0,)",    "(1.235,)",       "(0,)"}},
        {"#,##0,.00",   {"1,23",        "-1,23",        "0,00",   "0,00",    "0,00",    "1.000,00",        "0,00",    "1.234,57",       "0,00"}},
        {"(#,##0,.00)", {"(1,23)",      "-(1,23)",      "(0,00)", "(0,00)",  "(0,00)",  "(1.000,00)",      "(0,00)",  "(1.234,57)",     "(0,00)"}},
    });
    // clang-format on
}

TEST(Format, NamedFormats)
{
    // clang-format off
    checkRows("en_US", {
        {"Standard",       {"1,234.57",   "-1,234.57",   "0.00",     "0.50",     "0.05",     "1,000,000.00",  "-0.40",     "1,234,567.89",  "0.00"}},
        {"Fixed",          {"1234.57",    "-1234.57",    "0.00",     "0.50",     "0.05",     "1000000.00",    "-0.40",     "1234567.89",    "0.00"}},
        {"Percent",        {"123456.70%", "-123456.70%", "0.00%",    "50.00%",   "4.50%",    "99999999.50%",  "-40.00%",   "123456789.10%", "-0.05%"}},
        {"General Number", {"1234.567",   "-1234.567",   "0",        "0.5",      "0.045",    "999999.995",    "-0.4",      "1234567.891",   "-0.0005"}},
        {"Currency",       {"$1,234.57",  "($1,234.57)", "$0.00",    "$0.50",    "$0.05",    "$1,000,000.00", "($0.40)",   "$1,234,567.89", "$0.00"}},
        {"Scientific",     {"1.23E+03",   "-1.23E+03",   "0.00E+00", "5.00E-01", "4.50E-02", "1.00E+06",      "-4.00E-01", "1.23E+06",      "-5.00E-04"}},
        {"",               {"1234.567",   "-1234.567",   "0",        "0.5",      "0.045",    "999999.995",    "-0.4",      "1234567.891",   "-0.0005"}},
        {"True/False",     {"True",       "True",        "False",    "True",     "True",     "True",          "True",      "True",          "True"}},
        {"Yes/No",         {"Yes",        "Yes",         "No",       "Yes",      "Yes",      "Yes",           "Yes",       "Yes",           "Yes"}},
        {"On/Off",         {"On",         "On",          "Off",      "On",       "On",       "On",            "On",        "On",            "On"}},
    });
    // clang-format on
    // The euro sign stands after the number, separated by the locale's (no-break) space.
    checkRows("es_ES", {
                           // clang-format off
        {"Standard",       {"1.234,57",   "-1.234,57",   "0,00",     "0,50",     "0,05",     "1.000.000,00",  "-0,40",     "1.234.567,89",  "0,00"}},
        {"Currency",       {"1.234,57\u00a0\u20ac", "-1.234,57\u00a0\u20ac", "0,00\u00a0\u20ac", "0,50\u00a0\u20ac", "0,05\u00a0\u20ac", "1.000.000,00\u00a0\u20ac", "-0,40\u00a0\u20ac", "1.234.567,89\u00a0\u20ac", "0,00\u00a0\u20ac"}},
        {"General Number", {"1234,567",   "-1234,567",   "0",        "0,5",      "0,045",    "999999,995",    "-0,4",      "1234567,891",   "-0,0005"}},
        {"True/False",     {"Verdadero",  "Verdadero",   "Falso",    "Verdadero", "Verdadero", "Verdadero",   "Verdadero", "Verdadero",     "Verdadero"}},
    });
    // clang-format on
}

TEST(Format, NamesIgnoreCase)
{
    LocaleGuard locale("en_US");
    EXPECT_EQ(format(1234.5, QStringLiteral("standard")), QStringLiteral("1,234.50"));
    EXPECT_EQ(format(1234.5, QStringLiteral("STANDARD")), QStringLiteral("1,234.50"));
    EXPECT_EQ(format(-2.5, QStringLiteral("currency")), QStringLiteral("($2.50)"));
    EXPECT_EQ(format(0.25, QStringLiteral("percent")), QStringLiteral("25.00%"));
    EXPECT_EQ(format(1e20, QStringLiteral("general number")), QStringLiteral("1E+20"));
    EXPECT_EQ(format(3.14159, QStringLiteral("FIXED")), QStringLiteral("3.14"));
}

namespace {

struct Case
{
    double value;
    const char *pattern;
    const char *expected;
};

void checkCases(const std::vector<Case> &cases)
{
    LocaleGuard locale("en_US");
    for (const Case &c : cases)
        EXPECT_EQ(format(c.value, QString::fromUtf8(c.pattern)), QString::fromUtf8(c.expected))
            << "Format(" << c.value << ", \"" << c.pattern << "\")";
}

} // namespace

TEST(Format, DigitPlaceholders)
{
    checkCases({
        {42, "00000", "00042"},
        {42, "#####", "42"},
        {0, "#", ""},
        {0, "#,##0", "0"},
        {0.5, "#", "1"},
        {17, "#0.00", "17.00"},
        {0.17, "#.00", ".17"},
        {0.17, "0.00", "0.17"},
        {0.0049, "#.##", "."},
        {0.0995, "#.##", ".1"},
        {1.5, "0.0#", "1.5"},
        {1.25, "0.0#", "1.25"},
        {1.0, "0.0#", "1.0"},
        {1.2, "0.#0", "1.20"},
        {123456789, "0", "123456789"}, // extra digits go to the leftmost placeholder
        {123456789, "#0", "123456789"},
        {5, "0.", "5."},            // the point is written even with no digit after it
        {1234.5, ".00", "1234.50"}, // no whole placeholder: the digits stand before the point
        {123456789, "000-00-0000", "123-45-6789"},
        {1234, "#-#", "123-4"},
    });
}

TEST(Format, HugeAndTinyValues)
{
    LocaleGuard locale("en_US");
    EXPECT_EQ(format(1e300, QStringLiteral("0")),
              QStringLiteral("1") + QString(300, QLatin1Char('0')));
    EXPECT_EQ(format(1e21, QStringLiteral("#,##0")),
              QStringLiteral("1,000,000,000,000,000,000,000"));
    EXPECT_EQ(format(5e-324, QStringLiteral("0.00")), QStringLiteral("0.00"));
}

TEST(Format, GroupingAndScaling)
{
    checkCases({
        {1234567890, "#,##0", "1,234,567,890"},
        {1, "0,000", "0,001"},
        {123, "#,##0", "123"},
        {1234, "#,#", "1,234"},
        {123456789, "#,#.#", "123,456,789."},
        {1234567, "#,##0,", "1,235"},
        {1234567890, "0,,", "1235"},
        {1234567890, "#,##0,,\" M\"", "1,235 M"},
        {1500, "0,\"K\"", "2K"},
        {1499, "0.0,", "1.5"},
        {5, ",0", ",5"}, // a comma before any placeholder is literal
    });
}

TEST(Format, RoundingIsHalfAwayFromZeroOnTheDecimalDigits)
{
    checkCases({
        {2.5, "0", "3"},
        {-2.5, "0", "-3"},
        {3.5, "0", "4"},
        {0.25, "0.0", "0.3"},
        {-0.25, "0.0", "-0.3"},
        {1.005, "0.00", "1.01"}, // 1.005 is 1.00499999999999989... but 1.005 to 15 digits
        {2.675, "0.00", "2.68"},
        {0.045, "0.00", "0.05"},
        {999999.995, "#,##0.00", "1,000,000.00"},
        {9.9999999, "#0.000000", "10.000000"},
        {0.0005, "0.000", "0.001"},
        {0.00049, "0.000", "0.000"},
        {1e-20, "0.00", "0.00"},
    });
}

TEST(Format, NegativeZeroIsNeverShown)
{
    checkCases({
        {-0.4, "0", "0"},
        {-0.04, "0.0", "0.0"},
        {-0.4, "#,##0", "0"},
        {-0.004, "$#,##0.00", "$0.00"},
        {-0.0, "0.00", "0.00"},
        {-0.0004, "0.00%", "-0.04%"},
        {-0.00004, "0.00%", "0.00%"},
        // With a negative section the section decides: the value is negative.
        {-0.4, "0;(0)", "(0)"},
    });
}

TEST(Format, Literals)
{
    checkCases({
        {1234, "\"Total: \"#,##0", "Total: 1,234"},
        {1234.567, "#,##0 \"units\"", "1,235 units"},
        {5, "0\\%", "5%"}, // an escaped percent does not multiply
        {5, "\\#0", "#5"},
        {5, "\"#\"0", "#5"},
        {5, "+0", "+5"},
        {-5, "+0", "-+5"},
        {5, "0 \"a;b\"", "5 a;b"}, // ";" inside quotes does not split
        {5, "0\\;0", "0;5"},
        {5, "abc0", "abc5"},
        {17, "#3", "173"}, // a digit other than 0 is literal
        {5, "\"unterminated", "unterminated"},
        {5, "\"pos\"", "pos"}, // no placeholder: the number is not shown
        {5, "0\\", "5"},
    });
}

TEST(Format, Sections)
{
    checkCases({
        {1234.567, "#,##0;(#,##0)", "1,235"},
        {-1234.567, "#,##0;(#,##0)", "(1,235)"},
        {0, "#,##0;(#,##0)", "0"},
        {-1234.567, "$#,##0.00;($#,##0.00)", "($1,234.57)"},
        {0, "0;(0);\"zero\"", "zero"},
        {5, "0;(0);\"zero\"", "5"},
        {-5, "0;(0);\"zero\"", "(5)"},
        {-5, "0;-0", "-5"},
        {-5, "0;;\"z\"", "-5"}, // an empty negative section: the first, with its sign
        {0, "0;;\"z\"", "z"},
        {0, "0;(0);", "0"}, // an empty zero section: the first
        {5, "\"pos\";\"neg\"", "pos"},
        {0, "\"pos\";\"neg\"", "pos"},
        {-5, "\"pos\";\"neg\"", "neg"},
        {-5, "\"pos\";\"neg\";\"zero\"", "neg"},
        {-5, "0;(0);\"z\";\"null\"", "(5)"}, // a fourth section is ignored
        {-5, ";", "-5"},                     // an empty first section: the general number
        {2.5, ";(0)", "2.5"},
    });
}

TEST(Format, Exponents)
{
    checkCases({
        {1234.567, "0.00E+00", "1.23E+03"},
        {0.000123, "0.00E+00", "1.23E-04"},
        {1234.567, "0.00E-00", "1.23E03"},
        {0.000123, "0.00e-00", "1.23e-04"},
        {0, "0.0e+0", "0.0e+0"},
        {9.999, "0.00E+00", "1.00E+01"},
        {-1234.567, "0.0E+0", "-1.2E+3"},
        {1234.567, "00.0E+00", "12.3E+02"},
        {47.11, ".0000E+0", ".4711E+2"},
        {1.7, "0.0000E-000", "1.7000E000"},
        {1e100, "0.0E+0", "1.0E+100"},
    });
}

TEST(Format, Variants)
{
    LocaleGuard locale("en_US");
    EXPECT_EQ(format(QVariant(), QStringLiteral("0")), QString());
    EXPECT_EQ(format(QVariant::fromValue(nullptr), QStringLiteral("0")), QString());
    EXPECT_EQ(format(QVariant(QStringLiteral("abc")), QStringLiteral("0.00")),
              QStringLiteral("abc"));
    EXPECT_EQ(format(QVariant(QStringLiteral("#ERR")), QStringLiteral("#,##0")),
              QStringLiteral("#ERR"));
    EXPECT_EQ(format(QVariant(QString()), QStringLiteral("0")), QString());
    EXPECT_EQ(format(QVariant(QStringLiteral("1234.567")), QStringLiteral("#,##0.00")),
              QStringLiteral("1,234.57"));
    EXPECT_EQ(format(QVariant(QStringLiteral(" -1,234.5 ")), QStringLiteral("0")),
              QStringLiteral("-1235"));
    EXPECT_EQ(format(QVariant(42), QStringLiteral("000")), QStringLiteral("042"));
    EXPECT_EQ(format(QVariant(qint64(-3000000000LL)), QStringLiteral("#,##0")),
              QStringLiteral("-3,000,000,000"));
    EXPECT_EQ(format(QVariant(0.5f), QStringLiteral("0%")), QStringLiteral("50%"));
    EXPECT_EQ(format(QVariant(true), QStringLiteral("0")), QStringLiteral("-1"));
    EXPECT_EQ(format(QVariant(false), QStringLiteral("0")), QStringLiteral("0"));
    EXPECT_EQ(format(QVariant(true), QStringLiteral("True/False")), QStringLiteral("True"));
    EXPECT_EQ(format(QVariant(false), QStringLiteral("Yes/No")), QStringLiteral("No"));
    {
        LocaleGuard spanish("es_ES");
        EXPECT_EQ(format(QVariant(QStringLiteral("1234,567")), QStringLiteral("#,##0.00")),
                  QStringLiteral("1.234,57"));
        EXPECT_EQ(format(QVariant(QStringLiteral("1.5")), QStringLiteral("0")),
                  QStringLiteral("15"));
    }
}

TEST(Format, CompiledPatternFormatsManyValues)
{
    LocaleGuard locale("en_US");
    const NumberFormat column(QStringLiteral("#,##0.00;(#,##0.00)"));
    EXPECT_EQ(column.pattern(), QStringLiteral("#,##0.00;(#,##0.00)"));
    EXPECT_EQ(column.format(1234.567), QStringLiteral("1,234.57"));
    EXPECT_EQ(column.format(-1234.567), QStringLiteral("(1,234.57)"));
    const NumberFormat copy = column;
    EXPECT_EQ(copy.format(0), QStringLiteral("0.00"));
    // The locale is read when formatting, not when compiling.
    LocaleGuard spanish("es_ES");
    EXPECT_EQ(column.format(1234.567), QStringLiteral("1.234,57"));
}

TEST(Format, NotFiniteValuesDoNotFail)
{
    LocaleGuard locale("en_US");
    EXPECT_FALSE(format(std::numeric_limits<double>::infinity(), QStringLiteral("0")).isEmpty());
    EXPECT_FALSE(
        format(std::numeric_limits<double>::quiet_NaN(), QStringLiteral("0.00")).isEmpty());
}
