// Curves and contours: measures, containment, self-intersection, cutting,
// resampling and correspondence, on the boundary cases raster data makes
// common (points on edges and vertices, collinear edges, repeated points,
// zero area).
#include "geometry_test_support.h"

#include <cstring>
#include <string>

using namespace geomtest;

namespace {

const Points kSquare = {{0, 0}, {1, 0}, {1, 1}, {0, 1}};

// Squared distance helpers for the reference computations.
double Cross(const qvVec2& o, const qvVec2& a, const qvVec2& b) {
    return (a.X() - o.X()) * (b.Y() - o.Y()) - (a.Y() - o.Y()) * (b.X() - o.X());
}

// Reference containment for integer contours: 0 on an edge, else the
// winding number's verdict (a different method from the ray parity).
int ReferenceInside(const qvSimpleContour2D& c, const qvVec2& p) {
    int wn = 0;
    for (int i = 0; i < c.Len(); ++i) {
        const qvVec2& a = c[i];
        const qvVec2& b = c[(i + 1) % c.Len()];
        const bool within = std::fmin(a.X(), b.X()) <= p.X() && p.X() <= std::fmax(a.X(), b.X()) &&
                            std::fmin(a.Y(), b.Y()) <= p.Y() && p.Y() <= std::fmax(a.Y(), b.Y());
        if (Cross(a, b, p) == 0 && within) return 0;
        if (a.Y() <= p.Y()) {
            if (b.Y() > p.Y() && Cross(a, b, p) > 0) ++wn;
        } else if (b.Y() <= p.Y() && Cross(a, b, p) < 0) {
            --wn;
        }
    }
    return wn != 0 ? 1 : -1;
}

// The strip area between contours a (shifted left by m) and b, computed
// directly from its definition.
double Strip(const qvSimpleContour2D& a, const qvSimpleContour2D& b, int m) {
    const int n = a.Len();
    auto side = [](const qvVec2& p, const qvVec2& q) { return std::sqrt((p - q).ScalarMul() + 100); };
    auto heron = [](double x, double y, double z) {
        const double s = (x + y + z) / 2;
        return std::sqrt(s * (s - x) * (s - y) * (s - z));
    };
    double sum = 0;
    for (int i = 0; i < n; ++i) {
        const qvVec2 &ai = a[(i + m) % n], &aj = a[(i + m + 1) % n], &bi = b[i], &bj = b[(i + 1) % n];
        sum += heron(side(ai, bi), side(bi, bj), side(bj, ai));
        sum += heron(side(ai, aj), side(aj, bj), side(bj, ai));
    }
    return sum / 2;
}

qvSimpleContour2D RotatedLeft(qvSimpleContour2D c, int k) {
    c.CycleLeftShift(k);
    return c;
}

}  // namespace

