// Builds DNS messages byte by byte for the resolver and parser tests.
#pragma once

#include "mail/core/DnsMessage.h"

#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

namespace mail::test {

class TDnsBytes {
public:
    TDnsBytes &Byte(std::uint8_t value)
    {
        Bytes.push_back(value);
        return *this;
    }
    TDnsBytes &Word(std::uint16_t value) { return Byte(std::uint8_t(value >> 8)).Byte(std::uint8_t(value)); }
    TDnsBytes &Long(std::uint32_t value) { return Word(std::uint16_t(value >> 16)).Word(std::uint16_t(value)); }
    TDnsBytes &Raw(std::initializer_list<std::uint8_t> values)
    {
        Bytes.insert(Bytes.end(), values);
        return *this;
    }
    TDnsBytes &Label(const std::string &label)
    {
        Byte(std::uint8_t(label.size()));
        Bytes.insert(Bytes.end(), label.begin(), label.end());
        return *this;
    }
    TDnsBytes &Name(const std::string &name)
    {
        const std::vector<std::uint8_t> encoded = EncodeDnsName(name);
        Bytes.insert(Bytes.end(), encoded.begin(), encoded.end());
        return *this;
    }
    TDnsBytes &Pointer(std::size_t offset) { return Word(std::uint16_t(0xC000 | offset)); }
    TDnsBytes &Header(std::uint16_t id, std::uint16_t flags, std::uint16_t questions, std::uint16_t answers)
    {
        return Word(id).Word(flags).Word(questions).Word(answers).Word(0).Word(0);
    }
    TDnsBytes &Question(const std::string &name) { return Name(name).Word(DnsTypeMX).Word(DnsClassIN); }
    // Owner name given as a pointer; the record data follows with its length filled in later.
    TDnsBytes &RecordStart(std::size_t ownerOffset, std::uint16_t type)
    {
        Pointer(ownerOffset).Word(type).Word(DnsClassIN).Long(3600);
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
    TDnsBytes &Mx(std::uint16_t preference, const std::string &host)
    {
        return RecordStart(12, DnsTypeMX).Word(preference).Name(host).RecordEnd();
    }
    std::size_t Size() const { return Bytes.size(); }

    std::vector<std::uint8_t> Bytes;

private:
    std::size_t lengthAt_ = 0;
};

// The answer a standard server gives for the MX records of a domain.
inline std::vector<std::uint8_t> MxAnswer(std::uint16_t id, const std::string &domain,
                                          std::initializer_list<TMXRec> records, int rcode = 0)
{
    TDnsBytes answer;
    answer.Header(id, std::uint16_t(0x8180 | rcode), 1, std::uint16_t(records.size())).Question(domain);
    for (const TMXRec &record : records)
        answer.Mx(record.Preference, record.Host);
    return answer.Bytes;
}

} // namespace mail::test
