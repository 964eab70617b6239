// Looks into GIF and JPEG byte streams: whether they run to their end (a cut-off file is not taken for
// a whole one) and the size a GIF claims before anything is decoded.
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

// The logical screen size a GIF declares: the size its decoder allocates whatever its frames say.
// Zero by zero when the data is too short or not a GIF.
struct Size {
    int width = 0;
    int height = 0;
};
Size GifScreenSize(std::span<const std::uint8_t> data);

} // namespace streamcheck
