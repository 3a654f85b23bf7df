// The five solvers of the tridiagonal matrix: the sweep bit for bit against
// its recurrence written out here, every solver by the residual of its
// solution in the dense system; strided and aliased operands; checks on
// orders and right-hand sides; zero pivots.
#include "band_test_support.h"

#include <cmath>
#include <vector>

using namespace bandtest;

namespace {

using V = std::vector<double>;

// The sweep as documented, on plain arrays.
V ReferenceSweep(const Tri& a, const V& f) {
    const int n = a.LineLen();
    const qvVector<double>& up = a.Up();
    const qvVector<double>& d = a.Diag();
    const qvVector<double>& lo = a.Down();
    V alpha(n - 1), beta(n - 1), x(n);
    alpha[0] = -up[0] / d[0];
    beta[0] = f[0] / d[0];
    for (int i = 1; i <= n - 2; ++i) {
        const double den = lo[i - 1] * alpha[i - 1] + d[i];
        alpha[i] = -up[i] / den;
        beta[i] = (f[i] - lo[i - 1] * beta[i - 1]) / den;
    }
    x[n - 1] = (f[n - 1] - lo[n - 2] * beta[n - 2]) / (lo[n - 2] * alpha[n - 2] + d[n - 1]);
    for (int i = n - 2; i >= 0; --i) x[i] = x[i + 1] * alpha[i] + beta[i];
    return x;
}

// Expects x to solve m·x = f: every residual, summed in long double, within
// a few roundings of the data (the test systems are diagonally dominant, so
// a small residual means an accurate x). The dense elimination of the
// library is no yardstick here: it rescales rows by 1/e at each step, which
// makes its pivot choice depend on that scaling, and on some of these
// systems it ends far from the solution.
void ExpectSolves(const M& m, const qvVector<double>& x, const V& f) {
    ASSERT_EQ(x.Len(), m.LineLen());
    for (int i = 0; i < m.ColumnLen(); ++i) {
        long double s = -static_cast<long double>(f[static_cast<std::size_t>(i)]);
        for (int j = 0; j < m.LineLen(); ++j) s += static_cast<long double>(m(i, j)) * x[j];
        EXPECT_LE(std::fabs(static_cast<double>(s)), 1e-13) << "row " << i;
    }
}

bool AllFinite(const qvVector<double>& v) {
    for (int i = 0; i < v.Len(); ++i)
        if (!std::isfinite(v[i])) return false;
    return true;
}

// Diagonally dominant pentadiagonal data of order n (the band, e and g) and
// six corners for the cyclic form.
struct Penta {
    Tri a;
    V e, g;
    double c[6];
    Penta(int n, unsigned long long seed) {
        Numbers r(seed);
        V d = r.Reals(n, 5, 6);
        for (double& x : d)
            if (r.Bits() % 2) x = -x;
        a = MakeTri(r.Reals(n - 1, -1, 1), d, r.Reals(n - 1, -1, 1));
        e = r.Reals(n - 2, -1, 1);
        g = r.Reals(n - 2, -1, 1);
        for (double& x : c) x = r.Real(-1, 1);
    }
    M Dense(bool cyclic) const {
        M m = a.GetMatrix();
        const int n = a.LineLen();
        for (int i = 0; i + 2 < n; ++i) {
            m(i, i + 2) = e[static_cast<std::size_t>(i)];
            m(i + 2, i) = g[static_cast<std::size_t>(i)];
        }
        if (cyclic) {
            m(0, n - 1) = c[0];
            m(n - 1, 0) = c[1];
            m(0, n - 2) = c[2];
            m(1, n - 1) = c[3];
            m(n - 2, 0) = c[4];
            m(n - 1, 1) = c[5];
        }
        return m;
    }
    void Solve(Col& x, const Col& f) const { a.SolveEquationFactorizeMethod(MakeCol(e), MakeCol(g), x, f); }
    void SolveCyclic(Col& x, const Col& f) const {
        a.SolveEquationCycleFactorizeMethod(MakeCol(e), MakeCol(g), c[0], c[1], c[2], c[3], c[4], c[5], x, f);
    }
};

}  // namespace

TEST(Matrix3DiagSweep, FollowsItsRecurrenceBitForBit) {
    for (int n : {2, 3, 4, 17, 300}) {
        const Tri a = Dominant(n, 100 + n);
        const V f = Numbers(200 + n).Reals(n, -1, 1);
        Col x(1);  // of the wrong length: it gets a fresh block
        a.SolveEquationChaserMethod(x, MakeCol(f));
        EXPECT_EQ(Values(x), ReferenceSweep(a, f)) << n;
        ExpectSolves(a.GetMatrix(), x, f);
    }
    // A diagonal system divides.
    Col x;
    MakeTri({0, 0, 0}, {2, -4, 8, 0.5}, {0, 0, 0}).SolveEquationChaserMethod(x, MakeCol({1, 2, 3, 4}));
    EXPECT_EQ(Values(x), V({0.5, -0.5, 0.375, 8}));
}

