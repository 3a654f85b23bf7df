// The spline of any degree: against the cubic builders, polynomials of its
// own degree given back under every kind of condition, the closed forms of
// low degrees, and the checks that leave the spline as it was.
#include "spline_test_support.h"

#include "cqv_near.h"

#include <cmath>

using namespace splinetest;

namespace {

// Σ a[j]·x^j (a ascending) and its k-th derivative, term by term.
double Poly(const V& a, double x, int k) {
    double s = 0;
    for (int j = static_cast<int>(a.size()) - 1; j >= k; --j) {
        double c = a[static_cast<std::size_t>(j)];
        for (int f = 0; f < k; ++f) c *= j - f;
        s = s * x + c;
    }
    return s;
}

// value(k, 0), value(k, 1) = the (k+1)-th derivative of a at lo and hi.
qvMatrix<double> EndDerivatives(const V& a, int count, double lo, double hi) {
    qvMatrix<double> v(count, 2);
    for (int k = 0; k < count; ++k) {
        v(k, 0) = Poly(a, lo, k + 1);
        v(k, 1) = Poly(a, hi, k + 1);
    }
    return v;
}

double MaxDifference(const S& a, const S& b, double lo, double hi, int k) {
    double worst = 0;
    for (int i = 0; i <= 200; ++i) {
        const double x = i < 200 ? lo + (hi - lo) * i / 200 : hi;
        worst = std::fmax(worst, std::fabs(a.Derivative(x, k) - b.Derivative(x, k)));
    }
    return worst;
}

}  // namespace

TEST(SplineMake, CubicsAgreeWithTheMomentsMethodAndThePeriodicSweep) {
    // Random data on 5 intervals, every code of the cubic builder: the same
    // conditions through Taylor forms and a dense system.
    Numbers g(31);
    for (int trial = 0; trial < 10; ++trial) {
        const V xs = Knots(g, 6, g.Real(-1, 1), 0.1, 0.4);
        V ys;
        for (std::size_t i = 0; i < xs.size(); ++i) ys.push_back(g.Real(-1, 1));
        const qvMatrix<double> ends = MatrixOf(2, 2, {g.Real(-2, 2), g.Real(-2, 2), g.Real(-5, 5), g.Real(-5, 5)});
        for (const qvSimpleArray<int>& code : {Codes({3, 0}), Codes({0, 3}), Codes({1, 2}), Codes({2, 1})}) {
            S moments(Points(xs, ys)), dense(Points(xs, ys));
            moments.MkSpline3(code, ends);
            dense.Make(3, code, ends);
            for (int k = 0; k <= 3; ++k)
                EXPECT_LT(MaxDifference(moments, dense, xs.front(), xs.back(), k), 1e-9 * (k + 1) * (k + 1))
                    << trial << " code " << code[0] << code[1] << " k=" << k;
            EXPECT_EQ(dense.Check(), 1);
        }
        // Periodic in both derivatives, against the cyclic sweep.
        ys.back() = ys.front();
        S cyclic(Points(xs, ys)), dense(Points(xs, ys));
        cyclic.MkPeriodSpline3();
        dense.Make(3, Codes({4, 4}), MatrixOf(2, 2, {0, 0, 0, 0}));
        for (int k = 0; k <= 2; ++k)
            EXPECT_LT(MaxDifference(cyclic, dense, xs.front(), xs.back(), k), 1e-9 * (k + 1) * (k + 1)) << trial;
    }
}

