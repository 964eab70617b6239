// Text rules of the mail-host lookup: list splitting, DNS server lists and host lines.
#pragma once

#include "mail/core/DnsMessage.h"

#include <string>
#include <vector>

namespace mail {

// Empties the list, then adds the pieces of the text between occurrences of the delimiter
// (found ignoring letter case). A non-empty last piece is added; an empty text adds nothing.
void SplitToList(const std::string &text, const std::string &delimiter,
                 std::vector<std::string> &list);

// The lines of a text broken at CR LF, CR or LF; a final line break adds no empty line.
std::vector<std::string> SplitLines(const std::string &text);

// Every line followed by CR LF.
std::string JoinLines(const std::vector<std::string> &lines);

// Appends through the text form, so pieces holding line breaks become several entries.
void AppendThroughText(std::vector<std::string> &list, const std::vector<std::string> &pieces);

// The addresses of the "nameserver" lines of a resolver configuration, in order.
std::vector<std::string> ParseResolvConf(const std::string &content);

// The DNS servers named by the lines of a DNS list file: separated by commas, line breaks or
// both; blanks around an address and empty entries are dropped.
std::vector<std::string> ServersFromListFile(const std::vector<std::string> &lines);

// Everything after the first "@"; an address without "@" is a domain of its own.
std::string MailDomainOf(const std::string &address);

// "%4d|host".
std::string FormatHostLine(unsigned preference, const std::string &host);

// The host lines of the records, best first: by preference, then by host ignoring case.
std::vector<std::string> BuildHostLines(const TMXList &records);

} // namespace mail
