#pragma once

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace quarn::bench {

/// With QUARN_BENCH_ITERATIONS=N in the environment a benchmark runs exactly N iterations, in
/// one run, instead of as many as Google Benchmark chooses. Under a profiler (callgrind for
/// instructions, strace for round trips) two runs with different N then give the cost of one
/// iteration as their difference divided by the difference of N; what the setup costs cancels.
inline void ProfiledIterations(benchmark::internal::Benchmark* benchmark) {
    const char* iterations = std::getenv("QUARN_BENCH_ITERATIONS");
    const long long count = iterations ? std::atoll(iterations) : 0;
    if (count > 0) {
        benchmark->Iterations(count);
    }
}

}  // namespace quarn::bench
