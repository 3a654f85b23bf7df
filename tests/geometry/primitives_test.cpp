// The elementary figures: both normals of a plane line, and every crossing
// routine on its tolerances and inclusive bounds.
#include "geometry_test_support.h"

using namespace geomtest;
using namespace qvGeom;

namespace {

// The answer of a crossing routine and the point it wrote (NaN if none).
template <class... A>
std::pair<bool, Doubles> Hit2(A&&... args) {
    qvVec2 x(std::nan(""), std::nan(""));
    const bool hit = Intersect(args..., &x);
    // The same answer without a result pointer.
    EXPECT_EQ(Intersect(args..., static_cast<qvVec2*>(nullptr)), hit);
    return {hit, hit ? Coords(x) : Doubles{}};
}

using Hit = std::pair<bool, Doubles>;
const Hit kMiss{false, {}};

}  // namespace

TEST(Line2D, TwoNormalsAndTheirDistances) {
    struct Case {
        qvVec2 p1, p2;
        Doubles abc, ref;
        qvVec2 at;
        double d, dist;
    };
    const double h = std::sqrt(0.5);
    const Case cases[] = {
        // The normal turns to make c >= 0; the reference normal keeps the
        // order of the points: (5, 3) lies left of (0, 1) -> (1, 1).
        {{0, 1}, {1, 1}, {0, 1, 1}, {0, -1}, {5, 3}, 2, -2},
        {{0, 1}, {1, 1}, {0, 1, 1}, {0, -1}, {5, 0}, -1, 1},
        {{1, 1}, {0, 1}, {0, 1, 1}, {0, 1}, {5, 3}, 2, 2},
        // Through the origin the orientation (dy, -dx)/len stays.
        {{0, 0}, {1, 1}, {h, -h, 0}, {h, -h}, {1, 0}, h, h},
        {{0, 0}, {1, 1}, {h, -h, 0}, {h, -h}, {0, 1}, -h, -h},
        {{2, 2}, {-1, -1}, {-h, h, 0}, {-h, h}, {0, 1}, h, h},
        // On the line: exactly 0.
        {{-3, 2}, {5, 2}, {0, 1, 2}, {0, -1}, {17, 2}, 0, 0},
    };
    for (const Case& k : cases) {
        const StraightLine2D l(k.p1, k.p2);
        EXPECT_TRUE(Near({l.GetA(), l.GetB(), l.GetC()}, k.abc, 1e-15));
        EXPECT_TRUE(Near(Coords(l.GetRefNormal()), k.ref, 1e-15));
        EXPECT_EQ(Coords(l.GetBasePoint()), Coords(k.p1));
        EXPECT_NEAR(l.GetD(k.at), k.d, 1e-15);
        EXPECT_NEAR(l.GetDist(k.at), k.dist, 1e-15);
    }
    // A ray's direction is normalised, from a direction or from two points.
    EXPECT_EQ(Coords(Ray2D(qvVec2(1, 1), qvVec2(0, -4), Ray2D::BY_DIRECTION).GetDir()), (Doubles{0, -1}));
    EXPECT_EQ(Coords(Ray2D(qvVec2(1, 1), qvVec2(4, 5), Ray2D::BY_TWO_POINTS).GetDir()), (Doubles{0.6, 0.8}));
}

