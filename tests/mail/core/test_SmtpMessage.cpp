// The recommendation text, message text, quoted-printable, reply reading and server texts.
#include "mail/core/EmailComposer.h"
#include "mail/core/EncodedWords.h"
#include "mail/core/MailErrors.h"
#include "mail/core/MessageEncoder.h"
#include "mail/core/QuotedPrintable.h"
#include "mail/core/SmtpDialogue.h"
#include "mail/core/SmtpReply.h"

#include <gtest/gtest.h>

using namespace mail;
using Lines = std::vector<std::string>;

namespace {

TmsMessage SimpleMessage()
{
    TmsMessage m;
    m.Sender = TmsMailAddress("Ann", "ann@example.test");
    m.Recipients.Add("", "bob@example.test");
    m.Body = {"First line"};
    return m;
}

// The CR LF lines of the text's headers (part 0) or body (part 1).
Lines Part(const std::string &text, int part)
{
    const std::size_t gap = text.find("\r\n\r\n");
    const std::string piece = part ? text.substr(gap + 4) : text.substr(0, gap + 2);
    Lines lines;
    std::size_t start = 0;
    for (std::size_t pos; (pos = piece.find("\r\n", start)) != std::string::npos; start = pos + 2)
        lines.push_back(piece.substr(start, pos - start));
    EXPECT_EQ(start, piece.size()) << "text must end in CR LF";
    return lines;
}

} // namespace

// An empty subject is left out; extra headers that would repeat a written one are dropped.
TEST(SmtpMessage, WritesHeadersInOrderWithPaddedLabels)
{
    TmsMessage m = SimpleMessage();
    m.Recipients.Add("C. D.", "cd@example.test");
    m.Recipients.Add("A. \"Al\" B", "ab@example.test");
    m.CC.Add("Fay", "fay@example.test");
    m.BCC.Add("Gus", "gus@example.test");
    m.ReturnReceipt = true;
    m.Priority = TmsPriority::ptLow;
    m.Headers = {"X-Mailer: Mapolin", "subject : sneaky", "Content-Type: text/evil", "BCC: all@x", ""};
    EXPECT_EQ(Part(TmsMessageEncoder::Write(m), 0),
              (Lines{"From:     Ann <ann@example.test>", "To:        <bob@example.test>,", "          \"C. D.\" <cd@example.test>,",
                     "          \"A. \\\"Al\\\" B\" <ab@example.test>", "CC:       Fay <fay@example.test>",
                     "Return-Receipt-To: <ann@example.test>", "X-Priority: 5", "X-Mailer: Mapolin", "Mime-Version: 1.0",
                     "Content-Type: text/plain; charset=\"us-ascii\"", "Content-Transfer-Encoding: 7bit"}));
}

// Lines go quoted-printable from 256 bytes on, and HTML always: the delivery to aiosmtpd decodes them.
TEST(SmtpMessage, QuotedPrintableLines)
{
    TmsMessage m = SimpleMessage();
    m.Body = {std::string(255, 'x')};
    EXPECT_EQ(Part(TmsMessageEncoder::Write(m), 0).back(), "Content-Transfer-Encoding: 7bit");
    m.Body = {"short", std::string(256, 'x')};
    const std::string text = TmsMessageEncoder::Write(m);
    EXPECT_EQ(Part(text, 0).back(), "Content-Transfer-Encoding: quoted-printable");

    const std::pair<std::string, std::string> cases[] = {
        {"a=b\tc\xe9 ", "a=3Db=09c=E9=20\r\n"}, {std::string(65, 'a'), std::string(65, 'a') + "\r\n"},
        {std::string(66, 'a'), std::string(65, 'a') + "=\r\na\r\n"},
        {std::string(65, 'a') + ".x", std::string(65, 'a') + "=\r\n..x\r\n"}};
    for (const auto &[line, encoded] : cases) {
        std::string out;
        AppendQuotedPrintableLine(line, out, true);
        EXPECT_EQ(out, encoded) << line;
    }
    std::string out; // the text of the refusal is checked with the client
    EXPECT_NO_THROW(AppendQuotedPrintableLine(std::string(MaxQuotedPrintableLine, 'a'), out, true));
    EXPECT_THROW(AppendQuotedPrintableLine(std::string(MaxQuotedPrintableLine + 1, 'a'), out, true), EMessageError);
}

// Every line ends in CR LF, leading dots are doubled, and a NUL never reaches the wire as it is.
TEST(SmtpMessage, BodyLinesEndInCrLfWithDotsDoubledAndBodyKept)
{
    TmsMessage m = SimpleMessage();
    m.Body = {".", "..two", "bare\nlf", "bare\rcr", "crlf\r\ninside", "trailing\n", "", "end."};
    const Lines wire = {"..", "...two", "bare", "lf", "bare", "cr", "crlf", "inside", "trailing", "", "end."};
    EXPECT_EQ(Part(TmsMessageEncoder::Write(m), 1), wire);
    m.SetContentType("text/html");
    EXPECT_EQ(Part(TmsMessageEncoder::Write(m), 1), wire) << "quoted-printable alike";
    m.Body = {std::string("a\0b", 3)};
    EXPECT_EQ(Part(TmsMessageEncoder::Write(m), 1), Lines{"a=00b"});
}

