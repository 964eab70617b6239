// The rectangle's rules as pure functions: grip zones, drawing steps, resize and move steps, fitting.
#pragma once

#include "regions/core/RegionGeometry.h"


namespace rectgeom {

using regiongeom::Box;
using regiongeom::ImageArea;

// Grip zones of a selected rectangle; Unset until the first hover test.
enum class Zone { Unset, NW, N, NE, W, E, SW, S, SE, None };

// The pointer shape a hover test asks for.
enum class ZoneCursor { SizeNwSe, SizeNeSw, SizeVertical, SizeHorizontal, MoveRegion };

struct HoverResult {
    Zone zone = Zone::None;
    ZoneCursor cursor = ZoneCursor::MoveRegion;
};

// Which grip (region-local x, y) lies on. Left and top grips are 5 pixels deep, right and bottom
// ones 11; the north-east and south-west corners reach 11 pixels along their left or top side.
HoverResult Hover(int x, int y, int width, int height);
// The zone kept after a hover test: a grip only when no drag is going on, "NONE" always, so a
// resize that reaches the body turns into a move but a move never turns into a resize.
Zone KeptZone(Zone stored, Zone found, bool dragging);

// The two corners while drawing, region-local; right may be less than left until fitted.
struct Corners {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool operator==(const Corners &) const = default;
};

// The corners at the first press: a 2 x 2 rectangle at the press point.
Corners StartDrawing(int x, int y);
// One pointer step while drawing; each axis is refused when the span would exceed the image.
Corners DrawStep(Corners corners, int dx, int dy, int imageWidth, int imageHeight);

// Where a drawn rectangle goes when fitted: offset of its normalised top-left corner from the
// spanning region's origin, and its size (inclusive corners, so at least 1 x 1).
struct Fit {
    int dx = 0;
    int dy = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Fit &) const = default;
};
Fit Normalise(const Corners &corners);

// The smallest side a resize may leave.
inline constexpr int MinSide = 10;

struct DragResult {
    Box box;
    // The step was a body move attempt (the caller shows the move cursor).
    bool moving = false;
};
// One pointer step of a drag on a selected rectangle: resize by the zone's grip, or move the body
// by (x - lastX, y - lastY) when the zone is "NONE". x, y are region-local; box and image are in
// the parent frame.
DragResult DragStep(Box box, Zone zone, int x, int y, int lastX, int lastY, const ImageArea &image);

} // namespace rectgeom
