// Tells whether a GIF or JPEG byte stream runs to its end, so a cut-off file is not taken for a whole one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace streamcheck {

// True when the JPEG stream reaches its end-of-image marker with every segment whole.
bool JpegIsComplete(std::span<const std::uint8_t> data);

// True when every block of the GIF stream is whole and at least one image is present; a stream
// that stops at a block boundary without the trailer still counts, as many writers omit it.
bool GifIsComplete(std::span<const std::uint8_t> data);

} // namespace streamcheck
