// Plain boxes and the rules every region shape shares: moving inside the image, pointer confinement.
#pragma once

#include "output/core/Coords.h"

namespace regiongeom {

// A point in whole pixels: a circle's centre, a polygon's vertex.
using Point = CoordPoint;

// A control's box in the parent frame (the scroll box's client area).
struct Box {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Box &) const = default;
};

// The image's origin in the parent frame (0 or negative while scrolled) and its size.
struct ImageArea {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// One move step by (dx, dy); each axis is applied only when the box stays inside the image
// on that axis, so a step against one edge still follows the pointer on the other.
Box MoveWithinImage(Box box, int dx, int dy, const ImageArea &image);

// The pointer area allowed while a shape is drawn: the region's box cut to the visible client
// area, right and bottom exclusive. Empty (right <= left) when nothing of it is visible.
struct Span {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const Span &) const = default;
};
Span ConfinementArea(const Box &region, int clientWidth, int clientHeight);

} // namespace regiongeom
