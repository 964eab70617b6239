// The real e-mail window offscreen, then end to end in a private network namespace: dnsmasq answers
// on 127.0.0.1:53, aiosmtpd takes mail on 127.0.0.3:25, fakes refuse, fail the goodbye or never greet.
#include "AiosmtpdPeer.h"
#include "FakePeers.h"
#include "support/FakePrompter.h"
#include "support/Widgets.h"

#include "mail/fEmail.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

using namespace mail;

namespace {

const char *const InsideVariable = "MAPOLIN_EMAIL_NETNS";

bool RunTool(const QString &program, const QStringList &arguments) { return QProcess::execute(program, arguments) == 0; }

template <typename W> W *Child(QWidget &window, const char *name)
{
    W *child = window.findChild<W *>(QLatin1String(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

void Click(QWidget &window, const char *button) { QTest::mouseClick(Child<QPushButton>(window, button), Qt::LeftButton); }

// One window with the given identity, shown through the fake prompter, which runs `answer` on it
// and answers each failure dialog (Close or To Clipboard), keeping its text.
class EmailWindow : public ::testing::Test {
protected:
    int Open(const std::function<void(TfrmEmail &)> &answer, TfrmEmail::TIdentity identity = {})
    {
        TfrmEmail window(nullptr, [identity] { return identity; });
        window.AssignFields(fields);
        prompter.modal = [this, &window, &answer](QWidget &shown) {
            if (&shown == &window)
                return answer(window);
            errors << Child<QLabel>(shown, "lblError")->text();
            Click(shown, toClipboard ? "butClipboard" : "butClose");
        };
        return window.ShowModal();
    }

    TEmailFields fields = {"T", "http://u.test/", "D.", "L."};
    FakePrompter prompter;
    QStringList errors;
    bool toClipboard = false;
};

// Mail hosts by domain: "domain,host,preference" and the host's address.
QStringList DnsmasqRecords()
{
    QStringList options = {"--no-daemon", "--conf-file=/dev/null", "--no-resolv", "--no-hosts", "--bind-interfaces",
                           "--listen-address", "127.0.0.1", "--port", "53", "--pid-file=", "--user=root"};
    // Host i of a domain has preference i; many.test has six, every one the refusing fake.
    for (const QString &hosts : {QString("friend.test 127.0.0.2 127.0.0.3"), QString("quit.test 127.0.0.5 127.0.0.3"),
                                QString("stall.test 127.0.0.4 127.0.0.4"), "many.test" + QString(" 127.0.0.2").repeated(6)}) {
        const QStringList words = hosts.split(' ');
        for (int i = 1; i < words.size(); ++i)
            options << QStringLiteral("--mx-host=%1,mail%2.%1,%2").arg(words[0]).arg(i)
                    << QStringLiteral("--host-record=mail%2.%1,%3").arg(words[0]).arg(i).arg(words[i]);
    }
    return options;
}

// What the user types; with cancelAfterMs, the close box is tried halfway, then Cancel pressed.
struct TUserInput {
    QString name, address, friendName, friendAddress, message;
    bool html = false;
    int cancelAfterMs = -1;
};

// Peers and fakes shared by every case; dnsmasq also gives the mail hosts their addresses.
class EmailInNamespace : public EmailWindow {
protected:
    static void SetUpTestSuite()
    {
        if (!qEnvironmentVariableIsSet(InsideVariable))
            return;
        WriteResolvConf("nameserver 127.0.0.1\n");
        // The platform's resolver asks dnsmasq too, never the machine's own servers.
        ready = RunTool("ip", {"link", "set", "lo", "up"})
                && RunTool("mount", {"--bind", TMailHostLookup::ResolvConfPath(), "/etc/resolv.conf"});
        dnsmasq = std::make_unique<TPeerProcess>();
        const auto listens = [] { return !QUdpSocket().bind(QHostAddress::LocalHost, 53, QAbstractSocket::DontShareAddress); };
        ready = ready && dnsmasq->Start("/usr/sbin/dnsmasq", DnsmasqRecords(), listens);
        smtp = std::make_unique<TAiosmtpdPeer>();
        ready = ready && smtp->Start("127.0.0.3", 25);
        refusing = std::make_unique<FakeSmtpServer>("220 ok\r\n", "RCPT", "550 5.1.1 no such user\r\n", QHostAddress("127.0.0.2"), 25);
        badGoodbye = std::make_unique<FakeSmtpServer>("220 ok\r\n", "QUIT", "554 not now\r\n", QHostAddress("127.0.0.5"), 25);
        silent = std::make_unique<FakeSmtpServer>("", "", "", QHostAddress("127.0.0.4"), 25);
    }
    static void TearDownTestSuite() { silent.reset(), badGoodbye.reset(), refusing.reset(), smtp.reset(), dnsmasq.reset(); }
    void SetUp() override
    {
        if (!qEnvironmentVariableIsSet(InsideVariable))
            GTEST_SKIP() << "runs inside the private network namespace that EmailEndToEnd sets up";
        ASSERT_TRUE(ready) << "the namespace, dnsmasq or aiosmtpd could not be set up";
        fields = MapolinEmailFields();
    }

    // Opens the window, types the input and presses Send.
    int Send(const TUserInput &input)
    {
        return Open([this, &input](TfrmEmail &window) {
            const QString texts[] = {input.name, input.address, input.friendName, input.friendAddress};
            const char *names[] = {"txtName", "txtYourEmail", "txtFriendsName", "txtAddress"};
            for (int i = 0; i < 4; ++i)
                Child<QLineEdit>(window, names[i])->setText(texts[i]);
            Child<QPlainTextEdit>(window, "memText")->setPlainText(input.message);
            Child<QCheckBox>(window, "chkHTML")->setChecked(input.html);
            if (input.cancelAfterMs >= 0) {
                QTimer::singleShot(input.cancelAfterMs / 2, &window, [&window] { window.close(); });
                QTimer::singleShot(input.cancelAfterMs, &window, [this, &window] {
                    openAfterClose = window.isVisible();
                    Click(window, "butCancel");
                });
            }
            Click(window, "butSend");
        });
    }
    static std::string Composed(const TUserInput &in)
    {
        return ComposeMessage(MapolinEmailFields(), SenderForText(in.name.toStdString()), in.friendName.toStdString(),
                              in.message.toStdString(), in.html).Text;
    }
    // From, Subject and the decoded body of a stored message, as Python's email package reads it.
    static QString Parsed(const QByteArray &message)
    {
        QProcess python;
        python.start("/usr/bin/python3", {"-c", "import email, sys\nfrom email import policy\n"
                                                "m = email.message_from_binary_file(sys.stdin.buffer, policy=policy.default)\n"
                                                "sys.stdout.buffer.write((str(m['From']) + '|' + str(m['Subject']) + '|' "
                                                "+ m.get_content()).encode())"});
        python.write(message);
        python.closeWriteChannel();
        EXPECT_TRUE(python.waitForFinished(10000));
        return QString::fromUtf8(python.readAllStandardOutput());
    }

    bool openAfterClose = false;

    static inline bool ready = false;
    static inline std::unique_ptr<TPeerProcess> dnsmasq;
    static inline std::unique_ptr<TAiosmtpdPeer> smtp;
    static inline std::unique_ptr<FakeSmtpServer> refusing, badGoodbye, silent;
};

} // namespace

TEST_F(EmailWindow, ControlsKeysAndPrefill)
{
    Open([](TfrmEmail &window) {
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        EXPECT_EQ(window.windowTitle(), "Email T to a Friend");
        EXPECT_EQ(Child<QLabel>(window, "lblHeading")->text(), "Think your friends would like T too? ");
        EXPECT_EQ(QApplication::focusWidget(), Child<QWidget>(window, "txtFriendsName"));
        EXPECT_EQ(Child<QLineEdit>(window, "txtYourEmail")->text(), "ann@example.test");
        EXPECT_FALSE(Child<QPushButton>(window, "butSend")->isEnabled());
        Child<QLineEdit>(window, "txtAddress")->setText("x");
        EXPECT_TRUE(Child<QPushButton>(window, "butSend")->isEnabled());
        ExpectLabelsFit(window);
        // Enter in the memo is a new line; in an edit it is Cancel.
        QTest::keyClick(Child<QWidget>(window, "memText"), Qt::Key_Return);
        EXPECT_EQ(Child<QPlainTextEdit>(window, "memText")->toPlainText(), "\n");
        QTest::keyClick(Child<QWidget>(window, "txtFriendsName"), Qt::Key_Return);
        EXPECT_FALSE(window.isVisible());
    }, {"Ann", "ann@example.test"});

    // An empty field is reported, and the window is shown all the same.
    fields.DownloadURL.clear();
    EXPECT_EQ(Open([](TfrmEmail &window) { Click(window, "butCancel"); }), mrCancel);
    EXPECT_EQ(prompter.messages.value(0).text, "Internal Error: All the customization fields must be supplied by the programmer !");
}

// Re-runs this program in a new network and mount namespace, where the cases below take part.
TEST(EmailEndToEnd, RunsInAPrivateNetworkNamespace)
{
    if (qEnvironmentVariableIsSet(InsideVariable))
        GTEST_SKIP() << "already inside";
    if (!RunTool("unshare", {"--net", "--mount", "true"}))
        GTEST_SKIP() << "unshare --net --mount is refused here (it needs root); the end-to-end cases did not run";
    QProcess child;
    child.setProcessChannelMode(QProcess::MergedChannels);
    child.start("env", {QString(InsideVariable) + "=1", "unshare", "--net", "--mount", "--",
                        QCoreApplication::applicationFilePath(), "--gtest_filter=EmailInNamespace.*"});
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
    EXPECT_EQ(prompter.messages.value(0).text, "The email was successfully sent.");
    EXPECT_TRUE(refusing->Received.contains("RCPT TO:<bob@friend.test>"));
    const QList<QByteArray> messages = smtp->Messages();
    ASSERT_EQ(messages.size(), 1);
    // The empty line the client sends before the final "." ends the text one line later.
    QString expected = QString::fromStdString(Composed(input)) + "\n";
    expected.replace("\r\n", "\n");
    EXPECT_EQ(Parsed(messages.last()), "\"" + input.name + "\" <me@nomx.test>|the Mapolin Toolkin is available for you.|" + expected);
}

// Accepted text is delivered even when the goodbye fails: no second copy through the next host.
// No mail host at all offers the clipboard; a name that would add a header reaches no host.
TEST_F(EmailInNamespace, AFailedGoodbyeIsASuccessAndFailuresOfferTheClipboard)
{
    const qsizetype before = smtp->Messages().size();
    TUserInput input{"Ann", "ann@nomx.test", "Bob", "bob@quit.test", ""};
    input.html = true;
    EXPECT_EQ(Send(input), mrOk);
    EXPECT_TRUE(errors.isEmpty());
    EXPECT_EQ(badGoodbye->Received.mid(badGoodbye->Received.size() - 2), (QList<QByteArray>{"<text>", "QUIT"}));
    EXPECT_EQ(smtp->Messages().size(), before);

    input = {"", "", "", "bob@nomx.test", ".\n" + QString(10000, QChar(0xe9)), true};
    toClipboard = true;
    prompter.messages.clear();
    EXPECT_EQ(Send(input), mrNone);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].startsWith("A DNS server cannot be found")) << errors[0].toStdString();
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(), Composed(input));
    EXPECT_EQ(prompter.messages.value(0).text, QString::fromStdString("The message about " + fields.AppTitle +
                                         " has been placed in the clipboard.  You can now paste it into your regular "
                                         "email software and send it to your friend."));

