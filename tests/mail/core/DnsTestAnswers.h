// Builds DNS messages byte by byte for the resolver and parser tests.
#pragma once

#include "mail/core/DnsMessage.h"

#include <string>
#include <vector>

namespace mail::test {

class TDnsBytes {
public:
    TDnsBytes &Byte(std::uint8_t value) { Bytes.push_back(value); return *this; }
    TDnsBytes &Word(unsigned value) { return Byte(std::uint8_t(value >> 8)).Byte(std::uint8_t(value)); }
    TDnsBytes &Raw(const std::string &bytes) { Bytes.insert(Bytes.end(), bytes.begin(), bytes.end()); return *this; }
    TDnsBytes &Label(const std::string &label) { return Byte(std::uint8_t(label.size())).Raw(label); }
    TDnsBytes &Name(const std::string &name)
    {
        const auto encoded = EncodeDnsName(name);
        return Raw({encoded.begin(), encoded.end()});
    }
    TDnsBytes &Pointer(std::size_t offset) { return Word(unsigned(0xC000 | offset)); }
    TDnsBytes &Header(unsigned id, unsigned flags, unsigned count)
    {
        return Word(id).Word(flags).Word(1).Word(count).Word(0).Word(0);
    }
    TDnsBytes &Question(const std::string &name) { return Name(name).Word(DnsTypeMX).Word(DnsClassIN); }
    // Owner pointer, type, class and TTL; the data length is filled in by RecordEnd.
    TDnsBytes &RecordStart(std::size_t owner, unsigned type)
    {
        Pointer(owner).Word(type).Word(DnsClassIN).Word(0).Word(3600);
        lengthAt_ = Bytes.size();
        return Word(0);
    }
    TDnsBytes &RecordEnd()
    {
        const std::size_t length = Bytes.size() - lengthAt_ - 2;
        Bytes[lengthAt_] = std::uint8_t(length >> 8);
        Bytes[lengthAt_ + 1] = std::uint8_t(length);
        return *this;
    }
    TDnsBytes &Mx(unsigned preference, const std::string &host)
    {
        return RecordStart(12, DnsTypeMX).Word(preference).Name(host).RecordEnd();
    }
    std::size_t Size() const { return Bytes.size(); }

    std::vector<std::uint8_t> Bytes;

private:
    std::size_t lengthAt_ = 0;
};

// A standard answer to an MX query for the domain.
inline std::vector<std::uint8_t> MxAnswer(unsigned id, const std::string &domain,
                                          const TMXList &records, unsigned rcode = 0)
{
    TDnsBytes answer;
    answer.Header(id, 0x8180 | rcode, unsigned(records.size())).Question(domain);
    for (const TMXRec &record : records)
        answer.Mx(record.Preference, record.Host);
    return answer.Bytes;
}

// "preference host" for each record, for comparing lists.
inline std::vector<std::string> Hosts(const TMXList &list)
{
    std::vector<std::string> hosts;
    for (const TMXRec &record : list)
        hosts.push_back(std::to_string(record.Preference) + " " + record.Host);
    return hosts;
}

} // namespace mail::test
