#include "output/core/Utf8.h"

#include <cstdint>
#include <cstring>

// The length of the valid UTF-8 sequence at i, or 0 with the length of its maximal invalid part.
std::size_t Utf8SequenceAt(std::string_view bytes, std::size_t i, std::size_t &invalid)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(bytes[k]); };
    const unsigned char c = byte(i);
    invalid = 1;
    if (c < 0x80)
        return 1;
    std::size_t need = 0;
    unsigned char lower = 0x80, upper = 0xBF;
    if (c >= 0xC2 && c <= 0xDF) {
        need = 1;
    } else if (c >= 0xE0 && c <= 0xEF) {
        need = 2;
        lower = c == 0xE0 ? 0xA0 : 0x80;
        upper = c == 0xED ? 0x9F : 0xBF;
    } else if (c >= 0xF0 && c <= 0xF4) {
        need = 3;
        lower = c == 0xF0 ? 0x90 : 0x80;
        upper = c == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    for (std::size_t k = 1; k <= need; ++k) {
        if (i + k >= bytes.size() || byte(i + k) < lower || byte(i + k) > upper) {
            invalid = k;
            return 0;
        }
        lower = 0x80;
        upper = 0xBF;
    }
    return need + 1;
}

bool IsValidUtf8(std::string_view text)
{
    const auto *const begin = reinterpret_cast<const unsigned char *>(text.data());
    const auto *p = begin;
    const unsigned char *const end = p + text.size();
    while (p != end) {
        // Eight ASCII bytes at a time: most texts are mostly ASCII.
        if (end - p >= 8) {
            std::uint64_t word;
            std::memcpy(&word, p, 8);
            if (!(word & 0x8080808080808080ull)) {
                p += 8;
                continue;
            }
        }
        const unsigned char c = *p;
        if (c < 0x80) {
            ++p;
            continue;
        }
        std::size_t invalid = 0;
        const std::size_t length = Utf8SequenceAt(text, std::size_t(p - begin), invalid);
        if (length == 0)
            return false;
        p += length;
    }
    return true;
}
