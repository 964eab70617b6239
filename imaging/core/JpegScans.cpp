#include "imaging/core/JpegScans.h"

#include "imaging/core/JpegMarkers.h"
#include "imaging/core/StreamCheck.h"

#include <algorithm>
#include <array>
#include <bit>
#include <optional>
#include <vector>

namespace streamcheck {

namespace {

using jpeg::Bytes;

constexpr std::size_t kMaxBlocks = std::size_t{1} << 22;
constexpr int kMaxComponents = 4;
constexpr int kLookBits = 8;

// Reads the bits of entropy-coded data, taking 0xFF 0x00 as 0xFF and stopping at any marker.
class BitReader {
public:
    BitReader(Bytes data, std::size_t pos) : data_(data), pos_(pos) {}

    // Buffers at least n (at most 32) bits; false when a marker or the end of the data comes first.
    bool Fill(int n)
    {
        while (count_ < n) {
            if (pos_ >= data_.size())
                return false;
            std::uint8_t byte = data_[pos_];
            std::size_t next = pos_ + 1;
            if (byte == 0xFF) {
                while (next < data_.size() && data_[next] == 0xFF)
                    ++next;
                if (next >= data_.size() || data_[next] != 0x00)
                    return false;
                ++next;
            }
            pos_ = next;
            buffer_ = (buffer_ << 8) | byte;
            count_ += 8;
        }
        return true;
    }
    unsigned Peek(int n) const { return static_cast<unsigned>(buffer_ >> (count_ - n)) & ((1u << n) - 1); }
    void Skip(int n) { count_ -= n; }
    // Takes n bits (at most 16); nothing when the data ends first.
    std::optional<unsigned> Get(int n)
    {
        if (!Fill(n))
            return std::nullopt;
        const unsigned bits = Peek(n);
        Skip(n);
        return bits;
    }
    bool SkipBits(int n)
    {
        for (; n > 0; n -= 16)
            if (!Get(std::min(n, 16)))
                return false;
        return true;
    }
    // A restart marker follows the padding of the last byte: drops the buffered bits and takes the
    // marker, which must be the expected one.
    bool Restart(int number)
    {
        const std::size_t at = jpeg::NextMarker(data_, pos_);
        if (at == jpeg::kNone || data_[at] != 0xD0 + (number & 7))
            return false;
        pos_ = at + 1;
        buffer_ = 0;
        count_ = 0;
        return true;
    }
    std::size_t Position() const { return pos_; }

private:
    Bytes data_;
    std::size_t pos_;
    std::uint64_t buffer_ = 0;
    int count_ = 0;
};

// A Huffman table in the canonical form a decoder builds from the DHT segment.
struct HuffmanTable {
    bool defined = false;
    std::array<int, 17> maxCode{};  // largest code of each length, -1 when none
    std::array<int, 17> minCode{};
    std::array<int, 17> firstValue{}; // index into values of the first code of each length
    std::array<std::uint8_t, 256> values{};
    int valueCount = 0;
    std::array<std::uint8_t, 1 << kLookBits> lookLength{}; // 0: the code is longer than kLookBits
    std::array<std::uint8_t, 1 << kLookBits> lookValue{};

    // Builds the table from 16 code counts and their values; false for a table no decoder accepts.
    bool Define(Bytes counts, Bytes symbols)
    {
        *this = HuffmanTable{};
        int code = 0;
        int index = 0;
        for (int length = 1; length <= 16; ++length) {
            const int count = counts[static_cast<std::size_t>(length - 1)];
            maxCode[length] = -1;
            if (code + count >= 1 << length) // codes must fit, and a code of all ones is not allowed
                return false;
            if (count > 0) {
                minCode[length] = code;
                firstValue[length] = index;
                for (int i = 0; i < count; ++i, ++code, ++index) {
                    values[static_cast<std::size_t>(index)] = symbols[static_cast<std::size_t>(index)];
                    if (length <= kLookBits)
                        for (int low = 0; low < 1 << (kLookBits - length); ++low) {
                            const auto look = static_cast<std::size_t>((code << (kLookBits - length)) | low);
                            lookLength[look] = static_cast<std::uint8_t>(length);
                            lookValue[look] = symbols[static_cast<std::size_t>(index)];
                        }
                }
                maxCode[length] = code - 1;
            }
            code <<= 1;
        }
        valueCount = index;
        defined = true;
        return true;
    }

