#include "regions/core/RectGeometry.h"

#include <utility>

namespace rectgeom {

HoverResult Hover(int x, int y, int width, int height)
{
    const bool nearLeft = x <= 4;
    const bool nearTop = y <= 4;
    const bool nearRight = x >= width - 10;
    const bool nearBottom = y >= height - 10;
    if (nearLeft && nearTop)
        return {Zone::NW, ZoneCursor::SizeNwSe};
    if (nearRight && nearBottom)
        return {Zone::SE, ZoneCursor::SizeNwSe};
    if (x <= 10 && nearBottom)
        return {Zone::SW, ZoneCursor::SizeNeSw};
    if (nearRight && y <= 10)
        return {Zone::NE, ZoneCursor::SizeNeSw};
    if (nearTop)
        return {Zone::N, ZoneCursor::SizeVertical};
    if (nearBottom)
        return {Zone::S, ZoneCursor::SizeVertical};
    if (nearLeft)
        return {Zone::W, ZoneCursor::SizeHorizontal};
    if (nearRight)
        return {Zone::E, ZoneCursor::SizeHorizontal};
    return {Zone::None, ZoneCursor::MoveRegion};
}

Zone KeptZone(Zone stored, Zone found, bool dragging)
{
    return found == Zone::None || !dragging ? found : stored;
}

Corners StartDrawing(int x, int y) { return {x, y, x + 1, y + 1}; }

Corners DrawStep(Corners corners, int dx, int dy, int imageWidth, int imageHeight)
{
    if ((corners.bottom - corners.top) + dy <= imageHeight)
        corners.bottom += dy;
    if ((corners.right - corners.left) + dx <= imageWidth)
        corners.right += dx;
    return corners;
}

Fit Normalise(const Corners &corners)
{
    Corners c = corners;
    if (c.left > c.right)
        std::swap(c.left, c.right);
    if (c.top > c.bottom)
        std::swap(c.top, c.bottom);
    return {c.left, c.top, c.right - c.left + 1, c.bottom - c.top + 1};
}

namespace {
bool IsWestern(Zone z) { return z == Zone::NW || z == Zone::W || z == Zone::SW; }
bool IsEastern(Zone z) { return z == Zone::NE || z == Zone::E || z == Zone::SE; }
bool IsNorthern(Zone z) { return z == Zone::NW || z == Zone::N || z == Zone::NE; }
bool IsSouthern(Zone z) { return z == Zone::SW || z == Zone::S || z == Zone::SE; }
} // namespace

DragResult DragStep(Box box, Zone zone, int x, int y, int lastX, int lastY, const ImageArea &image)
{
    // The grip edge follows the pointer; the opposite edge stays where it is.
    if (IsWestern(zone) && box.width - x >= MinSide && box.left + x >= image.left) {
        box.left += x;
        box.width -= x;
    }
    if (IsEastern(zone) && x >= MinSide && box.left + x <= image.left + image.width)
        box.width = x;
    if (IsNorthern(zone) && box.height - y >= MinSide && box.top + y >= image.top) {
        box.top += y;
        box.height -= y;
    }
    if (IsSouthern(zone) && y >= MinSide && box.top + y <= image.top + image.height)
        box.height = y;

    // A rectangle pushed wholly out of the client area on the left or top comes back in view.
    if (box.left < 0 && -box.left >= box.width)
        box.left = 1;
    if (box.top < 0) {
        if (-box.top >= box.height)
            box.top = 1;
        return {box, false};
    }
    if (zone != Zone::None)
        return {box, false};
    return {regiongeom::MoveWithinImage(box, x - lastX, y - lastY, image), true};
}

} // namespace rectgeom
