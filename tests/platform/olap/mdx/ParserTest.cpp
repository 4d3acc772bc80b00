#include "platform/olap/mdx/Parser.h"
#include "platform/olap/mdx/Unparser.h"
#include "platform/runtime/Error.h"
#include "tests/platform/olap/mdx/MdxDump.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace platform::olap::mdx;
using mdx_test::dump;

namespace {

struct Case
{
    const char *text;
    const char *expected;
};

QString dumpStatement(const char *text)
{
    const Statement statement = parseStatement(QString::fromUtf8(text));
    return dump(statement);
}

QString dumpExpression(const QString &text)
{
    const Expression expression = parseExpression(text);
    return dump(expression.root());
}

QString errorOf(const QString &text, bool statement = true)
{
    try {
        if (statement)
            parseStatement(text);
        else
            parseExpression(text);
    } catch (const platform::Error &error) {
        return error.description();
    }
    return QStringLiteral("(parsed)");
}

// Statements as the browser builds them: CR LF after SELECT, between axes, before FROM and
// after WHERE, blanks before FROM and CROSSJOIN, levels and members as unique names.
const Case generatedStatements[] = {
    {"SELECT \r\nDescendants([Time].[1997], [Time].[Quarter], SELF_AND_BEFORE) ON AXIS(0), \r\n"
     "Descendants([Product].[All Products], [Product].[Family], SELF_AND_BEFORE) ON AXIS(1)\r\n"
     " FROM [Sales]\r\n WHERE ([Store].[All Stores], [Measures].[Sales])\r\n\r\n",
     "axis 0: (Descendants [Time].[1997] [Time].[Quarter] #SELF_AND_BEFORE); "
     "axis 1: (Descendants [Product].[All Products] [Product].[Family] #SELF_AND_BEFORE); "
     "from [Sales]; where (tuple [Store].[All Stores] [Measures].[Sales])"},
    {"SELECT \r\nDescendants([Time].[1997], [Time].[Quarter], SELF_AND_BEFORE) ON AXIS(0), \r\n"
     " CROSSJOIN (Descendants([Product].[Food], [Product].[Category], SELF_AND_BEFORE), "
     "Descendants([Store].[All Stores], [Store].[Country], SELF_AND_BEFORE)) ON AXIS(1)\r\n"
     " FROM [Sales]\r\n WHERE ([Measures].[Sales])\r\n\r\n",
     "axis 0: (Descendants [Time].[1997] [Time].[Quarter] #SELF_AND_BEFORE); "
     "axis 1: (CROSSJOIN (Descendants [Product].[Food] [Product].[Category] #SELF_AND_BEFORE) "
     "(Descendants [Store].[All Stores] [Store].[Country] #SELF_AND_BEFORE)); "
     "from [Sales]; where (tuple [Measures].[Sales])"},
    {"SELECT \r\nDescendants([Time].[1997], [Time].[Month]) ON AXIS(0), \r\n"
     "NON EMPTY  CROSSJOIN (Order(TopCount(Descendants([Product].[All Products], "
     "[Product].[Category]), 5, [Measures].[Cost]), ([Measures].[Cost]), BDESC), "
     "Descendants([Store].[USA], [Store].[City], SELF)) ON AXIS(1)\r\n"
     " FROM [Sales]\r\n WHERE ([Measures].[Sales])\r\n\r\n",
     "axis 0: (Descendants [Time].[1997] [Time].[Month]); "
     "axis 1 non empty: (CROSSJOIN (Order (TopCount (Descendants [Product].[All Products] "
     "[Product].[Category]) 5 [Measures].[Cost]) (tuple [Measures].[Cost]) #BDESC) "
     "(Descendants [Store].[USA] [Store].[City] #SELF)); "
     "from [Sales]; where (tuple [Measures].[Sales])"},
    // Order without a sort expression parses as written; the evaluator refuses it.
    {"SELECT \r\n[Measures].[MeasuresLevel].MEMBERS ON AXIS(0), \r\n"
     "Order(BottomSum({[Store].[USA], [Store].[Canada]}, 1000, [Measures].[Sales]), ASC) "
     "ON AXIS(1)\r\n FROM [Sales]\r\n WHERE ([Time].[1998], [Product].[All Products])\r\n\r\n",
     "axis 0: (.MEMBERS [Measures].[MeasuresLevel]); "
     "axis 1: (Order (BottomSum {[Store].[USA] [Store].[Canada]} 1000 [Measures].[Sales]) #ASC); "
     "from [Sales]; where (tuple [Time].[1998] [Product].[All Products])"},
    // Three dimensions nested on columns only: no line break before FROM, no slicer.
    {"SELECT \r\n CROSSJOIN ({[Time].[1997]}, CROSSJOIN ({[Product].[Food]}, {[Store].[USA]})) "
     "ON AXIS(0) FROM [Sales]\r\n\r\n",
     "axis 0: (CROSSJOIN {[Time].[1997]} (CROSSJOIN {[Product].[Food]} {[Store].[USA]})); "
     "from [Sales]"},
    // Rows alone become axis 0.
    {"SELECT \r\nNON EMPTY TopPercent(Descendants([Product].[All Products], "
     "[Product].[Category]), 80, [Measures].[Sales]) ON AXIS(0)\r\n FROM [Sales]\r\n"
     " WHERE ([Time].[1997], [Store].[All Stores], [Measures].[Sales])\r\n\r\n",
     "axis 0 non empty: (TopPercent (Descendants [Product].[All Products] [Product].[Category]) "
     "80 [Measures].[Sales]); from [Sales]; "
     "where (tuple [Time].[1997] [Store].[All Stores] [Measures].[Sales])"},
    {"SELECT \r\n FROM [Sales]\r\n\r\n", "from [Sales]"},
    // A bare dimension name standing for a level, an order by a two-member tuple.
    {"SELECT \r\nOrder(BottomCount(Descendants([Store].[All Stores], Store, SELF_AND_BEFORE), 10, "
     "[Measures].[Cost]), ([Measures].[Cost], [Time].[1997]), DESC) ON AXIS(0), \r\n"
     "TopSum(Descendants([Time].[1997], [Time].[Month], SELF), 5000, [Measures].[Sales]) "
     "ON AXIS(1)\r\n FROM [Sales]\r\n\r\n",
     "axis 0: (Order (BottomCount (Descendants [Store].[All Stores] Store #SELF_AND_BEFORE) 10 "
     "[Measures].[Cost]) (tuple [Measures].[Cost] [Time].[1997]) #DESC); "
     "axis 1: (TopSum (Descendants [Time].[1997] [Time].[Month] #SELF) 5000 [Measures].[Sales]); "
     "from [Sales]"},
};

// Statements as people type them in the direct MDX window.
const Case typedStatements[] = {
    {"SELECT {[Measures].[Sales], [Measures].[Cost]} ON COLUMNS,\n"
     "  [Product].[Family].Members ON ROWS,\n  {[Time].[1997]} ON PAGES\nFROM [Sales]",
     "axis 0: {[Measures].[Sales] [Measures].[Cost]}; axis 1: (.Members [Product].[Family]); "
     "axis 2: {[Time].[1997]}; from [Sales]"},
    {"SELECT {a} ON 0, {b} ON AXIS(1), {c} ON Axis ( 2 ), {d} ON 3, {e} ON SECTIONS, "
     "{f} ON chapters FROM Sales",
     "axis 0: {a}; axis 1: {b}; axis 2: {c}; axis 3: {d}; axis 3: {e}; axis 4: {f}; from Sales"},
    {"WITH MEMBER [Measures].[Margin] AS '[Measures].[Sales] - [Measures].[Cost]',\n"
     "  FORMAT_STRING = '#,##0.00', SOLVE_ORDER = 2, FORE_COLOR = 255,\n"
     "  BACK_COLOR = RGB(255, 255, 0), FONT_NAME = 'Arial', FONT_SIZE = 10, FONT_FLAGS = 1\n"
     "  SET [Top Stores] AS 'TopCount([Store].[City].Members, 3, [Measures].[Sales])'\n"
     "SELECT {[Measures].[Sales], [Measures].[Margin]} ON COLUMNS, [Top Stores] ON ROWS\n"
     "FROM [Sales]\nCELL PROPERTIES VALUE, FORMATTED_VALUE, FORE_COLOR, BACK_COLOR",
     "member [Measures].[Margin] = (- [Measures].[Sales] [Measures].[Cost]), "
     "FORMAT_STRING = \"#,##0.00\", SOLVE_ORDER = 2, FORE_COLOR = 255, "
     "BACK_COLOR = (RGB 255 255 0), FONT_NAME = \"Arial\", FONT_SIZE = 10, FONT_FLAGS = 1; "
     "set [Top Stores] = (TopCount (.Members [Store].[City]) 3 [Measures].[Sales]); "
     "axis 0: {[Measures].[Sales] [Measures].[Margin]}; axis 1: [Top Stores]; from [Sales]; "
     "cell properties VALUE, FORMATTED_VALUE, FORE_COLOR, BACK_COLOR"},
    // Unquoted definitions; a double-quoted string is a string, not an expression.
    {"with member Measures.Label as \"Total\" member [Measures].[Double] as "
     "[Measures].[Sales] * 2, solve_order = -1 select from Sales",
     "member Measures.Label = \"Total\"; "
     "member [Measures].[Double] = (* [Measures].[Sales] 2), solve_order = (neg 1); from Sales"},
    {"WITH SET s AS 'Filter([Store].[City].Members, [Measures].[Sales] > 1000)' "
     "MEMBER [Measures].[N] AS 'Count(s)' SELECT s ON 0 FROM Sales",
     "set s = (Filter (.Members [Store].[City]) (> [Measures].[Sales] 1000)); "
     "member [Measures].[N] = (Count s); axis 0: s; from Sales"},
    {"select non empty {[Product].[Category].members}\n"
     "  dimension properties [Product].[Category].[Key], MEMBER_CAPTION on columns -- categories\n"
     "from [Sales] // the cube\nwhere /* the\nyear */ [Time].[1997]",
     "axis 0 non empty: {(.members [Product].[Category])} "
     "properties [Product].[Category].[Key], MEMBER_CAPTION; from [Sales]; where [Time].[1997]"},
    {"SELECT [Store].[City].Members PROPERTIES [Store].[City].[Size] ON 0 FROM Sales",
     "axis 0: (.Members [Store].[City]) properties [Store].[City].[Size]; from Sales"},
    {"SELECT {[Store].[Bob]]s Shop], [Time].&[1997], [Time].&[1997].&[Q1]} ON 0 FROM [Sales]]2]",
     "axis 0: {[Store].[Bob]]s Shop] [Time].&[1997] [Time].&[1997].&[Q1]}; from [Sales]]2]"},
    {"SELECT CrossJoin([Time].[1997].Children, [Product].[Food].FirstChild.Siblings)\n"
     "  * {[Store].[USA].LastChild, [Store].[Canada].PrevMember.NextMember} ON COLUMNS,\n"
     "Hierarchize(Union(Head([Store].[City].AllMembers, 3), Tail(Distinct([Store].[City].Members),"
     " 2), ALL), POST) ON ROWS\nFROM Sales\n"
     "WHERE ([Time].[1997].Lag(1).Lead(2), [Measures].CurrentMember.Parent)",
     "axis 0: (* (CrossJoin (.Children [Time].[1997]) (.Siblings (.FirstChild [Product].[Food]))) "
     "{(.LastChild [Store].[USA]) (.NextMember (.PrevMember [Store].[Canada]))}); "
     "axis 1: (Hierarchize (Union (Head (.AllMembers [Store].[City]) 3) "
     "(Tail (Distinct (.Members [Store].[City])) 2) #ALL) #POST); from Sales; "
     "where (tuple (.Lead (.Lag [Time].[1997] 1) 2) (.Parent (.CurrentMember [Measures])))"},
    {"SELECT NonEmptyCrossJoin(DrilldownLevel({[Product].[All Products]}), "
     "DrilldownMember({[Store].[USA]}, {[Store].[USA]}, RECURSIVE)) ON 0,\r\n"
     "Except(Intersect(Subset(Ancestors([Time].[1997].[Q1], [Time].[Year]), 0, 1), "
     "NonEmpty([Time].[Month].Members)), {[Time].[1997].[Q1]:[Time].[1997].[Q3]}) ON 1\r\n"
     "FROM [Sales]",
     "axis 0: (NonEmptyCrossJoin (DrilldownLevel {[Product].[All Products]}) "
     "(DrilldownMember {[Store].[USA]} {[Store].[USA]} #RECURSIVE)); "
     "axis 1: (Except (Intersect (Subset (Ancestors [Time].[1997].[Q1] [Time].[Year]) 0 1) "
     "(NonEmpty (.Members [Time].[Month]))) {(: [Time].[1997].[Q1] [Time].[1997].[Q3])}); "
     "from [Sales]"},
};

TEST(MdxParser, ParsesGeneratedStatements)
{
    for (const Case &c : generatedStatements) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(dumpStatement(c.text), QString::fromUtf8(c.expected));
    }
}

