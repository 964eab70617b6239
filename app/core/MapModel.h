// The map being edited, without widgets: hotspots in map order (rectangles, circles, polygons,
// each in creation order), the default link, the map options and the image. The regions on
// screen, the hotspot list, undo, the checker, compile and save all read it.
#pragma once

#include "output/core/MapFile.h"

#include <string>
#include <vector>

class TMapModel {
public:
    // A record's box and shape are in image pixels; its Line is not kept up to date.
    const std::vector<TMapRegion> &List(THotspotKind kind) const { return lists_[static_cast<int>(kind)]; }
    const TMapRegion &At(THotspotRef ref) const { return lists_[static_cast<int>(ref.Kind)][std::size_t(ref.Index)]; }
    int Count() const;
    bool Contains(THotspotRef ref) const;

    // Map order: all rectangles, then circles, then polygons.
    THotspotRef RefAt(int position) const;
    int PositionOf(THotspotRef ref) const;

    void Insert(THotspotRef ref, TMapRegion record);
    TMapRegion Remove(THotspotRef ref);
    void Replace(THotspotRef ref, TMapRegion record);
    // No hotspots; the image, the default and the map options stay.
    void ClearHotspots();

    std::string ImageFileName;
    int ImageWidth = 0;
    int ImageHeight = 0;
    std::string DefaultURL;
    std::string DefaultTarget;
    TMapOptions Options;

    // The map as a map file holds it; each record's Line is the line it starts at once written.
    TMapFile ToMapFile() const;
    // The hotspot whose record starts at a line of ToMapFile(), or an invalid ref.
    THotspotRef RefAtLine(int line) const;

private:
    std::vector<TMapRegion> lists_[3];
};

// The lines a record takes in a map file.
int RecordLines(THotspotKind kind, const THotspotShape &shape);
