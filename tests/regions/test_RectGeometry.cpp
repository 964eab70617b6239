// Table tests of the rectangle's pure rules: grip zones, drawing steps, resize and move steps.
#include "regions/core/RectGeometry.h"

#include <gtest/gtest.h>

using namespace rectgeom;
using regiongeom::ConfinementArea;
using regiongeom::MoveWithinImage;
using regiongeom::Span;

TEST(RectHover, EveryRowAndItsDepthBoundary)
{
    struct Row {
        int x, y, w, h;
        Zone zone;
        ZoneCursor cursor;
    };
    const Row rows[] = {
        // Left and top grips are 5 deep (0..4), right and bottom ones 11 (w-10..w-1).
        {0, 0, 100, 60, Zone::NW, ZoneCursor::SizeNwSe},
        {4, 4, 100, 60, Zone::NW, ZoneCursor::SizeNwSe},
        {5, 4, 100, 60, Zone::N, ZoneCursor::SizeVertical},
        {4, 5, 100, 60, Zone::W, ZoneCursor::SizeHorizontal},
        {90, 50, 100, 60, Zone::SE, ZoneCursor::SizeNwSe},
        {99, 59, 100, 60, Zone::SE, ZoneCursor::SizeNwSe},
        {89, 50, 100, 60, Zone::S, ZoneCursor::SizeVertical},
        {90, 49, 100, 60, Zone::E, ZoneCursor::SizeHorizontal},
        // The south-west and north-east corners reach 11 pixels along their left or top side.
        {10, 50, 100, 60, Zone::SW, ZoneCursor::SizeNeSw},
        {11, 50, 100, 60, Zone::S, ZoneCursor::SizeVertical},
        {0, 59, 100, 60, Zone::SW, ZoneCursor::SizeNeSw},
        {90, 10, 100, 60, Zone::NE, ZoneCursor::SizeNeSw},
        {90, 11, 100, 60, Zone::E, ZoneCursor::SizeHorizontal},
        {99, 0, 100, 60, Zone::NE, ZoneCursor::SizeNeSw},
        {50, 0, 100, 60, Zone::N, ZoneCursor::SizeVertical},
        {50, 5, 100, 60, Zone::None, ZoneCursor::MoveRegion},
        {50, 59, 100, 60, Zone::S, ZoneCursor::SizeVertical},
        {50, 49, 100, 60, Zone::None, ZoneCursor::MoveRegion},
        {0, 30, 100, 60, Zone::W, ZoneCursor::SizeHorizontal},
        {5, 30, 100, 60, Zone::None, ZoneCursor::MoveRegion},
        {99, 30, 100, 60, Zone::E, ZoneCursor::SizeHorizontal},
        {89, 30, 100, 60, Zone::None, ZoneCursor::MoveRegion},
        // A captured pointer outside the box still names the grip on that side.
        {-7, 30, 100, 60, Zone::W, ZoneCursor::SizeHorizontal},
        {130, 30, 100, 60, Zone::E, ZoneCursor::SizeHorizontal},
        {50, -3, 100, 60, Zone::N, ZoneCursor::SizeVertical},
        // In a small box the zones overlap and the first row wins: south-east before south-west.
        {5, 5, 12, 12, Zone::SE, ZoneCursor::SizeNwSe},
        {0, 5, 12, 12, Zone::SW, ZoneCursor::SizeNeSw},
        {5, 0, 12, 12, Zone::NE, ZoneCursor::SizeNeSw},
    };
    for (const Row &r : rows) {
        const HoverResult hover = Hover(r.x, r.y, r.w, r.h);
        EXPECT_EQ(hover.zone, r.zone) << r.x << "," << r.y << " in " << r.w << "x" << r.h;
        EXPECT_EQ(hover.cursor, r.cursor) << r.x << "," << r.y << " in " << r.w << "x" << r.h;
    }
}

