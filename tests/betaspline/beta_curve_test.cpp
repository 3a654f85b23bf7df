// The open Beta-spline curve: interpolation (dense and on the band),
// evaluation against the textbook basis, continuity at the knots, tangents
// against difference quotients, editing, length, crossings, re-sampling by
// arc length, sharing, failures and the virtual table.
#include "beta_test_support.h"

#include <cmath>
#include <cstddef>
#include <cstring>

using namespace betatest;

namespace {

// Curvature of the curve from the side of u given by dir (+1 or -1):
// the turn of the unit tangent over the arc between u + dir·h and
// u + 2·dir·h.
double Curvature(const BetaCurve& c, double u, int dir, double h) {
    const double u1 = u + dir * h, u2 = u + 2 * dir * h;
    return Dist(c.GetTangent(u1), c.GetTangent(u2)) / Dist(c(u1), c(u2));
}

}  // namespace

TEST(BetaCurve, PassesThroughEveryPointForEveryShapeDenseAndOnTheBand) {
    for (const auto& shape : kShapes)
        for (int m : {2, 3, 7, 40}) {
            SCOPED_TRACE(::testing::Message() << "skew " << shape.first << " tension " << shape.second << " m " << m);
            const Points p = Wavy(m, 3.0);
            const OpenCurve c(p, shape.first, shape.second);
            ASSERT_EQ(c.GetControlNumber(), m);
            // The ends are control points C_1 and C_{S-2}, as solved.
            EXPECT_EQ(c(0.0), c.GetControl(0));
            EXPECT_EQ(c(-5.0), c.GetControl(0));
            EXPECT_EQ(c(1.0), c.GetControl(m - 1));
            EXPECT_EQ(c(7.0), c.GetControl(m - 1));
            for (int j = 0; j < m; ++j) EXPECT_LT(Dist(c(j / (m - 1.0)), p[j]), 1e-13) << j;
            // The curve leaves its first point and reaches its last one
            // without a jump: the phantom control points are right.
            EXPECT_LT(Dist(c(1e-12), p[0]), 1e-9);
            EXPECT_LT(Dist(c(1 - 1e-12), p[m - 1]), 1e-9);

            OpenCurve band(shape.first, shape.second);
            band.MakeBandInterpolation(p);
            EXPECT_EQ(band.Controls(), c.Controls());
        }
}

TEST(BetaCurve, BSplineCurveIsTheTextbookSumOverItsControlPoints) {
    const OpenCurve c(Wavy(9));
    const std::vector<V3> ctl = c.Controls();
    const int S = static_cast<int>(ctl.size());
    for (double u = 0.001; u < 1; u += 0.0237) {
        const double s = (S - 3) * u;
        V3 want(0, 0, 0);
        for (int j = 0; j < S; ++j) want += ctl[static_cast<std::size_t>(j)] * UniformBSpline(s - j + 1);
        EXPECT_LT(Dist(c(u), want), 1e-14) << u;
    }
}

TEST(BetaCurve, ContinuousInPositionTangentDirectionAndCurvatureAtTheKnots) {
    for (const auto& shape : kShapes) {
        SCOPED_TRACE(::testing::Message() << "skew " << shape.first << " tension " << shape.second);
        const int m = 8;
        const BetaCurve c(Wavy(m), shape.first, shape.second);
        for (int knot = 1; knot < m - 1; ++knot) {
            const double u = knot / (m - 1.0);
            const double eps = 1e-9;
            EXPECT_LT(Dist(c(u - eps), c(u + eps)), 1e-7) << knot;
            EXPECT_LT(Dist(c.GetTangent(u - eps), c.GetTangent(u + eps)), 1e-6) << knot;
            const double left = Curvature(c, u, -1, 1e-6), right = Curvature(c, u, 1, 1e-6);
            EXPECT_NEAR(left, right, 1e-3 * (left + right)) << knot;
        }
    }
}

