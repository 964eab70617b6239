// THttpCli against small in-process HTTP servers on loopback.
#include "PeerProcess.h"

#include "mail/HttpCli.h"

#include <gtest/gtest.h>

#include <sys/socket.h>

using mail::THttpCli;

namespace {

// Answers each request with what the handler returns for its request line and closes, unless
// KeepOpen; a null answer leaves the connection silent.
class TFakeHttpServer : public QObject {
public:
    explicit TFakeHttpServer(std::function<QByteArray(const QByteArray &)> handler)
    {
        EXPECT_TRUE(server_.listen(QHostAddress::LocalHost));
        connect(&server_, &QTcpServer::newConnection, this, [this, handler] {
            QTcpSocket *socket = server_.nextPendingConnection();
            connect(socket, &QIODevice::readyRead, this, [this, socket, handler] {
                Requests.append(socket->readAll());
                const QByteArray answer = handler(Requests.last().left(Requests.last().indexOf('\r')));
                socket->write(answer);
                if (Reset) {
                    socket->flush();
                    const linger abortive{1, 0};
                    setsockopt(int(socket->socketDescriptor()), SOL_SOCKET, SO_LINGER, &abortive, sizeof abortive);
                    socket->abort();
                } else if (!answer.isNull() && !KeepOpen)
                    socket->disconnectFromHost();
            });
        });
    }
    QString Url(const QString &path) const
    {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(server_.serverPort()).arg(path);
    }
    QList<QByteArray> Requests;
    bool KeepOpen = false;
    bool Reset = false; // end with a connection reset instead of a close

private:
    QTcpServer server_;
};

QByteArray Redirect(const QByteArray &location)
{
    return "HTTP/1.0 302 Found\r\nLocation: " + location + "\r\nContent-Length: 5\r\n\r\nmoved";
}

template <typename E> E GetFails(THttpCli &http)
{
    try {
        http.Get();
    } catch (const E &e) {
        return e;
    }
    ADD_FAILURE() << "Get did not fail";
    return E(0, "");
}

} // namespace

TEST(HttpCliFake, SendsTheRequestAndFollowsRedirections)
{
    TFakeHttpServer mirror([](const QByteArray &) { return "HTTP/1.0 200 OK\r\n\r\n127.0.2.9"; });
    TFakeHttpServer server([&mirror](const QByteArray &line) {
        return line == "GET /dnsip/dnsip.dat HTTP/1.0" ? Redirect("/moved/list.dat")
                                                       : Redirect(mirror.Url("/list").toLatin1());
    });
    THttpCli http;
    http.URL = server.Url("/dnsip/dnsip.dat");
    http.Agent = "Tembrel Software Email-A-Friend";
    http.Get();
    EXPECT_EQ(http.StatusCode, 200);
    EXPECT_EQ(http.RcvdBody, QStringList({"127.0.2.9"}));
    ASSERT_EQ(server.Requests.size(), 2);
    EXPECT_EQ(server.Requests[0], "GET /dnsip/dnsip.dat HTTP/1.0\r\nUser-Agent: Tembrel Software "
                                  "Email-A-Friend\r\nHost: 127.0.0.1\r\n\r\n");
    EXPECT_TRUE(server.Requests[1].startsWith("GET /moved/list.dat HTTP/1.0\r\n"));
    ASSERT_EQ(mirror.Requests.size(), 1);
    EXPECT_TRUE(mirror.Requests[0].startsWith("GET /list HTTP/1.0\r\n"));
}

TEST(HttpCliFake, RefusesLoopsOtherSchemesAndOversizedHeaders)
{
    TFakeHttpServer loop([](const QByteArray &) { return Redirect("/again"); });
    TFakeHttpServer secure([](const QByteArray &) { return Redirect("https://127.0.0.1/"); });
    TFakeHttpServer header([](const QByteArray &) {
        return "HTTP/1.0 200 OK\r\nX-Long: " + QByteArray(100000, 'a') + "\r\n\r\n127.0.2.1";
    });
    THttpCli http;
    for (const TFakeHttpServer *server : {&loop, &secure, &header}) {
        http.URL = server->Url("/");
        EXPECT_THROW(http.Get(), mail::EHttpProtocolError);
    }
    EXPECT_EQ(loop.Requests.size(), 1 + http.MaxRedirections);
    EXPECT_EQ(secure.Requests.size(), 1);
    EXPECT_TRUE(http.RcvdBody.isEmpty());
}

TEST(HttpCliFake, WaitsNoLongerThanNeeded)
{
    TFakeHttpServer sized([](const QByteArray &) { return "HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\n127.0.2.1\n"; });
    sized.KeepOpen = true;
    TFakeHttpServer silent([](const QByteArray &) { return QByteArray(); });
    THttpCli http;
    http.TimeOut = 1;
    QElapsedTimer clock;
    clock.start();
    http.URL = sized.Url("/");
    http.Get();
    EXPECT_LT(clock.elapsed(), 500);
    EXPECT_EQ(http.RcvdBody, QStringList({"127.0.2.1"}));

    http.URL = silent.Url("/");
    clock.restart();
    EXPECT_THROW(http.Get(), mail::ETimedOutError);
    EXPECT_GE(clock.elapsed(), 900);
    EXPECT_LT(clock.elapsed(), 3000);

    http.URL = QStringLiteral("http://127.0.0.1:%1/").arg(FreeTcpPort());
    EXPECT_STREQ(GetFails<mail::ESocketError>(http).what(), "[10061] Connection refused");

    // A reset in the middle of the list is no end of it.
    TFakeHttpServer reset([](const QByteArray &) { return "HTTP/1.0 200 OK\r\n\r\n127.0.2.1,12"; });
    reset.Reset = true;
    THttpCli cut;
    cut.URL = reset.Url("/");
    EXPECT_STREQ(GetFails<mail::ESocketError>(cut).what(), "[10054] Connection reset by peer");
    EXPECT_TRUE(cut.RcvdBody.isEmpty());

    // A 404 comes with a page, which must not end up in the list.
    TFakeHttpServer missing([](const QByteArray &) { return "HTTP/1.0 404 File not found\r\n\r\n<html>127.0.2.1</html>"; });
    cut.URL = missing.Url("/dnsip/missing.dat");
    const auto error = GetFails<mail::EHttpException>(cut);
    EXPECT_EQ(error.Code, 404);
    EXPECT_STREQ(error.what(), "File not found");
    EXPECT_TRUE(cut.RcvdBody.isEmpty());
}