TEST(Contour, MeasuresOfShapes) {
    struct Case {
        const char* name;
        Points pts;
        double signedArea, perimeter;
        int orient;
    };
    const Case cases[] = {
        {"square", kSquare, 1, 4, 0},
        {"square clockwise", {{0, 0}, {0, 1}, {1, 1}, {1, 0}}, -1, 4, 1},
        {"L shape", {{0, 0}, {2, 0}, {2, 1}, {1, 1}, {1, 2}, {0, 2}}, 3, 8, 0},
        {"repeated point", {{0, 0}, {4, 0}, {4, 0}, {0, 3}}, 6, 12, 0},
        {"collinear, zero area", {{0, 0}, {1, 1}, {2, 2}}, 0, 4 * std::sqrt(2.0), 1},
        {"one point", {{3, 4}}, 0, 0, 1},
        {"empty", {}, 0, 0, 1},
    };
    for (const Case& k : cases) {
        SCOPED_TRACE(k.name);
        const qvSimpleContour2D c = Make(k.pts);
        EXPECT_EQ(c.GetSignedS(), k.signedArea);
        EXPECT_EQ(c.GetS(), std::fabs(k.signedArea));
        EXPECT_DOUBLE_EQ(c.GetLengthOfCurve(), k.perimeter);
        EXPECT_EQ(c.GetOrient(), k.orient);
    }
    // A regular polygon against its closed forms.
    const int n = 1000;
    qvSimpleContour2D reg(n);
    for (int i = 0; i < n; ++i) reg[i] = qvVec2(std::cos(2 * kPi * i / n), std::sin(2 * kPi * i / n));
    EXPECT_NEAR(reg.GetS(), n / 2.0 * std::sin(2 * kPi / n), 1e-12);
    EXPECT_NEAR(reg.GetLengthOfCurve(), 2 * n * std::sin(kPi / n), 1e-12);

    // Centre, bounding rectangle, the nearest and farthest points (ties to
    // the lowest index) of the L shape.
    const qvCurve2D l = Make<qvCurve2D>(cases[2].pts);
    EXPECT_TRUE(Near(Coords(l.GetCenter()), {1, 1}, 1e-15));
    const qvRect<qvVec2> box = l.GetRect();
    EXPECT_TRUE(box == qvRect<qvVec2>(qvVec2(0, 0), qvVec2(2, 2)));
    EXPECT_EQ(Coords(box.Size()), (Doubles{2, 2}));
    EXPECT_EQ(std::vector<int>({box.IsInside(qvVec2(2, 0)), box.IsInside(qvVec2(1, 2.5))}), std::vector<int>({1, 0}));
    double d = -1;
    EXPECT_EQ(l.GetIndexOfMinDistance(d, qvVec2(1, 0.5)), 3);
    EXPECT_EQ(d, 0.5);
    EXPECT_EQ(l.GetIndexOfMinDistance(d, qvVec2(1, 0)), 0);  // (0, 0), (2, 0), (1, 1) at 1
    EXPECT_EQ(d, 1);
    EXPECT_EQ(l.GetIndexOfMaxDistance(d, qvVec2(1, 1)), 0);  // (0, 0), (2, 0), (0, 2) at sqrt(2)
    EXPECT_DOUBLE_EQ(d, std::sqrt(2.0));
    for (auto call : {+[](const qvCurve2D& c) { c.GetCenter(); }, +[](const qvCurve2D& c) { c.GetRect(); },
                      +[](const qvCurve2D& c) { double x; c.GetIndexOfMinDistance(x, qvVec2(0, 0)); },
                      +[](const qvCurve2D& c) { int j; c.GetIndexOfMaxDistance(j, Make<qvCurve2D>({{0, 0}})); }})
        CQV_EXPECT_BAD(call(qvCurve2D()), qvMsg::CurveNoPoint);
}

TEST(Contour, OrientationAndParameter) {
    qvSimpleContour2D c = Make(kSquare);
    c.SetOrient(1);
    EXPECT_EQ(PointsOf(c), (Points{{0, 1}, {1, 1}, {1, 0}, {0, 0}}));
    EXPECT_EQ(c.GetOrient(), 1);
    c.SetOrient(1);
    EXPECT_EQ(c.GetOrient(), 1);
    c.SetOrient(0);
    EXPECT_EQ(PointsOf(c), kSquare);

    // Uniform over the vertices; t = 1 closes the loop, beyond it wraps.
    struct {
        double t, x, y;
    } const at[] = {{0, 0, 0}, {0.125, 0.5, 0}, {0.5, 1, 1}, {0.875, 0, 0.5}, {1, 0, 0}, {1.25, 1, 0}, {-0.25, 0, 1}};
    for (const auto& a : at) EXPECT_EQ(Coords(c(a.t)), (Doubles{a.x, a.y})) << "t = " << a.t;
    CQV_EXPECT_BAD(qvSimpleContour2D()(0.5), qvMsg::CurveNoPoint);
}

// Hand-made cases of the ray meeting vertices and horizontal edges (points on
// the edges and vertices of plain polygons are compared with the winding
// number on the grid stars below).
TEST(Contour, InsidePointOnBoundaryVerticesAndHorizontalEdges) {
    // A U on the grid: horizontal edges at the heights of the test points,
    // a repeated vertex and collinear edges along the bottom.
    const qvSimpleContour2D u =
        Make({{0, 0}, {1, 0}, {3, 0}, {3, 0}, {3, 3}, {2, 3}, {2, 1}, {1, 1}, {1, 3}, {0, 3}});
    const qvSimpleContour2D diamond = Make({{0, -1}, {1, 0}, {0, 1}, {-1, 0}});
    const qvSimpleContour2D flat = Make({{0, 0}, {2, 0}, {1, 0}});
    struct Case {
        const qvSimpleContour2D* c;
        double x, y;
        int want;
    };
    const Case cases[] = {
        // The ray meets a vertex where the boundary crosses it (once), and
        // vertices that only touch it (twice or not at all).
        {&diamond, -0.5, 0, 1}, {&diamond, -2, 0, -1}, {&diamond, -2, 1, -1}, {&diamond, 0, 1, 0},
        {&diamond, 0.5, 0.5, 0},  {&diamond, 0.5, -0.5, 0}, {&diamond, 0, -1, 0},
        // Inside an arm at the height of the notch's floor; in the notch;
        // on the floor; left of a horizontal edge at its height.
        {&u, 0.5, 1, 1},      {&u, 1.5, 2, -1},   {&u, 1.5, 1, 0},      {&u, -1, 3, -1},      {&u, 2.5, 3, 0},
        {&u, 2, 0, 0},        {&u, 3, 0, 0},      {&u, 2.5, 0.5, 1},    {&u, -1, 1, -1},
        // Zero area: only the boundary, never inside.
        {&flat, 1.5, 0, 0},   {&flat, 1, 1, -1},  {&flat, -1, 0, -1},
    };
    for (const Case& k : cases) EXPECT_EQ(k.c->IsInsidePoint(qvVec2(k.x, k.y)), k.want) << k.x << ", " << k.y;
    EXPECT_EQ(qvSimpleContour2D().IsInsidePoint(qvVec2(0, 0)), -1);
}

