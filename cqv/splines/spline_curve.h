// qvSplineCurve2D: a smooth curve of the plane through the points of a
// qvCurve2D, made of two cubic splines x(t) and y(t) over t in [0, 1].
//
// The parameter is uniform in the point index, not in the chord length: for
// n points P[0] … P[n-1] the knots are t_i = i/(n-1), the x spline
// interpolates (t_i, P[i].x) and the y spline (t_i, P[i].y). The curve is
// built closed (both splines periodic, the last point closing the period,
// so a closed outline is passed with its first point repeated at the end)
// or open with clamped or natural ends. Repeated consecutive points are
// accepted; the parameter stays uniform in the index.
//
// A plain value: copies hold splines of their own. Allocation failure
// throws qvErrNoMemory.
#ifndef CQV_SPLINES_SPLINE_CURVE_H
#define CQV_SPLINES_SPLINE_CURVE_H

#include "cqv/core/export.h"
#include "cqv/geometry/contour.h"
#include "cqv/splines/spline.h"
#include "cqv/values/vec2.h"

// A smooth curve of the plane through the points of a qvCurve2D: two
// cubic splines x(t) and y(t) over t in [0, 1].
class CQV_API qvSplineCurve2D {
public:
    // The closed curve: both splines periodic (qvSpline::MkPeriodSpline3),
    // so the last point stands for the first again and the curve returns to
    // it at t = 1 with the same slope and curvature. Throws BadParameters
    // "Spline must have 4 points at least" for fewer than 4 points.
    explicit qvSplineCurve2D(const qvCurve2D& c);
    // The open curve (qvSpline::MkSpline3), by type: 1 clamps each spline's
    // end slopes to the slopes in t of its first and last chords (codes
    // {3, 0}); 2 leaves both ends without curvature (codes {0, 3}, zero
    // values). Throws BadParameters "Spline must have 3 points at least"
    // for fewer than 3 points, then "qvSplineCurve2D: Wrong type" for any
    // other type, and "error in spline" when a spline fails its self-test.
    qvSplineCurve2D(const qvCurve2D& c, int type);
    // Copies of both splines.
    qvSplineCurve2D(const qvSplineCurve2D& s);
    qvSplineCurve2D& operator=(const qvSplineCurve2D& s);
    // Releases both splines.
    ~qvSplineCurve2D();

    // The x spline: the curve's point at t is (X()(t), Y()(t)).
    CQV_INLINE qvSpline<double>& X() { return x; }
    // The y spline: the curve's point at t is (X()(t), Y()(t)).
    CQV_INLINE qvSpline<double>& Y() { return y; }
    // The x spline: the curve's point at t is (X()(t), Y()(t)).
    CQV_INLINE const qvSpline<double>& X() const { return x; }
    // The y spline: the curve's point at t is (X()(t), Y()(t)).
    CQV_INLINE const qvSpline<double>& Y() const { return y; }

    // The point (x(t), y(t)) at t. Throws BadParameters
    // "qvSpline: Out of range." for t outside [0, 1].
    qvVec2 GetPoint(double t) const;
    // The tangent (x'(t), y'(t)) at t. Throws BadParameters
    // "qvSpline: Out of range." for t outside [0, 1].
    qvVec2 GetTangent(double t) const;

    // The arc length over t in [0, 1]: the integral of |(x'(t), y'(t))| by
    // Simpson's rule with the step halved until two successive values
    // differ by less than 0.001 (absolute, whatever the length; see
    // qvIntegrateSimpson). 0 when the splines hold fewer than 2 points.
    // The tolerance bounds that difference, not the error: on a closed curve
    // of evenly spread points whose count is a power of two, or three times
    // one (12, 16, 24 points), the first samples all fall on knots, where
    // the speed may be the same, two values can agree at once and the
    // length comes out short by more than 0.001 (a circle of radius 10
    // through 12 points: 0.02, 3e-4 of its length).
    double GetLengthOfCurve() const;

private:
    qvSpline<double> x;
    qvSpline<double> y;
};

#endif  // CQV_SPLINES_SPLINE_CURVE_H
