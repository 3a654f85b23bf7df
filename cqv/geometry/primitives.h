// qvGeom: the plain value types of elementary geometry and the routines that
// intersect them.
//
// In the plane: Ray2D, StraightLine2D, Segment2D; in space: Ray3D,
// StraightLine3D, Plane, Segment3D. All are small values without virtual
// functions or owned memory; copies copy every field, and the default
// constructors, where they exist, leave the fields uninitialised.
//
// The intersection routines answer whether the figures meet and write the
// meeting point through an optional pointer (null: only the answer is
// computed). Their tolerances are absolute and their bounds inclusive:
// the end points of a segment, the start of a ray and the border of a box
// count as hit. Lines whose normals differ by less than 1e-10 in their
// determinant count as parallel. Degenerate input (a direction of zero
// length, a line through two equal points) is not detected: it gives
// non-finite fields, and the routines then answer false.
//
// Nothing here allocates.
#ifndef CQV_GEOMETRY_PRIMITIVES_H
#define CQV_GEOMETRY_PRIMITIVES_H

#include "cqv/core/export.h"
#include "cqv/geometry/transform.h"
#include "cqv/values/vec2.h"
#include "cqv/values/vec3.h"

class qvCurve2D;

// The value types of elementary geometry and their intersection routines.
namespace qvGeom {

// A ray of the plane: a start point and a unit direction.
class CQV_API Ray2D {
public:
    // How the second point given to the constructor is read.
    enum INIT_TYPE { BY_DIRECTION = 0, BY_TWO_POINTS = 1 };

    // Uninitialised.
    CQV_INLINE Ray2D() {}
    // Starts at p. The direction is q for BY_DIRECTION and q - p for any
    // other value, then divided by its length.
    Ray2D(const qvVec2& p, const qvVec2& q, INIT_TYPE t);

    // The start point.
    CQV_INLINE const qvVec2& GetPoint() const { return point; }
    // The unit direction.
    CQV_INLINE const qvVec2& GetDir() const { return dir; }

private:
    qvVec2 point;
    qvVec2 dir;
};

// A straight line of the plane in normal form a·x + b·y = c, with (a, b) of
// unit length and c >= 0 (c is the line's distance from the origin, so
// (a, b) points away from the origin). The line also keeps the point it was
// built from and a reference normal that follows the order of its two
// defining points: the sign of GetDist comes from that one.
class CQV_API StraightLine2D {
public:
    // Uninitialised.
    CQV_INLINE StraightLine2D() {}
    // The line through p1 and p2. The reference normal is (dy, -dx)/len for
    // (dx, dy) = p2 - p1, pointing to the right of the direction from p1 to
    // p2 (y up); (a, b) is the same normal turned to make c >= 0 (kept as it
    // is for a line through the origin). Equal points give non-finite
    // fields.
    StraightLine2D(qvVec2 p1, qvVec2 p2);

    // a·p.x + b·p.y - c: the signed distance of p, positive on the side
    // (a, b) points to, away from the origin.
    CQV_INLINE double GetD(const qvVec2& p) const { return a * p.X() + b * p.Y() - c; }
    // |GetD(p)| with the sign of (p - base point)·(reference normal):
    // positive to the right of the direction from p1 to p2, 0 on the line
    // (the sign's own test must give exactly 0), negative on the left.
    double GetDist(const qvVec2& p) const;

    // The normal form's coefficient a (the normal's x).
    CQV_INLINE double GetA() const { return a; }
    // The normal form's coefficient b (the normal's y).
    CQV_INLINE double GetB() const { return b; }
    // The normal form's c, the line's distance from the origin.
    CQV_INLINE double GetC() const { return c; }
    // The point p1 the line was built from.
    CQV_INLINE const qvVec2& GetBasePoint() const { return base; }
    // The reference normal, to the right of the direction from p1 to p2.
    CQV_INLINE const qvVec2& GetRefNormal() const { return refNormal; }

private:
    double a;
    double b;
    double c;
    qvVec2 base;
    qvVec2 refNormal;
};

// A closed segment of the plane between two end points.
class CQV_API Segment2D {
public:
    // Uninitialised.
    CQV_INLINE Segment2D() {}
    // The segment from p1 to p2.
    CQV_INLINE Segment2D(const qvVec2& p1, const qvVec2& p2) : point1(p1), point2(p2) {}

    // The first end point.
    CQV_INLINE const qvVec2& GetPoint1() const { return point1; }
    // The second end point.
    CQV_INLINE const qvVec2& GetPoint2() const { return point2; }

private:
    qvVec2 point1;
    qvVec2 point2;
};

// A ray of space: a start point and a direction, kept as given (not
// normalised).
class CQV_API Ray3D {
public:
    // The ray from p along d.
    CQV_INLINE Ray3D(const qvTVec3<double>& p, const qvTVec3<double>& d) : point(p), dir(d) {}
    // Copies every field.
    Ray3D(const Ray3D&) = default;
    Ray3D& operator=(const Ray3D&) = default;

    // The start point.
    CQV_INLINE const qvTVec3<double>& GetPoint() const { return point; }
    // The direction, as given.
    CQV_INLINE const qvTVec3<double>& GetDir() const { return dir; }

