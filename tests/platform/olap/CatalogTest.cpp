// The object model over the shop fixture: names as Mondrian gives them for the same schema,
// member order, navigation, lookup by unique name, and errors for bad indices.

#include "platform/olap/Catalog.h"
#include "platform/olap/Connection.h"
#include "platform/runtime/Error.h"
#include "tests/platform/olap/CubeFixtures.h"

#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <QTemporaryDir>

using namespace platform::olap;
using ::testing::HasSubstr;
using testing_support::buildFixtureCube;
using testing_support::connectionStringFor;

namespace {

class CatalogTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        dir = new QTemporaryDir;
        path = new QString(buildFixtureCube(dir->path()));
    }
    static void TearDownTestSuite()
    {
        delete path;
        delete dir;
    }
    void SetUp() override
    {
        connection.open(connectionStringFor(*path), QString(), QString(), -1);
        catalog.setActiveConnection(connection);
    }

    CubeDef sales() const { return catalog.cubeDefs().item(0); }
    Hierarchy hierarchy(int dimension, int hierarchy = 0) const
    {
        return sales().dimensions().item(dimension).hierarchies().item(hierarchy);
    }
    Level level(const QString &uniqueName) const
    {
        const Dimensions dimensions = sales().dimensions();
        for (int d = 0; d < dimensions.count(); ++d) {
            const Hierarchies hierarchies = dimensions.item(d).hierarchies();
            for (int h = 0; h < hierarchies.count(); ++h) {
                const Levels levels = hierarchies.item(h).levels();
                for (int l = 0; l < levels.count(); ++l) {
                    if (levels.item(l).uniqueName() == uniqueName)
                        return levels.item(l);
                }
            }
        }
        throw platform::Error(QStringLiteral("no level ") + uniqueName);
    }
    Member member(const QString &uniqueName) const
    {
        const Member m = sales().findMember(uniqueName);
        if (m.isNull())
            throw platform::Error(QStringLiteral("no member ") + uniqueName);
        return m;
    }
    static QStringList uniqueNames(const Members &members)
    {
        QStringList names;
        for (int i = 0; i < members.count(); ++i)
            names << members.item(i).uniqueName();
        return names;
    }

    static QTemporaryDir *dir;
    static QString *path;
    Connection connection;
    Catalog catalog;
};

QTemporaryDir *CatalogTest::dir = nullptr;
QString *CatalogTest::path = nullptr;

TEST_F(CatalogTest, CubesAndDimensionsInSchemaOrderWithMeasuresFirst)
{
    EXPECT_EQ(catalog.name(), "Shop");
    EXPECT_TRUE(catalog.activeConnection() == connection);
    const CubeDefs cubes = catalog.cubeDefs();
    ASSERT_EQ(cubes.count(), 2);
    EXPECT_EQ(cubes.item(0).name(), "Sales");
    EXPECT_EQ(cubes.item(1).name(), "Returns");

    struct Expected
    {
        const char *name;
        const char *uniqueName;
        int type;
        int hierarchies;
    };
    const Expected expected[] = {
        {"Measures", "[Measures]", 2, 1}, {"Time", "[Time]", 1, 1}, {"Product", "[Product]", 3, 2},
        {"Store", "[Store]", 3, 2},       {"Item", "[Item]", 3, 1},
    };
    const Dimensions dimensions = sales().dimensions();
    ASSERT_EQ(dimensions.count(), int(std::size(expected)));
    for (int d = 0; d < dimensions.count(); ++d) {
        SCOPED_TRACE(expected[d].name);
        const Dimension dimension = dimensions.item(d);
        EXPECT_EQ(dimension.name(), expected[d].name);
        EXPECT_EQ(dimension.uniqueName(), expected[d].uniqueName);
        EXPECT_EQ(dimension.properties("DIMENSION_TYPE").value().toInt(), expected[d].type);
        EXPECT_EQ(dimension.properties("dimension_type").value().toInt(), expected[d].type);
        EXPECT_EQ(dimension.hierarchies().count(), expected[d].hierarchies);
    }
    EXPECT_THAT([&] { dimensions.item(0).properties("NO_SUCH_PROPERTY"); },
                ::testing::ThrowsMessage<platform::Error>(HasSubstr("has no property \"NO_SUCH")));
}

