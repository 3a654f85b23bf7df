// The polynomial in both coefficient forms with its derivatives, its
// storage rules, and simple arrays of polynomials.
#include "band_test_support.h"

#include <cmath>
#include <vector>

using namespace bandtest;

namespace {

using P = qvPolynom<double>;
using V = std::vector<double>;

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

TEST(Polynom, WorkedExamples) {
    const P p = Power({1, 0, 0}, 2);  // (x - 2)²
    EXPECT_EQ(p(5), 9);
    EXPECT_EQ(p.Derivative(5, 1), 6);
    EXPECT_EQ(p.Derivative(5, 2), 2);
    EXPECT_EQ(p.Derivative(5, 3), 0);

    const P q = Taylor({2, 3, 4}, 0);  // t² + 3t + 4
    EXPECT_EQ(q(1), 8);
    EXPECT_EQ(q.Derivative(1, 1), 5);
    EXPECT_EQ(q.Derivative(-7, 2), 2);
    EXPECT_EQ(q.Derivative(1, 10), 0);

    // c = (1, 1, 1, 1) at t = 1: each derivative sums the falling products.
    const P r = Power({1, 1, 1, 1}, 0);
    EXPECT_EQ(r.Derivative(1, 1), 3 + 2 + 1);
    EXPECT_EQ(r.Derivative(1, 2), 6 + 2);
    EXPECT_EQ(r.Derivative(1, 3), 6);

    // One coefficient: a constant in either form.
    EXPECT_EQ(Power({7}, 1)(100), 7);
    EXPECT_EQ(Taylor({7}, 1)(-100), 7);
    EXPECT_EQ(Taylor({7}, 1).Derivative(0, 1), 0);
}

TEST(Polynom, EveryDerivativeOfBothForms) {
    // p(x) = 2t⁴ - 3t³ + 0.5t² + 5t - 1 around x0 = 1.5, in ascending powers.
    const V ascending = {-1, 5, 0.5, -3, 2};
    const P power = Power({2, -3, 0.5, 5, -1}, 1.5);
    // Taylor coefficients: c[j] is the (4-j)-th derivative at x0.
    const P taylor = Taylor({48, -18, 1, 5, -1}, 1.5);
    for (double x : {1.5, 2.0, -0.75, 3.25}) {
        for (int k = 0; k <= 5; ++k) {
            const double want = Direct(ascending, x - 1.5, k);
            EXPECT_NEAR(power.Derivative(x, k), want, 1e-12 * (1 + std::fabs(want))) << x << " " << k;
            EXPECT_NEAR(taylor.Derivative(x, k), want, 1e-12 * (1 + std::fabs(want))) << x << " " << k;
        }
    }
    // At the offset a Taylor polynomial gives its coefficients back.
    for (int k = 0; k <= 4; ++k) EXPECT_EQ(taylor.Derivative(1.5, k), taylor[4 - k]);
    // A negative order counts as the value.
    EXPECT_EQ(power.Derivative(2, -1), power(2));

    // Coefficients read through a stride: a matrix column.
    M m = MatrixOf(3, 3, {0, 2, 0, 0, -3, 0, 0, 1, 0});
    Col column;
    m.GetColumn(column, 1);
    const P strided(column, 1, P::KoefPower);  // 2t² - 3t + 1
    EXPECT_EQ(strided(3), 3);
    EXPECT_EQ(strided.Derivative(3, 1), 5);
}

TEST(Polynom, WrongFormThrowsWhenItMatters) {
    const P p(MakeCol({1, 2, 3}), 0, static_cast<P::KoefType>(2));
    CQV_EXPECT_BAD(p(1), qvMsg::PolynomWrongKoefType);
    CQV_EXPECT_BAD(p.Derivative(1, 2), qvMsg::PolynomWrongKoefType);
    EXPECT_EQ(p.Derivative(1, 3), 0);  // at or above L nothing is evaluated
}

TEST(Polynom, SharingAndCopyingRules) {
    CQV_EXPECT_BAD(P(0), qvMsg::NewWithRefNonPositive);
    EXPECT_EQ(P(3).Len(), 3);

    // Built from a vector, or copied: the coefficients are shared.
    Col c = MakeCol({1, 0, 0});
    const P p(c, 2, P::KoefPower);
    const P copy(p);
    c[2] = 1;
    EXPECT_EQ(copy(5), 10);
    EXPECT_EQ(copy.GetX0(), 2);
    EXPECT_EQ(Holders(c), 3);

    // SetKoef and assignment copy them, with the form and the offset.
    P set;
    set.SetKoef(c, -1, P::KoefTaylor);
    P assigned;
    assigned = p;
    c[1] = 4;
    EXPECT_EQ(Values(set), V({1, 0, 1}));
    EXPECT_EQ(set.GetKoefType(), P::KoefTaylor);
    EXPECT_EQ(set.GetX0(), -1);
    EXPECT_EQ(Values(assigned), V({1, 0, 1}));
    EXPECT_EQ(assigned.GetX0(), 2);

    // Equal lengths write into the present storage, shared or not.
    P window(c, 0, P::KoefPower);
    window = Taylor({7, 8, 9}, 1);
    EXPECT_EQ(Values(c), V({7, 8, 9}));
    window.SetKoef(MakeCol({1, 2}), 3, P::KoefPower);
    EXPECT_EQ(Values(c), V({7, 8, 9}));
    EXPECT_EQ(window(4), 3);
}

TEST(PolynomArray, ElementsArePrivateCopies) {
    qvSimpleArray<P> a(2);
    EXPECT_EQ(a[0].Len(), 0);
    a[0] = Power({1, 2}, 1);
    a[1] = Taylor({3, 4, 5}, -1);

    const qvSimpleArray<P> b(a);
    EXPECT_NE(b[1].GetPointer(), a[1].GetPointer());
    EXPECT_EQ(Holders(b[1]), 1);
    EXPECT_EQ(b[1].GetKoefType(), P::KoefTaylor);
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
    EXPECT_EQ(window[1].GetX0(), -1);
    EXPECT_EQ(window[1].GetKoefType(), P::KoefTaylor);
}

TEST(PolynomArray, EditingAndAssignmentKeepFormsAndOffsets) {
    qvSimpleArray<P> a;
    for (int i = 0; i < 4; ++i) a.push_back(Power({1.0 * i, 1}, i));
    a.Remove(1);
    a.InverseOrder();
    a.resize(4);  // a fresh, empty polynomial at the end
    EXPECT_EQ(a[0].GetX0(), 3);
    EXPECT_EQ(a[0](5), 3 * 2 + 1);
    EXPECT_EQ(a[2].GetX0(), 0);
    EXPECT_EQ(a[3].Len(), 0);

    // Equal lengths: each element is assigned into its present storage.
    qvSimpleArray<P> b(4);
    for (int i = 0; i < 4; ++i) b[i] = Power({0, 0}, 0);
    const double* keep = b[1].GetPointer();
    b = a;
    EXPECT_EQ(b[1].GetPointer(), keep);
    EXPECT_EQ(b[1].GetX0(), 2);
    EXPECT_EQ(b[3].Len(), 0);
    b[0][0] = 100;
    EXPECT_EQ(a[0][0], 3);
}
