#include "cli/core/PageEncoding.h"

#include "cli/core/HtmlNumbers.h"
#include "output/core/Utf8.h"

#include <iconv.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdint>
#include <optional>

namespace {

// Every label browsers know, by encoding: the first word is the encoding's name, then its labels.
constexpr std::array<std::string_view, 40> Labels{
    "UTF-8 unicode-1-1-utf-8 unicode11utf8 unicode20utf8 utf-8 utf8 x-unicode20utf8",
    "IBM866 866 cp866 csibm866 ibm866",
    "ISO-8859-2 csisolatin2 iso-8859-2 iso-ir-101 iso8859-2 iso88592 iso_8859-2 iso_8859-2:1987 l2 latin2",
    "ISO-8859-3 csisolatin3 iso-8859-3 iso-ir-109 iso8859-3 iso88593 iso_8859-3 iso_8859-3:1988 l3 latin3",
    "ISO-8859-4 csisolatin4 iso-8859-4 iso-ir-110 iso8859-4 iso88594 iso_8859-4 iso_8859-4:1988 l4 latin4",
    "ISO-8859-5 csisolatincyrillic cyrillic iso-8859-5 iso-ir-144 iso8859-5 iso88595 iso_8859-5 iso_8859-5:1988",
    "ISO-8859-6 arabic asmo-708 csiso88596e csiso88596i csisolatinarabic ecma-114 iso-8859-6 iso-8859-6-e "
    "iso-8859-6-i iso-ir-127 iso8859-6 iso88596 iso_8859-6 iso_8859-6:1987",
    "ISO-8859-7 csisolatingreek ecma-118 elot_928 greek greek8 iso-8859-7 iso-ir-126 iso8859-7 iso88597 iso_8859-7 "
    "iso_8859-7:1987 sun_eu_greek",
    "ISO-8859-8 csiso88598e csisolatinhebrew hebrew iso-8859-8 iso-8859-8-e iso-ir-138 iso8859-8 iso88598 iso_8859-8 "
    "iso_8859-8:1988 visual",
    "ISO-8859-8-I csiso88598i iso-8859-8-i logical",
    "ISO-8859-10 csisolatin6 iso-8859-10 iso-ir-157 iso8859-10 iso885910 l6 latin6",
    "ISO-8859-13 iso-8859-13 iso8859-13 iso885913",
    "ISO-8859-14 iso-8859-14 iso8859-14 iso885914",
    "ISO-8859-15 csisolatin9 iso-8859-15 iso8859-15 iso885915 iso_8859-15 l9",
    "ISO-8859-16 iso-8859-16",
    "KOI8-R cskoi8r koi koi8 koi8-r koi8_r",
    "KOI8-U koi8-ru koi8-u",
    "macintosh csmacintosh mac macintosh x-mac-roman",
    "windows-874 dos-874 iso-8859-11 iso8859-11 iso885911 tis-620 windows-874",
    "windows-1250 cp1250 windows-1250 x-cp1250",
    "windows-1251 cp1251 windows-1251 x-cp1251",
    "windows-1252 ansi_x3.4-1968 ascii cp1252 cp819 csisolatin1 ibm819 iso-8859-1 iso-ir-100 iso8859-1 iso88591 "
    "iso_8859-1 iso_8859-1:1987 l1 latin1 us-ascii windows-1252 x-cp1252",
    "windows-1253 cp1253 windows-1253 x-cp1253",
    "windows-1254 cp1254 csisolatin5 iso-8859-9 iso-ir-148 iso8859-9 iso88599 iso_8859-9 iso_8859-9:1989 l5 latin5 "
    "windows-1254 x-cp1254",
    "windows-1255 cp1255 windows-1255 x-cp1255",
    "windows-1256 cp1256 windows-1256 x-cp1256",
    "windows-1257 cp1257 windows-1257 x-cp1257",
    "windows-1258 cp1258 windows-1258 x-cp1258",
    "x-mac-cyrillic x-mac-cyrillic x-mac-ukrainian",
    "GBK chinese csgb2312 csiso58gb231280 gb2312 gb_2312 gb_2312-80 gbk iso-ir-58 x-gbk",
    "gb18030 gb18030",
    "Big5 big5 big5-hkscs cn-big5 csbig5 x-x-big5",
    "EUC-JP cseucpkdfmtjapanese euc-jp x-euc-jp",
    "ISO-2022-JP csiso2022jp iso-2022-jp",
    "Shift_JIS csshiftjis ms932 ms_kanji shift-jis shift_jis sjis windows-31j x-sjis",
    "EUC-KR cseuckr csksc56011987 euc-kr iso-ir-149 korean ks_c_5601-1987 ks_c_5601-1989 ksc5601 ksc_5601 windows-949",
    "replacement csiso2022kr hz-gb-2312 iso-2022-cn iso-2022-cn-ext iso-2022-kr replacement",
    "UTF-16BE unicodefffe utf-16be",
    "UTF-16LE csunicode iso-10646-ucs-2 ucs-2 unicode unicodefeff utf-16 utf-16le",
    "x-user-defined x-user-defined",
};

// The system converter's name where it differs from the encoding's own.
std::string ConverterName(const std::string &encoding)
{
    static const std::pair<std::string_view, std::string_view> names[] = {
        {"ISO-8859-8-I", "ISO-8859-8"}, {"windows-874", "CP874"}, {"x-mac-cyrillic", "MAC-CYRILLIC"},
        {"GBK", "GB18030"},             {"Big5", "BIG5-HKSCS"},   {"Shift_JIS", "WINDOWS-31J"},
        {"EUC-KR", "CP949"},
    };
    for (const auto &[ours, system] : names)
        if (encoding == ours)
            return std::string(system);
    if (encoding.starts_with("windows-"))
        return "CP" + encoding.substr(8);
    return encoding;
}

constexpr std::uint16_t Windows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

const char *const Replacement = "\xEF\xBF\xBD";


void AppendUtf8(std::string &out, std::uint32_t c)
{
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | c >> 6);
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | c >> 12);
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | c >> 18);
        out += static_cast<char>(0x80 | (c >> 12 & 0x3F));
        out += static_cast<char>(0x80 | (c >> 6 & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Lines of invalid bytes, counted as the HTML parser counts them (CR, LF and CR LF each end one);
// a page in a wrong encoding can have thousands, so only the first few are named.
class TInvalidBytes {
public:
    static constexpr std::size_t MaxNamed = 10;

    TInvalidBytes(std::string_view bytes, std::string encoding, std::size_t unit)
        : Bytes(bytes), Encoding(std::move(encoding)), Unit(unit)
    {
    }

    void At(std::size_t offset)
    {
        for (; Scanned < offset && Scanned < Bytes.size(); Scanned += Unit) {
            const char c = Unit == 2 ? LowUnitByte(Scanned) : Bytes[Scanned];
            if (c == '\n' && Previous != '\r')
                ++Line;
            else if (c == '\r')
                ++Line;
            Previous = c;
        }
        if (Lines.empty() || Lines.back() != Line)
            Lines.push_back(Line);
    }

    std::vector<TNote> Notes() const
    {
        std::vector<TNote> notes;
        for (std::size_t i = 0; i < Lines.size() && i < MaxNamed; ++i)
            notes.push_back({Lines[i], "bytes that are not valid " + Encoding + " read as U+FFFD"});
        if (Lines.size() > MaxNamed)
            notes.push_back({0, "and on " + std::to_string(Lines.size() - MaxNamed) + " more lines"});
        return notes;
    }

    bool LittleEndian = true;

private:
    // The byte of a UTF-16 code unit that is ASCII when the unit is.
    char LowUnitByte(std::size_t offset) const
    {
        if (offset + 1 >= Bytes.size())
            return 0;
        const char low = Bytes[offset + (LittleEndian ? 0 : 1)];
        return Bytes[offset + (LittleEndian ? 1 : 0)] == 0 ? low : 0;
    }

    std::string_view Bytes;
    std::string Encoding;
    std::size_t Unit;
    std::size_t Scanned = 0;
    int Line = 1;
    char Previous = 0;
    std::vector<int> Lines;
};

void DecodeUtf8(std::string_view bytes, TPageText &page)
{
    TInvalidBytes problems(bytes, "UTF-8", 1);
    page.Decoded.reserve(bytes.size());
    for (std::size_t i = 0, invalid = 0; i < bytes.size();) {
        const std::size_t length = Utf8SequenceAt(bytes, i, invalid);
        if (length == 0) {
            problems.At(i);
            page.Decoded += Replacement;
            i += invalid;
        } else {
            page.Decoded.append(bytes.substr(i, length));
            i += length;
        }
    }
    page.Notes = problems.Notes();
}

void DecodeUtf16(std::string_view bytes, bool littleEndian, TPageText &page)
{
    TInvalidBytes problems(bytes, page.Encoding, 2);
    problems.LittleEndian = littleEndian;
    const auto unit = [&](std::size_t i) -> std::uint32_t {
        const auto b0 = static_cast<unsigned char>(bytes[i]), b1 = static_cast<unsigned char>(bytes[i + 1]);
        return littleEndian ? (b1 << 8 | b0) : (b0 << 8 | b1);
    };
    page.Decoded.reserve(bytes.size());
    std::size_t i = 0;
    for (; i + 1 < bytes.size(); i += 2) {
        const std::uint32_t c = unit(i);
        if (c >= 0xD800 && c <= 0xDBFF && i + 3 < bytes.size() && unit(i + 2) >= 0xDC00 && unit(i + 2) <= 0xDFFF) {
            AppendUtf8(page.Decoded, 0x10000 + ((c - 0xD800) << 10) + (unit(i + 2) - 0xDC00));
            i += 2;
        } else if (c >= 0xD800 && c <= 0xDFFF) {
            problems.At(i);
            page.Decoded += Replacement;
        } else {
            AppendUtf8(page.Decoded, c);
        }
    }
    if (i < bytes.size()) {
        problems.At(i);
        page.Decoded += Replacement;
    }
    page.Notes = problems.Notes();
}

void DecodeWindows1252(std::string_view bytes, TPageText &page)
{
    page.Decoded.reserve(bytes.size() + bytes.size() / 4);
    for (const char byte : bytes) {
        const auto c = static_cast<unsigned char>(byte);
        if (c < 0x80)
            page.Decoded += byte;
        else
            AppendUtf8(page.Decoded, c < 0xA0 ? Windows1252High[c - 0x80] : c);
    }
}

// Any other encoding through the system's converter (iconv).
void DecodeWithConverter(std::string_view bytes, TPageText &page)
{
    const iconv_t converter = iconv_open("UTF-8", ConverterName(page.Encoding).c_str());
    if (converter == reinterpret_cast<iconv_t>(-1)) {
        page.Error = "the page is in " + page.Encoding + " (" + page.Source
                     + "), which this system cannot convert; save it as UTF-8";
        return;
    }
    TInvalidBytes problems(bytes, page.Encoding, 1);
    std::string &out = page.Decoded;
    out.resize(bytes.size() * 2 + 16);
    char *in = const_cast<char *>(bytes.data());
    std::size_t inLeft = bytes.size(), written = 0;
    while (inLeft > 0) {
        char *to = out.data() + written;
        std::size_t outLeft = out.size() - written;
        const std::size_t done = iconv(converter, &in, &inLeft, &to, &outLeft);
        written = out.size() - outLeft;
        if (done != static_cast<std::size_t>(-1))
            break;
        if (errno == E2BIG) {
            out.resize(out.size() * 2);
            continue;
        }
        // An invalid or cut-off sequence: one replacement, then on with the next byte.
        problems.At(static_cast<std::size_t>(in - bytes.data()));
        out.replace(written, 3, Replacement);
        written += 3;
        if (errno == EINVAL)
            break;
        ++in;
        --inLeft;
        if (out.size() - written < 16)
            out.resize(out.size() * 2);
    }
    out.resize(written);
    iconv_close(converter);
    page.Notes = problems.Notes();
}

// Finding the encoding in a <meta> among the first 1024 bytes, as browsers do before parsing.
class TPrescan {
public:
    explicit TPrescan(std::string_view bytes) : Bytes(bytes.substr(0, 1024)) {}

    // The encoding and the offset of its <meta>; no encoding when none is declared.
    std::optional<std::pair<std::string, std::size_t>> Run()
    {
        for (Pos = 0; Pos < Bytes.size(); ++Pos) {
            const std::size_t start = Pos;
            if (StartsWith("<!--")) {
                const std::size_t end = Bytes.find("-->", Pos + 2);
                if (end == std::string_view::npos)
                    return std::nullopt;
                Pos = end + 2;
            } else if (StartsWithWord("<meta") && Pos + 5 < Bytes.size() && IsMetaEnd(Bytes[Pos + 5])) {
                Pos += 5;
                if (std::optional<std::string> encoding = Meta())
                    return std::pair{*encoding, start};
                if (Pos >= Bytes.size())
                    return std::nullopt;
            } else if ((StartsWith("<") && Pos + 1 < Bytes.size() && IsAsciiLetter(Bytes[Pos + 1]))
                       || (StartsWith("</") && Pos + 2 < Bytes.size() && IsAsciiLetter(Bytes[Pos + 2]))) {
                while (Pos < Bytes.size() && !IsAsciiSpace(Bytes[Pos]) && Bytes[Pos] != '>')
                    ++Pos;
                std::string name, value;
                while (Attribute(name, value)) {
                }
                if (Pos >= Bytes.size())
                    return std::nullopt;
            } else if (StartsWith("<!") || StartsWith("</") || StartsWith("<?")) {
                const std::size_t end = Bytes.find('>', Pos + 2);
                if (end == std::string_view::npos)
                    return std::nullopt;
                Pos = end;
            }
        }
        return std::nullopt;
    }

private:
    static bool IsMetaEnd(char c) { return IsAsciiSpace(c) || c == '/'; }
    static bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
    static char Lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

    bool StartsWith(std::string_view text) const { return Bytes.substr(Pos).starts_with(text); }

    bool StartsWithWord(std::string_view word) const
    {
        if (Bytes.size() - Pos < word.size())
            return false;
        for (std::size_t i = 0; i < word.size(); ++i)
            if (Lower(Bytes[Pos + i]) != word[i])
                return false;
        return true;
    }

    // The attributes of one <meta>: a charset, or a content type with a charset next to an
    // http-equiv of Content-Type.
    std::optional<std::string> Meta()
    {
        std::vector<std::string> seen;
        bool gotPragma = false;
        int needPragma = -1; // unknown, no, yes
        std::optional<std::string> charset;
        bool charsetGiven = false;
        std::string name, value;
        while (Attribute(name, value)) {
            if (std::find(seen.begin(), seen.end(), name) != seen.end())
                continue;
            seen.push_back(name);
            if (name == "http-equiv") {
                gotPragma = gotPragma || value == "content-type";
            } else if (name == "content") {
                const std::string found = EncodingOfLabel(CharsetOfContent(value).value_or(""));
                if (!charsetGiven && !found.empty()) {
                    charset = found;
                    charsetGiven = true;
                    needPragma = 1;
                }
            } else if (name == "charset") {
                charset = EncodingOfLabel(value);
                charsetGiven = true;
                needPragma = 0;
            }
        }
        if (needPragma < 0 || (needPragma == 1 && !gotPragma) || !charset || charset->empty())
            return std::nullopt;
        if (*charset == "UTF-16BE" || *charset == "UTF-16LE")
            return "UTF-8";
        if (*charset == "x-user-defined")
            return "windows-1252";
        return charset;
    }

    // One attribute of a tag, name and value lower-cased; false at the tag's end.
    bool Attribute(std::string &name, std::string &value)
    {
        name.clear();
        value.clear();
        while (Pos < Bytes.size() && (IsAsciiSpace(Bytes[Pos]) || Bytes[Pos] == '/'))
            ++Pos;
        if (Pos >= Bytes.size() || Bytes[Pos] == '>')
            return false;
        for (;; ++Pos) {
            if (Pos >= Bytes.size())
                return false;
            const char c = Bytes[Pos];
            if (c == '=' && !name.empty()) {
                ++Pos;
                return Value(value);
            }
            if (IsAsciiSpace(c))
                break;
            if (c == '/' || c == '>')
                return true;
            name += Lower(c);
        }
        while (Pos < Bytes.size() && IsAsciiSpace(Bytes[Pos]))
            ++Pos;
        if (Pos >= Bytes.size())
            return false;
        if (Bytes[Pos] != '=')
            return true;
        ++Pos;
        return Value(value);
    }

    bool Value(std::string &value)
    {
        while (Pos < Bytes.size() && IsAsciiSpace(Bytes[Pos]))
            ++Pos;
        if (Pos >= Bytes.size())
            return false;
        const char quote = Bytes[Pos];
        if (quote == '"' || quote == '\'') {
            for (++Pos; Pos < Bytes.size(); ++Pos) {
                if (Bytes[Pos] == quote) {
                    ++Pos;
                    return true;
                }
                value += Lower(Bytes[Pos]);
            }
            return false;
        }
        if (quote == '>')
            return true;
        for (; Pos < Bytes.size(); ++Pos) {
            if (IsAsciiSpace(Bytes[Pos]) || Bytes[Pos] == '>')
                return true;
            value += Lower(Bytes[Pos]);
        }
        return false;
    }

    // The label after "charset=" in a content type such as "text/html; charset=iso-8859-1".
    static std::optional<std::string> CharsetOfContent(std::string_view content)
    {
        for (std::size_t at = 0; (at = content.find("charset", at)) != std::string_view::npos;) {
            std::size_t i = at + 7;
            while (i < content.size() && IsAsciiSpace(content[i]))
                ++i;
            if (i >= content.size() || content[i] != '=') {
                at = i;
                continue;
            }
            ++i;
            while (i < content.size() && IsAsciiSpace(content[i]))
                ++i;
            if (i >= content.size())
                return std::nullopt;
            if (content[i] == '"' || content[i] == '\'') {
                const std::size_t end = content.find(content[i], i + 1);
                if (end == std::string_view::npos)
                    return std::nullopt;
                return std::string(content.substr(i + 1, end - i - 1));
            }
            std::size_t end = i;
            while (end < content.size() && !IsAsciiSpace(content[end]) && content[end] != ';')
                ++end;
            return std::string(content.substr(i, end - i));
        }
        return std::nullopt;
    }

    std::string_view Bytes;
    std::size_t Pos = 0;
};

} // namespace

int LineAt(std::string_view text, std::size_t offset)
{
    int line = 1;
    for (std::size_t i = 0; i < offset && i < text.size(); ++i)
        if (text[i] == '\r' || (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')))
            ++line;
    return line;
}

std::string EncodingOfLabel(std::string_view label)
{
    std::string lower(TrimAsciiSpace(label));
    for (char &c : lower)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    if (lower.empty() || lower.find(' ') != std::string::npos)
        return {};
    for (const std::string_view line : Labels) {
        const std::string_view name = line.substr(0, line.find(' '));
        for (std::size_t at = name.size(); at != std::string_view::npos && at < line.size();) {
            const std::size_t end = line.find(' ', at + 1);
            if (line.substr(at + 1, end - at - 1) == lower)
                return std::string(name);
            at = end;
        }
    }
    return {};
}

TPageText DecodePage(std::string_view bytes)
{
    TPageText page;
    std::string_view body = bytes;
    if (bytes.starts_with("\xEF\xBB\xBF")) {
        page = {"UTF-8", "byte order mark", {}, false, {}, {}};
        body.remove_prefix(3);
    } else if (bytes.starts_with("\xFE\xFF") || bytes.starts_with("\xFF\xFE")) {
        page = {bytes[0] == '\xFE' ? "UTF-16BE" : "UTF-16LE", "byte order mark", {}, false, {}, {}};
        body.remove_prefix(2);
    } else if (const auto declared = TPrescan(bytes).Run()) {
        page.Encoding = declared->first;
        page.Source = "<meta> on line " + std::to_string(LineAt(bytes, declared->second));
    } else {
        page.Encoding = IsValidUtf8(bytes) ? "UTF-8" : "windows-1252";
        page.Source = "no declaration";
    }
    if (page.Encoding == "UTF-8") {
        if (body.size() == bytes.size() && IsValidUtf8(body))
            page.Unchanged = true;
        else
            DecodeUtf8(body, page);
    } else if (page.Encoding == "UTF-16LE" || page.Encoding == "UTF-16BE") {
        DecodeUtf16(body, page.Encoding == "UTF-16LE", page);
    } else if (page.Encoding == "windows-1252") {
        DecodeWindows1252(body, page);
    } else if (page.Encoding == "replacement") {
        page.Error = "the page declares an encoding that browsers refuse to read (" + page.Source + ")";
    } else {
        DecodeWithConverter(body, page);
    }
    return page;
}
