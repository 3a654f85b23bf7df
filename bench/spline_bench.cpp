// Cubic splines against GSL's (gsl_interp_cspline and
// gsl_interp_cspline_periodic), n = 10^3 to 10^6 points on the same data:
// knots with uneven gaps in [0.5, 1.5) (or gaps of 1 where said), values in
// [-1, 1).
//
//   NaturalBuild, PeriodicBuild   from the points to a spline ready to
//       evaluate: Set and MkSpline3 (natural ends) or MkPeriodSpline3 on
//       one side, gsl_spline_alloc, gsl_spline_init and gsl_spline_free on
//       the other;
//   NaturalRebuild    the builder alone on a spline that holds its points
//       and storage already (MkSpline3 against gsl_spline_init);
//   EvalSorted, EvalRandom   10·n evaluations of the natural spline at
//       increasing points (ten per interval) and at random points; GSL with
//       its accelerator, which remembers the last interval;
//   EvalSortedNear    the increasing points again, the library's caller
//       passing the interval found last (GetSegmentNum(x, near) and
//       operator()(x, seg)), against the same GSL loop;
//   EvalSortedEven, EvalRandomEven   the same on evenly spaced knots.
//
// Build it with the bench preset; it needs Google Benchmark and GSL.
#include <benchmark/benchmark.h>

#include <gsl/gsl_errno.h>
#include <gsl/gsl_spline.h>

#include <cqv/cqv.h>

#include <algorithm>
#include <cstdint>
#include <vector>

#include "bench_support.h"

