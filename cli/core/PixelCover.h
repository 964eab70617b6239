// The pixels of an image taken so far, one bit each, for telling how much of a new shape is
// already taken: the cost of a shape grows with its size, not with the number of shapes before it.
#pragma once

#include "cli/core/PixelShape.h"

#include <cstdint>
#include <vector>

class TPixelCover {
public:
    TPixelCover(std::int64_t width, std::int64_t height);

    // Takes the pixels [span.Begin, span.End) of row y (within the image) and returns how many of
    // them were taken before.
    std::int64_t Take(std::int64_t y, TSpan span);

    // Whether every pixel of the 64 x 64 blocks that box (within the image) touches is taken, so
    // that a shape inside it is taken whole without looking at its rows.
    bool Full(const TBounds &box) const;

private:
    std::size_t Block(std::int64_t y, std::int64_t word) const;

    std::int64_t Width;
    std::int64_t Height;
    std::int64_t WordsPerRow;
    std::vector<std::vector<std::uint64_t>> Rows; // allocated when first touched
    std::vector<std::int64_t> Taken;              // per row, so a full row answers at once
    std::vector<std::uint8_t> FullWords;          // per 64 x 64 block, its words wholly taken
};