TEST(Contour, InsidePointAgreesWithWindingOnGridStars) {
    for (unsigned seed = 1; seed <= 4; ++seed) {
        const qvSimpleContour2D star = Star(40, 20, seed);
        for (int y = -25; y <= 25; ++y)
            for (int x = -25; x <= 25; ++x) {
                const qvVec2 p(x, y);
                ASSERT_EQ(star.IsInsidePoint(p), ReferenceInside(star, p)) << x << ", " << y << " seed " << seed;
            }
        // Every vertex and every edge midpoint is on the boundary.
        for (int i = 0; i < star.Len(); ++i) {
            EXPECT_EQ(star.IsInsidePoint(star[i]), 0);
            EXPECT_EQ(star.IsInsidePoint((star[i] + star[(i + 1) % star.Len()]) / 2), 0);
        }
    }
}

// The boundary rules by name (plain crossings, repeated points and shapes
// without any are among the random grid polygons below), a large polygon,
// and the rule checked pair by pair on crowded random ones.
TEST(Contour, SelfIntersection) {
    struct Case {
        const char* name;
        Points pts;
        int want;
    };
    const Case cases[] = {
        {"touches itself in a repeated vertex", {{0, 0}, {2, 0}, {1, 1}, {2, 2}, {0, 2}, {1, 1}}, 0},
        {"crosses itself in a repeated vertex", {{0, 0}, {1, 1}, {2, 2}, {2, 0}, {1, 1}, {0, 2}}, 1},
        {"starts an edge inside another", {{0, 0}, {2, 0}, {1, 0}, {1, 1}}, 1},
        {"zero area back and forth", {{0, 0}, {2, 0}, {1, 0}}, 0},
        {"empty", {}, 0},
    };
    for (const Case& k : cases) EXPECT_EQ(Make(k.pts).IsIntersect(), k.want) << k.name;
    qvSimpleContour2D star = Star(200, 300);
    EXPECT_EQ(star.IsIntersect(), 0);
    std::swap(star[10], star[150]);
    EXPECT_EQ(star.IsIntersect(), 1);

    // Against the rule pair by pair, on polygons crowded onto a 3 x 3 grid
    // (touching, collinear and repeated points everywhere).
    auto sign = [](const qvVec2& x, const qvVec2& y, const qvVec2& z) {
        const double c = Cross(x, y, z);
        return (c > 0) - (c < 0);
    };
    unsigned seed = 99;
    int crossing = 0;
    for (int round = 0; round < 3000; ++round) {
        const int n = 3 + round % 7;
        qvSimpleContour2D c(n);
        for (int i = 0; i < n; ++i) {
            seed = seed * 1103515245u + 12345u;
            c[i] = qvVec2((seed >> 10) % 3, (seed >> 20) % 3);
        }
        int want = 0;
        for (int i = 0; i + 1 < n && !want; ++i)
            for (int k = i + 1; k < n && !want; ++k) {
                const qvVec2 &a = c[i], &b = c[i + 1], &cc = c[k], &d = c[(k + 1) % n];
                want = sign(a, b, d) != 0 && sign(a, b, cc) != sign(a, b, d) && sign(cc, d, b) != 0 &&
                       sign(cc, d, a) != sign(cc, d, b);
            }
        ASSERT_EQ(c.IsIntersect(), want) << "round " << round;
        crossing += want;
    }
    EXPECT_GT(crossing, 500);
    EXPECT_LT(crossing, 2500);
}

