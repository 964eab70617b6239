// THttpCli against a real HTTP server and small in-process fakes on loopback.
#include "mail/HttpCli.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using mail::THttpCli;

namespace {

const char *const kAgent = "Tembrel Software Email-A-Friend";

// Answers each request with what the handler returns for its request line; a null answer
// leaves the connection open and silent.
class TFakeHttpServer : public QObject {
public:
    using THandler = std::function<QByteArray(const QByteArray &requestLine)>;

    explicit TFakeHttpServer(THandler handler) : handler_(std::move(handler))
    {
        EXPECT_TRUE(server_.listen(QHostAddress::LocalHost));
        const bool wired = connect(&server_, &QTcpServer::newConnection, this, [this] {
            while (QTcpSocket *socket = server_.nextPendingConnection())
                Serve(socket);
        });
        EXPECT_TRUE(wired);
    }

    QString Url(const QString &path) const
    {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(server_.serverPort()).arg(path);
    }

    QList<QByteArray> Requests;

private:
    void Serve(QTcpSocket *socket)
    {
        socket->setParent(this);
        connect(socket, &QIODevice::readyRead, this, [this, socket] {
            const QByteArray pending = socket->property("pending").toByteArray() + socket->readAll();
            socket->setProperty("pending", pending);
            if (!pending.endsWith("\r\n\r\n"))
                return;
            Requests.append(pending);
            const QByteArray answer = handler_(pending.left(pending.indexOf("\r\n")));
            if (answer.isNull())
                return;
            socket->write(answer);
            socket->disconnectFromHost();
        });
    }

    QTcpServer server_;
    THandler handler_;
};

QByteArray Redirect(const QByteArray &location)
{
    return "HTTP/1.0 302 Found\r\nLocation: " + location + "\r\nContent-Length: 5\r\n\r\nmoved";
}

} // namespace

TEST(HttpCliFake, SendsTheRequestAndFollowsARedirectionOnTheSameHost)
{
    TFakeHttpServer server([](const QByteArray &line) {
        if (line == "GET /dnsip/dnsip.dat HTTP/1.0")
            return Redirect("/moved/list.dat");
        return QByteArray("HTTP/1.1 200 OK\r\n\r\n192.0.2.1\r\n192.0.2.2\r\n");
    });
    THttpCli http;
    http.URL = server.Url("/dnsip/dnsip.dat");
    http.Agent = kAgent;
    http.Get();
    EXPECT_EQ(http.StatusCode, 200);
    EXPECT_EQ(http.ReasonPhrase, "OK");
    EXPECT_EQ(http.RcvdBody, QStringList({"192.0.2.1", "192.0.2.2"}));
    ASSERT_EQ(server.Requests.size(), 2);
    EXPECT_EQ(server.Requests[0], "GET /dnsip/dnsip.dat HTTP/1.0\r\n"
                                  "User-Agent: Tembrel Software Email-A-Friend\r\n"
                                  "Host: 127.0.0.1\r\n\r\n");
    EXPECT_TRUE(server.Requests[1].startsWith("GET /moved/list.dat HTTP/1.0\r\n"));
}

TEST(HttpCliFake, FollowsARedirectionToAnotherServer)
{
    TFakeHttpServer mirror([](const QByteArray &) {
        return QByteArray("HTTP/1.0 200 OK\r\n\r\n192.0.2.9");
    });
    TFakeHttpServer server([&mirror](const QByteArray &) {
        return Redirect(mirror.Url("/list").toLatin1());
    });
    THttpCli http;
    http.URL = server.Url("/");
    http.Get();
    EXPECT_EQ(http.RcvdBody, QStringList({"192.0.2.9"}));
    ASSERT_EQ(mirror.Requests.size(), 1);
    EXPECT_TRUE(mirror.Requests[0].startsWith("GET /list HTTP/1.0\r\n"));
}

