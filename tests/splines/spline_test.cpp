// The cubic spline: construction and copies, the interval of a point, the
// cubic and periodic builders against closed forms and their own
// conditions, derivatives against finite differences, and the self-test.
// (That every boundary code gives a cubic back: spline_make_test.cpp, for
// the builder of any degree, which the cubic builder agrees with.)
#include "spline_test_support.h"

#include "cqv_near.h"

#include <cmath>
#include <limits>

using namespace splinetest;

namespace {

constexpr double kPi = 3.14159265358979323846;

// The value matrix of MkSpline3: row 0 the end slopes, row 1 the end
// curvatures.
qvMatrix<double> Ends(double s0, double s1, double m0, double m1) { return MatrixOf(2, 2, {s0, s1, m0, m1}); }

// Values at a spread of points, for comparing a spline before and after.
V Sample(const S& s, double lo, double hi) {
    V out;
    for (int i = 0; i <= 40; ++i) out.push_back(s(lo + (hi - lo) * i / 40));
    return out;
}

}  // namespace

TEST(Spline, ConstructionAndIndependentCopies) {
    CQV_EXPECT_BAD(S(Points({}, {})), qvMsg::NewWithRefNonPositive);
    CQV_EXPECT_BAD(S(Points({0}, {0})), qvMsg::NewWithRefNonPositive);
    CQV_EXPECT_BAD(S(Points({0, 1}, {0, 1})), qvMsg::SplineTooFewPoints);
    qvSimpleArray<qvColumnVector<double>> shortPoint = Points({0, 1, 2}, {0, 1, 2});
    shortPoint[1] = qvColumnVector<double>(1);
    CQV_EXPECT_BAD(S{shortPoint}, qvMsg::DifferentSize);

    // An empty spline: nothing to locate, nothing to build, nothing wrong.
    S empty;
    EXPECT_EQ((V{double(empty.GetNumberOfPoint()), double(empty.Check())}), (V{0, 1}));
    CQV_EXPECT_BAD(empty(0), qvMsg::SplineOutOfRange);
    CQV_EXPECT_BAD(empty.MkSpline3(Codes({3, 0}), Ends(0, 0, 0, 0)), qvMsg::SplineTooFewPoints);
    CQV_EXPECT_BAD(empty.Make(3, Codes({3, 0}), Ends(0, 0, 0, 0)), qvMsg::SplineTooFewPoints);
    CQV_EXPECT_BAD(empty.MkPeriodSpline3(), qvMsg::DifferentSize);

    // The points are copied, read through the vectors' strides: a later
    // write into the source changes nothing.
    qvMatrix<double> table = MatrixOf(2, 4, {0, 1, 2, 3, 0, 1, 4, 9});
    qvSimpleArray<qvColumnVector<double>> columns(4);
    for (int j = 0; j < 4; ++j) table.GetColumn(columns[j], j);
    S s(columns);
    table(1, 2) = 100;
    s.MkSpline3(Codes({0, 3}), Ends(0, 0, 0, 0));
    EXPECT_EQ(s.GetNumberOfPoint(), 4);
    EXPECT_TRUE(cqvtest::Near(V{s(0), s(1), s(2), s(3)}, V{0, 1, 4, 9}, 1e-14));

    // Assigned copies share nothing: rebuilding or reassigning the source
    // leaves them as they were (copies made by construction:
    // spline_build_test.cpp).
    const V before = Sample(s, 0, 3);
    S assigned;
    assigned = s;
    const S& same = assigned;
    assigned = same;
    s.MkSpline3(Codes({3, 0}), Ends(-5, 5, 0, 0));
    EXPECT_NE(Sample(s, 0, 3), before);
    s = S(Points({0, 1, 2}, {7, 7, 7}));
    EXPECT_EQ(Sample(assigned, 0, 3), before);
}

