// Twips per pixel from a DPI.
#include "platform/runtime/Twips.h"

#include <gtest/gtest.h>

#include <vector>

using namespace platform::runtime;

TEST(Twips, TwipsPerPixelFromDpi)
{
    struct Case
    {
        double dpi;
        double expected;
    };
    const std::vector<Case> cases = {
        {96, 15}, {120, 12}, {144, 10}, {192, 7.5}, {72, 20}, {0, 15}, {-1, 15},
    };
    for (const Case &c : cases)
        EXPECT_DOUBLE_EQ(twipsPerPixelForDpi(c.dpi), c.expected) << c.dpi;
}
