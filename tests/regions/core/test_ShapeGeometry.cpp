// Table tests of the circle's and polygon's pure rules.
#include "regions/core/CircleGeometry.h"
#include "regions/core/PolyGeometry.h"

#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <tuple>

TEST(CircleGeometry, DistanceRimBoundsAndHitTest)
{
    // Rounded (2.83 is 3), with no 32-bit wrap far outside the window.
    for (const auto &[dx, dy, d] :
         {std::tuple{3, 4, 5}, {1, 1, 1}, {-2, -2, 3}, {60000, 60000, 84853}, {INT_MIN, INT_MIN, INT_MAX}})
        EXPECT_EQ(circlegeom::Distance(dx, dy), d) << dx << "," << dy;

    // Radius 2: the band is the distances 0 and 1; radius 10: 8 and 9; radius 0 has none.
    for (const auto &[d, r, on] :
         {std::tuple{0, 2, true}, {1, 2, true}, {2, 2, false}, {7, 10, false}, {8, 10, true}, {0, 0, false}, {1, 0, false}})
        EXPECT_EQ(circlegeom::OnRim(d, r), on) << d << " of " << r;

    // The bounds may reach the image's width and height, no further; a step past them is refused.
    EXPECT_TRUE(circlegeom::Inside({10, 10}, 10, 20, 20));
    EXPECT_FALSE(circlegeom::Inside({10, 10}, 11, 40, 40));
    EXPECT_FALSE(circlegeom::Inside({10, 10}, 10, 19, 40));
    EXPECT_EQ(circlegeom::StepRadius({10, 10}, 4, 10, 25, 100, 100), 4) << "radius 15 would cross the top";
    EXPECT_EQ(circlegeom::StepRadius({10, 10}, 4, 13, 14, 100, 100), 5);

    // Right and bottom are excluded; the corners of the square are outside.
    for (const auto &[x, y, in] : {std::tuple{5, 0, true}, {5, 10, false}, {10, 5, false}, {9, 5, true}, {0, 0, false}})
        EXPECT_EQ(circlegeom::HitTest({5, 5}, 5, x, y), in) << x << "," << y;
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
    // The doubly wound middle is in; fewer than three vertices contain nothing; a vertex on the
    // right is outside.
    for (const auto &[count, x, y, in] :
         {std::tuple{5, 50, 50, true}, {5, 50, 10, true}, {5, 5, 90, false}, {2, 50, 50, false}, {5, 100, 35, false}})
        EXPECT_EQ(polygeom::HitTest(p, count, x, y), in) << count << ": " << x << "," << y;
    EXPECT_EQ(polygeom::HitTest(p, 1000, 50, 50), polygeom::HitTest(p, 99, 50, 50)) << "a count past the slots";

    // 3 pixels each way is on the vertex, 4 is not; the lowest index wins.
    p[5] = {53, 3};
    for (const auto &[x, y, vertex] : {std::tuple{53, 3, std::optional(0)}, {47, 0, 0}, {46, 0, std::nullopt}, {56, 6, 5}})
        EXPECT_EQ(polygeom::VertexAt(p, 6, x, y), vertex) << x << "," << y;

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
