// Table tests of the circle's and polygon's pure rules.
#include "regions/core/CircleGeometry.h"
#include "regions/core/PolyGeometry.h"

#include <gtest/gtest.h>

#include <climits>

TEST(CircleGeometry, DistanceRimBoundsAndHitTest)
{
    EXPECT_EQ(circlegeom::Distance(3, 4), 5);
    EXPECT_EQ(circlegeom::Distance(1, 1), 1);
    EXPECT_EQ(circlegeom::Distance(-2, -2), 3); // 2.83
    EXPECT_EQ(circlegeom::Distance(60000, 60000), 84853) << "no 32-bit wrap far outside the window";
    EXPECT_EQ(circlegeom::Distance(INT_MIN, INT_MIN), INT_MAX);

    // Radius 2: the band is the distances 0 and 1; radius 0 has none.
    EXPECT_TRUE(circlegeom::OnRim(0, 2));
    EXPECT_TRUE(circlegeom::OnRim(1, 2));
    EXPECT_FALSE(circlegeom::OnRim(2, 2));
    EXPECT_FALSE(circlegeom::OnRim(7, 10));
    EXPECT_TRUE(circlegeom::OnRim(8, 10));
    for (int d : {0, 1})
        EXPECT_FALSE(circlegeom::OnRim(d, 0));

    // The bounds may reach the image's width and height, no further; a step past them is refused.
    EXPECT_TRUE(circlegeom::Inside({10, 10}, 10, 20, 20));
    EXPECT_FALSE(circlegeom::Inside({10, 10}, 11, 40, 40));
    EXPECT_FALSE(circlegeom::Inside({10, 10}, 10, 19, 40));
    EXPECT_EQ(circlegeom::StepRadius({10, 10}, 4, 10, 25, 100, 100), 4) << "radius 15 would cross the top";
    EXPECT_EQ(circlegeom::StepRadius({10, 10}, 4, 13, 14, 100, 100), 5);

    // Right and bottom are excluded; the corners of the square are outside.
    EXPECT_TRUE(circlegeom::HitTest({5, 5}, 5, 5, 0));
    EXPECT_FALSE(circlegeom::HitTest({5, 5}, 5, 5, 10));
    EXPECT_FALSE(circlegeom::HitTest({5, 5}, 5, 10, 5));
    EXPECT_TRUE(circlegeom::HitTest({5, 5}, 5, 9, 5));
    EXPECT_FALSE(circlegeom::HitTest({5, 5}, 5, 0, 0));
    EXPECT_FALSE(circlegeom::HitTest({0, 0}, 0, 0, 0));

    const regiongeom::ImageArea image{-30, -20, 400, 300};
    EXPECT_EQ(circlegeom::FitBox({100, 60}, 12, image), (regiongeom::Box{58, 28, 25, 25}));
    EXPECT_EQ(circlegeom::SpanCentre({58, 28, 25, 25}, 12, image), (circlegeom::Point{100, 60}));
}

TEST(PolyGeometry, WindingVertexHoverDragFitAndSpan)
{
    polygeom::Points p{};
    // A star drawn in one stroke: its middle is wound twice, which the winding rule fills.
    const polygeom::Point star[] = {{50, 0}, {80, 100}, {0, 35}, {100, 35}, {20, 100}};
    for (int i = 0; i < 5; ++i)
        p[static_cast<std::size_t>(i)] = star[i];
    EXPECT_TRUE(polygeom::HitTest(p, 5, 50, 50)) << "the doubly wound middle";
    EXPECT_TRUE(polygeom::HitTest(p, 5, 50, 10));
    EXPECT_FALSE(polygeom::HitTest(p, 5, 5, 90));
    EXPECT_FALSE(polygeom::HitTest(p, 2, 50, 50)) << "fewer than three vertices contain nothing";
    EXPECT_FALSE(polygeom::HitTest(p, 5, 100, 35)) << "a vertex on the right is outside";
    EXPECT_EQ(polygeom::HitTest(p, 1000, 50, 50), polygeom::HitTest(p, 99, 50, 50)) << "a count past the slots";

    // 3 pixels each way is on the vertex, 4 is not; the lowest index wins.
    p[5] = {53, 3};
    EXPECT_EQ(polygeom::VertexAt(p, 6, 53, 3), 0);
    EXPECT_EQ(polygeom::VertexAt(p, 6, 47, 0), 0);
    EXPECT_EQ(polygeom::VertexAt(p, 6, 46, 0), std::nullopt);
    EXPECT_EQ(polygeom::VertexAt(p, 6, 56, 6), 5);

    // Each axis of a vertex drag stays within 0 .. the image's size; the closing copy follows 0.
    polygeom::Points t{};
    t[0] = {10, 10}, t[1] = {60, 10}, t[2] = {10, 40}, t[3] = t[0];
    polygeom::DragVertex(t, 3, 0, 5, 250, 100, 200);
    EXPECT_EQ(t[0], (polygeom::Point{5, 10}));
    EXPECT_EQ(t[3], t[0]);
    polygeom::DragVertex(t, 3, 1, 100, 200, 100, 200);
    EXPECT_EQ(t[1], (polygeom::Point{100, 200}));

    const regiongeom::ImageArea image{0, -50, 100, 200};
    const regiongeom::Box box = polygeom::Fit(t, 3, 100, 200, image);
    EXPECT_EQ(box, (regiongeom::Box{5, -40, 96, 191}));
    EXPECT_EQ(t[0], (polygeom::Point{0, 0}));
    EXPECT_EQ(t[1], (polygeom::Point{95, 190}));
    polygeom::Span(t, 3, box, image);
    EXPECT_EQ(t[1], (polygeom::Point{100, 200}));

    // No vertex: the closing copy is the zero point, a 1 x 1 box at the image's corner.
    polygeom::Points none{};
    EXPECT_EQ(polygeom::Fit(none, 0, 100, 200, image), (regiongeom::Box{0, -50, 1, 1}));
}
