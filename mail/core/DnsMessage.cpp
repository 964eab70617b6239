#include "mail/core/DnsMessage.h"

#include <algorithm>

namespace mail {

namespace {

constexpr std::size_t HeaderSize = 12;
constexpr std::size_t MaxNameBytes = 255;
constexpr std::size_t MaxLabelBytes = 63;

const char *const TruncatedText = "Malformed response: read past the end";
const char *const PointerText = "Malformed response: bad compression pointer";
const char *const LongNameText = "Malformed response: name longer than 255 bytes";
const char *const RecordText = "Malformed response: record longer than its data length";

// Reads big-endian fields and names from an answer, refusing anything past its end.
class TAnswerReader {
public:
    TAnswerReader(const std::uint8_t *data, std::size_t size) : data_(data), size_(size) {}

    std::size_t Pos() const { return pos_; }
    void SetPos(std::size_t pos)
    {
        if (pos > size_)
            throw EResolverError(TruncatedText);
        pos_ = pos;
    }
    std::uint16_t Word()
    {
        Need(2);
        const auto value = static_cast<std::uint16_t>(data_[pos_] << 8 | data_[pos_ + 1]);
        pos_ += 2;
        return value;
    }
    void Skip(std::size_t count)
    {
        Need(count);
        pos_ += count;
    }

    // Every pointer must lead strictly before the stretch it was found in, so pointers that
    // loop, point forward or past the end are refused, and reading ends in bounded steps.
    std::string Name()
    {
        std::string name;
        std::size_t at = pos_;
        std::size_t stretchStart = pos_;
        std::size_t wireBytes = 1;
        bool jumped = false;
        for (;;) {
            if (at >= size_)
                throw EResolverError(TruncatedText);
            const std::uint8_t length = data_[at];
            if (length == 0) {
                if (!jumped)
                    pos_ = at + 1;
                return name;
            }
            if (length >= 192) {
                if (at + 1 >= size_)
                    throw EResolverError(TruncatedText);
                const std::size_t target = static_cast<std::size_t>(length & 0x3F) << 8 | data_[at + 1];
                if (target >= stretchStart)
                    throw EResolverError(PointerText);
                if (!jumped)
                    pos_ = at + 2;
                jumped = true;
                at = target;
                stretchStart = target;
                continue;
            }
            wireBytes += length + 1u;
            if (wireBytes > MaxNameBytes)
                throw EResolverError(LongNameText);
            if (at + 1 + length > size_)
                throw EResolverError(TruncatedText);
            name.append(reinterpret_cast<const char *>(data_ + at + 1), length);
            name += '.';
            at += 1 + length;
        }
    }

private:
    void Need(std::size_t count) const
    {
        if (count > size_ - pos_)
            throw EResolverError(TruncatedText);
    }

