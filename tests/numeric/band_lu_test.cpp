// The band LU: the tridiagonal, pentadiagonal and cyclic systems on which
// the classic sweeps fail, all
// four kinds against their dense matrices on random and badly scaled
// elements (backward error in long double, determinant, condition), the
// checks, singular matrices, and where solutions go.
#include "band_test_support.h"
#include "cqv_accuracy.h"
#include "cqv_near.h"

#include <cmath>
#include <limits>

using namespace bandtest;

namespace {

using BandLu = qvBandLUDecomposition<double>;
const LD kUnit = std::ldexp(1.0L, -53);  // the unit roundoff of double

// The bound on normwise backward errors, as for the dense LU
// (tests/linalg/lu_decomposition_test.cpp): partial pivoting's rounding
// errors, a few per row of the band, summed like a random walk.
LD Bound(int n) { return std::sqrt(static_cast<LD>(n)) * kUnit; }

enum class Kind { Tridiagonal, Cyclic, Pentadiagonal, CyclicPentadiagonal };
const char* const kKindNames[] = {"tridiagonal", "cyclic", "pentadiagonal", "cyclic pentadiagonal"};

// A system of one kind and order n with elements uniform in (-1, 1), no
// diagonal dominance, each row i scaled by s[i] = 2^e with e a whole number
// below 10^spread's exponent in magnitude. Scales that are powers of two
// are exact everywhere, so every platform factors the same matrices (with
// std::pow, a runtime that rounds one power differently gives a different
// matrix, whose determinant then differs in the last digits the
// factorisation's rounding leaves).
struct System {
    Kind kind;
    Tri a;
    Col e, g;
    double corner[6];
    System(Kind k, int n, unsigned long long seed, double spread) : kind(k), a(MakeTri(V(n - 1), V(n), V(n - 1))) {
        Numbers r(seed);
        V s(n);
        for (double& x : s) x = std::ldexp(1.0, static_cast<int>(std::floor(r.Real(-spread, spread) * 3.3219280948873622)));
        for (int i = 0; i < n; ++i) a.Diag()[i] = s[i] * r.Real(-1, 1);
        for (int i = 0; i + 1 < n; ++i) {
            a.Up()[i] = s[i] * r.Real(-1, 1);
            a.Down()[i] = s[i + 1] * r.Real(-1, 1);
        }
        V ev, gv;
        for (int i = 0; i + 2 < n; ++i) {
            ev.push_back(s[i] * r.Real(-1, 1));
            gv.push_back(s[i + 2] * r.Real(-1, 1));
        }
        e = MakeCol(ev);
        g = MakeCol(gv);
        for (int k = 0; k < 6; ++k) corner[k] = s[std::min(n - 1, std::max(0, Corners(n)[k].first))] * r.Real(-1, 1);
    }
    M Dense() const {
        const bool penta = kind == Kind::Pentadiagonal || kind == Kind::CyclicPentadiagonal;
        const int corners = kind == Kind::Cyclic ? 2 : (kind == Kind::CyclicPentadiagonal ? 6 : 0);
        return DenseOf(a, penta ? &e : nullptr, &g, corner, corners);
    }
    BandLu Factorise() const {
        const double* c = corner;
        switch (kind) {
            case Kind::Tridiagonal: return BandLu(a);
            case Kind::Cyclic: return BandLu(a, c[0], c[1]);
            case Kind::Pentadiagonal: return BandLu(a, e, g);
            default: return BandLu(a, e, g, c[0], c[1], c[2], c[3], c[4], c[5]);
        }
    }
};

}  // namespace

