// Inputs and sizes shared by the benchmark programs.
#ifndef CQV_BENCH_BENCH_SUPPORT_H
#define CQV_BENCH_BENCH_SUPPORT_H

#include <benchmark/benchmark.h>

#include <cstdint>
#include <random>
#include <vector>

namespace cqvbench {

// n doubles drawn uniformly from [-1, 1), the same for the same seed, so
// that a kernel and its peer see identical data.
inline std::vector<double> RandomDoubles(std::int64_t n, unsigned seed) {
    std::mt19937_64 gen(seed);
    std::uniform_real_distribution<double> dist(-1.0, 1.0);
    std::vector<double> v(static_cast<std::size_t>(n));
    for (double& x : v) x = dist(gen);
    return v;
}

// The problem sizes every kernel runs at: in cache, in the last-level cache,
// and far beyond it in main memory.
inline void Sizes(benchmark::internal::Benchmark* b) {
    for (std::int64_t n : {1000, 100000, 10000000}) b->Arg(n);
}

// Reports the bytes a kernel moves per run, streams times n doubles.
inline void SetDoubleTraffic(benchmark::State& state, int streams) {
    state.SetBytesProcessed(state.iterations() * state.range(0) * streams * static_cast<std::int64_t>(sizeof(double)));
}

}  // namespace cqvbench

#endif  // CQV_BENCH_BENCH_SUPPORT_H
