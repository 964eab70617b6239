#include "output/core/MapExtension.h"

#include "output/core/Shorten.h"
#include "output/core/TextSink.h"
#include "output/core/Utf8.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <stdexcept>

namespace {

constexpr std::string_view Magic = "Mapolin";
constexpr std::string_view Header = "Mapolin extension ";
constexpr std::string_view Version = "1";
constexpr std::string_view KindKeys[] = {"rect", "circle", "poly"};
constexpr std::string_view KindWords[] = {"rectangle", "circle", "polygon"};
constexpr std::string_view FieldKeys[] = {"alt", "title"};

struct TOptionKey {
    std::string_view Key;
    std::string TMapOptions::*Member;
};
constexpr TOptionKey OptionKeys[] = {{"map.name", &TMapOptions::Name},     {"map.align", &TMapOptions::Align},
                                     {"map.alt", &TMapOptions::Alt},       {"map.border", &TMapOptions::Border},
                                     {"map.vspace", &TMapOptions::VSpace}, {"map.hspace", &TMapOptions::HSpace}};

bool IsKeyChar(char c) { return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '.' || c == '_' || c == '-'; }

bool IsDigits(std::string_view text)
{
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string Quoted(std::string_view key) { return "'" + Shortened(key) + "'"; }

// Reads the block line by line; each step either moves on or records the damage and stops.
class TBlockParser {
public:
    TBlockParser(std::string_view file, std::size_t start) : File(file), At(start) {}

    TMapExtension Parse()
    {
        if (HeaderLine())
            while (EntryLine()) {
            }
        for (std::vector<TExtensionEntry> &entries : Result.Entries)
            if (!std::is_sorted(entries.begin(), entries.end(), ByIndex))
                std::stable_sort(entries.begin(), entries.end(), ByIndex);
        return std::move(Result);
    }

private:
    static bool ByIndex(const TExtensionEntry &a, const TExtensionEntry &b) { return a.Index < b.Index; }

    bool Fail(std::size_t offset, std::string what)
    {
        Result.Damage = TExtensionDamage{offset, std::move(what)};
        return false;
    }

    bool CutShort(std::size_t offset) { return Fail(offset, "it is cut short"); }

    // A CR, and a LF right after it, as the classic lines end.
    bool LineEnd()
    {
        if (At == File.size() || File[At] != '\r')
            return false;
        ++At;
        if (At < File.size() && File[At] == '\n')
            ++At;
        return true;
    }

    bool HeaderLine()
    {
        const std::size_t start = At - 1; // the line starts with the byte 26
        const std::size_t cr = File.find('\r', At);
        if (cr == std::string_view::npos)
            return CutShort(start);
        const std::string_view line = File.substr(At, cr - At);
        const std::string_view version = line.substr(std::min(line.size(), Header.size()));
        if (!line.starts_with(Header) || !IsDigits(version))
            return Fail(start, "its first line is not '" + std::string(Header) + std::string(Version) + "'");
        if (version != Version)
            return Fail(start, "it is of version " + Shortened(version) + ", and this Mapolin reads version "
                                   + std::string(Version));
        At = cr;
        return LineEnd();
    }

    bool EntryLine()
    {
        const std::size_t start = At;
        while (At < File.size() && IsKeyChar(File[At]))
            ++At;
        const std::string_view key = File.substr(start, At - start);
        if (key == "end" && (At == File.size() || File[At] == '\r')) {
            LineEnd();
            return false;
        }
        if (At == File.size())
            return CutShort(start);
        if (key.empty() || File[At] != ' ')
            return Fail(start, "a line that is not a key, a space and a length");
        const std::size_t digits = ++At;
        std::uint64_t length = 0;
        while (At < File.size() && At - digits < 10 && File[At] >= '0' && File[At] <= '9')
            length = length * 10 + static_cast<std::uint64_t>(File[At++] - '0');
        if (At == File.size())
            return CutShort(start);
        if (At == digits || File[At] != ':')
            return Fail(start, "the length of " + Quoted(key) + " is not digits and a colon");
        ++At;
        if (length > File.size() - At)
            return Fail(start, "the length of " + Quoted(key) + " runs past the end of the file");
        const std::string_view value = File.substr(At, static_cast<std::size_t>(length));
        At += static_cast<std::size_t>(length);
        if (!LineEnd())
            return At == File.size() ? CutShort(start) : Fail(start, "no line end after the value of " + Quoted(key));
        return Keep(start, key, value);
    }

    bool Keep(std::size_t start, std::string_view key, std::string_view value)
    {
        const auto text = [&]() { return IsValidUtf8(value) || Fail(start, "the value of " + Quoted(key) + " is not UTF-8"); };
        if (key.starts_with("map.")) {
            for (const TOptionKey &option : OptionKeys)
                if (key == option.Key) {
                    if (!text())
                        return false;
                    Result.Options.*option.Member = value;
                    return true;
                }
            return true;
        }
        // kind.N.field; other keys belong to a later Mapolin and are skipped.
        int kind = 0;
        while (kind < 3 && !(key.starts_with(KindKeys[kind]) && key.size() > KindKeys[kind].size()
                             && key[KindKeys[kind].size()] == '.'))
            ++kind;
        if (kind == 3)
            return true;
        const std::size_t digits = KindKeys[kind].size() + 1;
        std::size_t at = digits;
        std::uint64_t index = 0;
        for (; at < key.size() && key[at] >= '0' && key[at] <= '9'; ++at)
            if (at - digits < 11)
                index = index * 10 + static_cast<std::uint64_t>(key[at] - '0');
        if (at == digits || at == key.size() || key[at] != '.')
            return true;
        const std::string_view field = key.substr(at + 1);
        const int fieldAt = field == FieldKeys[0] ? 0 : field == FieldKeys[1] ? 1 : -1;
        if (fieldAt < 0)
            return true;
        if (key[digits] == '0' || index > INT_MAX)
            return Fail(start, Quoted(key) + " names no hotspot: they are numbered from 1");
        if (!text())
            return false;
        Result.Entries[kind].push_back(
            {static_cast<std::uint32_t>(index), static_cast<TExtensionField>(fieldAt), value, start});
        return true;
    }

    std::string_view File;
    std::size_t At;
    TMapExtension Result;
};

// The block keeps UTF-8 only; what names the text, built only for the refusal.
template <typename What>
void CheckBlockText(std::string_view text, What what)
{
    if (text.size() > INT_MAX || !IsValidUtf8(text))
        throw std::invalid_argument("The " + what() + " '" + Shortened(text)
                                    + "' is not UTF-8 text, which a map file keeps alt texts and map options in");
}

template <typename Sink>
void PutEntryHead(Sink &out, std::string_view value)
{
    out.Put(' ');
    out.Int(static_cast<int>(value.size()));
    out.Put(':');
}

void PutOption(std::string &out, std::string_view key, std::string_view value)
{
    textsink::AppendBounded(out, key.size() + value.size() + 16, [&](auto &sink) {
        sink.Put(key);
        PutEntryHead(sink, value);
        sink.Put(value);
        sink.Put("\r\n");
    });
}

void PutHotspotText(std::string &out, int kind, int number, int field, std::string_view value)
{
    textsink::AppendBounded(out, value.size() + 40, [&](auto &sink) {
        sink.Put(KindKeys[kind]);
        sink.Put('.');
        sink.Int(number);
        sink.Put('.');
        sink.Put(FieldKeys[field]);
        PutEntryHead(sink, value);
        sink.Put(value);
        sink.Put("\r\n");
    });
}

} // namespace

std::size_t ClassicEnd(std::string_view file)
{
    const void *eof = std::memchr(file.data(), 26, file.size());
    return eof ? static_cast<std::size_t>(static_cast<const char *>(eof) - file.data()) : file.size();
}

TMapExtension ParseMapExtension(std::string_view file, std::size_t classicEnd)
{
    const std::size_t start = classicEnd + 1;
    if (start > file.size() || !file.substr(start).starts_with(Magic))
        return {};
    return TBlockParser(file, start).Parse();
}

TMapFileError DamagedExtensionError(std::string_view file, const TExtensionDamage &damage)
{
    const std::string_view before = file.substr(0, damage.Offset);
    const int line = 1 + static_cast<int>(std::count(before.begin(), before.end(), '\r'));
    return {line, "Line " + std::to_string(line) + ": the map file's extension block is damaged (" + damage.What
                      + "); the map is read without the alt texts and map options kept in it"};
}

bool NeedsExtension(const TMapFile &map)
{
    if (map.Options != TMapOptions{})
        return true;
    for (const auto *list : {&map.Rects, &map.Circles, &map.Polys})
        for (const TMapRegion &region : *list)
            if (!region.Alt.empty() || !region.Title.empty())
                return true;
    return false;
}

void AppendMapExtension(std::string &out, const TMapFile &map)
{
    const std::vector<TMapRegion> *lists[] = {&map.Rects, &map.Circles, &map.Polys};
    for (const TOptionKey &option : OptionKeys)
        CheckBlockText(map.Options.*option.Member, [&] { return "map option " + std::string(option.Key.substr(4)); });
    for (int kind = 0; kind < 3; ++kind)
        for (std::size_t i = 0; i < lists[kind]->size(); ++i) {
            const TMapRegion &region = (*lists[kind])[i];
            const auto which = [&](const char *field) {
                return field + (" of " + std::string(KindWords[kind])) + " " + std::to_string(i + 1);
            };
            CheckBlockText(region.Alt, [&] { return which("alt text"); });
            CheckBlockText(region.Title, [&] { return which("title"); });
        }
    out += '\x1a';
    out += Header;
    out += Version;
    out += "\r\n";
    for (const TOptionKey &option : OptionKeys)
        if (!(map.Options.*option.Member).empty())
            PutOption(out, option.Key, map.Options.*option.Member);
    for (int kind = 0; kind < 3; ++kind)
        for (std::size_t i = 0; i < lists[kind]->size(); ++i) {
            const TMapRegion &region = (*lists[kind])[i];
            if (!region.Alt.empty())
                PutHotspotText(out, kind, static_cast<int>(i + 1), 0, region.Alt);
            if (!region.Title.empty())
                PutHotspotText(out, kind, static_cast<int>(i + 1), 1, region.Title);
        }
    out += "end\r\n";
}
