// Whole-array operations of the N-dimensional array on a 256 × 256 × 256
// cube of doubles (2^24 elements, 128 MiB), seen three ways: as it is
// stored, flipped along dimension 0 (the fastest one, so the inner loop runs
// backwards through memory), and with dimensions 0 and 2 swapped (so the
// inner loop strides 256² elements). Each kernel runs beside a hand-written
// triple loop over the same memory in the view's index order, with the
// strides written into the loop as constants, and beside xtensor's views
// (xt::adapt on the same memory, xt::flip, xt::transpose).
//
// Kernels: += of two views of equal layout, Fill, Min, and the median of a
// temporary copy (the array is left as it is; every side allocates its copy
// on each call, as the library does).
#include <benchmark/benchmark.h>

#include <xtensor/xadapt.hpp>
#include <xtensor/xmanipulation.hpp>
#include <xtensor/xmath.hpp>
#include <xtensor/xnoalias.hpp>
#include <xtensor/xsort.hpp>

#include <cqv/cqv.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <memory>

#include "bench_support.h"

namespace {

constexpr int kN = 256;  // the extent of every dimension
constexpr std::int64_t kCount = std::int64_t{kN} * kN * kN;

// How the cube is seen.
enum Layout { kDense, kFlip0, kSwap02 };

// The extents as a library range.
qvArray<int> Cube() {
    qvArray<int> r(3, kN);
    return r;
}

// A dense cube of random values.
qvArrayND<double> RandomCube(unsigned seed) {
    qvArrayND<double> a(Cube());
    const std::vector<double> v = cqvbench::RandomDoubles(kCount, seed);
    std::copy(v.begin(), v.end(), a.GetPointer());
    return a;
}

// The library's view of a in the given layout.
qvArrayND<double> View(const qvArrayND<double>& a, Layout layout) {
    qvArrayND<double> v;
    v.Set(a);
    if (layout == kFlip0) v.Flip(0);
    if (layout == kSwap02) v.SwapAxis(0, 2);
    return v;
}

// The hand-written loop's element (i, j, k) of the view of a cube stored at
// p, with the view's strides as constants.
template <Layout L>
inline double& At(double* p, int i, int j, int k) {
    if constexpr (L == kDense) return p[i + kN * j + kN * kN * k];
    if constexpr (L == kFlip0) return p[(kN - 1 - i) + kN * j + kN * kN * k];
    return p[k + kN * j + kN * kN * i];
}

// xtensor's view of the cube at p: its shapes are row-major, last index
// fastest, so the library's dimension d is xtensor's axis 2 - d. The views
// hold the adaptor (a pointer and a shape) by value.
auto Adapt(double* p) {
    const std::array<std::size_t, 3> shape = {kN, kN, kN};
    return xt::adapt(p, static_cast<std::size_t>(kCount), xt::no_ownership(), shape);
}

template <Layout L>
auto XtView(double* p) {
    if constexpr (L == kDense) {
        return Adapt(p);
    } else if constexpr (L == kFlip0) {
        return xt::flip(Adapt(p), 2);
    } else {
        return xt::transpose(Adapt(p), {2, 1, 0});  // axes 0 and 2 exchanged
    }
}

// ---- a += b -------------------------------------------------------------------

template <Layout L>
void AddAssignCqv(benchmark::State& state) {
    const qvArrayND<double> a0 = RandomCube(1), b0 = RandomCube(2);
    qvArrayND<double> a = View(a0, L), b = View(b0, L);
    for (auto _ : state) {
        a += b;
        benchmark::ClobberMemory();
    }
    cqvbench::SetDoubleTraffic(state, 3);
}

template <Layout L>
void AddAssignLoop(benchmark::State& state) {
    const qvArrayND<double> a0 = RandomCube(1), b0 = RandomCube(2);
    double* pa = a0.GetPointer();
    double* pb = b0.GetPointer();
    for (auto _ : state) {
        for (int k = 0; k < kN; ++k)
            for (int j = 0; j < kN; ++j)
                for (int i = 0; i < kN; ++i) At<L>(pa, i, j, k) += At<L>(pb, i, j, k);
        benchmark::ClobberMemory();
    }
    cqvbench::SetDoubleTraffic(state, 3);
}

template <Layout L>
void AddAssignXt(benchmark::State& state) {
    const qvArrayND<double> a0 = RandomCube(1), b0 = RandomCube(2);
    auto va = XtView<L>(a0.GetPointer());
    const auto vb = XtView<L>(b0.GetPointer());
    for (auto _ : state) {
        xt::noalias(va) += vb;
        benchmark::ClobberMemory();
    }
    cqvbench::SetDoubleTraffic(state, 3);
}

// ---- Fill ----------------------------------------------------------------------

template <Layout L>
void FillCqv(benchmark::State& state) {
    const qvArrayND<double> a0 = RandomCube(1);
    qvArrayND<double> a = View(a0, L);
    double x = 0.5;
    for (auto _ : state) {
        a.Fill(x);
        x += 1;
        benchmark::ClobberMemory();
    }
    cqvbench::SetDoubleTraffic(state, 1);
}

template <Layout L>
void FillLoop(benchmark::State& state) {
    const qvArrayND<double> a0 = RandomCube(1);
    double* p = a0.GetPointer();
    double x = 0.5;
    for (auto _ : state) {
        for (int k = 0; k < kN; ++k)
            for (int j = 0; j < kN; ++j)
                for (int i = 0; i < kN; ++i) At<L>(p, i, j, k) = x;
        x += 1;
        benchmark::ClobberMemory();
    }
    cqvbench::SetDoubleTraffic(state, 1);
}

template <Layout L>
void FillXt(benchmark::State& state) {
    const qvArrayND<double> a0 = RandomCube(1);
    double x = 0.5;
    auto v = XtView<L>(a0.GetPointer());
    for (auto _ : state) {
        v.fill(x);
        x += 1;
        benchmark::ClobberMemory();
    }
    cqvbench::SetDoubleTraffic(state, 1);
}

// ---- Min -----------------------------------------------------------------------

template <Layout L>
void MinCqv(benchmark::State& state) {
    const qvArrayND<double> a0 = RandomCube(1);
    const qvArrayND<double> a = View(a0, L);
    for (auto _ : state) benchmark::DoNotOptimize(a.Min());
    cqvbench::SetDoubleTraffic(state, 1);
}

template <Layout L>
void MinLoop(benchmark::State& state) {
    const qvArrayND<double> a0 = RandomCube(1);
    double* p = a0.GetPointer();
    for (auto _ : state) {
        benchmark::DoNotOptimize(p);
        double m = At<L>(p, 0, 0, 0);
        for (int k = 0; k < kN; ++k)
            for (int j = 0; j < kN; ++j)
                for (int i = 0; i < kN; ++i) {
                    const double e = At<L>(p, i, j, k);
                    m = e < m ? e : m;
                }
        benchmark::DoNotOptimize(m);
    }
    cqvbench::SetDoubleTraffic(state, 1);
}

template <Layout L>
void MinXt(benchmark::State& state) {
    const qvArrayND<double> a0 = RandomCube(1);
    const auto v = XtView<L>(a0.GetPointer());
    for (auto _ : state) benchmark::DoNotOptimize(xt::amin(v)());
    cqvbench::SetDoubleTraffic(state, 1);
}

// ---- Median ----------------------------------------------------------------------

template <Layout L>
void MedianCqv(benchmark::State& state) {
    const qvArrayND<double> a0 = RandomCube(1);
    qvArrayND<double> a = View(a0, L);
    for (auto _ : state) benchmark::DoNotOptimize(a.Median());
    state.SetItemsProcessed(state.iterations() * kCount);
}

template <Layout L>
void MedianLoop(benchmark::State& state) {
    const qvArrayND<double> a0 = RandomCube(1);
    double* p = a0.GetPointer();
    for (auto _ : state) {
        std::unique_ptr<double[]> work(new double[static_cast<std::size_t>(kCount)]);
        double* out = work.get();
        for (int k = 0; k < kN; ++k)
            for (int j = 0; j < kN; ++j)
                for (int i = 0; i < kN; ++i) *out++ = At<L>(p, i, j, k);
        double* kth = work.get() + (kCount - 1) / 2;
        std::nth_element(work.get(), kth, work.get() + kCount);
        benchmark::DoNotOptimize(*kth);
    }
    state.SetItemsProcessed(state.iterations() * kCount);
}

template <Layout L>
void MedianXt(benchmark::State& state) {
    const qvArrayND<double> a0 = RandomCube(1);
    const auto v = XtView<L>(a0.GetPointer());
    for (auto _ : state) benchmark::DoNotOptimize(xt::median(v));
    state.SetItemsProcessed(state.iterations() * kCount);
}

// ---- registration -------------------------------------------------------------------

#define CQV_ND_BENCH(KERNEL, NAME, L)                                                                   \
    BENCHMARK_TEMPLATE(KERNEL##Cqv, L)->Name("BM_" NAME "/cqv")->Arg(kCount)->Unit(benchmark::kMillisecond);  \
    BENCHMARK_TEMPLATE(KERNEL##Loop, L)->Name("BM_" NAME "/loop")->Arg(kCount)->Unit(benchmark::kMillisecond); \
    BENCHMARK_TEMPLATE(KERNEL##Xt, L)->Name("BM_" NAME "/xtensor")->Arg(kCount)->Unit(benchmark::kMillisecond);

#define CQV_ND_KERNEL(KERNEL)                            \
    CQV_ND_BENCH(KERNEL, "Nd" #KERNEL, kDense)           \
    CQV_ND_BENCH(KERNEL, "Nd" #KERNEL "Flipped", kFlip0) \
    CQV_ND_BENCH(KERNEL, "Nd" #KERNEL "Swapped", kSwap02)

CQV_ND_KERNEL(AddAssign)
CQV_ND_KERNEL(Fill)
CQV_ND_KERNEL(Min)
CQV_ND_KERNEL(Median)

}  // namespace
