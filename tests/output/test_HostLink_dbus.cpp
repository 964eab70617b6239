// Host editor link on a private session bus, against the fake Quorix program.
#include "output/HostLink.h"
#include "output/FakeQuorix.h"

#include <QDBusConnection>
#include <QElapsedTimer>
#include <gtest/gtest.h>

#include <functional>
#include <ostream>

// Readable failure output for Qt strings.
inline void PrintTo(const QString &text, std::ostream *out) { *out << '"' << text.toStdString() << '"'; }
inline void PrintTo(const QStringList &list, std::ostream *out) { *out << list.join(QLatin1Char('|')).toStdString(); }

namespace {

class HostLinkTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(QDBusConnection::sessionBus().isConnected()) << "run under dbus-run-session"; }

    TFakeQuorix Fake;
};

QString FailureText(const std::function<void()> &action)
{
    try {
        action();
    } catch (const EQuorixError &error) {
        EXPECT_EQ(QString::fromStdString(error.what()), error.Text());
        return error.Text();
    }
    return QStringLiteral("<no failure>");
}

TEST_F(HostLinkTest, RegisteringTheMessageNamesIt)
{
    EXPECT_EQ(RegisterQuorixMessage(), QStringLiteral("WM_ISQUORIXRUNNING"));
}

TEST_F(HostLinkTest, DetectionWithoutQuorixIsQuickAndNegative)
{
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(QuorixRunning());
    EXPECT_LT(clock.elapsed(), 1000);
    EXPECT_FALSE(QuorixRunning(QDBusConnection(QStringLiteral("never-connected"))));
}

TEST_F(HostLinkTest, DetectionFollowsTheAnswer)
{
    const struct {
        const char *Answer;
        bool Running;
    } cases[] = {{"1", true}, {"7", true}, {"0", false}, {"-1", false}};
    for (const auto &c : cases) {
        ASSERT_TRUE(Fake.Start({QStringLiteral("--answer"), QString::fromLatin1(c.Answer)}));
        EXPECT_EQ(QuorixRunning(), c.Running) << "answer " << c.Answer;
        Fake.Stop();
    }
    EXPECT_EQ(Fake.Calls().value(0), QStringLiteral("WM_ISQUORIXRUNNING 0 0"));
}

TEST_F(HostLinkTest, LateAnswerCountsAsNotRunning)
{
    ASSERT_TRUE(Fake.Start({QStringLiteral("--detect-delay"), QStringLiteral("1000")}));
    EXPECT_TRUE(QuorixRunning());
    Fake.Stop();

    ASSERT_TRUE(Fake.Start({QStringLiteral("--detect-delay"), QStringLiteral("3000")}));
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(QuorixRunning());
    EXPECT_GE(clock.elapsed(), 1900);
    EXPECT_LT(clock.elapsed(), 2900);
}

TEST_F(HostLinkTest, CreatingThePluginNeedsQuorix)
{
    EXPECT_EQ(FailureText([] { TQuorixPlugin plugin; }),
              QStringLiteral("Cannot create the object \"Quorix4.Plugin\": Quorix is not running."));
    EXPECT_NE(FailureText([] { TQuorixPlugin plugin(QDBusConnection(QStringLiteral("never-connected"))); }),
              QStringLiteral("<no failure>"));
}

TEST_F(HostLinkTest, MethodsPassTextBothWaysAndAreRecordedInOrder)
{
    const QString workDir = QStringLiteral("/home/\u00e5sa/web site/");
    ASSERT_TRUE(Fake.Start({QStringLiteral("--workdir"), workDir, QStringLiteral("--opendoc"), QStringLiteral("false")}));
    const QString fragment = QStringLiteral("<IMG SRC=\"a b.gif\" USEMAP=\"#m\">\r\n<MAP NAME=\"m\">\r\n</MAP>\r\n");

    TQuorixPlugin plugin;
    EXPECT_EQ(plugin.getworkdir(), workDir);
    EXPECT_EQ(plugin.isopendoc(), QStringLiteral("false"));
    EXPECT_EQ(plugin.opennewfile(), QString());
    EXPECT_EQ(plugin.puttextatcursor(fragment), QString());

    EXPECT_EQ(Fake.Calls(), (QStringList{QStringLiteral("getworkdir"), QStringLiteral("isopendoc"),
                                         QStringLiteral("opennewfile"), QStringLiteral("puttextatcursor ") + fragment}));
}

TEST_F(HostLinkTest, SlowAnswersAreWaitedFor)
{
    ASSERT_TRUE(Fake.Start({QStringLiteral("--delay"), QStringLiteral("2500"), QStringLiteral("--workdir"),
                            QStringLiteral("/w")}));
    TQuorixPlugin plugin;
    EXPECT_EQ(plugin.getworkdir(), QStringLiteral("/w"));
}

TEST_F(HostLinkTest, FailedCallsCarryQuorixsText)
{
    ASSERT_TRUE(Fake.Start({QStringLiteral("--fail"), QStringLiteral("puttextatcursor"), QStringLiteral("--fail-text"),
                            QStringLiteral("No document window is open.")}));
    TQuorixPlugin plugin;
    EXPECT_EQ(plugin.isopendoc(), QStringLiteral("true"));
    EXPECT_EQ(FailureText([&] { plugin.puttextatcursor(QStringLiteral("x")); }),
              QStringLiteral("No document window is open."));

    // Quorix quitting after the object was made is a failure too, never a silent success.
    Fake.Stop();
    EXPECT_NE(FailureText([&] { plugin.getworkdir(); }), QStringLiteral("<no failure>"));
}

} // namespace