TEST(BetaCurve, TangentsAreTheDerivativeInTheSplineParameter) {
    for (const auto& shape : kShapes) {
        SCOPED_TRACE(::testing::Message() << "skew " << shape.first << " tension " << shape.second);
        const int m = 6, pieces = m - 1;
        const BetaCurve c(Wavy(m), shape.first, shape.second);
        // At the ends the derivative by s = (S - 3)·u, not normalised.
        const double h = 1e-7;
        const V3 start = (c(h / pieces) - c(0.0)) / h, end = (c(1.0) - c(1 - h / pieces)) / h;
        EXPECT_LT(Dist(c.GetTangent(0.0), start), 1e-5 * start.Norm());
        EXPECT_LT(Dist(c.GetTangent(-1.0), start), 1e-5 * start.Norm());
        EXPECT_LT(Dist(c.GetTangent(1.0), end), 1e-5 * end.Norm());
        // Inside, the unit vector along the derivative.
        for (double u = 0.05; u < 1; u += 0.1) {
            const V3 d = c(u + h) - c(u - h);
            EXPECT_LT(Dist(c.GetTangent(u), d / d.Norm()), 1e-6) << u;
        }
    }
}

TEST(BetaCurve, SetControlMovesOnePointAndKeepsTheEnds) {
    // Which control points (indices into C_0 .. C_{S-1}) each edit moves, on
    // a curve of 8 points (S = 10) and on one of 2 (S = 4), where the first
    // matching rule wins.
    struct Edit {
        int m, i;
        std::vector<int> moved;
        bool endsKept;
    };
    const Edit edits[] = {{8, 0, {0, 1}, true},  {8, 1, {0, 2}, true}, {8, 7, {8, 9}, true},
                          {8, 6, {7, 9}, true},  {8, 3, {4}, true},    {2, 0, {0, 1}, false},
                          {2, 1, {0, 2}, false}};
    for (const auto& shape : kShapes)
        for (const Edit& e : edits) {
            SCOPED_TRACE(::testing::Message() << "skew " << shape.first << " m " << e.m << " i " << e.i);
            OpenCurve c(Wavy(e.m), shape.first, shape.second);
            const std::vector<V3> before = c.Controls();
            V3 p = c.GetControl(e.i) + V3(0.5, -0.25, 1.0);
            c.SetControl(e.i, p);
            EXPECT_EQ(c.GetControl(e.i), p);
            const std::vector<V3> after = c.Controls();
            std::vector<int> moved;
            for (std::size_t j = 0; j < after.size(); ++j)
                if (after[j] != before[j]) moved.push_back(static_cast<int>(j));
            EXPECT_EQ(moved, e.moved);
            // The curve still leaves C_1 and reaches C_{S-2} without a jump.
            const V3 first = c.GetControl(0), last = c.GetControl(e.m - 1);
            EXPECT_LT(Dist(c(1e-12), first), 1e-9);
            if (e.endsKept) {
                EXPECT_LT(Dist(c(1 - 1e-12), last), 1e-9);
            }
        }
}

TEST(BetaCurve, LengthIsThePolylineThroughFiftySamples) {
    // Evenly spaced points on a line give the B-spline curve x = 49·u; the
    // polyline ends at the fiftieth sample, u = 0.98.
    std::vector<V3> line;
    for (int i = 0; i < 8; ++i) line.push_back(V3(7.0 * i, 0, 0));
    EXPECT_NEAR(BetaCurve(PointsOf(line)).GetLength(), 0.98 * 49, 1e-12);
    // A sampled circle of radius 2, once around: the arc up to the last
    // sample, as far as fifty chords approximate it (a sample more or less
    // would change the length by 2 %).
    const double pi = std::acos(-1.0);
    for (const auto& shape : kShapes) {
        const BetaCurve circle(Circle(41, 2.0, true), shape.first, shape.second);
        double last = 0;
        for (double u = 0.02; u <= 1; u += 0.02) last = u;
        const V3 end = circle(last);
        const double arc = 2.0 * (2 * pi + std::atan2(end.Y(), end.X()));
        EXPECT_NEAR(circle.GetLength(), arc, 2.5e-3 * arc) << shape.first << " " << shape.second;
    }
}

