// The plain hotspot records that the map file, the fragment writers and the command line share.
//
// Text encoding: fragments and map files are single-byte text in the system's ANSI code page.
// On our platform that is the locale's encoding, UTF-8 (Qt's local 8-bit encoding on Linux), and
// every core rule works on the bytes as they are: nothing is decoded, re-encoded or validated.
#pragma once

#include "output/core/Coords.h"

#include <string>
#include <vector>

// A hotspot's box and shape in image pixels. Circle centres and polygon points are offsets from
// the box's left and top; a polygon holds PointCount + 1 points, the last the closing copy of
// the first.
struct THotspotShape {
    int Top = 0;
    int Left = 0;
    int Height = 0;
    int Width = 0;
    int Radius = 0;
    CoordPoint Centre;
    int PointCount = 0;
    std::vector<CoordPoint> Points;
    bool operator==(const THotspotShape &) const = default;
};

enum class THotspotKind { Rect, Circle, Poly };

// A hotspot by kind and its place, from 0, in that kind's list; no hotspot when negative.
struct THotspotRef {
    THotspotKind Kind = THotspotKind::Rect;
    int Index = -1;
    bool Valid() const { return Index >= 0; }
    bool operator==(const THotspotRef &) const = default;
};

// An image's natural size in pixels.
struct TImageSize {
    int Width = 0;
    int Height = 0;
    bool operator==(const TImageSize &) const = default;
};

// The six map options as typed in the map options dialog.
struct TMapOptions {
    std::string Name;
    std::string Align;
    std::string Alt;
    std::string Border;
    std::string VSpace;
    std::string HSpace;
    bool operator==(const TMapOptions &) const = default;
};
