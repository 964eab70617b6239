// Compiling into a running Quorix (a fake one on a private bus): the calls in their order, an open
// document or none, and a failing call that stops the compile and changes nothing.
#include "AppHarness.h"
#include "../output/FakeQuorix.h"
#include "../output/WorkedExample.h"

#include "dialogs/MapOptionsForm.h"

#include <QLineEdit>

namespace {

struct HostCase {
    QStringList flags;
    QStringList calls;   // method names, in order
    QString message;     // the last message shown
    bool stored;         // the map options were kept
};

TEST(MapCompileIntoQuorix, CallsInOrderAndAFailingCallChangesNothing)
{
    QTemporaryDir dir;
    const QString image = WriteImage(dir, QStringLiteral("banner.gif"), {300, 100}, "gif");
    const QString web = dir.filePath(QStringLiteral("srv/web"));
    const HostCase cases[] = {
        {{"--workdir", web + "/"}, {"getworkdir", "isopendoc", "puttextatcursor"},
         "The HTML has been inserted into Quorix.", true},
        {{"--workdir", web, "--opendoc", "false"}, {"getworkdir", "isopendoc", "opennewfile", "puttextatcursor"},
         "The HTML has been inserted into Quorix.", true},
        {{"--fail", "isopendoc", "--fail-text", "No document window"}, {"getworkdir", "isopendoc"},
         "No document window", false},
    };
    for (const HostCase &c : cases) {
        SCOPED_TRACE(c.flags.join(' ').toStdString());
        TFakeQuorix quorix;
        ASSERT_TRUE(quorix.Start(c.flags));
        FakePrompter prompter;
        ModalAnswers modal{prompter};
        modal.other = [](QWidget &form) {
            auto *options = qobject_cast<TfrmMapOptions *>(&form);
            options->txtMapName->setText(QStringLiteral("navmap"));
            options->btnOk->click();
        };
        TfrmImageMap window;
        ASSERT_FALSE(window.ClipboardMode());
        window.show();
        EXPECT_FALSE(modal.shown.contains(QStringLiteral("frmSplash"))) << "no splash beside a running Quorix";
        OpenImage(window, prompter, image);
        window.btnCompileClick();

        QStringList methods;
        for (const QString &call : quorix.Calls())
            methods << call.section(QLatin1Char(' '), 0, 0);
        EXPECT_EQ(methods, QStringList{QStringLiteral("WM_ISQUORIXRUNNING")} + c.calls);
        EXPECT_EQ(prompter.messages.last().text, c.message);
        EXPECT_EQ(QString::fromStdString(window.Editor().ModelForCommands().Options.Name).isEmpty(), !c.stored);
        if (c.stored) {
            const QString put = quorix.Calls().last();
            EXPECT_TRUE(put.startsWith(QStringLiteral("puttextatcursor <IMG SRC=\"../../banner.gif\" USEMAP=\"#navmap\">")))
                << "the image relative to Quorix's folder: " << put.toStdString();
            EXPECT_FALSE(put.contains(QLatin1String(ClipboardComment))) << "no clipboard comment in host mode";
        }
    }
}

} // namespace
