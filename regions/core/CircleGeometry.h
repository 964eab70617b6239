// The circle's rules as pure functions: pointer distance, staying inside the image, the rim band,
// the elliptic hit test, fitting and spanning.
#pragma once

#include "regions/core/RegionGeometry.h"

namespace circlegeom {

using regiongeom::Box;
using regiongeom::ImageArea;

using regiongeom::Point;

// The distance from the centre to (dx, dy) away, rounded to the nearest whole pixel.
int Distance(int dx, int dy);

// The bounding square (left, top, right, bottom) of a circle, as GetBounds gives it.
struct Bounds {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const Bounds &) const = default;
};
Bounds GetBounds(Point centre, int radius);
// Whether a circle spanning an image of width x height stays inside it: its bounds may reach
// width and height themselves (the outline's last pixel lies just past the image) but no further.
bool Inside(Point centre, int radius, int width, int height);
// The radius a pointer step leaves: distance when the circle stays inside, else the old radius.
int StepRadius(Point centre, int radius, int x, int y, int width, int height);

// The two-pixel band just inside the outline: radius - 3 < distance < radius.
bool OnRim(int distance, int radius);

// The ellipse inscribed in the bounds, right and bottom excluded: a pixel is inside when its
// centre is, so a radius of 0 holds nothing.
bool HitTest(Point centre, int radius, int x, int y);

// A spanning circle fitted to its square: the box in the parent frame; the centre becomes
// (radius, radius).
Box FitBox(Point centre, int radius, const ImageArea &image);
// A fitted circle at box spread over the image again: the centre in image coordinates.
Point SpanCentre(const Box &box, int radius, const ImageArea &image);

} // namespace circlegeom
