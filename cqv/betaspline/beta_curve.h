// BetaCurve: an interpolating Beta-spline curve in space.
//
// The curve passes through a sequence of m >= 2 points P_0 .. P_{m-1} of
// space, P_j at the parameter u = j/(m - 1), and is evaluated over u in
// [0, 1]. It keeps S = m + 2 control points C_0 .. C_{S-1}; the point at u
// is Σ B(s - j + 1)·C_j over the four control points j = j0 .. j0 + 3 around
// s = (S - 3)·u (j0 = s truncated), B being the Beta-spline blending function
// of the curve's skew and tension (BetaSpline). C_1 .. C_{S-2} are the
// control points users see and edit, by index i = 0 .. S - 3 (C_{i+1});
// C_0 and C_{S-1} are end (phantom) control points chosen so that the curve
// starts at C_1 and ends at C_{S-2}.
//
// The control points solve the interpolation conditions, three coordinate
// systems sharing one matrix, by the dense Gauss solver of qvMatrix
// (MakeInterpolation), whose cost grows with the square of m (the matrix
// has S² entries, though the solver works on its band alone).
// MakeBandInterpolation solves the same systems by the same eliminations
// with only the band of the matrix stored, in time and memory linear in m;
// it gives the same control points (up to the sign of a zero coordinate)
// and is the one to use for long curves.
//
// How well the control points are determined depends on the shape. Each
// interpolation condition is B(1)·C_{j-1} + B(0)·C_j + B(-1)·C_{j+1} = P,
// and the three weights add up to 1. Where B(0) > 1/2 the matrix is
// diagonally dominant and the control points are accurate through any
// number of points (a helix of unit radius through 1,600 points passes
// within 2e-14 of each for skews 0.4 to 2.6 at tensions 0 and 5). Where
// B(0) < 1/2 (skew 3 or 1/3 at tension 0, skew 3 at tension 5) the
// conditions have a solution that grows geometrically along the curve,
// and any solver loses about as many digits as it grows: at skew 3 and
// tension 0 the helix through 100 points is missed by 4e-11, through 200
// by 1e-3, through 400 by far more. The closed curve's matrix is
// circulant and shows no such growth.
//
// A copy shares the control points with its source (a window on the same
// counted block): editing either one's control points, or interpolating
// either one through the same number of points, changes both. Assignment
// copies the blending state and then the control points element by element
// into the present storage when the counts agree (writing through to
// curves that share it), else into fresh storage.
//
// The five virtual operations take the first five slots of the virtual
// table, in this order: operator(), GetTangent, GetControl,
// GetControlNumber, SetControl. GetLength, FindCrossection and Rebuild
// evaluate the curve through operator(), so they act on the closed
// BetaContour too. The destructor is not virtual: destroy a BetaContour as
// a BetaContour.
//
// Allocation failure throws qvErrNoMemory.
#ifndef CQV_BETASPLINE_BETA_CURVE_H
#define CQV_BETASPLINE_BETA_CURVE_H

#include "cqv/betaspline/beta_spline.h"
#include "cqv/core/export.h"
#include "cqv/linalg/vector.h"
#include "cqv/values/vec3.h"

// An interpolating Beta-spline curve through m >= 2 points of space,
// evaluated over u in [0, 1].
class CQV_API BetaCurve : public BetaSpline {
public:
    // No control points yet, with the given skew and tension (by default
    // the uniform cubic B-spline); Init or MakeInterpolation must follow
    // before the curve is evaluated.
    BetaCurve(double skew = 1.0, double tension = 0.0);
    // The curve through the points (Init). Throws as Init.
    BetaCurve(const qvVector<qvTVec3<double>>& points, double skew, double tension);
    // The B-spline curve (skew 1, tension 0) through the points.
    explicit BetaCurve(const qvVector<qvTVec3<double>>& points);
    // Copies the blending state and shares c's control points.
    BetaCurve(const BetaCurve& c);
    // Copies c's blending state and control points (see above).
    BetaCurve& operator=(const BetaCurve& c);
    // Releases the control points.
    ~BetaCurve();

    // Sets the skew and tension and interpolates the points. The points are
    // checked and the system solved before anything changes: a failure
    // leaves the curve as it was.
    // Throws BadParameters
    //   "BetaCurve::MakeInterpolation: at least 2 points are needed."
    // when there are fewer than 2 points, and the solver's
    //   "Система имеет не единственное решение." (Windows-1251)
    // when the elimination meets an exact zero pivot, as it does for skew 0
    // and tension 0.
    void Init(const qvVector<qvTVec3<double>>& points, double skew, double tension);
    // Interpolates the points with the present skew and tension: the
    // control points are the solution of the S x S system
    //   C_1 = P_0,
    //   B(1)·C_0 + B(0)·C_1 + B(-1)·C_2 = P_0,
    //   B(1)·C_{r-1} + B(0)·C_r + B(-1)·C_{r+1} = P_{r-1}  (r = 2 .. S-2),
    //   C_{S-2} = P_{m-1},
    // by qvMatrix<qvTVec3<double>>::SolveEquationGaussMethod. The solution
    // goes into the present control storage when the count is unchanged.
    // Throws as Init; a failure changes nothing.
    void MakeInterpolation(const qvVector<qvTVec3<double>>& points);
    // The same interpolation solved on the band of the matrix alone: the
    // row-pointer elimination of the dense solver, pivots and all, with the
    // entries outside the band known to be zero and never stored, so that
    // the control points are the dense solver's (up to the sign of a zero
    // coordinate). Linear in the number of points. Throws as
    // MakeInterpolation.
    void MakeBandInterpolation(const qvVector<qvTVec3<double>>& points);