TEST(BandLU, SolvesTheSystemsTheSweepsFail) {
    // The cyclic sweep solves the leading block ((0, 1), (1, 2)) without
    // pivoting, and its first pivot is 0; the sweep meets a zero pivot, or
    // a tiny one that wipes out the first unknown. (What the sweeps make of
    // them follows from their recurrences, which tridiagonal_solver_test.cpp
    // checks bit for bit.)
    Col x;
    const BandLu lu(MakeTri({1, 1}, {0, 2, 2}, {1, 1}), 1.0, 1.0);
    lu.Solve(x, MakeCol({1, 2, 3}));
    EXPECT_TRUE(Near(Values(x), {1, 0, 1}, 4e-16));
    EXPECT_DOUBLE_EQ(lu.Det(), -2.0);
    for (double d0 : {0.0, 1e-20}) {
        BandLu(MakeTri({1}, {d0, 1}, {1})).Solve(x, MakeCol({1, 2}));
        EXPECT_TRUE(Near(Values(x), {1, 1}, 4e-16));  // x0 = 1 / (1 - Diag[0])
    }
    // A large element right of a tiny pivot: x0 = (1e10 - 1e10·x1) / 1e-300
    // is 0, though 1e10 / 1e-300 overflows.
    BandLu(MakeTri({1e10}, {1e-300, 1}, {0})).Solve(x, MakeCol({1e10, 1}));
    EXPECT_EQ(Values(x), (V{0, 1}));
}

TEST(BandLU, FourKindsAgainstTheirDenseMatrices) {
    unsigned long long seed = 300;
    for (Kind kind : {Kind::Tridiagonal, Kind::Cyclic, Kind::Pentadiagonal, Kind::CyclicPentadiagonal})
        for (int n : {1, 2, 3, 4, 5, 6, 9, 40, 400})
            for (double spread : {0.0, 100.0}) {
                const bool cyclic = kind == Kind::Cyclic || kind == Kind::CyclicPentadiagonal;
                if (cyclic && n < (kind == Kind::Cyclic ? 3 : 5)) continue;
                SCOPED_TRACE(::testing::Message() << kKindNames[static_cast<int>(kind)] << " n=" << n
                                                  << " rows spread 10^±" << spread);
                const System sys(kind, n, ++seed, spread);
                const M dense = sys.Dense();
                const BandLu lu = sys.Factorise();
                ASSERT_EQ(lu.Order(), n);
                ASSERT_FALSE(lu.IsSingular());
                const Col f = MakeCol(Numbers(seed).Reals(n, -1, 1));
                Col x;
                lu.Solve(x, f);
                EXPECT_LE(BackwardError(dense, x, f), Bound(n));
                if (n > 40 || !WideIsWider()) continue;
                // The determinant, the norm and the condition of the dense
                // matrix, in long double. The determinant's relative error is
                // its pivots' relative errors summed; the scaled rows take it
                // beyond the range of double at times.
                const LD det = WideDeterminant(dense);
                EXPECT_NEAR(lu.LogAbsDet(), std::log(std::fabs(det)), 1e-10L);
                EXPECT_EQ(lu.DetSign(), det < 0 ? -1.0 : 1.0);
                if (std::fabs(det) > 1e-300L && std::fabs(det) < 1e300L) {
                    EXPECT_LE(std::fabs(lu.Det() - det), 1e-10L * std::fabs(det));
                }
                EXPECT_DOUBLE_EQ(lu.Norm1(), qvLUDecomposition<double>(dense).Norm1());
                // The estimate bounds the condition from below up to the
                // rounding errors of its solutions.
                const LD truth = 1 / Condition1(dense);
                EXPECT_GE(lu.RCond(), truth * (1 - 1e-8L));
                EXPECT_LE(lu.RCond(), 3 * truth);
            }
}

