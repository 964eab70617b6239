#include "cli/core/CompileMap.h"

#include "output/core/Paths.h"

#include <utility>

namespace {
void MoveAreas(std::vector<TMapRegion> &regions, std::vector<TFragmentArea> &areas)
{
    areas.reserve(regions.size());
    for (TMapRegion &region : regions)
        areas.push_back({std::move(region.Shape), std::move(region.URL), std::move(region.Target), {}});
}
} // namespace

TFragmentMap FragmentOfMapFile(TMapFile map, const std::string &workDir, TMapOptions options, bool clipboardMode)
{
    TFragmentMap fragment;
    fragment.ClipboardMode = clipboardMode;
    fragment.Src = ImageSrc(workDir, map.ImageFileName);
    fragment.Options = std::move(options);
    MoveAreas(map.Rects, fragment.Rects);
    MoveAreas(map.Circles, fragment.Circles);
    MoveAreas(map.Polys, fragment.Polys);
    fragment.DefaultURL = std::move(map.DefaultURL);
    fragment.DefaultTarget = std::move(map.DefaultTarget);
    return fragment;
}

bool IsDigitsOnly(const std::string &text)
{
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}