TEST(MdxParser, ParsesTypedStatements)
{
    for (const Case &c : typedStatements) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(dumpStatement(c.text), QString::fromUtf8(c.expected));
    }
}

// Expressions whose shape matters to the evaluator: precedence, associativity, the split
// between names and properties, flags, omitted arguments, literals.
const Case expressions[] = {
    {"1 + 2 * 3 ^ 2", "(+ 1 (* 2 (^ 3 2)))"},
    {"10 - 4 - 3", "(- (- 10 4) 3)"},
    {"2 ^ 3 ^ 2", "(^ (^ 2 3) 2)"},
    {"-2 ^ 2", "(^ (neg 2) 2)"},
    {"2 ^ -2 * +x", "(* (^ 2 (neg 2)) (pos x))"},
    {"- -x", "(neg (neg x))"},
    {"a OR b AND NOT c = d XOR e", "(xor (or a (and b (not (= c d)))) e)"},
    {"NOT NOT a AND b", "(and (not (not a)) b)"},
    {"a + 1 >= b * 2", "(>= (+ a 1) (* b 2))"},
    {"a < b or a > b Or a <= b OR a <> b", "(or (or (or (< a b) (> a b)) (<= a b)) (<> a b))"},
    {"\"a\" || [Store].CurrentMember.Name + 'b'",
     "(+ (|| \"a\" (.Name (.CurrentMember [Store]))) \"b\")"},
    {"[a]:[b] * [c]", "(* (: [a] [b]) [c])"},
    {"{[Time].[1997].[Q1]:[Time].[1997].[Q3]}", "{(: [Time].[1997].[Q1] [Time].[1997].[Q3])}"},
    {"[Measures].[Sales] IS EMPTY", "(isempty [Measures].[Sales])"},
    {"a + b is empty and c", "(and (isempty (+ a b)) c)"},
    {"x IS NULL OR [Time].CurrentMember IS [Time].[1997]",
     "(or (is x NULL) (is (.CurrentMember [Time]) [Time].[1997]))"},
    {"NOT IsEmpty([Measures].[Sales])", "(not (IsEmpty [Measures].[Sales]))"},
    {"CASE WHEN a > 1 THEN 'big' WHEN a > 0 THEN 'small' ELSE 'none' END",
     "(case _ (> a 1) \"big\" (> a 0) \"small\" \"none\")"},
    {"case [x].Name when 'a' then 1 end", "(case (.Name [x]) \"a\" 1 _)"},
    // After a plain name, a known property word is a property, any other word a name part.
    {"[Time].Year.Members", "(.Members [Time].Year)"},
    {"Measures.Sales", "Measures.Sales"},
    {"[Time].[Members]", "[Time].[Members]"},
    {"[Time].[1997].Level.Hierarchy.Dimension.UniqueName",
     "(.UniqueName (.Dimension (.Hierarchy (.Level [Time].[1997]))))"},
    {"[Top Stores].Count + [Top Stores].Current.Ordinal",
     "(+ (.Count [Top Stores]) (.Ordinal (.Current [Top Stores])))"},
    {"[Time].[Year].Members.Item(0).Item(0)", "(.Item (.Item (.Members [Time].[Year]) 0) 0)"},
    {"[Time].Levels(1).Members.Foo", "(.Foo (.Members (.Levels [Time] 1)))"},
    {"[Store].CurrentMember.Properties(\"Size\")",
     "(.Properties (.CurrentMember [Store]) \"Size\")"},
    {"[Measures].DefaultMember.Value + [Time].[1997].Caption",
     "(+ (.Value (.DefaultMember [Measures])) (.Caption [Time].[1997]))"},
    {"Descendants([Time].[1997], , LEAVES)", "(Descendants [Time].[1997] _ #LEAVES)"},
    {"Descendants([Time].[1997], 2, self_before_after)",
     "(Descendants [Time].[1997] 2 #self_before_after)"},
    {"Now()", "(Now)"},
    {"f(, a, )", "(f _ a _)"},
    {"Self.Members + [SELF]", "(+ (.Members Self) [SELF])"},
    {"1.5e3 + 0.25 + 7E-1", "(+ (+ 1500 0.25) 0.7)"},
    {"'it''s' || \"say \"\"hi\"\"\"", "(|| \"it's\" \"say \"hi\"\")"},
    {"IIf(NULL = null, 1, 0)", "(IIf (= NULL NULL) 1 0)"},
    {"([Measures].[Cost])", "(tuple [Measures].[Cost])"},
    {"(1 + 2) * 3", "(* (tuple (+ 1 2)) 3)"},
    {"{}", "{}"},
    {"{(a, b), (c, d)}", "{(tuple a b) (tuple c d)}"},
    {"Generate([Store].[Country].Members, TopCount(Descendants([Store].CurrentMember, "
     "[Store].[City]), 2, [Measures].[Sales]))",
     "(Generate (.Members [Store].[Country]) (TopCount (Descendants (.CurrentMember [Store]) "
     "[Store].[City]) 2 [Measures].[Sales]))"},
    {"Round(Abs(Avg(LastPeriods(3, [Time].CurrentMember), [Measures].[Sales])), 2)",
     "(Round (Abs (Avg (LastPeriods 3 (.CurrentMember [Time])) [Measures].[Sales])) 2)"},
    {"Sum(PeriodsToDate([Time].[Year], [Time].CurrentMember), [Measures].[Sales]) "
     "/ Aggregate(YTD())",
     "(/ (Sum (PeriodsToDate [Time].[Year] (.CurrentMember [Time])) [Measures].[Sales]) "
     "(Aggregate (YTD)))"},
    {"Ancestor([Time].CurrentMember, [Time].[Year]).Name",
     "(.Name (Ancestor (.CurrentMember [Time]) [Time].[Year]))"},
    {"Rank([Store].CurrentMember, Order([Store].[City].Members, [Measures].[Sales], BDESC))",
     "(Rank (.CurrentMember [Store]) "
     "(Order (.Members [Store].[City]) [Measures].[Sales] #BDESC))"},
    {"CoalesceEmpty(Max(s, m), Min(s, m), Count(s, EXCLUDEEMPTY), Count(s, IncludeEmpty))",
     "(CoalesceEmpty (Max s m) (Min s m) (Count s #EXCLUDEEMPTY) (Count s #IncludeEmpty))"},
    {"Año.Señal", "Año.Señal"},
};