    // The next symbol, or nothing when the data ends first or holds no valid code.
    std::optional<int> Decode(BitReader &bits) const
    {
        if (bits.Fill(kLookBits)) {
            const unsigned look = bits.Peek(kLookBits);
            if (lookLength[look] != 0) {
                bits.Skip(lookLength[look]);
                return lookValue[look];
            }
        }
        int code = 0;
        for (int length = 1; length <= 16; ++length) {
            const std::optional<unsigned> bit = bits.Get(1);
            if (!bit)
                return std::nullopt;
            code = (code << 1) | static_cast<int>(*bit);
            if (code <= maxCode[length])
                return values[static_cast<std::size_t>(firstValue[length] + code - minCode[length])];
        }
        return std::nullopt;
    }

    // DC differences are at most 15 bits long; the decoder refuses tables that claim more.
    bool FitsDc() const
    {
        return std::all_of(values.begin(), values.begin() + valueCount, [](std::uint8_t v) { return v <= 15; });
    }
};

struct Component {
    int id = 0;
    int h = 1;
    int v = 1;
    std::size_t blocksWide = 0;
    std::size_t blocksHigh = 0;
    std::vector<std::uint64_t> nonZero; // per block, a bit for each coefficient (zigzag order)
    std::array<int, 64> lastBit{};      // the lowest bit sent of each coefficient, -1 while none
};

struct ScanPart {
    Component *component = nullptr;
    const HuffmanTable *dc = nullptr;
    const HuffmanTable *ac = nullptr;
};

std::uint64_t Band(int from, int to) // coefficients from..to inclusive, 0 <= from <= to <= 63
{
    const std::uint64_t upTo = to == 63 ? ~std::uint64_t{0} : (std::uint64_t{1} << (to + 1)) - 1;
    return upTo & ~((std::uint64_t{1} << from) - 1);
}

std::uint64_t Coefficient(int k) { return std::uint64_t{1} << std::min(k, 63); }

// The decoder state of one frame as segments arrive.
class ScanWalker {
public:
    explicit ScanWalker(Bytes data) : data_(data) {}

    std::size_t Segment(std::uint8_t code, Bytes body, std::size_t end)
    {
        if (code == jpeg::kStartOfScan)
            return Scan(body, end);
        bool ok = true;
        if (code == jpeg::kHuffmanTables) {
            ok = DefineTables(body);
        } else if (code == jpeg::kRestartInterval) {
            ok = body.size() == 2;
            restartInterval_ = ok ? (std::size_t{body[0]} << 8) | body[1] : 0;
        } else if (jpeg::IsFrame(code)) {
            ok = Frame(code, body);
        }
        return ok ? end : jpeg::kStop;
    }

    // Every coefficient of every component sent to its last bit.
    bool Whole() const
    {
        return !components_.empty() && std::all_of(components_.begin(), components_.end(), [](const Component &c) {
            return std::all_of(c.lastBit.begin(), c.lastBit.end(), [](int bit) { return bit == 0; });
        });
    }

private:
    bool DefineTables(Bytes body)
    {
        std::size_t pos = 0;
        while (pos < body.size()) {
            const int kind = body[pos] >> 4;
            const int slot = body[pos] & 0x0F;
            if (kind > 1 || slot > 3 || pos + 17 > body.size())
                return false;
            const Bytes counts = body.subspan(pos + 1, 16);
            std::size_t total = 0;
            for (const std::uint8_t count : counts)
                total += count;
            if (total > 256 || pos + 17 + total > body.size())
                return false;
            if (!tables_[static_cast<std::size_t>(kind)][static_cast<std::size_t>(slot)].Define(
                    counts, body.subspan(pos + 17, total)))
                return false;
            pos += 17 + total;
        }
        return true;
    }

