// The plane spline curve: its construction checks, closed and open forms
// through their points, end slopes in the parameter, arc lengths against
// circles and segments, and the spline's own Set from a curve.
#include "spline_test_support.h"

#include "cqv_near.h"

#include <cmath>
#include <vector>

using namespace splinetest;
using cqvtest::Near;

namespace {

constexpr double kPi = 3.14159265358979323846;

qvCurve2D CurveOf(const std::vector<qvVec2>& pts) {
    qvCurve2D c(static_cast<int>(pts.size()));
    for (int i = 0; i < c.Len(); ++i) c[i] = pts[static_cast<std::size_t>(i)];
    return c;
}

// n points on the circle of radius r about (cx, cy), from angle phase on,
// the first repeated at the end.
qvCurve2D Circle(int n, double r, double cx, double cy, double phase) {
    std::vector<qvVec2> pts;
    for (int i = 0; i < n; ++i) {
        const double a = phase + 2 * kPi * i / n;
        pts.push_back(qvVec2(cx + r * std::cos(a), cy + r * std::sin(a)));
    }
    pts.push_back(pts.front());
    return CurveOf(pts);
}

// The length of the polyline through m + 1 points of the curve, evenly
// spaced in t: a lower bound that closes in on the arc length.
double Chords(const qvSplineCurve2D& c, int m) {
    double sum = 0;
    qvVec2 last = c.GetPoint(0);
    for (int i = 1; i <= m; ++i) {
        const qvVec2 p = c.GetPoint(i == m ? 1.0 : static_cast<double>(i) / m);
        sum += (p - last).Norm();
        last = p;
    }
    return sum;
}

}  // namespace

TEST(SplineCurve, PointCountsAndTypes) {
    const qvCurve2D three = CurveOf({qvVec2(0, 0), qvVec2(1, 0), qvVec2(1, 1)});
    const qvCurve2D two = CurveOf({qvVec2(0, 0), qvVec2(1, 0)});
    CQV_EXPECT_BAD(qvSplineCurve2D{three}, qvMsg::SplineCurveFourPoints);
    for (int type : {1, 2, 3}) CQV_EXPECT_BAD(qvSplineCurve2D(two, type), qvMsg::SplineCurveThreePoints);
    for (int type : {0, 3, -1}) CQV_EXPECT_BAD(qvSplineCurve2D(three, type), qvMsg::SplineCurveWrongType);

    // The spline's own Set: fewer than 3 points change nothing; otherwise
    // the curve's points with polynomials still to be built.
    // (That a build after Set is a fresh build: spline_build_test.cpp.)
    S s(Points({0, 1, 2, 3}, {0, 1, 0, 1}));
    s.MkPeriodSpline3();
    CQV_EXPECT_BAD(s.Set(two), qvMsg::SplineTooFewPoints);
    EXPECT_EQ((V{double(s.GetNumberOfPoint()), double(s.Check())}), (V{4, 1}));
    s.Set(CurveOf({qvVec2(0, 2), qvVec2(1, 3), qvVec2(4, 4)}));
    s.MkSpline3(Codes({0, 3}), MatrixOf(2, 2, {0, 0, 0, 0}));
    EXPECT_EQ((V{double(s.GetNumberOfPoint()), s(0), s(1), s(4)}), (V{3, 2, 3, 4}));
}

TEST(SplineCurve, TheClosedSquare) {
    // The unit square, its first corner repeated: the corners at t = 0,
    // 1/4, 1/2, 3/4, and back to (0, 0) at t = 1 with the slope and the
    // curvature it left with.
    const qvSplineCurve2D c(CurveOf({qvVec2(0, 0), qvVec2(1, 0), qvVec2(1, 1), qvVec2(0, 1), qvVec2(0, 0)}));
    const double ts[] = {0, 0.25, 0.5, 0.75, 1};
    const qvVec2 corners[] = {qvVec2(0, 0), qvVec2(1, 0), qvVec2(1, 1), qvVec2(0, 1), qvVec2(0, 0)};
    for (int i = 0; i < 5; ++i)
        EXPECT_TRUE(Near({c.GetPoint(ts[i]).X(), c.GetPoint(ts[i]).Y()}, {corners[i].X(), corners[i].Y()}, 1e-15)) << i;
    for (int k = 1; k <= 2; ++k)
        EXPECT_TRUE(Near({c.X().Derivative(k, 0), c.Y().Derivative(k, 0)},
                         {c.X().Derivative(k, 4), c.Y().Derivative(k, 4)}, 1e-12)) << k;
    // By symmetry the curve bulges out past each side's middle equally.
    const qvVec2 mid = c.GetPoint(0.125);
    EXPECT_NEAR(mid.X(), 0.5, 1e-12);
    EXPECT_LT(mid.Y(), 0);
    EXPECT_NEAR(c.GetPoint(0.625).Y(), 1 - mid.Y(), 1e-12);
    CQV_EXPECT_BAD(c.GetPoint(1.0000001), qvMsg::SplineOutOfRange);
}

