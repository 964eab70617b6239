#include "output/core/ReplaceAll.h"

#include <array>
#include <cstddef>
#include <cstring>

namespace {

// Longer case-sensitive patterns are searched with Boyer-Moore-Horspool; below this length the
// skip table costs more than it saves.
constexpr std::size_t HorspoolMinLength = 9;

// Only ASCII letters are folded: bytes of multi-byte characters stay untouched, so a match can
// never start or end inside one.
std::string AsciiLower(std::string_view text)
{
    std::string lower(text);
    for (char &c : lower) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return lower;
}

// Boyer-Moore-Horspool: one skip distance per byte value, taken from the text byte under the
// pattern's last position.
class THorspoolSearcher {
public:
    explicit THorspoolSearcher(std::string_view pattern) : Pattern(pattern)
    {
        Skip.fill(pattern.size());
        for (std::size_t i = 0; i + 1 < pattern.size(); ++i)
            Skip[static_cast<unsigned char>(pattern[i])] = pattern.size() - 1 - i;
    }

    std::size_t Find(std::string_view text, std::size_t from) const
    {
        const std::size_t m = Pattern.size();
        if (text.size() < m)
            return std::string_view::npos;
        const char *base = text.data();
        const char last = Pattern[m - 1];
        const std::size_t end = text.size() - m;
        std::size_t pos = from;
        while (pos <= end) {
            const char tail = base[pos + m - 1];
            if (tail == last && std::memcmp(base + pos, Pattern.data(), m - 1) == 0)
                return pos;
            pos += Skip[static_cast<unsigned char>(tail)];
        }
        return std::string_view::npos;
    }

private:
    std::string_view Pattern;
    std::array<std::size_t, 256> Skip{};
};

// Copies text into a new string with every match the search function reports replaced.
template <typename Search>
std::string ReplaceMatches(std::string_view text, std::size_t findLength, std::string_view replacement,
                           Search search)
{
    std::size_t pos = search(0);
    if (pos == std::string_view::npos)
        return std::string(text);
    std::string result;
    // Enough for an equal or shorter replacement; longer ones grow geometrically as usual.
    result.reserve(text.size() + (replacement.size() > findLength ? replacement.size() - findLength : 0));
    std::size_t copied = 0;
    while (pos != std::string_view::npos) {
        result.append(text, copied, pos - copied);
        result.append(replacement);
        copied = pos + findLength;
        pos = search(copied);
    }
    result.append(text, copied);
    return result;
}

} // namespace

std::string ReplaceAll(std::string_view text, std::string_view find, std::string_view replacement,
                       bool caseSensitive)
{
    if (text.empty() || find.empty())
        return std::string(text);
    if (!caseSensitive) {
        const std::string lowerText = AsciiLower(text);
        const std::string lowerFind = AsciiLower(find);
        const std::string_view haystack(lowerText);
        return ReplaceMatches(text, find.size(), replacement,
                              [&](std::size_t from) { return haystack.find(lowerFind, from); });
    }
    if (find.size() < HorspoolMinLength)
        return ReplaceMatches(text, find.size(), replacement,
                              [&](std::size_t from) { return text.find(find, from); });
    const THorspoolSearcher searcher(find);
    return ReplaceMatches(text, find.size(), replacement,
                          [&](std::size_t from) { return searcher.Find(text, from); });
}
