// TmsSMTP over real sockets: aiosmtpd for whole deliveries, in-process fakes for what it won't do.
#include "AiosmtpdPeer.h"
#include "QuotedPrintableDecode.h"

#include "mail/Smtp.h"
#include "mail/core/MailErrors.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QHostInfo>
#include <QTcpServer>
#include <QTimer>
#include <gtest/gtest.h>

#include <memory>
#include <optional>

using namespace mail;

namespace {

void ProcessEventsFor(int ms, const std::function<bool()> &until = {})
{
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms && !(until && until())) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(5);
    }
}

// A scripted SMTP server in this process; it answers commands while the client waits.
class FakeSmtpServer : public QObject {
public:
    explicit FakeSmtpServer(QByteArray greeting = "220 fake ready\r\n") : greeting_(std::move(greeting))
    {
        server_.listen(QHostAddress::LocalHost, 0);
        QObject::connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *client = server_.nextPendingConnection()) {
                ++Connections;
                ClientClosed = false;
                buffer_.clear();
                inData_ = false;
                QObject::connect(client, &QTcpSocket::readyRead, this, [this, client] { Read(client); });
                QObject::connect(client, &QTcpSocket::disconnected, this, [this] { ClientClosed = true; });
                client->write(greeting_);
            }
        });
    }

    QString Server() const { return QString("127.0.0.1:%1").arg(server_.serverPort()); }
    quint16 Port() const { return server_.serverPort(); }

    // An answer of its own for a command line; std::nullopt keeps the usual one, "" gives none.
    std::function<std::optional<QByteArray>(const QByteArray &line)> Reply;
    QList<QByteArray> Received;
    QByteArray Data;
    int Connections = 0;
    bool ClientClosed = false;

private:
    void Read(QTcpSocket *client)
    {
        buffer_ += client->readAll();
        for (qsizetype end; (end = buffer_.indexOf("\r\n")) >= 0;) {
            const QByteArray line = buffer_.left(end);
            buffer_.remove(0, end + 2);
            if (inData_) {
                if (line == ".") {
                    inData_ = false;
                    Received.append("<text>");
                    Answer(client, line, "250 queued\r\n");
                } else {
                    Data += line + "\r\n";
                }
                continue;
            }
            Received.append(line);
            if (line == "DATA") {
                inData_ = true;
                Data.clear();
                Answer(client, line, "354 go ahead\r\n");
            } else if (line == "QUIT") {
                Answer(client, line, "221 bye\r\n");
            } else {
                Answer(client, line, "250 ok\r\n");
            }
        }
    }

    void Answer(QTcpSocket *client, const QByteArray &line, const QByteArray &usual)
    {
        const std::optional<QByteArray> own = Reply ? Reply(line) : std::nullopt;
        client->write(own ? *own : usual);
    }

    QTcpServer server_;
    QByteArray greeting_;
    QByteArray buffer_;
    bool inData_ = false;
};

TmsMessage TestMessage()
{
    TmsMessage m;
    m.Sender = TmsMailAddress("Ann O. Nym", "ann@example.test");
    m.Recipients.Add("", "bob@example.test");
    m.SetSubject("Have a look");
    m.Body = {"Hello Bob,", ".", "..two dots", "", "Bye"};
    return m;
}

// Runs Send and returns the error text, or "" on success.
std::string SendAndCatch(TmsSMTP &smtp)
{
    try {
        smtp.Send();
    } catch (const EMailError &e) {
        return e.what();
    }
    return {};
}

QByteArray HeaderValue(const QByteArray &message, const QByteArray &name)
{
    for (const QByteArray &line : message.left(message.indexOf("\n\n")).split('\n'))
        if (line.startsWith(name + ":"))
            return line.mid(name.size() + 1).trimmed();
    return {};
}

QByteArray BodyOf(const QByteArray &message)
{
    return message.mid(message.indexOf("\n\n") + 2);
}

// A fake server answering as usual unless a command is given its own answer.
std::function<std::optional<QByteArray>(const QByteArray &)> Answering(const QByteArray &command, const QByteArray &reply)
{
    return [command, reply](const QByteArray &line) -> std::optional<QByteArray> {
        if (line.startsWith(command))
            return reply;
        return std::nullopt;
    };
}

} // namespace

class SmtpAiosmtpd : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        peer_ = std::make_unique<TAiosmtpdPeer>();
        if (!peer_->Start())
            peer_.reset();
    }
    static void TearDownTestSuite() { peer_.reset(); }

    static std::unique_ptr<TAiosmtpdPeer> peer_;
};

std::unique_ptr<TAiosmtpdPeer> SmtpAiosmtpd::peer_;

