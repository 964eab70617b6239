// The painted caption bar: colour ramps, geometry, drawing and the working buttons.
#include "dialogs/GradForm.h"
#include "dialogs/core/CaptionLayout.h"

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>
#include <QWhatsThis>
#include <gtest/gtest.h>

namespace {

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

TEST(GradientForm, CalculateColorsRoundsHalvesToEvenWithinTheColourRange)
{
    TGradientForm form;
    QPalette palette = form.palette();
    palette.setColor(QPalette::Active, QPalette::Highlight, QColor(255, 5, 3));
    form.setPalette(palette); // a colour change recalculates the ramps
    form.SetGradientColors(9);

    // Steps of c / 8: entry 4 lands on exact halves (127.5, 2.5, 1.5).
    const auto &active = form.Ramp(true);
    EXPECT_EQ(active[1], qRgb(32, 1, 0));
    EXPECT_EQ(active[4], qRgb(128, 2, 2));
    EXPECT_EQ(active[8], qRgb(255, 5, 3));
    EXPECT_EQ(form.Ramp(false)[8], form.InactiveCaptionColour().rgb());

    // Out-of-range values are ignored.
    for (const auto &[value, expected] : std::vector<std::pair<int, int>>{
             {7, 9}, {8, 8}, {257, 8}, {256, 256}, {0, 256}, {-5, 256}}) {
        form.SetGradientColors(value);
        EXPECT_EQ(form.GradientColors(), expected) << value;
    }
    EXPECT_EQ(form.Ramp(true)[255], qRgb(255, 5, 3));
}

TEST(GradientForm, InactiveBackgroundIsGradientUnlessPaintGradientIsSetAndLongCaptionsEndInAnEllipsis)
{
    TGradientForm form(nullptr, Style::Dialog, TGradientForm::biSystemMenu);
    form.SetClientSize(240, 40);
    form.adjustSize();
    const int right = form.CaptionRect().width() - 1; // right of the buttons' inset
    const int last = form.GradientColors() - 2; // only N-1 strip pixels are stretched

    const QImage ramp = RenderCaption(form, false);
    EXPECT_EQ(ramp.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(ramp.pixel(right, 0), form.Ramp(false)[last]);

    form.SetPaintGradient(true);
    const QImage flat = RenderCaption(form, false);
    for (int x : {0, right / 2, right})
        EXPECT_EQ(flat.pixel(x, 0), form.InactiveCaptionColour().rgb()) << x;

    // The active state keeps its gradient whatever PaintGradient says.
    const QImage active = RenderCaption(form, true);
    EXPECT_EQ(active.pixel(0, 0), qRgb(0, 0, 0));
    EXPECT_EQ(active.pixel(right, 0), form.Ramp(true)[last]);

    const auto layout = form.CaptionLayout();
    const int textRight = layout.text.right;

    form.SetCaption(QString(200, QLatin1Char('W')));
    const QImage image = RenderCaption(form, true);
    // Caption text is the only white left of the buttons (their bevels have white edges).
    int lastWhite = -1;
    for (int x = layout.buttons.back().box.left - 1; x >= 0 && lastWhite < 0; --x)
        for (int y = 0; y < image.height(); ++y)
            if (image.pixel(x, y) == qRgb(255, 255, 255))
                lastWhite = x;
    EXPECT_LT(lastWhite, textRight);
    // Text runs into the last few pixels of its box: it was cut to fit, not dropped.
    EXPECT_GT(lastWhite, textRight - QFontMetrics(form.CaptionFont()).horizontalAdvance(QStringLiteral("W...")));

    // Same bar without text: identical pixels from the text box onwards.
    form.SetCaption(QString());
    const QImage buttonsOnly = RenderCaption(form, true);
    const QRect tail(textRight, 0, image.width() - textRight, image.height());
    EXPECT_EQ(image.copy(tail), buttonsOnly.copy(tail));
}

void ClickButton(TGradientForm &form, Button kind)
{
    auto *bar = form.findChild<QWidget *>(QStringLiteral("CaptionBar"));
    for (const auto &button : form.CaptionLayout().buttons)
        if (button.kind == kind)
            return QTest::mouseClick(bar, Qt::LeftButton, {}, QPoint(button.box.left + 4, button.box.top + 4));
    ADD_FAILURE() << "button not shown";
}

TEST(GradientForm, CaptionButtonsWork)
{
    TGradientForm form;
    form.SetClientSize(300, 60);
    form.show();

    // The window system applies the sizes later, so they are awaited.
    const QRect normal = form.geometry();
    ClickButton(form, Button::Maximize);
    EXPECT_TRUE(form.IsMaximised());
    EXPECT_TRUE(QTest::qWaitFor([&] { return form.geometry() == form.screen()->availableGeometry(); }, 2000));
    ClickButton(form, Button::Restore);
    EXPECT_FALSE(form.IsMaximised());
    EXPECT_TRUE(QTest::qWaitFor([&] { return form.geometry() == normal; }, 2000));
    EXPECT_TRUE(QTest::qWaitFor([&] { return form.ClientArea()->size() == QSize(300, 60); }, 2000));
    ClickButton(form, Button::Minimize);
    EXPECT_TRUE(form.isMinimized());
    form.showNormal();
    ClickButton(form, Button::Close);
    EXPECT_FALSE(form.isVisible());

    TGradientForm dialog(nullptr, Style::Dialog, TGradientForm::biSystemMenu | TGradientForm::biHelp);
    dialog.SetClientSize(300, 60);
    dialog.show();
    QSignalSpy spy(&dialog, &TGradientForm::CaptionHelpRequested);
    ClickButton(dialog, Button::Help);
    EXPECT_EQ(spy.count(), 1);
    EXPECT_TRUE(QWhatsThis::inWhatsThisMode());
    QWhatsThis::leaveWhatsThisMode();
}

} // namespace