    // The point at u: C_1 for u <= 0, C_{S-2} for u >= 1, otherwise the
    // blended sum described above.
    // Throws BadParameters "BetaCurve: fewer than 4 control points." when
    // the curve has fewer than 4 control points (it was never
    // interpolated).
    virtual qvTVec3<double> operator()(double u) const;
    // The direction of the curve at u: for 0 < u < 1 the blended sum with
    // B' in place of B, divided by its length (a unit vector); at the ends
    // the derivative by s, not normalised: (C_2 - C_1)·3·(β1 + 1)·a for
    // u <= 0 and (C_{S-2} - C_{S-3})·3·(a·β1² + f) for u >= 1.
    // Throws as operator().
    virtual qvTVec3<double> GetTangent(double u) const;
    // Control point i (C_{i+1}), i in 0 .. GetControlNumber() - 1; the
    // index is not checked.
    virtual qvTVec3<double> GetControl(int i) const;
    // The number of control points users see: S - 2, the number of points
    // interpolated.
    virtual int GetControlNumber() const;
    // Moves control point i (C_{i+1}) to p, then keeps the curve starting
    // at C_1 and ending at C_{S-2} by moving the end control point next to
    // the edited one. The first case that applies, in this order:
    //   i = 0:          C_0 = p + (p - C_2)/β1³
    //   i = 1:          C_0 = C_1 + (C_1 - p)/β1³
    //   i + 1 = S - 2:  C_{S-1} = p + (p - C_{S-3})·β1³
    //   i + 1 = S - 3:  C_{S-1} = C_{S-2} + (C_{S-2} - p)·β1³
    // Other indices move only C_{i+1}. The index is not checked. Writes into
    // storage shared with copies.
    virtual void SetControl(int i, qvTVec3<double>& p);

    // The length of the polyline through the points at u = 0, 0.02, 0.04,
    // ..., u advanced by repeated addition of 0.02 while it stays <= 1: 50
    // points, the last at u = 0.98 (the sum of fifty steps exceeds 1), so
    // the last fiftieth of the parameter range is not counted.
    // Throws as operator().
    double GetLength() const;
    // The parameter u near u0 where the curve's projection on the x-y plane
    // crosses the line through p with direction dir (z ignored), found by
    // Newton's method: FindCrosX when dir.X() is not 0, else FindCrosY.
    // Returns 0 when the iteration fails; the result is not clamped to
    // [0, 1]. Throws as operator().
    double FindCrossection(qvTVec3<double>& dir, qvTVec3<double>& p, double u0) const;
    // Re-interpolates the curve through about k points evenly spaced by arc
    // length (k < 5 does nothing). From the start, each next point is
    // searched along u, starting one step 1/k past the last point, until
    // its polyline distance from the start is within 0.1/k of the next
    // multiple of GetLength()/k: the search step is halved at every change
    // of direction (and before the first move), moves forward while the
    // distance is short and back (not before the last point) while it is
    // long, and accepts u = 1. The search for one point makes at most 128
    // moves; where the curve is so long that the band cannot be met in
    // double precision, the point reached by then is taken. At most k
    // points result (fewer when u reaches 1 first), interpolated by Init
    // with the curve's own skew and tension; the end of the old curve past
    // the last point found is not kept. Throws as operator() and Init.
    void Rebuild(int k);

protected:
    // Newton's method on F(u) = Q.y - k·Q.x - c, Q the curve point at u, for
    // the line y = k·x + c with k = dir.y/dir.x through p. The derivative is
    // the forward difference over 0.001, times 1000 (a zero derivative
    // steps u by 0.001). Returns the new u as soon as |F| <= 1e-4 or the
    // step is at most 1e-4; 0 after 100 steps, or when dir.x is 0.
    double FindCrosX(qvTVec3<double>& dir, qvTVec3<double>& p, double u0) const;
    // The same for the line x = k·y + c with k = dir.x/dir.y, residual
    // F(u) = Q.x - k·Q.y - c and tolerance 1e-6; 0 when dir.y is 0.
    double FindCrosY(qvTVec3<double>& dir, qvTVec3<double>& p, double u0) const;

    // Throws unless the curve has at least 4 control points.
    void CheckControls() const;

    // C_0 .. C_{S-1}.
    qvVector<qvTVec3<double>> control;
};

#endif  // CQV_BETASPLINE_BETA_CURVE_H
