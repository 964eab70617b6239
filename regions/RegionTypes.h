// Mouse buttons and shift states as the region handlers receive them.
#pragma once

#include <QtGlobal>

enum class TMouseButton { mbLeft, mbRight, mbMiddle };

// Set of ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble.
using TShiftState = unsigned;
inline constexpr TShiftState ssShift = 1u << 0;
inline constexpr TShiftState ssAlt = 1u << 1;
inline constexpr TShiftState ssCtrl = 1u << 2;
inline constexpr TShiftState ssLeft = 1u << 3;
inline constexpr TShiftState ssRight = 1u << 4;
inline constexpr TShiftState ssMiddle = 1u << 5;
inline constexpr TShiftState ssDouble = 1u << 6;
