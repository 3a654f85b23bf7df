// The accurate LU factorisation: the systems on which the classic
// elimination fails (and that it does fail on them, as its header says),
// backward errors on random and badly scaled matrices against a bound near
// that of partial pivoting, measured in long double; determinants beyond
// the range of double; the condition estimate against the exact condition;
// singular matrices refused; the factors; where solutions go; complex
// elements.
#include "cqv_accuracy.h"
#include "linalg_test_support.h"

#include <algorithm>
#include <cmath>
#include <limits>

using namespace linalgtest;

namespace {

using Lu = qvLUDecomposition<double>;
using CLu = qvLUDecomposition<qvComplex>;
using CM = qvMatrix<qvComplex>;
using CCol = qvColumnVector<qvComplex>;

const LD kUnit = std::ldexp(1.0L, -53);  // the unit roundoff of double
const double kInf = std::numeric_limits<double>::infinity();

// The bound on normwise backward errors: sqrt(n)·u. Partial pivoting
// guarantees (A + ΔA)·x = b with |ΔA| ≤ γ₃ₙ·|L|·|U|, γ₃ₙ ≈ 3n·u, but that
// worst case needs an element growth that random matrices never show; their
// rounding errors add up like a random walk, to about sqrt(n)·u/4. Eigen's
// partial-pivot LU, run on matrices uniform in (-1, 1) of orders 3 to 500
// (20 matrices of each order, 3 from n = 200), reached 0.30·sqrt(n)·u at
// n = 8 and 0.11 to 0.13·sqrt(n)·u at n = 200 and 500, so this bound is
// within 10 times Eigen's figure at every order, and below n·ε (ε = 2u).
LD Bound(int n) { return std::sqrt(static_cast<LD>(n)) * kUnit; }

// Elements spanning 10^±150 make the normwise backward error far smaller,
// ||A|| being set by the largest elements: Eigen's LU, on matrices made as
// Spanning makes them (orders 3 to 200), reached 0.006·sqrt(n)·u at most
// (7e-18 at n = 100), so they are held to a bound 10 times that.
LD SpanningBound(int n) { return 0.06L * Bound(n); }

// Elements uniform in (-1, 1) times 10^e, e uniform in (-150, 150) for each
// element: rows and columns of no common scale. (Random, of the linear
// algebra tests' support, makes the uniform ones.)
M Spanning(int n, unsigned long long seed) {
    Numbers g(seed);
    M m(n, n);
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) m(i, j) = g.Real(-1, 1) * std::pow(10.0, g.Real(-150, 150));
    return m;
}

M Uniform(int n, unsigned long long seed) { return Random(n, n, seed); }

Col UniformCol(int n, unsigned long long seed) { return MakeCol(Numbers(seed).Reals(n, -1, 1)); }

// The solution by the classic elimination, which spends its operands.
Col ClassicSolve(const M& a, const Col& b) {
    M w = a;
    w.Copy();
    Col bw = b, x;
    bw.Copy();
    w.SolveEquationGaussMethod(x, bw);
    return x;
}

Col AccurateSolve(const M& a, const Col& b) {
    Col x;
    Lu(a).Solve(x, b);
    return x;
}

// The factorisation of a against long double: the determinant to within tol
// relatively, its sign (its phase, for complex elements) and logarithm, and
// the condition estimate within its documented bounds: not below the true
// reciprocal (up to the rounding errors of the solutions it takes), rarely
// above three times it.
template <class E>
void ExpectDeterminantAndConditionAsWide(const qvMatrix<E>& a, LD tol) {
    const qvLUDecomposition<E> lu(a);
    const auto det = WideDeterminant(a);
    const LD size = std::abs(det), logSize = std::log(size);
    EXPECT_LE(std::abs(Wide<E>::Of(lu.Det()) - det), tol * size);
    EXPECT_LE(std::abs(Wide<E>::Of(lu.DetSign()) - det / size), tol);
    EXPECT_NEAR(lu.LogAbsDet(), logSize, tol * (std::fabs(logSize) + 1));
    const LD truth = 1 / Condition1(a);
    EXPECT_GE(lu.RCond(), truth * (1 - 1e-8L));
    EXPECT_LE(lu.RCond(), 3 * truth);
}

