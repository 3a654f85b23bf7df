// qvCurve2D, an open polyline of the plane, and qvSimpleContour2D, a closed
// polygon: both are arithmetic arrays of qvVec2 points.
//
// A curve's points P[0] … P[n-1] form the polyline P[0]–P[1]–…–P[n-1]; a
// contour joins the last point back to the first, so its edges are
// (P[i], P[(i+1) mod n]). Storage, sharing, copying and the storage record
// are the array's (qvArray<qvVec2>); the two classes add no fields and
// override no virtual member but the destructor and GetTypeString.
//
// A contour is counter-clockwise (orientation code 0) when its signed area is
// positive with the y axis pointing up; clockwise and degenerate contours
// (signed area <= 0) have code 1. Contours carry the steps of a shape
// pipeline: perimeter, area and orientation, point containment,
// self-intersection, cutting by a straight line and clipping to a raster
// rectangle, resampling by a parameter, and bringing two contours of equal
// point count into correspondence (same orientation, matching start point).
//
// Comparisons are exact: a point exactly on an edge or a vertex, a vertex
// exactly on a cutting line, collinear edges and repeated points are
// decided by the rules each member states, since contours from raster data
// lie on grid lines and share vertices.
//
// Allocation failure throws qvErrNoMemory.
#ifndef CQV_GEOMETRY_CONTOUR_H
#define CQV_GEOMETRY_CONTOUR_H

#include "cqv/arrays/array.h"
#include "cqv/arrays/simple_array.h"
#include "cqv/core/export.h"
#include "cqv/geometry/primitives.h"
#include "cqv/geometry/rect.h"
#include "cqv/values/vec2.h"

// An open polyline of the plane: an arithmetic array of qvVec2 points
// joined in order.
class CQV_API qvCurve2D : public qvArray<qvVec2> {
public:
    // An empty curve.
    qvCurve2D();
    // A curve of n uninitialised points; n below 1 throws BadParameters
    // "qvNewWithRef : n <= 0 ".
    explicit qvCurve2D(int n);
    // A private copy of c's points (the array's copy).
    qvCurve2D(const qvCurve2D& c);
    // The array's assignment: into the present storage when the lengths are
    // equal, else into a fresh block.
    qvCurve2D& operator=(const qvCurve2D& c);
    // Releases the held block.
    ~qvCurve2D() override;

    // "qvCurve2D".
    const char* GetTypeString() const override;

    // The mean of the points: (Σx / n, Σy / n), sums in index order.
    // Throws BadParameters "qvCurve2D: the curve has no point." when empty
    // (as do all the searches below).
    qvVec2 GetCenter() const;
    // The bounding rectangle: low corner (least x, least y), high corner
    // (greatest x, greatest y).
    qvRect<qvVec2> GetRect() const;
    // The index of the point nearest to p, the lowest index among equally
    // near ones; d receives the distance.
    int GetIndexOfMinDistance(double& d, const qvVec2& p) const;
    // The index of the point farthest from p, the lowest index among equally
    // far ones; d receives the distance.
    int GetIndexOfMaxDistance(double& d, const qvVec2& p) const;
    // For each point of c, its nearest point on this curve (lowest index on
    // a tie). Returns the index k in c of the point whose nearest distance
    // is largest (the first such point), and j receives the index in this
    // curve of that point's nearest point. Throws when either curve is
    // empty.
    int GetIndexOfMaxDistance(int& j, const qvCurve2D& c) const;
};

// A closed polygon of the plane: a curve whose last point joins back to
// the first.
class CQV_API qvSimpleContour2D : public qvCurve2D {
public:
    // An empty contour.
    qvSimpleContour2D();
    // A contour of n uninitialised points; n below 1 throws BadParameters
    // "qvNewWithRef : n <= 0 ".
    explicit qvSimpleContour2D(int n);
    // A private copy of c's points.
    qvSimpleContour2D(const qvSimpleContour2D& c);
    // The array's assignment.
    qvSimpleContour2D& operator=(const qvSimpleContour2D& c);
    // Releases the held block.
    ~qvSimpleContour2D() override;

    // "qvSimpleContour2D".
    const char* GetTypeString() const override;

    // The perimeter Σ |P[(i+1) mod n] - P[i]|, i ascending (closing edge
    // last); 0 when empty.
    double GetLengthOfCurve() const;
    // The signed area ½·Σ (x_i·y_{i+1} - x_{i+1}·y_i), i ascending, indices
    // mod n: positive for a counter-clockwise contour (y up); 0 when empty.
    double GetSignedS() const;
    // The area: the absolute value of the signed area.
    double GetS() const;
    // 0 when the signed area is positive (counter-clockwise), else 1.
    int GetOrient() const;
    // Reverses the order of the points in place (P[i] and P[n-1-i] swapped)
    // when GetOrient() differs from o (so an o other than 0 and 1 always
    // reverses).
    void SetOrient(int o);

