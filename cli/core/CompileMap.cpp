#include "cli/core/CompileMap.h"

#include "output/core/MapExtension.h"
#include "output/core/MapFileReader.h"
#include "output/core/Paths.h"

#include <utility>

namespace {

void MoveAreas(std::vector<TMapRegion> &regions, std::vector<TFragmentArea> &areas)
{
    areas.reserve(regions.size());
    for (TMapRegion &region : regions)
        areas.push_back(
            {std::move(region.Shape), std::move(region.URL), std::move(region.Target), std::move(region.Alt), std::move(region.Title)});
}

// A record's storage swapped into the area, whose old storage the next record reuses, so the
// loop allocates nothing.
void SwapInto(TFragmentArea &area, TMapRegion &region)
{
    std::swap(std::get<THotspotShape>(area.Coords), region.Shape);
    std::swap(area.URL, region.URL);
    std::swap(area.Target, region.Target);
    std::swap(area.StatusText, region.Alt);
    std::swap(area.Title, region.Title);
}

} // namespace

TMapOptions ChooseOptions(const TGivenOptions &given, const TMapOptions &stored, const std::string &fallbackName)
{
    TMapOptions options{given.Name.value_or(stored.Name),     given.Align.value_or(stored.Align),
                        given.Alt.value_or(stored.Alt),       given.Border.value_or(stored.Border),
                        given.VSpace.value_or(stored.VSpace), given.HSpace.value_or(stored.HSpace)};
    if (!given.Name && options.Name.empty())
        options.Name = fallbackName;
    return options;
}

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

TCompiledMap CompileMapFile(std::string_view bytes, const TCompileRequest &request)
{
    TCompiledMap compiled;
    TMapFileReader reader(bytes);
    TFragmentMap head;
    head.ClipboardMode = request.ClipboardMode;
    head.Src = ImageSrc(request.WorkDir, reader.ImageFileName());
    head.ImageSize = request.ImageSize;
    head.Options = ChooseOptions(request.Options, reader.Options(), request.FallbackName);
    head.DefaultURL = reader.DefaultURL();
    head.DefaultTarget = reader.DefaultTarget();
    const std::unique_ptr<TFragmentWriter> writer = MakeFragmentWriter(request.Format);
    // A fragment runs about twice the size of its map file; reserving touches no memory yet.
    writer->Begin(head, 2 * bytes.size() + 4096);
    THotspotKind kind{};
    TMapRegion region;
    TFragmentArea area{THotspotShape{}, {}, {}, {}};
    while (reader.Next(kind, region)) {
        SwapInto(area, region);
        writer->Add(kind, area);
    }
    if (reader.Error()) {
        compiled.Error = reader.Error();
        return compiled;
    }
    if (reader.ExtensionError()) {
        // The texts of a block that does not fit the map went out with the areas: once more
        // from the classic content alone.
        compiled = CompileMapFile(bytes.substr(0, ClassicEnd(bytes)), request);
        compiled.ExtensionError = reader.ExtensionError();
        return compiled;
    }
    compiled.Output = writer->Finish();
    return compiled;
}

std::string_view MapFileImagePath(std::string_view bytes)
{
    const std::string_view line = bytes.substr(0, bytes.find('\r'));
    return line.substr(0, ClassicEnd(line));
}

bool IsDigitsOnly(const std::string &text)
{
    for (char c : text)
        if (c < '0' || c > '9')
            return false;
    return true;
}
