#include "regions/core/ZoomMath.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

namespace zoommath {

namespace {
constexpr int Steps[] = {25, 33, 50, 67, 100, 150, 200, 300, 400, 600, 800};

// Floor division for negative numerators too.
std::int64_t FloorDiv(std::int64_t a, std::int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }
} // namespace

int ViewStart(int image, int percent)
{
    return static_cast<int>(-FloorDiv(-std::int64_t{image} * percent, 100));
}

int ImageAt(int view, int percent) { return static_cast<int>(FloorDiv(std::int64_t{view} * 100, percent)); }

int StepIn(int percent)
{
    const int *next = std::upper_bound(std::begin(Steps), std::end(Steps), percent);
    return next == std::end(Steps) ? MaxPercent : *next;
}

int StepOut(int percent)
{
    const int *first = std::lower_bound(std::begin(Steps), std::end(Steps), percent);
    return first == std::begin(Steps) ? MinPercent : *(first - 1);
}

int FitPercent(int imageWidth, int imageHeight, int viewWidth, int viewHeight)
{
    if (imageWidth <= 0 || imageHeight <= 0)
        return ActualSize;
    const std::int64_t byWidth = std::int64_t{std::max(viewWidth, 1)} * 100 / imageWidth;
    const std::int64_t byHeight = std::int64_t{std::max(viewHeight, 1)} * 100 / imageHeight;
    return static_cast<int>(std::clamp<std::int64_t>(std::min(byWidth, byHeight), MinPercent, MaxPercent));
}

int ScrollKeeping(int image, int at, int percent) { return std::max(0, ViewStart(image, percent) - at); }

} // namespace zoommath
