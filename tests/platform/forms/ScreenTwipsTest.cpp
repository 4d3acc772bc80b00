// Twips and pixels with the primary screen's logical DPI.
#include "platform/forms/ScreenTwips.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QScreen>

#include <limits>

using namespace platform::forms;

TEST(Twips, FollowsThePrimaryScreen)
{
    QScreen *screen = QGuiApplication::primaryScreen();
    ASSERT_NE(screen, nullptr); // the test main creates a QApplication
    EXPECT_DOUBLE_EQ(twipsPerPixelX(), 1440.0 / screen->logicalDotsPerInchX());
    EXPECT_DOUBLE_EQ(twipsPerPixelY(), 1440.0 / screen->logicalDotsPerInchY());
    if (screen->logicalDotsPerInchX() == 96) {
        EXPECT_EQ(twipsToPixelsX(1440), 96);
        EXPECT_EQ(twipsToPixelsX(15), 1);
        EXPECT_DOUBLE_EQ(pixelsToTwipsX(1), 15);
        EXPECT_DOUBLE_EQ(pixelsToTwipsX(640), 9600);
    }
    if (screen->logicalDotsPerInchY() == 96) {
        EXPECT_EQ(twipsToPixelsY(7200), 480);
        EXPECT_DOUBLE_EQ(pixelsToTwipsY(480), 7200);
    }
}

TEST(Twips, RoundTripsAndRounding)
{
    const double x = twipsPerPixelX();
    const double y = twipsPerPixelY();
    for (int pixels : {0, 1, 7, 100, -3, 1920, 65535}) {
        EXPECT_EQ(twipsToPixelsX(pixelsToTwipsX(pixels)), pixels);
        EXPECT_EQ(twipsToPixelsY(pixelsToTwipsY(pixels)), pixels);
        EXPECT_DOUBLE_EQ(pixelsToTwipsX(pixels), pixels * x);
    }
    // To the nearest pixel, a half away from zero.
    EXPECT_EQ(twipsToPixelsX(2.4 * x), 2);
    EXPECT_EQ(twipsToPixelsX(2.5 * x), 3);
    EXPECT_EQ(twipsToPixelsX(-2.5 * x), -3);
    EXPECT_EQ(twipsToPixelsY(2.6 * y), 3);
    EXPECT_EQ(twipsToPixelsX(1e300), std::numeric_limits<int>::max());
    EXPECT_EQ(twipsToPixelsX(-1e300), std::numeric_limits<int>::min());
}
