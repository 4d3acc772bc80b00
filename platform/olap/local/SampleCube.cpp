// The sample cube: a small retail star schema with skewed popularity and seasonal sales, so
// that browsing it shows uneven figures and some empty combinations.

#include "platform/olap/local/CubeBuilder.h"
#include "platform/olap/local/CubeOutput.h"
#include "platform/runtime/Error.h"

#include <QDate>

#include <sqlite3.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>
#include <vector>

namespace platform::olap::local {

namespace {

// xoshiro256** seeded through splitmix64: fast, and the same sequence on every machine.
class Random
{
public:
    explicit Random(std::uint64_t seed)
    {
        for (std::uint64_t &word : m_s) {
            seed += 0x9E3779B97F4A7C15ull;
            std::uint64_t z = seed;
            z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
            z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
            word = z ^ (z >> 31);
        }
    }

    std::uint64_t next()
    {
        const std::uint64_t result = rotl(m_s[1] * 5, 7) * 9;
        const std::uint64_t t = m_s[1] << 17;
        m_s[2] ^= m_s[0];
        m_s[3] ^= m_s[1];
        m_s[1] ^= m_s[2];
        m_s[0] ^= m_s[3];
        m_s[2] ^= t;
        m_s[3] = rotl(m_s[3], 45);
        return result;
    }
    double uniform() { return double(next() >> 11) * 0x1.0p-53; } // [0, 1)
    std::uint32_t below(std::uint32_t n) { return std::uint32_t((next() >> 32) * n >> 32); }

private:
    static std::uint64_t rotl(std::uint64_t x, int k) { return (x << k) | (x >> (64 - k)); }
    std::array<std::uint64_t, 4> m_s{};
};

// Draws an index with probability proportional to its weight.
class Weighted
{
public:
    explicit Weighted(const std::vector<double> &weights) : m_cumulative(weights.size())
    {
        std::partial_sum(weights.begin(), weights.end(), m_cumulative.begin());
    }
    std::uint32_t draw(Random &random) const
    {
        const double x = random.uniform() * m_cumulative.back();
        const auto it = std::upper_bound(m_cumulative.begin(), m_cumulative.end(), x);
        return std::uint32_t(std::min<std::ptrdiff_t>(it - m_cumulative.begin(),
                                                      std::ptrdiff_t(m_cumulative.size()) - 1));
    }

private:
    std::vector<double> m_cumulative;
};

// Zipf-like weights 1/(rank^s) over a fixed shuffle, so that popularity is not in id order.
std::vector<double> zipf(std::size_t n, double s, std::uint64_t shuffleSeed)
{
    std::vector<std::size_t> rank(n);
    std::iota(rank.begin(), rank.end(), 0);
    Random random(shuffleSeed);
    for (std::size_t i = n; i > 1; --i)
        std::swap(rank[i - 1], rank[random.below(std::uint32_t(i))]);
    std::vector<double> weights(n);
    for (std::size_t i = 0; i < n; ++i)
        weights[i] = 1.0 / std::pow(double(rank[i] + 1), s);
    return weights;
}

struct Category
{
    const char *family;
    const char *department;
    const char *category;
    std::array<const char *, 5> items;
};

const Category categories[] = {
    {"Drink",
     "Beverages",
     "Juice",
     {"Apple Juice", "Orange Juice", "Grape Juice", "Cranberry Juice", "Lemonade"}},
    {"Drink", "Beverages", "Soda", {"Cola", "Lemon Soda", "Ginger Ale", "Root Beer", "Tonic"}},
    {"Drink",
     "Beverages",
     "Coffee and Tea",
     {"Ground Coffee", "Instant Coffee", "Green Tea", "Black Tea", "Herbal Tea"}},
    {"Drink",
     "Beverages",
     "Water",
     {"Spring Water", "Sparkling Water", "Mineral Water", "Flavored Water", "Distilled Water"}},
    // clang-format off
    {"Drink", "Dairy", "Milk", {"Whole Milk", "Skim Milk", "Chocolate Milk", "Oat Milk",
                                "Buttermilk"}},
    {"Drink", "Dairy", "Yogurt Drinks",
     // clang-format on
     {"Kefir", "Drinkable Yogurt", "Lassi", "Smoothie", "Protein Shake"}},
    {"Drink", "Spirits", "Beer", {"Lager", "Pale Ale", "Stout", "Wheat Beer", "Pilsner"}},
    {"Drink",
     "Spirits",
     "Wine",
     {"Red Wine", "White Wine", "Rose Wine", "Sparkling Wine", "Dessert Wine"}},
    {"Food", "Bakery", "Bread", {"White Bread", "Rye Bread", "Bagels", "Rolls", "Muffins"}},
    {"Food", "Bakery", "Cakes", {"Pound Cake", "Cheesecake", "Brownies", "Donuts", "Cookies"}},
    {"Food",
     "Canned Goods",
     "Canned Vegetables",
     {"Corn", "Peas", "Green Beans", "Tomatoes", "Beets"}},
    {"Food", "Canned Goods", "Canned Fish", {"Tuna", "Sardines", "Salmon", "Anchovies", "Clams"}},
    {"Food",
     "Canned Goods",
     "Soup",
     {"Chicken Soup", "Tomato Soup", "Lentil Soup", "Onion Soup", "Bean Soup"}},
    {"Food", "Deli", "Cheese", {"Cheddar", "Swiss Cheese", "Mozzarella", "Brie", "Gouda"}},
    {"Food", "Deli", "Cold Cuts", {"Ham", "Salami", "Turkey Breast", "Bologna", "Pastrami"}},
    {"Food",
     "Frozen",
     "Frozen Vegetables",
     {"Frozen Peas", "Frozen Spinach", "Frozen Broccoli", "Frozen Carrots", "Frozen Corn"}},
    {"Food",
     "Frozen",
     "Ice Cream",
     {"Vanilla Ice Cream", "Chocolate Ice Cream", "Strawberry Ice Cream", "Sorbet",
      "Frozen Yogurt"}},
    {"Food", "Frozen", "Frozen Meals", {"Pizza", "Lasagna", "Burritos", "Pot Pie", "Fish Sticks"}},
    {"Food", "Produce", "Fruit", {"Apples", "Bananas", "Oranges", "Pears", "Grapes"}},
    {"Food",
     "Produce",
     "Vegetables",
     {"Carrots", "Potatoes", "Onions", "Lettuce", "Fresh Tomatoes"}},
    {"Food",
     "Snacks",
     "Chips",
     {"Potato Chips", "Tortilla Chips", "Corn Chips", "Pretzels", "Popcorn"}},
    {"Food", "Snacks", "Candy", {"Chocolate Bar", "Gum", "Mints", "Jelly Beans", "Caramels"}},
    {"Food", "Snacks", "Nuts", {"Peanuts", "Almonds", "Cashews", "Walnuts", "Mixed Nuts"}},
    {"Food",
     "Pantry",
     "Pasta",
     {"Spaghetti", "Penne", "Macaroni", "Egg Noodles", "Lasagna Sheets"}},
    {"Food", "Pantry", "Baking", {"Flour", "Sugar", "Baking Soda", "Yeast", "Cake Mix"}},
    {"Food", "Pantry", "Condiments", {"Ketchup", "Mustard", "Mayonnaise", "Relish", "Hot Sauce"}},
    {"Food",
     "Pantry",
     "Breakfast",
     {"Oatmeal", "Corn Flakes", "Granola", "Pancake Mix", "Maple Syrup"}},
    {"Non-Consumable",
     "Household",
     "Cleaning",
     {"Dish Soap", "Glass Cleaner", "Bleach", "Sponges", "Laundry Detergent"}},
    {"Non-Consumable",
     "Household",
     "Kitchen",
     {"Aluminum Foil", "Plastic Wrap", "Trash Bags", "Paper Plates", "Napkins"}},
    {"Non-Consumable",
     "Health",
     "Personal Care",
     {"Shampoo", "Toothpaste", "Soap", "Deodorant", "Lotion"}},
    {"Non-Consumable",
     "Health",
     "Medicine",
     {"Aspirin", "Cough Syrup", "Vitamins", "Bandages", "Antacids"}},
    {"Non-Consumable",
     "Paper Goods",
     "Paper",
     {"Paper Towels", "Toilet Paper", "Tissues", "Notebooks", "Envelopes"}},
    {"Non-Consumable",
     "Periodicals",
     "Magazines",
     {"Cooking Magazine", "Sports Magazine", "News Magazine", "Travel Magazine",
      "Garden Magazine"}},
    {"Non-Consumable",
     "Periodicals",
     "Books",
     {"Novels", "Cookbooks", "Comics", "Puzzle Books", "Road Maps"}},
};

const char *const brands[] = {"Harbor",   "Summit",    "Golden",       "Prairie",
                              "Bluebell", "Redwood",   "Silver Creek", "Maple Leaf",
                              "Sunrise",  "Evergreen", "Lakeside",     "Old Mill"};
constexpr int brandsPerItem = 9;

struct City
{
    const char *country;
    const char *state;
    const char *city;
    int stores;
    double population; // weight of its customers
};

const City cities[] = {
    {"USA", "CA", "Los Angeles", 5, 9},    {"USA", "CA", "San Diego", 3, 4},
    {"USA", "CA", "San Francisco", 4, 5},  {"USA", "OR", "Portland", 3, 3},
    {"USA", "OR", "Salem", 1, 1},          {"USA", "WA", "Seattle", 4, 4},
    {"USA", "WA", "Spokane", 2, 1.5},      {"USA", "WA", "Tacoma", 2, 1.5},
    {"USA", "TX", "Houston", 4, 6},        {"USA", "TX", "Dallas", 3, 5},
    {"USA", "TX", "Austin", 2, 3},         {"USA", "NY", "New York", 5, 9},
    {"USA", "NY", "Buffalo", 2, 1.5},      {"Canada", "BC", "Vancouver", 3, 3},
    {"Canada", "BC", "Victoria", 1, 1},    {"Canada", "ON", "Toronto", 4, 5},
    {"Canada", "ON", "Ottawa", 2, 2},      {"Canada", "QC", "Montréal", 3, 3},
    {"Canada", "QC", "Québec", 1, 1},      {"Mexico", "Jalisco", "Guadalajara", 2, 3},
    {"Mexico", "DF", "Mexico City", 3, 6}, {"Mexico", "Nuevo León", "Monterrey", 1, 2},
    {"Mexico", "Yucatán", "Mérida", 1, 1},
};

const char *const firstSyllables[] = {"Al",  "Ber", "Car", "Dor", "El",
                                      "Fen", "Gar", "Hal", "Is",  "Jor"};
const char *const firstEndings[] = {"a", "an", "ella", "en", "ia", "ik", "ina", "o", "on", "us"};
const char *const lastStarts[] = {"Ash",  "Brook", "Clay", "Dale", "East",
                                  "Fair", "Green", "Hart", "Iron", "King"};
const char *const lastEndings[] = {"ford", "ley", "man",  "more", "ridge",
                                   "son",  "ton", "well", "wood", "worth"};
constexpr int customerCount = 10000;

const char *const mediaTypes[] = {"No Media",     "Daily Paper",    "Radio",           "TV",
                                  "Sunday Paper", "Street Handout", "In-Store Coupon", "Bulk Mail",
                                  "Email",        "Social Media"};
const char *const promotionSeasons[] = {"Spring",  "Summer",  "Autumn", "Winter",
                                        "Holiday", "Weekend", "Midweek"};
const char *const promotionKinds[] = {"Savings",   "Deals", "Bonanza",  "Specials",
                                      "Discounts", "Sale",  "Clearance"};

const char *const monthNames[] = {"January",   "February", "March",    "April",
                                  "May",       "June",     "July",     "August",
                                  "September", "October",  "November", "December"};
// Sales by month of year: a winter low, a summer bump, the December peak.
constexpr double monthWeights[] = {0.80, 0.72, 0.88, 0.95, 1.00, 1.06,
                                   1.10, 1.05, 0.96, 1.00, 1.12, 1.45};
constexpr int firstYear = 2021;
constexpr int yearCount = 3;
constexpr int firstMexicoYear = 2022; // Mexico's stores open in the second year

class Inserter
{
public:
    Inserter(SqliteDb &db, const QString &sql) : m_stmt(db, sql) {}
    Inserter &text(const QString &value)
    {
        const QByteArray utf8 = value.toUtf8();
        sqlite3_bind_text(m_stmt.handle(), ++m_column, utf8.constData(), int(utf8.size()),
                          SQLITE_TRANSIENT);
        return *this;
    }
    Inserter &text(const char *value) { return text(QString::fromUtf8(value)); }
    Inserter &integer(std::int64_t value)
    {
        sqlite3_bind_int64(m_stmt.handle(), ++m_column, value);
        return *this;
    }
    Inserter &real(double value)
    {
        sqlite3_bind_double(m_stmt.handle(), ++m_column, value);
        return *this;
    }
    void run()
    {
        m_stmt.step();
        m_stmt.reset();
        m_column = 0;
    }
    sqlite3_stmt *handle() { return m_stmt.handle(); }

private:
    SqliteStmt m_stmt;
    int m_column = 0;
};

double cents(double value)
{
    return std::round(value * 100.0) / 100.0;
}

void writeTables(SqliteDb &db, std::int64_t factCount, std::uint64_t seed)
{
    db.exec(QStringLiteral(
        "CREATE TABLE time_by_day (time_id INTEGER PRIMARY KEY, the_date TEXT NOT NULL, "
        "the_year INTEGER NOT NULL, quarter TEXT NOT NULL, month_of_year INTEGER NOT NULL, "
        "the_month TEXT NOT NULL, day_of_month INTEGER NOT NULL);"
        "CREATE TABLE product (product_id INTEGER PRIMARY KEY, product_family TEXT NOT NULL, "
        "product_department TEXT NOT NULL, product_category TEXT NOT NULL, "
        "product_name TEXT NOT NULL, brand_name TEXT NOT NULL, unit_price REAL NOT NULL);"
        "CREATE TABLE store (store_id INTEGER PRIMARY KEY, store_country TEXT NOT NULL, "
        "store_state TEXT NOT NULL, store_city TEXT NOT NULL, store_name TEXT NOT NULL);"
        "CREATE TABLE customer (customer_id INTEGER PRIMARY KEY, country TEXT NOT NULL, "
        "state_province TEXT NOT NULL, city TEXT NOT NULL, fullname TEXT NOT NULL);"
        "CREATE TABLE promotion (promotion_id INTEGER PRIMARY KEY, media_type TEXT NOT NULL, "
        "promotion_name TEXT NOT NULL);"
        "CREATE TABLE sales_fact (time_id INTEGER NOT NULL, product_id INTEGER NOT NULL, "
        "store_id INTEGER NOT NULL, customer_id INTEGER NOT NULL, "
        "promotion_id INTEGER NOT NULL, unit_sales INTEGER NOT NULL, "
        "store_sales REAL NOT NULL, store_cost REAL NOT NULL);"));

    // Time: every day of three years; the weight of a day for the facts.
    std::vector<double> dayWeights;
    std::vector<int> dayYear;
    {
        Inserter insert(db, QStringLiteral("INSERT INTO time_by_day VALUES (?,?,?,?,?,?,?)"));
        const QDate last(firstYear + yearCount - 1, 12, 31);
        int id = 0;
        for (QDate d(firstYear, 1, 1); d <= last; d = d.addDays(1)) {
            insert.integer(++id)
                .text(d.toString(Qt::ISODate))
                .integer(d.year())
                .text(QStringLiteral("Q%1").arg((d.month() + 2) / 3))
                .integer(d.month())
                .text(monthNames[d.month() - 1])
                .integer(d.day())
                .run();
            const double weekend = d.dayOfWeek() >= 6 ? 1.3 : 1.0;
            const double growth = 1.0 + 0.15 * (d.year() - firstYear);
            dayWeights.push_back(monthWeights[d.month() - 1] * weekend * growth);
            dayYear.push_back(d.year());
        }
    }

    // Products: brand + item, a price and a cost ratio each.
    std::vector<double> prices;
    std::vector<double> costRatios;
    {
        Inserter insert(db, QStringLiteral("INSERT INTO product VALUES (?,?,?,?,?,?,?)"));
        Random random(0x5eed0001);
        int item = 0;
        for (const Category &c : categories) {
            for (const char *name : c.items) {
                for (int k = 0; k < brandsPerItem; ++k) {
                    const char *brand = brands[(item * 5 + k) % std::size(brands)];
                    const double price = 0.5 + double(random.below(1150)) / 100.0;
                    prices.push_back(price);
                    costRatios.push_back(0.30 + 0.30 * random.uniform());
                    insert.integer(std::int64_t(prices.size()))
                        .text(QString::fromUtf8(c.family))
                        .text(c.department)
                        .text(c.category)
                        .text(QString::fromUtf8(brand) + QLatin1Char(' ') + QString::fromUtf8(name))
                        .text(brand)
                        .real(price)
                        .run();
                }
                ++item;
            }
        }
    }

    // Stores by city; Mexico's open only from its first year.
    std::vector<double> storeWeights;
    std::vector<bool> storeInMexico;
    {
        Inserter insert(db, QStringLiteral("INSERT INTO store VALUES (?,?,?,?,?)"));
        Random random(0x5eed0002);
        for (const City &city : cities) {
            for (int s = 0; s < city.stores; ++s) {
                storeWeights.push_back(0.5 + random.uniform());
                storeInMexico.push_back(QLatin1String(city.country) == QLatin1String("Mexico"));
                insert.integer(std::int64_t(storeWeights.size()))
                    .text(city.country)
                    .text(city.state)
                    .text(city.city)
                    .text(QStringLiteral("Store %1").arg(storeWeights.size()))
                    .run();
            }
        }
    }

    // Customers, spread over the cities by population; every full name is different.
    {
        Inserter insert(db, QStringLiteral("INSERT INTO customer VALUES (?,?,?,?,?)"));
        std::vector<double> population;
        for (const City &city : cities)
            population.push_back(city.population);
        const Weighted cityOf(population);
        Random random(0x5eed0003);
        for (int i = 0; i < customerCount; ++i) {
            const int a = i / 100;
            const int b = i % 100;
            const int last = (a + 7 * b) % 100;
            const QString name = QString::fromUtf8(firstSyllables[b / 10])
                                 + QString::fromUtf8(firstEndings[b % 10]) + QLatin1Char(' ')
                                 + QString::fromUtf8(lastStarts[last / 10])
                                 + QString::fromUtf8(lastEndings[last % 10]);
            const City &city = cities[cityOf.draw(random)];
            insert.integer(i + 1)
                .text(city.country)
                .text(city.state)
                .text(city.city)
                .text(name)
                .run();
        }
    }

    // Promotions: none, then seasonal campaigns on the media.
    {
        Inserter insert(db, QStringLiteral("INSERT INTO promotion VALUES (?,?,?)"));
        insert.integer(1).text(mediaTypes[0]).text("No Promotion").run();
        int id = 1;
        for (const char *season : promotionSeasons) {
            for (const char *kind : promotionKinds) {
                ++id;
                insert.integer(id)
                    .text(mediaTypes[1 + (id % (std::size(mediaTypes) - 1))])
                    .text(QString::fromUtf8(season) + QLatin1Char(' ') + QString::fromUtf8(kind))
                    .run();
            }
        }
    }
    const std::uint32_t promotionCount =
        1 + std::uint32_t(std::size(promotionSeasons) * std::size(promotionKinds));

    // Facts.
    const Weighted day(dayWeights);
    const Weighted product(zipf(prices.size(), 1.0, 0x5eed0004));
    const Weighted customer(zipf(customerCount, 0.8, 0x5eed0005));
    const Weighted promotion(zipf(promotionCount - 1, 1.2, 0x5eed0006));
    std::vector<double> storesWithoutMexico = storeWeights;
    for (std::size_t s = 0; s < storeWeights.size(); ++s) {
        if (storeInMexico[s])
            storesWithoutMexico[s] = 0;
    }
    const Weighted storeBefore(storesWithoutMexico);
    const Weighted storeAll(storeWeights);
    constexpr std::array<double, 6> unitWeights{0.30, 0.27, 0.19, 0.12, 0.08, 0.04};
    const Weighted units(std::vector<double>(unitWeights.begin(), unitWeights.end()));

    Random random(seed);
    Inserter insert(db, QStringLiteral("INSERT INTO sales_fact VALUES (?,?,?,?,?,?,?,?)"));
    sqlite3_stmt *stmt = insert.handle();
    for (std::int64_t f = 0; f < factCount; ++f) {
        const std::uint32_t d = day.draw(random);
        const std::uint32_t p = product.draw(random);
        const std::uint32_t s =
            dayYear[d] < firstMexicoYear ? storeBefore.draw(random) : storeAll.draw(random);
        const std::uint32_t c = customer.draw(random);
        const std::uint32_t promo = random.uniform() < 0.7 ? 0 : 1 + promotion.draw(random);
        const int unitSales = int(units.draw(random)) + 1;
        const double sales = cents(unitSales * prices[p]);
        const double cost = cents(sales * costRatios[p]);
        sqlite3_bind_int(stmt, 1, int(d) + 1);
        sqlite3_bind_int(stmt, 2, int(p) + 1);
        sqlite3_bind_int(stmt, 3, int(s) + 1);
        sqlite3_bind_int(stmt, 4, int(c) + 1);
        sqlite3_bind_int(stmt, 5, int(promo) + 1);
        sqlite3_bind_int(stmt, 6, unitSales);
        sqlite3_bind_double(stmt, 7, sales);
        sqlite3_bind_double(stmt, 8, cost);
        if (sqlite3_step(stmt) != SQLITE_DONE)
            throw Error(QStringLiteral("%1: writing the facts: %2").arg(db.path(), db.lastError()));
        sqlite3_reset(stmt);
    }
}

} // namespace

QString sampleSchemaXml()
{
    return QStringLiteral(R"(<?xml version="1.0" encoding="UTF-8"?>
<Schema name="Pelmora Sample">
  <Cube name="Sales">
    <Table name="sales_fact"/>
    <Dimension name="Time" type="TimeDimension" foreignKey="time_id">
      <Hierarchy hasAll="false" primaryKey="time_id">
        <Table name="time_by_day"/>
        <Level name="Year" column="the_year" type="Numeric" uniqueMembers="true"
               levelType="TimeYears"/>
        <Level name="Quarter" column="quarter" uniqueMembers="false" levelType="TimeQuarters"/>
        <Level name="Month" column="month_of_year" nameColumn="the_month" type="Numeric"
               uniqueMembers="false" levelType="TimeMonths"/>
        <Level name="Day" column="day_of_month" type="Numeric" uniqueMembers="false"
               levelType="TimeDays"/>
      </Hierarchy>
    </Dimension>
    <Dimension name="Product" foreignKey="product_id">
      <Hierarchy hasAll="true" primaryKey="product_id">
        <Table name="product"/>
        <Level name="Family" column="product_family" uniqueMembers="true"/>
        <Level name="Department" column="product_department" uniqueMembers="false"/>
        <Level name="Category" column="product_category" uniqueMembers="false"/>
        <Level name="Product" column="product_name" uniqueMembers="false"/>
      </Hierarchy>
    </Dimension>
    <Dimension name="Store" foreignKey="store_id">
      <Hierarchy hasAll="true" primaryKey="store_id">
        <Table name="store"/>
        <Level name="Country" column="store_country" uniqueMembers="true"/>
        <Level name="State" column="store_state" uniqueMembers="true"/>
        <Level name="City" column="store_city" uniqueMembers="false"/>
        <Level name="Store" column="store_id" nameColumn="store_name" type="Integer"
               uniqueMembers="true"/>
      </Hierarchy>
    </Dimension>
    <Dimension name="Customer" foreignKey="customer_id">
      <Hierarchy hasAll="true" primaryKey="customer_id">
        <Table name="customer"/>
        <Level name="Country" column="country" uniqueMembers="true"/>
        <Level name="State" column="state_province" uniqueMembers="true"/>
        <Level name="City" column="city" uniqueMembers="false"/>
        <Level name="Customer" column="customer_id" nameColumn="fullname" type="Integer"
               uniqueMembers="true"/>
      </Hierarchy>
    </Dimension>
    <Dimension name="Promotion" foreignKey="promotion_id">
      <Hierarchy hasAll="true" primaryKey="promotion_id">
        <Table name="promotion"/>
        <Level name="Media Type" column="media_type" uniqueMembers="true"/>
        <Level name="Promotion" column="promotion_id" nameColumn="promotion_name"
               type="Integer" uniqueMembers="true"/>
      </Hierarchy>
    </Dimension>
    <Measure name="Unit Sales" column="unit_sales" aggregator="sum" formatString="#,##0"/>
    <Measure name="Store Sales" column="store_sales" aggregator="sum"
             formatString="#,##0.00"/>
    <Measure name="Store Cost" column="store_cost" aggregator="sum" formatString="#,##0.00"/>
    <Measure name="Sales Count" column="product_id" aggregator="count" formatString="#,##0"/>
    <CalculatedMember name="Profit" dimension="Measures">
      <Formula>[Measures].[Store Sales] - [Measures].[Store Cost]</Formula>
      <CalculatedMemberProperty name="FORMAT_STRING" value="#,##0.00"/>
    </CalculatedMember>
  </Cube>
</Schema>
)");
}

std::shared_ptr<const CubeFile> writeSampleCube(const QString &outPath, std::int64_t facts,
                                                std::uint64_t seed)
{
    if (facts < 0)
        throw Error(QStringLiteral("The number of facts cannot be negative (%1)").arg(facts));
    CubeOutput out(outPath);
    out.db().exec(QStringLiteral("PRAGMA journal_mode = OFF; PRAGMA synchronous = OFF; BEGIN"));
    writeTables(out.db(), facts, seed);
    out.embedSchema(sampleSchemaXml());
    out.db().exec(QStringLiteral("COMMIT"));
    return out.commit();
}

} // namespace platform::olap::local
