// `import`: an image map of an HTML page as map records, read as browsers read it: the page's
// encoding, the map an image's usemap names, the areas inside the map in page order, their shapes
// and numbers.
#pragma once

#include "cli/core/MapCheck.h"
#include "cli/core/Note.h"
#include "output/core/MapFile.h"

#include <functional>
#include <string>
#include <string_view>
#include <vector>

// The editor draws at most this many polygon points.
inline constexpr int MaxImportedPolygonPoints = 98;
// Larger pages are refused before parsing; the parse itself is bounded too (see PageParse.h).
inline constexpr std::size_t MaxImportedPageBytes = std::size_t(32) << 20;

struct TImportRequest {
    std::string MapName;   // empty: the map the page's images use, or its only map; else its name or id
    std::string ImagePath; // empty: the src of the first image using the map, joined to PageDir
    std::string PageDir;   // folder of the page, for a relative src
    // The natural size of the image at a path as it will be stored; asked only when the page
    // shows the image at another size or the stored order of areas needs checking.
    std::function<TImageState(const std::string &imagePath)> ReadImage;
};

struct TImportResult {
    TMapFile Map;
    std::vector<TNote> Errors; // not empty: nothing may be written
    std::vector<TNote> Notes;  // what was adjusted or left out, for standard error
};

TImportResult ImportMap(std::string_view html, const TImportRequest &request);
