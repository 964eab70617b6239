// The real e-mail window end to end inside a private network namespace with loopback only:
// dnsmasq answers the MX queries on 127.0.0.1:53, aiosmtpd takes the mail on 127.0.0.3:25, and
// in-process fakes refuse a recipient, fail the goodbye or never greet.
#include "AiosmtpdPeer.h"
#include "FakeSmtpServer.h"
#include "support/FakePrompter.h"

#include "mail/fEmail.h"

#include <QCheckBox>
#include <QClipboard>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTemporaryFile>
#include <QTest>
#include <QTimer>
#include <QUdpSocket>

#include <gtest/gtest.h>

#include <memory>

using namespace mail;

namespace {

const char *const InsideVariable = "MAPOLIN_EMAIL_NETNS";

bool RunTool(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    return process.waitForFinished(10000) && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

// Mail hosts by domain: "domain,host,preference" and the host's address.
QStringList DnsmasqRecords()
{
    const struct {
        const char *domain, *host, *address;
        int preference;
    } hosts[] = {{"friend.test", "mail1", "127.0.0.2", 10}, {"friend.test", "mail2", "127.0.0.3", 20},
                 {"quit.test", "mail1", "127.0.0.5", 10},   {"quit.test", "mail2", "127.0.0.3", 20},
                 {"stall.test", "mail1", "127.0.0.4", 10},  {"stall.test", "mail2", "127.0.0.4", 20}};
    QStringList options = {"--no-daemon", "--conf-file=/dev/null", "--no-resolv", "--no-hosts", "--bind-interfaces",
                           "--listen-address", "127.0.0.1", "--port", "53", "--pid-file=", "--user=root"};
    for (const auto &h : hosts)
        options << QStringLiteral("--mx-host=%1,%2.%1,%3").arg(h.domain, h.host).arg(h.preference)
                << QStringLiteral("--host-record=%2.%1,%3").arg(h.domain, h.host, h.address);
    // Six hosts for many.test, every one the refusing fake.
    for (int i = 1; i <= 6; ++i)
        options << QStringLiteral("--mx-host=many.test,mail%1.many.test,%1").arg(i)
                << QStringLiteral("--host-record=mail%1.many.test,127.0.0.2").arg(i);
    return options;
}

// What the user types, and how the failure dialog is answered.
struct TUserInput {
    QString name, address, friendName, friendAddress, message;
    bool html = false;
    bool toClipboard = false;
    int cancelAfterMs = -1;
};

// Peers and fakes shared by every case; dnsmasq also gives the mail hosts their addresses.
class EmailInNamespace : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        if (!qEnvironmentVariableIsSet(InsideVariable))
            return;
        QFile resolv(TMailHostLookup::ResolvConfPath());
        ready = resolv.open(QIODevice::WriteOnly) && resolv.write("nameserver 127.0.0.1\n") > 0;
        resolv.close();
        // The platform's resolver asks dnsmasq too, never the machine's own servers.
        ready = ready && RunTool("ip", {"link", "set", "lo", "up"})
                && RunTool("mount", {"--bind", resolv.fileName(), "/etc/resolv.conf"});
        dnsmasq = std::make_unique<TPeerProcess>();
        const auto listens = [] { return !QUdpSocket().bind(QHostAddress::LocalHost, 53, QAbstractSocket::DontShareAddress); };
        ready = ready && dnsmasq->Start("/usr/sbin/dnsmasq", DnsmasqRecords(), listens);
        smtp = std::make_unique<TAiosmtpdPeer>();
        ready = ready && smtp->Start("127.0.0.3", 25);
        const QByteArray greeting = "220 fake ready\r\n";
        refusing = std::make_unique<FakeSmtpServer>(greeting, "RCPT", "550 5.1.1 no such user\r\n", QHostAddress("127.0.0.2"), 25);
        badGoodbye = std::make_unique<FakeSmtpServer>(greeting, "QUIT", "554 not now\r\n", QHostAddress("127.0.0.5"), 25);
        silent = std::make_unique<FakeSmtpServer>("", "", "", QHostAddress("127.0.0.4"), 25);
    }
    static void TearDownTestSuite()
    {
        silent.reset();
        badGoodbye.reset();
        refusing.reset();
        smtp.reset();
        dnsmasq.reset();
    }
    void SetUp() override
    {
        if (!qEnvironmentVariableIsSet(InsideVariable))
            GTEST_SKIP() << "runs inside the private network namespace that EmailEndToEnd sets up";
        ASSERT_TRUE(ready) << "the namespace, dnsmasq or aiosmtpd could not be set up";
    }