    bool Frame(std::uint8_t code, Bytes body)
    {
        // Baseline, extended and progressive Huffman frames only.
        if (!components_.empty() || (code != 0xC0 && code != 0xC1 && code != 0xC2) || body.size() < 6)
            return false;
        progressive_ = code == 0xC2;
        const std::size_t height = (std::size_t{body[1]} << 8) | body[2];
        const std::size_t width = (std::size_t{body[3]} << 8) | body[4];
        const int count = body[5];
        if (width == 0 || height == 0 || count < 1 || count > kMaxComponents
            || body.size() != 6 + 3 * static_cast<std::size_t>(count))
            return false;
        components_.resize(static_cast<std::size_t>(count));
        int hMax = 1;
        int vMax = 1;
        for (std::size_t i = 0; i < components_.size(); ++i) {
            Component &c = components_[i];
            c.id = body[6 + 3 * i];
            c.h = body[7 + 3 * i] >> 4;
            c.v = body[7 + 3 * i] & 0x0F;
            c.lastBit.fill(-1);
            if (c.h < 1 || c.h > 4 || c.v < 1 || c.v > 4)
                return false;
            hMax = std::max(hMax, c.h);
            vMax = std::max(vMax, c.v);
        }
        mcusWide_ = (width + 8 * static_cast<std::size_t>(hMax) - 1) / (8 * static_cast<std::size_t>(hMax));
        mcusHigh_ = (height + 8 * static_cast<std::size_t>(vMax) - 1) / (8 * static_cast<std::size_t>(vMax));
        std::size_t blocks = 0;
        for (Component &c : components_) {
            const std::size_t across = (width * static_cast<std::size_t>(c.h) + static_cast<std::size_t>(hMax) - 1)
                                       / static_cast<std::size_t>(hMax);
            const std::size_t down = (height * static_cast<std::size_t>(c.v) + static_cast<std::size_t>(vMax) - 1)
                                     / static_cast<std::size_t>(vMax);
            c.blocksWide = (across + 7) / 8;
            c.blocksHigh = (down + 7) / 8;
            blocks += mcusWide_ * mcusHigh_ * static_cast<std::size_t>(c.h * c.v);
        }
        return blocks <= kMaxBlocks;
    }

    std::size_t Scan(Bytes body, std::size_t end)
    {
        if (components_.empty() || body.empty() || ++scans_ > kMaxJpegScans)
            return jpeg::kStop;
        const std::size_t count = body[0];
        if (count < 1 || count > components_.size() || body.size() != 4 + 2 * count)
            return jpeg::kStop;
        std::vector<ScanPart> parts;
        for (std::size_t i = 0; i < count; ++i) {
            const int id = body[1 + 2 * i];
            const auto found = std::find_if(components_.begin(), components_.end(),
                                            [id](const Component &c) { return c.id == id; });
            const std::size_t dc = body[2 + 2 * i] >> 4;
            const std::size_t ac = body[2 + 2 * i] & 0x0F;
            if (found == components_.end() || dc > 3 || ac > 3)
                return jpeg::kStop;
            parts.push_back({&*found, &tables_[0][dc], &tables_[1][ac]});
        }
        ss_ = body[1 + 2 * count];
        se_ = body[2 + 2 * count];
        ah_ = body[3 + 2 * count] >> 4;
        al_ = body[3 + 2 * count] & 0x0F;
        if (!Accept(parts))
            return jpeg::kStop;
        const std::optional<std::size_t> after = DecodeBlocks(parts, end);
        return after ? jpeg::AfterEntropyData(data_, *after) : jpeg::kStop;
    }

    // Checks the scan's parameters and tables as the decoder does, and notes what the scan sends.
    bool Accept(std::vector<ScanPart> &parts)
    {
        const bool dcScan = !progressive_ || ss_ == 0;
        const bool acScan = !progressive_ || ss_ > 0;
        if (progressive_) {
            const bool bandOk = ss_ == 0 ? se_ == 0 : (ss_ <= se_ && se_ <= 63 && parts.size() == 1);
            if (!bandOk || al_ > 13 || (ah_ != 0 && ah_ != al_ + 1))
                return false;
        }
        for (ScanPart &part : parts) {
            const bool needsDc = dcScan && (!progressive_ || ah_ == 0);
            if ((needsDc && (!part.dc->defined || !part.dc->FitsDc())) || (acScan && !part.ac->defined))
                return false;
            Component &c = *part.component;
            if (!progressive_) {
                c.lastBit.fill(0);
                continue;
            }
            for (int k = ss_; k <= se_; ++k)
                c.lastBit[static_cast<std::size_t>(k)] = al_;
            if (acScan && c.nonZero.empty())
                c.nonZero.assign(c.blocksWide * c.blocksHigh, 0);
        }
        return true;
    }

    // Decodes every block of the scan; the position after its coded data, or nothing when the data
    // is cut short or damaged.
    std::optional<std::size_t> DecodeBlocks(const std::vector<ScanPart> &parts, std::size_t pos)
    {
        BitReader bits(data_, pos);
        eobRun_ = 0;
        const bool interleaved = parts.size() > 1;
        const Component &only = *parts.front().component;
        const std::size_t across = interleaved ? mcusWide_ : only.blocksWide;
        const std::size_t total = across * (interleaved ? mcusHigh_ : only.blocksHigh);
        int restarts = 0;
        for (std::size_t mcu = 0; mcu < total; ++mcu) {
            if (restartInterval_ > 0 && mcu > 0 && mcu % restartInterval_ == 0) {
                if (!bits.Restart(restarts++))
                    return std::nullopt;
                eobRun_ = 0;
            }
            for (const ScanPart &part : parts) {
                const int blocks = interleaved ? part.component->h * part.component->v : 1;
                for (int b = 0; b < blocks; ++b)
                    if (!Block(bits, part, interleaved ? 0 : mcu))
                        return std::nullopt;
            }
        }
        return bits.Position();
    }

