// Where Mapolin's windows appear: centred on the screen, or over the window they belong to.
#pragma once

#include <Qt>

class QWidget;

// Places a window in the middle of its screen's available area.
void CentreOnScreen(QWidget &window);
// Places a window over the middle of owner, moved inside the owner's screen when it would stick out.
void PlaceOver(QWidget &window, const QWidget &owner);
// Places a window next to owner: to its right (Qt::Horizontal) or below it (Qt::Vertical), else on
// the other side when only that has room, kept inside the screen either way.
void PlaceBeside(QWidget &window, const QWidget &owner, Qt::Orientation direction);
