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
// A closed curve, or a ring of a tube, through fewer than three points.
inline constexpr char BetaContourTooFewPoints[] =
    "BetaContour::MakeInterpolation: at least 3 points are needed.";
// A tube of fewer than two rings.
inline constexpr char BetaTubeTooFewRings[] = "BetaTube::MakeInterpolation: at least 2 rings are needed.";
// A tube from contours given another number of heights than of contours.
inline constexpr char BetaTubeHeights[] = "BetaTube::MakeInterpolation: one height per contour is needed.";
// Evaluating a tube that has no control net.
inline constexpr char BetaTubeNoNet[] = "BetaTube: no control net.";

}  // namespace qvMsg

#endif  // CQV_BETASPLINE_MESSAGES_H
