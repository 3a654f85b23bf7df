// The closed Beta-spline curve and the tube: interpolation through rings and
// rows of points (dense and on the band), closure and smoothness at the
// seam, the wrap copies, length and crossings of the closed curve, tubes
// from contours (resampling, alignment), sharing and failures.
#include "beta_test_support.h"

#include <algorithm>
#include <initializer_list>
#include <iterator>
#include <vector>

using namespace betatest;

namespace {

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
};

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
    for (int j = 0; j < n; ++j) c[j] = qvVec2(rx * std::cos(start + 2 * kPi * j / n), ry * std::sin(start + 2 * kPi * j / n));
    return c;
}

qvSimpleArray<double> Heights(std::initializer_list<double> zs) {
    qvSimpleArray<double> h(static_cast<int>(zs.size()));
    std::copy(zs.begin(), zs.end(), h.begin());
    return h;
}

}  // namespace

TEST(BetaContour, PassesThroughTheRingAndClosesOnItself) {
    for (const auto& shape : kShapes)
        for (int m : {3, 4, 5, 17, 60}) {
            SCOPED_TRACE(::testing::Message() << "skew " << shape.first << " tension " << shape.second << " m " << m);
            const Points p = m == 4 ? PointsOf({V3(0, 0, 0), V3(1, 0, 0), V3(1, 1, 0), V3(0, 1, 0)}) : Loop(m);
            const Closed c(p, shape.first, shape.second);
            ASSERT_EQ(c.GetControlNumber(), m);
            for (int i = 0; i < m; ++i) EXPECT_LT(Dist(c(static_cast<double>(i) / m), p[i]), 1e-13) << i;
            EXPECT_EQ(std::vector<V3>({c(1.0), c(-0.25)}), std::vector<V3>(2, c(0.0)));
            // The wrap copies, and no seam: position, tangent direction and
            // curvature run on through u = 1 as through any other knot.
            const std::vector<V3> ctl = c.Controls();
            EXPECT_EQ(std::vector<V3>({ctl[0], ctl[1], ctl[m + 2]}), std::vector<V3>({ctl[m], ctl[m + 1], ctl[2]}));
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
    // Editing a point moves its wrap copy along.
    for (int i : {0, 1, 3, 5, 6}) {
        Closed c(Loop(7), 1.5, 2.0);
        V3 p = c.GetControl(i) + V3(0.3, 0.2, -0.1);
        c.SetControl(i, p);
        const std::vector<V3> ctl = c.Controls();
        EXPECT_EQ(std::vector<V3>({c.GetControl(i), ctl[0], ctl[1], ctl[9]}), std::vector<V3>({p, ctl[7], ctl[8], ctl[2]}))
            << i;
    }
}

TEST(BetaContour, LongRingsOnTheBandWhereTheDenseSolverOverflows) {
    // The dense solver divides the rows holding the corner entries by their
    // pivot-column entries at every step, which overflows on a ring of a
    // few hundred points (for skew 2); the band solve passes every point.
    const int m = 600;
    const Points p = Loop(m);
    Closed dense(2.0, 0.0), band(2.0, 0.0);
    CQV_EXPECT_BAD(dense.MakeInterpolation(p), qvMsg::SystemNotUnique);
    band.MakeBandInterpolation(p);
    for (int i = 0; i < m; i += 7) EXPECT_LT(Dist(band(static_cast<double>(i) / m), p[i]), 1e-13) << i;
}

TEST(BetaContour, LengthCrossingsSharingAndFailures) {
    // The inherited length samples the contour itself (the shape makes no
    // other path): for a circle of radius 2, the arc to the last sample, as
    // far as fifty chords go.
    const BetaContour round(Loop(40, 2.0, true), 1.5, 1.0);
    EXPECT_NEAR(round.GetLength(), ArcTo(round(LastSample()), 2), 2.5e-3 * 4 * kPi);
    // The line x = 1 meets the circle on its upper half from u0 = 0.2 and on
    // its lower half from u0 = 0.8.
    const BetaContour circle(Loop(24, 2.0, true));
    V3 up(0, 1, 0), at(1, 0, 0);
    const V3 upper = circle(circle.FindCrossection(up, at, 0.2)), lower = circle(circle.FindCrossection(up, at, 0.8));
    EXPECT_TRUE(cqvtest::Near({upper.X(), lower.X()}, {1, 1}, 1e-6));
    EXPECT_TRUE(upper.Y() > 1.7 && lower.Y() < -1.7);

    BetaContour a(Loop(6), 2.0, 1.0), shared(a), b(Loop(9));
    V3 p(5, 5, 5);
    shared.SetControl(0, p);
    EXPECT_EQ(a.GetControl(0), p);
    b = a;
    const BetaCurve& base = b;
    EXPECT_EQ(std::make_pair(base(1.0), base.GetControlNumber()), std::make_pair(a(0.0), 6));

    // Skew 1 and tension -8 weigh D_{i-2} and D_i by 1/2 and D_{i-1} by 0: a
    // ring of a multiple of 4 points splits into cycles of even length,
    // which are singular, and the elimination meets an exact zero.
    Closed c(Loop(5)), singular(1.0, -8.0);
    const std::vector<V3> before = c.Controls();
    CQV_EXPECT_BAD(c.MakeInterpolation(Loop(2)), qvMsg::BetaContourTooFewPoints);
    CQV_EXPECT_BAD(c.MakeBandInterpolation(Points()), qvMsg::BetaContourTooFewPoints);
    CQV_EXPECT_BAD(c.Init(Loop(4), 1.0, -8.0), qvMsg::SystemNotUnique);
    CQV_EXPECT_BAD(singular.MakeBandInterpolation(Loop(8)), qvMsg::SystemNotUnique);
    EXPECT_EQ(c.Controls(), before);
    EXPECT_EQ(c.GetTension(), 0.0);
    CQV_EXPECT_BAD(singular(0.5), qvMsg::BetaCurveNoControls);
    EXPECT_EQ(singular.GetControlNumber(), 0);
}

TEST(BetaTube, PassesThroughEveryRowOfPoints) {
    for (const auto& shape : kShapes) {
        SCOPED_TRACE(::testing::Message() << "skew " << shape.first << " tension " << shape.second);
        const int mv = 5, mu = 7;
        qvMatrix<V3> p = Rows(mv, mu);
        const Tube t(p, shape.first, shape.second);
        ASSERT_EQ(t.Net().size(), static_cast<std::size_t>((mv + 2) * (mu + 3)));
        for (int i = 0; i < mv; ++i)
            for (int j = 0; j < mu; ++j)
                EXPECT_LT(Dist(t(static_cast<double>(j) / mu, i / (mv - 1.0)), p(i, j)), 1e-12) << i << " " << j;
        for (double v : {-1.0, 0.4, 3.0}) EXPECT_EQ(t(1.0, v), t(0.0, v)) << v;
        EXPECT_EQ(t(0.3, -2.0), t(0.3, 0.0));
    }
    // Identical rings at heights 0, 1, 2 are the closed curve through the
    // ring, lifted, at v = 0, 1/2 and 1.
    qvMatrix<V3> p(3, 8);
    const Points ring = Loop(8);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 8; ++j) p(i, j) = ring[j] + V3(0, 0, i);
    const BetaTube t(p, 0.8, 3.0);
    const BetaContour first(ring, 0.8, 3.0);
    for (double u = 0; u < 1; u += 0.05)
        for (int i = 0; i < 3; ++i) EXPECT_LT(Dist(t(u, i / 2.0), first(u) + V3(0, 0, i)), 1e-13) << u << " " << i;
}