    // Brings this contour into correspondence with q by the point farthest
    // from it: SetOrient(q.GetOrient()); then k = GetIndexOfMaxDistance(j,
    // q), and unless k = j the points are rotated cyclically in place so
    // that the point at index j moves to index k. Throws BadParameters
    // "qvSimpleContour2D::MakeCoherent: both length Must be equal." when the
    // point counts differ (the contour is then unchanged).
    void MakeCoherent(const qvSimpleContour2D& q);
    // Brings this contour into correspondence with q by area: after
    // SetOrient(q.GetOrient()), of the n cyclic shifts of this contour the
    // one is kept (a rotation left by m points, P'[i] = P[(i + m) mod n])
    // whose triangulated strip to q is smallest. The strip sums, over every
    // i with j = (i + 1) mod n, the areas of the triangles (A_i, B_i, B_j)
    // and (A_i, A_j, B_j) by Heron's formula with every side taken as
    // sqrt(dx² + dy² + 100), and halves the sum; the first smallest shift
    // wins. Throws as MakeCoherent when the counts differ.
    void MakeCoherentS(const qvSimpleContour2D& q);

    // The point at parameter t in [0, 1], uniform over the vertices, not
    // over arc length: with u = n·t, i its integer part and f = u - i, the
    // point (1 - f)·P[i mod n] + f·P[(i + 1) mod n]. t = 1 gives P[0] again;
    // beyond [0, 1] the parameter wraps around (period 1), and a non-finite
    // t gives a NaN point. Throws when the contour is empty.
    qvVec2 operator()(double t) const;

    // A new contour: the part of this one on the side of l where
    // l.GetDist(P) >= 0. The points are visited in order; before P[i]
    // (i >= 1) the edge from P[i-1] is examined, and after the last point the
    // closing edge from P[n-1] to P[0]. An edge from u to v yields its
    // crossing with l (qvGeom::Intersect of l and the segment, appended when
    // that answers true) when d_u·d_v < 0, or d_u > 0 and d_v = 0, or
    // d_u = 0, d_v > 0 and the point before u lies at d < 0. Then P[i] is
    // appended when d_i >= 0. So a vertex exactly on l that is reached from
    // the kept side appears twice (as the crossing of the edge ending there
    // and as a point of its own), and so does one on l where the boundary
    // comes from the other side and goes into the kept side. Throws
    // BadParameters "Contour2D must have larger two of point." when the
    // contour has fewer than 3 points.
    qvSimpleContour2D CutByStraightLine(const qvGeom::StraightLine2D& l) const;
    // A new contour clipped to the raster rectangle 0 <= x <= r[0] - 1,
    // 0 <= y <= r[1] - 1: cut by the four lines y = 0, y = r[1] - 1, x = 0,
    // x = r[0] - 1 in that order, each cut applied to the result of the one
    // before (so a cut that leaves fewer than 3 points makes the next one
    // throw). Throws BadParameters "Dimension must equal 2 in GetLine." when
    // r does not have two elements.
    qvSimpleContour2D qvPolyLineToRange(const qvArray<int>& r) const;

    // 1 when two edges of the contour cross, else 0. Every pair of edges
    // A–B, C–D is tested (adjacent ones too) by the signs s of the cross
    // products: they cross when s(A, B, D) != 0 and s(A, B, C) != s(A, B, D),
    // and s(C, D, B) != 0 and s(C, D, A) != s(C, D, B). So an edge's start
    // (A or C) may lie on the other edge's line and still count, its end (B
    // or D) may not, and adjacent edges, which share a point, never count.
    // Quadratic in the number of points.
    int IsIntersect() const;
    // 1 when p lies inside, -1 outside, 0 on the boundary, by the crossings
    // of the ray from p towards +x. A horizontal edge at p's height answers
    // 0 when p.x lies between its ends (inclusive) and never counts. Another
    // edge counts when exactly one end lies strictly above p (an end at p's
    // height counts as below), at the abscissa A.x + (p.y - A.y)(B.x -
    // A.x)/(B.y - A.y), or the end's own x when an end lies at p's height: 0
    // when that abscissa is p.x, a crossing when it is greater. An end at p
    // itself answers 0 too. An empty contour answers -1.
    int IsInsidePoint(const qvVec2& p) const;
};

CQV_EXTERN_TEMPLATE(qvSimpleArray<qvSimpleContour2D>)

#endif  // CQV_GEOMETRY_CONTOUR_H
