#include "Control/core/MdxHighlight.h"

#include <gtest/gtest.h>

#include <algorithm>

using platform::widgets::MdxTextKind;
using platform::widgets::MdxTextSpan;

namespace {

// The spans in text order, each as "K:text" (K: keyword, function, name, string, comment,
// number).
QStringList spans(const QString &text)
{
    std::vector<MdxTextSpan> all = pelmora::mdxHighlightSpans(text);
    std::sort(all.begin(), all.end(),
              [](const MdxTextSpan &a, const MdxTextSpan &b) { return a.start < b.start; });
    QStringList out;
    for (const MdxTextSpan &s : all) {
        const char *kind = "?";
        switch (s.kind) {
        case MdxTextKind::Keyword:
            kind = "K";
            break;
        case MdxTextKind::Function:
            kind = "F";
            break;
        case MdxTextKind::Name:
            kind = "N";
            break;
        case MdxTextKind::String:
            kind = "S";
            break;
        case MdxTextKind::Comment:
            kind = "C";
            break;
        case MdxTextKind::Number:
            kind = "#";
            break;
        }
        out << QString::fromLatin1(kind) + u':' + text.mid(s.start, s.length);
    }
    return out;
}

} // namespace

TEST(MdxHighlight, ColoursEachKindOfWord)
{
    const QString text = QStringLiteral(
        "select NON EMPTY {[Measures].[Sales]} ON COLUMNS,\r\n"
        " CrossJoin([Time].Members, {\"a\"}) ON ROWS -- rows\n"
        "FROM [Sales] /* a\n comment */ WHERE ([Store].&[7], 1.5, [Measures].Sales.Name)");
    // clang-format off
    EXPECT_EQ(spans(text),
              QStringList({"K:select", "K:NON", "K:EMPTY", "N:[Measures]", "N:[Sales]", "K:ON",
                           "K:COLUMNS", "F:CrossJoin", "N:[Time]", "F:Members", "S:\"a\"",
                           "K:ON", "K:ROWS", "C:-- rows", "K:FROM", "N:[Sales]",
                           "C:/* a\n comment */", "K:WHERE", "N:[Store]", "N:[7]", "#:1.5",
                           "N:[Measures]", "F:Name"}));
    // clang-format on
}

TEST(MdxHighlight, TextBeingTypedIsColouredAsFarAsItGoes)
{
    const struct
    {
        const char *text;
        QStringList expected;
    } cases[] = {
        {"SELECT \"abc", {"K:SELECT", "S:\"abc"}},
        {"SELECT 'ab\ncd", {"K:SELECT", "S:'ab\ncd"}},
        {"SELECT [Time", {"K:SELECT", "N:[Time"}},
        {"SELECT /* open\nstill", {"K:SELECT", "C:/* open\nstill"}},
        {"SELECT -- done */ \n[A] /* x */ \"b",
         {"K:SELECT", "C:-- done */ ", "N:[A]", "C:/* x */", "S:\"b"}},
        // A character that starts no token is passed over.
        {"SELECT # FROM ? [C]", {"K:SELECT", "K:FROM", "N:[C]"}},
        {"", {}},
        {"   \n  ", {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(spans(QString::fromUtf8(c.text)), c.expected);
    }
}
