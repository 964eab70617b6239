// The HTML fragment of a compiled map: the IMG line, the MAP element and one AREA line per hotspot.
#pragma once

#include "output/core/Hotspot.h"

#include <optional>
#include <string>
#include <variant>
#include <vector>

// One AREA: the editor hands in a region's coordinate text (its GetCoords), the command line the
// box and shape of a map-file record; both give the same bytes.
struct TFragmentArea {
    std::variant<std::string, THotspotShape> Coords;
    std::string URL;
    std::string Target;
    std::string StatusText;
    // Written by the HTML5 and SVG writers only, as the classic AREA has no such attribute.
    std::string Title = {};
};

// Everything one compile writes. Src is the finished image reference (ImageSrc). ImageSize, the
// image's natural size, is used by the HTML5 and SVG writers only.
struct TFragmentMap {
    bool ClipboardMode = false;
    std::string Src;
    std::optional<TImageSize> ImageSize;
    TMapOptions Options;
    std::vector<TFragmentArea> Rects;
    std::vector<TFragmentArea> Circles;
    std::vector<TFragmentArea> Polys;
    std::string DefaultURL;
    std::string DefaultTarget;
};

inline constexpr const char *ClipboardComment = "<!-- Paste this into the <BODY> section of your HTML file -->";

// The fragment's bytes, every line ended by CR LF: comment (clipboard mode), IMG, MAP, the
// rectangles, circles and polygons in list order, the default AREA when DefaultURL is set, </MAP>.
// Values go in as typed: nothing is escaped or trimmed.
std::string WriteFragment(const TFragmentMap &map);
