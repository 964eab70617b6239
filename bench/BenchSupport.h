// Timing pieces the benchmark programs share: this thread's processor time, a wall-clock run of
// one function, and a Google Benchmark case for a plain function.
#pragma once

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstddef>
#include <cstdint>

#include <time.h>

namespace bench {

// Processor time of this thread in nanoseconds: other processes on a shared machine do not
// count, so ratios stay comparable under load.
inline std::int64_t ThreadCpuNanos()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return std::int64_t(t.tv_sec) * 1000000000 + t.tv_nsec;
}

// Measures the processor time from its start, as QElapsedTimer measures wall time.
class CpuTimer {
public:
    void start() { start_ = ThreadCpuNanos(); }
    std::int64_t nsecsElapsed() const { return ThreadCpuNanos() - start_; }

private:
    std::int64_t start_ = 0;
};

// Milliseconds of wall time of one call.
inline double WallMs(std::size_t (*run)())
{
    using Clock = std::chrono::steady_clock;
    const auto start = Clock::now();
    benchmark::DoNotOptimize(run());
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// A benchmark case that calls run once per iteration.
template <std::size_t (*Run)()>
void BM(benchmark::State &state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(Run());
}

} // namespace bench