TEST(BandLU, ChecksAndSingularMatrices) {
    const Tri a = Integers(6, 3);
    const Col shortOuter = MakeCol({1, 2, 3});
    const Col outer = MakeCol({1, 2, 3, 4});
    CQV_EXPECT_BAD(BandLu(MakeTri({1, 2}, {1, 2, 3}, {1})), qvMsg::BandLUDiagonalLengths);
    CQV_EXPECT_BAD(BandLu(MakeTri({1, 2, 3}, {1, 2, 3}, {1, 2})), qvMsg::BandLUDiagonalLengths);
    CQV_EXPECT_BAD(BandLu(a, shortOuter, outer), qvMsg::BandLUDiagonalLengths);
    CQV_EXPECT_BAD(BandLu(a, outer, shortOuter, 1, 1, 1, 1, 1, 1), qvMsg::BandLUDiagonalLengths);
    CQV_EXPECT_BAD(BandLu(MakeTri({1}, {1, 2}, {1}), 1.0, 1.0), qvMsg::BandLUOrderBelowCorners);
    const Tri four = Integers(4, 5);
    CQV_EXPECT_BAD(BandLu(four, MakeCol({1, 2}), MakeCol({1, 2}), 1, 1, 1, 1, 1, 1),
                   qvMsg::BandLUOrderBelowCorners);
    Col x = MakeCol({9});
    CQV_EXPECT_BAD(BandLu(a).Solve(x, MakeCol({1, 2})), qvMsg::BandLUDifferentSize);
    M X = MatrixOf(1, 1, {9});
    CQV_EXPECT_BAD(BandLu(a).Solve(X, MatrixOf(2, 1, {1, 2})), qvMsg::BandLUDifferentSize);

    // Singular: two equal rows; the cyclic matrix of all ones.
    const BandLu equalRows(MakeTri({1, 0}, {1, 1, 2}, {1, 3}));
    EXPECT_EQ((V{double(equalRows.IsSingular()), equalRows.Det(), equalRows.RCond()}), (V{1, 0, 0}));
    CQV_EXPECT_BAD(equalRows.Solve(x, MakeCol({1, 2, 3})), qvMsg::BandLUSingular);
    EXPECT_EQ(Values(x), (V{9}));
    const BandLu ones(MakeTri({1, 1}, {1, 1, 1}, {1, 1}), 1.0, 1.0);
    EXPECT_TRUE(ones.IsSingular());
    CQV_EXPECT_BAD(ones.Solve(X, MatrixOf(3, 1, {1, 2, 3})), qvMsg::BandLUSingular);
    EXPECT_EQ(Elements(X), (V{9}));
    // Regular, but the solution lies beyond the range of double.
    CQV_EXPECT_BAD(BandLu(MakeTri({0}, {1e-310, 1}, {0})).Solve(x, MakeCol({1e10, 1})), qvMsg::BandLUSingular);
    EXPECT_EQ(Values(x), (V{9}));

    // Order 0.
    const BandLu none;
    EXPECT_EQ((V{double(none.Order()), none.Det(), none.RCond()}), (V{0, 1, 1}));
    none.Solve(x, Col());
    EXPECT_EQ(x.Len(), 0);
}

TEST(BandLU, WhereSolutionsGo) {
    // Diagonals that are windows on a dense matrix (stride 6) give the bits
    // of their contiguous copies.
    M dense = Integers(5, 7).GetMatrix();
    const Tri windows(dense);
    Tri contiguous(windows);
    contiguous.Copy();
    const BandLu lu(windows);
    const Col f = MakeCol({1, -2, 3, -4, 5});
    Col x, y;
    lu.Solve(x, f);
    BandLu(contiguous).Solve(y, f);
    EXPECT_EQ(Values(y), Values(x));
    EXPECT_LE(BackwardError(dense, x, f), Bound(5));
    // x may be f itself; the matrix form solves column by column, X may be F.
    y = f;
    lu.Solve(y, y);
    EXPECT_EQ(Values(y), Values(x));
    M F(5, 2);
    for (int i = 0; i < 5; ++i) F(i, 0) = f[i], F(i, 1) = -f[i];
    lu.Solve(F, F);
    for (int i = 0; i < 5; ++i) EXPECT_EQ((V{F(i, 0), F(i, 1)}), (V{x[i], -x[i]}));
    lu.Solve(F, M());
    EXPECT_EQ(F.GetPointer(), nullptr);
    // A copy keeps its own factors: assigning to it leaves the original.
    BandLu copy(lu);
    copy = BandLu(Integers(5, 9));
    copy.Solve(y, f);
    EXPECT_NE(Values(y), Values(x));
    lu.Solve(y, f);
    EXPECT_EQ(Values(y), Values(x));
}