TEST_F(CatalogTest, HierarchiesAndLevelsAreNamedAsMondrianNamesThem)
{
    struct Expected
    {
        int dimension;
        int hierarchy;
        const char *name;
        const char *uniqueName;
        QStringList levels; // unique names, depth = position
    };
    const Expected expected[] = {
        {0, 0, "Measures", "[Measures]", {"[Measures].[MeasuresLevel]"}},
        {1, 0, "Time", "[Time]", {"[Time].[Year]", "[Time].[Quarter]", "[Time].[Month]"}},
        {2,
         0,
         "Product",
         "[Product]",
         {"[Product].[(All)]", "[Product].[Family]", "[Product].[Category]",
          "[Product].[Product]"}},
        {2,
         1,
         "Product.Pack",
         "[Product.Pack]",
         {"[Product.Pack].[(All)]", "[Product.Pack].[Size]"}},
        {3, 0, "Store", "[Store]", {"[Store].[(All)]", "[Store].[Country]", "[Store].[City]"}},
        {3, 1, "Store.Type", "[Store.Type]", {"[Store.Type].[(All)]", "[Store.Type].[Type]"}},
        {4, 0, "Item", "[Item]", {"[Item].[(All)]", "[Item].[Code]"}},
    };
    for (const Expected &e : expected) {
        SCOPED_TRACE(e.uniqueName);
        const Hierarchy h = hierarchy(e.dimension, e.hierarchy);
        EXPECT_EQ(h.name(), e.name);
        EXPECT_EQ(h.uniqueName(), e.uniqueName);
        const Levels levels = h.levels();
        ASSERT_EQ(levels.count(), e.levels.size());
        for (int l = 0; l < levels.count(); ++l) {
            EXPECT_EQ(levels.item(l).uniqueName(), e.levels[l]);
            EXPECT_EQ(levels.item(l).depth(), l);
            EXPECT_EQ(e.levels[l].endsWith("[" + levels.item(l).name() + "]"), true);
        }
    }
}

TEST_F(CatalogTest, LevelMembersInMondrianOrder)
{
    const struct
    {
        const char *level;
        QStringList members;
    } cases[] = {
        // Stored measures only; calculated members are the MDX engine's.
        {"[Measures].[MeasuresLevel]",
         {"[Measures].[Quantity]", "[Measures].[Amount]", "[Measures].[Lines]",
          "[Measures].[Biggest]"}},
        // No All level: the years are the top; numbers in numeric order.
        {"[Time].[Year]", {"[Time].[2022]", "[Time].[2023]", "[Time].[2024]"}},
        // ordinalColumn orders months (as text February would come before January).
        {"[Time].[Month]",
         {"[Time].[2022].[Q4].[December]", "[Time].[2023].[Q1].[January]",
          "[Time].[2023].[Q1].[February]", "[Time].[2023].[Q2].[April]",
          "[Time].[2024].[Q1].[January]"}},
        {"[Product].[(All)]", {"[Product].[All Products]"}},
        // Hierarchical order; one name under two parents gives two members.
        {"[Product].[Product]",
         {"[Product].[Drink].[Juice].[Apple]", "[Product].[Drink].[Juice].[Orange]",
          "[Product].[Food].[Bread].[Rye]", "[Product].[Food].[Fruit].[Apple]",
          "[Product].[Food].[Fruit].[Pear]"}},
        // A second hierarchy's All member, Mondrian's default name for it.
        {"[Product.Pack].[(All)]", {"[Product.Pack].[All Product.Packs]"}},
        // A numeric level: 9, 10, 100 (as text: 10, 100, 9).
        {"[Product.Pack].[Size]",
         {"[Product.Pack].[9]", "[Product.Pack].[10]", "[Product.Pack].[100]"}},
        // Two dimension rows of one city make one member.
        {"[Store].[City]",
         {"[Store].[Canada].[Toronto]", "[Store].[USA].[Boston]", "[Store].[USA].[Seattle]"}},
        {"[Store.Type].[(All)]", {"[Store.Type].[All Types]"}},
        {"[Store.Type].[Type]",
         {"[Store.Type].[Deluxe]", "[Store.Type].[Small [Corner]]]", "[Store.Type].[Supermarket]"}},
        // Mixed key types as SQLite orders them: numbers, then text byte by byte.
        {"[Item].[Code]",
         {"[Item].[2.5]", "[Item].[9]", "[Item].[10]", "[Item].[A]", "[Item].[B]", "[Item].[b]"}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.level);
        EXPECT_EQ(uniqueNames(level(c.level).members()), c.members);
    }
}

