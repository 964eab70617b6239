// The recommendation text, message text, quoted-printable, reply reading and server texts.
#include "QuotedPrintableDecode.h"

#include "mail/core/EmailComposer.h"
#include "mail/core/EncodedWords.h"
#include "mail/core/MailErrors.h"
#include "mail/core/MessageEncoder.h"
#include "mail/core/QuotedPrintable.h"
#include "mail/core/SmtpDialogue.h"
#include "mail/core/SmtpReply.h"

#include <gtest/gtest.h>

#include <random>

using namespace mail;

namespace {

TmsMessage SimpleMessage()
{
    TmsMessage m;
    m.Sender = TmsMailAddress("Ann", "ann@example.test");
    m.Recipients.Add("", "bob@example.test");
    m.SetSubject("Hello");
    m.Body = {"First line", "Second line"};
    return m;
}

std::vector<std::string> Lines(const std::string &text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t pos; (pos = text.find("\r\n", start)) != std::string::npos; start = pos + 2)
        lines.push_back(text.substr(start, pos - start));
    EXPECT_EQ(start, text.size()) << "text must end in CR LF";
    return lines;
}

std::vector<std::string> HeaderLines(const std::string &text)
{
    return Lines(text.substr(0, text.find("\r\n\r\n") + 2));
}

std::string BodyOf(const std::string &text)
{
    return text.substr(text.find("\r\n\r\n") + 4);
}

} // namespace

TEST(SmtpMessage, WritesHeadersInOrderWithPaddedLabels)
{
    EXPECT_EQ(TmsMessageEncoder::Write(SimpleMessage()),
              "From:     Ann <ann@example.test>\r\nTo:        <bob@example.test>\r\nSubject: Hello\r\n"
              "Mime-Version: 1.0\r\nContent-Type: text/plain; charset=\"us-ascii\"\r\n"
              "Content-Transfer-Encoding: 7bit\r\n\r\nFirst line\r\nSecond line\r\n");

    TmsMessage m = SimpleMessage();
    m.Recipients.Add("C. D.", "cd@example.test");
    m.Recipients.Add("A. \"Al\" B", "ab@example.test");
    m.CC.Add("Fay", "fay@example.test");
    m.BCC.Add("Gus", "gus@example.test");
    m.ReturnReceipt = true;
    m.Priority = TmsPriority::ptLow;
    m.Headers = {"X-Mailer: Mapolin", "subject : sneaky", "Content-Type: text/evil", "BCC: all@x", ""};
    m.SetSubject("");
    const std::vector<std::string> expected = {
        "From:     Ann <ann@example.test>",
        "To:        <bob@example.test>,",
        "          \"C. D.\" <cd@example.test>,",
        "          \"A. \\\"Al\\\" B\" <ab@example.test>",
        "CC:       Fay <fay@example.test>",
        "Return-Receipt-To: <ann@example.test>",
        "X-Priority: 5",
        "X-Mailer: Mapolin",
        "Mime-Version: 1.0",
        "Content-Type: text/plain; charset=\"us-ascii\"",
        "Content-Transfer-Encoding: 7bit",
    };
    EXPECT_EQ(HeaderLines(TmsMessageEncoder::Write(m)), expected);
}

// HTML always goes quoted-printable: the delivery to aiosmtpd checks that.
TEST(SmtpMessage, QuotedPrintableLines)
{
    TmsMessage m = SimpleMessage();
    m.Body = {std::string(255, 'x')};
    EXPECT_EQ(HeaderLines(TmsMessageEncoder::Write(m)).back(), "Content-Transfer-Encoding: 7bit");
    m.Body = {"short", std::string(256, 'x')};
    const std::string text = TmsMessageEncoder::Write(m);
    EXPECT_EQ(HeaderLines(text).back(), "Content-Transfer-Encoding: quoted-printable");
    EXPECT_EQ(DecodeQuotedPrintable(BodyOf(text), true), "short\n" + std::string(256, 'x') + "\n");

    const std::pair<std::string, std::string> cases[] = {
        {"", "\r\n"}, {"a=b\tc", "a=3Db=09c\r\n"}, {"caf\xe9", "caf=E9\r\n"}, {"ends in space ", "ends in space=20\r\n"},
        {".dot", "..dot\r\n"}, {std::string(65, 'a'), std::string(65, 'a') + "\r\n"},
        {std::string(66, 'a'), std::string(65, 'a') + "=\r\na\r\n"},
        {std::string(65, 'a') + ".x", std::string(65, 'a') + "=\r\n..x\r\n"},
    };
    for (const auto &[line, encoded] : cases) {
        std::string out;
        AppendQuotedPrintableLine(line, out, true);
        EXPECT_EQ(out, encoded) << line;
    }

    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        std::string line(random() % 400, ' ');
        for (char &c : line)
            c = char(random() % 256);
        std::string out;
        AppendQuotedPrintableLine(line, out, true);
        for (const std::string &encoded : Lines(out))
            EXPECT_LE(encoded.size(), 77u); // 76 plus a possible stuffed dot
        EXPECT_EQ(DecodeQuotedPrintable(out, true), line + "\n");
    }

    std::string out; // the text of the refusal is checked with the client
    EXPECT_NO_THROW(AppendQuotedPrintableLine(std::string(MaxQuotedPrintableLine, 'a'), out, true));
    EXPECT_THROW(AppendQuotedPrintableLine(std::string(MaxQuotedPrintableLine + 1, 'a'), out, true), EMessageError);
}