    // Opens the window, types the input, presses Send and answers the failure dialog.
    int Send(const TUserInput &input)
    {
        TfrmEmail window(nullptr, [] { return TfrmEmail::TIdentity(); });
        window.AssignFields(MapolinEmailFields());
        prompter.modal = [this, &input, &window](QWidget &shown) {
            if (&shown != &window) {
                errors << shown.findChild<QLabel *>("lblError")->text();
                QTest::mouseClick(shown.findChild<QPushButton *>(input.toClipboard ? "butClipboard" : "butClose"),
                                  Qt::LeftButton);
                return;
            }
            const QString texts[] = {input.name, input.address, input.friendName, input.friendAddress};
            const char *fields[] = {"txtName", "txtYourEmail", "txtFriendsName", "txtAddress"};
            for (int i = 0; i < 4; ++i)
                shown.findChild<QLineEdit *>(fields[i])->setText(texts[i]);
            shown.findChild<QPlainTextEdit *>("memText")->setPlainText(input.message);
            shown.findChild<QCheckBox *>("chkHTML")->setChecked(input.html);
            if (input.cancelAfterMs >= 0)
                QTimer::singleShot(input.cancelAfterMs, &shown, [&shown] {
                    QTest::mouseClick(shown.findChild<QPushButton *>("butCancel"), Qt::LeftButton);
                });
            QTest::mouseClick(shown.findChild<QPushButton *>("butSend"), Qt::LeftButton);
        };
        return window.ShowModal();
    }
    static std::string Composed(const TUserInput &input)
    {
        return ComposeMessage(MapolinEmailFields(), SenderForText(input.name.toStdString()), input.friendName.toStdString(),
                              input.message.toStdString(), input.html).Text;
    }
    // From, Subject and the decoded body of a stored message, as Python's email package reads it.
    static QString Parsed(const QByteArray &message)
    {
        QTemporaryFile file;
        EXPECT_TRUE(file.open());
        file.write(message);
        file.flush();
        QProcess python;
        python.start("/usr/bin/python3", QStringList{"-c", "import email, sys\nfrom email import policy\n"
                                                "m = email.message_from_binary_file(open(sys.argv[1], 'rb'), policy=policy.default)\n"
                                                "sys.stdout.buffer.write((str(m['From']) + '|' + str(m['Subject']) + '|' "
                                                "+ m.get_content()).encode())",
                                          file.fileName()});
        EXPECT_TRUE(python.waitForFinished(10000));
        return QString::fromUtf8(python.readAllStandardOutput());
    }

    FakePrompter prompter;
    QStringList errors;

    static inline bool ready = false;
    static inline std::unique_ptr<TPeerProcess> dnsmasq;
    static inline std::unique_ptr<TAiosmtpdPeer> smtp;
    static inline std::unique_ptr<FakeSmtpServer> refusing, badGoodbye, silent;
};

} // namespace

