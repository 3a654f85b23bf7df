// The tridiagonal sweep and the band LU against GSL's solvers for general
// and cyclic tridiagonal systems (gsl_linalg_solve_tridiag,
// gsl_linalg_solve_cyc_tridiag), n = 10^3 to 10^6, on the same diagonally
// dominant system. Both allocate their work space on every solve, as they
// do for their callers. Build it with the bench preset; it needs Google
// Benchmark and GSL.
#include <benchmark/benchmark.h>

#include <gsl/gsl_errno.h>
#include <gsl/gsl_linalg.h>
#include <gsl/gsl_vector.h>

#include <cqv/cqv.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "bench_support.h"

namespace {

// The system of order n: off-diagonals in [-1, 1), diagonal in [3, 4) with
// the sign of its draw, right-hand side in [-1, 1).
struct System {
    std::vector<double> up, diag, down, f;
    explicit System(std::int64_t n)
        : up(cqvbench::RandomDoubles(n - 1, 1)),
          diag(cqvbench::RandomDoubles(n, 2)),
          down(cqvbench::RandomDoubles(n - 1, 3)),
          f(cqvbench::RandomDoubles(n, 4)) {
        for (double& d : diag) d = std::copysign(3.0 + std::fabs(d), d);
    }
};

qvColumnVector<double> ToVector(const std::vector<double>& v) {
    qvColumnVector<double> r(static_cast<int>(v.size()));
    for (int i = 0; i < r.Len(); ++i) r[i] = v[static_cast<std::size_t>(i)];
    return r;
}

// Times solve(a, f, x) on the system of order state.range(0).
template <class Solve>
void TimeCqv(benchmark::State& state, Solve solve) {
    const System s(state.range(0));
    const qvMatrix3Diag<double> a(ToVector(s.up), ToVector(s.diag), ToVector(s.down));
    const qvColumnVector<double> f = ToVector(s.f);
    qvColumnVector<double> x(a.LineLen());
    for (auto _ : state) {
        solve(a, f, x);
        benchmark::DoNotOptimize(x.GetPointer());
        benchmark::ClobberMemory();
    }
    cqvbench::SetDoubleTraffic(state, 5);
}

// Times one of GSL's tridiagonal solvers, called as
// solver(diag, above, below, f, x), on s.
template <class Solver>
void TimeGsl(benchmark::State& state, System& s, Solver solver) {
    std::vector<double> x(s.f.size());
    gsl_vector_view diag = gsl_vector_view_array(s.diag.data(), s.diag.size());
    gsl_vector_view up = gsl_vector_view_array(s.up.data(), s.up.size());
    gsl_vector_view down = gsl_vector_view_array(s.down.data(), s.down.size());
    gsl_vector_view f = gsl_vector_view_array(s.f.data(), s.f.size());
    gsl_vector_view xv = gsl_vector_view_array(x.data(), x.size());
    for (auto _ : state) {
        if (solver(&diag.vector, &up.vector, &down.vector, &f.vector, &xv.vector) != GSL_SUCCESS)
            state.SkipWithError("the GSL solver failed");
        benchmark::DoNotOptimize(x.data());
        benchmark::ClobberMemory();
    }
    cqvbench::SetDoubleTraffic(state, 5);
}

void SweepCqv(benchmark::State& state) {
    TimeCqv(state, [](const qvMatrix3Diag<double>& a, const qvColumnVector<double>& f, qvColumnVector<double>& x) {
        a.SolveEquationChaserMethod(x, f);
    });
}

void SweepGsl(benchmark::State& state) {
    System s(state.range(0));
    TimeGsl(state, s, gsl_linalg_solve_tridiag);
}

// The band LU with partial pivoting, factorisation and solution, on the
// same system (BM_BandLU) and on the system closed into a ring by the corner
// elements (0, n-1) = 0.5 and (n-1, 0) = -0.5 (BM_CyclicBandLU), against
// GSL's solvers for each.
void BandLuCqv(benchmark::State& state) {
    TimeCqv(state, [](const qvMatrix3Diag<double>& a, const qvColumnVector<double>& f, qvColumnVector<double>& x) {
        qvBandLUDecomposition<double>(a).Solve(x, f);
    });
}

void CyclicBandLuCqv(benchmark::State& state) {
    TimeCqv(state, [](const qvMatrix3Diag<double>& a, const qvColumnVector<double>& f, qvColumnVector<double>& x) {
        qvBandLUDecomposition<double>(a, 0.5, -0.5).Solve(x, f);
    });
}

void CyclicGsl(benchmark::State& state) {
    // GSL takes the corners as the last elements of its off-diagonals:
    // (n-1, 0) = above[n-1] and (0, n-1) = below[n-1].
    System s(state.range(0));
    s.up.push_back(-0.5);
    s.down.push_back(0.5);
    TimeGsl(state, s, gsl_linalg_solve_cyc_tridiag);
}

void Register(const char* name, void (*fn)(benchmark::State&)) {
    auto* b = benchmark::RegisterBenchmark(name, fn);
    for (std::int64_t n : {1000, 10000, 100000, 1000000}) b->Arg(n);
    b->Unit(benchmark::kMicrosecond);
}

const int kRegistered = [] {
    gsl_set_error_handler_off();
    Register("BM_Sweep/cqv", SweepCqv);
    Register("BM_Sweep/gsl", SweepGsl);
    Register("BM_BandLU/cqv", BandLuCqv);
    Register("BM_BandLU/gsl", SweepGsl);
    Register("BM_CyclicBandLU/cqv", CyclicBandLuCqv);
    Register("BM_CyclicBandLU/gsl", CyclicGsl);
    return 0;
}();

}  // namespace

BENCHMARK_MAIN();