TEST(MdxParser, ExpressionShapes)
{
    for (const Case &c : expressions) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(dumpExpression(QString::fromUtf8(c.text)), QString::fromUtf8(c.expected));
    }
}

TEST(MdxParser, FlagWordsWithoutRegardToCase)
{
    const struct
    {
        const char *word;
        Flag flag;
    } flags[] = {
        {"self", Flag::Self},
        {"After", Flag::After},
        {"BEFORE", Flag::Before},
        {"Before_And_After", Flag::BeforeAndAfter},
        {"SELF_AND_AFTER", Flag::SelfAndAfter},
        {"self_and_before", Flag::SelfAndBefore},
        {"SELF_BEFORE_AFTER", Flag::SelfBeforeAfter},
        {"Leaves", Flag::Leaves},
        {"asc", Flag::Asc},
        {"DESC", Flag::Desc},
        {"basc", Flag::BAsc},
        {"BDesc", Flag::BDesc},
        {"POST", Flag::Post},
        {"all", Flag::All},
        {"Recursive", Flag::Recursive},
        {"EXCLUDEEMPTY", Flag::ExcludeEmpty},
        {"IncludeEmpty", Flag::IncludeEmpty},
    };
    for (const auto &f : flags) {
        SCOPED_TRACE(f.word);
        const Expression e = parseExpression(QStringLiteral("F(x, %1)").arg(f.word));
        const Node flag = e.root().child(1);
        ASSERT_EQ(flag.kind(), NodeKind::Flag);
        EXPECT_EQ(flag.flag(), f.flag);
        EXPECT_EQ(flag.text(), QString::fromLatin1(f.word));
        EXPECT_TRUE(flag.textIs(QString::fromLatin1(f.word).toUpper()));
    }
}

