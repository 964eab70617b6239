// Mapolin's own artwork compiled into the program: the numbered cursors, the glyphs and the icon.
#pragma once

#include <QCursor>
#include <QIcon>
#include <QPixmap>
#include <QString>

namespace Art {

inline constexpr int kCursorCount = 7;

// The resource name of cursor 1 to 7 ("MOVEREGION", "DRAWRECT", ...); empty for other numbers.
QString CursorName(int number);
// Cursor 1 to 7 from its 32 x 32 bitmap and mask with its exact hot spot; the arrow otherwise.
QCursor Cursor(int number);

// Glyphs by name: "new", "load", "save", "rect", "circle", "poly", "delete", "compile", "exit"
// (tool buttons, 24 x 24) and "open" (the dialogs' folder button, 21 x 17); null when unknown.
QPixmap Glyph(const QString &name);
QIcon AppIcon();

} // namespace Art
