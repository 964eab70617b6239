#include "output/core/IniValue.h"

#include "output/core/StrToInt.h"

#include <cstdint>
#include <vector>

namespace ini {

namespace {

void AppendUtf8(std::string &out, std::uint32_t code)
{
    if (code >= 0xD800 && code <= 0xDFFF)
        code = 0xFFFD; // a lone surrogate is no character
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// The number of the hex digits at text[from, from + count), or none when one is no hex digit.
std::optional<std::uint32_t> HexNumber(std::string_view text, std::size_t from, std::size_t count)
{
    if (from + count > text.size())
        return std::nullopt;
    std::uint32_t value = 0;
    for (std::size_t i = from; i < from + count; ++i) {
        const int digit = HexDigitValue(text[i]);
        if (digit < 0)
            return std::nullopt;
        value = value * 16 + static_cast<std::uint32_t>(digit);
    }
    return value;
}

// Keys and group names: "%XX" and "%UXXXX" stand for characters, "\" separates levels.
std::string UnescapeKey(std::string_view key)
{
    std::string out;
    for (std::size_t i = 0; i < key.size(); ++i) {
        const char c = key[i];
        if (c == '\\') {
            out += '/';
        } else if (const auto wide = c == '%' && i + 1 < key.size() && key[i + 1] == 'U' ? HexNumber(key, i + 2, 4)
                                                                                        : std::nullopt) {
            AppendUtf8(out, *wide);
            i += 5;
        } else if (const auto narrow = c == '%' ? HexNumber(key, i + 1, 2) : std::nullopt) {
            AppendUtf8(out, *narrow);
            i += 2;
        } else {
            out += c;
        }
    }
    return out;
}

std::string_view Trim(std::string_view s)
{
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

// Unquotes and unescapes a value as one text: blanks outside quotes are trimmed at both ends.
std::string UnescapeValue(std::string_view raw)
{
    raw = Trim(raw);
    std::string out;
    std::size_t keep = 0; // text up to here survives the trailing trim
    bool quoted = false;
    for (std::size_t i = 0; i < raw.size(); ++i) {
        const char c = raw[i];
        if (c == '"') {
            quoted = !quoted;
            keep = out.size();
            continue;
        }
        if (c == '\\' && i + 1 < raw.size()) {
            const char e = raw[++i];
            switch (e) {
            case 'a': out += '\a'; break;
            case 'b': out += '\b'; break;
            case 'f': out += '\f'; break;
            case 'n': out += '\n'; break;
            case 'r': out += '\r'; break;
            case 't': out += '\t'; break;
            case 'v': out += '\v'; break;
            case 'x': {
                std::uint32_t code = 0;
                int digits = 0;
                while (i + 1 < raw.size() && digits < 4 && HexDigitValue(raw[i + 1]) >= 0) {
                    code = code * 16 + static_cast<std::uint32_t>(HexDigitValue(raw[++i]));
                    ++digits;
                }
                AppendUtf8(out, code);
                break;
            }
            default:
                if (e >= '0' && e <= '7') {
                    std::uint32_t code = static_cast<std::uint32_t>(e - '0');
                    for (int digits = 1; digits < 3 && i + 1 < raw.size() && raw[i + 1] >= '0' && raw[i + 1] <= '7';
                         ++digits)
                        code = code * 8 + static_cast<std::uint32_t>(raw[++i] - '0');
                    AppendUtf8(out, code);
                } else {
                    out += e; // \" \' \? \\ \; \, and any other stand for themselves
                }
                break;
            }
            keep = out.size();
            continue;
        }
        out += c;
        if (quoted || (c != ' ' && c != '\t'))
            keep = out.size();
    }
    out.resize(keep);
    return out;
}

// The file's logical lines: CR LF or LF ends a line, a "\" at the end carries it on.
std::vector<std::string> LogicalLines(std::string_view text)
{
    std::vector<std::string> lines;
    std::string current;
    std::size_t start = 0;
    while (start <= text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        std::string_view line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.remove_suffix(1);
        if (!line.empty() && line.back() == '\\' && end < text.size()) {
            current.append(line.substr(0, line.size() - 1));
        } else {
            current.append(line);
            lines.push_back(std::move(current));
            current.clear();
        }
        start = end + 1;
    }
    return lines;
}

} // namespace

std::optional<std::string> Value(std::string_view text, std::string_view group, std::string_view key)
{
    std::optional<std::string> found;
    std::string currentGroup;
    for (const std::string &full : LogicalLines(text)) {
        const std::string_view line = Trim(full);
        if (line.empty() || line.front() == ';' || line.front() == '#')
            continue;
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            currentGroup = close == std::string_view::npos ? std::string() : UnescapeKey(line.substr(1, close - 1));
            if (currentGroup == "General")
                currentGroup.clear();
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos)
            continue;
        if (currentGroup != group || UnescapeKey(Trim(line.substr(0, equals))) != key)
            continue;
        std::string value = UnescapeValue(line.substr(equals + 1));
        if (value.starts_with("@@"))
            found = value.substr(1);
        else if (value.starts_with('@'))
            found.reset(); // a typed value, not a text
        else
            found = std::move(value);
    }
    return found;
}

} // namespace ini
