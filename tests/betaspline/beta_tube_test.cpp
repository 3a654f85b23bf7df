// The closed Beta-spline curve and the tube: interpolation through rings
// and rows of points (dense and on the band), closure and smoothness at
// the seam, the wrap copies under editing, length and crossings of the
// closed curve, tubes from contours (resampling, alignment), sharing and
// failures.
#include "beta_test_support.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstring>

using namespace betatest;

namespace {

const double kPi = std::acos(-1.0);

// A contour whose every control point, wrap copies included, the tests can
// read.
class Closed : public BetaContour {
public:
    using BetaContour::BetaContour;
    std::vector<V3> Controls() const {
        std::vector<V3> c;
        for (int i = 0; i < control.Len(); ++i) c.push_back(control[i]);
        return c;
    }
};

// A tube whose net the tests can read.
class Tube : public BetaTube {
public:
    using BetaTube::BetaTube;
    std::vector<V3> Net() const {
        std::vector<V3> c;
        for (int i = 0; i < net.ColumnLen(); ++i)
            for (int j = 0; j < net.LineLen(); ++j) c.push_back(net(i, j));
        return c;
    }
    int Rows() const { return net.ColumnLen(); }
    int Cols() const { return net.LineLen(); }
};

// m points around an uneven loop in space.
Points Loop(int m, double scale = 1.0) {
    Points p(m);
    for (int i = 0; i < m; ++i) {
        const double t = 2 * kPi * i / m;
        p[i] = V3(scale * (2 + 0.3 * std::sin(3 * t)) * std::cos(t), scale * 1.5 * std::sin(t), scale * 0.2 * std::cos(2 * t));
    }
    return p;
}

// rows x cols points: ring i is a loop scaled and lifted with i.
qvMatrix<V3> Rows(int rows, int cols) {
    qvMatrix<V3> p(rows, cols);
    for (int i = 0; i < rows; ++i) {
        const Points ring = Loop(cols, 1.0 + 0.25 * std::sin(0.8 * i));
        for (int j = 0; j < cols; ++j) p(i, j) = ring[j] + V3(0.1 * i, 0, 1.5 * i);
    }
    return p;
}

// A plane contour of n points on an ellipse, starting at angle start.
qvSimpleContour2D Ellipse(int n, double rx, double ry, double start = 0.0) {
    qvSimpleContour2D c(n);
    for (int j = 0; j < n; ++j) {
        const double t = start + 2 * kPi * j / n;
        c[j] = qvVec2(rx * std::cos(t), ry * std::sin(t));
    }
    return c;
}

qvSimpleArray<double> Heights(std::initializer_list<double> zs) {
    qvSimpleArray<double> h(static_cast<int>(zs.size()));
    int i = 0;
    for (double z : zs) h[i++] = z;
    return h;
}

double Curvature(const BetaCurve& c, double u, int dir, double h) {
    const double u1 = u + dir * h, u2 = u + 2 * dir * h;
    return Dist(c.GetTangent(u1), c.GetTangent(u2)) / Dist(c(u1), c(u2));
}

}  // namespace

TEST(BetaContour, PassesThroughTheRingAndClosesOnItselfForEveryShape) {
    for (const auto& shape : kShapes)
        for (int m : {3, 4, 5, 17, 60}) {
            SCOPED_TRACE(::testing::Message() << "skew " << shape.first << " tension " << shape.second << " m " << m);
            const Points p = m == 4 ? PointsOf({V3(0, 0, 0), V3(1, 0, 0), V3(1, 1, 0), V3(0, 1, 0)}) : Loop(m);
            const Closed c(p, shape.first, shape.second);
            ASSERT_EQ(c.GetControlNumber(), m);
            for (int i = 0; i < m; ++i) EXPECT_LT(Dist(c(static_cast<double>(i) / m), p[i]), 1e-13) << i;
            EXPECT_EQ(c(1.0), c(0.0));
            EXPECT_EQ(c(-0.25), c(0.0));
            // The wrap copies, and no seam: position, tangent direction and
            // curvature run on through u = 1 as through any other knot.
            const std::vector<V3> ctl = c.Controls();
            EXPECT_EQ(ctl[0], ctl[static_cast<std::size_t>(m)]);
            EXPECT_EQ(ctl[1], ctl[static_cast<std::size_t>(m + 1)]);
            EXPECT_EQ(ctl[static_cast<std::size_t>(m + 2)], ctl[2]);
            EXPECT_LT(Dist(c(1 - 1e-12), c(0.0)), 1e-9);
            EXPECT_LT(Dist(c.GetTangent(1 - 1e-9), c.GetTangent(0.0)), 1e-6);
            const double before = Curvature(c, 1.0, -1, 1e-6), after = Curvature(c, 0.0, 1, 1e-6);
            EXPECT_NEAR(before, after, 1e-3 * (before + after));

            // The band solve eliminates the classic way: the same control
            // points up to rounding.
            Closed band(shape.first, shape.second);
            band.MakeBandInterpolation(p);
            EXPECT_LT(RelativeGap(band.Controls(), ctl), 1e-12);
        }
}