TEST(Matrix3DiagSweep, StridedAndAliasedOperandsGiveTheSameBits) {
    const int n = 9;
    const Tri a = Dominant(n, 7);
    const V f = Numbers(8).Reals(n, -1, 1);
    const V want = ReferenceSweep(a, f);

    // The matrix as a window onto a dense one, f as a matrix column, x
    // running backwards through a caller's buffer.
    const M dense = a.GetMatrix();
    const Tri w(dense);
    M rhs(n, 3);
    Col fColumn;
    rhs.GetColumn(fColumn, 1);
    fColumn = MakeCol(f);
    V buffer(n, 0.0);
    Col backwards;
    backwards.SetDirectly(buffer.data() + n - 1, n, -1);
    w.SolveEquationChaserMethod(backwards, fColumn);
    EXPECT_EQ(Values(backwards), want);
    EXPECT_EQ(buffer[0], want[n - 1]);

    // x may be f itself.
    a.SolveEquationChaserMethod(fColumn, fColumn);
    EXPECT_EQ(rhs(n - 1, 1), want[n - 1]);

    // The transpose solves Aᵀ·x = f.
    Col xt;
    a.T().SolveEquationChaserMethod(xt, MakeCol(f));
    ExpectSolves(a.T().GetMatrix(), xt, f);
}

TEST(Matrix3DiagSweep, ManyRightHandSides) {
    const int n = 7;
    const Tri a = Dominant(n, 5);
    Numbers g(6);
    M f(n, 4);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < 4; ++j) f(i, j) = g.Real(-1, 1);
    M x(1, 1);
    a.SolveEquationChaserMethod(x, f);
    ASSERT_EQ(x.ColumnLen(), n);
    ASSERT_EQ(x.LineLen(), 4);
    for (int j = 0; j < 4; ++j) {
        Col fj, xj, single;
        f.GetColumn(fj, j);
        x.GetColumn(xj, j);
        a.SolveEquationChaserMethod(single, fj);
        EXPECT_EQ(Values(xj), Values(single)) << j;
    }

    // F read through other strides, and X written over F itself.
    M fs;
    fs.SetDirectly(f.GetPointer(), n, 4, 1, n);
    M fromStrides, copy(n, 4);
    a.SolveEquationChaserMethod(fromStrides, fs);
    copy = fs;
    a.SolveEquationChaserMethod(copy, copy);
    EXPECT_EQ(Elements(fromStrides), Elements(copy));

    // No columns: X becomes empty.
    a.SolveEquationChaserMethod(x, M());
    EXPECT_EQ(x.GetPointer(), nullptr);
}

TEST(Matrix3DiagPentadiagonal, SolvesTheDenseSystem) {
    for (int n : {3, 4, 5, 12, 60}) {
        const Penta p(n, 300 + n);
        const V f = Numbers(400 + n).Reals(n, -1, 1);
        Col x;
        p.Solve(x, MakeCol(f));
        ExpectSolves(p.Dense(false), x, f);
    }

    // e and g as strided windows of a matrix, longer than needed; x is f.
    const int n = 8;
    const Penta p(n, 77);
    const V f = Numbers(78).Reals(n, -1, 1);
    Col x;
    p.Solve(x, MakeCol(f));
    M outer(n, 2);
    Col e, g;
    outer.GetColumn(e, 0);
    outer.GetColumn(g, 1);
    for (int i = 0; i < n; ++i) {
        e[i] = i < n - 2 ? p.e[static_cast<std::size_t>(i)] : 1e300;
        g[i] = i < n - 2 ? p.g[static_cast<std::size_t>(i)] : 1e300;
    }
    Col y = MakeCol(f);
    p.a.SolveEquationFactorizeMethod(e, g, y, y);
    EXPECT_EQ(Values(y), Values(x));
}

TEST(Matrix3DiagCyclicSweep, SolvesTheDenseSystem) {
    for (int n : {3, 4, 9, 80}) {
        const Tri a = Dominant(n, 500 + n);
        Numbers r(600 + n);
        const double p = r.Real(-1, 1), q = r.Real(-1, 1);
        const V f = r.Reals(n, -1, 1);
        Col x;
        a.SolveEquationCycleChaserMethod(x, MakeCol(f), p, q);
        M dense = a.GetMatrix();
        dense(0, n - 1) = p;
        dense(n - 1, 0) = q;
        ExpectSolves(dense, x, f);

        // The same bits when x is f and a corner is read from x.
        Col y = MakeCol(f);
        y[0] = p;
        Col want;
        a.SolveEquationCycleChaserMethod(want, y, p, q);
        a.SolveEquationCycleChaserMethod(y, y, y[0], q);
        EXPECT_EQ(Values(y), Values(want));
    }
}

