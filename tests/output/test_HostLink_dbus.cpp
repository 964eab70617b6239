// Host editor link on a private session bus, against the fake Quorix program.
#include "output/HostLink.h"
#include "output/FakeQuorix.h"
#include "support/ErrorText.h"
#include "support/QtPrinters.h"

#include <QDBusConnection>
#include <QElapsedTimer>
#include <gtest/gtest.h>

namespace {

class HostLinkTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(QDBusConnection::sessionBus().isConnected()) << "run under dbus-run-session"; }

    TFakeQuorix Fake;
};

TEST_F(HostLinkTest, DetectionFollowsTheAnswerWithinTwoSeconds)
{
    EXPECT_FALSE(QuorixRunning(QDBusConnection(QStringLiteral("never-connected"))));
    // No flags: no fake at all.
    const struct { QStringList Flags; bool Running; int MinMs, MaxMs; } cases[] = {
        {{}, false, 0, 1000},
        {{"--answer", "7"}, true, 0, 1000},
        {{"--answer", "0"}, false, 0, 1000},
        {{"--answer", "-1"}, false, 0, 1000},
        {{"--detect-delay", "1000"}, true, 900, 1900},
        {{"--detect-delay", "3000"}, false, 1900, 2900}, // too late counts as absent
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.Flags.join(' ').toStdString());
        ASSERT_TRUE(c.Flags.isEmpty() || Fake.Start(c.Flags));
        QElapsedTimer clock;
        clock.start();
        EXPECT_EQ(QuorixRunning(), c.Running);
        EXPECT_GE(clock.elapsed(), c.MinMs);
        EXPECT_LT(clock.elapsed(), c.MaxMs);
        EXPECT_EQ(Fake.Calls().value(0), c.Flags.isEmpty() ? QString() : QStringLiteral("WM_ISQUORIXRUNNING 0 0"));
        Fake.Stop();
    }
}

// Plugin calls wait past the detection's two seconds; Quorix's own failure text reaches the user.
TEST_F(HostLinkTest, PluginNeedsQuorixWaitsForSlowAnswersAndPassesTextBothWays)
{
    EXPECT_EQ(ErrorText<EQuorixError>([] { TQuorixPlugin plugin; }),
              "Cannot create the object \"Quorix4.Plugin\": Quorix is not running.");
    EXPECT_NE(ErrorText<EQuorixError>([] { TQuorixPlugin plugin(QDBusConnection(QStringLiteral("never-connected"))); }),
              "");

    const QString workDir = QStringLiteral("/home/\u00e5sa/web site/");
    ASSERT_TRUE(Fake.Start({"--workdir", workDir, "--delay", "2500", "--fail", "isopendoc", "--fail-text",
                            "No document window is open."}));
    const QString fragment = QStringLiteral("<IMG SRC=\"a b.gif\" USEMAP=\"#m\">\r\n<MAP NAME=\"m\">\r\n</MAP>\r\n");
    TQuorixPlugin plugin;
    EXPECT_EQ(plugin.getworkdir(), workDir);
    EXPECT_EQ(plugin.puttextatcursor(fragment), QString());
    EXPECT_EQ(ErrorText<EQuorixError>([&] { plugin.isopendoc(); }), "No document window is open.");
    EXPECT_EQ(Fake.Calls(), (QStringList{"getworkdir", "puttextatcursor " + fragment, "isopendoc"}));

    // Quorix quitting after the object was made is a failure too, never a silent success.
    Fake.Stop();
    EXPECT_NE(ErrorText<EQuorixError>([&] { plugin.getworkdir(); }), "");
}

} // namespace
