// The texts the cubic spline and the plane spline curve give to their
// exceptions, one constant per check, in the form of cqv/core/messages.h.
#ifndef CQV_SPLINES_MESSAGES_H
#define CQV_SPLINES_MESSAGES_H

namespace qvMsg {

// The spline of one variable.
inline constexpr char SplineOutOfRange[] = "qvSpline: Out of range.";
inline constexpr char SplineTooFewPoints[] = "Spline: number of point must be >= 3";
inline constexpr char SplineBoundConditions[] = "Invalid number of bound condition.";
inline constexpr char SplineError[] = "error in spline";

// The plane spline curve.
inline constexpr char SplineCurveFourPoints[] = "Spline must have 4 points at least";
inline constexpr char SplineCurveThreePoints[] = "Spline must have 3 points at least";
inline constexpr char SplineCurveWrongType[] = "qvSplineCurve2D: Wrong type";

}  // namespace qvMsg

#endif  // CQV_SPLINES_MESSAGES_H
