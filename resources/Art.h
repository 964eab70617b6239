// Mapolin's own artwork compiled into the program: the numbered cursors, the glyphs, the icon, the
// splash and About picture and the e-mail animation.
#pragma once

#include <QCursor>
#include <QIcon>
#include <QPixmap>
#include <QString>

namespace Art {

inline constexpr int kCursorCount = 7;

// Cursor 1 to 7 from its 32 x 32 bitmap and mask with its exact hot spot; the arrow otherwise.
QCursor Cursor(int number);

// Glyphs by name: "new", "load", "save", "rect", "circle", "poly", "delete", "compile", "exit"
// (tool buttons, 24 x 24) and "open" (the dialogs' folder button, 21 x 17); null when unknown.
QPixmap Glyph(const QString &name);
QIcon AppIcon();

// The splash and About windows' picture, 471 x 285: drawn on first use, then kept.
QPixmap SplashArt();

// An animation resource: equal frames side by side, shown in a loop.
struct Clip {
    QPixmap strip;
    int frameCount = 0;
    int interval = 0; // milliseconds per frame

    QSize FrameSize() const { return frameCount > 0 ? QSize(strip.width() / frameCount, strip.height()) : QSize(); }
    QRect FrameRect(int index) const { return {QPoint(index * FrameSize().width(), 0), FrameSize()}; }
};
// "EMAILAVI": 24 frames of 88 x 33 at 150 ms, a letter flying out; an empty clip for other names.
Clip Animation(const QString &resource);

} // namespace Art