bool AnyNaN(const Doubles& v) { return std::any_of(v.begin(), v.end(), [](double x) { return std::isnan(x); }); }

// The systems of the classic solvers' header, with their true solutions.
struct Example {
    const char* what;
    M a;
    Col b;
    std::vector<LD> want;
    LD tol;  // on the relative error of the solution
};

std::vector<Example> Examples() {
    const M badlyScaled = MatrixOf(3, 3, {1, -2, -7, -2, 7, 7, 1e-8, 0, -5});
    const Col ones = MakeCol({1, 1, 1});
    return {
        // Condition number 57: the solution to within a few times 57·u.
        {"badly scaled rows", badlyScaled, ones, WideSolve(badlyScaled, WideValues(ones), 1), 64 * 57 * kUnit},
        // x0 = 1 / (1 - 1e-310) and x1 = 2 - x0 are both 1 in double.
        {"subnormal pivot", MatrixOf(2, 2, {1, 1, 1e-310, 1}), MakeCol({2, 1}), {1, 1}, 2 * kUnit},
        // b0 = 1 + 1e-10 rounded: x1 = (1 - 1e-300·x0) / 1e10, x0 = b0 - x1.
        {"tiny pivot beside a large one", MatrixOf(2, 2, {1, 1, 1e-300, 1e10}), MakeCol({1 + 1e-10, 1}),
         {static_cast<LD>(1 + 1e-10) - 1e-10L, 1e-10L}, 4 * kUnit},
    };
}

}  // namespace

TEST(LUDecomposition, SolvesTheSystemsTheClassicEliminationFails) {
    for (const Example& e : Examples()) {
        SCOPED_TRACE(e.what);
        const Col x = AccurateSolve(e.a, e.b);
        EXPECT_LE(RelativeError(WideValues(x), e.want), e.tol);
        EXPECT_LE(BackwardError(e.a, x, e.b), Bound(e.a.ColumnLen()));
    }
    // The small unknown of the last example to its own last places too.
    EXPECT_NEAR(AccurateSolve(Examples()[2].a, Examples()[2].b)[1], 1e-10, 4e-26);
    // The inverses: every element to within a few units in the last place of
    // the largest; for the subnormal pivot, the correctly rounded inverse.
    const M scaled = Examples()[0].a;
    EXPECT_LE(RelativeError(WideElements(Lu(scaled).Inverse()), WideInverse(scaled)), 64 * 57 * kUnit);
    EXPECT_EQ(Elements(Lu(Examples()[1].a).Inverse()), (Doubles{1, -1, -1e-310, 1}));
    // A large element right of a tiny pivot: the substitution must subtract
    // before it divides, since 1e10 / 1e-300 overflows where x0 = 0 does not.
    EXPECT_EQ(Values(AccurateSolve(MatrixOf(2, 2, {1e-300, 1e10, 0, 1}), MakeCol({1e10, 1}))), (Doubles{0, 1}));
    // A tiny element right of a large pivot, where u / d = 1e-315 keeps only
    // a few digits: x0 = (3e-5 - 1e-305·1e300) / 1e10 = 2e-15.
    const Col x = AccurateSolve(MatrixOf(2, 2, {1e10, 1e-305, 0, 1}), MakeCol({3e-5, 1e300}));
    EXPECT_NEAR(x[0] / 2e-15, 1.0, 1e-14);
}

