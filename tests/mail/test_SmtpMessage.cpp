// Message text, quoted-printable, reply reading and the SMTP dialogue, without sockets.
#include "mail/core/MailErrors.h"
#include "mail/core/MessageEncoder.h"
#include "mail/core/QuotedPrintable.h"
#include "mail/core/SmtpDialogue.h"
#include "mail/core/SmtpReply.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <random>
#include <sstream>

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

// Undoes the wire's dot stuffing and quoted-printable, as a receiving client would.
std::string DecodeQuotedPrintable(const std::string &body)
{
    std::string out;
    for (std::string line : Lines(body)) {
        if (!line.empty() && line[0] == '.')
            line.erase(0, 1);
        bool soft = !line.empty() && line.back() == '=';
        if (soft)
            line.pop_back();
        for (std::size_t i = 0; i < line.size(); ++i) {
            if (line[i] == '=') {
                out += char(std::stoi(line.substr(i + 1, 2), nullptr, 16));
                i += 2;
            } else {
                out += line[i];
            }
        }
        if (!soft)
            out += "\n";
    }
    return out;
}

} // namespace

TEST(SmtpMessage, WritesHeadersInOrderWithPaddedLabels)
{
    const std::string text = TmsMessageEncoder::Write(SimpleMessage());
    EXPECT_EQ(text, "From:     Ann <ann@example.test>\r\n"
                    "To:        <bob@example.test>\r\n"
                    "Subject: Hello\r\n"
                    "Mime-Version: 1.0\r\n"
                    "Content-Type: text/plain; charset=\"us-ascii\"\r\n"
                    "Content-Transfer-Encoding: 7bit\r\n"
                    "\r\n"
                    "First line\r\n"
                    "Second line\r\n");
}

TEST(SmtpMessage, QuotesDisplayNamesWithADotAndNoQuote)
{
    const struct {
        const char *name;
        const char *from;
    } cases[] = {
        {"Ann", "From:     Ann <ann@example.test>"},
        {"A. Smith", "From:     \"A. Smith\" <ann@example.test>"},
        {"A. \"Al\" Smith", "From:     A. \"Al\" Smith <ann@example.test>"},
        {"", "From:      <ann@example.test>"},
    };
    for (const auto &c : cases) {
        TmsMessage m = SimpleMessage();
        m.Sender.SetName(c.name);
        EXPECT_EQ(HeaderLines(TmsMessageEncoder::Write(m)).front(), c.from) << c.name;
    }
}

TEST(SmtpMessage, WritesOptionalHeadersAndFiltersOwnOnes)
{
    TmsMessage m = SimpleMessage();
    m.Recipients.Add("C. D.", "cd@example.test");
    m.Recipients.Add("Eve", "eve@example.test");
    m.CC.Add("Fay", "fay@example.test");
    m.BCC.Add("Gus", "gus@example.test");
    m.ReturnReceipt = true;
    m.Priority = TmsPriority::ptHigh;
    m.Headers = {"X-Mailer: Mapolin", "subject : sneaky", "Content-Type: text/evil", "BCC: all@x", "Organization: Us"};
    m.SetSubject("");
    const std::vector<std::string> expected = {
        "From:     Ann <ann@example.test>",
        "To:        <bob@example.test>,",
        "          \"C. D.\" <cd@example.test>,",
        "          Eve <eve@example.test>",
        "CC:       Fay <fay@example.test>",
        "Return-Receipt-To: <ann@example.test>",
        "X-Priority: 1",
        "X-Mailer: Mapolin",
        "Organization: Us",
        "Mime-Version: 1.0",
        "Content-Type: text/plain; charset=\"us-ascii\"",
        "Content-Transfer-Encoding: 7bit",
    };
    EXPECT_EQ(HeaderLines(TmsMessageEncoder::Write(m)), expected);

    m.Priority = TmsPriority::ptLow;
    const auto low = HeaderLines(TmsMessageEncoder::Write(m));
    EXPECT_NE(std::find(low.begin(), low.end(), "X-Priority: 5"), low.end());
}

