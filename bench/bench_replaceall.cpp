// ReplaceAll on 10 MiB of text against a plain std::string::find loop doing the same replacement.
#include "output/core/ReplaceAll.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <string>

namespace {

constexpr std::size_t TextSize = 10u << 20;
const std::string Pattern = "<AREA SHAPE=RECT"; // 16 characters
const std::string Replacement = "<AREA SHAPE=POLY";

// Word-like text with the pattern about once per 4 KiB, so both searches mostly skip.
const std::string &Text()
{
    static const std::string text = [] {
        std::mt19937 random(7);
        const char *words[] = {"the ", "hotspot ", "COORDS=", "\"10, 20\" ", "HREF ", "<AREA ",
                               "SHAPE=", "map ", "image\r\n", "RECT "};
        std::string s;
        s.reserve(TextSize + 64);
        while (s.size() < TextSize) {
            if (random() % 512 == 0)
                s += Pattern;
            else
                s += words[random() % std::size(words)];
        }
        s.resize(TextSize);
        return s;
    }();
    return text;
}

std::string FindLoop(const std::string &text, const std::string &find, const std::string &replacement)
{
    std::string result;
    result.reserve(text.size());
    std::size_t copied = 0;
    for (std::size_t pos = text.find(find); pos != std::string::npos; pos = text.find(find, copied)) {
        result.append(text, copied, pos - copied);
        result += replacement;
        copied = pos + find.size();
    }
    result.append(text, copied);
    return result;
}

void BM_ReplaceAll(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(ReplaceAll(Text(), Pattern, Replacement, true));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * TextSize));
}
BENCHMARK(BM_ReplaceAll)->Unit(benchmark::kMillisecond);

void BM_StdFindLoop(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(FindLoop(Text(), Pattern, Replacement));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * TextSize));
}
BENCHMARK(BM_StdFindLoop)->Unit(benchmark::kMillisecond);

template <typename F>
double ElapsedMs(F run)
{
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    benchmark::DoNotOptimize(run());
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

void PrintRatio()
{
    if (ReplaceAll(Text(), Pattern, Replacement, true) != FindLoop(Text(), Pattern, Replacement)) {
        std::printf("ReplaceAll and the find loop disagree\n");
        return;
    }
    // Best of interleaved runs, so a busy neighbour on the machine hurts both sides alike.
    double replaceAll = 1e300;
    double findLoop = 1e300;
    for (int i = 0; i < 15; ++i) {
        replaceAll = std::min(replaceAll, ElapsedMs([] { return ReplaceAll(Text(), Pattern, Replacement, true); }));
        findLoop = std::min(findLoop, ElapsedMs([] { return FindLoop(Text(), Pattern, Replacement); }));
    }
    std::printf("ReplaceAll %.2f ms, std::string::find loop %.2f ms, ratio %.2f (target <= 1.5)\n",
                replaceAll, findLoop, replaceAll / findLoop);
}

} // namespace

int main(int argc, char **argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    PrintRatio();
    return 0;
}
