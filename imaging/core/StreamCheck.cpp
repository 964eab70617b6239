#include "imaging/core/StreamCheck.h"

#include "imaging/core/JpegMarkers.h"
#include "imaging/core/JpegScans.h"

#include <algorithm>

namespace streamcheck {

Format FormatOf(std::span<const std::uint8_t> data)
{
    if (data.size() >= 6 && std::equal(data.begin(), data.begin() + 4, "GIF8") && (data[4] == '7' || data[4] == '9')
        && data[5] == 'a')
        return Format::Gif;
    if (data.size() >= 3 && data[0] == 0xFF && data[1] == jpeg::kStartOfImage && data[2] == 0xFF)
        return Format::Jpeg;
    return Format::Unknown;
}

std::size_t JpegScanCount(std::span<const std::uint8_t> data)
{
    std::size_t scans = 0;
    jpeg::WalkSegments(data, [&](std::uint8_t code, jpeg::Bytes, std::size_t end) {
        if (code != jpeg::kStartOfScan)
            return end;
        return ++scans > kMaxJpegScans ? jpeg::kStop : jpeg::AfterEntropyData(data, end);
    });
    return scans;
}

bool JpegIsComplete(std::span<const std::uint8_t> data)
{
    const jpeg::Walk walk = jpeg::WalkSegments(data, [&](std::uint8_t code, jpeg::Bytes, std::size_t end) {
        return code == jpeg::kStartOfScan ? jpeg::AfterEntropyData(data, end) : end;
    });
    // Without the end marker only the coded data tells a whole last scan from a cut one; the
    // slower look is needed only then.
    return walk == jpeg::Walk::Ended || (walk == jpeg::Walk::RanOut && JpegScansAreWhole(data));
}

bool GifIsComplete(std::span<const std::uint8_t> data)
{
    constexpr std::size_t kHeader = 13; // signature, version, logical screen descriptor
    if (data.size() < kHeader || !std::equal(data.begin(), data.begin() + 3, "GIF"))
        return false;
    auto colourTableSize = [](std::uint8_t flags) {
        return (flags & 0x80) ? std::size_t{3} << ((flags & 0x07) + 1) : std::size_t{0};
    };
    // Sub-blocks end with a zero length byte; returns the position after it, or 0 when cut off.
    auto skipSubBlocks = [&](std::size_t pos) -> std::size_t {
        while (pos < data.size()) {
            const std::size_t length = data[pos];
            ++pos;
            if (length == 0)
                return pos;
            pos += length;
        }
        return 0;
    };

    std::size_t pos = kHeader + colourTableSize(data[10]);
    while (pos < data.size()) {
        const std::uint8_t introducer = data[pos];
        if (introducer == 0x21) {
            pos = pos + 2 <= data.size() ? skipSubBlocks(pos + 2) : 0;
        } else if (introducer == 0x2C) {
            constexpr std::size_t kDescriptor = 10; // introducer, position, size, flags
            if (pos + kDescriptor > data.size())
                return false;
            pos += kDescriptor + colourTableSize(data[pos + 9]);
            return pos + 1 <= data.size() && skipSubBlocks(pos + 1) != 0; // past the LZW code size
        } else {
            return false; // the trailer or damage before any image
        }
        if (pos == 0)
            return false;
    }
    return false;
}

Size GifScreenSize(std::span<const std::uint8_t> data)
{
    if (data.size() < 10 || !std::equal(data.begin(), data.begin() + 3, "GIF"))
        return {};
    return {data[6] | (data[7] << 8), data[8] | (data[9] << 8)};
}

} // namespace streamcheck