TEST(BetaTube, BandBuildAgreesWithTheDenseOneAcrossRingGroupsAndRowExchanges) {
    // Ring counts below, at and past the sixteen rings solved side by
    // side, for every shape and for shapes whose eliminations along
    // exchange rows: skew 3 at the last step, skew 5 at nearly every step,
    // tension -5 in the middle; and more columns than the band solve takes
    // at once (256), for the B-spline (the dense solver overflows on such
    // rings of other shapes). The band build reads the points through a
    // window whose strides run the other way, and writes the wrap columns
    // of every row itself.
    std::vector<std::pair<double, double>> shapes(std::begin(kShapes), std::end(kShapes));
    for (const auto& more : {std::make_pair(3.0, 0.0), std::make_pair(5.0, 0.0), std::make_pair(1.0, -5.0)})
        shapes.push_back(more);
    const int sizes[][2] = {{2, 9}, {15, 9}, {16, 9}, {17, 9}, {34, 9}, {20, 300}};
    for (const auto& shape : shapes)
        for (const auto& size : sizes) {
            const int mv = size[0], mu = size[1];
            if (mu > 256 && shape != shapes.front()) continue;
            SCOPED_TRACE(::testing::Message() << "skew " << shape.first << " tension " << shape.second << " mv " << mv
                                              << " mu " << mu);
            qvMatrix<V3> p = Rows(mv, mu), transposed(mu, mv), view;
            for (int i = 0; i < mv; ++i)
                for (int j = 0; j < mu; ++j) transposed(j, i) = p(i, j);
            view.SetDirectly(transposed.GetPointer(), mv, mu, 1, mv);
            const Tube dense(p, shape.first, shape.second);
            Tube band(shape.first, shape.second);
            band.MakeBandInterpolation(view);
            const std::vector<V3> net = band.Net();
            EXPECT_LT(RelativeGap(net, dense.Net()), 1e-12);
            for (int r = 0; r < mv + 2; ++r) {
                const V3* row = &net[static_cast<std::size_t>(r) * (mu + 3)];
                EXPECT_EQ(std::vector<V3>({row[0], row[1], row[mu + 2]}), std::vector<V3>({row[mu], row[mu + 1], row[2]}))
                    << r;
            }
        }
}

