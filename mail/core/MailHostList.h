// Text rules of the mail-host lookup: list splitting, DNS server lists and host lines.
#pragma once

#include "mail/core/DnsMessage.h"

#include <string>
#include <string_view>
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

// A full dotted quad of decimal numbers 0 to 255 (no leading zeros).
bool IsIpv4Address(std::string_view text);
// A full dotted-quad IPv4 or a textual IPv6 address.
bool IsIpAddress(std::string_view text);
// A host name a mail domain can be: labels of letters, digits and inner hyphens, 1 to 63
// characters each, 253 at most in all; one trailing dot is allowed.
bool IsMailDomain(std::string_view domain);

// The addresses of the "nameserver" lines of a resolver configuration, in order; comments
// begun by ";" or "#" are dropped.
std::vector<std::string> ParseResolvConf(const std::string &content);

// The DNS servers named by the lines of a DNS list file: separated by commas, line breaks or
// both; blanks around an address are dropped, and so is every entry that is no full IPv4 or
// IPv6 address.
std::vector<std::string> ServersFromListFile(const std::vector<std::string> &lines);

// Everything after the first "@"; an address without "@" is a domain of its own.
std::string MailDomainOf(const std::string &address);

// "%4d|host".
std::string FormatHostLine(unsigned preference, const std::string &host);

// The host lines of the records, best first: by preference, then by host ignoring case.
std::vector<std::string> BuildHostLines(const TMXList &records);

} // namespace mail
