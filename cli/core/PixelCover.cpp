#include "cli/core/PixelCover.h"

#include <algorithm>
#include <bit>

TPixelCover::TPixelCover(std::int64_t width, std::int64_t height)
    : Width(std::max<std::int64_t>(width, 0)), Height(std::max<std::int64_t>(height, 0)), WordsPerRow((Width + 63) / 64),
      Rows(static_cast<std::size_t>(Height)), Taken(Rows.size(), 0),
      FullWords(static_cast<std::size_t>((Height + 63) / 64 * WordsPerRow), 0)
{
}

std::size_t TPixelCover::Block(std::int64_t y, std::int64_t word) const
{
    return static_cast<std::size_t>(y / 64 * WordsPerRow + word);
}

std::int64_t TPixelCover::Take(std::int64_t y, TSpan span)
{
    const std::size_t row = static_cast<std::size_t>(y);
    const std::int64_t length = span.End - span.Begin;
    if (length <= 0)
        return 0;
    if (Taken[row] == Width)
        return length;
    std::vector<std::uint64_t> &bits = Rows[row];
    if (bits.empty())
        bits.resize(static_cast<std::size_t>(WordsPerRow));
    const std::uint64_t lastWordFull = Width % 64 ? (1ULL << (Width % 64)) - 1 : ~0ULL;
    std::int64_t before = 0;
    for (std::int64_t x = span.Begin; x < span.End;) {
        const std::int64_t word = x / 64, first = x % 64;
        const std::int64_t last = std::min<std::int64_t>(64, first + (span.End - x));
        const std::uint64_t mask = (last - first == 64 ? ~0ULL : ((1ULL << (last - first)) - 1) << first);
        std::uint64_t &slot = bits[static_cast<std::size_t>(word)];
        // Most words are wholly free or wholly taken; only the others need counting.
        const std::uint64_t taken = slot & mask;
        before += taken == 0 ? 0 : taken == mask ? last - first : std::popcount(taken);
        const std::uint64_t full = word == WordsPerRow - 1 ? lastWordFull : ~0ULL;
        if (slot != full && (slot | mask) == full)
            ++FullWords[Block(y, word)];
        slot |= mask;
        x += last - first;
    }
    Taken[row] += length - before;
    return before;
}

bool TPixelCover::Full(const TBounds &box) const
{
    for (std::int64_t blockTop = box.Top / 64 * 64; blockTop < box.Bottom; blockTop += 64) {
        const std::int64_t rows = std::min<std::int64_t>(64, Height - blockTop);
        for (std::int64_t word = box.Left / 64; word <= (box.Right - 1) / 64; ++word)
            if (FullWords[Block(blockTop, word)] != rows)
                return false;
    }
    return true;
}
