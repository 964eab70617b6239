// The hotspot and default URL dialogs driven as a user would: typing, buttons, keys, the caption.
#include "dialogs/AddDefaultHotspotForm.h"
#include "dialogs/AddHotspotForm.h"
#include "dialogs/HotspotDialogKit.h"
#include "support/FakePrompter.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QString DocumentDir = QStringLiteral("/srv/quorix docs");

// Ends every modal showing with the given actions; the window is hidden afterwards either way.
class ModalScript {
public:
    explicit ModalScript(std::function<void(TGradientForm &)> script) { TGradientForm::SetModalHandler(script); }
    ~ModalScript() { TGradientForm::SetModalHandler(nullptr); }
};

void Type(QComboBox *box, const QString &text)
{
    box->setFocus();
    QTest::keyClicks(box->lineEdit(), text);
}

void ClickCaptionButton(TGradientForm &form, caption::Button kind)
{
    auto *bar = form.findChild<QWidget *>(QStringLiteral("CaptionBar"));
    ASSERT_NE(bar, nullptr);
    for (const auto &button : form.CaptionLayout().buttons) {
        if (button.kind == kind) {
            QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(button.box.left + 3, button.box.top + 3));
            return;
        }
    }
    FAIL() << "no such caption button";
}

class HotSpotDialogs : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        // What QSettings' native format writes on Linux for "Options/Directories/DocumentDir".
        const QString folder = qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/Tembrel");
        QDir().mkpath(folder);
        QFile file(folder + QStringLiteral("/Quorix.conf"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("[Options]\nDirectories\\DocumentDir=" + DocumentDir.toUtf8() + "\n");
    }

    FakePrompter prompter;
};

TEST_F(HotSpotDialogs, OkTakesTheFieldsAsTyped)
{
    TfrmHotSpot form(nullptr);
    ModalScript script([&](TGradientForm &) {
        Type(form.cmbURL, QStringLiteral("http://example.org/"));
        QTest::mouseClick(form.btnOk, Qt::LeftButton);
    });
    EXPECT_EQ(form.ShowModal(), mrOk);
    EXPECT_EQ(form.URL, QStringLiteral("http://example.org/"));
    EXPECT_EQ(form.Target, QString());
    EXPECT_EQ(form.StatusText, QString());
    EXPECT_TRUE(prompter.messages.isEmpty());

    // A frame name outside the list is taken as typed and never joins the list.
    TfrmHotSpot framed(nullptr);
    ModalScript typed([&](TGradientForm &) {
        Type(framed.cmbURL, QStringLiteral("page.html"));
        Type(framed.txtTarget, QStringLiteral("mainFrame"));
        QTest::mouseClick(framed.btnOk, Qt::LeftButton);
    });
    EXPECT_EQ(framed.ShowModal(), mrOk);
    EXPECT_EQ(framed.Target, QStringLiteral("mainFrame"));
    EXPECT_EQ(framed.txtTarget->count(), 4);
}

