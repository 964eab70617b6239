// How image pixels and the pixels of a zoomed view map onto each other, in whole numbers: zoom is
// a percentage, image pixel i covers view pixels from ViewStart(i) up to ViewStart(i + 1).
#pragma once

namespace zoommath {

inline constexpr int MinPercent = 25;
inline constexpr int MaxPercent = 800;
inline constexpr int ActualSize = 100;

// The first view pixel of image pixel i (ceiling of i x percent / 100).
int ViewStart(int image, int percent);
// The image pixel under view pixel v (floor of v x 100 / percent).
int ImageAt(int view, int percent);

// The steps Zoom In and Zoom Out go through; a percent between steps goes to the next one.
int StepIn(int percent);
int StepOut(int percent);
// The largest percent (within the limits) at which an image fits a view of the given size.
int FitPercent(int imageWidth, int imageHeight, int viewWidth, int viewHeight);

// The scroll value that keeps image pixel `image` under view pixel `at` (relative to the view's
// left or top edge) once the zoom is `percent`; never below 0.
int ScrollKeeping(int image, int at, int percent);

} // namespace zoommath