TEST(SplineMake, EachDegreeGivesItsOwnPolynomialsBack) {
    // A polynomial of degree d meets its own end derivatives, so every valid
    // set of codes 0 to 3 must give it back, at sizes where the elimination
    // holds (see the header): its limits depend on the degree and on where
    // the conditions sit.
    struct Case {
        int d;
        std::vector<int> codes;
        int intervals;
    };
    const Case cases[] = {
        {1, {}, 12},                {2, {1}, 4},           {2, {2}, 10},          {3, {3, 0}, 5},
        {3, {0, 3}, 5},             {3, {1, 2}, 5},        {3, {2, 1}, 5},        {3, {1, 1}, 5},
        {3, {2, 2}, 8},             {4, {3, 0, 1}, 8},     {5, {3, 3, 0, 0}, 8},  {5, {3, 0, 3, 0}, 8},
        {5, {0, 0, 3, 3}, 8},       {5, {1, 2, 1, 2}, 8},  {5, {1, 1, 1, 1}, 4},  {5, {2, 2, 2, 2}, 4},
        {7, {3, 0, 3, 0, 3, 0}, 4}, {7, {3, 3, 3, 0, 0, 0}, 5},
    };
    Numbers g(77);
    for (const Case& c : cases) {
        for (int trial = 0; trial < 5; ++trial) {
            V a;
            for (int j = 0; j <= c.d; ++j) a.push_back(g.Real(-1, 1));
            const V xs = Knots(g, c.intervals + 1, 0, 0.5, 1.5);
            const double lo = xs.front(), hi = xs.back();
            // Knots spread over [0, 1], as the sizes above were measured.
            V unit;
            for (double x : xs) unit.push_back((x - lo) / (hi - lo));
            S s = Through(unit, [&](double x) { return Poly(a, x, 0); });
            qvSimpleArray<int> code;
            code.Set(c.d - 1);
            for (int k = 0; k < c.d - 1; ++k) code[k] = c.codes[static_cast<std::size_t>(k)];
            s.Make(c.d, code, c.d > 1 ? EndDerivatives(a, c.d - 1, 0, 1) : qvMatrix<double>());
            for (int i = 0; i <= 100; ++i) {
                const double x = i / 100.0;
                for (int k = 0; k <= c.d + 1; ++k)
                    ASSERT_NEAR(s.Derivative(x, k), Poly(a, x, k), 1e-8 * std::pow(10.0, k))
                        << "d=" << c.d << " trial " << trial << " x=" << x << " k=" << k;
            }
        }
    }
}

TEST(SplineMake, LowDegreesByHandAndRejectedConditions) {
    // Degree 1 is the broken line through the points. Degree 2 with slope 0
    // at the left end through (0, 0), (1, 1), (2, 0) is x² on [0, 1]; its
    // slope 2 carries over to [1, 2], where the fall of 1 makes it
    // 1 + 2t - 3t² with t = x - 1.
    S broken(Points({0, 1, 3}, {1, 3, -1}));
    broken.Make(1, Codes({}), qvMatrix<double>());
    EXPECT_EQ((V{broken(0.5), broken(2), broken.Derivative(2.5, 1), broken.Derivative(0.5, 2)}), (V{2, 1, -2, 0}));
    S quadratic(Points({0, 1, 2}, {0, 1, 0}));
    quadratic.Make(2, Codes({1}), MatrixOf(1, 2, {0, 0}));
    EXPECT_TRUE(cqvtest::Near({quadratic(0.5), quadratic(1.5), quadratic.Derivative(1.0, 1), double(quadratic.Check())},
                              {0.25, 1 + 2 * 0.5 - 3 * 0.25, 2, 1}, 2e-15));

    // Codes that do not add up to d - 1, unknown codes, too few codes or
    // value rows, a degree below 1, a singular system: the spline stays.
    const qvMatrix<double> four = MatrixOf(4, 2, {0, 0, 0, 0, 0, 0, 0, 0});
    S s(Points({0, 1, 2, 3}, {0, 1, 0, 1}));
    s.MkSpline3(Codes({0, 3}), four);
    const auto sample = [&s] {
        V out;
        for (double x = 0; x <= 3; x += 0.125) out.push_back(s(x));
        return out;
    };
    const V before = sample();
    for (const qvSimpleArray<int>& code : {Codes({3, 3, 3, 0}), Codes({1, 1, 1}), Codes({1, 1, 1, 5}),
                                          Codes({1, 1, 1, -1}), Codes({0, 0, 0, 0})})
        CQV_EXPECT_BAD(s.Make(5, code, four), qvMsg::SplineBoundConditions);
    CQV_EXPECT_BAD(s.Make(0, Codes({}), four), qvMsg::SplineBoundConditions);
    CQV_EXPECT_BAD(s.Make(5, Codes({1, 1, 1, 1}), MatrixOf(3, 2, {0, 0, 0, 0, 0, 0})), qvMsg::DifferentSize);
    CQV_EXPECT_BAD(s.Make(3, Codes({3, 0}), MatrixOf(2, 1, {0, 0})), qvMsg::DifferentSize);
    EXPECT_EQ(sample(), before);
    // Two equal knots: no polynomial rises over an empty interval.
    S flat(Points({0, 1, 1, 2}, {0, 1, 2, 3}));
    CQV_EXPECT_BAD(flat.Make(3, Codes({3, 0}), four), qvMsg::SystemNotUnique);
    EXPECT_EQ(flat.Check(), 0);  // still without coefficients
}
