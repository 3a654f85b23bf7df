// The texts of the exceptions the Beta-spline curves and tubes throw for
// their own checks.
//
// A BadParameters exception built from one of these reads
// "Invalid parameters : " followed by the text. The interpolating systems
// report a singular matrix with the linear solver's own text
// (cqv/linalg/messages.h), and a tube from contours reports an empty
// contour with the contour's (cqv/geometry/messages.h).
#ifndef CQV_BETASPLINE_MESSAGES_H
#define CQV_BETASPLINE_MESSAGES_H

#include "cqv/geometry/messages.h"

namespace qvMsg {
#include "cqv/betaspline/messages.def"
}  // namespace qvMsg

#endif  // CQV_BETASPLINE_MESSAGES_H
