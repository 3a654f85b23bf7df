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

struct Reference {
    Doubles a;  // row-major copy, rows never move
    Doubles b;
    std::vector<int> rows;  // row table: position -> row
    int n, m, steps = 0, swaps = 0;
    double det = 0;

    Reference(const M& src, const Doubles& rhs) : b(rhs), n(src.ColumnLen()), m(src.LineLen()) {
        a = Elements(src);
        for (int i = 0; i < n; ++i) rows.push_back(i);
    }
    double& W(int pos, int j) { return a[static_cast<size_t>(rows[pos]) * m + j]; }
    double& B(int pos) { return b[rows[pos]]; }

    void Eliminate() {
        const bool withB = !b.empty();
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
            if (withB) B(k) = B(k) * r;
            for (int i = k + 1; i < n; ++i) {
                const double e = W(i, k);
                if (Zero(e)) continue;
                det = det * e;
                const double s = 1.0 / e;
                for (int j = k + 1; j < m; ++j) W(i, j) = s * W(i, j) - W(k, j);
                if (withB) B(i) = s * B(i) - B(k);
            }
            steps = k + 1;
        }
    }

    double Det() {
        Eliminate();
        if (steps < n) return 0.0;
        return swaps % 2 ? -det : det;
    }

    // Solves; returns false where the library throws, with x as written.
    bool Solve(Doubles& x) {
        Eliminate();
        x.assign(n, std::numeric_limits<double>::quiet_NaN());
        for (int i = n - 1; i >= 0; --i) {
            double xi = B(i);
            for (int j = n - 1; j > i; --j) xi = xi - W(i, j) * x[j];
            x[i] = xi;
            if (Zero(W(i, i))) return false;
        }
        return true;
    }
};

// The reference inverse: elimination of [A | I], then the back substitution.
bool ReferenceInverse(const M& src, Doubles& r) {
    const int n = src.ColumnLen();
    M aug(n, 2 * n);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < 2 * n; ++j) aug(i, j) = j < n ? src(i, j) : (j - n == i ? 1.0 : 0.0);
    Reference ref(aug, {});
    ref.n = n;
    ref.Eliminate();
    r.assign(static_cast<size_t>(n) * n, 0.0);
    for (int i = n - 1; i >= 0; --i) {
        for (int j = 0; j < n; ++j) r[static_cast<size_t>(i) * n + j] = ref.W(i, n + j);
        for (int l = n - 1; l > i; --l)
            for (int j = 0; j < n; ++j)
                r[static_cast<size_t>(i) * n + j] = r[static_cast<size_t>(i) * n + j] - r[static_cast<size_t>(l) * n + j] * ref.W(i, l);
        if (Zero(ref.W(i, i))) return false;
    }
    return true;
}

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

}  // namespace

TEST(Det, WorkedExamples) {
    EXPECT_EQ(Make(2, 2, {1, 2, 3, 4}).Det(), -2);
    EXPECT_EQ(Make(2, 2, {2, 1, 4, 3}).Det(), 2);
    EXPECT_EQ(Make(3, 3, {1, 0, 2, 3, 0, 4, 5, 0, 6}).Det(), 0);
    CQV_EXPECT_BAD(Make(2, 3, {1, 2, 3, 4, 5, 6}).Det(), qvMsg::DetNotSquare);
    CQV_EXPECT_BAD(M().Det(), qvMsg::NewWithRefNonPositive);
    const M a = Make(2, 2, {1, 2, 3, 4});
    a.Det();
    EXPECT_EQ(Elements(a), (Doubles{1, 2, 3, 4}));  // a private copy was used
}

