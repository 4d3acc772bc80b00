#pragma once

// Operator chains and comma lists of every length, and nesting at and past its limit, for the
// parser's and the engine's tests. Each case makes an expression for a size (the number of
// operands or items, or the depth of the parentheses), written as the unparser writes it, and
// says what it gives on the retail fixture cube. The tests run each one on a small thread
// stack, so that a walk whose recursion grows with the length of a chain fails there.

#include <gtest/gtest.h>

#include <QString>
#include <QStringList>
#include <QThread>

#include <algorithm>
#include <functional>
#include <memory>
#include <vector>

namespace mdx_test {

struct ChainCase
{
    const char *name;
    std::vector<int> sizes;
    // The text of a size: `first`, then size - 1 of the `links` in turn (`last`, where given,
    // for the last one), all in `around` at its %1; when `deep`, the size is how many times
    // `first` stands in `around`, without links.
    QString first;
    QStringList links;
    QString last;
    QString around = QStringLiteral("%1");
    bool deep = false;
    // Where the text is an axis set (true) or the formula of a calculated member (false).
    bool set = false;
    // The member's cell as the cell set holds it, or the axis's positions by member name
    // joined by ", "; "error: " and a part of the message where it fails.
    QString (*result)(int size) = nullptr;

    QString text(int size) const
    {
        QString chain = first;
        for (int i = 1; i < size && !deep; ++i)
            chain += i == size - 1 && !last.isEmpty() ? last : links[(i - 1) % links.size()];
        const qsizetype at = around.indexOf(QStringLiteral("%1"));
        const int copies = deep ? size : 1;
        return around.left(at).repeated(copies) + chain + around.mid(at + 2).repeated(copies);
    }
};

inline QString tooDeep()
{
    return QStringLiteral("error: the statement is nested more than 256 levels deep");
}

inline QString number(double value)
{
    return QString::number(value, 'g', 12);
}

inline QString boolean(bool value)
{
    return value ? QStringLiteral("true") : QStringLiteral("false");
}

inline const std::vector<ChainCase> &chainCases()
{
    const std::vector<int> lengths{1, 300, 100000};
    const QString drink = QStringLiteral("[Product].[Drink]");
    const QString food = QStringLiteral("[Product].[Food]");
    const QString other = QStringLiteral("[Product].[Non-Consumable]");
    const QString deepest = QString(200, u'(') + QStringLiteral("%1") + QString(200, u')');
    // clang-format off
    static const std::vector<ChainCase> cases{
        {"sum", lengths, "1", {" + 1"}, {}, "%1", false, false,
         [](int n) { return number(n); }},
        {"difference", lengths, "0", {" - 1"}, {}, "%1", false, false,
         [](int n) { return number(1 - n); }},
        {"sum and difference", lengths, "1", {" + 2", " - 1"}, {}, "%1", false, false,
         [](int n) { return number(1 + 2 * (n / 2) - (n - 1) / 2); }},
        {"products inside a sum", lengths, "1", {" + 2 * 3 * 2"}, {}, "%1", false, false,
         [](int n) { return number(1 + 12.0 * (n - 1)); }},
        {"product", lengths, "1", {" * 2", " * 0.5"}, {}, "%1", false, false,
         [](int n) { return number(n % 2 ? 1 : 2); }},
        {"quotient", lengths, "1", {" / 2", " / 0.5"}, {}, "%1", false, false,
         [](int n) { return number(n % 2 ? 1 : 0.5); }},
        {"power", lengths, "2", {" ^ 1"}, {}, "%1", false, false,
         [](int) { return number(2); }},
        {"concatenation", lengths, "\"a\"", {" || \"b\""}, {}, "%1", false, false,
         [](int n) { return u'a' + QString(n - 1, u'b'); }},
        // The last operand decides, so an evaluation that stops early shows.
        {"AND", lengths, "1 < 2", {" AND 1 < 2"}, " AND 2 < 1", "%1", false, false,
         [](int n) { return boolean(n == 1); }},
        {"OR", lengths, "2 < 1", {" OR 2 < 1"}, " OR 1 < 2", "%1", false, false,
         [](int n) { return boolean(n > 1); }},
        {"XOR", lengths, "1 < 2", {" XOR 1 < 2"}, {}, "%1", false, false,
         [](int n) { return boolean(n % 2); }},
        {"comparisons", lengths, "1 < 2", {" = 0"}, {}, "%1", false, false,
         [](int n) { return boolean(n % 2); }},
        {"chain in parentheses", {300, 100000}, "1", {" + 1"}, {}, deepest + " * 2", false,
         false, [](int n) { return number(2 * n); }},
        {"function arguments", {2, 300, 100000}, "NULL", {", NULL"}, ", 7", "CoalesceEmpty(%1)",
         false, false, [](int) { return number(7); }},
        {"set items", lengths, drink, {", " + food, ", " + other, ", " + drink}, {}, "{%1}",
         false, true, [](int n) {
             QStringList names;
             for (int i = 0; i < n; ++i)
                 names.append(QStringList{"Drink", "Food", "Non-Consumable"}[i % 3]);
             return names.join(", "); }},
        {"set of ranges", lengths, "[Product].[Drink].[Beer]:[Product].[Drink].[Soda]",
         {", [Product].[Food].[Bread]:[Product].[Food].[Meat]"}, {}, "{%1}", false, true,
         [](int n) { return "Beer, Juice, Soda" + QString(", Bread, Fruit, Meat").repeated(n - 1);
         }},
        {"set union", lengths, "{" + drink + "}",
         {" + {" + food + "}", " + {" + other + "}", " + {" + drink + "}"}, {}, "%1", false,
         true, [](int n) { return QStringList{"Drink", "Food", "Non-Consumable"}.mid(0, n)
                                      .join(", "); }},
        {"set difference", lengths, "[Product].[Category].Members",
         {" - {[Product].[Drink].[Beer]}", " - {[Product].[Drink].[Juice]}",
          " - {[Product].[Drink].[Soda]}"}, {}, "%1", false, true, [](int n) {
             return QStringList{"Beer", "Juice", "Soda", "Bread", "Fruit", "Meat", "Paper",
                                "Soap"}.mid(std::min(n - 1, 3)).join(", "); }},
        // After a difference, a union adds again the member it took away.
        {"set union and difference", lengths, "{" + food + "}",
         {" + {" + drink + "}", " - {" + drink + "}"}, {}, "%1", false, true,
         [](int n) { return QString(n % 2 ? "Food" : "Food, Drink"); }},
        // A crossjoin takes each hierarchy once: past the third set the chain is refused.
        {"crossjoin", {1, 3, 300}, "{" + drink + "}",
         {" * {[Store].[USA]}", " * {[Time].[1997]}", " * {" + drink + "}"}, {}, "%1", false,
         true, [](int n) {
             return n == 1 ? QString("Drink") : n == 3 ? QString("Drink*USA*1997")
                           : QString("error: CrossJoin: both sets have the hierarchy [Product]");
         }},
        {"parentheses", {255, 256, 20000}, "1", {}, {}, "(%1)", true, false,
         [](int n) { return n < 256 ? number(1) : tooDeep(); }},
    };
    // clang-format on
    return cases;
}

// Calls check(case, size) for every size of every case, naming them in failure messages.
template <typename Check>
void forEachChain(const Check &check)
{
    for (const ChainCase &c : chainCases()) {
        for (const int size : c.sizes) {
            SCOPED_TRACE(
                QStringLiteral("%1 of %2").arg(QLatin1String(c.name)).arg(size).toStdString());
            check(c, size);
        }
    }
}

// Runs `work` on a thread with a small stack (deep recursion there crashes the test).
inline void onSmallStack(const std::function<void()> &work)
{
    std::unique_ptr<QThread> thread(QThread::create(work));
    thread->setStackSize(1024 * 1024);
    thread->start();
    thread->wait();
}

} // namespace mdx_test