TEST(BetaCurve, CrossingsWithLinesInThePlane) {
    std::vector<V3> pts;
    for (int i = 0; i < 7; ++i) pts.push_back(V3(i, std::sin(i), 0.5 * i));
    const OpenCurve c(PointsOf(pts), 1.5, 1.0);
    // The vertical line x = 3.3: Newton on x, to 1e-6.
    V3 up(0, 1, 0), at(3.3, 0, 0);
    double u = c.FindCrossection(up, at, 0.5);
    EXPECT_NEAR(c(u).X(), 3.3, 1e-6);
    EXPECT_EQ(c.FindCrosY(up, at, 0.5), u);
    // The line y = x/2 - 1 through (0, -1): Newton on y - x/2 + 1.
    V3 slope(2, 1, 0), start(0, -1, 0);
    u = c.FindCrossection(slope, start, 0.5);
    EXPECT_NEAR(c(u).Y() - c(u).X() / 2 + 1, 0.0, 1e-4);
    EXPECT_EQ(c.FindCrosX(slope, start, 0.5), u);
    // No direction to work with, or no crossing: 0.
    V3 flat(1, 0, 0), none(0, 0, 0), far(1000, 0, 0);
    EXPECT_EQ(c.FindCrosX(up, at, 0.5), 0.0);
    EXPECT_EQ(c.FindCrosY(flat, at, 0.5), 0.0);
    EXPECT_EQ(c.FindCrossection(none, at, 0.5), 0.0);
    EXPECT_EQ(c.FindCrossection(up, far, 0.5), 0.0);
}

TEST(BetaCurve, RebuildSpacesThePointsByArcLength) {
    // Points crowded at one end, far apart at the other.
    std::vector<V3> pts;
    for (int i = 0; i < 12; ++i) pts.push_back(V3(0.05 * i * i, std::sin(0.3 * i), 0.1 * i));
    for (const auto& shape : kShapes) {
        SCOPED_TRACE(::testing::Message() << "skew " << shape.first << " tension " << shape.second);
        const BetaCurve old(PointsOf(pts), shape.first, shape.second);
        const double length = old.GetLength();
        for (int k : {5, 9, 20}) {
            OpenCurve c(PointsOf(pts), shape.first, shape.second);
            c.Rebuild(k);
            const int n = c.GetControlNumber();
            ASSERT_GE(n, 2);
            ASSERT_LE(n, k);
            EXPECT_EQ(c.GetSkew(), shape.first);
            // Point i sits where the chords from the start add up to i
            // steps of length/k, within 0.1/k, unless it is the old end.
            // (The new curve passes through point i at u = i/(n - 1).)
            const auto point = [&](int i) { return c(i / (n - 1.0)); };
            double along = 0;
            for (int i = 1; i < n; ++i) {
                along += Dist(point(i), point(i - 1));
                if (Dist(point(i), old(1.0)) < 1e-12) continue;
                EXPECT_LT(std::fabs(along - i * length / k) * k, 0.1 + 1e-9) << k << " " << i;
            }
            EXPECT_LT(Dist(c(0.0), old(0.0)), 1e-15);
        }
    }
    // Fewer than 5 points asked for: nothing changes.
    OpenCurve c(PointsOf(pts));
    const std::vector<V3> before = c.Controls();
    c.Rebuild(4);
    EXPECT_EQ(c.Controls(), before);
    // A curve so long that the acceptance band lies below what doubles can
    // resolve: every search stops at its bound, and the rebuild ends.
    OpenCurve huge(Wavy(30, 1e14));
    huge.Rebuild(1000);
    EXPECT_GE(huge.GetControlNumber(), 2);
    EXPECT_LE(huge.GetControlNumber(), 1000);
}

TEST(BetaCurve, CopiesShareTheControlPointsAndAssignmentCopiesThem) {
    BetaCurve a(Wavy(6), 2.0, 1.0);
    BetaCurve shared(a);
    V3 p(9, 9, 9);
    shared.SetControl(3, p);
    EXPECT_EQ(a.GetControl(3), p);
    EXPECT_EQ(shared.GetSkew(), 2.0);
    // Interpolating the copy through as many points writes through.
    shared.MakeInterpolation(Wavy(6, 2.0));
    EXPECT_EQ(a.GetControl(5), Wavy(6, 2.0)[5]);

    BetaCurve b(Wavy(4));
    b = a;
    EXPECT_EQ(b.GetTension(), 1.0);
    EXPECT_EQ(b.GetControlNumber(), 6);
    EXPECT_EQ(b(0.37), a(0.37));
    V3 q(-1, -1, -1);
    b.SetControl(2, q);
    EXPECT_NE(a.GetControl(2), q);
}

