// BetaTube: a Beta-spline surface shaped like a tube, closed around and
// open along.
//
// The tube interpolates m_v >= 2 rings of m_u >= 3 points of space, the
// rows of a point matrix P: P(i, j) lies on the surface at u = j/m_u
// around and v = i/(m_v - 1) along. Around, u behaves like the parameter
// of a BetaContour (u outside [0, 1) counts as 0, u = 1 is the start
// again); along, v like that of an open BetaCurve (v <= 0 is the first
// ring, v >= 1 the last). The surface point is
//   Σ_k B(s - k + 1)·vSum(v, k),  k = j0 .. j0 + 3,  s = m_u·u,
// where vSum(v, k) is the open curve of column k of the control net at v.
// The net has R = m_v + 2 rows (along) and C = m_u + 3 columns (around,
// with the wrap copies of a contour's control points). Along, the columns
// are open curves: with B(0) < 1/2 many rings lose accuracy as a long
// BetaCurve does (see its header).
//
// A tube can also be built from plane contours (qvSimpleContour2D) placed
// at heights: the contours are resampled to a common number of points
// when needed and aligned with each other by MakeCoherentS, and their
// points become the rings of P.
//
// The object is the BetaSpline state and the net, with no virtual table.
// A copy shares the net with its source; assignment copies the blending
// state and the net (into the present storage when the sizes agree,
// writing through to tubes that share it). Interpolation builds a new net
// and changes nothing when it fails.
//
// Allocation failure throws qvErrNoMemory.
#ifndef CQV_BETASPLINE_BETA_TUBE_H
#define CQV_BETASPLINE_BETA_TUBE_H

#include "cqv/arrays/simple_array.h"
#include "cqv/betaspline/beta_spline.h"
#include "cqv/core/export.h"
#include "cqv/geometry/contour.h"
#include "cqv/linalg/matrix.h"
#include "cqv/values/vec3.h"

// A Beta-spline surface shaped like a tube through rings of points of
// space: closed around (u), open along (v).
class CQV_API BetaTube : public BetaSpline {
public:
    // An empty net, with the given skew and tension (by default the uniform
    // cubic B-spline).
    BetaTube(double skew = 1.0, double tension = 0.0);
    // The tube through the rows of points (Init). Throws as Init.
    BetaTube(qvMatrix<qvTVec3<double>>& points, double skew, double tension);
    // The B-spline tube (skew 1, tension 0) through the rows of points.
    explicit BetaTube(qvMatrix<qvTVec3<double>>& points);
    // Copies the blending state and shares t's net.
    BetaTube(const BetaTube& t);
    // Copies t's blending state and net.
    BetaTube& operator=(const BetaTube& t);
    // Releases the net.
    ~BetaTube();

    // Sets the skew and tension and interpolates the rows of points; a
    // failure leaves the tube as it was. The points are not changed.
    // Throws BadParameters
    //   "BetaTube::MakeInterpolation: at least 2 rings are needed."
    // when there are fewer than 2 rows,
    //   "BetaContour::MakeInterpolation: at least 3 points are needed."
    // when the rows have fewer than 3 points, and the solver's
    //   "Система имеет не единственное решение." (Windows-1251)
    // when an elimination meets an exact zero pivot.
    void Init(qvMatrix<qvTVec3<double>>& points, double skew, double tension);
    // Interpolates the rows of points with the present skew and tension,
    // each system by qvMatrix<qvTVec3<double>>::SolveEquationGaussMethod:
    // first every row as the ring of a BetaContour, giving an intermediate
    // net of m_u + 3 columns; then every column of it as the points of an
    // open BetaCurve, whose m_v + 2 control points make that column of the
    // new net. (The wrap columns of the intermediate net repeat others, and
    // their solutions are copied from those.) Rings of more than a few
    // hundred points overflow the dense solver (see
    // BetaContour::MakeInterpolation) and throw. Throws as Init.
    void MakeInterpolation(qvMatrix<qvTVec3<double>>& points);
    // Interpolates the plane contours placed at the heights (one height per
    // contour, contour i in the plane z = heights[i]). N is the largest
    // number of points of a contour; when the contours' point counts differ
    // or N exceeds 200, every contour is resampled to min(N, 200) points,
    // point j being the contour's own point at j/N. Each contour after the
    // first is then aligned with the one before it by MakeCoherentS, and
    // the tube interpolates the matrix of rows (x, y, heights[i]). The
    // contours are taken by value: the caller's are not changed.
    // Throws as MakeInterpolation (a ring of fewer than 3 points being
    // contours of fewer than 3 points), BadParameters
    //   "BetaTube::MakeInterpolation: one height per contour is needed."
    // when the number of heights differs from that of contours, and the
    // contour's own "qvCurve2D: the curve has no point." when an empty
    // contour is to be resampled.
    void MakeInterpolation(qvSimpleArray<qvSimpleContour2D> contours, const qvSimpleArray<double>& heights);
    // The same interpolations with every system solved on the band of its
    // matrix, in time and memory linear in m_u·m_v and for rings of any
    // length: the ring matrix is eliminated once and every ring taken
    // through that elimination as BetaContour::MakeBandInterpolation solves
    // a ring; the open system along is eliminated once, by the dense
    // solver's own eliminations, and all the columns are taken through it
    // together, a row of the net at a time, while the rings' rows are fresh.
    // Where the dense solve succeeds the nets agree to rounding. Throw as
    // MakeInterpolation.
    void MakeBandInterpolation(qvMatrix<qvTVec3<double>>& points);
    void MakeBandInterpolation(qvSimpleArray<qvSimpleContour2D> contours, const qvSimpleArray<double>& heights);
    // Does nothing.
    void vInterpolation();

    // The surface point at (u, v), as above.
    // Throws BadParameters "BetaTube: no control net." when the tube has
    // not been interpolated.
    qvTVec3<double> operator()(double u, double v) const;

protected:
    // The point at v of the open curve of net column k (0 .. C - 1): net(1,
    // k) for v <= 0, net(R - 2, k) for v >= 1. The net must have at least
    // four rows; k is not checked.
    qvTVec3<double> vSum(double v, int k) const;

    // R x C control points.
    qvMatrix<qvTVec3<double>> net;
};

#endif  // CQV_BETASPLINE_BETA_TUBE_H