TEST_F(SmtpAiosmtpd, DeliversPlainAndHtmlMessages)
{
    ASSERT_TRUE(peer_) << "aiosmtpd did not start";
    TmsMessage plain = TestMessage();
    TmsSMTP smtp;
    smtp.Server = peer_->Server();
    smtp.TimeOut = 10;
    smtp.MailMessage = &plain;
    bool sent = false;
    smtp.OnMailSent = [&sent] { sent = true; };
    ASSERT_EQ(SendAndCatch(smtp), "");
    EXPECT_TRUE(sent);

    TmsMessage html = TestMessage();
    html.SetContentType("text/HTML");
    html.Body = {"<HTML>", "<P>Hello =Bob=, caf\xe9 " + std::string(300, 'w') + " end ", ".", "</HTML>"};
    smtp.MailMessage = &html;
    ASSERT_EQ(SendAndCatch(smtp), "");

    const QList<QByteArray> messages = peer_->Messages();
    ASSERT_EQ(messages.size(), 2);
    const QByteArray &first = messages[0];
    EXPECT_EQ(HeaderValue(first, "From"), "\"Ann O. Nym\" <ann@example.test>");
    EXPECT_EQ(HeaderValue(first, "To"), "<bob@example.test>");
    EXPECT_EQ(HeaderValue(first, "Subject"), "Have a look");
    EXPECT_EQ(HeaderValue(first, "Mime-Version"), "1.0");
    EXPECT_EQ(HeaderValue(first, "Content-Type"), "text/plain; charset=\"us-ascii\"");
    EXPECT_EQ(HeaderValue(first, "Content-Transfer-Encoding"), "7bit");
    EXPECT_EQ(HeaderValue(first, "X-MailFrom"), "ann@example.test");
    EXPECT_EQ(HeaderValue(first, "X-RcptTo"), "bob@example.test");
    EXPECT_TRUE(BodyOf(first).startsWith("Hello Bob,\n.\n..two dots\n\nBye\n")) << BodyOf(first).toStdString();

    const QByteArray &second = messages[1];
    EXPECT_EQ(HeaderValue(second, "Content-Type"), "text/html");
    EXPECT_EQ(HeaderValue(second, "Content-Transfer-Encoding"), "quoted-printable");
    const std::string decoded = DecodeQuotedPrintable(BodyOf(second).toStdString(), false);
    EXPECT_EQ(decoded.rfind("<HTML>\n<P>Hello =Bob=, caf\xe9 " + std::string(300, 'w') + " end \n.\n</HTML>\n", 0), 0u)
        << decoded;
}

// One client and one test message, with a short time-out.
class SmtpClient : public ::testing::Test {
protected:
    void SetUp() override
    {
        smtp.TimeOut = 5;
        smtp.MailMessage = &message;
    }

    TmsMessage message = TestMessage();
    TmsSMTP smtp;
};

TEST_F(SmtpClient, ReadsAMultiLineGreetingWithAnOverlongLineAsOneReply)
{
    FakeSmtpServer fake("220-fake.example.test\r\n220-" + QByteArray(2000, 'g') + "\r\n220 ready\r\n");
    fake.Reply = Answering("HELO", "250 hello\r\n");
    smtp.Server = fake.Server();
    EXPECT_EQ(SendAndCatch(smtp), "");
    EXPECT_EQ(smtp.LastReply(), "221 bye");
    const QList<QByteArray> expected = {"HELO " + QHostInfo::localHostName().toUtf8(), "MAIL FROM:<ann@example.test>",
                                        "RCPT TO:<bob@example.test>", "DATA", "<text>", "QUIT"};
    EXPECT_EQ(fake.Received, expected);
}

TEST_F(SmtpClient, TakesBareHeloWhenTheHostNameIsRefusedAndResendsTheSameText)
{
    FakeSmtpServer fake;
    fake.Reply = Answering("HELO ", "501 name refused\r\n");
    smtp.Server = "localhost:" + QString::number(fake.Port());
    EXPECT_EQ(SendAndCatch(smtp), "");
    ASSERT_GE(fake.Received.size(), 3);
    EXPECT_EQ(fake.Received[1], "HELO");
    EXPECT_EQ(fake.Received[2], "MAIL FROM:<ann@example.test>");

    const QByteArray firstText = fake.Data;
    EXPECT_EQ(SendAndCatch(smtp), "");
    EXPECT_EQ(fake.Data, firstText);
    EXPECT_TRUE(firstText.contains("\r\n..\r\n...two dots\r\n"));
}

