// BetaContour: a closed Beta-spline curve through a ring of points of
// space.
//
// The contour passes through the m >= 3 points P_0 .. P_{m-1} of a ring
// (the first point is not repeated at the end), P_i at u = i/m, and is
// evaluated over u in [0, 1), u = 1 (and any u outside [0, 1)) giving the
// start again. Its m ring control points D_0 .. D_{m-1} solve the cyclic
// system
//   B(1)·D_{i-2} + B(0)·D_{i-1} + B(-1)·D_i = P_i   (indices mod m)
// and are kept with wrap copies as the S = m + 3 control points
//   C = (D_{m-2}, D_{m-1}, D_0, D_1, .., D_{m-1}, D_0),
// so that the point at u is Σ B(s - j + 1)·C_j over j = j0 .. j0 + 3 with
// s = m·u. Users see and edit D_i as control point i (C_{i+2}).
//
// The state, the blending function, sharing by copies and the assignment
// are those of BetaCurve, whose five virtual operations the contour
// overrides, so that the inherited GetLength and FindCrossection measure
// and search the closed curve. The inherited Rebuild re-interpolates through
// the open curve's Init: on a contour it leaves an open curve's control
// points, which the contour's operations then read as a ring; it is not a
// closed re-sampling.
//
// Allocation failure throws qvErrNoMemory.
#ifndef CQV_BETASPLINE_BETA_CONTOUR_H
#define CQV_BETASPLINE_BETA_CONTOUR_H

#include "cqv/betaspline/beta_curve.h"
#include "cqv/core/export.h"
#include "cqv/linalg/vector.h"
#include "cqv/values/vec3.h"

// A closed Beta-spline curve through a ring of m >= 3 points of space,
// evaluated over u in [0, 1).
class CQV_API BetaContour : public BetaCurve {
public:
    // No control points yet, with the given skew and tension (by default
    // the uniform cubic B-spline).
    BetaContour(double skew = 1.0, double tension = 0.0);
    // The contour through the ring (Init). Throws as Init.
    BetaContour(const qvVector<qvTVec3<double>>& ring, double skew, double tension);
    // The B-spline contour (skew 1, tension 0) through the ring.
    explicit BetaContour(const qvVector<qvTVec3<double>>& ring);
    // Copies the blending state and shares c's control points.
    BetaContour(const BetaContour& c);
    // Copies c's blending state and control points, as BetaCurve does.
    BetaContour& operator=(const BetaContour& c);
    // Releases the control points.
    ~BetaContour();

    // Sets the skew and tension and interpolates the ring; a failure leaves
    // the contour as it was.
    // Throws BadParameters
    //   "BetaContour::MakeInterpolation: at least 3 points are needed."
    // when the ring has fewer than 3 points, and the solver's
    //   "Система имеет не единственное решение." (Windows-1251)
    // when its elimination meets an exact zero pivot. (B(0) = 1/2 makes
    // the system of every ring of an even number of points singular; in
    // floating point that shows as huge control points rather than as the
    // exception.)
    void Init(const qvVector<qvTVec3<double>>& ring, double skew, double tension);
    // Interpolates the ring with the present skew and tension by
    // qvMatrix<qvTVec3<double>>::SolveEquationGaussMethod on the m x m
    // cyclic system; the control points, wrap copies included, go into the
    // present storage when their count is unchanged. Throws as Init.
    // The solver turns each row it updates into (1/e)·row - pivot row, e
    // being the row's entry in the pivot column; the rows that hold the
    // corner entries of the cyclic system are updated at every step, and
    // their entries grow like the inverse product of those e until they
    // overflow: for rings beyond a few hundred points (about 600 for the
    // B-spline, 300 for skew 2) the elimination ends in NaN and throws the
    // solver's text. MakeBandInterpolation has no such limit.
    void MakeInterpolation(const qvVector<qvTVec3<double>>& ring);
    // The same interpolation solved on the band of the cyclic matrix (its
    // corner entries kept as two last columns) by the classic partial-pivot
    // elimination (row - e·pivot row, e at most 1 in magnitude), in time
    // linear in m and for rings of any length. Where the dense solver
    // succeeds the two agree to rounding. Throws as MakeInterpolation.
    void MakeBandInterpolation(const qvVector<qvTVec3<double>>& ring);

    // The point at u, any u outside [0, 1) counting as 0.
    // Throws BadParameters "BetaCurve: fewer than 4 control points." when
    // the contour has not been interpolated.
    qvTVec3<double> operator()(double u) const override;
    // The unit tangent at u (the blended sum with B', normalised), any u
    // outside [0, 1) counting as 0. Throws as operator().
    qvTVec3<double> GetTangent(double u) const override;
    // Ring control point i (C_{i+2}), i in 0 .. m - 1; not checked.
    qvTVec3<double> GetControl(int i) const override;
    // m, the number of ring control points (0 before interpolation).
    int GetControlNumber() const override;
    // Moves ring control point i to p together with its wrap copy: C_{i+2}
    // = p, and also C_{S-1} for i = 0, C_1 for i = m - 1, C_0 for
    // i = m - 2. The index is not checked. Writes into storage shared with
    // copies.
    void SetControl(int i, qvTVec3<double>& p) override;
};

#endif  // CQV_BETASPLINE_BETA_CONTOUR_H
