// The MX resolver and mail-host lookup against small in-process DNS fakes; the e-mail window's
// end-to-end test asks dnsmasq.
#include "FakePeers.h"
#include "support/ErrorText.h"

#include "mail/MXResolver.h"

#include <QTimer>

using namespace mail;
using mail::test::Hosts;
using mail::test::MxAnswer;
using Records = std::vector<std::string>;

namespace {

void Silent(TFakeDnsServer &, unsigned, const QNetworkDatagram &) {}

class MxResolverTest : public ::testing::Test {
protected:
    // Resolves example.test at the port; returns the error text, "" on success.
    template <typename Error = std::exception> std::string Resolve(quint16 port, int timeOut = 5)
    {
        resolver.DNSAddress = QStringLiteral("127.0.0.1");
        resolver.Port = port;
        resolver.Domain = QStringLiteral("example.test");
        resolver.TimeOut = timeOut;
        clock.start();
        return ErrorText<Error>([this] { resolver.Resolve(); });
    }

    TmsMXResolver resolver;
    QElapsedTimer clock;
};

} // namespace

// A refusal ends the wait at once, silence with the time-out or Cancel; the next lookup starts afresh.
TEST_F(MxResolverTest, FaultsEndTheWait)
{
    EXPECT_EQ(Resolve<ESocketError>(FreeUdpPort(), 10), "[10061] Connection refused");
    EXPECT_LT(clock.elapsed(), 1000);
    TFakeDnsServer silent(Silent);
    EXPECT_EQ(Resolve<ETimedOutError>(silent.Port(), 1), "Operation timed out");
    EXPECT_EQ(silent.Queries, 1);
    QTimer::singleShot(200, &resolver, [this] { resolver.Cancel(); });
    EXPECT_EQ(Resolve<ECanceledError>(silent.Port(), 30), "Operation has been canceled");
    TFakeDnsServer answering(Answering({{5, "mx.example.test"}}));
    EXPECT_EQ(Resolve(answering.Port()), "");
    resolver.DNSAddress = QStringLiteral("localhost");
    EXPECT_EQ(ErrorText<ESocketError>([this] { resolver.Resolve(); }), "Error resolving remote host") << "not a dotted quad";
    EXPECT_TRUE(resolver.MXList.empty());
}

// The partial answer holds the worst host only: TCP on the same port brings the whole one, and
// when TCP drips past the time-out the partial answer is kept.
TEST_F(MxResolverTest, TruncatedAnswerIsAskedAgainOverTcpWithinTheTimeOut)
{
    const TMXList all = {{30, "c.example.test"}, {10, "a.example.test"}, {20, "b.example.test"}};
    TFakeDnsServer udp([&all](TFakeDnsServer &self, unsigned id, const QNetworkDatagram &query) {
        auto answer = MxAnswer(id, "example.test", {all[0]});
        answer[2] |= 0x02;
        self.Reply(query, answer);
    });
    QTcpServer tcp;
    ASSERT_TRUE(tcp.listen(QHostAddress::LocalHost, udp.Port()));
    int byteEveryMs = 0; // 0: the length's first byte alone, then the rest at once
    QObject::connect(&tcp, &QTcpServer::newConnection, &tcp, [&] {
        QTcpSocket *client = tcp.nextPendingConnection();
        QObject::connect(client, &QTcpSocket::readyRead, client, [client, &all, byteEveryMs] {
            const QByteArray head = client->peek(4);
            if (head.size() < 4)
                return;
            const auto answer = MxAnswer(unsigned(quint8(head[2]) << 8 | quint8(head[3])), "example.test", all);
            const QByteArray framed = QByteArray(1, char(answer.size() >> 8)) + char(answer.size())
                                      + QByteArray(reinterpret_cast<const char *>(answer.data()), qsizetype(answer.size()));
            client->write(framed.left(1));
            client->flush();
            if (!byteEveryMs)
                return void(client->write(framed.mid(1)));
            auto *timer = new QTimer(client);
            QObject::connect(timer, &QTimer::timeout, client,
                             [client, framed, at = 1]() mutable { client->write(framed.mid(at++, 1)); });
            timer->start(byteEveryMs);
        });
    });
    EXPECT_EQ(Resolve(udp.Port()), "");
    EXPECT_EQ(Hosts(resolver.MXList), (Records{"10 a.example.test.", "20 b.example.test.", "30 c.example.test."}));
    // Each single wait stays under the time-out of 1 s; the whole lookup may not.
    byteEveryMs = 800;
    Resolve(udp.Port(), 1);
    EXPECT_LT(clock.elapsed(), 2500);
    EXPECT_EQ(Hosts(resolver.MXList), Records{"30 c.example.test."});
}

// A stranger's datagram comes first; the answer 200 ms later.
TEST_F(MxResolverTest, RepliesThatDoNotMatchAreNotTheAnswer)
{
    QUdpSocket stranger;
    ASSERT_TRUE(stranger.bind(QHostAddress::LocalHost, 0));
    TFakeDnsServer server([&](TFakeDnsServer &self, unsigned id, const QNetworkDatagram &query) {
        const auto forged = MxAnswer(id, "example.test", {{1, "stranger.test"}});
        stranger.writeDatagram(reinterpret_cast<const char *>(forged.data()), qint64(forged.size()),
                               query.senderAddress(), quint16(query.senderPort()));
        QTimer::singleShot(200, &stranger, [&self, id, query] {
            self.Reply(query, MxAnswer(id, "example.test", {{7, "right.test"}}));
        });
    });
    EXPECT_EQ(Resolve(server.Port()), "");
    EXPECT_EQ(Hosts(resolver.MXList), Records{"7 right.test."});
}