TEST(Solve, WorkedExampleOverwritesTheWorkSpace) {
    M a = Make(2, 2, {2, 1, 1, 3});
    Col b = MakeCol({3, 5});
    Col x;
    a.SolveEquationGaussMethod(x, b);
    EXPECT_TRUE(Near(Values(x), {0.8, 1.4}, 1e-15));
    // The pivot rows keep their pivots and hold the scaled rest; the lower
    // row keeps its factor in the pivot column.
    EXPECT_EQ(Elements(a), (Doubles{2, 0.5, 1, 2.5}));
    EXPECT_EQ(Values(b), (Doubles{1.5, 3.5 * 0.4}));

    // x of the right length is written through, also when it is b itself.
    M a2 = Make(2, 2, {2, 1, 1, 3});
    M store = Make(2, 1, {3, 5});
    Col b2, x2;
    store.GetColumn(b2, 0);
    store.GetColumn(x2, 0);
    a2.SolveEquationGaussMethod(x2, b2);
    EXPECT_TRUE(Near(Elements(store), {0.8, 1.4}, 1e-15));

    // More unknowns than equations: the extra unknowns count as zero.
    M wide = Make(2, 3, {1, 1, 5, 0, 2, 7});
    Col bw = MakeCol({3, 4});
    Col xw;
    wide.SolveEquationGaussMethod(xw, bw);
    EXPECT_EQ(Values(xw), (Doubles{1, 2}));
}

