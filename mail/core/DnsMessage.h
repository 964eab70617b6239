// DNS MX query building and answer parsing for the mail-host lookup.
#pragma once

#include "mail/core/MailErrors.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace mail {

constexpr std::uint16_t DnsQueryId = 0x1234;
constexpr std::uint16_t DnsTypeMX = 15;
constexpr std::uint16_t DnsClassIN = 1;
// Largest datagram the resolver takes in; longer ones are cut to this size.
constexpr std::size_t DnsMaxAnswer = 1024;

// One mail exchanger: its preference and its host name, which ends in a dot.
struct TMXRec {
    std::uint16_t Preference = 0;
    std::string Host;
};
using TMXList = std::vector<TMXRec>;

// A DNS answer that is refused: wrong ID, not a response, an error code or malformed bytes.
class EResolverError : public EMailError {
public:
    using EMailError::EMailError;
};

// The domain as a DNS name: length-prefixed labels and a zero byte. A single trailing dot is
// allowed; an empty name, an empty label, a label over 63 bytes or a name over 255 bytes raise.
std::vector<std::uint8_t> EncodeDnsName(const std::string &domain);

// A standard recursive query for the MX records of the domain, ID DnsQueryId.
std::vector<std::uint8_t> BuildMxQuery(const std::string &domain);

// The text of a DNS response code other than 0.
std::string DnsResponseCodeText(int code);

// Appends the MX records of an answer to the list in their order. Raises EResolverError when
// the answer is refused; records appended before the fault stay in the list.
void ParseMxAnswer(const std::uint8_t *data, std::size_t size, TMXList &list);

// Whether a datagram answers the query: same ID and the same question (letter case aside).
// An error response may leave the question out.
bool IsReplyToQuery(const std::vector<std::uint8_t> &query, const std::uint8_t *reply,
                    std::size_t size);

// Whether the server set the truncation bit: the answer did not fit into one datagram.
bool IsTruncatedAnswer(const std::uint8_t *data, std::size_t size);

// The query as it goes over TCP: preceded by its length as a big-endian 16-bit number.
std::vector<std::uint8_t> FrameForTcp(const std::vector<std::uint8_t> &query);

// Orders by preference, smallest first; equal preferences keep their order.
void SortMXList(TMXList &list);

} // namespace mail
