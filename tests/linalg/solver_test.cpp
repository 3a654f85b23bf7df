// The three direct solvers: determinant, inverse and Gaussian elimination,
// checked on worked examples, against a plain reference elimination written
// here (bit for bit, over sizes that cross every blocking of the library's
// fast path), and for the complex and space-vector element types.
#include "linalg_test_support.h"

#include <cmath>
#include <cstring>
#include <limits>

using namespace linalgtest;

namespace {

// ---- the reference: the elimination exactly as the library documents it ----

bool Zero(double x) { return x == 0.0 || std::isnan(x); }

// Eliminates the rows of a square matrix with extra columns on its right (a
// right-hand side, or a unit matrix for the inverse) that take part in every
// row operation, as the library's right-hand side does.
struct Reference {
    Doubles a;  // row-major copy, rows never move
    std::vector<int> rows;  // row table: position -> row
    int n, m, steps = 0, swaps = 0;
    double det = 0;

    explicit Reference(const M& src, const M& right = M())
        : n(src.ColumnLen()), m(src.LineLen() + right.LineLen()) {
        for (int i = 0; i < n; ++i) {
            rows.push_back(i);
            for (int j = 0; j < m; ++j) a.push_back(j < n ? src(i, j) : right(i, j - n));
        }
    }
    double& W(int pos, int j) { return a[static_cast<size_t>(rows[pos]) * m + j]; }

    void Eliminate() {
        for (int k = 0; k < n; ++k) {
            double best = std::fabs(W(k, k));
            for (int i = k + 1; i < n; ++i) {
                const double cand = std::fabs(W(i, k));
                if (!(cand <= best)) {
                    std::swap(rows[k], rows[i]);
                    ++swaps;
                    best = cand;
                }
            }
            const double pivot = W(k, k);
            if (Zero(pivot)) return;
            det = k == 0 ? pivot : det * pivot;
            const double r = 1.0 / pivot;
            for (int j = k + 1; j < m; ++j) W(k, j) = W(k, j) * r;
            for (int i = k + 1; i < n; ++i) {
                const double e = W(i, k);
                if (Zero(e)) continue;
                det = det * e;
                const double s = 1.0 / e;
                for (int j = k + 1; j < m; ++j) W(i, j) = s * W(i, j) - W(k, j);
            }
            steps = k + 1;
        }
    }

    double Det() {
        Eliminate();
        if (steps < n) return 0.0;
        return swaps % 2 ? -det : det;
    }

    // Eliminates and substitutes back for every extra column; x gets the
    // solutions side by side, row by row. Returns false where the library
    // throws, with x as written by then.
    bool Solve(Doubles& x) {
        Eliminate();
        const int k = m - n;
        x.assign(static_cast<size_t>(n) * k, std::numeric_limits<double>::quiet_NaN());
        for (int i = n - 1; i >= 0; --i) {
            for (int c = 0; c < k; ++c) {
                double xi = W(i, n + c);
                for (int j = n - 1; j > i; --j) xi = xi - W(i, j) * x[static_cast<size_t>(j) * k + c];
                x[static_cast<size_t>(i) * k + c] = xi;
            }
            if (Zero(W(i, i))) return false;
        }
        return true;
    }

    // Columns [from, to) of the work space, row by row in the original order.
    Doubles Columns(int from, int to) const {
        Doubles out;
        for (int i = 0; i < n; ++i)
            for (int j = from; j < to; ++j) out.push_back(a[static_cast<size_t>(i) * m + j]);
        return out;
    }
};

// Matrices for the bit-for-bit comparisons: sizes around the tiles and
// panels, sparse ones (skipped rows), and singular ones that stop the
// elimination inside a later panel.
struct Case {
    int n;
    int zeros;
    int dependent;  // a column copied from column 0 at this index, or -1
};

const Case kCases[] = {{1, 0, -1},  {2, 0, -1},  {5, 30, -1},  {9, 0, -1},   {63, 0, -1},  {64, 0, -1},
                       {65, 50, -1}, {100, 0, 70}, {131, 85, -1}, {150, 0, 9}, {200, 0, -1}, {97, 95, -1}};

M CaseMatrix(const Case& c, unsigned long long seed) {
    M a = Random(c.n, c.n, seed, c.zeros);
    if (c.dependent >= 0)
        for (int i = 0; i < c.n; ++i) a(i, c.dependent) = a(i, 0);
    return a;
}

// Real and imaginary parts in turn.
Doubles Parts(const Complexes& zs) {
    Doubles out;
    for (const qvComplex& z : zs) out.insert(out.end(), {z.re, z.im});
    return out;
}

}  // namespace

