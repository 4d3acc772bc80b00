#include "platform/runtime/TransferBounds.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

using namespace platform::runtime;

TEST(TransferBounds, SizesFromTheEnvironmentAreWholePositiveMegabytes)
{
    const struct
    {
        const char *value; // nullptr: unset
        qint64 expected;
    } cases[] = {
        {nullptr, 7}, {"64", 64 * megabyte}, {" 2 ", 2 * megabyte}, {"0", 7},
        {"-3", 7},    {"1.5", 7},            {"lots", 7},           {"99999999999999999", 7},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.value ? c.value : "unset");
        if (c.value)
            qputenv("PELMORA_TEST_LIMIT_MB", c.value);
        else
            qunsetenv("PELMORA_TEST_LIMIT_MB");
        EXPECT_EQ(megabytesFromEnvironment("PELMORA_TEST_LIMIT_MB", 7), c.expected);
    }
    qunsetenv("PELMORA_TEST_LIMIT_MB");
}

TEST(TransferBounds, SizesAndSpansReadAsTheyAreMeant)
{
    const struct
    {
        qint64 bytes;
        const char *text;
    } sizes[] = {{0, "0 bytes"},          {1, "1 byte"},
                 {300, "300 bytes"},      {16 * 1024, "16 KB"},
                 {512 * megabyte, "512 MB"}, {1536 * megabyte, "1.5 GB"}};
    for (const auto &c : sizes)
        EXPECT_EQ(sizeText(c.bytes), c.text);
    EXPECT_EQ(StallWatch::describe(0, 30000), "no data arrived in 30 seconds");
    EXPECT_EQ(StallWatch::describe(12, 1000), "only 12 bytes arrived in 1 second");
    EXPECT_EQ(StallWatch::describe(2048 * 10, 300), "only 20 KB arrived in 0.3 seconds");
}

namespace {

// Feeds the watch `bytes` every `everyMs` for at most `forMs`; answers when it stalled (-1:
// it did not) and with what.
struct Feed
{
    qint64 stalledAt = -1;
    qint64 arrived = -1;
};

Feed feed(int spanMs, qint64 minimum, qint64 bytes, int everyMs, int forMs)
{
    Feed result;
    QElapsedTimer clock;
    clock.start();
    StallWatch watch([&](qint64 arrived) {
        result.stalledAt = clock.elapsed();
        result.arrived = arrived;
    });
    watch.setSpan(spanMs);
    watch.setMinimum(minimum);
    watch.start();
    QTimer supply;
    QObject::connect(&supply, &QTimer::timeout, [&] { watch.count(bytes); });
    supply.start(everyMs);
    QEventLoop loop;
    QTimer::singleShot(forMs, &loop, &QEventLoop::quit);
    loop.exec();
    EXPECT_EQ(watch.isActive(), result.stalledAt < 0);
    return result;
}

} // namespace

TEST(TransferBounds, ATrickleStallsAsSurelyAsSilence)
{
    // Silence, a byte every 20 ms, and enough each span, with a span of 200 ms.
    const Feed silent = feed(200, 100, 0, 20, 700);
    EXPECT_GE(silent.stalledAt, 150);
    EXPECT_LT(silent.stalledAt, 450);
    EXPECT_EQ(silent.arrived, 0);

    const Feed trickle = feed(200, 100, 1, 20, 700);
    EXPECT_GE(trickle.stalledAt, 150);
    EXPECT_LT(trickle.stalledAt, 450);
    EXPECT_GT(trickle.arrived, 0);
    EXPECT_LT(trickle.arrived, 100);

    const Feed steady = feed(200, 100, 50, 20, 700);
    EXPECT_EQ(steady.stalledAt, -1);
}
