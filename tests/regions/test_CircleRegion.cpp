// Circle hotspots driven by real mouse events: drawing, the rim band, radius drags, misses, looks.
#include "RegionHarness.h"

#include "regions/CircleRegionClass.h"

namespace {

using namespace regiontest;

TCircleRegion *DrawCircle(Editor &e, QPoint centre, QPoint to)
{
    auto *c = e.New<TCircleRegion>();
    e.Press(centre);
    e.Move((centre + to) / 2);
    e.Move(to);
    e.Release(to);
    return c;
}

} // namespace

TEST(CircleRegionDrawing, RadiusFromTheRoundedDistanceOnlyTheLeftReleaseEndsAndTheBandInverts)
{
    Editor e;
    TCircleRegion *c = DrawCircle(e, {100, 80}, {103, 84});
    EXPECT_EQ(BoxOf(c), QRect(95, 75, 11, 11));
    EXPECT_EQ(c->GetCoords(), QStringLiteral("100, 80, 5"));

    TCircleRegion *dot = e.New<TCircleRegion>();
    e.Click({30, 40});
    EXPECT_EQ(BoxOf(dot), QRect(30, 40, 1, 1));
    EXPECT_EQ(dot->GetCoords(), QStringLiteral("30, 40, 0"));

    // Right and middle releases end nothing; a radius that would cross the top edge is refused,
    // not reduced.
    TCircleRegion *o = e.New<TCircleRegion>();
    e.Press({200, 30});
    e.Move({220, 30});
    EXPECT_EQ(e.PixelAt({220, 30}), InvertedImageColour) << "the band";
    e.Release({220, 30}, Qt::RightButton);
    e.Release({220, 30}, Qt::MiddleButton);
    EXPECT_EQ(e.dialogs, 2) << "still drawing";
    e.Move({240, 30});
    e.Release({240, 30});
    EXPECT_EQ(e.dialogs, 3);
    EXPECT_EQ(BoxOf(o), QRect(180, 10, 41, 41)) << "radius 40 would leave the image at the top";
    for (QPoint p : {QPoint(180, 30), QPoint(220, 30), QPoint(200, 10), QPoint(200, 50)})
        EXPECT_EQ(e.PixelAt(p), LineColour) << "the outline fills the box at " << p.x() << "," << p.y();
}

TEST(CircleRegionRim, RimBandResizesAroundTheCentreAndMissesReportTheParentPoint)
{
    Editor e;
    TCircleRegion *c = DrawCircle(e, {100, 80}, {120, 80}); // box 80, 60, 41 x 41
    e.Click({100, 80});
    ASSERT_TRUE(c->Selected);
    e.Move({100, 75});
    EXPECT_EQ(testcursor::Number(), AppCursor::crMoveRegion);
    e.Move({118, 80}); // distance 18: on the band
    EXPECT_EQ(testcursor::Number(), AppCursor::crResizeCircle);
    EXPECT_TRUE(c->Resizing);
    e.Press({118, 80});
    EXPECT_EQ(BoxOf(c), QRect(0, 0, 300, 200)) << "spans the image during the drag";
    e.Move({130, 80});
    e.Move({100, 110});
    e.Release({100, 110});
    EXPECT_EQ(BoxOf(c), QRect(70, 50, 61, 61));
    EXPECT_EQ(c->GetCoords(), QStringLiteral("100, 80, 30"));
    EXPECT_TRUE(AppCursor::IsDefault());
    e.Move({100, 80});
    e.Move({5, 5}); // off the circle: not on the rim any more
    EXPECT_FALSE(c->Resizing);

    EXPECT_EQ(e.Miss({72, 52}), QStringLiteral("REPAINT")) << "inside the box, outside the circle: no clearing step";
    // Straight from the rim band out of the circle: Resizing stays, so the next press on the
    // circle starts a radius drag at once, without selecting it.
    e.Move({129, 80});
    ASSERT_TRUE(c->Resizing);
    e.Move({150, 150});
    c->Deselect();
    e.Press({100, 80});
    EXPECT_TRUE(c->Dragging);
    EXPECT_FALSE(c->Selected);
    e.Release({100, 80});
}
