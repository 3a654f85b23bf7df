// The five solvers of the tridiagonal matrix: the sweep bit for bit against
// its recurrence written out here, every solver by the backward error of its
// solution in the dense system; strided and aliased operands; checks on
// orders and right-hand sides; zero pivots.
#include "band_test_support.h"
#include "cqv_accuracy.h"

#include <cmath>
#include <vector>

using namespace bandtest;

namespace {

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

// Expects x to solve m·x = f: its normwise backward error, in long double,
// within ten roundings (the test systems are diagonally dominant,
// so a small backward error means an accurate x). The dense elimination of
// the library is no yardstick here: it rescales rows by 1/e at each step,
// which makes its pivot choice depend on that scaling, and on some of these
// systems it ends far from the solution.
void ExpectSolves(const M& m, const Col& x, const V& f) {
    ASSERT_EQ(x.Len(), m.LineLen());
    EXPECT_LE(BackwardError(m, x, MakeCol(f)), 1e-15L);
}

// Diagonally dominant pentadiagonal data of order n and six corners for the
// cyclic form. e and g are strided columns of a matrix, longer than the
// n - 2 elements the solvers read: the rest holds 1e300.
struct Penta {
    Tri a;
    M outer;
    Col e, g;
    double c[6];
    Penta(int n, unsigned long long seed) : a(Dominant(n, seed, 5)), outer(n, 2) {
        Numbers r(seed + 1);
        outer.GetColumn(e, 0);
        outer.GetColumn(g, 1);
        for (int i = 0; i < n; ++i) {
            e[i] = i < n - 2 ? r.Real(-1, 1) : 1e300;
            g[i] = i < n - 2 ? r.Real(-1, 1) : 1e300;
        }
        for (double& x : c) x = r.Real(-1, 1);
    }
    M Dense(bool cyclic) const { return DenseOf(a, &e, &g, c, cyclic ? 6 : 0); }
    void Solve(Col& x, const Col& f) const { a.SolveEquationFactorizeMethod(e, g, x, f); }
    void SolveCyclic(Col& x, const Col& f) const {
        a.SolveEquationCycleFactorizeMethod(e, g, c[0], c[1], c[2], c[3], c[4], c[5], x, f);
    }
};

}  // namespace

TEST(Matrix3DiagSweep, FollowsItsRecurrenceBitForBitThroughAnyStrides) {
    for (int n : {2, 3, 4, 17, 300}) {
        const Tri a = Dominant(n, 100 + n);
        const V f = Numbers(200 + n).Reals(n, -1, 1);
        const V want = ReferenceSweep(a, f);
        Col x(1);  // of the wrong length: it gets a fresh block
        a.SolveEquationChaserMethod(x, MakeCol(f));
        EXPECT_EQ(Values(x), want) << n;
        ExpectSolves(a.GetMatrix(), x, f);

        // The matrix as a window onto a dense one; f as column 1 of an
        // n × 2 window whose column 0 is zero; x running backwards through
        // a caller's buffer.
        const M dense = a.GetMatrix();
        const Tri w(dense);
        M store(n, 3), rhs;
        rhs.Set(store, 0, 0, n, 2);
        Col zero, fColumn;
        rhs.GetColumn(zero, 0);
        rhs.GetColumn(fColumn, 1);
        zero.Fill(0);
        fColumn = MakeCol(f);
        V buffer(n);
        Col backwards;
        backwards.SetDirectly(buffer.data() + n - 1, n, -1);
        w.SolveEquationChaserMethod(backwards, fColumn);
        EXPECT_EQ(Values(backwards), want) << n;

        // Both columns at once, into a matrix of another shape and strides,
        // then over the right-hand sides themselves.
        V both;
        for (double v : want) both.insert(both.end(), {0, v});
        M X(1, 1);
        w.SolveEquationChaserMethod(X, rhs);
        EXPECT_EQ(Elements(X), both) << n;
        w.SolveEquationChaserMethod(rhs, rhs);
        EXPECT_EQ(Elements(rhs), both) << n;
    }
}