TEST(BetaCurve, FailuresLeaveTheCurveAsItWas) {
    OpenCurve c(Wavy(5), 2.0, 1.0);
    const std::vector<V3> before = c.Controls();
    CQV_EXPECT_BAD(c.Init(Wavy(1), 1.0, 0.0), qvMsg::BetaCurveTooFewPoints);
    CQV_EXPECT_BAD(c.MakeInterpolation(Points()), qvMsg::BetaCurveTooFewPoints);
    CQV_EXPECT_BAD(c.MakeBandInterpolation(Wavy(1)), qvMsg::BetaCurveTooFewPoints);
    // Skew 0 leaves the first phantom point in no equation.
    CQV_EXPECT_BAD(c.Init(Wavy(5), 0.0, 0.0), qvMsg::SystemNotUnique);
    OpenCurve flat(0.0, 0.0);
    CQV_EXPECT_BAD(flat.MakeBandInterpolation(Wavy(5)), qvMsg::SystemNotUnique);
    EXPECT_EQ(c.Controls(), before);
    EXPECT_EQ(c.GetSkew(), 2.0);
    EXPECT_EQ(c.GetTension(), 1.0);

    const BetaCurve empty;
    EXPECT_EQ(empty.GetControlNumber(), 0);
    CQV_EXPECT_BAD(empty(0.5), qvMsg::BetaCurveNoControls);
    CQV_EXPECT_BAD(empty.GetTangent(0.5), qvMsg::BetaCurveNoControls);
    CQV_EXPECT_BAD(empty.GetLength(), qvMsg::BetaCurveNoControls);
}

namespace {

// A curve that is a straight segment whatever its control points.
class Segment : public BetaCurve {
public:
    using BetaCurve::BetaCurve;
    qvTVec3<double> operator()(double u) const override { return qvTVec3<double>(u, 2 * u, 0); }
};

}  // namespace

TEST(BetaCurve, LengthCrossingAndRebuildEvaluateThroughTheVirtualOperator) {
    Segment s(Wavy(5));
    EXPECT_NEAR(s.GetLength(), 0.98 * std::sqrt(5.0), 1e-12);
    V3 up(0, 1, 0), at(0.25, 0, 0);
    EXPECT_NEAR(s.FindCrossection(up, at, 0.9), 0.25, 1e-9);
    s.Rebuild(6);
    EXPECT_EQ(s.GetControlNumber(), 6);
    // Six points a sixth of the segment's counted length apart, through
    // which the spline of the control points passes.
    for (int i = 0; i < 6; ++i)
        EXPECT_LT(Dist(s.BetaCurve::operator()(i / 5.0), V3(1, 2, 0) * (0.98 * i / 6)), 0.1 / 6) << i;
}

#if defined(__GNUC__) && !defined(_WIN32)
TEST(BetaCurve, FiveVirtualOperationsInSlotOrder) {
    // Under the Itanium ABI a pointer to a virtual member holds one plus the
    // byte offset of its slot in the virtual table.
    const auto slot = [](auto member) {
        std::ptrdiff_t raw;
        std::memcpy(&raw, &member, sizeof raw);
        return static_cast<int>((raw - 1) / static_cast<std::ptrdiff_t>(sizeof(void*)));
    };
    EXPECT_EQ(slot(&BetaCurve::operator()), 0);
    EXPECT_EQ(slot(&BetaCurve::GetTangent), 1);
    EXPECT_EQ(slot(&BetaCurve::GetControl), 2);
    EXPECT_EQ(slot(&BetaCurve::GetControlNumber), 3);
    EXPECT_EQ(slot(&BetaCurve::SetControl), 4);
}
#endif