TEST(MdxParser, NamePartsKeepTheirSpellingAndGiveUniqueNamesAndKeys)
{
    const Expression e = parseExpression(QStringLiteral("Store.[Bob]]s Shop].&[7]"));
    const Node name = e.root();
    ASSERT_EQ(name.kind(), NodeKind::Name);
    ASSERT_EQ(name.parts().size(), 3u);
    EXPECT_EQ(name.parts()[0].text, QStringLiteral("Store"));
    EXPECT_FALSE(name.parts()[0].bracketed);
    EXPECT_EQ(name.parts()[1].text, QStringLiteral("Bob]s Shop"));
    EXPECT_TRUE(name.parts()[1].bracketed);
    EXPECT_FALSE(name.parts()[1].key);
    EXPECT_EQ(name.parts()[2].text, QStringLiteral("7"));
    EXPECT_TRUE(name.parts()[2].key);
    EXPECT_EQ(name.uniqueName(), QStringLiteral("[Store].[Bob]]s Shop].&[7]"));
    EXPECT_EQ(name.nameKey(), QStringLiteral("[store].[bob]]s shop].&[7]"));

    // Unquoted, bracketed and differently cased spellings of one name share their key.
    const QString spellings[] = {"[Time].[Año]", "time.AÑO", "[TIME].año"};
    for (const QString &spelling : spellings) {
        const Expression other = parseExpression(spelling);
        EXPECT_EQ(other.root().nameKey(), QStringLiteral("[time].[año]"));
    }
}

