// Decodes a received quoted-printable body, as a mail reader would, for comparing with the original.
#pragma once

#include <sstream>
#include <string>

// Lines may end in CR LF or LF; with unstuffDots, the wire's doubled leading dots are undone.
inline std::string DecodeQuotedPrintable(const std::string &body, bool unstuffDots)
{
    std::istringstream in(body);
    std::string out;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (unstuffDots && !line.empty() && line[0] == '.')
            line.erase(0, 1);
        const bool soft = !line.empty() && line.back() == '=';
        if (soft)
            line.pop_back();
        for (std::size_t i = 0; i < line.size(); ++i) {
            out += line[i] == '=' ? char(std::stoi(line.substr(i + 1, 2), nullptr, 16)) : line[i];
            i += line[i] == '=' ? 2 : 0;
        }
        out += soft ? "" : "\n";
    }
    return out;
}