TEST(Solve, FailuresAndTheirState) {
    M tall = Make(3, 2, {1, 2, 3, 4, 5, 6});
    Col b3 = MakeCol({1, 2, 3});
    Col x;
    CQV_EXPECT_BAD(tall.SolveEquationGaussMethod(x, b3), qvMsg::SystemNotCompatible);
    EXPECT_EQ(Elements(tall), (Doubles{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(x.Len(), 0);

    M a = Make(2, 2, {1, 2, 2, 4});
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

TEST(Inverse, WorkedExamples) {
    const M a = Make(2, 2, {4, 7, 2, 6});
    EXPECT_TRUE(Near(Elements(a.Inverse()), {0.6, -0.7, -0.2, 0.4}, 1e-15));
    EXPECT_EQ(Elements(a), (Doubles{4, 7, 2, 6}));
    CQV_EXPECT_BAD(Make(2, 2, {1, 2, 2, 4}).Inverse(), qvMsg::SystemNotUnique);
    CQV_EXPECT_BAD(Make(1, 2, {1, 2}).Inverse(), qvMsg::MatrixNotSquare);
    CQV_EXPECT_BAD(M().Inverse(), qvMsg::NewWithRefNonPositive);
}

TEST(Solvers, AgreeWithTheReferenceBitForBit) {
    unsigned long long seed = 100;
    for (const Case& c : kCases) {
        SCOPED_TRACE(::testing::Message() << "n=" << c.n << " zeros=" << c.zeros << " dep=" << c.dependent);
        const M a = CaseMatrix(c, seed++);
        const M rhs = Random(c.n, 1, seed++);
        Doubles bv;
        for (int i = 0; i < c.n; ++i) bv.push_back(rhs(i, 0));
        // Every solver on contiguous storage and through a transposed
        // window, which takes the element-by-element path.
        Doubles store1, store2;
        const double d = Reference(a, {}).Det();
        for (const M& m : {a, TransposedCopy(a, store1)}) {
            const double got = m.Det();
            EXPECT_TRUE(std::isnan(d) ? std::isnan(got) : got == d) << got << " against " << d;
        }

        Doubles inv;
        if (ReferenceInverse(a, inv)) {
            EXPECT_EQ(Elements(a.Inverse()), inv);
        } else {
            CQV_EXPECT_BAD(a.Inverse(), qvMsg::SystemNotUnique);
        }

        Reference sol(a, bv);
        Doubles want;
        const bool ok = sol.Solve(want);
        M contiguous = a;
        contiguous.Copy();
        for (M work : {contiguous, TransposedCopy(a, store2)}) {
            Col b(c.n);
            for (int i = 0; i < c.n; ++i) b[i] = bv[i];
            Col x;
            if (ok) {
                work.SolveEquationGaussMethod(x, b);
                EXPECT_EQ(Values(x), want);
            } else {
                CQV_EXPECT_BAD(work.SolveEquationGaussMethod(x, b), qvMsg::SystemNotUnique);
                for (int i = 0; i < c.n; ++i) EXPECT_TRUE(std::isnan(want[i]) || x[i] == want[i]) << i;
            }
            EXPECT_EQ(Elements(work), sol.a);
            EXPECT_EQ(Values(b), sol.b);
        }
    }
}

TEST(Solvers, ComplexElements) {
    qvMatrix<qvComplex> a(2, 2);
    a(0, 0) = qvComplex(0, 1);
    a(0, 1) = qvComplex(1, 0);
    a(1, 0) = qvComplex(2, 0);
    a(1, 1) = qvComplex(0, -1);
    // det = i·(-i) - 1·2 = -1
    const qvComplex d = a.Det();
    EXPECT_TRUE(Near({d.re, d.im}, {-1, 0}, 1e-15));
    const qvMatrix<qvComplex> p = a * a.Inverse();
    EXPECT_TRUE(Near({p(0, 0).re, p(0, 0).im, p(0, 1).re, p(0, 1).im, p(1, 0).re, p(1, 0).im, p(1, 1).re, p(1, 1).im},
                     {1, 0, 0, 0, 0, 0, 1, 0}, 1e-15));
    qvColumnVector<qvComplex> b(2), x;
    b[0] = qvComplex(1, 1);
    b[1] = qvComplex(2, 0);
    qvMatrix<qvComplex> w = a;
    w.Copy();
    w.SolveEquationGaussMethod(x, b);
    const qvColumnVector<qvComplex> back = a * x;
    EXPECT_TRUE(Near({back[0].re, back[0].im, back[1].re, back[1].im}, {1, 1, 2, 0}, 1e-15));

    qvMatrix<qvComplex> singular(2, 2);
    singular(0, 0) = qvComplex(0, 1);
    singular(0, 1) = qvComplex(0, 2);
    singular(1, 0) = qvComplex(0, 2);
    singular(1, 1) = qvComplex(0, 4);
    EXPECT_EQ(singular.Det(), qvComplex(0, 0));
    CQV_EXPECT_BAD(singular.Inverse(), qvMsg::SystemNotUnique);
}

TEST(Solvers, SpaceVectorElementsHoldThreeSystems) {
    // Coordinate k of every element is the same double system scaled by
    // 2^k, so all three share the pivot order of the double system, and the
    // scaling by powers of two changes no rounding.
    const int n = 12;
    const M a = Random(n, n, 5);
    const M rx = Random(n, 1, 6), ry = Random(n, 1, 7), rz = Random(n, 1, 8);
    qvMatrix<V3> av(n, n);
    qvColumnVector<V3> bv(n);
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j) av(i, j) = V3(a(i, j), 2 * a(i, j), 4 * a(i, j));
        bv[i] = V3(rx(i, 0), 2 * ry(i, 0), 4 * rz(i, 0));
    }
    const V3 d = av.Det();
    const double dd = a.Det();
    EXPECT_EQ(d.X(), dd);
    EXPECT_DOUBLE_EQ(d.Y(), dd * std::pow(2.0, n));
    const qvMatrix<V3> inv = av.Inverse();
    EXPECT_EQ(inv(3, 4).X(), a.Inverse()(3, 4));
    qvColumnVector<V3> x;
    av.SolveEquationGaussMethod(x, bv);
    const M* rhs[3] = {&rx, &ry, &rz};
    for (int k = 0; k < 3; ++k) {
        M w = a;
        w.Copy();
        Col b(n), xs;
        for (int i = 0; i < n; ++i) b[i] = (*rhs[k])(i, 0);
        w.SolveEquationGaussMethod(xs, b);
        for (int i = 0; i < n; ++i) EXPECT_EQ(x[i][k], xs[i]) << k << " " << i;
    }
}
