#include "mail/core/EncodedWords.h"

#include <algorithm>

namespace mail {

namespace {

constexpr std::string_view WordStart = "=?utf-8?Q?";
constexpr std::string_view WordEnd = "?=";
// Words of at most 64 characters (75 are allowed) leave room for a header's label on the line.
constexpr std::size_t MaxPayload = 64 - WordStart.size() - WordEnd.size();
constexpr char HexDigits[] = "0123456789ABCDEF";
constexpr std::string_view Specials = "()<>[]:;@\\,.\"";

// Characters that may stand for themselves in an encoded word of a phrase or a subject.
bool IsPlainInWord(unsigned char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '!' || c == '*'
           || c == '+' || c == '-' || c == '/';
}

// The length of the UTF-8 sequence starting with c; stray bytes count as one.
std::size_t SequenceLength(unsigned char c)
{
    if (c >= 0xF0 && c < 0xF8)
        return 4;
    if (c >= 0xE0)
        return c < 0xF0 ? 3 : 1;
    if (c >= 0xC0)
        return 2;
    return 1;
}

std::string QEncoded(std::string_view character)
{
    std::string out;
    for (const char ch : character) {
        const auto c = static_cast<unsigned char>(ch);
        if (c == ' ')
            out += '_';
        else if (IsPlainInWord(c))
            out += ch;
        else
            out += {'=', HexDigits[c >> 4], HexDigits[c & 15]};
    }
    return out;
}

// The text as encoded words; a character's bytes never straddle two words, and the words are
// folded apart, which decoders drop between encoded words.
std::string EncodedWords(std::string_view text)
{
    std::string out;
    std::string payload;
    const auto flush = [&] {
        if (!out.empty())
            out += "\r\n ";
        out += WordStart;
        out += payload;
        out += WordEnd;
        payload.clear();
    };
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = std::min(SequenceLength(static_cast<unsigned char>(text[i])), text.size() - i);
        const std::string piece = QEncoded(text.substr(i, length));
        if (payload.size() + piece.size() > MaxPayload)
            flush();
        payload += piece;
        i += length;
    }
    if (!payload.empty() || out.empty())
        flush();
    return out;
}

} // namespace

bool HasNonAscii(std::string_view text)
{
    return std::any_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) >= 128; });
}

std::string EncodeUnstructured(std::string_view text)
{
    if (!HasNonAscii(text))
        return std::string(text);
    // Whole blank-separated words, so an encoded word always stands apart from plain text.
    std::size_t first = text.size();
    std::size_t last = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (static_cast<unsigned char>(text[i]) < 128)
            continue;
        first = std::min(first, i);
        last = i;
    }
    const std::size_t blankBefore = text.find_last_of(" \t", first);
    const std::size_t start = blankBefore == std::string_view::npos ? 0 : blankBefore + 1;
    const std::size_t end = std::min(text.find_first_of(" \t", last), text.size());
    return std::string(text.substr(0, start)) + EncodedWords(text.substr(start, end - start))
           + std::string(text.substr(end));
}

std::string EncodeDisplayName(std::string_view name)
{
    if (HasNonAscii(name))
        return EncodedWords(name);
    if (name.find_first_of(Specials) == std::string_view::npos)
        return std::string(name);
    std::string quoted = "\"";
    for (const char c : name) {
        if (c == '"' || c == '\\')
            quoted += '\\';
        quoted += c;
    }
    return quoted + '"';
}

} // namespace mail
