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
        {"", ",", {}},
        {"a,b,", ",", {"a", "b"}},
        {",a,,b", ",", {"", "a", "", "b"}},
        {"oneANDtwoandthree", "and", {"one", "two", "three"}},
        {"abc", "", {"abc"}},
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
                              "  nameserver\t::1  # local\nnameserver\nnameservers 127.0.0.11\n"),
              (Lines{"127.0.0.1", "::1"}));

    EXPECT_EQ(ServersFromListFile({"127.0.0.11, 127.0.0.12,", "", "127.0.0.13\r"}), (Lines{"127.0.0.11", "127.0.0.12", "127.0.0.13"}));
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