TEST_F(CatalogTest, MemberAttributesAndNavigation)
{
    const struct
    {
        const char *uniqueName;
        const char *name;
        const char *caption;
        int levelDepth;
        const char *parent; // "" for none
        QStringList children;
    } cases[] = {
        {"[Time].[2023]", "2023", "2023", 0, "", {"[Time].[2023].[Q1]", "[Time].[2023].[Q2]"}},
        {"[Time].[2023].[Q1].[February]", "February", "February", 2, "[Time].[2023].[Q1]", {}},
        // clang-format off
        {"[Product].[All Products]", "All Products", "All Products", 0, "",
         // clang-format on
         {"[Product].[Drink]", "[Product].[Food]"}},
        // clang-format off
        {"[Product].[Food]", "Food", "Food", 1, "[Product].[All Products]",
         // clang-format on
         {"[Product].[Food].[Bread]", "[Product].[Food].[Fruit]"}},
        // captionColumn gives the caption; a NULL caption falls back to the name.
        // clang-format off
        {"[Product].[Food].[Fruit]", "Fruit", "Fresh fruit", 2, "[Product].[Food]",
         // clang-format on
         {"[Product].[Food].[Fruit].[Apple]", "[Product].[Food].[Fruit].[Pear]"}},
        // clang-format off
        {"[Product].[Food].[Bread]", "Bread", "Bread", 2, "[Product].[Food]",
         // clang-format on
         {"[Product].[Food].[Bread].[Rye]"}},
        // clang-format off
        {"[Product].[Drink].[Juice].[Apple]", "Apple", "Apple", 3, "[Product].[Drink].[Juice]",
         // clang-format on
         {}},
        {"[Store.Type].[Small [Corner]]]",
         "Small [Corner]",
         "Small [Corner]",
         1,
         "[Store.Type].[All Types]",
         {}},
        {"[Item].[2.5]", "2.5", "2.5", 1, "[Item].[All Items]", {}},
        {"[Measures].[Amount]", "Amount", "Amount", 0, "", {}},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.uniqueName);
        const Member m = member(c.uniqueName);
        EXPECT_EQ(m.uniqueName(), c.uniqueName);
        EXPECT_EQ(m.name(), c.name);
        EXPECT_EQ(m.caption(), c.caption);
        EXPECT_EQ(m.levelDepth(), c.levelDepth);
        EXPECT_EQ(m.parent().isNull() ? QString() : m.parent().uniqueName(), c.parent);
        EXPECT_EQ(m.childCount(), c.children.size());
        EXPECT_EQ(uniqueNames(m.children()), c.children);
        for (int i = 0; i < m.children().count(); ++i)
            EXPECT_TRUE(m.children().item(i).parent() == m);
    }
}