TEST(Spline, TheIntervalOfAPoint) {
    // Knots spread unevenly, crowded at one end, many at random gaps, and
    // evenly spaced ones (where a search that starts from x's place
    // between the ends is exact at once, but for rounding).
    Numbers g(11);
    V crowded;
    for (int i = 0; i < 60; ++i) crowded.push_back(std::pow(1.25, i) - 1);
    V even;
    for (int i = 0; i < 500; ++i) even.push_back(0.1 * i);
    for (const V& xs : {V{-1, 0, 0.5, 3, 3.25, 10}, crowded, Knots(g, 2000, -50, 0.001, 1), even}) {
        const S s = Through(xs, [](double x) { return x; });
        const int n = static_cast<int>(xs.size());
        const double lo = xs.front(), hi = xs.back();
        // Every knot, the points just beside it, and random points.
        V probes;
        for (double x : xs) {
            probes.push_back(x);
            if (x > lo) probes.push_back(std::nextafter(x, lo));
            if (x < hi) probes.push_back(std::nextafter(x, hi));
        }
        for (int i = 0; i < 2000; ++i) probes.push_back(g.Real(lo, hi));
        // The same answer from any starting interval, also one outside.
        for (double x : probes) {
            const int want = FirstAbove(xs, x);
            ASSERT_EQ(s.GetSegmentNum(x), want) << x;
            for (int near : {want, want - 1, want + 1, 0, n - 2, n / 3, -5, n + 5})
                ASSERT_EQ(s.GetSegmentNum(x, near), want) << x << " from " << near;
        }
        // A NaN belongs to the last interval, as the last knot does (an
        // inner knot, among the probes above, to the interval on its right).
        EXPECT_EQ(s.GetSegmentNum(std::numeric_limits<double>::quiet_NaN()), n - 2);
        EXPECT_EQ(s.GetSegmentNum(std::numeric_limits<double>::quiet_NaN(), 0), n - 2);
        for (double out : {std::nextafter(lo, -1e300), std::nextafter(hi, 1e300), -1e300, 1e300}) {
            CQV_EXPECT_BAD(s.GetSegmentNum(out), qvMsg::SplineOutOfRange);
            CQV_EXPECT_BAD(s.GetSegmentNum(out, 1), qvMsg::SplineOutOfRange);
            CQV_EXPECT_BAD(s(out), qvMsg::SplineOutOfRange);
            CQV_EXPECT_BAD(s.Derivative(out, 1), qvMsg::SplineOutOfRange);
        }
    }
}

TEST(Spline, ClosedFormsAndWrongConditions) {
    // A straight line through three points with its own slope at both ends:
    // every moment is 0 and the line comes back exactly.
    S line = Through({0, 1, 3}, [](double x) { return 2 * x + 1; });
    line.MkSpline3(Codes({3, 0}), Ends(2, 2, 0, 0));
    EXPECT_EQ((V{line(0.5), line(2), line.Derivative(2.5, 1), line.Derivative(1.5, 2)}), (V{2, 5, 2, 0}));

    // The natural spline through (0, 0), (1, 1), (2, 0) by hand: M_1 = -3,
    // so on [0, 1] S(x) = -x³/2 + 3x/2, S(0.5) = 0.6875, S'(0) = 1.5. The
    // polynomial named by its index evaluates anywhere, also beyond its
    // interval: S(2) = -1, S'(-1) = 0 on the first.
    S natural(Points({0, 1, 2}, {0, 1, 0}));
    natural.MkSpline3(Codes({0, 3}), Ends(0, 0, 0, 0));
    EXPECT_TRUE(cqvtest::Near(V{natural(0.5), natural(1.5), natural.Derivative(1, 0), natural.Derivative(2, 1),
                                natural(2, 0), natural.Derivative(-1, 1, 0)},
                              V{0.6875, 0.6875, 1.5, -3, -1, 0}, 1e-15));
    EXPECT_EQ((V{natural.Derivative(2, 0), natural.Derivative(2, 2), natural.Derivative(0.25, 4)}), (V{0, 0, 0}));

    // Conditions that do not count two, a short code array or value matrix:
    // rejected before anything changes.
    const V before = Sample(natural, 0, 2);
    for (const qvSimpleArray<int>& code : {Codes({1, 0}), Codes({3, 3}), Codes({0, 0}), Codes({3, 1}), Codes({3})})
        CQV_EXPECT_BAD(natural.MkSpline3(code, Ends(1, 1, 1, 1)), qvMsg::SplineBoundConditions);
    CQV_EXPECT_BAD(natural.MkSpline3(Codes({0, 3}), MatrixOf(1, 2, {0, 0})), qvMsg::DifferentSize);
    CQV_EXPECT_BAD(natural.MkSpline3(Codes({3, 0}), MatrixOf(2, 1, {0, 0})), qvMsg::DifferentSize);
    EXPECT_EQ(Sample(natural, 0, 2), before);

    // The self-test's tolerance is absolute (a failed build keeps its
    // polynomials: spline_build_test.cpp). A spline not yet built has
    // polynomials of no coefficients, worth 0:
    // values 0.01 away from them pass, the next double does not.
    EXPECT_EQ(S(Points({0, 1, 2}, {0.01, -0.01, 0})).Check(), 1);
    EXPECT_EQ(S(Points({0, 1, 2}, {0, std::nextafter(0.01, 1), 0})).Check(), 0);
}

