// Where the icon, the caption buttons and the text go inside a painted caption bar.
#pragma once

#include <optional>
#include <vector>

namespace caption {

// Rectangle with exclusive right and bottom edges, the way the caption geometry is reckoned.
struct Box {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool Contains(int x, int y) const { return x >= left && x < right && y >= top && y < bottom; }
    bool operator==(const Box &) const = default;
};

enum class Style { None, Single, Sizeable, Dialog, ToolWindow, SizeToolWin };
enum class Button { Close, Maximize, Restore, Minimize, Help };

struct ButtonBox {
    Button kind;
    Box box;
    bool enabled = true;
    bool operator==(const ButtonBox &) const = default;
};

struct Input {
    int width = 0;  // caption bar width
    int height = 0; // caption bar height
    Style style = Style::Single;
    bool systemMenu = true, minimize = true, maximize = true, help = false;
    bool maximized = false;
    int smallIcon = 16;         // small-icon edge S
    int smallCaptionButton = 12; // width of a tool window's caption button
};

struct Layout {
    std::optional<Box> icon;
    std::vector<ButtonBox> buttons; // right to left, in drawing order
    Box text;                       // what is left for the caption-paint handler and the text
};

Layout Compute(const Input &in);

// Frame size around the caption bar for a border style: sizing frame or dialog frame.
int FrameSize(Style style, int sizingFrame, int dialogFrame);
bool IsToolWindow(Style style);

} // namespace caption