// The figures in the header of the classic solvers, as measured there.
TEST(LUDecomposition, TheClassicEliminationFailsAsDocumented) {
    const std::vector<Example> ex = Examples();
    const LD scaledError = BackwardError(ex[0].a, ClassicSolve(ex[0].a, ex[0].b), ex[0].b);
    EXPECT_GT(scaledError, 5e-10L);
    EXPECT_LT(scaledError, 8e-10L);
    const Doubles inverse = Elements(ex[0].a.Inverse());
    const std::vector<LD> trueInverse = WideInverse(ex[0].a);
    LD inverseError = 0;  // in elements of size up to 2.3
    for (std::size_t i = 0; i < inverse.size(); ++i)
        inverseError = std::fmax(inverseError, std::fabs(inverse[i] - trueInverse[i]));
    EXPECT_GT(inverseError, 5e-9L);
    EXPECT_LT(inverseError, 1e-8L);
    EXPECT_TRUE(AnyNaN(Values(ClassicSolve(ex[1].a, ex[1].b))));
    EXPECT_TRUE(AnyNaN(Elements(ex[1].a.Inverse())));
    EXPECT_EQ(Values(ClassicSolve(ex[2].a, ex[2].b))[1], 0.0);
    EXPECT_EQ(MatrixOf(2, 2, {1e-300, 1, 1e-300, 2}).Det(), 0.0);

    // Large orders: the running product of the determinant overflows where
    // the determinant is about -3e139.
    const M big = Uniform(200, 3);
    const LD bigDet = WideDeterminant(big);
    EXPECT_GT(std::fabs(bigDet), 1e139L);
    EXPECT_EQ(big.Det(), bigDet < 0 ? -kInf : kInf);
    // Elements spanning 10^±150: backward errors far from the roundoff, or a
    // refusal of a regular matrix, for most of ten such systems.
    int failed = 0;
    for (unsigned long long seed = 1; seed <= 10; ++seed) {
        const M a = Spanning(100, seed);
        const Col b = UniformCol(100, seed);
        ASSERT_FALSE(Lu(a).IsSingular());
        try {
            if (BackwardError(a, ClassicSolve(a, b), b) > 1e-3L) ++failed;
        } catch (const BadParameters&) {
            ++failed;
        }
    }
    EXPECT_GE(failed, 5);
}

TEST(LUDecomposition, BackwardErrorWithinTheBoundOfPartialPivoting) {
    struct Kind {
        const char* name;
        M (*make)(int, unsigned long long);
        LD (*bound)(int);
        std::vector<int> orders;
    };
    const Kind kinds[] = {
        // Orders around the panels and blocks of the factorisation.
        {"uniform", Uniform, Bound, {1, 2, 3, 7, 8, 9, 15, 16, 17, 31, 32, 33, 64, 65, 100, 200, 500}},
        {"spanning 10^±150", Spanning, SpanningBound, {3, 10, 30, 100, 200}},
    };
    unsigned long long seed = 20;
    for (const Kind& kind : kinds)
        for (int n : kind.orders) {
            SCOPED_TRACE(::testing::Message() << kind.name << " n=" << n);
            const M a = kind.make(n, ++seed);
            const Col b = UniformCol(n, seed);
            const Lu lu(a);
            ASSERT_FALSE(lu.IsSingular());
            Col x;
            lu.Solve(x, b);
            EXPECT_LE(BackwardError(a, x, b), kind.bound(n));
        }
    // The columns of the inverse and of a matrix solution are solutions too.
    const M a = Uniform(70, 3);
    const Lu lu(a);
    const M inv = lu.Inverse();
    const M rhs = Uniform(70, 4);
    M X;
    lu.Solve(X, rhs);
    for (int j : {0, 33, 69}) {
        Col e(70), xj, bj, inverseColumn;
        e.Fill(0.0);
        e[j] = 1;
        inv.GetColumn(inverseColumn, j);
        X.GetColumn(xj, j);
        rhs.GetColumn(bj, j);
        EXPECT_LE(BackwardError(a, inverseColumn, e), Bound(70));
        EXPECT_LE(BackwardError(a, xj, bj), Bound(70));
    }
}

