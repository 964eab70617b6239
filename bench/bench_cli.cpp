// mapolin-map's heavy commands: compile of a 100,000-hotspot map as a whole process against
// cat of the same file plus the core writer alone, import of a 20 MB page of 10,000 areas
// against gumbo's own parse of that page, and check of 100,000 hotspots over a 4300 x 4300 image,
// whose cost per hotspot must not grow with their number. The HTML5 and SVG compiles of the map
// are held against its classic compile.
#include "cli/core/CompileMap.h"
#include "cli/core/HtmlImport.h"
#include "cli/core/MapCheck.h"
#include "output/core/MapFile.h"
#include "bench_mapfile_sample.h"

#include "BenchSupport.h"

#include <QImage>

#include <benchmark/benchmark.h>
#include <gumbo.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

extern char **environ;

namespace {

constexpr int Hotspots = 100000;
constexpr int PageAreas = 10000;
constexpr std::size_t PageSize = 20u << 20;
constexpr int FewHotspots = 1000;
// The sample map's hotspots reach x and y 4000 + 300.
constexpr int CheckImageSize = 4300;

std::string TempPath(const char *name)
{
    const char *dir = std::getenv("TMPDIR");
    return std::string(dir && *dir ? dir : "/tmp") + "/" + name + "." + std::to_string(getpid());
}

const std::string MapPath = TempPath("bench_cli.im");
const std::string PagePath = TempPath("bench_cli.html");
const std::string OutPath = TempPath("bench_cli_out.im");
const std::string CheckMapPath = TempPath("bench_cli_check.im");
const std::string CheckImagePath = TempPath("bench_cli_check.png");

std::string SelfPath()
{
    char self[PATH_MAX] = {};
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    return std::string(self, length > 0 ? static_cast<std::size_t>(length) : 0);
}

std::string ToolPath()
{
    const std::string self = SelfPath();
    return self.substr(0, self.rfind('/') + 1) + "mapolin-map";
}

void WriteFile(const std::string &path, const std::string &bytes)
{
    FILE *file = std::fopen(path.c_str(), "wb");
    if (!file || std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
        std::perror(path.c_str());
        std::exit(1);
    }
    std::fclose(file);
}

// A long article with one map of 10,000 areas in the middle.
std::string MakePage()
{
    std::mt19937 random(5);
    std::string page = "<!DOCTYPE html><html><head><title>Site</title></head><body>\n";
    const std::string paragraph = "<p>The <b>hotspot</b> editor keeps each <a href=\"x.html\">link</a> beside its "
                                  "shape, and the map file keeps them all in order.</p>\n";
    const std::size_t half = PageSize / 2;
    while (page.size() < half)
        page += paragraph;
    page += "<img src=\"images/site.gif\" usemap=\"#nav\" alt=\"\">\n<map name=\"nav\">\n";
    for (int i = 0; i < PageAreas; ++i) {
        const int x = static_cast<int>(random() % 4000), y = static_cast<int>(random() % 4000);
        if (i % 3 == 0)
            page += "<area shape=\"rect\" coords=\"" + std::to_string(x) + "," + std::to_string(y) + "," +
                    std::to_string(x + 40) + "," + std::to_string(y + 30) + "\" href=\"item" + std::to_string(i) + ".html\">\n";
        else if (i % 3 == 1)
            page += "<area shape=circle coords=\"" + std::to_string(x) + " " + std::to_string(y) + " 12\" href=item" +
                    std::to_string(i) + ".html target=_blank>\n";
        else
            page += "<AREA SHAPE=POLY COORDS=\"" + std::to_string(x) + "," + std::to_string(y) + "," + std::to_string(x + 30) +
                    "," + std::to_string(y) + "," + std::to_string(x + 15) + "," + std::to_string(y + 20) +
                    "\" HREF=\"item" + std::to_string(i) + ".html\" ALT=\"Item\">\n";
    }
    page += "</map>\n";
    while (page.size() < PageSize)
        page += paragraph;
    return page + "</body></html>\n";
}

const TMapFile &Map()
{
    static const TMapFile map = SampleMap(Hotspots);
    return map;
}

const std::string &Page()
{
    static const std::string page = MakePage();
    return page;
}

// Runs a program with standard output and error to /dev/null; its exit status.
int Spawn(const std::vector<std::string> &arguments)
{
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    std::vector<char *> argv;
    for (const std::string &argument : arguments)
        argv.push_back(const_cast<char *>(argument.c_str()));
    argv.push_back(nullptr);
    pid_t pid = 0;
    const int failed = posix_spawnp(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    int status = 0;
    if (failed || waitpid(pid, &status, 0) < 0)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::size_t CompileProcess() { return Spawn({ToolPath(), "compile", MapPath, "--workdir", "/home/ann/site"}); }
std::size_t Html5Process() { return Spawn({ToolPath(), "compile", MapPath, "--html5", "--workdir", "/home/ann/site"}); }

const std::string &SampleBytes()
{
    static const std::string bytes = WriteMapFile(Map());
    return bytes;
}

template <TFragmentFormat Format>
std::size_t CoreCompile()
{
    TCompileRequest request;
    request.Format = Format;
    request.WorkDir = "/home/ann/site";
    request.FallbackName = "bench_cli";
    request.ImageSize = TImageSize{4300, 4300};
    return CompileMapFile(SampleBytes(), request).Output.Bytes.size();
}
std::size_t CatProcess() { return Spawn({"cat", MapPath}); }
std::size_t CoreWriter()
{
    static const TFragmentMap fragment = FragmentOfMapFile(Map(), "/home/ann/site", {"bench_cli", "", "", "", "", ""}, false);
    return WriteFragment(fragment).size();
}
std::size_t ImportProcess() { return Spawn({ToolPath(), "import", PagePath, "-o", OutPath}); }
// gumbo's parse in a process of its own (this program, see main), so both sides start cold.
std::size_t GumboProcess() { return Spawn({SelfPath(), "--gumbo-parse", PagePath}); }
std::size_t CoreImport() { return ImportMap(Page(), {"", "", "/srv", {}}).Map.Rects.size(); }
std::size_t CheckProcess() { return Spawn({ToolPath(), "check", CheckMapPath}); }
template <int Count>
std::size_t CoreCheck()
{
    static const TMapFile map = SampleMap(Count);
    return CheckMap(map, {TImageState::TState::Read, CheckImageSize, CheckImageSize, {}}).size();
}
std::size_t GumboParse()
{
    GumboOutput *output = gumbo_parse_with_options(&kGumboDefaultOptions, Page().data(), Page().size());
    const std::size_t children = output->root->v.element.children.length;
    gumbo_destroy_output(&kGumboDefaultOptions, output);
    return children;
}

BENCHMARK(bench::BM<CompileProcess>)->Name("mapolin-map compile (process)")->Unit(benchmark::kMillisecond);
BENCHMARK(bench::BM<CatProcess>)->Name("cat map file (process)")->Unit(benchmark::kMillisecond);
BENCHMARK(bench::BM<Html5Process>)->Name("mapolin-map compile --html5 (process)")->Unit(benchmark::kMillisecond);
BENCHMARK(bench::BM<CoreCompile<TFragmentFormat::Classic>>)->Name("CompileMapFile classic")->Unit(benchmark::kMillisecond);
BENCHMARK(bench::BM<CoreCompile<TFragmentFormat::Html5>>)->Name("CompileMapFile HTML5")->Unit(benchmark::kMillisecond);
BENCHMARK(bench::BM<CoreCompile<TFragmentFormat::Svg>>)->Name("CompileMapFile SVG")->Unit(benchmark::kMillisecond);
BENCHMARK(bench::BM<CoreWriter>)->Name("WriteFragment alone")->Unit(benchmark::kMillisecond);
BENCHMARK(bench::BM<ImportProcess>)->Name("mapolin-map import (process)")->Unit(benchmark::kMillisecond);
BENCHMARK(bench::BM<GumboProcess>)->Name("gumbo parse (process)")->Unit(benchmark::kMillisecond);
BENCHMARK(bench::BM<CoreImport>)->Name("ImportMap (core)")->Unit(benchmark::kMillisecond);
BENCHMARK(bench::BM<GumboParse>)->Name("gumbo parse alone")->Unit(benchmark::kMillisecond);
BENCHMARK(bench::BM<CheckProcess>)->Name("mapolin-map check (process)")->Unit(benchmark::kMillisecond);
BENCHMARK(bench::BM<CoreCheck<Hotspots>>)->Name("CheckMap, 100,000 hotspots")->Unit(benchmark::kMillisecond);
BENCHMARK(bench::BM<CoreCheck<FewHotspots>>)->Name("CheckMap, 1,000 hotspots")->Unit(benchmark::kMillisecond);

// Best of interleaved runs of every side, so a busy machine hurts all of them alike.
std::vector<double> Best(const std::vector<std::size_t (*)()> &runs, int rounds, double (*measure)(std::size_t (*)()) = bench::WallMs)
{
    std::vector<double> best(runs.size(), 1e300);
    for (int round = 0; round < rounds; ++round)
        for (std::size_t i = 0; i < runs.size(); ++i)
            best[i] = std::min(best[i], measure(runs[i]));
    return best;
}

// Milliseconds of processor time of one call, its child processes included: other processes on a
// shared machine do not count.
double ProcessorMs(std::size_t (*run)())
{
    const auto children = [] {
        rusage usage{};
        getrusage(RUSAGE_CHILDREN, &usage);
        return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3 + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
    };
    const double before = children();
    const std::int64_t start = bench::ThreadCpuNanos();
    benchmark::DoNotOptimize(run());
    return (bench::ThreadCpuNanos() - start) / 1e6 + children() - before;
}

} // namespace

// Reads a page and parses it with gumbo, nothing else.
int GumboParseFile(const char *path)
{
    FILE *file = std::fopen(path, "rb");
    if (!file)
        return 1;
    std::string page;
    char buffer[1 << 16];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
        page.append(buffer, got);
    std::fclose(file);
    GumboOutput *output = gumbo_parse_with_options(&kGumboDefaultOptions, page.data(), page.size());
    gumbo_destroy_output(&kGumboDefaultOptions, output);
    return 0;
}

int main(int argc, char **argv)
{
    if (argc == 3 && std::string(argv[1]) == "--gumbo-parse")
        return GumboParseFile(argv[2]);
    WriteFile(MapPath, SampleBytes());
    WriteFile(PagePath, Page());
    TMapFile checked = Map();
    checked.ImageFileName = CheckImagePath;
    WriteFile(CheckMapPath, WriteMapFile(checked));
    QImage picture(CheckImageSize, CheckImageSize, QImage::Format_RGB32);
    picture.fill(0xFFFFFFFF);
    if (!picture.save(QString::fromStdString(CheckImagePath), "PNG")) {
        std::printf("cannot write %s\n", CheckImagePath.c_str());
        return 1;
    }
    if (CompileProcess() != 0 || ImportProcess() != 0 || CoreImport() == 0 || CheckProcess() != 1) {
        std::printf("mapolin-map failed on the benchmark's files (%s)\n", ToolPath().c_str());
        return 1;
    }
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    const std::vector<double> compile = Best({CompileProcess, CatProcess, CoreWriter}, 10);
    std::printf("compile of %d hotspots: process %.1f ms, cat %.1f ms, core writer %.1f ms, "
                "ratio %.2f (target <= 3)\n",
                Hotspots, compile[0], compile[1], compile[2], compile[0] / (compile[1] + compile[2]));
    const std::vector<double> formats = Best({CoreCompile<TFragmentFormat::Classic>, CoreCompile<TFragmentFormat::Html5>,
                                              CoreCompile<TFragmentFormat::Svg>, CompileProcess, Html5Process},
                                             10);
    std::printf("compile of %d hotspots: classic %.1f ms, HTML5 %.1f ms (ratio %.2f), SVG %.1f ms (ratio %.2f) "
                "(target <= 1.5); as processes: classic %.1f ms, HTML5 %.1f ms (ratio %.2f)\n",
                Hotspots, formats[0], formats[1], formats[1] / formats[0], formats[2], formats[2] / formats[0],
                formats[3], formats[4], formats[4] / formats[3]);
    const std::vector<double> processes = Best({ImportProcess, GumboProcess}, 5);
    std::printf("import of a %zu MB page of %d areas: mapolin-map import %.1f ms, gumbo parse in a process %.1f ms, "
                "ratio %.2f (target <= 1.5)\n",
                Page().size() >> 20, PageAreas, processes[0], processes[1], processes[0] / processes[1]);
    const std::vector<double> inProcess = Best({CoreImport, GumboParse}, 5);
    std::printf("  in this process: ImportMap %.1f ms, gumbo parse %.1f ms, ratio %.2f\n", inProcess[0], inProcess[1],
                inProcess[0] / inProcess[1]);
    const std::vector<double> checkWall = Best({CheckProcess}, 5);
    const std::vector<double> check = Best({CheckProcess, CoreCheck<Hotspots>, CoreCheck<FewHotspots>}, 5, ProcessorMs);
    std::printf("check of %d hotspots over a %d x %d image: mapolin-map check %.1f ms, processor time %.1f ms (target < "
                "1000); CheckMap %.1f ms; per hotspot %.2f us against %.2f us for %d hotspots, ratio %.2f (target <= 1.5)\n",
                Hotspots, CheckImageSize, CheckImageSize, checkWall[0], check[0], check[1], 1000 * check[1] / Hotspots,
                1000 * check[2] / FewHotspots, FewHotspots, (check[1] / Hotspots) / (check[2] / FewHotspots));
    for (const std::string &path : {MapPath, PagePath, OutPath, CheckMapPath, CheckImagePath})
        std::remove(path.c_str());
    return 0;
}