TEST(MdxParser, NodesCarryTheirSourcePositions)
{
    const Statement s = parseStatement(QString::fromUtf8(
        "SELECT \r\nDescendants([Time].[1997], [Time].[Quarter], SELF_AND_BEFORE) ON AXIS(0), \r\n"
        " CROSSJOIN (Descendants([Product].[Food], [Product].[Category], SELF_AND_BEFORE), "
        "Descendants([Store].[All Stores], [Store].[Country], SELF_AND_BEFORE)) ON AXIS(1)\r\n"
        " FROM [Sales]\r\n WHERE ([Measures].[Sales])\r\n\r\n"));
    ASSERT_EQ(s.axes().size(), 2);
    EXPECT_EQ(s.axes()[0].pos, (SourcePos{2, 1}));
    EXPECT_EQ(s.axes()[0].set.child(1).pos(), (SourcePos{2, 28}));
    EXPECT_EQ(s.axes()[1].set.pos(), (SourcePos{3, 2}));
    EXPECT_EQ(s.axes()[1].set.child(0).pos(), (SourcePos{3, 13}));
    EXPECT_EQ(s.axes()[1].set.child(1).child(2).pos(), (SourcePos{3, 136}));
    EXPECT_EQ(s.cube().pos(), (SourcePos{4, 7}));
    EXPECT_EQ(s.slicer().pos(), (SourcePos{5, 8}));
    EXPECT_EQ(s.slicer().child(0).pos(), (SourcePos{5, 9}));

    // A lone CR and a lone LF end lines too; operators, properties and methods are placed
    // at their operator or word.
    const Statement t = parseStatement(QStringLiteral("SELECT\r{a} * b.Children ON 0\nFROM x"
                                                      "\n WHERE c.Lag(1)"));
    EXPECT_EQ(t.axes()[0].set.pos(), (SourcePos{2, 5}));
    EXPECT_EQ(t.axes()[0].set.child(1).pos(), (SourcePos{2, 9}));
    EXPECT_EQ(t.cube().pos(), (SourcePos{3, 6}));
    EXPECT_EQ(t.slicer().pos(), (SourcePos{4, 10}));
}