TEST(SmtpMessage, HtmlAndLongPlainLinesGoQuotedPrintable)
{
    TmsMessage m = SimpleMessage();
    m.SetContentType("Text/HTML");
    EXPECT_EQ(m.ContentType(), "text/html");
    auto headers = HeaderLines(TmsMessageEncoder::Write(m));
    EXPECT_EQ(headers[headers.size() - 2], "Content-Type: text/html");
    EXPECT_EQ(headers.back(), "Content-Transfer-Encoding: quoted-printable");

    m.SetContentType("text/plain");
    m.Body = {std::string(255, 'x')};
    EXPECT_EQ(HeaderLines(TmsMessageEncoder::Write(m)).back(), "Content-Transfer-Encoding: 7bit");
    m.Body = {"short", std::string(256, 'x')};
    const std::string text = TmsMessageEncoder::Write(m);
    EXPECT_EQ(HeaderLines(text).back(), "Content-Transfer-Encoding: quoted-printable");
    EXPECT_EQ(DecodeQuotedPrintable(BodyOf(text)), "short\n" + std::string(256, 'x') + "\n");
}

TEST(SmtpMessage, QuotedPrintableLines)
{
    const struct {
        std::string line;
        std::string encoded;
    } cases[] = {
        {"", "\r\n"},
        {"a=b\tc", "a=3Db=09c\r\n"},
        {"caf\xe9", "caf=E9\r\n"},
        {"ends in space ", "ends in space=20\r\n"},
        {"in the middle", "in the middle\r\n"},
        {".dot", "..dot\r\n"},
        {std::string(65, 'a'), std::string(65, 'a') + "\r\n"},
        {std::string(66, 'a'), std::string(65, 'a') + "=\r\n" + "a\r\n"},
        {std::string(65, 'a') + ".x", std::string(65, 'a') + "=\r\n" + "..x\r\n"},
    };
    for (const auto &c : cases) {
        std::string out;
        AppendQuotedPrintableLine(c.line, out, true);
        EXPECT_EQ(out, c.encoded) << c.line;
    }
}

TEST(SmtpMessage, QuotedPrintableKeepsLineLengthAndRoundTrips)
{
    std::mt19937 random(7);
    for (int round = 0; round < 200; ++round) {
        std::string line(random() % 400, ' ');
        for (char &c : line) {
            c = char(random() % 256);
            if (c == '\r' || c == '\n')
                c = 'x';
        }
        std::string out;
        AppendQuotedPrintableLine(line, out, true);
        for (const std::string &encoded : Lines(out))
            EXPECT_LE(encoded.size(), 77u); // 76 plus a possible stuffed dot
        EXPECT_EQ(DecodeQuotedPrintable(out), line + "\n");
    }

    std::string out;
    EXPECT_NO_THROW(AppendQuotedPrintableLine(std::string(MaxQuotedPrintableLine, 'a'), out, true));
    try {
        AppendQuotedPrintableLine(std::string(MaxQuotedPrintableLine + 1, 'a'), out, true);
        FAIL() << "an over-long line must be refused";
    } catch (const EMessageError &e) {
        EXPECT_STREQ(e.what(), "Paragraph is too large");
    }
}

TEST(SmtpMessage, BodyLinesEndInCrLfWithDotsDoubledAndBodyKept)
{
    TmsMessage m = SimpleMessage();
    m.Body = {".", "..two", "bare\nlf", "bare\rcr", "crlf\r\ninside", "trailing\n", "", "end."};
    const std::vector<std::string> body = m.Body;
    const std::string text = TmsMessageEncoder::Write(m);
    const std::vector<std::string> expected = {"..", "...two", "bare", "lf", "bare", "cr", "crlf", "inside",
                                               "trailing", "", "end."};
    EXPECT_EQ(Lines(BodyOf(text)), expected);
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            EXPECT_EQ(text[i + 1], '\n') << "bare CR at " << i;
        }
        if (text[i] == '\n') {
            EXPECT_EQ(text[i - 1], '\r') << "bare LF at " << i;
        }
    }
    EXPECT_EQ(m.Body, body);
    EXPECT_EQ(TmsMessageEncoder::Write(m), text);

    m.SetContentType("text/html");
    EXPECT_EQ(DecodeQuotedPrintable(BodyOf(TmsMessageEncoder::Write(m))),
              ".\n..two\nbare\nlf\nbare\ncr\ncrlf\ninside\ntrailing\n\nend.\n");
}

