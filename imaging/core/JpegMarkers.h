// Walks the marker segments of a JPEG stream the way a decoder reads them.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

namespace streamcheck::jpeg {

using Bytes = std::span<const std::uint8_t>;

inline constexpr std::size_t kNone = static_cast<std::size_t>(-1);
inline constexpr std::uint8_t kStartOfImage = 0xD8;
inline constexpr std::uint8_t kEndOfImage = 0xD9;
inline constexpr std::uint8_t kStartOfScan = 0xDA;
inline constexpr std::uint8_t kHuffmanTables = 0xC4;
inline constexpr std::uint8_t kRestartInterval = 0xDD;

inline bool IsRestart(std::uint8_t code) { return code >= 0xD0 && code <= 0xD7; }
// A start-of-frame marker: 0xC0 to 0xCF but the Huffman tables, JPG and arithmetic-conditioning codes.
inline bool IsFrame(std::uint8_t code)
{
    return code >= 0xC0 && code <= 0xCF && code != kHuffmanTables && code != 0xC8 && code != 0xCC;
}

// The position of the next marker's code byte at or after pos; kNone when the data ends first.
// Like the decoder, it passes over stray bytes, fill bytes (0xFF) and stuffed zeros (0xFF 0x00).
inline std::size_t NextMarker(Bytes data, std::size_t pos)
{
    while (pos < data.size()) {
        pos = static_cast<std::size_t>(std::find(data.begin() + static_cast<std::ptrdiff_t>(pos), data.end(), 0xFF)
                                       - data.begin());
        while (pos < data.size() && data[pos] == 0xFF)
            ++pos;
        if (pos >= data.size())
            return kNone;
        if (data[pos] != 0x00)
            return pos;
        ++pos;
    }
    return kNone;
}

// Where the entropy-coded data that starts at pos ends: the code byte of the first marker that is
// not a restart marker, or kNone when the data runs to the end.
inline std::size_t EndOfEntropyData(Bytes data, std::size_t pos)
{
    for (;;) {
        const std::size_t at = NextMarker(data, pos);
        if (at == kNone || !IsRestart(data[at]))
            return at;
        pos = at + 1;
    }
}

enum class Walk {
    Ended,  // the end-of-image marker was reached
    RanOut, // the data ended between segments or inside a scan's entropy-coded data
    Broken  // no start-of-image marker, a segment cut short, or the visitor refused a segment
};

// What a visitor returns to stop the walk as broken.
inline constexpr std::size_t kStop = kNone;

// Calls visit(code, body, end) for each segment after the start-of-image marker, where body is the
// segment without its length field and end the position after it. The visitor returns where the
// walk goes on (end, or for a scan the end of its entropy-coded data) or kStop.
template <typename Visit>
Walk WalkSegments(Bytes data, Visit &&visit)
{
    if (data.size() < 2 || data[0] != 0xFF || data[1] != kStartOfImage)
        return Walk::Broken;
    std::size_t pos = 2;
    for (;;) {
        const std::size_t at = NextMarker(data, pos);
        if (at == kNone)
            return Walk::RanOut;
        const std::uint8_t code = data[at];
        if (code == kEndOfImage)
            return Walk::Ended;
        pos = at + 1;
        if (code == 0x01 || IsRestart(code)) // markers without a length field
            continue;
        if (pos + 2 > data.size())
            return Walk::Broken;
        const std::size_t length = (std::size_t{data[pos]} << 8) | data[pos + 1];
        if (length < 2 || pos + length > data.size())
            return Walk::Broken;
        pos = visit(code, data.subspan(pos + 2, length - 2), pos + length);
        if (pos == kStop)
            return Walk::Broken;
    }
}

// The resume position for a scan whose entropy-coded data starts at pos.
inline std::size_t AfterEntropyData(Bytes data, std::size_t pos)
{
    const std::size_t end = EndOfEntropyData(data, pos);
    return end == kNone ? data.size() : end - 1;
}

} // namespace streamcheck::jpeg