namespace {

struct Data {
    std::vector<double> x, y, sorted, random;
    Data(std::int64_t n, bool periodic, bool even = false)
        : x(static_cast<std::size_t>(n)), y(cqvbench::RandomDoubles(n, 2)) {
        const std::vector<double> gaps = cqvbench::RandomDoubles(n, 1);
        x[0] = 0;
        for (std::size_t i = 1; i < x.size(); ++i) x[i] = even ? static_cast<double>(i) : x[i - 1] + 1.0 + 0.5 * gaps[i];
        if (periodic) y.back() = y.front();
        const double lo = x.front(), hi = x.back();
        const std::int64_t q = 10 * n;
        for (std::int64_t i = 0; i < q; ++i) sorted.push_back(lo + (hi - lo) * static_cast<double>(i) / q);
        for (double r : cqvbench::RandomDoubles(q, 3)) random.push_back(lo + (hi - lo) * 0.5 * (r + 1));
    }
    qvCurve2D Curve() const {
        qvCurve2D c(static_cast<int>(x.size()));
        for (int i = 0; i < c.Len(); ++i) c[i] = qvVec2(x[static_cast<std::size_t>(i)], y[static_cast<std::size_t>(i)]);
        return c;
    }
};

qvSimpleArray<int> Natural() {
    qvSimpleArray<int> code(2);
    code[0] = 0;
    code[1] = 3;
    return code;
}

qvMatrix<double> Zeros() {
    qvMatrix<double> v(2, 2);
    v(0, 0) = v(0, 1) = v(1, 0) = v(1, 1) = 0;
    return v;
}

void BuildCqv(benchmark::State& state, bool periodic) {
    const Data d(state.range(0), periodic);
    const qvCurve2D c = d.Curve();
    const qvSimpleArray<int> code = Natural();
    const qvMatrix<double> value = Zeros();
    for (auto _ : state) {
        qvSpline<double> s;
        s.Set(c);
        if (periodic) s.MkPeriodSpline3();
        else s.MkSpline3(code, value);
        benchmark::DoNotOptimize(&s);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void BuildGsl(benchmark::State& state, bool periodic) {
    const Data d(state.range(0), periodic);
    const gsl_interp_type* type = periodic ? gsl_interp_cspline_periodic : gsl_interp_cspline;
    for (auto _ : state) {
        gsl_spline* s = gsl_spline_alloc(type, d.x.size());
        if (gsl_spline_init(s, d.x.data(), d.y.data(), d.x.size()) != GSL_SUCCESS)
            state.SkipWithError("gsl_spline_init failed");
        benchmark::DoNotOptimize(s);
        gsl_spline_free(s);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void NaturalBuildCqv(benchmark::State& state) { BuildCqv(state, false); }
void NaturalBuildGsl(benchmark::State& state) { BuildGsl(state, false); }
void PeriodicBuildCqv(benchmark::State& state) { BuildCqv(state, true); }
void PeriodicBuildGsl(benchmark::State& state) { BuildGsl(state, true); }

void NaturalRebuildCqv(benchmark::State& state) {
    const Data d(state.range(0), false);
    const qvSimpleArray<int> code = Natural();
    const qvMatrix<double> value = Zeros();
    qvSpline<double> s;
    s.Set(d.Curve());
    s.MkSpline3(code, value);
    for (auto _ : state) {
        s.MkSpline3(code, value);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

void NaturalRebuildGsl(benchmark::State& state) {
    const Data d(state.range(0), false);
    gsl_spline* s = gsl_spline_alloc(gsl_interp_cspline, d.x.size());
    for (auto _ : state) {
        if (gsl_spline_init(s, d.x.data(), d.y.data(), d.x.size()) != GSL_SUCCESS)
            state.SkipWithError("gsl_spline_init failed");
        benchmark::ClobberMemory();
    }
    gsl_spline_free(s);
    state.SetItemsProcessed(state.iterations() * state.range(0));
}

enum class Points { Sorted, Random, SortedEven, RandomEven, SortedNear };

void EvalCqv(benchmark::State& state, Points which) {
    const bool even = which == Points::SortedEven || which == Points::RandomEven;
    const Data d(state.range(0), false, even);
    qvSpline<double> s;
    s.Set(d.Curve());
    s.MkSpline3(Natural(), Zeros());
    const bool random = which == Points::Random || which == Points::RandomEven;
    const std::vector<double>& at = random ? d.random : d.sorted;
    for (auto _ : state) {
        double sum = 0;
        if (which == Points::SortedNear) {
            int seg = 0;
            for (double x : at) {
                seg = s.GetSegmentNum(x, seg);
                sum += s(x, seg);
            }
        } else {
            for (double x : at) sum += s(x);
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(at.size()));
}

void EvalGsl(benchmark::State& state, Points which) {
    const bool even = which == Points::SortedEven || which == Points::RandomEven;
    const Data d(state.range(0), false, even);
    gsl_spline* s = gsl_spline_alloc(gsl_interp_cspline, d.x.size());
    gsl_spline_init(s, d.x.data(), d.y.data(), d.x.size());
    gsl_interp_accel* acc = gsl_interp_accel_alloc();
    const bool random = which == Points::Random || which == Points::RandomEven;
    const std::vector<double>& at = random ? d.random : d.sorted;
    for (auto _ : state) {
        double sum = 0;
        for (double x : at) sum += gsl_spline_eval(s, x, acc);
        benchmark::DoNotOptimize(sum);
    }
    gsl_interp_accel_free(acc);
    gsl_spline_free(s);
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(at.size()));
}

void EvalSortedCqv(benchmark::State& state) { EvalCqv(state, Points::Sorted); }
void EvalSortedGsl(benchmark::State& state) { EvalGsl(state, Points::Sorted); }
void EvalRandomCqv(benchmark::State& state) { EvalCqv(state, Points::Random); }
void EvalRandomGsl(benchmark::State& state) { EvalGsl(state, Points::Random); }
void EvalSortedEvenCqv(benchmark::State& state) { EvalCqv(state, Points::SortedEven); }
void EvalSortedEvenGsl(benchmark::State& state) { EvalGsl(state, Points::SortedEven); }
void EvalRandomEvenCqv(benchmark::State& state) { EvalCqv(state, Points::RandomEven); }
void EvalRandomEvenGsl(benchmark::State& state) { EvalGsl(state, Points::RandomEven); }
void EvalSortedNearCqv(benchmark::State& state) { EvalCqv(state, Points::SortedNear); }
void EvalSortedNearGsl(benchmark::State& state) { EvalGsl(state, Points::SortedNear); }

void Register(const char* name, void (*fn)(benchmark::State&)) {
    auto* b = benchmark::RegisterBenchmark(name, fn);
    for (std::int64_t n : {1000, 100000, 1000000}) b->Arg(n);
    b->Unit(benchmark::kMicrosecond);
}

const int kRegistered = [] {
    gsl_set_error_handler_off();
    Register("BM_NaturalBuild/cqv", NaturalBuildCqv);
    Register("BM_NaturalBuild/gsl", NaturalBuildGsl);
    Register("BM_PeriodicBuild/cqv", PeriodicBuildCqv);
    Register("BM_PeriodicBuild/gsl", PeriodicBuildGsl);
    Register("BM_NaturalRebuild/cqv", NaturalRebuildCqv);
    Register("BM_NaturalRebuild/gsl", NaturalRebuildGsl);
    Register("BM_EvalSorted/cqv", EvalSortedCqv);
    Register("BM_EvalSorted/gsl", EvalSortedGsl);
    Register("BM_EvalRandom/cqv", EvalRandomCqv);
    Register("BM_EvalRandom/gsl", EvalRandomGsl);
    Register("BM_EvalSortedNear/cqv", EvalSortedNearCqv);
    Register("BM_EvalSortedNear/gsl", EvalSortedNearGsl);
    Register("BM_EvalSortedEven/cqv", EvalSortedEvenCqv);
    Register("BM_EvalSortedEven/gsl", EvalSortedEvenGsl);
    Register("BM_EvalRandomEven/cqv", EvalRandomEvenCqv);
    Register("BM_EvalRandomEven/gsl", EvalRandomEvenGsl);
    return 0;
}();

}  // namespace
