// The polygon's rules as pure functions: the winding hit test, the vertex hover, vertex drag steps,
// fitting and spanning.
#pragma once

#include "regions/core/RegionGeometry.h"

#include <array>
#include <optional>

namespace polygeom {

using regiongeom::Box;
using regiongeom::ImageArea;

using regiongeom::Point;

// The most vertices a polygon takes, and the slots it holds (the closing copy needs one more).
inline constexpr int MaxPoints = 98;
inline constexpr int Slots = 101;
using Points = std::array<Point, Slots>;

// Whether (x, y) lies inside the polygon through points[0 .. count - 1] by the winding (non-zero)
// rule, a pixel counting when its centre does. Fewer than three vertices contain nothing.
bool HitTest(const Points &points, int count, int x, int y);

// The lowest vertex index within 3 pixels of (x, y) on both axes, or none.
std::optional<int> VertexAt(const Points &points, int count, int x, int y);

// One step of a vertex drag on a spanning polygon: each axis follows the pointer while it stays
// within 0 .. the image's size; the closing copy follows vertex 0.
void DragVertex(Points &points, int count, int index, int x, int y, int imageWidth, int imageHeight);

// A spanning polygon fitted to the box of slots 0 .. count (the closing copy included): the
// points become relative to it; returns the box in the parent frame. spanWidth and spanHeight
// are the region's size while it spans.
Box Fit(Points &points, int count, int spanWidth, int spanHeight, const ImageArea &image);
// A fitted polygon at box spread over the image again: the points move to image coordinates.
void Span(Points &points, int count, const Box &box, const ImageArea &image);

} // namespace polygeom
