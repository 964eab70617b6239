// Coordinate texts shared by the regions, the fragment writer and the command-line compiler.
#include "output/core/Coords.h"

#include <gtest/gtest.h>

#include <climits>

TEST(Coords, JoinAndEachShapesNumbers)
{
    EXPECT_EQ(FormatCoords({}), "");
    EXPECT_EQ(FormatCoords({-5, 0, INT_MIN, INT_MAX}), "-5, 0, -2147483648, 2147483647");
    EXPECT_EQ(RectCoords(10, 20, 30, 40), "10, 20, 39, 59");
    EXPECT_EQ(RectCoords(0, 0, 1, 1), "0, 0, 0, 0");
    EXPECT_EQ(CircleCoords(100, 50, {12, 12}, 12), "112, 62, 12");
    const std::vector<CoordPoint> triangle{{0, 0}, {10, 0}, {0, 10}, {0, 0}};
    EXPECT_EQ(PolyCoords(5, 7, triangle, 3), "5, 7, 15, 7, 5, 17") << "the closing copy is left out";
    EXPECT_EQ(PolyCoords(5, 7, {{0, 0}}, 0), "5, 7") << "slot 0 even without vertices";
}
