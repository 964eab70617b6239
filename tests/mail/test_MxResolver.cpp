// The MX resolver and mail-host lookup against dnsmasq and small in-process DNS fakes.
#include "DnsTestAnswers.h"

#include "mail/MXResolver.h"
#include "mail/MailHostLookup.h"

#include <QElapsedTimer>
#include <QFile>
#include <QNetworkDatagram>
#include <QProcess>
#include <QTest>
#include <QTimer>
#include <QUdpSocket>

#include <gtest/gtest.h>

#include <functional>

using namespace mail;
using mail::test::MxAnswer;

namespace {

const QHostAddress Loopback(QStringLiteral("127.0.0.1"));

quint16 FreeUdpPort()
{
    QUdpSocket probe;
    probe.bind(Loopback, 0);
    return probe.localPort();
}

// Hands each query it receives, with its ID, to the test's responder.
class TFakeDnsServer {
public:
    using Responder = std::function<void(TFakeDnsServer &, unsigned id, const QNetworkDatagram &)>;

    TFakeDnsServer(const char *address, quint16 port, Responder responder) : responder_(std::move(responder))
    {
        EXPECT_TRUE(socket_.bind(QHostAddress(QString::fromLatin1(address)), port)) << address;
        QObject::connect(&socket_, &QUdpSocket::readyRead, &socket_, [this] {
            while (socket_.hasPendingDatagrams()) {
                const QNetworkDatagram query = socket_.receiveDatagram();
                ++Queries;
                responder_(*this, unsigned(quint8(query.data()[0]) << 8 | quint8(query.data()[1])), query);
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

TFakeDnsServer::Responder Answering(const TMXList &records, unsigned rcode = 0)
{
    return [records, rcode](TFakeDnsServer &server, unsigned id, const QNetworkDatagram &query) {
        server.Reply(query, MxAnswer(id, "example.test", records, rcode));
    };
}

void Silent(TFakeDnsServer &, unsigned, const QNetworkDatagram &) {}

std::vector<std::string> Hosts(const TMXList &list)
{
    std::vector<std::string> hosts;
    for (const TMXRec &record : list)
        hosts.push_back(std::to_string(record.Preference) + " " + record.Host);
    return hosts;
}

class MxResolverTest : public ::testing::Test {
protected:
    void Point(quint16 port, int timeOut = 5)
    {
        resolver.DNSAddress = QStringLiteral("127.0.0.1");
        resolver.Port = port;
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

TEST_F(MxResolverTest, AnswersAreSortedAndFaultsKeepTheRecordsBeforeThem)
{
    TFakeDnsServer server("127.0.0.1", 0, Answering({{20, "b.example.test"}, {5, "a.example.test"}}));
    Point(server.Port());
    resolver.Resolve();
    EXPECT_EQ(Hosts(resolver.MXList), (std::vector<std::string>{"5 a.example.test.", "20 b.example.test."}));

    TFakeDnsServer missing("127.0.0.1", 0, Answering({}, 3));
    Point(missing.Port());
    EXPECT_EQ(ResolveFails<EResolverError>(), "Domain name does not exist");
    EXPECT_TRUE(resolver.MXList.empty());

    TFakeDnsServer cut("127.0.0.1", 0, [](TFakeDnsServer &self, unsigned id, const QNetworkDatagram &query) {
        auto answer = MxAnswer(id, "example.test", {{30, "c.example.test"}, {10, "a.example.test"}, {20, "b.example.test"}});
        answer.resize(answer.size() - 3);
        self.Reply(query, answer);
    });
    Point(cut.Port());
    EXPECT_EQ(ResolveFails<EResolverError>(), "Malformed response: read past the end");
    EXPECT_EQ(Hosts(resolver.MXList), (std::vector<std::string>{"10 a.example.test.", "30 c.example.test."}));

    resolver.DNSAddress = QStringLiteral("localhost");
    EXPECT_EQ(ResolveFails<ESocketError>(), "Error resolving remote host");
    EXPECT_TRUE(resolver.MXList.empty());
}

TEST_F(MxResolverTest, SilentServerTimesOut)
{
    TFakeDnsServer server("127.0.0.1", 0, Silent);
    Point(server.Port(), 1);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(ResolveFails<ETimedOutError>(), "Operation timed out");
    EXPECT_EQ(server.Queries, 1);
    EXPECT_LT(clock.elapsed(), 3000);
}

TEST_F(MxResolverTest, RepliesThatDoNotMatchAreNotTheAnswer)
{
    // A wrong ID, a wrong question and a stranger's datagram come first; the answer 200 ms later.
    QUdpSocket stranger;
    ASSERT_TRUE(stranger.bind(Loopback, 0));
    TFakeDnsServer server("127.0.0.1", 0, [&](TFakeDnsServer &self, unsigned id, const QNetworkDatagram &query) {
        self.Reply(query, MxAnswer(id + 1, "example.test", {{1, "wrong-id.test"}}));
        self.Reply(query, MxAnswer(id, "other.test", {{1, "wrong-question.test"}}));
        const auto forged = MxAnswer(id, "example.test", {{1, "stranger.test"}});
        stranger.writeDatagram(reinterpret_cast<const char *>(forged.data()), qint64(forged.size()),
                               query.senderAddress(), quint16(query.senderPort()));
        QTimer::singleShot(200, &stranger, [&self, id, query] {
            self.Reply(query, MxAnswer(id, "example.test", {{7, "right.example.test"}}));
        });
    });
    Point(server.Port());
    resolver.Resolve();
    EXPECT_EQ(Hosts(resolver.MXList), std::vector<std::string>{"7 right.example.test."});
}

TEST_F(MxResolverTest, CancelEndsTheWaitAndTheNextLookupStartsAfresh)
{
    TFakeDnsServer silent("127.0.0.1", 0, Silent);
    Point(silent.Port(), 30);
    QTimer::singleShot(200, &resolver, [this] { resolver.Cancel(); });
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(ResolveFails<ECanceledError>(), "Operation has been canceled");
    EXPECT_LT(clock.elapsed(), 5000);

    TFakeDnsServer answering("127.0.0.1", 0, Answering({{5, "mx.example.test"}}));
    Point(answering.Port());
    resolver.Resolve();
    EXPECT_EQ(resolver.MXList.size(), 1u);
}

// The lookup reads the private resolver configuration that the test main points at.
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
    TMailHostLookup Lookup(TMailHostLookup::ListFetcher fetcher = {})
    {
        if (!fetcher)
            fetcher = [](const std::string &) -> std::vector<std::string> {
                ADD_FAILURE() << "the DNS list file was fetched";
                return {};
            };
        return TMailHostLookup(resolver, [this](const QString &text) { statuses << text; }, std::move(fetcher));
    }

    QStringList statuses;
};

TEST_F(MailHostLookupTest, ConfiguredServersFirstThenTheListFile)
{
    EXPECT_EQ(TMailHostLookup::ResolvConfPath(), qEnvironmentVariable("MAPOLIN_RESOLV_CONF"));
    WriteResolvConf("search example.test\nnameserver 127.0.0.1\nnameserver 127.0.0.2\n");
    QStringList servers = {"stale"};
    resolver.DNSAddress = QStringLiteral("10.9.9.9");
    Lookup().GetDnsServerList(servers);
    EXPECT_EQ(servers, (QStringList{"127.0.0.1", "127.0.0.2"}));
    EXPECT_TRUE(resolver.DNSAddress.isEmpty());

    WriteResolvConf("# no nameserver here\n");
    std::string askedFor;
    Lookup([&](const std::string &url) -> std::vector<std::string> {
        askedFor = url;
        return {"127.0.0.1,127.0.0.2", "127.0.0.3"};
    }).GetDnsServerList(servers);
    EXPECT_EQ(servers, (QStringList{"127.0.0.1", "127.0.0.2", "127.0.0.3"}));
    EXPECT_TRUE(askedFor.starts_with("http://") && askedFor.ends_with("/dnsip/dnsip.dat")) << askedFor;

    // A failed fetch leaves no server, so no host and no status.
    auto failing = Lookup([](const std::string &) -> std::vector<std::string> { throw EMailError("Not Found"); });
    QStringList hosts;
    failing.BuildMailHostList(QStringLiteral("me@example.test"), hosts);
    EXPECT_TRUE(hosts.isEmpty());
    EXPECT_TRUE(statuses.isEmpty());
}

TEST_F(MailHostLookupTest, NextServerIsAskedAfterAFailure)
{
    TFakeDnsServer first("127.0.0.1", 0, Answering({}, 3));
    TFakeDnsServer second("127.0.0.2", first.Port(), Answering({{20, "b.example.test"}, {5, "a.example.test"}}));
    TFakeDnsServer third("127.0.0.3", first.Port(), Answering({{1, "c.example.test"}}));
    WriteResolvConf("nameserver 127.0.0.1\nnameserver 127.0.0.2\nnameserver 127.0.0.3\n");
    resolver.Port = first.Port();
    QStringList hosts;
    Lookup().BuildMailHostList(QStringLiteral("me@example.test"), hosts);
    EXPECT_EQ(hosts, (QStringList{"   5|a.example.test.", "  20|b.example.test."}));
    EXPECT_EQ(statuses, (QStringList{"1/3 127.0.0.1", "2/3 127.0.0.2", "DNS OK!"}));
    EXPECT_EQ(resolver.TimeOut, 10);
    EXPECT_EQ(third.Queries, 0);
}

TEST_F(MailHostLookupTest, DnsmasqAnswersMxQueries)
{
    const quint16 port = FreeUdpPort();
    QProcess dnsmasq;
    dnsmasq.start("/usr/sbin/dnsmasq",
                  {"--no-daemon", "--conf-file=/dev/null", "--no-resolv", "--no-hosts", "--bind-interfaces",
                   "--listen-address", "127.0.0.1", "--port", QString::number(port), "--pid-file=",
                   "--user=root", "--mx-host=example.test,mail1.example.test,5",
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
    WriteResolvConf("nameserver 127.0.0.1\n");
    resolver.Port = port;
    // An address without "@" is a domain of its own.
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
