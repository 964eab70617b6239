// The map file reader one record at a time, for callers that process a large map without holding
// it (the command line's compile); ReadMapFile is built on it. Same rules and messages.
#pragma once

#include "output/core/MapFile.h"

#include <memory>
#include <optional>
#include <string_view>

class TMapFileReader {
public:
    // Reads the three header lines at once; bytes must outlive the reader.
    explicit TMapFileReader(std::string_view bytes);
    ~TMapFileReader();
    TMapFileReader(const TMapFileReader &) = delete;
    TMapFileReader &operator=(const TMapFileReader &) = delete;

    const std::string &ImageFileName() const;
    const std::string &DefaultURL() const;
    const std::string &DefaultTarget() const;

    // The next record, rectangles first, then circles, then polygons, into region (its storage
    // is reused). False at the end of the last list or on an error; Error() tells which.
    // The record's Alt and Title come from the extension block.
    bool Next(THotspotKind &kind, TMapRegion &region);
    const std::optional<TMapFileError> &Error() const;
    // Set once Next has returned false without Error when the block is damaged (ReadMapFile's
    // ExtensionError). A block damaged in its own lines gives no texts and options at all; one
    // naming hotspots the map does not have is found only at the end, after its texts went out.
    const std::optional<TMapFileError> &ExtensionError() const;
    // The map options of the block; empty when it is damaged in its own lines.
    const TMapOptions &Options() const;

private:
    class TState;
    std::unique_ptr<TState> State;
};
