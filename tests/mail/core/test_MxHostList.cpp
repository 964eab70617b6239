// Text rules of the mail-host lookup: splitting, server lists and the order of host lines.
#include "mail/core/MailHostList.h"

#include <gtest/gtest.h>

using namespace mail;
using Lines = std::vector<std::string>;

TEST(SplitToList, PiecesBetweenDelimitersIgnoringCase)
{
    const struct {
        std::string text;
        std::string delimiter;
        Lines expected;
    } cases[] = {
        {"", ",", {}}, {",a,,b,", ",", {"", "a", "", "b"}}, {"oneANDtwoandthree", "and", {"one", "two", "three"}}
    };
    for (const auto &c : cases) {
        Lines list = {"stale"};
        SplitToList(c.text, c.delimiter, list);
        EXPECT_EQ(list, c.expected) << c.text;
    }
}

TEST(DnsServers, ResolverConfigurationAndListFile)
{
    EXPECT_EQ(ParseResolvConf("# nameserver 127.9.9.9\nsearch example.test\nnameserver 127.0.0.1\r\n"
                              "  nameserver\t::1  # local\nnameserver\nnameservers 127.0.0.11\nnameserver 127.0.0.6;c\n"),
              (Lines{"127.0.0.1", "::1", "127.0.0.6"}));

    EXPECT_EQ(ServersFromListFile({"127.0.0.11, 127.0.0.12,", "", "127.0.0.13\r"}), (Lines{"127.0.0.11", "127.0.0.12", "127.0.0.13"}));
    // What a file cut off anywhere leaves behind is no server.
    EXPECT_EQ(ServersFromListFile({"12,127.0.0.1,8.8.8,::1,1:2", "fe80::1:2:3:4:5:6:7,"}), (Lines{"127.0.0.1", "::1"}));
}

TEST(DnsServers, OnlyFullAddressesAndMailDomainsPass)
{
    for (const char *good : {"255.255.255.255", "::", "1::", "1:2:3:4:5:6:7:8", "1:2:3:4:5:6:127.0.0.1", "FE80::a:b"})
        EXPECT_TRUE(IsIpAddress(good)) << good;
    for (const char *bad : {"", "1.2.3", "1.2.3.4.5", "256.1.1.1", "01.2.3.4", "1..2.3", ":::", "1:2:3:4:5:6:7:8:9",
                            "1::2::3", "12345::", "g::1", "1:2:3:4:5:6:7:1.2.3.4", "fe80::1%eth0"})
        EXPECT_FALSE(IsIpAddress(bad)) << bad;
    for (const char *good : {"example.test", "mail-1.Example.TEST.", "localhost", "a.b"})
        EXPECT_TRUE(IsMailDomain(good)) << good;
    for (const std::string &bad : std::vector<std::string>{"", "a..b", "-a.b", "a-.b", "a.b\r\nRCPT", "caf\xc3\xa9.test",
                                                           std::string(64, 'a') + ".b", std::string(254, 'a')})
        EXPECT_FALSE(IsMailDomain(bad)) << bad;
}

TEST(HostLines, BestFirstThenHostIgnoringCase)
{
    const TMXList records = {{20, "mail2.example.test."}, {5, "mail1.example.test."},
                             {10, "b.example.test."}, {10, "A.example.test."},
                             {10000, "big."}, {9999, "nines."}};
    EXPECT_EQ(BuildHostLines(records),
              (Lines{"   5|mail1.example.test.", "  10|A.example.test.", "  10|b.example.test.",
                     "  20|mail2.example.test.", "9999|nines.", "10000|big."}));
}