    const int connections = refusing->Connections;
    EXPECT_EQ(Send({"Ann\r\nBcc: everyone@example.test", "", "", "bob@friend.test", ""}), mrNone);
    ASSERT_EQ(errors.size(), 2);
    EXPECT_EQ(errors[1], "Invalid character in a display name\nYou can still send the message to your friend.  Click "
                         "the \"To Clipboard\" button and the email message will be put in the Windows Clipboard.  You "
                         "can then paste it into a regular email to your friend.");
    EXPECT_EQ(refusing->Connections, connections);
}

// The close box while sending ends nothing; Cancel then ends the whole sending, whether a DNS
// server or a mail host keeps silent: no later host is tried. Without Cancel, five hosts at most.
TEST_F(EmailInNamespace, CancelEndsTheSendingAndAtMostFiveHostsAreTried)
{
    TUserInput input{"Ann", "ann@nomx.test", "Bob", "bob@stall.test", ""};
    input.cancelAfterMs = 400;
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(Send(input), mrCancel);
    EXPECT_LT(clock.elapsed(), 5000);
    EXPECT_TRUE(openAfterClose);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].startsWith("Operation has been canceled\n")) << errors[0].toStdString();
    EXPECT_EQ(silent->Connections, 1) << "the second host was tried after Cancel";

    TFakeDnsServer silentDns([](TFakeDnsServer &, unsigned, const QNetworkDatagram &) {}, "127.0.0.6", 53);
    WriteResolvConf("nameserver 127.0.0.6\nnameserver 127.0.0.1\n");
    input.friendAddress = "bob@friend.test";
    const int before = refusing->Connections;
    EXPECT_EQ(Send(input), mrCancel);
    WriteResolvConf("nameserver 127.0.0.1\n");
    EXPECT_EQ(silentDns.Queries, 1);
    ASSERT_EQ(errors.size(), 2);
    EXPECT_TRUE(errors[1].startsWith("Operation has been canceled\n")) << errors[1].toStdString();

    EXPECT_EQ(Send({"Ann", "ann@nomx.test", "Bob", "bob@many.test", ""}), mrNone);
    EXPECT_EQ(refusing->Connections - before, TfrmEmail::MaxHostsTried);
}
