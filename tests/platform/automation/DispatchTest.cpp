#include "platform/automation/Dispatch.h"
#include "platform/runtime/Error.h"

#include <gtest/gtest.h>

#include <QObject>
#include <QWidget>

#include <functional>

using namespace platform::automation;

namespace {

class Gadget : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString Caption MEMBER m_caption)
    Q_PROPERTY(int Count MEMBER m_count)
    Q_PROPERTY(double Ratio READ ratio)
    Q_PROPERTY(int value MEMBER m_lower)
    Q_PROPERTY(int Value MEMBER m_upper)
    Q_PROPERTY(Speed Pace MEMBER m_pace)

public:
    enum Speed { Slow, Fast };
    Q_ENUM(Speed)

    double ratio() const { return 0.5; }

    Q_INVOKABLE int Add(int a, int b) { return a + b; }
    Q_INVOKABLE QString Join(const QString &a, const QString &b = QStringLiteral("-"))
    {
        return a + b;
    }
    Q_INVOKABLE void Reset() { m_count = 0; }
    Q_INVOKABLE QVariant Echo(const QVariant &v) { return v; }

    QString m_caption;
    int m_count = 7;
    int m_lower = 1;
    int m_upper = 2;
    Speed m_pace = Slow;
    int m_cleared = 0;

public slots:
    void clear() { ++m_cleared; }

signals:
    void Changed();
};

// A control's own "Enabled" must win over QWidget's "enabled", whatever the caller's case.
class Panel : public QWidget
{
    Q_OBJECT
    Q_PROPERTY(bool Enabled MEMBER m_enabled)

public:
    bool m_enabled = true;
};

QString errorOf(const std::function<void()> &action)
{
    try {
        action();
    } catch (const platform::Error &error) {
        return error.description();
    }
    ADD_FAILURE() << "no platform::Error thrown";
    return QString();
}

} // namespace

TEST(Dispatch, PropertiesByNameConvertAndIgnoreCase)
{
    struct Case
    {
        const char *name;
        QVariant written;
        QVariant read;
    };
    const Case cases[] = {
        {"Caption", QStringLiteral("Sales"), QStringLiteral("Sales")},
        {"CAPTION", 12, QStringLiteral("12")},
        {"count", QStringLiteral("42"), 42},
        {"Count", QVariant(), 0}, // an empty value is the type's default
        {"Pace", QStringLiteral("Fast"), QVariant::fromValue(Gadget::Fast)},
        {"pace", 0, QVariant::fromValue(Gadget::Slow)},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Gadget gadget;
        setProperty(&gadget, c.name, c.written);
        EXPECT_EQ(getProperty(&gadget, c.name), c.read);
    }

    Gadget gadget;
    EXPECT_EQ(getProperty(&gadget, "RATIO"), 0.5);
    // Two properties that differ only in case: the exact spelling decides.
    EXPECT_EQ(getProperty(&gadget, "value"), 1);
    EXPECT_EQ(getProperty(&gadget, "Value"), 2);
    setProperty(&gadget, "Value", 20);
    EXPECT_EQ(gadget.m_upper, 20);
    EXPECT_EQ(gadget.m_lower, 1);
}

TEST(Dispatch, MethodsByNameAndArgumentCount)
{
    Gadget gadget;
    EXPECT_EQ(invoke(&gadget, "Add", {2, 3}), 5);
    EXPECT_EQ(invoke(&gadget, "add", {QStringLiteral("2"), 3.0}), 5);
    EXPECT_EQ(invoke(&gadget, "Join", {QStringLiteral("a")}), QStringLiteral("a-"));
    EXPECT_EQ(invoke(&gadget, "JOIN", {QStringLiteral("a"), QStringLiteral("b")}),
              QStringLiteral("ab"));
    const QVariant list = QVariantList{1, QStringLiteral("x")};
    EXPECT_EQ(invoke(&gadget, "Echo", QVariantList{list}), list);

    const QVariant none = invoke(&gadget, "reset");
    EXPECT_FALSE(none.isValid());
    EXPECT_EQ(gadget.m_count, 0);
    invoke(&gadget, "Clear"); // public slots are methods too
    EXPECT_EQ(gadget.m_cleared, 1);
}

TEST(Dispatch, UnknownOrMisusedMembersAreErrorsNamingThem)
{
    Gadget gadget;
    struct Case
    {
        const char *what;
        std::function<void()> action;
        const char *fragment;
    };
    const Case cases[] = {
        {"get unknown", [&] { getProperty(&gadget, "Colour"); },
         "doesn't support this property or method: Colour"},
        {"set unknown", [&] { setProperty(&gadget, "Colour", 1); },
         "doesn't support this property or method: Colour"},
        {"set read-only", [&] { setProperty(&gadget, "Ratio", 1.0); }, "read-only: Ratio"},
        {"set unconvertible", [&] { setProperty(&gadget, "Count", "many"); }, "Count"},
        {"set unknown enum key", [&] { setProperty(&gadget, "Pace", "Sideways"); }, "Pace"},
        {"call unknown", [&] { invoke(&gadget, "Refresh"); },
         "doesn't support this property or method: Refresh"},
        {"call a signal", [&] { invoke(&gadget, "Changed"); }, "Changed"},
        {"too few arguments", [&] { invoke(&gadget, "Add", {1}); },
         "Wrong number of arguments for Add"},
        {"too many arguments", [&] { invoke(&gadget, "Reset", {1}); },
         "Wrong number of arguments for Reset"},
        {"unconvertible argument",
         [&] {
             invoke(&gadget, "Add", {"x", 1});
         },
         "argument 1 of Add"},
        // clang-format off
        {"no object", [] { invoke(nullptr, "Add", {1, 2}); }, "Add"},
        // clang-format on
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        const QString error = errorOf(c.action);
        EXPECT_TRUE(error.contains(c.fragment)) << error.toStdString();
    }
    EXPECT_EQ(gadget.m_count, 7); // nothing was changed on the way
}

TEST(Dispatch, DerivedMembersComeBeforeBaseClassMembers)
{
    Panel panel;
    setProperty(&panel, "enabled", false);
    EXPECT_FALSE(panel.m_enabled);
    EXPECT_TRUE(panel.isEnabled());
    EXPECT_EQ(getProperty(&panel, "ENABLED"), false);
    EXPECT_EQ(getProperty(&panel, "objectName"), QString()); // base members stay reachable
}

#include "DispatchTest.moc"
