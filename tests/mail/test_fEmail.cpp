// The e-mail window offscreen: its controls and keys, the composed texts, and the failures that
// end before any SMTP connection (no mail host, a message check), against a fake DNS server.
#include "FakeDnsServer.h"
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

#include <gtest/gtest.h>

using namespace mail;

namespace {

TEmailFields Fields()
{
    return {"T", "http://u.test/", "D.", "L."};
}

template <typename W> W *Child(QWidget &window, const char *name)
{
    W *child = window.findChild<W *>(QLatin1String(name));
    EXPECT_NE(child, nullptr) << name;
    return child;
}

// One window with the given identity, shown through the fake prompter, which runs `answer`.
class EmailWindow : public ::testing::Test {
protected:
    int Open(const std::function<void(TfrmEmail &)> &answer, TfrmEmail::TIdentity identity = {})
    {
        TfrmEmail window(nullptr, [identity] { return identity; });
        window.AssignFields(Fields());
        window.ctlMX.Port = dns.Port();
        window.FetchDnsList = [](const std::string &) { return std::vector<std::string>(); };
        prompter.modal = [this, &window, &answer](QWidget &shown) {
            if (&shown == &window)
                return answer(window);
            // The failure dialog: its text is kept, the first one is answered To Clipboard.
            errors << Child<QLabel>(shown, "lblError")->text();
            Click(shown, errors.size() == 1 && toClipboard ? "butClipboard" : "butClose");
        };
        return window.ShowModal();
    }
    static void Type(QWidget &window, const char *field, const QString &text)
    {
        Child<QLineEdit>(window, field)->setText(text);
    }
    static void Click(QWidget &window, const char *button)
    {
        QTest::mouseClick(Child<QPushButton>(window, button), Qt::LeftButton);
    }

    FakePrompter prompter;
    TFakeDnsServer dns{Answering({{10, "localhost"}})};
    QStringList errors;
    bool toClipboard = false;
};

} // namespace

TEST_F(EmailWindow, ControlsKeysAndPrefill)
{
    Open([](TfrmEmail &window) {
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        EXPECT_EQ(window.windowTitle(), "Email T to a Friend");
        EXPECT_EQ(Child<QLabel>(window, "lblHeading")->text(), "Think your friends would like T too? ");
        EXPECT_EQ(window.ctlMessage.Subject(), "T is available for you.");
        EXPECT_EQ(QApplication::focusWidget(), Child<QWidget>(window, "txtFriendsName"));
        EXPECT_EQ(Child<QLineEdit>(window, "txtYourEmail")->text(), "ann@example.test");
        auto *send = Child<QPushButton>(window, "butSend");
        EXPECT_FALSE(send->isEnabled());
        Type(window, "txtAddress", "x");
        EXPECT_TRUE(send->isEnabled());
        EXPECT_EQ(TabOrder(Child<QWidget>(window, "txtName"), 8),
                  QStringList({"txtName", "txtYourEmail", "txtFriendsName", "txtAddress", "memText", "chkHTML",
                               "butSend", "butCancel"}));
        ExpectLabelsFit(window);
        // Enter in the memo is a new line; in an edit it is Cancel.
        QTest::keyClick(Child<QWidget>(window, "memText"), Qt::Key_Return);
        EXPECT_EQ(Child<QPlainTextEdit>(window, "memText")->toPlainText(), "\n");
        EXPECT_TRUE(window.isVisible());
        QTest::keyClick(Child<QWidget>(window, "txtFriendsName"), Qt::Key_Return);
        EXPECT_FALSE(window.isVisible());
    }, {"Ann", "ann@example.test"});
    EXPECT_TRUE(prompter.messages.isEmpty());
    EXPECT_EQ(dns.Queries, 0);
}

TEST_F(EmailWindow, AnEmptyFieldIsReportedAndShowingGoesOn)
{
    TfrmEmail window(nullptr, [] { return TfrmEmail::TIdentity(); });
    window.AssignFields(Fields());
    window.DownloadURL.clear();
    prompter.modal = [](QWidget &shown) { Click(shown, "butCancel"); };
    EXPECT_EQ(window.ShowModal(), mrCancel);
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_EQ(prompter.messages[0].text, "Internal Error: All the customization fields must be supplied by the programmer !");
    EXPECT_EQ(window.windowTitle(), "Email T to a Friend");
}

// A friend's domain that is no host name asks no server; an injected name reaches no server.
TEST_F(EmailWindow, FailuresEndInTheDialogAndToClipboardGivesTheText)
{
    WriteResolvConf("nameserver 127.0.0.1\n");
    toClipboard = true;
    const auto send = [this](const QString &name, const QString &address) {
        return Open([&](TfrmEmail &window) {
            Type(window, "txtName", name);
            Type(window, "txtYourEmail", "me@example.test");
            Type(window, "txtAddress", address);
            Child<QPlainTextEdit>(window, "memText")->setPlainText(".\n" + QString(10000, QChar(0xe9)));
            Child<QCheckBox>(window, "chkHTML")->setChecked(true);
            Click(window, "butSend");
        });
    };
    EXPECT_EQ(send("", "bob@exa mple.test"), mrNone);
    EXPECT_EQ(dns.Queries, 0);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].startsWith("A DNS server cannot be found")) << errors[0].toStdString();
    EXPECT_EQ(QGuiApplication::clipboard()->text().toStdString(),
              ComposeMessage(Fields(), "A friend", "", (".\n" + QString(10000, QChar(0xe9))).toStdString(), true).Text);
    ASSERT_EQ(prompter.messages.size(), 1);
    EXPECT_EQ(prompter.messages[0].text, "The message about T has been placed in the clipboard.  You can now paste it "
                                         "into your regular email software and send it to your friend.");

    EXPECT_EQ(send("Ann\r\nBcc: everyone@example.test", "bob@example.test"), mrNone);
    EXPECT_EQ(dns.Queries, 1);
    ASSERT_EQ(errors.size(), 2);
    EXPECT_EQ(errors[1], "Invalid character in a display name\nYou can still send the message to your friend.  Click "
                         "the \"To Clipboard\" button and the email message will be put in the Windows Clipboard.  You "
                         "can then paste it into a regular email to your friend.");
}

// The close box while a DNS server keeps silent ends nothing; Cancel then ends the whole sending:
// the next server is not asked.
TEST_F(EmailWindow, CloseBoxWhileSendingWaitsForTheSendingToEnd)
{
    TFakeDnsServer silent([](TFakeDnsServer &, unsigned, const QNetworkDatagram &) {}, "127.0.0.2", dns.Port());
    WriteResolvConf("nameserver 127.0.0.2\nnameserver 127.0.0.1\n");
    bool openAfterClose = false;
    EXPECT_EQ(Open([&](TfrmEmail &window) {
        Type(window, "txtAddress", "bob@example.test");
        QTimer::singleShot(200, &window, [&window] { window.close(); });
        QTimer::singleShot(400, &window, [&] {
            openAfterClose = window.isVisible();
            Click(window, "butCancel");
        });
        Click(window, "butSend");
    }), mrCancel);
    EXPECT_TRUE(openAfterClose);
    EXPECT_EQ(silent.Queries, 1);
    EXPECT_EQ(dns.Queries, 0);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].startsWith("Operation has been canceled\n")) << errors[0].toStdString();
}
