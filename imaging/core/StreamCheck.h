// Looks into image byte streams before they are decoded: which format the bytes are, whether they
// hold a whole picture (a cut-off file is not taken for a whole one), how much work a JPEG's scans
// make and the size a GIF claims.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace streamcheck {

enum class Format { Unknown, Gif, Jpeg, Png, WebP, Bmp };

// The format the bytes' signature names, whatever the file is called.
Format FormatOf(std::span<const std::uint8_t> data);

// More scans than this are refused: each one makes the decoder pass over the whole picture, so a
// small file of empty scans can keep it busy for minutes. Real files have a few dozen at most.
inline constexpr std::size_t kMaxJpegScans = 500;

// Nor may the scans together code more than this many 8 x 8 blocks: sixteen scans over each of
// four components of the largest picture opened (64 megapixels). Empty scans cost the decoder about
// 4 ns a block, so this bounds them to a quarter of a second on top of the picture's own decoding;
// real progressive files code each block six to ten times.
inline constexpr std::uint64_t kMaxJpegScanBlocks = std::uint64_t{1} << 26;

struct JpegWork {
    std::size_t scans = 0;     // counted no further than kMaxJpegScans + 1
    std::uint64_t blocks = 0;  // the blocks those scans code, summed
};

// The scans of a JPEG stream and the blocks they code, by the frame's sampling factors.
JpegWork JpegScanWork(std::span<const std::uint8_t> data);

// True when the JPEG stream holds every scan of its picture whole. Stray bytes between segments
// and a missing end-of-image marker do not matter to the decoder, so they do not count here.
bool JpegIsComplete(std::span<const std::uint8_t> data);

// True when the GIF stream's header and first image, the picture shown, are whole; what follows
// that image (more frames, the trailer, stray bytes) does not count.
bool GifIsComplete(std::span<const std::uint8_t> data);

// True when a BMP holds all the pixel rows its header declares: every row of an uncompressed
// picture, or a run-length coded picture up to its end code or last row. Other compressions are
// left to the decoder.
bool BmpIsComplete(std::span<const std::uint8_t> data);

// The logical screen size a GIF declares: the size its decoder allocates whatever its frames say.
// Zero by zero when the data is too short or not a GIF.
struct Size {
    int width = 0;
    int height = 0;
};
Size GifScreenSize(std::span<const std::uint8_t> data);

} // namespace streamcheck
