// The numbered application cursors and the application-wide cursor that overrides every control's own.
#pragma once

#include <QCursor>

namespace AppCursor {

inline constexpr int crDefault = 0;
inline constexpr int crMoveRegion = 1;
inline constexpr int crDrawRect = 2;
inline constexpr int crDrawCircle = 3;
inline constexpr int crDrawPoly = 4;
inline constexpr int crResizeRect = 5;
inline constexpr int crResizeCircle = 6;
inline constexpr int crResizePoly = 7;

void Register(int number, const QCursor &cursor);
// The cursor registered under number (the default arrow when none is).
QCursor Numbered(int number);
// Sets the application-wide cursor; number 0 sets it back to the default.
void Set(int number);
void SetShape(Qt::CursorShape shape);
bool IsDefault();

} // namespace AppCursor
