// The coordinate text of an AREA line: numbers joined by ", ", per shape from its box and shape.
#pragma once

#include <string>
#include <vector>

std::string FormatCoords(const std::vector<int> &numbers);

// A vertex or centre offset from a region's box, as the regions and the map file hold it.
struct CoordPoint {
    int x = 0;
    int y = 0;
    bool operator==(const CoordPoint &) const = default;
};

// "L, T, R, B" with the right and bottom pixels included.
std::string RectCoords(int left, int top, int width, int height);
// Centre and radius.
std::string CircleCoords(int left, int top, CoordPoint centre, int radius);
// Point 0 always, then points 1 to pointCount - 1; the closing copy is never written.
std::string PolyCoords(int left, int top, const std::vector<CoordPoint> &points, int pointCount);
