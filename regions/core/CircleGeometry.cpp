#include "regions/core/CircleGeometry.h"

#include <cmath>
#include <cstdint>

namespace circlegeom {

int Distance(int dx, int dy)
{
    // Not in 32 bits: a captured pointer far outside the window must not wrap into a small radius.
    const double root = std::sqrt(double(dx) * dx + double(dy) * dy);
    return root >= 2147483647.0 ? 2147483647 : static_cast<int>(std::lround(root));
}

Bounds GetBounds(Point centre, int radius)
{
    return {centre.x - radius, centre.y - radius, centre.x + radius, centre.y + radius};
}

bool Inside(Point centre, int radius, int width, int height)
{
    const std::int64_t r = radius;
    return centre.x - r >= 0 && centre.y - r >= 0 && centre.y + r <= height && centre.x + r <= width;
}

int StepRadius(Point centre, int radius, int x, int y, int width, int height)
{
    const int distance = Distance(x - centre.x, y - centre.y);
    return Inside(centre, distance, width, height) ? distance : radius;
}

bool OnRim(int distance, int radius) { return std::int64_t(radius) - 3 < distance && distance < radius; }

bool HitTest(Point centre, int radius, int x, int y)
{
    if (radius <= 0)
        return false;
    // Pixel centres against the circle of the square's middle, doubled to stay in integers.
    const std::int64_t dx = 2 * (std::int64_t(x) - centre.x) + 1;
    const std::int64_t dy = 2 * (std::int64_t(y) - centre.y) + 1;
    const std::int64_t r = 2 * std::int64_t(radius);
    return dx * dx + dy * dy < r * r;
}

Box FitBox(Point centre, int radius, const ImageArea &image)
{
    const Bounds b = GetBounds(centre, radius);
    return {image.left + b.left, image.top + b.top, b.right - b.left + 1, b.bottom - b.top + 1};
}

Point SpanCentre(const Box &box, int radius, const ImageArea &image)
{
    return {box.left - image.left + radius, box.top - image.top + radius};
}

} // namespace circlegeom