TEST(SmtpMessage, RefusesTextsThatWouldBreakOutOfTheirLine)
{
    const std::vector<std::function<void(TmsMessage &)>> faults = {
        [](TmsMessage &m) { m.Sender.SetAddress("ann@x\r\nRCPT TO:<evil@x>"); },
        [](TmsMessage &m) { m.Sender.SetAddress("ann@x> SIZE=1"); },
        [](TmsMessage &m) { m.Sender.SetName("Ann\nBcc: evil@x"); },
        [](TmsMessage &m) { m.Recipients.Add("", std::string("bob@x\0y", 7)); },
        [](TmsMessage &m) { m.CC.Add("Cy\r", "cy@x"); },
        [](TmsMessage &m) { m.BCC.Add("", "<dee@x"); },
        [](TmsMessage &m) { m.SetSubject("Hi\r\n\r\nInjected body"); },
        [](TmsMessage &m) { m.SetContentType("text/plain\n"); },
        [](TmsMessage &m) { m.Headers = {"X-A: 1\rX-B: 2"}; },
    };
    for (std::size_t i = 0; i < faults.size(); ++i) {
        TmsMessage m = SimpleMessage();
        faults[i](m);
        EXPECT_THROW(TmsMessageEncoder::CheckSafe(m), EMessageError) << "case " << i;
        EXPECT_THROW(TmsMessageEncoder::Write(m), EMessageError) << "case " << i;
    }
    EXPECT_NO_THROW(TmsMessageEncoder::CheckSafe(SimpleMessage()));
}

TEST(SmtpMessage, ShortFieldsHoldAtMost255Characters)
{
    TmsMessage m;
    m.SetSubject(std::string(300, 's'));
    m.Sender.SetName(std::string(300, 'n'));
    EXPECT_EQ(m.Subject().size(), 255u);
    EXPECT_EQ(m.Sender.Name().size(), 255u);
}

// ---- Reply reader ----

namespace {

struct ReplyCase {
    std::string bytes;
    int code;
    std::string lastLine;
    std::size_t used; // bytes that belong to the reply
};

const std::vector<ReplyCase> &ReplyCases()
{
    static const std::vector<ReplyCase> cases = {
        {"220 ready\r\n", 220, "220 ready", 11},
        {"220-one\r\n220-two\r\n220 three\r\n", 220, "220 three", 29},
        {"250-a\r\n251 other code\r\n250 end\r\n", 250, "250 end", 32},
        {"250-a\r\n250\r\n", 250, "250", 12},
        {"354 go\n", 354, "354 go", 7},
        {"221 bye\r\r\n", 221, "221 bye", 10},
        {"abc oops\r\n", -1, "abc oops", 10},
        {"25\r\n", -1, "25", 4},
        {"\r\n", -1, "", 2},
        {"-12 x\r\n", -1, "-12 x", 7},
        {"250 ok\r\n354 next\r\n", 250, "250 ok", 8},
        {"500-\r\n500-x\r\n500 y\r\nrest", 500, "500 y", 20},
    };
    return cases;
}

} // namespace

TEST(SmtpReply, ReadsRepliesWholeByteByByteAndNotBeforeTheirEnd)
{
    for (const ReplyCase &c : ReplyCases()) {
        TSmtpReplyReader whole;
        EXPECT_EQ(whole.Feed(c.bytes), c.used) << c.bytes;
        ASSERT_TRUE(whole.Complete()) << c.bytes;
        EXPECT_EQ(whole.Code(), c.code) << c.bytes;
        EXPECT_EQ(whole.LastLine(), c.lastLine) << c.bytes;

        TSmtpReplyReader bytewise;
        std::size_t used = 0;
        for (char b : c.bytes) {
            if (bytewise.Complete())
                break;
            EXPECT_EQ(bytewise.Feed(std::string_view(&b, 1)), 1u);
            ++used;
        }
        EXPECT_EQ(used, c.used) << c.bytes;
        EXPECT_EQ(bytewise.Code(), c.code);
        EXPECT_EQ(bytewise.LastLine(), c.lastLine);

        for (std::size_t n = 0; n < c.used; ++n) {
            TSmtpReplyReader prefix;
            EXPECT_EQ(prefix.Feed(std::string_view(c.bytes).substr(0, n)), n);
            EXPECT_FALSE(prefix.Complete()) << "prefix " << n << " of " << c.bytes;
        }
    }
}

TEST(SmtpReply, LongAndEndlessLinesStayInTheBuffer)
{
    TSmtpReplyReader reader;
    const std::string longLine = "220 " + std::string(2000, 'x') + "\r\n";
    EXPECT_EQ(reader.Feed(longLine), longLine.size());
    ASSERT_TRUE(reader.Complete());
    EXPECT_EQ(reader.Code(), 220);
    EXPECT_EQ(reader.LastLine().size(), TSmtpReplyReader::LineBufferSize - 1);

    reader.Reset();
    const std::string chunk(1 << 16, 'y');
    for (int i = 0; i < 64; ++i)
        reader.Feed(chunk);
    EXPECT_FALSE(reader.Complete());
    reader.Feed("\n");
    EXPECT_TRUE(reader.Complete());
    EXPECT_EQ(reader.LastLine().size(), TSmtpReplyReader::LineBufferSize - 1);
}