TEST_F(HotSpotDialogs, EmptyUrlIsRefusedAndTheDialogStaysOpen)
{
    TfrmHotSpot form(nullptr);
    ModalScript script([&](TGradientForm &shown) {
        form.txtAlt->setText(QStringLiteral("kept"));
        QTest::mouseClick(form.btnOk, Qt::LeftButton);
        ASSERT_EQ(prompter.messages.size(), 1);
        EXPECT_EQ(prompter.messages[0].kind, IPrompter::Kind::Plain);
        EXPECT_EQ(prompter.messages[0].caption, QStringLiteral("Mapolin"));
        EXPECT_EQ(prompter.messages[0].text, QStringLiteral("Please enter a URL"));
        EXPECT_EQ(prompter.messages[0].buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        EXPECT_EQ(shown.ModalResult(), mrNone);
        EXPECT_TRUE(shown.isVisible());
        EXPECT_EQ(form.txtAlt->text(), QStringLiteral("kept"));
        EXPECT_TRUE(form.URL.isEmpty());
        // Blanks are a URL like any other.
        Type(form.cmbURL, QStringLiteral("  "));
        QTest::mouseClick(form.btnOk, Qt::LeftButton);
    });
    EXPECT_EQ(form.ShowModal(), mrOk);
    EXPECT_EQ(prompter.messages.size(), 1);
    EXPECT_EQ(form.URL, QStringLiteral("  "));
    EXPECT_EQ(form.StatusText, QStringLiteral("kept"));
}

TEST_F(HotSpotDialogs, DefaultDialogAcceptsAnEmptyUrl)
{
    TfrmDefaultHotSpot form(nullptr);
    ModalScript script([&](TGradientForm &) {
        form.txtTarget->setCurrentIndex(form.txtTarget->findText(QStringLiteral("_top")));
        QTest::mouseClick(form.btnOk, Qt::LeftButton);
    });
    EXPECT_EQ(form.ShowModal(), mrOk);
    EXPECT_EQ(form.URL, QString());
    EXPECT_EQ(form.Target, QStringLiteral("_top"));
    EXPECT_TRUE(prompter.messages.isEmpty());
}

// Escape, the Cancel button and the caption's close button all cancel and leave the fields empty.
template <typename Form>
void ExpectEveryWayOutCancels(const std::function<void(Form &)> &fill)
{
    const std::vector<std::pair<const char *, std::function<void(Form &)>>> ways = {
        {"Escape", [](Form &f) { QTest::keyClick(f.cmbURL->lineEdit(), Qt::Key_Escape); }},
        {"Escape on a button", [](Form &f) { QTest::keyClick(f.btnOk, Qt::Key_Escape); }},
        {"Cancel", [](Form &f) { QTest::mouseClick(f.btnCancel, Qt::LeftButton); }},
        {"close button", [](Form &f) { ClickCaptionButton(f, caption::Button::Close); }},
    };
    for (const auto &[name, leave] : ways) {
        SCOPED_TRACE(name);
        Form form(nullptr);
        ModalScript script([&](TGradientForm &) {
            fill(form);
            leave(form);
        });
        EXPECT_EQ(form.ShowModal(), mrCancel);
        EXPECT_TRUE(form.URL.isEmpty());
        EXPECT_TRUE(form.Target.isEmpty());
        EXPECT_FALSE(form.isVisible());
    }
}

TEST_F(HotSpotDialogs, EscapeCancelAndCloseButtonCancel)
{
    ExpectEveryWayOutCancels<TfrmHotSpot>([](TfrmHotSpot &f) {
        Type(f.cmbURL, QStringLiteral("http://x/"));
        f.txtAlt->setText(QStringLiteral("status"));
    });
    ExpectEveryWayOutCancels<TfrmDefaultHotSpot>(
        [](TfrmDefaultHotSpot &f) { Type(f.cmbURL, QStringLiteral("http://x/")); });
}

template <typename Form>
void ExpectOpenButtonFillsUrl(FakePrompter &prompter)
{
    Form form(nullptr);
    form.show();
    Type(form.cmbURL, QStringLiteral("typed"));

    prompter.files.push_back(QStringLiteral("/home/user/site/index.html"));
    QTest::mouseClick(form.btnOpen, Qt::LeftButton);
    ASSERT_EQ(prompter.openRequests.size(), 1);
    const auto &request = prompter.openRequests[0];
    EXPECT_EQ(request.filter, QStringLiteral("HTML Files|*.html;*.htm|All Files|*.*"));
    EXPECT_EQ(request.initialDir, DocumentDir);
    EXPECT_TRUE(request.mustExist);
    EXPECT_TRUE(request.hideReadOnly);
    EXPECT_EQ(form.cmbURL->currentText(), QStringLiteral("/home/user/site/index.html"));
    EXPECT_EQ(form.cmbURL->count(), 0);

    // Cancelled chooser: the URL box keeps what it had.
    QTest::mouseClick(form.btnOpen, Qt::LeftButton);
    EXPECT_EQ(prompter.openRequests.size(), 2);
    EXPECT_EQ(form.cmbURL->currentText(), QStringLiteral("/home/user/site/index.html"));
}

TEST_F(HotSpotDialogs, OpenButtonPutsTheChosenPathIntoTheUrlBox)
{
    ExpectOpenButtonFillsUrl<TfrmHotSpot>(prompter);
    prompter.openRequests.clear();
    ExpectOpenButtonFillsUrl<TfrmDefaultHotSpot>(prompter);
}

QStringList TabSequence(TGradientForm &form, QWidget *first, int steps)
{
    form.show();
    QApplication::setActiveWindow(&form);
    first->setFocus();
    QStringList names;
    for (int i = 0; i < steps; ++i) {
        names << QApplication::focusWidget()->objectName();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    }
    return names;
}

TEST_F(HotSpotDialogs, TabOrder)
{
    TfrmHotSpot hot(nullptr);
    EXPECT_EQ(TabSequence(hot, hot.cmbURL, 7),
              QStringList({"cmbURL", "btnOpen", "txtAlt", "txtTarget", "btnOk", "btnCancel", "cmbURL"}));
    TfrmDefaultHotSpot def(nullptr);
    EXPECT_EQ(TabSequence(def, def.cmbURL, 6),
              QStringList({"cmbURL", "btnOpen", "txtTarget", "btnOk", "btnCancel", "cmbURL"}));
}

TEST_F(HotSpotDialogs, NamesHelpContextsAndTargetList)
{
    TfrmHotSpot hot(nullptr);
    TfrmDefaultHotSpot def(nullptr);
    EXPECT_EQ(hot.objectName(), QStringLiteral("frmHotSpot"));
    EXPECT_EQ(def.objectName(), QStringLiteral("frmDefaultHotSpot"));
    EXPECT_EQ(hot.ClientArea()->size(), QSize(392, 177));
    EXPECT_EQ(def.ClientArea()->size(), QSize(392, 173));
    const std::vector<std::tuple<QWidget *, const char *, int>> controls = {
        {hot.cmbURL, "cmbURL", 21},   {hot.btnOpen, "btnOpen", 0},     {hot.txtAlt, "txtAlt", 0},
        {hot.txtTarget, "txtTarget", 20}, {hot.btnCancel, "btnCancel", 0}, {def.cmbURL, "cmbURL", 21},
        {def.txtTarget, "txtTarget", 20}, {def.btnOk, "btnOk", 0},
    };
    for (const auto &[widget, name, help] : controls) {
        EXPECT_EQ(widget->objectName(), QLatin1String(name));
        EXPECT_EQ(widget->property("HelpContext").toInt(), help) << name;
    }
    for (QComboBox *targets : {hot.txtTarget, def.txtTarget}) {
        QStringList entries;
        for (int i = 0; i < targets->count(); ++i)
            entries << targets->itemText(i);
        EXPECT_EQ(entries, QStringList({"_blank", "_parent", "_self", "_top"}));
    }
}

TEST_F(HotSpotDialogs, NoLabelTextIsCut)
{
    TfrmHotSpot hot(nullptr);
    TfrmDefaultHotSpot def(nullptr);
    for (TGradientForm *form : {static_cast<TGradientForm *>(&hot), static_cast<TGradientForm *>(&def)}) {
        const QRect client = form->ClientArea()->rect();
        for (QLabel *label : form->ClientArea()->findChildren<QLabel *>()) {
            SCOPED_TRACE(qPrintable(form->objectName() + QLatin1Char('.') + label->objectName()));
            EXPECT_TRUE(hotspotkit::TextFits(*label));
            EXPECT_TRUE(client.contains(label->geometry()));
        }
    }
}

} // namespace
