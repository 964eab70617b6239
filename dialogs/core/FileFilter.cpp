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
        // A name that already shows its patterns, like "Gif Files (*.GIF)", must not be
        // followed by a second list: Qt takes the last parenthesised group as the patterns.
        std::string patterns;
        for (const auto &p : Split(parts[i + 1], ';'))
            patterns += (patterns.empty() ? "" : " ") + p;
        std::string name = parts[i];
        const auto open = name.rfind('(');
        if (open != std::string::npos && name.back() == ')')
            name = name.substr(0, open) + "(" + patterns + ")";
        else
            name += " (" + patterns + ")";
        out += (out.empty() ? "" : ";;") + name;
    }
    return out;
}

} // namespace filefilter
