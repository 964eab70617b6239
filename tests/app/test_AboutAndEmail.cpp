// The splash at start, the About window and the e-mail window opened from its animation, all
// from the main window with real mouse events.
#define QTEST_QPA_MOUSE_HANDLING
#include "AppHarness.h"

#include "dialogs/Animate.h"
#include "dialogs/fAbout.h"

#include <QLabel>

namespace {

TEST(AboutAndEmail, SplashOnceAtStartAndTheAnimationOpensTheEmailWindow)
{
    FakePrompter prompter;
    ModalAnswers modal{prompter};
    TfrmImageMap window;
    ASSERT_TRUE(window.ClipboardMode());
    window.show();
    window.hide();
    window.show();
    EXPECT_EQ(modal.shown, QStringList({"frmSplash"})) << "in clipboard mode, at the first showing only";

    QStringList seen;
    modal.other = [&](QWidget &form) {
        if (form.objectName() == QLatin1String("frmEmail")) {
            static_cast<QDialog &>(form).reject();
            return;
        }
        auto *about = qobject_cast<TfrmAbout *>(&form);
        ASSERT_NE(about, nullptr);
        const QPoint middle = about->aviEmail->rect().center();
        for (Qt::MouseButton button : {Qt::RightButton, Qt::LeftButton, Qt::MiddleButton}) {
            QTest::mouseClick(about->aviEmail, button, {}, middle);
            seen << QString::number(modal.shown.count(QStringLiteral("frmEmail")));
        }
        QTest::mouseClick(about->Image1, Qt::LeftButton, {}, QPoint(20, 200)); // the artwork closes it
    };
    window.About1->trigger();
    EXPECT_EQ(seen, QStringList({"1", "2", "2"})) << "left and right open it, middle does not";
}

} // namespace
