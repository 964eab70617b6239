// Feeds arbitrary bytes as an HTML page to the map import; what it imports must write as a map
// file that reads back equal, and compile both ways.
#include "cli/core/CompileMap.h"
#include "output/core/Html5Fragment.h"
#include "cli/core/HtmlImport.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <stdexcept>
#include <string_view>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

// What the classic map file keeps of a record; alt and title go to the extension block, whose
// round trip is the map file fuzzer's.
void KeepClassic(std::vector<TMapRegion> &regions)
{
    for (TMapRegion &region : regions) {
        region.Line = 0;
        region.Alt.clear();
        region.Title.clear();
    }
}

void Import(std::string_view page)
{
    // The first byte picks whether a map name and an image are given and whether the image's own
    // size can be read, so every path is reached.
    const unsigned mode = page.empty() ? 0 : static_cast<unsigned char>(page.front()) % 8;
    const auto readImage = [mode](const std::string &) {
        return mode & 4 ? TImageState{TImageState::TState::Read, 640, 480, {}} : TImageState{};
    };
    const TImportResult result = ImportMap(page, {mode & 1 ? "m" : "", mode & 2 ? "i.gif" : "", "/srv", readImage});
    if (!result.Errors.empty())
        return;
    TMapFile expected = result.Map;
    const TMapReadResult again = ReadMapFile(WriteMapFile(expected));
    Check(!again.Error);
    TMapFile read = again.Map;
    for (auto *list : {&read.Rects, &read.Circles, &read.Polys})
        KeepClassic(*list);
    for (auto *list : {&expected.Rects, &expected.Circles, &expected.Polys})
        KeepClassic(*list);
    Check(read == expected);
    for (const TMapRegion &polygon : result.Map.Polys)
        Check(polygon.Shape.PointCount >= 3 && polygon.Shape.PointCount <= MaxImportedPolygonPoints);

    const TFragmentMap fragment = FragmentOfMapFile(result.Map, "/srv/", {"m", "", "", "", "", ""}, false);
    Check(!WriteFragment(fragment).empty());
    Check(!WriteHtml5Fragment(fragment).Bytes.empty());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    Import(std::string_view(reinterpret_cast<const char *>(data), size));
    return 0;
}