TEST_F(SmtpClient, RefusedRecipientEndsTheAttemptUnlessTheHandlerProceeds)
{
    FakeSmtpServer fake;
    fake.Reply = Answering("RCPT TO:<bob@", "550 5.1.1 no such user\r\n");
    smtp.Server = fake.Server();
    bool sent = false;
    smtp.OnMailSent = [&sent] { sent = true; };
    try {
        smtp.Send();
        ADD_FAILURE() << "a refused recipient must fail";
    } catch (const EServerError &e) {
        EXPECT_STREQ(e.what(), "550 5.1.1 no such user");
        EXPECT_EQ(e.Code, 550);
    }
    EXPECT_FALSE(sent);
    EXPECT_FALSE(fake.Received.contains("DATA"));
    ProcessEventsFor(3000, [&fake] { return fake.ClientClosed; });
    EXPECT_TRUE(fake.ClientClosed);

    message.Recipients.Add("", "carol@example.test");
    std::string rejected;
    smtp.OnAddressRejected = [&rejected](const std::string &address, const std::string &reply, bool &proceed) {
        rejected = address + " | " + reply + (proceed ? " | proceed" : "");
        proceed = true;
    };
    EXPECT_EQ(SendAndCatch(smtp), "");
    EXPECT_TRUE(sent);
    EXPECT_EQ(rejected, "bob@example.test | 550 5.1.1 no such user");
}

TEST_F(SmtpClient, ReportsMailSentBeforeQuitAndStillFailsOnABadQuit)
{
    FakeSmtpServer fake;
    fake.Reply = Answering("QUIT", "554 not today\r\n");
    smtp.Server = fake.Server();
    smtp.OnMailSent = [&fake] { fake.Received.append("<mail sent>"); };
    EXPECT_EQ(SendAndCatch(smtp), "554 not today");
    const QList<QByteArray> tail = {"<text>", "<mail sent>", "QUIT"};
    EXPECT_EQ(fake.Received.mid(fake.Received.size() - 3), tail);
}

TEST_F(SmtpClient, TimesOutOnSilenceAndOnAnEndlessLine)
{
    for (const QByteArray &greeting : {QByteArray(), QByteArray(300000, 'x')}) {
        FakeSmtpServer fake(greeting);
        smtp.Server = fake.Server();
        smtp.TimeOut = 1;
        QElapsedTimer clock;
        clock.start();
        EXPECT_EQ(SendAndCatch(smtp), "Operation timed out");
        EXPECT_GE(clock.elapsed(), 900);
        EXPECT_LT(clock.elapsed(), 4000);
        ProcessEventsFor(3000, [&fake] { return fake.ClientClosed; });
        EXPECT_TRUE(fake.ClientClosed);
    }
}

TEST_F(SmtpClient, CancelEndsTheWaitAndTheNextSendStartsFresh)
{
    FakeSmtpServer silent("");
    smtp.Server = silent.Server();
    smtp.TimeOut = 20;
    QTimer::singleShot(300, &smtp, [this] { smtp.Cancel(); });
    QElapsedTimer clock;
    clock.start();
    EXPECT_THROW(smtp.Send(), ECanceledError);
    EXPECT_LT(clock.elapsed(), 3000);

    // Cancelled from the success handler, QUIT is not sent.
    FakeSmtpServer answering;
    smtp.Server = answering.Server();
    smtp.OnMailSent = [this] { smtp.Cancel(); };
    EXPECT_THROW(smtp.Send(), ECanceledError);
    EXPECT_EQ(answering.Received.last(), "<text>");

    smtp.OnMailSent = nullptr;
    EXPECT_EQ(SendAndCatch(smtp), "");
}

TEST_F(SmtpClient, ReportsSocketAndSetupErrors)
{
    quint16 closedPort = 0;
    {
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost, 0));
        closedPort = probe.serverPort();
    }
    smtp.Server = QString("127.0.0.1:%1").arg(closedPort);
    try {
        smtp.Send();
        ADD_FAILURE() << "nobody listens there";
    } catch (const ESocketError &e) {
        EXPECT_STREQ(e.what(), "[10061] Connection refused");
        EXPECT_EQ(e.Code, 10061);
    }

    smtp.Server = "";
    EXPECT_EQ(SendAndCatch(smtp), "Server property is required");

    FakeSmtpServer fake;
    smtp.Server = fake.Server();
    smtp.MailMessage = nullptr;
    EXPECT_EQ(SendAndCatch(smtp), "MailMessage property must be assigned");
    EXPECT_EQ(fake.Received.size(), 1); // HELO only
}

TEST_F(SmtpClient, RefusesInjectedLinesBeforeConnecting)
{
    FakeSmtpServer fake;
    message.Recipients.Add("Eve\r\nBcc: everyone@example.test", "eve@example.test");
    smtp.Server = fake.Server();
    EXPECT_THROW(smtp.Send(), EMessageError);
    ProcessEventsFor(200);
    EXPECT_EQ(fake.Connections, 0);
}