    // The transform into the ray's own frame: the shift by -point, then the
    // turn that carries dir onto the z axis. Applied to a point it gives the
    // point's coordinates with the ray's start as origin and the ray along
    // +z.
    qvTransformCoord3D GetTransZ() const;

private:
    qvTVec3<double> point;
    qvTVec3<double> dir;
};

// A straight line of space: a point and a direction, kept as given.
class CQV_API StraightLine3D {
public:
    // The line through p along d.
    CQV_INLINE StraightLine3D(const qvTVec3<double>& p, const qvTVec3<double>& d) : point(p), dir(d) {}
    // Copies every field.
    StraightLine3D(const StraightLine3D&) = default;
    StraightLine3D& operator=(const StraightLine3D&) = default;

    // The point the line was given.
    CQV_INLINE const qvTVec3<double>& GetPoint() const { return point; }
    // The direction, as given.
    CQV_INLINE const qvTVec3<double>& GetDir() const { return dir; }

private:
    qvTVec3<double> point;
    qvTVec3<double> dir;
};

// A plane normal·X + d = 0; the normal is kept as given.
class CQV_API Plane {
public:
    // The plane through p with normal n: d = -(n·p).
    CQV_INLINE Plane(const qvTVec3<double>& p, const qvTVec3<double>& n) : normal(n), d(-n.ScalarMul(p)) {}

    // Copies every field.
    Plane(const Plane&) = default;
    Plane& operator=(const Plane&) = default;

    // The normal, as given.
    CQV_INLINE const qvTVec3<double>& GetNormal() const { return normal; }
    // The constant d of normal·X + d = 0.
    CQV_INLINE double GetD() const { return d; }

private:
    qvTVec3<double> normal;
    double d;
};

// A segment of space between two end points; also an axis-aligned box given
// by two opposite corners, point1 the low corner and point2 the high one.
class CQV_API Segment3D {
public:
    // Uninitialised.
    CQV_INLINE Segment3D() {}
    // The segment from p1 to p2 (the box with corners p1 and p2).
    CQV_INLINE Segment3D(const qvTVec3<double>& p1, const qvTVec3<double>& p2) : point1(p1), point2(p2) {}
    // Copies every field.
    Segment3D(const Segment3D&) = default;
    Segment3D& operator=(const Segment3D&) = default;

    // The first end point (the box's low corner).
    CQV_INLINE const qvTVec3<double>& GetPoint1() const { return point1; }
    // The second end point (the box's high corner).
    CQV_INLINE const qvTVec3<double>& GetPoint2() const { return point2; }

    // The crossing of l with one face of the box s: dim (0, 1, 2) is the
    // axis that is constant on the face, side 0 takes s's point1
    // coordinate, any other side its point2 coordinate. False when
    // |l's direction[dim]| < 1e-15 (parallel to the face) or when the
    // crossing lies outside the face's two other ranges (their bounds
    // included). Writes the crossing to out when out is not null. Throws
    // BadParameters "qvSegment3D::IntersectWithFacet: wrong dimension" for
    // any other dim, before anything else.
    static bool IntersectWithFacet(const StraightLine3D& l, const Segment3D& s, int dim, int side,
                                   qvTVec3<double>* out);

private:
    qvTVec3<double> point1;
    qvTVec3<double> point2;
};

// Whether the line l crosses the closed segment s (end points included):
// s's carrier line, through point1 then point2, crossed with l as
// IntersectLine2DLine2D does, then the crossing X must satisfy
// (point2 - X)·(X - point1) >= 0.
CQV_API bool Intersect(const StraightLine2D& l, const Segment2D& s, qvVec2* out);
// Whether the closed segments cross: both carrier lines crossed, and X on
// s1, then on s2, by the test above.
CQV_API bool Intersect(const Segment2D& s1, const Segment2D& s2, qvVec2* out);
// Whether the ray, its start point included, crosses the closed segment:
// X on the segment and (X - start)·dir >= 0.
CQV_API bool Intersect(const Ray2D& r, const Segment2D& s, qvVec2* out);
// Whether the ray crosses the open polyline of the curve (no segment from
// the last point back to the first). out receives the crossing nearest to
// the ray's start, the earlier segment's on a tie; with out null the answer
// comes at the first hit. A curve of fewer than two points is never hit.
CQV_API bool Intersect(const Ray2D& r, const qvCurve2D& c, qvVec2* out);
// The crossing of the line with the plane, anywhere along the line. False
// when direction·normal < 1e-15: one-sided, so a direction at an obtuse
// angle to the normal also counts as not crossing.
CQV_API bool Intersect(const StraightLine3D& l, const Plane& p, qvTVec3<double>* out);
// The chord that the box with opposite corners s.point1 (low) and s.point2
// (high) cuts from the line. The faces are tried by axis 0, 1, 2 and side 0
// then 1; a second hit within squared distance 1e-15 of the first (an edge
// or corner met by two faces) is passed over. out becomes (first hit,
// second hit) in the order found, or (hit, hit) when the line only touches
// the box. With out null the answer comes at the first hit.
CQV_API bool Intersect(const StraightLine3D& l, const Segment3D& s, Segment3D* out);

}  // namespace qvGeom

// The crossing point of two lines of the plane: false when
// |l1.a·l2.b - l1.b·l2.a| < 1e-10 (parallel or coincident lines, a line with
// itself), else true, with the point written to out when out is not null.
CQV_API bool IntersectLine2DLine2D(const qvGeom::StraightLine2D& l1, const qvGeom::StraightLine2D& l2, qvVec2* out);

#endif  // CQV_GEOMETRY_PRIMITIVES_H
