// TmsSMTP over real sockets against in-process fakes; whole deliveries to aiosmtpd are the e-mail
// window's end-to-end test.
#include "FakePeers.h"
#include "support/ErrorText.h"

#include "mail/Smtp.h"
#include "mail/core/QuotedPrintable.h"

#include <QHostInfo>
#include <QTimer>

using namespace mail;

namespace {

TmsMessage TestMessage()
{
    TmsMessage m;
    m.Sender = TmsMailAddress("Ann O. Nym", "ann@example.test");
    m.Recipients.Add("", "bob@example.test");
    m.Body = {"Hello Bob,", ".", "", "Bye"};
    return m;
}

// One client and one test message, with a short time-out.
class SmtpClient : public ::testing::Test {
protected:
    void SetUp() override
    {
        smtp.TimeOut = 5;
        smtp.MailMessage = &message;
    }
    // Sends to the fake and returns the error text, or "" on success.
    std::string SendTo(const FakeSmtpServer &fake)
    {
        smtp.Server = fake.Server();
        return ErrorText<EMailError>([this] { smtp.Send(); });
    }

    TmsMessage message = TestMessage();
    TmsSMTP smtp;
};

} // namespace

// Each fake changes one answer and shows what the client sent up to the end. The empty recipient
// is skipped; the mail counts as sent, before QUIT, once the text is accepted.
TEST_F(SmtpClient, FollowsTheDialogueAndStopsAtANegativeReply)
{
    message.Recipients.Add("", "");
    message.CC.Add("", "cc@example.test");
    message.BCC.Add("", "bcc@example.test");
    const QByteArray helo = "HELO " + QHostInfo::localHostName().toUtf8();
    const QList<QByteArray> all = {helo, "MAIL FROM:<ann@example.test>", "RCPT TO:<bob@example.test>",
                                   "RCPT TO:<cc@example.test>", "RCPT TO:<bcc@example.test>", "DATA", "<text>",
                                   "<mail sent>", "QUIT"};
    const QByteArray ready = "220 fake ready\r\n";
    const struct {
        QByteArray greeting, command, reply;
        std::string error;
        qsizetype sent; // how many of the lines above reach the server
    } cases[] = {
        {"220-fake.example.test\r\n220-" + QByteArray(2000, 'g') + "\r\n220 ready\r\n", "HELO", "250 hello\r\n", "", 9},
        {ready, "RCPT TO:<cc", "251 will forward\r\n", "", 9},
        {"554 go away\r\n", "", "", "554 go away", 0}, {"garbage\r\n", "", "", "garbage", 0},
        {ready, "MAIL", "553 sender rejected\r\n", "553 sender rejected", 2},
        {ready, "RCPT", "550 5.1.1 no such user\r\n", "550 5.1.1 no such user", 3},
        {ready, "DATA", "250 not a go-ahead\r\n", "250 not a go-ahead", 6}, {ready, ".", "552 too big\r\n", "552 too big", 7},
        {ready, "QUIT", "554 not today\r\n", "554 not today", 9}, {ready, "HELO ", "501 name refused\r\n", "", 9}};
    for (const auto &c : cases) {
        FakeSmtpServer fake(c.greeting, c.command, c.reply);
        smtp.OnMailSent = [&fake] { fake.Received.append("<mail sent>"); };
        EXPECT_EQ(SendTo(fake), c.error);
        EXPECT_TRUE(WaitUntil([&fake] { return fake.ClientClosed; }, 3000)) << c.error;
        // A refused "HELO host" is retried bare.
        EXPECT_EQ(fake.Received, c.command == "HELO " ? (QList<QByteArray>{helo, "HELO"} + all.mid(1)) : all.mid(0, c.sent));
    }
}

// Setup errors are told before connecting, or after HELO for the message's own faults (a line that
// would inject a command is refused before connecting: see the e-mail window's end-to-end test).
TEST_F(SmtpClient, ChecksTheSetupAndTheMessage)
{
    smtp.Server = QString("127.0.0.1:%1").arg(FreeTcpPort());
    EXPECT_EQ(ErrorText<ESocketError>([this] { smtp.Send(); }), "[10061] Connection refused");
    smtp.Server = "";
    EXPECT_EQ(ErrorText<EMailError>([this] { smtp.Send(); }), "Server property is required");
    const std::pair<std::function<void()>, std::string> cases[] = {
        {[this] { smtp.MailMessage = nullptr; }, "MailMessage property must be assigned"},
        {[this] { message.Sender.SetAddress(""); }, "The address of sender is required"},
        {[this] { message.Recipients.Clear(), message.CC.Add("Named", ""); }, "At least one Recipient, CC or BCC must be entered"},
        {[this] { message.SetContentType("text/html"), message.Body = {std::string(MaxQuotedPrintableLine + 1, 'z')}; },
         "Paragraph is too large"}};
    for (const auto &[spoil, error] : cases) {
        FakeSmtpServer fake;
        message = TestMessage();
        smtp.MailMessage = &message;
        spoil();
        EXPECT_EQ(SendTo(fake), error);
        EXPECT_EQ(fake.Received, QList<QByteArray>{"HELO " + QHostInfo::localHostName().toUtf8()}) << error;
        EXPECT_EQ(fake.Connections, 1) << error;
    }
}

// A refused recipient fails the send (see the dialogue above) unless the handler proceeds.
TEST_F(SmtpClient, RefusedRecipientIsSkippedWhenTheHandlerProceeds)
{
    FakeSmtpServer fake("220 fake ready\r\n", "RCPT TO:<bob@", "550 5.1.1 no such user\r\n");
    message.Recipients.Add("", "carol@example.test");
    std::string rejected;
    smtp.OnAddressRejected = [&rejected](const std::string &address, const std::string &reply, bool &proceed) {
        rejected = address + " | " + reply + (proceed ? " | proceed" : "");
        proceed = true;
    };
    EXPECT_EQ(SendTo(fake), "");
    EXPECT_EQ(rejected, "bob@example.test | 550 5.1.1 no such user");
    EXPECT_TRUE(fake.Received.contains("<text>"));
}

// Silence or an endless line time out; Cancel ends the wait at once, from the success handler
// before QUIT, and the next Send starts afresh.
TEST_F(SmtpClient, TimesOutOrIsCancelledAndTheNextSendStartsFresh)
{
    smtp.TimeOut = 1;
    QElapsedTimer clock;
    for (const QByteArray &greeting : {QByteArray(), QByteArray(300000, 'x')}) {
        FakeSmtpServer fake(greeting);
        clock.start();
        EXPECT_EQ(SendTo(fake), "Operation timed out");
        EXPECT_GE(clock.elapsed(), 900);
        EXPECT_LT(clock.elapsed(), 4000);
        EXPECT_TRUE(WaitUntil([&fake] { return fake.ClientClosed; }, 3000));
    }
    FakeSmtpServer silent("");
    smtp.TimeOut = 20;
    QTimer::singleShot(300, &smtp, [this] { smtp.Cancel(); });
    clock.start();
    EXPECT_EQ(SendTo(silent), "Operation has been canceled");
    EXPECT_LT(clock.elapsed(), 3000);

    FakeSmtpServer answering;
    smtp.OnMailSent = [this] { smtp.Cancel(); };
    EXPECT_EQ(SendTo(answering), "Operation has been canceled");
    EXPECT_EQ(answering.Received.last(), "<text>");
    smtp.OnMailSent = nullptr;
    EXPECT_EQ(SendTo(answering), "");
}
