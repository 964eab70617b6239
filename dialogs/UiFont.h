// The one font rule of Mapolin's windows: every window and control uses this face and size.
#pragma once

#include <QFont>

namespace ui {

// An Arial-metric sans face (Liberation Sans where installed, else the platform's sans) at the
// pixel height the designed layouts were made for, so every fixed label box holds its text.
QFont Font();
// The same face, bold.
QFont BoldFont();

} // namespace ui
