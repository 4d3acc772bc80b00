#include "platform/runtime/HttpLength.h"

#include <gtest/gtest.h>

using platform::runtime::announcedBodyLength;

TEST(HttpLength, OnlyAnUncompressedBodyHasALengthToCheck)
{
    struct Case
    {
        const char *length;
        const char *encoding;
        qint64 expected;
    };
    const Case cases[] = {
        {"3455", "", 3455},
        {" 0 ", "", 0},
        {"3455", "identity", 3455},
        {"3455", " Identity", 3455},
        {"3455", "gzip", -1},
        {"3455", "deflate", -1},
        {"", "", -1},
        {"many", "", -1},
        {"-5", "", -1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(std::string(c.length) + " / " + c.encoding);
        EXPECT_EQ(announcedBodyLength(c.length, c.encoding), c.expected);
    }
}
