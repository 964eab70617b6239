#include "regions/core/PolyGeometry.h"

#include <algorithm>
#include <cstdint>

namespace polygeom {

namespace {
// The slots a count reaches, kept inside the array whatever the count says.
int LastSlot(int count) { return std::clamp(count, 0, Slots - 1); }
} // namespace

bool HitTest(const Points &points, int count, int x, int y)
{
    count = std::min(count, MaxPoints + 1);
    if (count < 3)
        return false;
    // Doubled coordinates put the pixel centre (x + 0.5, y + 0.5) on whole numbers.
    const std::int64_t px = 2 * std::int64_t(x) + 1;
    const std::int64_t py = 2 * std::int64_t(y) + 1;
    int winding = 0;
    for (int i = 0; i < count; ++i) {
        const Point &a = points[static_cast<std::size_t>(i)];
        const Point &b = points[static_cast<std::size_t>((i + 1) % count)];
        const std::int64_t ax = 2 * std::int64_t(a.x), ay = 2 * std::int64_t(a.y);
        const std::int64_t bx = 2 * std::int64_t(b.x), by = 2 * std::int64_t(b.y);
        // Which side of the edge the point is on; an odd py never equals an even ay or by.
        const std::int64_t side = (bx - ax) * (py - ay) - (px - ax) * (by - ay);
        if (ay < py && by > py && side > 0)
            ++winding;
        else if (ay > py && by < py && side < 0)
            --winding;
    }
    return winding != 0;
}

std::optional<int> VertexAt(const Points &points, int count, int x, int y)
{
    const int last = std::min(count, MaxPoints + 1);
    for (int i = 0; i < last; ++i) {
        const Point &p = points[static_cast<std::size_t>(i)];
        if (std::int64_t(x) - 4 < p.x && p.x < std::int64_t(x) + 4 && std::int64_t(y) - 4 < p.y &&
            p.y < std::int64_t(y) + 4)
            return i;
    }
    return std::nullopt;
}

void DragVertex(Points &points, int count, int index, int x, int y, int imageWidth, int imageHeight)
{
    if (index < 0 || index >= Slots)
        return;
    Point &vertex = points[static_cast<std::size_t>(index)];
    if (0 <= y && y <= imageHeight)
        vertex.y = y;
    if (0 <= x && x <= imageWidth)
        vertex.x = x;
    points[static_cast<std::size_t>(LastSlot(count))] = points[0];
}

Box Fit(Points &points, int count, int spanWidth, int spanHeight, const ImageArea &image)
{
    int minX = spanWidth, maxX = 0, minY = spanHeight, maxY = 0;
    const int last = LastSlot(count);
    for (int i = 0; i <= last; ++i) {
        const Point &p = points[static_cast<std::size_t>(i)];
        minX = std::min(minX, p.x);
        maxX = std::max(maxX, p.x);
        minY = std::min(minY, p.y);
        maxY = std::max(maxY, p.y);
    }
    for (int i = 0; i <= last; ++i) {
        points[static_cast<std::size_t>(i)].x -= minX;
        points[static_cast<std::size_t>(i)].y -= minY;
    }
    return {image.left + minX, image.top + minY, maxX - minX + 1, maxY - minY + 1};
}

void Span(Points &points, int count, const Box &box, const ImageArea &image)
{
    const int dx = box.left - image.left;
    const int dy = box.top - image.top;
    for (int i = 0; i <= LastSlot(count); ++i) {
        points[static_cast<std::size_t>(i)].x += dx;
        points[static_cast<std::size_t>(i)].y += dy;
    }
}

} // namespace polygeom
