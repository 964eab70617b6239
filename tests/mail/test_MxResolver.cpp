// The MX resolver and mail-host lookup against dnsmasq and small in-process DNS fakes.
#include "DnsTestAnswers.h"

#include "mail/MXResolver.h"
#include "mail/MailHostLookup.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QNetworkDatagram>
#include <QProcess>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QUdpSocket>

#include <gtest/gtest.h>

#include <functional>

using namespace mail;
using mail::test::MxAnswer;

namespace {

const QHostAddress Loopback(QStringLiteral("127.0.0.1"));
const QHostAddress Loopback2(QStringLiteral("127.0.0.2"));

quint16 FreePort(bool udp)
{
    if (udp) {
        QUdpSocket probe;
        probe.bind(Loopback, 0);
        return probe.localPort();
    }
    QTcpSocket probe;
    probe.bind(Loopback, 0);
    return probe.localPort();
}

// Answers each query it receives with what the test's responder decides.
class TFakeDnsServer {
public:
    using Responder = std::function<void(TFakeDnsServer &, std::uint16_t id, const QNetworkDatagram &)>;

    TFakeDnsServer(const QHostAddress &address, quint16 port, Responder responder)
        : responder_(std::move(responder))
    {
        EXPECT_TRUE(socket_.bind(address, port)) << port;
        QObject::connect(&socket_, &QUdpSocket::readyRead, &socket_, [this] {
            while (socket_.hasPendingDatagrams()) {
                const QNetworkDatagram query = socket_.receiveDatagram();
                const QByteArray bytes = query.data();
                ++Queries;
                if (bytes.size() >= 2)
                    responder_(*this, std::uint16_t(quint8(bytes[0]) << 8 | quint8(bytes[1])), query);
            }
        });
    }

    void Reply(const QNetworkDatagram &query, const std::vector<std::uint8_t> &answer)
    {
        socket_.writeDatagram(reinterpret_cast<const char *>(answer.data()), qint64(answer.size()),
                              query.senderAddress(), quint16(query.senderPort()));
    }
    quint16 Port() const { return socket_.localPort(); }

    int Queries = 0;

private:
    QUdpSocket socket_;
    Responder responder_;
};

TFakeDnsServer::Responder Answering(std::initializer_list<TMXRec> records, int rcode = 0)
{
    const std::vector<TMXRec> kept(records);
    return [kept, rcode](TFakeDnsServer &server, std::uint16_t id, const QNetworkDatagram &query) {
        auto answer = MxAnswer(id, "example.test", {}, rcode);
        answer[7] = std::uint8_t(kept.size());
        for (const TMXRec &record : kept) {
            mail::test::TDnsBytes tail;
            tail.Mx(record.Preference, record.Host);
            answer.insert(answer.end(), tail.Bytes.begin(), tail.Bytes.end());
        }
        server.Reply(query, answer);
    };
}

void ExpectHosts(const TMXList &list, const std::vector<std::pair<int, std::string>> &expected)
{
    std::vector<std::pair<int, std::string>> actual;
    for (const TMXRec &record : list)
        actual.emplace_back(record.Preference, record.Host);
    EXPECT_EQ(actual, expected);
}

class MxResolverTest : public ::testing::Test {
protected:
    void Point(const TFakeDnsServer &server, int timeOut = 5)
    {
        resolver.DNSAddress = QStringLiteral("127.0.0.1");
        resolver.Port = server.Port();
        resolver.Domain = QStringLiteral("example.test");
        resolver.TimeOut = timeOut;
    }
    template <typename Error>
    std::string ResolveFails()
    {
        try {
            resolver.Resolve();
        } catch (const Error &error) {
            return error.what();
        }
        return "(no error)";
    }

    TmsMXResolver resolver;
};

} // namespace

TEST_F(MxResolverTest, AnswerIsSortedByPreference)
{
    TFakeDnsServer server(Loopback, 0, Answering({{20, "mail2.example.test"}, {5, "mail1.example.test"}}));
    Point(server);
    resolver.Resolve();
    ExpectHosts(resolver.MXList, {{5, "mail1.example.test."}, {20, "mail2.example.test."}});
}

