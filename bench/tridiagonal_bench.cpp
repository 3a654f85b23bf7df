// The tridiagonal sweep against GSL's solver for general tridiagonal systems
// (gsl_linalg_solve_tridiag), n = 10^3 to 10^6, on the same diagonally
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

void SweepCqv(benchmark::State& state) {
    const System s(state.range(0));
    const qvMatrix3Diag<double> a(ToVector(s.up), ToVector(s.diag), ToVector(s.down));
    const qvColumnVector<double> f = ToVector(s.f);
    qvColumnVector<double> x(a.LineLen());
    for (auto _ : state) {
        a.SolveEquationChaserMethod(x, f);
        benchmark::DoNotOptimize(x.GetPointer());
        benchmark::ClobberMemory();
    }
    cqvbench::SetDoubleTraffic(state, 5);
}

void SweepGsl(benchmark::State& state) {
    System s(state.range(0));
    std::vector<double> x(s.f.size());
    gsl_vector_view diag = gsl_vector_view_array(s.diag.data(), s.diag.size());
    gsl_vector_view up = gsl_vector_view_array(s.up.data(), s.up.size());
    gsl_vector_view down = gsl_vector_view_array(s.down.data(), s.down.size());
    gsl_vector_view f = gsl_vector_view_array(s.f.data(), s.f.size());
    gsl_vector_view xv = gsl_vector_view_array(x.data(), x.size());
    for (auto _ : state) {
        const int status = gsl_linalg_solve_tridiag(&diag.vector, &up.vector, &down.vector, &f.vector, &xv.vector);
        if (status != GSL_SUCCESS) state.SkipWithError("gsl_linalg_solve_tridiag failed");
        benchmark::DoNotOptimize(x.data());
        benchmark::ClobberMemory();
    }
    cqvbench::SetDoubleTraffic(state, 5);
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
    return 0;
}();

}  // namespace

BENCHMARK_MAIN();