TEST(Matrix3DiagPentadiagonalAndCyclic, SolveTheDenseSystems) {
    // The pentadiagonal solvers, plain and cyclic (order 5: the corners and
    // the band fill the whole matrix); the same bits when x is f.
    for (int n : {3, 4, 5, 6, 7, 12, 60}) {
        const Penta p(n, 300 + n);
        const V f = Numbers(400 + n).Reals(n, -1, 1);
        Col x;
        p.Solve(x, MakeCol(f));
        ExpectSolves(p.Dense(false), x, f);
        if (n < 5) continue;
        p.SolveCyclic(x, MakeCol(f));
        ExpectSolves(p.Dense(true), x, f);
        Col y = MakeCol(f);
        p.SolveCyclic(y, y);
        EXPECT_EQ(Values(y), Values(x));
    }

    // The cyclic sweep; the same bits when x is f and a corner is read
    // from x.
    for (int n : {3, 4, 9, 80}) {
        const Tri a = Dominant(n, 500 + n);
        Numbers r(600 + n);
        const double p = r.Real(-1, 1), q = r.Real(-1, 1);
        const V f = r.Reals(n, -1, 1);
        Col x;
        a.SolveEquationCycleChaserMethod(x, MakeCol(f), p, q);
        const double corners[] = {p, q};
        ExpectSolves(DenseOf(a, nullptr, nullptr, corners, 2), x, f);

        Col y = MakeCol(f);
        y[0] = p;
        Col want;
        a.SolveEquationCycleChaserMethod(want, y, p, q);
        a.SolveEquationCycleChaserMethod(y, y, y[0], q);
        EXPECT_EQ(Values(y), Values(want));
    }
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

    // The right-hand side is checked before the order.
    CQV_EXPECT_BAD(two.SolveEquationFactorizeMethod(e, g, x, Col(3)), qvMsg::DifferentSize);
    CQV_EXPECT_BAD(two.SolveEquationFactorizeMethod(e, g, x, Col(2)), qvMsg::Matrix3DiagSizeBelowThree);

    CQV_EXPECT_BAD(two.SolveEquationCycleChaserMethod(x, Col(2), 1.0, 1.0), qvMsg::DifferentSize);
    CQV_EXPECT_BAD(a.SolveEquationCycleChaserMethod(x, Col(5), 1.0, 1.0), qvMsg::DifferentSize);

    CQV_EXPECT_BAD(Penta(4, 1).SolveCyclic(x, Col(4)), qvMsg::Matrix3DiagSizeBelowThree);
    CQV_EXPECT_BAD(Penta(5, 1).SolveCyclic(x, Col(4)), qvMsg::DifferentSize);
    CQV_EXPECT_BAD(two.SolveEquationCycleFactorizeMethod(e, g, 1, 1, 1, 1, 1, 1, x, Col(2)), qvMsg::DifferentSize);
    EXPECT_EQ(Values(x), V({9, 9}));

    M X = MatrixOf(1, 1, {9});
    a.SolveEquationChaserMethod(X, M());  // no columns: X becomes empty
    EXPECT_EQ(X.GetPointer(), nullptr);
}

// The matrix form gives X the size of F before it sweeps a column, so the
// sweep's own checks fail after X let go of a block of another size.
TEST(Matrix3DiagSolvers, TheMatrixFormSizesXBeforeTheSweepChecksAColumn) {
    const Tri four = Dominant(4, 9);
    const Tri one = MakeTri({}, {2}, {});
    struct Case {
        const Tri* a;
        M f;
        const char* text;
    };
    const Case cases[] = {{&four, M(3, 2), qvMsg::DifferentSize}, {&one, MatrixOf(1, 1, {1}), qvMsg::NewWithRefNonPositive}};
    for (const Case& c : cases) {
        M X = MatrixOf(2, 2, {9, 9, 9, 9});
        const M old(X);
        CQV_EXPECT_BAD(c.a->SolveEquationChaserMethod(X, c.f), c.text);
        EXPECT_EQ((std::vector<int>{X.ColumnLen(), X.LineLen(), Holders(old)}),
                  (std::vector<int>{c.f.ColumnLen(), c.f.LineLen(), 1}));
        EXPECT_EQ(Elements(old), V({9, 9, 9, 9}));
    }
}

TEST(Matrix3DiagSolvers, ZeroPivotsGiveNaNsNotErrors) {
    // Diag[0] = 0 in each solver, and in the sweep also a pivot that cancels
    // to zero inside it (1 - 1·1).
    Tri a = Dominant(5, 3);
    a.Diag()[0] = 0;
    Penta p(5, 2);
    p.a.Diag()[0] = 0;
    const Col f = MakeCol({1, 1, 1, 1, 1});
    Col x1, x2, x3, x4;
    a.SolveEquationChaserMethod(x1, f);
    MakeTri({1, 1}, {1, 1, 1}, {1, 1}).SolveEquationChaserMethod(x2, MakeCol({1, 2, 3}));
    p.Solve(x3, f);
    a.SolveEquationCycleChaserMethod(x4, f, 1.0, 1.0);
    for (const Col* x : {&x1, &x2, &x3, &x4}) EXPECT_TRUE(std::isnan((*x)[0]));

    // In the cyclic pentadiagonal solver the NaNs reach the closing 2 × 2
    // system, whose dense solver reports them.
    Penta q(6, 9);
    q.a.Diag()[0] = 0;
    CQV_EXPECT_BAD(q.SolveCyclic(x1, MakeCol({1, 1, 1, 1, 1, 1})), qvMsg::SystemNotUnique);
}