TEST(HttpCliFake, NotFoundWithABodyAddsNoLine)
{
    TFakeHttpServer server([](const QByteArray &) {
        return QByteArray("HTTP/1.0 404 Not Found\r\n\r\n192.0.2.1\r\n");
    });
    THttpCli http;
    http.URL = server.Url("/dnsip/dnsip.dat");
    try {
        http.Get();
        FAIL() << "no exception";
    } catch (const mail::EHttpException &e) {
        EXPECT_EQ(e.Code, 404);
        EXPECT_STREQ(e.what(), "Not Found");
    }
    EXPECT_EQ(http.StatusCode, 404);
    EXPECT_TRUE(http.RcvdBody.isEmpty());
}

TEST(HttpCliFake, RedirectionLoopsAndOtherSchemesAreRefused)
{
    TFakeHttpServer loop([](const QByteArray &) { return Redirect("/again"); });
    THttpCli http;
    http.URL = loop.Url("/again");
    EXPECT_THROW(http.Get(), mail::EHttpProtocolError);
    EXPECT_EQ(loop.Requests.size(), 1 + http.MaxRedirections);

    TFakeHttpServer secure([](const QByteArray &) { return Redirect("https://127.0.0.1/"); });
    http.URL = secure.Url("/");
    EXPECT_THROW(http.Get(), mail::EHttpProtocolError);
    EXPECT_EQ(secure.Requests.size(), 1);
    EXPECT_TRUE(http.RcvdBody.isEmpty());
}

TEST(HttpCliFake, OversizedHeaderAndBodyAreRefused)
{
    TFakeHttpServer header([](const QByteArray &) {
        return "HTTP/1.0 200 OK\r\nX-Long: " + QByteArray(100000, 'a') + "\r\n\r\n192.0.2.1";
    });
    THttpCli http;
    http.URL = header.Url("/");
    EXPECT_THROW(http.Get(), mail::EHttpProtocolError);

    TFakeHttpServer body([](const QByteArray &) {
        return "HTTP/1.0 200 OK\r\n\r\n" + QByteArray(5000, '1');
    });
    http.URL = body.Url("/");
    http.MaxBodySize = 1000;
    EXPECT_THROW(http.Get(), mail::EHttpProtocolError);
    EXPECT_TRUE(http.RcvdBody.isEmpty());
}

TEST(HttpCliFake, CompleteBodyEndsTheWaitWhileTheServerStaysConnected)
{
    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost));
    const bool wired = QObject::connect(&server, &QTcpServer::newConnection, [&server] {
        QTcpSocket *socket = server.nextPendingConnection();
        QObject::connect(socket, &QIODevice::readyRead, socket, [socket] {
            socket->readAll();
            socket->write("HTTP/1.1 200 OK\r\nContent-Length: 10\r\n\r\n192.0.2.1\n");
        });
    });
    ASSERT_TRUE(wired);
    THttpCli http;
    http.URL = QStringLiteral("http://127.0.0.1:%1/").arg(server.serverPort());
    http.TimeOut = 5;
    QElapsedTimer clock;
    clock.start();
    http.Get();
    EXPECT_LT(clock.elapsed(), 2000);
    EXPECT_EQ(http.RcvdBody, QStringList({"192.0.2.1"}));
}

TEST(HttpCliFake, SilentServerEndsInTheTimeLimit)
{
    TFakeHttpServer silent([](const QByteArray &) { return QByteArray(); });
    THttpCli http;
    http.URL = silent.Url("/");
    http.TimeOut = 1;
    QElapsedTimer clock;
    clock.start();
    EXPECT_THROW(http.Get(), mail::ETimedOutError);
    EXPECT_GE(clock.elapsed(), 900);
    EXPECT_LT(clock.elapsed(), 3000);
    EXPECT_EQ(silent.Requests.size(), 1);
}

