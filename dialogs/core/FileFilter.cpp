#include "dialogs/core/FileFilter.h"

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

} // namespace filefilter
