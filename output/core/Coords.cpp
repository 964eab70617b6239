#include "output/core/Coords.h"

#include <algorithm>
#include <cstdint>

std::string FormatCoords(const std::vector<int> &numbers)
{
    std::string text;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        if (i)
            text += ", ";
        text += std::to_string(numbers[i]);
    }
    return text;
}

namespace {
// Coordinates are 32-bit as the regions hold them; a sum past the range wraps as it would there.
int Add(int a, int b) { return static_cast<int>(static_cast<std::uint32_t>(a) + static_cast<std::uint32_t>(b)); }
} // namespace

std::string RectCoords(int left, int top, int width, int height)
{
    return FormatCoords({left, top, Add(Add(left, width), -1), Add(Add(top, height), -1)});
}

std::string CircleCoords(int left, int top, CoordPoint centre, int radius)
{
    return FormatCoords({Add(left, centre.x), Add(top, centre.y), radius});
}

std::string PolyCoords(int left, int top, const std::vector<CoordPoint> &points, int pointCount)
{
    const std::size_t count = std::min(points.size(), static_cast<std::size_t>(std::max(pointCount, 1)));
    std::vector<int> numbers;
    numbers.reserve(2 * std::max<std::size_t>(count, 1));
    const CoordPoint first = points.empty() ? CoordPoint{} : points[0];
    numbers.push_back(Add(left, first.x));
    numbers.push_back(Add(top, first.y));
    for (std::size_t i = 1; i < count; ++i) {
        numbers.push_back(Add(left, points[i].x));
        numbers.push_back(Add(top, points[i].y));
    }
    return FormatCoords(numbers);
}