TEST(SmtpMessage, BodyLinesEndInCrLfWithDotsDoubledAndBodyKept)
{
    TmsMessage m = SimpleMessage();
    m.Body = {".", "..two", "bare\nlf", "bare\rcr", "crlf\r\ninside", "trailing\n", "", "end."};
    const std::string text = TmsMessageEncoder::Write(m);
    const std::vector<std::string> expected = {"..", "...two", "bare", "lf", "bare", "cr", "crlf", "inside",
                                               "trailing", "", "end."};
    EXPECT_EQ(Lines(BodyOf(text)), expected); // no bare CR or LF is left inside a line

    m.SetContentType("text/html");
    EXPECT_EQ(DecodeQuotedPrintable(BodyOf(TmsMessageEncoder::Write(m)), true),
              ".\n..two\nbare\nlf\nbare\ncr\ncrlf\ninside\ntrailing\n\nend.\n");
}

TEST(SmtpMessage, DisplayNamesAreQuotedOrEncodedAsTheirCharactersNeed)
{
    const std::pair<std::string, std::string> cases[] = {
        {"Ann Nym", "Ann Nym"}, {"Ann O. Nym", "\"Ann O. Nym\""}, {"Doe, John", "\"Doe, John\""},
        {"Eve <eve@x>", "\"Eve <eve@x>\""},
        {"A \"B\" C\\D", "\"A \\\"B\\\" C\\\\D\""},
        {"Zo\xc3\xab, \"Z\"", "=?utf-8?Q?Zo=C3=AB=2C_=22Z=22?="},
    };
    for (const auto &[name, written] : cases)
        EXPECT_EQ(EncodeDisplayName(name), written) << name;
}

// Non-ASCII words become encoded words that never split a character, on lines of at most 76.
TEST(SmtpMessage, TextBeyondAsciiGoesAsUtf8)
{
    EXPECT_EQ(EncodeUnstructured("Hello there"), "Hello there");
    EXPECT_EQ(EncodeUnstructured("Re: Gr\xc3\xbc\xc3\x9f" "e aus K\xc3\xb6ln, Jan"),
              "Re: =?utf-8?Q?Gr=C3=BC=C3=9Fe_aus_K=C3=B6ln=2C?= Jan");
    TmsMessage m = SimpleMessage();
    std::string subject;
    for (int i = 0; i < 300; ++i)
        subject += "\xc3\xa9";
    m.SetSubject(subject);
    m.Sender.SetName(subject);
    EXPECT_EQ(m.Subject().size(), 2 * MaxShortText);
    m.Body = {"caf\xc3\xa9", "plain"};
    const std::string text = TmsMessageEncoder::Write(m);
    for (const std::string &line : HeaderLines(text)) {
        EXPECT_TRUE((line.size() <= 76 || line.find('<') != std::string::npos) && !line.ends_with("=C3?=")) << line;
        EXPECT_TRUE(line.find("=?utf-8?Q?") == std::string::npos || line.ends_with("?=") || line.ends_with(">")) << line;
    }
    EXPECT_NE(text.find("Content-Type: text/plain; charset=\"utf-8\"\r\nContent-Transfer-Encoding: quoted-printable"),
              std::string::npos);
    EXPECT_EQ(DecodeQuotedPrintable(BodyOf(text), true), "caf\xc3\xa9\nplain\n");

    // A NUL never reaches the wire as it is, whatever else the text holds.
    m = SimpleMessage();
    m.Body = {std::string("a\0b", 3)};
    EXPECT_EQ(BodyOf(TmsMessageEncoder::Write(m)), "a=00b\r\n");
    m.SetContentType("text/html");
    EXPECT_EQ(HeaderLines(TmsMessageEncoder::Write(m))[4], "Content-Type: text/html");
}

TEST(SmtpMessage, RefusesTextsThatWouldBreakOutOfTheirLine)
{
    const std::vector<std::function<void(TmsMessage &)>> faults = {
        [](TmsMessage &m) { m.Sender.SetAddress("ann@x\r\nRCPT TO:<evil@x>"); },
        [](TmsMessage &m) { m.Sender.SetAddress("ann@x> SIZE=1"); },
        [](TmsMessage &m) { m.Sender.SetName("A\nBcc: e@x"); },
        [](TmsMessage &m) { m.Recipients.Add("", std::string("bob@x\0y", 7)); },
        [](TmsMessage &m) { m.BCC.Add("Cy\r", "cy@x"); },
        [](TmsMessage &m) { m.SetSubject("Hi\r\n\r\nInjected body"); },
        [](TmsMessage &m) { m.SetContentType("text/plain\n"); },
        [](TmsMessage &m) { m.Headers = {"X-A: 1\rX-B: 2"}; },
    };
    for (std::size_t i = 0; i < faults.size(); ++i) {
        TmsMessage m = SimpleMessage();
        faults[i](m);
        EXPECT_THROW(TmsMessageEncoder::Write(m), EMessageError) << "case " << i;
    }
}