TEST(MdxParser, QuotedDefinitionsMapPositionsBackToTheStatement)
{
    const Statement s = parseStatement(QStringLiteral(
        "WITH MEMBER [Measures].[X] AS\n  '[Measures].[Sales] *\n 2'\nSELECT FROM [Sales]"));
    const Node product = s.definitions()[0].expression;
    EXPECT_EQ(dump(product), QStringLiteral("(* [Measures].[Sales] 2)"));
    EXPECT_EQ(product.pos(), (SourcePos{2, 23}));
    EXPECT_EQ(product.child(0).pos(), (SourcePos{2, 4}));
    EXPECT_EQ(product.child(1).pos(), (SourcePos{3, 2}));
    EXPECT_EQ(s.definitions()[0].pos, (SourcePos{1, 6}));

    // Doubled quotes inside the text are one character of it, two of the statement.
    const Statement t = parseStatement(
        QStringLiteral("WITH MEMBER [M].[X] AS 'IIf(1, ''a'', ''b'') + 1' SELECT FROM [S]"));
    const Node sum = t.definitions()[0].expression;
    EXPECT_EQ(dump(sum), QStringLiteral("(+ (IIf 1 \"a\" \"b\") 1)"));
    EXPECT_EQ(sum.pos(), (SourcePos{1, 46}));
    EXPECT_EQ(sum.child(0).pos(), (SourcePos{1, 25}));
    EXPECT_EQ(sum.child(0).child(2).pos(), (SourcePos{1, 39}));
    EXPECT_EQ(sum.child(1).pos(), (SourcePos{1, 48}));
}

TEST(MdxParser, UnparsesToTextThatReadsBackTheSame)
{
    const Case statements[] = {
        {"SELECT \r\nDescendants([Time].[1997], [Time].[Month]) ON AXIS(0), \r\n"
         "NON EMPTY  CROSSJOIN (Order(TopCount(Descendants([Product].[All Products], "
         "[Product].[Category]), 5, [Measures].[Cost]), ([Measures].[Cost]), BDESC), "
         "Descendants([Store].[USA], [Store].[City], SELF)) ON AXIS(1)\r\n"
         " FROM [Sales]\r\n WHERE ([Measures].[Sales])\r\n\r\n",
         "SELECT Descendants([Time].[1997], [Time].[Month]) ON COLUMNS, NON EMPTY CROSSJOIN("
         "Order(TopCount(Descendants([Product].[All Products], [Product].[Category]), 5, "
         "[Measures].[Cost]), ([Measures].[Cost]), BDESC), Descendants([Store].[USA], "
         "[Store].[City], SELF)) ON ROWS FROM [Sales] WHERE ([Measures].[Sales])"},
        {"with member [M].[X] as 'IIf(1, ''a'', \"b\")', SOLVE_ORDER = 1 set s as {a} "
         "select a dimension properties p on axis(5) from [S]]x] where b cell properties VALUE",
         "WITH MEMBER [M].[X] AS IIf(1, \"a\", \"b\"), SOLVE_ORDER = 1 SET s AS {a} "
         "SELECT a DIMENSION PROPERTIES p ON AXIS(5) FROM [S]]x] WHERE b CELL PROPERTIES VALUE"},
    };
    for (const Case &c : statements) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(toMdx(parseStatement(QString::fromUtf8(c.text))), QString::fromUtf8(c.expected));
    }

    const Case exprs[] = {
        {"- -1", "- -1"},
        {"-(-1)", "-(-1)"},
        {"[Bob]]s].x.&[k]]]", "[Bob]]s].x.&[k]]]"},
        {"'say \"hi\"'", "\"say \"\"hi\"\"\""},
        {"1.5e3+0.0", "1500 + 0"},
        {"f(, a, )", "f(, a, )"},
        {"case x when 1 then 2 else 3 end", "CASE x WHEN 1 THEN 2 ELSE 3 END"},
        {"a is empty and not b", "a IS EMPTY AND NOT b"},
        {"{a:b}*c^2", "{a:b} * c ^ 2"},
        {"[a].Lag(1).Name", "[a].Lag(1).Name"},
    };
    for (const Case &c : exprs) {
        SCOPED_TRACE(c.text);
        const Expression e = parseExpression(QString::fromUtf8(c.text));
        EXPECT_EQ(toMdx(e.root()), QString::fromUtf8(c.expected));
    }

    // Every table of this file reads back to the same tree.
    const auto readsBack = [](const Case &c) {
        SCOPED_TRACE(c.text);
        const Statement first = parseStatement(QString::fromUtf8(c.text));
        const Statement again = parseStatement(toMdx(first));
        EXPECT_EQ(dump(again), dump(first));
    };
    std::for_each(std::begin(generatedStatements), std::end(generatedStatements), readsBack);
    std::for_each(std::begin(typedStatements), std::end(typedStatements), readsBack);
    for (const Case &c : expressions) {
        SCOPED_TRACE(c.text);
        const Expression first = parseExpression(QString::fromUtf8(c.text));
        EXPECT_EQ(dumpExpression(toMdx(first.root())), dump(first.root()));
    }
}