TEST(Matrix3DiagCyclicPentadiagonal, SolvesTheDenseSystem) {
    for (int n : {5, 6, 7, 30}) {
        const Penta p(n, 700 + n);
        const V f = Numbers(800 + n).Reals(n, -1, 1);
        Col x;
        p.SolveCyclic(x, MakeCol(f));
        ExpectSolves(p.Dense(true), x, f);
        Col y = MakeCol(f);
        p.SolveCyclic(y, y);
        EXPECT_EQ(Values(y), Values(x));
    }
    // Order 5: the corners and the band fill the whole matrix.
    const M full = Penta(5, 1).Dense(true);
    for (int i = 0; i < 5; ++i)
        for (int j = 0; j < 5; ++j) EXPECT_NE(full(i, j), 0.0) << i << ", " << j;
}

TEST(Matrix3DiagSolvers, OrdersAndRightHandSidesAreCheckedFirst) {
    const Tri a = Dominant(4, 9);
    const Tri one = MakeTri({}, {2}, {});
    const Tri two = Dominant(2, 1);
    const Col e = MakeCol({1, 1}), g = MakeCol({1, 1});
    Col x = MakeCol({9, 9});
    CQV_EXPECT_BAD(a.SolveEquationChaserMethod(x, Col(3)), qvMsg::DifferentSize);
    // Order 1 leaves the sweep no work space.
    CQV_EXPECT_BAD(one.SolveEquationChaserMethod(x, MakeCol({1})), qvMsg::NewWithRefNonPositive);

    CQV_EXPECT_BAD(a.SolveEquationFactorizeMethod(e, g, x, Col(3)), qvMsg::DifferentSize);
    CQV_EXPECT_BAD(two.SolveEquationFactorizeMethod(e, g, x, Col(3)), qvMsg::DifferentSize);
    CQV_EXPECT_BAD(two.SolveEquationFactorizeMethod(e, g, x, Col(2)), qvMsg::Matrix3DiagSizeBelowThree);

    CQV_EXPECT_BAD(two.SolveEquationCycleChaserMethod(x, Col(2), 1.0, 1.0), qvMsg::DifferentSize);
    CQV_EXPECT_BAD(a.SolveEquationCycleChaserMethod(x, Col(5), 1.0, 1.0), qvMsg::DifferentSize);

    CQV_EXPECT_BAD(Penta(4, 1).SolveCyclic(x, Col(4)), qvMsg::Matrix3DiagSizeBelowThree);
    CQV_EXPECT_BAD(Penta(5, 1).SolveCyclic(x, Col(4)), qvMsg::DifferentSize);
    CQV_EXPECT_BAD(two.SolveEquationCycleFactorizeMethod(e, g, 1, 1, 1, 1, 1, 1, x, Col(2)), qvMsg::DifferentSize);
    EXPECT_EQ(Values(x), V({9, 9}));

    M X = MatrixOf(1, 1, {9});
    CQV_EXPECT_BAD(a.SolveEquationChaserMethod(X, M(3, 2)), qvMsg::DifferentSize);
    CQV_EXPECT_BAD(one.SolveEquationChaserMethod(X, MatrixOf(1, 1, {1})), qvMsg::NewWithRefNonPositive);
    EXPECT_EQ(Elements(X), V({9}));
}

TEST(Matrix3DiagSolvers, ZeroPivotsGiveInfinitiesAndNaNsNotErrors) {
    // Diag[0] = 0: the solution (0, 1) exists, but the sweep cannot reach it.
    Col x;
    MakeTri({1}, {0, 1}, {1}).SolveEquationChaserMethod(x, MakeCol({1, 1}));
    EXPECT_TRUE(std::isnan(x[0]));
    EXPECT_TRUE(std::isnan(x[1]));

    // A pivot that cancels to zero inside the sweep.
    MakeTri({1, 1}, {1, 1, 1}, {1, 1}).SolveEquationChaserMethod(x, MakeCol({1, 2, 3}));
    EXPECT_FALSE(AllFinite(x));

    Penta p(5, 2);
    p.a.Diag()[0] = 0;
    p.Solve(x, MakeCol({1, 1, 1, 1, 1}));
    EXPECT_EQ(x.Len(), 5);
    EXPECT_FALSE(AllFinite(x));

    Tri a = Dominant(5, 3);
    a.Diag()[0] = 0;
    a.Up()[0] = 0;  // row 0 holds only the corner: the leading block is singular
    a.SolveEquationCycleChaserMethod(x, MakeCol({1, 1, 1, 1, 1}), 1.0, 1.0);
    EXPECT_FALSE(AllFinite(x));

    // In the cyclic pentadiagonal solver the NaNs reach the closing 2 × 2
    // system, whose dense solver reports them.
    Penta q(6, 9);
    q.a.Diag()[0] = 0;
    CQV_EXPECT_BAD(q.SolveCyclic(x, MakeCol({1, 1, 1, 1, 1, 1})), qvMsg::SystemNotUnique);
}