TEST(BetaTube, FromContoursResampledAndAligned) {
    // Point counts of an ellipse and two circles, and the count their rings
    // get. The second circle starts five of its points after the first,
    // which alignment undoes.
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
        EXPECT_EQ(std::make_pair(k[2].Len(), k[2][0].X()), std::make_pair(c.n[2], 2.5 * std::cos(2 * kPi * 5 / c.n[2])));
        // Ring i passes through the contour's points at j/N from the one
        // nearest the tube's start on.
        for (int i = 0; i < 3; ++i) {
            const double v = i == 0 ? 0.0 : i == 1 ? 0.5 : 1.0;
            const auto point = [&](int j) {
                const qvVec2 q = k[i](static_cast<double>(j % c.ring) / c.ring);
                return V3(q.X(), q.Y(), z[i]);
            };
            int shift = 0;
            for (int s = 1; s < c.ring; ++s)
                if (Dist(point(s), t(0.0, v)) < Dist(point(shift), t(0.0, v))) shift = s;
            for (int j = 0; j < c.ring; ++j)
                EXPECT_LT(Dist(t(static_cast<double>(j) / c.ring, v), point(j + shift)), 1e-9) << i << " " << j;
            // Aligned starts agree within a point and a half: the strip areas
            // of neighbouring shifts of equal contours tie, and rounding
            // picks one (the second circle starts 5·ring/n resampled points
            // late).
            const double want = i == 2 ? c.ring - 5.0 * c.ring / c.n[2] : 0.0, off = std::fabs(shift - want);
            EXPECT_LE(std::min(off, c.ring - off), 1.5) << i;
        }
    }
}

TEST(BetaTube, SharingAndFailures) {
    qvMatrix<V3> p = Rows(4, 6), q = Rows(4, 6), oneRing = Rows(1, 6), twoPoints = Rows(3, 2), eight = Rows(3, 8);
    q *= V3(2, 2, 2);
    // Assignment of a tube of the same size writes into the shared net;
    // interpolation makes a new one, and the copy keeps the old.
    BetaTube a(p), shared(a);
    const BetaTube other(q, 1.0, 0.0);
    shared = other;
    EXPECT_EQ(a(0.2, 0.7), other(0.2, 0.7));
    const BetaTube copy(a);
    a.MakeInterpolation(p);
    a.vInterpolation();
    EXPECT_EQ(copy(0.2, 0.7), other(0.2, 0.7));
    EXPECT_LT(Dist(a(0.0, 0.0), p(0, 0)), 1e-13);

    const V3 before = a(0.4, 0.4);
    qvSimpleArray<qvSimpleContour2D> k(2), one(1);
    k[0] = Ellipse(10, 1, 1);
    CQV_EXPECT_BAD(a.MakeInterpolation(oneRing), qvMsg::BetaTubeTooFewRings);
    CQV_EXPECT_BAD(a.MakeBandInterpolation(twoPoints), qvMsg::BetaContourTooFewPoints);
    CQV_EXPECT_BAD(a.Init(eight, 1.0, -8.0), qvMsg::SystemNotUnique);
    CQV_EXPECT_BAD(a.MakeInterpolation(k, Heights({0})), qvMsg::BetaTubeHeights);
    CQV_EXPECT_BAD(a.MakeInterpolation(k, Heights({0, 1})), qvMsg::CurveNoPoint);
    CQV_EXPECT_BAD(a.MakeBandInterpolation(one, Heights({0})), qvMsg::BetaTubeTooFewRings);
    EXPECT_EQ(std::make_pair(a(0.4, 0.4), a.GetTension()), std::make_pair(before, 0.0));
    CQV_EXPECT_BAD(BetaTube()(0.5, 0.5), qvMsg::BetaTubeNoNet);

    // Skew 1 and tension -8 make rings of 8 points singular around and an
    // odd number of rings singular along: the band build fails as the
    // dense one does, either way, and leaves the net as it was.
    qvMatrix<V3> fine = Rows(4, 5);
    Tube s(fine, 1.0, -8.0);
    const std::vector<V3> net = s.Net();
    qvMatrix<V3> around = Rows(4, 8), along = Rows(5, 5);
    for (qvMatrix<V3>* q : {&around, &along}) {
        CQV_EXPECT_BAD(Tube(1.0, -8.0).MakeInterpolation(*q), qvMsg::SystemNotUnique);
        CQV_EXPECT_BAD(s.MakeBandInterpolation(*q), qvMsg::SystemNotUnique);
        EXPECT_EQ(s.Net(), net);
    }
}
