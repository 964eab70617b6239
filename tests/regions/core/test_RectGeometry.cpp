// Table tests of the rectangle's pure rules: grip zones, drawing steps, resize and move steps.
#include "regions/core/RectGeometry.h"

#include <gtest/gtest.h>

using namespace rectgeom;

namespace rectgeom {
// Readable zone names in failure messages.
void PrintTo(Zone zone, std::ostream *os)
{
    static const char *const names[] = {"(unset)", "NW", "N", "NE", "W", "E", "SW", "S", "SE", "NONE"};
    *os << names[static_cast<int>(zone)];
}
} // namespace rectgeom

TEST(RectHover, EveryRowAndItsDepthBoundary)
{
    using Z = Zone;
    using C = ZoneCursor;
    const struct { int x, y, w, h; Zone zone; ZoneCursor cursor; } rows[] = {
        // Left and top grips are 5 deep (0..4), right and bottom ones 11 (w-10..w-1).
        {4, 4, 100, 60, Z::NW, C::SizeNwSe}, {5, 4, 100, 60, Z::N, C::SizeVertical},
        {4, 5, 100, 60, Z::W, C::SizeHorizontal}, {90, 50, 100, 60, Z::SE, C::SizeNwSe},
        {89, 50, 100, 60, Z::S, C::SizeVertical}, {90, 49, 100, 60, Z::E, C::SizeHorizontal},
        // South-west and north-east reach 11 pixels along their left or top side.
        {10, 50, 100, 60, Z::SW, C::SizeNeSw}, {11, 50, 100, 60, Z::S, C::SizeVertical},
        {90, 10, 100, 60, Z::NE, C::SizeNeSw}, {90, 11, 100, 60, Z::E, C::SizeHorizontal},
        {50, 5, 100, 60, Z::None, C::MoveRegion}, {50, 49, 100, 60, Z::None, C::MoveRegion},
        {5, 30, 100, 60, Z::None, C::MoveRegion}, {89, 30, 100, 60, Z::None, C::MoveRegion},
        // A captured pointer outside the box still names the grip on that side.
        {-7, 30, 100, 60, Z::W, C::SizeHorizontal}, {130, 30, 100, 60, Z::E, C::SizeHorizontal},
        // In a small box the zones overlap and the first row wins: south-east before south-west.
        {5, 5, 12, 12, Z::SE, C::SizeNwSe}, {0, 5, 12, 12, Z::SW, C::SizeNeSw},
    };
    for (const auto &r : rows) {
        const HoverResult hover = Hover(r.x, r.y, r.w, r.h);
        EXPECT_EQ(hover.zone, r.zone) << r.x << "," << r.y << " in " << r.w << "x" << r.h;
        EXPECT_EQ(hover.cursor, r.cursor) << r.x << "," << r.y;
    }
}

TEST(RectDrawing, StepsAreLimitedPerAxis)
{
    // A span equal to the image size is allowed, one more is refused on that axis only.
    EXPECT_EQ(DrawStep({0, 0, 1, 1}, 99, 79, 100, 80), (Corners{0, 0, 100, 80}));
    EXPECT_EQ(DrawStep({0, 0, 1, 1}, 100, 5, 100, 80), (Corners{0, 0, 1, 6}));
    EXPECT_EQ(DrawStep({0, 0, 1, 1}, 5, 80, 100, 80), (Corners{0, 0, 6, 1}));
}

TEST(RectDrag, GripsMoveOneEdgeWithinMinimumAndImage)
{
    const ImageArea image{0, 0, 200, 100};
    const Box box{10, 20, 40, 30}; // right edge 50, bottom edge 50
    const struct { Zone zone; int x, y; Box expected; } rows[] = {
        {Zone::W, 30, 15, {40, 20, 10, 30}}, {Zone::W, 31, 15, box},       // 10 wide, 9 refused
        {Zone::W, -10, 15, {0, 20, 50, 30}}, {Zone::W, -11, 15, box},      // image's left edge
        {Zone::E, 10, 15, {10, 20, 10, 30}}, {Zone::E, 9, 15, box},
        {Zone::E, 190, 15, {10, 20, 190, 30}}, {Zone::E, 191, 15, box},
        {Zone::N, 20, 20, {10, 40, 40, 10}}, {Zone::N, 20, 21, box},
        {Zone::N, 20, -20, {10, 0, 40, 50}}, {Zone::N, 20, -21, box},
        {Zone::S, 20, 10, {10, 20, 40, 10}}, {Zone::S, 20, 81, box},
        // Corners take each axis by its own limits.
        {Zone::NW, 35, 5, {10, 25, 40, 25}}, {Zone::SE, 100, 9, {10, 20, 100, 30}},
        {Zone::Unset, 25, 25, box},
    };
    for (const auto &r : rows) {
        const DragResult step = DragStep(box, r.zone, r.x, r.y, 20, 15, image);
        EXPECT_EQ(step.box, r.expected) << ::testing::PrintToString(r.zone) << " " << r.x << "," << r.y;
        EXPECT_FALSE(step.moving);
    }
}

TEST(RectDrag, BodyStopsPerAxisAtTheImageAndComesBackIntoTheClientArea)
{
    const ImageArea image{-35, -40, 400, 300};
    // Against the image's left edge (-35) the x step is dropped, the y step is taken.
    const DragResult step = DragStep({-30, 0, 40, 30}, Zone::None, 10, 25, 20, 15, image);
    EXPECT_TRUE(step.moving);
    EXPECT_EQ(step.box, (Box{-30, 10, 40, 30}));
    // Wholly above or wholly left of the client area: brought back in at 1.
    EXPECT_EQ(DragStep({10, -30, 40, 30}, Zone::None, 30, 30, 20, 15, image).box, (Box{10, 1, 40, 30}));
    EXPECT_EQ(DragStep({-40, 10, 40, 30}, Zone::None, 21, 15, 20, 15, image).box, (Box{2, 10, 40, 30}));
}

TEST(RegionGeometry, ConfinementIsTheVisiblePartOfTheRegion)
{
    EXPECT_EQ(regiongeom::ConfinementArea({0, 0, 500, 400}, 300, 200), (regiongeom::Span{0, 0, 300, 200}));
    EXPECT_EQ(regiongeom::ConfinementArea({0, 0, 100, 80}, 300, 200), (regiongeom::Span{0, 0, 100, 80}));
    // Scrolled: the image's right and bottom edges, not its size, bound the pointer.
    EXPECT_EQ(regiongeom::ConfinementArea({-100, -50, 350, 220}, 300, 200), (regiongeom::Span{0, 0, 250, 170}));
}