TEST(LUDecomposition, DeterminantBeyondTheRangeOfDouble) {
    const double ln10 = std::log(10.0);
    struct Case {
        const char* what;
        M a;
        double det, sign, logAbs;
    };
    const Case cases[] = {
        {"tiny rows", MatrixOf(2, 2, {1e-300, 1, 1e-300, 2}), 1e-300, 1, std::log(1e-300)},
        {"overflowing partial product", MatrixOf(3, 3, {0, 1e200, 0, 1e200, 0, 0, 0, 0, 1e-200}), -1e200, -1,
         200 * ln10},
        {"too large", MatrixOf(2, 2, {1e200, 0, 0, 1e200}), kInf, 1, 400 * ln10},
        {"too small", MatrixOf(2, 2, {1e-200, 0, 0, -1e-200}), -0.0, -1, -400 * ln10},
        {"one exchange", MatrixOf(2, 2, {0, 1, 1, 0}), -1, -1, 0},
        {"singular", MatrixOf(2, 2, {1, 2, 2, 4}), 0, 0, -kInf},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Lu lu(c.a);
        EXPECT_DOUBLE_EQ(lu.Det(), c.det);
        EXPECT_EQ(lu.DetSign(), c.sign);
        const double log = lu.LogAbsDet();  // -inf itself for the singular one
        EXPECT_TRUE(log == c.logAbs || std::fabs(log - c.logAbs) <= 1e-13 * std::fabs(c.logAbs) + 1e-15) << log;
    }
    // Against the determinant in long double, up to orders where the classic
    // running product has long overflowed; the condition estimate with it.
    for (int n : {1, 2, 5, 20, 60, 200, 300}) {
        SCOPED_TRACE(n);
        ExpectDeterminantAndConditionAsWide(Uniform(n, 50 + n), 1e-11L);
    }
}

TEST(LUDecomposition, ConditionEstimateAgainstTheExactCondition) {
    // Random matrices of several orders are checked with their determinants
    // (DeterminantBeyondTheRangeOfDouble).
    // A = I - c·e_i·e_jᵀ has A⁻¹ = I + c·e_i·e_jᵀ: ||A||₁ = ||A⁻¹||₁ = 1 + c.
    // The start vector sees only (1 + c/n): the estimate is exact only if
    // the step with the transposed system finds column j.
    M a(20, 20);
    a.SetE();
    a(3, 11) = -1000;
    EXPECT_NEAR(Lu(a).RCond() * 1001 * 1001, 1.0, 1e-12);
    // Ill-conditioned is not singular.
    const Lu nearly(MatrixOf(3, 3, {1, 2, 3, 4, 5, 6, 7, 8, 9}));
    EXPECT_FALSE(nearly.IsSingular());
    EXPECT_LT(nearly.RCond(), 1e-16);
    EXPECT_GT(nearly.RCond(), 0.0);
    EXPECT_EQ(Lu(MatrixOf(2, 2, {1, 2, 2, 4})).RCond(), 0.0);
    M unit(4, 4);
    unit.SetE();
    EXPECT_EQ(Lu(unit).RCond(), 1.0);
    EXPECT_EQ(Lu(unit).Norm1(), 1.0);
    EXPECT_EQ(Lu(MatrixOf(2, 2, {1, -5, 2, 3})).Norm1(), 8.0);
}

