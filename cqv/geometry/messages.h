// The texts of the exceptions the geometry classes throw, beside those the
// library has always reported for geometry.
//
// A BadParameters exception built from one of these reads
// "Invalid parameters : " followed by the text.
#ifndef CQV_GEOMETRY_MESSAGES_H
#define CQV_GEOMETRY_MESSAGES_H

#include "cqv/core/messages.h"

namespace qvMsg {

// Measures and searches of a curve that has no point to start from.
inline constexpr char CurveNoPoint[] = "qvCurve2D: the curve has no point.";

}  // namespace qvMsg

#endif  // CQV_GEOMETRY_MESSAGES_H