TEST(BetaContour, LongRingsOnTheBandWhereTheDenseSolverOverflows) {
    // The dense solver divides the rows holding the corner entries by their
    // pivot-column entries at every step, which overflows on a ring of a
    // few hundred points (for skew 2); the band solve passes through every
    // point.
    const int m = 600;
    const Points p = Loop(m);
    Closed dense(2.0, 0.0);
    CQV_EXPECT_BAD(dense.MakeInterpolation(p), qvMsg::SystemNotUnique);
    Closed band(2.0, 0.0);
    band.MakeBandInterpolation(p);
    for (int i = 0; i < m; i += 7) EXPECT_LT(Dist(band(static_cast<double>(i) / m), p[i]), 1e-13) << i;
}

TEST(BetaContour, SetControlKeepsTheWrapCopiesInStep) {
    const int m = 7;
    for (int i : {0, 1, 3, m - 2, m - 1}) {
        SCOPED_TRACE(i);
        Closed c(Loop(m), 1.5, 2.0);
        V3 p = c.GetControl(i) + V3(0.3, 0.2, -0.1);
        c.SetControl(i, p);
        EXPECT_EQ(c.GetControl(i), p);
        const std::vector<V3> ctl = c.Controls();
        EXPECT_EQ(ctl[0], ctl[m]);
        EXPECT_EQ(ctl[1], ctl[m + 1]);
        EXPECT_EQ(ctl[m + 2], ctl[2]);
        EXPECT_LT(Dist(c(1 - 1e-12), c(0.0)), 1e-9);
    }
}

TEST(BetaContour, LengthAndCrossingsOfTheClosedCurve) {
    // The inherited length samples the contour itself: for a circle of
    // radius 2, the arc up to the last sample (u = 0.98), as far as fifty
    // chords approximate it.
    for (const auto& shape : kShapes) {
        const BetaContour circle(Circle(40, 2.0, false), shape.first, shape.second);
        double last = 0;
        for (double u = 0.02; u <= 1; u += 0.02) last = u;
        const V3 end = circle(last);
        const double arc = 2.0 * (2 * kPi + std::atan2(end.Y(), end.X()));
        EXPECT_NEAR(circle.GetLength(), arc, 2.5e-3 * arc) << shape.first << " " << shape.second;
    }
    // The vertical line x = 1 meets the circle on its upper half from u0 =
    // 0.2 and on its lower half from u0 = 0.8.
    const BetaContour circle(Circle(24, 2.0, false));
    V3 up(0, 1, 0), at(1, 0, 0);
    const double upper = circle.FindCrossection(up, at, 0.2), lower = circle.FindCrossection(up, at, 0.8);
    EXPECT_NEAR(circle(upper).X(), 1.0, 1e-6);
    EXPECT_NEAR(circle(lower).X(), 1.0, 1e-6);
    EXPECT_GT(circle(upper).Y(), 1.7);
    EXPECT_LT(circle(lower).Y(), -1.7);
}

TEST(BetaContour, CopiesFailuresAndTheVirtualTable) {
    BetaContour a(Loop(6), 2.0, 1.0);
    BetaContour shared(a);
    V3 p(5, 5, 5);
    shared.SetControl(0, p);
    EXPECT_EQ(a.GetControl(0), p);
    BetaContour b(Loop(9));
    b = a;
    EXPECT_EQ(b(0.3), a(0.3));
    EXPECT_EQ(b.GetSkew(), 2.0);

    // Through the base class, the contour's own operations run.
    const BetaCurve& base = a;
    EXPECT_EQ(base.GetControlNumber(), 6);
    EXPECT_EQ(base(1.0), a(0.0));

    Closed c(Loop(5));
    const std::vector<V3> before = c.Controls();
    CQV_EXPECT_BAD(c.MakeInterpolation(Loop(2)), qvMsg::BetaContourTooFewPoints);
    CQV_EXPECT_BAD(c.MakeBandInterpolation(Points()), qvMsg::BetaContourTooFewPoints);
    // Skew 1 and tension -8 weigh D_{i-2} and D_i by 1/2 and D_{i-1} by 0:
    // rings of a multiple of 4 points split into cycles of even length,
    // which are singular, and the elimination meets an exact zero.
    CQV_EXPECT_BAD(c.Init(Loop(4), 1.0, -8.0), qvMsg::SystemNotUnique);
    Closed singular(1.0, -8.0);
    CQV_EXPECT_BAD(singular.MakeBandInterpolation(Loop(8)), qvMsg::SystemNotUnique);
    EXPECT_EQ(c.Controls(), before);
    EXPECT_EQ(c.GetTension(), 0.0);
    CQV_EXPECT_BAD(BetaContour()(0.5), qvMsg::BetaCurveNoControls);
    EXPECT_EQ(BetaContour().GetControlNumber(), 0);
}

