#include "dialogs/core/CaptionLayout.h"

namespace caption {

bool IsToolWindow(Style style) { return style == Style::ToolWindow || style == Style::SizeToolWin; }

int FrameSize(Style style, int sizingFrame, int dialogFrame)
{
    switch (style) {
    case Style::None: return 0;
    case Style::Sizeable:
    case Style::SizeToolWin: return sizingFrame;
    default: return dialogFrame;
    }
}

Layout Compute(const Input &in)
{
    Layout out;
    Box w{0, 0, in.width, in.height};
    w.left += 1;

    if (in.systemMenu && (in.style == Style::Single || in.style == Style::Sizeable)) {
        out.icon = Box{w.left + 1, w.top + 1, w.left + 1 + in.smallIcon, w.top + 1 + in.smallIcon};
        w.left += in.smallIcon + 1;
    }

    Box b{w.left + 2, w.top + 2, w.right - 2, w.bottom - 2};
    const auto shift = [&b](int by) {
        b.left -= by;
        b.right -= by;
    };
    if (IsToolWindow(in.style)) {
        b.left = b.right - in.smallCaptionButton + 2;
        out.buttons.push_back({Button::Close, b, true});
        w.right = b.left - 5;
    } else {
        const int bw = in.smallIcon - 2;
        b.left = b.right - bw - 2;
        if (in.systemMenu) {
            out.buttons.push_back({Button::Close, b, true});
            shift(bw + 4);
            w.right -= bw + 4;
            if (in.style != Style::Dialog) {
                out.buttons.push_back({in.maximized ? Button::Restore : Button::Maximize, b, in.maximize});
                shift(bw + 2);
                out.buttons.push_back({Button::Minimize, b, in.minimize});
                shift(bw + 2);
                w.right -= 2 * (bw + 2);
            } else if (in.help) {
                out.buttons.push_back({Button::Help, b, true});
                w.right -= bw + 2;
            }
        }
        w.right -= 3;
    }
    out.text = w;
    return out;
}

} // namespace caption
