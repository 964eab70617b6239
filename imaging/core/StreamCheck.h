// Looks into GIF and JPEG byte streams before they are decoded: which format the bytes are, whether
// they hold a whole picture (a cut-off file is not taken for a whole one), how many scans a JPEG
// has and the size a GIF claims.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace streamcheck {

enum class Format { Unknown, Gif, Jpeg };

// The format the bytes' signature names, whatever the file is called.
Format FormatOf(std::span<const std::uint8_t> data);

// More scans than this are refused: each one makes the decoder pass over the whole picture, so a
// small file of empty scans can keep it busy for minutes. Real files have a few dozen at most.
inline constexpr std::size_t kMaxJpegScans = 500;

// The number of scans in a JPEG stream, counted no further than kMaxJpegScans + 1.
std::size_t JpegScanCount(std::span<const std::uint8_t> data);

// True when the JPEG stream holds every scan of its picture whole. Stray bytes between segments
// and a missing end-of-image marker do not matter to the decoder, so they do not count here.
bool JpegIsComplete(std::span<const std::uint8_t> data);

// True when the GIF stream's header and first image, the picture shown, are whole; what follows
// that image (more frames, the trailer, stray bytes) does not count.
bool GifIsComplete(std::span<const std::uint8_t> data);

// The logical screen size a GIF declares: the size its decoder allocates whatever its frames say.
// Zero by zero when the data is too short or not a GIF.
struct Size {
    int width = 0;
    int height = 0;
};
Size GifScreenSize(std::span<const std::uint8_t> data);

} // namespace streamcheck