// The lookup reads the private resolver configuration that the test main points at.
class MailHostLookupTest : public MxResolverTest {
protected:
    void SetUp() override { QFile::remove(TMailHostLookup::ResolvConfPath()); }
    // By default the DNS list file must not be needed.
    QStringList Build(const QString &address, TMailHostLookup::ListFetcher fetcher = [](const std::string &) {
        ADD_FAILURE() << "the DNS list file was fetched";
        return std::vector<std::string>();
    })
    {
        statuses.clear();
        QStringList hosts;
        TMailHostLookup(resolver, [this](const QString &text) { statuses << text; }, std::move(fetcher))
            .BuildMailHostList(address, hosts);
        return hosts;
    }

    QStringList statuses;
};

// Without a configured server the list file is fetched; a failed fetch leaves no host and no status.
TEST_F(MailHostLookupTest, ConfiguredServersFirstThenTheListFile)
{
    WriteResolvConf("search example.test\nnameserver 127.0.0.1\nnameserver 127.0.0.2\n");
    QStringList servers = {"stale"};
    resolver.DNSAddress = QStringLiteral("127.0.0.9"); // a stale value the lookup must clear
    TMailHostLookup(resolver).GetDnsServerList(servers);
    EXPECT_EQ(servers, (QStringList{"127.0.0.1", "127.0.0.2"}));
    EXPECT_TRUE(resolver.DNSAddress.isEmpty());

    WriteResolvConf("# no nameserver here\n");
    std::string askedFor;
    const auto fetch = [&askedFor](const std::string &url) { return askedFor = url, std::vector<std::string>{"127.0.0.3"}; };
    TMailHostLookup(resolver, {}, fetch).GetDnsServerList(servers);
    EXPECT_EQ(servers, QStringList{"127.0.0.3"});
    EXPECT_TRUE(askedFor.ends_with("/dnsip/dnsip.dat")) << askedFor;
    const auto fail = [](const std::string &) -> std::vector<std::string> { throw EMailError("x"); };
    EXPECT_TRUE(Build("me@example.test", fail).isEmpty());
    EXPECT_TRUE(statuses.isEmpty());
}

// An address without "@" is a domain of its own; a malformed domain is asked of no server.
TEST_F(MailHostLookupTest, NextServerIsAskedAfterAFailureUpToThree)
{
    TFakeDnsServer first(Answering({}, 3));
    TFakeDnsServer second(Answering({{20, "b.example.test"}, {5, "a.example.test"}}), "127.0.0.2", first.Port());
    TFakeDnsServer third(Answering({{1, "c.example.test"}}), "127.0.0.3", first.Port());
    WriteResolvConf("nameserver 127.0.0.1\nnameserver 127.0.0.2\nnameserver 127.0.0.3\n");
    resolver.Port = first.Port();
    for (const QString address : {"me@example.test", "example.test"}) {
        EXPECT_EQ(Build(address), (QStringList{"   5|a.example.test.", "  20|b.example.test."}));
        EXPECT_EQ(statuses, (QStringList{"1/3 127.0.0.1", "2/3 127.0.0.2", "DNS OK!"}));
    }
    EXPECT_EQ(resolver.TimeOut, 10);
    EXPECT_TRUE(Build("me@exa mple.test").isEmpty());
    EXPECT_EQ(first.Queries, 2);

    WriteResolvConf("nameserver 127.0.0.1\nnameserver 127.0.0.1\nnameserver 127.0.0.1\nnameserver 127.0.0.3\n");
    EXPECT_TRUE(Build("me@example.test").isEmpty());
    EXPECT_EQ(statuses.last(), "3/3 127.0.0.1");
    EXPECT_EQ(third.Queries, 0);
}

// Cancel ends the whole lookup at once, while the list file's server or a DNS server is silent:
// no further server is asked.
TEST_F(MailHostLookupTest, CancelEndsTheLookupAtOnce)
{
    QTcpServer silentHttp;
    ASSERT_TRUE(silentHttp.listen(QHostAddress::LocalHost));
    TFakeDnsServer silent(Silent);
    TFakeDnsServer next(Answering({{5, "a.example.test"}}), "127.0.0.2", silent.Port());
    resolver.Port = silent.Port();
    for (const QByteArray conf : {"# none\n", "nameserver 127.0.0.1\nnameserver 127.0.0.2\n"}) {
        WriteResolvConf(conf);
        TMailHostLookup lookup(resolver);
        lookup.DnsListUrl = QStringLiteral("http://127.0.0.1:%1/dnsip/dnsip.dat").arg(silentHttp.serverPort());
        QTimer::singleShot(200, &silentHttp, [&lookup] { lookup.Cancel(); });
        clock.start();
        QStringList hosts;
        lookup.BuildMailHostList(QStringLiteral("me@example.test"), hosts);
        EXPECT_LT(clock.elapsed(), 2000) << conf.constData();
        EXPECT_TRUE(hosts.isEmpty());
    }
    EXPECT_EQ(silent.Queries, 1);
    EXPECT_EQ(next.Queries, 0);
}
