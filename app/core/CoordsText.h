// A hotspot's coordinates as the fragment writes them ("L, T, R, B"; "X, Y, R"; "x1, y1, ..."),
// typed back in: read into a shape in image pixels, or refused with the reason.
#pragma once

#include "output/core/Hotspot.h"

#include <optional>
#include <string>
#include <string_view>

struct TCoordsRead {
    std::optional<THotspotShape> Shape;
    std::string Error; // when there is no shape
};

// The shape's coordinates as the fragment writes them.
std::string CoordsText(THotspotKind kind, const THotspotShape &shape);

// Whole numbers separated by commas or blanks. A rectangle takes four (its right and bottom
// pixels included), a circle three, a polygon 3 to 98 points; every pixel of the shape must lie
// inside the image (a circle's outline may touch its right and bottom edge, as when drawn).
TCoordsRead ReadCoords(THotspotKind kind, std::string_view text, int imageWidth, int imageHeight);