#if defined(__GNUC__) && !defined(_WIN32)
TEST(BetaContour, OverridesTheFiveSlots) {
    const auto slot = [](auto member) {
        std::ptrdiff_t raw;
        std::memcpy(&raw, &member, sizeof raw);
        return static_cast<int>((raw - 1) / static_cast<std::ptrdiff_t>(sizeof(void*)));
    };
    EXPECT_EQ(slot(&BetaContour::operator()), 0);
    EXPECT_EQ(slot(&BetaContour::GetTangent), 1);
    EXPECT_EQ(slot(&BetaContour::GetControl), 2);
    EXPECT_EQ(slot(&BetaContour::GetControlNumber), 3);
    EXPECT_EQ(slot(&BetaContour::SetControl), 4);
}
#endif

TEST(BetaTube, PassesThroughEveryRowOfPointsDenseAndOnTheBand) {
    for (const auto& shape : kShapes) {
        SCOPED_TRACE(::testing::Message() << "skew " << shape.first << " tension " << shape.second);
        const int mv = 5, mu = 7;
        qvMatrix<V3> p = Rows(mv, mu);
        const Tube t(p, shape.first, shape.second);
        ASSERT_EQ(t.Rows(), mv + 2);
        ASSERT_EQ(t.Cols(), mu + 3);
        for (int i = 0; i < mv; ++i)
            for (int j = 0; j < mu; ++j)
                EXPECT_LT(Dist(t(static_cast<double>(j) / mu, i / (mv - 1.0)), p(i, j)), 1e-12) << i << " " << j;
        for (double v : {-1.0, 0.0, 0.4, 1.0, 3.0}) EXPECT_EQ(t(1.0, v), t(0.0, v)) << v;
        EXPECT_EQ(t(0.3, -2.0), t(0.3, 0.0));
        // Every ring of the tube is the closed curve through its row: the
        // same at any u, not only at the points.
        for (int i = 0; i < mv; ++i) {
            Points row(mu);
            for (int j = 0; j < mu; ++j) row[j] = p(i, j);
            const BetaContour ring(row, shape.first, shape.second);
            for (double u = 0.03; u < 1; u += 0.1) EXPECT_LT(Dist(t(u, i / (mv - 1.0)), ring(u)), 1e-12) << i << " " << u;
        }

        Tube band(shape.first, shape.second);
        band.MakeBandInterpolation(p);
        EXPECT_LT(RelativeGap(band.Net(), t.Net()), 1e-12);
        // A window with other strides holds the same points.
        qvMatrix<V3> transposed(mu, mv);
        for (int i = 0; i < mv; ++i)
            for (int j = 0; j < mu; ++j) transposed(j, i) = p(i, j);
        qvMatrix<V3> view;
        view.SetDirectly(transposed.GetPointer(), mv, mu, 1, mv);
        band.MakeBandInterpolation(view);
        EXPECT_LT(RelativeGap(band.Net(), t.Net()), 1e-12);
    }
}

TEST(BetaTube, IdenticalRingsAtThreeHeights) {
    qvMatrix<V3> p(3, 8);
    const Points ring = Loop(8);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 8; ++j) p(i, j) = ring[j] + V3(0, 0, i);
    const BetaTube t(p, 0.8, 3.0);
    const BetaContour first(ring, 0.8, 3.0);
    for (double u = 0; u < 1; u += 0.05) {
        EXPECT_LT(Dist(t(u, 0.0), first(u)), 1e-13) << u;
        EXPECT_LT(Dist(t(u, 1.0), first(u) + V3(0, 0, 2)), 1e-13) << u;
        EXPECT_LT(Dist(t(u, 0.5), first(u) + V3(0, 0, 1)), 1e-13) << u;
    }
}