// Names are quoted or encoded as their characters need; non-ASCII words become encoded words that
// never split a character, on lines of at most 76.
TEST(SmtpMessage, TextBeyondAsciiGoesAsUtf8)
{
    const std::pair<std::string, std::string> names[] = {
        {"Ann Nym", "Ann Nym"}, {"Doe, <J.>", "\"Doe, <J.>\""}, {"A \"B\" C\\D", "\"A \\\"B\\\" C\\\\D\""},
        {"Zo\xc3\xab, \"Z\"", "=?utf-8?Q?Zo=C3=AB=2C_=22Z=22?="}};
    for (const auto &[name, written] : names)
        EXPECT_EQ(EncodeDisplayName(name), written) << name;
    EXPECT_EQ(EncodeUnstructured("Re: Gr\xc3\xbc\xc3\x9f" "e aus K\xc3\xb6ln, Jan"),
              "Re: =?utf-8?Q?Gr=C3=BC=C3=9Fe_aus_K=C3=B6ln=2C?= Jan");
    TmsMessage m = SimpleMessage();
    std::string subject;
    while (subject.size() < 600)
        subject += "\xc3\xa9";
    m.SetSubject(subject);
    m.Sender.SetName(subject);
    EXPECT_EQ(m.Subject().size(), 2 * MaxShortText);
    m.Body = {"caf\xc3\xa9"};
    const std::string text = TmsMessageEncoder::Write(m);
    for (const std::string &line : Part(text, 0)) {
        EXPECT_TRUE((line.size() <= 76 || line.find('<') != std::string::npos) && !line.ends_with("=C3?=")) << line;
        EXPECT_TRUE(line.find("=?utf-8?Q?") == std::string::npos || line.ends_with("?=") || line.ends_with(">")) << line;
    }
    EXPECT_NE(text.find("charset=\"utf-8\"\r\nContent-Transfer-Encoding: quoted-printable\r\n\r\ncaf=C3=A9\r\n"), std::string::npos);
}

TEST(SmtpMessage, RefusesTextsThatWouldBreakOutOfTheirLine)
{
    const std::function<void(TmsMessage &)> faults[] = {
        [](TmsMessage &m) { m.Sender.SetAddress("ann@x\r\nRCPT TO:<evil@x>"); },
        [](TmsMessage &m) { m.Sender.SetAddress("ann@x> SIZE=1"); },
        [](TmsMessage &m) { m.Sender.SetName("A\nBcc: e@x"); },
        [](TmsMessage &m) { m.Recipients.Add("", std::string("bob@x\0y", 7)); },
        [](TmsMessage &m) { m.SetSubject("Hi\r\n\r\nInjected body"); },
        [](TmsMessage &m) { m.SetContentType("text/plain\n"); },
        [](TmsMessage &m) { m.Headers = {"X-A: 1\rX-B: 2"}; }};
    for (std::size_t i = 0; i < std::size(faults); ++i) {
        TmsMessage m = SimpleMessage();
        faults[i](m);
        EXPECT_THROW(TmsMessageEncoder::Write(m), EMessageError) << "case " << i;
    }
}

// A reply ends only at its last line; the rest of a line longer than the
// line buffer is dropped.
TEST(SmtpReply, EndsAtItsLastLineWithinTheLineBuffer)
{
    const std::tuple<std::string, int, std::string, std::size_t> cases[] = { // bytes, code, last line, bytes used
        {"250-a\r\n251 other code\r\n250 end\r\n", 250, "250 end", 32}, {"250-a\r\n250\r\n", 250, "250", 12},
        {"354 go\n", 354, "354 go", 7}, {"221 bye\r\r\n", 221, "221 bye", 10}, {"-12 x\r\n", -1, "-12 x", 7},
        {"250 ok\r\n354 next\r\n", 250, "250 ok", 8},
        {"220 " + std::string(2000, 'x') + "\r\n", 220, "220 " + std::string(TSmtpReplyReader::LineBufferSize - 5, 'x'), 2006}};
    for (const auto &[bytes, code, lastLine, used] : cases) {
        TSmtpReplyReader whole;
        EXPECT_EQ(whole.Feed(bytes), used) << bytes;
        EXPECT_EQ(std::tuple(whole.Complete(), whole.Code(), whole.LastLine()), std::tuple(true, code, lastLine)) << bytes;
    }
}

TEST(SmtpServer, ServerTextGivesHostAndPort)
{
    const auto service = [] { return std::optional<int>(25); };
    EXPECT_EQ(ChoosePort(SplitServer("mail.example.test:2525"), service, 26), 2525);
    EXPECT_EQ(ChoosePort(SplitServer("127.0.0.1"), service, 26), 25);
    EXPECT_EQ(ChoosePort(SplitServer("host:"), [] { return std::optional<int>(); }, 26), 26);
    for (const char *bad : {"host:abc", "host:0", "host:65536"})
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
    EXPECT_EQ(WithAppTitle("AppTitle and APPTITLE", "T"), "T and T");
    EXPECT_TRUE(MapolinEmailFields().Complete());
}