// ---- Dialogue ----

namespace {

// Plays a dialogue against scripted replies and records the client's side.
struct Script {
    std::vector<std::string> sent;
    bool mailSent = false;

    void Run(TSmtpDialogue &dialogue, const std::vector<std::pair<int, std::string>> &replies)
    {
        for (const auto &[code, line] : replies) {
            const TSmtpAction action = dialogue.OnReply(code, line);
            switch (action.What) {
            case TSmtpAction::Kind::SendLine:
                sent.push_back(action.Line);
                break;
            case TSmtpAction::Kind::SendText:
                sent.push_back("<text>");
                break;
            case TSmtpAction::Kind::MailSent:
                mailSent = true;
                sent.push_back(action.Line);
                break;
            case TSmtpAction::Kind::Close:
                sent.push_back("<close>");
                break;
            }
        }
    }
};

} // namespace

TEST(SmtpDialogue, WalksTheWholeDelivery)
{
    TmsMessage m = SimpleMessage();
    m.Recipients.Add("", "");
    m.CC.Add("", "cc@example.test");
    m.BCC.Add("", "bcc@example.test");
    TSmtpDialogue dialogue(&m, "me.local");
    Script s;
    s.Run(dialogue, {{220, "220 hi"}, {250, "250 hello"}, {250, "250 ok"}, {250, "250 ok"}, {250, "250 ok"},
                     {251, "251 ok"}, {354, "354 go"}, {250, "250 queued"}, {221, "221 bye"}});
    const std::vector<std::string> expected = {
        "HELO me.local", "MAIL FROM:<ann@example.test>", "RCPT TO:<bob@example.test>", "RCPT TO:<cc@example.test>",
        "RCPT TO:<bcc@example.test>", "DATA", "<text>", "QUIT", "<close>"};
    EXPECT_EQ(s.sent, expected);
    EXPECT_TRUE(s.mailSent);
    EXPECT_EQ(dialogue.MessageText(), TmsMessageEncoder::Write(m));
}

TEST(SmtpDialogue, FallsBackToBareHelo)
{
    TmsMessage m = SimpleMessage();
    TSmtpDialogue dialogue(&m, "me.local");
    Script s;
    s.Run(dialogue, {{220, "220 hi"}, {501, "501 bad name"}, {250, "250 ok"}});
    EXPECT_EQ(s.sent, (std::vector<std::string>{"HELO me.local", "HELO", "MAIL FROM:<ann@example.test>"}));

    TSmtpDialogue refused(&m, "me.local");
    Script r;
    r.Run(refused, {{220, "220 hi"}, {501, "501 bad name"}});
    try {
        refused.OnReply(502, "502 no HELO at all");
        FAIL();
    } catch (const EServerError &e) {
        EXPECT_EQ(e.Code, 502);
        EXPECT_STREQ(e.what(), "502 no HELO at all");
    }
}

TEST(SmtpDialogue, NegativeRepliesEndWithTheServersLine)
{
    const struct {
        std::vector<std::pair<int, std::string>> replies;
        const char *error;
    } cases[] = {
        {{{554, "554 go away"}}, "554 go away"},
        {{{-1, "garbage"}}, "garbage"},
        {{{220, ""}, {250, ""}, {553, "553 sender rejected"}}, "553 sender rejected"},
        {{{220, ""}, {250, ""}, {250, ""}, {550, "550 no such user"}}, "550 no such user"},
        {{{220, ""}, {250, ""}, {250, ""}, {250, ""}, {250, "250 not a go-ahead"}}, "250 not a go-ahead"},
        {{{220, ""}, {250, ""}, {250, ""}, {250, ""}, {354, ""}, {552, "552 too big"}}, "552 too big"},
        {{{220, ""}, {250, ""}, {250, ""}, {250, ""}, {354, ""}, {250, ""}, {421, "421 closing"}}, "421 closing"},
    };
    for (const auto &c : cases) {
        TmsMessage m = SimpleMessage();
        TSmtpDialogue dialogue(&m, "me");
        bool thrown = false;
        for (const auto &[code, line] : c.replies) {
            try {
                dialogue.OnReply(code, line);
            } catch (const EServerError &e) {
                EXPECT_STREQ(e.what(), c.error);
                EXPECT_EQ(e.Code, code);
                thrown = true;
            }
        }
        EXPECT_TRUE(thrown) << c.error;
    }
}