TEST(SplineCurve, OpenEndsAndTheirSlopesInTheParameter) {
    // Three points on a line: either type gives the straight segment, x = 2t,
    // y = 0, of length 2.
    for (int type : {1, 2}) {
        const qvSplineCurve2D c(CurveOf({qvVec2(0, 0), qvVec2(1, 0), qvVec2(2, 0)}), type);
        for (double t : {0.1, 0.3, 0.7, 0.95}) {
            EXPECT_NEAR(c.GetPoint(t).X(), 2 * t, 1e-15) << type;
            EXPECT_EQ(c.GetPoint(t).Y(), 0) << type;
            EXPECT_NEAR(c.GetTangent(t).X(), 2, 1e-14) << type;
        }
        EXPECT_NEAR(c.GetLengthOfCurve(), 2, 1e-3) << type;
    }

    // Type 1 on (0, 0), (1, 1), (2, 0): end slopes in t are the chord slopes
    // with steps of 1/2, so 2 and 2 for x, 2 and -2 for y. Type 2 has no
    // curvature at the ends instead.
    const qvCurve2D roof = CurveOf({qvVec2(0, 0), qvVec2(1, 1), qvVec2(2, 0)});
    const qvSplineCurve2D clamped(roof, 1);
    EXPECT_TRUE(Near(V{clamped.X().Derivative(1, 0), clamped.X().Derivative(1, 2),
                                clamped.Y().Derivative(1, 0), clamped.Y().Derivative(1, 2)},
                              V{2, 2, 2, -2}, 1e-14));
    const qvSplineCurve2D natural(roof, 2);
    EXPECT_EQ((V{natural.X().Derivative(2, 0), natural.Y().Derivative(2, 0), natural.Y().Derivative(2, 2)}),
              (V{0, 0, 0}));

    // Repeated points are kept, the parameter stays uniform in the index:
    // the curve stops at the doubled point for a quarter of the parameter's
    // range around t = 1/4 and 1/2.
    const qvSplineCurve2D stop(CurveOf({qvVec2(0, 0), qvVec2(1, 1), qvVec2(1, 1), qvVec2(2, 0), qvVec2(3, 1)}), 2);
    for (double t : {0.25, 0.5}) EXPECT_TRUE(Near({stop.GetPoint(t).X(), stop.GetPoint(t).Y()}, {1, 1}, 1e-15)) << t;

    // Copies hold splines of their own.
    qvSplineCurve2D copy(clamped);
    qvSplineCurve2D assigned(roof, 2);
    assigned = clamped;
    copy.X().MkSpline3(Codes({3, 0}), MatrixOf(2, 2, {-5, 5, 0, 0}));
    EXPECT_TRUE(Near({copy.X().Derivative(1, 0), clamped.X().Derivative(1, 0), assigned.X().Derivative(1, 0)},
                     {-5, 2, 2}, 1e-14));
}

TEST(SplineCurve, ArcLengthOfCirclesThroughTheirSamples) {
    // A closed spline through samples of a circle stays close to it, so its
    // length approaches the circle's as the samples grow denser.
    for (int n : {24, 48, 100})
        for (double r : {0.5, 1.0, 3.0, 10.0}) {
            const qvSplineCurve2D c(Circle(n, r, 2, -1, 0.3));
            const double want = 2 * kPi * r;
            EXPECT_NEAR(c.GetLengthOfCurve(), want, 5e-5 * want) << n << " " << r;
            for (double t = 0; t < 1; t += 0.01) {
                const qvVec2 p = c.GetPoint(t);
                EXPECT_NEAR(std::hypot(p.X() - 2, p.Y() + 1), r, 1e-4 * r) << n << " " << t;
            }
        }

    // The tolerance bounds the difference of two successive values, not the
    // error. Through 7 samples the halving runs its course, and the length
    // matches that of a fine inscribed polyline (a lower bound). Through 12,
    // evenly spread in the parameter, the first samples all fall on knots,
    // where the speed is the same, two values agree at once, and the length
    // comes out short by more than the tolerance, yet within 5e-4 of it.
    const qvSplineCurve2D seven(Circle(7, 10, 0, 0, 0));
    EXPECT_NEAR(seven.GetLengthOfCurve(), Chords(seven, 20000), 1e-4);
    const qvSplineCurve2D twelve(Circle(12, 10, 0, 0, 0));
    const double chords = Chords(twelve, 20000);
    EXPECT_LT(twelve.GetLengthOfCurve(), chords - 0.01);
    EXPECT_NEAR(twelve.GetLengthOfCurve(), chords, 5e-4 * chords);
}