TEST(SmtpReply, ReadsRepliesWholeByteByByteAndNotBeforeTheirEndWithinTheLineBuffer)
{
    const struct {
        std::string bytes;
        int code;
        std::string lastLine;
        std::size_t used; // bytes that belong to the reply
    } cases[] = {
        {"220 ready\r\n", 220, "220 ready", 11},
        {"220-one\r\n220-two\r\n220 three\r\n", 220, "220 three", 29},
        {"250-a\r\n251 other code\r\n250 end\r\n", 250, "250 end", 32},
        {"250-a\r\n250\r\n", 250, "250", 12},
        {"354 go\n", 354, "354 go", 7},
        {"221 bye\r\r\n", 221, "221 bye", 10},
        {"abc oops\r\n", -1, "abc oops", 10},
        {"25\r\n", -1, "25", 4},
        {"-12 x\r\n", -1, "-12 x", 7},
        {"250 ok\r\n354 next\r\n", 250, "250 ok", 8},
        // The rest of a line longer than the line buffer is dropped.
        {"220 " + std::string(2000, 'x') + "\r\n", 220, "220 " + std::string(TSmtpReplyReader::LineBufferSize - 5, 'x'),
         2006},
    };
    for (const auto &c : cases) {
        TSmtpReplyReader whole;
        EXPECT_EQ(whole.Feed(c.bytes), c.used) << c.bytes;
        EXPECT_TRUE(whole.Complete()) << c.bytes;
        EXPECT_EQ(whole.Code(), c.code) << c.bytes;
        EXPECT_EQ(whole.LastLine(), c.lastLine) << c.bytes;

        TSmtpReplyReader bytewise;
        std::size_t used = 0;
        for (; used < c.bytes.size() && !bytewise.Complete(); ++used) {
            EXPECT_EQ(bytewise.Feed(std::string_view(c.bytes).substr(used, 1)), 1u);
        }
        EXPECT_EQ(used, c.used) << c.bytes;
        EXPECT_EQ(bytewise.LastLine(), c.lastLine);
    }
}

TEST(SmtpServer, ServerTextGivesHostAndPort)
{
    const auto service = [] { return std::optional<int>(25); };
    const auto noService = [] { return std::optional<int>(); };
    EXPECT_EQ(SplitServer("mail.example.test:2525").Host, "mail.example.test");
    EXPECT_EQ(ChoosePort(SplitServer("mail.example.test:2525"), service, 26), 2525);
    EXPECT_EQ(ChoosePort(SplitServer("127.0.0.1"), service, 26), 25);
    EXPECT_EQ(ChoosePort(SplitServer("host:"), noService, 26), 26);
    for (const char *bad : {"host:abc", "host:0", "host:65536", "host:25x"})
        EXPECT_THROW(SplitServer(bad), ESocketError) << bad;
}

TEST(EmailText, BothFormsPieceByPiece)
{
    const TEmailFields fields = {"T", "http://u.test/", "D.", "L."};
    EXPECT_EQ(ComposeMessage(fields, "Ann", "Bob", "Hi\r\nthere", false).Text,
              "Hello Bob, \r\nAnn wanted to let you know about T, D.  It's available for downloading from Tembrel "
              "Software's Web Site.\r\n\r\nJust point your Web Browser to http://u.test/\r\n"
              "\r\nAnn also wanted to send you a special message: \r\n\r\nHi\r\nthere\r\n"
              "\r\nWhat is T?\r\n\r\nL.\r\n\r\n");
    const TComposedMessage html = ComposeMessage(fields, SenderForText(""), "", "", true);
    EXPECT_EQ(html.ContentType, "text/HTML");
    EXPECT_EQ(html.Text, "<HTML>\r\n<BODY>\r\n\r\n<P>Hello , <BR>A friend wanted to let you know about T, D.  It's "
                         "available for downloading from Tembrel Software's Web Site.<BR>\r\n\r\n<P><A "
                         "HREF=\"http://u.test/\">Click here to download T</A><BR>\r\nor point your Web Browser to "
                         "http://u.test/<BR>\r\n\r\n<P><H2>What is T?</H2>\r\n\r\nL.\r\n\r\n</BODY>\r\n</HTML>");
    EXPECT_NE(ComposeMessage(fields, "A", "B", "<b>M</b>", true).Text.find("/<BR>\r\n\r\n<P>A also wanted to send you "
                                                                              "a special message: <BR>\r\n\r\n<PRE>\r\n"
                                                                              "<b>M</b>\r\n</PRE>\r\n\r\n<P><H2>"),
              std::string::npos);
    EXPECT_EQ(WithAppTitle("AppTitle and APPTITLE", "T"), "T and T");
    EXPECT_TRUE(MapolinEmailFields().Complete());
}
