// Feeds arbitrary bytes to the map file reader; whatever it reads must write and read back equal.
#include "output/core/Fragment.h"
#include "output/core/MapFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

namespace {

void Check(bool condition)
{
    if (!condition)
        std::abort();
}

void ReadWriteRead(std::string_view input)
{
    const TMapReadResult read = ReadMapFile(input);
    if (read.Error) {
        Check(read.Error->Line >= 4 && !read.Error->Message.empty());
        return;
    }
    for (const auto *list : {&read.Map.Rects, &read.Map.Circles, &read.Map.Polys})
        for (const TMapRegion &region : *list)
            Check(region.Line >= 5 && region.Shape.Points.size() <= MaxPolygonPointCount + 1);
    const TMapReadResult again = ReadMapFile(WriteMapFile(read.Map));
    Check(!again.Error && again.Map == read.Map);

    // Every record also compiles, whatever its numbers.
    TFragmentMap fragment;
    for (const TMapRegion &region : read.Map.Polys)
        fragment.Polys.push_back({region.Shape, region.URL, region.Target, {}});
    Check(!WriteFragment(fragment).empty());
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    ReadWriteRead(std::string_view(reinterpret_cast<const char *>(data), size));
    return 0;
}
