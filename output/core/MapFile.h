// The map file (.im): one value per line, CR LF ended, read into and written from plain records.
// Bytes go through unchanged (see output/core/Hotspot.h on the encoding).
#pragma once

#include "output/core/Hotspot.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

// One rectangle, circle or polygon record. Line is the file line of its first value (the box
// top), counted from 1; the writer ignores it. Alt (the status-bar text, compiled as the AREA's
// alt) and Title are kept only in Mapolin's extension block after the classic content.
struct TMapRegion {
    int Line = 0;
    THotspotShape Shape;
    std::string URL;
    std::string Target;
    std::string Alt;
    std::string Title;
    bool operator==(const TMapRegion &) const = default;
};

struct TMapFile {
    std::string ImageFileName;
    std::string DefaultURL;
    std::string DefaultTarget;
    std::vector<TMapRegion> Rects;
    std::vector<TMapRegion> Circles;
    std::vector<TMapRegion> Polys;
    // Kept in the extension block only; all empty in a classic file.
    TMapOptions Options;
    bool operator==(const TMapFile &) const = default;
};

// Why reading stopped: the line (from 1) and the message to show.
struct TMapFileError {
    int Line = 0;
    std::string Message;
    bool operator==(const TMapFileError &) const = default;
};

// The records read up to the first error, and that error. A record cut off by the error is not
// in the lists; everything before it is, so the editor keeps the regions completed before.
struct TMapReadResult {
    TMapFile Map;
    std::optional<TMapFileError> Error;
    // A damaged extension block: reported, while the classic content above still loads.
    std::optional<TMapFileError> ExtensionError;
};

// Polygon records hold PointCount + 1 points in 101 slots.
inline constexpr int MaxPolygonPointCount = 100;

// Reads a whole file. A number line that is not an integer stops with "'%s' is not a valid
// integer value"; a polygon point count outside 0 to MaxPolygonPointCount stops with a message
// naming the line. Counts of 0 or below give no records of that kind. Lines past the end read
// as empty, so a file cut short stops at its next number line; nothing is reserved ahead of the
// records actually read, whatever a count claims. The extension block after a byte 26 gives the
// records' Alt and Title and the map's Options; when the classic content has an error or the
// block is damaged, none of them are taken.
TMapReadResult ReadMapFile(std::string_view bytes);

// The file's bytes. Refuses (std::invalid_argument, naming the value) what would not read back:
// a text holding a CR or a byte 26, which would end its line or the file early, and a polygon
// whose Points are not PointCount + 1 or whose PointCount is outside 0 to MaxPolygonPointCount.
// Alt, Title and Options go into the extension block, written only when one of them is set, so
// a map without them is the classic file byte for byte; they must be UTF-8.
std::string WriteMapFile(const TMapFile &map);

// "Image file not found. " CR LF "Looking for " + path, a long path shortened.
std::string ImageNotFoundMessage(std::string_view imagePath);

// The runtime's message for a file that cannot be opened, created, read or written: "File not
// found", "File access denied", "Disk full", "Invalid filename", "Too many open files", or
// "I/O error <errno>".
std::string FileErrorMessage(int errnoValue);