TEST(Det, WorkedExampleAndChecks) {
    // One row exchange turns the sign.
    const M a = MatrixOf(2, 2, {1, 2, 3, 4});
    EXPECT_EQ(a.Det(), -2);
    EXPECT_EQ(Elements(a), (Doubles{1, 2, 3, 4}));  // a private copy was used
    CQV_EXPECT_BAD(MatrixOf(2, 3, {1, 2, 3, 4, 5, 6}).Det(), qvMsg::DetNotSquare);
    CQV_EXPECT_BAD(M().Det(), qvMsg::NewWithRefNonPositive);
}

TEST(Solve, WorkedExamplesAndWhereTheSolutionGoes) {
    // 2x + y = 3, x + 3y = 5. x of the right length is written through,
    // also when it is b itself.
    M a2 = MatrixOf(2, 2, {2, 1, 1, 3});
    M store = MatrixOf(2, 1, {3, 5});
    Col b2, x2;
    store.GetColumn(b2, 0);
    store.GetColumn(x2, 0);
    a2.SolveEquationGaussMethod(x2, b2);
    EXPECT_TRUE(Near(Elements(store), {0.8, 1.4}, 1e-15));

    // More unknowns than equations: the extra unknowns count as zero.
    M wide = MatrixOf(2, 3, {1, 1, 5, 0, 2, 7});
    Col bw = MakeCol({3, 4});
    Col xw;
    wide.SolveEquationGaussMethod(xw, bw);
    EXPECT_EQ(Values(xw), (Doubles{1, 2}));
}