TEST_F(MxResolverTest, SilentServerTimesOut)
{
    TFakeDnsServer server(Loopback, 0, [](TFakeDnsServer &, std::uint16_t, const QNetworkDatagram &) {});
    Point(server, 1);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(ResolveFails<ETimedOutError>(), "Operation timed out");
    EXPECT_EQ(server.Queries, 1);
    EXPECT_LT(clock.elapsed(), 3000);
}

TEST_F(MxResolverTest, RepliesThatDoNotMatchAreNotTheAnswer)
{
    // Wrong ID, wrong question and a stranger's datagram first; the true answer last.
    QUdpSocket stranger;
    ASSERT_TRUE(stranger.bind(Loopback, 0));
    TFakeDnsServer server(Loopback, 0, [&](TFakeDnsServer &self, std::uint16_t id, const QNetworkDatagram &query) {
        self.Reply(query, MxAnswer(std::uint16_t(id + 1), "example.test", {{1, "wrong-id.test"}}));
        self.Reply(query, MxAnswer(id, "other.test", {{1, "wrong-question.test"}}));
        const auto forged = MxAnswer(id, "example.test", {{1, "stranger.test"}});
        stranger.writeDatagram(reinterpret_cast<const char *>(forged.data()), qint64(forged.size()),
                               query.senderAddress(), quint16(query.senderPort()));
        QTimer::singleShot(200, &stranger, [&self, id, query] {
            self.Reply(query, MxAnswer(id, "example.test", {{7, "right.example.test"}}));
        });
    });
    Point(server);
    resolver.Resolve();
    ExpectHosts(resolver.MXList, {{7, "right.example.test."}});
}

TEST_F(MxResolverTest, WrongIdAloneEndsInTheTimeOut)
{
    TFakeDnsServer server(Loopback, 0, [](TFakeDnsServer &self, std::uint16_t id, const QNetworkDatagram &query) {
        for (int i = 0; i < 3; ++i)
            self.Reply(query, MxAnswer(std::uint16_t(id ^ 0xFFFF), "example.test", {{1, "mx.example.test"}}));
    });
    Point(server, 1);
    EXPECT_EQ(ResolveFails<ETimedOutError>(), "Operation timed out");
    EXPECT_TRUE(resolver.MXList.empty());
}

TEST_F(MxResolverTest, CancelEndsTheWait)
{
    TFakeDnsServer server(Loopback, 0, [](TFakeDnsServer &, std::uint16_t, const QNetworkDatagram &) {});
    Point(server, 30);
    QTimer::singleShot(200, &resolver, [this] { resolver.Cancel(); });
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(ResolveFails<ECanceledError>(), "Operation has been canceled");
    EXPECT_LT(clock.elapsed(), 5000);
    // The next lookup starts afresh.
    TFakeDnsServer answering(Loopback, 0, Answering({{5, "mx.example.test"}}));
    Point(answering);
    resolver.Resolve();
    EXPECT_EQ(resolver.MXList.size(), 1u);
}

TEST_F(MxResolverTest, ErrorsOfTheServerAndTheSocket)
{
    TFakeDnsServer missing(Loopback, 0, Answering({}, 3));
    Point(missing);
    EXPECT_EQ(ResolveFails<EResolverError>(), "Domain name does not exist");

    // Records before a fault in the answer are kept, in order.
    TFakeDnsServer cut(Loopback, 0, [](TFakeDnsServer &self, std::uint16_t id, const QNetworkDatagram &query) {
        auto answer = MxAnswer(id, "example.test", {{30, "c.example.test"}, {10, "a.example.test"}, {20, "b.example.test"}});
        answer.resize(answer.size() - 3);
        self.Reply(query, answer);
    });
    Point(cut);
    EXPECT_EQ(ResolveFails<EResolverError>(), "Malformed response: read past the end");
    ExpectHosts(resolver.MXList, {{10, "a.example.test."}, {30, "c.example.test."}});

    resolver.DNSAddress = QStringLiteral("localhost");
    EXPECT_EQ(ResolveFails<ESocketError>(), "Error resolving remote host");
    EXPECT_TRUE(resolver.MXList.empty());

    // Nothing listens: Qt drops the refusal, so the query costs its time-out.
    resolver.DNSAddress = QStringLiteral("127.0.0.1");
    resolver.Port = FreePort(true);
    resolver.TimeOut = 1;
    EXPECT_EQ(ResolveFails<ETimedOutError>(), "Operation timed out");
}