TEST(Intersect2D, LinesSegmentsAndRays) {
    const StraightLine2D xAxis(qvVec2(0, 0), qvVec2(1, 0));
    qvVec2 x;
    EXPECT_TRUE(IntersectLine2DLine2D(xAxis, StraightLine2D(qvVec2(2, -1), qvVec2(2, 5)), &x));
    EXPECT_TRUE(Near(Coords(x), {2, 0}, 1e-15));
    // Parallel, the same line, and normals within 1e-10 of each other.
    for (double rise : {0.0, 5e-11, 9.9e-11})
        EXPECT_FALSE(IntersectLine2DLine2D(xAxis, StraightLine2D(qvVec2(0, 1), qvVec2(1, 1 + rise)), &x)) << rise;
    EXPECT_FALSE(IntersectLine2DLine2D(xAxis, xAxis, nullptr));
    EXPECT_TRUE(IntersectLine2DLine2D(xAxis, StraightLine2D(qvVec2(0, 1), qvVec2(1, 1 + 2e-10)), nullptr));

    // Crossing points that must lie on a segment's end are computed
    // exactly here (axis-aligned carriers, or a diagonal met by one).
    const Segment2D diag(qvVec2(0, 0), qvVec2(2, 2));
    const Segment2D base(qvVec2(0, 0), qvVec2(2, 0));
    const struct {
        const char* name;
        Hit got, want;
    } cases[] = {
        {"line across a segment", Hit2(StraightLine2D(qvVec2(0, 1), qvVec2(1, 1)), diag), {true, {1, 1}}},
        {"line through an end point", Hit2(StraightLine2D(qvVec2(0, 2), qvVec2(1, 2)), diag), {true, {2, 2}}},
        {"line beyond the end", Hit2(StraightLine2D(qvVec2(0, 3), qvVec2(1, 3)), diag), kMiss},
        {"line along the segment", Hit2(StraightLine2D(qvVec2(-1, -1), qvVec2(5, 5)), diag), kMiss},
        {"crossing segments", Hit2(diag, Segment2D(qvVec2(0, 2), qvVec2(2, 0))), {true, {1, 1}}},
        {"one ends on the other", Hit2(base, Segment2D(qvVec2(1, 0), qvVec2(1, 3))), {true, {1, 0}}},
        {"end points meet", Hit2(base, Segment2D(qvVec2(2, 3), qvVec2(2, 0))), {true, {2, 0}}},
        {"carriers cross beyond s1", Hit2(base, Segment2D(qvVec2(3, -1), qvVec2(3, 1))), kMiss},
        {"carriers cross beyond s2", Hit2(base, Segment2D(qvVec2(1, 1), qvVec2(1, 3))), kMiss},
        {"collinear, overlapping", Hit2(diag, Segment2D(qvVec2(1, 1), qvVec2(3, 3))), kMiss},
        {"ray across", Hit2(Ray2D(qvVec2(0, 1), qvVec2(1, 0), Ray2D::BY_DIRECTION), diag), {true, {1, 1}}},
        {"ray starting on it", Hit2(Ray2D(qvVec2(1, 1), qvVec2(1, 0), Ray2D::BY_DIRECTION), diag), {true, {1, 1}}},
        {"segment behind the ray", Hit2(Ray2D(qvVec2(3, 1), qvVec2(1, 0), Ray2D::BY_DIRECTION), diag), kMiss},
        {"ray onto an end point", Hit2(Ray2D(qvVec2(2, 0), qvVec2(2, 5), Ray2D::BY_TWO_POINTS), diag), {true, {2, 2}}},
    };
    for (const auto& k : cases) {
        EXPECT_EQ(k.got.first, k.want.first) << k.name;
        EXPECT_TRUE(Near(k.got.second, k.want.second, 1e-15)) << k.name;
    }
}

TEST(Intersect2D, RayAgainstCurveTakesTheNearestCrossing) {
    const Ray2D ray(qvVec2(0, 0), qvVec2(1, 0), Ray2D::BY_DIRECTION);
    // Crossed at x = 5, 2 and 1.5 in turn along the curve; the segment from
    // the last point back to the first, which would cross at x = 1, is not
    // part of a curve.
    const qvCurve2D c = Make<qvCurve2D>({{1, 1}, {5, 1}, {5, -1}, {2, -1}, {2, 1}, {1, -1}});
    const Hit nearest = Hit2(ray, c);
    EXPECT_TRUE(nearest.first);
    EXPECT_TRUE(Near(nearest.second, {1.5, 0}, 1e-15));
    const qvCurve2D farOnly = Make<qvCurve2D>({{1, 1}, {5, 1}, {5, -1}, {1, -1}});
    EXPECT_EQ(Hit2(ray, farOnly), Hit(true, {5, 0}));
    EXPECT_EQ(Hit2(Ray2D(qvVec2(6, 0), qvVec2(1, 0), Ray2D::BY_DIRECTION), c), kMiss);
    EXPECT_EQ(Hit2(ray, Make<qvCurve2D>({{3, 0}})), kMiss);
    EXPECT_EQ(Hit2(ray, qvCurve2D()), kMiss);
}

