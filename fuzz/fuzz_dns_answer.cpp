// Feeds arbitrary bytes to the MX answer parser and the reply matcher and checks their promises.
#include "mail/core/DnsMessage.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    if (size > mail::DnsMaxAnswer)
        return 0;
    // An exact-size copy, so the sanitizer sees any read past the received bytes.
    const std::vector<std::uint8_t> answer(data, data + size);
    mail::TMXList list;
    try {
        mail::ParseMxAnswer(answer.data(), answer.size(), list);
    } catch (const mail::EResolverError &) {
        // Refused answers are expected; what was read before stays below.
    }
    // Every record needs at least 15 bytes of the answer; every host is a dotted name of at
    // most 255 bytes on the wire.
    Check(list.size() * 15 <= size);
    for (const mail::TMXRec &record : list) {
        Check(!record.Host.empty() && record.Host.back() == '.');
        Check(record.Host.size() <= 254);
    }
    mail::SortMXList(list);
    for (std::size_t i = 1; i < list.size(); ++i)
        Check(list[i - 1].Preference <= list[i].Preference);

    static const std::vector<std::uint8_t> query = mail::BuildMxQuery("example.test");
    mail::IsReplyToQuery(query, answer.data(), answer.size());
    return 0;
}