// Statements that fail, with the position and what was expected.
const Case failingStatements[] = {
    {"", "Syntax error at line 1, column 1: expected SELECT but found the end of the statement"},
    {"SELCT {a} ON 0 FROM x",
     "Syntax error at line 1, column 1: expected SELECT but found 'SELCT'"},
    {"SELECT {[A]} ON AXIS(0\r\n FROM [Sales]",
     "Syntax error at line 2, column 2: expected ')' but found 'FROM'"},
    {"SELECT\n  Descendants([Time].[1997], [Time].[Quarter] ON AXIS(0)\nFROM [Sales]",
     "Syntax error at line 2, column 47: expected ',' or ')' but found 'ON'"},
    // An empty set text on an axis, as the browser writes for an element it cannot show.
    {"SELECT \r\n ON AXIS(0)\r\n FROM [Sales]\r\n\r\n",
     "Syntax error at line 2, column 2: expected an expression but found 'ON'"},
    {"SELECT \r\nNON EMPTY  ON AXIS(0)\r\n FROM [Sales]\r\n\r\n",
     "Syntax error at line 2, column 12: expected an expression but found 'ON'"},
    {"SELECT", "Syntax error at line 1, column 7: expected an expression but found the end of the "
               "statement"},
    {"SELECT {a} ON COLUMNS",
     "Syntax error at line 1, column 22: expected ',' or FROM but found the end of the statement"},
    {"SELECT {a} FROM [Sales]", "Syntax error at line 1, column 12: expected ON but found 'FROM'"},
    {"SELECT {a} b ON 0 FROM x", "Syntax error at line 1, column 12: expected ON but found 'b'"},
    {"SELECT {a} ON FOO FROM x",
     "Syntax error at line 1, column 15: expected COLUMNS, ROWS, PAGES, SECTIONS, CHAPTERS, "
     "AXIS(n) or an axis number but found 'FOO'"},
    {"SELECT {a} ON AXIS(1.5) FROM x",
     "Syntax error at line 1, column 20: the axis number '1.5' is not a whole number from 0 "
     "to 127"},
    {"SELECT {a} ON 128 FROM x",
     "Syntax error at line 1, column 15: the axis number '128' is not a whole number from 0 "
     "to 127"},
    {"SELECT {a} ON AXIS(x) FROM x",
     "Syntax error at line 1, column 20: expected an axis number but found 'x'"},
    {"SELECT {a, } ON 0 FROM x", "Syntax error at line 1, column 12: expected an expression but "
                                 "found '}'"},
    {"SELECT {a b} ON 0 FROM x", "Syntax error at line 1, column 11: expected ',' or '}' but "
                                 "found 'b'"},
    {"SELECT (a, b ON 0 FROM x", "Syntax error at line 1, column 14: expected ',' or ')' but "
                                 "found 'ON'"},
    {"SELECT () ON 0 FROM x", "Syntax error at line 1, column 9: expected an expression but "
                              "found ')'"},
    {"SELECT [a ON 0 FROM x", "Syntax error at line 1, column 8: unterminated name: missing ']'"},
    {"SELECT {a} ON 0 FROM [Sales]]",
     "Syntax error at line 1, column 22: unterminated name: missing ']'"},
    {"SELECT {a} ON 0 FROM x\nWHERE 'abc",
     "Syntax error at line 2, column 7: unterminated string: missing the closing '"},
    {"SELECT {a} ON 0 FROM x WHERE \"a\"\"",
     "Syntax error at line 1, column 30: unterminated string: missing the closing \""},
    {"SELECT /* {a} ON 0 FROM x",
     "Syntax error at line 1, column 8: unterminated comment: missing '*/'"},
    {"SELECT {a} ON 0 FROM x WHERE a # b",
     "Syntax error at line 1, column 32: unexpected character '#'"},
    {"SELECT {a} ON 0 FROM x WHERE a \x01",
     "Syntax error at line 1, column 32: unexpected character U+0001"},
    {"SELECT {a} ON 0 FROM x WHERE a | b",
     "Syntax error at line 1, column 32: unexpected character '|'"},
    {"SELECT 1e999 ON 0 FROM x", "Syntax error at line 1, column 8: number out of range"},
    {"SELECT {a} ON 0 FROM",
     "Syntax error at line 1, column 21: expected a cube name but found the end of the statement"},
    {"SELECT {a} ON 0 FROM WHERE",
     "Syntax error at line 1, column 22: expected a cube name but found 'WHERE'"},
    {"SELECT {a} ON 0 FROM x.",
     "Syntax error at line 1, column 24: expected a name after '.' but found the end of the "
     "statement"},
    {"SELECT {a} ON 0 FROM x y",
     "Syntax error at line 1, column 24: expected WHERE, CELL PROPERTIES or the end of the "
     "statement but found 'y'"},
    {"SELECT {a} ON 0 FROM x WHERE (b) c",
     "Syntax error at line 1, column 34: expected CELL PROPERTIES or the end of the statement "
     "but found 'c'"},
    {"SELECT {a} ON 0 FROM x WHERE", "Syntax error at line 1, column 29: expected an expression "
                                     "but found the end of the statement"},
    {"SELECT {a} ON 0 FROM x CELL VALUE",
     "Syntax error at line 1, column 29: expected PROPERTIES but found 'VALUE'"},
    {"SELECT {a} ON 0 FROM x CELL PROPERTIES VALUE FORMATTED_VALUE",
     "Syntax error at line 1, column 46: expected ',' or the end of the statement but found "
     "'FORMATTED_VALUE'"},
    {"SELECT {a} DIMENSION p ON 0 FROM x",
     "Syntax error at line 1, column 22: expected PROPERTIES but found 'p'"},
    {"SELECT {a} PROPERTIES p q ON 0 FROM x",
     "Syntax error at line 1, column 25: expected ',' or ON but found 'q'"},
    {"SELECT NON {a} ON 0 FROM x", "Syntax error at line 1, column 12: expected EMPTY but found "
                                   "'{'"},
    {"WITH SELECT {a} ON 0 FROM x",
     "Syntax error at line 1, column 6: expected MEMBER or SET but found 'SELECT'"},
    {"WITH MEMBER [M].[X] '1' SELECT FROM x",
     "Syntax error at line 1, column 21: expected AS but found string \"1\""},
    {"WITH MEMBER AS 1 SELECT FROM x",
     "Syntax error at line 1, column 13: expected a member name but found 'AS'"},
    {"WITH MEMBER [M].[X] AS 1 SOLVE_ORDER = 1 SELECT FROM x",
     "Syntax error at line 1, column 26: expected ',', MEMBER, SET or SELECT but found "
     "'SOLVE_ORDER'"},
    {"WITH SET s AS {a}, SELECT FROM x",
     "Syntax error at line 1, column 18: expected MEMBER, SET or SELECT but found ','"},
    {"WITH MEMBER [M].[X] AS 1, SOLVE_ORDER 1 SELECT FROM x",
     "Syntax error at line 1, column 39: expected '=' but found '1'"},
    {"WITH MEMBER [M].[X] AS 1, 'x' = 1 SELECT FROM x",
     "Syntax error at line 1, column 27: expected a property name such as SOLVE_ORDER or "
     "FORMAT_STRING but found string \"x\""},
    {"WITH MEMBER [M].[X] AS '1 +' SELECT FROM [S]",
     "Syntax error at line 1, column 28: expected an expression but found the end of the quoted "
     "expression"},
    {"WITH MEMBER [M].[X] AS 'IIf(''a'' 1)' SELECT FROM [S]",
     "Syntax error at line 1, column 35: expected ',' or ')' but found '1'"},
    {"WITH MEMBER [M].[X] AS '1 2' SELECT FROM [S]",
     "Syntax error at line 1, column 27: expected an operator or the end of the quoted "
     "expression but found '2'"},
    {"WITH MEMBER [M].[X] AS\n'[a\n' SELECT FROM [S]",
     "Syntax error at line 2, column 2: unterminated name: missing ']'"},
    {"SELECT [Time].[1997].. ON 0 FROM x",
     "Syntax error at line 1, column 22: expected a property or function name after '.' but "
     "found '.'"},
    {"SELECT [Time].Members.[x] ON 0 FROM x",
     "Syntax error at line 1, column 23: expected a property or function name after '.' but "
     "found '[x]'"},
    {"SELECT [Time].&1997 ON 0 FROM x",
     "Syntax error at line 1, column 16: expected a bracketed key after '&' but found '1997'"},
    {"SELECT {a} ON 0 FROM x WHERE a = NOT b",
     "Syntax error at line 1, column 34: expected an expression but found 'NOT'"},
    {"SELECT & ON 0 FROM x", "Syntax error at line 1, column 8: expected an expression but "
                             "found '&'"},
    {"SELECT CASE WHEN 1 THEN 2 ON 0 FROM x",
     "Syntax error at line 1, column 27: expected WHEN, ELSE or END but found 'ON'"},
    {"SELECT CASE 1 ELSE 2 END ON 0 FROM x",
     "Syntax error at line 1, column 15: expected WHEN but found 'ELSE'"},
    {"SELECT CASE WHEN 1 THEN 2 ELSE 3 ON 0 FROM x",
     "Syntax error at line 1, column 34: expected END but found 'ON'"},
    {"SELECT {a} ON 0 FROM x WHERE [0123456789012345678901234567890123456789abc] z",
     "Syntax error at line 1, column 76: expected CELL PROPERTIES or the end of the statement "
     "but found 'z'"},
    {"SELECT {a} ON 0 FROM x WHERE a [0123456789012345678901234567890123456789abc]",
     "Syntax error at line 1, column 32: expected CELL PROPERTIES or the end of the statement "
     "but found '[012345678901234567890123456789012345678...'"},
};

TEST(MdxParser, RefusesStatementsNamingPositionAndExpectation)
{
    for (const Case &c : failingStatements) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(errorOf(QString::fromUtf8(c.text)), QString::fromUtf8(c.expected));
    }
}

TEST(MdxParser, RefusesExpressionsWithTrailingText)
{
    EXPECT_EQ(errorOf(QStringLiteral("a b"), false),
              QStringLiteral("Syntax error at line 1, column 3: expected an operator or the end "
                             "of the expression but found 'b'"));
    EXPECT_EQ(errorOf(QStringLiteral("  "), false),
              QStringLiteral("Syntax error at line 1, column 3: expected an expression but found "
                             "the end of the statement"));
}

} // namespace
