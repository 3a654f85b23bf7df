#include "cqv/geometry/primitives.h"

#include <cmath>

#include "cqv/core/exceptions.h"
#include "cqv/geometry/contour.h"
#include "cqv/geometry/messages.h"

namespace qvGeom {

namespace {

// Whether the crossing X of the carrier lines lies on the closed segment
// from p1 to p2.
inline bool OnSegment(const qvVec2& x, const qvVec2& p1, const qvVec2& p2) {
    return (p2 - x).ScalarMul(x - p1) >= 0;
}

// The crossing of l with the closed segment from p1 to p2.
inline bool CrossSegment(const StraightLine2D& l, const qvVec2& p1, const qvVec2& p2, qvVec2& x) {
    return IntersectLine2DLine2D(l, StraightLine2D(p1, p2), &x) && OnSegment(x, p1, p2);
}

// The ray (start, dir) given by its carrier line, against the closed segment
// from p1 to p2.
inline bool CrossRay(const StraightLine2D& carrier, const qvVec2& start, const qvVec2& dir, const qvVec2& p1,
                     const qvVec2& p2, qvVec2& x) {
    return CrossSegment(carrier, p1, p2, x) && (x - start).ScalarMul(dir) >= 0;
}

}  // namespace

Ray2D::Ray2D(const qvVec2& p, const qvVec2& q, INIT_TYPE t) : point(p), dir(t == BY_DIRECTION ? q : q - p) {
    dir /= dir.Norm();
}

StraightLine2D::StraightLine2D(qvVec2 p1, qvVec2 p2) : base(p1) {
    const double dx = p2.X() - p1.X();
    const double dy = p2.Y() - p1.Y();
    a = dy;
    b = -dx;
    c = a * p1.X() + b * p1.Y();
    const double len = std::sqrt(a * a + b * b);
    a /= len;
    b /= len;
    c /= len;
    refNormal = qvVec2(a, b);
    if (c != 0) {
        const double sign = c < 0 ? -1.0 : 1.0;
        a *= sign;
        b *= sign;
        c = std::fabs(c);
    }
}

double StraightLine2D::GetDist(const qvVec2& p) const {
    const double s = (p - base).ScalarMul(refNormal);
    const double sign = s < 0 ? -1.0 : s == 0 ? 0.0 : 1.0;
    return std::fabs(GetD(p)) * sign;
}

qvTransformCoord3D Ray3D::GetTransZ() const {
    qvTransformCoord3D t;
    t.AddShift(-point);
    t.AddTurn(dir, qvTVec3<double>(0.0, 0.0, 1.0));
    return t;
}

bool Segment3D::IntersectWithFacet(const StraightLine3D& l, const Segment3D& s, int dim, int side,
                                   qvTVec3<double>* out) {
    // The two axes that vary on the face.
    static const int kOther[3][2] = {{1, 2}, {0, 2}, {1, 0}};
    if (dim < 0 || dim > 2) throw BadParameters(qvMsg::FacetWrongDimension);
    const qvTVec3<double>& p = l.GetPoint();
    const qvTVec3<double>& v = l.GetDir();
    if (std::fabs(v[dim]) < 1e-15) return false;
    const int u = kOther[dim][0], w = kOther[dim][1];
    const double face = side == 0 ? s.point1[dim] : s.point2[dim];
    const double t = (face - p[dim]) / v[dim];
    const qvTVec3<double> x = p + v * t;
    if (!(s.point1[u] <= x[u] && x[u] <= s.point2[u] && s.point1[w] <= x[w] && x[w] <= s.point2[w])) return false;
    if (out != nullptr) *out = x;
    return true;
}

bool Intersect(const StraightLine2D& l, const Segment2D& s, qvVec2* out) {
    qvVec2 x;
    if (!CrossSegment(l, s.GetPoint1(), s.GetPoint2(), x)) return false;
    if (out != nullptr) *out = x;
    return true;
}

bool Intersect(const Segment2D& s1, const Segment2D& s2, qvVec2* out) {
    qvVec2 x;
    if (!CrossSegment(StraightLine2D(s1.GetPoint1(), s1.GetPoint2()), s2.GetPoint1(), s2.GetPoint2(), x) ||
        !OnSegment(x, s1.GetPoint1(), s1.GetPoint2()))
        return false;
    if (out != nullptr) *out = x;
    return true;
}

bool Intersect(const Ray2D& r, const Segment2D& s, qvVec2* out) {
    const StraightLine2D carrier(r.GetPoint(), r.GetPoint() + r.GetDir());
    qvVec2 x;
    if (!CrossRay(carrier, r.GetPoint(), r.GetDir(), s.GetPoint1(), s.GetPoint2(), x)) return false;
    if (out != nullptr) *out = x;
    return true;
}

bool Intersect(const Ray2D& r, const qvCurve2D& c, qvVec2* out) {
    const StraightLine2D carrier(r.GetPoint(), r.GetPoint() + r.GetDir());
    bool hit = false;
    double best = 0;
    for (int i = 1; i < c.Len(); ++i) {
        qvVec2 x;
        if (!CrossRay(carrier, r.GetPoint(), r.GetDir(), c[i - 1], c[i], x)) continue;
        if (out == nullptr) return true;
        const double d = (x - r.GetPoint()).ScalarMul();
        if (!hit || d < best) {
            *out = x;
            best = d;
        }
        hit = true;
    }
    return hit;
}

bool Intersect(const StraightLine3D& l, const Plane& p, qvTVec3<double>* out) {
    const qvTVec3<double>& n = p.GetNormal();
    const qvTVec3<double>& v = l.GetDir();
    const double den = v.ScalarMul(n);
    // Written so that a NaN denominator answers false as well.
    if (!(den >= 1e-15)) return false;
    const double t = -(l.GetPoint().ScalarMul(n) + p.GetD()) / den;
    if (out != nullptr) *out = l.GetPoint() + v * t;
    return true;
}

bool Intersect(const StraightLine3D& l, const Segment3D& s, Segment3D* out) {
    qvTVec3<double> first(0.0, 0.0, 0.0), x;
    bool found = false;
    for (int dim = 0; dim < 3; ++dim)
        for (int side = 0; side < 2; ++side) {
            if (!Segment3D::IntersectWithFacet(l, s, dim, side, &x)) continue;
            if (out == nullptr) return true;
            if (!found) {
                first = x;
                found = true;
            } else if ((x - first).ScalarMul() >= 1e-15) {
                *out = Segment3D(first, x);
                return true;
            }
        }
    if (found) *out = Segment3D(first, first);
    return found;
}

}  // namespace qvGeom

bool IntersectLine2DLine2D(const qvGeom::StraightLine2D& l1, const qvGeom::StraightLine2D& l2, qvVec2* out) {
    const double det = l1.GetA() * l2.GetB() - l1.GetB() * l2.GetA();
    // Written so that NaN coefficients answer false as well.
    if (!(std::fabs(det) >= 1e-10)) return false;
    if (out != nullptr)
        *out = qvVec2((l1.GetC() * l2.GetB() - l1.GetB() * l2.GetC()) / det,
                      (l1.GetA() * l2.GetC() - l1.GetC() * l2.GetA()) / det);
    return true;
}
