// The tour's section on the accurate solvers: badly scaled and tiny-pivot
// systems solved by the classic elimination and by the LU factorisation with
// partial pivoting, a determinant beyond the classic running product, a
// cyclic system the cyclic sweep cannot solve, and a singular matrix
// refused.
#include <cqv/cqv.h>

#include <cmath>
#include <cstdio>
#include <random>

#include "tour.h"

namespace {

qvMatrix<double> MatrixOf(int n, const double* values) {
    qvMatrix<double> m(n, n);
    for (int i = 0; i < n * n; ++i) m(i / n, i % n) = values[i];
    return m;
}

qvColumnVector<double> ColumnOf(int n, const double* values) {
    qvColumnVector<double> c(n);
    for (int i = 0; i < n; ++i) c[i] = values[i];
    return c;
}

// ||b - A·x||∞ / (||A||∞·||x||∞ + ||b||∞), summed in long double: how far
// from A and b the system lies that x solves exactly.
double BackwardError(const qvMatrix<double>& a, const qvColumnVector<double>& x, const qvColumnVector<double>& b) {
    long double residual = 0, norm = 0, xNorm = 0, bNorm = 0;
    for (int i = 0; i < a.ColumnLen(); ++i) {
        long double r = b[i], row = 0;
        for (int j = 0; j < a.LineLen(); ++j) {
            r -= static_cast<long double>(a(i, j)) * x[j];
            row += std::fabs(a(i, j));
        }
        residual = std::fmax(residual, std::fabs(r));
        norm = std::fmax(norm, row);
        xNorm = std::fmax(xNorm, std::fabs(x[i]));
        bNorm = std::fmax(bNorm, std::fabs(b[i]));
    }
    return static_cast<double>(residual / (norm * xNorm + bNorm));
}

// Solves a·x = b both ways and prints the solutions with their backward
// errors.
void BothWays(const char* what, const qvMatrix<double>& a, const qvColumnVector<double>& b) {
    std::printf("%s\n", what);
    qvMatrix<double> work(a);  // the classic solver spends its operands
    work.Copy();
    qvColumnVector<double> spent(b), x;
    spent.Copy();
    work.SolveEquationGaussMethod(x, spent);
    std::printf("  classic elimination: x = (");
    for (int i = 0; i < x.Len(); ++i) std::printf("%s%.17g", i ? ", " : "", x[i]);
    std::printf("), backward error %.1e\n", BackwardError(a, x, b));
    const qvLUDecomposition<double> lu(a);
    lu.Solve(x, b);
    std::printf("  LU, partial pivoting: x = (");
    for (int i = 0; i < x.Len(); ++i) std::printf("%s%.17g", i ? ", " : "", x[i]);
    std::printf("), backward error %.1e, condition number about %.0f\n", BackwardError(a, x, b), 1 / lu.RCond());
}

}  // namespace

void AccurateSolvers() {
    Section("Accurate solvers: LU with partial pivoting beside the classic elimination");
    const double scaled[9] = {1, -2, -7, -2, 7, 7, 1e-8, 0, -5};
    const double ones[3] = {1, 1, 1};
    BothWays("a badly scaled row, ((1, -2, -7), (-2, 7, 7), (1e-8, 0, -5)) x = (1, 1, 1):", MatrixOf(3, scaled),
             ColumnOf(3, ones));
    const double tiny[4] = {1, 1, 1e-300, 1e10};
    const double rhs[2] = {1 + 1e-10, 1};
    BothWays("a tiny pivot, ((1, 1), (1e-300, 1e10)) x = (1 + 1e-10, 1), true x = (1, 1e-10):", MatrixOf(2, tiny),
             ColumnOf(2, rhs));

    // A random 200 x 200 matrix: its determinant is about 1e138, but the
    // classic running product passes 1e308 on the way.
    std::mt19937_64 gen(4);
    std::uniform_real_distribution<double> uniform(-1, 1);
    qvMatrix<double> big(200, 200);
    for (int i = 0; i < 200; ++i)
        for (int j = 0; j < 200; ++j) big(i, j) = uniform(gen);
    const qvLUDecomposition<double> lu(big);
    std::printf("det of a random 200 x 200 matrix: classic %g, LU %.6e (ln|det| = %.4f, sign %+g)\n", big.Det(),
                lu.Det(), lu.LogAbsDet(), lu.DetSign());

    // The cyclic tridiagonal ((0, 1, 1), (1, 2, 1), (1, 1, 2)): the cyclic
    // sweep starts from the pivot 0.
    qvMatrix3Diag<double> ring(3);
    ring.Up().Fill(1);
    ring.Down().Fill(1);
    ring.Diag().Fill(2);
    ring.Diag()[0] = 0;
    const double f3[3] = {1, 2, 3};
    const qvColumnVector<double> f = ColumnOf(3, f3);
    qvColumnVector<double> x;
    ring.SolveEquationCycleChaserMethod(x, f, 1, 1);
    std::printf("cyclic ((0, 1, 1), (1, 2, 1), (1, 1, 2)) x = (1, 2, 3): sweep (%g, %g, %g)", x[0], x[1], x[2]);
    qvBandLUDecomposition<double>(ring, 1, 1).Solve(x, f);
    std::printf(", band LU (%.3g, %.3g, %.3g)\n", x[0], x[1], x[2]);

    try {
        const double singular[4] = {1, 2, 2, 4};
        qvLUDecomposition<double>(MatrixOf(2, singular)).Solve(x, ColumnOf(2, f3));
    } catch (const BadParameters& e) {
        std::printf("((1, 2), (2, 4)): %s\n", e.GetMessageText());
    }
}
