// `import`: the image maps of an HTML page, parsed by gumbo as a browser would, as map records.
#pragma once

#include "cli/core/Note.h"
#include "output/core/MapFile.h"

#include <string>
#include <string_view>
#include <vector>

// The editor draws at most this many polygon points.
inline constexpr int MaxImportedPolygonPoints = 98;

struct TImportRequest {
    std::string MapName;   // empty: the page's only map
    std::string ImagePath; // empty: the src of the first image using the map, joined to PageDir
    std::string PageDir;   // folder of the page, for a relative src
};

struct TImportResult {
    TMapFile Map;
    std::vector<TNote> Errors; // not empty: nothing may be written
    std::vector<TNote> Notes;  // what was adjusted or left out, for standard error
};

TImportResult ImportMap(std::string_view html, const TImportRequest &request);
