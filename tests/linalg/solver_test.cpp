// The three direct solvers: determinant, inverse and Gaussian elimination,
// checked on worked examples, against a plain reference elimination written
// here (bit for bit, over sizes that cross every blocking of the library's
// fast path), and for the complex and space-vector element types.
#include "linalg_test_support.h"

#include <cmath>
#include <cstring>

using namespace linalgtest;

namespace {

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

// Worked examples of the determinant (one row exchange turns the sign) and
// the inverse, both on a private copy, and their checks.
TEST(DetAndInverse, WorkedExamplesAndChecks) {
    const M a = MatrixOf(2, 2, {1, 2, 3, 4});
    EXPECT_EQ(a.Det(), -2);
    EXPECT_EQ(Elements(a), (Doubles{1, 2, 3, 4}));
    const M b = MatrixOf(2, 2, {4, 7, 2, 6});
    EXPECT_TRUE(Near(Elements(b.Inverse()), {0.6, -0.7, -0.2, 0.4}, 1e-15));
    EXPECT_EQ(Elements(b), (Doubles{4, 7, 2, 6}));
    CQV_EXPECT_BAD(MatrixOf(2, 3, {1, 2, 3, 4, 5, 6}).Det(), qvMsg::DetNotSquare);
    CQV_EXPECT_BAD(M().Det(), qvMsg::NewWithRefNonPositive);
    CQV_EXPECT_BAD(MatrixOf(2, 2, {1, 2, 2, 4}).Inverse(), qvMsg::SystemNotUnique);
    CQV_EXPECT_BAD(MatrixOf(1, 2, {1, 2}).Inverse(), qvMsg::MatrixNotSquare);
    CQV_EXPECT_BAD(M().Inverse(), qvMsg::NewWithRefNonPositive);
}

// Worked examples, where the solution goes, and the failures with the state
// they leave.
TEST(Solve, WorkedExamplesWhereTheSolutionGoesAndFailures) {
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

    // The failures, and the state they leave.
    M tall = MatrixOf(3, 2, {1, 2, 3, 4, 5, 6});
    Col b3 = MakeCol({1, 2, 3});
    Col x;
    CQV_EXPECT_BAD(tall.SolveEquationGaussMethod(x, b3), qvMsg::SystemNotCompatible);
    EXPECT_EQ(Elements(tall), (Doubles{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(x.Len(), 0);

    M a = MatrixOf(2, 2, {1, 2, 2, 4});
    Col b = MakeCol({1, 2});
    CQV_EXPECT_BAD(a.SolveEquationGaussMethod(x, b3), qvMsg::DifferentSize);
    EXPECT_EQ(Elements(a), (Doubles{1, 2, 2, 4}));
    CQV_EXPECT_BAD(a.SolveEquationGaussMethod(x, b), qvMsg::SystemNotUnique);
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
        Doubles store;
        const double d = Reference<double>(a).Det();
        for (const M& m : {a, TransposedCopy(a, store)}) {
            const double got = m.Det();
            EXPECT_TRUE(std::isnan(d) ? std::isnan(got) : got == d) << got << " against " << d;
        }

        M unit(c.n, c.n);
        unit.SetE();
        Doubles inv;
        if (Reference<double>(a, unit).Solve(inv) < 0) {
            EXPECT_EQ(Elements(a.Inverse()), inv);
        } else {
            CQV_EXPECT_BAD(a.Inverse(), qvMsg::SystemNotUnique);
        }

        ExpectGaussSolveAsTheReference(a, rhs);
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
