#include "imaging/core/StreamCheck.h"

#include "imaging/core/JpegMarkers.h"
#include "imaging/core/JpegScans.h"

#include <algorithm>
#include <cstdlib>
#include <string_view>
#include <vector>

namespace streamcheck {

Format FormatOf(std::span<const std::uint8_t> data)
{
    auto startsWith = [data](std::size_t at, std::string_view text) {
        return data.size() >= at + text.size()
            && std::equal(text.begin(), text.end(), data.begin() + static_cast<std::ptrdiff_t>(at),
                          [](char want, std::uint8_t got) { return static_cast<std::uint8_t>(want) == got; });
    };
    if (startsWith(0, "GIF87a") || startsWith(0, "GIF89a"))
        return Format::Gif;
    if (data.size() >= 3 && data[0] == 0xFF && data[1] == jpeg::kStartOfImage && data[2] == 0xFF)
        return Format::Jpeg;
    if (startsWith(0, "\x89PNG\r\n\x1A\n"))
        return Format::Png;
    if (startsWith(0, "RIFF") && startsWith(8, "WEBP"))
        return Format::WebP;
    if (startsWith(0, "BM"))
        return Format::Bmp;
    return Format::Unknown;
}

JpegWork JpegScanWork(std::span<const std::uint8_t> data)
{
    JpegWork work;
    struct Component {
        int id;
        std::uint64_t blocks;
    };
    std::vector<Component> components;
    jpeg::WalkSegments(data, [&](std::uint8_t code, jpeg::Bytes body, std::size_t end) {
        if (jpeg::IsFrame(code) && components.empty() && body.size() >= 6) {
            // Blocks are counted over whole MCUs, as an interleaved scan codes them.
            const std::size_t count = std::min<std::size_t>(body[5], (body.size() - 6) / 3);
            int hMax = 1;
            int vMax = 1;
            for (std::size_t i = 0; i < count; ++i) {
                hMax = std::max(hMax, body[7 + 3 * i] >> 4);
                vMax = std::max(vMax, body[7 + 3 * i] & 0x0F);
            }
            const std::uint64_t height = (std::uint64_t{body[1]} << 8) | body[2];
            const std::uint64_t width = (std::uint64_t{body[3]} << 8) | body[4];
            const std::uint64_t mcus = ((width + 8 * hMax - 1) / (8 * hMax)) * ((height + 8 * vMax - 1) / (8 * vMax));
            for (std::size_t i = 0; i < count; ++i)
                components.push_back({body[6 + 3 * i], mcus * (body[7 + 3 * i] >> 4) * (body[7 + 3 * i] & 0x0F)});
            return end;
        }
        if (code != jpeg::kStartOfScan)
            return end;
        if (++work.scans > kMaxJpegScans)
            return jpeg::kStop;
        const std::size_t count = body.empty() ? 0 : std::min<std::size_t>(body[0], (body.size() - 1) / 2);
        for (std::size_t i = 0; i < count; ++i)
            for (const Component &c : components)
                if (c.id == body[1 + 2 * i])
                    work.blocks += c.blocks;
        return jpeg::AfterEntropyData(data, end);
    });
    return work;
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

bool BmpIsComplete(std::span<const std::uint8_t> data)
{
    auto u16 = [data](std::size_t at) { return std::uint32_t{data[at]} | std::uint32_t{data[at + 1]} << 8; };
    auto u32 = [&](std::size_t at) { return u16(at) | u16(at + 2) << 16; };
    constexpr std::size_t kFileHeader = 14;
    if (data.size() < kFileHeader + 4 || FormatOf(data) != Format::Bmp)
        return false;
    const std::size_t infoSize = u32(14);
    if (infoSize < 12 || data.size() < kFileHeader + infoSize)
        return false;
    // The old 12-byte header has 16-bit sizes; later ones 32-bit, negative height for top-down rows.
    const bool old = infoSize < 16;
    const std::uint64_t width = old ? u16(18) : u32(18);
    const std::int64_t height = old ? u16(20) : std::int64_t{static_cast<std::int32_t>(u32(22))};
    const auto rows = static_cast<std::uint64_t>(std::abs(height));
    const std::uint32_t bits = old ? u16(24) : u16(28);
    const std::uint32_t compression = infoSize >= 20 ? u32(30) : 0;
    std::size_t pos = u32(10);
    if (pos > data.size())
        return false;
    const std::size_t available = data.size() - pos;
    constexpr std::uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3, kAlphaBitFields = 6;
    if (compression == kRgb || compression == kBitFields || compression == kAlphaBitFields) {
        const std::uint64_t stride = (width * bits + 31) / 32 * 4;
        return stride == 0 || rows <= available / stride;
    }
    if (compression != kRle8 && compression != kRle4)
        return true;
    // Pairs: a run (count, value), or an escape: end of row, end of picture, a jump, literal pixels.
    std::uint64_t rowsEnded = 0;
    while (pos + 2 <= data.size()) {
        const std::uint8_t count = data[pos];
        const std::uint8_t code = data[pos + 1];
        pos += 2;
        if (count > 0)
            continue;
        if (code == 0 && ++rowsEnded >= rows)
            return true;
        if (code == 1)
            return true;
        if (code == 2)
            pos += 2;
        else if (code > 2)
            pos += ((compression == kRle8 ? code : (code + 1) / 2) + 1) & ~std::size_t{1};
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