TEST(LUDecomposition, SingularOrOverflowingSolutionsAreRefused) {
    const Lu singular(MatrixOf(2, 2, {1, 2, 2, 4}));
    EXPECT_TRUE(singular.IsSingular());
    EXPECT_EQ(singular.Det(), 0.0);
    Col x = MakeCol({7, 8});
    CQV_EXPECT_BAD(singular.Solve(x, MakeCol({1, 2})), qvMsg::LUSingular);
    EXPECT_EQ(Values(x), (Doubles{7, 8}));
    CQV_EXPECT_BAD(singular.Inverse(), qvMsg::LUSingular);
    M X;
    CQV_EXPECT_BAD(singular.Solve(X, MatrixOf(2, 1, {1, 2})), qvMsg::LUSingular);
    CQV_EXPECT_BAD(Lu(Random(3, 3, 1, 100)).Solve(x, MakeCol({1, 2, 3})), qvMsg::LUSingular);  // all zero

    // Regular, but the solution for this b, and the inverse, lie beyond the
    // range of double.
    const Lu tiny(MatrixOf(2, 2, {1e-310, 0, 0, 1}));
    EXPECT_FALSE(tiny.IsSingular());
    CQV_EXPECT_BAD(tiny.Solve(x, MakeCol({1e10, 1})), qvMsg::LUSingular);
    EXPECT_EQ(Values(x), (Doubles{7, 8}));
    CQV_EXPECT_BAD(tiny.Inverse(), qvMsg::LUSingular);
    tiny.Solve(x, MakeCol({1e-10, 1}));
    EXPECT_NEAR(x[0] / 1e300, 1.0, 1e-12);  // 1e-310 is subnormal: 13 digits
    // A right-hand side that is not finite gives a solution that is not
    // finite, without a refusal.
    tiny.Solve(x, MakeCol({kInf, 1}));
    EXPECT_FALSE(std::isfinite(x[0]));
    // The matrix form looks at every column: the first one not finite, the
    // second overflowing on its own, is still no refusal.
    tiny.Solve(X, MatrixOf(2, 2, {kInf, 1e10, 1, 1}));
    EXPECT_FALSE(std::isfinite(X(0, 0)));
}

TEST(LUDecomposition, ChecksComeFirst) {
    CQV_EXPECT_BAD(Lu(MatrixOf(2, 3, {1, 2, 3, 4, 5, 6})), qvMsg::LUNotSquare);
    Lu lu(MatrixOf(2, 2, {2, 1, 1, 3}));
    CQV_EXPECT_BAD(lu.Set(MatrixOf(1, 2, {1, 2})), qvMsg::LUNotSquare);
    EXPECT_EQ(lu.Order(), 2);
    EXPECT_DOUBLE_EQ(lu.Det(), 5.0);
    Col x = MakeCol({7});
    CQV_EXPECT_BAD(lu.Solve(x, MakeCol({1, 2, 3})), qvMsg::LUDifferentSize);
    EXPECT_EQ(Values(x), (Doubles{7}));
    M X = MatrixOf(1, 1, {7});
    CQV_EXPECT_BAD(lu.Solve(X, MatrixOf(3, 1, {1, 2, 3})), qvMsg::LUDifferentSize);
    EXPECT_EQ(Elements(X), (Doubles{7}));
    lu.Solve(X, M());  // no columns: X empties
    EXPECT_EQ(X.GetPointer(), nullptr);

    // Order 0: the empty matrix, factorised by default or from an empty one.
    for (const Lu& empty : {Lu(), Lu(M())}) {
        EXPECT_EQ(empty.Order(), 0);
        EXPECT_EQ(empty.Det(), 1.0);
        EXPECT_EQ(empty.LogAbsDet(), 0.0);
        EXPECT_EQ(empty.RCond(), 1.0);
        EXPECT_EQ(empty.Inverse().GetPointer(), nullptr);
        Col none = MakeCol({1});
        empty.Solve(none, Col());
        EXPECT_EQ(none.Len(), 0);
        CQV_EXPECT_BAD(empty.Solve(none, MakeCol({1})), qvMsg::LUDifferentSize);
    }
}

TEST(LUDecomposition, FactorsReproduceTheExchangedRows) {
    const int n = 37;
    const M a = Uniform(n, 5);
    const Lu lu(a);
    const M l = lu.GetL(), u = lu.GetU();
    // P·A: the exchanges applied in order.
    std::vector<int> row(n);
    for (int i = 0; i < n; ++i) row[i] = i;
    for (int k = 0; k < n; ++k) {
        ASSERT_GE(lu.Pivot(k), k);
        std::swap(row[k], row[lu.Pivot(k)]);
    }
    for (int i = 0; i < n; ++i)
        for (int j = 0; j < n; ++j) {
            LD s = 0;
            for (int k = 0; k < n; ++k) s += static_cast<LD>(l(i, k)) * u(k, j);
            EXPECT_LE(std::fabs(s - a(row[i], j)), n * kUnit) << i << " " << j;
            // Partial pivoting: no multiplier exceeds 1 in magnitude.
            if (j < i) {
                EXPECT_LE(std::fabs(l(i, j)), 1.0);
                EXPECT_EQ(u(i, j), 0.0);
            } else if (j > i) {
                EXPECT_EQ(l(i, j), 0.0);
            }
        }
    // The first of equal candidates stays; a larger one below is taken.
    EXPECT_EQ(Lu(MatrixOf(2, 2, {1, 2, -1, 3})).Pivot(0), 0);
    EXPECT_EQ(Lu(MatrixOf(3, 3, {1, 0, 0, -2, 1, 0, 2, 0, 1})).Pivot(0), 1);
}

