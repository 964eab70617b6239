// What the application-wide cursor shows, read back from Qt for the tests.
#pragma once

#include "regions/CursorTable.h"

#include <QBitmap>
#include <QGuiApplication>

namespace testcursor {

// The override cursor's shape; the arrow when none is set.
inline Qt::CursorShape Shape()
{
    const QCursor *c = QGuiApplication::overrideCursor();
    return c ? c->shape() : Qt::ArrowCursor;
}

// The registered number (1 to 7) whose bitmap and hot spot the override cursor shows; 0 when no
// override is set, -1 for a cursor that is none of them.
inline int Number()
{
    const QCursor *c = QGuiApplication::overrideCursor();
    if (!c)
        return AppCursor::crDefault;
    for (int number = AppCursor::crMoveRegion; number <= AppCursor::crResizePoly; ++number) {
        const QCursor registered = AppCursor::Numbered(number);
        if (c->shape() == Qt::BitmapCursor && registered.shape() == Qt::BitmapCursor &&
            c->hotSpot() == registered.hotSpot() && c->bitmap().toImage() == registered.bitmap().toImage())
            return number;
    }
    return -1;
}

} // namespace testcursor
