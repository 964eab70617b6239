// Where storing image map areas in another order than the page's changes which area a click
// reaches: browsers give each pixel to the first area in the page that holds it.
#pragma once

#include "cli/core/PixelShape.h"

#include <cstddef>
#include <cstdint>
#include <vector>

struct TStackEntry {
    THotspotKind Kind = THotspotKind::Rect;
    const THotspotShape *Shape = nullptr; // null: the whole image (a default area)
    std::size_t StoredRank = 0;           // place in the stored order, or NotStored
};

inline constexpr std::size_t NotStored = SIZE_MAX;

// At pixel (X, Y) a browser picks entry PageWinner from the page and StoredWinner from the stored
// order (both indices into the entries, which are in page order).
struct TPickChange {
    std::size_t PageWinner;
    std::size_t StoredWinner;
    std::int64_t X;
    std::int64_t Y;
};

struct TPickChanges {
    std::vector<TPickChange> Changes; // one per pair of areas, the first pixel found
    bool Complete = true;             // false when workLimit rows of areas did not suffice
};

// Whether any entry comes earlier in the stored order than one before it in the page, or is not
// stored at all: only then can a pick change.
bool StoredOrderDiffers(const std::vector<TStackEntry> &entries);

// Polygons hold the pixels browsers hit (even-odd rule), all clipped to the image.
TPickChanges FindPickChanges(const std::vector<TStackEntry> &entries, const TBounds &image, std::size_t workLimit);