// Re-runs this program in a new network and mount namespace, where the cases below take part.
TEST(EmailEndToEnd, RunsInAPrivateNetworkNamespace)
{
    if (qEnvironmentVariableIsSet(InsideVariable))
        GTEST_SKIP() << "already inside";
    if (!RunTool("unshare", {"--net", "--mount", "true"}))
        GTEST_SKIP() << "unshare --net --mount is refused here (it needs root); the end-to-end cases did not run";
    QProcess child;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(InsideVariable, "1");
    child.setProcessEnvironment(environment);
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start("unshare", {"--net", "--mount", "--", QCoreApplication::applicationFilePath(),
                            "--gtest_filter=EmailInNamespace.*"});
    ASSERT_TRUE(child.waitForFinished(300000));
    const QByteArray output = child.readAll();
    std::printf("%s", output.constData());
    EXPECT_EQ(child.exitCode(), 0);
    EXPECT_FALSE(output.contains("SKIPPED")) << "the cases inside were skipped";
}

// The friend's domain is looked up (the sender's has no mail host); the first host refuses the
// recipient, the second takes the message, which decodes to exactly the composed text.
TEST_F(EmailInNamespace, RefusedRecipientThenTheNextHostDelivers)
{
    const TUserInput input{"Zo\u00eb \u00c6r\u00f8, Jr.", "me@nomx.test", "Bob", "bob@friend.test",
                           "Gr\u00fc\u00dfe!\n.\n" + QString(10000, 'x')};
    EXPECT_EQ(Send(input), mrOk);
    EXPECT_TRUE(errors.isEmpty()) << errors.join("\n").toStdString();
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_EQ(prompter.messages[0].text, "The email was successfully sent.");
    EXPECT_TRUE(refusing->Received.contains("RCPT TO:<bob@friend.test>"));
    EXPECT_FALSE(refusing->Received.contains("<text>"));
    const QList<QByteArray> messages = smtp->Messages();
    ASSERT_EQ(messages.size(), 1);
    // The empty line the client sends before the final "." ends the text one line later.
    QString expected = QString::fromStdString(Composed(input)) + "\n";
    expected.replace("\r\n", "\n");
    EXPECT_EQ(Parsed(messages.last()), "\"" + input.name + "\" <me@nomx.test>|the Mapolin Toolkin is available for you.|" + expected);
}

// Accepted text is delivered even when the goodbye fails: no second copy through the next host.
// No mail host at all offers the clipboard.
TEST_F(EmailInNamespace, AFailedGoodbyeAfterTheTextIsASuccessAndNoHostOffersTheClipboard)
{
    const qsizetype before = smtp->Messages().size();
    TUserInput input{"Ann", "ann@nomx.test", "Bob", "bob@quit.test", ""};
    input.html = true;
    EXPECT_EQ(Send(input), mrOk);
    EXPECT_TRUE(errors.isEmpty()) << errors.join("\n").toStdString();
    EXPECT_EQ(badGoodbye->Received.mid(badGoodbye->Received.size() - 2), (QList<QByteArray>{"<text>", "QUIT"}));
    EXPECT_EQ(smtp->Messages().size(), before);

    input = {"", "", "", "bob@nomx.test", "Hi"};
    input.toClipboard = true;
    EXPECT_EQ(Send(input), mrNone);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].startsWith("A DNS server cannot be found")) << errors[0].toStdString();
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), Composed(input));
}

// Cancel ends the whole sending: the second host is not tried. Without Cancel, five hosts at most.
TEST_F(EmailInNamespace, CancelEndsTheSendingAndAtMostFiveHostsAreTried)
{
    TUserInput input{"Ann", "ann@nomx.test", "Bob", "bob@stall.test", ""};
    input.cancelAfterMs = 300;
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(Send(input), mrCancel);
    EXPECT_LT(clock.elapsed(), 5000);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].startsWith("Operation has been canceled\n")) << errors[0].toStdString();
    EXPECT_EQ(silent->Connections, 1) << "the second host was tried after Cancel";

    const int before = refusing->Connections;
    EXPECT_EQ(Send({"Ann", "ann@nomx.test", "Bob", "bob@many.test", ""}), mrNone);
    EXPECT_EQ(refusing->Connections - before, TfrmEmail::MaxHostsTried);
}
