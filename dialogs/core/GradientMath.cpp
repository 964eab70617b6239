#include "dialogs/core/GradientMath.h"

#include <cmath>

namespace gradient {

int RoundHalfEven(double value)
{
    return static_cast<int>(std::nearbyint(value)); // default FE_TONEAREST: halves to even
}

std::array<Rgb, MaxColors> CalculateRamp(Rgb caption, int colors)
{
    std::array<Rgb, MaxColors> ramp{};
    if (colors < 2)
        return ramp;
    const double stepR = caption.r / double(colors - 1);
    const double stepG = caption.g / double(colors - 1);
    const double stepB = caption.b / double(colors - 1);
    for (int i = 0; i < colors && i < MaxColors; ++i)
        ramp[i] = {RoundHalfEven(stepR * i), RoundHalfEven(stepG * i), RoundHalfEven(stepB * i)};
    return ramp;
}

} // namespace gradient
