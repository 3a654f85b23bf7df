// Inputs and sizes shared by the benchmark programs.
#ifndef CQV_BENCH_BENCH_SUPPORT_H
#define CQV_BENCH_BENCH_SUPPORT_H

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <random>
#include <vector>

namespace cqvbench {

// glibc serves requests above a threshold (128 KiB at start) with fresh
// mapped pages, and gives the top of its heap back to the system whenever
// more than twice that lies free there; freeing a mapped block raises the
// threshold to that block's size (only for blocks up to 32 MiB). Left
// alone, which side of those limits a run lands on would depend on what
// ran before it, and a kernel that returns a new matrix would pay, on each
// run, the page faults of memory handed back and taken again: on this kind
// of virtual machine they cost more than a 512×512 product. One 16 MiB
// block allocated and freed at start-up raises both limits first, so that
// every run, ours and the peer's, sees the heap of a program that has been
// running for a while. (Blocks beyond 16 MiB still come as fresh pages,
// alike for both sides.)
inline const bool kHeapSettled = [] {
    void* p = std::malloc(std::size_t{16} << 20);
    benchmark::DoNotOptimize(p);
    std::free(p);
    return true;
}();

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
