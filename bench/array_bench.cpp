// qvArray<double> kernels against the plain code a client would write
// instead: a hand-written loop, std::accumulate, std::inner_product and
// std::nth_element, run over the very same storage (the arrays' own
// elements), so that placement and alignment are alike on both sides.
// BM_Copy/loop is the memory-bandwidth limit for the streaming kernels.
#include <cqv/cqv.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <numeric>
#include <vector>

#include "bench_support.h"

namespace {

using cqvbench::RandomDoubles;
using cqvbench::SetDoubleTraffic;

// An array of state.range(0) random doubles; the seed tells operands apart.
qvArray<double> Operand(const benchmark::State& state, unsigned seed) {
    const std::vector<double> v = RandomDoubles(state.range(0), seed);
    qvArray<double> a(static_cast<int>(v.size()));
    std::copy(v.begin(), v.end(), a.begin());
    return a;
}

// c = a + b into a fresh array; the loop's output comes from malloc.

void AddCqv(benchmark::State& state) {
    qvArray<double> a = Operand(state, 1);
    const qvArray<double> b = Operand(state, 2);
    for (auto _ : state) {
        qvArray<double> c = a + b;
        benchmark::DoNotOptimize(c.GetPointer());
        benchmark::ClobberMemory();
    }
    SetDoubleTraffic(state, 3);
}

void AddLoop(benchmark::State& state) {
    const qvArray<double> a = Operand(state, 1), b = Operand(state, 2);
    const double* pa = a.GetPointer();
    const double* pb = b.GetPointer();
    const int n = a.Len();
    for (auto _ : state) {
        auto* c = static_cast<double*>(std::malloc(sizeof(double) * static_cast<std::size_t>(n)));
        for (int i = 0; i < n; ++i) c[i] = pa[i] + pb[i];
        benchmark::DoNotOptimize(c);
        benchmark::ClobberMemory();
        std::free(c);
    }
    SetDoubleTraffic(state, 3);
}

// a += b in place.

void AddAssignCqv(benchmark::State& state) {
    qvArray<double> a = Operand(state, 1);
    const qvArray<double> b = Operand(state, 2);
    for (auto _ : state) {
        a += b;
        benchmark::ClobberMemory();
    }
    SetDoubleTraffic(state, 3);
}

void AddAssignLoop(benchmark::State& state) {
    qvArray<double> a = Operand(state, 1);
    const qvArray<double> b = Operand(state, 2);
    double* pa = a.GetPointer();
    const double* pb = b.GetPointer();
    const int n = a.Len();
    for (auto _ : state) {
        for (int i = 0; i < n; ++i) pa[i] += pb[i];
        benchmark::ClobberMemory();
    }
    SetDoubleTraffic(state, 3);
}

// Sum in index order: one dependent chain of additions.

void SumCqv(benchmark::State& state) {
    const qvArray<double> a = Operand(state, 1);
    for (auto _ : state) benchmark::DoNotOptimize(a.Sum());
    SetDoubleTraffic(state, 1);
}

void SumLoop(benchmark::State& state) {
    const qvArray<double> a = Operand(state, 1);
    const double* p = a.GetPointer();
    const int n = a.Len();
    for (auto _ : state) {
        benchmark::DoNotOptimize(p);
        double s = p[0];
        for (int i = 1; i < n; ++i) s += p[i];
        benchmark::DoNotOptimize(s);
    }
    SetDoubleTraffic(state, 1);
}

void SumStd(benchmark::State& state) {
    const qvArray<double> a = Operand(state, 1);
    const double* p = a.GetPointer();
    for (auto _ : state) {
        benchmark::DoNotOptimize(p);
        benchmark::DoNotOptimize(std::accumulate(p, p + a.Len(), 0.0));
    }
    SetDoubleTraffic(state, 1);
}

// Dot product in index order.

void ScalarMulCqv(benchmark::State& state) {
    const qvArray<double> a = Operand(state, 1), b = Operand(state, 2);
    for (auto _ : state) benchmark::DoNotOptimize(a.ScalarMul(b));
    SetDoubleTraffic(state, 2);
}

void ScalarMulLoop(benchmark::State& state) {
    const qvArray<double> a = Operand(state, 1), b = Operand(state, 2);
    const double* pa = a.GetPointer();
    const double* pb = b.GetPointer();
    const int n = a.Len();
    for (auto _ : state) {
        benchmark::DoNotOptimize(pa);
        double s = pa[0] * pb[0];
        for (int i = 1; i < n; ++i) s += pa[i] * pb[i];
        benchmark::DoNotOptimize(s);
    }
    SetDoubleTraffic(state, 2);
}

void ScalarMulStd(benchmark::State& state) {
    const qvArray<double> a = Operand(state, 1), b = Operand(state, 2);
    const double* pa = a.GetPointer();
    for (auto _ : state) {
        benchmark::DoNotOptimize(pa);
        benchmark::DoNotOptimize(std::inner_product(pa, pa + a.Len(), b.GetPointer(), 0.0));
    }
    SetDoubleTraffic(state, 2);
}

// Median of unsorted data. Selection reorders its input, so every run first
// copies fresh unsorted data into the same work array; both sides pay that
// copy. Runs take turns over several different inputs (as many as fit in
// about 8 MB, at most 64), so that the branch predictor cannot learn one
// input by heart over millions of runs on small arrays.

struct MedianInputs {
    qvArray<double> pool;  // `count` inputs of n elements, one after another
    int n;
    int count;
    explicit MedianInputs(const benchmark::State& state) : n(static_cast<int>(state.range(0))) {
        count = static_cast<int>(std::max<std::int64_t>(1, std::min<std::int64_t>(64, (1 << 20) / state.range(0))));
        const std::vector<double> v = RandomDoubles(state.range(0) * count, 3);
        pool = qvArray<double>(static_cast<int>(v.size()));
        std::copy(v.begin(), v.end(), pool.begin());
    }
    // Copies input number `run` (modulo count) into work.
    void Load(double* work, std::int64_t run) const {
        const double* src = pool.GetPointer() + static_cast<std::size_t>(run % count) * static_cast<std::size_t>(n);
        std::memcpy(work, src, sizeof(double) * static_cast<std::size_t>(n));
    }
};

void MedianCqv(benchmark::State& state) {
    const MedianInputs inputs(state);
    qvArray<double> work(inputs.n, 0.0);
    std::int64_t run = 0;
    for (auto _ : state) {
        inputs.Load(work.GetPointer(), run++);
        benchmark::DoNotOptimize(work.Median());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void MedianStd(benchmark::State& state) {
    const MedianInputs inputs(state);
    qvArray<double> work(inputs.n, 0.0);
    double* first = work.GetPointer();
    double* kth = first + (inputs.n - 1) / 2;
    std::int64_t run = 0;
    for (auto _ : state) {
        inputs.Load(first, run++);
        std::nth_element(first, kth, first + inputs.n);
        benchmark::DoNotOptimize(*kth);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

// The bandwidth limit: read one stream, write another.

void CopyLoop(benchmark::State& state) {
    const qvArray<double> a = Operand(state, 1);
    qvArray<double> c(a);
    const double* src = a.GetPointer();
    double* dst = c.GetPointer();
    const int n = a.Len();
    for (auto _ : state) {
        for (int i = 0; i < n; ++i) dst[i] = src[i];
        benchmark::ClobberMemory();
    }
    SetDoubleTraffic(state, 2);
}

}  // namespace

BENCHMARK(AddCqv)->Name("BM_Add/cqv")->Apply(cqvbench::Sizes);
BENCHMARK(AddLoop)->Name("BM_Add/loop")->Apply(cqvbench::Sizes);
BENCHMARK(AddAssignCqv)->Name("BM_AddAssign/cqv")->Apply(cqvbench::Sizes);
BENCHMARK(AddAssignLoop)->Name("BM_AddAssign/loop")->Apply(cqvbench::Sizes);
BENCHMARK(SumCqv)->Name("BM_Sum/cqv")->Apply(cqvbench::Sizes);
BENCHMARK(SumLoop)->Name("BM_Sum/loop")->Apply(cqvbench::Sizes);
BENCHMARK(SumStd)->Name("BM_Sum/accumulate")->Apply(cqvbench::Sizes);
BENCHMARK(ScalarMulCqv)->Name("BM_ScalarMul/cqv")->Apply(cqvbench::Sizes);
BENCHMARK(ScalarMulLoop)->Name("BM_ScalarMul/loop")->Apply(cqvbench::Sizes);
BENCHMARK(ScalarMulStd)->Name("BM_ScalarMul/inner_product")->Apply(cqvbench::Sizes);
BENCHMARK(MedianCqv)->Name("BM_Median/cqv")->Apply(cqvbench::Sizes);
BENCHMARK(MedianStd)->Name("BM_Median/nth_element")->Apply(cqvbench::Sizes);
BENCHMARK(CopyLoop)->Name("BM_Copy/loop")->Apply(cqvbench::Sizes);
