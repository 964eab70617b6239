// The findings of `check`: faults of a map that the editor or a browser would trip over.
#pragma once

#include "cli/core/Note.h"
#include "output/core/MapFile.h"

#include <string>
#include <string_view>
#include <vector>

// What the command line found out about the map's image file.
struct TImageState {
    enum class TState { Missing, Unreadable, Read };
    TState State = TState::Missing;
    int Width = 0;
    int Height = 0;
    std::string Reason; // the image reader's text when unreadable
};

struct TFinding {
    std::string Kind; // a stable word for scripts: image-missing, outside, covered, ...
    TNote Note;
    bool operator==(const TFinding &) const = default;
};

// All findings in file order. Hotspots are checked against the image only when it was read; the
// cover test clips every shape to the image, since no pixel outside it can be clicked.
// Hotspots without an alt text are reported ("missing-alt") only when asked: a classic map file
// cannot hold one, so every classic map would have them.
struct TCheckOptions {
    bool MissingAlt = false;
};

std::vector<TFinding> CheckMap(const TMapFile &map, const TImageState &image, TCheckOptions options = {});

// True for the empty text, one of _blank, _self, _parent, _top (any case), or any text that does
// not start with "_".
bool IsValidBrowsingContextName(std::string_view target);

// One finding as a JSON object on one line; the bytes of texts that are not UTF-8 become U+FFFD.
std::string FindingJson(std::string_view file, const TFinding &finding);
