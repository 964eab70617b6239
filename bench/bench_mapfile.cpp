// The fragment and map file writers and the map file reader on 100,000 hotspots, each against
// the bare file operation on the same bytes: one write of a prepared buffer, or reading the file
// into memory and splitting it at CR LF. Saving and loading the map with an alt text on every
// hotspot (kept in the extension block) is held against the same map without texts.
#include "output/core/Fragment.h"
#include "output/core/MapFile.h"
#include "bench_mapfile_sample.h"

#include "BenchSupport.h"

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

constexpr int Hotspots = 100000;

const TMapFile &Map()
{
    static const TMapFile map = SampleMap(Hotspots);
    return map;
}

const TMapFile &MapWithAlts()
{
    static const TMapFile map = [] {
        TMapFile withAlts = Map();
        for (auto *list : {&withAlts.Rects, &withAlts.Circles, &withAlts.Polys})
            for (TMapRegion &region : *list)
                region.Alt = "Go to " + region.URL;
        return withAlts;
    }();
    return map;
}

const TFragmentMap &Fragment()
{
    static const TFragmentMap fragment = [] {
        TFragmentMap f;
        f.Src = "images/banner.gif";
        f.Options = {"navmap", "middle", "Site navigation", "0", "5", "0"};
        const auto areas = [](const std::vector<TMapRegion> &list, std::vector<TFragmentArea> &into) {
            for (const TMapRegion &region : list)
                into.push_back({region.Shape, region.URL, region.Target, "Go to " + region.URL});
        };
        areas(Map().Rects, f.Rects);
        areas(Map().Circles, f.Circles);
        areas(Map().Polys, f.Polys);
        f.DefaultURL = Map().DefaultURL;
        return f;
    }();
    return fragment;
}

std::string TempPath(const char *name)
{
    const char *dir = std::getenv("TMPDIR");
    return std::string(dir && *dir ? dir : "/tmp") + "/" + name + "." + std::to_string(getpid());
}

void WriteFile(const std::string &path, std::string_view bytes)
{
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0 || write(fd, bytes.data(), bytes.size()) != static_cast<ssize_t>(bytes.size())) {
        std::perror(path.c_str());
        std::exit(1);
    }
    close(fd);
}

std::string ReadFile(const std::string &path)
{
    std::string bytes;
    const int fd = open(path.c_str(), O_RDONLY);
    if (fd < 0)
        return bytes;
    bytes.resize(static_cast<std::size_t>(lseek(fd, 0, SEEK_END)));
    if (pread(fd, bytes.data(), bytes.size(), 0) != static_cast<ssize_t>(bytes.size()))
        bytes.clear();
    close(fd);
    return bytes;
}

const std::string FragmentPath = TempPath("bench_fragment");
const std::string MapPath = TempPath("bench_map");
const std::string AltMapPath = TempPath("bench_map_alts");

// Each side of a comparison: the core's work plus the file operation, or the file operation alone.
std::size_t WriteFragmentFile()
{
    const std::string bytes = WriteFragment(Fragment());
    WriteFile(FragmentPath, bytes);
    return bytes.size();
}

std::size_t WriteMapFileFile()
{
    const std::string bytes = WriteMapFile(Map());
    WriteFile(MapPath, bytes);
    return bytes.size();
}

std::size_t WritePrepared(const std::string &path, const std::string &bytes)
{
    WriteFile(path, bytes);
    return bytes.size();
}

std::size_t ReadMapAt(const std::string &path)
{
    const TMapReadResult read = ReadMapFile(ReadFile(path));
    return read.Map.Rects.size() + read.Map.Circles.size() + read.Map.Polys.size();
}

std::size_t ReadMap() { return ReadMapAt(MapPath); }
std::size_t ReadAltMap() { return ReadMapAt(AltMapPath); }

std::size_t WriteAltMapFile()
{
    const std::string bytes = WriteMapFile(MapWithAlts());
    WriteFile(AltMapPath, bytes);
    return bytes.size();
}

std::size_t ReadAndSplit()
{
    const std::string bytes = ReadFile(MapPath);
    std::vector<std::string_view> lines;
    const std::string_view all(bytes);
    for (std::size_t at = 0; at < all.size();) {
        std::size_t end = all.find("\r\n", at);
        if (end == std::string_view::npos)
            end = all.size();
        lines.push_back(all.substr(at, end - at));
        at = end + 2;
    }
    return lines.size();
}