TEST(Intersect3D, PlaneFacesAndBox) {
    const Plane floor(V3(0, 0, 2), V3(0, 0, 1));
    EXPECT_EQ(Coords(floor.GetNormal()), (Doubles{0, 0, 1}));
    EXPECT_EQ(floor.GetD(), -2);
    V3 x(0, 0, 0);
    EXPECT_TRUE(Intersect(StraightLine3D(V3(1, 1, 5), V3(0, 0, 1)), floor, &x));  // behind the line's point
    EXPECT_EQ(Coords(x), (Doubles{1, 1, 2}));
    // One-sided: the same line running the other way does not count.
    EXPECT_FALSE(Intersect(StraightLine3D(V3(1, 1, 5), V3(0, 0, -1)), floor, &x));
    EXPECT_FALSE(Intersect(StraightLine3D(V3(1, 1, 5), V3(1, 0, 0)), floor, nullptr));

    const Segment3D box(V3(0, 0, 0), V3(1, 1, 1));
    for (int dim : {-1, 3})
        CQV_EXPECT_BAD(Segment3D::IntersectWithFacet(StraightLine3D(V3(0, 0, 0), V3(1, 1, 1)), box, dim, 0, &x),
                       qvMsg::FacetWrongDimension);
    // Parallel to the face; on its border (bounds included); just outside.
    EXPECT_FALSE(Segment3D::IntersectWithFacet(StraightLine3D(V3(0.5, 0.5, 0.5), V3(0, 1, 1)), box, 0, 0, &x));
    EXPECT_TRUE(Segment3D::IntersectWithFacet(StraightLine3D(V3(-1, 1, 0), V3(1, 0, 0)), box, 0, 1, &x));
    EXPECT_EQ(Coords(x), (Doubles{1, 1, 0}));
    EXPECT_FALSE(Segment3D::IntersectWithFacet(StraightLine3D(V3(-1, 1.5, 0), V3(1, 0, 0)), box, 0, 0, &x));

    const struct {
        const char* name;
        StraightLine3D line;
        bool hit;
        Doubles chord;
    } lines[] = {
        {"through a face and out the opposite one", {V3(0.5, 0.25, 9), V3(0, 0, -2)}, true, {0.5, 0.25, 0, 0.5, 0.25, 1}},
        {"along the diagonal, corner to corner", {V3(2, 2, 2), V3(1, 1, 1)}, true, {0, 0, 0, 1, 1, 1}},
        // Enters through an edge, found by two faces at the same point.
        {"from an edge to a face", {V3(0, 0, 0.5), V3(1, 2, 0)}, true, {0, 0, 0.5, 0.5, 1, 0.5}},
        {"touching an edge only", {V3(0, 0, 0.5), V3(1, -1, 0)}, true, {0, 0, 0.5, 0, 0, 0.5}},
        {"missing the box", {V3(2, 2, 0), V3(0, 0, 1)}, false, {}},
    };
    for (const auto& k : lines) {
        Segment3D chord(V3(7, 7, 7), V3(7, 7, 7));
        EXPECT_EQ(Intersect(k.line, box, &chord), k.hit) << k.name;
        EXPECT_EQ(Intersect(k.line, box, static_cast<Segment3D*>(nullptr)), k.hit) << k.name;
        if (!k.hit) continue;
        Doubles ends = Coords(chord.GetPoint1());
        for (double e : Coords(chord.GetPoint2())) ends.push_back(e);
        EXPECT_TRUE(Near(ends, k.chord, 1e-15)) << k.name;
    }
}

TEST(Ray3D, TransformIntoTheRaysFrame) {
    const Ray3D ray(V3(1, 2, 3), V3(1, 1, 1));
    EXPECT_EQ(Coords(ray.GetDir()), (Doubles{1, 1, 1}));  // kept as given
    const qvTransformCoord3D t = ray.GetTransZ();
    EXPECT_TRUE(Near(Coords(t.Transform(ray.GetPoint())), {0, 0, 0}, 1e-15));
    EXPECT_TRUE(Near(Coords(t.Transform(ray.GetPoint() + ray.GetDir() * 2)), {0, 0, 2 * std::sqrt(3.0)}, 1e-14));
    // A direction across the ray stays in the frame's xy plane, its length
    // kept.
    const V3 across = t.TransformVec(V3(1, -1, 0));
    EXPECT_NEAR(across.Z(), 0, 1e-15);
    EXPECT_NEAR(across.Norm(), std::sqrt(2.0), 1e-15);
}
