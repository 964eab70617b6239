// The painted caption bar: colour ramps, geometry, button layout, drawing and the working buttons.
#include "dialogs/GradForm.h"
#include "dialogs/core/CaptionLayout.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>
#include <QWhatsThis>
#include <gtest/gtest.h>

namespace {

using caption::Box;
using caption::Button;
using Style = TGradientForm::BorderStyle;

QImage RenderCaption(TGradientForm &form, bool active)
{
    QImage image(form.CaptionRect().size(), QImage::Format_RGB32);
    image.fill(Qt::magenta);
    QPainter painter(&image);
    form.DrawCaption(painter, active);
    return image;
}

TEST(GradientForm, CalculateColorsRunsFromBlackToTheCaptionColour)
{
    TGradientForm form;
    QPalette palette = form.palette();
    palette.setColor(QPalette::Active, QPalette::Highlight, QColor(255, 5, 3));
    form.setPalette(palette); // a colour change recalculates the ramps
    form.SetGradientColors(9);

    // Steps of c / 8: entry 4 lands on exact halves (127.5, 2.5, 1.5).
    const auto &active = form.Ramp(true);
    EXPECT_EQ(active[0], qRgb(0, 0, 0));
    EXPECT_EQ(active[1], qRgb(32, 1, 0));
    EXPECT_EQ(active[4], qRgb(128, 2, 2));
    EXPECT_EQ(active[8], qRgb(255, 5, 3));

    const auto &inactive = form.Ramp(false);
    EXPECT_EQ(inactive[0], qRgb(0, 0, 0));
    EXPECT_EQ(inactive[8], form.InactiveCaptionColour().rgb());
}

TEST(GradientForm, GradientColorsAcceptsEightTo256Only)
{
    TGradientForm form;
    EXPECT_EQ(form.GradientColors(), 64);
    const std::vector<std::pair<int, int>> steps = {{7, 64}, {8, 8}, {257, 8}, {256, 256}, {0, 256}, {-5, 256}};
    for (const auto &[value, expected] : steps) {
        form.SetGradientColors(value);
        EXPECT_EQ(form.GradientColors(), expected) << value;
    }
    EXPECT_EQ(form.Ramp(true)[255], form.ActiveCaptionColour().rgb());
}

TEST(GradientForm, CaptionRectangleFollowsTheBorderStyle)
{
    const std::vector<std::tuple<Style, int, int>> cases = {{Style::Single, 3, 18},    {Style::Sizeable, 4, 18},
                                                            {Style::Dialog, 3, 18},    {Style::ToolWindow, 3, 15},
                                                            {Style::SizeToolWin, 4, 15}, {Style::None, 0, 0}};
    for (const auto &[style, frame, minHeight] : cases) {
        SCOPED_TRACE(int(style));
        TGradientForm form(nullptr, style);
        form.SetClientSize(200, 50);
        form.adjustSize();
        const QRect r = form.CaptionRect();
        EXPECT_EQ(form.width(), 200 + 2 * frame);
        EXPECT_EQ(r.isEmpty(), style == Style::None);
        if (auto *bar = form.findChild<QWidget *>(QStringLiteral("CaptionBar"))) {
            EXPECT_EQ(bar->geometry(), r);
            EXPECT_EQ(r.topLeft(), QPoint(frame, frame));
            EXPECT_EQ(r.width(), 200);
            EXPECT_GE(r.height(), minHeight);
        }
    }
}

TEST(CaptionLayout, ButtonsAndTextBoxByStyle)
{
    caption::Input in;
    in.width = 200;
    in.height = 18;

    const auto single = caption::Compute(in);
    ASSERT_TRUE(single.icon);
    EXPECT_EQ(*single.icon, (Box{2, 1, 18, 17}));
    EXPECT_EQ(single.buttons, (std::vector<caption::ButtonBox>{{Button::Close, {182, 2, 198, 16}, true},
                                                              {Button::Maximize, {164, 2, 180, 16}, true},
                                                              {Button::Minimize, {148, 2, 164, 16}, true}}));
    EXPECT_EQ(single.text, (Box{18, 0, 147, 18}));

    in.maximized = true;
    in.minimize = false;
    const auto restored = caption::Compute(in);
    EXPECT_EQ(restored.buttons[1].kind, Button::Restore);
    EXPECT_FALSE(restored.buttons[2].enabled); // disabled minimise is still drawn

    in = {};
    in.width = 200;
    in.height = 18;
    in.style = caption::Style::Dialog;
    in.help = true;
    const auto dialog = caption::Compute(in);
    EXPECT_FALSE(dialog.icon);
    EXPECT_EQ(dialog.buttons, (std::vector<caption::ButtonBox>{{Button::Close, {182, 2, 198, 16}, true},
                                                              {Button::Help, {164, 2, 180, 16}, true}}));
    EXPECT_EQ(dialog.text, (Box{1, 0, 163, 18}));

    in.style = caption::Style::ToolWindow;
    in.height = 15;
    in.smallCaptionButton = 13;
    const auto tool = caption::Compute(in);
    EXPECT_EQ(tool.buttons, (std::vector<caption::ButtonBox>{{Button::Close, {187, 2, 198, 13}, true}}));
    EXPECT_EQ(tool.text, (Box{1, 0, 182, 15}));
}

TEST(GradientForm, InactiveBackgroundIsGradientUnlessPaintGradientIsSet)
{
    TGradientForm form(nullptr, Style::Dialog, TGradientForm::biSystemMenu);
    form.SetClientSize(300, 40);
    form.adjustSize();
    const int right = form.CaptionRect().width() - 1; // right of the buttons' inset

    const QImage ramp = RenderCaption(form, false);
    EXPECT_EQ(ramp.pixel(0, 0), qRgb(0, 0, 0));
    // Only the first N-1 strip pixels are stretched: the last column shows entry N-2.
    EXPECT_EQ(ramp.pixel(right, 0), form.Ramp(false)[form.GradientColors() - 2]);

    form.SetPaintGradient(true);
    const QImage flat = RenderCaption(form, false);
    for (int x : {0, right / 2, right})
        EXPECT_EQ(flat.pixel(x, 0), form.InactiveCaptionColour().rgb()) << x;

    // The active state keeps its gradient whatever PaintGradient says.
    const QImage active = RenderCaption(form, true);
    EXPECT_EQ(active.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(active.pixel(right, 0), form.Ramp(true)[form.GradientColors() - 2]);
}

// Caption text is the only white left of the buttons (their bevels have white edges).
int RightmostWhiteColumn(const QImage &image, int before)
{
    for (int x = before - 1; x >= 0; --x)
        for (int y = 0; y < image.height(); ++y)
            if (image.pixel(x, y) == qRgb(255, 255, 255))
                return x;
    return -1;
}

TEST(GradientForm, LongCaptionEndsInAnEllipsisBeforeTheButtons)
{
    TGradientForm form;
    form.SetClientSize(240, 40);
    form.adjustSize();
    const auto layout = form.CaptionLayout();
    const int textRight = layout.text.right;

    form.SetCaption(QString(200, QLatin1Char('W')));
    const QImage image = RenderCaption(form, true);
    const int lastWhite = RightmostWhiteColumn(image, layout.buttons.back().box.left);
    EXPECT_LT(lastWhite, textRight);
    // Text runs into the last few pixels of its box: it was cut to fit, not dropped.
    EXPECT_GT(lastWhite, textRight - QFontMetrics(form.CaptionFont()).horizontalAdvance(QStringLiteral("W...")));

    // Same bar with the ellipsis text drawn: identical pixels from the text box onwards.
    const QImage buttonsOnly = [&] {
        form.SetCaption(QString());
        return RenderCaption(form, true);
    }();
    EXPECT_EQ(image.copy(textRight, 0, image.width() - textRight, image.height()),
              buttonsOnly.copy(textRight, 0, image.width() - textRight, image.height()));
}

void ClickButton(TGradientForm &form, Button kind)
{
    auto *bar = form.findChild<QWidget *>(QStringLiteral("CaptionBar"));
    for (const auto &button : form.CaptionLayout().buttons) {
        if (button.kind == kind) {
            QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(button.box.left + 4, button.box.top + 4));
            return;
        }
    }
    ADD_FAILURE() << "button not shown";
}

TEST(GradientForm, CaptionButtonsWork)
{
    TGradientForm form;
    form.SetClientSize(300, 60);
    form.show();

    // The window system resizes the window after the state change, so the sizes are awaited.
    ClickButton(form, Button::Maximize);
    EXPECT_TRUE(form.isMaximized());
    EXPECT_TRUE(QTest::qWaitFor([&] { return form.ClientArea()->width() > 300; }, 2000));
    ClickButton(form, Button::Restore);
    EXPECT_FALSE(form.isMaximized());
    EXPECT_TRUE(QTest::qWaitFor([&] { return form.ClientArea()->size() == QSize(300, 60); }, 2000));

    ClickButton(form, Button::Minimize);
    EXPECT_TRUE(form.isMinimized());
    form.showNormal();

    ClickButton(form, Button::Close);
    EXPECT_FALSE(form.isVisible());
}

TEST(GradientForm, HelpButtonAsksForHelp)
{
    TGradientForm form(nullptr, Style::Dialog, TGradientForm::biSystemMenu | TGradientForm::biHelp);
    form.SetClientSize(300, 60);
    form.show();
    QSignalSpy spy(&form, &TGradientForm::CaptionHelpRequested);
    ClickButton(form, Button::Help);
    EXPECT_EQ(spy.count(), 1);
    EXPECT_TRUE(QWhatsThis::inWhatsThisMode());
    QWhatsThis::leaveWhatsThisMode();
}

} // namespace
