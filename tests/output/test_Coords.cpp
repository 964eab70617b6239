// Coordinate list formatting shared by the fragment writer, the map file and the regions.
#include "output/core/Coords.h"

#include <gtest/gtest.h>

#include <climits>

TEST(FormatCoords, JoinsWithCommaAndSpace)
{
    EXPECT_EQ(FormatCoords({}), "");
    EXPECT_EQ(FormatCoords({7}), "7");
    EXPECT_EQ(FormatCoords({10, 20, 39, 59}), "10, 20, 39, 59");
    EXPECT_EQ(FormatCoords({-5, 0, INT_MIN, INT_MAX}), "-5, 0, -2147483648, 2147483647");
}
