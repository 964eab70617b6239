#include "imaging/core/StreamCheck.h"

#include <algorithm>

namespace streamcheck {

namespace {

constexpr std::uint8_t kMarker = 0xFF;
constexpr std::uint8_t kStartOfImage = 0xD8;
constexpr std::uint8_t kEndOfImage = 0xD9;
constexpr std::uint8_t kStartOfScan = 0xDA;

bool IsRestartMarker(std::uint8_t code) { return code >= 0xD0 && code <= 0xD7; }

// Markers that carry no length field.
bool IsStandalone(std::uint8_t code) { return code == 0x01 || IsRestartMarker(code); }

// After a start-of-scan header comes entropy-coded data in which 0xFF is followed by 0x00 (a
// stuffed byte), a restart marker or fill bytes; any other code is the next marker.
std::size_t SkipEntropyData(std::span<const std::uint8_t> data, std::size_t pos)
{
    while (pos < data.size()) {
        const auto *found = std::find(data.data() + pos, data.data() + data.size(), kMarker);
        pos = static_cast<std::size_t>(found - data.data());
        if (pos + 1 >= data.size())
            return data.size();
        const std::uint8_t code = data[pos + 1];
        if (code != 0x00 && code != kMarker && !IsRestartMarker(code))
            return pos;
        pos += code == kMarker ? 1 : 2;
    }
    return pos;
}

} // namespace

bool JpegIsComplete(std::span<const std::uint8_t> data)
{
    if (data.size() < 4 || data[0] != kMarker || data[1] != kStartOfImage)
        return false;
    std::size_t pos = 2;
    while (pos + 1 < data.size()) {
        if (data[pos] != kMarker)
            return false;
        std::uint8_t code = data[pos + 1];
        ++pos;
        while (code == kMarker && pos + 1 < data.size())
            code = data[++pos];
        ++pos;
        if (code == kEndOfImage)
            return true;
        if (IsStandalone(code))
            continue;
        if (pos + 2 > data.size())
            return false;
        const std::size_t length = (std::size_t{data[pos]} << 8) | data[pos + 1];
        if (length < 2 || pos + length > data.size())
            return false;
        pos += length;
        if (code == kStartOfScan)
            pos = SkipEntropyData(data, pos);
    }
    return false;
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
    bool sawImage = false;
    while (pos < data.size()) {
        const std::uint8_t introducer = data[pos];
        if (introducer == 0x3B)
            return sawImage;
        if (introducer == 0x21) {
            pos = pos + 2 <= data.size() ? skipSubBlocks(pos + 2) : 0;
        } else if (introducer == 0x2C) {
            constexpr std::size_t kDescriptor = 10; // introducer, position, size, flags
            if (pos + kDescriptor > data.size())
                return false;
            pos += kDescriptor + colourTableSize(data[pos + 9]);
            pos = pos + 1 <= data.size() ? skipSubBlocks(pos + 1) : 0; // past the LZW code size
            sawImage = true;
        } else {
            return false;
        }
        if (pos == 0)
            return false;
    }
    return pos == data.size() && sawImage;
}

Size GifScreenSize(std::span<const std::uint8_t> data)
{
    if (data.size() < 10 || !std::equal(data.begin(), data.begin() + 3, "GIF"))
        return {};
    return {data[6] | (data[7] << 8), data[8] | (data[9] << 8)};
}

} // namespace streamcheck
