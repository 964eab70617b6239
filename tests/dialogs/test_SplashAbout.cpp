// The splash and About windows with their artwork and animation, driven through their window as a
// user's pointer would reach them.
#include "dialogs/Animate.h"
#include "dialogs/Controls.h"
#include "dialogs/fAbout.h"
#include "dialogs/fSplash.h"
#include "support/FakePrompter.h"

#include <QElapsedTimer>
#include <QLabel>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

int Lightness(const QImage &art, const QRect &box)
{
    qint64 sum = 0;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x)
            sum += qGray(art.pixel(x, y));
    return static_cast<int>(sum / (qint64{box.width()} * box.height()));
}

TEST(SplashAbout, BothShowTheNavyVersionReadableOverTheArtwork)
{
    TfrmSplash splash;
    TfrmAbout about;
    for (const auto &[form, image, label] : {std::tuple<QDialog *, QLabel *, QLabel *>{&splash, splash.Image1, splash.Label2},
                                              {&about, about.Image1, about.Label2}}) {
        SCOPED_TRACE(form->objectName().toStdString());
        EXPECT_EQ(image->geometry(), form->rect()) << "the artwork fills the window";
        EXPECT_EQ(label->text(), "Version 1.23");
        EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(0, 0, 0x80));
        EXPECT_TRUE(controls::TextFits(*label));
        // Navy text needs a light ground: the art under the label is light and calm.
        EXPECT_GT(Lightness(image->pixmap().toImage(), label->geometry()), 200);
    }
    EXPECT_TRUE(about.aviEmail->Active()) << "the animation plays from the start";
}

// No prompter stands in: the real modal loop runs and nothing but the splash's own timer ends it.
TEST(SplashAbout, SplashClosesItselfTwoSecondsAfterItBecomesActive)
{
    TfrmSplash splash;
    EXPECT_FALSE(splash.Timer1->isActive());
    QEvent activate(QEvent::WindowActivate);
    QCoreApplication::sendEvent(&splash, &activate);
    EXPECT_TRUE(splash.Timer1->isActive());
    splash.Timer1->stop();

    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, &splash, [&] {
        ADD_FAILURE() << "the splash is still open";
        splash.reject();
    });
    guard.start(8000);
    QElapsedTimer shown;
    shown.start();
    EXPECT_EQ(splash.ShowModal(), mrCancel);
    EXPECT_GE(shown.elapsed(), 1950);
    EXPECT_LT(shown.elapsed(), 4000);
    EXPECT_FALSE(splash.isVisible());
}

// That the animation's clicks reach it is checked where they open the e-mail window (AboutAndEmail).
TEST(SplashAbout, OnlyAClickOnTheArtworkClosesTheAboutWindowWithOk)
{
    FakePrompter prompter;
    TfrmAbout about;
    prompter.modal = [&](QWidget &) {
        QWindow *window = about.windowHandle();
        ASSERT_NE(window, nullptr);
        const QPoint animation = about.aviEmail->geometry().center();
        QTest::mouseClick(window, Qt::LeftButton, {}, animation);
        QTest::mouseClick(window, Qt::RightButton, {}, animation);
        QTest::mouseClick(window, Qt::RightButton, {}, QPoint(100, 100));
        EXPECT_TRUE(about.isVisible());
        EXPECT_EQ(about.result(), -1);
        QTest::mouseClick(window, Qt::LeftButton, {}, about.Label2->geometry().center());
    };
    EXPECT_EQ(about.ShowModal(), mrOk);
    prompter.modal = [&](QWidget &) { about.close(); };
    EXPECT_EQ(about.ShowModal(), mrCancel);
}

} // namespace
