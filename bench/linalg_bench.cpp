// Dense linear algebra against Eigen: the matrix product, the linear solver,
// the determinant and the inverse, for n = 64, 256 and 512. Eigen's
// partial-pivot LU on its own is timed too, as the yardstick of the solvers.
// Built with the flags of the bench preset (-O3 -march=native -DNDEBUG)
// against the library built in Release for the same machine; Eigen is
// linked to this program alone (cqv_bench_peer in CMakeLists.txt).
#include <benchmark/benchmark.h>

#include <Eigen/Dense>

#include <cqv/cqv.h>

#include <random>

#include "bench_support.h"

namespace {

const int kSizes[] = {64, 256, 512};

qvMatrix<double> RandomCqv(int n, unsigned seed) {
    std::mt19937_64 g(seed);
    std::uniform_real_distribution<double> d(-1.0, 1.0);
    qvMatrix<double> m(n, n);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) m(i, j) = d(g);
    return m;
}

Eigen::MatrixXd RandomEigen(int n, unsigned seed) {
    const qvMatrix<double> c = RandomCqv(n, seed);
    Eigen::MatrixXd m(n, n);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) m(i, j) = c(i, j);
    return m;
}

void Flops(benchmark::State& state, double perIteration) {
    state.counters["GFLOPS"] =
        benchmark::Counter(perIteration * 1e-9, benchmark::Counter::kIsIterationInvariantRate);
}

void MatMulCqv(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const qvMatrix<double> a = RandomCqv(n, 1), b = RandomCqv(n, 2);
    for (auto _ : state) {
        qvMatrix<double> c = a * b;
        benchmark::DoNotOptimize(c.GetPointer());
    }
    Flops(state, 2.0 * n * n * n);
}

void MatMulEigen(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const Eigen::MatrixXd a = RandomEigen(n, 1), b = RandomEigen(n, 2);
    for (auto _ : state) {
        Eigen::MatrixXd c = a * b;
        benchmark::DoNotOptimize(c.data());
    }
    Flops(state, 2.0 * n * n * n);
}

void SolveCqv(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const qvMatrix<double> a = RandomCqv(n, 3);
    const qvMatrix<double> rhs = RandomCqv(n, 4);
    qvColumnVector<double> b0;
    rhs.GetColumn(b0, 0);
    for (auto _ : state) {
        // The solver works in place: each run gets fresh copies.
        qvMatrix<double> w(n, n);
        w = a;
        qvColumnVector<double> b(n), x;
        b = b0;
        w.SolveEquationGaussMethod(x, b);
        benchmark::DoNotOptimize(x.GetPointer());
    }
}

void SolveEigen(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const Eigen::MatrixXd a = RandomEigen(n, 3);
    const Eigen::VectorXd b = RandomEigen(n, 4).col(0);
    for (auto _ : state) {
        Eigen::VectorXd x = a.partialPivLu().solve(b);
        benchmark::DoNotOptimize(x.data());
    }
}

void DetCqv(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const qvMatrix<double> a = RandomCqv(n, 5);
    for (auto _ : state) benchmark::DoNotOptimize(a.Det());
}

void DetEigen(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const Eigen::MatrixXd a = RandomEigen(n, 5);
    for (auto _ : state) benchmark::DoNotOptimize(a.partialPivLu().determinant());
}

void InverseCqv(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const qvMatrix<double> a = RandomCqv(n, 6);
    for (auto _ : state) {
        qvMatrix<double> r = a.Inverse();
        benchmark::DoNotOptimize(r.GetPointer());
    }
}

void InverseEigen(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const Eigen::MatrixXd a = RandomEigen(n, 6);
    for (auto _ : state) {
        Eigen::MatrixXd r = a.partialPivLu().inverse();
        benchmark::DoNotOptimize(r.data());
    }
}

void LuEigen(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const Eigen::MatrixXd a = RandomEigen(n, 3);
    for (auto _ : state) {
        Eigen::PartialPivLU<Eigen::MatrixXd> lu(a);
        benchmark::DoNotOptimize(lu.matrixLU().data());
    }
    Flops(state, 2.0 * n * n * n / 3.0);
}

// The accurate LU: the factorisation alone (paired with Eigen's, BM_LU), a
// solution from a ready factorisation, and a whole solution of one system,
// factorisation and the first solution together.
void LuCqv(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const qvMatrix<double> a = RandomCqv(n, 3);
    for (auto _ : state) {
        qvLUDecomposition<double> lu(a);
        benchmark::DoNotOptimize(lu.Norm1());
    }
    Flops(state, 2.0 * n * n * n / 3.0);
}

void LuSolveCqv(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const qvLUDecomposition<double> lu(RandomCqv(n, 3));
    const qvMatrix<double> rhs = RandomCqv(n, 4);
    qvColumnVector<double> b, x(n);
    rhs.GetColumn(b, 0);
    b.Copy();
    for (auto _ : state) {
        lu.Solve(x, b);
        benchmark::DoNotOptimize(x.GetPointer());
    }
}

void LuSolveEigen(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const Eigen::PartialPivLU<Eigen::MatrixXd> lu(RandomEigen(n, 3));
    const Eigen::VectorXd b = RandomEigen(n, 4).col(0);
    Eigen::VectorXd x(n);
    for (auto _ : state) {
        x = lu.solve(b);
        benchmark::DoNotOptimize(x.data());
    }
}

void LuSystemCqv(benchmark::State& state) {
    const int n = static_cast<int>(state.range(0));
    const qvMatrix<double> a = RandomCqv(n, 3);
    const qvMatrix<double> rhs = RandomCqv(n, 4);
    qvColumnVector<double> b, x(n);
    rhs.GetColumn(b, 0);
    b.Copy();
    for (auto _ : state) {
        const qvLUDecomposition<double> lu(a);
        lu.Solve(x, b);
        benchmark::DoNotOptimize(x.GetPointer());
    }
}

void Register(const char* name, void (*fn)(benchmark::State&)) {
    auto* b = benchmark::RegisterBenchmark(name, fn);
    for (int n : kSizes) b->Arg(n);
    b->Unit(benchmark::kMicrosecond);
}

const int kRegistered = [] {
    Register("BM_MatMul/cqv", MatMulCqv);
    Register("BM_MatMul/eigen", MatMulEigen);
    Register("BM_Solve/cqv", SolveCqv);
    Register("BM_Solve/eigen", SolveEigen);
    Register("BM_Det/cqv", DetCqv);
    Register("BM_Det/eigen", DetEigen);
    Register("BM_Inverse/cqv", InverseCqv);
    Register("BM_Inverse/eigen", InverseEigen);
    Register("BM_LU/cqv", LuCqv);
    Register("BM_LU/eigen", LuEigen);
    Register("BM_LUSolve/cqv", LuSolveCqv);
    Register("BM_LUSolve/eigen", LuSolveEigen);
    // Eigen's side of a whole system is BM_Solve/eigen's code.
    Register("BM_LUSystem/cqv", LuSystemCqv);
    Register("BM_LUSystem/eigen", SolveEigen);
    return 0;
}();

}  // namespace
