// The texts the cubic spline and the plane spline curve give to their
// exceptions, one constant per check, with those of the folders below that
// they throw too ("different size." for the spline's systems, "qvPolynom :
// wrong KoefType" for its polynomials).
//
// A BadParameters exception built from one of these reads
// "Invalid parameters : " followed by the text. The texts are kept exactly as
// the library has always reported them, odd spellings and trailing blanks
// included, because client code compares against them.
#ifndef CQV_SPLINES_MESSAGES_H
#define CQV_SPLINES_MESSAGES_H

#include "cqv/numeric/messages.h"

namespace qvMsg {
#include "cqv/splines/messages.def"
}  // namespace qvMsg

#endif  // CQV_SPLINES_MESSAGES_H