TEST(BetaTube, FromContoursResampledAndAligned) {
    // Each case: point counts of an ellipse and two circles, and the count
    // their rings get. The second circle starts five points on, which
    // alignment with the first undoes.
    struct Case {
        int n[3];
        int ring;
    };
    for (const Case& c : {Case{{40, 50, 50}, 50}, Case{{300, 300, 300}, 200}, Case{{24, 24, 24}, 24}}) {
        SCOPED_TRACE(c.ring);
        qvSimpleArray<qvSimpleContour2D> k(3);
        k[0] = Ellipse(c.n[0], 3, 2);
        k[1] = Ellipse(c.n[1], 2.5, 2.5);
        k[2] = Ellipse(c.n[2], 2.5, 2.5, 2 * kPi * 5 / c.n[2]);
        const qvSimpleArray<double> z = Heights({0, 1, 3});
        Tube t(1.2, 0.5), band(1.2, 0.5);
        t.MakeInterpolation(k, z);
        band.MakeBandInterpolation(k, z);
        EXPECT_LT(RelativeGap(band.Net(), t.Net()), 1e-12);
        // The caller's contours are untouched.
        EXPECT_EQ(k[2].Len(), c.n[2]);
        EXPECT_EQ(k[2][0].X(), 2.5 * std::cos(2 * kPi * 5 / c.n[2]));
        // Ring i passes through the contour's points at j/N, starting at
        // the point nearest to the first ring's start.
        for (int i = 0; i < 3; ++i) {
            const double v = i == 0 ? 0.0 : i == 1 ? 0.5 : 1.0;
            int shift = 0;
            double best = 1e300;
            for (int s = 0; s < c.ring; ++s) {
                const qvVec2 q = k[i](static_cast<double>(s) / c.ring);
                const double d = Dist(V3(q.X(), q.Y(), z[i]), t(0.0, v));
                if (d < best) best = d, shift = s;
            }
            EXPECT_LT(best, 1e-9) << i;
            for (int j = 0; j < c.ring; ++j) {
                const qvVec2 q = k[i](static_cast<double>((j + shift) % c.ring) / c.ring);
                EXPECT_LT(Dist(t(static_cast<double>(j) / c.ring, v), V3(q.X(), q.Y(), z[i])), 1e-9) << i << " " << j;
            }
            // Aligned starts agree to a point and a half: the strip areas of
            // neighbouring shifts of equal contours tie, and rounding picks
            // one of them. (The second circle starts 5 of its own points,
            // 5·ring/n of the resampled ones, after the first.)
            const double want = i == 2 ? c.ring - 5.0 * c.ring / c.n[2] : 0.0;
            const double off = std::fabs(shift - want);
            EXPECT_LE(std::min(off, c.ring - off), 1.5) << i;
        }
    }
}

TEST(BetaTube, SharingAndFailures) {
    qvMatrix<V3> p = Rows(4, 6), q = Rows(4, 6);
    q *= V3(2, 2, 2);
    BetaTube a(p), shared(a);
    // Assignment of a tube of the same size writes into the shared net.
    const BetaTube other(q, 1.0, 0.0);
    shared = other;
    EXPECT_EQ(a(0.2, 0.7), other(0.2, 0.7));
    // Interpolation builds a new net; the copy keeps the old one.
    BetaTube copy(a);
    a.MakeInterpolation(p);
    EXPECT_EQ(copy(0.2, 0.7), other(0.2, 0.7));
    EXPECT_NE(a(0.2, 0.7), copy(0.2, 0.7));
    a.vInterpolation();
    EXPECT_LT(Dist(a(0.0, 0.0), p(0, 0)), 1e-13);

    const V3 before = a(0.4, 0.4);
    qvMatrix<V3> oneRing = Rows(1, 6), twoPoints = Rows(3, 2);
    CQV_EXPECT_BAD(a.MakeInterpolation(oneRing), qvMsg::BetaTubeTooFewRings);
    CQV_EXPECT_BAD(a.MakeBandInterpolation(twoPoints), qvMsg::BetaContourTooFewPoints);
    qvMatrix<V3> eight = Rows(3, 8);
    CQV_EXPECT_BAD(a.Init(eight, 1.0, -8.0), qvMsg::SystemNotUnique);
    qvSimpleArray<qvSimpleContour2D> k(2);
    k[0] = Ellipse(10, 1, 1);
    k[1] = Ellipse(12, 1, 1);
    CQV_EXPECT_BAD(a.MakeInterpolation(k, Heights({0})), qvMsg::BetaTubeHeights);
    k[1] = qvSimpleContour2D();
    CQV_EXPECT_BAD(a.MakeInterpolation(k, Heights({0, 1})), qvMsg::CurveNoPoint);
    k.Set(1);
    CQV_EXPECT_BAD(a.MakeBandInterpolation(k, Heights({0})), qvMsg::BetaTubeTooFewRings);
    EXPECT_EQ(a(0.4, 0.4), before);
    EXPECT_EQ(a.GetTension(), 0.0);
    CQV_EXPECT_BAD(BetaTube()(0.5, 0.5), qvMsg::BetaTubeNoNet);
}