TEST(Solve, FailuresAndTheirState) {
    M tall = MatrixOf(3, 2, {1, 2, 3, 4, 5, 6});
    Col b3 = MakeCol({1, 2, 3});
    Col x;
    CQV_EXPECT_BAD(tall.SolveEquationGaussMethod(x, b3), qvMsg::SystemNotCompatible);
    EXPECT_EQ(Elements(tall), (Doubles{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(x.Len(), 0);

    M a = MatrixOf(2, 2, {1, 2, 2, 4});
    Col b2 = MakeCol({1, 2});
    CQV_EXPECT_BAD(a.SolveEquationGaussMethod(x, b3), qvMsg::DifferentSize);
    EXPECT_EQ(Elements(a), (Doubles{1, 2, 2, 4}));
    CQV_EXPECT_BAD(a.SolveEquationGaussMethod(x, b2), qvMsg::SystemNotUnique);
    EXPECT_NE(Elements(a), (Doubles{1, 2, 2, 4}));  // the work space is spent
    ASSERT_EQ(x.Len(), 2);

    M empty;
    Col none;
    CQV_EXPECT_BAD(empty.SolveEquationGaussMethod(x, none), qvMsg::NewWithRefNonPositive);

    // The two texts are Windows-1251 bytes.
    EXPECT_EQ(std::strlen(qvMsg::SystemNotCompatible), 21u);
    EXPECT_EQ(static_cast<unsigned char>(qvMsg::SystemNotCompatible[0]), 0xD1);
    EXPECT_EQ(static_cast<unsigned char>(qvMsg::SystemNotUnique[14]), 0xED);
}

TEST(Inverse, WorkedExampleAndChecks) {
    const M a = MatrixOf(2, 2, {4, 7, 2, 6});
    EXPECT_TRUE(Near(Elements(a.Inverse()), {0.6, -0.7, -0.2, 0.4}, 1e-15));
    EXPECT_EQ(Elements(a), (Doubles{4, 7, 2, 6}));
    CQV_EXPECT_BAD(MatrixOf(2, 2, {1, 2, 2, 4}).Inverse(), qvMsg::SystemNotUnique);
    CQV_EXPECT_BAD(MatrixOf(1, 2, {1, 2}).Inverse(), qvMsg::MatrixNotSquare);
    CQV_EXPECT_BAD(M().Inverse(), qvMsg::NewWithRefNonPositive);
}

// The work space and b after the solve, the solution or the failure with the
// solution as far as written, the inverse and the determinant, all exactly
// as the reference has them.
TEST(Solvers, AgreeWithTheReferenceBitForBit) {
    unsigned long long seed = 100;
    for (const Case& c : kCases) {
        SCOPED_TRACE(::testing::Message() << "n=" << c.n << " zeros=" << c.zeros << " dep=" << c.dependent);
        const M a = CaseMatrix(c, seed++);
        const M rhs = Random(c.n, 1, seed++);
        // Every solver on contiguous storage and through a transposed
        // window, which takes the element-by-element path.
        Doubles store1, store2;
        const double d = Reference(a).Det();
        for (const M& m : {a, TransposedCopy(a, store1)}) {
            const double got = m.Det();
            EXPECT_TRUE(std::isnan(d) ? std::isnan(got) : got == d) << got << " against " << d;
        }

        M unit(c.n, c.n);
        unit.SetE();
        Doubles inv;
        if (Reference(a, unit).Solve(inv)) {
            EXPECT_EQ(Elements(a.Inverse()), inv);
        } else {
            CQV_EXPECT_BAD(a.Inverse(), qvMsg::SystemNotUnique);
        }

        Reference sol(a, rhs);
        Doubles want;
        const bool ok = sol.Solve(want);
        M contiguous = a;
        contiguous.Copy();
        for (M work : {contiguous, TransposedCopy(a, store2)}) {
            Col b = MakeCol(Elements(rhs));
            Col x;
            if (ok) {
                work.SolveEquationGaussMethod(x, b);
                EXPECT_EQ(Values(x), want);
            } else {
                CQV_EXPECT_BAD(work.SolveEquationGaussMethod(x, b), qvMsg::SystemNotUnique);
                for (int i = 0; i < c.n; ++i) EXPECT_TRUE(std::isnan(want[i]) || x[i] == want[i]) << i;
            }
            EXPECT_EQ(Elements(work), sol.Columns(0, c.n));
            EXPECT_EQ(Values(b), sol.Columns(c.n, c.n + 1));
        }
    }
}

TEST(Solvers, ComplexElements) {
    // det = i·(-i) - 1·2 = -1
    const qvMatrix<qvComplex> a = MatrixOf<qvComplex>(2, 2, {{0, 1}, {1, 0}, {2, 0}, {0, -1}});
    const qvComplex d = a.Det();
    EXPECT_TRUE(Near({d.re, d.im}, {-1, 0}, 1e-15));
    EXPECT_TRUE(Near(Parts(Elements(a * a.Inverse())), {1, 0, 0, 0, 0, 0, 1, 0}, 1e-15));
    qvColumnVector<qvComplex> b = MakeCol<qvComplex>({{1, 1}, {2, 0}}), x;
    qvMatrix<qvComplex> w = a;
    w.Copy();
    w.SolveEquationGaussMethod(x, b);
    EXPECT_TRUE(Near(Parts(Values(a * x)), {1, 1, 2, 0}, 1e-15));

    const qvMatrix<qvComplex> singular = MatrixOf<qvComplex>(2, 2, {{0, 1}, {0, 2}, {0, 2}, {0, 4}});
    EXPECT_EQ(singular.Det(), qvComplex(0, 0));
    CQV_EXPECT_BAD(singular.Inverse(), qvMsg::SystemNotUnique);
}

TEST(Solvers, SpaceVectorElementsHoldThreeSystems) {
    // Coordinate k of every element is the same double system scaled by
    // 2^k, so all three share the pivot order of the double system, and the
    // scaling by powers of two changes no rounding.
    const int n = 12;
    const M a = Random(n, n, 5);
    const M rhs[3] = {Random(n, 1, 6), Random(n, 1, 7), Random(n, 1, 8)};
    qvMatrix<V3> av(n, n);
    qvColumnVector<V3> bv(n), x;
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) av(i, j) = V3(a(i, j), 2 * a(i, j), 4 * a(i, j));
        bv[i] = V3(rhs[0](i, 0), 2 * rhs[1](i, 0), 4 * rhs[2](i, 0));
    }
    const V3 d = av.Det();
    EXPECT_EQ(d.X(), a.Det());
    EXPECT_DOUBLE_EQ(d.Y(), a.Det() * std::pow(2.0, n));
    EXPECT_EQ(av.Inverse()(3, 4).X(), a.Inverse()(3, 4));
    av.SolveEquationGaussMethod(x, bv);
    for (int k = 0; k < 3; ++k) {
        M w = a;
        w.Copy();
        Col b = MakeCol(Elements(rhs[k])), xs;
        w.SolveEquationGaussMethod(xs, b);
        for (int i = 0; i < n; ++i) EXPECT_EQ(x[i][k], xs[i]) << k << " " << i;
    }
}