const std::string &PreparedFragment()
{
    static const std::string bytes = WriteFragment(Fragment());
    return bytes;
}

const std::string &PreparedMap()
{
    static const std::string bytes = WriteMapFile(Map());
    return bytes;
}


std::size_t PreparedFragmentWrite() { return WritePrepared(FragmentPath, PreparedFragment()); }
std::size_t PreparedMapWrite() { return WritePrepared(MapPath, PreparedMap()); }

BENCHMARK(bench::BM<WriteFragmentFile>)->Name("WriteFragment+write")->Unit(benchmark::kMillisecond);
BENCHMARK(bench::BM<PreparedFragmentWrite>)->Name("write(prepared fragment)")->Unit(benchmark::kMillisecond);
BENCHMARK(bench::BM<WriteMapFileFile>)->Name("WriteMapFile+write")->Unit(benchmark::kMillisecond);
BENCHMARK(bench::BM<PreparedMapWrite>)->Name("write(prepared map file)")->Unit(benchmark::kMillisecond);
BENCHMARK(bench::BM<ReadMap>)->Name("read+ReadMapFile")->Unit(benchmark::kMillisecond);
BENCHMARK(bench::BM<ReadAndSplit>)->Name("read+split at CR LF")->Unit(benchmark::kMillisecond);
BENCHMARK(bench::BM<WriteAltMapFile>)->Name("WriteMapFile+write, alt texts")->Unit(benchmark::kMillisecond);
BENCHMARK(bench::BM<ReadAltMap>)->Name("read+ReadMapFile, alt texts")->Unit(benchmark::kMillisecond);

// This thread's processor time of one call, its file operations included.
double CpuMs(std::size_t (*run)())
{
    const std::int64_t start = bench::ThreadCpuNanos();
    benchmark::DoNotOptimize(run());
    return static_cast<double>(bench::ThreadCpuNanos() - start) / 1e6;
}

// Best of interleaved runs, so a busy neighbour on the machine hurts both sides alike. Ratios of
// the same work with and without texts are taken in processor time, which a loaded machine
// disturbs less than wall time.
void PrintRatio(const char *what, std::size_t (*core)(), const char *baseName, std::size_t (*base)(),
                const char *target = "3", double (*clock)(std::size_t (*)()) = bench::WallMs)
{
    double coreMs = 1e300;
    double baseMs = 1e300;
    for (int i = 0; i < 15; ++i) {
        coreMs = std::min(coreMs, clock(core));
        baseMs = std::min(baseMs, clock(base));
    }
    std::printf("%s %.2f ms, %s %.2f ms, ratio %.2f (target <= %s)\n", what, coreMs, baseName, baseMs,
                coreMs / baseMs, target);
}

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    WritePrepared(MapPath, PreparedMap());
    if (WriteMapFile(ReadMapFile(ReadFile(MapPath)).Map) != PreparedMap()) {
        std::printf("the map file did not read back as written\n");
        return 1;
    }
    std::printf("%d hotspots: fragment %zu bytes, map file %zu bytes\n", Hotspots, PreparedFragment().size(),
                PreparedMap().size());
    PrintRatio("WriteFragment + write", WriteFragmentFile, "write of the prepared fragment", PreparedFragmentWrite);
    PrintRatio("WriteMapFile + write", WriteMapFileFile, "write of the prepared map file", PreparedMapWrite);
    PrintRatio("read + ReadMapFile", ReadMap, "read + split at CR LF", ReadAndSplit);
    WriteAltMapFile();
    if (WriteMapFile(ReadMapFile(ReadFile(AltMapPath)).Map) != WriteMapFile(MapWithAlts())) {
        std::printf("the map with alt texts did not read back as written\n");
        return 1;
    }
    PrintRatio("save with alt texts (processor time)", WriteAltMapFile, "save without", WriteMapFileFile, "1.5", CpuMs);
    PrintRatio("load with alt texts (processor time)", ReadAltMap, "load without", ReadMap, "1.5", CpuMs);
    std::remove(FragmentPath.c_str());
    std::remove(MapPath.c_str());
    std::remove(AltMapPath.c_str());
    return 0;
}
