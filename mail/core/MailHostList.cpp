#include "mail/core/MailHostList.h"

#include <algorithm>
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

} // namespace

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
    for (const std::string &line : SplitLines(content)) {
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
        std::string address = Trimmed(entry);
        if (!address.empty())
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
