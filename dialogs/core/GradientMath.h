// Colour ramp of the gradient caption: black to the caption colour in N steps.
#pragma once

#include <array>
#include <cstdint>

namespace gradient {

struct Rgb {
    int r = 0, g = 0, b = 0;
    bool operator==(const Rgb &) const = default;
};

inline constexpr int MinColors = 8;
inline constexpr int MaxColors = 256;

// Entry i of N is caption * i / (N - 1) per channel, rounded half to even.
std::array<Rgb, MaxColors> CalculateRamp(Rgb caption, int colors);

// Round half to even, as the caption painter rounds band edges and channels.
int RoundHalfEven(double value);

} // namespace gradient
