// Draws Mapolin's artwork by code: the splash and About picture, the e-mail animation's frames.
#pragma once

#include <QFont>
#include <QImage>

namespace artdrawing {

inline constexpr QSize kSplashSize(471, 285);
inline constexpr QSize kEmailFrameSize(88, 33);
inline constexpr int kEmailFrameCount = 24;

// The hotspot colours of the picture, which the animation's trail repeats.
inline constexpr QRgb kRectColour = 0xFFF26B1D;
inline constexpr QRgb kCircleColour = 0xFFD6246E;
inline constexpr QRgb kPolyColour = 0xFF6A3FC1;

QImage Splash();
// The e-mail animation's frames side by side, left to right.
QImage EmailStrip();

// A face from the families the install brings, at a pixel size so the art looks the same everywhere.
QFont Face(const char *family, int pixelSize, bool bold = false);

} // namespace artdrawing
