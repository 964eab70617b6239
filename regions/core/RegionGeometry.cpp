#include "regions/core/RegionGeometry.h"

#include <algorithm>

namespace regiongeom {

Box MoveWithinImage(Box box, int dx, int dy, const ImageArea &image)
{
    const int newTop = box.top + dy;
    if (image.top <= newTop && newTop + box.height <= image.top + image.height)
        box.top = newTop;
    const int newLeft = box.left + dx;
    if (image.left <= newLeft && newLeft + box.width <= image.left + image.width)
        box.left = newLeft;
    return box;
}

Span ConfinementArea(const Box &region, int clientWidth, int clientHeight)
{
    return {std::max(region.left, 0), std::max(region.top, 0),
            std::min(clientWidth, region.left + region.width),
            std::min(clientHeight, region.top + region.height)};
}

} // namespace regiongeom
