// Feeds arbitrary bytes to the map file reader, its extension block included; whatever it reads
// must write and read back equal, and the record-by-record compile must give the bytes of the
// whole-map writers in every format.
#include "cli/core/CompileMap.h"
#include "output/core/MapFile.h"

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

// The streamed compile against the whole-map writer; both refuse the same stored options.
void CompileAlike(std::string_view input, const TMapReadResult &read, TFragmentFormat format)
{
    TCompileRequest request;
    request.Format = format;
    request.WorkDir = "C:\\web";
    request.ClipboardMode = true;
    request.Options.Align = "left";
    request.FallbackName = "m";
    request.ImageSize = TImageSize{640, 480};
    TCompiledMap streamed;
    try {
        streamed = CompileMapFile(input, request);
    } catch (const std::invalid_argument &) {
        streamed.Output.Bytes = "refused";
    }
    Check(streamed.Error == read.Error && streamed.ExtensionError == read.ExtensionError);
    if (read.Error) {
        Check(read.Error->Line >= 4 && !read.Error->Message.empty() && streamed.Output.Bytes.empty());
        return;
    }
    TFragmentMap whole = FragmentOfMapFile(read.Map, request.WorkDir,
                                           ChooseOptions(request.Options, read.Map.Options, request.FallbackName), true);
    whole.ImageSize = request.ImageSize;
    std::string expected;
    try {
        expected = WriteFragmentAs(format, whole).Bytes;
    } catch (const std::invalid_argument &) {
        expected = "refused";
    }
    Check(streamed.Output.Bytes == expected);
}

void ReadWriteRead(std::string_view input)
{
    const TMapReadResult read = ReadMapFile(input);
    for (TFragmentFormat format : {TFragmentFormat::Classic, TFragmentFormat::Html5, TFragmentFormat::Svg})
        CompileAlike(input, read, format);
    if (read.Error)
        return;
    for (const auto *list : {&read.Map.Rects, &read.Map.Circles, &read.Map.Polys})
        for (const TMapRegion &region : *list)
            Check(region.Line >= 5 && region.Shape.Points.size() <= MaxPolygonPointCount + 1
                  && (!read.ExtensionError || (region.Alt.empty() && region.Title.empty())));
    Check(!read.ExtensionError || read.Map.Options == TMapOptions{});
    const TMapReadResult again = ReadMapFile(WriteMapFile(read.Map));
    Check(!again.Error && !again.ExtensionError && again.Map == read.Map);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    ReadWriteRead(std::string_view(reinterpret_cast<const char *>(data), size));
    return 0;
}
