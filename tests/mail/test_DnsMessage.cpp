// DNS query bytes and the MX answer parser, including hostile answers.
#include "DnsTestAnswers.h"

#include "mail/core/DnsMessage.h"

#include <gtest/gtest.h>

#include <functional>

using namespace mail;
using mail::test::MxAnswer;
using mail::test::TDnsBytes;

namespace {

// What dnsmasq answers for example.test with mail2 at 20 and mail1 at 5, captured once.
std::vector<std::uint8_t> DnsmasqAnswer()
{
    const std::string hex =
        "123485800001000200000000076578616d706c65047465737400000f0001c00c000f00010000000000160014"
        "056d61696c32076578616d706c65047465737400c00c000f00010000000000160005056d61696c3107657861"
        "6d706c65047465737400";
    std::vector<std::uint8_t> bytes;
    for (std::size_t i = 0; i < hex.size(); i += 2)
        bytes.push_back(std::uint8_t(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

TMXList Parse(const std::vector<std::uint8_t> &bytes)
{
    TMXList list;
    ParseMxAnswer(bytes.data(), bytes.size(), list);
    return list;
}

std::string ParseError(const std::vector<std::uint8_t> &bytes, TMXList *list = nullptr)
{
    TMXList local;
    try {
        ParseMxAnswer(bytes.data(), bytes.size(), list ? *list : local);
    } catch (const EResolverError &error) {
        return error.what();
    }
    return "(accepted)";
}

} // namespace

TEST(DnsQuery, HeaderAndNameBytes)
{
    const std::vector<std::uint8_t> expected = {
        0x12, 0x34, 0x01, 0x00, 0, 1, 0, 0, 0, 0, 0, 0,
        4, 'm', 'a', 'i', 'l', 7, 'e', 'x', 'a', 'm', 'p', 'l', 'e', 2, 'c', 'o', 0,
        0, 15, 0, 1};
    EXPECT_EQ(BuildMxQuery("mail.example.co"), expected);
    EXPECT_EQ(BuildMxQuery("mail.example.co."), expected);
    EXPECT_EQ(EncodeDnsName("x"), (std::vector<std::uint8_t>{1, 'x', 0}));
    EXPECT_EQ(EncodeDnsName(std::string(63, 'a')).size(), 65u);
}

TEST(DnsQuery, RefusesNamesThatCannotBeEncoded)
{
    const std::string label63(63, 'a');
    // Length bytes and the zero byte count: 3 x 64 + 63 + 1 is one byte too many.
    const std::string name255 = label63 + "." + label63 + "." + label63 + "." + std::string(61, 'a');
    const std::string name256 = name255 + "a";
    for (const std::string &name : {std::string(), std::string("."), std::string("a..b"),
                                    std::string(".a"), std::string(64, 'a'), name256})
        EXPECT_THROW(EncodeDnsName(name), EResolverError) << name;
    EXPECT_EQ(EncodeDnsName(name255).size(), 255u);
}

TEST(DnsAnswer, DnsmasqAnswerKeepsOrderUntilSorted)
{
    TMXList list = Parse(DnsmasqAnswer());
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].Preference, 20);
    EXPECT_EQ(list[0].Host, "mail2.example.test.");
    SortMXList(list);
    EXPECT_EQ(list[0].Preference, 5);
    EXPECT_EQ(list[0].Host, "mail1.example.test.");
    EXPECT_EQ(list[1].Host, "mail2.example.test.");
}

TEST(DnsAnswer, EveryPrefixIsRefusedAndKeepsTheRecordsBeforeTheCut)
{
    const std::vector<std::uint8_t> full = DnsmasqAnswer();
    const std::size_t firstRecordEnd = 30 + 12 + 22;
    for (std::size_t size = 0; size < full.size(); ++size) {
        TMXList list;
        const std::vector<std::uint8_t> prefix(full.begin(), full.begin() + std::ptrdiff_t(size));
        EXPECT_EQ(ParseError(prefix, &list), "Malformed response: read past the end") << size;
        EXPECT_EQ(list.size(), size >= firstRecordEnd ? 1u : 0u) << size;
    }
}

TEST(DnsAnswer, HeaderFaultsRaiseTheirTexts)
{
    const struct {
        std::uint16_t id;
        std::uint16_t flags;
        const char *text;
    } cases[] = {
        {0x4321, 0x8180, "IDs in the query and response are different"},
        {0x1234, 0x0100, "This is not a response"},
        {0x1234, 0x8181, "Domain server was unable to interpret a query"},
        {0x1234, 0x8182, "Domain server failure"},
        {0x1234, 0x8183, "Domain name does not exist"},
        {0x1234, 0x8184, "Not implemented"},
        {0x1234, 0x8185, "Domain server refused to return the information"},
        {0x1234, 0x8189, "Domain server Error #9"},
    };
    for (const auto &c : cases) {
        TDnsBytes answer;
        answer.Header(c.id, c.flags, 1, 1).Question("example.test").Mx(5, "mx.example.test");
        EXPECT_EQ(ParseError(answer.Bytes), c.text);
    }
}

TEST(DnsAnswer, CnameBeforeMxYieldsTheMxRecords)
{
    TDnsBytes answer;
    answer.Header(0x1234, 0x8180, 1, 3).Question("www.example.test");
    answer.RecordStart(12, 5);
    const std::size_t alias = answer.Size();
    answer.Name("mail.example.test").RecordEnd();
    answer.RecordStart(alias, DnsTypeMX).Word(10).Label("mx1").Pointer(alias).RecordEnd();
    answer.RecordStart(alias, DnsTypeMX).Word(20).Label("MX2").Pointer(alias + 5).RecordEnd();
    const TMXList list = Parse(answer.Bytes);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].Host, "mx1.mail.example.test.");
    EXPECT_EQ(list[1].Preference, 20);
    EXPECT_EQ(list[1].Host, "MX2.example.test.");
}

