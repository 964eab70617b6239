#include "cli/core/CompileMap.h"

#include "output/core/FragmentLines.h"
#include "output/core/MapFileReader.h"
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

TCompiledMap CompileMapFile(std::string_view bytes, const std::string &workDir, TMapOptions options, bool clipboardMode)
{
    TCompiledMap compiled;
    TMapFileReader reader(bytes);
    TFragmentMap head;
    head.ClipboardMode = clipboardMode;
    head.Src = ImageSrc(workDir, reader.ImageFileName());
    head.Options = std::move(options);
    head.DefaultURL = reader.DefaultURL();
    head.DefaultTarget = reader.DefaultTarget();
    std::string &out = compiled.Fragment;
    // A fragment runs about twice the size of its map file; reserving touches no memory yet.
    out.reserve(2 * bytes.size() + 4096);
    AppendFragmentHead(out, head);
    // One record and one area, their storage swapped back and forth, so the loop allocates nothing.
    THotspotKind kind{};
    TMapRegion region;
    TFragmentArea area{THotspotShape{}, {}, {}, {}};
    while (reader.Next(kind, region)) {
        std::swap(std::get<THotspotShape>(area.Coords), region.Shape);
        std::swap(area.URL, region.URL);
        std::swap(area.Target, region.Target);
        AppendFragmentArea(out, kind, area);
    }
    if (reader.Error()) {
        compiled.Error = reader.Error();
        out.clear();
        return compiled;
    }
    AppendFragmentTail(out, head);
    return compiled;
}

bool IsDigitsOnly(const std::string &text)
{
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}