TEST(SmtpDialogue, RejectedRecipientMayProceed)
{
    TmsMessage m = SimpleMessage();
    m.Recipients.Add("", "second@example.test");
    std::vector<std::string> rejected;
    TSmtpDialogue dialogue(&m, "me", [&rejected](const std::string &address, const std::string &reply, bool &proceed) {
        EXPECT_FALSE(proceed);
        rejected.push_back(address + " " + reply);
        proceed = true;
    });
    Script s;
    s.Run(dialogue, {{220, ""}, {250, ""}, {250, ""}, {550, "550 unknown"}, {250, ""}});
    EXPECT_EQ(rejected, std::vector<std::string>{"bob@example.test 550 unknown"});
    EXPECT_EQ(s.sent.back(), "DATA");
}

TEST(SmtpDialogue, ChecksTheMessageAfterHelo)
{
    const auto checkAfterHelo = [](const TmsMessage *m, const std::string &error) {
        TSmtpDialogue dialogue(m, "me");
        dialogue.OnReply(220, "220 hi");
        try {
            dialogue.OnReply(250, "250 hello");
            FAIL() << error;
        } catch (const EMailError &e) {
            EXPECT_EQ(e.what(), error);
        }
    };
    checkAfterHelo(nullptr, "MailMessage property must be assigned");
    TmsMessage noSender = SimpleMessage();
    noSender.Sender.SetAddress("");
    checkAfterHelo(&noSender, "The address of sender is required");
    TmsMessage noRecipient = SimpleMessage();
    noRecipient.Recipients.Clear();
    noRecipient.CC.Add("Named", "");
    checkAfterHelo(&noRecipient, "At least one Recipient, CC or BCC must be entered");
    TmsMessage tooLong = SimpleMessage();
    tooLong.SetContentType("text/html");
    tooLong.Body = {std::string(MaxQuotedPrintableLine + 1, 'z')};
    checkAfterHelo(&tooLong, "Paragraph is too large");
}

TEST(SmtpDialogue, ServerTextGivesHostAndPort)
{
    const auto service = [] { return std::optional<int>(25); };
    const auto noService = [] { return std::optional<int>(); };
    EXPECT_EQ(SplitServer("mail.example.test:2525").Host, "mail.example.test");
    EXPECT_EQ(ChoosePort(SplitServer("mail.example.test:2525"), service, 26), 2525);
    EXPECT_EQ(ChoosePort(SplitServer("127.0.0.1"), service, 26), 25);
    EXPECT_EQ(ChoosePort(SplitServer("127.0.0.1"), noService, 26), 26);
    EXPECT_EQ(ChoosePort(SplitServer("host:"), noService, 26), 26);
    for (const char *bad : {"host:abc", "host:0", "host:65536", "host:25x", "host:-1"})
        EXPECT_THROW(SplitServer(bad), ESocketError) << bad;
}

TEST(SmtpErrors, EveryListedCodeHasItsText)
{
    std::vector<int> codes = {10004, 10009, 10013, 10014, 10022, 10024, 10091, 10092, 10093, 10094,
                              11001, 11002, 11003, 11004};
    for (int code = 10035; code <= 10071; ++code)
        codes.push_back(code);
    for (int code : codes) {
        const std::string text = SocketErrorText(code);
        EXPECT_EQ(text.rfind("[" + std::to_string(code) + "] ", 0), 0u) << text;
        EXPECT_GT(text.size(), 8u) << text;
    }
    EXPECT_EQ(SocketErrorText(10000), "[0] No Error");
    EXPECT_EQ(SocketErrorText(10061), "[10061] Connection refused");
    EXPECT_EQ(SocketErrorText(57002), "Server property is required");
    EXPECT_EQ(SocketErrorText(57101), "At least one Recipient, CC or BCC must be entered");
    EXPECT_EQ(SocketErrorText(12345), "Error #12345");
    EXPECT_EQ(SocketCodeFromErrno(ECONNREFUSED), 10061);
    EXPECT_EQ(SocketCodeFromErrno(ETIMEDOUT), 10060);
    EXPECT_EQ(SocketCodeFromErrno(EHOSTUNREACH), 10065);
    EXPECT_EQ(ESocketError(SocketCodeFromErrno(ECONNRESET)).what(), std::string("[10054] Connection reset by peer"));
}