TEST(HttpCliFake, RefusedConnectionGivesTheSocketErrorText)
{
    quint16 port = 0;
    {
        QTcpServer probe;
        ASSERT_TRUE(probe.listen(QHostAddress::LocalHost));
        port = probe.serverPort();
    }
    THttpCli http;
    http.URL = QStringLiteral("http://127.0.0.1:%1/").arg(port);
    try {
        http.Get();
        FAIL() << "no exception";
    } catch (const mail::ESocketError &e) {
        EXPECT_EQ(e.Code, 10061);
        EXPECT_STREQ(e.what(), "[10061] Connection refused");
    }
}

// A real server for the two layouts of the DNS list file.
class HttpCliServer : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        folder_ = std::make_unique<QTemporaryDir>();
        ASSERT_TRUE(folder_->isValid());
        ASSERT_TRUE(QDir(folder_->path()).mkpath("dnsip"));
        Write("dnsip/dnsip.dat", "192.0.2.1,192.0.2.2,198.51.100.7");
        Write("dnsip/lines.dat", "192.0.2.1\r\n192.0.2.2\r\n198.51.100.7\r\n");
        {
            QTcpServer probe;
            ASSERT_TRUE(probe.listen(QHostAddress::LocalHost));
            port_ = probe.serverPort();
        }
        server_ = std::make_unique<QProcess>();
        server_->setStandardOutputFile(QProcess::nullDevice());
        server_->setStandardErrorFile(QProcess::nullDevice());
        server_->start("/usr/bin/python3", {"-m", "http.server", QString::number(port_), "--bind",
                                            "127.0.0.1", "--directory", folder_->path()});
        ASSERT_TRUE(server_->waitForStarted(5000));
        QElapsedTimer clock;
        clock.start();
        for (;;) {
            QTcpSocket probe;
            probe.connectToHost(QHostAddress::LocalHost, port_);
            if (probe.waitForConnected(200))
                break;
            ASSERT_LT(clock.elapsed(), 10000) << "http.server did not start";
            QTest::qWait(100);
        }
    }

    static void TearDownTestSuite()
    {
        server_->terminate();
        server_->waitForFinished(5000);
        server_.reset();
        folder_.reset();
    }

    static void Write(const QString &name, const QByteArray &content)
    {
        QFile file(QDir(folder_->path()).filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    static QString Url(const QString &path)
    {
        return QStringLiteral("http://127.0.0.1:%1%2").arg(port_).arg(path);
    }

    static inline std::unique_ptr<QTemporaryDir> folder_;
    static inline std::unique_ptr<QProcess> server_;
    static inline quint16 port_ = 0;
};

TEST_F(HttpCliServer, FetchesTheListWithCommasAndWithLineBreaks)
{
    THttpCli commas;
    commas.URL = Url("/dnsip/dnsip.dat");
    commas.Agent = kAgent;
    commas.Get();
    EXPECT_EQ(commas.StatusCode, 200);
    EXPECT_EQ(commas.RcvdBody, QStringList({"192.0.2.1,192.0.2.2,198.51.100.7"}));

    THttpCli lines;
    lines.URL = Url("/dnsip/lines.dat");
    lines.Get();
    EXPECT_EQ(lines.RcvdBody, QStringList({"192.0.2.1", "192.0.2.2", "198.51.100.7"}));
    EXPECT_EQ(commas.RcvdBody.join('\n').split(QRegularExpression("[,\n]")), lines.RcvdBody);
}

TEST_F(HttpCliServer, MissingFileAndFolderRedirection)
{
    THttpCli http;
    http.URL = Url("/dnsip/missing.dat");
    EXPECT_THROW(http.Get(), mail::EHttpException);
    EXPECT_EQ(http.StatusCode, 404);
    EXPECT_TRUE(http.RcvdBody.isEmpty());

    // The server answers a folder without its slash with a redirection to "/dnsip/".
    http.URL = Url("/dnsip");
    http.Get();
    EXPECT_EQ(http.StatusCode, 200);
    EXPECT_TRUE(http.RcvdBody.join('\n').contains("lines.dat"));
}