TEST(Contour, CutByStraightLineOrderAndVerticesOnTheLine) {
    // Keeps y <= 0.5 (right of the direction from (0, 0.5) to (1, 0.5)).
    const qvGeom::StraightLine2D half(qvVec2(0, 0.5), qvVec2(1, 0.5));
    EXPECT_EQ(PointsOf(Make(kSquare).CutByStraightLine(half)), (Points{{0, 0}, {1, 0}, {1, 0.5}, {0, 0.5}}));
    // Through two vertices of a diamond, keeping y <= 1: (2, 1) is reached
    // from the kept side and (0, 1) is left towards it, so both come twice.
    const qvGeom::StraightLine2D mid(qvVec2(0, 1), qvVec2(2, 1));
    const qvSimpleContour2D diamond = Make({{1, 0}, {2, 1}, {1, 2}, {0, 1}});
    EXPECT_EQ(PointsOf(diamond.CutByStraightLine(mid)), (Points{{1, 0}, {2, 1}, {2, 1}, {0, 1}, {0, 1}}));
    // The same diamond started at the vertex that is left towards the kept
    // side: its second copy now comes from the first edge, whose point
    // before is the last one.
    const qvSimpleContour2D fromLeft = Make({{0, 1}, {1, 0}, {2, 1}, {1, 2}});
    EXPECT_EQ(PointsOf(fromLeft.CutByStraightLine(mid)), (Points{{0, 1}, {0, 1}, {1, 0}, {2, 1}, {2, 1}}));
    // Entered from the far side onto a vertex on the line and back: the
    // vertex alone.
    const qvSimpleContour2D tip = Make({{0, 2}, {1, 1}, {2, 2}});
    EXPECT_EQ(PointsOf(tip.CutByStraightLine(mid)), (Points{{1, 1}}));
    // All kept, nothing kept.
    EXPECT_EQ(PointsOf(diamond.CutByStraightLine(qvGeom::StraightLine2D(qvVec2(0, 3), qvVec2(1, 3)))),
              PointsOf(diamond));
    EXPECT_EQ(diamond.CutByStraightLine(qvGeom::StraightLine2D(qvVec2(1, 3), qvVec2(0, 3))).Len(), 0);
    CQV_EXPECT_BAD(Make({{0, 0}, {1, 1}}).CutByStraightLine(half), qvMsg::CutTooFewPoints);

    // The two sides of a line share out the area, whatever the vertices on
    // it (grid stars cut along grid lines and diagonals).
    const qvSimpleContour2D star = Star(60, 30, 7);
    for (const auto& ends : {Points{{0, 0}, {1, 0}}, Points{{3, -5}, {3, 5}}, Points{{-2, -2}, {2, 2}}}) {
        const qvVec2 p(ends[0].first, ends[0].second), q(ends[1].first, ends[1].second);
        const qvSimpleContour2D right = star.CutByStraightLine(qvGeom::StraightLine2D(p, q));
        const qvSimpleContour2D left = star.CutByStraightLine(qvGeom::StraightLine2D(q, p));
        EXPECT_NEAR(right.GetS() + left.GetS(), star.GetS(), 1e-9 * star.GetS());
        for (int i = 0; i < right.Len(); ++i) EXPECT_GE(qvGeom::StraightLine2D(p, q).GetDist(right[i]), -1e-12);
    }
}

TEST(Contour, ClipToRasterRange) {
    qvArray<int> range(2);
    range[0] = 4, range[1] = 3;  // 0 <= x <= 3, 0 <= y <= 2
    const qvSimpleContour2D big = Make({{-1, -1}, {5, -1}, {5, 5}, {-1, 5}});
    const qvSimpleContour2D clipped = big.qvPolyLineToRange(range);
    EXPECT_EQ(clipped.GetS(), 6);
    EXPECT_TRUE(clipped.GetRect() == qvRect<qvVec2>(qvVec2(0, 0), qvVec2(3, 2)));
    // Inside the range: unchanged.
    const qvSimpleContour2D inner = Make({{1, 1}, {2, 1}, {2, 1.5}});
    EXPECT_EQ(PointsOf(inner.qvPolyLineToRange(range)), PointsOf(inner));
    // Above the range: the second cut leaves nothing, the third throws.
    CQV_EXPECT_BAD(Make({{0, 10}, {1, 10}, {1, 11}}).qvPolyLineToRange(range), qvMsg::CutTooFewPoints);
    CQV_EXPECT_BAD(big.qvPolyLineToRange(qvArray<int>(3, 1)), qvMsg::RangeNotTwo);
}