TEST(DnsAnswer, PointerBeyondOffset255IsFollowed)
{
    TDnsBytes answer;
    answer.Header(0x1234, 0x8180, 1, 3).Question("example.test");
    answer.RecordStart(12, 16);
    for (int i = 0; i < 4; ++i)
        answer.Label(std::string(70, 't'));
    answer.RecordEnd();
    answer.RecordStart(12, DnsTypeMX).Word(1).Label("mx1");
    const std::size_t domain = answer.Size();
    answer.Name("far.example.test").RecordEnd();
    ASSERT_GT(domain, 255u);
    answer.RecordStart(12, DnsTypeMX).Word(2).Label("mx2").Pointer(domain).RecordEnd();
    const TMXList list = Parse(answer.Bytes);
    ASSERT_EQ(list.size(), 2u);
    EXPECT_EQ(list[0].Host, "mx1.far.example.test.");
    EXPECT_EQ(list[1].Host, "mx2.far.example.test.");
}

TEST(DnsAnswer, NullMxNamesNoHost)
{
    TDnsBytes answer;
    answer.Header(0x1234, 0x8180, 1, 2).Question("example.test");
    answer.RecordStart(12, DnsTypeMX).Word(0).Byte(0).RecordEnd();
    answer.Mx(10, "mx.example.test");
    const TMXList list = Parse(answer.Bytes);
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0].Host, "mx.example.test.");
}

