// Text rules of the mail-host lookup: splitting, server lists, domains and host line order.
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
        {"a", ",", {"a"}},
        {"a,b", ",", {"a", "b"}},
        {"a,b,", ",", {"a", "b"}},
        {",a", ",", {"", "a"}},
        {"a,,b", ",", {"a", "", "b"}},
        {"1.1.1.1 2.2.2.2", " ", {"1.1.1.1", "2.2.2.2"}},
        {"oneANDtwoandthree", "and", {"one", "two", "three"}},
        {"abc", "", {"abc"}},
    };
    for (const auto &c : cases) {
        Lines list = {"stale"};
        SplitToList(c.text, c.delimiter, list);
        EXPECT_EQ(list, c.expected) << c.text;
    }
}

TEST(TextForm, LinesBreakAtEveryLineEnd)
{
    EXPECT_EQ(SplitLines("a\r\nb\nc\rd"), (Lines{"a", "b", "c", "d"}));
    EXPECT_EQ(SplitLines("a\r\n\r\n"), (Lines{"a", ""}));
    EXPECT_EQ(SplitLines(""), Lines{});
    Lines list = {"x"};
    AppendThroughText(list, {"y\r\nz", "w"});
    EXPECT_EQ(list, (Lines{"x", "y", "z", "w"}));
}

TEST(ResolvConf, NameserverLinesOnly)
{
    const std::string content = "# nameserver 9.9.9.9\n"
                                "search example.test\n"
                                "nameserver 127.0.0.1\r\n"
                                "  nameserver\t::1  # local\n"
                                "nameserver\n"
                                "nameservers 10.0.0.1\n"
                                "nameserver 127.0.0.2";
    EXPECT_EQ(ParseResolvConf(content), (Lines{"127.0.0.1", "::1", "127.0.0.2"}));
}

TEST(DnsListFile, CommasAndLineBreaksGiveTheSameServers)
{
    const Lines expected = {"10.0.0.1", "10.0.0.2", "10.0.0.3"};
    EXPECT_EQ(ServersFromListFile({"10.0.0.1,10.0.0.2,10.0.0.3"}), expected);
    EXPECT_EQ(ServersFromListFile({"10.0.0.1", "10.0.0.2", "10.0.0.3"}), expected);
    EXPECT_EQ(ServersFromListFile({"10.0.0.1, 10.0.0.2,", "", "10.0.0.3 "}), expected);
    EXPECT_EQ(ServersFromListFile({""}), Lines{});
}

TEST(MailDomain, TextAfterTheFirstAt)
{
    EXPECT_EQ(MailDomainOf("me@example.test"), "example.test");
    EXPECT_EQ(MailDomainOf("a@b@example.test"), "b@example.test");
    EXPECT_EQ(MailDomainOf("example.test"), "example.test");
    EXPECT_EQ(MailDomainOf("me@"), "");
}

TEST(HostLines, BestFirstThenHostIgnoringCase)
{
    EXPECT_EQ(FormatHostLine(10, "mx.example.test."), "  10|mx.example.test.");
    EXPECT_EQ(FormatHostLine(65535, "mx."), "65535|mx.");

    const TMXList records = {{20, "mail2.example.test."}, {5, "mail1.example.test."},
                             {10, "b.example.test."}, {10, "A.example.test."},
                             {10000, "big."}, {9999, "nines."}};
    EXPECT_EQ(BuildHostLines(records),
              (Lines{"   5|mail1.example.test.", "  10|A.example.test.", "  10|b.example.test.",
                     "  20|mail2.example.test.", "9999|nines.", "10000|big."}));
}
