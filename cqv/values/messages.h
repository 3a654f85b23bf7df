// The texts the small value types give to their exceptions, one constant per
// check.
//
// A BadParameters exception built from one of these reads
// "Invalid parameters : " followed by the text. The texts are kept exactly as
// the library has always reported them, odd spellings and trailing blanks
// included, because client code compares against them.
//
// The checks of their conversions from the general vectors and matrices
// stand with those, in cqv/linalg/messages.h.
#ifndef CQV_VALUES_MESSAGES_H
#define CQV_VALUES_MESSAGES_H

#include "cqv/core/messages.h"

namespace qvMsg {
#include "cqv/values/messages.def"
}  // namespace qvMsg

#endif  // CQV_VALUES_MESSAGES_H
