// THttpCli against small in-process HTTP servers on loopback.
#include "FakePeers.h"

#include "mail/HttpCli.h"

using mail::THttpCli;

namespace {

QByteArray Redirect(const QByteArray &location)
{
    return "HTTP/1.0 302 Found\r\nLocation: " + location + "\r\nContent-Length: 5\r\n\r\nmoved";
}

// The error a Get of the server's page throws; the body must stay empty.
template <typename E> E GetFails(const QString &url)
{
    THttpCli http;
    http.URL = url;
    try {
        http.Get();
    } catch (const E &e) {
        EXPECT_TRUE(http.RcvdBody.isEmpty());
        return e;
    }
    throw std::logic_error("Get did not fail");
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
    EXPECT_EQ(http.RcvdBody, QStringList({"127.0.2.9"}));
    ASSERT_EQ(server.Requests.size(), 2);
    EXPECT_EQ(server.Requests[0], "GET /dnsip/dnsip.dat HTTP/1.0\r\nUser-Agent: Tembrel Software "
                                  "Email-A-Friend\r\nHost: 127.0.0.1\r\n\r\n");
    EXPECT_TRUE(server.Requests[1].startsWith("GET /moved/list.dat HTTP/1.0\r\n"));
}

// Loops, other schemes, oversized headers, resets in the middle of the list and error pages
// leave no list behind.
TEST(HttpCliFake, RefusesWhatIsNoWholeList)
{
    TFakeHttpServer loop([](const QByteArray &) { return Redirect("/again"); });
    TFakeHttpServer secure([](const QByteArray &) { return Redirect("https://127.0.0.1/"); });
    TFakeHttpServer header([](const QByteArray &) { return "HTTP/1.0 200 OK\r\nX-Long: " + QByteArray(100000, 'a') + "\r\n\r\n1"; });
    for (const TFakeHttpServer *server : {&loop, &secure, &header})
        GetFails<mail::EHttpProtocolError>(server->Url("/"));
    EXPECT_EQ(loop.Requests.size(), 1 + THttpCli().MaxRedirections);
    EXPECT_EQ(secure.Requests.size(), 1);

    TFakeHttpServer reset([](const QByteArray &) { return "HTTP/1.0 200 OK\r\n\r\n127.0.2.1,12"; });
    reset.Reset = true;
    EXPECT_STREQ(GetFails<mail::ESocketError>(reset.Url("/")).what(), "[10054] Connection reset by peer");
    TFakeHttpServer missing([](const QByteArray &) { return "HTTP/1.0 404 File not found\r\n\r\n<html>127.0.2.1</html>"; });
    const auto error = GetFails<mail::EHttpException>(missing.Url("/dnsip/missing.dat"));
    EXPECT_EQ(error.Code, 404);
    EXPECT_STREQ(error.what(), "File not found");
}

TEST(HttpCliFake, ContentLengthEndsTheBody)
{
    TFakeHttpServer sized([](const QByteArray &) { return "HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\n127.0.2.1\n"; });
    sized.KeepOpen = true;
    THttpCli http;
    http.TimeOut = 1;
    http.URL = sized.Url("/");
    http.Get(); // a time-out here would throw
    EXPECT_EQ(http.RcvdBody, QStringList({"127.0.2.1"}));
}
