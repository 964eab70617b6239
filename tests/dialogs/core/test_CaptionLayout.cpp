// Where the caption bar puts its icon, buttons and text for each border style and state.
#include "dialogs/core/CaptionLayout.h"

#include <gtest/gtest.h>

namespace {

using caption::Box;
using caption::Button;

TEST(CaptionLayout, ButtonsAndTextBoxByStyle)
{
    caption::Input in{.width = 200, .height = 18};
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

    const auto dialog = caption::Compute({.width = 200, .height = 18, .style = caption::Style::Dialog, .help = true});
    EXPECT_FALSE(dialog.icon);
    EXPECT_EQ(dialog.buttons, (std::vector<caption::ButtonBox>{{Button::Close, {182, 2, 198, 16}, true},
                                                              {Button::Help, {164, 2, 180, 16}, true}}));
    EXPECT_EQ(dialog.text, (Box{1, 0, 163, 18}));
}

} // namespace
