// The texts of the checks of the Beta-spline curves and surfaces.
//
// A BadParameters exception built from one of these reads
// "Invalid parameters : " followed by the text. The interpolating systems
// themselves report singular matrices with the texts of the linear solver
// (cqv/core/messages.h).
#ifndef CQV_BETASPLINE_MESSAGES_H
#define CQV_BETASPLINE_MESSAGES_H

namespace qvMsg {

// Evaluating a curve or contour that has fewer than four control points
// (one that was never interpolated).
inline constexpr char BetaCurveNoControls[] = "BetaCurve: fewer than 4 control points.";
// An open curve through fewer than two points.
inline constexpr char BetaCurveTooFewPoints[] = "BetaCurve::MakeInterpolation: at least 2 points are needed.";

}  // namespace qvMsg

#endif  // CQV_BETASPLINE_MESSAGES_H
