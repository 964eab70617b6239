// The words of the event channel between the hotspot regions and the main window, named once.
#pragma once

#include <QLatin1String>

namespace ChannelWord {
inline constexpr QLatin1String Drawing{"DRAWING"};
inline constexpr QLatin1String Drawn{"DRAWN"};
inline constexpr QLatin1String CancelRect{"CANCELRECT"};
inline constexpr QLatin1String CancelCircle{"CANCELCIRCLE"};
inline constexpr QLatin1String CancelPoly{"CANCELPOLY"};
inline constexpr QLatin1String Move{"MOVE"};
inline constexpr QLatin1String Repaint{"REPAINT"};
inline constexpr QLatin1String Miss{"MISS"};
} // namespace ChannelWord