TEST(LUDecomposition, WhereSolutionsGo) {
    const M a = Uniform(12, 9);
    const Col b = UniformCol(12, 10);
    const Col want = AccurateSolve(a, b);

    // The matrix through a transposed window factorises to the same bits.
    Doubles store;
    EXPECT_EQ(Values(AccurateSolve(TransposedCopy(a, store), b)), Values(want));
    // x may be b itself, or a strided window on a matrix's column.
    Col same = b;
    same.Copy();
    Lu(a).Solve(same, same);
    EXPECT_EQ(Values(same), Values(want));
    M columns(12, 3);
    Col middle;
    columns.GetColumn(middle, 1);
    Lu(a).Solve(middle, b);
    for (int i = 0; i < 12; ++i) EXPECT_EQ(columns(i, 1), want[i]);
    // The matrix form agrees with the vector form, and X may be B.
    M B(12, 1);
    for (int i = 0; i < 12; ++i) B(i, 0) = b[i];
    Lu(a).Solve(B, B);
    for (int i = 0; i < 12; ++i) EXPECT_NEAR(B(i, 0), want[i], 1e-13);

    // Copies share the factors and outlive the original; assignment rebinds
    // without writing into the block the copies share.
    Lu* original = new Lu(a);
    const Lu copy(*original);
    Lu other(Uniform(12, 11));
    const double otherDet = other.Det();
    Lu assigned(other);
    assigned = *original;
    delete original;
    Col x;
    copy.Solve(x, b);
    EXPECT_EQ(Values(x), Values(want));
    assigned.Solve(x, b);
    EXPECT_EQ(Values(x), Values(want));
    EXPECT_EQ(other.Det(), otherDet);
}

TEST(LUDecomposition, ComplexElements) {
    for (int n : {1, 4, 30}) {
        const M re = Uniform(n, 100 + n), im = Uniform(n, 200 + n);
        CM a(n, n);
        for (int i = 0; i < n; ++i)
            for (int j = 0; j < n; ++j) a(i, j) = qvComplex(re(i, j), im(i, j));
        CCol b(n), x;
        for (int i = 0; i < n; ++i) b[i] = qvComplex(1.0 / (i + 1), -1.0);
        SCOPED_TRACE(n);
        CLu(a).Solve(x, b);
        // Complex products and quotients take a few roundings each.
        EXPECT_LE(BackwardError(a, x, b), 4 * Bound(n));
        ExpectDeterminantAndConditionAsWide(a, 1e-12L);
    }
    // Elements near 1e200, where the squared modulus that the classic
    // complex quotient divides by overflows.
    const CM big = MatrixOf<qvComplex>(2, 2, {{2e200, 0}, {0, 1e200}, {0, 1e200}, {2e200, 0}});
    const CCol b = MakeCol<qvComplex>({{3, 0}, {0, 3}});
    CCol x;
    CLu(big).Solve(x, b);
    EXPECT_LE(RelativeError(WideValues(x), WideSolve(big, WideValues(b), 1)), 8 * kUnit);
    // A singular complex matrix.
    CQV_EXPECT_BAD(CLu(MatrixOf<qvComplex>(2, 2, {{1, 1}, {2, 2}, {2, 2}, {4, 4}})).Inverse(), qvMsg::LUSingular);
}