TEST(RectHover, ZoneIsKeptDuringADragExceptTheBody)
{
    EXPECT_EQ(KeptZone(Zone::Unset, Zone::E, false), Zone::E);
    EXPECT_EQ(KeptZone(Zone::E, Zone::None, false), Zone::None);
    EXPECT_EQ(KeptZone(Zone::Unset, Zone::E, true), Zone::Unset);
    EXPECT_EQ(KeptZone(Zone::E, Zone::N, true), Zone::E);
    EXPECT_EQ(KeptZone(Zone::E, Zone::None, true), Zone::None);
    EXPECT_EQ(KeptZone(Zone::None, Zone::SW, true), Zone::None);
    EXPECT_EQ(ZoneName(Zone::Unset), "");
    EXPECT_EQ(ZoneName(Zone::None), "NONE");
    EXPECT_EQ(ZoneName(Zone::SE), "SE");
}

TEST(RectDrawing, StepsAreLimitedToTheImagePerAxis)
{
    EXPECT_EQ(StartDrawing(7, 9), (Corners{7, 9, 8, 10}));
    EXPECT_EQ(DrawStep({10, 10, 11, 11}, 5, 3, 100, 80), (Corners{10, 10, 16, 14}));
    EXPECT_EQ(DrawStep({10, 10, 11, 11}, -20, -15, 100, 80), (Corners{10, 10, -9, -4}));
    // A span equal to the image size is allowed, one more is refused on that axis only.
    EXPECT_EQ(DrawStep({0, 0, 1, 1}, 99, 79, 100, 80), (Corners{0, 0, 100, 80}));
    EXPECT_EQ(DrawStep({0, 0, 1, 1}, 100, 5, 100, 80), (Corners{0, 0, 1, 6}));
    EXPECT_EQ(DrawStep({0, 0, 1, 1}, 5, 80, 100, 80), (Corners{0, 0, 6, 1}));
}

TEST(RectDrawing, NormaliseSwapsCornersAndIncludesTheLastPixel)
{
    EXPECT_EQ(Normalise({10, 10, 11, 11}), (Fit{10, 10, 2, 2}));
    EXPECT_EQ(Normalise({30, 40, 10, 20}), (Fit{10, 20, 21, 21}));
    EXPECT_EQ(Normalise({10, 40, 30, 20}), (Fit{10, 20, 21, 21}));
    EXPECT_EQ(Normalise({5, 5, 5, 5}), (Fit{5, 5, 1, 1}));
}

TEST(RectDrag, GripsMoveOneEdgeAndKeepTheOpposite)
{
    const ImageArea image{0, 0, 200, 100};
    const Box box{10, 20, 40, 30}; // right edge 50, bottom edge 50
    struct Row {
        Zone zone;
        int x, y;
        Box expected;
    };
    const Row rows[] = {
        {Zone::W, 5, 15, {15, 20, 35, 30}},
        {Zone::W, 30, 15, {40, 20, 10, 30}},  // exactly 10 wide
        {Zone::W, 31, 15, {10, 20, 40, 30}},  // 9 wide: refused
        {Zone::W, -10, 15, {0, 20, 50, 30}},  // to the image edge
        {Zone::W, -11, 15, {10, 20, 40, 30}}, // past it: refused
        {Zone::E, 10, 15, {10, 20, 10, 30}},
        {Zone::E, 9, 15, {10, 20, 40, 30}},
        {Zone::E, 190, 15, {10, 20, 190, 30}},
        {Zone::E, 191, 15, {10, 20, 40, 30}},
        {Zone::N, 20, 5, {10, 25, 40, 25}},
        {Zone::N, 20, 20, {10, 40, 40, 10}},
        {Zone::N, 20, 21, {10, 20, 40, 30}},
        {Zone::N, 20, -20, {10, 0, 40, 50}},
        {Zone::N, 20, -21, {10, 20, 40, 30}},
        {Zone::S, 20, 10, {10, 20, 40, 10}},
        {Zone::S, 20, 9, {10, 20, 40, 30}},
        {Zone::S, 20, 80, {10, 20, 40, 80}},
        {Zone::S, 20, 81, {10, 20, 40, 30}},
        // Corners resize both axes, each by its own limits.
        {Zone::NW, 5, 5, {15, 25, 35, 25}},
        {Zone::NW, 35, 5, {10, 25, 40, 25}},
        {Zone::NE, 60, -20, {10, 0, 60, 50}},
        {Zone::SW, -10, 60, {0, 20, 50, 60}},
        {Zone::SE, 100, 9, {10, 20, 100, 30}},
        // No grip stored yet: the drag does nothing.
        {Zone::Unset, 25, 25, box},
    };
    for (const Row &r : rows) {
        const DragResult step = DragStep(box, r.zone, r.x, r.y, 20, 15, image);
        EXPECT_EQ(step.box, r.expected) << ZoneName(r.zone) << " " << r.x << "," << r.y;
        EXPECT_FALSE(step.moving);
    }
}