    const std::uint8_t *data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

void PutWord(std::vector<std::uint8_t> &out, std::uint16_t value)
{
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
}

std::uint8_t AsciiLower(std::uint8_t c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<std::uint8_t>(c + ('a' - 'A')) : c;
}

} // namespace

std::vector<std::uint8_t> EncodeDnsName(const std::string &domain)
{
    std::string name = domain;
    if (!name.empty() && name.back() == '.')
        name.pop_back();
    if (name.empty() || name.size() + 2 > MaxNameBytes)
        throw EResolverError("Invalid domain name");
    // A "." in front, then every "." becomes the length of the label after it.
    std::vector<std::uint8_t> out(name.size() + 1);
    std::size_t labelLength = 0;
    for (std::size_t i = name.size(); i > 0; --i) {
        if (name[i - 1] == '.') {
            if (labelLength == 0 || labelLength > MaxLabelBytes)
                throw EResolverError("Invalid domain name");
            out[i] = static_cast<std::uint8_t>(labelLength);
            labelLength = 0;
        } else {
            out[i] = static_cast<std::uint8_t>(name[i - 1]);
            ++labelLength;
        }
    }
    if (labelLength == 0 || labelLength > MaxLabelBytes)
        throw EResolverError("Invalid domain name");
    out[0] = static_cast<std::uint8_t>(labelLength);
    out.push_back(0);
    return out;
}

std::vector<std::uint8_t> BuildMxQuery(const std::string &domain)
{
    const std::vector<std::uint8_t> name = EncodeDnsName(domain);
    std::vector<std::uint8_t> query;
    query.reserve(HeaderSize + name.size() + 4);
    PutWord(query, DnsQueryId);
    PutWord(query, 0x0100);
    PutWord(query, 1);
    PutWord(query, 0);
    PutWord(query, 0);
    PutWord(query, 0);
    query.insert(query.end(), name.begin(), name.end());
    PutWord(query, DnsTypeMX);
    PutWord(query, DnsClassIN);
    return query;
}

std::string DnsResponseCodeText(int code)
{
    switch (code) {
    case 1: return "Domain server was unable to interpret a query";
    case 2: return "Domain server failure";
    case 3: return "Domain name does not exist";
    case 4: return "Not implemented";
    case 5: return "Domain server refused to return the information";
    default: return "Domain server Error #" + std::to_string(code);
    }
}

void ParseMxAnswer(const std::uint8_t *data, std::size_t size, TMXList &list)
{
    TAnswerReader reader(data, size);
    const std::uint16_t id = reader.Word();
    const std::uint16_t flags = reader.Word();
    const std::uint16_t questions = reader.Word();
    const std::uint16_t answers = reader.Word();
    reader.Skip(4);
    if (id != DnsQueryId)
        throw EResolverError("IDs in the query and response are different");
    if ((flags & 0x8000) == 0)
        throw EResolverError("This is not a response");
    if ((flags & 0x000F) != 0)
        throw EResolverError(DnsResponseCodeText(flags & 0x000F));

    for (std::uint16_t i = 0; i < questions; ++i) {
        reader.Name();
        reader.Skip(4);
    }
    for (std::uint16_t i = 0; i < answers; ++i) {
        reader.Name();
        const std::uint16_t type = reader.Word();
        reader.Skip(6);
        const std::uint16_t dataLength = reader.Word();
        const std::size_t dataEnd = reader.Pos() + dataLength;
        if (dataEnd > size)
            throw EResolverError(TruncatedText);
        if (type == DnsTypeMX) {
            TMXRec record;
            record.Preference = reader.Word();
            record.Host = reader.Name();
            if (reader.Pos() > dataEnd)
                throw EResolverError(RecordText);
            // A root exchange ("null MX") says the domain takes no mail: no host to try.
            if (!record.Host.empty())
                list.push_back(std::move(record));
        }
        reader.SetPos(dataEnd);
    }
}

bool IsReplyToQuery(const std::vector<std::uint8_t> &query, const std::uint8_t *reply,
                    std::size_t size)
{
    if (size < HeaderSize || query.size() < HeaderSize)
        return false;
    if (reply[0] != query[0] || reply[1] != query[1])
        return false;
    const unsigned questions = static_cast<unsigned>(reply[4] << 8 | reply[5]);
    if (questions == 0)
        return (reply[3] & 0x0F) != 0;
    if (questions != 1 || size < query.size())
        return false;
    return std::equal(query.begin() + HeaderSize, query.end(), reply + HeaderSize,
                      [](std::uint8_t a, std::uint8_t b) { return AsciiLower(a) == AsciiLower(b); });
}

bool IsTruncatedAnswer(const std::uint8_t *data, std::size_t size)
{
    return size >= 4 && (data[2] & 0x02) != 0;
}

std::vector<std::uint8_t> FrameForTcp(const std::vector<std::uint8_t> &query)
{
    std::vector<std::uint8_t> framed;
    framed.reserve(query.size() + 2);
    PutWord(framed, static_cast<std::uint16_t>(query.size()));
    framed.insert(framed.end(), query.begin(), query.end());
    return framed;
}

void SortMXList(TMXList &list)
{
    std::stable_sort(list.begin(), list.end(), [](const TMXRec &a, const TMXRec &b) {
        return a.Preference < b.Preference;
    });
}

} // namespace mail
