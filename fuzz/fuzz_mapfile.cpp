// Feeds arbitrary bytes to the map file reader; whatever it reads must write and read back equal,
// and the record-by-record compile must give the bytes of the whole-map compile.
#include "cli/core/CompileMap.h"
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
    const TMapOptions options{"m", "left", "", "0", "", "1"};
    const TCompiledMap streamed = CompileMapFile(input, "C:\\web", options, true);
    Check(streamed.Error == read.Error);
    if (read.Error) {
        Check(read.Error->Line >= 4 && !read.Error->Message.empty() && streamed.Fragment.empty());
        return;
    }
    Check(streamed.Fragment == WriteFragment(FragmentOfMapFile(read.Map, "C:\\web", options, true)));
    for (const auto *list : {&read.Map.Rects, &read.Map.Circles, &read.Map.Polys})
        for (const TMapRegion &region : *list)
            Check(region.Line >= 5 && region.Shape.Points.size() <= MaxPolygonPointCount + 1);
    const TMapReadResult again = ReadMapFile(WriteMapFile(read.Map));
    Check(!again.Error && again.Map == read.Map);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    ReadWriteRead(std::string_view(reinterpret_cast<const char *>(data), size));
    return 0;
}
