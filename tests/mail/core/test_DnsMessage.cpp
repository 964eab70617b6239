// DNS query bytes and the MX answer parser, including hostile answers.
#include "DnsTestAnswers.h"
#include "support/ErrorText.h"

#include <gtest/gtest.h>

#include <functional>

using namespace mail;
using mail::test::Hosts;
using mail::test::TDnsBytes;
using Records = std::vector<std::string>;

namespace {

// What dnsmasq answers for example.test with mail2 at 20 and mail1 at 5, captured once.
std::vector<std::uint8_t> DnsmasqAnswer()
{
    const std::string hex = "123485800001000200000000076578616d706c65047465737400000f0001c00c000f00010000000000160014"
                            "056d61696c32076578616d706c65047465737400c00c000f00010000000000160005056d61696c3107657861"
                            "6d706c65047465737400";
    std::vector<std::uint8_t> bytes(hex.size() / 2);
    for (std::size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = std::uint8_t(std::stoi(hex.substr(2 * i, 2), nullptr, 16));
    return bytes;
}

// The error text of the parse ("" when accepted) and the records read up to there.
std::pair<std::string, Records> Parse(const std::vector<std::uint8_t> &bytes)
{
    TMXList list;
    const std::string error = ErrorText<EResolverError>([&] { ParseMxAnswer(bytes.data(), bytes.size(), list); });
    return {error, Hosts(list)};
}

} // namespace

TEST(DnsQuery, BytesAndRefusedNames)
{
    const std::vector<std::uint8_t> expected = {0x12, 0x34, 0x01, 0x00, 0, 1, 0, 0, 0, 0, 0, 0, 4, 'm', 'a', 'i', 'l',
                                                7, 'e', 'x', 'a', 'm', 'p', 'l', 'e', 2, 'c', 'o', 0, 0, 15, 0, 1};
    EXPECT_EQ(BuildMxQuery("mail.example.co."), expected);
    // Length bytes and the zero byte count: 3 x 64 + 62 + 1 bytes is the most a name may take.
    const std::string label63(63, 'a');
    const std::string longest = label63 + "." + label63 + "." + label63 + "." + std::string(61, 'a');
    EXPECT_EQ(EncodeDnsName(longest).size(), 255u);
    for (const std::string &name : {std::string("."), std::string("a..b"), std::string(64, 'a'), longest + "a"})
        EXPECT_THROW(EncodeDnsName(name), EResolverError) << name;

    // Only the query's ID and question match; without a question, only an error response, by its ID.
    const std::vector<std::uint8_t> query = BuildMxQuery("Example.Test");
    const auto matches = [&](const std::vector<std::uint8_t> &reply) { return IsReplyToQuery(query, reply.data(), reply.size()); };
    EXPECT_TRUE(matches(mail::test::MxAnswer(0x1234, "EXAMPLE.test", {{5, "mx.example.test"}})));
    EXPECT_FALSE(matches(mail::test::MxAnswer(0x1234, "other.test", {{5, "mx.example.test"}})));
    EXPECT_TRUE(matches({0x12, 0x34, 0x81, 0x85, 0, 0, 0, 0, 0, 0, 0, 0}));
    EXPECT_FALSE(matches({0x12, 0x34, 0x81, 0x80, 0, 0, 0, 0, 0, 0, 0, 0}));
}

TEST(DnsAnswer, EveryPrefixOfTheDnsmasqAnswerKeepsTheRecordsBeforeTheCut)
{
    const std::vector<std::uint8_t> full = DnsmasqAnswer();
    EXPECT_EQ(Parse(full), (std::pair<std::string, Records>{"", {"20 mail2.example.test.", "5 mail1.example.test."}}));
    const std::size_t firstRecordEnd = 30 + 12 + 22;
    for (std::size_t size = 0; size < full.size(); ++size) {
        const auto [error, kept] = Parse({full.begin(), full.begin() + std::ptrdiff_t(size)});
        EXPECT_EQ(error, "Malformed response: read past the end") << size;
        EXPECT_EQ(kept.size(), size >= firstRecordEnd ? 1u : 0u) << size;
    }
}

TEST(DnsAnswer, HeaderFaultsRaiseTheirTexts)
{
    const std::tuple<unsigned, unsigned, const char *> cases[] = {
        {0x4321, 0x8180, "IDs in the query and response are different"}, {0x1234, 0x0100, "This is not a response"},
        {0x1234, 0x8183, "Domain name does not exist"}, {0x1234, 0x8189, "Domain server Error #9"}};
    for (const auto &[id, flags, text] : cases) {
        TDnsBytes answer;
        answer.Header(id, flags, 1).Question("example.test").Mx(5, "mx.example.test");
        EXPECT_EQ(Parse(answer.Bytes), (std::pair<std::string, Records>{text, {}}));
    }
}

// A CNAME and other records are skipped; names point back beyond offset 255; a root exchange
// ("null MX") names no host.
TEST(DnsAnswer, CnameFirstAndPointersBeyondOffset255)
{
    TDnsBytes answer;
    answer.Header(0x1234, 0x8180, 6).Question("www.example.test");
    answer.RecordStart(12, 5);
    const std::size_t alias = answer.Size();
    answer.Name("mail.example.test").RecordEnd();
    answer.RecordStart(alias, DnsTypeMX).Word(10).Label("mx1").Pointer(alias).RecordEnd();
    answer.RecordStart(alias, 16).Label(std::string(60, 't')).Label(std::string(60, 't')).Label(std::string(60, 't')).RecordEnd();
    answer.RecordStart(alias, DnsTypeMX).Word(20).Label("MX2");
    const std::size_t far = answer.Size();
    answer.Name("far.example.test").RecordEnd();
    ASSERT_GT(far, 255u);
    answer.RecordStart(alias, DnsTypeMX).Word(30).Label("mx3").Pointer(far).RecordEnd();
    answer.RecordStart(alias, DnsTypeMX).Word(0).Byte(0).RecordEnd();
    EXPECT_EQ(Parse(answer.Bytes).second,
              (Records{"10 mx1.mail.example.test.", "20 MX2.far.example.test.", "30 mx3.far.example.test."}));
}

// Hostile exchange names in the second record: each is refused and the first record survives.
TEST(DnsAnswer, MalformedNamesAreRefusedInBoundedSteps)
{
    const char *pointerText = "Malformed response: bad compression pointer";
    const std::pair<std::function<void(TDnsBytes &, std::size_t at)>, const char *> cases[] = {
        {[](TDnsBytes &b, std::size_t at) { b.Label("loop").Pointer(at); }, pointerText},
        {[](TDnsBytes &b, std::size_t at) { b.Pointer(at + 2).Label("x").Byte(0); }, pointerText},
        {[](TDnsBytes &b, std::size_t) { b.Pointer(0x3FFF); }, pointerText},
        {[](TDnsBytes &b, std::size_t) { b.Byte(0xC0); }, "Malformed response: read past the end"},
        {[](TDnsBytes &b, std::size_t) {
             for (int i = 0; i < 5; ++i)
                 b.Label(std::string(60, 'n'));
             b.Byte(0);
         }, "Malformed response: name longer than 255 bytes"},
    };
    for (const auto &[exchange, text] : cases) {
        TDnsBytes answer;
        answer.Header(0x1234, 0x8180, 2).Question("example.test").Mx(5, "ok.example.test");
        answer.RecordStart(12, DnsTypeMX).Word(10);
        exchange(answer, answer.Size());
        answer.RecordEnd();
        EXPECT_EQ(Parse(answer.Bytes), (std::pair<std::string, Records>{text, {"5 ok.example.test."}}));
    }
    TDnsBytes shortData;
    shortData.Header(0x1234, 0x8180, 1).Question("example.test").Mx(5, "x.example.test");
    shortData.Bytes[41] = 5; // the data length, shorter than preference and exchange
    EXPECT_EQ(Parse(shortData.Bytes).first, "Malformed response: record longer than its data length");
}
