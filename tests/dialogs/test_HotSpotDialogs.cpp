// The hotspot and default URL dialogs driven as a user would: typing, buttons, keys, the caption.
#include "dialogs/AddDefaultHotspotForm.h"
#include "dialogs/AddHotspotForm.h"
#include "support/FakePrompter.h"
#include "support/Widgets.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <type_traits>

namespace {

// Shows the form modally with the script standing in for the user; returns the modal result.
int ShowWith(FakePrompter &prompter, TGradientForm &form, const std::function<void(TGradientForm &)> &script)
{
    prompter.modal = [&](QWidget &) { script(form); };
    const int result = form.ShowModal();
    prompter.modal = nullptr;
    return result;
}

void Type(QComboBox *box, const QString &text)
{
    box->setFocus();
    QTest::keyClicks(box->lineEdit(), text);
}

TEST(HotSpotDialogs, EmptyUrlIsRefusedAndTheDialogStaysOpen)
{
    FakePrompter prompter;
    TfrmHotSpot form(nullptr);
    EXPECT_EQ(ShowWith(prompter, form, [&](TGradientForm &shown) {
                  form.txtAlt->setText(QStringLiteral("kept"));
                  QTest::mouseClick(form.btnOk, Qt::LeftButton);
                  ASSERT_EQ(prompter.messages.size(), 1);
                  EXPECT_EQ(prompter.messages[0].text, QStringLiteral("Please enter a URL"));
                  EXPECT_EQ(shown.ModalResult(), mrNone);
                  EXPECT_TRUE(shown.isVisible());
                  EXPECT_TRUE(form.URL.isEmpty());
                  // Blanks are a URL like any other; a frame name outside the list is taken as typed.
                  Type(form.cmbURL, QStringLiteral("  "));
                  Type(form.txtTarget, QStringLiteral("mainFrame"));
                  QTest::mouseClick(form.btnOk, Qt::LeftButton);
              }),
              mrOk);
    EXPECT_EQ(prompter.messages.size(), 1);
    EXPECT_EQ(form.URL, QStringLiteral("  "));
    EXPECT_EQ(form.Target, QStringLiteral("mainFrame"));
    EXPECT_EQ(form.txtTarget->count(), 4); // and never joins the list
    EXPECT_EQ(form.StatusText, QStringLiteral("kept"));

    // The default dialog accepts an empty URL.
    TfrmDefaultHotSpot def(nullptr);
    EXPECT_EQ(ShowWith(prompter, def, [&](TGradientForm &) {
                  def.txtTarget->setCurrentIndex(def.txtTarget->findText(QStringLiteral("_top")));
                  def.btnOk->setFocus();
                  QTest::keyClick(def.btnOk, Qt::Key_Return); // Enter presses the focused button
              }),
              mrOk);
    EXPECT_EQ(def.URL, QString());
    EXPECT_EQ(def.Target, QStringLiteral("_top"));
    EXPECT_EQ(prompter.messages.size(), 1);
}

// Both dialogs share their URL row, buttons and ways out.
template <typename Form> class UrlDialogs : public ::testing::Test {
protected:
    FakePrompter prompter;
};
using Forms = ::testing::Types<TfrmHotSpot, TfrmDefaultHotSpot>;
TYPED_TEST_SUITE(UrlDialogs, Forms);

// Escape, Enter on the Cancel button and the caption's close button all cancel and leave the fields empty.
TYPED_TEST(UrlDialogs, EveryWayOutCancels)
{
    using Form = TypeParam;
    const std::vector<std::pair<const char *, std::function<void(Form &)>>> ways = {
        {"Escape", [](Form &f) { QTest::keyClick(f.cmbURL->lineEdit(), Qt::Key_Escape); }},
        {"Enter on the focused Cancel button",
         [](Form &f) {
             // Enter in the URL box does nothing: neither dialog has a default button.
             QTest::keyClick(f.cmbURL->lineEdit(), Qt::Key_Return);
             EXPECT_EQ(f.ModalResult(), mrNone);
             f.btnCancel->setFocus();
             QTest::keyClick(f.btnCancel, Qt::Key_Return);
         }},
        {"close button",
         [](Form &f) {
             auto *bar = f.template findChild<QWidget *>(QStringLiteral("CaptionBar"));
             const auto close = f.CaptionLayout().buttons.front(); // rightmost
             ASSERT_EQ(close.kind, caption::Button::Close);
             QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(close.box.left + 3, close.box.top + 3));
         }},
    };
    for (const auto &[name, leave] : ways) {
        SCOPED_TRACE(name);
        Form form(nullptr);
        EXPECT_EQ(ShowWith(this->prompter, form, [&, &leave = leave](TGradientForm &) {
                      Type(form.cmbURL, QStringLiteral("http://x/"));
                      form.txtTarget->setCurrentIndex(0);
                      leave(form);
                  }),
                  mrCancel);
        EXPECT_TRUE(form.URL.isEmpty());
        EXPECT_TRUE(form.Target.isEmpty());
        EXPECT_FALSE(form.isVisible());
    }
}

TYPED_TEST(UrlDialogs, TabOrderUncutLabelsAndTheOpenButtonFillingTheUrlBox)
{
    // What QSettings' native format writes on Linux for "Options/Directories/DocumentDir".
    const QString folder = qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/Tembrel");
    QDir().mkpath(folder);
    QFile file(folder + QStringLiteral("/Quorix.conf"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Options]\nDirectories\\DocumentDir=/srv/quorix docs\n");
    file.close();

    TypeParam form(nullptr);
    form.show();
    QStringList order{"cmbURL", "btnOpen", "txtAlt", "txtTarget", "btnOk", "btnCancel", "cmbURL"};
    if constexpr (std::is_same_v<TypeParam, TfrmDefaultHotSpot>)
        order.removeOne(QStringLiteral("txtAlt"));
    EXPECT_EQ(TabOrder(form.cmbURL, int(order.size())), order);
    ExpectLabelsFit(*form.ClientArea());

    Type(form.cmbURL, QStringLiteral("typed"));
    FakePrompter &prompter = this->prompter;
    prompter.files.push_back(QStringLiteral("/home/user/site/index.html"));
    QTest::mouseClick(form.btnOpen, Qt::LeftButton);
    ASSERT_EQ(prompter.openRequests.size(), 1);
    const auto &request = prompter.openRequests[0];
    EXPECT_EQ(request.filter, QStringLiteral("HTML Files|*.html;*.htm|All Files|*.*"));
    EXPECT_EQ(request.initialDir, QStringLiteral("/srv/quorix docs"));
    EXPECT_TRUE(request.mustExist && request.hideReadOnly);
    EXPECT_EQ(form.cmbURL->currentText(), QStringLiteral("/home/user/site/index.html"));
    EXPECT_EQ(form.cmbURL->count(), 0);

    // Cancelled chooser: the URL box keeps what it had.
    QTest::mouseClick(form.btnOpen, Qt::LeftButton);
    EXPECT_EQ(prompter.openRequests.size(), 2);
    EXPECT_EQ(form.cmbURL->currentText(), QStringLiteral("/home/user/site/index.html"));
}

} // namespace