TEST(Spline, DerivativesAtAndAcrossKnots) {
    Numbers g(23);
    const V xs = Knots(g, 12, 0, 0.3, 1.5);
    V ys;
    for (std::size_t i = 0; i < xs.size(); ++i) ys.push_back(g.Real(-2, 2));
    S s(Points(xs, ys));
    s.MkSpline3(Codes({3, 0}), Ends(0.5, -1, 0, 0));
    const int n = static_cast<int>(xs.size());

    // At the knots the values, the joins up to the curvature, the end
    // slopes, and the point form on the right interval. (That each
    // derivative inside an interval is the polynomial's: every degree
    // against exact polynomials in spline_make_test.cpp.)
    EXPECT_LT(Misses(s, ys), 1e-12);
    EXPECT_LT(Joins(s, xs, 2), 1e-9);
    EXPECT_TRUE(cqvtest::Near(V{s.Derivative(1, 0), s.Derivative(1, n - 1)}, V{0.5, -1}, 1e-12));
    for (int i = 0; i < n; ++i)
        for (int k = 0; k <= 3; ++k) EXPECT_EQ(s.Derivative(k, i), s.Derivative(xs[i], k, i < n - 1 ? i : n - 2));
    for (int bad : {-1, n}) CQV_EXPECT_BAD(s.Derivative(1, bad), qvMsg::SplineOutOfRange);
    for (int bad : {-1, n - 1}) {
        CQV_EXPECT_BAD(s(xs[0], bad), qvMsg::SplineOutOfRange);
        CQV_EXPECT_BAD(s.Derivative(xs[0], 1, bad), qvMsg::SplineOutOfRange);
    }
}

TEST(Spline, PeriodicSplineClosesItsSeam) {
    CQV_EXPECT_BAD(S(Points({0, 1, 2}, {0, 1, 0})).MkPeriodSpline3(), qvMsg::DifferentSize);

    // One period of a sine at uneven knots, from 4 points up, the last value
    // repeating the first. Values at the knots, smooth joins, and slope and
    // curvature matching across the seam fix the periodic spline, so no
    // other reference is needed; with 40 points it is close to the sine.
    Numbers g(3);
    for (int n : {4, 5, 9, 40}) {
        V xs = Knots(g, n, 0, 0.5, 1.5);
        const double w = 2 * kPi / xs.back();
        V ys;
        for (double x : xs) ys.push_back(std::sin(w * x));
        ys.back() = ys.front();
        S s(Points(xs, ys));
        s.MkPeriodSpline3();
        const double scale = 1 + w * w * n * n;
        EXPECT_LT(Misses(s, ys), 1e-12) << n;
        EXPECT_LT(Joins(s, xs, 2), 1e-12 * scale) << n;
        for (int k = 1; k <= 2; ++k) EXPECT_NEAR(s.Derivative(k, 0), s.Derivative(k, n - 1), 1e-12 * scale) << n;
        EXPECT_EQ(s.Check(), 1);
        for (double x = 0; n == 40 && x <= xs.back(); x += xs.back() / 97) EXPECT_NEAR(s(x), std::sin(w * x), 1e-3);
    }
}