// Hostile names in the exchange of the second record: the first record always survives.
TEST(DnsAnswer, MalformedNamesAreRefusedInBoundedSteps)
{
    const char *pointerText = "Malformed response: bad compression pointer";
    struct Case {
        const char *what;
        std::function<void(TDnsBytes &, std::size_t exchange)> exchange;
        const char *text;
    };
    const Case cases[] = {
        {"pointer to itself", [](TDnsBytes &b, std::size_t at) { b.Pointer(at); }, pointerText},
        {"label then pointer back to it",
         [](TDnsBytes &b, std::size_t at) { b.Label("loop").Pointer(at); }, pointerText},
        {"forward pointer", [](TDnsBytes &b, std::size_t at) { b.Pointer(at + 2).Label("x").Byte(0); },
         pointerText},
        {"pointer past the end", [](TDnsBytes &b, std::size_t) { b.Pointer(0x3FFF); }, pointerText},
        {"two pointers at each other",
         [](TDnsBytes &b, std::size_t at) { b.Pointer(at + 2).Pointer(at); }, pointerText},
        {"name over 255 bytes",
         [](TDnsBytes &b, std::size_t) {
             for (int i = 0; i < 5; ++i)
                 b.Label(std::string(60, 'n'));
             b.Byte(0);
         },
         "Malformed response: name longer than 255 bytes"},
        {"cut pointer", [](TDnsBytes &b, std::size_t) { b.Byte(0xC0); },
         "Malformed response: read past the end"},
    };
    for (const Case &c : cases) {
        TDnsBytes answer;
        answer.Header(0x1234, 0x8180, 1, 2).Question("example.test").Mx(5, "ok.example.test");
        answer.RecordStart(12, DnsTypeMX).Word(10);
        c.exchange(answer, answer.Size());
        answer.RecordEnd();
        TMXList list;
        EXPECT_EQ(ParseError(answer.Bytes, &list), c.text) << c.what;
        ASSERT_EQ(list.size(), 1u) << c.what;
        EXPECT_EQ(list[0].Host, "ok.example.test.");
    }
}

TEST(DnsAnswer, PointerChainsThatLoopThroughEarlierNamesAreRefused)
{
    // The question name ends in a pointer to the answer's exchange, which points back to it.
    TDnsBytes answer;
    answer.Header(0x1234, 0x8180, 1, 1).Label("q").Pointer(40).Word(DnsTypeMX).Word(DnsClassIN);
    while (answer.Size() < 40)
        answer.Byte(0);
    answer.Label("a").Pointer(12);
    EXPECT_EQ(ParseError(answer.Bytes), "Malformed response: bad compression pointer");
}

TEST(DnsAnswer, MxDataMustFitItsLength)
{
    TDnsBytes answer;
    answer.Header(0x1234, 0x8180, 1, 2).Question("example.test");
    const std::size_t lengthLow = answer.Size() + 11;
    answer.Mx(5, "a.example.test");
    answer.Bytes[lengthLow] = 3; // shorter than the exchange name that follows
    answer.Mx(10, "b.example.test");
    EXPECT_EQ(ParseError(answer.Bytes), "Malformed response: record longer than its data length");
}

TEST(DnsReply, MatchesOnlyTheQueryItAnswers)
{
    const std::vector<std::uint8_t> query = BuildMxQuery("Example.Test");
    const auto matches = [&](const std::vector<std::uint8_t> &reply) {
        return IsReplyToQuery(query, reply.data(), reply.size());
    };
    EXPECT_TRUE(matches(MxAnswer(0x1234, "example.test", {{5, "mx.example.test"}})));
    EXPECT_TRUE(matches(MxAnswer(0x1234, "EXAMPLE.test", {})));
    EXPECT_FALSE(matches(MxAnswer(0x1235, "example.test", {{5, "mx.example.test"}})));
    EXPECT_FALSE(matches(MxAnswer(0x1234, "other.test", {{5, "mx.other.test"}})));
    EXPECT_FALSE(matches(std::vector<std::uint8_t>(query.begin(), query.begin() + 11)));

    TDnsBytes refused;
    refused.Header(0x1234, 0x8185, 0, 0);
    EXPECT_TRUE(matches(refused.Bytes));
    TDnsBytes empty;
    empty.Header(0x1234, 0x8180, 0, 0);
    EXPECT_FALSE(matches(empty.Bytes));
}
