// The polynomial in both coefficient forms with its derivatives, its
// storage rules, and simple arrays of polynomials.
#include "band_test_support.h"

#include <cmath>
#include <vector>

using namespace bandtest;

namespace {

using P = qvPolynom<double>;

P Power(const V& c, double x0) { return P(MakeCol(c), x0, P::KoefPower); }
P Taylor(const V& c, double x0) { return P(MakeCol(c), x0, P::KoefTaylor); }

// The k-th derivative of Σ a[j]·t^j (a in ascending powers) at t, term by
// term in long double.
double Direct(const V& ascending, double t, int k) {
    long double s = 0;
    for (int j = k; j < static_cast<int>(ascending.size()); ++j) {
        long double term = ascending[static_cast<std::size_t>(j)];
        for (int f = 0; f < k; ++f) term *= j - f;
        s += term * std::pow(static_cast<long double>(t), j - k);
    }
    return static_cast<double>(s);
}

}  // namespace

TEST(Polynom, ConstantsOrdersFarAboveTheDegreeAndTheWrongForm) {
    // One coefficient: a constant in either form.
    EXPECT_EQ((V{Power({7}, 1)(100), Taylor({7}, 1)(-100), Taylor({7}, 1).Derivative(0, 1)}), (V{7, 7, 0}));
    EXPECT_EQ((V{Power({1, 0, 0}, 2).Derivative(5, 10), Taylor({2, 3, 4}, 0).Derivative(1, 10)}), (V{0, 0}));

    // Any other form throws, but only when coefficients are evaluated.
    const P bad(MakeCol({1, 2, 3}), 0, static_cast<P::KoefType>(2));
    CQV_EXPECT_BAD(bad(1), qvMsg::PolynomWrongKoefType);
    CQV_EXPECT_BAD(bad.Derivative(1, 2), qvMsg::PolynomWrongKoefType);
    EXPECT_EQ(bad.Derivative(1, 3), 0);
}

TEST(Polynom, EveryDerivativeOfBothFormsThroughAStride) {
    // p(x) = 2t⁴ - 3t³ + 0.5t² + 5t - 1 around x0 = 1.5, in ascending powers.
    // Both forms read their coefficients from the columns of one matrix:
    // power in column 0, Taylor (c[j] the (4-j)-th derivative at x0) in 1.
    const V ascending = {-1, 5, 0.5, -3, 2};
    const M m = MatrixOf(5, 2, {2, 48, -3, -18, 0.5, 1, 5, 5, -1, -1});
    Col powerColumn, taylorColumn;
    m.GetColumn(powerColumn, 0);
    m.GetColumn(taylorColumn, 1);
    const P power(powerColumn, 1.5, P::KoefPower);
    const P taylor(taylorColumn, 1.5, P::KoefTaylor);
    for (double x : {1.5, 2.0, -0.75, 3.25}) {
        for (int k = 0; k <= 5; ++k) {
            const double want = Direct(ascending, x - 1.5, k);
            EXPECT_NEAR(power.Derivative(x, k), want, 1e-12 * (1 + std::fabs(want))) << x << " " << k;
            EXPECT_NEAR(taylor.Derivative(x, k), want, 1e-12 * (1 + std::fabs(want))) << x << " " << k;
        }
    }
    // At the offset a Taylor polynomial gives its coefficients back.
    for (int k = 0; k <= 4; ++k) EXPECT_EQ(taylor.Derivative(1.5, k), taylor[4 - k]);
    EXPECT_EQ(power.Derivative(2, -1), power(2));  // a negative order counts as the value
}

TEST(Polynom, SharingAndCopyingRules) {
    CQV_EXPECT_BAD(P(0), qvMsg::NewWithRefNonPositive);

    // Built from a vector, or copied: the coefficients are shared.
    Col c = MakeCol({1, 0, 0});
    const P p(c, 2, P::KoefPower);
    const P copy(p);
    c[2] = 1;
    EXPECT_EQ(copy(5), 10);
    EXPECT_EQ(Holders(c), 3);

    // SetKoef and assignment copy them, with the form and the offset.
    P set;
    set.SetKoef(c, -1, P::KoefTaylor);
    P assigned;
    assigned = p;
    c[1] = 4;
    EXPECT_EQ(set(1), 3);        // t = 2 in the Taylor form: t²/2 + 1
    EXPECT_EQ(assigned(5), 10);  // t = 3 in the power form: t² + 1

    // Equal lengths write into the present storage, shared or not.
    P window(c, 0, P::KoefPower);
    window = Taylor({7, 8, 9}, 1);
    EXPECT_EQ(Values(c), V({7, 8, 9}));
    window.SetKoef(MakeCol({1, 2}), 3, P::KoefPower);
    EXPECT_EQ(Values(c), V({7, 8, 9}));
    EXPECT_EQ(window(4), 3);
}

TEST(PolynomArray, ElementsArePrivateCopiesWithTheirFormsAndOffsets) {
    qvSimpleArray<P> a(2);
    a[0] = Power({1, 2}, 1);
    a[1] = Taylor({3, 4, 5}, -1);
    const qvSimpleArray<P> b(a);
    EXPECT_EQ(Holders(b[1]), 1);
    a[1][0] = 30;
    EXPECT_EQ(b[1](0), 3.0 / 2 + 4 + 5);

    // Appending a polynomial that shares a vector's storage stores a copy.
    Col shared = MakeCol({6, 7});
    a.push_back(P(shared, 0, P::KoefPower));
    shared[0] = 60;
    EXPECT_EQ(a[2][0], 6);
    EXPECT_EQ(Holders(shared), 1);

    // Filling and growing a window copy too.
    qvSimpleArray<P> filled(3, Power({1, 1}, 0));
    filled[0][0] = 5;
    EXPECT_EQ(filled[1][0], 1);
    qvSimpleArray<P> window;
    window.SetSubWindow(a, 1, 2);
    window.push_front(Power({9}, 0));
    window[1][1] = -4;
    EXPECT_EQ(a[1][1], 4);
    EXPECT_EQ(window[1](0), 30.0 / 2 - 4 + 5);

    // Equal lengths: each element is assigned into its present storage.
    qvSimpleArray<P> d(3, Power({0, 0}, 0));
    const double* keep = d[0].GetPointer();
    d = a;
    EXPECT_EQ(d[0].GetPointer(), keep);
    EXPECT_EQ((V{d[0](3), d[1](0), d[2](1)}), (V{4, 24, 13}));
    d[0][0] = 100;
    EXPECT_EQ(a[0][0], 1);
}
