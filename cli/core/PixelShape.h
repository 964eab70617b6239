// A hotspot as the pixels a click can hit, one image row at a time.
#pragma once

#include "output/core/Hotspot.h"

#include <cstdint>
#include <utility>
#include <vector>

// Pixels [Begin, End) of one image row.
struct TSpan {
    std::int64_t Begin;
    std::int64_t End;
};

struct TBounds {
    std::int64_t Left, Top, Right, Bottom; // right and bottom exclusive
    bool Empty() const { return Left >= Right || Top >= Bottom; }
};

TBounds Clip(const TBounds &a, const TBounds &b);

// The same rules for every shape: a rectangle is its box, a circle the pixels within the radius of
// its centre, a polygon the pixels whose centres it encloses (by the non-zero winding rule the
// editor draws with, or by the even-odd rule browsers hit-test with).
class TPixelShape {
public:
    enum class TFill { NonZero, EvenOdd };

    TPixelShape(THotspotKind kind, const THotspotShape &shape, TFill fill = TFill::NonZero);

    const TBounds &Bounds() const { return Box; }
    THotspotKind Kind() const { return Shape; }

    // Appends the spans of row y, left to right; they may touch but never overlap.
    void AppendRow(std::int64_t y, std::vector<TSpan> &spans) const;

private:
    void PolygonRow(std::int64_t y, std::vector<TSpan> &spans) const;

    THotspotKind Shape;
    TFill Fill;
    std::int64_t Radius = 0;
    std::vector<std::pair<std::int64_t, std::int64_t>> Vertices;
    mutable std::vector<std::pair<double, int>> Crossings; // one row's, kept to save allocations
    TBounds Box{0, 0, 0, 0};
};
