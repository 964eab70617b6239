#include "dialogs/core/FileFilter.h"

#include <algorithm>
#include <vector>

namespace filefilter {

namespace {
std::vector<std::string> Split(const std::string &text, char sep)
{
    std::vector<std::string> parts;
    std::string::size_type start = 0;
    for (;;) {
        const auto at = text.find(sep, start);
        parts.push_back(text.substr(start, at == std::string::npos ? std::string::npos : at - start));
        if (at == std::string::npos)
            return parts;
        start = at + 1;
    }
}

bool SameIgnoringCase(const std::string &a, const std::string &b)
{
    const auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c; };
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [&](unsigned char x, unsigned char y) { return lower(x) == lower(y); });
}
} // namespace

std::string ToQtFilter(const std::string &filter)
{
    if (filter.empty())
        return {};
    const auto parts = Split(filter, '|');
    std::string out;
    for (std::size_t i = 0; i + 1 < parts.size(); i += 2) {
        // The name stays whole, "Image Files (*.GIF, *.JPG)" included: the dialog shows only the
        // name and takes the patterns from the group Qt finds last. "*.*" means every file here,
        // also those without a dot.
        std::string patterns;
        for (const auto &p : Split(parts[i + 1], ';'))
            patterns += (patterns.empty() ? "" : " ") + (p == "*.*" ? std::string("*") : p);
        out += (out.empty() ? "" : ";;") + parts[i] + " (" + patterns + ")";
    }
    return out;
}

std::string DefaultSuffix(const std::string &filter, const std::string &extension)
{
    const auto parts = Split(filter, '|');
    for (std::size_t i = 1; i < parts.size(); i += 2)
        for (const auto &pattern : Split(parts[i], ';'))
            if (pattern.starts_with("*.") && SameIgnoringCase(pattern.substr(2), extension))
                return pattern.substr(2);
    return extension;
}

} // namespace filefilter