TEST_F(CatalogTest, FindMemberByUniqueName)
{
    const struct
    {
        const char *text;
        const char *found; // "" for none
    } cases[] = {
        {"[Time].[2023].[Q1]", "[Time].[2023].[Q1]"},
        {"[time].[2023].[q1]", "[Time].[2023].[Q1]"}, // without regard to case
        {" [Time] . [2023] ", "[Time].[2023]"},       // blanks around the dots
        {"Time.[2023].Q1", "[Time].[2023].[Q1]"},     // bare names
        {"[Store.Type].[Small [Corner]]]", "[Store.Type].[Small [Corner]]]"}, // "]]" escapes
        {"[STORE.TYPE].[all types]", "[Store.Type].[All Types]"},
        {"[Measures].[Quantity]", "[Measures].[Quantity]"},
        {"[Item].[b]", "[Item].[b]"}, // the exact spelling first
        {"[Item].[B]", "[Item].[B]"},
        {"[Measures].[Average Price]", ""}, // calculated: the MDX engine's
        {"[Time].[1999]", ""},
        {"[Time].[2023].[Q1].[April]", ""}, // April is in Q2
        {"[Nowhere].[x]", ""},
        {"[Time]", ""},
        {"[Time].[2023", ""},
        {"[Time]..[2023]", ""},
        {"", ""},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        const Member m = sales().findMember(c.text);
        EXPECT_EQ(m.isNull() ? QString() : m.uniqueName(), c.found);
    }
    // Through a hierarchy: only its own members.
    EXPECT_EQ(hierarchy(1).findMember("[time].[2024]").uniqueName(), "[Time].[2024]");
    EXPECT_TRUE(hierarchy(1).findMember("[Product].[Food]").isNull());
}

TEST_F(CatalogTest, BadIndicesAndTheEmptyMemberAreErrors)
{
    const Hierarchy time = hierarchy(1);
    const Member year = time.levels().item(0).members().item(1);
    const std::function<void()> bad[] = {
        [&] { catalog.cubeDefs().item(2); },
        [&] { sales().dimensions().item(-1); },
        [&] { sales().dimensions().item(5); },
        [&] { sales().dimensions().item(1).hierarchies().item(1); },
        [&] { time.levels().item(3); },
        [&] { time.levels().item(0).members().item(3); },
        [&] { year.children().item(2); },
        [&] { year.children().item(0).children().item(0).children().item(0); },
    };
    for (std::size_t i = 0; i < std::size(bad); ++i) {
        SCOPED_TRACE(i);
        EXPECT_THAT(bad[i], ::testing::ThrowsMessage<platform::Error>(
                                HasSubstr("does not exist: the collection has")));
    }
    const Member none = year.parent(); // a top member has no parent
    ASSERT_TRUE(none.isNull());
    EXPECT_THROW(none.uniqueName(), platform::Error);
    EXPECT_THROW(none.levelDepth(), platform::Error);
    EXPECT_THROW(none.children(), platform::Error);
}

TEST_F(CatalogTest, ObjectsStayValidAfterTheConnectionCloses)
{
    const Member member = this->member("[Product].[Food].[Fruit]");
    const Levels levels = hierarchy(2).levels();
    connection.close();
    EXPECT_EQ(member.children().item(1).uniqueName(), "[Product].[Food].[Fruit].[Pear]");
    EXPECT_EQ(levels.item(3).members().count(), 5);
    EXPECT_EQ(catalog.cubeDefs().item(1).name(), "Returns");
    // A new catalog needs an open connection.
    Catalog other;
    EXPECT_THAT([&] { other.setActiveConnection(connection); },
                ::testing::ThrowsMessage<platform::Error>(HasSubstr("not open")));
}

TEST(CatalogWithoutConnection, IsAnError)
{
    Catalog catalog;
    EXPECT_THAT([&] { catalog.cubeDefs(); },
                ::testing::ThrowsMessage<platform::Error>(HasSubstr("no active connection")));
    EXPECT_THROW(catalog.activeConnection(), platform::Error);
    EXPECT_THROW(catalog.name(), platform::Error);
}

} // namespace
