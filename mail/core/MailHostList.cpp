#include "mail/core/MailHostList.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <sstream>

namespace mail {

namespace {

std::string AsciiLower(std::string text)
{
    for (char &c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + ('a' - 'A'));
    return text;
}

std::string Trimmed(const std::string &text)
{
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos)
        return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool IsDecimalOctet(std::string_view part)
{
    if (part.empty() || part.size() > 3 || (part.size() > 1 && part[0] == '0'))
        return false;
    int value = 0;
    for (const char c : part) {
        if (c < '0' || c > '9')
            return false;
        value = value * 10 + (c - '0');
    }
    return value <= 255;
}

bool IsHexGroup(std::string_view group)
{
    return !group.empty() && group.size() <= 4
           && std::all_of(group.begin(), group.end(), [](unsigned char c) { return std::isxdigit(c) != 0; });
}

// The pieces of a text between the separator; every separator makes one more piece.
std::vector<std::string_view> Pieces(std::string_view text, char separator)
{
    std::vector<std::string_view> pieces;
    for (std::size_t start = 0;;) {
        const std::size_t at = text.find(separator, start);
        pieces.push_back(text.substr(start, at == std::string_view::npos ? std::string_view::npos : at - start));
        if (at == std::string_view::npos)
            return pieces;
        start = at + 1;
    }
}

bool IsIpv6Address(std::string_view text)
{
    // Eight groups, or fewer around one "::"; the last two may be written as a dotted quad.
    int groups = 0;
    std::string_view tail = text;
    const std::size_t lastColon = text.rfind(':');
    if (lastColon == std::string_view::npos)
        return false;
    if (text.find('.', lastColon) != std::string_view::npos) {
        if (!IsIpv4Address(text.substr(lastColon + 1)))
            return false;
        groups = 2;
        // Keep a "::" that stands right before the quad.
        tail = text.substr(0, lastColon > 0 && text[lastColon - 1] == ':' ? lastColon + 1 : lastColon);
    }
    const std::size_t gap = tail.find("::");
    if (gap != std::string_view::npos && tail.find("::", gap + 1) != std::string_view::npos)
        return false;
    const auto countGroups = [&groups](std::string_view side) {
        if (side.empty())
            return true;
        for (const std::string_view group : Pieces(side, ':')) {
            if (!IsHexGroup(group))
                return false;
            ++groups;
        }
        return true;
    };
    if (gap == std::string_view::npos)
        return countGroups(tail) && groups == 8;
    return countGroups(tail.substr(0, gap)) && countGroups(tail.substr(gap + 2)) && groups < 8;
}

bool IsDomainLabel(std::string_view label)
{
    return !label.empty() && label.size() <= 63 && label.front() != '-' && label.back() != '-'
           && std::all_of(label.begin(), label.end(), [](unsigned char c) { return std::isalnum(c) || c == '-'; });
}

} // namespace

bool IsIpv4Address(std::string_view text)
{
    const std::vector<std::string_view> parts = Pieces(text, '.');
    return parts.size() == 4 && std::all_of(parts.begin(), parts.end(), IsDecimalOctet);
}

bool IsIpAddress(std::string_view text)
{
    return IsIpv4Address(text) || IsIpv6Address(text);
}

bool IsMailDomain(std::string_view domain)
{
    if (domain.ends_with('.'))
        domain.remove_suffix(1);
    if (domain.empty() || domain.size() > 253)
        return false;
    const std::vector<std::string_view> labels = Pieces(domain, '.');
    return std::all_of(labels.begin(), labels.end(), IsDomainLabel);
}

void SplitToList(const std::string &text, const std::string &delimiter,
                 std::vector<std::string> &list)
{
    list.clear();
    if (text.empty())
        return;
    if (delimiter.empty()) {
        list.push_back(text);
        return;
    }
    const std::string lowerText = AsciiLower(text);
    const std::string lowerDelimiter = AsciiLower(delimiter);
    std::size_t start = 0;
    for (auto at = lowerText.find(lowerDelimiter); at != std::string::npos;
         at = lowerText.find(lowerDelimiter, start)) {
        list.push_back(text.substr(start, at - start));
        start = at + delimiter.size();
    }
    if (start < text.size())
        list.push_back(text.substr(start));
}

std::vector<std::string> SplitLines(const std::string &text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    std::size_t i = 0;
    while (i < text.size()) {
        if (text[i] == '\r' || text[i] == '\n') {
            lines.push_back(text.substr(start, i - start));
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
            start = ++i;
        } else {
            ++i;
        }
    }
    if (start < text.size())
        lines.push_back(text.substr(start));
    return lines;
}

std::string JoinLines(const std::vector<std::string> &lines)
{
    std::string text;
    for (const std::string &line : lines)
        text += line + "\r\n";
    return text;
}

void AppendThroughText(std::vector<std::string> &list, const std::vector<std::string> &pieces)
{
    list = SplitLines(JoinLines(list) + JoinLines(pieces));
}

std::vector<std::string> ParseResolvConf(const std::string &content)
{
    std::vector<std::string> servers;
    for (std::string line : SplitLines(content)) {
        // "nameserver 127.0.0.6;comment": a comment may follow without a blank.
        line = line.substr(0, line.find_first_of(";#"));
        std::istringstream words(line);
        std::string keyword;
        std::string address;
        if (words >> keyword >> address && keyword == "nameserver")
            servers.push_back(address);
    }
    return servers;
}

std::vector<std::string> ServersFromListFile(const std::vector<std::string> &lines)
{
    std::vector<std::string> pieces;
    SplitToList(JoinLines(lines), ",", pieces);
    std::vector<std::string> servers;
    AppendThroughText(servers, pieces);
    std::vector<std::string> result;
    for (const std::string &entry : servers) {
        // A cut-off entry such as "8.8.8" is no server.
        std::string address = Trimmed(entry);
        if (IsIpAddress(address))
            result.push_back(std::move(address));
    }
    return result;
}

std::string MailDomainOf(const std::string &address)
{
    const auto at = address.find('@');
    return at == std::string::npos ? address : address.substr(at + 1);
}

std::string FormatHostLine(unsigned preference, const std::string &host)
{
    char field[16];
    std::snprintf(field, sizeof field, "%4u", preference);
    return field + ("|" + host);
}

std::vector<std::string> BuildHostLines(const TMXList &records)
{
    // Compared by number, so preferences of five digits sort right too.
    std::vector<const TMXRec *> order;
    for (const TMXRec &record : records)
        order.push_back(&record);
    std::stable_sort(order.begin(), order.end(), [](const TMXRec *a, const TMXRec *b) {
        if (a->Preference != b->Preference)
            return a->Preference < b->Preference;
        return AsciiLower(a->Host) < AsciiLower(b->Host);
    });
    std::vector<std::string> lines;
    for (const TMXRec *record : order)
        lines.push_back(FormatHostLine(record->Preference, record->Host));
    return lines;
}

} // namespace mail