TEST(Contour, CoherenceByFarthestPointAndByStripArea) {
    const qvSimpleContour2D q = Star(30, 50, 3);
    for (int shift : {0, 1, 7, 29}) {
        qvSimpleContour2D c = RotatedLeft(q, shift);
        c.MakeCoherent(q);
        EXPECT_EQ(PointsOf(c), PointsOf(q)) << shift;
        // Reversed as well: the orientation follows q first.
        qvSimpleContour2D r = RotatedLeft(q, shift);
        r.InverseOrder();
        r.MakeCoherentS(q);
        EXPECT_EQ(PointsOf(r), PointsOf(q)) << shift;
    }
    // A distorted copy: the kept shift is the first one of least strip area.
    qvSimpleContour2D d(q.Len());
    for (int i = 0; i < q.Len(); ++i) d[i] = q[(i + 11) % q.Len()] * 1.3 + qvVec2(i % 3, 2.0 * (i % 2));
    int best = 0;
    for (int m = 1; m < d.Len(); ++m)
        if (Strip(d, q, m) < Strip(d, q, best)) best = m;
    qvSimpleContour2D e = d;
    e.MakeCoherentS(q);
    EXPECT_EQ(PointsOf(e), PointsOf(RotatedLeft(d, best)));
    EXPECT_NE(best, 0);
    // By the farthest point: q's point farthest from the larger square is
    // (1, 1) (k = 2), equally far from all four corners; the lowest of
    // them, (3, 3) at j = 0, moves to index 2.
    qvSimpleContour2D big = Make({{3, 3}, {-1, 3}, {-1, -1}, {3, -1}});
    big.MakeCoherent(Make({{0, 0}, {1, 0}, {1, 1}, {0, 1}}));
    EXPECT_EQ(PointsOf(big), (Points{{-1, -1}, {3, -1}, {3, 3}, {-1, 3}}));

    // Every shift equally good: the first is kept. q has no area, so the
    // contour is turned clockwise first.
    qvSimpleContour2D sym = Make({{1, 0}, {0, 1}, {-1, 0}, {0, -1}});
    sym.MakeCoherentS(Make({{0, 0}, {0, 0}, {0, 0}, {0, 0}}));
    EXPECT_EQ(PointsOf(sym), (Points{{0, -1}, {-1, 0}, {0, 1}, {1, 0}}));

    qvSimpleContour2D three = Make({{0, 0}, {1, 0}, {0, 1}});
    CQV_EXPECT_BAD(three.MakeCoherent(q), qvMsg::CoherentLengthsDiffer);
    CQV_EXPECT_BAD(three.MakeCoherentS(Make({{1, 0}, {0, 0}, {0, 1}, {0, 2}})), qvMsg::CoherentLengthsDiffer);
    EXPECT_EQ(PointsOf(three), (Points{{0, 0}, {1, 0}, {0, 1}}));
}

TEST(Contour, TypeRecordAndArraysOfContours) {
    const qvSimpleContour2D c = Make({{2, -1}});
    const qvUsingNew& asBase = c;
    EXPECT_EQ(std::string(asBase.GetTypeString()), "qvSimpleContour2D");
    EXPECT_EQ(std::string(static_cast<const qvUsingNew&>(qvCurve2D()).GetTypeString()), "qvCurve2D");
    // The array's record: count, then x and y of each point.
    unsigned char buf[20];
    EXPECT_EQ(c.MemSize(), 20);
    EXPECT_EQ(c.ToMem(buf), 20);
    const unsigned char want[20] = {1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x40, 0, 0, 0, 0, 0, 0, 0xF0, 0xBF};
    EXPECT_EQ(std::memcmp(buf, want, 20), 0);

    // Arrays of contours hold private copies and grow by copying them.
    qvSimpleArray<qvSimpleContour2D> shapes;
    qvSimpleContour2D sq = Make(kSquare);
    shapes.push_back(sq);
    shapes.push_back(c);
    shapes.push_front(Make({{5, 5}, {6, 5}, {5, 6}}));
    sq[0] = qvVec2(9, 9);
    qvSimpleArray<qvSimpleContour2D> copy(shapes);
    copy[1][1] = qvVec2(7, 7);
    EXPECT_EQ(PointsOf(shapes[1]), kSquare);
    EXPECT_EQ(shapes[0].GetS(), 0.5);
    EXPECT_EQ(PointsOf(copy[2]), PointsOf(c));
    shapes.Remove(0);
    EXPECT_EQ(PointsOf(shapes[0]), kSquare);
}