TEST(RectDrag, BodyMovesWithinTheImageOneAxisAtATime)
{
    const ImageArea image{0, 0, 200, 100};
    DragResult step = DragStep({10, 20, 40, 30}, Zone::None, 23, 17, 20, 15, image);
    EXPECT_TRUE(step.moving);
    EXPECT_EQ(step.box, (Box{13, 22, 40, 30}));
    // Against the left edge the x step is dropped, the y step still follows.
    step = DragStep({0, 20, 40, 30}, Zone::None, 17, 17, 20, 15, image);
    EXPECT_EQ(step.box, (Box{0, 22, 40, 30}));
    // Against the bottom edge the y step is dropped, the x step still follows.
    step = DragStep({10, 70, 40, 30}, Zone::None, 25, 16, 20, 15, image);
    EXPECT_EQ(step.box, (Box{15, 70, 40, 30}));
    // While scrolled the image's origin is negative and bounds the move there.
    step = DragStep({-30, 0, 40, 30}, Zone::None, 10, 25, 20, 15, ImageArea{-35, -10, 200, 100});
    EXPECT_EQ(step.box, (Box{-30, 10, 40, 30}));
}

TEST(RectDrag, NegativeTopBlocksTheMoveButNotTheResize)
{
    const ImageArea image{-30, -40, 400, 300};
    DragResult step = DragStep({10, -5, 40, 30}, Zone::None, 30, 30, 20, 15, image);
    EXPECT_FALSE(step.moving);
    EXPECT_EQ(step.box, (Box{10, -5, 40, 30}));
    step = DragStep({10, -5, 40, 30}, Zone::S, 20, 20, 20, 15, image);
    EXPECT_EQ(step.box, (Box{10, -5, 40, 20}));
    // Wholly above the client area: brought back to the top, still without a move.
    step = DragStep({10, -30, 40, 30}, Zone::None, 30, 30, 20, 15, image);
    EXPECT_EQ(step.box, (Box{10, 1, 40, 30}));
    EXPECT_FALSE(step.moving);
    // Wholly left of the client area: brought back to the left, and the move still runs.
    step = DragStep({-40, 10, 40, 30}, Zone::None, 21, 15, 20, 15, image);
    EXPECT_EQ(step.box, (Box{2, 10, 40, 30}));
    EXPECT_TRUE(step.moving);
    // Partly left of the client area is fine: the move follows the pointer.
    step = DragStep({-20, 10, 40, 30}, Zone::None, 22, 15, 20, 15, image);
    EXPECT_EQ(step.box, (Box{-18, 10, 40, 30}));
}

TEST(RegionGeometry, MoveStaysInsideTheImage)
{
    const regiongeom::ImageArea image{0, 0, 100, 80};
    EXPECT_EQ(MoveWithinImage({10, 10, 20, 20}, 70, 50, image), (Box{80, 60, 20, 20}));
    EXPECT_EQ(MoveWithinImage({10, 10, 20, 20}, 71, 51, image), (Box{10, 10, 20, 20}));
    EXPECT_EQ(MoveWithinImage({10, 10, 20, 20}, -10, -11, image), (Box{0, 10, 20, 20}));
}

TEST(RegionGeometry, ConfinementIsTheVisiblePartOfTheRegion)
{
    // Unscrolled image larger than the client area.
    EXPECT_EQ(ConfinementArea({0, 0, 500, 400}, 300, 200), (Span{0, 0, 300, 200}));
    // Image smaller than the client area.
    EXPECT_EQ(ConfinementArea({0, 0, 100, 80}, 300, 200), (Span{0, 0, 100, 80}));
    // Scrolled: the image's right edge, not its width, bounds the pointer.
    EXPECT_EQ(ConfinementArea({-100, -50, 350, 220}, 300, 200), (Span{0, 0, 250, 170}));
}