    bool Block(BitReader &bits, const ScanPart &part, std::size_t index)
    {
        if (!progressive_)
            return SequentialBlock(bits, part);
        if (ss_ == 0)
            return ah_ == 0 ? DcFirst(bits, *part.dc) : bits.SkipBits(1);
        std::uint64_t &nonZero = part.component->nonZero[index];
        return ah_ == 0 ? AcFirst(bits, *part.ac, nonZero) : AcRefine(bits, *part.ac, nonZero);
    }

    static bool DcFirst(BitReader &bits, const HuffmanTable &dc)
    {
        const std::optional<int> size = dc.Decode(bits);
        return size && bits.SkipBits(*size);
    }

    static bool SequentialBlock(BitReader &bits, const ScanPart &part)
    {
        if (!DcFirst(bits, *part.dc))
            return false;
        for (int k = 1; k < 64; ++k) {
            const std::optional<int> symbol = part.ac->Decode(bits);
            if (!symbol)
                return false;
            const int run = *symbol >> 4;
            const int size = *symbol & 0x0F;
            if (size == 0 && run != 15)
                break;
            k += run;
            if (!bits.SkipBits(size))
                return false;
        }
        return true;
    }

    // The length of an end-of-band run: 2^run plus run more bits.
    bool ReadEobRun(BitReader &bits, int run)
    {
        const std::optional<unsigned> extra = bits.Get(run);
        eobRun_ = (1u << run) + extra.value_or(0);
        return extra.has_value();
    }

    bool AcFirst(BitReader &bits, const HuffmanTable &ac, std::uint64_t &nonZero)
    {
        if (eobRun_ > 0) {
            --eobRun_;
            return true;
        }
        for (int k = ss_; k <= se_; ++k) {
            const std::optional<int> symbol = ac.Decode(bits);
            if (!symbol)
                return false;
            const int run = *symbol >> 4;
            const int size = *symbol & 0x0F;
            if (size != 0) {
                k += run;
                if (!bits.SkipBits(size))
                    return false;
                nonZero |= Coefficient(k);
            } else if (run == 15) {
                k += 15;
            } else {
                if (!ReadEobRun(bits, run))
                    return false;
                --eobRun_;
                break;
            }
        }
        return true;
    }

    // A refinement pass sends a correction bit for each coefficient already nonzero that it passes.
    bool AcRefine(BitReader &bits, const HuffmanTable &ac, std::uint64_t &nonZero)
    {
        int k = ss_;
        if (eobRun_ == 0) {
            for (; k <= se_; ++k) {
                const std::optional<int> symbol = ac.Decode(bits);
                if (!symbol)
                    return false;
                int run = *symbol >> 4;
                const int size = *symbol & 0x0F;
                if (size > 1)
                    return false;
                if (size == 1 && !bits.SkipBits(1))
                    return false;
                if (size == 0 && run != 15) {
                    if (!ReadEobRun(bits, run))
                        return false;
                    break;
                }
                for (; k <= se_; ++k) {
                    if (nonZero & Coefficient(k)) {
                        if (!bits.SkipBits(1))
                            return false;
                    } else if (--run < 0) {
                        break;
                    }
                }
                if (size == 1)
                    nonZero |= Coefficient(k);
            }
        }
        if (eobRun_ > 0) {
            if (k <= se_ && !bits.SkipBits(std::popcount(nonZero & Band(k, se_))))
                return false;
            --eobRun_;
        }
        return true;
    }

    Bytes data_;
    std::array<std::array<HuffmanTable, 4>, 2> tables_{}; // DC, AC
    std::vector<Component> components_;
    bool progressive_ = false;
    std::size_t mcusWide_ = 0;
    std::size_t mcusHigh_ = 0;
    std::size_t restartInterval_ = 0;
    std::size_t scans_ = 0;
    int ss_ = 0;
    int se_ = 0;
    int ah_ = 0;
    int al_ = 0;
    unsigned eobRun_ = 0;
};

} // namespace

bool JpegScansAreWhole(std::span<const std::uint8_t> data)
{
    ScanWalker walker(data);
    const jpeg::Walk walk = jpeg::WalkSegments(
        data, [&](std::uint8_t code, Bytes body, std::size_t end) { return walker.Segment(code, body, end); });
    return walk != jpeg::Walk::Broken && walker.Whole();
}

} // namespace streamcheck
