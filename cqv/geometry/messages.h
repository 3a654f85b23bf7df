// The texts of the exceptions the geometry classes throw.
//
// A BadParameters exception built from one of these reads
// "Invalid parameters : " followed by the text. The texts are kept exactly as
// the library has always reported them, odd spellings included, because
// client code compares against them. Texts of the lower folders that
// geometry also throws (the plane vector's conversion, the vectors' length
// check) stay with those folders.
#ifndef CQV_GEOMETRY_MESSAGES_H
#define CQV_GEOMETRY_MESSAGES_H

#include "cqv/core/messages.h"

namespace qvMsg {

// Coordinate transforms.
inline constexpr char TransformShiftNotTwo[] = "qvTransformCoord : must be dimention equal two.";
inline constexpr char TransformFitDifferentNumber[] = "qvTransformCoord2D::MakeFromEquations: different number";

// The elementary figures.
inline constexpr char FacetWrongDimension[] = "qvSegment3D::IntersectWithFacet: wrong dimension";

// Curves and contours.
inline constexpr char CurveNoPoint[] = "qvCurve2D: the curve has no point.";
inline constexpr char CoherentLengthsDiffer[] = "qvSimpleContour2D::MakeCoherent: both length Must be equal.";
inline constexpr char CutTooFewPoints[] = "Contour2D must have larger two of point.";
inline constexpr char RangeNotTwo[] = "Dimension must equal 2 in GetLine.";

}  // namespace qvMsg

#endif  // CQV_GEOMETRY_MESSAGES_H
