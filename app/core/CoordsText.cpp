#include "app/core/CoordsText.h"

#include "output/core/Coords.h"
#include "regions/core/PolyGeometry.h"

#include <algorithm>
#include <charconv>
#include <climits>
#include <vector>

namespace {

TCoordsRead Refused(std::string reason) { return {std::nullopt, std::move(reason)}; }

// The numbers of the text, or none when something else stands in it.
std::optional<std::vector<long long>> Numbers(std::string_view text)
{
    std::vector<long long> numbers;
    std::size_t at = 0;
    const auto skip = [&] {
        while (at < text.size() && (text[at] == ',' || text[at] == ' ' || text[at] == '\t'))
            ++at;
    };
    for (skip(); at < text.size(); skip()) {
        long long value = 0;
        const auto [end, error] = std::from_chars(text.data() + at, text.data() + text.size(), value);
        if (error != std::errc() || end == text.data() + at)
            return std::nullopt;
        numbers.push_back(value);
        at = static_cast<std::size_t>(end - text.data());
        if (at < text.size() && text[at] != ',' && text[at] != ' ' && text[at] != '\t')
            return std::nullopt;
    }
    return numbers;
}

bool Within(long long value, long long limit) { return 0 <= value && value < limit; }

} // namespace

std::string CoordsText(THotspotKind kind, const THotspotShape &shape)
{
    switch (kind) {
    case THotspotKind::Rect: return RectCoords(shape.Left, shape.Top, shape.Width, shape.Height);
    case THotspotKind::Circle: return CircleCoords(shape.Left, shape.Top, shape.Centre, shape.Radius);
    case THotspotKind::Poly: return PolyCoords(shape.Left, shape.Top, shape.Points, shape.PointCount);
    }
    return {};
}

TCoordsRead ReadCoords(THotspotKind kind, std::string_view text, int imageWidth, int imageHeight)
{
    const std::optional<std::vector<long long>> read = Numbers(text);
    if (!read)
        return Refused("The coordinates must be whole numbers separated by commas.");
    const std::vector<long long> &n = *read;
    const std::string outside = "The coordinates leave the image (" + std::to_string(imageWidth) + " x "
                              + std::to_string(imageHeight) + " pixels).";
    THotspotShape shape;
    switch (kind) {
    case THotspotKind::Rect:
        if (n.size() != 4)
            return Refused("A rectangle takes four numbers: left, top, right and bottom.");
        if (n[2] < n[0] || n[3] < n[1])
            return Refused("The right and bottom of a rectangle cannot lie before its left and top.");
        if (!Within(n[0], imageWidth) || !Within(n[2], imageWidth) || !Within(n[1], imageHeight)
            || !Within(n[3], imageHeight))
            return Refused(outside);
        shape.Left = int(n[0]);
        shape.Top = int(n[1]);
        shape.Width = int(n[2] - n[0] + 1);
        shape.Height = int(n[3] - n[1] + 1);
        return {shape, {}};
    case THotspotKind::Circle:
        if (n.size() != 3)
            return Refused("A circle takes three numbers: the centre's x and y, and the radius.");
        if (n[2] < 0 || n[0] - n[2] < 0 || n[1] - n[2] < 0 || n[0] + n[2] > imageWidth || n[1] + n[2] > imageHeight
            || !Within(n[0], imageWidth) || !Within(n[1], imageHeight))
            return Refused(outside);
        shape.Radius = int(n[2]);
        shape.Left = int(n[0] - n[2]);
        shape.Top = int(n[1] - n[2]);
        shape.Width = shape.Height = int(2 * n[2] + 1);
        shape.Centre = {shape.Radius, shape.Radius};
        return {shape, {}};
    case THotspotKind::Poly: {
        if (n.size() % 2 != 0 || n.size() < 6 || n.size() > 2 * std::size_t(polygeom::MaxPoints))
            return Refused("A polygon takes from 3 to " + std::to_string(polygeom::MaxPoints)
                           + " points, each an x and a y.");
        long long left = LLONG_MAX, top = LLONG_MAX, right = LLONG_MIN, bottom = LLONG_MIN;
        for (std::size_t i = 0; i < n.size(); i += 2) {
            if (!Within(n[i], imageWidth) || !Within(n[i + 1], imageHeight))
                return Refused(outside);
            left = std::min(left, n[i]);
            right = std::max(right, n[i]);
            top = std::min(top, n[i + 1]);
            bottom = std::max(bottom, n[i + 1]);
        }
        shape.Left = int(left);
        shape.Top = int(top);
        shape.Width = int(right - left + 1);
        shape.Height = int(bottom - top + 1);
        shape.PointCount = int(n.size() / 2);
        for (std::size_t i = 0; i < n.size(); i += 2)
            shape.Points.push_back({int(n[i] - left), int(n[i + 1] - top)});
        // A finished polygon keeps a closing copy of its first point.
        shape.Points.push_back(shape.Points.front());
        return {shape, {}};
    }
    }
    return Refused("Unknown kind of hotspot.");
}