// Looks up through the configured servers, written to the private resolver configuration.
class MailHostLookupTest : public MxResolverTest {
protected:
    void SetUp() override { QFile::remove(TMailHostLookup::ResolvConfPath()); }
    void TearDown() override { QFile::remove(TMailHostLookup::ResolvConfPath()); }

    static void WriteResolvConf(const QByteArray &content)
    {
        QFile file(TMailHostLookup::ResolvConfPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }
    TMailHostLookup Lookup(TMailHostLookup::ListFetcher fetcher = NoFetch())
    {
        return TMailHostLookup(resolver, [this](const QString &text) { statuses << text; },
                               std::move(fetcher));
    }
    static TMailHostLookup::ListFetcher NoFetch()
    {
        return [](const std::string &) -> std::vector<std::string> {
            ADD_FAILURE() << "the DNS list file was fetched";
            return {};
        };
    }

    QStringList statuses;
};

TEST_F(MailHostLookupTest, ServersComeFromTheResolverConfigurationFirst)
{
    EXPECT_EQ(TMailHostLookup::ResolvConfPath(), qEnvironmentVariable("MAPOLIN_RESOLV_CONF"));
    WriteResolvConf("search example.test\nnameserver 127.0.0.1\nnameserver 127.0.0.2\n");
    QStringList servers = {"stale"};
    resolver.DNSAddress = QStringLiteral("10.9.9.9");
    Lookup().GetDnsServerList(servers);
    EXPECT_EQ(servers, (QStringList{"127.0.0.1", "127.0.0.2"}));
    EXPECT_TRUE(resolver.DNSAddress.isEmpty());
}

TEST_F(MailHostLookupTest, ListFileWhenNoServerIsConfigured)
{
    WriteResolvConf("# no nameserver here\n");
    std::string askedFor;
    auto lookup = Lookup([&](const std::string &url) -> std::vector<std::string> {
        askedFor = url;
        return {"127.0.0.1,127.0.0.2", "127.0.0.3"};
    });
    QStringList servers;
    lookup.GetDnsServerList(servers);
    EXPECT_EQ(servers, (QStringList{"127.0.0.1", "127.0.0.2", "127.0.0.3"}));
    EXPECT_TRUE(askedFor.starts_with("http://") && askedFor.ends_with("/dnsip/dnsip.dat")) << askedFor;

    QFile::remove(TMailHostLookup::ResolvConfPath());
    auto failing = Lookup([](const std::string &) -> std::vector<std::string> {
        throw EMailError("Not Found");
    });
    failing.GetDnsServerList(servers);
    EXPECT_TRUE(servers.isEmpty());
    QStringList hosts;
    failing.BuildMailHostList(QStringLiteral("me@example.test"), hosts);
    EXPECT_TRUE(hosts.isEmpty());
    EXPECT_TRUE(statuses.isEmpty());
}

TEST_F(MailHostLookupTest, ListFileFetchedOverHttp)
{
    QTemporaryDir root;
    ASSERT_TRUE(QDir(root.path()).mkpath("dnsip"));
    const quint16 port = FreePort(false);
    QProcess http;
    http.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    http.start("/usr/bin/python3", {"-m", "http.server", "--bind", "127.0.0.1", "--directory",
                                    root.path(), QString::number(port)});
    ASSERT_TRUE(http.waitForStarted());
    for (int attempt = 0; attempt < 100; ++attempt) {
        QTcpSocket probe;
        probe.connectToHost(Loopback, port);
        if (probe.waitForConnected(100))
            break;
        QTest::qWait(50);
    }
    for (const QByteArray &content : {QByteArray("127.0.0.5,127.0.0.6\n"), QByteArray("127.0.0.5\r\n127.0.0.6\r\n")}) {
        QFile file(root.filePath("dnsip/dnsip.dat"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
        file.close();
        TMailHostLookup lookup(resolver);
        lookup.DnsListUrl = QStringLiteral("http://127.0.0.1:%1/dnsip/dnsip.dat").arg(port);
        QStringList servers;
        lookup.GetDnsServerList(servers);
        EXPECT_EQ(servers, (QStringList{"127.0.0.5", "127.0.0.6"})) << content.toStdString();
    }
    http.kill();
    http.waitForFinished();
}

TEST_F(MailHostLookupTest, NextServerIsAskedAfterAFailure)
{
    TFakeDnsServer first(Loopback, 0, Answering({}, 3));
    TFakeDnsServer second(Loopback2, first.Port(), Answering({{20, "b.example.test"}, {5, "a.example.test"}}));
    TFakeDnsServer third(QHostAddress(QStringLiteral("127.0.0.3")), first.Port(), Answering({{1, "c.example.test"}}));
    WriteResolvConf("nameserver 127.0.0.1\nnameserver 127.0.0.2\nnameserver 127.0.0.3\n");
    resolver.Port = first.Port();
    QStringList hosts;
    Lookup().BuildMailHostList(QStringLiteral("me@example.test"), hosts);
    EXPECT_EQ(hosts, (QStringList{"   5|a.example.test.", "  20|b.example.test."}));
    EXPECT_EQ(statuses, (QStringList{"1/3 127.0.0.1", "2/3 127.0.0.2", "DNS OK!"}));
    EXPECT_EQ(resolver.TimeOut, 10);
    EXPECT_EQ(third.Queries, 0);
}

TEST_F(MailHostLookupTest, SilentServerCostsItsTimeOut)
{
    TFakeDnsServer silent(Loopback, 0, [](TFakeDnsServer &, std::uint16_t, const QNetworkDatagram &) {});
    TFakeDnsServer second(Loopback2, silent.Port(), Answering({{5, "a.example.test"}}));
    WriteResolvConf("nameserver 127.0.0.1\nnameserver 127.0.0.2\n");
    resolver.Port = silent.Port();
    auto lookup = Lookup();
    lookup.ServerTimeOut = 1;
    QStringList hosts;
    lookup.BuildMailHostList(QStringLiteral("example.test"), hosts);
    EXPECT_EQ(hosts, QStringList{"   5|a.example.test."});
    EXPECT_EQ(silent.Queries, 1);
}

// dnsmasq as a real server on a free loopback port.
TEST_F(MailHostLookupTest, DnsmasqAnswersMxQueries)
{
    const quint16 port = FreePort(true);
    QProcess dnsmasq;
    dnsmasq.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    dnsmasq.start("/usr/sbin/dnsmasq",
                  {"--no-daemon", "--conf-file=/dev/null", "--no-resolv", "--no-hosts",
                   "--bind-interfaces", "--listen-address", "127.0.0.1", "--port",
                   QString::number(port), "--pid-file=", "--user=root",
                   "--mx-host=example.test,mail1.example.test,5",
                   "--mx-host=example.test,mail2.example.test,20"});
    ASSERT_TRUE(dnsmasq.waitForStarted());
    // Listening once the port can no longer be taken.
    for (int attempt = 0;; ++attempt) {
        QUdpSocket probe;
        if (!probe.bind(Loopback, port, QAbstractSocket::DontShareAddress))
            break;
        probe.close();
        ASSERT_LT(attempt, 100) << "dnsmasq does not listen";
        QTest::qWait(50);
    }
    resolver.DNSAddress = QStringLiteral("127.0.0.1");
    resolver.Port = port;
    resolver.Domain = QStringLiteral("example.test");
    resolver.TimeOut = 5;
    resolver.Resolve();
    ExpectHosts(resolver.MXList, {{5, "mail1.example.test."}, {20, "mail2.example.test."}});

    WriteResolvConf("nameserver 127.0.0.1\n");
    for (const QString &address : {QStringLiteral("someone@example.test"), QStringLiteral("example.test")}) {
        QStringList hosts;
        statuses.clear();
        Lookup().BuildMailHostList(address, hosts);
        EXPECT_EQ(hosts, (QStringList{"   5|mail1.example.test.", "  20|mail2.example.test."}));
        EXPECT_EQ(statuses, (QStringList{"1/1 127.0.0.1", "DNS OK!"}));
    }
    dnsmasq.terminate();
    dnsmasq.waitForFinished();
}
